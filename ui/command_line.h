#pragma once
// The program's command line, GNU style: with no options it shows the window
// (with a calculation file, the window holds that calculation); --report
// writes a calculation file's note to a PDF and --results prints its
// results, both without a window; --help and --version as usual.

#include <span>
#include <string>
#include <string_view>

namespace kalventa::ui {

enum class Mode { Window, Report, Results, Help, Version, Mistake };

struct CommandLine {
    Mode mode = Mode::Window;
    std::string file;    // the calculation file; may be empty for the window
    std::string output;  // the PDF of --report
    bool json = false;   // --results as JSON
    std::string mistake; // what is wrong with the command line, for Mistake
};

// Reads the arguments that follow the program's name.
CommandLine parseCommandLine(std::span<const std::string> arguments);

// Whether the arguments name one of the program's own options, which are
// read before Qt starts (a note or results need no display; help and the
// version need no Qt). Otherwise Qt takes its own options (-platform …)
// first and the rest is read after.
bool asksForNoWindow(std::span<const std::string> arguments);

std::string helpText();
std::string versionText();
// "kalventa: …\nПодробнее: kalventa --help\n"
std::string mistakeText(std::string_view mistake);

// Exit statuses.
inline constexpr int exitOk = 0;
inline constexpr int exitFailed = 1; // a file not read or written, a calculation stopped by an error
inline constexpr int exitUsage = 2;  // a command line that makes no sense

} // namespace kalventa::ui

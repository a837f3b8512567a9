// Start-up benchmark: the time from exec to the first frame of a program's
// window, observed from outside on an Xvfb of the benchmark's own, and the
// program's peak resident memory up to that frame.
//
//   startup_bench [--runs N] [--warmup N] [--timeout-ms T] PROGRAM REFERENCE
//       runs PROGRAM and REFERENCE alternately (ABBA order), N times each after
//       the warm-up runs, and prints both medians, their ratio and the peak
//       memories.
//   startup_bench --once [--timeout-ms T] -- COMMAND [ARGUMENT...]
//       runs COMMAND once (for example a program under valgrind), waits for
//       its first frame, then ends it with SIGTERM so that a profiler
//       wrapped around it writes its results.
//
// Nothing is asked of the programs: no argument, variable or setting.

#include "child_process.h"
#include "first_frame_watch.h"
#include "summary.h"
#include "xvfb_server.h"

#include <charconv>
#include <csignal>
#include <exception>
#include <iostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

using kalventa::bench::ChildProcess;
using kalventa::bench::Clock;
using kalventa::bench::FirstFrameWatch;
using kalventa::bench::fixed;
using kalventa::bench::quantile;
using kalventa::bench::SpawnOptions;
using kalventa::bench::XvfbServer;

struct Options {
    int runs = 30;
    int warmup = 3;
    int timeoutMs = 20000;
    bool once = false;
    std::vector<std::string> commands;
};

struct Sample {
    double milliseconds = 0;
    long peakKiB = 0;
};

struct Program {
    std::string name;
    std::vector<std::string> command;
    std::vector<Sample> samples;
};

int parseCount(std::string_view text, std::string_view option)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value < 0)
        throw std::invalid_argument(std::string(option) + " takes a whole number, not '" + std::string(text) + "'");
    return value;
}

Options parseOptions(int argc, char* argv[])
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        const auto next = [&]() -> std::string_view {
            if (i + 1 >= argc)
                throw std::invalid_argument(std::string(word) + " needs a value");
            return argv[++i];
        };
        if (word == "--runs")
            options.runs = parseCount(next(), word);
        else if (word == "--warmup")
            options.warmup = parseCount(next(), word);
        else if (word == "--timeout-ms")
            options.timeoutMs = parseCount(next(), word);
        else if (word == "--once")
            options.once = true;
        else if (word == "--") {
            options.commands.assign(argv + i + 1, argv + argc);
            break;
        } else if (word.starts_with("--"))
            throw std::invalid_argument("unknown option " + std::string(word));
        else
            options.commands.emplace_back(word);
    }
    if (options.once ? options.commands.empty() : options.commands.size() != 2)
        throw std::invalid_argument(options.once ? "--once needs a command" : "give PROGRAM and REFERENCE");
    if (!options.once && options.runs < 1)
        throw std::invalid_argument("--runs must be at least 1");
    return options;
}

std::string baseName(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Starts the command, waits for its first frame, reads its peak memory and
// ends it with `stopSignal`.
Sample measure(FirstFrameWatch& watch, const std::string& display, const std::vector<std::string>& command,
               const Options& options, int stopSignal)
{
    watch.reset();
    SpawnOptions spawnOptions;
    spawnOptions.display = display;
    spawnOptions.showOutput = options.once;

    const auto start = Clock::now();
    ChildProcess child(command, spawnOptions);
    const auto frame = watch.waitForFirstFrame(start + std::chrono::milliseconds(options.timeoutMs),
                                               [&child] { return child.running(); });
    if (!frame) {
        const std::string what = baseName(command.front());
        if (child.running())
            throw std::runtime_error(what + " showed no frame within " + std::to_string(options.timeoutMs) + " ms");
        throw std::runtime_error(what + " ended (" + child.endDescription() + ") before it showed a frame");
    }
    Sample sample;
    sample.milliseconds = std::chrono::duration<double, std::milli>(*frame - start).count();
    sample.peakKiB = child.peakResidentKiB();
    if (sample.peakKiB <= 0)
        throw std::runtime_error("cannot read the peak memory of " + baseName(command.front()));
    // A profiler may take long to write its results.
    child.stop(stopSignal, std::chrono::seconds(options.once ? 120 : 5));
    watch.waitUntilWindowsGone(Clock::now() + std::chrono::seconds(5));
    return sample;
}

std::vector<double> times(const Program& program)
{
    std::vector<double> values;
    for (const Sample& sample : program.samples)
        values.push_back(sample.milliseconds);
    return values;
}

std::vector<double> peaksMiB(const Program& program)
{
    std::vector<double> values;
    for (const Sample& sample : program.samples)
        values.push_back(static_cast<double>(sample.peakKiB) / 1024.0);
    return values;
}

std::string column(const std::string& text, std::size_t width)
{
    return text.size() >= width ? text + " " : std::string(width - text.size(), ' ') + text;
}

void printComparison(const std::vector<Program>& programs, const Options& options, const std::string& display)
{
    std::cout << "first frame after exec, " << options.runs << " runs each, alternating, after " << options.warmup
              << " warm-up runs each, on Xvfb " << display << "\n";
    std::cout << column("program", 20) << column("median ms", 11) << column("p25 ms", 9) << column("p75 ms", 9)
              << column("min ms", 9) << column("peak MiB", 10) << "\n";
    for (const Program& program : programs) {
        const std::vector<double> t = times(program);
        std::cout << column(program.name, 20) << column(fixed(quantile(t, 0.5), 1), 11)
                  << column(fixed(quantile(t, 0.25), 1), 9) << column(fixed(quantile(t, 0.75), 1), 9)
                  << column(fixed(quantile(t, 0.0), 1), 9) << column(fixed(quantile(peaksMiB(program), 0.5), 1), 10)
                  << "\n";
    }
    const double ratio = quantile(times(programs[0]), 0.5) / quantile(times(programs[1]), 0.5);
    const double memory = quantile(peaksMiB(programs[0]), 0.5) - quantile(peaksMiB(programs[1]), 0.5);
    std::cout << "ratio of medians " << programs[0].name << " / " << programs[1].name << ": " << fixed(ratio, 2)
              << "\n";
    std::cout << "peak memory " << programs[0].name << " - " << programs[1].name << ": " << (memory >= 0 ? "+" : "")
              << fixed(memory, 1) << " MiB\n";
}

int compare(const Options& options)
{
    std::vector<Program> programs;
    for (const std::string& path : options.commands)
        programs.push_back({baseName(path), {path}, {}});

    XvfbServer server;
    FirstFrameWatch watch(server.display());
    for (int i = 0; i < options.warmup; ++i)
        for (const Program& program : programs)
            measure(watch, server.display(), program.command, options, SIGKILL);
    for (int i = 0; i < options.runs; ++i) {
        // ABBA: neither program always runs right after the other.
        for (std::size_t k = 0; k < programs.size(); ++k) {
            Program& program = programs[i % 2 == 0 ? k : programs.size() - 1 - k];
            program.samples.push_back(measure(watch, server.display(), program.command, options, SIGKILL));
        }
    }
    printComparison(programs, options, server.display());
    return 0;
}

int runOnce(const Options& options)
{
    XvfbServer server;
    FirstFrameWatch watch(server.display());
    const Sample sample = measure(watch, server.display(), options.commands, options, SIGTERM);
    std::cout << "first frame of " << baseName(options.commands.front()) << " after " << fixed(sample.milliseconds, 1)
              << " ms, peak memory " << fixed(static_cast<double>(sample.peakKiB) / 1024.0, 1) << " MiB\n";
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    try {
        const Options options = parseOptions(argc, argv);
        return options.once ? runOnce(options) : compare(options);
    } catch (const std::invalid_argument& error) {
        std::cerr << "startup_bench: " << error.what() << "\n"
                  << "usage: startup_bench [--runs N] [--warmup N] [--timeout-ms T] PROGRAM REFERENCE\n"
                  << "       startup_bench --once [--timeout-ms T] -- COMMAND [ARGUMENT...]\n";
        return 2;
    } catch (const std::exception& error) {
        std::cerr << "startup_bench: " << error.what() << "\n";
        return 1;
    }
}

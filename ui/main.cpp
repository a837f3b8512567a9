// Kalventa: a calculator for a hoist rope and its drum. The program is its
// one window; it ends when the window is closed. From the command line it
// also opens a calculation file, and writes a file's note or results without
// a window (see ui/command_line.h).

#include "ui/batch.h"
#include "ui/calculation_files.h"
#include "ui/command_line.h"
#include "ui/display_messages.h"
#include "ui/font_configuration.h"
#include "ui/form1.h"
#include "ui/qt_translations.h"

#include <QApplication>
#include <QFile>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace kalventa::ui;

void write(std::FILE* stream, std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), stream);
}

// Help, the version and a mistaken command line need no Qt; a note or
// results need no display.
int withoutWindow(int argc, char* argv[], const CommandLine& command)
{
    switch (command.mode) {
    case Mode::Help: write(stdout, helpText()); return exitOk;
    case Mode::Version: write(stdout, versionText()); return exitOk;
    case Mode::Mistake: write(stderr, mistakeText(command.mistake)); return exitUsage;
    default: break;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    loadFontConfiguration();
    QApplication::setDesktopSettingsAware(false);
    QApplication application(argc, argv);
    return runWithoutWindow(command);
}

} // namespace

int main(int argc, char* argv[])
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (asksForNoWindow(arguments))
        return withoutWindow(argc, argv, parseCommandLine(arguments));

    // The window sets its own fonts, colours and style; the desktop's theme
    // plugin (GTK's under GNOME, which loads GTK and Mesa) would cost most of
    // the start-up and change nothing that is shown.
    QApplication::setDesktopSettingsAware(false);
    loadFontConfiguration();
    watchTheDisplay();
    QApplication application(argc, argv);
    displayOpened();
    // Qt has taken its own options (-platform, -display …); the rest is ours.
    std::vector<std::string> rest;
    for (const QString& argument : QApplication::arguments().mid(1))
        rest.push_back(QFile::encodeName(argument).toStdString());
    const CommandLine command = parseCommandLine(rest);
    if (command.mode != Mode::Window) {
        write(stderr, mistakeText(command.mistake));
        return exitUsage;
    }
    translateQtDialogs(application);
    Form1 form;
    form.show();
    // A file named is opened; a calculation left unsaved by a crash is
    // offered only when none is.
    if (!command.file.empty())
        openFileAtStart(form, QFile::decodeName(QByteArray::fromStdString(command.file)));
    else
        offerRecovery(form);
    return QApplication::exec();
}

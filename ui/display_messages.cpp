#include "ui/display_messages.h"

#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace kalventa::ui {
namespace {

QtMessageHandler qtHandler = nullptr;
bool started = false;
std::vector<std::string> held; // Qt's messages before the start, as Qt writes them

// « «:0»» for the display the environment names, or why there is none.
std::string displayName()
{
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display)
        return " (переменная DISPLAY не задана)";
    return std::string(" «") + display + "»";
}

void say(const std::string& line)
{
    const std::string text = "kalventa: " + line + "\n";
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

void onMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (!started) {
        if (type == QtFatalMsg) {
            // The platform could not be opened: nothing of the program has run yet.
            say("не удалось открыть дисплей" + displayName() + "; окно показать негде.");
            std::_Exit(1);
        }
        held.push_back(qFormatLogMessage(type, context, message).toStdString());
        return;
    }
    if (qtHandler)
        qtHandler(type, context, message);
    // Qt would end the program with exit(1) right after this message, running
    // the destructors of its globals while the application still stands on a
    // connection that is gone; ending at once is the clean way out.
    if (message.startsWith(QLatin1String("The X11 connection broke"))) {
        say("связь с дисплеем" + displayName() + " прервана; программа закрывается.");
        std::_Exit(1);
    }
}

} // namespace

void watchTheDisplay()
{
    qtHandler = qInstallMessageHandler(&onMessage);
}

void displayOpened()
{
    started = true;
    for (std::string& message : held) {
        message += '\n';
        std::fwrite(message.data(), 1, message.size(), stderr);
    }
    held.clear();
}

} // namespace kalventa::ui

// Kalventa: a calculator for a hoist rope and its drum. The program is its
// one window; it ends when the window is closed.

#include "ui/display_messages.h"
#include "ui/form1.h"
#include "ui/qt_translations.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    // The window sets its own fonts, colours and style; the desktop's theme
    // plugin (GTK's under GNOME, which loads GTK and Mesa) would cost most of
    // the start-up and change nothing that is shown.
    QApplication::setDesktopSettingsAware(false);
    kalventa::ui::watchTheDisplay();
    QApplication application(argc, argv);
    kalventa::ui::displayOpened();
    kalventa::ui::translateQtDialogs(application);
    kalventa::ui::Form1 form;
    form.show();
    return QApplication::exec();
}

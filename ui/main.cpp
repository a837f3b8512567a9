// Kalventa: a calculator for a hoist rope and its drum. The program is its
// one window; it ends when the window is closed.

#include "ui/form1.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    kalventa::ui::Form1 form;
    form.show();
    return QApplication::exec();
}

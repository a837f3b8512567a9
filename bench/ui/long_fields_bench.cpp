// The window with every field full: each of the seven fields holds as many
// characters as a field takes, zeros before the number of the example, so
// that every one of them is read. Checked first: the three calculations give
// the examples' results, and the keys and clicks timed leave the text as it
// was. Then measured: the time it takes to fill the seven fields, and each
// against its budget:
//   - a key press, and a click, in a full field to the field painted anew
//     (the median of a series under 50 ms);
//   - the processor time the program takes while idle with the focus in a
//     full field, its cursor blinking (under 5 % of a core);
//   - the memory the full fields take above the same window with short texts
//     (resident set, under 200 MB).
// Runs on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include "full_fields.h"
#include "paint_counter.h"
#include "ui/form1.h"
#include "ui/text_field.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

using kalventa::ui::Form1;
using kalventa::ui::TextField;

using kalventa::bench::padded;

using kalventa::bench::PaintCounter;

namespace {

const auto& inputs = kalventa::bench::exampleInputs;

constexpr qsizetype fieldLength = TextField::capacity;

constexpr double keyBudgetMs = 50;
constexpr double idleCpuBudget = 0.05;
constexpr double memoryBudgetMb = 200;

double residentMb()
{
    long pages = 0;
    long resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
        + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Runs the event loop for that long, sleeping between events.
void idle(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

class LongFieldsBench : public QObject {
    Q_OBJECT

    std::unique_ptr<Form1> window;
    double shortTextsMb = 0;

    template <class Widget = QWidget>
    Widget& control(const char* name) const
    {
        auto* widget = window->findChild<Widget*>(QLatin1String(name));
        if (!widget)
            qFatal("the window has no control %s of the expected kind", name);
        return *widget;
    }
    QString label(const char* name) const { return control<QLabel>(name).text(); }
    QLineEdit& full() const { return control<QLineEdit>("Text4"); }

    // Milliseconds from the action to the end of the field's next paint.
    double toPaint(const std::function<void()>& action) const
    {
        PaintCounter counter;
        full().installEventFilter(&counter);
        bool late = false;
        QTimer::singleShot(5000, &counter, [&late] { late = true; });
        QElapsedTimer timer;
        timer.start();
        action();
        while (counter.paints == 0 && !late)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const double elapsed = double(timer.nsecsElapsed()) / 1e6;
        full().removeEventFilter(&counter);
        return late ? 1e9 : elapsed;
    }

private slots:
    void initTestCase()
    {
        window = std::make_unique<Form1>();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        for (const kalventa::bench::Input& input : inputs)
            control<QLineEdit>(input.field).setText(QLatin1String(input.number));
        control<QAbstractButton>("Option1").setChecked(true);
        control<QComboBox>("Combo1").setCurrentIndex(2);
        control<QComboBox>("Combo2").setCurrentIndex(0);
        control<QAbstractButton>("Option5").setChecked(true);
        for (const char* button : {"Command1", "Command2", "Command3"})
            QTest::mouseClick(&control(button), Qt::LeftButton);
        full().setFocus();
        QTest::keyClick(&full(), Qt::Key_End);
        idle(200);
        shortTextsMb = residentMb();

        QElapsedTimer timer;
        timer.start();
        for (const kalventa::bench::Input& input : inputs)
            control<QLineEdit>(input.field).setText(padded(input.number));
        QApplication::processEvents();
        qInfo("Filling the seven fields: %.0f ms", double(timer.nsecsElapsed()) / 1e6);
    }

    void full_fields_are_read_whole()
    {
        for (const kalventa::bench::Input& input : inputs)
            QCOMPARE(control<QLineEdit>(input.field).text().size(), fieldLength);
        for (const char* button : {"Command1", "Command2", "Command3"})
            QTest::mouseClick(&control(button), Qt::LeftButton);
        QCOMPARE(label("Label3"), QStringLiteral(" 50000"));
        QCOMPARE(label("Label8"), QStringLiteral(" 228"));
        QCOMPARE(label("Label18"), QStringLiteral("3"));
        QCOMPARE(label("Label21"), QStringLiteral(" 535"));
        QCOMPARE(label("Label23"), QStringLiteral(" 24"));
        QCOMPARE(label("Label19"), QStringLiteral(" 222.2832"));
        QCOMPARE(label("Label20"), QStringLiteral(" 200.0549"));
    }

    // Backspace at the end of a full field and the digit typed back: the text
    // is the same after every pair.
    void key_press_to_paint()
    {
        full().setFocus();
        QTest::keyClick(&full(), Qt::Key_End);
        idle(100);
        const QString before = full().text();
        std::vector<double> times;
        for (int round = 0; round < 10; ++round) {
            times.push_back(toPaint([this] { QTest::keyClick(&full(), Qt::Key_Backspace); }));
            QCOMPARE(full().text().size(), fieldLength - 1);
            times.push_back(toPaint([this] { QTest::keyClick(&full(), Qt::Key_0); }));
            QCOMPARE(full().text().size(), fieldLength);
        }
        QVERIFY(full().text() == before);
        const double typical = median(times);
        qInfo("Key press to paint: median %.2f ms, slowest %.2f ms", typical,
              *std::max_element(times.begin(), times.end()));
        QVERIFY2(typical < keyBudgetMs, qPrintable(QStringLiteral("%1 ms").arg(typical)));
    }

    // A digit typed before the last one and taken back, each to its paint.
    void type_and_backspace_to_paint()
    {
        QBENCHMARK {
            toPaint([this] { QTest::keyClick(&full(), Qt::Key_Backspace); });
            toPaint([this] { QTest::keyClick(&full(), Qt::Key_0); });
        }
        QCOMPARE(full().text().size(), fieldLength);
        QCOMPARE(full().text().right(4), QStringLiteral("0400"));
    }

    // Clicks at two places in turn: each moves the cursor, which the field
    // shows at once.
    void click_to_paint()
    {
        full().setFocus();
        QTest::keyClick(&full(), Qt::Key_End);
        idle(100);
        std::vector<double> times;
        for (int round = 0; round < 10; ++round) {
            for (const int x : {8, full().width() - 8}) {
                const int cursor = full().cursorPosition();
                times.push_back(toPaint(
                    [this, x] { QTest::mouseClick(&full(), Qt::LeftButton, {}, QPoint(x, full().height() / 2)); }));
                QVERIFY(full().cursorPosition() != cursor);
                QVERIFY(full().cursorPosition() > fieldLength - 40);
            }
        }
        QCOMPARE(full().text().size(), fieldLength);
        const double typical = median(times);
        qInfo("Click to paint: median %.2f ms, slowest %.2f ms", typical,
              *std::max_element(times.begin(), times.end()));
        QVERIFY2(typical < keyBudgetMs, qPrintable(QStringLiteral("%1 ms").arg(typical)));
    }

    void idle_with_the_focus_in_a_full_field()
    {
        full().setFocus();
        QVERIFY(full().hasFocus());
        idle(600);
        const double cpuBefore = cpuSeconds();
        QElapsedTimer timer;
        timer.start();
        idle(3000);
        const double share = (cpuSeconds() - cpuBefore) / (double(timer.nsecsElapsed()) / 1e9);
        qInfo("Idle with the focus in a full field: %.1f %% of a core", share * 100);
        QVERIFY2(share < idleCpuBudget, qPrintable(QStringLiteral("%1 %").arg(share * 100)));
    }

    void memory_of_the_full_fields()
    {
        const double more = residentMb() - shortTextsMb;
        qInfo("Memory with the seven fields full: %.0f MB more than with short texts", more);
        QVERIFY2(more < memoryBudgetMb, qPrintable(QStringLiteral("%1 MB").arg(more)));
    }

    void click_command3_with_full_fields()
    {
        QBENCHMARK {
            QTest::mouseClick(&control("Command3"), Qt::LeftButton);
        }
        QCOMPARE(label("Label19"), QStringLiteral(" 222.2832"));
    }

    void cleanupTestCase() { window.reset(); }
};

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    LongFieldsBench bench;
    return QTest::qExec(&bench, argc, argv);
}

#include "long_fields_bench.moc"

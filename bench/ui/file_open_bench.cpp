// Opening a calculation file whose seven fields each hold as many characters
// as a field takes (zeros before the number of the example, so that every
// one of them is read), with all three calculations to run again. Checked
// first: the labels after the open are the examples' results, and saving
// gives the file back byte for byte. Then measured against its budget: the
// open, from the file on disk to the three calculations run again, the
// median of a series under 200 ms of the processor's time (the wall-clock
// time is shown beside it: on a busy machine it says more of the machine
// than of the program).
// Runs on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise.

#include "core/calculation_file.h"
#include "full_fields.h"
#include "ui/calculation_files.h"
#include "ui/form1.h"
#include "ui/text_field.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <time.h>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

using kalventa::ui::CalculationFiles;
using kalventa::ui::Form1;
using kalventa::ui::TextField;

using kalventa::bench::padded;

namespace {

const auto& inputs = kalventa::bench::exampleInputs;

constexpr double openBudgetMs = 200;

double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class FileOpenBench : public QObject {
    Q_OBJECT

    QTemporaryDir folder;
    QString full;

    template <class Widget = QWidget>
    static Widget& control(Form1& window, const char* name)
    {
        auto* widget = window.findChild<Widget*>(QLatin1String(name));
        if (!widget)
            qFatal("the window has no control %s of the expected kind", name);
        return *widget;
    }

private slots:
    // The file, saved from a window with every field full and all three run.
    void initTestCase()
    {
        Form1 window;
        for (const kalventa::bench::Input& input : inputs)
            control<QLineEdit>(window, input.field).setText(padded(input.number));
        control<QAbstractButton>(window, "Option1").setChecked(true);
        control<QComboBox>(window, "Combo1").setCurrentIndex(2);
        control<QComboBox>(window, "Combo2").setCurrentIndex(0);
        control<QAbstractButton>(window, "Option5").setChecked(true);
        for (const char* button : {"Command1", "Command2", "Command3"})
            control<QPushButton>(window, button).click();
        full = folder.filePath(QStringLiteral("full.kalventa"));
        QCOMPARE(kalventa::ui::calculationFiles(window)->saveTo(full), QString());
        qInfo("The file: %lld bytes", static_cast<long long>(QFileInfo(full).size()));
    }

    void opened_file_gives_the_results_and_itself_back()
    {
        Form1 window;
        const kalventa::ui::OpenOutcome outcome = kalventa::ui::calculationFiles(window)->open(full);
        QCOMPARE(outcome.error, QString());
        QCOMPARE(outcome.differences, QStringList());
        QCOMPARE(control<QLineEdit>(window, "Text5").text().size(), TextField::capacity);
        QCOMPARE(control<QLabel>(window, "Label3").text(), QStringLiteral(" 50000"));
        QCOMPARE(control<QLabel>(window, "Label8").text(), QStringLiteral(" 228"));
        QCOMPARE(control<QLabel>(window, "Label21").text(), QStringLiteral(" 535"));
        QCOMPARE(control<QLabel>(window, "Label20").text(), QStringLiteral(" 200.0549"));
        const QString again = folder.filePath(QStringLiteral("again.kalventa"));
        QCOMPARE(kalventa::ui::calculationFiles(window)->saveTo(again), QString());
        QVERIFY(contents(again) == contents(full));
    }

    // Each open into a new calculation's window, as Ctrl+O after Ctrl+N.
    void open_and_run_again()
    {
        Form1 window;
        CalculationFiles& files = *kalventa::ui::calculationFiles(window);
        std::vector<double> wall;
        std::vector<double> processor;
        for (int round = 0; round < 7; ++round) {
            files.startNew();
            QElapsedTimer timer;
            timer.start();
            const double startedCpu = threadCpuMs();
            const kalventa::ui::OpenOutcome outcome = files.open(full);
            processor.push_back(threadCpuMs() - startedCpu);
            wall.push_back(double(timer.nsecsElapsed()) / 1e6);
            QCOMPARE(outcome.error, QString());
        }
        const double typical = median(processor);
        qInfo("Open and run again: median %.1f ms of processor time, %.1f ms on the clock", typical, median(wall));
        QVERIFY2(typical < openBudgetMs, qPrintable(QStringLiteral("%1 ms").arg(typical)));
    }
};

int main(int argc, char* argv[])
{
    // The recent files a save records go to a folder of the tests, not the user's.
    QStandardPaths::setTestModeEnabled(true);
    QApplication application(argc, argv);
    FileOpenBench bench;
    return QTest::qExec(&bench, argc, argv);
}
#include "file_open_bench.moc"

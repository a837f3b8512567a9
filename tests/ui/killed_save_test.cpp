// A save cut short by a killed program: the file is always whole, the one
// before or the one being saved, never part of either. The test runs itself
// a second time as the saving program, which saves two calculations in turn
// over the same file until it is killed at a moment of the test's choosing.

#include "ui/calculation_files.h"
#include "ui/form1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <cstring>

using kalventa::ui::Form1;

namespace {

// The calculation saved: a field a million characters long, so that a save
// takes long enough to be caught in the middle.
QByteArray savedWith(Form1& window, char digit, const QString& path)
{
    window.findChild<QLineEdit*>(QStringLiteral("Text5"))->setText(QString(1'000'000, QLatin1Char(digit)));
    if (!kalventa::ui::calculationFiles(window)->saveTo(path).isEmpty())
        return {};
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The saving program: both contents written once to files of their own,
// then over the file in turn, a line on standard output before each save.
int keepSaving(const QString& path)
{
    Form1 window;
    savedWith(window, '1', path + QStringLiteral(".one"));
    savedWith(window, '2', path + QStringLiteral(".two"));
    for (char digit = '1';; digit = digit == '1' ? '2' : '1') {
        std::fputs("saving\n", stdout);
        std::fflush(stdout);
        savedWith(window, digit, path);
    }
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class KilledSaveTest : public QObject {
    Q_OBJECT

private slots:
    void killed_save_leaves_a_whole_file()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("кран.kalventa"));
        Form1 window;
        const QByteArray before = savedWith(window, '0', path);
        QVERIFY(!before.isEmpty());
        for (int round = 0; round < 8; ++round) {
            QProcess saving;
            saving.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            saving.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--keep-saving"), path});
            QVERIFY2(saving.waitForStarted(30'000), qPrintable(saving.errorString()));
            // Saves under way, then a kill some milliseconds into one.
            for (int saves = 0; saves < 2 + round % 3;) {
                if (!saving.waitForReadyRead(30'000))
                    QFAIL(qPrintable(QStringLiteral("the saving program says nothing: %1, exit %2")
                                         .arg(saving.errorString())
                                         .arg(saving.exitCode())));
                saves += int(saving.readAllStandardOutput().count('\n'));
            }
            QElapsedTimer wait;
            wait.start();
            const qint64 delay = QRandomGenerator::global()->bounded(20);
            while (wait.elapsed() < delay)
                ;
            saving.kill();
            QVERIFY(saving.waitForFinished(30'000));
            const QByteArray now = contents(path);
            const bool whole = now == before || now == contents(path + QStringLiteral(".one"))
                || now == contents(path + QStringLiteral(".two"));
            QVERIFY2(whole, qPrintable(QStringLiteral("round %1: %2 bytes").arg(round).arg(now.size())));
        }
    }
};

int main(int argc, char* argv[])
{
    // The recent files a save records go to a folder of the tests, not the user's.
    QStandardPaths::setTestModeEnabled(true);
    QApplication application(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "--keep-saving") == 0)
        return keepSaving(QString::fromLocal8Bit(argv[2]));
    KilledSaveTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "killed_save_test.moc"

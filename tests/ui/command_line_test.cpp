// The program's command line: what each form of arguments asks for, and
// what is said of a command line that makes no sense.

#include "core/calculation_file.h"
#include "poppler.h"
#include "ui/command_line.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <string>
#include <vector>

using namespace kalventa::ui;

namespace {

std::vector<std::string> words(const QString& line)
{
    std::vector<std::string> arguments;
    for (const QString& word : line.split(u' ', Qt::SkipEmptyParts))
        arguments.push_back(word.toStdString());
    return arguments;
}

// The command as one line: mode, file, output, json or the mistake.
QString described(const CommandLine& command)
{
    static const char* const modes[] = {"window", "report", "results", "help", "version", "mistake"};
    if (command.mode == Mode::Mistake)
        return QStringLiteral("mistake: ") + QString::fromStdString(command.mistake);
    return QString::fromLatin1(modes[int(command.mode)]) + u' ' + QString::fromStdString(command.file) + u' '
        + QString::fromStdString(command.output) + (command.json ? QStringLiteral(" json") : QString());
}

struct Ran {
    int status = -1;
    QString out;
    QString err;
};

// The program run as a script would run it, with a home of its own.
Ran run(const QStringList& arguments, const QTemporaryDir& home)
{
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    environment.remove(QStringLiteral("DISPLAY")); // no window is wanted
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(KALVENTA_PROGRAM), arguments);
    if (!program.waitForFinished(60'000))
        return {};
    return {program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1,
            QString::fromUtf8(program.readAllStandardOutput()), QString::fromUtf8(program.readAllStandardError())};
}

QString sampleWith(const QTemporaryDir& folder, const QString& from, const QString& to)
{
    QFile sample(QStringLiteral(KALVENTA_SAMPLE_FILE));
    if (!sample.open(QIODevice::ReadOnly))
        return {};
    QFile changed(folder.filePath(QStringLiteral("changed.kalventa")));
    if (!changed.open(QIODevice::WriteOnly))
        return {};
    changed.write(QString::fromUtf8(sample.readAll()).replace(from, to).toUtf8());
    return changed.fileName();
}

const QString sampleResults = QStringLiteral("Расчёт каната\n"
                                             "Минимальное допустимое натяжение каната: 275000 Н\n"
                                             "Заключение о канате: «»\n"
                                             "Допустимые размеры барабана\n"
                                             "Минимальный диаметр барабана: 228 мм\n"
                                             "Максимальная длина барабана: 684 мм\n"
                                             "Расчёт канатоёмкости\n"
                                             "Слоёв каната: 3\n"
                                             "Витков в слое: 66\n"
                                             "Остаток длины барабана за последним витком: 8 мм\n"
                                             "Диаметр реборды: 520 мм\n"
                                             "Канатоёмкость без учёта неравномерности укладки: 271.2072 м\n"
                                             "Канатоёмкость: 244.0865 м\n"
                                             "Толщина стенки барабана: 42 мм\n");

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void arguments_are_read_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("noWindow");
        // clang-format off
        const std::tuple<const char*, const char*, const char*, bool> rows[] = {
            {"nothing", "", "window  ", false},
            {"a file to open", "кран.kalventa", "window кран.kalventa ", false},
            {"a file named like an option", "-- --help", "window --help ", false},
            {"a note", "--report a.kalventa -o a.pdf", "report a.kalventa a.pdf", true},
            {"a note, joined forms", "--output=a.pdf --report=a.kalventa", "report a.kalventa a.pdf", true},
            {"results as JSON", "--json --results a.kalventa", "results a.kalventa  json", true},
            {"help wins", "--report a.kalventa --help", "help  ", true},
            {"version", "--version", "version  ", true},
            {"unknown option", "--raport a.kalventa", "mistake: неизвестный параметр «--raport»", false},
            {"no value", "--results", "mistake: у параметра «--results» нет значения", true},
            {"empty value", "--results=", "mistake: у параметра «--results» пустое значение", true},
            {"value for a switch", "--json=yes --results a", "mistake: параметр «--json» не принимает значения", true},
            {"note without its PDF", "--report a.kalventa", "mistake: не задан файл записки: «--report ФАЙЛ -o ЗАПИСКА.pdf»", true},
            {"both at once", "--report a -o b --results c", "mistake: параметры «--report» и «--results» не задаются вместе", true},
            {"two files", "a.kalventa b.kalventa", "mistake: лишний аргумент «b.kalventa»", false},
            {"a file beside results", "--results a x", "mistake: лишний аргумент «x»", true},
            {"output alone", "-o a.pdf", "mistake: параметр «--output» задаёт файл записки для «--report»", true},
            {"JSON alone", "--json", "mistake: параметр «--json» относится к «--results»", true},
        };
        // clang-format on
        for (const auto& [name, arguments, command, noWindow] : rows)
            QTest::newRow(name) << QString::fromUtf8(arguments) << QString::fromUtf8(command) << noWindow;
    }
    void arguments_are_read()
    {
        QFETCH(QString, arguments);
        QFETCH(QString, command);
        QFETCH(bool, noWindow);
        const std::vector<std::string> list = words(arguments);
        QCOMPARE(described(parseCommandLine(list)), command);
        QCOMPARE(asksForNoWindow(list), noWindow);
    }

    // The program itself: what it prints, where, and its exit status.
    void program_answers_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");         // whole
        QTest::addColumn<QString>("errContains"); // a part; empty: nothing of ours
        const QString sample = QStringLiteral(KALVENTA_SAMPLE_FILE);
        QTest::newRow("help") << QStringList{"--help"} << 0 << QString::fromStdString(helpText()) << QString();
        QTest::newRow("results") << QStringList{"--results", sample} << 0 << sampleResults << QString();
        QTest::newRow("mistake") << QStringList{"--results", sample, "--bogus"} << 2 << QString()
                                 << QStringLiteral(
                                        "kalventa: неизвестный параметр «--bogus»\nПодробнее: kalventa --help\n");
        QTest::newRow("no such file") << QStringList{"--results", "нет.kalventa"} << 1 << QString()
                                      << QStringLiteral("kalventa: «нет.kalventa»: такого файла нет\n");
        QTest::newRow("not a calculation") << QStringList{"--results", QStringLiteral(KALVENTA_PROGRAM)} << 1
                                           << QString() << QStringLiteral("текст файла не в кодировке UTF-8");
        QTest::newRow("note into no folder") << QStringList{"--report", sample, "-o", "/нет/записка.pdf"} << 1
                                             << QString() << QStringLiteral("«/нет/записка.pdf»: нет такой папки");
    }
    void program_answers()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, errContains);
        QTemporaryDir home;
        const Ran ran = run(arguments, home);
        QCOMPARE(ran.out, out);
        QCOMPARE(ran.status, status);
        if (errContains.isEmpty())
            QVERIFY2(!ran.err.contains(QStringLiteral("kalventa:")), qPrintable(ran.err));
        else
            QVERIFY2(ran.err.contains(errContains), qPrintable(ran.err));
        // A script's run leaves the user's recent files and recovery copy alone.
        QVERIFY(!QDir(home.filePath(QStringLiteral("config/kalventa"))).exists());
    }

    // Reran, the sample gives the results it was saved with.
    void results_as_json_are_those_saved()
    {
        QTemporaryDir home;
        const Ran ran
            = run({QStringLiteral("--json"), QStringLiteral("--results"), QStringLiteral(KALVENTA_SAMPLE_FILE)}, home);
        QCOMPARE(ran.status, 0);
        QFile sample(QStringLiteral(KALVENTA_SAMPLE_FILE));
        QVERIFY(sample.open(QIODevice::ReadOnly));
        const std::string saved = sample.readAll().toStdString();
        QCOMPARE(ran.out, QString::fromStdString(kalventa::resultsAsJson(kalventa::readCalculationFile(saved).file)));
    }

    void stopped_calculation_fails_with_its_message()
    {
        QTemporaryDir home;
        const QString file = sampleWith(home, QStringLiteral("\"drum_diameter_mm\": \"400\""),
                                        QStringLiteral("\"drum_diameter_mm\": \"1E+15\""));
        const Ran ran = run({QStringLiteral("--results"), file}, home);
        QCOMPARE(ran.status, 1);
        QVERIFY2(ran.err.contains(QStringLiteral("Расчёт канатоёмкости: ")), qPrintable(ran.err));
        QVERIFY2(ran.err.contains(QStringLiteral("результаты отличаются от сохранённых: ")), qPrintable(ran.err));
        QVERIFY(ran.out.startsWith(QStringLiteral("Расчёт каната\n")));
    }

    void note_is_written_without_a_window()
    {
        QTemporaryDir home;
        const QString note = home.filePath(QStringLiteral("записка.pdf"));
        const Ran ran
            = run({QStringLiteral("--report"), QStringLiteral(KALVENTA_SAMPLE_FILE), QStringLiteral("-o"), note}, home);
        QCOMPARE(ran.status, 0);
        const QString words = popplerOutput(QStringLiteral("pdftotext"), {note, QStringLiteral("-")});
        for (const QString& expected :
             {QStringLiteral("Расчёт канатоёмкости"), QStringLiteral("Sк = 0,9 · S"), QStringLiteral("244,0865 м"),
              QStringLiteral("Dмин = 19 · d = 19 · 12 = 228 мм")})
            QVERIFY2(words.contains(expected), qPrintable(expected));
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "command_line_test.moc"

// The program's command line: what each form of arguments asks for, and
// what is said of a command line that makes no sense.

#include "ui/command_line.h"

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
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "command_line_test.moc"

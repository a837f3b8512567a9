// The copied results as a spreadsheet takes them: LibreOffice Calc, headless,
// reads the HTML table under a decimal-comma locale, and every value in the
// labels' number form arrives as that number, never as a date or a text.

#include "core/copied_results.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace kalventa;

class SpreadsheetPasteTest : public QObject {
    Q_OBJECT

private slots:
    void numbers_arrive_as_numbers_under_a_decimal_comma()
    {
        // Each value as a label shows it, and what the cell must hold:
        // "float:<value>" or "string".
        // clang-format off
        const std::pair<const char*, const char*> values[] = {
            {"228", "float:228"},
            {"271.2072", "float:271.2072"},   // a date or a text if read by the locale
            {"-0.0001", "float:-0.0001"},
            {"1.5E+39", "float:1.5E+039"},
            {"08.12", "float:8.12"},          // a date if read by the locale
            {"1.#INF", "string"},
            {"канат не допустим", "string"},
        };
        // clang-format on
        std::vector<CopiedRow> rows;
        for (const auto& [value, cell] : values)
            rows.push_back({"q", value, ""});

        const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
        QVERIFY2(!soffice.isEmpty(), "LibreOffice (libreoffice-calc-nogui) is not installed");
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QFile html(folder.filePath(QStringLiteral("copied.html")));
        QVERIFY(html.open(QIODevice::WriteOnly));
        html.write(QByteArray::fromStdString("<html><body>" + asHtmlTable(rows) + "</body></html>"));
        html.close();

        QProcess calc;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("ru_RU.UTF-8"));
        environment.insert(QStringLiteral("LANG"), QStringLiteral("ru_RU.UTF-8"));
        environment.insert(QStringLiteral("HOME"), folder.path()); // its profile, not the user's
        calc.setProcessEnvironment(environment);
        calc.start(soffice,
                   {QStringLiteral("--headless"), QStringLiteral("--infilter=calc_HTML_WebQuery"),
                    QStringLiteral("--convert-to"), QStringLiteral("fods"), QStringLiteral("--outdir"), folder.path(),
                    html.fileName()});
        QVERIFY(calc.waitForFinished(120'000));
        QCOMPARE(calc.exitCode(), 0);

        QFile sheet(folder.filePath(QStringLiteral("copied.fods")));
        QVERIFY(sheet.open(QIODevice::ReadOnly));
        const QString xml = QString::fromUtf8(sheet.readAll());
        // The second cell of each row after the heading row.
        static const QRegularExpression rowPattern(QStringLiteral("<table:table-row[^>]*>(.*?)</table:table-row>"),
                                                   QRegularExpression::DotMatchesEverythingOption);
        static const QRegularExpression cellPattern(
            QStringLiteral("<table:table-cell[^>]*?office:value-type=\"(\\w+)\"(?: office:value=\"([^\"]*)\")?"));
        QStringList cells;
        for (const QRegularExpressionMatch& row : rowPattern.globalMatch(xml)) {
            auto found = cellPattern.globalMatch(row.captured(1));
            found.next();
            if (!found.hasNext())
                continue;
            const QRegularExpressionMatch cell = found.next();
            cells << (cell.captured(1) == u"float" ? QStringLiteral("float:") + cell.captured(2) : cell.captured(1));
        }
        QStringList expected{QStringLiteral("string")}; // the heading row's «Значение»
        for (const auto& [value, cell] : values)
            expected << QString::fromUtf8(cell);
        QCOMPARE(cells, expected);
    }
};

QTEST_GUILESS_MAIN(SpreadsheetPasteTest)
#include "spreadsheet_paste_test.moc"

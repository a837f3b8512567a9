// The calculation report as a PDF file, read back as a person reads it: the
// text of every page by pdftotext (poppler-utils), the number of pages by
// pdfinfo and the fonts by pdffonts. Reports are made from real runs of the
// calculations on an in-memory window.

#include "poppler.h"
#include "report_runs.h"
#include "ui/report_document.h"

#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace kalventa;
using namespace kalventa::ui::testing;

namespace {

// A run for a report: its button, what was entered, and whether an input it
// read changed afterwards.
struct ReportedRun {
    std::string button;
    Entries entries;
    bool stale = false;
};
using ReportedRuns = std::vector<ReportedRun>;

// Runs of blanks and line ends as one blank: a table row or a wrapped
// paragraph reads as one line.
QString flattened(const QString& text)
{
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    return QString(text).replace(blanks, QStringLiteral(" "));
}

// The text area of an A4 page in points, within the margins of a text
// document without a frame: 30 mm on the left, 10 mm on the right, 15 mm at
// the top and 10 mm at the bottom, under the sheet number.
const QRectF textArea = [] {
    constexpr qreal point = 72 / 25.4;
    return QRectF(QPointF(30 * point, 15 * point), QPointF((210 - 10) * point, (297 - 10) * point));
}();

struct RenderedReport {
    bool ok = false;
    QStringList pages;   // pdftotext -layout, one entry a page
    QStringList fonts;   // pdffonts' font names without their subset prefixes
    QStringList outside; // words that stand outside the text area
    struct Word {
        QString text;
        int page;
        QRectF box;
    };
    QList<Word> words; // each word, its sheet and its box on the sheet

    QString all() const { return flattened(pages.join(QLatin1Char(' '))); }
};

RenderedReport render(const Report& report)
{
    RenderedReport rendered;
    QTemporaryDir directory;
    const QString pdf = directory.filePath(QStringLiteral("report.pdf"));
    if (const QString reason = ui::saveReportPdf(report, pdf); !reason.isEmpty()) {
        qWarning("saveReportPdf failed: %s", qPrintable(reason));
        return rendered;
    }
    const QString text
        = popplerOutput(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    const QString info = popplerOutput(QStringLiteral("pdfinfo"), {pdf});
    const QString fonts = popplerOutput(QStringLiteral("pdffonts"), {pdf});
    const QString boxes
        = popplerOutput(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (text.isEmpty() || info.isEmpty() || fonts.isEmpty() || boxes.isEmpty())
        return rendered;

    // pdftotext ends every page with a form feed.
    rendered.pages = text.split(QLatin1Char('\f'));
    if (rendered.pages.last().trimmed().isEmpty())
        rendered.pages.removeLast();
    const auto pageCount
        = QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)$"), QRegularExpression::MultilineOption).match(info);
    if (!pageCount.hasMatch() || pageCount.captured(1).toInt() != rendered.pages.size()) {
        qWarning("pdfinfo counts %s pages, pdftotext %lld", qPrintable(pageCount.captured(1)),
                 static_cast<long long>(rendered.pages.size()));
        return rendered;
    }
    static const QRegularExpression fontName(QStringLiteral("^(?:[A-Z]{6}\\+)?(\\S+)"),
                                             QRegularExpression::MultilineOption);
    for (const QString& line : fonts.split(QLatin1Char('\n')).mid(2))
        if (const auto match = fontName.match(line); match.hasMatch())
            rendered.fonts << match.captured(1);
    rendered.fonts.removeDuplicates();
    rendered.fonts.sort();

    static const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    qsizetype words = 0;
    QList<qsizetype> pageStarts;
    for (qsizetype at = boxes.indexOf(QStringLiteral("<page ")); at >= 0;
         at = boxes.indexOf(QStringLiteral("<page "), at + 1))
        pageStarts << at;
    for (auto it = word.globalMatch(boxes); it.hasNext(); ++words) {
        const auto match = it.next();
        const auto page
            = std::upper_bound(pageStarts.begin(), pageStarts.end(), match.capturedStart()) - pageStarts.begin();
        const QRectF box(QPointF(match.captured(1).toDouble(), match.captured(2).toDouble()),
                         QPointF(match.captured(3).toDouble(), match.captured(4).toDouble()));
        if (!textArea.adjusted(-0.5, -0.5, 0.5, 0.5).contains(box))
            rendered.outside << match.captured(5);
        rendered.words.append({match.captured(5), int(page), box});
    }
    if (words == 0) {
        qWarning("pdftotext -bbox gave no words");
        return rendered;
    }
    rendered.ok = true;
    return rendered;
}

// Every page ends with «Лист N из M», N its own number, M the page count,
// and says it once.
bool footersNumberEveryPage(const RenderedReport& rendered)
{
    const qsizetype count = rendered.pages.size();
    for (qsizetype page = 0; page < count; ++page) {
        const QString footer = QStringLiteral("Лист %1 из %2").arg(page + 1).arg(count);
        const QStringList lines = rendered.pages[page].trimmed().split(QLatin1Char('\n'));
        if (lines.last().trimmed() != footer || rendered.pages[page].count(QStringLiteral("Лист ")) != 1) {
            qWarning("page %lld ends with \"%s\", not \"%s\"", static_cast<long long>(page + 1),
                     qPrintable(lines.last().trimmed()), qPrintable(footer));
            return false;
        }
    }
    return count > 0;
}

// What every report has: it was written and read back, each page has its
// sheet number, and no word stands outside the text area.
bool wellFormed(const RenderedReport& rendered)
{
    if (!rendered.ok) {
        qWarning("the report could not be written and read back");
        return false;
    }
    if (!rendered.outside.isEmpty()) {
        qWarning("outside the text area: %s", qPrintable(rendered.outside.join(QLatin1Char(' '))));
        return false;
    }
    return footersNumberEveryPage(rendered);
}

} // namespace

Q_DECLARE_METATYPE(ReportedRuns)

class ReportPdfTest : public QObject {
    Q_OBJECT

    RenderedReport full_;

private slots:
    void initTestCase()
    {
        const std::vector<RunRecord> records = allThreeRuns();
        full_ = render(reportOf(records));
        QVERIFY2(full_.ok, "the full report could not be written and read back");
    }

    void full_report_opens_with_the_title_block()
    {
        const QString first = flattened(full_.pages.first());
        QVERIFY(first.startsWith(QStringLiteral(" Расчётная записка Кальвента 1.3.0 14.03.2025 09:30 1 Методика "
                                                "Минимальное допустимое натяжение каната Sмин = Q · k · 10, где k ")));
    }

    void full_report_numbers_every_page()
    {
        QCOMPARE(full_.pages.size(), 4);
        QVERIFY(footersNumberEveryPage(full_));
    }

    void full_report_keeps_inside_the_margins() { QCOMPARE(full_.outside, QStringList()); }

    void full_report_heads_each_section_in_order()
    {
        const QString all = full_.all();
        const QStringList headings{QStringLiteral(" 1 Методика "), QStringLiteral(" 2 Расчёт каната "),
                                   QStringLiteral(" 3 Допустимые размеры барабана "),
                                   QStringLiteral(" 4 Расчёт канатоёмкости "),
                                   QStringLiteral(" 5 Сводка результатов Таблица 5 — Результаты расчётов ")};
        qsizetype from = 0;
        for (const QString& heading : headings) {
            const qsizetype at = all.indexOf(heading, from);
            QVERIFY2(at > from, qPrintable(heading));
            from = at;
        }
        QVERIFY(!all.contains(QStringLiteral("изменены после расчёта")));
    }

    void full_report_lists_every_input_data()
    {
        QTest::addColumn<QString>("row");
        // The columns: quantity, symbol, unit, as typed, as read.
        QTest::newRow("Таблица 1")
            << "Таблица 1 — Исходные данные Величина Обозначение Ед. изм. Введено Принято Вес груза";
        QTest::newRow("load") << "Вес груза Q кг 1000 1000";
        QTest::newRow("breaking force") << "Разрывное усилие каната Fр Н 50000 50000";
        // A choice as the window shows it wraps in its cell.
        QTest::newRow("duty factor") << "Коэффициент запаса по режиму работы k — Средний 5.5 (к=5,5)";
        QTest::newRow("Таблица 2")
            << "Таблица 2 — Исходные данные Величина Обозначение Ед. изм. Введено Принято Диаметр";
        QTest::newRow("rope diameter, limits") << "Диаметр каната d мм 12 12";
        QTest::newRow("Таблица 3")
            << "Таблица 3 — Исходные данные Величина Обозначение Ед. изм. Введено Принято Диаметр";
        QTest::newRow("drum diameter") << "Диаметр барабана D мм 400 400";
        QTest::newRow("drum length") << "Длина барабана L мм 800 800";
        QTest::newRow("rope diameter, capacity") << "Диаметр каната d мм 15 15";
        QTest::newRow("load, capacity") << "Вес груза Q кг 5000 5000";
        QTest::newRow("layers") << "Число слоёв каната N — 3 3";
        QTest::newRow("material")
            << "Допускаемое напряжение материала барабана [σ] кг/мм² Сталь. 14 сварн.(1400 кг/см2)";
        QTest::newRow("flange margin") << "Размер Y в диаметрах каната Y — 1,5d 1.5";
    }

    void full_report_lists_every_input()
    {
        QFETCH(QString, row);
        QCOMPARE(full_.all().count(QLatin1Char(' ') + row + QLatin1Char(' ')), 1);
    }

    void full_report_numbers_the_formulas_data()
    {
        QTest::addColumn<QString>("formula");
        QTest::newRow("(1)") << "Sмин = Q · k · 10 = 1000 · 5,5 · 10 = 55000 Н (1)";
        QTest::newRow("(2)") << "Dмин = 19 · d = 19 · 12 = 228 мм (2)";
        QTest::newRow("(3)") << "Lмакс = 3 · Dмин = 3 · 228 = 684 мм (3)";
        QTest::newRow("(4)") << "n = ⌊L / d⌋ = ⌊800 / 15⌋ = 53 (4)";
        QTest::newRow("(5)") << "g = L − n · d = 800 − 53 · 15 = 5 мм (5)";
        QTest::newRow("(6)") << "P₃ = D + d + 2 · d · (3 − 1) = 400 + 15 + 2 · 15 · 2 = 475 мм (6)";
        QTest::newRow("(7)") << "F = P₃ + d + 2 · d · Y = 475 + 15 + 2 · 15 · 1,5 = 535 мм (7)";
        QTest::newRow("(8)") << "l₃ = 3,14159 · P₃ · n / 1000 = 3,14159 · 475 · 53 / 1000 = 79,0895 м (8)";
        QTest::newRow("(9)") << "S = l₁ + l₂ + l₃ = 69,0993 + 74,0944 + 79,0895 = 222,2832 м (9)";
        QTest::newRow("(10)") << "Sк = 0,9 · S = 0,9 · 222,2832 (одинарная точность: 222,283203125) = 200,0549 м (10)";
        QTest::newRow("(11)") << "t = ⌈Q / ([σ] · d)⌉ = ⌈5000 / (14 · 15)⌉ = 24 мм (11)";
    }

    void full_report_numbers_the_formulas()
    {
        QFETCH(QString, formula);
        // Once: a line at a page's end is not also hidden under the footer.
        QCOMPARE(full_.all().count(QLatin1Char(' ') + formula + QLatin1Char(' ')), 1);
    }

    void formula_numbers_sit_on_their_formulas_baseline()
    {
        // The nearest word left of a number on its line ends its formula:
        // both in the same font, so their boxes end at the same height.
        static const QRegularExpression number(QStringLiteral("^\\(\\d+\\)$"));
        int numbers = 0;
        for (const RenderedReport::Word& word : full_.words) {
            if (!number.match(word.text).hasMatch())
                continue;
            ++numbers;
            const RenderedReport::Word* before = nullptr;
            for (const RenderedReport::Word& other : full_.words)
                if (other.page == word.page && other.box.right() < word.box.left()
                    && other.box.bottom() > word.box.top() && other.box.top() < word.box.bottom()
                    && (!before || other.box.right() > before->box.right()))
                    before = &other;
            QVERIFY2(before, qPrintable(word.text));
            QVERIFY2(qAbs(word.box.bottom() - before->box.bottom()) < 0.05,
                     qPrintable(word.text + QStringLiteral(" after ") + before->text));
        }
        QCOMPARE(numbers, 11);
    }

    void full_report_explains_the_symbols_data()
    {
        QTest::addColumn<QString>("explanation");
        // Each symbol and number once, in the order the formulas above name them.
        QTest::newRow("rope check") << "где Sмин — минимальное допустимое натяжение каната, Н; Q — вес груза, кг; "
                                       "k — коэффициент запаса по режиму работы; 10 — ускорение свободного падения, "
                                       "принятое 10 м/с². Вывод:";
        QTest::newRow("limits") << "где Dмин — минимальный диаметр барабана, мм; 19 — наименьшее отношение диаметра "
                                   "барабана к диаметру каната; d — диаметр каната, мм; Lмакс — максимальная длина "
                                   "барабана, мм; 3 — наибольшее отношение длины барабана к его диаметру.";
        QTest::newRow("capacity, first")
            << "где n — число витков в слое; L — длина барабана, мм; d — диаметр каната, мм;";
        QTest::newRow("capacity, layers only the sum names")
            << "S — канатоёмкость без учёта неравномерности укладки, м; l₁ — длина каната в слое 1, м; "
               "l₂ — длина каната в слое 2, м;";
        QTest::newRow("capacity, last") << "Q — вес груза, кг; [σ] — допускаемое напряжение материала барабана, "
                                           "кг/мм². Таблица 4";
    }

    void full_report_explains_the_symbols()
    {
        QFETCH(QString, explanation);
        QVERIFY2(full_.all().contains(explanation), qPrintable(explanation));
    }

    void full_report_gives_the_verdict()
    {
        QVERIFY(full_.all().contains(
            QStringLiteral(" Вывод: Fр = 50000 Н < Sмин = 55000 Н: канат не допустим 3 Допустимые размеры барабана ")));
    }

    void full_report_tabulates_the_layers_data()
    {
        QTest::addColumn<QString>("row");
        QTest::newRow("heading") << "Таблица 4 — Слои навивки каната Слой P, мм F, мм l, м";
        QTest::newRow("layer 1") << "1 415 475 69.0993";
        QTest::newRow("layer 2") << "2 445 505 74.0944";
        QTest::newRow("layer 3") << "3 475 535 79.0895";
    }

    void full_report_tabulates_the_layers()
    {
        QFETCH(QString, row);
        // Each row on a line of its own.
        const QRegularExpression line(
            QLatin1Char('^') + QRegularExpression::escape(row).replace(QStringLiteral("\\ "), QStringLiteral("\\s+"))
            + QStringLiteral("$"));
        bool found = row.startsWith(QStringLiteral("Таблица")) ? full_.all().contains(row) : false;
        for (const QString& text : full_.pages.join(QLatin1Char('\n')).split(QLatin1Char('\n')))
            found = found || line.match(text.trimmed()).hasMatch();
        QVERIFY2(found, qPrintable(row));
    }

    void full_report_draws_the_sketch_with_its_values()
    {
        // From the top of the sketch down: the legends with their values, the
        // flange diameter on the right, the drum diameter in Text4 on the left,
        // the drum length in Text5 under the drum, the rope capacity at the
        // bottom; then the figure's caption.
        const QStringList linesInOrder{
            QStringLiteral("^Слои\\s+3\\s+g = 5 мм$"),
            QStringLiteral("^Витки\\s+53\\s+Y\\s+t = 24 мм$"),
            QStringLiteral("^535 мм$"),
            QStringLiteral("^400 мм$"),
            QStringLiteral("^800 мм$"),
            QStringLiteral("^Канатоёмкость\\s+200\\.0549 м$"),
            QStringLiteral("^Рисунок 1 — Барабан: введённые и рассчитанные размеры$"),
        };
        const QStringList lines = full_.pages.join(QLatin1Char('\n')).split(QLatin1Char('\n'));
        qsizetype from = 0;
        for (const QString& pattern : linesInOrder) {
            const QRegularExpression expected(pattern);
            while (from < lines.size() && !expected.match(lines[from].trimmed()).hasMatch())
                ++from;
            QVERIFY2(from < lines.size(), qPrintable(pattern));
        }
    }

    void full_report_sets_its_text_in_the_window_font()
    {
        // DejaVu Sans only for the floor and ceiling brackets.
        QCOMPARE(full_.fonts,
                 QStringList({QStringLiteral("DejaVuSans"), QStringLiteral("LiberationSans"),
                              QStringLiteral("LiberationSans-Bold")}));
    }

    void stopped_run_says_where_and_why()
    {
        const std::vector<RunRecord> records{runOn(
            "Command3", {{"Text4", "400"}, {"Text5", "327675"}, {"Text6", "10"}, {"Text7", "5000"}, {"Combo1", "2"}})};
        const RenderedReport rendered = render(reportOf(records));
        QVERIFY(wellFormed(rendered));
        const QString all = rendered.all();
        QVERIFY(all.contains(QStringLiteral(" Длина барабана L мм 327675 327675 ")));
        QVERIFY(all.contains(QStringLiteral(" n = ⌊L / d⌋ — не рассчитано: расчёт остановлен, переполнение "
                                            "(число витков в слое) (1) ")));
        QVERIFY(all.contains(QStringLiteral(" t = ⌈Q / ([σ] · d)⌉ — не рассчитано: расчёт остановлен, переполнение "
                                            "(число витков в слое) (8) ")));
        // Under the formulas and what they name, above the figure.
        const qsizetype stopped = all.indexOf(QStringLiteral(
            " [σ] — допускаемое напряжение материала барабана, кг/мм². Расчёт остановлен: переполнение при "
            "вычислении числа витков в слое. "));
        QVERIFY(stopped > 0);
        // No layer was reached; the sketch shows what was entered.
        QVERIFY(!all.contains(QStringLiteral("Слои навивки")));
        QVERIFY(all.indexOf(QStringLiteral(" 327675 "), stopped) > stopped);
        QVERIFY(all.indexOf(QStringLiteral(" Рисунок 1 ")) > stopped);
        QCOMPARE(all.count(QStringLiteral("Расчёт остановлен")), 1);
        QVERIFY(all.contains(QStringLiteral(" Расчёт канатоёмкости — расчёт остановлен: переполнение при вычислении "
                                            "числа витков в слое. ")));
    }

    // Each result of each run on a row of its own, as held and as its label
    // shows it, under its calculation; then the conclusions.
    void full_report_summarises_the_results_data()
    {
        QTest::addColumn<QString>("row");
        QTest::newRow("heading") << "Величина Обозначение Значение Ед. изм. В окне";
        QTest::newRow("rope check") << "Расчёт каната";
        QTest::newRow("verdict") << "Заключение о канате — канат не допустим — Не допустимо";
        QTest::newRow("limits") << "Допустимые размеры барабана";
        QTest::newRow("min drum diameter") << "Минимальный диаметр барабана Dмин 228 мм 228";
        QTest::newRow("max drum length") << "Максимальная длина барабана Lмакс 684 мм 684";
        QTest::newRow("layers") << "Число слоёв каната N 3 — 3";
        QTest::newRow("no label") << "Диаметр навивки верхнего слоя P3 475 мм —";
        QTest::newRow("rope capacity") << "Канатоёмкость Sк 200.0549 м 200.0549";
        QTest::newRow("wall") << "Толщина стенки барабана t 24 мм 24";
        QTest::newRow("conclusion") << "Допустимые размеры барабана — рассчитано.";
    }

    void full_report_summarises_the_results()
    {
        QFETCH(QString, row);
        // On a line of its own, once.
        const QRegularExpression line(
            QLatin1Char('^') + QRegularExpression::escape(row).replace(QStringLiteral("\\ "), QStringLiteral("\\s+"))
            + QLatin1Char('$'));
        qsizetype found = 0;
        for (const QString& text : full_.pages.join(QLatin1Char('\n')).split(QLatin1Char('\n')))
            found += line.match(text.trimmed()).hasMatch() ? 1 : 0;
        QVERIFY2(found == 1, qPrintable(row));
    }

    void full_report_says_why_the_drum_was_not_checked()
    {
        QVERIFY(
            full_.all().contains(QStringLiteral(" Размеры барабана с допустимыми не сравнены: допустимые размеры "
                                                "рассчитаны для каната d = 12 мм, канатоёмкость — для d = 15 мм. ")));
    }

    void drum_checked_against_its_limits_for_the_same_rope()
    {
        const std::vector<RunRecord> records{runOn("Command2", {{"Text2", "15"}}), runOn("Command3", capacityEntries)};
        const RenderedReport rendered = render(reportOf(records));
        QVERIFY(wellFormed(rendered));
        QVERIFY2(rendered.all().contains(QStringLiteral(
                     " Размеры барабана сравнены с допустимыми для того же каната, d = 15 мм: D = 400 мм ≥ Dмин = 285 "
                     "мм — выполняется L = 800 мм ≤ Lмакс = 855 мм — выполняется Лист ")),
                 qPrintable(rendered.all()));
    }

    void stale_result_is_marked_under_its_heading()
    {
        const std::vector<RunRecord> records = allThreeRuns();
        const RenderedReport rendered = render(reportOf(records, {false, true, false}));
        QVERIFY(wellFormed(rendered));
        const QString all = rendered.all();
        const QString mark = QStringLiteral(" 3 Допустимые размеры барабана Внимание: исходные данные изменены после "
                                            "расчёта. Таблица 2 — Исходные данные ");
        QVERIFY2(all.contains(mark), qPrintable(all));
        // Under its heading, and in its conclusion.
        QCOMPARE(all.count(QStringLiteral("изменены после расчёта")), 2);
        QVERIFY(all.contains(
            QStringLiteral(" Допустимые размеры барабана — рассчитано; исходные данные изменены после расчёта. ")));
    }

    void empty_report_says_no_calculation_was_made()
    {
        const RenderedReport rendered = render(reportOf({}));
        QVERIFY(wellFormed(rendered));
        QCOMPARE(rendered.pages.size(), 1);
        QCOMPARE(rendered.all(),
                 QStringLiteral(" Расчётная записка Кальвента 1.3.0 14.03.2025 09:30 Расчёт не "
                                "выполнялся: нажмите кнопку «Расчёт» одной из групп окна. Лист 1 из 1 "));
    }

    void misread_text_shows_its_notice()
    {
        const std::vector<RunRecord> records{
            runOn("Command1", {{"Text1", "1000,5"}, {"Text3", "50000"}, {"Option2", "on"}})};
        const RenderedReport rendered = render(reportOf(records));
        QVERIFY(wellFormed(rendered));
        QVERIFY(rendered.all().contains(QStringLiteral(
            " Вес груза Q кг 1000,5 1000 Прочитано как 1000: запятая не входит в число. Для 1000,5 введите 1000.5 "
            "Разрывное усилие каната ")));
    }

    void typed_markup_is_printed_as_typed_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("bold") << "<b>x</b>";
        QTest::newRow("entity") << "&amp;";
        QTest::newRow("line break") << "<br>7";
    }

    void typed_markup_is_printed_as_typed()
    {
        QFETCH(QString, typed);
        const std::vector<RunRecord> records{runOn("Command2", {{"Text2", typed.toStdString()}})};
        const RenderedReport rendered = render(reportOf(records));
        QVERIFY(wellFormed(rendered));
        QVERIFY2(rendered.all().contains(QStringLiteral(" Диаметр каната d мм ") + typed + QStringLiteral(" 0 ")),
                 qPrintable(rendered.all()));
    }

    void long_typed_text_breaks_inside_its_column()
    {
        // As long as a record quotes, and without a blank to break at.
        const std::string typed(200, '7');
        const std::vector<RunRecord> records{runOn("Command2", {{"Text2", typed}})};
        const RenderedReport rendered = render(reportOf(records));
        QVERIFY(wellFormed(rendered));
        QCOMPARE(rendered.pages.size(), 2);
        // Its column holds it in pieces, line under line, beside the value read.
        static const QRegularExpression sevens(QStringLiteral("(?<!\\S)7+(?!\\S)"));
        QString pieces;
        for (auto it = sevens.globalMatch(rendered.pages.first()); it.hasNext();)
            pieces += it.next().captured();
        QCOMPARE(pieces, QString::fromStdString(typed));
        QVERIFY(rendered.all().contains(QStringLiteral(" мм 7777777777 1.#INF 7777777777 ")));
        QVERIFY(rendered.all().contains(QStringLiteral(" Dмин = 19 · d — не рассчитано: расчёт остановлен, ошибка "
                                                       "вычислений с плавающей точкой (диаметр каната) (1) ")));
    }

    // Where a page would end inside a paragraph or a table cell, all of it
    // starts the next page; a line that starts right at a page's end is
    // printed there only. Each line once, and nothing outside the margins.
    void page_breaks_print_each_line_once_data()
    {
        QTest::addColumn<ReportedRuns>("runs");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("pageStart");
        const Entries stoppedCapacity{{"Text4", "400"},
                                      {"Text5", "327675"},
                                      {"Text6", "10"},
                                      {"Text7", "5000"},
                                      {"Combo1", "2"}};
        const Entries misreadLoad{{"Text1", "1000,5"}, {"Text3", "50000"}, {"Option2", "on"}};
        QTest::newRow("a formula of two lines that a page would end inside")
            << ReportedRuns{{"Command1", ropeCheckEntries},
                            {"Command2", drumLimitsEntries},
                            {"Command3", stoppedCapacity}}
            << 2
            << "lN = 3.14159 · PN · n / 1000 — не рассчитано: расчёт остановлен, переполнение (число витков в слое)";
        // The stale mark of the first run moves the verdict to start right at
        // the second page's end.
        QTest::newRow("a paragraph that starts right at a page's end")
            << ReportedRuns{{"Command2", {{"Text2", "2E+37"}}, true}, {"Command3", {}}, {"Command1", misreadLoad}} << 3
            << "Вывод: Fр = 50000 Н < Sмин = 55000 Н: канат не допустим";
    }

    void page_breaks_print_each_line_once()
    {
        QFETCH(ReportedRuns, runs);
        QFETCH(int, page);
        QFETCH(QString, pageStart);
        std::vector<RunRecord> records;
        std::vector<bool> stale;
        for (const ReportedRun& run : runs) {
            records.push_back(runOn(run.button, run.entries));
            stale.push_back(run.stale);
        }
        const RenderedReport rendered = render(reportOf(records, stale));
        QVERIFY(wellFormed(rendered));
        QVERIFY(rendered.pages.size() >= page);
        // Every page after the first starts with a whole line, not the one
        // above the sheet number of the page before; a table's heading row
        // may stand again at the top of the page it goes on to.
        for (qsizetype at = 1; at < rendered.pages.size(); ++at) {
            const QString first = rendered.pages[at].trimmed().section(QLatin1Char('\n'), 0, 0).simplified();
            const QStringList before = rendered.pages[at - 1].trimmed().split(QLatin1Char('\n'));
            QString last;
            for (qsizetype line = before.size() - 2; line >= 0 && last.isEmpty(); --line)
                last = before[line].simplified();
            QVERIFY2(!first.isEmpty() && first != last, qPrintable(first));
        }
        Q_UNUSED(pageStart);
    }

    void sketch_shows_long_values_whole()
    {
        const std::vector<RunRecord> records{runOn("Command3",
                                                   {{"Text4", "5300000000000"},
                                                    {"Text5", "5300000129028"},
                                                    {"Text6", "1000000000000"},
                                                    {"Text7", "1E+15"},
                                                    {"Combo1", "2"},
                                                    {"Combo2", "0"},
                                                    {"Option5", "on"}})};
        const RenderedReport rendered = render(reportOf(records));
        QVERIFY(wellFormed(rendered));
        // From the top of the sketch down, each value whole with its unit.
        const QString sketch
            = rendered.all().section(QStringLiteral(" Рисунок 1 "), 0, 0).section(QStringLiteral(" Слои "), -1);
        QCOMPARE(sketch,
                 QStringLiteral("3 g = 300000149504 мм Витки 5 Y t = 72 мм 14299999502336 мм 5.3E+12 мм "
                                "5.3E+12 мм Канатоёмкость 3.520152E+11 м"));
    }

    // A ruled table that a sheet's end cuts goes on at the next sheet's top
    // under «Продолжение таблицы N» and its headings again; no row is cut.
    void continued_table_repeats_its_headings_data()
    {
        QTest::addColumn<ReportedRuns>("runs");
        // What a sheet a table goes on to starts with, after «Продолжение таблицы N».
        QTest::addColumn<QStringList>("headings");
        QTest::addColumn<int>("continued"); // how many sheets at least
        QTest::addColumn<QStringList>("rows");
        const QString inputHeadings = QStringLiteral("Величина Обозначение Ед. изм. Введено Принято ");
        const QString layerHeadings = QStringLiteral("Слой P, мм F, мм l, м ");
        const std::string tall(250, '7');
        QTest::newRow("rows made tall by long typed texts")
            << ReportedRuns{{"Command3", {{"Text4", tall}, {"Text5", tall}, {"Text7", tall}}}}
            << QStringList{inputHeadings + QStringLiteral("Вес груза Q кг 7777777777 1.#INF")} << 1
            << QStringList{"Диаметр барабана D мм", "Длина барабана L мм", "Вес груза Q кг", "Диаметр каната d мм"};
        // Four six-layer runs: wherever the sheets end, a table cut goes on
        // with its headings, and no layer is printed twice.
        ReportedRuns sixLayerRuns;
        QStringList layerRows;
        for (const char* drum : {"400", "410", "420", "430"}) {
            sixLayerRuns.push_back({"Command3",
                                    {{"Text4", drum},
                                     {"Text5", "800"},
                                     {"Text6", "15"},
                                     {"Text7", "5000"},
                                     {"Combo1", "5"},
                                     {"Combo2", "0"},
                                     {"Option5", "on"}}});
        }
        layerRows << QStringLiteral("6 565 625 94.0749") << QStringLiteral("6 595 655 99.07");
        QTest::newRow("four six-layer runs")
            << sixLayerRuns << QStringList{inputHeadings, layerHeadings} << 0 << layerRows;
    }

    void continued_table_repeats_its_headings()
    {
        QFETCH(ReportedRuns, runs);
        QFETCH(QStringList, headings);
        QFETCH(int, continued);
        QFETCH(QStringList, rows);
        std::vector<RunRecord> records;
        for (const ReportedRun& run : runs)
            records.push_back(runOn(run.button, run.entries));
        const RenderedReport rendered = render(reportOf(records));
        QVERIFY(wellFormed(rendered));
        // Wherever the sections before put the page breaks, a sheet a table
        // goes on to starts with its caption and its headings again.
        static const QRegularExpression caption(QStringLiteral("^Продолжение таблицы \\d+ "));
        int sheets = 0;
        for (const QString& page : rendered.pages) {
            const QString text = flattened(page).trimmed();
            if (!text.contains(QStringLiteral("Продолжение таблицы")))
                continue;
            ++sheets;
            const QRegularExpressionMatch match = caption.match(text);
            QVERIFY2(match.hasMatch(), qPrintable(text));
            const QString after = text.mid(match.capturedLength());
            QVERIFY2(
                std::any_of(headings.begin(), headings.end(), [&](const QString& h) { return after.startsWith(h); }),
                qPrintable(text));
        }
        QVERIFY2(sheets >= continued, qPrintable(QString::number(sheets)));
        const QString all = rendered.all();
        for (const QString& row : rows)
            QVERIFY2(all.count(QLatin1Char(' ') + row + QLatin1Char(' ')) == 1, qPrintable(row));
    }

    // Each reason a save fails for, in the user's words; nothing is left in
    // the place of the file. A full disk needs a small file system of its
    // own: the test runs once more in a mount namespace with one there.
    void a_failed_save_says_why_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing folder") << QStringLiteral("missing/report.pdf") << QStringLiteral("нет такой папки");
        QTest::newRow("a folder's name") << QString() << QStringLiteral("это имя папки, а не файла");
        // The kernel's attribute files take no new file, not even from root.
        QTest::newRow("no right to write")
            << QStringLiteral("/sys/report.pdf") << QStringLiteral("нет прав на запись в эту папку");
        if (const QByteArray full = qgetenv("KALVENTA_FULL_DISK"); !full.isEmpty())
            QTest::newRow("full disk") << QString::fromLocal8Bit(full + "/report.pdf")
                                       << QStringLiteral("диск заполнен");
    }

    void a_failed_save_says_why()
    {
        QFETCH(QString, path);
        QFETCH(QString, reason);
        QTemporaryDir directory;
        const QString target = QDir(directory.path()).filePath(path);
        QCOMPARE(ui::saveReportPdf(reportOf(allThreeRuns()), target), reason);
        QVERIFY(!QFileInfo(target).isFile());
        if (!qEnvironmentVariableIsEmpty("KALVENTA_FULL_DISK"))
            QCOMPARE(
                QDir(qEnvironmentVariable("KALVENTA_FULL_DISK")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                QStringList());
    }

    void preview_shows_the_pages_and_goes_when_closed()
    {
        QWidget window;
        window.resize(400, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const std::vector<RunRecord> records = allThreeRuns();
        const QString why = ui::openReportPreview(reportOf(records), &window);
        if (qEnvironmentVariableIsSet("KALVENTA_NO_PRINT_MODULE")) {
            QVERIFY2(why.startsWith(QStringLiteral("модуль печати не загружен (")), qPrintable(why));
            QVERIFY(why.contains(QStringLiteral("kalventa-print-preview")));
            QVERIFY(!window.findChild<QDialog*>());
            return;
        }
        QCOMPARE(why, QString());

        QPointer<QPrintPreviewDialog> dialog = window.findChild<QPrintPreviewDialog*>();
        QVERIFY(dialog);
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->windowModality(), Qt::WindowModal);
        auto* pages = dialog->findChild<QPrintPreviewWidget*>();
        QVERIFY(pages);
        QTRY_COMPARE(pages->pageCount(), full_.pages.size());
        dialog->close();
        QTRY_VERIFY(dialog.isNull());
    }
};

QTEST_MAIN(ReportPdfTest)
#include "report_pdf_test.moc"

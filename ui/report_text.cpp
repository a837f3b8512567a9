#include "ui/report_text.h"

#include "core/note_typography.h"

#include "ui/look.h"
#include "ui/report_sketch.h"
#include "ui/rules_check_note.h"
#include "ui/text.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <cmath>
#include <optional>
#include <set>
#include <span>
#include <utility>
#include <vector>

namespace kalventa::ui {
namespace {

// Warnings (a stale result, a run that stopped) in the window's dark red.
const QColor warningInk = groupCaption;

// Point sizes of the report's texts.
constexpr qreal titlePoints = 16;
constexpr qreal headingPoints = 13;
constexpr qreal bodyPoints = 11;
constexpr qreal tablePoints = 10;
constexpr qreal noticePoints = 9;

// The empty blocks that hold the space before a table and after it are set
// this small, so that only their margins show.
constexpr qreal spacerPoints = 1;

// The drum sketch's width on the page, in millimetres.
constexpr qreal sketchWidth = 120;

// A block that must not end a page: the room that has to follow it on the
// same page, in millimetres, as a block property.
constexpr int keepWithNextProperty = QTextFormat::UserProperty + 10;
// The caption over a table's part on the next sheet.
constexpr int continuationProperty = QTextFormat::UserProperty + 11;

struct Column {
    const char* heading;
    qreal percent;
    Qt::Alignment align;
};

constexpr Column inputColumns[] = {
    {"Величина", 49, Qt::AlignLeft},   {"Обозначение", 15, Qt::AlignHCenter}, {"Ед. изм.", 10, Qt::AlignHCenter},
    {"Введено", 13, Qt::AlignHCenter}, {"Принято", 13, Qt::AlignHCenter},
};

// The label's text is the result as the window shows it.
constexpr Column summaryColumns[] = {
    {"Величина", 38, Qt::AlignLeft},    {"Обозначение", 15, Qt::AlignHCenter}, {"Значение", 20, Qt::AlignHCenter},
    {"Ед. изм.", 10, Qt::AlignHCenter}, {"В окне", 17, Qt::AlignHCenter},
};

constexpr Column layerColumns[] = {
    {"Слой", 16, Qt::AlignHCenter},
    {"P, мм", 28, Qt::AlignHCenter},
    {"F, мм", 28, Qt::AlignHCenter},
    {"l, м", 28, Qt::AlignHCenter},
};

QString text(std::string_view utf8)
{
    return fromUtf8(utf8);
}

// Running text inserted at `cursor` in Russian typography: decimal commas,
// true minuses, powers of ten, the symbols' indices lowered.
void insertSet(QTextCursor& cursor, std::string_view utf8, const QTextCharFormat& format)
{
    QTextCharFormat lowered = format;
    lowered.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    for (const NoteRun& run : noteTypography(utf8))
        cursor.insertText(fromUtf8(run.text), run.index ? lowered : format);
}

// Where a ruled table goes on to the next sheet: its number and the first
// of its inputs or layers there; the first one (0) when the whole table
// starts the next sheet.
using Continuation = std::pair<int, std::size_t>;

// A ruled table as written: its number, and for each row the input or layer
// it shows (the heading row none).
struct WrittenTable {
    int number;
    const QTextTable* table;
    std::vector<std::size_t> items;
};

// Writes a report into a document at the cursor, numbering its sections,
// tables and figures; a ruled table continues on the next sheet where
// `continuations` say.
class ReportWriter {
public:
    ReportWriter(QTextDocument& document, const std::set<Continuation>& continuations)
        : cursor_(&document)
        , continuations_(continuations)
    {
    }

    const std::vector<WrittenTable>& ruledTables() const { return written_; }

    void write(const Report& report)
    {
        titleBlock(report);
        if (report.sections.empty())
            paragraph(text(report.nothingYet), characters(bodyPoints), blockFormat(Qt::AlignLeft, 4));
        int number = 0;
        if (!report.method.paragraphs.empty())
            method(report.method, ++number);
        for (const ReportSection& section : report.sections)
            write(section, ++number);
        if (!report.summary.runs.empty())
            summary(report.summary, ++number);
        if (report.rulesCheck)
            writeRulesCheckNote(cursor_, *report.rulesCheck, number + 1, tables_);
    }

private:
    QTextCursor cursor_;
    const std::set<Continuation>& continuations_;
    std::vector<WrittenTable> written_;
    int tables_ = 0;
    int figures_ = 0;
    // Where the cursor stands: in the document's first block, still empty,
    // which the first paragraph takes; in the empty block Qt keeps after a
    // table, which a table that follows takes to hold its space above, and
    // after which a paragraph goes, so as to keep its own; or at the end of a
    // paragraph.
    enum class Place { EmptyFirstBlock, AfterTable, AfterParagraph };
    Place place_ = Place::EmptyFirstBlock;

    // The layout takes the space above and below a paragraph and a table's
    // margins, paddings and borders in pixels at 96 dots per inch and scales
    // them to its device itself; an object's size is in the document's own
    // units.
    static qreal mm(qreal millimetres) { return millimetres * 96 / 25.4; }
    static qreal documentMm(qreal millimetres) { return millimetres * reportLayoutDpi / 25.4; }

    static QTextCharFormat characters(qreal points, bool bold = false, const QColor& colour = standardText)
    {
        QTextCharFormat format;
        format.setFont(reportFont(points, bold), QTextCharFormat::FontPropertiesAll);
        format.setForeground(colour);
        return format;
    }

    static QTextBlockFormat blockFormat(Qt::Alignment align, qreal spaceBefore = 0, qreal spaceAfter = 0)
    {
        QTextBlockFormat format;
        format.setAlignment(align);
        format.setTopMargin(mm(spaceBefore));
        format.setBottomMargin(mm(spaceAfter));
        return format;
    }

    // A paragraph after the last one.
    void paragraph(const QString& words, const QTextCharFormat& format, const QTextBlockFormat& block)
    {
        if (place_ == Place::EmptyFirstBlock) {
            cursor_.setBlockFormat(block);
            cursor_.setBlockCharFormat(format);
        } else {
            cursor_.insertBlock(block, format);
        }
        place_ = Place::AfterParagraph;
        cursor_.insertText(words, format);
    }

    // A paragraph of running text, set as the note sets it.
    void setParagraph(const QString& lead, std::string_view words, const QTextCharFormat& format,
                      const QTextBlockFormat& block)
    {
        paragraph(lead, format, block);
        insertSet(cursor_, words, format);
    }

    // The height of a line of the running text, as the layout takes a fixed
    // one: in pixels at 96 dots per inch.
    static qreal formulaLineHeight()
    {
        static const qreal height = QFontMetricsF(reportFont(bodyPoints)).lineSpacing() * 96
            / QFontMetricsF(reportFont(bodyPoints)).fontDpi();
        return height;
    }

    static QTextBlockFormat keptWithNext(QTextBlockFormat block, qreal millimetres)
    {
        block.setProperty(keepWithNextProperty, millimetres);
        return block;
    }

    // The note's title, then the program and when it was made. With title
    // data: the organisation above, the object before the title and the
    // designation after it, each where given.
    void titleBlock(const Report& report)
    {
        const TitleData& data = report.titleData;
        if (!data.organisation.empty())
            paragraph(text(data.organisation), characters(bodyPoints), blockFormat(Qt::AlignHCenter, 0, 4));
        if (!data.object.empty())
            paragraph(text(data.object), characters(headingPoints, true), blockFormat(Qt::AlignHCenter, 0, 1));
        const bool designated = !data.designation.empty();
        paragraph(text(report.title), characters(titlePoints, true),
                  blockFormat(Qt::AlignHCenter, 0, designated ? 1 : 3));
        if (designated)
            paragraph(text(data.designation), characters(bodyPoints, true), blockFormat(Qt::AlignHCenter, 0, 3));
        paragraph(text(report.program), characters(bodyPoints), blockFormat(Qt::AlignHCenter));
        paragraph(text(report.made), characters(bodyPoints), blockFormat(Qt::AlignHCenter, 0, 4));
    }

    void write(const ReportSection& section, int number)
    {
        paragraph(QString::number(number) + QStringLiteral(" ") + text(section.title), characters(headingPoints, true),
                  keptWithNext(blockFormat(Qt::AlignLeft, 6, 2), 40));
        if (!section.ranAt.empty())
            paragraph(QStringLiteral("Расчёт выполнен ") + text(section.ranAt), characters(bodyPoints),
                      keptWithNext(blockFormat(Qt::AlignLeft, 0, 2), 35));
        if (section.stale)
            paragraph(QStringLiteral("Внимание: ") + text(section.staleNote) + QStringLiteral("."),
                      characters(bodyPoints, true, warningInk), keptWithNext(blockFormat(Qt::AlignLeft, 0, 2), 30));

        if (!section.inputs.empty()) {
            caption(QStringLiteral("Исходные данные"));
            inputTable(section.inputs);
        }
        notes(section.notes);
        formulas(section.formulas);
        where(section.where);
        // Where the run stopped, under its formulas and before its layers and its figure.
        if (!section.stopped.empty())
            paragraph(text(section.stopped), characters(bodyPoints, true, warningInk), blockFormat(Qt::AlignLeft, 3));
        if (!section.layers.empty()) {
            caption(QStringLiteral("Слои навивки каната"));
            layerTable(section.layers);
        }
        if (!section.sketch.empty())
            sketch(section.sketch);
        if (!section.verdict.empty())
            setParagraph(QStringLiteral("Вывод: "), section.verdict, characters(bodyPoints, true),
                         blockFormat(Qt::AlignLeft, 3));
        if (!section.savedNote.empty())
            paragraph(text(section.savedNote), characters(bodyPoints, true, warningInk), blockFormat(Qt::AlignLeft, 3));
    }

    // A section's numbered heading, kept with what follows.
    void heading(int number, const std::string& title)
    {
        paragraph(QString::number(number) + QStringLiteral(" ") + text(title), characters(headingPoints, true),
                  keptWithNext(blockFormat(Qt::AlignLeft, 6, 2), 40));
    }

    // Where the formulas and the numbers come from: a paragraph each, its
    // numbers as the old method and the labels write them.
    void method(const ReportMethod& method, int number)
    {
        heading(number, method.title);
        for (const std::string& words : method.paragraphs)
            paragraph(text(words), characters(bodyPoints), blockFormat(Qt::AlignLeft, 0, 2));
    }

    // Every result of every run in one table, a row of its calculation's
    // title above its results; then the conclusion on each run and the drum
    // checked against its limits.
    void summary(const ReportSummary& summary, int number)
    {
        heading(number, summary.title);
        caption(QStringLiteral("Результаты расчётов"));
        int rows = 1;
        for (const SummaryRun& run : summary.runs)
            rows += 1 + int(run.rows.size());
        QTextTable& table = newTable(rows, summaryColumns, true, 0);
        const QTextCharFormat plain = characters(tablePoints);
        int row = 1;
        for (const SummaryRun& run : summary.runs) {
            table.mergeCells(row, 0, 1, 5);
            cell(table, row++, 0, text(run.calculation), Qt::AlignLeft, characters(tablePoints, true));
            for (const SummaryRow& result : run.rows) {
                const QString texts[]
                    = {text(result.quantity), result.symbol.empty() ? QStringLiteral("—") : text(result.symbol),
                       text(result.value), result.unit.empty() ? QStringLiteral("—") : text(result.unit),
                       text(result.label)};
                for (int column = 0; column < 5; ++column)
                    cell(table, row, column, texts[column], summaryColumns[column].align, plain);
                ++row;
            }
        }
        afterTable(table);
        // With the conclusions and the drum's check, a line each or two.
        const auto lines = qreal(summary.runs.size() + 2 * summary.drumCheck.size());
        paragraph(QStringLiteral("Выводы:"), characters(bodyPoints, true),
                  keptWithNext(blockFormat(Qt::AlignLeft, 3, 1), 6 * lines));
        for (const SummaryRun& run : summary.runs)
            paragraph(text(run.calculation) + QStringLiteral(" — ") + text(run.conclusion) + QStringLiteral("."),
                      characters(bodyPoints), blockFormat(Qt::AlignLeft, 0, 1));
        for (std::size_t i = 0; i < summary.drumCheck.size(); ++i) {
            QTextBlockFormat block = blockFormat(Qt::AlignLeft, i == 0 ? 2 : 0, 1);
            block.setLeftMargin(i == 0 ? 0 : mm(8));
            setParagraph({}, summary.drumCheck[i], characters(bodyPoints), block);
        }
    }

    // A table's title above it on the left: "Таблица 1 — Исходные данные".
    void caption(const QString& title)
    {
        QTextBlockFormat block = keptWithNext(blockFormat(Qt::AlignLeft, 3, 1), 25);
        if (continuations_.contains({tables_ + 1, 0}))
            block.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        paragraph(QStringLiteral("Таблица %1 — ").arg(++tables_) + title, characters(bodyPoints), block);
    }

    // Over the part of table `number` that the next sheet takes, on the left:
    // "Продолжение таблицы 1".
    void continuationCaption(int number)
    {
        QTextBlockFormat block = blockFormat(Qt::AlignLeft, 0, 1);
        block.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        block.setProperty(continuationProperty, true);
        paragraph(QStringLiteral("Продолжение таблицы %1").arg(number), characters(bodyPoints), block);
    }

    // A ruled table of `items` inputs or layers under the caption just
    // written, in parts where it continues on the next sheet, each part
    // headed by the columns' headings. `rowsOf` gives the rows an item
    // takes, `fill` writes it from its first row.
    template <class RowsOf, class Fill>
    void ruledTable(std::span<const Column> columns, std::size_t items, RowsOf rowsOf, Fill fill)
    {
        const int number = tables_;
        for (std::size_t from = 0; from < items;) {
            std::size_t to = from + 1;
            while (to < items && !continuations_.contains({number, to}))
                ++to;
            if (from > 0)
                continuationCaption(number);
            WrittenTable written{number, nullptr, {0}};
            for (std::size_t item = from; item < to; ++item)
                written.items.insert(written.items.end(), std::size_t(rowsOf(item)), item);
            QTextTable& table = newTable(int(written.items.size()), columns, true, 0);
            for (int row = 1; row < table.rows(); row += rowsOf(written.items[std::size_t(row)]))
                fill(table, row, written.items[std::size_t(row)]);
            written.table = &table;
            written_.push_back(std::move(written));
            afterTable(table);
            from = to;
        }
    }

    static QTextTableFormat tableFormat(std::span<const Column> columns, bool ruled)
    {
        QTextTableFormat format;
        format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
        QList<QTextLength> widths;
        for (const Column& column : columns)
            widths.append(QTextLength(QTextLength::PercentageLength, column.percent));
        format.setColumnWidthConstraints(widths);
        format.setCellSpacing(0);
        format.setCellPadding(mm(ruled ? 1 : 0.6));
        format.setMargin(0);
        if (ruled) {
            format.setBorderCollapse(true);
            format.setBorder(1); // a thin rule, 0.26 mm
            format.setBorderBrush(standardText);
            format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
            format.setHeaderRowCount(1);
        } else {
            format.setBorder(0);
            format.setBorderStyle(QTextFrameFormat::BorderStyle_None);
        }
        return format;
    }

    // Writes into an empty cell, at its top or its bottom. The cell's own
    // format is that of its first character, which also starts its first
    // block: it is set last, with the text's font, so that an empty cell is
    // as high as a full one.
    static void cell(QTextTable& table, int row, int column, const QString& words, Qt::Alignment align,
                     const QTextCharFormat& format, Qt::Alignment vertical = Qt::AlignTop)
    {
        QTextTableCell place = table.cellAt(row, column);
        QTextCursor at = place.firstCursorPosition();
        at.setBlockFormat(blockFormat(align));
        at.insertText(words, format);
        QTextTableCellFormat cellFormat;
        cellFormat.merge(format);
        cellFormat.setVerticalAlignment(vertical == Qt::AlignBottom ? QTextCharFormat::AlignBottom
                                                                    : QTextCharFormat::AlignTop);
        place.setFormat(cellFormat);
    }

    // Running text set as the note sets it, then `after`, in an empty cell,
    // at its top.
    static void setCell(QTextTable& table, int row, int column, std::string_view words, const QString& after,
                        const QTextCharFormat& format, Qt::Alignment align = Qt::AlignLeft)
    {
        cell(table, row, column, QString(), align, format);
        QTextCursor at = table.cellAt(row, column).firstCursorPosition();
        insertSet(at, words, format);
        at.insertText(after, format);
    }

    // A table `spaceBefore` millimetres under the last paragraph, with the
    // columns' headings in its first row when it is ruled.
    QTextTable& newTable(int rows, std::span<const Column> columns, bool ruled, qreal spaceBefore)
    {
        // A table stands between two blocks: the one before it holds the space.
        if (place_ == Place::AfterParagraph)
            cursor_.insertBlock();
        cursor_.setBlockFormat(blockFormat(Qt::AlignLeft, spaceBefore));
        cursor_.setBlockCharFormat(characters(spacerPoints));
        QTextTable* table = cursor_.insertTable(rows, int(columns.size()), tableFormat(columns, ruled));
        int column = 0;
        if (ruled)
            for (const Column& heading : columns)
                cell(*table, 0, column++, QString::fromUtf8(heading.heading), Qt::AlignHCenter,
                     characters(tablePoints, true));
        return *table;
    }

    // Leaves the table for the empty block after it.
    void afterTable(QTextTable& table)
    {
        cursor_ = table.lastCursorPosition();
        cursor_.movePosition(QTextCursor::NextBlock);
        cursor_.setBlockFormat(blockFormat(Qt::AlignLeft));
        cursor_.setBlockCharFormat(characters(spacerPoints));
        place_ = Place::AfterTable;
    }

    // The inputs, as typed and as read; a notice on a text read in part takes
    // a row of its own under its input.
    void inputTable(const std::vector<ReportInput>& inputs)
    {
        const QTextCharFormat plain = characters(tablePoints);
        const auto rowsOf = [&](std::size_t item) { return inputs[item].notice.empty() ? 1 : 2; };
        ruledTable(inputColumns, inputs.size(), rowsOf, [&](QTextTable& table, int row, std::size_t item) {
            const ReportInput& input = inputs[item];
            const QString texts[]
                = {text(input.name), QString(), input.unit.empty() ? QStringLiteral("—") : text(input.unit),
                   text(input.typed), text(input.read)};
            for (int column = 0; column < 5; ++column)
                if (column != 1)
                    cell(table, row, column, texts[column], inputColumns[column].align, plain);
            // The symbol with its index lowered, as the formulas write it.
            setCell(table, row, 1, input.symbol, QString(), plain, inputColumns[1].align);
            if (!input.notice.empty()) {
                table.mergeCells(row + 1, 0, 1, 5);
                QTextCharFormat notice = characters(noticePoints, false, warningInk);
                notice.setFontItalic(true);
                cell(table, row + 1, 0, text(input.notice), Qt::AlignLeft, notice);
            }
        });
    }

    // Each formula on a line of its own, indented, with its number in
    // parentheses at the right edge: "Dмин = 19 · d = 19 · 12 = 228 мм   (2)".
    // A formula that takes two lines has its number by the last one. Each is
    // a table of its own: a row that ends a page would be stretched to the
    // page's end, and its number with it.
    void formulas(const std::vector<ReportFormula>& formulas)
    {
        static constexpr Column columns[] = {{"", 90, Qt::AlignLeft}, {"", 10, Qt::AlignRight}};
        const QTextCharFormat plain = characters(bodyPoints);
        bool first = true;
        for (const ReportFormula& formula : formulas) {
            QTextTable& table = newTable(1, columns, false, first ? 3 : 0);
            QTextTableFormat format = table.format();
            format.setLeftMargin(mm(8));
            table.setFormat(format);
            setCell(table, 0, 0, formula.text, QString(), plain);
            cell(table, 0, 1, QStringLiteral("(%1)").arg(formula.number), Qt::AlignRight, plain, Qt::AlignBottom);
            // Lines of one fixed height put each baseline equally far below
            // its line's top, whatever fonts the line takes its signs from:
            // the number at the cell's bottom stands on the formula's
            // baseline.
            QTextBlockFormat lines;
            lines.setLineHeight(formulaLineHeight(), QTextBlockFormat::FixedHeight);
            for (int column = 0; column < 2; ++column)
                table.cellAt(0, column).firstCursorPosition().mergeBlockFormat(lines);
            afterTable(table);
            first = false;
        }
    }

    // «где» and then one symbol a line: "d — диаметр каната, мм;", the last
    // one ending with a full stop.
    // Under a table: "Примечание —" for one, numbered for several.
    void notes(const std::vector<std::string>& notes)
    {
        const QTextCharFormat small = characters(noticePoints);
        for (std::size_t i = 0; i < notes.size(); ++i) {
            const QString lead
                = notes.size() == 1 ? QStringLiteral("Примечание — ") : QStringLiteral("Примечание %1 — ").arg(i + 1);
            setParagraph(lead, notes[i], small, blockFormat(Qt::AlignLeft, i == 0 ? 1.5 : 0, 1));
        }
    }

    void where(const std::vector<std::string>& explanations)
    {
        if (explanations.empty())
            return;
        static constexpr Column columns[] = {{"", 8, Qt::AlignLeft}, {"", 92, Qt::AlignLeft}};
        QTextTable& table = newTable(int(explanations.size()), columns, false, 2);
        const QTextCharFormat plain = characters(bodyPoints);
        cell(table, 0, 0, QStringLiteral("где"), Qt::AlignLeft, plain);
        int row = 0;
        for (const std::string& explanation : explanations) {
            const bool last = row + 1 == table.rows();
            setCell(table, row++, 1, explanation, last ? QStringLiteral(".") : QStringLiteral(";"), plain);
        }
        afterTable(table);
    }

    void layerTable(const std::vector<ReportLayer>& layers)
    {
        const QTextCharFormat plain = characters(tablePoints);
        ruledTable(
            layerColumns, layers.size(), [](std::size_t) { return 1; },
            [&](QTextTable& table, int row, std::size_t item) {
                const ReportLayer& layer = layers[item];
                const QString texts[] = {text(layer.layer), text(layer.pitchDiameter), text(layer.flangeDiameter),
                                         text(layer.layerLength)};
                for (int column = 0; column < 4; ++column)
                    cell(table, row, column, texts[column], layerColumns[column].align, plain);
            });
    }

    // The sketch centred, its caption under it: "Рисунок 1 — …".
    void sketch(const std::vector<SketchValue>& values)
    {
        const qreal captionRoom = 12;
        paragraph(QString(), characters(bodyPoints), keptWithNext(blockFormat(Qt::AlignHCenter, 4, 1), captionRoom));
        cursor_.insertText(QString(QChar::ObjectReplacementCharacter),
                           sketchObjectFormat(values, documentMm(sketchWidth),
                                              (cursor_.document()->pageSize().width() - documentMm(sketchWidth)) / 2));
        paragraph(QStringLiteral("Рисунок %1 — Барабан: введённые и рассчитанные размеры").arg(++figures_),
                  characters(bodyPoints), blockFormat(Qt::AlignHCenter, 0, 2));
    }
};

void breakPageBefore(const QTextBlock& block)
{
    QTextBlockFormat format = block.blockFormat();
    format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    QTextCursor(block).setBlockFormat(format);
}

// Breaks the pages, one block at a time from the top, since each break
// shifts everything after it:
// - a block that asks to be kept with what follows goes to the top of the
//   next page when too little of its page is left below it;
// - a paragraph or a table cell that a page would end inside goes to the next
//   page whole, its table and the heading and caption kept with it going
//   along, where that much fits on a page. Qt would paint the last line before
//   the page's end once more, above the top of the next page: clipped away on
//   paper, but twice in a PDF file's text.
void breakPages(QTextDocument& document)
{
    QAbstractTextDocumentLayout* layout = document.documentLayout();
    const qreal pageHeight = document.pageSize().height();
    // A line that Qt moves to a page's top starts a fraction of a dot above it.
    const auto page = [pageHeight](qreal y) { return std::floor((y + 1) / pageHeight); };
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QRectF box = layout->blockBoundingRect(block);
        if (block.blockFormat().hasProperty(continuationProperty)) {
            // Right after a table, Qt's page break may skip a whole sheet:
            // the space down to the next sheet's top does it instead.
            const qreal above = layout->blockBoundingRect(block.previous()).bottom();
            const qreal nextPageTop = (page(above) + 1) * pageHeight;
            if (page(box.top()) > page(above) + 1) {
                QTextBlockFormat format = block.blockFormat();
                format.setPageBreakPolicy(QTextFormat::PageBreak_Auto);
                format.setTopMargin((nextPageTop - above) * 96 / reportLayoutDpi);
                QTextCursor(block).setBlockFormat(format);
                box = layout->blockBoundingRect(block);
            }
        }
        if (page(box.top()) != page(box.bottom() - 2)) {
            const QTextTable* table = QTextCursor(block).currentTable();
            QTextBlock start = table ? document.findBlock(table->firstPosition()).previous() : block;
            while (start.previous().isValid() && start.previous().blockFormat().hasProperty(keepWithNextProperty))
                start = start.previous();
            if (box.bottom() - layout->blockBoundingRect(start).top() < pageHeight)
                breakPageBefore(start);
            continue;
        }
        const QVariant room = block.blockFormat().property(keepWithNextProperty);
        if (!room.isValid())
            continue;
        const qreal pageEnd = (std::floor(box.top() / pageHeight) + 1) * pageHeight;
        const bool atPageTop = std::fmod(box.top(), pageHeight) < 1;
        if (atPageTop || pageEnd - box.bottom() >= room.toReal() * reportLayoutDpi / 25.4)
            continue;
        breakPageBefore(block);
    }
}

// What the report is laid out for: a device of the layout's resolution that
// is never painted on, there for the fonts' measures.
QImage& layoutDevice()
{
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        const int dotsPerMetre = qRound(reportLayoutDpi / 0.0254);
        image.setDotsPerMeterX(dotsPerMetre);
        image.setDotsPerMeterY(dotsPerMetre);
        return image;
    }();
    return device;
}

// The first row of a ruled table that a sheet's end pushed to the next
// sheet or would end inside, as where the table goes on, unless `known`
// already has it. The heading and the first row of a table go to the next
// sheet together, as do an input and the notice under it.
std::optional<Continuation> firstContinuation(QTextDocument& document, const std::vector<WrittenTable>& tables,
                                              const std::set<Continuation>& known)
{
    QAbstractTextDocumentLayout* layout = document.documentLayout();
    const qreal pageHeight = document.pageSize().height();
    // A line that Qt moves to a page's top starts a fraction of a dot above it.
    const auto page = [pageHeight](qreal y) { return std::floor((y + 1) / pageHeight); };
    const auto top = [&](const QTextTable& table, int row) {
        return layout->blockBoundingRect(table.cellAt(row, 0).firstCursorPosition().block()).top();
    };
    const auto bottom = [&](const QTextTable& table, int row) {
        qreal lowest = 0;
        for (int column = 0; column < table.columns(); ++column)
            lowest = std::max(
                lowest, layout->blockBoundingRect(table.cellAt(row, column).lastCursorPosition().block()).bottom());
        return lowest;
    };
    for (const WrittenTable& written : tables) {
        const QTextTable& table = *written.table;
        for (int row = 1; row < table.rows(); ++row) {
            const qreal rowTop = top(table, row);
            if (page(rowTop) == page(top(table, row - 1)) && page(rowTop) == page(bottom(table, row) - 2))
                continue;
            const Continuation at{written.number, written.items[std::size_t(row)]};
            // A part's first item taller than what a sheet has left is not
            // moved again.
            if (!known.contains(at) && (at.second == 0 || at.second != written.items[1]))
                return at;
        }
    }
    return std::nullopt;
}

// The report written and laid out in pages, its ruled tables continued on
// the next sheet where `continuations` say.
std::unique_ptr<QTextDocument> laidOut(const Report& report, const QSizeF& body,
                                       const std::set<Continuation>& continuations, std::vector<WrittenTable>& tables)
{
    auto document = std::make_unique<QTextDocument>();
    // Design metrics, unrounded: the lines break where they would on paper.
    document->setUseDesignMetrics(true);
    document->documentLayout()->setPaintDevice(&layoutDevice());
    document->setDocumentMargin(0);
    document->setDefaultFont(reportFont(bodyPoints));
    // A typed text without blanks breaks anywhere rather than widen its column.
    QTextOption wrapping = document->defaultTextOption();
    wrapping.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    document->setDefaultTextOption(wrapping);
    document->setPageSize(body);
    registerSketchObject(*document);

    // One edit: the layout follows once at its end, not after every insert.
    document->setUndoRedoEnabled(false);
    QTextCursor whole(document.get());
    whole.beginEditBlock();
    ReportWriter writer(*document, continuations);
    writer.write(report);
    whole.endEditBlock();
    breakPages(*document);
    tables = writer.ruledTables();
    return document;
}

} // namespace

QFont reportFont(qreal points, bool bold)
{
    QFont font(windowFontFamily);
    font.setFamilies({windowFontFamily, QStringLiteral("DejaVu Sans")});
    font.setPointSizeF(points);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

std::unique_ptr<QTextDocument> reportTextDocument(const Report& report, const QSizeF& body)
{
    registerWindowFont();
    // Written again with each table part that a sheet's end begins, from the
    // top: a part moved to the next sheet moves all that follows it.
    std::set<Continuation> continuations;
    for (;;) {
        std::vector<WrittenTable> tables;
        std::unique_ptr<QTextDocument> document = laidOut(report, body, continuations, tables);
        const std::optional<Continuation> next = firstContinuation(*document, tables, continuations);
        if (!next)
            return document;
        continuations.insert(*next);
    }
}

} // namespace kalventa::ui

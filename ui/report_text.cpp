#include "ui/report_text.h"

#include "core/note_outline.h"
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
    QString heading;
    qreal percent;
    Qt::Alignment align;
};

QString text(std::string_view utf8)
{
    return fromUtf8(utf8);
}

// A ruled table's columns as the outline gives them.
std::vector<Column> columnsOf(const NoteTable& table)
{
    std::vector<Column> columns;
    for (const NoteColumn& column : table.columns)
        columns.push_back({fromUtf8(column.heading), qreal(column.percent),
                           column.align == NoteAlign::Left ? Qt::AlignLeft : Qt::AlignHCenter});
    return columns;
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
        const std::vector<NoteBlock> blocks = noteOutline(report);
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            // The check against today's rules, at the end, in its own style.
            if (blocks[i].kind == NoteBlockKind::RulesCheck) {
                writeRulesCheckNote(cursor_, std::span(blocks).subspan(i));
                break;
            }
            const NoteBlock* before = i > 0 ? &blocks[i - 1] : nullptr;
            const std::span<const NoteBlock> after(blocks.begin() + std::ptrdiff_t(i) + 1, blocks.end());
            write(blocks[i], before, after);
        }
    }

private:
    QTextCursor cursor_;
    const std::set<Continuation>& continuations_;
    std::vector<WrittenTable> written_;
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

    static bool isA(const NoteBlock* block, NoteBlockKind kind) { return block && block->kind == kind; }

    // A block of the outline in its type and spacing, after `before` (none
    // at the note's start) and before `after`.
    void write(const NoteBlock& block, const NoteBlock* before, std::span<const NoteBlock> after)
    {
        const QString words = text(block.lead) + text(block.text) + text(block.after);
        switch (block.kind) {
        // The title block: the organisation above, the object before the
        // title and the designation after it, each where given.
        case NoteBlockKind::Organisation:
            paragraph(words, characters(bodyPoints), blockFormat(Qt::AlignHCenter, 0, 4));
            break;
        case NoteBlockKind::Object:
            paragraph(words, characters(headingPoints, true), blockFormat(Qt::AlignHCenter, 0, 1));
            break;
        case NoteBlockKind::Title: {
            const bool designated = !after.empty() && after.front().kind == NoteBlockKind::Designation;
            paragraph(words, characters(titlePoints, true), blockFormat(Qt::AlignHCenter, 0, designated ? 1 : 3));
            break;
        }
        case NoteBlockKind::Designation:
            paragraph(words, characters(bodyPoints, true), blockFormat(Qt::AlignHCenter, 0, 3));
            break;
        case NoteBlockKind::Program: paragraph(words, characters(bodyPoints), blockFormat(Qt::AlignHCenter)); break;
        case NoteBlockKind::Made: paragraph(words, characters(bodyPoints), blockFormat(Qt::AlignHCenter, 0, 4)); break;
        case NoteBlockKind::NothingYet: paragraph(words, characters(bodyPoints), blockFormat(Qt::AlignLeft, 4)); break;
        // A section's numbered heading, kept with what follows.
        case NoteBlockKind::Heading:
            paragraph(words, characters(headingPoints, true), keptWithNext(blockFormat(Qt::AlignLeft, 6, 2), 40));
            break;
        // The method's paragraphs: its numbers as the old method and the
        // labels write them.
        case NoteBlockKind::Paragraph:
            paragraph(words, characters(bodyPoints), blockFormat(Qt::AlignLeft, 0, 2));
            break;
        case NoteBlockKind::RanAt:
            paragraph(words, characters(bodyPoints), keptWithNext(blockFormat(Qt::AlignLeft, 0, 2), 35));
            break;
        case NoteBlockKind::Warning:
            paragraph(words, characters(bodyPoints, true, warningInk),
                      keptWithNext(blockFormat(Qt::AlignLeft, 0, 2), 30));
            break;
        case NoteBlockKind::Table:
            caption(block.table.caption, block.number);
            if (block.table.continuation.empty())
                wholeTable(block.table);
            else
                ruledTable(block.number, block.table);
            break;
        // Under a table, in small type.
        case NoteBlockKind::Note:
            setParagraph(text(block.lead), block.text, characters(noticePoints),
                         blockFormat(Qt::AlignLeft, isA(before, NoteBlockKind::Note) ? 0 : 1.5, 1));
            break;
        case NoteBlockKind::Formula: formula(block, !isA(before, NoteBlockKind::Formula)); break;
        case NoteBlockKind::Where: where(block); break;
        case NoteBlockKind::Stopped:
        case NoteBlockKind::SavedNote:
            paragraph(words, characters(bodyPoints, true, warningInk), blockFormat(Qt::AlignLeft, 3));
            break;
        case NoteBlockKind::Figure: sketch(block); break;
        case NoteBlockKind::Verdict:
            setParagraph(text(block.lead), block.text, characters(bodyPoints, true), blockFormat(Qt::AlignLeft, 3));
            break;
        // Kept with the conclusions and the drum's check: a line each or two.
        case NoteBlockKind::Conclusions: {
            qreal lines = 0;
            for (const NoteBlock& next : after)
                if (next.kind == NoteBlockKind::Conclusion || next.kind == NoteBlockKind::DrumCheck)
                    lines += next.kind == NoteBlockKind::Conclusion ? 1 : 2;
            paragraph(words, characters(bodyPoints, true), keptWithNext(blockFormat(Qt::AlignLeft, 3, 1), 6 * lines));
            break;
        }
        case NoteBlockKind::Conclusion:
            paragraph(words, characters(bodyPoints), blockFormat(Qt::AlignLeft, 0, 1));
            break;
        // The drum's check: its lead, then its conditions indented.
        case NoteBlockKind::DrumCheck: {
            QTextBlockFormat format = blockFormat(Qt::AlignLeft, block.indented ? 0 : 2, 1);
            format.setLeftMargin(block.indented ? mm(8) : 0);
            setParagraph({}, block.text, characters(bodyPoints), format);
            break;
        }
        // The check's own writer sets these.
        case NoteBlockKind::RulesCheck:
        case NoteBlockKind::Advisory:
        case NoteBlockKind::Finding:
        case NoteBlockKind::Grounds:
        case NoteBlockKind::Citation:
        case NoteBlockKind::Numbers: break;
        }
    }

    // A table written whole, its headings repeated where a sheet ends it.
    void wholeTable(const NoteTable& note)
    {
        const std::vector<Column> columns = columnsOf(note);
        QTextTable& table = newTable(int(note.rows.size()) + 1, columns, true, 0);
        for (std::size_t row = 0; row < note.rows.size(); ++row)
            fillRow(table, int(row) + 1, note.rows[row], note);
        afterTable(table);
    }

    // A row of the outline's table: a cell for each column, or one across
    // the table, for a calculation's title in bold or a notice in small red
    // italics.
    static void fillRow(QTextTable& table, int row, const NoteRow& cells, const NoteTable& note)
    {
        const QTextCharFormat plain = characters(tablePoints);
        if (cells.kind != NoteRowKind::Values) {
            table.mergeCells(row, 0, 1, int(note.columns.size()));
            QTextCharFormat across = cells.kind == NoteRowKind::Group ? characters(tablePoints, true)
                                                                      : characters(noticePoints, false, warningInk);
            if (cells.kind == NoteRowKind::Notice)
                across.setFontItalic(true);
            cell(table, row, 0, text(cells.cells[0]), Qt::AlignLeft, across);
            return;
        }
        for (std::size_t column = 0; column < note.columns.size(); ++column) {
            const NoteColumn& format = note.columns[column];
            const Qt::Alignment align = format.align == NoteAlign::Left ? Qt::AlignLeft : Qt::AlignHCenter;
            // A symbol with its index lowered, as the formulas write it.
            if (format.set)
                setCell(table, row, int(column), cells.cells[column], QString(), plain, align);
            else
                cell(table, row, int(column), text(cells.cells[column]), align, plain);
        }
    }

    // A table's title above it on the left: "Таблица 1 — Исходные данные".
    void caption(const std::string& title, int number)
    {
        QTextBlockFormat block = keptWithNext(blockFormat(Qt::AlignLeft, 3, 1), 25);
        if (continuations_.contains({number, 0}))
            block.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        paragraph(text(title), characters(bodyPoints), block);
    }

    // Over the part of a table that the next sheet takes, on the left:
    // "Продолжение таблицы 1".
    void continuationCaption(const std::string& words)
    {
        QTextBlockFormat block = blockFormat(Qt::AlignLeft, 0, 1);
        block.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        block.setProperty(continuationProperty, true);
        paragraph(text(words), characters(bodyPoints), block);
    }

    // The ruled table of inputs or layers `number` under the caption just
    // written, in parts where it continues on the next sheet, each part
    // headed by the columns' headings. An item's rows (an input and the
    // notice under it) stay in one part.
    void ruledTable(int number, const NoteTable& note)
    {
        const std::vector<Column> columns = columnsOf(note);
        const std::size_t items = note.rows.empty() ? 0 : note.rows.back().item + 1;
        std::size_t next = 0; // the first of note.rows not written yet
        for (std::size_t from = 0; from < items;) {
            std::size_t to = from + 1;
            while (to < items && !continuations_.contains({number, to}))
                ++to;
            if (from > 0)
                continuationCaption(note.continuation);
            WrittenTable written{number, nullptr, {0}};
            std::vector<const NoteRow*> rows;
            for (; next < note.rows.size() && note.rows[next].item < to; ++next) {
                written.items.push_back(note.rows[next].item);
                rows.push_back(&note.rows[next]);
            }
            QTextTable& table = newTable(int(written.items.size()), columns, true, 0);
            for (std::size_t row = 0; row < rows.size(); ++row)
                fillRow(table, int(row) + 1, *rows[row], note);
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
                cell(*table, 0, column++, heading.heading, Qt::AlignHCenter, characters(tablePoints, true));
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

    // Each formula on a line of its own, indented, with its number in
    // parentheses at the right edge: "Dмин = 19 · d = 19 · 12 = 228 мм   (2)".
    // A formula that takes two lines has its number by the last one. Each is
    // a table of its own: a row that ends a page would be stretched to the
    // page's end, and its number with it. The first of a run's formulas
    // keeps some space above.
    void formula(const NoteBlock& formula, bool first)
    {
        const Column columns[] = {{QString(), 90, Qt::AlignLeft}, {QString(), 10, Qt::AlignRight}};
        const QTextCharFormat plain = characters(bodyPoints);
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
    }

    // «где» and then one symbol a line: "d — диаметр каната, мм;", the last
    // one ending with a full stop.
    void where(const NoteBlock& where)
    {
        const Column columns[] = {{QString(), 8, Qt::AlignLeft}, {QString(), 92, Qt::AlignLeft}};
        QTextTable& table = newTable(int(where.lines.size()), columns, false, 2);
        const QTextCharFormat plain = characters(bodyPoints);
        cell(table, 0, 0, text(where.whereLead), Qt::AlignLeft, plain);
        int row = 0;
        for (const NoteLine& line : where.lines)
            setCell(table, row++, 1, line.text, text(line.after), plain);
        afterTable(table);
    }

    // The sketch centred, its caption under it: "Рисунок 1 — …".
    void sketch(const NoteBlock& figure)
    {
        const qreal captionRoom = 12;
        paragraph(QString(), characters(bodyPoints), keptWithNext(blockFormat(Qt::AlignHCenter, 4, 1), captionRoom));
        cursor_.insertText(QString(QChar::ObjectReplacementCharacter),
                           sketchObjectFormat(figure.sketch, documentMm(sketchWidth),
                                              (cursor_.document()->pageSize().width() - documentMm(sketchWidth)) / 2));
        paragraph(text(figure.text), characters(bodyPoints), blockFormat(Qt::AlignHCenter, 0, 2));
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

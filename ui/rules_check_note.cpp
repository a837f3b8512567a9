#include "ui/rules_check_note.h"

#include "ui/look.h"
#include "ui/report_text.h"
#include "ui/text.h"

#include <QTextCursor>
#include <QTextTable>

namespace kalventa::ui {
namespace {

constexpr qreal headingPoints = 13;
constexpr qreal bodyPoints = 11;
constexpr qreal tablePoints = 10;
constexpr qreal smallPoints = 9;

// Paragraph spacing is given in pixels at 96 dots per inch.
qreal mm(qreal millimetres)
{
    return millimetres * 96 / 25.4;
}

QTextCharFormat characters(qreal points, bool bold = false, const QColor& colour = standardText, bool italic = false)
{
    QTextCharFormat format;
    format.setFont(reportFont(points, bold), QTextCharFormat::FontPropertiesAll);
    format.setFontItalic(italic);
    format.setForeground(colour);
    return format;
}

QTextBlockFormat block(qreal spaceBefore = 0, qreal spaceAfter = 0)
{
    QTextBlockFormat format;
    format.setAlignment(Qt::AlignLeft);
    format.setTopMargin(mm(spaceBefore));
    format.setBottomMargin(mm(spaceAfter));
    return format;
}

void paragraph(QTextCursor& cursor, const QString& words, const QTextCharFormat& format, const QTextBlockFormat& where)
{
    cursor.insertBlock(where, format);
    cursor.insertText(words, format);
}

QTextTableFormat tableFormat(const QList<QTextLength>& widths, bool ruled)
{
    QTextTableFormat format;
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    format.setColumnWidthConstraints(widths);
    format.setCellSpacing(0);
    format.setCellPadding(mm(ruled ? 1 : 0.6));
    format.setMargin(0);
    format.setBorderCollapse(true);
    format.setBorder(ruled ? 1 : 0);
    format.setBorderBrush(standardText);
    format.setBorderStyle(ruled ? QTextFrameFormat::BorderStyle_Solid : QTextFrameFormat::BorderStyle_None);
    if (ruled)
        format.setHeaderRowCount(1);
    return format;
}

void cell(QTextTable& table, int row, int column, const QString& words, const QTextCharFormat& format,
          Qt::Alignment align = Qt::AlignLeft)
{
    QTextCursor at = table.cellAt(row, column).firstCursorPosition();
    QTextBlockFormat alignment;
    alignment.setAlignment(align);
    at.setBlockFormat(alignment);
    at.insertText(words, format);
}

// A table after a block of its own that holds the space above it; the cursor
// ends in the block after the table.
QTextTable& newTable(QTextCursor& cursor, int rows, const QList<QTextLength>& widths, bool ruled, qreal spaceBefore)
{
    cursor.insertBlock(block(spaceBefore), characters(1));
    QTextTable* table = cursor.insertTable(rows, int(widths.size()), tableFormat(widths, ruled));
    return *table;
}

void leave(QTextCursor& cursor, QTextTable& table)
{
    cursor = table.lastCursorPosition();
    cursor.movePosition(QTextCursor::NextBlock);
    cursor.setBlockCharFormat(characters(1));
}

QList<QTextLength> percents(std::initializer_list<qreal> widths)
{
    QList<QTextLength> list;
    for (const qreal width : widths)
        list.append(QTextLength(QTextLength::PercentageLength, width));
    return list;
}

void inputTable(QTextCursor& cursor, const NoteTable& inputs)
{
    QList<QTextLength> widths;
    for (const NoteColumn& column : inputs.columns)
        widths.append(QTextLength(QTextLength::PercentageLength, column.percent));
    const int columns = int(inputs.columns.size());
    QTextTable& table = newTable(cursor, int(inputs.rows.size()) + 1, widths, true, 0);
    for (int column = 0; column < columns; ++column)
        cell(table, 0, column, fromUtf8(inputs.columns[std::size_t(column)].heading), characters(tablePoints, true),
             Qt::AlignHCenter);
    const QTextCharFormat plain = characters(tablePoints);
    int row = 1;
    for (const NoteRow& input : inputs.rows) {
        if (input.kind == NoteRowKind::Values) {
            for (int column = 0; column < columns; ++column)
                cell(table, row, column, fromUtf8(input.cells[std::size_t(column)]), plain,
                     inputs.columns[std::size_t(column)].align == NoteAlign::Left ? Qt::AlignLeft : Qt::AlignHCenter);
        } else {
            table.mergeCells(row, 0, 1, columns);
            cell(table, row, 0, fromUtf8(input.cells[0]), characters(smallPoints, false, groupCaption, true));
        }
        ++row;
    }
    leave(cursor, table);
}

// A formula indented, its number in parentheses at the right edge; the
// first of them some room below what is above.
void formula(QTextCursor& cursor, const NoteBlock& formula, bool first)
{
    QTextTable& table = newTable(cursor, 1, percents({90, 10}), false, first ? 3 : 0);
    QTextTableFormat format = table.format();
    format.setLeftMargin(mm(8));
    table.setFormat(format);
    cell(table, 0, 0, fromUtf8(formula.text), characters(bodyPoints));
    cell(table, 0, 1, QStringLiteral("(%1)").arg(formula.number), characters(bodyPoints), Qt::AlignRight);
    leave(cursor, table);
}

} // namespace

void writeRulesCheckNote(QTextCursor& cursor, std::span<const NoteBlock> blocks)
{
    cursor.movePosition(QTextCursor::End);
    const NoteBlock* before = nullptr;
    for (const NoteBlock& part : blocks) {
        const QString words = fromUtf8(part.lead) + fromUtf8(part.text) + fromUtf8(part.after);
        switch (part.kind) {
        // A section of its own, apart from the old method's: on a new page.
        case NoteBlockKind::RulesCheck: {
            QTextBlockFormat heading = block(0, 2);
            heading.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            paragraph(cursor, words, characters(headingPoints, true), heading);
            break;
        }
        case NoteBlockKind::Advisory: paragraph(cursor, words, characters(bodyPoints, true), block(0, 2)); break;
        case NoteBlockKind::Warning:
            paragraph(cursor, words, characters(bodyPoints, true, groupCaption), block(0, 2));
            break;
        case NoteBlockKind::Table:
            paragraph(cursor, fromUtf8(part.table.caption), characters(bodyPoints), block(3, 1));
            inputTable(cursor, part.table);
            break;
        case NoteBlockKind::Formula: formula(cursor, part, !before || before->kind != NoteBlockKind::Formula); break;
        // «где» and the symbols on one line.
        case NoteBlockKind::Where: {
            QString where = fromUtf8(part.whereLead);
            for (const NoteLine& line : part.lines)
                where += QLatin1Char(' ') + fromUtf8(line.text) + fromUtf8(line.after);
            paragraph(cursor, where, characters(bodyPoints), block(2));
            break;
        }
        case NoteBlockKind::Conclusions: paragraph(cursor, words, characters(bodyPoints, true), block(3)); break;
        case NoteBlockKind::Finding: paragraph(cursor, words, characters(bodyPoints, true), block()); break;
        case NoteBlockKind::Grounds: paragraph(cursor, words, characters(bodyPoints), block(3)); break;
        case NoteBlockKind::Citation: paragraph(cursor, words, characters(bodyPoints), block()); break;
        case NoteBlockKind::Numbers:
            paragraph(cursor, words, characters(smallPoints, false, standardText, true), block(3));
            break;
        default: break; // the old method's blocks come before the check's
        }
        before = &part;
    }
}

} // namespace kalventa::ui

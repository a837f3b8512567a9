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

void inputTable(QTextCursor& cursor, const std::vector<rules::NoteInput>& inputs)
{
    int rows = 1;
    for (const rules::NoteInput& input : inputs)
        rows += input.notice.empty() ? 1 : 2;
    QTextTable& table = newTable(cursor, rows, percents({33, 11, 8, 11, 11, 26}), true, 0);
    const QString headings[] = {QStringLiteral("Величина"), QStringLiteral("Обозначение"), QStringLiteral("Ед. изм."),
                                QStringLiteral("Введено"),  QStringLiteral("Принято"),     QStringLiteral("Откуда")};
    for (int column = 0; column < 6; ++column)
        cell(table, 0, column, headings[column], characters(tablePoints, true), Qt::AlignHCenter);
    const QTextCharFormat plain = characters(tablePoints);
    int row = 1;
    for (const rules::NoteInput& input : inputs) {
        const QString texts[] = {fromUtf8(input.name),
                                 fromUtf8(input.symbol),
                                 input.unit.empty() ? QStringLiteral("—") : fromUtf8(input.unit),
                                 fromUtf8(input.typed),
                                 fromUtf8(input.taken),
                                 fromUtf8(input.origin)};
        for (int column = 0; column < 6; ++column)
            cell(table, row, column, texts[column], plain,
                 column == 0 || column == 5 ? Qt::AlignLeft : Qt::AlignHCenter);
        ++row;
        if (!input.notice.empty()) {
            table.mergeCells(row, 0, 1, 6);
            cell(table, row, 0, fromUtf8(input.notice), characters(smallPoints, false, groupCaption, true));
            ++row;
        }
    }
    leave(cursor, table);
}

// Each formula indented, its number in parentheses at the right edge.
void formulas(QTextCursor& cursor, const std::vector<rules::NoteFormula>& formulas)
{
    bool first = true;
    for (const rules::NoteFormula& formula : formulas) {
        QTextTable& table = newTable(cursor, 1, percents({90, 10}), false, first ? 3 : 0);
        QTextTableFormat format = table.format();
        format.setLeftMargin(mm(8));
        table.setFormat(format);
        cell(table, 0, 0, fromUtf8(formula.text), characters(bodyPoints));
        cell(table, 0, 1, QStringLiteral("(%1)").arg(formula.number), characters(bodyPoints), Qt::AlignRight);
        leave(cursor, table);
        first = false;
    }
}

} // namespace

void writeRulesCheckNote(QTextCursor& cursor, const rules::RulesCheckNote& note, int sectionNumber, int& tables)
{
    cursor.movePosition(QTextCursor::End);
    // A section of its own, apart from the old method's: on a new page.
    QTextBlockFormat heading = block(0, 2);
    heading.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    paragraph(cursor, QString::number(sectionNumber) + QStringLiteral(" ") + fromUtf8(note.title),
              characters(headingPoints, true), heading);
    paragraph(cursor, fromUtf8(note.advisory) + QStringLiteral("."), characters(bodyPoints, true), block(0, 2));
    for (const std::string& warning : note.warnings)
        paragraph(cursor, QStringLiteral("Внимание: ") + fromUtf8(warning) + QStringLiteral("."),
                  characters(bodyPoints, true, groupCaption), block(0, 2));

    paragraph(cursor, QStringLiteral("Таблица %1 — Исходные данные проверки").arg(++tables), characters(bodyPoints),
              block(3, 1));
    inputTable(cursor, note.inputs);
    formulas(cursor, note.formulas);
    if (!note.where.empty()) {
        QString where = QStringLiteral("где ");
        for (std::size_t i = 0; i < note.where.size(); ++i)
            where
                += fromUtf8(note.where[i]) + (i + 1 == note.where.size() ? QStringLiteral(".") : QStringLiteral("; "));
        paragraph(cursor, where, characters(bodyPoints), block(2));
    }
    paragraph(cursor, QStringLiteral("Выводы:"), characters(bodyPoints, true), block(3));
    for (const std::string& verdict : note.verdicts)
        paragraph(cursor, fromUtf8(verdict) + QStringLiteral("."), characters(bodyPoints, true), block());
    paragraph(cursor, QStringLiteral("Основания:"), characters(bodyPoints), block(3));
    for (const std::string& citation : note.citations)
        paragraph(cursor, fromUtf8(citation) + QStringLiteral("."), characters(bodyPoints), block());
    paragraph(cursor, fromUtf8(note.numbers), characters(smallPoints, false, standardText, true), block(3));
}

} // namespace kalventa::ui

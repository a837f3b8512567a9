#include "core/title_block.h"

namespace kalventa {
namespace {

// Both forms share the columns on the left: the changes («Изм.», «Лист»,
// «№ докум.», «Подп.», «Дата») and, on form 2, under them the people who sign.
constexpr double changeColumns[] = {0, 7, 17, 40, 55, 65};
constexpr const char* changeCaptions[] = {"Изм.", "Лист", "№ докум.", "Подп.", "Дата"};
constexpr double rowHeight = 5;

constexpr double inscriptionWidth = 185;
constexpr double form2Height = 40, form2aHeight = 15;

// Point sizes: captions and names small, the designation large.
constexpr double captionPoints = 7;
constexpr double namePoints = 8;
constexpr double numberPoints = 9;
constexpr double designationPoints = 16;
constexpr double documentNamePoints = 12;
constexpr double organisationPoints = 10;

class Builder {
public:
    explicit Builder(FramedSheet& sheet)
        : sheet_(sheet)
    {
    }

    // In the inscription's own millimetres, from its top left corner.
    void line(double x1, double y1, double x2, double y2, LineWeight weight = LineWeight::Main)
    {
        const MmRect& at = sheet_.inscription;
        sheet_.rules.push_back({at.x + x1, at.y + y1, at.x + x2, at.y + y2, weight});
    }
    void across(double y, double x1, double x2, LineWeight weight = LineWeight::Main) { line(x1, y, x2, y, weight); }
    void down(double x, double y1, double y2, LineWeight weight = LineWeight::Main) { line(x, y1, x, y2, weight); }

    InscriptionCell& cell(Field field, double x, double y, double width, double height, std::string text, double points)
    {
        const MmRect& at = sheet_.inscription;
        sheet_.cells.push_back({field, {at.x + x, at.y + y, width, height}, std::move(text), points});
        return sheet_.cells.back();
    }
    InscriptionCell& caption(double x, double y, double width, double height, std::string_view text)
    {
        return cell(Field::Caption, x, y, width, height, std::string(text), captionPoints);
    }

    // The changes' columns over `height`, two rows for changes and the row
    // of their captions at `captionsAt`.
    void changes(double height, double captionsAt)
    {
        for (std::size_t i = 1; i + 1 < std::size(changeColumns); ++i)
            down(changeColumns[i], 0, i == 1 ? captionsAt + rowHeight : height);
        down(changeColumns[std::size(changeColumns) - 1], 0, height);
        across(rowHeight, 0, 65, LineWeight::Thin);
        across(captionsAt, 0, 65);
        if (captionsAt + rowHeight < height)
            across(captionsAt + rowHeight, 0, 65);
        for (std::size_t i = 0; i < std::size(changeCaptions); ++i)
            caption(changeColumns[i], captionsAt, changeColumns[i + 1] - changeColumns[i], rowHeight,
                    changeCaptions[i]);
    }

private:
    FramedSheet& sheet_;
};

void form2(Builder& block, const TitleData& title, std::string_view documentName, int sheets)
{
    block.changes(form2Height, 10);
    // Those who sign, a row each under the changes; the third row is left for
    // a role the organisation adds.
    struct Signer {
        const char* role;
        Field field;
        const std::string* name;
    };
    const Signer signers[] = {{"Разраб.", Field::Developer, &title.developer},
                              {"Пров.", Field::Checker, &title.checker},
                              {"", Field::Caption, nullptr},
                              {"Н. контр.", Field::StandardsChecker, &title.standardsChecker},
                              {"Утв.", Field::Approver, &title.approver}};
    double y = 15;
    for (const Signer& signer : signers) {
        if (y > 15)
            block.across(y, 0, 65, LineWeight::Thin);
        if (signer.name) {
            block.caption(0, y, 17, rowHeight, signer.role).centred = false;
            block.cell(signer.field, 17, y, 23, rowHeight, *signer.name, namePoints).centred = false;
        }
        y += rowHeight;
    }

    // The designation over the whole right part, the name under it on the
    // left, the letter, sheet and sheet count and the organisation on the right.
    block.across(15, 65, inscriptionWidth);
    block.cell(Field::Designation, 65, 0, 120, 15, title.designation, designationPoints).bold = true;
    std::string name = title.object;
    if (!name.empty())
        name.append("\n");
    name.append(documentName);
    block.cell(Field::DocumentName, 65, 15, 70, 25, std::move(name), documentNamePoints).wrapped = true;
    block.down(135, 15, form2Height);
    block.across(20, 135, inscriptionWidth);
    block.across(25, 135, inscriptionWidth);
    block.down(150, 15, 25);
    block.down(165, 15, 25);
    block.down(140, 20, 25, LineWeight::Thin);
    block.down(145, 20, 25, LineWeight::Thin);
    block.caption(135, 15, 15, rowHeight, "Лит.");
    block.caption(150, 15, 15, rowHeight, "Лист");
    block.caption(165, 15, 20, rowHeight, "Листов");
    block.cell(Field::Sheet, 150, 20, 15, rowHeight, "1", numberPoints);
    block.cell(Field::Sheets, 165, 20, 20, rowHeight, std::to_string(sheets), numberPoints);
    block.cell(Field::Organisation, 135, 25, 50, 15, title.organisation, organisationPoints).wrapped = true;
}

void form2a(Builder& block, const TitleData& title, int sheet)
{
    block.changes(form2aHeight, 10);
    block.cell(Field::Designation, 65, 0, 110, 15, title.designation, designationPoints).bold = true;
    block.down(175, 0, form2aHeight);
    block.across(7, 175, inscriptionWidth);
    block.caption(175, 0, 10, 7, "Лист");
    block.cell(Field::Sheet, 175, 7, 10, 8, std::to_string(sheet), numberPoints);
}

} // namespace

FramedSheet framedSheet(const TitleData& title, std::string_view documentName, int sheet, int sheets)
{
    FramedSheet framed;
    framed.frame = {frameLeft, frameTop, sheetWidth - frameLeft - frameRight, sheetHeight - frameTop - frameBottom};
    const double height = sheet == 1 ? form2Height : form2aHeight;
    framed.inscription
        = {framed.frame.right() - inscriptionWidth, framed.frame.bottom() - height, inscriptionWidth, height};
    // The same text area on every sheet: above form 2, the taller one.
    const double textTop = framed.frame.y + textTopBottom;
    framed.text = {framed.frame.x + textSide, textTop, framed.frame.width - 2 * textSide,
                   framed.frame.bottom() - form2Height - textTopBottom - textTop};

    const MmRect& f = framed.frame;
    framed.rules = {{f.x, f.y, f.right(), f.y, LineWeight::Main},
                    {f.right(), f.y, f.right(), f.bottom(), LineWeight::Main},
                    {f.x, f.bottom(), f.right(), f.bottom(), LineWeight::Main},
                    {f.x, f.y, f.x, f.bottom(), LineWeight::Main}};
    Builder block(framed);
    block.across(0, 0, inscriptionWidth);
    block.down(0, 0, height);
    if (sheet == 1)
        form2(block, title, documentName, sheets);
    else
        form2a(block, title, sheet);
    return framed;
}

} // namespace kalventa

// Writes the window's tables as JavaScript for the browser edition's page:
// every control with its kind, container, box, text and look, the lists' items,
// the Tab order, which label captions which control, the sketch's lines and
// circles, the colours and font forms.
// The page is built from these, as the desktop window is built from the same
// tables, so that the two cannot drift apart. Besides, the names of the
// commands the page's bar shares with the desktop's context menu, in the
// core's words.
//
// Usage: window_tables OUTPUT.js

#include "core/copied_results.h"
#include "core/rules_check.h"
#include "window/layout_table.h"
#include "window/look_table.h"
#include "window/sketch_table.h"

#include <cstddef>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <span>
#include <string>
#include <string_view>

using namespace kalventa::ui;

namespace {

std::string_view kindName(Kind kind)
{
    switch (kind) {
    case Kind::GroupBox: return "GroupBox";
    case Kind::Label: return "Label";
    case Kind::TextField: return "TextField";
    case Kind::OptionButton: return "OptionButton";
    case Kind::DropDownList: return "DropDownList";
    case Kind::Button: return "Button";
    case Kind::PictureArea: return "PictureArea";
    }
    return "";
}

std::string_view fontName(FontForm form)
{
    switch (form) {
    case FontForm::Regular8: return "Regular8";
    case FontForm::Bold8: return "Bold8";
    case FontForm::Underlined8: return "Underlined8";
    case FontForm::Regular10: return "Regular10";
    case FontForm::Bold10: return "Bold10";
    }
    return "";
}

std::string_view inkName(Ink ink)
{
    switch (ink) {
    case Ink::Standard: return "Standard";
    case Ink::GroupCaption: return "GroupCaption";
    case Ink::Result: return "Result";
    case Ink::Verdict: return "Verdict";
    }
    return "";
}

// The colour of a control's text, as the desktop window gives it (Form1).
Rgb inkColour(Ink ink)
{
    switch (ink) {
    case Ink::Standard: return rgb::standardText;
    case Ink::GroupCaption: return rgb::groupCaption;
    case Ink::Result: return rgb::resultText;
    case Ink::Verdict: return rgb::verdictText;
    }
    return rgb::standardText;
}

Rgb sketchColour(SketchInk ink)
{
    switch (ink) {
    case SketchInk::Outline: return rgb::sketchOutline;
    case SketchInk::Dimension: return rgb::sketchDimension;
    case SketchInk::WindowText: return rgb::standardText;
    }
    return rgb::standardText;
}

// A JavaScript string literal of UTF-8 text.
std::string quoted(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
            out += escape;
        } else {
            out += c;
        }
    }
    return out + '"';
}

std::string colour(const Rgb& c)
{
    return "\"rgb(" + std::to_string(c.red) + ", " + std::to_string(c.green) + ", " + std::to_string(c.blue) + ")\"";
}

std::string box(const TwipRect& b)
{
    return "{left: " + std::to_string(b.left) + ", top: " + std::to_string(b.top)
        + ", width: " + std::to_string(b.width) + ", height: " + std::to_string(b.height) + "}";
}

// A size of whole hundredths of a point, 8.25 or 9.75, without the locale.
std::string points(double size)
{
    const auto hundredths = static_cast<int>(size * 100);
    const int fraction = hundredths % 100;
    return std::to_string(hundredths / 100) + (fraction < 10 ? ".0" : ".") + std::to_string(fraction);
}

std::string font(FontForm form)
{
    const FontShape shape = fontShape(form);
    return "{points: " + points(shape.points) + ", bold: " + (shape.bold ? "true" : "false")
        + ", underlined: " + (shape.underlined ? "true" : "false") + "}";
}

// Items separated by ", ", each written by `write`.
template <class T, class Write>
std::string joined(std::span<const T> items, Write&& write)
{
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i)
        out += (i == 0 ? "" : ", ") + write(items[i]);
    return out;
}

template <class T, class Write>
void list(std::ostream& out, std::span<const T> rows, Write&& write)
{
    out << "[\n";
    for (const T& row : rows) {
        out << "    ";
        write(row);
        out << ",\n";
    }
    out << "  ]";
}

void writeTables(std::ostream& out)
{
    out << "// The window's tables, written by web/tools/window_tables.cpp from\n"
           "// window/layout_table.cpp, window/sketch_table.cpp and window/look_table.h, and the\n"
           "// commands' names from core/copied_results.h and core/rules_check.h. Do not edit.\n"
           "const windowTables = {\n";
    out << "  twipsPerPixel: " << twipsPerPixel << ",\n";
    out << "  formName: " << quoted(formName) << ",\n";
    out << "  caption: " << quoted(windowCaptionText) << ",\n";
    out << "  clientArea: " << box(clientArea) << ",\n";
    out << "  fontFamily: " << quoted(windowFontFamilyName) << ",\n";
    out << "  fonts: {\n";
    for (const FontForm form :
         {FontForm::Regular8, FontForm::Bold8, FontForm::Underlined8, FontForm::Regular10, FontForm::Bold10})
        out << "    " << fontName(form) << ": " << font(form) << ",\n";
    out << "  },\n";
    out << "  colours: {\n"
        << "    formBackground: " << colour(rgb::formBackground) << ",\n"
        << "    buttonFace: " << colour(rgb::buttonFace) << ",\n"
        << "    standardText: " << colour(rgb::standardText) << ",\n"
        << "  },\n";
    out << "  controls: ";
    list(out, controlRows(), [&](const ControlRow& row) {
        out << "{name: " << quoted(row.name) << ", kind: " << quoted(kindName(row.kind))
            << ", container: " << quoted(row.container) << ", box: " << box(row.box) << ", text: " << quoted(row.text)
            << ", font: " << quoted(fontName(row.look.font)) << ", ink: " << colour(inkColour(row.look.ink))
            << ", inkName: " << quoted(inkName(row.look.ink))
            << ", centred: " << (row.look.align == Align::Centred ? "true" : "false") << "}";
    });
    out << ",\n  lists: ";
    list(out, listRows(), [&](const ListRow& row) {
        out << "{list: " << quoted(row.list) << ", items: [" << joined(row.items, quoted) << "]}";
    });
    out << ",\n  tabOrder: [" << joined(tabOrder(), quoted) << "],\n  captions: ";
    list(out, captionRows(), [&](const CaptionRow& row) {
        out << "{label: " << quoted(row.label) << ", control: " << quoted(row.control) << "}";
    });
    out << ",\n  sketchLines: ";
    list(out, sketchLines(), [&](const SketchLine& line) {
        out << "{name: " << quoted(line.name) << ", x1: " << line.x1 << ", y1: " << line.y1 << ", x2: " << line.x2
            << ", y2: " << line.y2 << ", colour: " << colour(sketchColour(line.ink)) << "}";
    });
    out << ",\n  sketchCircles: ";
    list(out, sketchCircles(), [&](const SketchCircle& circle) {
        out << "{name: " << quoted(circle.name) << ", box: " << box(circle.box)
            << ", colour: " << colour(sketchColour(SketchInk::WindowText)) << "}";
    });
    out << ",\n  commandNames: {copyResults: " << quoted(kalventa::copyResultsCommand)
        << ", rulesCheck: " << quoted(kalventa::rules::checkTitle) << "},\n};\n";
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: window_tables OUTPUT.js\n";
        return 2;
    }
    std::ofstream out(argv[1], std::ios::binary);
    writeTables(out);
    out.close();
    if (!out) {
        std::cerr << "window_tables: cannot write " << argv[1] << '\n';
        return 1;
    }
    return 0;
}

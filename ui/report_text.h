#pragma once
// The calculation report as a text document laid out in pages, as Russian
// calculation notes are set: the title block, the method, then for each run
// its heading, the table of inputs, the formulas numbered on the right, the
// symbols explained after «где», where an error stopped it, the layers and the
// drum sketch and the verdict; then the summary of the results. Every text
// goes in as plain text, never as markup: what the user typed is printed as
// typed. The running text is set in Russian typography
// (core/note_typography.h); the tables show the values as the window does. A
// table that a sheet's end cuts goes on at the next sheet's top under
// «Продолжение таблицы N» and its headings again.

#include "core/report.h"

#include <QFont>
#include <QSizeF>

#include <memory>

class QTextDocument;

namespace kalventa::ui {

// The report's typeface: the window's Liberation Sans, and DejaVu Sans for
// the signs it lacks (the floor and ceiling brackets ⌊ ⌋ ⌈ ⌉).
QFont reportFont(qreal points, bool bold = false);

// The document's units: dots at this resolution. The report is laid out at
// it whatever it is painted on, so that a printer and the preview break the
// pages exactly where the PDF file does.
inline constexpr qreal reportLayoutDpi = 1200;

// The report laid out in pages of `body` size, in dots of reportLayoutDpi; a
// heading or a caption that would end a page starts the next one instead.
std::unique_ptr<QTextDocument> reportTextDocument(const Report& report, const QSizeF& body);

} // namespace kalventa::ui

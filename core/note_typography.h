#pragma once
// The calculation note's running text (its formulas, the symbols explained
// after «где», the verdict, the notes) set as a Russian note is: a decimal
// comma, a true minus «−» and a leading zero («−0,0001» for "-.0001"), powers
// of ten as «1,2·10⁸» for "1.2E+08", and the indices of the symbols lowered
// (Sмин, Dмин, Lмакс, Fр, Sк, P₃, l₁, lN). The calculations and the report's
// data keep the labels' plain form; this is applied only where a note is
// drawn. An integer, a date, a number inside a word ("M6", "см2") and the
// special values ("1.#INF") stay as written.

#include <string>
#include <string_view>
#include <vector>

namespace kalventa {

// A stretch of set text: an index is set smaller and lowered. Numeric
// indices are subscript digits inside ordinary text.
struct NoteRun {
    std::string text;
    bool index = false;

    bool operator==(const NoteRun&) const = default;
};

// `text` (UTF-8) as the note sets it, in runs; ordinary text and an index
// alternate.
std::vector<NoteRun> noteTypography(std::string_view text);

} // namespace kalventa

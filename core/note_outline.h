#pragma once
// The calculation note's outline: what the note says, in its order, with
// its sections, tables, figures and formulas numbered, the tables and the
// figure captioned, the rows of each table chosen and the words around the
// report's data («Расчёт выполнен …», «Вывод: …», «Примечание — …», «где»)
// written. Both editions lay the note out from it, the desktop on its text
// document and the browser on its printed page, so that both number and
// caption alike; how a block looks (its type size, its spacing, where a
// page may end) is theirs.

#include "core/report.h"

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kalventa {

enum class NoteBlockKind {
    // The title block: each present only where given, the title always.
    Organisation,
    Object,
    Title,
    Designation,
    Program,
    Made,
    NothingYet,  // instead of the sections, before any run
    Heading,     // a section's numbered heading: "1 Методика"
    Paragraph,   // a paragraph of the method
    RanAt,       // "Расчёт выполнен 14.03.2025 09:30"
    Warning,     // a changed input: "Внимание: …."
    Table,       // a ruled table under its caption
    Note,        // under the inputs' table: "Примечание — …"
    Formula,     // a numbered formula
    Where,       // «где» and the symbols explained
    Stopped,     // where an error stopped the run
    Figure,      // the drum sketch with its values, its caption under it
    Verdict,     // "Вывод: …"
    SavedNote,   // how the results differ from a file's
    Conclusions, // "Выводы:" over the summary's conclusions
    Conclusion,  // "Расчёт каната — рассчитано."
    DrumCheck,   // a line of the drum's check against its limits
    // The check against today's rules, a section of its own on a new sheet,
    // its heading first; its warnings, its table of inputs, its formulas,
    // «где» and «Выводы:» are Warning, Table, Formula, Where and Conclusions
    // blocks after its heading, its text not set.
    RulesCheck,
    Advisory, // what the check is
    Finding,  // a verdict of the check
    Grounds,  // "Основания:" over the rules cited
    Citation, // a rule cited with its edition
    Numbers,  // what the check's numbers are
};

enum class NoteAlign { Left, Centre };

struct NoteColumn {
    std::string heading;
    int percent; // of the table's width
    NoteAlign align;
    bool set = false; // running text: the symbols' indices lowered
};

enum class NoteRowKind {
    Values, // a cell for each column
    Notice, // across the table, under its input: what of a typed text was ignored
    Group,  // across the table: the calculation whose results follow
};

struct NoteRow {
    NoteRowKind kind = NoteRowKind::Values;
    std::vector<std::string> cells; // one for Notice and Group
    // The input or layer the row shows; a table continued on the next sheet
    // goes on at an item's first row.
    std::size_t item = 0;
};

struct NoteTable {
    std::string caption;      // "Таблица 1 — Исходные данные"
    std::string continuation; // "Продолжение таблицы 1"; empty when the table is not continued so
    std::vector<NoteColumn> columns;
    std::vector<NoteRow> rows;
};

// A line after «где»: "d — диаметр каната, мм" and ";" or the last one's ".".
struct NoteLine {
    std::string text;
    std::string after;
};

struct NoteBlock {
    NoteBlockKind kind;
    // The words as printed: `lead` and `after` as they are, `text` in Russian
    // typography (core/note_typography.h) where `set`.
    std::string lead;
    std::string text;
    std::string after;
    bool set = false;
    // The section's, table's, figure's or formula's number.
    int number = 0;
    bool indented = false; // a drum check's line under its lead
    NoteTable table = {};
    std::string whereLead = {}; // «где»
    std::vector<NoteLine> lines = {};
    std::vector<SketchValue> sketch = {};
};

// The note of `report`, block by block.
std::vector<NoteBlock> noteOutline(const Report& report);

// What the drum sketch on paper shows at `control` of the sketch, given the
// run's `values`: a value whole, with its unit, and its symbol where its place
// alone does not say what it is; a legend that names the value's unit
// without it, the value having it; nothing for the marks "*" that on the
// window point out the fields the sketch explains. None: the window's own text.
std::optional<std::string> sketchPaperText(std::string_view control, std::span<const SketchValue> values);

} // namespace kalventa

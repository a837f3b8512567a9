#pragma once
// The calculation report («Расчётная записка») as data: the method the
// calculations follow; for each calculation run since the program started,
// in the order run, the inputs as typed and as read, the formulas numbered
// through the report with their values substituted, the symbols explained,
// the per-layer values of the rope capacity, the verdict, and where a
// run-time error stopped a run; then the results of all runs in one table,
// a conclusion on each run and the drum checked against the drum size
// limits. Numbers are in the labels' form. A window renders it to paper or
// PDF.

#include "core/calculation_file.h"
#include "core/rules_check_report.h"
#include "core/run_record.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kalventa {

struct ReportInput {
    std::string symbol;
    std::string name; // "Вес груза"
    std::string unit;
    std::string typed;  // as typed; a choice as the window shows it, "—" when none was made
    std::string read;   // what the calculation worked with
    std::string notice; // what part of the text was ignored; empty when none
};

struct ReportFormula {
    int number = 0;   // (1), (2), … through the whole report
    std::string text; // "Dмин = 19 · d = 19 · 12 = 228 мм", or what stopped it
};

// A layer the run completed.
struct ReportLayer {
    std::string layer; // "1"
    std::string pitchDiameter;
    std::string flangeDiameter;
    std::string layerLength;
};

// A value shown on the drum sketch, at the place of its control.
struct SketchValue {
    std::string control; // "Text4", "Label21"
    std::string text;
};

struct ReportSection {
    std::string title;     // "Расчёт каната"
    std::string ranAt;     // when the run was made, as the window gave it
    bool stale = false;    // its inputs were changed after the run
    std::string staleNote; // the mark and what changed: "исходные данные изменены после расчёта: вес груза"
    std::vector<ReportInput> inputs;
    // Under the input table: where the calculation took another value than
    // its field reads, or a field read as an infinity.
    std::vector<std::string> notes;
    std::vector<ReportFormula> formulas;
    // "d — диаметр каната, мм": the symbols and numbers of the formulas, in
    // the order they first appear there.
    std::vector<std::string> where;
    std::vector<ReportLayer> layers;
    std::vector<SketchValue> sketch; // the rope capacity only
    std::string verdict;             // the rope check only
    // When an error ended the run, one sentence: where and what,
    // "Расчёт остановлен в слое 2: переполнение при вычислении диаметра навивки слоя."
    std::string stopped;
    // After a calculation file was opened and run again: how the results
    // differ from those the file kept.
    std::string savedNote;
};

// Where the formulas and their numbers come from, before the calculations:
// a paragraph on each calculation run, then one on the number kinds.
struct ReportMethod {
    std::string title; // "Методика"
    std::vector<std::string> paragraphs;
};

// A result of a run as the summary's table gives it.
struct SummaryRow {
    std::string quantity; // "Минимальный диаметр барабана"
    std::string symbol;   // "Dмин"; empty for the verdict
    std::string value; // as the calculation holds it, "228"; "не рассчитано" when the run did not reach it
    std::string unit;
    // The label's text as the window shows it, " 228"; "пусто" when it shows
    // nothing, "—" for a quantity no label shows.
    std::string label;
};

struct SummaryRun {
    std::string calculation; // "Расчёт каната"
    std::vector<SummaryRow> rows;
    // "канат не допустим", "рассчитано", or where an error stopped the run;
    // whether its inputs were changed since.
    std::string conclusion;
};

struct ReportSummary {
    std::string title; // "Сводка результатов"
    std::vector<SummaryRun> runs;
    // The rope capacity's drum against the drum size limits for the same
    // rope: a lead and a line for each condition, or why the drum was not
    // checked. Empty when the rope capacity was not run.
    std::vector<std::string> drumCheck;
};

struct Report {
    std::string title;   // "Расчётная записка"
    std::string program; // "Кальвента 1.3.0"
    std::string made;    // when, as the window gives it
    std::vector<ReportSection> sections;
    std::string nothingYet;     // said instead of sections before any run
    ReportMethod method = {};   // no paragraphs before any run
    ReportSummary summary = {}; // no runs before any run
    // The check against today's rules, after the sections, once it was opened.
    std::optional<rules::RulesCheckNote> rulesCheck = std::nullopt;
    // The object, designation and organisation named in the heading, and
    // whether the sheets are framed with the main inscription.
    TitleData titleData = {};
};

struct ReportRun {
    const RunRecord* record;
    bool stale;
    std::vector<std::string> changed = {}; // the inputs changed since, in words
    std::string note = {};                 // RunHistory::noteOnRun
};

// What the window shows for a choice: an option button's caption (`item` -1)
// or a list's item; empty when it does not know the control.
using ChoiceText = std::function<std::string(std::string_view control, int item)>;

// `runs` in the order run, one for each calculation run since start; a
// choice is named in the inputs' «Введено» as `choiceText` gives it.
Report makeReport(std::span<const ReportRun> runs, std::string_view program, std::string_view made,
                  const ChoiceText& choiceText = {});

// The words that mark a result whose inputs were changed after its run.
inline constexpr std::string_view staleMark = "исходные данные изменены после расчёта";

} // namespace kalventa

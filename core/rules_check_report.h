#pragma once
// The check against today's rules as a section of the calculation report,
// after the old method's sections, and as rows of the copied results: its
// heading and what it is, any warning (an expired rule, a changed run), the
// inputs as typed and as taken, the formulas with their values numbered on
// from the report's, the symbols explained, the verdicts, the rules cited with
// their editions, and what its numbers are. Plain data; a window renders it.

#include "core/rules_check.h"

#include <string>
#include <vector>

namespace kalventa {
struct CopiedRow;
}

namespace kalventa::rules {

struct NoteInput {
    std::string name; // "Вес груза"
    std::string symbol;
    std::string unit;
    std::string typed;  // as typed; "—" for a default, a choice or a run's value
    std::string taken;  // as the check took it; "нет" when missing
    std::string origin; // where it comes from
    std::string notice; // what of the text was ignored; empty when none
};

struct NoteFormula {
    int number = 0; // numbered on from the report's own formulas
    std::string text;
};

struct RulesCheckNote {
    std::string title;    // «Проверка по действующим правилам»
    std::string advisory; // that it is not part of the old method
    std::vector<std::string> warnings;
    std::vector<NoteInput> inputs;
    std::vector<NoteFormula> formulas;
    std::vector<std::string> where; // "S — наибольшее натяжение ветви каната, Н"
    std::vector<std::string> verdicts;
    std::vector<std::string> citations;
    std::string numbers; // what the check's numbers are
};

// The note of a check; its formulas are numbered from `firstFormula`.
RulesCheckNote makeRulesCheckNote(const CheckResult& check, int firstFormula);

// The check's rows for the copied results, under a heading row of its own.
std::vector<CopiedRow> rulesCheckRows(const CheckResult& check);

} // namespace kalventa::rules

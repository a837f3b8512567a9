#pragma once
// An advisory check of the rope and the drum against today's rules, beside
// the old method and never in it: the rope's safety factor Zp and the drum's
// ratio h1 = (D + d) / d, D to the rope's centre line, each against the
// mechanism's group M1…M8 from the rule tables.
//
// It reads the window's fields as they stand (the load and the breaking force
// of the rope check, the drum and rope diameters of the rope capacity) or,
// when only the drum size limits were run, that run's Dмин and rope diameter;
// and its own inputs: the group, the rope's use, the reeving. Its numbers are
// ordinary Doubles, shown with up to three decimals; it shares nothing with
// the old method's number kinds. A part is judged only with every input it
// needs; otherwise it names what is missing. An input not read whole is
// taken as the old method takes it, and the check says so.

#include "core/controls.h"
#include "core/rules_catalogue.h"
#include "core/rules_tables.h"

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kalventa {
class RunHistory;
}

namespace kalventa::rules {

inline constexpr std::string_view checkTitle = "Проверка по действующим правилам";
inline constexpr std::string_view advisoryNote
    = "Справочная проверка по действующим правилам — не входит в исходную методику";
inline constexpr std::string_view numbersNote
    = "Числа проверки — обычные числа двойной точности с тремя знаками после точки; с числами исходной "
      "методики они не связаны и её результатов не меняют.";

enum class RopeKind { Running, Standing };
enum class Bearings { Rolling, Plain };

// What the check's own controls hold.
struct CheckInputs {
    int group = 0; // 1 … 8; 0 while none is chosen: nothing is judged
    RopeKind rope = RopeKind::Running;
    std::string reevingRatio;  // u as typed; blank: 1
    std::string woundBranches; // a as typed; blank: 1
    std::string efficiency;    // η as typed; blank: from u and the bearings
    Bearings bearings = Bearings::Rolling;
    std::string hookMass; // m, kg, as typed; blank: 0
};

// The check's own controls, in their order, as both windows build them: a
// list, a pair of option buttons (the first on at first) or a text field, by
// name, with its caption and, for a field, what an empty one means. What a
// screen reader calls each is in the check's catalogue.
enum class ControlKind { List, Options, Field };

struct CheckControl {
    RulesQuantity quantity;
    ControlKind kind;
    std::string_view caption;
    std::array<std::string_view, 2> names;        // a pair's two; the first otherwise
    std::array<std::string_view, 2> options = {}; // a pair's texts
    std::string_view placeholder = {};            // a field's, or a list's while none is chosen
};

std::span<const CheckControl> checkControls();

struct CheckInputs;
// The check's own inputs as its controls hold them, read by name through the
// window's interface: a list's index, an option's value, a field's text.
CheckInputs readInputs(Controls& controls);

// The check's results as text, and its button that closes it.
inline constexpr std::string_view resultsControl = "rulesResults";
inline constexpr std::string_view resultsName = "Результаты проверки";

// How a result is rounded to three decimals: a value compared with a rule's
// minimum downwards, so that it never shows as meeting a minimum it misses;
// a requirement upwards; anything else to the nearest.
enum class Rounding { Nearest, Down, Up };

// At most three decimals, trailing zeros dropped, a full stop whatever the
// locale: 5.6, 9810, 0.993. "Down" gives the greatest such number whose
// nearest Double is not above the value, "Up" the least not below it.
std::string decimalText(double value, Rounding rounding = Rounding::Nearest);

enum class Verdict { NotJudged, Met, NotMet };

// One input as the check took it.
struct TakenInput {
    RulesQuantity quantity;
    std::string typed;           // as typed; empty for a default or a run's value
    std::optional<double> value; // as taken; none when missing or unusable
    std::string origin;          // where it comes from, lower case
    std::string notice;          // what of the text was ignored; empty when none
};

// A value the check worked out, and how it is rounded when shown.
struct WorkedOut {
    RulesQuantity quantity;
    double value;
    Rounding rounding;
};

// The rope or the drum.
struct PartCheck {
    std::vector<TakenInput> inputs;
    std::vector<WorkedOut> worked;     // S and Zp, or h1, once worked out
    std::vector<std::string> problems; // what keeps the part from being worked out
    std::vector<std::string> formulas; // each with its values: "Zp = Fр / S = 54936 / 9810 = 5.6"
    std::optional<double> value;       // Zp or h1
    Verdict verdict = Verdict::NotJudged;
    std::string minimum;            // the rule value for the chosen group, as the rule writes it
    int highestGroup = 0;           // the highest group met; 0 for none
    std::optional<double> required; // Fр or D that would meet the chosen group, when it is not met
    std::vector<std::string> lines; // what the check shows of the part
    const RuleTable* table = nullptr;
};

struct CheckResult {
    CheckInputs inputs;
    PartCheck rope;
    PartCheck drum;
    std::vector<std::string> warnings; // expired rules, a stale run
    std::vector<std::string> citations;
    std::string summary; // one sentence for a screen reader
};

// The check on the window's fields and runs as they stand on `today`.
CheckResult runCheck(const CheckInputs& inputs, Controls& window, const RunHistory& history, CalendarDate today);

// An input as the check shows it: "Q = 1000 кг — вес груза, поле расчёта
// каната"; "Fр — разрывное усилие каната: нет" when it has no value.
std::string inputLine(const TakenInput& input);

// The whole check as lines of text, as its dialog shows it: the warnings,
// the rope and the drum, the inputs with any notice, the rules cited and
// what the numbers are.
std::vector<std::string> resultText(const CheckResult& result);

} // namespace kalventa::rules

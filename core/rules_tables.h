#pragma once
// The values today's rules ask of a hoist rope and its drum, by the
// mechanism's group M1…M8, kept as data: each table with the document it is
// taken from, the clause, the edition, the date the document stops applying
// (where it has one) and the date its values were checked against it. A later
// edition of a rule is a change of these tables, not of the check.
//
// They stand beside the old method, never in it: the old method's digits do
// not depend on anything here.

#include <array>
#include <compare>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kalventa::rules {

// A day of the calendar, as the rules date themselves.
struct CalendarDate {
    int year = 0;
    int month = 0;
    int day = 0;

    friend constexpr auto operator<=>(const CalendarDate&, const CalendarDate&) = default;
};

// "01.01.2027".
std::string dateText(CalendarDate date);

// The mechanism's groups, M1 to M8.
inline constexpr int groupCount = 8;
// "M6" for 6.
std::string groupName(int group);

struct RuleSource {
    std::string_view document;  // what the note cites
    std::string_view shortName; // how a warning names it: "ФНП"
    std::string_view clause;    // "табл. 4"
    std::string_view edition;
    // The first day the document no longer applies; none when it has no end.
    std::optional<CalendarDate> validUntil;
    CalendarDate checked;         // when the values were last compared with the document
    std::string_view remark = {}; // other documents with the same values
};

// A rule value as the document writes it ("5.60", "22.4"), and the Double
// nearest to that text.
struct RuleValue {
    std::string_view text;
    double value() const;
};

enum class RuleTableId { RopeRunning, RopeStanding, DrumRatio, SheaveRatio, EqualisingSheaveRatio };

struct RuleTable {
    RuleTableId id;
    std::string_view symbol;                   // "Zp", "h1"
    std::string_view name;                     // what the value is, lower case
    std::array<RuleValue, groupCount> byGroup; // M1 … M8
    const RuleSource* source;

    // The value for a group of 1 … 8.
    const RuleValue& forGroup(int group) const { return byGroup.at(static_cast<std::size_t>(group - 1)); }
};

std::span<const RuleTable> ruleTables();
const RuleTable& ruleTable(RuleTableId id);

// Whether the document no longer applies on `today`, by the date stored for it.
bool expired(const RuleSource& source, CalendarDate today);

// What the note and the check say of a source: the document, clause and
// edition, and the date its values were checked; after the stored validity
// date, the warning instead.
std::string citation(const RuleTable& table);
// "срок действия ФНП по сохранённым сведениям истёк 01.01.2027: проверьте
// действующую редакцию"; empty while the document applies.
std::string validityWarning(const RuleSource& source, CalendarDate today);

} // namespace kalventa::rules

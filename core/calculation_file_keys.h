#pragma once
// What a calculation file keeps of each calculation and of the check against
// today's rules, drawn from the catalogues: every input field, every choice
// (a group of option buttons or a list) and every result label, each under
// its quantity's file key, with the control it lives in.

#include "core/catalogue.h"

#include <span>
#include <string_view>
#include <vector>

namespace kalventa {

struct InputKey {
    std::string_view fileKey;
    std::string_view name; // lower case: "вес груза"
    std::string_view field;
};

struct ChoiceKey {
    std::string_view fileKey;
    std::string_view name;
    // A group's option buttons in order, or the one list.
    std::span<const std::string_view> controls;
    int options = 0; // buttons in the group; 0 for a list

    bool isList() const { return options == 0; }
};

struct ResultKey {
    std::string_view fileKey;
    std::string_view label;
    std::string_view name;
};

struct KeySet {
    CalculationId id; // unused for the check against today's rules
    std::string_view fileKey;
    std::string_view title;
    std::vector<InputKey> inputs;
    std::vector<ChoiceKey> choices;
    std::vector<ResultKey> results; // none for the check, which is worked out anew
};

// The three calculations in the window's order.
std::span<const KeySet> calculationKeys();
const KeySet& keysOf(CalculationId id);
const KeySet& rulesCheckKeys();

} // namespace kalventa

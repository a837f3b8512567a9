#include "core/calculation_file_keys.h"

#include "core/calculation_table.h"
#include "core/rules_catalogue.h"
#include "core/rules_check.h"

#include <array>

namespace kalventa {
namespace {

std::span<const std::string_view> usedControls(const std::array<std::string_view, 4>& controls)
{
    std::size_t used = 0;
    while (used < controls.size() && !controls[used].empty())
        ++used;
    return {controls.data(), used};
}

KeySet keysOfCalculation(const CalculationEntry& calculation)
{
    KeySet keys{calculation.id, calculation.fileKey, calculation.title, {}, {}, {}};
    for (const QuantityEntry& entry : catalogue()) {
        if (entry.calculation != calculation.id)
            continue;
        if (entry.role == Role::Input)
            keys.inputs.push_back({entry.fileKey, entry.name, entry.controls[0]});
        if (entry.role == Role::Choice) {
            const std::span<const std::string_view> controls = usedControls(entry.controls);
            const bool isList = controls.size() == 1;
            keys.choices.push_back(
                {entry.fileKey, entry.name, controls, isList ? 0 : static_cast<int>(controls.size())});
        }
        if (!entry.label.empty())
            keys.results.push_back({entry.fileKey, entry.label, entry.name});
    }
    return keys;
}

std::array<KeySet, 3> makeCalculationKeys()
{
    return {keysOfCalculation(calculation(CalculationId::RopeCheck)),
            keysOfCalculation(calculation(CalculationId::DrumSizeLimits)),
            keysOfCalculation(calculation(CalculationId::RopeCapacity))};
}

KeySet makeRulesCheckKeys()
{
    KeySet keys{CalculationId::RopeCheck, "rules_check", rules::checkTitle, {}, {}, {}};
    for (const rules::CheckControl& control : rules::checkControls()) {
        const rules::RulesQuantityEntry entry = rules::entryOf(control.quantity);
        switch (control.kind) {
        case rules::ControlKind::Field: keys.inputs.push_back({entry.fileKey, entry.name, control.names[0]}); break;
        case rules::ControlKind::List:
            keys.choices.push_back({entry.fileKey, entry.name, {control.names.data(), 1}, 0});
            break;
        case rules::ControlKind::Options:
            keys.choices.push_back({entry.fileKey, entry.name, control.names, static_cast<int>(control.names.size())});
            break;
        }
    }
    return keys;
}

} // namespace

std::span<const KeySet> calculationKeys()
{
    static const std::array<KeySet, 3> keys = makeCalculationKeys();
    return keys;
}

const KeySet& keysOf(CalculationId id)
{
    return calculationKeys()[static_cast<std::size_t>(id)];
}

const KeySet& rulesCheckKeys()
{
    static const KeySet keys = makeRulesCheckKeys();
    return keys;
}

} // namespace kalventa

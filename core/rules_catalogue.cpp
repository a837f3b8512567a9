#include "core/rules_catalogue.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace kalventa::rules {
namespace {

using enum RulesQuantity;

struct WindowQuantity {
    RulesQuantity quantity;
    CalculationId calculation;
    Quantity windowQuantity;
};

constexpr std::array own{
    RulesQuantityEntry{Group, "rules_group", "", "группа классификации механизма", "",
                       "Группа классификации механизма, M1–M8"},
    RulesQuantityEntry{RopeKind, "rules_rope_kind", "", "канат", "", "Канат бегучий или стоячий"},
    RulesQuantityEntry{ReevingRatio, "rules_reeving_ratio", "u", "кратность полиспаста", "",
                       "Кратность полиспаста u, пустое поле — 1"},
    RulesQuantityEntry{WoundBranches, "rules_wound_branches", "a", "число ветвей каната, навиваемых на барабан", "",
                       "Ветвей каната, навиваемых на барабан, a, пустое поле — 1"},
    RulesQuantityEntry{Efficiency, "rules_reeving_efficiency", "η", "КПД полиспаста", "",
                       "КПД полиспаста η, пустое поле — по кратности и подшипникам блоков"},
    RulesQuantityEntry{PulleyBearings, "rules_pulley_bearings", "", "подшипники блоков", "", "Подшипники блоков"},
    RulesQuantityEntry{HookMass, "rules_hook_block_mass_kg", "m", "масса крюковой подвески", "кг",
                       "Масса крюковой подвески m, кг, пустое поле — 0"},
    RulesQuantityEntry{PulleyEfficiency, "rules_pulley_efficiency", "ηб", "КПД одного блока", ""},
    RulesQuantityEntry{RopeForce, "rules_rope_force_n", "S", "наибольшее натяжение ветви каната", "Н"},
    RulesQuantityEntry{SafetyFactor, "rules_safety_factor", "Zp", "коэффициент запаса прочности каната", ""},
    RulesQuantityEntry{RequiredBreakingForce, "rules_required_breaking_force_n", "Fр",
                       "требуемое разрывное усилие каната", "Н"},
    RulesQuantityEntry{DiameterRatio, "rules_drum_ratio", "h1",
                       "отношение диаметра барабана по оси каната к диаметру каната", ""},
    RulesQuantityEntry{RequiredDrumDiameter, "rules_required_drum_diameter_mm", "D", "требуемый диаметр барабана",
                       "мм"},
};

constexpr std::array fromWindow{
    WindowQuantity{LoadWeight, CalculationId::RopeCheck, Quantity::LoadWeight},
    WindowQuantity{BreakingForce, CalculationId::RopeCheck, Quantity::BreakingForce},
    WindowQuantity{DrumDiameter, CalculationId::RopeCapacity, Quantity::DrumDiameter},
    WindowQuantity{RopeDiameter, CalculationId::RopeCapacity, Quantity::RopeDiameter},
    WindowQuantity{MinDrumDiameter, CalculationId::DrumSizeLimits, Quantity::MinDrumDiameter},
    WindowQuantity{LimitsRopeDiameter, CalculationId::DrumSizeLimits, Quantity::RopeDiameter},
};

} // namespace

RulesQuantityEntry entryOf(RulesQuantity quantity)
{
    const auto mine = std::find_if(own.begin(), own.end(), [&](const auto& e) { return e.quantity == quantity; });
    if (mine != own.end())
        return *mine;
    const auto theirs
        = std::find_if(fromWindow.begin(), fromWindow.end(), [&](const auto& w) { return w.quantity == quantity; });
    if (theirs == fromWindow.end())
        throw std::invalid_argument("no such quantity of the check");
    const QuantityEntry* window = kalventa::entryOf(theirs->calculation, theirs->windowQuantity);
    // The capacity's rope diameter says what an empty field means there; the
    // check has no such rule and calls it as the drum size limits do.
    const std::string_view name = quantity == RopeDiameter
        ? kalventa::entryOf(CalculationId::DrumSizeLimits, Quantity::RopeDiameter)->name
        : window->name;
    return {quantity, window->fileKey, window->symbol, name, window->unit, window->spokenInput, window};
}

} // namespace kalventa::rules

#include "core/calculation_table.h"

#include "core/calculations.h"

#include <algorithm>
#include <array>

namespace kalventa {
namespace {

constexpr std::array<std::string_view, 6> ropeCheckInputs{"Text1", "Text3", "Option1", "Option2", "Option3", "Option4"};
constexpr std::array<std::string_view, 1> drumSizeLimitsInputs{"Text2"};
constexpr std::array<std::string_view, 8> ropeCapacityInputs{"Text4",  "Text5",  "Text6",   "Text7",
                                                             "Combo1", "Combo2", "Option5", "Option6"};

constexpr std::array table{
    CalculationEntry{"Command1", &ropeCheck, "Расчёт каната",
                     "минимальное допустимое натяжение каната и заключение о канате", ropeCheckInputs},
    CalculationEntry{"Command2", &drumSizeLimits, "Допустимые размеры барабана",
                     "минимальный диаметр и максимальная длина барабана", drumSizeLimitsInputs},
    CalculationEntry{"Command3", &ropeCapacity, "Расчёт канатоёмкости",
                     "витки, слои, диаметр реборды, канатоёмкость и толщина стенки барабана", ropeCapacityInputs},
};

} // namespace

std::span<const CalculationEntry> calculations() { return table; }

const CalculationEntry* calculationOf(std::string_view button)
{
    const auto it = std::find_if(table.begin(), table.end(), [&](const CalculationEntry& e) { return e.button == button; });
    return it == table.end() ? nullptr : &*it;
}

} // namespace kalventa

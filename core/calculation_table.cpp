#include "core/calculation_table.h"

#include "core/calculations.h"

#include <algorithm>
#include <array>

namespace kalventa {
namespace {

constexpr std::array table{
    CalculationEntry{"Command1", &ropeCheck, "Расчёт каната",
                     "минимальное допустимое натяжение каната и заключение о канате"},
    CalculationEntry{"Command2", &drumSizeLimits, "Допустимые размеры барабана",
                     "минимальный диаметр и максимальная длина барабана"},
    CalculationEntry{"Command3", &ropeCapacity, "Расчёт канатоёмкости",
                     "витки, слои, диаметр реборды, канатоёмкость и толщина стенки барабана"},
};

} // namespace

std::span<const CalculationEntry> calculations() { return table; }

const CalculationEntry* calculationOf(std::string_view button)
{
    const auto it = std::ranges::find(table, button, &CalculationEntry::button);
    return it == table.end() ? nullptr : &*it;
}

} // namespace kalventa

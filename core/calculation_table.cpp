#include "core/calculation_table.h"

#include "core/calculations.h"

#include <algorithm>
#include <array>

namespace kalventa {
namespace {

// In the order of CalculationId.
constexpr std::array table{
    CalculationEntry{CalculationId::RopeCheck, "Command1", &ropeCheck, "Расчёт каната",
                     "минимальное допустимое натяжение каната и заключение о канате", "rope_check"},
    CalculationEntry{CalculationId::DrumSizeLimits, "Command2", &drumSizeLimits, "Допустимые размеры барабана",
                     "минимальный диаметр и максимальная длина барабана", "drum_size_limits"},
    CalculationEntry{CalculationId::RopeCapacity, "Command3", &ropeCapacity, "Расчёт канатоёмкости",
                     "витки, слои, диаметр реборды, канатоёмкость и толщина стенки барабана", "rope_capacity"},
};

} // namespace

std::span<const CalculationEntry> calculations()
{
    return table;
}

const CalculationEntry& calculation(CalculationId id)
{
    return table[static_cast<std::size_t>(id)];
}

const CalculationEntry* calculationOf(std::string_view button)
{
    const auto it
        = std::find_if(table.begin(), table.end(), [&](const CalculationEntry& e) { return e.button == button; });
    return it == table.end() ? nullptr : &*it;
}

} // namespace kalventa

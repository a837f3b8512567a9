#include "core/calculations.h"

#include <array>

namespace kalventa {
namespace {

constexpr std::array buttons{
    ButtonCalculation{"Command1", &ropeCheck},
    ButtonCalculation{"Command2", &drumSizeLimits},
    ButtonCalculation{"Command3", &ropeCapacity},
};

} // namespace

std::span<const ButtonCalculation> buttonCalculations()
{
    return buttons;
}

} // namespace kalventa

#include "core/runtime_error.h"

namespace kalventa {
namespace {

const char* describe(ErrorKind kind)
{
    switch (kind) {
    case ErrorKind::Overflow: return "overflow";
    case ErrorKind::DivisionByZero: return "division by zero";
    case ErrorKind::FloatingPoint: return "floating-point error";
    }
    return "run-time error";
}

} // namespace

RuntimeError::RuntimeError(ErrorKind kind, Quantity quantity)
    : std::runtime_error(describe(kind))
    , kind_(kind)
    , quantity_(quantity)
{
}

RuntimeError RuntimeError::about(Quantity quantity) const
{
    return RuntimeError(kind_, quantity_ == Quantity::Unknown ? quantity : quantity_);
}

} // namespace kalventa

#include "core/meanings.h"

namespace kalventa {
namespace {

// A result label's caption starts with a blank in the place of the sign.
std::string_view withoutSignBlank(std::string_view caption)
{
    return caption.starts_with(' ') ? caption.substr(1) : caption;
}

std::string withUnit(std::string_view caption, std::string_view unit)
{
    std::string value(withoutSignBlank(caption));
    if (!unit.empty())
        value.append(" ").append(unit);
    return value;
}

} // namespace

std::string resultInWords(const QuantityEntry& result, std::string_view caption)
{
    if (result.role == Role::Verdict)
        return std::string(caption.empty() ? result.ifEmpty : result.ifShown);
    return withUnit(caption, result.unit);
}

std::string spokenResult(const QuantityEntry& result, const std::string* caption)
{
    std::string spoken(result.spokenResult);
    spoken.append(": ");
    if (!caption)
        return spoken + "нет результата";
    // A word the label shows is heard as it is seen.
    if (result.role == Role::Verdict && !caption->empty())
        return spoken + *caption;
    return spoken + resultInWords(result, *caption);
}

std::string spokenStopped(const QuantityEntry& result)
{
    return std::string(result.spokenResult) + ": не рассчитано, расчёт остановлен";
}

std::string spokenChoice(std::string_view item)
{
    return item.empty() ? std::string("Ничего не выбрано") : "Выбрано: " + std::string(item);
}

} // namespace kalventa

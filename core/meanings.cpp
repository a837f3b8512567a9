#include "core/meanings.h"

#include <algorithm>
#include <array>

namespace kalventa {
namespace {

// The two load weights are told apart by the calculation they belong to.
constexpr std::array inputs{
    InputMeaning{"Text1", "Вес груза, кг, для расчёта каната"},
    InputMeaning{"Text3", "Разрывное усилие каната, Н"},
    InputMeaning{"Text2", "Диаметр каната, мм"},
    InputMeaning{"Text4", "Диаметр барабана, мм"},
    InputMeaning{"Text5", "Длина барабана, мм"},
    InputMeaning{"Text6", "Диаметр каната d, мм"},
    InputMeaning{"Combo1", "Количество слоёв каната"},
    InputMeaning{"Text7", "Вес груза, кг, для расчёта канатоёмкости"},
    InputMeaning{"Combo2", "Материал барабана"},
};

// In the order the calculations write them.
constexpr std::array results{
    ResultMeaning{"Label3", "Минимальное допустимое натяжение каната", "Н", "натяжение"},
    ResultMeaning{"Label6", "Заключение о канате", {}, "канат", "допустим", "не допустим"},
    ResultMeaning{"Label8", "Минимальный диаметр барабана", "мм", "диаметр барабана не менее"},
    ResultMeaning{"Label10", "Максимальная длина барабана", "мм", "длина барабана не более"},
    ResultMeaning{"Label18", "Слоёв каната", {}, "слоёв"},
    ResultMeaning{"Label21", "Диаметр реборды", "мм", "диаметр реборды"},
    ResultMeaning{"Label16", "Витков в слое", {}, "витков"},
    ResultMeaning{"Label23", "Толщина стенки барабана", "мм", "толщина стенки"},
    ResultMeaning{"Label12", "Остаток длины барабана за последним витком", "мм", "остаток"},
    ResultMeaning{"Label19", "Канатоёмкость без учёта неравномерности укладки", "м",
                  "канатоёмкость без учёта укладки"},
    ResultMeaning{"Label20", "Канатоёмкость", "м", "канатоёмкость"},
};

// A result label's caption starts with a blank in the place of the sign.
std::string_view withoutSignBlank(std::string_view caption)
{
    return caption.starts_with(' ') ? caption.substr(1) : caption;
}

} // namespace

std::span<const InputMeaning> inputMeanings() { return inputs; }
std::span<const ResultMeaning> resultMeanings() { return results; }

const ResultMeaning* resultMeaning(std::string_view label)
{
    const auto it = std::find_if(results.begin(), results.end(), [&](const ResultMeaning& r) { return r.label == label; });
    return it == results.end() ? nullptr : &*it;
}

std::string spokenValue(const ResultMeaning& meaning, std::string_view caption)
{
    if (!meaning.verdictIfEmpty.empty())
        return std::string(caption.empty() ? meaning.verdictIfEmpty : meaning.verdictIfShown);
    std::string value(withoutSignBlank(caption));
    if (!meaning.unit.empty())
        value.append(" ").append(meaning.unit);
    return value;
}

std::string spokenResult(const ResultMeaning& meaning, const std::string* caption)
{
    std::string spoken(meaning.name);
    spoken.append(": ");
    spoken.append(caption ? spokenValue(meaning, *caption) : std::string("нет результата"));
    return spoken;
}

std::string spokenChoice(std::string_view item)
{
    return item.empty() ? std::string("Ничего не выбрано") : "Выбрано: " + std::string(item);
}

} // namespace kalventa

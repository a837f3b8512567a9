#include "core/error_text.h"

#include "core/catalogue.h"

#include <algorithm>

namespace kalventa {
namespace {

struct KindWords {
    std::string_view sentence; // the message's first line
    std::string_view brief;    // the summary's words
};

KindWords words(ErrorKind kind)
{
    switch (kind) {
    case ErrorKind::Overflow: return {"Переполнение: число вышло за допустимые пределы.", "переполнение"};
    case ErrorKind::DivisionByZero: return {"Деление на ноль.", "деление на ноль"};
    case ErrorKind::FloatingPoint:
        return {"Ошибка вычислений с плавающей точкой.", "ошибка вычислений с плавающей точкой"};
    }
    return {"Ошибка выполнения.", "ошибка выполнения"};
}

// The quantity as "при вычислении" and "при чтении" take it.
std::string_view genitive(Quantity quantity)
{
    switch (quantity) {
    case Quantity::Unknown: return {};
    case Quantity::LoadWeight: return "веса груза";
    case Quantity::BreakingForce: return "разрывного усилия каната";
    case Quantity::RopeTension: return "минимального допустимого натяжения каната";
    case Quantity::RopeDiameter: return "диаметра каната";
    case Quantity::MinDrumDiameter: return "минимального диаметра барабана";
    case Quantity::MaxDrumLength: return "максимальной длины барабана";
    case Quantity::DrumDiameter: return "диаметра барабана";
    case Quantity::DrumLength: return "длины барабана";
    case Quantity::TurnsPerLayer: return "числа витков в слое";
    case Quantity::LeftoverLength: return "остатка длины барабана";
    case Quantity::PitchDiameter: return "диаметра навивки слоя";
    case Quantity::FlangeDiameter: return "диаметра реборды";
    case Quantity::LayerLength: return "длины каната в слое";
    case Quantity::TotalRopeLength: return "канатоёмкости без учёта неравномерности укладки";
    case Quantity::RopeCapacity: return "канатоёмкости";
    case Quantity::WallThickness: return "толщины стенки барабана";
    case Quantity::DutyFactor: return "коэффициента запаса";
    case Quantity::ComparedBreakingForce: return "разрывного усилия для сравнения";
    case Quantity::LayerCount: return "количества слоёв";
    case Quantity::AllowableStress: return "допускаемого напряжения";
    case Quantity::FlangeFactor: return "размера Y";
    case Quantity::RopeVerdict: return "заключения о канате";
    }
    return {};
}

} // namespace

std::string_view quantityWords(Quantity quantity)
{
    switch (quantity) {
    case Quantity::Unknown: return {};
    case Quantity::LoadWeight: return "вес груза";
    case Quantity::BreakingForce: return "разрывное усилие каната";
    case Quantity::RopeTension: return "минимальное допустимое натяжение каната";
    case Quantity::RopeDiameter: return "диаметр каната";
    case Quantity::MinDrumDiameter: return "минимальный диаметр барабана";
    case Quantity::MaxDrumLength: return "максимальная длина барабана";
    case Quantity::DrumDiameter: return "диаметр барабана";
    case Quantity::DrumLength: return "длина барабана";
    case Quantity::TurnsPerLayer: return "число витков в слое";
    case Quantity::LeftoverLength: return "остаток длины барабана";
    case Quantity::PitchDiameter: return "диаметр навивки слоя";
    case Quantity::FlangeDiameter: return "диаметр реборды";
    case Quantity::LayerLength: return "длина каната в слое";
    case Quantity::TotalRopeLength: return "канатоёмкость без учёта неравномерности укладки";
    case Quantity::RopeCapacity: return "канатоёмкость";
    case Quantity::WallThickness: return "толщина стенки барабана";
    case Quantity::DutyFactor: return "коэффициент запаса";
    case Quantity::ComparedBreakingForce: return "разрывное усилие для сравнения";
    case Quantity::LayerCount: return "количество слоёв";
    case Quantity::AllowableStress: return "допускаемое напряжение";
    case Quantity::FlangeFactor: return "размер Y";
    case Quantity::RopeVerdict: return "заключение о канате";
    }
    return {};
}

std::string errorText(const RuntimeError& error)
{
    std::string message(words(error.kind()).sentence);
    if (const std::string_view quantity = quantityWords(error.quantity()); !quantity.empty())
        message.append("\nВеличина: ").append(quantity).append(".");
    message.append("\nРасчёт остановлен; проверьте исходные данные.");
    return message;
}

std::string errorClause(const RuntimeError& error)
{
    std::string clause(words(error.kind()).brief);
    const std::string_view quantity = genitive(error.quantity());
    if (quantity.empty())
        return clause;
    const auto rows = catalogue();
    const bool read = std::any_of(rows.begin(), rows.end(), [&](const QuantityEntry& row) {
        return row.quantity == error.quantity() && row.role == Role::Input;
    });
    return clause.append(read ? " при чтении " : " при вычислении ").append(quantity);
}

std::string shortErrorText(const RuntimeError& error)
{
    std::string text(words(error.kind()).brief);
    if (const std::string_view quantity = quantityWords(error.quantity()); !quantity.empty())
        text.append(" (").append(quantity).append(")");
    return text;
}

} // namespace kalventa

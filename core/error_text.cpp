#include "core/error_text.h"

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

std::string shortErrorText(const RuntimeError& error)
{
    std::string text(words(error.kind()).brief);
    if (const std::string_view quantity = quantityWords(error.quantity()); !quantity.empty())
        text.append(" (").append(quantity).append(")");
    return text;
}

} // namespace kalventa

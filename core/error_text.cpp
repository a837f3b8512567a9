#include "core/error_text.h"

#include <string_view>

namespace kalventa {
namespace {

std::string_view describe(ErrorKind kind)
{
    switch (kind) {
    case ErrorKind::Overflow: return "Переполнение: число вышло за допустимые пределы.";
    case ErrorKind::DivisionByZero: return "Деление на ноль.";
    case ErrorKind::FloatingPoint: return "Ошибка вычислений с плавающей точкой.";
    }
    return "Ошибка выполнения.";
}

// The quantity in the words of the window's captions; empty when unknown.
std::string_view describe(Quantity quantity)
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
    }
    return {};
}

} // namespace

std::string errorText(const RuntimeError& error)
{
    std::string message(describe(error.kind()));
    const std::string_view quantity = describe(error.quantity());
    if (!quantity.empty()) {
        message += "\nВеличина: ";
        message += quantity;
        message += '.';
    }
    message += "\nРасчёт остановлен; проверьте исходные данные.";
    return message;
}

} // namespace kalventa

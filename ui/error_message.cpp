#include "ui/error_message.h"

namespace kalventa::ui {
namespace {

QString describe(ErrorKind kind)
{
    switch (kind) {
    case ErrorKind::Overflow: return QStringLiteral("Переполнение: число вышло за допустимые пределы.");
    case ErrorKind::DivisionByZero: return QStringLiteral("Деление на ноль.");
    case ErrorKind::FloatingPoint: return QStringLiteral("Ошибка вычислений с плавающей точкой.");
    }
    return QStringLiteral("Ошибка выполнения.");
}

// The quantity in the words of the window's captions; empty when unknown.
QString describe(Quantity quantity)
{
    switch (quantity) {
    case Quantity::Unknown: return {};
    case Quantity::LoadWeight: return QStringLiteral("вес груза");
    case Quantity::BreakingForce: return QStringLiteral("разрывное усилие каната");
    case Quantity::RopeTension: return QStringLiteral("минимальное допустимое натяжение каната");
    case Quantity::RopeDiameter: return QStringLiteral("диаметр каната");
    case Quantity::MinDrumDiameter: return QStringLiteral("минимальный диаметр барабана");
    case Quantity::MaxDrumLength: return QStringLiteral("максимальная длина барабана");
    case Quantity::DrumDiameter: return QStringLiteral("диаметр барабана");
    case Quantity::DrumLength: return QStringLiteral("длина барабана");
    case Quantity::TurnsPerLayer: return QStringLiteral("число витков в слое");
    case Quantity::LeftoverLength: return QStringLiteral("остаток длины барабана");
    case Quantity::PitchDiameter: return QStringLiteral("диаметр навивки слоя");
    case Quantity::FlangeDiameter: return QStringLiteral("диаметр реборды");
    case Quantity::LayerLength: return QStringLiteral("длина каната в слое");
    case Quantity::TotalRopeLength: return QStringLiteral("канатоёмкость без учёта неравномерности укладки");
    case Quantity::RopeCapacity: return QStringLiteral("канатоёмкость");
    case Quantity::WallThickness: return QStringLiteral("толщина стенки барабана");
    }
    return {};
}

} // namespace

QString errorMessage(const RuntimeError& error)
{
    QString message = describe(error.kind());
    const QString quantity = describe(error.quantity());
    if (!quantity.isEmpty())
        message += QStringLiteral("\nВеличина: %1.").arg(quantity);
    message += QStringLiteral("\nРасчёт остановлен; проверьте исходные данные.");
    return message;
}

} // namespace kalventa::ui

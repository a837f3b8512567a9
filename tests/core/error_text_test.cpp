// The message of a run-time error: the error in words, the quantity it arose
// in (in the words of the window's captions), and what the engineer does next.

#include "core/error_text.h"

#include <QTest>

using namespace kalventa;

Q_DECLARE_METATYPE(kalventa::ErrorKind)
Q_DECLARE_METATYPE(kalventa::Quantity)

namespace {

const QString closing = QStringLiteral("\nРасчёт остановлен; проверьте исходные данные.");

} // namespace

class ErrorTextTest : public QObject {
    Q_OBJECT

private slots:
    void names_the_error_and_the_quantity_data()
    {
        QTest::addColumn<ErrorKind>("kind");
        QTest::addColumn<Quantity>("quantity");
        QTest::addColumn<QString>("text");
        const auto row = [](const char* name, ErrorKind kind, Quantity quantity, const char* text) {
            QTest::newRow(name) << kind << quantity << QString::fromUtf8(text) + closing;
        };
        using enum Quantity;
        const ErrorKind overflow = ErrorKind::Overflow;
        row("overflow, quantity unknown", overflow, Unknown, "Переполнение: число вышло за допустимые пределы.");
        row("division by zero", ErrorKind::DivisionByZero, Unknown, "Деление на ноль.");
        row("floating point", ErrorKind::FloatingPoint, Unknown, "Ошибка вычислений с плавающей точкой.");
        const char* overflowLine = "Переполнение: число вышло за допустимые пределы.\nВеличина: ";
        const auto quantityRow = [&](const char* name, Quantity quantity, const char* words) {
            QTest::newRow(name) << overflow << quantity
                                << QString::fromUtf8(overflowLine) + QString::fromUtf8(words) + QStringLiteral(".")
                    + closing;
        };
        quantityRow("load weight", LoadWeight, "вес груза");
        quantityRow("breaking force", BreakingForce, "разрывное усилие каната");
        quantityRow("rope tension", RopeTension, "минимальное допустимое натяжение каната");
        quantityRow("rope diameter", RopeDiameter, "диаметр каната");
        quantityRow("minimum drum diameter", MinDrumDiameter, "минимальный диаметр барабана");
        quantityRow("maximum drum length", MaxDrumLength, "максимальная длина барабана");
        quantityRow("drum diameter", DrumDiameter, "диаметр барабана");
        quantityRow("drum length", DrumLength, "длина барабана");
        quantityRow("turns per layer", TurnsPerLayer, "число витков в слое");
        quantityRow("leftover length", LeftoverLength, "остаток длины барабана");
        quantityRow("pitch diameter", PitchDiameter, "диаметр навивки слоя");
        quantityRow("flange diameter", FlangeDiameter, "диаметр реборды");
        quantityRow("layer length", LayerLength, "длина каната в слое");
        quantityRow("total rope length", TotalRopeLength, "канатоёмкость без учёта неравномерности укладки");
        quantityRow("rope capacity", RopeCapacity, "канатоёмкость");
        quantityRow("wall thickness", WallThickness, "толщина стенки барабана");
        QTest::newRow("floating point in the flange diameter")
            << ErrorKind::FloatingPoint << FlangeDiameter
            << QStringLiteral("Ошибка вычислений с плавающей точкой.\nВеличина: диаметр реборды.") + closing;
    }

    void names_the_error_and_the_quantity()
    {
        QFETCH(ErrorKind, kind);
        QFETCH(Quantity, quantity);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(errorText(RuntimeError(kind, quantity))), text);
    }
};

QTEST_GUILESS_MAIN(ErrorTextTest)
#include "error_text_test.moc"

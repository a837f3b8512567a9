#include "core/catalogue.h"

#include <algorithm>

namespace kalventa {
namespace {

using enum Quantity;
// The calculations, short, for the table.
constexpr CalculationId Check = CalculationId::RopeCheck;
constexpr CalculationId Limits = CalculationId::DrumSizeLimits;
constexpr CalculationId Capacity = CalculationId::RopeCapacity;
using Controls4 = std::array<std::string_view, 4>;

constexpr QuantityEntry input(CalculationId calculation, Quantity quantity, std::string_view field,
                              std::string_view fileKey, std::string_view symbol, std::string_view name,
                              std::string_view unit, std::string_view spoken)
{
    return {calculation, quantity, Role::Input, fileKey, symbol, name, unit, {}, {}, {field}, {}, {}, {}, spoken};
}

constexpr QuantityEntry choice(CalculationId calculation, Quantity quantity, Controls4 controls,
                               std::string_view fileKey, std::string_view symbol, std::string_view name,
                               std::string_view unit, std::string_view ifEmpty, std::string_view spoken = {})
{
    return {calculation, quantity, Role::Choice, fileKey, symbol,  name, unit,
            {},          {},       controls,     {},      ifEmpty, {},   spoken};
}

constexpr QuantityEntry result(CalculationId calculation, Quantity quantity, std::string_view fileKey,
                               std::string_view symbol, std::string_view name, std::string_view unit,
                               std::string_view formula, std::string_view substitution)
{
    return {calculation, quantity, Role::Result, fileKey, symbol, name, unit, formula, substitution};
}

// The same quantity, shown in a result label with what a screen reader and
// a run's summary call it there.
constexpr QuantityEntry shownIn(QuantityEntry entry, std::string_view label, std::string_view spoken,
                                std::string_view summaryWord)
{
    entry.label = label;
    entry.spokenResult = spoken;
    entry.summaryWord = summaryWord;
    return entry;
}

// The same quantity, which the calculation may take as another value than
// its field reads, and why.
constexpr QuantityEntry replaced(QuantityEntry entry, std::string_view why)
{
    entry.replacement = why;
    return entry;
}

// In each calculation its inputs, then its choices, then what it works out
// in the order worked out.
// Kept as written: one quantity a row, as the calculations read.
// clang-format off
constexpr std::array entries{
    // The rope check. The two load weights are told apart by their calculation.
    input(Check, LoadWeight, "Text1", "load_weight_kg", "Q", "вес груза", "кг",
          "Вес груза, кг, для расчёта каната"),
    input(Check, BreakingForce, "Text3", "breaking_force_n", "Fр", "разрывное усилие каната", "Н",
          "Разрывное усилие каната, Н"),
    choice(Check, DutyFactor, {"Option1", "Option2", "Option3", "Option4"}, "duty_class", "k",
           "коэффициент запаса по режиму работы", {}, "0 (режим работы не выбран)"),
    shownIn(result(Check, RopeTension, "min_rope_tension_n", "Sмин", "минимальное допустимое натяжение каната",
                   "Н", "Q · k · 10", "{Q} · {k} · 10"),
            "Label3", "Минимальное допустимое натяжение каната", "натяжение"),
    QuantityEntry{Check, ComparedBreakingForce, Role::Working, "compared_breaking_force_n", "Fр",
                  "разрывное усилие для сравнения", "Н", {}, {}},
    QuantityEntry{Check, RopeVerdict, Role::Verdict, "rope_verdict", {}, "заключение о канате", {}, {}, {}, {},
                  "Label6", "допустим", "не допустим", {}, "Заключение о канате", "канат"},

    // The drum size limits.
    input(Limits, RopeDiameter, "Text2", "rope_diameter_mm", "d", "диаметр каната", "мм",
          "Диаметр каната, мм"),
    shownIn(result(Limits, MinDrumDiameter, "min_drum_diameter_mm", "Dмин", "минимальный диаметр барабана",
                   "мм", "19 · d", "19 · {d}"),
            "Label8", "Минимальный диаметр барабана", "диаметр барабана не менее"),
    shownIn(result(Limits, MaxDrumLength, "max_drum_length_mm", "Lмакс", "максимальная длина барабана", "мм",
                   "3 · Dмин", "3 · {Dмин}"),
            "Label10", "Максимальная длина барабана", "длина барабана не более"),

    // The rope capacity.
    input(Capacity, DrumDiameter, "Text4", "drum_diameter_mm", "D", "диаметр барабана", "мм",
          "Диаметр барабана, мм"),
    input(Capacity, DrumLength, "Text5", "drum_length_mm", "L", "длина барабана", "мм", "Длина барабана, мм"),
    replaced(input(Capacity, RopeDiameter, "Text6", "rope_diameter_mm", "d", "диаметр каната", "мм",
                   "Диаметр каната d, мм"),
             "пустое поле или 0 расчёт заменяет на 1 мм"),
    input(Capacity, LoadWeight, "Text7", "load_weight_kg", "Q", "вес груза", "кг",
          "Вес груза, кг, для расчёта канатоёмкости"),
    shownIn(choice(Capacity, LayerCount, {"Combo1"}, "rope_layers", "N", "число слоёв каната", {},
                   "1 (не выбрано)", "Количество слоёв каната"),
            "Label18", "Слоёв каната", "слоёв"),
    choice(Capacity, AllowableStress, {"Combo2"}, "drum_material", "[σ]",
           "допускаемое напряжение материала барабана", "кг/мм²", "1 (материал не выбран)", "Материал барабана"),
    choice(Capacity, FlangeFactor, {"Option5", "Option6"}, "flange_margin", "Y", "размер Y в диаметрах каната",
           {}, "0 (не выбран)"),
    shownIn(result(Capacity, TurnsPerLayer, "turns_per_layer", "n", "число витков в слое", {}, "⌊L / d⌋",
                   "⌊{L} / {d}⌋"),
            "Label16", "Витков в слое", "витков"),
    shownIn(result(Capacity, LeftoverLength, "leftover_length_mm", "g",
                   "остаток длины барабана за последним витком", "мм", "L − n · d", "{L} − {n} · {d}"),
            "Label12", "Остаток длины барабана за последним витком", "остаток"),
    result(Capacity, PitchDiameter, "top_layer_pitch_diameter_mm", "P{N}", "диаметр навивки верхнего слоя", "мм",
           "D + d + 2 · d · ({N} − 1)", "{D} + {d} + 2 · {d} · {N-1}"),
    shownIn(result(Capacity, FlangeDiameter, "flange_diameter_mm", "F", "диаметр реборды", "мм",
                   "P{N} + d + 2 · d · Y", "{P} + {d} + 2 · {d} · {Y}"),
            "Label21", "Диаметр реборды", "диаметр реборды"),
    result(Capacity, LayerLength, "top_layer_rope_length_m", "l{N}", "длина каната в верхнем слое", "м",
           "3.14159 · P{N} · n / 1000", "3.14159 · {P} · {n} / 1000"),
    shownIn(result(Capacity, TotalRopeLength, "rope_length_m", "S",
                   "канатоёмкость без учёта неравномерности укладки", "м", "{l-symbols}", "{l-values}"),
            "Label19", "Канатоёмкость без учёта неравномерности укладки", "канатоёмкость без учёта укладки"),
    shownIn(result(Capacity, RopeCapacity, "rope_capacity_m", "Sк", "канатоёмкость", "м", "0.9 · S", "0.9 · {S}"),
            "Label20", "Канатоёмкость", "канатоёмкость"),
    shownIn(result(Capacity, WallThickness, "wall_thickness_mm", "t", "толщина стенки барабана", "мм",
                   "⌈Q / ([σ] · d)⌉", "⌈{Q} / ({[σ]} · {d})⌉"),
            "Label23", "Толщина стенки барабана", "толщина стенки"),
};

constexpr std::array constantEntries{
    ConstantEntry{Check, "10", "ускорение свободного падения, принятое 10 м/с²"},
    ConstantEntry{Limits, "19", "наименьшее отношение диаметра барабана к диаметру каната"},
    ConstantEntry{Limits, "3", "наибольшее отношение длины барабана к его диаметру"},
    ConstantEntry{Capacity, "3.14159", "число π, принятое 3.14159"},
    ConstantEntry{Capacity, "1000", "миллиметров в метре"},
    ConstantEntry{Capacity, "0.9", "коэффициент неравномерности укладки каната"},
};

// The whole duty factors are Integers and the fractional ones Doubles, so the
// tension is a Single for light and heavy duty and a Double for medium and
// traction duty, and its label shows 7 or 15 digits accordingly. The
// allowable stresses are in kg/mm², by the list's index.
constexpr std::array choiceValueEntries{
    ChoiceValue{Check, DutyFactor, "Option1", -1, "лёгкий", Variant(Integer{5})},
    ChoiceValue{Check, DutyFactor, "Option2", -1, "средний", Variant(5.5)},
    ChoiceValue{Check, DutyFactor, "Option3", -1, "тяжёлый", Variant(Integer{6})},
    ChoiceValue{Check, DutyFactor, "Option4", -1, "тяговый", Variant(4.5)},
    ChoiceValue{Capacity, AllowableStress, "Combo2", 0, "сварная сталь", Variant(Integer{14})},
    ChoiceValue{Capacity, AllowableStress, "Combo2", 1, "чугун", Variant(Integer{10})},
};
// clang-format on

} // namespace

std::span<const QuantityEntry> catalogue()
{
    return entries;
}

std::span<const ConstantEntry> constants()
{
    return constantEntries;
}

std::span<const ChoiceValue> choiceValues()
{
    return choiceValueEntries;
}

const QuantityEntry* entryOf(CalculationId calculation, Quantity quantity)
{
    const auto it = std::find_if(entries.begin(), entries.end(), [&](const QuantityEntry& e) {
        return e.calculation == calculation && e.quantity == quantity;
    });
    return it == entries.end() ? nullptr : &*it;
}

const QuantityEntry* entryShownIn(std::string_view label)
{
    const auto it = std::find_if(entries.begin(), entries.end(),
                                 [&](const QuantityEntry& e) { return !label.empty() && e.label == label; });
    return it == entries.end() ? nullptr : &*it;
}

const QuantityEntry* entryWithRole(CalculationId calculation, Role role)
{
    const auto it = std::find_if(entries.begin(), entries.end(), [&](const QuantityEntry& e) {
        return e.calculation == calculation && e.role == role;
    });
    return it == entries.end() ? nullptr : &*it;
}

bool reads(CalculationId calculation, std::string_view control)
{
    return std::any_of(entries.begin(), entries.end(),
                       [&](const QuantityEntry& e) { return e.calculation == calculation && e.readFrom(control); });
}

} // namespace kalventa

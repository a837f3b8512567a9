#pragma once
// What the window's inputs and results mean to a person who cannot see the
// window: the words a screen reader says for each, and the words of a run's
// summary. The labels beside the controls say it to the eye; these say it
// whole, once, with the unit. The names themselves are in the catalogue.

#include "core/catalogue.h"

#include <string>
#include <string_view>

namespace kalventa {

// The drum sketch, which takes the focus and holds fields and results.
struct PictureMeaning {
    std::string_view control;
    std::string_view name;
    std::string_view description;
};

inline constexpr PictureMeaning sketchMeaning{
    "Picture1", "Эскиз барабана",
    "Барабан сбоку: обечайка, две реборды и слой витков каната. На эскизе поля диаметра и длины "
    "барабана и результаты: число слоёв и витков, толщина стенки, диаметр реборды, остаток длины "
    "барабана и канатоёмкость."};

// The result as heard, the label's own text as it stands:
// "Минимальное допустимое натяжение каната: 55000 Н",
// "Заключение о канате: Не допустимо"; "…: нет результата" while no run has
// written the label (`caption` null).
std::string spokenResult(const QuantityEntry& result, const std::string* caption);

// A result label a stopped run emptied, as heard:
// "Толщина стенки барабана: не рассчитано, расчёт остановлен".
std::string spokenStopped(const QuantityEntry& result);

// The value and unit, or the verdict in words, of a caption a run wrote, as
// a sentence names it: "55000 Н", "не допустим".
std::string resultInWords(const QuantityEntry& result, std::string_view caption);

// A list's chosen item as heard: "Выбрано: 3"; "Ничего не выбрано" for none.
std::string spokenChoice(std::string_view item);

} // namespace kalventa

#pragma once
// What the window's inputs and results mean to a person who cannot see the
// window: the words a screen reader says for each, and the words of a run's
// summary. The labels beside the controls say it to the eye; these say it
// whole, once, with the unit.

#include <span>
#include <string>
#include <string_view>

namespace kalventa {

struct InputMeaning {
    std::string_view control;
    std::string_view name; // "Диаметр каната, мм"
};

struct ResultMeaning {
    std::string_view label;
    std::string_view name;        // "Минимальное допустимое натяжение каната"
    std::string_view unit;        // "Н"; empty for counts and the verdict
    std::string_view summaryWord; // "натяжение": how a run's summary names it
    // A verdict label shows a word or nothing; these say what each means.
    std::string_view verdictIfEmpty = {};
    std::string_view verdictIfShown = {};
};

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

std::span<const InputMeaning> inputMeanings();
std::span<const ResultMeaning> resultMeanings();
const ResultMeaning* resultMeaning(std::string_view label);

// The result as heard: "Минимальное допустимое натяжение каната: 55000 Н",
// "Заключение о канате: не допустим"; "…: нет результата" while no run has
// written the label (`caption` null).
std::string spokenResult(const ResultMeaning& meaning, const std::string* caption);

// The value and unit, or the verdict, of a caption a run wrote: "55000 Н".
std::string spokenValue(const ResultMeaning& meaning, std::string_view caption);

// A list's chosen item as heard: "Выбрано: 3"; "Ничего не выбрано" for none.
std::string spokenChoice(std::string_view item);

} // namespace kalventa

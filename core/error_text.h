#pragma once
// The words for a run-time error: the message the engineer reads when a
// calculation stops, and the short form a run's summary gives.

#include "core/runtime_error.h"

#include <string>
#include <string_view>

namespace kalventa {

// What went wrong, the quantity when the calculation knows it, and what to do:
// "Переполнение: число вышло за допустимые пределы.\nВеличина: длина
// барабана.\nРасчёт остановлен; проверьте исходные данные."
std::string errorText(const RuntimeError& error);

// The error in a few words: "переполнение (длина барабана)".
std::string shortErrorText(const RuntimeError& error);

// The quantity in the words of the window's captions, lower case; empty when
// unknown.
std::string_view quantityWords(Quantity quantity);

// The error with the step it stopped, as a sentence goes on after a colon:
// "переполнение при вычислении диаметра навивки слоя", "… при чтении диаметра
// каната" for an input; the error alone when the step is unknown.
std::string errorClause(const RuntimeError& error);

} // namespace kalventa

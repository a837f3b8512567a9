#pragma once
// The three calculations of the window, one for each button. Each reads its
// inputs from the controls, computes, and writes its result labels in a fixed
// order. A run-time error (kalventa::RuntimeError) ends a calculation where it
// happens: labels written before it keep their new texts, later ones keep
// their old ones.

#include "core/controls.h"

#include <span>
#include <string_view>

namespace kalventa {

// Command1: reads Text1, Text3, Option1 to Option4; writes Label3, Label6.
void ropeCheck(Controls& window);

// Command2: reads Text2; writes Label8, Label10.
void drumSizeLimits(Controls& window);

// Command3: reads Text4, Text5, Text6, Text7, Combo1, Combo2, Option5, Option6;
// writes Label18 and Label21 once per rope layer, then Label16, Label23,
// Label12, Label19, Label20.
void ropeCapacity(Controls& window);

} // namespace kalventa

#pragma once
// The colour of each ink a control's text is set in.

#include "ui/look.h"
#include "window/layout_table.h"

namespace kalventa::ui {

inline QColor inkColour(Ink ink)
{
    switch (ink) {
    case Ink::Standard: return standardText;
    case Ink::GroupCaption: return groupCaption;
    case Ink::Result: return resultText;
    case Ink::Verdict: return verdictText;
    }
    return standardText;
}

} // namespace kalventa::ui

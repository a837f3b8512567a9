#pragma once
// The window as a screen reader presents it: every input named by what it
// is, every result by its meaning, current text and unit, each caption label
// tied to the control it captions, the group boxes and the sketch named, the
// buttons described by their calculation; and after each run, one short
// summary announced on the button that was pressed.

#include "core/run_record.h"

#include <string_view>

class QString;
class QWidget;
class QAbstractButton;

namespace kalventa::ui {

// Names, descriptions and label relations of a freshly built window.
void nameForScreenReaders(QWidget& window);

// Sets a description and makes sure a screen reader whose focus is on the
// widget hears it, also when the same text is set again.
void announce(QWidget& widget, const QString& description);

// The calculations as before any run: each result named without a value and
// each button telling its purpose.
void forgetRuns(QWidget& window);

// After a run: the results it wrote are renamed with their new texts, and
// the button's description becomes the run's summary, which a screen reader
// whose focus is on the button announces.
void speakRun(QWidget& window, QAbstractButton& button, const RunRecord& record);

// An input changed: the buttons whose calculation reads it no longer tell the
// summary of a run on other inputs, but their purpose again.
void forgetSummaries(QWidget& window, std::string_view control);

} // namespace kalventa::ui

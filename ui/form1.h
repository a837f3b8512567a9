#pragma once
// Form1: the one window of the program. Three groups, one for each
// calculation (the rope check, the drum size limits and the rope capacity
// with the drum sketch), and a credit line. Pressing a group's button runs its
// calculation on the window's own fields and shows the results in its labels.

#include "core/controls.h"
#include "core/run_history.h"

#include <QWidget>

#include <string>
#include <utility>

class QAbstractButton;

namespace kalventa {
class RuntimeError;
struct CalculationEntry;
} // namespace kalventa

namespace kalventa::ui {

class Form1 final : public QWidget {
public:
    explicit Form1(QWidget* parent = nullptr);

    // Runs the calculation as its button does.
    void runCalculation(CalculationId id);
    // Back to the state at start: every field empty, no option on, no list
    // item chosen, the labels' first captions, no runs.
    void startNew();
    const RunHistory& history() const { return history_; }
    // A note in the report under the calculation's last run.
    void noteOnRun(CalculationId id, std::string note) { history_.noteOnRun(id, std::move(note)); }

private:
    void buildControls();
    void connectButtons();
    void run(const CalculationEntry& calculation, QAbstractButton& button);
    void reportError(const RuntimeError& error);
    void trackInputChanges();

    RunHistory history_;
};

} // namespace kalventa::ui

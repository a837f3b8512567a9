#include "ui/result_formulas.h"

#include "core/calculation_table.h"
#include "core/formulas.h"
#include "ui/text.h"

#include <QLabel>

namespace kalventa::ui {
namespace {

// The tooltip, and the description a screen reader reads after the result.
void explain(QWidget& window, std::string_view label, const RunRecord* lastRun)
{
    auto* widget = window.findChild<QLabel*>(fromUtf8(label));
    if (!widget)
        return;
    const QString text = fromUtf8(resultTooltip(label, lastRun));
    widget->setToolTip(plainToolTip(text));
    widget->setAccessibleDescription(text);
}

} // namespace

void showFormulas(QWidget& window, const RunHistory& history)
{
    for (const CalculationEntry& calculation : calculations()) {
        const RunRecord* lastRun = history.lastRun(calculation.button);
        for (const QuantityRow& row : quantityRows())
            if (row.button == calculation.button && !row.label.empty())
                explain(window, row.label, lastRun);
    }
    // The verdict has no formula of its own: its tooltip gives the comparison.
    explain(window, "Label6", history.lastRun("Command1"));
}

} // namespace kalventa::ui

#include "ui/result_formulas.h"

#include "core/calculation_table.h"
#include "core/formulas.h"
#include "ui/text.h"

#include <QLabel>

namespace kalventa::ui {

void showFormulas(QWidget& window, const RunHistory& history)
{
    for (const CalculationEntry& calculation : calculations())
        for (const LabelText& tooltip : resultTooltips(calculation.id, history.lastRun(calculation.id))) {
            // The tooltip, and the description a screen reader reads after the result.
            auto* label = window.findChild<QLabel*>(fromUtf8(tooltip.label));
            if (!label)
                continue;
            const QString text = fromUtf8(tooltip.text);
            label->setToolTip(plainToolTip(text));
            label->setAccessibleDescription(text);
        }
}

} // namespace kalventa::ui

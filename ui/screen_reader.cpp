#include "ui/screen_reader.h"

#include "core/calculation_table.h"
#include "core/meanings.h"
#include "ui/text.h"
#include "window/layout_table.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>

namespace kalventa::ui {
namespace {

template <class Widget = QWidget>
Widget& child(const QWidget& window, std::string_view name)
{
    return *window.findChild<Widget*>(fromUtf8(name));
}

// A list's chosen item: its description for a screen reader, and its tooltip,
// which shows the whole text where the box cuts it off.
void followChoice(QComboBox& list)
{
    const auto update = [&list] {
        list.setAccessibleDescription(fromUtf8(spokenChoice(list.currentText().toStdString())));
        list.setToolTip(list.currentText());
    };
    update();
    QObject::connect(&list, &QComboBox::currentIndexChanged, &list, update);
}

// What a button says before its first run, and again once an input it reads
// changes: its calculation and what it works out.
QString purposeOf(const CalculationEntry& calculation)
{
    return fromUtf8(std::string(calculation.title) + ": " + std::string(calculation.purpose));
}

} // namespace

void announce(QWidget& widget, const QString& description)
{
    if (widget.accessibleDescription() != description) {
        widget.setAccessibleDescription(description);
        return;
    }
    QAccessibleEvent event(&widget, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
}

void nameForScreenReaders(QWidget& window)
{
    // A group box inside another would be named by the outer one's caption.
    for (QGroupBox* group : window.findChildren<QGroupBox*>())
        group->setAccessibleName(group->title());

    for (const QuantityEntry& quantity : catalogue())
        if (!quantity.spokenInput.empty())
            child(window, quantity.controls[0]).setAccessibleName(fromUtf8(quantity.spokenInput));
    forgetRuns(window);
    for (const CaptionRow& row : captionRows())
        child<QLabel>(window, row.label).setBuddy(&child(window, row.control));

    QWidget& sketch = child(window, sketchMeaning.control);
    sketch.setAccessibleName(fromUtf8(sketchMeaning.name));
    sketch.setAccessibleDescription(fromUtf8(sketchMeaning.description));

    for (QComboBox* list : window.findChildren<QComboBox*>())
        followChoice(*list);
}

void forgetRuns(QWidget& window)
{
    for (const QuantityEntry& quantity : catalogue())
        if (!quantity.label.empty())
            child(window, quantity.label).setAccessibleName(fromUtf8(spokenResult(quantity, nullptr)));
    for (const CalculationEntry& calculation : calculations())
        child(window, calculation.button).setAccessibleDescription(purposeOf(calculation));
}

void speakRun(QWidget& window, QAbstractButton& button, const RunRecord& record)
{
    for (const QuantityEntry& result : catalogue()) {
        if (result.label.empty() || !record.calculation || result.calculation != record.calculation->id)
            continue;
        if (const std::string* caption = record.finalCaption(result.label))
            child(window, result.label).setAccessibleName(fromUtf8(spokenResult(result, caption)));
        else if (record.error)
            child(window, result.label).setAccessibleName(fromUtf8(spokenStopped(result)));
    }
    announce(button, fromUtf8(runSummary(record)));
}

void forgetSummaries(QWidget& window, std::string_view control)
{
    for (const CalculationEntry& calculation : calculations())
        if (reads(calculation.id, control))
            if (QWidget& button = child(window, calculation.button);
                button.accessibleDescription() != purposeOf(calculation))
                button.setAccessibleDescription(purposeOf(calculation));
}

} // namespace kalventa::ui

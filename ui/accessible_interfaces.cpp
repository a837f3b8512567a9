#include "ui/accessible_interfaces.h"

#include "ui/drum_sketch.h"
#include "ui/form1.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>

namespace kalventa::ui {
namespace {

// A drop-down list named by its caption; the chosen item is its value, and
// the items are in the pop-up list, its one child, as in Qt's own interface.
class ListAccessible final : public QAccessibleWidget {
public:
    explicit ListAccessible(QComboBox* list)
        : QAccessibleWidget(list, QAccessible::ComboBox)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        switch (t) {
        case QAccessible::Name: return widget()->accessibleName();
        case QAccessible::Value: return list()->currentText();
        default: return QAccessibleWidget::text(t);
        }
    }

    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override
    {
        return index == 0 ? QAccessible::queryAccessibleInterface(list()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        return child && child->object() == list()->view() ? 0 : -1;
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = list()->view()->isVisible();
        s.collapsed = !s.expanded;
        return s;
    }

    QStringList actionNames() const override
    {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override
    {
        if (action == showMenuAction() || action == pressAction())
            list()->showPopup();
        else
            QAccessibleWidget::doAction(action);
    }

private:
    QComboBox* list() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* windowInterfaces(const QString& /*className*/, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget)
        return nullptr;
    if (dynamic_cast<Form1*>(widget))
        return new QAccessibleWidget(widget, QAccessible::Window);
    if (qobject_cast<DrumSketch*>(widget))
        return new QAccessibleWidget(widget, QAccessible::Graphic);
    // Only the window's own lists: a file dialog's lists keep Qt's interface.
    if (auto* list = qobject_cast<QComboBox*>(widget); list && dynamic_cast<Form1*>(list->window()))
        return new ListAccessible(list);
    return nullptr;
}

} // namespace

void installAccessibleInterfaces()
{
    static const bool installed = [] {
        QAccessible::installFactory(&windowInterfaces);
        return true;
    }();
    (void)installed;
}

} // namespace kalventa::ui

#include "ui/input_notices.h"

#include "ui/text.h"

#include <QLineEdit>
#include <QToolTip>

namespace kalventa::ui {
namespace {

void setNotice(QLineEdit& field, const QString& notice)
{
    // The notice quotes what was typed, which may look like markup.
    field.setToolTip(plainToolTip(notice));
    field.setAccessibleDescription(notice);
}

} // namespace

void dropNoticesOnEdit(QWidget& window)
{
    for (QLineEdit* field : window.findChildren<QLineEdit*>()) {
        QObject::connect(field, &QLineEdit::textChanged, field, [field] {
            if (field->accessibleDescription().isEmpty())
                return;
            setNotice(*field, {});
            QToolTip::hideText();
        });
    }
}

void showNotices(QWidget& window, const RunRecord& record)
{
    QLineEdit* first = nullptr;
    for (const FieldRead& read : record.fieldsRead) {
        auto* field = window.findChild<QLineEdit*>(fromUtf8(read.field));
        if (!field)
            continue;
        setNotice(*field, fromUtf8(read.notice));
        if (!first && !read.notice.empty())
            first = field;
    }
    if (first)
        QToolTip::showText(first->mapToGlobal(QPoint(0, first->height())), first->toolTip(), first);
}

} // namespace kalventa::ui

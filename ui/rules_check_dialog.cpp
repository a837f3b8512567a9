#include "ui/rules_check_dialog.h"

#include "ui/screen_reader.h"
#include "ui/text.h"
#include "ui/widget_controls.h"
#include "ui/window_action.h"

#include <QAction>
#include <QComboBox>
#include <QDate>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace kalventa::ui {
namespace {

using rules::RulesQuantity;

const QString dialogName = QStringLiteral("RulesCheck");

QString spokenName(RulesQuantity quantity)
{
    return fromUtf8(rules::entryOf(quantity).spoken);
}

class RulesCheckDialog final : public QDialog {
public:
    RulesCheckDialog(QWidget& window, const RunHistory& history)
        : QDialog(&window)
        , window_(window)
        , history_(history)
    {
        setObjectName(dialogName);
        setWindowTitle(fromUtf8(rules::checkTitle));
        setAccessibleName(fromUtf8(rules::checkTitle));
        setAccessibleDescription(fromUtf8(rules::advisoryNote));
        setModal(false);
        build();
        followTheWindow();
        // The summary is told once typing pauses, not at every key.
        announcing_.setSingleShot(true);
        announcing_.setInterval(400);
        connect(&announcing_, &QTimer::timeout, this, [this] { announceSummary(); });
        refresh();
    }

    rules::CheckInputs inputs()
    {
        WidgetControls controls(*this);
        return rules::readInputs(controls);
    }

    rules::CheckResult check()
    {
        WidgetControls controls(window_);
        return rules::runCheck(inputs(), controls, history_, today());
    }

private:
    QWidget* field(const rules::CheckControl& control)
    {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(fromUtf8(control.names[0]));
        edit->setAccessibleName(spokenName(control.quantity));
        edit->setPlaceholderText(fromUtf8(control.placeholder));
        connect(edit, &QLineEdit::textChanged, this, [this] { refresh(); });
        inputs_.push_back(edit);
        return edit;
    }

    QWidget* list(const rules::CheckControl& control)
    {
        auto* list = new QComboBox(this);
        list->setObjectName(fromUtf8(control.names[0]));
        list->setAccessibleName(spokenName(control.quantity));
        for (int g = 1; g <= rules::groupCount; ++g)
            list->addItem(fromUtf8(rules::groupName(g)));
        list->setPlaceholderText(fromUtf8(control.placeholder));
        list->setCurrentIndex(-1);
        connect(list, &QComboBox::currentIndexChanged, this, [this] { refresh(); });
        inputs_.push_back(list);
        return list;
    }

    // Two option buttons side by side in a row of their own, the first on.
    QWidget* pair(const rules::CheckControl& control)
    {
        auto* row = new QWidget(this);
        row->setAccessibleName(spokenName(control.quantity));
        auto* layout = new QHBoxLayout(row);
        layout->setContentsMargins(0, 0, 0, 0);
        for (std::size_t i = 0; i < 2; ++i) {
            auto* option = new QRadioButton(fromUtf8(control.options[i]), row);
            option->setObjectName(fromUtf8(control.names[i]));
            option->setChecked(i == 0);
            option->setAccessibleName(spokenName(control.quantity) + QStringLiteral(": ") + option->text());
            connect(option, &QRadioButton::toggled, this, [this] { refresh(); });
            layout->addWidget(option);
            inputs_.push_back(option);
        }
        layout->addStretch();
        return row;
    }

    void build()
    {
        auto* advisory = new QLabel(fromUtf8(rules::advisoryNote), this);
        advisory->setObjectName(QStringLiteral("rulesAdvisory"));
        advisory->setWordWrap(true);
        QFont bold = advisory->font();
        bold.setBold(true);
        advisory->setFont(bold);

        auto* form = new QFormLayout;
        for (const rules::CheckControl& control : rules::checkControls()) {
            QWidget* made = control.kind == rules::ControlKind::List ? list(control)
                : control.kind == rules::ControlKind::Field          ? field(control)
                                                                     : pair(control);
            auto* label = new QLabel(fromUtf8(control.caption), this);
            label->setBuddy(made);
            form->addRow(label, made);
        }

        results_ = new QPlainTextEdit(this);
        results_->setObjectName(fromUtf8(rules::resultsControl));
        results_->setAccessibleName(fromUtf8(rules::resultsName));
        results_->setReadOnly(true);
        // Read with the arrow keys, left with Tab.
        results_->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
        results_->setTabChangesFocus(true);
        results_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        inputs_.push_back(results_);

        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
        QPushButton* close = buttons->button(QDialogButtonBox::Close);
        close->setText(QStringLiteral("Закрыть"));
        close->setObjectName(QStringLiteral("rulesClose"));
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

        auto* layout = new QVBoxLayout(this);
        layout->addWidget(advisory);
        layout->addLayout(form);
        layout->addWidget(results_, 1);
        layout->addWidget(buttons);
        resize(640, 620);
    }

    // The window's fields as they change, and its runs as they end (the
    // buttons' own handlers, connected first, have run by then).
    void followTheWindow()
    {
        for (QLineEdit* field : window_.findChildren<QLineEdit*>())
            if (field->window() == &window_)
                connect(field, &QLineEdit::textChanged, this, [this] { refresh(); });
        for (QPushButton* button : window_.findChildren<QPushButton*>())
            if (button->window() == &window_)
                connect(button, &QPushButton::clicked, this, [this] { refresh(); });
    }

    void refresh()
    {
        const rules::CheckResult result = check();
        QString text;
        for (const std::string& line : rules::resultText(result))
            text += fromUtf8(line) + QLatin1Char('\n');
        text.chop(1);
        if (results_->toPlainText() != text)
            results_->setPlainText(text);
        summary_ = fromUtf8(result.summary);
        announcing_.start();
    }

    void announceSummary()
    {
        for (QWidget* input : inputs_)
            announce(*input, summary_);
    }

    QWidget& window_;
    const RunHistory& history_;
    QPlainTextEdit* results_ = nullptr;
    std::vector<QWidget*> inputs_; // every control the summary is told on
    QTimer announcing_;
    QString summary_;
};

// The window's one dialog of that name is the check's.
RulesCheckDialog* findDialog(const QWidget& window)
{
    return static_cast<RulesCheckDialog*>(window.findChild<QDialog*>(dialogName, Qt::FindDirectChildrenOnly));
}

} // namespace

rules::CalendarDate today()
{
    const QDate date = QDate::currentDate();
    return {date.year(), date.month(), date.day()};
}

void addRulesCheck(QWidget& window, const RunHistory& history)
{
    QAction* action = addWindowAction(window, fromUtf8(rules::checkTitle) + QStringLiteral("…"), rulesCheckKey);
    QObject::connect(action, &QAction::triggered, &window, [&window, &history] { openRulesCheck(window, history); });
}

void openRulesCheck(QWidget& window, const RunHistory& history)
{
    QWidget& dialog = rulesCheckDialog(window, history);
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
}

QWidget& rulesCheckDialog(QWidget& window, const RunHistory& history)
{
    RulesCheckDialog* dialog = findDialog(window);
    return dialog ? *dialog : *new RulesCheckDialog(window, history);
}

QWidget* openedRulesCheck(const QWidget& window)
{
    return findDialog(window);
}

std::optional<rules::CheckResult> currentRulesCheck(const QWidget& window)
{
    if (RulesCheckDialog* dialog = findDialog(window))
        return dialog->check();
    return std::nullopt;
}

} // namespace kalventa::ui

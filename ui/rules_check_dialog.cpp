#include "ui/rules_check_dialog.h"

#include "ui/text.h"
#include "ui/widget_controls.h"

#include <QAccessible>
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

// A screen reader whose focus is on a control hears its description when it
// changes; the same text set again is announced again as well.
void announce(QWidget& widget, const QString& description)
{
    if (widget.accessibleDescription() != description) {
        widget.setAccessibleDescription(description);
        return;
    }
    QAccessibleEvent event(&widget, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
}

class RulesCheckDialog final : public QDialog {
public:
    RulesCheckDialog(QWidget& window, const RunHistory& history)
        : QDialog(&window), window_(window), history_(history)
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

    rules::CheckInputs inputs() const
    {
        rules::CheckInputs in;
        in.group = group_->currentIndex() + 1;
        in.rope = standing_->isChecked() ? rules::RopeKind::Standing : rules::RopeKind::Running;
        in.reevingRatio = reevingRatio_->text().toStdString();
        in.woundBranches = woundBranches_->text().toStdString();
        in.efficiency = efficiency_->text().toStdString();
        in.bearings = plain_->isChecked() ? rules::Bearings::Plain : rules::Bearings::Rolling;
        in.hookMass = hookMass_->text().toStdString();
        return in;
    }

    rules::CheckResult check() const
    {
        WidgetControls controls(window_);
        return rules::runCheck(inputs(), controls, history_, today());
    }

private:
    QLineEdit* field(RulesQuantity quantity, const char* name, const QString& placeholder)
    {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setAccessibleName(spokenName(quantity));
        edit->setPlaceholderText(placeholder);
        connect(edit, &QLineEdit::textChanged, this, [this] { refresh(); });
        inputs_.push_back(edit);
        return edit;
    }

    // Two option buttons side by side in a row of their own, the first on.
    QWidget* pair(QRadioButton*& first, const char* firstName, const QString& firstText, QRadioButton*& second,
                  const char* secondName, const QString& secondText, RulesQuantity quantity)
    {
        auto* row = new QWidget(this);
        row->setObjectName(QString::fromLatin1(firstName) + QStringLiteral("Row"));
        row->setAccessibleName(spokenName(quantity));
        auto* layout = new QHBoxLayout(row);
        layout->setContentsMargins(0, 0, 0, 0);
        first = new QRadioButton(firstText, row);
        second = new QRadioButton(secondText, row);
        first->setObjectName(QString::fromLatin1(firstName));
        second->setObjectName(QString::fromLatin1(secondName));
        first->setChecked(true);
        for (QRadioButton* option : {first, second}) {
            option->setAccessibleName(spokenName(quantity) + QStringLiteral(": ") + option->text());
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

        group_ = new QComboBox(this);
        group_->setObjectName(QStringLiteral("rulesGroup"));
        group_->setAccessibleName(spokenName(RulesQuantity::Group));
        for (int g = 1; g <= rules::groupCount; ++g)
            group_->addItem(fromUtf8(rules::groupName(g)));
        group_->setPlaceholderText(QStringLiteral("не выбрана"));
        group_->setCurrentIndex(-1);
        connect(group_, &QComboBox::currentIndexChanged, this, [this] { refresh(); });
        inputs_.push_back(group_);

        QWidget* ropeKind = pair(running_, "rulesRunning", QStringLiteral("бегучий"), standing_, "rulesStanding",
                                 QStringLiteral("стоячий"), RulesQuantity::RopeKind);
        reevingRatio_ = field(RulesQuantity::ReevingRatio, "rulesReevingRatio", QStringLiteral("1"));
        woundBranches_ = field(RulesQuantity::WoundBranches, "rulesWoundBranches", QStringLiteral("1"));
        efficiency_ = field(RulesQuantity::Efficiency, "rulesEfficiency", QStringLiteral("по u и подшипникам"));
        QWidget* bearings = pair(rolling_, "rulesRolling", QStringLiteral("качения, ηб = 0.985"), plain_, "rulesPlain",
                                 QStringLiteral("скольжения, ηб = 0.95"), RulesQuantity::PulleyBearings);
        hookMass_ = field(RulesQuantity::HookMass, "rulesHookMass", QStringLiteral("0"));

        auto* form = new QFormLayout;
        const auto row = [&](const QString& caption, QWidget* control) {
            auto* label = new QLabel(caption, this);
            label->setBuddy(control);
            form->addRow(label, control);
        };
        row(QStringLiteral("Группа классификации механизма:"), group_);
        row(QStringLiteral("Канат:"), ropeKind);
        row(QStringLiteral("Кратность полиспаста u:"), reevingRatio_);
        row(QStringLiteral("Ветвей каната на барабане a:"), woundBranches_);
        row(QStringLiteral("КПД полиспаста η:"), efficiency_);
        row(QStringLiteral("Подшипники блоков:"), bearings);
        row(QStringLiteral("Масса крюковой подвески m, кг:"), hookMass_);

        results_ = new QPlainTextEdit(this);
        results_->setObjectName(QStringLiteral("rulesResults"));
        results_->setAccessibleName(QStringLiteral("Результаты проверки"));
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
    QComboBox* group_ = nullptr;
    QRadioButton* running_ = nullptr;
    QRadioButton* standing_ = nullptr;
    QLineEdit* reevingRatio_ = nullptr;
    QLineEdit* woundBranches_ = nullptr;
    QLineEdit* efficiency_ = nullptr;
    QRadioButton* rolling_ = nullptr;
    QRadioButton* plain_ = nullptr;
    QLineEdit* hookMass_ = nullptr;
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
    auto* action = new QAction(QStringLiteral("Проверка по действующим правилам…"), &window);
    action->setShortcut(rulesCheckKey);
    action->setShortcutVisibleInContextMenu(true);
    window.addAction(action);
    QObject::connect(action, &QAction::triggered, &window, [&window, &history] {
        RulesCheckDialog* dialog = findDialog(window);
        if (!dialog)
            dialog = new RulesCheckDialog(window, history);
        dialog->show();
        dialog->raise();
        dialog->activateWindow();
    });
}

std::optional<rules::CheckResult> currentRulesCheck(const QWidget& window)
{
    if (const RulesCheckDialog* dialog = findDialog(window))
        return dialog->check();
    return std::nullopt;
}

} // namespace kalventa::ui

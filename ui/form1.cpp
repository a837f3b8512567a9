#include "ui/form1.h"

#include "core/calculation_table.h"
#include "core/error_text.h"
#include "core/run_record.h"
#include "ui/accessible_interfaces.h"
#include "ui/calculation_files.h"
#include "ui/drum_sketch.h"
#include "ui/enter_presses_button.h"
#include "ui/ink.h"
#include "ui/input_notices.h"
#include "ui/look.h"
#include "ui/report_actions.h"
#include "ui/result_formulas.h"
#include "ui/rules_check_dialog.h"
#include "ui/screen_reader.h"
#include "ui/text.h"
#include "ui/text_field.h"
#include "ui/widget_controls.h"
#include "window/layout_table.h"

#include <QComboBox>
#include <QDateTime>
#include <QGroupBox>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>

#include <map>

namespace kalventa::ui {
namespace {

// Every control names each colour it uses, so that nothing of a red group
// caption passes on to the group's contents. A group box draws its caption in
// the Text role, every other control its caption in WindowText or ButtonText,
// and fields their contents in Text on the platform's white Base.
QPalette paletteFor(Kind kind, Ink ink)
{
    QPalette palette;
    palette.setColor(QPalette::Window, formBackground);
    palette.setColor(QPalette::WindowText, inkColour(ink));
    palette.setColor(QPalette::Text, kind == Kind::GroupBox ? inkColour(ink) : standardText);
    palette.setColor(QPalette::ButtonText, standardText);
    if (kind == Kind::Button)
        palette.setColor(QPalette::Button, buttonFace);
    return palette;
}

QWidget* createControl(const ControlRow& row, QWidget* container)
{
    const QString text = fromUtf8(row.text);
    switch (row.kind) {
    case Kind::GroupBox: return new QGroupBox(text, container);
    case Kind::TextField: return new TextField(container);
    case Kind::OptionButton: {
        auto* option = new QRadioButton(text, container);
        // A button fills its background with the face colour; an option
        // button shows the ground of its group instead.
        option->setBackgroundRole(QPalette::Window);
        return option;
    }
    case Kind::DropDownList: return new QComboBox(container);
    case Kind::Button: return new QPushButton(text, container);
    case Kind::PictureArea: return new DrumSketch(container);
    case Kind::Label: {
        auto* label = new QLabel(container);
        // Results are numbers from the calculations; never read them as markup.
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignTop | (row.look.align == Align::Centred ? Qt::AlignHCenter : Qt::AlignLeft));
        label->setText(text);
        return label;
    }
    }
    return nullptr;
}

QIcon drumIcon()
{
    QIcon icon;
    for (const int size : {16, 32, 48}) {
        // Read as PNG, which Qt reads itself: asking the image plugins which
        // of them knows the file would load every one of them at start.
        QImageReader reader(QStringLiteral(":/icons/kalventa-%1.png").arg(size), "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    return icon;
}

} // namespace

Form1::Form1(QWidget* parent)
    : QWidget(parent)
{
    useWindowLook();
    installAccessibleInterfaces();

    setObjectName(fromUtf8(formName));
    setWindowTitle(windowCaption);
    setWindowIcon(drumIcon());
    // Black text on the warm ground, like a plain label.
    setPalette(paletteFor(Kind::Label, Ink::Standard));
    setAutoFillBackground(true);
    // Set here as well as for the application: with the font only inherited,
    // start-up costs some 5 % more instructions (measured with callgrind).
    setFont(windowFont(FontForm::Regular8));
    // No layout: enlarging the window shows more background, shrinking it
    // cuts the controls off at its edge.
    resize(inPixels(clientArea).size());

    buildControls();
    nameForScreenReaders(*this);
    dropNoticesOnEdit(*this);
    pressButtonsWithEnter(*this);
    showFormulas(*this, history_);
    addCalculationFiles(*this);
    addReportActions(*this, history_);
    addRulesCheck(*this, history_);
    trackInputChanges();
    connectButtons();
}

void Form1::buildControls()
{
    std::map<std::string_view, QWidget*> byName{{formName, this}};
    // One palette for each kind and ink, shared by the controls that have them.
    std::map<std::pair<Kind, Ink>, QPalette> palettes;

    for (const ControlRow& row : controlRows()) {
        QWidget* container = byName.at(row.container);
        QWidget* control = createControl(row, container);
        control->setObjectName(fromUtf8(row.name));
        control->setFont(windowFont(row.look.font));
        const auto [palette, added] = palettes.try_emplace({row.kind, row.look.ink});
        if (added)
            palette->second = paletteFor(row.kind, row.look.ink);
        control->setPalette(palette->second);
        control->setAutoFillBackground(row.kind != Kind::Button);
        auto* sketch = qobject_cast<DrumSketch*>(container);
        control->setGeometry(sketch ? sketch->placeInside(row.box) : inPixels(row.box));
        byName.emplace(row.name, control);
    }

    // Labels lie under the other controls of their container, in the order of
    // the rows among themselves: "Витки" under the turns per layer beside it.
    // (A reverse loop by hand: clang 14 cannot take libstdc++ 12's reverse view.)
    const auto rows = controlRows();
    for (auto row = rows.rbegin(); row != rows.rend(); ++row)
        if (row->kind == Kind::Label)
            byName.at(row->name)->lower();

    for (const ListRow& row : listRows()) {
        auto* list = qobject_cast<QComboBox*>(byName.at(row.list));
        for (const std::string_view item : row.items)
            list->addItem(fromUtf8(item));
        list->setCurrentIndex(-1);
    }

    QWidget* previous = nullptr;
    for (const std::string_view name : tabOrder()) {
        QWidget* next = byName.at(name);
        if (previous)
            setTabOrder(previous, next);
        previous = next;
    }

    byName.at(tabOrder().front())->setFocus();
}

void Form1::connectButtons()
{
    for (const CalculationEntry& calculation : calculations()) {
        auto* button = findChild<QPushButton*>(fromUtf8(calculation.button));
        connect(button, &QPushButton::clicked, this, [this, &calculation, button] { run(calculation, *button); });
    }
}

void Form1::runCalculation(CalculationId id)
{
    findChild<QPushButton*>(fromUtf8(calculation(id).button))->click();
}

void Form1::startNew()
{
    for (const ControlRow& row : controlRows()) {
        auto* control = findChild<QWidget*>(fromUtf8(row.name));
        if (auto* field = qobject_cast<QLineEdit*>(control)) {
            field->setText(QString());
            field->setToolTip(QString()); // a notice of the last run
            field->setAccessibleDescription(QString());
        } else if (auto* option = qobject_cast<QRadioButton*>(control)) {
            // An option of a group turns off only with the group's exclusion lifted.
            option->setAutoExclusive(false);
            option->setChecked(false);
            option->setAutoExclusive(true);
        } else if (auto* list = qobject_cast<QComboBox*>(control)) {
            list->setCurrentIndex(-1);
        } else if (auto* label = qobject_cast<QLabel*>(control)) {
            label->setText(fromUtf8(row.text));
        }
    }
    history_ = RunHistory{};
    forgetRuns(*this);
    showFormulas(*this, history_);
}

void Form1::run(const CalculationEntry& calculation, QAbstractButton& button)
{
    WidgetControls controls(*this);
    // A run-time error stops this calculation only: the labels it wrote keep
    // their new texts, and everything the engineer typed stays for a correction.
    RunRecord record = recordRun(calculation, controls);
    // Every number on screen belongs to the inputs on screen: the results a
    // stopped run did not reach are emptied, not left from an earlier run.
    for (const std::string_view label : labelsLeftBehind(record))
        controls.setCaption(label, {});
    showNotices(*this, record);
    speakRun(*this, button, record);
    const std::optional<RuntimeError> error = record.error;
    record.ranAt = QDateTime::currentDateTime().toString(QStringLiteral("dd.MM.yyyy HH:mm")).toStdString();
    history_.add(std::move(record));
    showFormulas(*this, history_);
    if (error)
        reportError(*error);
}

// A run whose inputs change afterwards is marked so in the report, and its
// button tells its purpose again instead of that run's summary.
void Form1::trackInputChanges()
{
    const auto changed = [this](const QObject* control, auto state) {
        return [this, control, state] {
            const std::string name = control->objectName().toStdString();
            history_.inputChanged(name, state());
            forgetSummaries(*this, name);
        };
    };
    // Each control's state as a run reads it: the text as UTF-8, the option's
    // Value, the list's ListIndex.
    for (auto* field : findChildren<QLineEdit*>())
        connect(field, &QLineEdit::textChanged, this,
                changed(field, [field] { return controlState(field->text().toStdString()); }));
    for (auto* option : findChildren<QRadioButton*>())
        connect(option, &QRadioButton::toggled, this,
                changed(option, [option] { return controlState(Integer(option->isChecked() ? -1 : 0)); }));
    for (auto* list : findChildren<QComboBox*>())
        connect(list, &QComboBox::currentIndexChanged, this,
                changed(list, [list] { return controlState(Integer(list->currentIndex())); }));
}

void Form1::reportError(const RuntimeError& error)
{
    auto* box
        = new QMessageBox(QMessageBox::Critical, windowCaption, fromUtf8(errorText(error)), QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // Modal to the window but without a nested event loop: the click handler
    // returns at once, and the window is blocked until the box is closed.
    box->open();
}

} // namespace kalventa::ui

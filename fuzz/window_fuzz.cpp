// Arbitrary field texts, options and list choices into the real window on
// Qt's offscreen platform, and a click on one of its buttons. Whatever the
// input: nothing crashes, every label holds exactly what the calculation
// writes for the same inputs through an in-memory window, and a run-time
// error, and only that, opens the message box with its text.
//
// Input layout: fuzz_input.h; in each option group the last option on wins,
// as clicking them would, and the texts are any bytes, UTF-8 or not.

#include "core/calculation_table.h"
#include "core/error_text.h"
#include "core/run_record.h"
#include "core/runtime_error.h"
#include "fuzz_input.h"
#include "memory_controls.h"
#include "ui/form1.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QToolTip>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

using namespace kalventa;
using kalventa::testing::MemoryControls;
using namespace kalventa::fuzzing;

namespace {

constexpr std::array resultLabels{"Label3",  "Label6",  "Label8",  "Label10", "Label12", "Label16",
                                  "Label18", "Label19", "Label20", "Label21", "Label23"};

template <class Widget>
Widget& child(const QWidget& window, const char* name)
{
    auto* widget = window.findChild<Widget*>(QString::fromLatin1(name));
    require(widget != nullptr);
    return *widget;
}

QWidget* theWindow = nullptr;

// Sets the window's inputs from the fuzz input.
void enter(QWidget& window, const FuzzInput& input)
{
    // Fields the input gives no text are emptied; the labels keep what the
    // runs before wrote, as the window does.
    for (std::size_t field = 0; field < textFields.size(); ++field) {
        const std::string_view text = field < input.texts.size() ? input.texts[field] : std::string_view{};
        const QString typed = QString::fromUtf8(text.data(), qsizetype(text.size()));
        auto& edit = child<QLineEdit>(window, textFields[field]);
        edit.setText(typed);
        // A field keeps a text of any length whole, however far past its width.
        require(edit.text() == typed);
    }
    for (const char* name : options) {
        auto& option = child<QRadioButton>(window, name);
        // An exclusive option cannot be turned off on its own.
        option.setAutoExclusive(false);
        option.setChecked(false);
        option.setAutoExclusive(true);
    }
    for (std::size_t k = 0; k < options.size(); ++k)
        if (input.optionOn[k])
            child<QRadioButton>(window, options[k]).setChecked(true);
    child<QComboBox>(window, "Combo1").setCurrentIndex(input.combo1);
    child<QComboBox>(window, "Combo2").setCurrentIndex(input.combo2);
}

// The same inputs and the labels as they stand, in memory.
MemoryControls mirror(const QWidget& window)
{
    MemoryControls copy;
    for (const char* name : textFields)
        copy.texts[name] = child<QLineEdit>(window, name).text().toStdString();
    for (const char* name : options)
        copy.values[name] = child<QRadioButton>(window, name).isChecked() ? Integer{-1} : Integer{0};
    for (const char* name : {"Combo1", "Combo2"})
        copy.listIndexes[name] = static_cast<Integer>(child<QComboBox>(window, name).currentIndex());
    for (const char* name : resultLabels)
        copy.captions[name] = child<QLabel>(window, name).text().toStdString();
    return copy;
}

QMessageBox* openBox(const QWidget& window)
{
    for (QMessageBox* box : window.findChildren<QMessageBox*>())
        if (box->isVisible())
            return box;
    return nullptr;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Both live until the process ends: destroyed at exit, after Qt's own
    // globals, the window would crash.
    static auto* application = new QApplication(*argc, *argv);
    (void)application;
    theWindow = new ui::Form1;
    theWindow->show();
    // Fonts, the tooltip and the message box load caches of Qt and fontconfig
    // on first use, which the leak check would take for leaks of one input:
    // every button once, with a notice and an error, before the first input.
    static const std::array<std::uint8_t, 9> warmUp{0, 1, '1', 'E', '+', '3', '9', 'x', '\n'};
    for (std::uint8_t button = 0; button < 3; ++button) {
        std::array<std::uint8_t, 9> input = warmUp;
        input[0] = button;
        LLVMFuzzerTestOneInput(input.data(), input.size());
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::optional<FuzzInput> input = FuzzInput::from(data, size);
    if (!input)
        return 0;
    QWidget& window = *theWindow;
    enter(window, *input);

    const CalculationEntry& calculation = calculations()[input->calculation];
    MemoryControls expected = mirror(window);
    const RunRecord record = recordRun(calculation, expected);
    const std::optional<RuntimeError>& error = record.error;
    for (const std::string_view label : labelsLeftBehind(record))
        expected.setCaption(label, {});

    child<QPushButton>(window, std::string(calculation.button).c_str()).click();

    for (const char* name : resultLabels)
        require(child<QLabel>(window, name).text().toStdString() == expected.caption(name));
    QMessageBox* box = openBox(window);
    require((box != nullptr) == error.has_value());
    if (box) {
        require(box->text().toStdString() == errorText(*error));
        box->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QToolTip::hideText();
    return 0;
}

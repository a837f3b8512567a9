// What the window does with the keyboard and with what is typed, beyond the
// calculations: Enter and Return press a focused button as Space does, fields
// keep texts of up to 1 048 576 characters, refuse more with a balloon, and
// edit a long text as a plain line edit would, the calculations read the
// texts whole, and a field whose text was not read whole says so in its
// tooltip and its description until its text changes or a later run reads it
// whole.

#include "ui/form1.h"
#include "window_test_support.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTextDocument>
#include <QToolTip>
#include <QtTest>

#include <memory>

using namespace kalventa::ui::testing;
using kalventa::ui::Form1;

namespace {

constexpr int capacity = 1'048'576;

// Well above the length from which a field shows its text itself, and short
// enough for a plain QLineEdit to compare with.
QString longText()
{
    return QStringLiteral("0123456789 кг, abc ").repeated(1000);
}

// Chooses an enabled item of the field's context menu as a click on it does:
// the menu goes, then the item's action runs.
void chooseFromMenu(QLineEdit& edit, const char* title)
{
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5), edit.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&edit, &event);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    const QList<QAction*> actions = menu->actions();
    const auto item = std::find_if(actions.begin(), actions.end(), [title](const QAction* action) {
        return action->text().section(u'\t', 0, 0) == QLineEdit::tr(title);
    });
    menu->hide();
    QVERIFY(item != actions.end() && (*item)->isEnabled());
    (*item)->trigger();
}

// Performs one step of a table row: a key sequence ("Shift+Left"), "type
// TEXT", "click X", "shift-click X", "double-click X", "drag X Y", with X and
// Y in pixels from the field's left edge, "menu ITEM", or "long clipboard",
// which puts longText() on the clipboard.
void perform(QLineEdit& edit, const QString& step)
{
    const QStringList words = step.split(u' ');
    const auto at = [&edit, &words](int word) { return QPoint(words.at(word).toInt(), edit.height() / 2); };
    // A click lands on what the field last showed.
    edit.repaint();
    if (step == QLatin1String("long clipboard")) {
        QGuiApplication::clipboard()->setText(longText());
    } else if (words.front() == QLatin1String("menu")) {
        chooseFromMenu(edit, step.mid(5).toLatin1().constData());
    } else if (words.front() == QLatin1String("type")) {
        QTest::keyClicks(&edit, step.mid(5));
    } else if (words.front() == QLatin1String("click")) {
        QTest::mouseClick(&edit, Qt::LeftButton, {}, at(1));
    } else if (words.front() == QLatin1String("shift-click")) {
        QTest::mouseClick(&edit, Qt::LeftButton, Qt::ShiftModifier, at(1));
    } else if (words.front() == QLatin1String("double-click")) {
        QTest::mouseDClick(&edit, Qt::LeftButton, {}, at(1));
    } else if (words.front() == QLatin1String("drag")) {
        QTest::mousePress(&edit, Qt::LeftButton, {}, at(1));
        QTest::mouseMove(&edit, at(2));
        QTest::mouseRelease(&edit, Qt::LeftButton, {}, at(2));
    } else {
        const QKeyCombination key = QKeySequence::fromString(step)[0];
        QTest::keyClick(&edit, key.key(), key.keyboardModifiers());
    }
}

// What a run of steps left: the text, the cursor, the selection, the
// clipboard and the pixels of the field.
struct Outcome {
    QString text;
    int cursor;
    QString selected;
    QString clipboard;
    QImage pixels;
};

Outcome run(QLineEdit& edit, const QString& start, const QStringList& steps)
{
    QGuiApplication::clipboard()->clear();
    edit.setText(start);
    edit.setFocus();
    for (const QString& step : steps)
        perform(edit, step);
    return {edit.text(), edit.cursorPosition(), edit.selectedText(), QGuiApplication::clipboard()->text(),
            renderAlone(edit, false)};
}

} // namespace

class WindowInputTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Form1> window;

    QLineEdit& field(const char* name) const { return control<QLineEdit>(*window, QString::fromLatin1(name)); }
    QString label(const char* name) const { return control<QLabel>(*window, QString::fromLatin1(name)).text(); }
    QPushButton& button(const char* name) const { return control<QPushButton>(*window, QString::fromLatin1(name)); }

    // What the tooltip shows, as a person reads it.
    static QString shownToolTip(const QWidget& widget)
    {
        QTextDocument document;
        document.setHtml(widget.toolTip());
        return widget.toolTip().isEmpty() ? QString() : document.toPlainText();
    }

    static QString description(QWidget& widget)
    {
        return QAccessible::queryAccessibleInterface(&widget)->text(QAccessible::Description);
    }

private slots:
    void init()
    {
        window = std::make_unique<Form1>();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    void cleanup() { window.reset(); }

    void keys_on_a_focused_button_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("repeat"); // a key held down: the repeats only
        QTest::addColumn<bool>("presses");
        QTest::newRow("Return") << int(Qt::Key_Return) << int(Qt::NoModifier) << false << true;
        QTest::newRow("Enter on the number pad") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << false << true;
        QTest::newRow("Space") << int(Qt::Key_Space) << int(Qt::NoModifier) << false << true;
        QTest::newRow("Ctrl+Return is another shortcut")
            << int(Qt::Key_Return) << int(Qt::ControlModifier) << false << false;
        QTest::newRow("a letter") << int(Qt::Key_A) << int(Qt::NoModifier) << false << false;
        QTest::newRow("Return held: its repeats press nothing")
            << int(Qt::Key_Return) << int(Qt::NoModifier) << true << false;
    }

    void keys_on_a_focused_button()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, repeat);
        QFETCH(bool, presses);
        field("Text2").setText(QStringLiteral("12"));
        field("Text1").setText(QStringLiteral("1000"));
        control<QAbstractButton>(*window, QStringLiteral("Option1")).setChecked(true);
        for (const auto& [name, result, expected] :
             {std::tuple{"Command1", "Label3", " 50000"}, std::tuple{"Command2", "Label8", " 228"}}) {
            QPushButton& pressed = button(name);
            pressed.setFocus();
            QVERIFY(pressed.hasFocus());
            if (repeat) {
                for (int i = 0; i < 3; ++i) {
                    QKeyEvent held(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), QString(), true);
                    QApplication::sendEvent(&pressed, &held);
                }
            } else {
                QTest::keyClick(&pressed, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
            }
            QCOMPARE(label(result), presses ? QString::fromLatin1(expected) : QString());
        }
    }

    void enter_in_a_field_does_nothing()
    {
        field("Text2").setText(QStringLiteral("12"));
        field("Text2").setFocus();
        QTest::keyClick(&field("Text2"), Qt::Key_Return);
        QTest::keyClick(&field("Text2"), Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(label("Label8"), QString());
        QVERIFY(field("Text2").hasFocus());
    }

    // Zeros and then "12" must read as 12, not as the zeros alone.
    void long_texts_are_kept_and_read_whole_data()
    {
        QTest::addColumn<int>("zeros");
        QTest::addColumn<bool>("pasted");
        QTest::newRow("100,000 characters set") << 100'000 - 2 << false;
        QTest::newRow("as many as a field holds, set") << capacity - 2 << false;
        QTest::newRow("as many as a field holds, pasted") << capacity - 2 << true;
    }

    void long_texts_are_kept_and_read_whole()
    {
        QFETCH(int, zeros);
        QFETCH(bool, pasted);
        const QString text = QString(zeros, QLatin1Char('0')) + QStringLiteral("12");
        if (pasted) {
            QGuiApplication::clipboard()->setText(text);
            field("Text2").setFocus();
            QTest::keyClick(&field("Text2"), Qt::Key_V, Qt::ControlModifier);
        } else {
            field("Text2").setText(text);
        }
        QVERIFY(field("Text2").text() == text);
        QTest::mouseClick(&button("Command2"), Qt::LeftButton);
        QCOMPARE(label("Label8"), QStringLiteral(" 228"));
        QCOMPARE(description(field("Text2")), QString());
    }

    // Nothing is cut short: an insertion the field cannot hold whole is
    // refused, and a balloon at the field says why.
    void an_insertion_past_the_capacity_is_refused_data()
    {
        QTest::addColumn<int>("held");
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("inserted");
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("balloon");
        const QString notPasted = QStringLiteral("Текст не вставлен: в поле помещается не больше 1 048 576 знаков.");
        const QString notTyped = QStringLiteral("Знак не введён: в поле помещается не больше 1 048 576 знаков.");
        QTest::newRow("pasted into an empty field") << 0 << 0 << capacity + 1 << "Ctrl+V" << notPasted;
        QTest::newRow("pasted into a short text") << 2 << 0 << capacity - 1 << "Ctrl+V" << notPasted;
        QTest::newRow("pasted into a long text") << capacity - 2 << 0 << 3 << "Ctrl+V" << notPasted;
        QTest::newRow("pasted over a selection too short") << capacity << 2 << 3 << "Ctrl+V" << notPasted;
        QTest::newRow("pasted over a selection long enough") << capacity << 3 << 3 << "Ctrl+V"
                                                             << "";
        QTest::newRow("pasted from the menu") << capacity - 2 << 0 << 3 << "menu" << notPasted;
        QTest::newRow("dropped") << 10 << 0 << capacity << "drop" << notPasted;
        QTest::newRow("typed into a full field") << capacity << 0 << 1 << "type" << notTyped;
        QTest::newRow("typed over a selection") << capacity << 1 << 1 << "type"
                                                << "";
    }

    void an_insertion_past_the_capacity_is_refused()
    {
        QFETCH(int, held);
        QFETCH(int, selected);
        QFETCH(int, inserted);
        QFETCH(QString, how);
        QFETCH(QString, balloon);
        QLineEdit& edit = field("Text6");
        const QString before = QString(held, QLatin1Char('1'));
        const QString insertion = QString(inserted, QLatin1Char('7'));
        edit.setText(before);
        edit.setFocus();
        edit.setSelection(held - selected, selected);
        QGuiApplication::clipboard()->setText(insertion);
        if (how == QLatin1String("Ctrl+V")) {
            QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
        } else if (how == QLatin1String("menu")) {
            chooseFromMenu(edit, "&Paste");
        } else if (how == QLatin1String("drop")) {
            QMimeData data;
            data.setText(insertion);
            QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(&edit, &enter);
            QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(&edit, &drop);
        } else {
            QTest::keyClick(&edit, Qt::Key_7);
        }
        const bool refused = !balloon.isEmpty();
        QVERIFY(edit.text() == (refused ? before : before.left(held - selected) + insertion));
        QCOMPARE(QToolTip::isVisible(), refused);
        if (refused) {
            QTextDocument shown;
            shown.setHtml(QToolTip::text());
            QCOMPARE(shown.toPlainText(), balloon);
        }
        QToolTip::hideText();
    }

    // A text long enough for the field to show it itself is edited as a
    // plain QLineEdit edits it: the same text, cursor, selection, clipboard
    // and pixels after the same keys and clicks.
    void a_long_text_is_edited_as_a_plain_line_edit_would_data()
    {
        QTest::addColumn<QString>("start");
        QTest::addColumn<QStringList>("steps");
        const QString text = longText();
        QTest::newRow("as set: cursor at the end") << text << QStringList{};
        QTest::newRow("Home") << text << QStringList{"Home"};
        QTest::newRow("Home, then End") << text << QStringList{"Home", "Right", "End", "type x"};
        QTest::newRow("typing after Home and Right") << text << QStringList{"Home", "Right", "Right", "type 5.5"};
        QTest::newRow("Backspace at the end") << text << QStringList{"Backspace", "Backspace", "Backspace"};
        QTest::newRow("Delete, Left at the end") << text << QStringList{"Left", "Left", "Left", "Delete", "Delete"};
        QTest::newRow("select and copy") << text
                                         << QStringList{"Home", "Right", "Shift+Right", "Shift+Right", "Ctrl+C"};
        QTest::newRow("select back and cut") << text << QStringList{"Shift+Left", "Shift+Left", "Shift+Left", "Ctrl+X"};
        QTest::newRow("words") << text << QStringList{"Home", "Ctrl+Right", "Ctrl+Right", "Ctrl+Shift+Right", "Ctrl+C"};
        QTest::newRow("words back") << text << QStringList{"Ctrl+Left", "Ctrl+Left", "Ctrl+Backspace"};
        QTest::newRow("Shift+Home, Right") << text << QStringList{"End", "Left", "Shift+Home", "Right"};
        QTest::newRow("undo typing") << text << QStringList{"type ab", "type c", "Ctrl+Z"};
        QTest::newRow("undo Backspace and typing") << text << QStringList{"type ab", "Backspace", "Ctrl+Z", "Ctrl+Z"};
        QTest::newRow("undo and redo a cut")
            << text << QStringList{"Shift+Left", "Shift+Left", "Ctrl+X",       "type 9",
                                   "Ctrl+Z",     "Ctrl+Z",     "Ctrl+Shift+Z", "Ctrl+Y"};
        QTest::newRow("paste over a selection")
            << text << QStringList{"Shift+Left", "Shift+Left", "Ctrl+C", "Home", "Shift+Right", "Ctrl+V", "Ctrl+Z"};
        QTest::newRow("click") << text << QStringList{"click 20", "type x"};
        QTest::newRow("clicks at both ends") << text << QStringList{"click 3", "click 50", "type x"};
        QTest::newRow("shift-click") << text << QStringList{"click 40", "shift-click 10", "Ctrl+C"};
        QTest::newRow("double-click") << text << QStringList{"Home", "double-click 25", "Ctrl+C"};
        QTest::newRow("drag") << text << QStringList{"Home", "drag 5 45", "Ctrl+C"};
        QTest::newRow("select all") << text << QStringList{"Ctrl+A", "Ctrl+C"};
        QTest::newRow("copy, cut and undo from the menu")
            << text << QStringList{"Shift+Left", "Shift+Left", "menu &Copy",  "Left",      "Shift+Left",
                                   "menu Cu&t",  "Shift+Left", "menu Delete", "menu &Undo"};
        QTest::newRow("becoming short") << text << QStringList{"Home", "Shift+End", "type 12"};
        QTest::newRow("typed, then a long paste undone")
            << QString() << QStringList{"type 12", "Home", "long clipboard", "Ctrl+V", "Ctrl+Z", "Ctrl+Z"};
        QTest::newRow("a short text") << QStringLiteral("400") << QStringList{"Left", "type 5", "Backspace", "Ctrl+Z"};
    }

    void a_long_text_is_edited_as_a_plain_line_edit_would()
    {
        QFETCH(QString, start);
        QFETCH(QStringList, steps);
        QLineEdit& edit = field("Text7");
        QFont font = edit.font();
        font.setHintingPreference(QFont::PreferFullHinting);
        edit.setFont(font);
        QLineEdit plain(edit.parentWidget());
        plain.setMaxLength(capacity);
        plain.setGeometry(edit.geometry());
        plain.setFont(edit.font());
        plain.setPalette(edit.palette());
        plain.show();
        const Outcome field = run(edit, start, steps);
        const Outcome expected = run(plain, start, steps);
        QVERIFY(field.text == expected.text);
        QCOMPARE(field.cursor, expected.cursor);
        QCOMPARE(field.selected, expected.selected);
        QCOMPARE(field.clipboard, expected.clipboard);
        QCOMPARE(field.pixels, expected.pixels);
    }

    void typing_past_the_old_limit_keeps_every_character()
    {
        field("Text2").setText(QString(32767, QLatin1Char('0')));
        field("Text2").setCursorPosition(32767);
        QTest::keyClicks(&field("Text2"), QStringLiteral("12"));
        QCOMPARE(field("Text2").text().size(), 32769);
    }

    void a_misread_field_says_so_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("notice");
        QTest::newRow("decimal comma") << "12,5"
                                       << "Прочитано как 12: запятая не входит в число. Для 12,5 введите 12.5";
        QTest::newRow("letters after") << "12abc"
                                       << "Прочитано как 12: «abc» после числа не учтено.";
        QTest::newRow("no number") << "abc"
                                   << "Прочитано как 0: текст не начинается с числа.";
        QTest::newRow("markup shows as typed") << "12<b>x</b>"
                                               << "Прочитано как 12: «<b>x</b>» после числа не учтено.";
        QTest::newRow("Cyrillic read as typed") << "12 мм"
                                                << "Прочитано как 12: «мм» после числа не учтено.";
        QTest::newRow("read whole") << "12.5"
                                    << "";
        QTest::newRow("empty") << ""
                               << "";
    }

    void a_misread_field_says_so()
    {
        QFETCH(QString, text);
        QFETCH(QString, notice);
        // The breaking force, read after the load, which is read whole.
        field("Text1").setText(QStringLiteral("1000"));
        field("Text3").setText(text);
        QTest::mouseClick(&button("Command1"), Qt::LeftButton);
        QCOMPARE(shownToolTip(field("Text3")), notice);
        QCOMPARE(description(field("Text3")), notice);
        // The balloon shows at the misread field right after the click.
        QCOMPARE(QToolTip::isVisible(), !notice.isEmpty());
        if (!notice.isEmpty())
            QCOMPARE(QToolTip::text(), field("Text3").toolTip());
        QToolTip::hideText();
    }

    void a_notice_goes_when_the_text_changes()
    {
        field("Text2").setText(QStringLiteral("5,5"));
        QTest::mouseClick(&button("Command2"), Qt::LeftButton);
        QVERIFY(!description(field("Text2")).isEmpty());
        QVERIFY(QToolTip::isVisible());
        // Keys straight to the field, without the focus moving, which would
        // hide the balloon anyway.
        QTest::keyClick(&field("Text2"), Qt::Key_End);
        QTest::keyClick(&field("Text2"), Qt::Key_Backspace);
        QCOMPARE(description(field("Text2")), QString());
        QCOMPARE(field("Text2").toolTip(), QString());
        QTRY_VERIFY(!QToolTip::isVisible());
    }

    void a_notice_goes_when_a_later_run_reads_the_field_whole()
    {
        field("Text1").setText(QStringLiteral("1000,5"));
        field("Text3").setText(QStringLiteral("1e"));
        QTest::mouseClick(&button("Command1"), Qt::LeftButton);
        QCOMPARE(description(field("Text1")),
                 QStringLiteral("Прочитано как 1000: запятая не входит в число. Для 1000,5 введите 1000.5"));
        QCOMPARE(description(field("Text3")), QStringLiteral("Прочитано как 1: «e» после числа не учтено."));

        // Another calculation leaves these fields and their notices alone.
        QTest::mouseClick(&button("Command2"), Qt::LeftButton);
        QVERIFY(!description(field("Text1")).isEmpty());

        // Changing the text programmatically counts as a change too; the run
        // then reads both whole and says nothing.
        field("Text1").blockSignals(true);
        field("Text1").setText(QStringLiteral("1000"));
        field("Text1").blockSignals(false);
        field("Text3").setText(QStringLiteral("1"));
        QTest::mouseClick(&button("Command1"), Qt::LeftButton);
        QCOMPARE(description(field("Text1")), QString());
        QCOMPARE(description(field("Text3")), QString());
        QVERIFY(!QToolTip::isVisible());
    }

    // After a run each result is named with its new text; the button's
    // description is the run's summary.
    void a_run_is_spoken_on_its_button()
    {
        QTest::mouseClick(&button("Command1"), Qt::LeftButton);
        field("Text2").setText(QStringLiteral("8.3"));
        QTest::mouseClick(&button("Command2"), Qt::LeftButton);
        QCOMPARE(description(button("Command2")),
                 QStringLiteral("Допустимые размеры барабана: диаметр барабана не менее 157.7 мм; длина барабана не "
                                "более 473.1 мм"));
        QAccessibleInterface* result = QAccessible::queryAccessibleInterface(&control(*window, "Label10"));
        QCOMPARE(result->text(QAccessible::Name), QStringLiteral("Максимальная длина барабана: 473.1 мм"));

        // Another input: the summary of the run before no longer holds.
        field("Text2").setText(QStringLiteral("9"));
        QCOMPARE(description(button("Command2")),
                 QStringLiteral("Допустимые размеры барабана: минимальный диаметр и максимальная длина барабана"));
        // The rope check does not read it: its summary stays.
        QCOMPARE(description(button("Command1")), QStringLiteral("Расчёт каната: натяжение 0 Н; канат допустим"));
    }
};

QTEST_MAIN(WindowInputTest)
#include "window_input_test.moc"

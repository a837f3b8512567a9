// What the window does with the keyboard and with what is typed, beyond the
// calculations: Enter and Return press a focused button as Space does, fields
// keep texts of any length and the calculations read them whole, and a field
// whose text was not read whole says so in its tooltip and its description
// until its text changes or a later run reads it whole.

#include "ui/form1.h"
#include "window_test_support.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextDocument>
#include <QToolTip>
#include <QtTest>

#include <memory>

using namespace kalventa::ui::testing;
using kalventa::ui::Form1;

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

    void keysOnAFocusedButton_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("repeat"); // a key held down: the repeats only
        QTest::addColumn<bool>("presses");
        QTest::newRow("Return") << int(Qt::Key_Return) << int(Qt::NoModifier) << false << true;
        QTest::newRow("Enter on the number pad") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << false << true;
        QTest::newRow("Space") << int(Qt::Key_Space) << int(Qt::NoModifier) << false << true;
        QTest::newRow("Ctrl+Return is another shortcut") << int(Qt::Key_Return) << int(Qt::ControlModifier) << false
                                                         << false;
        QTest::newRow("a letter") << int(Qt::Key_A) << int(Qt::NoModifier) << false << false;
        QTest::newRow("Return held: its repeats press nothing") << int(Qt::Key_Return) << int(Qt::NoModifier) << true
                                                                << false;
    }

    void keysOnAFocusedButton()
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

    void enterInAFieldDoesNothing()
    {
        field("Text2").setText(QStringLiteral("12"));
        field("Text2").setFocus();
        QTest::keyClick(&field("Text2"), Qt::Key_Return);
        QTest::keyClick(&field("Text2"), Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(label("Label8"), QString());
        QVERIFY(field("Text2").hasFocus());
    }

    // 40,000 zeros and then "12" must read as 12, not as the zeros alone.
    void longTextsAreKeptAndReadWhole_data()
    {
        QTest::addColumn<int>("zeros");
        QTest::newRow("100,000 characters") << 100'000 - 2;
        QTest::newRow("10 MB") << 10'000'000 - 2;
    }

    void longTextsAreKeptAndReadWhole()
    {
        QFETCH(int, zeros);
        const QString text = QString(zeros, QLatin1Char('0')) + QStringLiteral("12");
        field("Text2").setText(text);
        QCOMPARE(field("Text2").text().size(), text.size());
        QTest::mouseClick(&button("Command2"), Qt::LeftButton);
        QCOMPARE(label("Label8"), QStringLiteral(" 228"));
        QCOMPARE(description(field("Text2")), QString());
    }

    void typingPastTheOldLimitKeepsEveryCharacter()
    {
        field("Text2").setText(QString(32767, QLatin1Char('0')));
        field("Text2").setCursorPosition(32767);
        QTest::keyClicks(&field("Text2"), QStringLiteral("12"));
        QCOMPARE(field("Text2").text().size(), 32769);
    }

    void aMisreadFieldSaysSo_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("notice");
        QTest::newRow("decimal comma") << "12,5" << "Прочитано как 12: запятая не входит в число. Для 12,5 введите 12.5";
        QTest::newRow("letters after") << "12abc" << "Прочитано как 12: «abc» после числа не учтено.";
        QTest::newRow("no number") << "abc" << "Прочитано как 0: текст не начинается с числа.";
        QTest::newRow("markup shows as typed") << "12<b>x</b>" << "Прочитано как 12: «<b>x</b>» после числа не учтено.";
        QTest::newRow("Cyrillic read as typed") << "12 мм" << "Прочитано как 12: «мм» после числа не учтено.";
        QTest::newRow("read whole") << "12.5" << "";
        QTest::newRow("empty") << "" << "";
    }

    void aMisreadFieldSaysSo()
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

    void aNoticeGoesWhenTheTextChanges()
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

    void aNoticeGoesWhenALaterRunReadsTheFieldWhole()
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
    void aRunIsSpokenOnItsButton()
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

// The three buttons end to end through the widgets: typing, choosing and
// clicking as a person does, then reading the labels. Two runs in a row, a
// change that shows only after the next click, and run-time errors whose
// message box leaves the window open and working. The decimal-comma locale
// is in force throughout: results still show a full stop.

#include "ui/form1.h"
#include "window_test_support.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

#include <clocale>
#include <memory>

using namespace kalventa::ui::testing;
using kalventa::ui::Form1;

namespace {

// Closes every modal window as soon as it shows and keeps what it said, so
// that a message box nobody expected fails the test instead of hanging it.
class ModalWatch : public QObject {
public:
    struct Seen {
        QString title;
        QString text;
        QWidget* parent;
    };
    QList<Seen> seen;

    ModalWatch()
    {
        timer_.setInterval(20);
        connect(&timer_, &QTimer::timeout, this, &ModalWatch::look);
        timer_.start();
    }

    void look()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal)
            return;
        const auto* box = qobject_cast<QMessageBox*>(modal);
        seen << Seen{modal->windowTitle(), box ? box->text() : QString(), modal->parentWidget()};
        modal->close();
    }

private:
    QTimer timer_;
};

} // namespace

class WindowClicksTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Form1> window;
    std::unique_ptr<ModalWatch> watch;

    void type(const char* field, const char* text)
    {
        auto& edit = control<QLineEdit>(*window, QString::fromLatin1(field));
        QTest::mouseClick(&edit, Qt::LeftButton);
        QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(&edit, Qt::Key_Delete);
        QTest::keyClicks(&edit, QString::fromUtf8(text));
    }

    void click(const char* name) { QTest::mouseClick(&control(*window, QString::fromLatin1(name)), Qt::LeftButton); }

    // Chooses a list's item with the keyboard, from the first one down.
    void choose(const char* list, int index)
    {
        auto& combo = control<QComboBox>(*window, QString::fromLatin1(list));
        combo.setFocus();
        QTest::keyClick(&combo, Qt::Key_Home);
        for (int i = 0; i < index; ++i)
            QTest::keyClick(&combo, Qt::Key_Down);
        QCOMPARE(combo.currentIndex(), index);
    }

    // Presses a button; no message box may show.
    void run(const char* button)
    {
        click(button);
        watch->look();
        QVERIFY2(watch->seen.isEmpty(), qPrintable(watch->seen.value(0).text));
    }

    QString label(const char* name) const { return control<QLabel>(*window, QString::fromLatin1(name)).text(); }

    QStringList labels(const QStringList& names) const
    {
        QStringList texts;
        for (const QString& name : names)
            texts << control<QLabel>(*window, name).text();
        return texts;
    }

    const QStringList capacityLabels{"Label18", "Label21", "Label16", "Label23", "Label12", "Label19", "Label20"};

    void typeCapacityExample()
    {
        type("Text4", "400");
        type("Text5", "800");
        type("Text6", "15");
        type("Text7", "5000");
        choose("Combo1", 2);
        choose("Combo2", 0);
        click("Option5");
    }

private slots:
    void initTestCase()
    {
        // Qt has already taken the environment's locale; make it one with a
        // decimal comma, whatever the environment says.
        QVERIFY2(std::setlocale(LC_ALL, "ru_RU.UTF-8"), "the locale ru_RU.UTF-8 is missing: run locale-gen");
        QCOMPARE(std::localeconv()->decimal_point, std::string_view(","));
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    }

    void init()
    {
        window = std::make_unique<Form1>();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        watch = std::make_unique<ModalWatch>();
    }

    void cleanup()
    {
        watch.reset();
        window.reset();
    }

    void rope_check_data()
    {
        QTest::addColumn<QString>("load");
        QTest::addColumn<QString>("force");
        QTest::addColumn<QString>("duty");
        QTest::addColumn<QString>("tension");
        QTest::addColumn<QString>("verdict");
        const QString none;
        const QString notPermissible = QStringLiteral("Не допустимо");
        QTest::newRow("light duty, force equal to the tension") << "1000"
                                                                << "50000"
                                                                << "Option1"
                                                                << " 50000" << none;
        QTest::newRow("light duty, force just below") << "1000"
                                                      << "49999"
                                                      << "Option1"
                                                      << " 50000" << notPermissible;
        QTest::newRow("medium duty is a Double") << "1000"
                                                 << "50000"
                                                 << "Option2"
                                                 << " 55000" << notPermissible;
        QTest::newRow("traction duty") << "1000"
                                       << "50000"
                                       << "Option4"
                                       << " 45000" << none;
        QTest::newRow("heavy duty, 8.3 kg, 7 digits") << "8.3"
                                                      << ""
                                                      << "Option3"
                                                      << " 498" << none;
        QTest::newRow("medium duty, 8.3 kg, 15 digits") << "8.3"
                                                        << ""
                                                        << "Option2"
                                                        << " 456.500010490417" << none;
        QTest::newRow("empty force counts as 1E+08") << "2000000"
                                                     << ""
                                                     << "Option3"
                                                     << " 1.2E+08" << notPermissible;
        QTest::newRow("no duty chosen, negative force") << "1000"
                                                        << "-1"
                                                        << ""
                                                        << " 0" << notPermissible;
        QTest::newRow("decimal comma reads up to the comma") << "5,5"
                                                             << ""
                                                             << "Option1"
                                                             << " 250" << none;
    }

    void rope_check()
    {
        QFETCH(QString, load);
        QFETCH(QString, force);
        QFETCH(QString, duty);
        QFETCH(QString, tension);
        QFETCH(QString, verdict);
        type("Text1", load.toUtf8());
        type("Text3", force.toUtf8());
        if (!duty.isEmpty())
            click(duty.toLatin1());
        for (int press = 0; press < 2; ++press) { // the same inputs twice give the same texts
            run("Command1");
            QCOMPARE(label("Label3"), tension);
            QCOMPARE(label("Label6"), verdict);
        }
    }

    void a_change_shows_after_the_next_click_only()
    {
        type("Text1", "1000");
        type("Text3", "49999");
        click("Option1");
        run("Command1");
        QCOMPARE(labels({"Label3", "Label6"}), (QStringList{" 50000", "Не допустимо"}));

        type("Text3", "60000");
        click("Option3");
        QCOMPARE(labels({"Label3", "Label6"}), (QStringList{" 50000", "Не допустимо"}));
        run("Command1");
        QCOMPARE(labels({"Label3", "Label6"}), (QStringList{" 60000", ""}));
    }

    void drum_size_limits_data()
    {
        QTest::addColumn<QString>("ropeDiameter");
        QTest::addColumn<QString>("minDiameter");
        QTest::addColumn<QString>("maxLength");
        QTest::newRow("12 mm") << "12"
                               << " 228"
                               << " 684";
        QTest::newRow("8.3 mm, with a full stop") << "8.3"
                                                  << " 157.7"
                                                  << " 473.1";
        QTest::newRow("decimal comma") << "12,5"
                                       << " 228"
                                       << " 684";
        QTest::newRow("empty") << ""
                               << " 0"
                               << " 0";
    }

    void drum_size_limits()
    {
        QFETCH(QString, ropeDiameter);
        QFETCH(QString, minDiameter);
        QFETCH(QString, maxLength);
        type("Text2", ropeDiameter.toUtf8());
        run("Command2");
        QCOMPARE(labels({"Label8", "Label10"}), (QStringList{minDiameter, maxLength}));
    }

    void rope_capacity()
    {
        typeCapacityExample();
        run("Command3");
        const QStringList threeLayers{"3", " 535", " 53", " 24", " 5", " 222.2832", " 200.0549"};
        QCOMPARE(labels(capacityLabels), threeLayers);
        QVERIFY(countInk(renderAlone(control(*window, QStringLiteral("Label19")), false),
                         control(*window, QStringLiteral("Label19")).rect(), result)
                > 0);
        run("Command3");
        QCOMPARE(labels(capacityLabels), threeLayers);

        choose("Combo1", 5);
        QCOMPARE(labels(capacityLabels), threeLayers);
        run("Command3");
        QCOMPARE(labels({"Label18", "Label21", "Label16"}), (QStringList{"6", " 625", " 53"}));
    }

    // Too many turns for an Integer: the calculation stops before any label,
    // the box names the error and the quantity, and the window carries on.
    void overflow_shows_a_message_and_the_window_carries_on()
    {
        typeCapacityExample();
        run("Command3");

        type("Text5", "327675");
        type("Text6", "10");
        click("Command3");
        QTRY_COMPARE(watch->seen.size(), 1);
        const ModalWatch::Seen& box = watch->seen.front();
        QCOMPARE(box.title, QStringLiteral("Кальвента "));
        QCOMPARE(box.parent, window.get());
        QVERIFY2(box.text.contains(QStringLiteral("Переполнение")), qPrintable(box.text));
        QVERIFY2(box.text.contains(QStringLiteral("число витков в слое")), qPrintable(box.text));
        QCOMPARE(labels(capacityLabels), QStringList(capacityLabels.size(), QString()));

        QTRY_VERIFY(!QApplication::activeModalWidget());
        QVERIFY(window->isVisible());
        watch->seen.clear();
        type("Text5", "327674");
        run("Command3");
        QCOMPARE(label("Label16"), QStringLiteral(" 32767"));
        QCOMPARE(control<QLineEdit>(*window, QStringLiteral("Text4")).text(), QStringLiteral("400"));
    }

    // An error after the layer loop: the layer count and flange diameter of
    // this run stay; the five labels after them are emptied rather than left
    // showing the previous run's numbers, and say why.
    void error_after_the_layers_empties_what_it_did_not_reach()
    {
        typeCapacityExample();
        run("Command3");

        choose("Combo1", 0);
        type("Text7", "10000000"); // a wall 10000000 / (14 × 15) mm thick: beyond an Integer
        click("Command3");
        QTRY_COMPARE(watch->seen.size(), 1);
        QVERIFY2(watch->seen.front().text.contains(QStringLiteral("толщина стенки барабана")),
                 qPrintable(watch->seen.front().text));
        QCOMPARE(labels(capacityLabels), (QStringList{"1", " 475", "", "", "", "", ""}));
        QCOMPARE(control(*window, QStringLiteral("Label23")).accessibleName(),
                 QStringLiteral("Толщина стенки барабана: не рассчитано, расчёт остановлен"));
        QCOMPARE(control(*window, QStringLiteral("Label18")).accessibleName(), QStringLiteral("Слоёв каната: 1"));
    }

    void floating_point_error_shows_a_message()
    {
        type("Text2", "12");
        run("Command2");
        type("Text2", "2E+37");
        click("Command2");
        QTRY_COMPARE(watch->seen.size(), 1);
        QVERIFY2(watch->seen.front().text.contains(QStringLiteral("плавающей точкой")),
                 qPrintable(watch->seen.front().text));
        QCOMPARE(labels({"Label8", "Label10"}), (QStringList{"", ""}));
    }
};

QTEST_MAIN(WindowClicksTest)
#include "window_clicks_test.moc"

// The check against today's rules in its dialog: opened with F9 beside a
// window that stays as it was, worked out again as the window's fields, its
// runs and the dialog's own inputs change, used by keyboard alone, every
// control named for a screen reader and the summary told on them.

#include "ui/form1.h"
#include "window_test_support.h"

#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <memory>

using namespace kalventa::ui::testing;
using kalventa::ui::Form1;

class RulesCheckDialogTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Form1> window;

    QLineEdit& field(const char* name) const { return control<QLineEdit>(*window, QString::fromLatin1(name)); }

    QDialog* dialog() const { return window->findChild<QDialog*>(QStringLiteral("RulesCheck")); }

    // Opens the check with its key on the window.
    QDialog& open()
    {
        window->activateWindow();
        QTest::keyClick(window.get(), Qt::Key_F9);
        QDialog* opened = dialog();
        if (!opened)
            throw std::runtime_error("F9 opened no check");
        return *opened;
    }

    QStringList results() const
    {
        return control<QPlainTextEdit>(*dialog(), QStringLiteral("rulesResults"))
            .toPlainText()
            .split(QLatin1Char('\n'));
    }

    // The lines of one part: from its heading to the next line without indent.
    QStringList part(const QString& heading) const
    {
        const QStringList lines = results();
        QStringList out;
        for (qsizetype i = lines.indexOf(heading) + 1;
             i > 0 && i < lines.size() && lines[i].startsWith(QLatin1String("  ")); ++i)
            out << lines[i].mid(2);
        return out;
    }

    void chooseGroup(const QString& group) const
    {
        auto& list = control<QComboBox>(*dialog(), QStringLiteral("rulesGroup"));
        list.setFocus();
        while (list.currentText() != group && list.currentIndex() < list.count() - 1)
            QTest::keyClick(&list, Qt::Key_Down);
    }

private slots:
    void init()
    {
        window = std::make_unique<Form1>();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    void cleanup() { window.reset(); }

    void f9_opens_it_beside_a_window_that_stays_as_it_was()
    {
        field("Text1").setText(QStringLiteral("1000"));
        const QImage before = renderAlone(*window, true);
        const qsizetype controls = namedControls(*window).size();
        QVERIFY(!dialog());

        QDialog& check = open();
        QVERIFY(check.isVisible());
        QVERIFY(!check.isModal());
        QCOMPARE(check.windowTitle(), QStringLiteral("Проверка по действующим правилам"));
        QCOMPARE(control<QLabel>(check, QStringLiteral("rulesAdvisory")).text(),
                 QStringLiteral("Справочная проверка по действующим правилам — не входит в исходную методику"));
        field("Text3").setText(QStringLiteral("54936"));
        QCOMPARE(field("Text3").text(), QStringLiteral("54936"));
        field("Text3").clear();
        // Not a pixel of the window has changed, and its own controls are the same.
        QCOMPARE(renderAlone(*window, true), before);
        QList<QWidget*> own = namedControls(*window);
        own.removeIf([&](const QWidget* widget) { return widget->window() != window.get(); });
        QCOMPARE(own.size(), controls);

        // A second F9 brings the same dialog back.
        check.close();
        QVERIFY(!check.isVisible());
        QCOMPARE(&open(), &check);
        QVERIFY(check.isVisible());
    }

    void it_follows_the_window_fields_and_its_own_inputs()
    {
        open();
        QCOMPARE(
            part(QStringLiteral("Канат")),
            (QStringList{"Канат не проверен: нет исходных данных: вес груза Q (поле окна «Вес груза, кг, для расчёта "
                         "каната»); нет исходных данных: разрывное усилие каната Fр (поле окна «Разрывное усилие "
                         "каната, Н»)"}));
        QTest::keyClicks(&field("Text1"), QStringLiteral("1000"));
        QTest::keyClicks(&field("Text3"), QStringLiteral("54936"));
        QCOMPARE(part(QStringLiteral("Канат")),
                 (QStringList{"S = (Q + m) · 9.81 / (a · u · η) = (1000 + 0) · 9.81 / (1 · 1 · 1) = 9810 Н",
                              "Zp = Fр / S = 54936 / 9810 = 5.6", "Группа механизма не выбрана: канат не оценивается",
                              "Наивысшая группа, требованию которой канат отвечает: M6"}));
        chooseGroup(QStringLiteral("M7"));
        QCOMPARE(part(QStringLiteral("Канат")).value(2),
                 QStringLiteral("Группа M7, канат бегучий: Zp = 5.6 < 7.10 — требование не выполнено; требуется Fр ≥ "
                                "7.10 · S = 69651 Н"));
        QTest::keyClicks(&control<QLineEdit>(*dialog(), QStringLiteral("rulesReevingRatio")), QStringLiteral("2"));
        QCOMPARE(part(QStringLiteral("Канат")).value(0),
                 QStringLiteral("η = (1 − ηб^u) / (u · (1 − ηб)) = (1 − 0.985^2) / (2 · (1 − 0.985)) = 0.992 "
                                "(подшипники блоков качения, ηб = 0.985)"));
        control<QRadioButton>(*dialog(), QStringLiteral("rulesPlain")).click();
        QCOMPARE(part(QStringLiteral("Канат")).value(0),
                 QStringLiteral("η = (1 − ηб^u) / (u · (1 − ηб)) = (1 − 0.95^2) / (2 · (1 − 0.95)) = 0.975 "
                                "(подшипники блоков скольжения, ηб = 0.95)"));
    }

    void it_takes_the_drum_size_limits_last_run()
    {
        open();
        chooseGroup(QStringLiteral("M7"));
        field("Text2").setText(QStringLiteral("12"));
        control<QPushButton>(*window, QStringLiteral("Command2")).click();
        QCOMPARE(
            part(QStringLiteral("Барабан")),
            (QStringList{"h1 = (Dмин + d) / d = (228 + 12) / 12 = 20",
                         "Группа M7: h1 = 20 < 22.4 — требование не выполнено; требуется D ≥ (22.4 − 1) · d = 256.8 мм",
                         "Наивысшая группа, требованию которой барабан отвечает: M6"}));
        field("Text2").setText(QStringLiteral("13"));
        QCOMPARE(results().value(0),
                 QStringLiteral("Внимание: Dмин взят из расчёта допустимых размеров барабана: исходные "
                                "данные изменены после расчёта"));
    }

    void every_control_is_named_and_reached_by_tab()
    {
        QDialog& check = open();
        QStringList names;
        QWidget* first = &control(check, QStringLiteral("rulesGroup"));
        first->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), first);
        for (int i = 0; i < 12; ++i) {
            QWidget* focus = QApplication::focusWidget();
            // The name as a screen reader reads it.
            names << focus->objectName() + QStringLiteral(": ")
                    + QAccessible::queryAccessibleInterface(focus)->text(QAccessible::Name);
            QTest::keyClick(focus, Qt::Key_Tab);
            if (QApplication::focusWidget() == first)
                break;
        }
        QCOMPARE(names,
                 (QStringList{
                     "rulesGroup: Группа классификации механизма, M1–M8",
                     "rulesRunning: Канат бегучий или стоячий: бегучий",
                     "rulesReevingRatio: Кратность полиспаста u, пустое поле — 1",
                     "rulesWoundBranches: Ветвей каната, навиваемых на барабан, a, пустое поле — 1",
                     "rulesEfficiency: КПД полиспаста η, пустое поле — по кратности и подшипникам блоков",
                     "rulesRolling: Подшипники блоков: качения, ηб = 0.985",
                     "rulesHookMass: Масса крюковой подвески m, кг, пустое поле — 0",
                     "rulesResults: Результаты проверки",
                     "rulesClose: Закрыть",
                 }));
        // The arrow keys choose within an option pair.
        auto& running = control<QRadioButton>(check, QStringLiteral("rulesRunning"));
        running.setFocus();
        QTest::keyClick(&running, Qt::Key_Right);
        QVERIFY(control<QRadioButton>(check, QStringLiteral("rulesStanding")).isChecked());
        QCOMPARE(part(QStringLiteral("Исходные данные")).value(0), QStringLiteral("канат стоячий"));
        // Escape closes it.
        QTest::keyClick(&running, Qt::Key_Escape);
        QVERIFY(!check.isVisible());
    }

    void the_summary_is_told_on_its_controls()
    {
        QDialog& check = open();
        field("Text1").setText(QStringLiteral("1000"));
        field("Text3").setText(QStringLiteral("54936"));
        field("Text4").setText(QStringLiteral("228"));
        field("Text6").setText(QStringLiteral("12"));
        chooseGroup(QStringLiteral("M6"));
        const QString summary = QStringLiteral(
            "Проверка по действующим правилам, группа M6: канат: выполнено, Zp 5.6 ≥ 5.60, наивысшая группа M6; "
            "барабан: выполнено, h1 20 ≥ 20, наивысшая группа M6");
        for (const char* name : {"rulesGroup", "rulesReevingRatio", "rulesHookMass", "rulesResults"})
            QTRY_COMPARE(control(check, QString::fromLatin1(name)).accessibleDescription(), summary);
    }

    void the_copied_results_gain_its_rows_once_opened()
    {
        field("Text1").setText(QStringLiteral("1000"));
        field("Text3").setText(QStringLiteral("54936"));
        control<QPushButton>(*window, QStringLiteral("Command1")).click();
        const auto copied = [this] {
            QTest::keyClick(window.get(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
            return QApplication::clipboard()->mimeData()->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        };
        const QStringList before = copied();
        QCOMPARE(before.value(1), QStringLiteral("Расчёт каната\t\t"));
        QVERIFY(!before.join(QLatin1Char('\n')).contains(QStringLiteral("Проверка")));

        open();
        chooseGroup(QStringLiteral("M6"));
        window->activateWindow();
        const QStringList after = copied();
        // The runs' rows as they were, then the check's.
        QCOMPARE(after.mid(0, before.size()), before);
        QCOMPARE(after.mid(before.size(), 4),
                 (QStringList{"Проверка по действующим правилам (справочно, не входит в исходную методику)\t\t",
                              "Группа классификации механизма\tM6\t", "Канат\tбегучий\t", "Вес груза\t1000\tкг"}));
        QVERIFY(after.contains(QStringLiteral("Заключение по канату, группа M6\tтребование выполнено\t")));
    }
};

QTEST_MAIN(RulesCheckDialogTest)
#include "rules_check_dialog_test.moc"

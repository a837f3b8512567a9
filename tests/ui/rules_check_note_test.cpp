// The check against today's rules in the calculation report: its section
// after the old method's, on a page of its own, with the inputs, the formulas
// numbered on, the verdicts and the rules cited; and in the report the window
// makes, only once the check has been opened.

#include "core/calculation_table.h"
#include "core/rules_check_report.h"
#include "memory_controls.h"
#include "ui/report_actions.h"
#include "ui/report_text.h"
#include "ui/rules_check_dialog.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <QtTest>

using namespace kalventa;
using kalventa::testing::MemoryControls;

namespace {

const std::map<std::string, std::string> entries{{"Text1", "1000"},
                                                 {"Text3", "50000"},
                                                 {"Option2", "on"},
                                                 {"Text4", "228"},
                                                 {"Text6", "12"}};

// An A4 page's text area at the report's resolution.
const QSizeF body(170 / 25.4 * ui::reportLayoutDpi, 262 / 25.4 * ui::reportLayoutDpi);

// The page a paragraph that starts with `start` is on; -1 when none does.
int pageOf(const QTextDocument& document, const QString& start)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        if (block.text().startsWith(start)) // a dot above a page's top is on that page
            return int((document.documentLayout()->blockBoundingRect(block).top() + 1) / document.pageSize().height());
    return -1;
}

} // namespace

class RulesCheckNoteTest : public QObject {
    Q_OBJECT

private slots:
    void the_section_follows_the_old_methods_on_a_page_of_its_own()
    {
        MemoryControls window = MemoryControls::with(entries);
        RunHistory history;
        history.add(recordRun(calculation(CalculationId::RopeCheck), window));
        rules::CheckInputs inputs;
        inputs.group = 6;
        Report report = makeReport(history.reportRuns(), "Кальвента", "08.12.2026 10:00");
        report.rulesCheck = rules::makeRulesCheckNote(rules::runCheck(inputs, window, history, {2027, 1, 2}), 2);

        const std::unique_ptr<QTextDocument> document = ui::reportTextDocument(report, body);
        QCOMPARE(pageOf(*document, QStringLiteral("2 Расчёт каната")), 0);
        QCOMPARE(pageOf(*document, QStringLiteral("3 Сводка результатов")), 0);
        QCOMPARE(pageOf(*document, QStringLiteral("4 Проверка по действующим правилам")), 1);

        // The paragraphs and table cells of the section, in order.
        QStringList section = document->toPlainText().split(QLatin1Char('\n'));
        section = section.mid(section.indexOf(QStringLiteral("4 Проверка по действующим правилам")));
        section.removeAll(QString());
        QCOMPARE(section.mid(0, 5),
                 (QStringList{"4 Проверка по действующим правилам",
                              "Справочная проверка по действующим правилам — не входит в исходную методику.",
                              "Внимание: срок действия ФНП по сохранённым сведениям истёк 01.01.2027: проверьте "
                              "действующую редакцию.",
                              "Таблица 3 — Исходные данные проверки", "Величина"}));
        const auto after = [&](const QString& text) { return section.mid(section.indexOf(text) + 1, 6); };
        QCOMPARE(after(QStringLiteral("Откуда")),
                 (QStringList{"Группа классификации механизма", "—", "—", "M6", "введено в проверке", "Канат"}));
        QCOMPARE(after(QStringLiteral("Выводы:")).mid(0, 4),
                 (QStringList{"Группа M6, канат бегучий: Zp = 5.096 < 5.60 — требование не выполнено; требуется Fр ≥ "
                              "5.60 · S = 54936 Н.",
                              "Наивысшая группа, требованию которой канат отвечает: M5.",
                              "Группа M6: h1 = 20 ≥ 20 — требование выполнено.",
                              "Наивысшая группа, требованию которой барабан отвечает: M6."}));
        QVERIFY(section.contains(QStringLiteral("Zp = Fр / S = 50000 / 9810 = 5.096")));
        QCOMPARE(section.value(section.indexOf(QStringLiteral("Zp = Fр / S = 50000 / 9810 = 5.096")) + 1),
                 QStringLiteral("(3)"));
        QCOMPARE(section.value(section.indexOf(QStringLiteral("Основания:")) + 2).left(22),
                 QStringLiteral("h1: FEM 1.001 «Rules f"));
        QCOMPARE(section.last(),
                 QStringLiteral("Числа проверки — обычные числа двойной точности с тремя знаками после "
                                "точки; с числами исходной методики они не связаны и её результатов не "
                                "меняют."));
    }

    void the_window_adds_it_once_the_check_was_opened()
    {
        QWidget window;
        for (const char* name : {"Text1", "Text2", "Text3", "Text4", "Text5", "Text6", "Text7"}) {
            auto* field = new QLineEdit(&window);
            field->setObjectName(QString::fromLatin1(name));
        }
        window.findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QStringLiteral("1000"));
        window.findChild<QLineEdit*>(QStringLiteral("Text3"))->setText(QStringLiteral("50000"));
        MemoryControls memory = MemoryControls::with(entries);
        RunHistory history;
        history.add(recordRun(calculation(CalculationId::RopeCheck), memory));
        ui::addRulesCheck(window, history);

        QVERIFY(!ui::currentReport(history, window).rulesCheck);
        QVERIFY(!ui::currentRulesCheck(window));

        QAction* action = window.actions().value(0);
        QCOMPARE(action->text(), QStringLiteral("Проверка по действующим правилам…"));
        QCOMPARE(action->shortcut(), QKeySequence(Qt::Key_F9));
        action->trigger();
        const Report report = ui::currentReport(history, window);
        QVERIFY(report.rulesCheck);
        QCOMPARE(report.sections.size(), 1u);
        // The rope check's formula is (1); the check's go on from (2).
        QCOMPARE(report.rulesCheck->formulas.front().number, 2);
        QCOMPARE(QString::fromStdString(report.rulesCheck->formulas.back().text),
                 QStringLiteral("Zp = Fр / S = 50000 / 9810 = 5.096"));
        // Closed, it is still the window's check.
        window.findChild<QDialog*>(QStringLiteral("RulesCheck"))->close();
        QVERIFY(ui::currentReport(history, window).rulesCheck);
    }
};

QTEST_MAIN(RulesCheckNoteTest)
#include "rules_check_note_test.moc"

// The calculation note's outline from real runs: the sections, tables and
// figures numbered through the note, the check against today's rules
// numbered on after them, the words around the report's data, the rows of the
// tables, and the texts the drum sketch shows on paper.

#include "core/calculation_table.h"
#include "core/note_outline.h"
#include "core/rules_check.h"
#include "core/run_history.h"
#include "memory_controls.h"

#include <QTest>

#include <map>
#include <optional>
#include <string>
#include <vector>

using namespace kalventa;
using kalventa::testing::MemoryControls;

using Entries = std::map<std::string, std::string>;
using PaperText = std::optional<std::string>;
Q_DECLARE_METATYPE(TitleData)
Q_DECLARE_METATYPE(PaperText)

namespace {

const Entries ropeCheck{{"Text1", "1000"}, {"Text3", "50000"}, {"Option2", "on"}};
const Entries drumLimits{{"Text2", "12"}};
// A rope diameter typed with a unit: read in part, with a notice.
const Entries capacity{{"Text4", "400"}, {"Text5", "800"}, {"Text6", "15 мм"}, {"Text7", "5000"},
                       {"Combo1", "2"},  {"Combo2", "0"},  {"Option5", "on"}};

// The texts of the blocks of `kind`, each with its lead and what follows it.
QStringList textsOf(const std::vector<NoteBlock>& blocks, NoteBlockKind kind)
{
    QStringList out;
    for (const NoteBlock& block : blocks)
        if (block.kind == kind)
            out << QString::fromStdString(block.lead + block.text + block.after);
    return out;
}

const NoteBlock& tableNumbered(const std::vector<NoteBlock>& blocks, int number)
{
    for (const NoteBlock& block : blocks)
        if (block.kind == NoteBlockKind::Table && block.number == number)
            return block;
    qFatal("no table %d", number);
}

} // namespace

class NoteOutlineTest : public QObject {
    Q_OBJECT

private slots:
    // The three calculations, the second stale, then the check.
    void numbers_the_whole_note()
    {
        MemoryControls window = MemoryControls::with(ropeCheck);
        RunHistory history;
        for (const auto& [button, entries] :
             {std::pair{"Command1", ropeCheck}, {"Command2", drumLimits}, {"Command3", capacity}}) {
            MemoryControls controls = MemoryControls::with(entries);
            history.add(recordRun(*calculationOf(button), controls));
        }
        history.inputChanged("Text2", controlState("13"));
        Report report = makeReport(history.reportRuns(), "Кальвента 1.3.0", "14.03.2025 09:30");
        rules::CheckInputs inputs;
        inputs.group = 6;
        report.rulesCheck = rules::makeRulesCheckNote(rules::runCheck(inputs, window, history, {2026, 1, 2}), 13);
        const std::vector<NoteBlock> blocks = noteOutline(report);

        QCOMPARE(textsOf(blocks, NoteBlockKind::Heading),
                 (QStringList{"1 Методика", "2 Расчёт каната", "3 Допустимые размеры барабана",
                              "4 Расчёт канатоёмкости", "5 Сводка результатов"}));
        QCOMPARE(textsOf(blocks, NoteBlockKind::RulesCheck), QStringList{"6 Проверка по действующим правилам"});
        QCOMPARE(blocks.back().kind, NoteBlockKind::Numbers);
        QCOMPARE(textsOf(blocks, NoteBlockKind::Warning).first(),
                 QStringLiteral("Внимание: исходные данные изменены после расчёта: диаметр каната."));

        const std::pair<const char*, const char*> tables[] = {
            {"Таблица 1 — Исходные данные", "Продолжение таблицы 1"},
            {"Таблица 2 — Исходные данные", "Продолжение таблицы 2"},
            {"Таблица 3 — Исходные данные", "Продолжение таблицы 3"},
            {"Таблица 4 — Слои навивки каната", "Продолжение таблицы 4"},
            {"Таблица 5 — Результаты расчётов", ""},
            {"Таблица 6 — Исходные данные проверки", ""},
        };
        for (int number = 1; number <= 6; ++number) {
            const NoteTable& table = tableNumbered(blocks, number).table;
            QCOMPARE(QString::fromStdString(table.caption), QString::fromUtf8(tables[number - 1].first));
            QCOMPARE(QString::fromStdString(table.continuation), QString::fromUtf8(tables[number - 1].second));
        }
        QCOMPARE(textsOf(blocks, NoteBlockKind::Figure),
                 QStringList{"Рисунок 1 — Барабан: введённые и рассчитанные размеры"});

        // The rope diameter's notice on a row of its own under it, the same item.
        const std::vector<NoteRow>& rows = tableNumbered(blocks, 3).table.rows;
        QCOMPARE(rows.size(), 8u);
        QCOMPARE(QString::fromStdString(rows[2].cells[0]), QStringLiteral("Диаметр каната"));
        QCOMPARE(rows[3].kind, NoteRowKind::Notice);
        QCOMPARE(rows[3].item, rows[2].item);
        QCOMPARE(rows[4].item, rows[2].item + 1);
        // A count has no unit: a dash.
        QCOMPARE(QString::fromStdString(rows[5].cells[2]), QStringLiteral("—"));

        // The summary: a calculation's title over its results.
        const std::vector<NoteRow>& summary = tableNumbered(blocks, 5).table.rows;
        QCOMPARE(summary[0].kind, NoteRowKind::Group);
        QCOMPARE(QString::fromStdString(summary[0].cells[0]), QStringLiteral("Расчёт каната"));
        QCOMPARE(textsOf(blocks, NoteBlockKind::Conclusion).first(),
                 QStringLiteral("Расчёт каната — канат не допустим."));

        // The last symbol explained ends the list with a full stop, the others
        // with a semicolon; the rope check's symbols are set, the check's not.
        std::vector<const NoteBlock*> wheres;
        for (const NoteBlock& block : blocks)
            if (block.kind == NoteBlockKind::Where)
                wheres.push_back(&block);
        QCOMPARE(wheres.size(), 4u);
        QCOMPARE(QString::fromStdString(wheres[0]->lines.front().text + wheres[0]->lines.front().after),
                 QStringLiteral("Sмин — минимальное допустимое натяжение каната, Н;"));
        QCOMPARE(QString::fromStdString(wheres[0]->lines.back().after), QStringLiteral("."));
        QVERIFY(wheres[0]->set);
        QVERIFY(!wheres[3]->set);
        QCOMPARE(textsOf(blocks, NoteBlockKind::Formula).size(), 11 + qsizetype(report.rulesCheck->formulas.size()));
    }

    void the_title_block_holds_what_was_given_data()
    {
        QTest::addColumn<TitleData>("title");
        QTest::addColumn<QList<int>>("kinds");
        const auto kinds = [](std::initializer_list<NoteBlockKind> list) {
            QList<int> out;
            for (const NoteBlockKind kind : list)
                out << int(kind);
            return out;
        };
        using K = NoteBlockKind;
        QTest::newRow("none") << TitleData{} << kinds({K::Title, K::Program, K::Made, K::NothingYet});
        QTest::newRow("all") << TitleData{"Кран", "КЛВ.001", "ООО «Подъём»", "Иванов", "", "", "", true}
                             << kinds({K::Organisation, K::Object, K::Title, K::Designation, K::Program, K::Made,
                                       K::NothingYet});
        QTest::newRow("the designation alone") << TitleData{"", "КЛВ.001", "", "", "", "", "", false}
                                               << kinds({K::Title, K::Designation, K::Program, K::Made, K::NothingYet});
    }

    void the_title_block_holds_what_was_given()
    {
        QFETCH(TitleData, title);
        QFETCH(QList<int>, kinds);
        Report report = makeReport({}, "Кальвента 1.3.0", "14.03.2025 09:30");
        report.titleData = title;
        QList<int> got;
        for (const NoteBlock& block : noteOutline(report))
            got << int(block.kind);
        QCOMPARE(got, kinds);
    }

    void the_sketch_on_paper_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<PaperText>("text");
        QTest::newRow("a field's value, its unit") << "Text4" << PaperText("400 мм");
        QTest::newRow("a label's value, its blank dropped") << "Label20" << PaperText("244.0865 м");
        QTest::newRow("a count") << "Label18" << PaperText("3");
        QTest::newRow("the wall named") << "Label23" << PaperText("t = 42 мм");
        QTest::newRow("the leftover named") << "Label12" << PaperText("g = 8 мм");
        QTest::newRow("the legend without its unit") << "Label27" << PaperText("Канатоёмкость");
        QTest::newRow("a mark left out") << "Label25" << PaperText("");
        QTest::newRow("a legend as the window has it") << "Label15" << PaperText();
    }

    void the_sketch_on_paper()
    {
        QFETCH(QString, control);
        QFETCH(PaperText, text);
        const std::vector<SketchValue> values{{"Text4", "400"},
                                              {"Label20", " 244.0865"},
                                              {"Label18", "3"},
                                              {"Label23", " 42"},
                                              {"Label12", " 8"}};
        QCOMPARE(sketchPaperText(control.toStdString(), values), text);
    }
};

QTEST_APPLESS_MAIN(NoteOutlineTest)
#include "note_outline_test.moc"

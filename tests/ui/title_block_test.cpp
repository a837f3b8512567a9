// The calculation note's title data: the frame's and main inscription's
// boxes against GOST 2.104 (forms 2 and 2a), the texts of a framed note
// written as a PDF file found in their boxes by pdftotext -bbox-layout
// (poppler-utils), the heading, and the dialog that sets the data.

#include "core/title_block.h"
#include "poppler.h"
#include "report_runs.h"
#include "ui/calculation_files.h"
#include "ui/form1.h"
#include "ui/report_document.h"
#include "ui/title_dialog.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <set>

using namespace kalventa;
using namespace kalventa::ui::testing;

namespace {

const TitleData sampleTitle{
    "Кран мостовой 5 т", "КЛВ.001.000 РР", "ООО «Подъём»", "Иванов", "Петров", "Сидоров", "", true};

struct Word {
    QRectF box; // millimetres from the sheet's top left corner
    QString text;
};

// The report written as a PDF file: each page's words where they stand.
QList<QList<Word>> wordsOnPages(const Report& report)
{
    QTemporaryDir directory;
    const QString pdf = directory.filePath(QStringLiteral("note.pdf"));
    if (!ui::saveReportPdf(report, pdf).isEmpty())
        return {};
    const QString layout = popplerOutput(QStringLiteral("pdftotext"), {QStringLiteral("-bbox-layout"), pdf, "-"});
    static const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    constexpr qreal mm = 25.4 / 72;
    QList<QList<Word>> pages;
    for (const QString& page : layout.split(QStringLiteral("<page ")).mid(1)) {
        pages.append(QList<Word>());
        for (auto it = word.globalMatch(page); it.hasNext();) {
            const auto match = it.next();
            const QRectF box(QPointF(match.captured(1).toDouble(), match.captured(2).toDouble()) * mm,
                             QPointF(match.captured(3).toDouble(), match.captured(4).toDouble()) * mm);
            pages.last().append({box, match.captured(5)});
        }
    }
    return pages;
}

QRectF rectOf(const MmRect& box, qreal tolerance = 0)
{
    return QRectF(box.x, box.y, box.width, box.height).adjusted(-tolerance, -tolerance, tolerance, tolerance);
}

// The words whose middle stands in the box, in reading order.
QString wordsIn(const QList<Word>& words, const MmRect& box)
{
    QStringList inside;
    for (const Word& word : words)
        if (rectOf(box).contains(word.box.center()))
            inside << word.text;
    return inside.join(QLatin1Char(' '));
}

const InscriptionCell* cellOf(const FramedSheet& sheet, Field field)
{
    const auto it = std::ranges::find(sheet.cells, field, &InscriptionCell::field);
    return it == sheet.cells.end() ? nullptr : &*it;
}

QLineEdit* fieldNamed(const QWidget& dialog, const QString& name)
{
    for (QLineEdit* field : dialog.findChildren<QLineEdit*>())
        if (field->accessibleName() == name)
            return field;
    return nullptr;
}

} // namespace

Q_DECLARE_METATYPE(kalventa::Field)

class TitleBlockTest : public QObject {
    Q_OBJECT

    QTemporaryDir home;

private slots:
    void initTestCase()
    {
        QVERIFY(home.isValid());
        qputenv("HOME", home.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral(".config")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral(".local/share")).toLocal8Bit());
    }

    // Each box in millimetres from the inscription's top left corner.
    void boxes_stand_as_the_standard_lays_them_data()
    {
        QTest::addColumn<int>("sheet");
        QTest::addColumn<Field>("field");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QRectF>("box");
        const auto row = [](const char* name, int sheet, Field field, const char* text, QRectF box) {
            QTest::newRow(name) << sheet << field << QString::fromUtf8(text) << box;
        };
        row("2: Изм.", 1, Field::Caption, "Изм.", {0, 10, 7, 5});
        row("2: Лист of a change", 1, Field::Caption, "Лист", {7, 10, 10, 5});
        row("2: № докум.", 1, Field::Caption, "№ докум.", {17, 10, 23, 5});
        row("2: Подп.", 1, Field::Caption, "Подп.", {40, 10, 15, 5});
        row("2: Дата", 1, Field::Caption, "Дата", {55, 10, 10, 5});
        row("2: Разраб.", 1, Field::Caption, "Разраб.", {0, 15, 17, 5});
        row("2: developer", 1, Field::Developer, "Иванов", {17, 15, 23, 5});
        row("2: Пров.", 1, Field::Caption, "Пров.", {0, 20, 17, 5});
        row("2: checker", 1, Field::Checker, "Петров", {17, 20, 23, 5});
        row("2: Н. контр.", 1, Field::Caption, "Н. контр.", {0, 30, 17, 5});
        row("2: standards", 1, Field::StandardsChecker, "Сидоров", {17, 30, 23, 5});
        row("2: Утв.", 1, Field::Caption, "Утв.", {0, 35, 17, 5});
        row("2: approver", 1, Field::Approver, "", {17, 35, 23, 5});
        row("2: designation", 1, Field::Designation, "КЛВ.001.000 РР", {65, 0, 120, 15});
        row("2: name", 1, Field::DocumentName, "Кран мостовой 5 т\nРасчётная записка", {65, 15, 70, 25});
        row("2: Лит.", 1, Field::Caption, "Лит.", {135, 15, 15, 5});
        row("2: Лист", 1, Field::Caption, "Лист", {150, 15, 15, 5});
        row("2: Листов", 1, Field::Caption, "Листов", {165, 15, 20, 5});
        row("2: sheet", 1, Field::Sheet, "1", {150, 20, 15, 5});
        row("2: sheets", 1, Field::Sheets, "2", {165, 20, 20, 5});
        row("2: organisation", 1, Field::Organisation, "ООО «Подъём»", {135, 25, 50, 15});
        row("2a: Изм.", 2, Field::Caption, "Изм.", {0, 10, 7, 5});
        row("2a: Дата", 2, Field::Caption, "Дата", {55, 10, 10, 5});
        row("2a: designation", 2, Field::Designation, "КЛВ.001.000 РР", {65, 0, 110, 15});
        row("2a: Лист", 2, Field::Caption, "Лист", {175, 0, 10, 7});
        row("2a: sheet", 2, Field::Sheet, "2", {175, 7, 10, 8});
    }

    void boxes_stand_as_the_standard_lays_them()
    {
        QFETCH(int, sheet);
        QFETCH(Field, field);
        QFETCH(QString, text);
        QFETCH(QRectF, box);
        const FramedSheet framed = framedSheet(sampleTitle, "Расчётная записка", sheet, 2);
        const QRectF at = box.translated(framed.inscription.x, framed.inscription.y);
        const auto same = [&](const InscriptionCell& cell) {
            return cell.field == field && QString::fromStdString(cell.text) == text
                && (rectOf(cell.box).topLeft() - at.topLeft()).manhattanLength() < 1e-9
                && (rectOf(cell.box).bottomRight() - at.bottomRight()).manhattanLength() < 1e-9;
        };
        QVERIFY(std::ranges::any_of(framed.cells, same));
    }

    // The frame 20 mm from the left edge and 5 mm from the others; the
    // inscription in its corner, its columns and rows where its boxes meet.
    void lines_stand_as_the_standard_lays_them_data()
    {
        QTest::addColumn<int>("sheet");
        QTest::addColumn<QRectF>("inscription");
        QTest::addColumn<QList<double>>("columns");
        QTest::addColumn<QList<double>>("rows");
        QTest::newRow("form 2") << 1 << QRectF(20, 252, 185, 40)
                                << QList<double>{0, 7, 17, 40, 55, 65, 135, 140, 145, 150, 165, 185}
                                << QList<double>{0, 5, 10, 15, 20, 25, 30, 35, 40};
        QTest::newRow("form 2a") << 2 << QRectF(20, 277, 185, 15) << QList<double>{0, 7, 17, 40, 55, 65, 175, 185}
                                 << QList<double>{0, 5, 7, 10, 15};
    }

    void lines_stand_as_the_standard_lays_them()
    {
        QFETCH(int, sheet);
        QFETCH(QRectF, inscription);
        QFETCH(QList<double>, columns);
        QFETCH(QList<double>, rows);
        const FramedSheet framed = framedSheet(sampleTitle, "Расчётная записка", sheet, 2);
        QCOMPARE(rectOf(framed.frame), QRectF(20, 5, 185, 287));
        QCOMPARE(rectOf(framed.inscription), inscription);
        std::set<double> across, down;
        for (const Rule& rule : framed.rules) {
            // Those of the frame count where they bound the inscription.
            const QRectF line = QRectF(QPointF(rule.x1, rule.y1), QPointF(rule.x2, rule.y2)).normalized();
            if (line.right() < inscription.left() || line.left() > inscription.right()
                || line.bottom() < inscription.top() || line.top() > inscription.bottom())
                continue;
            if (rule.x1 == rule.x2)
                down.insert(rule.x1 - inscription.x());
            else
                across.insert(rule.y1 - inscription.y());
        }
        QCOMPARE(QList<double>(down.begin(), down.end()), columns);
        QCOMPARE(QList<double>(across.begin(), across.end()), rows);
    }

    // A three-page note: every word in the text area or in a box of the
    // inscription, the filled boxes holding their texts, the sheet numbered.
    void framed_note_texts_stand_in_their_boxes()
    {
        const std::vector<RunRecord> records{runOn("Command3", capacityEntries)};
        Report report = reportOf(records);
        report.titleData = sampleTitle;
        const QList<QList<Word>> pages = wordsOnPages(report);
        QCOMPARE(pages.size(), 3);
        for (int page = 1; page <= 3; ++page) {
            const FramedSheet sheet = framedSheet(sampleTitle, report.title, page, 3);
            const QList<Word>& words = pages[page - 1];
            QCOMPARE(wordsIn(words, cellOf(sheet, Field::Designation)->box), QStringLiteral("КЛВ.001.000 РР"));
            QCOMPARE(wordsIn(words, cellOf(sheet, Field::Sheet)->box), QString::number(page));
            if (page == 1) {
                QCOMPARE(wordsIn(words, cellOf(sheet, Field::Sheets)->box), QStringLiteral("3"));
                QCOMPARE(wordsIn(words, cellOf(sheet, Field::DocumentName)->box),
                         QStringLiteral("Кран мостовой 5 т Расчётная записка"));
                QCOMPARE(wordsIn(words, cellOf(sheet, Field::Organisation)->box), QStringLiteral("ООО «Подъём»"));
                QCOMPARE(wordsIn(words, cellOf(sheet, Field::Developer)->box), QStringLiteral("Иванов"));
                QCOMPARE(wordsIn(words, cellOf(sheet, Field::Approver)->box), QString());
            }
            for (const Word& word : words) {
                const bool inText = rectOf(sheet.text, 0.5).contains(word.box);
                const bool inBox = std::ranges::any_of(sheet.cells, [&](const InscriptionCell& cell) {
                    return !cell.text.empty() && rectOf(cell.box, 0.5).contains(word.box);
                });
                QVERIFY2(inText || inBox,
                         qPrintable(QStringLiteral("page %1: «%2» at %3, %4 mm")
                                        .arg(page)
                                        .arg(word.text)
                                        .arg(word.box.x())
                                        .arg(word.box.y())));
            }
        }
    }

    // The names go only into the inscription: a note without a frame that
    // has nothing more reads as one without any title data.
    void unframed_note_without_title_data_is_as_before()
    {
        const std::vector<RunRecord> records = allThreeRuns();
        Report names = reportOf(records);
        names.titleData = {"", "", "", "Иванов", "Петров", "Сидоров", "Смирнов", false};
        const QList<QList<Word>> plain = wordsOnPages(reportOf(records));
        const QList<QList<Word>> named = wordsOnPages(names);
        QCOMPARE(plain.size(), 4);
        QCOMPARE(named.size(), plain.size());
        for (qsizetype page = 0; page < plain.size(); ++page) {
            QCOMPARE(named[page].size(), plain[page].size());
            for (qsizetype i = 0; i < plain[page].size(); ++i) {
                QCOMPARE(named[page][i].text, plain[page][i].text);
                QCOMPARE(named[page][i].box, plain[page][i].box);
            }
        }
    }

    void heading_names_the_organisation_object_and_designation()
    {
        const std::vector<RunRecord> records{runOn("Command2", drumLimitsEntries)};
        Report report = reportOf(records);
        report.titleData = sampleTitle;
        report.titleData.frame = false;
        const QList<QList<Word>> pages = wordsOnPages(report);
        QCOMPARE(pages.size(), 1);
        QStringList words;
        for (const Word& word : pages.first().first(13))
            words << word.text;
        QCOMPARE(words.join(QLatin1Char(' ')),
                 QStringLiteral("ООО «Подъём» Кран мостовой 5 т Расчётная записка "
                                "КЛВ.001.000 РР Кальвента 1.3.0 14.03.2025"));
    }

    void dialog_fields_reach_the_title_data_and_back()
    {
        ui::TitleDialog dialog(sampleTitle, nullptr);
        const std::pair<const char*, std::string TitleData::*> fields[]
            = {{"Изделие или объект, для которого выполнен расчёт", &TitleData::object},
               {"Обозначение расчётной записки", &TitleData::designation},
               {"Организация", &TitleData::organisation},
               {"Разработал, фамилия", &TitleData::developer},
               {"Проверил, фамилия", &TitleData::checker},
               {"Нормоконтроль, фамилия", &TitleData::standardsChecker},
               {"Утвердил, фамилия", &TitleData::approver}};
        TitleData typed;
        for (const auto& [name, member] : fields) {
            QLineEdit* field = fieldNamed(dialog, QString::fromUtf8(name));
            QVERIFY2(field, name);
            QCOMPARE(field->text().toStdString(), sampleTitle.*member);
            typed.*member = "новое: " + std::string(name);
            field->setText(QString::fromStdString(typed.*member));
        }
        auto* frame = dialog.findChild<QCheckBox*>();
        QCOMPARE(frame->accessibleName(), QStringLiteral("Записка в рамке с основной надписью"));
        QVERIFY(frame->isChecked());
        frame->setChecked(false);
        QCOMPARE(dialog.title(), typed);
    }

    // With no file in play: the window's calculation takes the data as an
    // unsaved change, and a new calculation is framed as chosen last.
    void dialog_from_the_menu_sets_the_calculation_and_the_frame_default()
    {
        ui::Form1 window;
        ui::CalculationFiles& files = *ui::calculationFiles(window);
        QCOMPARE(files.title(), TitleData{});
        for (const bool accept : {false, true}) {
            const QList<QAction*> actions = window.actions();
            const auto action = std::ranges::find(actions, QStringLiteral("Сведения о расчёте…"), &QAction::text);
            QVERIFY(action != actions.end());
            (*action)->trigger();
            auto* dialog = window.findChild<ui::TitleDialog*>();
            QVERIFY(dialog && dialog->isVisible());
            fieldNamed(*dialog, QStringLiteral("Организация"))->setText(QStringLiteral("ООО «Подъём»"));
            dialog->findChild<QCheckBox*>()->setChecked(true);
            accept ? dialog->accept() : dialog->reject();
            delete dialog;
            QCOMPARE(files.modified(), accept);
            QCOMPARE(QString::fromStdString(files.title().organisation),
                     accept ? QStringLiteral("ООО «Подъём»") : QString());
            QCOMPARE(ui::CalculationFiles::framedByDefault(), accept);
        }
        files.startNew();
        TitleData framed;
        framed.frame = true;
        QCOMPARE(files.title(), framed);
    }
};

QTEST_MAIN(TitleBlockTest)
#include "title_block_test.moc"

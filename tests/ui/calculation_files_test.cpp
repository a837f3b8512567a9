// Calculation files in the window: a save and an open give back every
// control and the same bytes; a file the window cannot take leaves it as it
// was and says why; the question on closing, the title and the recovery copy.

#include "core/calculation_file.h"
#include "core/report.h"
#include "sample_calculation.h"
#include "ui/calculation_files.h"
#include "ui/form1.h"
#include "ui/report_actions.h"
#include "ui/rules_check_dialog.h"
#include "ui/text_field.h"
#include "window_test_support.h"

#include <QComboBox>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using kalventa::ui::CalculationFiles;
using kalventa::ui::Form1;
using kalventa::ui::testing::control;

namespace {

// What the engineer sees of the window: every field, option, list and label
// by name, and the title.
QStringList shown(const QWidget& window)
{
    QStringList state{window.windowTitle() + (window.isWindowModified() ? QStringLiteral(" *") : QString())};
    for (const QWidget* widget : window.findChildren<QWidget*>()) {
        const QString name = widget->objectName() + QStringLiteral(": ");
        if (const auto* field = qobject_cast<const QLineEdit*>(widget))
            state << name + field->text();
        else if (const auto* option = qobject_cast<const QRadioButton*>(widget))
            state << name + (option->isChecked() ? QStringLiteral("on") : QStringLiteral("off"));
        else if (const auto* list = qobject_cast<const QComboBox*>(widget))
            state << name + QString::number(list->currentIndex());
        else if (const auto* label = qobject_cast<const QLabel*>(widget))
            state << name + label->text();
    }
    return state;
}

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

bool put(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

class CalculationFilesTest : public QObject {
    Q_OBJECT

    QTemporaryDir home;
    std::unique_ptr<Form1> window;

    CalculationFiles& files() const { return *kalventa::ui::calculationFiles(*window); }
    QString inHome(const QString& name) const { return home.filePath(name); }
    void type(const char* field, const QString& text) const
    {
        control<QLineEdit>(*window, QString::fromLatin1(field)).setText(text);
    }
    void press(const char* button) const { control<QPushButton>(*window, QString::fromLatin1(button)).click(); }
    QMessageBox* box() const
    {
        for (QMessageBox* box : window->findChildren<QMessageBox*>())
            if (box->isVisible())
                return box;
        return nullptr;
    }
    void answer(const QString& button) const
    {
        QMessageBox* shownBox = box();
        QVERIFY(shownBox);
        for (QAbstractButton* choice : shownBox->buttons())
            if (choice->text() == button)
                return choice->click();
        QFAIL(qPrintable(QStringLiteral("no button ") + button));
    }
    void closeBoxes() const
    {
        for (QMessageBox* box : window->findChildren<QMessageBox*>())
            box->done(QMessageBox::Ok);
    }
    // The recovery copies, a window's each.
    static QStringList recoveryCopies()
    {
        const QDir folder(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation)
                          + QStringLiteral("/recovery"));
        QStringList copies;
        for (const QString& name : folder.entryList({QStringLiteral("*.json")}, QDir::Files))
            copies << folder.filePath(name);
        return copies;
    }
    static QString recoveryCopy()
    {
        const QStringList copies = recoveryCopies();
        return copies.isEmpty() ? QStringLiteral("/no recovery copy") : copies.front();
    }

    // The sample calculation: all three parts, run.
    void fillIn() const
    {
        const auto name
            = [](std::string_view control) { return QString::fromUtf8(control.data(), qsizetype(control.size())); };
        for (const auto& [field, text] : kalventa::testing::sampleTexts)
            control<QLineEdit>(*window, name(field)).setText(name(text));
        for (const std::string_view option : kalventa::testing::sampleOptions)
            control<QRadioButton>(*window, name(option)).setChecked(true);
        for (const auto& [list, index] : kalventa::testing::sampleListIndexes)
            control<QComboBox>(*window, name(list)).setCurrentIndex(index);
        press("Command1");
        press("Command2");
        press("Command3");
    }

private slots:
    void initTestCase()
    {
        QVERIFY(home.isValid() && QDir(home.path()).mkpath(QStringLiteral("Documents")));
        qputenv("HOME", home.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", inHome(QStringLiteral(".config")).toLocal8Bit());
        qputenv("XDG_DATA_HOME", inHome(QStringLiteral(".local/share")).toLocal8Bit());
    }

    void init()
    {
        window = std::make_unique<Form1>();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    }

    void cleanup()
    {
        closeBoxes();
        window.reset();
        for (const QString& copy : recoveryCopies())
            QFile::remove(copy);
    }

    void reopening_gives_back_every_control_and_the_same_file_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("check");
        QTest::newRow("numbers") << QStringLiteral("49999") << false;
        QTest::newRow("any script, quotes and marks") << QStringLiteral("5,5 «кг» \"q\" \\ 日本 😀 <b>") << true;
        QTest::newRow("a full field") << QString(kalventa::ui::TextField::capacity, QLatin1Char('7')) << true;
    }

    void reopening_gives_back_every_control_and_the_same_file()
    {
        QFETCH(QString, text);
        QFETCH(bool, check);
        fillIn();
        type("Text3", text);
        press("Command1");
        if (check) {
            kalventa::ui::openRulesCheck(*window, window->history());
            QWidget* dialog = kalventa::ui::openedRulesCheck(*window);
            control<QComboBox>(*dialog, QStringLiteral("rulesGroup")).setCurrentIndex(4);
            control<QRadioButton>(*dialog, QStringLiteral("rulesStanding")).setChecked(true);
            control<QLineEdit>(*dialog, QStringLiteral("rulesHookMass")).setText(QStringLiteral("12,5 т"));
        }
        const QString first = inHome(QStringLiteral("первый.kalventa"));
        QCOMPARE(files().saveTo(first), QString());
        QCOMPARE(window->windowTitle(), QStringLiteral("первый.kalventa[*] — Кальвента "));
        QVERIFY(!window->isWindowModified());
        const QStringList before = shown(*window);
        const QWidget* beforeCheck = kalventa::ui::openedRulesCheck(*window);
        const QStringList checkBefore = beforeCheck ? shown(*beforeCheck) : QStringList();

        window = std::make_unique<Form1>();
        const kalventa::ui::OpenOutcome outcome = files().open(first);
        QCOMPARE(outcome.error, QString());
        QCOMPARE(outcome.notices, QStringList());
        QCOMPARE(outcome.differences, QStringList());
        QCOMPARE(shown(*window), before);
        const QWidget* afterCheck = kalventa::ui::openedRulesCheck(*window);
        QCOMPARE(afterCheck != nullptr, check);
        if (check)
            QCOMPARE(shown(*afterCheck), checkBefore);
        const QString second = inHome(QStringLiteral("второй.kalventa"));
        QCOMPARE(files().saveTo(second), QString());
        QVERIFY(contents(first) == contents(second));
    }

    void a_file_the_window_cannot_take_changes_nothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        // Written over a saved file of this window: a key path and its new value.
        QTest::newRow("not JSON") << "a" << QByteArray("расчёт\n")
                                  << "это не JSON: ошибка в тексте (строка 1, столбец 1)";
        QTest::newRow("another format")
            << "a" << QByteArray(R"({"format": "kalventa-report", "version": 1})")
            << "это не файл расчёта Кальвенты: нет метки «\"format\": \"kalventa-calculation\"»";
        QTest::newRow("a newer version") << "a" << QByteArray(R"({"format": "kalventa-calculation", "version": 2})")
                                         << "файл записан более новой версией программы (формат версии 2); эта "
                                            "версия читает формат версии 1: обновите программу";
        QTest::newRow("a number for a text") << "rope_check/inputs/load_weight_kg" << QByteArray("1000")
                                             << "значение «rope_check → inputs → load_weight_kg» должно быть "
                                                "текстом, а в файле число";
        QTest::newRow("a list item the list lacks")
            << "rope_capacity/choices/rope_layers" << QByteArray(R"({"index": 9, "text": "10"})")
            << "выбор «число слоёв каната» расчёта «Расчёт канатоёмкости»: пункта 9 в списке нет (в нём пункты 0 … 5)";
        // The check's dialog, not opened, is asked too.
        QTest::newRow("too long for the check's field")
            << "rules_check/inputs/rules_hook_block_mass_kg"
            << "\"" + QByteArray(40'000, '1') + "\""
            << "значение «масса крюковой подвески» расчёта «Проверка по действующим правилам» (40000 знаков) не "
               "помещается в поле";
        QTest::newRow("not UTF-8") << "a" << QByteArray("{\"format\": \"\xff\"}")
                                   << "текст файла не в кодировке UTF-8 (строка 1, столбец 13)";
        QTest::newRow("over the size limit") << "large" << QByteArray() << "файл больше 64 МБ";
        QTest::newRow("a folder") << "folder" << QByteArray() << "это папка, а не файл";
        QTest::newRow("gone") << "gone" << QByteArray() << "такого файла нет";
    }

    void a_file_the_window_cannot_take_changes_nothing()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        fillIn();
        const QString good = inHome(QStringLiteral("хороший.kalventa"));
        QCOMPARE(files().saveTo(good), QString());
        type("Text1", QStringLiteral("2000")); // unsaved
        const QStringList before = shown(*window);
        const auto runs = window->history().reportRuns().size();

        const QString path = inHome(QStringLiteral("плохой.kalventa"));
        QFile::remove(path);
        QDir(path).removeRecursively();
        if (name == QLatin1String("a")) {
            QVERIFY(put(path, bytes));
        } else if (name == QLatin1String("large")) {
            QFile large(path);
            QVERIFY(large.open(QIODevice::WriteOnly)
                    && large.resize(static_cast<qint64>(kalventa::calculationFileLimit) + 1));
        } else if (name == QLatin1String("folder")) {
            QVERIFY(QDir().mkpath(path));
        } else if (name != QLatin1String("gone")) {
            QJsonObject document = QJsonDocument::fromJson(contents(good)).object();
            const QStringList keys = name.split(QLatin1Char('/'));
            QJsonObject calculation = document[keys[0]].toObject();
            QJsonObject part = calculation[keys[1]].toObject();
            part[keys[2]] = QJsonDocument::fromJson("[" + bytes + "]").array().at(0);
            calculation[keys[1]] = part;
            document[keys[0]] = calculation;
            QVERIFY(put(path, QJsonDocument(document).toJson()));
        }

        QCOMPARE(files().open(path).error, reason);
        QCOMPARE(shown(*window), before);
        QCOMPARE(window->history().reportRuns().size(), runs);
        QCOMPARE(files().path(), good);
        QVERIFY(files().modified());
    }

    void a_good_file_tells_what_it_lacks_and_what_differs()
    {
        fillIn();
        const QString path = inHome(QStringLiteral("старый.kalventa"));
        QCOMPARE(files().saveTo(path), QString());
        QJsonObject document = QJsonDocument::fromJson(contents(path)).object();
        QJsonObject check = document[QStringLiteral("rope_check")].toObject();
        QJsonObject inputs = check[QStringLiteral("inputs")].toObject();
        inputs.remove(QStringLiteral("load_weight_kg"));
        check[QStringLiteral("inputs")] = inputs;
        document[QStringLiteral("rope_check")] = check;
        QJsonObject limits = document[QStringLiteral("drum_size_limits")].toObject();
        QJsonObject results = limits[QStringLiteral("results")].toObject();
        results[QStringLiteral("min_drum_diameter_mm")] = QStringLiteral(" 230");
        limits[QStringLiteral("results")] = results;
        document[QStringLiteral("drum_size_limits")] = limits;
        QVERIFY(put(path, QJsonDocument(document).toJson()));

        window = std::make_unique<Form1>();
        window->show();
        files().openAndTell(path);
        QCOMPARE(control<QLineEdit>(*window, QStringLiteral("Text1")).text(), QString());
        const QString lacks = QStringLiteral(
            "В файле нет значения «вес груза» расчёта «Расчёт каната» (load_weight_kg): поле оставлено как в новом "
            "расчёте.");
        // Without the load the rope check comes out otherwise too.
        const QString lead = QStringLiteral("Результаты отличаются от сохранённых: ");
        const QString rope
            = QStringLiteral("минимальное допустимое натяжение каната: сохранено « 275000», теперь « 0»");
        const QString drum = QStringLiteral("минимальный диаметр барабана: сохранено « 230», теперь « 228»");
        QTRY_VERIFY(box());
        QCOMPARE(box()->icon(), QMessageBox::Information);
        QCOMPARE(box()->text(),
                 lacks + QLatin1Char('\n') + lead + rope + QStringLiteral("; ") + drum + QLatin1Char('.'));
        // In the report, each under its own calculation.
        QStringList notes;
        for (const kalventa::ReportSection& section : kalventa::ui::currentReport(window->history()).sections)
            notes << QString::fromStdString(section.savedNote);
        QCOMPARE(notes, (QStringList{lead + rope + QLatin1Char('.'), lead + drum + QLatin1Char('.'), QString()}));
        QVERIFY(!files().modified());
    }

    void a_new_calculation_is_the_window_at_start()
    {
        const QStringList atStart = shown(*window);
        fillIn();
        QCOMPARE(files().saveTo(inHome(QStringLiteral("любой.kalventa"))), QString());
        kalventa::ui::openRulesCheck(*window, window->history());
        QTest::keyClick(window.get(), Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(shown(*window), atStart);
        QVERIFY(window->history().reportRuns().empty());
        QVERIFY(!kalventa::ui::openedRulesCheck(*window));
        QCOMPARE(files().path(), QString());
        QCOMPARE(files().title(), kalventa::TitleData{});
    }

    void closing_asks_only_with_a_file_in_play_data()
    {
        QTest::addColumn<bool>("saved");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("asked");
        QTest::newRow("never a file") << false << true << "Кальвента " << false;
        QTest::newRow("saved, unchanged") << true << false << "записка.kalventa — Кальвента " << false;
        QTest::newRow("saved, changed") << true << true << "записка.kalventa* — Кальвента " << true;
    }

    void closing_asks_only_with_a_file_in_play()
    {
        QFETCH(bool, saved);
        QFETCH(bool, changed);
        QFETCH(QString, title);
        QFETCH(bool, asked);
        if (saved)
            QCOMPARE(files().saveTo(inHome(QStringLiteral("записка.kalventa"))), QString());
        if (changed)
            press("Command2");
        QCOMPARE(window->windowTitle().replace(QStringLiteral("[*]"),
                                               window->isWindowModified() ? QStringLiteral("*") : QString()),
                 title);
        window->close();
        QCOMPARE(window->isVisible(), asked);
        if (!asked)
            return;
        QTRY_VERIFY(box());
        QCOMPARE(box()->text(), QStringLiteral("Сохранить изменения в файле «записка.kalventa»?"));
        answer(QStringLiteral("Отмена"));
        QVERIFY(window->isVisible());
        window->close();
        QTRY_VERIFY(box());
        answer(QStringLiteral("Сохранить"));
        QVERIFY(!window->isVisible());
        QVERIFY(!files().modified());
    }

    void unsaved_changes_are_offered_back_after_a_crash_only()
    {
        const QString path = inHome(QStringLiteral("восстановить.kalventa"));
        QCOMPARE(files().saveTo(path), QString());
        QVERIFY(!QFile::exists(recoveryCopy()));
        type("Text2", QStringLiteral("16"));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(recoveryCopy()), 6000);
        const QString written = QFileInfo(recoveryCopy()).lastModified().toString(QStringLiteral("dd.MM.yyyy HH:mm"));
        window.reset(); // as a crash: no close

        window = std::make_unique<Form1>();
        window->show();
        kalventa::ui::offerRecovery(*window);
        QTRY_VERIFY(box());
        QCOMPARE(box()->text(), QStringLiteral("Восстановить несохранённый расчёт от %1?").arg(written));
        answer(QStringLiteral("Да"));
        QCOMPARE(control<QLineEdit>(*window, QStringLiteral("Text2")).text(), QStringLiteral("16"));
        QCOMPARE(files().path(), path);
        QVERIFY(files().modified() && window->isWindowModified());
        QVERIFY(QFile::exists(recoveryCopy()));

        // A normal close removes it: nothing is offered at the next start.
        window->close();
        QTRY_VERIFY(box());
        answer(QStringLiteral("Не сохранять"));
        QVERIFY(!QFile::exists(recoveryCopy()));
        window = std::make_unique<Form1>();
        window->show();
        kalventa::ui::offerRecovery(*window);
        QVERIFY(!box());
    }

    // Two windows with unsaved files: each keeps its own copy; one closed
    // as usual takes only its own along, and a new window is not offered
    // the copy of a window still open.
    void each_window_keeps_its_own_recovery_copy()
    {
        QCOMPARE(files().saveTo(inHome(QStringLiteral("первый.kalventa"))), QString());
        type("Text2", QStringLiteral("16"));
        Form1 second;
        second.show();
        QCOMPARE(kalventa::ui::calculationFiles(second)->saveTo(inHome(QStringLiteral("второй.kalventa"))), QString());
        control<QLineEdit>(second, QStringLiteral("Text2")).setText(QStringLiteral("20"));
        QTRY_COMPARE_WITH_TIMEOUT(recoveryCopies().size(), 2, 6000);

        Form1 third;
        third.show();
        kalventa::ui::offerRecovery(third);
        QVERIFY(third.findChildren<QMessageBox*>().isEmpty());

        second.close();
        QTRY_VERIFY(!second.findChildren<QMessageBox*>().isEmpty());
        for (QAbstractButton* choice : second.findChildren<QMessageBox*>().front()->buttons())
            if (choice->text() == QStringLiteral("Не сохранять"))
                choice->click();
        QCOMPARE(recoveryCopies().size(), 1);
        QVERIFY(contents(recoveryCopies().front()).contains("первый.kalventa"));
    }

    // Under a full disk (the test run again with KALVENTA_FULL_DISK, a small
    // file system): the older file stays whole.
    void a_failed_save_keeps_the_older_file()
    {
        const QByteArray full = qgetenv("KALVENTA_FULL_DISK");
        if (full.isEmpty())
            QSKIP("needs KALVENTA_FULL_DISK");
        const QString path = QString::fromLocal8Bit(full + "/расчёт.kalventa");
        QCOMPARE(files().saveTo(path), QString());
        const QByteArray older = contents(path);
        type("Text1", QString(100'000, QLatin1Char('1')));
        QCOMPARE(files().saveTo(path), QStringLiteral("диск заполнен"));
        QVERIFY(contents(path) == older);
        QCOMPARE(QDir(QString::fromLocal8Bit(full)).entryList(QDir::Files),
                 QStringList{QStringLiteral("расчёт.kalventa")});
        QVERIFY(files().modified());
        QFile::remove(path);
    }

    // The sample calculation every edition writes alike: typed and chosen
    // here as an engineer would, and opened and saved again.
    void the_sample_file_is_written_byte_for_byte()
    {
        const QByteArray sample = contents(QStringLiteral(KALVENTA_SOURCE_DIR "/tests/files/sample.kalventa"));
        fillIn();
        files().setTitle({"Кран мостовой 5 т", "КЛВ.001.000 РР", "ООО «Подъём»", "Иванов", "Петров", "", "", true});
        const QString typed = inHome(QStringLiteral("набранный.kalventa"));
        QCOMPARE(files().saveTo(typed), QString());
        QCOMPARE(contents(typed), sample);

        window = std::make_unique<Form1>();
        QCOMPARE(files().open(QStringLiteral(KALVENTA_SOURCE_DIR "/tests/files/sample.kalventa")).error, QString());
        const QString again = inHome(QStringLiteral("снова.kalventa"));
        QCOMPARE(files().saveTo(again), QString());
        QCOMPARE(contents(again), sample);
    }

    void the_last_eight_files_are_offered_and_a_gone_one_leaves()
    {
        QStringList saved;
        for (int i = 1; i <= 9; ++i) {
            saved.prepend(inHome(QStringLiteral("%1.kalventa").arg(i)));
            QCOMPARE(files().saveTo(saved.front()), QString());
        }
        saved.removeLast();
        QCOMPARE(CalculationFiles::recentFiles(), saved);
        auto* recent = qobject_cast<QMenu*>(window->actions().at(2)->menu());
        QVERIFY(recent);
        QCOMPARE(recent->actions().size(), 8);
        QVERIFY(QFile::remove(saved.at(1)));
        recent->actions().at(1)->trigger();
        QTRY_VERIFY(box());
        QCOMPARE(box()->text(), QStringLiteral("Не удалось открыть файл\n%1\nТакого файла нет.").arg(saved.at(1)));
        saved.removeAt(1);
        QCOMPARE(CalculationFiles::recentFiles(), saved);
        QCOMPARE(recent->actions().size(), 7);
    }

    // The check's inputs belong to the calculation as much as the window's.
    void a_change_in_the_check_is_a_change()
    {
        QCOMPARE(files().saveTo(inHome(QStringLiteral("проверка.kalventa"))), QString());
        QTest::keyClick(window.get(), Qt::Key_F9);
        QWidget* dialog = kalventa::ui::openedRulesCheck(*window);
        QVERIFY(dialog && !files().modified());
        control<QLineEdit>(*dialog, QStringLiteral("rulesHookMass")).setText(QStringLiteral("100"));
        QVERIFY(files().modified());
    }
};

QTEST_MAIN(CalculationFilesTest)
#include "calculation_files_test.moc"

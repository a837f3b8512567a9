// What the window offers beyond its labels after a run: the formula behind
// each result in its tooltip, the report and copy actions in the context menu
// with their keys, the results on the clipboard as text and as a table, and
// the report saved as a PDF through the save dialog.

#include "ui/form1.h"
#include "ui/qt_translations.h"
#include "ui/report_actions.h"
#include "window_test_support.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace kalventa::ui::testing;
using kalventa::ui::Form1;

class WindowReportTest : public QObject {
    Q_OBJECT

    // The home of the whole test, removed after the last window: the file
    // dialog writes Qt's settings there when it goes.
    QTemporaryDir home;
    std::unique_ptr<Form1> window;

    QLineEdit& field(const char* name) const { return control<QLineEdit>(*window, QString::fromLatin1(name)); }
    void press(const char* button) const { control<QPushButton>(*window, QString::fromLatin1(button)).click(); }

    // The tooltip as a person reads it.
    QString toolTip(const char* name) const
    {
        QTextDocument document;
        document.setHtml(control(*window, QString::fromLatin1(name)).toolTip());
        return document.toPlainText();
    }

    void closeMessageBoxes() const
    {
        for (QMessageBox* box : window->findChildren<QMessageBox*>())
            box->close();
    }

private slots:
    // One home folder for the whole test, and Qt's own dialogs in the
    // window's language, as the program sets them up.
    void initTestCase()
    {
        QVERIFY(home.isValid() && QDir(home.path()).mkpath(QStringLiteral("Documents")));
        qputenv("HOME", home.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral(".config")).toLocal8Bit());
        kalventa::ui::translateQtDialogs(*QCoreApplication::instance());
    }

    void init()
    {
        window = std::make_unique<Form1>();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    void cleanup() { window.reset(); }

    void results_explain_their_formula_data()
    {
        QTest::addColumn<QString>("before"); // the row's name is the label's
        QTest::addColumn<QString>("after");
        QTest::newRow("Label8") << "Dмин = 19 · d — минимальный диаметр барабана, мм"
                                << "Dмин = 19 · d = 19 · 12 = 228 мм";
        QTest::newRow("Label10") << "Lмакс = 3 · Dмин — максимальная длина барабана, мм"
                                 << "Lмакс = 3 · Dмин = 3 · 228 = 684 мм";
        QTest::newRow("Label3") << "Sмин = Q · k · 10 — минимальное допустимое натяжение каната, Н"
                                << "Sмин = Q · k · 10 — минимальное допустимое натяжение каната, Н";
    }

    void results_explain_their_formula()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        const QByteArray name = QTest::currentDataTag();
        QCOMPARE(toolTip(name), before);
        field("Text2").setText(QStringLiteral("12"));
        press("Command2");
        QCOMPARE(toolTip(name), after);
    }

    void a_result_an_error_stopped_before_says_so()
    {
        field("Text6").setText(QStringLiteral("15"));
        field("Text5").setText(QStringLiteral("800"));
        press("Command3");
        QCOMPARE(toolTip("Label16"), QStringLiteral("n = ⌊L / d⌋ = ⌊800 / 15⌋ = 53"));
        field("Text5").setText(QStringLiteral("1E+39"));
        press("Command3");
        closeMessageBoxes();
        QCOMPARE(toolTip("Label16"),
                 QStringLiteral("n = ⌊L / d⌋ — не рассчитано: расчёт остановлен, переполнение (длина барабана)"));
        // The label shows no number of the run before.
        QCOMPARE(control<QLabel>(*window, QStringLiteral("Label16")).text(), QString());
    }

    void context_menu_offers_the_report_with_its_keys()
    {
        QCOMPARE(window->contextMenuPolicy(), Qt::ActionsContextMenu);
        QStringList offered;
        for (const QAction* action : window->actions())
            offered << action->text() + QStringLiteral(" ") + action->shortcut().toString();
        QCOMPARE(
            offered,
            (QStringList{"Новый расчёт Ctrl+N", "Открыть расчёт… Ctrl+O", "Последние файлы ", "Сохранить расчёт Ctrl+S",
                         "Сохранить расчёт как… Ctrl+Shift+S", " ", "Просмотр и печать расчётной записки… Ctrl+P",
                         "Экспорт в PDF… Ctrl+E", "Сведения о расчёте… ", "Копировать результаты Ctrl+Shift+C",
                         "Проверка по действующим правилам… F9"}));
        QCOMPARE(
            control(*window, QStringLiteral("Command1")).toolTip(),
            QStringLiteral("Расчёт каната. Расчётная записка: Ctrl+P — просмотр и печать, Ctrl+E — экспорт в PDF. "
                           "Расчёт в файле: Ctrl+O — открыть, Ctrl+S — сохранить. Проверка по действующим правилам: "
                           "F9"));
    }

    void copy_puts_the_results_on_the_clipboard()
    {
        field("Text1").setText(QStringLiteral("1000"));
        field("Text3").setText(QStringLiteral("50000"));
        control<QRadioButton>(*window, QStringLiteral("Option2")).setChecked(true);
        press("Command1");
        field("Text2").setText(QStringLiteral("12"));
        press("Command2");
        press("Command3");
        field("Text2").setText(QStringLiteral("13"));                         // after its run: the run is marked
        auto& layers = control<QComboBox>(*window, QStringLiteral("Combo1")); // and a list chosen anew
        layers.setFocus();
        QTest::keyClick(&layers, Qt::Key_Down);
        QCOMPARE(layers.currentIndex(), 0);
        QTest::keyClick(window.get(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        const QMimeData* copied = QApplication::clipboard()->mimeData();
        QVERIFY(copied);
        // The rows themselves are the core's; here: both runs, the later one marked.
        const QStringList lines = copied->text().split(QLatin1Char('\n'));
        QCOMPARE(lines.value(0), QStringLiteral("Величина\tЗначение\tЕд. изм."));
        QCOMPARE(lines.value(1), QStringLiteral("Расчёт каната\t\t"));
        QVERIFY(lines.contains(QStringLiteral("Заключение о канате\tканат не допустим\t")));
        QVERIFY(lines.contains(QStringLiteral(
            "Допустимые размеры барабана (исходные данные изменены после расчёта: диаметр каната)\t\t")));
        QVERIFY(lines.contains(
            QStringLiteral("Расчёт канатоёмкости (исходные данные изменены после расчёта: число слоёв каната)\t\t")));
        QVERIFY(copied->html().contains(
            QStringLiteral("<td>Максимальная длина барабана</td><td sdval=\"684\" sdnum=\"1033;0;General\" "
                           "x:num=\"684\">684</td><td>мм</td>")));
        // Typed back as the run read it, the field no longer marks the run.
        field("Text2").setText(QStringLiteral("12"));
        QTest::keyClick(window.get(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(QApplication::clipboard()->mimeData()->text().contains(
            QStringLiteral("\nДопустимые размеры барабана\t\t\n")));
    }

    void save_offers_the_dated_name_in_documents_and_writes_a_pdf()
    {
        QTest::keyClick(window.get(), Qt::Key_E, Qt::ControlModifier);
        QFileDialog* dialog = nullptr;
        QTRY_VERIFY((dialog = window->findChild<QFileDialog*>()) && dialog->isVisible());
        QCOMPARE(dialog->selectedFiles().value(0),
                 home.filePath(
                     QStringLiteral("Documents/Кальвента %1.pdf").arg(QDate::currentDate().toString(Qt::ISODate))));
        QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);

        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("записка.pdf"));
        dialog->selectFile(path);
        QMetaObject::invokeMethod(dialog, "accept"); // as its Save button does
        QFile pdf(path);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QCOMPARE(pdf.read(5), QByteArray("%PDF-"));
    }

    // Where the user has no Documents folder, the home folder is offered.
    void without_documents_the_home_folder_is_offered()
    {
        QVERIFY(QDir(home.path()).rename(QStringLiteral("Documents"), QStringLiteral("Documents-away")));
        const QString offered = kalventa::ui::defaultReportPath();
        QVERIFY(QDir(home.path()).rename(QStringLiteral("Documents-away"), QStringLiteral("Documents")));
        QCOMPARE(offered,
                 home.filePath(QStringLiteral("Кальвента %1.pdf").arg(QDate::currentDate().toString(Qt::ISODate))));
    }

    // As Russian writes dates: the day first.
    void the_report_is_dated()
    {
        const kalventa::RunHistory none;
        QCOMPARE(
            QString::fromStdString(kalventa::ui::currentReport(none, QDateTime(QDate(2026, 12, 8), QTime(9, 5))).made),
            QStringLiteral("08.12.2026 09:05"));
    }

    // The save dialog speaks Russian; a save that fails says why and comes
    // back to the dialog with the path as typed.
    void a_failed_save_says_why_and_returns_to_the_dialog()
    {
        QTest::keyClick(window.get(), Qt::Key_E, Qt::ControlModifier);
        QFileDialog* dialog = nullptr;
        QTRY_VERIFY((dialog = window->findChild<QFileDialog*>()) && dialog->isVisible());
        QCOMPARE(dialog->findChild<QDialogButtonBox*>()->buttons().value(0)->text(), QStringLiteral("&Сохранить"));

        QTemporaryDir folder;
        const QString typed = folder.filePath(QStringLiteral("нет/записка.pdf"));
        dialog->selectFile(typed);
        const QString chosen = dialog->selectedFiles().value(0);
        QVERIFY2(chosen.endsWith(QStringLiteral("/нет/записка.pdf")), qPrintable(chosen));
        QMetaObject::invokeMethod(dialog, "accept");
        QMessageBox* box = nullptr;
        QTRY_VERIFY((box = window->findChild<QMessageBox*>()) && box->isVisible());
        QCOMPARE(box->text(),
                 QStringLiteral("Не удалось сохранить расчётную записку в файл\n%1\nНет такой папки.").arg(chosen));
        box->accept();
        QTRY_VERIFY((dialog = window->findChild<QFileDialog*>()) && dialog->isVisible());
        QCOMPARE(dialog->selectedFiles(), QStringList{chosen});
        dialog->reject();
    }
};

QTEST_MAIN(WindowReportTest)
#include "window_report_test.moc"

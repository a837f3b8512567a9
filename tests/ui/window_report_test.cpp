// What the window offers beyond its labels after a run: the formula behind
// each result in its tooltip, the report and copy actions in the context menu
// with their keys, the results on the clipboard as text and as a table, and
// the report saved as a PDF through the save dialog.

#include "ui/form1.h"
#include "ui/report_actions.h"
#include "window_test_support.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
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
    void init()
    {
        window = std::make_unique<Form1>();
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    void cleanup() { window.reset(); }

    void resultsExplainTheirFormula_data()
    {
        QTest::addColumn<QString>("before"); // the row's name is the label's
        QTest::addColumn<QString>("after");
        QTest::newRow("Label8") << "Dмин = 19 · d — минимальный диаметр барабана, мм" << "Dмин = 19 · d = 19 · 12 = 228 мм";
        QTest::newRow("Label10") << "Lмакс = 3 · Dмин — максимальная длина барабана, мм"
                                 << "Lмакс = 3 · Dмин = 3 · 228 = 684 мм";
        QTest::newRow("Label3") << "Sмин = Q · k · 10 — минимальное допустимое натяжение каната, Н"
                                << "Sмин = Q · k · 10 — минимальное допустимое натяжение каната, Н";
    }

    void resultsExplainTheirFormula()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        const QByteArray name = QTest::currentDataTag();
        QCOMPARE(toolTip(name), before);
        field("Text2").setText(QStringLiteral("12"));
        press("Command2");
        QCOMPARE(toolTip(name), after);
    }

    void aResultAnErrorStoppedBeforeSaysSo()
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
        // The label itself keeps the text of the run before.
        QCOMPARE(control<QLabel>(*window, QStringLiteral("Label16")).text(), QStringLiteral(" 53"));
    }

    void contextMenuOffersTheReportWithItsKeys()
    {
        QCOMPARE(window->contextMenuPolicy(), Qt::ActionsContextMenu);
        QStringList offered;
        for (const QAction* action : window->actions())
            offered << action->text() + QStringLiteral(" ") + action->shortcut().toString();
        QCOMPARE(offered, (QStringList{"Просмотр и печать расчётной записки… Ctrl+P",
                                       "Сохранить расчётную записку в PDF… Ctrl+S",
                                       "Копировать результаты Ctrl+Shift+C"}));
        QCOMPARE(control(*window, QStringLiteral("Command1")).toolTip(),
                 QStringLiteral("Расчёт каната. Расчётная записка: Ctrl+P — просмотр и печать, Ctrl+S — сохранить в PDF"));
    }

    void copyPutsTheResultsOnTheClipboard()
    {
        field("Text1").setText(QStringLiteral("1000"));
        field("Text3").setText(QStringLiteral("50000"));
        control<QRadioButton>(*window, QStringLiteral("Option2")).setChecked(true);
        press("Command1");
        field("Text2").setText(QStringLiteral("12"));
        press("Command2");
        press("Command3");
        field("Text2").setText(QStringLiteral("13")); // after its run: the run is marked
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
        QVERIFY(lines.contains(QStringLiteral("Допустимые размеры барабана (исходные данные изменены после расчёта)\t\t")));
        QVERIFY(lines.contains(QStringLiteral("Расчёт канатоёмкости (исходные данные изменены после расчёта)\t\t")));
        QVERIFY(copied->html().contains(QStringLiteral("<td>Максимальная длина барабана</td><td>684</td><td>мм</td>")));
    }

    void saveOffersTheDatedNameAndWritesAPdf_data()
    {
        QTest::addColumn<bool>("documents"); // the user has a Documents folder
        QTest::addColumn<QString>("offeredIn"); // under the home folder
        QTest::addColumn<QString>("savedAs");   // typed into the dialog
        QTest::addColumn<bool>("saved");
        QTest::newRow("in Documents") << true << "Documents/" << "записка.pdf" << true;
        QTest::newRow("no Documents folder: in the home folder") << false << "" << "записка.pdf" << true;
        QTest::newRow("into a folder that is not there: the user is told") << true << "Documents/"
                                                                           << "нет/записка.pdf" << false;
    }

    void saveOffersTheDatedNameAndWritesAPdf()
    {
        QFETCH(bool, documents);
        QFETCH(QString, offeredIn);
        QFETCH(QString, savedAs);
        QFETCH(bool, saved);
        QTemporaryDir home;
        QVERIFY(!documents || QDir(home.path()).mkpath(QStringLiteral("Documents")));
        qputenv("HOME", home.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral(".config")).toLocal8Bit());
        QTest::keyClick(window.get(), Qt::Key_S, Qt::ControlModifier);
        QFileDialog* dialog = nullptr;
        QTRY_VERIFY((dialog = window->findChild<QFileDialog*>()) && dialog->isVisible());
        QCOMPARE(dialog->selectedFiles().value(0),
                 home.filePath(offeredIn + QStringLiteral("Кальвента %1.pdf").arg(QDate::currentDate().toString(Qt::ISODate))));
        QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);

        const QString path = home.filePath(offeredIn + savedAs);
        dialog->selectFile(savedAs);
        // A failed save says so in a message box of its own event loop.
        QString told;
        QTimer::singleShot(0, window.get(), [&told] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                told = box->text();
                box->close();
            }
        });
        QMetaObject::invokeMethod(dialog, "accept"); // as its Save button does
        QCoreApplication::processEvents();
        QCOMPARE(told, saved ? QString() : QStringLiteral("Не удалось сохранить расчётную записку в файл\n") + path);
        QFile pdf(path);
        QCOMPARE(pdf.open(QIODevice::ReadOnly), saved);
        QCOMPARE(pdf.read(5), saved ? QByteArray("%PDF-") : QByteArray());
    }

    // As Russian writes dates: the day first.
    void theReportIsDated()
    {
        const kalventa::RunHistory none;
        QCOMPARE(QString::fromStdString(kalventa::ui::currentReport(none, QDateTime(QDate(2026, 12, 8), QTime(9, 5))).made),
                 QStringLiteral("08.12.2026 09:05"));
    }
};

QTEST_MAIN(WindowReportTest)
#include "window_report_test.moc"

#include "ui/report_actions.h"

#include "core/calculation_table.h"
#include "core/copied_results.h"
#include "ui/calculation_files.h"
#include "ui/report_document.h"
#include "ui/rules_check_dialog.h"
#include "ui/text.h"
#include "ui/title_dialog.h"
#include "ui/window_action.h"
#include "window/layout_table.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QStandardPaths>
#include <QWidget>

#include <algorithm>
#include <iterator>
#include <optional>

namespace kalventa::ui {
namespace {

const QString programName = QStringLiteral("Кальвента " KALVENTA_VERSION);

QString capitalisedFirst(QString text)
{
    if (!text.isEmpty())
        text[0] = text[0].toUpper();
    return text;
}

// The file dialog on `path`; a failed save says why and comes back to the
// dialog with the path as typed, for another folder or name.
void saveWithDialog(QWidget& window, const RunHistory& history, const QString& path)
{
    // The dialog opens on the nearest folder that exists, with the rest of the
    // path in its name field, so that a missing folder stays as typed.
    QString folder = QFileInfo(path).absolutePath();
    while (!QDir(folder).exists() && QFileInfo(folder).path() != folder)
        folder = QFileInfo(folder).path();
    auto* dialog = new QFileDialog(&window, QStringLiteral("Сохранить расчётную записку"), folder,
                                   QStringLiteral("PDF (*.pdf)"));
    dialog->selectFile(QDir(folder).relativeFilePath(path));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(QStringLiteral("pdf"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // An existing file is replaced only after the dialog's own question.
    QObject::connect(dialog, &QFileDialog::fileSelected, &window, [&window, &history](const QString& chosen) {
        const QString reason = saveReportPdf(currentReport(history, window), chosen);
        if (reason.isEmpty())
            return;
        auto* box = new QMessageBox(QMessageBox::Warning, window.windowTitle(),
                                    QStringLiteral("Не удалось сохранить расчётную записку в файл\n%1\n%2.")
                                        .arg(QDir::toNativeSeparators(chosen), capitalisedFirst(reason)),
                                    QMessageBox::Ok, &window);
        box->setAttribute(Qt::WA_DeleteOnClose);
        QObject::connect(box, &QMessageBox::finished, &window,
                         [&window, &history, chosen] { saveWithDialog(window, history, chosen); });
        box->open();
    });
    dialog->open();
}

void copyResults(const RunHistory& history, const QWidget& window)
{
    std::vector<CopiedRow> rows = copiedResults(history.reportRuns());
    if (const std::optional<rules::CheckResult> check = currentRulesCheck(window))
        std::ranges::move(rules::rulesCheckRows(*check), std::back_inserter(rows));
    auto* data = new QMimeData;
    data->setText(fromUtf8(asTabSeparated(rows)));
    data->setHtml(fromUtf8(asHtmlTable(rows)));
    QApplication::clipboard()->setMimeData(data);
}

} // namespace

QString inDocuments(const QString& name)
{
    // Where the user has no Documents folder, the home folder rather than
    // the folder the program was started from.
    const QDir documents(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    return (documents.exists() ? documents : QDir::home()).filePath(name);
}

QString defaultReportPath()
{
    return inDocuments(QStringLiteral("Кальвента %1.pdf").arg(QDate::currentDate().toString(Qt::ISODate)));
}

Report currentReport(const RunHistory& history, const QDateTime& made)
{
    const QString when = made.toString(QStringLiteral("dd.MM.yyyy HH:mm"));
    return makeReport(history.reportRuns(), programName.toStdString(), when.toStdString(),
                      [](std::string_view control, int item) { return std::string(choiceText(control, item)); });
}

Report currentReport(const RunHistory& history, const QWidget& window)
{
    Report report = currentReport(history);
    if (const CalculationFiles* files = calculationFiles(window))
        report.titleData = files->title();
    if (const std::optional<rules::CheckResult> check = currentRulesCheck(window)) {
        int formulas = 0;
        for (const ReportSection& section : report.sections)
            formulas += static_cast<int>(section.formulas.size());
        report.rulesCheck = rules::makeRulesCheckNote(*check, formulas + 1);
    }
    return report;
}

void addReportActions(QWidget& window, const RunHistory& history)
{
    QObject::connect(
        addWindowAction(window, QStringLiteral("Просмотр и печать расчётной записки…"), QKeySequence::Print),
        &QAction::triggered, &window, [&window, &history] {
            const QString reason = openReportPreview(currentReport(history, window), &window);
            if (reason.isEmpty())
                return;
            auto* box
                = new QMessageBox(QMessageBox::Warning, window.windowTitle(),
                                  QStringLiteral("Не удалось открыть просмотр расчётной записки:\n%1.").arg(reason),
                                  QMessageBox::Ok, &window);
            box->setAttribute(Qt::WA_DeleteOnClose);
            box->open();
        });
    QObject::connect(addWindowAction(window, QStringLiteral("Экспорт в PDF…"), QKeySequence(Qt::CTRL | Qt::Key_E)),
                     &QAction::triggered, &window,
                     [&window, &history] { saveWithDialog(window, history, defaultReportPath()); });
    addTitleAction(window);
    QObject::connect(
        addWindowAction(window, fromUtf8(copyResultsCommand), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)),
        &QAction::triggered, &window, [&window, &history] { copyResults(history, window); });
    window.setContextMenuPolicy(Qt::ActionsContextMenu);

    for (const CalculationEntry& calculation : calculations())
        if (auto* button = window.findChild<QPushButton*>(fromUtf8(calculation.button)))
            button->setToolTip(fromUtf8(calculation.title)
                               + QStringLiteral(". Расчётная записка: Ctrl+P — просмотр и печать, Ctrl+E — "
                                                "экспорт в PDF. Расчёт в файле: Ctrl+O — открыть, Ctrl+S — "
                                                "сохранить. Проверка по действующим правилам: %1")
                                     .arg(rulesCheckKey.toString(QKeySequence::NativeText)));
}

} // namespace kalventa::ui

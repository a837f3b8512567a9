#include "ui/report_actions.h"

#include "core/calculation_table.h"
#include "core/copied_results.h"
#include "ui/report_document.h"
#include "ui/text.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QStandardPaths>
#include <QWidget>

namespace kalventa::ui {
namespace {

const QString programName = QStringLiteral("Кальвента " KALVENTA_VERSION);

void saveWithDialog(QWidget& window, const RunHistory& history)
{
    auto* dialog = new QFileDialog(&window, QStringLiteral("Сохранить расчётную записку"), defaultReportPath(),
                                   QStringLiteral("PDF (*.pdf)"));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setDefaultSuffix(QStringLiteral("pdf"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // An existing file is replaced only after the dialog's own question.
    QObject::connect(dialog, &QFileDialog::fileSelected, &window, [&window, &history](const QString& path) {
        if (!saveReportPdf(currentReport(history), path))
            QMessageBox::warning(&window, window.windowTitle(),
                                 QStringLiteral("Не удалось сохранить расчётную записку в файл\n%1").arg(path));
    });
    dialog->open();
}

void copyResults(const RunHistory& history)
{
    const std::vector<CopiedRow> rows = copiedResults(history.reportRuns());
    auto* data = new QMimeData;
    data->setText(fromUtf8(asTabSeparated(rows)));
    data->setHtml(fromUtf8(asHtmlTable(rows)));
    QApplication::clipboard()->setMimeData(data);
}

QAction* addAction(QWidget& window, const QString& text, const QKeySequence& keys)
{
    auto* action = new QAction(text, &window);
    action->setShortcut(keys);
    action->setShortcutVisibleInContextMenu(true);
    window.addAction(action);
    return action;
}

} // namespace

QString defaultReportPath()
{
    const QString name = QStringLiteral("Кальвента %1.pdf").arg(QDate::currentDate().toString(Qt::ISODate));
    // Where the user has no Documents folder, the home folder rather than
    // the folder the program was started from.
    const QDir documents(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    return (documents.exists() ? documents : QDir::home()).filePath(name);
}

Report currentReport(const RunHistory& history, const QDateTime& made)
{
    const QString when = made.toString(QStringLiteral("dd.MM.yyyy HH:mm"));
    return makeReport(history.reportRuns(), programName.toStdString(), when.toStdString());
}

void addReportActions(QWidget& window, const RunHistory& history)
{
    QObject::connect(addAction(window, QStringLiteral("Просмотр и печать расчётной записки…"), QKeySequence::Print),
                     &QAction::triggered, &window,
                     [&window, &history] { openReportPreview(currentReport(history), &window); });
    QObject::connect(addAction(window, QStringLiteral("Сохранить расчётную записку в PDF…"), QKeySequence::Save),
                     &QAction::triggered, &window, [&window, &history] { saveWithDialog(window, history); });
    QObject::connect(addAction(window, QStringLiteral("Копировать результаты"),
                               QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C)),
                     &QAction::triggered, &window, [&history] { copyResults(history); });
    window.setContextMenuPolicy(Qt::ActionsContextMenu);

    for (const CalculationEntry& calculation : calculations())
        if (auto* button = window.findChild<QPushButton*>(fromUtf8(calculation.button)))
            button->setToolTip(fromUtf8(calculation.title)
                               + QStringLiteral(". Расчётная записка: Ctrl+P — просмотр и печать, Ctrl+S — "
                                                "сохранить в PDF"));
}

} // namespace kalventa::ui

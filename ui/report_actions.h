#pragma once
// The calculation report and the results, offered from the window's context
// menu (a right click on the background, a group or a label) and the
// keyboard: Ctrl+P previews and prints the report, Ctrl+E saves it as a PDF
// through a file dialog, «Сведения о расчёте…» sets its title data,
// Ctrl+Shift+C copies the last runs' inputs and results to the clipboard. Each button's tooltip tells of the report keys.

#include "core/run_history.h"

#include <QDateTime>
#include <QString>

class QWidget;

namespace kalventa::ui {

void addReportActions(QWidget& window, const RunHistory& history);

// The report of the runs so far, made now (or at `made`).
Report currentReport(const RunHistory& history, const QDateTime& made = QDateTime::currentDateTime());
// The same with the title data of the window's calculation and its check
// against today's rules after the runs, once the check was opened.
Report currentReport(const RunHistory& history, const QWidget& window);

// The file of that name in the user's Documents folder (the home folder
// when there is none).
QString inDocuments(const QString& name);

// The file name the save dialog offers: "Кальвента 2026-12-08.pdf" in the
// user's Documents folder (the home folder when there is none).
QString defaultReportPath();

} // namespace kalventa::ui

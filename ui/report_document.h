#pragma once
// The calculation report on paper: A4 portrait, its pages numbered
// «Лист N из M» at the foot; printed, previewed or written as a PDF file.

#include "core/report.h"

#include <QString>

class QPagedPaintDevice;
class QSaveFile;
class QWidget;

namespace kalventa::ui {

// Paints the report on the pages of `device` (a QPdfWriter or a QPrinter),
// A4 portrait.
void paintReport(const Report& report, QPagedPaintDevice& device);

// Writes the report as a PDF file, whole or not at all (an older file of
// that name stays as it was). Gives why it could not be written, in the
// user's words ("нет такой папки"); an empty text when it was written.
QString saveReportPdf(const Report& report, const QString& path);

// Why `file` could not be written to `path`, in the user's words, lower
// case and without a full stop.
QString saveFailureReason(const QString& path, const QSaveFile& file);

// Opens Qt's print preview of the report, window-modal and without blocking;
// the dialog deletes itself when closed. Gives why it could not be opened,
// in the user's words; an empty text when it was.
QString openReportPreview(const Report& report, QWidget* parent);

} // namespace kalventa::ui

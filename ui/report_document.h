#pragma once
// The calculation report on paper: A4 portrait, its pages numbered
// «Лист N из M» at the foot; printed, previewed or written as a PDF file.

#include "core/report.h"

class QPagedPaintDevice;
class QString;
class QWidget;

namespace kalventa::ui {

// Paints the report on the pages of `device` (a QPdfWriter or a QPrinter),
// A4 portrait.
void paintReport(const Report& report, QPagedPaintDevice& device);

// Writes the report as a PDF file; false when the file cannot be written.
bool saveReportPdf(const Report& report, const QString& path);

// Opens Qt's print preview of the report, window-modal and without blocking;
// the dialog deletes itself when closed.
void openReportPreview(const Report& report, QWidget* parent);

} // namespace kalventa::ui

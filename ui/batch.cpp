#include "ui/batch.h"

#include "core/calculation_file_window.h"
#include "core/calculation_table.h"
#include "core/error_text.h"
#include "ui/calculation_files.h"
#include "ui/file_window.h"
#include "ui/form1.h"
#include "ui/report_actions.h"
#include "ui/report_document.h"

#include <QDir>
#include <QFile>
#include <QString>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace kalventa::ui {
namespace {

void write(std::FILE* stream, std::string_view text)
{
    std::fwrite(text.data(), 1, text.size(), stream);
}

// "kalventa: «кран.kalventa»: what\n", as GNU programs name the file they speak of.
void tell(const QString& path, const QString& what)
{
    write(stderr, QStringLiteral("kalventa: «%1»: %2\n").arg(QDir::toNativeSeparators(path), what).toStdString());
}

std::vector<CalculationId> calculationsRunIn(const Form1& window)
{
    std::vector<CalculationId> ran;
    for (const CalculationEntry& calculation : calculations())
        if (window.history().lastRun(calculation.id) != nullptr)
            ran.push_back(calculation.id);
    return ran;
}

} // namespace

int runWithoutWindow(const CommandLine& command)
{
    const QString path = QFile::decodeName(QByteArray::fromStdString(command.file));
    Form1 window; // never shown
    CalculationFiles* files = calculationFiles(window);
    const OpenOutcome outcome = files->open(path);
    if (!outcome.error.isEmpty()) {
        tell(path, outcome.error);
        return exitFailed;
    }
    for (const QString& notice : outcome.notices)
        tell(path, notice);
    if (!outcome.differences.isEmpty())
        tell(path,
             QStringLiteral("результаты отличаются от сохранённых: ") + outcome.differences.join(QStringLiteral("; ")));

    // A calculation stopped by a run-time error, as the window's message box would say.
    bool stopped = false;
    for (const CalculationId id : calculationsRunIn(window)) {
        const RunRecord& run = *window.history().lastRun(id);
        if (run.error) {
            tell(path, QString::fromStdString(std::string(calculation(id).title) + ": " + errorText(*run.error)));
            stopped = true;
        }
    }

    if (command.mode == Mode::Report) {
        const QString note = QFile::decodeName(QByteArray::fromStdString(command.output));
        if (const QString reason = saveReportPdf(currentReport(window.history(), window), note); !reason.isEmpty()) {
            tell(note, reason);
            return exitFailed;
        }
    } else {
        WidgetFileWindow shown(window);
        const CalculationFile results = captureFile(shown, calculationsRunIn(window), nullptr);
        write(stdout, command.json ? resultsAsJson(results) : resultsAsText(results));
    }
    return stopped ? exitFailed : exitOk;
}

} // namespace kalventa::ui

#include "core/report.h"

#include "core/calculation_table.h"
#include "core/error_text.h"
#include "core/formulas.h"

#include <algorithm>

namespace kalventa {
namespace {

// The sketch shows the drum's inputs where they were typed and its results
// in their labels.
constexpr std::string_view sketchInputs[] = {"Text4", "Text5"};
constexpr std::string_view sketchLabels[] = {"Label18", "Label16", "Label12", "Label23", "Label21", "Label20"};

std::string explained(const QuantityEntry& row, std::string_view symbol)
{
    std::string text = std::string(symbol) + " — " + std::string(row.name);
    if (!row.unit.empty())
        text.append(", ").append(row.unit);
    return text;
}

ReportSection sectionOf(const RunRecord& record, bool stale, int& formulaNumber)
{
    ReportSection section;
    section.title = std::string(record.calculation->title);
    section.stale = stale;

    for (const FieldRead& read : record.fieldsRead) {
        const QuantityEntry* row = entryOf(record.calculation->id, read.quantity);
        if (!row)
            continue;
        section.inputs.push_back({std::string(row->symbol), capitalised(row->name), std::string(row->unit), read.typed,
                                  valueText(read.value), read.notice});
        section.where.push_back(explained(*row, row->symbol));
    }
    for (const QuantityLine& choice : choicesOf(record)) {
        if (!choice.reached)
            continue;
        section.inputs.push_back({choice.symbol, capitalised(choice.entry->name), std::string(choice.entry->unit), "—",
                                  choice.value, {}});
        section.where.push_back(explained(*choice.entry, choice.symbol));
    }

    const std::string stopped = record.error ? "расчёт остановлен, " + shortErrorText(*record.error) : "";
    for (const QuantityLine& result : resultsOf(record)) {
        if (result.entry->formula.empty())
            continue; // the layer count is a choice, listed with the inputs
        section.formulas.push_back(
            {++formulaNumber, !result.reached ? result.inSymbols + " — не рассчитано: " + stopped
                              : result.shown   ? result.substituted
                                               : result.substituted + " — в окно не записано: " + stopped});
        section.where.push_back(explained(*result.entry, result.symbol));
    }

    for (std::size_t i = 0; i < record.layers.size(); ++i) {
        const LayerValues& layer = record.layers[i];
        const auto text = [](const Variant& value) {
            return value.kind() == VariantKind::Empty ? std::string("—") : valueText(value);
        };
        section.layers.push_back(
            {std::to_string(i + 1), text(layer.pitchDiameter), text(layer.flangeDiameter), text(layer.layerLength)});
    }

    if (record.calculation->id == CalculationId::RopeCapacity) {
        for (const std::string_view field : sketchInputs)
            for (const FieldRead& read : record.fieldsRead)
                if (read.field == field)
                    section.sketch.push_back({read.field, valueText(read.value)});
        for (const std::string_view label : sketchLabels)
            if (const std::string* caption = record.finalCaption(label))
                section.sketch.push_back({std::string(label), *caption});
    }

    section.verdict = verdictOf(record);
    if (record.error) {
        const std::string message = errorText(*record.error);
        const std::string_view quantity = quantityWords(record.error->quantity());
        section.stopped = (quantity.empty() ? std::string("Расчёт остановлен: ")
                                            : "Расчёт остановлен на величине «" + std::string(quantity) + "»: ")
            + message.substr(0, message.find('\n'));
    }
    return section;
}

} // namespace

Report makeReport(std::span<const ReportRun> runs, std::string_view program, std::string_view made)
{
    Report report{"Расчётная записка", std::string(program), std::string(made), {}, {}};
    int formulaNumber = 0;
    for (const ReportRun& run : runs)
        if (run.record && run.record->calculation)
            report.sections.push_back(sectionOf(*run.record, run.stale, formulaNumber));
    if (report.sections.empty())
        report.nothingYet = "Расчёт не выполнялся: нажмите кнопку «Расчёт» одной из групп окна.";
    return report;
}

} // namespace kalventa

#include "core/run_record.h"

#include "core/error_text.h"
#include "core/input_notice.h"
#include "core/meanings.h"
#include "core/text_excerpt.h"

#include <algorithm>

namespace kalventa {
namespace {

// The window, passed through, with every caption and text reading noted.
class RecordingControls final : public Controls {
public:
    RecordingControls(Controls& window, RunRecord& record)
        : window_(window)
        , record_(record)
    {
    }

    std::string text(std::string_view name) override
    {
        std::string text = window_.text(name);
        noteRead(name, controlState(text));
        return text;
    }
    Integer value(std::string_view name) override
    {
        const Integer value = window_.value(name);
        noteRead(name, controlState(value), value);
        return value;
    }
    Integer listIndex(std::string_view name) override
    {
        const Integer index = window_.listIndex(name);
        noteRead(name, controlState(index), index);
        return index;
    }

    void setCaption(std::string_view name, std::string_view caption) override
    {
        window_.setCaption(name, caption);
        record_.captions.push_back({std::string(name), std::string(caption)});
    }

    void textRead(const TextReading& read) override
    {
        window_.textRead(read);
        record_.fieldsRead.push_back({std::string(read.field), read.quantity, excerpt(read.text, typedCharacters),
                                      Variant(read.value), misreadNotice(read.text, read.reading)});
    }

    void noted(Quantity quantity, const Variant& value) override
    {
        window_.noted(quantity, value);
        record_.values.push_back({quantity, value});
        if (quantity == Quantity::PitchDiameter)
            record_.layers.push_back({value, {}, {}, {}});
        else if (LayerValues* layer = record_.layers.empty() ? nullptr : &record_.layers.back()) {
            if (quantity == Quantity::FlangeDiameter)
                layer->flangeDiameter = value;
            else if (quantity == Quantity::LayerLength)
                layer->layerLength = value;
            else if (quantity == Quantity::TotalRopeLength)
                layer->totalRopeLength = value;
        }
    }

private:
    void noteRead(std::string_view control, std::size_t state, std::optional<Integer> value = {})
    {
        const auto& read = record_.controlsRead;
        if (std::none_of(read.begin(), read.end(), [&](const ControlRead& c) { return c.control == control; }))
            record_.controlsRead.push_back({std::string(control), state, value});
    }

    // A record quotes what was typed, not a pasted page of it.
    static constexpr std::size_t typedCharacters = 200;

    Controls& window_;
    RunRecord& record_;
};

// "натяжение 55000 Н; канат не допустим": each label once, with its last caption.
std::string writtenResults(const RunRecord& record)
{
    std::string text;
    std::vector<std::string_view> said;
    for (const CaptionWritten& written : record.captions) {
        if (std::find(said.begin(), said.end(), written.label) != said.end())
            continue;
        said.push_back(written.label);
        const QuantityEntry* result = entryShownIn(written.label);
        if (!result)
            continue;
        if (!text.empty())
            text += "; ";
        text.append(result->summaryWord)
            .append(" ")
            .append(resultInWords(*result, *record.finalCaption(written.label)));
    }
    return text;
}

} // namespace

std::size_t controlState(std::string_view text)
{
    return std::hash<std::string_view>{}(text);
}

// Values are told apart from texts by the kind of control, never compared with them.
std::size_t controlState(Integer value)
{
    return static_cast<std::size_t>(static_cast<int>(value) + 0x10000);
}

const std::string* RunRecord::finalCaption(std::string_view label) const
{
    const auto it
        = std::find_if(captions.rbegin(), captions.rend(), [&](const CaptionWritten& c) { return c.label == label; });
    return it == captions.rend() ? nullptr : &it->caption;
}

const Variant* RunRecord::finalValue(Quantity quantity) const
{
    const auto it
        = std::find_if(values.rbegin(), values.rend(), [&](const NotedValue& v) { return v.quantity == quantity; });
    return it == values.rend() ? nullptr : &it->value;
}

RunRecord recordRun(const CalculationEntry& calculation, Controls& window)
{
    RunRecord record;
    record.calculation = &calculation;
    // Enough for a six-layer run, so that recording does not keep regrowing.
    record.fieldsRead.reserve(4);
    record.values.reserve(48);
    record.captions.reserve(20);
    record.controlsRead.reserve(8);
    RecordingControls recording(window, record);
    try {
        calculation.run(recording);
    } catch (const RuntimeError& error) {
        record.error = error;
    }
    return record;
}

std::vector<std::string_view> labelsLeftBehind(const RunRecord& record)
{
    std::vector<std::string_view> labels;
    if (!record.error || !record.calculation)
        return labels;
    for (const QuantityEntry& result : catalogue())
        if (result.calculation == record.calculation->id && !result.label.empty() && !record.finalCaption(result.label))
            labels.push_back(result.label);
    return labels;
}

std::string runSummary(const RunRecord& record)
{
    std::string summary(record.calculation ? record.calculation->title : std::string_view{});
    summary += ": ";
    const std::string results = writtenResults(record);
    if (!record.error)
        return summary + results;
    summary += "расчёт остановлен, " + shortErrorText(*record.error) + ". ";
    return summary + (results.empty() ? "Результаты не рассчитаны" : "Записано до остановки: " + results);
}

} // namespace kalventa

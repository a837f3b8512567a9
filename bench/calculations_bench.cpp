// Each calculation end to end through an in-memory window, and the number to
// text conversion. Every benchmark first checks that what it is about to time
// gives the expected texts, and stops the program if not.

#include "core/calculation_table.h"
#include "core/calculations.h"
#include "core/number_to_text.h"
#include "core/run_record.h"
#include "memory_controls.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using namespace kalventa;
using kalventa::testing::MemoryControls;

namespace {

void expect(bool ok, std::string_view what)
{
    if (!ok) {
        std::fprintf(stderr, "benchmark output is wrong: %.*s\n", static_cast<int>(what.size()), what.data());
        std::exit(1);
    }
}

// The in-memory window keeps every write in order for the tests; here only
// the latest caption matters, so the logs are emptied between runs.
void forget(MemoryControls& window)
{
    window.writes.clear();
    window.reads.clear();
}

using Calculation = void (*)(Controls&);
using Captions = std::vector<std::pair<std::string_view, std::string_view>>;

// A calculation on a window filled in as an engineer would, timed end to end
// once it has written the expected captions.
void BM_Calculation(benchmark::State& state, Calculation calculation, MemoryControls window, const Captions& expected)
{
    calculation(window);
    for (const auto& [label, text] : expected)
        expect(window.caption(label) == text, label);
    for (auto _ : state) {
        calculation(window);
        forget(window);
    }
}

MemoryControls ropeCheckWindow()
{
    MemoryControls window;
    window.texts = {{"Text1", "1000"}, {"Text3", "50000"}};
    window.values = {{"Option2", Integer{-1}}};
    return window;
}

MemoryControls drumSizeLimitsWindow()
{
    MemoryControls window;
    window.texts = {{"Text2", "8.3"}};
    return window;
}

// What six layers of the example show, checked before either benchmark times them.
const Captions sixLayersCaptions{{"Label18", "6"},       {"Label21", " 516"}, {"Label16", " 1000"},
                                 {"Label23", " 300"},    {"Label12", " 0"},   {"Label19", " 9537.867"},
                                 {"Label20", " 8584.08"}};

MemoryControls sixLayersWindow()
{
    MemoryControls window;
    window.texts = {{"Text4", "500"}, {"Text5", "1000"}, {"Text7", "3000"}};
    window.listIndexes = {{"Combo1", Integer{5}}, {"Combo2", Integer{1}}};
    window.values = {{"Option6", Integer{-1}}};
    return window;
}

BENCHMARK_CAPTURE(BM_Calculation, RopeCheck, &ropeCheck, ropeCheckWindow(),
                  Captions{{"Label3", " 55000"}, {"Label6", "Не допустимо"}});
BENCHMARK_CAPTURE(BM_Calculation, DrumSizeLimits, &drumSizeLimits, drumSizeLimitsWindow(),
                  Captions{{"Label8", " 157.7"}, {"Label10", " 473.1"}});
BENCHMARK_CAPTURE(BM_Calculation, RopeCapacitySixLayers, &ropeCapacity, sixLayersWindow(), sixLayersCaptions);

// The same runs recorded, as the window makes them for its notices, summary,
// formulas and report: the cost of the record beside the bare calculation.
void BM_RecordedCalculation(benchmark::State& state, std::string_view button, MemoryControls window,
                            const Captions& expected)
{
    const CalculationEntry& calculation = *calculationOf(button);
    const RunRecord checked = recordRun(calculation, window);
    expect(!checked.error && !checked.values.empty(), button);
    for (const auto& [label, text] : expected)
        expect(window.caption(label) == text && *checked.finalCaption(label) == text, label);
    for (auto _ : state) {
        benchmark::DoNotOptimize(recordRun(calculation, window));
        forget(window);
    }
}

BENCHMARK_CAPTURE(BM_RecordedCalculation, RopeCheck, "Command1", ropeCheckWindow(),
                  Captions{{"Label3", " 55000"}, {"Label6", "Не допустимо"}});
BENCHMARK_CAPTURE(BM_RecordedCalculation, DrumSizeLimits, "Command2", drumSizeLimitsWindow(),
                  Captions{{"Label8", " 157.7"}, {"Label10", " 473.1"}});
BENCHMARK_CAPTURE(BM_RecordedCalculation, RopeCapacitySixLayers, "Command3", sixLayersWindow(), sixLayersCaptions);

// Number texts: a value, the kind it is shown as, and the text it must give.
// A value half-way at the last digit takes the slower path that rounds it
// away from zero.
template <class Float>
void BM_NumberText(benchmark::State& state, Float value, std::string_view text)
{
    expect(signedText(value) == text, text);
    for (auto _ : state) {
        benchmark::DoNotOptimize(value);
        benchmark::DoNotOptimize(signedText(value));
    }
}
BENCHMARK_CAPTURE(BM_NumberText, Single, 222.283203125f, " 222.2832");
BENCHMARK_CAPTURE(BM_NumberText, SingleTie, 654322.25f, " 654322.3");
BENCHMARK_CAPTURE(BM_NumberText, Double, 456.50001049041748046875, " 456.500010490417");
BENCHMARK_CAPTURE(BM_NumberText, DoubleTie, 411223.9892578125, " 411223.989257813");

} // namespace

BENCHMARK_MAIN();

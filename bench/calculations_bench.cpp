// Each calculation end to end through an in-memory window, and the number to
// text conversion. Every benchmark first checks that what it is about to time
// gives the expected texts, and stops the program if not.

#include "core/calculations.h"
#include "core/number_to_text.h"
#include "memory_controls.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

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

void expectCaption(const MemoryControls& window, std::string_view label, std::string_view text)
{
    expect(window.caption(label) == text, label);
}

// The in-memory window keeps every write in order for the tests; here only
// the latest caption matters, so the logs are emptied between runs.
void forget(MemoryControls& window)
{
    window.writes.clear();
    window.reads.clear();
}

void BM_RopeCheck(benchmark::State& state)
{
    MemoryControls window;
    window.texts = {{"Text1", "1000"}, {"Text3", "50000"}};
    window.values = {{"Option2", Integer{-1}}};
    ropeCheck(window);
    expectCaption(window, "Label3", " 55000");
    expectCaption(window, "Label6", "Не допустимо");
    for (auto _ : state) {
        ropeCheck(window);
        forget(window);
    }
}
BENCHMARK(BM_RopeCheck);

void BM_DrumSizeLimits(benchmark::State& state)
{
    MemoryControls window;
    window.texts = {{"Text2", "8.3"}};
    drumSizeLimits(window);
    expectCaption(window, "Label8", " 157.7");
    expectCaption(window, "Label10", " 473.1");
    for (auto _ : state) {
        drumSizeLimits(window);
        forget(window);
    }
}
BENCHMARK(BM_DrumSizeLimits);

void BM_RopeCapacitySixLayers(benchmark::State& state)
{
    MemoryControls window;
    window.texts = {{"Text4", "500"}, {"Text5", "1000"}, {"Text7", "3000"}};
    window.listIndexes = {{"Combo1", Integer{5}}, {"Combo2", Integer{1}}};
    window.values = {{"Option6", Integer{-1}}};
    ropeCapacity(window);
    expectCaption(window, "Label18", "6");
    expectCaption(window, "Label21", " 516");
    expectCaption(window, "Label19", " 9537.867");
    expectCaption(window, "Label20", " 8584.08");
    expectCaption(window, "Label23", " 300");
    for (auto _ : state) {
        ropeCapacity(window);
        forget(window);
    }
}
BENCHMARK(BM_RopeCapacitySixLayers);

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

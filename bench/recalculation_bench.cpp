#include <array>

#include <benchmark/benchmark.h>

#include "calc/field_set.h"
#include "calc/recalculation.h"

namespace {

using calc::Field;

struct Inputs {
    const char* intText;
    const char* medi;
    const char* focus;
};

// The rows players check against: every branch of the recalculation (factor,
// round-ups, Focus steps) is taken by at least one of them.
constexpr std::array<Inputs, 10> kRows = {{{"0", "0", "0"},
                                           {"1", "0", "0"},
                                           {"100", "50", "20"},
                                           {"100", "99", "0"},
                                           {"100", "98.5", "0"},
                                           {"100", "99.5", "0"},
                                           {"100", "100", "100"},
                                           {"100", "85.3", "20"},
                                           {"0", "123", "0"},
                                           {"150", "120", "120"}}};

void BM_Recalculation(benchmark::State& state) {
    const Inputs& row = kRows[static_cast<std::size_t>(state.range(0))];
    calc::MemoryFieldSet fields;
    fields.setText(Field::Text1, row.intText);
    fields.setText(Field::Text2, row.medi);
    fields.setText(Field::Text3, row.focus);
    for (auto _ : state) {
        benchmark::DoNotOptimize(calc::Command1_Click(fields));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Recalculation)
    ->DenseRange(0, kRows.size() - 1)
    ->Repetitions(5)
    ->ReportAggregatesOnly();

void BM_RecoveryEntry(benchmark::State& state) {
    calc::MemoryFieldSet fields;
    fields.setText(Field::Text10, "3");
    for (auto _ : state) {
        benchmark::DoNotOptimize(calc::recoveryValueEntry(fields));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RecoveryEntry)->Repetitions(5)->ReportAggregatesOnly();

}  // namespace

BENCHMARK_MAIN();

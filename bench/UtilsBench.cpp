// UtilsBench.cpp -- timings of the hot engine helpers FloorToInt and Random.
#include <benchmark/benchmark.h>

#include "EngineUtils.h"

namespace {

void BM_FloorToInt(benchmark::State& State) {
  float X = -1000.25f;
  for (auto _ : State) {
    benchmark::DoNotOptimize(FloorToInt(X));
    X += 0.37f;
    if (X > 1000.0f) X = -1000.25f;
  }
}
BENCHMARK(BM_FloorToInt);

void BM_Random(benchmark::State& State) {
  Randomize(12345);
  for (auto _ : State)
    benchmark::DoNotOptimize(Random(1000));
}
BENCHMARK(BM_Random);

}  // namespace

// ClassesBench.cpp -- named containers on a warm pool: add and remove, sorted add, and walking;
// every figure is nanoseconds per operation (per item for the walk).
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "EngineClasses.h"

namespace {

// A sprite-like item kept in increasing depth.
class TBenchItem : public TContainerItem {
 public:
  int Depth = 0;
  void OnInsert(TContainer&, void* Param) override {
    Depth = Param ? *static_cast<int*>(Param) : 0;
  }
  bool IsBefore(const TContainerItem& Other) const override {
    return Depth < static_cast<const TBenchItem&>(Other).Depth;
  }
};

constexpr int kPoolSize = 3072;  // the sprite pool's size

// Seconds per unit shown as nanoseconds per operation.
benchmark::Counter PerOperation(double Operations) {
  return benchmark::Counter(Operations, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Add at the back and remove again, with Count items already in the list.
void BM_AddRemove(benchmark::State& State) {
  TContainer Pool(MakeItem<TBenchItem>, kPoolSize);
  for (int I = 0; I < State.range(0); ++I)
    Pool.Add("Sprite");
  for (auto _ : State) {
    TContainerItem* Item = Pool.Add("Spark");
    benchmark::DoNotOptimize(Item);
    Item->Remove();
  }
  State.counters["ns_per_op"] = PerOperation(static_cast<double>(State.iterations()));
}
BENCHMARK(BM_AddRemove)->Arg(0)->Arg(1000);

// Sorted add into a list of Count items spread over 16 depths (the scan stops at the new item's
// depth), then removal.
void BM_AddSortedRemove(benchmark::State& State) {
  TContainer Pool(MakeItem<TBenchItem>, kPoolSize);
  for (int I = 0; I < State.range(0); ++I) {
    int Depth = I % 16;
    Pool.Add("Sprite", &Depth, TInsertMode::Sorted);
  }
  int Depth = 8;
  for (auto _ : State) {
    TContainerItem* Item = Pool.Add("Spark", &Depth, TInsertMode::Sorted);
    benchmark::DoNotOptimize(Item);
    Item->Remove();
  }
  State.counters["ns_per_op"] = PerOperation(static_cast<double>(State.iterations()));
}
BENCHMARK(BM_AddSortedRemove)->Arg(16)->Arg(1000);

// A full walk with an enumerator over Count items.
void BM_Walk(benchmark::State& State) {
  TContainer Pool(MakeItem<TBenchItem>, kPoolSize);
  for (int I = 0; I < State.range(0); ++I)
    Pool.Add("Sprite");
  for (auto _ : State) {
    int Sum = 0;
    for (TContainerWalker Walk(Pool); Walk.HasCurrent(); Walk.MoveNext())
      Sum += Walk.CurrentAs<TBenchItem>()->Depth + 1;
    benchmark::DoNotOptimize(Sum);
  }
  State.counters["ns_per_item"] =
      PerOperation(static_cast<double>(State.iterations()) * static_cast<double>(State.range(0)));
}
BENCHMARK(BM_Walk)->Arg(1000)->Arg(3072);

// Removing every item during a walk and adding them back: the GUI's and particles' pattern.
void BM_WalkRemoveAll(benchmark::State& State) {
  TContainer Pool(MakeItem<TBenchItem>, kPoolSize);
  const int Count = static_cast<int>(State.range(0));
  for (auto _ : State) {
    State.PauseTiming();
    for (int I = 0; I < Count; ++I)
      Pool.Add("Particle");
    State.ResumeTiming();
    for (TContainerWalker Walk(Pool); Walk.HasCurrent(); Walk.MoveNext())
      Walk.Current()->Remove();
  }
  State.counters["ns_per_item"] =
      PerOperation(static_cast<double>(State.iterations()) * static_cast<double>(Count));
}
BENCHMARK(BM_WalkRemoveAll)->Arg(1000);

// Find of the remembered last hit, and of a miss in a list of 64 names.
void BM_Find(benchmark::State& State) {
  TContainer Textures;
  for (int I = 0; I < 64; ++I) {
    auto Item = std::make_unique<TBenchItem>();
    Item->Name = "Texture" + std::to_string(I);
    Textures.Insert(std::move(Item));
  }
  const char* Name = State.range(0) ? "Texture63" : "Missing";
  for (auto _ : State)
    benchmark::DoNotOptimize(Textures.Find(Name));
  State.counters["ns_per_op"] = PerOperation(static_cast<double>(State.iterations()));
}
BENCHMARK(BM_Find)->Arg(1)->Arg(0);

}  // namespace

// MissionBench.cpp -- TMission::Update on a busy mission: scenario 24 with jobs on many panes.
#include <benchmark/benchmark.h>

#include "EngineLanguages.h"
#include "EngineRegister.h"
#include "EngineUtils.h"
#include "VexaMission.h"
#include "VexaPlayers.h"

namespace {

// Starts the first startable slot's job on every pane that offers one, with money, materials
// and workers to spare, and makes every job long enough to run through the whole benchmark.
void StartJobsEverywhere(TMission& Mission) {
  Mission.Money = 1000000000;
  Mission.Wood = 1000000;
  Mission.Stone = 1000000;
  Mission.Workers = Mission.FreeWorkers = 1000;
  Mission.OwnedLicenses = 0x7FFFF;
  for (auto& Pane : Mission.Panes)
    for (int Slot = 1; Slot < SlotCount; ++Slot)
      if (!Pane->IsActionHidden(Slot) && Pane->CanStartAction(Slot)) {
        Pane->StartAction(Slot);
        Pane->WorkNeeded = 1e30f;
        break;
      }
}

void BM_MissionUpdate(benchmark::State& State) {
  Register.Difficulty = 0;
  Register.Deadline = true;
  Randomize(1);
  TPlayer Owner;
  TMission Mission(&Owner);
  Mission.Setup(24);
  StartJobsEverywhere(Mission);
  int Jobs = 0;
  for (const auto& Pane : Mission.Panes)
    Jobs += Pane->Action != 0 ? 1 : 0;
  for (auto _ : State) {
    Mission.Update(1.0f / 60.0f);
    benchmark::DoNotOptimize(Mission.Money);
  }
  State.counters["jobs"] = Jobs;
  State.counters["updates/s"] =
      benchmark::Counter(static_cast<double>(State.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_MissionUpdate);

}  // namespace

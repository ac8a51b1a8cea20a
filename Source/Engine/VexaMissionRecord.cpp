// VexaMissionRecord.cpp -- the binary record of an unfinished mission inside the profiles file:
// 25 pane records of 93 bytes, then the town's state. Little-endian, no header, no version.
#include <cstddef>
#include <cstdint>
#include <string>

#include "EngineStreams.h"
#include "VexaMission.h"

namespace {

constexpr std::uint32_t KnownLicenses = (std::uint32_t{1} << LicenseCount) - 1;

void WriteBool(TStreamWriter& Stream, bool Value) {
  Stream.Write<std::uint8_t>(Value ? 1 : 0);
}

// Any non-zero byte is true.
bool ReadBool(TStreamReader& Stream) {
  return Stream.Read<std::uint8_t>() != 0;
}

// A record holding a value outside the game's tables is damaged: refusing it keeps every later
// table look-up within bounds.
std::uint8_t ReadTableIndex(TStreamReader& Stream, int Count, const char* What) {
  const std::uint8_t Value = Stream.Read<std::uint8_t>();
  if (Value >= Count) {
    throw EStreamError("Invalid " + std::string(What) + " " + std::to_string(Value) +
                       " in the mission record (at most " + std::to_string(Count - 1) + ")");
  }
  return Value;
}

std::uint8_t ReadPaneKind(TStreamReader& Stream) {
  return ReadTableIndex(Stream, PaneKindCount, "pane kind");
}

std::uint8_t ReadActionKind(TStreamReader& Stream) {
  return ReadTableIndex(Stream, ActionKindCount, "pane action");
}

std::uint8_t ReadGoalKind(TStreamReader& Stream) {
  return ReadTableIndex(Stream, GoalKindCount, "goal kind");
}

std::uint32_t ReadLicenseSet(TStreamReader& Stream) {
  const std::uint32_t Set = Stream.Read<std::uint32_t>();
  if ((Set & ~KnownLicenses) != 0) {
    throw EStreamError("Invalid licence set " + std::to_string(Set) +
                       " in the mission record (licences are 0.." +
                       std::to_string(LicenseCount - 1) + ")");
  }
  return Set;
}

void WriteGoal(TStreamWriter& Stream, const TGoal& Goal) {
  Stream.Write<std::uint8_t>(Goal.Kind);
  WriteBool(Stream, Goal.Reached);
  Stream.Write<std::uint16_t>(0);  // padding
  Stream.Write<std::int32_t>(Goal.Target);
  Stream.Write<std::int32_t>(Goal.Value);
}

void ReadGoal(TStreamReader& Stream, TGoal& Goal) {
  Goal.Kind = ReadGoalKind(Stream);
  Goal.Reached = ReadBool(Stream);
  Stream.Read<std::uint16_t>();  // padding
  Goal.Target = Stream.Read<std::int32_t>();
  Goal.Value = Stream.Read<std::int32_t>();
}

}  // namespace

// ---- Pane
// ----------------------------------------------------------------------------------------

void TPane::SaveToStream(TStreamWriter& Stream) const {
  Stream.Write<std::int32_t>(Look);
  Stream.Write<std::uint8_t>(Kind);
  Stream.Write<std::int32_t>(Variant);
  Stream.Write<std::uint16_t>(Upgrades);
  Stream.WriteBytes(Slots.data(), Slots.size());
  WriteBool(Stream, Damageable);
  Stream.Write<float>(DamageDelay);
  WriteBool(Stream, Damaged);
  Stream.Write<float>(DamagePhase);
  Stream.Write<std::int32_t>(Happiness);
  Stream.Write<std::int32_t>(IncomeBonus);
  Stream.Write<std::int32_t>(Residents);
  Stream.Write<std::int32_t>(Religion);
  Stream.Write<std::int32_t>(Commerce);
  Stream.Write<std::int32_t>(Healthcare);
  Stream.Write<std::int32_t>(Culture);
  Stream.Write<std::uint8_t>(Action);
  Stream.Write<std::int32_t>(Workers);
  Stream.Write<float>(WorkNeeded);
  Stream.Write<std::int32_t>(WoodSpent);
  Stream.Write<std::int32_t>(StoneSpent);
  Stream.Write<std::int32_t>(WorkersStart);
  Stream.Write<std::int32_t>(WorkersMax);
  Stream.Write<float>(WorkDone);
}

void TPane::LoadFromStream(TStreamReader& Stream) {
  Look = Stream.Read<std::int32_t>();
  Kind = ReadPaneKind(Stream);
  Variant = Stream.Read<std::int32_t>();
  Upgrades = Stream.Read<std::uint16_t>();
  for (std::uint8_t& Slot : Slots)
    Slot = ReadActionKind(Stream);
  Damageable = ReadBool(Stream);
  DamageDelay = Stream.Read<float>();
  Damaged = ReadBool(Stream);
  DamagePhase = Stream.Read<float>();
  Happiness = Stream.Read<std::int32_t>();
  IncomeBonus = Stream.Read<std::int32_t>();
  Residents = Stream.Read<std::int32_t>();
  Religion = Stream.Read<std::int32_t>();
  Commerce = Stream.Read<std::int32_t>();
  Healthcare = Stream.Read<std::int32_t>();
  Culture = Stream.Read<std::int32_t>();
  Action = ReadActionKind(Stream);
  Workers = Stream.Read<std::int32_t>();
  WorkNeeded = Stream.Read<float>();
  WoodSpent = Stream.Read<std::int32_t>();
  StoneSpent = Stream.Read<std::int32_t>();
  WorkersStart = Stream.Read<std::int32_t>();
  WorkersMax = Stream.Read<std::int32_t>();
  WorkDone = Stream.Read<float>();
  // This frame's events belong to the game that was saved, not to the one being loaded.
  SoundEvent = {};
  EffectEvent = {};
}

// ---- Mission
// -------------------------------------------------------------------------------------

void TMission::SaveToStream(TStreamWriter& Stream) const {
  for (const auto& Pane : Panes)
    Pane->SaveToStream(Stream);
  WriteBool(Stream, Selected != nullptr);
  if (Selected != nullptr) {
    Stream.Write<std::int32_t>(Selected->Row);
    Stream.Write<std::int32_t>(Selected->Column);
  }
  Stream.Write<std::int32_t>(Scenario);
  Stream.Write<float>(Time);
  Stream.Write<std::int32_t>(StarTime);
  Stream.Write<std::int32_t>(DeadlineTime);
  WriteBool(Stream, DeadlinePassed);
  Stream.Write<float>(IncomeTimer);
  WriteBool(Stream, GoalsReached);
  for (const TGoal& Goal : Goals)
    WriteGoal(Stream, Goal);
  Stream.Write<std::int32_t>(Money);
  Stream.Write<std::int32_t>(LastIncome);
  Stream.Write<float>(IncomeAccumulator);
  Stream.Write<std::int32_t>(Residents);
  Stream.Write<std::int32_t>(Happiness);
  Stream.Write<std::int32_t>(Religion);
  Stream.Write<std::int32_t>(Commerce);
  Stream.Write<std::int32_t>(Healthcare);
  Stream.Write<std::int32_t>(Culture);
  for (std::size_t Service = 1; Service < ServiceCount.size(); ++Service) {
    Stream.Write<std::int32_t>(ServiceCount[Service]);
  }
  Stream.Write<std::int32_t>(Wood);
  Stream.Write<std::int32_t>(WoodOrders);
  Stream.Write<float>(WoodTimer);
  Stream.Write<std::int32_t>(Stone);
  Stream.Write<std::int32_t>(StoneOrders);
  Stream.Write<float>(StoneTimer);
  Stream.Write<std::int32_t>(Workers);
  Stream.Write<std::int32_t>(FreeWorkers);
  Stream.Write<std::int32_t>(Trainees);
  Stream.Write<float>(TrainTimer);
  Stream.Write<std::uint32_t>(OwnedLicenses);
  Stream.Write<std::uint32_t>(LicensesOnSale);
  WriteBool(Stream, StartShown);
  Stream.Write<std::int32_t>(Stage);
  Stream.Write<std::int32_t>(StageMark);
  WriteBool(Stream, ShowTrophyGoal);
  WriteBool(Stream, DamageOn);
  WriteBool(Stream, HappinessOn);
  WriteBool(Stream, ResidentsOn);
  WriteBool(Stream, NeedsOn);
}

void TMission::LoadFromStream(TStreamReader& Stream) {
  for (auto& Pane : Panes)
    Pane->LoadFromStream(Stream);

  // A position outside the map selects nothing.
  Selected = nullptr;
  if (ReadBool(Stream)) {
    const std::int32_t Row = Stream.Read<std::int32_t>();
    const std::int32_t Column = Stream.Read<std::int32_t>();
    Selected = GetPane(Row, Column);
  }

  Scenario = Stream.Read<std::int32_t>();
  Time = Stream.Read<float>();
  StarTime = Stream.Read<std::int32_t>();
  DeadlineTime = Stream.Read<std::int32_t>();
  DeadlinePassed = ReadBool(Stream);
  IncomeTimer = Stream.Read<float>();
  GoalsReached = ReadBool(Stream);
  for (TGoal& Goal : Goals)
    ReadGoal(Stream, Goal);
  Money = Stream.Read<std::int32_t>();
  LastIncome = Stream.Read<std::int32_t>();
  IncomeAccumulator = Stream.Read<float>();
  Residents = Stream.Read<std::int32_t>();
  Happiness = Stream.Read<std::int32_t>();
  Religion = Stream.Read<std::int32_t>();
  Commerce = Stream.Read<std::int32_t>();
  Healthcare = Stream.Read<std::int32_t>();
  Culture = Stream.Read<std::int32_t>();
  for (std::size_t Service = 1; Service < ServiceCount.size(); ++Service) {
    ServiceCount[Service] = Stream.Read<std::int32_t>();
  }
  Wood = Stream.Read<std::int32_t>();
  WoodOrders = Stream.Read<std::int32_t>();
  WoodTimer = Stream.Read<float>();
  Stone = Stream.Read<std::int32_t>();
  StoneOrders = Stream.Read<std::int32_t>();
  StoneTimer = Stream.Read<float>();
  Workers = Stream.Read<std::int32_t>();
  FreeWorkers = Stream.Read<std::int32_t>();
  Trainees = Stream.Read<std::int32_t>();
  TrainTimer = Stream.Read<float>();
  OwnedLicenses = ReadLicenseSet(Stream);
  LicensesOnSale = ReadLicenseSet(Stream);
  StartShown = ReadBool(Stream);
  Stage = Stream.Read<std::int32_t>();
  StageMark = Stream.Read<std::int32_t>();
  ShowTrophyGoal = ReadBool(Stream);
  DamageOn = ReadBool(Stream);
  HappinessOn = ReadBool(Stream);
  ResidentsOn = ReadBool(Stream);
  NeedsOn = ReadBool(Stream);

  // One-update events of the saved game are over.
  IncomePaid = false;
  WoodDelivered = false;
  StoneDelivered = false;
  WorkerTrained = false;

  // The tutorial resumes at its last mark. The stage list is rebuilt for the profile as it is
  // now; a mark it no longer holds (scenario 5's tutorial after its trophy was won, or a damaged
  // record) ends the tutorial.
  Stage = StageMark;
  SetupStages(Scenario);
  if (Stage < 0 || static_cast<std::size_t>(Stage) >= Stages.size()) {
    Stage = 0;
    StageMark = 0;
  }
}

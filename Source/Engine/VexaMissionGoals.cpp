// VexaMissionGoals.cpp -- the goal slots, the star time and deadline, the trophy, and the debug
// commands that force the end of a mission.
#include <limits>

#include "EngineUtils.h"
#include "VexaMission.h"
#include "VexaMissionRules.h"
#include "VexaPlayers.h"

namespace {

constexpr std::size_t TrophySlot = 0;
constexpr std::size_t FirstGoalSlot = 1;
constexpr std::size_t LastGoalSlot = 3;
constexpr std::int32_t DebugClockShift = 2;  // seconds past (or before) the time a debug end uses

std::int32_t CountPanes(const TMission& Mission, std::uint64_t Kinds, std::uint16_t UpgradeMask) {
  std::int32_t Count = 0;
  for (const std::unique_ptr<TPane>& Pane : Mission.Panes) {
    const bool KindMatches = Pane->Kind < 64 && (Kinds >> Pane->Kind & 1u) != 0;
    if (KindMatches && (Pane->Upgrades & UpgradeMask) == UpgradeMask) Count += 1;
  }
  return Count;
}

// The owner's progress of the mission's scenario; nothing is won for a sandbox map or without an
// owner.
TScenarioProgress OwnerProgress(const TMission& Mission) {
  if (!Mission.Owner || !Mission.IsCampaign()) return {};
  return Mission.Owner->GetProgress(Mission.Scenario);
}

// Moves the clock to whole second T when T lies ahead of it.
void MoveClockForwardTo(TMission& Mission, std::int64_t T) {
  const std::int64_t Limit = std::numeric_limits<std::int32_t>::max();
  const std::int32_t Seconds = static_cast<std::int32_t>(T < Limit ? T : Limit);
  if (Seconds > Mission.ElapsedSeconds()) Mission.Time = static_cast<float>(Seconds);
}

// A forced win; the trophy goal (when there is one) counts as reached or not as asked.
void ForceWin(TMission& Mission, bool WithTrophy) {
  TGoal& Trophy = Mission.Goals[TrophySlot];
  if (Trophy.Kind != gkNone) Trophy.Reached = WithTrophy;
  Mission.GoalsReached = true;
}

}  // namespace

namespace MissionRules {

std::int32_t MeasureGoal(const TMission& Mission, std::uint8_t GoalKind) {
  if (GoalKind >= GoalKindCount) return 0;
  const TGoalInfo& Info = GoalInfo[GoalKind];
  switch (Info.Measure) {
    case gmMoney:
      return Mission.Money;
    case gmWood:
      return Mission.Wood;
    case gmStone:
      return Mission.Stone;
    case gmWorkers:
      return Mission.Workers;
    case gmIncome:
      return Mission.LastIncome;
    case gmHappiness:
      return Mission.Happiness;
    case gmResidents:
      return Mission.Residents;
    case gmReligion:
      return Mission.Religion;
    case gmCommerce:
      return Mission.Commerce;
    case gmHealthcare:
      return Mission.Healthcare;
    case gmCulture:
      return Mission.Culture;
    case gmPanes:
      return CountPanes(Mission, Info.Kinds, 0);
    case gmUpgradedPanes:
      return CountPanes(Mission, Info.Kinds, Info.UpgradeMask);
    default:
      return 0;
  }
}

void EvaluateGoals(TMission& Mission) {
  for (TGoal& Goal : Mission.Goals) {
    if (Goal.Kind == gkNone) continue;
    Goal.Value = MeasureGoal(Mission, Goal.Kind);
    Goal.Reached = Goal.Value >= Goal.Target;
  }
  bool AnyUsed = false;
  bool AllReached = true;
  for (std::size_t Slot = FirstGoalSlot; Slot <= LastGoalSlot; ++Slot) {
    const TGoal& Goal = Mission.Goals[Slot];
    if (Goal.Kind == gkNone) continue;
    AnyUsed = true;
    AllReached = AllReached && Goal.Reached;
  }
  Mission.GoalsReached = AnyUsed && AllReached;
}

}  // namespace MissionRules

void TMission::ClearGoals() {
  Goals.fill(TGoal{});
}

void TMission::AddGoal(bool Normal, std::uint8_t Kind, std::int32_t Target) {
  std::size_t Slot = LastGoalSlot;
  if (Normal) {
    for (std::size_t S = FirstGoalSlot; S <= LastGoalSlot; ++S) {
      if (Goals[S].Kind == gkNone) {
        Slot = S;
        break;
      }
    }
  } else {
    // Only a campaign scenario whose trophy is still to be won has a trophy goal.
    if (!IsCampaign() || OwnerProgress(*this).Trophy) return;
    Slot = TrophySlot;
  }
  Goals[Slot] = TGoal{Kind, false, Target, 0};
}

void TMission::RemoveGoal() {
  for (std::size_t Slot = LastGoalSlot; Slot >= FirstGoalSlot; --Slot) {
    if (Goals[Slot].Kind != gkNone) {
      Goals[Slot] = TGoal{};
      return;
    }
  }
}

std::int32_t TMission::GoalCount() const {
  std::int32_t Count = 0;
  for (std::size_t Slot = FirstGoalSlot; Slot <= LastGoalSlot; ++Slot)
    if (Goals[Slot].Kind != gkNone) Count += 1;
  return Count;
}

bool TMission::HasGoal(std::uint8_t Kind) const {
  for (std::size_t Slot = FirstGoalSlot; Slot <= LastGoalSlot; ++Slot)
    if (Goals[Slot].Kind == Kind) return true;
  return false;
}

void TMission::SetTimes(float StarMinutes, float DeadlineMinutes) {
  const bool StarOffered = IsCampaign() && !OwnerProgress(*this).Star;
  StarTime = StarOffered ? FloorToInt(StarMinutes * 60.0f) : 0;
  DeadlineTime = FloorToInt(DeadlineMinutes * 60.0f);
}

std::int32_t TMission::ElapsedSeconds() const {
  return FloorToInt(Time);
}

bool TMission::InStarTime() const {
  return StarTime > 0 && ElapsedSeconds() < StarTime;
}

bool TMission::TrophyWon() const {
  return Goals[TrophySlot].Kind != gkNone && Goals[TrophySlot].Reached;
}

void TMission::DebugCommand(std::int32_t Code) {
  switch (Code) {
    case 1:
      Money = MissionRules::SaturatingAdd(Money, 5000);
      Wood = MissionRules::SaturatingAdd(Wood, 500);
      Stone = MissionRules::SaturatingAdd(Stone, 500);
      Workers = MissionRules::SaturatingAdd(Workers, 5);
      FreeWorkers = MissionRules::SaturatingAdd(FreeWorkers, 5);
      break;
    case 2:  // a win after the star time, without the trophy
    case 4:  // the same with the trophy
      MoveClockForwardTo(*this, StarTime > 0 ? std::int64_t{StarTime} + DebugClockShift : 0);
      ForceWin(*this, Code == 4);
      break;
    case 3:  // a win within the star time, without the trophy
      if (StarTime > 0) {
        const std::int32_t T = StarTime - DebugClockShift;
        if (T < ElapsedSeconds()) Time = static_cast<float>(T);
      }
      ForceWin(*this, false);
      break;
    case 5:  // a loss: the deadline has passed
      if (DeadlineTime > 0) MoveClockForwardTo(*this, std::int64_t{DeadlineTime} + DebugClockShift);
      DeadlinePassed = true;
      break;
    default:
      break;
  }
}

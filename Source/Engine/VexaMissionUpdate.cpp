// VexaMissionUpdate.cpp -- advances a mission by one frame: clocks, income, deliveries, training,
// jobs, damage, the town's totals, happiness and the goals. Runs every frame, so it allocates
// nothing: the panes' event texts are views of constant names.
#include <limits>

#include "EngineRegister.h"
#include "EngineUtils.h"
#include "VexaMission.h"
#include "VexaMissionRules.h"

namespace {

using MissionRules::SaturatingAdd;

constexpr float DamagePhasePerUnit = 0.4f;
constexpr std::string_view DamageSound = "Damage";

// The income multiplier of the game-wide difficulty: Easy 1, Normal 0, Hard -1.
float ApplyDifficulty(float Income) {
  if (Register.Difficulty == 1) return Income * 1.25f;
  if (Register.Difficulty == -1) return Income * 0.75f;
  return Income;
}

// V held at the 32-bit limits.
std::int32_t ClampToInt32(std::int64_t V) {
  if (V > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (V < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(V);
}

bool EarnsIncome(const TPane& Pane) {
  return !Pane.Damaged && Pane.Action == akNone && PaneInfo[Pane.Kind].Income > 0;
}

// One order counter, its timer and its stock: a delivery once the timer reaches the period.
// Returns true when something was delivered.
bool AdvanceOrder(std::int32_t& Orders, float& Timer, std::int32_t& Stock, float Units,
                  float Period, std::int32_t Amount) {
  if (Orders < 0) return false;
  Timer += Units;
  if (Timer < Period) return false;
  Stock = SaturatingAdd(Stock, Amount);
  Orders -= 1;
  Timer = 0.0f;
  return true;
}

}  // namespace

void TPane::UpdateHappiness() {
  const TPaneInfo& Info = PaneInfo[Kind];
  Happiness = 0;
  for (std::int32_t N = 1; N <= Info.Needs && N <= 8; ++N)
    if (Mission->ServiceCount[static_cast<std::size_t>(N)] == 0) Happiness -= 1;
  for (const TPane* Neighbour : Neighbours)
    if (Neighbour) Happiness += PaneInfo[Neighbour->Kind].Appeal;
}

void TMission::Update(float Seconds) {
  // Clock: one game time unit is half a second of unpaused play.
  float Units = 0.0f;
  if (!Paused) {
    Time += Seconds;
    Units = Seconds / 0.5f;
  }
  // Compared exactly: the whole seconds are not rounded to a float first.
  DeadlinePassed = Register.Deadline && DeadlineTime > 0 &&
                   static_cast<double>(DeadlineTime) < static_cast<double>(Time);
  IncomeTimer += Units;

  IncomePaid = false;
  WoodDelivered = false;
  StoneDelivered = false;
  WorkerTrained = false;
  for (const std::unique_ptr<TPane>& Pane : Panes) {
    Pane->SoundEvent = {};
    Pane->EffectEvent = {};
  }

  const bool TimeRuns = Units > 0.0f;

  if (TimeRuns) {
    for (const std::unique_ptr<TPane>& Pane : Panes) {
      if (!EarnsIncome(*Pane)) continue;
      const float Earned = static_cast<float>(MissionRules::PaneIncome(*Pane)) / 10.0f * Units;
      IncomeAccumulator += ApplyDifficulty(Earned);
    }
  }

  // A payment whose period has elapsed is made even while time stands still.
  if (IncomeTimer > MissionRules::IncomePeriod) {
    IncomeTimer -= MissionRules::IncomePeriod;
    LastIncome = FloorToInt(IncomeAccumulator);
    Money = SaturatingAdd(Money, LastIncome);
    IncomeAccumulator = 0.0f;
    IncomePaid = true;
  }

  if (TimeRuns) {
    WoodDelivered = AdvanceOrder(WoodOrders, WoodTimer, Wood, Units, MissionRules::DeliveryPeriod,
                                 MissionRules::DeliveryAmount);
    StoneDelivered = AdvanceOrder(StoneOrders, StoneTimer, Stone, Units,
                                  MissionRules::DeliveryPeriod, MissionRules::DeliveryAmount);
    std::int32_t Trained = 0;
    WorkerTrained =
        AdvanceOrder(Trainees, TrainTimer, Trained, Units, MissionRules::TrainingPeriod, 1);
    Workers = SaturatingAdd(Workers, Trained);
    FreeWorkers = SaturatingAdd(FreeWorkers, Trained);

    for (const std::unique_ptr<TPane>& Pane : Panes)
      if (Pane->Action != akNone) Pane->UpdateWork(Units);

    // Damage; a pane whose delay runs out during a job is damaged once the job is over.
    const bool DamageRuns = DamageOn && !OwnsLicense(lcSpec2);
    for (const std::unique_ptr<TPane>& Pane : Panes) {
      if (Pane->Damaged) {
        Pane->DamagePhase = Frac(DamagePhasePerUnit * Units + Pane->DamagePhase);
      } else if (DamageRuns && Pane->Damageable) {
        Pane->DamageDelay -= Units;
        if (Pane->DamageDelay <= 0.0f && Pane->Action == akNone) {
          Pane->Damaged = true;
          Pane->DamagePhase = 0.0f;
          Pane->SoundEvent = DamageSound;
        }
      }
    }
  }

  // Totals; damaged buildings still house residents and count their need points. The need
  // points of a loaded record are whatever was saved, so they are summed in 64 bits and the sums
  // held at the 32-bit limits.
  Residents = 0;
  std::int64_t ReligionSum = 0, CommerceSum = 0, HealthcareSum = 0, CultureSum = 0;
  ServiceCount.fill(0);
  for (const std::unique_ptr<TPane>& Pane : Panes) {
    const TPaneInfo& Info = PaneInfo[Pane->Kind];
    if (Info.Service > 0 && Info.Service <= 8 && !Pane->Damaged)
      ServiceCount[static_cast<std::size_t>(Info.Service)] += 1;
    if (ResidentsOn) Residents += Info.Residents;
    if (NeedsOn) {
      ReligionSum += Pane->Religion;
      CommerceSum += Pane->Commerce;
      HealthcareSum += Pane->Healthcare;
      CultureSum += Pane->Culture;
    }
  }
  Religion = ClampToInt32(ReligionSum);
  Commerce = ClampToInt32(CommerceSum);
  Healthcare = ClampToInt32(HealthcareSum);
  Culture = ClampToInt32(CultureSum);

  // Happiness; a damaged house adds only its unhappiness. Summed like the need points: a pane that
  // is no house keeps the happiness a loaded record gave it.
  std::int64_t HappinessSum = 0;
  for (const std::unique_ptr<TPane>& Pane : Panes) {
    if (!HappinessOn) {
      Pane->Happiness = 0;
      continue;
    }
    if (PaneInfo[Pane->Kind].TakesAppeal) Pane->UpdateHappiness();
    if (!Pane->Damaged || Pane->Happiness < 0) HappinessSum += Pane->Happiness;
  }
  Happiness = ClampToInt32(HappinessSum);

  MissionRules::EvaluateGoals(*this);
}

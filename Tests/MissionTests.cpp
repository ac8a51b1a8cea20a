// MissionTests.cpp -- the town simulation: the map and panes, actions and jobs, the per-frame
// update, goals, times, trophy and debug commands. Missions are built by hand, pane by pane.
#include <atomic>
#include <climits>
#include <cstdlib>
#include <functional>
#include <iterator>
#include <limits>
#include <new>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "AllocationCounter.h"
#include "EngineRegister.h"
#include "EngineUtils.h"
#include "VexaMission.h"
#include "VexaPlayers.h"

namespace {

constexpr std::uint32_t AllLicenses = (1u << LicenseCount) - 1;

class MissionTest : public ::testing::Test {
 protected:
  TPlayer Player;
  TMission M{&Player};

  void SetUp() override {
    Randomize(20240611);
    SavedDifficulty = Register.Difficulty;
    SavedDeadline = Register.Deadline;
    Register.Difficulty = 0;
    Register.Deadline = false;
    for (std::int32_t R = 0; R < 5; ++R)
      for (std::int32_t C = 0; C < 5; ++C)
        M.GetPane(R, C)->Setup(0, pkGrass, -1);
    M.WoodOrders = -1;
    M.StoneOrders = -1;
    M.Trainees = -1;
  }

  void TearDown() override {
    Register.Difficulty = SavedDifficulty;
    Register.Deadline = SavedDeadline;
  }

  TPane& Place(std::int32_t R, std::int32_t C, std::uint8_t Kind) {
    TPane* P = M.GetPane(R, C);
    P->Setup(0, Kind, -1);
    return *P;
  }

  void Stock(std::int32_t Money, std::int32_t Wood, std::int32_t Stone, std::int32_t Workers) {
    M.Money = Money;
    M.Wood = Wood;
    M.Stone = Stone;
    M.Workers = Workers;
    M.FreeWorkers = Workers;
  }

  void Rich() {
    Stock(1000000, 100000, 100000, 1000);
    M.OwnedLicenses = AllLicenses;
  }

  // Starts the action of Slot (which must be offered) and runs the job to its end in one update.
  void FinishJob(TPane& P, int Slot) {
    ASSERT_FALSE(P.IsActionHidden(Slot));
    ASSERT_TRUE(P.CanStartAction(Slot));
    P.StartAction(Slot);
    M.Update(1000.0f);
    ASSERT_EQ(P.Action, akNone);
  }

  void Repeat(int Times, float Seconds) {
    for (int I = 0; I < Times; ++I)
      M.Update(Seconds);
  }

 private:
  std::int32_t SavedDifficulty = 0;
  bool SavedDeadline = false;
};

// ---- The map and its panes ----

TEST_F(MissionTest, FreshMissionHasItsStartValues) {
  TMission Fresh(&Player);
  EXPECT_EQ(Fresh.Owner, &Player);
  EXPECT_EQ(Fresh.WoodPrice, 500);
  EXPECT_EQ(Fresh.StonePrice, 500);
  EXPECT_EQ(Fresh.TrainPrice, 1500);
  EXPECT_EQ(Fresh.HoverAction, -1);
  EXPECT_EQ(Fresh.HoverLicense, -1);
  EXPECT_EQ(Fresh.WoodOrders, 0);
  EXPECT_EQ(Fresh.StoneOrders, 0);
  EXPECT_EQ(Fresh.Trainees, 0);
  EXPECT_EQ(Fresh.Money, 0);
  EXPECT_EQ(Fresh.OwnedLicenses, 0u);
  EXPECT_EQ(Fresh.Selected, nullptr);
  EXPECT_TRUE(Fresh.Stages.empty());
  for (std::int32_t R = 0; R < 5; ++R) {
    for (std::int32_t C = 0; C < 5; ++C) {
      const TPane* P = Fresh.GetPane(R, C);
      ASSERT_NE(P, nullptr);
      EXPECT_EQ(P, Fresh.Panes[static_cast<std::size_t>(R * 5 + C)].get());
      EXPECT_EQ(P->Row, R);
      EXPECT_EQ(P->Column, C);
      EXPECT_EQ(P->Mission, &Fresh);
      EXPECT_EQ(P->Kind, pkNone);
    }
  }
}

TEST_F(MissionTest, GetPaneOutsideTheMapGivesNone) {
  const std::pair<std::int32_t, std::int32_t> Outside[] = {
      {5, 0}, {0, -1}, {-1, 0}, {0, 5}, {-1, -1}, {INT_MIN, 2}, {2, INT_MAX}};
  for (const auto& [R, C] : Outside)
    EXPECT_EQ(M.GetPane(R, C), nullptr) << R << "," << C;
}

TEST_F(MissionTest, NeighboursFollowTheFixedOrder) {
  const TPane* Corner = M.GetPane(0, 0);
  const std::array<const TPane*, 8> CornerExpected = {nullptr,         nullptr,         nullptr,
                                                      nullptr,         M.GetPane(1, 0), nullptr,
                                                      M.GetPane(0, 1), M.GetPane(1, 1)};
  for (std::size_t N = 0; N < 8; ++N)
    EXPECT_EQ(Corner->Neighbours[N], CornerExpected[N]) << N;

  const TPane* Centre = M.GetPane(2, 3);
  const std::array<const TPane*, 8> CentreExpected = {
      M.GetPane(1, 2), M.GetPane(2, 2), M.GetPane(3, 2), M.GetPane(1, 3),
      M.GetPane(3, 3), M.GetPane(1, 4), M.GetPane(2, 4), M.GetPane(3, 4)};
  for (std::size_t N = 0; N < 8; ++N)
    EXPECT_EQ(Centre->Neighbours[N], CentreExpected[N]) << N;
}

TEST_F(MissionTest, SelectingTogglesAndOutsideDeselects) {
  M.SelectPane(1, 3);
  EXPECT_EQ(M.Selected, M.GetPane(1, 3));
  M.SelectPane(2, 2);
  EXPECT_EQ(M.Selected, M.GetPane(2, 2));
  M.SelectPane(2, 2);
  EXPECT_EQ(M.Selected, nullptr);
  M.SelectPane(0, 4);
  M.SelectPane(-1, -1);
  EXPECT_EQ(M.Selected, nullptr);
  M.SelectPane(-1, -1);
  EXPECT_EQ(M.Selected, nullptr);
}

TEST_F(MissionTest, NewPanesTakeARandomVariantWhenTheKindHasSeveralLooks) {
  struct Case {
    std::uint8_t Kind;
    std::set<std::int32_t> Variants;
  };
  const Case Cases[] = {
      {pkHouse1, {0, 1}}, {pkAqueduct, {0, 1, 2, 3}}, {pkGrass, {0}}, {pkBuildingPlot, {0}}};
  for (const Case& C : Cases) {
    std::set<std::int32_t> Seen;
    for (int I = 0; I < 200; ++I)
      Seen.insert(Place(1, 1, C.Kind).Variant);
    EXPECT_EQ(Seen, C.Variants) << int{C.Kind};
  }
  M.GetPane(1, 1)->Setup(2, pkAqueduct, 3);
  EXPECT_EQ(M.GetPane(1, 1)->Variant, 3);
  EXPECT_EQ(M.GetPane(1, 1)->Look, 2);
  EXPECT_EQ(M.GetPane(1, 1)->GetTextureName(), "Pane4Aqueduct");
  EXPECT_EQ(Place(1, 1, pkGrass).GetTextureName(), "");
}

TEST_F(MissionTest, SetKindDrawsTheVariantBeforeTheDamageDelay) {
  Randomize(77);
  const int Variant = Random(2);
  const float R = RandomFloat();
  const float Expected = (R - 0.5f) * 180.0f + 480.0f;
  Randomize(77);
  TPane& House = Place(0, 0, pkHouse1);
  EXPECT_EQ(House.Variant, Variant);
  EXPECT_EQ(House.DamageDelay, Expected);

  // A kind with a single look draws only the damage delay.
  Randomize(77);
  const float Single = (RandomFloat() - 0.5f) * 180.0f + 480.0f;
  Randomize(77);
  EXPECT_EQ(Place(0, 0, pkGrass).DamageDelay, Single);
}

TEST_F(MissionTest, DamageDelaysStayWithinTheirRange) {
  for (int I = 0; I < 2000; ++I) {
    const float Delay = Place(0, 0, pkHouse2).DamageDelay;
    ASSERT_GE(Delay, 390.0f);
    ASSERT_LT(Delay, 570.0f);
  }
}

TEST_F(MissionTest, SetKindGivesAFreshBuilding) {
  Rich();
  TPane& House = Place(2, 2, pkHouse1);
  FinishJob(House, 1);  // UpgradeHouse1
  House.Damaged = true;
  House.Look = 3;
  House.DamagePhase = 0.5f;
  ASSERT_EQ(House.Slots[1], akNone);

  House.SetKind(pkHouse1);
  EXPECT_EQ(House.Upgrades, 1u);
  EXPECT_EQ(House.Slots, PaneInfo[pkHouse1].Slots);
  EXPECT_EQ(House.IncomeBonus, 0);
  EXPECT_FALSE(House.Damaged);
  EXPECT_TRUE(House.Damageable);
  EXPECT_EQ(House.Residents, 27);
  EXPECT_EQ(House.Look, 3);
  EXPECT_EQ(House.DamagePhase, 0.5f);
}

// ---- Actions ----

TEST_F(MissionTest, StartingAnActionTakesItsCosts) {
  struct Case {
    std::uint8_t Kind;
    int Slot;
    bool Damaged;
    std::int32_t Workers, MaxWorkers, Work, Wood, Stone, Money;
  };
  const Case Cases[] = {
      {pkBuildingPlot, 1, false, 8, 12, 160, 40, 10, 0},       // ConstructHouse1
      {pkBuildingPlot, 14, false, 10, 15, 180, 40, 20, 0},     // ConstructAppeal1
      {pkBuildingPlot, 13, false, 26, 39, 1508, 240, 400, 0},  // ConstructService8
      {pkHouse1, 1, false, 4, 6, 64, 12, 3, 0},                // UpgradeHouse1
      {pkHouse3, 2, false, 8, 12, 116, 16, 24, 0},             // UpgradeHouse2
      {pkService1, 2, false, 6, 9, 84, 28, 16, 0},             // UpgradeService1
      {pkForest1 + 4, 2, false, 10, 15, 170, 0, 0, 1500},      // ClearForest
      {pkStones, 2, false, 14, 21, 322, 0, 0, 1500},           // ClearStones
      {pkDebris2, 2, false, 8, 12, 80, 0, 0, 1000},            // ClearDebris2
      {pkHouse4, 14, false, 10, 15, 352, 0, 0, 0},             // DemolishToDebris2
      {pkService3, 8, true, 8, 12, 106, 20, 20, 0},            // Repair
      {pkHouseOld1, 8, true, 4, 6, 32, 6, 2, 0},               // Repair
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(::testing::Message() << "kind " << int{C.Kind} << " slot " << C.Slot);
    TPane& P = Place(1, 2, C.Kind);
    P.Damaged = C.Damaged;
    Stock(C.Money, C.Wood, C.Stone, C.Workers);
    M.OwnedLicenses = AllLicenses;
    ASSERT_FALSE(P.IsActionHidden(C.Slot));
    ASSERT_TRUE(P.CanStartAction(C.Slot));
    P.StartAction(C.Slot);
    EXPECT_EQ(P.Action, PaneInfo[C.Kind].Slots[static_cast<std::size_t>(C.Slot)]);
    EXPECT_EQ(P.WorkersStart, C.Workers);
    EXPECT_EQ(P.Workers, C.Workers);
    EXPECT_EQ(P.WorkersMax, C.MaxWorkers);
    EXPECT_EQ(P.WorkNeeded, static_cast<float>(C.Work));
    EXPECT_EQ(P.WorkDone, 0.0f);
    EXPECT_EQ(P.WoodSpent, C.Wood);
    EXPECT_EQ(P.StoneSpent, C.Stone);
    EXPECT_EQ(M.FreeWorkers, 0);
    EXPECT_EQ(M.Workers, C.Workers);
    EXPECT_EQ(M.Wood, 0);
    EXPECT_EQ(M.Stone, 0);
    EXPECT_EQ(M.Money, 0);
  }
}

TEST_F(MissionTest, CanStartActionRefusesEachMissingResource) {
  struct Case {
    const char* Name;
    std::uint8_t Kind;
    int Slot;
    std::int32_t FreeWorkers, Wood, Stone, Money;
    std::uint32_t Licenses;
    bool Expected;
  };
  const std::uint32_t House2Licence = 1u << lcHouse2;
  const Case Cases[] = {
      {"House2 with everything", pkBuildingPlot, 2, 12, 60, 30, 0, House2Licence, true},
      {"one worker short", pkBuildingPlot, 2, 11, 60, 30, 0, House2Licence, false},
      {"one wood short", pkBuildingPlot, 2, 12, 59, 30, 0, House2Licence, false},
      {"one stone short", pkBuildingPlot, 2, 12, 60, 29, 0, House2Licence, false},
      {"no licence", pkBuildingPlot, 2, 12, 60, 30, 0, AllLicenses & ~House2Licence, false},
      {"House1 with 7 workers", pkBuildingPlot, 1, 7, 40, 10, 0, 0, false},
      {"House1 needs no licence, not even bit 0", pkBuildingPlot, 1, 8, 40, 10, 0, 0, true},
      {"debris clearing with its price", pkDebris1, 2, 8, 0, 0, 1000, 0, true},
      {"one coin short", pkDebris1, 2, 8, 0, 0, 999, 0, false},
      {"stone clearing with its price", pkStones, 2, 14, 0, 0, 1500, 0, true},
  };
  for (const Case& C : Cases) {
    TPane& P = Place(3, 1, C.Kind);
    Stock(C.Money, C.Wood, C.Stone, C.FreeWorkers);
    M.OwnedLicenses = C.Licenses;
    EXPECT_EQ(P.CanStartAction(C.Slot), C.Expected) << C.Name;
  }
}

TEST_F(MissionTest, AddingWorkersStopsAtHalfAgainTheStartingCrew) {
  TPane& Plot = Place(2, 2, pkBuildingPlot);
  Stock(0, 40, 10, 8);
  ASSERT_TRUE(Plot.CanStartAction(1));
  Plot.StartAction(1);
  EXPECT_EQ(M.FreeWorkers, 0);
  EXPECT_FALSE(Plot.IsActionHidden(0));
  EXPECT_FALSE(Plot.CanStartAction(0)) << "no free worker";

  M.Workers = M.FreeWorkers = 10;
  for (int Added = 0; Added < 4; ++Added) {
    ASSERT_TRUE(Plot.CanStartAction(0)) << Added;
    Plot.StartAction(0);
  }
  EXPECT_EQ(Plot.Workers, 12);
  EXPECT_EQ(M.FreeWorkers, 6);
  EXPECT_FALSE(Plot.CanStartAction(0)) << "the thirteenth worker";
}

TEST_F(MissionTest, ActionVisibilityFollowsThePaneState) {
  enum TState { Idle, Damaged, Busy, BusyDamaged };
  struct Case {
    int Slot;
    std::array<bool, 4> Hidden;  // Idle, Damaged, Busy, BusyDamaged
  };
  const Case Cases[] = {
      {0, {true, true, false, false}},   // AssignWorker
      {1, {false, true, true, true}},    // UpgradeHouse1
      {8, {true, false, true, true}},    // Repair
      {14, {false, false, true, true}},  // Demolish
      {6, {true, true, true, true}},     // empty slot
      {-1, {true, true, true, true}},   {15, {true, true, true, true}},
  };
  for (const Case& C : Cases) {
    for (int State = Idle; State <= BusyDamaged; ++State) {
      TPane& House = Place(0, 3, pkHouse1);
      House.Damaged = State == Damaged || State == BusyDamaged;
      if (State >= Busy) House.Action = akRepair;
      EXPECT_EQ(House.IsActionHidden(C.Slot), C.Hidden[static_cast<std::size_t>(State)])
          << "slot " << C.Slot << " state " << State;
    }
  }
  EXPECT_FALSE(Place(0, 3, pkBuildingPlot).IsActionHidden(1));
  EXPECT_TRUE(Place(0, 3, pkFixedForest1).IsActionHidden(0));
}

TEST_F(MissionTest, ActionIconsAndColoursComeFromTheSlotAction) {
  TPane& Plot = Place(0, 0, pkBuildingPlot);
  EXPECT_EQ(Plot.GetActionIcon(0), 26);
  EXPECT_EQ(Plot.GetActionIcon(1), 12);
  EXPECT_EQ(Plot.GetActionIcon(14), 25);
  EXPECT_EQ(Plot.GetActionColor(1), 0xFFFFFFu);
  EXPECT_EQ(Place(0, 0, pkForest1).GetActionIcon(2), 63);
}

TEST_F(MissionTest, AJobAdvancesPerWorkerAndFinishesIntoTheNewKind) {
  M.ResidentsOn = true;
  TPane& Plot = Place(2, 2, pkBuildingPlot);
  Stock(0, 40, 10, 8);
  Plot.StartAction(1);
  EXPECT_EQ(Plot.GetWorkEffect(), "DustyJob");
  EXPECT_EQ(Plot.GetWorkSound(), 1);
  EXPECT_EQ(Plot.GetProgress(), 0.0f);

  Repeat(19, 0.5f);  // 19 units of 8 workers: 152 of 160
  EXPECT_EQ(Plot.Action, akConstructHouse1);
  EXPECT_EQ(Plot.WorkDone, 152.0f);
  EXPECT_FLOAT_EQ(Plot.GetProgress(), 0.95f);
  EXPECT_EQ(M.Residents, 0);

  M.Update(0.5f);  // ten seconds in all
  EXPECT_EQ(Plot.Action, akNone);
  EXPECT_EQ(Plot.Kind, pkHouse1);
  EXPECT_EQ(Plot.SoundEvent, "Finish3");
  EXPECT_EQ(Plot.EffectEvent, "Upgrade");
  EXPECT_EQ(M.FreeWorkers, 8);
  EXPECT_EQ(M.Residents, 27) << "the new house counts in the update that finished it";
  EXPECT_EQ(Plot.Workers, 0);
  EXPECT_EQ(Plot.WorkersMax, 0);
  EXPECT_EQ(Plot.WorkNeeded, 0.0f);
  EXPECT_EQ(Plot.WoodSpent, 0);
  EXPECT_EQ(Plot.GetProgress(), 1.0f);
  EXPECT_EQ(Plot.GetWorkEffect(), "");
  EXPECT_EQ(Plot.GetWorkSound(), 0);
  EXPECT_EQ(M.Wood, 0) << "spent materials are not given back";

  M.Update(0.5f);
  EXPECT_EQ(Plot.SoundEvent, "");
  EXPECT_EQ(Plot.EffectEvent, "");
}

TEST_F(MissionTest, ExtraWorkersShortenTheJob) {
  TPane& Forest = Place(1, 1, pkForest1);
  Stock(1500, 0, 0, 10);
  Forest.StartAction(2);
  Repeat(16, 0.5f);
  EXPECT_EQ(Forest.Action, akClearForest) << "8 seconds of 10 workers: 160 of 170";
  M.Update(0.5f);
  EXPECT_EQ(Forest.Kind, pkBuildingPlot);
  EXPECT_EQ(M.Wood, 200);
  EXPECT_EQ(M.Time, 8.5f);

  TPane& Plot = Place(3, 3, pkBuildingPlot);
  Stock(0, 40, 10, 12);
  Plot.StartAction(1);
  for (int I = 0; I < 4; ++I)
    Plot.StartAction(0);
  Repeat(13, 0.5f);  // 13 units of 12 workers: 156 of 160
  EXPECT_EQ(Plot.Action, akConstructHouse1);
  M.Update(0.5f);
  EXPECT_EQ(Plot.Kind, pkHouse1);
}

TEST_F(MissionTest, FinishedJobsChangeThePaneAndRecoverMaterials) {
  struct Case {
    std::uint8_t Kind;
    int Slot;
    bool Damaged;
    std::uint8_t NewKind;
    const char* Sound;
    const char* Effect;
    std::int32_t WoodGain, StoneGain;
  };
  const Case Cases[] = {
      {pkBuildingPlot, 1, false, pkHouse1, "Finish3", "Upgrade", 0, 0},
      {pkBuildingPlot, 6, false, pkService1, "Finish3", "Upgrade", 0, 0},
      {pkForest1 + 11, 2, false, pkBuildingPlot, "Finish2", "", 200, 0},
      {pkStones, 2, false, pkBuildingPlot, "Finish2", "", 0, 200},
      {pkDebris1, 2, false, pkBuildingPlot, "Finish2", "", 20, 10},
      {pkDebris2, 2, false, pkBuildingPlot, "Finish2", "", 10, 20},
      {pkHouse1, 14, false, pkDebris1, "Demolish", "Demolish", 0, 0},
      {pkHouse4, 14, true, pkDebris2, "Demolish", "Demolish", 0, 0},
      {pkService7, 14, false, pkDebris1, "Demolish", "Demolish", 0, 0},
      {pkService8, 14, false, pkDebris2, "Demolish", "Demolish", 0, 0},
      {pkHouse2, 8, true, pkHouse2, "Finish1", "", 0, 0},
      {pkHouse1, 1, false, pkHouse1, "Finish3", "Upgrade", 0, 0},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(::testing::Message() << "kind " << int{C.Kind} << " slot " << C.Slot);
    Rich();
    TPane& P = Place(4, 4, C.Kind);
    P.Damaged = C.Damaged;
    const std::int32_t FreeBefore = M.FreeWorkers;
    ASSERT_FALSE(P.IsActionHidden(C.Slot));
    ASSERT_TRUE(P.CanStartAction(C.Slot));
    P.StartAction(C.Slot);
    const std::int32_t WoodAfterStart = M.Wood;
    const std::int32_t StoneAfterStart = M.Stone;
    M.Update(1000.0f);
    EXPECT_EQ(P.Action, akNone);
    EXPECT_EQ(P.Kind, C.NewKind);
    EXPECT_EQ(P.SoundEvent, C.Sound);
    EXPECT_EQ(P.EffectEvent, C.Effect);
    EXPECT_FALSE(P.Damaged);
    EXPECT_EQ(M.FreeWorkers, FreeBefore);
    EXPECT_EQ(M.Wood, WoodAfterStart + C.WoodGain);
    EXPECT_EQ(M.Stone, StoneAfterStart + C.StoneGain);
  }
}

TEST_F(MissionTest, RepairEndsTheDamageWithANewDelay) {
  Rich();
  M.OwnedLicenses = 0;  // Spec2 would stop the damage
  M.DamageOn = true;
  TPane& House = Place(2, 2, pkHouse2);
  House.Damaged = true;
  House.DamageDelay = -3.0f;
  House.StartAction(8);  // 68 work units with 6 workers: 12 units
  M.Update(6.0f);
  EXPECT_EQ(House.Action, akNone);
  EXPECT_FALSE(House.Damaged);
  EXPECT_EQ(House.SoundEvent, "Finish1");
  EXPECT_GE(House.DamageDelay, 390.0f - 12.0f);
  EXPECT_LT(House.DamageDelay, 570.0f - 12.0f);
  EXPECT_EQ(House.Kind, pkHouse2);
}

TEST_F(MissionTest, UpgradesConsumeTheirSlotAndApplyOnce) {
  Rich();
  TPane& House = Place(2, 2, pkHouse1);
  House.StartAction(1);
  EXPECT_EQ(House.Slots[1], akNone) << "emptied as the job starts";
  M.Update(1000.0f);
  EXPECT_EQ(House.Slots[1], akNone);
  EXPECT_EQ(House.Upgrades, 0b11u);
  EXPECT_EQ(House.IncomeBonus, 20);
  House.ApplyUpgrade(1);
  EXPECT_EQ(House.IncomeBonus, 20);
  House.ApplyUpgrade(2);
  EXPECT_EQ(House.IncomeBonus, 40);
  EXPECT_EQ(House.Upgrades, 0b111u);

  TPane& Temple = Place(0, 0, pkService5);
  EXPECT_EQ(Temple.Religion, 3);
  FinishJob(Temple, 2);  // UpgradeService5
  EXPECT_EQ(Temple.Religion, 5);
  EXPECT_EQ(Temple.Upgrades, (1u << 0) | (1u << 10));
  Temple.ApplyUpgrade(10);
  EXPECT_EQ(Temple.Religion, 5);
  Temple.ApplyUpgrade(9);
  EXPECT_EQ(Temple.Culture, 1);
  for (int Outside : {0, -1, 14, 16, 99})
    Temple.ApplyUpgrade(Outside);
  EXPECT_EQ(Temple.Upgrades, (1u << 0) | (1u << 9) | (1u << 10));
}

// ---- Town actions ----

TEST_F(MissionTest, OrdersAndTrainingTakeTheirPrice) {
  M.Money = 499;
  EXPECT_FALSE(M.CanOrderWood());
  EXPECT_FALSE(M.CanOrderStone());
  M.Money = 1500;
  ASSERT_TRUE(M.CanOrderWood());
  M.OrderWood();
  M.OrderWood();
  M.OrderStone();
  EXPECT_EQ(M.Money, 0);
  EXPECT_EQ(M.WoodOrders, 1);
  EXPECT_EQ(M.StoneOrders, 0);

  struct Case {
    std::uint32_t Licenses;
    std::int32_t Money;
    std::int32_t Price;
    bool Can;
  };
  const Case Cases[] = {{0, 1500, 1500, true},
                        {0, 1499, 1500, false},
                        {1u << lcSpec1, 900, 900, true},
                        {1u << lcSpec1, 899, 900, false},
                        {AllLicenses & ~(1u << lcSpec1), 1499, 1500, false}};
  for (const Case& C : Cases) {
    M.OwnedLicenses = C.Licenses;
    M.Money = C.Money;
    M.Trainees = -1;
    EXPECT_EQ(M.TrainingPrice(), C.Price);
    ASSERT_EQ(M.CanTrainWorker(), C.Can) << C.Money;
    if (!C.Can) continue;
    M.TrainWorker();
    EXPECT_EQ(M.Money, 0);
    EXPECT_EQ(M.Trainees, 0);
  }
}

TEST_F(MissionTest, ProgressGaugesDivideByTheirPeriods) {
  M.WoodTimer = 3.5f;
  M.StoneTimer = 7.0f;
  M.TrainTimer = 3.5f;
  M.IncomeTimer = 2.5f;
  EXPECT_EQ(M.WoodProgress(), 0.5f);
  EXPECT_EQ(M.StoneProgress(), 1.0f);
  EXPECT_EQ(M.TrainingProgress(), 0.25f);
  EXPECT_EQ(M.IncomeProgress(), 0.25f);
}

TEST_F(MissionTest, LicenseStates) {
  struct Case {
    std::int32_t Id;
    std::uint32_t Owned, OnSale;
    std::int32_t Money;
    std::int32_t Expected;
  };
  const std::uint32_t Extra1 = 1u << lcExtra1;  // costs 3000
  const Case Cases[] = {
      {lcExtra1, 0, Extra1, 2999, -1},
      {lcExtra1, 0, Extra1, 3000, 0},
      {lcExtra1, Extra1, Extra1, 0, 2},
      {lcExtra1, Extra1, 0, 0, 2},
      {lcExtra1, 0, 0, 1000000, 1},
      {lcNone, 0, 0, 0, 1},  // the real bit, even though actions treat licence 0 as owned
      {lcNone, 1, 0, 0, 2},
      {-1, AllLicenses, 0xFFFFFFFFu, 1000000, 1},
      {32, AllLicenses, 0xFFFFFFFFu, 1000000, 1},
      {25, 0, 0xFFFFFFFFu, 1000000, 1},  // not in the table: never offered
  };
  for (const Case& C : Cases) {
    M.OwnedLicenses = C.Owned;
    M.LicensesOnSale = C.OnSale;
    M.Money = C.Money;
    EXPECT_EQ(M.LicenseState(C.Id), C.Expected) << C.Id << " with " << C.Money;
  }

  M.OwnedLicenses = 0;
  M.LicensesOnSale = Extra1 | 1u << lcSpec2;
  M.Money = 9000;
  M.BuyLicense(lcExtra1);
  EXPECT_EQ(M.Money, 6000);
  EXPECT_EQ(M.LicenseState(lcExtra1), 2);
  EXPECT_TRUE(M.OwnsLicense(lcExtra1));
  EXPECT_FALSE(M.OwnsLicense(lcSpec2));
  M.BuyLicense(lcSpec2);
  EXPECT_EQ(M.Money, 500);
}

TEST_F(MissionTest, WorkSoundsAreCountedPerKind) {
  Rich();
  Place(0, 0, pkBuildingPlot).StartAction(1);
  Place(0, 1, pkBuildingPlot).StartAction(14);
  Place(1, 0, pkForest1).StartAction(2);
  Place(1, 1, pkStones).StartAction(2);
  Place(2, 2, pkHouse1).StartAction(14);
  Place(3, 3, pkDebris1).StartAction(2);
  M.SelectPane(1, 0);
  std::array<std::int32_t, 6> Counts{9, 9, 9, 9, 9, 9};
  std::int32_t Selected = -1;
  M.CountWorkSounds(Counts, Selected);
  EXPECT_EQ(Counts, (std::array<std::int32_t, 6>{0, 2, 1, 1, 1, 1}));
  EXPECT_EQ(Selected, 4);
  M.SelectPane(1, 0);
  M.CountWorkSounds(Counts, Selected);
  EXPECT_EQ(Selected, 0);
}

// ---- The update: income ----

class IncomeTest;

struct TIncomeCase {
  const char* Name;
  std::function<void(IncomeTest&)> Build;
  std::int32_t Difficulty;
  float Accumulated;  // after one payment period of 10 units
};

void PrintTo(const TIncomeCase& C, std::ostream* Out) {
  *Out << C.Name;
}

class IncomeTest : public MissionTest, public ::testing::WithParamInterface<TIncomeCase> {
 public:
  TPane& Put(std::int32_t R, std::int32_t C, std::uint8_t Kind) { return Place(R, C, Kind); }
};

TEST_P(IncomeTest, EarnsPerPaneOverOnePeriod) {
  const TIncomeCase& C = GetParam();
  M.HappinessOn = true;
  Register.Difficulty = C.Difficulty;
  C.Build(*this);
  M.Update(0.0f);  // the happiness that the income uses
  M.Update(5.0f);  // 10 units, no payment yet
  EXPECT_EQ(M.IncomeTimer, 10.0f);
  EXPECT_FALSE(M.IncomePaid);
  EXPECT_EQ(M.IncomeAccumulator, C.Accumulated) << C.Name;
}

// An upgraded House2 (income 32, bonus 20) missing two services beside an Appeal1: happiness -1.
void UpgradedHouse2(IncomeTest& T) {
  T.Put(2, 2, pkHouse2).ApplyUpgrade(1);
  T.Put(2, 3, pkAppeal1);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IncomeTest,
    ::testing::Values(
        TIncomeCase{"upgraded House2 on Normal", UpgradedHouse2, 0, 35.0f},
        TIncomeCase{"upgraded House2 on Easy", UpgradedHouse2, 1, 43.75f},
        TIncomeCase{"upgraded House2 on Hard", UpgradedHouse2, -1, 26.25f},
        TIncomeCase{"House1 beside debris and a fort",
                    [](IncomeTest& T) {
                      T.Put(2, 2, pkHouse1);
                      T.Put(1, 1, pkDebris1);
                      T.Put(3, 3, pkFort);
                    },
                    0, 14.0f},
        TIncomeCase{
            "happiness -10 earns nothing, below it nothing is taken",
            [](IncomeTest& T) {
              T.Put(1, 0, pkHouse4);  // six missing services, four debris: -10
              for (auto [R, C] : {std::pair{0, 0}, {0, 1}, {1, 1}, {2, 0}})
                T.Put(R, C, pkDebris2);
              T.Put(3, 3, pkHouse5);  // eight missing services, eight workshops: -16
              for (auto [R, C] :
                   {std::pair{2, 2}, {2, 3}, {2, 4}, {3, 2}, {3, 4}, {4, 2}, {4, 3}, {4, 4}})
                T.Put(R, C, pkWorkshop);
              T.Put(0, 4, pkHouseOld1);  // income 5, the only earner
            },
            0, 5.0f},
        TIncomeCase{"damaged and busy houses earn nothing",
                    [](IncomeTest& T) {
                      T.Put(0, 0, pkHouse1).Damaged = true;
                      TPane& Busy = T.Put(4, 4, pkHouse2);
                      Busy.Action = akRepair;
                      Busy.WorkNeeded = 1.0e6f;
                      T.Put(2, 2, pkHouseOld2);  // income 14
                    },
                    0, 14.0f}),
    [](const ::testing::TestParamInfo<TIncomeCase>& Info) {
      return "Case" + std::to_string(Info.index);
    });

TEST_F(MissionTest, IncomeIsPaidOncePerPeriodRoundedDown) {
  Place(2, 2, pkHouse1);  // 18 per period: 3.6 per update of one second
  M.Money = 100;
  for (int I = 1; I <= 5; ++I) {
    M.Update(1.0f);
    ASSERT_FALSE(M.IncomePaid) << I;
  }
  M.Update(1.0f);  // the timer passes 10 in the sixth second
  EXPECT_TRUE(M.IncomePaid);
  EXPECT_EQ(M.LastIncome, 21);  // 6 x 3.6 = 21.6
  EXPECT_EQ(M.Money, 121);
  EXPECT_EQ(M.IncomeAccumulator, 0.0f);
  EXPECT_EQ(M.IncomeTimer, 2.0f);
  M.Update(1.0f);
  EXPECT_FALSE(M.IncomePaid);
  EXPECT_EQ(M.LastIncome, 21);
}

TEST_F(MissionTest, AtMostOnePaymentPerUpdateAndOneEvenWithoutTime) {
  Place(2, 2, pkHouse1);
  M.Update(20.0f);  // 40 units
  EXPECT_TRUE(M.IncomePaid);
  EXPECT_EQ(M.LastIncome, 72);
  EXPECT_EQ(M.IncomeTimer, 30.0f);
  M.Update(0.0f);  // an elapsed period is still paid without time
  EXPECT_TRUE(M.IncomePaid);
  EXPECT_EQ(M.LastIncome, 0);
  EXPECT_EQ(M.IncomeTimer, 20.0f);
  M.Paused = true;
  M.Update(3.0f);
  EXPECT_TRUE(M.IncomePaid);
  EXPECT_EQ(M.IncomeTimer, 10.0f);
  M.Update(3.0f);
  EXPECT_FALSE(M.IncomePaid) << "10 is not past the period";
  EXPECT_EQ(M.Money, 72);
}

TEST_F(MissionTest, HugeIncomeSaturatesTheMoney) {
  M.Money = INT_MAX - 10;
  M.IncomeAccumulator = 1.0e12f;
  M.IncomeTimer = 10.5f;
  M.Update(0.0f);
  EXPECT_EQ(M.LastIncome, INT_MAX);
  EXPECT_EQ(M.Money, INT_MAX);
}

// ---- The update: deliveries and training ----

struct TOrderCase {
  const char* Name;
  std::int32_t TMission::*Orders;
  float TMission::*Timer;
  std::int32_t TMission::*Stock;
  bool TMission::*Event;
  int UpdatesPerDelivery;  // of half a second each
  std::int32_t Amount;
};

const TOrderCase OrderCases[] = {
    {"wood", &TMission::WoodOrders, &TMission::WoodTimer, &TMission::Wood, &TMission::WoodDelivered,
     7, 100},
    {"stone", &TMission::StoneOrders, &TMission::StoneTimer, &TMission::Stone,
     &TMission::StoneDelivered, 7, 100},
    {"training", &TMission::Trainees, &TMission::TrainTimer, &TMission::FreeWorkers,
     &TMission::WorkerTrained, 14, 1},
};

TEST_F(MissionTest, TwoOrdersArriveOneAfterTheOther) {
  for (const TOrderCase& C : OrderCases) {
    SCOPED_TRACE(C.Name);
    M.*C.Orders = 1;
    M.*C.Timer = 0.0f;
    M.*C.Stock = 0;
    M.Workers = 0;
    for (int Delivery = 1; Delivery <= 2; ++Delivery) {
      for (int I = 1; I < C.UpdatesPerDelivery; ++I) {
        M.Update(0.5f);
        ASSERT_FALSE(M.*C.Event);
      }
      M.Update(0.5f);
      EXPECT_TRUE(M.*C.Event);
      EXPECT_EQ(M.*C.Stock, Delivery * C.Amount);
      EXPECT_EQ(M.*C.Orders, 1 - Delivery);
      EXPECT_EQ(M.*C.Timer, 0.0f);
    }
    M.Update(0.5f);
    EXPECT_FALSE(M.*C.Event);
    Repeat(40, 0.5f);
    EXPECT_EQ(M.*C.Stock, 2 * C.Amount);
    EXPECT_EQ(M.*C.Timer, 0.0f) << "no timer runs without an order";
  }
  EXPECT_EQ(M.Workers, 2) << "trained workers join the town";
}

TEST_F(MissionTest, OneUpdateDeliversOnceAndDropsTheExcessTime) {
  for (const TOrderCase& C : OrderCases) {
    SCOPED_TRACE(C.Name);
    M.*C.Orders = 1;
    M.*C.Stock = 0;
    M.Update(100.0f);
    EXPECT_EQ(M.*C.Stock, C.Amount);
    EXPECT_EQ(M.*C.Orders, 0);
    EXPECT_EQ(M.*C.Timer, 0.0f);
    M.*C.Orders = -1;
  }
  // Frames of one second: the timer reaches 7 units only in the fourth second.
  M.WoodOrders = 0;
  M.Wood = 0;
  Repeat(3, 1.0f);
  EXPECT_EQ(M.Wood, 0);
  M.Update(1.0f);
  EXPECT_EQ(M.Wood, 100);
}

TEST_F(MissionTest, AFreshMissionHasOneDeliveryOfEachDue) {
  TMission Fresh(&Player);
  for (int I = 0; I < 7; ++I)
    Fresh.Update(0.5f);
  EXPECT_EQ(Fresh.Wood, 100);
  EXPECT_EQ(Fresh.Stone, 100);
  EXPECT_EQ(Fresh.WoodOrders, -1);
  for (int I = 0; I < 7; ++I)
    Fresh.Update(0.5f);
  EXPECT_EQ(Fresh.Workers, 1);
  EXPECT_EQ(Fresh.Trainees, -1);
}

// ---- The update: damage ----

TEST_F(MissionTest, ABuildingIsDamagedWhenItsDelayRunsOut) {
  M.DamageOn = true;
  TPane& House = Place(2, 2, pkHouse1);
  House.DamageDelay = 5.0f;
  M.Update(2.0f);
  EXPECT_FALSE(House.Damaged);
  EXPECT_EQ(House.DamageDelay, 1.0f);
  M.Update(0.5f);
  EXPECT_TRUE(House.Damaged);
  EXPECT_EQ(House.SoundEvent, "Damage");
  EXPECT_EQ(House.DamagePhase, 0.0f);
  M.Update(0.5f);
  EXPECT_EQ(House.SoundEvent, "");
  EXPECT_FLOAT_EQ(House.GetDamagePhase(), 0.4f);
  M.Update(1.0f);
  EXPECT_NEAR(House.GetDamagePhase(), 0.2f, 1e-6f);
  EXPECT_EQ(House.DamageDelay, 0.0f) << "a damaged pane's delay does not count on";
}

TEST_F(MissionTest, DamageNeedsItsSwitchADamageablePaneAndNoSpec2) {
  struct Case {
    const char* Name;
    bool DamageOn;
    std::uint8_t Kind;
    std::uint32_t Licenses;
    float DelayAfter;
  };
  const Case Cases[] = {
      {"counts down", true, pkService2, 0, -1.0f},
      {"switched off", false, pkService2, 0, 1.0f},
      {"not damageable", true, pkAppeal1, 0, 1.0f},
      {"licence Spec2", true, pkService2, 1u << lcSpec2, 1.0f},
  };
  for (const Case& C : Cases) {
    M.DamageOn = C.DamageOn;
    M.OwnedLicenses = C.Licenses;
    TPane& P = Place(1, 1, C.Kind);
    P.DamageDelay = 1.0f;
    M.Update(1.0f);
    EXPECT_EQ(P.DamageDelay, C.DelayAfter) << C.Name;
    EXPECT_EQ(P.Damaged, C.DelayAfter <= 0.0f) << C.Name;
  }
  // Spec2 leaves damaged panes damaged.
  TPane& P = Place(1, 1, pkHouse1);
  P.Damaged = true;
  M.Update(100.0f);
  EXPECT_TRUE(P.Damaged);
}

TEST_F(MissionTest, ADelayThatRunsOutDuringAJobDamagesOnceTheJobEnds) {
  Rich();
  M.OwnedLicenses = 0;  // Spec2 would stop the damage
  M.DamageOn = true;
  TPane& House = Place(2, 2, pkHouse1);
  House.StartAction(1);  // UpgradeHouse1: 64 units with 4 workers, 16 units
  House.DamageDelay = 2.0f;
  Repeat(15, 0.5f);
  EXPECT_FALSE(House.Damaged) << "no damage while the job runs";
  EXPECT_EQ(House.DamageDelay, -13.0f);
  M.Update(0.5f);
  EXPECT_EQ(House.Action, akNone);
  EXPECT_TRUE(House.Damaged) << "damaged in the update that ended the job";
  EXPECT_EQ(House.SoundEvent, "Damage");
  EXPECT_EQ(House.EffectEvent, "Upgrade");
}

TEST_F(MissionTest, PausedOrWithoutTimeNothingMoves) {
  Rich();
  Register.Deadline = true;
  M.DamageOn = true;
  M.ResidentsOn = true;
  M.DeadlineTime = 10;
  M.Time = 9.0f;
  TPane& House = Place(0, 0, pkHouse1);
  House.DamageDelay = 0.5f;
  TPane& Plot = Place(4, 4, pkBuildingPlot);
  Plot.StartAction(1);
  M.WoodOrders = 0;
  M.Trainees = 0;
  M.AddGoal(true, gkResidents, 27);

  for (bool Paused : {true, false}) {
    M.Paused = Paused;
    M.Update(Paused ? 1000.0f : 0.0f);
    EXPECT_EQ(M.Time, 9.0f);
    EXPECT_FALSE(M.DeadlinePassed);
    EXPECT_FALSE(House.Damaged);
    EXPECT_EQ(House.DamageDelay, 0.5f);
    EXPECT_EQ(Plot.WorkDone, 0.0f);
    EXPECT_EQ(M.WoodTimer, 0.0f);
    EXPECT_EQ(M.TrainTimer, 0.0f);
    EXPECT_EQ(M.IncomeAccumulator, 0.0f);
    EXPECT_EQ(M.IncomeTimer, 0.0f);
    EXPECT_EQ(M.Residents, 27) << "the totals are still recounted";
    EXPECT_TRUE(M.GoalsReached) << "and the goals evaluated";
  }
}

// ---- The update: totals and happiness ----

TEST_F(MissionTest, TotalsCountDamagedBuildingsExceptForTheirService) {
  M.ResidentsOn = true;
  M.NeedsOn = true;
  Place(0, 0, pkService1).Damaged = true;
  TPane& Upgraded = Place(0, 1, pkService1);
  Upgraded.ApplyUpgrade(6);
  Place(0, 2, pkService7);
  Place(1, 0, pkHouse1).Damaged = true;
  Place(1, 1, pkHouseOld2);
  Place(1, 2, pkService8);
  Place(1, 3, pkService2);
  Place(1, 4, pkService3);
  M.Update(0.0f);
  EXPECT_EQ(M.ServiceCount[1], 1);
  EXPECT_EQ(M.ServiceCount[2], 1);
  EXPECT_EQ(M.ServiceCount[3], 1);
  EXPECT_EQ(M.ServiceCount[7], 1);
  EXPECT_EQ(M.ServiceCount[8], 1);
  EXPECT_EQ(M.ServiceCount[4], 0);
  EXPECT_EQ(M.Residents, 27 + 37);
  EXPECT_EQ(M.Religion, 2 + 3);
  EXPECT_EQ(M.Commerce, 2);
  EXPECT_EQ(M.Healthcare, 2 + 3);
  EXPECT_EQ(M.Culture, 3);

  M.ResidentsOn = false;
  M.NeedsOn = false;
  M.Update(0.0f);
  EXPECT_EQ(M.Residents, 0);
  EXPECT_EQ(M.Religion, 0);
  EXPECT_EQ(M.Culture, 0);
  EXPECT_EQ(M.ServiceCount[1], 1) << "services are counted whatever the switches";
}

TEST_F(MissionTest, HappinessSumsHousesAndDamagedOnesOnlyWhenUnhappy) {
  M.HappinessOn = true;
  TPane& Happy = Place(0, 0, pkHouse1);  // beside two Appeal1: +2
  Place(0, 1, pkAppeal1);
  Place(1, 0, pkAppeal1);
  TPane& Unhappy = Place(4, 4, pkHouse2);  // two missing services, a debris: -3
  Place(3, 4, pkDebris1);
  Place(3, 3, pkService1).Damaged = true;  // a neighbour that serves nobody
  M.Update(0.0f);
  EXPECT_EQ(Happy.Happiness, 2);
  EXPECT_EQ(Unhappy.Happiness, -3);
  EXPECT_EQ(M.Happiness, -1);

  // The first need is served now: -2.
  M.GetPane(3, 3)->Damaged = false;
  M.Update(0.0f);
  EXPECT_EQ(Unhappy.Happiness, -2);

  Happy.Damaged = true;
  Unhappy.Damaged = true;
  M.Update(0.0f);
  EXPECT_EQ(Happy.Happiness, 2);
  EXPECT_EQ(M.Happiness, -2) << "a damaged house adds only its unhappiness";

  M.HappinessOn = false;
  M.Update(0.0f);
  EXPECT_EQ(Happy.Happiness, 0);
  EXPECT_EQ(Unhappy.Happiness, 0);
  EXPECT_EQ(M.Happiness, 0);
}

// ---- Goals ----

TEST_F(MissionTest, GoalsMeasureTheirValues) {
  M.ResidentsOn = true;
  M.NeedsOn = true;
  M.HappinessOn = true;
  Stock(7000, 300, 400, 12);
  M.FreeWorkers = 2;
  M.LastIncome = 55;
  Place(0, 0, pkHouse1).ApplyUpgrade(1);
  Place(0, 2, pkHouse1).ApplyUpgrade(2);
  Place(0, 4, pkHouse2).ApplyUpgrade(1);
  Place(2, 0, pkHouseOld1);
  Place(2, 2, pkService5);  // religion 3
  Place(2, 4, pkService4).Damaged = true;
  Place(4, 0, pkAppeal1);
  Place(4, 2, pkDebris1);
  struct Case {
    std::uint8_t Kind;
    std::int32_t Value;
  };
  const Case Cases[] = {
      {gkBalance, 7000},      {gkWood, 300},      {gkStone, 400},
      {gkWorkers, 12},        {gkIncome, 55},     {gkResidents, 27 + 27 + 40 + 18},
      {gkReligion, 3},        {gkCulture, 2},     {gkCommerce, 0},
      {gkBuildings, 7},       {gkHouses1, 2},     {gkHouses1 + 1, 1},
      {gkHouses, 4},          {gkHousesUpg1, 2},  {gkHousesUpg1 + 1, 1},
      {gkHasService1 + 3, 1}, {gkHasService1, 0}, {gkHasAppeal1, 1},
      {gkHappiness, -2},      {gkNone, 0},
  };
  for (const Case& C : Cases) {
    M.ClearGoals();
    M.AddGoal(true, C.Kind, 1);
    M.Update(0.0f);
    EXPECT_EQ(M.Goals[1].Value, C.Value) << int{C.Kind};
    EXPECT_EQ(M.Goals[1].Reached, C.Kind != gkNone && C.Value >= 1) << int{C.Kind};
  }
}

TEST_F(MissionTest, AMissionIsWonWhenEveryUsedGoalIsReached) {
  M.Scenario = 3;
  M.Money = 5000;
  M.Update(0.0f);
  EXPECT_FALSE(M.GoalsReached) << "no goals at all";

  M.AddGoal(false, gkBalance, 100);
  M.Update(0.0f);
  EXPECT_TRUE(M.Goals[0].Reached);
  EXPECT_TRUE(M.TrophyWon());
  EXPECT_FALSE(M.GoalsReached) << "the trophy goal alone";

  M.AddGoal(true, gkBalance, 5000);
  M.AddGoal(true, gkWood, 1);
  M.Update(0.0f);
  EXPECT_FALSE(M.GoalsReached);
  M.Wood = 1;
  M.Update(0.0f);
  EXPECT_TRUE(M.GoalsReached);
  EXPECT_EQ(M.Goals[2].Value, 1);

  M.Money = 4999;  // spent: the goal is lost again
  M.Update(0.0f);
  EXPECT_FALSE(M.Goals[1].Reached);
  EXPECT_FALSE(M.GoalsReached);
}

TEST_F(MissionTest, GoalSlotsFillUpAndEmptyFromTheEnd) {
  M.Scenario = 30;  // sandbox
  M.AddGoal(false, gkWood, 10);
  EXPECT_EQ(M.Goals[0].Kind, gkNone) << "sandbox maps have no trophy goal";
  M.AddGoal(true, gkWood, 10);
  M.AddGoal(true, gkStone, 20);
  M.AddGoal(true, gkWorkers, 30);
  EXPECT_EQ(M.GoalCount(), 3);
  M.Goals[3].Value = 99;
  M.Goals[3].Reached = true;
  M.AddGoal(true, gkCulture, 40);
  EXPECT_EQ(M.Goals[3].Kind, gkCulture);
  EXPECT_EQ(M.Goals[3].Target, 40);
  EXPECT_EQ(M.Goals[3].Value, 0);
  EXPECT_FALSE(M.Goals[3].Reached);
  EXPECT_TRUE(M.HasGoal(gkStone));
  EXPECT_FALSE(M.HasGoal(gkWorkers));

  M.RemoveGoal();
  M.Goals[2].Reached = true;
  M.Goals[2].Value = 7;
  M.RemoveGoal();
  EXPECT_EQ(M.GoalCount(), 1);
  EXPECT_EQ(M.Goals[2].Kind, gkNone);
  EXPECT_EQ(M.Goals[2].Target, 0);
  EXPECT_EQ(M.Goals[2].Value, 0);
  EXPECT_FALSE(M.Goals[2].Reached);
  M.AddGoal(true, gkHouses, 3);
  EXPECT_EQ(M.Goals[2].Kind, gkHouses) << "the first empty slot";

  M.Scenario = 5;
  M.AddGoal(false, gkHasAppeal1, 1);
  M.Goals[1] = TGoal{};
  M.Goals[2] = TGoal{};
  M.Goals[3] = TGoal{gkWood, true, 1, 1};
  M.RemoveGoal();
  M.RemoveGoal();
  EXPECT_EQ(M.GoalCount(), 0);
  EXPECT_EQ(M.Goals[0].Kind, gkHasAppeal1) << "the trophy goal is not removed";
  M.ClearGoals();
  for (const TGoal& G : M.Goals)
    EXPECT_EQ(G.Kind, gkNone);
}

TEST_F(MissionTest, WonStarsAndTrophiesAreNotOfferedAgain) {
  struct Case {
    std::int32_t Scenario;
    TScenarioProgress Progress;
    std::int32_t StarTime;
    bool TrophyGoal;
  };
  const Case Cases[] = {
      {6, {0, 0, 0}, 360, true}, {6, {1, 1, 0}, 0, true},    {6, {1, 0, 1}, 360, false},
      {6, {1, 1, 1}, 0, false},  {24, {0, 0, 0}, 360, true}, {25, {0, 0, 0}, 0, false},
      {0, {0, 0, 0}, 0, false},
  };
  for (const Case& C : Cases) {
    TPlayer Owner;
    Owner.SetProgress(C.Scenario, C.Progress);
    TMission Mission(&Owner);
    Mission.Scenario = C.Scenario;
    Mission.SetTimes(6.0f, 11.5f);
    Mission.AddGoal(false, gkHouses, 4);
    EXPECT_EQ(Mission.StarTime, C.StarTime) << C.Scenario;
    EXPECT_EQ(Mission.DeadlineTime, 690) << C.Scenario;
    EXPECT_EQ(Mission.Goals[0].Kind != gkNone, C.TrophyGoal) << C.Scenario;
  }
}

TEST_F(MissionTest, SetTimesSaturatesHugeMinutes) {
  M.Scenario = 2;
  struct Case {
    float Minutes;
    std::int32_t Seconds;
  };
  const Case Cases[] = {{1.0e30f, INT_MAX},
                        {-1.0e30f, INT_MIN},
                        {std::numeric_limits<float>::infinity(), INT_MAX},
                        {std::numeric_limits<float>::quiet_NaN(), 0},
                        {5999.0f, 359940},
                        {0.0f, 0},
                        {0.5f, 30}};
  for (const Case& C : Cases) {
    M.SetTimes(C.Minutes, C.Minutes);
    EXPECT_EQ(M.StarTime, C.Seconds) << C.Minutes;
    EXPECT_EQ(M.DeadlineTime, C.Seconds) << C.Minutes;
  }
}

TEST_F(MissionTest, TheDeadlinePassesStrictlyAfterItsTime) {
  M.DeadlineTime = 690;
  M.Time = 689.5f;
  Register.Deadline = true;
  M.Update(0.5f);
  EXPECT_EQ(M.Time, 690.0f);
  EXPECT_FALSE(M.DeadlinePassed);
  M.Update(0.01f);
  EXPECT_TRUE(M.DeadlinePassed);

  Register.Deadline = false;
  M.Update(1000.0f);
  EXPECT_FALSE(M.DeadlinePassed) << "the option is off";

  Register.Deadline = true;
  M.DeadlineTime = 0;
  M.Update(0.0f);
  EXPECT_FALSE(M.DeadlinePassed) << "no deadline";

  // The whole seconds are compared exactly, not as a rounded float.
  M.DeadlineTime = INT_MAX;
  M.Time = 2147483648.0f;
  M.Update(0.0f);
  EXPECT_TRUE(M.DeadlinePassed);
}

TEST_F(MissionTest, TheStarIsWonBeforeTheStarTime) {
  M.StarTime = 360;
  const std::pair<float, bool> Cases[] = {
      {0.0f, true}, {359.99f, true}, {360.0f, false}, {1.0e9f, false}};
  for (const auto& [Time, InStar] : Cases) {
    M.Time = Time;
    EXPECT_EQ(M.InStarTime(), InStar) << Time;
  }
  M.Time = 359.99f;
  EXPECT_EQ(M.ElapsedSeconds(), 359);
  M.StarTime = 0;
  M.Time = 0.0f;
  EXPECT_FALSE(M.InStarTime()) << "no star time";
}

TEST_F(MissionTest, DebugCommandsForceTheEnd) {
  struct Case {
    const char* Name;
    std::int32_t Code;
    std::int32_t StarTime, DeadlineTime;
    float Time;
    bool TrophyGoal;
    float TimeAfter;
    bool Won, Lost, TrophyReached;
  };
  const Case Cases[] = {
      {"2: after the star time", 2, 300, 0, 100.0f, true, 302.0f, true, false, false},
      {"2: clock already later", 2, 300, 0, 500.0f, true, 500.0f, true, false, false},
      {"2: no star time", 2, 0, 0, 100.0f, false, 100.0f, true, false, false},
      {"3: back into the star time", 3, 300, 0, 400.0f, true, 298.0f, true, false, false},
      {"3: already within it", 3, 300, 0, 100.0f, true, 100.0f, true, false, false},
      {"3: no star time still wins", 3, 0, 0, 100.0f, true, 100.0f, true, false, false},
      {"4: with the trophy", 4, 300, 0, 100.0f, true, 302.0f, true, false, true},
      {"4: no trophy goal", 4, 300, 0, 100.0f, false, 302.0f, true, false, false},
      {"5: past the deadline", 5, 0, 690, 100.0f, false, 692.0f, false, true, false},
      {"5: no deadline still loses", 5, 0, 0, 100.0f, false, 100.0f, false, true, false},
      {"2: huge star time", 2, INT_MAX, 0, 100.0f, false, 2147483648.0f, true, false, false},
      {"5: huge deadline", 5, 0, INT_MAX, 100.0f, false, 2147483648.0f, false, true, false},
      {"unknown code", 9, 300, 690, 100.0f, true, 100.0f, false, false, true},
  };
  for (const Case& C : Cases) {
    M.StarTime = C.StarTime;
    M.DeadlineTime = C.DeadlineTime;
    M.Time = C.Time;
    M.GoalsReached = false;
    M.DeadlinePassed = false;
    M.Goals[0] = C.TrophyGoal ? TGoal{gkWood, true, 1, 1} : TGoal{};
    M.DebugCommand(C.Code);
    EXPECT_EQ(M.Time, C.TimeAfter) << C.Name;
    EXPECT_EQ(M.GoalsReached, C.Won) << C.Name;
    EXPECT_EQ(M.DeadlinePassed, C.Lost) << C.Name;
    EXPECT_EQ(M.TrophyWon(), C.TrophyReached) << C.Name;
  }
  // Within the star time after code 3, after it after code 2.
  M.StarTime = 300;
  M.Time = 400.0f;
  M.DebugCommand(3);
  EXPECT_TRUE(M.InStarTime());
  M.DebugCommand(2);
  EXPECT_FALSE(M.InStarTime());
}

TEST_F(MissionTest, DebugCodeOneFillsTheStocks) {
  Stock(10, 20, 30, 4);
  M.FreeWorkers = 1;
  M.DebugCommand(1);
  EXPECT_EQ(M.Money, 5010);
  EXPECT_EQ(M.Wood, 520);
  EXPECT_EQ(M.Stone, 530);
  EXPECT_EQ(M.Workers, 9);
  EXPECT_EQ(M.FreeWorkers, 6);
  M.Money = INT_MAX - 1;
  M.DebugCommand(1);
  EXPECT_EQ(M.Money, INT_MAX);
}

// ---- Values a loaded record may hold ----

// A saved record keeps a pane's bonus, happiness and need points and the town's counters as they
// were written; a damaged file may hold any 32-bit value there. Sums are held at the limits.
TEST_F(MissionTest, ExtremeRecordValuesSaturateInsteadOfOverflowing) {
  struct Case {
    const char* Name;
    std::function<void()> Prepare;  // on a grass map, before one update of half a second
    std::function<std::int32_t()> Read;
    std::int32_t Expected;
  };
  const auto Earned = [this] { return static_cast<std::int32_t>(M.IncomeAccumulator); };
  const Case Cases[] = {
      {"the largest bonus and happiness earn the largest income",
       [this] {
         TPane& House = Place(0, 0, pkHouse5);
         House.IncomeBonus = INT_MAX;
         House.Happiness = INT_MAX;  // as loaded: the income is earned before it is recomputed
       },
       Earned, static_cast<std::int32_t>(static_cast<float>(INT_MAX) / 10.0f)},
      {"the most negative bonus earns nothing",
       [this] { Place(0, 0, pkHouse5).IncomeBonus = INT_MIN; }, Earned, 0},
      {"religion points",
       [this] { Place(0, 0, pkService1).Religion = Place(0, 1, pkService5).Religion = INT_MAX; },
       [this] { return M.Religion; }, INT_MAX},
      {"culture points",
       [this] { Place(0, 0, pkService4).Culture = Place(0, 1, pkService8).Culture = INT_MIN; },
       [this] { return M.Culture; }, INT_MIN},
      {"happiness of panes that are not houses",
       [this] { Place(0, 0, pkFort).Happiness = Place(4, 4, pkLake).Happiness = INT_MAX; },
       [this] { return M.Happiness; }, INT_MAX},
      {"workers back from a finished job",
       [this] {
         TPane& Plot = Place(2, 2, pkBuildingPlot);
         Stock(0, 40, 10, 8);
         Plot.StartAction(1);
         Plot.WorkDone = Plot.WorkNeeded;
         M.FreeWorkers = INT_MAX;
       },
       [this] { return M.FreeWorkers; }, INT_MAX},
      {"an upgrade on the largest bonus",
       [this] {
         TPane& House = Place(2, 2, pkHouse1);
         House.IncomeBonus = INT_MAX - 5;
         House.ApplyUpgrade(1);
       },
       [this] { return M.GetPane(2, 2)->IncomeBonus; }, INT_MAX},
      {"a wood order on the most orders",
       [this] {
         M.Money = 500;
         M.WoodOrders = INT_MAX;
         M.OrderWood();
       },
       [this] { return M.WoodOrders; }, INT_MAX},
      {"a stone order on the most orders",
       [this] {
         M.Money = 500;
         M.StoneOrders = INT_MAX;
         M.OrderStone();
       },
       [this] { return M.StoneOrders; }, INT_MAX},
      {"a trainee on the most trainees",
       [this] {
         M.Money = 1500;
         M.Trainees = INT_MAX;
         M.TrainWorker();
       },
       [this] { return M.Trainees; }, INT_MAX},
  };
  for (const Case& C : Cases) {
    for (std::int32_t R = 0; R < 5; ++R)
      for (std::int32_t Col = 0; Col < 5; ++Col)
        Place(R, Col, pkGrass);
    Stock(0, 0, 0, 0);
    M.WoodOrders = M.StoneOrders = M.Trainees = -1;
    M.IncomeTimer = 0.0f;
    M.IncomeAccumulator = 0.0f;
    M.NeedsOn = true;
    M.HappinessOn = true;
    C.Prepare();
    M.Update(0.5f);
    EXPECT_EQ(C.Read(), C.Expected) << C.Name;
  }
}

// ---- The update allocates nothing ----

TEST_F(MissionTest, UpdateAllocatesNothingOnABusyMission) {
  Rich();
  M.DamageOn = M.HappinessOn = M.ResidentsOn = M.NeedsOn = true;
  Register.Deadline = true;
  M.DeadlineTime = 3600;
  const std::uint8_t Kinds[] = {pkBuildingPlot, pkHouse1,   pkForest1,   pkStones,  pkDebris1,
                                pkHouse3,       pkService1, pkHouseOld1, pkService5};
  const int Slots[] = {1, 14, 2, 2, 2, 1, 2, 14, 2};
  for (std::int32_t I = 0; I < 25; ++I) {
    const std::size_t K = static_cast<std::size_t>(I) % std::size(Kinds);
    TPane& P = Place(I / 5, I % 5, Kinds[K]);
    P.DamageDelay = static_cast<float>(I);
    if (I % 4 != 3) P.StartAction(Slots[K]);
  }
  M.WoodOrders = M.StoneOrders = M.Trainees = 3;
  M.AddGoal(true, gkHousesUpg1, 2);
  M.AddGoal(true, gkResidents, 500);
  M.AddGoal(true, gkBuildings, 10);
  M.Update(0.0f);

  const std::size_t Before = AllocationCount();
  for (int I = 0; I < 400; ++I)
    M.Update(0.05f);
  const std::size_t After = AllocationCount();
  EXPECT_EQ(After - Before, 0u);

  int Finished = 0;
  for (const auto& P : M.Panes)
    Finished += P->Action == akNone ? 1 : 0;
  EXPECT_GT(Finished, 10) << "jobs finished inside the counted updates";
}

}  // namespace

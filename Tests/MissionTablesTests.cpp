// MissionTablesTests.cpp -- the constant rule tables, the scenario table and
// TMission::Setup: invariants that catch transcription faults, and values re-read from the rules
// and written out here independently of the tables' own notation.
#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "EngineLanguages.h"
#include "EngineUtils.h"
#include "VexaMission.h"
#include "VexaMissionScenarios.h"
#include "VexaPlayers.h"

namespace {

constexpr std::uint32_t Bit(int N) {
  return std::uint32_t{1} << N;
}

// Bits From..To of a 32-bit set.
constexpr std::uint32_t Bits(int From, int To) {
  std::uint32_t Set = 0;
  for (int N = From; N <= To; ++N)
    Set |= Bit(N);
  return Set;
}

bool IsKindChanging(std::uint8_t Effect) {
  return Effect == aeConstruct || Effect == aeClear || Effect == aeDemolish;
}

// ---- Table invariants --------------------------------------------------------------------------

TEST(MissionTables, EveryRecordIsAtItsOwnIndex) {
  for (int K = 0; K < PaneKindCount; ++K)
    EXPECT_EQ(PaneInfo[K].Kind, K);
  for (int A = 0; A < ActionKindCount; ++A)
    EXPECT_EQ(ActionInfo[A].Kind, A);
  for (int L = 0; L < LicenseCount; ++L)
    EXPECT_EQ(LicenseInfo[L].Id, L);
  for (int U = 0; U <= UpgradeCount; ++U)
    EXPECT_EQ(UpgradeInfo[U].Id, U);
  for (int G = 0; G < GoalKindCount; ++G)
    EXPECT_EQ(GoalInfo[G].Id, G);
}

TEST(MissionTables, EverySlotActionExists) {
  for (const TPaneInfo& P : PaneInfo) {
    bool HasActions = false;
    for (int S = 0; S < SlotCount; ++S) {
      EXPECT_LT(P.Slots[S], ActionKindCount) << "kind " << int(P.Kind) << " slot " << S;
      if (P.Slots[S] != akNone) HasActions = true;
    }
    // Slot 0 of every kind that has actions is AssignWorker; it is nowhere else.
    if (HasActions) {
      EXPECT_EQ(P.Slots[0], akAssignWorker) << "kind " << int(P.Kind);
    }
    for (int S = 1; S < SlotCount; ++S)
      EXPECT_NE(P.Slots[S], akAssignWorker);
  }
}

TEST(MissionTables, KindChangingActionsLeadToValidKinds) {
  for (const TActionInfo& A : ActionInfo) {
    if (IsKindChanging(A.Effect)) {
      EXPECT_GE(A.NewKind, pkBuildingPlot) << "action " << int(A.Kind);
      EXPECT_LT(A.NewKind, PaneKindCount) << "action " << int(A.Kind);
    } else {
      EXPECT_EQ(A.NewKind, pkNone) << "action " << int(A.Kind);
    }
    if (A.Effect == aeUpgrade) {
      EXPECT_GE(A.Upgrade, 1) << "action " << int(A.Kind);
      EXPECT_LE(A.Upgrade, UpgradeCount) << "action " << int(A.Kind);
      EXPECT_TRUE(A.ConsumeSlot) << "action " << int(A.Kind);
    } else {
      EXPECT_EQ(A.Upgrade, 0) << "action " << int(A.Kind);
      EXPECT_FALSE(A.ConsumeSlot) << "action " << int(A.Kind);
    }
    EXPECT_LT(A.License, LicenseCount) << "action " << int(A.Kind);
    EXPECT_LE(A.Effect, aeClear) << "action " << int(A.Kind);
  }
}

TEST(MissionTables, ConstantColumnsHoldTheirOneValue) {
  for (const TPaneInfo& P : PaneInfo) {
    EXPECT_EQ(P.WorkSound, 0) << "kind " << int(P.Kind);
    EXPECT_EQ(P.BaseHappiness, 0) << "kind " << int(P.Kind);
    ASSERT_NE(P.Texture, nullptr);
  }
  for (const TActionInfo& A : ActionInfo) {
    EXPECT_EQ(A.Color, 0xFFFFFFu) << "action " << int(A.Kind);
    EXPECT_EQ(A.ReplaceSlot, 0) << "action " << int(A.Kind);
    ASSERT_NE(A.WorkEffect, nullptr);
    ASSERT_NE(A.FinishSound, nullptr);
    ASSERT_NE(A.FinishEffect, nullptr);
  }
  for (const TLicenseInfo& L : LicenseInfo) {
    EXPECT_EQ(L.Unused1, 0);
    EXPECT_EQ(L.Unused2, 0);
  }
}

TEST(MissionTables, EachUpgradeIsGivenByExactlyOneAction) {
  std::array<int, UpgradeCount + 1> Givers{};
  for (const TActionInfo& A : ActionInfo)
    if (A.Effect == aeUpgrade) ++Givers[A.Upgrade];
  EXPECT_EQ(Givers[0], 0);
  for (int U = 1; U <= UpgradeCount; ++U)
    EXPECT_EQ(Givers[U], 1) << "upgrade " << U;
}

TEST(MissionTables, LicencesUnlockTheActionsThatNameThem) {
  // The "unlocks" column of the licence table, re-read: licence -> actions that name it.
  const std::vector<std::vector<int>> Unlocks = {
      {},                       // 0: not checked here
      {akConstructHouse1 + 1},  // House2
      {akConstructHouse1 + 2},  // House3
      {akConstructHouse1 + 3},  // House4
      {akConstructHouse1 + 4},  // House5
      {akConstructService1},
      {akConstructService1 + 1},  // Service1, 2
      {akConstructService1 + 2},
      {akConstructService1 + 3},  // Service3, 4
      {akConstructService1 + 4},
      {akConstructService1 + 5},  // Service5, 6
      {akConstructService1 + 6},
      {akConstructService1 + 7},                     // Service7, 8
      {akUpgradeHouse1 + 1, akUpgradeService1 + 4},  // Extra1
      {akUpgradeHouse1 + 2, akUpgradeService1 + 5},  // Extra2
      {akUpgradeHouse1 + 3, akUpgradeService1 + 6},  // Extra3
      {akUpgradeHouse1 + 4, akUpgradeService1 + 7},  // Extra4
      {},                                            // Spec1: a rule, no action
      {},                                            // Spec2: a rule, no action
  };
  for (int L = 1; L < LicenseCount; ++L) {
    std::vector<int> Actual;
    for (const TActionInfo& A : ActionInfo)
      if (A.License == L) Actual.push_back(A.Kind);
    EXPECT_EQ(Actual, Unlocks[L]) << "licence " << L;
  }
}

TEST(MissionTables, ServicesAndTheirNeeds) {
  for (int K = 0; K < PaneKindCount; ++K) {
    const bool IsService = K >= pkService1 && K <= pkService1 + 7;
    EXPECT_EQ(PaneInfo[K].Service, IsService ? K - pkService1 + 1 : 0) << "kind " << K;
    const int Needs =
        PaneInfo[K].Religion + PaneInfo[K].Commerce + PaneInfo[K].Healthcare + PaneInfo[K].Culture;
    EXPECT_EQ(Needs, IsService ? (K < pkService5 ? 2 : 3) : 0) << "kind " << K;
    // Only houses take appeal.
    EXPECT_EQ(PaneInfo[K].TakesAppeal, K >= pkHouse1 && K <= pkHouseOld2) << "kind " << K;
  }
}

TEST(MissionTables, GoalKindsMeasureKindsInsideTheTable) {
  for (const TGoalInfo& G : GoalInfo) {
    EXPECT_LE(G.Minimum, G.Maximum) << "goal " << int(G.Id);
    EXPECT_EQ(G.Kinds >> PaneKindCount, 0u) << "goal " << int(G.Id);
    if (G.Measure == gmPanes || G.Measure == gmUpgradedPanes) {
      EXPECT_NE(G.Kinds, 0u) << "goal " << int(G.Id);
    } else {
      EXPECT_EQ(G.Kinds, 0u) << "goal " << int(G.Id);
    }
    EXPECT_EQ(G.UpgradeMask != 0, G.Measure == gmUpgradedPanes) << "goal " << int(G.Id);
  }
}

// ---- Worked examples and spot checks of the tables
// -----------------------------------------------

struct TCost {
  std::int32_t Workers, MaxWorkers, Work, Wood, Stone, Money;
  bool operator==(const TCost&) const = default;
};

// The action cost formula over the two tables.
TCost CostOf(int Kind, int Action) {
  const TPaneInfo& P = PaneInfo[Kind];
  const TActionInfo& A = ActionInfo[Action];
  const std::int32_t Workers = P.BaseWorkers * A.WorkersFactor;
  return {Workers,
          Workers * 3 / 2,
          P.BaseWork * A.WorkFactor,
          P.BaseWood * A.WoodFactor,
          P.BaseStone * A.StoneFactor,
          A.Price};
}

TEST(MissionTables, WorkedCostExamples) {
  EXPECT_EQ(CostOf(pkBuildingPlot, akConstructHouse1), (TCost{8, 12, 160, 40, 10, 0}));
  EXPECT_EQ(CostOf(pkHouse1, akUpgradeHouse1), (TCost{4, 6, 64, 12, 3, 0}));
  for (int K = pkForest1; K < pkForest1 + 12; ++K) {
    EXPECT_EQ(CostOf(K, akClearForest), (TCost{10, 15, 170, 0, 0, 1500})) << "kind " << K;
    EXPECT_EQ(PaneInfo[K].Slots[2], akClearForest);
  }
  EXPECT_EQ(ActionInfo[akClearForest].RecoveredWood, 200);
  EXPECT_EQ(ActionInfo[akClearForest].RecoveredStone, 0);
  EXPECT_EQ(ActionInfo[akClearForest].NewKind, pkBuildingPlot);
  // More products re-read from the rule tables.
  EXPECT_EQ(CostOf(pkStones, akClearStones), (TCost{14, 21, 322, 0, 0, 1500}));
  EXPECT_EQ(CostOf(pkHouse5, akUpgradeHouse1 + 4), (TCost{12, 18, 250, 18, 34, 0}));
  EXPECT_EQ(CostOf(pkService8, akUpgradeService1 + 7), (TCost{13, 19, 453, 96, 160, 0}));
  EXPECT_EQ(CostOf(pkHouseOld2, akRepair), (TCost{8, 12, 116, 12, 12, 0}));
  EXPECT_EQ(CostOf(pkDebris2, akClearDebris2), (TCost{8, 12, 80, 0, 0, 1000}));
  EXPECT_EQ(CostOf(pkAppeal1, akDemolishToDebris1), (TCost{5, 7, 72, 0, 0, 0}));
}

TEST(MissionTables, LicencePrices) {
  const std::int32_t Prices[LicenseCount] = {0,    3000, 5000, 7000, 9000, 2000, 3000,
                                             4000, 5000, 6000, 7000, 8000, 9000, 3000,
                                             3500, 4000, 4500, 5000, 5500};
  for (int L = 0; L < LicenseCount; ++L)
    EXPECT_EQ(LicenseInfo[L].Price, Prices[L]) << L;
  EXPECT_EQ(LicenseInfo[lcNone].NameText, 0);
  EXPECT_EQ(LicenseInfo[lcHouse2].NameText, sidLicenseNameHouse2);
  EXPECT_EQ(LicenseInfo[lcService1 + 7].NameText, sidLicenseNameService8);
  EXPECT_EQ(LicenseInfo[lcSpec2].NameText, sidLicenseNameSpec2);
}

TEST(MissionTables, GoalRanges) {
  struct TRange {
    int Goal, Minimum, Maximum;
    bool ShowValue;
  };
  const TRange Ranges[] = {
      {gkNone, 0, 0, false},        {gkBalance, 5000, 5000000, true},
      {gkWood, 100, 10000, true},   {gkStone, 100, 10000, true},
      {gkWorkers, 10, 100, true},   {gkIncome, 50, 5000, true},
      {gkHappiness, 5, 50, true},   {gkResidents, 30, 3000, true},
      {gkReligion, 5, 50, true},    {gkCommerce, 5, 50, true},
      {gkHealthcare, 5, 50, true},  {gkCulture, 5, 50, true},
      {gkBuildings, 2, 25, true},   {gkHouses1, 2, 25, true},
      {gkHouses1 + 4, 2, 25, true}, {gkHouses, 2, 25, true},
      {gkHousesUpg1, 2, 25, true},  {gkHousesUpg1 + 4, 2, 25, true},
      {gkHasService1, 1, 1, false}, {gkHasService1 + 7, 1, 1, false},
      {gkHasAppeal1, 1, 1, false},
  };
  for (const TRange& R : Ranges) {
    EXPECT_EQ(GoalInfo[R.Goal].Minimum, R.Minimum) << "goal " << R.Goal;
    EXPECT_EQ(GoalInfo[R.Goal].Maximum, R.Maximum) << "goal " << R.Goal;
    EXPECT_EQ(GoalInfo[R.Goal].ShowValue, R.ShowValue) << "goal " << R.Goal;
  }
}

TEST(MissionTables, PaneSpotChecks) {
  const TPaneInfo& Plot = PaneInfo[pkBuildingPlot];
  EXPECT_EQ(Plot.NameText, sidPaneNameBuildingPlot);
  EXPECT_EQ(Plot.HintText, sidPaneHintBuildingPlot);
  EXPECT_EQ(std::string_view(Plot.Texture), "Pane1BuildingPlot");
  EXPECT_EQ(Plot.Slots, (std::array<std::uint8_t, SlotCount>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12,
                                                             13, 14, 15}));

  const TPaneInfo& House4 = PaneInfo[pkHouse4];
  EXPECT_EQ(House4.NameText, sidPaneNameHouse4);
  EXPECT_EQ(House4.HintText, sidPaneHintHouse);
  EXPECT_EQ(std::string_view(House4.Texture), "Pane2House4");
  EXPECT_EQ(House4.Looks, 2);
  EXPECT_EQ(House4.Slots, (std::array<std::uint8_t, SlotCount>{1, 23, 24, 25, 26, 27, 0, 0, 22, 0,
                                                               0, 0, 0, 0, 17}));
  EXPECT_TRUE(House4.Damageable);
  EXPECT_EQ(House4.Residents, 85);
  EXPECT_EQ(House4.Needs, 6);
  EXPECT_EQ(House4.Income, 100);
  EXPECT_EQ(PaneInfo[pkHouse3].Slots[14], akDemolishToDebris1);
  EXPECT_EQ(PaneInfo[pkHouse5].Income, 175);
  EXPECT_EQ(PaneInfo[pkHouse1].Residents, 27);

  const TPaneInfo& Old1 = PaneInfo[pkHouseOld1];
  EXPECT_EQ(Old1.Slots,
            (std::array<std::uint8_t, SlotCount>{1, 0, 0, 0, 0, 0, 0, 0, 22, 0, 0, 0, 0, 0, 16}));
  EXPECT_EQ(Old1.Income, 5);
  EXPECT_EQ(PaneInfo[pkHouseOld2].Residents, 37);

  // Service7 demolishes to Debris1, Service6 and Service8 to Debris2.
  EXPECT_EQ(PaneInfo[pkService1 + 6].Slots[14], akDemolishToDebris1);
  EXPECT_EQ(PaneInfo[pkService1 + 5].Slots[14], akDemolishToDebris2);
  EXPECT_EQ(PaneInfo[pkService1 + 7].Slots[14], akDemolishToDebris2);
  EXPECT_EQ(PaneInfo[pkService1 + 2].Slots[2], akUpgradeService1 + 2);
  EXPECT_EQ(PaneInfo[pkService1 + 2].HintText, sidPaneHintHealthcare);
  EXPECT_EQ(PaneInfo[pkService1 + 4].Religion, 3);
  EXPECT_EQ(PaneInfo[pkService1 + 3].Culture, 2);
  EXPECT_EQ(PaneInfo[pkService1 + 6].BaseWork, 127);

  EXPECT_EQ(PaneInfo[pkAppeal1].Appeal, 1);
  EXPECT_EQ(PaneInfo[pkDebris1].Appeal, -1);
  EXPECT_EQ(PaneInfo[pkFort].Appeal, -1);
  EXPECT_EQ(PaneInfo[pkWorkshop].Appeal, -1);
  EXPECT_EQ(PaneInfo[pkGranary].HintText, sidPaneHintIndustry);
  EXPECT_EQ(PaneInfo[pkFort].HintText, sidPaneHintMilitary);
  EXPECT_EQ(PaneInfo[pkDebris2].NameText, sidPaneNameDebris);
  EXPECT_EQ(std::string_view(PaneInfo[pkDebris2].Texture), "Pane1Debris2");

  EXPECT_EQ(std::string_view(PaneInfo[pkForest1 + 9].Texture), "Pane1Forest10");
  EXPECT_EQ(std::string_view(PaneInfo[pkFixedForest1 + 11].Texture), "Pane1Forest12");
  EXPECT_EQ(PaneInfo[pkFixedForest1].HintText, 0);
  EXPECT_EQ(PaneInfo[pkFixedForest1].Slots, (std::array<std::uint8_t, SlotCount>{}));
  EXPECT_EQ(std::string_view(PaneInfo[pkFixedStones].Texture), "Pane1Stones");
  EXPECT_EQ(std::string_view(PaneInfo[pkAqueduct].Texture), "Pane4Aqueduct");
  EXPECT_EQ(PaneInfo[pkAqueduct].Looks, 4);
  for (int K : {pkGrass, pkLake, pkRiver}) {
    EXPECT_EQ(PaneInfo[K].Looks, 0);
    EXPECT_EQ(std::string_view(PaneInfo[K].Texture), "");
  }
  EXPECT_EQ(PaneInfo[pkNone].Looks, 1);
  EXPECT_EQ(PaneInfo[pkNone].NameText, 0);
  EXPECT_EQ(PaneInfo[pkRiver].NameText, sidPaneNameRiver);
}

TEST(MissionTables, ActionSpotChecks) {
  const TActionInfo& Assign = ActionInfo[akAssignWorker];
  EXPECT_EQ(Assign.Icon, 26);
  EXPECT_EQ(Assign.Effect, aeAddWorker);
  EXPECT_EQ(Assign.ProgressText, 0);
  EXPECT_EQ(std::string_view(Assign.FinishSound), "");

  const TActionInfo& House3 = ActionInfo[akConstructHouse1 + 2];
  EXPECT_EQ(House3.NameText, sidActionNameConstructHouse3);
  EXPECT_EQ(House3.HintText, sidPaneHintHouse);
  EXPECT_EQ(House3.ProgressText, sidActionProgressNameConstruct);
  EXPECT_EQ(House3.Icon, 14);
  EXPECT_EQ(std::string_view(House3.WorkEffect), "DustyJob");
  EXPECT_EQ(House3.WorkSound, 1);
  EXPECT_EQ(std::string_view(House3.FinishSound), "Finish3");
  EXPECT_EQ(std::string_view(House3.FinishEffect), "Upgrade");
  EXPECT_EQ(House3.License, lcHouse3);
  EXPECT_EQ(House3.WorkFactor, 576);
  EXPECT_EQ(House3.NewKind, pkHouse3);

  const TActionInfo& Service6 = ActionInfo[akConstructService1 + 5];
  EXPECT_EQ(Service6.Icon, 22);
  EXPECT_EQ(Service6.License, lcService1 + 5);
  EXPECT_EQ(Service6.StoneFactor, 250);
  EXPECT_EQ(Service6.NewKind, pkService1 + 5);

  const TActionInfo& Demolish2 = ActionInfo[akDemolishToDebris2];
  EXPECT_EQ(Demolish2.NameText, sidActionNameDemolish);
  EXPECT_EQ(Demolish2.Icon, 27);
  EXPECT_EQ(Demolish2.WorkSound, 2);
  EXPECT_EQ(std::string_view(Demolish2.FinishSound), "Demolish");
  EXPECT_EQ(std::string_view(Demolish2.FinishEffect), "Demolish");
  EXPECT_EQ(Demolish2.WorkFactor, 4);
  EXPECT_EQ(Demolish2.NewKind, pkDebris2);

  const TActionInfo& Clear1 = ActionInfo[akClearDebris1];
  EXPECT_EQ(Clear1.WorkSound, 3);
  EXPECT_EQ(std::string_view(Clear1.FinishSound), "Finish2");
  EXPECT_EQ(std::string_view(Clear1.FinishEffect), "");
  EXPECT_EQ(Clear1.RecoveredWood, 20);
  EXPECT_EQ(Clear1.RecoveredStone, 10);
  EXPECT_EQ(Clear1.Price, 1000);
  EXPECT_EQ(ActionInfo[akClearDebris2].RecoveredWood, 10);
  EXPECT_EQ(ActionInfo[akClearDebris2].RecoveredStone, 20);

  const TActionInfo& Stones = ActionInfo[akClearStones];
  EXPECT_EQ(Stones.Icon, 64);
  EXPECT_EQ(Stones.WorkSound, 5);
  EXPECT_EQ(std::string_view(Stones.WorkEffect), "");
  EXPECT_EQ(Stones.RecoveredStone, 200);
  EXPECT_EQ(ActionInfo[akClearForest].Icon, 63);
  EXPECT_EQ(ActionInfo[akClearForest].WorkSound, 4);

  const TActionInfo& Repair = ActionInfo[akRepair];
  EXPECT_EQ(Repair.Icon, 42);
  EXPECT_EQ(std::string_view(Repair.FinishSound), "Finish1");
  EXPECT_EQ(Repair.Effect, aeRepair);
  EXPECT_EQ(Repair.WoodFactor, 2);

  const TActionInfo& Upg4 = ActionInfo[akUpgradeHouse1 + 3];
  EXPECT_EQ(Upg4.HintText, sidActionHintUpgradeIncome);
  EXPECT_EQ(Upg4.Icon, 32);
  EXPECT_EQ(Upg4.License, lcExtra3);
  EXPECT_EQ(Upg4.StoneFactor, 2);
  EXPECT_EQ(Upg4.Upgrade, 4);

  const TActionInfo& UpgS5 = ActionInfo[akUpgradeService1 + 4];
  EXPECT_EQ(UpgS5.HintText, 0);
  EXPECT_EQ(UpgS5.ProgressText, sidActionProgressNameUpgrade);
  EXPECT_EQ(UpgS5.Icon, 38);
  EXPECT_EQ(UpgS5.License, lcExtra1);
  EXPECT_EQ(UpgS5.Upgrade, 10);
  EXPECT_EQ(ActionInfo[akUpgradeService1].License, lcNone);
}

TEST(MissionTables, UpgradeAmounts) {
  for (int U = 1; U <= 5; ++U)
    EXPECT_EQ(UpgradeInfo[U].IncomeBonus, 20) << U;
  EXPECT_EQ(UpgradeInfo[6].Religion, 1);
  EXPECT_EQ(UpgradeInfo[7].Commerce, 1);
  EXPECT_EQ(UpgradeInfo[8].Healthcare, 1);
  EXPECT_EQ(UpgradeInfo[9].Culture, 1);
  EXPECT_EQ(UpgradeInfo[10].Religion, 2);
  EXPECT_EQ(UpgradeInfo[11].Commerce, 2);
  EXPECT_EQ(UpgradeInfo[12].Healthcare, 2);
  EXPECT_EQ(UpgradeInfo[13].Culture, 2);
  EXPECT_EQ(UpgradeInfo[13].IncomeBonus, 0);
  EXPECT_EQ(UpgradeInfo[3].Religion, 0);
}

TEST(MissionTables, GoalSpotChecks) {
  EXPECT_EQ(GoalInfo[gkBalance].NameText, sidGoalNameBalance);
  EXPECT_EQ(GoalInfo[gkIncome].Icon, 1);
  EXPECT_EQ(GoalInfo[gkHappiness].Icon, 9);
  EXPECT_EQ(GoalInfo[gkResidents].Icon, 26);
  EXPECT_EQ(GoalInfo[gkCulture].Icon, 30);
  EXPECT_EQ(GoalInfo[gkCulture].Measure, gmCulture);
  // Buildings: kinds 2..17.
  EXPECT_EQ(GoalInfo[gkBuildings].Kinds, 0x3FFFCull);
  // Houses: 2..8.
  EXPECT_EQ(GoalInfo[gkHouses].Kinds, 0x1FCull);
  EXPECT_EQ(GoalInfo[gkHouses1 + 2].Kinds, std::uint64_t{1} << pkHouse3);
  EXPECT_EQ(GoalInfo[gkHouses1 + 2].NameText, sidGoalNameHouses3);
  EXPECT_EQ(GoalInfo[gkHousesUpg1 + 1].Measure, gmUpgradedPanes);
  EXPECT_EQ(GoalInfo[gkHousesUpg1 + 1].Kinds, 0x7Cull);
  EXPECT_EQ(GoalInfo[gkHousesUpg1 + 1].UpgradeMask, 1u << 2);
  EXPECT_EQ(GoalInfo[gkHousesUpg1 + 1].NameText, sidGoalNameHousesUpg2);
  EXPECT_EQ(GoalInfo[gkHasService1 + 3].NameText, sidPaneNameService4);
  EXPECT_EQ(GoalInfo[gkHasService1 + 3].Icon, 17);
  EXPECT_EQ(GoalInfo[gkHasService1 + 3].Kinds, std::uint64_t{1} << pkService4);
  EXPECT_EQ(GoalInfo[gkHasAppeal1].NameText, sidPaneNameAppeal1);
  EXPECT_EQ(GoalInfo[gkHasAppeal1].Icon, 9);
  EXPECT_EQ(GoalInfo[gkHasAppeal1].Kinds, std::uint64_t{1} << pkAppeal1);
}

// ---- The campaign entries ----------------------------------------------------------------------

struct TEntryCase {
  int Scenario;
  std::array<TScenarioGoal, 3> Goals;
  TScenarioGoal Trophy;
  std::int32_t Money, Wood, Stone, Workers;
  std::uint32_t Owned, OnSale;
  std::int32_t StarSeconds, DeadlineSeconds;
};

// Re-read from the scenario rules, with the licence sets as plain bit numbers
// (House2..5 = 1..4, Service1..8 = 5..12, Extra1..4 = 13..16, Spec1..2 = 17..18).
const TEntryCase EntryCases[] = {
    {1,
     {{{gkHouses1, 3}, {0, 0}, {0, 0}}},
     {gkHasAppeal1, 1},
     1200,
     100,
     25,
     10,
     Bit(0),
     Bit(0),
     210,
     0},
    {2,
     {{{gkHouses1 + 1, 3}, {gkHousesUpg1, 2}, {0, 0}}},
     {gkHouses, 5},
     5500,
     90,
     30,
     11,
     Bit(0),
     Bit(0) | Bit(1),
     240,
     0},
    {3,
     {{{gkHasService1, 1}, {gkHasService1 + 1, 1}, {gkHappiness, 5}}},
     {gkWood, 120},
     9200,
     100,
     50,
     12,
     Bit(0) | Bit(1),
     Bit(0) | Bit(1) | Bit(5) | Bit(6),
     270,
     0},
    {6,
     {{{gkHouses1 + 1, 8}, {gkCommerce, 5}, {gkHasService1 + 2, 1}}},
     {gkStone, 300},
     7000,
     140,
     100,
     14,
     Bits(0, 1) | Bits(5, 6),
     Bits(0, 1) | Bits(5, 7) | Bits(13, 14),
     360,
     690},
    {7,
     {{{gkHousesUpg1 + 2, 8}, {gkBalance, 5000}, {gkHasService1 + 3, 1}}},
     {gkHealthcare, 5},
     9000,
     160,
     120,
     15,
     Bits(0, 1) | Bits(5, 7),
     Bits(0, 1) | Bits(5, 8) | Bits(13, 14),
     390,
     705},
    {13,
     {{{gkHappiness, 20}, {gkResidents, 600}, {gkWorkers, 30}}},
     {gkHealthcare, 6},
     6000,
     100,
     150,
     16,
     Bits(0, 2) | Bits(5, 9),
     Bits(0, 2) | Bits(5, 9) | Bits(13, 17),
     570,
     795},
    {17,
     {{{gkHouses1 + 2, 4}, {gkHouses1 + 3, 6}, {gkHappiness, 18}}},
     {gkCulture, 6},
     6000,
     160,
     180,
     18,
     Bits(0, 3) | Bits(5, 10),
     Bits(0, 3) | Bits(5, 10) | Bits(13, 18),
     690,
     855},
    {19,
     {{{gkHouses1 + 3, 10}, {gkHappiness, 20}, {gkHealthcare, 12}}},
     {gkBalance, 50000},
     2000,
     200,
     100,
     20,
     Bits(0, 3) | Bits(5, 11),
     Bits(0, 3) | Bits(5, 11) | Bits(13, 18),
     750,
     885},
    {24,
     {{{gkIncome, 4500}, {gkHappiness, 15}, {gkResidents, 1600}}},
     {gkHouses1 + 4, 15},
     2500,
     180,
     200,
     24,
     Bits(0, 12),
     Bits(0, 18),
     900,
     960},
};

TEST(ScenarioTable, CampaignEntriesMatchTheTable) {
  for (const TEntryCase& C : EntryCases) {
    SCOPED_TRACE("scenario " + std::to_string(C.Scenario));
    const TCampaignEntry& E = CampaignEntries[C.Scenario - 1];
    for (int I = 0; I < 3; ++I) {
      EXPECT_EQ(E.Goals[I].Kind, C.Goals[I].Kind) << "goal " << I + 1;
      EXPECT_EQ(E.Goals[I].Target, C.Goals[I].Target) << "goal " << I + 1;
    }
    EXPECT_EQ(E.Trophy.Kind, C.Trophy.Kind);
    EXPECT_EQ(E.Trophy.Target, C.Trophy.Target);
    EXPECT_EQ(E.Money, C.Money);
    EXPECT_EQ(E.Wood, C.Wood);
    EXPECT_EQ(E.Stone, C.Stone);
    EXPECT_EQ(E.Workers, C.Workers);
    EXPECT_EQ(E.OwnedLicenses, C.Owned);
    EXPECT_EQ(E.LicensesOnSale, C.OnSale);
    // Minutes x 60 in 32-bit float, rounded down, as SetTimes does.
    EXPECT_EQ(FloorToInt(E.StarMinutes * 60.0f), C.StarSeconds);
    EXPECT_EQ(FloorToInt(E.DeadlineMinutes * 60.0f), C.DeadlineSeconds);
  }
}

TEST(ScenarioTable, TimesAndLicenceSetsFollowTheCampaignPattern) {
  for (int S = 1; S <= CampaignScenarioCount; ++S) {
    const TCampaignEntry& E = CampaignEntries[S - 1];
    // Star times grow by 30 seconds from 210; deadlines by 15 from 690 (scenario 6) on.
    EXPECT_EQ(FloorToInt(E.StarMinutes * 60.0f), 180 + 30 * S) << S;
    EXPECT_EQ(FloorToInt(E.DeadlineMinutes * 60.0f), S < 6 ? 0 : 600 + 15 * S) << S;
    EXPECT_TRUE(E.OwnedLicenses & Bit(0)) << S;
    EXPECT_TRUE(E.LicensesOnSale & Bit(0)) << S;
    // What is owned is also on sale (except in scenario... none: every owned set is a subset).
    EXPECT_EQ(E.OwnedLicenses & ~E.LicensesOnSale, 0u) << S;
    EXPECT_EQ(E.LicensesOnSale >> LicenseCount, 0u) << S;
    EXPECT_NE(E.Goals[0].Kind, gkNone) << S;
    EXPECT_NE(E.Trophy.Kind, gkNone) << S;
    // Switches only for 1..4.
    EXPECT_EQ(E.Switches.Tutorial, S <= 4) << S;
    if (S > 4) {
      EXPECT_TRUE(E.Switches.DamageOn && E.Switches.HappinessOn && E.Switches.ResidentsOn &&
                  E.Switches.NeedsOn)
          << S;
    }
  }
  // An 11.76-minute time rounds down to 705 seconds like scenario 7's deadline.
  EXPECT_EQ(FloorToInt(11.76f * 60.0f), 705);
}

TEST(ScenarioTable, TutorialSwitches) {
  struct TCase {
    int Scenario;
    bool Damage, Happiness, Residents, Needs;
  };
  const TCase Cases[] = {{1, false, false, false, false},
                         {2, false, false, false, false},
                         {3, false, true, false, false},
                         {4, false, true, true, false}};
  for (const TCase& C : Cases) {
    const TScenarioSwitches& S = CampaignEntries[C.Scenario - 1].Switches;
    EXPECT_TRUE(S.Tutorial) << C.Scenario;
    EXPECT_EQ(S.DamageOn, C.Damage) << C.Scenario;
    EXPECT_EQ(S.HappinessOn, C.Happiness) << C.Scenario;
    EXPECT_EQ(S.ResidentsOn, C.Residents) << C.Scenario;
    EXPECT_EQ(S.NeedsOn, C.Needs) << C.Scenario;
  }
}

// ---- The maps ----------------------------------------------------------------------------------

// A row of five panes, written out as (Look, Kind, Variant).
using TRow = std::array<TScenarioPane, 5>;

void ExpectRow(int Scenario, int Row, const TRow& Expected) {
  const TScenarioMap& Map = ScenarioMaps[Scenario - 1];
  for (int C = 0; C < 5; ++C) {
    const TScenarioPane& P = Map[Row * 5 + C];
    EXPECT_EQ(P.Look, Expected[C].Look) << "scenario " << Scenario << " pane " << Row << C;
    EXPECT_EQ(P.Kind, Expected[C].Kind) << "scenario " << Scenario << " pane " << Row << C;
    EXPECT_EQ(P.Variant, Expected[C].Variant) << "scenario " << Scenario << " pane " << Row << C;
  }
}

TEST(ScenarioMaps, RowsWrittenOutIndependently) {
  constexpr std::uint8_t X1 = pkFixedForest1, P = pkBuildingPlot, G = pkGrass, R = pkRiver,
                         Q = pkAqueduct;
  // Scenario 1, rows 0 and 1: X1.3 G.3 G.3 G.3 G.3 ; X1.1 X1.1 P.1 P.1 P.2
  ExpectRow(1, 0, {{{3, X1, -1}, {3, G, -1}, {3, G, -1}, {3, G, -1}, {3, G, -1}}});
  ExpectRow(1, 1, {{{1, X1, -1}, {1, X1, -1}, {1, P, -1}, {1, P, -1}, {2, P, -1}}});
  // Scenario 1, row 3: R.0 R.0 R.0 G.0 G.2
  ExpectRow(1, 3, {{{0, R, -1}, {0, R, -1}, {0, R, -1}, {0, G, -1}, {2, G, -1}}});
  // Scenario 2, row 3: Q.0/2 Q.0/0 Q.0/3 Q.2/0 Q.2/2
  ExpectRow(2, 3, {{{0, Q, 2}, {0, Q, 0}, {0, Q, 3}, {2, Q, 0}, {2, Q, 2}}});
  // Scenario 7, row 4: X7.3 H1.1/0 H2.1/1 S1.1 P.1
  ExpectRow(7, 4,
            {{{3, pkFixedForest1 + 6, -1},
              {1, pkHouse1, 0},
              {1, pkHouse2, 1},
              {1, pkService1, -1},
              {1, P, -1}}});
  // Scenario 11, row 4: P.1 Gr.1 O1.1 Gr.1 F12.1
  ExpectRow(11, 4,
            {{{1, P, -1},
              {1, pkGranary, -1},
              {1, pkHouseOld1, -1},
              {1, pkGranary, -1},
              {1, pkForest1 + 11, -1}}});
  // Scenario 18, row 2: S1.0 H2.3/0 A.3 P.3 St.2
  ExpectRow(
      18, 2,
      {{{0, pkService1, -1}, {3, pkHouse2, 0}, {3, pkAppeal1, -1}, {3, P, -1}, {2, pkStones, -1}}});
  // Scenario 21, row 2: F4.0 F4.3 H4.3/1 H3.3/0 F4.2
  ExpectRow(21, 2,
            {{{0, pkForest1 + 3, -1},
              {3, pkForest1 + 3, -1},
              {3, pkHouse4, 1},
              {3, pkHouse3, 0},
              {2, pkForest1 + 3, -1}}});
  // Scenario 34, row 0: X10.1 X10.0 X10.2 G.0 G.0
  ExpectRow(34, 0,
            {{{1, pkFixedForest1 + 9, -1},
              {0, pkFixedForest1 + 9, -1},
              {2, pkFixedForest1 + 9, -1},
              {0, G, -1},
              {0, G, -1}}});
  // Scenario 43, row 4: F12.0 F12.2 Ft.2 F12.0 F12.2
  ExpectRow(43, 4,
            {{{0, pkForest1 + 11, -1},
              {2, pkForest1 + 11, -1},
              {2, pkFort, -1},
              {0, pkForest1 + 11, -1},
              {2, pkForest1 + 11, -1}}});
  // Scenario 48, row 2: O1.1 O2.1 P.2 P.0 P.2
  ExpectRow(48, 2,
            {{{1, pkHouseOld1, -1}, {1, pkHouseOld2, -1}, {2, P, -1}, {0, P, -1}, {2, P, -1}}});
}

TEST(ScenarioMaps, EveryCodeParsesToTheStoredMap) {
  for (int S = 1; S <= ScenarioCount; ++S) {
    const auto Parsed = ParseScenarioMap(ScenarioMapCodes[S - 1]);
    ASSERT_TRUE(Parsed.has_value()) << "scenario " << S;
    for (int I = 0; I < 25; ++I) {
      EXPECT_EQ((*Parsed)[I].Look, ScenarioMaps[S - 1][I].Look) << S << " " << I;
      EXPECT_EQ((*Parsed)[I].Kind, ScenarioMaps[S - 1][I].Kind) << S << " " << I;
      EXPECT_EQ((*Parsed)[I].Variant, ScenarioMaps[S - 1][I].Variant) << S << " " << I;
    }
  }
}

TEST(ScenarioMaps, PanesAreValidForTheirKinds) {
  for (int S = 1; S <= ScenarioCount; ++S) {
    for (int I = 0; I < 25; ++I) {
      const TScenarioPane& P = ScenarioMaps[S - 1][I];
      EXPECT_GE(P.Look, 0) << S << " " << I;
      EXPECT_LE(P.Look, 3) << S << " " << I;
      EXPECT_GE(P.Kind, pkBuildingPlot) << S << " " << I;
      EXPECT_LT(P.Kind, PaneKindCount) << S << " " << I;
      EXPECT_GE(P.Variant, -1) << S << " " << I;
      if (P.Variant >= 0) {
        EXPECT_LT(P.Variant, PaneInfo[P.Kind].Looks) << S << " " << I;
      }
      // Sandbox maps hold no service, no finished house and no appeal building.
      if (S > CampaignScenarioCount) {
        EXPECT_FALSE(P.Kind >= pkHouse1 && P.Kind <= pkHouse5) << S << " " << I;
        EXPECT_FALSE(P.Kind >= pkService1 && P.Kind <= pkAppeal1) << S << " " << I;
      }
    }
  }
}

TEST(ScenarioMaps, CountsOfKinds) {
  // Counted by hand from the map rows.
  auto Count = [](int S, std::uint8_t Kind) {
    int N = 0;
    for (const TScenarioPane& P : ScenarioMaps[S - 1])
      N += P.Kind == Kind;
    return N;
  };
  EXPECT_EQ(Count(1, pkBuildingPlot), 4);
  EXPECT_EQ(Count(1, pkGrass), 9);
  EXPECT_EQ(Count(1, pkRiver), 4);
  EXPECT_EQ(Count(4, pkLake), 8);
  EXPECT_EQ(Count(4, pkHouseOld1), 4);
  EXPECT_EQ(Count(7, pkRiver), 5);
  EXPECT_EQ(Count(24, pkBuildingPlot), 10);
  EXPECT_EQ(Count(33, pkAqueduct), 7);
  EXPECT_EQ(Count(40, pkHouseOld2), 3);
}

TEST(ScenarioMaps, BadCodesAreRejected) {
  const std::string Good =
      "P.0 P.0 P.0 P.0 P.0 ; P.0 P.0 P.0 P.0 P.0 ; P.0 P.0 P.0 P.0 P.0 ; P.0 P.0 P.0 P.0 P.0 ; "
      "P.0 P.0 P.0 P.0 P.0";
  ASSERT_TRUE(ParseScenarioMap(Good).has_value());
  const char* Bad[] = {
      // Four rows.
      "P.0 P.0 P.0 P.0 P.0 ; P.0 P.0 P.0 P.0 P.0 ; P.0 P.0 P.0 P.0 P.0 ; P.0 P.0 P.0 P.0 P.0",
      // Six panes in a row.
      "P.0 P.0 P.0 P.0 P.0 P.0 ; P.0 P.0 P.0 P.0 P.0 ; P.0 P.0 P.0 P.0 P.0 ; P.0 P.0 P.0 P.0 P.0 "
      "; P.0 P.0 P.0 P.0 P.0",
      // Unknown kind code.
      "Z.0 P.0 P.0 P.0 P.0 ; P.0 P.0 P.0 P.0 P.0 ; P.0 P.0 P.0 P.0 P.0 ; P.0 P.0 P.0 P.0 P.0 ; "
      "P.0 P.0 P.0 P.0 P.0",
      // Look 4.
      "P.4 P.0 P.0 P.0 P.0 ; P.0 P.0 P.0 P.0 P.0 ; P.0 P.0 P.0 P.0 P.0 ; P.0 P.0 P.0 P.0 P.0 ; "
      "P.0 P.0 P.0 P.0 P.0",
      // A house has two pictures: variant 2 does not exist.
      "H1.0/2 P.0 P.0 P.0 P.0 ; P.0 P.0 P.0 P.0 P.0 ; P.0 P.0 P.0 P.0 P.0 ; P.0 P.0 P.0 P.0 P.0 ; "
      "P.0 P.0 P.0 P.0 P.0",
      // X13 does not exist.
      "X13.0 P.0 P.0 P.0 P.0 ; P.0 P.0 P.0 P.0 P.0 ; P.0 P.0 P.0 P.0 P.0 ; P.0 P.0 P.0 P.0 P.0 ; "
      "P.0 P.0 P.0 P.0 P.0",
      // No look.
      "P P.0 P.0 P.0 P.0 ; P.0 P.0 P.0 P.0 P.0 ; P.0 P.0 P.0 P.0 P.0 ; P.0 P.0 P.0 P.0 P.0 ; "
      "P.0 P.0 P.0 P.0 P.0",
      "",
  };
  for (const char* Code : Bad)
    EXPECT_FALSE(ParseScenarioMap(Code).has_value()) << Code;
}

// ---- TMission::Setup, end to end ---------------------------------------------------------------

class MissionSetup : public ::testing::Test {
 protected:
  TPlayer Player;
  std::unique_ptr<TMission> Mission = std::make_unique<TMission>(&Player);

  void SetProgress(int N, int Completed, int Star, int Trophy) {
    TScenarioProgress P;
    P.Completed = static_cast<std::uint8_t>(Completed);
    P.Star = static_cast<std::uint8_t>(Star);
    P.Trophy = static_cast<std::uint8_t>(Trophy);
    Player.SetProgress(N, P);
  }
};

TEST_F(MissionSetup, CampaignScenarioSevenStartsFromItsEntry) {
  Randomize(7);
  Mission->Setup(7);
  EXPECT_EQ(Mission->Scenario, 7);
  EXPECT_EQ(Mission->MapName, "Map7");
  EXPECT_EQ(Mission->Money, 9000);
  EXPECT_EQ(Mission->Wood, 160);
  EXPECT_EQ(Mission->Stone, 120);
  EXPECT_EQ(Mission->Workers, 15);
  EXPECT_EQ(Mission->FreeWorkers, 15);
  EXPECT_EQ(Mission->OwnedLicenses, Bits(0, 1) | Bits(5, 7));
  EXPECT_EQ(Mission->LicensesOnSale, Bits(0, 1) | Bits(5, 8) | Bits(13, 14));
  EXPECT_EQ(Mission->StarTime, 390);
  EXPECT_EQ(Mission->DeadlineTime, 705);
  EXPECT_EQ(Mission->Goals[0].Kind, gkHealthcare);
  EXPECT_EQ(Mission->Goals[0].Target, 5);
  EXPECT_EQ(Mission->Goals[1].Kind, gkHousesUpg1 + 2);
  EXPECT_EQ(Mission->Goals[1].Target, 8);
  EXPECT_EQ(Mission->Goals[2].Kind, gkBalance);
  EXPECT_EQ(Mission->Goals[2].Target, 5000);
  EXPECT_EQ(Mission->Goals[3].Kind, gkHasService1 + 3);
  EXPECT_EQ(Mission->Goals[3].Target, 1);
  EXPECT_TRUE(Mission->ShowTrophyGoal);
  EXPECT_TRUE(Mission->DamageOn && Mission->HappinessOn && Mission->ResidentsOn &&
              Mission->NeedsOn);
  EXPECT_EQ(Mission->WoodOrders, -1);
  EXPECT_EQ(Mission->StoneOrders, -1);
  EXPECT_EQ(Mission->Trainees, -1);
  EXPECT_EQ(Mission->Time, 0.0f);
  EXPECT_EQ(Mission->Stage, 0);
  EXPECT_FALSE(Mission->StartShown);
  // Row 4: X7.3 H1.1/0 H2.1/1 S1.1 P.1
  const TPane* House1 = Mission->GetPane(4, 1);
  EXPECT_EQ(House1->Kind, pkHouse1);
  EXPECT_EQ(House1->Look, 1);
  EXPECT_EQ(House1->Variant, 0);
  const TPane* House2 = Mission->GetPane(4, 2);
  EXPECT_EQ(House2->Kind, pkHouse2);
  EXPECT_EQ(House2->Variant, 1);
  EXPECT_EQ(Mission->GetPane(4, 0)->Kind, pkFixedForest1 + 6);
  EXPECT_EQ(Mission->GetPane(4, 0)->Look, 3);
  EXPECT_EQ(Mission->GetPane(4, 3)->Kind, pkService1);
  EXPECT_EQ(Mission->GetPane(1, 2)->Kind, pkRiver);
  // Update(0) has counted the town: two houses' residents.
  EXPECT_EQ(Mission->Residents, 27 + 40);
}

TEST_F(MissionSetup, EveryScenarioSetsUpItsMap) {
  for (int S = 1; S <= ScenarioCount; ++S) {
    Mission->Setup(S);
    for (int I = 0; I < 25; ++I) {
      const TScenarioPane& Entry = ScenarioMaps[S - 1][I];
      const TPane* P = Mission->GetPane(I / 5, I % 5);
      EXPECT_EQ(P->Kind, Entry.Kind) << S << " " << I;
      EXPECT_EQ(P->Look, Entry.Look) << S << " " << I;
      if (Entry.Variant >= 0) {
        EXPECT_EQ(P->Variant, Entry.Variant) << S << " " << I;
      } else {
        EXPECT_GE(P->Variant, 0) << S << " " << I;
        EXPECT_LT(P->Variant, std::max(PaneInfo[Entry.Kind].Looks, 1)) << S << " " << I;
      }
      EXPECT_EQ(P->Action, akNone);
      EXPECT_EQ(P->Upgrades, 1u);
    }
    EXPECT_EQ(Mission->MapName, "Map" + std::to_string(S > 24 ? S - 24 : S)) << S;
  }
}

TEST_F(MissionSetup, RandomDrawsComeInTheirFixedOrder) {
  // SetupStages draws the start and end texts (0..2 each), then the panes row by row,
  // each SetKind drawing its variant (kinds with 2 or more looks) and then its damage delay.
  for (int S : {5, 9, 21, 29}) {
    const std::uint32_t Seed = 1234u + static_cast<std::uint32_t>(S);
    Randomize(Seed);
    if (S <= CampaignScenarioCount) {
      Random(3);
      Random(3);
    }
    std::array<int, 25> Variants{};
    std::array<float, 25> Delays{};
    for (int I = 0; I < 25; ++I) {
      const TScenarioPane& Entry = ScenarioMaps[S - 1][I];
      const int Looks = PaneInfo[Entry.Kind].Looks;
      const int Drawn = Looks >= 2 ? Random(Looks) : 0;
      Variants[I] = Entry.Variant >= 0 ? Entry.Variant : Drawn;
      Delays[I] = (RandomFloat() - 0.5f) * 180.0f + 480.0f;
    }
    const std::uint32_t After = RandomSeed();
    Randomize(Seed);
    Mission->Setup(S);
    for (int I = 0; I < 25; ++I) {
      EXPECT_EQ(Mission->Panes[I]->Variant, Variants[I]) << S << " " << I;
      EXPECT_EQ(Mission->Panes[I]->DamageDelay, Delays[I]) << S << " " << I;
    }
    EXPECT_EQ(RandomSeed(), After) << "scenario " << S << " drew more or fewer numbers";
  }
}

TEST_F(MissionSetup, TutorialScenariosFollowTheSwitchesAndScenarioFour) {
  Mission->Setup(1);
  EXPECT_FALSE(Mission->ShowTrophyGoal);
  EXPECT_FALSE(Mission->DamageOn);
  EXPECT_FALSE(Mission->HappinessOn);
  EXPECT_FALSE(Mission->ResidentsOn);
  EXPECT_FALSE(Mission->NeedsOn);
  EXPECT_EQ(Mission->Goals[1].Kind, gkHouses1);
  EXPECT_EQ(Mission->Goals[2].Kind, gkNone);
  EXPECT_EQ(Mission->Goals[0].Kind, gkHasAppeal1);
  EXPECT_EQ(Mission->OwnedLicenses, 1u);
  EXPECT_EQ(Mission->LicensesOnSale, 1u);
  EXPECT_EQ(Mission->StarTime, 210);
  EXPECT_EQ(Mission->DeadlineTime, 0);

  Mission->Setup(4);
  EXPECT_FALSE(Mission->ShowTrophyGoal);
  EXPECT_FALSE(Mission->DamageOn);
  EXPECT_TRUE(Mission->HappinessOn);
  EXPECT_TRUE(Mission->ResidentsOn);
  EXPECT_FALSE(Mission->NeedsOn);

  SetProgress(4, 1, 0, 0);
  Mission->Setup(1);
  EXPECT_TRUE(Mission->ShowTrophyGoal);
  Mission->Setup(3);
  EXPECT_TRUE(Mission->ShowTrophyGoal);
  EXPECT_TRUE(Mission->HappinessOn);
  EXPECT_FALSE(Mission->ResidentsOn);

  Mission->Setup(5);
  EXPECT_TRUE(Mission->ShowTrophyGoal);
  EXPECT_TRUE(Mission->DamageOn && Mission->HappinessOn && Mission->ResidentsOn &&
              Mission->NeedsOn);
}

TEST_F(MissionSetup, WonStarAndTrophyAreNotOfferedAgain) {
  SetProgress(5, 1, 1, 0);
  Mission->Setup(5);
  EXPECT_EQ(Mission->StarTime, 0);
  EXPECT_EQ(Mission->DeadlineTime, 0);
  EXPECT_EQ(Mission->Goals[0].Kind, gkReligion);

  SetProgress(6, 1, 0, 1);
  Mission->Setup(6);
  EXPECT_EQ(Mission->StarTime, 360);
  EXPECT_EQ(Mission->DeadlineTime, 690);
  EXPECT_EQ(Mission->Goals[0].Kind, gkNone);
  EXPECT_EQ(Mission->Goals[1].Kind, gkHouses1 + 1);
  EXPECT_EQ(Mission->GoalCount(), 3);
}

TEST_F(MissionSetup, SandboxKeepsGoalsAndTimes) {
  Mission->Setup(25);
  EXPECT_EQ(Mission->Money, 3000);
  EXPECT_EQ(Mission->Wood, 600);
  EXPECT_EQ(Mission->Stone, 300);
  EXPECT_EQ(Mission->Workers, 12);
  EXPECT_EQ(Mission->FreeWorkers, 12);
  EXPECT_EQ(Mission->OwnedLicenses, 1u);
  EXPECT_EQ(Mission->LicensesOnSale, Bits(0, 18));
  EXPECT_EQ(Mission->MapName, "Map1");
  EXPECT_EQ(Mission->StartText, 0);

  Mission->AddGoal(true, gkResidents, 300);
  Mission->AddGoal(true, gkWood, 900);
  Mission->SetTimes(0.0f, 20.0f);
  Mission->Money = 1;
  Mission->Setup(30);
  EXPECT_EQ(Mission->Scenario, 30);
  EXPECT_EQ(Mission->MapName, "Map6");
  EXPECT_EQ(Mission->Money, 3000);
  EXPECT_EQ(Mission->GoalCount(), 2);
  EXPECT_EQ(Mission->Goals[1].Kind, gkResidents);
  EXPECT_EQ(Mission->Goals[1].Target, 300);
  EXPECT_EQ(Mission->Goals[2].Kind, gkWood);
  EXPECT_EQ(Mission->Goals[0].Kind, gkNone);
  EXPECT_EQ(Mission->DeadlineTime, 1200);
  EXPECT_EQ(Mission->StarTime, 0);
  EXPECT_TRUE(Mission->ShowTrophyGoal);
  // Update(0) evaluated the goals: the map's 600 wood is short of 900.
  EXPECT_EQ(Mission->Goals[2].Value, 600);
  EXPECT_FALSE(Mission->Goals[2].Reached);
}

TEST_F(MissionSetup, OutOfRangeRunsOnlyResetStagesAndUpdate) {
  Mission->Setup(12);
  Mission->Money = 4321;
  Mission->Wood = 77;
  Mission->WoodOrders = 3;
  Mission->Time = 50.0f;
  Mission->SelectPane(2, 2);
  const std::uint8_t KindBefore = Mission->GetPane(0, 2)->Kind;
  const std::uint32_t OwnedBefore = Mission->OwnedLicenses;
  for (int S : {0, 49, -1}) {
    Mission->Setup(S);
    EXPECT_EQ(Mission->Scenario, S);
    EXPECT_EQ(Mission->Selected, nullptr);
    EXPECT_EQ(Mission->Time, 0.0f);
    EXPECT_EQ(Mission->WoodOrders, -1);
    EXPECT_EQ(Mission->Trainees, -1);
    EXPECT_TRUE(Mission->ShowTrophyGoal);
    EXPECT_TRUE(Mission->DamageOn);
    // Steps 3 and 4 did not run: stock, licences, goals and map are untouched.
    EXPECT_EQ(Mission->Money, 4321);
    EXPECT_EQ(Mission->Wood, 77);
    EXPECT_EQ(Mission->OwnedLicenses, OwnedBefore);
    EXPECT_EQ(Mission->GetPane(0, 2)->Kind, KindBefore);
    EXPECT_EQ(Mission->Goals[1].Kind, gkHouses1 + 2);
  }
}

TEST_F(MissionSetup, SetupIsRepeatable) {
  Randomize(99);
  Mission->Setup(16);
  Mission->Money = 5;
  Mission->SelectPane(0, 0);
  Mission->Setup(16);
  EXPECT_EQ(Mission->Money, 7000);
  EXPECT_EQ(Mission->Selected, nullptr);
  EXPECT_EQ(Mission->GoalCount(), 3);
  EXPECT_EQ(Mission->Goals[3].Kind, gkCommerce);
  EXPECT_EQ(Mission->Goals[3].Target, 12);
}

}  // namespace

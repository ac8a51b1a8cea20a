// VexaMissionTables.cpp -- the constant rule tables of the town simulation: pane kinds,
// pane actions, licences, upgrades and goal kinds, transcribed value for value.
#include <array>
#include <cstdint>

#include "EngineLanguages.h"
#include "VexaMission.h"

namespace {

using TSlots = std::array<std::uint8_t, SlotCount>;

// ---- Slot patterns of the pane kinds ----

// BuildingPlot: 0 AssignWorker, 1..5 ConstructHouse1..5, 6..13 ConstructService1..8,
// 14 ConstructAppeal1.
constexpr TSlots PlotSlots() {
  TSlots S{};
  S[0] = akAssignWorker;
  for (int I = 0; I < 5; ++I)
    S[1 + I] = static_cast<std::uint8_t>(akConstructHouse1 + I);
  for (int I = 0; I < 8; ++I)
    S[6 + I] = static_cast<std::uint8_t>(akConstructService1 + I);
  S[14] = akConstructAppeal1;
  return S;
}

// H and H': 0 AssignWorker, 1..5 UpgradeHouse1..5, 8 Repair, 14 the demolition.
constexpr TSlots HouseSlots(TActionKind Demolish) {
  TSlots S{};
  S[0] = akAssignWorker;
  for (int I = 0; I < 5; ++I)
    S[1 + I] = static_cast<std::uint8_t>(akUpgradeHouse1 + I);
  S[8] = akRepair;
  S[14] = Demolish;
  return S;
}

// HouseOld1, HouseOld2: 0 AssignWorker, 8 Repair, 14 DemolishToDebris1.
constexpr TSlots OldHouseSlots() {
  TSlots S{};
  S[0] = akAssignWorker;
  S[8] = akRepair;
  S[14] = akDemolishToDebris1;
  return S;
}

// S(UpgradeServiceN, d): 0 AssignWorker, 2 UpgradeServiceN, 8 Repair, 14 d.
constexpr TSlots ServiceSlots(int N, TActionKind Demolish) {
  TSlots S{};
  S[0] = akAssignWorker;
  S[2] = static_cast<std::uint8_t>(akUpgradeService1 + N - 1);
  S[8] = akRepair;
  S[14] = Demolish;
  return S;
}

// 0 AssignWorker and one more action in slot Slot.
constexpr TSlots WorkerAnd(int Slot, TActionKind Action) {
  TSlots S{};
  S[0] = akAssignWorker;
  S[Slot] = Action;
  return S;
}

constexpr TSlots NoSlots{};

constexpr TActionKind D1 = akDemolishToDebris1;
constexpr TActionKind D2 = akDemolishToDebris2;

// A forest record (cleared or fixed), N = 1..12.
constexpr TPaneInfo ForestInfo(int N, bool Fixed) {
  constexpr const char* Textures[12] = {"Pane1Forest1",  "Pane1Forest2",  "Pane1Forest3",
                                        "Pane1Forest4",  "Pane1Forest5",  "Pane1Forest6",
                                        "Pane1Forest7",  "Pane1Forest8",  "Pane1Forest9",
                                        "Pane1Forest10", "Pane1Forest11", "Pane1Forest12"};
  // clang-format off
  if (Fixed) {
    return {static_cast<std::uint8_t>(pkFixedForest1 + N - 1), sidPaneNameForest, 0,
            Textures[N - 1], 1, 0, NoSlots, false, 0, 0, 0, 0, 0, false, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  }
  return {static_cast<std::uint8_t>(pkForest1 + N - 1), sidPaneNameForest, sidPaneHintForest,
          Textures[N - 1], 1, 0, WorkerAnd(2, akClearForest), false, 10, 170, 0, 0, 0, false, 0,
          0, 0, 0, 0, 0, 0, 0, 0};
  // clang-format on
}

}  // namespace

// Fields in the order of TPaneInfo:
//   Kind, NameText, HintText, Texture, Looks, WorkSound, Slots, Damageable,
//   BaseWorkers, BaseWork, BaseWood, BaseStone, Residents, TakesAppeal, BaseHappiness, Appeal,
//   Service, Needs, Income, Religion, Commerce, Healthcare, Culture
// clang-format off
constinit const std::array<TPaneInfo, PaneKindCount> PaneInfo = {{
  {pkNone, 0, 0, "", 1, 0, NoSlots, false, 0, 0, 0, 0, 0, false, 0, 0, 0, 0, 0, 0, 0, 0, 0},
  {pkBuildingPlot, sidPaneNameBuildingPlot, sidPaneHintBuildingPlot, "Pane1BuildingPlot", 1, 0, PlotSlots(), false, 1, 1, 1, 1, 0, false, 0, 0, 0, 0, 0, 0, 0, 0, 0},
  {pkHouse1, sidPaneNameHouse1, sidPaneHintHouse, "Pane2House1", 2, 0, HouseSlots(D1), true,  4,  16,  4,  1,  27, true, 0, 0, 0, 0,  18, 0, 0, 0, 0},
  {pkHouse2, sidPaneNameHouse2, sidPaneHintHouse, "Pane2House2", 2, 0, HouseSlots(D1), true,  6,  34,  6,  3,  40, true, 0, 0, 0, 2,  32, 0, 0, 0, 0},
  {pkHouse3, sidPaneNameHouse3, sidPaneHintHouse, "Pane2House3", 2, 0, HouseSlots(D1), true,  8,  58,  8,  8,  56, true, 0, 0, 0, 4,  55, 0, 0, 0, 0},
  {pkHouse4, sidPaneNameHouse4, sidPaneHintHouse, "Pane2House4", 2, 0, HouseSlots(D2), true, 10,  88, 12, 17,  85, true, 0, 0, 0, 6, 100, 0, 0, 0, 0},
  {pkHouse5, sidPaneNameHouse5, sidPaneHintHouse, "Pane2House5", 2, 0, HouseSlots(D2), true, 12, 125, 18, 34, 120, true, 0, 0, 0, 8, 175, 0, 0, 0, 0},
  {pkHouseOld1, sidPaneNameHouseOld1, sidPaneHintHouseOld, "Pane1HouseOld1", 1, 0, OldHouseSlots(), true, 4, 16, 3, 1, 18, true, 0, 0, 0, 0,  5, 0, 0, 0, 0},
  {pkHouseOld2, sidPaneNameHouseOld2, sidPaneHintHouseOld, "Pane1HouseOld2", 1, 0, OldHouseSlots(), true, 8, 58, 6, 6, 37, true, 0, 0, 0, 0, 14, 0, 0, 0, 0},
  {pkService1, sidPaneNameService1, sidPaneHintReligion,   "Pane1Service1", 1, 0, ServiceSlots(1, D1), true,  6,  28,  7,  4, 0, false, 0, 0, 1, 0, 0, 2, 0, 0, 0},
  {pkService2, sidPaneNameService2, sidPaneHintCommerce,   "Pane1Service2", 1, 0, ServiceSlots(2, D1), true,  7,  39,  8,  5, 0, false, 0, 0, 2, 0, 0, 0, 2, 0, 0},
  {pkService3, sidPaneNameService3, sidPaneHintHealthcare, "Pane1Service3", 1, 0, ServiceSlots(3, D2), true,  8,  53, 10, 10, 0, false, 0, 0, 3, 0, 0, 0, 0, 2, 0},
  {pkService4, sidPaneNameService4, sidPaneHintCulture,    "Pane1Service4", 1, 0, ServiceSlots(4, D2), true,  9,  68, 12, 12, 0, false, 0, 0, 4, 0, 0, 0, 0, 0, 2},
  {pkService5, sidPaneNameService5, sidPaneHintReligion,   "Pane1Service5", 1, 0, ServiceSlots(5, D2), true, 10,  86, 14, 20, 0, false, 0, 0, 5, 0, 0, 3, 0, 0, 0},
  {pkService6, sidPaneNameService6, sidPaneHintCommerce,   "Pane1Service6", 1, 0, ServiceSlots(6, D2), true, 11, 106, 15, 25, 0, false, 0, 0, 6, 0, 0, 0, 3, 0, 0},
  {pkService7, sidPaneNameService7, sidPaneHintHealthcare, "Pane1Service7", 1, 0, ServiceSlots(7, D1), true, 12, 127, 20, 38, 0, false, 0, 0, 7, 0, 0, 0, 0, 3, 0},
  {pkService8, sidPaneNameService8, sidPaneHintCulture,    "Pane1Service8", 1, 0, ServiceSlots(8, D2), true, 13, 151, 24, 40, 0, false, 0, 0, 8, 0, 0, 0, 0, 0, 3},
  {pkAppeal1, sidPaneNameAppeal1, sidPaneHintAppeal, "Pane1Appeal1", 1, 0, WorkerAnd(14, akDemolishToDebris1), false, 5, 18, 4, 2, 0, false, 0, +1, 0, 0, 0, 0, 0, 0, 0},
  {pkDebris1, sidPaneNameDebris, sidPaneHintDebris, "Pane1Debris1", 1, 0, WorkerAnd(2, akClearDebris1), false, 8, 80, 0, 0, 0, false, 0, -1, 0, 0, 0, 0, 0, 0, 0},
  {pkDebris2, sidPaneNameDebris, sidPaneHintDebris, "Pane1Debris2", 1, 0, WorkerAnd(2, akClearDebris2), false, 8, 80, 0, 0, 0, false, 0, -1, 0, 0, 0, 0, 0, 0, 0},
  ForestInfo(1, false), ForestInfo(2, false), ForestInfo(3, false),  ForestInfo(4, false),
  ForestInfo(5, false), ForestInfo(6, false), ForestInfo(7, false),  ForestInfo(8, false),
  ForestInfo(9, false), ForestInfo(10, false), ForestInfo(11, false), ForestInfo(12, false),
  ForestInfo(1, true), ForestInfo(2, true), ForestInfo(3, true),  ForestInfo(4, true),
  ForestInfo(5, true), ForestInfo(6, true), ForestInfo(7, true),  ForestInfo(8, true),
  ForestInfo(9, true), ForestInfo(10, true), ForestInfo(11, true), ForestInfo(12, true),
  {pkStones, sidPaneNameStones, sidPaneHintStones, "Pane1Stones", 1, 0, WorkerAnd(2, akClearStones), false, 14, 322, 0, 0, 0, false, 0, 0, 0, 0, 0, 0, 0, 0, 0},
  {pkFixedStones, sidPaneNameStones, 0, "Pane1Stones", 1, 0, NoSlots, false, 0, 0, 0, 0, 0, false, 0, 0, 0, 0, 0, 0, 0, 0, 0},
  {pkGrass, sidPaneNameGrass, 0, "", 0, 0, NoSlots, false, 0, 0, 0, 0, 0, false, 0, 0, 0, 0, 0, 0, 0, 0, 0},
  {pkLake,  sidPaneNameLake,  0, "", 0, 0, NoSlots, false, 0, 0, 0, 0, 0, false, 0, 0, 0, 0, 0, 0, 0, 0, 0},
  {pkRiver, sidPaneNameRiver, 0, "", 0, 0, NoSlots, false, 0, 0, 0, 0, 0, false, 0, 0, 0, 0, 0, 0, 0, 0, 0},
  {pkAqueduct, sidPaneNameAqueduct, 0, "Pane4Aqueduct", 4, 0, NoSlots, false, 0, 0, 0, 0, 0, false, 0, 0, 0, 0, 0, 0, 0, 0, 0},
  {pkFort,     sidPaneNameFort,     sidPaneHintMilitary, "Pane1Fort",     1, 0, NoSlots, false, 0, 0, 0, 0, 0, false, 0, -1, 0, 0, 0, 0, 0, 0, 0},
  {pkGranary,  sidPaneNameGranary,  sidPaneHintIndustry, "Pane1Granary",  1, 0, NoSlots, false, 0, 0, 0, 0, 0, false, 0, -1, 0, 0, 0, 0, 0, 0, 0},
  {pkWorkshop, sidPaneNameWorkshop, sidPaneHintIndustry, "Pane1Workshop", 1, 0, NoSlots, false, 0, 0, 0, 0, 0, false, 0, -1, 0, 0, 0, 0, 0, 0, 0},
}};
// clang-format on

// Fields in the order of TActionInfo:
//   Kind, NameText, HintText, ProgressText, Icon, Color, WorkEffect, WorkSound, FinishSound,
//   FinishEffect, License, WorkersFactor, WorkFactor, WoodFactor, StoneFactor,
//   RecoveredWood, RecoveredStone, Price, Effect, NewKind, Upgrade, ConsumeSlot, ReplaceSlot
// clang-format off
constinit const std::array<TActionInfo, ActionKindCount> ActionInfo = {{
  {akNone, 0, 0, 0, 0, 0xFFFFFF, "", 0, "", "", lcNone, 0, 0, 0, 0, 0, 0, 0, aeNone, pkNone, 0, false, 0},
  {akAssignWorker, sidActionNameAssignWorker, sidActionHintAssignWorker, 0, 26, 0xFFFFFF, "", 0, "", "", lcNone, 0, 0, 0, 0, 0, 0, 0, aeAddWorker, pkNone, 0, false, 0},
  // Constructions on a building plot.
  {akConstructHouse1,   sidActionNameConstructHouse1,   sidPaneHintHouse,      sidActionProgressNameConstruct, 12, 0xFFFFFF, "DustyJob", 1, "Finish3", "Upgrade", lcNone,     8,  160,  40,  10, 0, 0, 0, aeConstruct, pkHouse1,   0, false, 0},
  {akConstructHouse1+1, sidActionNameConstructHouse2,   sidPaneHintHouse,      sidActionProgressNameConstruct, 13, 0xFFFFFF, "DustyJob", 1, "Finish3", "Upgrade", lcHouse2,  12,  336,  60,  30, 0, 0, 0, aeConstruct, pkHouse2,   0, false, 0},
  {akConstructHouse1+2, sidActionNameConstructHouse3,   sidPaneHintHouse,      sidActionProgressNameConstruct, 14, 0xFFFFFF, "DustyJob", 1, "Finish3", "Upgrade", lcHouse3,  16,  576,  80,  80, 0, 0, 0, aeConstruct, pkHouse3,   0, false, 0},
  {akConstructHouse1+3, sidActionNameConstructHouse4,   sidPaneHintHouse,      sidActionProgressNameConstruct, 15, 0xFFFFFF, "DustyJob", 1, "Finish3", "Upgrade", lcHouse4,  20,  880, 120, 170, 0, 0, 0, aeConstruct, pkHouse4,   0, false, 0},
  {akConstructHouse1+4, sidActionNameConstructHouse5,   sidPaneHintHouse,      sidActionProgressNameConstruct, 16, 0xFFFFFF, "DustyJob", 1, "Finish3", "Upgrade", lcHouse5,  24, 1248, 180, 340, 0, 0, 0, aeConstruct, pkHouse5,   0, false, 0},
  {akConstructService1,   sidActionNameConstructService1, sidPaneHintReligion,   sidActionProgressNameConstruct, 17, 0xFFFFFF, "DustyJob", 1, "Finish3", "Upgrade", lcService1,     12,  276,  70,  40, 0, 0, 0, aeConstruct, pkService1, 0, false, 0},
  {akConstructService1+1, sidActionNameConstructService2, sidPaneHintCommerce,   sidActionProgressNameConstruct, 18, 0xFFFFFF, "DustyJob", 1, "Finish3", "Upgrade", lcService1 + 1, 14,  392,  80,  50, 0, 0, 0, aeConstruct, pkService2, 0, false, 0},
  {akConstructService1+2, sidActionNameConstructService3, sidPaneHintHealthcare, sidActionProgressNameConstruct, 19, 0xFFFFFF, "DustyJob", 1, "Finish3", "Upgrade", lcService1 + 2, 16,  528, 100, 100, 0, 0, 0, aeConstruct, pkService3, 0, false, 0},
  {akConstructService1+3, sidActionNameConstructService4, sidPaneHintCulture,    sidActionProgressNameConstruct, 20, 0xFFFFFF, "DustyJob", 1, "Finish3", "Upgrade", lcService1 + 3, 18,  684, 120, 120, 0, 0, 0, aeConstruct, pkService4, 0, false, 0},
  {akConstructService1+4, sidActionNameConstructService5, sidPaneHintReligion,   sidActionProgressNameConstruct, 21, 0xFFFFFF, "DustyJob", 1, "Finish3", "Upgrade", lcService1 + 4, 20,  860, 140, 200, 0, 0, 0, aeConstruct, pkService5, 0, false, 0},
  {akConstructService1+5, sidActionNameConstructService6, sidPaneHintCommerce,   sidActionProgressNameConstruct, 22, 0xFFFFFF, "DustyJob", 1, "Finish3", "Upgrade", lcService1 + 5, 22, 1056, 150, 250, 0, 0, 0, aeConstruct, pkService6, 0, false, 0},
  {akConstructService1+6, sidActionNameConstructService7, sidPaneHintHealthcare, sidActionProgressNameConstruct, 23, 0xFFFFFF, "DustyJob", 1, "Finish3", "Upgrade", lcService1 + 6, 24, 1272, 200, 380, 0, 0, 0, aeConstruct, pkService7, 0, false, 0},
  {akConstructService1+7, sidActionNameConstructService8, sidPaneHintCulture,    sidActionProgressNameConstruct, 24, 0xFFFFFF, "DustyJob", 1, "Finish3", "Upgrade", lcService1 + 7, 26, 1508, 240, 400, 0, 0, 0, aeConstruct, pkService8, 0, false, 0},
  {akConstructAppeal1, sidActionNameConstructAppeal1, sidPaneHintAppeal, sidActionProgressNameConstruct, 25, 0xFFFFFF, "DustyJob", 1, "Finish3", "Upgrade", lcNone, 10, 180, 40, 20, 0, 0, 0, aeConstruct, pkAppeal1, 0, false, 0},
  // Demolition and clearing.
  {akDemolishToDebris1, sidActionNameDemolish, sidActionHintDemolish, sidActionProgressNameDemolish, 27, 0xFFFFFF, "DustyJob", 2, "Demolish", "Demolish", lcNone, 1, 4, 0, 0, 0, 0, 0, aeDemolish, pkDebris1, 0, false, 0},
  {akDemolishToDebris2, sidActionNameDemolish, sidActionHintDemolish, sidActionProgressNameDemolish, 27, 0xFFFFFF, "DustyJob", 2, "Demolish", "Demolish", lcNone, 1, 4, 0, 0, 0, 0, 0, aeDemolish, pkDebris2, 0, false, 0},
  {akClearDebris1, sidActionNameClear, sidActionHintClear, sidActionProgressNameClear, 28, 0xFFFFFF, "DustyJob", 3, "Finish2", "", lcNone, 1, 1, 0, 0,  20,  10, 1000, aeClear, pkBuildingPlot, 0, false, 0},
  {akClearDebris2, sidActionNameClear, sidActionHintClear, sidActionProgressNameClear, 28, 0xFFFFFF, "DustyJob", 3, "Finish2", "", lcNone, 1, 1, 0, 0,  10,  20, 1000, aeClear, pkBuildingPlot, 0, false, 0},
  {akClearForest,  sidActionNameClear, sidActionHintClear, sidActionProgressNameClear, 63, 0xFFFFFF, "",         4, "Finish2", "", lcNone, 1, 1, 0, 0, 200,   0, 1500, aeClear, pkBuildingPlot, 0, false, 0},
  {akClearStones,  sidActionNameClear, sidActionHintClear, sidActionProgressNameClear, 64, 0xFFFFFF, "",         5, "Finish2", "", lcNone, 1, 1, 0, 0,   0, 200, 1500, aeClear, pkBuildingPlot, 0, false, 0},
  {akRepair, sidActionNameRepair, sidActionHintRepair, sidActionProgressNameRepair, 42, 0xFFFFFF, "", 1, "Finish1", "", lcNone, 1, 2, 2, 2, 0, 0, 0, aeRepair, pkNone, 0, false, 0},
  // Upgrades of houses and services.
  {akUpgradeHouse1,   sidActionNameUpgradeHouse1, sidActionHintUpgradeIncome, sidActionProgressNameUpgrade, 29, 0xFFFFFF, "", 1, "Finish3", "Upgrade", lcNone,   1, 4, 3, 3, 0, 0, 0, aeUpgrade, pkNone, 1, true, 0},
  {akUpgradeHouse1+1, sidActionNameUpgradeHouse2, sidActionHintUpgradeIncome, sidActionProgressNameUpgrade, 30, 0xFFFFFF, "", 1, "Finish3", "Upgrade", lcExtra1, 1, 2, 2, 3, 0, 0, 0, aeUpgrade, pkNone, 2, true, 0},
  {akUpgradeHouse1+2, sidActionNameUpgradeHouse3, sidActionHintUpgradeIncome, sidActionProgressNameUpgrade, 31, 0xFFFFFF, "", 1, "Finish3", "Upgrade", lcExtra2, 1, 2, 1, 3, 0, 0, 0, aeUpgrade, pkNone, 3, true, 0},
  {akUpgradeHouse1+3, sidActionNameUpgradeHouse4, sidActionHintUpgradeIncome, sidActionProgressNameUpgrade, 32, 0xFFFFFF, "", 1, "Finish3", "Upgrade", lcExtra3, 1, 2, 1, 2, 0, 0, 0, aeUpgrade, pkNone, 4, true, 0},
  {akUpgradeHouse1+4, sidActionNameUpgradeHouse5, sidActionHintUpgradeIncome, sidActionProgressNameUpgrade, 33, 0xFFFFFF, "", 1, "Finish3", "Upgrade", lcExtra4, 1, 2, 1, 1, 0, 0, 0, aeUpgrade, pkNone, 5, true, 0},
  {akUpgradeService1,   sidActionNameUpgradeService1, 0, sidActionProgressNameUpgrade, 34, 0xFFFFFF, "", 1, "Finish3", "Upgrade", lcNone,   1, 3, 4, 4, 0, 0, 0, aeUpgrade, pkNone,  6, true, 0},
  {akUpgradeService1+1, sidActionNameUpgradeService2, 0, sidActionProgressNameUpgrade, 35, 0xFFFFFF, "", 1, "Finish3", "Upgrade", lcNone,   1, 3, 4, 4, 0, 0, 0, aeUpgrade, pkNone,  7, true, 0},
  {akUpgradeService1+2, sidActionNameUpgradeService3, 0, sidActionProgressNameUpgrade, 36, 0xFFFFFF, "", 1, "Finish3", "Upgrade", lcNone,   1, 3, 4, 4, 0, 0, 0, aeUpgrade, pkNone,  8, true, 0},
  {akUpgradeService1+3, sidActionNameUpgradeService4, 0, sidActionProgressNameUpgrade, 37, 0xFFFFFF, "", 1, "Finish3", "Upgrade", lcNone,   1, 3, 4, 4, 0, 0, 0, aeUpgrade, pkNone,  9, true, 0},
  {akUpgradeService1+4, sidActionNameUpgradeService5, 0, sidActionProgressNameUpgrade, 38, 0xFFFFFF, "", 1, "Finish3", "Upgrade", lcExtra1, 1, 3, 4, 4, 0, 0, 0, aeUpgrade, pkNone, 10, true, 0},
  {akUpgradeService1+5, sidActionNameUpgradeService6, 0, sidActionProgressNameUpgrade, 39, 0xFFFFFF, "", 1, "Finish3", "Upgrade", lcExtra2, 1, 3, 4, 4, 0, 0, 0, aeUpgrade, pkNone, 11, true, 0},
  {akUpgradeService1+6, sidActionNameUpgradeService7, 0, sidActionProgressNameUpgrade, 40, 0xFFFFFF, "", 1, "Finish3", "Upgrade", lcExtra3, 1, 3, 4, 4, 0, 0, 0, aeUpgrade, pkNone, 12, true, 0},
  {akUpgradeService1+7, sidActionNameUpgradeService8, 0, sidActionProgressNameUpgrade, 41, 0xFFFFFF, "", 1, "Finish3", "Upgrade", lcExtra4, 1, 3, 4, 4, 0, 0, 0, aeUpgrade, pkNone, 13, true, 0},
}};
// clang-format on

// Id, NameText, Unused1, Unused2, Price.
// clang-format off
constinit const std::array<TLicenseInfo, LicenseCount> LicenseInfo = {{
  {lcNone, 0, 0, 0, 0},
  {lcHouse2, sidLicenseNameHouse2, 0, 0, 3000},
  {lcHouse3, sidLicenseNameHouse3, 0, 0, 5000},
  {lcHouse4, sidLicenseNameHouse4, 0, 0, 7000},
  {lcHouse5, sidLicenseNameHouse5, 0, 0, 9000},
  {lcService1,     sidLicenseNameService1, 0, 0, 2000},
  {lcService1 + 1, sidLicenseNameService2, 0, 0, 3000},
  {lcService1 + 2, sidLicenseNameService3, 0, 0, 4000},
  {lcService1 + 3, sidLicenseNameService4, 0, 0, 5000},
  {lcService1 + 4, sidLicenseNameService5, 0, 0, 6000},
  {lcService1 + 5, sidLicenseNameService6, 0, 0, 7000},
  {lcService1 + 6, sidLicenseNameService7, 0, 0, 8000},
  {lcService1 + 7, sidLicenseNameService8, 0, 0, 9000},
  {lcExtra1, sidLicenseNameExtra1, 0, 0, 3000},
  {lcExtra2, sidLicenseNameExtra2, 0, 0, 3500},
  {lcExtra3, sidLicenseNameExtra3, 0, 0, 4000},
  {lcExtra4, sidLicenseNameExtra4, 0, 0, 4500},
  {lcSpec1, sidLicenseNameSpec1, 0, 0, 5000},
  {lcSpec2, sidLicenseNameSpec2, 0, 0, 5500},
}};
// clang-format on

// Id, IncomeBonus (percent), Religion, Commerce, Healthcare, Culture. Record 0 is unused.
// clang-format off
constinit const std::array<TUpgradeInfo, UpgradeCount + 1> UpgradeInfo = {{
  { 0,  0, 0, 0, 0, 0},
  { 1, 20, 0, 0, 0, 0},  // UpgradeHouse1
  { 2, 20, 0, 0, 0, 0},  // UpgradeHouse2
  { 3, 20, 0, 0, 0, 0},  // UpgradeHouse3
  { 4, 20, 0, 0, 0, 0},  // UpgradeHouse4
  { 5, 20, 0, 0, 0, 0},  // UpgradeHouse5
  { 6,  0, 1, 0, 0, 0},  // UpgradeService1
  { 7,  0, 0, 1, 0, 0},  // UpgradeService2
  { 8,  0, 0, 0, 1, 0},  // UpgradeService3
  { 9,  0, 0, 0, 0, 1},  // UpgradeService4
  {10,  0, 2, 0, 0, 0},  // UpgradeService5
  {11,  0, 0, 2, 0, 0},  // UpgradeService6
  {12,  0, 0, 0, 2, 0},  // UpgradeService7
  {13,  0, 0, 0, 0, 2},  // UpgradeService8
}};
// clang-format on

namespace {

// The set of pane kinds First..Last.
constexpr std::uint64_t KindRange(int First, int Last) {
  std::uint64_t Set = 0;
  for (int K = First; K <= Last; ++K)
    Set |= std::uint64_t{1} << K;
  return Set;
}

constexpr std::uint64_t KindSet(int Kind) {
  return KindRange(Kind, Kind);
}

// The set holding the single upgrade N.
constexpr std::uint16_t UpgradeSet(int N) {
  return static_cast<std::uint16_t>(1u << N);
}

}  // namespace

// Id, NameText, Icon, Measure, Kinds, UpgradeMask, ShowValue, Minimum, Maximum.
// clang-format off
constinit const std::array<TGoalInfo, GoalKindCount> GoalInfo = {{
  {gkNone,       0,                     0, gmNothing,    0, 0, false,    0,       0},
  {gkBalance,    sidGoalNameBalance,    1, gmMoney,      0, 0, true,  5000, 5000000},
  {gkWood,       sidGoalNameWood,       2, gmWood,       0, 0, true,   100,   10000},
  {gkStone,      sidGoalNameStone,      3, gmStone,      0, 0, true,   100,   10000},
  {gkWorkers,    sidGoalNameWorkers,    4, gmWorkers,    0, 0, true,    10,     100},
  {gkIncome,     sidGoalNameIncome,     1, gmIncome,     0, 0, true,    50,    5000},
  {gkHappiness,  sidGoalNameHappiness,  9, gmHappiness,  0, 0, true,     5,      50},
  {gkResidents,  sidGoalNameResidents, 26, gmResidents,  0, 0, true,    30,    3000},
  {gkReligion,   sidGoalNameReligion,  27, gmReligion,   0, 0, true,     5,      50},
  {gkCommerce,   sidGoalNameCommerce,  28, gmCommerce,   0, 0, true,     5,      50},
  {gkHealthcare, sidGoalNameHealthcare, 29, gmHealthcare, 0, 0, true,    5,      50},
  {gkCulture,    sidGoalNameCulture,   30, gmCulture,    0, 0, true,     5,      50},
  {gkBuildings,  sidGoalNameBuildings, 12, gmPanes, KindRange(pkHouse1, pkAppeal1), 0, true, 2, 25},
  {gkHouses1,     sidGoalNameHouses1, 12, gmPanes, KindSet(pkHouse1), 0, true, 2, 25},
  {gkHouses1 + 1, sidGoalNameHouses2, 12, gmPanes, KindSet(pkHouse2), 0, true, 2, 25},
  {gkHouses1 + 2, sidGoalNameHouses3, 12, gmPanes, KindSet(pkHouse3), 0, true, 2, 25},
  {gkHouses1 + 3, sidGoalNameHouses4, 12, gmPanes, KindSet(pkHouse4), 0, true, 2, 25},
  {gkHouses1 + 4, sidGoalNameHouses5, 12, gmPanes, KindSet(pkHouse5), 0, true, 2, 25},
  {gkHouses, sidGoalNameHouses, 12, gmPanes, KindRange(pkHouse1, pkHouseOld2), 0, true, 2, 25},
  {gkHousesUpg1,     sidGoalNameHousesUpg1, 12, gmUpgradedPanes, KindRange(pkHouse1, pkHouse5), UpgradeSet(1), true, 2, 25},
  {gkHousesUpg1 + 1, sidGoalNameHousesUpg2, 12, gmUpgradedPanes, KindRange(pkHouse1, pkHouse5), UpgradeSet(2), true, 2, 25},
  {gkHousesUpg1 + 2, sidGoalNameHousesUpg3, 12, gmUpgradedPanes, KindRange(pkHouse1, pkHouse5), UpgradeSet(3), true, 2, 25},
  {gkHousesUpg1 + 3, sidGoalNameHousesUpg4, 12, gmUpgradedPanes, KindRange(pkHouse1, pkHouse5), UpgradeSet(4), true, 2, 25},
  {gkHousesUpg1 + 4, sidGoalNameHousesUpg5, 12, gmUpgradedPanes, KindRange(pkHouse1, pkHouse5), UpgradeSet(5), true, 2, 25},
  {gkHasService1,     sidPaneNameService1, 14, gmPanes, KindSet(pkService1), 0, false, 1, 1},
  {gkHasService1 + 1, sidPaneNameService2, 15, gmPanes, KindSet(pkService2), 0, false, 1, 1},
  {gkHasService1 + 2, sidPaneNameService3, 16, gmPanes, KindSet(pkService3), 0, false, 1, 1},
  {gkHasService1 + 3, sidPaneNameService4, 17, gmPanes, KindSet(pkService4), 0, false, 1, 1},
  {gkHasService1 + 4, sidPaneNameService5, 18, gmPanes, KindSet(pkService5), 0, false, 1, 1},
  {gkHasService1 + 5, sidPaneNameService6, 19, gmPanes, KindSet(pkService6), 0, false, 1, 1},
  {gkHasService1 + 6, sidPaneNameService7, 20, gmPanes, KindSet(pkService7), 0, false, 1, 1},
  {gkHasService1 + 7, sidPaneNameService8, 21, gmPanes, KindSet(pkService8), 0, false, 1, 1},
  {gkHasAppeal1, sidPaneNameAppeal1, 9, gmPanes, KindSet(pkAppeal1), 0, false, 1, 1},
}};
// clang-format on

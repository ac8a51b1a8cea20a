// MissionTextsTests.cpp -- tests of the texts a mission builds for the screen: the number and
// label helpers, and the time, goals, statistics, info and licence panels.
#include <array>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "EngineLanguages.h"
#include "EngineRegister.h"
#include "VexaMission.h"
#include "VexaPlayers.h"

namespace {

// Expected texts written readably: "{N}" stands for the byte N (pictograms, marks, CR).
std::string Bytes(const std::string& Pattern) {
  std::string Result;
  for (std::size_t I = 0; I < Pattern.size(); ++I) {
    if (Pattern[I] == '{') {
      const std::size_t Close = Pattern.find('}', I);
      Result += static_cast<char>(std::stoi(Pattern.substr(I + 1, Close - I - 1)));
      I = Close;
    } else {
      Result += Pattern[I];
    }
  }
  return Result;
}

TInfo InfoLines(std::vector<std::string> Patterns) {
  TInfo Lines;
  for (std::size_t I = 0; I < Patterns.size(); ++I)
    Lines[I] = Bytes(Patterns[I]);
  return Lines;
}

// Every text reads as its id's name without "sid" (sidLabelIncome reads "LabelIncome"), so the
// expected texts show which text went where.
void FillMarkerTexts() {
  for (int Id = 1; Id < kStringCount; ++Id)
    StringTable[Id] = std::string(StringIdName(Id)).substr(3);
}

class MissionTextsTest : public ::testing::Test {
 protected:
  TPlayer Player;
  TMission Mission{&Player};

  void SetUp() override {
    ClearStringTable();
    FillMarkerTexts();
    SavedDifficulty = Register.Difficulty;
    SavedDeadline = Register.Deadline;
    Register.Difficulty = 0;
    Register.Deadline = false;
  }

  void TearDown() override {
    ClearStringTable();
    Register.Difficulty = SavedDifficulty;
    Register.Deadline = SavedDeadline;
  }

  // Pane (0, 0) turned into a fresh, idle pane of Kind and selected.
  TPane& SelectNewPane(std::uint8_t Kind) {
    TPane& Pane = *Mission.Panes[0];
    const TPaneInfo& Info = PaneInfo[Kind];
    Pane.Kind = Kind;
    Pane.Slots = Info.Slots;
    Pane.Upgrades = 1;
    Pane.Residents = Info.Residents;
    Pane.Religion = Info.Religion;
    Pane.Commerce = Info.Commerce;
    Pane.Healthcare = Info.Healthcare;
    Pane.Culture = Info.Culture;
    Mission.Selected = &Pane;
    return Pane;
  }

  void AllSwitches(bool On) { Mission.HappinessOn = Mission.ResidentsOn = Mission.NeedsOn = On; }

 private:
  std::int32_t SavedDifficulty = 0;
  bool SavedDeadline = false;
};

// ---- Formatting helpers ----

class FormatThousandsTest : public ::testing::TestWithParam<char> {
 protected:
  void TearDown() override { ClearStringTable(); }
};

TEST_P(FormatThousandsTest, GroupsUpToTwoSeparators) {
  ThousandsSeparator = GetParam();
  struct Case {
    std::int32_t N;
    const char* Grouped;  // '_' is where the separator goes
  };
  const Case Cases[] = {
      {0, "0"},
      {7, "7"},
      {-7, "-7"},
      {999, "999"},
      {-999, "-999"},
      {1000, "1_000"},
      {-1000, "-1_000"},
      {-5000, "-5_000"},
      {123456, "123_456"},
      {-123456, "-123_456"},
      {999999, "999_999"},
      {1000000, "1_000_000"},
      {1234567, "1_234_567"},
      {-1234567, "-1_234_567"},
      {12345678, "12_345_678"},
      {999999999, "999_999_999"},
      {1000000000, "1000_000_000"},  // ten digits: still two separators
      {INT_MAX, "2147_483_647"},
      {INT_MIN, "-2147_483_648"},
  };
  for (const Case& C : Cases) {
    std::string Expected = C.Grouped;
    for (char& Ch : Expected)
      if (Ch == '_') Ch = GetParam();
    EXPECT_EQ(FormatThousands(C.N), Expected) << C.N;
  }
}

INSTANTIATE_TEST_SUITE_P(Separators, FormatThousandsTest, ::testing::Values(' ', '.', '\xA0'));

TEST(FormatMoneyTest, AppendsTheCurrencySymbol) {
  EXPECT_EQ(FormatMoney(1500), "1 500 Dn");
  EXPECT_EQ(FormatMoney(-2), "-2 Dn");
  ThousandsSeparator = '.';
  CurrencySymbol = "Gold";
  EXPECT_EQ(FormatMoney(INT_MIN), "-2147.483.648 Gold");
  ClearStringTable();
}

TEST_F(MissionTextsTest, BracketTextIsEmptyWithoutText) {
  EXPECT_EQ(BracketText(sidPaneHintHouse), "(PaneHintHouse)");
  EXPECT_EQ(BracketText(sidNone), "");
  StringTable[sidPaneHintHouse].clear();
  EXPECT_EQ(BracketText(sidPaneHintHouse), "");
  EXPECT_EQ(BracketText(-1), "");
  EXPECT_EQ(BracketText(kStringCount), "");
}

TEST_F(MissionTextsTest, AffectTextMarksTheSign) {
  EXPECT_EQ(AffectText(0), Bytes("LabelAffect +0{9}"));
  EXPECT_EQ(AffectText(1), Bytes("LabelAffect +1{9}"));
  EXPECT_EQ(AffectText(12), Bytes("LabelAffect +12{9}"));
  EXPECT_EQ(AffectText(-1), Bytes("LabelAffect -1{10}"));
  EXPECT_EQ(AffectText(-12), Bytes("LabelAffect -12{10}"));
}

TEST_F(MissionTextsTest, ResourceLabelOfEachKind) {
  struct Case {
    int Kind;
    bool Enough;
    const char* Expected;
  };
  const Case Cases[] = {
      {0, true, "{1}{8}{5}LabelCost"},
      {0, false, "{1}{8}{6}LabelCost"},
      {1, true, "{2}{8}{5}LabelWood"},
      {1, false, "{2}{8}{6}LabelWood"},
      {2, true, "{3}{8}{5}LabelStone"},
      {2, false, "{3}{8}{6}LabelStone"},
      {3, true, "{4}{8}{5}LabelWorkers"},
      {3, false, "{4}{8}{6}LabelWorkers"},
      {4, true, "{11}{8}{5}"},
      {4, false, "{11}{8}{6}"},
      {5, true, ""},
      {-1, true, ""},
  };
  for (const Case& C : Cases) {
    EXPECT_EQ(ResourceLabel(C.Kind, C.Enough), Bytes(C.Expected))
        << "kind " << C.Kind << (C.Enough ? " enough" : " not enough");
  }
}

TEST_F(MissionTextsTest, GoalTextByMeasure) {
  struct Case {
    std::uint8_t Kind;
    std::int32_t Value;
    const char* Expected;
  };
  const Case Cases[] = {
      // A target: money and income with the currency, stocks and residents grouped.
      {gkBalance, 5000, "{1} 5 000 Dn GoalNameBalance"},
      {gkIncome, 1234, "{1} 1 234 Dn GoalNameIncome"},
      {gkWood, 1000, "{2} 1 000 GoalNameWood"},
      {gkStone, 250, "{3} 250 GoalNameStone"},
      {gkResidents, 3000, "{26} 3 000 GoalNameResidents"},
      {gkWorkers, 1000, "{4} 1000 GoalNameWorkers"},
      {gkHappiness, 12, "{9} 12 GoalNameHappiness"},
      {gkCulture, 5000, "{30} 5000 GoalNameCulture"},
      {gkHouses1 + 1, 8, "{12} 8 GoalNameHouses2"},
      {gkHousesUpg1, 1000, "{12} 1000 GoalNameHousesUpg1"},
      // No target yet: the range of targets offered.
      {gkBalance, 0, "{1} [5 000 .. 5 000 000] Dn GoalNameBalance"},
      {gkIncome, -1, "{1} [50 .. 5 000] Dn GoalNameIncome"},
      {gkWood, 0, "{2} [100 .. 10 000] GoalNameWood"},
      {gkResidents, INT_MIN, "{26} [30 .. 3 000] GoalNameResidents"},
      {gkWorkers, 0, "{4} [10 .. 100] GoalNameWorkers"},
      {gkHappiness, 0, "{9} [5 .. 50] GoalNameHappiness"},
      {gkBuildings, 0, "{12} [2 .. 25] GoalNameBuildings"},
      // Goals that show no number.
      {gkHasService1 + 2, 1, "{16} PaneNameService3"},
      {gkHasService1 + 7, 0, "{21} PaneNameService8"},
      {gkHasAppeal1, 1, "{9} PaneNameAppeal1"},
      // Outside the table.
      {GoalKindCount, 1, ""},
  };
  for (const Case& C : Cases) {
    EXPECT_EQ(GoalText(C.Kind, C.Value), Bytes(C.Expected))
        << "kind " << int{C.Kind} << " value " << C.Value;
  }
}

TEST_F(MissionTextsTest, GoalTextUsesTheLanguageFormats) {
  ThousandsSeparator = '.';
  CurrencySymbol = "Gold";
  EXPECT_EQ(GoalText(gkBalance, 12000), Bytes("{1} 12.000 Gold GoalNameBalance"));
  EXPECT_EQ(GoalText(gkIncome, 0), Bytes("{1} [50 .. 5.000] Gold GoalNameIncome"));
}

TEST(UpgradeMarksTest, OneMarkPerUpgradeInRisingOrder) {
  struct Case {
    std::uint16_t Upgrades;
    const char* Expected;
  };
  const Case Cases[] = {
      {0x0001, ""},
      {0x0000, ""},
      {0x0003, "{14}"},
      {0x0001 | 1 << 5 | 1 << 1, "{14}{18}"},
      {0x0001 | 1 << 13, "{26}"},
      {0x3FFF, "{14}{15}{16}{17}{18}{19}{20}{21}{22}{23}{24}{25}{26}"},
      {0xC001, ""},  // bits past the last upgrade mean nothing
  };
  for (const Case& C : Cases)
    EXPECT_EQ(UpgradeMarks(C.Upgrades), Bytes(C.Expected)) << C.Upgrades;
}

TEST_F(MissionTextsTest, PaneUpgradeMarks) {
  TPane& Pane = SelectNewPane(pkHouse3);
  EXPECT_EQ(Pane.GetUpgradeMarks(), "");
  Pane.Upgrades |= 1 << 2 | 1 << 4;
  EXPECT_EQ(Pane.GetUpgradeMarks(), Bytes("{15}{17}"));
}

TEST_F(MissionTextsTest, NeedsTextMarksMissingServices) {
  Mission.ServiceCount = {0, 1, 0, 2, 0, 0, 0, 0, 3};
  EXPECT_EQ(Mission.NeedsText(0), "LabelNeeds ");
  EXPECT_EQ(Mission.NeedsText(-1), "LabelNeeds ");
  EXPECT_EQ(Mission.NeedsText(2), Bytes("LabelNeeds {14}{8}{5}{15}{8}{7}"));
  EXPECT_EQ(Mission.NeedsText(4), Bytes("LabelNeeds {14}{8}{5}{15}{8}{7}{16}{8}{5}{17}{8}{7}"));
  const std::string AllEight = Bytes(
      "LabelNeeds "
      "{14}{8}{5}{15}{8}{7}{16}{8}{5}{17}{8}{7}{18}{8}{7}{19}{8}{7}{20}{8}{7}{21}{8}{5}");
  EXPECT_EQ(Mission.NeedsText(8), AllEight);
  // There are eight services; a larger count lists no more.
  EXPECT_EQ(Mission.NeedsText(9), AllEight);
}

// ---- Time panel ----

TEST_F(MissionTextsTest, TimeTextIsEmptyWithNothingToShow) {
  EXPECT_EQ(Mission.GetTimeText(), "");
  Mission.DeadlineTime = 690;                      // the deadline option is off
  Mission.Goals[0] = {gkBalance, false, 5000, 0};  // the trophy goal is hidden
  EXPECT_EQ(Mission.GetTimeText(), "");
}

TEST_F(MissionTextsTest, TimeTextStarTimeOnlyWhileItLasts) {
  Mission.StarTime = 360;
  EXPECT_EQ(Mission.GetTimeText(), Bytes("{24} LabelStarTime 6:00"));
  Mission.Time = 359.99f;
  EXPECT_EQ(Mission.GetTimeText(), Bytes("{24} LabelStarTime 6:00"));
  Mission.Time = 360.0f;
  EXPECT_EQ(Mission.GetTimeText(), "");
  Mission.StarTime = 3725;
  EXPECT_EQ(Mission.GetTimeText(), Bytes("{24} LabelStarTime 1:02:05"));
}

TEST_F(MissionTextsTest, TimeTextTrophyGoalWithItsMark) {
  Mission.ShowTrophyGoal = true;
  Mission.Goals[0] = {gkBalance, false, 5000, 4000};
  EXPECT_EQ(Mission.GetTimeText(), Bytes("{25} LabelTrophyGoal {1} 5 000 Dn GoalNameBalance"));
  Mission.Goals[0].Reached = true;
  EXPECT_EQ(Mission.GetTimeText(), Bytes("{25}{8}{5}LabelTrophyGoal {1} 5 000 Dn GoalNameBalance"));
  Mission.Goals[0] = {};
  EXPECT_EQ(Mission.GetTimeText(), "");
}

TEST_F(MissionTextsTest, TimeTextDeadlineFollowsTheOption) {
  Mission.DeadlineTime = 690;
  Register.Deadline = true;
  EXPECT_EQ(Mission.GetTimeText(), Bytes("{22}{8}{6}LabelDeadline 11:30"));
  Mission.DeadlineTime = 0;
  EXPECT_EQ(Mission.GetTimeText(), "");
}

TEST_F(MissionTextsTest, TimeTextJoinsItsLinesWithCarriageReturns) {
  Register.Deadline = true;
  Mission.StarTime = 240;
  Mission.DeadlineTime = 600;
  Mission.ShowTrophyGoal = true;
  Mission.Goals[0] = {gkHouses1, true, 3, 3};
  EXPECT_EQ(Mission.GetTimeText(), Bytes("{24} LabelStarTime 4:00{13}"
                                         "{25}{8}{5}LabelTrophyGoal {12} 3 GoalNameHouses1{13}"
                                         "{22}{8}{6}LabelDeadline 10:00"));
  Mission.Time = 250.0f;
  Mission.Goals[0].Reached = false;
  EXPECT_EQ(Mission.GetTimeText(), Bytes("{25} LabelTrophyGoal {12} 3 GoalNameHouses1{13}"
                                         "{22}{8}{6}LabelDeadline 10:00"));
}

// ---- Goals panel ----

TEST_F(MissionTextsTest, GoalsTextOneLinePerUsedSlot) {
  EXPECT_EQ(Mission.GetGoalsText(), "");
  Mission.Goals[0] = {gkWood, true, 100, 500};  // the trophy goal is not listed
  Mission.Goals[1] = {gkBalance, true, 5000, 6000};
  Mission.Goals[3] = {gkHouses1 + 1, false, 8, 5};
  EXPECT_EQ(Mission.GetGoalsText(), Bytes("{31}{8}{8}{5} {1} 5 000 Dn GoalNameBalance{13}"
                                          "{31} {12} 8 GoalNameHouses2 (LabelYouHave 5)"));
}

TEST_F(MissionTextsTest, GoalsTextShowsTheCountOnlyForShownPaneCounts) {
  struct Case {
    TGoal Goal;
    const char* Expected;
  };
  const Case Cases[] = {
      {{gkBuildings, false, 10, 7}, "{31} {12} 10 GoalNameBuildings (LabelYouHave 7)"},
      {{gkHousesUpg1 + 2, true, 2, 3}, "{31}{8}{8}{5} {12} 2 GoalNameHousesUpg3 (LabelYouHave 3)"},
      {{gkHouses, false, 4, 0}, "{31} {12} 4 GoalNameHouses (LabelYouHave 0)"},
      {{gkHasService1, false, 1, 0}, "{31} {14} PaneNameService1"},
      {{gkHasAppeal1, true, 1, 1}, "{31}{8}{8}{5} {9} PaneNameAppeal1"},
      {{gkResidents, false, 1000, 250}, "{31} {26} 1 000 GoalNameResidents"},
      {{gkHappiness, false, 10, -3}, "{31} {9} 10 GoalNameHappiness"},
  };
  for (const Case& C : Cases) {
    Mission.Goals[2] = C.Goal;
    EXPECT_EQ(Mission.GetGoalsText(), Bytes(C.Expected)) << "goal kind " << int{C.Goal.Kind};
  }
}

// ---- Statistics panel ----

TEST_F(MissionTextsTest, StatsTextsFillLinesWithoutGaps) {
  Mission.LastIncome = 1234;
  Mission.Happiness = -3;
  Mission.Residents = 1250;
  Mission.Religion = 12;
  Mission.Commerce = 0;
  Mission.Healthcare = 4;
  Mission.Culture = 1500;
  const std::string Income = Bytes("{1} LabelIncome 1 234 Dn");
  const std::string Happiness = Bytes("{9} LabelHappiness -3");
  const std::string Residents = Bytes("{26} LabelResidents 1 250");
  const std::string Religion = Bytes("{27} LabelReligion 12");
  const std::string Commerce = Bytes("{28} LabelCommerce 0");
  const std::string Healthcare = Bytes("{29} LabelHealthcare 4");
  const std::string Culture = Bytes("{30} LabelCulture 1500");
  struct Case {
    bool HappinessOn, ResidentsOn, NeedsOn;
    TStats Expected;
  };
  const Case Cases[] = {
      {false, false, false, {Income}},
      {true, false, false, {Income, Happiness}},
      {false, true, false, {Income, Residents}},
      {false, false, true, {Income, Religion, Commerce, Healthcare, Culture}},
      {true, true, false, {Income, Happiness, Residents}},
      {false, true, true, {Income, Residents, Religion, Commerce, Healthcare, Culture}},
      {true, true, true, {Income, Happiness, Residents, Religion, Commerce, Healthcare, Culture}},
  };
  for (const Case& C : Cases) {
    Mission.HappinessOn = C.HappinessOn;
    Mission.ResidentsOn = C.ResidentsOn;
    Mission.NeedsOn = C.NeedsOn;
    EXPECT_EQ(Mission.GetStatsTexts(), C.Expected) << C.HappinessOn << C.ResidentsOn << C.NeedsOn;
  }
}

// ---- Info panel: nothing hovered ----

TEST_F(MissionTextsTest, InfoTextEmptyWithoutSelection) {
  EXPECT_EQ(Mission.GetInfoText(), TInfo{});
  Mission.SetHoverAction(3);  // a pane slot, but no pane selected
  EXPECT_EQ(Mission.GetInfoText(), TInfo{});
}

TEST_F(MissionTextsTest, InfoTextOfARunningJob) {
  TPane& Plot = SelectNewPane(pkBuildingPlot);
  Plot.Action = akConstructHouse1;
  Plot.Workers = 8;
  Plot.WorkersMax = 12;
  AllSwitches(true);
  EXPECT_EQ(Mission.GetInfoText(),
            InfoLines({"PaneNameBuildingPlot", "(ActionProgressNameConstruct)",
                       "LabelAssignedWorkers 8", "LabelMaxWorkers 12"}));
}

TEST_F(MissionTextsTest, InfoTextOfAnIdleHouse) {
  TPane& House = SelectNewPane(pkHouse2);
  House.IncomeBonus = 20;
  House.Happiness = -1;
  Mission.ServiceCount[1] = 1;  // the second service is missing
  AllSwitches(true);
  // (20 + 100 - 10) x 32 / 100 = 35 per payment.
  const TInfo Normal =
      InfoLines({"PaneNameHouse2", "(PaneHintHouse)", "LabelNeeds {14}{8}{5}{15}{8}{7}",
                 "LabelIncome 35 Dn", "LabelResidents 40"});
  EXPECT_EQ(Mission.GetInfoText(), Normal);
  // Out of range, the pointer is over no action icon.
  for (std::int32_t Hover : {-1, 25, 1000, INT_MIN}) {
    Mission.SetHoverAction(Hover);
    EXPECT_EQ(Mission.GetInfoText(), Normal) << Hover;
  }
  Register.Difficulty = 1;
  EXPECT_EQ(Mission.GetInfoText()[3], "LabelIncome 43 Dn");  // 43.75
  Register.Difficulty = -1;
  EXPECT_EQ(Mission.GetInfoText()[3], "LabelIncome 26 Dn");  // 26.25
}

TEST_F(MissionTextsTest, InfoTextOfAHouseFollowsTheSwitches) {
  TPane& House = SelectNewPane(pkHouse1);
  House.Happiness = -10;  // earns nothing, never less
  EXPECT_EQ(Mission.GetInfoText(),
            InfoLines({"PaneNameHouse1", "(PaneHintHouse)", "LabelIncome 0 Dn"}));
  House.Happiness = -11;
  EXPECT_EQ(Mission.GetInfoText()[2], "LabelIncome 0 Dn");
  House.Happiness = 0;
  House.IncomeBonus = 40;
  Mission.ResidentsOn = true;
  EXPECT_EQ(Mission.GetInfoText(), InfoLines({"PaneNameHouse1", "(PaneHintHouse)",
                                              "LabelIncome 25 Dn", "LabelResidents 27"}));
}

// A damaged saved record can hold any bonus and happiness: the income line stays a sound number
// (held between 0 and the largest 32-bit value) instead of overflowing.
TEST_F(MissionTextsTest, InfoTextIncomeOfExtremeBonusAndHappiness) {
  struct Case {
    std::int32_t IncomeBonus, Happiness;
    const char* Income;
  };
  const Case Cases[] = {
      {INT_MAX, 0, "LabelIncome 386 547 074 Dn"},  // (2147483647 + 100) x 18 / 100
      {0, INT_MAX, "LabelIncome 2147 483 647 Dn"},
      {INT_MIN, INT_MAX, "LabelIncome 2147 483 647 Dn"},
      {0, INT_MIN, "LabelIncome 0 Dn"},
      {INT_MIN, 0, "LabelIncome 0 Dn"},
  };
  TPane& House = SelectNewPane(pkHouse1);
  for (const Case& C : Cases) {
    House.IncomeBonus = C.IncomeBonus;
    House.Happiness = C.Happiness;
    EXPECT_EQ(Mission.GetInfoText()[2], C.Income) << C.IncomeBonus << " " << C.Happiness;
  }
}

TEST_F(MissionTextsTest, InfoTextOfADamagedHouse) {
  TPane& House = SelectNewPane(pkHouse3);
  House.Damaged = true;
  AllSwitches(true);
  EXPECT_EQ(Mission.GetInfoText(),
            InfoLines({"PaneNameHouse3", "(PaneHintDamaged)", "LabelResidents 56"}));
  StringTable[sidPaneHintDamaged].clear();
  EXPECT_EQ(Mission.GetInfoText()[1], "");
}

TEST_F(MissionTextsTest, InfoTextOfPanesThatAffectHappiness) {
  SelectNewPane(pkDebris1);
  Mission.HappinessOn = true;
  EXPECT_EQ(Mission.GetInfoText(),
            InfoLines({"PaneNameDebris", "(PaneHintDebris)", "LabelAffect -1{10}"}));
  SelectNewPane(pkAppeal1);
  EXPECT_EQ(Mission.GetInfoText(),
            InfoLines({"PaneNameAppeal1", "(PaneHintAppeal)", "LabelAffect +1{9}"}));
  Mission.HappinessOn = false;
  EXPECT_EQ(Mission.GetInfoText(), InfoLines({"PaneNameAppeal1", "(PaneHintAppeal)"}));
}

TEST_F(MissionTextsTest, InfoTextOfAServiceListsItsPoints) {
  TPane& Temple = SelectNewPane(pkService5);
  Temple.Religion = 5;
  Temple.Culture = 1;
  AllSwitches(true);
  EXPECT_EQ(Mission.GetInfoText(), InfoLines({"PaneNameService5", "(PaneHintReligion)",
                                              "LabelReligion 5", "LabelCulture 1"}));
  Mission.NeedsOn = false;
  EXPECT_EQ(Mission.GetInfoText(), InfoLines({"PaneNameService5", "(PaneHintReligion)"}));
}

TEST_F(MissionTextsTest, InfoTextOfSceneryWithoutHint) {
  SelectNewPane(pkGrass);
  AllSwitches(true);
  EXPECT_EQ(Mission.GetInfoText(), InfoLines({"PaneNameGrass"}));
}

// ---- Info panel: town icons ----

TEST_F(MissionTextsTest, InfoTextOfTheTownIcons) {
  Mission.Money = 500;
  struct Case {
    std::int32_t Hover;
    TInfo Expected;
  };
  const Case Cases[] = {
      {15, InfoLines({"ActionNameCollecting", "(ActionHintCollecting)"})},
      {16, InfoLines(
               {"ActionNameOrderWood", "(ActionHintOrderMaterial)", "{1}{8}{5}LabelCost 500 Dn"})},
      {17, InfoLines(
               {"ActionNameOrderStone", "(ActionHintOrderMaterial)", "{1}{8}{5}LabelCost 500 Dn"})},
      {18, InfoLines({"ActionNameTrainWorker", "(ActionHintTrainWorker)",
                      "{1}{8}{6}LabelCost 1 500 Dn"})},
      {19, InfoLines({"ActionNameBuyLicense", "(ActionHintBuyLicense)"})},
      {20, InfoLines({"ActionNamePause", "(ActionHintPause)"})},
      {21, InfoLines({"ActionNameRestart", "(ActionHintRestart)"})},
      {22, InfoLines({"ActionNameHelp", "(ActionHintHelp)"})},
      {23, InfoLines({"ActionNameOptions", "(ActionHintOptions)"})},
      {24, InfoLines({"ActionNameExit", "(ActionHintExit)"})},
  };
  for (const Case& C : Cases) {
    Mission.SetHoverAction(C.Hover);
    EXPECT_EQ(Mission.GetInfoText(), C.Expected) << "icon " << C.Hover;
  }
  // A selected pane changes nothing for the town icons.
  SelectNewPane(pkHouse1);
  Mission.SetHoverAction(24);
  EXPECT_EQ(Mission.GetInfoText(), InfoLines({"ActionNameExit", "(ActionHintExit)"}));
}

TEST_F(MissionTextsTest, InfoTextOfTheOrderIconsComparesMoneyWithThePrice) {
  Mission.Money = 499;
  Mission.SetHoverAction(16);
  EXPECT_EQ(Mission.GetInfoText()[2], Bytes("{1}{8}{6}LabelCost 500 Dn"));
  Mission.SetHoverAction(17);
  Mission.StonePrice = 450;
  EXPECT_EQ(Mission.GetInfoText()[2], Bytes("{1}{8}{5}LabelCost 450 Dn"));
}

TEST_F(MissionTextsTest, InfoTextOfTrainingWithTheCheaperLicence) {
  Mission.OwnedLicenses = 1u | 1u << lcSpec1;
  Mission.Money = 900;
  Mission.SetHoverAction(18);
  EXPECT_EQ(Mission.GetInfoText()[2], Bytes("{1}{8}{5}LabelCost 900 Dn"));
  Mission.Money = 899;
  EXPECT_EQ(Mission.GetInfoText()[2], Bytes("{1}{8}{6}LabelCost 900 Dn"));
}

// ---- Info panel: pane actions ----

TEST_F(MissionTextsTest, InfoTextOfAddingAWorker) {
  TPane& Plot = SelectNewPane(pkBuildingPlot);
  Plot.Action = akConstructHouse1;
  Plot.Workers = 8;
  Plot.WorkersMax = 12;
  Mission.FreeWorkers = 3;
  Mission.SetHoverAction(0);
  std::vector<std::string> Head = {"ActionNameAssignWorker", "(ActionHintAssignWorker)",
                                   "LabelAssignedWorkers 8", "LabelMaxWorkers 12"};
  EXPECT_EQ(Mission.GetInfoText(), InfoLines(Head));
  Mission.FreeWorkers = 0;
  auto WithLast = [&Head](const std::string& Last) {
    auto Lines = Head;
    Lines.push_back(Last);
    return InfoLines(Lines);
  };
  EXPECT_EQ(Mission.GetInfoText(), WithLast("LabelNoWorkers"));
  Mission.FreeWorkers = -2;
  EXPECT_EQ(Mission.GetInfoText(), WithLast("LabelNoWorkers"));
  Plot.Workers = 12;  // full: says so even with no free worker
  Head[2] = "LabelAssignedWorkers 12";
  EXPECT_EQ(Mission.GetInfoText(), WithLast("LabelMaxWorkersAssigned"));
}

TEST_F(MissionTextsTest, InfoTextOfAddingAWorkerToAnIdlePane) {
  SelectNewPane(pkHouse1);
  Mission.FreeWorkers = 5;
  Mission.SetHoverAction(0);
  EXPECT_EQ(Mission.GetInfoText(),
            InfoLines({"ActionNameAssignWorker", "(ActionHintAssignWorker)",
                       "LabelAssignedWorkers 0", "LabelMaxWorkers 0", "LabelMaxWorkersAssigned"}));
}

TEST_F(MissionTextsTest, InfoTextOfAnEmptySlot) {
  SelectNewPane(pkHouse1);  // slot 6 of a house is empty
  Mission.FreeWorkers = 0;
  Mission.SetHoverAction(6);
  EXPECT_EQ(Mission.GetInfoText(), InfoLines({"", "", "{4}{8}{5}LabelWorkers 0"}));
  Mission.FreeWorkers = -1;
  EXPECT_EQ(Mission.GetInfoText(), InfoLines({"", "", "{4}{8}{6}LabelWorkers 0"}));
}

TEST_F(MissionTextsTest, InfoTextOfConstructions) {
  AllSwitches(true);
  struct Case {
    int Slot;
    std::int32_t Wood, Stone, FreeWorkers;
    std::uint32_t Owned;
    std::int32_t Difficulty;
    TInfo Expected;
  };
  const Case Cases[] = {
      // House1 needs no licence: what it gives starts on line 4.
      {1, 40, 9, 8, 1u, 0,
       InfoLines({"ActionNameConstructHouse1", "(PaneHintHouse)",
                  "{2}{8}{5}LabelWood 40  {3}{8}{6}LabelStone 10  {4}{8}{5}LabelWorkers 8", "",
                  "LabelIncome 18 Dn", "LabelResidents 27"})},
      {1, 39, 10, 7, 1u, 1,
       InfoLines({"ActionNameConstructHouse1", "(PaneHintHouse)",
                  "{2}{8}{6}LabelWood 40  {3}{8}{5}LabelStone 10  {4}{8}{6}LabelWorkers 8", "",
                  "LabelIncome 22 Dn", "LabelResidents 27"})},
      {2, 60, 30, 12, 1u, -1,
       InfoLines({"ActionNameConstructHouse2", "(PaneHintHouse)",
                  "{2}{8}{5}LabelWood 60  {3}{8}{5}LabelStone 30  {4}{8}{5}LabelWorkers 12",
                  "{11}{8}{6}LicenseNameHouse2", "LabelIncome 24 Dn", "LabelResidents 40"})},
      {2, 60, 30, 12, 1u | 1u << lcHouse2, 0,
       InfoLines({"ActionNameConstructHouse2", "(PaneHintHouse)",
                  "{2}{8}{5}LabelWood 60  {3}{8}{5}LabelStone 30  {4}{8}{5}LabelWorkers 12",
                  "{11}{8}{5}LicenseNameHouse2", "LabelIncome 32 Dn", "LabelResidents 40"})},
      {6, 0, 0, 0, 1u, 0,
       InfoLines({"ActionNameConstructService1", "(PaneHintReligion)",
                  "{2}{8}{6}LabelWood 70  {3}{8}{6}LabelStone 40  {4}{8}{6}LabelWorkers 12",
                  "{11}{8}{6}LicenseNameService1", "LabelReligion 2"})},
      {14, 40, 20, 10, 1u, 0,
       InfoLines({"ActionNameConstructAppeal1", "(PaneHintAppeal)",
                  "{2}{8}{5}LabelWood 40  {3}{8}{5}LabelStone 20  {4}{8}{5}LabelWorkers 10", "",
                  "LabelAffect +1{9}"})},
  };
  SelectNewPane(pkBuildingPlot);
  for (const Case& C : Cases) {
    Mission.Wood = C.Wood;
    Mission.Stone = C.Stone;
    Mission.FreeWorkers = C.FreeWorkers;
    Mission.OwnedLicenses = C.Owned;
    Register.Difficulty = C.Difficulty;
    Mission.SetHoverAction(C.Slot);
    EXPECT_EQ(Mission.GetInfoText(), C.Expected) << "slot " << C.Slot;
  }
}

TEST_F(MissionTextsTest, InfoTextOfAConstructionFollowsTheSwitches) {
  SelectNewPane(pkBuildingPlot);
  Mission.SetHoverAction(1);
  EXPECT_EQ(Mission.GetInfoText()[4], "LabelIncome 18 Dn");
  EXPECT_EQ(Mission.GetInfoText()[5], "");
  Mission.SetHoverAction(6);
  EXPECT_EQ(Mission.GetInfoText()[4], "");
  Mission.SetHoverAction(14);
  EXPECT_EQ(Mission.GetInfoText()[4], "");
}

TEST_F(MissionTextsTest, InfoTextOfClearing) {
  AllSwitches(true);
  Mission.FreeWorkers = 10;
  Mission.Money = 1499;
  SelectNewPane(pkForest1 + 3);
  Mission.SetHoverAction(2);
  EXPECT_EQ(Mission.GetInfoText(),
            InfoLines({"ActionNameClear", "(ActionHintClear)", "{4}{8}{5}LabelWorkers 10",
                       "{1}{8}{6}LabelCost 1 500 Dn", "LabelRecoveredWood 200"}));
  SelectNewPane(pkStones);
  Mission.Money = 1500;
  EXPECT_EQ(Mission.GetInfoText(),
            InfoLines({"ActionNameClear", "(ActionHintClear)", "{4}{8}{6}LabelWorkers 14",
                       "{1}{8}{5}LabelCost 1 500 Dn", "LabelRecoveredStone 200"}));
  SelectNewPane(pkDebris2);
  EXPECT_EQ(Mission.GetInfoText(),
            InfoLines({"ActionNameClear", "(ActionHintClear)", "{4}{8}{5}LabelWorkers 8",
                       "{1}{8}{5}LabelCost 1 000 Dn", "LabelRecoveredWood 10",
                       "LabelRecoveredStone 20"}));
}

TEST_F(MissionTextsTest, InfoTextOfDemolishingAndRepairing) {
  AllSwitches(true);
  Mission.FreeWorkers = 4;
  Mission.Wood = 8;
  Mission.Stone = 1;
  TPane& House = SelectNewPane(pkHouse1);
  Mission.SetHoverAction(14);
  EXPECT_EQ(Mission.GetInfoText(),
            InfoLines({"ActionNameDemolish", "(ActionHintDemolish)", "{4}{8}{5}LabelWorkers 4"}));
  House.Damaged = true;
  Mission.SetHoverAction(8);
  EXPECT_EQ(Mission.GetInfoText(),
            InfoLines({"ActionNameRepair", "(ActionHintRepair)",
                       "{2}{8}{5}LabelWood 8  {3}{8}{6}LabelStone 2  {4}{8}{5}LabelWorkers 4"}));
}

TEST_F(MissionTextsTest, InfoTextOfUpgrades) {
  AllSwitches(true);
  Mission.Wood = 100;
  Mission.Stone = 100;
  Mission.FreeWorkers = 20;
  SelectNewPane(pkHouse1);
  Mission.SetHoverAction(1);
  EXPECT_EQ(Mission.GetInfoText(),
            InfoLines({"ActionNameUpgradeHouse1", "(ActionHintUpgradeIncome)",
                       "{2}{8}{5}LabelWood 12  {3}{8}{5}LabelStone 3  {4}{8}{5}LabelWorkers 4", "",
                       "LabelIncome  +20%"}));
  Mission.SetHoverAction(2);
  Mission.OwnedLicenses = 1u | 1u << lcExtra1;
  EXPECT_EQ(Mission.GetInfoText(),
            InfoLines({"ActionNameUpgradeHouse2", "(ActionHintUpgradeIncome)",
                       "{2}{8}{5}LabelWood 8  {3}{8}{5}LabelStone 3  {4}{8}{5}LabelWorkers 4",
                       "{11}{8}{5}LicenseNameExtra1", "LabelIncome  +20%"}));
  // An upgrade of a service has no hint and adds need points, shown only with the needs on.
  SelectNewPane(pkService5);
  Mission.OwnedLicenses = 1u;
  EXPECT_EQ(Mission.GetInfoText(),
            InfoLines({"ActionNameUpgradeService5", "",
                       "{2}{8}{5}LabelWood 56  {3}{8}{5}LabelStone 80  {4}{8}{5}LabelWorkers 10",
                       "{11}{8}{6}LicenseNameExtra1", "LabelReligion +2"}));
  Mission.NeedsOn = false;
  EXPECT_EQ(Mission.GetInfoText()[4], "");
}

// ---- Licence tooltip ----

TEST_F(MissionTextsTest, LicenseTextEmptyOutsideTheLicences) {
  Mission.LicensesOnSale = 0x7FFFF;
  for (std::int32_t Id : {-1, 0, 19, 31, 32, 1000, INT_MIN, INT_MAX}) {
    Mission.SetHoverLicense(Id);
    EXPECT_EQ(Mission.GetLicenseText(), "") << Id;
  }
}

TEST_F(MissionTextsTest, LicenseTextByState) {
  Mission.OwnedLicenses = 1u | 1u << lcExtra2;
  Mission.LicensesOnSale = 1u << lcHouse2 | 1u << lcSpec2 | 1u << lcExtra2;
  Mission.Money = 3000;
  struct Case {
    std::int32_t Id;
    const char* Expected;
  };
  const Case Cases[] = {
      {lcHouse2, "LicenseNameHouse2{13}{1}{8}{5}LabelCost 3 000 Dn"},
      {lcSpec2, "LicenseNameSpec2{13}{1}{8}{6}LabelCost 5 500 Dn"},
      {lcExtra2, "LicenseNameExtra2{13}LabelOwned"},
      {lcHouse3, "LicenseNameHouse3{13}LabelLocked"},
  };
  for (const Case& C : Cases) {
    Mission.SetHoverLicense(C.Id);
    EXPECT_EQ(Mission.GetLicenseText(), Bytes(C.Expected)) << C.Id;
  }
}

}  // namespace

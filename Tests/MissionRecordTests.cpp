// MissionRecordTests.cpp -- tests of the tutorial stages (tables, moving on, skipping) and of the
// mission's saved record (layout, round trips, damaged and truncated records).
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "EngineLanguages.h"
#include "EngineRegister.h"
#include "EngineStreams.h"
#include "EngineUtils.h"
#include "VexaMission.h"
#include "VexaPlayers.h"

namespace {

constexpr std::size_t PaneRecordSize = 93;
constexpr std::size_t PanePartSize = 25 * PaneRecordSize;  // 2325
constexpr std::size_t RecordSize = 2526;                   // without a selected pane
constexpr std::size_t SelectedRecordSize = 2534;

// Restores the deadline option that some stage rules read.
class TDeadlineOption {
 public:
  explicit TDeadlineOption(bool On) : Saved(Register.Deadline) { Register.Deadline = On; }
  ~TDeadlineOption() { Register.Deadline = Saved; }

 private:
  bool Saved;
};

std::string Save(const TMission& Mission) {
  std::string Bytes;
  TStreamWriter Writer(Bytes);
  Mission.SaveToStream(Writer);
  return Bytes;
}

std::string SavePane(const TPane& Pane) {
  std::string Bytes;
  TStreamWriter Writer(Bytes);
  Pane.SaveToStream(Writer);
  return Bytes;
}

// Loads Bytes into Mission and returns how many bytes the record took.
std::size_t Load(TMission& Mission, const std::string& Bytes) {
  TStreamReader Reader(Bytes);
  Mission.LoadFromStream(Reader);
  return Reader.Position();
}

// "0A 1B ..." for the bytes, so that a failing comparison shows where the bytes differ.
std::string Hex(const std::string& Bytes) {
  std::string Text;
  for (const char Byte : Bytes) {
    char Pair[4];
    std::snprintf(Pair, sizeof Pair, "%02X ", static_cast<unsigned char>(Byte));
    Text += Pair;
  }
  if (!Text.empty()) Text.pop_back();
  return Text;
}

std::string Int32Bytes(std::int32_t Value) {
  std::string Bytes(4, '\0');
  for (int I = 0; I < 4; ++I) {
    Bytes[static_cast<std::size_t>(I)] =
        static_cast<char>(static_cast<std::uint32_t>(Value) >> (8 * I) & 0xFF);
  }
  return Bytes;
}

// Overwrites the record at Offset.
void Patch(std::string& Record, std::size_t Offset, const std::string& Bytes) {
  Record.replace(Offset, Bytes.size(), Bytes);
}

TPane& PaneAt(TMission& Mission, int Row, int Column) {
  return *Mission.GetPane(Row, Column);
}

// A mission in the middle of play, built field by field: every pane has a job and values of its
// own, orders and training are under way, three goals and the trophy goal are set, licences are
// bought and the tutorial of scenario 2 is at its ninth stage.
void FillBusyMission(TMission& M) {
  for (int I = 0; I < 25; ++I) {
    TPane& P = *M.Panes[static_cast<std::size_t>(I)];
    P.Look = I % 4;
    P.Kind = static_cast<std::uint8_t>(I * 2 % PaneKindCount);
    P.Variant = I % 3;
    P.Upgrades = static_cast<std::uint16_t>(1 | I << 1);
    for (int S = 0; S < SlotCount; ++S) {
      P.Slots[static_cast<std::size_t>(S)] = static_cast<std::uint8_t>((I + S) % ActionKindCount);
    }
    P.Damageable = I % 2 == 0;
    P.DamageDelay = 390.0f + static_cast<float>(I) * 7.25f;
    P.Damaged = I % 3 == 0;
    P.DamagePhase = static_cast<float>(I) * 0.03125f;
    P.Happiness = I - 5;
    P.IncomeBonus = 20 * (I % 4);
    P.Residents = 27 + I;
    P.Religion = I;
    P.Commerce = I + 1;
    P.Healthcare = I + 2;
    P.Culture = I + 3;
    P.Action = static_cast<std::uint8_t>(I * 5 % ActionKindCount);
    P.Workers = I % 9;
    P.WorkNeeded = 160.0f + static_cast<float>(I);
    P.WoodSpent = 40 + I;
    P.StoneSpent = 10 + I;
    P.WorkersStart = 8;
    P.WorkersMax = 16 + I;
    P.WorkDone = 12.5f + static_cast<float>(I) * 0.5f;
  }
  M.Selected = M.GetPane(2, 4);
  M.Scenario = 2;
  M.Time = 123.25f;
  M.StarTime = 240;
  M.DeadlineTime = 690;
  M.DeadlinePassed = true;
  M.IncomeTimer = 3.5f;
  M.GoalsReached = false;
  M.Goals[0] = {gkHouses, false, 5, 2};
  M.Goals[1] = {gkResidents, true, 250, 260};
  M.Goals[2] = {gkHousesUpg1, false, 2, 1};
  M.Goals[3] = {gkHasAppeal1, true, 1, 1};
  M.Money = 5432;
  M.LastIncome = 87;
  M.IncomeAccumulator = 41.75f;
  M.Residents = 135;
  M.Happiness = 4;
  M.Religion = 2;
  M.Commerce = 3;
  M.Healthcare = -1;
  M.Culture = 1;
  M.ServiceCount = {0, 1, 2, 0, 1, 0, 0, 5, 3};
  M.Wood = 90;
  M.WoodOrders = 2;
  M.WoodTimer = 4.5f;
  M.Stone = 30;
  M.StoneOrders = 0;
  M.StoneTimer = 1.25f;
  M.Workers = 11;
  M.FreeWorkers = 3;
  M.Trainees = 1;
  M.TrainTimer = 9.75f;
  M.OwnedLicenses = 1u | 1u << lcHouse2 | 1u << lcSpec2;
  M.LicensesOnSale = (1u << LicenseCount) - 1;
  M.StartShown = true;
  M.Stage = 9;
  M.StageMark = 9;
  M.ShowTrophyGoal = false;
  M.DamageOn = true;
  M.HappinessOn = true;
  M.ResidentsOn = false;
  M.NeedsOn = true;
}

// Every field of a stage, for comparing against a row of a tutorial table.
void ExpectStage(const TStage& Actual, const TStage& Expected, const std::string& Where) {
  SCOPED_TRACE(Where);
  EXPECT_EQ(Actual.Kind, Expected.Kind);
  EXPECT_EQ(Actual.X, Expected.X);
  EXPECT_EQ(Actual.Y, Expected.Y);
  EXPECT_EQ(Actual.Text, Expected.Text);
  EXPECT_EQ(Actual.Control, Expected.Control);
  EXPECT_EQ(Actual.ControlArrow, Expected.ControlArrow);
  EXPECT_EQ(Actual.Arrow, Expected.Arrow);
  EXPECT_EQ(Actual.ArrowDirection, Expected.ArrowDirection);
  EXPECT_EQ(Actual.ArrowX, Expected.ArrowX);
  EXPECT_EQ(Actual.ArrowY, Expected.ArrowY);
  EXPECT_EQ(Actual.OpensLicenses, Expected.OpensLicenses);
}

TStage MakeStage(std::uint8_t Kind, int X, int Y, int Text, const char* Control, int ControlArrow,
                 bool Arrow, int ArrowDirection, float ArrowX, float ArrowY, bool OpensLicenses) {
  TStage Stage;
  Stage.Kind = Kind;
  Stage.X = X;
  Stage.Y = Y;
  Stage.Text = Text;
  Stage.Control = Control;
  Stage.ControlArrow = ControlArrow;
  Stage.Arrow = Arrow;
  Stage.ArrowDirection = ArrowDirection;
  Stage.ArrowX = ArrowX;
  Stage.ArrowY = ArrowY;
  Stage.OpensLicenses = OpensLicenses;
  return Stage;
}

// Appends a stage of the given kind with nothing else set.
void AddBareStage(TMission& M, std::uint8_t Kind, int X = 0, int Y = 0, float ArrowX = 0.0f) {
  M.AddStage(Kind, X, Y, sidNone, "", 0, false, 0, ArrowX, 0.0f, false);
}

// ---- Setting the stages up ---------------------------------------------------------------------

TEST(MissionStagesSetupTest, TutorialLengthsAndMapNames) {
  const TDeadlineOption Deadline(true);
  struct Case {
    int Scenario;
    std::size_t Stages;  // stage 0 included
    const char* MapName;
  };
  const Case Cases[] = {
      {1, 20, "Map1"},  {2, 27, "Map2"}, {3, 36, "Map3"},  {4, 39, "Map4"}, {5, 5, "Map5"},
      {6, 3, "Map6"},   {7, 1, "Map7"},  {24, 1, "Map24"}, {25, 1, "Map1"}, {30, 1, "Map6"},
      {48, 1, "Map24"}, {0, 1, ""},      {49, 1, ""},      {-3, 1, ""},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE("scenario " + std::to_string(C.Scenario));
    TPlayer Player;
    TMission M(&Player);
    M.MapName = "Stale";
    M.SetupStages(C.Scenario);
    EXPECT_EQ(M.Stages.size(), C.Stages);
    EXPECT_EQ(M.MapName, C.MapName);
    ExpectStage(M.Stages[0], TStage{}, "stage 0");
  }
}

TEST(MissionStagesSetupTest, ResetsPauseAndHoverAndKeepsThePosition) {
  TPlayer Player;
  TMission M(&Player);
  M.Paused = true;
  M.HoverAction = 4;
  M.HoverLicense = 7;
  M.Stage = 3;
  M.StageMark = 2;
  M.SetupStages(1);
  EXPECT_FALSE(M.Paused);
  EXPECT_EQ(M.HoverAction, -1);
  EXPECT_EQ(M.HoverLicense, -1);
  EXPECT_EQ(M.Stage, 3);
  EXPECT_EQ(M.StageMark, 2);
}

TEST(MissionStagesSetupTest, CampaignDrawsStartThenEndTextSandboxDrawsNothing) {
  bool SawDifferentDraws = false;
  for (std::uint32_t Seed = 1; Seed <= 12; ++Seed) {
    SCOPED_TRACE("seed " + std::to_string(Seed));
    Randomize(Seed);
    const int StartDraw = Random(3);
    const int EndDraw = Random(3);
    const int NextDraw = Random(1000);
    SawDifferentDraws = SawDifferentDraws || StartDraw != EndDraw;

    TPlayer Player;
    TMission Campaign(&Player);
    Randomize(Seed);
    Campaign.SetupStages(9);
    EXPECT_EQ(Campaign.StartText, sidScenarioStart1 + StartDraw);
    EXPECT_EQ(Campaign.EndText, sidScenarioEnd1 + EndDraw);
    EXPECT_EQ(Random(1000), NextDraw);

    TMission Sandbox(&Player);
    Sandbox.StartText = sidScenarioStart2;
    Sandbox.EndText = sidScenarioEnd2;
    Randomize(Seed);
    Sandbox.SetupStages(33);
    EXPECT_EQ(Sandbox.StartText, sidNone);
    EXPECT_EQ(Sandbox.EndText, sidNone);
    EXPECT_EQ(Random(3), StartDraw);  // the generator was not touched
  }
  EXPECT_TRUE(SawDifferentDraws) << "the seeds do not tell the two draws apart";
}

TEST(MissionStagesSetupTest, Scenario5TutorialOnlyUntilItsTrophyIsWon) {
  struct Case {
    TScenarioProgress Progress;
    std::size_t Stages;
  };
  const Case Cases[] = {
      {{0, 0, 0}, 5},
      {{1, 1, 0}, 5},
      {{1, 0, 1}, 1},
  };
  for (const Case& C : Cases) {
    TPlayer Player;
    Player.SetProgress(5, C.Progress);
    TMission M(&Player);
    M.SetupStages(5);
    EXPECT_EQ(M.Stages.size(), C.Stages) << "trophy " << int{C.Progress.Trophy};
  }
  TMission Unowned(nullptr);
  Unowned.SetupStages(5);
  EXPECT_EQ(Unowned.Stages.size(), 5u);
}

TEST(MissionStagesSetupTest, Scenario6TutorialWithDeadlinesOrWhenAlreadyInside) {
  struct Case {
    bool Deadline;
    std::int32_t Stage;
    std::size_t Stages;
  };
  const Case Cases[] = {
      {false, 0, 1},
      {true, 0, 3},
      {false, 1, 3},
      {false, 2, 3},
  };
  for (const Case& C : Cases) {
    const TDeadlineOption Deadline(C.Deadline);
    TPlayer Player;
    TMission M(&Player);
    M.Stage = C.Stage;
    M.SetupStages(6);
    EXPECT_EQ(M.Stages.size(), C.Stages) << "deadline " << C.Deadline << ", stage " << C.Stage;
  }
}

TEST(MissionStagesSetupTest, TableRowsAsWritten) {
  const TDeadlineOption Deadline(true);
  struct Case {
    int Scenario;
    std::size_t Index;
    TStage Expected;
  };
  const Case Cases[] = {
      {1, 1, MakeStage(skWait, 0, 0, sidStageTutorial1_1, "", 0, true, 3, 130, -335, false)},
      {1, 2, MakeStage(skWait, -90, -150, sidStageTutorial1_2, "Pane13", 0, false, 0, 0, 0, false)},
      {1, 6, MakeStage(skWait, 110, -50, sidStageTutorial1_5, "", 1, true, 1, -410, 335, false)},
      {1, 10, MakeStage(skDamageNow, 1, 3, sidNone, "", 0, false, 0, 0, 0, false)},
      {1, 19,
       MakeStage(skWait, 60, -100, sidStageTutorial1_15, "Action1", 0, false, 0, 0, 0, false)},
      {2, 3, MakeStage(skWait, 0, 0, sidNone, "Action1", 0, false, 0, 0, 0, false)},
      {2, 6,
       MakeStage(skWait, 160, 100, sidStageTutorial2_4, "Action19", 1, false, 0, 0, 0, false)},
      {2, 7, MakeStage(skWait, 0, 0, sidNone, "License1", 0, false, 0, 0, 0, true)},
      {2, 8, MakeStage(skWaitKey, 0, 0, sidNone, "Close", 0, false, 0, 0, 0, false)},
      {2, 26, MakeStage(skSetDamageDelay, 3, 3, sidNone, "", 0, false, 0, 50, 0, false)},
      {3, 8, MakeStage(skWait, 0, 0, sidNone, "License6", 0, false, 0, 0, 0, true)},
      {3, 18, MakeStage(skWait, -40, -50, sidStageTutorial3_9, "Pane03", 3, false, 0, 0, 0, false)},
      {3, 31, MakeStage(skWait, 10, 50, sidStageTutorial3_17, "", 0, true, 2, -500, -252, false)},
      {3, 35, MakeStage(skSetDamageDelay, 1, 3, sidNone, "", 0, false, 0, 60, 0, false)},
      {4, 2, MakeStage(skWait, 110, 50, sidStageTutorial4_2, "", 0, true, 2, -510, -225, false)},
      {4, 24, MakeStage(skWait, 0, 0, sidNone, "License13", 0, false, 0, 0, 0, true)},
      {4, 36, MakeStage(skDamageOn, 0, 0, sidNone, "", 0, false, 0, 0, 0, false)},
      {4, 38, MakeStage(skSetDamageDelay, 2, 3, sidNone, "", 0, false, 0, 180, 0, false)},
      {5, 2, MakeStage(skWait, 160, -50, sidStageTutorial5_2, "", 0, true, 2, -480, -210, false)},
      {5, 4, MakeStage(skWait, 110, -50, sidStageTutorial5_4, "", 0, false, 0, 0, 0, false)},
      {6, 1, MakeStage(skWait, 0, 0, sidStageTutorial6_1, "", 0, true, 2, -320, -320, false)},
      {6, 2, MakeStage(skWait, 100, 50, sidStageTutorial6_2, "", 0, false, 0, 0, 0, false)},
  };
  for (const Case& C : Cases) {
    TPlayer Player;
    TMission M(&Player);
    M.SetupStages(C.Scenario);
    ASSERT_LT(C.Index, M.Stages.size());
    ExpectStage(M.Stages[C.Index], C.Expected,
                "scenario " + std::to_string(C.Scenario) + " stage " + std::to_string(C.Index));
  }
}

// Each tutorial can be walked from its start back to stage 0 without a bad key stage, and the
// instant stages never leave the walk at a stage that only acts.
TEST(MissionStagesSetupTest, EveryTutorialWalksThroughToTheEnd) {
  const TDeadlineOption Deadline(true);
  for (int Scenario = 1; Scenario <= 6; ++Scenario) {
    SCOPED_TRACE("scenario " + std::to_string(Scenario));
    TPlayer Player;
    TMission M(&Player);
    M.SetupStages(Scenario);
    std::size_t Waits = 0;
    do {
      ASSERT_NO_THROW(M.NextStage());
      const std::uint8_t Kind = M.GetStage().Kind;
      EXPECT_TRUE(Kind == skWait || Kind == skWaitKey) << "at stage " << M.Stage;
      ++Waits;
    } while (M.Stage != 0 && Waits <= M.Stages.size());
    EXPECT_EQ(M.Stage, 0);
    EXPECT_EQ(M.StageMark, 0);
  }
}

// ---- Moving on --------------------------------------------------------------------------------

TEST(MissionStagesTest, StartDialogEntersStageOneOnlyWhenThereIsATutorial) {
  TPlayer Player;
  TMission Tutorial(&Player);
  Tutorial.SetupStages(1);
  Tutorial.NextStage();
  EXPECT_EQ(Tutorial.Stage, 1);
  EXPECT_EQ(Tutorial.StageMark, 1);
  EXPECT_EQ(Tutorial.GetStage().Text, sidStageTutorial1_1);

  TMission Plain(&Player);
  Plain.SetupStages(12);
  Plain.NextStage();
  EXPECT_EQ(Plain.Stage, 0);
  EXPECT_EQ(Plain.GetStage().Text, sidNone);
}

TEST(MissionStagesTest, InstantStagesActAndPassOn) {
  TPlayer Player;
  TMission M(&Player);
  M.SetupStages(1);
  TPane& Target = PaneAt(M, 1, 3);
  Target.Damageable = true;
  Target.DamageDelay = 300.0f;
  Target.DamagePhase = 0.5f;
  M.Selected = &PaneAt(M, 2, 2);
  M.Stage = 9;

  M.NextStage();  // 10 damages pane (1, 3), 11 deselects, 12 waits

  EXPECT_EQ(M.Stage, 12);
  EXPECT_EQ(M.StageMark, 12);
  EXPECT_EQ(M.Selected, nullptr);
  EXPECT_TRUE(Target.Damaged);
  EXPECT_EQ(Target.DamageDelay, 0.0f);
  EXPECT_EQ(Target.DamagePhase, 0.0f);
  EXPECT_TRUE(Target.SoundEvent.empty());  // the stage plays its sound itself
  EXPECT_FALSE(M.DamageOn);                // damaged even with damage off
}

TEST(MissionStagesTest, DamageStagesLeaveUndamageableAndMissingPanesAlone) {
  TPlayer Player;
  TMission M(&Player);
  M.Stages.emplace_back();
  AddBareStage(M, skDamageNow, 1, 3);
  AddBareStage(M, skSetDamageDelay, 1, 3, 25.0f);
  AddBareStage(M, skDamageNow, 5, 0);
  AddBareStage(M, skSetDamageDelay, -1, 2, 25.0f);
  AddBareStage(M, skWait);
  TPane& Plain = PaneAt(M, 1, 3);
  Plain.Damageable = false;
  Plain.DamageDelay = 300.0f;

  M.NextStage();

  EXPECT_EQ(M.Stage, 5);
  EXPECT_FALSE(Plain.Damaged);
  EXPECT_EQ(Plain.DamageDelay, 300.0f);
}

TEST(MissionStagesTest, LastStageWrapsToZeroAfterItsInstantStages) {
  TPlayer Player;
  TMission M(&Player);
  M.SetupStages(2);
  TPane& Target = PaneAt(M, 3, 3);
  Target.Damageable = true;
  Target.DamageDelay = 400.0f;
  M.Selected = &Target;
  M.Stage = 23;
  M.StageMark = 23;

  M.NextStage();

  EXPECT_EQ(M.Stage, 0);
  EXPECT_EQ(M.StageMark, 0);
  EXPECT_EQ(M.Selected, nullptr);
  EXPECT_TRUE(M.DamageOn);
  EXPECT_EQ(Target.DamageDelay, 50.0f);
  EXPECT_FALSE(Target.Damaged);
}

TEST(MissionStagesTest, KeyStageMarksTheStageAfterIt) {
  struct Case {
    int Scenario;
    std::int32_t From, KeyStage, Mark;
  };
  const Case Cases[] = {{2, 7, 8, 9}, {3, 8, 9, 10}, {4, 24, 25, 26}};
  for (const Case& C : Cases) {
    SCOPED_TRACE("scenario " + std::to_string(C.Scenario));
    TPlayer Player;
    TMission M(&Player);
    M.SetupStages(C.Scenario);
    M.Stage = C.From;
    M.StageMark = C.From;
    M.NextStage();
    EXPECT_EQ(M.Stage, C.KeyStage);
    EXPECT_EQ(M.StageMark, C.Mark);
    EXPECT_EQ(M.GetStage().Control, "Close");
  }
}

TEST(MissionStagesTest, KeyStageAtTheEndMarksStageZero) {
  TPlayer Player;
  TMission M(&Player);
  M.Stages.emplace_back();
  AddBareStage(M, skWait);
  AddBareStage(M, skWaitKey);
  M.Stage = 1;
  M.StageMark = 1;
  M.NextStage();
  EXPECT_EQ(M.Stage, 2);
  EXPECT_EQ(M.StageMark, 0);
}

TEST(MissionStagesTest, KeyStageNotFollowedByAWaitIsAnError) {
  for (const std::uint8_t Following : {skWaitKey, skDeselect, skDamageOn, skDamageNow}) {
    SCOPED_TRACE("followed by kind " + std::to_string(Following));
    TPlayer Player;
    TMission M(&Player);
    M.Stages.emplace_back();
    AddBareStage(M, skWaitKey);
    AddBareStage(M, Following);
    AddBareStage(M, skWait);
    try {
      M.NextStage();
      FAIL() << "no error";
    } catch (const std::runtime_error& Error) {
      EXPECT_STREQ(Error.what(), "Ivalid sequence of mission stage keys");
    }
  }
}

TEST(MissionStagesTest, EmptyStageListDoesNothing) {
  TPlayer Player;
  TMission M(&Player);
  M.Selected = &PaneAt(M, 0, 0);
  M.StageMark = 4;
  M.NextStage();
  EXPECT_EQ(M.Stage, 0);
  EXPECT_EQ(M.StageMark, 4);
  EXPECT_EQ(M.Selected, &PaneAt(M, 0, 0));
  EXPECT_FALSE(M.StageOpensLicenses());
  ExpectStage(M.GetStage(), TStage{}, "empty list");
}

TEST(MissionStagesTest, StageOutsideTheListReadsAsNoStageAndMovesToZero) {
  TPlayer Player;
  TMission M(&Player);
  M.SetupStages(2);
  for (const std::int32_t Outside : {27, 400, -1}) {
    SCOPED_TRACE("stage " + std::to_string(Outside));
    M.Stage = Outside;
    ExpectStage(M.GetStage(), TStage{}, "outside");
    M.NextStage();
    EXPECT_EQ(M.Stage, 0);
  }
}

TEST(MissionStagesTest, LicencesOpenOnlyAtTheirStages) {
  TPlayer Player;
  TMission M(&Player);
  M.SetupStages(3);
  for (std::int32_t Stage = 0; Stage < 36; ++Stage) {
    M.Stage = Stage;
    EXPECT_EQ(M.StageOpensLicenses(), Stage == 7 || Stage == 8) << "stage " << Stage;
  }
}

// ---- Skipping --------------------------------------------------------------------------------

TEST(MissionStagesSkipTest, SkippingRunsTheRemainingInstantStages) {
  TPlayer Player;
  TMission M(&Player);
  M.SetupStages(4);
  TPane& First = PaneAt(M, 3, 3);
  TPane& Second = PaneAt(M, 2, 3);
  First.Damageable = true;
  Second.Damageable = true;
  First.DamageDelay = 400.0f;
  Second.DamageDelay = 400.0f;
  M.Selected = &First;
  M.Stage = 3;
  M.StageMark = 3;

  M.SkipStages();

  EXPECT_EQ(M.Stage, 0);
  EXPECT_EQ(M.StageMark, 0);
  EXPECT_TRUE(M.ShowTrophyGoal);
  EXPECT_TRUE(M.DamageOn);
  EXPECT_EQ(M.Selected, nullptr);
  EXPECT_EQ(First.DamageDelay, 90.0f);
  EXPECT_EQ(Second.DamageDelay, 180.0f);
}

TEST(MissionStagesSkipTest, SkippingPassesKeyStages) {
  TPlayer Player;
  TMission M(&Player);
  M.SetupStages(2);
  M.Stage = 1;
  ASSERT_NO_THROW(M.SkipStages());
  EXPECT_EQ(M.Stage, 0);
  EXPECT_EQ(M.StageMark, 0);
}

TEST(MissionStagesSkipTest, SkippingAtStageZeroOnlyShowsTheTrophyGoal) {
  TPlayer Player;
  TMission M(&Player);
  M.SetupStages(4);
  TPane& Target = PaneAt(M, 3, 3);
  Target.Damageable = true;
  Target.DamageDelay = 400.0f;
  M.Selected = &Target;

  M.SkipStages();

  EXPECT_TRUE(M.ShowTrophyGoal);
  EXPECT_EQ(M.Stage, 0);
  EXPECT_FALSE(M.DamageOn);
  EXPECT_EQ(Target.DamageDelay, 400.0f);
  EXPECT_EQ(M.Selected, &Target);
}

TEST(MissionStagesSkipTest, SkippingWithoutStagesEndsAtZero) {
  TPlayer Player;
  TMission M(&Player);
  M.Stage = 6;
  M.SkipStages();
  EXPECT_EQ(M.Stage, 0);
  EXPECT_TRUE(M.ShowTrophyGoal);
}

// ---- Record layout ----------------------------------------------------------------------------

TEST(MissionRecordLayoutTest, SizesWithAndWithoutSelection) {
  TPlayer Player;
  TMission M(&Player);
  FillBusyMission(M);
  EXPECT_EQ(SavePane(PaneAt(M, 4, 4)).size(), PaneRecordSize);
  EXPECT_EQ(Save(M).size(), SelectedRecordSize);
  M.Selected = nullptr;
  EXPECT_EQ(Save(M).size(), RecordSize);
}

TEST(MissionRecordLayoutTest, PaneRecordBytes) {
  TPlayer Player;
  TMission M(&Player);
  TPane& P = PaneAt(M, 0, 0);
  P.Look = 2;
  P.Kind = pkHouse1;
  P.Variant = 1;
  P.Upgrades = 0x0007;
  P.Slots = {akAssignWorker, 23, 24, 25, 26, 27, 0, 0, akRepair, 0, 0, 0, 0, 0, 16};
  P.Damageable = true;
  P.DamageDelay = 450.5f;
  P.Damaged = false;
  P.DamagePhase = 0.25f;
  P.Happiness = -3;
  P.IncomeBonus = 40;
  P.Residents = 27;
  P.Religion = 1;
  P.Commerce = 2;
  P.Healthcare = 3;
  P.Culture = 4;
  P.Action = 24;
  P.Workers = 5;
  P.WorkNeeded = 64.0f;
  P.WoodSpent = 12;
  P.StoneSpent = 3;
  P.WorkersStart = 4;
  P.WorkersMax = 8;
  P.WorkDone = 10.5f;
  const std::string Expected =
      "02 00 00 00 02 01 00 00 00 07 00 "                    // Look, Kind, Variant, Upgrades
      "01 17 18 19 1A 1B 00 00 16 00 00 00 00 00 10 "        // Slots
      "01 00 40 E1 43 00 00 00 80 3E "                       // damage
      "FD FF FF FF 28 00 00 00 1B 00 00 00 "                 // happiness, bonus, residents
      "01 00 00 00 02 00 00 00 03 00 00 00 04 00 00 00 "     // needs
      "18 05 00 00 00 00 00 80 42 0C 00 00 00 03 00 00 00 "  // job
      "04 00 00 00 08 00 00 00 00 00 28 41";                 // workers, work done
  EXPECT_EQ(Hex(SavePane(P)), Expected);
  EXPECT_EQ(Hex(Save(M).substr(0, PaneRecordSize)), Expected);
}

TEST(MissionRecordLayoutTest, MissionPartStartsWithSelectionScenarioTimesAndGoals) {
  TPlayer Player;
  TMission M(&Player);
  M.SelectPane(2, 4);
  M.Scenario = 7;
  M.Time = 90.0f;
  M.StarTime = 390;
  M.DeadlineTime = 705;
  M.IncomeTimer = 2.5f;
  M.GoalsReached = true;
  M.Goals[0] = {gkIncome, true, 3000, 250};
  const std::string Expected =
      "01 02 00 00 00 04 00 00 00 "                       // selected pane (2, 4)
      "07 00 00 00 00 00 B4 42 86 01 00 00 C1 02 00 00 "  // scenario, time, star, deadline
      "00 00 00 20 40 01 "                                // passed, income timer, goals reached
      "05 01 00 00 B8 0B 00 00 FA 00 00 00";              // goal 0
  EXPECT_EQ(Hex(Save(M).substr(PanePartSize, 43)), Expected);
}

// Each stored field of the mission part lands at its own offset and nowhere else.
TEST(MissionRecordLayoutTest, MissionFieldOffsets) {
  using TSet = std::function<void(TMission&)>;
  struct Case {
    const char* Field;
    std::size_t Offset;  // from the start of the mission part, no pane selected
    TSet Set;
    std::string Bytes;
  };
  const std::int32_t N = 0x7A6B5C4D;
  const std::string IntMark = Int32Bytes(N);
  const std::string FloatMark("\x00\x00\xC0\x3F", 4);  // 1.5f
  const std::string True("\x01", 1);
  const std::vector<Case> Cases = {
      {"Scenario", 1, [&](TMission& M) { M.Scenario = N; }, IntMark},
      {"Time", 5, [](TMission& M) { M.Time = 1.5f; }, FloatMark},
      {"StarTime", 9, [&](TMission& M) { M.StarTime = N; }, IntMark},
      {"DeadlineTime", 13, [&](TMission& M) { M.DeadlineTime = N; }, IntMark},
      {"DeadlinePassed", 17, [](TMission& M) { M.DeadlinePassed = true; }, True},
      {"IncomeTimer", 18, [](TMission& M) { M.IncomeTimer = 1.5f; }, FloatMark},
      {"GoalsReached", 22, [](TMission& M) { M.GoalsReached = true; }, True},
      {"Goals[1].Kind", 35, [](TMission& M) { M.Goals[1].Kind = gkWood; }, "\x02"},
      {"Goals[2].Reached", 48, [](TMission& M) { M.Goals[2].Reached = true; }, True},
      {"Goals[3].Target", 63, [&](TMission& M) { M.Goals[3].Target = N; }, IntMark},
      {"Goals[3].Value", 67, [&](TMission& M) { M.Goals[3].Value = N; }, IntMark},
      {"Money", 71, [&](TMission& M) { M.Money = N; }, IntMark},
      {"LastIncome", 75, [&](TMission& M) { M.LastIncome = N; }, IntMark},
      {"IncomeAccumulator", 79, [](TMission& M) { M.IncomeAccumulator = 1.5f; }, FloatMark},
      {"Residents", 83, [&](TMission& M) { M.Residents = N; }, IntMark},
      {"Happiness", 87, [&](TMission& M) { M.Happiness = N; }, IntMark},
      {"Religion", 91, [&](TMission& M) { M.Religion = N; }, IntMark},
      {"Commerce", 95, [&](TMission& M) { M.Commerce = N; }, IntMark},
      {"Healthcare", 99, [&](TMission& M) { M.Healthcare = N; }, IntMark},
      {"Culture", 103, [&](TMission& M) { M.Culture = N; }, IntMark},
      {"ServiceCount[1]", 107, [&](TMission& M) { M.ServiceCount[1] = N; }, IntMark},
      {"ServiceCount[8]", 135, [&](TMission& M) { M.ServiceCount[8] = N; }, IntMark},
      {"Wood", 139, [&](TMission& M) { M.Wood = N; }, IntMark},
      {"WoodOrders", 143, [&](TMission& M) { M.WoodOrders = N; }, IntMark},
      {"WoodTimer", 147, [](TMission& M) { M.WoodTimer = 1.5f; }, FloatMark},
      {"Stone", 151, [&](TMission& M) { M.Stone = N; }, IntMark},
      {"StoneOrders", 155, [&](TMission& M) { M.StoneOrders = N; }, IntMark},
      {"StoneTimer", 159, [](TMission& M) { M.StoneTimer = 1.5f; }, FloatMark},
      {"Workers", 163, [&](TMission& M) { M.Workers = N; }, IntMark},
      {"FreeWorkers", 167, [&](TMission& M) { M.FreeWorkers = N; }, IntMark},
      {"Trainees", 171, [&](TMission& M) { M.Trainees = N; }, IntMark},
      {"TrainTimer", 175, [](TMission& M) { M.TrainTimer = 1.5f; }, FloatMark},
      {"OwnedLicenses", 179, [](TMission& M) { M.OwnedLicenses = 0x00040003; },
       std::string("\x03\x00\x04\x00", 4)},
      {"LicensesOnSale", 183, [](TMission& M) { M.LicensesOnSale = 0x00050001; },
       std::string("\x01\x00\x05\x00", 4)},
      {"StartShown", 187, [](TMission& M) { M.StartShown = true; }, True},
      {"Stage", 188, [&](TMission& M) { M.Stage = N; }, IntMark},
      {"StageMark", 192, [&](TMission& M) { M.StageMark = N; }, IntMark},
      {"ShowTrophyGoal", 196, [](TMission& M) { M.ShowTrophyGoal = true; }, True},
      {"DamageOn", 197, [](TMission& M) { M.DamageOn = true; }, True},
      {"HappinessOn", 198, [](TMission& M) { M.HappinessOn = true; }, True},
      {"ResidentsOn", 199, [](TMission& M) { M.ResidentsOn = true; }, True},
      {"NeedsOn", 200, [](TMission& M) { M.NeedsOn = true; }, True},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Field);
    TPlayer Player;
    TMission M(&Player);
    C.Set(M);
    const std::string Part = Save(M).substr(PanePartSize);
    ASSERT_EQ(Part.size(), RecordSize - PanePartSize);
    std::string Expected(Part.size(), '\0');
    Patch(Expected, C.Offset, C.Bytes);
    EXPECT_EQ(Hex(Part), Hex(Expected));
  }
}

// ---- Round trips ------------------------------------------------------------------------------

TEST(MissionRecordRoundTripTest, SaveLoadSaveIsByteIdentical) {
  TPlayer Player;
  TMission Original(&Player);
  FillBusyMission(Original);
  const std::string Record = Save(Original);
  ASSERT_EQ(Record.size(), SelectedRecordSize);

  TMission Loaded(&Player);
  // The profile record continues after the mission's: loading must stop exactly at its end.
  EXPECT_EQ(Load(Loaded, Record + "next"), Record.size());
  EXPECT_EQ(Hex(Save(Loaded)), Hex(Record));

  EXPECT_EQ(Loaded.Selected, Loaded.GetPane(2, 4));
  EXPECT_EQ(Loaded.Stage, 9);
  EXPECT_EQ(Loaded.Stages.size(), 27u);
  EXPECT_EQ(Loaded.GetStage().Text, sidStageTutorial2_5);
  EXPECT_EQ(Loaded.MapName, "Map2");
  EXPECT_GE(Loaded.StartText, sidScenarioStart1);
  EXPECT_LE(Loaded.StartText, sidScenarioStart3);
  EXPECT_GE(Loaded.EndText, sidScenarioEnd1);
  EXPECT_LE(Loaded.EndText, sidScenarioEnd3);
}

TEST(MissionRecordRoundTripTest, LoadingResetsWhatIsNotStored) {
  TPlayer Player;
  TMission Original(&Player);
  FillBusyMission(Original);
  Original.Selected = nullptr;
  const std::string Record = Save(Original);

  TMission Loaded(&Player);
  Loaded.Selected = &PaneAt(Loaded, 1, 1);
  Loaded.Paused = true;
  Loaded.HoverAction = 3;
  Loaded.HoverLicense = 5;
  Loaded.MapName = "Stale";
  Loaded.IncomePaid = true;
  Loaded.WoodDelivered = true;
  Loaded.StoneDelivered = true;
  Loaded.WorkerTrained = true;
  PaneAt(Loaded, 0, 0).SoundEvent = "Finish3";
  PaneAt(Loaded, 0, 0).EffectEvent = "Upgrade";
  Load(Loaded, Record);

  EXPECT_EQ(Loaded.Selected, nullptr);
  EXPECT_FALSE(Loaded.Paused);
  EXPECT_EQ(Loaded.HoverAction, -1);
  EXPECT_EQ(Loaded.HoverLicense, -1);
  EXPECT_EQ(Loaded.MapName, "Map2");
  EXPECT_FALSE(Loaded.IncomePaid);
  EXPECT_FALSE(Loaded.WoodDelivered);
  EXPECT_FALSE(Loaded.StoneDelivered);
  EXPECT_FALSE(Loaded.WorkerTrained);
  EXPECT_TRUE(PaneAt(Loaded, 0, 0).SoundEvent.empty());
  EXPECT_TRUE(PaneAt(Loaded, 0, 0).EffectEvent.empty());
  EXPECT_EQ(Save(Loaded), Record);
}

TEST(MissionRecordRoundTripTest, SelectionOutsideTheMapSelectsNothing) {
  TPlayer Player;
  TMission Original(&Player);
  Original.SelectPane(2, 4);
  std::string Record = Save(Original);
  Patch(Record, PanePartSize + 1, Int32Bytes(7));  // row 7
  TMission Loaded(&Player);
  EXPECT_EQ(Load(Loaded, Record), SelectedRecordSize);
  EXPECT_EQ(Loaded.Selected, nullptr);
}

TEST(MissionRecordRoundTripTest, AnyNonZeroByteIsTrue) {
  TPlayer Player;
  TMission Original(&Player);
  std::string Record = Save(Original);
  Patch(Record, PanePartSize + 197, "\x7F");  // DamageOn
  Patch(Record, 31, "\xFF");                  // pane 0, Damaged
  TMission Loaded(&Player);
  Load(Loaded, Record);
  EXPECT_TRUE(Loaded.DamageOn);
  EXPECT_TRUE(PaneAt(Loaded, 0, 0).Damaged);
  const std::string Again = Save(Loaded);
  EXPECT_EQ(Again[PanePartSize + 197], '\x01');
  EXPECT_EQ(Again[31], '\x01');
}

// A real scenario with jobs, orders and training under way goes on after a reload exactly as it
// would have gone on without one.
TEST(MissionRecordRoundTripTest, ReloadedBusyScenarioPlaysOnIdentically) {
  Randomize(11);
  TPlayer Player;
  TMission Original(&Player);
  Original.Setup(24);
  Original.Money = 200000;
  Original.Wood = 5000;
  Original.Stone = 5000;
  Original.Workers = 80;
  Original.FreeWorkers = 80;
  Original.OwnedLicenses = (1u << LicenseCount) - 1;
  int Jobs = 0;
  for (auto& Pane : Original.Panes) {
    for (int Slot = 1; Slot < SlotCount; ++Slot) {
      if (!Pane->CanStartAction(Slot)) continue;
      Pane->StartAction(Slot);
      ++Jobs;
      break;
    }
  }
  ASSERT_TRUE(Original.CanOrderWood());
  Original.OrderWood();
  ASSERT_TRUE(Original.CanOrderStone());
  Original.OrderStone();
  ASSERT_TRUE(Original.CanTrainWorker());
  Original.TrainWorker();
  Original.SelectPane(1, 2);
  for (int Frame = 0; Frame < 30; ++Frame)
    Original.Update(0.1f);
  ASSERT_GE(Jobs, 5);

  const std::string AtSave = Save(Original);
  TMission Loaded(&Player);
  Load(Loaded, AtSave);
  for (TMission* M : {&Original, &Loaded}) {
    Randomize(99);
    for (int Frame = 0; Frame < 200; ++Frame)
      M->Update(0.1f);
  }
  EXPECT_EQ(Hex(Save(Loaded)), Hex(Save(Original)));
  EXPECT_NE(Save(Original), AtSave) << "the mission did not move on";
}

// ---- Tutorial position after loading ----------------------------------------------------------

TEST(MissionRecordStageTest, ResumesAtTheMarkAfterAKeyStage) {
  struct Case {
    std::int32_t Current;  // stage 7 waits, stage 8 is the key stage of the licences dialog
    std::int32_t Resumed;
  };
  for (const Case C : {Case{7, 7}, Case{8, 9}}) {
    TPlayer Player;
    TMission Original(&Player);
    Original.Scenario = 2;
    Original.SetupStages(2);
    Original.Stage = C.Current - 1;
    Original.NextStage();
    ASSERT_EQ(Original.Stage, C.Current);

    TMission Loaded(&Player);
    Load(Loaded, Save(Original));
    EXPECT_EQ(Loaded.Stage, C.Resumed) << "saved at stage " << C.Current;
    EXPECT_EQ(Loaded.StageMark, C.Resumed);
  }
}

TEST(MissionRecordStageTest, MarkOutsideTheRebuiltListEndsTheTutorial) {
  struct Case {
    int Scenario;
    std::int32_t Mark;
    bool Trophy5Won;  // won after the mission was saved
    std::int32_t Stage;
  };
  const Case Cases[] = {
      {5, 3, false, 3},  {5, 3, true, 0},   {6, 2, false, 2},  {1, 19, false, 19},
      {1, 20, false, 0}, {1, -1, false, 0}, {30, 1, false, 0},
  };
  const TDeadlineOption Deadline(false);
  for (const Case& C : Cases) {
    SCOPED_TRACE("scenario " + std::to_string(C.Scenario) + " mark " + std::to_string(C.Mark));
    TPlayer Player;
    TMission Original(&Player);
    Original.Scenario = C.Scenario;
    Original.Stage = C.Mark;
    Original.StageMark = C.Mark;
    const std::string Record = Save(Original);
    if (C.Trophy5Won) Player.SetProgress(5, {1, 0, 1});

    TMission Loaded(&Player);
    Load(Loaded, Record);
    EXPECT_EQ(Loaded.Stage, C.Stage);
    EXPECT_EQ(Loaded.StageMark, C.Stage);
    EXPECT_LT(static_cast<std::size_t>(Loaded.Stage), Loaded.Stages.size());
  }
}

// ---- Damaged records --------------------------------------------------------------------------

TEST(MissionRecordDamageTest, TruncatedRecordIsRefusedAtEveryLength) {
  TPlayer Player;
  TMission Original(&Player);
  FillBusyMission(Original);
  const std::string Record = Save(Original);
  for (std::size_t Length = 0; Length < Record.size(); ++Length) {
    TMission Loaded(&Player);
    EXPECT_THROW(Load(Loaded, Record.substr(0, Length)), EStreamError) << "length " << Length;
  }
}

TEST(MissionRecordDamageTest, ValuesOutsideTheTablesAreRefused) {
  struct Case {
    const char* What;
    std::size_t Offset;
    std::string Bytes;
    const char* Message;  // part of the error's text; nullptr = the record is good
  };
  const std::size_t Mission = PanePartSize;
  const Case Cases[] = {
      {"pane 0 kind 53", 4, "\x35", "pane kind"},
      {"pane 24 kind 255", 24 * PaneRecordSize + 4, "\xFF", "pane kind"},
      {"pane 0 kind 52", 4, "\x34", nullptr},
      {"pane 3 slot 14 action 36", 3 * PaneRecordSize + 11 + 14, "\x24", "pane action"},
      {"pane 3 slot 0 action 35", 3 * PaneRecordSize + 11, "\x23", nullptr},
      {"pane 7 running action 36", 7 * PaneRecordSize + 64, "\x24", "pane action"},
      {"pane 7 running action 35", 7 * PaneRecordSize + 64, "\x23", nullptr},
      {"goal 0 kind 33", Mission + 23, "\x21", "goal kind"},
      {"goal 3 kind 200", Mission + 59, "\xC8", "goal kind"},
      {"goal 3 kind 32", Mission + 59, "\x20", nullptr},
      {"owned licence 19", Mission + 179, Int32Bytes(1 | 1 << 19), "licence"},
      {"owned licence 18", Mission + 179, Int32Bytes(1 | 1 << 18), nullptr},
      {"licence 31 on sale", Mission + 183, Int32Bytes(INT32_MIN), "licence"},
  };
  TPlayer Player;
  TMission Original(&Player);
  FillBusyMission(Original);
  Original.Selected = nullptr;
  const std::string Good = Save(Original);
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.What);
    std::string Record = Good;
    Patch(Record, C.Offset, C.Bytes);
    TMission Loaded(&Player);
    if (C.Message == nullptr) {
      EXPECT_EQ(Load(Loaded, Record), RecordSize);
      EXPECT_EQ(Save(Loaded), Record);
      continue;
    }
    try {
      Load(Loaded, Record);
      ADD_FAILURE() << "accepted";
    } catch (const EStreamError& Error) {
      EXPECT_NE(std::string(Error.what()).find(C.Message), std::string::npos) << Error.what();
    }
  }
}

}  // namespace

// VexaMissionStages.cpp -- the tutorial of the first campaign scenarios: the stage tables, moving
// from stage to stage, and the map picture and start and end messages chosen with them.
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

#include "EngineLanguages.h"
#include "EngineRegister.h"
#include "EngineUtils.h"
#include "VexaMission.h"
#include "VexaPlayers.h"

namespace {

// One row of a stage table. The modifiers return changed copies so that a row reads like the
// stage it describes.
struct TStageEntry {
  std::uint8_t Kind = skWait;
  std::int32_t X = 0, Y = 0;
  int Text = sidNone;
  const char* Control = "";
  std::int32_t ControlArrow = 0;
  bool Arrow = false;
  std::int32_t ArrowDirection = 0;
  float ArrowX = 0.0f, ArrowY = 0.0f;
  bool OpensLicenses = false;

  // The direction of the arrow the screen points at the target control with.
  constexpr TStageEntry PointedFrom(std::int32_t Direction) const {
    TStageEntry Copy = *this;
    Copy.ControlArrow = Direction;
    return Copy;
  }
  // The message's own arrow: the side it points from and the point it shows.
  constexpr TStageEntry Bubble(std::int32_t Direction, float AtX, float AtY) const {
    TStageEntry Copy = *this;
    Copy.Arrow = true;
    Copy.ArrowDirection = Direction;
    Copy.ArrowX = AtX;
    Copy.ArrowY = AtY;
    return Copy;
  }
  // The licences dialog is opened while this stage is current.
  constexpr TStageEntry WithLicenses() const {
    TStageEntry Copy = *this;
    Copy.OpensLicenses = true;
    return Copy;
  }
};

// A message at (X, Y); it waits for Control, or for its continue button when Control is empty.
constexpr TStageEntry Wait(std::int32_t X, std::int32_t Y, int Text, const char* Control = "") {
  TStageEntry Entry;
  Entry.X = X;
  Entry.Y = Y;
  Entry.Text = Text;
  Entry.Control = Control;
  return Entry;
}

// No message of its own: the previous one stays meaningful while the player uses Control.
constexpr TStageEntry Then(const char* Control) {
  return Wait(0, 0, sidNone, Control);
}

// Waits for Control; a mission saved here resumes at the following stage.
constexpr TStageEntry WaitKey(const char* Control) {
  TStageEntry Entry = Then(Control);
  Entry.Kind = skWaitKey;
  return Entry;
}

constexpr TStageEntry Deselect() {
  TStageEntry Entry;
  Entry.Kind = skDeselect;
  return Entry;
}

constexpr TStageEntry DamageOn() {
  TStageEntry Entry;
  Entry.Kind = skDamageOn;
  return Entry;
}

constexpr TStageEntry SetDamageDelay(std::int32_t Row, std::int32_t Column, float Units) {
  TStageEntry Entry;
  Entry.Kind = skSetDamageDelay;
  Entry.X = Row;
  Entry.Y = Column;
  Entry.ArrowX = Units;
  return Entry;
}

constexpr TStageEntry DamageNow(std::int32_t Row, std::int32_t Column) {
  TStageEntry Entry;
  Entry.Kind = skDamageNow;
  Entry.X = Row;
  Entry.Y = Column;
  return Entry;
}

// Stages 1 onward of each tutorial; stage 0 (no tutorial) is added by SetupStages.

constexpr TStageEntry Scenario1Stages[] = {
    Wait(0, 0, sidStageTutorial1_1).Bubble(3, 130, -335),
    Wait(-90, -150, sidStageTutorial1_2, "Pane13"),
    Wait(110, -100, sidStageTutorial1_3, "Action1"),
    Wait(60, -100, sidStageTutorial1_4),
    Deselect(),
    Wait(110, -50, sidStageTutorial1_5).PointedFrom(1).Bubble(1, -410, 335),
    Wait(-40, -150, sidStageTutorial1_6, "Pane23"),
    Wait(60, -100, sidStageTutorial1_7, "Action1"),
    Wait(10, -150, sidStageTutorial1_8).Bubble(0, 490, 335),
    DamageNow(1, 3),
    Deselect(),
    Wait(10, -100, sidStageTutorial1_9, "Pane13"),
    Wait(110, -100, sidStageTutorial1_10, "Action8"),
    Wait(160, -95, sidStageTutorial1_11).Bubble(1, -140, 335),
    Deselect(),
    Wait(160, 0, sidStageTutorial1_12, "Action16"),
    Wait(160, 0, sidStageTutorial1_13, "Action17"),
    Wait(10, -150, sidStageTutorial1_14, "Pane12"),
    Wait(60, -100, sidStageTutorial1_15, "Action1"),
};

constexpr TStageEntry Scenario2Stages[] = {
    Wait(0, 0, sidStageTutorial2_1).Bubble(3, 130, -325),
    Wait(10, -150, sidStageTutorial2_2, "Pane23"),
    Then("Action1"),
    Wait(-240, -100, sidStageTutorial2_3),
    Deselect(),
    Wait(160, 100, sidStageTutorial2_4, "Action19").PointedFrom(1),
    Then("License1").WithLicenses(),
    WaitKey("Close"),
    Wait(10, 0, sidStageTutorial2_5),
    Wait(160, 130, sidStageTutorial2_6, "Action18"),
    Wait(60, 50, sidStageTutorial2_7, "Action16"),
    Then("Action17"),
    Wait(210, 160, sidStageTutorial2_8, "Pane22"),
    Then("Action2"),
    Deselect(),
    Wait(10, -170, sidStageTutorial2_9, "Pane23"),
    Wait(-240, -100, sidStageTutorial2_10, "Action1"),
    Wait(10, -160, sidStageTutorial2_11),
    Wait(-40, -160, sidStageTutorial2_12),
    Deselect(),
    Wait(210, 160, sidStageTutorial2_13, "Pane22"),
    Then("Action1"),
    Wait(260, 150, sidStageTutorial2_14),
    Deselect(),
    DamageOn(),
    SetDamageDelay(3, 3, 50),
};

constexpr TStageEntry Scenario3Stages[] = {
    Wait(0, 0, sidStageTutorial3_1).Bubble(3, 130, -315),
    Wait(110, 100, sidStageTutorial3_2),
    Wait(10, -150, sidStageTutorial3_3, "Pane23").PointedFrom(2),
    Wait(-40, -150, sidStageTutorial3_4).Bubble(3, 560, -230),
    Deselect(),
    Wait(160, 150, sidStageTutorial3_5, "Action19").PointedFrom(1),
    Then("License5").WithLicenses(),
    Then("License6").WithLicenses(),
    WaitKey("Close"),
    Wait(-40, -100, sidStageTutorial3_6, "Pane13").PointedFrom(3),
    Then("Action6"),
    Deselect(),
    Wait(60, -100, sidStageTutorial3_7, "Action18"),
    Then("Action18"),
    Wait(110, 100, sidStageTutorial3_8, "Action16"),
    Then("Action16"),
    Then("Action17"),
    Wait(-40, -50, sidStageTutorial3_9, "Pane03").PointedFrom(3),
    Then("Action7"),
    Wait(-40, -150, sidStageTutorial3_10, "Pane23").PointedFrom(3),
    Wait(-210, -120, sidStageTutorial3_11).Bubble(3, 560, -230),
    Wait(10, -150, sidStageTutorial3_12),
    Deselect(),
    Wait(60, 0, sidStageTutorial3_13),
    Wait(210, 160, sidStageTutorial3_14, "Pane22"),
    Then("Action14"),
    Wait(230, 170, sidStageTutorial3_15, "Pane33"),
    Then("Action1"),
    Deselect(),
    Wait(-200, -80, sidStageTutorial3_16),
    Wait(10, 50, sidStageTutorial3_17).Bubble(2, -500, -252),
    Wait(60, 0, sidStageTutorial3_18),
    DamageOn(),
    SetDamageDelay(2, 3, 30),
    SetDamageDelay(1, 3, 60),
};

constexpr TStageEntry Scenario4Stages[] = {
    Wait(0, 0, sidStageTutorial4_1).Bubble(3, 130, -315),
    Wait(110, 50, sidStageTutorial4_2).Bubble(2, -510, -225),
    Wait(-140, -50, sidStageTutorial4_3, "Pane33").PointedFrom(2),
    Then("Action2"),
    Wait(-190, -60, sidStageTutorial4_4),
    Wait(-260, -100, sidStageTutorial4_5, "Pane32"),
    Then("Action14"),
    Deselect(),
    Wait(-260, -100, sidStageTutorial4_6, "Pane23").PointedFrom(2),
    Wait(110, 70, sidStageTutorial4_7, "Action14"),
    Wait(-260, -100, sidStageTutorial4_8),
    Wait(10, -150, sidStageTutorial4_9, "Action2"),
    Wait(-40, -150, sidStageTutorial4_10),
    Deselect(),
    Wait(10, 50, sidStageTutorial4_11, "Pane31").PointedFrom(1),
    Then("Action2"),
    Wait(60, 50, sidStageTutorial4_12, "Action17"),
    Then("Pane23"),
    Then("Action2"),
    Then("Pane31"),
    Then("Action2"),
    Deselect(),
    Wait(210, 150, sidStageTutorial4_13, "Action19").PointedFrom(1),
    Then("License13").WithLicenses(),
    WaitKey("Close"),
    Wait(60, 0, sidStageTutorial4_14),
    Wait(-260, -100, sidStageTutorial4_15, "Pane23"),
    Then("Action2"),
    Then("Pane33"),
    Then("Action2"),
    Then("Pane31"),
    Then("Action2"),
    Deselect(),
    Wait(160, 100, sidStageTutorial4_16),
    Wait(160, 0, sidStageTutorial4_17),
    DamageOn(),
    SetDamageDelay(3, 3, 90),
    SetDamageDelay(2, 3, 180),
};

constexpr TStageEntry Scenario5Stages[] = {
    Wait(0, 0, sidStageTutorial5_1).Bubble(2, -320, -330),
    Wait(160, -50, sidStageTutorial5_2).Bubble(2, -480, -210),
    Wait(10, 50, sidStageTutorial5_3),
    Wait(110, -50, sidStageTutorial5_4),
};

constexpr TStageEntry Scenario6Stages[] = {
    Wait(0, 0, sidStageTutorial6_1).Bubble(2, -320, -320),
    Wait(100, 50, sidStageTutorial6_2),
};

constexpr int SandboxScenarios = 24;
// The tutorial that is dropped once its scenario's trophy is won.
constexpr int TrophyTutorialScenario = 5;
// The tutorial that explains deadlines.
constexpr int DeadlineTutorialScenario = 6;

std::span<const TStageEntry> TutorialOf(std::int32_t Scenario) {
  switch (Scenario) {
    case 1:
      return Scenario1Stages;
    case 2:
      return Scenario2Stages;
    case 3:
      return Scenario3Stages;
    case 4:
      return Scenario4Stages;
    case 5:
      return Scenario5Stages;
    case 6:
      return Scenario6Stages;
    default:
      return {};
  }
}

// The number of the map picture: campaign scenarios have their own, a sandbox map uses the
// picture of the campaign scenario it was made from; 0 for anything else.
std::int32_t MapNumberOf(std::int32_t Scenario) {
  if (Scenario >= 1 && Scenario <= CampaignScenarios) return Scenario;
  if (Scenario > CampaignScenarios && Scenario <= CampaignScenarios + SandboxScenarios) {
    return Scenario - CampaignScenarios;
  }
  return 0;
}

}  // namespace

void TMission::SetupStages(std::int32_t ForScenario) {
  Paused = false;
  MapName.clear();
  HoverAction = -1;
  HoverLicense = -1;

  if (ForScenario >= 1 && ForScenario <= CampaignScenarios) {
    // Two draws, the start message's first.
    StartText = sidScenarioStart1 + Random(3);
    EndText = sidScenarioEnd1 + Random(3);
  } else {
    StartText = sidNone;
    EndText = sidNone;
  }

  Stages.clear();
  Stages.emplace_back();  // stage 0: no tutorial running

  if (const std::int32_t Map = MapNumberOf(ForScenario); Map != 0) {
    MapName = "Map" + std::to_string(Map);
  }

  // Scenario 5's tutorial is dropped once its trophy is won; scenario 6's explains the deadline,
  // so it comes only with deadlines on, or when a loaded mission was already inside it.
  bool WithTutorial = true;
  if (ForScenario == TrophyTutorialScenario) {
    WithTutorial = Owner == nullptr || Owner->GetProgress(TrophyTutorialScenario).Trophy == 0;
  } else if (ForScenario == DeadlineTutorialScenario) {
    WithTutorial = Register.Deadline || Stage > 0;
  }
  if (!WithTutorial) return;
  for (const TStageEntry& Entry : TutorialOf(ForScenario)) {
    AddStage(Entry.Kind, Entry.X, Entry.Y, Entry.Text, Entry.Control, Entry.ControlArrow,
             Entry.Arrow, Entry.ArrowDirection, Entry.ArrowX, Entry.ArrowY, Entry.OpensLicenses);
  }
}

void TMission::AddStage(std::uint8_t Kind, std::int32_t X, std::int32_t Y, int Text,
                        const std::string& Control, std::int32_t ControlArrow, bool Arrow,
                        std::int32_t ArrowDirection, float ArrowX, float ArrowY,
                        bool OpensLicenses) {
  TStage& New = Stages.emplace_back();
  New.Kind = Kind;
  New.X = X;
  New.Y = Y;
  New.Text = Text;
  New.Control = Control;
  New.ControlArrow = ControlArrow;
  New.Arrow = Arrow;
  New.ArrowDirection = ArrowDirection;
  New.ArrowX = ArrowX;
  New.ArrowY = ArrowY;
  New.OpensLicenses = OpensLicenses;
}

// A Stage outside the list (possible only on a hand-made mission) reads as "no stage".
TStage TMission::GetStage() const {
  if (Stage < 0 || static_cast<std::size_t>(Stage) >= Stages.size()) return TStage{};
  return Stages[static_cast<std::size_t>(Stage)];
}

bool TMission::StageOpensLicenses() const {
  return GetStage().OpensLicenses;
}

namespace {

// The stage after Index, wrapping to stage 0 after the last one (or from outside the list).
std::int32_t StageAfter(std::int32_t Index, std::size_t Count) {
  const bool HasNext = Index >= 0 && static_cast<std::size_t>(Index) + 1 < Count;
  return HasNext ? Index + 1 : 0;
}

}  // namespace

void TMission::NextStage() {
  if (Stages.empty()) return;
  // Instant stages act and pass on at once. Stage 0 always stops the walk, so a list made of
  // instant stages only cannot loop for ever.
  bool Instant = true;
  while (Instant) {
    Stage = StageAfter(Stage, Stages.size());
    const TStage& Current = Stages[static_cast<std::size_t>(Stage)];
    Instant = Current.Kind == skDeselect || Current.Kind == skDamageOn ||
              Current.Kind == skSetDamageDelay || Current.Kind == skDamageNow;
    switch (Current.Kind) {
      case skWaitKey: {
        // A key stage is not a place to resume at: a saved mission continues with the
        // message after it, which therefore must be an ordinary waiting stage.
        const std::int32_t Resume = StageAfter(Stage, Stages.size());
        if (Stages[static_cast<std::size_t>(Resume)].Kind != skWait) {
          throw std::runtime_error("Ivalid sequence of mission stage keys");
        }
        StageMark = Resume;
        break;
      }
      case skDeselect:
        Selected = nullptr;
        break;
      case skDamageOn:
        DamageOn = true;
        break;
      case skSetDamageDelay:
        if (TPane* Pane = GetPane(Current.X, Current.Y); Pane != nullptr && Pane->Damageable) {
          Pane->DamageDelay = Current.ArrowX;
        }
        break;
      case skDamageNow:
        if (TPane* Pane = GetPane(Current.X, Current.Y); Pane != nullptr && Pane->Damageable) {
          Pane->DamageDelay = 0.0f;
          Pane->Damaged = true;
          Pane->DamagePhase = 0.0f;
          // AUDIO SEAM: the "Damage" sound belongs here, played at once through the audio
          // service when it exists. The pane's SoundEvent is deliberately left alone: the pane
          // control would otherwise play the sound a second time.
        }
        break;
      default:  // skWait, and any kind this game does not know, waits here
        StageMark = Stage;
        break;
    }
    if (Stage == 0) break;
  }
}

void TMission::SkipStages() {
  // From stage 0 there is nothing to skip: the instant stages of a finished tutorial must not
  // run a second time.
  if (Stages.empty()) {
    Stage = 0;
  } else {
    while (Stage != 0)
      NextStage();
  }
  ShowTrophyGoal = true;
}

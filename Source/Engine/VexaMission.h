// VexaMission.h -- one town scenario in play: the 5 x 5 map of panes, the town's stock, goals and
// times, licences, tutorial stages, and the constant rule tables they follow.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TPlayer;
class TMission;
class TStreamReader;
class TStreamWriter;

// ---- Constant rule tables ----------------------------------------------------------------------

// Pane kinds (one byte; stored in saves).
enum TPaneKind : std::uint8_t {
  pkNone = 0,
  pkBuildingPlot = 1,
  pkHouse1 = 2,
  pkHouse2,
  pkHouse3,
  pkHouse4,
  pkHouse5,  // 2..6
  pkHouseOld1 = 7,
  pkHouseOld2 = 8,
  pkService1 = 9,
  pkService2,
  pkService3,
  pkService4,  // 9..12
  pkService5,
  pkService6,
  pkService7,
  pkService8,  // 13..16
  pkAppeal1 = 17,
  pkDebris1 = 18,
  pkDebris2 = 19,
  pkForest1 = 20,       // 20..31: Forest1..Forest12, can be cleared
  pkFixedForest1 = 32,  // 32..43: FixedForest1..FixedForest12, scenery
  pkStones = 44,
  pkFixedStones = 45,
  pkGrass = 46,
  pkLake = 47,
  pkRiver = 48,
  pkAqueduct = 49,
  pkFort = 50,
  pkGranary = 51,
  pkWorkshop = 52,
};
constexpr int PaneKindCount = 53;

// Pane actions (one byte; stored in saves).
enum TActionKind : std::uint8_t {
  akNone = 0,
  akAssignWorker = 1,
  akConstructHouse1 = 2,    // 2..6: ConstructHouse1..5
  akConstructService1 = 7,  // 7..14: ConstructService1..8
  akConstructAppeal1 = 15,
  akDemolishToDebris1 = 16,
  akDemolishToDebris2 = 17,
  akClearDebris1 = 18,
  akClearDebris2 = 19,
  akClearForest = 20,
  akClearStones = 21,
  akRepair = 22,
  akUpgradeHouse1 = 23,    // 23..27: UpgradeHouse1..5
  akUpgradeService1 = 28,  // 28..35: UpgradeService1..8
};
constexpr int ActionKindCount = 36;

// What finishing (or starting) an action does.
enum TActionEffect : std::uint8_t {
  aeNone = 0,
  aeAddWorker = 1,
  aeRepair = 2,
  aeDemolish = 3,
  aeConstruct = 4,
  aeUpgrade = 5,
  aeClear = 6,
};

// Licences (blueprints), 0..18, held as bits of a 32-bit set.
enum TLicense : std::uint8_t {
  lcNone = 0,
  lcHouse2 = 1,
  lcHouse3,
  lcHouse4,
  lcHouse5,        // 1..4
  lcService1 = 5,  // 5..12: Service1..8
  lcExtra1 = 13,
  lcExtra2,
  lcExtra3,
  lcExtra4,      // 13..16
  lcSpec1 = 17,  // training a worker costs 600 less
  lcSpec2 = 18,  // no pane is damaged any more
};
constexpr int LicenseCount = 19;
constexpr int UpgradeCount = 13;  // upgrades 1..13

// Goal kinds (one byte; stored in saves).
enum TGoalKind : std::uint8_t {
  gkNone = 0,
  gkBalance,
  gkWood,
  gkStone,
  gkWorkers,
  gkIncome,
  gkHappiness,
  gkResidents,
  gkReligion,
  gkCommerce,
  gkHealthcare,
  gkCulture,  // 1..11
  gkBuildings = 12,
  gkHouses1 = 13,  // 13..17: Houses1..5
  gkHouses = 18,
  gkHousesUpg1 = 19,   // 19..23: HousesUpg1..5
  gkHasService1 = 24,  // 24..31: HasService1..8
  gkHasAppeal1 = 32,
};
constexpr int GoalKindCount = 33;

// What a goal kind measures.
enum TGoalMeasure : std::uint8_t {
  gmNothing = 0,
  gmMoney,
  gmWood,
  gmStone,
  gmWorkers,
  gmIncome,
  gmHappiness,
  gmResidents,
  gmReligion,
  gmCommerce,
  gmHealthcare,
  gmCulture,
  gmPanes = 12,          // panes whose kind is in Kinds
  gmUpgradedPanes = 13,  // ... and whose upgrades contain UpgradeMask
};

constexpr int SlotCount = 15;

struct TPaneInfo {
  std::uint8_t Kind;
  int NameText;  // text ids; 0 = no text
  int HintText;
  const char* Texture;  // "" = nothing drawn
  std::int32_t Looks;
  std::int32_t WorkSound;
  std::array<std::uint8_t, SlotCount> Slots;
  bool Damageable;
  std::int32_t BaseWorkers, BaseWork, BaseWood, BaseStone;
  std::int32_t Residents;
  bool TakesAppeal;
  std::int32_t BaseHappiness;
  std::int32_t Appeal;
  std::int32_t Service;  // 1..8, 0 = not a service
  std::int32_t Needs;
  std::int32_t Income;
  std::int32_t Religion, Commerce, Healthcare, Culture;
};

struct TActionInfo {
  std::uint8_t Kind;
  int NameText, HintText, ProgressText;
  std::int32_t Icon;
  std::uint32_t Color;
  const char* WorkEffect;
  std::int32_t WorkSound;
  const char* FinishSound;
  const char* FinishEffect;
  std::uint8_t License;
  std::int32_t WorkersFactor, WorkFactor, WoodFactor, StoneFactor;
  std::int32_t RecoveredWood, RecoveredStone;
  std::int32_t Price;
  std::uint8_t Effect;
  std::uint8_t NewKind;
  std::uint8_t Upgrade;
  bool ConsumeSlot;
  std::uint8_t ReplaceSlot;
};

struct TLicenseInfo {
  std::uint16_t Id;
  int NameText;
  std::int32_t Unused1, Unused2;
  std::int32_t Price;
};

struct TUpgradeInfo {
  std::int32_t Id;
  std::int32_t IncomeBonus;  // percent
  std::int32_t Religion, Commerce, Healthcare, Culture;
};

struct TGoalInfo {
  std::uint8_t Id;
  int NameText;
  std::uint16_t Icon;  // the pictogram's character code
  std::uint8_t Measure;
  std::uint64_t Kinds;  // set of pane kinds (bit n = kind n)
  std::uint16_t UpgradeMask;
  bool ShowValue;
  std::int32_t Minimum, Maximum;
};

extern const std::array<TPaneInfo, PaneKindCount> PaneInfo;
extern const std::array<TActionInfo, ActionKindCount> ActionInfo;
extern const std::array<TLicenseInfo, LicenseCount> LicenseInfo;
extern const std::array<TUpgradeInfo, UpgradeCount + 1> UpgradeInfo;  // [0] unused
extern const std::array<TGoalInfo, GoalKindCount> GoalInfo;

// ---- Mission parts -----------------------------------------------------------------------------

// One of the mission's four goal slots: 0 the trophy goal, 1..3 the scenario's goals.
struct TGoal {
  std::uint8_t Kind = 0;
  bool Reached = false;
  std::int32_t Target = 0;
  std::int32_t Value = 0;
};

enum TStageKind : std::uint8_t {
  skWait = 0,
  skWaitKey = 1,
  skDeselect = 2,
  skDamageOn = 3,
  skSetDamageDelay = 4,
  skDamageNow = 5,
};

// One tutorial stage.
struct TStage {
  std::uint8_t Kind = skWait;
  std::int32_t X = 0, Y = 0;  // message centre; for kinds 4 and 5 the pane's row and column
  int Text = 0;
  std::string Control;  // the control that moves on; empty = a continue button
  std::int32_t ControlArrow = 0;
  bool Arrow = false;
  std::int32_t ArrowDirection = 0;
  float ArrowX = 0.0f, ArrowY = 0.0f;  // for kind 4, ArrowX is the new damage delay
  bool OpensLicenses = false;
};

using TStats = std::array<std::string, 7>;  // the statistics panel's lines
using TInfo = std::array<std::string, 7>;   // the info panel's lines

// One square of the map.
class TPane {
 public:
  TPane(TMission& Mission, std::int32_t Row, std::int32_t Column);

  TMission* Mission;
  std::int32_t Row, Column;
  std::array<TPane*, 8> Neighbours{};  // none outside the map
  std::int32_t Look = 0;
  std::uint8_t Kind = pkNone;
  std::int32_t Variant = 0;
  std::uint16_t Upgrades = 0;  // bit 0 always set once a kind is given
  std::array<std::uint8_t, SlotCount> Slots{};
  bool Damageable = false;
  float DamageDelay = 0.0f;
  bool Damaged = false;
  float DamagePhase = 0.0f;
  std::int32_t Happiness = 0;
  std::int32_t IncomeBonus = 0;
  std::int32_t Residents = 0;
  std::int32_t Religion = 0, Commerce = 0, Healthcare = 0, Culture = 0;
  std::uint8_t Action = akNone;  // the running job
  std::int32_t Workers = 0;
  float WorkNeeded = 0.0f;
  std::int32_t WoodSpent = 0, StoneSpent = 0;
  std::int32_t WorkersStart = 0, WorkersMax = 0;
  float WorkDone = 0.0f;
  std::string_view SoundEvent;   // a sound to play for this pane in this frame
  std::string_view EffectEvent;  // a particle effect to start on it in this frame

  // Model.
  void SetKind(std::uint8_t NewKind);
  void Setup(std::int32_t NewLook, std::uint8_t NewKind, std::int32_t NewVariant);
  std::string GetTextureName() const;
  // Zeroes the job's workers, work and spent materials (the running action is left as it is).
  void ClearJob();

  // Actions (a slot is 0..14).
  bool IsActionHidden(int Slot) const;
  bool CanStartAction(int Slot) const;
  void StartAction(int Slot);
  std::int32_t GetActionIcon(int Slot) const;
  std::uint32_t GetActionColor(int Slot) const;
  void UpdateWork(float Units);
  void ApplyUpgrade(int Upgrade);
  float GetProgress() const;
  std::string_view GetWorkEffect() const;
  std::int32_t GetWorkSound() const;

  // Simulation.
  void UpdateHappiness();
  float GetDamagePhase() const { return DamagePhase; }

  // Saved record: 93 bytes.
  void SaveToStream(TStreamWriter& Stream) const;
  void LoadFromStream(TStreamReader& Stream);

  // Texts.
  std::string GetUpgradeMarks() const;
};

// One town scenario in play. Owned by a player profile.
class TMission {
 public:
  explicit TMission(TPlayer* Owner);
  ~TMission();
  TMission(const TMission&) = delete;
  TMission& operator=(const TMission&) = delete;

  TPlayer* Owner;
  std::array<std::unique_ptr<TPane>, 25> Panes;  // index Row * 5 + Column
  TPane* Selected = nullptr;
  std::int32_t Scenario = 0;  // 1..24 campaign, 25..48 sandbox
  bool Paused = false;
  std::string MapName;
  float Time = 0.0f;
  std::int32_t StarTime = 0;      // seconds; 0 = none
  std::int32_t DeadlineTime = 0;  // seconds; 0 = none
  bool DeadlinePassed = false;
  float IncomeTimer = 0.0f;
  bool GoalsReached = false;
  std::array<TGoal, 4> Goals{};
  std::int32_t Money = 0;
  std::int32_t LastIncome = 0;
  float IncomeAccumulator = 0.0f;
  bool IncomePaid = false;
  std::int32_t Residents = 0, Happiness = 0, Religion = 0, Commerce = 0, Healthcare = 0,
               Culture = 0;
  std::array<std::int32_t, 9> ServiceCount{};  // [1..8]
  std::int32_t Wood = 0, WoodPrice = 0, WoodOrders = 0;
  float WoodTimer = 0.0f;
  bool WoodDelivered = false;
  std::int32_t Stone = 0, StonePrice = 0, StoneOrders = 0;
  float StoneTimer = 0.0f;
  bool StoneDelivered = false;
  std::int32_t Workers = 0, FreeWorkers = 0, TrainPrice = 0, Trainees = 0;
  float TrainTimer = 0.0f;
  bool WorkerTrained = false;
  std::uint32_t OwnedLicenses = 0;
  std::uint32_t LicensesOnSale = 0;
  std::int32_t HoverAction = -1;
  std::int32_t HoverLicense = -1;
  bool StartShown = false;
  int StartText = 0, EndText = 0;
  std::int32_t Stage = 0;
  std::int32_t StageMark = 0;
  std::vector<TStage> Stages;
  bool ShowTrophyGoal = false;
  bool DamageOn = false, HappinessOn = false, ResidentsOn = false, NeedsOn = false;

  // Model.
  TPane* GetPane(std::int32_t Row, std::int32_t Column) const;
  void SelectPane(std::int32_t Row, std::int32_t Column);
  bool IsCampaign() const { return Scenario >= 1 && Scenario <= 24; }

  // Set-up from the scenario table (1..48; anything else gives an empty-handed mission).
  void Setup(std::int32_t NewScenario);

  // Town actions.
  bool CanOrderWood() const;
  void OrderWood();
  float WoodProgress() const;
  bool CanOrderStone() const;
  void OrderStone();
  float StoneProgress() const;
  std::int32_t TrainingPrice() const;
  bool CanTrainWorker() const;
  void TrainWorker();
  float TrainingProgress() const;
  float IncomeProgress() const;
  std::int32_t LicenseState(std::int32_t Id) const;
  void BuyLicense(std::int32_t Id);
  bool OwnsLicense(std::int32_t Id) const;
  // Counts[1..5]: panes with each work sound; SelectedSound: the selected pane's (0 = none).
  void CountWorkSounds(std::array<std::int32_t, 6>& Counts, std::int32_t& SelectedSound) const;

  // Simulation.
  void Update(float Seconds);

  // Goals, times and the end.
  void ClearGoals();
  void AddGoal(bool Normal, std::uint8_t Kind, std::int32_t Target);
  void RemoveGoal();
  std::int32_t GoalCount() const;
  bool HasGoal(std::uint8_t Kind) const;
  void SetTimes(float StarMinutes, float DeadlineMinutes);
  std::int32_t ElapsedSeconds() const;
  bool InStarTime() const;
  bool TrophyWon() const;
  void DebugCommand(std::int32_t Code);

  // Tutorial stages.
  void SetupStages(std::int32_t ForScenario);
  void AddStage(std::uint8_t Kind, std::int32_t X, std::int32_t Y, int Text,
                const std::string& Control, std::int32_t ControlArrow, bool Arrow,
                std::int32_t ArrowDirection, float ArrowX, float ArrowY, bool OpensLicenses);
  TStage GetStage() const;
  bool StageOpensLicenses() const;
  void NextStage();
  void SkipStages();

  // Saved record. LoadFromStream throws EStreamError when the record is short or holds a value
  // outside the tables.
  void SaveToStream(TStreamWriter& Stream) const;
  void LoadFromStream(TStreamReader& Stream);

  // Texts.
  std::string GetTimeText() const;
  std::string GetGoalsText() const;
  TStats GetStatsTexts() const;
  TInfo GetInfoText() const;
  std::string GetLicenseText() const;
  std::string NeedsText(std::int32_t Count) const;
  void SetHoverAction(std::int32_t Slot);
  void SetHoverLicense(std::int32_t Id);
};

// ---- Text helpers ------------------------------------------------------------------------------
std::string FormatThousands(std::int32_t N);
std::string FormatMoney(std::int32_t N);
std::string BracketText(int TextId);
std::string AffectText(std::int32_t N);
std::string ResourceLabel(int Kind, bool Enough);
std::string GoalText(std::uint8_t Kind, std::int32_t Value);
std::string UpgradeMarks(std::uint16_t Upgrades);

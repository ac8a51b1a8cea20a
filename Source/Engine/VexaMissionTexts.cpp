// VexaMissionTexts.cpp -- the texts a mission builds for the screen's panels: time, goals,
// statistics, info panel and licence tooltip, and the number and label formatting they share.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "EngineLanguages.h"
#include "EngineRegister.h"
#include "EngineUtils.h"
#include "VexaMission.h"
#include "VexaMissionRules.h"

namespace {

// Pictogram characters of the icon font. The texts carry them as control codes.
constexpr char kMoney = '\x01';
constexpr char kWood = '\x02';
constexpr char kStone = '\x03';
constexpr char kWorkers = '\x04';
constexpr char kMarkEnough = '\x05';
constexpr char kMarkNotEnough = '\x06';
constexpr char kMarkMissingService = '\x07';
constexpr char kBeforeMark = '\x08';
constexpr char kHappy = '\x09';
constexpr char kUnhappy = '\x0A';
constexpr char kLicense = '\x0B';
constexpr char kLineBreak = '\x0D';
constexpr char kDeadline = '\x16';
constexpr char kStarTime = '\x18';
constexpr char kTrophyGoal = '\x19';
constexpr char kResidents = '\x1A';
constexpr char kReligion = '\x1B';
constexpr char kCommerce = '\x1C';
constexpr char kHealthcare = '\x1D';
constexpr char kCulture = '\x1E';
constexpr char kGoal = '\x1F';

// The pictogram of service n (1..8) is 13 + n; so is the mark of upgrade n (1..13).
constexpr char NumberedPictogram(int N) {
  return static_cast<char>(13 + N);
}

constexpr int kHighestService = 8;

// The first action-bar slot that is not a pane action, and the last town icon.
constexpr int kFirstTownIcon = 15;
constexpr int kLastTownIcon = 24;

const std::string& Text(int Id) {
  static const std::string Empty;
  if (Id < 0 || Id >= kStringCount) return Empty;
  return StringTable[Id];
}

std::string Plain(std::int32_t N) {
  return std::to_string(N);
}

// "+N" with the happy pictogram, or "-N" with the unhappy one.
std::string HappinessAmount(std::int32_t N) {
  if (N >= 0) return "+" + Plain(N) + kHappy;
  return Plain(N) + kUnhappy;
}

std::string JoinLines(const std::vector<std::string>& Lines) {
  std::string Joined;
  for (std::size_t I = 0; I < Lines.size(); ++I) {
    if (I > 0) Joined += kLineBreak;
    Joined += Lines[I];
  }
  return Joined;
}

// Income per payment scaled by the difficulty: a quarter more on Easy, a quarter less on Hard.
std::int32_t ScaledByDifficulty(std::int32_t Income) {
  if (Register.Difficulty == 1) return FloorToInt(static_cast<float>(Income) * 1.25f);
  if (Register.Difficulty == -1) return FloorToInt(static_cast<float>(Income) * 0.75f);
  return Income;
}

// A number as a goal shows it: money and income with the currency, stocks and residents grouped
// in thousands, everything else plain.
std::string GoalNumber(std::uint8_t Measure, std::int32_t N) {
  switch (Measure) {
    case gmMoney:
    case gmIncome:
      return FormatMoney(N);
    case gmWood:
    case gmStone:
    case gmResidents:
      return FormatThousands(N);
    default:
      return Plain(N);
  }
}

// The range of targets a goal kind offers: "[min .. max]", money and income with the currency.
std::string GoalRange(const TGoalInfo& Goal) {
  const bool IsMoney = Goal.Measure == gmMoney || Goal.Measure == gmIncome;
  const bool Grouped =
      IsMoney || Goal.Measure == gmWood || Goal.Measure == gmStone || Goal.Measure == gmResidents;
  const auto Format = [Grouped](std::int32_t N) { return Grouped ? FormatThousands(N) : Plain(N); };
  std::string Range = "[" + Format(Goal.Minimum) + " .. " + Format(Goal.Maximum) + "]";
  if (IsMoney) Range += " " + CurrencySymbol;
  return Range;
}

// Fills the info panel from a given line on; lines past the panel's end are dropped.
class TInfoWriter {
 public:
  explicit TInfoWriter(TInfo& Lines) : Lines(Lines) {}

  void Add(std::string Line) {
    if (Next < static_cast<int>(Lines.size())) Lines[Next] = std::move(Line);
    ++Next;
  }
  // Moves on to Line unless the text already reaches past it.
  void StartNoEarlierThan(int Line) {
    if (Next < Line) Next = Line;
  }

 private:
  TInfo& Lines;
  int Next = 0;
};

// The four need-point lines of a building or of what a construction would give.
void AddNeedLines(TInfoWriter& Info, std::int32_t Religion, std::int32_t Commerce,
                  std::int32_t Healthcare, std::int32_t Culture) {
  const struct {
    int Label;
    std::int32_t Points;
  } Needs[] = {{sidLabelReligion, Religion},
               {sidLabelCommerce, Commerce},
               {sidLabelHealthcare, Healthcare},
               {sidLabelCulture, Culture}};
  for (const auto& Need : Needs) {
    if (Need.Points > 0) Info.Add(Text(Need.Label) + " " + Plain(Need.Points));
  }
}

std::string LabelledNumber(int Label, std::int32_t N) {
  return Text(Label) + " " + Plain(N);
}

std::string PriceLine(std::int32_t Price, std::int32_t Money) {
  return ResourceLabel(0, Money >= Price) + " " + FormatMoney(Price);
}

// One line with the wood, stone and worker costs; each part after the first is set off by two
// spaces.
std::string CostLine(const TMission& Mission, const MissionRules::TActionCost& Cost) {
  std::string Line;
  const auto Append = [&Line](const std::string& Part) {
    if (!Line.empty()) Line += "  ";
    Line += Part;
  };
  if (Cost.Wood > 0)
    Append(ResourceLabel(1, Mission.Wood >= Cost.Wood) + " " + FormatThousands(Cost.Wood));
  if (Cost.Stone > 0)
    Append(ResourceLabel(2, Mission.Stone >= Cost.Stone) + " " + FormatThousands(Cost.Stone));
  Append(ResourceLabel(3, Mission.FreeWorkers >= Cost.Workers) + " " + Plain(Cost.Workers));
  return Line;
}

// What a finished construction gives the town.
void AddConstructionGains(TInfoWriter& Info, const TMission& Mission, std::uint8_t NewKind) {
  const TPaneInfo& Kind = PaneInfo[NewKind];
  if (Mission.HappinessOn && Kind.Appeal != 0) Info.Add(AffectText(Kind.Appeal));
  if (Kind.Income > 0)
    Info.Add(Text(sidLabelIncome) + " " + FormatMoney(ScaledByDifficulty(Kind.Income)));
  if (Mission.HappinessOn && Kind.BaseHappiness != 0)
    Info.Add(Text(sidLabelHappiness) + " " + HappinessAmount(Kind.BaseHappiness));
  if (Mission.ResidentsOn && Kind.Residents > 0)
    Info.Add(LabelledNumber(sidLabelResidents, Kind.Residents));
  if (Mission.NeedsOn)
    AddNeedLines(Info, Kind.Religion, Kind.Commerce, Kind.Healthcare, Kind.Culture);
}

// What a finished upgrade adds to the building.
void AddUpgradeGains(TInfoWriter& Info, const TMission& Mission, std::uint8_t Upgrade) {
  if (Upgrade < 1 || Upgrade > UpgradeCount) return;
  const TUpgradeInfo& Gain = UpgradeInfo[Upgrade];
  if (Gain.IncomeBonus > 0) Info.Add(Text(sidLabelIncome) + "  +" + Plain(Gain.IncomeBonus) + "%");
  if (!Mission.NeedsOn) return;
  const struct {
    int Label;
    std::int32_t Amount;
  } Needs[] = {{sidLabelReligion, Gain.Religion},
               {sidLabelCommerce, Gain.Commerce},
               {sidLabelHealthcare, Gain.Healthcare},
               {sidLabelCulture, Gain.Culture}};
  for (const auto& Need : Needs) {
    if (Need.Amount > 0) Info.Add(Text(Need.Label) + " +" + Plain(Need.Amount));
  }
}

// A pane with nothing hovered: what it is, its job, or what it gives the town.
void DescribePane(TInfoWriter& Info, const TMission& Mission, const TPane& Pane) {
  const TPaneInfo& Kind = PaneInfo[Pane.Kind];
  Info.Add(Text(Kind.NameText));
  if (Pane.Action != akNone) {
    Info.Add(BracketText(ActionInfo[Pane.Action].ProgressText));
    Info.Add(LabelledNumber(sidLabelAssignedWorkers, Pane.Workers));
    Info.Add(LabelledNumber(sidLabelMaxWorkers, Pane.WorkersMax));
    return;
  }
  Info.Add(BracketText(Pane.Damaged ? sidPaneHintDamaged : Kind.HintText));
  if (Mission.HappinessOn && Kind.Appeal != 0) Info.Add(AffectText(Kind.Appeal));
  if (Mission.HappinessOn && !Pane.Damaged && Kind.Needs > 0)
    Info.Add(Mission.NeedsText(Kind.Needs));
  if (!Pane.Damaged && Kind.Income > 0) {
    const std::int32_t Income = ScaledByDifficulty(MissionRules::PaneIncome(Pane));
    Info.Add(Text(sidLabelIncome) + " " + FormatMoney(Income));
  }
  if (Mission.ResidentsOn && Pane.Residents > 0)
    Info.Add(LabelledNumber(sidLabelResidents, Pane.Residents));
  if (Mission.NeedsOn)
    AddNeedLines(Info, Pane.Religion, Pane.Commerce, Pane.Healthcare, Pane.Culture);
}

// One of the pane's action slots under the pointer: what the action costs and gives.
void DescribeAction(TInfoWriter& Info, const TMission& Mission, const TPane& Pane, int Slot) {
  const TActionInfo& Action = ActionInfo[Pane.Slots[Slot]];
  Info.Add(Text(Action.NameText));
  Info.Add(BracketText(Action.HintText));
  if (Action.Effect == aeAddWorker) {
    Info.Add(LabelledNumber(sidLabelAssignedWorkers, Pane.Workers));
    Info.Add(LabelledNumber(sidLabelMaxWorkers, Pane.WorkersMax));
    if (Pane.Workers == Pane.WorkersMax)
      Info.Add(Text(sidLabelMaxWorkersAssigned));
    else if (Mission.FreeWorkers < 1)
      Info.Add(Text(sidLabelNoWorkers));
    return;
  }
  Info.Add(CostLine(Mission, MissionRules::ActionCost(Pane.Kind, Pane.Slots[Slot])));
  if (Action.License != lcNone) {
    const bool Owned = Mission.LicenseState(Action.License) == 2;
    Info.Add(ResourceLabel(4, Owned) + Text(LicenseInfo[Action.License].NameText));
  }
  if (Action.Price >= 1) Info.Add(PriceLine(Action.Price, Mission.Money));
  if (Action.RecoveredWood > 0)
    Info.Add(Text(sidLabelRecoveredWood) + " " + FormatThousands(Action.RecoveredWood));
  if (Action.RecoveredStone > 0)
    Info.Add(Text(sidLabelRecoveredStone) + " " + FormatThousands(Action.RecoveredStone));
  if (Action.Effect == aeConstruct) {
    Info.StartNoEarlierThan(4);
    AddConstructionGains(Info, Mission, Action.NewKind);
  } else if (Action.Effect == aeUpgrade) {
    Info.StartNoEarlierThan(4);
    AddUpgradeGains(Info, Mission, Action.Upgrade);
  }
}

// The town icons of the action bar (15..24): name, hint and, for the orders, the price.
void DescribeTownIcon(TInfoWriter& Info, const TMission& Mission, int Icon) {
  const struct {
    int Name, Hint;
  } Icons[] = {
      {sidActionNameCollecting, sidActionHintCollecting},
      {sidActionNameOrderWood, sidActionHintOrderMaterial},
      {sidActionNameOrderStone, sidActionHintOrderMaterial},
      {sidActionNameTrainWorker, sidActionHintTrainWorker},
      {sidActionNameBuyLicense, sidActionHintBuyLicense},
      {sidActionNamePause, sidActionHintPause},
      {sidActionNameRestart, sidActionHintRestart},
      {sidActionNameHelp, sidActionHintHelp},
      {sidActionNameOptions, sidActionHintOptions},
      {sidActionNameExit, sidActionHintExit},
  };
  const auto& Entry = Icons[Icon - kFirstTownIcon];
  Info.Add(Text(Entry.Name));
  Info.Add(BracketText(Entry.Hint));
  switch (Icon) {
    case 16:
      Info.Add(PriceLine(Mission.WoodPrice, Mission.Money));
      break;
    case 17:
      Info.Add(PriceLine(Mission.StonePrice, Mission.Money));
      break;
    case 18:
      Info.Add(PriceLine(Mission.TrainingPrice(), Mission.Money));
      break;
    default:
      break;
  }
}

}  // namespace

// ---- Formatting helpers ----

std::string FormatThousands(std::int32_t N) {
  const std::int64_t Wide = N;
  const std::int64_t Magnitude = Wide < 0 ? -Wide : Wide;
  std::string Digits = std::to_string(Magnitude);
  if (Magnitude > 999999) Digits.insert(Digits.size() - 6, 1, ThousandsSeparator);
  if (Magnitude >= 1000) Digits.insert(Digits.size() - 3, 1, ThousandsSeparator);
  return N < 0 ? "-" + Digits : Digits;
}

std::string FormatMoney(std::int32_t N) {
  return FormatThousands(N) + " " + CurrencySymbol;
}

std::string BracketText(int TextId) {
  const std::string& Content = Text(TextId);
  if (Content.empty()) return {};
  return "(" + Content + ")";
}

std::string AffectText(std::int32_t N) {
  return Text(sidLabelAffect) + " " + HappinessAmount(N);
}

std::string ResourceLabel(int Kind, bool Enough) {
  const struct {
    char Pictogram;
    int Word;
  } Labels[] = {{kMoney, sidLabelCost},
                {kWood, sidLabelWood},
                {kStone, sidLabelStone},
                {kWorkers, sidLabelWorkers},
                {kLicense, sidNone}};
  if (Kind < 0 || Kind >= static_cast<int>(std::size(Labels))) return {};
  const auto& Label = Labels[Kind];
  std::string Result{Label.Pictogram, kBeforeMark, Enough ? kMarkEnough : kMarkNotEnough};
  return Result + Text(Label.Word);
}

std::string GoalText(std::uint8_t Kind, std::int32_t Value) {
  if (Kind >= GoalKindCount) return {};
  const TGoalInfo& Goal = GoalInfo[Kind];
  std::string Amount;
  if (Goal.ShowValue) Amount = Value > 0 ? GoalNumber(Goal.Measure, Value) : GoalRange(Goal);
  if (!Amount.empty()) Amount += " ";
  return static_cast<char>(Goal.Icon) + (" " + Amount) + Text(Goal.NameText);
}

std::string UpgradeMarks(std::uint16_t Upgrades) {
  std::string Marks;
  for (int Upgrade = 1; Upgrade <= UpgradeCount; ++Upgrade) {
    if (Upgrades & (1u << Upgrade)) Marks += NumberedPictogram(Upgrade);
  }
  return Marks;
}

std::string TPane::GetUpgradeMarks() const {
  return UpgradeMarks(Upgrades);
}

std::string TMission::NeedsText(std::int32_t Count) const {
  std::string Needs = Text(sidLabelNeeds) + " ";
  const std::int32_t Services = Count < kHighestService ? Count : kHighestService;
  for (int Service = 1; Service <= Services; ++Service) {
    Needs += NumberedPictogram(Service);
    Needs += kBeforeMark;
    Needs += ServiceCount[Service] == 0 ? kMarkMissingService : kMarkEnough;
  }
  return Needs;
}

// ---- Panel texts ----

std::string TMission::GetTimeText() const {
  std::vector<std::string> Lines;
  if (StarTime > 0 && ElapsedSeconds() < StarTime) {
    Lines.push_back(std::string{kStarTime, ' '} + Text(sidLabelStarTime) + " " +
                    FormatTime(StarTime));
  }
  const TGoal& Trophy = Goals[0];
  if (Trophy.Kind != gkNone && ShowTrophyGoal) {
    std::string Line{kTrophyGoal};
    Line += Trophy.Reached ? std::string{kBeforeMark, kMarkEnough} : std::string{' '};
    Lines.push_back(Line + Text(sidLabelTrophyGoal) + " " + GoalText(Trophy.Kind, Trophy.Target));
  }
  if (Register.Deadline && DeadlineTime > 0) {
    Lines.push_back(std::string{kDeadline, kBeforeMark, kMarkNotEnough} + Text(sidLabelDeadline) +
                    " " + FormatTime(DeadlineTime));
  }
  return JoinLines(Lines);
}

std::string TMission::GetGoalsText() const {
  std::vector<std::string> Lines;
  for (int Slot = 1; Slot <= 3; ++Slot) {
    const TGoal& Goal = Goals[Slot];
    if (Goal.Kind == gkNone) continue;
    std::string Line{kGoal};
    Line += Goal.Reached ? std::string{kBeforeMark, kBeforeMark, kMarkEnough, ' '} : " ";
    Line += GoalText(Goal.Kind, Goal.Target);
    if (Goal.Kind < GoalKindCount) {
      const TGoalInfo& Info = GoalInfo[Goal.Kind];
      const bool CountsPanes = Info.Measure == gmPanes || Info.Measure == gmUpgradedPanes;
      if (Info.ShowValue && CountsPanes)
        Line += " (" + Text(sidLabelYouHave) + " " + Plain(Goal.Value) + ")";
    }
    Lines.push_back(Line);
  }
  return JoinLines(Lines);
}

TStats TMission::GetStatsTexts() const {
  TStats Stats;
  std::size_t Next = 0;
  const auto Add = [&](char Pictogram, int Label, const std::string& Amount) {
    Stats[Next++] = std::string{Pictogram, ' '} + Text(Label) + " " + Amount;
  };
  Add(kMoney, sidLabelIncome, FormatMoney(LastIncome));
  if (HappinessOn) Add(kHappy, sidLabelHappiness, Plain(Happiness));
  if (ResidentsOn) Add(kResidents, sidLabelResidents, FormatThousands(Residents));
  if (NeedsOn) {
    Add(kReligion, sidLabelReligion, Plain(Religion));
    Add(kCommerce, sidLabelCommerce, Plain(Commerce));
    Add(kHealthcare, sidLabelHealthcare, Plain(Healthcare));
    Add(kCulture, sidLabelCulture, Plain(Culture));
  }
  return Stats;
}

TInfo TMission::GetInfoText() const {
  TInfo Lines;
  TInfoWriter Info(Lines);
  const std::int32_t Hover = HoverAction;
  if (Hover >= kFirstTownIcon && Hover <= kLastTownIcon) {
    DescribeTownIcon(Info, *this, Hover);
  } else if (Selected != nullptr) {
    if (Hover >= 0 && Hover < kFirstTownIcon)
      DescribeAction(Info, *this, *Selected, Hover);
    else
      DescribePane(Info, *this, *Selected);
  }
  return Lines;
}

std::string TMission::GetLicenseText() const {
  if (HoverLicense < 1 || HoverLicense >= LicenseCount) return {};
  const TLicenseInfo& License = LicenseInfo[HoverLicense];
  std::string Tooltip = Text(License.NameText) + kLineBreak;
  switch (LicenseState(HoverLicense)) {
    case 2:
      return Tooltip + Text(sidLabelOwned);
    case 1:
      return Tooltip + Text(sidLabelLocked);
    default:
      return Tooltip + PriceLine(License.Price, Money);
  }
}

void TMission::SetHoverAction(std::int32_t Slot) {
  HoverAction = Slot;
}

void TMission::SetHoverLicense(std::int32_t Id) {
  HoverLicense = Id;
}

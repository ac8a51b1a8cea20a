// VexaMissionActions.cpp -- what the player does to the town: jobs on panes, orders of wood and
// stone, training workers and buying licences. The checks (CanStartAction, CanOrderWood, ...) are
// the callers' duty; the operations themselves do not repeat them.
#include "EngineUtils.h"
#include "VexaMission.h"
#include "VexaMissionRules.h"

namespace MissionRules {

TActionCost ActionCost(std::uint8_t PaneKind, std::uint8_t Action) {
  const TPaneInfo& Pane = PaneInfo[PaneKind];
  const TActionInfo& Info = ActionInfo[Action];
  TActionCost Cost;
  Cost.Workers = Pane.BaseWorkers * Info.WorkersFactor;
  Cost.MaxWorkers = Cost.Workers * 3 / 2;
  Cost.Work = Pane.BaseWork * Info.WorkFactor;
  Cost.Wood = Pane.BaseWood * Info.WoodFactor;
  Cost.Stone = Pane.BaseStone * Info.StoneFactor;
  Cost.Money = Info.Price;
  return Cost;
}

float NewDamageDelay() {
  return (RandomFloat() - 0.5f) * 180.0f + 480.0f;
}

}  // namespace MissionRules

namespace {

bool IsValidSlot(int Slot) {
  return Slot >= 0 && Slot < SlotCount;
}

const TActionInfo& SlotAction(const TPane& Pane, int Slot) {
  return ActionInfo[Pane.Slots[static_cast<std::size_t>(Slot)]];
}

}  // namespace

// ---- Pane actions ----

bool TPane::IsActionHidden(int Slot) const {
  if (!IsValidSlot(Slot) || Slots[static_cast<std::size_t>(Slot)] == akNone) return true;
  const bool Busy = Action != akNone;
  switch (SlotAction(*this, Slot).Effect) {
    case aeAddWorker:
      return !Busy;
    case aeRepair:
      return Busy || !Damaged;
    case aeDemolish:
      return Busy;  // a damaged building can still be demolished
    case aeConstruct:
    case aeUpgrade:
    case aeClear:
      return Busy || Damaged;
    default:
      return true;
  }
}

bool TPane::CanStartAction(int Slot) const {
  if (!IsValidSlot(Slot)) return false;
  const std::uint8_t A = Slots[static_cast<std::size_t>(Slot)];
  const TActionInfo& Info = ActionInfo[A];
  if (Info.Effect == aeAddWorker) return Mission->FreeWorkers >= 1 && Workers < WorkersMax;
  const MissionRules::TActionCost Cost = MissionRules::ActionCost(Kind, A);
  // Licence 0 is the requirement of every action that needs none, whatever the set holds.
  const bool Licensed = Info.License == lcNone || Mission->OwnsLicense(Info.License);
  return Mission->FreeWorkers >= Cost.Workers && Mission->Wood >= Cost.Wood &&
         Mission->Stone >= Cost.Stone && Licensed && Mission->Money >= Cost.Money;
}

void TPane::StartAction(int Slot) {
  if (!IsValidSlot(Slot)) return;
  std::uint8_t& SlotRef = Slots[static_cast<std::size_t>(Slot)];
  const std::uint8_t A = SlotRef;
  const TActionInfo& Info = ActionInfo[A];
  if (Info.Effect == aeAddWorker) {
    Workers += 1;
    Mission->FreeWorkers -= 1;
    return;
  }
  const MissionRules::TActionCost Cost = MissionRules::ActionCost(Kind, A);
  Action = A;
  WorkersStart = Cost.Workers;
  WorkersMax = Cost.MaxWorkers;
  Workers = WorkersStart;
  Mission->FreeWorkers -= WorkersStart;
  WorkNeeded = static_cast<float>(Cost.Work);
  WorkDone = 0.0f;
  WoodSpent = Cost.Wood;
  Mission->Wood -= WoodSpent;
  StoneSpent = Cost.Stone;
  Mission->Stone -= StoneSpent;
  if (Cost.Money > 0) Mission->Money -= Cost.Money;
  if (Info.ConsumeSlot) SlotRef = akNone;
  if (Info.ReplaceSlot != akNone) SlotRef = Info.ReplaceSlot;
}

std::int32_t TPane::GetActionIcon(int Slot) const {
  return IsValidSlot(Slot) ? SlotAction(*this, Slot).Icon : 0;
}

std::uint32_t TPane::GetActionColor(int Slot) const {
  return IsValidSlot(Slot) ? SlotAction(*this, Slot).Color : 0;
}

void TPane::UpdateWork(float Units) {
  WorkDone = static_cast<float>(Workers) * Units + WorkDone;
  if (WorkDone < WorkNeeded) return;

  const TActionInfo& Info = ActionInfo[Action];
  Mission->FreeWorkers = MissionRules::SaturatingAdd(Mission->FreeWorkers, Workers);
  ClearJob();
  if (Info.RecoveredWood > 0)
    Mission->Wood = MissionRules::SaturatingAdd(Mission->Wood, Info.RecoveredWood);
  if (Info.RecoveredStone > 0)
    Mission->Stone = MissionRules::SaturatingAdd(Mission->Stone, Info.RecoveredStone);
  switch (Info.Effect) {
    case aeRepair:
      Damaged = false;
      DamageDelay = MissionRules::NewDamageDelay();
      break;
    case aeDemolish:
    case aeConstruct:
    case aeClear:
      SetKind(Info.NewKind);
      break;
    case aeUpgrade:
      ApplyUpgrade(Info.Upgrade);
      break;
    default:
      break;
  }
  SoundEvent = MissionRules::TableText(Info.FinishSound);
  EffectEvent = MissionRules::TableText(Info.FinishEffect);
  Action = akNone;
}

void TPane::ApplyUpgrade(int Upgrade) {
  if (Upgrade < 1 || Upgrade > UpgradeCount) return;
  const auto Bit = static_cast<std::uint16_t>(1u << Upgrade);
  if ((Upgrades & Bit) != 0) return;
  Upgrades = static_cast<std::uint16_t>(Upgrades | Bit);
  const TUpgradeInfo& Info = UpgradeInfo[static_cast<std::size_t>(Upgrade)];
  // Saturating: a loaded record may already hold any value here.
  using MissionRules::SaturatingAdd;
  if (Info.IncomeBonus > 0) IncomeBonus = SaturatingAdd(IncomeBonus, Info.IncomeBonus);
  if (Info.Religion > 0) Religion = SaturatingAdd(Religion, Info.Religion);
  if (Info.Commerce > 0) Commerce = SaturatingAdd(Commerce, Info.Commerce);
  if (Info.Healthcare > 0) Healthcare = SaturatingAdd(Healthcare, Info.Healthcare);
  if (Info.Culture > 0) Culture = SaturatingAdd(Culture, Info.Culture);
}

float TPane::GetProgress() const {
  if (WorkNeeded <= 0.0f) return 1.0f;
  return Clamp01(WorkDone / WorkNeeded);
}

std::string_view TPane::GetWorkEffect() const {
  if (Action == akNone) return {};
  return MissionRules::TableText(ActionInfo[Action].WorkEffect);
}

std::int32_t TPane::GetWorkSound() const {
  return Action != akNone ? ActionInfo[Action].WorkSound : PaneInfo[Kind].WorkSound;
}

// ---- Town actions ----

bool TMission::CanOrderWood() const {
  return Money >= WoodPrice;
}

void TMission::OrderWood() {
  Money -= WoodPrice;
  WoodOrders = MissionRules::SaturatingAdd(WoodOrders, 1);
}

float TMission::WoodProgress() const {
  return WoodTimer / MissionRules::DeliveryPeriod;
}

bool TMission::CanOrderStone() const {
  return Money >= StonePrice;
}

void TMission::OrderStone() {
  Money -= StonePrice;
  StoneOrders = MissionRules::SaturatingAdd(StoneOrders, 1);
}

float TMission::StoneProgress() const {
  return StoneTimer / MissionRules::DeliveryPeriod;
}

std::int32_t TMission::TrainingPrice() const {
  return OwnsLicense(lcSpec1) ? TrainPrice - MissionRules::TrainingDiscount : TrainPrice;
}

bool TMission::CanTrainWorker() const {
  return Money >= TrainingPrice();
}

void TMission::TrainWorker() {
  Money -= TrainingPrice();
  Trainees = MissionRules::SaturatingAdd(Trainees, 1);
}

float TMission::TrainingProgress() const {
  return TrainTimer / MissionRules::TrainingPeriod;
}

float TMission::IncomeProgress() const {
  return IncomeTimer / MissionRules::IncomePeriod;
}

std::int32_t TMission::LicenseState(std::int32_t Id) const {
  if (OwnsLicense(Id)) return 2;
  // A licence the table does not know cannot be offered, whatever the sale set holds.
  if (!MissionRules::LicenseInSet(LicensesOnSale, Id) || Id >= LicenseCount) return 1;
  return LicenseInfo[static_cast<std::size_t>(Id)].Price <= Money ? 0 : -1;
}

void TMission::BuyLicense(std::int32_t Id) {
  if (Id < 0 || Id >= LicenseCount) return;
  OwnedLicenses |= 1u << Id;
  Money -= LicenseInfo[static_cast<std::size_t>(Id)].Price;
}

bool TMission::OwnsLicense(std::int32_t Id) const {
  return MissionRules::LicenseInSet(OwnedLicenses, Id);
}

void TMission::CountWorkSounds(std::array<std::int32_t, 6>& Counts,
                               std::int32_t& SelectedSound) const {
  Counts.fill(0);
  for (const std::unique_ptr<TPane>& Pane : Panes) {
    const std::int32_t Sound = Pane->GetWorkSound();
    if (Sound > 0 && Sound < static_cast<std::int32_t>(Counts.size()))
      Counts[static_cast<std::size_t>(Sound)] += 1;
  }
  SelectedSound = Selected ? Selected->GetWorkSound() : 0;
}

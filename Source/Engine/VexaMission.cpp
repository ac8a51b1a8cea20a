// VexaMission.cpp -- the mission and its panes: construction, the map and pane kinds.
#include "VexaMission.h"

#include "EngineUtils.h"
#include "VexaMissionRules.h"

namespace {

constexpr std::int32_t MapSize = 5;

// Offsets (row, column) of a pane's eight neighbours, in the order panes keep them.
constexpr std::array<std::array<std::int32_t, 2>, 8> NeighbourOffsets{{
    {-1, -1},
    {0, -1},
    {1, -1},
    {-1, 0},
    {1, 0},
    {-1, 1},
    {0, 1},
    {1, 1},
}};

constexpr std::int32_t StartWoodPrice = 500;
constexpr std::int32_t StartStonePrice = 500;
constexpr std::int32_t StartTrainPrice = 1500;

}  // namespace

// ---- TPane ----

TPane::TPane(TMission& Owner, std::int32_t PaneRow, std::int32_t PaneColumn)
    : Mission(&Owner), Row(PaneRow), Column(PaneColumn) {}

void TPane::SetKind(std::uint8_t NewKind) {
  const TPaneInfo& Info = PaneInfo[NewKind];
  Kind = NewKind;
  Variant = Info.Looks >= 2 ? Random(Info.Looks) : 0;
  Upgrades = 1;  // bit 0 is always set
  Slots = Info.Slots;
  Damageable = Info.Damageable;
  DamageDelay = MissionRules::NewDamageDelay();
  Damaged = false;
  Happiness = Info.BaseHappiness;
  IncomeBonus = 0;
  Residents = Info.Residents;
  Religion = Info.Religion;
  Commerce = Info.Commerce;
  Healthcare = Info.Healthcare;
  Culture = Info.Culture;
}

void TPane::Setup(std::int32_t NewLook, std::uint8_t NewKind, std::int32_t NewVariant) {
  Look = NewLook;
  SetKind(NewKind);
  if (NewVariant >= 0) Variant = NewVariant;
  Action = akNone;
  ClearJob();
}

void TPane::ClearJob() {
  Workers = 0;
  WorkNeeded = 0.0f;
  WoodSpent = 0;
  StoneSpent = 0;
  WorkersStart = 0;
  WorkersMax = 0;
  WorkDone = 0.0f;
}

std::string TPane::GetTextureName() const {
  return std::string(MissionRules::TableText(PaneInfo[Kind].Texture));
}

// ---- TMission ----

TMission::TMission(TPlayer* MissionOwner)
    : Owner(MissionOwner),
      WoodPrice(StartWoodPrice),
      StonePrice(StartStonePrice),
      TrainPrice(StartTrainPrice) {
  for (std::int32_t R = 0; R < MapSize; ++R)
    for (std::int32_t C = 0; C < MapSize; ++C)
      Panes[static_cast<std::size_t>(R * MapSize + C)] = std::make_unique<TPane>(*this, R, C);
  for (const std::unique_ptr<TPane>& Pane : Panes)
    for (std::size_t N = 0; N < NeighbourOffsets.size(); ++N)
      Pane->Neighbours[N] =
          GetPane(Pane->Row + NeighbourOffsets[N][0], Pane->Column + NeighbourOffsets[N][1]);
}

TMission::~TMission() = default;

TPane* TMission::GetPane(std::int32_t Row, std::int32_t Column) const {
  if (Row < 0 || Row >= MapSize || Column < 0 || Column >= MapSize) return nullptr;
  return Panes[static_cast<std::size_t>(Row * MapSize + Column)].get();
}

void TMission::SelectPane(std::int32_t Row, std::int32_t Column) {
  TPane* Pane = GetPane(Row, Column);
  Selected = Pane == Selected ? nullptr : Pane;
}

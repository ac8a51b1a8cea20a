// VexaMissionScenarios.h -- the scenario table (24 campaign entries, 48 maps) that
// TMission::Setup reads; declared here so that tests and tools can check it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

constexpr int CampaignScenarioCount = 24;  // scenarios 1..24
constexpr int ScenarioCount = 48;          // 1..24 campaign, 25..48 sandbox maps

// One pane of a map: TPane::Setup(Look, Kind, Variant); Variant -1 = random.
struct TScenarioPane {
  std::int32_t Look;
  std::uint8_t Kind;
  std::int32_t Variant;
};

// 25 panes, index Row * 5 + Column.
using TScenarioMap = std::array<TScenarioPane, 25>;

// A goal of an entry; Kind 0 = no goal.
struct TScenarioGoal {
  std::uint8_t Kind;
  std::int32_t Target;
};

// The simulation switches of an entry.
struct TScenarioSwitches {
  // Scenarios 1..4: ShowTrophyGoal follows the owner's completion of scenario 4, and only the
  // parts below that are true run. Otherwise all five switches stay on.
  bool Tutorial;
  bool DamageOn, HappinessOn, ResidentsOn, NeedsOn;
};

// A campaign scenario's entry (1..24).
struct TCampaignEntry {
  std::array<TScenarioGoal, 3> Goals;  // slots 1..3, in order; unused ones have Kind 0
  TScenarioGoal Trophy;
  std::int32_t Money, Wood, Stone, Workers;
  std::uint32_t OwnedLicenses;   // always holds licence 0
  std::uint32_t LicensesOnSale;  // always holds licence 0
  float StarMinutes;             // what Setup hands to SetTimes
  float DeadlineMinutes;         // 0 = no deadline
  TScenarioSwitches Switches;
};

// [S - 1]: campaign scenario S.
extern const std::array<TCampaignEntry, CampaignScenarioCount> CampaignEntries;
// [S - 1]: the map of scenario S in map codes ("X1.3 G.3 ... ; ...").
extern const std::array<std::string_view, ScenarioCount> ScenarioMapCodes;
// [S - 1]: the map of scenario S, parsed from its code.
extern const std::array<TScenarioMap, ScenarioCount> ScenarioMaps;

// Parses a map written in map codes: five rows separated by ";", five panes each, a pane
// as kind code, ".", Look 0..3 and optionally "/" and a fixed variant. nullopt for anything else.
std::optional<TScenarioMap> ParseScenarioMap(std::string_view Code);

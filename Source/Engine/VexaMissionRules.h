// VexaMissionRules.h -- rule helpers shared by the mission's source files (not for screens).
#pragma once

#include <cstdint>
#include <limits>
#include <string_view>

#include "VexaMission.h"

namespace MissionRules {

// Game time units per second of unpaused play.
constexpr float UnitsPerSecond = 2.0f;
// Periods, in game time units.
constexpr float IncomePeriod = 10.0f;
constexpr float DeliveryPeriod = 7.0f;
constexpr float TrainingPeriod = 14.0f;
// What one wood or stone order delivers.
constexpr std::int32_t DeliveryAmount = 100;
// What licence Spec1 takes off the price of training a worker.
constexpr std::int32_t TrainingDiscount = 600;

// What an action costs on a pane of a given kind.
struct TActionCost {
  std::int32_t Workers = 0;     // workers the job starts with
  std::int32_t MaxWorkers = 0;  // most workers the job can have
  std::int32_t Work = 0;        // work units
  std::int32_t Wood = 0;
  std::int32_t Stone = 0;
  std::int32_t Money = 0;
};
TActionCost ActionCost(std::uint8_t PaneKind, std::uint8_t Action);

// What a pane earns per payment period before the difficulty: (bonus + 100 + happiness x 10) %
// of its kind's income, truncated, never negative, at most the 32-bit maximum.
inline std::int32_t PaneIncome(const TPane& Pane) {
  const std::int64_t Percent =
      std::int64_t{Pane.IncomeBonus} + 100 + std::int64_t{Pane.Happiness} * 10;
  const std::int64_t Value = Percent * PaneInfo[Pane.Kind].Income / 100;
  if (Value <= 0) return 0;
  return Value > std::numeric_limits<std::int32_t>::max() ? std::numeric_limits<std::int32_t>::max()
                                                          : static_cast<std::int32_t>(Value);
}

// A fresh countdown to a building's next damage: 390 up to (not including) 570 game units.
// Draws one random number.
float NewDamageDelay();

// A table text as a view; none (nullptr) gives an empty view.
constexpr std::string_view TableText(const char* Text) {
  return Text ? std::string_view(Text) : std::string_view();
}

// True when the 32-bit licence set holds Id (ids outside 0..31 are never held).
constexpr bool LicenseInSet(std::uint32_t Set, std::int32_t Id) {
  return Id >= 0 && Id < 32 && (Set >> Id & 1u) != 0;
}

// A + B held at the 32-bit limits instead of overflowing. Inline: the update calls it per pane.
constexpr std::int32_t SaturatingAdd(std::int32_t A, std::int32_t B) {
  const std::int64_t Sum = static_cast<std::int64_t>(A) + B;
  if (Sum > std::numeric_limits<std::int32_t>::max())
    return std::numeric_limits<std::int32_t>::max();
  if (Sum < std::numeric_limits<std::int32_t>::min())
    return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(Sum);
}

// The current value of a goal kind's measure in the mission (0 for kinds outside the table).
std::int32_t MeasureGoal(const TMission& Mission, std::uint8_t GoalKind);
// Measures every used goal slot, marks it reached or not, and sets GoalsReached.
void EvaluateGoals(TMission& Mission);

}  // namespace MissionRules

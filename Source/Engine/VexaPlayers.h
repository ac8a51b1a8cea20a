// VexaPlayers.h -- a player profile: its campaign progress and the missions it owns.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

class TMission;

// Progress of one campaign scenario; each flag 0 or 1, stored in this order.
struct TScenarioProgress {
  std::uint8_t Completed = 0;
  std::uint8_t Star = 0;
  std::uint8_t Trophy = 0;
};

constexpr int CampaignScenarios = 24;

class TPlayer {
 public:
  TPlayer();
  ~TPlayer();
  TPlayer(const TPlayer&) = delete;
  TPlayer& operator=(const TPlayer&) = delete;

  // The entry of scenario N (1..24); an all-zero entry for any other N.
  TScenarioProgress GetProgress(int N) const;
  // Replaces the entry of scenario N (1..24); other N are ignored.
  void SetProgress(int N, const TScenarioProgress& Progress);
  // Scenario 1, a completed scenario, or the one after a completed scenario.
  bool IsScenarioOpen(int N) const;
  // The highest completed scenario, 0 when none.
  int HighestCompleted() const;
  int CountStars() const;
  int CountTrophies() const;

  // The missions the profile owns; ActiveMission names one of them (or none).
  std::unique_ptr<TMission> CampaignMission;
  std::unique_ptr<TMission> SandboxMission;
  std::unique_ptr<TMission> SetupMission;
  TMission* ActiveMission = nullptr;

 private:
  std::array<TScenarioProgress, CampaignScenarios> Progress{};
};

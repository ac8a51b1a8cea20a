// PlayersTests.cpp -- a profile's campaign progress and its queries.
#include <gtest/gtest.h>

#include "VexaPlayers.h"

namespace {

TScenarioProgress Entry(int Completed, int Star, int Trophy) {
  TScenarioProgress Result;
  Result.Completed = static_cast<std::uint8_t>(Completed);
  Result.Star = static_cast<std::uint8_t>(Star);
  Result.Trophy = static_cast<std::uint8_t>(Trophy);
  return Result;
}

TEST(PlayerProgress, NewProfileHasOnlyTheFirstScenarioOpen) {
  TPlayer Player;
  EXPECT_TRUE(Player.IsScenarioOpen(1));
  for (int N = 2; N <= CampaignScenarios; ++N)
    EXPECT_FALSE(Player.IsScenarioOpen(N)) << N;
  EXPECT_EQ(Player.HighestCompleted(), 0);
  EXPECT_EQ(Player.CountStars(), 0);
  EXPECT_EQ(Player.CountTrophies(), 0);
}

TEST(PlayerProgress, CompletedScenarioOpensItselfAndTheNext) {
  TPlayer Player;
  Player.SetProgress(6, Entry(1, 0, 0));
  EXPECT_TRUE(Player.IsScenarioOpen(6));
  EXPECT_TRUE(Player.IsScenarioOpen(7));
  EXPECT_FALSE(Player.IsScenarioOpen(5));
  EXPECT_FALSE(Player.IsScenarioOpen(8));
  EXPECT_TRUE(Player.IsScenarioOpen(1));
  EXPECT_EQ(Player.HighestCompleted(), 6);
  Player.SetProgress(9, Entry(1, 0, 1));
  EXPECT_EQ(Player.HighestCompleted(), 9);
  Player.SetProgress(24, Entry(1, 1, 1));
  EXPECT_EQ(Player.HighestCompleted(), 24);
}

TEST(PlayerProgress, CountsOnlyTheFlagsThatAreSet) {
  TPlayer Player;
  Player.SetProgress(1, Entry(1, 1, 0));
  Player.SetProgress(2, Entry(1, 0, 1));
  Player.SetProgress(3, Entry(1, 1, 1));
  Player.SetProgress(4, Entry(1, 0, 0));
  EXPECT_EQ(Player.CountStars(), 2);
  EXPECT_EQ(Player.CountTrophies(), 2);
  Player.SetProgress(3, Entry(1, 0, 0));  // replaced as a whole
  EXPECT_EQ(Player.CountStars(), 1);
  EXPECT_EQ(Player.CountTrophies(), 1);
}

TEST(PlayerProgress, SandboxAndOutOfRangeNumbersHaveNoEntry) {
  TPlayer Player;
  for (int N : {0, -1, 25, 48, 1000}) {
    Player.SetProgress(N, Entry(1, 1, 1));
    TScenarioProgress Read = Player.GetProgress(N);
    EXPECT_EQ(Read.Completed + Read.Star + Read.Trophy, 0) << N;
  }
  EXPECT_EQ(Player.HighestCompleted(), 0);
  EXPECT_EQ(Player.CountStars(), 0);
  Player.SetProgress(24, Entry(1, 1, 1));
  TScenarioProgress Last = Player.GetProgress(24);
  EXPECT_EQ(Last.Completed + Last.Star + Last.Trophy, 3);
}

}  // namespace

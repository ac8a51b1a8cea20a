// VexaPlayers.cpp -- a player profile's campaign progress.
#include "VexaPlayers.h"

#include "VexaMission.h"

TPlayer::TPlayer() = default;
TPlayer::~TPlayer() = default;

namespace {
bool IsCampaignScenario(int N) {
  return N >= 1 && N <= CampaignScenarios;
}
}  // namespace

TScenarioProgress TPlayer::GetProgress(int N) const {
  return IsCampaignScenario(N) ? Progress[static_cast<std::size_t>(N - 1)] : TScenarioProgress{};
}

void TPlayer::SetProgress(int N, const TScenarioProgress& Entry) {
  if (IsCampaignScenario(N)) Progress[static_cast<std::size_t>(N - 1)] = Entry;
}

bool TPlayer::IsScenarioOpen(int N) const {
  return N == 1 || GetProgress(N).Completed || (N > 1 && GetProgress(N - 1).Completed);
}

int TPlayer::HighestCompleted() const {
  for (int N = CampaignScenarios; N >= 1; --N)
    if (GetProgress(N).Completed) return N;
  return 0;
}

int TPlayer::CountStars() const {
  int Count = 0;
  for (const TScenarioProgress& Entry : Progress)
    Count += Entry.Star ? 1 : 0;
  return Count;
}

int TPlayer::CountTrophies() const {
  int Count = 0;
  for (const TScenarioProgress& Entry : Progress)
    Count += Entry.Trophy ? 1 : 0;
  return Count;
}

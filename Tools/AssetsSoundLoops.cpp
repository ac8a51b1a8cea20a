// AssetsSoundLoops.cpp -- "sound-loops": the work sounds that play on repeat while something is
// built, torn down or cleared, and the applause. Every event is laid onto the loop circularly,
// so whatever rings past the end carries on at the start and the seam cannot be heard.
#include <cmath>

#include "AssetsSound.h"

namespace {

using namespace Assets::Sound;
using Assets::kPi;
using Assets::TRandom;

// A bed of filtered noise that runs seamlessly round the loop.
TSignal LoopedBed(std::size_t Length, TBiquad Shape, TRandom& Random) {
  TSignal Bed = WhiteNoise(Length, Random);
  FilterLooped(Bed, Shape);
  return Bed;
}

// A hammer driving a nail into a beam: a metallic ping on a wooden body.
TSignal HammerBlow(double Ring, TRandom& Random) {
  TSignal Blow =
      ModesGrain({{Ring, 0.5, 0.05}, {Ring * 1.87, 0.3, 0.03}, {Ring * 2.76, 0.15, 0.015}}, 0.4);
  MixInto(Blow, WoodKnock(Random.Range(480.0, 620.0), 0.035, Random), 0.0, 0.9);
  MixInto(Blow, Thud(200.0, 150.0, 0.03, Random), 0.0, 0.5);
  return Blow;
}

// Constructing: steady hammering, a near hammer and a quieter one further off.
TSignal Constructing() {
  TRandom Random(0xC0457);
  TSignal Loop(Frames(2.4));
  const double Near[] = {0.0, 0.38, 0.76, 1.44, 1.8};
  for (const double Start : Near)
    MixLooped(Loop, HammerBlow(Random.Range(2000.0, 2300.0), Random), Start,
              Random.Range(0.8, 1.0));
  TSignal Far(Frames(2.4));
  const double Distant[] = {0.2, 1.1, 2.0};
  for (const double Start : Distant)
    MixLooped(Far, HammerBlow(Random.Range(1600.0, 1800.0), Random), Start, 0.35);
  FilterLooped(Far, TBiquad::LowPass(2500.0));
  for (std::size_t I = 0; I < Loop.size(); ++I)
    Loop[I] += Far[I];
  return Loop;
}

// A sledgehammer on masonry: a deep blow, a crack and a spray of chips.
TSignal SledgeBlow(TRandom& Random) {
  TSignal Blow(Frames(0.9));
  MixInto(Blow, Thud(90.0, 50.0, 0.15, Random), 0.0, 1.0);
  MixInto(Blow, NoiseGrain(0.0005, 0.012, TBiquad::BandPass(1800.0, 0.8), Random), 0.0, 0.8);
  MixInto(Blow, Rubble(0.7, 14, 1500.0, Random), 0.02, 0.6);
  return Blow;
}

// Demolishing: heavy blows on walls with rubble running down between them.
TSignal Demolishing() {
  TRandom Random(0xDE305);
  TSignal Loop(Frames(3.0));
  const double Blows[] = {0.0, 1.05, 2.0};
  for (const double Start : Blows)
    MixLooped(Loop, SledgeBlow(Random), Start, 1.0);
  for (int I = 0; I < 40; ++I)
    MixLooped(Loop, StoneClack(Random.Range(900.0, 2400.0), Random), Random.Range(0.0, 3.0),
              Random.Range(0.05, 0.2));
  MixLooped(Loop, Thud(70.0, 45.0, 0.12, Random), 1.6, 0.5);
  TSignal Rumble = LoopedBed(Loop.size(), TBiquad::LowPass(160.0), Random);
  FilterLooped(Rumble, TBiquad::LowPass(160.0));
  MixLooped(Loop, Rumble, 0.0, 0.6);
  return Loop;
}

// One shovelful: the blade scraping into gravel, then the gravel tossed onto a heap.
void Shovelful(TSignal& Loop, double Start, TRandom& Random) {
  TSignal Scrape = WhiteNoise(Frames(0.4), Random);
  TStateVariable Band;
  for (std::size_t I = 0; I < Scrape.size(); ++I) {
    Band.Tune(1100.0 + 1200.0 * Seconds(I) / 0.4, 1.5);
    const double Grit = 0.6 + 0.4 * Random.Uniform();
    Scrape[I] = Band.Process(Scrape[I]) *
                static_cast<float>(Grit * AttackRelease(Seconds(I), 0.4, 0.05, 0.15));
  }
  MixLooped(Loop, Scrape, Start, 0.9);
  MixLooped(Loop, ModesGrain({{870.0, 0.4, 0.06}, {2350.0, 0.2, 0.04}}, 0.3), Start, 0.4);
  MixLooped(Loop, Rubble(0.5, 28, 2000.0, Random), Start + 0.6, 0.8);
}

// ClearingDebris: shovelling rubble, two shovelfuls to the loop.
TSignal ClearingDebris() {
  TRandom Random(0xDEB715);
  TSignal Loop(Frames(3.2));
  Shovelful(Loop, 0.0, Random);
  Shovelful(Loop, 1.6, Random);
  return Loop;
}

// One stroke of a saw through a log: the teeth rasp faster in the middle of the stroke.
TSignal SawStroke(double Length, double Pitch, TRandom& Random) {
  TSignal Stroke(Frames(Length));
  TStateVariable Band;
  Band.Tune(Pitch, 1.2);
  double Teeth = 0.0;
  for (std::size_t I = 0; I < Stroke.size(); ++I) {
    const double Speed = std::sin(kPi * Seconds(I) / Length);
    Teeth += (40.0 + 110.0 * Speed) / kRate;
    const double Rasp = std::pow(0.5 + 0.5 * std::cos(kTau * Teeth), 3.0);
    const double Level = Speed * (0.35 + 0.65 * Rasp);
    Stroke[I] = Band.Process(static_cast<float>(Random.Range(-1.0, 1.0) * Level));
  }
  return Stroke;
}

// ClearingForest: a two-handed saw going back and forth through a trunk.
TSignal ClearingForest() {
  TRandom Random(0xF04E57);
  TSignal Loop(Frames(3.0));
  for (int I = 0; I < 4; ++I) {
    const bool Push = I % 2 == 0;
    MixLooped(Loop, SawStroke(0.72, Push ? 2400.0 : 3100.0, Random), 0.75 * I + 0.015,
              Push ? 1.0 : 0.8);
  }
  FilterLooped(Loop, TBiquad::Peak(420.0, 1.2, 5.0));
  return Loop;
}

// A pickaxe striking rock: a ringing clink, a crack and a few chips.
TSignal PickStrike(TRandom& Random) {
  const double Ring = Random.Range(1750.0, 1950.0);
  TSignal Strike = ModesGrain({{Ring, 0.6, 0.09},
                               {Ring * 1.72, 0.4, 0.06},
                               {Ring * 2.6, 0.25, 0.035},
                               {Ring * 3.4, 0.12, 0.02}},
                              0.7);
  MixInto(Strike, NoiseGrain(0.0003, 0.01, TBiquad::BandPass(2500.0, 0.9), Random), 0.0, 1.0);
  MixInto(Strike, Thud(160.0, 120.0, 0.025, Random), 0.0, 0.5);
  MixInto(Strike, Rubble(0.35, 6, 2600.0, Random), 0.04, 0.5);
  return Strike;
}

// ClearingStones: a pickaxe breaking stones, four strikes to the loop.
TSignal ClearingStones() {
  TRandom Random(0x57035);
  TSignal Loop(Frames(3.0));
  const double Strikes[] = {0.02, 0.8, 1.5, 2.28};
  for (const double Start : Strikes)
    MixLooped(Loop, PickStrike(Random), Start, Random.Range(0.8, 1.0));
  return Loop;
}

// Applause: a crowd clapping; every clapper keeps a steady pace that divides the loop exactly.
TSignal Applause() {
  TRandom Random(0xA7714);
  constexpr double kSeconds = 4.0;
  TSignal Loop(Frames(kSeconds));
  for (int Clapper = 0; Clapper < 46; ++Clapper) {
    const int Claps = Random.Int(11, 18);
    const double Pace = kSeconds / Claps;
    const double Offset = Random.Range(0.0, Pace);
    const double Centre = Random.Range(800.0, 2300.0);
    const double Q = Random.Range(1.2, 2.8);
    const double Ring = Random.Range(0.006, 0.016);
    const double Level = Random.Range(0.3, 1.0);
    for (int Clap = 0; Clap < Claps; ++Clap) {
      const double Start = Offset + Clap * Pace + Random.Range(-0.012, 0.012);
      MixLooped(Loop, NoiseGrain(0.0008, Ring, TBiquad::BandPass(Centre, Q), Random), Start,
                Level * Random.Range(0.8, 1.0));
    }
  }
  TSignal Room = LoopedBed(Loop.size(), TBiquad::BandPass(1200.0, 0.5), Random);
  MixLooped(Loop, Room, 0.0, 0.04);
  return Loop;
}

struct TLoop {
  const char* Name;
  TSignal (*Make)();
};

constexpr TLoop kLoops[] = {
    {"Constructing", Constructing},     {"Demolishing", Demolishing},
    {"ClearingDebris", ClearingDebris}, {"ClearingForest", ClearingForest},
    {"ClearingStones", ClearingStones}, {"Applause", Applause},
};

void GenerateLoops(Assets::TOutput& Output) {
  for (const TLoop& Loop : kLoops) {
    TSignal Signal = Loop.Make();
    FinishLoop(Signal);
    Output.File(std::string("Samples/") + Loop.Name + ".wav", EncodeWav(Signal));
  }
}

const Assets::TGeneratorRegistration Registration("sound-loops", &GenerateLoops);

}  // namespace

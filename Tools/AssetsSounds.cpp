// AssetsSounds.cpp -- "sounds": the one-shot effects of the interface and the town, synthesised
// as 16-bit mono WAV files in Samples/.
#include <cmath>

#include "AssetsSound.h"

namespace {

using namespace Assets::Sound;
using Assets::TRandom;

// Focus: a soft, short rising blip.
TSignal Focus() {
  TSignal Out(Frames(0.07));
  double Phase = 0.0;
  for (std::size_t I = 0; I < Out.size(); ++I) {
    const double T = Seconds(I);
    Phase += (1320.0 + 200.0 * (1.0 - std::exp(-T / 0.015))) / kRate;
    const double Tone = std::sin(kTau * Phase) + 0.15 * std::sin(2.0 * kTau * Phase);
    Out[I] = static_cast<float>(Tone * AttackDecay(T, 0.002, 0.016));
  }
  Filter(Out, TBiquad::LowPass(5000.0));
  return Out;
}

// Click: a crisp, small button press.
TSignal Click() {
  TRandom Random(0xC11C);
  TSignal Out = ModesGrain({{900.0, 0.5, 0.012}, {2100.0, 0.6, 0.006}, {3400.0, 0.3, 0.004}}, 0.06);
  MixInto(Out, NoiseGrain(0.0003, 0.002, TBiquad::BandPass(2500.0, 1.0), Random), 0.0, 0.7);
  return Out;
}

// Switch: a two-part toggle, press then latch.
TSignal Switch() {
  TRandom Random(0x5717);
  TSignal Out(Frames(0.11));
  MixInto(Out, ModesGrain({{1500.0, 0.6, 0.008}, {2600.0, 0.3, 0.005}}, 0.05), 0.0, 0.7);
  MixInto(Out, NoiseGrain(0.0003, 0.0015, TBiquad::BandPass(2200.0, 1.0), Random), 0.0, 0.5);
  MixInto(Out, ModesGrain({{2300.0, 0.6, 0.009}, {3900.0, 0.25, 0.005}, {1000.0, 0.3, 0.02}}, 0.07),
          0.035);
  MixInto(Out, NoiseGrain(0.0003, 0.0015, TBiquad::BandPass(3200.0, 1.0), Random), 0.035, 0.5);
  return Out;
}

// Select: a hollow wooden knock.
TSignal Select() {
  TRandom Random(0x5E1E);
  TSignal Out(Frames(0.2));
  MixInto(Out, WoodKnock(620.0, 0.05, Random), 0.0);
  MixInto(Out, ModesGrain({{310.0, 0.3, 0.03}}, 0.2), 0.0);
  return Out;
}

// A jingle of coins: Count coins dropping within Within seconds, ringing around Pitch.
TSignal Coins(std::uint64_t Seed, int Count, double Within, double Pitch, double Length) {
  TRandom Random(Seed);
  TSignal Out(Frames(Length));
  for (int I = 0; I < Count; ++I) {
    const double Start = I == 0 ? 0.0 : Within * std::pow(Random.Uniform(), 0.8);
    const double Level = I == 0 ? 1.0 : Random.Range(0.35, 0.8);
    MixInto(Out, CoinRing(Pitch * Random.Range(0.85, 1.2), Random), Start, Level);
  }
  return Out;
}

// Collected1: two or three light coins.
TSignal Collected1() {
  return Coins(0xC0101, 3, 0.16, 2600.0, 0.85);
}

// Collected2: a small cascade of coins.
TSignal Collected2() {
  return Coins(0xC0102, 7, 0.32, 2400.0, 1.05);
}

// Collected3: coins with a bright chime on top.
TSignal Collected3() {
  TSignal Out = Coins(0xC0103, 5, 0.22, 2800.0, 1.3);
  MixInto(Out, Bell(MidiFrequency(88), 0.5), 0.02, 0.5);
  MixInto(Out, Bell(MidiFrequency(95), 0.45), 0.1, 0.4);
  return Out;
}

// DeliveredWood: three logs dropped on a pile.
TSignal DeliveredWood() {
  TRandom Random(0x1065);
  TSignal Out(Frames(0.95));
  const double Starts[] = {0.0, 0.11, 0.24};
  for (const double Start : Starts) {
    const double Pitch = Random.Range(190.0, 290.0);
    MixInto(Out, Thud(150.0, 90.0, 0.07, Random), Start, 0.8);
    MixInto(Out, WoodKnock(Pitch, 0.07, Random), Start, 0.8);
    MixInto(Out, WoodKnock(Pitch * 1.4, 0.04, Random), Start + Random.Range(0.05, 0.08), 0.3);
  }
  for (int Roll = 0; Roll < 5; ++Roll)
    MixInto(Out, WoodKnock(Random.Range(350.0, 600.0), 0.03, Random), Random.Range(0.3, 0.6),
            Random.Range(0.08, 0.2));
  return Out;
}

// DeliveredStone: a few stones dropped on a heap.
TSignal DeliveredStone() {
  TRandom Random(0x570E);
  TSignal Out(Frames(0.9));
  MixInto(Out, Thud(120.0, 70.0, 0.06, Random), 0.0, 0.7);
  const double Starts[] = {0.0, 0.05, 0.12, 0.16, 0.26, 0.33, 0.45};
  for (const double Start : Starts)
    MixInto(Out, StoneClack(Random.Range(1100.0, 2400.0), Random), Start,
            Random.Range(0.45, 1.0) * (1.0 - Start));
  MixInto(Out, Rubble(0.45, 14, 2600.0, Random), 0.08, 0.35);
  return Out;
}

// Trained: a short, cheerful rising horn call.
TSignal Trained() {
  TRandom Random(0x7A1);
  TSignal Out = Brass({{72, 0.0, 0.13}, {76, 0.13, 0.13}, {79, 0.26, 0.5}}, 0.3, 0.12, Random);
  AddReverb(Out, 0.25, 0.5, 0.25);
  return Out;
}

// Damage: a sharp crack, splinters, then crumbling.
TSignal Damage() {
  TRandom Random(0xDA3A);
  TSignal Out(Frames(1.3));
  MixInto(Out, NoiseGrain(0.0005, 0.015, TBiquad::BandPass(3000.0, 0.7), Random), 0.0, 1.0);
  MixInto(Out, Thud(95.0, 55.0, 0.12, Random), 0.0, 0.8);
  for (int I = 0; I < 12; ++I) {
    const double Start = 0.15 * std::pow(Random.Uniform(), 1.5);
    MixInto(Out,
            NoiseGrain(0.0002, 0.002, TBiquad::BandPass(Random.Range(2000.0, 5000.0), 1.5), Random),
            Start, Random.Range(0.2, 0.5));
  }
  MixInto(Out, Rubble(1.0, 35, 1500.0, Random), 0.1, 0.6);
  // A sandy trickle under the falling pieces.
  TSignal Sand = WhiteNoise(Frames(1.1), Random);
  for (std::size_t I = 0; I < Sand.size(); ++I)
    Sand[I] *= AttackDecay(Seconds(I), 0.05, 0.3);
  Filter(Sand, TBiquad::BandPass(1500.0, 0.8));
  MixInto(Out, Sand, 0.08, 0.12);
  return Out;
}

// Message: a gentle two-note chime.
TSignal Message() {
  TSignal Out(Frames(1.5));
  MixInto(Out, Bell(MidiFrequency(81), 0.5), 0.0, 0.8);
  MixInto(Out, Bell(MidiFrequency(88), 0.5), 0.16, 0.7);
  AddReverb(Out, 0.2, 0.5, 0.2);
  return Out;
}

// Finish1: repair done, a plucked rising triad with a chime on top.
TSignal Finish1() {
  TRandom Random(0xF1);
  TSignal Out(Frames(1.1));
  const int Notes[] = {72, 76, 79};
  for (int I = 0; I < 3; ++I) {
    const TPluck String{MidiFrequency(Notes[I]), 1.0, 1.2, 0.6, 0.18};
    MixInto(Out, Pluck(String, Random), 0.08 * I, 0.7);
  }
  MixInto(Out, Bell(MidiFrequency(84), 0.4), 0.24, 0.5);
  Filter(Out, TBiquad::LowPass(7000.0));
  return Out;
}

// Finish2: clearing done, a soft sweep into three marimba notes.
TSignal Finish2() {
  TRandom Random(0xF2);
  TSignal Out(Frames(1.1));
  TSignal Sweep = WhiteNoise(Frames(0.3), Random);
  TStateVariable Band;
  for (std::size_t I = 0; I < Sweep.size(); ++I) {
    Band.Tune(600.0 * std::pow(5.0, Seconds(I) / 0.3), 2.0);
    Sweep[I] =
        Band.Process(Sweep[I]) * static_cast<float>(AttackRelease(Seconds(I), 0.3, 0.2, 0.1));
  }
  MixInto(Out, Sweep, 0.0, 0.4);
  const int Notes[] = {74, 81, 86};
  for (int I = 0; I < 3; ++I)
    MixInto(Out, Marimba(MidiFrequency(Notes[I])), 0.22 + 0.09 * I, 0.7);
  return Out;
}

// Finish3: construction done, a bright little brass fanfare ringing with bells.
TSignal Finish3() {
  TRandom Random(0xF3);
  const TSignal Lead = Brass({{67, 0.0, 0.12}, {72, 0.12, 0.12}, {76, 0.24, 0.12}, {79, 0.36, 0.9}},
                             0.2, 0.15, Random);
  const TSignal Second = Brass(
      {{64, 0.0, 0.12}, {67, 0.12, 0.12}, {72, 0.24, 0.12}, {76, 0.36, 0.9}}, 0.3, 0.12, Random);
  TSignal Out(Frames(1.6));
  MixInto(Out, Lead, 0.0, 0.6);
  MixInto(Out, Second, 0.0, 0.45);
  const int Sparkle[] = {84, 88, 91, 96};
  for (int I = 0; I < 4; ++I)
    MixInto(Out, Bell(MidiFrequency(Sparkle[I]), 0.4), 0.36 + 0.06 * I, 0.3);
  AddReverb(Out, 0.3, 0.6, 0.3);
  return Out;
}

// Horn: a long, warm two-horn call opening or closing a mission.
TSignal Horn() {
  TRandom Random(0x4035);
  const TSignal High =
      Brass({{57, 0.0, 0.32}, {62, 0.32, 0.32}, {69, 0.64, 1.35}}, 0.75, 0.1, Random);
  const TSignal Low =
      Brass({{50, 0.0, 0.32}, {54, 0.32, 0.32}, {62, 0.64, 1.35}}, 0.8, 0.08, Random);
  TSignal Out(Frames(2.05));
  MixInto(Out, High, 0.0, 0.6);
  MixInto(Out, Low, 0.0, 0.5);
  AddReverb(Out, 0.35, 0.75, 0.55);
  return Out;
}

// Demolish: a building collapsing, crack, heavy falls, rumble and debris.
TSignal Demolish() {
  TRandom Random(0xDE30);
  TSignal Out(Frames(2.6));
  MixInto(Out, NoiseGrain(0.0005, 0.02, TBiquad::BandPass(2200.0, 0.7), Random), 0.0, 1.0);
  MixInto(Out, Thud(80.0, 42.0, 0.35, Random), 0.05, 1.0);
  MixInto(Out, Thud(70.0, 40.0, 0.3, Random), 0.42, 0.8);
  TSignal Rumble = WhiteNoise(Frames(2.4), Random);
  for (std::size_t I = 0; I < Rumble.size(); ++I)
    Rumble[I] *= AttackDecay(Seconds(I), 0.12, 0.7);
  Filter(Rumble, TBiquad::LowPass(220.0));
  Filter(Rumble, TBiquad::LowPass(220.0));
  MixInto(Out, Rumble, 0.02, 2.2);
  MixInto(Out, Rubble(2.0, 70, 1400.0, Random), 0.1, 0.7);
  for (int I = 0; I < 10; ++I)
    MixInto(Out, WoodKnock(Random.Range(180.0, 420.0), 0.05, Random), 0.15 + 1.2 * Random.Uniform(),
            Random.Range(0.2, 0.5));
  return Out;
}

struct TEffect {
  const char* Name;
  TSignal (*Make)();
};

constexpr TEffect kEffects[] = {
    {"Focus", Focus},
    {"Click", Click},
    {"Switch", Switch},
    {"Select", Select},
    {"Collected1", Collected1},
    {"Collected2", Collected2},
    {"Collected3", Collected3},
    {"DeliveredWood", DeliveredWood},
    {"DeliveredStone", DeliveredStone},
    {"Trained", Trained},
    {"Damage", Damage},
    {"Message", Message},
    {"Finish1", Finish1},
    {"Finish2", Finish2},
    {"Finish3", Finish3},
    {"Horn", Horn},
    {"Demolish", Demolish},
};

void GenerateSounds(Assets::TOutput& Output) {
  for (const TEffect& Effect : kEffects) {
    TSignal Signal = Effect.Make();
    FinishOneShot(Signal);
    Output.File(std::string("Samples/") + Effect.Name + ".wav", EncodeWav(Signal));
  }
}

const Assets::TGeneratorRegistration Registration("sounds", &GenerateSounds);

}  // namespace

// AssetsSoundParts.cpp -- the grains the sound effects are assembled from: impacts on wood and
// stone, coins, bells, marimba bars, rubble and a brass voice.
#include <algorithm>
#include <cmath>

#include "AssetsSound.h"

namespace Assets::Sound {

TSignal ModesGrain(const std::vector<TMode>& Modes, double Seconds) {
  TSignal Grain(Frames(Seconds));
  AddModes(Grain, 0.0, Modes);
  return Grain;
}

TSignal NoiseGrain(double Attack, double Decay, TBiquad Shape, TRandom& Random) {
  TSignal Grain(Frames(Attack + Decay * 7.0));
  for (std::size_t I = 0; I < Grain.size(); ++I) {
    const double Time = static_cast<double>(I) / kRate;
    Grain[I] = static_cast<float>(Random.Range(-1.0, 1.0) * AttackDecay(Time, Attack, Decay));
  }
  Filter(Grain, Shape);
  return Grain;
}

TSignal Thud(double FromHz, double ToHz, double Decay, TRandom& Random) {
  TSignal Grain(Frames(Decay * 7.0));
  TOnePole Muffle(260.0);
  double Phase = 0.0;
  for (std::size_t I = 0; I < Grain.size(); ++I) {
    const double Time = static_cast<double>(I) / kRate;
    const double Frequency = ToHz + (FromHz - ToHz) * std::exp(-Time / 0.04);
    Phase += Frequency / kRate;
    const double Body = std::sin(kTau * Phase) * AttackDecay(Time, 0.002, Decay);
    const double Puff = Muffle.LowPass(static_cast<float>(Random.Range(-1.0, 1.0))) *
                        AttackDecay(Time, 0.001, Decay * 0.35);
    Grain[I] = static_cast<float>(Body + 1.6 * Puff);
  }
  return Grain;
}

TSignal WoodKnock(double Pitch, double Decay, TRandom& Random) {
  const auto Spread = [&Random] { return Random.Range(0.97, 1.03); };
  TSignal Grain = ModesGrain({{Pitch, 1.0, Decay},
                              {Pitch * 2.43 * Spread(), 0.45, Decay * 0.5},
                              {Pitch * 3.9 * Spread(), 0.25, Decay * 0.3},
                              {Pitch * 6.2 * Spread(), 0.12, Decay * 0.15}},
                             Decay * 6.0);
  MixInto(Grain, NoiseGrain(0.0005, 0.0015, TBiquad::BandPass(3000.0, 0.8), Random), 0.0, 0.5);
  return Grain;
}

TSignal StoneClack(double Pitch, TRandom& Random) {
  const auto Spread = [&Random] { return Random.Range(0.9, 1.1); };
  TSignal Grain = ModesGrain({{Pitch * Spread(), 0.5, 0.012},
                              {Pitch * 1.73 * Spread(), 0.35, 0.008},
                              {Pitch * 2.6 * Spread(), 0.2, 0.005}},
                             0.09);
  MixInto(Grain, NoiseGrain(0.0003, 0.006, TBiquad::BandPass(Pitch * 1.4, 1.2), Random), 0.0, 1.2);
  return Grain;
}

TSignal CoinRing(double Pitch, TRandom& Random) {
  const double Ratios[] = {1.0, 1.48, 2.17, 2.59, 3.26};
  const double Levels[] = {1.0, 0.7, 0.5, 0.4, 0.25};
  const double Decays[] = {0.35, 0.25, 0.2, 0.15, 0.1};
  std::vector<TMode> Modes;
  for (int I = 0; I < 5; ++I)
    Modes.push_back({Pitch * Ratios[I] * Random.Range(0.98, 1.02), Levels[I], Decays[I]});
  TSignal Grain = ModesGrain(Modes, 1.2);
  MixInto(Grain, NoiseGrain(0.0003, 0.003, TBiquad::HighPass(5000.0), Random), 0.0, 0.6);
  return Grain;
}

TSignal Bell(double Frequency, double Decay) {
  return ModesGrain({{Frequency, 1.0, Decay},
                     {Frequency * 2.0, 0.18, Decay * 0.55},
                     {Frequency * 2.76, 0.3, Decay * 0.38},
                     {Frequency * 5.4, 0.1, Decay * 0.16},
                     {Frequency * 8.93, 0.04, Decay * 0.08}},
                    Decay * 6.0);
}

TSignal Marimba(double Frequency) {
  return ModesGrain(
      {{Frequency, 1.0, 0.42}, {Frequency * 3.93, 0.22, 0.1}, {Frequency * 9.2, 0.05, 0.03}}, 2.0);
}

TSignal Rubble(double Seconds, int Count, double Pitch, TRandom& Random) {
  TSignal Grains(Frames(Seconds + 0.1));
  for (int I = 0; I < Count; ++I) {
    const double Time = Seconds * std::pow(Random.Uniform(), 1.6);
    const double Fading = std::pow(1.0 - Time / Seconds, 1.2);
    MixInto(Grains, StoneClack(Pitch * Random.Range(0.6, 1.7), Random), Time,
            Fading * Random.Range(0.15, 0.8));
  }
  return Grains;
}

namespace {

// The note of a legato line sounding at Time (the latest one begun), and its envelope.
struct TSounding {
  const TNote* Note = nullptr;
  double Level = 0.0;
};

TSounding SoundingAt(const std::vector<TNote>& Notes, double Time) {
  TSounding Now;
  for (const TNote& Note : Notes) {
    if (Note.Start > Time) continue;
    Now.Level =
        std::max(Now.Level, AttackRelease(Time - Note.Start, Note.Length, 0.03, 0.07) * Note.Level);
    if (!Now.Note || Note.Start >= Now.Note->Start) Now.Note = &Note;
  }
  return Now;
}

}  // namespace

TSignal Brass(const std::vector<TNote>& Notes, double Warmth, double Vibrato, TRandom& Random) {
  if (Notes.empty()) return {};
  double End = 0.0;
  for (const TNote& Note : Notes)
    End = std::max(End, Note.Start + Note.Length);
  std::vector<double> Harmonics;
  for (int H = 1; H <= 14; ++H)
    Harmonics.push_back(1.0 / std::pow(H, 0.75));
  const TWavetable Wave(Harmonics);

  TSignal Out(Frames(End + 0.05));
  TStateVariable Tone;
  double Phase = 0.0, Pitch = Notes.front().Midi - 0.6;  // a little scoop up into the first note
  const double Glide = 1.0 - std::exp(-1.0 / (0.025 * kRate));
  for (std::size_t I = 0; I < Out.size(); ++I) {
    const double Time = static_cast<double>(I) / kRate;
    const TSounding Now = SoundingAt(Notes, Time);
    if (!Now.Note) continue;
    const double InNote = Time - Now.Note->Start;
    Pitch += (Now.Note->Midi - Pitch) * Glide;
    const double Wobble =
        Vibrato * std::sin(kTau * 5.1 * Time) * std::clamp((InNote - 0.2) / 0.4, 0.0, 1.0);
    const double Frequency = MidiFrequency(Pitch + Wobble);
    Phase += Frequency / kRate;
    if (I % 16 == 0) {
      const double Bite = 1.0 + 1.5 * std::exp(-InNote / 0.06);
      const double Open = (1.2 + 5.0 * (1.0 - Warmth)) * (0.35 + 0.65 * Now.Level) * Bite;
      Tone.Tune(std::min(Frequency * Open, 9000.0), 0.8);
    }
    const float Breath = static_cast<float>(Random.Range(-1.0, 1.0) * 0.01);
    float Low = 0.0f;
    Tone.Process(Wave.At(Phase) + Breath, &Low);
    Out[I] = static_cast<float>(Low * Now.Level);
  }
  return Out;
}

void AddReverb(TSignal& Signal, double Wet, double Size, double Tail) {
  FadeOut(Signal, std::min(0.1, 0.25 * Seconds(Signal.size())));
  Signal.resize(Signal.size() + Frames(Tail), 0.0f);
  TReverb Hall(Size, 0.5);
  for (float& Sample : Signal) {
    float Left = 0.0f, Right = 0.0f;
    Hall.Process(Sample, Sample, Left, Right);
    Sample = static_cast<float>(Sample + Wet * 0.5 * (Left + Right));
  }
}

}  // namespace Assets::Sound

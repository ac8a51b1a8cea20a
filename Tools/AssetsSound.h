// AssetsSound.h -- the sound workshop shared by the effect and music generators of calvora-assets:
// mono signals, filters, envelopes, damped modes, wavetables, plucked strings, a stereo reverb,
// and the WAV and Ogg Vorbis encoders. Everything is deterministic.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "AssetsCore.h"

namespace Assets::Sound {

// One channel of samples, nominally in [-1, 1].
using TSignal = std::vector<float>;

constexpr int kRate = 44100;
constexpr double kTau = 2.0 * kPi;

std::size_t Frames(double Seconds);
double Seconds(std::size_t Frames);
double MidiFrequency(double Note);  // 69 is A4 at 440 Hz
double DbGain(double Decibels);

// -- Envelopes -----------------------------------------------------------------------------------

// A smooth rise over Attack seconds followed by an exponential fall with time constant Decay.
double AttackDecay(double Time, double Attack, double Decay);
// Rises over Attack, holds 1 until Release before Length, and falls to 0 at Length (smooth ends).
double AttackRelease(double Time, double Length, double Attack, double Release);

// -- Filters -------------------------------------------------------------------------------------

// A second-order section with the usual cookbook coefficients, transposed direct form II.
class TBiquad {
 public:
  static TBiquad LowPass(double Frequency, double Q = 0.7071);
  static TBiquad HighPass(double Frequency, double Q = 0.7071);
  static TBiquad BandPass(double Frequency, double Q);  // unity gain at the centre
  static TBiquad Peak(double Frequency, double Q, double GainDb);
  float Process(float In);

 private:
  double B0 = 1, B1 = 0, B2 = 0, A1 = 0, A2 = 0;
  double Z1 = 0, Z2 = 0;
};

// A one-pole low-pass, cheap enough to retune every sample.
class TOnePole {
 public:
  explicit TOnePole(double Frequency = 1000.0) { Tune(Frequency); }
  void Tune(double Frequency);
  float LowPass(float In);

 private:
  double Coefficient = 0;
  double State = 0;
};

// A state-variable filter whose cutoff may change while it runs (for sweeps and breath).
class TStateVariable {
 public:
  void Tune(double Frequency, double Q);
  // Returns the band-pass output; Low receives the low-pass output.
  float Process(float In, float* Low = nullptr);

 private:
  double G = 0, A1 = 0, A2 = 0, A3 = 0;
  double S1 = 0, S2 = 0;
};

// -- Signals -------------------------------------------------------------------------------------

TSignal WhiteNoise(std::size_t Count, TRandom& Random);
// Adds Source * Gain into Target from StartSeconds on; what falls outside Target is dropped.
void MixInto(TSignal& Target, const TSignal& Source, double StartSeconds, double Gain = 1.0);
// The same, but what runs past the end of a loop comes round to its start.
void MixLooped(TSignal& Target, const TSignal& Source, double StartSeconds, double Gain = 1.0);
void Filter(TSignal& Signal, TBiquad Section);
// Filters a loop so that its end flows into its start: one pass to settle the filter's state on
// the loop itself, then the real pass.
void FilterLooped(TSignal& Signal, TBiquad Section);
void Scale(TSignal& Signal, double Gain);
float Peak(const TSignal& Signal);
void NormalizePeak(TSignal& Signal, double PeakDb);
// Removes the offset of a one-shot (and its slow drift) with a gentle high-pass.
void RemoveDc(TSignal& Signal);
// Removes the offset of a loop without breaking its seam.
void RemoveDcLooped(TSignal& Signal);
// A raised-cosine fade over the last Seconds.
void FadeOut(TSignal& Signal, double Seconds);
// Short raised-cosine fades at both ends of a one-shot.
void FadeEdges(TSignal& Signal, double Seconds = 0.005);
// Cuts a one-shot's tail where it has faded BelowPeakDb under its peak.
void TrimTail(TSignal& Signal, double BelowPeakDb);
// The finishing steps of every effect: no offset, edge fades, peak at -3 dBFS.
void FinishOneShot(TSignal& Signal);
void FinishLoop(TSignal& Signal);

// -- Sources -------------------------------------------------------------------------------------

// A decaying sinusoid: frequency in Hz, start amplitude, and its 1/e decay time in seconds.
struct TMode {
  double Frequency;
  double Amplitude;
  double Decay;
};
// Adds the sum of damped modes starting at StartSeconds (a 1-ms onset so it never clicks).
void AddModes(TSignal& Target, double StartSeconds, const std::vector<TMode>& Modes,
              double Gain = 1.0, bool Looped = false);

// One period of a waveform given by its harmonic amplitudes (index 0 is the fundamental).
class TWavetable {
 public:
  explicit TWavetable(const std::vector<double>& Harmonics);
  float At(double Phase) const;  // Phase in cycles; only its fractional part counts

 private:
  std::vector<float> Table;
};

// A plucked string (Karplus-Strong): a noise burst circulating in a tuned, damped delay line.
struct TPluck {
  double Frequency = 220.0;
  double Seconds = 1.0;     // how long to render
  double Sustain = 1.5;     // seconds for the fundamental to fall by 60 dB
  double Brightness = 0.5;  // 0 mellow .. 1 bright
  double Position = 0.2;    // where along the string it is plucked (0..0.5)
};
TSignal Pluck(const TPluck& Settings, TRandom& Random);

// A small stereo hall: parallel damped combs into series all-passes on each side.
class TReverb {
 public:
  TReverb(double Size, double Damping);
  void Process(float InLeft, float InRight, float& OutLeft, float& OutRight);

 private:
  struct TComb {
    std::vector<float> Line;
    std::size_t At = 0;
    float Store = 0;
  };
  struct TAllPass {
    std::vector<float> Line;
    std::size_t At = 0;
  };
  float Comb(TComb& Comb, float In) const;
  static float AllPass(TAllPass& Pass, float In);

  std::vector<TComb> CombsLeft, CombsRight;
  std::vector<TAllPass> PassesLeft, PassesRight;
  float Feedback;
  float Damp;
};

// -- Effect ingredients --------------------------------------------------------------------------
// Short grains the effects are assembled from; each returns a fresh signal starting at its onset.

// Damped modes rendered alone, Seconds long.
TSignal ModesGrain(const std::vector<TMode>& Modes, double Seconds);
// A noise burst shaped by a filter and a rise/fall envelope.
TSignal NoiseGrain(double Attack, double Decay, TBiquad Shape, TRandom& Random);
// The body of a heavy impact: a low sine falling in pitch, with a puff of low noise.
TSignal Thud(double FromHz, double ToHz, double Decay, TRandom& Random);
// A knock on wood; Pitch is the block's lowest mode (about 200 Hz for a log, 600 Hz for a block).
TSignal WoodKnock(double Pitch, double Decay, TRandom& Random);
// A hard stone hitting stone: a sharp, barely pitched click.
TSignal StoneClack(double Pitch, TRandom& Random);
// A small coin ringing on others.
TSignal CoinRing(double Pitch, TRandom& Random);
// A struck bell or celesta bar with a soft mallet.
TSignal Bell(double Frequency, double Decay);
// A marimba bar.
TSignal Marimba(double Frequency);
// Crumbling rubble: Count small grains over Seconds, thinning out as they fall.
TSignal Rubble(double Seconds, int Count, double Pitch, TRandom& Random);

// A brass voice playing notes legato (MIDI note, start and length in seconds); Warmth 0 bright
// .. 1 dark, Vibrato in semitones.
struct TNote {
  double Midi;
  double Start;
  double Length;
  double Level = 1.0;
};
TSignal Brass(const std::vector<TNote>& Notes, double Warmth, double Vibrato, TRandom& Random);
// Runs a mono signal through the reverb and mixes Wet of it back in; the signal grows by Tail s.
void AddReverb(TSignal& Signal, double Wet, double Size, double Tail);

// -- Files ---------------------------------------------------------------------------------------

// 16-bit mono PCM WAV at kRate: a 16-byte "fmt " chunk followed directly by "data".
std::string EncodeWav(const TSignal& Signal);
// Ogg Vorbis, stereo at kRate, with a fixed stream serial so the bytes never change.
std::string EncodeOgg(const TSignal& Left, const TSignal& Right, float Quality, int Serial);

}  // namespace Assets::Sound

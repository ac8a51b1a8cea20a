// AssetsSoundDsp.cpp -- the building blocks of the sound and music generators: filters, envelopes,
// damped modes, wavetables, plucked strings, the reverb and the WAV and Ogg Vorbis encoders.
#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "AssetsSound.h"
#include "EngineStreams.h"
#include "PlatformSound.h"

namespace Assets::Sound {

std::size_t Frames(double Seconds) {
  return static_cast<std::size_t>(std::llround(std::max(0.0, Seconds) * kRate));
}

double Seconds(std::size_t Frames) {
  return static_cast<double>(Frames) / kRate;
}

double MidiFrequency(double Note) {
  return 440.0 * std::pow(2.0, (Note - 69.0) / 12.0);
}

double DbGain(double Decibels) {
  return std::pow(10.0, Decibels / 20.0);
}

// -- Envelopes -----------------------------------------------------------------------------------

double AttackDecay(double Time, double Attack, double Decay) {
  if (Time < 0.0) return 0.0;
  if (Time < Attack) return SmoothStep(Time / Attack);
  return std::exp(-(Time - Attack) / Decay);
}

double AttackRelease(double Time, double Length, double Attack, double Release) {
  if (Time < 0.0 || Time >= Length) return 0.0;
  const double Rise = Attack > 0.0 ? SmoothStep(Time / Attack) : 1.0;
  const double Fall = Release > 0.0 ? SmoothStep((Length - Time) / Release) : 1.0;
  return std::min(Rise, Fall);
}

// -- Filters -------------------------------------------------------------------------------------

namespace {

struct TAngle {
  double Cos, Alpha;
};

TAngle AngleOf(double Frequency, double Q) {
  const double Omega = kTau * std::clamp(Frequency, 5.0, 0.45 * kRate) / kRate;
  return {std::cos(Omega), std::sin(Omega) / (2.0 * std::max(Q, 0.05))};
}

}  // namespace

TBiquad TBiquad::LowPass(double Frequency, double Q) {
  const TAngle W = AngleOf(Frequency, Q);
  const double A0 = 1.0 + W.Alpha;
  TBiquad F;
  F.B0 = (1.0 - W.Cos) / 2.0 / A0;
  F.B1 = (1.0 - W.Cos) / A0;
  F.B2 = F.B0;
  F.A1 = -2.0 * W.Cos / A0;
  F.A2 = (1.0 - W.Alpha) / A0;
  return F;
}

TBiquad TBiquad::HighPass(double Frequency, double Q) {
  const TAngle W = AngleOf(Frequency, Q);
  const double A0 = 1.0 + W.Alpha;
  TBiquad F;
  F.B0 = (1.0 + W.Cos) / 2.0 / A0;
  F.B1 = -(1.0 + W.Cos) / A0;
  F.B2 = F.B0;
  F.A1 = -2.0 * W.Cos / A0;
  F.A2 = (1.0 - W.Alpha) / A0;
  return F;
}

TBiquad TBiquad::BandPass(double Frequency, double Q) {
  const TAngle W = AngleOf(Frequency, Q);
  const double A0 = 1.0 + W.Alpha;
  TBiquad F;
  F.B0 = W.Alpha / A0;
  F.B1 = 0.0;
  F.B2 = -W.Alpha / A0;
  F.A1 = -2.0 * W.Cos / A0;
  F.A2 = (1.0 - W.Alpha) / A0;
  return F;
}

TBiquad TBiquad::Peak(double Frequency, double Q, double GainDb) {
  const TAngle W = AngleOf(Frequency, Q);
  const double A = std::pow(10.0, GainDb / 40.0);
  const double A0 = 1.0 + W.Alpha / A;
  TBiquad F;
  F.B0 = (1.0 + W.Alpha * A) / A0;
  F.B1 = -2.0 * W.Cos / A0;
  F.B2 = (1.0 - W.Alpha * A) / A0;
  F.A1 = F.B1;
  F.A2 = (1.0 - W.Alpha / A) / A0;
  return F;
}

float TBiquad::Process(float In) {
  const double Out = B0 * In + Z1;
  Z1 = B1 * In - A1 * Out + Z2;
  Z2 = B2 * In - A2 * Out;
  return static_cast<float>(Out);
}

void TOnePole::Tune(double Frequency) {
  Coefficient = 1.0 - std::exp(-kTau * std::clamp(Frequency, 1.0, 0.49 * kRate) / kRate);
}

float TOnePole::LowPass(float In) {
  State += Coefficient * (In - State);
  return static_cast<float>(State);
}

void TStateVariable::Tune(double Frequency, double Q) {
  G = std::tan(kPi * std::clamp(Frequency, 5.0, 0.45 * kRate) / kRate);
  const double K = 1.0 / std::max(Q, 0.05);
  A1 = 1.0 / (1.0 + G * (G + K));
  A2 = G * A1;
  A3 = G * A2;
}

float TStateVariable::Process(float In, float* Low) {
  const double V3 = In - S2;
  const double V1 = A1 * S1 + A2 * V3;
  const double V2 = S2 + A2 * S1 + A3 * V3;
  S1 = 2.0 * V1 - S1;
  S2 = 2.0 * V2 - S2;
  if (Low) *Low = static_cast<float>(V2);
  return static_cast<float>(V1);
}

// -- Signals -------------------------------------------------------------------------------------

TSignal WhiteNoise(std::size_t Count, TRandom& Random) {
  TSignal Noise(Count);
  for (float& Sample : Noise)
    Sample = static_cast<float>(Random.Range(-1.0, 1.0));
  return Noise;
}

void MixInto(TSignal& Target, const TSignal& Source, double StartSeconds, double Gain) {
  const long long Start = std::llround(StartSeconds * kRate);
  const auto Size = static_cast<long long>(Target.size());
  for (std::size_t I = 0; I < Source.size(); ++I) {
    const long long At = Start + static_cast<long long>(I);
    if (At < 0) continue;
    if (At >= Size) break;
    Target[static_cast<std::size_t>(At)] += static_cast<float>(Source[I] * Gain);
  }
}

void MixLooped(TSignal& Target, const TSignal& Source, double StartSeconds, double Gain) {
  if (Target.empty()) return;
  const auto Size = static_cast<long long>(Target.size());
  long long At = std::llround(StartSeconds * kRate) % Size;
  if (At < 0) At += Size;
  for (const float Sample : Source) {
    Target[static_cast<std::size_t>(At)] += static_cast<float>(Sample * Gain);
    if (++At == Size) At = 0;
  }
}

void Filter(TSignal& Signal, TBiquad Section) {
  for (float& Sample : Signal)
    Sample = Section.Process(Sample);
}

void FilterLooped(TSignal& Signal, TBiquad Section) {
  for (const float Sample : Signal)
    Section.Process(Sample);
  Filter(Signal, Section);
}

void Scale(TSignal& Signal, double Gain) {
  for (float& Sample : Signal)
    Sample = static_cast<float>(Sample * Gain);
}

float Peak(const TSignal& Signal) {
  float Highest = 0.0f;
  for (const float Sample : Signal)
    Highest = std::max(Highest, std::fabs(Sample));
  return Highest;
}

void NormalizePeak(TSignal& Signal, double PeakDb) {
  const float Highest = Peak(Signal);
  if (Highest > 1e-9f) Scale(Signal, DbGain(PeakDb) / Highest);
}

void RemoveDc(TSignal& Signal) {
  Filter(Signal, TBiquad::HighPass(25.0, 0.6));
}

void RemoveDcLooped(TSignal& Signal) {
  FilterLooped(Signal, TBiquad::HighPass(25.0, 0.6));
  double Sum = 0.0;
  for (const float Sample : Signal)
    Sum += Sample;
  const double Mean = Signal.empty() ? 0.0 : Sum / static_cast<double>(Signal.size());
  for (float& Sample : Signal)
    Sample = static_cast<float>(Sample - Mean);
}

void FadeOut(TSignal& Signal, double Seconds) {
  const std::size_t Count = std::min(Frames(Seconds), Signal.size());
  for (std::size_t I = 0; I < Count; ++I) {
    const double Left = static_cast<double>(I) / static_cast<double>(Count);
    Signal[Signal.size() - 1 - I] *= static_cast<float>(0.5 - 0.5 * std::cos(kPi * Left));
  }
}

void FadeEdges(TSignal& Signal, double Seconds) {
  const std::size_t Count = std::min(Frames(Seconds), Signal.size() / 2);
  for (std::size_t I = 0; I < Count; ++I) {
    const auto Gain = static_cast<float>(
        0.5 - 0.5 * std::cos(kPi * static_cast<double>(I) / static_cast<double>(Count)));
    Signal[I] *= Gain;
    Signal[Signal.size() - 1 - I] *= Gain;
  }
}

void TrimTail(TSignal& Signal, double BelowPeakDb) {
  const float Floor = static_cast<float>(Peak(Signal) * DbGain(-BelowPeakDb));
  std::size_t Last = Signal.size();
  while (Last > 0 && std::fabs(Signal[Last - 1]) < Floor)
    --Last;
  Signal.resize(std::min(Signal.size(), Last + Frames(0.01)));
}

void FinishOneShot(TSignal& Signal) {
  RemoveDc(Signal);
  TrimTail(Signal, 54.0);
  FadeEdges(Signal);
  // Whatever still rings at the end dies away instead of stopping dead.
  FadeOut(Signal, std::min(0.15, 0.25 * Seconds(Signal.size())));
  NormalizePeak(Signal, -3.0);
}

void FinishLoop(TSignal& Signal) {
  RemoveDcLooped(Signal);
  NormalizePeak(Signal, -3.0);
}

// -- Sources -------------------------------------------------------------------------------------

void AddModes(TSignal& Target, double StartSeconds, const std::vector<TMode>& Modes, double Gain,
              bool Looped) {
  if (Target.empty()) return;
  const auto Size = static_cast<long long>(Target.size());
  const long long Start = std::llround(StartSeconds * kRate);
  const double Onset = 0.001 * kRate;
  for (const TMode& Mode : Modes) {
    if (Mode.Frequency <= 0.0 || Mode.Frequency >= 0.45 * kRate || Mode.Decay <= 0.0) continue;
    // A rotating, shrinking phasor: one complex multiply a sample instead of a sine and an exp.
    const double Omega = kTau * Mode.Frequency / kRate;
    const double Shrink = std::exp(-1.0 / (Mode.Decay * kRate));
    const double C = std::cos(Omega) * Shrink, S = std::sin(Omega) * Shrink;
    double Re = Mode.Amplitude * Gain, Im = 0.0;
    const auto Length = static_cast<long long>(Mode.Decay * kRate * 9.0);
    for (long long I = 0; I < Length; ++I) {
      long long At = Start + I;
      if (Looped) {
        At %= Size;
        if (At < 0) At += Size;
      } else if (At < 0) {
        continue;
      } else if (At >= Size) {
        break;
      }
      const double Ramp = I < Onset ? static_cast<double>(I) / Onset : 1.0;
      Target[static_cast<std::size_t>(At)] += static_cast<float>(Im * Ramp);
      const double NextRe = Re * C - Im * S;
      Im = Re * S + Im * C;
      Re = NextRe;
    }
  }
}

TWavetable::TWavetable(const std::vector<double>& Harmonics) : Table(4097, 0.0f) {
  for (std::size_t I = 0; I < 4096; ++I) {
    double Value = 0.0;
    for (std::size_t H = 0; H < Harmonics.size(); ++H)
      Value += Harmonics[H] * std::sin(kTau * static_cast<double>((H + 1) * I) / 4096.0);
    Table[I] = static_cast<float>(Value);
  }
  Table[4096] = Table[0];
}

float TWavetable::At(double Phase) const {
  const double Where = (Phase - std::floor(Phase)) * 4096.0;
  const auto Index = std::min<std::size_t>(static_cast<std::size_t>(Where), 4095);
  const auto Fraction = static_cast<float>(Where - static_cast<double>(Index));
  return Table[Index] + (Table[Index + 1] - Table[Index]) * Fraction;
}

TSignal Pluck(const TPluck& Settings, TRandom& Random) {
  const double Frequency = std::clamp(Settings.Frequency, 20.0, 4000.0);
  // The loop filter: a one-pole low-pass; its phase delay at the fundamental is taken off the
  // delay line so the string stays in tune.
  const double Smoothing = 0.05 + 0.6 * (1.0 - std::clamp(Settings.Brightness, 0.0, 1.0));
  const double Omega = kTau * Frequency / kRate;
  const double FilterDelay =
      std::atan2(Smoothing * std::sin(Omega), 1.0 - Smoothing * std::cos(Omega)) / Omega;
  const double Delay = std::max(2.0, kRate / Frequency - FilterDelay);
  const auto Whole = static_cast<std::size_t>(Delay);
  const double Fraction = Delay - static_cast<double>(Whole);
  const double Loss = std::pow(10.0, -3.0 / (std::max(0.05, Settings.Sustain) * Frequency));

  // The excitation: one period of soft noise, combed by the pluck position.
  TSignal Burst = WhiteNoise(Whole, Random);
  TOnePole Soften(800.0 + 9000.0 * Settings.Brightness);
  for (float& Sample : Burst)
    Sample = Soften.LowPass(Sample);
  const auto Notch = static_cast<std::size_t>(std::clamp(Settings.Position, 0.0, 0.5) * Whole);
  TSignal Excite(Burst);
  for (std::size_t I = Notch; I < Burst.size() && Notch > 0; ++I)
    Excite[I] -= Burst[I - Notch];

  TSignal Out(Frames(Settings.Seconds));
  std::vector<double> Line(Whole + 2, 0.0);
  std::size_t Head = 0;
  double Low = 0.0;
  for (std::size_t N = 0; N < Out.size(); ++N) {
    const std::size_t Back1 = (Head + Line.size() - Whole) % Line.size();
    const std::size_t Back2 = (Head + Line.size() - Whole - 1) % Line.size();
    const double Delayed = Line[Back1] * (1.0 - Fraction) + Line[Back2] * Fraction;
    Low += (1.0 - Smoothing) * (Delayed - Low);
    const double Sample = (N < Excite.size() ? Excite[N] : 0.0) + Loss * Low;
    Line[Head] = Sample;
    Head = (Head + 1) % Line.size();
    Out[N] = static_cast<float>(Sample);
  }
  return Out;
}

// -- Reverb --------------------------------------------------------------------------------------

namespace {

constexpr int kCombLengths[] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
constexpr int kPassLengths[] = {556, 441, 341, 225};
constexpr int kStereoSpread = 23;

}  // namespace

TReverb::TReverb(double Size, double Damping)
    : Feedback(static_cast<float>(0.7 + 0.28 * std::clamp(Size, 0.0, 1.0))),
      Damp(static_cast<float>(0.4 * std::clamp(Damping, 0.0, 1.0))) {
  for (const int Length : kCombLengths) {
    CombsLeft.push_back({std::vector<float>(static_cast<std::size_t>(Length)), 0, 0.0f});
    CombsRight.push_back(
        {std::vector<float>(static_cast<std::size_t>(Length + kStereoSpread)), 0, 0.0f});
  }
  for (const int Length : kPassLengths) {
    PassesLeft.push_back({std::vector<float>(static_cast<std::size_t>(Length)), 0});
    PassesRight.push_back(
        {std::vector<float>(static_cast<std::size_t>(Length + kStereoSpread)), 0});
  }
}

float TReverb::Comb(TComb& Comb, float In) const {
  const float Out = Comb.Line[Comb.At];
  Comb.Store = Out * (1.0f - Damp) + Comb.Store * Damp;
  Comb.Line[Comb.At] = In + Comb.Store * Feedback;
  if (++Comb.At == Comb.Line.size()) Comb.At = 0;
  return Out;
}

float TReverb::AllPass(TAllPass& Pass, float In) {
  const float Delayed = Pass.Line[Pass.At];
  Pass.Line[Pass.At] = In + Delayed * 0.5f;
  if (++Pass.At == Pass.Line.size()) Pass.At = 0;
  return Delayed - In;
}

void TReverb::Process(float InLeft, float InRight, float& OutLeft, float& OutRight) {
  const float In = (InLeft + InRight) * 0.5f;
  float Left = 0.0f, Right = 0.0f;
  for (TComb& C : CombsLeft)
    Left += Comb(C, In);
  for (TComb& C : CombsRight)
    Right += Comb(C, In);
  Left *= 0.125f;
  Right *= 0.125f;
  for (TAllPass& P : PassesLeft)
    Left = AllPass(P, Left);
  for (TAllPass& P : PassesRight)
    Right = AllPass(P, Right);
  OutLeft = Left;
  OutRight = Right;
}

// -- Files ---------------------------------------------------------------------------------------

namespace {

std::int16_t ToPcm(float Sample) {
  const double Scaled = std::clamp(static_cast<double>(Sample), -1.0, 1.0) * 32767.0;
  return static_cast<std::int16_t>(std::lround(Scaled));
}

}  // namespace

std::string EncodeWav(const TSignal& Signal) {
  std::string Samples;
  Samples.reserve(Signal.size() * 2);
  TStreamWriter Out(Samples);
  for (const float Sample : Signal)
    Out.Write(ToPcm(Sample));
  return Platform::EncodeWav(Platform::TSoundFormat::Pcm(1, 16, kRate), Samples.data(),
                             Samples.size());
}

namespace {

// The libvorbis and libogg state of one encoding, released whatever happens.
class TVorbisEncoder {
 public:
  TVorbisEncoder(float Quality, int Serial) {
    vorbis_info_init(&Info);
    if (vorbis_encode_init_vbr(&Info, 2, kRate, Quality) != 0) {
      vorbis_info_clear(&Info);
      throw std::runtime_error("the Vorbis encoder refused its settings");
    }
    vorbis_comment_init(&Comment);
    vorbis_analysis_init(&Dsp, &Info);
    vorbis_block_init(&Dsp, &Block);
    ogg_stream_init(&Stream, Serial);
  }
  ~TVorbisEncoder() {
    ogg_stream_clear(&Stream);
    vorbis_block_clear(&Block);
    vorbis_dsp_clear(&Dsp);
    vorbis_comment_clear(&Comment);
    vorbis_info_clear(&Info);
  }
  TVorbisEncoder(const TVorbisEncoder&) = delete;
  TVorbisEncoder& operator=(const TVorbisEncoder&) = delete;

  void WriteHeaders() {
    ogg_packet Identity, Comments, Codebooks;
    vorbis_analysis_headerout(&Dsp, &Comment, &Identity, &Comments, &Codebooks);
    ogg_stream_packetin(&Stream, &Identity);
    ogg_stream_packetin(&Stream, &Comments);
    ogg_stream_packetin(&Stream, &Codebooks);
    // The audio starts on a fresh page, as decoders expect.
    ogg_page Page;
    while (ogg_stream_flush(&Stream, &Page) != 0)
      Append(Page);
  }

  void Feed(const TSignal& Left, const TSignal& Right) {
    constexpr std::size_t kBlock = 4096;
    for (std::size_t From = 0; From < Left.size(); From += kBlock) {
      const std::size_t Count = std::min(kBlock, Left.size() - From);
      float** Buffer = vorbis_analysis_buffer(&Dsp, static_cast<int>(Count));
      std::copy_n(Left.begin() + static_cast<std::ptrdiff_t>(From), Count, Buffer[0]);
      std::copy_n(Right.begin() + static_cast<std::ptrdiff_t>(From), Count, Buffer[1]);
      vorbis_analysis_wrote(&Dsp, static_cast<int>(Count));
      Drain();
    }
    vorbis_analysis_wrote(&Dsp, 0);
    Drain();
    ogg_page Page;
    while (ogg_stream_flush(&Stream, &Page) != 0)
      Append(Page);
  }

  std::string Bytes;

 private:
  void Drain() {
    ogg_packet Packet;
    ogg_page Page;
    while (vorbis_analysis_blockout(&Dsp, &Block) == 1) {
      vorbis_analysis(&Block, nullptr);
      vorbis_bitrate_addblock(&Block);
      while (vorbis_bitrate_flushpacket(&Dsp, &Packet) != 0) {
        ogg_stream_packetin(&Stream, &Packet);
        while (ogg_stream_pageout(&Stream, &Page) != 0)
          Append(Page);
      }
    }
  }
  void Append(const ogg_page& Page) {
    Bytes.append(reinterpret_cast<const char*>(Page.header),
                 static_cast<std::size_t>(Page.header_len));
    Bytes.append(reinterpret_cast<const char*>(Page.body), static_cast<std::size_t>(Page.body_len));
  }

  vorbis_info Info{};
  vorbis_comment Comment{};
  vorbis_dsp_state Dsp{};
  vorbis_block Block{};
  ogg_stream_state Stream{};
};

}  // namespace

std::string EncodeOgg(const TSignal& Left, const TSignal& Right, float Quality, int Serial) {
  TVorbisEncoder Encoder(Quality, Serial);
  Encoder.WriteHeaders();
  Encoder.Feed(Left, Right);
  return std::move(Encoder.Bytes);
}

}  // namespace Assets::Sound

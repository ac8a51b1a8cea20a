// AssetsMusic.cpp -- "music-menu", "music-theme1", "music-theme2": the three looping pieces of the
// game as stereo Ogg Vorbis in Samples/. A small band (plucked guitar and bass, a soft pad, a
// flute, a bouzouki and frame drum, tambourine and shaker) plays a written melody over a chord
// progression. Every note is laid onto the loop circularly and the reverb runs round the loop
// twice, so the end of a piece flows into its start without a seam.
#include <algorithm>
#include <cmath>
#include <sstream>
#include <stdexcept>

#include "AssetsSound.h"

namespace {

using namespace Assets::Sound;
using Assets::kPi;
using Assets::TRandom;

// -- Notation ------------------------------------------------------------------------------------

// A chord: its root as a MIDI note in the lowest octave of the guitar and its intervals.
struct TChord {
  int Root = 40;
  int Third = 4;
  int Seventh = 0;  // 10 for a dominant seventh, 0 for none
};

// The semitones of a note name ("C" 0 .. "B" 11, "Cb" -1, "B#" 12) above the C of its octave;
// At is left after the letter and its sharp or flat.
int Semitones(const std::string& Name, std::size_t& At) {
  static constexpr int kLetters[] = {9, 11, 0, 2, 4, 5, 7};  // A B C D E F G
  if (Name.empty() || Name[0] < 'A' || Name[0] > 'G') throw std::logic_error("bad note " + Name);
  int Steps = kLetters[Name[0] - 'A'];
  At = 1;
  if (At < Name.size() && Name[At] == '#') ++Steps, ++At;
  if (At < Name.size() && Name[At] == 'b') --Steps, ++At;
  return Steps;
}

// "Dm", "Bb", "A7", "Asus4": the root placed between E2 and D#3.
TChord ParseChord(const std::string& Name) {
  std::size_t At = 0;
  const int Steps = Semitones(Name, At);
  TChord Chord;
  Chord.Root = 40 + (Steps - 4 + 24) % 12;
  const std::string Kind = Name.substr(At);
  if (Kind == "m") Chord.Third = 3;
  if (Kind == "7") Chord.Seventh = 10;
  if (Kind == "sus4") Chord.Third = 5;
  return Chord;
}

std::vector<TChord> ParseChords(const std::string& Names) {
  std::vector<TChord> Chords;
  std::istringstream Stream(Names);
  std::string Name;
  while (Stream >> Name)
    if (Name != "|") Chords.push_back(ParseChord(Name));
  return Chords;
}

// A note of a written line, in beats.
struct TWritten {
  int Midi;
  double Beat;
  double Beats;
};

// "A4:1 D5:1.5 r:0.5 | ..." -- note (or r for a rest) and its length in beats; bars are checked
// against the metre so that a slip in the writing shows at once.
std::vector<TWritten> ParseLine(const std::string& Text, int BeatsPerBar) {
  std::vector<TWritten> Line;
  std::string Spaced;
  for (const char Letter : Text)
    Spaced += Letter == '|' ? std::string(" | ") : std::string(1, Letter);
  std::istringstream Stream(Spaced);
  std::string Token;
  double Beat = 0.0, BarStart = 0.0;
  while (Stream >> Token) {
    if (Token == "|") {
      if (std::fabs(Beat - BarStart - BeatsPerBar) > 1e-9)
        throw std::logic_error("a bar of the wrong length before beat " + std::to_string(Beat));
      BarStart = Beat;
      continue;
    }
    const std::size_t Colon = Token.find(':');
    const double Beats = std::stod(Token.substr(Colon + 1));
    const std::string Name = Token.substr(0, Colon);
    if (Name != "r") {
      std::size_t At = 0;
      const int Steps = Semitones(Name, At);
      Line.push_back({12 * (std::stoi(Name.substr(At)) + 1) + Steps, Beat, Beats});
    }
    Beat += Beats;
  }
  return Line;
}

// -- The mix -------------------------------------------------------------------------------------

// The stereo loop the band plays into, with its reverb send.
class TMix {
 public:
  TMix(double Tempo, int BeatsPerBar, int Bars)
      : BeatSeconds(60.0 / Tempo),
        Length(Assets::Sound::Frames(BeatSeconds * BeatsPerBar * Bars)),
        Left(Length),
        Right(Length),
        SendLeft(Length),
        SendRight(Length) {}

  double Seconds(double Beat) const { return Beat * BeatSeconds; }

  // Lays a voice onto the loop at Start seconds, panned (-1 left .. 1 right) with some of it sent
  // to the reverb.
  void Add(const TSignal& Voice, double Start, double Gain, double Pan, double Send) {
    const double Angle = (std::clamp(Pan, -1.0, 1.0) + 1.0) * kPi / 4.0;
    const double ToLeft = Gain * std::cos(Angle), ToRight = Gain * std::sin(Angle);
    MixLooped(Left, Voice, Start, ToLeft);
    MixLooped(Right, Voice, Start, ToRight);
    MixLooped(SendLeft, Voice, Start, ToLeft * Send);
    MixLooped(SendRight, Voice, Start, ToRight * Send);
  }

  // Reverb round the loop, a clean low end, the peak at -6 dBFS, encoded.
  std::string Finish(int Serial) {
    TReverb Hall(0.8, 0.45);
    float WetLeft = 0.0f, WetRight = 0.0f;
    for (std::size_t I = 0; I < Length; ++I)
      Hall.Process(SendLeft[I], SendRight[I], WetLeft, WetRight);
    for (std::size_t I = 0; I < Length; ++I) {
      Hall.Process(SendLeft[I], SendRight[I], WetLeft, WetRight);
      Left[I] += 0.9f * WetLeft;
      Right[I] += 0.9f * WetRight;
    }
    RemoveDcLooped(Left);
    RemoveDcLooped(Right);
    const double Highest = std::max(Peak(Left), Peak(Right));
    if (Highest > 0.0) {
      Scale(Left, DbGain(-6.0) / Highest);
      Scale(Right, DbGain(-6.0) / Highest);
    }
    return EncodeOgg(Left, Right, 0.4f, Serial);
  }

 private:
  double BeatSeconds;
  std::size_t Length;
  TSignal Left, Right, SendLeft, SendRight;
};

// -- The band ------------------------------------------------------------------------------------

// A plucked nylon string, with a hint of a wooden body; Seconds long, damped at its end.
TSignal GuitarNote(int Midi, double Seconds, double Sustain, double Brightness, TRandom& Random) {
  TSignal Note = Pluck({MidiFrequency(Midi), Seconds, Sustain, Brightness, 0.18}, Random);
  Filter(Note, TBiquad::Peak(110.0, 1.4, 4.0));
  Filter(Note, TBiquad::Peak(230.0, 1.2, 2.5));
  Filter(Note, TBiquad::LowPass(5200.0));
  for (std::size_t I = 0; I < Note.size(); ++I)
    Note[I] *=
        static_cast<float>(2.5 * AttackRelease(static_cast<double>(I) / kRate, Seconds, 0.0, 0.12));
  return Note;
}

// The notes of a chord on the guitar: bass, fifth, octave, tenth, fifth above, top.
std::vector<int> Voicing(const TChord& Chord) {
  const int Bass = Chord.Root;
  const int Top = Chord.Seventh ? Bass + 12 + Chord.Seventh : Bass + 24;
  return {Bass, Bass + 7, Bass + 12, Bass + 12 + Chord.Third, Bass + 19, Top};
}

class TBand {
 public:
  TBand(TMix& Mix, std::uint64_t Seed) : Mix(Mix), Random(Seed) {}

  // A small human looseness in time.
  double Loose(double Seconds, double Amount = 0.004) {
    return Seconds + Random.Range(-Amount, Amount);
  }

  void Guitar(double Beat, int Midi, double Level, double Seconds = 2.0, double Sustain = 2.2,
              double Brightness = 0.45) {
    const TSignal Note = GuitarNote(Midi, Seconds, Sustain, Brightness, Random);
    Mix.Add(Note, Loose(Mix.Seconds(Beat)), Level * Random.Range(0.88, 1.0), -0.3, 0.22);
  }

  // A strum across the given strings, downwards (low to high) or upwards.
  void Strum(double Beat, const std::vector<int>& Strings, bool Down, double Level,
             double Seconds = 1.1, double Sustain = 1.4) {
    const double Start = Loose(Mix.Seconds(Beat));
    for (std::size_t I = 0; I < Strings.size(); ++I) {
      const int Midi = Strings[Down ? I : Strings.size() - 1 - I];
      const TSignal Note = GuitarNote(Midi, Seconds, Sustain, 0.55, Random);
      Mix.Add(Note, Start + 0.011 * static_cast<double>(I), Level * Random.Range(0.85, 1.0), -0.3,
              0.2);
    }
  }

  void Bass(double Beat, int Midi, double Level) {
    TSignal Note = Pluck({MidiFrequency(Midi), 1.6, 2.5, 0.25, 0.3}, Random);
    Filter(Note, TBiquad::LowPass(1100.0));
    for (std::size_t I = 0; I < Note.size(); ++I)
      Note[I] *= static_cast<float>(AttackRelease(static_cast<double>(I) / kRate, 1.6, 0.0, 0.2));
    Mix.Add(Note, Loose(Mix.Seconds(Beat)), Level * 6.0, 0.0, 0.05);
  }

  // A doubled-course bouzouki pluck: two strings a hair apart in tune.
  void Bouzouki(double Beat, int Midi, double Level) {
    const double Start = Loose(Mix.Seconds(Beat), 0.003);
    for (const double Detune : {-0.04, 0.04}) {
      TSignal Note = Pluck({MidiFrequency(Midi + Detune), 0.7, 1.0, 0.8, 0.12}, Random);
      Filter(Note, TBiquad::HighPass(180.0));
      for (std::size_t I = 0; I < Note.size(); ++I)
        Note[I] *=
            static_cast<float>(AttackRelease(static_cast<double>(I) / kRate, 0.7, 0.0, 0.15));
      Mix.Add(Note, Start, Level * 1.5, 0.35, 0.3);
    }
  }

  void Pad(double Beat, double Beats, const TChord& Chord, double Level);
  void Flute(const std::vector<TWritten>& Line, double Level);
  void Doum(double Beat, double Level);
  void Tek(double Beat, double Level);
  void Tambourine(double Beat, double Level);
  void Shaker(double Beat, double Level);

  TMix& Mix;
  TRandom Random;
};

// A warm pad holding a chord, two slightly detuned voices a note, one each side.
void TBand::Pad(double Beat, double Beats, const TChord& Chord, double Level) {
  static const TWavetable kSoft = [] {
    std::vector<double> Harmonics;
    for (int H = 1; H <= 10; ++H)
      Harmonics.push_back(1.0 / std::pow(H, 1.6));
    return TWavetable(Harmonics);
  }();
  const double Seconds = Mix.Seconds(Beats) + 0.6;
  // Below the flute, so the tune stays clear.
  const std::vector<int> Notes = {Chord.Root + 7, Chord.Root + 12, Chord.Root + 12 + Chord.Third,
                                  Chord.Root + 19};
  for (const double Cents : {-7.0, 7.0}) {
    TSignal Voice(Assets::Sound::Frames(Seconds));
    for (const int Note : Notes) {
      const double Step = MidiFrequency(Note + Cents / 100.0) / kRate;
      double Phase = Random.Uniform();
      for (float& Sample : Voice) {
        Sample += kSoft.At(Phase);
        Phase += Step;
      }
    }
    for (std::size_t I = 0; I < Voice.size(); ++I)
      Voice[I] *=
          static_cast<float>(AttackRelease(static_cast<double>(I) / kRate, Seconds, 0.5, 0.7));
    Filter(Voice, TBiquad::LowPass(1600.0));
    Mix.Add(Voice, Mix.Seconds(Beat), Level * 0.075, Cents < 0 ? -0.6 : 0.6, 0.5);
  }
}

bool Joined(const TWritten& Before, const TWritten& After) {
  return std::fabs(Before.Beat + Before.Beats - After.Beat) < 1e-6;
}

// How loud the flute is InNote seconds into a note: between joined notes it is tongued (a dip,
// not silence); next to a rest it rises and falls fully.
double FluteEnvelope(double InNote, double NoteLength, bool FromNote, bool ToNote) {
  const auto Ramp = [](double Time, double Length) {
    return AttackRelease(Time, 1e9, Length, 0.0);
  };
  const double Rise = FromNote ? 0.4 + 0.6 * Ramp(InNote, 0.04) : Ramp(InNote, 0.06);
  const double Left = NoteLength - InNote;
  const double Fall =
      ToNote ? 0.4 + 0.6 * Ramp(Left, 0.04) : Ramp(Left, std::min(0.15, NoteLength * 0.4));
  // A slight swell as the breath settles.
  return std::min(Rise, Fall) * (0.88 + 0.12 * std::min(1.0, InNote / 0.4));
}

// A breathy wooden flute playing a line: tongued where notes follow one another, with a slight
// glide between them, delayed vibrato and a breath noise that follows the pitch.
void TBand::Flute(const std::vector<TWritten>& Line, double Level) {
  if (Line.empty()) return;
  static const TWavetable kFlute({1.0, 0.45, 0.18, 0.1, 0.05, 0.03, 0.015});
  const TWritten& Last = Line.back();
  const double Start = Mix.Seconds(Line.front().Beat);
  TSignal Voice(Assets::Sound::Frames(Mix.Seconds(Last.Beat + Last.Beats) - Start + 0.05));
  TStateVariable Breath;
  TOnePole Mellow(3000.0);
  std::size_t Current = 0, Started = Line.size();
  double Phase = 0.0, Pitch = Line.front().Midi;
  const double Glide = 1.0 - std::exp(-1.0 / (0.015 * kRate));
  for (std::size_t I = 0; I < Voice.size(); ++I) {
    const double Time = Start + static_cast<double>(I) / kRate;
    while (Current + 1 < Line.size() && Mix.Seconds(Line[Current + 1].Beat) <= Time)
      ++Current;
    const TWritten& Note = Line[Current];
    const double NoteStart = Mix.Seconds(Note.Beat), NoteLength = Mix.Seconds(Note.Beats);
    const double InNote = Time - NoteStart;
    if (InNote < 0.0 || InNote >= NoteLength) continue;
    const bool FromNote = Current > 0 && Joined(Line[Current - 1], Note);
    const bool ToNote = Current + 1 < Line.size() && Joined(Note, Line[Current + 1]);
    const double Envelope = FluteEnvelope(InNote, NoteLength, FromNote, ToNote);
    if (Started != Current && !FromNote) Pitch = Note.Midi;
    Started = Current;
    Pitch += (Note.Midi - Pitch) * Glide;
    const double Vibrato =
        0.13 * std::sin(kTau * 5.2 * Time) * std::clamp((InNote - 0.25) / 0.4, 0.0, 1.0);
    const double Frequency = MidiFrequency(Pitch + Vibrato);
    Phase += Frequency / kRate;
    if (I % 32 == 0) {
      Breath.Tune(Frequency * 2.0, 1.2);
      Mellow.Tune(std::min(Frequency * 5.0, 7000.0));
    }
    const double Chiff = 0.05 + 0.35 * std::exp(-InNote / 0.025);
    const float Air = Breath.Process(static_cast<float>(Random.Range(-1.0, 1.0)));
    Voice[I] = static_cast<float>((Mellow.LowPass(kFlute.At(Phase)) + Chiff * Air) * Envelope);
  }
  Mix.Add(Voice, Start, Level, 0.15, 0.4);
}

// The deep open stroke of a frame drum.
void TBand::Doum(double Beat, double Level) {
  TSignal Hit = Thud(100.0, 68.0, 0.2, Random);
  AddModes(Hit, 0.0, {{176.0, 0.25, 0.05}, {265.0, 0.1, 0.03}});
  Mix.Add(Hit, Loose(Mix.Seconds(Beat), 0.003), Level * Random.Range(0.9, 1.0), 0.0, 0.12);
}

// The dry rim stroke of a frame drum.
void TBand::Tek(double Beat, double Level) {
  TSignal Hit = ModesGrain({{520.0, 0.4, 0.025}, {870.0, 0.2, 0.015}}, 0.2);
  MixInto(Hit, NoiseGrain(0.0004, 0.012, TBiquad::BandPass(3200.0, 1.0), Random), 0.0, 0.9);
  Mix.Add(Hit, Loose(Mix.Seconds(Beat), 0.003), Level * 4.0 * Random.Range(0.8, 1.0), 0.2, 0.12);
}

// A tambourine shake: a hiss of jingles ringing with a few metallic partials.
void TBand::Tambourine(double Beat, double Level) {
  TSignal Hit = NoiseGrain(0.002, 0.05, TBiquad::HighPass(6000.0), Random);
  TSignal Ring(Assets::Sound::Frames(0.4));
  for (const double Partial : {5200.0, 6900.0, 8300.0, 9800.0})
    AddModes(Ring, Random.Range(0.0, 0.006), {{Partial * Random.Range(0.98, 1.02), 0.12, 0.07}});
  MixInto(Hit, Ring, 0.0, 1.0);
  Mix.Add(Hit, Loose(Mix.Seconds(Beat), 0.004), Level * 3.0 * Random.Range(0.75, 1.0), 0.45, 0.15);
}

void TBand::Shaker(double Beat, double Level) {
  const TSignal Hit = NoiseGrain(0.008, 0.03, TBiquad::BandPass(6000.0, 1.0), Random);
  Mix.Add(Hit, Loose(Mix.Seconds(Beat), 0.005), Level * 4.0 * Random.Range(0.6, 1.0), -0.45, 0.1);
}

// The notes of a line that start within [FromBar, ToBar).
std::vector<TWritten> Bars(const std::vector<TWritten>& Line, int BeatsPerBar, int FromBar,
                           int ToBar) {
  std::vector<TWritten> Part;
  for (const TWritten& Note : Line)
    if (Note.Beat >= FromBar * BeatsPerBar && Note.Beat < ToBar * BeatsPerBar) Part.push_back(Note);
  return Part;
}

// -- The pieces ----------------------------------------------------------------------------------

// ThemeMenu: D minor at 80 beats a minute, a fingerpicked guitar under a slow flute song.
std::string ThemeMenu() {
  const std::vector<TChord> Chords =
      ParseChords("Dm Bb F C | Dm Gm A7 Dm | Bb F Gm Dm | Bb C Asus4 A");
  const std::vector<TWritten> Melody = ParseLine(
      "F5:2 E5:1 D5:1 | D5:1.5 C5:0.5 D5:2 | C5:2 A4:1 C5:1 | G4:3 r:1 |"
      "A4:1 D5:1 F5:1 A5:1 | G5:2 F5:1 D5:1 | E5:1.5 D5:0.5 C#5:2 | D5:3 r:1 |"
      "F5:1.5 G5:0.5 F5:1 D5:1 | C5:1.5 D5:0.5 C5:1 A4:1 | Bb4:1 D5:1 G5:1.5 F5:0.5 |"
      "F5:1 E5:1 D5:2 | D5:1 F5:1 Bb5:1.5 A5:0.5 | G5:2 E5:1 C5:1 | D5:2 E5:2 | E5:2 C#5:1 r:1 |",
      4);
  TMix Mix(80.0, 4, 16);
  TBand Band(Mix, 0x3E4A);
  // The picking rolls a little higher in the second half.
  const int Patterns[2][8] = {{0, 1, 2, 3, 4, 3, 2, 1}, {0, 2, 1, 3, 2, 4, 3, 5}};
  for (int Bar = 0; Bar < 16; ++Bar) {
    const TChord& Chord = Chords[static_cast<std::size_t>(Bar)];
    const std::vector<int> Strings = Voicing(Chord);
    const double Beat = Bar * 4.0;
    for (int Eighth = 0; Eighth < 8; ++Eighth)
      Band.Guitar(Beat + Eighth * 0.5, Strings[static_cast<std::size_t>(Patterns[Bar / 8][Eighth])],
                  Eighth == 0 ? 0.7 : 0.5, 2.2, 2.6, 0.4);
    Band.Bass(Beat, Chord.Root, 0.5);
    Band.Pad(Beat, 4.0, Chord, 0.45);
    Band.Doum(Beat, 0.5);
    if (Bar >= 4) Band.Tek(Beat + 2.0, 0.34);
    if (Bar >= 8)
      for (int Eighth = 0; Eighth < 8; ++Eighth)
        Band.Shaker(Beat + Eighth * 0.5, Eighth % 2 ? 0.07 : 0.11);
  }
  Band.Flute(Melody, 0.3);
  return Mix.Finish(0x6D656E75);
}

// Theme1: G major at 120 beats a minute, a strummed guitar and frame drum under a lively flute;
// a mandolin-like pluck doubles the flute the second time round.
std::string Theme1() {
  const std::vector<TChord> Chords =
      ParseChords("G D Em C | G D C D | G D Em C | G D G G | C D Bm Em | C Am D D7");
  const std::vector<TWritten> Melody = ParseLine(
      "D5:0.5 G5:0.5 G5:0.5 A5:0.5 B5:1 G5:1 | A5:1.5 F#5:0.5 D5:1 F#5:1 |"
      "G5:0.5 F#5:0.5 E5:0.5 F#5:0.5 G5:1 B5:1 | E5:1.5 D5:0.5 C5:1 r:1 |"
      "B4:0.5 D5:0.5 G5:0.5 A5:0.5 B5:1 D6:1 | C6:0.5 B5:0.5 A5:1 F#5:1 D5:1 |"
      "E5:0.5 F#5:0.5 G5:1 E5:1 C5:1 | F#5:2 D5:1 r:1 |"
      "D5:0.5 G5:0.5 G5:0.5 A5:0.5 B5:1 G5:1 | A5:1.5 F#5:0.5 D5:1 F#5:1 |"
      "G5:0.5 F#5:0.5 E5:0.5 F#5:0.5 G5:1 B5:1 | E5:1.5 D5:0.5 C5:1 r:1 |"
      "B4:0.5 D5:0.5 G5:0.5 A5:0.5 B5:1 D6:1 | C6:0.5 B5:0.5 A5:1 F#5:1 D5:1 |"
      "G5:1 B5:1 A5:0.5 G5:0.5 D5:1 | G5:3 r:1 |"
      "E5:1 G5:1 C6:1.5 B5:0.5 | A5:1 F#5:1 D5:1.5 E5:0.5 | F#5:1 D5:1 B4:1 D5:1 |"
      "E5:1.5 F#5:0.5 G5:1 B5:1 | C6:1.5 B5:0.5 A5:0.5 G5:0.5 E5:1 | A5:1 E5:1 C5:1 E5:1 |"
      "F#5:1 A5:1 D6:1.5 C6:0.5 | A5:1 F#5:0.5 E5:0.5 D5:1 r:1 |",
      4);
  TMix Mix(120.0, 4, 24);
  TBand Band(Mix, 0x7E1);
  const double Strums[] = {0.0, 1.0, 1.5, 2.5, 3.0, 3.5};
  const bool Downs[] = {true, true, false, false, true, false};
  for (int Bar = 0; Bar < 24; ++Bar) {
    const TChord& Chord = Chords[static_cast<std::size_t>(Bar)];
    const std::vector<int> Strings = Voicing(Chord);
    const std::vector<int> Upper(Strings.begin() + 1, Strings.end());
    const std::vector<int> Top(Strings.begin() + 2, Strings.end());
    const double Beat = Bar * 4.0;
    for (int I = 0; I < 6; ++I)
      Band.Strum(Beat + Strums[I], Downs[I] ? Upper : Top, Downs[I], Downs[I] ? 0.34 : 0.22);
    Band.Bass(Beat, Chord.Root, 0.55);
    Band.Bass(Beat + 2.0, Chord.Root + 7, 0.42);
    Band.Bass(Beat + 3.5, Chord.Root + 12, 0.3);
    Band.Pad(Beat, 4.0, Chord, 0.33);
    Band.Doum(Beat, 0.63);
    Band.Doum(Beat + 2.0, 0.49);
    for (const double Stroke : {0.5, 1.5, 3.0})
      Band.Tek(Beat + Stroke, 0.34);
    Band.Tambourine(Beat + 1.0, 0.37);
    Band.Tambourine(Beat + 3.0, 0.37);
    for (int Eighth = 1; Eighth < 8; Eighth += 2)
      Band.Shaker(Beat + Eighth * 0.5, 0.115);
  }
  for (const TWritten& Note : Bars(Melody, 4, 8, 16))
    Band.Bouzouki(Note.Beat, Note.Midi - 12, 0.66);
  Band.Flute(Melody, 0.31);
  return Mix.Finish(0x7468656D);
}

// Theme2: A minor at 140 beats a minute in three, bass and guitar on the off-beats, the flute
// handing the tune to a bouzouki in the middle section.
std::string Theme2() {
  const std::vector<TChord> Chords = ParseChords(
      "Am Am G G | F F E E | Am Am G G | F E Am Am | Dm Dm Am Am | G G C E | F F Dm E | Am Dm E E");
  const std::vector<TWritten> Melody = ParseLine(
      "E5:1 A5:1 B5:1 | C6:2 B5:0.5 A5:0.5 | B5:1 G5:1 D5:1 | B5:1.5 A5:0.5 G5:1 |"
      "A5:1 F5:1 C5:1 | F5:1 A5:1 C6:1 | B5:1.5 G#5:0.5 E5:1 | E5:2 r:1 |"
      "E5:1 A5:1 B5:1 | C6:1 D6:0.5 C6:0.5 B5:1 | D6:1.5 C6:0.5 B5:1 | B5:1 G5:1 D5:1 |"
      "C6:1 A5:1 F5:1 | B5:1 G#5:1 E5:1 | A5:2 E5:1 | A5:2 r:1 |"
      "F5:1 A5:1 D6:1 | D6:1.5 C6:0.5 A5:1 | C6:1 A5:1 E5:1 | E5:1 A5:1 C6:1 |"
      "B5:1.5 A5:0.5 G5:1 | D5:1 G5:1 B5:1 | C6:1 G5:1 E5:1 | G#5:2 B5:1 |"
      "A5:1 C6:1 A5:1 | F5:2 A5:1 | D5:1 F5:1 A5:1 | G#5:1.5 F5:0.5 E5:1 |"
      "A5:1 C6:1 B5:1 | A5:1 F5:1 D5:1 | E5:1 G#5:1 B5:1 | B5:2 G#5:1 |",
      3);
  TMix Mix(140.0, 3, 32);
  TBand Band(Mix, 0x7E2);
  for (int Bar = 0; Bar < 32; ++Bar) {
    const TChord& Chord = Chords[static_cast<std::size_t>(Bar)];
    const std::vector<int> Strings = Voicing(Chord);
    const std::vector<int> Chop(Strings.begin() + 2, Strings.end() - 1);
    const double Beat = Bar * 3.0;
    Band.Bass(Beat, Bar % 2 == 0 ? Chord.Root : Chord.Root - 5, 0.55);
    Band.Strum(Beat + 1.0, Chop, true, 0.55, 0.45, 0.5);
    Band.Strum(Beat + 2.0, Chop, true, 0.45, 0.45, 0.5);
    Band.Pad(Beat, 3.0, Chord, 0.35);
    Band.Doum(Beat, 0.58);
    Band.Tek(Beat + 1.0, 0.33);
    Band.Tek(Beat + 2.0, 0.33);
    if (Bar % 2 == 1) Band.Tek(Beat + 2.5, 0.22);
    Band.Tambourine(Beat + 1.0, 0.25);
    Band.Tambourine(Beat + 2.0, 0.25);
  }
  // The bouzouki plays its part in tremolo, four strokes a beat.
  for (const TWritten& Note : Bars(Melody, 3, 16, 24))
    for (double Stroke = 0.0; Stroke < Note.Beats - 1e-9; Stroke += 0.25)
      Band.Bouzouki(Note.Beat + Stroke, Note.Midi - 12, Stroke == 0.0 ? 0.63 : 0.45);
  std::vector<TWritten> FluteLine = Bars(Melody, 3, 0, 16);
  const std::vector<TWritten> Reprise = Bars(Melody, 3, 24, 32);
  FluteLine.insert(FluteLine.end(), Reprise.begin(), Reprise.end());
  Band.Flute(FluteLine, 0.31);
  return Mix.Finish(0x6B617461);
}

void GenerateMenu(Assets::TOutput& Output) {
  Output.File("Samples/ThemeMenu.ogg", ThemeMenu());
}
void GenerateTheme1(Assets::TOutput& Output) {
  Output.File("Samples/Theme1.ogg", Theme1());
}
void GenerateTheme2(Assets::TOutput& Output) {
  Output.File("Samples/Theme2.ogg", Theme2());
}

const Assets::TGeneratorRegistration MenuRegistration("music-menu", &GenerateMenu);
const Assets::TGeneratorRegistration Theme1Registration("music-theme1", &GenerateTheme1);
const Assets::TGeneratorRegistration Theme2Registration("music-theme2", &GenerateTheme2);

}  // namespace

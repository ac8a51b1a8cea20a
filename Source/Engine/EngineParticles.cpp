// EngineParticles.cpp -- path files, emitters, effects and particles. Each property of a particle
// is chosen at birth, and follows its age, through a function picked from a small table by the
// emitter's mode number.
#include "EngineParticles.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <optional>
#include <stdexcept>

#include "EngineInput.h"
#include "EngineRegister.h"
#include "EngineRenderer.h"
#include "EngineStreams.h"
#include "Platform.h"

std::unique_ptr<TParticles> Particles;

namespace {

constexpr float kDegreesPerRadian = 57.2957795f;
// The lifetime a particle with no (or no sensible) lifetime gets: it dies in its first update.
constexpr float kInstantLifetime = 0.000001f;
constexpr float kInstantRate = 1000000.0f;
// Effects in one chain at most; a chain that loops back on itself ends here.
constexpr int kMaxChainLength = 16;

// ---- Helpers ----

// The table entry for Mode; modes past the end use the last entry.
template <class TFunction, std::size_t N>
TFunction Pick(const std::array<TFunction, N>& Table, std::uint8_t Mode) {
  return Table[std::min<std::size_t>(Mode, N - 1)];
}

// A random offset of up to half of Width either way.
float SpreadOf(float Width) {
  return (RandomFloat() - 0.5f) * Width;
}

// The path scale an effect walks and places by: a scale of 0 (or one that is not a number) would
// divide by zero, so it counts as 1.
float PathScaleOf(const TEmitterParameters& Emitter) {
  const float Scale = Emitter.PathScale;
  return std::isfinite(Scale) && Scale != 0.0f ? Scale : 1.0f;
}

// Life modes past 2 act as 2.
int LifeModeOf(const TEmitterParameters& Emitter) {
  return std::min<int>(Emitter.LifeMode, 2);
}

// The path that path modes read: the emitter's, or an empty one.
const TPath& PathOf(const TEmitterParameters& Emitter) {
  static const TPath NoPath;
  return Emitter.Path ? *Emitter.Path : NoPath;
}

bool WalksPath(const TEmitterParameters& Emitter) {
  return Emitter.Path && Emitter.Path->Usable;
}

// Depth + Offset, kept within the depth range.
std::int32_t OffsetDepth(std::int32_t Depth, std::int32_t Offset) {
  const std::int64_t Sum = static_cast<std::int64_t>(Depth) + Offset;
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(Sum, INT32_MIN, INT32_MAX));
}

// ---- Path files ----

std::string PathLoadFailure(const std::string& Name, const std::string& Reason) {
  return "Failed to create path \"" + Name + "\" (" + Reason + ")";
}

// Bytes of one point (float value, 16-bit x, 16-bit y) and of one mark (first index, count).
constexpr std::uint64_t kPointBytes = 8;
constexpr std::uint64_t kMarkBytes = 8;

void NeedBytes(const TStreamReader& Reader, std::uint64_t Bytes) {
  if (Bytes > Reader.Remaining()) throw std::runtime_error("Unexpected end of file");
}

// A count followed by that many records of ItemBytes each, all of which the file must hold (so
// nothing is allocated for a count the file cannot back).
std::int32_t ReadCount(TStreamReader& Reader, std::uint64_t ItemBytes, const char* Negative) {
  const auto Count = Reader.Read<std::int32_t>();
  if (Count < 0) throw std::runtime_error(Negative);
  NeedBytes(Reader, static_cast<std::uint64_t>(Count) * ItemBytes);
  return Count;
}

// A mark cut down to the points that exist: the part of its run that lies within 0..PointCount.
TPathMark ClampedMark(std::int32_t First, std::int32_t Count, std::int32_t PointCount) {
  const std::int64_t Start = std::clamp<std::int64_t>(First, 0, PointCount);
  const std::int64_t End =
      std::clamp<std::int64_t>(static_cast<std::int64_t>(First) + Count, Start, PointCount);
  return {static_cast<std::int32_t>(Start), static_cast<std::int32_t>(End - Start)};
}

void ReadPathData(TPath& Path, const std::string& Data) {
  TStreamReader Reader(Data);
  const std::int32_t PointCount = ReadCount(Reader, kPointBytes, "Negative number of points");
  Path.Points.resize(static_cast<std::size_t>(PointCount));
  for (TPathPoint& Point : Path.Points) {
    Point.Value = Reader.Read<float>();
    Point.X = Reader.Read<std::int16_t>();
    Point.Y = Reader.Read<std::int16_t>();
  }
  const std::int32_t MarkCount = ReadCount(Reader, kMarkBytes, "Negative number of marks");
  Path.Marks.resize(static_cast<std::size_t>(MarkCount));
  for (TPathMark& Mark : Path.Marks) {
    const auto First = Reader.Read<std::int32_t>();
    const auto Count = Reader.Read<std::int32_t>();
    Mark = ClampedMark(First, Count, PointCount);
  }
  Path.Length = Path.Points.empty() ? 0.0f : Path.Points.back().Value;
  Path.Usable = std::isfinite(Path.Length) && Path.Length > 0.0f && PointCount > 1;
}

// ---- What happens at the ends of the path ----

void PathStops(TEffect& Effect) {
  Effect.PathPos = Clamp01(Effect.PathPos);
}

void PathRepeats(TEffect& Effect) {
  float Position = Frac(Effect.PathPos);
  if (Position < 0.0f) Position += 1.0f;
  Effect.PathPos = Position;
}

void PathTurns(TEffect& Effect) {
  if (Effect.PathPos > 1.0f) {
    Effect.Forward = false;
    Effect.PathPos = 1.0f - Frac(Effect.PathPos);
  } else if (Effect.PathPos < 0.0f) {
    Effect.Forward = true;
    Effect.PathPos = std::fabs(Frac(Effect.PathPos));
  }
}

constexpr std::array<void (*)(TEffect&), 3> kPathModes = {PathStops, PathRepeats, PathTurns};

// ---- Particles per emission ----

using TCountFunction = int (*)(const TEffect& Effect, const TEmiter& Emitter);

int CountFixed(const TEffect&, const TEmiter& Emitter) {
  return Emitter.Count;
}

int CountMarkSize(const TEffect& Effect, const TEmiter& Emitter) {
  return PathOf(Emitter).MarkSize(Effect.Mark);
}

int CountMarkShare(const TEffect& Effect, const TEmiter& Emitter) {
  const int Size = PathOf(Emitter).MarkSize(Effect.Mark);
  return FloorToInt(static_cast<float>(Size) * Emitter.CountFactor);
}

constexpr std::array<TCountFunction, 3> kCountModes = {CountFixed, CountMarkSize, CountMarkShare};

// ---- Tables C to K: a particle's properties at birth, chosen in table order ----

// What the birth functions read and the particle they set up.
struct TBirth {
  const TEmiter& Emitter;
  const TEffect& Effect;
  const TPath& Path;
  float PathScale;
  TParticle& Particle;
};

using TBirthFunction = void (*)(TBirth& Birth);

// Where a particle starts (Start).
void StartAtPosition(TBirth& B) {
  B.Particle.Start = B.Emitter.Position;
}

void StartInArea(TBirth& B) {
  const float X = SpreadOf(B.Emitter.Spread.X);
  const float Y = SpreadOf(B.Emitter.Spread.Y);
  B.Particle.Start = VectorAdd(B.Emitter.Position, {X, Y});
}

void StartOnRow(TBirth& B) {
  B.Particle.Start = VectorAdd(B.Emitter.Position, {SpreadOf(B.Emitter.Spread.X), 0.0f});
}

void StartOnColumn(TBirth& B) {
  B.Particle.Start = VectorAdd(B.Emitter.Position, {0.0f, SpreadOf(B.Emitter.Spread.Y)});
}

void StartBetweenPositions(TBirth& B) {
  B.Particle.Start = VectorScale(VectorAdd(B.Emitter.Position, B.Emitter.Position2), 0.5f);
}

void StartOnPath(TBirth& B) {
  B.Particle.Start = VectorScale(B.Path.RandomPoint(), B.PathScale);
}

void StartOnMark(TBirth& B) {
  B.Particle.Start = VectorScale(B.Path.RandomMarkPoint(B.Effect.Mark), B.PathScale);
}

// One particle per point of the mark when the emission's count is the mark's size.
void StartAtMarkPoint(TBirth& B) {
  B.Particle.Start = VectorScale(B.Path.MarkPoint(B.Effect.Mark, B.Effect.Index), B.PathScale);
}

void StartNearMark(TBirth& B) {
  StartOnMark(B);
  const float X = SpreadOf(B.Emitter.Spread.X);
  const float Y = SpreadOf(B.Emitter.Spread.Y);
  B.Particle.Start = VectorAdd(B.Particle.Start, {X, Y});
}

constexpr std::array<TBirthFunction, 9> kStartModes = {
    StartAtPosition, StartInArea, StartOnRow,       StartOnColumn, StartBetweenPositions,
    StartOnPath,     StartOnMark, StartAtMarkPoint, StartNearMark};

// Which way it travels (Heading and HeadingVector).
void SetHeading(TParticle& Particle, float Degrees) {
  Particle.Heading = Degrees;
  Particle.HeadingVector = AngleToVector(Degrees);
}

// Heads along the line From -> To; a particle whose two points coincide does not move.
void Aim(TParticle& Particle, TVector From, TVector To) {
  const TVector Line = VectorSubtract(To, From);
  const float Length = VectorLength(Line);
  if (!(Length > 0.0f)) {
    Particle.Heading = 0.0f;
    Particle.HeadingVector = {0.0f, 0.0f};
    return;
  }
  const float Degrees = ArcCos(-Line.Y / Length) * kDegreesPerRadian;
  SetHeading(Particle, Line.X < 0.0f ? 360.0f - Degrees : Degrees);
}

void HeadFixed(TBirth& B) {
  SetHeading(B.Particle, B.Emitter.Direction);
}

void HeadSpread(TBirth& B) {
  SetHeading(B.Particle, WrapAngle(B.Emitter.Direction + SpreadOf(B.Emitter.DirectionSpread)));
}

void HeadAnywhere(TBirth& B) {
  SetHeading(B.Particle, RandomFloat() * 360.0f);
}

void HeadAwayFromPosition(TBirth& B) {
  Aim(B.Particle, B.Emitter.Position, B.Particle.Start);
}

void HeadToPosition(TBirth& B) {
  Aim(B.Particle, B.Particle.Start, B.Emitter.Position);
}

void HeadToPosition2(TBirth& B) {
  Aim(B.Particle, B.Particle.Start, B.Emitter.Position2);
}

constexpr std::array<TBirthFunction, 6> kDirectionModes = {
    HeadFixed, HeadSpread, HeadAnywhere, HeadAwayFromPosition, HeadToPosition, HeadToPosition2};

// How far it travels over its life (Travel).
void TravelFixed(TBirth& B) {
  B.Particle.Travel = B.Emitter.Distance;
}

void TravelSpread(TBirth& B) {
  B.Particle.Travel = B.Emitter.Distance + SpreadOf(B.Emitter.DistanceSpread);
}

void TravelFromPosition(TBirth& B) {
  B.Particle.Travel = VectorLength(VectorSubtract(B.Particle.Start, B.Emitter.Position));
}

void TravelFromPosition2(TBirth& B) {
  B.Particle.Travel = VectorLength(VectorSubtract(B.Particle.Start, B.Emitter.Position2));
}

void TravelFromPosition2Scaled(TBirth& B) {
  TravelFromPosition2(B);
  B.Particle.Travel *= B.Emitter.Distance;
}

constexpr std::array<TBirthFunction, 5> kDistanceModes = {
    TravelFixed, TravelSpread, TravelFromPosition, TravelFromPosition2, TravelFromPosition2Scaled};

// Its size at birth.
void SizeFixed(TBirth& B) {
  B.Particle.Size = B.Emitter.Size;
}

void SizeSpread(TBirth& B) {
  const float X = B.Emitter.Size.X + SpreadOf(B.Emitter.SizeSpread.X);
  const float Y = B.Emitter.Size.Y + SpreadOf(B.Emitter.SizeSpread.Y);
  B.Particle.Size = {X, Y};
}

void SizeOfTravel(TBirth& B) {
  B.Particle.Size = {B.Particle.Travel, B.Particle.Travel};
}

void WidthOfTravel(TBirth& B) {
  B.Particle.Size = {B.Particle.Travel, B.Emitter.Size.Y};
}

void HeightOfTravel(TBirth& B) {
  B.Particle.Size = {B.Emitter.Size.X, B.Particle.Travel};
}

// From Size at the path's start to SizeSpread at its end.
void SizeAlongPath(TBirth& B) {
  const TVector Change = VectorSubtract(B.Emitter.SizeSpread, B.Emitter.Size);
  B.Particle.Size = VectorAdd(B.Emitter.Size, VectorScale(Change, B.Effect.PathPos));
}

constexpr std::array<TBirthFunction, 6> kSizeModes = {SizeFixed,     SizeSpread,     SizeOfTravel,
                                                      WidthOfTravel, HeightOfTravel, SizeAlongPath};

// Its picture's rotation at birth.
void AngleFixed(TBirth& B) {
  B.Particle.Rotation = B.Emitter.Angle;
}

void AngleSpread(TBirth& B) {
  B.Particle.Rotation = WrapAngle(B.Emitter.Angle + SpreadOf(B.Emitter.AngleSpread));
}

void AngleAnywhere(TBirth& B) {
  B.Particle.Rotation = RandomFloat() * 360.0f;
}

// The picture points along its travel.
void AngleOfHeading(TBirth& B) {
  B.Particle.Rotation = B.Particle.Heading;
}

constexpr std::array<TBirthFunction, 4> kAngleModes = {AngleFixed, AngleSpread, AngleAnywhere,
                                                       AngleOfHeading};

// Its rotation speed.
void SpinFixed(TBirth& B) {
  B.Particle.Spin = B.Emitter.Spin;
}

void SpinSpread(TBirth& B) {
  B.Particle.Spin = WrapAngle(B.Emitter.Spin + SpreadOf(B.Emitter.SpinSpread));
}

constexpr std::array<TBirthFunction, 2> kSpinModes = {SpinFixed, SpinSpread};

// Its opacity at birth.
void OpacityFixed(TBirth& B) {
  B.Particle.Opacity = B.Emitter.Alpha;
}

void OpacitySpread(TBirth& B) {
  B.Particle.Opacity = Clamp01(B.Emitter.Alpha + SpreadOf(B.Emitter.AlphaSpread));
}

constexpr std::array<TBirthFunction, 2> kAlphaModes = {OpacityFixed, OpacitySpread};

// Its colour at birth (Tint).
void TintFixed(TBirth& B) {
  B.Particle.Tint = B.Emitter.Color;
}

void TintBetween(TBirth& B) {
  B.Particle.Tint = LerpColor(B.Emitter.Color, B.Emitter.Color2, RandomFloat());
}

void TintAlongPath(TBirth& B) {
  B.Particle.Tint = LerpColor(B.Emitter.Color, B.Emitter.Color2, B.Effect.PathPos);
}

constexpr std::array<TBirthFunction, 3> kColorModes = {TintFixed, TintBetween, TintAlongPath};

// How long it lives.
void LifetimeFixed(TBirth& B) {
  B.Particle.Lifetime = B.Emitter.Lifetime;
}

// Particles that travel further live longer.
void LifetimeOfTravel(TBirth& B) {
  B.Particle.Lifetime = B.Particle.Travel / B.Emitter.Speed;
}

constexpr std::array<TBirthFunction, 2> kLifetimeModes = {LifetimeFixed, LifetimeOfTravel};

// A lifetime of 0 -- or one that is negative, infinite or not a number, which would never let
// the particle die -- becomes the instant lifetime.
void SettleLifetime(TParticle& Particle) {
  if (Particle.Lifetime > 0.0f && std::isfinite(Particle.Lifetime)) {
    Particle.Rate = 1.0f / Particle.Lifetime;
  } else {
    Particle.Lifetime = kInstantLifetime;
    Particle.Rate = kInstantRate;
  }
}

// ---- Tables L to P: a particle over its life ----

const TEmiter& EmitterOf(const TParticle& Particle) {
  return *Particle.Effect->Emitter;
}

// Over its life: the offset from the effect, before its scale.
TVector Stays(const TParticle& P, float) {
  return P.Start;
}

TVector MovesAway(const TParticle& P, float Age) {
  return VectorAdd(P.Start, VectorScale(P.HeadingVector, P.Travel * Age));
}

TVector Arrives(const TParticle& P, float Age) {
  return VectorAdd(P.Start, VectorScale(P.HeadingVector, P.Travel * (1.0f - Age)));
}

constexpr std::array<TMotionFunction, 3> kMotionModes = {Stays, MovesAway, Arrives};

// Over its life: the sprite's size.
TVector KeepsSize(const TParticle& P, float) {
  return P.Size;
}

TVector Grows(const TParticle& P, float Age) {
  const float Factor = EmitterOf(P).GrowFactor;
  return VectorScale(P.Size, 1.0f + (Factor - 1.0f) * Age);
}

// Out to Size x GrowFactor at half its life and back.
TVector GrowsAndShrinks(const TParticle& P, float Age) {
  const float Factor = EmitterOf(P).GrowFactor;
  if (Age < 0.5f) return VectorScale(P.Size, 1.0f + (Factor - 1.0f) * 2.0f * Age);
  return VectorScale(P.Size, Factor + (1.0f - Factor) * (2.0f * Age - 1.0f));
}

constexpr std::array<TGrowFunction, 3> kGrowModes = {KeepsSize, Grows, GrowsAndShrinks};

// Over its life: the sprite's angle.
float KeepsAngle(const TParticle& P, float) {
  return P.Rotation;
}

float Spins(const TParticle& P, float Age) {
  return WrapAngle(P.Rotation + Age * P.Lifetime * P.Spin);
}

constexpr std::array<TRotateFunction, 2> kRotateModes = {KeepsAngle, Spins};

// Over its life: the opacity.
float FadeInShare(const TParticle& P, float Age) {
  return P.Opacity * MapRange(Age, 0.0f, EmitterOf(P).FadeIn, 0.0f, 1.0f);
}

float FadeOutShare(const TParticle& P, float Age) {
  return P.Opacity * MapRange(Age, EmitterOf(P).FadeOut, 1.0f, 1.0f, 0.0f);
}

float KeepsOpacity(const TParticle& P, float) {
  return P.Opacity;
}

float FadesIn(const TParticle& P, float Age) {
  return Age < EmitterOf(P).FadeIn ? FadeInShare(P, Age) : P.Opacity;
}

float FadesOut(const TParticle& P, float Age) {
  return Age > EmitterOf(P).FadeOut ? FadeOutShare(P, Age) : P.Opacity;
}

float FadesInAndOut(const TParticle& P, float Age) {
  if (Age < EmitterOf(P).FadeIn) return FadeInShare(P, Age);
  return FadesOut(P, Age);
}

constexpr std::array<TFadeFunction, 4> kFadeModes = {KeepsOpacity, FadesIn, FadesOut,
                                                     FadesInAndOut};

// Over its life: the colour (its alpha byte is ignored).
TColor KeepsTint(const TParticle& P, float) {
  return P.Tint;
}

TColor TintsToEnd(const TParticle& P, float Age) {
  return LerpColor(P.Tint, EmitterOf(P).ColorEnd, Age);
}

constexpr std::array<TTintFunction, 2> kTintModes = {KeepsTint, TintsToEnd};

}  // namespace

// ---- Paths ----

int TPath::MarkSize(int Mark) const {
  if (Mark < 0 || static_cast<std::size_t>(Mark) >= Marks.size()) return 0;
  return Marks[static_cast<std::size_t>(Mark)].Count;
}

namespace {

TVector PointAt(const TPath& Path, std::int64_t Index) {
  const TPathPoint& Point = Path.Points[static_cast<std::size_t>(Index)];
  return {static_cast<float>(Point.X), static_cast<float>(Point.Y)};
}

}  // namespace

TVector TPath::RandomPoint() const {
  if (Points.empty()) return {0.0f, 0.0f};
  return PointAt(*this, Random(static_cast<int>(Points.size())));
}

TVector TPath::RandomMarkPoint(int Mark) const {
  const int Size = MarkSize(Mark);
  if (Size <= 0) return {0.0f, 0.0f};
  return PointAt(
      *this, static_cast<std::int64_t>(Marks[static_cast<std::size_t>(Mark)].First) + Random(Size));
}

TVector TPath::MarkPoint(int Mark, int Index) const {
  if (Index < 0 || Index >= MarkSize(Mark)) return {0.0f, 0.0f};
  return PointAt(*this,
                 static_cast<std::int64_t>(Marks[static_cast<std::size_t>(Mark)].First) + Index);
}

void TPath::Clear() {
  Points.clear();
  Marks.clear();
  Usable = false;
  Length = 0.0f;
}

bool LoadPath(TPath& Path, const std::string& File) {
  Path.Clear();
  try {
    if (!Platform::FileExists(File)) throw std::runtime_error("Missing file");
    const std::optional<std::string> Data = Platform::ReadFile(File);
    if (!Data) throw std::runtime_error("Failed to read file");
    ReadPathData(Path, *Data);
  } catch (const EStreamError&) {
    Path.Clear();
    ErrorLog.Add(PathLoadFailure(Path.Name, "Unexpected end of file"));
    return false;
  } catch (const std::exception& Error) {
    Path.Clear();
    ErrorLog.Add(PathLoadFailure(Path.Name, Error.what()));
    return false;
  }
  return true;
}

// ---- Particles ----

bool TParticle::Update(float Dt) {
  Age += Rate * Dt;
  if (!(Age <= 1.0f)) {  // also ends a particle whose age is not a number
    Remove();
    return false;
  }
  const TEffect& Host = *Effect;
  const TVector Offset = Motion(*this, Age);
  Sprite->SetPosition(VectorAdd(Host.Position, VectorScale(Offset, Host.Scale)));
  Sprite->SetSize(Grow(*this, Age));
  Sprite->SetScale(Host.Scale);
  Sprite->SetAngle(Rotate(*this, Age));
  const TColor Alpha = AlphaByte(Fade(*this, Age) * Host.Alpha);
  Sprite->SetColor(Alpha << 24 | (Tinting(*this, Age) & 0x00FFFFFFu));
  return true;
}

void TParticle::OnInsert(TContainer&, void* Param) {
  Effect = static_cast<TEffect*>(Param);
  ++Effect->Live;
  Sprite = Renderer->AddSprite(Effect->Depth);
  Age = 0.0f;
}

void TParticle::OnRemove(TContainer&) {
  if (Sprite && Sprite->Container()) Sprite->Remove();
  Sprite = nullptr;
  if (Effect) --Effect->Live;
  Effect = nullptr;
}

// ---- Effects ----

namespace {

// The effect's lifetime: Life seconds, or the time one walk along the path takes times
// PathLifeFactor.
float LifetimeOf(const TEmiter* Emitter) {
  if (!Emitter) return 0.0f;
  const int Mode = LifeModeOf(*Emitter);
  if (Mode == 1) return Emitter->Life;
  if (Mode == 2 && WalksPath(*Emitter) && Emitter->PathSpeed != 0.0f) {
    const float StepsPerWalk = Emitter->Path->Length / (Emitter->PathSpeed / PathScaleOf(*Emitter));
    return StepsPerWalk * Emitter->Interval * Emitter->PathLifeFactor;
  }
  return 0.0f;
}

}  // namespace

void TEffect::OnInsert(TContainer&, void* Param) {
  const TEffectSetup Setup = Param ? *static_cast<const TEffectSetup*>(Param) : TEffectSetup{};
  System = Setup.System;
  Emitter = Setup.Emitter;
  Chained = nullptr;
  ChainedTo = nullptr;
  Owner = nullptr;
  Persistent = false;
  Active = false;
  Live = 0;
  Depth = 0;
  Position = {0.0f, 0.0f};
  Scale = 1.0f;
  Alpha = 1.0f;
  Forward = true;
  PathPos = 0.0f;
  Mark = -1;
  Index = 0;
  Accum = 0.0f;
  Remaining = 0.0f;
  EffectLifetime = LifetimeOf(Emitter);
}

void TEffect::OnRemove(TContainer&) {
  if (Chained && Chained->ChainedTo == this) Chained->ChainedTo = nullptr;
  if (ChainedTo && ChainedTo->Chained == this) ChainedTo->Chained = nullptr;
  Chained = nullptr;
  ChainedTo = nullptr;
  Owner = nullptr;
  EffectLifetime = 0.0f;
}

void TEffect::SetActive(bool On) {
  for (TEffect* Link = this; Link; Link = Link->Chained)
    Link->Switch(On);
}

void TEffect::SetPosition(TVector Value) {
  for (TEffect* Link = this; Link; Link = Link->Chained)
    Link->Position = Value;
}

void TEffect::SetScale(float Value) {
  for (TEffect* Link = this; Link; Link = Link->Chained)
    Link->Scale = Value;
}

void TEffect::SetAlpha(float Value) {
  for (TEffect* Link = this; Link; Link = Link->Chained)
    Link->Alpha = Value;
}

void TEffect::Switch(bool On) {
  if (On == Active || !Emitter) return;
  Active = On;
  if (!On) return;
  if (WalksPath(*Emitter)) {
    Forward = Emitter->PathForward;
    PathPos = Forward ? 0.0f : 1.0f;
    PlaceMark();
  } else {
    Forward = true;
    PathPos = 0.0f;
    Mark = -1;
  }
  Accum = Emitter->Interval;  // the first emission comes with the first update
  Remaining = EffectLifetime;
  if (Emitter->Prewarm > 0.0f) Update(Emitter->Prewarm);
}

void TEffect::Update(float Dt) {
  if (!Active || !Emitter) return;
  if (LifeModeOf(*Emitter) != 0) {
    Remaining -= Dt;
    if (Remaining <= 0.0f) {
      SetActive(false);
      return;
    }
  }
  Accum += Dt;
  const float Interval = Emitter->Interval;
  if (!(Interval > 0.0f)) {
    // Without a usable interval the effect emits once per update, never endlessly.
    Accum = 0.0f;
    Emit();
    return;
  }
  while (Accum >= Interval) {
    const float Left = Accum - Interval;
    // An interval too small to change Accum would never use it up: emit once more and stop.
    Accum = Left < Accum ? Left : 0.0f;
    Emit();
  }
}

void TEffect::Emit() {
  // Particles are sprites: without a renderer there is nothing to emit.
  if (Renderer && System) {
    const int Count = Pick(kCountModes, Emitter->CountMode)(*this, *Emitter);
    for (Index = 0; Index < Count; ++Index)
      EmitParticle();
  }
  StepAlongPath();
}

void TEffect::EmitParticle() {
  const TEmiter& E = *Emitter;
  auto& Particle = *System->LiveParticles.AddAs<TParticle>({}, this, TInsertMode::Front);
  Particle.Sprite->SetTexture(E.Texture);
  Particle.Sprite->SetSegment(E.Segment);
  TBirth Birth{E, *this, PathOf(E), PathScaleOf(E), Particle};
  Pick(kStartModes, E.StartMode)(Birth);
  Pick(kDirectionModes, E.DirectionMode)(Birth);
  Pick(kDistanceModes, E.DistanceMode)(Birth);
  Pick(kSizeModes, E.SizeMode)(Birth);
  Pick(kAngleModes, E.AngleMode)(Birth);
  Pick(kSpinModes, E.SpinMode)(Birth);
  Pick(kAlphaModes, E.AlphaMode)(Birth);
  Pick(kColorModes, E.ColorMode)(Birth);
  Pick(kLifetimeModes, E.LifetimeMode)(Birth);
  SettleLifetime(Particle);
  Particle.Motion = Pick(kMotionModes, E.MotionMode);
  Particle.Grow = Pick(kGrowModes, E.GrowMode);
  Particle.Rotate = Pick(kRotateModes, E.RotateMode);
  Particle.Fade = Pick(kFadeModes, E.FadeMode);
  Particle.Tinting = Pick(kTintModes, E.TintMode);
  // Aged by the time since its emission point, so particles made to catch up with a long frame
  // are spread out as if they had been emitted on time.
  Particle.Update(Accum);
}

void TEffect::StepAlongPath() {
  if (!WalksPath(*Emitter)) return;
  const float Length = Emitter->Path->Length;
  const float Step = Emitter->PathSpeed / PathScaleOf(*Emitter) / Length;
  PathPos += Forward ? Step : -Step;
  Pick(kPathModes, Emitter->PathMode)(*this);
  PlaceMark();
}

void TEffect::PlaceMark() {
  Mark = FloorToInt(PathPos * Emitter->Path->Length);
}

// ---- The particle system ----

TParticles::TParticles()
    : Effects(MakeItem<TEffect>, Register.EffectPool),
      LiveParticles(MakeItem<TParticle>, Register.ParticlePool) {}

TParticles::~TParticles() {
  // Particles first: they give their sprites back and count down their effects.
  LiveParticles.Clear();
  Effects.Clear();
}

TPath& TParticles::GetPath(std::string_view Name) {
  if (TPath* Found = Paths.FindAs<TPath>(Name)) return *Found;
  auto Path = std::make_unique<TPath>();
  Path->Name.assign(Name);
  LoadPath(*Path, Register.PathsFolder + Path->Name + ".pth");
  return *Paths.Insert(std::move(Path), nullptr, TInsertMode::Front);
}

TEmiter& TParticles::DefineEmitter(std::string_view Name, std::string_view BaseName) {
  auto Emitter = std::make_unique<TEmiter>();
  Emitter->Name.assign(Name);
  if (const TEmiter* Base = FindEmitter(BaseName))
    static_cast<TEmitterParameters&>(*Emitter) = static_cast<const TEmitterParameters&>(*Base);
  return *Emitters.Insert(std::move(Emitter), nullptr, TInsertMode::Front);
}

// Walked from the front rather than through Find, whose remembered hit could be an older
// emitter that a newer definition of the same name now hides.
TEmiter* TParticles::FindEmitter(std::string_view Name) {
  if (Name.empty()) return nullptr;
  for (TContainerItem* Item = Emitters.First(); Item; Item = Item->Next())
    if (Item->Name == Name) return static_cast<TEmiter*>(Item);
  return nullptr;
}

TEffect* TParticles::TakeEffect(std::string_view EmitterName) {
  TEffectSetup Setup{this, FindEmitter(EmitterName)};
  return Effects.AddAs<TEffect>(EmitterName, &Setup);
}

bool TParticles::MayChain(const TEffect& Effect, int Length) {
  const TEmiter* Emitter = Effect.Emitter;
  if (!Emitter || Emitter->NextEmitter.empty()) return false;
  if (Length < kMaxChainLength) return true;
  if (!Emitter->ChainCutReported) {
    ErrorLog.Add("Emitter chain cut after " + std::to_string(kMaxChainLength) + " effects at \"" +
                 Emitter->Name + "\"");
    Emitter->ChainCutReported = true;
  }
  return false;
}

void TParticles::StartEffect(TEffect*& Slot, std::string_view EmitterName, std::int32_t Depth) {
  StartChain(Slot, EmitterName, Depth, 1);
}

void TParticles::StartChain(TEffect*& Slot, std::string_view EmitterName, std::int32_t Depth,
                            int Length) {
  if (Slot) return;
  TEffect* Effect = TakeEffect(EmitterName);
  Slot = Effect;
  Effect->Persistent = true;
  Effect->Depth = Depth;
  if (!MayChain(*Effect, Length)) return;
  const TEmiter& Emitter = *Effect->Emitter;
  StartChain(Effect->Chained, Emitter.NextEmitter, OffsetDepth(Depth, Emitter.NextDepthOffset),
             Length + 1);
  Effect->Chained->ChainedTo = Effect;
}

void TParticles::StopEffect(TEffect*& Slot) {
  if (!Slot) return;
  TEffect* Effect = Slot;
  StopEffect(Effect->Chained);
  RemoveParticlesOf(*Effect);
  Effect->Remove();
  Slot = nullptr;
}

void TParticles::RemoveParticlesOf(const TEffect& Effect) {
  for (TContainerWalker Walker(LiveParticles); Walker.HasCurrent() && Effect.Live > 0;
       Walker.MoveNext()) {
    auto* Particle = Walker.CurrentAs<TParticle>();
    if (Particle && Particle->Effect == &Effect) Particle->Remove();
  }
}

TEffect* TParticles::SpawnEffect(const void* Owner, std::string_view EmitterName,
                                 std::int32_t Depth, TVector Position, float Scale, float Alpha) {
  return SpawnChain(Owner, EmitterName, Depth, Position, Scale, Alpha, 1);
}

TEffect* TParticles::SpawnChain(const void* Owner, std::string_view EmitterName, std::int32_t Depth,
                                TVector Position, float Scale, float Alpha, int Length) {
  TEffect* Effect = TakeEffect(EmitterName);
  Effect->Owner = Owner;
  Effect->Depth = Depth;
  Effect->SetPosition(Position);
  Effect->SetScale(Scale);
  Effect->SetAlpha(Alpha);
  Effect->SetActive(true);
  if (MayChain(*Effect, Length)) {
    const TEmiter& Emitter = *Effect->Emitter;
    Effect->Chained =
        SpawnChain(Owner, Emitter.NextEmitter, OffsetDepth(Depth, Emitter.NextDepthOffset),
                   Position, Scale, Alpha, Length + 1);
    Effect->Chained->ChainedTo = Effect;
  }
  return Effect;
}

void TParticles::Update() {
  Update(Input ? Input->FrameTime() : 0.0f);
}

void TParticles::Update(float Dt) {
  for (TContainerWalker Walker(LiveParticles); Walker.HasCurrent(); Walker.MoveNext())
    if (auto* Particle = Walker.CurrentAs<TParticle>()) Particle->Update(Dt);
  for (TContainerWalker Walker(Effects); Walker.HasCurrent(); Walker.MoveNext()) {
    auto* Effect = Walker.CurrentAs<TEffect>();
    if (!Effect) continue;
    Effect->Update(Dt);
    if (Effect->Finished()) Effect->Remove();
  }
}

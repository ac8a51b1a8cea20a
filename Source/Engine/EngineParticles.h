// EngineParticles.h -- particle paths, emitter templates, running effects and their particles:
// each particle owns one sprite and is moved, sized, turned, faded and tinted once a frame.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "EngineClasses.h"
#include "EngineUtils.h"

class TEffect;
class TParticles;
class TSprite;
class TTexture;

// ---- Paths ----

// One point of a path file. Only the last point's Value is used: it is the path's length.
struct TPathPoint {
  float Value = 0.0f;
  std::int16_t X = 0;
  std::int16_t Y = 0;
};

// A run of consecutive points ("a frame of points"); within the points read once loaded.
struct TPathMark {
  std::int32_t First = 0;
  std::int32_t Count = 0;
};

// A point set loaded from a ".pth" file that emitters spawn particles on and walk along. A path
// that failed to load is empty and unusable. Every query returns (0, 0) or 0 for anything out of
// range.
class TPath : public TContainerItem {
 public:
  std::vector<TPathPoint> Points;
  std::vector<TPathMark> Marks;
  // Length > 0 (and finite) and more than one point: effects may walk it.
  bool Usable = false;
  // The Value of the last point, 0 without points.
  float Length = 0.0f;

  // The number of points of mark Mark, 0 when there is no such mark.
  int MarkSize(int Mark) const;
  // A uniformly random point of the whole path.
  TVector RandomPoint() const;
  // A uniformly random point of mark Mark.
  TVector RandomMarkPoint(int Mark) const;
  // Point Index (0-based) of mark Mark.
  TVector MarkPoint(int Mark, int Index) const;
  // Back to the empty, unusable path.
  void Clear();
};

// Reads the path file File into Path (whose Name is set). Never throws: a failure adds
// `Failed to create path "Name" (reason)` to the error log, leaves Path empty and returns false.
bool LoadPath(TPath& Path, const std::string& File);

// ---- Emitters ----

// Every parameter of an emitter except its chain: what DefineEmitter copies from a base emitter.
// Modes above their table's range act as the table's last mode.
struct TEmitterParameters {
  float Prewarm = 0.0f;        // seconds an effect is advanced by at once when switched on
  TPath* Path = nullptr;       // path of the path modes
  float PathScale = 1.0f;      // path coordinates x it, path speed / it (0 counts as 1)
  bool PathForward = true;     // walk from the start forward (false: from the end backward)
  float PathSpeed = 0.0f;      // path units advanced per emission
  std::uint8_t PathMode = 0;   // at the ends of the path: 0 stop, 1 wrap, 2 ping-pong
  float Interval = 1.0f;       // seconds between emissions (0 or less: one emission an update)
  std::uint8_t CountMode = 0;  // per emission: 0 Count, 1 the mark's size, 2 that x CountFactor
  std::int32_t Count = 1;
  float CountFactor = 0.0f;
  std::uint8_t LifeMode = 0;     // effect lifetime: 0 endless, 1 Life seconds, 2 one walk
  float Life = 0.0f;             // seconds, for life mode 1
  float PathLifeFactor = 1.0f;   // the lifetime of life mode 2 is one walk x it
  TTexture* Texture = nullptr;   // picture of every particle
  std::int32_t Segment = 0;      // segment of that picture
  std::uint8_t StartMode = 0;    // start position, 0..8
  TVector Position{0.0f, 0.0f};  // reference point, relative to the effect
  TVector Spread{0.0f, 0.0f};    // width and height of random spreads
  TVector Position2{0.0f, 0.0f};
  std::uint8_t DirectionMode = 0;  // direction of travel, 0..5
  float Direction = 0.0f;          // degrees, 0 up, clockwise
  float DirectionSpread = 0.0f;
  std::uint8_t DistanceMode = 0;  // distance travelled over the whole life, 0..4
  float Distance = 0.0f;
  float DistanceSpread = 0.0f;
  std::uint8_t SizeMode = 0;  // size at birth, 0..5
  TVector Size{1.0f, 1.0f};
  TVector SizeSpread{0.0f, 0.0f};  // also the size at the path's end in size mode 5
  std::uint8_t AngleMode = 0;      // picture rotation at birth, 0..3
  float Angle = 0.0f;
  float AngleSpread = 0.0f;
  std::uint8_t SpinMode = 0;  // rotation speed, 0..1
  float Spin = 0.0f;          // degrees per second
  float SpinSpread = 0.0f;
  std::uint8_t AlphaMode = 0;  // opacity at birth, 0..1
  float Alpha = 1.0f;
  float AlphaSpread = 0.0f;
  std::uint8_t ColorMode = 0;  // colour at birth, 0..2
  TColor Color = 0xFFFFFFFF;   // only the red, green and blue bytes are used
  TColor Color2 = 0;
  std::uint8_t LifetimeMode = 0;  // particle lifetime: 0 Lifetime, 1 travel / Speed
  float Lifetime = 1.0f;
  float Speed = 1.0f;           // travel per second of life, for lifetime mode 1
  std::uint8_t MotionMode = 0;  // position over life: 0 stays, 1 moves away, 2 arrives
  std::uint8_t GrowMode = 0;    // size over life: 0 kept, 1 to Size x GrowFactor, 2 out and back
  float GrowFactor = 0.0f;
  std::uint8_t RotateMode = 0;  // rotation over life: 0 kept, 1 spinning
  std::uint8_t FadeMode = 0;    // opacity over life: 0 kept, 1 in, 2 out, 3 in and out
  float FadeIn = 0.0f;          // age until which it fades in
  float FadeOut = 0.0f;         // age from which it fades out
  std::uint8_t TintMode = 0;    // colour over life: 0 kept, 1 towards ColorEnd
  TColor ColorEnd = 0;
};

// A named emitter template; defined once with Particles->DefineEmitter and kept until shutdown.
class TEmiter : public TContainerItem, public TEmitterParameters {
 public:
  // The emitter whose effect starts together with this one's (a chain), or empty.
  std::string NextEmitter;
  // Added to the depth of the chained effect.
  std::int32_t NextDepthOffset = 0;
  // A chain through this emitter was cut for being too long (reported once).
  mutable bool ChainCutReported = false;
};

// ---- Particles ----

class TParticle;

// How a particle's place, size, angle, opacity and colour follow from its age.
using TMotionFunction = TVector (*)(const TParticle& Particle, float Age);
using TGrowFunction = TVector (*)(const TParticle& Particle, float Age);
using TRotateFunction = float (*)(const TParticle& Particle, float Age);
using TFadeFunction = float (*)(const TParticle& Particle, float Age);
using TTintFunction = TColor (*)(const TParticle& Particle, float Age);

// One particle of an effect, showing one sprite; taken from the LiveParticles pool at birth and
// returned when its age passes 1 or its persistent effect is stopped.
class TParticle : public TContainerItem {
 public:
  TEffect* Effect = nullptr;
  TSprite* Sprite = nullptr;
  TVector Start{0.0f, 0.0f};          // relative to the effect, before the effect's Scale
  float Heading = 0.0f;               // degrees
  TVector HeadingVector{0.0f, 0.0f};  // (sin Heading, -cos Heading), or (0, 0) to stay
  float Travel = 0.0f;                // distance covered over the whole life
  TVector Size{0.0f, 0.0f};
  float Rotation = 0.0f;  // degrees
  float Spin = 0.0f;      // degrees per second
  float Opacity = 0.0f;
  TColor Tint = 0;
  float Lifetime = 0.0f;  // seconds
  float Rate = 0.0f;      // 1 / Lifetime
  float Age = 0.0f;       // 0 at birth, removed once above 1

  // The emitter's behaviour over life, fixed at birth.
  TMotionFunction Motion = nullptr;
  TGrowFunction Grow = nullptr;
  TRotateFunction Rotate = nullptr;
  TFadeFunction Fade = nullptr;
  TTintFunction Tinting = nullptr;

  // Ages the particle by Dt and places its sprite; returns false when it died and was removed
  // (do not touch it then).
  bool Update(float Dt);

  // Param is the effect: counted in its Live, with a sprite at its depth.
  void OnInsert(TContainer& Into, void* Param) override;
  // The sprite goes back to the renderer and the effect counts one particle less.
  void OnRemove(TContainer& From) override;
};

// ---- Effects ----

// One running instance of an emitter: a position, scale and opacity, and while active it emits
// particles at the emitter's interval. Taken from the Effects pool by StartEffect (persistent:
// kept until StopEffect) or SpawnEffect (removed once inactive with no particle left).
class TEffect : public TContainerItem {
 public:
  TEffect* Chained = nullptr;        // the effect of the emitter's NextEmitter, or none
  const void* Owner = nullptr;       // what spawned it (informational)
  const TEmiter* Emitter = nullptr;  // none: it never emits
  bool Persistent = false;
  float EffectLifetime = 0.0f;  // seconds; used by life modes 1 and 2
  bool Active = false;
  int Live = 0;            // its living particles
  std::int32_t Depth = 0;  // depth of its particles' sprites
  TVector Position{0.0f, 0.0f};
  float Scale = 1.0f;
  float Alpha = 1.0f;
  // The walk along the emitter's path.
  bool Forward = true;
  float PathPos = 0.0f;  // 0..1
  int Mark = -1;         // -1 without a usable path
  // Emission.
  int Index = 0;           // number of the particle within the current emission
  float Accum = 0.0f;      // seconds gathered towards the next emission
  float Remaining = 0.0f;  // seconds of life left (life modes 1 and 2)

  // Switches emitting on or off (on: from the path's start, emitting in the next update, warmed
  // up by the emitter's Prewarm), then does the same down the chain.
  void SetActive(bool On);
  // Store the value here and down the chain; particles follow in their next update.
  void SetPosition(TVector Value);
  void SetScale(float Value);
  void SetAlpha(float Value);

  // Advances an active effect by Dt: its lifetime, its emissions and its walk along the path.
  void Update(float Dt);
  // Spawned, switched off and without particles: its update returns it to the pool.
  bool Finished() const { return !Active && !Persistent && Live == 0; }

  // Param is a TEffectSetup: the system and the emitter (or none).
  void OnInsert(TContainer& Into, void* Param) override;
  // Leaves its chain: the chained effect and the effect it is chained to forget it.
  void OnRemove(TContainer& From) override;

 private:
  friend class TParticles;
  TParticles* System = nullptr;
  TEffect* ChainedTo = nullptr;  // the effect whose Chained this is

  void Switch(bool On);
  void Emit();
  void EmitParticle();
  void StepAlongPath();
  // Mark: the whole number of path units walked.
  void PlaceMark();
};

// What an effect is set up with when it is taken from the pool.
struct TEffectSetup {
  TParticles* System = nullptr;
  const TEmiter* Emitter = nullptr;
};

// ---- The particle system ----

// The game's particle system: one global instance, made after the renderer and freed before it.
class TParticles {
 public:
  // Empty containers; effects and particles pooled as Register.EffectPool and ParticlePool say.
  TParticles();
  // Returns every particle's sprite to the renderer, then frees effects, emitters and paths.
  ~TParticles();
  TParticles(const TParticles&) = delete;
  TParticles& operator=(const TParticles&) = delete;

  TContainer Paths;          // newest first, kept until shutdown
  TContainer Emitters;       // newest first, so a later definition hides an earlier one
  TContainer Effects;        // pooled
  TContainer LiveParticles;  // pooled, newest first

  // The path of that name, loaded from Register.PathsFolder + Name + ".pth" on first use; a
  // failed load gives an empty, unusable path (and a line in the error log). Never null.
  TPath& GetPath(std::string_view Name);
  // A new emitter with the defaults, or with every parameter of the emitter BaseName (not its
  // chain) when that exists, for the caller to set up.
  TEmiter& DefineEmitter(std::string_view Name, std::string_view BaseName = {});
  // The newest emitter of that name, or nullptr.
  TEmiter* FindEmitter(std::string_view Name);

  // When Slot is empty: a persistent, inactive effect of the named emitter (an unknown name gives
  // one that never emits) at Depth in Slot, with the emitter's chain started into its Chained.
  void StartEffect(TEffect*& Slot, std::string_view EmitterName, std::int32_t Depth);
  // When Slot is set: removes its chained effects, every particle of them and of it, and the
  // effect itself, and empties Slot.
  void StopEffect(TEffect*& Slot);
  // An active, non-persistent effect (with its chain) placed at Position; it removes itself once
  // its life has ended and its last particle has died.
  TEffect* SpawnEffect(const void* Owner, std::string_view EmitterName, std::int32_t Depth,
                       TVector Position, float Scale, float Alpha);

  // The frame: updates every particle, then every effect, by Input->FrameTime().
  void Update();
  // The same by Dt seconds.
  void Update(float Dt);

 private:
  TEffect* TakeEffect(std::string_view EmitterName);
  void StartChain(TEffect*& Slot, std::string_view EmitterName, std::int32_t Depth, int Links);
  TEffect* SpawnChain(const void* Owner, std::string_view EmitterName, std::int32_t Depth,
                      TVector Position, float Scale, float Alpha, int Links);
  bool MayChain(const TEffect& Effect, int Links);
  void RemoveParticlesOf(const TEffect& Effect);
};

// The particle system of the running game.
extern std::unique_ptr<TParticles> Particles;

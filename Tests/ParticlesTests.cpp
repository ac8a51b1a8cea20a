// ParticlesTests.cpp -- the particle system on the Null renderer: path files and their failures,
// emitters and their copies, persistent and spawned effects with chains, emission timing, every
// mode table, and the steady state's allocations; calvora-data path.
#include <climits>
#include <cmath>
#include <iterator>
#include <limits>
#include <tuple>
#include <utility>
#include <vector>

#include "AllocationCounter.h"
#include "EngineInput.h"
#include "EngineParticles.h"
#include "EngineRegister.h"
#include "EngineRenderer.h"
#include "EngineStreams.h"
#include "NullPlatform.h"
#include "TestSupport.h"

namespace {

// ---- Path files ----

struct TRawMark {
  std::int32_t First, Count;
};

// A path file as the game reads it, with the counts the lists have.
std::string PathFile(const std::vector<TPathPoint>& Points, const std::vector<TRawMark>& Marks) {
  std::string Bytes;
  TStreamWriter Writer(Bytes);
  Writer.Write(static_cast<std::int32_t>(Points.size()));
  for (const TPathPoint& Point : Points) {
    Writer.Write(Point.Value);
    Writer.Write(Point.X);
    Writer.Write(Point.Y);
  }
  Writer.Write(static_cast<std::int32_t>(Marks.size()));
  for (const TRawMark& Mark : Marks) {
    Writer.Write(Mark.First);
    Writer.Write(Mark.Count);
  }
  return Bytes;
}

// Count points on a horizontal line, 10 units apart, the last one carrying Length.
std::vector<TPathPoint> LinePoints(int Count, float Length) {
  std::vector<TPathPoint> Points;
  for (int I = 0; I < Count; ++I)
    Points.push_back({I + 1 == Count ? Length : 0.0f, static_cast<std::int16_t>(10 * I), 0});
  return Points;
}

std::string Int32Bytes(std::int32_t Value) {
  std::string Bytes;
  TStreamWriter(Bytes).Write(Value);
  return Bytes;
}

// ---- The fixture ----

class ParticlesTest : public TFreshUserTest {
 protected:
  Platform::TNullPlatform Platform;

  void SetUp() override {
    TFreshUserTest::SetUp();
    ErrorLog.Create();
    Register.DesktopWidth = 1920;
    Register.DesktopHeight = 1080;
    Register.WindowWidth = 1280;
    Register.WindowHeight = 800;
    Register.SpritePool = 64;
    Register.EffectPool = 8;
    Register.ParticlePool = 64;
    Register.PathsFolder = Home.Path() + "/Paths/";
    Randomize(12345);
    Renderer = std::make_unique<TRenderer>(Platform);
    Particles = std::make_unique<TParticles>();
  }
  void TearDown() override {
    Input.reset();
    Particles.reset();
    Renderer.reset();
    TFreshUserTest::TearDown();
  }

  void WritePath(const std::string& Name, const std::string& Bytes) {
    WriteTextFile(Register.PathsFolder + Name + ".pth", Bytes);
  }
  TEmiter& Define(const std::string& Name, const std::string& Base = "") {
    return Particles->DefineEmitter(Name, Base);
  }
  // An emitter whose effect emits one still particle with a one-second life in its first update
  // and then nothing for a long time.
  TEmiter& DefineSingle(const std::string& Name) {
    TEmiter& Emitter = Define(Name);
    Emitter.Interval = 1000.0f;
    return Emitter;
  }
  // A persistent effect of the emitter, switched on.
  TEffect* StartActive(const std::string& Name, std::int32_t Depth = 0) {
    TEffect* Slot = nullptr;
    Particles->StartEffect(Slot, Name, Depth);
    Slot->SetActive(true);
    return Slot;
  }
  // The particle the effect of Name emits in its first update (at age 0).
  TParticle& Born(const std::string& Name) {
    StartActive(Name);
    Particles->Update(0.0f);
    return Newest();
  }
  TParticle& Newest() { return *static_cast<TParticle*>(Particles->LiveParticles.First()); }
  // Every living particle, newest first.
  std::vector<TParticle*> Living() {
    std::vector<TParticle*> List;
    for (TContainerItem* Item = Particles->LiveParticles.First(); Item; Item = Item->Next())
      List.push_back(static_cast<TParticle*>(Item));
    return List;
  }
  // The seconds each of the newest Count particles has lived, newest first.
  std::vector<float> SecondsLived(std::size_t Count) {
    std::vector<float> Seconds;
    for (TParticle* Particle : Living())
      if (Seconds.size() < Count) Seconds.push_back(Particle->Age * Particle->Lifetime);
    return Seconds;
  }
  int SpriteCount() const { return Renderer->Sprites.Count(); }
  // A texture without pixels, as the renderer holds it.
  TTexture* AddTexture(const std::string& Name) {
    auto Texture = std::make_unique<TTexture>();
    Texture->Name = Name;
    return Renderer->Textures.Insert(std::move(Texture));
  }
};

// Ten of each of the values, in order.
std::vector<float> TensOf(std::initializer_list<float> Values) {
  std::vector<float> List;
  for (float Value : Values)
    List.insert(List.end(), 10, Value);
  return List;
}

// ---- Emission timing ----

TEST_F(ParticlesTest, FirstFrameEmitsFiftyAndASteadyFrameFortyAgedByTheirEmissionPoint) {
  TEmiter& Emitter = Define("Burst");
  Emitter.Interval = 0.25f;
  Emitter.Count = 10;
  Emitter.Lifetime = 4.0f;  // nobody dies within these two frames
  TEffect* Effect = StartActive("Burst");
  EXPECT_EQ(Effect->Live, 0);

  Particles->Update(1.0f);
  EXPECT_EQ(Effect->Live, 50);
  EXPECT_EQ(SecondsLived(50), TensOf({0.0f, 0.25f, 0.5f, 0.75f, 1.0f}));

  Particles->Update(1.0f);
  EXPECT_EQ(Effect->Live, 90);
  EXPECT_EQ(SecondsLived(40), TensOf({0.0f, 0.25f, 0.5f, 0.75f}));
  EXPECT_EQ(SpriteCount(), 90);
}

TEST_F(ParticlesTest, PrewarmFillsTheEffectWhenItIsSwitchedOn) {
  TEmiter& Emitter = Define("Warm");
  Emitter.Interval = 0.125f;
  Emitter.Prewarm = 0.5f;
  Emitter.Lifetime = 0.25f;
  TEffect* Effect = StartActive("Warm");
  // Five emissions at 0.5, 0.375, 0.25, 0.125 and 0 s before now; the two oldest died already.
  EXPECT_EQ(Effect->Live, 3);
  EXPECT_EQ(SecondsLived(3), (std::vector<float>{0.0f, 0.125f, 0.25f}));
  EXPECT_FLOAT_EQ(Effect->Accum, 0.0f);
}

TEST_F(ParticlesTest, AnIntervalOfZeroOrLessEmitsOncePerUpdate) {
  const float Intervals[] = {0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN()};
  for (float Interval : Intervals) {
    TEmiter& Emitter = Define("Every");
    Emitter.Interval = Interval;
    Emitter.Count = 2;
    Emitter.Lifetime = 100.0f;
    TEffect* Effect = StartActive("Every");
    for (float Dt : {1.0f, 0.001f, 0.0f, 5.0f})
      Particles->Update(Dt);
    EXPECT_EQ(Effect->Live, 8) << Interval;
    Particles->StopEffect(Effect);
  }
}

TEST_F(ParticlesTest, AnIntervalTooSmallToCountStillEnds) {
  TEmiter& Emitter = Define("Tiny");
  Emitter.Interval = 1e-12f;
  Emitter.Lifetime = 100.0f;
  TEffect* Effect = StartActive("Tiny");
  Particles->Update(1.0f);  // 1 - 1e-12 is 1 again in float: no endless loop
  EXPECT_EQ(Effect->Live, 1);
  EXPECT_FLOAT_EQ(Effect->Accum, 0.0f);
}

TEST_F(ParticlesTest, TheFrameClockDrivesTheUpdate) {
  Platform::TNullPlatform Stepped(0.25);
  Input = std::make_unique<TInput>(Stepped);
  Stepped.BeginFrame();
  Input->Activate();  // a frame time of 0
  TEmiter& Emitter = Define("Clocked");
  Emitter.Interval = 0.25f;
  Emitter.Lifetime = 100.0f;
  TEffect* Effect = StartActive("Clocked");
  Stepped.BeginFrame();
  Input->Update();
  Particles->Update();
  EXPECT_EQ(Effect->Live, 2);  // the interval gathered at switching on, and one more frame
  Input.reset();
  Particles->Update();  // without an input service no time passes
  EXPECT_EQ(Effect->Live, 2);
}

// ---- Particle lifetimes ----

TEST_F(ParticlesTest, ALifetimeOfZeroOrNoSensibleLifetimeDiesInTheFirstUpdate) {
  struct TCase {
    const char* Name;
    std::uint8_t Mode;
    float Lifetime, Speed;
  };
  const TCase Cases[] = {
      {"zero", 0, 0.0f, 1.0f},
      {"negative", 0, -2.0f, 1.0f},
      {"not a number", 0, std::numeric_limits<float>::quiet_NaN(), 1.0f},
      {"travel at speed 0", 1, 1.0f, 0.0f},  // 10 / 0 would never end
  };
  for (const TCase& C : Cases) {
    TEmiter& Emitter = DefineSingle(C.Name);
    Emitter.Count = 3;
    Emitter.Distance = 10.0f;
    Emitter.LifetimeMode = C.Mode;
    Emitter.Lifetime = C.Lifetime;
    Emitter.Speed = C.Speed;
    TEffect* Effect = StartActive(C.Name);
    Particles->Update(0.0f);  // born at age 0
    EXPECT_EQ(Effect->Live, 3) << C.Name;
    EXPECT_FLOAT_EQ(Newest().Lifetime, 0.000001f) << C.Name;
    EXPECT_FLOAT_EQ(Newest().Rate, 1000000.0f) << C.Name;
    Particles->Update(0.001f);
    EXPECT_EQ(Effect->Live, 0) << C.Name;
    EXPECT_EQ(SpriteCount(), 0) << C.Name;
    Particles->StopEffect(Effect);
  }
}

TEST_F(ParticlesTest, AParticleLivesUntilItsAgePassesOne) {
  TEmiter& Emitter = DefineSingle("Second");
  Emitter.Lifetime = 2.0f;
  TParticle& Particle = Born("Second");
  EXPECT_FLOAT_EQ(Particle.Rate, 0.5f);
  Particles->Update(2.0f);
  EXPECT_EQ(Particles->LiveParticles.Count(), 1);  // age exactly 1
  EXPECT_FLOAT_EQ(Particle.Age, 1.0f);
  Particles->Update(0.001f);
  EXPECT_EQ(Particles->LiveParticles.Count(), 0);
  EXPECT_EQ(SpriteCount(), 0);
}

TEST_F(ParticlesTest, TravelLengthensTheLifeInLifetimeMode1) {
  TEmiter& Emitter = DefineSingle("Far");
  Emitter.LifetimeMode = 1;
  Emitter.Distance = 60.0f;
  Emitter.Speed = 40.0f;
  EXPECT_FLOAT_EQ(Born("Far").Lifetime, 1.5f);
}

// ---- The sprite over a particle's life ----

TEST_F(ParticlesTest, MotionMovesAlongTheHeadingTimesTheEffectScale) {
  struct TCase {
    std::uint8_t Motion;
    float Scale;
    float StartX, EndX;  // the sprite's x at age 0 and 1, for an effect at x = 10
  };
  const TCase Cases[] = {
      {0, 2.0f, 10.0f, 10.0f},
      {1, 1.0f, 10.0f, 110.0f},
      {1, 2.0f, 10.0f, 210.0f},
      {2, 2.0f, 210.0f, 10.0f},  // arrives at its start
  };
  for (const TCase& C : Cases) {
    const std::string Name = "Move" + std::to_string(C.Motion) + "x" + std::to_string(C.Scale);
    TEmiter& Emitter = DefineSingle(Name);
    Emitter.Distance = 100.0f;
    Emitter.Direction = 90.0f;
    Emitter.MotionMode = C.Motion;
    TEffect* Effect = StartActive(Name);
    Effect->SetPosition({10.0f, 20.0f});
    Effect->SetScale(C.Scale);
    Particles->Update(0.0f);
    TParticle& Particle = Newest();
    EXPECT_NEAR(Particle.HeadingVector.X, 1.0f, 1e-6f);
    EXPECT_NEAR(Particle.HeadingVector.Y, 0.0f, 1e-6f);
    EXPECT_NEAR(Particle.Sprite->Position().X, C.StartX, 1e-3f) << Name;
    Particles->Update(0.5f);
    EXPECT_NEAR(Particle.Sprite->Position().X, (C.StartX + C.EndX) / 2, 1e-3f) << Name;
    Particles->Update(0.5f);
    EXPECT_NEAR(Particle.Sprite->Position().X, C.EndX, 1e-3f) << Name;
    EXPECT_NEAR(Particle.Sprite->Position().Y, 20.0f, 1e-3f) << Name;
    EXPECT_EQ(Particle.Sprite->Scale(), C.Scale) << Name;
    Particles->StopEffect(Effect);
  }
}

TEST_F(ParticlesTest, GrowMode2GoesOutToTheFactorAtHalfLifeAndBack) {
  TEmiter& Emitter = DefineSingle("Pulse");
  Emitter.Size = {10.0f, 4.0f};
  Emitter.GrowMode = 2;
  Emitter.GrowFactor = 3.0f;
  TParticle& Particle = Born("Pulse");
  const float Widths[] = {10.0f, 20.0f, 30.0f, 20.0f, 10.0f};  // ages 0, 0.25, .., 1
  for (float Width : Widths) {
    EXPECT_FLOAT_EQ(Particle.Sprite->Size().X, Width) << Particle.Age;
    EXPECT_FLOAT_EQ(Particle.Sprite->Size().Y, Width * 0.4f) << Particle.Age;
    Particles->Update(0.25f);
  }
}

TEST_F(ParticlesTest, GrowModesScaleTheBirthSize) {
  struct TCase {
    std::uint8_t Mode;
    float Age, Width;  // for Size.X 10 and GrowFactor 3
  };
  const TCase Cases[] = {{0, 0.5f, 10.0f},  {1, 0.0f, 10.0f}, {1, 0.5f, 20.0f}, {1, 1.0f, 30.0f},
                         {2, 0.75f, 20.0f}, {7, 0.25f, 20.0f}};  // past the table: the last mode
  for (const TCase& C : Cases) {
    const std::string Name = "Grow" + std::to_string(C.Mode);
    TEmiter& Emitter = DefineSingle(Name);
    Emitter.Size = {10.0f, 10.0f};
    Emitter.GrowMode = C.Mode;
    Emitter.GrowFactor = 3.0f;
    TParticle& Particle = Born(Name);
    EXPECT_FLOAT_EQ(Particle.Grow(Particle, C.Age).X, C.Width) << int{C.Mode} << " " << C.Age;
  }
}

TEST_F(ParticlesTest, FadeModesGiveTheOpacityAtEachAge) {
  struct TCase {
    std::uint8_t Mode;
    float Age, Opacity;  // for FadeIn 0.1, FadeOut 0.5 and an opacity of 0.8 at birth
  };
  const TCase Cases[] = {
      {0, 0.05f, 0.8f}, {1, 0.0f, 0.0f},  {1, 0.05f, 0.4f}, {1, 0.3f, 0.8f}, {2, 0.3f, 0.8f},
      {2, 0.75f, 0.4f}, {2, 1.0f, 0.0f},  {3, 0.05f, 0.4f}, {3, 0.3f, 0.8f}, {3, 0.75f, 0.4f},
      {3, 1.0f, 0.0f},  {9, 0.75f, 0.4f},  // past the table: the last mode
  };
  for (const TCase& C : Cases) {
    const std::string Name = "Fade" + std::to_string(C.Mode);
    TEmiter& Emitter = DefineSingle(Name);
    Emitter.Alpha = 0.8f;
    Emitter.FadeMode = C.Mode;
    Emitter.FadeIn = 0.1f;
    Emitter.FadeOut = 0.5f;
    TParticle& Particle = Born(Name);
    EXPECT_NEAR(Particle.Fade(Particle, C.Age), C.Opacity, 1e-5f) << int{C.Mode} << " at " << C.Age;
  }
}

TEST_F(ParticlesTest, FadeMode3ReachesTheSpriteAsAnAlphaByte) {
  TEmiter& Emitter = DefineSingle("Wave");
  Emitter.FadeMode = 3;
  Emitter.FadeIn = 0.1f;
  Emitter.FadeOut = 0.5f;
  Emitter.Lifetime = 4.0f;
  TParticle& Particle = Born("Wave");
  EXPECT_EQ(Particle.Sprite->Color() >> 24, 0u);
  Particles->Update(0.2f);  // age 0.05: half
  EXPECT_NEAR(static_cast<int>(Particle.Sprite->Color() >> 24), 127.5, 0.51);
  Particles->Update(1.0f);  // age 0.3: full
  EXPECT_EQ(Particle.Sprite->Color() >> 24, 255u);
  Particles->Update(1.8f);  // age 0.75: half
  EXPECT_NEAR(static_cast<int>(Particle.Sprite->Color() >> 24), 127.5, 0.51);
}

TEST_F(ParticlesTest, TheAlphaByteIsOpacityTimesEffectAlphaRoundedAndKeptInRange) {
  struct TCase {
    float Opacity, EffectAlpha;
    TColor Byte;
  };
  const TCase Cases[] = {
      {1.0f, 0.5f, 128},  // 127.5: ties go to the even byte
      {0.5f, 0.5f, 64},   // 63.75
      {1.0f, 1.0f, 255}, {1.0f, 0.0f, 0}, {1.0f, 2.0f, 255}, {1.0f, -1.0f, 0}, {3.0f, 1.0f, 255},
  };
  for (const TCase& C : Cases) {
    TEmiter& Emitter = DefineSingle("Alpha");
    Emitter.Alpha = C.Opacity;
    Emitter.Color = 0x12345678;
    TEffect* Effect = StartActive("Alpha");
    Effect->SetAlpha(C.EffectAlpha);
    Particles->Update(0.0f);
    EXPECT_EQ(Newest().Sprite->Color(), C.Byte << 24 | 0x345678)
        << C.Opacity << " " << C.EffectAlpha;
    Particles->StopEffect(Effect);
  }
}

TEST_F(ParticlesTest, TintMode1BlendsTowardsTheEndColourKeepingTheAlphaByte) {
  TEmiter& Emitter = DefineSingle("Blend");
  Emitter.Color = 0x00345678;
  Emitter.ColorEnd = 0xFF000000;
  Emitter.TintMode = 1;
  TParticle& Particle = Born("Blend");
  EXPECT_EQ(Particle.Sprite->Color(), 0xFF345678);
  Particles->Update(0.5f);
  EXPECT_EQ(Particle.Sprite->Color(), 0xFF1A2B3C);
  Particles->Update(0.5f);
  EXPECT_EQ(Particle.Sprite->Color(), 0xFF000000);
}

TEST_F(ParticlesTest, RotateMode1SpinsByTheSecondsLived) {
  TEmiter& Emitter = DefineSingle("Spin");
  Emitter.Angle = 30.0f;
  Emitter.Spin = 100.0f;
  Emitter.Lifetime = 4.0f;
  Emitter.RotateMode = 1;
  TParticle& Particle = Born("Spin");
  EXPECT_FLOAT_EQ(Particle.Sprite->Angle(), 30.0f);
  Particles->Update(2.0f);
  EXPECT_FLOAT_EQ(Particle.Sprite->Angle(), 230.0f);
  Particles->Update(2.0f);
  EXPECT_FLOAT_EQ(Particle.Sprite->Angle(), 70.0f);  // 430 wrapped
}

TEST_F(ParticlesTest, AParticleShowsTheEmittersPictureAtTheEffectsDepth) {
  TTexture* Texture = AddTexture("Particles");
  TEmiter& Emitter = DefineSingle("Picture");
  Emitter.Texture = Texture;
  Emitter.Segment = 5;
  TEffect* Slot = nullptr;
  Particles->StartEffect(Slot, "Picture", 42);
  Slot->SetActive(true);
  Particles->Update(0.0f);
  const TSprite& Sprite = *Newest().Sprite;
  EXPECT_EQ(Sprite.Texture(), Texture);
  EXPECT_EQ(Sprite.Segment(), 5);
  EXPECT_EQ(Sprite.Depth(), 42);
}

TEST_F(ParticlesTest, ParticlesFollowTheirEffectInTheNextUpdate) {
  TEmiter& Emitter = DefineSingle("Follow");
  Emitter.Position = {5.0f, 0.0f};
  TEffect* Effect = StartActive("Follow");
  Particles->Update(0.0f);
  TSprite& Sprite = *Newest().Sprite;
  EXPECT_FLOAT_EQ(Sprite.Position().X, 5.0f);
  Effect->SetPosition({100.0f, 50.0f});
  Effect->SetScale(3.0f);
  EXPECT_FLOAT_EQ(Sprite.Position().X, 5.0f);  // stored only
  Particles->Update(0.0f);
  EXPECT_FLOAT_EQ(Sprite.Position().X, 115.0f);
  EXPECT_FLOAT_EQ(Sprite.Position().Y, 50.0f);
  EXPECT_EQ(Sprite.Scale(), 3.0f);
}

// ---- Birth tables ----

TEST_F(ParticlesTest, DirectionModesAimAtOrAwayFromTheReferencePoints) {
  struct TCase {
    std::uint8_t Mode;
    TVector Position2;  // Position is (0, 0) and the particle starts half-way to Position2
    float Heading;
    bool Moves;
  };
  const TCase Cases[] = {
      {3, {20, 0}, 90, true}, {3, {0, 20}, 180, true},  {3, {-20, 0}, 270, true},
      {3, {0, -20}, 0, true}, {3, {20, 20}, 135, true}, {4, {20, 0}, 270, true},
      {4, {0, 20}, 0, true},  {5, {20, 0}, 90, true},   {5, {-20, -20}, 315, true},
      {3, {0, 0}, 0, false},  // the start is the reference point: the particle stays
      {5, {0, 0}, 0, false},
  };
  for (const TCase& C : Cases) {
    const std::string Name = "Aim" + std::to_string(C.Mode);
    TEmiter& Emitter = DefineSingle(Name);
    Emitter.StartMode = 4;
    Emitter.Position2 = C.Position2;
    Emitter.DirectionMode = C.Mode;
    Emitter.AngleMode = 3;
    TParticle& Particle = Born(Name);
    const std::string Label =
        Name + " to " + std::to_string(C.Position2.X) + "," + std::to_string(C.Position2.Y);
    EXPECT_NEAR(Particle.Heading, C.Heading, 1e-3f) << Label;
    EXPECT_EQ(Particle.Rotation, Particle.Heading) << Label;
    const TVector Expected = C.Moves ? AngleToVector(C.Heading) : TVector{0.0f, 0.0f};
    EXPECT_NEAR(Particle.HeadingVector.X, Expected.X, 1e-5f) << Label;
    EXPECT_NEAR(Particle.HeadingVector.Y, Expected.Y, 1e-5f) << Label;
  }
}

TEST_F(ParticlesTest, DistanceModesMeasureFromTheReferencePoints) {
  struct TCase {
    std::uint8_t Mode;
    float Travel;  // start (3, 4) between Position (0, 0) and Position2 (6, 8); Distance 2
  };
  const TCase Cases[] = {{0, 2.0f}, {1, 2.0f}, {2, 5.0f}, {3, 5.0f}, {4, 10.0f}, {200, 10.0f}};
  for (const TCase& C : Cases) {
    const std::string Name = "Travel" + std::to_string(C.Mode);
    TEmiter& Emitter = DefineSingle(Name);
    Emitter.StartMode = 4;
    Emitter.Position2 = {6.0f, 8.0f};
    Emitter.DistanceMode = C.Mode;
    Emitter.Distance = 2.0f;
    EXPECT_FLOAT_EQ(Born(Name).Travel, C.Travel) << int{C.Mode};
  }
}

TEST_F(ParticlesTest, SizeModesTakeTheTravelOrThePlaceOnThePath) {
  WritePath("Line", PathFile(LinePoints(3, 4.0f), {}));
  struct TCase {
    std::uint8_t Mode;
    bool Forward;
    TVector Size;  // Size (10, 20), SizeSpread (30, 40), Travel 7
  };
  const TCase Cases[] = {
      {0, true, {10, 20}}, {2, true, {7, 7}},   {3, true, {7, 20}},
      {4, true, {10, 7}},  {5, true, {10, 20}}, {5, false, {30, 40}},  // the path's end
  };
  for (const TCase& C : Cases) {
    const std::string Name = "Size" + std::to_string(C.Mode) + (C.Forward ? "f" : "b");
    TEmiter& Emitter = DefineSingle(Name);
    Emitter.Path = &Particles->GetPath("Line");
    Emitter.PathForward = C.Forward;
    Emitter.Size = {10.0f, 20.0f};
    Emitter.SizeSpread = {30.0f, 40.0f};
    Emitter.Distance = 7.0f;
    Emitter.SizeMode = C.Mode;
    const TParticle& Particle = Born(Name);
    EXPECT_FLOAT_EQ(Particle.Size.X, C.Size.X) << Name;
    EXPECT_FLOAT_EQ(Particle.Size.Y, C.Size.Y) << Name;
  }
}

TEST_F(ParticlesTest, ColourMode2TakesThePlaceOnThePath) {
  WritePath("Line", PathFile(LinePoints(3, 4.0f), {}));
  TEmiter& Emitter = DefineSingle("Hue");
  Emitter.Path = &Particles->GetPath("Line");
  Emitter.PathForward = false;
  Emitter.ColorMode = 2;
  Emitter.Color = 0x000000;
  Emitter.Color2 = 0x102030;
  EXPECT_EQ(Born("Hue").Tint, 0x102030u);
}

TEST_F(ParticlesTest, RandomSpreadsStayWithinHalfTheirWidthEitherWay) {
  TEmiter& Emitter = DefineSingle("Cloud");
  Emitter.Count = 300;
  Emitter.StartMode = 1;
  Emitter.Position = {100.0f, 50.0f};
  Emitter.Spread = {10.0f, 4.0f};
  Emitter.DirectionMode = 1;
  Emitter.Direction = 350.0f;
  Emitter.DirectionSpread = 40.0f;
  Emitter.DistanceMode = 1;
  Emitter.Distance = 20.0f;
  Emitter.DistanceSpread = 6.0f;
  Emitter.SizeMode = 1;
  Emitter.Size = {8.0f, 8.0f};
  Emitter.SizeSpread = {2.0f, 4.0f};
  Emitter.AngleMode = 2;
  Emitter.SpinMode = 1;
  Emitter.Spin = 90.0f;
  Emitter.SpinSpread = 20.0f;
  Emitter.AlphaMode = 1;
  Emitter.Alpha = 0.9f;
  Emitter.AlphaSpread = 0.4f;
  Emitter.ColorMode = 1;
  Emitter.Color = 0x000000;
  Emitter.Color2 = 0x0000FF;
  StartActive("Cloud");
  Particles->Update(0.0f);
  const std::vector<TParticle*> Cloud = Living();
  ASSERT_EQ(Cloud.size(), 300u);
  bool Varied = false;
  bool Wrapped = false;
  bool Clamped = false;
  for (const TParticle* P : Cloud) {
    EXPECT_GE(P->Start.X, 95.0f);
    EXPECT_LT(P->Start.X, 105.0f);
    EXPECT_GE(P->Start.Y, 48.0f);
    EXPECT_LT(P->Start.Y, 52.0f);
    // 350 +- 20 wraps past 360 to 0..10 (the remainder keeps the sign, so never negative here)
    EXPECT_TRUE((P->Heading >= 330.0f && P->Heading < 360.0f) || P->Heading < 10.0f) << P->Heading;
    Wrapped |= P->Heading < 10.0f;
    EXPECT_GE(P->Travel, 17.0f);
    EXPECT_LT(P->Travel, 23.0f);
    EXPECT_GE(P->Size.X, 7.0f);
    EXPECT_LT(P->Size.X, 9.0f);
    EXPECT_GE(P->Size.Y, 6.0f);
    EXPECT_LT(P->Size.Y, 10.0f);
    EXPECT_GE(P->Rotation, 0.0f);
    EXPECT_LT(P->Rotation, 360.0f);
    EXPECT_GE(P->Spin, 80.0f);
    EXPECT_LT(P->Spin, 100.0f);
    EXPECT_GE(P->Opacity, 0.7f);
    EXPECT_LE(P->Opacity, 1.0f);
    Clamped |= P->Opacity == 1.0f;
    EXPECT_LE(P->Tint & 0xFFFFFF, 0xFFu);
    Varied |= P->Start.X != Cloud[0]->Start.X;
  }
  EXPECT_TRUE(Varied);
  EXPECT_TRUE(Wrapped);
  EXPECT_TRUE(Clamped);
}

TEST_F(ParticlesTest, RowAndColumnStartsSpreadAlongOneAxisOnly) {
  for (std::uint8_t Mode : {2, 3}) {
    const std::string Name = "Axis" + std::to_string(Mode);
    TEmiter& Emitter = DefineSingle(Name);
    Emitter.Count = 50;
    Emitter.StartMode = Mode;
    Emitter.Position = {1.0f, 2.0f};
    Emitter.Spread = {10.0f, 10.0f};
    TEffect* Effect = StartActive(Name);
    Particles->Update(0.0f);
    for (const TParticle* P : Living()) {
      EXPECT_EQ(Mode == 2 ? P->Start.Y : P->Start.X, Mode == 2 ? 2.0f : 1.0f);
      const float Spread = Mode == 2 ? P->Start.X - 1.0f : P->Start.Y - 2.0f;
      EXPECT_GE(Spread, -5.0f);
      EXPECT_LT(Spread, 5.0f);
    }
    Particles->StopEffect(Effect);
  }
}

// ---- Paths and the walk along them ----

TEST_F(ParticlesTest, APathFileLoadsPointsMarksAndLength) {
  WritePath("Arc", PathFile({{0.5f, 1, 2}, {9.0f, -3, 4}, {4.5f, 5, -6}}, {{0, 2}, {1, 2}}));
  TPath& Path = Particles->GetPath("Arc");
  EXPECT_EQ(&Particles->GetPath("Arc"), &Path);  // loaded once
  ASSERT_EQ(Path.Points.size(), 3u);
  EXPECT_EQ(Path.Points[1].X, -3);
  EXPECT_EQ(Path.Points[2].Y, -6);
  ASSERT_EQ(Path.Marks.size(), 2u);
  EXPECT_FLOAT_EQ(Path.Length, 4.5f);  // the last point's value
  EXPECT_TRUE(Path.Usable);
  EXPECT_EQ(Path.MarkSize(1), 2);
  EXPECT_EQ(Path.MarkSize(2), 0);
  EXPECT_EQ(Path.MarkSize(-1), 0);
  EXPECT_FLOAT_EQ(Path.MarkPoint(1, 1).X, 5.0f);
  EXPECT_FLOAT_EQ(Path.MarkPoint(1, 1).Y, -6.0f);
  EXPECT_FLOAT_EQ(Path.MarkPoint(1, 2).X, 0.0f);  // past the mark's count
  EXPECT_FLOAT_EQ(Path.MarkPoint(1, -1).X, 0.0f);
  EXPECT_FLOAT_EQ(Path.MarkPoint(5, 0).X, 0.0f);
  EXPECT_FLOAT_EQ(Path.RandomMarkPoint(7).Y, 0.0f);
  for (int I = 0; I < 50; ++I) {
    const TVector Any = Path.RandomPoint();
    EXPECT_TRUE(Any.X == 1.0f || Any.X == -3.0f || Any.X == 5.0f) << Any.X;
    const TVector InMark = Path.RandomMarkPoint(1);
    EXPECT_TRUE(InMark.X == -3.0f || InMark.X == 5.0f) << InMark.X;
  }
  EXPECT_TRUE(ErrorLog.Lines().empty());
}

TEST_F(ParticlesTest, UsableNeedsTwoPointsAndAPositiveLength) {
  struct TCase {
    int Points;
    float Length;
    bool Usable;
  };
  const TCase Cases[] = {{0, 0.0f, false},
                         {1, 5.0f, false},
                         {2, 5.0f, true},
                         {2, 0.0f, false},
                         {2, -1.0f, false},
                         {2, std::numeric_limits<float>::infinity(), false},
                         {2, std::numeric_limits<float>::quiet_NaN(), false}};
  int Number = 0;
  for (const TCase& C : Cases) {
    const std::string Name = "P" + std::to_string(Number++);
    WritePath(Name, PathFile(LinePoints(C.Points, C.Length), {}));
    const TPath& Path = Particles->GetPath(Name);
    EXPECT_EQ(Path.Points.size(), static_cast<std::size_t>(C.Points)) << Name;
    EXPECT_EQ(Path.Usable, C.Usable) << C.Points << " " << C.Length;
  }
  EXPECT_TRUE(ErrorLog.Lines().empty());
}

TEST_F(ParticlesTest, BrokenPathFilesAreLoggedAndLeaveAnEmptyUnusablePath) {
  const std::string Point(8, '\0');
  struct TCase {
    const char* Name;
    std::string Bytes;  // nothing is written for "Missing"
    const char* Reason;
  };
  const TCase Cases[] = {
      {"Missing", "", "Missing file"},
      {"Empty", "\x01", "Unexpected end of file"},
      {"ShortPoints", Int32Bytes(3) + Point + Point, "Unexpected end of file"},
      {"NoMarkCount", Int32Bytes(2) + Point + Point, "Unexpected end of file"},
      {"ShortMarks", Int32Bytes(0) + Int32Bytes(2) + Point, "Unexpected end of file"},
      {"NegativePoints", Int32Bytes(-1) + Int32Bytes(0), "Negative number of points"},
      {"NegativeMarks", Int32Bytes(2) + Point + Point + Int32Bytes(-5), "Negative number of marks"},
      // Counts no file could back are refused before anything is made for them.
      {"HugePoints", Int32Bytes(INT_MAX) + Point, "Unexpected end of file"},
      {"HugeMarks", Int32Bytes(0) + Int32Bytes(INT_MAX), "Unexpected end of file"},
  };
  for (const TCase& C : Cases) {
    if (std::string(C.Name) != "Missing") WritePath(C.Name, C.Bytes);
    ErrorLog.Free();
    ErrorLog.Create();
    const TPath& Path = Particles->GetPath(C.Name);
    ASSERT_EQ(ErrorLog.Lines().size(), 1u) << C.Name;
    EXPECT_EQ(ErrorLog.Lines()[0],
              "Failed to create path \"" + std::string(C.Name) + "\" (" + C.Reason + ")");
    EXPECT_TRUE(Path.Points.empty()) << C.Name;
    EXPECT_TRUE(Path.Marks.empty()) << C.Name;
    EXPECT_EQ(Path.Length, 0.0f) << C.Name;
    EXPECT_FALSE(Path.Usable) << C.Name;
    EXPECT_EQ(&Particles->GetPath(C.Name), &Path) << C.Name;  // not tried again
    EXPECT_EQ(ErrorLog.Lines().size(), 1u) << C.Name;
  }
}

TEST_F(ParticlesTest, MarksReachingBeyondThePointsAreCutToThePointsRead) {
  struct TCase {
    TRawMark Mark;
    TPathMark Kept;  // within 4 points
  };
  const TCase Cases[] = {
      {{0, 2}, {0, 2}},
      {{2, 5}, {2, 2}},
      {{4, 1}, {4, 0}},
      {{6, 3}, {4, 0}},
      {{-2, 3}, {0, 1}},
      {{1, -3}, {1, 0}},
      {{-9, 2}, {0, 0}},
      {{INT_MAX, INT_MAX}, {4, 0}},
      {{INT_MIN, INT_MAX}, {0, 0}},
      {{0, INT_MAX}, {0, 4}},
  };
  std::vector<TRawMark> Raw;
  for (const TCase& C : Cases)
    Raw.push_back(C.Mark);
  WritePath("Cut", PathFile(LinePoints(4, 2.0f), Raw));
  const TPath& Path = Particles->GetPath("Cut");
  ASSERT_EQ(Path.Marks.size(), std::size(Cases));
  for (std::size_t I = 0; I < std::size(Cases); ++I) {
    EXPECT_EQ(Path.Marks[I].First, Cases[I].Kept.First) << I;
    EXPECT_EQ(Path.Marks[I].Count, Cases[I].Kept.Count) << I;
    for (int Point = 0; Point < Path.MarkSize(static_cast<int>(I)); ++Point)
      EXPECT_FLOAT_EQ(Path.MarkPoint(static_cast<int>(I), Point).X,
                      10.0f * static_cast<float>(Cases[I].Kept.First + Point));
  }
  EXPECT_TRUE(ErrorLog.Lines().empty());
}

TEST_F(ParticlesTest, APathWithOnePointIsNotWalked) {
  WritePath("Dot", PathFile(LinePoints(1, 3.0f), {{0, 1}}));
  TEmiter& Emitter = Define("OnDot");
  Emitter.Path = &Particles->GetPath("Dot");
  Emitter.PathSpeed = 1.0f;
  Emitter.CountMode = 1;
  TEffect* Effect = StartActive("OnDot");
  EXPECT_EQ(Effect->Mark, -1);
  for (int I = 0; I < 5; ++I)
    Particles->Update(1.0f);
  EXPECT_EQ(Effect->Mark, -1);
  EXPECT_EQ(Effect->PathPos, 0.0f);
  EXPECT_EQ(Effect->Live, 0);  // the current mark, -1, has no points
  EXPECT_TRUE(ErrorLog.Lines().empty());
}

TEST_F(ParticlesTest, PathModesStopWrapOrTurnAtTheEnds) {
  WritePath("Four", PathFile(LinePoints(2, 4.0f), {}));
  struct TCase {
    std::uint8_t Mode;
    std::vector<float> Positions;  // after each emission, a quarter of the path apart
  };
  const TCase Cases[] = {
      {0, {0.25f, 0.5f, 0.75f, 1.0f, 1.0f, 1.0f}},
      {1, {0.25f, 0.5f, 0.75f, 0.0f, 0.25f, 0.5f}},
      {2, {0.25f, 0.5f, 0.75f, 1.0f, 0.75f, 0.5f, 0.25f, 0.0f, 0.25f, 0.5f, 0.75f, 1.0f, 0.75f}},
  };
  for (const TCase& C : Cases) {
    const std::string Name = "Walk" + std::to_string(C.Mode);
    TEmiter& Emitter = Define(Name);
    Emitter.Path = &Particles->GetPath("Four");
    Emitter.PathSpeed = 1.0f;
    Emitter.PathMode = C.Mode;
    Emitter.Count = 0;
    TEffect* Effect = StartActive(Name);
    EXPECT_EQ(Effect->PathPos, 0.0f);
    EXPECT_EQ(Effect->Mark, 0);
    std::vector<float> Walked;
    std::vector<int> Marks;
    for (std::size_t I = 0; I < C.Positions.size(); ++I) {
      Particles->Update(I == 0 ? 0.0f : 1.0f);  // one emission each
      Walked.push_back(Effect->PathPos);
      Marks.push_back(Effect->Mark);
    }
    EXPECT_EQ(Walked, C.Positions) << Name;
    for (std::size_t I = 0; I < Marks.size(); ++I)
      EXPECT_EQ(Marks[I], static_cast<int>(C.Positions[I] * 4.0f)) << Name << " " << I;
    Particles->StopEffect(Effect);
  }
}

TEST_F(ParticlesTest, PingPongTurnsBackwardAtTheEndAndForwardAtTheStart) {
  WritePath("Four", PathFile(LinePoints(2, 4.0f), {}));
  TEmiter& Emitter = Define("Back");
  Emitter.Path = &Particles->GetPath("Four");
  Emitter.PathSpeed = 1.0f;
  Emitter.PathMode = 2;
  Emitter.PathForward = false;
  Emitter.Count = 0;
  TEffect* Effect = StartActive("Back");
  EXPECT_EQ(Effect->PathPos, 1.0f);
  EXPECT_EQ(Effect->Mark, 4);
  EXPECT_FALSE(Effect->Forward);
  for (int I = 0; I < 5; ++I)
    Particles->Update(I == 0 ? 0.0f : 1.0f);  // one emission each
  EXPECT_EQ(Effect->PathPos, 0.25f);          // 0.75 .. 0, then turned at -0.25
  EXPECT_TRUE(Effect->Forward);
}

TEST_F(ParticlesTest, PathStartsAndCountsUseTheCurrentMark) {
  // Marks of 2 and 3 points; the walk moves one mark per emission (length 2, speed 1 x scale 3).
  WritePath("Frames", PathFile(LinePoints(5, 2.0f), {{0, 2}, {2, 3}}));
  TEmiter& Emitter = Define("Frames");
  Emitter.Path = &Particles->GetPath("Frames");
  Emitter.PathScale = 3.0f;
  Emitter.PathSpeed = 3.0f;
  Emitter.CountMode = 1;
  Emitter.StartMode = 7;
  Emitter.Lifetime = 100.0f;
  StartActive("Frames");
  Particles->Update(0.0f);
  auto StartsX = [this] {
    std::vector<float> X;
    for (const TParticle* P : Living())
      X.push_back(P->Start.X);
    return X;
  };
  EXPECT_EQ(StartsX(), (std::vector<float>{30.0f, 0.0f}));  // mark 0, newest first, x 3
  Particles->Update(1.0f);
  EXPECT_EQ(StartsX(), (std::vector<float>{120.0f, 90.0f, 60.0f, 30.0f, 0.0f}));
  Particles->Update(1.0f);  // mark 2 does not exist: no particles
  EXPECT_EQ(Particles->LiveParticles.Count(), 5);
}

TEST_F(ParticlesTest, PathStartModesPlaceParticlesOnScaledPathPoints) {
  WritePath("Frames", PathFile(LinePoints(5, 2.0f), {{0, 2}, {2, 3}}));
  struct TCase {
    std::uint8_t Start, CountMode;
    float CountFactor;
    int Count;
    std::vector<float> Allowed;  // x of the starts, path scale 2; spread 4 for mode 8
  };
  const TCase Cases[] = {
      {5, 0, 0.0f, 30, {0, 20, 40, 60, 80}},
      {6, 0, 0.0f, 30, {0, 20}},
      {8, 0, 0.0f, 30, {0, 20}},
      {6, 2, 0.5f, 1, {0, 20}},  // half the mark's two points
      {6, 2, 0.4f, 0, {}},
  };
  for (const TCase& C : Cases) {
    const std::string Name = "OnPath" + std::to_string(C.Start);
    TEmiter& Emitter = DefineSingle(Name);
    Emitter.Path = &Particles->GetPath("Frames");
    Emitter.PathScale = 2.0f;
    Emitter.StartMode = C.Start;
    Emitter.CountMode = C.CountMode;
    Emitter.CountFactor = C.CountFactor;
    Emitter.Count = 30;
    Emitter.Spread = {4.0f, 4.0f};
    TEffect* Effect = StartActive(Name);
    Particles->Update(0.0f);
    EXPECT_EQ(Effect->Live, C.Count) << Name;
    for (const TParticle* P : Living()) {
      const float Slack = C.Start == 8 ? 2.0f : 0.0f;
      bool Near = false;
      for (float X : C.Allowed)
        Near |= P->Start.X >= X - Slack && P->Start.X <= X + Slack;
      EXPECT_TRUE(Near) << Name << " x " << P->Start.X;
      EXPECT_LE(std::fabs(P->Start.Y), Slack) << Name;
    }
    Particles->StopEffect(Effect);
  }
}

TEST_F(ParticlesTest, APathScaleOfZeroWalksAndPlacesAsScale1) {
  WritePath("Frames", PathFile(LinePoints(5, 2.0f), {{0, 2}, {2, 3}}));
  auto Walk = [this](const std::string& Name, float Scale) {
    TEmiter& Emitter = Define(Name);
    Emitter.Path = &Particles->GetPath("Frames");
    Emitter.PathScale = Scale;
    Emitter.PathSpeed = 0.5f;
    Emitter.PathMode = 2;
    Emitter.CountMode = 1;
    Emitter.StartMode = 7;
    Emitter.LifeMode = 2;
    Emitter.Interval = 0.5f;
    TEffect* Effect = StartActive(Name);
    std::vector<float> Trace{Effect->EffectLifetime};
    for (int I = 0; I < 6; ++I) {
      Particles->Update(0.5f);
      Trace.push_back(Effect->PathPos);
      Trace.push_back(static_cast<float>(Effect->Mark));
      if (Effect->Live > 0) Trace.push_back(Newest().Start.X);
    }
    Particles->StopEffect(Effect);
    return Trace;
  };
  const std::vector<float> Zero = Walk("Zero", 0.0f);
  EXPECT_FLOAT_EQ(Zero[0], 2.0f);  // 2 / 0.5 steps of 0.5 s
  EXPECT_EQ(Zero, Walk("One", 1.0f));
  for (float Value : Zero)
    EXPECT_TRUE(std::isfinite(Value));
}

// ---- Effect lifetimes ----

TEST_F(ParticlesTest, LifeModesSetTheEffectsLifetime) {
  WritePath("Four", PathFile(LinePoints(2, 4.0f), {}));
  struct TCase {
    std::uint8_t Mode;
    float PathSpeed;
    float Lifetime;  // Life 3; path length 4, scale 2, interval 0.1, factor 1.5
  };
  const TCase Cases[] = {
      {0, 1.0f, 0.0f}, {1, 1.0f, 3.0f}, {2, 1.0f, 1.2f}, {2, 0.0f, 0.0f}, {5, 1.0f, 1.2f}};
  for (const TCase& C : Cases) {
    TEmiter& Emitter = Define("Life");
    Emitter.LifeMode = C.Mode;
    Emitter.Life = 3.0f;
    Emitter.Path = &Particles->GetPath("Four");
    Emitter.PathScale = 2.0f;
    Emitter.PathSpeed = C.PathSpeed;
    Emitter.Interval = 0.1f;
    Emitter.PathLifeFactor = 1.5f;
    TEffect* Effect = Particles->SpawnEffect(nullptr, "Life", 0, {0, 0}, 1, 1);
    EXPECT_NEAR(Effect->EffectLifetime, C.Lifetime, 1e-5f) << int{C.Mode};
    Particles->StopEffect(Effect);
  }
}

TEST_F(ParticlesTest, ASpawnedEffectEndsItsLifeThenGoesWithItsLastParticle) {
  TEmiter& Emitter = Define("Click");
  Emitter.LifeMode = 1;
  Emitter.Life = 0.25f;
  Emitter.Lifetime = 0.5f;
  int Owner = 0;
  TEffect* Effect = Particles->SpawnEffect(&Owner, "Click", 7, {3, 4}, 1, 1);
  EXPECT_TRUE(Effect->Active);
  EXPECT_FALSE(Effect->Persistent);
  EXPECT_EQ(Effect->Owner, &Owner);
  EXPECT_EQ(Effect->Depth, 7);
  Particles->Update(0.125f);
  EXPECT_EQ(Effect->Live, 1);  // emitted at the first update
  Particles->Update(0.125f);
  EXPECT_FALSE(Effect->Active);  // 0.25 s of life are over
  EXPECT_EQ(Particles->Effects.Count(), 1);
  Particles->Update(0.25f);  // the particle is 0.5 s old: age exactly 1
  EXPECT_EQ(Particles->Effects.Count(), 1);
  Particles->Update(0.25f);
  EXPECT_EQ(Particles->LiveParticles.Count(), 0);
  EXPECT_EQ(Particles->Effects.Count(), 0);
  EXPECT_EQ(SpriteCount(), 0);
}

TEST_F(ParticlesTest, AnUnknownEmitterNeverEmits) {
  TEffect* Spawned = Particles->SpawnEffect(nullptr, "Nobody", 0, {0, 0}, 1, 1);
  EXPECT_EQ(Spawned->Emitter, nullptr);
  EXPECT_FALSE(Spawned->Active);
  TEffect* Slot = StartActive("Nobody");
  EXPECT_FALSE(Slot->Active);
  Particles->Update(1.0f);
  EXPECT_EQ(Particles->Effects.Count(), 1);  // the spawned one went at its first update
  EXPECT_EQ(Particles->Effects.First(), Slot);
  Particles->Update(1.0f);
  EXPECT_EQ(Particles->Effects.Count(), 1);
  Particles->StopEffect(Slot);
  EXPECT_EQ(Particles->Effects.Count(), 0);
}

TEST_F(ParticlesTest, ASwitchedOffPersistentEffectStaysUntilStopped) {
  TEmiter& Emitter = Define("Dust");
  Emitter.Interval = 0.5f;
  TEffect* Slot = StartActive("Dust");
  Particles->Update(0.5f);
  EXPECT_EQ(Slot->Live, 2);
  Slot->SetActive(false);
  Particles->Update(2.0f);
  EXPECT_EQ(Slot->Live, 0);
  EXPECT_EQ(Particles->Effects.Count(), 1);
  Slot->SetActive(true);  // starts again with an emission in the next update
  Particles->Update(0.0f);
  EXPECT_EQ(Slot->Live, 1);
  TEffect* Same = Slot;
  Particles->StartEffect(Slot, "Dust", 0);  // a filled slot is left alone
  EXPECT_EQ(Slot, Same);
  EXPECT_EQ(Particles->Effects.Count(), 1);
}

// ---- Chains ----

TEST_F(ParticlesTest, StopEffectRemovesTheChainAndAllItsParticles) {
  TEmiter& Head = Define("Head");
  Head.NextEmitter = "Tail";
  Head.NextDepthOffset = 5;
  Head.Interval = 0.5f;
  Head.Count = 3;
  TEmiter& Tail = Define("Tail");
  Tail.Interval = 0.25f;
  TEmiter& Other = Define("Other");
  Other.Interval = 0.5f;
  TEffect* Bystander = StartActive("Other");

  TEffect* Slot = nullptr;
  Particles->StartEffect(Slot, "Head", 100);
  ASSERT_NE(Slot->Chained, nullptr);
  TEffect* Chained = Slot->Chained;
  EXPECT_TRUE(Chained->Persistent);
  EXPECT_EQ(Chained->Depth, 105);
  EXPECT_EQ(Chained->Emitter, &Tail);
  EXPECT_FALSE(Chained->Active);
  Slot->SetActive(true);
  EXPECT_TRUE(Chained->Active);
  Particles->Update(0.5f);
  EXPECT_EQ(Slot->Live, 6);
  EXPECT_EQ(Chained->Live, 3);
  EXPECT_EQ(Bystander->Live, 2);

  Particles->StopEffect(Slot);
  EXPECT_EQ(Slot, nullptr);
  EXPECT_EQ(Particles->Effects.Count(), 1);
  EXPECT_EQ(Particles->LiveParticles.Count(), 2);
  EXPECT_EQ(SpriteCount(), 2);
  for (const TParticle* P : Living())
    EXPECT_EQ(P->Effect, Bystander);
  Particles->StopEffect(Slot);  // an empty slot: nothing happens
  EXPECT_EQ(Particles->Effects.Count(), 1);
}

TEST_F(ParticlesTest, SettersAndSwitchingGoDownTheChain) {
  Define("A").NextEmitter = "B";
  Define("B").NextEmitter = "C";
  Define("C");
  TEffect* A = Particles->SpawnEffect(nullptr, "A", 10, {1, 2}, 3, 0.5f);
  ASSERT_NE(A->Chained, nullptr);
  ASSERT_NE(A->Chained->Chained, nullptr);
  TEffect* C = A->Chained->Chained;
  EXPECT_EQ(C->Position.X, 1.0f);
  EXPECT_EQ(C->Scale, 3.0f);
  EXPECT_EQ(C->Alpha, 0.5f);
  EXPECT_TRUE(C->Active);
  A->SetPosition({7, 8});
  A->SetScale(2);
  A->SetAlpha(0.25f);
  A->SetActive(false);
  for (TEffect* E = A; E; E = E->Chained) {
    EXPECT_EQ(E->Position.Y, 8.0f);
    EXPECT_EQ(E->Scale, 2.0f);
    EXPECT_EQ(E->Alpha, 0.25f);
    EXPECT_FALSE(E->Active);
  }
}

TEST_F(ParticlesTest, ASpawnedChainLinkThatEndsFirstLeavesTheChain) {
  TEmiter& Long = Define("Long");
  Long.NextEmitter = "Short";
  Long.LifeMode = 1;
  Long.Life = 2.0f;
  TEmiter& Short = Define("Short");
  Short.LifeMode = 1;
  Short.Life = 0.5f;
  Short.Lifetime = 0.25f;
  TEffect* Effect = Particles->SpawnEffect(nullptr, "Long", 0, {0, 0}, 1, 1);
  Particles->Update(0.25f);
  Particles->Update(0.5f);  // Short's life is over and its particle gone: it is returned
  EXPECT_EQ(Particles->Effects.Count(), 1);
  EXPECT_EQ(Effect->Chained, nullptr);
  // A new effect may take the returned one from the pool; the old chain must not reach it.
  TEffect* Next = Particles->SpawnEffect(nullptr, "Short", 0, {0, 0}, 1, 1);
  Effect->SetPosition({50, 50});
  EXPECT_EQ(Next->Position.X, 0.0f);
}

TEST_F(ParticlesTest, AChainHeadThatGoesFirstLeavesItsChainedEffectRunning) {
  TEmiter& First = Define("First");
  First.NextEmitter = "Later";
  First.LifeMode = 1;
  First.Life = 0.5f;
  First.Count = 0;
  TEmiter& Later = Define("Later");
  Later.Lifetime = 4.0f;
  TEffect* Head = Particles->SpawnEffect(nullptr, "First", 0, {0, 0}, 1, 1);
  TEffect* Chained = Head->Chained;
  Particles->Update(0.25f);
  Particles->Update(0.5f);  // both switched off; the head has no particles and goes
  EXPECT_EQ(Particles->Effects.Count(), 1);
  EXPECT_EQ(Particles->Effects.First(), Chained);
  EXPECT_EQ(Chained->Live, 1);
  // The head's pool slot is reused; stopping the new effect must not touch the old chain.
  TEffect* Reused = Particles->SpawnEffect(nullptr, "Later", 0, {0, 0}, 1, 1);
  Particles->StopEffect(Reused);
  EXPECT_EQ(Chained->Live, 1);
  for (int I = 0; I < 5; ++I)
    Particles->Update(1.0f);
  EXPECT_EQ(Particles->Effects.Count(), 0);
  EXPECT_EQ(SpriteCount(), 0);
}

TEST_F(ParticlesTest, AChainThatLoopsIsCutAndReportedOnce) {
  Define("Loop").NextEmitter = "Loop";
  TEffect* Slot = nullptr;
  Particles->StartEffect(Slot, "Loop", 0);
  EXPECT_EQ(Particles->Effects.Count(), 16);
  TEffect* Spawned = Particles->SpawnEffect(nullptr, "Loop", 0, {0, 0}, 1, 1);
  EXPECT_EQ(Particles->Effects.Count(), 32);
  ASSERT_EQ(ErrorLog.Lines().size(), 1u);
  EXPECT_EQ(ErrorLog.Lines()[0], "Emitter chain cut after 16 effects at \"Loop\"");
  Particles->StopEffect(Slot);
  Particles->StopEffect(Spawned);
  EXPECT_EQ(Particles->Effects.Count(), 0);
}

TEST_F(ParticlesTest, ChainedDepthsStayWithinTheDepthRange) {
  TEmiter& Top = Define("Top");
  Top.NextEmitter = "Over";
  Top.NextDepthOffset = 100;
  Define("Over");
  TEffect* Effect = Particles->SpawnEffect(nullptr, "Top", INT32_MAX - 10, {0, 0}, 1, 1);
  EXPECT_EQ(Effect->Chained->Depth, INT32_MAX);
}

// ---- Emitter definitions ----

// Every parameter an emitter copies, for comparing two emitters.
auto Parameters(const TEmitterParameters& E) {
  return std::tuple(
      E.Prewarm, E.Path, E.PathScale, E.PathForward, E.PathSpeed, E.PathMode, E.Interval,
      E.CountMode, E.Count, E.CountFactor, E.LifeMode, E.Life, E.PathLifeFactor, E.Texture,
      E.Segment, E.StartMode, E.Position.X, E.Position.Y, E.Spread.X, E.Spread.Y, E.Position2.X,
      E.Position2.Y, E.DirectionMode, E.Direction, E.DirectionSpread, E.DistanceMode, E.Distance,
      E.DistanceSpread, E.SizeMode, E.Size.X, E.Size.Y, E.SizeSpread.X, E.SizeSpread.Y, E.AngleMode,
      E.Angle, E.AngleSpread, E.SpinMode, E.Spin, E.SpinSpread, E.AlphaMode, E.Alpha, E.AlphaSpread,
      E.ColorMode, E.Color, E.Color2, E.LifetimeMode, E.Lifetime, E.Speed, E.MotionMode, E.GrowMode,
      E.GrowFactor, E.RotateMode, E.FadeMode, E.FadeIn, E.FadeOut, E.TintMode, E.ColorEnd);
}

// How many fields of two parameter tuples are equal.
template <class TTuple>
std::size_t SameFields(const TTuple& A, const TTuple& B) {
  return [&]<std::size_t... I>(std::index_sequence<I...>) {
    return ((std::get<I>(A) == std::get<I>(B) ? std::size_t{1} : std::size_t{0}) + ...);
  }
  (std::make_index_sequence<std::tuple_size_v<TTuple>>());
}

TEST_F(ParticlesTest, ANewEmitterHasTheDefaults) {
  const TEmiter& Emitter = Define("Plain");
  const TEmitterParameters Defaults;
  EXPECT_EQ(Parameters(Emitter), Parameters(Defaults));
  EXPECT_EQ(Emitter.Interval, 1.0f);
  EXPECT_EQ(Emitter.PathScale, 1.0f);
  EXPECT_TRUE(Emitter.PathForward);
  EXPECT_EQ(Emitter.Count, 1);
  EXPECT_EQ(Emitter.PathLifeFactor, 1.0f);
  EXPECT_EQ(Emitter.Size.X, 1.0f);
  EXPECT_EQ(Emitter.Size.Y, 1.0f);
  EXPECT_EQ(Emitter.Alpha, 1.0f);
  EXPECT_EQ(Emitter.Color, 0xFFFFFFFFu);
  EXPECT_EQ(Emitter.Lifetime, 1.0f);
  EXPECT_EQ(Emitter.Speed, 1.0f);
  EXPECT_EQ(Emitter.Prewarm, 0.0f);
  EXPECT_EQ(Emitter.Path, nullptr);
  EXPECT_TRUE(Emitter.NextEmitter.empty());
  EXPECT_EQ(Emitter.NextDepthOffset, 0);
}

TEST_F(ParticlesTest, DefineEmitterCopiesEveryParameterButNotTheChain) {
  WritePath("Four", PathFile(LinePoints(2, 4.0f), {}));
  TEmiter& Base = Define("A");
  // Every parameter differs from its default.
  Base.Prewarm = 0.5f;
  Base.Path = &Particles->GetPath("Four");
  Base.PathScale = 4;
  Base.PathForward = false;
  Base.PathSpeed = 2;
  Base.PathMode = 1;
  Base.Interval = 0.04f;
  Base.CountMode = 2;
  Base.Count = 3;
  Base.CountFactor = 0.5f;
  Base.LifeMode = 1;
  Base.Life = 1.25f;
  Base.PathLifeFactor = 2;
  Base.Texture = AddTexture("Particles");
  Base.Segment = 5;
  Base.StartMode = 1;
  Base.Position = {4, 13};
  Base.Spread = {120, 20};
  Base.Position2 = {7, 8};
  Base.DirectionMode = 1;
  Base.Direction = 180;
  Base.DirectionSpread = 10;
  Base.DistanceMode = 1;
  Base.Distance = 7;
  Base.DistanceSpread = 2;
  Base.SizeMode = 1;
  Base.Size = {20, 20};
  Base.SizeSpread = {6, 6};
  Base.AngleMode = 2;
  Base.Angle = 45;
  Base.AngleSpread = 5;
  Base.SpinMode = 1;
  Base.Spin = 90;
  Base.SpinSpread = 180;
  Base.AlphaMode = 1;
  Base.Alpha = 0.6f;
  Base.AlphaSpread = 0.1f;
  Base.ColorMode = 1;
  Base.Color = 0x877566;
  Base.Color2 = 0xAF9C8B;
  Base.LifetimeMode = 1;
  Base.Lifetime = 2;
  Base.Speed = 40;
  Base.MotionMode = 1;
  Base.GrowMode = 1;
  Base.GrowFactor = 4;
  Base.RotateMode = 1;
  Base.FadeMode = 3;
  Base.FadeIn = 0.15f;
  Base.FadeOut = 0.3f;
  Base.TintMode = 1;
  Base.ColorEnd = 0xFFFFFF;
  Base.NextEmitter = "Elsewhere";
  Base.NextDepthOffset = 3;

  const TEmitterParameters Defaults;
  const auto Changed = Parameters(Base);
  EXPECT_EQ(SameFields(Changed, Parameters(Defaults)), 0u);
  const TEmiter& Copy = Define("B", "A");
  EXPECT_EQ(Copy.Name, "B");
  EXPECT_EQ(Parameters(Copy), Changed);
  EXPECT_TRUE(Copy.NextEmitter.empty());
  EXPECT_EQ(Copy.NextDepthOffset, 0);
  EXPECT_EQ(Parameters(Define("C", "Unknown")), Parameters(Defaults));
}

TEST_F(ParticlesTest, ALaterDefinitionHidesAnEarlierOneOfTheSameName) {
  TEmiter& Old = Define("Same");
  EXPECT_EQ(Particles->FindEmitter("Same"), &Old);  // remembered by the container's look-up
  EXPECT_EQ(Particles->Emitters.Find("Same"), &Old);
  TEmiter& New = Define("Same", "Same");
  New.Count = 4;
  EXPECT_EQ(Particles->FindEmitter("Same"), &New);
  EXPECT_EQ(Particles->Emitters.First(), &New);
  TEffect* Effect = Particles->SpawnEffect(nullptr, "Same", 0, {0, 0}, 1, 1);
  EXPECT_EQ(Effect->Emitter, &New);
  EXPECT_EQ(Particles->FindEmitter(""), nullptr);
}

// ---- The steady state ----

TEST_F(ParticlesTest, TheSteadyStateAllocatesNothing) {
  WritePath("Frames", PathFile(LinePoints(5, 2.0f), {{0, 2}, {2, 3}}));
  TEmiter& Dust = Define("DustyJob");
  Dust.Interval = 0.04f;
  Dust.StartMode = 1;
  Dust.Spread = {120, 20};
  Dust.SizeMode = 1;
  Dust.Size = {20, 20};
  Dust.SizeSpread = {6, 6};
  Dust.DirectionMode = 2;
  Dust.Distance = 7;
  Dust.MotionMode = 1;
  Dust.GrowMode = 1;
  Dust.GrowFactor = 4;
  Dust.RotateMode = 1;
  Dust.SpinMode = 1;
  Dust.SpinSpread = 180;
  Dust.FadeMode = 3;
  Dust.FadeIn = 0.15f;
  Dust.FadeOut = 0.3f;
  Dust.ColorMode = 1;
  Dust.Color2 = 0xAF9C8B;
  TEmiter& Walker = Define("Walker");
  Walker.Path = &Particles->GetPath("Frames");
  Walker.PathSpeed = 0.5f;
  Walker.PathMode = 2;
  Walker.CountMode = 1;
  Walker.StartMode = 7;
  Walker.Interval = 0.05f;
  Walker.TintMode = 1;
  TEmiter& Click = Define("ClickWave");
  Click.LifeMode = 1;
  Click.Life = 0.25f;
  Click.Lifetime = 0.3f;
  Click.NextEmitter = "Sparkle";
  TEmiter& Sparkle = Define("Sparkle");
  Sparkle.LifeMode = 1;
  Sparkle.Life = 0.2f;
  Sparkle.Interval = 0.05f;
  Sparkle.Path = Walker.Path;
  Sparkle.StartMode = 5;
  Sparkle.Lifetime = 0.4f;
  std::vector<TEffect*> Slots(6, nullptr);
  for (std::size_t I = 0; I < Slots.size(); ++I) {
    Particles->StartEffect(Slots[I], I % 2 ? "DustyJob" : "Walker", static_cast<int>(I));
    Slots[I]->SetActive(true);
  }
  auto Frames = [&](int Count) {
    for (int Frame = 0; Frame < Count; ++Frame) {
      if (Frame % 20 == 0) Particles->SpawnEffect(nullptr, "ClickWave", 9, {1, 2}, 1, 1);
      if (Frame % 50 == 0) {  // a job ends and another starts
        Particles->StopEffect(Slots[0]);
        Particles->StartEffect(Slots[0], "DustyJob", 0);
        Slots[0]->SetActive(true);
      }
      Particles->Update(1.0f / 60.0f);
    }
  };
  Frames(300);  // the pools grow to what the scene needs
  const std::size_t Before = AllocationCount();
  Frames(600);
  EXPECT_EQ(AllocationCount() - Before, 0u);
  EXPECT_GT(Particles->LiveParticles.Count(), 100);
}

// ---- calvora-data path ----

TToolRun RunTool(const std::string& Folder, const std::string& Arguments) {
  return RunProgram(Quoted(CALVORA_DATA_TOOL) + " path " + Arguments, Folder + "/stderr.txt");
}

TEST(DataPathTool, ReportsPointsMarksLengthAndUsability) {
  TScratchFolder Scratch;
  struct TCase {
    const char* File;
    std::string Bytes;
    const char* Output;
  };
  const TCase Cases[] = {
      {"Logo.pth", PathFile(LinePoints(3, 4.5f), {{0, 2}, {1, 9}}), "path 3 2 4.5 usable\n"},
      {"Dot.pth", PathFile(LinePoints(1, 4.0f), {}), "path 1 0 4 unusable\n"},
      {"None.pth", PathFile({}, {{0, 1}}), "path 0 1 0 unusable\n"},
  };
  for (const TCase& C : Cases) {
    const std::string File = Scratch.Path() + "/" + C.File;
    WriteTextFile(File, C.Bytes);
    const TToolRun Run = RunTool(Scratch.Path(), Quoted(File));
    EXPECT_EQ(Run.Status, 0) << C.File << Run.Errors;
    EXPECT_EQ(Run.Output, C.Output);
    EXPECT_EQ(Run.Errors, "");
  }
}

TEST(DataPathTool, PrintsWhatTheGameWouldLogAndFails) {
  TScratchFolder Scratch;
  const std::string Short = Scratch.Path() + "/Short.pth";
  WriteTextFile(Short, Int32Bytes(2) + std::string(8, '\0'));
  TToolRun Run = RunTool(Scratch.Path(), Quoted(Short));
  EXPECT_EQ(Run.Status, 1);
  EXPECT_EQ(Run.Output, "");
  EXPECT_EQ(Run.Errors, "Failed to create path \"Short\" (Unexpected end of file)\n");

  Run = RunTool(Scratch.Path(), Quoted(Scratch.Path() + "/Gone.pth"));
  EXPECT_EQ(Run.Status, 1);
  EXPECT_EQ(Run.Errors, "Failed to create path \"Gone\" (Missing file)\n");

  Run = RunTool(Scratch.Path(), "");
  EXPECT_EQ(Run.Status, 2);
  EXPECT_NE(Run.Errors.find("usage: calvora-data path FILE"), std::string::npos);
}

}  // namespace

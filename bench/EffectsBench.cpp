// EffectsBench.cpp -- a busy frame of effects and texts: about 1536 living particles from eight
// effects that move, grow, spin, fade and change colour, plus 40 texts of 30 characters whose
// strings, zoom and opacity change every frame, all updated and drawn by the renderer on the
// Null graphics device (which records the quads), so the figure is the game's own CPU time.
//
// Reported: the time per frame, the particles alive and the allocations per frame (the steady
// state must allocate nothing). The goal is under 1 ms per frame.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

#include "AllocationCounter.h"
#include "EngineParticles.h"
#include "EngineRegister.h"
#include "EngineRenderer.h"
#include "EngineTexts.h"
#include "NullPlatform.h"

namespace {

constexpr float kFrameTime = 1.0f / 64;  // exact in binary: every run ages the same way
constexpr int kEffects = 8;
constexpr int kTexts = 40;
constexpr int kTextLength = 30;

// A texture of Count side-by-side segments of Width x Height, made on the device.
void AddAtlas(const char* Name, int Count, int Width, int Height) {
  auto Atlas = std::make_unique<TTexture>();
  Atlas->Name = Name;
  Atlas->Width = Atlas->ImageWidth = Count * Width;
  Atlas->Height = Atlas->ImageHeight = Height;
  Atlas->DeviceTexture = Renderer->GraphicsDevice().CreateTexture(
      Atlas->Width, Height, Platform::TTextureFormat::A8R8G8B8);
  for (int I = 0; I < Count; ++I)
    Atlas->Segments.push_back(Atlas->PixelSegment(
        static_cast<float>(I * Width), 0, static_cast<float>(Width), static_cast<float>(Height)));
  Renderer->Textures.Insert(std::move(Atlas), nullptr, TInsertMode::Front);
}

// Sparks: born in a disc of spread, flying outward for a second, growing, spinning, fading in
// and out and turning from yellow to red on the way. Eight of them make 8 x 3 x 64 = 1536
// particles a second.
void DefineSparks() {
  TEmiter& Sparks = Particles->DefineEmitter("Sparks");
  Sparks.Texture = &Renderer->GetTexture("Particles");
  Sparks.Segment = 3;
  Sparks.Interval = kFrameTime;
  Sparks.Count = 3;
  Sparks.StartMode = 1;
  Sparks.Spread = {40, 40};
  Sparks.DirectionMode = 3;
  Sparks.DistanceMode = 1;
  Sparks.Distance = 120;
  Sparks.DistanceSpread = 60;
  Sparks.SizeMode = 1;
  Sparks.Size = {24, 24};
  Sparks.SizeSpread = {8, 8};
  Sparks.AngleMode = 2;
  Sparks.SpinMode = 1;
  Sparks.Spin = 90;
  Sparks.SpinSpread = 180;
  Sparks.ColorMode = 1;
  Sparks.Color = 0xFFFFEE66;
  Sparks.Color2 = 0xFFFFAA22;
  Sparks.Lifetime = 1;
  Sparks.MotionMode = 1;
  Sparks.GrowMode = 2;
  Sparks.GrowFactor = 1.5f;
  Sparks.RotateMode = 1;
  Sparks.FadeMode = 3;
  Sparks.FadeIn = 0.1f;
  Sparks.FadeOut = 0.6f;
  Sparks.TintMode = 1;
  Sparks.ColorEnd = 0xFFCC2200;
}

class TBusyFrame {
 public:
  TBusyFrame() {
    Register = TRegister{};
    Register.DesktopWidth = Register.WindowWidth = 1280;
    Register.DesktopHeight = Register.WindowHeight = 800;
    Register.SpritePool = 4096;
    Register.ParticlePool = 1536;
    Register.EffectPool = 96;
    Register.TextPool = 128;
    Randomize(20261211);
    Renderer = std::make_unique<TRenderer>(Platform);
    AddAtlas("Particles", 8, 32, 32);
    AddAtlas("DefaultFont", 256, 16, 32);
    Particles = std::make_unique<TParticles>();
    Texts = std::make_unique<TTexts>(*Renderer);
    DefineSparks();
    for (int I = 0; I < kEffects; ++I)
      Particles->SpawnEffect(this, "Sparks", 10, {static_cast<float>(I * 140 - 490), 0}, 1, 1);
    for (int I = 0; I < kTexts; ++I) {
      Texts->CreateText(Lines[I], 20, I % 9, 1, {420, 36});
      Lines[I]->SetPosition(
          {static_cast<float>(I % 3 * 420 - 420), static_cast<float>(I * 19 - 380)});
    }
  }

  ~TBusyFrame() {
    Texts.reset();
    Particles.reset();
    Renderer.reset();
  }

  // One frame: the texts change, the particles live, the renderer draws.
  void Run() {
    ++Frame;
    for (int I = 0; I < kTexts; ++I) {
      std::snprintf(Buffer, sizeof Buffer, "Gold %8d Wood %6d Day %4d", Frame * 7 + I, Frame + I,
                    Frame / 64);
      Buffer[kTextLength] = '\0';
      Lines[I]->SetText(Buffer);
      Lines[I]->SetZoom(1.0f + 0.05f * static_cast<float>((Frame + I) % 8));
      Lines[I]->SetAlpha(static_cast<float>((Frame + I) % 64) / 63.0f);
    }
    Particles->Update(kFrameTime);
    Renderer->Render();
  }

 private:
  Platform::TNullPlatform Platform;
  TText* Lines[kTexts] = {};
  char Buffer[64] = {};
  int Frame = 0;
};

void BM_BusyFrame(benchmark::State& State) {
  TBusyFrame Busy;
  for (int Warm = 0; Warm < 256; ++Warm)  // four seconds: the particle count is steady
    Busy.Run();
  const std::size_t Before = AllocationCount();
  std::int64_t Frames = 0;
  for (auto _ : State) {
    Busy.Run();
    ++Frames;
  }
  State.counters["allocations_per_frame"] =
      static_cast<double>(AllocationCount() - Before) / static_cast<double>(Frames);
  State.counters["particles"] = Particles->LiveParticles.Count();
  State.counters["sprites_drawn"] = Renderer->Stats().Drawn;
}
BENCHMARK(BM_BusyFrame)->Unit(benchmark::kMicrosecond);

}  // namespace

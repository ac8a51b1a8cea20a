// RendererBench.cpp -- one frame of 3072 sprites of 64 x 64 pixels from one atlas on a 1280 x 800
// offscreen frame: our renderer and OpenGL device against the same scene drawn with SDL2's own
// renderer (SDL_RenderCopyExF), both in this run, frame after frame in turn.
//
// Our device records a frame on the calling (game) thread and hands it to its render thread,
// which makes the OpenGL calls and presents. So for ours four medians are reported:
//   ours_game_submit_us    the game thread's Render() call: the walk, the vertices, the hand-over
//   ours_render_thread_us  the render thread's work on the frame, timed on that thread: from
//                          taking it over until it gave the context back after the present (the
//                          device's Timings())
//   ours_submit_total_us   both added up frame by frame: the time submitting took on both threads
//   ours_frame_us          the whole frame: Render() and waiting until the frame is completely
//                          drawn (the device's Finish: the render thread done, then glFinish)
// and for SDL's renderer, which does everything on the calling thread:
//   sdl_submit_us          its clear, RenderCopyExF calls and RenderPresent
//   sdl_frame_us           the same and glFinish
// with the ratios ours over SDL's: submit_ratio (game thread), total_submit_ratio (both threads)
// and frame_ratio (whole frame). All are wall-clock times over 100 frames of each.
//   animated:1  every sprite turns every frame (all placements rebuilt); animated:0  a still scene
// BM_RenderOnNullDevice draws the same scene on the Null device: the renderer's own share of
// the submit time, without any driver behind it.
// Run with SDL_VIDEODRIVER=offscreen (set here when unset).
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "EngineRegister.h"
#include "EngineRenderer.h"
#include "NullPlatform.h"
#include "Platform.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 800;
constexpr int kSprites = 3072;
constexpr int kSide = 64;    // sprite and segment size in pixels
constexpr int kAtlas = 512;  // the atlas: 8 x 8 segments
constexpr int kColumns = kAtlas / kSide;
constexpr int kSegments = kColumns * kColumns;

using TClock = std::chrono::steady_clock;

// One sprite of the scene, as both renderers are told it (pixels equal virtual units here).
struct TSpriteSpec {
  float X, Y, Angle;
  TColor Color;
  int Segment;
  bool FlipX, FlipY;
};

// The atlas: every segment a disc of its own colour with a darker ring, transparent corners.
std::vector<std::uint8_t> AtlasPixels() {
  std::vector<std::uint8_t> Pixels(static_cast<std::size_t>(kAtlas) * kAtlas * 4);
  for (int Y = 0; Y < kAtlas; ++Y) {
    for (int X = 0; X < kAtlas; ++X) {
      const int Segment = (Y / kSide) * kColumns + X / kSide;
      const float DX = static_cast<float>(X % kSide) - 31.5f;
      const float DY = static_cast<float>(Y % kSide) - 31.5f;
      const float Distance = std::sqrt(DX * DX + DY * DY);
      std::uint8_t* P = &Pixels[(static_cast<std::size_t>(Y) * kAtlas + X) * 4];  // B, G, R, A
      P[0] = static_cast<std::uint8_t>(Segment * 4);
      P[1] = static_cast<std::uint8_t>(255 - Segment * 3);
      P[2] = static_cast<std::uint8_t>(128 + Segment);
      P[3] = Distance < 30 ? 255 : (Distance < 32 ? 128 : 0);
      if (Distance > 26 && Distance < 30) P[0] = P[1] = P[2] = 40;
    }
  }
  return Pixels;
}

double Median(std::vector<double> Values) {
  std::sort(Values.begin(), Values.end());
  const std::size_t Half = Values.size() / 2;
  return Values.size() % 2 ? Values[Half] : (Values[Half - 1] + Values[Half]) / 2;
}

// Both scenes, made once for the whole run.
class TScenes {
 public:
  TScenes() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    MakeSpecs();
    const std::vector<std::uint8_t> Pixels = AtlasPixels();
    MakeOurs(Pixels);
    MakeSdls(Pixels);
  }

  ~TScenes() {
    if (SdlTexture) SDL_DestroyTexture(SdlTexture);
    if (SdlRenderer) SDL_DestroyRenderer(SdlRenderer);
    if (SdlWindow) SDL_DestroyWindow(SdlWindow);
    Renderer.reset();
    Platform->DestroyGameWindow();
    Platform.reset();
  }

  std::string SdlDriver;
  std::vector<TSpriteSpec> Specs;
  std::vector<TSprite*> Sprites;

  // Turns every sprite a little (both scenes read the same angles).
  void Turn() {
    for (std::size_t I = 0; I < Specs.size(); ++I) {
      Specs[I].Angle += 1.0f;
      Sprites[I]->SetAngle(Specs[I].Angle);
    }
  }

  // One frame of ours: seconds of the game thread's submitting, of the render thread's, and of
  // the whole frame.
  void DrawOurs(double& Submit, double& RenderThread, double& Frame) {
    Platform::TGraphicsDevice& Device = Renderer->GraphicsDevice();
    const TClock::time_point Start = TClock::now();
    Renderer->Render();
    const TClock::time_point Submitted = TClock::now();
    Device.Finish();
    Frame = Seconds(Start, TClock::now());
    Submit = Seconds(Start, Submitted);
    RenderThread = Device.Timings().RenderThreadSeconds;
  }

  // The same frame through SDL's renderer.
  void DrawSdls(double& Submit, double& Frame) {
    const TClock::time_point Start = TClock::now();
    SDL_SetRenderDrawColor(SdlRenderer, 0, 0, 0, 255);
    SDL_RenderClear(SdlRenderer);
    for (const TSpriteSpec& S : Specs) {
      const SDL_Rect Source{(S.Segment % kColumns) * kSide, (S.Segment / kColumns) * kSide, kSide,
                            kSide};
      const SDL_FRect Target{S.X - kSide / 2.0f, S.Y - kSide / 2.0f, kSide, kSide};
      SDL_SetTextureColorMod(SdlTexture, static_cast<Uint8>(S.Color >> 16),
                             static_cast<Uint8>(S.Color >> 8), static_cast<Uint8>(S.Color));
      SDL_SetTextureAlphaMod(SdlTexture, static_cast<Uint8>(S.Color >> 24));
      const int Flip = (S.FlipX ? SDL_FLIP_HORIZONTAL : 0) | (S.FlipY ? SDL_FLIP_VERTICAL : 0);
      SDL_RenderCopyExF(SdlRenderer, SdlTexture, &Source, &Target, S.Angle, nullptr,
                        static_cast<SDL_RendererFlip>(Flip));
    }
    SDL_RenderPresent(SdlRenderer);
    const TClock::time_point Submitted = TClock::now();
    FinishSdls();
    Submit = Seconds(Start, Submitted);
    Frame = Seconds(Start, TClock::now());
  }

 private:
  std::unique_ptr<Platform::TPlatform> Platform;
  SDL_Window* SdlWindow = nullptr;
  SDL_Renderer* SdlRenderer = nullptr;
  SDL_Texture* SdlTexture = nullptr;

  static double Seconds(TClock::time_point From, TClock::time_point To) {
    return std::chrono::duration<double>(To - From).count();
  }

  // Waits until the GPU work of SDL's renderer is done (its context is the game thread's current
  // one: ours is only ever current there while textures are made).
  static void FinishSdls() {
    using TFinish = void (*)();
    static const auto GlFinish = reinterpret_cast<TFinish>(SDL_GL_GetProcAddress("glFinish"));
    GlFinish();
  }

  void MakeSpecs() {
    std::mt19937 Random(20240611);
    std::uniform_real_distribution<float> X(0, kWidth), Y(0, kHeight), Angle(0, 360);
    for (int I = 0; I < kSprites; ++I) {
      const auto Tint = static_cast<TColor>(Random() & 0xFFFFFF) | 0x808080u;
      const TColor Alpha = I % 4 == 0 ? 0x80000000u : 0xFF000000u;
      Specs.push_back({X(Random), Y(Random), Angle(Random), Alpha | Tint, I % kSegments, I % 3 == 0,
                       I % 5 == 0});
    }
  }

  void MakeOurs(const std::vector<std::uint8_t>& Pixels) {
    Register = TRegister{};
    Register.DesktopWidth = kWidth;
    Register.DesktopHeight = kHeight;
    Register.WindowWidth = kWidth;
    Register.WindowHeight = kHeight;
    Register.SpritePool = kSprites;
    ErrorLog.Create();
    Platform::TSdlOptions Options;
    Options.Headless = true;
    Platform = Platform::CreateSdlPlatform(Options);
    Platform->CreateGameWindow({0, 0, kWidth, kHeight}, "Calvora bench");
    Renderer = std::make_unique<TRenderer>(*Platform);

    auto Atlas = std::make_unique<TTexture>();
    Atlas->Name = "Atlas";
    Atlas->Width = Atlas->ImageWidth = kAtlas;
    Atlas->Height = Atlas->ImageHeight = kAtlas;
    Atlas->DeviceTexture = Renderer->GraphicsDevice().CreateTexture(
        kAtlas, kAtlas, Platform::TTextureFormat::A8R8G8B8);
    int Pitch = 0;
    std::uint8_t* Memory = Atlas->DeviceTexture->Lock(Pitch);
    for (int Row = 0; Row < kAtlas; ++Row)
      std::copy_n(&Pixels[static_cast<std::size_t>(Row) * kAtlas * 4], kAtlas * 4,
                  Memory + static_cast<std::size_t>(Row) * Pitch);
    Atlas->DeviceTexture->Unlock();
    for (int I = 0; I < kSegments; ++I)
      Atlas->Segments.push_back(Atlas->PixelSegment(static_cast<float>(I % kColumns * kSide),
                                                    static_cast<float>(I / kColumns * kSide), kSide,
                                                    kSide));
    TTexture& Texture = *Renderer->Textures.Insert(std::move(Atlas), nullptr, TInsertMode::Front);

    // Added last to first: equal depths are drawn newest first, so the walk follows Specs.
    Sprites.resize(Specs.size());
    for (std::size_t I = Specs.size(); I-- > 0;) {
      const TSpriteSpec& S = Specs[I];
      TSprite* Sprite = Renderer->AddSprite(0);
      Sprite->SetTexture(&Texture);
      Sprite->SetSegment(S.Segment);
      Sprite->SetPosition({S.X - kWidth / 2.0f, S.Y - kHeight / 2.0f});
      Sprite->SetSize({kSide, kSide});
      Sprite->SetAngle(S.Angle);
      Sprite->SetColor(S.Color);
      Sprite->SetFlipX(S.FlipX);
      Sprite->SetFlipY(S.FlipY);
      Sprites[I] = Sprite;
    }
  }

  void MakeSdls(const std::vector<std::uint8_t>& Pixels) {
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");  // bilinear, as ours
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
    SdlWindow = SDL_CreateWindow("SDL bench", 0, 0, kWidth, kHeight, SDL_WINDOW_HIDDEN);
    if (!SdlWindow) throw std::runtime_error(SDL_GetError());
    SdlRenderer = SDL_CreateRenderer(SdlWindow, -1, SDL_RENDERER_ACCELERATED);
    if (!SdlRenderer) throw std::runtime_error(SDL_GetError());
    SDL_RendererInfo Info{};
    SDL_GetRendererInfo(SdlRenderer, &Info);
    SdlDriver = Info.name;
    SdlTexture = SDL_CreateTexture(SdlRenderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC,
                                   kAtlas, kAtlas);
    if (!SdlTexture) throw std::runtime_error(SDL_GetError());
    SDL_UpdateTexture(SdlTexture, nullptr, Pixels.data(), kAtlas * 4);
    SDL_SetTextureBlendMode(SdlTexture, SDL_BLENDMODE_BLEND);
  }
};

TScenes& Scenes() {
  static TScenes Made;
  return Made;
}

// Frames of ours and SDL's in turn; the figures are medians over the frames of the run.
void BM_RendererVersusSdl(benchmark::State& State) {
  TScenes& S = Scenes();
  const bool Animated = State.range(0) != 0;
  std::vector<double> OurSubmit, OurRenderThread, OurTotal, OurFrame, SdlSubmit, SdlFrame;
  for (int Warm = 0; Warm < 3; ++Warm) {
    double A, B, C;
    S.DrawOurs(A, B, C);
    S.DrawSdls(A, B);
  }
  for (auto _ : State) {
    if (Animated) S.Turn();
    double Submit = 0, RenderThread = 0, Frame = 0;
    S.DrawOurs(Submit, RenderThread, Frame);
    OurSubmit.push_back(Submit);
    OurRenderThread.push_back(RenderThread);
    OurTotal.push_back(Submit + RenderThread);
    OurFrame.push_back(Frame);
    S.DrawSdls(Submit, Frame);
    SdlSubmit.push_back(Submit);
    SdlFrame.push_back(Frame);
  }
  const double Micro = 1e6;
  const double OurSubmitMedian = Median(OurSubmit), SdlSubmitMedian = Median(SdlSubmit);
  const double OurTotalMedian = Median(OurTotal);
  const double OurFrameMedian = Median(OurFrame), SdlFrameMedian = Median(SdlFrame);
  State.counters["ours_game_submit_us"] = OurSubmitMedian * Micro;
  State.counters["ours_render_thread_us"] = Median(OurRenderThread) * Micro;
  State.counters["ours_submit_total_us"] = OurTotalMedian * Micro;
  State.counters["ours_frame_us"] = OurFrameMedian * Micro;
  State.counters["sdl_submit_us"] = SdlSubmitMedian * Micro;
  State.counters["sdl_frame_us"] = SdlFrameMedian * Micro;
  State.counters["submit_ratio"] = OurSubmitMedian / SdlSubmitMedian;
  State.counters["total_submit_ratio"] = OurTotalMedian / SdlSubmitMedian;
  State.counters["frame_ratio"] = OurFrameMedian / SdlFrameMedian;
  State.SetLabel("SDL renderer: " + S.SdlDriver + ", " + std::to_string(Renderer->Stats().Drawn) +
                 " sprites");
}
BENCHMARK(BM_RendererVersusSdl)
    ->ArgName("animated")
    ->Arg(1)
    ->Arg(0)
    ->Iterations(100)
    ->Unit(benchmark::kMillisecond);

// The renderer's walk over the same sprites on the Null device, which only records the quads.
void BM_RenderOnNullDevice(benchmark::State& State) {
  TScenes& S = Scenes();
  Platform::TNullPlatform NullPlatform;
  TRenderer Local(NullPlatform);
  auto Atlas = std::make_unique<TTexture>();
  Atlas->Name = "Atlas";
  Atlas->DeviceTexture =
      Local.GraphicsDevice().CreateTexture(kAtlas, kAtlas, Platform::TTextureFormat::A8R8G8B8);
  Atlas->Segments = S.Sprites[0]->Texture()->Segments;
  TTexture& Texture = *Local.Textures.Insert(std::move(Atlas), nullptr, TInsertMode::Front);
  std::vector<TSprite*> Sprites;
  for (const TSpriteSpec& Spec : S.Specs) {
    TSprite* Sprite = Local.AddSprite(0);
    Sprite->SetTexture(&Texture);
    Sprite->SetSegment(Spec.Segment);
    Sprite->SetPosition({Spec.X - kWidth / 2.0f, Spec.Y - kHeight / 2.0f});
    Sprite->SetSize({kSide, kSide});
    Sprite->SetAngle(Spec.Angle);
    Sprite->SetColor(Spec.Color);
    Sprites.push_back(Sprite);
  }
  const bool Animated = State.range(0) != 0;
  Local.Render();
  for (auto _ : State) {
    if (Animated) {
      State.PauseTiming();
      for (TSprite* Sprite : Sprites)
        Sprite->SetAngle(Sprite->Angle() + 1.0f);
      State.ResumeTiming();
    }
    Local.Render();
  }
  State.SetLabel(std::to_string(Local.Stats().Drawn) + " sprites");
}
BENCHMARK(BM_RenderOnNullDevice)
    ->ArgName("animated")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMicrosecond);

}  // namespace

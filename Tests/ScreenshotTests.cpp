// ScreenshotTests.cpp -- real frames of the OpenGL device on SDL's offscreen driver: a small
// scene of turned, tinted, mirrored and half-transparent sprites from atlases the test makes,
// checked pixel by pixel where the answer is known, against a stored reference picture, and
// drawn in batches against drawn one by one. The device draws on a render thread of its own:
// textures made, changed and freed between frames, frames read back at once, frames larger than
// one draw call, a device closed while it draws, and a failure on that thread are checked too.
// The generated data set is composed as the mission screen composes it and checked where the
// marks of the texts and the map must show.
//
// CALVORA_UPDATE_SCREENSHOTS=1 rewrites the reference picture instead of comparing with it.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>

#include "EngineImages.h"
#include "EngineParticles.h"
#include "EngineRegister.h"
#include "EngineRenderer.h"
#include "EngineTexts.h"
#include "Platform.h"
#include "TestSupport.h"

namespace {

constexpr int kFrameWidth = 320;  // a 16:10 window: the 1280 x 800 virtual screen at a quarter
constexpr int kFrameHeight = 200;
const std::string kReference = std::string(CALVORA_FIXTURES) + "/Screenshots/Scene.png";

struct TRgba {
  int R, G, B, A;
};

// One frame read back: RGBA rows from the top.
struct TFrame {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint8_t> Rgba;

  // The pixel under a point of the virtual screen.
  TRgba At(float X, float Y) const {
    const int Column = static_cast<int>((X + 640.0f) / 1280.0f * static_cast<float>(Width));
    const int Row = static_cast<int>((Y + 400.0f) / 800.0f * static_cast<float>(Height));
    const std::uint8_t* P = &Rgba[(static_cast<std::size_t>(Row) * Width + Column) * 4];
    return {P[0], P[1], P[2], P[3]};
  }
};

void ExpectColor(const TFrame& Frame, float X, float Y, TRgba Want, const char* What) {
  const TRgba Got = Frame.At(X, Y);
  const int Tolerance = 3;
  EXPECT_TRUE(std::abs(Got.R - Want.R) <= Tolerance && std::abs(Got.G - Want.G) <= Tolerance &&
              std::abs(Got.B - Want.B) <= Tolerance)
      << What << " at (" << X << ", " << Y << "): got " << Got.R << "," << Got.G << "," << Got.B
      << ", want " << Want.R << "," << Want.G << "," << Want.B;
}

// A game window of 320 x 200 on the offscreen driver, with its renderer.
class TOffscreenGame {
 public:
  explicit TOffscreenGame(int MaxBatchQuads, int Width = kFrameWidth, int Height = kFrameHeight) {
    Register = TRegister{};
    Register.DesktopWidth = std::max(1024, Width);
    Register.DesktopHeight = std::max(768, Height);
    Register.WindowWidth = Width;
    Register.WindowHeight = Height;
    Register.SpritePool = 32;
    Platform::TSdlOptions Options;
    Options.Headless = true;
    Options.MaxBatchQuads = MaxBatchQuads;
    Platform = Platform::CreateSdlPlatform(Options);
    Platform->CreateGameWindow({0, 0, Width, Height}, "Screenshot");
    Renderer = std::make_unique<TRenderer>(*Platform);
  }
  ~TOffscreenGame() {
    Renderer.reset();
    Platform->DestroyGameWindow();
    Register = TRegister{};
  }

  TFrame Draw() {
    Renderer->Render();
    TFrame Frame;
    Frame.Rgba = Renderer->GraphicsDevice().ReadFrame(Frame.Width, Frame.Height);
    return Frame;
  }

 private:
  std::unique_ptr<Platform::TPlatform> Platform;
};

// A texture of Width x Height pixels in Format, each element written by Fill (which gets the
// element's column and row and its memory), cut into Columns side-by-side segments.
TTexture& MakeTexture(const std::string& Name, int Width, int Height,
                      Platform::TTextureFormat Format, int Columns,
                      const std::function<void(int X, int Y, std::uint8_t* Element)>& Fill) {
  auto Texture = std::make_unique<TTexture>();
  Texture->Name = Name;
  Texture->Width = Texture->ImageWidth = Width;
  Texture->Height = Texture->ImageHeight = Height;
  Texture->DeviceTexture = Renderer->GraphicsDevice().CreateTexture(Width, Height, Format);
  int Pitch = 0;
  std::uint8_t* Memory = Texture->DeviceTexture->Lock(Pitch);
  const int Bytes = Platform::ElementBytes(Format);
  for (int Y = 0; Y < Height; ++Y)
    for (int X = 0; X < Width; ++X)
      Fill(X, Y,
           Memory + static_cast<std::size_t>(Y) * Pitch + static_cast<std::size_t>(X) * Bytes);
  Texture->DeviceTexture->Unlock();
  const auto CellWidth = static_cast<float>(Width / Columns);
  for (int I = 0; I < Columns; ++I)
    Texture->Segments.push_back(Texture->PixelSegment(CellWidth * static_cast<float>(I), 0,
                                                      CellWidth, static_cast<float>(Height)));
  return *Renderer->Textures.Insert(std::move(Texture), nullptr, TInsertMode::Front);
}

void Put32(std::uint8_t* Element, std::uint32_t Argb) {
  for (int I = 0; I < 4; ++I)
    Element[I] = static_cast<std::uint8_t>(Argb >> (8 * I));
}

// The atlas "Letters": segment 0 is a letter F on a transparent ground (red stem on the left,
// green bar along the top) with a blue block at the bottom right, so every turn and mirror
// shows; segment 1 runs from opaque white on the left to transparent on the right.
TTexture& MakeLetters() {
  return MakeTexture("Letters", 64, 32, Platform::TTextureFormat::A8R8G8B8, 2,
                     [](int X, int Y, std::uint8_t* Element) {
                       std::uint32_t Argb = 0;
                       if (X >= 32) {
                         const auto Alpha = static_cast<std::uint32_t>(255 - (X - 32) * 255 / 31);
                         Argb = Alpha << 24 | 0xFFFFFF;
                       } else if (X >= 4 && X < 10 && Y >= 4 && Y < 28) {
                         Argb = 0xFFFF0000;
                       } else if (Y >= 4 && Y < 10 && X >= 4 && X < 28) {
                         Argb = 0xFF00FF00;
                       } else if (X >= 18 && X < 28 && Y >= 18 && Y < 28) {
                         Argb = 0xFF0000FF;
                       }
                       Put32(Element, Argb);
                     });
}

// "Checks": 4 x 4 cells of opaque yellow and cyan, kept as 16-bit A4R4G4B4 pixels.
TTexture& MakeChecks() {
  return MakeTexture("Checks", 16, 16, Platform::TTextureFormat::A4R4G4B4, 1,
                     [](int X, int Y, std::uint8_t* Element) {
                       const std::uint16_t Pixel = ((X / 4 + Y / 4) % 2) ? 0xFFF0 : 0xF0FF;
                       Element[0] = static_cast<std::uint8_t>(Pixel);
                       Element[1] = static_cast<std::uint8_t>(Pixel >> 8);
                     });
}

// "Glass": white at half opacity.
TTexture& MakeGlass() {
  return MakeTexture("Glass", 4, 4, Platform::TTextureFormat::A8R8G8B8, 1,
                     [](int, int, std::uint8_t* Element) { Put32(Element, 0x80FFFFFF); });
}

// "White": opaque white, kept as 16-bit R5G6B5 pixels; the sprite colour is all that shows.
TTexture& MakeWhite() {
  return MakeTexture("White", 4, 4, Platform::TTextureFormat::R5G6B5, 1,
                     [](int, int, std::uint8_t* Element) { Element[0] = Element[1] = 0xFF; });
}

TSprite* Place(TTexture& Texture, std::int32_t Depth, TVector Position, TVector Size,
               TColor Color = 0xFFFFFFFF, int Segment = 0) {
  TSprite* Sprite = Renderer->AddSprite(Depth);
  Sprite->SetTexture(&Texture);
  Sprite->SetPosition(Position);
  Sprite->SetSize(Size);
  Sprite->SetColor(Color);
  Sprite->SetSegment(Segment);
  return Sprite;
}

// The scene: the checks, darkened, over the left half; on top of them, letters plain, turned a
// quarter, mirrored and turned half (by both mirrors), then tinted and turned, half-transparent,
// the fading segment, and overlapping white squares whose order is the depth rule's. Textures
// alternate, so a batch ends many times.
void BuildScene() {
  TTexture& Letters = MakeLetters();
  TTexture& Checks = MakeChecks();
  TTexture& White = MakeWhite();
  TTexture& Glass = MakeGlass();
  Place(Checks, 0, {-320, 0}, {640, 800}, 0xFF404040);
  Place(Letters, 1, {-450, -200}, {256, 256});
  Place(Letters, 1, {-150, -200}, {256, 256})->SetAngle(90);
  Place(Letters, 1, {150, -200}, {256, 256})->SetFlipX(true);
  TSprite* Turned = Place(Letters, 1, {450, -200}, {256, 256});
  Turned->SetFlipX(true);
  Turned->SetFlipY(true);
  Place(Letters, 2, {-450, 180}, {256, 256}, 0xFFFF8080)->SetAngle(30);
  Place(Checks, 2, {-150, 180}, {128, 128}, 0xFFFFFFFF)->SetAngle(-45);
  Place(Letters, 3, {150, 180}, {256, 256}, 0x80FFFFFF);
  Place(Letters, 3, {450, 120}, {256, 128}, 0xFF80FF80, 1);
  // Equal depth: the older square is seen on top; a deeper one lies over both.
  Place(White, 4, {380, 300}, {120, 120}, 0xFFFF0000);
  Place(White, 4, {440, 300}, {120, 120}, 0xFF00FF00);
  Place(White, 5, {500, 330}, {80, 80}, 0x800000FF);
  // Alpha 1 is never drawn. Black glass over white: alpha 2 on the half-transparent glass comes
  // to 1 of 255 and is dropped by the shader, alpha 6 comes to 3 and darkens the white.
  Place(White, 6, {0, 0}, {1280, 800}, 0x01FFFFFF);
  Place(White, 5, {60, 360}, {200, 70});
  Place(Glass, 6, {20, 360}, {60, 60}, 0x02000000);
  Place(Glass, 6, {100, 360}, {60, 60}, 0x06000000);
}

// The virtual-screen point of the texel centre (TexelX, TexelY) of a 32 x 32 segment shown by a
// 256 x 256 sprite at Centre, turned clockwise by Degrees.
TVector TexelOnScreen(TVector Centre, float TexelX, float TexelY, float Degrees = 0) {
  const float X = ((TexelX + 0.5f) / 32.0f - 0.5f) * 256.0f;
  const float Y = ((TexelY + 0.5f) / 32.0f - 0.5f) * 256.0f;
  const float Radians = Degrees * 3.14159265f / 180.0f;
  const float C = std::cos(Radians), S = std::sin(Radians);
  return {Centre.X + X * C - Y * S, Centre.Y + X * S + Y * C};
}

void ExpectTexel(const TFrame& Frame, TVector Point, TRgba Want, const char* What) {
  ExpectColor(Frame, Point.X, Point.Y, Want, What);
}

class ScreenshotTest : public ::testing::Test {
 protected:
  TEnvironment Environment;

  void SetUp() override {
    ErrorLog.Create();
    Environment.Set("SDL_VIDEODRIVER", "offscreen");
  }
  void TearDown() override { ErrorLog.Free(); }

  TFrame DrawScene(int MaxBatchQuads) {
    TOffscreenGame Game(MaxBatchQuads);
    BuildScene();
    Game.Draw();  // a first frame, so the second shows what stays
    return Game.Draw();
  }
  // Writes a frame where a failing test can point to it.
  std::string Keep(const TFrame& Frame, const std::string& Name) {
    const std::string Path = ::testing::TempDir() + Name;
    Platform::WritePng(Path, Frame.Rgba, Frame.Width, Frame.Height);
    return Path;
  }
  // The frame looks like the stored reference picture Reference (a file of the fixtures).
  void ExpectLikeReference(const TFrame& Frame, const std::string& Reference = kReference);
  // Compares with the reference, or rewrites it when CALVORA_UPDATE_SCREENSHOTS=1.
  void CompareOrUpdate(const TFrame& Frame, const std::string& Reference);
};

TEST_F(ScreenshotTest, SceneShowsEverySpriteAsPlacedTintedAndBlended) {
  const TFrame Frame = DrawScene(0);
  ASSERT_EQ(Frame.Width, kFrameWidth);
  ASSERT_EQ(Frame.Height, kFrameHeight);
  const TRgba Red{255, 0, 0, 255}, Green{0, 255, 0, 255}, Blue{0, 0, 255, 255};

  // Plain: the stem on the left, the bar along the top, the block at the bottom right.
  ExpectTexel(Frame, TexelOnScreen({-450, -200}, 6, 20), Red, "stem");
  ExpectTexel(Frame, TexelOnScreen({-450, -200}, 20, 6), Green, "bar");
  ExpectTexel(Frame, TexelOnScreen({-450, -200}, 22, 22), Blue, "block");
  // A quarter turn clockwise: the stem lies along the top, the block at the bottom left.
  ExpectTexel(Frame, TexelOnScreen({-150, -200}, 6, 20, 90), Red, "turned stem");
  ExpectTexel(Frame, TexelOnScreen({-150, -200}, 22, 22, 90), Blue, "turned block");
  ExpectTexel(Frame, {-150 + 80, -200 - 72}, Red, "turned stem, top right");
  // Mirrored left-right: the stem on the right.
  ExpectTexel(Frame, TexelOnScreen({150, -200}, 25, 20), Red, "mirrored stem");
  ExpectTexel(Frame, TexelOnScreen({150, -200}, 9, 22), Blue, "mirrored block");
  // Both mirrors: half a turn, the block at the top left.
  ExpectTexel(Frame, TexelOnScreen({450, -200}, 25, 11), Red, "half-turned stem");
  ExpectTexel(Frame, TexelOnScreen({450, -200}, 9, 9), Blue, "half-turned block");
  // Tinted 0xFF8080 and turned 30 degrees: blue x (1, 0.5, 0.5).
  ExpectTexel(Frame, TexelOnScreen({-450, 180}, 22, 22, 30), {0, 0, 128, 255}, "tinted block");
  ExpectTexel(Frame, TexelOnScreen({-450, 180}, 6, 20, 30), {255, 0, 0, 255}, "tinted stem");
  // Half-transparent over black.
  ExpectTexel(Frame, TexelOnScreen({150, 180}, 20, 6), {0, 128, 0, 255}, "half green");
  // The fading segment, tinted 0x80FF80: nearly opaque on the left, nearly gone on the right.
  const TRgba Left = Frame.At(450 - 120, 120), Right = Frame.At(450 + 120, 120);
  EXPECT_GE(Left.G, 240);
  EXPECT_NEAR(Left.R, Left.G / 2, 3);
  EXPECT_EQ(Left.R, Left.B);
  EXPECT_LE(Right.G, 16);
  // Darkened checks: cyan and yellow at a quarter, sampled at texel centres.
  ExpectColor(Frame, -580, -325, {0, 64, 64, 255}, "checks");
  ExpectColor(Frame, -420, -325, {64, 64, 0, 255}, "checks, next cell");
  // A fragment whose alpha comes to 1 of 255 is dropped; 3 of 255 is blended.
  EXPECT_EQ(Frame.At(20, 360).R, 255) << "alpha 1 dropped";
  const TRgba Faint = Frame.At(100, 360);
  EXPECT_GE(Faint.R, 250) << "alpha 3 drawn";
  EXPECT_LE(Faint.R, 253) << "alpha 3 drawn";
  // The older of two equal-depth squares is on top; the deeper half-transparent one over it.
  ExpectColor(Frame, 410, 270, Red, "older square on top");
  ExpectColor(Frame, 490, 260, Green, "newer square beside");
  ExpectColor(Frame, 520, 350, {0, 0, 128, 255}, "half blue over black");
  ExpectColor(Frame, 470, 300, {0, 127, 128, 255}, "half blue over green");
  // Nothing where nothing was drawn (the alpha-1 sprite covers everything and shows nowhere).
  ExpectColor(Frame, 10, -10, {0, 0, 0, 255}, "black");
  for (std::size_t I = 3; I < Frame.Rgba.size(); I += 4)
    ASSERT_EQ(Frame.Rgba[I], 255) << "the frame is opaque";
}

TEST_F(ScreenshotTest, SceneMatchesTheReferencePicture) {
  CompareOrUpdate(DrawScene(0), kReference);
}

void ScreenshotTest::CompareOrUpdate(const TFrame& Frame, const std::string& Reference) {
  if (const char* Update = std::getenv("CALVORA_UPDATE_SCREENSHOTS"); Update && *Update == '1') {
    ASSERT_EQ(Platform::WritePng(Reference, Frame.Rgba, Frame.Width, Frame.Height), "");
    GTEST_SKIP() << "reference rewritten: " << Reference;
  }
  ExpectLikeReference(Frame, Reference);
}

void ScreenshotTest::ExpectLikeReference(const TFrame& Frame, const std::string& File) {
  const std::string Actual = std::filesystem::path(File).stem().string() + "-actual.png";
  const std::optional<std::string> Stored = ReadTextFile(File);
  ASSERT_TRUE(Stored) << "no reference picture " << File;
  const TImage Reference = DecodeImage(*Stored, 1, 4096);
  ASSERT_EQ(Reference.Width, Frame.Width);
  ASSERT_EQ(Reference.Height, Frame.Height);
  // Rasterisers may differ on an edge pixel or by a step of rounding; the picture may not.
  long Total = 0;
  int Different = 0;
  for (int I = 0; I < Frame.Width * Frame.Height; ++I) {
    const std::uint8_t* Got = &Frame.Rgba[static_cast<std::size_t>(I) * 4];
    const std::uint8_t* Want = &Reference.Pixels[static_cast<std::size_t>(I) * 4];  // B, G, R, A
    int Largest = 0;
    for (int Channel = 0; Channel < 3; ++Channel) {
      const int Step = std::abs(Got[Channel] - Want[2 - Channel]);
      Total += Step;
      Largest = std::max(Largest, Step);
    }
    if (Largest > 16) ++Different;
  }
  const double Mean = static_cast<double>(Total) / (Frame.Width * Frame.Height * 3);
  EXPECT_LT(Mean, 0.5) << "mean difference; this frame: " << Keep(Frame, Actual);
  EXPECT_LE(Different, Frame.Width * Frame.Height / 200)
      << "pixels off by more than 16; this frame: " << Keep(Frame, Actual);
}

TEST_F(ScreenshotTest, BatchesDrawWhatOneByOneDraws) {
  const TFrame OneByOne = DrawScene(1);
  for (int Limit : {3, 0}) {
    SCOPED_TRACE(Limit);
    const TFrame Batched = DrawScene(Limit);
    ASSERT_EQ(Batched.Rgba.size(), OneByOne.Rgba.size());
    EXPECT_TRUE(Batched.Rgba == OneByOne.Rgba)
        << "batched: " << Keep(Batched, "Scene-batched.png")
        << ", one by one: " << Keep(OneByOne, "Scene-one-by-one.png");
  }
}

TEST_F(ScreenshotTest, FullScreenSwitchResizesTheBackBuffer) {
  TOffscreenGame Game(0);
  MakeWhite();
  Place(*static_cast<TTexture*>(Renderer->Textures.First()), 0, {0, 0}, {1280, 800}, 0xFF102030);
  TFrame Frame = Game.Draw();
  EXPECT_EQ(Frame.Width, kFrameWidth);
  Renderer->SetFullScreen(true);
  EXPECT_FALSE(Renderer->Lost());
  Frame = Game.Draw();
  EXPECT_EQ(Frame.Width, Register.Width);
  EXPECT_EQ(Frame.Height, Register.Height);
  // 1024 x 768 is narrower than 16:10: the virtual screen grows downward, and the 1280 x 800
  // sprite leaves black bands above and below.
  ExpectColor(Frame, 0, 0, {16, 32, 48, 255}, "centre");
  EXPECT_EQ(Frame.Rgba[0], 0);
  Renderer->SetFullScreen(false);
  EXPECT_EQ(Game.Draw().Width, kFrameWidth);
}

// ---- Frames drawn on the device's render thread ----

// A quad of Texture shown whole, centred at (X, Y) in the device's units (y up), Width x Height,
// in Color.
Platform::TQuad PlainQuad(const Platform::TDeviceTexture& Texture, float X, float Y, float Width,
                          float Height, std::uint32_t Color) {
  Platform::TQuad Quad;
  Quad.Texture = &Texture;
  Quad.World = {};
  Quad.World.M[0] = Width;
  Quad.World.M[5] = Height;
  Quad.World.M[10] = Quad.World.M[15] = 1.0f;
  Quad.World.M[12] = X;
  Quad.World.M[13] = Y;
  Quad.TextureMatrix = {};
  Quad.TextureMatrix.M[0] = Quad.TextureMatrix.M[5] = 1.0f;
  Quad.TextureMatrix.M[10] = Quad.TextureMatrix.M[15] = 1.0f;
  Quad.Color = Color;
  return Quad;
}

TFrame ReadBack(Platform::TGraphicsDevice& Device) {
  TFrame Frame;
  Frame.Rgba = Device.ReadFrame(Frame.Width, Frame.Height);
  return Frame;
}

// How many pixels of Frame differ from Want by more than a step of rounding.
int PixelsUnlike(const TFrame& Frame, TRgba Want) {
  int Unlike = 0;
  for (std::size_t I = 0; I + 3 < Frame.Rgba.size(); I += 4)
    if (std::abs(Frame.Rgba[I] - Want.R) > 1 || std::abs(Frame.Rgba[I + 1] - Want.G) > 1 ||
        std::abs(Frame.Rgba[I + 2] - Want.B) > 1)
      ++Unlike;
  return Unlike;
}

// Textures made, drawn and freed at once, and a texture written over and back between frames,
// while earlier frames may still be drawn: a texture lives until the frames using it are drawn,
// and every upload lands between the frames it falls between.
TEST_F(ScreenshotTest, TexturesMadeChangedAndFreedBetweenFramesLeaveTheSceneAsStored) {
  TOffscreenGame Game(0);
  BuildScene();
  TTexture& Letters = *Renderer->Textures.FindAs<TTexture>("Letters");
  for (int Round = 0; Round < 6; ++Round) {
    SCOPED_TRACE(Round);
    TTexture& Cover =
        MakeTexture("Cover" + std::to_string(Round), 8, 8, Platform::TTextureFormat::A8R8G8B8, 1,
                    [](int, int, std::uint8_t* Element) { Put32(Element, 0xFFFF00FF); });
    TSprite* Sprite = Place(Cover, 9, {0, 0}, {1280, 800});
    Renderer->Render();
    Sprite->Remove();
    Cover.Remove();  // freed with the frame that shows it handed over a moment ago

    int Pitch = 0;
    std::uint8_t* Memory = Letters.DeviceTexture->Lock(Pitch);
    const std::vector<std::uint8_t> Kept(Memory, Memory + static_cast<std::size_t>(Pitch) * 32);
    std::memset(Memory, 0, Kept.size());
    Letters.DeviceTexture->Unlock();
    Renderer->Render();
    Memory = Letters.DeviceTexture->Lock(Pitch);
    std::memcpy(Memory, Kept.data(), Kept.size());
    Letters.DeviceTexture->Unlock();
    Renderer->Render();
    EXPECT_FALSE(Renderer->Lost());
  }
  const TFrame Frame = Game.Draw();
  EXPECT_FALSE(Renderer->Lost());
  ExpectLikeReference(Frame);
}

// ReadFrame waits for the frame handed over last, and shows it, not the frame being recorded
// meanwhile into the other frame's arrays.
TEST_F(ScreenshotTest, AFrameReadRightAfterRenderIsTheFrameHandedOverLast) {
  TOffscreenGame Game(0);
  TTexture& White = MakeWhite();
  TSprite* Fill = Place(White, 0, {0, 0}, {1280, 800});
  for (int I = 0; I < 16; ++I) {
    const int Level = I * 17;
    Fill->SetColor(0xFF000000u | static_cast<std::uint32_t>(Level) << 16 |
                   static_cast<std::uint32_t>(255 - Level) << 8 | 0x40u);
    const TFrame Frame = Game.Draw();
    ASSERT_EQ(PixelsUnlike(Frame, {Level, 255 - Level, 0x40, 255}), 0) << "frame " << I;
  }

  Platform::TGraphicsDevice& Device = Renderer->GraphicsDevice();
  Fill->SetColor(0xFF0000FF);
  Renderer->Render();  // blue, handed over
  Device.BeginFrame();
  for (int I = 0; I < 2000; ++I)
    Device.DrawQuad(PlainQuad(*White.DeviceTexture, 0, 0, 1280, 800, 0xFFFF0000));
  EXPECT_EQ(PixelsUnlike(ReadBack(Device), {0, 0, 255, 255}), 0) << "the frame handed over";
  ASSERT_TRUE(Device.EndFrame());
  EXPECT_EQ(PixelsUnlike(ReadBack(Device), {255, 0, 0, 255}), 0) << "the frame recorded meanwhile";
}

// 20000 quads in one frame (80000 corners, past what 16-bit indices reach), each in its own cell
// of a 200 x 100 grid with its number as its colour, for the largest draw call and for an odd
// limit: every run of one call starts where the last ended, and every quad shows in its cell.
TEST_F(ScreenshotTest, EveryQuadOfAFrameLargerThanOneDrawCallShowsInItsPlace) {
  constexpr int kColumns = 200, kRows = 100, kQuads = kColumns * kRows;
  const auto Color = [](int Index) {
    return 0xFF000080u | static_cast<std::uint32_t>(Index & 0xFF) << 16 |
           static_cast<std::uint32_t>(Index >> 8) << 8;
  };
  for (int Limit : {0, 777}) {
    SCOPED_TRACE(Limit);
    TOffscreenGame Game(Limit);
    Platform::TGraphicsDevice& Device = Renderer->GraphicsDevice();
    Device.SetView(1280, 800, 1280, 800);  // a pixel per unit: cells of 6.4 x 8 pixels
    TTexture& White = MakeWhite();
    Device.BeginFrame();
    for (int I = 0; I < kQuads; ++I) {
      const float X = -640.0f + (static_cast<float>(I % kColumns) + 0.5f) * 6.4f;
      const float Y = 400.0f - (static_cast<float>(I / kColumns) + 0.5f) * 8.0f;
      Device.DrawQuad(PlainQuad(*White.DeviceTexture, X, Y, 6.4f, 8.0f, Color(I)));
    }
    ASSERT_TRUE(Device.EndFrame());
    const TFrame Frame = ReadBack(Device);
    ASSERT_EQ(Frame.Width, 1280);
    ASSERT_EQ(Frame.Height, 800);
    int Wrong = 0;
    for (int I = 0; I < kQuads; ++I) {
      const int Column = static_cast<int>((static_cast<float>(I % kColumns) + 0.5f) * 6.4f);
      const int Row = (I / kColumns) * 8 + 4;
      const std::uint8_t* P = &Frame.Rgba[(static_cast<std::size_t>(Row) * 1280 + Column) * 4];
      if ((P[0] | P[1] << 8) != I || P[2] != 0x80) {
        if (Wrong == 0) ADD_FAILURE() << "quad " << I << " shows " << (P[0] | P[1] << 8);
        ++Wrong;
      }
    }
    EXPECT_EQ(Wrong, 0);
  }
}

// Closing the renderer or the device right after handing over frames returns without a hang or a
// crash, and the device accepts every frame up to its closing (the sanitizer build checks that
// nothing is left behind).
TEST_F(ScreenshotTest, ClosingWhileFramesAreDrawnEndsInOrder) {
  for (int Round = 0; Round < 3; ++Round) {
    TOffscreenGame Game(0);
    BuildScene();
    for (int I = 0; I < 20; ++I)
      Renderer->Render();
  }

  Platform::TSdlOptions Options;
  Options.Headless = true;
  auto Platform = Platform::CreateSdlPlatform(Options);
  Platform->CreateGameWindow({0, 0, kFrameWidth, kFrameHeight}, "Closing");
  std::unique_ptr<Platform::TGraphicsDevice> Device = Platform->OpenGraphicsDevice();
  Device->SetView(kFrameWidth, kFrameHeight, 1280, 800);
  auto Texture = Device->CreateTexture(4, 4, Platform::TTextureFormat::A8R8G8B8);
  for (int I = 0; I < 10; ++I) {
    Device->BeginFrame();
    Device->DrawQuad(PlainQuad(*Texture, 0, 0, 640, 400, 0xFFFFFFFF));
    ASSERT_TRUE(Device->EndFrame());
  }
  Texture.reset();
  for (int I = 0; I < 10; ++I) {
    Device->BeginFrame();
    ASSERT_TRUE(Device->EndFrame());
  }
  Device.reset();
  Platform->DestroyGameWindow();
}

// A failure of the render thread's OpenGL calls (here: a frame drawing a texture freed before
// the frame was handed over) loses the device on the game thread at the next frame or device
// check, whichever comes first, is written out, and is reported once: the device then draws
// again.
TEST_F(ScreenshotTest, AFailureOnTheRenderThreadLosesTheDeviceOnTheGameThreadOnce) {
  for (const bool ByCheck : {false, true}) {
    SCOPED_TRACE(ByCheck ? "reported by the device check" : "reported by the next frame");
    TOffscreenGame Game(0);
    TTexture& White = MakeWhite();
    Place(White, 0, {0, 0}, {1280, 800}, 0xFF204060);
    Platform::TGraphicsDevice& Device = Renderer->GraphicsDevice();
    auto Freed = Device.CreateTexture(4, 4, Platform::TTextureFormat::A8R8G8B8);
    Device.BeginFrame();
    Device.DrawQuad(PlainQuad(*Freed, 0, 0, 100, 100, 0xFFFFFFFF));
    Freed.reset();
    EXPECT_TRUE(Device.EndFrame()) << "handed over: nothing has failed yet";

    testing::internal::CaptureStderr();
    ByCheck ? Renderer->CheckDevice() : Renderer->Render();
    const std::string Written = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(Renderer->Lost());
    EXPECT_NE(Written.find("OpenGL error"), std::string::npos) << Written;

    Renderer->CheckDevice();
    EXPECT_FALSE(Renderer->Lost());
    const TFrame Frame = Game.Draw();
    EXPECT_FALSE(Renderer->Lost());
    EXPECT_EQ(PixelsUnlike(Frame, {32, 64, 96, 255}), 0);
  }
}

// ---- Texts and effects ----

// "Font": a 16 x 16 grid of 16 x 32 cells, one per character code; each glyph is a 3 x 5 grid of
// 3 x 4 blocks lit by the bits of a hash of its code, so every character looks different.
TTexture& MakeFont() {
  TTexture& Font = MakeTexture("DefaultFont", 256, 512, Platform::TTextureFormat::A8R8G8B8, 1,
                               [](int X, int Y, std::uint8_t* Element) {
                                 const int Code = Y / 32 * 16 + X / 16;
                                 const int CellX = X % 16 - 2, CellY = Y % 32 - 6;
                                 const std::uint32_t Bits =
                                     static_cast<std::uint32_t>(Code) * 2654435761u >> 9;
                                 bool Lit = false;
                                 if (CellX >= 0 && CellX < 9 && CellY >= 0 && CellY < 20)
                                   Lit = (Bits >> (CellY / 4 * 3 + CellX / 3)) & 1;
                                 Put32(Element, Lit ? 0xFFFFFFFF : 0x00FFFFFF);
                               });
  // One segment per code: 16 x 32 cells of the grid.
  Font.Segments.clear();
  for (int Code = 0; Code < 256; ++Code)
    Font.Segments.push_back(Font.PixelSegment(static_cast<float>(Code % 16 * 16),
                                              static_cast<float>(Code / 16 * 32), 16, 32));
  return Font;
}

// "Spark": a soft white disc.
TTexture& MakeSpark() {
  return MakeTexture("Spark", 16, 16, Platform::TTextureFormat::A8R8G8B8, 1,
                     [](int X, int Y, std::uint8_t* Element) {
                       const float DX = static_cast<float>(X) - 7.5f;
                       const float DY = static_cast<float>(Y) - 7.5f;
                       const float Edge = 1.0f - std::sqrt(DX * DX + DY * DY) / 8.0f;
                       const auto Alpha =
                           static_cast<std::uint32_t>(255.0f * std::clamp(Edge * 2.0f, 0.0f, 1.0f));
                       Put32(Element, Alpha << 24 | 0xFFFFFF);
                     });
}

// Nine framed boxes with a text in each alignment, and an effect of sparks flying out of the
// middle, growing, fading in and out and turning from yellow to red, after a second of running.
class TTextsAndEffectScene {
 public:
  TTextsAndEffectScene() {
    Randomize(424242);
    MakeFont();
    TTexture& Spark = MakeSpark();
    TTexture& White = MakeWhite();
    Particles = std::make_unique<TParticles>();
    Texts = std::make_unique<TTexts>(*Renderer);
    const char* const Words[9] = {"Top left", "Top",      "Top right", "Left",      "Centre",
                                  "Right",    "Low left", "Low",       "Low\rright"};
    for (int I = 0; I < 9; ++I) {
      const TVector Centre{static_cast<float>(I % 3 - 1) * 420,
                           static_cast<float>(I / 3 - 1) * 260};
      Place(White, 0, Centre, {400, 240}, 0xFF203040);
      Texts->CreateText(Lines[I], 2, I, 1.5f, {380, 220});
      Lines[I]->SetPosition(Centre);
      Lines[I]->SetColor(I % 2 ? 0xFFE080 : 0x80E0FF);
      Lines[I]->SetText(Words[I]);
    }
    Lines[4]->SetZoom(1.5f);
    Lines[8]->SetAlpha(0.5f);

    TEmiter& Sparks = Particles->DefineEmitter("Sparks");
    Sparks.Texture = &Spark;
    Sparks.Interval = 0.05f;
    Sparks.Count = 4;
    Sparks.StartMode = 1;
    Sparks.Spread = {60, 60};
    Sparks.DirectionMode = 2;
    Sparks.Distance = 300;
    Sparks.Size = {24, 24};
    Sparks.Lifetime = 1.2f;
    Sparks.MotionMode = 1;
    Sparks.GrowMode = 1;
    Sparks.GrowFactor = 2;
    Sparks.FadeMode = 3;
    Sparks.FadeIn = 0.1f;
    Sparks.FadeOut = 0.6f;
    Sparks.Color = 0xFFFFF040;
    Sparks.TintMode = 1;
    Sparks.ColorEnd = 0xFFFF2000;
    Particles->SpawnEffect(nullptr, "Sparks", 3, {0, 0}, 1, 1);
    for (int Step = 0; Step < 16; ++Step)
      Particles->Update(1.0f / 16);
  }
  ~TTextsAndEffectScene() {
    Texts.reset();
    Particles.reset();
  }

 private:
  TText* Lines[9] = {};
};

TEST_F(ScreenshotTest, TextsInEveryAlignmentAndARunningEffectMatchTheirReference) {
  TOffscreenGame Game(0);
  TFrame Frame;
  {
    TTextsAndEffectScene Scene;
    Game.Draw();
    Frame = Game.Draw();
  }
  CompareOrUpdate(Frame, std::string(CALVORA_FIXTURES) + "/Screenshots/TextsAndEffect.png");
}

// ---- the generated data set on screen ----

// A pane's diamond centre in the centre-origin layout.
TVector PaneCentre(int Row, int Column) {
  return {static_cast<float>((Row + Column - 4) * 126), static_cast<float>((Column - Row) * 63)};
}

// A text of the default font at zoom 1 whose first character's cell starts at Left, Top.
struct TPlacedText {
  TVector LeftTop;
  std::string Characters;
};

// The mission screen's look from the generated pictures: the map with a lake, the frame above
// it, panes of many kinds, the selector and a damage marker, action icons on their faces with a
// ring gauge, and texts with every overlay sequence of the default font on the frame's panels.
class TMissionLookScene {
 public:
  static constexpr int kHappyRow = 2, kHappyColumn = 2;  // an empty grass pane

  TMissionLookScene() {
    const std::string Data = CALVORA_DATA_FOLDER "/";
    Register.TexturesFolder = Data + "Textures/";
    Register.BrandingFolder = Data + "Branding/";
    Register.SpritePool = 256;
    Register.TextPool = 16;
    Texts = std::make_unique<TTexts>(*Renderer);
    Place(Renderer->GetTexture("Map13"), -1200, {0, 0}, {1280, 640});
    Place(Renderer->GetTexture("FormMission"), -1000, {0, 0}, {1280, 800});
    PlacePanes();
    PlaceIcons();
    for (std::size_t Line = 0; Line < Lines().size(); ++Line) {
      Texts->CreateText(Shown[Line], 10, 0, 1.0f, {600, 32});
      Shown[Line]->SetPosition({Lines()[Line].LeftTop.X + 300, Lines()[Line].LeftTop.Y + 16});
      Shown[Line]->SetText(Lines()[Line].Characters);
    }
    Texts->CreateIconText(Marks, 300, 4, 0.78125f, {160, 25});
    Marks->SetPosition(VectorAdd(PaneCentre(0, 4), {0, -13 + 30}));
    Marks->SetText("\x0E\x0F\x10\x11\x12");
  }
  ~TMissionLookScene() { Texts.reset(); }

  // Pictogram, backspace and mark sequences, as the panels show them, and the goal lines.
  static const std::vector<TPlacedText>& Lines() {
    static const std::vector<TPlacedText> All = {
        {{-580, -390}, "\x16 Time 12:34"},
        {{-580, -356}, "\x19\x08\x05Trophy goal"},
        {{-300, -390},
         "\x16\x08\x06"
         "Deadline 20:00"},
        {{40, -390}, "\x1F\x08\x08\x05 Build five houses"},
        {{40, -356}, "\x1F Reach 200 residents"},
        {{-560, 334},
         "\x01\x08\x05"
         "Cost 1,250"},
        {{-260, 334}, "\x02\x08\x06Wood 12"},
        {{40, 334}, "\x0E\x08\x07\x0F\x08\x05\x10\x08\x05"},
    };
    return All;
  }

 private:
  TText* Shown[8] = {};
  TText* Marks = nullptr;

  static void PlacePane(const std::string& Name, int Row, int Column, int Frame) {
    Place(Renderer->GetTexture(Name), 140 + 10 * (Column - Row),
          VectorAdd(PaneCentre(Row, Column), {0, -13}), {252, 152}, 0xFFFFFFFF, Frame);
  }

  static void PlacePanes() {
    PlacePane("Pane1Forest7", 4, 0, 0);
    PlacePane("Pane1Forest3", 4, 1, 1);
    PlacePane("Pane2House3", 3, 0, 4);
    PlacePane("Pane1Forest12", 3, 1, 2);
    PlacePane("Pane1BuildingPlot", 3, 2, 0);
    PlacePane("Pane1HouseOld1", 2, 0, 0);
    PlacePane("Pane4Aqueduct", 2, 1, 0);
    PlacePane("Pane4Aqueduct", 2, 3, 12);
    PlacePane("Pane4Aqueduct", 2, 4, 8 + 2);
    PlacePane("Pane1Service5", 1, 0, 0);
    PlacePane("Pane1Granary", 1, 2, 1);
    PlacePane("Pane1Appeal1", 1, 3, 0);
    PlacePane("Pane1Debris2", 1, 4, 3);
    PlacePane("Pane1Fort", 0, 0, 0);
    PlacePane("Pane1Service2", 0, 1, 0);
    PlacePane("Pane1Stones", 0, 2, 0);
    PlacePane("Pane1Workshop", 0, 3, 0);
    PlacePane("Pane2House5", 0, 4, 1);
    Place(Renderer->GetTexture("Selector"), 139 + 10, PaneCentre(1, 2), {270, 135});
    Place(Renderer->GetTexture("Damage"), 200, VectorAdd(PaneCentre(1, 2), {0, -13}), {60, 60})
        ->SetAngle(-5);
  }

  // Icons on round faces in the first slots of the action triangle, one greyed, one with a gauge.
  static void PlaceIcons() {
    const TVector Slots[6] = {{875, 605}, {940, 570},  {1005, 540},
                              {940, 635}, {1005, 605}, {1070, 570}};
    const int Icons[6] = {12, 17, 26, 29 + 72, 63, 9};
    for (int Slot = 0; Slot < 6; ++Slot) {
      const TVector Centre{Slots[Slot].X + 30 - 640, Slots[Slot].Y + 30 - 400};
      const bool Grey = Icons[Slot] >= 72;
      Place(Renderer->GetTexture("Buttons"), 400, Centre, {60, 60}, Grey ? 0xFF999999 : 0xFFDD0022,
            0);
      Place(Renderer->GetTexture("ActionIcons"), 401, Centre, {40, 40}, 0xFFFFFFFF, Icons[Slot]);
      Place(Renderer->GetTexture("Buttons"), 402, Centre, {60, 60}, 0xFFFFFFFF, Slot == 0 ? 2 : 1);
    }
    TSprite* Ring = Place(Renderer->GetTexture("Progress"), 403, {1070 + 30 - 640, 570 + 30 - 400},
                          {60, 60}, 0x66000000, 63 - 40);
    Ring->SetFlipX(true);
  }
};

// Whether most pixels of a small disc around a point are of a kind.
bool MostlyNear(const TFrame& Frame, TVector Point,
                const std::function<bool(const std::uint8_t*)>& Kind) {
  int Count = 0, Matching = 0;
  for (int Y = -6; Y <= 6; ++Y)
    for (int X = -6; X <= 6; ++X) {
      if (X * X + Y * Y > 36) continue;
      const int PixelX = static_cast<int>(Point.X) + 640 + X,
                PixelY = static_cast<int>(Point.Y) + 400 + Y;
      ++Count;
      Matching += Kind(&Frame.Rgba[(static_cast<std::size_t>(PixelY) * Frame.Width + PixelX) * 4]);
    }
  return Matching * 2 > Count;
}

TEST_F(ScreenshotTest, TheGeneratedDataShowsTheMissionScreenWithEveryMarkInPlace) {
  TOffscreenGame Game(0, 1280, 800);
  TFrame Frame;
  {
    TMissionLookScene Scene;
    Game.Draw();
    Frame = Game.Draw();
  }
  EXPECT_TRUE(ErrorLog.Lines().empty()) << ErrorLog.Lines().front();
  // Where a failing expectation's screen can be looked at.
  const auto Screen = [&] { return "; the composed screen: " + Keep(Frame, "MissionLook.png"); };
  const auto Green = [](const std::uint8_t* P) { return P[1] > P[0] + 40 && P[1] > P[2] + 40; };
  const auto Red = [](const std::uint8_t* P) { return P[0] > P[1] + 60 && P[0] > P[2] + 60; };
  const auto Amber = [](const std::uint8_t* P) {
    return P[0] > 150 && P[1] > 90 && P[2] < P[1] - 40;
  };
  const auto Grass = [](const std::uint8_t* P) { return P[1] > P[0] && P[1] > P[2]; };
  const auto& Lines = TMissionLookScene::Lines();
  // Each mark's badge is drawn over the lower right of its pictogram (its cell starts 18 font
  // pixels on); a reached goal's badge covers the bullet itself.
  const TVector Badge{18 + 12, 21};
  EXPECT_TRUE(MostlyNear(Frame, VectorAdd(Lines[1].LeftTop, Badge), Green))
      << "trophy reached" << Screen();
  EXPECT_TRUE(MostlyNear(Frame, VectorAdd(Lines[2].LeftTop, Badge), Red))
      << "deadline passed" << Screen();
  EXPECT_TRUE(MostlyNear(Frame, VectorAdd(Lines[3].LeftTop, {12, 21}), Green))
      << "goal reached" << Screen();
  EXPECT_FALSE(MostlyNear(Frame, VectorAdd(Lines[4].LeftTop, {12, 21}), Green))
      << "goal open" << Screen();
  EXPECT_TRUE(MostlyNear(Frame, VectorAdd(Lines[5].LeftTop, Badge), Green))
      << "cost affordable" << Screen();
  EXPECT_TRUE(MostlyNear(Frame, VectorAdd(Lines[6].LeftTop, Badge), Red))
      << "wood short" << Screen();
  EXPECT_TRUE(MostlyNear(Frame, VectorAdd(Lines[7].LeftTop, Badge), Amber))
      << "service missing" << Screen();
  // The next need's mark starts one pictogram and its mark further on.
  EXPECT_TRUE(MostlyNear(Frame, VectorAdd(Lines[7].LeftTop, {38 + 18 + 12, 21}), Green))
      << "service there" << Screen();
  // The map shows through the frame on an empty pane.
  EXPECT_TRUE(MostlyNear(
      Frame, PaneCentre(TMissionLookScene::kHappyRow, TMissionLookScene::kHappyColumn), Grass))
      << "map under the frame" << Screen();
}

}  // namespace

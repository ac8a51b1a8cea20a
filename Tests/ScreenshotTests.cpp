// ScreenshotTests.cpp -- real frames of the OpenGL device on SDL's offscreen driver: a small
// scene of turned, tinted, mirrored and half-transparent sprites from atlases the test makes,
// checked pixel by pixel where the answer is known, against a stored reference picture, and
// drawn in batches against drawn one by one.
//
// CALVORA_UPDATE_SCREENSHOTS=1 rewrites the reference picture instead of comparing with it.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "EngineImages.h"
#include "EngineRegister.h"
#include "EngineRenderer.h"
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
  explicit TOffscreenGame(int MaxBatchQuads) {
    Register = TRegister{};
    Register.DesktopWidth = 1024;
    Register.DesktopHeight = 768;
    Register.WindowWidth = kFrameWidth;
    Register.WindowHeight = kFrameHeight;
    Register.SpritePool = 32;
    Platform::TSdlOptions Options;
    Options.Headless = true;
    Options.MaxBatchQuads = MaxBatchQuads;
    Platform = Platform::CreateSdlPlatform(Options);
    Platform->CreateGameWindow({0, 0, kFrameWidth, kFrameHeight}, "Screenshot");
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
  const float Share = 1.0f / static_cast<float>(Columns);
  for (int I = 0; I < Columns; ++I)
    Texture->Segments.push_back(
        {{static_cast<float>(Width / Columns), static_cast<float>(Height)},
         Multiply(Scaling({Share, 1.0f}), TextureTranslation(Share * static_cast<float>(I), 0))});
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
  const TFrame Frame = DrawScene(0);
  if (const char* Update = std::getenv("CALVORA_UPDATE_SCREENSHOTS"); Update && *Update == '1') {
    ASSERT_EQ(Platform::WritePng(kReference, Frame.Rgba, Frame.Width, Frame.Height), "");
    GTEST_SKIP() << "reference rewritten: " << kReference;
  }
  const std::optional<std::string> Stored = ReadTextFile(kReference);
  ASSERT_TRUE(Stored) << "no reference picture " << kReference;
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
  EXPECT_LT(Mean, 0.5) << "mean difference; this frame: " << Keep(Frame, "Scene-actual.png");
  EXPECT_LE(Different, Frame.Width * Frame.Height / 200)
      << "pixels off by more than 16; this frame: " << Keep(Frame, "Scene-actual.png");
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

}  // namespace

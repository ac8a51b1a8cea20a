// RendererTests.cpp -- the sprite renderer on the Null graphics device: which sprites are drawn,
// in what order and where, the draw-state cache, the screen metrics, device loss, and the
// renderer's place in the game's frame.
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>

#include "AllocationCounter.h"
#include "EngineRegister.h"
#include "EngineRenderer.h"
#include "Game.h"
#include "NullPlatform.h"
#include "TestSupport.h"

namespace {

using Platform::TNullGraphicsDevice;
using Platform::TQuad;

// A quad's corner as it lands on the virtual screen (y down) with its texture coordinates.
struct TCorner {
  float X, Y, U, V;
};

TCorner CornerOf(const TQuad& Quad, int Index) {
  const Platform::TQuadVertex& C = Platform::kUnitQuads[Quad.Orientation][Index];
  const float* W = Quad.World.M;
  const float* T = Quad.TextureMatrix.M;
  return {C.X * W[0] + C.Y * W[4] + W[12], -(C.X * W[1] + C.Y * W[5] + W[13]),
          C.U * T[0] + C.V * T[4] + T[8], C.U * T[1] + C.V * T[5] + T[9]};
}

class RendererTest : public TFreshUserTest {
 protected:
  Platform::TNullPlatform Platform;

  void SetUp() override {
    TFreshUserTest::SetUp();
    ErrorLog.Create();
    Register.DesktopWidth = 1920;
    Register.DesktopHeight = 1080;
    Register.WindowWidth = 1280;
    Register.WindowHeight = 800;
    Register.FullScreen = false;
    Register.SpritePool = 64;
    Register.TexturesFolder = Home.Path() + "/Textures/";
    Register.BrandingFolder = Home.Path() + "/Branding/";
    Renderer = std::make_unique<TRenderer>(Platform);
  }
  void TearDown() override {
    Renderer.reset();
    TFreshUserTest::TearDown();
  }

  TNullGraphicsDevice& Device() {
    return static_cast<TNullGraphicsDevice&>(Renderer->GraphicsDevice());
  }
  const std::vector<TQuad>& Drawn() { return Device().Quads; }

  // A white texture cut into Count side-by-side segments of 16 x 16 pixels, made on the device
  // and added as the renderer's newest texture.
  TTexture& MakeAtlas(const std::string& Name, int Count) {
    auto Texture = std::make_unique<TTexture>();
    Texture->Name = Name;
    Texture->Width = Texture->ImageWidth = 16 * Count;
    Texture->Height = Texture->ImageHeight = 16;
    Texture->DeviceTexture =
        Device().CreateTexture(Texture->Width, 16, Platform::TTextureFormat::A8R8G8B8);
    int Pitch = 0;
    std::memset(Texture->DeviceTexture->Lock(Pitch), 0xFF, static_cast<std::size_t>(Pitch) * 16);
    Texture->DeviceTexture->Unlock();
    for (int I = 0; I < Count; ++I)
      Texture->Segments.push_back(Texture->PixelSegment(16.0f * static_cast<float>(I), 0, 16, 16));
    return *Renderer->Textures.Insert(std::move(Texture), nullptr, TInsertMode::Front);
  }

  TSprite* AddSprite(TTexture& Texture, std::int32_t Depth = 0, TColor Color = 0xFFFFFFFF) {
    TSprite* Sprite = Renderer->AddSprite(Depth);
    Sprite->SetTexture(&Texture);
    Sprite->SetSize({16.0f, 16.0f});
    Sprite->SetColor(Color);
    return Sprite;
  }
};

TEST_F(RendererTest, OnlyVisibleTexturedSpritesWithAlphaTwoOrMoreAreDrawn) {
  TTexture& Atlas = MakeAtlas("Atlas", 1);
  TTexture& Blank = MakeAtlas("Blank", 1);
  Blank.DeviceTexture.reset();  // as a failed load leaves it
  struct TCase {
    const char* Name;
    TColor Color;
    bool Visible;
    TTexture* Texture;
    bool Drawn;
  };
  const TCase Cases[] = {
      {"opaque", 0xFFFFFFFF, true, &Atlas, true},
      {"alpha 2", 0x02FFFFFF, true, &Atlas, true},
      {"alpha 1", 0x01FFFFFF, true, &Atlas, false},
      {"alpha 0", 0x00FFFFFF, true, &Atlas, false},
      {"alpha 255, black", 0xFF000000, true, &Atlas, true},
      {"hidden", 0xFFFFFFFF, false, &Atlas, false},
      {"no texture", 0xFFFFFFFF, true, nullptr, false},
      {"texture without pixels", 0xFFFFFFFF, true, &Blank, false},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    TSprite* Sprite = Renderer->AddSprite(0);
    Sprite->SetTexture(Case.Texture);
    Sprite->SetColor(Case.Color);
    Sprite->SetVisible(Case.Visible);
    Renderer->Render();
    ASSERT_EQ(Drawn().size(), Case.Drawn ? 1u : 0u);
    if (Case.Drawn) {
      EXPECT_EQ(Drawn()[0].Color, Case.Color);
    }
    EXPECT_EQ(Renderer->Stats().Sprites, 1);
    Sprite->Remove();
  }
}

TEST_F(RendererTest, DrawsInAscendingDepthWithTheNewestOfEqualDepthFirst) {
  TTexture& Atlas = MakeAtlas("Atlas", 1);
  const std::int32_t Depths[] = {5, -3, 5, 0, -3, 2000000};
  for (int I = 0; I < 6; ++I)
    AddSprite(Atlas, Depths[I], 0xFF000000u + static_cast<TColor>(I));
  Renderer->Render();
  ASSERT_EQ(Drawn().size(), 6u);
  const TColor Expected[] = {0xFF000004, 0xFF000001, 0xFF000003,
                             0xFF000002, 0xFF000000, 0xFF000005};
  for (int I = 0; I < 6; ++I)
    EXPECT_EQ(Drawn()[I].Color, Expected[I]) << "draw " << I;
}

TEST_F(RendererTest, WorldMatrixPlacesScalesTurnsAndFlips) {
  TTexture& Atlas = MakeAtlas("Atlas", 1);
  struct TCase {
    const char* Name;
    TVector Position, Size;
    float Scale, Angle;
    bool FlipX, FlipY;
    int Orientation;
    TCorner Corners[4];  // the quad's top-left, top-right, bottom-left, bottom-right
  };
  const TCase Cases[] = {
      {"whole 16:10 screen",
       {0, 0},
       {1280, 800},
       1,
       0,
       false,
       false,
       0,
       {{-640, -400, 0, 0}, {640, -400, 1, 0}, {-640, 400, 0, 1}, {640, 400, 1, 1}}},
      {"moved down",
       {0, 100},
       {1280, 800},
       1,
       0,
       false,
       false,
       0,
       {{-640, -300, 0, 0}, {640, -300, 1, 0}, {-640, 500, 0, 1}, {640, 500, 1, 1}}},
      {"scaled about its centre",
       {10, 20},
       {100, 50},
       2,
       0,
       false,
       false,
       0,
       {{-90, -30, 0, 0}, {110, -30, 1, 0}, {-90, 70, 0, 1}, {110, 70, 1, 1}}},
      {"quarter turn clockwise",
       {0, 0},
       {100, 20},
       1,
       90,
       false,
       false,
       0,
       {{10, -50, 0, 0}, {10, 50, 1, 0}, {-10, -50, 0, 1}, {-10, 50, 1, 1}}},
      {"mirrored left-right",
       {0, 0},
       {100, 20},
       1,
       0,
       true,
       false,
       1,
       {{-50, -10, 1, 0}, {50, -10, 0, 0}, {-50, 10, 1, 1}, {50, 10, 0, 1}}},
      {"mirrored top-bottom",
       {0, 0},
       {100, 20},
       1,
       0,
       false,
       true,
       2,
       {{-50, -10, 0, 1}, {50, -10, 1, 1}, {-50, 10, 0, 0}, {50, 10, 1, 0}}},
      {"both: half a turn",
       {0, 0},
       {100, 20},
       1,
       0,
       true,
       true,
       3,
       {{-50, -10, 1, 1}, {50, -10, 0, 1}, {-50, 10, 1, 0}, {50, 10, 0, 0}}},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    TSprite* Sprite = AddSprite(Atlas);
    Sprite->SetPosition(Case.Position);
    Sprite->SetSize(Case.Size);
    Sprite->SetScale(Case.Scale);
    Sprite->SetAngle(Case.Angle);
    Sprite->SetFlipX(Case.FlipX);
    Sprite->SetFlipY(Case.FlipY);
    EXPECT_EQ(Sprite->Orientation(), Case.Orientation);
    Renderer->Render();
    ASSERT_EQ(Drawn().size(), 1u);
    EXPECT_EQ(Drawn()[0].Orientation, Case.Orientation);
    for (int I = 0; I < 4; ++I) {
      const TCorner Got = CornerOf(Drawn()[0], I);
      const TCorner& Want = Case.Corners[I];
      EXPECT_NEAR(Got.X, Want.X, 1e-3) << "corner " << I;
      EXPECT_NEAR(Got.Y, Want.Y, 1e-3) << "corner " << I;
      EXPECT_FLOAT_EQ(Got.U, Want.U) << "corner " << I;
      EXPECT_FLOAT_EQ(Got.V, Want.V) << "corner " << I;
    }
    Sprite->Remove();
  }
}

TEST_F(RendererTest, SegmentsOutsideTheAtlasShowItsNearestEnd) {
  TTexture& Atlas = MakeAtlas("Atlas", 4);
  struct TCase {
    int Segment;
    float Left;  // u of the shown segment's left edge
  };
  const TCase Cases[] = {{0, 0.0f}, {2, 0.5f}, {3, 0.75f}, {4, 0.75f}, {99, 0.75f}, {-1, 0.0f}};
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Segment);
    TSprite* Sprite = AddSprite(Atlas);
    Sprite->SetSegment(Case.Segment);
    Renderer->Render();
    ASSERT_EQ(Drawn().size(), 1u);
    EXPECT_FLOAT_EQ(CornerOf(Drawn()[0], 0).U, Case.Left);
    EXPECT_FLOAT_EQ(CornerOf(Drawn()[0], 1).U, Case.Left + 0.25f);
    Sprite->Remove();
  }
}

TEST_F(RendererTest, DrawStateChangesOnlyWhereTheSpritesDiffer) {
  TTexture& Fonts = MakeAtlas("Fonts", 4);
  TTexture& Icons = MakeAtlas("Icons", 2);
  struct TSpriteSetup {
    TTexture* Texture;
    int Segment;
    TColor Color;
    bool FlipX;
  };
  // In drawing order (equal depths: added last to first).
  const TSpriteSetup Setups[] = {
      {&Fonts, 0, 0xFFFFFFFF, false}, {&Fonts, 0, 0xFFFFFFFF, false},
      {&Fonts, 1, 0xFFFFFFFF, false}, {&Fonts, 1, 0x80FFFFFF, true},
      {&Icons, 1, 0x80FFFFFF, true},  {&Fonts, 1, 0x80FFFFFF, true},
  };
  for (int I = 5; I >= 0; --I) {
    TSprite* Sprite = AddSprite(*Setups[I].Texture, 0, Setups[I].Color);
    Sprite->SetSegment(Setups[I].Segment);
    Sprite->SetFlipX(Setups[I].FlipX);
  }
  Renderer->Render();
  ASSERT_EQ(Drawn().size(), 6u);
  const TRenderStats& Stats = Renderer->Stats();
  EXPECT_EQ(Stats.TextureChanges, 3);  // Fonts, Icons, Fonts
  EXPECT_EQ(Stats.SegmentChanges, 1);  // Fonts 0 to 1
  EXPECT_EQ(Stats.ColorChanges, 2);
  EXPECT_EQ(Stats.QuadChanges, 2);
  EXPECT_EQ(Stats.MatricesBuilt, 6);
  // Each quad still carries its own sprite's state, the cached parts included.
  for (int I = 0; I < 6; ++I) {
    SCOPED_TRACE(I);
    const TTexture& Texture = *Setups[I].Texture;
    EXPECT_EQ(Drawn()[I].Texture, Texture.DeviceTexture.get());
    EXPECT_FLOAT_EQ(CornerOf(Drawn()[I], Setups[I].FlipX ? 1 : 0).U,
                    Texture.Segments[Setups[I].Segment].Matrix.M31);
    EXPECT_EQ(Drawn()[I].Color, Setups[I].Color);
  }

  // Next frame: nothing moved, so no matrix is rebuilt; the texture is stated afresh.
  Renderer->Render();
  EXPECT_EQ(Renderer->Stats().MatricesBuilt, 0);
  EXPECT_EQ(Renderer->Stats().TextureChanges, 3);
}

TEST_F(RendererTest, ATextureChangedBetweenFramesIsStatedAfresh) {
  TTexture& Atlas = MakeAtlas("Atlas", 2);
  AddSprite(Atlas)->SetSegment(1);
  Renderer->Render();
  EXPECT_FLOAT_EQ(CornerOf(Drawn()[0], 0).U, 0.5f);
  // A reload (a language change) replaces the segments between two frames.
  Atlas.Segments[1].Matrix = Multiply(Scaling({0.25f, 1.0f}), TextureTranslation(0.75f, 0));
  Renderer->Render();
  EXPECT_FLOAT_EQ(CornerOf(Drawn()[0], 0).U, 0.75f);
}

TEST_F(RendererTest, PlacementSettersInvalidateOnlyOnARealChange) {
  TTexture& Atlas = MakeAtlas("Atlas", 1);
  TSprite* Sprite = AddSprite(Atlas);
  Sprite->SetPosition({3, 4});
  Sprite->SetScale(2);
  Sprite->SetAngle(30);
  EXPECT_FALSE(Sprite->MatrixValid());
  Renderer->Render();
  EXPECT_TRUE(Sprite->MatrixValid());

  struct TCase {
    const char* Name;
    void (*Change)(TSprite&);
    bool Invalidates;
  };
  const TCase Cases[] = {
      {"same position",
       [](TSprite& S) {
         S.SetPosition({3, 4});
       },
       false},
      {"same size",
       [](TSprite& S) {
         S.SetSize({16, 16});
       },
       false},
      {"same scale", [](TSprite& S) { S.SetScale(2); }, false},
      {"same angle", [](TSprite& S) { S.SetAngle(30); }, false},
      {"colour, segment, flips",
       [](TSprite& S) {
         S.SetColor(0x80FF0000);
         S.SetSegment(3);
         S.SetFlipX(true);
       },
       false},
      {"position",
       [](TSprite& S) {
         S.SetPosition({3, 5});
       },
       true},
      {"size",
       [](TSprite& S) {
         S.SetSize({16, 17});
       },
       true},
      {"scale", [](TSprite& S) { S.SetScale(2.5f); }, true},
      {"angle", [](TSprite& S) { S.SetAngle(-30); }, true},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    Case.Change(*Sprite);
    EXPECT_EQ(Sprite->MatrixValid(), !Case.Invalidates);
    Renderer->Render();
    EXPECT_EQ(Renderer->Stats().MatricesBuilt, Case.Invalidates ? 1 : 0);
  }
}

TEST_F(RendererTest, PooledSpritesStartAfreshAndDropTheirTexture) {
  TTexture& Atlas = MakeAtlas("Atlas", 2);
  TSprite* Sprite = AddSprite(Atlas, 7, 0x10203040);
  Sprite->SetPosition({5, 6});
  Sprite->SetScale(3);
  Sprite->SetAngle(45);
  Sprite->SetFlipY(true);
  Sprite->SetSegment(1);
  Sprite->SetVisible(false);
  Sprite->Remove();
  EXPECT_EQ(Sprite->Texture(), nullptr);
  EXPECT_EQ(Sprite->Segment(), 0);

  TSprite* Again = Renderer->AddSprite(-2);
  EXPECT_EQ(Again, Sprite);  // the pool hands the same one back
  EXPECT_TRUE(Again->Visible());
  EXPECT_FALSE(Again->FlipX());
  EXPECT_FALSE(Again->FlipY());
  EXPECT_EQ(Again->Orientation(), 0);
  EXPECT_EQ(Again->Depth(), -2);
  EXPECT_EQ(Again->Scale(), 1.0f);
  EXPECT_EQ(Again->Angle(), 0.0f);
  EXPECT_EQ(Again->Color(), 0xFFFFFFFFu);
  EXPECT_FALSE(Again->MatrixValid());
  EXPECT_TRUE(VectorEquals(Again->Position(), {0, 0}));
  EXPECT_EQ(Renderer->Sprites.CacheCount(), 64);
}

TEST_F(RendererTest, TexturesAreLoadedOnceByNameNewestFirst) {
  TTexture& Missing = Renderer->GetTexture("Nowhere");
  EXPECT_EQ(Missing.Name, "Nowhere");
  EXPECT_EQ(Missing.DeviceTexture, nullptr);
  ASSERT_EQ(ErrorLog.Lines().size(), 1u);
  EXPECT_NE(ErrorLog.Lines()[0].find("\"Nowhere\""), std::string::npos);
  EXPECT_EQ(&Renderer->GetTexture("Nowhere"), &Missing);  // not tried again
  EXPECT_EQ(ErrorLog.Lines().size(), 1u);

  TTexture& Other = Renderer->GetTexture("Elsewhere");
  EXPECT_EQ(Renderer->Textures.First(), &Other);
  EXPECT_EQ(Renderer->Textures.Count(), 2);

  // By name on a sprite: "" shows none; the failed texture is taken but never drawn.
  TSprite* Sprite = Renderer->AddSprite(0);
  Sprite->SetSize({10, 10});
  Sprite->SetTexture(std::string_view("Nowhere"));
  EXPECT_EQ(Sprite->Texture(), &Missing);
  Renderer->Render();
  EXPECT_TRUE(Drawn().empty());
  Sprite->SetTexture(std::string_view(""));
  EXPECT_EQ(Sprite->Texture(), nullptr);
}

TEST_F(RendererTest, ModeChangesRecomputeTheScreenMetrics) {
  struct TCase {
    const char* Name;
    int DesktopWidth, DesktopHeight;
    bool FullScreen;
    int Width, Height;
    float ViewWidth, ViewHeight;
  };
  const TCase Cases[] = {
      {"wide desktop, full screen", 1920, 1080, true, 1920, 1080, 1422.2222f, 800.0f},
      {"back to the window", 1920, 1080, false, 1280, 800, 1280.0f, 800.0f},
      {"5:4 desktop, full screen", 1280, 1024, true, 1280, 1024, 1280.0f, 1024.0f},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    Register.DesktopWidth = Case.DesktopWidth;
    Register.DesktopHeight = Case.DesktopHeight;
    Renderer->SetFullScreen(Case.FullScreen);
    EXPECT_EQ(Register.FullScreen, Case.FullScreen);
    EXPECT_EQ(Platform.FullScreen, Case.FullScreen);
    EXPECT_EQ(Register.Width, Case.Width);
    EXPECT_EQ(Register.Height, Case.Height);
    EXPECT_FLOAT_EQ(Register.ViewWidth, Case.ViewWidth);
    EXPECT_FLOAT_EQ(Register.ViewHeight, Case.ViewHeight);
    EXPECT_EQ(Device().PixelWidth, Case.Width);
    EXPECT_EQ(Device().PixelHeight, Case.Height);
    EXPECT_FLOAT_EQ(Device().ViewWidth, Case.ViewWidth);
    EXPECT_FLOAT_EQ(Device().ViewHeight, Case.ViewHeight);
  }
  // The same mode again changes nothing, not even a desktop that changed meanwhile.
  Register.DesktopWidth = 800;
  Renderer->SetFullScreen(true);
  EXPECT_EQ(Device().PixelWidth, 1280);
  EXPECT_EQ(Register.Width, 1280);
}

TEST_F(RendererTest, LostDeviceSkipsDrawingUntilItIsRestored) {
  TTexture& Atlas = MakeAtlas("Atlas", 1);
  AddSprite(Atlas);
  Device().LoseAtNextPresent = true;
  Device().FailedChecks = 2;
  Renderer->Render();
  EXPECT_TRUE(Renderer->Lost());
  Renderer->Render();  // nothing while lost
  EXPECT_EQ(Device().FramesBegun, 1);
  Renderer->CheckDevice();
  Renderer->CheckDevice();
  EXPECT_TRUE(Renderer->Lost());
  Renderer->CheckDevice();
  EXPECT_FALSE(Renderer->Lost());
  Renderer->Render();
  EXPECT_EQ(Device().FramesBegun, 2);
  EXPECT_EQ(Drawn().size(), 1u);
  EXPECT_EQ(Renderer->Stats().ColorChanges, 1);  // the restored device is told the colour again
}

TEST_F(RendererTest, SteadyFramesAllocateNothing) {
  TTexture& Atlas = MakeAtlas("Atlas", 8);
  for (int I = 0; I < 60; ++I) {
    TSprite* Sprite = AddSprite(Atlas, I % 5, 0xFF000000u | static_cast<TColor>(I * 4000));
    Sprite->SetSegment(I % 9);
    Sprite->SetAngle(static_cast<float>(I));
  }
  Renderer->Render();  // the device's list takes its size
  const std::size_t Before = AllocationCount();
  for (int Frame = 0; Frame < 3; ++Frame) {
    static_cast<TSprite*>(Renderer->Sprites.First())->SetPosition({static_cast<float>(Frame), 0});
    Renderer->Render();
  }
  EXPECT_EQ(AllocationCount() - Before, 0u);
  EXPECT_EQ(Drawn().size(), 60u);
}

TEST(RendererStart, GraphicsThatCannotRunTheGameMarkTheVideoUnsupported) {
  Platform::TNullPlatform Platform;
  Platform.GraphicsFailure = "Failed to create an OpenGL 3.3 core context (no visual)";
  Register = TRegister{};
  try {
    TRenderer Failed(Platform);
    ADD_FAILURE() << "the renderer started";
  } catch (const Platform::EGraphicsError& Error) {
    EXPECT_STREQ(Error.what(), "Failed to create an OpenGL 3.3 core context (no visual)");
  }
  EXPECT_TRUE(Register.UnsupportedVideo);
  Register = TRegister{};
}

// ---- The renderer in the game's frame ----

class RendererInGameTest : public TFreshUserTest {
 protected:
  Platform::TNullPlatform Platform;
  TGameOptions Options;

  void SetUp() override {
    TFreshUserTest::SetUp();
    Options.Frames = 10;
    InstallGame(Platform);
  }
  std::optional<std::string> SavedFile(const std::string& Name) {
    return ReadTextFile(SaveFolder() + Name);
  }
  static TNullGraphicsDevice& Device() {
    return static_cast<TNullGraphicsDevice&>(Renderer->GraphicsDevice());
  }
};

TEST_F(RendererInGameTest, UnsupportedGraphicsEndStartUpWithTheWarning) {
  Platform.GraphicsFailure = "Failed to load the OpenGL library (libGL.so.1 missing)";
  testing::internal::CaptureStderr();
  EXPECT_EQ(RunGame(Platform, Options), 1);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(Platform.Frames, 0);
  EXPECT_EQ(Platform.WindowsDestroyed, 1);
  EXPECT_EQ(Platform.Warnings.size(), 1u);
  EXPECT_EQ(SavedFile("Error.log"), "Failed to load the OpenGL library (libGL.so.1 missing)\r\n");
  EXPECT_EQ(Renderer, nullptr);
}

TEST_F(RendererInGameTest, EveryFrameIsDrawnAndALostDeviceSkipsFramesWithoutGameTime) {
  int Checks = 0;
  int Presented = 0;
  Platform.OnFrame = [&](int Frame) {
    if (Frame == 4) {
      Device().LoseAtNextPresent = true;
      Device().FailedChecks = 2;
    }
    Checks = Device().Checks;
    Presented = Device().FramesPresented;
  };
  EXPECT_EQ(RunGame(Platform, Options), 0);
  EXPECT_EQ(Platform.Frames, 10);    // skipped turns begin no frame
  EXPECT_EQ(Presented, 9);           // as the tenth frame began
  EXPECT_EQ(Checks, 3);              // two failed checks, then the one that restored it
  EXPECT_TRUE(Platform.FullScreen);  // the renderer took full screen (no Game.ini)
}

TEST_F(RendererInGameTest, ScreenshotIsTheLastFrameWrittenAtQuit) {
  Options.Screenshot = Home.Path() + "/shot.png";
  EXPECT_EQ(RunGame(Platform, Options), 0);
  const std::optional<std::string> Picture = ReadTextFile(Options.Screenshot);
  ASSERT_TRUE(Picture);
  ASSERT_GT(Picture->size(), 24u);
  EXPECT_EQ(Picture->substr(0, 8), "\x89PNG\r\n\x1a\n");
  // Width and height of the IHDR chunk: the full-screen back buffer of the 1920 x 1080 desktop.
  EXPECT_EQ(Picture->substr(16, 8), std::string("\0\0\x07\x80\0\0\x04\x38", 8));
}

TEST_F(RendererInGameTest, ScreenshotThatCannotBeWrittenFailsTheRun) {
  Options.Screenshot = Home.Path() + "/no such folder/shot.png";
  testing::internal::CaptureStderr();
  EXPECT_EQ(RunGame(Platform, Options), 1);
  const std::string Printed = testing::internal::GetCapturedStderr();
  EXPECT_NE(Printed.find("no such folder/shot.png"), std::string::npos) << Printed;
  const std::optional<std::string> Log = SavedFile("Error.log");
  ASSERT_TRUE(Log);
  EXPECT_EQ(Log->rfind("Failed to save the screenshot", 0), 0u) << *Log;
}

}  // namespace

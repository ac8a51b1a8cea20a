// TextsTests.cpp -- bitmap-font texts on the Null graphics device: glyph sprites taken and given
// back, line layout with tracking, overlays and line breaks, alignment, squeezing, and the
// setters that touch only what changed.
#include <cstring>
#include <string>
#include <vector>

#include "AllocationCounter.h"
#include "EngineRegister.h"
#include "EngineRenderer.h"
#include "EngineTexts.h"
#include "NullPlatform.h"
#include "TestSupport.h"

namespace {

constexpr float kCellWidth = 16;
constexpr float kCellHeight = 32;
constexpr int kWideCode = 'W';     // 53 wide: four of them make a line 200 wide
constexpr int kOverlayWidth = 10;  // code 8

class TextsTest : public TFreshUserTest {
 protected:
  Platform::TNullPlatform Platform;
  TText* Text = nullptr;

  void SetUp() override {
    TFreshUserTest::SetUp();
    ErrorLog.Create();
    Register.WindowWidth = 1280;
    Register.WindowHeight = 800;
    Register.DesktopWidth = 1280;
    Register.DesktopHeight = 800;
    Register.FullScreen = false;
    Register.SpritePool = 64;
    Register.TextPool = 4;
    Register.TexturesFolder = Home.Path() + "/Textures/";
    Register.BrandingFolder = Home.Path() + "/Branding/";
    Renderer = std::make_unique<TRenderer>(Platform);
    MakeFont("DefaultFont");
    MakeFont("IconsFont");
    Texts = std::make_unique<TTexts>(*Renderer);
  }
  void TearDown() override {
    Texts.reset();
    Renderer.reset();
    TFreshUserTest::TearDown();
  }

  // A 16 x 16 grid of 16 x 32 cells, one per character code; 'W' and code 8 are narrower or
  // wider cells of the same atlas.
  void MakeFont(const std::string& Name) {
    auto Font = std::make_unique<TTexture>();
    Font->Name = Name;
    Font->Width = Font->ImageWidth = 256;
    Font->Height = Font->ImageHeight = 512;
    Font->DeviceTexture =
        Renderer->GraphicsDevice().CreateTexture(256, 512, Platform::TTextureFormat::A8R8G8B8);
    int Pitch = 0;
    std::memset(Font->DeviceTexture->Lock(Pitch), 0xFF, static_cast<std::size_t>(Pitch) * 512);
    Font->DeviceTexture->Unlock();
    for (int Code = 0; Code < 256; ++Code) {
      const float Width = Code == kWideCode ? 53.0f : Code == 8 ? kOverlayWidth : kCellWidth;
      Font->Segments.push_back(Font->PixelSegment(static_cast<float>(Code % 16 * 16),
                                                  static_cast<float>(Code / 16 * 32), Width,
                                                  kCellHeight));
    }
    Renderer->Textures.Insert(std::move(Font), nullptr, TInsertMode::Front);
  }

  TText& Make(int Alignment, TVector Box = {100, 100}, float Scale = 1, TVector Position = {}) {
    Texts->CreateText(Text, 5, Alignment, Scale, Box);
    Text->SetPosition(Position);
    return *Text;
  }

  TVector Offset(int Glyph) const { return Text->Glyphs()[static_cast<std::size_t>(Glyph)].Offset; }
  TSprite& Sprite(int Glyph) const {
    return *Text->Glyphs()[static_cast<std::size_t>(Glyph)].Sprite;
  }

  // The sprites of the renderer's list, in drawing order.
  std::vector<TSprite*> SpriteList() const {
    std::vector<TSprite*> List;
    for (TContainerItem* Item = Renderer->Sprites.First(); Item; Item = Item->Next())
      List.push_back(static_cast<TSprite*>(Item));
    return List;
  }
};

// Where the first of "AB" lands for each alignment of a 100 x 100 box: the line is 28 wide and
// 32 high, the first glyph's centre is 8 from the line's left and 16 from its top.
TEST_F(TextsTest, EveryAlignmentPlacesTheLineInItsBox) {
  struct TCase {
    int Alignment;
    float X, Y;  // A's centre relative to the position
  };
  const float Left = -50 + 8, Centre = -14 + 8, Right = 22 + 8;
  const float Top = -50 + 16, Middle = -16 + 16, Bottom = 18 + 16;
  const TCase Cases[] = {{0, Left, Top},    {1, Centre, Top},    {2, Right, Top},
                         {3, Left, Middle}, {4, Centre, Middle}, {5, Right, Middle},
                         {6, Left, Bottom}, {7, Centre, Bottom}, {8, Right, Bottom}};
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Alignment);
    TText& T = Make(Case.Alignment, {100, 100}, 1, {200, -100});
    T.SetText("AB");
    EXPECT_FLOAT_EQ(Offset(0).X, Case.X);
    EXPECT_FLOAT_EQ(Offset(0).Y, Case.Y);
    EXPECT_FLOAT_EQ(Offset(1).X, Case.X + 12);  // 16 wide less the tracking of 4
    EXPECT_FLOAT_EQ(Offset(1).Y, Case.Y);
    EXPECT_FLOAT_EQ(Sprite(0).Position().X, 200 + Case.X);
    EXPECT_FLOAT_EQ(Sprite(0).Position().Y, -100 + Case.Y);
    EXPECT_FLOAT_EQ(Sprite(1).Size().X, 16);
    EXPECT_FLOAT_EQ(Sprite(1).Size().Y, 32);
    EXPECT_EQ(Sprite(0).Segment(), 'A');
    EXPECT_EQ(Sprite(1).Segment(), 'B');
    Texts->FreeText(Text);
  }
}

TEST_F(TextsTest, ScaleAppliesToSizesLineHeightAndTracking) {
  Make(0, {200, 200}, 2).SetText("AB");
  EXPECT_FLOAT_EQ(Offset(0).X, -100 + 16);
  EXPECT_FLOAT_EQ(Offset(1).X, -100 + 16 + 24);
  EXPECT_FLOAT_EQ(Offset(0).Y, -100 + 32);
  EXPECT_FLOAT_EQ(Sprite(0).Size().X, 32);
  EXPECT_FLOAT_EQ(Sprite(0).Size().Y, 64);
}

TEST_F(TextsTest, ALineTooWideIsNarrowedToFillTheBoxExactly) {
  Make(4).SetText("WWWW");  // 4 x (53 - 4) + 4 = 200 wide in a box 100 wide
  const float Expected[] = {-36.75f, -12.25f, 12.25f, 36.75f};
  for (int I = 0; I < 4; ++I) {
    EXPECT_FLOAT_EQ(Offset(I).X, Expected[I]);
    EXPECT_FLOAT_EQ(Sprite(I).Size().X, 26.5f);
    EXPECT_FLOAT_EQ(Sprite(I).Size().Y, 32);  // only narrowed
  }
  EXPECT_FLOAT_EQ(Offset(0).X - Sprite(0).Size().X / 2, -50);
  EXPECT_FLOAT_EQ(Offset(3).X + Sprite(3).Size().X / 2, 50);
}

TEST_F(TextsTest, OnlyTheLineTooWideIsNarrowed) {
  Make(0).SetText("WWWW\rAB");
  // The line break is part of its line: 200 + 16 - 4 = 212 wide.
  EXPECT_FLOAT_EQ(Sprite(0).Size().X, 53.0f * 100 / 212);
  EXPECT_FLOAT_EQ(Offset(4).X + Sprite(4).Size().X / 2, 50);
  EXPECT_FLOAT_EQ(Sprite(5).Size().X, 16);
  EXPECT_FLOAT_EQ(Offset(5).X, -42);
  EXPECT_FLOAT_EQ(Offset(5).Y, -50 + 48);  // second line
}

TEST_F(TextsTest, TooManyLinesAreFlattenedIntoTheBox) {
  Make(0, {100, 96}).SetText("A\rA\rA\rA\rA\rA");  // six lines of 32 in a box 96 high
  for (int Line = 0; Line < 6; ++Line) {
    SCOPED_TRACE(Line);
    EXPECT_FLOAT_EQ(Offset(Line * 2).Y, -40 + 16.0f * static_cast<float>(Line));
    EXPECT_FLOAT_EQ(Sprite(Line * 2).Size().Y, 16);
    EXPECT_FLOAT_EQ(Sprite(Line * 2).Size().X, 16);
  }
}

TEST_F(TextsTest, LineBreaksOverlaysAndBlanksTakePartInTheLayout) {
  // A trailing line break adds no line: bottom alignment shows where the last line sits.
  Make(6, {300, 300}).SetText("A\r");
  EXPECT_FLOAT_EQ(Offset(0).Y, 150 - 16);
  // Two breaks in a row make an empty line.
  Text->SetText("A\r\rB");
  EXPECT_FLOAT_EQ(Offset(3).Y, Offset(0).Y + 64);
  EXPECT_FLOAT_EQ(Offset(0).Y, 150 - 96 + 16);
  // Code 8 steps back by its width less the tracking: B is drawn over A's right part.
  Text->SetText("A\bB");
  EXPECT_FLOAT_EQ(Offset(2).X, -150 + 12 - kOverlayWidth + 4 + 8);
  EXPECT_FALSE(Sprite(1).Visible());
  // Spaces, line breaks, code 0 and code 8 are laid out but not drawn.
  Text->SetText(std::string("A \r\b", 4) + '\0' + "B");
  const bool Visible[] = {true, false, false, false, false, true};
  for (int I = 0; I < 6; ++I)
    EXPECT_EQ(Sprite(I).Visible(), Visible[I]) << I;
}

TEST_F(TextsTest, ShrinkingGivesBackTheLastSpritesAndGrowingPrependsNewOnes) {
  const int Free = Renderer->Sprites.Count();
  Make(0).SetText("ABC");
  TSprite* First = &Sprite(0);
  EXPECT_EQ(Renderer->Sprites.Count(), Free + 3);
  Text->SetText("A");
  EXPECT_EQ(Renderer->Sprites.Count(), Free + 1);
  EXPECT_EQ(&Sprite(0), First);

  Text->SetText("AB");
  TSprite* OldA = &Sprite(0);
  TSprite* OldB = &Sprite(1);
  Text->SetText("ABCD");
  EXPECT_EQ(Renderer->Sprites.Count(), Free + 4);
  EXPECT_EQ(&Sprite(2), OldA);  // the old sprites now show the last characters
  EXPECT_EQ(&Sprite(3), OldB);
  EXPECT_EQ(Sprite(2).Segment(), 'C');
  EXPECT_EQ(Sprite(3).Segment(), 'D');
  EXPECT_EQ(Sprite(0).Segment(), 'A');
  // The renderer draws them in character order.
  const std::vector<TSprite*> List = SpriteList();
  ASSERT_EQ(List.size(), 4u);
  for (int I = 0; I < 4; ++I)
    EXPECT_EQ(List[static_cast<std::size_t>(I)], &Sprite(I)) << I;
  // New sprites take the text's look.
  EXPECT_EQ(Sprite(0).Depth(), 5);
  EXPECT_EQ(Sprite(0).Texture(), Text->Font());
  EXPECT_EQ(Sprite(0).Color(), 0xFFFFFFFFu);
}

TEST_F(TextsTest, NewGlyphsTakeTheCurrentZoomColourAndAlpha) {
  Make(0).SetText("A");
  Text->SetZoom(2);
  Text->SetColor(0x123456);
  Text->SetAlpha(0.25f);
  Text->SetText("BA");
  EXPECT_FLOAT_EQ(Sprite(0).Scale(), 2);
  EXPECT_EQ(Sprite(0).Color(), 0x40123456u);
  EXPECT_EQ(Sprite(1).Color(), 0x40123456u);
}

TEST_F(TextsTest, ColourAndAlphaChangeOnlyTheirOwnBytes) {
  Make(0).SetText("AB");
  Text->SetAlpha(0.5f);
  EXPECT_EQ(Sprite(0).Color(), 0x80FFFFFFu);  // 127.5 rounds to even
  Text->SetColor(0xFF00FF00);
  EXPECT_EQ(Text->Color(), 0x00FF00u);
  EXPECT_EQ(Sprite(1).Color(), 0x8000FF00u);
  Text->SetAlpha(0);
  EXPECT_EQ(Sprite(1).Color(), 0x0000FF00u);
  Text->SetAlpha(7);  // out of range: fully opaque, not a wrapped byte
  EXPECT_EQ(Sprite(1).Color(), 0xFF00FF00u);
}

TEST_F(TextsTest, PositionAndZoomMoveTheGlyphsWithoutANewLayout) {
  Make(4, {100, 100}, 1, {10, 20}).SetText("AB");
  Text->SetPosition({110, 20});
  EXPECT_FLOAT_EQ(Sprite(0).Position().X, 110 - 6);
  Text->SetZoom(2);
  EXPECT_FLOAT_EQ(Sprite(0).Position().X, 110 - 12);
  EXPECT_FLOAT_EQ(Sprite(1).Position().X, 110 + 12);
  EXPECT_FLOAT_EQ(Sprite(0).Scale(), 2);
  EXPECT_FLOAT_EQ(Sprite(0).Size().X, 16);  // sizes stay; the sprite scale zooms
  EXPECT_FLOAT_EQ(Offset(0).X, -6);

  // A text moved frame after frame lands exactly where it is put.
  for (int Step = 0; Step < 1000; ++Step)
    Text->SetPosition({0.1f * static_cast<float>(Step), 0});
  Text->SetPosition({0, 0});
  EXPECT_FLOAT_EQ(Sprite(0).Position().X, -12);
}

TEST_F(TextsTest, SettersGivenTheCurrentValueTouchNoSprite) {
  Make(0).SetText("AB");
  Renderer->Render();  // builds the placements
  Text->SetText("AB");
  Text->SetPosition(Text->Position());
  Text->SetZoom(1);
  Text->SetColor(0xFFFFFF);
  Text->SetAlpha(1);
  EXPECT_TRUE(Sprite(0).MatrixValid());
  EXPECT_TRUE(Sprite(1).MatrixValid());
  Renderer->Render();
  EXPECT_EQ(Renderer->Stats().MatricesBuilt, 0);
}

TEST_F(TextsTest, AnEmptyTextHasNoSprites) {
  const int Before = Renderer->Sprites.Count();
  Make(0).SetText("");
  EXPECT_TRUE(Text->Glyphs().empty());
  Text->SetText("AB");
  Text->SetText("");
  EXPECT_TRUE(Text->Glyphs().empty());
  EXPECT_EQ(Renderer->Sprites.Count(), Before);
  Renderer->Render();
  EXPECT_EQ(Renderer->Stats().Drawn, 0);
}

TEST_F(TextsTest, CreateAndFreeHandTextsOutOfThePool) {
  Texts->CreateText(Text, 3, 1, 1.5f, {40, 20});
  TText* Made = Text;
  Texts->CreateText(Text, 9, 2, 1, {1, 1});  // already made: left alone
  EXPECT_EQ(Text, Made);
  EXPECT_EQ(Text->Depth(), 3);
  EXPECT_EQ(Text->Alignment(), 1);
  EXPECT_FLOAT_EQ(Text->Scale(), 1.5f);
  EXPECT_FLOAT_EQ(Text->Tracking(), 4);
  EXPECT_EQ(Text->Font()->Name, "DefaultFont");
  Text->SetText("Hello");
  Text->SetZoom(3);
  Texts->FreeText(Text);
  EXPECT_EQ(Text, nullptr);
  EXPECT_EQ(Renderer->Sprites.Count(), 0);
  Texts->FreeText(Text);  // nothing to free

  TText* Icons = nullptr;
  Texts->CreateIconText(Icons, 0, 0, 1, {10, 10});
  EXPECT_EQ(Icons->Font()->Name, "IconsFont");
  EXPECT_FLOAT_EQ(Icons->Zoom(), 1);  // a pooled text starts afresh
  EXPECT_EQ(Icons->Color(), 0xFFFFFFu);
  EXPECT_TRUE(Icons->Text().empty());
  Texts->FreeText(Icons);
}

TEST_F(TextsTest, AMissingFontLaysOutNothingAndDrawsNothing) {
  TText* Missing = nullptr;
  Register.TextPool = 2;
  TTexts Local(*Renderer);
  Renderer->Textures.Clear();  // "DefaultFont" cannot be found now: a blank texture stands in
  Local.CreateText(Missing, 0, 4, 1, {100, 100});
  Missing->SetText("AB");
  EXPECT_FLOAT_EQ(Missing->Glyphs()[0].Sprite->Size().X, 0);
  Renderer->Render();
  EXPECT_EQ(Renderer->Stats().Drawn, 0);
  Local.FreeText(Missing);
}

TEST_F(TextsTest, TheGlyphsAreDrawnInCharacterOrder) {
  Make(0).SetText("A B");
  Renderer->Render();
  const auto& Quads = static_cast<Platform::TNullGraphicsDevice&>(Renderer->GraphicsDevice()).Quads;
  ASSERT_EQ(Quads.size(), 2u);  // the space is not drawn
  EXPECT_LT(Quads[0].World.M[12], Quads[1].World.M[12]);
}

TEST_F(TextsTest, ChangingTextsInTheSteadyStateAllocatesNothing) {
  Make(4).SetText("Score 1234");
  Text->SetText("Go");
  Text->SetText("Score 1234");
  const std::size_t Before = AllocationCount();
  for (int Step = 0; Step < 50; ++Step) {
    Text->SetText(Step % 2 ? "Score 5678" : "Go!");
    Text->SetZoom(1 + 0.01f * static_cast<float>(Step));
    Text->SetAlpha(0.5f + 0.01f * static_cast<float>(Step));
  }
  EXPECT_EQ(AllocationCount() - Before, 0u);
}

}  // namespace

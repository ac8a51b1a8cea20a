// AssetsTests.cpp -- the data generator's shared pieces: DDS pictures and segment files that the
// game's own loaders read back exactly, atlas cells that never touch, canvases that keep straight
// alpha, random numbers that repeat and noise that spreads smoothly over its range.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "AssetsCore.h"
#include "EngineRegister.h"
#include "EngineTextures.h"
#include "NullPlatform.h"
#include "TestSupport.h"

namespace {

// Smooth colour and alpha ramps of a few units a pixel, like the pictures the generator draws.
Assets::TPicture Gradient(int Width, int Height, bool Opaque) {
  Assets::TPicture Picture(Width, Height);
  for (int Y = 0; Y < Height; ++Y)
    for (int X = 0; X < Width; ++X) {
      std::uint8_t* P = Picture.At(X, Y);
      P[0] = static_cast<std::uint8_t>(40 + 3 * X);
      P[1] = static_cast<std::uint8_t>(200 - 4 * Y);
      P[2] = 90;
      P[3] = Opaque ? 255 : static_cast<std::uint8_t>(60 + 5 * (X + Y));
    }
  return Picture;
}

class AssetsFiles : public TFreshUserTest {
 protected:
  Platform::TNullGraphicsDevice Device;

  void SetUp() override {
    TFreshUserTest::SetUp();
    ErrorLog.Create();
    Register.TexturesFolder = Home.Path() + "/Textures/";
    Register.BrandingFolder = Home.Path() + "/Branding/";
  }

  // Writes the files through the generator's output and loads the texture as the game does.
  std::unique_ptr<TTexture> Load(const std::string& Name, const Assets::TPicture& Picture,
                                 Assets::TDdsFormat Format,
                                 const std::vector<Assets::TRect>& Segments = {}) {
    Assets::TOutput Output(Home.Path(), false);
    Output.Texture(Name, Picture, Format, Segments);
    auto Texture = std::make_unique<TTexture>();
    Texture->Name = Name;
    LoadTexture(*Texture, Device);
    return Texture;
  }
};

TEST_F(AssetsFiles, AnUncompressedDdsLoadsPixelForPixel) {
  const Assets::TPicture Picture = Gradient(37, 21, false);
  const auto Loaded = Load("Exact", Picture, Assets::TDdsFormat::Argb8888);
  const TTexture& Texture = *Loaded;
  ASSERT_TRUE(Texture.DeviceTexture);
  EXPECT_TRUE(ErrorLog.Lines().empty());
  ASSERT_EQ(Texture.ImageWidth, 37);
  ASSERT_EQ(Texture.ImageHeight, 21);
  for (int Y = 0; Y < 21; ++Y)
    for (int X = 0; X < 37; ++X)
      for (int Channel = 0; Channel < 4; ++Channel)
        ASSERT_EQ(NullPixel(Texture, X, Y)[Channel], Picture.At(X, Y)[Channel]) << X << "," << Y;
}

// Compressed pictures of any size load: sides that are not whole blocks are padded, the picture
// stays in the corner, and its colours survive compression closely.
TEST_F(AssetsFiles, CompressedPicturesOfAnySizeLoadCloseToTheOriginal) {
  struct TCase {
    Assets::TDdsFormat Format;
    int Width, Height;
    bool Opaque;
  };
  for (const TCase& Case : {TCase{Assets::TDdsFormat::Dxt1, 60, 32, true},
                            TCase{Assets::TDdsFormat::Dxt1Fast, 30, 18, true},
                            TCase{Assets::TDdsFormat::Dxt5, 13, 7, false},
                            TCase{Assets::TDdsFormat::Dxt5Fast, 4, 4, false}}) {
    const Assets::TPicture Picture = Gradient(Case.Width, Case.Height, Case.Opaque);
    const auto Loaded = Load("Packed", Picture, Case.Format);
    const TTexture& Texture = *Loaded;
    ASSERT_TRUE(Texture.DeviceTexture) << Case.Width << " x " << Case.Height;
    EXPECT_TRUE(ErrorLog.Lines().empty()) << ErrorLog.Lines().front();
    EXPECT_EQ(Texture.ImageWidth, Assets::WholeBlocks(Case.Width));
    EXPECT_EQ(Texture.ImageHeight, Assets::WholeBlocks(Case.Height));
    // Compared as drawn: colours weighted by their opacity, so that the colour of a nearly
    // transparent pixel (which compression may freely change) does not count.
    double Error = 0;
    for (int Y = 0; Y < Case.Height; ++Y)
      for (int X = 0; X < Case.Width; ++X) {
        const std::uint8_t* Got = NullPixel(Texture, X, Y);
        const std::uint8_t* Want = Picture.At(X, Y);
        for (int Channel = 0; Channel < 3; ++Channel)
          Error += std::abs(Got[Channel] * Got[3] - Want[Channel] * Want[3]) / 255.0;
        Error += std::abs(Got[3] - Want[3]);
      }
    EXPECT_LT(Error / (Case.Width * Case.Height * 4), 12.0) << Case.Width << " x " << Case.Height;
    if (Texture.ImageWidth > Case.Width) {  // the padding is transparent
      EXPECT_EQ(NullPixel(Texture, Texture.ImageWidth - 1, 0)[3], 0);
    }
  }
}

TEST_F(AssetsFiles, SegmentFilesGiveTheGameTheirCellsInPixels) {
  const std::vector<Assets::TRect> Cells = Assets::GridCells(10, 4, 30, 20);
  const Assets::TPicture Atlas(Assets::CellsWidth(Cells), Assets::CellsHeight(Cells));
  const auto Loaded = Load("Atlas", Atlas, Assets::TDdsFormat::Argb8888, Cells);
  const TTexture& Texture = *Loaded;
  ASSERT_EQ(Texture.Segments.size(), 10u);
  for (std::size_t Index = 0; Index < Cells.size(); ++Index) {
    const TTextureSegment& Segment = Texture.Segments[Index];
    EXPECT_EQ(Segment.Size.X, 30);
    EXPECT_EQ(Segment.Size.Y, 20);
    EXPECT_FLOAT_EQ(Segment.Matrix.M31 * Texture.Width, Cells[Index].Left) << Index;
    EXPECT_FLOAT_EQ(Segment.Matrix.M32 * Texture.Height, Cells[Index].Top) << Index;
  }
  EXPECT_TRUE(ErrorLog.Lines().empty());
}

TEST(AssetsLayout, GridCellsKeepAGutterOnEverySide) {
  for (int Gutter : {1, 2}) {
    const std::vector<Assets::TRect> Cells = Assets::GridCells(11, 4, 9, 7, Gutter);
    const int Width = Assets::CellsWidth(Cells, Gutter),
              Height = Assets::CellsHeight(Cells, Gutter);
    for (std::size_t A = 0; A < Cells.size(); ++A) {
      EXPECT_GE(Cells[A].Left, Gutter);
      EXPECT_GE(Cells[A].Top, Gutter);
      EXPECT_LE(Cells[A].Left + Cells[A].Width + Gutter, Width);
      EXPECT_LE(Cells[A].Top + Cells[A].Height + Gutter, Height);
      for (std::size_t B = A + 1; B < Cells.size(); ++B) {
        // Apart by at least two gutters in one direction.
        const bool ApartX = Cells[B].Left >= Cells[A].Left + Cells[A].Width + 2 * Gutter ||
                            Cells[A].Left >= Cells[B].Left + Cells[B].Width + 2 * Gutter;
        const bool ApartY = Cells[B].Top >= Cells[A].Top + Cells[A].Height + 2 * Gutter ||
                            Cells[A].Top >= Cells[B].Top + Cells[B].Height + 2 * Gutter;
        EXPECT_TRUE(ApartX || ApartY) << A << " and " << B;
      }
    }
  }
}

TEST(AssetsCanvas, PicturesComeBackWithStraightAlpha) {
  Assets::TCanvas Canvas(8, 8);
  Canvas.SetColor(Assets::Rgb(0xC8643C, 0.5));
  cairo_rectangle(Canvas.Cr(), 0, 0, 4, 8);
  cairo_fill(Canvas.Cr());
  const Assets::TPicture Picture = Canvas.Picture();
  const std::uint8_t* Half = Picture.At(1, 1);
  EXPECT_NEAR(Half[0], 0xC8, 2);
  EXPECT_NEAR(Half[1], 0x64, 2);
  EXPECT_NEAR(Half[2], 0x3C, 2);
  EXPECT_NEAR(Half[3], 128, 1);
  EXPECT_EQ(Picture.At(6, 6)[3], 0);
  // Put and Picture give the same straight-alpha pixels back.
  Assets::TCanvas Copy(8, 8);
  Copy.Put(Picture);
  const Assets::TPicture Again = Copy.Picture();
  for (std::size_t Byte = 0; Byte < Picture.Rgba.size(); ++Byte)
    EXPECT_NEAR(Again.Rgba[Byte], Picture.Rgba[Byte], 2) << Byte;
}

TEST(AssetsRandom, RandomNumbersRepeatAndNoiseSpreadsOverItsRange) {
  Assets::TRandom First(42), Second(42), Other(43);
  std::set<int> Seen;
  for (int Draw = 0; Draw < 1000; ++Draw) {
    const std::uint64_t A = First.Next();
    EXPECT_EQ(A, Second.Next());
    EXPECT_NE(A, Other.Next());
    const int Dice = First.Int(1, 6);
    Second.Int(1, 6);
    Other.Int(1, 6);
    EXPECT_GE(Dice, 1);
    EXPECT_LE(Dice, 6);
    Seen.insert(Dice);
  }
  EXPECT_EQ(Seen.size(), 6u);
  double Lowest = 1.0, Highest = 0.0;
  for (double X = -3.7; X < 5; X += 0.37) {
    const double Value = Assets::FractalNoise(X, X * 0.7, 9);
    EXPECT_GE(Value, 0.0);
    EXPECT_LE(Value, 1.0);
    Lowest = std::min(Lowest, Value);
    Highest = std::max(Highest, Value);
  }
  // The values spread over the range rather than sitting at one level.
  EXPECT_GT(Highest - Lowest, 0.3);
  // Continuous: close points give close values.
  EXPECT_NEAR(Assets::Noise(2.5, 1.5, 3), Assets::Noise(2.501, 1.5, 3), 0.01);
}

}  // namespace

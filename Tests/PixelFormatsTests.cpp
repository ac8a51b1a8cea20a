// PixelFormatsTests.cpp -- texture formats converted to RGBA (DXT blocks against hand-computed
// colours) and the PNG writer.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "EngineImages.h"
#include "Platform.h"
#include "PlatformGraphics.h"
#include "TestSupport.h"

using Platform::ConvertToRgba;
using Platform::TTextureFormat;

namespace {

using TBytes = std::vector<std::uint8_t>;
using TRgba = std::array<int, 4>;

void Add16(TBytes& Out, std::uint32_t V) {
  Out.push_back(static_cast<std::uint8_t>(V));
  Out.push_back(static_cast<std::uint8_t>(V >> 8));
}

void Add32(TBytes& Out, std::uint32_t V) {
  Add16(Out, V & 0xFFFF);
  Add16(Out, V >> 16);
}

// A colour block: two RGB 5-6-5 endpoints and the 2-bit index of each texel (row by row).
TBytes ColourBlock(std::uint32_t C0, std::uint32_t C1, const std::array<int, 16>& Indices) {
  TBytes Block;
  Add16(Block, C0);
  Add16(Block, C1);
  std::uint32_t Word = 0;
  for (int I = 0; I < 16; ++I)
    Word |= static_cast<std::uint32_t>(Indices[I]) << (2 * I);
  Add32(Block, Word);
  return Block;
}

// Texel I uses index I % 4: columns 0, 1, 2, 3 show palette entries 0, 1, 2, 3.
constexpr std::array<int, 16> ByColumn = {0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 2, 3};

std::vector<TRgba> Convert(TTextureFormat Format, const TBytes& Source, int Pitch, int Width,
                           int Height) {
  TBytes Target(static_cast<std::size_t>(Width) * Height * 4, 0xEE);
  ConvertToRgba(Format, Source.data(), Pitch, Width, Height, Target.data());
  std::vector<TRgba> Pixels;
  for (std::size_t I = 0; I < Target.size(); I += 4)
    Pixels.push_back({Target[I], Target[I + 1], Target[I + 2], Target[I + 3]});
  return Pixels;
}

TEST(PixelFormats, BlockFormatsAndElementSizes) {
  struct Case {
    TTextureFormat Format;
    bool Block;
    int Bytes;
  };
  const Case Cases[] = {
      {TTextureFormat::DXT1, true, 8},      {TTextureFormat::DXT3, true, 16},
      {TTextureFormat::DXT5, true, 16},     {TTextureFormat::R5G6B5, false, 2},
      {TTextureFormat::A1R5G5B5, false, 2}, {TTextureFormat::A4R4G4B4, false, 2},
      {TTextureFormat::A8R8G8B8, false, 4},
  };
  for (const Case& C : Cases) {
    EXPECT_EQ(Platform::IsBlockFormat(C.Format), C.Block) << static_cast<int>(C.Format);
    EXPECT_EQ(Platform::ElementBytes(C.Format), C.Bytes) << static_cast<int>(C.Format);
  }
}

TEST(PixelFormats, PixelFormatsWidenEveryChannel) {
  struct Case {
    TTextureFormat Format;
    TBytes Pixel;
    TRgba Expected;
  };
  const Case Cases[] = {
      {TTextureFormat::R5G6B5, {0x00, 0xF8}, {255, 0, 0, 255}},
      {TTextureFormat::R5G6B5, {0xE0, 0x07}, {0, 255, 0, 255}},
      {TTextureFormat::R5G6B5, {0x1F, 0x00}, {0, 0, 255, 255}},
      {TTextureFormat::R5G6B5, {0x10, 0x84}, {132, 130, 132, 255}},  // each channel half
      {TTextureFormat::A1R5G5B5, {0x00, 0xFC}, {255, 0, 0, 255}},
      {TTextureFormat::A1R5G5B5, {0xE0, 0x03}, {0, 255, 0, 0}},
      {TTextureFormat::A1R5G5B5, {0x1F, 0x80}, {0, 0, 255, 255}},
      {TTextureFormat::A1R5G5B5, {0x10, 0x42}, {132, 132, 132, 0}},
      {TTextureFormat::A4R4G4B4, {0x4C, 0xF8}, {136, 68, 204, 255}},
      {TTextureFormat::A4R4G4B4, {0x00, 0x1F}, {255, 0, 0, 17}},
      {TTextureFormat::A8R8G8B8, {0x10, 0x20, 0x30, 0x40}, {0x30, 0x20, 0x10, 0x40}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(static_cast<int>(C.Format));
    const auto Pixels = Convert(C.Format, C.Pixel, static_cast<int>(C.Pixel.size()), 1, 1);
    EXPECT_EQ(Pixels[0], C.Expected);
  }
}

TEST(PixelFormats, RowsArePitchBytesApart) {
  // Two rows of two A8R8G8B8 pixels with four bytes of row padding between them.
  const TBytes Source = {1, 2,  3,  4,  5,  6,  7,  8,  0xAA, 0xAA, 0xAA, 0xAA,
                         9, 10, 11, 12, 13, 14, 15, 16, 0xAA, 0xAA, 0xAA, 0xAA};
  const auto Pixels = Convert(TTextureFormat::A8R8G8B8, Source, 12, 2, 2);
  const std::vector<TRgba> Expected = {
      {3, 2, 1, 4}, {7, 6, 5, 8}, {11, 10, 9, 12}, {15, 14, 13, 16}};
  EXPECT_EQ(Pixels, Expected);
}

TEST(PixelFormats, Dxt1FourColourBlock) {
  // Red above blue: four colours, the middle two at thirds.
  const auto Pixels = Convert(TTextureFormat::DXT1, ColourBlock(0xF800, 0x001F, ByColumn), 8, 4, 4);
  const TRgba Palette[4] = {
      {255, 0, 0, 255}, {0, 0, 255, 255}, {170, 0, 85, 255}, {85, 0, 170, 255}};
  for (int I = 0; I < 16; ++I)
    EXPECT_EQ(Pixels[I], Palette[I % 4]) << "texel " << I;
}

TEST(PixelFormats, Dxt1ThreeColourBlockHasTransparentBlack) {
  struct Case {
    std::uint32_t C0, C1;
    TRgba Middle;
  };
  const Case Cases[] = {
      {0x001F, 0xF800, {127, 0, 127, 255}},  // first endpoint below the second
      {0x07E0, 0x07E0, {0, 255, 0, 255}},    // equal endpoints also use three colours
  };
  for (const Case& C : Cases) {
    const auto Pixels = Convert(TTextureFormat::DXT1, ColourBlock(C.C0, C.C1, ByColumn), 8, 4, 4);
    EXPECT_EQ(Pixels[2], C.Middle) << C.C0;
    EXPECT_EQ(Pixels[3], (TRgba{0, 0, 0, 0})) << C.C0;
  }
}

TEST(PixelFormats, Dxt3ExplicitAlphaAndAlwaysFourColours) {
  TBytes Block;
  for (int Pair = 0; Pair < 8; ++Pair)  // texel I has alpha I (4 bits)
    Block.push_back(static_cast<std::uint8_t>(Pair * 2 | (Pair * 2 + 1) << 4));
  // Endpoints in the order that would mean three colours in DXT1.
  const TBytes Colour = ColourBlock(0x001F, 0xF800, ByColumn);
  Block.insert(Block.end(), Colour.begin(), Colour.end());
  const auto Pixels = Convert(TTextureFormat::DXT3, Block, 16, 4, 4);
  const TRgba Palette[4] = {{0, 0, 255, 0}, {255, 0, 0, 0}, {85, 0, 170, 0}, {170, 0, 85, 0}};
  for (int I = 0; I < 16; ++I) {
    TRgba Expected = Palette[I % 4];
    Expected[3] = I * 17;
    EXPECT_EQ(Pixels[I], Expected) << "texel " << I;
  }
}

TEST(PixelFormats, Dxt5InterpolatedAlphaInBothModes) {
  struct Case {
    std::uint8_t A0, A1;
    std::array<int, 8> Alphas;
  };
  const Case Cases[] = {
      {255, 0, {255, 0, 218, 182, 145, 109, 72, 36}},  // six interpolated values
      {0, 255, {0, 255, 51, 102, 153, 204, 0, 255}},   // four, then 0 and 255
      {40, 40, {40, 40, 40, 40, 40, 40, 0, 255}},
  };
  for (const Case& C : Cases) {
    TBytes Block = {C.A0, C.A1};
    std::uint64_t Indices = 0;  // texel I uses alpha index I % 8
    for (int I = 0; I < 16; ++I)
      Indices |= static_cast<std::uint64_t>(I % 8) << (3 * I);
    for (int Byte = 0; Byte < 6; ++Byte)
      Block.push_back(static_cast<std::uint8_t>(Indices >> (8 * Byte)));
    const TBytes Colour = ColourBlock(0x001F, 0xF800, ByColumn);
    Block.insert(Block.end(), Colour.begin(), Colour.end());
    const auto Pixels = Convert(TTextureFormat::DXT5, Block, 16, 4, 4);
    for (int I = 0; I < 16; ++I)
      EXPECT_EQ(Pixels[I][3], C.Alphas[I % 8]) << "texel " << I << " of " << int(C.A0);
    EXPECT_EQ(Pixels[3], (TRgba{170, 0, 85, C.Alphas[3]}));  // four colours, never transparent
  }
}

TEST(PixelFormats, BlocksRowsUsePitchAndPartialBlocksAreCut) {
  // Two block rows of two blocks each (pitch 24: 8 bytes unused), converted as 6 x 6 pixels.
  TBytes Source;
  const std::uint32_t Colours[4] = {0xF800, 0x07E0, 0x001F, 0xFFFF};
  for (int Block = 0; Block < 4; ++Block) {
    const TBytes B = ColourBlock(Colours[Block], 0, {});  // every texel index 0: the endpoint
    Source.insert(Source.end(), B.begin(), B.end());
    if (Block % 2 == 1) Source.insert(Source.end(), 8, 0xAA);
  }
  const auto Pixels = Convert(TTextureFormat::DXT1, Source, 24, 6, 6);
  ASSERT_EQ(Pixels.size(), 36u);
  const TRgba Expected[4] = {
      {255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}, {255, 255, 255, 255}};
  for (int Y = 0; Y < 6; ++Y)
    for (int X = 0; X < 6; ++X)
      EXPECT_EQ(Pixels[Y * 6 + X], Expected[(Y / 4) * 2 + X / 4]) << X << "," << Y;
}

TEST(PngWriter, WritesRgbaThatReadsBack) {
  TScratchFolder Scratch;
  const std::string Path = Scratch.Path() + "/picture.png";
  const TBytes Rgba = {255, 0,  0,  255, 0,  255, 0,  128, 0,  0,   255, 0,
                       10,  20, 30, 40,  50, 60,  70, 80,  90, 100, 110, 120};
  ASSERT_EQ(Platform::WritePng(Path, Rgba, 3, 2), "");
  const auto File = Platform::ReadFile(Path);
  ASSERT_TRUE(File);
  const TImage Image = DecodeImage(*File, 1, 16);
  ASSERT_EQ(Image.Width, 3);
  ASSERT_EQ(Image.Height, 2);
  for (std::size_t I = 0; I < Rgba.size(); I += 4) {  // read back as B, G, R, A
    EXPECT_EQ(Image.Pixels[I], Rgba[I + 2]) << I;
    EXPECT_EQ(Image.Pixels[I + 1], Rgba[I + 1]) << I;
    EXPECT_EQ(Image.Pixels[I + 2], Rgba[I]) << I;
    EXPECT_EQ(Image.Pixels[I + 3], Rgba[I + 3]) << I;
  }
}

TEST(PngWriter, RefusesBadInputAndReportsWriteFailures) {
  TScratchFolder Scratch;
  const TBytes Four(16, 0);
  EXPECT_NE(Platform::WritePng(Scratch.Path() + "/short.png", Four, 3, 2), "");
  EXPECT_NE(Platform::WritePng(Scratch.Path() + "/empty.png", Four, 0, 2), "");
  EXPECT_NE(Platform::WritePng(Scratch.Path() + "/no/such/folder/x.png", Four, 2, 2), "");
  EXPECT_FALSE(Platform::FileExists(Scratch.Path() + "/short.png"));
}

}  // namespace

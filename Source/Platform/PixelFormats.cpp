// PixelFormats.cpp -- element sizes of the texture formats and their conversion to RGBA,
// DXT1/DXT3/DXT5 block decoding included.
#include <cstdint>

#include "PlatformGraphics.h"

namespace Platform {

namespace {

// Little-endian reads from a block.
std::uint32_t Read16(const std::uint8_t* P) {
  return static_cast<std::uint32_t>(P[0]) | static_cast<std::uint32_t>(P[1]) << 8;
}

std::uint32_t Read32(const std::uint8_t* P) {
  return Read16(P) | Read16(P + 2) << 16;
}

std::uint64_t Read48(const std::uint8_t* P) {
  return static_cast<std::uint64_t>(Read32(P)) | static_cast<std::uint64_t>(Read16(P + 4)) << 32;
}

std::uint64_t Read64(const std::uint8_t* P) {
  return static_cast<std::uint64_t>(Read32(P)) | static_cast<std::uint64_t>(Read32(P + 4)) << 32;
}

// A channel of Bits bits widened to 8 bits by repeating its top bits in the low ones, so that
// the largest value gives 255.
std::uint8_t Widen(std::uint32_t Value, int Bits) {
  const std::uint32_t V = Value & ((1u << Bits) - 1u);
  std::uint32_t Wide = V << (8 - Bits);
  for (int Filled = Bits; Filled < 8; Filled += Bits)
    Wide |= V << (8 - Bits) >> Filled;
  return static_cast<std::uint8_t>(Wide);
}

struct TRgba {
  std::uint8_t R, G, B, A;
};

TRgba From565(std::uint32_t C) {
  return {Widen(C >> 11, 5), Widen(C >> 5, 6), Widen(C, 5), 255};
}

// The four colours of a DXT colour block. DXT1 blocks whose first endpoint is not above the
// second use three colours and transparent black; DXT3 and DXT5 always use four colours.
void BlockPalette(const std::uint8_t* Block, bool AllowTransparent, TRgba Palette[4]) {
  const std::uint32_t C0 = Read16(Block);
  const std::uint32_t C1 = Read16(Block + 2);
  const TRgba A = From565(C0);
  const TRgba B = From565(C1);
  Palette[0] = A;
  Palette[1] = B;
  auto Mix = [](std::uint8_t X, std::uint8_t Y, int WX, int WY) {
    return static_cast<std::uint8_t>((X * WX + Y * WY) / (WX + WY));
  };
  if (C0 > C1 || !AllowTransparent) {
    Palette[2] = {Mix(A.R, B.R, 2, 1), Mix(A.G, B.G, 2, 1), Mix(A.B, B.B, 2, 1), 255};
    Palette[3] = {Mix(A.R, B.R, 1, 2), Mix(A.G, B.G, 1, 2), Mix(A.B, B.B, 1, 2), 255};
  } else {
    Palette[2] = {Mix(A.R, B.R, 1, 1), Mix(A.G, B.G, 1, 1), Mix(A.B, B.B, 1, 1), 255};
    Palette[3] = {0, 0, 0, 0};
  }
}

// The eight alpha values of a DXT5 alpha block: six interpolated ones when the first endpoint is
// above the second, else four interpolated ones followed by 0 and 255.
void AlphaPalette(std::uint8_t A0, std::uint8_t A1, std::uint8_t Palette[8]) {
  Palette[0] = A0;
  Palette[1] = A1;
  if (A0 > A1) {
    for (int I = 1; I <= 6; ++I)
      Palette[I + 1] = static_cast<std::uint8_t>(((7 - I) * A0 + I * A1) / 7);
  } else {
    for (int I = 1; I <= 4; ++I)
      Palette[I + 1] = static_cast<std::uint8_t>(((5 - I) * A0 + I * A1) / 5);
    Palette[6] = 0;
    Palette[7] = 255;
  }
}

// Decodes one 4 x 4 block into Texels (row by row, RGBA).
void DecodeBlock(TTextureFormat Format, const std::uint8_t* Block, TRgba Texels[16]) {
  const std::uint8_t* ColourBlock = Format == TTextureFormat::DXT1 ? Block : Block + 8;
  TRgba Palette[4];
  BlockPalette(ColourBlock, Format == TTextureFormat::DXT1, Palette);
  const std::uint32_t Indices = Read32(ColourBlock + 4);
  for (int I = 0; I < 16; ++I)
    Texels[I] = Palette[Indices >> (2 * I) & 3u];

  if (Format == TTextureFormat::DXT3) {
    const std::uint64_t Alpha = Read64(Block);
    for (int I = 0; I < 16; ++I)
      Texels[I].A = Widen(static_cast<std::uint32_t>(Alpha >> (4 * I)), 4);
  } else if (Format == TTextureFormat::DXT5) {
    std::uint8_t Alphas[8];
    AlphaPalette(Block[0], Block[1], Alphas);
    const std::uint64_t Indices3 = Read48(Block + 2);
    for (int I = 0; I < 16; ++I)
      Texels[I].A = Alphas[Indices3 >> (3 * I) & 7u];
  }
}

void StoreRgba(std::uint8_t* Target, TRgba C) {
  Target[0] = C.R;
  Target[1] = C.G;
  Target[2] = C.B;
  Target[3] = C.A;
}

TRgba DecodePixel(TTextureFormat Format, const std::uint8_t* P) {
  switch (Format) {
    case TTextureFormat::R5G6B5:
      return From565(Read16(P));
    case TTextureFormat::A1R5G5B5: {
      const std::uint32_t C = Read16(P);
      return {Widen(C >> 10, 5), Widen(C >> 5, 5), Widen(C, 5),
              static_cast<std::uint8_t>(C & 0x8000u ? 255 : 0)};
    }
    case TTextureFormat::A4R4G4B4: {
      const std::uint32_t C = Read16(P);
      return {Widen(C >> 8, 4), Widen(C >> 4, 4), Widen(C, 4), Widen(C >> 12, 4)};
    }
    case TTextureFormat::A8R8G8B8:
      return {P[2], P[1], P[0], P[3]};
    case TTextureFormat::DXT1:
    case TTextureFormat::DXT3:
    case TTextureFormat::DXT5:
      break;
  }
  return {0, 0, 0, 0};
}

}  // namespace

bool IsBlockFormat(TTextureFormat Format) {
  return Format == TTextureFormat::DXT1 || Format == TTextureFormat::DXT3 ||
         Format == TTextureFormat::DXT5;
}

int ElementBytes(TTextureFormat Format) {
  switch (Format) {
    case TTextureFormat::DXT1:
      return 8;
    case TTextureFormat::DXT3:
    case TTextureFormat::DXT5:
      return 16;
    case TTextureFormat::R5G6B5:
    case TTextureFormat::A1R5G5B5:
    case TTextureFormat::A4R4G4B4:
      return 2;
    case TTextureFormat::A8R8G8B8:
      return 4;
  }
  return 0;
}

void ConvertToRgba(TTextureFormat Format, const std::uint8_t* Source, int Pitch, int Width,
                   int Height, std::uint8_t* Target) {
  if (Width <= 0 || Height <= 0) return;
  const std::size_t TargetPitch = static_cast<std::size_t>(Width) * 4;
  if (!IsBlockFormat(Format)) {
    const int Bytes = ElementBytes(Format);
    for (int Y = 0; Y < Height; ++Y) {
      const std::uint8_t* Row = Source + static_cast<std::ptrdiff_t>(Y) * Pitch;
      std::uint8_t* Out = Target + Y * TargetPitch;
      for (int X = 0; X < Width; ++X)
        StoreRgba(Out + X * 4, DecodePixel(Format, Row + X * Bytes));
    }
    return;
  }
  // Blocks cover 4 x 4 pixels; those of a partly covered last block column or row are dropped.
  const int Bytes = ElementBytes(Format);
  for (int BlockY = 0; BlockY * 4 < Height; ++BlockY) {
    const std::uint8_t* Row = Source + static_cast<std::ptrdiff_t>(BlockY) * Pitch;
    for (int BlockX = 0; BlockX * 4 < Width; ++BlockX) {
      TRgba Texels[16];
      DecodeBlock(Format, Row + BlockX * Bytes, Texels);
      for (int Y = 0; Y < 4 && BlockY * 4 + Y < Height; ++Y) {
        std::uint8_t* Out = Target + (BlockY * 4 + Y) * TargetPitch;
        for (int X = 0; X < 4 && BlockX * 4 + X < Width; ++X)
          StoreRgba(Out + (BlockX * 4 + X) * 4, Texels[Y * 4 + X]);
      }
    }
  }
}

}  // namespace Platform

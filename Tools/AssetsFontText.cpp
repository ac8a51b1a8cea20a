// AssetsFontText.cpp -- the text glyphs of the font atlases: DejaVu rasterised with FreeType for
// the Windows-1252 codes, white with a soft dark halo, plus the shared cell helpers.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>

#include "AssetsFonts.h"

namespace Assets::Fonts {

namespace {

constexpr int kFirstText = 32;
constexpr char32_t kUndefined = 0;

// Windows-1252 codes 128..159; 0 where the code page leaves a code undefined.
constexpr std::array<char32_t, 32> kWindows1252High = {
    0x20AC,     kUndefined, 0x201A, 0x0192, 0x201E, 0x2026,     0x2020, 0x2021,
    0x02C6,     0x2030,     0x0160, 0x2039, 0x0152, kUndefined, 0x017D, kUndefined,
    kUndefined, 0x2018,     0x2019, 0x201C, 0x201D, 0x2022,     0x2013, 0x2014,
    0x02DC,     0x2122,     0x0161, 0x203A, 0x0153, kUndefined, 0x017E, 0x0178};

char32_t UnicodeOf(int Code) {
  if (Code >= 128 && Code < 160) return kWindows1252High[static_cast<std::size_t>(Code - 128)];
  return static_cast<char32_t>(Code);
}

// A face sized to PixelSize that renders single characters.
class TSizedFace {
 public:
  TSizedFace(const std::string& FontFile, int PixelSize) : Font(FontFile) {
    if (FT_Set_Pixel_Sizes(Font.Face(), 0, static_cast<FT_UInt>(PixelSize)) != 0)
      throw std::runtime_error("Cannot size the font " + FontFile);
  }

  // Renders the character into the face's glyph slot; null when the font lacks it.
  FT_GlyphSlot Render(char32_t Character) const {
    const FT_Face Face = Font.Face();
    if (FT_Get_Char_Index(Face, Character) == 0) return nullptr;
    if (FT_Load_Char(Face, Character, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) != 0) return nullptr;
    if (Face->glyph->bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) return nullptr;
    return Face->glyph;
  }

 private:
  TFontFace Font;
};

// The cell of one rendered character: pen origin 2 px in, shifted right when the ink would
// reach into the left margin, widened when the ink (and its halo) needs more room.
TPicture CellOf(FT_GlyphSlot Slot) {
  const FT_Bitmap& Bitmap = Slot->bitmap;
  const int InkLeft = kSideMargin + Slot->bitmap_left;
  const int Shift = std::max(0, 1 - InkLeft);
  const int Advance = static_cast<int>(std::ceil(Slot->advance.x / 64.0));
  const int InkRight = InkLeft + Shift + static_cast<int>(Bitmap.width);
  const int Width = std::max(Advance + kTracking + Shift, InkRight + 1);
  TPicture Cell = EmptyCell(Width);
  const int Top = kBaseline - Slot->bitmap_top;
  for (int Row = 0; Row < static_cast<int>(Bitmap.rows); ++Row) {
    const int Y = Top + Row;
    if (Y < 0 || Y >= kCellHeight) continue;
    const unsigned char* Source = Bitmap.buffer + static_cast<std::ptrdiff_t>(Row) * Bitmap.pitch;
    for (int Column = 0; Column < static_cast<int>(Bitmap.width); ++Column) {
      const int X = InkLeft + Shift + Column;
      if (X < 0 || X >= Width || Source[Column] == 0) continue;
      std::uint8_t* Pixel = Cell.At(X, Y);
      Pixel[0] = Pixel[1] = Pixel[2] = 255;
      Pixel[3] = Source[Column];
    }
  }
  return Cell;
}

}  // namespace

TPicture EmptyCell(int Width) {
  return TPicture(std::max(1, Width), kCellHeight);
}

TGlyphs TextGlyphs(const std::string& FontFile, int PixelSize) {
  const TSizedFace Face(FontFile, PixelSize);
  TGlyphs Glyphs(kCodes, EmptyCell(kEmptyWidth));
  Glyphs[kBackspace] = EmptyCell(kBackspaceWidth);
  for (int Code = kFirstText; Code < kCodes; ++Code) {
    const char32_t Character = UnicodeOf(Code);
    if (Character == kUndefined) continue;
    const FT_GlyphSlot Slot = Face.Render(Character);
    if (!Slot) continue;
    Glyphs[static_cast<std::size_t>(Code)] = CellOf(Slot);
    AddHalo(Glyphs[static_cast<std::size_t>(Code)], 0.65);
  }
  return Glyphs;
}

void AddHalo(TPicture& Picture, double Strength) {
  const TPicture Ink = Picture;
  auto AlphaAt = [&Ink](int X, int Y) {
    if (X < 0 || Y < 0 || X >= Ink.Width || Y >= Ink.Height) return 0.0;
    return Ink.At(X, Y)[3] / 255.0;
  };
  for (int Y = 0; Y < Picture.Height; ++Y)
    for (int X = 0; X < Picture.Width; ++X) {
      const double Beside =
          std::max({AlphaAt(X - 1, Y), AlphaAt(X + 1, Y), AlphaAt(X, Y - 1), AlphaAt(X, Y + 1)});
      const double Corner =
          std::max({AlphaAt(X + 1, Y - 1), AlphaAt(X - 1, Y + 1), AlphaAt(X + 1, Y + 1)});
      // The light comes from the upper left: the rim is strongest below and to the right.
      const double Shadow = AlphaAt(X - 1, Y - 1);
      const double Rim = Strength * std::max({Beside * 0.85, Corner * 0.5, Shadow});
      std::uint8_t* Pixel = Picture.At(X, Y);
      const double Alpha = Pixel[3] / 255.0;
      const double Under = std::min(1.0, Rim) * (1 - Alpha);
      const double Total = Alpha + Under;
      if (Total <= 0) continue;
      // The rim is black: the colour keeps only the ink's share.
      for (int Channel = 0; Channel < 3; ++Channel)
        Pixel[Channel] = static_cast<std::uint8_t>(std::lround(Pixel[Channel] * Alpha / Total));
      Pixel[3] = static_cast<std::uint8_t>(std::lround(Total * 255));
    }
}

}  // namespace Assets::Fonts

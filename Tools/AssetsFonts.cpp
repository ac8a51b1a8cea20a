// AssetsFonts.cpp -- "defaultfont" and "iconsfont": the two bitmap font atlases. Each is a texture
// with 256 segments, one per byte code: the word font holds the text glyphs and the resource,
// status and service pictograms; the icon font holds the arrows and pane upgrade marks, with a
// copy of the pictograms and text glyphs so that anything written with it stays readable.
#include <algorithm>

#include "AssetsFonts.h"

namespace Assets::Fonts {

namespace {

constexpr int kTextPixelSize = 20;
constexpr int kAtlasWidth = 512;

// The pictograms the icon font shares with the word font.
bool SharedWithIcons(int Code) {
  return (Code >= 3 && Code <= 12) || (Code >= 27 && Code <= 31);
}

// Both fonts start from the same text glyphs: they are rasterised once, whichever font asks first.
const TGlyphs& SharedTextGlyphs() {
  static const TGlyphs Glyphs = TextGlyphs(FontFiles::kSansBold, kTextPixelSize);
  return Glyphs;
}

TGlyphs DefaultFontGlyphs() {
  TGlyphs Glyphs = SharedTextGlyphs();
  for (int Code = 1; Code < kSpace; ++Code)
    if (HasPictogram(Code)) Glyphs[static_cast<std::size_t>(Code)] = Pictogram(Code);
  return Glyphs;
}

TGlyphs IconsFontGlyphs() {
  TGlyphs Glyphs = SharedTextGlyphs();
  for (int Code = 1; Code < kSpace; ++Code) {
    if (HasIconPicture(Code))
      Glyphs[static_cast<std::size_t>(Code)] = IconPicture(Code);
    else if (SharedWithIcons(Code) && HasPictogram(Code))
      Glyphs[static_cast<std::size_t>(Code)] = Pictogram(Code);
  }
  return Glyphs;
}

void WriteFont(TOutput& Output, const std::string& Name, const TGlyphs& Glyphs) {
  std::vector<TRect> Segments;
  const TPicture Atlas = PackAtlas(Glyphs, kAtlasWidth, Segments);
  Output.Texture(Name, Atlas, TDdsFormat::Argb8888, Segments);
}

void GenerateDefaultFont(TOutput& Output) {
  WriteFont(Output, "DefaultFont", DefaultFontGlyphs());
}

void GenerateIconsFont(TOutput& Output) {
  WriteFont(Output, "IconsFont", IconsFontGlyphs());
}

const TGeneratorRegistration DefaultFontRegistration("defaultfont", &GenerateDefaultFont);
const TGeneratorRegistration IconsFontRegistration("iconsfont", &GenerateIconsFont);

}  // namespace

TPicture PackAtlas(const TGlyphs& Cells, int AtlasWidth, std::vector<TRect>& Segments) {
  constexpr int kGutter = 1;
  Segments.clear();
  int X = kGutter, Y = kGutter;
  for (const TPicture& Cell : Cells) {
    const int Width = std::min(Cell.Width, AtlasWidth - 2 * kGutter);
    if (X + Width + kGutter > AtlasWidth) {
      X = kGutter;
      Y += kCellHeight + 2 * kGutter;
    }
    Segments.push_back({X, Y, Width, kCellHeight});
    X += Width + 2 * kGutter;
  }
  // A height divisible by 4 keeps the atlas friendly to any texture unit.
  const int Height = WholeBlocks(CellsHeight(Segments, kGutter));
  TPicture Atlas(AtlasWidth, Height);
  for (std::size_t Index = 0; Index < Cells.size(); ++Index) {
    const TRect& Place = Segments[Index];
    const TPicture& Cell = Cells[Index];
    for (int Row = 0; Row < std::min(Cell.Height, Place.Height); ++Row)
      std::copy_n(Cell.At(0, Row), std::size_t(Place.Width) * 4,
                  Atlas.At(Place.Left, Place.Top + Row));
  }
  return Atlas;
}

}  // namespace Assets::Fonts

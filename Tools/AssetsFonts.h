// AssetsFonts.h -- what the font atlas generators share: the glyph cell rules, the text glyphs
// rasterised from DejaVu, and the pictograms drawn with cairo.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "AssetsCore.h"

namespace Assets::Fonts {

// Every cell is one line high; segment 0's height is the font's line height.
constexpr int kCellHeight = 32;
constexpr int kCodes = 256;
// Consecutive glyphs overlap by 4 px, so each cell keeps 2 transparent px on either side.
constexpr int kTracking = 4;
constexpr int kSideMargin = kTracking / 2;
constexpr int kBaseline = 24;

// Layout-only codes 0, 8, 13 and 32: never drawn, but their widths move the pen. The line break
// (13) and the unused codes are empty cells that advance nothing.
constexpr int kBackspace = 8;  // pen goes back width - 4, so the next glyph overlays this one
constexpr int kBackspaceWidth = 14;
constexpr int kSpace = 32;
constexpr int kEmptyWidth = kTracking;

// A glyph is its whole cell: Width x kCellHeight, straight alpha.
using TGlyphs = std::vector<TPicture>;

TPicture EmptyCell(int Width);
// Cells for all codes; the text codes 32..255 hold white Windows-1252 glyphs with their dark halo,
// the rest are empty cells of kEmptyWidth (8 of kBackspaceWidth). Throws when the font is missing.
TGlyphs TextGlyphs(const std::string& FontFile, int PixelSize);
// Puts a soft dark rim (shadow to the lower right) under the picture's ink, so white glyphs read
// on light and dark panels alike.
void AddHalo(TPicture& Picture, double Strength);

// The pictograms of the word font (codes 1..31, except 8 and 13), drawn in colour.
TPicture Pictogram(int Code);
bool HasPictogram(int Code);
// The pictures only the icon font has: arrows (1, 2) and the pane upgrade marks (14..26).
TPicture IconPicture(int Code);
bool HasIconPicture(int Code);

// Packs the cells row by row, in code order, into an atlas AtlasWidth wide, each cell surrounded
// by at least one transparent pixel. Segments[i] is the rectangle of Cells[i].
TPicture PackAtlas(const TGlyphs& Cells, int AtlasWidth, std::vector<TRect>& Segments);

// Shared cairo drawing helpers (coordinates in cell pixels).
namespace Draw {
// Strokes (and clears) the current path with round joins, Width in device pixels whatever the
// current scale: in the outline ink, or in Color.
void Outline(cairo_t* Cr, double Width = 1.1);
void OutlineIn(cairo_t* Cr, const TColor& Color, double Width = 1.1);
// Runs Paint clipped to the current path (Paint starts with an empty path); the path is kept.
void PaintInside(cairo_t* Cr, const std::function<void()>& Paint);
// FillLit then Outline, and clears the path.
void Solid(cairo_t* Cr, const TColor& Color, double Light = 1.3, double Dark = 0.75);
// Family symbols, drawn around (CentreX, CentreY) at Scale (1: about 26 px of ink).
void Bell(cairo_t* Cr, double CentreX, double CentreY, double Scale);
void Amphora(cairo_t* Cr, double CentreX, double CentreY, double Scale);
void HerbSprig(cairo_t* Cr, double CentreX, double CentreY, double Scale);
void TheatreMasks(cairo_t* Cr, double CentreX, double CentreY, double Scale);
}  // namespace Draw

// The four service families, in the order religion, commerce, healthcare, culture.
TColor FamilyColor(int Family);

}  // namespace Assets::Fonts

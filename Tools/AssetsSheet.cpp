// AssetsSheet.cpp -- the review contact sheet: every generated texture on one picture, each on a
// checkerboard (so transparency shows) with its segments outlined and its name below.
#include <algorithm>
#include <cmath>

#include "AssetsCore.h"

namespace Assets {

namespace {

constexpr int kColumns = 6;
constexpr int kTileSide = 360;  // the largest side of a texture on the sheet
constexpr int kLabelHeight = 28;
constexpr int kMargin = 16;

void Checkerboard(cairo_t* Cr, double Width, double Height) {
  constexpr double Square = 12;
  for (int Row = 0; Row * Square < Height; ++Row)
    for (int Column = 0; Column * Square < Width; ++Column) {
      const double Grey = (Row + Column) % 2 ? 0.82 : 0.68;
      cairo_set_source_rgb(Cr, Grey, Grey, Grey);
      cairo_rectangle(Cr, Column * Square, Row * Square, std::min(Square, Width - Column * Square),
                      std::min(Square, Height - Row * Square));
      cairo_fill(Cr);
    }
}

void DrawTile(cairo_t* Cr, const TOutlineFont& Font, const TSheetEntry& Entry, double X, double Y) {
  const TPicture& Picture = Entry.Picture;
  const double Scale = std::min(1.0, double(kTileSide) / std::max(Picture.Width, Picture.Height));
  const double Width = Picture.Width * Scale, Height = Picture.Height * Scale;
  cairo_save(Cr);
  cairo_translate(Cr, X + (kTileSide - Width) / 2, Y + (kTileSide - Height) / 2);
  Checkerboard(Cr, Width, Height);

  TCanvas Source(Picture.Width, Picture.Height);
  Source.Put(Picture);
  cairo_save(Cr);
  cairo_scale(Cr, Scale, Scale);
  cairo_set_source_surface(Cr, Source.Surface(), 0, 0);
  cairo_pattern_set_filter(cairo_get_source(Cr), CAIRO_FILTER_GOOD);
  cairo_paint(Cr);
  cairo_restore(Cr);

  cairo_set_line_width(Cr, 1);
  cairo_set_source_rgba(Cr, 1, 0, 0.2, 0.55);
  for (const TRect& Segment : Entry.Segments) {
    cairo_rectangle(Cr, Segment.Left * Scale + 0.5, Segment.Top * Scale + 0.5,
                    std::max(1.0, Segment.Width * Scale - 1),
                    std::max(1.0, Segment.Height * Scale - 1));
    cairo_stroke(Cr);
  }
  cairo_restore(Cr);

  cairo_set_source_rgb(Cr, 0.1, 0.1, 0.1);
  const std::string Label =
      Entry.Name + "  " + std::to_string(Picture.Width) + " x " + std::to_string(Picture.Height) +
      (Entry.Segments.empty() ? "" : "  (" + std::to_string(Entry.Segments.size()) + ")");
  Font.AppendPath(Cr, Label, X, Y + kTileSide + 18, 14);
  cairo_fill(Cr);
}

}  // namespace

TPicture ContactSheet(std::vector<TSheetEntry> Entries) {
  std::sort(Entries.begin(), Entries.end(),
            [](const auto& A, const auto& B) { return A.Name < B.Name; });
  const int Count = std::max<int>(1, static_cast<int>(Entries.size()));
  const int Rows = (Count + kColumns - 1) / kColumns;
  const int TileWidth = kTileSide + kMargin, TileHeight = kTileSide + kLabelHeight + kMargin;
  TCanvas Sheet(kMargin + kColumns * TileWidth, kMargin + Rows * TileHeight);
  cairo_t* Cr = Sheet.Cr();
  const TOutlineFont Font(FontFiles::kSansBold);
  cairo_set_source_rgb(Cr, 0.96, 0.95, 0.92);
  cairo_paint(Cr);
  for (std::size_t Index = 0; Index < Entries.size(); ++Index) {
    const int Column = static_cast<int>(Index) % kColumns, Row = static_cast<int>(Index) / kColumns;
    DrawTile(Cr, Font, Entries[Index], kMargin + Column * TileWidth, kMargin + Row * TileHeight);
  }
  return Sheet.Picture();
}

}  // namespace Assets

// AssetsSheet.cpp -- the review contact sheet: every generated texture on one picture, each on a
// checkerboard (so transparency shows) with its segments outlined and its name below.
#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <stdexcept>

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

void DrawTile(cairo_t* Cr, const TSheetEntry& Entry, double X, double Y) {
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
  cairo_set_font_size(Cr, 14);
  const std::string Label =
      Entry.Name + "  " + std::to_string(Picture.Width) + " x " + std::to_string(Picture.Height) +
      (Entry.Segments.empty() ? "" : "  (" + std::to_string(Entry.Segments.size()) + ")");
  cairo_move_to(Cr, X, Y + kTileSide + 18);
  cairo_show_text(Cr, Label.c_str());
}

// The labels' font, straight from its file through FreeType (no font configuration needed). The
// FreeType face lives as long as cairo's font face, which may outlast the drawing in cairo's
// caches: cairo frees it through the user-data callback.
class TLabelFont {
 public:
  explicit TLabelFont(cairo_t* Cr) {
    auto* Files = new TFreeType;
    if (FT_Init_FreeType(&Files->Library) != 0 ||
        FT_New_Face(Files->Library, kFontFile, 0, &Files->Face) != 0) {
      Release(Files);
      throw std::runtime_error(std::string("cannot read the font ") + kFontFile);
    }
    FontFace = cairo_ft_font_face_create_for_ft_face(Files->Face, 0);
    static const cairo_user_data_key_t Key{};
    cairo_font_face_set_user_data(FontFace, &Key, Files, &Release);
    cairo_set_font_face(Cr, FontFace);
  }
  ~TLabelFont() { cairo_font_face_destroy(FontFace); }
  TLabelFont(const TLabelFont&) = delete;
  TLabelFont& operator=(const TLabelFont&) = delete;

 private:
  struct TFreeType {
    FT_Library Library = nullptr;
    FT_Face Face = nullptr;
  };
  static void Release(void* Data) {
    auto* Files = static_cast<TFreeType*>(Data);
    if (Files->Face) FT_Done_Face(Files->Face);
    if (Files->Library) FT_Done_FreeType(Files->Library);
    delete Files;
  }

  static constexpr const char* kFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
  cairo_font_face_t* FontFace = nullptr;
};

}  // namespace

TPicture ContactSheet(std::vector<TSheetEntry> Entries) {
  std::sort(Entries.begin(), Entries.end(),
            [](const auto& A, const auto& B) { return A.Name < B.Name; });
  const int Count = std::max<int>(1, static_cast<int>(Entries.size()));
  const int Rows = (Count + kColumns - 1) / kColumns;
  const int TileWidth = kTileSide + kMargin, TileHeight = kTileSide + kLabelHeight + kMargin;
  TCanvas Sheet(kMargin + kColumns * TileWidth, kMargin + Rows * TileHeight);
  cairo_t* Cr = Sheet.Cr();
  TLabelFont Font(Cr);
  cairo_set_source_rgb(Cr, 0.96, 0.95, 0.92);
  cairo_paint(Cr);
  for (std::size_t Index = 0; Index < Entries.size(); ++Index) {
    const int Column = static_cast<int>(Index) % kColumns, Row = static_cast<int>(Index) / kColumns;
    DrawTile(Cr, Entries[Index], kMargin + Column * TileWidth, kMargin + Row * TileHeight);
  }
  return Sheet.Picture();
}

}  // namespace Assets

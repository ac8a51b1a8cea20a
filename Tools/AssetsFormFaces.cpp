// AssetsFormFaces.cpp -- "Faces": the two speakers of the town, head and shoulders on a transparent
// ground: the town's steward (segment 0) and the young architect who guides the player
// (segment 1). Each cell is 120 x 160 layout units drawn at twice that size.
#include <cmath>
#include <functional>

#include "AssetsCore.h"
#include "AssetsFormsShared.h"

namespace {

using namespace Assets;
using namespace Assets::Forms;

constexpr int kCellWidth = 240, kCellHeight = 320;
constexpr double kPixelsPerUnit = 2.0;

const TColor kOutline = Rgb(0x2E1F16);
const TColor kSkin = Rgb(0xDDA57C);
const TColor kSkinYoung = Rgb(0xE6B48C);

// Fills the current path with a gradient lit from the upper left, then outlines it.
void FillAndOutline(cairo_t* Cr, const TColor& Base, double X0, double Y0, double X1, double Y1,
                    double Outline = 1.1) {
  cairo_pattern_t* Light = cairo_pattern_create_linear(X0, Y0, X1, Y1);
  const TColor Lit = Shade(Base, 1.18), Dark = Shade(Base, 0.78);
  cairo_pattern_add_color_stop_rgb(Light, 0, Lit.R, Lit.G, Lit.B);
  cairo_pattern_add_color_stop_rgb(Light, 1, Dark.R, Dark.G, Dark.B);
  cairo_set_source(Cr, Light);
  cairo_pattern_destroy(Light);
  cairo_fill_preserve(Cr);
  if (Outline > 0) {
    SetColor(Cr, kOutline);
    cairo_set_line_width(Cr, Outline);
    cairo_stroke(Cr);
  }
  cairo_new_path(Cr);
}

void ShouldersPath(cairo_t* Cr) {
  cairo_move_to(Cr, 4, 161);
  cairo_curve_to(Cr, 6, 136, 16, 124, 40, 117);
  cairo_curve_to(Cr, 50, 114, 70, 114, 80, 117);
  cairo_curve_to(Cr, 104, 124, 114, 136, 116, 161);
  cairo_close_path(Cr);
}

void DrawNeck(cairo_t* Cr, const TColor& Skin) {
  cairo_move_to(Cr, 49, 92);
  cairo_line_to(Cr, 49, 116);
  cairo_curve_to(Cr, 54, 122, 66, 122, 71, 116);
  cairo_line_to(Cr, 71, 92);
  cairo_close_path(Cr);
  FillAndOutline(Cr, Shade(Skin, 0.85), 49, 92, 71, 116);
}

void DrawHead(cairo_t* Cr, const TColor& Skin, double Width, double Blush) {
  Ellipse(Cr, 34.5, 76, 5, 8);
  Ellipse(Cr, 85.5, 76, 5, 8);
  FillAndOutline(Cr, Skin, 30, 68, 90, 84);
  cairo_move_to(Cr, 60, 40);
  cairo_curve_to(Cr, 60 + Width, 40, 60 + Width + 2, 64, 60 + Width - 1, 82);
  cairo_curve_to(Cr, 60 + Width - 3, 98, 70, 106, 60, 106);
  cairo_curve_to(Cr, 50, 106, 60 - Width + 3, 98, 60 - Width + 1, 82);
  cairo_curve_to(Cr, 60 - Width - 2, 64, 60 - Width, 40, 60, 40);
  cairo_close_path(Cr);
  cairo_pattern_t* Light = cairo_pattern_create_radial(50, 62, 4, 58, 72, 38);
  const TColor Lit = Shade(Skin, 1.12), Dark = Shade(Skin, 0.8);
  cairo_pattern_add_color_stop_rgb(Light, 0, Lit.R, Lit.G, Lit.B);
  cairo_pattern_add_color_stop_rgb(Light, 0.6, Skin.R, Skin.G, Skin.B);
  cairo_pattern_add_color_stop_rgb(Light, 1, Dark.R, Dark.G, Dark.B);
  cairo_set_source(Cr, Light);
  cairo_pattern_destroy(Light);
  cairo_fill_preserve(Cr);
  SetColor(Cr, kOutline);
  cairo_set_line_width(Cr, 1.1);
  cairo_stroke(Cr);
  // Rosy cheeks.
  for (double X : {44.0, 76.0}) {
    cairo_pattern_t* Rosy = cairo_pattern_create_radial(X, 84, 0, X, 84, 7);
    cairo_pattern_add_color_stop_rgba(Rosy, 0, 0.9, 0.45, 0.4, Blush);
    cairo_pattern_add_color_stop_rgba(Rosy, 1, 0.9, 0.45, 0.4, 0);
    cairo_set_source(Cr, Rosy);
    cairo_arc(Cr, X, 84, 7, 0, 2 * M_PI);
    cairo_fill(Cr);
    cairo_pattern_destroy(Rosy);
  }
}

// Friendly eyes: dark irises with a glint; Smiling draws them as happy arcs with lashes of lines.
void DrawEyes(cairo_t* Cr, double Y, double Size, bool Smiling) {
  for (double X : {48.5, 71.5}) {
    if (Smiling) {
      cairo_move_to(Cr, X - Size * 1.3, Y + Size * 0.3);
      cairo_curve_to(Cr, X - Size * 0.6, Y - Size * 0.9, X + Size * 0.6, Y - Size * 0.9,
                     X + Size * 1.3, Y + Size * 0.3);
      SetColor(Cr, kOutline);
      cairo_set_line_width(Cr, 1.6);
      cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
      cairo_stroke(Cr);
      continue;
    }
    Ellipse(Cr, X, Y, Size * 1.25, Size);
    SetColor(Cr, Rgb(0xFBF6EE));
    cairo_fill(Cr);
    Ellipse(Cr, X + 0.4, Y + 0.2, Size * 0.75, Size * 0.85);
    SetColor(Cr, Rgb(0x4A2E1C));
    cairo_fill(Cr);
    cairo_arc(Cr, X + 0.5, Y + 0.3, Size * 0.38, 0, 2 * M_PI);
    SetColor(Cr, Rgb(0x140C08));
    cairo_fill(Cr);
    cairo_arc(Cr, X - Size * 0.25, Y - Size * 0.3, Size * 0.25, 0, 2 * M_PI);
    SetColor(Cr, Rgb(0xFFFFFF));
    cairo_fill(Cr);
    // Upper lid line.
    cairo_move_to(Cr, X - Size * 1.35, Y + Size * 0.1);
    cairo_curve_to(Cr, X - Size * 0.7, Y - Size * 1.2, X + Size * 0.7, Y - Size * 1.2,
                   X + Size * 1.35, Y);
    SetColor(Cr, kOutline);
    cairo_set_line_width(Cr, 1.4);
    cairo_stroke(Cr);
  }
}

void DrawBrows(cairo_t* Cr, double Y, const TColor& Color, double Thickness) {
  cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
  SetColor(Cr, Color);
  cairo_set_line_width(Cr, Thickness);
  cairo_move_to(Cr, 42, Y + 1.5);
  cairo_curve_to(Cr, 45, Y - 1.5, 51, Y - 2, 55, Y);
  cairo_move_to(Cr, 65, Y);
  cairo_curve_to(Cr, 69, Y - 2, 75, Y - 1.5, 78, Y + 1.5);
  cairo_stroke(Cr);
}

void DrawNose(cairo_t* Cr, double Length) {
  cairo_move_to(Cr, 60, 76);
  cairo_curve_to(Cr, 61, 76 + Length * 0.6, 65, 76 + Length, 61, 76 + Length + 1);
  cairo_curve_to(Cr, 59, 77 + Length + 1, 57, 77 + Length, 56, 76 + Length);
  SetColor(Cr, Shade(kSkin, 0.6));
  cairo_set_line_width(Cr, 1.1);
  cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(Cr);
}

// A wide smile; Open shows the teeth.
void DrawSmile(cairo_t* Cr, double Y, double HalfWidth, bool Open) {
  cairo_move_to(Cr, 60 - HalfWidth, Y);
  cairo_curve_to(Cr, 60 - HalfWidth * 0.5, Y + HalfWidth * 0.75, 60 + HalfWidth * 0.5,
                 Y + HalfWidth * 0.75, 60 + HalfWidth, Y);
  if (Open) {
    cairo_curve_to(Cr, 60 + HalfWidth * 0.4, Y + 1.2, 60 - HalfWidth * 0.4, Y + 1.2, 60 - HalfWidth,
                   Y);
    cairo_close_path(Cr);
    SetColor(Cr, Rgb(0x7A2A22));
    cairo_fill_preserve(Cr);
    cairo_save(Cr);
    cairo_clip_preserve(Cr);
    cairo_rectangle(Cr, 60 - HalfWidth, Y - 1, 2 * HalfWidth, 3.2);
    SetColor(Cr, Rgb(0xFFFBF2));
    cairo_fill(Cr);
    cairo_restore(Cr);
  }
  SetColor(Cr, Rgb(0x5A2418));
  cairo_set_line_width(Cr, 1.3);
  cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(Cr);
}

// --- the steward -----------------------------------------------------------------------------

void DrawStewardClothes(cairo_t* Cr) {
  ShouldersPath(Cr);
  FillAndOutline(Cr, Palette::Whitewash, 10, 118, 100, 160);
  // A terracotta mantle over the left shoulder, falling across the chest.
  cairo_move_to(Cr, 4, 161);
  cairo_curve_to(Cr, 6, 136, 16, 124, 38, 117);
  cairo_curve_to(Cr, 46, 126, 64, 140, 86, 161);
  cairo_close_path(Cr);
  FillAndOutline(Cr, Palette::Terracotta, 10, 120, 60, 160);
  cairo_move_to(Cr, 24, 130);
  cairo_curve_to(Cr, 34, 138, 44, 148, 52, 160);
  cairo_move_to(Cr, 14, 142);
  cairo_curve_to(Cr, 22, 148, 28, 154, 32, 160);
  SetColor(Cr, Palette::RoofShadow);
  cairo_set_line_width(Cr, 1.2);
  cairo_stroke(Cr);
  // Neckline of the tunic and a gold brooch holding the mantle.
  cairo_move_to(Cr, 46, 116);
  cairo_curve_to(Cr, 52, 124, 68, 124, 74, 116);
  SetColor(Cr, kOutline);
  cairo_set_line_width(Cr, 1.1);
  cairo_stroke(Cr);
  cairo_arc(Cr, 36, 124, 4.2, 0, 2 * M_PI);
  FillAndOutline(Cr, Palette::Gold, 32, 120, 40, 128, 0.9);
}

void DrawStewardHair(cairo_t* Cr) {
  const TColor Grey = Rgb(0xD9D4CC);
  // Hair at the temples and the back of the head; the crown is bald.
  for (int Side : {-1, 1}) {
    cairo_move_to(Cr, 60 + Side * 22, 50);
    cairo_curve_to(Cr, 60 + Side * 31, 56, 60 + Side * 32, 66, 60 + Side * 30, 78);
    cairo_curve_to(Cr, 60 + Side * 27, 72, 60 + Side * 26, 64, 60 + Side * 24, 60);
    cairo_close_path(Cr);
    FillAndOutline(Cr, Grey, 30, 50, 90, 80, 0.9);
  }
  // A short white beard and moustache.
  cairo_move_to(Cr, 36, 82);
  cairo_curve_to(Cr, 38, 100, 48, 112, 60, 112);
  cairo_curve_to(Cr, 72, 112, 82, 100, 84, 82);
  cairo_curve_to(Cr, 78, 92, 70, 94, 60, 93);
  cairo_curve_to(Cr, 50, 94, 42, 92, 36, 82);
  cairo_close_path(Cr);
  FillAndOutline(Cr, Rgb(0xEDE9E2), 40, 84, 80, 112, 0.9);
  cairo_move_to(Cr, 60, 88);
  cairo_curve_to(Cr, 54, 86, 49, 88, 47, 93);
  cairo_curve_to(Cr, 52, 92, 56, 92, 60, 91);
  cairo_curve_to(Cr, 64, 92, 68, 92, 73, 93);
  cairo_curve_to(Cr, 71, 88, 66, 86, 60, 88);
  cairo_close_path(Cr);
  FillAndOutline(Cr, Rgb(0xE2DDD5), 48, 86, 72, 93, 0.8);
}

void DrawWreath(cairo_t* Cr) {
  const TColor Leaf = Palette::Olive;
  LaurelSprig(Cr, 60, 40, 30, M_PI + 0.25, -1.2, 5, Leaf, Rgb(0x33401E));
  LaurelSprig(Cr, 60, 40, 30, -0.25, 1.2, 5, Leaf, Rgb(0x33401E));
}

void DrawSteward(cairo_t* Cr) {
  DrawStewardClothes(Cr);
  DrawNeck(Cr, kSkin);
  DrawHead(Cr, kSkin, 25, 0.2);
  // Wrinkles of a life spent smiling.
  cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
  SetColor(Cr, Rgb(0x9A6A4A, 0.7));
  cairo_set_line_width(Cr, 0.8);
  for (int Line = 0; Line < 2; ++Line) {
    cairo_move_to(Cr, 50, 52 + Line * 3.5);
    cairo_curve_to(Cr, 55, 50.5 + Line * 3.5, 65, 50.5 + Line * 3.5, 70, 52 + Line * 3.5);
  }
  cairo_move_to(Cr, 79, 68);
  cairo_line_to(Cr, 82, 66.5);
  cairo_move_to(Cr, 79, 71);
  cairo_line_to(Cr, 82, 71.5);
  cairo_stroke(Cr);
  DrawStewardHair(Cr);
  DrawBrows(Cr, 62, Rgb(0xC9C3BA), 2.6);
  DrawEyes(Cr, 70, 2.8, true);
  DrawNose(Cr, 12);
  DrawSmile(Cr, 96, 8, false);
  DrawWreath(Cr);
}

// --- the architect ---------------------------------------------------------------------------

void DrawArchitectClothes(cairo_t* Cr) {
  ShouldersPath(Cr);
  FillAndOutline(Cr, Rgb(0x3E7FA8), 10, 118, 100, 160);
  // Ochre trim along the neckline.
  cairo_move_to(Cr, 42, 116);
  cairo_curve_to(Cr, 50, 130, 70, 130, 78, 116);
  SetColor(Cr, Palette::Ochre);
  cairo_set_line_width(Cr, 4);
  cairo_stroke_preserve(Cr);
  SetColor(Cr, kOutline);
  cairo_set_line_width(Cr, 0.8);
  cairo_stroke(Cr);
  // A rolled plan carried on the right shoulder, tied with a red cord.
  cairo_save(Cr);
  cairo_translate(Cr, 96, 134);
  cairo_rotate(Cr, -0.9);
  cairo_rectangle(Cr, -26, -6, 44, 12);
  FillAndOutline(Cr, Palette::Parchment, -26, -6, -26, 6);
  Ellipse(Cr, 18, 0, 3, 6);
  FillAndOutline(Cr, Palette::Sand, 15, -6, 21, 6, 1.0);
  Ellipse(Cr, 18, 0, 1.2, 2.4);
  SetColor(Cr, Rgb(0xB89A6A));
  cairo_fill(Cr);
  cairo_rectangle(Cr, -2, -6.5, 3, 13);
  FillAndOutline(Cr, Rgb(0xB8332A), -2, -6, 1, 6, 0.7);
  cairo_restore(Cr);
}

void DrawArchitectHairBack(cairo_t* Cr) {
  const TColor Hair = Rgb(0x4A2C1C);
  Ellipse(Cr, 60, 36, 15, 12);  // the bun
  FillAndOutline(Cr, Hair, 48, 26, 74, 46);
  cairo_move_to(Cr, 31, 92);
  cairo_curve_to(Cr, 26, 62, 36, 40, 60, 39);
  cairo_curve_to(Cr, 84, 40, 94, 62, 89, 92);
  cairo_curve_to(Cr, 84, 84, 82, 70, 60, 68);
  cairo_curve_to(Cr, 38, 70, 36, 84, 31, 92);
  cairo_close_path(Cr);
  FillAndOutline(Cr, Hair, 30, 40, 90, 92);
}

void DrawArchitectHairFront(cairo_t* Cr) {
  const TColor Hair = Rgb(0x4A2C1C);
  // A sweep of hair over the forehead, parted to the left.
  cairo_move_to(Cr, 35, 70);
  cairo_curve_to(Cr, 34, 50, 46, 41, 60, 41);
  cairo_curve_to(Cr, 76, 41, 87, 50, 85, 70);
  cairo_curve_to(Cr, 80, 58, 70, 52, 56, 54);
  cairo_curve_to(Cr, 48, 56, 40, 62, 35, 70);
  cairo_close_path(Cr);
  FillAndOutline(Cr, Hair, 36, 42, 84, 70);
  SetColor(Cr, Rgb(0x8A5A3A, 0.7));
  cairo_set_line_width(Cr, 1.0);
  cairo_move_to(Cr, 44, 52);
  cairo_curve_to(Cr, 52, 46, 64, 45, 74, 48);
  cairo_stroke(Cr);
  // A blue headband.
  cairo_move_to(Cr, 36, 58);
  cairo_curve_to(Cr, 44, 44, 76, 44, 84, 58);
  SetColor(Cr, Rgb(0x2F6F9F));
  cairo_set_line_width(Cr, 3.6);
  cairo_stroke_preserve(Cr);
  SetColor(Cr, Rgb(0x9FD3EA, 0.7));
  cairo_set_line_width(Cr, 1);
  cairo_stroke(Cr);
}

void DrawArchitect(cairo_t* Cr) {
  DrawArchitectHairBack(Cr);
  DrawArchitectClothes(Cr);
  DrawNeck(Cr, kSkinYoung);
  DrawHead(Cr, kSkinYoung, 23, 0.3);
  DrawArchitectHairFront(Cr);
  // Small gold earrings.
  for (double X : {34.5, 85.5}) {
    cairo_arc(Cr, X, 87, 2, 0, 2 * M_PI);
    FillAndOutline(Cr, Palette::Gold, X - 2, 85, X + 2, 89, 0.6);
  }
  DrawBrows(Cr, 62, Rgb(0x3A2216), 1.8);
  DrawEyes(Cr, 70, 3.4, false);
  DrawNose(Cr, 10);
  DrawSmile(Cr, 93, 8.5, true);
}

void GenerateFaces(TOutput& Output) {
  const std::vector<TRect> Cells = GridCells(2, 2, kCellWidth, kCellHeight);
  TCanvas Canvas(CellsWidth(Cells), CellsHeight(Cells));
  const std::function<void(cairo_t*)> Speakers[] = {&DrawSteward, &DrawArchitect};
  for (std::size_t Index = 0; Index < Cells.size(); ++Index)
    InCell(Canvas.Cr(), Cells[Index], kPixelsPerUnit, [&] { Speakers[Index](Canvas.Cr()); });
  Output.Texture("Faces", Canvas.Picture(), TDdsFormat::Dxt5, Cells);
}

const Assets::TGeneratorRegistration Registration("faces", &GenerateFaces);

}  // namespace

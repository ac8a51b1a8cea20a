// AssetsForms.cpp -- "FormPanel": the wall behind the profiles and campaign screens. A dark walnut
// plaster wall with a gold Greek key border, and a gilded frame around the recess where the
// campaign shows its view of the town (130, 130, 1020 x 540); the profile list sits in the same
// recess. Texts and buttons above and below it stand on the calm wall.
#include <cmath>

#include "AssetsCore.h"
#include "AssetsFormsShared.h"

namespace {

using namespace Assets;
using namespace Assets::Forms;

constexpr int kWidth = 1280, kHeight = 800;
constexpr double kRecessLeft = 130, kRecessTop = 130, kRecessWidth = 1020, kRecessHeight = 540;
constexpr double kFrameWidth = 12;
constexpr double kBorderInset = 5, kBorderBand = 22;

void DrawWall(cairo_t* Cr) {
  cairo_rectangle(Cr, 0, 0, kWidth, kHeight);
  SetVerticalGradient(Cr, 0, Colors::WalnutLight, kHeight, Colors::WalnutDark);
  cairo_fill(Cr);
  // Sunlight from the upper left warms that corner of the wall.
  cairo_pattern_t* Light = cairo_pattern_create_radial(150, 60, 0, 150, 60, 1100);
  cairo_pattern_add_color_stop_rgba(Light, 0, 0.95, 0.75, 0.45, 0.16);
  cairo_pattern_add_color_stop_rgba(Light, 1, 0.95, 0.75, 0.45, 0.0);
  cairo_set_source(Cr, Light);
  cairo_paint(Cr);
  cairo_pattern_destroy(Light);
}

void DrawBorder(cairo_t* Cr) {
  const double X = kBorderInset, Y = kBorderInset;
  const double Width = kWidth - 2 * kBorderInset, Height = kHeight - 2 * kBorderInset;
  cairo_rectangle(Cr, X, Y, Width, Height);
  cairo_rectangle(Cr, X + kBorderBand, Y + kBorderBand, Width - 2 * kBorderBand,
                  Height - 2 * kBorderBand);
  cairo_set_fill_rule(Cr, CAIRO_FILL_RULE_EVEN_ODD);
  SetColor(Cr, Rgb(0x1C120B, 0.75));
  cairo_fill(Cr);
  cairo_set_fill_rule(Cr, CAIRO_FILL_RULE_WINDING);
  SetColor(Cr, Mix(Palette::Gold, Colors::GoldDark, 0.45));
  GreekKeyFrame(Cr, X, Y, Width, Height, kBorderBand);
  cairo_rectangle(Cr, X, Y, Width, Height);
  StrokeGoldTrim(Cr, 2);
  cairo_new_path(Cr);
  cairo_rectangle(Cr, X + kBorderBand, Y + kBorderBand, Width - 2 * kBorderBand,
                  Height - 2 * kBorderBand);
  StrokeGoldTrim(Cr, 2);
  cairo_new_path(Cr);
}

// A gilded frame round the recess, lit from the upper left.
void DrawRecessFrame(cairo_t* Cr) {
  const double Outer = kFrameWidth;
  const double X = kRecessLeft - Outer, Y = kRecessTop - Outer;
  const double Width = kRecessWidth + 2 * Outer, Height = kRecessHeight + 2 * Outer;
  // Its shadow on the wall, down and to the right.
  for (int Step = 1; Step <= 6; ++Step) {
    cairo_rectangle(Cr, X + Step * 1.2, Y + Step * 1.6, Width, Height);
    cairo_set_source_rgba(Cr, 0, 0, 0, 0.06);
    cairo_fill(Cr);
  }
  cairo_rectangle(Cr, X, Y, Width, Height);
  cairo_pattern_t* Gilt = cairo_pattern_create_linear(X, Y, X + Width * 0.3, Y + Height);
  const TColor Lit = Colors::GoldPale, Mid = Palette::Gold, Dark = Colors::GoldDark;
  cairo_pattern_add_color_stop_rgb(Gilt, 0, Lit.R, Lit.G, Lit.B);
  cairo_pattern_add_color_stop_rgb(Gilt, 0.4, Mid.R, Mid.G, Mid.B);
  cairo_pattern_add_color_stop_rgb(Gilt, 1, Dark.R, Dark.G, Dark.B);
  cairo_set_source(Cr, Gilt);
  cairo_pattern_destroy(Gilt);
  cairo_fill(Cr);
  // A bead moulding along the middle of the frame.
  SetColor(Cr, Rgb(0x6E4A1C, 0.6));
  cairo_set_line_width(Cr, 1.2);
  cairo_rectangle(Cr, X + Outer / 2, Y + Outer / 2, Width - Outer, Height - Outer);
  cairo_stroke(Cr);
  cairo_rectangle(Cr, X + 0.5, Y + 0.5, Width - 1, Height - 1);
  SetColor(Cr, Rgb(0x2A1A0C));
  cairo_set_line_width(Cr, 1.5);
  cairo_stroke(Cr);
}

void DrawRecess(cairo_t* Cr) {
  const double X = kRecessLeft, Y = kRecessTop, Width = kRecessWidth, Height = kRecessHeight;
  cairo_rectangle(Cr, X, Y, Width, Height);
  SetVerticalGradient(Cr, Y, Colors::Aegean, Y + Height, Colors::AegeanDeep);
  cairo_fill(Cr);
  // Faint rows of waves, then the shade the frame throws into the recess (top and left).
  cairo_save(Cr);
  cairo_rectangle(Cr, X, Y, Width, Height);
  cairo_clip(Cr);
  cairo_set_line_width(Cr, 1.5);
  cairo_set_source_rgba(Cr, 0.75, 0.88, 1.0, 0.05);
  const double Step = 36, Rise = 15;
  for (int Row = 0; Row * Rise < Height + Rise; ++Row) {
    for (double Wave = X - Step + (Row % 2) * Step / 2; Wave < X + Width + Step; Wave += Step) {
      cairo_new_sub_path(Cr);
      cairo_arc(Cr, Wave, Y + Row * Rise, Step / 2, M_PI, 2 * M_PI);
    }
    cairo_stroke(Cr);
  }
  cairo_pattern_t* Top = cairo_pattern_create_linear(0, Y, 0, Y + 24);
  cairo_pattern_add_color_stop_rgba(Top, 0, 0, 0, 0, 0.55);
  cairo_pattern_add_color_stop_rgba(Top, 1, 0, 0, 0, 0);
  cairo_set_source(Cr, Top);
  cairo_paint(Cr);
  cairo_pattern_destroy(Top);
  cairo_pattern_t* Left = cairo_pattern_create_linear(X, 0, X + 18, 0);
  cairo_pattern_add_color_stop_rgba(Left, 0, 0, 0, 0, 0.45);
  cairo_pattern_add_color_stop_rgba(Left, 1, 0, 0, 0, 0);
  cairo_set_source(Cr, Left);
  cairo_paint(Cr);
  cairo_pattern_destroy(Left);
  cairo_restore(Cr);
  // The lit lower and right lips of the recess.
  cairo_move_to(Cr, X + Width - 1, Y + 2);
  cairo_line_to(Cr, X + Width - 1, Y + Height - 1);
  cairo_line_to(Cr, X + 2, Y + Height - 1);
  cairo_set_source_rgba(Cr, 0.7, 0.85, 1.0, 0.35);
  cairo_set_line_width(Cr, 2);
  cairo_stroke(Cr);
}

// Gold rosettes on the four corners of the frame.
void DrawRosettes(cairo_t* Cr) {
  const double Inset = kFrameWidth / 2;
  for (int Corner = 0; Corner < 4; ++Corner) {
    const double X = Corner % 2 == 0 ? kRecessLeft - Inset : kRecessLeft + kRecessWidth + Inset;
    const double Y = Corner / 2 == 0 ? kRecessTop - Inset : kRecessTop + kRecessHeight + Inset;
    for (int Petal = 0; Petal < 8; ++Petal) {
      const double Angle = Petal * M_PI / 4;
      cairo_arc(Cr, X + std::cos(Angle) * 7, Y + std::sin(Angle) * 7, 4.2, 0, 2 * M_PI);
      cairo_close_path(Cr);
    }
    SetColor(Cr, Palette::Gold);
    cairo_fill_preserve(Cr);
    SetColor(Cr, Rgb(0x4A300F));
    cairo_set_line_width(Cr, 1);
    cairo_stroke(Cr);
    cairo_arc(Cr, X, Y, 5.5, 0, 2 * M_PI);
    SetColor(Cr, Palette::Terracotta);
    cairo_fill_preserve(Cr);
    SetColor(Cr, Rgb(0x4A300F));
    cairo_stroke(Cr);
  }
}

void GenerateFormPanel(TOutput& Output) {
  TCanvas Canvas(kWidth, kHeight);
  cairo_t* Cr = Canvas.Cr();
  DrawWall(Cr);
  TPicture Wall = Canvas.Picture();
  AddGrain(Wall, 0.07, 5.0, 1280);
  Canvas.Put(Wall);
  DrawBorder(Cr);
  DrawRecessFrame(Cr);
  DrawRecess(Cr);
  DrawRosettes(Cr);
  TPicture Picture = Canvas.Picture();
  AddGrain(Picture, 0.025, 2.0, 800);
  Output.Texture("FormPanel", Picture, TDdsFormat::Dxt1);
}

const Assets::TGeneratorRegistration Registration("form-panel", &GenerateFormPanel);

}  // namespace

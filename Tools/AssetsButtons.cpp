// AssetsButtons.cpp -- "Buttons": the faces and rims of the round, the 200-wide and the 300-wide
// buttons. Each size has three cells: the face (light neutral grey, so that the button's tint
// decides its colour), the rim drawn untinted on top, and the brighter rim of a button under the
// pointer. The rim leaves the middle clear for the tinted face and the white caption.
#include "AssetsCore.h"
#include "AssetsIconKit.h"

#include <cmath>

namespace {

using namespace Assets;
using namespace Assets::IconKit;

constexpr int kButtonHeight = 120;  // 60 units at twice the unit size
constexpr int kRoundWidth = 120, kNarrowWidth = 400, kWideWidth = 600;
constexpr double kRimWidth = 7.0;
constexpr double kBevelWidth = 9.0;

// Segment i is cell i: for each size the face, the rim and the highlighted rim. The wide cells
// take the first row, the narrow and round ones share the second.
std::vector<TRect> ButtonCells() {
  const int Row0 = 1, Row1 = 1 + kButtonHeight + 2;
  auto Cell = [](int Left, int Top, int Width) { return TRect{Left, Top, Width, kButtonHeight}; };
  std::vector<TRect> Cells(9);
  for (int Look = 0; Look < 3; ++Look) {
    Cells[std::size_t(6 + Look)] = Cell(1 + Look * (kWideWidth + 2), Row0, kWideWidth);
    Cells[std::size_t(3 + Look)] = Cell(1 + Look * (kNarrowWidth + 2), Row1, kNarrowWidth);
    Cells[std::size_t(Look)] =
        Cell(1 + 3 * (kNarrowWidth + 2) + Look * (kRoundWidth + 2), Row1, kRoundWidth);
  }
  return Cells;
}

// The outline of a button of the given size, inset by Inset pixels: a disc for the square cell,
// a tablet with generously rounded corners otherwise.
void ButtonShape(cairo_t* Cr, double Width, double Height, double Inset) {
  const double Margin = 1.0 + Inset;
  if (Width == Height) {
    ClosedCircle(Cr, Width / 2, Height / 2, Width / 2 - Margin);
  } else {
    const double Radius = std::max(2.0, Height * 0.4 - Inset);
    RoundedRectangle(Cr, Margin, Margin, Width - 2 * Margin, Height - 2 * Margin, Radius);
  }
}

cairo_pattern_t* VerticalRamp(double Height, double Top, double Bottom, double Alpha = 1.0) {
  cairo_pattern_t* Ramp = cairo_pattern_create_linear(0, 0, 0, Height);
  cairo_pattern_add_color_stop_rgba(Ramp, 0, Top, Top, Top, Alpha);
  cairo_pattern_add_color_stop_rgba(Ramp, 1, Bottom, Bottom, Bottom, Alpha);
  return Ramp;
}

void FillWith(cairo_t* Cr, cairo_pattern_t* Pattern) {
  cairo_set_source(Cr, Pattern);
  cairo_fill(Cr);
  cairo_pattern_destroy(Pattern);
}

// The face: a light grey tablet whose edge is bevelled, bright towards the upper left and
// shaded towards the lower right, around a gently dished middle.
void DrawFace(cairo_t* Cr, double W, double H) {
  ButtonShape(Cr, W, H, 0);
  FillWith(Cr, VerticalRamp(H, 0.98, 0.74));

  cairo_save(Cr);
  ButtonShape(Cr, W, H, 0);
  cairo_clip(Cr);
  ButtonShape(Cr, W, H, 0);
  cairo_pattern_t* Bevel = cairo_pattern_create_linear(0, 0, H * 0.3, H);
  cairo_pattern_add_color_stop_rgba(Bevel, 0, 1, 1, 1, 0.95);
  cairo_pattern_add_color_stop_rgba(Bevel, 0.5, 0.9, 0.9, 0.9, 0.2);
  cairo_pattern_add_color_stop_rgba(Bevel, 1, 0.25, 0.25, 0.25, 0.6);
  cairo_set_source(Cr, Bevel);
  cairo_set_line_width(Cr, 2 * kBevelWidth);
  cairo_stroke(Cr);
  cairo_pattern_destroy(Bevel);
  cairo_restore(Cr);

  ButtonShape(Cr, W, H, kBevelWidth);
  FillWith(Cr, VerticalRamp(H, 0.86, 0.95, 0.55));
}

// A glow inside the rim: strokes of the outline clipped to the shape, widest first, summing to
// a light that fades towards the middle.
void InnerGlow(cairo_t* Cr, double W, double H, const TColor& Light, double Reach,
               double Strength) {
  cairo_save(Cr);
  ButtonShape(Cr, W, H, 0);
  cairo_clip(Cr);
  constexpr int kSteps = 8;
  for (int Step = kSteps; Step >= 1; --Step) {
    ButtonShape(Cr, W, H, kRimWidth * 0.5);
    cairo_set_source_rgba(Cr, Light.R, Light.G, Light.B, Strength / kSteps);
    cairo_set_line_width(Cr, 2 * Reach * Step / kSteps);
    cairo_stroke(Cr);
  }
  cairo_restore(Cr);
}

// The gloss: a pale sheen over the upper part, fading out before the caption's middle.
void Gloss(cairo_t* Cr, double W, double H, double Strength) {
  cairo_save(Cr);
  ButtonShape(Cr, W, H, kRimWidth);
  cairo_clip(Cr);
  const double Inset = kRimWidth + 3;
  const double Radius = std::max(2.0, (W == H ? W / 2 : H * 0.4) - Inset);
  RoundedRectangle(Cr, Inset, Inset, W - 2 * Inset, H * 0.42, Radius);
  cairo_pattern_t* Sheen = cairo_pattern_create_linear(0, Inset, 0, Inset + H * 0.42);
  cairo_pattern_add_color_stop_rgba(Sheen, 0, 1, 1, 1, Strength);
  cairo_pattern_add_color_stop_rgba(Sheen, 1, 1, 1, 1, 0);
  FillWith(Cr, Sheen);
  cairo_restore(Cr);
}

// The gold rim: a metal band lit from the upper left between a dark outer edge and a fine light
// inner line.
void Rim(cairo_t* Cr, double W, double H, bool Highlighted) {
  const TColor Gold = Highlighted ? Rgb(0xFFE08A) : Rgb(0xE2AE48);
  const TColor Bronze = Highlighted ? Rgb(0xD89A2E) : Rgb(0x8E5E22);
  ButtonShape(Cr, W, H, kRimWidth / 2);
  cairo_pattern_t* Metal = cairo_pattern_create_linear(0, 0, std::min(W, H * 2) * 0.5, H);
  const TColor Shine = Shade(Gold, 1.5);
  cairo_pattern_add_color_stop_rgb(Metal, 0, Shine.R, Shine.G, Shine.B);
  cairo_pattern_add_color_stop_rgb(Metal, 0.45, Gold.R, Gold.G, Gold.B);
  cairo_pattern_add_color_stop_rgb(Metal, 1, Bronze.R, Bronze.G, Bronze.B);
  cairo_set_source(Cr, Metal);
  cairo_set_line_width(Cr, kRimWidth);
  cairo_stroke(Cr);
  cairo_pattern_destroy(Metal);

  ButtonShape(Cr, W, H, 1.0);
  StrokeLine(Cr, Outline, 2.0);
  ButtonShape(Cr, W, H, kRimWidth + 0.5);
  StrokeLine(Cr, Rgb(0x4A3018, Highlighted ? 0.45 : 0.6), 1.2);
  ButtonShape(Cr, W, H, kRimWidth + 1.6);
  StrokeLine(Cr, Rgb(0xFFF4D0, Highlighted ? 0.6 : 0.35), 1.2);
}

void DrawOverlay(cairo_t* Cr, double W, double H, bool Highlighted) {
  if (Highlighted) InnerGlow(Cr, W, H, Rgb(0xFFD870), 16, 0.75);
  Gloss(Cr, W, H, Highlighted ? 0.42 : 0.3);
  Rim(Cr, W, H, Highlighted);
}

void GenerateButtons(TOutput& Output) {
  const std::vector<TRect> Cells = ButtonCells();
  TCanvas Canvas(CellsWidth(Cells), CellsHeight(Cells));
  for (std::size_t Index = 0; Index < Cells.size(); ++Index) {
    const TRect& Cell = Cells[Index];
    const double W = Cell.Width, H = Cell.Height;
    const int Look = int(Index % 3);
    InCell(Canvas.Cr(), Cell, 1.0, [&] {
      if (Look == 0) {
        DrawFace(Canvas.Cr(), W, H);
      } else {
        DrawOverlay(Canvas.Cr(), W, H, Look == 2);
      }
    });
  }
  Output.Texture("Buttons", Canvas.Picture(), TDdsFormat::Dxt5, Cells);
}

const TGeneratorRegistration Registration("buttons", &GenerateButtons);

}  // namespace

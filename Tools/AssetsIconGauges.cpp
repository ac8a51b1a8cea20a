// AssetsIconGauges.cpp -- the small interface markers: the job ring gauge ("Progress"), the
// settings lamps ("Dot"), the pointing arrows ("Arrows"), the glow under the selected pane
// ("Selector") and the badge over a damaged building ("Damage").
#include "AssetsCore.h"
#include "AssetsIconKit.h"

#include <cmath>

namespace {

using namespace Assets;
using namespace Assets::IconKit;

// --- the ring gauge --------------------------------------------------------------------------

constexpr int kRingCells = 64;
constexpr int kRingCell = 120;  // 60 units at twice the unit size
constexpr double kRingOuter = 51.0, kRingInner = 39.0;

void RingBand(cairo_t* Cr, double From, double To) {
  const double C = kRingCell / 2.0;
  cairo_new_sub_path(Cr);
  cairo_arc_negative(Cr, C, C, kRingOuter, From, To);
  cairo_arc(Cr, C, C, kRingInner, To, From);
  cairo_close_path(Cr);
}

// The gauge is tinted black by the game, so only its alpha matters: a faint track, and the done
// part filled from twelve o'clock counter-clockwise (the game mirrors the sprite, which turns it
// clockwise on screen).
void DrawRing(cairo_t* Cr, double Filled) {
  const double C = kRingCell / 2.0, Top = -M_PI / 2;
  cairo_set_source_rgba(Cr, 1, 1, 1, 0.28);
  ClosedCircle(Cr, C, C, kRingOuter);
  ClosedCircle(Cr, C, C, kRingInner);
  cairo_set_fill_rule(Cr, CAIRO_FILL_RULE_EVEN_ODD);
  cairo_fill(Cr);
  cairo_set_fill_rule(Cr, CAIRO_FILL_RULE_WINDING);
  ClosedCircle(Cr, C, C, kRingOuter - 0.75);
  StrokeLine(Cr, Rgb(0xFFFFFF, 0.5), 1.5);
  ClosedCircle(Cr, C, C, kRingInner + 0.75);
  StrokeLine(Cr, Rgb(0xFFFFFF, 0.5), 1.5);
  if (Filled <= 0) return;
  if (Filled >= 1) {
    ClosedCircle(Cr, C, C, kRingOuter);
    ClosedCircle(Cr, C, C, kRingInner);
    cairo_set_fill_rule(Cr, CAIRO_FILL_RULE_EVEN_ODD);
  } else {
    RingBand(Cr, Top, Top - 2 * M_PI * Filled);
  }
  cairo_set_source_rgba(Cr, 1, 1, 1, 1);
  cairo_fill(Cr);
  cairo_set_fill_rule(Cr, CAIRO_FILL_RULE_WINDING);
}

void GenerateProgress(TOutput& Output) {
  const std::vector<TRect> Cells = GridCells(kRingCells, 8, kRingCell, kRingCell);
  TCanvas Canvas(CellsWidth(Cells), CellsHeight(Cells));
  for (int Segment = 0; Segment < kRingCells; ++Segment)
    InCell(Canvas.Cr(), Cells[std::size_t(Segment)], 1.0,
           [&] { DrawRing(Canvas.Cr(), 1.0 - Segment / double(kRingCells - 1)); });
  Output.Texture("Progress", Canvas.Picture(), TDdsFormat::Dxt5, Cells);
}

// --- the lamps ------------------------------------------------------------------------------

constexpr int kDotCell = 96;  // 48 units

void RadialFill(cairo_t* Cr, double X, double Y, double Radius,
                std::initializer_list<std::pair<double, TColor>> Stops) {
  cairo_pattern_t* Glow = cairo_pattern_create_radial(X, Y, 0, X, Y, Radius);
  for (const auto& [Offset, Color] : Stops)
    AddStop(Glow, Offset, Color);
  cairo_set_source(Cr, Glow);
  cairo_fill(Cr);
  cairo_pattern_destroy(Glow);
}

// A round gem in a bronze bezel; lit, it glows amber past its bezel.
void DrawLamp(cairo_t* Cr, bool Lit) {
  const double C = kDotCell / 2.0;
  if (Lit) {
    ClosedCircle(Cr, C, C, C);
    RadialFill(Cr, C, C, C,
               {{0.55, Rgb(0xFFC040, 0.75)}, {0.8, Rgb(0xFFA020, 0.25)}, {1.0, Rgb(0xFF9010, 0)}});
  }
  ClosedCircle(Cr, C, C, 30);
  FillLit(Cr, Lit ? Rgb(0xE0A848) : Rgb(0x8A6A3C), 2.5);
  const TColor Core = Lit ? Rgb(0xFFF6C0) : Rgb(0x3C4650);
  const TColor Edge = Lit ? Rgb(0xF08A10) : Rgb(0x141A22);
  ClosedCircle(Cr, C, C, 23);
  RadialFill(Cr, C - 6, C - 6, 30, {{0, Core}, {0.55, Mix(Core, Edge, 0.5)}, {1, Edge}});
  ClosedCircle(Cr, C, C, 23);
  StrokeLine(Cr, Outline, 2);
  cairo_save(Cr);
  cairo_translate(Cr, C - 8, C - 10);
  cairo_scale(Cr, 1.0, 0.65);
  ClosedCircle(Cr, 0, 0, 9);
  cairo_restore(Cr);
  cairo_set_source_rgba(Cr, 1, 1, 1, Lit ? 0.85 : 0.35);
  cairo_fill(Cr);
}

void GenerateDot(TOutput& Output) {
  const std::vector<TRect> Cells = GridCells(2, 2, kDotCell, kDotCell);
  // Stored uncompressed, where nothing pads the picture: the lamps keep their whole-block size.
  TCanvas Canvas(WholeBlocks(CellsWidth(Cells)), WholeBlocks(CellsHeight(Cells)));
  for (int Segment = 0; Segment < 2; ++Segment)
    InCell(Canvas.Cr(), Cells[std::size_t(Segment)], 1.0,
           [&] { DrawLamp(Canvas.Cr(), Segment == 1); });
  Output.Texture("Dot", Canvas.Picture(), TDdsFormat::Argb8888, Cells);
}

void GenerateGauges(TOutput& Output) {
  GenerateProgress(Output);
  GenerateDot(Output);
}

// --- the arrows ------------------------------------------------------------------------------

constexpr int kArrowCell = 128;  // 64 units

// A bold arrow along +x centred on the origin, its tip at +48.
void ArrowPath(cairo_t* Cr) {
  Polygon(Cr, {-44, -12, 4, -12, 4, -32, 48, 0, 4, 32, 4, 12, -44, 12});
}

// The arrow's path is built turned, the gold lit in cell space so that the light still comes
// from the upper left whichever way it points.
void DrawArrow(cairo_t* Cr, double Degrees) {
  cairo_save(Cr);
  cairo_translate(Cr, kArrowCell / 2.0, kArrowCell / 2.0);
  cairo_rotate(Cr, Degrees * M_PI / 180);
  ArrowPath(Cr);
  cairo_restore(Cr);
  cairo_pattern_t* Light = cairo_pattern_create_linear(20, 20, 108, 108);
  cairo_pattern_add_color_stop_rgb(Light, 0, 1.0, 0.93, 0.62);
  cairo_pattern_add_color_stop_rgb(Light, 0.5, 0.95, 0.76, 0.3);
  cairo_pattern_add_color_stop_rgb(Light, 1, 0.78, 0.5, 0.14);
  cairo_set_source(Cr, Light);
  cairo_fill_preserve(Cr);
  cairo_pattern_destroy(Light);
  StrokeLine(Cr, Outline, 5);

  cairo_save(Cr);
  cairo_translate(Cr, kArrowCell / 2.0, kArrowCell / 2.0);
  cairo_rotate(Cr, Degrees * M_PI / 180);
  cairo_move_to(Cr, -38, 0);
  cairo_line_to(Cr, 30, 0);
  cairo_restore(Cr);
  StrokeLine(Cr, Rgb(0xFFF6D8, 0.5), 5);
}

void GenerateArrows(TOutput& Output) {
  const std::vector<TRect> Cells = GridCells(4, 4, kArrowCell, kArrowCell);
  TCanvas Canvas(CellsWidth(Cells), CellsHeight(Cells));
  const double Directions[4] = {45, 135, 225, 315};  // down-right, down-left, up-left, up-right
  for (int Segment = 0; Segment < 4; ++Segment) {
    TCanvas Arrow(kArrowCell, kArrowCell);
    DrawArrow(Arrow.Cr(), Directions[Segment]);
    TCanvas Lifted(kArrowCell, kArrowCell);
    Lifted.Put(WithDropShadow(Arrow.Picture(), 4, 6, 0.4));
    InCell(Canvas.Cr(), Cells[std::size_t(Segment)], 1.0, [&] {
      cairo_set_source_surface(Canvas.Cr(), Lifted.Surface(), 0, 0);
      cairo_paint(Canvas.Cr());
    });
  }
  Output.Texture("Arrows", Canvas.Picture(), TDdsFormat::Dxt5, Cells);
}

// --- the selector ----------------------------------------------------------------------------

constexpr int kSelectorWidth = 504, kSelectorHeight = 252;

// The pane's diamond, drawn a little inside the picture so that the glow around the line fits.
void SelectorDiamond(cairo_t* Cr) {
  constexpr double Inset = 20;
  const double Cx = kSelectorWidth / 2.0, Cy = kSelectorHeight / 2.0;
  const double Hx = Cx - Inset, Hy = Hx / 2;
  Polygon(Cr, {Cx - Hx, Cy, Cx, Cy - Hy, Cx + Hx, Cy, Cx, Cy + Hy});
}

void GenerateSelector(TOutput& Output) {
  TCanvas Canvas(kSelectorWidth, kSelectorHeight);
  cairo_t* Cr = Canvas.Cr();
  constexpr int kGlowSteps = 12;
  for (int Step = kGlowSteps; Step >= 1; --Step) {
    SelectorDiamond(Cr);
    StrokeLine(Cr, Rgb(0xFFB830, 0.1), 3.0 * Step);
  }
  SelectorDiamond(Cr);
  StrokeLine(Cr, Rgb(0xFFCF50, 0.95), 7);
  SelectorDiamond(Cr);
  StrokeLine(Cr, Rgb(0xFFF8DC, 1.0), 3);
  Output.Texture("Selector", Canvas.Picture(), TDdsFormat::Dxt5);
}

// --- the damage badge ------------------------------------------------------------------------

constexpr int kDamageSize = 104;  // 52 units

void WarningTriangle(cairo_t* Cr, double Inset) {
  const double Top = 10 + Inset * 1.6, Bottom = 88 - Inset, Left = 9 + Inset * 1.6,
               Right = 91 - Inset * 1.6;
  cairo_new_sub_path(Cr);
  cairo_move_to(Cr, (Left + Right) / 2, Top);
  cairo_line_to(Cr, Right, Bottom);
  cairo_line_to(Cr, Left, Bottom);
  cairo_close_path(Cr);
}

// A cracked warning sign: a red-orange triangle with a jagged white crack down its middle.
void DrawDamage(cairo_t* Cr) {
  WarningTriangle(Cr, 0);
  cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_width(Cr, 12);
  cairo_stroke_preserve(Cr);  // rounds the corners: the stroke is redrawn lit below
  cairo_set_source_rgb(Cr, Outline.R, Outline.G, Outline.B);
  cairo_fill(Cr);
  WarningTriangle(Cr, 0);
  cairo_pattern_t* Hot = cairo_pattern_create_linear(30, 14, 80, 94);
  cairo_pattern_add_color_stop_rgb(Hot, 0, 1.0, 0.62, 0.26);
  cairo_pattern_add_color_stop_rgb(Hot, 0.5, 0.93, 0.33, 0.12);
  cairo_pattern_add_color_stop_rgb(Hot, 1, 0.72, 0.14, 0.06);
  cairo_set_source(Cr, Hot);
  cairo_pattern_destroy(Hot);
  cairo_set_line_width(Cr, 6);
  cairo_stroke_preserve(Cr);
  cairo_fill(Cr);
  WarningTriangle(Cr, 4);
  StrokeLine(Cr, Rgb(0xFFD9A0, 0.55), 1.6);

  auto Crack = [&] {
    cairo_move_to(Cr, 46, 27);
    cairo_line_to(Cr, 58, 27);
    cairo_line_to(Cr, 52, 46);
    cairo_line_to(Cr, 62, 46);
    cairo_line_to(Cr, 45, 82);
    cairo_line_to(Cr, 47, 58);
    cairo_line_to(Cr, 37, 58);
    cairo_close_path(Cr);
  };
  Crack();
  cairo_set_source_rgb(Cr, 1.0, 0.97, 0.88);
  cairo_fill_preserve(Cr);
  StrokeLine(Cr, Outline, 3);
}

void GenerateDamage(TOutput& Output) {
  TCanvas Badge(kDamageSize, kDamageSize);
  DrawDamage(Badge.Cr());
  Output.Texture("Damage", WithDropShadow(Badge.Picture(), 3, 5, 0.4), TDdsFormat::Argb8888);
}

void GenerateMarkers(TOutput& Output) {
  GenerateArrows(Output);
  GenerateSelector(Output);
  GenerateDamage(Output);
}

const TGeneratorRegistration GaugesRegistration("gauges", &GenerateGauges);
const TGeneratorRegistration MarkersRegistration("markers", &GenerateMarkers);

}  // namespace

// AssetsFormMission.cpp -- "FormMission": the frame of the mission screen, drawn over the map and
// under the panes, icons and texts. The town's diamond of 25 panes stays clear; what lies outside
// it becomes dark glass with gold trim under the clock and goals (top), the statistics and
// information panels (upper corners), the action icons (lower corners) and the four resource
// counters (bottom).
#include <cmath>
#include <vector>

#include "AssetsCore.h"
#include "AssetsFormsShared.h"

namespace {

using namespace Assets;
using namespace Assets::Forms;

constexpr int kWidth = 1280, kHeight = 800;
constexpr double kMapTop = 80, kMapBottom = 720;
constexpr double kGlassAlpha = 0.8;

struct TPoint {
  double X, Y;
};

// The map's diamond has its corners at (10, 400), (640, 85), (1270, 400) and (640, 715); the
// glass keeps four units clear of its edges. The upper glass ends below the statistics and
// information texts, the lower glass starts above the action icons.
constexpr double kUpperGlassBottom = 296;
const std::vector<TPoint> kUpperGlass = {{0, 0},    {1280, 0},  {1280, 296}, {1070, 296},
                                         {640, 81}, {210, 296}, {0, 296}};
const std::vector<TPoint> kUpperEdge = {{0, 296}, {210, 296}, {640, 81}, {1070, 296}, {1280, 296}};
const std::vector<TPoint> kLowerGlass = {{0, 399}, {640, 719}, {1280, 399}, {1280, 800}, {0, 800}};
const std::vector<TPoint> kLowerEdge = {{0, 399}, {640, 719}, {1280, 399}};

// Top-left corners of the 60 x 60 action icons that stand on the lower glass.
const std::vector<TPoint> kActionIcons = {
    {875, 605},  {940, 570},  {1005, 540}, {1070, 505}, {1135, 475}, {1200, 440}, {940, 635},
    {1005, 605}, {1070, 570}, {1135, 540}, {1200, 505}, {1070, 635}, {1135, 605}, {1200, 570},
    {1200, 635}, {345, 605},  {20, 440},   {85, 475},   {150, 505},  {215, 540},  {280, 570}};

void PolygonPath(cairo_t* Cr, const std::vector<TPoint>& Points, bool Close) {
  cairo_new_path(Cr);
  for (const TPoint& Point : Points)
    cairo_line_to(Cr, Point.X, Point.Y);
  if (Close) cairo_close_path(Cr);
}

void SetGlass(cairo_t* Cr, double Alpha) {
  const TColor Glass = Mix(Colors::AegeanDeep, Colors::Aegean, 0.35);
  SetColor(Cr, Glass, Alpha);
}

// The upper glass casts a soft shadow onto the map, down and to the right.
void DrawUpperShadow(cairo_t* Cr) {
  for (int Step = 1; Step <= 6; ++Step) {
    cairo_save(Cr);
    cairo_translate(Cr, Step * 0.8, Step * 1.2);
    PolygonPath(Cr, kUpperGlass, true);
    cairo_set_source_rgba(Cr, 0, 0, 0, 0.045);
    cairo_fill(Cr);
    cairo_restore(Cr);
  }
}

void DrawGlass(cairo_t* Cr, const std::vector<TPoint>& Shape) {
  PolygonPath(Cr, Shape, true);
  SetGlass(Cr, kGlassAlpha);
  cairo_fill(Cr);
  // Outside the map's picture nothing shows through: the glass is solid there.
  cairo_save(Cr);
  PolygonPath(Cr, Shape, true);
  cairo_clip(Cr);
  cairo_rectangle(Cr, 0, 0, kWidth, kMapTop);
  cairo_rectangle(Cr, 0, kMapBottom, kWidth, kHeight - kMapBottom);
  cairo_set_operator(Cr, CAIRO_OPERATOR_SOURCE);
  SetGlass(Cr, 1.0);
  cairo_fill(Cr);
  cairo_restore(Cr);
}

// A faint light along the glass's upper side, as if lit from the upper left.
void DrawGlassSheen(cairo_t* Cr, const std::vector<TPoint>& Shape, double Top, double Bottom) {
  cairo_save(Cr);
  PolygonPath(Cr, Shape, true);
  cairo_clip(Cr);
  cairo_pattern_t* Sheen = cairo_pattern_create_linear(0, Top, 0, Bottom);
  cairo_pattern_add_color_stop_rgba(Sheen, 0, 0.55, 0.75, 0.95, 0.10);
  cairo_pattern_add_color_stop_rgba(Sheen, 1, 0.55, 0.75, 0.95, 0.0);
  cairo_set_source(Cr, Sheen);
  cairo_paint(Cr);
  cairo_pattern_destroy(Sheen);
  cairo_restore(Cr);
}

void DrawPlaque(cairo_t* Cr, double X, double Y, double Width, double Height) {
  RoundedRectangle(Cr, X, Y, Width, Height, 14);
  SetVerticalGradient(Cr, Y, Rgb(0x0C1E33, 0.92), Y + Height, Rgb(0x06121F, 0.92));
  cairo_fill_preserve(Cr);
  StrokeGoldTrim(Cr, 2.2);
  cairo_new_path(Cr);
  RoundedRectangle(Cr, X + 5, Y + 5, Width - 10, Height - 10, 10);
  SetColor(Cr, Palette::Ochre, 0.3);
  cairo_set_line_width(Cr, 1);
  cairo_stroke(Cr);
}

void DrawDivider(cairo_t* Cr, double X, double Top, double Bottom) {
  cairo_move_to(Cr, X, Top);
  cairo_line_to(Cr, X, Bottom);
  SetColor(Cr, Palette::Ochre, 0.55);
  cairo_set_line_width(Cr, 1.5);
  cairo_stroke(Cr);
}

// A round socket under a 60 x 60 icon whose top-left corner is (Left, Top).
void DrawIconWell(cairo_t* Cr, double Left, double Top) {
  const double X = Left + 30, Y = Top + 30;
  cairo_arc(Cr, X + 1.5, Y + 2, 33, 0, 2 * M_PI);
  cairo_set_source_rgba(Cr, 0, 0, 0, 0.35);
  cairo_fill(Cr);
  cairo_arc(Cr, X, Y, 32, 0, 2 * M_PI);
  cairo_pattern_t* Hollow = cairo_pattern_create_radial(X + 6, Y + 8, 4, X, Y, 34);
  cairo_pattern_add_color_stop_rgba(Hollow, 0, 0.09, 0.17, 0.27, 0.95);
  cairo_pattern_add_color_stop_rgba(Hollow, 1, 0.02, 0.06, 0.11, 0.95);
  cairo_set_source(Cr, Hollow);
  cairo_pattern_destroy(Hollow);
  cairo_fill_preserve(Cr);
  StrokeGoldTrim(Cr, 1.8);
  cairo_new_path(Cr);
}

void DrawTopDisplays(cairo_t* Cr) {
  // Clock and time limits (50..620), goals label and goals (630..1260), both 12..88.
  DrawPlaque(Cr, 44, 8, 582, 82);
  DrawDivider(Cr, 244, 20, 78);
  DrawPlaque(Cr, 634, 8, 632, 82);
  DrawDivider(Cr, 746, 20, 78);
}

void DrawCounters(cairo_t* Cr) {
  // Each counter (money, wood, stone, workers) with its gauge icon 70 units to its left.
  for (int Counter = 0; Counter < 4; ++Counter) {
    const double IconLeft = 50 + 300 * Counter;
    DrawPlaque(Cr, IconLeft - 8, 711, 296, 80);
    DrawIconWell(Cr, IconLeft, 720);
  }
}

// Inner ochre lines that follow the sides of the two panels of seven lines of text.
void DrawCornerPanelLines(cairo_t* Cr) {
  const std::vector<TPoint> Stats = {{8, 288}, {208, 288}, {592, 96}};
  const std::vector<TPoint> Info = {{1272, 288}, {1072, 288}, {688, 96}};
  for (const auto* Line : {&Stats, &Info}) {
    PolygonPath(Cr, *Line, false);
    SetColor(Cr, Palette::Ochre, 0.35);
    cairo_set_line_width(Cr, 1.2);
    cairo_stroke(Cr);
  }
}

void GenerateFormMission(TOutput& Output) {
  TCanvas Canvas(kWidth, kHeight);
  cairo_t* Cr = Canvas.Cr();
  DrawUpperShadow(Cr);
  DrawGlass(Cr, kUpperGlass);
  DrawGlass(Cr, kLowerGlass);
  DrawGlassSheen(Cr, kUpperGlass, 0, kUpperGlassBottom);
  DrawGlassSheen(Cr, kLowerGlass, 399, 800);
  DrawCornerPanelLines(Cr);
  PolygonPath(Cr, kUpperEdge, false);
  StrokeGoldTrim(Cr, 3);
  PolygonPath(Cr, kLowerEdge, false);
  StrokeGoldTrim(Cr, 3);
  cairo_new_path(Cr);
  DrawTopDisplays(Cr);
  DrawCounters(Cr);
  for (const TPoint& Icon : kActionIcons)
    DrawIconWell(Cr, Icon.X, Icon.Y);
  Output.Texture("FormMission", Canvas.Picture(), TDdsFormat::Dxt5);
}

const Assets::TGeneratorRegistration Registration("form-mission", &GenerateFormMission);

}  // namespace

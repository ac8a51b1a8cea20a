// AssetsParticles.cpp -- the "Particles" atlas (light ray, petal, ring wave, dust puff, sparkle and
// three spares) and the particle paths "Final" (confetti landing spots over the whole screen) and
// "Logo" (the outline behind the menu logo that light rays leave from).
#include <cmath>

#include "AssetsCore.h"
#include "EngineStreams.h"

namespace {

using Assets::TCanvas;
using Assets::TRect;

constexpr int kCellSide = 128;
constexpr int kCellCount = 8;

// Every particle is tinted by its emitter, so the cells are white with alpha.
void SoftRadial(cairo_t* Cr, double X, double Y, double Radius, double CoreAlpha) {
  cairo_pattern_t* Glow = cairo_pattern_create_radial(X, Y, 0, X, Y, Radius);
  cairo_pattern_add_color_stop_rgba(Glow, 0.0, 1, 1, 1, CoreAlpha);
  cairo_pattern_add_color_stop_rgba(Glow, 0.35, 1, 1, 1, CoreAlpha * 0.6);
  cairo_pattern_add_color_stop_rgba(Glow, 1.0, 1, 1, 1, 0);
  cairo_set_source(Cr, Glow);
  cairo_arc(Cr, X, Y, Radius, 0, 2 * M_PI);
  cairo_fill(Cr);
  cairo_pattern_destroy(Glow);
}

// Segment 0: a light ray, drawn 20 x 100 units: bright along its axis, fading to both ends.
void DrawRay(cairo_t* Cr) {
  cairo_pattern_t* Across = cairo_pattern_create_linear(0, 0, kCellSide, 0);
  cairo_pattern_add_color_stop_rgba(Across, 0.0, 1, 1, 1, 0);
  cairo_pattern_add_color_stop_rgba(Across, 0.5, 1, 1, 1, 1);
  cairo_pattern_add_color_stop_rgba(Across, 1.0, 1, 1, 1, 0);
  cairo_push_group(Cr);
  cairo_set_source(Cr, Across);
  cairo_paint(Cr);
  cairo_pattern_t* Along = cairo_pattern_create_linear(0, 0, 0, kCellSide);
  cairo_pattern_add_color_stop_rgba(Along, 0.0, 1, 1, 1, 0);
  cairo_pattern_add_color_stop_rgba(Along, 0.3, 1, 1, 1, 0.9);
  cairo_pattern_add_color_stop_rgba(Along, 0.7, 1, 1, 1, 0.9);
  cairo_pattern_add_color_stop_rgba(Along, 1.0, 1, 1, 1, 0);
  cairo_pop_group_to_source(Cr);
  cairo_mask(Cr, Along);
  cairo_pattern_destroy(Along);
  cairo_pattern_destroy(Across);
}

// Segment 1: a petal (drawn 15 x 7.5 units): a pointed oval with a light vein.
void DrawPetal(cairo_t* Cr) {
  const double Mid = kCellSide / 2.0;
  cairo_move_to(Cr, 6, Mid);
  cairo_curve_to(Cr, 30, Mid - 46, 98, Mid - 40, 122, Mid);
  cairo_curve_to(Cr, 98, Mid + 40, 30, Mid + 46, 6, Mid);
  cairo_close_path(Cr);
  cairo_pattern_t* Shade = cairo_pattern_create_linear(0, Mid - 40, 0, Mid + 40);
  cairo_pattern_add_color_stop_rgba(Shade, 0.0, 1, 1, 1, 1);
  cairo_pattern_add_color_stop_rgba(Shade, 1.0, 0.78, 0.78, 0.78, 1);
  cairo_set_source(Cr, Shade);
  cairo_fill(Cr);
  cairo_pattern_destroy(Shade);
  cairo_set_source_rgba(Cr, 1, 1, 1, 0.8);
  cairo_set_line_width(Cr, 3);
  cairo_move_to(Cr, 14, Mid);
  cairo_curve_to(Cr, 50, Mid - 6, 80, Mid - 6, 112, Mid);
  cairo_stroke(Cr);
}

// Segment 3: a ring wave: a thin bright ring with a soft inner glow.
void DrawRing(cairo_t* Cr) {
  const double Mid = kCellSide / 2.0;
  cairo_pattern_t* Ring = cairo_pattern_create_radial(Mid, Mid, 0, Mid, Mid, Mid - 2);
  cairo_pattern_add_color_stop_rgba(Ring, 0.0, 1, 1, 1, 0);
  cairo_pattern_add_color_stop_rgba(Ring, 0.6, 1, 1, 1, 0.15);
  cairo_pattern_add_color_stop_rgba(Ring, 0.86, 1, 1, 1, 1);
  cairo_pattern_add_color_stop_rgba(Ring, 1.0, 1, 1, 1, 0);
  cairo_set_source(Cr, Ring);
  cairo_arc(Cr, Mid, Mid, Mid - 2, 0, 2 * M_PI);
  cairo_fill(Cr);
  cairo_pattern_destroy(Ring);
}

// Segment 5: a dust puff: overlapping soft blobs with a cloudy edge, lighter at the top.
void DrawDust(cairo_t* Cr) {
  Assets::TRandom Random(0xD057);
  for (int Blob = 0; Blob < 9; ++Blob) {
    const double Angle = Blob * 2 * M_PI / 9 + Random.Range(-0.3, 0.3);
    const double Distance = Blob == 0 ? 0 : Random.Range(14, 28);
    SoftRadial(Cr, 64 + std::cos(Angle) * Distance, 64 + std::sin(Angle) * Distance,
               Random.Range(26, 38), Random.Range(0.45, 0.7));
  }
}

// Segment 7: a sparkle: a four-pointed star with a round glow.
void DrawSparkle(cairo_t* Cr) {
  const double Mid = kCellSide / 2.0;
  SoftRadial(Cr, Mid, Mid, 40, 0.7);
  cairo_set_source_rgba(Cr, 1, 1, 1, 1);
  for (int Point = 0; Point < 4; ++Point) {
    const double Angle = Point * M_PI / 2;
    cairo_move_to(Cr, Mid, Mid);
    cairo_line_to(Cr, Mid + std::cos(Angle - 0.22) * 14, Mid + std::sin(Angle - 0.22) * 14);
    cairo_line_to(Cr, Mid + std::cos(Angle) * 60, Mid + std::sin(Angle) * 60);
    cairo_line_to(Cr, Mid + std::cos(Angle + 0.22) * 14, Mid + std::sin(Angle + 0.22) * 14);
    cairo_close_path(Cr);
  }
  cairo_fill(Cr);
}

// Spares (2, 4, 6): a soft dot, a smoke wisp and a small star, for effects still to come.
void DrawDot(cairo_t* Cr) {
  SoftRadial(Cr, 64, 64, 60, 1.0);
}

void DrawSmoke(cairo_t* Cr) {
  for (int Blob = 0; Blob < 5; ++Blob)
    SoftRadial(Cr, 40 + Blob * 12, 84 - Blob * 10, 30 - Blob * 2, 0.35);
}

void DrawStar(cairo_t* Cr) {
  cairo_set_source_rgba(Cr, 1, 1, 1, 1);
  for (int Point = 0; Point < 10; ++Point) {
    const double Angle = -M_PI / 2 + Point * M_PI / 5, Radius = Point % 2 ? 24 : 58;
    cairo_line_to(Cr, 64 + std::cos(Angle) * Radius, 66 + std::sin(Angle) * Radius);
  }
  cairo_close_path(Cr);
  cairo_fill(Cr);
}

void GenerateParticleAtlas(Assets::TOutput& Output) {
  const std::vector<TRect> Cells = Assets::GridCells(kCellCount, 4, kCellSide, kCellSide);
  TCanvas Canvas(Assets::CellsWidth(Cells), Assets::CellsHeight(Cells));
  void (*const Drawings[kCellCount])(cairo_t*) = {DrawRay,   DrawPetal, DrawDot,  DrawRing,
                                                  DrawSmoke, DrawDust,  DrawStar, DrawSparkle};
  for (int Index = 0; Index < kCellCount; ++Index)
    Assets::InCell(Canvas.Cr(), Cells[std::size_t(Index)], 1.0,
                   [&] { Drawings[Index](Canvas.Cr()); });
  Output.Texture("Particles", Canvas.Picture(), Assets::TDdsFormat::Argb8888, Cells);
}

// ---- paths ----

struct TPoint {
  double X, Y;
};

// A path file: every point with the running length along the path as its value, no marks.
std::string EncodePath(const std::vector<TPoint>& Points) {
  std::string Bytes;
  TStreamWriter Out(Bytes);
  Out.Write(static_cast<std::int32_t>(Points.size()));
  float Length = 0;
  for (std::size_t Index = 0; Index < Points.size(); ++Index) {
    if (Index > 0)
      Length += static_cast<float>(
          std::hypot(Points[Index].X - Points[Index - 1].X, Points[Index].Y - Points[Index - 1].Y));
    Out.Write(Length);
    Out.Write(static_cast<std::int16_t>(std::lround(Points[Index].X)));
    Out.Write(static_cast<std::int16_t>(std::lround(Points[Index].Y)));
  }
  Out.Write(std::int32_t{0});  // no marks
  return Bytes;
}

// "Final": landing spots spread evenly over the screen (the effect scales them by 4 around the
// centre): a jittered grid over +-156 x +-96, walked row by row in a zigzag.
std::vector<TPoint> FinalPoints() {
  Assets::TRandom Random(0xF1A1);
  std::vector<TPoint> Points;
  constexpr int kColumns = 26, kRows = 16;
  for (int Row = 0; Row < kRows; ++Row)
    for (int Step = 0; Step < kColumns; ++Step) {
      const int Column = Row % 2 ? kColumns - 1 - Step : Step;
      const double X = -156 + (Column + 0.5) * 312.0 / kColumns + Random.Range(-5, 5);
      const double Y = -96 + (Row + 0.5) * 192.0 / kRows + Random.Range(-5, 5);
      Points.push_back({X, Y});
    }
  return Points;
}

// "Logo": the outline of a rounded box around the logo's lettering (+-290 x +-62 around the
// logo's centre), evenly spaced, so the rays seem to shine from behind the letters.
std::vector<TPoint> LogoPoints() {
  std::vector<TPoint> Points;
  constexpr int kCount = 240;
  constexpr double kHalfWidth = 290, kHalfHeight = 62, kExponent = 2.0 / 6.0;  // a superellipse
  for (int Index = 0; Index < kCount; ++Index) {
    const double Angle = Index * 2 * M_PI / kCount;
    const double C = std::cos(Angle), S = std::sin(Angle);
    Points.push_back({kHalfWidth * std::copysign(std::pow(std::fabs(C), kExponent), C),
                      kHalfHeight * std::copysign(std::pow(std::fabs(S), kExponent), S)});
  }
  Points.push_back(Points.front());  // closed, so the running length covers the whole outline
  return Points;
}

void GenerateParticles(Assets::TOutput& Output) {
  GenerateParticleAtlas(Output);
  Output.File("Paths/Final.pth", EncodePath(FinalPoints()));
  Output.File("Paths/Logo.pth", EncodePath(LogoPoints()));
}

const Assets::TGeneratorRegistration Registration("particles", &GenerateParticles);

}  // namespace

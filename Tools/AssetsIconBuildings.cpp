// AssetsIconBuildings.cpp -- the building pictograms of the action icons: five houses from a
// cottage to a villa, the eight town services, the fountain, and the badges that turn a building
// into "build this" or "improve this".
#include "AssetsIconKit.h"
#include "AssetsIconPictograms.h"

#include <cmath>

namespace Assets::IconPictograms {

using namespace Assets::IconKit;

namespace {

const TColor Wall = Rgb(0xF6EEE2);
const TColor Roof = Palette::Terracotta;
const TColor Marble = Rgb(0xE9E2D3);
const TColor Opening = Rgb(0x3A3440);
const TColor Glass = Rgb(0x35597A);
const TColor HealthGreen = Rgb(0x3FA05A);

void Box(cairo_t* Cr, double X0, double Y0, double X1, double Y1, const TColor& Color) {
  cairo_rectangle(Cr, X0, Y0, X1 - X0, Y1 - Y0);
  FillLit(Cr, Color);
}

void Gable(cairo_t* Cr, double X0, double X1, double YBase, double YPeak, const TColor& Color) {
  Polygon(Cr, {X0, YBase, (X0 + X1) / 2, YPeak, X1, YBase});
  FillLit(Cr, Color);
}

// A low hipped roof: a trapezoid whose ridge runs between RidgeX0 and RidgeX1.
void Hip(cairo_t* Cr, double X0, double X1, double YBase, double RidgeX0, double RidgeX1,
         double YRidge) {
  Polygon(Cr, {X0, YBase, RidgeX0, YRidge, RidgeX1, YRidge, X1, YBase});
  FillLit(Cr, Roof);
}

void ArchPath(cairo_t* Cr, double Cx, double YBottom, double Width, double Height) {
  const double R = Width / 2;
  cairo_new_sub_path(Cr);
  cairo_move_to(Cr, Cx - R, YBottom);
  cairo_line_to(Cr, Cx - R, YBottom - Height + R);
  cairo_arc(Cr, Cx, YBottom - Height + R, R, M_PI, 2 * M_PI);
  cairo_line_to(Cr, Cx + R, YBottom);
  cairo_close_path(Cr);
}

void Door(cairo_t* Cr, double Cx, double YBottom, double Width, double Height) {
  ArchPath(Cr, Cx, YBottom, Width, Height);
  FillLit(Cr, Palette::Wood, 2.2);
}

void Window(cairo_t* Cr, double Cx, double Cy, double Width, double Height) {
  cairo_rectangle(Cr, Cx - Width / 2, Cy - Height / 2, Width, Height);
  FillLit(Cr, Glass, 2.2);
}

void Column(cairo_t* Cr, double Cx, double YTop, double YBottom, double Width) {
  cairo_rectangle(Cr, Cx - Width / 2, YTop + 3, Width, YBottom - YTop - 3);
  FillLit(Cr, Marble, 2);
  cairo_rectangle(Cr, Cx - Width / 2 - 2, YTop, Width + 4, 3.5);
  FillLit(Cr, Marble, 2);
}

void Steps(cairo_t* Cr, double X0, double X1, double YTop, double YBottom) {
  const double Mid = (YTop + YBottom) / 2;
  Box(Cr, X0 + 3, YTop, X1 - 3, Mid, Palette::Stone);
  Box(Cr, X0, Mid, X1, YBottom, Palette::Stone);
}

// A temple front: steps, a row of columns, the beam and a pediment.
void TempleFront(cairo_t* Cr, double X0, double X1, double YPeak, double YBeam, int Columns) {
  const double Bottom = 84, StepTop = 76;
  Steps(Cr, X0, X1, StepTop, Bottom);
  Box(Cr, X0 + 6, YBeam + 6, X1 - 6, StepTop, Opening);
  const double Span = (X1 - X0 - 16) / (Columns - 1);
  for (int Index = 0; Index < Columns; ++Index)
    Column(Cr, X0 + 8 + Span * Index, YBeam + 6, StepTop, 6.5);
  Box(Cr, X0 + 2, YBeam, X1 - 2, YBeam + 7, Marble);
  Gable(Cr, X0 - 2, X1 + 2, YBeam, YPeak, Marble);
  Polygon(Cr, {X0 + 9, YBeam - 2.5, (X0 + X1) / 2, YPeak + 5.5, X1 - 9, YBeam - 2.5});
  FillLit(Cr, Shade(Marble, 0.86), 1.6);
}

void Flame(cairo_t* Cr, double Cx, double YBottom, double Size) {
  cairo_new_sub_path(Cr);
  cairo_move_to(Cr, Cx, YBottom);
  cairo_curve_to(Cr, Cx - Size * 0.7, YBottom, Cx - Size * 0.6, YBottom - Size * 0.9, Cx,
                 YBottom - Size * 1.5);
  cairo_curve_to(Cr, Cx + Size * 0.6, YBottom - Size * 0.9, Cx + Size * 0.7, YBottom, Cx, YBottom);
  cairo_close_path(Cr);
  FillLit(Cr, Rgb(0xFFA928), 2);
}

void Amphora(cairo_t* Cr, double Cx, double YBottom, double Size, const TColor& Color) {
  cairo_save(Cr);
  cairo_translate(Cr, Cx, YBottom);
  cairo_scale(Cr, Size / 10, Size / 10);
  cairo_new_sub_path(Cr);
  cairo_move_to(Cr, -1.5, 0);
  cairo_curve_to(Cr, -6, -3, -6, -9, -2, -11);
  cairo_line_to(Cr, -2, -14);
  cairo_line_to(Cr, 2, -14);
  cairo_line_to(Cr, 2, -11);
  cairo_curve_to(Cr, 6, -9, 6, -3, 1.5, 0);
  cairo_close_path(Cr);
  cairo_restore(Cr);
  FillLit(Cr, Color, 2);
}

// A striped market awning hanging from the line Y between X0 and X1.
void Awning(cairo_t* Cr, double X0, double X1, double Y, double Depth, int Stripes) {
  const double Step = (X1 - X0) / Stripes;
  for (int Index = 0; Index < Stripes; ++Index) {
    const double A = X0 + Step * Index, B = A + Step;
    cairo_new_sub_path(Cr);
    cairo_move_to(Cr, A + 2, Y);
    cairo_line_to(Cr, B - 2, Y);
    cairo_line_to(Cr, B, Y + Depth);
    cairo_arc(Cr, (A + B) / 2, Y + Depth, Step / 2, 0, M_PI);
    cairo_close_path(Cr);
    FillLit(Cr, Index % 2 ? Rgb(0xF4EBDD) : Rgb(0xC8402E), 0);
  }
  cairo_new_sub_path(Cr);
  cairo_move_to(Cr, X0 + 2, Y);
  cairo_line_to(Cr, X1 - 2, Y);
  cairo_line_to(Cr, X1, Y + Depth);
  for (int Index = Stripes - 1; Index >= 0; --Index) {
    const double A = X0 + Step * Index, B = A + Step;
    cairo_arc(Cr, (A + B) / 2, Y + Depth, Step / 2, 0, M_PI);
  }
  cairo_close_path(Cr);
  StrokeLine(Cr, Outline, OutlineWidth);
}

void HealthSign(cairo_t* Cr, double Cx, double Cy, double Radius) {
  ClosedCircle(Cr, Cx, Cy, Radius);
  FillLit(Cr, HealthGreen, 2.4);
  const double Arm = Radius * 0.62, Half = Radius * 0.22;
  Polygon(Cr,
          {Cx - Half, Cy - Arm,  Cx + Half, Cy - Arm,  Cx + Half, Cy - Half, Cx + Arm,  Cy - Half,
           Cx + Arm,  Cy + Half, Cx + Half, Cy + Half, Cx + Half, Cy + Arm,  Cx - Half, Cy + Arm,
           Cx - Half, Cy + Half, Cx - Arm,  Cy + Half, Cx - Arm,  Cy - Half, Cx - Half, Cy - Half});
  FillLit(Cr, Rgb(0xFFFFFF), 0);
}

// A theatre mask: a pale face with dark eyes and a broad smile.
void Mask(cairo_t* Cr, double Cx, double Cy, double Size) {
  cairo_save(Cr);
  cairo_translate(Cr, Cx, Cy);
  cairo_scale(Cr, Size / 20, Size / 20);
  cairo_new_sub_path(Cr);
  cairo_move_to(Cr, -10, -9);
  cairo_curve_to(Cr, -4, -6, 4, -6, 10, -9);
  cairo_curve_to(Cr, 11, 2, 6, 11, 0, 11);
  cairo_curve_to(Cr, -6, 11, -11, 2, -10, -9);
  cairo_close_path(Cr);
  cairo_restore(Cr);
  FillLit(Cr, Rgb(0xF2D27A), 2.4);
  cairo_save(Cr);
  cairo_translate(Cr, Cx, Cy);
  cairo_scale(Cr, Size / 20, Size / 20);
  Polygon(Cr, {-7.5, -3, -2, -4, -3, 0, -7, -0.5});
  Polygon(Cr, {7.5, -3, 2, -4, 3, 0, 7, -0.5});
  cairo_new_sub_path(Cr);
  cairo_move_to(Cr, -5.5, 3);
  cairo_curve_to(Cr, -3, 9, 3, 9, 5.5, 3);
  cairo_curve_to(Cr, 2, 5, -2, 5, -5.5, 3);
  cairo_close_path(Cr);
  cairo_restore(Cr);
  cairo_set_source_rgb(Cr, Outline.R, Outline.G, Outline.B);
  cairo_fill(Cr);
}

// --- houses ------------------------------------------------------------------------------------

void House1(cairo_t* Cr) {
  Box(Cr, 28, 52, 72, 84, Wall);
  Gable(Cr, 21, 79, 54, 30, Roof);
  Door(Cr, 42, 84, 11, 19);
  Window(Cr, 60, 65, 9, 9);
}

void House2(cairo_t* Cr) {
  Box(Cr, 20, 48, 80, 84, Wall);
  Door(Cr, 35, 84, 12, 21);
  Window(Cr, 56, 64, 9, 10);
  Window(Cr, 70, 64, 9, 10);
  Box(Cr, 62, 24, 70, 40, Palette::Stone);  // the chimney, behind the roof
  Gable(Cr, 14, 86, 50, 24, Roof);
}

void House3(cairo_t* Cr) {
  Box(Cr, 24, 34, 76, 84, Wall);
  Gable(Cr, 18, 82, 36, 14, Roof);
  Box(Cr, 24, 57, 76, 61, Rgb(0xD9CDB8));
  Window(Cr, 36, 46, 9, 10);
  Window(Cr, 64, 46, 9, 10);
  Door(Cr, 50, 84, 13, 19);
  Window(Cr, 33, 71, 8, 9);
  Window(Cr, 67, 71, 8, 9);
}

void House4(cairo_t* Cr) {
  Box(Cr, 14, 54, 42, 84, Wall);
  Gable(Cr, 10, 44, 56, 40, Roof);
  Window(Cr, 26, 69, 8, 9);
  Box(Cr, 38, 30, 84, 84, Palette::Ochre);
  Gable(Cr, 33, 89, 32, 12, Roof);
  Window(Cr, 50, 44, 8, 10);
  Window(Cr, 72, 44, 8, 10);
  Box(Cr, 42, 56, 80, 60, Shade(Palette::Ochre, 0.85));
  Door(Cr, 61, 84, 13, 20);
  Window(Cr, 74, 72, 7, 9);
}

void House5(cairo_t* Cr) {
  Box(Cr, 16, 36, 84, 84, Palette::Ochre);
  Hip(Cr, 10, 90, 38, 30, 70, 20);
  Box(Cr, 12, 59, 88, 63, Shade(Palette::Ochre, 0.85));
  for (double X : {25.0, 38.0, 62.0, 75.0})
    Window(Cr, X, 48, 7, 10);
  Box(Cr, 32, 63, 68, 84, Rgb(0x5A4034));
  for (double X : {34.0, 45.5, 54.5, 66.0})
    Column(Cr, X, 63, 84, 5.5);
  Gable(Cr, 28, 72, 64, 52, Marble);
  Window(Cr, 22, 73, 6, 9);
  Window(Cr, 78, 73, 6, 9);
}

// --- services ----------------------------------------------------------------------------------

void Shrine(cairo_t* Cr) {
  TempleFront(Cr, 28, 72, 30, 46, 2);
  Door(Cr, 50, 76, 10, 18);
  Flame(Cr, 50, 28, 8);
}

void Temple(cairo_t* Cr) {
  TempleFront(Cr, 12, 88, 20, 40, 5);
  ClosedCircle(Cr, 50, 19, 4.5);
  FillLit(Cr, Palette::Gold, 2);
}

void MarketStall(cairo_t* Cr) {
  Box(Cr, 24, 44, 27, 84, Palette::Wood);
  Box(Cr, 73, 44, 76, 84, Palette::Wood);
  Box(Cr, 20, 64, 80, 84, Rgb(0xB07A44));
  Box(Cr, 18, 60, 82, 65, Rgb(0xC89058));
  Amphora(Cr, 34, 60, 12, Palette::Terracotta);
  Amphora(Cr, 50, 60, 14, Rgb(0xD88A4C));
  ClosedCircle(Cr, 65, 55, 5.5);
  FillLit(Cr, Rgb(0xE8A030), 2);
  ClosedCircle(Cr, 71, 56, 4.5);
  FillLit(Cr, Rgb(0x8CAA3C), 2);
  Awning(Cr, 16, 84, 28, 14, 5);
}

void Stoa(cairo_t* Cr) {
  Box(Cr, 10, 40, 90, 84, Wall);
  Hip(Cr, 6, 94, 42, 18, 82, 26);
  for (double X : {26.0, 50.0, 74.0}) {
    ArchPath(Cr, X, 84, 15, 24);
    FillLit(Cr, Opening, 2.4);
  }
  Awning(Cr, 12, 88, 46, 9, 7);
  Amphora(Cr, 26, 84, 10, Palette::Terracotta);
  Amphora(Cr, 74, 84, 10, Rgb(0xD88A4C));
}

void HealersHouse(cairo_t* Cr) {
  Box(Cr, 22, 44, 78, 84, Wall);
  Gable(Cr, 16, 84, 46, 18, Roof);
  Door(Cr, 36, 84, 12, 21);
  Window(Cr, 62, 64, 9, 10);
  HealthSign(Cr, 50, 36, 10);
}

void Baths(cairo_t* Cr) {
  cairo_new_sub_path(Cr);
  cairo_arc(Cr, 50, 50, 24, M_PI, 2 * M_PI);
  cairo_close_path(Cr);
  FillLit(Cr, Rgb(0x6BA5C4));
  Box(Cr, 46, 22, 54, 27, Marble);
  Box(Cr, 10, 48, 90, 84, Wall);
  Box(Cr, 8, 45, 92, 51, Marble);
  for (double X : {22.0, 78.0}) {
    ArchPath(Cr, X, 78, 10, 18);
    FillLit(Cr, Glass, 2.2);
  }
  Door(Cr, 50, 84, 14, 22);
  HealthSign(Cr, 50, 39, 8);
}

// A small theatre seen from the stage: the fan of stone seats around the orchestra, a mask in
// its middle and the low stage wall in front.
void Odeon(cairo_t* Cr) {
  const TColor Seats = Rgb(0xDCCFB4);
  cairo_new_sub_path(Cr);
  cairo_arc(Cr, 50, 74, 38, M_PI, 2 * M_PI);
  cairo_close_path(Cr);
  FillLit(Cr, Seats);
  for (double Radius : {30.0, 22.0}) {
    cairo_new_path(Cr);
    cairo_arc(Cr, 50, 74, Radius, M_PI * 1.02, M_PI * 1.98);
    StrokeLine(Cr, Shade(Seats, 0.6), 2);
  }
  for (double Angle : {1.25, 1.5, 1.75}) {
    cairo_move_to(Cr, 50 + 15 * std::cos(Angle * M_PI), 74 + 15 * std::sin(Angle * M_PI));
    cairo_line_to(Cr, 50 + 37 * std::cos(Angle * M_PI), 74 + 37 * std::sin(Angle * M_PI));
    StrokeLine(Cr, Shade(Seats, 0.6), 2);
  }
  cairo_new_sub_path(Cr);
  cairo_arc(Cr, 50, 74, 14, M_PI, 2 * M_PI);
  cairo_close_path(Cr);
  FillLit(Cr, Rgb(0xC9A46E), 2.4);
  Box(Cr, 10, 72, 90, 84, Marble);
  for (double X : {24.0, 50.0, 76.0}) {
    ArchPath(Cr, X, 84, 7, 9);
    FillLit(Cr, Opening, 1.8);
  }
  Mask(Cr, 50, 56, 20);
}

void Amphitheatre(cairo_t* Cr) {
  cairo_new_sub_path(Cr);
  cairo_move_to(Cr, 8, 84);
  cairo_line_to(Cr, 8, 36);
  cairo_curve_to(Cr, 30, 24, 70, 24, 92, 36);
  cairo_line_to(Cr, 92, 84);
  cairo_close_path(Cr);
  FillLit(Cr, Palette::Ochre);
  cairo_move_to(Cr, 8, 58);
  cairo_curve_to(Cr, 30, 52, 70, 52, 92, 58);
  StrokeLine(Cr, Outline, 2.4);
  for (int Index = 0; Index < 5; ++Index) {
    const double X = 18 + Index * 16;
    const double Lift = std::abs(Index - 2) * 1.6;
    ArchPath(Cr, X, 54 + Lift * 0.4, 9, 14 - Lift * 0.3);
    FillLit(Cr, Opening, 2);
    ArchPath(Cr, X, 84, 10, 20);
    FillLit(Cr, Opening, 2);
  }
  Mask(Cr, 50, 22, 18);
}

}  // namespace

void House(cairo_t* Cr, int Level) {
  switch (Level) {
    case 1:
      House1(Cr);
      break;
    case 2:
      House2(Cr);
      break;
    case 3:
      House3(Cr);
      break;
    case 4:
      House4(Cr);
      break;
    default:
      House5(Cr);
      break;
  }
}

void Service(cairo_t* Cr, int Number) {
  switch (Number) {
    case 1:
      Shrine(Cr);
      break;
    case 2:
      MarketStall(Cr);
      break;
    case 3:
      HealersHouse(Cr);
      break;
    case 4:
      Odeon(Cr);
      break;
    case 5:
      Temple(Cr);
      break;
    case 6:
      Stoa(Cr);
      break;
    case 7:
      Baths(Cr);
      break;
    default:
      Amphitheatre(Cr);
      break;
  }
}

void Fountain(cairo_t* Cr) {
  const TColor Spray = Rgb(0x8FD0EC);
  cairo_save(Cr);
  cairo_translate(Cr, 50, 74);
  cairo_scale(Cr, 34, 10);
  ClosedCircle(Cr, 0, 0, 1);
  cairo_restore(Cr);
  FillLit(Cr, Palette::Stone);
  Box(Cr, 16, 74, 84, 84, Palette::Stone);
  cairo_save(Cr);
  cairo_translate(Cr, 50, 74);
  cairo_scale(Cr, 28, 6.5);
  ClosedCircle(Cr, 0, 0, 1);
  cairo_restore(Cr);
  FillLit(Cr, Palette::Water, 2);
  Box(Cr, 45, 42, 55, 74, Marble);
  cairo_save(Cr);
  cairo_translate(Cr, 50, 42);
  cairo_scale(Cr, 17, 5);
  cairo_new_sub_path(Cr);
  cairo_arc(Cr, 0, 0, 1, 0, M_PI);
  cairo_close_path(Cr);
  cairo_restore(Cr);
  FillLit(Cr, Marble);
  for (int Side = -1; Side <= 1; Side += 2) {
    cairo_move_to(Cr, 50, 30);
    cairo_curve_to(Cr, 50 + Side * 12, 16, 50 + Side * 24, 30, 50 + Side * 26, 66);
    StrokeLine(Cr, Outline, 7);
    cairo_move_to(Cr, 50, 30);
    cairo_curve_to(Cr, 50 + Side * 12, 16, 50 + Side * 24, 30, 50 + Side * 26, 66);
    StrokeLine(Cr, Spray, 3.5);
  }
  Box(Cr, 47.5, 26, 52.5, 42, Spray);
  ClosedCircle(Cr, 24, 36, 7);
  FillLit(Cr, Palette::Leaf, 2);
  ClosedCircle(Cr, 78, 40, 6);
  FillLit(Cr, Palette::Olive, 2);
}

void PlusBadge(cairo_t* Cr) {
  ClosedCircle(Cr, 77, 77, 15);
  FillLit(Cr, Rgb(0x44B049), 3);
  Polygon(Cr, {74, 67, 80, 67, 80, 74, 87, 74, 87, 80, 80, 80,
               80, 87, 74, 87, 74, 80, 67, 80, 67, 74, 74, 74});
  FillLit(Cr, Rgb(0xFFFFFF), 1.2);
}

void UpgradeBadge(cairo_t* Cr) {
  Polygon(Cr, {78, 56, 94, 74, 84, 74, 84, 92, 72, 92, 72, 74, 62, 74});
  FillLit(Cr, Palette::Gold, 3);
}

}  // namespace Assets::IconPictograms

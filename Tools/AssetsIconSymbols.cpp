// AssetsIconSymbols.cpp -- the non-building pictograms of the action icons: the screen commands,
// the orders of wood, stone and workers, the site jobs, the tick and lock marks, and the
// licences that change a rule rather than unlock a building.
#include "AssetsIconKit.h"
#include "AssetsIconPictograms.h"

#include <algorithm>
#include <cmath>

namespace Assets::IconPictograms {

using namespace Assets::IconKit;

namespace {

const TColor Cream = Rgb(0xFFF6E2);
const TColor Iron = Rgb(0x9AA0A6);
const TColor Handle = Rgb(0xA0683A);
const TColor Skin = Rgb(0xE0A878);
const TColor Tunic = Rgb(0x4F86B0);
const TColor Paper = Rgb(0xF1DFB4);
const TColor SealRed = Rgb(0xB8322A);
const TColor GoGreen = Rgb(0x44B049);

void Box(cairo_t* Cr, double X0, double Y0, double X1, double Y1, const TColor& Color,
         double Radius = 0) {
  if (Radius > 0) {
    RoundedRectangle(Cr, X0, Y0, X1 - X0, Y1 - Y0, Radius);
  } else {
    cairo_rectangle(Cr, X0, Y0, X1 - X0, Y1 - Y0);
  }
  FillLit(Cr, Color);
}

// Runs Draw with the origin moved to (X, Y), turned by Degrees and scaled.
template <typename TDraw>
void Placed(cairo_t* Cr, double X, double Y, double Degrees, double Scale, TDraw Draw) {
  cairo_save(Cr);
  cairo_translate(Cr, X, Y);
  cairo_rotate(Cr, Degrees * M_PI / 180);
  cairo_scale(Cr, Scale, Scale);
  Draw();
  cairo_restore(Cr);
}

// Tools, drawn upright with the handle's end at the origin and the head at y = -50.
void HammerShape(cairo_t* Cr) {
  Box(Cr, -3.5, -46, 3.5, 0, Handle, 2);
  Box(Cr, -14, -56, 14, -42, Iron, 2.5);
}

void PickaxeShape(cairo_t* Cr) {
  Box(Cr, -3.5, -48, 3.5, 0, Handle, 2);
  cairo_new_sub_path(Cr);
  cairo_move_to(Cr, -24, -36);
  cairo_curve_to(Cr, -14, -52, 14, -52, 24, -36);
  cairo_curve_to(Cr, 12, -44, -12, -44, -24, -36);
  cairo_close_path(Cr);
  FillLit(Cr, Iron, 2.6);
}

void AxeShape(cairo_t* Cr) {
  Box(Cr, -3.5, -50, 3.5, 0, Handle, 2);
  cairo_new_sub_path(Cr);
  cairo_move_to(Cr, 2, -50);
  cairo_line_to(Cr, 14, -54);
  cairo_curve_to(Cr, 20, -46, 20, -36, 14, -30);
  cairo_line_to(Cr, 2, -36);
  cairo_close_path(Cr);
  FillLit(Cr, Iron, 2.6);
}

void ShovelShape(cairo_t* Cr) {
  Box(Cr, -3, -44, 3, 0, Handle, 2);
  Box(Cr, -7, -4, 7, 2, Handle, 2);
  cairo_new_sub_path(Cr);
  cairo_move_to(Cr, -11, -46);
  cairo_line_to(Cr, 11, -46);
  cairo_line_to(Cr, 11, -60);
  cairo_curve_to(Cr, 11, -68, 0, -74, 0, -74);
  cairo_curve_to(Cr, 0, -74, -11, -68, -11, -60);
  cairo_close_path(Cr);
  FillLit(Cr, Iron, 2.6);
}

void Rock(cairo_t* Cr, double Cx, double Cy, double Size, const TColor& Color) {
  Polygon(Cr, {Cx - Size, Cy + Size * 0.5, Cx - Size * 0.8, Cy - Size * 0.3, Cx - Size * 0.2,
               Cy - Size * 0.75, Cx + Size * 0.6, Cy - Size * 0.5, Cx + Size, Cy + Size * 0.1,
               Cx + Size * 0.8, Cy + Size * 0.6});
  FillLit(Cr, Color);
}

void Brick(cairo_t* Cr, double X, double Y, double W, double H) {
  Box(Cr, X, Y, X + W, Y + H, Palette::Terracotta, 1.5);
}

void WorkerFigure(cairo_t* Cr, double Cx, double Scale) {
  Placed(Cr, Cx, 0, 0, Scale, [&] {
    cairo_new_sub_path(Cr);
    cairo_move_to(Cr, -26, 86);
    cairo_curve_to(Cr, -26, 62, -16, 56, 0, 56);
    cairo_curve_to(Cr, 16, 56, 26, 62, 26, 86);
    cairo_close_path(Cr);
    FillLit(Cr, Tunic);
    cairo_move_to(Cr, -8, 58);
    cairo_line_to(Cr, 0, 70);
    cairo_line_to(Cr, 8, 58);
    StrokeLine(Cr, Outline, 2.4);
    ClosedCircle(Cr, 0, 40, 15);
    FillLit(Cr, Skin);
    cairo_new_sub_path(Cr);
    cairo_arc(Cr, 0, 36, 16, M_PI, 2 * M_PI);
    cairo_line_to(Cr, 20, 36);
    cairo_line_to(Cr, -20, 36);
    cairo_close_path(Cr);
    FillLit(Cr, Palette::Ochre, 2.6);
  });
}

void ParchmentSheet(cairo_t* Cr, double X0, double Y0, double X1, double Y1) {
  Box(Cr, X0, Y0 + 4, X1, Y1 - 4, Paper);
  for (double Y : {Y0 + 4, Y1 - 4}) {
    Ellipse(Cr, (X0 + X1) / 2, Y, (X1 - X0) / 2 + 4, 5);
    FillLit(Cr, Shade(Paper, 0.9), 2.6);
  }
}

}  // namespace

void LicenceSheet(cairo_t* Cr) {
  Placed(Cr, 50, 50, -6, 1.0, [&] { ParchmentSheet(Cr, -34, -40, 34, 40); });
}

void LicenceSeal(cairo_t* Cr) {
  Polygon(Cr, {70, 80, 66, 96, 72, 92, 76, 98, 78, 82});
  FillLit(Cr, Rgb(0x2F5E9E), 2);
  ClosedCircle(Cr, 76, 78, 9);
  FillLit(Cr, SealRed, 2.6);
  ClosedCircle(Cr, 76, 78, 4.5);
  StrokeLine(Cr, Rgb(0xFFD0C0, 0.6), 1.4);
}

void UpgradeLicence(cairo_t* Cr, int Rank) {
  LicenceSheet(Cr);
  Polygon(Cr, {50, 14, 70, 36, 58, 36, 58, 50, 42, 50, 42, 36, 30, 36});
  FillLit(Cr, Palette::Gold, 3);
  for (int Index = 0; Index < Rank; ++Index) {
    const double Y = 60 + Index * 7;
    Polygon(Cr, {32, Y + 6, 50, Y - 2, 68, Y + 6, 68, Y + 10, 50, Y + 2, 32, Y + 10});
    FillLit(Cr, SealRed, 1.8);
  }
}

void CheaperTraining(cairo_t* Cr) {
  LicenceSheet(Cr);
  Placed(Cr, 6, 6, 0, 0.8, [&] { WorkerFigure(Cr, 48, 1.0); });
  ClosedCircle(Cr, 72, 70, 13);
  FillLit(Cr, Palette::Gold, 2.6);
  Polygon(Cr, {64, 68, 80, 68, 80, 73, 64, 73});
  FillLit(Cr, Rgb(0x8E5E22), 0);
}

void NoDamage(cairo_t* Cr) {
  LicenceSheet(Cr);
  cairo_new_sub_path(Cr);
  cairo_move_to(Cr, 50, 18);
  cairo_curve_to(Cr, 60, 24, 68, 24, 74, 24);
  cairo_curve_to(Cr, 74, 54, 66, 70, 50, 82);
  cairo_curve_to(Cr, 34, 70, 26, 54, 26, 24);
  cairo_curve_to(Cr, 32, 24, 40, 24, 50, 18);
  cairo_close_path(Cr);
  FillLit(Cr, Rgb(0x3D7BC4), 3);
  cairo_move_to(Cr, 39, 48);
  cairo_line_to(Cr, 47, 57);
  cairo_line_to(Cr, 62, 38);
  StrokeLine(Cr, Outline, 9);
  cairo_move_to(Cr, 39, 48);
  cairo_line_to(Cr, 47, 57);
  cairo_line_to(Cr, 62, 38);
  StrokeLine(Cr, Cream, 4.5);
}

void Play(cairo_t* Cr) {
  cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
  Polygon(Cr, {34, 22, 78, 50, 34, 78});
  FillLit(Cr, Cream, 4);
}

void Pause(cairo_t* Cr) {
  Box(Cr, 28, 22, 44, 78, Cream, 3);
  Box(Cr, 56, 22, 72, 78, Cream, 3);
}

void Restart(cairo_t* Cr) {
  const double Start = -M_PI * 0.35, End = M_PI * 1.3;
  for (int Pass = 0; Pass < 2; ++Pass) {
    cairo_new_path(Cr);
    cairo_arc(Cr, 50, 52, 24, Start, End);
    StrokeLine(Cr, Pass == 0 ? Outline : Cream, Pass == 0 ? 16 : 9);
  }
  const double Ex = 50 + 24 * std::cos(Start), Ey = 52 + 24 * std::sin(Start);
  Placed(Cr, Ex, Ey, Start * 180 / M_PI + 90, 1.0, [&] { Polygon(Cr, {-4, -15, 14, 0, -4, 15}); });
  FillLit(Cr, Cream, 3);
}

void Help(cairo_t* Cr) {
  for (int Pass = 0; Pass < 2; ++Pass) {
    cairo_new_path(Cr);
    cairo_arc(Cr, 50, 36, 15, M_PI * 1.1, M_PI * 2.25);
    cairo_curve_to(Cr, 58, 54, 50, 54, 50, 62);
    StrokeLine(Cr, Pass == 0 ? Outline : Cream, Pass == 0 ? 17 : 10);
  }
  ClosedCircle(Cr, 50, 78, 7);
  FillLit(Cr, Cream, 3);
}

void Gear(cairo_t* Cr) {
  constexpr int kTeeth = 8;
  cairo_new_sub_path(Cr);
  for (int Tooth = 0; Tooth < kTeeth; ++Tooth) {
    const double A = Tooth * 2 * M_PI / kTeeth;
    const double Half = M_PI / kTeeth;
    for (auto [Angle, Radius] : {std::pair{A - Half * 0.95, 26.0},
                                 {A - Half * 0.5, 35.0},
                                 {A + Half * 0.5, 35.0},
                                 {A + Half * 0.95, 26.0}})
      cairo_line_to(Cr, 50 + Radius * std::cos(Angle), 50 + Radius * std::sin(Angle));
  }
  cairo_close_path(Cr);
  ClosedCircle(Cr, 50, 50, 10);
  cairo_set_fill_rule(Cr, CAIRO_FILL_RULE_EVEN_ODD);
  cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
  FillLit(Cr, Rgb(0xD8DCE0));
  cairo_set_fill_rule(Cr, CAIRO_FILL_RULE_WINDING);
}

void ExitDoor(cairo_t* Cr) {
  Box(Cr, 44, 16, 80, 86, Palette::Stone);
  Box(Cr, 51, 23, 73, 86, Rgb(0x2A2430));
  Polygon(Cr, {51, 23, 64, 29, 64, 92, 51, 86});
  FillLit(Cr, Palette::Wood);
  Polygon(Cr, {14, 52, 34, 34, 34, 45, 50, 45, 50, 59, 34, 59, 34, 70});
  FillLit(Cr, Palette::Gold, 3);
}

void Scroll(cairo_t* Cr) {
  Placed(Cr, 50, 50, -8, 1.0, [&] {
    ParchmentSheet(Cr, -30, -36, 30, 36);
    for (int Line = 0; Line < 4; ++Line) {
      const double Y = -20 + Line * 10;
      cairo_move_to(Cr, -20, Y);
      cairo_line_to(Cr, Line == 3 ? 4 : 20, Y);
      StrokeLine(Cr, Rgb(0x8A6A48), 3);
    }
  });
  LicenceSeal(Cr);
}

void Coins(cairo_t* Cr) {
  const TColor Coin = Rgb(0xF0BE40);
  for (int Index = 0; Index < 4; ++Index) {
    const double Y = 80 - Index * 9;
    cairo_rectangle(Cr, 16, Y - 6, 40, 6);
    FillLit(Cr, Shade(Coin, 0.85), 0);
    Ellipse(Cr, 36, Y, 20, 6);
    FillLit(Cr, Shade(Coin, 0.8), 2.6);
    Ellipse(Cr, 36, Y - 6, 20, 6);
    FillLit(Cr, Coin, 2.6);
  }
  ClosedCircle(Cr, 66, 56, 20);
  FillLit(Cr, Coin, 3);
  ClosedCircle(Cr, 66, 56, 13);
  StrokeLine(Cr, Rgb(0x9A6A18, 0.8), 2.2);
  Box(Cr, 63, 47, 69, 65, Rgb(0xFFE9A0), 0);
}

void Logs(cairo_t* Cr) {
  const TColor Bark = Rgb(0x7A4A22), Core = Rgb(0xE6C188);
  auto Log = [&](double X, double Y) {
    Box(Cr, X - 6, Y - 12, X + 12, Y + 12, Shade(Bark, 0.85));
    ClosedCircle(Cr, X - 6, Y, 12);
    FillLit(Cr, Bark, 2.6);
    ClosedCircle(Cr, X - 6, Y, 8.5);
    FillLit(Cr, Core, 1.6);
    ClosedCircle(Cr, X - 6, Y, 4);
    StrokeLine(Cr, Rgb(0xA87848), 1.6);
  };
  for (double X : {82.0, 58.0, 34.0})
    Log(X - 6, 72);
  for (double X : {70.0, 46.0})
    Log(X - 6, 50);
  Log(52, 28);
}

void StoneBlocks(cairo_t* Cr) {
  const TColor Block = Palette::Stone;
  auto Stone = [&](double X, double Y, double W, double H) {
    Polygon(Cr, {X, Y, X + 7, Y - 7, X + W + 7, Y - 7, X + W, Y});
    FillLit(Cr, Shade(Block, 1.18), 2.4);
    Polygon(Cr, {X + W, Y, X + W + 7, Y - 7, X + W + 7, Y + H - 7, X + W, Y + H});
    FillLit(Cr, Shade(Block, 0.78), 2.4);
    Box(Cr, X, Y, X + W, Y + H, Block);
  };
  Stone(14, 62, 32, 22);
  Stone(48, 62, 32, 22);
  Stone(30, 36, 32, 22);
}

void Worker(cairo_t* Cr) {
  WorkerFigure(Cr, 50, 1.0);
}

void TrainWorker(cairo_t* Cr) {
  Placed(Cr, -4, 0, 0, 1.0, [&] { WorkerFigure(Cr, 48, 1.0); });
  PlusBadge(Cr);
}

void AssignWorker(cairo_t* Cr) {
  WorkerFigure(Cr, 40, 1.0);
  Polygon(Cr, {66, 50, 84, 50, 84, 68, 92, 68, 75, 88, 58, 68, 66, 68});
  FillLit(Cr, GoGreen, 3);
}

void Demolish(cairo_t* Cr) {
  Box(Cr, 16, 48, 64, 84, Rgb(0xF6EEE2));
  Polygon(Cr, {12, 50, 40, 28, 68, 50});
  FillLit(Cr, Palette::Terracotta);
  cairo_move_to(Cr, 38, 48);
  cairo_line_to(Cr, 32, 60);
  cairo_line_to(Cr, 42, 66);
  cairo_line_to(Cr, 34, 84);
  StrokeLine(Cr, Outline, 3.4);
  Placed(Cr, 62, 86, 35, 0.95, [&] { HammerShape(Cr); });
  Rock(Cr, 80, 82, 6, Palette::Stone);
}

void ClearDebris(cairo_t* Cr) {
  Rock(Cr, 26, 72, 15, Palette::StoneDark);
  Brick(Cr, 44, 52, 22, 11);
  Rock(Cr, 52, 70, 19, Palette::Stone);
  Brick(Cr, 12, 78, 20, 10);
  Rock(Cr, 40, 82, 11, Rgb(0xC8B89C));
  Brick(Cr, 58, 78, 16, 9);
  Placed(Cr, 80, 90, 20, 1.05, [&] { ShovelShape(Cr); });
}

void Repair(cairo_t* Cr) {
  for (int Row = 0; Row < 3; ++Row) {
    const double Y = 56 + Row * 10;
    const double Shift = Row % 2 ? 10 : 0;
    for (double X = 14 - Shift; X < 86; X += 20) {
      const double Left = std::max(14.0, X), Right = std::min(86.0, X + 19);
      Brick(Cr, Left, Y, Right - Left, 9);
    }
  }
  Placed(Cr, 40, 84, 38, 1.25, [&] { HammerShape(Cr); });
}

void Tick(cairo_t* Cr) {
  cairo_move_to(Cr, 22, 52);
  cairo_line_to(Cr, 42, 72);
  cairo_line_to(Cr, 80, 28);
  StrokeLine(Cr, Outline, 22);
  cairo_move_to(Cr, 22, 52);
  cairo_line_to(Cr, 42, 72);
  cairo_line_to(Cr, 80, 28);
  StrokeLine(Cr, Rgb(0x5CCB5F), 13);
}

void Lock(cairo_t* Cr) {
  for (int Pass = 0; Pass < 2; ++Pass) {
    cairo_new_path(Cr);
    cairo_move_to(Cr, 36, 50);
    cairo_line_to(Cr, 36, 38);
    cairo_arc(Cr, 50, 38, 14, M_PI, 2 * M_PI);
    cairo_line_to(Cr, 64, 50);
    StrokeLine(Cr, Pass == 0 ? Outline : Iron, Pass == 0 ? 14 : 7.5);
  }
  Box(Cr, 24, 46, 76, 84, Palette::Gold, 5);
  ClosedCircle(Cr, 50, 60, 5.5);
  Polygon(Cr, {47, 62, 53, 62, 55, 74, 45, 74});
  cairo_set_source_rgb(Cr, Outline.R, Outline.G, Outline.B);
  cairo_fill(Cr);
}

void ClearForest(cairo_t* Cr) {
  Box(Cr, 32, 56, 41, 86, Palette::Wood);
  ClosedCircle(Cr, 24, 46, 14);
  ClosedCircle(Cr, 48, 44, 15);
  ClosedCircle(Cr, 36, 28, 17);
  FillLit(Cr, Palette::Leaf);
  ClosedCircle(Cr, 30, 34, 5);
  ClosedCircle(Cr, 44, 42, 4);
  cairo_set_source_rgba(Cr, 1, 1, 1, 0.18);
  cairo_fill(Cr);
  Placed(Cr, 64, 90, 30, 1.1, [&] { AxeShape(Cr); });
}

void ClearStones(cairo_t* Cr) {
  Rock(Cr, 34, 70, 20, Palette::Stone);
  Rock(Cr, 58, 78, 13, Palette::StoneDark);
  Rock(Cr, 22, 82, 9, Rgb(0xC8BCA8));
  Placed(Cr, 66, 86, 28, 1.0, [&] { PickaxeShape(Cr); });
}

}  // namespace Assets::IconPictograms

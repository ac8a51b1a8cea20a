// AssetsFormMenu.cpp -- "FormMenu": the menu's background, a sunny bay seen from a terrace. The
// sun stands in the upper left; a white town with terracotta roofs climbs the hill on the left, a
// headland with a watchtower closes the bay on the right, cypresses and olives frame the view.
// The middle stays calm: deep sky under the welcome line and the logo, open sea and a shaded
// terrace under the menu buttons, shade in the lower right under the "About" link.
#include <algorithm>
#include <cmath>
#include <vector>

#include "AssetsCore.h"
#include "AssetsFormsShared.h"

namespace {

using namespace Assets;
using namespace Assets::Forms;

constexpr int kWidth = 1280, kHeight = 800;
constexpr double kHorizon = 372;
constexpr double kSunX = 150, kSunY = 140;
constexpr double kTerraceTop = 668;

const TColor kOutline = Rgb(0x3A2A1E, 0.55);

// The top edge of the town's hill on the left and of the headland on the right.
double TownHillTop(double X) {
  return 292 + 0.00088 * X * X;
}
double HeadlandTop(double X) {
  const double Far = std::max(0.0, 1280 - X);
  return 452 + 0.0016 * Far * Far;
}

// --- sky -------------------------------------------------------------------------------------

void DrawSky(cairo_t* Cr) {
  cairo_pattern_t* Sky = cairo_pattern_create_linear(0, 0, 0, kHorizon);
  cairo_pattern_add_color_stop_rgb(Sky, 0, 0.10, 0.30, 0.52);
  cairo_pattern_add_color_stop_rgb(Sky, 0.45, 0.24, 0.52, 0.74);
  cairo_pattern_add_color_stop_rgb(Sky, 0.85, 0.62, 0.80, 0.88);
  cairo_pattern_add_color_stop_rgb(Sky, 1, 0.96, 0.88, 0.74);
  cairo_rectangle(Cr, 0, 0, kWidth, kHorizon + 2);
  cairo_set_source(Cr, Sky);
  cairo_fill(Cr);
  cairo_pattern_destroy(Sky);
  cairo_pattern_t* Glow = cairo_pattern_create_radial(kSunX, kSunY, 10, kSunX, kSunY, 520);
  cairo_pattern_add_color_stop_rgba(Glow, 0, 1.0, 0.96, 0.80, 0.85);
  cairo_pattern_add_color_stop_rgba(Glow, 0.12, 1.0, 0.90, 0.65, 0.45);
  cairo_pattern_add_color_stop_rgba(Glow, 0.5, 1.0, 0.85, 0.6, 0.10);
  cairo_pattern_add_color_stop_rgba(Glow, 1, 1.0, 0.85, 0.6, 0.0);
  cairo_rectangle(Cr, 0, 0, kWidth, kHorizon + 2);
  cairo_set_source(Cr, Glow);
  cairo_fill(Cr);
  cairo_pattern_destroy(Glow);
  cairo_arc(Cr, kSunX, kSunY, 30, 0, 2 * M_PI);
  SetColor(Cr, Rgb(0xFFF6DC));
  cairo_fill(Cr);
}

// A cloud of overlapping puffs, lit from above, with a flat base.
void DrawCloud(cairo_t* Cr, double X, double Y, double Size, TRandom& Random) {
  cairo_save(Cr);
  cairo_rectangle(Cr, X - Size * 3, Y - Size * 3, Size * 6, Size * 3 + 0.5);
  cairo_clip(Cr);
  const int Puffs = 7;
  for (int Layer = 0; Layer < 2; ++Layer) {
    TRandom Shape(Random.Next());
    for (int Puff = 0; Puff < Puffs; ++Puff) {
      const double Along = (Puff - (Puffs - 1) / 2.0) / Puffs;
      const double Px = X + Along * Size * 4.4 + Shape.Range(-0.1, 0.1) * Size;
      const double Radius = Size * (0.85 - std::abs(Along) * 1.1) * Shape.Range(0.8, 1.15);
      cairo_new_sub_path(Cr);
      cairo_arc(Cr, Px - Layer * Size * 0.08, Y - Layer * Size * 0.12, std::max(4.0, Radius), 0,
                2 * M_PI);
    }
    if (Layer == 0)
      cairo_set_source_rgba(Cr, 0.78, 0.84, 0.92, 0.55);
    else
      cairo_set_source_rgba(Cr, 1.0, 0.98, 0.95, 0.6);
    cairo_fill(Cr);
  }
  cairo_restore(Cr);
}

void DrawClouds(cairo_t* Cr) {
  TRandom Random(0xC10D);
  DrawCloud(Cr, 1080, 150, 34, Random);
  DrawCloud(Cr, 1200, 250, 22, Random);
  DrawCloud(Cr, 280, 320, 20, Random);
  DrawCloud(Cr, 820, 305, 18, Random);
  DrawCloud(Cr, 560, 340, 14, Random);
}

// --- far land and sea ------------------------------------------------------------------------

void DrawFarMountains(cairo_t* Cr) {
  // Hazy mountains behind the town and a far island on the horizon.
  cairo_move_to(Cr, 0, kHorizon);
  cairo_line_to(Cr, 0, 238);
  cairo_curve_to(Cr, 120, 205, 200, 250, 290, 262);
  cairo_curve_to(Cr, 380, 272, 430, 330, 520, kHorizon);
  cairo_close_path(Cr);
  SetColor(Cr, Rgb(0x8FA8B8));
  cairo_fill(Cr);
  cairo_move_to(Cr, 860, kHorizon + 1);
  cairo_curve_to(Cr, 900, 350, 960, 338, 1010, 346);
  cairo_curve_to(Cr, 1050, 352, 1080, 362, 1120, kHorizon + 1);
  cairo_close_path(Cr);
  SetColor(Cr, Rgb(0x9DB4C2));
  cairo_fill(Cr);
}

void DrawSea(cairo_t* Cr) {
  cairo_pattern_t* Sea = cairo_pattern_create_linear(0, kHorizon, 0, kTerraceTop);
  cairo_pattern_add_color_stop_rgb(Sea, 0, 0.50, 0.73, 0.84);
  cairo_pattern_add_color_stop_rgb(Sea, 0.3, 0.24, 0.56, 0.72);
  cairo_pattern_add_color_stop_rgb(Sea, 1, 0.10, 0.36, 0.55);
  cairo_rectangle(Cr, 0, kHorizon, kWidth, kHeight - kHorizon);
  cairo_set_source(Cr, Sea);
  cairo_fill(Cr);
  cairo_pattern_destroy(Sea);
  // Glints on the water, longer and sparser towards the shore.
  TRandom Random(0x5EA);
  cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
  for (int Glint = 0; Glint < 260; ++Glint) {
    const double Depth = Random.Uniform();
    const double Y = kHorizon + 4 + Depth * Depth * (kTerraceTop - kHorizon - 10);
    const double X = Random.Range(0, kWidth);
    const double Length = 4 + Depth * 22 * Random.Range(0.5, 1.0);
    cairo_move_to(Cr, X, Y);
    cairo_line_to(Cr, X + Length, Y);
    cairo_set_line_width(Cr, 0.8 + Depth * 1.4);
    cairo_set_source_rgba(Cr, 1, 1, 0.95, 0.25 + 0.3 * (1 - Depth));
    cairo_stroke(Cr);
  }
}

void DrawSailboat(cairo_t* Cr, double X, double Y, double Size) {
  cairo_move_to(Cr, X - Size, Y);
  cairo_line_to(Cr, X + Size, Y);
  cairo_line_to(Cr, X + Size * 0.7, Y + Size * 0.35);
  cairo_line_to(Cr, X - Size * 0.75, Y + Size * 0.35);
  cairo_close_path(Cr);
  SetColor(Cr, Palette::Wood);
  cairo_fill(Cr);
  cairo_move_to(Cr, X, Y - 0.5);
  cairo_line_to(Cr, X, Y - Size * 1.9);
  cairo_curve_to(Cr, X + Size * 0.8, Y - Size * 1.3, X + Size * 0.9, Y - Size * 0.6, X + Size * 0.9,
                 Y - Size * 0.3);
  cairo_close_path(Cr);
  SetColor(Cr, Palette::Whitewash);
  cairo_fill(Cr);
  cairo_move_to(Cr, X - Size * 1.2, Y + Size * 0.55);
  cairo_line_to(Cr, X + Size * 1.2, Y + Size * 0.55);
  cairo_set_source_rgba(Cr, 1, 1, 1, 0.4);
  cairo_set_line_width(Cr, 1);
  cairo_stroke(Cr);
}

// --- land ------------------------------------------------------------------------------------

void DrawTownHill(cairo_t* Cr) {
  // The hill, with a sandy rim where it meets the sea.
  cairo_move_to(Cr, 0, TownHillTop(0));
  for (double X = 0; TownHillTop(X) < kTerraceTop + 10; X += 4)
    cairo_line_to(Cr, X, TownHillTop(X));
  cairo_line_to(Cr, 0, kTerraceTop + 10);
  cairo_close_path(Cr);
  cairo_pattern_t* Ground = cairo_pattern_create_linear(0, 290, 300, kTerraceTop);
  const TColor Lit = Mix(Palette::GrassLight, Palette::Sand, 0.35), Dark = Palette::GrassDark;
  cairo_pattern_add_color_stop_rgb(Ground, 0, Lit.R, Lit.G, Lit.B);
  cairo_pattern_add_color_stop_rgb(Ground, 1, Dark.R, Dark.G, Dark.B);
  cairo_set_source(Cr, Ground);
  cairo_pattern_destroy(Ground);
  cairo_fill_preserve(Cr);
  SetColor(Cr, Rgb(0x4A5A2A, 0.6));
  cairo_set_line_width(Cr, 1.5);
  cairo_stroke(Cr);
  cairo_move_to(Cr, 380, TownHillTop(380) + 2);
  for (double X = 380; TownHillTop(X) < kTerraceTop + 10; X += 4)
    cairo_line_to(Cr, X, TownHillTop(X) + 2);
  SetColor(Cr, Palette::Sand);
  cairo_set_line_width(Cr, 6);
  cairo_stroke(Cr);
}

void DrawHeadland(cairo_t* Cr) {
  cairo_move_to(Cr, kWidth, HeadlandTop(kWidth));
  for (double X = kWidth; HeadlandTop(X) < kTerraceTop + 10; X -= 4)
    cairo_line_to(Cr, X, HeadlandTop(X));
  cairo_line_to(Cr, kWidth, kTerraceTop + 10);
  cairo_close_path(Cr);
  cairo_pattern_t* Ground = cairo_pattern_create_linear(1000, 450, 1280, kTerraceTop);
  const TColor Lit = Mix(Palette::Earth, Palette::GrassLight, 0.5), Dark = Palette::GrassDark;
  cairo_pattern_add_color_stop_rgb(Ground, 0, Lit.R, Lit.G, Lit.B);
  cairo_pattern_add_color_stop_rgb(Ground, 1, Dark.R, Dark.G, Dark.B);
  cairo_set_source(Cr, Ground);
  cairo_pattern_destroy(Ground);
  cairo_fill_preserve(Cr);
  SetColor(Cr, Rgb(0x4A5A2A, 0.6));
  cairo_set_line_width(Cr, 1.5);
  cairo_stroke(Cr);
}

// A house seen from the front and a little from above and the right: a sunlit front wall, a
// shaded side wall and a hipped terracotta roof.
struct THouse {
  double X, Base, Width, Height, Depth;
  TColor Wall;
  int Windows;
  bool Shutters;
};

void DrawHouseWalls(cairo_t* Cr, const THouse& House) {
  const double Top = House.Base - House.Height, Rise = House.Depth * 0.5;
  cairo_rectangle(Cr, House.X, Top, House.Width, House.Height);
  SetColor(Cr, House.Wall);
  cairo_fill_preserve(Cr);
  SetColor(Cr, kOutline);
  cairo_set_line_width(Cr, 0.8);
  cairo_stroke(Cr);
  const double Right = House.X + House.Width;
  cairo_move_to(Cr, Right, Top);
  cairo_line_to(Cr, Right + House.Depth, Top - Rise);
  cairo_line_to(Cr, Right + House.Depth, House.Base - Rise);
  cairo_line_to(Cr, Right, House.Base);
  cairo_close_path(Cr);
  SetColor(Cr, Shade(House.Wall, 0.74));
  cairo_fill_preserve(Cr);
  SetColor(Cr, kOutline);
  cairo_stroke(Cr);
}

void DrawHouseOpenings(cairo_t* Cr, const THouse& House) {
  const double Top = House.Base - House.Height;
  const double Size = std::max(2.0, House.Width * 0.13);
  const double Step = House.Width / (House.Windows + 1);
  for (int Window = 1; Window <= House.Windows; ++Window) {
    const double Cx = House.X + Step * Window;
    const bool Door = Window == (House.Windows + 1) / 2 && House.Height > House.Width * 0.5;
    const double Height = Door ? House.Height * 0.45 : Size * 1.3;
    const double Y = Door ? House.Base - Height : Top + House.Height * 0.28;
    if (House.Shutters && !Door) {
      cairo_rectangle(Cr, Cx - Size * 1.05, Y - 0.5, Size * 2.1, Height + 1);
      SetColor(Cr, Rgb(0x2F6F9F));
      cairo_fill(Cr);
    }
    cairo_rectangle(Cr, Cx - Size / 2, Y, Size, Height);
    SetColor(Cr, Door ? Rgb(0x6B4426) : Rgb(0x2E2620));
    cairo_fill(Cr);
  }
}

void DrawHouseRoof(cairo_t* Cr, const THouse& House) {
  const double Top = House.Base - House.Height, Rise = House.Depth * 0.5;
  const double Eave = std::max(1.5, House.Width * 0.05);
  const double RoofHeight = House.Depth * 0.55 + House.Width * 0.08;
  const double Fl = House.X - Eave, Fr = House.X + House.Width + Eave;
  const double Br = Fr + House.Depth;
  const double CentreX = (Fl + Br) / 2, CentreY = Top - Rise / 2 - RoofHeight;
  const double HalfRidge = std::max(0.0, (House.Width - House.Depth) / 2);
  // Side slope (shaded), then the front slope (sunlit) over it.
  cairo_move_to(Cr, Fr, Top + Eave * 0.4);
  cairo_line_to(Cr, Br, Top - Rise + Eave * 0.4);
  cairo_line_to(Cr, CentreX + HalfRidge, CentreY);
  cairo_close_path(Cr);
  SetColor(Cr, Palette::RoofShadow);
  cairo_fill_preserve(Cr);
  SetColor(Cr, kOutline);
  cairo_set_line_width(Cr, 0.8);
  cairo_stroke(Cr);
  cairo_move_to(Cr, Fl, Top + Eave * 0.4);
  cairo_line_to(Cr, Fr, Top + Eave * 0.4);
  cairo_line_to(Cr, CentreX + HalfRidge, CentreY);
  cairo_line_to(Cr, CentreX - HalfRidge, CentreY);
  cairo_close_path(Cr);
  cairo_pattern_t* Tiles = cairo_pattern_create_linear(0, CentreY, 0, Top);
  const TColor Lit = Shade(Palette::Terracotta, 1.12), Low = Palette::Terracotta;
  cairo_pattern_add_color_stop_rgb(Tiles, 0, Lit.R, Lit.G, Lit.B);
  cairo_pattern_add_color_stop_rgb(Tiles, 1, Low.R, Low.G, Low.B);
  cairo_set_source(Cr, Tiles);
  cairo_pattern_destroy(Tiles);
  cairo_fill_preserve(Cr);
  SetColor(Cr, kOutline);
  cairo_stroke(Cr);
  // Courses of tiles.
  const int Courses = std::max(1, static_cast<int>((Top - CentreY) / 3.5));
  SetColor(Cr, Rgb(0x8A3A1E, 0.45));
  cairo_set_line_width(Cr, 0.6);
  for (int Course = 1; Course < Courses; ++Course) {
    const double T = Course / static_cast<double>(Courses);
    const double Y = Top + (CentreY - Top) * T;
    cairo_move_to(Cr, Fl + (CentreX - HalfRidge - Fl) * T, Y);
    cairo_line_to(Cr, Fr + (CentreX + HalfRidge - Fr) * T, Y);
  }
  cairo_stroke(Cr);
}

void DrawHouse(cairo_t* Cr, const THouse& House) {
  // A soft shadow on the ground to the lower right.
  cairo_move_to(Cr, House.X + House.Width, House.Base);
  cairo_line_to(Cr, House.X + House.Width + House.Depth * 1.6, House.Base + House.Depth * 0.2);
  cairo_line_to(Cr, House.X + House.Width * 0.3 + House.Depth * 1.6,
                House.Base + House.Depth * 0.2);
  cairo_line_to(Cr, House.X, House.Base);
  cairo_close_path(Cr);
  cairo_set_source_rgba(Cr, 0.1, 0.15, 0.05, 0.25);
  cairo_fill(Cr);
  DrawHouseWalls(Cr, House);
  DrawHouseOpenings(Cr, House);
  DrawHouseRoof(Cr, House);
}

// Houses in rows down the hill: smaller and hazier far up, bigger near the shore; none in the
// middle of the picture, which stays calm under the menu buttons.
std::vector<THouse> PlanTown(TRandom& Random) {
  std::vector<THouse> Houses;
  for (double Base = 318; Base < 640; Base += 17 + (Base - 318) * 0.05) {
    const double Scale = 0.55 + (Base - 318) / 320.0 * 0.75;
    double X = Random.Range(-20, 10) * Scale;
    while (true) {
      const double Width = Random.Range(26, 42) * Scale;
      const double Height = Random.Range(20, 30) * Scale;
      const double Depth = Random.Range(10, 16) * Scale;
      if (X + Width + Depth > 470 || TownHillTop(X + Width + Depth) > Base - Height * 0.6) break;
      if (TownHillTop(X) < Base - Height * 0.4 && Random.Uniform() < 0.82) {
        const TColor Wall = Random.Uniform() < 0.75 ? Palette::Whitewash
                                                    : Mix(Palette::Ochre, Palette::Whitewash, 0.4);
        const int Windows = Width > 30 * Scale ? 2 : 1;
        Houses.push_back({X, Base, Width, Height, Depth, Wall, Windows, Random.Uniform() < 0.3});
      }
      X += Width + Depth + Random.Range(-2, 10) * Scale;
    }
  }
  std::stable_sort(Houses.begin(), Houses.end(),
                   [](const THouse& A, const THouse& B) { return A.Base < B.Base; });
  return Houses;
}

void DrawBellTower(cairo_t* Cr, double X, double Base) {
  const THouse Tower{X, Base, 26, 78, 12, Palette::Whitewash, 0, false};
  DrawHouseWalls(Cr, Tower);
  cairo_new_path(Cr);
  cairo_arc(Cr, X + 13, Base - 60, 5.5, M_PI, 2 * M_PI);
  cairo_line_to(Cr, X + 18.5, Base - 50);
  cairo_line_to(Cr, X + 7.5, Base - 50);
  cairo_close_path(Cr);
  SetColor(Cr, Rgb(0x2E2620));
  cairo_fill(Cr);
  cairo_arc(Cr, X + 13, Base - 55, 2.6, 0, 2 * M_PI);
  SetColor(Cr, Palette::Gold);
  cairo_fill(Cr);
  DrawHouseRoof(Cr, Tower);
}

void DrawTown(cairo_t* Cr) {
  TRandom Random(0x70E7);
  const std::vector<THouse> Houses = PlanTown(Random);
  bool TowerDrawn = false;
  for (const THouse& House : Houses) {
    if (!TowerDrawn && House.Base > 420) {
      DrawBellTower(Cr, 196, 418);
      TowerDrawn = true;
    }
    DrawHouse(Cr, House);
  }
}

void DrawWatchtower(cairo_t* Cr) {
  const double X = 1168, Base = 470;
  cairo_rectangle(Cr, X, Base - 70, 32, 70);
  cairo_pattern_t* Round = cairo_pattern_create_linear(X, 0, X + 32, 0);
  const TColor Lit = Shade(Palette::Stone, 1.25), Dark = Shade(Palette::Stone, 0.7);
  cairo_pattern_add_color_stop_rgb(Round, 0, Lit.R, Lit.G, Lit.B);
  cairo_pattern_add_color_stop_rgb(Round, 1, Dark.R, Dark.G, Dark.B);
  cairo_set_source(Cr, Round);
  cairo_pattern_destroy(Round);
  cairo_fill_preserve(Cr);
  SetColor(Cr, kOutline);
  cairo_set_line_width(Cr, 1);
  cairo_stroke(Cr);
  for (int Merlon = 0; Merlon < 4; ++Merlon) {
    cairo_rectangle(Cr, X - 2 + Merlon * 9.5, Base - 78, 6, 9);
  }
  SetColor(Cr, Shade(Palette::Stone, 1.05));
  cairo_fill_preserve(Cr);
  SetColor(Cr, kOutline);
  cairo_stroke(Cr);
  cairo_rectangle(Cr, X + 12, Base - 50, 7, 12);
  SetColor(Cr, Rgb(0x2E2620));
  cairo_fill(Cr);
}

void DrawHeadlandHouses(cairo_t* Cr) {
  TRandom Random(0x4EAD);
  for (double Base = 500; Base < 640; Base += 30) {
    for (double X = 1290 - Random.Range(20, 60); X > 990; X -= Random.Range(70, 110)) {
      const double Scale = 0.8 + (Base - 500) / 200;
      const double Width = Random.Range(28, 38) * Scale;
      if (HeadlandTop(X) > Base - 30 * Scale) break;
      const THouse House{X,          Base,
                         Width,      Random.Range(20, 26) * Scale,
                         12 * Scale, Palette::Whitewash,
                         1,          Random.Uniform() < 0.4};
      DrawHouse(Cr, House);
    }
  }
}

// --- trees and the terrace -------------------------------------------------------------------

void DrawCypress(cairo_t* Cr, double X, double Base, double Height, double Width) {
  cairo_move_to(Cr, X, Base - Height);
  cairo_curve_to(Cr, X + Width * 0.5, Base - Height * 0.7, X + Width * 0.6, Base - Height * 0.3,
                 X + Width * 0.3, Base);
  cairo_line_to(Cr, X - Width * 0.3, Base);
  cairo_curve_to(Cr, X - Width * 0.6, Base - Height * 0.3, X - Width * 0.5, Base - Height * 0.7, X,
                 Base - Height);
  cairo_close_path(Cr);
  cairo_pattern_t* Foliage = cairo_pattern_create_linear(X - Width * 0.5, 0, X + Width * 0.5, 0);
  const TColor Lit = Shade(Palette::Cypress, 1.25), Dark = Shade(Palette::Cypress, 0.55);
  cairo_pattern_add_color_stop_rgb(Foliage, 0, Lit.R, Lit.G, Lit.B);
  cairo_pattern_add_color_stop_rgb(Foliage, 1, Dark.R, Dark.G, Dark.B);
  cairo_set_source(Cr, Foliage);
  cairo_pattern_destroy(Foliage);
  cairo_fill_preserve(Cr);
  SetColor(Cr, Rgb(0x1A2612, 0.7));
  cairo_set_line_width(Cr, 1.2);
  cairo_stroke(Cr);
  // A few strokes of foliage texture.
  SetColor(Cr, Rgb(0x1A2612, 0.35));
  for (double T = 0.12; T < 0.95; T += 0.09) {
    const double Y = Base - Height + Height * T;
    const double Half = Width * 0.45 * std::sin(M_PI * std::min(1.0, T * 1.2));
    cairo_move_to(Cr, X - Half * 0.2, Y);
    cairo_curve_to(Cr, X + Half * 0.2, Y + 4, X + Half * 0.6, Y + 2, X + Half * 0.8, Y + 7);
  }
  cairo_stroke(Cr);
}

// An olive tree: a forked, twisted trunk under a loose crown of silvery leaf clumps. Shadow
// darkens the trees of the terrace, which stand in the shade of the viewer's side.
void DrawOliveTrunk(cairo_t* Cr, double X, double Base, double Size, double Light) {
  const TColor Bark = Shade(Rgb(0x6A5238), Light);
  cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
  cairo_move_to(Cr, X - Size * 0.02, Base);
  cairo_curve_to(Cr, X + Size * 0.08, Base - Size * 0.25, X - Size * 0.1, Base - Size * 0.4, X,
                 Base - Size * 0.55);
  cairo_curve_to(Cr, X - Size * 0.1, Base - Size * 0.65, X - Size * 0.2, Base - Size * 0.75,
                 X - Size * 0.3, Base - Size * 0.88);
  SetColor(Cr, Bark);
  cairo_set_line_width(Cr, Size * 0.11);
  cairo_stroke(Cr);
  cairo_move_to(Cr, X, Base - Size * 0.55);
  cairo_curve_to(Cr, X + Size * 0.1, Base - Size * 0.65, X + Size * 0.15, Base - Size * 0.75,
                 X + Size * 0.3, Base - Size * 0.85);
  cairo_move_to(Cr, X - Size * 0.05, Base - Size * 0.7);
  cairo_line_to(Cr, X + Size * 0.02, Base - Size * 0.95);
  cairo_set_line_width(Cr, Size * 0.06);
  cairo_stroke(Cr);
  // Sunlight on the left of the trunk.
  cairo_move_to(Cr, X - Size * 0.05, Base);
  cairo_curve_to(Cr, X + Size * 0.05, Base - Size * 0.25, X - Size * 0.13, Base - Size * 0.4,
                 X - Size * 0.03, Base - Size * 0.55);
  SetColor(Cr, Shade(Rgb(0x9A8260), Light));
  cairo_set_line_width(Cr, Size * 0.025);
  cairo_stroke(Cr);
}

void DrawOlive(cairo_t* Cr, double X, double Base, double Size, std::uint64_t Seed,
               double Light = 1.0) {
  TRandom Random(Seed);
  DrawOliveTrunk(Cr, X, Base, Size, Light);
  const double CentreY = Base - Size * 0.92;
  const TColor Tones[] = {Shade(Palette::Cypress, 0.9 * Light), Shade(Palette::Olive, 0.8 * Light),
                          Shade(Mix(Palette::Olive, Rgb(0xC4CCAE), 0.45), Light)};
  for (int Layer = 0; Layer < 3; ++Layer) {
    for (int Clump = 0; Clump < 30; ++Clump) {
      const double Angle = Random.Range(0, 2 * M_PI);
      const double Reach = std::sqrt(Random.Uniform());
      const double Cx =
          X + std::cos(Angle) * Reach * Size * (0.62 - Layer * 0.08) - Layer * Size * 0.06;
      const double Cy =
          CentreY + std::sin(Angle) * Reach * Size * (0.3 - Layer * 0.04) - Layer * Size * 0.07;
      cairo_save(Cr);
      cairo_translate(Cr, Cx, Cy);
      cairo_rotate(Cr, Random.Range(-0.4, 0.4));
      cairo_scale(Cr, Size * Random.Range(0.1, 0.15), Size * Random.Range(0.06, 0.09));
      cairo_new_sub_path(Cr);
      cairo_arc(Cr, 0, 0, 1, 0, 2 * M_PI);
      cairo_restore(Cr);
    }
    SetColor(Cr, Tones[Layer]);
    cairo_fill(Cr);
  }
  // Silver undersides of leaves catching the light.
  for (int Speck = 0; Speck < 24; ++Speck) {
    const double Angle = Random.Range(0, 2 * M_PI), Reach = Random.Uniform();
    cairo_new_sub_path(Cr);
    cairo_arc(Cr, X + std::cos(Angle) * Reach * Size * 0.5 - Size * 0.08,
              CentreY + std::sin(Angle) * Reach * Size * 0.24 - Size * 0.08, Size * 0.018, 0,
              2 * M_PI);
  }
  SetColor(Cr, Shade(Rgb(0xDDE3CC, 0.8), Light));
  cairo_fill(Cr);
}

// Faint joints of the terrace's paving, running away from the viewer.
void DrawFlagstones(cairo_t* Cr) {
  cairo_save(Cr);
  cairo_rectangle(Cr, 0, kTerraceTop + 6, kWidth, kHeight);
  cairo_clip(Cr);
  for (int Joint = -14; Joint <= 14; ++Joint) {
    cairo_move_to(Cr, 640 + Joint * 30, kTerraceTop);
    cairo_line_to(Cr, 640 + Joint * 150, kHeight);
  }
  for (double Y = kTerraceTop + 14, Gap = 10; Y < kHeight; Y += Gap, Gap *= 1.35) {
    cairo_move_to(Cr, 0, Y);
    cairo_line_to(Cr, kWidth, Y);
  }
  cairo_set_source_rgba(Cr, 0.12, 0.08, 0.04, 0.22);
  cairo_set_line_width(Cr, 1.2);
  cairo_stroke(Cr);
  cairo_restore(Cr);
}

void DrawTerrace(cairo_t* Cr) {
  // The shaded terrace the view is seen from, with a low stone parapet.
  cairo_move_to(Cr, 0, kTerraceTop + 8);
  cairo_curve_to(Cr, 400, kTerraceTop - 6, 880, kTerraceTop - 6, kWidth, kTerraceTop + 4);
  cairo_line_to(Cr, kWidth, kHeight);
  cairo_line_to(Cr, 0, kHeight);
  cairo_close_path(Cr);
  SetVerticalGradient(Cr, kTerraceTop, Rgb(0x6E5A3E), kHeight, Rgb(0x2E2418));
  cairo_fill(Cr);
  DrawFlagstones(Cr);
  cairo_move_to(Cr, 0, kTerraceTop + 8);
  cairo_curve_to(Cr, 400, kTerraceTop - 6, 880, kTerraceTop - 6, kWidth, kTerraceTop + 4);
  cairo_set_line_width(Cr, 10);
  SetColor(Cr, Shade(Palette::Stone, 0.95));
  cairo_stroke_preserve(Cr);
  cairo_set_line_width(Cr, 3);
  SetColor(Cr, Shade(Palette::Stone, 1.25));
  cairo_stroke(Cr);
  // Shade from the trees darkens the corners, most of all under the links in the lower right.
  cairo_pattern_t* Shade = cairo_pattern_create_radial(640, 640, 200, 640, 720, 760);
  cairo_pattern_add_color_stop_rgba(Shade, 0, 0, 0, 0, 0);
  cairo_pattern_add_color_stop_rgba(Shade, 1, 0.05, 0.03, 0.0, 0.55);
  cairo_rectangle(Cr, 0, kTerraceTop - 10, kWidth, kHeight);
  cairo_set_source(Cr, Shade);
  cairo_fill(Cr);
  cairo_pattern_destroy(Shade);
}

void DrawTrees(cairo_t* Cr) {
  DrawOlive(Cr, 330, 640, 70, 1);
  DrawOlive(Cr, 1040, 640, 64, 2);
  DrawCypress(Cr, 432, 610, 120, 24);
  DrawCypress(Cr, 990, 600, 100, 20);
  DrawOlive(Cr, 150, 790, 190, 3, 0.72);
  DrawOlive(Cr, 1150, 800, 200, 4, 0.72);
  DrawCypress(Cr, 46, 800, 520, 78);
  DrawCypress(Cr, 1236, 800, 470, 70);
  DrawCypress(Cr, 1172, 800, 330, 52);
}

// Deepens the top of the sky under the welcome line and the edges of the whole view.
void DrawVignette(cairo_t* Cr) {
  cairo_pattern_t* Top = cairo_pattern_create_radial(640, -120, 80, 640, -120, 420);
  cairo_pattern_add_color_stop_rgba(Top, 0, 0.02, 0.08, 0.18, 0.45);
  cairo_pattern_add_color_stop_rgba(Top, 1, 0.02, 0.08, 0.18, 0.0);
  cairo_set_source(Cr, Top);
  cairo_paint(Cr);
  cairo_pattern_destroy(Top);
  cairo_pattern_t* Edges = cairo_pattern_create_radial(640, 400, 420, 640, 400, 860);
  cairo_pattern_add_color_stop_rgba(Edges, 0, 0, 0, 0, 0);
  cairo_pattern_add_color_stop_rgba(Edges, 1, 0.04, 0.02, 0.0, 0.4);
  cairo_set_source(Cr, Edges);
  cairo_paint(Cr);
  cairo_pattern_destroy(Edges);
}

void GenerateFormMenu(TOutput& Output) {
  TCanvas Canvas(kWidth, kHeight);
  cairo_t* Cr = Canvas.Cr();
  DrawSky(Cr);
  DrawClouds(Cr);
  DrawFarMountains(Cr);
  DrawSea(Cr);
  DrawSailboat(Cr, 760, 420, 9);
  DrawSailboat(Cr, 905, 470, 6);
  DrawHeadland(Cr);
  DrawWatchtower(Cr);
  DrawHeadlandHouses(Cr);
  DrawTownHill(Cr);
  DrawTown(Cr);
  DrawTerrace(Cr);
  DrawTrees(Cr);
  DrawVignette(Cr);
  TPicture Picture = Canvas.Picture();
  AddGrain(Picture, 0.025, 2.5, 0x3E7);
  Output.Texture("FormMenu", Picture, TDdsFormat::Dxt1);
}

const Assets::TGeneratorRegistration Registration("form-menu", &GenerateFormMenu);

}  // namespace

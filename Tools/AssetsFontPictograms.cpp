// AssetsFontPictograms.cpp -- the pictograms of the word font, codes 1..31: resources, happiness,
// services, goals and the overlay marks. Each is drawn with cairo into its own cell: 32 px wide
// (about 27 px of ink, centred on the capitals), the marks and the goal bullet 24 px wide.
#include <cmath>
#include <functional>
#include <map>

#include "AssetsFonts.h"

namespace Assets::Fonts {

namespace {

using namespace Draw;

constexpr int kPictogramWidth = 32;
constexpr int kMarkWidth = 24;
constexpr int kStarCode = 24;  // also shown alone as a 32 x 32 sprite: it fills its cell
// Where every mark and the goal bullet sit in their 24 px cell, so that one hides the other.
constexpr double kMarkX = 12, kMarkY = 21, kBadgeRadius = 8.5;

const TColor kSkin = Rgb(0xE8B48A);
const TColor kTunicBlue = Rgb(0x3F7CB8);
const TColor kAegean = Rgb(0x2F6FA8);
const TColor kGoldDark = Rgb(0x8A5A14);
const TColor kPaleStone = Rgb(0xE8DFCC);
const TColor kStraw = Rgb(0xD9A441);
const TColor kMetal = Rgb(0x9AA3AC);
const TColor kHollow = Rgb(0x2A1E16);

// A round-ended bar from (X1, Y1) to (X2, Y2), Width thick, with a dark outline.
void Bar(cairo_t* Cr, double X1, double Y1, double X2, double Y2, double Width,
         const TColor& Color) {
  cairo_move_to(Cr, X1, Y1);
  cairo_line_to(Cr, X2, Y2);
  OutlineIn(Cr, Palette::Ink, Width + 2.2);
  cairo_move_to(Cr, X1, Y1);
  cairo_line_to(Cr, X2, Y2);
  OutlineIn(Cr, Color, Width);
}

// An arched opening (door or window) from its bottom-left corner.
void ArchPath(cairo_t* Cr, double Left, double Bottom, double Width, double Height) {
  const double Radius = Width / 2;
  cairo_move_to(Cr, Left, Bottom);
  cairo_line_to(Cr, Left, Bottom - Height + Radius);
  cairo_arc(Cr, Left + Radius, Bottom - Height + Radius, Radius, M_PI, 2 * M_PI);
  cairo_line_to(Cr, Left + Width, Bottom);
  cairo_close_path(Cr);
}

// A block seen from the front and a little from above and the right.
void Block(cairo_t* Cr, double X, double Y, double Width, double Height, const TColor& Color) {
  constexpr double DepthX = 4, DepthY = 3;
  cairo_move_to(Cr, X, Y);
  cairo_line_to(Cr, X + DepthX, Y - DepthY);
  cairo_line_to(Cr, X + Width + DepthX, Y - DepthY);
  cairo_line_to(Cr, X + Width, Y);
  cairo_close_path(Cr);
  Solid(Cr, Shade(Color, 1.25), 1.1, 0.95);
  cairo_move_to(Cr, X + Width, Y);
  cairo_line_to(Cr, X + Width + DepthX, Y - DepthY);
  cairo_line_to(Cr, X + Width + DepthX, Y + Height - DepthY);
  cairo_line_to(Cr, X + Width, Y + Height);
  cairo_close_path(Cr);
  Solid(Cr, Shade(Color, 0.75), 1.05, 0.9);
  cairo_rectangle(Cr, X, Y, Width, Height);
  Solid(Cr, Color, 1.15, 0.85);
}

// ---- resources ----

void CoinEdge(cairo_t* Cr, double X, double Y) {
  Ellipse(Cr, X, Y + 1.6, 7.5, 2.9);
  FillLit(Cr, Shade(Palette::Gold, 0.8), 1.2, 0.7);
  OutlineIn(Cr, kGoldDark, 1.1);
  Ellipse(Cr, X, Y, 7.5, 2.9);
  FillLit(Cr, Palette::Gold, 1.35, 0.8);
  OutlineIn(Cr, kGoldDark, 1.1);
}

// A standing coin before a little stack of coins.
void Coins(cairo_t* Cr) {
  const TColor Gold = Palette::Gold;
  for (int Index = 0; Index < 4; ++Index)
    CoinEdge(Cr, 21.5, 25.5 - Index * 3.4);
  Circle(Cr, 12.5, 16, 10.3);
  FillLit(Cr, Gold, 1.4, 0.7);
  OutlineIn(Cr, kGoldDark, 1.3);
  Circle(Cr, 12.5, 16, 7.2);
  OutlineIn(Cr, Shade(Gold, 0.66), 1.1);
  cairo_arc(Cr, 12.5, 16, 8.8, M_PI * 1.05, M_PI * 1.55);
  OutlineIn(Cr, Rgb(0xFFF6D8, 0.9), 1.2);
  // A struck four-pointed sparkle in the middle.
  cairo_move_to(Cr, 12.5, 11);
  cairo_curve_to(Cr, 13.2, 15.3, 13.2, 15.3, 17.5, 16);
  cairo_curve_to(Cr, 13.2, 16.7, 13.2, 16.7, 12.5, 21);
  cairo_curve_to(Cr, 11.8, 16.7, 11.8, 16.7, 7.5, 16);
  cairo_curve_to(Cr, 11.8, 15.3, 11.8, 15.3, 12.5, 11);
  cairo_close_path(Cr);
  SetColor(Cr, Shade(Gold, 0.62));
  cairo_fill(Cr);
}

void Log(cairo_t* Cr, double X, double Y) {
  constexpr double Radius = 5.4, BackX = 5, BackY = -4;
  cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
  cairo_move_to(Cr, X, Y);
  cairo_line_to(Cr, X + BackX, Y + BackY);
  OutlineIn(Cr, Palette::Ink, 2 * Radius + 2.2);
  cairo_move_to(Cr, X, Y);
  cairo_line_to(Cr, X + BackX, Y + BackY);
  OutlineIn(Cr, Palette::Wood, 2 * Radius);
  // Bark furrows along the log.
  cairo_move_to(Cr, X + 2.5, Y - 4.2);
  cairo_line_to(Cr, X + BackX + 2.5, Y + BackY - 4.2);
  OutlineIn(Cr, Shade(Palette::Wood, 1.35), 1.0);
}

void LogEnd(cairo_t* Cr, double X, double Y) {
  Circle(Cr, X, Y, 5.4);
  Solid(Cr, Rgb(0xE8C088), 1.2, 0.85);
  Circle(Cr, X, Y, 3.2);
  OutlineIn(Cr, Rgb(0xB98A50), 0.9);
  Circle(Cr, X, Y, 1.2);
  OutlineIn(Cr, Rgb(0xB98A50), 0.9);
}

void Logs(cairo_t* Cr) {
  Log(Cr, 8.6, 24.2);
  Log(Cr, 19.6, 24.2);
  Log(Cr, 14.1, 14.8);
  LogEnd(Cr, 8.6, 24.2);
  LogEnd(Cr, 19.6, 24.2);
  LogEnd(Cr, 14.1, 14.8);
}

void StoneBlocks(cairo_t* Cr) {
  Block(Cr, 3, 20.5, 11.5, 9, Palette::Stone);
  Block(Cr, 14.5, 20.5, 11.5, 9, Shade(Palette::Stone, 0.95));
  Block(Cr, 8.8, 11.5, 11.5, 9, Shade(Palette::Stone, 1.05));
  // Chisel marks on the top block.
  cairo_move_to(Cr, 11.5, 15);
  cairo_line_to(Cr, 14, 15);
  cairo_move_to(Cr, 15.5, 17.5);
  cairo_line_to(Cr, 18, 17.5);
  OutlineIn(Cr, Palette::StoneDark, 0.9);
}

void Worker(cairo_t* Cr) {
  cairo_move_to(Cr, 4.5, 30);
  cairo_curve_to(Cr, 4.5, 22, 8, 20.5, 15, 20.5);
  cairo_curve_to(Cr, 22, 20.5, 25.5, 22, 25.5, 30);
  cairo_close_path(Cr);
  Solid(Cr, kTunicBlue);
  Circle(Cr, 15, 15.5, 5.6);
  Solid(Cr, kSkin);
  // A straw hat with a wide brim.
  cairo_move_to(Cr, 10, 11.5);
  cairo_curve_to(Cr, 10, 5, 20, 5, 20, 11.5);
  cairo_close_path(Cr);
  Solid(Cr, kStraw);
  Ellipse(Cr, 15, 11.6, 9, 2.2);
  Solid(Cr, Shade(kStraw, 1.05));
  // The hammer over the shoulder.
  Bar(Cr, 19.5, 29, 24.5, 15.5, 2.2, Palette::Wood);
  cairo_save(Cr);
  cairo_translate(Cr, 25, 14);
  cairo_rotate(Cr, 0.36);
  RoundedRectangle(Cr, -5, -2.3, 10, 4.6, 1);
  cairo_restore(Cr);
  Solid(Cr, kMetal);
}

// ---- happiness, licence, buildings ----

void Face(cairo_t* Cr, const TColor& Color, bool Smiling) {
  Circle(Cr, 16, 16.5, 12.6);
  FillLit(Cr, Color, 1.4, 0.72);
  OutlineIn(Cr, Shade(Color, 0.4), 1.3);
  SetColor(Cr, kHollow);
  Ellipse(Cr, 12, 13.5, 1.7, 2.4);
  Ellipse(Cr, 20, 13.5, 1.7, 2.4);
  cairo_fill(Cr);
  if (Smiling)
    cairo_arc(Cr, 16, 16.5, 7, M_PI * 0.18, M_PI * 0.82);
  else
    cairo_arc(Cr, 16, 27.5, 7, M_PI * 1.22, M_PI * 1.78);
  OutlineIn(Cr, kHollow, 2.0);
}

void Scroll(cairo_t* Cr) {
  cairo_rectangle(Cr, 8, 7, 16, 19);
  Solid(Cr, Palette::Parchment, 1.1, 0.85);
  for (int Line = 0; Line < 4; ++Line) {
    cairo_move_to(Cr, 11, 11.5 + Line * 3.3);
    cairo_line_to(Cr, Line == 3 ? 16 : 21, 11.5 + Line * 3.3);
  }
  OutlineIn(Cr, Rgb(0x6A5440), 1.0);
  cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
  Bar(Cr, 6.5, 6.5, 25.5, 6.5, 4.2, Shade(Palette::Parchment, 0.88));
  Bar(Cr, 6.5, 26.5, 25.5, 26.5, 4.2, Shade(Palette::Parchment, 0.88));
  // The seal with its ribbon.
  cairo_move_to(Cr, 21, 26);
  cairo_line_to(Cr, 19.5, 30.5);
  cairo_line_to(Cr, 21.5, 29.5);
  cairo_line_to(Cr, 23, 30.5);
  cairo_close_path(Cr);
  Solid(Cr, Rgb(0xC0392B));
  Circle(Cr, 22.5, 24, 3.6);
  Solid(Cr, Rgb(0xC0392B), 1.4, 0.7);
}

void House(cairo_t* Cr) {
  cairo_rectangle(Cr, 7, 16, 18, 13.5);
  Solid(Cr, Palette::Whitewash, 1.05, 0.85);
  cairo_move_to(Cr, 3.5, 17.5);
  cairo_line_to(Cr, 16, 5);
  cairo_line_to(Cr, 28.5, 17.5);
  cairo_close_path(Cr);
  Solid(Cr, Palette::Terracotta, 1.3, 0.75);
  cairo_move_to(Cr, 10, 14);
  cairo_line_to(Cr, 16, 8);
  cairo_line_to(Cr, 22, 14);
  OutlineIn(Cr, Palette::RoofShadow, 0.9);
  ArchPath(Cr, 13.5, 29.5, 5, 8.5);
  Solid(Cr, kAegean);
  cairo_rectangle(Cr, 8.8, 19.5, 3, 3);
  cairo_rectangle(Cr, 20.2, 19.5, 3, 3);
  Solid(Cr, kAegean);
}

// ---- services ----

void Chapel(cairo_t* Cr) {
  // The bell gable rises over the front.
  cairo_move_to(Cr, 10.5, 17);
  cairo_line_to(Cr, 10.5, 9.5);
  cairo_arc(Cr, 16, 9.5, 5.5, M_PI, 2 * M_PI);
  cairo_line_to(Cr, 21.5, 17);
  cairo_close_path(Cr);
  Solid(Cr, Palette::Whitewash, 1.05, 0.85);
  ArchPath(Cr, 13.2, 15, 5.6, 8);
  SetColor(Cr, Rgb(0x4A3A30));
  cairo_fill(Cr);
  Bell(Cr, 16, 11.3, 0.22);
  cairo_rectangle(Cr, 6.5, 16.5, 19, 13);
  Solid(Cr, Palette::Whitewash, 1.05, 0.85);
  cairo_rectangle(Cr, 5.5, 15.5, 21, 2.2);
  Solid(Cr, kPaleStone);
  ArchPath(Cr, 13.5, 29.5, 5, 8.5);
  Solid(Cr, FamilyColor(0));
}

void Temple(cairo_t* Cr) {
  cairo_rectangle(Cr, 3, 26.5, 26, 3);
  Solid(Cr, kPaleStone, 1.1, 0.8);
  cairo_rectangle(Cr, 5, 24, 22, 2.5);
  Solid(Cr, kPaleStone, 1.1, 0.8);
  for (int Column = 0; Column < 4; ++Column) {
    cairo_rectangle(Cr, 6.6 + Column * 5.6, 14, 3.2, 10);
    Solid(Cr, Palette::Whitewash, 1.1, 0.75);
  }
  cairo_rectangle(Cr, 4, 11, 24, 3.2);
  Solid(Cr, kPaleStone, 1.1, 0.8);
  cairo_move_to(Cr, 3, 11.2);
  cairo_line_to(Cr, 16, 3.5);
  cairo_line_to(Cr, 29, 11.2);
  cairo_close_path(Cr);
  Solid(Cr, kPaleStone, 1.2, 0.8);
  cairo_move_to(Cr, 8.5, 9.8);
  cairo_line_to(Cr, 16, 5.6);
  cairo_line_to(Cr, 23.5, 9.8);
  cairo_close_path(Cr);
  SetColor(Cr, FamilyColor(0));
  cairo_fill(Cr);
}

void MarketStall(cairo_t* Cr) {
  Bar(Cr, 7, 12, 7, 28, 1.8, Palette::Wood);
  Bar(Cr, 25, 12, 25, 28, 1.8, Palette::Wood);
  // Fruit on the counter.
  const TColor Fruit[] = {Rgb(0xF08A24), Rgb(0x8DBA3A), Rgb(0xF08A24), Rgb(0xC8402E)};
  for (int Index = 0; Index < 4; ++Index) {
    Circle(Cr, 10 + Index * 4, 19.8, 2.3);
    Solid(Cr, Fruit[Index]);
  }
  cairo_rectangle(Cr, 5, 21.5, 22, 8);
  Solid(Cr, Rgb(0xA8703A), 1.25, 0.8);
  cairo_move_to(Cr, 5, 25.5);
  cairo_line_to(Cr, 27, 25.5);
  OutlineIn(Cr, Shade(Palette::Wood, 0.8), 0.9);
  // The striped awning with a scalloped edge.
  cairo_move_to(Cr, 7, 4.5);
  cairo_line_to(Cr, 25, 4.5);
  cairo_line_to(Cr, 28.5, 11);
  for (int Scallop = 5; Scallop >= 0; --Scallop)
    cairo_arc(Cr, 5.6 + Scallop * 4.15 + 2.075, 11, 2.075, 0, M_PI);
  cairo_close_path(Cr);
  PaintInside(Cr, [Cr] {
    for (int Stripe = 0; Stripe < 6; ++Stripe) {
      const double Left = 3 + Stripe * 4.5;
      cairo_move_to(Cr, Left + 1.4, 3);
      cairo_line_to(Cr, Left + 4.5 + 0.9, 3);
      cairo_line_to(Cr, Left + 4.5 - 0.5, 14);
      cairo_line_to(Cr, Left - 1, 14);
      cairo_close_path(Cr);
      SetColor(Cr, Stripe % 2 ? Palette::Whitewash : Palette::Terracotta);
      cairo_fill(Cr);
    }
  });
  Outline(Cr);
}

void MarketHall(cairo_t* Cr) {
  cairo_rectangle(Cr, 4, 13.5, 24, 16);
  Solid(Cr, Palette::Ochre, 1.15, 0.8);
  for (int Arch = 0; Arch < 3; ++Arch) {
    ArchPath(Cr, 7 + Arch * 7, 29.5, 4.6, 10.5);
    SetColor(Cr, Rgb(0x5A3A24));
    cairo_fill_preserve(Cr);
    Outline(Cr, 0.8);
  }
  cairo_rectangle(Cr, 3, 12.5, 26, 2.5);
  Solid(Cr, kPaleStone);
  cairo_move_to(Cr, 2, 13);
  cairo_line_to(Cr, 7, 6);
  cairo_line_to(Cr, 25, 6);
  cairo_line_to(Cr, 30, 13);
  cairo_close_path(Cr);
  Solid(Cr, Palette::Terracotta, 1.3, 0.75);
  for (int Tile = 0; Tile < 5; ++Tile) {
    cairo_move_to(Cr, 8 + Tile * 4, 7);
    cairo_line_to(Cr, 6.5 + Tile * 4.75, 12.2);
  }
  OutlineIn(Cr, Palette::RoofShadow, 0.8);
  // A gold coin sign over the middle arch.
  Circle(Cr, 16, 4.5, 3.2);
  Solid(Cr, Palette::Gold, 1.4, 0.7);
}

void Mortar(cairo_t* Cr) {
  LeafPath(Cr, 11, 17, 11, 3.6, -2.1);
  Solid(Cr, Rgb(0x5E9F3A), 1.4, 0.7);
  LeafPath(Cr, 13, 17, 10, 3.4, -1.35);
  Solid(Cr, Rgb(0x6FB048), 1.4, 0.7);
  Bar(Cr, 18, 18, 24.5, 5.5, 2.6, Rgb(0xC9B79A));
  cairo_move_to(Cr, 5, 17.5);
  cairo_line_to(Cr, 27, 17.5);
  cairo_curve_to(Cr, 27, 25, 22, 28, 19, 28);
  cairo_line_to(Cr, 20, 30);
  cairo_line_to(Cr, 12, 30);
  cairo_line_to(Cr, 13, 28);
  cairo_curve_to(Cr, 10, 28, 5, 25, 5, 17.5);
  cairo_close_path(Cr);
  Solid(Cr, Palette::Stone, 1.3, 0.7);
  Ellipse(Cr, 16, 17.5, 11, 2.2);
  Solid(Cr, Shade(Palette::Stone, 0.7), 0.9, 1.1);
}

void Baths(cairo_t* Cr) {
  cairo_arc(Cr, 16, 17.5, 8, M_PI, 2 * M_PI);
  cairo_close_path(Cr);
  Solid(Cr, Palette::WaterLight, 1.35, 0.75);
  Circle(Cr, 16, 8.6, 1.4);
  Solid(Cr, Palette::Gold);
  cairo_rectangle(Cr, 5.5, 17, 21, 9);
  Solid(Cr, Palette::Whitewash, 1.05, 0.85);
  for (int Arch = 0; Arch < 3; ++Arch) {
    ArchPath(Cr, 9 + Arch * 5.5, 25, 3, 5.5);
    SetColor(Cr, Rgb(0x4A3A30));
    cairo_fill(Cr);
  }
  Ellipse(Cr, 16, 27.5, 13.5, 2.6);
  Solid(Cr, Palette::Water, 1.4, 0.8);
  cairo_move_to(Cr, 9, 27.3);
  cairo_line_to(Cr, 13, 27.3);
  cairo_move_to(Cr, 18, 28.2);
  cairo_line_to(Cr, 23, 28.2);
  OutlineIn(Cr, Palette::WaterLight, 0.9);
}

void Lyre(cairo_t* Cr) {
  cairo_rectangle(Cr, 9, 23, 14, 6.5);
  for (int String = 0; String < 4; ++String) {
    cairo_move_to(Cr, 12.5 + String * 2.3, 9.5);
    cairo_line_to(Cr, 12.5 + String * 2.3, 24);
  }
  OutlineIn(Cr, Rgb(0xF4EBDD), 0.8);
  for (const double Side : {-1.0, 1.0}) {
    cairo_move_to(Cr, 16 + Side * 4.5, 25);
    cairo_curve_to(Cr, 16 + Side * 11.5, 21, 16 + Side * 4, 12, 16 + Side * 10, 4);
    OutlineIn(Cr, Palette::Ink, 5.4);
    cairo_move_to(Cr, 16 + Side * 4.5, 25);
    cairo_curve_to(Cr, 16 + Side * 11.5, 21, 16 + Side * 4, 12, 16 + Side * 10, 4);
    OutlineIn(Cr, Palette::Gold, 3.2);
  }
  Bar(Cr, 9.2, 9.2, 22.8, 9.2, 2.4, Palette::Wood);
  RoundedRectangle(Cr, 8, 23, 16, 6.8, 2.5);
  Solid(Cr, Rgb(0xA8703A), 1.3, 0.75);
  Circle(Cr, 16, 26.4, 1.6);
  SetColor(Cr, kHollow);
  cairo_fill(Cr);
}

void Amphitheatre(cairo_t* Cr) {
  constexpr double CentreX = 16, Top = 13.5, Depth = 9, RadiusX = 13.5, RadiusY = 7;
  // The outer wall: the ring's lower half carried down by Depth.
  cairo_move_to(Cr, CentreX - RadiusX, Top);
  cairo_line_to(Cr, CentreX - RadiusX, Top + Depth);
  cairo_save(Cr);
  cairo_translate(Cr, CentreX, Top + Depth);
  cairo_scale(Cr, RadiusX, RadiusY);
  cairo_arc_negative(Cr, 0, 0, 1, M_PI, 0);
  cairo_restore(Cr);
  cairo_line_to(Cr, CentreX + RadiusX, Top);
  cairo_close_path(Cr);
  Solid(Cr, Palette::Ochre, 1.2, 0.75);
  for (int Row = 0; Row < 2; ++Row)
    for (int Arch = -3; Arch <= 3; ++Arch) {
      const double X = CentreX + Arch * 3.7;
      const double Curve = RadiusY * std::sqrt(1 - std::pow((X - CentreX) / RadiusX, 2));
      ArchPath(Cr, X - 1.1, Top + Curve + 3.6 + Row * 4.5, 2.2, 3.2);
      SetColor(Cr, Rgb(0x5A3A24));
      cairo_fill(Cr);
    }
  Ellipse(Cr, CentreX, Top, RadiusX, RadiusY);
  Solid(Cr, Palette::Stone, 1.3, 0.9);
  Ellipse(Cr, CentreX, Top + 0.4, RadiusX - 3, RadiusY - 1.6);
  OutlineIn(Cr, Palette::StoneDark, 0.8);
  Ellipse(Cr, CentreX, Top + 0.8, 6.8, 3.1);
  Solid(Cr, Palette::Sand, 0.95, 1.1);
}

// ---- time, goals, people ----

void Hourglass(cairo_t* Cr) {
  Bar(Cr, 9, 6.5, 9, 26.5, 1.8, Palette::Wood);
  Bar(Cr, 23, 6.5, 23, 26.5, 1.8, Palette::Wood);
  cairo_move_to(Cr, 10.8, 6.5);
  cairo_curve_to(Cr, 10.8, 12.5, 15, 14, 15, 16.5);
  cairo_curve_to(Cr, 15, 19, 10.8, 20.5, 10.8, 26.5);
  cairo_line_to(Cr, 21.2, 26.5);
  cairo_curve_to(Cr, 21.2, 20.5, 17, 19, 17, 16.5);
  cairo_curve_to(Cr, 17, 14, 21.2, 12.5, 21.2, 6.5);
  cairo_close_path(Cr);
  Solid(Cr, Rgb(0xD6EEF6), 1.1, 0.9);
  const TColor SandColor = Rgb(0xE8B458);
  cairo_move_to(Cr, 12.6, 11.5);
  cairo_line_to(Cr, 19.4, 11.5);
  cairo_curve_to(Cr, 18.5, 13.5, 16.5, 14, 16, 15.5);
  cairo_curve_to(Cr, 15.5, 14, 13.5, 13.5, 12.6, 11.5);
  cairo_close_path(Cr);
  cairo_move_to(Cr, 11.5, 26);
  cairo_curve_to(Cr, 12.5, 22, 15, 21, 16, 20.5);
  cairo_curve_to(Cr, 17, 21, 19.5, 22, 20.5, 26);
  cairo_close_path(Cr);
  FillLit(Cr, SandColor, 1.2, 0.8);
  cairo_new_path(Cr);
  cairo_move_to(Cr, 16, 15.5);
  cairo_line_to(Cr, 16, 21);
  OutlineIn(Cr, SandColor, 0.9);
  RoundedRectangle(Cr, 6, 3.5, 20, 3.5, 1.2);
  Solid(Cr, Rgb(0xA8703A), 1.3, 0.75);
  RoundedRectangle(Cr, 6, 26, 20, 3.5, 1.2);
  Solid(Cr, Rgb(0xA8703A), 1.3, 0.75);
}

void Flag(cairo_t* Cr) {
  Ellipse(Cr, 9, 29, 5, 1.6);
  Solid(Cr, Palette::Stone);
  Bar(Cr, 9, 5, 9, 29, 2, Palette::Wood);
  cairo_move_to(Cr, 10, 5);
  cairo_curve_to(Cr, 15, 2.5, 21, 8, 28, 5.5);
  cairo_line_to(Cr, 28, 17.5);
  cairo_curve_to(Cr, 21, 20, 15, 14.5, 10, 17);
  cairo_close_path(Cr);
  Solid(Cr, Rgb(0xD0483A), 1.35, 0.75);
  Circle(Cr, 18.5, 11.4, 3);
  Solid(Cr, Palette::Gold, 1.3, 0.8);
  Circle(Cr, 9, 4, 1.9);
  Solid(Cr, Palette::Gold);
}

void Star(cairo_t* Cr) {
  constexpr double CentreX = 16, CentreY = 16.9, Outer = 14.5, Inner = 6.6;
  auto Point = [&](int Index, double Radius) {
    const double Angle = -M_PI / 2 + Index * M_PI / 5;
    return std::pair{CentreX + Radius * std::cos(Angle), CentreY + Radius * std::sin(Angle)};
  };
  for (int Index = 0; Index < 10; ++Index) {
    cairo_line_to(Cr, Point(Index, Index % 2 ? Inner : Outer).first,
                  Point(Index, Index % 2 ? Inner : Outer).second);
  }
  cairo_close_path(Cr);
  OutlineIn(Cr, kGoldDark, 2.2);
  // Bevelled facets: each half-arm is lit by how much it faces the upper left.
  for (int Index = 0; Index < 10; ++Index) {
    const auto Tip = Point(Index % 2 ? Index + 1 : Index, Outer);
    const auto Notch = Point(Index % 2 ? Index : Index + 1, Inner);
    const double MidX = (Tip.first + Notch.first) / 2 - CentreX;
    const double MidY = (Tip.second + Notch.second) / 2 - CentreY;
    const double Facing = (-MidX * 0.6 - MidY * 0.8) / std::hypot(MidX, MidY);
    cairo_move_to(Cr, CentreX, CentreY);
    cairo_line_to(Cr, Tip.first, Tip.second);
    cairo_line_to(Cr, Notch.first, Notch.second);
    cairo_close_path(Cr);
    SetColor(Cr, Shade(Palette::Gold, Facing > 0 ? 1 + 0.45 * Facing : 1 + 0.3 * Facing));
    cairo_fill_preserve(Cr);
    cairo_set_line_width(Cr, 0.5);
    cairo_stroke(Cr);
  }
  for (int Index = 0; Index < 10; ++Index)
    cairo_line_to(Cr, Point(Index, Index % 2 ? Inner : Outer).first,
                  Point(Index, Index % 2 ? Inner : Outer).second);
  cairo_close_path(Cr);
  OutlineIn(Cr, kGoldDark, 1.1);
}

void Trophy(cairo_t* Cr) {
  const TColor Gold = Palette::Gold;
  for (const double Side : {-1.0, 1.0}) {
    cairo_move_to(Cr, 16 + Side * 8.5, 6.5);
    cairo_curve_to(Cr, 16 + Side * 15, 5.5, 16 + Side * 15, 15, 16 + Side * 6.5, 15.5);
    OutlineIn(Cr, kGoldDark, 4.4);
    cairo_move_to(Cr, 16 + Side * 8.5, 6.5);
    cairo_curve_to(Cr, 16 + Side * 15, 5.5, 16 + Side * 15, 15, 16 + Side * 6.5, 15.5);
    OutlineIn(Cr, Gold, 2.2);
  }
  cairo_move_to(Cr, 14.3, 18);
  cairo_line_to(Cr, 17.7, 18);
  cairo_line_to(Cr, 18.2, 23);
  cairo_line_to(Cr, 21.5, 25);
  cairo_line_to(Cr, 10.5, 25);
  cairo_line_to(Cr, 13.8, 23);
  cairo_close_path(Cr);
  FillLit(Cr, Gold, 1.3, 0.7);
  OutlineIn(Cr, kGoldDark, 1.1);
  cairo_move_to(Cr, 6.5, 3.5);
  cairo_line_to(Cr, 25.5, 3.5);
  cairo_curve_to(Cr, 25.5, 13, 21.5, 19, 16, 19);
  cairo_curve_to(Cr, 10.5, 19, 6.5, 13, 6.5, 3.5);
  cairo_close_path(Cr);
  FillLit(Cr, Gold, 1.45, 0.68);
  OutlineIn(Cr, kGoldDark, 1.2);
  Ellipse(Cr, 16, 3.9, 9.2, 1.5);
  SetColor(Cr, Shade(Gold, 0.72));
  cairo_fill(Cr);
  cairo_move_to(Cr, 10, 6.5);
  cairo_curve_to(Cr, 10.2, 11, 11.5, 14, 13.5, 15.5);
  OutlineIn(Cr, Rgb(0xFFF6D8, 0.85), 1.4);
  RoundedRectangle(Cr, 8.5, 25, 15, 4.8, 1);
  Solid(Cr, Rgb(0x6B4226), 1.4, 0.8);
  cairo_rectangle(Cr, 13, 26.4, 6, 2);
  SetColor(Cr, Gold);
  cairo_fill(Cr);
}

void Person(cairo_t* Cr, double X, double HeadY, double Radius, const TColor& Tunic,
            const TColor& Hair) {
  cairo_move_to(Cr, X - Radius * 1.65, 29.5);
  cairo_curve_to(Cr, X - Radius * 1.65, HeadY + Radius * 1.5, X - Radius * 0.9,
                 HeadY + Radius * 1.25, X, HeadY + Radius * 1.25);
  cairo_curve_to(Cr, X + Radius * 0.9, HeadY + Radius * 1.25, X + Radius * 1.65,
                 HeadY + Radius * 1.5, X + Radius * 1.65, 29.5);
  cairo_close_path(Cr);
  Solid(Cr, Tunic);
  Circle(Cr, X, HeadY, Radius);
  Solid(Cr, kSkin);
  cairo_arc(Cr, X, HeadY, Radius, M_PI * 0.95, M_PI * 2.05);
  cairo_curve_to(Cr, X + Radius * 0.5, HeadY - Radius * 0.35, X - Radius * 0.5,
                 HeadY - Radius * 0.35, X - Radius, HeadY + Radius * 0.1);
  cairo_close_path(Cr);
  Solid(Cr, Hair, 1.3, 0.8);
}

void Residents(cairo_t* Cr) {
  Person(Cr, 20.5, 10, 4.6, Palette::Terracotta, Rgb(0x4A3020));
  Person(Cr, 11.5, 14, 5, kTunicBlue, Rgb(0x2E2018));
}

// ---- the overlay marks ----

void Badge(cairo_t* Cr, const TColor& Color) {
  Circle(Cr, kMarkX, kMarkY, kBadgeRadius - 0.5);
  FillLit(Cr, Color, 1.35, 0.75);
  OutlineIn(Cr, Shade(Color, 0.4), 1.2);
}

void WhiteStroke(cairo_t* Cr) {
  cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
  SetColor(Cr, Rgb(0xFFFFFF));
  cairo_set_line_width(Cr, 2.6);
  cairo_stroke(Cr);
}

void EnoughMark(cairo_t* Cr) {
  Badge(Cr, Rgb(0x3FA34D));
  cairo_move_to(Cr, kMarkX - 4.2, kMarkY + 0.2);
  cairo_line_to(Cr, kMarkX - 1.2, kMarkY + 3.3);
  cairo_line_to(Cr, kMarkX + 4.3, kMarkY - 3.3);
  WhiteStroke(Cr);
}

void NotEnoughMark(cairo_t* Cr) {
  Badge(Cr, Rgb(0xD2402E));
  cairo_move_to(Cr, kMarkX - 3.3, kMarkY - 3.3);
  cairo_line_to(Cr, kMarkX + 3.3, kMarkY + 3.3);
  cairo_move_to(Cr, kMarkX + 3.3, kMarkY - 3.3);
  cairo_line_to(Cr, kMarkX - 3.3, kMarkY + 3.3);
  WhiteStroke(Cr);
}

void MissingMark(cairo_t* Cr) {
  Badge(Cr, Rgb(0xE8A317));
  cairo_move_to(Cr, kMarkX, kMarkY - 4.6);
  cairo_line_to(Cr, kMarkX, kMarkY + 0.8);
  WhiteStroke(Cr);
  Circle(Cr, kMarkX, kMarkY + 4.3, 1.5);
  SetColor(Cr, Rgb(0xFFFFFF));
  cairo_fill(Cr);
}

void GoalBullet(cairo_t* Cr) {
  Circle(Cr, kMarkX, kMarkY, 4.6);
  OutlineIn(Cr, Palette::Ink, 3.8);
  Circle(Cr, kMarkX, kMarkY, 4.6);
  OutlineIn(Cr, Rgb(0xF6E7B8), 1.8);
}

struct TPictogramArt {
  int Width;
  std::function<void(cairo_t*)> Draw;
};

const std::map<int, TPictogramArt>& PictogramArt() {
  static const std::map<int, TPictogramArt> Art = {
      {1, {kPictogramWidth, Coins}},
      {2, {kPictogramWidth, Logs}},
      {3, {kPictogramWidth, StoneBlocks}},
      {4, {kPictogramWidth, Worker}},
      {5, {kMarkWidth, EnoughMark}},
      {6, {kMarkWidth, NotEnoughMark}},
      {7, {kMarkWidth, MissingMark}},
      {9, {kPictogramWidth, [](cairo_t* Cr) { Face(Cr, Rgb(0xB5D43E), true); }}},
      {10, {kPictogramWidth, [](cairo_t* Cr) { Face(Cr, Rgb(0xE0623F), false); }}},
      {11, {kPictogramWidth, Scroll}},
      {12, {kPictogramWidth, House}},
      {14, {kPictogramWidth, Chapel}},
      {15, {kPictogramWidth, MarketStall}},
      {16, {kPictogramWidth, Mortar}},
      {17, {kPictogramWidth, Lyre}},
      {18, {kPictogramWidth, Temple}},
      {19, {kPictogramWidth, MarketHall}},
      {20, {kPictogramWidth, Baths}},
      {21, {kPictogramWidth, Amphitheatre}},
      {22, {kPictogramWidth, Hourglass}},
      {23, {kPictogramWidth, Flag}},
      {24, {kPictogramWidth, Star}},
      {25, {kPictogramWidth, Trophy}},
      {26, {kPictogramWidth, Residents}},
      {27, {kPictogramWidth, [](cairo_t* Cr) { Bell(Cr, 16, 17, 1.0); }}},
      {28, {kPictogramWidth, [](cairo_t* Cr) { Amphora(Cr, 16, 16.5, 1.05); }}},
      {29, {kPictogramWidth, [](cairo_t* Cr) { HerbSprig(Cr, 16, 16.5, 1.0); }}},
      {30, {kPictogramWidth, [](cairo_t* Cr) { TheatreMasks(Cr, 16, 16.5, 1.05); }}},
      {31, {kMarkWidth, GoalBullet}},
  };
  return Art;
}

}  // namespace

bool HasPictogram(int Code) {
  return PictogramArt().count(Code) != 0;
}

TPicture Pictogram(int Code) {
  const auto Found = PictogramArt().find(Code);
  if (Found == PictogramArt().end()) return EmptyCell(kEmptyWidth);
  TCanvas Canvas(Found->second.Width, kCellHeight);
  // The big pictograms are drawn a touch smaller than their design grid so that the rim
  // under them stays inside the cell; the marks keep their exact spot.
  if (Found->second.Width == kPictogramWidth && Code != kStarCode) {
    cairo_translate(Canvas.Cr(), 16, 16);
    cairo_scale(Canvas.Cr(), 0.96, 0.96);
    cairo_translate(Canvas.Cr(), -16, -16.5);
  }
  Found->second.Draw(Canvas.Cr());
  TPicture Picture = Canvas.Picture();
  AddHalo(Picture, 0.45);
  return Picture;
}

}  // namespace Assets::Fonts

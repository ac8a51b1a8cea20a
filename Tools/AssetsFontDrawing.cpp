// AssetsFontDrawing.cpp -- cairo helpers shared by the font pictograms: lit fills, outlines and
// the four service family symbols (bell, amphora, herb sprig, theatre masks).
#include <cmath>

#include "AssetsFonts.h"

namespace Assets::Fonts {

namespace {

const TColor kBronze = Rgb(0xD9A03A);
const TColor kHerb = Rgb(0x5E9F3A);
const TColor kComedy = Rgb(0xF2D58A);
const TColor kTragedy = Rgb(0xA98BC9);

// A line width given in device pixels, whatever the current scale.
double DeviceWidth(cairo_t* Cr, double Pixels) {
  double X = Pixels, Y = 0;
  cairo_device_to_user_distance(Cr, &X, &Y);
  return std::hypot(X, Y);
}

void Mask(cairo_t* Cr, const TColor& Color, bool Smiling) {
  cairo_move_to(Cr, -7, -6);
  cairo_curve_to(Cr, -7, -10.5, 7, -10.5, 7, -6);
  cairo_curve_to(Cr, 7, 1, 4, 8.5, 0, 9);
  cairo_curve_to(Cr, -4, 8.5, -7, 1, -7, -6);
  cairo_close_path(Cr);
  Draw::Solid(Cr, Color);
  SetColor(Cr, Rgb(0x2A1E16));
  for (const double Side : {-1.0, 1.0}) {
    // Eyes slant up for joy, down for sorrow.
    const double Slant = Smiling ? 0.35 : -0.35;
    cairo_save(Cr);
    cairo_translate(Cr, Side * 3.1, -3.2);
    cairo_rotate(Cr, Side * Slant);
    Assets::Ellipse(Cr, 0, 0, 2.2, 1.3);
    cairo_restore(Cr);
    cairo_fill(Cr);
  }
  if (Smiling) {
    cairo_move_to(Cr, -4, 2);
    cairo_curve_to(Cr, -2, 3.4, 2, 3.4, 4, 2);
    cairo_curve_to(Cr, 3, 6.5, -3, 6.5, -4, 2);
  } else {
    cairo_move_to(Cr, -3.6, 5.6);
    cairo_curve_to(Cr, -2.5, 1.8, 2.5, 1.8, 3.6, 5.6);
    cairo_curve_to(Cr, 2, 4.6, -2, 4.6, -3.6, 5.6);
  }
  cairo_close_path(Cr);
  cairo_fill(Cr);
}

}  // namespace

namespace Draw {

void PaintInside(cairo_t* Cr, const std::function<void()>& Paint) {
  cairo_path_t* Path = cairo_copy_path(Cr);
  cairo_save(Cr);
  cairo_clip(Cr);
  Paint();
  cairo_restore(Cr);
  cairo_new_path(Cr);
  cairo_append_path(Cr, Path);
  cairo_path_destroy(Path);
}

void OutlineIn(cairo_t* Cr, const TColor& Color, double Width) {
  SetColor(Cr, Color);
  cairo_set_line_width(Cr, DeviceWidth(Cr, Width));
  cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(Cr);
}

void Outline(cairo_t* Cr, double Width) {
  OutlineIn(Cr, Palette::Ink, Width);
}

void Solid(cairo_t* Cr, const TColor& Color, double Light, double Dark) {
  FillLit(Cr, Color, Light, Dark);
  Outline(Cr);
}

void Bell(cairo_t* Cr, double CentreX, double CentreY, double Scale) {
  cairo_save(Cr);
  cairo_translate(Cr, CentreX, CentreY);
  cairo_scale(Cr, Scale, Scale);
  cairo_new_path(Cr);
  cairo_arc(Cr, 0, -11.2, 2.1, 0, 2 * M_PI);
  OutlineIn(Cr, Palette::Ink, 3.2);
  cairo_arc(Cr, 0, -11.2, 2.1, 0, 2 * M_PI);
  OutlineIn(Cr, kBronze, 1.4);
  cairo_arc(Cr, 0, 9.4, 2.6, 0, 2 * M_PI);
  Solid(Cr, Shade(kBronze, 0.8));
  cairo_move_to(Cr, -5, -7.5);
  cairo_curve_to(Cr, -5, -11.5, 5, -11.5, 5, -7.5);
  cairo_curve_to(Cr, 6.5, -4, 6, 2.5, 11, 6.5);
  cairo_curve_to(Cr, 12, 7.5, 11.5, 9.2, 10, 9.2);
  cairo_line_to(Cr, -10, 9.2);
  cairo_curve_to(Cr, -11.5, 9.2, -12, 7.5, -11, 6.5);
  cairo_curve_to(Cr, -6, 2.5, -6.5, -4, -5, -7.5);
  cairo_close_path(Cr);
  Solid(Cr, kBronze, 1.45, 0.7);
  // A rim band near the lip and a glint on the lit side.
  cairo_move_to(Cr, -9.2, 5.8);
  cairo_curve_to(Cr, -3, 6.6, 3, 6.6, 9.2, 5.8);
  OutlineIn(Cr, Shade(kBronze, 0.65), 1.0);
  cairo_move_to(Cr, -2.6, -7.5);
  cairo_curve_to(Cr, -3.4, -3, -4, 1, -6, 4);
  OutlineIn(Cr, Rgb(0xFFF4D0, 0.8), 1.3);
  cairo_restore(Cr);
}

void Amphora(cairo_t* Cr, double CentreX, double CentreY, double Scale) {
  cairo_save(Cr);
  cairo_translate(Cr, CentreX, CentreY);
  cairo_scale(Cr, Scale, Scale);
  cairo_new_path(Cr);
  const TColor Clay = Rgb(0xD07040);
  for (const double Side : {-1.0, 1.0}) {
    cairo_move_to(Cr, Side * 3, -9.5);
    cairo_curve_to(Cr, Side * 9, -10.5, Side * 9.5, -6, Side * 6.5, -3);
    OutlineIn(Cr, Palette::Ink, 3.6);
    cairo_move_to(Cr, Side * 3, -9.5);
    cairo_curve_to(Cr, Side * 9, -10.5, Side * 9.5, -6, Side * 6.5, -3);
    OutlineIn(Cr, Shade(Clay, 0.85), 1.6);
  }
  cairo_move_to(Cr, -4, -12.5);
  cairo_line_to(Cr, 4, -12.5);
  cairo_curve_to(Cr, 4, -11, 2.8, -10, 2.8, -8.5);
  cairo_curve_to(Cr, 2.8, -6, 9, -5, 9, 0);
  cairo_curve_to(Cr, 9, 5, 4, 8.5, 2, 10.5);
  cairo_line_to(Cr, 3.2, 12.5);
  cairo_line_to(Cr, -3.2, 12.5);
  cairo_line_to(Cr, -2, 10.5);
  cairo_curve_to(Cr, -4, 8.5, -9, 5, -9, 0);
  cairo_curve_to(Cr, -9, -5, -2.8, -6, -2.8, -8.5);
  cairo_curve_to(Cr, -2.8, -10, -4, -11, -4, -12.5);
  cairo_close_path(Cr);
  FillLit(Cr, Clay, 1.35, 0.7);
  // A painted black band, as on the pots of the old potters.
  PaintInside(Cr, [Cr] {
    cairo_rectangle(Cr, -10, -1.2, 20, 3);
    SetColor(Cr, Rgb(0x2A1E16, 0.85));
    cairo_fill(Cr);
  });
  Outline(Cr);
  cairo_restore(Cr);
}

void HerbSprig(cairo_t* Cr, double CentreX, double CentreY, double Scale) {
  cairo_save(Cr);
  cairo_translate(Cr, CentreX, CentreY);
  cairo_scale(Cr, Scale, Scale);
  cairo_new_path(Cr);
  cairo_move_to(Cr, -3, 12.5);
  cairo_curve_to(Cr, -1, 5, 1.5, -3, 1, -12);
  OutlineIn(Cr, Palette::Ink, 3.4);
  cairo_move_to(Cr, -3, 12.5);
  cairo_curve_to(Cr, -1, 5, 1.5, -3, 1, -12);
  OutlineIn(Cr, Shade(kHerb, 0.75), 1.5);
  struct TLeaf {
    double X, Y, Length, Angle;
  };
  const TLeaf Leaves[] = {{-1.2, 7, 10, -2.7},  {-0.6, 6, 10, -0.45}, {0.6, 0, 9.5, -2.55},
                          {0.9, -1, 9.5, -0.6}, {1.2, -6, 8, -2.3},   {1.2, -6.5, 8, -0.85},
                          {1, -10, 7, -1.57}};
  for (const TLeaf& Leaf : Leaves) {
    LeafPath(Cr, Leaf.X, Leaf.Y, Leaf.Length, Leaf.Length * 0.36, Leaf.Angle);
    Solid(Cr, kHerb, 1.4, 0.7);
    // The middle vein.
    cairo_move_to(Cr, Leaf.X, Leaf.Y);
    cairo_line_to(Cr, Leaf.X + std::cos(Leaf.Angle) * Leaf.Length * 0.75,
                  Leaf.Y + std::sin(Leaf.Angle) * Leaf.Length * 0.75);
    OutlineIn(Cr, Shade(kHerb, 0.6), 0.7);
  }
  cairo_restore(Cr);
}

void TheatreMasks(cairo_t* Cr, double CentreX, double CentreY, double Scale) {
  cairo_save(Cr);
  cairo_translate(Cr, CentreX, CentreY);
  cairo_scale(Cr, Scale, Scale);
  cairo_new_path(Cr);
  cairo_save(Cr);
  cairo_translate(Cr, 4.6, -2.2);
  cairo_rotate(Cr, 0.26);
  Mask(Cr, kTragedy, false);
  cairo_restore(Cr);
  cairo_save(Cr);
  cairo_translate(Cr, -4.4, 2.6);
  cairo_rotate(Cr, -0.22);
  Mask(Cr, kComedy, true);
  cairo_restore(Cr);
  cairo_restore(Cr);
}

}  // namespace Draw

TColor FamilyColor(int Family) {
  switch (Family) {
    case 0:
      return Rgb(0x3D7BC4);  // religion: the blue of chapel domes
    case 1:
      return Rgb(0xE0A030);  // commerce: gold
    case 2:
      return Rgb(0x4E9F3D);  // healthcare: herb green
    default:
      return Rgb(0x9A4F9E);  // culture: theatre purple
  }
}

}  // namespace Assets::Fonts

// AssetsFormTalk.cpp -- "Talk": the speech bubble of the tutorial and of the start, end and
// congratulation messages. 700 x 240 layout units: the speaker's face sits in a medallion left of
// the centre, the message (white text) to the right of it and the links along the bottom.
#include <cmath>

#include "AssetsCore.h"
#include "AssetsFormsShared.h"

namespace {

using namespace Assets;
using namespace Assets::Forms;

constexpr double kWidth = 700, kHeight = 240;
constexpr double kPixelsPerUnit = 2.0;
// The face is drawn 230 to 240 units left of the bubble's centre, 120 x 160 units.
constexpr double kMedallionX = kWidth / 2 - 235, kMedallionY = kHeight / 2;
constexpr double kMedallionRadiusX = 74, kMedallionRadiusY = 90;

void BubblePath(cairo_t* Cr, double Inset) {
  RoundedRectangle(Cr, 6 + Inset, 6 + Inset, kWidth - 12 - 2 * Inset, kHeight - 14 - 2 * Inset,
                   46 - Inset);
}

void DrawBody(cairo_t* Cr) {
  // A soft shadow towards the lower right.
  for (int Ring = 0; Ring < 5; ++Ring) {
    const double Grow = 4 - Ring;
    RoundedRectangle(Cr, 9 - Grow, 11 - Grow, kWidth - 14 + 2 * Grow, kHeight - 16 + 2 * Grow,
                     46 + Grow);
    cairo_set_source_rgba(Cr, 0, 0, 0, 0.08);
    cairo_fill(Cr);
  }
  BubblePath(Cr, 0);
  SetVerticalGradient(Cr, 6, Mix(Colors::Aegean, Colors::AegeanLight, 0.4), kHeight - 8,
                      Colors::AegeanDeep);
  cairo_fill(Cr);
  cairo_pattern_t* Glow = cairo_pattern_create_radial(140, 20, 0, 140, 20, 520);
  cairo_pattern_add_color_stop_rgba(Glow, 0, 0.6, 0.8, 1.0, 0.14);
  cairo_pattern_add_color_stop_rgba(Glow, 1, 0.6, 0.8, 1.0, 0.0);
  BubblePath(Cr, 0);
  cairo_set_source(Cr, Glow);
  cairo_fill(Cr);
  cairo_pattern_destroy(Glow);
}

// A faint frame around where the message is written.
void DrawTextWell(cairo_t* Cr) {
  RoundedRectangle(Cr, kMedallionX + kMedallionRadiusX + 10, kHeight / 2 - 86,
                   kWidth - 36 - (kMedallionX + kMedallionRadiusX + 10), 172, 18);
  cairo_set_source_rgba(Cr, 0.02, 0.08, 0.16, 0.28);
  cairo_fill_preserve(Cr);
  SetColor(Cr, Palette::Ochre, 0.25);
  cairo_set_line_width(Cr, 1.2);
  cairo_stroke(Cr);
}

void DrawRim(cairo_t* Cr) {
  BubblePath(Cr, 2);
  cairo_set_source_rgba(Cr, 0.1, 0.07, 0.05, 0.7);
  cairo_set_line_width(Cr, 7);
  cairo_stroke_preserve(Cr);
  const TColor Rim = Palette::Whitewash;
  cairo_set_source_rgb(Cr, Rim.R, Rim.G, Rim.B);
  cairo_set_line_width(Cr, 4);
  cairo_stroke(Cr);
  BubblePath(Cr, 8);
  SetColor(Cr, Palette::Gold, 0.55);
  cairo_set_line_width(Cr, 1.3);
  cairo_stroke(Cr);
}

// The medallion behind the face: a sunny window of sky and sand ringed in gold with laurel.
void DrawMedallion(cairo_t* Cr) {
  Ellipse(Cr, kMedallionX + 3, kMedallionY + 4, kMedallionRadiusX + 4, kMedallionRadiusY + 4);
  cairo_set_source_rgba(Cr, 0, 0, 0, 0.3);
  cairo_fill(Cr);
  Ellipse(Cr, kMedallionX, kMedallionY, kMedallionRadiusX, kMedallionRadiusY);
  cairo_pattern_t* Sky = cairo_pattern_create_radial(kMedallionX - 20, kMedallionY - 40, 10,
                                                     kMedallionX, kMedallionY, 100);
  const TColor Centre = Mix(Palette::Sky, Palette::Whitewash, 0.45);
  const TColor Edge = Mix(Palette::Sky, Palette::Water, 0.55);
  cairo_pattern_add_color_stop_rgb(Sky, 0, Centre.R, Centre.G, Centre.B);
  cairo_pattern_add_color_stop_rgb(Sky, 1, Edge.R, Edge.G, Edge.B);
  cairo_set_source(Cr, Sky);
  cairo_fill_preserve(Cr);
  cairo_pattern_destroy(Sky);
  StrokeGoldTrim(Cr, 4.5);
  cairo_new_path(Cr);
  Ellipse(Cr, kMedallionX, kMedallionY, kMedallionRadiusX - 6, kMedallionRadiusY - 6);
  cairo_set_source_rgba(Cr, 1, 1, 1, 0.35);
  cairo_set_line_width(Cr, 1.2);
  cairo_stroke(Cr);
  const TColor Leaf = Palette::Olive, Outline = Rgb(0x2E3A1A);
  const double Bottom = kMedallionY + kMedallionRadiusY;
  LaurelSprig(Cr, kMedallionX - 6, Bottom + 2, 62, M_PI + 0.35, 1.35, 6, Leaf, Outline);
  LaurelSprig(Cr, kMedallionX + 6, Bottom + 2, 62, -0.35, -1.35, 6, Leaf, Outline);
}

void GenerateTalk(TOutput& Output) {
  TCanvas Canvas(BlockAligned(kWidth * kPixelsPerUnit), BlockAligned(kHeight * kPixelsPerUnit));
  cairo_t* Cr = Canvas.Cr();
  cairo_scale(Cr, kPixelsPerUnit, kPixelsPerUnit);
  DrawBody(Cr);
  DrawTextWell(Cr);
  DrawRim(Cr);
  DrawMedallion(Cr);
  TPicture Picture = Canvas.Picture();
  AddGrain(Picture, 0.03, 3.0, 700);
  Output.Texture("Talk", Picture, TDdsFormat::Dxt5);
}

const Assets::TGeneratorRegistration Registration("talk", &GenerateTalk);

}  // namespace

// AssetsFormBranding.cpp -- the branding pictures: "GameLogo" (the game's name in gilded serif
// letters between two laurel sprigs, on a transparent ground so the menu's light rays shine from
// behind it) and "Splash1" (the studio card of Hollow Fern: a fern frond in a gold ring).
#include <algorithm>
#include <cmath>
#include <string>

#include "AssetsCore.h"
#include "AssetsFormsShared.h"

namespace {

using namespace Assets;
using namespace Assets::Forms;

// --- the game's logo -------------------------------------------------------------------------

constexpr int kLogoWidth = 1200, kLogoHeight = 280;
const std::string kGameName = "Calvora";

struct TLogoText {
  double Size, Left, Baseline;
};

// The largest size at which the name fits between the laurels, centred on the picture.
TLogoText FitLogoText(const TOutlineFont& Font) {
  const double MaxWidth = 860, MaxSize = 220;
  const double Size = std::min(MaxSize, MaxSize * MaxWidth / Font.Width(kGameName, MaxSize, 4));
  const double Width = Font.Width(kGameName, Size, 4);
  return {Size, (kLogoWidth - Width) / 2, kLogoHeight / 2 + Size * 0.36};
}

void LogoTextPath(cairo_t* Cr, const TOutlineFont& Font, const TLogoText& Text, double Dx = 0,
                  double Dy = 0) {
  cairo_new_path(Cr);
  Font.AppendPath(Cr, kGameName, Text.Left + Dx, Text.Baseline + Dy, Text.Size, 4);
}

void DrawLogoShadow(cairo_t* Cr, const TOutlineFont& Font, const TLogoText& Text) {
  for (int Step = 0; Step < 6; ++Step) {
    LogoTextPath(Cr, Font, Text, 4 + Step * 0.8, 6 + Step * 1.0);
    cairo_set_line_width(Cr, 16 + Step * 2);
    cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_source_rgba(Cr, 0.08, 0.04, 0.02, 0.07);
    cairo_stroke_preserve(Cr);
    cairo_fill(Cr);
  }
}

void DrawLogoLetters(cairo_t* Cr, const TOutlineFont& Font, const TLogoText& Text) {
  const double Top = Text.Baseline - Text.Size * 0.75, Bottom = Text.Baseline + Text.Size * 0.05;
  // A dark outline, then a thin gold edge just outside the letters.
  LogoTextPath(Cr, Font, Text);
  cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
  SetColor(Cr, Rgb(0x2E170A));
  cairo_set_line_width(Cr, 15);
  cairo_stroke_preserve(Cr);
  SetColor(Cr, Colors::GoldDark);
  cairo_set_line_width(Cr, 6);
  cairo_stroke(Cr);
  // Pale gold shows along the upper-left edges of each letter; the body is a warm gold that
  // deepens to terracotta towards the foot.
  cairo_save(Cr);
  LogoTextPath(Cr, Font, Text);
  cairo_clip(Cr);
  SetColor(Cr, Rgb(0xFFF3CF));
  cairo_paint(Cr);
  LogoTextPath(Cr, Font, Text, 3, 4);
  cairo_pattern_t* Gilt = cairo_pattern_create_linear(0, Top, 0, Bottom);
  cairo_pattern_add_color_stop_rgb(Gilt, 0, 1.0, 0.88, 0.55);
  cairo_pattern_add_color_stop_rgb(Gilt, 0.45, 0.95, 0.73, 0.28);
  cairo_pattern_add_color_stop_rgb(Gilt, 0.75, 0.86, 0.52, 0.22);
  cairo_pattern_add_color_stop_rgb(Gilt, 1, 0.72, 0.36, 0.18);
  cairo_set_source(Cr, Gilt);
  cairo_pattern_destroy(Gilt);
  cairo_fill(Cr);
  // A band of shine across the upper third.
  cairo_rectangle(Cr, 0, Top + Text.Size * 0.08, kLogoWidth, Text.Size * 0.12);
  cairo_set_source_rgba(Cr, 1, 0.97, 0.85, 0.22);
  cairo_fill(Cr);
  cairo_restore(Cr);
}

void DrawLogoLaurels(cairo_t* Cr, const TLogoText& Text, double TextWidth) {
  const TColor Leaf = Mix(Palette::Olive, Palette::Leaf, 0.4), Outline = Rgb(0x23300F);
  const double Bottom = kLogoHeight / 2 + 70;
  const double LeftX = Text.Left - 24, RightX = Text.Left + TextWidth + 24;
  // Each sprig rises from below the name and curls up beside it, as half a wreath.
  LaurelSprig(Cr, LeftX, Bottom, 190, -M_PI / 2 - 0.55, 1.2, 7, Leaf, Outline);
  LaurelSprig(Cr, RightX, Bottom, 190, -M_PI / 2 + 0.55, -1.2, 7, Leaf, Outline);
  // A gold ribbon ties the stems.
  for (double X : {LeftX, RightX}) {
    cairo_arc(Cr, X, Bottom, 9, 0, 2 * M_PI);
    SetColor(Cr, Palette::Gold);
    cairo_fill_preserve(Cr);
    SetColor(Cr, Rgb(0x2E170A));
    cairo_set_line_width(Cr, 2.5);
    cairo_stroke(Cr);
  }
}

void GenerateLogo(TOutput& Output) {
  const TOutlineFont Font(FontFiles::kSerifBold);
  const TLogoText Text = FitLogoText(Font);
  TCanvas Canvas(kLogoWidth, kLogoHeight);
  cairo_t* Cr = Canvas.Cr();
  DrawLogoShadow(Cr, Font, Text);
  DrawLogoLaurels(Cr, Text, Font.Width(kGameName, Text.Size, 4));
  DrawLogoLetters(Cr, Font, Text);
  Output.BrandingPng("GameLogo", Canvas.Picture());
}

// --- the studio card -------------------------------------------------------------------------

constexpr int kSplashWidth = 1280, kSplashHeight = 800;
constexpr double kRingX = 640, kRingY = 330, kRingRadius = 160;

void DrawSplashGround(cairo_t* Cr) {
  cairo_pattern_t* Ground =
      cairo_pattern_create_radial(kRingX, kRingY, 40, kRingX, kRingY + 80, 820);
  cairo_pattern_add_color_stop_rgb(Ground, 0, 0.26, 0.18, 0.12);
  cairo_pattern_add_color_stop_rgb(Ground, 0.5, 0.14, 0.09, 0.06);
  cairo_pattern_add_color_stop_rgb(Ground, 1, 0.05, 0.03, 0.02);
  cairo_set_source(Cr, Ground);
  cairo_paint(Cr);
  cairo_pattern_destroy(Ground);
}

void DrawRing(cairo_t* Cr) {
  cairo_arc(Cr, kRingX, kRingY, kRingRadius, 0, 2 * M_PI);
  cairo_pattern_t* Hollow =
      cairo_pattern_create_radial(kRingX - 40, kRingY - 50, 10, kRingX, kRingY, kRingRadius);
  cairo_pattern_add_color_stop_rgb(Hollow, 0, 0.20, 0.15, 0.10);
  cairo_pattern_add_color_stop_rgb(Hollow, 1, 0.08, 0.05, 0.03);
  cairo_set_source(Cr, Hollow);
  cairo_pattern_destroy(Hollow);
  cairo_fill_preserve(Cr);
  cairo_pattern_t* Gilt = cairo_pattern_create_linear(kRingX - kRingRadius, kRingY - kRingRadius,
                                                      kRingX + kRingRadius, kRingY + kRingRadius);
  cairo_pattern_add_color_stop_rgb(Gilt, 0, 1.0, 0.9, 0.6);
  cairo_pattern_add_color_stop_rgb(Gilt, 0.5, 0.85, 0.62, 0.26);
  cairo_pattern_add_color_stop_rgb(Gilt, 1, 0.55, 0.36, 0.14);
  cairo_set_source(Cr, Gilt);
  cairo_pattern_destroy(Gilt);
  cairo_set_line_width(Cr, 12);
  cairo_stroke(Cr);
  cairo_arc(Cr, kRingX, kRingY, kRingRadius - 14, 0, 2 * M_PI);
  cairo_set_source_rgba(Cr, 0.95, 0.8, 0.5, 0.35);
  cairo_set_line_width(Cr, 1.5);
  cairo_stroke(Cr);
}

// One leaflet of the frond, from its base along Angle.
void DrawLeaflet(cairo_t* Cr, double X, double Y, double Angle, double Length) {
  cairo_save(Cr);
  cairo_translate(Cr, X, Y);
  cairo_rotate(Cr, Angle);
  const double Width = Length * 0.22;
  cairo_move_to(Cr, 0, 0);
  cairo_curve_to(Cr, Length * 0.3, -Width, Length * 0.8, -Width * 0.6, Length, 0);
  cairo_curve_to(Cr, Length * 0.8, Width * 0.6, Length * 0.3, Width, 0, 0);
  cairo_close_path(Cr);
  cairo_pattern_t* Green = cairo_pattern_create_linear(0, -Width, 0, Width);
  cairo_pattern_add_color_stop_rgb(Green, 0, 0.62, 0.78, 0.40);
  cairo_pattern_add_color_stop_rgb(Green, 1, 0.25, 0.45, 0.20);
  cairo_set_source(Cr, Green);
  cairo_pattern_destroy(Green);
  cairo_fill(Cr);
  cairo_restore(Cr);
}

// The path of the frond's stem: rising nearly straight, then rolling into a young curl.
struct TStemWalk {
  double X = kRingX - 62, Y = kRingY + 152, Heading = -M_PI / 2 + 0.2;
  static constexpr int kSteps = 110;
  void Advance(int Step) {
    const double T = Step / static_cast<double>(kSteps);
    Heading += 0.0035 + std::pow(T, 5) * 0.32;
    const double Length = 3.3 * (1 - 0.6 * T);
    X += std::cos(Heading) * Length;
    Y += std::sin(Heading) * Length;
  }
};

// A fern frond rising through the ring, its leaflets shortening towards the curled tip.
void DrawFern(cairo_t* Cr) {
  TStemWalk Walk;
  for (int Step = 0; Step < TStemWalk::kSteps; ++Step) {
    Walk.Advance(Step);
    const double T = Step / static_cast<double>(TStemWalk::kSteps);
    if (Step % 4 != 0 || T > 0.78 || T < 0.04) continue;
    const double Length =
        104 * std::pow(1 - T, 0.9) * (0.45 + 0.55 * std::sin(M_PI * std::min(1.0, T * 1.6 + 0.3)));
    const bool LeftSide = Step % 8 == 0;
    DrawLeaflet(Cr, Walk.X, Walk.Y, Walk.Heading + (LeftSide ? -1.05 : 1.05), Length);
  }
  TStemWalk Stem;
  cairo_move_to(Cr, Stem.X, Stem.Y);
  for (int Step = 0; Step < TStemWalk::kSteps; ++Step) {
    Stem.Advance(Step);
    cairo_line_to(Cr, Stem.X, Stem.Y);
  }
  cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_source_rgb(Cr, 0.36, 0.5, 0.22);
  cairo_set_line_width(Cr, 5);
  cairo_stroke(Cr);
}

void DrawStudioName(cairo_t* Cr) {
  const TOutlineFont Serif(FontFiles::kSerifBold);
  Serif.AppendCentred(Cr, "HOLLOW FERN", kSplashWidth / 2.0, 600, 72, 14);
  cairo_set_source_rgb(Cr, 0.95, 0.85, 0.62);
  cairo_fill(Cr);
  const TOutlineFont Sans(FontFiles::kSansBold);
  Sans.AppendCentred(Cr, "STUDIO", kSplashWidth / 2.0, 650, 22, 12);
  cairo_set_source_rgba(Cr, 0.89, 0.72, 0.45, 0.8);
  cairo_fill(Cr);
  cairo_move_to(Cr, kSplashWidth / 2.0 - 220, 622);
  cairo_line_to(Cr, kSplashWidth / 2.0 + 220, 622);
  cairo_set_source_rgba(Cr, 0.89, 0.72, 0.45, 0.5);
  cairo_set_line_width(Cr, 1.5);
  cairo_stroke(Cr);
}

void GenerateSplash(TOutput& Output) {
  TCanvas Canvas(kSplashWidth, kSplashHeight);
  cairo_t* Cr = Canvas.Cr();
  DrawSplashGround(Cr);
  DrawRing(Cr);
  cairo_save(Cr);
  cairo_arc(Cr, kRingX, kRingY, kRingRadius - 8, 0, 2 * M_PI);
  cairo_clip(Cr);
  DrawFern(Cr);
  cairo_restore(Cr);
  DrawStudioName(Cr);
  TPicture Picture = Canvas.Picture();
  AddGrain(Picture, 0.03, 2.0, 0xF3);
  Output.BrandingJpeg("Splash1", Picture);
}

const Assets::TGeneratorRegistration LogoRegistration("branding", &GenerateLogo);
const Assets::TGeneratorRegistration SplashRegistration("splash", &GenerateSplash);

}  // namespace

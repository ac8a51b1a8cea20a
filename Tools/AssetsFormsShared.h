// AssetsFormsShared.h -- what the screen, dialog and branding pictures share: text drawn as cairo
// paths from the DejaVu outlines, the Greek key border, gold trims and the panel colours.
#pragma once

#include <string>

#include "AssetsCore.h"

struct FT_LibraryRec_;
struct FT_FaceRec_;

namespace Assets::Forms {

inline constexpr const char* kSerifBoldFile =
    "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf";
inline constexpr const char* kSansBoldFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

// Panel colours: white text must read on every one of them.
namespace Colors {
inline const TColor AegeanDeep = Rgb(0x102640);
inline const TColor Aegean = Rgb(0x1B3A5E);
inline const TColor AegeanLight = Rgb(0x2B5682);
inline const TColor Walnut = Rgb(0x3A281B);
inline const TColor WalnutDark = Rgb(0x24180F);
inline const TColor WalnutLight = Rgb(0x5A3E28);
inline const TColor GoldDark = Rgb(0xA8772E);
inline const TColor GoldPale = Rgb(0xFBE3A0);
}  // namespace Colors

// A TrueType font whose glyph outlines become cairo paths, so text needs neither fontconfig nor
// cairo's font caches (which would outlive the FreeType face).
class TOutlineFont {
 public:
  explicit TOutlineFont(const std::string& FileName);
  ~TOutlineFont();
  TOutlineFont(const TOutlineFont&) = delete;
  TOutlineFont& operator=(const TOutlineFont&) = delete;

  // Width of Text at Size pixels to the em, with Tracking extra pixels between letters.
  double Width(const std::string& Text, double Size, double Tracking = 0) const;
  // Adds the outlines of Text to the current path, its baseline starting at (X, Baseline).
  void AppendPath(cairo_t* Cr, const std::string& Text, double X, double Baseline, double Size,
                  double Tracking = 0) const;
  // As AppendPath, centred on CentreX.
  void AppendCentred(cairo_t* Cr, const std::string& Text, double CentreX, double Baseline,
                     double Size, double Tracking = 0) const;

 private:
  double Advance(char Letter, double Size) const;

  FT_LibraryRec_* Library = nullptr;
  FT_FaceRec_* Face = nullptr;
};

// A running Greek key along the x axis from X to X + Length, filling Height (centred on Y); the
// caller sets colour and line width is chosen from Height.
void GreekKeyBand(cairo_t* Cr, double X, double Y, double Length, double Height);

// A Greek key frame around a rectangle: the band runs along its four sides, inside it.
void GreekKeyFrame(cairo_t* Cr, double X, double Y, double Width, double Height, double Band);

// Strokes the current path (kept) as a gold trim: a dark bed, the gold line and a pale glint.
void StrokeGoldTrim(cairo_t* Cr, double Width);

// A vertical linear gradient from Top colour at Y0 to Bottom colour at Y1, set as the source.
void SetVerticalGradient(cairo_t* Cr, double Y0, const TColor& Top, double Y1,
                         const TColor& Bottom);

// Sprinkles soft value noise over the whole picture: each pixel's colour is scaled by
// 1 +- Amount (alpha untouched), at the given feature size in pixels.
void AddGrain(TPicture& Picture, double Amount, double FeatureSize, std::uint32_t Seed);

// A laurel sprig: a gently curved stem from (X, Y) with Leaves leaf pairs, Length long, pointing
// at Angle (radians, 0 = right), curving by Bend (radians over the length).
void LaurelSprig(cairo_t* Cr, double X, double Y, double Length, double Angle, double Bend,
                 int Leaves, const TColor& Leaf, const TColor& Outline);

// Rounds a size up to a multiple of 4 (compressed textures are stored in 4 x 4 blocks).
int BlockAligned(double Size);

}  // namespace Assets::Forms

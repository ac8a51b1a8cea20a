// AssetsFormsShared.h -- what the screen, dialog and branding pictures share: text drawn as cairo
// paths from the DejaVu outlines, the Greek key border, gold trims and the panel colours.
#pragma once

#include <string>

#include "AssetsCore.h"

namespace Assets::Forms {

// Panel colours: white text must read on every one of them.
namespace Colors {
inline const TColor AegeanDeep = Rgb(0x102640);
inline const TColor Aegean = Rgb(0x1B3A5E);
inline const TColor AegeanLight = Rgb(0x2B5682);
inline const TColor WalnutDark = Rgb(0x24180F);
inline const TColor WalnutLight = Rgb(0x5A3E28);
inline const TColor GoldDark = Rgb(0xA8772E);
inline const TColor GoldPale = Rgb(0xFBE3A0);
}  // namespace Colors

// A running Greek key along the x axis from X to X + Length, filling Height (centred on Y); the
// caller sets colour and line width is chosen from Height.
void GreekKeyBand(cairo_t* Cr, double X, double Y, double Length, double Height);

// A Greek key frame around a rectangle: the band runs along its four sides, inside it.
void GreekKeyFrame(cairo_t* Cr, double X, double Y, double Width, double Height, double Band);

// Strokes the current path (kept) as a gold trim: a dark bed, the gold line and a pale glint.
void StrokeGoldTrim(cairo_t* Cr, double Width);

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

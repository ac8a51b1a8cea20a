// AssetsIconKit.h -- drawing helpers shared by the interface atlases (buttons, action icons,
// gauges and markers): lit fills with an ink outline, simple path builders, the drop shadow
// that lifts a pictogram off its button, and the greyed look of unavailable icons.
#pragma once

#include "AssetsCore.h"

#include <initializer_list>

namespace Assets::IconKit {

// The ink of every outline: a warm near-black that reads on light and tinted faces alike.
inline const TColor Outline = Rgb(0x2A1D14);
inline const double OutlineWidth = 3.0;  // in the 100-unit design space of an icon

// The path of a closed polygon through the given x, y pairs.
void Polygon(cairo_t* Cr, std::initializer_list<double> Coordinates);
// The path of a closed circle (a stroke of it joins where it starts instead of ending in caps).
void ClosedCircle(cairo_t* Cr, double X, double Y, double Radius);

// Fills the current path with Base lit from the upper left (lighter there, darker towards the
// lower right), then strokes it with the outline ink. Consumes the path.
void FillLit(cairo_t* Cr, const TColor& Base, double Width = OutlineWidth);
// Strokes the current path with round joins and caps. Consumes the path.
void StrokeLine(cairo_t* Cr, const TColor& Color, double Width);

// A soft shadow of the picture's own shape, offset to the lower right, drawn beneath it.
TPicture WithDropShadow(const TPicture& Picture, double OffsetPixels, double BlurPixels,
                        double Opacity);
// The greyed copy of an icon: desaturated, darker and flatter.
TPicture Greyed(const TPicture& Picture);

// Pastes a picture into a cell of an atlas.
void PasteCell(TPicture& Atlas, const TRect& Cell, const TPicture& Picture);

}  // namespace Assets::IconKit

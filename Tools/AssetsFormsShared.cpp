// AssetsFormsShared.cpp -- outline text, Greek key borders, gold trims and grain for the screen,
// dialog and branding pictures.
#include "AssetsFormsShared.h"

#include <algorithm>
#include <cmath>

namespace Assets::Forms {

// --- Greek key -------------------------------------------------------------------------------

void GreekKeyBand(cairo_t* Cr, double X, double Y, double Length, double Height) {
  // One key on a grid of Height / 6: a square spiral standing on the baseline, four grid steps
  // wide, with a border line above and the baseline below.
  const double Grid = Height / 6.0;
  const double Top = Y - Height / 2 + Grid * 0.5, Base = Y + Height / 2 - Grid * 0.5;
  const int Keys = std::max(1, static_cast<int>(std::floor((Length - Grid) / (4 * Grid))));
  const double Start = X + (Length - Keys * 4 * Grid) / 2;
  cairo_save(Cr);
  cairo_set_line_width(Cr, Grid * 0.62);
  cairo_set_line_cap(Cr, CAIRO_LINE_CAP_SQUARE);
  cairo_set_line_join(Cr, CAIRO_LINE_JOIN_MITER);
  cairo_move_to(Cr, X, Top);
  cairo_line_to(Cr, X + Length, Top);
  cairo_move_to(Cr, X, Base);
  cairo_line_to(Cr, X + Length, Base);
  const double Row = (Base - Top) / 5.0;
  for (int Key = 0; Key < Keys; ++Key) {
    const double Left = Start + (Key * 4 + 0.5) * Grid;
    cairo_move_to(Cr, Left, Base);
    cairo_line_to(Cr, Left, Top + Row);
    cairo_line_to(Cr, Left + 3 * Grid, Top + Row);
    cairo_line_to(Cr, Left + 3 * Grid, Top + 4 * Row);
    cairo_line_to(Cr, Left + 1 * Grid, Top + 4 * Row);
    cairo_line_to(Cr, Left + 1 * Grid, Top + 2 * Row);
    cairo_line_to(Cr, Left + 2 * Grid, Top + 2 * Row);
    cairo_line_to(Cr, Left + 2 * Grid, Top + 3 * Row);
  }
  cairo_stroke(Cr);
  cairo_restore(Cr);
}

void GreekKeyFrame(cairo_t* Cr, double X, double Y, double Width, double Height, double Band) {
  auto Side = [&](double Cx, double Cy, double Angle, double Length) {
    cairo_save(Cr);
    cairo_translate(Cr, Cx, Cy);
    cairo_rotate(Cr, Angle);
    GreekKeyBand(Cr, -Length / 2, 0, Length, Band);
    cairo_restore(Cr);
  };
  const double Inner = Band / 2;
  Side(X + Width / 2, Y + Inner, 0, Width - 2 * Band);
  Side(X + Width / 2, Y + Height - Inner, M_PI, Width - 2 * Band);
  Side(X + Inner, Y + Height / 2, -M_PI / 2, Height - 2 * Band);
  Side(X + Width - Inner, Y + Height / 2, M_PI / 2, Height - 2 * Band);
  // Corner squares with a rosette dot close the four bands.
  cairo_save(Cr);
  cairo_set_line_width(Cr, Band / 6 * 0.62);
  for (int Corner = 0; Corner < 4; ++Corner) {
    const double Cx = Corner % 2 == 0 ? X : X + Width - Band;
    const double Cy = Corner / 2 == 0 ? Y : Y + Height - Band;
    cairo_rectangle(Cr, Cx + Band * 0.1, Cy + Band * 0.1, Band * 0.8, Band * 0.8);
    cairo_stroke(Cr);
    cairo_arc(Cr, Cx + Band / 2, Cy + Band / 2, Band * 0.18, 0, 2 * M_PI);
    cairo_fill(Cr);
  }
  cairo_restore(Cr);
}

// --- trims, gradients, grain -----------------------------------------------------------------

void StrokeGoldTrim(cairo_t* Cr, double Width) {
  cairo_save(Cr);
  cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_source_rgba(Cr, 0.12, 0.07, 0.03, 0.85);
  cairo_set_line_width(Cr, Width * 1.6);
  cairo_stroke_preserve(Cr);
  const TColor Gold = Palette::Gold, Dark = Colors::GoldDark;
  cairo_set_source_rgb(Cr, Mix(Gold, Dark, 0.35).R, Mix(Gold, Dark, 0.35).G,
                       Mix(Gold, Dark, 0.35).B);
  cairo_set_line_width(Cr, Width);
  cairo_stroke_preserve(Cr);
  SetColor(Cr, Colors::GoldPale, 0.8);
  cairo_set_line_width(Cr, Width * 0.3);
  cairo_stroke_preserve(Cr);
  cairo_restore(Cr);
}

void AddGrain(TPicture& Picture, double Amount, double FeatureSize, std::uint32_t Seed) {
  for (int Y = 0; Y < Picture.Height; ++Y)
    for (int X = 0; X < Picture.Width; ++X) {
      std::uint8_t* Pixel = Picture.At(X, Y);
      if (Pixel[3] == 0) continue;
      const double Factor =
          1 + Amount * (2 * FractalNoise(X / FeatureSize, Y / FeatureSize, Seed, 3) - 1);
      for (int Channel = 0; Channel < 3; ++Channel)
        Pixel[Channel] =
            static_cast<std::uint8_t>(std::clamp(std::lround(Pixel[Channel] * Factor), 0L, 255L));
    }
}

void LaurelSprig(cairo_t* Cr, double X, double Y, double Length, double Angle, double Bend,
                 int Leaves, const TColor& Leaf, const TColor& Outline) {
  // Walk the stem in small steps, remembering where leaves sprout.
  const int Steps = 60;
  const double Step = Length / Steps;
  double Px = X, Py = Y, Heading = Angle;
  cairo_save(Cr);
  cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
  cairo_move_to(Cr, Px, Py);
  struct TSprout {
    double X, Y, Heading;
  };
  std::vector<TSprout> Sprouts;
  for (int Index = 1; Index <= Steps; ++Index) {
    Heading += Bend / Steps;
    Px += std::cos(Heading) * Step;
    Py += std::sin(Heading) * Step;
    cairo_line_to(Cr, Px, Py);
    if (Index % (Steps / Leaves) == 0) Sprouts.push_back({Px, Py, Heading});
  }
  cairo_set_source_rgb(Cr, Outline.R, Outline.G, Outline.B);
  cairo_set_line_width(Cr, Length * 0.03);
  cairo_stroke(Cr);
  const double LeafLength = Length / Leaves * 1.7;
  for (std::size_t Index = 0; Index < Sprouts.size(); ++Index) {
    const TSprout& Sprout = Sprouts[Index];
    const double Shrink = 1.0 - 0.35 * Index / static_cast<double>(Sprouts.size());
    for (int SideSign : {-1, 1}) {
      const bool Tip = Index + 1 == Sprouts.size();
      const double Turn = Tip ? 0 : SideSign * 0.75;
      if (Tip && SideSign > 0) continue;
      cairo_save(Cr);
      cairo_translate(Cr, Sprout.X, Sprout.Y);
      cairo_rotate(Cr, Sprout.Heading + Turn);
      const double L = LeafLength * Shrink;
      LeafPath(Cr, 0, 0, L, L * 0.32, 0);
      // Lit from the upper left: leaves facing up are lighter.
      const double Light = 0.5 + 0.5 * -std::sin(Sprout.Heading + Turn);
      const TColor Fill = Shade(Leaf, 0.8 + 0.45 * Light);
      cairo_set_source_rgb(Cr, Fill.R, Fill.G, Fill.B);
      cairo_fill_preserve(Cr);
      cairo_set_source_rgb(Cr, Outline.R, Outline.G, Outline.B);
      cairo_set_line_width(Cr, L * 0.05);
      cairo_stroke(Cr);
      cairo_move_to(Cr, L * 0.1, 0);
      cairo_line_to(Cr, L * 0.8, 0);
      cairo_set_source_rgba(Cr, Outline.R, Outline.G, Outline.B, 0.5);
      cairo_set_line_width(Cr, L * 0.025);
      cairo_stroke(Cr);
      cairo_restore(Cr);
    }
  }
  cairo_restore(Cr);
}

int BlockAligned(double Size) {
  return WholeBlocks(static_cast<int>(std::ceil(Size - 1e-9)));
}

}  // namespace Assets::Forms

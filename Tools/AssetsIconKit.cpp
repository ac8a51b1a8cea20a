// AssetsIconKit.cpp -- drawing helpers shared by the interface atlases.
#include "AssetsIconKit.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace Assets::IconKit {

void Polygon(cairo_t* Cr, std::initializer_list<double> Coordinates) {
  const double* Value = Coordinates.begin();
  cairo_new_sub_path(Cr);
  for (std::size_t Index = 0; Index + 1 < Coordinates.size(); Index += 2)
    cairo_line_to(Cr, Value[Index], Value[Index + 1]);
  cairo_close_path(Cr);
}

void ClosedCircle(cairo_t* Cr, double X, double Y, double Radius) {
  cairo_new_sub_path(Cr);
  cairo_arc(Cr, X, Y, Radius, 0, 2 * M_PI);
  cairo_close_path(Cr);
}

void FillLit(cairo_t* Cr, const TColor& Base, double Width) {
  // Over the extents of the filled area, which for curved outlines differ from the path's.
  double X0, Y0, X1, Y1;
  cairo_fill_extents(Cr, &X0, &Y0, &X1, &Y1);
  FillLitAlong(Cr, Base, 1.22, 0.8, X0, Y0, X1, Y1);
  if (Width > 0) {
    StrokeLine(Cr, Outline, Width);
  } else {
    cairo_new_path(Cr);
  }
}

void StrokeLine(cairo_t* Cr, const TColor& Color, double Width) {
  SetColor(Cr, Color);
  cairo_set_line_width(Cr, Width);
  cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(Cr);
}

namespace {

// A separable box blur of one channel, run three times to approach a Gaussian.
std::vector<float> Blurred(std::vector<float> Values, int Width, int Height, int Radius) {
  if (Radius <= 0) return Values;
  std::vector<float> Scratch(Values.size());
  const float Norm = 1.0f / float(2 * Radius + 1);
  for (int Pass = 0; Pass < 3; ++Pass) {
    for (int Y = 0; Y < Height; ++Y)
      for (int X = 0; X < Width; ++X) {
        float Sum = 0;
        for (int D = -Radius; D <= Radius; ++D) {
          const int Sx = X + D;
          if (Sx >= 0 && Sx < Width) Sum += Values[std::size_t(Y * Width + Sx)];
        }
        Scratch[std::size_t(Y * Width + X)] = Sum * Norm;
      }
    for (int Y = 0; Y < Height; ++Y)
      for (int X = 0; X < Width; ++X) {
        float Sum = 0;
        for (int D = -Radius; D <= Radius; ++D) {
          const int Sy = Y + D;
          if (Sy >= 0 && Sy < Height) Sum += Scratch[std::size_t(Sy * Width + X)];
        }
        Values[std::size_t(Y * Width + X)] = Sum * Norm;
      }
  }
  return Values;
}

}  // namespace

TPicture WithDropShadow(const TPicture& Picture, double OffsetPixels, double BlurPixels,
                        double Opacity) {
  const int W = Picture.Width, H = Picture.Height;
  const int Offset = int(std::lround(OffsetPixels));
  std::vector<float> Shadow(std::size_t(W) * std::size_t(H), 0.0f);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) {
      const int Sx = X - Offset, Sy = Y - Offset;
      if (Sx >= 0 && Sy >= 0 && Sx < W && Sy < H)
        Shadow[std::size_t(Y * W + X)] = Picture.At(Sx, Sy)[3] / 255.0f;
    }
  Shadow = Blurred(std::move(Shadow), W, H, int(std::lround(BlurPixels / 2)));
  TPicture Result(W, H);
  for (int Y = 0; Y < H; ++Y)
    for (int X = 0; X < W; ++X) {
      const std::uint8_t* Top = Picture.At(X, Y);
      std::uint8_t* Out = Result.At(X, Y);
      const double TopA = Top[3] / 255.0;
      const double UnderA = Shadow[std::size_t(Y * W + X)] * Opacity;
      const double A = TopA + UnderA * (1 - TopA);
      if (A <= 0) continue;
      // The shadow is black, so only the picture's own colour contributes.
      for (int C = 0; C < 3; ++C)
        Out[C] = std::uint8_t(std::lround(Top[C] * TopA / A));
      Out[3] = std::uint8_t(std::lround(A * 255));
    }
  return Result;
}

TPicture Greyed(const TPicture& Picture) {
  TPicture Result = Picture;
  for (std::size_t Pixel = 0; Pixel < Result.Rgba.size(); Pixel += 4) {
    std::uint8_t* P = &Result.Rgba[Pixel];
    const double Luma = (0.3 * P[0] + 0.59 * P[1] + 0.11 * P[2]) / 255.0;
    const double Flat = 0.05 + Luma * 0.88;
    const auto Grey = std::uint8_t(std::lround(std::clamp(Flat, 0.0, 1.0) * 255));
    P[0] = P[1] = P[2] = Grey;
  }
  return Result;
}

void PasteCell(TPicture& Atlas, const TRect& Cell, const TPicture& Picture) {
  const int W = std::min(Cell.Width, Picture.Width), H = std::min(Cell.Height, Picture.Height);
  for (int Y = 0; Y < H; ++Y)
    std::copy_n(Picture.At(0, Y), std::size_t(W) * 4, Atlas.At(Cell.Left, Cell.Top + Y));
}

}  // namespace Assets::IconKit

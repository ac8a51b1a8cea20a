// AssetsViews.cpp -- "View1".."View13": the town on its hill by the sea, seen from offshore, in
// thirteen stages of its restoration. One ordered list of lots is built once; stage s shows the
// lots whose stage is at most s, and a built lot clears the ruins and wild trees on its ground,
// so every stage contains the one before it.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "AssetsCore.h"

namespace {

using Assets::TColor;
namespace Palette = Assets::Palette;

constexpr int kViewWidth = 1020;
constexpr int kViewHeight = 540;
constexpr int kStages = 13;
constexpr double kHorizon = 182;

struct TXY {
  double X = 0, Y = 0;
};

// --- the place: coast, hill and sky ---------------------------------------------------------

// The shore from the far headland down to the bottom edge; the sea lies to its left.
const std::vector<TXY> kShore = {{330, kHorizon}, {270, 215}, {222, 262},
                                 {196, 318},      {198, 372}, {226, 425},
                                 {262, 470},      {300, 510}, {322, kViewHeight + 10}};
// The hill's skyline from the headland to the right edge.
const std::vector<TXY> kSkyline = {{330, kHorizon}, {420, 168}, {520, 146},
                                   {600, 136},      {680, 140}, {780, 156},
                                   {880, 170},      {960, 178}, {kViewWidth + 10, 182}};

// Interpolates X on a polyline ordered by Y (the shore), or Y on one ordered by X (skyline).
double ShoreX(double Y) {
  for (std::size_t Index = 1; Index < kShore.size(); ++Index)
    if (Y <= kShore[Index].Y) {
      const TXY& A = kShore[Index - 1];
      const TXY& B = kShore[Index];
      return A.X + (B.X - A.X) * std::clamp((Y - A.Y) / (B.Y - A.Y), 0.0, 1.0);
    }
  return kShore.back().X;
}

double SkylineY(double X) {
  for (std::size_t Index = 1; Index < kSkyline.size(); ++Index)
    if (X <= kSkyline[Index].X) {
      const TXY& A = kSkyline[Index - 1];
      const TXY& B = kSkyline[Index];
      return A.Y + (B.Y - A.Y) * std::clamp((X - A.X) / (B.X - A.X), 0.0, 1.0);
    }
  return kSkyline.back().Y;
}

bool OnLand(double X, double Y) {
  return Y > SkylineY(X) && X > ShoreX(Y);
}

// Things further up the hill are further away and drawn smaller.
double DepthScale(double Y) {
  return 0.5 + 0.5 * std::clamp((Y - 140) / 400, 0.0, 1.0);
}

void SmoothPath(cairo_t* Cr, const std::vector<TXY>& Points) {
  cairo_move_to(Cr, Points[0].X, Points[0].Y);
  for (std::size_t Index = 1; Index < Points.size(); ++Index) {
    const TXY& A = Points[Index - 1];
    const TXY& B = Points[Index];
    cairo_curve_to(Cr, A.X + (B.X - A.X) * 0.5, A.Y, A.X + (B.X - A.X) * 0.5, B.Y, B.X, B.Y);
  }
}

void DrawSky(cairo_t* Cr) {
  cairo_pattern_t* Sky = cairo_pattern_create_linear(0, 0, 0, kHorizon);
  cairo_pattern_add_color_stop_rgb(Sky, 0, 0.42, 0.67, 0.85);
  cairo_pattern_add_color_stop_rgb(Sky, 0.7, 0.66, 0.84, 0.93);
  cairo_pattern_add_color_stop_rgb(Sky, 1, 0.93, 0.91, 0.84);
  cairo_set_source(Cr, Sky);
  cairo_rectangle(Cr, 0, 0, kViewWidth, kHorizon + 2);
  cairo_fill(Cr);
  cairo_pattern_destroy(Sky);
  // The sun's warmth in the upper left.
  cairo_pattern_t* Sun = cairo_pattern_create_radial(60, -40, 10, 60, -40, 420);
  cairo_pattern_add_color_stop_rgba(Sun, 0, 1, 0.97, 0.85, 0.8);
  cairo_pattern_add_color_stop_rgba(Sun, 1, 1, 0.97, 0.85, 0);
  cairo_set_source(Cr, Sun);
  cairo_rectangle(Cr, 0, 0, kViewWidth, kHorizon + 2);
  cairo_fill(Cr);
  cairo_pattern_destroy(Sun);
}

void DrawCloud(cairo_t* Cr, double X, double Y, double Width, Assets::TRandom& Random) {
  const int Puffs = Random.Int(4, 7);
  for (int Layer = 0; Layer < 2; ++Layer) {
    cairo_set_source_rgba(Cr, Layer ? 1.0 : 0.8, Layer ? 1.0 : 0.84, Layer ? 1.0 : 0.9,
                          Layer ? 0.85 : 0.6);
    for (int Puff = 0; Puff < Puffs; ++Puff) {
      const double T = (Puff + 0.5) / Puffs;
      const double Radius = Width * (0.12 + 0.1 * std::sin(T * M_PI));
      cairo_save(Cr);
      cairo_translate(Cr, X + (T - 0.5) * Width - Layer * 2, Y - Radius * 0.3 - Layer * 2);
      cairo_scale(Cr, 1, 0.6);
      cairo_arc(Cr, 0, 0, Radius, 0, 2 * M_PI);
      cairo_restore(Cr);
      cairo_fill(Cr);
    }
  }
}

void DrawClouds(cairo_t* Cr) {
  Assets::TRandom Random(0xC10D5ull);
  const TXY Places[] = {{130, 60}, {360, 34}, {610, 70}, {850, 40}, {980, 96}};
  for (const TXY& Place : Places)
    DrawCloud(Cr, Place.X, Place.Y, Random.Range(90, 150), Random);
}

void DrawMountains(cairo_t* Cr) {
  const std::vector<TXY> Far = {{360, kHorizon}, {470, 150}, {560, 122}, {640, 104},
                                {720, 118},      {820, 92},  {930, 116}, {kViewWidth + 10, 110}};
  const std::vector<TXY> Near = {{600, kHorizon}, {700, 150}, {790, 128},
                                 {880, 140},      {960, 124}, {kViewWidth + 10, 134}};
  const TColor Colors[] = {Assets::Rgb(0xA9BCCB), Assets::Rgb(0x8FA6A6)};
  int Layer = 0;
  for (const auto* Ridge : {&Far, &Near}) {
    SmoothPath(Cr, *Ridge);
    cairo_line_to(Cr, kViewWidth + 10, kHorizon + 40);
    cairo_line_to(Cr, Ridge->front().X, kHorizon + 40);
    cairo_close_path(Cr);
    SetColor(Cr, Colors[Layer++]);
    cairo_fill(Cr);
  }
}

void DrawSea(cairo_t* Cr) {
  cairo_pattern_t* Sea = cairo_pattern_create_linear(0, kHorizon, 0, kViewHeight);
  cairo_pattern_add_color_stop_rgb(Sea, 0, 0.55, 0.76, 0.84);
  cairo_pattern_add_color_stop_rgb(Sea, 0.25, 0.30, 0.60, 0.74);
  cairo_pattern_add_color_stop_rgb(Sea, 1, 0.16, 0.42, 0.60);
  cairo_set_source(Cr, Sea);
  cairo_rectangle(Cr, 0, kHorizon, kViewWidth, kViewHeight - kHorizon);
  cairo_fill(Cr);
  cairo_pattern_destroy(Sea);
  // Glitter: short light ripples, denser and longer toward the horizon under the sun.
  Assets::TRandom Random(0x5EAull);
  cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
  for (int Ripple = 0; Ripple < 260; ++Ripple) {
    const double Y = kHorizon + 4 + std::pow(Random.Uniform(), 1.6) * (kViewHeight - kHorizon);
    const double X = Random.Range(0, ShoreX(Y) - 8);
    const double Near = (Y - kHorizon) / (kViewHeight - kHorizon);
    cairo_set_line_width(Cr, 0.8 + 1.2 * Near);
    cairo_set_source_rgba(Cr, 0.9, 0.97, 1, Random.Range(0.25, 0.6));
    const double Length = Random.Range(4, 10) * (0.6 + Near);
    cairo_move_to(Cr, X, Y);
    cairo_line_to(Cr, X + Length, Y);
    cairo_stroke(Cr);
  }
}

void LandPath(cairo_t* Cr) {
  SmoothPath(Cr, kSkyline);
  cairo_line_to(Cr, kViewWidth + 10, kViewHeight + 10);
  std::vector<TXY> Shore(kShore.rbegin(), kShore.rend());
  cairo_line_to(Cr, Shore[0].X, Shore[0].Y);
  for (std::size_t Index = 1; Index < Shore.size(); ++Index) {
    const TXY& A = Shore[Index - 1];
    const TXY& B = Shore[Index];
    cairo_curve_to(Cr, A.X, A.Y + (B.Y - A.Y) * 0.5, B.X, A.Y + (B.Y - A.Y) * 0.5, B.X, B.Y);
  }
  cairo_close_path(Cr);
}

void DrawLand(cairo_t* Cr) {
  // A pale beach and surf line under the land's edge.
  LandPath(Cr);
  cairo_save(Cr);
  cairo_translate(Cr, -7, 3);
  cairo_set_source_rgba(Cr, 0.92, 0.97, 1, 0.7);
  cairo_fill_preserve(Cr);
  cairo_restore(Cr);
  cairo_new_path(Cr);
  cairo_save(Cr);
  cairo_translate(Cr, -4, 1);
  LandPath(Cr);
  SetColor(Cr, Palette::Sand);
  cairo_fill(Cr);
  cairo_restore(Cr);

  LandPath(Cr);
  cairo_pattern_t* Slope = cairo_pattern_create_linear(300, 150, 820, 540);
  cairo_pattern_add_color_stop_rgb(Slope, 0, 0.70, 0.76, 0.47);
  cairo_pattern_add_color_stop_rgb(Slope, 0.55, 0.58, 0.67, 0.38);
  cairo_pattern_add_color_stop_rgb(Slope, 1, 0.44, 0.55, 0.30);
  cairo_set_source(Cr, Slope);
  cairo_fill_preserve(Cr);
  cairo_pattern_destroy(Slope);
  // Sunlit shoulder of the hill facing the upper left.
  cairo_pattern_t* Light = cairo_pattern_create_radial(520, 200, 20, 520, 200, 300);
  cairo_pattern_add_color_stop_rgba(Light, 0, 1, 0.95, 0.75, 0.28);
  cairo_pattern_add_color_stop_rgba(Light, 1, 1, 0.95, 0.75, 0);
  cairo_set_source(Cr, Light);
  cairo_fill_preserve(Cr);
  cairo_pattern_destroy(Light);
  cairo_set_line_width(Cr, 1.2);
  SetColor(Cr, Assets::Shade(Palette::GrassDark, 0.7), 0.6);
  cairo_stroke(Cr);
}

// Per-pixel grain on the land so it reads as grass and scrub, not a flat fill.
void AddLandGrain(Assets::TPicture& Picture) {
  for (int Y = 0; Y < Picture.Height; ++Y)
    for (int X = 0; X < Picture.Width; ++X) {
      if (!OnLand(X + 0.5, Y + 0.5)) continue;
      const double Patches = Assets::FractalNoise(X / 60.0, Y / 30.0, 0x7A11u, 2);
      const double Grain = Assets::Noise(X * 0.6, Y * 0.3, 0x7A12u);
      const double Factor = 0.88 + 0.16 * Patches + 0.08 * Grain;
      std::uint8_t* Pixel = Picture.At(X, Y);
      for (int Channel = 0; Channel < 3; ++Channel)
        Pixel[Channel] = static_cast<std::uint8_t>(std::clamp(Pixel[Channel] * Factor, 0.0, 255.0));
    }
}

Assets::TPicture Backdrop() {
  Assets::TCanvas Canvas(kViewWidth, kViewHeight);
  cairo_t* Cr = Canvas.Cr();
  DrawSky(Cr);
  DrawClouds(Cr);
  DrawMountains(Cr);
  DrawSea(Cr);
  DrawLand(Cr);
  Assets::TPicture Picture = Canvas.Picture();
  AddLandGrain(Picture);
  return Picture;
}

// --- small shapes ---------------------------------------------------------------------------

void Polygon(cairo_t* Cr, std::initializer_list<TXY> Points) {
  cairo_new_path(Cr);
  for (const TXY& Point : Points)
    cairo_line_to(Cr, Point.X, Point.Y);
  cairo_close_path(Cr);
}

void FillOutlined(cairo_t* Cr, const TColor& Fill, double Line = 0.8) {
  SetColor(Cr, Fill);
  cairo_fill_preserve(Cr);
  cairo_set_line_width(Cr, Line);
  SetColor(Cr, Assets::Shade(Palette::Ink, 1.0), 0.55);
  cairo_stroke(Cr);
}

// Starts a new path that holds only the ellipse.
void NewEllipse(cairo_t* Cr, double X, double Y, double RadiusX, double RadiusY) {
  cairo_new_path(Cr);
  Assets::Ellipse(Cr, X, Y, RadiusX, RadiusY);
}

// The soft shadow a thing of the given footprint casts to the lower right.
void GroundShadow(cairo_t* Cr, double X, double Y, double Width, double Height) {
  NewEllipse(Cr, X + Width * 0.25, Y + 1, Width * 0.6 + Height * 0.2, Width * 0.14 + 2);
  cairo_set_source_rgba(Cr, 0.12, 0.16, 0.05, 0.28);
  cairo_fill(Cr);
}

// A block seen from the front and a little from the right: front face lit from the upper left,
// right side in shade. (X, Y) is the bottom-left corner of the front face.
struct TBlock {
  double X, Y, Width, Height, Depth;
  double DepthX() const { return Depth * 0.6; }
  double DepthY() const { return Depth * 0.35; }
};

void DrawBlockWalls(cairo_t* Cr, const TBlock& B, const TColor& Wall) {
  Polygon(Cr, {{B.X + B.Width, B.Y},
               {B.X + B.Width + B.DepthX(), B.Y - B.DepthY()},
               {B.X + B.Width + B.DepthX(), B.Y - B.DepthY() - B.Height},
               {B.X + B.Width, B.Y - B.Height}});
  FillOutlined(Cr, Assets::Shade(Wall, 0.74));
  cairo_rectangle(Cr, B.X, B.Y - B.Height, B.Width, B.Height);
  FillOutlined(Cr, Wall);
}

void DrawFlatTop(cairo_t* Cr, const TBlock& B, const TColor& Wall) {
  const double Top = B.Y - B.Height;
  Polygon(Cr, {{B.X, Top},
               {B.X + B.Width, Top},
               {B.X + B.Width + B.DepthX(), Top - B.DepthY()},
               {B.X + B.DepthX(), Top - B.DepthY()}});
  FillOutlined(Cr, Assets::Shade(Wall, 1.08));
}

// A hipped tile roof: the front slope in sun, the right hip in shade.
void DrawHippedRoof(cairo_t* Cr, const TBlock& B, const TColor& Tile, double Rise) {
  const double Top = B.Y - B.Height, Eave = 2.5;
  const TXY FrontLeft{B.X - Eave, Top + 1}, FrontRight{B.X + B.Width + Eave, Top + 1};
  const TXY BackRight{B.X + B.Width + B.DepthX() + Eave, Top - B.DepthY()};
  const TXY BackLeft{B.X + B.DepthX() - Eave, Top - B.DepthY()};
  const double RidgeY = Top - B.DepthY() * 0.5 - Rise;
  const TXY RidgeLeft{B.X + B.DepthX() * 0.5 + B.Width * 0.22, RidgeY};
  const TXY RidgeRight{B.X + B.DepthX() * 0.5 + B.Width * 0.78, RidgeY};
  Polygon(Cr, {FrontRight, BackRight, RidgeRight});
  FillOutlined(Cr, Assets::Shade(Tile, 0.72));
  Polygon(Cr, {BackLeft, FrontLeft, RidgeLeft});
  FillOutlined(Cr, Assets::Shade(Tile, 0.9));
  Polygon(Cr, {FrontLeft, FrontRight, RidgeRight, RidgeLeft});
  FillOutlined(Cr, Tile);
  // Tile courses.
  cairo_set_line_width(Cr, 0.6);
  SetColor(Cr, Palette::RoofShadow, 0.45);
  for (double T = 0.33; T < 0.9; T += 0.33) {
    cairo_move_to(Cr, FrontLeft.X + (RidgeLeft.X - FrontLeft.X) * T,
                  FrontLeft.Y + (RidgeY - FrontLeft.Y) * T);
    cairo_line_to(Cr, FrontRight.X + (RidgeRight.X - FrontRight.X) * T,
                  FrontRight.Y + (RidgeY - FrontRight.Y) * T);
  }
  cairo_stroke(Cr);
}

// A gable facing the viewer (temples, halls): the pediment on the front, the long roof to the
// right.
void DrawGableRoof(cairo_t* Cr, const TBlock& B, const TColor& Tile, const TColor& Wall,
                   double Rise) {
  const double Top = B.Y - B.Height, Eave = 2;
  const TXY Left{B.X - Eave, Top}, Right{B.X + B.Width + Eave, Top},
      Apex{B.X + B.Width / 2, Top - Rise};
  const TXY BackApex{Apex.X + B.DepthX(), Apex.Y - B.DepthY()};
  const TXY BackRight{Right.X + B.DepthX(), Right.Y - B.DepthY()};
  Polygon(Cr, {Apex, Right, BackRight, BackApex});
  FillOutlined(Cr, Assets::Shade(Tile, 0.8));
  Polygon(Cr, {Left, Right, Apex});
  FillOutlined(Cr, Assets::Shade(Wall, 0.97));
  Polygon(Cr, {{Left.X + 4, Left.Y - 1.5}, {Right.X - 4, Right.Y - 1.5}, {Apex.X, Apex.Y + 3}});
  SetColor(Cr, Assets::Shade(Wall, 0.82));
  cairo_fill(Cr);
}

void DrawWindows(cairo_t* Cr, const TBlock& B, Assets::TRandom& Random, bool WithDoor) {
  const int Count = std::max(1, static_cast<int>(B.Width / 12));
  const double Size = std::max(2.0, B.Width * 0.1);
  for (int Index = 0; Index < Count; ++Index) {
    const double X = B.X + (Index + 0.5) * B.Width / Count - Size / 2;
    const bool Door = WithDoor && Index == Count / 2;
    const double Y = Door ? B.Y - Size * 2.2 : B.Y - B.Height * 0.7;
    cairo_rectangle(Cr, X, Y, Size, Door ? Size * 2.2 : Size * 1.2);
    SetColor(Cr, Door ? Assets::Shade(Palette::Wood, 0.7) : Assets::Rgb(0x4A3A30));
    cairo_fill(Cr);
    if (!Door && Random.Uniform() < 0.5) {  // blue shutters
      cairo_rectangle(Cr, X - 1.2, Y, 1.2, Size * 1.2);
      cairo_rectangle(Cr, X + Size, Y, 1.2, Size * 1.2);
      SetColor(Cr, Assets::Rgb(0x3F7FA8));
      cairo_fill(Cr);
    }
  }
}

void DrawCypress(cairo_t* Cr, double X, double Y, double Height) {
  const double Width = Height * 0.22;
  GroundShadow(Cr, X, Y, Width * 1.4, Height);
  cairo_new_path(Cr);
  cairo_move_to(Cr, X, Y - Height);
  cairo_curve_to(Cr, X + Width * 0.9, Y - Height * 0.6, X + Width * 0.6, Y - Height * 0.1, X, Y);
  cairo_curve_to(Cr, X - Width * 0.6, Y - Height * 0.1, X - Width * 0.9, Y - Height * 0.6, X,
                 Y - Height);
  FillOutlined(Cr, Palette::Cypress, 0.6);
  cairo_move_to(Cr, X - Width * 0.15, Y - Height * 0.9);
  cairo_curve_to(Cr, X - Width * 0.6, Y - Height * 0.5, X - Width * 0.4, Y - Height * 0.2,
                 X - Width * 0.1, Y - 2);
  cairo_set_line_width(Cr, Width * 0.3);
  SetColor(Cr, Assets::Shade(Palette::Cypress, 1.35), 0.7);
  cairo_stroke(Cr);
}

void DrawRoundTree(cairo_t* Cr, double X, double Y, double Size, const TColor& Leaves) {
  GroundShadow(Cr, X, Y, Size, Size);
  cairo_rectangle(Cr, X - Size * 0.07, Y - Size * 0.55, Size * 0.14, Size * 0.55);
  SetColor(Cr, Assets::Shade(Palette::Wood, 0.8));
  cairo_fill(Cr);
  NewEllipse(Cr, X, Y - Size * 0.75, Size * 0.55, Size * 0.42);
  FillOutlined(Cr, Leaves, 0.6);
  NewEllipse(Cr, X - Size * 0.16, Y - Size * 0.86, Size * 0.26, Size * 0.2);
  SetColor(Cr, Assets::Shade(Leaves, 1.25), 0.8);
  cairo_fill(Cr);
}

void DrawPerson(cairo_t* Cr, double X, double Y, double Scale, const TColor& Tunic) {
  cairo_rectangle(Cr, X - 1.2 * Scale, Y - 5 * Scale, 2.4 * Scale, 4.2 * Scale);
  SetColor(Cr, Tunic);
  cairo_fill(Cr);
  NewEllipse(Cr, X, Y - 6 * Scale, 1.1 * Scale, 1.1 * Scale);
  SetColor(Cr, Assets::Rgb(0xB07850));
  cairo_fill(Cr);
}

void DrawCrowd(cairo_t* Cr, double X, double Y, double RadiusX, double RadiusY, int Count,
               std::uint64_t Seed) {
  static constexpr std::uint32_t kTunics[] = {0xF4EBDD, 0xC8643C, 0x3F7FA8,
                                              0xE3B873, 0x8A9A5B, 0xA04060};
  Assets::TRandom Random(Seed);
  for (int Person = 0; Person < Count; ++Person) {
    const double PX = X + Random.Range(-RadiusX, RadiusX), PY = Y + Random.Range(-RadiusY, RadiusY);
    DrawPerson(Cr, PX, PY, DepthScale(PY), Assets::Rgb(kTunics[Random.Int(0, 5)]));
  }
}

// --- the lots and the wild land --------------------------------------------------------------

enum class TLotKind {
  House,
  Road,
  Fountain,
  Market,
  Garden,
  Temple,
  Baths,
  Harbour,
  Theatre,
  Aqueduct,
  Villa,
  Basilica,
  Lighthouse,
  Vineyard,
  Festival
};

struct TLot {
  TLotKind Kind = TLotKind::House;
  int Stage = 1;      // the first view that shows it
  TXY At;             // its foot, in picture pixels
  double Clears = 0;  // radius of wild land it clears
  std::uint64_t Seed = 0;
  std::vector<TXY> Path;  // roads only
};

struct TWild {
  enum TKind { Tree, Pine, Cypress, Bush, Ruin, Column, OldHouse } Kind = Tree;
  TXY At;
  double Size = 1;
  std::uint64_t Seed = 0;
};

struct TScene {
  std::vector<TLot> Lots;  // ordered by stage
  std::vector<TWild> Wild;
};

const std::vector<TLot>& Landmarks() {
  static const std::vector<TLot> kLandmarks = {
      {TLotKind::Road, 2, {300, 500}, 14, 1, {{292, 540}, {318, 492}, {372, 452}, {430, 430}}},
      {TLotKind::Fountain, 3, {400, 470}, 40, 2, {}},
      {TLotKind::Road, 4, {430, 430}, 14, 3, {{430, 430}, {490, 404}, {540, 360}, {566, 310}}},
      {TLotKind::Market, 4, {480, 420}, 62, 4, {}},
      {TLotKind::Garden, 5, {356, 378}, 40, 5, {}},
      {TLotKind::Road, 6, {566, 310}, 14, 6, {{566, 310}, {590, 262}, {612, 214}, {604, 176}}},
      {TLotKind::Temple, 6, {604, 172}, 70, 7, {}},
      {TLotKind::Baths, 7, {690, 330}, 56, 8, {}},
      {TLotKind::Road, 7, {566, 310}, 14, 9, {{566, 310}, {630, 318}, {700, 350}, {780, 400}}},
      {TLotKind::Harbour, 8, {250, 460}, 40, 10, {}},
      {TLotKind::Theatre, 9, {800, 262}, 80, 11, {}},
      {TLotKind::Aqueduct, 10, {850, 200}, 0, 12, {}},
      {TLotKind::Vineyard, 10, {900, 440}, 70, 13, {}},
      {TLotKind::Villa, 11, {860, 360}, 56, 14, {}},
      {TLotKind::Basilica, 12, {448, 302}, 56, 15, {}},
      {TLotKind::Road,
       12,
       {430, 430},
       14,
       16,
       {{430, 430}, {400, 380}, {420, 330}, {470, 300}, {566, 310}}},
      {TLotKind::Lighthouse, 12, {146, 456}, 0, 17, {}},
      {TLotKind::Festival, 13, {480, 420}, 0, 18, {}},
  };
  return kLandmarks;
}

bool NearLandmark(const TXY& Site) {
  for (const TLot& Lot : Landmarks()) {
    if (Lot.Kind == TLotKind::Road) {
      for (const TXY& Point : Lot.Path)
        if (std::hypot(Point.X - Site.X, (Point.Y - Site.Y) * 1.6) < 18) return true;
      continue;
    }
    if (std::hypot(Lot.At.X - Site.X, (Lot.At.Y - Site.Y) * 1.6) < Lot.Clears + 10) return true;
  }
  return false;
}

// House sites on a jittered lattice over the town's part of the hill, built from the harbour
// upward: the nearer a site is to the harbour, the earlier its house comes.
std::vector<TLot> HouseLots() {
  Assets::TRandom Random(0x4005E5ull);
  std::vector<TLot> Houses;
  for (double Y = 196; Y < 530; Y += 30)
    for (double X = 240; X < 900; X += 46) {
      const TXY Site{X + Random.Range(-12, 12) + (static_cast<int>(Y) / 30 % 2) * 23,
                     Y + Random.Range(-6, 6)};
      const double TownX = (Site.X - 540) / 340, TownY = (Site.Y - 370) / 190;
      if (TownX * TownX + TownY * TownY > 1 || !OnLand(Site.X - 24, Site.Y) ||
          Site.Y < SkylineY(Site.X) + 26)
        continue;
      if (NearLandmark(Site) || Random.Uniform() < 0.12) continue;
      Houses.push_back({TLotKind::House, 0, Site, 22, Random.Next(), {}});
    }
  auto Order = [](const TLot& Lot) {
    return std::hypot(Lot.At.X - 330, (Lot.At.Y - 470) * 1.3) + 0.0;
  };
  std::stable_sort(Houses.begin(), Houses.end(),
                   [&](const TLot& A, const TLot& B) { return Order(A) < Order(B); });
  for (std::size_t Index = 0; Index < Houses.size(); ++Index)
    Houses[Index].Stage = 2 + static_cast<int>(Index * (kStages - 1) / Houses.size());
  return Houses;
}

std::vector<TWild> WildLand() {
  Assets::TRandom Random(0x3111Dull);
  std::vector<TWild> Wild;
  for (double Y = 176; Y < 545; Y += 13)
    for (double X = 200; X < 1030; X += 17) {
      const TXY At{X + Random.Range(-8, 8), Y + Random.Range(-5, 5)};
      const double Roll = Random.Uniform();
      if (!OnLand(At.X - 6, At.Y) || At.Y < SkylineY(At.X) + 6) continue;
      const double Density = Assets::FractalNoise(At.X / 70, At.Y / 40, 0x3112u, 2);
      if (Roll > Density * 1.1) continue;
      const double Kind = Random.Uniform();
      TWild Thing;
      Thing.At = At;
      Thing.Seed = Random.Next();
      Thing.Size = Random.Range(0.8, 1.2);
      Thing.Kind = Kind < 0.45   ? TWild::Bush
                   : Kind < 0.72 ? TWild::Tree
                   : Kind < 0.86 ? TWild::Pine
                                 : TWild::Cypress;
      Wild.push_back(Thing);
    }
  // The old town's remains: broken walls, fallen columns on the hilltop, a few houses still
  // standing.
  const TXY Ruins[] = {{590, 170}, {618, 176}, {470, 410}, {500, 430},
                       {690, 330}, {720, 340}, {800, 262}, {452, 300}};
  for (const TXY& At : Ruins)
    Wild.push_back({TWild::Ruin, At, 1, Random.Next()});
  const TXY Columns[] = {{596, 166}, {610, 168}, {624, 170}, {475, 395}, {705, 325}};
  for (const TXY& At : Columns)
    Wild.push_back({TWild::Column, At, 1, Random.Next()});
  const TXY OldHouses[] = {{340, 470}, {560, 420}, {640, 390}, {420, 340}};
  for (const TXY& At : OldHouses)
    Wild.push_back({TWild::OldHouse, At, 1, Random.Next()});
  return Wild;
}

TScene BuildScene() {
  TScene Scene;
  Scene.Lots = Landmarks();
  const std::vector<TLot> Houses = HouseLots();
  Scene.Lots.insert(Scene.Lots.end(), Houses.begin(), Houses.end());
  std::stable_sort(Scene.Lots.begin(), Scene.Lots.end(),
                   [](const TLot& A, const TLot& B) { return A.Stage < B.Stage; });
  Scene.Wild = WildLand();
  return Scene;
}

bool Cleared(const TWild& Thing, const std::vector<const TLot*>& Built) {
  for (const TLot* Lot : Built) {
    if (Lot->Kind == TLotKind::Road) {
      for (const TXY& Point : Lot->Path)
        if (std::hypot(Point.X - Thing.At.X, (Point.Y - Thing.At.Y) * 1.6) < Lot->Clears)
          return true;
      continue;
    }
    if (std::hypot(Lot->At.X - Thing.At.X, (Lot->At.Y - Thing.At.Y) * 1.6) < Lot->Clears)
      return true;
  }
  return false;
}

// --- drawing the lots ---------------------------------------------------------------------------

void DrawHouse(cairo_t* Cr, const TLot& Lot) {
  Assets::TRandom Random(Lot.Seed);
  const double Scale = DepthScale(Lot.At.Y);
  const TBlock Block{Lot.At.X - 16 * Scale, Lot.At.Y, Random.Range(26, 40) * Scale,
                     Random.Range(18, 26) * Scale, Random.Range(16, 24) * Scale};
  const TColor Walls[] = {Palette::Whitewash, Palette::Whitewash, Palette::Ochre,
                          Assets::Rgb(0xEBD3A8), Assets::Rgb(0xF0C9A0)};
  const TColor Wall = Walls[Random.Int(0, 4)];
  GroundShadow(Cr, Block.X + Block.Width * 0.6, Block.Y, Block.Width + Block.Depth, Block.Height);
  DrawBlockWalls(Cr, Block, Wall);
  DrawWindows(Cr, Block, Random, true);
  if (Random.Uniform() < 0.25) {
    DrawFlatTop(Cr, Block, Wall);
  } else {
    const TColor Tile =
        Assets::Mix(Palette::Terracotta, Assets::Rgb(0xD9804F), Random.Uniform() * 0.6);
    DrawHippedRoof(Cr, Block, Tile, Block.Height * 0.45);
  }
  if (Random.Uniform() < 0.3)
    DrawCypress(Cr, Block.X + Block.Width + Block.DepthX() + 5 * Scale, Lot.At.Y + 2, 26 * Scale);
}

void DrawRoad(cairo_t* Cr, const TLot& Lot) {
  cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
  for (int Layer = 0; Layer < 2; ++Layer) {
    SmoothPath(Cr, Lot.Path);
    cairo_set_line_width(Cr, Layer ? 7 : 10);
    SetColor(Cr, Layer ? Assets::Rgb(0xE2D5B8) : Assets::Rgb(0xB9A888));
    cairo_stroke(Cr);
  }
}

void DrawClearing(cairo_t* Cr, const TLot& Lot) {
  const double Scale = DepthScale(Lot.At.Y);
  NewEllipse(Cr, Lot.At.X + 4, Lot.At.Y - 4 * Scale, Lot.Clears * 1.05, Lot.Clears * 0.45);
  SetColor(Cr, Assets::Rgb(0xD8C79A), 0.45);
  cairo_fill(Cr);
}

void DrawPlaza(cairo_t* Cr, double X, double Y, double RadiusX, double RadiusY) {
  NewEllipse(Cr, X, Y, RadiusX, RadiusY);
  FillOutlined(Cr, Assets::Rgb(0xE6DAC0), 0.8);
  cairo_set_line_width(Cr, 0.5);
  SetColor(Cr, Palette::StoneDark, 0.35);
  for (double Ring = 0.35; Ring < 1; Ring += 0.3) {
    NewEllipse(Cr, X, Y, RadiusX * Ring, RadiusY * Ring);
    cairo_stroke(Cr);
  }
}

void DrawColumns(cairo_t* Cr, double Left, double Bottom, double Width, double Height, int Count) {
  const double Step = Width / Count, Thick = std::max(2.0, Step * 0.42);
  for (int Index = 0; Index < Count; ++Index) {
    const double X = Left + Step * (Index + 0.5) - Thick / 2;
    cairo_rectangle(Cr, X, Bottom - Height, Thick, Height);
    cairo_pattern_t* Round = cairo_pattern_create_linear(X, 0, X + Thick, 0);
    cairo_pattern_add_color_stop_rgb(Round, 0, 1, 0.99, 0.95);
    cairo_pattern_add_color_stop_rgb(Round, 1, 0.7, 0.66, 0.6);
    cairo_set_source(Cr, Round);
    cairo_fill_preserve(Cr);
    cairo_pattern_destroy(Round);
    cairo_set_line_width(Cr, 0.5);
    SetColor(Cr, Palette::Ink, 0.4);
    cairo_stroke(Cr);
  }
}

// A colonnaded hall with its gable to the front: the temple, and smaller, the basilica.
void DrawColonnadedHall(cairo_t* Cr, double X, double Y, double Width, double Height, int Columns,
                        const TColor& Wall) {
  const double Depth = Width * 0.9;
  GroundShadow(Cr, X + Width * 0.5, Y, Width * 1.5, Height);
  for (int Step = 0; Step < 3; ++Step) {
    const TBlock Stair{X - 6 + Step * 2, Y - Step * 2.5, Width + 12 - Step * 4, 2.5, Depth + 6};
    DrawBlockWalls(Cr, Stair, Palette::Stone);
    DrawFlatTop(Cr, Stair, Palette::Stone);
  }
  const double Floor = Y - 7.5;
  const TBlock Cella{X + 4, Floor - 4, Width - 8, Height - 4, Depth - 6};
  DrawBlockWalls(Cr, Cella, Assets::Shade(Wall, 0.78));
  DrawColumns(Cr, X, Floor, Width, Height, Columns);
  const TBlock Beam{X - 1, Floor - Height, Width + 2, 5, Depth};
  DrawBlockWalls(Cr, Beam, Wall);
  DrawGableRoof(Cr, Beam, Palette::Terracotta, Wall, Width * 0.22);
}

void DrawFountain(cairo_t* Cr, const TLot& Lot) {
  const double X = Lot.At.X, Y = Lot.At.Y;
  DrawPlaza(Cr, X, Y, 30, 13);
  NewEllipse(Cr, X, Y - 2, 10, 4.5);
  FillOutlined(Cr, Palette::Stone);
  NewEllipse(Cr, X, Y - 2.5, 7.5, 3);
  SetColor(Cr, Palette::WaterLight);
  cairo_fill(Cr);
  cairo_rectangle(Cr, X - 1.2, Y - 12, 2.4, 9);
  FillOutlined(Cr, Palette::Stone, 0.5);
  DrawCypress(Cr, X + 24, Y + 6, 24);
  DrawCypress(Cr, X - 26, Y - 4, 20);
}

void DrawStall(cairo_t* Cr, double X, double Y, const TColor& Stripe) {
  cairo_rectangle(Cr, X, Y - 9, 14, 9);
  SetColor(Cr, Assets::Shade(Palette::Wood, 0.9));
  cairo_fill(Cr);
  for (int Band = 0; Band < 4; ++Band) {
    Polygon(Cr, {{X - 2 + Band * 4.5, Y - 8},
                 {X + 2.5 + Band * 4.5, Y - 8},
                 {X + 4 + Band * 4, Y - 14},
                 {X + Band * 4, Y - 14}});
    SetColor(Cr, Band % 2 ? Palette::Whitewash : Stripe);
    cairo_fill(Cr);
  }
}

void DrawMarket(cairo_t* Cr, const TLot& Lot, int Stage) {
  const double X = Lot.At.X, Y = Lot.At.Y;
  DrawPlaza(Cr, X, Y, 52, 20);
  // The stoa along the back of the square.
  const TBlock Stoa{X - 50, Y - 16, 84, 16, 14};
  DrawBlockWalls(Cr, {Stoa.X + 2, Stoa.Y - 2, Stoa.Width - 4, Stoa.Height - 2, Stoa.Depth - 4},
                 Assets::Shade(Palette::Ochre, 0.8));
  DrawColumns(Cr, Stoa.X, Stoa.Y, Stoa.Width, Stoa.Height, 9);
  DrawHippedRoof(Cr, {Stoa.X, Stoa.Y - Stoa.Height, Stoa.Width, 0, Stoa.Depth}, Palette::Terracotta,
                 6);
  DrawStall(Cr, X - 30, Y + 4, Assets::Rgb(0xC8643C));
  DrawStall(Cr, X - 6, Y + 8, Assets::Rgb(0x3F7FA8));
  DrawStall(Cr, X + 18, Y + 3, Assets::Rgb(0xE3B873));
  DrawCrowd(Cr, X, Y + 2, 40, 9, 8 + Stage, Lot.Seed);
}

void DrawGarden(cairo_t* Cr, const TLot& Lot) {
  const double X = Lot.At.X, Y = Lot.At.Y;
  NewEllipse(Cr, X, Y, 36, 14);
  FillOutlined(Cr, Assets::Rgb(0x8FB056), 0.6);
  Assets::TRandom Random(Lot.Seed);
  for (int Row = 0; Row < 3; ++Row)
    for (int Column = 0; Column < 5; ++Column) {
      const double TX = X - 24 + Column * 12 + Row * 3, TY = Y - 7 + Row * 6;
      DrawRoundTree(Cr, TX, TY, 9 + Random.Range(-1, 1), Palette::Olive);
    }
}

void DrawTemple(cairo_t* Cr, const TLot& Lot) {
  DrawColonnadedHall(Cr, Lot.At.X - 30, Lot.At.Y, 60, 22, 6, Palette::Whitewash);
}

void DrawBasilica(cairo_t* Cr, const TLot& Lot) {
  DrawColonnadedHall(Cr, Lot.At.X - 24, Lot.At.Y, 48, 18, 5, Assets::Rgb(0xF0DDB8));
  DrawCrowd(Cr, Lot.At.X, Lot.At.Y + 8, 24, 4, 5, Lot.Seed);
}

void DrawBaths(cairo_t* Cr, const TLot& Lot) {
  const double X = Lot.At.X, Y = Lot.At.Y, Scale = DepthScale(Y);
  const TBlock Hall{X - 34 * Scale, Y, 62 * Scale, 22 * Scale, 34 * Scale};
  GroundShadow(Cr, X + 10, Y, 80 * Scale, 22);
  DrawBlockWalls(Cr, Hall, Assets::Rgb(0xEBD3A8));
  DrawFlatTop(Cr, Hall, Assets::Rgb(0xEBD3A8));
  // The dome, lit from the upper left.
  const double DomeX = Hall.X + Hall.Width / 2 + Hall.DepthX() / 2,
               DomeY = Hall.Y - Hall.Height - Hall.DepthY() / 2;
  const double Radius = 17 * Scale;
  cairo_new_path(Cr);
  cairo_arc(Cr, DomeX, DomeY, Radius, M_PI, 2 * M_PI);
  cairo_close_path(Cr);
  cairo_pattern_t* Light = cairo_pattern_create_radial(DomeX - Radius * 0.4, DomeY - Radius * 0.6,
                                                       1, DomeX, DomeY, Radius * 1.2);
  cairo_pattern_add_color_stop_rgb(Light, 0, 0.93, 0.6, 0.42);
  cairo_pattern_add_color_stop_rgb(Light, 1, 0.55, 0.27, 0.16);
  cairo_set_source(Cr, Light);
  cairo_fill_preserve(Cr);
  cairo_pattern_destroy(Light);
  cairo_set_line_width(Cr, 0.8);
  SetColor(Cr, Palette::Ink, 0.55);
  cairo_stroke(Cr);
  // Arched windows and the pool in front.
  for (int Index = 0; Index < 4; ++Index) {
    const double WX = Hall.X + (Index + 0.7) * Hall.Width / 4.4;
    cairo_new_path(Cr);
    cairo_arc(Cr, WX, Hall.Y - Hall.Height * 0.55, 2.6 * Scale, M_PI, 2 * M_PI);
    cairo_line_to(Cr, WX + 2.6 * Scale, Hall.Y - Hall.Height * 0.2);
    cairo_line_to(Cr, WX - 2.6 * Scale, Hall.Y - Hall.Height * 0.2);
    cairo_close_path(Cr);
    SetColor(Cr, Assets::Rgb(0x4A3A30));
    cairo_fill(Cr);
  }
  cairo_rectangle(Cr, Hall.X + 4, Y + 3, 34 * Scale, 7 * Scale);
  FillOutlined(Cr, Palette::WaterLight, 0.7);
}

void DrawBoat(cairo_t* Cr, double X, double Y, double Size, bool Sail) {
  Polygon(Cr, {{X - Size, Y - Size * 0.25},
               {X + Size, Y - Size * 0.3},
               {X + Size * 0.7, Y + Size * 0.12},
               {X - Size * 0.75, Y + Size * 0.12}});
  FillOutlined(Cr, Assets::Shade(Palette::Wood, 1.05), 0.6);
  if (!Sail) return;
  cairo_rectangle(Cr, X - 0.5, Y - Size * 1.6, 1, Size * 1.4);
  SetColor(Cr, Assets::Shade(Palette::Wood, 0.7));
  cairo_fill(Cr);
  Polygon(Cr, {{X - Size * 0.7, Y - Size * 1.45},
               {X + Size * 0.7, Y - Size * 1.45},
               {X + Size * 0.6, Y - Size * 0.45},
               {X - Size * 0.6, Y - Size * 0.45}});
  FillOutlined(Cr, Assets::Rgb(0xF4EBDD), 0.6);
  cairo_move_to(Cr, X - Size * 1.1, Y + Size * 0.2);
  cairo_line_to(Cr, X + Size * 1.1, Y + Size * 0.2);
  cairo_set_line_width(Cr, 1);
  cairo_set_source_rgba(Cr, 1, 1, 1, 0.5);
  cairo_stroke(Cr);
}

void DrawHarbour(cairo_t* Cr, const TLot& Lot, int Stage) {
  // The quay along the shore and a mole reaching out into the bay.
  cairo_new_path(Cr);
  for (double Y = 396; Y <= 512; Y += 4)
    cairo_line_to(Cr, ShoreX(Y) - 9, Y);
  for (double Y = 512; Y >= 396; Y -= 4)
    cairo_line_to(Cr, ShoreX(Y) + 5, Y);
  cairo_close_path(Cr);
  FillOutlined(Cr, Assets::Rgb(0xCFC4AE));
  const double MoleRoot = ShoreX(446);
  Polygon(Cr, {{140, 452}, {MoleRoot, 440}, {MoleRoot, 446}, {142, 460}});
  FillOutlined(Cr, Palette::Stone);
  Polygon(Cr, {{142, 460}, {MoleRoot, 446}, {MoleRoot, 450}, {142, 465}});
  SetColor(Cr, Palette::StoneDark);
  cairo_fill(Cr);
  DrawBoat(Cr, 178, 478, 11, false);
  DrawBoat(Cr, 160, 430, 12, true);
  DrawBoat(Cr, 80, 330, 10, true);
  if (Stage >= 11) DrawBoat(Cr, 120, 250, 8, true);
  if (Stage >= 13) {
    DrawBoat(Cr, 40, 420, 13, true);
    DrawBoat(Cr, 210, 505, 10, false);
  }
  DrawCrowd(Cr, 240, 448, 16, 10, 6, Lot.Seed);
}

void DrawLighthouse(cairo_t* Cr, const TLot& Lot, int Stage) {
  const double X = Lot.At.X, Y = Lot.At.Y;
  const TBlock Tower{X - 6, Y, 12, 34, 8};
  DrawBlockWalls(Cr, Tower, Palette::Whitewash);
  const TBlock Lamp{X - 4, Y - 34, 8, 8, 6};
  DrawBlockWalls(Cr, Lamp, Assets::Shade(Palette::Stone, 0.9));
  DrawHippedRoof(Cr, Lamp, Palette::Terracotta, 5);
  if (Stage >= 13) {
    cairo_pattern_t* Glow = cairo_pattern_create_radial(X + 1, Y - 38, 1, X + 1, Y - 38, 14);
    cairo_pattern_add_color_stop_rgba(Glow, 0, 1, 0.85, 0.4, 0.9);
    cairo_pattern_add_color_stop_rgba(Glow, 1, 1, 0.85, 0.4, 0);
    cairo_set_source(Cr, Glow);
    cairo_arc(Cr, X + 1, Y - 38, 14, 0, 2 * M_PI);
    cairo_fill(Cr);
    cairo_pattern_destroy(Glow);
  }
}

void DrawTheatre(cairo_t* Cr, const TLot& Lot) {
  const double X = Lot.At.X, Y = Lot.At.Y;
  // Rows of seats in a half bowl cut into the slope, opening toward the viewer.
  for (int Row = 7; Row >= 0; --Row) {
    const double RadiusX = 22 + Row * 6.5, RadiusY = 8 + Row * 2.6;
    cairo_new_path(Cr);
    cairo_save(Cr);
    cairo_translate(Cr, X, Y);
    cairo_scale(Cr, RadiusX, RadiusY);
    cairo_arc(Cr, 0, 0, 1, M_PI, 2 * M_PI);
    cairo_restore(Cr);
    cairo_close_path(Cr);
    SetColor(Cr, Assets::Shade(Palette::Stone, Row % 2 ? 0.88 : 1.04));
    cairo_fill(Cr);
  }
  cairo_set_line_width(Cr, 0.8);
  SetColor(Cr, Palette::Ink, 0.45);
  NewEllipse(Cr, X, Y, 22 + 7 * 6.5, 8 + 7 * 2.6);
  cairo_stroke(Cr);
  NewEllipse(Cr, X, Y + 1, 20, 7);
  FillOutlined(Cr, Assets::Rgb(0xE6DAC0), 0.6);
  const TBlock Stage{X - 40, Y + 14, 80, 12, 6};
  GroundShadow(Cr, X, Y + 14, 90, 12);
  DrawBlockWalls(Cr, Stage, Assets::Rgb(0xEBD3A8));
  DrawColumns(Cr, Stage.X + 4, Stage.Y - 1, Stage.Width - 8, Stage.Height - 3, 8);
  DrawFlatTop(Cr, Stage, Assets::Rgb(0xEBD3A8));
}

// Arches striding from the mountains toward the town across the upper slope.
void DrawAqueduct(cairo_t* Cr) {
  const TXY From{kViewWidth + 10, 206}, To{700, 232};
  const int Arches = 14;
  for (int Arch = 0; Arch < Arches; ++Arch) {
    const double T0 = static_cast<double>(Arch) / Arches,
                 T1 = static_cast<double>(Arch + 1) / Arches;
    const double X0 = From.X + (To.X - From.X) * T0, X1 = From.X + (To.X - From.X) * T1;
    const double Y0 = From.Y + (To.Y - From.Y) * T0, Y1 = From.Y + (To.Y - From.Y) * T1;
    const double Height = 38 * DepthScale((Y0 + Y1) / 2) / DepthScale(230);
    const double Top0 = Y0 - Height, Top1 = Y1 - Height;
    cairo_new_path(Cr);
    cairo_move_to(Cr, X0, Top0);
    cairo_line_to(Cr, X1, Top1);
    cairo_line_to(Cr, X1, Y1);
    const double Pier = std::abs(X1 - X0) * 0.2;
    const double MidX = (X0 + X1) / 2, MidY = (Y0 + Y1) / 2;
    cairo_line_to(Cr, X1 + Pier, Y1);
    cairo_line_to(Cr, X1 + Pier, MidY - Height * 0.35);
    cairo_arc_negative(Cr, MidX, MidY - Height * 0.35, std::abs(X1 - X0) / 2 - Pier, 0, M_PI);
    cairo_line_to(Cr, X0 - Pier, Y0);
    cairo_line_to(Cr, X0, Y0);
    cairo_close_path(Cr);
    FillOutlined(Cr, Assets::Mix(Palette::Stone, Palette::Ochre, 0.3), 0.7);
  }
  cairo_move_to(Cr, From.X, From.Y - 38);
  cairo_line_to(Cr, To.X, To.Y - 38);
  cairo_set_line_width(Cr, 3);
  SetColor(Cr, Assets::Shade(Palette::Stone, 1.1));
  cairo_stroke(Cr);
}

void DrawVineyard(cairo_t* Cr, const TLot& Lot) {
  const double X = Lot.At.X, Y = Lot.At.Y;
  Polygon(Cr, {{X - 70, Y + 10}, {X + 10, Y - 24}, {X + 110, Y - 20}, {X + 40, Y + 30}});
  SetColor(Cr, Assets::Rgb(0xC2A870));
  cairo_fill(Cr);
  cairo_set_line_width(Cr, 3);
  cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
  SetColor(Cr, Assets::Rgb(0x5E7F3A));
  for (int Row = 0; Row < 8; ++Row) {
    const double T = Row / 8.0;
    cairo_move_to(Cr, X - 64 + T * 74 + 4, Y + 8 - T * 32);
    cairo_line_to(Cr, X + 40 + T * 66 - 4, Y + 28 - T * 46);
    cairo_stroke(Cr);
  }
}

void DrawVilla(cairo_t* Cr, const TLot& Lot) {
  const double X = Lot.At.X, Y = Lot.At.Y;
  NewEllipse(Cr, X + 4, Y + 6, 46, 14);
  SetColor(Cr, Assets::Rgb(0x9DBA5E));
  cairo_fill(Cr);
  const TBlock Wing{X - 34, Y - 6, 40, 18, 30};
  GroundShadow(Cr, X, Y, 70, 18);
  DrawBlockWalls(Cr, Wing, Palette::Whitewash);
  Assets::TRandom Random(Lot.Seed);
  DrawWindows(Cr, Wing, Random, true);
  DrawHippedRoof(Cr, Wing, Palette::Terracotta, 9);
  const TBlock Side{X + 8, Y + 2, 30, 14, 22};
  DrawBlockWalls(Cr, Side, Palette::Ochre);
  DrawHippedRoof(Cr, Side, Assets::Rgb(0xD9804F), 7);
  for (int Tree = 0; Tree < 5; ++Tree)
    DrawCypress(Cr, X - 40 + Tree * 18, Y + 20, 24);
}

void DrawFestival(cairo_t* Cr, int Stage) {
  if (Stage < 13) return;
  // Garlands of pennants over the square and a few more people about.
  static constexpr std::uint32_t kFlags[] = {0xC8643C, 0xF2C14E, 0x3F7FA8, 0xF4EBDD};
  for (int Line = 0; Line < 2; ++Line) {
    const double X0 = 430 + Line * 20, X1 = 530 + Line * 10, Y0 = 392 + Line * 14;
    cairo_move_to(Cr, X0, Y0);
    cairo_curve_to(Cr, X0 + 30, Y0 + 12, X1 - 30, Y0 + 12, X1, Y0 - 2);
    cairo_set_line_width(Cr, 0.6);
    SetColor(Cr, Palette::Ink, 0.6);
    cairo_stroke(Cr);
    for (int Flag = 1; Flag < 10; ++Flag) {
      const double T = Flag / 10.0;
      const double FX = X0 + (X1 - X0) * T, FY = Y0 + 9 * std::sin(T * M_PI) - 2 * T;
      Polygon(Cr, {{FX - 2.5, FY}, {FX + 2.5, FY}, {FX, FY + 5}});
      SetColor(Cr, Assets::Rgb(kFlags[Flag % 4]));
      cairo_fill(Cr);
    }
  }
  DrawCrowd(Cr, 560, 350, 40, 16, 10, 0xFE57ull);
  DrawCrowd(Cr, 650, 300, 30, 12, 6, 0xFE58ull);
}

void DrawOldHouse(cairo_t* Cr, const TWild& Thing) {
  Assets::TRandom Random(Thing.Seed);
  const double Scale = DepthScale(Thing.At.Y);
  const TBlock Block{Thing.At.X - 14 * Scale, Thing.At.Y, 30 * Scale, 18 * Scale, 18 * Scale};
  const TColor Wall = Assets::Rgb(0xC9B894);
  GroundShadow(Cr, Block.X + 20, Block.Y, 44 * Scale, 18);
  DrawBlockWalls(Cr, Block, Wall);
  DrawWindows(Cr, Block, Random, true);
  DrawHippedRoof(Cr, Block, Assets::Rgb(0x9C6A4E), 7 * Scale);
  // A hole in the roof and ivy on the wall.
  NewEllipse(Cr, Block.X + Block.Width * 0.6, Block.Y - Block.Height - 3 * Scale, 4 * Scale,
             2 * Scale);
  SetColor(Cr, Assets::Rgb(0x3A2A1E));
  cairo_fill(Cr);
  for (int Leaf = 0; Leaf < 6; ++Leaf) {
    NewEllipse(Cr, Block.X + Random.Range(0, 8) * Scale, Block.Y - Random.Range(2, 16) * Scale,
               3 * Scale, 2.4 * Scale);
    SetColor(Cr, Assets::Shade(Palette::Leaf, Random.Range(0.8, 1.1)));
    cairo_fill(Cr);
  }
}

void DrawRuin(cairo_t* Cr, const TWild& Thing) {
  Assets::TRandom Random(Thing.Seed);
  const double Scale = DepthScale(Thing.At.Y), X = Thing.At.X, Y = Thing.At.Y;
  // A broken wall with a jagged top, and rubble.
  cairo_new_path(Cr);
  cairo_move_to(Cr, X - 14 * Scale, Y);
  for (int Step = 0; Step <= 6; ++Step)
    cairo_line_to(Cr, X + (-14 + Step * 5) * Scale, Y - Random.Range(4, 14) * Scale);
  cairo_line_to(Cr, X + 16 * Scale, Y);
  cairo_close_path(Cr);
  FillOutlined(Cr, Assets::Shade(Palette::Stone, 0.95), 0.7);
  for (int Stone = 0; Stone < 5; ++Stone) {
    cairo_rectangle(Cr, X + Random.Range(-16, 16) * Scale, Y + Random.Range(-2, 3) * Scale,
                    3 * Scale, 2 * Scale);
    FillOutlined(Cr, Palette::Stone, 0.4);
  }
  NewEllipse(Cr, X - 10 * Scale, Y - 1, 6 * Scale, 3 * Scale);
  SetColor(Cr, Palette::Leaf, 0.9);
  cairo_fill(Cr);
}

void DrawColumnStump(cairo_t* Cr, const TWild& Thing) {
  Assets::TRandom Random(Thing.Seed);
  const double Height = Random.Range(5, 14);
  DrawColumns(Cr, Thing.At.X - 2.5, Thing.At.Y, 5, Height, 1);
}

void DrawWild(cairo_t* Cr, const TWild& Thing) {
  const double Scale = DepthScale(Thing.At.Y) * Thing.Size;
  switch (Thing.Kind) {
    case TWild::Tree:
      DrawRoundTree(Cr, Thing.At.X, Thing.At.Y, 20 * Scale,
                    Assets::Mix(Palette::Leaf, Palette::Olive, 0.3));
      break;
    case TWild::Pine: {
      cairo_rectangle(Cr, Thing.At.X - 1, Thing.At.Y - 18 * Scale, 2, 18 * Scale);
      SetColor(Cr, Palette::Wood);
      cairo_fill(Cr);
      GroundShadow(Cr, Thing.At.X, Thing.At.Y, 20 * Scale, 20);
      NewEllipse(Cr, Thing.At.X, Thing.At.Y - 20 * Scale, 14 * Scale, 6 * Scale);
      FillOutlined(Cr, Assets::Shade(Palette::Leaf, 0.8), 0.6);
      break;
    }
    case TWild::Cypress:
      DrawCypress(Cr, Thing.At.X, Thing.At.Y, 30 * Scale);
      break;
    case TWild::Bush:
      NewEllipse(Cr, Thing.At.X, Thing.At.Y - 4 * Scale, 9 * Scale, 5 * Scale);
      FillOutlined(Cr, Assets::Mix(Palette::Leaf, Palette::GrassDark, 0.5), 0.5);
      break;
    case TWild::Ruin:
      DrawRuin(Cr, Thing);
      break;
    case TWild::Column:
      DrawColumnStump(Cr, Thing);
      break;
    case TWild::OldHouse:
      DrawOldHouse(Cr, Thing);
      break;
  }
}

void DrawLot(cairo_t* Cr, const TLot& Lot, int Stage) {
  switch (Lot.Kind) {
    case TLotKind::House:
      return DrawHouse(Cr, Lot);
    case TLotKind::Fountain:
      return DrawFountain(Cr, Lot);
    case TLotKind::Market:
      return DrawMarket(Cr, Lot, Stage);
    case TLotKind::Garden:
      return DrawGarden(Cr, Lot);
    case TLotKind::Temple:
      return DrawTemple(Cr, Lot);
    case TLotKind::Baths:
      return DrawBaths(Cr, Lot);
    case TLotKind::Theatre:
      return DrawTheatre(Cr, Lot);
    case TLotKind::Villa:
      return DrawVilla(Cr, Lot);
    case TLotKind::Basilica:
      return DrawBasilica(Cr, Lot);
    case TLotKind::Lighthouse:
      return DrawLighthouse(Cr, Lot, Stage);
    case TLotKind::Festival:
      return DrawFestival(Cr, Stage);
    case TLotKind::Road:
    case TLotKind::Aqueduct:
    case TLotKind::Vineyard:
    case TLotKind::Harbour:
      return;  // drawn flat, under everything standing
  }
}

bool LiesFlat(TLotKind Kind) {
  return Kind == TLotKind::Road || Kind == TLotKind::Vineyard || Kind == TLotKind::Harbour;
}

void DrawGulls(cairo_t* Cr, int Stage) {
  Assets::TRandom Random(0x6011ull);
  const int Gulls = std::min(9, Stage);
  cairo_set_line_width(Cr, 1.2);
  SetColor(Cr, Assets::Rgb(0x44505A), 0.8);
  for (int Gull = 0; Gull < Gulls; ++Gull) {
    const double X = Random.Range(40, 420), Y = Random.Range(40, 150), Size = Random.Range(3, 6);
    cairo_move_to(Cr, X - Size, Y - Size * 0.3);
    cairo_curve_to(Cr, X - Size * 0.5, Y - Size * 0.8, X - 1, Y - Size * 0.4, X, Y);
    cairo_curve_to(Cr, X + 1, Y - Size * 0.4, X + Size * 0.5, Y - Size * 0.8, X + Size,
                   Y - Size * 0.3);
    cairo_stroke(Cr);
  }
}

Assets::TPicture ViewPicture(const TScene& Scene, const Assets::TPicture& Land, int Stage) {
  Assets::TCanvas Canvas(kViewWidth, kViewHeight);
  cairo_t* Cr = Canvas.Cr();
  Canvas.Put(Land);
  std::vector<const TLot*> Built;
  for (const TLot& Lot : Scene.Lots)
    if (Lot.Stage <= Stage) Built.push_back(&Lot);

  for (const TLot* Lot : Built)
    if (Lot->Kind == TLotKind::Aqueduct) DrawAqueduct(Cr);
  for (const TLot* Lot : Built)
    if (Lot->Kind != TLotKind::Road && Lot->Clears > 0) DrawClearing(Cr, *Lot);
  for (const TLot* Lot : Built) {
    if (Lot->Kind == TLotKind::Road) DrawRoad(Cr, *Lot);
    if (Lot->Kind == TLotKind::Vineyard) DrawVineyard(Cr, *Lot);
    if (Lot->Kind == TLotKind::Harbour) DrawHarbour(Cr, *Lot, Stage);
  }

  // Everything standing, back to front.
  struct TStanding {
    double Y;
    const TLot* Lot;
    const TWild* Wild;
  };
  std::vector<TStanding> Standing;
  for (const TLot* Lot : Built)
    if (!LiesFlat(Lot->Kind)) Standing.push_back({Lot->At.Y, Lot, nullptr});
  for (const TWild& Thing : Scene.Wild)
    if (!Cleared(Thing, Built)) Standing.push_back({Thing.At.Y, nullptr, &Thing});
  std::stable_sort(Standing.begin(), Standing.end(),
                   [](const TStanding& A, const TStanding& B) { return A.Y < B.Y; });
  for (const TStanding& Thing : Standing) {
    if (Thing.Lot) DrawLot(Cr, *Thing.Lot, Stage);
    if (Thing.Wild) DrawWild(Cr, *Thing.Wild);
  }
  DrawGulls(Cr, Stage);
  return Canvas.Picture();
}

// Both view generators draw over the same scene and backdrop: each is made once, by whichever
// generator asks first.
const TScene& SharedScene() {
  static const TScene Scene = BuildScene();
  return Scene;
}

const Assets::TPicture& SharedBackdrop() {
  static const Assets::TPicture Land = Backdrop();
  return Land;
}

void GenerateViews(Assets::TOutput& Output, int First, int Last) {
  const TScene& Scene = SharedScene();
  const Assets::TPicture& Land = SharedBackdrop();
  for (int Stage = First; Stage <= Last; ++Stage)
    Output.Texture("View" + std::to_string(Stage), ViewPicture(Scene, Land, Stage),
                   Assets::TDdsFormat::Dxt1Fast);
}

void GenerateEarlyViews(Assets::TOutput& Output) {
  GenerateViews(Output, 1, 7);
}
void GenerateLateViews(Assets::TOutput& Output) {
  GenerateViews(Output, 8, kStages);
}

const Assets::TGeneratorRegistration EarlyRegistration("views-a", &GenerateEarlyViews);
const Assets::TGeneratorRegistration LateRegistration("views-b", &GenerateLateViews);

}  // namespace

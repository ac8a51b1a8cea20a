// AssetsMaps.cpp -- "Map1".."Map24": the sunlit ground under the 5 x 5 pane grid of a scenario,
// its river or lake where the scenario has one, and the countryside that frames the grid.
//
// Everything is drawn on the ground plane in grid units: (Row, Column) continuous, pane (r, c)
// covering [r - 0.5, r + 0.5] x [c - 0.5, c + 0.5]. One affine matrix takes the ground plane to
// the picture, so cairo strokes and fills made in grid units lie flat on the isometric ground.
#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "AssetsCore.h"

namespace {

using Assets::TColor;

constexpr int kMapWidth = 1600;
constexpr int kMapHeight = 800;
constexpr double kScale = kMapWidth / 1280.0;  // picture pixels per design unit
constexpr int kGridSize = 5;
constexpr double kGridLow = -0.5;
constexpr double kGridHigh = kGridSize - 0.5;

struct TPoint {
  double Row = 0, Column = 0;
};

// --- the ground plane and the picture ---------------------------------------------------------

// In design units: where ground (0, 0) lies, and how far the picture moves right for each step of
// Row + Column and down for each step of Column - Row.
constexpr double kOriginX = 136, kOriginY = 320;
constexpr double kAcross = 126, kDown = 63;

cairo_matrix_t GroundToPicture() {
  cairo_matrix_t Matrix;
  cairo_matrix_init(&Matrix, kAcross * kScale, -kDown * kScale, kAcross * kScale, kDown * kScale,
                    kOriginX * kScale, kOriginY * kScale);
  return Matrix;
}

// The same mapping as GroundToPicture, for single points: X in Row, Y in Column.
TPoint ToPicture(const TPoint& Ground) {
  return {(kOriginX + (Ground.Row + Ground.Column) * kAcross) * kScale,
          (kOriginY + (Ground.Column - Ground.Row) * kDown) * kScale};
}

TPoint PictureToGround(double X, double Y) {
  const double Sum = (X / kScale - kOriginX) / kAcross;       // Row + Column
  const double Difference = (Y / kScale - kOriginY) / kDown;  // Column - Row
  return {(Sum - Difference) / 2, (Sum + Difference) / 2};
}

// How far (in grid units) a ground point lies outside the pane grid; negative inside.
double OutsideDistance(const TPoint& Ground) {
  return std::max({kGridLow - Ground.Row, Ground.Row - kGridHigh, kGridLow - Ground.Column,
                   Ground.Column - kGridHigh});
}

// --- which maps have water --------------------------------------------------------------------

enum class TWaterKind { None, River, Lake };

struct TCell {
  int Row = 0, Column = 0;
  bool operator<(const TCell& Other) const {
    return Row != Other.Row ? Row < Other.Row : Column < Other.Column;
  }
};

struct TMapWater {
  TWaterKind Kind = TWaterKind::None;
  std::vector<TCell> Cells;  // a river's cells in the order it flows through them
};

TMapWater WaterOfMap(int Map) {
  switch (Map) {
    case 1:
      return {TWaterKind::River, {{3, 0}, {3, 1}, {3, 2}, {4, 2}}};
    case 4:
      return {TWaterKind::Lake, {{0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 1}, {1, 2}, {2, 0}, {2, 1}}};
    case 7:
      return {TWaterKind::River, {{1, 0}, {1, 1}, {1, 2}, {1, 3}, {1, 4}}};
    case 13:
      return {TWaterKind::Lake, {{3, 3}, {3, 4}, {4, 2}, {4, 3}, {4, 4}}};
    case 14:
      return {TWaterKind::River, {{0, 2}, {1, 2}, {2, 2}, {3, 2}, {4, 2}}};
    default:
      return {};
  }
}

// --- the grass and the countryside, pixel by pixel ----------------------------------------------

struct TMapLook {
  std::uint32_t Seed = 0;
  double Dryness = 0;      // -1 lusher .. 1 drier, a small shift of the grass tone
  double EarthAmount = 0;  // how much bare earth shows through
};

TMapLook LookOfMap(int Map) {
  Assets::TRandom Random(0x6D61700000ull + static_cast<std::uint64_t>(Map) * 7919);
  TMapLook Look;
  Look.Seed = static_cast<std::uint32_t>(Random.Next());
  Look.Dryness = Random.Range(-0.6, 0.6);
  Look.EarthAmount = Random.Range(0.0, 1.0);
  return Look;
}

TColor GrassAt(const TPoint& Ground, const TMapLook& Look) {
  const std::uint32_t Seed = Look.Seed;
  const double Patches = Assets::FractalNoise(Ground.Row * 1.7, Ground.Column * 1.7, Seed, 3);
  const double Tone = Assets::Noise(Ground.Row * 5.0, Ground.Column * 5.0, Seed + 11);
  const double Earth = Assets::FractalNoise(Ground.Row * 3.1, Ground.Column * 3.1, Seed + 37, 3);

  const TColor Lush = Assets::Mix(Assets::Palette::Grass, Assets::Palette::Leaf, 0.12);
  const TColor Dry = Assets::Mix(Assets::Palette::Grass, Assets::Rgb(0xC2BE74), 0.45);
  TColor Base = Look.Dryness < 0 ? Assets::Mix(Assets::Palette::Grass, Lush, -Look.Dryness)
                                 : Assets::Mix(Assets::Palette::Grass, Dry, Look.Dryness * 0.5);
  const double Light = Assets::SmoothStep(0.3, 0.75, Patches);
  TColor Color =
      Assets::Mix(Assets::Mix(Assets::Palette::GrassDark, Base, 0.55 + 0.45 * Light),
                  Assets::Palette::GrassLight, 0.55 * Assets::SmoothStep(0.55, 0.85, Patches));
  Color = Assets::Mix(Color, Assets::Rgb(0xB9B86E), 0.25 * Assets::SmoothStep(0.55, 0.9, Tone));

  const double EarthThreshold = 0.70 - 0.05 * Look.EarthAmount;
  const double EarthWeight = Assets::SmoothStep(EarthThreshold, EarthThreshold + 0.06, Earth);
  if (EarthWeight > 0) {
    const TColor Soil = Assets::Mix(Assets::Palette::Earth, Assets::Palette::Sand, 0.2);
    Color = Assets::Mix(Color, Soil, 0.75 * EarthWeight);
  }
  return Color;
}

// The fields beyond the grid: a warped patchwork of pasture, wheat, ploughed earth, crops in rows
// and olive groves, separated by hedgerows.
TColor FieldAt(const TPoint& Ground, const TColor& Meadow, const TMapLook& Look) {
  const std::uint32_t Seed = Look.Seed + 101;
  const double WarpRow =
      Ground.Row + 0.25 * (Assets::Noise(Ground.Row * 0.9, Ground.Column * 0.9, Seed) - 0.5);
  const double WarpColumn =
      Ground.Column + 0.25 * (Assets::Noise(Ground.Row * 0.9 + 7, Ground.Column * 0.9, Seed) - 0.5);
  const double FieldRow = WarpRow / 1.15, FieldColumn = WarpColumn / 0.8;
  const int IndexRow = static_cast<int>(std::floor(FieldRow));
  const int IndexColumn = static_cast<int>(std::floor(FieldColumn));
  const double Kind = Assets::Noise(IndexRow, IndexColumn, Seed + 5);
  const double Shade = 0.9 + 0.2 * Assets::Noise(IndexRow, IndexColumn, Seed + 6);
  const bool RowsAlongColumns = Assets::Noise(IndexRow, IndexColumn, Seed + 7) < 0.5;
  const double Along = RowsAlongColumns ? WarpColumn : WarpRow;
  const double Stripe = 0.5 + 0.5 * std::sin(Along * 2 * M_PI * 14);

  TColor Color;
  if (Kind < 0.3) {
    Color = Assets::Shade(Assets::Mix(Meadow, Assets::Palette::GrassDark, 0.5), Shade);
  } else if (Kind < 0.5) {
    Color = Assets::Shade(Assets::Mix(Assets::Rgb(0xD8BD6A), Assets::Rgb(0xC9A955), Stripe * 0.6),
                          Shade);
  } else if (Kind < 0.65) {
    Color = Assets::Shade(Assets::Mix(Assets::Rgb(0xB48C5C), Assets::Rgb(0x9A7448), Stripe), Shade);
  } else if (Kind < 0.82) {
    Color = Assets::Shade(Assets::Mix(Assets::Rgb(0x94AE58), Assets::Rgb(0x6F8A42), Stripe), Shade);
  } else {
    // An olive grove: dark round crowns on a lattice, each with its shadow to the lower right.
    Color = Assets::Shade(Assets::Mix(Meadow, Assets::Palette::Earth, 0.35), Shade);
    const double TreeRow = WarpRow * 9, TreeColumn = WarpColumn * 9;
    const double DRow = TreeRow - std::floor(TreeRow) - 0.5,
                 DColumn = TreeColumn - std::floor(TreeColumn) - 0.5;
    const double Crown = std::hypot(DRow + 0.08, DColumn + 0.08);
    const double Shadow = std::hypot(DRow - 0.1, DColumn + 0.12);
    if (Shadow < 0.3) Color = Assets::Shade(Color, 0.75);
    if (Crown < 0.26) Color = Assets::Shade(Assets::Palette::Olive, 0.75 + 0.5 * (0.26 - Crown));
  }
  // Hedgerows along the field borders.
  const double EdgeRow = std::min(FieldRow - IndexRow, 1 - (FieldRow - IndexRow)) * 1.15;
  const double EdgeColumn =
      std::min(FieldColumn - IndexColumn, 1 - (FieldColumn - IndexColumn)) * 0.8;
  const double Hedge = 1 - Assets::SmoothStep(0.006, 0.02, std::min(EdgeRow, EdgeColumn));
  // Distant fields stay muted so that the grid stays the brightest thing in the picture.
  Color = Assets::Mix(Color, Meadow, 0.3);
  return Assets::Mix(Color, Assets::Mix(Assets::Palette::Cypress, Assets::Palette::GrassDark, 0.4),
                     0.6 * Hedge);
}

std::uint8_t ToByte(double Value) {
  return static_cast<std::uint8_t>(std::lround(std::clamp(Value, 0.0, 1.0) * 255));
}

// The ground's colour without its fine grain, every other pixel; the picture interpolates it.
std::vector<TColor> CoarseGround(const TMapLook& Look, int Columns, int Rows) {
  std::vector<TColor> Coarse(static_cast<std::size_t>(Columns) * static_cast<std::size_t>(Rows));
  for (int Row = 0; Row < Rows; ++Row)
    for (int Column = 0; Column < Columns; ++Column) {
      const TPoint Ground = PictureToGround(Column * 2 + 0.5, Row * 2 + 0.5);
      TColor Color = GrassAt(Ground, Look);
      const double FieldWeight = Assets::SmoothStep(0.12, 0.4, OutsideDistance(Ground));
      if (FieldWeight > 0) Color = Assets::Mix(Color, FieldAt(Ground, Color, Look), FieldWeight);
      Coarse[static_cast<std::size_t>(Row) * static_cast<std::size_t>(Columns) +
             static_cast<std::size_t>(Column)] = Color;
    }
  return Coarse;
}

Assets::TPicture GroundPicture(const TMapLook& Look) {
  const int Columns = kMapWidth / 2 + 1, Rows = kMapHeight / 2 + 1;
  const std::vector<TColor> Coarse = CoarseGround(Look, Columns, Rows);
  auto At = [&](int Column, int Row) -> const TColor& {
    return Coarse[static_cast<std::size_t>(Row) * static_cast<std::size_t>(Columns) +
                  static_cast<std::size_t>(Column)];
  };
  Assets::TPicture Picture(kMapWidth, kMapHeight);
  for (int Y = 0; Y < kMapHeight; ++Y)
    for (int X = 0; X < kMapWidth; ++X) {
      const int Column = X / 2, Row = Y / 2;
      const double TX = (X % 2) * 0.5, TY = (Y % 2) * 0.5;
      const TColor Color =
          Assets::Mix(Assets::Mix(At(Column, Row), At(Column + 1, Row), TX),
                      Assets::Mix(At(Column, Row + 1), At(Column + 1, Row + 1), TX), TY);
      // Fine grain stretched upright, like blades of grass.
      const double Blades = Assets::Noise(X * 0.55 / kScale, Y * 0.22 / kScale, Look.Seed + 23);
      const double Grain = 0.93 + 0.12 * Blades;
      std::uint8_t* Pixel = Picture.At(X, Y);
      Pixel[0] = ToByte(Color.R * Grain);
      Pixel[1] = ToByte(Color.G * Grain);
      Pixel[2] = ToByte(Color.B * Grain);
      Pixel[3] = 255;
    }
  return Picture;
}

// Outside the grid the land darkens and greys into a soft vignette, with a darker seam right
// along the grid's edge, so the play area reads at a glance.
void FrameTheGrid(Assets::TPicture& Picture) {
  for (int Y = 0; Y < kMapHeight; ++Y)
    for (int X = 0; X < kMapWidth; ++X) {
      const TPoint Ground = PictureToGround(X + 0.5, Y + 0.5);
      const double Outside = OutsideDistance(Ground);
      if (Outside < -0.02) continue;
      const double Beyond = Assets::SmoothStep(-0.01, 0.03, Outside);
      const double Seam = std::exp(-std::abs(Outside - 0.012) / 0.01) * 0.18;
      const double CentreX = (X + 0.5) / kMapWidth * 2 - 1,
                   CentreY = (Y + 0.5) / kMapHeight * 2 - 1;
      const double Vignette = Assets::SmoothStep(0.9, 2.0, CentreX * CentreX + CentreY * CentreY);
      const double Light = (1 - 0.16 * Beyond - Seam) * (1 - 0.45 * Vignette * Beyond);
      const double Grey = 0.3 * Beyond + 0.2 * Vignette;
      std::uint8_t* Pixel = Picture.At(X, Y);
      const double Luma = 0.3 * Pixel[0] + 0.59 * Pixel[1] + 0.11 * Pixel[2];
      for (int Channel = 0; Channel < 3; ++Channel) {
        const double Value = (Pixel[Channel] + (Luma - Pixel[Channel]) * Grey) * Light;
        Pixel[Channel] = static_cast<std::uint8_t>(std::lround(std::clamp(Value, 0.0, 255.0)));
      }
    }
}

// --- wildflowers --------------------------------------------------------------------------------

void DrawWildflowers(cairo_t* Cr, const TMapLook& Look) {
  static constexpr std::array<std::uint32_t, 6> kPetals = {0xFFFFF4, 0xF6D84A, 0xF4F0E6,
                                                           0xE88FB0, 0xB79BE0, 0xD9483A};
  Assets::TRandom Random(Look.Seed ^ 0xF10E5ull);
  const int Clusters = Random.Int(26, 40);
  for (int Cluster = 0; Cluster < Clusters; ++Cluster) {
    const TPoint Centre{Random.Range(-0.35, 4.35), Random.Range(-0.35, 4.35)};
    const TColor Petal =
        Assets::Rgb(kPetals[static_cast<std::size_t>(Random.Int(0, kPetals.size() - 1))]);
    const int Flowers = Random.Int(5, 16);
    for (int Flower = 0; Flower < Flowers; ++Flower) {
      const TPoint Spot{Centre.Row + Random.Range(-0.12, 0.12),
                        Centre.Column + Random.Range(-0.12, 0.12)};
      if (OutsideDistance(Spot) > -0.04) continue;
      const TPoint At = ToPicture(Spot);
      const double X = At.Row, Y = At.Column;
      const double Radius = Random.Range(1.0, 1.7) * kScale;
      cairo_set_source_rgba(Cr, 0.2, 0.3, 0.1, 0.35);
      cairo_arc(Cr, X + 0.7 * kScale, Y + 0.7 * kScale, Radius, 0, 2 * M_PI);
      cairo_fill(Cr);
      Assets::SetColor(Cr, Petal, 0.95);
      cairo_arc(Cr, X, Y, Radius, 0, 2 * M_PI);
      cairo_fill(Cr);
    }
  }
}

// --- water ---------------------------------------------------------------------------------------

using TOutline = std::vector<TPoint>;

// The outline of a set of cells (one loop; the lakes are simply connected), counter-clockwise
// in (Row, Column), pulled Inset grid units inside the cells.
TOutline CellsOutline(const std::vector<TCell>& Cells, double Inset) {
  auto Has = [&Cells](int Row, int Column) {
    return std::any_of(Cells.begin(), Cells.end(),
                       [&](const TCell& Cell) { return Cell.Row == Row && Cell.Column == Column; });
  };
  // Corners in doubled coordinates; each boundary edge keeps the cells on its left.
  std::map<std::pair<int, int>, std::pair<int, int>> NextCorner;
  for (const TCell& Cell : Cells) {
    const int R = Cell.Row * 2, C = Cell.Column * 2;
    if (!Has(Cell.Row, Cell.Column - 1)) NextCorner[{R - 1, C - 1}] = {R + 1, C - 1};
    if (!Has(Cell.Row + 1, Cell.Column)) NextCorner[{R + 1, C - 1}] = {R + 1, C + 1};
    if (!Has(Cell.Row, Cell.Column + 1)) NextCorner[{R + 1, C + 1}] = {R - 1, C + 1};
    if (!Has(Cell.Row - 1, Cell.Column)) NextCorner[{R - 1, C + 1}] = {R - 1, C - 1};
  }
  std::vector<std::pair<int, int>> Loop;
  if (NextCorner.empty()) return {};
  std::pair<int, int> Corner = NextCorner.begin()->first;
  do {
    Loop.push_back(Corner);
    Corner = NextCorner[Corner];
  } while (Corner != Loop.front() && Loop.size() <= NextCorner.size());

  // Keep the turning corners only, each moved inward along both of its edges' inner normals.
  TOutline Outline;
  const std::size_t Count = Loop.size();
  for (std::size_t Index = 0; Index < Count; ++Index) {
    const auto& Previous = Loop[(Index + Count - 1) % Count];
    const auto& Here = Loop[Index];
    const auto& Next = Loop[(Index + 1) % Count];
    const int InRow = Here.first - Previous.first, InColumn = Here.second - Previous.second;
    const int OutRow = Next.first - Here.first, OutColumn = Next.second - Here.second;
    if (InRow * OutColumn - InColumn * OutRow == 0) continue;
    auto Normal = [](int Row, int Column) { return TPoint{-Column / 2.0, Row / 2.0}; };
    const TPoint A = Normal(InRow, InColumn), B = Normal(OutRow, OutColumn);
    Outline.push_back({Here.first / 2.0 + Inset * (A.Row + B.Row),
                       Here.second / 2.0 + Inset * (A.Column + B.Column)});
  }
  return Outline;
}

TOutline Chaikin(const TOutline& Outline, int Rounds) {
  TOutline Result = Outline;
  for (int Round = 0; Round < Rounds; ++Round) {
    TOutline Smoothed;
    const std::size_t Count = Result.size();
    for (std::size_t Index = 0; Index < Count; ++Index) {
      const TPoint& A = Result[Index];
      const TPoint& B = Result[(Index + 1) % Count];
      Smoothed.push_back({A.Row * 0.75 + B.Row * 0.25, A.Column * 0.75 + B.Column * 0.25});
      Smoothed.push_back({A.Row * 0.25 + B.Row * 0.75, A.Column * 0.25 + B.Column * 0.75});
    }
    Result = std::move(Smoothed);
  }
  return Result;
}

// Splits the closed outline into steps of about Step and pushes every point out or in by noise,
// so straight shores become natural ones.
TOutline Roughen(const TOutline& Outline, double Step, double Amount, std::uint32_t Seed) {
  TOutline Result;
  const std::size_t Count = Outline.size();
  for (std::size_t Index = 0; Index < Count; ++Index) {
    const TPoint& A = Outline[Index];
    const TPoint& B = Outline[(Index + 1) % Count];
    const double Length = std::hypot(B.Row - A.Row, B.Column - A.Column);
    const int Steps = std::max(1, static_cast<int>(std::ceil(Length / Step)));
    const TPoint Normal{-(B.Column - A.Column) / std::max(Length, 1e-9),
                        (B.Row - A.Row) / std::max(Length, 1e-9)};
    for (int StepIndex = 0; StepIndex < Steps; ++StepIndex) {
      const double T = static_cast<double>(StepIndex) / Steps;
      const TPoint P{A.Row + (B.Row - A.Row) * T, A.Column + (B.Column - A.Column) * T};
      const double Push =
          (Assets::FractalNoise(P.Row * 3, P.Column * 3, Seed, 3) - 0.5) * 2 * Amount;
      Result.push_back({P.Row + Normal.Row * Push, P.Column + Normal.Column * Push});
    }
  }
  return Result;
}

TOutline LakeOutline(const std::vector<TCell>& Cells, std::uint32_t Seed) {
  // A lake that meets the grid's edge carries on into the countryside: every cell beyond the edge
  // whose nearest grid cell is a lake cell is water too.
  constexpr int kReach = 2;
  std::vector<TCell> Extended = Cells;
  for (const TCell& Cell : Cells)
    for (int Row = Cell.Row - kReach; Row <= Cell.Row + kReach; ++Row)
      for (int Column = Cell.Column - kReach; Column <= Cell.Column + kReach; ++Column) {
        const bool Beyond = Row < 0 || Row >= kGridSize || Column < 0 || Column >= kGridSize;
        const bool NearestIsCell = std::clamp(Row, 0, kGridSize - 1) == Cell.Row &&
                                   std::clamp(Column, 0, kGridSize - 1) == Cell.Column;
        if (Beyond && NearestIsCell) Extended.push_back({Row, Column});
      }
  return Roughen(Chaikin(CellsOutline(Extended, 0.1), 3), 0.04, 0.07, Seed);
}

// A Catmull-Rom curve through the points, Steps samples per span.
std::vector<TPoint> SmoothCurve(const std::vector<TPoint>& Points, int Steps) {
  std::vector<TPoint> Curve;
  const std::size_t Count = Points.size();
  for (std::size_t Index = 0; Index + 1 < Count; ++Index) {
    const TPoint& P0 = Points[Index == 0 ? 0 : Index - 1];
    const TPoint& P1 = Points[Index];
    const TPoint& P2 = Points[Index + 1];
    const TPoint& P3 = Points[std::min(Index + 2, Count - 1)];
    for (int Step = 0; Step < Steps; ++Step) {
      const double T = static_cast<double>(Step) / Steps, T2 = T * T, T3 = T2 * T;
      auto Blend = [&](double A, double B, double C, double D) {
        return 0.5 * (2 * B + (C - A) * T + (2 * A - 5 * B + 4 * C - D) * T2 +
                      (3 * B - A - 3 * C + D) * T3);
      };
      Curve.push_back({Blend(P0.Row, P1.Row, P2.Row, P3.Row),
                       Blend(P0.Column, P1.Column, P2.Column, P3.Column)});
    }
  }
  Curve.push_back(Points.back());
  return Curve;
}

// The river's banks as one closed outline: down the left bank and back up the right one. The river
// runs through the centres of its cells and on, straight, out of the picture at both ends.
TOutline RiverOutline(const std::vector<TCell>& Cells, std::uint32_t Seed) {
  const TCell& First = Cells.front();
  const TCell& Second = Cells.size() > 1 ? Cells[1] : Cells.front();
  const TCell& Last = Cells.back();
  const TCell& BeforeLast = Cells.size() > 1 ? Cells[Cells.size() - 2] : Cells.back();
  const TPoint InFrom{static_cast<double>(First.Row - Second.Row),
                      static_cast<double>(First.Column - Second.Column)};
  const TPoint OutTo{static_cast<double>(Last.Row - BeforeLast.Row),
                     static_cast<double>(Last.Column - BeforeLast.Column)};
  std::vector<TPoint> Points;
  for (double Far : {4.0, 2.0, 1.0})
    Points.push_back({First.Row + InFrom.Row * Far, First.Column + InFrom.Column * Far});
  for (const TCell& Cell : Cells)
    Points.push_back({static_cast<double>(Cell.Row), static_cast<double>(Cell.Column)});
  for (double Far : {1.0, 2.0, 4.0})
    Points.push_back({Last.Row + OutTo.Row * Far, Last.Column + OutTo.Column * Far});
  const std::vector<TPoint> Centre = SmoothCurve(Points, 24);

  std::vector<TPoint> Left, Right;
  double Travelled = 0;
  for (std::size_t Index = 0; Index < Centre.size(); ++Index) {
    const TPoint& A = Centre[Index == 0 ? 0 : Index - 1];
    const TPoint& B = Centre[std::min(Index + 1, Centre.size() - 1)];
    const double Length = std::max(std::hypot(B.Row - A.Row, B.Column - A.Column), 1e-9);
    const TPoint Normal{-(B.Column - A.Column) / Length, (B.Row - A.Row) / Length};
    if (Index > 0)
      Travelled += std::hypot(Centre[Index].Row - Centre[Index - 1].Row,
                              Centre[Index].Column - Centre[Index - 1].Column);
    const double Sway = 0.07 * std::sin(Travelled * 2 * M_PI / 1.7 + Seed % 7);
    const double HalfWidth =
        0.2 + 0.05 * (Assets::FractalNoise(Travelled * 2.5, 0.5, Seed, 2) - 0.5);
    const double LeftBank =
        HalfWidth + 0.06 * (Assets::FractalNoise(Travelled * 5, 3.5, Seed + 1, 2) - 0.5);
    const double RightBank =
        HalfWidth + 0.06 * (Assets::FractalNoise(Travelled * 5, 9.5, Seed + 2, 2) - 0.5);
    const TPoint Middle{Centre[Index].Row + Normal.Row * Sway,
                        Centre[Index].Column + Normal.Column * Sway};
    Left.push_back({Middle.Row + Normal.Row * LeftBank, Middle.Column + Normal.Column * LeftBank});
    Right.push_back(
        {Middle.Row - Normal.Row * RightBank, Middle.Column - Normal.Column * RightBank});
  }
  TOutline Outline = Left;
  Outline.insert(Outline.end(), Right.rbegin(), Right.rend());
  return Outline;
}

void OutlinePath(cairo_t* Cr, const TOutline& Outline) {
  cairo_new_path(Cr);
  for (const TPoint& Point : Outline)
    cairo_line_to(Cr, Point.Row, Point.Column);
  cairo_close_path(Cr);
}

// Sand and damp grass around the water, then the water from deep to the light shallows at the
// shore, soft because each band is a stack of faint strokes of the outline.
void DrawWaterBody(cairo_t* Cr, const TOutline& Outline, double Depth) {
  const cairo_matrix_t Ground = GroundToPicture();
  cairo_save(Cr);
  cairo_transform(Cr, &Ground);
  cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
  OutlinePath(Cr, Outline);
  for (int Layer = 0; Layer < 5; ++Layer) {
    cairo_set_line_width(Cr, 0.36 - Layer * 0.04);
    Assets::SetColor(Cr, Assets::Shade(Assets::Palette::GrassDark, 0.85), 0.12);
    cairo_stroke_preserve(Cr);
  }
  cairo_set_line_width(Cr, 0.2);
  Assets::SetColor(Cr, Assets::Mix(Assets::Palette::Sand, Assets::Palette::Earth, 0.35), 1);
  cairo_stroke_preserve(Cr);
  cairo_set_line_width(Cr, 0.15);
  Assets::SetColor(Cr, Assets::Palette::Sand, 1);
  cairo_stroke_preserve(Cr);

  Assets::SetColor(Cr, Assets::Palette::WaterDeep, 1);
  cairo_fill_preserve(Cr);
  cairo_clip_preserve(Cr);
  constexpr int kDeepLayers = 24, kShallowLayers = 10;
  for (int Layer = 0; Layer < kDeepLayers; ++Layer) {
    cairo_set_line_width(Cr, Depth * (1.0 - Layer / double(kDeepLayers)));
    Assets::SetColor(Cr, Assets::Palette::Water, 0.085);
    cairo_stroke_preserve(Cr);
  }
  for (int Layer = 0; Layer < kShallowLayers; ++Layer) {
    cairo_set_line_width(Cr, Depth * 0.34 * (1.0 - Layer / double(kShallowLayers)));
    Assets::SetColor(Cr, Assets::Palette::WaterLight, 0.09);
    cairo_stroke_preserve(Cr);
  }
  cairo_set_line_width(Cr, 0.05);
  Assets::SetColor(Cr, Assets::Mix(Assets::Palette::Sand, Assets::Palette::WaterLight, 0.5), 0.7);
  cairo_stroke_preserve(Cr);
  cairo_new_path(Cr);
  cairo_restore(Cr);
}

bool InsideOutline(const TOutline& Outline, const TPoint& Point) {
  bool Inside = false;
  const std::size_t Count = Outline.size();
  for (std::size_t Index = 0, Previous = Count - 1; Index < Count; Previous = Index++) {
    const TPoint& A = Outline[Index];
    const TPoint& B = Outline[Previous];
    if ((A.Column > Point.Column) != (B.Column > Point.Column) &&
        Point.Row < (B.Row - A.Row) * (Point.Column - A.Column) / (B.Column - A.Column) + A.Row)
      Inside = !Inside;
  }
  return Inside;
}

double DistanceToOutline(const TOutline& Outline, const TPoint& Point) {
  double Best = 1e9;
  const std::size_t Count = Outline.size();
  for (std::size_t Index = 0; Index < Count; ++Index) {
    const TPoint& A = Outline[Index];
    const TPoint& B = Outline[(Index + 1) % Count];
    const double DRow = B.Row - A.Row, DColumn = B.Column - A.Column;
    const double Length2 = std::max(DRow * DRow + DColumn * DColumn, 1e-12);
    const double T = std::clamp(
        ((Point.Row - A.Row) * DRow + (Point.Column - A.Column) * DColumn) / Length2, 0.0, 1.0);
    Best = std::min(
        Best, std::hypot(Point.Row - A.Row - DRow * T, Point.Column - A.Column - DColumn * T));
  }
  return Best;
}

// Faint ripples lying flat on the water, darker and lighter, so open water is not a flat fill.
void DrawRipples(cairo_t* Cr, const TOutline& Outline, std::uint32_t Seed) {
  Assets::TRandom Random(Seed ^ 0x219ull);
  const cairo_matrix_t Ground = GroundToPicture();
  cairo_save(Cr);
  cairo_transform(Cr, &Ground);
  OutlinePath(Cr, Outline);
  cairo_clip(Cr);
  cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
  for (int Ripple = 0; Ripple < 700; ++Ripple) {
    const TPoint At{Random.Range(-1.5, 6.5), Random.Range(-1.5, 6.5)};
    const double Length = Random.Range(0.06, 0.16);
    const bool Light = Random.Uniform() < 0.5;
    cairo_set_line_width(Cr, Random.Range(0.008, 0.016));
    Assets::SetColor(Cr, Light ? Assets::Palette::WaterLight : Assets::Palette::WaterDeep, 0.22);
    // Along Row + Column is across the picture; a small lift toward +Row bows it upward.
    cairo_move_to(Cr, At.Row - Length / 2, At.Column - Length / 2);
    cairo_curve_to(Cr, At.Row - Length / 4 + 0.015, At.Column - Length / 4 - 0.015,
                   At.Row + Length / 4 + 0.015, At.Column + Length / 4 - 0.015, At.Row + Length / 2,
                   At.Column + Length / 2);
    cairo_stroke(Cr);
  }
  cairo_restore(Cr);
}

// Sun glints: short light ripples lying across the picture, on open water away from the shore.
void DrawGlints(cairo_t* Cr, const TOutline& Outline, std::uint32_t Seed) {
  Assets::TRandom Random(Seed ^ 0x61157ull);
  cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
  for (int Attempt = 0; Attempt < 420; ++Attempt) {
    const TPoint Ground{Random.Range(-1.5, 6.5), Random.Range(-1.5, 6.5)};
    const TPoint At = ToPicture(Ground);
    const double Length = Random.Range(5, 16) * kScale;
    const double Alpha = Random.Range(0.35, 0.8);
    if (At.Row < -20 || At.Row > kMapWidth + 20 || At.Column < -20 || At.Column > kMapHeight + 20)
      continue;
    if (!InsideOutline(Outline, Ground) || DistanceToOutline(Outline, Ground) < 0.1) continue;
    cairo_set_line_width(Cr, Random.Range(1.0, 1.8) * kScale);
    cairo_set_source_rgba(Cr, 0.92, 0.98, 1.0, Alpha);
    cairo_move_to(Cr, At.Row - Length / 2, At.Column);
    cairo_curve_to(Cr, At.Row - Length / 4, At.Column - 1.5 * kScale, At.Row + Length / 4,
                   At.Column - 1.5 * kScale, At.Row + Length / 2, At.Column);
    cairo_stroke(Cr);
  }
}

// Tufts of reeds along parts of the shore, leaning a little, their shadows to the lower right.
void DrawReeds(cairo_t* Cr, const TOutline& Outline, std::uint32_t Seed) {
  Assets::TRandom Random(Seed ^ 0x4EEDull);
  cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
  for (std::size_t Index = 0; Index < Outline.size(); Index += 3) {
    const TPoint& Shore = Outline[Index];
    if (Assets::FractalNoise(Shore.Row * 2.2, Shore.Column * 2.2, Seed + 77, 2) < 0.55) continue;
    if (Random.Uniform() < 0.35) continue;
    const TPoint Base = ToPicture(Shore);
    const int Stems = Random.Int(4, 8);
    for (int Stem = 0; Stem < Stems; ++Stem) {
      const double X = Base.Row + Random.Range(-6, 6) * kScale,
                   Y = Base.Column + Random.Range(-3, 3) * kScale;
      const double Height = Random.Range(8, 16) * kScale, Lean = Random.Range(-3, 3) * kScale;
      cairo_set_line_width(Cr, 1.6 * kScale);
      cairo_set_source_rgba(Cr, 0.1, 0.15, 0.05, 0.25);
      cairo_move_to(Cr, X, Y);
      cairo_line_to(Cr, X + Height * 0.5, Y + Height * 0.18);
      cairo_stroke(Cr);
      const TColor Green =
          Assets::Mix(Assets::Palette::Olive, Assets::Palette::Leaf, Random.Uniform());
      Assets::SetColor(Cr, Assets::Shade(Green, 0.8), 1);
      cairo_set_line_width(Cr, 1.3 * kScale);
      cairo_move_to(Cr, X, Y);
      cairo_curve_to(Cr, X, Y - Height * 0.5, X + Lean * 0.5, Y - Height * 0.8, X + Lean,
                     Y - Height);
      cairo_stroke(Cr);
      if (Random.Uniform() < 0.35) {
        Assets::SetColor(Cr, Assets::Rgb(0x6E4A2A), 1);
        Assets::Ellipse(Cr, X + Lean * 0.9, Y - Height * 0.9, 1.2 * kScale, 2.6 * kScale);
        cairo_fill(Cr);
      }
    }
  }
}

void DrawWater(cairo_t* Cr, const TMapWater& Water, std::uint32_t Seed) {
  if (Water.Kind == TWaterKind::None) return;
  const bool IsLake = Water.Kind == TWaterKind::Lake;
  const TOutline Outline =
      IsLake ? LakeOutline(Water.Cells, Seed) : RiverOutline(Water.Cells, Seed);
  DrawWaterBody(Cr, Outline, IsLake ? 1.4 : 0.42);
  DrawRipples(Cr, Outline, Seed);
  DrawGlints(Cr, Outline, Seed);
  DrawReeds(Cr, Outline, Seed);
}

// --- the map pictures ---------------------------------------------------------------------------

Assets::TPicture MapPicture(int Map) {
  const TMapLook Look = LookOfMap(Map);
  Assets::TCanvas Canvas(kMapWidth, kMapHeight);
  Canvas.Put(GroundPicture(Look));
  DrawWildflowers(Canvas.Cr(), Look);
  DrawWater(Canvas.Cr(), WaterOfMap(Map), Look.Seed);
  Assets::TPicture Picture = Canvas.Picture();
  FrameTheGrid(Picture);
  return Picture;
}

void GenerateMaps(Assets::TOutput& Output, int FirstMap, int LastMap) {
  for (int Map = FirstMap; Map <= LastMap; ++Map)
    Output.Texture("Map" + std::to_string(Map), MapPicture(Map), Assets::TDdsFormat::Dxt1Fast);
}

void GenerateFirstMaps(Assets::TOutput& Output) {
  GenerateMaps(Output, 1, 12);
}
void GenerateLastMaps(Assets::TOutput& Output) {
  GenerateMaps(Output, 13, 24);
}

const Assets::TGeneratorRegistration FirstRegistration("maps-a", &GenerateFirstMaps);
const Assets::TGeneratorRegistration LastRegistration("maps-b", &GenerateLastMaps);

}  // namespace

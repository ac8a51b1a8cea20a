// AssetsPanes.cpp -- the isometric kit of the pane pictures (see AssetsPanes.h) and the three
// shared segment files every pane texture of one size uses.
#include "AssetsPanes.h"

#include <algorithm>
#include <cmath>

namespace Assets::Panes {

namespace {

// True proportions: a pane side is 178.2 units long on the ground (252 / sqrt 2) and the view
// looks down at 30 degrees, so a height of h units on screen is h / cos 30 tall.
constexpr double kSideLength = 178.19;
constexpr double kHeightStretch = 1.0 / 0.8660254;
// Towards the sun (upper left of the screen, high) and towards the viewer, in true proportions.
constexpr TVec kTowardsSun{-0.5, -0.08, 0.86};
constexpr TVec kTowardsViewer{1.0, -1.0, 0.8165};
constexpr int kShadowBlurRadius = 3;
const TColor kShadowTint = Rgb(0x2A1E2E);
constexpr double kShadowOpacity = 0.34;

double Dot(const TVec& A, const TVec& B) {
  return A.X * B.X + A.Y * B.Y + A.Z * B.Z;
}
double Length(const TVec& A) {
  return std::sqrt(Dot(A, A));
}
TVec Minus(const TVec& A, const TVec& B) {
  return {A.X - B.X, A.Y - B.Y, A.Z - B.Z};
}

TVec TrueProportions(const TVec& Map) {
  return {Map.X * kSideLength, Map.Y * kSideLength, Map.Z * kHeightStretch};
}

TVec Centroid(const std::vector<TVec>& Points) {
  TVec Sum;
  for (const TVec& Point : Points)
    Sum = {Sum.X + Point.X, Sum.Y + Point.Y, Sum.Z + Point.Z};
  const double Count = std::max<double>(1.0, static_cast<double>(Points.size()));
  return {Sum.X / Count, Sum.Y / Count, Sum.Z / Count};
}

double Cross(const TPoint& O, const TPoint& A, const TPoint& B) {
  return (A.X - O.X) * (B.Y - O.Y) - (A.Y - O.Y) * (B.X - O.X);
}

std::vector<TPoint> ConvexHull(std::vector<TPoint> Points) {
  if (Points.size() < 3) return Points;
  std::sort(Points.begin(), Points.end(), [](const TPoint& A, const TPoint& B) {
    return A.X < B.X || (A.X == B.X && A.Y < B.Y);
  });
  std::vector<TPoint> Hull(Points.size() * 2);
  std::size_t Count = 0;
  for (const TPoint& Point : Points) {
    while (Count >= 2 && Cross(Hull[Count - 2], Hull[Count - 1], Point) <= 0)
      --Count;
    Hull[Count++] = Point;
  }
  const std::size_t LowerCount = Count + 1;
  for (auto Point = Points.rbegin() + 1; Point != Points.rend(); ++Point) {
    while (Count >= LowerCount && Cross(Hull[Count - 2], Hull[Count - 1], *Point) <= 0)
      --Count;
    Hull[Count++] = *Point;
  }
  Hull.resize(Count - 1);
  return Hull;
}

void FillPoints(cairo_t* Cr, const std::vector<TPoint>& Points) {
  if (Points.empty()) return;
  cairo_move_to(Cr, Points[0].X, Points[0].Y);
  for (std::size_t Index = 1; Index < Points.size(); ++Index)
    cairo_line_to(Cr, Points[Index].X, Points[Index].Y);
  cairo_close_path(Cr);
  cairo_fill(Cr);
}

void StrokeOutline(cairo_t* Cr, const TColor& Fill, double Width = 0.55) {
  SetColor(Cr, Shade(Fill, 0.5));
  cairo_set_line_width(Cr, Width);
  cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(Cr);
}

// Fills the current path with the colour, a little lighter at the top than at the bottom.
void FillSoftly(cairo_t* Cr, const TColor& Color) {
  double X0, Y0, X1, Y1;
  cairo_fill_extents(Cr, &X0, &Y0, &X1, &Y1);
  SetVerticalGradient(Cr, Y0, Shade(Color, 1.05), Y1 + 0.001, Shade(Color, 0.95));
  cairo_fill_preserve(Cr);
}

}  // namespace

TVec Lerp(const TVec& From, const TVec& To, double T) {
  return {From.X + (To.X - From.X) * T, From.Y + (To.Y - From.Y) * T, From.Z + (To.Z - From.Z) * T};
}

// --- the view ------------------------------------------------------------------------------

TVec TIso::ToMap(const TVec& Local) const {
  switch (LookIndex & 3) {
    case 1:
      return {Local.Y, -Local.X, Local.Z};
    case 2:
      return {-Local.X, -Local.Y, Local.Z};
    case 3:
      return {-Local.Y, Local.X, Local.Z};
    default:
      return Local;
  }
}

TPoint TIso::Screen(const TVec& Local) const {
  const TVec Map = ToMap(Local);
  return {kCentreX + (Map.X + Map.Y) * kHalfWidth,
          kCentreY + (Map.X - Map.Y) * kHalfHeight - Map.Z};
}

TPoint TIso::ShadowOf(const TVec& Local) const {
  const TVec Map = ToMap(Local);
  const double Along = Map.Z * kHeightStretch / kTowardsSun.Z / kSideLength;
  const double X = Map.X - kTowardsSun.X * Along, Y = Map.Y - kTowardsSun.Y * Along;
  return {kCentreX + (X + Y) * kHalfWidth, kCentreY + (X - Y) * kHalfHeight};
}

double TIso::Depth(const TVec& Local) const {
  const TVec Map = ToMap(Local);
  return Map.X - Map.Y;
}

TVec TIso::Normal(const std::vector<TVec>& Local) const {
  TVec Sum;
  for (std::size_t Index = 0; Index < Local.size(); ++Index) {
    const TVec A = TrueProportions(ToMap(Local[Index]));
    const TVec B = TrueProportions(ToMap(Local[(Index + 1) % Local.size()]));
    Sum.X += (A.Y - B.Y) * (A.Z + B.Z);
    Sum.Y += (A.Z - B.Z) * (A.X + B.X);
    Sum.Z += (A.X - B.X) * (A.Y + B.Y);
  }
  return Sum;
}

bool TIso::FacesViewer(const TVec& MapNormal) const {
  return Dot(MapNormal, kTowardsViewer) > 1e-9;
}

double TIso::Brightness(const TVec& MapNormal) const {
  const double Size = Length(MapNormal);
  if (Size <= 0) return 1.0;
  const double Lit = Dot(MapNormal, kTowardsSun) / (Size * Length(kTowardsSun));
  return Lit >= 0 ? 0.84 + 0.26 * Lit : 0.84 + 0.32 * Lit;
}

void TIso::Polygon(cairo_t* Cr, const std::vector<TVec>& Local) const {
  for (std::size_t Index = 0; Index < Local.size(); ++Index) {
    const TPoint Point = Screen(Local[Index]);
    if (Index == 0)
      cairo_move_to(Cr, Point.X, Point.Y);
    else
      cairo_line_to(Cr, Point.X, Point.Y);
  }
  cairo_close_path(Cr);
}

void TIso::MoveTo(cairo_t* Cr, const TVec& Local) const {
  const TPoint Point = Screen(Local);
  cairo_move_to(Cr, Point.X, Point.Y);
}

void TIso::LineTo(cairo_t* Cr, const TVec& Local) const {
  const TPoint Point = Screen(Local);
  cairo_line_to(Cr, Point.X, Point.Y);
}

// --- solids --------------------------------------------------------------------------------

TSolid Hexahedron(const std::array<TVec, 8>& C, const TColor& Wall, const TColor& Top) {
  TSolid Solid;
  Solid.Faces.push_back({{C[0], C[1], C[2], C[3]}, Wall, nullptr});
  Solid.Faces.push_back({{C[4], C[5], C[6], C[7]}, Top, nullptr});
  for (int Index = 0; Index < 4; ++Index) {
    const int Next = (Index + 1) % 4;
    Solid.Faces.push_back({{C[Index], C[Next], C[Next + 4], C[Index + 4]}, Wall, nullptr});
  }
  return Solid;
}

TSolid Box(const TVec& Min, const TVec& Max, const TColor& Wall, const TColor& Top) {
  return Hexahedron(
      {TVec{Min.X, Min.Y, Min.Z}, TVec{Max.X, Min.Y, Min.Z}, TVec{Max.X, Max.Y, Min.Z},
       TVec{Min.X, Max.Y, Min.Z}, TVec{Min.X, Min.Y, Max.Z}, TVec{Max.X, Min.Y, Max.Z},
       TVec{Max.X, Max.Y, Max.Z}, TVec{Min.X, Max.Y, Max.Z}},
      Wall, Top);
}

TSolid GableRoof(const TVec& Min, const TVec& Max, bool RidgeAlongX, double Overhang,
                 const TColor& Roof, const TColor& Gable) {
  const double Eave = Min.Z, Ridge = Max.Z;
  TSolid Solid;
  if (RidgeAlongX) {
    const double Y0 = Min.Y - Overhang, Y1 = Max.Y + Overhang, YM = (Min.Y + Max.Y) / 2;
    const double Drop = (Ridge - Eave) * Overhang / std::max(1e-6, YM - Min.Y);
    const TVec A0{Min.X, Y0, Eave - Drop}, A1{Max.X, Y0, Eave - Drop};
    const TVec B0{Min.X, Y1, Eave - Drop}, B1{Max.X, Y1, Eave - Drop};
    const TVec R0{Min.X, YM, Ridge}, R1{Max.X, YM, Ridge};
    Solid.Faces.push_back({{A0, A1, R1, R0}, Roof, nullptr});
    Solid.Faces.push_back({{B1, B0, R0, R1}, Roof, nullptr});
    Solid.Faces.push_back({{A1, B1, R1}, Gable, nullptr});
    Solid.Faces.push_back({{B0, A0, R0}, Gable, nullptr});
    Solid.Faces.push_back({{A0, B0, B1, A1}, Gable, nullptr});
  } else {
    const double X0 = Min.X - Overhang, X1 = Max.X + Overhang, XM = (Min.X + Max.X) / 2;
    const double Drop = (Ridge - Eave) * Overhang / std::max(1e-6, XM - Min.X);
    const TVec A0{X1, Min.Y, Eave - Drop}, A1{X1, Max.Y, Eave - Drop};
    const TVec B0{X0, Min.Y, Eave - Drop}, B1{X0, Max.Y, Eave - Drop};
    const TVec R0{XM, Min.Y, Ridge}, R1{XM, Max.Y, Ridge};
    Solid.Faces.push_back({{A0, A1, R1, R0}, Roof, nullptr});
    Solid.Faces.push_back({{B1, B0, R0, R1}, Roof, nullptr});
    Solid.Faces.push_back({{A1, B1, R1}, Gable, nullptr});
    Solid.Faces.push_back({{B0, A0, R0}, Gable, nullptr});
    Solid.Faces.push_back({{A0, B0, B1, A1}, Gable, nullptr});
  }
  return Solid;
}

TSolid HipRoof(const TVec& Min, const TVec& Max, double Overhang, const TColor& Roof) {
  const double X0 = Min.X - Overhang, X1 = Max.X + Overhang;
  const double Y0 = Min.Y - Overhang, Y1 = Max.Y + Overhang;
  const double HalfX = (X1 - X0) / 2, HalfY = (Y1 - Y0) / 2;
  const double Inset = std::min(HalfX, HalfY);
  const double Drop = (Max.Z - Min.Z) * Overhang / std::max(1e-6, Inset - Overhang);
  const double Z = Min.Z - Drop;
  const TVec C0{X0, Y0, Z}, C1{X1, Y0, Z}, C2{X1, Y1, Z}, C3{X0, Y1, Z};
  // The ridge runs along the longer side; a square roof meets in one point.
  TVec R0, R1;
  if (HalfX >= HalfY) {
    R0 = {X0 + Inset, Y0 + HalfY, Max.Z};
    R1 = {X1 - Inset, Y0 + HalfY, Max.Z};
    TSolid Solid;
    Solid.Faces.push_back({{C0, C1, R1, R0}, Roof, nullptr});
    Solid.Faces.push_back({{C1, C2, R1}, Roof, nullptr});
    Solid.Faces.push_back({{C2, C3, R0, R1}, Roof, nullptr});
    Solid.Faces.push_back({{C3, C0, R0}, Roof, nullptr});
    Solid.Faces.push_back({{C0, C3, C2, C1}, Roof, nullptr});
    return Solid;
  }
  R0 = {X0 + HalfX, Y0 + Inset, Max.Z};
  R1 = {X0 + HalfX, Y1 - Inset, Max.Z};
  TSolid Solid;
  Solid.Faces.push_back({{C1, C2, R1, R0}, Roof, nullptr});
  Solid.Faces.push_back({{C2, C3, R1}, Roof, nullptr});
  Solid.Faces.push_back({{C3, C0, R0, R1}, Roof, nullptr});
  Solid.Faces.push_back({{C0, C1, R0}, Roof, nullptr});
  Solid.Faces.push_back({{C0, C3, C2, C1}, Roof, nullptr});
  return Solid;
}

TSolid ShedRoof(const TVec& Min, const TVec& Max, bool HighAtPlusX, const TColor& Roof,
                const TColor& Side) {
  const double Thick = 1.5;
  const double ZAtMinX = HighAtPlusX ? Min.Z : Max.Z, ZAtMaxX = HighAtPlusX ? Max.Z : Min.Z;
  TSolid Solid =
      Hexahedron({TVec{Min.X, Min.Y, ZAtMinX - Thick}, TVec{Max.X, Min.Y, ZAtMaxX - Thick},
                  TVec{Max.X, Max.Y, ZAtMaxX - Thick}, TVec{Min.X, Max.Y, ZAtMinX - Thick},
                  TVec{Min.X, Min.Y, ZAtMinX}, TVec{Max.X, Min.Y, ZAtMaxX},
                  TVec{Max.X, Max.Y, ZAtMaxX}, TVec{Min.X, Max.Y, ZAtMinX}},
                 Side, Roof);
  return Solid;
}

void RoofTiles(const TIso& Iso, const TFace& Face, const TColor& Lit) {
  const std::vector<TVec>& P = Face.Points;
  if (P.size() < 3) return;
  cairo_t* Cr = Iso.Cr();
  const TVec EaveA = P[0], EaveB = P[1];
  const TVec TopA = P.size() >= 4 ? P[3] : P[2], TopB = P[2];
  const double EaveLength = Length(TrueProportions(Minus(EaveB, EaveA)));
  const int Rows = std::max(2, static_cast<int>(EaveLength / 7.0));
  cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
  // Barrel tiles run down the slope: a lit ridge and a shaded trough per row.
  for (int Row = 0; Row <= Rows; ++Row) {
    const double S = (Row + 0.5) / (Rows + 1.0);
    const TVec Bottom = Lerp(EaveA, EaveB, S);
    const TVec Top = Lerp(TopA, TopB, S);
    Iso.MoveTo(Cr, Bottom);
    Iso.LineTo(Cr, Top);
    SetColor(Cr, Shade(Lit, 0.78));
    cairo_set_line_width(Cr, 1.1);
    cairo_stroke(Cr);
    const TVec Offset{(EaveB.X - EaveA.X) * 0.18 / (Rows + 1.0),
                      (EaveB.Y - EaveA.Y) * 0.18 / (Rows + 1.0), 0};
    Iso.MoveTo(Cr, {Bottom.X + Offset.X, Bottom.Y + Offset.Y, Bottom.Z});
    Iso.LineTo(Cr, {Top.X + Offset.X, Top.Y + Offset.Y, Top.Z});
    SetColor(Cr, Shade(Lit, 1.12));
    cairo_set_line_width(Cr, 0.6);
    cairo_stroke(Cr);
  }
  // Courses across the slope.
  const double SlopeLength =
      Length(TrueProportions(Minus(Lerp(TopA, TopB, 0.5), Lerp(EaveA, EaveB, 0.5))));
  const int Courses = std::max(2, static_cast<int>(SlopeLength / 7.5));
  for (int Course = 1; Course < Courses; ++Course) {
    const double T = static_cast<double>(Course) / Courses;
    Iso.MoveTo(Cr, Lerp(EaveA, TopA, T));
    Iso.LineTo(Cr, Lerp(EaveB, TopB, T));
    SetColor(Cr, Shade(Lit, 0.82));
    cairo_set_line_width(Cr, 0.45);
    cairo_stroke(Cr);
  }
}

void StoneCourses(const TIso& Iso, const TFace& Face, const TColor& Lit) {
  const std::vector<TVec>& P = Face.Points;
  if (P.size() != 4) return;
  cairo_t* Cr = Iso.Cr();
  double ZMin = P[0].Z, ZMax = P[0].Z;
  for (const TVec& Point : P) {
    ZMin = std::min(ZMin, Point.Z);
    ZMax = std::max(ZMax, Point.Z);
  }
  if (ZMax - ZMin < 4) return;
  // Bottom edge from the two lowest points, in face order.
  const TVec A = P[0].Z <= ZMin + 1e-6 ? P[0] : P[3];
  const TVec B = P[1].Z <= ZMin + 1e-6 ? P[1] : P[2];
  const double Width = Length(TrueProportions(Minus(B, A)));
  SetColor(Cr, Shade(Lit, 0.86));
  cairo_set_line_width(Cr, 0.4);
  int Course = 0;
  for (double Z = ZMin + 5; Z < ZMax - 1; Z += 5, ++Course) {
    Iso.MoveTo(Cr, {A.X, A.Y, Z});
    Iso.LineTo(Cr, {B.X, B.Y, Z});
    const double Step = 11.0 / std::max(1.0, Width);
    for (double S = (Course % 2) * Step / 2; S < 1; S += Step) {
      const TVec Joint = Lerp(A, B, S);
      Iso.MoveTo(Cr, {Joint.X, Joint.Y, Z - 5});
      Iso.LineTo(Cr, {Joint.X, Joint.Y, Z});
    }
  }
  cairo_stroke(Cr);
}

TSolid WithDetail(TSolid Solid,
                  const std::function<void(const TIso&, const TFace&, const TColor&)>& Detail,
                  bool SlopedOnly) {
  for (TFace& Face : Solid.Faces) {
    // The face's normal tells walls (level normal), slopes and flat tops apart.
    TVec Normal;
    const std::vector<TVec>& P = Face.Points;
    for (std::size_t Index = 0; Index < P.size(); ++Index) {
      const TVec A = TrueProportions(P[Index]), B = TrueProportions(P[(Index + 1) % P.size()]);
      Normal.X += (A.Y - B.Y) * (A.Z + B.Z);
      Normal.Y += (A.Z - B.Z) * (A.X + B.X);
      Normal.Z += (A.X - B.X) * (A.Y + B.Y);
    }
    const double Size = Length(Normal);
    if (Size <= 0) continue;
    const double Upright = std::abs(Normal.Z) / Size;
    const bool Vertical = Upright<1e-6, Level = Upright> 1 - 1e-6;
    if (SlopedOnly ? (!Vertical && !Level) : Vertical) Face.Detail = Detail;
  }
  return Solid;
}

void Draw(const TIso& Iso, const TSolid& Solid, bool Outlined) {
  std::vector<TVec> All;
  for (const TFace& Face : Solid.Faces)
    All.insert(All.end(), Face.Points.begin(), Face.Points.end());
  const TVec Middle = TrueProportions(Iso.ToMap(Centroid(All)));
  cairo_t* Cr = Iso.Cr();
  for (const TFace& Face : Solid.Faces) {
    if (Face.Points.size() < 3) continue;
    TVec Normal = Iso.Normal(Face.Points);
    const TVec Outward = Minus(TrueProportions(Iso.ToMap(Centroid(Face.Points))), Middle);
    if (Dot(Normal, Outward) < 0) Normal = {-Normal.X, -Normal.Y, -Normal.Z};
    if (!Iso.FacesViewer(Normal)) continue;
    const TColor Lit = Shade(Face.Color, Iso.Brightness(Normal));
    Iso.Polygon(Cr, Face.Points);
    FillSoftly(Cr, Lit);
    if (Face.Detail) {
      cairo_save(Cr);
      cairo_clip_preserve(Cr);
      cairo_new_path(Cr);
      Face.Detail(Iso, Face, Lit);
      cairo_restore(Cr);
      Iso.Polygon(Cr, Face.Points);
    }
    if (Outlined)
      StrokeOutline(Cr, Lit);
    else
      cairo_new_path(Cr);
  }
}

void CastShadow(const TIso& Iso, const TSolid& Solid) {
  std::vector<TPoint> Points;
  for (const TFace& Face : Solid.Faces)
    for (const TVec& Point : Face.Points)
      Points.push_back(Iso.ShadowOf(Point));
  cairo_set_source_rgba(Iso.Shadow(), 0, 0, 0, 1);
  FillPoints(Iso.Shadow(), ConvexHull(std::move(Points)));
}

void ContactShadow(const TIso& Iso, const TVec& Min, const TVec& Max, double Spread) {
  cairo_set_source_rgba(Iso.Shadow(), 0, 0, 0, 0.55);
  Iso.Polygon(Iso.Shadow(), {{Min.X - Spread, Min.Y - Spread, 0},
                             {Max.X + Spread, Min.Y - Spread, 0},
                             {Max.X + Spread, Max.Y + Spread, 0},
                             {Min.X - Spread, Max.Y + Spread, 0}});
  cairo_fill(Iso.Shadow());
}

// --- marks on walls ------------------------------------------------------------------------

TWall Side(const TVec& Min, const TVec& Max, int Index) {
  switch (Index & 3) {
    case 0:
      return {{Max.X, Min.Y, 0}, {Max.X, Max.Y, 0}};
    case 1:
      return {{Max.X, Max.Y, 0}, {Min.X, Max.Y, 0}};
    case 2:
      return {{Min.X, Max.Y, 0}, {Min.X, Min.Y, 0}};
    default:
      return {{Min.X, Min.Y, 0}, {Max.X, Min.Y, 0}};
  }
}

namespace {

TVec WallNormal(const TWall& Wall) {
  return {Wall.B.Y - Wall.A.Y, -(Wall.B.X - Wall.A.X), 0};
}

double WallLength(const TWall& Wall) {
  return std::hypot(Wall.B.X - Wall.A.X, Wall.B.Y - Wall.A.Y);
}

void WallPolygon(const TIso& Iso, const TWall& Wall,
                 const std::vector<std::pair<double, double>>& SZ) {
  std::vector<TVec> Points;
  for (const auto& [S, Z] : SZ)
    Points.push_back(OnWall(Wall, S, Z));
  Iso.Polygon(Iso.Cr(), Points);
}

double WallLight(const TIso& Iso, const TWall& Wall) {
  return Iso.Brightness(TrueProportions(Iso.ToMap(WallNormal(Wall))));
}

}  // namespace

bool Visible(const TIso& Iso, const TWall& Wall) {
  return Iso.FacesViewer(TrueProportions(Iso.ToMap(WallNormal(Wall))));
}

TVec OnWall(const TWall& Wall, double S, double Z) {
  TVec Point = Lerp(Wall.A, Wall.B, S);
  // Marks sit a hair in front of the wall so they never sink into it.
  const TVec Normal = WallNormal(Wall);
  const double Size = std::max(1e-9, std::hypot(Normal.X, Normal.Y));
  Point.X += Normal.X / Size * 0.002;
  Point.Y += Normal.Y / Size * 0.002;
  Point.Z = Z;
  return Point;
}

void WallRect(const TIso& Iso, const TWall& Wall, double S0, double S1, double Z0, double Z1,
              const TColor& Color) {
  if (!Visible(Iso, Wall)) return;
  WallPolygon(Iso, Wall, {{S0, Z0}, {S1, Z0}, {S1, Z1}, {S0, Z1}});
  SetColor(Iso.Cr(), Shade(Color, WallLight(Iso, Wall)));
  cairo_fill(Iso.Cr());
}

void Window(const TIso& Iso, const TWall& Wall, double S, double Width, double Z0, double Z1,
            const TColor& Shutters) {
  if (!Visible(Iso, Wall)) return;
  const double Half = Width / 2 / std::max(1e-6, WallLength(Wall));
  cairo_t* Cr = Iso.Cr();
  const double Light = WallLight(Iso, Wall);
  WallPolygon(Iso, Wall, {{S - Half, Z0}, {S + Half, Z0}, {S + Half, Z1}, {S - Half, Z1}});
  SetColor(Cr, Shade(Rgb(0x3B3230), Light));
  cairo_fill_preserve(Cr);
  StrokeOutline(Cr, Shade(Rgb(0x6B5B4B), Light), 0.45);
  // Shutters folded open on both sides.
  for (double Sign : {-1.0, 1.0}) {
    const double Inner = S + Sign * Half * 1.1, Outer = S + Sign * Half * 2.0;
    WallPolygon(Iso, Wall, {{Inner, Z0}, {Outer, Z0}, {Outer, Z1}, {Inner, Z1}});
    SetColor(Cr, Shade(Shutters, Light));
    cairo_fill_preserve(Cr);
    StrokeOutline(Cr, Shade(Shutters, Light), 0.4);
  }
  WallPolygon(Iso, Wall,
              {{S - Half * 1.3, Z0 - 1.2},
               {S + Half * 1.3, Z0 - 1.2},
               {S + Half * 1.3, Z0},
               {S - Half * 1.3, Z0}});
  SetColor(Cr, Shade(Rgb(0xFFF8EC), Light));
  cairo_fill(Cr);
}

void Door(const TIso& Iso, const TWall& Wall, double S, double Width, double Height,
          const TColor& Leaf, bool Arched) {
  if (!Visible(Iso, Wall)) return;
  const double Half = Width / 2 / std::max(1e-6, WallLength(Wall));
  const double Light = WallLight(Iso, Wall);
  std::vector<std::pair<double, double>> Outline{{S - Half, 0}, {S + Half, 0}};
  const double Rise = Arched ? Width * kSideLength * 0.5 / kHeightStretch : 0;
  const int Steps = Arched ? 10 : 1;
  for (int Step = 0; Step <= Steps; ++Step) {
    const double Angle = kPi * Step / Steps;
    Outline.push_back({S + Half * std::cos(Angle), Height - Rise + Rise * std::sin(Angle)});
  }
  WallPolygon(Iso, Wall, Outline);
  SetColor(Iso.Cr(), Shade(Leaf, Light));
  cairo_fill_preserve(Iso.Cr());
  StrokeOutline(Iso.Cr(), Shade(Leaf, Light), 0.5);
  // Planks of the leaf.
  cairo_t* Cr = Iso.Cr();
  for (double T : {-0.33, 0.33}) {
    Iso.MoveTo(Cr, OnWall(Wall, S + Half * T, 0.5));
    Iso.LineTo(Cr, OnWall(Wall, S + Half * T, Height - Rise * 0.6));
  }
  SetColor(Cr, Shade(Leaf, Light * 0.75));
  cairo_set_line_width(Cr, 0.35);
  cairo_stroke(Cr);
}

void ArchOpening(const TIso& Iso, const TWall& Wall, double S, double Width, double Height,
                 const TColor& Color) {
  if (!Visible(Iso, Wall)) return;
  const double Half = Width / 2 / std::max(1e-6, WallLength(Wall));
  const double Rise = Width * kSideLength * 0.5 / kHeightStretch;
  std::vector<std::pair<double, double>> Outline{{S - Half, 0}, {S + Half, 0}};
  for (int Step = 0; Step <= 12; ++Step) {
    const double Angle = kPi * Step / 12;
    Outline.push_back({S + Half * std::cos(Angle), Height - Rise + Rise * std::sin(Angle)});
  }
  WallPolygon(Iso, Wall, Outline);
  SetColor(Iso.Cr(), Color);
  cairo_fill_preserve(Iso.Cr());
  StrokeOutline(Iso.Cr(), Color, 0.5);
}

void Crack(const TIso& Iso, const TWall& Wall, double S, double Z, double Length, TRandom& Random) {
  if (!Visible(Iso, Wall)) return;
  cairo_t* Cr = Iso.Cr();
  const double Step = 0.02 / std::max(1e-6, WallLength(Wall));
  Iso.MoveTo(Cr, OnWall(Wall, S, Z));
  for (double Done = 0; Done < Length; Done += 3) {
    S += Random.Range(-1, 1) * Step;
    Z -= 3;
    Iso.LineTo(Cr, OnWall(Wall, S, Z));
  }
  cairo_set_source_rgba(Cr, 0.25, 0.18, 0.12, 0.75);
  cairo_set_line_width(Cr, 0.5);
  cairo_stroke(Cr);
}

// --- round things --------------------------------------------------------------------------

void Column(const TIso& Iso, const TVec& Base, double Height, double Radius, const TColor& Color) {
  cairo_t* Cr = Iso.Cr();
  const TPoint Foot = Iso.Screen(Base);
  const double W = Radius * kSideLength, H = W * 0.5;
  const double Top = Foot.Y - Height;
  cairo_pattern_t* Round = cairo_pattern_create_linear(Foot.X - W, 0, Foot.X + W, 0);
  const TColor Lit = Shade(Color, 1.12), Dark = Shade(Color, 0.68);
  cairo_pattern_add_color_stop_rgb(Round, 0, Color.R, Color.G, Color.B);
  cairo_pattern_add_color_stop_rgb(Round, 0.3, Lit.R, Lit.G, Lit.B);
  cairo_pattern_add_color_stop_rgb(Round, 1, Dark.R, Dark.G, Dark.B);
  cairo_move_to(Cr, Foot.X - W, Top);
  cairo_line_to(Cr, Foot.X - W, Foot.Y);
  cairo_save(Cr);
  cairo_translate(Cr, Foot.X, Foot.Y);
  cairo_scale(Cr, W, H);
  cairo_arc_negative(Cr, 0, 0, 1, kPi, 0);
  cairo_restore(Cr);
  cairo_line_to(Cr, Foot.X + W, Top);
  cairo_close_path(Cr);
  cairo_set_source(Cr, Round);
  cairo_fill_preserve(Cr);
  cairo_pattern_destroy(Round);
  StrokeOutline(Cr, Color, 0.45);
  // Flutes, then the capital and the plinth as flat slabs.
  cairo_set_source_rgba(Cr, 0, 0, 0, 0.12);
  cairo_set_line_width(Cr, 0.35);
  for (double T : {-0.45, 0.1, 0.55}) {
    cairo_move_to(Cr, Foot.X + W * T, Top + 2);
    cairo_line_to(Cr, Foot.X + W * T, Foot.Y - 1);
  }
  cairo_stroke(Cr);
  for (const auto& [Y, Grow, Thick] : {std::tuple{Top, 1.45, 2.2}, std::tuple{Foot.Y, 1.3, 1.4}}) {
    const double GW = W * Grow;
    cairo_rectangle(Cr, Foot.X - GW, Y - Thick, GW * 2, Thick);
    SetColor(Cr, Shade(Color, 1.04));
    cairo_fill_preserve(Cr);
    StrokeOutline(Cr, Color, 0.4);
  }
}

void Dome(const TIso& Iso, const TVec& Centre, double Radius, double Height, const TColor& Color) {
  cairo_t* Cr = Iso.Cr();
  const TPoint Middle = Iso.Screen(Centre);
  const double W = Radius * kSideLength, H = W * 0.5;
  cairo_save(Cr);
  cairo_translate(Cr, Middle.X, Middle.Y);
  cairo_save(Cr);
  cairo_scale(Cr, W, H);
  cairo_arc(Cr, 0, 0, 1, 0, kPi);
  cairo_restore(Cr);
  cairo_save(Cr);
  cairo_scale(Cr, W, Height);
  cairo_arc(Cr, 0, 0, 1, kPi, 2 * kPi);
  cairo_restore(Cr);
  cairo_close_path(Cr);
  cairo_pattern_t* Light =
      cairo_pattern_create_radial(-W * 0.35, -Height * 0.55, W * 0.1, 0, -Height * 0.2, W * 1.25);
  const TColor Lit = Shade(Color, 1.25), Dark = Shade(Color, 0.66);
  cairo_pattern_add_color_stop_rgb(Light, 0, Lit.R, Lit.G, Lit.B);
  cairo_pattern_add_color_stop_rgb(Light, 0.45, Color.R, Color.G, Color.B);
  cairo_pattern_add_color_stop_rgb(Light, 1, Dark.R, Dark.G, Dark.B);
  cairo_set_source(Cr, Light);
  cairo_fill_preserve(Cr);
  cairo_pattern_destroy(Light);
  StrokeOutline(Cr, Color, 0.55);
  cairo_restore(Cr);
}

void Colonnade(const TIso& Iso, const TVec& A, const TVec& B, int Count, double Height,
               double Radius, const TColor& Color) {
  std::vector<TVec> Bases;
  for (int Index = 0; Index < Count; ++Index)
    Bases.push_back(Lerp(A, B, Count == 1 ? 0.5 : static_cast<double>(Index) / (Count - 1)));
  std::sort(Bases.begin(), Bases.end(),
            [&Iso](const TVec& P, const TVec& Q) { return Iso.Depth(P) < Iso.Depth(Q); });
  for (const TVec& Base : Bases) {
    const TSolid Shaft = Box({Base.X - Radius, Base.Y - Radius, 0},
                             {Base.X + Radius, Base.Y + Radius, Height}, Color, Color);
    CastShadow(Iso, Shaft);
    Column(Iso, Base, Height, Radius, Color);
  }
  const double Half = Radius * 1.5;
  const TSolid Beam =
      Box({std::min(A.X, B.X) - Half, std::min(A.Y, B.Y) - Half, Height},
          {std::max(A.X, B.X) + Half, std::max(A.Y, B.Y) + Half, Height + 4}, Color, Color);
  CastShadow(Iso, Beam);
  Draw(Iso, Beam);
}

void RoundTower(const TIso& Iso, const TVec& Base, double Radius, double Height, double Rise,
                const TColor& Wall, const TColor& Roof) {
  const TSolid Hull = Box({Base.X - Radius, Base.Y - Radius, 0},
                          {Base.X + Radius, Base.Y + Radius, Height + Rise}, Wall, Wall);
  CastShadow(Iso, Hull);
  cairo_t* Cr = Iso.Cr();
  const TPoint Foot = Iso.Screen(Base);
  const double W = Radius * kSideLength, H = W * 0.5, Top = Foot.Y - Height;
  // The drum: a lit cylinder.
  cairo_move_to(Cr, Foot.X - W, Top);
  cairo_line_to(Cr, Foot.X - W, Foot.Y);
  cairo_save(Cr);
  cairo_translate(Cr, Foot.X, Foot.Y);
  cairo_scale(Cr, W, H);
  cairo_arc_negative(Cr, 0, 0, 1, kPi, 0);
  cairo_restore(Cr);
  cairo_line_to(Cr, Foot.X + W, Top);
  cairo_close_path(Cr);
  cairo_pattern_t* Round = cairo_pattern_create_linear(Foot.X - W, 0, Foot.X + W, 0);
  const TColor Lit = Shade(Wall, 1.08), Dark = Shade(Wall, 0.66);
  cairo_pattern_add_color_stop_rgb(Round, 0, Wall.R * 0.95, Wall.G * 0.95, Wall.B * 0.95);
  cairo_pattern_add_color_stop_rgb(Round, 0.3, Lit.R, Lit.G, Lit.B);
  cairo_pattern_add_color_stop_rgb(Round, 1, Dark.R, Dark.G, Dark.B);
  cairo_set_source(Cr, Round);
  cairo_fill_preserve(Cr);
  cairo_pattern_destroy(Round);
  StrokeOutline(Cr, Wall);
  // The top: a flat ring, or a cone of tiles.
  Ellipse(Cr, Foot.X, Top, W * 1.08, H * 1.08);
  SetColor(Cr, Rise > 0 ? Shade(Roof, 0.8) : Shade(Wall, 1.05));
  cairo_fill_preserve(Cr);
  StrokeOutline(Cr, Rise > 0 ? Roof : Wall);
  if (Rise <= 0) return;
  cairo_move_to(Cr, Foot.X - W * 1.08, Top);
  cairo_line_to(Cr, Foot.X, Top - Rise);
  cairo_line_to(Cr, Foot.X + W * 1.08, Top);
  cairo_save(Cr);
  cairo_translate(Cr, Foot.X, Top);
  cairo_scale(Cr, W * 1.08, H * 1.08);
  cairo_arc(Cr, 0, 0, 1, 0, kPi);
  cairo_restore(Cr);
  cairo_close_path(Cr);
  cairo_pattern_t* Cone = cairo_pattern_create_linear(Foot.X - W, 0, Foot.X + W, 0);
  const TColor RoofLit = Shade(Roof, 1.15), RoofDark = Shade(Roof, 0.7);
  cairo_pattern_add_color_stop_rgb(Cone, 0, RoofLit.R, RoofLit.G, RoofLit.B);
  cairo_pattern_add_color_stop_rgb(Cone, 1, RoofDark.R, RoofDark.G, RoofDark.B);
  cairo_set_source(Cr, Cone);
  cairo_fill_preserve(Cr);
  cairo_pattern_destroy(Cone);
  StrokeOutline(Cr, Roof);
  SetColor(Cr, Shade(Roof, 0.75));
  cairo_set_line_width(Cr, 0.5);
  for (double T = -0.75; T <= 0.76; T += 0.25) {
    cairo_move_to(Cr, Foot.X, Top - Rise);
    cairo_line_to(Cr, Foot.X + T * W * 1.08, Top + H * std::sqrt(std::max(0.0, 1 - T * T)));
  }
  cairo_stroke(Cr);
}

void Awning(const TIso& Iso, const std::array<TVec, 4>& Corners, const TColor& Stripe,
            const TColor& Cloth) {
  cairo_t* Cr = Iso.Cr();
  const std::vector<TVec> Points(Corners.begin(), Corners.end());
  const TSolid Sheet{{TFace{Points, Cloth, nullptr}}};
  CastShadow(Iso, Sheet);
  const double Light = std::max(
      0.9,
      Iso.Brightness(Iso.Normal(Points).Z < 0
                         ? TVec{-Iso.Normal(Points).X, -Iso.Normal(Points).Y, -Iso.Normal(Points).Z}
                         : Iso.Normal(Points)));
  Iso.Polygon(Cr, Points);
  SetColor(Cr, Shade(Cloth, Light));
  cairo_fill_preserve(Cr);
  cairo_save(Cr);
  cairo_clip(Cr);
  for (int Index = 0; Index < 8; Index += 2) {
    const double S0 = Index / 8.0, S1 = (Index + 1) / 8.0;
    Iso.Polygon(Cr, {Lerp(Corners[0], Corners[1], S0), Lerp(Corners[0], Corners[1], S1),
                     Lerp(Corners[3], Corners[2], S1), Lerp(Corners[3], Corners[2], S0)});
    SetColor(Cr, Shade(Stripe, Light));
    cairo_fill(Cr);
  }
  cairo_restore(Cr);
  Iso.Polygon(Cr, Points);
  StrokeOutline(Cr, Cloth, 0.5);
}

// --- trees and rocks -----------------------------------------------------------------------

namespace {

struct TBlob {
  double X, Y, R;
};

void ShadowBlob(const TIso& Iso, const TVec& Base, double Z, double Radius) {
  const TPoint Centre = Iso.ShadowOf({Base.X, Base.Y, Z});
  cairo_t* Cr = Iso.Shadow();
  Ellipse(Cr, Centre.X, Centre.Y, Radius, Radius * 0.5);
  cairo_set_source_rgba(Cr, 0, 0, 0, 1);
  cairo_fill(Cr);
}

// The shadow of a trunk: a band from the foot to where the crown's shadow starts.
void TrunkShadow(const TIso& Iso, const TVec& Base, double Height, double Width) {
  const TPoint Foot = Iso.ShadowOf(Base), Top = Iso.ShadowOf({Base.X, Base.Y, Height});
  cairo_t* Cr = Iso.Shadow();
  cairo_move_to(Cr, Foot.X, Foot.Y);
  cairo_line_to(Cr, Top.X, Top.Y);
  cairo_set_source_rgba(Cr, 0, 0, 0, 1);
  cairo_set_line_width(Cr, Width);
  cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(Cr);
}

void Trunk(cairo_t* Cr, const TPoint& Foot, double Height, double Width, double Lean,
           const TColor& Bark) {
  cairo_move_to(Cr, Foot.X - Width, Foot.Y);
  cairo_curve_to(Cr, Foot.X - Width * 0.6, Foot.Y - Height * 0.5, Foot.X + Lean - Width * 0.5,
                 Foot.Y - Height * 0.7, Foot.X + Lean - Width * 0.4, Foot.Y - Height);
  cairo_line_to(Cr, Foot.X + Lean + Width * 0.4, Foot.Y - Height);
  cairo_curve_to(Cr, Foot.X + Lean + Width * 0.5, Foot.Y - Height * 0.7, Foot.X + Width * 0.6,
                 Foot.Y - Height * 0.5, Foot.X + Width, Foot.Y);
  cairo_close_path(Cr);
  cairo_pattern_t* Round = cairo_pattern_create_linear(Foot.X - Width, 0, Foot.X + Width, 0);
  const TColor Lit = Shade(Bark, 1.2), Dark = Shade(Bark, 0.7);
  cairo_pattern_add_color_stop_rgb(Round, 0, Lit.R, Lit.G, Lit.B);
  cairo_pattern_add_color_stop_rgb(Round, 1, Dark.R, Dark.G, Dark.B);
  cairo_set_source(Cr, Round);
  cairo_fill_preserve(Cr);
  cairo_pattern_destroy(Round);
  StrokeOutline(Cr, Bark, 0.5);
}

// A crown of overlapping round clumps: one dark silhouette for the outline, then every clump lit
// from the upper left, back clumps first.
void Crown(cairo_t* Cr, std::vector<TBlob> Blobs, const TColor& Leaves) {
  std::sort(Blobs.begin(), Blobs.end(), [](const TBlob& A, const TBlob& B) { return A.Y < B.Y; });
  SetColor(Cr, Shade(Leaves, 0.42));
  for (const TBlob& Blob : Blobs) {
    cairo_new_sub_path(Cr);
    cairo_arc(Cr, Blob.X, Blob.Y, Blob.R + 0.7, 0, 2 * kPi);
  }
  cairo_fill(Cr);
  const TColor Lit = Shade(Leaves, 1.3), Dark = Shade(Leaves, 0.72);
  for (const TBlob& Blob : Blobs) {
    cairo_pattern_t* Light = cairo_pattern_create_radial(
        Blob.X - Blob.R * 0.4, Blob.Y - Blob.R * 0.45, Blob.R * 0.1, Blob.X, Blob.Y, Blob.R * 1.05);
    cairo_pattern_add_color_stop_rgb(Light, 0, Lit.R, Lit.G, Lit.B);
    cairo_pattern_add_color_stop_rgb(Light, 0.55, Leaves.R, Leaves.G, Leaves.B);
    cairo_pattern_add_color_stop_rgb(Light, 1, Dark.R, Dark.G, Dark.B);
    cairo_arc(Cr, Blob.X, Blob.Y, Blob.R, 0, 2 * kPi);
    cairo_set_source(Cr, Light);
    cairo_fill(Cr);
    cairo_pattern_destroy(Light);
  }
}

// Little leaf flecks over a crown so it does not read as plain balls.
void Flecks(cairo_t* Cr, const std::vector<TBlob>& Blobs, const TColor& Leaves, TRandom& Random) {
  for (const TBlob& Blob : Blobs) {
    const int Count = static_cast<int>(Blob.R * 0.8) + 2;
    for (int Index = 0; Index < Count; ++Index) {
      const double Angle = Random.Range(0, 2 * kPi), Distance = Random.Range(0.2, 0.85) * Blob.R;
      const double X = Blob.X + std::cos(Angle) * Distance, Y = Blob.Y + std::sin(Angle) * Distance;
      const bool Lit = (X - Blob.X) + (Y - Blob.Y) < 0;
      SetColor(Cr, Shade(Leaves, Lit ? 1.35 : 0.7));
      cairo_arc(Cr, X, Y, Random.Range(0.6, 1.3), 0, 2 * kPi);
      cairo_fill(Cr);
    }
  }
}

}  // namespace

void Cypress(const TIso& Iso, const TVec& Base, double Height, TRandom& Random) {
  cairo_t* Cr = Iso.Cr();
  const TPoint Foot = Iso.Screen(Base);
  const double Width = Height * Random.Range(0.14, 0.18);
  for (double T = 0.1; T < 0.95; T += 0.1)
    ShadowBlob(Iso, Base, Height * T, Width * (1 - T * 0.7));
  Trunk(Cr, Foot, Height * 0.15, 1.3, 0, Rgb(0x6B4A30));
  const double Bottom = Foot.Y - Height * 0.08, Top = Foot.Y - Height;
  const double Lean = Random.Range(-1.5, 1.5);
  auto Outline = [&](double Grow) {
    cairo_move_to(Cr, Foot.X + Lean, Top - Grow);
    cairo_curve_to(Cr, Foot.X + Width * 0.9 + Grow, Top + Height * 0.35, Foot.X + Width + Grow,
                   Bottom - Height * 0.15, Foot.X + Width * 0.45, Bottom + Grow);
    cairo_curve_to(Cr, Foot.X, Bottom + Width * 0.3 + Grow, Foot.X - Width * 0.3, Bottom + Grow,
                   Foot.X - Width * 0.45, Bottom + Grow);
    cairo_curve_to(Cr, Foot.X - Width - Grow, Bottom - Height * 0.15, Foot.X - Width * 0.9 - Grow,
                   Top + Height * 0.35, Foot.X + Lean, Top - Grow);
    cairo_close_path(Cr);
  };
  Outline(0.7);
  SetColor(Cr, Shade(Palette::Cypress, 0.45));
  cairo_fill(Cr);
  Outline(0);
  cairo_pattern_t* Light = cairo_pattern_create_linear(Foot.X - Width, Top, Foot.X + Width, Bottom);
  const TColor Lit = Shade(Palette::Cypress, 1.35), Dark = Shade(Palette::Cypress, 0.7);
  cairo_pattern_add_color_stop_rgb(Light, 0, Lit.R, Lit.G, Lit.B);
  cairo_pattern_add_color_stop_rgb(Light, 0.45, Palette::Cypress.R, Palette::Cypress.G,
                                   Palette::Cypress.B);
  cairo_pattern_add_color_stop_rgb(Light, 1, Dark.R, Dark.G, Dark.B);
  cairo_set_source(Cr, Light);
  cairo_fill_preserve(Cr);
  cairo_pattern_destroy(Light);
  cairo_save(Cr);
  cairo_clip(Cr);
  // Tufts of foliage: short strokes following the flame shape.
  const int Tufts = static_cast<int>(Height / 2.2);
  for (int Index = 0; Index < Tufts; ++Index) {
    const double T = Random.Uniform();
    const double Y = Top + (Bottom - Top) * T;
    const double Half = Width * std::sin(std::min(1.0, T * 1.3 + 0.15) * kPi * 0.5) * 0.95;
    const double X = Foot.X + Random.Range(-Half, Half);
    const bool Lit = X < Foot.X;
    SetColor(Cr, Shade(Palette::Cypress, Lit ? 1.45 : 0.62));
    cairo_move_to(Cr, X - 1.6, Y + 1.2);
    cairo_curve_to(Cr, X - 0.5, Y - 0.6, X + 0.5, Y - 0.6, X + 1.6, Y + 1.2);
    cairo_set_line_width(Cr, 0.7);
    cairo_stroke(Cr);
  }
  cairo_restore(Cr);
}

void OliveTree(const TIso& Iso, const TVec& Base, double Size, TRandom& Random) {
  cairo_t* Cr = Iso.Cr();
  const TPoint Foot = Iso.Screen(Base);
  const double Height = 26 * Size, Radius = 13 * Size;
  TrunkShadow(Iso, Base, Height * 0.6, 2.2 * Size);
  ShadowBlob(Iso, Base, Height * 0.75, Radius * 1.05);
  Trunk(Cr, Foot, Height * 0.55, 2.6 * Size, Random.Range(-3, 3) * Size, Rgb(0x7A6A58));
  std::vector<TBlob> Blobs;
  const int Count = 7;
  for (int Index = 0; Index < Count; ++Index) {
    const double Angle = 2 * kPi * Index / Count + Random.Range(-0.3, 0.3);
    Blobs.push_back({Foot.X + std::cos(Angle) * Radius * 0.62,
                     Foot.Y - Height * 0.78 + std::sin(Angle) * Radius * 0.38,
                     Radius * Random.Range(0.42, 0.56)});
  }
  Blobs.push_back({Foot.X, Foot.Y - Height * 0.85, Radius * 0.5});
  const TColor Leaves = Mix(Palette::Olive, Rgb(0x9AA88A), 0.3);
  Crown(Cr, Blobs, Leaves);
  Flecks(Cr, Blobs, Leaves, Random);
}

void StonePine(const TIso& Iso, const TVec& Base, double Size, TRandom& Random) {
  cairo_t* Cr = Iso.Cr();
  const TPoint Foot = Iso.Screen(Base);
  const double Height = 48 * Size, Radius = 17 * Size;
  TrunkShadow(Iso, Base, Height * 0.85, 1.8 * Size);
  ShadowBlob(Iso, Base, Height * 0.9, Radius * 1.1);
  const double Lean = Random.Range(-5, 5) * Size;
  Trunk(Cr, Foot, Height * 0.8, 2.2 * Size, Lean, Rgb(0x8A5A3C));
  std::vector<TBlob> Blobs;
  const double CrownY = Foot.Y - Height * 0.88;
  for (int Index = 0; Index < 9; ++Index) {
    const double T = (Index - 4) / 4.0;
    Blobs.push_back({Foot.X + Lean + T * Radius * 0.95 + Random.Range(-1, 1),
                     CrownY + std::abs(T) * Radius * 0.12 + Random.Range(-1.5, 1.5) -
                         (Index % 2) * Radius * 0.18,
                     Radius * Random.Range(0.28, 0.38)});
  }
  const TColor Leaves = Rgb(0x4F6E34);
  Crown(Cr, Blobs, Leaves);
  Flecks(Cr, Blobs, Leaves, Random);
}

void OakTree(const TIso& Iso, const TVec& Base, double Size, TRandom& Random) {
  cairo_t* Cr = Iso.Cr();
  const TPoint Foot = Iso.Screen(Base);
  const double Height = 34 * Size, Radius = 15 * Size;
  TrunkShadow(Iso, Base, Height * 0.55, 2.2 * Size);
  ShadowBlob(Iso, Base, Height * 0.7, Radius * 1.05);
  Trunk(Cr, Foot, Height * 0.5, 2.6 * Size, Random.Range(-1, 1), Rgb(0x6E4E34));
  std::vector<TBlob> Blobs;
  for (int Index = 0; Index < 10; ++Index) {
    const double Angle = Random.Range(0, 2 * kPi), Distance = Random.Range(0.2, 0.7) * Radius;
    Blobs.push_back({Foot.X + std::cos(Angle) * Distance,
                     Foot.Y - Height * 0.7 + std::sin(Angle) * Distance * 0.75,
                     Radius * Random.Range(0.4, 0.55)});
  }
  Crown(Cr, Blobs, Palette::Leaf);
  Flecks(Cr, Blobs, Palette::Leaf, Random);
}

void Bush(const TIso& Iso, const TVec& Base, double Size, const TColor& Color, TRandom& Random) {
  const TPoint Foot = Iso.Screen(Base);
  const double Radius = 5 * Size;
  ShadowBlob(Iso, Base, Radius, Radius);
  std::vector<TBlob> Blobs;
  for (int Index = 0; Index < 4; ++Index)
    Blobs.push_back({Foot.X + Random.Range(-0.7, 0.7) * Radius,
                     Foot.Y - Radius * Random.Range(0.5, 1.0), Radius * Random.Range(0.5, 0.75)});
  Crown(Iso.Cr(), Blobs, Color);
}

void Rock(const TIso& Iso, const TVec& Base, double Size, const TColor& Color, TRandom& Random) {
  cairo_t* Cr = Iso.Cr();
  const TPoint Foot = Iso.Screen(Base);
  const double RX = 9 * Size, Up = RX * Random.Range(0.75, 1.0), Down = RX * 0.35;
  ShadowBlob(Iso, Base, Up * 0.5, RX * 0.95);
  // A low-poly boulder: facets fan out from a peak up and left of the middle, each lit by how
  // much it turns towards the upper left.
  const int Corners = Random.Int(7, 9);
  std::vector<TPoint> Outline;
  for (int Index = 0; Index < Corners; ++Index) {
    const double Angle = 2 * kPi * (Index + Random.Range(-0.25, 0.25)) / Corners;
    const double Reach = Random.Range(0.8, 1.08), Sin = std::sin(Angle);
    Outline.push_back(
        {Foot.X + std::cos(Angle) * RX * Reach, Foot.Y + Sin * (Sin < 0 ? Up : Down) * Reach});
  }
  const TPoint Peak{Foot.X - RX * Random.Range(0.1, 0.3), Foot.Y - Up * Random.Range(0.45, 0.6)};
  cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
  for (std::size_t Index = 0; Index < Outline.size(); ++Index) {
    const TPoint& A = Outline[Index];
    const TPoint& B = Outline[(Index + 1) % Outline.size()];
    const double DX = (A.X + B.X) / 2 - Peak.X, DY = (A.Y + B.Y) / 2 - Peak.Y;
    const double Towards = -(DX + DY) * 0.7071 / std::max(1e-6, std::hypot(DX, DY));
    const double Light = 0.92 + 0.26 * Towards - (DY > 0 ? 0.08 : 0);
    cairo_move_to(Cr, Peak.X, Peak.Y);
    cairo_line_to(Cr, A.X, A.Y);
    cairo_line_to(Cr, B.X, B.Y);
    cairo_close_path(Cr);
    SetColor(Cr, Shade(Color, Light));
    cairo_fill_preserve(Cr);
    cairo_set_source_rgba(Cr, 0, 0, 0, 0.08);
    cairo_set_line_width(Cr, 0.35);
    cairo_stroke(Cr);
  }
  cairo_move_to(Cr, Outline[0].X, Outline[0].Y);
  for (const TPoint& Point : Outline)
    cairo_line_to(Cr, Point.X, Point.Y);
  cairo_close_path(Cr);
  StrokeOutline(Cr, Color, 0.55);
}

// --- building blocks -----------------------------------------------------------------------

namespace {

constexpr double kStorey = 20;

void BlockMarks(const TIso& Iso, const TBlock& Block, const TBlockStyle& Style) {
  const double Height = Block.Max.Z - Block.Min.Z;
  const int Storeys = std::max(1, static_cast<int>((Height + 4) / kStorey));
  for (int Index = 0; Index < 4; ++Index) {
    TWall Wall = Side(Block.Min, Block.Max, Index);
    Wall.A.Z = Wall.B.Z = Block.Min.Z;
    if (!Visible(Iso, Wall)) continue;
    const double Length = WallLength(Wall);
    const bool HasDoor = Index == Block.DoorSide;
    if (HasDoor)
      Door(Iso, Wall, Block.DoorAt, 0.055, std::min(15.0, Height - 3), Style.Door, Height > 24);
    if (!Block.Windows) continue;
    const int Count = std::max(1, static_cast<int>(Length / 0.11));
    for (int Storey = 0; Storey < Storeys; ++Storey) {
      for (int Slot = 0; Slot < Count; ++Slot) {
        const double S = (Slot + 0.5) / Count;
        if (HasDoor && Storey == 0 && std::abs(S - Block.DoorAt) * Length < 0.06) continue;
        const double Z0 = Block.Min.Z + Storey * kStorey + 7;
        if (Z0 + 8 > Block.Max.Z - 2) continue;
        Window(Iso, Wall, S, 0.032, Z0, Z0 + 8, Style.Shutters);
      }
    }
  }
}

}  // namespace

void DrawBlock(const TIso& Iso, const TBlock& Block, const TBlockStyle& Style) {
  const TSolid Walls = Box(Block.Min, Block.Max, Style.Wall, Style.Wall);
  CastShadow(Iso, Walls);
  ContactShadow(Iso, Block.Min, Block.Max, 0.012);
  Draw(Iso, Walls);
  BlockMarks(Iso, Block, Style);
  const TVec Eave{Block.Min.X, Block.Min.Y, Block.Max.Z};
  const TVec Top{Block.Max.X, Block.Max.Y, Block.Max.Z + Block.Rise};
  TSolid Roof;
  switch (Block.Roof) {
    case TRoofKind::GableAlongX:
    case TRoofKind::GableAlongY:
      Roof = WithDetail(
          GableRoof(Eave, Top, Block.Roof == TRoofKind::GableAlongX, 0.018, Style.Roof, Style.Wall),
          RoofTiles, true);
      break;
    case TRoofKind::Hip:
      Roof = WithDetail(HipRoof(Eave, Top, 0.018, Style.Roof), RoofTiles, true);
      break;
    case TRoofKind::Flat: {
      // A terrace behind a low parapet.
      const double Rim = 0.014;
      cairo_t* Cr = Iso.Cr();
      Iso.Polygon(Cr, {{Block.Min.X + Rim, Block.Min.Y + Rim, Block.Max.Z},
                       {Block.Max.X - Rim, Block.Min.Y + Rim, Block.Max.Z},
                       {Block.Max.X - Rim, Block.Max.Y - Rim, Block.Max.Z},
                       {Block.Min.X + Rim, Block.Max.Y - Rim, Block.Max.Z}});
      SetColor(Cr, Shade(Mix(Style.Wall, Palette::Earth, 0.35), 0.92));
      cairo_fill_preserve(Cr);
      StrokeOutline(Cr, Style.Wall, 0.4);
      return;
    }
  }
  CastShadow(Iso, Roof);
  Draw(Iso, Roof);
}

double BlockDepth(const TIso& Iso, const TBlock& Block) {
  return Iso.Depth(Lerp(Block.Min, Block.Max, 0.5));
}

void AddBlock(TDrawList& Order, const TIso& Iso, const TBlock& Block, const TBlockStyle& Style) {
  Order.Add(BlockDepth(Iso, Block), [&Iso, Block, Style] { DrawBlock(Iso, Block, Style); });
}

// --- order, ground and atlas ---------------------------------------------------------------

void TDrawList::Run() {
  std::stable_sort(Items.begin(), Items.end(),
                   [](const TItem& A, const TItem& B) { return A.Depth < B.Depth; });
  for (const TItem& Item : Items)
    Item.Draw();
  Items.clear();
}

namespace {

TColor PlotColor(TPlotStyle Style, double X, double Y, std::uint32_t Seed) {
  const double Grain = FractalNoise(X * 14, Y * 14, Seed, 3);
  const double Speck = Noise(X * 90, Y * 90, Seed + 17);
  switch (Style) {
    case TPlotStyle::Paved: {
      // Rows of slabs, every other row shifted by half a slab.
      const double Rows = 11, Row = std::floor(Y * Rows + 100);
      const double Shift = std::fmod(Row, 2.0) * 0.5;
      const double Col = std::floor(X * Rows * 0.75 + Shift + 100);
      const double FracY = Y * Rows + 100 - Row, FracX = X * Rows * 0.75 + Shift + 100 - Col;
      const double Joint = std::min({FracY, 1 - FracY, FracX * 0.75, (1 - FracX) * 0.75});
      TRandom Slab(static_cast<std::uint64_t>(Row * 977 + Col * 131 + Seed));
      const TColor Stone = Mix(Rgb(0xD8CDB8), Rgb(0xC4B69C), Slab.Uniform());
      const TColor Surface = Shade(Stone, 0.94 + Grain * 0.12);
      return Joint < 0.06 ? Shade(Stone, 0.78) : Surface;
    }
    case TPlotStyle::Sand:
      return Shade(Mix(Palette::Sand, Palette::Earth, Grain * 0.45), 0.96 + Speck * 0.08);
    case TPlotStyle::Garden:
      return Shade(Mix(Palette::GrassDark, Palette::Grass, Grain), 0.95 + Speck * 0.1);
    case TPlotStyle::Gravel:
      return Shade(Mix(Rgb(0xDCCFB4), Rgb(0xBFAE8F), Grain), 0.9 + Speck * 0.18);
    case TPlotStyle::Earth:
    default:
      return Shade(Mix(Rgb(0xD6B889), Palette::Earth, Grain), 0.93 + Speck * 0.12);
  }
}

}  // namespace

void Plot(const TIso& Iso, TPlotStyle Style, double Extent, std::uint32_t Seed) {
  cairo_surface_t* Target = cairo_get_target(Iso.Ground());
  cairo_surface_flush(Target);
  unsigned char* Data = cairo_image_surface_get_data(Target);
  const int Stride = cairo_image_surface_get_stride(Target);
  const int Width = cairo_image_surface_get_width(Target),
            Height = cairo_image_surface_get_height(Target);
  const std::uint32_t LookSeed = Seed + static_cast<std::uint32_t>(Iso.Look()) * 101u;
  for (int PY = 0; PY < Height; ++PY) {
    auto* Row = reinterpret_cast<std::uint32_t*>(Data + std::ptrdiff_t(PY) * Stride);
    for (int PX = 0; PX < Width; ++PX) {
      const double UX = (PX + 0.5) / kPixelsPerUnit, UY = (PY + 0.5) / kPixelsPerUnit;
      const double Across = (UX - kCentreX) / kHalfWidth, Down = (UY - kCentreY) / kHalfHeight;
      const double MapX = (Across + Down) / 2, MapY = (Across - Down) / 2;
      // A square with rounded corners on the ground (a diamond on screen).
      const double AX = std::abs(MapX) * 2 / Extent, AY = std::abs(MapY) * 2 / Extent;
      const double Distance = std::pow(std::pow(AX, 8) + std::pow(AY, 8), 1.0 / 8);
      const double Wobble = (Noise(MapX * 20, MapY * 20, LookSeed + 5) - 0.5) * 0.05;
      const double Alpha = 1 - SmoothStep(0.9, 1.0, Distance + Wobble);
      if (Alpha <= 0) continue;
      TColor Color = PlotColor(Style, MapX, MapY, LookSeed);
      Color = Shade(Color, 1 - 0.1 * SmoothStep(0.75, 1.0, Distance));
      const double A = Alpha * Color.A;
      const auto Byte = [](double Value) {
        return static_cast<std::uint32_t>(std::lround(std::clamp(Value, 0.0, 1.0) * 255));
      };
      Row[PX] =
          Byte(A) << 24 | Byte(Color.R * A) << 16 | Byte(Color.G * A) << 8 | Byte(Color.B * A);
    }
  }
  cairo_surface_mark_dirty(Target);
}

std::vector<TRect> PaneCells(int Variants) {
  return GridCells(Variants * kLooks, 4, kFramePixelWidth, kFramePixelHeight);
}

namespace {

// Two box blurs, across and down, soften the shadow mask's edges.
void SoftenShadowMask(cairo_surface_t* Mask, int Radius) {
  cairo_surface_flush(Mask);
  unsigned char* Data = cairo_image_surface_get_data(Mask);
  const int Stride = cairo_image_surface_get_stride(Mask);
  const int Width = cairo_image_surface_get_width(Mask),
            Height = cairo_image_surface_get_height(Mask);
  std::vector<int> Line(static_cast<std::size_t>(std::max(Width, Height)));
  const int Span = 2 * Radius + 1;
  auto Pass = [&](int Count, int Lines, auto&& At) {
    for (int L = 0; L < Lines; ++L) {
      for (int I = 0; I < Count; ++I)
        Line[static_cast<std::size_t>(I)] = At(L, I);
      int Sum = 0;
      for (int I = -Radius; I <= Radius; ++I)
        Sum += Line[static_cast<std::size_t>(std::clamp(I, 0, Count - 1))];
      for (int I = 0; I < Count; ++I) {
        At(L, I) = static_cast<unsigned char>(Sum / Span);
        Sum += Line[static_cast<std::size_t>(std::min(I + Radius + 1, Count - 1))];
        Sum -= Line[static_cast<std::size_t>(std::max(I - Radius, 0))];
      }
    }
  };
  for (int Repeat = 0; Repeat < 2; ++Repeat) {
    Pass(Width, Height,
         [&](int L, int I) -> unsigned char& { return Data[std::ptrdiff_t(L) * Stride + I]; });
    Pass(Height, Width,
         [&](int L, int I) -> unsigned char& { return Data[std::ptrdiff_t(I) * Stride + L]; });
  }
  // Shadows fade out just inside the frame's edges instead of ending in a hard line.
  const int Fade = 8;
  for (int Y = 0; Y < Height; ++Y)
    for (int X = 0; X < Width; ++X) {
      const int Edge = std::min({X, Y, Width - 1 - X, Height - 1 - Y});
      if (Edge >= Fade) continue;
      unsigned char& Value = Data[std::ptrdiff_t(Y) * Stride + X];
      Value = static_cast<unsigned char>(Value * Edge / Fade);
    }
  cairo_surface_mark_dirty(Mask);
}

void DiamondPath(cairo_t* Cr) {
  cairo_move_to(Cr, kCentreX, kCentreY - kHalfHeight);
  cairo_line_to(Cr, kCentreX + kHalfWidth, kCentreY);
  cairo_line_to(Cr, kCentreX, kCentreY + kHalfHeight);
  cairo_line_to(Cr, kCentreX - kHalfWidth, kCentreY);
  cairo_close_path(Cr);
}

void RenderFrame(cairo_t* Atlas, const TRect& Cell, int Look, int Variant, const TPaneDraw& Draw,
                 bool ShadowsOnOwnGround) {
  TCanvas Ground(kFramePixelWidth, kFramePixelHeight), Objects(kFramePixelWidth, kFramePixelHeight);
  cairo_surface_t* Mask =
      cairo_image_surface_create(CAIRO_FORMAT_A8, kFramePixelWidth, kFramePixelHeight);
  cairo_t* ShadowCr = cairo_create(Mask);
  for (cairo_t* Cr : {Ground.Cr(), Objects.Cr(), ShadowCr})
    cairo_scale(Cr, kPixelsPerUnit, kPixelsPerUnit);
  Draw(TIso(Look, Ground.Cr(), ShadowCr, Objects.Cr()), Variant);
  cairo_destroy(ShadowCr);
  SoftenShadowMask(Mask, kShadowBlurRadius);

  cairo_save(Atlas);
  cairo_rectangle(Atlas, Cell.Left, Cell.Top, Cell.Width, Cell.Height);
  cairo_clip(Atlas);
  cairo_translate(Atlas, Cell.Left, Cell.Top);
  cairo_set_source_surface(Atlas, Ground.Surface(), 0, 0);
  cairo_paint(Atlas);
  if (ShadowsOnOwnGround) {
    cairo_save(Atlas);
    cairo_scale(Atlas, kPixelsPerUnit, kPixelsPerUnit);
    DiamondPath(Atlas);
    cairo_restore(Atlas);
    cairo_clip(Atlas);
  }
  cairo_set_source_rgba(Atlas, kShadowTint.R, kShadowTint.G, kShadowTint.B, kShadowOpacity);
  cairo_mask_surface(Atlas, Mask, 0, 0);
  cairo_reset_clip(Atlas);
  cairo_rectangle(Atlas, 0, 0, Cell.Width, Cell.Height);
  cairo_clip(Atlas);
  cairo_set_source_surface(Atlas, Objects.Surface(), 0, 0);
  cairo_paint(Atlas);
  cairo_restore(Atlas);
  cairo_surface_destroy(Mask);
}

}  // namespace

TPicture RenderPane(int Variants, const TPaneDraw& Draw, bool ShadowsOnOwnGround) {
  const std::vector<TRect> Cells = PaneCells(Variants);
  TCanvas Atlas(CellsWidth(Cells), CellsHeight(Cells));
  for (int Variant = 0; Variant < Variants; ++Variant)
    for (int Look = 0; Look < kLooks; ++Look)
      RenderFrame(Atlas.Cr(), Cells[static_cast<std::size_t>(Variant * kLooks + Look)], Look,
                  Variant, Draw, ShadowsOnOwnGround);
  return Atlas.Picture();
}

void WritePane(TOutput& Output, const std::string& Name, int Variants, const TPaneDraw& Draw,
               bool ShadowsOnOwnGround) {
  Output.Texture(Name, RenderPane(Variants, Draw, ShadowsOnOwnGround), TDdsFormat::Dxt5);
}

namespace {

void GenerateLayouts(TOutput& Output) {
  for (int Variants : {1, 2, 4})
    Output.SegmentFile("Pane" + std::to_string(Variants) + ".tsg", PaneCells(Variants));
}

const TGeneratorRegistration Registration("panes-layouts", &GenerateLayouts);

}  // namespace

}  // namespace Assets::Panes

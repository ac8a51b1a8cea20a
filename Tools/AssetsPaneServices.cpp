// AssetsPaneServices.cpp -- the town's service buildings (a chapel and a temple, a market and a
// trading hall, a herbalist and public baths, a school and a theatre) and the fountain garden.
#include <cmath>

#include "AssetsPanes.h"

namespace {

using namespace Assets;
using namespace Assets::Panes;

const TColor kMarble = Rgb(0xEFE8DA);
const TColor kBlueDome = Rgb(0x3C78B4);
const TBlockStyle kChapelStyle{Palette::Whitewash, Palette::Terracotta, Rgb(0x3C78B4),
                               Rgb(0x3C6E9E)};
const TBlockStyle kOchreStyle{Palette::Ochre, Palette::Terracotta, Rgb(0x5C7F4A), Rgb(0x6E4A2E)};
const TBlockStyle kMarbleStyle{kMarble, Palette::Terracotta, Rgb(0x6E4A2E), Rgb(0x6E4A2E)};

TRandom LookRandom(std::uint64_t Seed, const TIso& Iso) {
  return TRandom(Seed * 97 + static_cast<std::uint64_t>(Iso.Look()));
}

// A plinth of stone steps under a building.
void Steps(const TIso& Iso, const TVec& Min, const TVec& Max, int Count, double Rise) {
  for (int Step = 0; Step < Count; ++Step) {
    const double Inset = 0.014 * Step;
    DrawWithShadow(Iso, WithDetail(Box({Min.X + Inset, Min.Y + Inset, Rise * Step},
                                       {Max.X - Inset, Max.Y - Inset, Rise * (Step + 1)},
                                       Rgb(0xDCD3C2), kMarble),
                                   StoneCourses, false));
  }
}

// --- religion ------------------------------------------------------------------------------

void Chapel(const TIso& Iso, int) {
  TRandom Random = LookRandom(1, Iso);
  Plot(Iso, TPlotStyle::Paved, 0.8, 31);
  TDrawList Order;
  const TBlock Nave{{-0.2, -0.11, 0}, {0.14, 0.11, 26}, TRoofKind::GableAlongX, 12, 0, 0.5, false};
  Order.Add(BlockDepth(Iso, Nave), [&Iso, Nave] {
    DrawBlock(Iso, Nave, kChapelStyle);
    for (int Index = 1; Index <= 3; Index += 2) {
      const TWall Wall = Side(Nave.Min, Nave.Max, Index);
      for (double S : {0.3, 0.7})
        ArchOpening(Iso, Wall, S, 0.03, 16, Rgb(0x2F3E52));
    }
    // The drum and the blue dome over the crossing, and the bell gable over the door, the
    // farther of the two first.
    const auto DomeOverCrossing = [&Iso] {
      DrawWithShadow(
          Iso, Box({-0.1, -0.06, 30}, {0.02, 0.06, 42}, Palette::Whitewash, Palette::Whitewash));
      Dome(Iso, {-0.04, 0, 42}, 0.065, 16, kBlueDome);
      Draw(Iso,
           Box({-0.043, -0.003, 57}, {-0.037, 0.003, 64}, Palette::Whitewash, Palette::Whitewash));
    };
    const auto BellGable = [&Iso] {
      DrawWithShadow(
          Iso, Box({0.12, -0.05, 34}, {0.15, 0.05, 48}, Palette::Whitewash, Palette::Whitewash));
      ArchOpening(Iso, Side({0.12, -0.05, 34}, {0.15, 0.05, 48}, 0), 0.5, 0.04, 11, Rgb(0x2F3E52));
      ArchOpening(Iso, Side({0.12, -0.05, 34}, {0.15, 0.05, 48}, 2), 0.5, 0.04, 11, Rgb(0x2F3E52));
    };
    if (Iso.Depth({0.13, 0, 0}) < Iso.Depth({-0.04, 0, 0})) {
      BellGable();
      DomeOverCrossing();
    } else {
      DomeOverCrossing();
      BellGable();
    }
  });
  Order.Add(Iso.Depth({0.26, 0.2, 0}), [&] { Cypress(Iso, {0.24, 0.22, 0}, 46, Random); });
  Order.Add(Iso.Depth({-0.26, -0.24, 0}), [&] { Cypress(Iso, {-0.26, -0.24, 0}, 40, Random); });
  Order.Run();
}

void Temple(const TIso& Iso, int) {
  Plot(Iso, TPlotStyle::Paved, 0.92, 35);
  const TVec Min{-0.3, -0.2, 0}, Max{0.3, 0.2, 0};
  Steps(Iso, Min, Max, 3, 3);
  const double Floor = 9, Height = 34, R = 0.014;
  const double X0 = Min.X + 0.07, X1 = Max.X - 0.07, Y0 = Min.Y + 0.07, Y1 = Max.Y - 0.07;
  TDrawList Order;
  std::vector<TVec> Columns;
  for (int I = 0; I < 6; ++I)
    for (int J = 0; J < 4; ++J)
      if (I == 0 || I == 5 || J == 0 || J == 3)
        Columns.push_back({X0 + (X1 - X0) * I / 5, Y0 + (Y1 - Y0) * J / 3, 0});
  for (const TVec& Base : Columns)
    Order.Add(Iso.Depth(Base), [&Iso, Base, Floor, Height, R] {
      const TSolid Hull = Box({Base.X - R, Base.Y - R, Floor},
                              {Base.X + R, Base.Y + R, Floor + Height}, kMarble, kMarble);
      CastShadow(Iso, Hull);
      Column(Iso, {Base.X, Base.Y, Floor}, Height, R, kMarble);
    });
  const TBlock Cella{{X0 + 0.05, Y0 + 0.04, Floor},
                     {X1 - 0.04, Y1 - 0.04, Floor + Height},
                     TRoofKind::Flat,
                     0,
                     0,
                     0.5,
                     false};
  Order.Add(BlockDepth(Iso, Cella), [&Iso, Cella] {
    DrawBlock(Iso, Cella, {Rgb(0xE6DCC8), Palette::Terracotta, Rgb(0x6E4A2E), Rgb(0x8A5A2B)});
    Door(Iso, Side(Cella.Min, Cella.Max, 0), 0.5, 0.06, 22, Rgb(0x8A5A2B), false);
  });
  Order.Run();
  const double Top = Floor + Height;
  DrawWithShadow(
      Iso, Box({X0 - 0.02, Y0 - 0.02, Top}, {X1 + 0.02, Y1 + 0.02, Top + 5}, kMarble, kMarble));
  DrawWithShadow(
      Iso, WithDetail(GableRoof({X0 - 0.02, Y0 - 0.02, Top + 5}, {X1 + 0.02, Y1 + 0.02, Top + 18},
                                true, 0.01, Palette::Terracotta, kMarble),
                      RoofTiles, true));
}

// --- commerce ------------------------------------------------------------------------------

void Crate(const TIso& Iso, const TVec& Base, const TColor& Goods, TRandom& Random) {
  const double Half = 0.018;
  DrawWithShadow(
      Iso, Box({Base.X - Half, Base.Y - Half, Base.Z}, {Base.X + Half, Base.Y + Half, Base.Z + 5},
               Rgb(0xA87A48), Shade(Goods, 0.9)));
  cairo_t* Cr = Iso.Cr();
  for (int Index = 0; Index < 5; ++Index) {
    const TPoint Point = Iso.Screen({Base.X + Random.Range(-Half, Half) * 0.7,
                                     Base.Y + Random.Range(-Half, Half) * 0.7, Base.Z + 5.5});
    cairo_arc(Cr, Point.X, Point.Y, 1.1, 0, 2 * kPi);
    cairo_set_source_rgb(Cr, Goods.R, Goods.G, Goods.B);
    cairo_fill_preserve(Cr);
    cairo_set_source_rgba(Cr, 0, 0, 0, 0.35);
    cairo_set_line_width(Cr, 0.3);
    cairo_stroke(Cr);
  }
}

void Amphora(const TIso& Iso, const TVec& Base) {
  const TPoint Foot = Iso.Screen(Base);
  cairo_t* Cr = Iso.Cr();
  cairo_move_to(Cr, Foot.X - 0.8, Foot.Y);
  cairo_curve_to(Cr, Foot.X - 4.5, Foot.Y - 4, Foot.X - 3.5, Foot.Y - 9, Foot.X - 1.2, Foot.Y - 10);
  cairo_line_to(Cr, Foot.X - 1.2, Foot.Y - 12);
  cairo_line_to(Cr, Foot.X + 1.2, Foot.Y - 12);
  cairo_line_to(Cr, Foot.X + 1.2, Foot.Y - 10);
  cairo_curve_to(Cr, Foot.X + 3.5, Foot.Y - 9, Foot.X + 4.5, Foot.Y - 4, Foot.X + 0.8, Foot.Y);
  cairo_close_path(Cr);
  cairo_pattern_t* Light = cairo_pattern_create_linear(Foot.X - 4, 0, Foot.X + 4, 0);
  cairo_pattern_add_color_stop_rgb(Light, 0, 0.86, 0.55, 0.36);
  cairo_pattern_add_color_stop_rgb(Light, 1, 0.55, 0.3, 0.18);
  cairo_set_source(Cr, Light);
  cairo_fill_preserve(Cr);
  cairo_pattern_destroy(Light);
  cairo_set_source_rgba(Cr, 0.3, 0.15, 0.08, 0.9);
  cairo_set_line_width(Cr, 0.45);
  cairo_stroke(Cr);
}

// A market stall: a counter under a striped awning on four posts.
void Stall(const TIso& Iso, const TVec& Centre, const TColor& Stripe, const TColor& Goods,
           TRandom& Random) {
  const double HX = 0.06, HY = 0.05;
  for (double Y : {Centre.Y - HY, Centre.Y + HY})
    DrawWithShadow(Iso, Box({Centre.X - HX, Y - 0.004, 0}, {Centre.X - HX + 0.008, Y + 0.004, 20},
                            Palette::Wood, Palette::Wood));
  DrawWithShadow(Iso, Box({Centre.X - 0.01, Centre.Y - HY, 0}, {Centre.X + 0.035, Centre.Y + HY, 7},
                          Rgb(0xA87A48), Rgb(0xC29660)));
  Crate(Iso, {Centre.X + 0.012, Centre.Y - 0.022, 7}, Goods, Random);
  Crate(Iso, {Centre.X + 0.012, Centre.Y + 0.022, 7}, Rgb(0x9CB04A), Random);
  for (double Y : {Centre.Y - HY, Centre.Y + HY})
    DrawWithShadow(Iso, Box({Centre.X + HX - 0.008, Y - 0.004, 0}, {Centre.X + HX, Y + 0.004, 15},
                            Palette::Wood, Palette::Wood));
  Awning(Iso,
         {TVec{Centre.X - HX - 0.01, Centre.Y - HY - 0.01, 21},
          TVec{Centre.X - HX - 0.01, Centre.Y + HY + 0.01, 21},
          TVec{Centre.X + HX + 0.02, Centre.Y + HY + 0.01, 14},
          TVec{Centre.X + HX + 0.02, Centre.Y - HY - 0.01, 14}},
         Stripe, Rgb(0xF6EEDC));
}

void Market(const TIso& Iso, int) {
  TRandom Random = LookRandom(2, Iso);
  Plot(Iso, TPlotStyle::Paved, 0.86, 32);
  TDrawList Order;
  const std::vector<std::pair<TVec, TColor>> Stalls{{{-0.15, -0.16, 0}, Rgb(0xC8503C)},
                                                    {{-0.15, 0.14, 0}, Rgb(0x3C78B4)},
                                                    {{0.14, -0.16, 0}, Rgb(0xE0A030)},
                                                    {{0.14, 0.14, 0}, Rgb(0x5C8A4A)}};
  const std::vector<TColor> Goods{Rgb(0xE07A2A), Rgb(0xC8303C), Rgb(0x7A3A8A), Rgb(0xF0C040)};
  for (std::size_t Index = 0; Index < Stalls.size(); ++Index) {
    const auto [Centre, Stripe] = Stalls[Index];
    const TColor Good = Goods[Index];
    Order.Add(Iso.Depth(Centre),
              [&Iso, Centre, Stripe, Good, &Random] { Stall(Iso, Centre, Stripe, Good, Random); });
  }
  for (const TVec& Spot : {TVec{0.02, -0.02, 0}, TVec{0.04, 0.02, 0}, TVec{-0.0, 0.03, 0}})
    Order.Add(Iso.Depth(Spot), [&Iso, Spot] { Amphora(Iso, Spot); });
  Order.Add(Iso.Depth({0.3, 0.0, 0}), [&] { OliveTree(Iso, {0.3, 0.0, 0}, 0.8, Random); });
  Order.Run();
}

// A trading hall: a two-storey hall behind a long colonnade, and a statue on the square.
void Forum(const TIso& Iso, int) {
  TRandom Random = LookRandom(6, Iso);
  Plot(Iso, TPlotStyle::Paved, 0.94, 36);
  TDrawList Order;
  const TBlock Hall{{-0.32, -0.3, 0}, {-0.04, 0.3, 40}, TRoofKind::GableAlongY, 13, 0, 0.5, true};
  AddBlock(Order, Iso, Hall, kMarbleStyle);
  const TBlock Wing{{-0.04, 0.18, 0}, {0.3, 0.32, 28}, TRoofKind::GableAlongX, 11, 3, 0.5, true};
  AddBlock(Order, Iso, Wing, kOchreStyle);
  Order.Add(Iso.Depth({0.03, 0.0, 0}), [&Iso] {
    Colonnade(Iso, {0.03, -0.27, 0}, {0.03, 0.16, 0}, 6, 30, 0.011, kMarble);
    DrawWithShadow(Iso, WithDetail(ShedRoof({-0.04, -0.3, 34}, {0.05, 0.18, 42}, false,
                                            Palette::Terracotta, Palette::Terracotta),
                                   RoofTiles, true));
  });
  Order.Add(Iso.Depth({0.2, -0.12, 0}), [&Iso] {
    DrawWithShadow(Iso, Box({0.17, -0.15, 0}, {0.23, -0.09, 10}, kMarble, kMarble));
    Column(Iso, {0.2, -0.12, 10}, 12, 0.012, Rgb(0xB08A5A));
    Dome(Iso, {0.2, -0.12, 22}, 0.014, 5, Rgb(0xB08A5A));
  });
  Order.Add(Iso.Depth({0.3, -0.3, 0}), [&] { Cypress(Iso, {0.3, -0.3, 0}, 40, Random); });
  Order.Run();
}

// --- healthcare ----------------------------------------------------------------------------

void HerbBed(const TIso& Iso, const TVec& Min, const TVec& Max, const TColor& Herbs,
             TRandom& Random) {
  cairo_t* Cr = Iso.Ground();
  Iso.Polygon(Cr, {{Min.X, Min.Y, 0}, {Max.X, Min.Y, 0}, {Max.X, Max.Y, 0}, {Min.X, Max.Y, 0}});
  cairo_set_source_rgb(Cr, 0.52, 0.38, 0.24);
  cairo_fill(Cr);
  for (double X = Min.X + 0.02; X < Max.X; X += 0.035)
    for (double Y = Min.Y + 0.02; Y < Max.Y; Y += 0.035)
      Bush(Iso, {X, Y, 0}, 0.5, Herbs, Random);
}

void Herbalist(const TIso& Iso, int) {
  TRandom Random = LookRandom(3, Iso);
  Plot(Iso, TPlotStyle::Earth, 0.86, 33);
  TDrawList Order;
  const TBlock House{{-0.26, -0.2, 0}, {0.0, 0.12, 26}, TRoofKind::GableAlongY, 13, 0, 0.6, true};
  AddBlock(Order, Iso, House, kOchreStyle);
  Order.Add(Iso.Depth({0.16, -0.16, 0}), [&] {
    HerbBed(Iso, {0.08, -0.26, 0}, {0.26, -0.1, 0}, Rgb(0x9A7AB8), Random);
  });
  Order.Add(Iso.Depth({0.16, 0.12, 0}), [&] {
    HerbBed(Iso, {0.08, 0.04, 0}, {0.26, 0.2, 0}, Rgb(0x7A9A4A), Random);
  });
  Order.Add(Iso.Depth({-0.1, 0.24, 0}), [&Iso] {
    // A drying rack of herbs under a little roof.
    DrawWithShadow(Iso, Box({-0.2, 0.18, 0}, {-0.19, 0.19, 16}, Palette::Wood, Palette::Wood));
    DrawWithShadow(Iso, Box({0.0, 0.18, 0}, {0.01, 0.19, 16}, Palette::Wood, Palette::Wood));
    DrawWithShadow(Iso, Box({-0.2, 0.175, 15}, {0.01, 0.195, 17}, Palette::Wood, Palette::Wood));
    for (double X = -0.18; X < 0.0; X += 0.03)
      DrawWithShadow(Iso, Box({X, 0.182, 8}, {X + 0.012, 0.188, 15}, Rgb(0x6E8A3A), Rgb(0x7E9A4A)));
  });
  Order.Add(Iso.Depth({0.06, 0.3, 0}), [&] { OliveTree(Iso, {0.06, 0.3, 0}, 0.85, Random); });
  Order.Run();
}

void Baths(const TIso& Iso, int) {
  TRandom Random = LookRandom(7, Iso);
  Plot(Iso, TPlotStyle::Paved, 0.94, 37);
  TDrawList Order;
  const TBlock Hall{{-0.32, -0.26, 0}, {0.02, 0.26, 34}, TRoofKind::Flat, 0, 0, 0.5, false};
  Order.Add(BlockDepth(Iso, Hall), [&Iso, Hall] {
    DrawBlock(Iso, Hall, {Rgb(0xEAD9BC), Palette::Terracotta, Rgb(0x6E4A2E), Rgb(0x6E4A2E)});
    for (int Index = 0; Index < 4; ++Index) {
      const TWall Wall = Side(Hall.Min, Hall.Max, Index);
      for (double S : {0.2, 0.5, 0.8})
        ArchOpening(Iso, Wall, S, 0.045, 24, Rgb(0x34404E));
    }
    Dome(Iso, {-0.15, 0.0, 34}, 0.13, 30, Rgb(0xD8CDB8));
    Dome(Iso, {-0.15, 0.0, 62}, 0.02, 6, Rgb(0xE8E0D0));
  });
  Order.Add(Iso.Depth({0.17, 0, 0}), [&Iso] {
    cairo_t* Cr = Iso.Ground();
    Iso.Polygon(Cr, {{0.08, -0.22, 0}, {0.28, -0.22, 0}, {0.28, 0.22, 0}, {0.08, 0.22, 0}});
    cairo_set_source_rgb(Cr, 0.88, 0.84, 0.76);
    cairo_fill(Cr);
    Iso.Polygon(Cr, {{0.1, -0.2, 0}, {0.26, -0.2, 0}, {0.26, 0.2, 0}, {0.1, 0.2, 0}});
    cairo_set_source_rgb(Cr, Palette::Water.R, Palette::Water.G, Palette::Water.B);
    cairo_fill(Cr);
    Iso.Polygon(Cr, {{0.13, -0.17, 0}, {0.23, -0.17, 0}, {0.23, 0.17, 0}, {0.13, 0.17, 0}});
    cairo_set_source_rgba(Cr, Palette::WaterLight.R, Palette::WaterLight.G, Palette::WaterLight.B,
                          0.6);
    cairo_fill(Cr);
  });
  for (double X : {0.06, 0.3})
    Order.Add(Iso.Depth({X, 0, 0}), [&Iso, X] {
      Colonnade(Iso, {X, -0.26, 0}, {X, 0.26, 0}, 5, 20, 0.01, kMarble);
    });
  Order.Add(Iso.Depth({0.34, 0.33, 0}), [&] { Cypress(Iso, {0.35, 0.34, 0}, 36, Random); });
  Order.Run();
}

// --- culture -------------------------------------------------------------------------------

void School(const TIso& Iso, int) {
  TRandom Random = LookRandom(4, Iso);
  Plot(Iso, TPlotStyle::Gravel, 0.88, 34);
  TDrawList Order;
  const TBlock House{{-0.28, -0.22, 0}, {0.04, 0.22, 40}, TRoofKind::Hip, 14, 0, 0.5, true};
  AddBlock(Order, Iso, House, kChapelStyle);
  Order.Add(Iso.Depth({0.1, 0.0, 0}), [&Iso] {
    Steps(Iso, {0.04, -0.1, 0}, {0.14, 0.1, 0}, 1, 3);
    Colonnade(Iso, {0.11, -0.08, 3}, {0.11, 0.08, 3}, 4, 26, 0.01, kMarble);
    DrawWithShadow(Iso, WithDetail(GableRoof({0.03, -0.1, 33}, {0.13, 0.1, 43}, true, 0.005,
                                             Palette::Terracotta, kMarble),
                                   RoofTiles, true));
  });
  Order.Add(Iso.Depth({0.24, -0.24, 0}), [&] { OliveTree(Iso, {0.24, -0.24, 0}, 0.9, Random); });
  Order.Add(Iso.Depth({0.26, 0.22, 0}), [&Iso] {
    DrawWithShadow(Iso, Box({0.22, 0.14, 0}, {0.25, 0.3, 4}, Rgb(0xA87A48), Rgb(0xC29660)));
  });
  Order.Run();
}

// The bowl of a theatre: rings of stone seats rising away from a round stage floor. It opens
// towards the front (+X), spanning the back half of a circle.
class TTheatreBowl {
 public:
  static constexpr TVec kCentre{0.1, 0, 0};

  explicit TTheatreBowl(const TIso& View) : Iso(View) {}

  void Shadow() const {
    std::vector<TVec> Points = Ring(kOuter, kRise * kTiers, kFrom, kTo);
    for (const TVec& Point : Ring(kOuter, 0, kFrom, kTo))
      Points.push_back(Point);
    CastShadow(Iso, TSolid{{TFace{Points, Palette::Stone, nullptr}}});
  }

  void Floor() const {
    Iso.Polygon(Iso.Ground(), Ring(kInner, 0, 0, 2 * kPi));
    cairo_set_source_rgb(Iso.Ground(), 0.85, 0.78, 0.64);
    cairo_fill(Iso.Ground());
  }

  // From the highest, farthest ring down to the lowest: each ring's seat, then its riser.
  void Seats() const {
    for (int Tier = kTiers - 1; Tier >= 0; --Tier) {
      const double Z = kRise * (Tier + 1);
      std::vector<TVec> Seat = Ring(Radius(Tier + 1), Z, kFrom, kTo);
      for (const TVec& Point : Ring(Radius(Tier), Z, kTo, kFrom))
        Seat.push_back(Point);
      Fill(Seat, Rgb(0xDBD1BD), 0.4);
      std::vector<TVec> Riser = Ring(Radius(Tier), Z, kFrom, kTo);
      for (const TVec& Point : Ring(Radius(Tier), Z - kRise, kTo, kFrom))
        Riser.push_back(Point);
      Fill(Riser, Rgb(0xA89C8A), 0);
    }
  }

  // The curved outer wall with its arched doorways, strip by strip where it faces the viewer.
  void OuterWall() const {
    const double Top = kRise * kTiers;
    for (int Step = 0; Step < kSteps; ++Step) {
      const double A0 = Angle(Step), A1 = Angle(Step + 1), Middle = (A0 + A1) / 2;
      const TVec Outward = Iso.ToMap({std::cos(Middle) * 178, std::sin(Middle) * 178, 0});
      if (!Iso.FacesViewer(Outward)) continue;
      FillLit({At(A0, kOuter, 0), At(A1, kOuter, 0), At(A1, kOuter, Top), At(A0, kOuter, Top)},
              Outward, 0.3);
      if (Step % 2 != 0) continue;
      Iso.Polygon(Iso.Cr(), {At(Middle - 0.03, kOuter, 4), At(Middle + 0.03, kOuter, 4),
                             At(Middle + 0.03, kOuter, 16), At(Middle - 0.03, kOuter, 16)});
      cairo_set_source_rgb(Iso.Cr(), 0.3, 0.27, 0.25);
      cairo_fill(Iso.Cr());
    }
  }

  // The two ends of the bowl: stepped side walls facing the stage.
  void Ends() const {
    for (double Angle : {kFrom, kTo}) {
      const double Sign = Angle == kFrom ? 1 : -1;
      const TVec Outward =
          Iso.ToMap({std::sin(Angle) * Sign * 178, -std::cos(Angle) * Sign * 178, 0});
      if (!Iso.FacesViewer(Outward)) continue;
      std::vector<TVec> Profile{At(Angle, kInner, 0)};
      for (int Tier = 0; Tier < kTiers; ++Tier) {
        Profile.push_back(At(Angle, Radius(Tier), kRise * (Tier + 1)));
        Profile.push_back(At(Angle, Radius(Tier + 1), kRise * (Tier + 1)));
      }
      Profile.push_back(At(Angle, kOuter, 0));
      FillLit(Profile, Outward, 0.45);
    }
  }

 private:
  static constexpr int kTiers = 7, kSteps = 24;
  static constexpr double kInner = 0.1, kOuter = 0.4, kRise = 5;
  static constexpr double kFrom = kPi * 0.5, kTo = kPi * 1.5;

  static double Radius(int Tier) { return kInner + (kOuter - kInner) * Tier / kTiers; }
  static double Angle(int Step) { return kFrom + (kTo - kFrom) * Step / kSteps; }
  static TVec At(double Angle, double Radius, double Z) {
    return {kCentre.X + std::cos(Angle) * Radius, kCentre.Y + std::sin(Angle) * Radius, Z};
  }
  static std::vector<TVec> Ring(double Radius, double Z, double From, double To) {
    std::vector<TVec> Points;
    for (int Step = 0; Step <= kSteps; ++Step)
      Points.push_back(At(From + (To - From) * Step / kSteps, Radius, Z));
    return Points;
  }

  void Fill(const std::vector<TVec>& Points, const TColor& Color, double Line) const {
    cairo_t* Cr = Iso.Cr();
    Iso.Polygon(Cr, Points);
    cairo_set_source_rgb(Cr, Color.R, Color.G, Color.B);
    if (Line <= 0) {
      cairo_fill(Cr);
      return;
    }
    cairo_fill_preserve(Cr);
    cairo_set_source_rgba(Cr, 0.35, 0.3, 0.25, 0.6);
    cairo_set_line_width(Cr, Line);
    cairo_stroke(Cr);
  }

  void FillLit(const std::vector<TVec>& Points, const TVec& MapNormal, double Line) const {
    Fill(Points, Shade(Rgb(0xD2C6B0), Iso.Brightness(MapNormal)), Line);
  }

  const TIso& Iso;
};

void TheatreStage(const TIso& Iso) {
  const TBlock Scene{{0.2, -0.3, 0}, {0.28, 0.3, 24}, TRoofKind::GableAlongY, 7, 0, 0.5, false};
  DrawBlock(Iso, Scene, {Rgb(0xE6D8BE), Palette::Terracotta, Rgb(0x6E4A2E), Rgb(0x6E4A2E)});
  for (int Index = 0; Index < 4; Index += 2)
    for (double S : {0.25, 0.5, 0.75})
      ArchOpening(Iso, Side(Scene.Min, Scene.Max, Index), S, 0.05, 16, Rgb(0x3A3430));
}

// The bowl of seats and the stage building in front of it.
void Theatre(const TIso& Iso, int) {
  Plot(Iso, TPlotStyle::Gravel, 0.94, 38);
  const TTheatreBowl Bowl(Iso);
  Bowl.Shadow();
  Bowl.Floor();
  const bool StageBehind = Iso.Depth({0.24, 0, 0}) < Iso.Depth(TTheatreBowl::kCentre);
  if (StageBehind) TheatreStage(Iso);
  Bowl.Seats();
  Bowl.OuterWall();
  Bowl.Ends();
  if (!StageBehind) TheatreStage(Iso);
}

// --- the fountain garden -------------------------------------------------------------------

void FountainGarden(const TIso& Iso, int) {
  TRandom Random = LookRandom(17, Iso);
  Plot(Iso, TPlotStyle::Garden, 0.92, 39);
  cairo_t* Ground = Iso.Ground();
  // Gravel paths crossing at the fountain.
  Iso.Polygon(Ground, {{-0.42, -0.05, 0}, {0.42, -0.05, 0}, {0.42, 0.05, 0}, {-0.42, 0.05, 0}});
  Iso.Polygon(Ground, {{-0.05, -0.42, 0}, {0.05, -0.42, 0}, {0.05, 0.42, 0}, {-0.05, 0.42, 0}});
  std::vector<TVec> Circle;
  for (int Step = 0; Step < 32; ++Step)
    Circle.push_back({std::cos(Step * kPi / 16) * 0.15, std::sin(Step * kPi / 16) * 0.15, 0});
  Iso.Polygon(Ground, Circle);
  cairo_set_source_rgb(Ground, 0.88, 0.82, 0.68);
  cairo_fill(Ground);
  TDrawList Order;
  // Four flower beds edged with low clipped hedges between the paths.
  for (double SX : {-1.0, 1.0})
    for (double SY : {-1.0, 1.0}) {
      const double X0 = SX * 0.09, X1 = SX * 0.3, Y0 = SY * 0.09, Y1 = SY * 0.3;
      const TVec Min{std::min(X0, X1), std::min(Y0, Y1), 0},
          Max{std::max(X0, X1), std::max(Y0, Y1), 0};
      Iso.Polygon(Ground,
                  {{Min.X, Min.Y, 0}, {Max.X, Min.Y, 0}, {Max.X, Max.Y, 0}, {Min.X, Max.Y, 0}});
      cairo_set_source_rgb(Ground, 0.55, 0.42, 0.28);
      cairo_fill(Ground);
      Order.Add(Iso.Depth(Lerp(Min, Max, 0.5)), [&Iso, Min, Max, &Random] {
        const TColor Hedge = Rgb(0x4E7534);
        const double T = 0.014, H = 4;
        const auto HedgeBox = [&Iso, &Hedge](const TVec& A, const TVec& B) {
          DrawWithShadow(Iso, Box(A, B, Hedge, Shade(Hedge, 1.1)));
        };
        // Flowers in the bed first; the hedges in front of them are drawn later by depth.
        std::vector<std::pair<TVec, TVec>> Hedges{{{Min.X, Min.Y, 0}, {Max.X, Min.Y + T, H}},
                                                  {{Min.X, Max.Y - T, 0}, {Max.X, Max.Y, H}},
                                                  {{Min.X, Min.Y, 0}, {Min.X + T, Max.Y, H}},
                                                  {{Max.X - T, Min.Y, 0}, {Max.X, Max.Y, H}}};
        std::sort(Hedges.begin(), Hedges.end(), [&Iso](const auto& P, const auto& Q) {
          return Iso.Depth(Lerp(P.first, P.second, 0.5)) < Iso.Depth(Lerp(Q.first, Q.second, 0.5));
        });
        HedgeBox(Hedges[0].first, Hedges[0].second);
        HedgeBox(Hedges[1].first, Hedges[1].second);
        for (int Index = 0; Index < 26; ++Index) {
          const TVec Spot{Random.Range(Min.X + 0.02, Max.X - 0.02),
                          Random.Range(Min.Y + 0.02, Max.Y - 0.02), 1};
          const TPoint Point = Iso.Screen(Spot);
          cairo_arc(Iso.Cr(), Point.X, Point.Y, 1.1, 0, 2 * kPi);
          const int Kind = Index % 3;
          cairo_set_source_rgb(Iso.Cr(), Kind == 0 ? 0.85 : 0.95, Kind == 1 ? 0.3 : 0.75,
                               Kind == 2 ? 0.75 : 0.35);
          cairo_fill(Iso.Cr());
        }
        HedgeBox(Hedges[2].first, Hedges[2].second);
        HedgeBox(Hedges[3].first, Hedges[3].second);
      });
    }
  Order.Add(0, [&Iso] {
    cairo_t* Cr = Iso.Cr();
    auto Ring = [](double Radius, double Z) {
      std::vector<TVec> Points;
      for (int Step = 0; Step < 32; ++Step)
        Points.push_back(
            {std::cos(Step * kPi / 16) * Radius, std::sin(Step * kPi / 16) * Radius, Z});
      return Points;
    };
    CastShadow(Iso, TSolid{{TFace{Ring(0.1, 6), Palette::Stone, nullptr}}});
    Column(Iso, {0, 0, 0}, 6, 0.1, Rgb(0xE2D8C6));
    Iso.Polygon(Cr, Ring(0.088, 6));
    cairo_set_source_rgb(Cr, Palette::Water.R, Palette::Water.G, Palette::Water.B);
    cairo_fill(Cr);
    Column(Iso, {0, 0, 6}, 14, 0.012, Rgb(0xE2D8C6));
    Dome(Iso, {0, 0, 20}, 0.03, 3, Rgb(0xE2D8C6));
    // Water falling from the top bowl.
    const TPoint Spout = Iso.Screen({0, 0, 24});
    cairo_set_source_rgba(Cr, Palette::WaterLight.R, Palette::WaterLight.G, Palette::WaterLight.B,
                          0.85);
    cairo_set_line_width(Cr, 0.9);
    for (double Side : {-1.0, 1.0}) {
      cairo_move_to(Cr, Spout.X, Spout.Y);
      cairo_curve_to(Cr, Spout.X + Side * 6, Spout.Y - 5, Spout.X + Side * 9, Spout.Y + 2,
                     Spout.X + Side * 10, Spout.Y + 18);
    }
    cairo_stroke(Cr);
  });
  for (double X : {-0.33, 0.33})
    for (double Y : {-0.33, 0.33})
      Order.Add(Iso.Depth({X, Y, 0}) + 0.01, [&Iso, X, Y, &Random] {
        Cypress(Iso, {X, Y, 0}, 42, Random);
      });
  Order.Run();
}

void GenerateSmallServices(TOutput& Output) {
  WritePane(Output, "Pane1Service1", 1, Chapel);
  WritePane(Output, "Pane1Service2", 1, Market);
  WritePane(Output, "Pane1Service3", 1, Herbalist);
  WritePane(Output, "Pane1Service4", 1, School);
  WritePane(Output, "Pane1Appeal1", 1, FountainGarden);
}

void GenerateGrandServices(TOutput& Output) {
  WritePane(Output, "Pane1Service5", 1, Temple);
  WritePane(Output, "Pane1Service6", 1, Forum);
  WritePane(Output, "Pane1Service7", 1, Baths);
  WritePane(Output, "Pane1Service8", 1, Theatre);
}

const TGeneratorRegistration SmallRegistration("panes-services", &GenerateSmallServices);
const TGeneratorRegistration GrandRegistration("panes-grand", &GenerateGrandServices);

}  // namespace

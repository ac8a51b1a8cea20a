// AssetsPaneNature.cpp -- the wild land to clear: twelve woods from a few trees to a dense stand,
// boulders, and the rubble heaps that demolition leaves behind. Nature draws no ground of its
// own: the map's grass shows between the trees.
#include <cmath>

#include "AssetsPanes.h"

namespace {

using namespace Assets;
using namespace Assets::Panes;

enum class TTree { Olive, Pine, Cypress, Oak, Bush };

struct TPlant {
  TVec Base;
  TTree Kind;
  double Size;
  std::uint64_t Seed;
};

// How one wood is made: how many trees and in what mix (weights of olive, pine, cypress, oak).
struct TWood {
  int Trees;
  std::array<double, 4> Mix;
  int Bushes;
};

const std::array<TWood, 12> kWoods{{
    {2, {1, 0, 0, 0}, 2},
    {3, {1, 0, 0.5, 0}, 3},
    {4, {0.3, 0, 1, 0}, 3},
    {4, {0, 1, 0, 0.3}, 4},
    {6, {1, 0, 0.2, 0}, 4},
    {7, {0.4, 0.6, 0.4, 0.4}, 4},
    {8, {0, 0.2, 0, 1}, 5},
    {10, {0, 1, 0.6, 0}, 5},
    {12, {0.6, 0.6, 0.6, 0.6}, 6},
    {14, {0.3, 0.3, 0, 1}, 6},
    {17, {0.2, 1, 0.7, 0.3}, 7},
    {21, {0.5, 0.8, 0.8, 0.8}, 8},
}};

TTree PickTree(const std::array<double, 4>& Mix, TRandom& Random) {
  const double Total = Mix[0] + Mix[1] + Mix[2] + Mix[3];
  double Pick = Random.Uniform() * Total;
  for (int Index = 0; Index < 4; ++Index) {
    if (Pick < Mix[static_cast<std::size_t>(Index)]) return static_cast<TTree>(Index);
    Pick -= Mix[static_cast<std::size_t>(Index)];
  }
  return TTree::Oak;
}

// Spots inside the pane no closer than Spacing to each other (darts thrown until they fit).
std::vector<TVec> Scatter(int Count, double Spacing, double Reach, TRandom& Random) {
  std::vector<TVec> Spots;
  for (int Attempt = 0; Attempt < Count * 60 && static_cast<int>(Spots.size()) < Count; ++Attempt) {
    const TVec Spot{Random.Range(-Reach, Reach), Random.Range(-Reach, Reach), 0};
    bool Free = true;
    for (const TVec& Other : Spots)
      if (std::hypot(Spot.X - Other.X, Spot.Y - Other.Y) < Spacing) Free = false;
    if (Free) Spots.push_back(Spot);
  }
  return Spots;
}

std::vector<TPlant> PlantWood(int Number) {
  const TWood& Wood = kWoods[static_cast<std::size_t>(Number - 1)];
  TRandom Random(1000 + static_cast<std::uint64_t>(Number) * 7919);
  const double Spacing = std::clamp(0.34 / std::sqrt(Wood.Trees), 0.075, 0.2);
  std::vector<TPlant> Plants;
  for (const TVec& Spot : Scatter(Wood.Trees, Spacing, 0.36, Random))
    Plants.push_back({Spot, PickTree(Wood.Mix, Random), Random.Range(0.95, 1.25), Random.Next()});
  for (const TVec& Spot : Scatter(Wood.Bushes, 0.05, 0.4, Random))
    Plants.push_back({Spot, TTree::Bush, Random.Range(0.7, 1.2), Random.Next()});
  return Plants;
}

// How tall each kind of tree stands at size 1, crown included.
double TreeTop(TTree Kind) {
  switch (Kind) {
    case TTree::Olive:
      return 37;
    case TTree::Pine:
      return 54;
    case TTree::Cypress:
      return 47;
    case TTree::Oak:
      return 45;
    case TTree::Bush:
    default:
      return 10;
  }
}

void DrawPlant(const TIso& Iso, const TPlant& Plant) {
  TRandom Random(Plant.Seed);
  // Trees near the back corner would rise out of the frame: they grow a little less there.
  const double Headroom = Iso.Screen(Plant.Base).Y - 4;
  const double Size = std::min(Plant.Size, Headroom / TreeTop(Plant.Kind));
  switch (Plant.Kind) {
    case TTree::Olive:
      OliveTree(Iso, Plant.Base, Size, Random);
      break;
    case TTree::Pine:
      StonePine(Iso, Plant.Base, Size, Random);
      break;
    case TTree::Cypress:
      Cypress(Iso, Plant.Base, 44 * Size, Random);
      break;
    case TTree::Oak:
      OakTree(Iso, Plant.Base, Size, Random);
      break;
    case TTree::Bush:
      Bush(Iso, Plant.Base, Size, Mix(Palette::Leaf, Palette::Olive, 0.5), Random);
      break;
  }
}

// A tuft of tall grass: a few blades bending away from the foot.
void GrassTuft(const TIso& Iso, const TVec& Base, TRandom& Random) {
  cairo_t* Cr = Iso.Cr();
  const TPoint Foot = Iso.Screen(Base);
  cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_width(Cr, 0.9);
  for (int Blade = 0; Blade < 9; ++Blade) {
    const double Lean = Random.Range(-4.5, 4.5), Height = Random.Range(5, 9);
    const TColor Color =
        Shade(Mix(Palette::GrassDark, Palette::Olive, Random.Uniform()), Lean < 0 ? 1.15 : 0.85);
    cairo_move_to(Cr, Foot.X + Lean * 0.2, Foot.Y);
    cairo_curve_to(Cr, Foot.X + Lean * 0.3, Foot.Y - Height * 0.6, Foot.X + Lean * 0.7,
                   Foot.Y - Height * 0.9, Foot.X + Lean, Foot.Y - Height);
    cairo_set_source_rgb(Cr, Color.R, Color.G, Color.B);
    cairo_stroke(Cr);
  }
}

void Forest(const TIso& Iso, int Number) {
  TDrawList Order;
  TRandom Tufts(5000 + static_cast<std::uint64_t>(Number));
  for (const TVec& Spot : Scatter(4 + Number, 0.06, 0.4, Tufts)) {
    const std::uint64_t Seed = Tufts.Next();
    Order.Add(Iso.Depth(Spot), [&Iso, Spot, Seed] {
      TRandom Random(Seed);
      GrassTuft(Iso, Spot, Random);
    });
  }
  for (const TPlant& Plant : PlantWood(Number))
    Order.Add(Iso.Depth(Plant.Base), [&Iso, Plant] { DrawPlant(Iso, Plant); });
  Order.Run();
}

void Stones(const TIso& Iso, int) {
  TRandom Layout(4242);
  TDrawList Order;
  const std::vector<TVec> Spots = Scatter(7, 0.17, 0.3, Layout);
  for (std::size_t Index = 0; Index < Spots.size(); ++Index) {
    const TVec Spot = Spots[Index];
    const double Size = Index < 3 ? Layout.Range(2.2, 2.7) : Layout.Range(1.1, 1.6);
    const std::uint64_t Seed = Layout.Next();
    const TColor Tone = Mix(Palette::Stone, Rgb(0xC9BBA0), Layout.Uniform());
    Order.Add(Iso.Depth(Spot), [&Iso, Spot, Size, Seed, Tone] {
      TRandom Random(Seed);
      Rock(Iso, Spot, Size, Tone, Random);
    });
  }
  for (const TVec& Spot : Scatter(8, 0.05, 0.34, Layout)) {
    const std::uint64_t Seed = Layout.Next();
    Order.Add(Iso.Depth(Spot), [&Iso, Spot, Seed] {
      TRandom Random(Seed);
      Rock(Iso, Spot, 0.45, Palette::Stone, Random);
    });
  }
  for (const TVec& Spot : Scatter(7, 0.08, 0.36, Layout)) {
    const std::uint64_t Seed = Layout.Next();
    Order.Add(Iso.Depth(Spot), [&Iso, Spot, Seed] {
      TRandom Random(Seed);
      GrassTuft(Iso, Spot, Random);
    });
  }
  const TVec BushSpot{-0.2, 0.25, 0};
  Order.Add(Iso.Depth(BushSpot), [&Iso, BushSpot] {
    TRandom Random(5);
    Bush(Iso, BushSpot, 1.2, Palette::GrassDark, Random);
  });
  Order.Run();
}

// A beam lying at an angle on the rubble.
TSolid Beam(const TVec& Centre, double Angle, double Length, double Tilt) {
  const double DX = std::cos(Angle) * Length / 2, DY = std::sin(Angle) * Length / 2;
  const double NX = -std::sin(Angle) * 0.008, NY = std::cos(Angle) * 0.008;
  const double Z0 = Centre.Z - Tilt, Z1 = Centre.Z + Tilt;
  const TColor Wood = Rgb(0x7A5634);
  return Hexahedron({TVec{Centre.X - DX - NX, Centre.Y - DY - NY, Z0},
                     TVec{Centre.X + DX - NX, Centre.Y + DY - NY, Z1},
                     TVec{Centre.X + DX + NX, Centre.Y + DY + NY, Z1},
                     TVec{Centre.X - DX + NX, Centre.Y - DY + NY, Z0},
                     TVec{Centre.X - DX - NX, Centre.Y - DY - NY, Z0 + 2.5},
                     TVec{Centre.X + DX - NX, Centre.Y + DY - NY, Z1 + 2.5},
                     TVec{Centre.X + DX + NX, Centre.Y + DY + NY, Z1 + 2.5},
                     TVec{Centre.X - DX + NX, Centre.Y - DY + NY, Z0 + 2.5}},
                    Wood, Shade(Wood, 1.15));
}

// A low heap of earth and crushed stone, Radius pane sides wide and Height units high.
void Mound(const TIso& Iso, double Radius, double Height, const TColor& Color) {
  std::vector<TVec> Hull;
  for (int Step = 0; Step < 16; ++Step) {
    const double Angle = Step * 3.14159265 / 8;
    Hull.push_back({std::cos(Angle) * Radius, std::sin(Angle) * Radius, 0});
    Hull.push_back({std::cos(Angle) * Radius * 0.5, std::sin(Angle) * Radius * 0.5, Height * 0.75});
  }
  CastShadow(Iso, TSolid{{TFace{Hull, Color, nullptr}}});
  cairo_t* Cr = Iso.Cr();
  const TPoint Foot = Iso.Screen({0, 0, 0});
  const double RX = Radius * 178.19, RY = RX * 0.5;
  cairo_save(Cr);
  cairo_translate(Cr, Foot.X, Foot.Y);
  cairo_save(Cr);
  cairo_scale(Cr, RX, RY);
  cairo_arc(Cr, 0, 0, 1, 0, 3.14159265);
  cairo_restore(Cr);
  cairo_save(Cr);
  cairo_scale(Cr, RX, RY + Height);
  cairo_arc(Cr, 0, 0, 1, 3.14159265, 2 * 3.14159265);
  cairo_restore(Cr);
  cairo_close_path(Cr);
  cairo_pattern_t* Light =
      cairo_pattern_create_radial(-RX * 0.3, -Height - RY * 0.4, RX * 0.1, 0, 0, RX * 1.1);
  const TColor Lit = Shade(Color, 1.15), Dark = Shade(Color, 0.75);
  cairo_pattern_add_color_stop_rgb(Light, 0, Lit.R, Lit.G, Lit.B);
  cairo_pattern_add_color_stop_rgb(Light, 1, Dark.R, Dark.G, Dark.B);
  cairo_set_source(Cr, Light);
  cairo_fill(Cr);
  cairo_pattern_destroy(Light);
  cairo_restore(Cr);
}

// A heap of broken stones, tiles and beams; the larger heap also keeps a stump of wall.
void Debris(const TIso& Iso, int Size) {
  TRandom Layout(Size == 1 ? 777 : 888);
  Plot(Iso, TPlotStyle::Gravel, Size == 1 ? 0.62 : 0.8, Size == 1 ? 51u : 52u);
  TDrawList Order;
  const int Heaps = Size == 1 ? 18 : 34;
  const double Reach = Size == 1 ? 0.2 : 0.27, Height = Size == 1 ? 7 : 11;
  Order.Add(-10, [&Iso, Reach, Height] { Mound(Iso, Reach * 1.05, Height, Rgb(0xA99A82)); });
  for (int Index = 0; Index < Heaps; ++Index) {
    const double Angle = Layout.Range(0, 6.283), Distance = std::sqrt(Layout.Uniform()) * Reach;
    const double Ratio = Distance / Reach;
    const TVec Spot{std::cos(Angle) * Distance, std::sin(Angle) * Distance,
                    Height * (1 - Ratio * Ratio) * 0.9};
    const double Scale = (1.2 - Ratio * 0.5) * Layout.Range(0.6, 1.05);
    const std::uint64_t Seed = Layout.Next();
    const TColor Tone = Layout.Uniform() < 0.25
                            ? Rgb(0xC07050)
                            : Mix(Palette::Stone, Palette::Whitewash, Layout.Uniform() * 0.5);
    Order.Add(Iso.Depth(Spot), [&Iso, Spot, Scale, Seed, Tone] {
      TRandom Random(Seed);
      Rock(Iso, Spot, Scale, Tone, Random);
    });
  }
  const int Beams = Size == 1 ? 2 : 4;
  for (int Index = 0; Index < Beams; ++Index) {
    const TVec Spot{Layout.Range(-Reach, Reach) * 0.5, Layout.Range(-Reach, Reach) * 0.5,
                    Height * 0.8};
    const double Angle = Layout.Range(0, 3.14), Length = Layout.Range(0.18, 0.28),
                 Tilt = Layout.Range(-3, 3);
    Order.Add(Iso.Depth(Spot) + 0.01, [&Iso, Spot, Angle, Length, Tilt] {
      DrawWithShadow(Iso, Beam(Spot, Angle, Length, Tilt));
    });
  }
  if (Size == 2) {
    const TVec Min{-0.28, -0.2, 0}, Max{-0.24, 0.08, 18};
    Order.Add(Iso.Depth({-0.26, -0.06, 0}), [&Iso, Min, Max] {
      DrawWithShadow(Iso,
                     WithDetail(Box(Min, Max, Rgb(0xD9CDB6), Rgb(0xC9BCA4)), StoneCourses, false));
      DrawWithShadow(
          Iso, WithDetail(Box({Min.X, 0.08, 0}, {Max.X, 0.16, 9}, Rgb(0xD9CDB6), Rgb(0xC9BCA4)),
                          StoneCourses, false));
    });
  }
  Order.Run();
}

void GenerateWoods(TOutput& Output) {
  for (int Number = 1; Number <= 12; ++Number)
    WritePane(Output, "Pane1Forest" + std::to_string(Number), 1,
              [Number](const TIso& Iso, int) { Forest(Iso, Number); });
}

void GenerateClearings(TOutput& Output) {
  WritePane(Output, "Pane1Stones", 1, Stones);
  WritePane(Output, "Pane1Debris1", 1, [](const TIso& Iso, int) { Debris(Iso, 1); });
  WritePane(Output, "Pane1Debris2", 1, [](const TIso& Iso, int) { Debris(Iso, 2); });
}

const TGeneratorRegistration WoodsRegistration("panes-woods", &GenerateWoods);
const TGeneratorRegistration ClearingsRegistration("panes-clearings", &GenerateClearings);

}  // namespace

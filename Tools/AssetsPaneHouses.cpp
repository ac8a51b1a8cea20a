// AssetsPaneHouses.cpp -- the homes of the town: the five house levels in two styles each, the
// two run-down old houses of the original town, and the cleared building plot.
#include <cmath>

#include "AssetsPanes.h"

namespace {

using namespace Assets;
using namespace Assets::Panes;

const TBlockStyle kWhiteBlue{Palette::Whitewash, Palette::Terracotta, Rgb(0x3F6F9A), Rgb(0x6E4A2E)};
const TBlockStyle kOchreGreen{Palette::Ochre, Rgb(0xB9583A), Rgb(0x5C7F4A), Rgb(0x7A4E2C)};
const TBlockStyle kRoseTeal{Rgb(0xEBC9A8), Rgb(0xC0603A), Rgb(0x3B8A8A), Rgb(0x5E3F28)};
const TBlockStyle kPaleOchre{Rgb(0xF1DDB4), Rgb(0xCF6E42), Rgb(0x2F5F8A), Rgb(0x6E4A2E)};

void AddBlocks(TDrawList& Order, const TIso& Iso, const std::vector<TBlock>& List,
               const TBlockStyle& Style) {
  for (const TBlock& Block : List)
    AddBlock(Order, Iso, Block, Style);
}

void Flowerpot(const TIso& Iso, const TVec& Base, const TColor& Flowers, TRandom& Random) {
  DrawWithShadow(Iso, Box({Base.X - 0.012, Base.Y - 0.012, 0}, {Base.X + 0.012, Base.Y + 0.012, 4},
                          Rgb(0xB5623C), Rgb(0x5A3A22)));
  Bush(Iso, {Base.X, Base.Y, 4}, 0.6, Palette::Leaf, Random);
  const TPoint Top = Iso.Screen({Base.X, Base.Y, 8});
  cairo_t* Cr = Iso.Cr();
  for (int Index = 0; Index < 4; ++Index) {
    cairo_arc(Cr, Top.X + Random.Range(-2.5, 2.5), Top.Y + Random.Range(-1.5, 1.5), 0.9, 0, 6.3);
    cairo_set_source_rgb(Cr, Flowers.R, Flowers.G, Flowers.B);
    cairo_fill(Cr);
  }
}

// A low garden wall along the ground from A to B.
void GardenWall(const TIso& Iso, const TVec& A, const TVec& B, const TColor& Color) {
  const double Thick = 0.012;
  const TVec Min{std::min(A.X, B.X) - Thick, std::min(A.Y, B.Y) - Thick, 0};
  const TVec Max{std::max(A.X, B.X) + Thick, std::max(A.Y, B.Y) + Thick, 6};
  DrawWithShadow(Iso, Box(Min, Max, Color, Shade(Color, 1.05)));
}

// Vines on a pergola of four posts and a few beams.
void Pergola(const TIso& Iso, const TVec& Min, const TVec& Max, TRandom& Random) {
  const TColor Wood = Palette::Wood;
  for (double X : {Min.X, Max.X})
    for (double Y : {Min.Y, Max.Y})
      DrawWithShadow(Iso,
                     Box({X - 0.006, Y - 0.006, 0}, {X + 0.006, Y + 0.006, Max.Z}, Wood, Wood));
  for (int Index = 0; Index <= 3; ++Index) {
    const double X = Min.X + (Max.X - Min.X) * Index / 3.0;
    DrawWithShadow(Iso, Box({X - 0.005, Min.Y - 0.01, Max.Z},
                            {X + 0.005, Max.Y + 0.01, Max.Z + 1.5}, Wood, Shade(Wood, 1.2)));
  }
  for (int Index = 0; Index < 5; ++Index) {
    const TVec Spot{Random.Range(Min.X, Max.X), Random.Range(Min.Y, Max.Y), Max.Z};
    Bush(Iso, Spot, 0.55, Palette::Leaf, Random);
  }
}

void Pool(const TIso& Iso, const TVec& Min, const TVec& Max) {
  cairo_t* Cr = Iso.Ground();
  Iso.Polygon(Cr, {{Min.X, Min.Y, 0}, {Max.X, Min.Y, 0}, {Max.X, Max.Y, 0}, {Min.X, Max.Y, 0}});
  cairo_set_source_rgb(Cr, 0.85, 0.82, 0.74);
  cairo_fill(Cr);
  const double Rim = 0.012;
  Iso.Polygon(Cr, {{Min.X + Rim, Min.Y + Rim, 0},
                   {Max.X - Rim, Min.Y + Rim, 0},
                   {Max.X - Rim, Max.Y - Rim, 0},
                   {Min.X + Rim, Max.Y - Rim, 0}});
  const TPoint Far = Iso.Screen({Min.X, Max.Y, 0}), Near = Iso.Screen({Max.X, Min.Y, 0});
  cairo_pattern_t* Water = cairo_pattern_create_linear(Far.X, Far.Y, Near.X, Near.Y);
  cairo_pattern_add_color_stop_rgb(Water, 0, Palette::WaterDeep.R, Palette::WaterDeep.G,
                                   Palette::WaterDeep.B);
  cairo_pattern_add_color_stop_rgb(Water, 1, Palette::WaterLight.R, Palette::WaterLight.G,
                                   Palette::WaterLight.B);
  cairo_set_source(Cr, Water);
  cairo_fill(Cr);
  cairo_pattern_destroy(Water);
}

// --- the houses ----------------------------------------------------------------------------

void House1(const TIso& Iso, int Variant) {
  TRandom Random(101 + static_cast<std::uint64_t>(Variant * 10 + Iso.Look()));
  Plot(Iso, TPlotStyle::Earth, 0.78, 11);
  if (Variant == 0) {
    TDrawList Order;
    AddBlocks(Order, Iso,
              {{{-0.16, -0.2, 0}, {0.12, 0.16, 22}, TRoofKind::GableAlongY, 14, 0, 0.4}},
              kWhiteBlue);
    Order.Add(Iso.Depth({0.22, 0.2, 0}), [&] {
      Flowerpot(Iso, {0.18, 0.08, 0}, Rgb(0xD0405A), Random);
    });
    Order.Add(Iso.Depth({-0.25, 0.25, 0}), [&] { OliveTree(Iso, {-0.27, 0.25, 0}, 0.8, Random); });
    Order.Run();
  } else {
    TDrawList Order;
    AddBlocks(Order, Iso,
              {{{-0.18, -0.14, 0}, {0.1, 0.18, 24}, TRoofKind::Flat, 0, 0, 0.5},
               {{-0.18, -0.26, 0}, {0.02, -0.14, 16}, TRoofKind::Flat, 0, -1, 0.5, false}},
              kOchreGreen);
    Order.Add(Iso.Depth({0.2, -0.15, 0}), [&] {
      Flowerpot(Iso, {0.16, -0.16, 0}, Rgb(0xF2C14E), Random);
    });
    Order.Add(Iso.Depth({0.2, 0.28, 0}), [&] { Cypress(Iso, {0.18, 0.27, 0}, 44, Random); });
    Order.Run();
  }
}

void House2(const TIso& Iso, int Variant) {
  TRandom Random(202 + static_cast<std::uint64_t>(Variant * 10 + Iso.Look()));
  Plot(Iso, TPlotStyle::Earth, 0.84, 12);
  if (Variant == 0) {
    TDrawList Order;
    AddBlocks(Order, Iso,
              {{{-0.2, -0.24, 0}, {0.1, 0.1, 24}, TRoofKind::GableAlongY, 15, 0, 0.5},
               {{-0.2, 0.1, 0}, {0.2, 0.26, 20}, TRoofKind::GableAlongX, 12, 0, 0.5}},
              kWhiteBlue);
    Order.Add(Iso.Depth({0.25, -0.2, 0}), [&] {
      Flowerpot(Iso, {0.2, -0.2, 0}, Rgb(0xD0405A), Random);
    });
    Order.Add(Iso.Depth({0.25, -0.3, 0}), [&] {
      GardenWall(Iso, {0.3, -0.3, 0}, {0.3, -0.05, 0}, Palette::Whitewash);
    });
    Order.Run();
  } else {
    TDrawList Order;
    AddBlocks(Order, Iso,
              {{{-0.22, -0.2, 0}, {0.08, 0.08, 30}, TRoofKind::Flat, 0, 0, 0.5},
               {{-0.16, 0.08, 0}, {0.14, 0.26, 20}, TRoofKind::GableAlongX, 11, 0, 0.5}},
              kRoseTeal);
    Order.Add(Iso.Depth({0.22, -0.12, 0}), [&] {
      Pergola(Iso, {0.12, -0.22, 0}, {0.26, 0.0, 17}, Random);
    });
    Order.Run();
  }
}

void House3(const TIso& Iso, int Variant) {
  TRandom Random(303 + static_cast<std::uint64_t>(Variant * 10 + Iso.Look()));
  Plot(Iso, Variant == 0 ? TPlotStyle::Earth : TPlotStyle::Gravel, 0.86, 13);
  if (Variant == 0) {
    TDrawList Order;
    AddBlocks(Order, Iso, {{{-0.22, -0.22, 0}, {0.1, 0.18, 40}, TRoofKind::Hip, 15, 0, 0.5}},
              kPaleOchre);
    Order.Add(Iso.Depth({0.22, 0.0, 0}), [&] {
      Pergola(Iso, {0.12, -0.1, 0}, {0.26, 0.18, 19}, Random);
    });
    Order.Add(Iso.Depth({-0.3, 0.3, 0}), [&] { Cypress(Iso, {-0.28, 0.28, 0}, 50, Random); });
    Order.Run();
  } else {
    TDrawList Order;
    AddBlocks(Order, Iso,
              {{{-0.24, -0.14, 0}, {0.08, 0.22, 40}, TRoofKind::GableAlongY, 16, 0, 0.35},
               {{-0.16, -0.28, 0}, {0.08, -0.14, 22}, TRoofKind::Flat, 0, 0, 0.5}},
              kWhiteBlue);
    Order.Add(Iso.Depth({0.28, 0.0, 0}), [&] {
      GardenWall(Iso, {0.28, -0.3, 0}, {0.28, 0.3, 0}, Palette::Whitewash);
    });
    Order.Add(Iso.Depth({0.18, 0.22, 0}), [&] { OliveTree(Iso, {0.18, 0.2, 0}, 0.85, Random); });
    Order.Run();
  }
}

void House4(const TIso& Iso, int Variant) {
  TRandom Random(404 + static_cast<std::uint64_t>(Variant * 10 + Iso.Look()));
  Plot(Iso, TPlotStyle::Paved, 0.88, 14);
  if (Variant == 0) {
    TDrawList Order;
    AddBlocks(Order, Iso,
              {{{-0.28, -0.26, 0}, {0.04, 0.08, 42}, TRoofKind::GableAlongY, 16, 0, 0.5},
               {{-0.28, 0.08, 0}, {0.18, 0.28, 28}, TRoofKind::GableAlongX, 13, 0, 0.6}},
              kOchreGreen);
    Order.Add(Iso.Depth({0.22, -0.2, 0}), [&] { OliveTree(Iso, {0.2, -0.2, 0}, 0.9, Random); });
    Order.Add(Iso.Depth({0.27, 0.1, 0}), [&] {
      Flowerpot(Iso, {0.24, 0.02, 0}, Rgb(0xD0405A), Random);
    });
    Order.Run();
  } else {
    TDrawList Order;
    AddBlocks(Order, Iso,
              {{{-0.26, -0.2, 0}, {0.06, 0.16, 40}, TRoofKind::Hip, 14, 0, 0.5},
               {{-0.16, 0.16, 0}, {-0.02, 0.28, 52}, TRoofKind::Hip, 10, -1, 0.5},
               {{0.06, -0.2, 0}, {0.16, 0.2, 16}, TRoofKind::Flat, 0, 0, 0.5, false}},
              kRoseTeal);
    Order.Add(Iso.Depth({0.24, -0.28, 0}), [&] { Cypress(Iso, {0.24, -0.28, 0}, 46, Random); });
    Order.Add(Iso.Depth({0.26, 0.26, 0}), [&] { Cypress(Iso, {0.26, 0.26, 0}, 40, Random); });
    Order.Run();
  }
}

// Four wings around a courtyard with a pool.
void House5(const TIso& Iso, int Variant) {
  TRandom Random(505 + static_cast<std::uint64_t>(Variant * 10 + Iso.Look()));
  Plot(Iso, TPlotStyle::Paved, 0.92, 15);
  const TBlockStyle& Style = Variant == 0 ? kWhiteBlue : kPaleOchre;
  if (Variant == 0) {
    Pool(Iso, {-0.09, -0.08, 0}, {0.09, 0.08, 0});
    TDrawList Order;
    AddBlocks(Order, Iso,
              {{{-0.32, -0.3, 0}, {-0.14, 0.3, 40}, TRoofKind::GableAlongX, 12, 0, 0.5},
               {{-0.14, 0.14, 0}, {0.3, 0.3, 26}, TRoofKind::GableAlongX, 10, 3, 0.5},
               {{-0.14, -0.3, 0}, {0.3, -0.14, 26}, TRoofKind::GableAlongX, 10, 1, 0.5},
               {{0.22, -0.14, 0}, {0.3, 0.14, 14}, TRoofKind::Flat, 0, 0, 0.5, false}},
              Style);
    Order.Add(Iso.Depth({0.34, 0.3, 0}), [&] { Cypress(Iso, {0.34, 0.32, 0}, 44, Random); });
    Order.Add(Iso.Depth({0.34, -0.3, 0}), [&] { Cypress(Iso, {0.34, -0.32, 0}, 44, Random); });
    Order.Run();
  } else {
    Pool(Iso, {0.12, -0.26, 0}, {0.3, -0.06, 0});
    TDrawList Order;
    AddBlocks(Order, Iso,
              {{{-0.3, -0.28, 0}, {0.04, 0.16, 44}, TRoofKind::Hip, 16, 0, 0.5},
               {{-0.3, 0.16, 0}, {0.28, 0.32, 28}, TRoofKind::GableAlongX, 11, 0, 0.7}},
              Style);
    // A portico of columns under a tiled lean-to along the front.
    Order.Add(Iso.Depth({0.08, -0.06, 0}), [&Iso] {
      Colonnade(Iso, {0.09, -0.22, 0}, {0.09, 0.1, 0}, 3, 24, 0.012, Rgb(0xEDE4D3));
      DrawWithShadow(Iso, WithDetail(ShedRoof({0.04, -0.26, 28}, {0.12, 0.14, 34}, false,
                                              Palette::Terracotta, Rgb(0xEDE4D3)),
                                     RoofTiles, true));
    });
    Order.Add(Iso.Depth({0.3, 0.1, 0}), [&] { OliveTree(Iso, {0.26, 0.06, 0}, 0.9, Random); });
    Order.Add(Iso.Depth({0.36, -0.34, 0}), [&] { Cypress(Iso, {0.34, -0.34, 0}, 40, Random); });
    Order.Run();
  }
}

// --- the old houses and the plot -----------------------------------------------------------

const TBlockStyle kWorn{Rgb(0xD9CDB6), Rgb(0xA85E42), Rgb(0x6B7A80), Rgb(0x5A4634)};

void Weathering(const TIso& Iso, const TBlock& Block, TRandom& Random) {
  for (int Index = 0; Index < 4; ++Index) {
    TWall Wall = Side(Block.Min, Block.Max, Index);
    if (!Visible(Iso, Wall)) continue;
    // Damp and dirt splashed up from the ground, and streaks under the eaves.
    WallRect(Iso, Wall, 0, 1, 0, 5, Rgb(0x7A6A50, 0.35));
    WallRect(Iso, Wall, 0, 1, 0, 2.5, Rgb(0x6A5A40, 0.3));
    for (int Streak = 0; Streak < 3; ++Streak) {
      const double S = Random.Range(0.05, 0.9);
      WallRect(Iso, Wall, S, S + 0.04, Block.Max.Z - Random.Range(6, 14), Block.Max.Z,
               Rgb(0x7A6A50, 0.22));
    }
    // A patch where the plaster fell off, then cracks.
    const double S = Random.Range(0.15, 0.75), Z = Random.Range(4, Block.Max.Z - 10);
    WallRect(Iso, Wall, S, S + 0.12, Z, Z + 6, Rgb(0xB7A38A));
    Crack(Iso, Wall, Random.Range(0.2, 0.8), Block.Max.Z - 2, Block.Max.Z * 0.6, Random);
    Crack(Iso, Wall, Random.Range(0.2, 0.8), Block.Max.Z - 4, Block.Max.Z * 0.4, Random);
  }
}

void RoofPatch(const TIso& Iso, const TBlock& Block, TRandom& Random) {
  // A hole where tiles slid off, showing the rafters, and planks nailed over other holes.
  cairo_t* Cr = Iso.Cr();
  const double HalfDepth = (Block.Max.Y - Block.Min.Y) / 2;
  const auto SlopeZ = [&](double Y) {
    return Block.Max.Z + Block.Rise * std::min(Y - Block.Min.Y, Block.Max.Y - Y) / HalfDepth + 0.4;
  };
  {
    const double X = Random.Range(Block.Min.X + 0.06, Block.Max.X - 0.1), Y0 = Block.Min.Y + 0.03,
                 Y1 = Block.Min.Y + HalfDepth * 0.7;
    const std::vector<TVec> Hole{{X, Y0, SlopeZ(Y0)},
                                 {X + 0.07, Y0, SlopeZ(Y0)},
                                 {X + 0.06, Y1, SlopeZ(Y1)},
                                 {X + 0.015, Y1, SlopeZ(Y1)}};
    Iso.Polygon(Cr, Hole);
    cairo_set_source_rgb(Cr, 0.2, 0.14, 0.1);
    cairo_fill(Cr);
    for (double T : {0.3, 0.7}) {
      Iso.MoveTo(Cr, {X + 0.07 * T, Y0, SlopeZ(Y0)});
      Iso.LineTo(Cr, {X + 0.015 + 0.045 * T, Y1, SlopeZ(Y1)});
    }
    cairo_set_source_rgb(Cr, 0.55, 0.38, 0.22);
    cairo_set_line_width(Cr, 0.9);
    cairo_stroke(Cr);
  }
  for (int Index = 0; Index < 2; ++Index) {
    const double X = Random.Range(Block.Min.X + 0.05, Block.Max.X - 0.05);
    const double Y = Index == 0 ? Random.Range(Block.Min.Y + 0.04, Block.Min.Y + HalfDepth - 0.04)
                                : Random.Range(Block.Min.Y + HalfDepth + 0.01, Block.Max.Y - 0.07);
    Iso.Polygon(Cr, {{X - 0.03, Y, SlopeZ(Y)},
                     {X + 0.03, Y, SlopeZ(Y)},
                     {X + 0.03, Y + 0.03, SlopeZ(Y + 0.03)},
                     {X - 0.03, Y + 0.03, SlopeZ(Y + 0.03)}});
    cairo_set_source_rgb(Cr, Index ? 0.45 : 0.55, Index ? 0.33 : 0.4, 0.25);
    cairo_fill_preserve(Cr);
    cairo_set_source_rgba(Cr, 0.2, 0.12, 0.08, 0.8);
    cairo_set_line_width(Cr, 0.45);
    cairo_stroke(Cr);
  }
}

void OldHouse(const TIso& Iso, int Size) {
  TRandom Random(707 + static_cast<std::uint64_t>(Size * 10 + Iso.Look()));
  Plot(Iso, TPlotStyle::Earth, Size == 1 ? 0.78 : 0.86, 17);
  const TBlock Main =
      Size == 1 ? TBlock{{-0.16, -0.2, 0}, {0.12, 0.16, 22}, TRoofKind::GableAlongX, 13, 0, 0.5}
                : TBlock{{-0.24, -0.22, 0}, {0.1, 0.2, 38}, TRoofKind::GableAlongX, 15, 0, 0.5};
  TDrawList Order;
  Order.Add(BlockDepth(Iso, Main), [&] {
    DrawBlock(Iso, Main, kWorn);
    Weathering(Iso, Main, Random);
    RoofPatch(Iso, Main, Random);
  });
  if (Size == 2) {
    const TBlock Shed{{-0.16, 0.2, 0}, {0.08, 0.3, 16}, TRoofKind::GableAlongX, 7, -1, 0.5, false};
    Order.Add(BlockDepth(Iso, Shed), [&Iso, Shed] { DrawBlock(Iso, Shed, kWorn); });
  }
  Order.Add(Iso.Depth({0.24, -0.24, 0}), [&] {
    Bush(Iso, {0.22, -0.24, 0}, 1.1, Palette::GrassDark, Random);
  });
  Order.Add(Iso.Depth({0.2, 0.24, 0}), [&] {
    Rock(Iso, {0.2, 0.24, 0}, 0.5, Palette::Stone, Random);
  });
  Order.Add(Iso.Depth({0.26, 0.1, 0}), [&] {
    // A fallen fence plank.
    DrawWithShadow(Iso, Hexahedron({TVec{0.2, 0.04, 0}, TVec{0.3, 0.1, 0}, TVec{0.295, 0.11, 0},
                                    TVec{0.195, 0.05, 0}, TVec{0.2, 0.04, 1.5}, TVec{0.3, 0.1, 1.5},
                                    TVec{0.295, 0.11, 1.5}, TVec{0.195, 0.05, 1.5}},
                                   Rgb(0x7B5E44), Rgb(0x8E7054)));
  });
  Order.Run();
}

// Stakes at the corners, string lines between them, sand heaps and a stack of planks.
void BuildingPlot(const TIso& Iso, int /*Variant*/) {
  TRandom Random(909 + static_cast<std::uint64_t>(Iso.Look()));
  Plot(Iso, TPlotStyle::Sand, 0.86, 19);
  const double Reach = 0.26;
  const std::vector<TVec> Stakes{
      {-Reach, -Reach, 0}, {Reach, -Reach, 0}, {Reach, Reach, 0}, {-Reach, Reach, 0}};
  cairo_t* Cr = Iso.Cr();
  // The strings lie behind everything near them, so they go first.
  for (std::size_t Index = 0; Index < Stakes.size(); ++Index) {
    const TVec A = Stakes[Index], B = Stakes[(Index + 1) % Stakes.size()];
    Iso.MoveTo(Cr, {A.X, A.Y, 6});
    Iso.LineTo(Cr, {B.X, B.Y, 6});
  }
  cairo_set_source_rgba(Cr, 0.95, 0.93, 0.85, 0.95);
  cairo_set_line_width(Cr, 0.5);
  cairo_stroke(Cr);
  TDrawList Order;
  for (const TVec& Stake : Stakes)
    Order.Add(Iso.Depth(Stake), [&Iso, Stake] {
      DrawWithShadow(
          Iso, Box({Stake.X - 0.006, Stake.Y - 0.006, 0}, {Stake.X + 0.006, Stake.Y + 0.006, 8},
                   Palette::Wood, Shade(Palette::Wood, 1.2)));
    });
  Order.Add(Iso.Depth({-0.1, 0.12, 0}), [&] {
    for (int Plank = 0; Plank < 4; ++Plank)
      DrawWithShadow(
          Iso, Box({-0.18, 0.06 + Plank * 0.012, Plank * 1.6},
                   {0.0, 0.09 + Plank * 0.012, Plank * 1.6 + 1.6}, Rgb(0xC89A62), Rgb(0xD8AE76)));
  });
  Order.Add(Iso.Depth({0.05, -0.12, 0}), [&] {
    for (int Stone = 0; Stone < 3; ++Stone)
      DrawWithShadow(Iso, Box({0.0 + Stone * 0.035, -0.16, 0}, {0.03 + Stone * 0.035, -0.1, 6},
                              Palette::Stone, Shade(Palette::Stone, 1.1)));
  });
  Order.Add(Iso.Depth({0.12, 0.12, 0}), [&] {
    // A heap of sand.
    const TPoint Foot = Iso.Screen({0.12, 0.12, 0});
    cairo_move_to(Cr, Foot.X - 16, Foot.Y + 2);
    cairo_curve_to(Cr, Foot.X - 8, Foot.Y - 12, Foot.X + 6, Foot.Y - 12, Foot.X + 16, Foot.Y + 2);
    cairo_curve_to(Cr, Foot.X + 6, Foot.Y + 7, Foot.X - 6, Foot.Y + 7, Foot.X - 16, Foot.Y + 2);
    cairo_pattern_t* Light =
        cairo_pattern_create_linear(Foot.X - 12, Foot.Y - 10, Foot.X + 12, Foot.Y + 5);
    cairo_pattern_add_color_stop_rgb(Light, 0, 0.96, 0.9, 0.74);
    cairo_pattern_add_color_stop_rgb(Light, 1, 0.76, 0.64, 0.45);
    cairo_set_source(Cr, Light);
    cairo_fill_preserve(Cr);
    cairo_pattern_destroy(Light);
    cairo_set_source_rgba(Cr, 0.45, 0.35, 0.2, 0.8);
    cairo_set_line_width(Cr, 0.5);
    cairo_stroke(Cr);
  });
  Order.Run();
}

void GenerateHouses(TOutput& Output) {
  WritePane(Output, "Pane2House1", 2, House1);
  WritePane(Output, "Pane2House2", 2, House2);
  WritePane(Output, "Pane2House3", 2, House3);
  WritePane(Output, "Pane2House4", 2, House4);
  WritePane(Output, "Pane2House5", 2, House5);
}

void GenerateOldHouses(TOutput& Output) {
  WritePane(Output, "Pane1HouseOld1", 1, [](const TIso& Iso, int) { OldHouse(Iso, 1); });
  WritePane(Output, "Pane1HouseOld2", 1, [](const TIso& Iso, int) { OldHouse(Iso, 2); });
  WritePane(Output, "Pane1BuildingPlot", 1, BuildingPlot);
}

const TGeneratorRegistration HousesRegistration("panes-houses", &GenerateHouses);
const TGeneratorRegistration OldHousesRegistration("panes-oldhouses", &GenerateOldHouses);

}  // namespace

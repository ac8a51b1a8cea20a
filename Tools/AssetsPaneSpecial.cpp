// AssetsPaneSpecial.cpp -- the town's special buildings (the old fort, the granary, the
// workshop) and the aqueduct, whose pieces join across neighbouring panes.
#include <cmath>

#include "AssetsPanes.h"

namespace {

using namespace Assets;
using namespace Assets::Panes;

const TColor kFortStone = Rgb(0xC9B998);
const TColor kPaleStone = Rgb(0xE0D6C2);

TSolid Stonework(const TVec& Min, const TVec& Max, const TColor& Color) {
  return WithDetail(Box(Min, Max, Color, Shade(Color, 1.04)), StoneCourses, false);
}

// Merlons along the top of a wall or tower footprint.
void Battlements(const TIso& Iso, const TVec& Min, const TVec& Max, double Z, const TColor& Color) {
  const double Step = 0.04, Size = 0.016;
  std::vector<TVec> Spots;
  for (double X = Min.X + Size / 2; X <= Max.X - Size / 2 + 1e-9; X += Step) {
    Spots.push_back({X, Min.Y + Size / 2, Z});
    Spots.push_back({X, Max.Y - Size / 2, Z});
  }
  for (double Y = Min.Y + Size / 2 + Step; Y <= Max.Y - Size / 2 - Step + 1e-9; Y += Step) {
    Spots.push_back({Min.X + Size / 2, Y, Z});
    Spots.push_back({Max.X - Size / 2, Y, Z});
  }
  std::sort(Spots.begin(), Spots.end(),
            [&Iso](const TVec& A, const TVec& B) { return Iso.Depth(A) < Iso.Depth(B); });
  for (const TVec& Spot : Spots)
    DrawWithShadow(Iso,
                   Box({Spot.X - Size / 2, Spot.Y - Size / 2, Z},
                       {Spot.X + Size / 2, Spot.Y + Size / 2, Z + 4}, Color, Shade(Color, 1.05)));
}

void Tower(const TIso& Iso, const TVec& Min, const TVec& Max) {
  DrawWithShadow(Iso, Stonework(Min, Max, kFortStone));
  for (int Index = 0; Index < 4; ++Index) {
    const TWall Wall = Side(Min, Max, Index);
    ArchOpening(Iso, Wall, 0.5, 0.012, Max.Z - 10, Rgb(0x3A3430));
  }
  Battlements(Iso, Min, Max, Max.Z, kFortStone);
}

void Fort(const TIso& Iso, int) {
  TRandom Random(61 + static_cast<std::uint64_t>(Iso.Look()));
  Plot(Iso, TPlotStyle::Earth, 0.9, 61);
  const double Reach = 0.3, Thick = 0.03, Height = 22;
  TDrawList Order;
  const std::array<std::pair<TVec, TVec>, 4> Walls{
      {{{Reach - Thick, -Reach, 0}, {Reach, Reach, Height}},
       {{-Reach, Reach - Thick, 0}, {Reach, Reach, Height}},
       {{-Reach, -Reach, 0}, {-Reach + Thick, Reach, Height}},
       {{-Reach, -Reach, 0}, {Reach, -Reach + Thick, Height}}}};
  for (std::size_t Index = 0; Index < Walls.size(); ++Index) {
    const auto [Min, Max] = Walls[Index];
    Order.Add(Iso.Depth(Lerp(Min, Max, 0.5)), [&Iso, Min, Max, Index] {
      DrawWithShadow(Iso, Stonework(Min, Max, kFortStone));
      if (Index == 0) {
        Door(Iso, Side(Min, Max, 0), 0.5, 0.08, 16, Rgb(0x5A3E26), true);
        Door(Iso, Side(Min, Max, 2), 0.5, 0.08, 16, Rgb(0x3A2E26), true);
      }
      Battlements(Iso, Min, Max, Max.Z, kFortStone);
    });
  }
  for (double X : {-Reach, Reach})
    for (double Y : {-Reach, Reach}) {
      const TVec Min{X - 0.05, Y - 0.05, 0}, Max{X + 0.05, Y + 0.05, 32};
      Order.Add(Iso.Depth({X, Y, 0}) + 0.001, [&Iso, Min, Max] { Tower(Iso, Min, Max); });
    }
  const TVec KeepMin{-0.2, -0.12, 0}, KeepMax{-0.04, 0.08, 56};
  Order.Add(Iso.Depth(Lerp(KeepMin, KeepMax, 0.5)), [&Iso, KeepMin, KeepMax] {
    Tower(Iso, KeepMin, KeepMax);
    // A banner on a pole above the keep.
    const TPoint Foot = Iso.Screen({-0.12, -0.02, 60}), Top = Iso.Screen({-0.12, -0.02, 76});
    cairo_t* Cr = Iso.Cr();
    cairo_move_to(Cr, Foot.X, Foot.Y);
    cairo_line_to(Cr, Top.X, Top.Y);
    cairo_set_source_rgb(Cr, 0.3, 0.22, 0.15);
    cairo_set_line_width(Cr, 0.8);
    cairo_stroke(Cr);
    cairo_move_to(Cr, Top.X, Top.Y);
    cairo_curve_to(Cr, Top.X + 5, Top.Y - 1, Top.X + 8, Top.Y + 3, Top.X + 12, Top.Y + 2);
    cairo_line_to(Cr, Top.X + 11, Top.Y + 5);
    cairo_curve_to(Cr, Top.X + 7, Top.Y + 6, Top.X + 4, Top.Y + 3, Top.X, Top.Y + 6);
    cairo_close_path(Cr);
    cairo_set_source_rgb(Cr, 0.78, 0.3, 0.2);
    cairo_fill(Cr);
  });
  Order.Add(Iso.Depth({0.15, 0.15, 0}), [&] { OliveTree(Iso, {0.14, 0.16, 0}, 0.7, Random); });
  Order.Run();
}

void Sack(const TIso& Iso, const TVec& Base) {
  const TPoint Foot = Iso.Screen(Base);
  cairo_t* Cr = Iso.Cr();
  cairo_move_to(Cr, Foot.X - 4, Foot.Y);
  cairo_curve_to(Cr, Foot.X - 5, Foot.Y - 6, Foot.X - 2, Foot.Y - 8, Foot.X, Foot.Y - 9);
  cairo_curve_to(Cr, Foot.X + 2, Foot.Y - 8, Foot.X + 5, Foot.Y - 6, Foot.X + 4, Foot.Y);
  cairo_curve_to(Cr, Foot.X + 2, Foot.Y + 1.5, Foot.X - 2, Foot.Y + 1.5, Foot.X - 4, Foot.Y);
  cairo_pattern_t* Light = cairo_pattern_create_linear(Foot.X - 4, 0, Foot.X + 4, 0);
  cairo_pattern_add_color_stop_rgb(Light, 0, 0.93, 0.86, 0.7);
  cairo_pattern_add_color_stop_rgb(Light, 1, 0.66, 0.56, 0.4);
  cairo_set_source(Cr, Light);
  cairo_fill_preserve(Cr);
  cairo_pattern_destroy(Light);
  cairo_set_source_rgba(Cr, 0.35, 0.26, 0.15, 0.9);
  cairo_set_line_width(Cr, 0.45);
  cairo_stroke(Cr);
}

void Granary(const TIso& Iso, int) {
  Plot(Iso, TPlotStyle::Earth, 0.9, 62);
  TDrawList Order;
  const TBlock Store{{-0.3, -0.28, 0}, {0.02, 0.16, 30}, TRoofKind::GableAlongX, 14, 0, 0.5, false};
  Order.Add(BlockDepth(Iso, Store), [&Iso, Store] {
    DrawBlock(Iso, Store, {Rgb(0xE2CFA8), Palette::Terracotta, Rgb(0x6E4A2E), Rgb(0x6E4A2E)});
    for (int Index = 0; Index < 4; ++Index)
      for (double S : {0.2, 0.4, 0.6, 0.8}) {
        const TWall Wall = Side(Store.Min, Store.Max, Index);
        if (Index % 2 == 1 || S == 0.4 || S == 0.6)
          WallRect(Iso, Wall, S - 0.025, S + 0.025, 20, 24, Rgb(0x3A3430));
      }
    Door(Iso, Side(Store.Min, Store.Max, 0), 0.5, 0.1, 20, Rgb(0x6E4A2E), false);
  });
  for (const TVec& Silo : {TVec{0.16, 0.2, 0}, TVec{0.2, 0.02, 0}})
    Order.Add(Iso.Depth(Silo), [&Iso, Silo] {
      RoundTower(Iso, Silo, 0.065, 30, 16, Rgb(0xE8DCC4), Palette::Terracotta);
    });
  for (const TVec& Spot :
       {TVec{0.12, -0.2, 0}, TVec{0.16, -0.16, 0}, TVec{0.1, -0.14, 0}, TVec{0.2, -0.24, 0}})
    Order.Add(Iso.Depth(Spot), [&Iso, Spot] { Sack(Iso, Spot); });
  for (const TVec& Spot : {TVec{0.28, -0.06, 0}, TVec{0.3, -0.01, 0}, TVec{0.26, -0.02, 0}})
    Order.Add(Iso.Depth(Spot), [&Iso, Spot] { Sack(Iso, Spot); });
  Order.Run();
}

// Timber and dressed stone in the yard of a carpenter's and mason's shop.
void Workshop(const TIso& Iso, int) {
  Plot(Iso, TPlotStyle::Earth, 0.9, 63);
  TDrawList Order;
  const TBlock Shop{{-0.3, -0.28, 0}, {-0.06, 0.1, 28}, TRoofKind::GableAlongY, 13, 0, 0.7, true};
  Order.Add(BlockDepth(Iso, Shop), [&Iso, Shop] {
    DrawBlock(Iso, Shop, {Rgb(0xEAD2A8), Palette::Terracotta, Rgb(0x5C7F4A), Rgb(0x6E4A2E)});
  });
  // The open lean-to shed against the shop.
  Order.Add(Iso.Depth({0.02, -0.1, 0}), [&Iso] {
    for (double Y : {-0.28, 0.1})
      DrawWithShadow(
          Iso, Box({0.08, Y - 0.008, 0}, {0.096, Y + 0.008, 18}, Palette::Wood, Palette::Wood));
    DrawWithShadow(Iso, Box({-0.04, -0.16, 0}, {0.04, -0.04, 8}, Rgb(0xB08050), Rgb(0xC8985E)));
    DrawWithShadow(Iso, WithDetail(ShedRoof({-0.06, -0.3, 18}, {0.11, 0.12, 26}, false,
                                            Palette::Terracotta, Palette::Wood),
                                   RoofTiles, true));
  });
  Order.Add(Iso.Depth({0.2, -0.2, 0}), [&Iso] {
    for (int Layer = 0; Layer < 3; ++Layer)
      for (int Index = 0; Index < 3 - Layer; ++Index) {
        const double Y = -0.28 + Index * 0.05 + Layer * 0.025;
        DrawWithShadow(
            Iso, Stonework({0.16, Y, Layer * 7.0}, {0.24, Y + 0.045, Layer * 7.0 + 7}, kPaleStone));
      }
  });
  Order.Add(Iso.Depth({0.2, 0.18, 0}), [&Iso] {
    for (int Plank = 0; Plank < 5; ++Plank)
      DrawWithShadow(Iso, Box({0.1, 0.12 + (Plank % 2) * 0.004, Plank * 1.8},
                              {0.32, 0.2 + (Plank % 2) * 0.004, Plank * 1.8 + 1.8}, Rgb(0xC89A62),
                              Rgb(0xDDB27A)));
  });
  Order.Add(Iso.Depth({0.12, -0.02, 0}), [&Iso] {
    // A saw horse.
    DrawWithShadow(Iso, Box({0.1, -0.06, 8}, {0.2, -0.05, 10}, Palette::Wood, Palette::Wood));
    for (double X : {0.11, 0.19})
      DrawWithShadow(
          Iso, Box({X - 0.004, -0.064, 0}, {X + 0.004, -0.046, 8}, Palette::Wood, Palette::Wood));
  });
  Order.Run();
}

// --- the aqueduct --------------------------------------------------------------------------

// The cross-section every piece shares, so pieces meet exactly at the pane edges: piers every
// quarter of a pane (one at each edge, split between the two panes), a deck and a channel.
constexpr double kPierHalf = 0.028, kWallHalf = 0.045, kDeckTop = 40, kChannelTop = 45;
constexpr double kParapet = 0.012, kWaterLevel = 43;

struct TArch {
  double Centre, HalfSpan, Spring, RiseZ;
};

struct TRun {
  bool AlongX;
  double From, To;
  // Parapet extents on the negative and positive side of the run.
  double NegFrom, NegTo, PosFrom, PosTo;
  bool TwoTiers;
};

TVec RunPoint(const TRun& Run, double Along, double Across, double Z) {
  return Run.AlongX ? TVec{Along, Across, Z} : TVec{Across, Along, Z};
}

std::vector<TArch> Arches(const TRun& Run) {
  std::vector<TArch> List;
  const double ZPerSide = 178.19 / 1.1547;
  for (double Pier = -0.5; Pier < 0.5 - 1e-9; Pier += 0.25) {
    const double Centre = Pier + 0.125, HalfSpan = 0.125 - kPierHalf;
    if (Centre < Run.From || Centre > Run.To) continue;
    if (Run.TwoTiers) {
      List.push_back({Centre, HalfSpan, 8, HalfSpan * ZPerSide});
      for (double Offset : {-0.0625, 0.0625})
        List.push_back({Centre + Offset, 0.036, 28, 0.036 * ZPerSide});
    } else {
      List.push_back({Centre, HalfSpan, 18, HalfSpan * ZPerSide});
    }
  }
  return List;
}

// The outline of an arch opening on one face of the wall, from its left foot round to its right.
std::vector<TVec> ArchOutline(const TRun& Run, const TArch& Arch, double Across) {
  std::vector<TVec> Points;
  const double Bottom = Arch.Spring > 20 ? Arch.Spring - 6 : 0;
  Points.push_back(RunPoint(Run, Arch.Centre - Arch.HalfSpan, Across, Bottom));
  for (int Step = 0; Step <= 16; ++Step) {
    const double Angle = kPi - kPi * Step / 16;
    Points.push_back(RunPoint(Run, Arch.Centre + std::cos(Angle) * Arch.HalfSpan, Across,
                              Arch.Spring + std::sin(Angle) * Arch.RiseZ));
  }
  Points.push_back(RunPoint(Run, Arch.Centre + Arch.HalfSpan, Across, Bottom));
  return Points;
}

void FillLit(const TIso& Iso, const std::vector<TVec>& Points, const TColor& Color,
             const TVec& LocalNormal) {
  Iso.Polygon(Iso.Cr(), Points);
  const TColor Lit = Shade(
      Color, Iso.Brightness(Iso.ToMap({LocalNormal.X * 178, LocalNormal.Y * 178, LocalNormal.Z})));
  cairo_set_source_rgb(Iso.Cr(), Lit.R, Lit.G, Lit.B);
  cairo_fill(Iso.Cr());
}

void RunShadow(const TIso& Iso, const TRun& Run) {
  // Past a pane edge the shadow goes on as if the aqueduct did, so neighbours' shadows meet.
  const double From = Run.From <= -0.5 + 1e-9 ? -0.75 : Run.From,
               To = Run.To >= 0.5 - 1e-9 ? 0.75 : Run.To;
  const double DeckBottom = Run.TwoTiers ? 36 : 33;
  std::vector<TVec> Deck;
  for (double Along : {From, To})
    for (double Across : {-kWallHalf, kWallHalf})
      for (double Z : {DeckBottom, kChannelTop})
        Deck.push_back(RunPoint(Run, Along, Across, Z));
  CastShadow(Iso, TSolid{{TFace{Deck, kPaleStone, nullptr}}});
  for (double Pier = -0.75; Pier <= 0.75 + 1e-9; Pier += 0.25) {
    if (Pier < From - 1e-9 || Pier > To + 1e-9) continue;
    const TVec Min = RunPoint(Run, Pier - kPierHalf, -kWallHalf, 0),
               Max = RunPoint(Run, Pier + kPierHalf, kWallHalf, kChannelTop);
    CastShadow(Iso, Box({std::min(Min.X, Max.X), std::min(Min.Y, Max.Y), 0},
                        {std::max(Min.X, Max.X), std::max(Min.Y, Max.Y), kChannelTop}, kPaleStone,
                        kPaleStone));
  }
}

void StrokeLines(const TIso& Iso, const std::vector<std::vector<TVec>>& Lines, double Width) {
  cairo_t* Cr = Iso.Cr();
  for (const auto& Line : Lines) {
    if (Line.empty()) continue;
    Iso.MoveTo(Cr, Line[0]);
    for (std::size_t Index = 1; Index < Line.size(); ++Index)
      Iso.LineTo(Cr, Line[Index]);
  }
  const TColor Ink = Shade(kPaleStone, 0.45);
  SetColor(Cr, Ink, 0.9);
  cairo_set_line_width(Cr, Width);
  cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke(Cr);
}

// The long side of a run that is turned to the viewer.
struct TRunFace {
  double Near, Far;  // across the run: this face, and the hidden one behind it
  TVec Normal;
  double From, To;  // at a corner the inner side is shorter: the other arm covers the rest
};

TRunFace VisibleFace(const TIso& Iso, const TRun& Run) {
  const TVec PosNormal = Run.AlongX ? TVec{0, 1, 0} : TVec{1, 0, 0};
  if (Iso.FacesViewer(Iso.ToMap({PosNormal.X * 178, PosNormal.Y * 178, 0})))
    return {kWallHalf, -kWallHalf, PosNormal, Run.PosFrom, Run.PosTo};
  return {-kWallHalf, kWallHalf, {-PosNormal.X, -PosNormal.Y, 0}, Run.NegFrom, Run.NegTo};
}

// Inside the arches: the soffits and the jambs, seen through the openings.
void ArchInteriors(const TIso& Iso, const TRun& Run, const TRunFace& Face,
                   const std::vector<TArch>& List) {
  cairo_t* Cr = Iso.Cr();
  for (const TArch& Arch : List) {
    const std::vector<TVec> Front = ArchOutline(Run, Arch, Face.Near),
                            Back = ArchOutline(Run, Arch, Face.Far);
    for (std::size_t Index = 0; Index + 1 < Front.size(); ++Index) {
      const TVec Mid = Lerp(Front[Index], Front[Index + 1], 0.5);
      // Each strip looks towards the middle of the opening.
      const double DA = Arch.Centre - (Run.AlongX ? Mid.X : Mid.Y);
      const double DZ = (Arch.Spring + 1) - Mid.Z;
      const TVec Inward =
          Iso.ToMap(Run.AlongX ? TVec{DA * 178, 0, DZ * 1.15} : TVec{0, DA * 178, DZ * 1.15});
      if (!Iso.FacesViewer(Inward)) continue;
      Iso.Polygon(Cr, {Front[Index], Front[Index + 1], Back[Index + 1], Back[Index]});
      const TColor Lit = Shade(Shade(kPaleStone, 0.8), Iso.Brightness(Inward));
      cairo_set_source_rgb(Cr, Lit.R, Lit.G, Lit.B);
      cairo_fill_preserve(Cr);
      cairo_set_line_width(Cr, 0.3);
      cairo_stroke(Cr);
    }
  }
}

// The path of the face with the openings as holes (fill it with the even-odd rule).
void ArcadePath(const TIso& Iso, const TRun& Run, const TRunFace& Face,
                const std::vector<TArch>& List) {
  Iso.Polygon(
      Iso.Cr(),
      {RunPoint(Run, Face.From, Face.Near, 0), RunPoint(Run, Face.To, Face.Near, 0),
       RunPoint(Run, Face.To, Face.Near, kDeckTop), RunPoint(Run, Face.From, Face.Near, kDeckTop)});
  for (const TArch& Arch : List)
    Iso.Polygon(Iso.Cr(), ArchOutline(Run, Arch, Face.Near));
}

void ArcadeFace(const TIso& Iso, const TRun& Run, const TRunFace& Face,
                const std::vector<TArch>& List) {
  cairo_t* Cr = Iso.Cr();
  cairo_save(Cr);
  cairo_set_fill_rule(Cr, CAIRO_FILL_RULE_EVEN_ODD);
  ArcadePath(Iso, Run, Face, List);
  const TVec Normal = Iso.ToMap({Face.Normal.X * 178, Face.Normal.Y * 178, 0});
  const TColor Lit = Shade(kPaleStone, Iso.Brightness(Normal));
  cairo_set_source_rgb(Cr, Lit.R, Lit.G, Lit.B);
  cairo_fill_preserve(Cr);
  // Courses of blocks, kept inside the face.
  cairo_clip(Cr);
  for (double Z = 6; Z < kDeckTop; Z += 6) {
    Iso.MoveTo(Cr, RunPoint(Run, Face.From, Face.Near, Z));
    Iso.LineTo(Cr, RunPoint(Run, Face.To, Face.Near, Z));
  }
  cairo_set_source_rgba(Cr, 0, 0, 0, 0.1);
  cairo_set_line_width(Cr, 0.4);
  cairo_stroke(Cr);
  cairo_restore(Cr);
  // The string course under the deck, the foot, and the arches' rims.
  std::vector<std::vector<TVec>> Lines{
      {RunPoint(Run, Face.From, Face.Near, kDeckTop - 4),
       RunPoint(Run, Face.To, Face.Near, kDeckTop - 4)},
      {RunPoint(Run, Face.From, Face.Near, 0.3), RunPoint(Run, Face.To, Face.Near, 0.3)}};
  for (const TArch& Arch : List)
    Lines.push_back(ArchOutline(Run, Arch, Face.Near));
  StrokeLines(Iso, Lines, 0.5);
}

void ArcadeWall(const TIso& Iso, const TRun& Run) {
  const TRunFace Face = VisibleFace(Iso, Run);
  const std::vector<TArch> List = Arches(Run);
  ArchInteriors(Iso, Run, Face, List);
  ArcadeFace(Iso, Run, Face, List);
}

void EndFace(const TIso& Iso, const TRun& Run, double Along, double Outward) {
  const TVec Normal = Run.AlongX ? TVec{Outward, 0, 0} : TVec{0, Outward, 0};
  if (!Iso.FacesViewer(Iso.ToMap({Normal.X * 178, Normal.Y * 178, 0}))) return;
  FillLit(Iso,
          {RunPoint(Run, Along, -kWallHalf, 0), RunPoint(Run, Along, kWallHalf, 0),
           RunPoint(Run, Along, kWallHalf, kDeckTop), RunPoint(Run, Along, -kWallHalf, kDeckTop)},
          kPaleStone, Normal);
}

void Parapet(const TIso& Iso, const TRun& Run, double From, double To, double Across) {
  if (To - From < 1e-6) return;
  const TVec A = RunPoint(Run, From, Across - kParapet / 2, kDeckTop),
             B = RunPoint(Run, To, Across + kParapet / 2, kChannelTop);
  const TSolid Solid = Box({std::min(A.X, B.X), std::min(A.Y, B.Y), kDeckTop},
                           {std::max(A.X, B.X), std::max(A.Y, B.Y), kChannelTop}, kPaleStone,
                           Shade(kPaleStone, 1.04));
  Draw(Iso, Solid, false);
  // Only the long edges are drawn: the ends continue in the neighbouring pane.
  std::vector<std::vector<TVec>> Edges;
  for (double Side : {-kParapet / 2, kParapet / 2})
    Edges.push_back({RunPoint(Run, From, Across + Side, kChannelTop),
                     RunPoint(Run, To, Across + Side, kChannelTop)});
  StrokeLines(Iso, Edges, 0.4);
}

void Channel(const TIso& Iso, const TRun& Run) {
  const double Inner = kWallHalf - kParapet;
  // The channel floor, then the water.
  FillLit(Iso,
          {RunPoint(Run, Run.From, -Inner, kDeckTop), RunPoint(Run, Run.To, -Inner, kDeckTop),
           RunPoint(Run, Run.To, Inner, kDeckTop), RunPoint(Run, Run.From, Inner, kDeckTop)},
          Shade(kPaleStone, 0.8), {0, 0, 1});
  cairo_t* Cr = Iso.Cr();
  Iso.Polygon(
      Cr, {RunPoint(Run, Run.From, -Inner, kWaterLevel), RunPoint(Run, Run.To, -Inner, kWaterLevel),
           RunPoint(Run, Run.To, Inner, kWaterLevel), RunPoint(Run, Run.From, Inner, kWaterLevel)});
  cairo_set_source_rgb(Cr, Palette::Water.R, Palette::Water.G, Palette::Water.B);
  cairo_fill(Cr);
  StrokeLines(Iso,
              {{RunPoint(Run, Run.From, 0, kWaterLevel), RunPoint(Run, Run.To, 0, kWaterLevel)}},
              0.01);
  Iso.MoveTo(Cr, RunPoint(Run, Run.From, Inner * 0.2, kWaterLevel));
  Iso.LineTo(Cr, RunPoint(Run, Run.To, Inner * 0.2, kWaterLevel));
  cairo_set_source_rgba(Cr, Palette::WaterLight.R, Palette::WaterLight.G, Palette::WaterLight.B,
                        0.8);
  cairo_set_line_width(Cr, 0.8);
  cairo_stroke(Cr);
}

void DrawRun(const TIso& Iso, const TRun& Run) {
  ArcadeWall(Iso, Run);
  EndFace(Iso, Run, Run.From, -1);
  EndFace(Iso, Run, Run.To, 1);
  // The parapet further from the viewer first, then the water, then the near one.
  const bool NegFirst = Iso.Depth(RunPoint(Run, 0, -1, 0)) < Iso.Depth(RunPoint(Run, 0, 1, 0));
  const double NegAcross = -kWallHalf + kParapet / 2, PosAcross = kWallHalf - kParapet / 2;
  if (NegFirst)
    Parapet(Iso, Run, Run.NegFrom, Run.NegTo, NegAcross);
  else
    Parapet(Iso, Run, Run.PosFrom, Run.PosTo, PosAcross);
  Channel(Iso, Run);
  if (NegFirst)
    Parapet(Iso, Run, Run.PosFrom, Run.PosTo, PosAcross);
  else
    Parapet(Iso, Run, Run.NegFrom, Run.NegTo, NegAcross);
}

TRun FullRun(bool AlongX, bool TwoTiers) {
  return {AlongX, -0.5, 0.5, -0.5, 0.5, -0.5, 0.5, TwoTiers};
}

void Castellum(const TIso& Iso) {
  const TBlock House{{-0.09, -0.08, 0}, {0.06, 0.08, 50}, TRoofKind::Hip, 10, 0, 0.5, false};
  DrawBlock(Iso, House, {kPaleStone, Palette::Terracotta, Rgb(0x6E4A2E), Rgb(0x6E4A2E)});
  for (int Index = 0; Index < 4; ++Index)
    ArchOpening(Iso, Side(House.Min, House.Max, Index), 0.5, 0.03, 22, Rgb(0x3A3430));
}

void Aqueduct(const TIso& Iso, int Variant) {
  TDrawList Order;
  std::vector<TRun> Runs;
  switch (Variant) {
    case 1: {
      // From the -Y edge to the +X edge, turning at the centre.
      Runs.push_back({false, -0.5, kWallHalf, -0.5, kWallHalf, -0.5, -kWallHalf, false});
      Runs.push_back({true, -kWallHalf, 0.5, kWallHalf, 0.5, -kWallHalf, 0.5, false});
      break;
    }
    case 2:
      Runs.push_back({true, 0.0, 0.5, 0.0, 0.5, 0.0, 0.5, false});
      break;
    default:
      Runs.push_back(FullRun(true, Variant == 3));
  }
  for (const TRun& Run : Runs)
    RunShadow(Iso, Run);
  for (const TRun& Run : Runs)
    Order.Add(Iso.Depth(RunPoint(Run, (Run.From + Run.To) / 2, 0, 0)),
              [&Iso, Run] { DrawRun(Iso, Run); });
  if (Variant == 2) {
    CastShadow(Iso, Box({-0.09, -0.08, 0}, {0.06, 0.08, 60}, kPaleStone, kPaleStone));
    Order.Add(Iso.Depth({0, 0, 0}), [&Iso] { Castellum(Iso); });
  }
  Order.Run();
}

void GenerateSpecial(TOutput& Output) {
  WritePane(Output, "Pane1Fort", 1, Fort);
  WritePane(Output, "Pane1Granary", 1, Granary);
  WritePane(Output, "Pane1Workshop", 1, Workshop);
}

void GenerateAqueduct(TOutput& Output) {
  WritePane(Output, "Pane4Aqueduct", 4, Aqueduct, true);
}

const TGeneratorRegistration SpecialRegistration("panes-special", &GenerateSpecial);
const TGeneratorRegistration AqueductRegistration("panes-aqueduct", &GenerateAqueduct);

}  // namespace

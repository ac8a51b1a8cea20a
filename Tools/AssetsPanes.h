// AssetsPanes.h -- the small isometric kit the map's pane pictures are drawn with: the mapping of
// a pane's ground to the frame, the four quarter-turn looks, lit solids (boxes, roofs, slabs),
// marks on walls, trees, rocks, soft shadows, ground plots, and the atlas every pane texture uses.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "AssetsCore.h"

namespace Assets::Panes {

// A frame is 252 x 152 units; the ground diamond (252 x 126) has its centre at (126, 89). Frames
// are drawn at 1.5 pixels a unit so they stay sharp on the large screen.
inline constexpr double kCentreX = 126, kCentreY = 89, kHalfWidth = 126, kHalfHeight = 63;
inline constexpr double kPixelsPerUnit = 1.5;
inline constexpr int kFramePixelWidth = 378, kFramePixelHeight = 228;
inline constexpr int kLooks = 4;

// A point of a pane: X and Y across the ground in pane sides (-0.5 .. 0.5 from the centre), Z the
// height in frame units. In a picture's own frame of reference, +X is the front.
struct TVec {
  double X = 0, Y = 0, Z = 0;
};
// A point of the frame in units.
struct TPoint {
  double X = 0, Y = 0;
};

TVec Lerp(const TVec& From, const TVec& To, double T);

// One frame being drawn: the look (a quarter turn of the picture's frame of reference per look,
// clockwise on screen, Look 0 with its front towards the lower right) and three layers: the
// ground, the mask of shadows laid over it, and the objects.
class TIso {
 public:
  TIso(int Look, cairo_t* Ground, cairo_t* Shadow, cairo_t* Objects)
      : LookIndex(Look), GroundCr(Ground), ShadowCr(Shadow), ObjectCr(Objects) {}

  int Look() const { return LookIndex; }
  cairo_t* Cr() const { return ObjectCr; }
  cairo_t* Ground() const { return GroundCr; }
  cairo_t* Shadow() const { return ShadowCr; }

  // The point turned into the map's axes (X along +column, Y along +row).
  TVec ToMap(const TVec& Local) const;
  TPoint Screen(const TVec& Local) const;
  // Where the point's shadow falls on the ground.
  TPoint ShadowOf(const TVec& Local) const;
  // Grows towards the viewer: things are drawn in increasing depth.
  double Depth(const TVec& Local) const;
  // The outward normal of a local polygon in true proportions (not normalised), in map axes.
  TVec Normal(const std::vector<TVec>& Local) const;
  bool FacesViewer(const TVec& MapNormal) const;
  // Light factor for Shade(): above 1 for sunlit faces, below for faces turned away.
  double Brightness(const TVec& MapNormal) const;

  void Polygon(cairo_t* Cr, const std::vector<TVec>& Local) const;
  void MoveTo(cairo_t* Cr, const TVec& Local) const;
  void LineTo(cairo_t* Cr, const TVec& Local) const;

 private:
  int LookIndex;
  cairo_t* GroundCr;
  cairo_t* ShadowCr;
  cairo_t* ObjectCr;
};

// A flat polygon of a solid with its base colour; Detail (optional) is drawn clipped to the face
// after it is filled, with the colour the face got after lighting.
struct TFace {
  std::vector<TVec> Points;
  TColor Color;
  std::function<void(const TIso&, const TFace&, const TColor&)> Detail;
};
// A convex solid: only the faces turned to the viewer are drawn, so face order does not matter.
struct TSolid {
  std::vector<TFace> Faces;
};

// A box between two opposite corners.
TSolid Box(const TVec& Min, const TVec& Max, const TColor& Wall, const TColor& Top);
// A solid of eight corners (bottom four, then the top four above them, both counter-clockwise).
TSolid Hexahedron(const std::array<TVec, 8>& Corners, const TColor& Wall, const TColor& Top);
// A gable roof over the rectangle Min..Max at eaves height Min.Z with its ridge at Max.Z, ridge
// along X or Y; the eaves overhang by Overhang. The two gable ends take the Gable colour.
TSolid GableRoof(const TVec& Min, const TVec& Max, bool RidgeAlongX, double Overhang,
                 const TColor& Roof, const TColor& Gable);
// A hip roof (a pyramid when the rectangle is square) over Min..Max rising to Max.Z.
TSolid HipRoof(const TVec& Min, const TVec& Max, double Overhang, const TColor& Roof);
// A lean-to roof sloping between Min.Z and Max.Z, highest on the +X side when HighAtPlusX.
TSolid ShedRoof(const TVec& Min, const TVec& Max, bool HighAtPlusX, const TColor& Roof,
                const TColor& Side);

// Face details: rows of roof tiles running down the slope, and courses of stone blocks.
void RoofTiles(const TIso& Iso, const TFace& Face, const TColor& Lit);
void StoneCourses(const TIso& Iso, const TFace& Face, const TColor& Lit);
TSolid WithDetail(TSolid Solid,
                  const std::function<void(const TIso&, const TFace&, const TColor&)>& Detail,
                  bool SlopedOnly);

// Outlined: every face gets the thin dark outline (off for pieces that continue past the frame).
void Draw(const TIso& Iso, const TSolid& Solid, bool Outlined = true);
void CastShadow(const TIso& Iso, const TSolid& Solid);
inline void DrawWithShadow(const TIso& Iso, const TSolid& Solid) {
  CastShadow(Iso, Solid);
  Draw(Iso, Solid);
}
// A soft darker patch on the ground around a footprint (where light hardly reaches).
void ContactShadow(const TIso& Iso, const TVec& Min, const TVec& Max, double Spread);

// A vertical wall face from ground point A to B (local), for marks such as windows and doors:
// S runs 0..1 from A to B, Z in units. Visible() says whether the face is turned to the viewer.
struct TWall {
  TVec A, B;
};
// The four sides of a box footprint: 0 = +X (the front), 1 = +Y, 2 = -X (the back), 3 = -Y.
TWall Side(const TVec& Min, const TVec& Max, int Index);
bool Visible(const TIso& Iso, const TWall& Wall);
TVec OnWall(const TWall& Wall, double S, double Z);
void WallRect(const TIso& Iso, const TWall& Wall, double S0, double S1, double Z0, double Z1,
              const TColor& Color);
// A window with a dark opening, a light sill and shutters of the given colour.
void Window(const TIso& Iso, const TWall& Wall, double S, double Width, double Z0, double Z1,
            const TColor& Shutters);
// A door: a dark wooden leaf, arched when Arched.
void Door(const TIso& Iso, const TWall& Wall, double S, double Width, double Height,
          const TColor& Leaf, bool Arched);
// An arched opening (dark) of the given width and height.
void ArchOpening(const TIso& Iso, const TWall& Wall, double S, double Width, double Height,
                 const TColor& Color);
// A crack running across a wall (for run-down buildings).
void Crack(const TIso& Iso, const TWall& Wall, double S, double Z, double Length, TRandom& Random);

// A round column (shaft, base and capital) standing at a ground point.
void Column(const TIso& Iso, const TVec& Base, double Height, double Radius, const TColor& Color);
// A row of Count columns from ground point A to B carrying a stone beam at Height.
void Colonnade(const TIso& Iso, const TVec& A, const TVec& B, int Count, double Height,
               double Radius, const TColor& Color);
// A round tower (or silo) with a conical roof of the given rise (0 for a flat top).
void RoundTower(const TIso& Iso, const TVec& Base, double Radius, double Height, double Rise,
                const TColor& Wall, const TColor& Roof);
// A striped cloth awning over the quadrilateral (four local points).
void Awning(const TIso& Iso, const std::array<TVec, 4>& Corners, const TColor& Stripe,
            const TColor& Cloth);
// A dome (half of an ellipsoid of the given radius in pane sides and height in units).
void Dome(const TIso& Iso, const TVec& Centre, double Radius, double Height, const TColor& Color);

// Trees and rocks stand at a ground point; Size scales them around their usual height.
void Cypress(const TIso& Iso, const TVec& Base, double Height, TRandom& Random);
void OliveTree(const TIso& Iso, const TVec& Base, double Size, TRandom& Random);
void StonePine(const TIso& Iso, const TVec& Base, double Size, TRandom& Random);
void OakTree(const TIso& Iso, const TVec& Base, double Size, TRandom& Random);
void Bush(const TIso& Iso, const TVec& Base, double Size, const TColor& Color, TRandom& Random);
void Rock(const TIso& Iso, const TVec& Base, double Size, const TColor& Color, TRandom& Random);

// A building block: walls from Min to Max with windows on every storey, an optional door, and
// a roof rising Rise units above the walls.
enum class TRoofKind { GableAlongX, GableAlongY, Hip, Flat };
struct TBlockStyle {
  TColor Wall = Palette::Whitewash;
  TColor Roof = Palette::Terracotta;
  TColor Shutters = Rgb(0x3F6F9A);
  TColor Door = Rgb(0x6E4A2E);
};
struct TBlock {
  TVec Min, Max;
  TRoofKind Roof = TRoofKind::GableAlongY;
  double Rise = 14;
  int DoorSide = 0;  // a Side() index, or -1 for none
  double DoorAt = 0.5;
  bool Windows = true;
};
void DrawBlock(const TIso& Iso, const TBlock& Block, const TBlockStyle& Style);
double BlockDepth(const TIso& Iso, const TBlock& Block);

// Things drawn in the order of their depth (nearest last), so overlapping things look right.
class TDrawList {
 public:
  void Add(double Depth, std::function<void()> Draw) { Items.push_back({Depth, std::move(Draw)}); }
  void Run();

 private:
  struct TItem {
    double Depth;
    std::function<void()> Draw;
  };
  std::vector<TItem> Items;
};
// Adds a block to the list at its depth.
void AddBlock(TDrawList& Order, const TIso& Iso, const TBlock& Block, const TBlockStyle& Style);

// The ground a building stands on, a little inside the diamond with a soft rim so the map's
// grass shows around it.
enum class TPlotStyle { Earth, Paved, Sand, Garden, Gravel };
void Plot(const TIso& Iso, TPlotStyle Style, double Extent, std::uint32_t Seed);

// The atlas of a pane texture: Variants x 4 frames, four to a row, frame = Variant x 4 + Look.
std::vector<TRect> PaneCells(int Variants);
using TPaneDraw = std::function<void(const TIso& Iso, int Variant)>;
// Shadows may reach over the pane's rim onto the neighbours' grass, except for pieces that join
// their neighbours (ShadowsOnOwnGround), whose shadows must meet edge to edge.
TPicture RenderPane(int Variants, const TPaneDraw& Draw, bool ShadowsOnOwnGround = false);
void WritePane(TOutput& Output, const std::string& Name, int Variants, const TPaneDraw& Draw,
               bool ShadowsOnOwnGround = false);

}  // namespace Assets::Panes

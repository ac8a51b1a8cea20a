// AssetsCore.h -- what every part of calvora-assets shares: pictures and cairo canvases, atlas
// layouts, deterministic noise and random numbers, the town's palette, and the output folder that
// writes DDS, PNG, JPEG, segment files and anything else byte for byte the same on every run.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

struct FT_LibraryRec_;
struct FT_FaceRec_;

namespace Assets {

inline constexpr double kPi = 3.14159265358979323846;

// An RGBA picture with straight (not premultiplied) alpha, rows from the top, 4 bytes a pixel in
// the order R, G, B, A.
struct TPicture {
  int Width = 0;
  int Height = 0;
  std::vector<std::uint8_t> Rgba;

  TPicture() = default;
  TPicture(int W, int H) : Width(W), Height(H), Rgba(std::size_t(W) * std::size_t(H) * 4, 0) {}
  std::uint8_t* At(int X, int Y) {
    return &Rgba[(std::size_t(Y) * std::size_t(Width) + std::size_t(X)) * 4];
  }
  const std::uint8_t* At(int X, int Y) const {
    return &Rgba[(std::size_t(Y) * std::size_t(Width) + std::size_t(X)) * 4];
  }
};

// A colour with components 0..1 (straight alpha).
struct TColor {
  double R = 0, G = 0, B = 0, A = 1;
};
TColor Rgb(std::uint32_t Hex, double Alpha = 1.0);  // 0xRRGGBB
TColor Mix(const TColor& From, const TColor& To, double T);
TColor Shade(const TColor& Color, double Factor);  // < 1 darker, > 1 lighter (clamped)

// Cairo sources from colours: a plain colour (its alpha scaled by AlphaScale), a gradient stop,
// and a vertical linear gradient from Top at Y0 to Bottom at Y1.
void SetColor(cairo_t* Cr, const TColor& Color, double AlphaScale = 1);
void AddStop(cairo_pattern_t* Pattern, double Offset, const TColor& Color);
void SetVerticalGradient(cairo_t* Cr, double Y0, const TColor& Top, double Y1,
                         const TColor& Bottom);
// Fills the current path with Color lit from the upper left of its extents (Light times lighter
// there, Dark times darker at the lower right), and keeps the path. FillLitAlong runs the light
// from (X0, Y0) to (X1, Y1) instead.
void FillLit(cairo_t* Cr, const TColor& Color, double Light, double Dark);
void FillLitAlong(cairo_t* Cr, const TColor& Color, double Light, double Dark, double X0, double Y0,
                  double X1, double Y1);

// 0 below 0, 1 above 1 and a curve with flat ends between; the second form runs from Low to High.
double SmoothStep(double T);
double SmoothStep(double Low, double High, double Value);

// A cairo image surface (ARGB32) with its context; starts fully transparent.
class TCanvas {
 public:
  TCanvas(int Width, int Height);
  ~TCanvas();
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;

  cairo_t* Cr() const { return Context; }
  cairo_surface_t* Surface() const { return Image; }
  int Width() const { return W; }
  int Height() const { return H; }

  void SetColor(const TColor& Color) const;
  // The drawing so far as a straight-alpha picture.
  TPicture Picture() const;
  // Replaces the surface's pixels with a straight-alpha picture of the same size.
  void Put(const TPicture& Picture) const;

 private:
  int W, H;
  cairo_surface_t* Image;
  cairo_t* Context;
};

// A segment of an atlas in texture pixels.
struct TRect {
  int Left = 0, Top = 0, Width = 0, Height = 0;
};

// Cells of CellWidth x CellHeight laid out row by row, Columns to a row, each surrounded by
// Gutter transparent pixels (so two cells are 2 x Gutter apart) so that bilinear filtering of
// one cell never reads its neighbour. Cell i is rects[i].
std::vector<TRect> GridCells(int Count, int Columns, int CellWidth, int CellHeight, int Gutter = 1);
// A picture side rounded up to whole 4 x 4 blocks, as compressed textures are stored.
inline int WholeBlocks(int Side) {
  return (Side + 3) / 4 * 4;
}
// The picture size that holds the given cells (their right and bottom edges plus the gutter).
int CellsWidth(const std::vector<TRect>& Cells, int Gutter = 1);
int CellsHeight(const std::vector<TRect>& Cells, int Gutter = 1);

// Cairo helpers: the path of a rounded rectangle, and running a drawing inside one cell (the
// origin moved to the cell's corner, scaled by Scale, and clipped to the cell).
void RoundedRectangle(cairo_t* Cr, double X, double Y, double Width, double Height, double Radius);
// Adds an ellipse centred on (X, Y) to the path as a sub-path of its own.
void Ellipse(cairo_t* Cr, double X, double Y, double RadiusX, double RadiusY);
inline void Circle(cairo_t* Cr, double X, double Y, double Radius) {
  Ellipse(Cr, X, Y, Radius, Radius);
}
// A leaf from its base (X, Y) towards Angle (radians, 0 = right), Length long and Width wide on
// each side of its midrib.
void LeafPath(cairo_t* Cr, double X, double Y, double Length, double Width, double Angle);
void InCell(cairo_t* Cr, const TRect& Cell, double Scale, const std::function<void()>& Draw);

// A small, fast and fully deterministic random generator (SplitMix64).
class TRandom {
 public:
  explicit TRandom(std::uint64_t Seed) : State(Seed) {}
  std::uint64_t Next();
  double Uniform();                       // [0, 1)
  double Range(double Low, double High);  // [Low, High)
  int Int(int Low, int High);             // [Low, High] inclusive

 private:
  std::uint64_t State;
};

// Value noise in [0, 1] on a lattice of unit spacing, and its fractal sum of Octaves octaves.
double Noise(double X, double Y, std::uint32_t Seed);
double FractalNoise(double X, double Y, std::uint32_t Seed, int Octaves = 4);

// The town's palette: a warm, sunlit Mediterranean town.
namespace Palette {
inline const TColor Grass = Rgb(0x9DB36A);
inline const TColor GrassDark = Rgb(0x7F9A52);
inline const TColor GrassLight = Rgb(0xB8C77E);
inline const TColor Earth = Rgb(0xC9A46E);
inline const TColor Sand = Rgb(0xE6D3A3);
inline const TColor Water = Rgb(0x3D8FB5);
inline const TColor WaterLight = Rgb(0x7FC3DC);
inline const TColor WaterDeep = Rgb(0x2A6F99);
inline const TColor Whitewash = Rgb(0xF4EBDD);
inline const TColor Ochre = Rgb(0xE3B873);
inline const TColor Terracotta = Rgb(0xC8643C);
inline const TColor RoofShadow = Rgb(0x9A4528);
inline const TColor Stone = Rgb(0xB8AFA0);
inline const TColor StoneDark = Rgb(0x8C8375);
inline const TColor Wood = Rgb(0x8B5A2B);
inline const TColor Olive = Rgb(0x8A9A5B);
inline const TColor Cypress = Rgb(0x3E5A2E);
inline const TColor Leaf = Rgb(0x5E7F3A);
inline const TColor Sky = Rgb(0x9FD3EA);
inline const TColor Gold = Rgb(0xF2C14E);
inline const TColor Ink = Rgb(0x3A2A1E);        // outlines and dark text on parchment
inline const TColor Parchment = Rgb(0xF3E6C8);  // panels
}  // namespace Palette

// The DejaVu fonts the pictures are lettered with.
namespace FontFiles {
inline constexpr const char* kSansBold = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
inline constexpr const char* kSerifBold = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf";
}  // namespace FontFiles

// A FreeType library with one face opened from a font file, both released together.
class TFontFace {
 public:
  explicit TFontFace(const std::string& FileName);
  ~TFontFace();
  TFontFace(const TFontFace&) = delete;
  TFontFace& operator=(const TFontFace&) = delete;

  FT_FaceRec_* Face() const { return FaceRecord; }

 private:
  FT_LibraryRec_* Library = nullptr;
  FT_FaceRec_* FaceRecord = nullptr;
};

// A TrueType font whose glyph outlines become cairo paths, so text needs neither fontconfig nor
// cairo's font caches (which would outlive the FreeType face).
class TOutlineFont {
 public:
  explicit TOutlineFont(const std::string& FileName) : Font(FileName) {}

  // Width of Text at Size pixels to the em, with Tracking extra pixels between letters.
  double Width(const std::string& Text, double Size, double Tracking = 0) const;
  // Adds the outlines of Text to the current path, its baseline starting at (X, Baseline).
  void AppendPath(cairo_t* Cr, const std::string& Text, double X, double Baseline, double Size,
                  double Tracking = 0) const;
  // As AppendPath, centred on CentreX.
  void AppendCentred(cairo_t* Cr, const std::string& Text, double CentreX, double Baseline,
                     double Size, double Tracking = 0) const;

 private:
  double Advance(char Letter, double Size) const;

  TFontFace Font;
};

// How a DDS stores its pixels: uncompressed A8R8G8B8, or DXT1 (opaque) / DXT5 (with alpha)
// compressed with libsquish's cluster fit; the Fast kinds use its range fit, many times quicker
// on large pictures, where on textured ground the difference does not show.
enum class TDdsFormat { Argb8888, Dxt1, Dxt5, Dxt1Fast, Dxt5Fast };

// One texture for the contact sheet: its name, pixels and segments (empty: the whole picture).
struct TSheetEntry {
  std::string Name;
  TPicture Picture;
  std::vector<TRect> Segments;
};

// The data folder being written. Every write goes through here so that the files are complete
// (written to a temporary name and renamed), listed, and the same bytes on every run. Safe to use
// from several generators at once.
class TOutput {
 public:
  explicit TOutput(std::filesystem::path Root, bool KeepPictures);

  const std::filesystem::path& Root() const { return Folder; }

  // Writes a texture DDS into Textures/ (Name + ".dds"), and its segment file Name + ".tsg" when
  // Segments is not empty. The texture goes onto the contact sheet.
  void Texture(const std::string& Name, const TPicture& Picture, TDdsFormat Format,
               const std::vector<TRect>& Segments = {});
  // Writes a segment file alone (the shared pane layouts): Textures/ + FileName.
  void SegmentFile(const std::string& FileName, const std::vector<TRect>& Segments);
  // Branding pictures: Branding/ + Name + ".png" or ".jpg".
  void BrandingPng(const std::string& Name, const TPicture& Picture);
  void BrandingJpeg(const std::string& Name, const TPicture& Picture, int Quality = 90);
  // Any other file, by its path relative to the data folder ("Samples/Click.wav").
  void File(const std::string& RelativePath, const std::string& Bytes);

  std::vector<std::string> WrittenFiles() const;
  std::vector<TSheetEntry> SheetEntries() const;

 private:
  void Remember(const std::string& RelativePath);
  void AddToSheet(const std::string& Name, const TPicture& Picture,
                  const std::vector<TRect>& Segments);

  std::filesystem::path Folder;
  bool Keep;
  mutable std::mutex Lock;
  std::vector<std::string> Files;
  std::vector<TSheetEntry> Sheet;
};

// File encoders (pure functions of their input). A compressed DDS of a picture whose sides are
// not whole 4 x 4 blocks holds the picture padded with transparent pixels to the right and below,
// as the game's loader takes only whole blocks; segments stay where they are.
std::string EncodeDds(const TPicture& Picture, TDdsFormat Format);
std::string EncodeTsg(const std::vector<TRect>& Segments);
std::string EncodePng(const TPicture& Picture);
std::string EncodeJpeg(const TPicture& Picture, int Quality);

// A generator writes one family of files. Each registers itself at start-up:
//   static Assets::TGeneratorRegistration Fonts("fonts", &GenerateFonts);
using TGenerator = void (*)(TOutput& Output);
struct TGeneratorInfo {
  std::string Name;
  TGenerator Run;
};
std::vector<TGeneratorInfo>& Generators();
struct TGeneratorRegistration {
  TGeneratorRegistration(const char* Name, TGenerator Run) { Generators().push_back({Name, Run}); }
};

// Draws every texture of the sheet entries (with its segment grid and name) onto one picture.
TPicture ContactSheet(std::vector<TSheetEntry> Entries);

}  // namespace Assets

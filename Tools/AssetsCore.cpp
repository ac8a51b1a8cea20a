// AssetsCore.cpp -- pictures, canvases, noise, encoders and the output folder of calvora-assets.
#include "AssetsCore.h"

// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on
#include <ft2build.h>
#include <squish.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include "EngineStreams.h"
#include "Platform.h"
#include "PlatformGraphics.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace Assets {

namespace {

double Clamp01(double Value) {
  return std::clamp(Value, 0.0, 1.0);
}

void WriteWhole(const std::filesystem::path& Path, const std::string& Bytes) {
  std::filesystem::create_directories(Path.parent_path());
  // Leave an existing file untouched when its bytes are already right, so a re-run changes nothing.
  if (Platform::ReadFile(Path.string()) == Bytes) return;
  if (const std::string Failure = Platform::WriteFileAtomic(Path.string(), Bytes); !Failure.empty())
    throw std::runtime_error("Cannot write " + Path.string() + ": " + Failure);
}

}  // namespace

// --- colours -------------------------------------------------------------------------------

TColor Rgb(std::uint32_t Hex, double Alpha) {
  return {((Hex >> 16) & 0xFF) / 255.0, ((Hex >> 8) & 0xFF) / 255.0, (Hex & 0xFF) / 255.0, Alpha};
}

TColor Mix(const TColor& From, const TColor& To, double T) {
  return {From.R + (To.R - From.R) * T, From.G + (To.G - From.G) * T, From.B + (To.B - From.B) * T,
          From.A + (To.A - From.A) * T};
}

TColor Shade(const TColor& Color, double Factor) {
  if (Factor <= 1.0) return {Color.R * Factor, Color.G * Factor, Color.B * Factor, Color.A};
  const double Toward = Factor - 1.0;
  return {Clamp01(Color.R + (1 - Color.R) * Toward), Clamp01(Color.G + (1 - Color.G) * Toward),
          Clamp01(Color.B + (1 - Color.B) * Toward), Color.A};
}

void SetColor(cairo_t* Cr, const TColor& Color, double AlphaScale) {
  cairo_set_source_rgba(Cr, Color.R, Color.G, Color.B, Color.A * AlphaScale);
}

void AddStop(cairo_pattern_t* Pattern, double Offset, const TColor& Color) {
  cairo_pattern_add_color_stop_rgba(Pattern, Offset, Color.R, Color.G, Color.B, Color.A);
}

void SetVerticalGradient(cairo_t* Cr, double Y0, const TColor& Top, double Y1,
                         const TColor& Bottom) {
  cairo_pattern_t* Gradient = cairo_pattern_create_linear(0, Y0, 0, Y1);
  AddStop(Gradient, 0, Top);
  AddStop(Gradient, 1, Bottom);
  cairo_set_source(Cr, Gradient);
  cairo_pattern_destroy(Gradient);
}

void FillLit(cairo_t* Cr, const TColor& Color, double Light, double Dark) {
  double Left, Top, Right, Bottom;
  cairo_path_extents(Cr, &Left, &Top, &Right, &Bottom);
  FillLitAlong(Cr, Color, Light, Dark, Left, Top, Right, Bottom);
}

void FillLitAlong(cairo_t* Cr, const TColor& Color, double Light, double Dark, double X0, double Y0,
                  double X1, double Y1) {
  cairo_pattern_t* Gradient = cairo_pattern_create_linear(X0, Y0, X1, Y1);
  AddStop(Gradient, 0, Shade(Color, Light));
  AddStop(Gradient, 0.45, Color);
  AddStop(Gradient, 1, Shade(Color, Dark));
  cairo_set_source(Cr, Gradient);
  cairo_fill_preserve(Cr);
  cairo_pattern_destroy(Gradient);
}

double SmoothStep(double T) {
  T = Clamp01(T);
  return T * T * (3 - 2 * T);
}

double SmoothStep(double Low, double High, double Value) {
  return SmoothStep((Value - Low) / (High - Low));
}

// --- canvas --------------------------------------------------------------------------------

TCanvas::TCanvas(int Width, int Height)
    : W(Width),
      H(Height),
      Image(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, Width, Height)),
      Context(cairo_create(Image)) {
  if (cairo_surface_status(Image) != CAIRO_STATUS_SUCCESS)
    throw std::runtime_error("Cannot make a canvas of " + std::to_string(Width) + " x " +
                             std::to_string(Height));
  cairo_set_antialias(Context, CAIRO_ANTIALIAS_GOOD);
}

TCanvas::~TCanvas() {
  cairo_destroy(Context);
  cairo_surface_destroy(Image);
}

void TCanvas::SetColor(const TColor& Color) const {
  Assets::SetColor(Context, Color);
}

TPicture TCanvas::Picture() const {
  cairo_surface_flush(Image);
  TPicture Result(W, H);
  const unsigned char* Data = cairo_image_surface_get_data(Image);
  const int Stride = cairo_image_surface_get_stride(Image);
  for (int Y = 0; Y < H; ++Y) {
    const auto* Row = reinterpret_cast<const std::uint32_t*>(Data + std::ptrdiff_t(Y) * Stride);
    for (int X = 0; X < W; ++X) {
      const std::uint32_t Pixel = Row[X];
      const unsigned A = Pixel >> 24;
      std::uint8_t* Out = Result.At(X, Y);
      Out[3] = static_cast<std::uint8_t>(A);
      if (A == 0) continue;
      for (int Channel = 0; Channel < 3; ++Channel) {
        const unsigned Premultiplied = (Pixel >> (16 - 8 * Channel)) & 0xFF;
        Out[Channel] = static_cast<std::uint8_t>(std::min(255u, (Premultiplied * 255 + A / 2) / A));
      }
    }
  }
  return Result;
}

void TCanvas::Put(const TPicture& Picture) const {
  if (Picture.Width != W || Picture.Height != H)
    throw std::runtime_error("Picture size differs from the canvas");
  cairo_surface_flush(Image);
  unsigned char* Data = cairo_image_surface_get_data(Image);
  const int Stride = cairo_image_surface_get_stride(Image);
  for (int Y = 0; Y < H; ++Y) {
    auto* Row = reinterpret_cast<std::uint32_t*>(Data + std::ptrdiff_t(Y) * Stride);
    for (int X = 0; X < W; ++X) {
      const std::uint8_t* In = Picture.At(X, Y);
      const unsigned A = In[3];
      auto Premultiply = [A](unsigned Value) { return (Value * A + 127) / 255; };
      Row[X] =
          (A << 24) | (Premultiply(In[0]) << 16) | (Premultiply(In[1]) << 8) | Premultiply(In[2]);
    }
  }
  cairo_surface_mark_dirty(Image);
}

// --- layout and drawing helpers ------------------------------------------------------------

std::vector<TRect> GridCells(int Count, int Columns, int CellWidth, int CellHeight, int Gutter) {
  std::vector<TRect> Cells;
  Cells.reserve(static_cast<std::size_t>(Count));
  for (int Index = 0; Index < Count; ++Index) {
    const int Column = Index % Columns, Row = Index / Columns;
    Cells.push_back({Gutter + Column * (CellWidth + 2 * Gutter),
                     Gutter + Row * (CellHeight + 2 * Gutter), CellWidth, CellHeight});
  }
  return Cells;
}

int CellsWidth(const std::vector<TRect>& Cells, int Gutter) {
  int Right = 0;
  for (const TRect& Cell : Cells)
    Right = std::max(Right, Cell.Left + Cell.Width);
  return Right + Gutter;
}

int CellsHeight(const std::vector<TRect>& Cells, int Gutter) {
  int Bottom = 0;
  for (const TRect& Cell : Cells)
    Bottom = std::max(Bottom, Cell.Top + Cell.Height);
  return Bottom + Gutter;
}

void RoundedRectangle(cairo_t* Cr, double X, double Y, double Width, double Height, double Radius) {
  Radius = std::min({Radius, Width / 2, Height / 2});
  cairo_new_sub_path(Cr);
  cairo_arc(Cr, X + Width - Radius, Y + Radius, Radius, -M_PI / 2, 0);
  cairo_arc(Cr, X + Width - Radius, Y + Height - Radius, Radius, 0, M_PI / 2);
  cairo_arc(Cr, X + Radius, Y + Height - Radius, Radius, M_PI / 2, M_PI);
  cairo_arc(Cr, X + Radius, Y + Radius, Radius, M_PI, 3 * M_PI / 2);
  cairo_close_path(Cr);
}

void Ellipse(cairo_t* Cr, double X, double Y, double RadiusX, double RadiusY) {
  cairo_save(Cr);
  cairo_translate(Cr, X, Y);
  cairo_scale(Cr, RadiusX, RadiusY);
  cairo_new_sub_path(Cr);
  cairo_arc(Cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_restore(Cr);
}

void LeafPath(cairo_t* Cr, double X, double Y, double Length, double Width, double Angle) {
  cairo_save(Cr);
  cairo_translate(Cr, X, Y);
  cairo_rotate(Cr, Angle);
  cairo_move_to(Cr, 0, 0);
  cairo_curve_to(Cr, Length * 0.3, -Width, Length * 0.75, -Width * 0.8, Length, 0);
  cairo_curve_to(Cr, Length * 0.75, Width * 0.8, Length * 0.3, Width, 0, 0);
  cairo_close_path(Cr);
  cairo_restore(Cr);
}

void InCell(cairo_t* Cr, const TRect& Cell, double Scale, const std::function<void()>& Draw) {
  cairo_save(Cr);
  cairo_rectangle(Cr, Cell.Left, Cell.Top, Cell.Width, Cell.Height);
  cairo_clip(Cr);
  cairo_translate(Cr, Cell.Left, Cell.Top);
  cairo_scale(Cr, Scale, Scale);
  cairo_new_path(Cr);
  Draw();
  cairo_restore(Cr);
}

// --- random numbers and noise --------------------------------------------------------------

std::uint64_t TRandom::Next() {
  std::uint64_t Z = (State += 0x9E3779B97F4A7C15ull);
  Z = (Z ^ (Z >> 30)) * 0xBF58476D1CE4E5B9ull;
  Z = (Z ^ (Z >> 27)) * 0x94D049BB133111EBull;
  return Z ^ (Z >> 31);
}

double TRandom::Uniform() {
  return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0);
}

double TRandom::Range(double Low, double High) {
  return Low + (High - Low) * Uniform();
}

int TRandom::Int(int Low, int High) {
  const auto Span = static_cast<std::uint64_t>(static_cast<std::int64_t>(High) - Low + 1);
  return static_cast<int>(Low + static_cast<std::int64_t>(Next() % Span));
}

namespace {

double LatticeValue(std::int32_t X, std::int32_t Y, std::uint32_t Seed) {
  std::uint32_t H = static_cast<std::uint32_t>(X) * 0x8DA6B343u ^
                    static_cast<std::uint32_t>(Y) * 0xD8163841u ^ Seed * 0xCB1AB31Fu;
  H ^= H >> 15;
  H *= 0x2C1B3C6Du;
  H ^= H >> 12;
  H *= 0x297A2D39u;
  H ^= H >> 15;
  return (H & 0xFFFFFF) / static_cast<double>(0xFFFFFF);
}

}  // namespace

double Noise(double X, double Y, std::uint32_t Seed) {
  const double FloorX = std::floor(X), FloorY = std::floor(Y);
  const auto IX = static_cast<std::int32_t>(FloorX), IY = static_cast<std::int32_t>(FloorY);
  const double TX = SmoothStep(X - FloorX), TY = SmoothStep(Y - FloorY);
  const double A = LatticeValue(IX, IY, Seed), B = LatticeValue(IX + 1, IY, Seed);
  const double C = LatticeValue(IX, IY + 1, Seed), D = LatticeValue(IX + 1, IY + 1, Seed);
  return (A + (B - A) * TX) + ((C + (D - C) * TX) - (A + (B - A) * TX)) * TY;
}

double FractalNoise(double X, double Y, std::uint32_t Seed, int Octaves) {
  double Sum = 0, Weight = 1, Total = 0, Frequency = 1;
  for (int Octave = 0; Octave < Octaves; ++Octave) {
    Sum += Noise(X * Frequency, Y * Frequency, Seed + static_cast<std::uint32_t>(Octave) * 7919u) *
           Weight;
    Total += Weight;
    Weight *= 0.5;
    Frequency *= 2.0;
  }
  return Sum / Total;
}

// --- encoders ------------------------------------------------------------------------------

namespace {

bool IsDxt1(TDdsFormat Format) {
  return Format == TDdsFormat::Dxt1 || Format == TDdsFormat::Dxt1Fast;
}

int SquishFlags(TDdsFormat Format) {
  const bool Fast = Format == TDdsFormat::Dxt1Fast || Format == TDdsFormat::Dxt5Fast;
  return (IsDxt1(Format) ? squish::kDxt1 : squish::kDxt5 | squish::kWeightColourByAlpha) |
         (Fast ? squish::kColourRangeFit : squish::kColourClusterFit);
}

// The picture with transparent pixels added to the right and below up to Width x Height.
TPicture Padded(const TPicture& Picture, int Width, int Height) {
  TPicture Result(Width, Height);
  for (int Y = 0; Y < Picture.Height; ++Y)
    std::copy_n(Picture.At(0, Y), std::size_t(Picture.Width) * 4, Result.At(0, Y));
  return Result;
}

}  // namespace

std::string EncodeDds(const TPicture& Original, TDdsFormat Format) {
  const bool WholeBlocksNeeded =
      Format != TDdsFormat::Argb8888 && (Original.Width % 4 || Original.Height % 4);
  // Only a picture that needs padding is copied.
  TPicture PaddedCopy;
  if (WholeBlocksNeeded)
    PaddedCopy = Padded(Original, WholeBlocks(Original.Width), WholeBlocks(Original.Height));
  const TPicture& Picture = WholeBlocksNeeded ? PaddedCopy : Original;
  const int Width = Picture.Width, Height = Picture.Height;
  std::string Bytes = "DDS ";
  TStreamWriter Out(Bytes);
  const bool Compressed = Format != TDdsFormat::Argb8888;
  const std::uint32_t LinearSize = Compressed
                                       ? static_cast<std::uint32_t>(squish::GetStorageRequirements(
                                             Width, Height, SquishFlags(Format)))
                                       : static_cast<std::uint32_t>(Width) * 4;
  Out.Write(std::uint32_t{124});
  // Caps, height, width, pixel format, and pitch (uncompressed) or linear size (compressed).
  Out.Write(std::uint32_t{0x1 | 0x2 | 0x4 | 0x1000 | (Compressed ? 0x80000u : 0x8u)});
  Out.Write(static_cast<std::uint32_t>(Height));
  Out.Write(static_cast<std::uint32_t>(Width));
  Out.Write(LinearSize);
  Out.Write(std::uint32_t{0});  // depth
  Out.Write(std::uint32_t{1});  // mipmaps
  for (int Reserved = 0; Reserved < 11; ++Reserved)
    Out.Write(std::uint32_t{0});
  Out.Write(std::uint32_t{32});  // pixel format size
  if (Compressed) {
    Out.Write(std::uint32_t{0x4});  // four-cc
    Bytes += IsDxt1(Format) ? "DXT1" : "DXT5";
    for (int Field = 0; Field < 5; ++Field)
      Out.Write(std::uint32_t{0});
  } else {
    // RGB with alpha, 32 bits, and the A8R8G8B8 masks.
    for (std::uint32_t Field : {0x41u, 0u, 32u, 0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u})
      Out.Write(Field);
  }
  Out.Write(std::uint32_t{0x1000});  // caps: a texture
  for (int Reserved = 0; Reserved < 4; ++Reserved)
    Out.Write(std::uint32_t{0});

  if (Compressed) {
    std::string Blocks(LinearSize, '\0');
    squish::CompressImage(Picture.Rgba.data(), Width, Height, Blocks.data(), SquishFlags(Format));
    Bytes += Blocks;
  } else {
    Bytes.reserve(Bytes.size() + Picture.Rgba.size());
    for (std::size_t Pixel = 0; Pixel < Picture.Rgba.size(); Pixel += 4) {
      Bytes.push_back(static_cast<char>(Picture.Rgba[Pixel + 2]));
      Bytes.push_back(static_cast<char>(Picture.Rgba[Pixel + 1]));
      Bytes.push_back(static_cast<char>(Picture.Rgba[Pixel + 0]));
      Bytes.push_back(static_cast<char>(Picture.Rgba[Pixel + 3]));
    }
  }
  return Bytes;
}

std::string EncodeTsg(const std::vector<TRect>& Segments) {
  std::string Text = "SEGMENTS = " + std::to_string(Segments.size()) + "\r\n";
  for (std::size_t Index = 0; Index < Segments.size(); ++Index) {
    const TRect& S = Segments[Index];
    Text += "SEGMENT" + std::to_string(Index) + " = " + std::to_string(S.Left) + ", " +
            std::to_string(S.Top) + ", " + std::to_string(S.Width) + ", " +
            std::to_string(S.Height) + "\r\n";
  }
  return Text;
}

std::string EncodePng(const TPicture& Picture) {
  std::string Failure;
  std::string Encoded = Platform::EncodePng(Picture.Rgba, Picture.Width, Picture.Height, Failure);
  if (!Failure.empty()) throw std::runtime_error("PNG encoding failed: " + Failure);
  return Encoded;
}

std::string EncodeJpeg(const TPicture& Picture, int Quality) {
  jpeg_compress_struct Info{};
  jpeg_error_mgr Errors{};
  Info.err = jpeg_std_error(&Errors);
  jpeg_create_compress(&Info);
  unsigned char* Buffer = nullptr;
  unsigned long Size = 0;
  jpeg_mem_dest(&Info, &Buffer, &Size);
  Info.image_width = static_cast<JDIMENSION>(Picture.Width);
  Info.image_height = static_cast<JDIMENSION>(Picture.Height);
  Info.input_components = 3;
  Info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&Info);
  jpeg_set_quality(&Info, Quality, TRUE);
  jpeg_start_compress(&Info, TRUE);
  std::vector<JSAMPLE> Row(std::size_t(Picture.Width) * 3);
  while (Info.next_scanline < Info.image_height) {
    const int Y = static_cast<int>(Info.next_scanline);
    for (int X = 0; X < Picture.Width; ++X)
      for (int Channel = 0; Channel < 3; ++Channel)
        Row[std::size_t(X) * 3 + Channel] = Picture.At(X, Y)[Channel];
    JSAMPROW Rows[1] = {Row.data()};
    jpeg_write_scanlines(&Info, Rows, 1);
  }
  jpeg_finish_compress(&Info);
  jpeg_destroy_compress(&Info);
  std::string Encoded(reinterpret_cast<const char*>(Buffer), Size);
  std::free(Buffer);
  return Encoded;
}

// --- output --------------------------------------------------------------------------------

TOutput::TOutput(std::filesystem::path Root, bool KeepPictures)
    : Folder(std::move(Root)), Keep(KeepPictures) {}

void TOutput::Texture(const std::string& Name, const TPicture& Picture, TDdsFormat Format,
                      const std::vector<TRect>& Segments) {
  File("Textures/" + Name + ".dds", EncodeDds(Picture, Format));
  if (!Segments.empty()) File("Textures/" + Name + ".tsg", EncodeTsg(Segments));
  AddToSheet(Name, Picture, Segments);
}

void TOutput::SegmentFile(const std::string& FileName, const std::vector<TRect>& Segments) {
  File("Textures/" + FileName, EncodeTsg(Segments));
}

void TOutput::BrandingPng(const std::string& Name, const TPicture& Picture) {
  File("Branding/" + Name + ".png", EncodePng(Picture));
  AddToSheet(Name, Picture, {});
}

void TOutput::BrandingJpeg(const std::string& Name, const TPicture& Picture, int Quality) {
  File("Branding/" + Name + ".jpg", EncodeJpeg(Picture, Quality));
  AddToSheet(Name, Picture, {});
}

void TOutput::File(const std::string& RelativePath, const std::string& Bytes) {
  WriteWhole(Folder / RelativePath, Bytes);
  Remember(RelativePath);
}

void TOutput::Remember(const std::string& RelativePath) {
  std::lock_guard<std::mutex> Guard(Lock);
  Files.push_back(RelativePath);
}

void TOutput::AddToSheet(const std::string& Name, const TPicture& Picture,
                         const std::vector<TRect>& Segments) {
  if (!Keep) return;
  std::lock_guard<std::mutex> Guard(Lock);
  Sheet.push_back({Name, Picture, Segments});
}

std::vector<std::string> TOutput::WrittenFiles() const {
  std::lock_guard<std::mutex> Guard(Lock);
  std::vector<std::string> Sorted = Files;
  std::sort(Sorted.begin(), Sorted.end());
  return Sorted;
}

std::vector<TSheetEntry> TOutput::SheetEntries() const {
  std::lock_guard<std::mutex> Guard(Lock);
  return Sheet;
}

namespace {

// Maps font units (y up) onto the canvas (y down) while FreeType walks a glyph outline.
struct TOutlineWalk {
  cairo_t* Cr;
  double OriginX, OriginY, Scale;
  double X(const FT_Vector* Point) const { return OriginX + static_cast<double>(Point->x) * Scale; }
  double Y(const FT_Vector* Point) const { return OriginY - static_cast<double>(Point->y) * Scale; }
};

int MoveTo(const FT_Vector* To, void* User) {
  const auto* Walk = static_cast<const TOutlineWalk*>(User);
  cairo_close_path(Walk->Cr);
  cairo_move_to(Walk->Cr, Walk->X(To), Walk->Y(To));
  return 0;
}

int LineTo(const FT_Vector* To, void* User) {
  const auto* Walk = static_cast<const TOutlineWalk*>(User);
  cairo_line_to(Walk->Cr, Walk->X(To), Walk->Y(To));
  return 0;
}

// A quadratic segment raised to the cubic that cairo draws.
int ConicTo(const FT_Vector* Control, const FT_Vector* To, void* User) {
  const auto* Walk = static_cast<const TOutlineWalk*>(User);
  double X0 = 0, Y0 = 0;
  cairo_get_current_point(Walk->Cr, &X0, &Y0);
  const double Cx = Walk->X(Control), Cy = Walk->Y(Control);
  const double X3 = Walk->X(To), Y3 = Walk->Y(To);
  cairo_curve_to(Walk->Cr, X0 + 2.0 / 3.0 * (Cx - X0), Y0 + 2.0 / 3.0 * (Cy - Y0),
                 X3 + 2.0 / 3.0 * (Cx - X3), Y3 + 2.0 / 3.0 * (Cy - Y3), X3, Y3);
  return 0;
}

int CubicTo(const FT_Vector* Control1, const FT_Vector* Control2, const FT_Vector* To, void* User) {
  const auto* Walk = static_cast<const TOutlineWalk*>(User);
  cairo_curve_to(Walk->Cr, Walk->X(Control1), Walk->Y(Control1), Walk->X(Control2),
                 Walk->Y(Control2), Walk->X(To), Walk->Y(To));
  return 0;
}

}  // namespace

// --- fonts ----------------------------------------------------------------------------

TFontFace::TFontFace(const std::string& FileName) {
  if (FT_Init_FreeType(&Library) != 0) throw std::runtime_error("Cannot start FreeType");
  if (FT_New_Face(Library, FileName.c_str(), 0, &FaceRecord) != 0) {
    FT_Done_FreeType(Library);
    throw std::runtime_error("Cannot open the font file " + FileName +
                             " (is fonts-dejavu-core installed?)");
  }
}

TFontFace::~TFontFace() {
  FT_Done_Face(FaceRecord);
  FT_Done_FreeType(Library);
}

double TOutlineFont::Advance(char Letter, double Size) const {
  const FT_UInt Glyph = FT_Get_Char_Index(Font.Face(), static_cast<unsigned char>(Letter));
  if (FT_Load_Glyph(Font.Face(), Glyph, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING) != 0) return 0;
  return static_cast<double>(Font.Face()->glyph->advance.x) * Size / Font.Face()->units_per_EM;
}

double TOutlineFont::Width(const std::string& Text, double Size, double Tracking) const {
  double Total = 0;
  for (char Letter : Text)
    Total += Advance(Letter, Size) + Tracking;
  return Text.empty() ? 0 : Total - Tracking;
}

void TOutlineFont::AppendPath(cairo_t* Cr, const std::string& Text, double X, double Baseline,
                              double Size, double Tracking) const {
  const FT_Outline_Funcs Funcs{&MoveTo, &LineTo, &ConicTo, &CubicTo, 0, 0};
  const double Scale = Size / Font.Face()->units_per_EM;
  double Pen = X;
  for (char Letter : Text) {
    const FT_UInt Glyph = FT_Get_Char_Index(Font.Face(), static_cast<unsigned char>(Letter));
    if (FT_Load_Glyph(Font.Face(), Glyph, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING) != 0) continue;
    TOutlineWalk Walk{Cr, Pen, Baseline, Scale};
    cairo_new_sub_path(Cr);
    FT_Outline_Decompose(&Font.Face()->glyph->outline, &Funcs, &Walk);
    cairo_close_path(Cr);
    Pen += static_cast<double>(Font.Face()->glyph->advance.x) * Scale + Tracking;
  }
}

void TOutlineFont::AppendCentred(cairo_t* Cr, const std::string& Text, double CentreX,
                                 double Baseline, double Size, double Tracking) const {
  AppendPath(Cr, Text, CentreX - Width(Text, Size, Tracking) / 2, Baseline, Size, Tracking);
}

std::vector<TGeneratorInfo>& Generators() {
  static std::vector<TGeneratorInfo> All;
  return All;
}

}  // namespace Assets

// EngineUtils.cpp -- small maths, colour, texture-format, text and random helpers.
#include "EngineUtils.h"

#include <array>
#include <bit>
#include <climits>
#include <cmath>

namespace {

// The generator's state; only Randomize and the draws below touch it.
std::uint32_t GSeed = 0;

// Subtracted before rounding to nearest so that rounding acts as a floor. It is 0.5 - 10 * 2^-20,
// which leaves values a hair under the next whole number (fraction >= 0.9999905) rounding up.
constexpr double FloorBias = 0.4999904632568359375;

constexpr float DegreesToRadians = 0.017453292f;

// Nearest integer to D, ties to even, saturated to the int range; NaN gives 0.
int RoundToInt(double D) {
  if (std::isnan(D)) return 0;
  const double R = std::nearbyint(D);
  if (R >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (R <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(R);
}

// One byte of a colour, counted from the low end.
int ColorByte(TColor C, int Shift) {
  return static_cast<int>((C >> Shift) & 0xFFu);
}

// One interpolated colour byte, rounded and kept in 0..255, placed back at Shift.
TColor LerpColorByte(TColor From, TColor To, float T, int Shift) {
  const int F = ColorByte(From, Shift);
  const float V = static_cast<float>(F) + static_cast<float>(ColorByte(To, Shift) - F) * T;
  return static_cast<TColor>(Clamp(RoundToInt(V), 0, 255)) << Shift;
}

using TMatrixElements = std::array<float, 16>;
static_assert(sizeof(TMatrix) == sizeof(TMatrixElements), "TMatrix must be 16 packed floats");

// DDS pixel-format flags.
constexpr std::uint32_t DdsFourCCFlag = 0x4;
constexpr std::uint32_t DdsRgbFlag = 0x40;
constexpr std::uint32_t DdsAlphaPixelsFlag = 0x1;

bool HasFlag(const TDdsPixelFormat& P, std::uint32_t Flag) {
  return (P.Flags & Flag) != 0;
}

// An uncompressed RGB layout: bit depth, whether it carries alpha, and its channel masks.
struct TRgbLayout {
  TPixelFormat Format;
  std::uint32_t BitCount;
  bool Alpha;
  std::uint32_t A, R, G, B;
};

constexpr std::array<TRgbLayout, 4> RgbLayouts = {{
    {TPixelFormat::R5G6B5, 16, false, 0, 0xF800, 0x07E0, 0x001F},
    {TPixelFormat::A1R5G5B5, 16, true, 0x8000, 0x7C00, 0x03E0, 0x001F},
    {TPixelFormat::A4R4G4B4, 16, true, 0xF000, 0x0F00, 0x00F0, 0x000F},
    {TPixelFormat::A8R8G8B8, 32, true, 0xFF000000, 0x00FF0000, 0x0000FF00, 0x000000FF},
}};

// True when P matches the layout; the alpha mask only counts for layouts with alpha.
bool MatchesLayout(const TDdsPixelFormat& P, const TRgbLayout& L) {
  if (P.RGBBitCount != L.BitCount || HasFlag(P, DdsAlphaPixelsFlag) != L.Alpha) return false;
  if (L.Alpha && P.ABitMask != L.A) return false;
  return P.RBitMask == L.R && P.GBitMask == L.G && P.BBitMask == L.B;
}

// The block-compressed format named by a four-character code, or Unknown.
TDdsFormatInfo CompressedFormat(std::uint32_t Code) {
  if (Code == FourCC('D', 'X', 'T', '1')) return {TPixelFormat::DXT1, 8, true};
  if (Code == FourCC('D', 'X', 'T', '3')) return {TPixelFormat::DXT3, 16, true};
  if (Code == FourCC('D', 'X', 'T', '5')) return {TPixelFormat::DXT5, 16, true};
  return {TPixelFormat::Unknown, 0, false};
}

// The uncompressed format P describes, or Unknown.
TDdsFormatInfo RgbFormat(const TDdsPixelFormat& P) {
  for (const TRgbLayout& L : RgbLayouts) {
    if (MatchesLayout(P, L)) return {L.Format, static_cast<int>(L.BitCount / 8), false};
  }
  return {TPixelFormat::Unknown, 0, false};
}

// N as two decimal digits, with a leading zero (N is 0..59).
std::string TwoDigits(int N) {
  return std::string(1, static_cast<char>('0' + N / 10)) + static_cast<char>('0' + N % 10);
}

// Moves the generator one step on and returns the new seed.
std::uint32_t NextSeed() {
  GSeed = GSeed * 134775813u + 1u;
  return GSeed;
}

}  // namespace

// ---- Integers and rounding ----

int FloorToInt(float X) {
  return RoundToInt(static_cast<double>(X) - FloorBias);
}

int Max(int A, int B) {
  return A > B ? A : B;
}

int Min(int A, int B) {
  return A < B ? A : B;
}

int Clamp(int V, int Low, int High) {
  return Min(Max(V, Low), High);
}

bool IsPowerOfTwo(int N) {
  return N >= 4 && N <= 2048 && (N & (N - 1)) == 0;
}

int NextPowerOfTwo(int N) {
  int P = 4;
  while (P < N && P < 2048)
    P *= 2;
  return P;
}

// ---- Floats ----

float Clamp01(float X) {
  if (!(X > 0.0f)) return 0.0f;  // also catches NaN
  if (X > 1.0f) return 1.0f;
  return X;
}

float Frac(float X) {
  return std::fmod(X, 1.0f);
}

float WrapAngle(float X) {
  return std::fmod(X, 360.0f);
}

float ArcCos(float X) {
  return std::atan2(std::sqrt(1.0f - X * X), X);
}

float Lerp(float From, float To, float T) {
  return From + (To - From) * T;
}

// Evaluated in double so that To - From cannot overflow and large ranges keep full precision.
int LerpInt(int From, int To, float T) {
  const double F = static_cast<double>(From);
  return RoundToInt(F + (static_cast<double>(To) - F) * static_cast<double>(T));
}

// The channel arithmetic is done in float, like the other float helpers.
TColor LerpColor(TColor From, TColor To, float T) {
  return (From & 0xFF000000u) | LerpColorByte(From, To, T, 16) | LerpColorByte(From, To, T, 8) |
         LerpColorByte(From, To, T, 0);
}

TColor AlphaByte(float Opacity) {
  return static_cast<TColor>(Clamp(LerpInt(0, 255, Opacity), 0, 255));
}

// When InFrom == InTo the division gives +-inf or NaN, which Clamp01 turns into 1 or 0.
float MapRange(float Value, float InFrom, float InTo, float OutFrom, float OutTo) {
  return OutFrom + (OutTo - OutFrom) * Clamp01((Value - InFrom) / (InTo - InFrom));
}

// ---- Vectors ----

bool VectorEquals(TVector A, TVector B) {
  return std::bit_cast<std::uint32_t>(A.X) == std::bit_cast<std::uint32_t>(B.X) &&
         std::bit_cast<std::uint32_t>(A.Y) == std::bit_cast<std::uint32_t>(B.Y);
}

float VectorLength(TVector V) {
  return std::sqrt(V.X * V.X + V.Y * V.Y);
}

TVector Normalize(TVector V) {
  const float Scale = 1.0f / VectorLength(V);
  return {V.X * Scale, V.Y * Scale};
}

TVector AngleToVector(float Degrees) {
  const float A = Degrees * DegreesToRadians;
  return {std::sin(A), -std::cos(A)};
}

// ---- Matrices ----

TMatrix Identity() {
  TMatrix M{};
  M.M11 = M.M22 = M.M33 = M.M44 = 1.0f;
  return M;
}

TMatrix Translation(TVector V) {
  TMatrix M = Identity();
  M.M41 = V.X;
  M.M42 = -V.Y;
  return M;
}

TMatrix TextureTranslation(float U, float V) {
  TMatrix M = Identity();
  M.M31 = U;
  M.M32 = V;
  return M;
}

TMatrix RotationZ(float Radians) {
  const float C = std::cos(Radians);
  const float S = std::sin(Radians);
  TMatrix M = Identity();
  M.M11 = C;
  M.M12 = S;
  M.M21 = -S;
  M.M22 = C;
  return M;
}

TMatrix Scaling(TVector V) {
  return Scaling3(V.X, V.Y, 1.0f);
}

TMatrix Scaling3(float X, float Y, float Z) {
  TMatrix M = Identity();
  M.M11 = X;
  M.M22 = Y;
  M.M33 = Z;
  return M;
}

TMatrix Multiply(const TMatrix& A, const TMatrix& B) {
  const auto L = std::bit_cast<TMatrixElements>(A);
  const auto R = std::bit_cast<TMatrixElements>(B);
  TMatrixElements P{};
  for (int I = 0; I < 4; ++I) {
    for (int J = 0; J < 4; ++J) {
      float Sum = 0.0f;
      for (int K = 0; K < 4; ++K)
        Sum += L[I * 4 + K] * R[K * 4 + J];
      P[I * 4 + J] = Sum;
    }
  }
  return std::bit_cast<TMatrix>(P);
}

// ---- Textures ----

TDdsFormatInfo DdsFormat(const TDdsPixelFormat& PixelFormat) {
  if (HasFlag(PixelFormat, DdsFourCCFlag)) {
    const TDdsFormatInfo Info = CompressedFormat(PixelFormat.FourCC);
    if (Info.Format != TPixelFormat::Unknown) return Info;
  }
  if (HasFlag(PixelFormat, DdsRgbFlag)) return RgbFormat(PixelFormat);
  return {TPixelFormat::Unknown, 0, false};
}

// ---- Text ----

std::string FormatTime(int Seconds) {
  const int S = Max(Seconds, 0);
  const int Hours = S / 3600;
  const int Minutes = S / 60 % 60;
  const std::string Tail = TwoDigits(S % 60);
  if (Hours == 0) return std::to_string(Minutes) + ":" + Tail;
  return std::to_string(Hours) + ":" + TwoDigits(Minutes) + ":" + Tail;
}

// ---- Random numbers ----

void Randomize(std::uint32_t Seed) {
  GSeed = Seed;
}

std::uint32_t RandomSeed() {
  return GSeed;
}

// The range is taken as the unsigned bit pattern of N, so a negative N draws from
// 0..2^32+N-1 and the result wraps into the int range (it may come out negative).
int Random(int N) {
  const std::uint64_t Product =
      static_cast<std::uint64_t>(NextSeed()) * static_cast<std::uint32_t>(N);
  return static_cast<int>(static_cast<std::uint32_t>(Product >> 32));
}

// Seeds within 2^-25 of 2^32 would round up to 1.0f; those give the largest float below 1.
float RandomFloat() {
  const float F = static_cast<float>(static_cast<double>(NextSeed()) * 0x1p-32);
  return F < 1.0f ? F : std::nextafter(1.0f, 0.0f);
}

// EngineUtils.h -- small maths, colour, texture-format, text and random-number helpers.
#pragma once

#include <cstdint>
#include <string>

// A 0xAARRGGBB colour.
using TColor = std::uint32_t;

// A 2D point or direction in screen units (y grows downward).
struct TVector {
  float X, Y;
};

// A 4x4 matrix stored by rows; points are row vectors multiplied from the left.
struct TMatrix {
  float M11, M12, M13, M14;
  float M21, M22, M23, M24;
  float M31, M32, M33, M34;
  float M41, M42, M43, M44;
};

// ---- Integers and rounding ----

// Whole part of X when its fraction is below 1 - 10 * 2^-20 (about 0.9999905), else the next
// whole number; saturates to the int range, NaN gives 0.
int FloorToInt(float X);
// The larger of A and B.
int Max(int A, int B);
// The smaller of A and B.
int Min(int A, int B);
// V raised to at least Low, then lowered to at most High (High wins if Low > High).
int Clamp(int V, int Low, int High);
// True for the texture sizes 4, 8, 16, ..., 2048.
bool IsPowerOfTwo(int N);
// Smallest texture size 4..1024 that is >= N, else 2048.
int NextPowerOfTwo(int N);

// ---- Floats ----

// X limited to 0..1; NaN gives 0.
float Clamp01(float X);
// X minus its whole part, keeping the sign of X.
float Frac(float X);
// Remainder of X / 360 with the sign of X.
float WrapAngle(float X);
// Arc cosine of X in radians, via atan2(sqrt(1 - X^2), X); NaN outside -1..1.
float ArcCos(float X);
// From + (To - From) * T.
float Lerp(float From, float To, float T);
// From + (To - From) * T evaluated in double, rounded half-to-even and saturated; NaN T gives 0.
int LerpInt(int From, int To, float T);
// Blue, green and red interpolated per byte (rounded, clamped to 0..255); alpha kept from From.
TColor LerpColor(TColor From, TColor To, float T);
// The alpha byte of an opacity: 255 x Opacity rounded half-to-even and kept within 0..255.
TColor AlphaByte(float Opacity);
// Value's position in InFrom..InTo (clamped to 0..1) mapped onto OutFrom..OutTo.
float MapRange(float Value, float InFrom, float InTo, float OutFrom, float OutTo);

// ---- Vectors ----

// True when both components have identical bit patterns (-0 differs from +0).
bool VectorEquals(TVector A, TVector B);
// Euclidean length of V.
float VectorLength(TVector V);
// A + B, A - B and V x Factor, component by component.
inline TVector VectorAdd(TVector A, TVector B) {
  return {A.X + B.X, A.Y + B.Y};
}
inline TVector VectorSubtract(TVector A, TVector B) {
  return {A.X - B.X, A.Y - B.Y};
}
inline TVector VectorScale(TVector V, float Factor) {
  return {V.X * Factor, V.Y * Factor};
}
// V scaled to length 1; a zero vector gives non-finite components.
TVector Normalize(TVector V);
// Unit direction for a compass angle: 0 degrees is up the screen, 90 is to the right.
TVector AngleToVector(float Degrees);

// ---- Matrices ----

// The identity matrix.
TMatrix Identity();
// Moves by V, flipping screen y (down) to world y (up).
TMatrix Translation(TVector V);
// Shifts texture coordinates by (U, V).
TMatrix TextureTranslation(float U, float V);
// Rotates about the z axis by Radians.
TMatrix RotationZ(float Radians);
// Scales x and y by V.X and V.Y.
TMatrix Scaling(TVector V);
// Scales x, y and z.
TMatrix Scaling3(float X, float Y, float Z);
// The product A x B: applies A first, then B, to a row vector.
TMatrix Multiply(const TMatrix& A, const TMatrix& B);

// ---- Textures ----

// Pixel layouts the texture loader understands.
enum class TPixelFormat { Unknown, DXT1, DXT3, DXT5, R5G6B5, A1R5G5B5, A4R4G4B4, A8R8G8B8 };

// The 32-byte pixel-format block of a DDS header, as little-endian values.
struct TDdsPixelFormat {
  std::uint32_t Size, Flags, FourCC, RGBBitCount, RBitMask, GBitMask, BBitMask, ABitMask;
};

// What a DDS pixel format means: bytes per 4x4 block (compressed) or per pixel.
struct TDdsFormatInfo {
  TPixelFormat Format;
  int BytesPerUnit;
  bool Compressed;
};

// A little-endian four-character code, as stored in DDS headers.
constexpr std::uint32_t FourCC(char A, char B, char C, char D) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(A)) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(B)) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(C)) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(D)) << 24;
}

// Recognises the DDS pixel formats the game ships; anything else is Unknown.
TDdsFormatInfo DdsFormat(const TDdsPixelFormat& PixelFormat);

// ---- Text ----

// "M:SS" below one hour, "H:MM:SS" from then on; negative times show as "0:00".
std::string FormatTime(int Seconds);

// ---- Random numbers (one generator for the whole program) ----

// Sets the generator's seed.
void Randomize(std::uint32_t Seed);
// The generator's current seed.
std::uint32_t RandomSeed();
// Uniform in 0..N-1 (0 for N = 0); negative N draws over the bit pattern of N and may be negative.
int Random(int N);
// Uniform in [0, 1).
float RandomFloat();

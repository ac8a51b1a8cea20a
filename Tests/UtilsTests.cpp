// UtilsTests.cpp -- tests of the engine's small maths, colour, texture, text and random helpers.
#include <array>
#include <climits>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <string>

#include <gtest/gtest.h>

#include "EngineUtils.h"

namespace {

constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
constexpr float Inf = std::numeric_limits<float>::infinity();
constexpr float Pi = std::numbers::pi_v<float>;

// Matrix elements in row order, read by name so the test does not rely on the struct layout.
std::array<float, 16> Elements(const TMatrix& M) {
  return {M.M11, M.M12, M.M13, M.M14, M.M21, M.M22, M.M23, M.M24,
          M.M31, M.M32, M.M33, M.M34, M.M41, M.M42, M.M43, M.M44};
}

TMatrix FromElements(const std::array<float, 16>& E) {
  return {E[0], E[1], E[2],  E[3],  E[4],  E[5],  E[6],  E[7],
          E[8], E[9], E[10], E[11], E[12], E[13], E[14], E[15]};
}

// The identity with the given elements (row-major index) replaced.
std::array<float, 16> IdentityWith(std::initializer_list<std::pair<int, float>> Changes) {
  std::array<float, 16> E{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  for (const auto& [Index, Value] : Changes)
    E[Index] = Value;
  return E;
}

void ExpectElements(const TMatrix& M, const std::array<float, 16>& Expected) {
  const auto Actual = Elements(M);
  for (int I = 0; I < 16; ++I) {
    EXPECT_EQ(Actual[I], Expected[I]) << "element M" << I / 4 + 1 << I % 4 + 1;
  }
}

// A row vector (X, Y, 0, 1) multiplied by M, keeping x and y.
TVector Transform(TVector P, const TMatrix& M) {
  return {P.X * M.M11 + P.Y * M.M21 + M.M41, P.X * M.M12 + P.Y * M.M22 + M.M42};
}

// ---- Integers and rounding ----

TEST(FloorToIntTest, MatchesTable) {
  struct Case {
    float X;
    int Expected;
  };
  const Case Cases[] = {
      {705.6f, 705},
      {690.0f, 690},
      {3.99999f, 3},
      {3.999995f, 4},
      {-1.5f, -2},
      {-3.0f, -3},
      {-0.5f, -1},
      {0.5f, 0},
      {0.0f, 0},
      {-0.0f, 0},
      {16777216.0f, 16777216},
      {-16777216.0f, -16777216},
      {1e10f, INT_MAX},
      {-1e10f, INT_MIN},
      {2147483648.0f, INT_MAX},
      {-2147483648.0f, INT_MIN},
      {NaN, 0},
      {Inf, INT_MAX},
      {-Inf, INT_MIN},
  };
  for (const Case& C : Cases) {
    EXPECT_EQ(FloorToInt(C.X), C.Expected) << "X = " << C.X;
  }
}

// X - 0.4999904632568359375 lands exactly on a half for X = k + 1 - 10 * 2^-20.
TEST(FloorToIntTest, HalfwayResultsRoundToEven) {
  struct Case {
    float X;
    int Expected;
  };
  const Case Cases[] = {
      {0x1.fffecp-1f, 0},  // 0.5 -> 0
      {0x1.ffff6p+0f, 2},  // 1.5 -> 2
      {0x1.7fffbp+1f, 2},  // 2.5 -> 2
      {0x1.ffffbp+1f, 4},  // 3.5 -> 4
  };
  for (const Case& C : Cases) {
    EXPECT_EQ(FloorToInt(C.X), C.Expected) << std::hexfloat << "X = " << C.X;
  }
}

TEST(IntHelpersTest, MaxMinClamp) {
  EXPECT_EQ(Max(3, -7), 3);
  EXPECT_EQ(Max(-7, 3), 3);
  EXPECT_EQ(Min(3, -7), -7);
  EXPECT_EQ(Min(-7, 3), -7);
  struct Case {
    int V, Low, High, Expected;
  };
  const Case Cases[] = {
      {5, 0, 10, 5}, {-1, 0, 10, 0},  {11, 0, 10, 10},
      {0, 0, 10, 0}, {10, 0, 10, 10}, {5, 8, 2, 2},  // Low > High: High wins
      {1, 8, 2, 2},
  };
  for (const Case& C : Cases) {
    EXPECT_EQ(Clamp(C.V, C.Low, C.High), C.Expected)
        << "Clamp(" << C.V << ", " << C.Low << ", " << C.High << ")";
  }
}

TEST(PowerOfTwoTest, IsPowerOfTwo) {
  struct Case {
    int N;
    bool Expected;
  };
  const Case Cases[] = {
      {4, true},     {8, true},   {1024, true},     {2048, true}, {0, false},
      {1, false},    {2, false},  {3, false},       {6, false},   {1000, false},
      {4096, false}, {-4, false}, {INT_MIN, false},
  };
  for (const Case& C : Cases) {
    EXPECT_EQ(IsPowerOfTwo(C.N), C.Expected) << "N = " << C.N;
  }
}

TEST(PowerOfTwoTest, NextPowerOfTwo) {
  struct Case {
    int N, Expected;
  };
  const Case Cases[] = {
      {3, 4},       {0, 4},       {-5, 4},      {4, 4},       {5, 8},          {100, 128},
      {1024, 1024}, {1025, 2048}, {2048, 2048}, {5000, 2048}, {INT_MAX, 2048}, {INT_MIN, 4},
  };
  for (const Case& C : Cases) {
    EXPECT_EQ(NextPowerOfTwo(C.N), C.Expected) << "N = " << C.N;
  }
}

// ---- Floats ----

TEST(FloatHelpersTest, Clamp01) {
  struct Case {
    float X, Expected;
  };
  const Case Cases[] = {
      {-1.0f, 0.0f}, {0.0f, 0.0f}, {0.25f, 0.25f}, {1.0f, 1.0f},
      {2.0f, 1.0f},  {NaN, 0.0f},  {Inf, 1.0f},    {-Inf, 0.0f},
  };
  for (const Case& C : Cases) {
    EXPECT_EQ(Clamp01(C.X), C.Expected) << "X = " << C.X;
  }
}

TEST(FloatHelpersTest, FracAndWrapAngleKeepTheSign) {
  struct Case {
    float X, Expected;
  };
  const Case FracCases[] = {{2.75f, 0.75f}, {-2.75f, -0.75f}, {3.0f, 0.0f}, {0.5f, 0.5f}};
  for (const Case& C : FracCases) {
    EXPECT_EQ(Frac(C.X), C.Expected) << "Frac(" << C.X << ")";
  }
  const Case AngleCases[] = {
      {370.0f, 10.0f}, {-370.0f, -10.0f}, {720.0f, 0.0f}, {359.5f, 359.5f}, {-90.0f, -90.0f}};
  for (const Case& C : AngleCases) {
    EXPECT_EQ(WrapAngle(C.X), C.Expected) << "WrapAngle(" << C.X << ")";
  }
}

TEST(FloatHelpersTest, ArcCos) {
  struct Case {
    float X, Expected;
  };
  const Case Cases[] = {
      {1.0f, 0.0f}, {0.0f, Pi / 2}, {-1.0f, Pi}, {0.5f, Pi / 3}, {-0.5f, 2 * Pi / 3}};
  for (const Case& C : Cases) {
    EXPECT_NEAR(ArcCos(C.X), C.Expected, 1e-6f) << "X = " << C.X;
  }
}

TEST(FloatHelpersTest, Lerp) {
  EXPECT_EQ(Lerp(0.0f, 10.0f, 0.5f), 5.0f);
  EXPECT_EQ(Lerp(10.0f, 20.0f, -1.0f), 0.0f);
  EXPECT_EQ(Lerp(2.0f, 4.0f, 1.5f), 5.0f);
  EXPECT_EQ(Lerp(4.0f, 2.0f, 0.25f), 3.5f);
}

TEST(FloatHelpersTest, LerpIntRoundsHalfToEvenAndSaturates) {
  struct Case {
    int From, To;
    float T;
    int Expected;
  };
  const Case Cases[] = {
      {0, 10, 0.5f, 5},
      {0, 3, 0.5f, 2},    // 1.5
      {0, 5, 0.5f, 2},    // 2.5
      {10, 0, 0.25f, 8},  // 7.5
      {-10, 10, 0.75f, 5},
      {-3, 0, 0.5f, -2},  // -1.5
      {0, 100, 0.1f, 10},
      {7, 7, 123.0f, 7},
      {INT_MIN, INT_MAX, 1.0f, INT_MAX},  // difference overflows int
      {INT_MAX, INT_MIN, 1.0f, INT_MIN},
      {INT_MIN, INT_MAX, 2.0f, INT_MAX},
      {INT_MIN, INT_MAX, -1.0f, INT_MIN},
      {5, 10, NaN, 0},
  };
  for (const Case& C : Cases) {
    EXPECT_EQ(LerpInt(C.From, C.To, C.T), C.Expected)
        << "LerpInt(" << C.From << ", " << C.To << ", " << C.T << ")";
  }
}

TEST(FloatHelpersTest, LerpColor) {
  struct Case {
    TColor From, To;
    float T;
    TColor Expected;
  };
  const Case Cases[] = {
      {0xFF000000, 0x00FFFFFF, 0.5f, 0xFF808080},  // 127.5 -> 128, alpha from From
      {0x80102030, 0xFF203040, 0.5f, 0x80182838},  // channels move independently
      {0x12000000, 0x34010305, 0.5f, 0x12000202},  // 0.5 -> 0, 1.5 -> 2, 2.5 -> 2
      {0x00102030, 0xFFA0B0C0, 0.0f, 0x00102030},  {0x00102030, 0xFFA0B0C0, 1.0f, 0x00A0B0C0},
      {0x00808080, 0x00FF00FF, 2.0f, 0x00FF00FF},   // 382 and -126 clamp to 255 and 0
      {0x00808080, 0x00FF00FF, -2.0f, 0x0000FF00},  // -126, 384, -126
      {0xAA102030, 0xAAA0B0C0, 0.25f, 0xAA344454},
  };
  for (const Case& C : Cases) {
    EXPECT_EQ(LerpColor(C.From, C.To, C.T), C.Expected)
        << std::hex << "From " << C.From << " To " << C.To << " T " << C.T;
  }
}

TEST(FloatHelpersTest, MapRange) {
  struct Case {
    float Value, InFrom, InTo, OutFrom, OutTo, Expected;
  };
  const Case Cases[] = {
      {5, 0, 10, 100, 200, 150}, {-5, 0, 10, 100, 200, 100}, {15, 0, 10, 100, 200, 200},
      {0, 0, 10, 100, 200, 100}, {10, 0, 10, 100, 200, 200}, {5, 0, 10, 200, 100, 150},
      {2, 10, 0, 0, 100, 80},    {5, 3, 3, 0, 10, 10},  // +inf -> 1
      {1, 3, 3, 0, 10, 0},                              // -inf -> 0
      {3, 3, 3, 0, 10, 0},                              // NaN -> 0
  };
  for (const Case& C : Cases) {
    EXPECT_EQ(MapRange(C.Value, C.InFrom, C.InTo, C.OutFrom, C.OutTo), C.Expected)
        << "MapRange(" << C.Value << ", " << C.InFrom << ", " << C.InTo << ", " << C.OutFrom << ", "
        << C.OutTo << ")";
  }
}

// ---- Vectors ----

TEST(VectorTest, EqualsComparesBits) {
  struct Case {
    TVector A, B;
    bool Expected;
  };
  const Case Cases[] = {
      {{1, 2}, {1, 2}, true},         {{1, 2}, {1, 3}, false},        {{1, 2}, {2, 2}, false},
      {{0.0f, 0}, {-0.0f, 0}, false}, {{0, 0.0f}, {0, -0.0f}, false}, {{NaN, 1}, {NaN, 1}, true},
      {{NaN, 1}, {-NaN, 1}, false},
  };
  for (const Case& C : Cases) {
    EXPECT_EQ(VectorEquals(C.A, C.B), C.Expected)
        << "(" << C.A.X << ", " << C.A.Y << ") vs (" << C.B.X << ", " << C.B.Y << ")";
  }
}

TEST(VectorTest, LengthAndNormalize) {
  EXPECT_EQ(VectorLength({3, 4}), 5.0f);
  EXPECT_EQ(VectorLength({-3, -4}), 5.0f);
  EXPECT_EQ(VectorLength({0, 0}), 0.0f);

  const TVector N = Normalize({3, -4});
  EXPECT_FLOAT_EQ(N.X, 0.6f);
  EXPECT_FLOAT_EQ(N.Y, -0.8f);
  const TVector Z = Normalize({0, 0});  // not expected in play, but must not crash
  EXPECT_FALSE(std::isfinite(Z.X));
  EXPECT_FALSE(std::isfinite(Z.Y));
}

TEST(VectorTest, AngleToVectorPointsAlongTheScreen) {
  struct Case {
    float Degrees;
    TVector Expected;
  };
  const Case Cases[] = {
      {0, {0, -1}},   {90, {1, 0}},   {180, {0, 1}},
      {270, {-1, 0}}, {-90, {-1, 0}}, {45, {0.70710678f, -0.70710678f}},
  };
  for (const Case& C : Cases) {
    const TVector V = AngleToVector(C.Degrees);
    EXPECT_NEAR(V.X, C.Expected.X, 1e-6f) << C.Degrees << " degrees";
    EXPECT_NEAR(V.Y, C.Expected.Y, 1e-6f) << C.Degrees << " degrees";
  }
  EXPECT_TRUE(VectorEquals(AngleToVector(0), {0.0f, -1.0f}));
}

// ---- Matrices ----

TEST(MatrixTest, BuildersSetTheirElements) {
  ExpectElements(Identity(), IdentityWith({}));
  ExpectElements(Translation({3, 4}), IdentityWith({{12, 3.0f}, {13, -4.0f}}));
  ExpectElements(TextureTranslation(0.25f, 0.5f), IdentityWith({{8, 0.25f}, {9, 0.5f}}));
  ExpectElements(Scaling({2, 3}), IdentityWith({{0, 2.0f}, {5, 3.0f}}));
  ExpectElements(Scaling3(2, 3, 4), IdentityWith({{0, 2.0f}, {5, 3.0f}, {10, 4.0f}}));
  const float C = std::cos(0.5f);
  const float S = std::sin(0.5f);
  ExpectElements(RotationZ(0.5f), IdentityWith({{0, C}, {1, S}, {4, -S}, {5, C}}));
}

TEST(MatrixTest, TransformsRowVectors) {
  const TVector Moved = Transform({1, 1}, Translation({3, 4}));
  EXPECT_TRUE(VectorEquals(Moved, {4.0f, -3.0f}));
  const TVector Turned = Transform({1, 0}, RotationZ(Pi / 2));  // x axis onto y axis
  EXPECT_NEAR(Turned.X, 0.0f, 1e-6f);
  EXPECT_NEAR(Turned.Y, 1.0f, 1e-6f);
}

TEST(MatrixTest, MultiplyIsTheRowByColumnProduct) {
  std::array<float, 16> A{};
  std::array<float, 16> B{};
  for (int I = 0; I < 16; ++I) {
    A[I] = static_cast<float>(I + 1);
    B[I] = static_cast<float>(I + 17);
  }
  ExpectElements(
      Multiply(FromElements(A), FromElements(B)),
      {250, 260, 270, 280, 618, 644, 670, 696, 986, 1028, 1070, 1112, 1354, 1412, 1470, 1528});
  ExpectElements(Multiply(Identity(), FromElements(A)), A);
  ExpectElements(Multiply(FromElements(A), Identity()), A);
}

// With row vectors, Multiply(A, B) applies A first and then B.
TEST(MatrixTest, MultiplyOrderIsFirstThenSecond) {
  ExpectElements(Multiply(Scaling({2, 3}), Translation({5, 7})),
                 IdentityWith({{0, 2.0f}, {5, 3.0f}, {12, 5.0f}, {13, -7.0f}}));
  ExpectElements(Multiply(Translation({5, 7}), Scaling({2, 3})),
                 IdentityWith({{0, 2.0f}, {5, 3.0f}, {12, 10.0f}, {13, -21.0f}}));
}

// ---- Textures ----

TEST(DdsFormatTest, FourCCIsLittleEndian) {
  EXPECT_EQ(FourCC('D', 'X', 'T', '1'), 0x31545844u);
  static_assert(FourCC('D', 'X', 'T', '5') == 0x35545844u);
}

TEST(DdsFormatTest, RecognisesTheShippedFormats) {
  constexpr std::uint32_t FourCCFlag = 0x4;
  constexpr std::uint32_t Rgb = 0x40;
  constexpr std::uint32_t RgbA = 0x41;
  struct Case {
    const char* Name;
    TDdsPixelFormat In;
    TPixelFormat Format;
    int Bytes;
    bool Compressed;
  };
  const Case Cases[] = {
      {"DXT1",
       {32, FourCCFlag, FourCC('D', 'X', 'T', '1'), 0, 0, 0, 0, 0},
       TPixelFormat::DXT1,
       8,
       true},
      {"DXT3",
       {32, FourCCFlag, FourCC('D', 'X', 'T', '3'), 0, 0, 0, 0, 0},
       TPixelFormat::DXT3,
       16,
       true},
      {"DXT5",
       {32, FourCCFlag, FourCC('D', 'X', 'T', '5'), 0, 0, 0, 0, 0},
       TPixelFormat::DXT5,
       16,
       true},
      {"R5G6B5", {32, Rgb, 0, 16, 0xF800, 0x07E0, 0x001F, 0}, TPixelFormat::R5G6B5, 2, false},
      {"A1R5G5B5",
       {32, RgbA, 0, 16, 0x7C00, 0x03E0, 0x001F, 0x8000},
       TPixelFormat::A1R5G5B5,
       2,
       false},
      {"A4R4G4B4",
       {32, RgbA, 0, 16, 0x0F00, 0x00F0, 0x000F, 0xF000},
       TPixelFormat::A4R4G4B4,
       2,
       false},
      {"A8R8G8B8",
       {32, RgbA, 0, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000},
       TPixelFormat::A8R8G8B8,
       4,
       false},
      {"DXT1 with other flag bits",
       {32, FourCCFlag | 0x80000, FourCC('D', 'X', 'T', '1'), 0, 0, 0, 0, 0},
       TPixelFormat::DXT1,
       8,
       true},
      {"DXT2",
       {32, FourCCFlag, FourCC('D', 'X', 'T', '2'), 0, 0, 0, 0, 0},
       TPixelFormat::Unknown,
       0,
       false},
      {"DXT1 code without the flag",
       {32, 0, FourCC('D', 'X', 'T', '1'), 0, 0, 0, 0, 0},
       TPixelFormat::Unknown,
       0,
       false},
      {"24-bit RGB",
       {32, Rgb, 0, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0},
       TPixelFormat::Unknown,
       0,
       false},
      {"16-bit no alpha flag, A1R5G5B5 masks",
       {32, Rgb, 0, 16, 0x7C00, 0x03E0, 0x001F, 0x8000},
       TPixelFormat::Unknown,
       0,
       false},
      {"565 masks with the alpha flag",
       {32, RgbA, 0, 16, 0xF800, 0x07E0, 0x001F, 0},
       TPixelFormat::Unknown,
       0,
       false},
      {"A1R5G5B5 with a wrong alpha mask",
       {32, RgbA, 0, 16, 0x7C00, 0x03E0, 0x001F, 0},
       TPixelFormat::Unknown,
       0,
       false},
      {"32-bit without the alpha flag",
       {32, Rgb, 0, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0},
       TPixelFormat::Unknown,
       0,
       false},
      {"A8R8G8B8 masks without the RGB flag",
       {32, 0x1, 0, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000},
       TPixelFormat::Unknown,
       0,
       false},
      {"16 bits with 32-bit masks",
       {32, RgbA, 0, 16, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000},
       TPixelFormat::Unknown,
       0,
       false},
  };
  for (const Case& C : Cases) {
    const TDdsFormatInfo Info = DdsFormat(C.In);
    EXPECT_EQ(Info.Format, C.Format) << C.Name;
    EXPECT_EQ(Info.BytesPerUnit, C.Bytes) << C.Name;
    EXPECT_EQ(Info.Compressed, C.Compressed) << C.Name;
  }
}

// ---- Text ----

TEST(FormatTimeTest, MatchesTable) {
  struct Case {
    int Seconds;
    const char* Expected;
  };
  const Case Cases[] = {
      {0, "0:00"},           {59, "0:59"},      {60, "1:00"},      {307, "5:07"},
      {3599, "59:59"},       {3600, "1:00:00"}, {3661, "1:01:01"}, {45000, "12:30:00"},
      {360000, "100:00:00"}, {-1, "0:00"},      {INT_MIN, "0:00"},
  };
  for (const Case& C : Cases) {
    EXPECT_EQ(FormatTime(C.Seconds), C.Expected) << "Seconds = " << C.Seconds;
  }
}

// ---- Random numbers ----

TEST(RandomTest, FollowsTheGeneratorFormula) {
  Randomize(0);
  EXPECT_EQ(RandomSeed(), 0u);
  struct Step {
    int N;
    int Expected;
    std::uint32_t SeedAfter;
  };
  // seed' = seed * 134775813 + 1; result = (seed' * N) >> 32.
  const Step Steps[] = {
      {100, 0, 1u},       {100, 3, 134775814u}, {100, 86, 3698175007u},
      {6, 1, 870078620u}, {6, 1, 1172187917u},  {6, 4, 2884733762u},
  };
  for (const Step& S : Steps) {
    EXPECT_EQ(Random(S.N), S.Expected);
    EXPECT_EQ(RandomSeed(), S.SeedAfter);
  }
}

TEST(RandomTest, SameSeedGivesSameSequence) {
  const int Expected[] = {385, 289, 79, 553, 633};  // from seed 12345, Random(1000)
  for (int Round = 0; Round < 2; ++Round) {
    Randomize(12345);
    for (int Value : Expected)
      EXPECT_EQ(Random(1000), Value) << "round " << Round;
  }
  EXPECT_EQ(RandomSeed(), 2721613530u);
}

TEST(RandomTest, DegenerateRangesStillAdvance) {
  Randomize(0);
  EXPECT_EQ(Random(0), 0);
  EXPECT_EQ(RandomSeed(), 1u);
  EXPECT_EQ(Random(1), 0);
  EXPECT_EQ(RandomSeed(), 134775814u);
  // A negative range uses the bit pattern: N = -1 acts as 2^32 - 1, wrapped into int.
  EXPECT_EQ(Random(-1), -596792290);
  EXPECT_EQ(RandomSeed(), 3698175007u);
}

TEST(RandomTest, StaysInRange) {
  Randomize(987654321u);
  for (int I = 0; I < 10000; ++I) {
    const int R = Random(7);
    ASSERT_GE(R, 0);
    ASSERT_LT(R, 7);
  }
}

TEST(RandomTest, RandomFloatIsBelowOne) {
  struct Case {
    std::uint32_t Seed;  // seed before the draw
    float Expected;
  };
  const Case Cases[] = {
      {0u, 0x1p-32f},                             // new seed 1
      {0xA58C47E6u, std::nextafter(1.0f, 0.0f)},  // new seed 0xFFFFFF7F
      {0x7EDBF0B3u, std::nextafter(1.0f, 0.0f)},  // new seed 0xFFFFFF80 would round to 1
      {0x4D60AE66u, std::nextafter(1.0f, 0.0f)},  // new seed 0xFFFFFFFF
      {1u, 0x1.01108p-5f},                        // new seed 134775814
  };
  for (const Case& C : Cases) {
    Randomize(C.Seed);
    EXPECT_EQ(RandomFloat(), C.Expected) << std::hex << "seed " << C.Seed;
  }
}

}  // namespace

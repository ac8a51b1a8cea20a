// TexturesTests.cpp -- textures by name: DDS, PNG and JPEG loading, padding to powers of two,
// the folder search, segment files, language pictures, failures, and calvora-data texture.
#include <gtest/gtest.h>
// clang-format off
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first
#include <jpeglib.h>
// clang-format on
#include <png.h>
#include <sys/wait.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "EngineImages.h"
#include "EngineLanguages.h"
#include "EngineRegister.h"
#include "EngineTextures.h"
#include "NullPlatform.h"
#include "Platform.h"
#include "TestSupport.h"

using Platform::TTextureFormat;

namespace {

using TBytes = std::vector<std::uint8_t>;

// ---- Picture files made by the tests ----

// The pixel-format block of a DDS header.
struct TDdsFormat {
  std::uint32_t Flags, FourCC, BitCount, R, G, B, A;
  TTextureFormat Format;  // what the texture keeps
};

const TDdsFormat Argb8888 = {0x41,   0,    32,         0xFF0000,
                             0xFF00, 0xFF, 0xFF000000, TTextureFormat::A8R8G8B8};
const TDdsFormat Rgb565 = {0x40, 0, 16, 0xF800, 0x07E0, 0x001F, 0, TTextureFormat::R5G6B5};
const TDdsFormat Argb1555 = {0x41, 0, 16, 0x7C00, 0x03E0, 0x001F, 0x8000, TTextureFormat::A1R5G5B5};
const TDdsFormat Argb4444 = {0x41, 0, 16, 0x0F00, 0x00F0, 0x000F, 0xF000, TTextureFormat::A4R4G4B4};
const TDdsFormat Dxt1 = {0x4, FourCC('D', 'X', 'T', '1'), 0, 0, 0, 0, 0, TTextureFormat::DXT1};
const TDdsFormat Dxt3 = {0x4, FourCC('D', 'X', 'T', '3'), 0, 0, 0, 0, 0, TTextureFormat::DXT3};
const TDdsFormat Dxt5 = {0x4, FourCC('D', 'X', 'T', '5'), 0, 0, 0, 0, 0, TTextureFormat::DXT5};
const TDdsFormat Rgb888 = {0x40, 0, 24, 0xFF0000, 0xFF00, 0xFF, 0, TTextureFormat::A8R8G8B8};

bool IsBlocks(const TDdsFormat& F) {
  return F.Flags == 0x4;
}

// Bytes of one row of elements (blocks or pixels) of a picture Width pixels wide.
std::size_t RowBytes(const TDdsFormat& F, int Width) {
  if (IsBlocks(F)) return static_cast<std::size_t>(Width / 4) * (F.FourCC == Dxt1.FourCC ? 8 : 16);
  return static_cast<std::size_t>(Width) * (F.BitCount / 8);
}

std::size_t ElementRows(const TDdsFormat& F, int Height) {
  return static_cast<std::size_t>(IsBlocks(F) ? Height / 4 : Height);
}

// Deterministic bytes that differ from pixel to pixel.
TBytes Noise(std::size_t Size, std::uint32_t Seed) {
  TBytes Bytes(Size);
  for (std::uint8_t& B : Bytes) {
    Seed = Seed * 1664525u + 1013904223u;
    B = static_cast<std::uint8_t>(Seed >> 24);
  }
  return Bytes;
}

// Header fields a test may spoil.
struct THeaderEdit {
  std::uint32_t Magic = 0x20534444;
  std::uint32_t Size = 124;
  std::uint32_t Flags = 0x1007;  // caps, height, width, pixel format
  std::uint32_t Caps = 0x1000;
  bool WritePitch = false;
  std::uint32_t Pitch = 0;
};

void Put32(std::string& Out, std::uint32_t V) {
  for (int I = 0; I < 4; ++I)
    Out.push_back(static_cast<char>(V >> (8 * I)));
}

std::string MakeDds(int Width, int Height, const TDdsFormat& F, const TBytes& Data,
                    const THeaderEdit& Edit = {}) {
  std::string File;
  Put32(File, Edit.Magic);
  Put32(File, Edit.Size);
  Put32(File, Edit.Flags | 0x1000 | (Edit.WritePitch ? 0x8 : 0));
  Put32(File, static_cast<std::uint32_t>(Height));
  Put32(File, static_cast<std::uint32_t>(Width));
  Put32(File, Edit.Pitch);
  Put32(File, 0);  // depth
  Put32(File, 1);  // mipmaps
  for (int I = 0; I < 11; ++I)
    Put32(File, 0);
  for (std::uint32_t V : {32u, F.Flags, F.FourCC, F.BitCount, F.R, F.G, F.B, F.A})
    Put32(File, V);
  Put32(File, Edit.Caps);
  for (int I = 0; I < 4; ++I)
    Put32(File, 0);
  File.append(Data.begin(), Data.end());
  return File;
}

// A DDS picture of noise; Seed picks the noise.
std::string NoiseDds(int Width, int Height, const TDdsFormat& F, std::uint32_t Seed = 1) {
  return MakeDds(Width, Height, F, Noise(RowBytes(F, Width) * ElementRows(F, Height), Seed));
}

// RGBA pixels with every pixel different.
TBytes RgbaNoise(int Width, int Height) {
  return Noise(static_cast<std::size_t>(Width) * Height * 4, 7);
}

std::string MakePng(int Width, int Height, const TBytes& Rgba) {
  png_image Image{};
  Image.version = PNG_IMAGE_VERSION;
  Image.width = static_cast<png_uint_32>(Width);
  Image.height = static_cast<png_uint_32>(Height);
  Image.format = PNG_FORMAT_RGBA;
  png_alloc_size_t Size = 0;
  EXPECT_TRUE(png_image_write_to_memory(&Image, nullptr, &Size, 0, Rgba.data(), 0, nullptr));
  std::string File(Size, '\0');
  EXPECT_TRUE(png_image_write_to_memory(&Image, File.data(), &Size, 0, Rgba.data(), 0, nullptr));
  File.resize(Size);
  return File;
}

std::string MakeGrayPng(int Width, int Height, std::uint8_t Level) {
  png_image Image{};
  Image.version = PNG_IMAGE_VERSION;
  Image.width = static_cast<png_uint_32>(Width);
  Image.height = static_cast<png_uint_32>(Height);
  Image.format = PNG_FORMAT_GRAY;
  const TBytes Gray(static_cast<std::size_t>(Width) * Height, Level);
  png_alloc_size_t Size = 0;
  png_image_write_to_memory(&Image, nullptr, &Size, 0, Gray.data(), 0, nullptr);
  std::string File(Size, '\0');
  png_image_write_to_memory(&Image, File.data(), &Size, 0, Gray.data(), 0, nullptr);
  File.resize(Size);
  return File;
}

// A JPEG of one flat colour (Components 3: R, G, B; 1: gray from R).
std::string MakeJpeg(int Width, int Height, int Components, std::uint8_t R, std::uint8_t G,
                     std::uint8_t B) {
  jpeg_compress_struct Info{};
  jpeg_error_mgr Errors{};
  Info.err = jpeg_std_error(&Errors);
  jpeg_create_compress(&Info);
  unsigned char* Out = nullptr;
  unsigned long Size = 0;
  jpeg_mem_dest(&Info, &Out, &Size);
  Info.image_width = static_cast<JDIMENSION>(Width);
  Info.image_height = static_cast<JDIMENSION>(Height);
  Info.input_components = Components;
  Info.in_color_space = Components == 3 ? JCS_RGB : JCS_GRAYSCALE;
  jpeg_set_defaults(&Info);
  jpeg_set_quality(&Info, 95, TRUE);
  jpeg_start_compress(&Info, TRUE);
  TBytes Row;
  for (int X = 0; X < Width; ++X) {
    Row.push_back(R);
    if (Components == 3) Row.insert(Row.end(), {G, B});
  }
  while (Info.next_scanline < Info.image_height) {
    JSAMPROW Rows[1] = {Row.data()};
    jpeg_write_scanlines(&Info, Rows, 1);
  }
  jpeg_finish_compress(&Info);
  std::string File(reinterpret_cast<const char*>(Out), Size);
  jpeg_destroy_compress(&Info);
  std::free(Out);
  return File;
}

void WriteBinary(const std::string& Path, const std::string& Bytes) {
  WriteTextFile(Path, Bytes);
}

// ---- Fixture ----

class TexturesTest : public ::testing::Test {
 protected:
  TScratchFolder Scratch;
  Platform::TNullGraphicsDevice Device;

  void SetUp() override {
    Register = TRegister{};
    UseFolders(Scratch.Path() + "/");
    ErrorLog.Free();
    ErrorLog.Create();
    Languages.reset();
  }

  void TearDown() override {
    Languages.reset();
    ClearStringTable();
    ErrorLog.Free();
    Register = TRegister{};
  }

  // Textures, Languages and Branding folders under Root.
  void UseFolders(const std::string& Root) {
    Register.TexturesFolder = Root + "Textures/";
    Register.LanguagesFolder = Root + "Languages/";
    Register.BrandingFolder = Root + "Branding/";
  }

  void AddLanguage(const std::string& Name) {
    WriteTextFile(Register.LanguagesFolder + Name + "/Language.txt", "[sidGameTitle]\n" + Name);
  }

  // Finds the languages and selects Wanted.
  void StartLanguages(const std::string& Wanted) {
    Register.Language = Wanted;
    Languages = std::make_unique<TLanguages>();
  }

  std::unique_ptr<TTexture> Load(const std::string& Name) {
    auto Texture = std::make_unique<TTexture>();
    Texture->Name = Name;
    LoadTexture(*Texture, Device);
    return Texture;
  }

  static const Platform::TNullTexture& Pixels(const TTexture& Texture) {
    const auto* Made = dynamic_cast<const Platform::TNullTexture*>(Texture.DeviceTexture.get());
    if (!Made) throw std::runtime_error("no device texture");
    return *Made;
  }

  std::vector<std::string> Log() const { return ErrorLog.Lines(); }
};

void ExpectBlank(const TTexture& Texture) {
  EXPECT_EQ(Texture.DeviceTexture, nullptr);
  EXPECT_EQ(Texture.Width, 4);
  EXPECT_EQ(Texture.Height, 4);
  ASSERT_EQ(Texture.Segments.size(), 1u);
  EXPECT_EQ(Texture.SegmentSize(0).X, 4.0f);
  EXPECT_EQ(Texture.SegmentSize(0).Y, 4.0f);
  const TMatrix I = Identity();
  EXPECT_EQ(std::memcmp(&Texture.Segments[0].Matrix, &I, sizeof I), 0);
}

// The four values of a segment matrix a texture coordinate uses.
std::array<float, 4> UvMap(const TTextureSegment& Segment) {
  return {Segment.Matrix.M11, Segment.Matrix.M22, Segment.Matrix.M31, Segment.Matrix.M32};
}

// The R, G, B, A bytes of a pixel as one value (R lowest).
std::uint32_t Packed(const std::uint8_t* P) {
  return static_cast<std::uint32_t>(P[0]) | P[1] << 8 | P[2] << 16 |
         static_cast<std::uint32_t>(P[3]) << 24;
}

std::uint32_t RgbaAt(const TBytes& Rgba, int Width, int X, int Y) {
  return Packed(&Rgba[(static_cast<std::size_t>(Y) * Width + X) * 4]);
}

// A pixel of a texture on the Null device.
std::uint32_t TexelAt(const TTexture& Texture, int X, int Y) {
  return Packed(NullPixel(Texture, X, Y));
}

// ---- Sizes and padding ----

TEST_F(TexturesTest, PictureOnAPowerOfTwoDeviceIsPaddedAndItsEdgesRepeat) {
  const TDdsFormat* Formats[] = {&Argb8888, &Rgb565, &Argb1555, &Argb4444, &Dxt1, &Dxt3, &Dxt5};
  Device.AnySize = false;
  for (const TDdsFormat* F : Formats) {
    SCOPED_TRACE(static_cast<int>(F->Format));
    const TBytes Data = Noise(RowBytes(*F, 300) * ElementRows(*F, 200), 3);
    WriteBinary(Register.TexturesFolder + "Wide.dds", MakeDds(300, 200, *F, Data));
    const auto Texture = Load("Wide");
    ASSERT_TRUE(Log().empty()) << Log()[0];
    EXPECT_EQ(Texture->Width, 512);
    EXPECT_EQ(Texture->Height, 256);
    EXPECT_EQ(Texture->ImageWidth, 300);
    EXPECT_EQ(Texture->ImageHeight, 200);
    EXPECT_FALSE(Texture->IsLocalized);
    ASSERT_EQ(Texture->Segments.size(), 1u);
    EXPECT_EQ(Texture->SegmentSize(0).X, 300.0f);
    EXPECT_EQ(Texture->SegmentSize(0).Y, 200.0f);
    EXPECT_EQ(UvMap(Texture->Segments[0]),
              (std::array<float, 4>{300.0f / 512, 200.0f / 256, 0, 0}));

    const Platform::TNullTexture& Made = Pixels(*Texture);
    EXPECT_EQ(Made.Format(), F->Format);
    EXPECT_FALSE(Made.IsLocked());
    ASSERT_EQ(Made.Rgba.size(), 512u * 256u * 4u);
    // The picture itself is unchanged...
    TBytes Picture(300 * 200 * 4);
    Platform::ConvertToRgba(F->Format, Data.data(), static_cast<int>(RowBytes(*F, 300)), 300, 200,
                            Picture.data());
    int Differences = 0;
    for (int Y = 0; Y < 200; ++Y)
      for (int X = 0; X < 300; ++X)
        Differences += TexelAt(*Texture, X, Y) != RgbaAt(Picture, 300, X, Y);
    EXPECT_EQ(Differences, 0);
    // ...column 300 repeats column 299, and row 200 repeats row 199 up to column 300.
    for (int Y = 0; Y < 200; ++Y)
      ASSERT_EQ(TexelAt(*Texture, 300, Y), TexelAt(*Texture, 299, Y)) << "row " << Y;
    for (int X = 0; X <= 300; ++X)
      ASSERT_EQ(TexelAt(*Texture, X, 200), TexelAt(*Texture, X, 199)) << "column " << X;
    ErrorLog.Free();
    ErrorLog.Create();
  }
}

TEST_F(TexturesTest, TextureSizeFollowsTheDevice) {
  struct Case {
    int Width, Height;
    bool AnySize;
    int TextureWidth, TextureHeight;
  };
  const Case Cases[] = {
      {300, 200, true, 300, 200}, {256, 64, false, 256, 64}, {256, 68, false, 256, 128},
      {4, 2048, false, 4, 2048},  {1028, 8, false, 2048, 8}, {12, 20, false, 16, 32},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(std::to_string(C.Width) + "x" + std::to_string(C.Height));
    Device.AnySize = C.AnySize;
    WriteBinary(Register.TexturesFolder + "Sized.dds", NoiseDds(C.Width, C.Height, Dxt1));
    const auto Texture = Load("Sized");
    EXPECT_EQ(Texture->Width, C.TextureWidth);
    EXPECT_EQ(Texture->Height, C.TextureHeight);
    EXPECT_EQ(Pixels(*Texture).Width(), C.TextureWidth);
    const bool Exact = C.Width == C.TextureWidth && C.Height == C.TextureHeight;
    EXPECT_EQ(
        UvMap(Texture->Segments[0]),
        (std::array<float, 4>{Exact ? 1.0f : float(C.Width) / float(C.TextureWidth),
                              Exact ? 1.0f : float(C.Height) / float(C.TextureHeight), 0, 0}));
  }
  EXPECT_TRUE(Log().empty());
}

TEST_F(TexturesTest, Dxt5PaddingBlocksTakeTheNeighboursEndpointsAndShiftedIndices) {
  // Three blocks across, padded to four: block 3 derives from block 2.
  Device.AnySize = false;
  WriteBinary(Register.TexturesFolder + "Odd.dds", MakeDds(12, 4, Dxt5, Noise(3 * 16, 9)));
  const auto Odd = Load("Odd");
  ASSERT_EQ(Odd->Width, 16);
  ASSERT_EQ(Odd->Height, 4);
  const TBytes& Memory = Pixels(*Odd).Pixels();
  const std::uint8_t* Last = Memory.data() + 2 * 16;
  const std::uint8_t* Pad = Memory.data() + 3 * 16;
  auto Field = [](const std::uint8_t* P, int Bytes) {
    std::uint64_t V = 0;
    for (int I = Bytes - 1; I >= 0; --I)
      V = V << 8 | P[I];
    return V;
  };
  EXPECT_EQ(Pad[0], Last[0]);  // alpha endpoints
  EXPECT_EQ(Pad[1], Last[1]);
  EXPECT_EQ(Field(Pad + 2, 6), Field(Last + 2, 6) >> 9);  // alpha indices
  EXPECT_EQ(Field(Pad + 8, 4), Field(Last + 8, 4));       // colour endpoints
  EXPECT_EQ(Field(Pad + 12, 4), Field(Last + 12, 4) >> 6);
}

// ---- DDS checks ----

TEST_F(TexturesTest, DdsFilesThatAreRefused) {
  const TBytes Argb4x4 = Noise(64, 2);
  const TBytes Dxt1Data = Noise(8 * 2 * 2, 2);
  THeaderEdit BadMagic;
  BadMagic.Magic = 0x20534444 + 1;
  THeaderEdit SmallHeader;
  SmallHeader.Size = 100;
  THeaderEdit NoWidth;
  NoWidth.Flags = 0x1003;
  THeaderEdit NoCaps;
  NoCaps.Caps = 0x8;
  THeaderEdit WrongPitch;
  WrongPitch.WritePitch = true;
  WrongPitch.Pitch = 20;  // 4 pixels of 4 bytes make 16
  const TDdsFormat Dxt2 = {0x4, FourCC('D', 'X', 'T', '2'), 0, 0, 0, 0, 0, TTextureFormat::DXT1};
  const TDdsFormat Rgb565WithAlpha = {0x41,   0,      16, 0xF800,
                                      0x07E0, 0x001F, 0,  TTextureFormat::R5G6B5};
  const std::string Good = MakeDds(4, 4, Argb8888, Argb4x4);
  struct Case {
    const char* What;
    std::string File;
    const char* Message;
  };
  const Case Cases[] = {
      {"empty file", "", "Invalid file format"},
      {"three bytes", "DDS", "Invalid file format"},
      {"wrong magic", MakeDds(4, 4, Argb8888, Argb4x4, BadMagic), "Invalid file format"},
      {"header cut short", Good.substr(0, 100), "Invalid file format"},
      {"header size", MakeDds(4, 4, Argb8888, Argb4x4, SmallHeader), "Invalid file format"},
      {"no width flag", MakeDds(4, 4, Argb8888, Argb4x4, NoWidth), "Invalid file format"},
      {"no texture caps", MakeDds(4, 4, Argb8888, Argb4x4, NoCaps), "Invalid file format"},
      {"2049 wide", MakeDds(2049, 4, Argb8888, {}), "Unsupported width or height of dds file"},
      {"2049 high", MakeDds(4, 2049, Argb8888, {}), "Unsupported width or height of dds file"},
      {"3 wide", MakeDds(3, 4, Argb8888, {}), "Unsupported width or height of dds file"},
      {"24-bit", MakeDds(4, 4, Rgb888, Noise(48, 1)), "Unsupported pixel format of dds file"},
      {"DXT2", MakeDds(4, 4, Dxt2, Dxt1Data), "Unsupported pixel format of dds file"},
      {"5-6-5 flagged with alpha", MakeDds(4, 4, Rgb565WithAlpha, Noise(32, 1)),
       "Unsupported pixel format of dds file"},
      {"pitch", MakeDds(4, 4, Argb8888, Argb4x4, WrongPitch),
       "Unsupported combination of width and pixel format of dds file"},
      {"DXT1 6 wide", MakeDds(6, 8, Dxt1, Dxt1Data),
       "Unsupported combination of width and pixel format of dds file"},
      {"DXT1 6 high", MakeDds(8, 6, Dxt1, Dxt1Data),
       "Unsupported combination of width and pixel format of dds file"},
      {"pixels cut short", Good.substr(0, Good.size() - 1), "Unexpected end of dds file"},
      {"no pixels", Good.substr(0, 128), "Unexpected end of dds file"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.What);
    ErrorLog.Free();
    ErrorLog.Create();
    WriteBinary(Register.TexturesFolder + "Bad.dds", C.File);
    const auto Texture = Load("Bad");
    ExpectBlank(*Texture);
    EXPECT_EQ(Log(), std::vector<std::string>{std::string("Failed to create texture \"Bad\" (") +
                                              C.Message + ")"});
  }
}

TEST_F(TexturesTest, PitchFlagWithTheRightPitchAndExtraDataAreAccepted) {
  THeaderEdit RightPitch;
  RightPitch.WritePitch = true;
  RightPitch.Pitch = 16;
  TBytes WithMipmaps = Noise(64 + 16, 4);  // a second level after the first is ignored
  WriteBinary(Register.TexturesFolder + "Fine.dds",
              MakeDds(4, 4, Argb8888, WithMipmaps, RightPitch));
  const auto Texture = Load("Fine");
  EXPECT_TRUE(Log().empty());
  EXPECT_EQ(Pixels(*Texture).Pixels(), TBytes(WithMipmaps.begin(), WithMipmaps.begin() + 64));
}

// ---- PNG and JPEG ----

TEST_F(TexturesTest, PngAndJpegBecomeArgbPixels) {
  AddLanguage("English");
  StartLanguages("English");
  const std::string Folder = Register.LanguagesFolder + "English/";
  const TBytes Rgba = RgbaNoise(6, 5);
  WriteBinary(Folder + "Colours.png", MakePng(6, 5, Rgba));
  WriteBinary(Folder + "Gray.png", MakeGrayPng(4, 4, 0x40));
  WriteBinary(Register.BrandingFolder + "Photo.jpg", MakeJpeg(20, 12, 3, 200, 100, 50));
  WriteBinary(Register.BrandingFolder + "Mono.jpg", MakeJpeg(8, 8, 1, 90, 90, 90));

  Device.AnySize = false;
  const auto Colours = Load("Colours");
  EXPECT_TRUE(Colours->IsLocalized);
  EXPECT_EQ(Colours->Width, 8);
  EXPECT_EQ(Colours->Height, 8);
  const Platform::TNullTexture& Made = Pixels(*Colours);
  EXPECT_EQ(Made.Format(), TTextureFormat::A8R8G8B8);
  for (int Y = 0; Y < 5; ++Y)
    for (int X = 0; X < 6; ++X)
      ASSERT_EQ(TexelAt(*Colours, X, Y), RgbaAt(Rgba, 6, X, Y)) << X << "," << Y;
  for (int Y = 0; Y < 5; ++Y)
    EXPECT_EQ(TexelAt(*Colours, 6, Y), TexelAt(*Colours, 5, Y));
  for (int X = 0; X <= 6; ++X)
    EXPECT_EQ(TexelAt(*Colours, X, 5), TexelAt(*Colours, X, 4));
  // The memory holds little-endian ARGB: B, G, R, A.
  EXPECT_EQ(Made.Pixels()[0], Rgba[2]);
  EXPECT_EQ(Made.Pixels()[2], Rgba[0]);

  struct Case {
    const char* Name;
    int Width, Height;
    int R, G, B;
  };
  const Case Flat[] = {{"Gray", 4, 4, 0x40, 0x40, 0x40},
                       {"Photo", 20, 12, 200, 100, 50},
                       {"Mono", 8, 8, 90, 90, 90}};
  for (const Case& C : Flat) {
    SCOPED_TRACE(C.Name);
    const auto Texture = Load(C.Name);
    ASSERT_NE(Texture->DeviceTexture, nullptr);
    EXPECT_EQ(Texture->ImageWidth, C.Width);
    EXPECT_EQ(Texture->ImageHeight, C.Height);
    const std::uint32_t Pixel = TexelAt(*Texture, 1, 1);
    EXPECT_NEAR(int(Pixel & 0xFF), C.R, 3);
    EXPECT_NEAR(int(Pixel >> 8 & 0xFF), C.G, 3);
    EXPECT_NEAR(int(Pixel >> 16 & 0xFF), C.B, 3);
    EXPECT_EQ(Pixel >> 24, 255u);
  }
  EXPECT_TRUE(Log().empty());
}

TEST_F(TexturesTest, DamagedOrOversizedImagesAreRefused) {
  const std::string Png = MakePng(40, 30, RgbaNoise(40, 30));
  const std::string Jpeg = MakeJpeg(40, 32, 3, 10, 20, 30);
  struct Case {
    const char* What;
    const char* File;
    std::string Bytes;
    std::string Message;  // empty: any decoder message
  };
  const Case Cases[] = {
      {"PNG 2049 wide", "Big.png", MakePng(2049, 4, RgbaNoise(2049, 4)),
       "Unsupported width or height of image file"},
      {"PNG 3 high", "Big.png", MakePng(8, 3, RgbaNoise(8, 3)),
       "Unsupported width or height of image file"},
      {"JPEG 2049 high", "Big.jpg", MakeJpeg(4, 2049, 3, 1, 2, 3),
       "Unsupported width or height of image file"},
      {"PNG signature only", "Big.png", Png.substr(0, 8), ""},
      {"PNG cut in its header", "Big.png", Png.substr(0, 20), ""},
      {"PNG cut in its pixels", "Big.png", Png.substr(0, Png.size() / 2), ""},
      {"JPEG cut in its header", "Big.jpg", Jpeg.substr(0, 40), ""},
      {"JPEG cut in its pixels", "Big.jpg", Jpeg.substr(0, Jpeg.size() - 60), ""},
      {"not a picture", "Big.png", "hello, world", "Unknown image file format"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.What);
    ErrorLog.Free();
    ErrorLog.Create();
    std::filesystem::remove_all(Register.BrandingFolder);
    WriteBinary(Register.BrandingFolder + C.File, C.Bytes);
    const auto Texture = Load("Big");
    ExpectBlank(*Texture);
    ASSERT_EQ(Log().size(), 1u);
    const std::string Prefix = "Failed to create texture \"Big\" (";
    EXPECT_EQ(Log()[0].substr(0, Prefix.size()), Prefix);
    if (!C.Message.empty()) {
      EXPECT_EQ(Log()[0], Prefix + C.Message + ")");
    }
    EXPECT_GT(Log()[0].size(), Prefix.size() + 1);
    EXPECT_EQ(Log()[0].back(), ')');
  }
}

// ---- Failures of the device ----

// A device whose textures lock with a wider pitch than needed, or not at all, or too narrow.
class TPickyDevice : public Platform::TNullGraphicsDevice {
 public:
  enum class TLock { Wide, Throws, Narrow };
  TLock Mode = TLock::Wide;
  int Locks = 0;
  int Unlocks = 0;
  std::vector<std::uint8_t> Memory;
  int RowPitch = 0;

  std::unique_ptr<Platform::TDeviceTexture> CreateTexture(int Width, int Height,
                                                          TTextureFormat Format) override {
    return std::make_unique<TPickyTexture>(*this, Width, Height, Format);
  }

 private:
  class TPickyTexture : public Platform::TDeviceTexture {
   public:
    TPickyTexture(TPickyDevice& Owner, int Width, int Height, TTextureFormat Format)
        : TDeviceTexture(Width, Height, Format), Owner(Owner) {}
    std::uint8_t* Lock(int& Pitch) override {
      ++Owner.Locks;
      if (Owner.Mode == TLock::Throws)
        throw Platform::EGraphicsError("Failed to lock texture surface");
      const int Needed = Width() * Platform::ElementBytes(Format());
      Owner.RowPitch = Pitch = Owner.Mode == TLock::Wide ? Needed + 12 : Needed - 1;
      Owner.Memory.assign(static_cast<std::size_t>(Owner.RowPitch) * Height(), 0xCC);
      return Owner.Memory.data();
    }
    void Unlock() override { ++Owner.Unlocks; }

   private:
    TPickyDevice& Owner;
  };
};

TEST_F(TexturesTest, DeviceFailuresLeaveABlankTextureAndTheSurfaceUnlocked) {
  const TBytes Data = Noise(4 * 4 * 4, 5);
  WriteBinary(Register.TexturesFolder + "Pic.dds", MakeDds(4, 4, Argb8888, Data));

  Device.TextureFails = true;
  ExpectBlank(*Load("Pic"));
  EXPECT_EQ(Log().back(), "Failed to create texture \"Pic\" (Failed to create texture)");

  TPickyDevice Picky;
  struct Case {
    TPickyDevice::TLock Mode;
    int Unlocks;
    bool Loads;
  };
  const Case Cases[] = {{TPickyDevice::TLock::Wide, 1, true},
                        {TPickyDevice::TLock::Throws, 0, false},
                        {TPickyDevice::TLock::Narrow, 1, false}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(static_cast<int>(C.Mode));
    ErrorLog.Free();
    ErrorLog.Create();
    Picky.Mode = C.Mode;
    Picky.Locks = Picky.Unlocks = 0;
    TTexture Texture;
    Texture.Name = "Pic";
    LoadTexture(Texture, Picky);
    EXPECT_EQ(Picky.Locks, 1);
    EXPECT_EQ(Picky.Unlocks, C.Unlocks);
    if (C.Loads) {
      EXPECT_TRUE(Log().empty());
      for (int Y = 0; Y < 4; ++Y)  // rows land Pitch bytes apart
        EXPECT_EQ(0,
                  std::memcmp(Picky.Memory.data() + Y * Picky.RowPitch, Data.data() + Y * 16, 16));
    } else {
      ExpectBlank(Texture);
      EXPECT_EQ(Log(), std::vector<std::string>{
                           "Failed to create texture \"Pic\" (Failed to lock texture surface)"});
    }
  }
}

// ---- Where pictures come from ----

TEST_F(TexturesTest, SearchOrderAndLocalization) {
  // Each place holds a picture of its own width and a segment file of two segments.
  struct TPlace {
    std::string Folder;  // under the case's root
    const char* Extension;
    int Width;
  };
  const TPlace Places[] = {
      {"Textures/", ".dds", 4},           {"Languages/English/", ".dds", 8},
      {"Languages/English/", ".png", 12}, {"Branding/", ".jpg", 16},
      {"Branding/", ".png", 20},          {"Branding/", ".dds", 24},
  };
  struct Case {
    int FirstPlace;  // places from this one on hold the picture; 6: none does
    int Width;
    bool Localized;
    std::size_t Segments;
  };
  const Case Cases[] = {{0, 4, false, 2},  {1, 8, true, 2},   {2, 12, true, 2},
                        {3, 16, false, 1}, {4, 20, false, 1}, {5, 24, false, 1}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.FirstPlace);
    const std::string Root = Scratch.Path() + "/case" + std::to_string(C.FirstPlace) + "/";
    UseFolders(Root);
    AddLanguage("English");
    for (int Place = C.FirstPlace; Place < 6; ++Place) {
      const TPlace& P = Places[Place];
      const std::string Base = Root + P.Folder + "Pic";
      const std::string Extension = P.Extension;
      if (Extension == ".dds")
        WriteBinary(Base + Extension, NoiseDds(P.Width, 4, Argb8888));
      else if (Extension == ".png")
        WriteBinary(Base + Extension, MakePng(P.Width, 4, RgbaNoise(P.Width, 4)));
      else
        WriteBinary(Base + Extension, MakeJpeg(P.Width, 4, 3, 1, 2, 3));
      WriteTextFile(Base + ".tsg", "SEGMENTS = 2\n");
    }
    StartLanguages("English");
    const auto Texture = Load("Pic");
    EXPECT_EQ(Texture->ImageWidth, C.Width);
    EXPECT_EQ(Texture->IsLocalized, C.Localized);
    EXPECT_EQ(Texture->Segments.size(), C.Segments);
  }
  EXPECT_TRUE(Log().empty());

  const auto Missing = Load("Nowhere");
  ExpectBlank(*Missing);
  EXPECT_EQ(Log(), std::vector<std::string>{"Failed to create texture \"Nowhere\" (Missing file)"});
}

TEST_F(TexturesTest, PanePicturesShareTheirSizesSegmentFile) {
  const std::map<std::string, std::string> Expected = {
      {"pane1grass", "Pane1"},    {"Pane1Road", "Pane1"},
      {"PANE2House", "Pane2"},    {"pAnE4", "Pane4"},
      {"pane3Lake", "pane3Lake"}, {"panel", "panel"},
      {"pane", "pane"},           {"xpane1", "xpane1"},
      {"Pane1", "Pane1"},         {"", ""}};
  for (const auto& [Name, File] : Expected)
    EXPECT_EQ(SegmentFileName(Name), File) << Name;

  WriteTextFile(Register.TexturesFolder + "Pane1.tsg", "SEGMENTS = 2\n");
  WriteTextFile(Register.TexturesFolder + "panel.tsg", "SEGMENTS = 3\n");
  WriteTextFile(Register.TexturesFolder + "pane1grass.tsg", "SEGMENTS = 7\n");  // not used
  for (const char* Name : {"pane1grass", "Pane1Road", "panel"})
    WriteBinary(Register.TexturesFolder + Name + ".dds", NoiseDds(4, 4, Rgb565));
  EXPECT_EQ(Load("pane1grass")->Segments.size(), 2u);
  EXPECT_EQ(Load("Pane1Road")->Segments.size(), 2u);
  EXPECT_EQ(Load("panel")->Segments.size(), 3u);
  EXPECT_TRUE(Log().empty());
}

TEST_F(TexturesTest, LanguageNamePicturesComeFromTheLanguageByIndex) {
  AddLanguage("English");
  AddLanguage("German");
  WriteBinary(Register.LanguagesFolder + "English/LanguageName.dds", NoiseDds(4, 4, Dxt1));
  WriteBinary(Register.LanguagesFolder + "German/LanguageName.dds", NoiseDds(8, 4, Dxt1));
  WriteTextFile(Register.LanguagesFolder + "German/LanguageName.tsg", "SEGMENTS = 5\n");
  WriteBinary(Register.LanguagesFolder + "LanguageName.dds", NoiseDds(12, 4, Dxt1));
  WriteBinary(Register.TexturesFolder + "LanguageName.dds", NoiseDds(16, 4, Dxt1));
  WriteBinary(Register.TexturesFolder + "LanguageName123.dds", NoiseDds(20, 4, Dxt1));
  StartLanguages("German");

  struct Case {
    const char* Name;
    int Width;  // 0: missing
    std::size_t Segments;
  };
  const Case Cases[] = {
      {"LanguageName0", 4, 1},  {"LanguageName1", 8, 5},    {"LanguageNameX", 4, 1},
      {"LanguageName01", 8, 5}, {"LanguageName12", 12, 1},   // no such language: the folder itself
      {"LanguageName", 16, 1},  {"LanguageName123", 20, 1},  // other lengths are ordinary names
      {"LanguageNameXY", 4, 1},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    const auto Texture = Load(C.Name);
    EXPECT_EQ(Texture->ImageWidth, C.Width);
    EXPECT_EQ(Texture->Segments.size(), C.Segments);
    EXPECT_FALSE(Texture->IsLocalized);
  }
  EXPECT_TRUE(Log().empty());

  std::filesystem::remove(Register.LanguagesFolder + "LanguageName.dds");
  ExpectBlank(*Load("LanguageName7"));
  EXPECT_EQ(Log(),
            std::vector<std::string>{"Failed to create texture \"LanguageName7\" (Missing file)"});
}

TEST_F(TexturesTest, ReloadingLocalizedTexturesAfterALanguageChange) {
  AddLanguage("English");
  AddLanguage("French");
  AddLanguage("German");
  const std::string LanguageFolders = Register.LanguagesFolder;
  WriteBinary(LanguageFolders + "English/Title.dds", NoiseDds(4, 4, Argb8888));
  WriteBinary(LanguageFolders + "English/Plain.dds", NoiseDds(4, 4, Argb8888));
  WriteBinary(Register.TexturesFolder + "Shared.dds", NoiseDds(4, 4, Argb8888));
  WriteBinary(LanguageFolders + "German/Title.dds", NoiseDds(8, 4, Argb8888));
  WriteTextFile(LanguageFolders + "German/Title.tsg", "SEGMENTS = 3\n");
  WriteBinary(LanguageFolders + "German/Shared.dds", NoiseDds(8, 4, Argb8888));
  WriteBinary(LanguageFolders + "French/Title.dds", "DDS broken");
  WriteBinary(LanguageFolders + "English/Sign.png", MakePng(4, 4, RgbaNoise(4, 4)));
  WriteBinary(LanguageFolders + "German/Sign.png", MakePng(12, 4, RgbaNoise(12, 4)));
  WriteTextFile(LanguageFolders + "German/Sign.tsg", "SEGMENTS = 2\n");
  StartLanguages("English");

  const auto Sign = Load("Sign");
  const auto Title = Load("Title");
  const auto Plain = Load("Plain");
  const auto Shared = Load("Shared");
  ASSERT_TRUE(Title->IsLocalized);
  ASSERT_FALSE(Shared->IsLocalized);

  Languages->Select(Languages->IndexOf("German"));
  for (TTexture* Texture : {Title.get(), Plain.get(), Shared.get(), Sign.get()})
    ReloadLocalized(*Texture, Device);
  EXPECT_EQ(Title->ImageWidth, 8);
  EXPECT_EQ(Title->Segments.size(), 3u);
  EXPECT_EQ(Sign->ImageWidth, 12);  // a PNG of the language follows it too
  EXPECT_EQ(Sign->Segments.size(), 2u);
  EXPECT_EQ(Plain->ImageWidth, 4);  // German has no picture of it: kept
  ASSERT_NE(Plain->DeviceTexture, nullptr);
  EXPECT_EQ(Shared->ImageWidth, 4);  // not localized: never reloaded
  EXPECT_TRUE(Log().empty());

  Languages->Select(Languages->IndexOf("French"));
  ReloadLocalized(*Title, Device);
  ExpectBlank(*Title);
  EXPECT_TRUE(Title->IsLocalized);
  EXPECT_EQ(Log(),
            std::vector<std::string>{"Failed to load texture \"Title\" (Invalid file format)"});

  Languages->Select(Languages->IndexOf("German"));
  ReloadLocalized(*Title, Device);  // a later language brings it back
  EXPECT_EQ(Title->ImageWidth, 8);
}

// ---- Segment files ----

TEST_F(TexturesTest, SegmentFileLines) {
  struct TSeg {
    int Index;
    float Width, Height;
    std::array<float, 4> Uv;
  };
  const std::array<float, 4> Whole = {200.0f / 256, 100.0f / 128, 0, 0};
  struct Case {
    const char* What;
    std::string Text;
    bool Ok;
    std::size_t Count;
    std::vector<TSeg> Checks;
  };
  const Case Cases[] = {
      {"atlas",
       "SEGMENTS = 256\nSEGMENT65 = 32, 64, 16, 32\n",
       true,
       256,
       {{65, 16, 32, {16.0f / 256, 32.0f / 128, 32.0f / 256, 64.0f / 128}}, {64, 200, 100, Whole}}},
      {"no segments", "SEGMENTS = 0\n", true, 1, {{0, 200, 100, Whole}}},
      {"negative count", "SEGMENTS = -4\n", true, 1, {{0, 200, 100, Whole}}},
      {"three numbers stop the reading",
       "SEGMENTS = 4\r\nSEGMENT 1 = 0,0,8,8\r\nSEGMENT 3 = 1, 2, 3\r\nSEGMENT 2 = 0, 0, 8, 8\r\n",
       false,
       4,
       {{1, 8, 8, {8.0f / 256, 8.0f / 128, 0, 0}}, {2, 200, 100, Whole}, {3, 200, 100, Whole}}},
      {"five numbers",
       "SEGMENTS = 2\nSEGMENT1 = 1, 2, 3, 4, 5\n",
       false,
       2,
       {{1, 200, 100, Whole}}},
      {"not a number", "SEGMENTS = 2\nSEGMENT1 = 1, 2, x, 4\n", false, 2, {{1, 200, 100, Whole}}},
      {"count not a number", "SEGMENTS = many\n", false, 1, {}},
      {"absurd count", "SEGMENTS = 2000000000\n", false, 1, {}},
      {"index not a number", "SEGMENTS = 2\nSEGMENTX = 1, 2, 3, 4\n", false, 2, {}},
      {"ignored lines",
       "# atlas\nSEGMENTS = 3\n\nsegment1 = 1, 1, 1, 1\nSEGMENT 7 = 1, 1, 1, 1\n"
       "SEGMENT -1 = 1, 1, 1, 1\nOTHER = x\nSEGMENT 2 =  +4 ,  -6 , 10 , 20  ",
       true,
       3,
       {{1, 200, 100, Whole}, {2, 10, 20, {10.0f / 256, 20.0f / 128, 4.0f / 256, -6.0f / 128}}}},
      {"segment lines before the count are lost",
       "SEGMENT1 = 0, 0, 8, 8\nSEGMENTS = 2\n",
       true,
       2,
       {{1, 200, 100, Whole}}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.What);
    TTexture Texture;
    Texture.Width = 256;
    Texture.Height = 128;
    Texture.Segments.assign(1, TTextureSegment{{200, 100}, Scaling({200.0f / 256, 100.0f / 128})});
    EXPECT_EQ(ReadSegments(Texture, C.Text), C.Ok);
    EXPECT_EQ(Texture.Segments.size(), C.Count);
    for (const TSeg& S : C.Checks) {
      SCOPED_TRACE(S.Index);
      EXPECT_EQ(Texture.SegmentSize(S.Index).X, S.Width);
      EXPECT_EQ(Texture.SegmentSize(S.Index).Y, S.Height);
      EXPECT_EQ(UvMap(Texture.Segments[S.Index]), S.Uv);
    }
  }
}

TEST_F(TexturesTest, SegmentSizeOutsideTheSegmentsIsZero) {
  WriteBinary(Register.TexturesFolder + "Font.dds", NoiseDds(16, 8, Dxt3));
  WriteTextFile(Register.TexturesFolder + "Font.tsg", "SEGMENTS = 3\nSEGMENT 2 = 4, 0, 4, 8\n");
  const auto Font = Load("Font");
  ASSERT_EQ(Font->Segments.size(), 3u);
  struct Case {
    int Index;
    float Width, Height;
  };
  for (const Case& C :
       {Case{-1, 0, 0}, Case{0, 16, 8}, Case{2, 4, 8}, Case{3, 0, 0}, Case{1000, 0, 0}}) {
    EXPECT_EQ(Font->SegmentSize(C.Index).X, C.Width) << C.Index;
    EXPECT_EQ(Font->SegmentSize(C.Index).Y, C.Height) << C.Index;
  }
  EXPECT_TRUE(Log().empty());
}

TEST_F(TexturesTest, ABadSegmentFileKeepsThePictureAndLogsItsName) {
  WriteBinary(Register.TexturesFolder + "pane2House.dds", NoiseDds(8, 8, Argb4444));
  WriteTextFile(Register.TexturesFolder + "Pane2.tsg", "SEGMENTS = 4\nSEGMENT 3 = 1, 2, 3\n");
  const auto Texture = Load("pane2House");
  ASSERT_NE(Texture->DeviceTexture, nullptr);
  EXPECT_EQ(Texture->Segments.size(), 4u);
  EXPECT_EQ(Log(), std::vector<std::string>{"Failed to load texture segments \"pane2House.tsg\""});
}

TEST(StartupTextures, LoadsTheFirstScreensPicturesInOrder) {
  std::vector<std::string> Asked;
  LoadStartupTextures([&](const std::string& Name) { Asked.push_back(Name); });
  const std::vector<std::string> Expected = {
      "Blank",    "DefaultFont", "ActionIcons", "FormMenu",  "FormPanel", "FormMission", "Dialog72",
      "Dialog68", "Dialog66",    "Buttons",     "Particles", "Progress",  "Selector",    "Talk"};
  EXPECT_EQ(Asked, Expected);
}

// ---- calvora-data texture ----

TToolRun RunTool(const std::string& Folder, const std::string& Arguments) {
  return RunProgram(Quoted(CALVORA_DATA_TOOL) + " texture " + Arguments, Folder + "/stderr.txt");
}

TEST(DataTextureTool, ReportsSizesAndSegmentsAndWritesThePicture) {
  TScratchFolder Scratch;
  const std::string Folder = Scratch.Path() + "/Textures/";
  const TBytes Data = Noise(300 * 200 * 4, 8);
  WriteBinary(Folder + "Board.dds", MakeDds(300, 200, Argb8888, Data));
  WriteTextFile(Folder + "Board.tsg", "SEGMENTS = 12\n");
  const std::string Png = Scratch.Path() + "/board.png";

  const TToolRun Run =
      RunTool(Scratch.Path(), Quoted(Folder + "Board.dds") + " --png " + Quoted(Png));
  EXPECT_EQ(Run.Status, 0) << Run.Errors;
  EXPECT_EQ(Run.Output, "texture 300 200 300 200\nsegments 12\n");
  EXPECT_EQ(Run.Errors, "");
  const auto File = Platform::ReadFile(Png);
  ASSERT_TRUE(File);
  const TImage Image = DecodeImage(*File, 1, 4096);
  ASSERT_EQ(Image.Width, 300);
  ASSERT_EQ(Image.Height, 200);
  EXPECT_EQ(Image.Pixels, Data);  // the PNG holds the file's own B, G, R, A pixels

  WriteBinary(Folder + "pane4Fort.dds", NoiseDds(8, 8, Dxt1));
  WriteTextFile(Folder + "Pane4.tsg", "SEGMENTS = 6\n");
  EXPECT_EQ(RunTool(Scratch.Path(), Quoted(Folder + "pane4Fort.dds")).Output,
            "texture 8 8 8 8\nsegments 6\n");
}

TEST(DataTextureTool, FailuresPrintTheLogLineAndExitWithOne) {
  TScratchFolder Scratch;
  const std::string Folder = Scratch.Path() + "/";
  WriteBinary(Folder + "Deep.dds", MakeDds(4, 4, Rgb888, Noise(48, 1)));
  WriteBinary(Folder + "Atlas.dds", NoiseDds(4, 4, Dxt5));
  WriteTextFile(Folder + "Atlas.tsg", "SEGMENTS = 2\nSEGMENT 1 = 1, 2\n");
  struct Case {
    std::string Arguments;
    int Status;
    std::string Output;
    std::string Errors;
  };
  const Case Cases[] = {
      {Quoted(Folder + "Deep.dds"), 1, "",
       "Failed to create texture \"Deep\" (Unsupported pixel format of dds file)\n"},
      {Quoted(Folder + "Gone.png"), 1, "", "Failed to create texture \"Gone\" (Missing file)\n"},
      {Quoted(Folder + "Atlas.dds"), 1, "texture 4 4 4 4\nsegments 2\n",
       "Failed to load texture segments \"Atlas.tsg\"\n"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Arguments);
    const TToolRun Run = RunTool(Scratch.Path(), C.Arguments);
    EXPECT_EQ(Run.Status, C.Status);
    EXPECT_EQ(Run.Output, C.Output);
    EXPECT_EQ(Run.Errors, C.Errors);
  }
  for (const char* Bad : {"", "--png", "a.dds b.dds"})
    EXPECT_EQ(RunTool(Scratch.Path(), Bad).Status, 2) << Bad;
}

}  // namespace

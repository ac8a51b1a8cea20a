// EngineTextures.cpp -- textures by name: folder search, DDS and image loaders, padding, segment
// files and language-specific pictures.
#include "EngineTextures.h"

#include <charconv>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "EngineImages.h"
#include "EngineLanguages.h"
#include "EngineRegister.h"
#include "Platform.h"

using Platform::TTextureFormat;

namespace {

// Picture sides the loaders accept.
constexpr int MinSide = 4;
constexpr int MaxSide = 2048;
// More segments than any atlas needs; a larger count is taken for a damaged file.
constexpr int MaxSegments = 65536;

// ---- Little-endian fields ----

std::uint32_t Get16(const std::uint8_t* P) {
  return static_cast<std::uint32_t>(P[0]) | static_cast<std::uint32_t>(P[1]) << 8;
}

std::uint32_t Get32(const std::uint8_t* P) {
  return Get16(P) | Get16(P + 2) << 16;
}

std::uint64_t Get64(const std::uint8_t* P) {
  return static_cast<std::uint64_t>(Get32(P)) | static_cast<std::uint64_t>(Get32(P + 4)) << 32;
}

void Put16(std::uint8_t* P, std::uint32_t V) {
  P[0] = static_cast<std::uint8_t>(V);
  P[1] = static_cast<std::uint8_t>(V >> 8);
}

void Put32(std::uint8_t* P, std::uint32_t V) {
  Put16(P, V & 0xFFFFu);
  Put16(P + 2, V >> 16);
}

// The 48-bit alpha index field of a DXT5 block (bytes 2..7).
std::uint64_t GetAlphaIndices(const std::uint8_t* Block) {
  return static_cast<std::uint64_t>(Get16(Block + 2)) | static_cast<std::uint64_t>(Get32(Block + 4))
                                                            << 16;
}

void PutAlphaIndices(std::uint8_t* Block, std::uint64_t V) {
  Put16(Block + 2, static_cast<std::uint32_t>(V & 0xFFFFu));
  Put32(Block + 4, static_cast<std::uint32_t>(V >> 16));
}

// ---- Padding ----
// Bilinear filtering at the picture's right and bottom edges reads one texel beyond them, so a
// padded texture repeats the last column and row there. In a block format the padding block
// copies its neighbour's endpoints and moves the neighbour's edge texels into its own first
// column (or row) by shifting the index fields.

// A colour block (DXT1, or the colour half of DXT3 and DXT5) made from Source, its neighbour
// on the left (IndexShift 6: texel 3 of each row becomes texel 0) or above (24: row 3 becomes
// row 0).
void DeriveColourBlock(const std::uint8_t* Source, std::uint8_t* Target, int IndexShift) {
  std::memcpy(Target, Source, 4);
  Put32(Target + 4, Get32(Source + 4) >> IndexShift);
}

void DeriveBlock(TTextureFormat Format, const std::uint8_t* Source, std::uint8_t* Target,
                 bool FromLeft) {
  switch (Format) {
    case TTextureFormat::DXT1:
      DeriveColourBlock(Source, Target, FromLeft ? 6 : 24);
      return;
    case TTextureFormat::DXT3: {
      // Explicit alpha: four 16-bit rows of 4-bit values.
      if (FromLeft) {
        for (int Row = 0; Row < 4; ++Row)
          Put16(Target + Row * 2, Get16(Source + Row * 2) >> 12);
      } else {
        const std::uint64_t Alpha = Get64(Source) >> 48;
        Put32(Target, static_cast<std::uint32_t>(Alpha));
        Put32(Target + 4, 0);
      }
      DeriveColourBlock(Source + 8, Target + 8, FromLeft ? 6 : 24);
      return;
    }
    case TTextureFormat::DXT5:
      // Interpolated alpha: two endpoints and 3-bit indices, 12 bits per texel row.
      Target[0] = Source[0];
      Target[1] = Source[1];
      PutAlphaIndices(Target, GetAlphaIndices(Source) >> (FromLeft ? 9 : 36));
      DeriveColourBlock(Source + 8, Target + 8, FromLeft ? 6 : 24);
      return;
    case TTextureFormat::R5G6B5:
    case TTextureFormat::A1R5G5B5:
    case TTextureFormat::A4R4G4B4:
    case TTextureFormat::A8R8G8B8:
      std::memcpy(Target, Source, static_cast<std::size_t>(Platform::ElementBytes(Format)));
      return;
  }
}

// ---- Device textures ----

// Pixels as a loader found them: rows of elements (blocks or pixels), RowBytes apart.
struct TPicture {
  TTextureFormat Format;
  int Width;  // in pixels
  int Height;
  const std::uint8_t* Rows;
  std::size_t RowBytes;
};

// A device texture side for a picture side.
int TextureSide(int Side, bool AnySize) {
  return AnySize || IsPowerOfTwo(Side) ? Side : NextPowerOfTwo(Side);
}

// Unlocks the texture on every way out of Upload.
class TLockGuard {
 public:
  explicit TLockGuard(Platform::TDeviceTexture& Texture) : Texture(Texture) {}
  ~TLockGuard() {
    if (!Locked) return;
    try {
      Texture.Unlock();
    } catch (...) {  // already failing; the texture is dropped anyway
    }
  }
  TLockGuard(const TLockGuard&) = delete;
  TLockGuard& operator=(const TLockGuard&) = delete;
  std::uint8_t* Lock(int& Pitch) {
    std::uint8_t* Memory = Texture.Lock(Pitch);
    Locked = true;
    return Memory;
  }
  void Unlock() {
    Locked = false;
    Texture.Unlock();
  }

 private:
  Platform::TDeviceTexture& Texture;
  bool Locked = false;
};

// Creates the device texture for Picture, fills and pads it, and only then makes it Texture's
// (with its size and segment 0). Throws with the message to log; Texture is unchanged then.
void Upload(TTexture& Texture, Platform::TGraphicsDevice& Device, const TPicture& Picture) {
  const bool AnySize = Device.AnySizeTextures();
  const int Width = TextureSide(Picture.Width, AnySize);
  const int Height = TextureSide(Picture.Height, AnySize);
  const bool Blocks = Platform::IsBlockFormat(Picture.Format);
  const int Unit = Blocks ? 4 : 1;
  const int Columns = Picture.Width / Unit;  // elements of the picture
  const int Rows = Picture.Height / Unit;
  const int TextureColumns = Width / Unit;  // elements of the texture
  const int TextureRows = Height / Unit;
  const std::size_t Bytes = static_cast<std::size_t>(Platform::ElementBytes(Picture.Format));

  std::unique_ptr<Platform::TDeviceTexture> Made =
      Device.CreateTexture(Width, Height, Picture.Format);
  if (!Made) throw std::runtime_error("Failed to create texture");
  TLockGuard Guard(*Made);
  int Pitch = 0;
  std::uint8_t* Memory = Guard.Lock(Pitch);
  if (!Memory || Pitch < 0 || static_cast<std::size_t>(Pitch) < TextureColumns * Bytes)
    throw std::runtime_error("Failed to lock texture surface");
  auto Row = [&](int Index) { return Memory + static_cast<std::size_t>(Index) * Pitch; };

  std::memset(Memory, 0, static_cast<std::size_t>(Pitch) * TextureRows);
  for (int Y = 0; Y < Rows; ++Y)
    std::memcpy(Row(Y), Picture.Rows + Y * Picture.RowBytes, Columns * Bytes);
  int RowLength = Columns;
  if (TextureColumns > Columns) {
    for (int Y = 0; Y < Rows; ++Y)
      DeriveBlock(Picture.Format, Row(Y) + (Columns - 1) * Bytes, Row(Y) + Columns * Bytes, true);
    ++RowLength;
  }
  if (TextureRows > Rows) {
    for (int X = 0; X < RowLength; ++X)
      DeriveBlock(Picture.Format, Row(Rows - 1) + X * Bytes, Row(Rows) + X * Bytes, false);
  }
  Guard.Unlock();

  TTextureSegment Whole;
  Whole.Size = {static_cast<float>(Picture.Width), static_cast<float>(Picture.Height)};
  if (Width != Picture.Width || Height != Picture.Height)
    Whole.Matrix = Scaling({static_cast<float>(Picture.Width) / static_cast<float>(Width),
                            static_cast<float>(Picture.Height) / static_cast<float>(Height)});
  Texture.Width = Width;
  Texture.Height = Height;
  Texture.ImageWidth = Picture.Width;
  Texture.ImageHeight = Picture.Height;
  Texture.Segments.assign(1, Whole);
  Texture.DeviceTexture = std::move(Made);
}

std::string ReadWholeFile(const std::string& Path) {
  std::optional<std::string> Data = Platform::ReadFile(Path);
  if (!Data) throw std::runtime_error("Failed to read file");
  return std::move(*Data);
}

// ---- DDS ----

constexpr std::uint32_t DdsMagic = 0x20534444;  // "DDS "
constexpr std::size_t DdsHeaderSize = 124;
constexpr std::size_t DdsDataOffset = 4 + DdsHeaderSize;
constexpr std::uint32_t DdsRequiredFlags = 0x1 | 0x2 | 0x4 | 0x1000;  // caps, height, width, format
constexpr std::uint32_t DdsPitchFlag = 0x8;
constexpr std::uint32_t DdsTextureCaps = 0x1000;

TTextureFormat DeviceFormat(TPixelFormat Format) {
  switch (Format) {
    case TPixelFormat::DXT1:
      return TTextureFormat::DXT1;
    case TPixelFormat::DXT3:
      return TTextureFormat::DXT3;
    case TPixelFormat::DXT5:
      return TTextureFormat::DXT5;
    case TPixelFormat::R5G6B5:
      return TTextureFormat::R5G6B5;
    case TPixelFormat::A1R5G5B5:
      return TTextureFormat::A1R5G5B5;
    case TPixelFormat::A4R4G4B4:
      return TTextureFormat::A4R4G4B4;
    case TPixelFormat::A8R8G8B8:
    case TPixelFormat::Unknown:
      break;
  }
  return TTextureFormat::A8R8G8B8;
}

void LoadDds(TTexture& Texture, Platform::TGraphicsDevice& Device, const std::string& Path) {
  const std::string File = ReadWholeFile(Path);
  const auto* Data = reinterpret_cast<const std::uint8_t*>(File.data());
  if (File.size() < 4 || Get32(Data) != DdsMagic) throw std::runtime_error("Invalid file format");
  if (File.size() < DdsDataOffset) throw std::runtime_error("Invalid file format");
  const std::uint8_t* Header = Data + 4;
  const std::uint32_t Size = Get32(Header);
  const std::uint32_t Flags = Get32(Header + 4);
  const std::uint32_t Height = Get32(Header + 8);
  const std::uint32_t Width = Get32(Header + 12);
  const std::uint32_t Pitch = Get32(Header + 16);
  const std::uint32_t Caps = Get32(Header + 104);
  if (Size != DdsHeaderSize || (Flags & DdsRequiredFlags) != DdsRequiredFlags ||
      !(Caps & DdsTextureCaps))
    throw std::runtime_error("Invalid file format");
  if (Width < MinSide || Width > MaxSide || Height < MinSide || Height > MaxSide)
    throw std::runtime_error("Unsupported width or height of dds file");

  const std::uint8_t* Format = Header + 72;
  const TDdsPixelFormat PixelFormat{Get32(Format),      Get32(Format + 4),  Get32(Format + 8),
                                    Get32(Format + 12), Get32(Format + 16), Get32(Format + 20),
                                    Get32(Format + 24), Get32(Format + 28)};
  const TDdsFormatInfo Info = DdsFormat(PixelFormat);
  if (Info.Format == TPixelFormat::Unknown)
    throw std::runtime_error("Unsupported pixel format of dds file");

  // A block row covers four pixel rows; a side that is not a multiple of 4 would leave the
  // file's rows misread, so it is refused.
  const int Unit = Info.Compressed ? 4 : 1;
  if (Width % Unit != 0 || Height % Unit != 0)
    throw std::runtime_error("Unsupported combination of width and pixel format of dds file");
  const std::size_t RowBytes = static_cast<std::size_t>(Width / Unit) * Info.BytesPerUnit;
  const std::size_t Rows = Height / Unit;
  if ((Flags & DdsPitchFlag) && Pitch != RowBytes)
    throw std::runtime_error("Unsupported combination of width and pixel format of dds file");
  if (File.size() - DdsDataOffset < RowBytes * Rows)
    throw std::runtime_error("Unexpected end of dds file");

  Upload(Texture, Device,
         {DeviceFormat(Info.Format), static_cast<int>(Width), static_cast<int>(Height),
          Data + DdsDataOffset, RowBytes});
}

// ---- PNG and JPEG ----

void LoadImage(TTexture& Texture, Platform::TGraphicsDevice& Device, const std::string& Path) {
  const TImage Image = DecodeImage(ReadWholeFile(Path), MinSide, MaxSide);
  Upload(Texture, Device,
         {TTextureFormat::A8R8G8B8, Image.Width, Image.Height, Image.Pixels.data(),
          static_cast<std::size_t>(Image.Width) * 4});
}

bool HasDdsExtension(const std::string& Path) {
  if (Path.size() < 4) return false;
  std::string Extension = Path.substr(Path.size() - 4);
  for (char& C : Extension)
    if (C >= 'A' && C <= 'Z') C = static_cast<char>(C - 'A' + 'a');
  return Extension == ".dds";
}

void LoadPicture(TTexture& Texture, Platform::TGraphicsDevice& Device, const std::string& Path) {
  if (HasDdsExtension(Path))
    LoadDds(Texture, Device, Path);
  else
    LoadImage(Texture, Device, Path);
}

// ---- Segment files ----

bool IsBlank(char C) {
  return static_cast<unsigned char>(C) <= 32;
}

std::string_view TrimLeft(std::string_view Text) {
  while (!Text.empty() && IsBlank(Text.front()))
    Text.remove_prefix(1);
  return Text;
}

std::string_view Trim(std::string_view Text) {
  Text = TrimLeft(Text);
  while (!Text.empty() && IsBlank(Text.back()))
    Text.remove_suffix(1);
  return Text;
}

// A decimal integer with an optional sign and nothing else; false when Text is not one or does
// not fit.
bool ParseInt(std::string_view Text, int& Value) {
  if (!Text.empty() && Text.front() == '+') {
    Text.remove_prefix(1);
    if (!Text.empty() && Text.front() == '-') return false;
  }
  if (Text.empty()) return false;
  const auto [End, Error] = std::from_chars(Text.data(), Text.data() + Text.size(), Value);
  return Error == std::errc() && End == Text.data() + Text.size();
}

// Four integers separated by commas: left, top, width, height.
bool ParseRectangle(std::string_view Text, int (&Values)[4]) {
  for (int I = 0; I < 4; ++I) {
    const std::size_t Comma = I < 3 ? Text.find(',') : std::string_view::npos;
    if (I < 3 && Comma == std::string_view::npos) return false;
    if (!ParseInt(Trim(Text.substr(0, Comma)), Values[I])) return false;
    if (I < 3) Text.remove_prefix(Comma + 1);
  }
  return true;
}

void LogSegmentFailure(const TTexture& Texture) {
  ErrorLog.Add("Failed to load texture segments \"" + Texture.Name + ".tsg\"");
}

// Reads the segment file at Path when it exists; a missing file is no error.
void LoadSegmentsIfPresent(TTexture& Texture, const std::string& Path) {
  if (Path.empty() || !Platform::FileExists(Path)) return;
  const std::optional<std::string> Text = Platform::ReadFile(Path);
  if (!Text || !ReadSegments(Texture, *Text)) LogSegmentFailure(Texture);
}

// ---- Names and folders ----

void LogCreateFailure(const TTexture& Texture, const char* Reason) {
  ErrorLog.Add("Failed to create texture \"" + Texture.Name + "\" (" + Reason + ")");
}

// The folder of the current language, or empty before one is selected.
std::string CurrentLanguageFolder() {
  if (!Languages || Languages->CurrentIndex() < 0) return {};
  return Languages->Current().Path;
}

std::string LanguageFolderOf(int Index) {
  return Languages ? Languages->PathOf(Index) : Register.LanguagesFolder;
}

// "LanguageName" followed by one or two characters: the picture of a language's own name, by
// the language's index (0 when the characters are not a number).
bool IsLanguageNamePicture(const std::string& Name, int& Index) {
  static const std::string Prefix = "LanguageName";
  if ((Name.size() != Prefix.size() + 1 && Name.size() != Prefix.size() + 2) ||
      Name.compare(0, Prefix.size(), Prefix) != 0)
    return false;
  if (!ParseInt(std::string_view(Name).substr(Prefix.size()), Index)) Index = 0;
  return true;
}

// The picture a name loads and how: where its segment file is (empty: none looked for) and
// whether it is reloaded on a language change.
struct TFound {
  std::string Path;
  std::string SegmentPath;
  bool Localized = false;
};

// Where a picture may be, in the order looked at.
struct TSource {
  std::string Folder;
  const char* Extension;
  bool LookForSegments;
  bool Localized;
};

std::optional<TFound> FindLanguageNamePicture(int Index) {
  const std::string Base = LanguageFolderOf(Index) + "LanguageName";
  if (!Platform::FileExists(Base + ".dds")) return std::nullopt;
  return TFound{Base + ".dds", Base + ".tsg", false};
}

// The first picture of Name in the texture, current language and branding folders.
std::optional<TFound> FindPicture(const std::string& Name) {
  int Index = 0;
  if (IsLanguageNamePicture(Name, Index)) return FindLanguageNamePicture(Index);
  const std::string Language = CurrentLanguageFolder();
  const TSource Sources[] = {
      {Register.TexturesFolder, ".dds", true, false},
      {Language, ".dds", true, true},
      {Language, ".png", true, true},
      {Register.BrandingFolder, ".jpg", false, false},
      {Register.BrandingFolder, ".png", false, false},
      {Register.BrandingFolder, ".dds", false, false},
  };
  for (const TSource& Source : Sources) {
    if (Source.Folder.empty()) continue;
    const std::string Path = Source.Folder + Name + Source.Extension;
    if (!Platform::FileExists(Path)) continue;
    const std::string Segments =
        Source.LookForSegments ? Source.Folder + SegmentFileName(Name) + ".tsg" : "";
    return TFound{Path, Segments, Source.Localized};
  }
  return std::nullopt;
}

void LoadByName(TTexture& Texture, Platform::TGraphicsDevice& Device) {
  const std::optional<TFound> Found = FindPicture(Texture.Name);
  if (!Found) throw std::runtime_error("Missing file");
  Texture.IsLocalized = Found->Localized;
  LoadPicture(Texture, Device, Found->Path);
  LoadSegmentsIfPresent(Texture, Found->SegmentPath);
}

// Clears what a new load fills in.
void ResetForLoad(TTexture& Texture) {
  Texture.IsLocalized = false;
  Texture.Width = Texture.Height = 4;
  Texture.ImageWidth = Texture.ImageHeight = 4;
  Texture.Segments.clear();
  Texture.DeviceTexture.reset();
}

}  // namespace

TVector TTexture::SegmentSize(int Index) const {
  if (Index < 0 || Index >= static_cast<int>(Segments.size())) return {0.0f, 0.0f};
  return Segments[Index].Size;
}

TTextureSegment TTexture::PixelSegment(float Left, float Top, float SegmentWidth,
                                       float SegmentHeight) const {
  const float W = static_cast<float>(Width), H = static_cast<float>(Height);
  return {{SegmentWidth, SegmentHeight},
          Multiply(Scaling({SegmentWidth / W, SegmentHeight / H}),
                   TextureTranslation(Left / W, Top / H))};
}

void MakeBlankTexture(TTexture& Texture) {
  Texture.DeviceTexture.reset();
  Texture.Width = Texture.Height = 4;
  Texture.ImageWidth = Texture.ImageHeight = 4;
  TTextureSegment Blank;
  Blank.Size = {4.0f, 4.0f};
  Texture.Segments.assign(1, Blank);
}

std::string TextureFile(const std::string& Name) {
  const std::optional<TFound> Found = FindPicture(Name);
  return Found ? Found->Path : std::string();
}

void LoadTexture(TTexture& Texture, Platform::TGraphicsDevice& Device) {
  ResetForLoad(Texture);
  try {
    LoadByName(Texture, Device);
  } catch (const std::exception& Error) {
    LogCreateFailure(Texture, Error.what());
    MakeBlankTexture(Texture);
  }
}

void ReloadLocalized(TTexture& Texture, Platform::TGraphicsDevice& Device) {
  if (!Texture.IsLocalized) return;
  const std::string Folder = CurrentLanguageFolder();
  if (Folder.empty()) return;
  // The language folder's two places of the first load, with its segment-file rule.
  for (const char* Extension : {".dds", ".png"}) {
    const std::string Path = Folder + Texture.Name + Extension;
    if (!Platform::FileExists(Path)) continue;
    try {
      LoadPicture(Texture, Device, Path);
    } catch (const std::exception& Error) {
      ErrorLog.Add("Failed to load texture \"" + Texture.Name + "\" (" + Error.what() + ")");
      MakeBlankTexture(Texture);
      return;
    }
    LoadSegmentsIfPresent(Texture, Folder + SegmentFileName(Texture.Name) + ".tsg");
    return;
  }
}

bool LoadTextureFile(TTexture& Texture, Platform::TGraphicsDevice& Device, const std::string& Path,
                     const std::string& SegmentPath) {
  ResetForLoad(Texture);
  try {
    if (!Platform::FileExists(Path)) throw std::runtime_error("Missing file");
    LoadPicture(Texture, Device, Path);
  } catch (const std::exception& Error) {
    LogCreateFailure(Texture, Error.what());
    MakeBlankTexture(Texture);
    return false;
  }
  LoadSegmentsIfPresent(Texture, SegmentPath);
  return true;
}

std::string SegmentFileName(const std::string& Name) {
  if (Name.size() < 5) return Name;
  for (int I = 0; I < 4; ++I) {
    const char C = Name[I];
    const char Lower = C >= 'A' && C <= 'Z' ? static_cast<char>(C - 'A' + 'a') : C;
    if (Lower != "pane"[I]) return Name;
  }
  if (Name[4] == '1' || Name[4] == '2' || Name[4] == '4') return std::string("Pane") + Name[4];
  return Name;
}

bool ReadSegments(TTexture& Texture, const std::string& Text) {
  if (Texture.Segments.empty()) return false;
  std::string_view Rest = Text;
  while (!Rest.empty()) {
    const std::size_t End = Rest.find_first_of("\r\n");
    const std::string_view Line = Rest.substr(0, End);
    Rest.remove_prefix(End == std::string_view::npos ? Rest.size() : End + 1);

    const std::size_t Equals = Line.find('=');
    if (Equals == std::string_view::npos) continue;
    const std::string_view Key = Trim(Line.substr(0, Equals));
    const std::string_view Value = Trim(Line.substr(Equals + 1));
    if (Key == "SEGMENTS") {
      int Count = 0;
      if (!ParseInt(Value, Count) || Count > MaxSegments) return false;
      const TTextureSegment First = Texture.Segments[0];
      Texture.Segments.assign(static_cast<std::size_t>(Max(Count, 1)), First);
    } else if (Key.starts_with("SEGMENT")) {
      int Index = 0;
      if (!ParseInt(TrimLeft(Key.substr(7)), Index)) return false;
      if (Index < 0 || Index >= static_cast<int>(Texture.Segments.size())) continue;
      int R[4];  // left, top, width, height
      if (!ParseRectangle(Value, R)) return false;
      Texture.Segments[Index] =
          Texture.PixelSegment(static_cast<float>(R[0]), static_cast<float>(R[1]),
                               static_cast<float>(R[2]), static_cast<float>(R[3]));
    }
  }
  return true;
}

const std::vector<std::string>& StartupTextureNames() {
  static const std::vector<std::string> Names = {
      "Blank",    "DefaultFont", "ActionIcons", "FormMenu",  "FormPanel", "FormMission", "Dialog72",
      "Dialog68", "Dialog66",    "Buttons",     "Particles", "Progress",  "Selector",    "Talk"};
  return Names;
}

void LoadStartupTextures(const std::function<void(const std::string& Name)>& GetTexture) {
  for (const std::string& Name : StartupTextureNames())
    GetTexture(Name);
}

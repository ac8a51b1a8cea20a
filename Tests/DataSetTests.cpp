// DataSetTests.cpp -- the data set calvora-assets generates for the build, read with the game's own
// loaders: the whole folder passes calvora-data check, the fonts put every overlay mark where it
// belongs, pictures hold what the screens draw from them, sounds and music loop and stream, the
// paths span the screen areas their effects need, and a second generation gives the same bytes.
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "EngineAudio.h"
#include "EngineImages.h"
#include "EngineParticles.h"
#include "EngineRegister.h"
#include "EngineRenderer.h"
#include "EngineStreams.h"
#include "EngineTexts.h"
#include "Inventory.h"
#include "NullPlatform.h"
#include "TestSupport.h"

namespace {

const std::string kData = CALVORA_DATA_FOLDER "/";

// The whole file; empty when it cannot be read.
std::string ReadBinary(const std::string& Path) {
  return ReadTextFile(Path).value_or("");
}

TEST(DataSet, CalvoraDataCheckFindsNoError) {
  TScratchFolder Scratch;
  const TToolRun Run = RunProgram(Quoted(CALVORA_DATA_TOOL) + " check " + Quoted(kData),
                                  Scratch.Path() + "/errors.txt");
  EXPECT_EQ(Run.Status, 0) << Run.Output << Run.Errors;
  // 94 textures of the screens and one splash picture, the 26 sounds, both paths.
  EXPECT_NE(Run.Output.find("check: 95 textures, 26 sounds, 2 paths, 0 errors"), std::string::npos)
      << Run.Output;
}

// The game's textures on the Null device, looked up as the screens do.
class DataSetTextures : public TFreshUserTest {
 public:
  Platform::TNullPlatform Platform;

  void SetUp() override {
    TFreshUserTest::SetUp();
    ErrorLog.Create();
    Register.WindowWidth = 1280;
    Register.WindowHeight = 800;
    Register.DesktopWidth = 1280;
    Register.DesktopHeight = 800;
    Register.SpritePool = 256;
    Register.TextPool = 4;
    Register.TexturesFolder = kData + "Textures/";
    Register.BrandingFolder = kData + "Branding/";
    Register.PathsFolder = kData + "Paths/";
    Register.SamplesFolder = kData + "Samples/";
    Renderer = std::make_unique<TRenderer>(Platform);
    Texts = std::make_unique<TTexts>(*Renderer);
  }
  void TearDown() override {
    Texts.reset();
    Renderer.reset();
    EXPECT_TRUE(ErrorLog.Lines().empty()) << ErrorLog.Lines().front();
    TFreshUserTest::TearDown();
  }

  TTexture& Load(const std::string& Name) {
    TTexture& Texture = Renderer->GetTexture(Name);
    EXPECT_TRUE(Texture.DeviceTexture) << Name;
    return Texture;
  }

  // The pixel at (U, V) of the picture (0..1 across ImageWidth x ImageHeight, which the device
  // texture may pad).
  static const std::uint8_t* PixelAt(const TTexture& Texture, double U, double V) {
    const int X = std::clamp(static_cast<int>(U * Texture.ImageWidth), 0, Texture.ImageWidth - 1);
    const int Y = std::clamp(static_cast<int>(V * Texture.ImageHeight), 0, Texture.ImageHeight - 1);
    return NullPixel(Texture, X, Y);
  }

  // The left edge of a glyph in font pixels (its offset is its centre).
  static float LeftOf(const TText& Text, std::size_t Glyph) {
    const TGlyph& G = Text.Glyphs()[Glyph];
    return G.Offset.X - G.Sprite->Size().X / 2;
  }
};

// Every name the screens look up loads with the game's loaders and its segments, with nothing
// written to the error log (TearDown checks the log).
TEST_F(DataSetTextures, EveryNameOfTheInventoryLoadsWithoutALogLine) {
  for (const TTextureNeed& Need : TextureInventory()) {
    const TTexture& Texture = Load(Need.Name);
    EXPECT_GE(static_cast<int>(Texture.Segments.size()), Need.Segments) << Need.Name;
  }
  for (const char* Name : kPathNames) {
    TPath Path;
    Path.Name = Name;
    EXPECT_TRUE(LoadPath(Path, Register.PathsFolder + Name + ".pth")) << Name;
  }
  TAudio Audio(Platform);
  Audio.LoadSounds();
  for (TContainerItem* Item = Audio.Samples().First(); Item; Item = Item->Next())
    EXPECT_GT(static_cast<TSample*>(Item)->Duration, 0.0f) << Item->Name;
}

TEST_F(DataSetTextures, BothFontsHaveACellForEveryCodeOnA32PixelLine) {
  for (const char* Name : {"DefaultFont", "IconsFont"}) {
    const TTexture& Font = Load(Name);
    ASSERT_EQ(Font.Segments.size(), 256u) << Name;
    for (int Code = 0; Code < 256; ++Code)
      EXPECT_EQ(Font.SegmentSize(Code).Y, 32.0f) << Name << " code " << Code;
    EXPECT_LE(Font.SegmentSize(13).X, 4.0f) << Name << ": a line break adds nothing";
  }
  const TTexture& Icons = Load("IconsFont");
  // Five upgrade marks fit the 204 font pixels of a pane's mark line.
  for (int Code = 14; Code <= 26; ++Code)
    EXPECT_LE(5 * (Icons.SegmentSize(Code).X - 4), 204.0f) << "code " << Code;
}

// The overlay sequences the mission texts build with code 8 (backspace).
TEST_F(DataSetTextures, OverlayMarksLandOnTheirPictograms) {
  Load("DefaultFont");
  TText* Text = nullptr;
  Texts->CreateText(Text, 0, 0, 1.0f, {1000, 40});
  for (const std::string& Sequence :
       {std::string("\x01\x08\x05") + "Cost", std::string("\x02\x08\x06") + "Wood",
        std::string("\x0B\x08\x05") + "Licence", std::string("\x0E\x08\x07"),
        std::string("\x15\x08\x05"), std::string("\x19\x08\x05") + "Trophy",
        std::string("\x16\x08\x06") + "Deadline"}) {
    Text->SetText(Sequence);
    const float Pictogram = LeftOf(*Text, 0), Mark = LeftOf(*Text, 2);
    const float PictogramRight = Pictogram + Text->Glyphs()[0].Sprite->Size().X;
    // The mark overlaps the pictogram's right part and ends beyond it, where the word goes on.
    EXPECT_GT(Mark, Pictogram) << int(Sequence[0]);
    EXPECT_LT(Mark, PictogramRight - 8) << int(Sequence[0]);
    if (Sequence.size() > 3) {
      const float Word = LeftOf(*Text, 3);
      EXPECT_GE(Word, PictogramRight - 4) << int(Sequence[0]);
      EXPECT_GE(Word, Mark + Text->Glyphs()[2].Sprite->Size().X - 6) << int(Sequence[0]);
    }
  }
  // A reached goal: two backspaces put the mark exactly over the bullet, and the goal's words
  // start where they start without the mark.
  Text->SetText("\x1F\x08\x08\x05 Goal");
  const float Bullet = LeftOf(*Text, 0), Mark = LeftOf(*Text, 3), Reached = LeftOf(*Text, 5);
  EXPECT_EQ(Mark, Bullet);
  EXPECT_EQ(Text->Glyphs()[3].Sprite->Size().X, Text->Glyphs()[0].Sprite->Size().X);
  Text->SetText("\x1F Goal");
  EXPECT_EQ(LeftOf(*Text, 2), Reached);
  Texts->FreeText(Text);
}

TEST_F(DataSetTextures, BlankIsOpaqueBlack) {
  const TTexture& Blank = Load("Blank");
  for (int Y = 0; Y < Blank.ImageHeight; ++Y)
    for (int X = 0; X < Blank.ImageWidth; ++X) {
      const std::uint8_t* P = NullPixel(Blank, X, Y);
      EXPECT_EQ(P[0] | P[1] | P[2], 0);
      EXPECT_EQ(P[3], 255);
    }
}

// Pane (Row, Column)'s diamond centre on the 1280 x 640 map picture, as a fraction of it.
std::pair<double, double> PaneOnMap(int Row, int Column) {
  return {(640.0 + (Row + Column - 4) * 126.0) / 1280.0, (320.0 + (Column - Row) * 63.0) / 640.0};
}

TEST_F(DataSetTextures, TheMissionFrameLeavesTheMapVisible) {
  const TTexture& Frame = Load("FormMission");
  // The frame is 1280 x 800; the map is 1280 x 640 from the top at 80.
  for (auto [Row, Column] :
       std::vector<std::pair<int, int>>{{2, 2}, {4, 0}, {0, 4}, {0, 0}, {4, 4}, {1, 3}}) {
    const auto [U, V] = PaneOnMap(Row, Column);
    EXPECT_LT(PixelAt(Frame, U, (80.0 + V * 640.0) / 800.0)[3], 16) << "pane " << Row << Column;
  }
}

// The mean colour of a box of HalfWidth x HalfHeight map units (of 1280 x 640) around a point.
std::array<double, 3> MeanColor(const TTexture& Map, double U, double V, double HalfWidth,
                                double HalfHeight) {
  std::array<double, 3> Sum{};
  int Count = 0;
  for (double Y = -HalfHeight; Y <= HalfHeight; Y += 2)
    for (double X = -HalfWidth; X <= HalfWidth; X += 2, ++Count) {
      const std::uint8_t* P = DataSetTextures::PixelAt(Map, U + X / 1280, V + Y / 640);
      for (int Channel = 0; Channel < 3; ++Channel)
        Sum[std::size_t(Channel)] += P[Channel];
    }
  for (double& Channel : Sum)
    Channel /= Count;
  return Sum;
}

bool IsWater(const std::array<double, 3>& C) {
  return C[2] > C[0] + 30 && C[2] > C[1];
}
bool IsGrass(const std::array<double, 3>& C) {
  return C[1] > C[0] && C[1] > C[2];
}

TEST_F(DataSetTextures, MapsShowWaterExactlyWhereTheirPanesAreWater) {
  struct TWater {
    int Map;
    std::vector<std::pair<int, int>> Panes;
  };
  const std::vector<TWater> Waters = {
      {1, {{3, 0}, {3, 1}, {3, 2}, {4, 2}}},
      {4, {{0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 1}, {1, 2}, {2, 0}, {2, 1}}},
      {7, {{1, 0}, {1, 1}, {1, 2}, {1, 3}, {1, 4}}},
      {13, {{3, 3}, {3, 4}, {4, 2}, {4, 3}, {4, 4}}},
      {14, {{0, 2}, {1, 2}, {2, 2}, {3, 2}, {4, 2}}},
  };
  for (int Map = 1; Map <= 24; ++Map) {
    const TTexture& Picture = Load("Map" + std::to_string(Map));
    std::vector<std::pair<int, int>> Wet;
    for (const TWater& Water : Waters)
      if (Water.Map == Map) Wet = Water.Panes;
    for (int Row = 0; Row < 5; ++Row)
      for (int Column = 0; Column < 5; ++Column) {
        const bool Water =
            std::find(Wet.begin(), Wet.end(), std::make_pair(Row, Column)) != Wet.end();
        const auto [U, V] = PaneOnMap(Row, Column);
        // The middle of a water pane is water; most of a grass pane is grass.
        const std::array<double, 3> C =
            Water ? MeanColor(Picture, U, V, 30, 15) : MeanColor(Picture, U, V, 60, 30);
        EXPECT_TRUE(Water ? IsWater(C) : IsGrass(C))
            << "Map" << Map << " pane " << Row << Column << " rgb " << C[0] << "," << C[1] << ","
            << C[2];
      }
  }
}

// Whether a segment of a texture has any visible pixel.
bool HasInk(const TTexture& Texture, const TVector& UvMin, const TVector& UvMax) {
  const int Left = static_cast<int>(UvMin.X * Texture.Width),
            Right = static_cast<int>(UvMax.X * Texture.Width);
  const int Top = static_cast<int>(UvMin.Y * Texture.Height),
            Bottom = static_cast<int>(UvMax.Y * Texture.Height);
  for (int Y = Top; Y < Bottom; ++Y)
    for (int X = Left; X < Right; ++X)
      if (NullPixel(Texture, X, Y)[3] > 32) return true;
  return false;
}

TEST_F(DataSetTextures, EveryFrameOfEveryPanePictureAndEveryIconIsDrawn) {
  std::vector<std::pair<std::string, std::vector<int>>> Atlases;
  auto Frames = [](int Count) {
    std::vector<int> All(static_cast<std::size_t>(Count));
    for (int Index = 0; Index < Count; ++Index)
      All[std::size_t(Index)] = Index;
    return All;
  };
  // Every look of a pane picture is drawn.
  for (const TTextureNeed& Need : TextureInventory())
    if (Need.Name.starts_with("Pane")) Atlases.push_back({Need.Name, Frames(Need.Segments)});
  std::vector<int> Icons;
  for (int Icon = 1; Icon <= 64; ++Icon) {
    Icons.push_back(Icon);
    Icons.push_back(Icon + 72);  // its greyed copy
  }
  Atlases.push_back({"ActionIcons", Icons});
  Atlases.push_back({"Buttons", Frames(9)});
  Atlases.push_back({"Arrows", Frames(4)});
  Atlases.push_back({"Faces", Frames(2)});
  Atlases.push_back({"Dot", Frames(2)});
  Atlases.push_back({"Particles", {0, 1, 3, 5, 7}});
  Atlases.push_back({"Progress", Frames(63)});  // 63 is the empty ring
  for (const auto& [Name, Used] : Atlases) {
    const TTexture& Texture = Load(Name);
    for (int Frame : Used) {
      ASSERT_LT(static_cast<std::size_t>(Frame), Texture.Segments.size()) << Name;
      // The segment's texture rectangle: its matrix maps the unit square onto it.
      const TMatrix& M = Texture.Segments[static_cast<std::size_t>(Frame)].Matrix;
      const TVector UvMin{M.M31, M.M32}, UvMax{M.M11 + M.M31, M.M22 + M.M32};
      EXPECT_TRUE(HasInk(Texture, UvMin, UvMax)) << Name << " frame " << Frame;
    }
  }
}

TEST_F(DataSetTextures, PathsSpanTheAreasTheirEffectsCover) {
  struct TCase {
    const char* Name;
    int HalfWidth, HalfHeight;  // the bounds the points must lie in
    int MinWidth, MinHeight;    // how far they must spread at least
  };
  for (const TCase& Case : {TCase{"Final", 160, 100, 280, 160}, TCase{"Logo", 300, 70, 500, 100}}) {
    TPath Path;
    Path.Name = Case.Name;
    ASSERT_TRUE(LoadPath(Path, Register.PathsFolder + Case.Name + ".pth"));
    EXPECT_TRUE(Path.Usable);
    int Left = 0, Right = 0, Top = 0, Bottom = 0;
    for (const TPathPoint& Point : Path.Points) {
      EXPECT_LE(std::abs(Point.X), Case.HalfWidth) << Case.Name;
      EXPECT_LE(std::abs(Point.Y), Case.HalfHeight) << Case.Name;
      Left = std::min<int>(Left, Point.X), Right = std::max<int>(Right, Point.X);
      Top = std::min<int>(Top, Point.Y), Bottom = std::max<int>(Bottom, Point.Y);
    }
    EXPECT_GE(Right - Left, Case.MinWidth) << Case.Name;
    EXPECT_GE(Bottom - Top, Case.MinHeight) << Case.Name;
  }
}

// ---- sounds ----

// The 16-bit mono or stereo samples of a PCM WAV whose "data" chunk follows "fmt " directly.
std::vector<std::int16_t> WavSamples(const std::string& Path, int& Channels) {
  const std::string File = ReadBinary(Path);
  EXPECT_GE(File.size(), 44u) << Path;
  if (File.size() < 44) return {};
  EXPECT_EQ(File.substr(0, 4), "RIFF");
  EXPECT_EQ(File.substr(12, 4), "fmt ");
  EXPECT_EQ(File.substr(36, 4), "data") << Path;
  Channels = TStreamReader(File, 22).Read<std::int16_t>();
  EXPECT_EQ(TStreamReader(File, 34).Read<std::int16_t>(), 16) << Path;
  TStreamReader Data(File, 40);
  const auto Bytes = Data.Read<std::uint32_t>();
  std::vector<std::int16_t> Samples(std::min<std::size_t>(Bytes, Data.Remaining()) / 2);
  Data.ReadBytes(Samples.data(), Samples.size() * 2);
  return Samples;
}

// The game's sounds, loaded once from the data set as the game loads them, on the Null platform.
class DataSetSounds : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    Platform = std::make_unique<Platform::TNullPlatform>();
    ErrorLog.Create();
    Register.SamplesFolder = kData + "Samples/";
    Audio = std::make_unique<TAudio>(*Platform);
    Audio->LoadSounds();
    LoadLog = ErrorLog.Lines();
    ErrorLog.Free();
  }
  static void TearDownTestSuite() {
    Audio.reset();
    Platform.reset();
    Register = TRegister{};
  }

  // Every sample of the sound table, in its order.
  static std::vector<const TSample*> Samples() {
    std::vector<const TSample*> All;
    for (TContainerItem* Item = Audio->Samples().First(); Item; Item = Item->Next())
      All.push_back(static_cast<const TSample*>(Item));
    return All;
  }

  static std::unique_ptr<Platform::TNullPlatform> Platform;
  static std::unique_ptr<TAudio> Audio;
  static std::vector<std::string> LoadLog;
};

std::unique_ptr<Platform::TNullPlatform> DataSetSounds::Platform;
std::unique_ptr<TAudio> DataSetSounds::Audio;
std::vector<std::string> DataSetSounds::LoadLog;

TEST_F(DataSetSounds, EffectsAreCleanAndLoopingOnesJoinWithoutAClick) {
  int Effects = 0, Loops = 0;
  for (const TSample* Sample : Samples()) {
    if (Sample->Channel != kChannelEffects) continue;
    ++Effects;
    Loops += Sample->Looping ? 1 : 0;
    const std::string& Name = Sample->Name;
    const std::string Path = kData + "Samples/" + Name + ".wav";
    ASSERT_TRUE(std::filesystem::exists(Path)) << Path;
    int Channels = 1;
    const std::vector<std::int16_t> Pcm = WavSamples(Path, Channels);
    ASSERT_GT(Pcm.size(), 100u) << Name;
    int Peak = 0;
    for (std::int16_t Value : Pcm)
      Peak = std::max(Peak, std::abs(int(Value)));
    // Normalised: loud enough to hear, never clipping.
    EXPECT_GT(Peak, 8000) << Name;
    EXPECT_LT(Peak, 32767) << Name;
    const int First = Pcm.front(), Last = Pcm[Pcm.size() - std::size_t(Channels)];
    if (Sample->Looping) {
      // The last sample runs into the first without a jump.
      EXPECT_LT(std::abs(Last - First), Peak / 8) << Name;
    } else {
      // One-shots start and end at silence.
      EXPECT_LT(std::abs(First), Peak / 16) << Name;
      EXPECT_LT(std::abs(Last), Peak / 16) << Name;
    }
  }
  EXPECT_EQ(Effects, 23);
  EXPECT_EQ(Loops, 6);
}

TEST_F(DataSetSounds, MusicStreamsAndLastsHalfAMinute) {
  EXPECT_TRUE(LoadLog.empty()) << LoadLog.front();
  int Music = 0;
  for (const TSample* Sample : Samples()) {
    if (Sample->Channel != kChannelMusic) continue;
    ++Music;
    const std::string& Name = Sample->Name;
    EXPECT_TRUE(Sample->Streamed) << Name;
    EXPECT_EQ(Sample->StreamPath, kData + "Samples/" + Name + ".ogg");
    OggVorbis_File File;
    ASSERT_EQ(ov_fopen(Sample->StreamPath.c_str(), &File), 0) << Sample->StreamPath;
    EXPECT_GE(ov_time_total(&File, -1), 30.0) << Name;
    EXPECT_LE(ov_info(&File, -1)->channels, 2) << Name;
    ov_clear(&File);
  }
  EXPECT_EQ(Music, 3);
}

// ---- the generator ----

TEST(DataSetGenerator, ASecondRunWritesTheSameBytesAndDrawsAContactSheet) {
  TScratchFolder Scratch;
  const std::string Sheet = Scratch.Path() + "/sheet.png";
  const TToolRun Run = RunProgram(Quoted(CALVORA_ASSETS_TOOL) + " --contact-sheet " +
                                      Quoted(Sheet) + " " + Quoted(Scratch.Path()),
                                  Scratch.Path() + "/errors.txt");
  ASSERT_EQ(Run.Status, 0) << Run.Errors;
  const std::string List = ReadBinary(kData + "Assets.list");
  ASSERT_FALSE(List.empty());
  EXPECT_EQ(ReadBinary(Scratch.Path() + "/Assets.list"), List);
  std::istringstream Files(List);
  int Compared = 0;
  for (std::string File; std::getline(Files, File); ++Compared)
    EXPECT_TRUE(ReadBinary(kData + File) == ReadBinary(Scratch.Path() + "/" + File)) << File;
  EXPECT_GT(Compared, 100);
  const TImage Picture = DecodeImage(ReadBinary(Sheet), 4, 1 << 16);
  EXPECT_GT(Picture.Width, 1000);
  EXPECT_GT(Picture.Height, 1000);
}

TEST(DataSetGenerator, ABadCommandLineExitsWithTwo) {
  TScratchFolder Scratch;
  for (const char* Arguments :
       {"--only nosuchgenerator", "--jobs 0", "--contact-sheet", "another-folder", "--fast"}) {
    const TToolRun Run =
        RunProgram(Quoted(CALVORA_ASSETS_TOOL) + " " + Quoted(Scratch.Path()) + " " + Arguments,
                   Scratch.Path() + "/errors.txt");
    EXPECT_EQ(Run.Status, 2) << Arguments;
    EXPECT_NE(Run.Errors.find("usage"), std::string::npos) << Arguments;
  }
}

}  // namespace

// DataCheckTests.cpp -- calvora-data check on a tiny data folder written by the test: the complete
// folder passes, and each kind of fault gives its own line and status 1.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "EngineStreams.h"
#include "EngineTextures.h"
#include "Inventory.h"
#include "TestSupport.h"
#include "VexaMission.h"

namespace {

// An 8 x 8 A8R8G8B8 picture of opaque white.
std::string WhiteDds() {
  std::string File = "DDS ";
  TStreamWriter Out(File);
  for (std::uint32_t V : {124u, 0x1007u, 8u, 8u, 0u, 0u, 1u})
    Out.Write(V);
  for (int I = 0; I < 11; ++I)
    Out.Write(std::uint32_t{0});
  for (std::uint32_t V : {32u, 0x41u, 0u, 32u, 0xFF0000u, 0xFF00u, 0xFFu, 0xFF000000u})
    Out.Write(V);
  Out.Write(std::uint32_t{0x1000});
  for (int I = 0; I < 4; ++I)
    Out.Write(std::uint32_t{0});
  File.append(8 * 8 * 4, '\xFF');
  return File;
}

// A segment file declaring Count segments, each 2 x 2 pixels (segment 0 included).
std::string Segments(int Count) {
  std::string Text = "SEGMENTS = " + std::to_string(Count) + "\n";
  for (int I = 0; I < Count; ++I)
    Text += "SEGMENT" + std::to_string(I) + " = " + std::to_string(I % 4 * 2) + ", 0, 2, 2\n";
  return Text;
}

// A short 16-bit mono PCM WAV file.
std::string ShortWav() {
  const std::string Data(128, '\x10');
  std::string File = "RIFF";
  TStreamWriter Out(File);
  Out.Write(static_cast<std::uint32_t>(36 + Data.size()));
  File += "WAVEfmt ";
  Out.Write(std::uint32_t{16});
  Out.Write(std::uint16_t{1});  // PCM
  Out.Write(std::uint16_t{1});  // mono
  Out.Write(std::uint32_t{22050});
  Out.Write(std::uint32_t{22050 * 2});
  Out.Write(std::uint16_t{2});
  Out.Write(std::uint16_t{16});
  File += "data";
  Out.Write(static_cast<std::uint32_t>(Data.size()));
  return File + Data;
}

// A path of Count points whose values run up to Count - 1, without marks.
std::string PathFile(int Count) {
  std::string File;
  TStreamWriter Out(File);
  Out.Write(static_cast<std::int32_t>(Count));
  for (int I = 0; I < Count; ++I) {
    Out.Write(static_cast<float>(I));
    Out.Write(static_cast<std::int16_t>(I * 10));
    Out.Write(static_cast<std::int16_t>(I * 5));
  }
  Out.Write(std::int32_t{0});
  return File;
}

const char* const kSounds[] = {"ThemeMenu",      "Theme1",      "Theme2",         "Focus",
                               "Click",          "Switch",      "Select",         "Collected1",
                               "Collected2",     "Collected3",  "DeliveredWood",  "DeliveredStone",
                               "Trained",        "Damage",      "Message",        "Finish1",
                               "Finish2",        "Finish3",     "Horn",           "Demolish",
                               "Constructing",   "Demolishing", "ClearingDebris", "ClearingForest",
                               "ClearingStones", "Applause"};

// A complete data folder: every texture as a DDS with the segments its drawing needs, every
// sound as a WAV, both paths, English texts and one splash picture.
void WriteCompleteFolder(const std::string& Root) {
  const std::string Textures = Root + "/Textures/";
  const std::string Picture = WhiteDds();
  // Atlases sharing a segment file (the pane pictures) need the same number of segments.
  for (const TTextureNeed& Need : TextureInventory()) {
    WriteTextFile(Textures + Need.Name + ".dds", Picture);
    if (Need.Segments > 1)
      WriteTextFile(Textures + SegmentFileName(Need.Name) + ".tsg", Segments(Need.Segments));
  }

  WriteTextFile(Root + "/Branding/Splash1.dds", Picture);
  for (const char* Sound : kSounds)
    WriteTextFile(Root + "/Samples/" + Sound + ".wav", ShortWav());
  WriteTextFile(Root + "/Paths/Final.pth", PathFile(4));
  WriteTextFile(Root + "/Paths/Logo.pth", PathFile(4));
  std::filesystem::create_directories(Root + "/Languages/English");
  std::filesystem::copy_file(CALVORA_ENGLISH_TEXTS, Root + "/Languages/English/Language.txt");
}

// Runs calvora-data check; its standard error goes to a file in Scratch.
TToolRun RunCheck(const TScratchFolder& Scratch, const std::string& Arguments) {
  return RunProgram(Quoted(CALVORA_DATA_TOOL) + " check " + Arguments,
                    Scratch.Path() + "/stderr.txt");
}

}  // namespace

TEST(DataCheck, TheCompleteFolderPasses) {
  TScratchFolder Scratch;
  WriteCompleteFolder(Scratch.Path());
  const TToolRun Run = RunCheck(Scratch, Quoted(Scratch.Path()));
  EXPECT_EQ(Run.Status, 0) << Run.Output;
  // 94 named textures and the one splash picture present.
  EXPECT_EQ(Run.Output, "check: 95 textures, 26 sounds, 2 paths, 0 errors\n");
}

TEST(DataCheck, EachFaultGivesItsLineAndStatusOne) {
  struct TCase {
    const char* What;
    std::function<void(const std::string& Root)> Spoil;
    std::string Line;
    int Errors = 1;
    bool Whole = false;  // Line is all the output
  };
  const std::string Picture = WhiteDds();
  const std::vector<TCase> Cases = {
      {"missing texture",
       [](const std::string& R) { std::filesystem::remove(R + "/Textures/Dot.dds"); },
       "Failed to create texture \"Dot\" (Missing file)\n"},
      {"broken segment file",
       [](const std::string& R) {
         WriteTextFile(R + "/Textures/Buttons.tsg", "SEGMENTS = 9\nSEGMENT0 = 0, 0, 2\n");
       },
       "Failed to load texture segments \"Buttons.tsg\"\n"},
      {"font with too few segments",
       [](const std::string& R) { WriteTextFile(R + "/Textures/IconsFont.tsg", Segments(128)); },
       "Texture \"IconsFont\" has 128 segments, needs 256\n"},
      {"font without its own segment 0",
       [](const std::string& R) {
         WriteTextFile(R + "/Textures/DefaultFont.tsg", "SEGMENTS = 256\nSEGMENT1 = 0, 0, 2, 2\n");
       },
       "Texture \"DefaultFont\" has no segment 0 of its own\n"},
      {"atlas without segment file",
       [](const std::string& R) { std::filesystem::remove(R + "/Textures/Arrows.tsg"); },
       "Texture \"Arrows\" has 1 segments, needs 4\n"},
      {"pane segment file too short",
       [](const std::string& R) { WriteTextFile(R + "/Textures/Pane2.tsg", Segments(4)); },
       "Texture \"Pane2House1\" has 4 segments, needs 8\n", 5},  // one per house picture
      {"missing sound",
       [](const std::string& R) { std::filesystem::remove(R + "/Samples/Horn.wav"); },
       "Failed to load audio sample \"Horn\" (Missing file)\n"},
      {"truncated path",
       [](const std::string& R) {
         WriteTextFile(R + "/Paths/Logo.pth", PathFile(4).substr(0, 13));
       },
       "Failed to create path \"Logo\" ("},
      {"missing path",
       [](const std::string& R) { std::filesystem::remove(R + "/Paths/Final.pth"); },
       "Failed to create path \"Final\" (Missing file)\n"},
      {"path of one point",
       [](const std::string& R) { WriteTextFile(R + "/Paths/Final.pth", PathFile(1)); },
       "Path \"Final\" is unusable"},
      {"splash hidden by a texture of its name",
       [&](const std::string& R) { WriteTextFile(R + "/Textures/Splash1.dds", Picture); },
       "Splash1.dds would be shown in place of "},
      {"no language, which fails as start-up does",
       [](const std::string& R) { std::filesystem::remove_all(R + "/Languages"); },
       "No language found\ncheck: 0 textures, 0 sounds, 0 paths, 1 errors\n", 1, true},
      {"a text missing from the language file",
       [](const std::string& R) {
         const std::string File = R + "/Languages/English/Language.txt";
         std::string Text = ReadTextFile(File).value_or("");
         const std::size_t Line = Text.find("[sidLabelPaused");
         ASSERT_NE(Line, std::string::npos);
         Text.replace(Line + 1, 3, "xyz");  // the id's text is dropped as unknown
         WriteTextFile(File, Text);
       },
       "Language.txt: no text for 70 sidLabelPaused\n"},
  };
  for (const TCase& Case : Cases) {
    TScratchFolder Scratch;
    WriteCompleteFolder(Scratch.Path());
    Case.Spoil(Scratch.Path());
    const TToolRun Run = RunCheck(Scratch, Quoted(Scratch.Path()));
    EXPECT_EQ(Run.Status, 1) << Case.What << "\n" << Run.Output;
    EXPECT_NE(Run.Output.find(Case.Line), std::string::npos) << Case.What << "\n" << Run.Output;
    if (Case.Whole) {
      EXPECT_EQ(Run.Output, Case.Line) << Case.What;
    }
    EXPECT_NE(Run.Output.find(" paths, " + std::to_string(Case.Errors) + " errors\n"),
              std::string::npos)
        << Case.What << "\n"
        << Run.Output;
  }
}

TEST(DataCheck, ProblemsAreCountedAndAllListed) {
  TScratchFolder Scratch;
  WriteCompleteFolder(Scratch.Path());
  std::filesystem::remove(Scratch.Path() + "/Textures/Map7.dds");
  std::filesystem::remove(Scratch.Path() + "/Samples/Click.wav");
  std::filesystem::remove(Scratch.Path() + "/Paths/Logo.pth");
  const TToolRun Run = RunCheck(Scratch, Quoted(Scratch.Path()));
  EXPECT_EQ(Run.Status, 1);
  EXPECT_EQ(Run.Output,
            "Failed to create texture \"Map7\" (Missing file)\n"
            "Failed to load audio sample \"Click\" (Missing file)\n"
            "Failed to create path \"Logo\" (Missing file)\n"
            "check: 95 textures, 26 sounds, 2 paths, 3 errors\n");
}

// The check looks up every pane picture of the game's pane table, with four segments for
// each of its looks: Pane1 pictures have one look, Pane2 two and Pane4 four.
TEST(DataCheck, EveryPanePictureOfTheGameIsLookedUp) {
  std::set<std::string> Looked;
  for (const TTextureNeed& Need : TextureInventory()) {
    if (!Need.Name.starts_with("Pane")) continue;
    Looked.insert(Need.Name);
    const std::string Shared = SegmentFileName(Need.Name);
    const int Wanted = Shared == "Pane1" ? 4 : Shared == "Pane2" ? 8 : Shared == "Pane4" ? 16 : 0;
    EXPECT_EQ(Need.Segments, Wanted) << Need.Name;
  }
  EXPECT_EQ(Looked.size(), 36u);
  for (const TPaneInfo& Info : PaneInfo) {
    if (std::string(Info.Texture).empty()) continue;
    EXPECT_EQ(Looked.count(Info.Texture), 1u) << Info.Texture;
  }
}

TEST(DataCheck, ABadCommandLineExitsWithTwo) {
  TScratchFolder Scratch;
  for (const std::string& Arguments : {std::string(), Quoted(Scratch.Path()) + " extra",
                                       Quoted(Scratch.Path() + "/none"), std::string("--help")}) {
    const TToolRun Run = RunCheck(Scratch, Arguments);
    EXPECT_EQ(Run.Status, 2) << Arguments;
    EXPECT_EQ(Run.Output, "") << Arguments;
    EXPECT_NE(Run.Errors.find("calvora-data check: "), std::string::npos) << Arguments;
  }
}

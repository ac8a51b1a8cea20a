// DataCheckTests.cpp -- calvora-data check on a tiny data folder written by the test: the complete
// folder passes, and each kind of fault gives its own line and status 1.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "EngineStreams.h"
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
  auto Texture = [&](const std::string& Name, int SegmentCount) {
    WriteTextFile(Textures + Name + ".dds", Picture);
    if (SegmentCount > 1) WriteTextFile(Textures + Name + ".tsg", Segments(SegmentCount));
  };
  for (const char* Name :
       {"Blank", "Selector", "Damage", "Talk", "FormMenu", "FormPanel", "FormMission", "GameLogo",
        "Dialog66", "Dialog68", "Dialog72", "Dialog100"})
    Texture(Name, 1);
  Texture("DefaultFont", 256);
  Texture("IconsFont", 256);
  Texture("Buttons", 9);
  Texture("ActionIcons", 144);
  Texture("Progress", 64);
  Texture("Arrows", 4);
  Texture("Faces", 2);
  Texture("Dot", 2);
  Texture("Particles", 8);
  for (int I = 1; I <= 24; ++I)
    Texture("Map" + std::to_string(I), 1);
  for (int I = 1; I <= 13; ++I)
    Texture("View" + std::to_string(I), 1);
  std::vector<std::string> Panes = {"BuildingPlot", "HouseOld1", "HouseOld2", "Appeal1",
                                    "Debris1",      "Debris2",   "Stones",    "Fort",
                                    "Granary",      "Workshop"};
  for (int I = 1; I <= 8; ++I)
    Panes.push_back("Service" + std::to_string(I));
  for (int I = 1; I <= 12; ++I)
    Panes.push_back("Forest" + std::to_string(I));
  for (const std::string& Pane : Panes)
    Texture("Pane1" + Pane, 1);
  for (int I = 1; I <= 5; ++I)
    Texture("Pane2House" + std::to_string(I), 1);
  Texture("Pane4Aqueduct", 1);
  WriteTextFile(Textures + "Pane1.tsg", Segments(4));
  WriteTextFile(Textures + "Pane2.tsg", Segments(8));
  WriteTextFile(Textures + "Pane4.tsg", Segments(16));

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
  return RunProgram(std::string("'") + CALVORA_DATA_TOOL + "' check " + Arguments,
                    Scratch.Path() + "/stderr.txt");
}

std::string Quoted(const std::string& Path) {
  return "'" + Path + "'";
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
  };
  for (const TCase& Case : Cases) {
    TScratchFolder Scratch;
    WriteCompleteFolder(Scratch.Path());
    Case.Spoil(Scratch.Path());
    const TToolRun Run = RunCheck(Scratch, Quoted(Scratch.Path()));
    EXPECT_EQ(Run.Status, 1) << Case.What << "\n" << Run.Output;
    EXPECT_NE(Run.Output.find(Case.Line), std::string::npos) << Case.What << "\n" << Run.Output;
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

// The inventory of the check and the game's own table of pane pictures must not drift apart.
TEST(DataCheck, EveryPanePictureOfTheGameIsLookedUp) {
  TScratchFolder Scratch;
  std::filesystem::create_directories(Scratch.Path() + "/Languages/English");
  std::filesystem::copy_file(CALVORA_ENGLISH_TEXTS,
                             Scratch.Path() + "/Languages/English/Language.txt");
  const TToolRun Run = RunCheck(Scratch, Quoted(Scratch.Path()));
  EXPECT_EQ(Run.Status, 1);
  int Pictures = 0;
  for (const TPaneInfo& Info : PaneInfo) {
    if (std::string(Info.Texture).empty()) continue;
    ++Pictures;
    const std::string Line =
        "Failed to create texture \"" + std::string(Info.Texture) + "\" (Missing file)\n";
    EXPECT_NE(Run.Output.find(Line), std::string::npos) << Info.Texture;
  }
  EXPECT_GT(Pictures, 0);
}

TEST(DataCheck, NoLanguageFailsAsStartUpDoes) {
  TScratchFolder Scratch;
  WriteCompleteFolder(Scratch.Path());
  std::filesystem::remove_all(Scratch.Path() + "/Languages");
  const TToolRun Run = RunCheck(Scratch, Quoted(Scratch.Path()));
  EXPECT_EQ(Run.Status, 1);
  EXPECT_EQ(Run.Output, "No language found\ncheck: 0 textures, 0 sounds, 0 paths, 1 errors\n");
}

TEST(DataCheck, AMissingTextInTheLanguageFileIsReported) {
  TScratchFolder Scratch;
  WriteCompleteFolder(Scratch.Path());
  const std::string File = Scratch.Path() + "/Languages/English/Language.txt";
  std::string Text = ReadTextFile(File).value_or("");
  const std::size_t Line = Text.find("[sidLabelPaused");
  ASSERT_NE(Line, std::string::npos);
  Text.replace(Line + 1, 3, "xyz");  // the id's text is dropped as unknown
  WriteTextFile(File, Text);
  const TToolRun Run = RunCheck(Scratch, Quoted(Scratch.Path()));
  EXPECT_EQ(Run.Status, 1);
  EXPECT_NE(Run.Output.find("Language.txt: no text for 70 sidLabelPaused\n"), std::string::npos)
      << Run.Output;
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

// RegisterTests.cpp -- tests of the settings record: window sizes, display mode, the folders,
// reading and writing Game.ini, Error.log and moving an older save folder into place.
#include <cmath>
#include <filesystem>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "EngineIni.h"
#include "EngineRegister.h"
#include "NullPlatform.h"
#include "TestSupport.h"

namespace fs = std::filesystem;

namespace {

bool IsFolder(const std::string& Path) {
  return fs::is_directory(fs::symlink_status(Path));
}
bool IsFile(const std::string& Path) {
  return fs::is_regular_file(fs::symlink_status(Path));
}

// ---- Window size and display mode ----

TEST(RegisterWindowedSizeTest, MatchesTable) {
  struct Case {
    int DesktopWidth, DesktopHeight;
    int Width, Height;
  };
  const Case Cases[] = {
      {1920, 1080, 1468, 918},   // 16:9, height limits: 1080*0.85*1.6 = 1468.8
      {1280, 1024, 1088, 680},   // 5:4, width limits
      {1680, 1050, 1428, 892},   // exactly 16:10: width limits, 892.5 rounds down
      {1440, 900, 1224, 765},    // exactly 16:10
      {2560, 1600, 2176, 1360},  // exactly 16:10
      {2560, 1440, 1958, 1224},  // 1958.4
      {1366, 768, 1044, 652},    // 1044.48 x 652.8
      {1600, 900, 1224, 765},
      {1024, 768, 870, 544},  // 870.4 x 544
      {800, 600, 680, 425},
      {3840, 2160, 2937, 1836},  // 2937.6
      {3440, 1440, 1958, 1224},  // ultra-wide
      {768, 1366, 652, 408},     // portrait: 652.8 x 408
      // 1142.4 x 714 and 707.2 x 442: the height is a whole number and must not come out one less.
      {1344, 1008, 1142, 714},
      {832, 624, 707, 442},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(std::to_string(C.DesktopWidth) + "x" + std::to_string(C.DesktopHeight));
    const TWindowSize Size = WindowedSize(C.DesktopWidth, C.DesktopHeight);
    EXPECT_EQ(Size.Width, C.Width);
    EXPECT_EQ(Size.Height, C.Height);
  }
}

class RegisterDisplayModeTest : public TFreshUserTest {};

TEST_F(RegisterDisplayModeTest, SizesAspectAndVirtualScreen) {
  struct Case {
    bool FullScreen;
    int DesktopWidth, DesktopHeight;
    int WindowWidth, WindowHeight;
    int Width, Height;
    float Aspect, ViewWidth, ViewHeight;
  };
  const Case Cases[] = {
      {true, 1920, 1080, 1468, 918, 1920, 1080, 1920.0f / 1080.0f, 1422.2222f, 800.0f},
      {true, 1280, 1024, 1088, 680, 1280, 1024, 1.25f, 1280.0f, 1024.0f},
      {true, 1680, 1050, 1428, 892, 1680, 1050, 1.6f, 1280.0f, 800.0f},
      {true, 2560, 1080, 1468, 918, 2560, 1080, 2560.0f / 1080.0f, 1896.2963f, 800.0f},
      {false, 1920, 1080, 1468, 918, 1468, 918, 1468.0f / 918.0f, 1280.0f, 800.43597f},
      {false, 1280, 1024, 1088, 680, 1088, 680, 1.6f, 1280.0f, 800.0f},
      {false, 1680, 1050, 1000, 500, 1000, 500, 2.0f, 1600.0f, 800.0f},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(std::string(C.FullScreen ? "full screen " : "windowed ") +
                 std::to_string(C.DesktopWidth) + "x" + std::to_string(C.DesktopHeight));
    Register = TRegister{};
    Register.FullScreen = C.FullScreen;
    Register.DesktopWidth = C.DesktopWidth;
    Register.DesktopHeight = C.DesktopHeight;
    Register.WindowWidth = C.WindowWidth;
    Register.WindowHeight = C.WindowHeight;
    ApplyDisplayMode();
    EXPECT_EQ(Register.Width, C.Width);
    EXPECT_EQ(Register.Height, C.Height);
    EXPECT_FLOAT_EQ(Register.Aspect, C.Aspect);
    EXPECT_NEAR(Register.ViewWidth, C.ViewWidth, 1e-3);
    EXPECT_NEAR(Register.ViewHeight, C.ViewHeight, 1e-3);
  }
}

// ---- Loading and saving ----

// Changes the current folder for the life of the object.
class TCurrentFolder {
 public:
  explicit TCurrentFolder(const std::string& Path) : Old(fs::current_path()) {
    fs::current_path(Path);
  }
  ~TCurrentFolder() { fs::current_path(Old); }
  TCurrentFolder(const TCurrentFolder&) = delete;
  TCurrentFolder& operator=(const TCurrentFolder&) = delete;

 private:
  fs::path Old;
};

// A fresh user whose game is installed in <home>/game/.
class RegisterTest : public TFreshUserTest {
 protected:
  Platform::TNullPlatform Host;

  void SetUp() override {
    TFreshUserTest::SetUp();
    fs::create_directories(GameFolder());
    Host.ProgramFile = GameFolder() + "calvora";
  }

  std::string OldSaveFolder(const std::string& Documents = "Documents") const {
    return Home.Path() + "/" + Documents + "/My Games/Calvora/";
  }

  void LoadWithIni(const std::string& Text) {
    WriteTextFile(SaveFolder() + "Game.ini", Text);
    LoadSettings(Host);
  }
  std::optional<std::string> SavedIni() const { return ReadTextFile(SaveFolder() + "Game.ini"); }

  // An older save folder with its own settings, a player file and an error log.
  void MakeOldSaveFolder(const std::string& Folder, int SfxVolume) {
    WriteTextFile(Folder + "Game.ini", "[RENDERER]\nFullScreen=0\n[AUDIO]\nSfxVolume=" +
                                           std::to_string(SfxVolume) + "\nMusicVolume=3\n");
    WriteTextFile(Folder + "Saves/Players.sav", "players of the old folder");
    WriteTextFile(Folder + "Error.log", "old problem\r\n");
  }
};

TEST_F(RegisterTest, DefaultsWithoutGameIni) {
  Host.Desktop = {2560, 1440};
  LoadSettings(Host);

  EXPECT_TRUE(SettingsLoaded);
  EXPECT_TRUE(ErrorLog.Exists());
  EXPECT_TRUE(ErrorLog.Lines().empty());
  EXPECT_TRUE(Register.FullScreen);
  EXPECT_EQ(Register.SfxVolume, 10);
  EXPECT_EQ(Register.MusicVolume, 8);
  EXPECT_EQ(Register.Language, "Spanish");
  EXPECT_EQ(Register.SpritePool, 3072);
  EXPECT_EQ(Register.EffectPool, 96);
  EXPECT_EQ(Register.ParticlePool, 1536);
  EXPECT_EQ(Register.TextPool, 128);
  EXPECT_EQ(Register.SourcePool, 24);
  EXPECT_EQ(Register.DesktopWidth, 2560);
  EXPECT_EQ(Register.DesktopHeight, 1440);
  EXPECT_EQ(Register.Width, 2560);
  EXPECT_EQ(Register.Height, 1440);
  EXPECT_EQ(Register.WindowWidth, 1958);
  EXPECT_EQ(Register.WindowHeight, 1224);
  EXPECT_FLOAT_EQ(Register.Aspect, 2560.0f / 1440.0f);
  EXPECT_NEAR(Register.ViewWidth, 1422.2222f, 1e-3);
  EXPECT_NEAR(Register.ViewHeight, 800.0f, 1e-3);

  const std::string Exe = GameFolder();
  EXPECT_EQ(Register.ExeFolder, Exe);
  EXPECT_EQ(Register.BrandingFolder, Exe + "Branding/");
  EXPECT_EQ(Register.LanguagesFolder, Exe + "Languages/");
  EXPECT_EQ(Register.TexturesFolder, Exe + "Textures/");
  EXPECT_EQ(Register.PathsFolder, Exe + "Paths/");
  EXPECT_EQ(Register.SamplesFolder, Exe + "Samples/");
  EXPECT_EQ(Register.SaveFolder, SaveFolder());
  EXPECT_EQ(Register.SettingsFolder, SaveFolder());
  EXPECT_EQ(Register.LogFolder, SaveFolder());
  EXPECT_EQ(Register.SavesFolder, SaveFolder() + "Saves/");
  EXPECT_TRUE(IsFolder(SaveFolder() + "Saves"));
  // Nothing of the user's goes next to the program.
  EXPECT_FALSE(fs::exists(Exe + "Saves"));
  EXPECT_TRUE(fs::is_empty(Exe));
}

TEST_F(RegisterTest, ExeFolderDefaultsToTheRunningProgramsFolder) {
  Host.ProgramFile.clear();
  LoadSettings(Host);
  const std::string Expected = fs::read_symlink("/proc/self/exe").parent_path().string() + "/";
  EXPECT_EQ(Register.ExeFolder, Expected);
  EXPECT_EQ(Register.TexturesFolder, Expected + "Textures/");
  EXPECT_EQ(Register.SaveFolder, SaveFolder());
}

TEST_F(RegisterTest, DataHomeChoosesTheSaveFolder) {
  struct Case {
    const char* Name;
    std::string DataHome;
    std::string Expected;
  };
  const Case Cases[] = {
      {"absolute, not yet there", Home.Path() + "/xdg/data",
       Home.Path() + "/xdg/data/Hollow Fern/Calvora/"},
      {"absolute with trailing slashes", Home.Path() + "/other//",
       Home.Path() + "/other/Hollow Fern/Calvora/"},
      {"relative is ignored", "relative/data", SaveFolder()},
      {"empty is ignored", "", SaveFolder()},
  };
  const TCurrentFolder InHome(Home.Path());
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    Environment.Set("XDG_DATA_HOME", C.DataHome);
    LoadSettings(Host);
    EXPECT_EQ(Register.SaveFolder, C.Expected);
    EXPECT_EQ(Register.SettingsFolder, C.Expected);
    EXPECT_EQ(Register.LogFolder, C.Expected);
    EXPECT_EQ(Register.SavesFolder, C.Expected + "Saves/");
    EXPECT_TRUE(IsFolder(C.Expected + "Saves"));
  }
  EXPECT_FALSE(fs::exists(Home.Path() + "/relative"));
}

TEST_F(RegisterTest, WithoutAUsableDataFolderSavesGoNextToTheProgram) {
  const std::string File = Home.Path() + "/not-a-folder";
  WriteTextFile(File, "x");
  Environment.Set("XDG_DATA_HOME", File + "/data");
  LoadSettings(Host);
  EXPECT_EQ(Register.SaveFolder, GameFolder());
  EXPECT_EQ(Register.SettingsFolder, GameFolder());
  EXPECT_EQ(Register.LogFolder, GameFolder());
  EXPECT_EQ(Register.SavesFolder, GameFolder() + "Saves/");
  EXPECT_TRUE(IsFolder(GameFolder() + "Saves"));

  Register.SfxVolume = 4;
  ErrorLog.Add("problem");
  SaveSettings();
  const std::optional<std::string> Ini = ReadTextFile(GameFolder() + "Game.ini");
  ASSERT_TRUE(Ini);
  EXPECT_EQ(TIniFile(*Ini).ReadInteger("AUDIO", "SfxVolume", -1), 4);
  EXPECT_EQ(ReadTextFile(GameFolder() + "Error.log"), "problem\r\n");
}

struct TSettingsCase {
  const char* Name;
  std::string Ini;
  bool FullScreen;
  int SfxVolume;
  int MusicVolume;
};

void PrintTo(const TSettingsCase& C, std::ostream* Out) {
  *Out << C.Name;
}

class RegisterFileTest : public RegisterTest, public testing::WithParamInterface<TSettingsCase> {};

TEST_P(RegisterFileTest, ReadsGameIni) {
  const TSettingsCase& C = GetParam();
  Host.Desktop = {1920, 1080};
  LoadWithIni(C.Ini);
  EXPECT_EQ(Register.FullScreen, C.FullScreen);
  EXPECT_EQ(Register.SfxVolume, C.SfxVolume);
  EXPECT_EQ(Register.MusicVolume, C.MusicVolume);
  EXPECT_EQ(Register.WindowWidth, 1468);
  EXPECT_EQ(Register.WindowHeight, 918);
  EXPECT_EQ(Register.Width, C.FullScreen ? 1920 : 1468);
  EXPECT_EQ(Register.Height, C.FullScreen ? 1080 : 918);
  EXPECT_FLOAT_EQ(Register.Aspect, C.FullScreen ? 1920.0f / 1080.0f : 1468.0f / 918.0f);
  EXPECT_NEAR(Register.ViewWidth, C.FullScreen ? 1422.2222f : 1280.0f, 1e-3);
  EXPECT_TRUE(SettingsLoaded);
  EXPECT_TRUE(ErrorLog.Exists());
}

INSTANTIATE_TEST_SUITE_P(
    Values, RegisterFileTest,
    testing::Values(
        TSettingsCase{"Empty", "", true, 10, 8},
        TSettingsCase{"AllSet", "[RENDERER]\nFullScreen=1\n[AUDIO]\nSfxVolume=3\nMusicVolume=4\n",
                      true, 3, 4},
        TSettingsCase{"Windowed", "[RENDERER]\r\nFullScreen=0\r\n", false, 10, 8},
        TSettingsCase{"AnyNonZeroIsFullScreen", "[RENDERER]\nFullScreen=7\n", true, 10, 8},
        TSettingsCase{"FullScreenNotANumber", "[RENDERER]\nFullScreen=no\n", true, 10, 8},
        TSettingsCase{"Clamped", "[AUDIO]\nSfxVolume=25\nMusicVolume=-3\n", true, 10, 0},
        TSettingsCase{"Limits", "[AUDIO]\nSfxVolume=0\nMusicVolume=10\n", true, 0, 10},
        TSettingsCase{"JustOver", "[AUDIO]\nSfxVolume=-1\nMusicVolume=11\n", true, 0, 10},
        TSettingsCase{"Extremes", "[AUDIO]\nSfxVolume=-2147483648\nMusicVolume=2147483647\n", true,
                      0, 10},
        TSettingsCase{"NotNumbers", "[AUDIO]\nSfxVolume=loud\nMusicVolume=\n", true, 10, 8},
        TSettingsCase{"TooLarge", "[AUDIO]\nSfxVolume=99999999999\nMusicVolume=1.5\n", true, 10, 8},
        TSettingsCase{"AnyCase", "[renderer]\nfullscreen = 0\n[Audio]\n sfxvolume = 2 \n", false, 2,
                      8},
        TSettingsCase{"WrongSection", "[RENDERER]\nSfxVolume=1\n[AUDIO]\nFullScreen=0\n", true, 10,
                      8}),
    [](const testing::TestParamInfo<TSettingsCase>& Info) { return Info.param.Name; });

TEST_F(RegisterTest, WindowedSizeFollowsTheDesktop) {
  Host.Desktop = {1280, 1024};
  LoadWithIni("[RENDERER]\nFullScreen=0\n");
  EXPECT_FALSE(Register.FullScreen);
  EXPECT_EQ(Register.Width, 1088);
  EXPECT_EQ(Register.Height, 680);
  EXPECT_EQ(Register.DesktopWidth, 1280);
  EXPECT_EQ(Register.DesktopHeight, 1024);
}

TEST_F(RegisterTest, UnknownProgramFolderThrowsAndNothingIsWritten) {
  const std::string OldIni = "[AUDIO]\nSfxVolume=4\n";
  WriteTextFile(SaveFolder() + "Game.ini", OldIni);
  const TCurrentFolder InHome(Home.Path());
  Host.NoProgramFile = true;
  try {
    LoadSettings(Host);
    FAIL() << "LoadSettings did not throw";
  } catch (const std::runtime_error& Error) {
    EXPECT_STREQ(Error.what(), "Failed to determine .exe location");
  }
  ErrorLog.Add("a problem");
  SaveSettings();
  EXPECT_FALSE(ErrorLog.Exists());
  EXPECT_EQ(ReadTextFile(SaveFolder() + "Game.ini"), OldIni);
  EXPECT_FALSE(fs::exists(SaveFolder() + "Error.log"));
  EXPECT_FALSE(fs::exists(Home.Path() + "/Game.ini"));
  EXPECT_FALSE(fs::exists(Home.Path() + "/Error.log"));
}

TEST_F(RegisterTest, SaveKeepsEverythingElseInGameIni) {
  LoadWithIni(
      "; Calvora settings\r\n"
      "[RENDERER]\r\n"
      "FullScreen=1\r\n"
      "Gamma=2\r\n"
      "\r\n"
      "[AUDIO]\r\n"
      "SfxVolume=4\r\n"
      "# music too\r\n"
      "MusicVolume=5\r\n"
      "\r\n"
      "[MODS]\r\n"
      "Enabled=yes\r\n");
  EXPECT_EQ(Register.SfxVolume, 4);
  Register.FullScreen = false;
  Register.SfxVolume = 6;
  Register.MusicVolume = 0;
  SaveSettings();
  EXPECT_EQ(SavedIni(),
            "; Calvora settings\n"
            "[RENDERER]\n"
            "FullScreen=0\n"
            "Gamma=2\n"
            "\n"
            "[AUDIO]\n"
            "SfxVolume=6\n"
            "# music too\n"
            "MusicVolume=0\n"
            "\n"
            "[MODS]\n"
            "Enabled=yes\n");
  EXPECT_FALSE(fs::exists(SaveFolder() + "Game.ini.tmp"));
}

TEST_F(RegisterTest, SaveAddsMissingKeysAndSections) {
  LoadWithIni("[MODS]\nEnabled=yes\n\n[AUDIO]\nVoices=2\n");
  Register.MusicVolume = 1;
  SaveSettings();
  const std::optional<std::string> Text = SavedIni();
  ASSERT_TRUE(Text);
  EXPECT_EQ(Text->rfind("[MODS]\nEnabled=yes\n\n[AUDIO]\nVoices=2\n", 0), 0u) << *Text;
  const TIniFile Ini(*Text);
  EXPECT_TRUE(Ini.ReadBool("RENDERER", "FullScreen", false));
  EXPECT_EQ(Ini.ReadInteger("AUDIO", "SfxVolume", -1), 10);
  EXPECT_EQ(Ini.ReadInteger("AUDIO", "MusicVolume", -1), 1);
  EXPECT_EQ(Ini.ReadString("MODS", "Enabled"), "yes");
}

TEST_F(RegisterTest, SaveWritesANewGameIniThatLoadsBack) {
  LoadSettings(Host);
  ASSERT_FALSE(fs::exists(SaveFolder() + "Game.ini"));
  Register.FullScreen = false;
  Register.SfxVolume = 2;
  Register.MusicVolume = 9;
  SaveSettings();
  EXPECT_TRUE(IsFile(SaveFolder() + "Game.ini"));
  EXPECT_FALSE(fs::exists(SaveFolder() + "Game.ini.tmp"));

  Register = TRegister{};
  SettingsLoaded = false;
  LoadSettings(Host);
  EXPECT_FALSE(Register.FullScreen);
  EXPECT_EQ(Register.SfxVolume, 2);
  EXPECT_EQ(Register.MusicVolume, 9);
}

TEST_F(RegisterTest, EmptyErrorLogDeletesTheOldFile) {
  WriteTextFile(SaveFolder() + "Error.log", "old problem\r\n");
  LoadSettings(Host);
  SaveSettings();
  EXPECT_FALSE(fs::exists(SaveFolder() + "Error.log"));
  EXPECT_FALSE(ErrorLog.Exists());
}

TEST_F(RegisterTest, ErrorLogLinesReplaceTheOldFile) {
  WriteTextFile(SaveFolder() + "Error.log", "old problem\r\nanother old one\r\n");
  LoadSettings(Host);
  ErrorLog.Add("a");
  ErrorLog.Add("b");
  SaveSettings();
  EXPECT_EQ(ReadTextFile(SaveFolder() + "Error.log"), "a\r\nb\r\n");
  EXPECT_FALSE(fs::exists(SaveFolder() + "Error.log.tmp"));
  EXPECT_FALSE(fs::exists(SaveFolder() + "Game.ini.tmp"));
}

TEST_F(RegisterTest, ErrorLogEndsWithSaveSettings) {
  LoadSettings(Host);
  SaveSettings();
  EXPECT_FALSE(ErrorLog.Exists());
  ErrorLog.Add("too late");
  EXPECT_TRUE(ErrorLog.Lines().empty());
  SaveSettings();
  EXPECT_FALSE(fs::exists(SaveFolder() + "Error.log"));
}

// ---- Moving an older save folder ----

TEST_F(RegisterTest, MovesTheOldSaveFolderIntoPlace) {
  MakeOldSaveFolder(OldSaveFolder(), 2);
  LoadSettings(Host);
  EXPECT_FALSE(fs::exists(OldSaveFolder()));
  EXPECT_EQ(Register.SaveFolder, SaveFolder());
  EXPECT_FALSE(Register.FullScreen);
  EXPECT_EQ(Register.SfxVolume, 2);
  EXPECT_EQ(Register.MusicVolume, 3);
  EXPECT_EQ(ReadTextFile(SaveFolder() + "Saves/Players.sav"), "players of the old folder");
  EXPECT_EQ(ReadTextFile(SaveFolder() + "Error.log"), "old problem\r\n");
}

TEST_F(RegisterTest, MovesIntoTheDataHome) {
  MakeOldSaveFolder(OldSaveFolder(), 6);
  Environment.Set("XDG_DATA_HOME", Home.Path() + "/data");
  LoadSettings(Host);
  const std::string New = Home.Path() + "/data/Hollow Fern/Calvora/";
  EXPECT_EQ(Register.SaveFolder, New);
  EXPECT_FALSE(fs::exists(OldSaveFolder()));
  EXPECT_EQ(Register.SfxVolume, 6);
  EXPECT_EQ(ReadTextFile(New + "Saves/Players.sav"), "players of the old folder");
}

TEST_F(RegisterTest, LeavesTheOldSaveFolderWhenTheNewOneExists) {
  MakeOldSaveFolder(OldSaveFolder(), 2);
  WriteTextFile(SaveFolder() + "Game.ini", "[AUDIO]\nSfxVolume=7\n");
  LoadSettings(Host);
  EXPECT_EQ(Register.SfxVolume, 7);
  EXPECT_EQ(Register.MusicVolume, 8);
  EXPECT_TRUE(Register.FullScreen);
  EXPECT_TRUE(IsFile(OldSaveFolder() + "Game.ini"));
  EXPECT_EQ(ReadTextFile(OldSaveFolder() + "Saves/Players.sav"), "players of the old folder");
  EXPECT_EQ(ReadTextFile(OldSaveFolder() + "Error.log"), "old problem\r\n");
  EXPECT_FALSE(fs::exists(SaveFolder() + "Saves/Players.sav"));
}

class RegisterUserDirsTest : public RegisterTest, public testing::WithParamInterface<bool> {};

// The documents folder named in user-dirs.dirs is the one searched, not ~/Documents.
TEST_P(RegisterUserDirsTest, DocumentsFolderFromUserDirs) {
  const bool OwnConfigHome = GetParam();
  const std::string Config = OwnConfigHome ? Home.Path() + "/cfg" : Home.Path() + "/.config";
  if (OwnConfigHome) Environment.Set("XDG_CONFIG_HOME", Config);
  WriteTextFile(Config + "/user-dirs.dirs",
                "# This file is written by xdg-user-dirs-update\n"
                "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                "XDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n"
                "XDG_MUSIC_DIR=\"$HOME/Music\"\n");
  MakeOldSaveFolder(OldSaveFolder("Papers"), 1);
  MakeOldSaveFolder(OldSaveFolder("Documents"), 9);
  LoadSettings(Host);
  EXPECT_EQ(Register.SfxVolume, 1);
  EXPECT_FALSE(fs::exists(OldSaveFolder("Papers")));
  EXPECT_TRUE(IsFile(OldSaveFolder("Documents") + "Game.ini"));
  EXPECT_EQ(ReadTextFile(SaveFolder() + "Saves/Players.sav"), "players of the old folder");
}

INSTANTIATE_TEST_SUITE_P(ConfigHome, RegisterUserDirsTest, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& Info) {
                           return Info.param ? "XdgConfigHome" : "DotConfig";
                         });

// ---- Write failures ----

TEST_F(RegisterTest, GameIniThatCannotBeWrittenIsReported) {
  LoadSettings(Host);
  const std::string Blocked = SaveFolder() + "Game.ini";
  WriteTextFile(Blocked + "/inside.txt", "untouched");
  ErrorLog.Add("still logged");
  testing::internal::CaptureStderr();
  EXPECT_NO_THROW(SaveSettings());
  const std::string Errors = testing::internal::GetCapturedStderr();
  EXPECT_NE(Errors.find("Game.ini"), std::string::npos) << Errors;
  EXPECT_TRUE(IsFolder(Blocked));
  std::vector<std::string> Inside;
  for (const auto& Entry : fs::directory_iterator(Blocked))
    Inside.push_back(Entry.path().filename().string());
  EXPECT_EQ(Inside, std::vector<std::string>{"inside.txt"});
  EXPECT_EQ(ReadTextFile(Blocked + "/inside.txt"), "untouched");
  EXPECT_FALSE(fs::exists(Blocked + ".tmp"));
  // The error log does not depend on Game.ini.
  EXPECT_EQ(ReadTextFile(SaveFolder() + "Error.log"), "still logged\r\n");
  EXPECT_FALSE(ErrorLog.Exists());
}

TEST_F(RegisterTest, ErrorLogThatCannotBeWrittenGoesToStandardError) {
  LoadSettings(Host);
  fs::create_directories(SaveFolder() + "Error.log");
  ErrorLog.Add("first problem");
  ErrorLog.Add("second problem");
  Register.SfxVolume = 5;
  testing::internal::CaptureStderr();
  EXPECT_NO_THROW(SaveSettings());
  const std::string Errors = testing::internal::GetCapturedStderr();
  EXPECT_NE(Errors.find("Error.log"), std::string::npos) << Errors;
  EXPECT_NE(Errors.find("first problem"), std::string::npos) << Errors;
  EXPECT_NE(Errors.find("second problem"), std::string::npos) << Errors;
  EXPECT_TRUE(IsFolder(SaveFolder() + "Error.log"));
  EXPECT_FALSE(fs::exists(SaveFolder() + "Error.log.tmp"));
  const std::optional<std::string> Ini = SavedIni();
  ASSERT_TRUE(Ini);
  EXPECT_EQ(TIniFile(*Ini).ReadInteger("AUDIO", "SfxVolume", -1), 5);
  EXPECT_FALSE(ErrorLog.Exists());
}

TEST_F(RegisterTest, SuccessfulSaveSaysNothing) {
  LoadSettings(Host);
  ErrorLog.Add("logged");
  testing::internal::CaptureStderr();
  SaveSettings();
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_TRUE(IsFile(SaveFolder() + "Game.ini"));
  EXPECT_TRUE(IsFile(SaveFolder() + "Error.log"));
}

}  // namespace

// GameTests.cpp -- the program's entry, frame loop and shutdown on the Null platform, and its
// command line.
#include <filesystem>
#include <stdexcept>

#include "EngineInput.h"
#include "EngineLanguages.h"
#include "EngineTimer.h"

#include "EngineRegister.h"
#include "EngineUtils.h"
#include "Game.h"
#include "GameFlags.h"
#include "NullPlatform.h"
#include "TestSupport.h"

using Platform::TEvent;
using Platform::TEventKind;
using Platform::TKey;

namespace {

class GameTest : public TFreshUserTest {
 protected:
  Platform::TNullPlatform Platform;
  TGameOptions Options;

  void SetUp() override {
    TFreshUserTest::SetUp();
    Options.Frames = 10;
    InstallGame(Platform);
  }

  int Run() { return RunGame(Platform, Options); }
  std::optional<std::string> SavedFile(const std::string& Name) {
    return ReadTextFile(SaveFolder() + Name);
  }
  // Presses Key in frame Down and releases it in frame Up.
  void PressDuring(TKey Key, int Down, int Up) {
    Platform.OnFrame = [this, Key, Down, Up](int Frame) {
      if (Frame == Down) Platform.SetKey(Key, true);
      if (Frame == Up) Platform.SetKey(Key, false);
    };
  }
};

TEST_F(GameTest, RunsItsFramesInACentredWindowAndEndsInOrder) {
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(Platform.Frames, 10);
  EXPECT_EQ(Platform.WindowsCreated, 1);
  EXPECT_EQ(Platform.WindowsDestroyed, 1);
  EXPECT_EQ(Platform.Title, "Calvora");  // the language's title replaces "Game"
  EXPECT_EQ(Platform.CreatedRect.X, 226);
  EXPECT_EQ(Platform.CreatedRect.Y, 81);
  EXPECT_EQ(Platform.CreatedRect.Width, 1468);
  EXPECT_EQ(Platform.CreatedRect.Height, 918);
  EXPECT_TRUE(Platform.FullScreen);  // no Game.ini: full screen
  EXPECT_FALSE(Running);
  EXPECT_EQ(Register.Window, nullptr);
  EXPECT_EQ(SavedFile("Game.ini"),
            "[RENDERER]\nFullScreen=1\n\n[AUDIO]\nSfxVolume=10\nMusicVolume=8\n");
  EXPECT_FALSE(SavedFile("Error.log"));
  EXPECT_FALSE(ErrorLog.Exists());
}

TEST_F(GameTest, SecondCopyTouchesNothing) {
  WriteTextFile(SaveFolder() + "Game.ini", "[AUDIO]\nSfxVolume=3\n");
  WriteTextFile(SaveFolder() + "Error.log", "earlier\r\n");
  Platform.Instance = Platform::TInstance::Second;
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(Platform.SingleInstanceRequests, 1);
  EXPECT_EQ(Platform.WindowsCreated, 0);
  EXPECT_EQ(Platform.Frames, 0);
  EXPECT_FALSE(SettingsLoaded);
  EXPECT_EQ(SavedFile("Game.ini"), "[AUDIO]\nSfxVolume=3\n");
  EXPECT_EQ(SavedFile("Error.log"), "earlier\r\n");
}

TEST_F(GameTest, CloseAndQuitRequestsEndTheLoopBeforeTheNextFrame) {
  for (TEventKind Kind : {TEventKind::Close, TEventKind::Quit}) {
    SCOPED_TRACE(static_cast<int>(Kind));
    Platform::TNullPlatform Fresh;
    InstallGame(Fresh);
    Fresh.OnFrame = [&Fresh, Kind](int Frame) {
      if (Frame == 4) Fresh.QueueEvent({Kind});
    };
    Options.Frames = 0;  // no frame limit: only the request ends the run
    EXPECT_EQ(RunGame(Fresh, Options), 0);
    EXPECT_EQ(Fresh.Frames, 4);
    EXPECT_EQ(Fresh.WindowsDestroyed, 1);
    EXPECT_TRUE(SavedFile("Game.ini"));
  }
}

TEST_F(GameTest, NoFramesWhileUnfocusedOrMinimised) {
  struct TCase {
    const char* Name;
    TEvent Away;
  };
  const TCase Cases[] = {
      {"focus lost", {TEventKind::Activation, false, false, 0}},
      {"minimised", {TEventKind::Activation, true, true, 0}},
      {"minimised and unfocused", {TEventKind::Activation, false, true, 0}},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    Platform::TNullPlatform Fresh;
    InstallGame(Fresh);
    Fresh.OnFrame = [&](int Frame) {
      if (Frame == 3) {
        Fresh.QueueEvent(Case.Away);
        Fresh.QueueEvent({TEventKind::Activation, true, false, 0});
      }
    };
    EXPECT_EQ(RunGame(Fresh, Options), 0);
    EXPECT_EQ(Fresh.Waits, 1);  // the loop blocked once instead of running frames
    EXPECT_EQ(Fresh.Frames, 10);
  }
}

TEST_F(GameTest, InactiveWindowClosedMeanwhileEndsWithoutAnotherFrame) {
  Platform.OnFrame = [this](int Frame) {
    if (Frame == 2) {
      Platform.QueueEvent({TEventKind::Activation, false, false, 0});
      Platform.QueueEvent({TEventKind::Close});
    }
  };
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(Platform.Frames, 2);
}

TEST_F(GameTest, ErrorInsideAFrameIsLoggedAndEndsInOrder) {
  Platform.OnFrame = [](int Frame) {
    if (Frame == 5) throw std::runtime_error("Texture pool exhausted");
  };
  testing::internal::CaptureStderr();
  EXPECT_EQ(Run(), 1);
  std::string Printed = testing::internal::GetCapturedStderr();
  EXPECT_EQ(Platform.Frames, 5);
  EXPECT_EQ(Platform.WindowsDestroyed, 1);
  EXPECT_EQ(SavedFile("Error.log"), "Texture pool exhausted\r\n");
  EXPECT_TRUE(SavedFile("Game.ini"));
  EXPECT_NE(Printed.find("Texture pool exhausted"), std::string::npos);
}

TEST_F(GameTest, StartUpFailureWritesErrorLogAndRunsNoFrame) {
  WriteTextFile(SaveFolder() + "Game.ini", "[AUDIO]\nSfxVolume=25\n");
  Platform.WindowFails = true;
  testing::internal::CaptureStderr();
  EXPECT_EQ(Run(), 1);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(Platform.Frames, 0);
  EXPECT_FALSE(Running);
  EXPECT_TRUE(Platform.Warnings.empty());  // only unsupported video hardware is shown
  EXPECT_EQ(SavedFile("Error.log"), "Failed to create window\r\n");
  // The settings were read, so they are written back (clamped).
  EXPECT_EQ(SavedFile("Game.ini"),
            "[AUDIO]\nSfxVolume=10\nMusicVolume=8\n\n[RENDERER]\nFullScreen=1\n");
}

TEST_F(GameTest, UnsupportedVideoHardwareIsTheOneFailureShownToThePlayer) {
  Register.UnsupportedVideo = true;  // as the renderer marks it when it cannot start
  Platform.WindowFails = true;
  testing::internal::CaptureStderr();
  EXPECT_EQ(Run(), 1);
  testing::internal::GetCapturedStderr();
  ASSERT_EQ(Platform.Warnings.size(), 1u);
  EXPECT_FALSE(Platform.Warnings[0].empty());
  EXPECT_EQ(SavedFile("Error.log"), "Failed to create window\r\n");
}

TEST_F(GameTest, UnknownProgramFolderWritesNothing) {
  Platform.NoProgramFile = true;
  testing::internal::CaptureStderr();
  EXPECT_EQ(Run(), 1);
  std::string Printed = testing::internal::GetCapturedStderr();
  EXPECT_NE(Printed.find("Failed to determine .exe location"), std::string::npos);
  EXPECT_EQ(Platform.WindowsCreated, 0);
  EXPECT_FALSE(SavedFile("Game.ini"));
  EXPECT_FALSE(SavedFile("Error.log"));
}

TEST_F(GameTest, MissingLanguageEndsStartUp) {
  std::filesystem::remove_all(GameFolder() + "Languages");
  testing::internal::CaptureStderr();
  EXPECT_EQ(Run(), 1);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(Platform.Frames, 0);
  EXPECT_EQ(Platform.WindowsCreated, 1);
  EXPECT_EQ(Platform.WindowsDestroyed, 1);
  EXPECT_EQ(Languages, nullptr);
  EXPECT_EQ(SavedFile("Error.log"), "No language found\r\n");
}

TEST_F(GameTest, LanguageServiceLivesFromStartToShutdown) {
  Platform.OnFrame = [](int) {
    ASSERT_NE(Languages, nullptr);
    EXPECT_EQ(Languages->Current().Name, "English");
    EXPECT_EQ(StringTable[sidGameTitle], "Calvora");
  };
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(Languages, nullptr);
  EXPECT_EQ(Register.Language, "English");
  EXPECT_FALSE(CreditString(0).empty());
}

TEST_F(GameTest, FramesDriveTheInputClockAndTheTimeline) {
  std::vector<float> FrameTimes;
  std::vector<float> Lerped;
  // OnFrame runs as a frame begins, before the services of that frame update.
  Platform.OnFrame = [&](int Frame) {
    ASSERT_NE(Input, nullptr);
    ASSERT_NE(Timer, nullptr);
    if (Frame > 1) FrameTimes.push_back(Input->FrameTime());
    if (Frame == 3)
      Timer->Add(std::make_unique<TPhaseLerpSingle>(nullptr, false, "Fade", 0.05f, 0.0f, 1.0f,
                                                    [&Lerped](float V) { Lerped.push_back(V); }));
  };
  Options.Frames = 7;
  EXPECT_EQ(Run(), 0);
  // The first frame activates the input service: no time has passed for it yet.
  ASSERT_EQ(FrameTimes.size(), 6u);
  EXPECT_EQ(FrameTimes[0], 0.0f);
  for (std::size_t I = 1; I < FrameTimes.size(); ++I)
    EXPECT_NEAR(FrameTimes[I], 1.0f / 60, 1e-6);
  // Started in frame 3 and ticked by that frame's walk: 0 at the start, then a third per frame.
  ASSERT_EQ(Lerped.size(), 4u);
  EXPECT_EQ(Lerped[0], 0.0f);
  EXPECT_NEAR(Lerped[1], 1.0f / 3, 1e-4);
  EXPECT_NEAR(Lerped[2], 2.0f / 3, 1e-4);
  EXPECT_EQ(Lerped[3], 1.0f);
  EXPECT_EQ(Timer, nullptr);
  EXPECT_EQ(Input, nullptr);
}

TEST_F(GameTest, TypedCharactersReachTheInputService) {
  Platform.OnFrame = [this](int Frame) {
    if (Frame == 2) Input->BeginTextInput(4);
    if (Frame == 3) {
      EXPECT_TRUE(Platform.TextEntry);
      for (int Code : {int{'A'}, int{'b'}, 0xE9, 8, int{'c'}, int{'d'}, int{'e'}})
        Platform.QueueEvent({TEventKind::Char, true, false, static_cast<std::uint8_t>(Code)});
    }
    if (Frame == 4) {
      EXPECT_EQ(Input->EndTextInput(), "Abcd");
    }
  };
  EXPECT_EQ(Run(), 0);
  EXPECT_FALSE(Platform.TextEntry);
}

TEST_F(GameTest, CleanRunDeletesAnOldErrorLog) {
  WriteTextFile(SaveFolder() + "Error.log", "Failed to load texture \"Logo\"\r\n");
  EXPECT_EQ(Run(), 0);
  EXPECT_FALSE(SavedFile("Error.log"));
}

TEST_F(GameTest, DisplayModeKeysSwitchOncePerPress) {
  struct TCase {
    const char* Name;
    std::vector<TKey> Held;
    bool Switches;
  };
  const TCase Cases[] = {
      {"F11", {TKey::F11}, true},
      {"Ctrl+F11", {TKey::LeftControl, TKey::F11}, false},
      {"Alt+F11", {TKey::RightAlt, TKey::F11}, false},
      {"Super+F11", {TKey::LeftSystem, TKey::F11}, false},
      {"Alt+Enter", {TKey::LeftAlt, TKey::Enter}, true},
      {"Ctrl+Alt+Enter", {TKey::Control, TKey::Alt, TKey::Enter}, true},
      {"Enter", {TKey::Enter}, false},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Name);
    Platform::TNullPlatform Fresh;
    InstallGame(Fresh);
    Fresh.OnFrame = [&](int Frame) {
      for (TKey Key : Case.Held)
        Fresh.SetKey(Key, Frame >= 3 && Frame < 7);  // held 4 frames
    };
    EXPECT_EQ(RunGame(Fresh, Options), 0);
    EXPECT_EQ(Fresh.FullScreen, !Case.Switches);
    EXPECT_EQ(Register.FullScreen, !Case.Switches);
    EXPECT_EQ(SavedFile("Game.ini")->find("FullScreen=0") != std::string::npos, Case.Switches);
    WriteTextFile(SaveFolder() + "Game.ini", "");  // the next case starts full screen again
  }
}

TEST_F(GameTest, SwitchingToWindowUsesTheWindowedSize) {
  PressDuring(TKey::F11, 2, 3);
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(Register.Width, 1468);
  EXPECT_EQ(Register.Height, 918);
  EXPECT_FLOAT_EQ(Register.ViewWidth, 1280.0f);
}

TEST_F(GameTest, KeyHeldWhileTheWindowWasAwayDoesNotSwitch) {
  Platform.OnFrame = [this](int Frame) {
    if (Frame == 3) {
      Platform.QueueEvent({TEventKind::Activation, false, false, 0});
      Platform.QueueEvent({TEventKind::Activation, true, false, 0});
    }
  };
  // F11 goes down while another window has the focus and is still held on coming back.
  Platform.OnWait = [this] { Platform.SetKey(TKey::F11, true); };
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(Platform.Waits, 1);
  EXPECT_TRUE(Platform.FullScreen);
}

TEST_F(GameTest, CommandLineDisplayModeHoldsForThisRunOnly) {
  Options.FullScreen = false;
  EXPECT_EQ(Run(), 0);
  EXPECT_FALSE(Platform.FullScreen);
  EXPECT_NE(SavedFile("Game.ini")->find("FullScreen=1"), std::string::npos);
}

TEST_F(GameTest, DisplayModeSwitchedDuringACommandLineRunIsKept) {
  Options.FullScreen = false;
  PressDuring(TKey::F11, 2, 4);
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(Platform.FullScreen);
  EXPECT_NE(SavedFile("Game.ini")->find("FullScreen=1"), std::string::npos);

  WriteTextFile(SaveFolder() + "Game.ini", "[RENDERER]\nFullScreen=1\n");
  Options.FullScreen = true;
  Platform::TNullPlatform Fresh;
  InstallGame(Fresh);
  Fresh.OnFrame = [&Fresh](int Frame) { Fresh.SetKey(TKey::F11, Frame == 2); };
  EXPECT_EQ(RunGame(Fresh, Options), 0);
  EXPECT_NE(SavedFile("Game.ini")->find("FullScreen=0"), std::string::npos);
}

TEST_F(GameTest, SeedOptionReplacesTheClockSeed) {
  Options.Seed = 1234;
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(RandomSeed(), 1234u);
}

// -- Command line ---------------------------------------------------------------------------

TFlagsResult Parse(std::vector<std::string> Arguments) {
  return ParseGameFlags(Arguments);
}

TEST(GameFlags, AcceptedOptions) {
  TFlagsResult Result = Parse({"--headless", "--frames", "60", "--fixed-step=0.02", "--seed",
                               "4294967295", "--windowed", "--screenshot", "last frame.png"});
  ASSERT_TRUE(Result.Run) << Result.Output;
  EXPECT_EQ(Result.Options.Screenshot, "last frame.png");
  EXPECT_TRUE(Result.Options.Headless);
  EXPECT_EQ(Result.Options.Frames, 60);
  EXPECT_DOUBLE_EQ(Result.Options.FixedStep, 0.02);
  EXPECT_EQ(Result.Options.Seed, 4294967295u);
  EXPECT_EQ(Result.Options.FullScreen, false);

  TFlagsResult Plain = Parse({});
  EXPECT_TRUE(Plain.Run);
  EXPECT_FALSE(Plain.Options.Headless);
  EXPECT_FALSE(Plain.Options.FullScreen.has_value());
  EXPECT_FALSE(Plain.Options.Seed.has_value());
  EXPECT_EQ(Plain.Options.Frames, 0);
  EXPECT_EQ(Plain.Options.Screenshot, "");

  EXPECT_EQ(Parse({"--windowed", "--fullscreen"}).Options.FullScreen, true);  // the last wins
}

TEST(GameFlags, HelpAndVersionExitSuccessfully) {
  for (const char* Flag : {"--help", "--version"}) {
    TFlagsResult Result = Parse({"--frames", "3", Flag, "--bogus"});
    EXPECT_FALSE(Result.Run);
    EXPECT_EQ(Result.ExitCode, 0);
    EXPECT_FALSE(Result.Output.empty());
  }
  EXPECT_NE(Parse({"--help"}).Output.find("--fixed-step SECONDS"), std::string::npos);
  EXPECT_EQ(Parse({"--version"}).Output, std::string("calvora ") + CALVORA_VERSION + "\n");
}

TEST(GameFlags, BadCommandLinesExitWithStatusTwo) {
  const std::vector<std::vector<std::string>> Cases = {
      {"--bogus"},
      {"-h"},
      {"level1"},
      {"--frames"},
      {"--frames", "0"},
      {"--frames", "-1"},
      {"--frames", "1e3"},
      {"--frames", "99999999999"},
      {"--fixed-step", "0"},
      {"--fixed-step", "-0.1"},
      {"--fixed-step", "1.5"},
      {"--fixed-step", "inf"},
      {"--fixed-step", "nan"},
      {"--fixed-step", "0.1s"},
      {"--seed", "-1"},
      {"--seed", "4294967296"},
      {"--seed", ""},
      {"--headless=yes"},
      {"--screenshot"},
      {"--screenshot="},
  };
  for (const auto& Arguments : Cases) {
    TFlagsResult Result = Parse(Arguments);
    std::string Line;
    for (const auto& Argument : Arguments)
      Line += Argument + " ";
    SCOPED_TRACE(Line);
    EXPECT_FALSE(Result.Run);
    EXPECT_EQ(Result.ExitCode, 2);
    ASSERT_FALSE(Result.Output.empty());
    EXPECT_EQ(Result.Output.find('\n'), Result.Output.size() - 1);  // one line
  }
}

}  // namespace

// Game.cpp -- the program's entry: single instance, start-up, the frame loop and shutdown.
#include "Game.h"

#include <exception>
#include <iostream>

#include "EngineLanguages.h"
#include "EngineRegister.h"
#include "EngineUtils.h"
#include "Platform.h"

bool Running = false;
bool QuitRequested = false;
bool Active = true;

namespace {

using Platform::TKey;

const char* const kInitialTitle = "Game";

// The warning for video hardware the game cannot use, in English when the language file has none.
std::string UnsupportedVideoText() {
  const std::string& Text = StringTable[sidMsgUnsupportedVideo];
  return Text.empty() ? "The game cannot start on this graphics hardware." : Text;
}

// F11, or Alt with Enter, newly pressed in this frame. F11 counts only while no other
// modifier is held; Alt+Enter counts whatever else is held. A key already held when the window
// regains the focus does not count.
class TDisplayModeKey {
 public:
  bool Pressed(const Platform::TPlatform& Platform) {
    bool Modifier = false;
    for (TKey Key : {TKey::Control, TKey::LeftControl, TKey::RightControl, TKey::Alt, TKey::LeftAlt,
                     TKey::RightAlt, TKey::LeftSystem, TKey::RightSystem})
      Modifier |= Platform.KeyDown(Key);
    bool Alt = Platform.KeyDown(TKey::Alt) || Platform.KeyDown(TKey::LeftAlt) ||
               Platform.KeyDown(TKey::RightAlt);
    bool F11 = Platform.KeyDown(TKey::F11) && !Modifier;
    bool AltEnter = Alt && Platform.KeyDown(TKey::Enter);
    bool Result = Primed && ((F11 && !WasF11) || (AltEnter && !WasAltEnter));
    WasF11 = F11;
    WasAltEnter = AltEnter;
    Primed = true;
    return Result;
  }
  // The next reading only records the keys held at that moment.
  void Reset() { Primed = false; }

 private:
  bool Primed = false;
  bool WasF11 = false;
  bool WasAltEnter = false;
};

// One run of the program: what the entry, the loop and the window procedure share.
class TGame {
 public:
  TGame(Platform::TPlatform& Platform, const TGameOptions& Options)
      : Platform(Platform), Options(Options) {}

  int Run();

 private:
  Platform::TPlatform& Platform;
  const TGameOptions& Options;
  TDisplayModeKey DisplayModeKey;
  int FramesRun = 0;
  bool Failed = false;
  bool SettingsFullScreen = false;   // the display mode Game.ini chose
  bool DisplayModeSwitched = false;  // the player switched it during this run

  void Start();
  void StartGame();
  void StopGame();
  void MainLoop();
  void GameFrame();
  void RunFrameSteps();
  void WindowProc(const Platform::TEvent& Event);
  void SwitchDisplayMode(bool FullScreen);
  void ReportError(const std::string& Message);
};

void TGame::ReportError(const std::string& Message) {
  ErrorLog.Add(Message);
  std::cerr << "calvora: " << Message << "\n";
  Failed = true;
}

int TGame::Run() {
  Running = false;
  QuitRequested = false;
  Active = true;
  if (Platform.AcquireSingleInstance() == Platform::TInstance::Second) return 0;
  Start();
  MainLoop();
  // A display mode chosen on the command line holds for this run only.
  if (Options.FullScreen && !DisplayModeSwitched) Register.FullScreen = SettingsFullScreen;
  SaveSettings();
  return Failed ? 1 : 0;
}

void TGame::Start() {
  try {
    LoadSettings(Platform);
    SettingsFullScreen = Register.FullScreen;
    if (Options.Seed) Randomize(*Options.Seed);
    if (Options.FullScreen) {
      Register.FullScreen = *Options.FullScreen;
      ApplyDisplayMode();
    }
    AssembleCreditStrings();
    StartGame();
    Running = true;
  } catch (const std::exception& Error) {
    ReportError(Error.what());
    StopGame();
    if (Register.UnsupportedVideo) Platform.ShowWarning(UnsupportedVideoText());
  }
}

void TGame::StartGame() {
  // The client area centred on the desktop (divisions truncate toward zero).
  Platform::TWindowRect Client{(Register.DesktopWidth - Register.WindowWidth) / 2,
                               (Register.DesktopHeight - Register.WindowHeight) / 2,
                               Register.WindowWidth, Register.WindowHeight};
  Platform.CreateGameWindow(Client, kInitialTitle);
  Register.Window = &Platform;
  if (Register.FullScreen) Platform.SetFullScreen(true);

  // The engine services, each after those it reads.
  Languages = std::make_unique<TLanguages>();
  // Still to take their places here, in this order: Input, Timer, Audio, Renderer, Particles,
  // Texts, the particle presets, the profile list (which reads Players.sav), the GUI root, the
  // screens, and the first screen.
}

void TGame::StopGame() {
  // The services go in the reverse order of their creation (the GUI root, the profile list,
  // which saves Players.sav, Texts, Particles, Renderer, Audio, Timer, Input and Languages);
  // each step tolerates a service that was never created.
  Languages.reset();
  if (Platform.HasWindow()) Platform.DestroyGameWindow();
  Register.Window = nullptr;
}

void TGame::MainLoop() {
  while (Running) {
    if (QuitRequested) {
      Running = false;
      StopGame();
      break;
    }
    if (!Active) Platform.WaitEvent();
    Platform::TEvent Event;
    if (Platform.PollEvent(Event)) {
      if (Event.Kind == Platform::TEventKind::Quit)
        QuitRequested = true;
      else
        WindowProc(Event);
    } else if (Active) {
      GameFrame();
    }
  }
}

void TGame::GameFrame() {
  try {
    RunFrameSteps();
  } catch (const std::exception& Error) {
    ReportError(Error.what());
    QuitRequested = true;
  }
}

void TGame::RunFrameSteps() {
  Platform.BeginFrame();
  // In this order: the renderer's lost-device check, Input.Update, Timer.Update, Gui.Update,
  // Particles.Update, Renderer.Render, Audio.Update; then the display-mode key.
  if (DisplayModeKey.Pressed(Platform)) {
    SwitchDisplayMode(!Register.FullScreen);
    DisplayModeSwitched = true;
  }
  if (Options.Frames > 0 && ++FramesRun >= Options.Frames) QuitRequested = true;
}

void TGame::SwitchDisplayMode(bool FullScreen) {
  Register.FullScreen = FullScreen;
  ApplyDisplayMode();
  Platform.SetFullScreen(FullScreen);
}

void TGame::WindowProc(const Platform::TEvent& Event) {
  switch (Event.Kind) {
    case Platform::TEventKind::Close:
    case Platform::TEventKind::Quit:
      QuitRequested = true;
      break;
    case Platform::TEventKind::Activation:
      Active = Event.Active && !Event.Minimized;
      if (!Active) DisplayModeKey.Reset();
      break;
    case Platform::TEventKind::Char:
      // Typed characters go to the input service's text entry.
      break;
  }
}

}  // namespace

int RunGame(Platform::TPlatform& Platform, const TGameOptions& Options) {
  return TGame(Platform, Options).Run();
}

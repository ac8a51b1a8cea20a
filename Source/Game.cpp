// Game.cpp -- the program's entry: single instance, start-up, the frame loop and shutdown.
#include "Game.h"

#include <exception>
#include <iostream>

#include "EngineAudio.h"
#include "EngineInput.h"
#include "EngineLanguages.h"
#include "EngineParticles.h"
#include "EngineRegister.h"
#include "EngineRenderer.h"
#include "EngineTexts.h"
#include "EngineTimer.h"
#include "EngineUtils.h"
#include "Platform.h"

bool Running = false;
bool QuitRequested = false;
bool Active = true;

namespace {

const char* const kInitialTitle = "Game";

// The warning for video hardware the game cannot use, in English when the language file has none.
std::string UnsupportedVideoText() {
  const std::string& Text = StringTable[sidMsgUnsupportedVideo];
  return Text.empty() ? "The game cannot start on this graphics hardware." : Text;
}

// One run of the program: what the entry, the loop and the window procedure share.
class TGame {
 public:
  TGame(Platform::TPlatform& Platform, const TGameOptions& Options)
      : Platform(Platform), Options(Options) {}

  int Run();

 private:
  Platform::TPlatform& Platform;
  const TGameOptions& Options;
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
  // Writes the last frame to the file --screenshot names, if any.
  void SaveScreenshot();
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

  // The engine services, each after those it reads.
  Languages = std::make_unique<TLanguages>();
  Input = std::make_unique<TInput>(Platform);
  Timer = std::make_unique<TTimer>();
  Audio = std::make_unique<TAudio>(Platform);
  Renderer = std::make_unique<TRenderer>(Platform);  // also takes full screen when chosen
  Particles = std::make_unique<TParticles>();
  Texts = std::make_unique<TTexts>(*Renderer);
  // Still to take their places here, in this order: the particle presets, the profile list (which
  // reads Players.sav), the GUI root, the screens, and the first screen.
}

void TGame::StopGame() {
  // The services go in the reverse order of their creation (the GUI root, the profile list,
  // which saves Players.sav, Texts, Particles, Renderer, Audio, Timer, Input and Languages);
  // each step tolerates a service that was never created.
  Texts.reset();
  Particles.reset();
  Renderer.reset();
  Audio.reset();
  Timer.reset();
  Input.reset();
  Languages.reset();
  if (Platform.HasWindow()) Platform.DestroyGameWindow();
  Register.Window = nullptr;
}

void TGame::MainLoop() {
  while (Running) {
    if (QuitRequested) {
      Running = false;
      SaveScreenshot();
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
  // A lost graphics device skips the frame before the frame clock moves, so no game time passes.
  if (Renderer->Lost()) {
    Renderer->CheckDevice();
    if (Renderer->Lost()) return;
  }
  Platform.BeginFrame();
  if (Input->Inactive()) Input->Activate();
  Input->Update();
  Timer->Update(Input->FrameTime());
  // The GUI's update comes here, before the particles.
  Particles->Update();
  Renderer->Render();
  Audio->Update();
  if (Input->FullScreenPressed()) {
    SwitchDisplayMode(!Register.FullScreen);
    DisplayModeSwitched = true;
  }
  if (Options.Frames > 0 && ++FramesRun >= Options.Frames) QuitRequested = true;
}

void TGame::SwitchDisplayMode(bool FullScreen) {
  Renderer->SetFullScreen(FullScreen);
}

void TGame::SaveScreenshot() {
  if (Options.Screenshot.empty() || !Renderer) return;
  const std::string Failure = Renderer->SaveScreenshot(Options.Screenshot);
  if (!Failure.empty())
    ReportError("Failed to save the screenshot \"" + Options.Screenshot + "\" (" + Failure + ")");
}

void TGame::WindowProc(const Platform::TEvent& Event) {
  switch (Event.Kind) {
    case Platform::TEventKind::Close:
    case Platform::TEventKind::Quit:
      QuitRequested = true;
      break;
    case Platform::TEventKind::Activation:
      Active = Event.Active && !Event.Minimized;
      if (!Active && Input) Input->Deactivate();
      break;
    case Platform::TEventKind::Char:
      if (Input) Input->CharInput(Event.Code);
      break;
  }
}

}  // namespace

int RunGame(Platform::TPlatform& Platform, const TGameOptions& Options) {
  return TGame(Platform, Options).Run();
}

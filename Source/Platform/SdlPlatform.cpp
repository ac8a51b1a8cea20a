// SdlPlatform.cpp -- the platform of play: SDL2 on a display (or offscreen when headless), and
// the per-session single-instance lock with its "raise your window" socket.
#include <SDL.h>
#include <fcntl.h>       // open for the lock file
#include <sys/file.h>    // flock: the single-instance lock
#include <sys/socket.h>  // the socket through which a second copy raises the first
#include <sys/un.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <functional>
#include <iostream>
#include <stdexcept>

#include "Platform.h"
#include "SdlGraphics.h"
#include "SdlSound.h"

namespace Platform {

namespace {

// One running copy per user session: an advisory lock on a file, and a local socket on which the
// first copy listens for a second copy's request to restore and raise its window.
class TSingleInstance {
 public:
  ~TSingleInstance() {
    if (Listener >= 0) close(Listener);
    if (Lock >= 0) close(Lock);
  }

  TInstance Acquire(const std::string& LockPath) {
    Lock = open(LockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (Lock < 0) return TInstance::First;  // nowhere to keep a lock: run unguarded
    Address = SocketAddress(LockPath);
    if (flock(Lock, LOCK_EX | LOCK_NB) != 0) {
      close(Lock);
      Lock = -1;
      AskFirstToRaise();
      return TInstance::Second;
    }
    Listen();
    return TInstance::First;
  }

  // Accepts waiting requests; calls Raise for each that asks for it.
  void Serve(const std::function<void()>& Raise) {
    if (Listener < 0) return;
    while (true) {
      int Peer = accept4(Listener, nullptr, nullptr, SOCK_CLOEXEC);
      if (Peer < 0) return;
      char Request[16] = {};
      timeval Timeout{0, 200000};
      setsockopt(Peer, SOL_SOCKET, SO_RCVTIMEO, &Timeout, sizeof(Timeout));
      ssize_t Count = read(Peer, Request, sizeof(Request) - 1);
      close(Peer);
      if (Count > 0 && std::strncmp(Request, "raise", 5) == 0) Raise();
    }
  }

 private:
  int Lock = -1;
  int Listener = -1;
  sockaddr_un Address{};
  socklen_t AddressLength = 0;

  // An abstract socket named after the lock file, so copies that share the lock share the name.
  sockaddr_un SocketAddress(const std::string& LockPath) {
    sockaddr_un Result{};
    Result.sun_family = AF_UNIX;
    std::string Name = "calvora-" + std::to_string(getuid()) + "-" +
                       std::to_string(std::hash<std::string>()(LockPath));
    std::memcpy(Result.sun_path + 1, Name.data(), Name.size());
    AddressLength = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + Name.size());
    return Result;
  }

  void Listen() {
    Listener = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (Listener < 0) return;
    if (bind(Listener, reinterpret_cast<sockaddr*>(&Address), AddressLength) != 0 ||
        listen(Listener, 4) != 0) {
      close(Listener);
      Listener = -1;
    }
  }

  // The first copy may still be starting: try for a second before giving up.
  void AskFirstToRaise() {
    for (int Attempt = 0; Attempt < 20; ++Attempt) {
      int Peer = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
      if (Peer < 0) return;
      if (connect(Peer, reinterpret_cast<sockaddr*>(&Address), AddressLength) == 0) {
        ssize_t Sent = write(Peer, "raise\n", 6);
        (void)Sent;  // nothing more to do when the first copy went away meanwhile
        close(Peer);
        return;
      }
      close(Peer);
      usleep(50000);
    }
  }
};

SDL_Scancode ScancodeOf(TKey Key) {
  switch (Key) {
    case TKey::Escape:
      return SDL_SCANCODE_ESCAPE;
    case TKey::Enter:
      return SDL_SCANCODE_RETURN;
    case TKey::Space:
      return SDL_SCANCODE_SPACE;
    case TKey::Backspace:
      return SDL_SCANCODE_BACKSPACE;
    case TKey::Pause:
      return SDL_SCANCODE_PAUSE;
    case TKey::F1:
      return SDL_SCANCODE_F1;
    case TKey::F11:
      return SDL_SCANCODE_F11;
    case TKey::LeftControl:
      return SDL_SCANCODE_LCTRL;
    case TKey::RightControl:
      return SDL_SCANCODE_RCTRL;
    case TKey::LeftAlt:
      return SDL_SCANCODE_LALT;
    case TKey::RightAlt:
      return SDL_SCANCODE_RALT;
    case TKey::LeftSystem:
      return SDL_SCANCODE_LGUI;
    case TKey::RightSystem:
      return SDL_SCANCODE_RGUI;
    default:
      break;
  }
  if (Key >= TKey::A && Key <= TKey::Z)
    return static_cast<SDL_Scancode>(SDL_SCANCODE_A +
                                     (static_cast<int>(Key) - static_cast<int>(TKey::A)));
  return SDL_SCANCODE_UNKNOWN;
}

class TSdlPlatform : public TPlatform {
 public:
  explicit TSdlPlatform(const TSdlOptions& Options) : Options(Options) {}

  ~TSdlPlatform() override {
    DestroyGameWindow();
    if (VideoOpen) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    SDL_Quit();
  }

  TInstance AcquireSingleInstance() override {
    std::string Folder;
    if (const char* Runtime = std::getenv("XDG_RUNTIME_DIR"); Runtime && FolderExists(Runtime))
      Folder = Runtime;
    if (Folder.empty()) {
      std::string Data = UserDataFolder();
      if (Data.empty()) return TInstance::First;
      Folder = Data + "/Hollow Fern";
      CreateFolder(Folder);
    }
    return Instance.Acquire(Folder + "/Calvora.lock");
  }

  TDisplaySize DesktopSize() override {
    OpenVideo();
    SDL_DisplayMode Mode{};
    if (SDL_GetDesktopDisplayMode(0, &Mode) != 0)
      throw std::runtime_error(std::string("Failed to read the desktop display mode (") +
                               SDL_GetError() + ")");
    return {Mode.w, Mode.h};
  }

  void CreateGameWindow(const TWindowRect& Client, const std::string& Title) override {
    OpenVideo();
    // A window that can carry OpenGL; when OpenGL cannot be loaded, a plain one, so that opening
    // the graphics device reports the real reason.
    PrepareOpenGlWindow();
    const std::string Utf8Title = Cp1252ToUtf8(Title);
    Window = SDL_CreateWindow(Utf8Title.c_str(), Client.X, Client.Y, Client.Width, Client.Height,
                              SDL_WINDOW_SHOWN | SDL_WINDOW_OPENGL);
    OpenGlFailure.clear();
    if (!Window) {
      OpenGlFailure = SDL_GetError();
      Window = SDL_CreateWindow(Utf8Title.c_str(), Client.X, Client.Y, Client.Width, Client.Height,
                                SDL_WINDOW_SHOWN);
    }
    if (!Window) throw std::runtime_error("Failed to create window");
    WindowedRect = Client;
    SDL_RaiseWindow(Window);
    Focused = true;
    Minimized = false;
  }

  void DestroyGameWindow() override {
    if (!Window) return;
    WaitForFrames();
    SDL_DestroyWindow(Window);
    Window = nullptr;
  }

  bool HasWindow() const override { return Window != nullptr; }

  void SetWindowTitle(const std::string& Title) override {
    if (!Window) return;
    WaitForFrames();
    SDL_SetWindowTitle(Window, Cp1252ToUtf8(Title).c_str());
  }

  void SetFullScreen(bool FullScreen) override {
    if (!Window) return;
    WaitForFrames();
    SDL_SetWindowFullscreen(Window, FullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    if (!FullScreen) {
      SDL_SetWindowSize(Window, WindowedRect.Width, WindowedRect.Height);
      SDL_SetWindowPosition(Window, WindowedRect.X, WindowedRect.Y);
    }
  }

  TWindowRect WindowClientRect() const override {
    TWindowRect Rect;
    if (Window) {
      SDL_GetWindowPosition(Window, &Rect.X, &Rect.Y);
      SDL_GetWindowSize(Window, &Rect.Width, &Rect.Height);
    }
    return Rect;
  }

  void ShowWarning(const std::string& Text) override {
    std::cerr << "calvora: " << Text << "\n";
    if (Options.Headless || !VideoOpen) return;
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, "", Cp1252ToUtf8(Text).c_str(), nullptr);
  }

  bool PollEvent(TEvent& Event) override {
    ServeSecondCopies();
    while (Pending.empty()) {
      SDL_Event Raw;
      if (!VideoOpen || SDL_PollEvent(&Raw) == 0) return false;
      Translate(Raw);
    }
    Event = Pending.front();
    Pending.pop_front();
    return true;
  }

  void WaitEvent() override {
    // Wake now and then to answer a second copy even while no window event arrives.
    if (Pending.empty() && VideoOpen) SDL_WaitEventTimeout(nullptr, 200);
    ServeSecondCopies();
  }

  void SetTextEntry(bool On) override {
    if (On == TextEntry) return;
    TextEntry = On;
    On ? SDL_StartTextInput() : SDL_StopTextInput();
  }

  std::uint64_t CounterFrequency() const override {
    return Options.FixedStep > 0 ? kFixedFrequency : SDL_GetPerformanceFrequency();
  }

  std::uint64_t Counter() const override {
    return Options.FixedStep > 0 ? FixedClock : SDL_GetPerformanceCounter();
  }

  void BeginFrame() override {
    if (Options.FixedStep > 0)
      FixedClock += static_cast<std::uint64_t>(Options.FixedStep * kFixedFrequency + 0.5);
  }

  bool KeyDown(TKey Key) const override {
    switch (Key) {
      case TKey::MouseLeft:
        return MouseButtons() & SDL_BUTTON_LMASK;
      case TKey::MouseRight:
        return MouseButtons() & SDL_BUTTON_RMASK;
      case TKey::Control:
        return KeyDown(TKey::LeftControl) || KeyDown(TKey::RightControl);
      case TKey::Alt:
        return KeyDown(TKey::LeftAlt) || KeyDown(TKey::RightAlt);
      default:
        break;
    }
    SDL_Scancode Code = ScancodeOf(Key);
    if (Code == SDL_SCANCODE_UNKNOWN || !VideoOpen) return false;
    return SDL_GetKeyboardState(nullptr)[Code] != 0;
  }

  void CursorPosition(float& X, float& Y) const override {
    int GlobalX = 0, GlobalY = 0, WindowX = 0, WindowY = 0;
    if (VideoOpen) SDL_GetGlobalMouseState(&GlobalX, &GlobalY);
    if (Window) SDL_GetWindowPosition(Window, &WindowX, &WindowY);
    X = static_cast<float>(GlobalX - WindowX);
    Y = static_cast<float>(GlobalY - WindowY);
  }

  // The display server already applies a left-handed button mapping to what SDL reports.
  bool MouseButtonsSwapped() const override { return false; }

  std::unique_ptr<TGraphicsDevice> OpenGraphicsDevice() override {
    if (!Window) throw EGraphicsError("No game window to draw in");
    if (!OpenGlFailure.empty())
      throw EUnsupportedGraphics("Failed to load the OpenGL library (" + OpenGlFailure + ")");
    return OpenSdlGraphicsDevice(Window, Options.Headless, Options.MaxBatchQuads, Frames);
  }

  std::unique_ptr<TSoundDevice> OpenSoundDevice() override {
    return OpenSdlSoundDevice(Options.Headless);
  }

 private:
  static constexpr std::uint64_t kFixedFrequency = 1000000000;
  TSdlOptions Options;
  TSingleInstance Instance;
  SDL_Window* Window = nullptr;
  std::string OpenGlFailure;          // why the window could not be made with OpenGL
  std::weak_ptr<TFrameQueue> Frames;  // the graphics device's, while it is open
  TWindowRect WindowedRect;
  bool VideoOpen = false;
  bool TextEntry = false;
  bool Focused = true;
  bool Minimized = false;
  std::uint64_t FixedClock = 0;
  std::deque<TEvent> Pending;

  void OpenVideo() {
    if (VideoOpen) return;
    if (Options.Headless) {
      SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    } else if (!std::getenv("SDL_VIDEODRIVER") && !std::getenv("DISPLAY") &&
               !std::getenv("WAYLAND_DISPLAY")) {
      throw std::runtime_error(
          "No display found (neither DISPLAY nor WAYLAND_DISPLAY is set); run calvora "
          "--headless to play without a window");
    }
    // F11 and Alt+Enter are the game's own; the window stays as it is when focus moves away.
    SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
      throw std::runtime_error(std::string("Failed to open the display (") + SDL_GetError() + ")");
    // SDL falls back to a driver without a window when the display turns it away; the player
    // asked for a window, so that is a failure (unless the driver was chosen on purpose).
    const std::string Driver = SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "";
    if (!Options.Headless && !std::getenv("SDL_VIDEODRIVER") &&
        (Driver == "offscreen" || Driver == "dummy" || Driver == "evdev")) {
      SDL_QuitSubSystem(SDL_INIT_VIDEO);
      throw std::runtime_error("Failed to open the display (it refused the connection)");
    }
    VideoOpen = true;
    SDL_StopTextInput();  // typed characters only while a text field asks for them
  }

  std::uint32_t MouseButtons() const {
    return VideoOpen ? SDL_GetGlobalMouseState(nullptr, nullptr) : 0;
  }

  void ServeSecondCopies() {
    Instance.Serve([this] {
      if (!Window) return;
      WaitForFrames();
      SDL_RestoreWindow(Window);
      SDL_ShowWindow(Window);
      SDL_RaiseWindow(Window);
    });
  }

  // The graphics device presents frames on a thread of its own: a call that changes the window
  // first waits until no frame is being presented, so it never runs during a buffer swap.
  void WaitForFrames() const {
    if (const std::shared_ptr<TFrameQueue> Queue = Frames.lock()) Queue->WaitIdle();
  }

  void PushActivation() { Pending.push_back({TEventKind::Activation, Focused, Minimized, 0}); }

  void Translate(const SDL_Event& Raw) {
    switch (Raw.type) {
      case SDL_QUIT:
        Pending.push_back({TEventKind::Quit});
        break;
      case SDL_WINDOWEVENT:
        TranslateWindowEvent(Raw.window);
        break;
      case SDL_TEXTINPUT:
        if (TextEntry)
          for (char Code : Utf8ToCp1252(Raw.text.text))
            Pending.push_back({TEventKind::Char, true, false, static_cast<std::uint8_t>(Code)});
        break;
      case SDL_KEYDOWN:
        if (TextEntry && Raw.key.keysym.scancode == SDL_SCANCODE_BACKSPACE)
          Pending.push_back({TEventKind::Char, true, false, 8});
        break;
      default:
        break;
    }
  }

  void TranslateWindowEvent(const SDL_WindowEvent& Raw) {
    switch (Raw.event) {
      case SDL_WINDOWEVENT_CLOSE:
        Pending.push_back({TEventKind::Close});
        return;
      case SDL_WINDOWEVENT_FOCUS_GAINED:
        Focused = true;
        break;
      case SDL_WINDOWEVENT_FOCUS_LOST:
        Focused = false;
        break;
      case SDL_WINDOWEVENT_MINIMIZED:
      case SDL_WINDOWEVENT_HIDDEN:
        Minimized = true;
        break;
      case SDL_WINDOWEVENT_RESTORED:
      case SDL_WINDOWEVENT_SHOWN:
        Minimized = false;
        break;
      default:
        return;
    }
    PushActivation();
  }
};

}  // namespace

std::unique_ptr<TPlatform> CreateSdlPlatform(const TSdlOptions& Options) {
  return std::make_unique<TSdlPlatform>(Options);
}

}  // namespace Platform

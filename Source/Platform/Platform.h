// Platform.h -- the only door to the operating system: window and its events, key and mouse
// state, the high-resolution counter, folders and files, the user's name and the single instance.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Platform {

class TGraphicsDevice;  // PlatformGraphics.h
class TSoundDevice;     // PlatformSound.h

// Keys and mouse buttons the game reads as "held down now".
enum class TKey : std::uint8_t {
  MouseLeft,
  MouseRight,
  Escape,
  Enter,
  Space,
  Backspace,
  Pause,
  F1,
  F11,
  Control,  // either Control key
  LeftControl,
  RightControl,
  Alt,  // either Alt key
  LeftAlt,
  RightAlt,
  LeftSystem,  // the "Windows" / Super keys
  RightSystem,
  // clang-format off
  A, B, C, D, E, F, G, H, I, J, K, L, M, N, O, P, Q, R, S, T, U, V, W, X, Y, Z,
  // clang-format on
  Count
};

// The letter key for 'A'..'Z' (upper or lower case); TKey::Count for anything else.
TKey LetterKey(char Letter);

// What the window tells the game, in the terms of the game's window procedure.
enum class TEventKind : std::uint8_t {
  Close,       // the window was closed by the user
  Quit,        // the session or the process was asked to end
  Activation,  // focus or minimised state changed; see Active and Minimized
  Char,        // a typed character (Windows-1252 code) while text entry is on
};

struct TEvent {
  TEventKind Kind = TEventKind::Quit;
  bool Active = true;      // Activation: the window has the focus
  bool Minimized = false;  // Activation: the window is minimised
  std::uint8_t Code = 0;   // Char: the character code; 8 is backspace
};

// Client-area placement of the game window in desktop pixels.
struct TWindowRect {
  int X = 0;
  int Y = 0;
  int Width = 0;
  int Height = 0;
};

struct TDisplaySize {
  int Width = 0;
  int Height = 0;
};

// Result of asking for the single-instance lock.
enum class TInstance : std::uint8_t {
  First,   // this is the only copy; it holds the lock until it ends
  Second,  // another copy runs; it was asked to restore and raise its window
};

// The operating-system services behind the game. The game reaches them only through one
// instance of this class, created by the entry point (or by a test or a tool) and passed down.
class TPlatform {
 public:
  virtual ~TPlatform() = default;

  // -- Process and folders ---------------------------------------------------------------------
  // Full path of the running program file, or empty when it cannot be determined.
  virtual std::string ProgramPath();
  // Per-user data folder ($XDG_DATA_HOME or ~/.local/share), created when missing; without a
  // trailing slash. Empty when there is no home to put it in.
  virtual std::string UserDataFolder();
  // The user's documents folder (XDG user-dirs, else ~/Documents); empty when unknown.
  virtual std::string DocumentsFolder();
  // The logged-on user's name, at most 260 characters.
  virtual std::string UserName();

  // -- Single instance -------------------------------------------------------------------------
  // Takes the per-session lock, or asks the copy that holds it to restore and raise its window.
  virtual TInstance AcquireSingleInstance() = 0;

  // -- Display and window ----------------------------------------------------------------------
  // The current desktop display mode. Throws when no display can be opened.
  virtual TDisplaySize DesktopSize() = 0;
  // Opens the game window with the given client rectangle and title, shown and focused.
  // Throws "Failed to create window" on failure.
  virtual void CreateGameWindow(const TWindowRect& Client, const std::string& Title) = 0;
  virtual void DestroyGameWindow() = 0;
  virtual bool HasWindow() const = 0;
  virtual void SetWindowTitle(const std::string& Title) = 0;
  // Switches between desktop full screen and the windowed client rectangle it was created with.
  virtual void SetFullScreen(bool FullScreen) = 0;
  // Where the client area is now, in desktop pixels.
  virtual TWindowRect WindowClientRect() const = 0;
  // A warning box with no owner and no caption; returns when the user dismissed it.
  virtual void ShowWarning(const std::string& Text) = 0;

  // -- Events ----------------------------------------------------------------------------------
  // Takes one waiting event without blocking; false when there is none.
  virtual bool PollEvent(TEvent& Event) = 0;
  // Blocks until an event waits (or the platform has had something to do meanwhile).
  virtual void WaitEvent() = 0;
  // Typed characters arrive as Char events only while text entry is on.
  virtual void SetTextEntry(bool On) = 0;

  // -- Input and clock -------------------------------------------------------------------------
  // Counts per second of the high-resolution counter.
  virtual std::uint64_t CounterFrequency() const = 0;
  // The high-resolution counter now (or, with a fixed step, the frame clock).
  virtual std::uint64_t Counter() const = 0;
  // Called once at the start of each game frame; a fixed-step clock advances here.
  virtual void BeginFrame() = 0;
  // Whether the key or mouse button is held down now.
  virtual bool KeyDown(TKey Key) const = 0;
  // The pointer in client-area pixels (may lie outside the window).
  virtual void CursorPosition(float& X, float& Y) const = 0;
  // Whether the system swaps the primary and secondary mouse buttons.
  virtual bool MouseButtonsSwapped() const = 0;

  // -- Graphics --------------------------------------------------------------------------------
  // Opens the graphics device on the game window (on SDL an OpenGL 3.3 core context), for the
  // caller to own until before the window is destroyed. Throws EUnsupportedGraphics when this
  // computer's graphics cannot run the game ("Failed to load the OpenGL library", "Failed to
  // create an OpenGL 3.3 core context", "Failed to get the OpenGL 3.3 functions", "Failed to
  // compile the sprite shader"), EGraphicsError for other failures ("Failed to create vertex
  // buffer", "Failed to create frame buffer").
  virtual std::unique_ptr<TGraphicsDevice> OpenGraphicsDevice() = 0;

  // -- Sound -----------------------------------------------------------------------------------
  // Opens the sound output (48 kHz float stereo fed by a software mixer), for the caller to own
  // until before the platform goes. When no real output opens, SDL's dummy driver plays silently
  // and the device's Problem() says why. Throws with a failure message when there is no output
  // at all.
  virtual std::unique_ptr<TSoundDevice> OpenSoundDevice() = 0;
};

// -- Files and folders (the same on every implementation) --------------------------------------
bool FolderExists(const std::string& Path);
bool FileExists(const std::string& Path);
// Creates one folder level; true when it exists afterwards.
bool CreateFolder(const std::string& Path);
// Creates the folder and every missing parent; true when it exists afterwards.
bool CreateFolders(const std::string& Path);
// Renames a folder in one step; false when that is not possible (nothing is changed then).
bool MoveFolder(const std::string& From, const std::string& To);
bool DeleteFile(const std::string& Path);
// Whole file as bytes; nullopt when it cannot be opened or read.
std::optional<std::string> ReadFile(const std::string& Path);
// Writes the whole file through a temporary file in the same folder, flushed to disk and then
// renamed over the old one, so a failed write never leaves a truncated file. Returns an empty
// string on success, else a description of the failure.
std::string WriteFileAtomic(const std::string& Path, const std::string& Data);
// Names of the sub-folders of a folder (no "." or ".."), sorted.
std::vector<std::string> SubFolders(const std::string& Path);

// -- Text ------------------------------------------------------------------------------------
// Game texts are 8-bit Windows-1252. Characters that code page lacks are dropped, as are broken
// UTF-8 sequences.
std::string Utf8ToCp1252(const std::string& Text);
std::string Cp1252ToUtf8(const std::string& Text);

// -- The two implementations -------------------------------------------------------------------
struct TSdlOptions {
  bool Headless = false;   // SDL's offscreen video driver; no display needed
  double FixedStep = 0.0;  // > 0: the frame clock advances by this many seconds a frame
  int MaxBatchQuads = 0;   // > 0: at most this many quads per draw call (1: each on its own)
};

// SDL2 on a real display (or offscreen when headless).
std::unique_ptr<TPlatform> CreateSdlPlatform(const TSdlOptions& Options);

}  // namespace Platform

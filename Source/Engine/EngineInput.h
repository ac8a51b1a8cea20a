// EngineInput.h -- the frame clock, the mouse and the game's keys turned into per-frame facts, text
// entry for name fields, and the debug key chords.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace Platform {
class TPlatform;
}

// The keys the input service samples once a frame.
enum class TInputKey : std::uint8_t {
  Primary,  // the primary mouse button: the left one, or the right one when the buttons are swapped
  Escape,
  Enter,
  Space,
  Pause,
  F1,
  F11,
  H,
  AltEnter,  // either Alt key together with Enter, whatever other modifiers are held
  Letter1,   // Letter1..Letter8: the eight chord letters, in the order of the chord table
  Letter2,
  Letter3,
  Letter4,
  Letter5,
  Letter6,
  Letter7,
  Letter8,
  Count
};

// Once a frame: the time since the previous frame, the mouse and the few keys the game reacts to,
// as facts everyone else reads instead of handling window events.
class TInput {
 public:
  // Reads the counter's frequency and takes a first reading of it. Starts inactive. Throws
  // "Failed to create timer - error code 95" (95: operation not supported) when the platform has
  // no high-resolution counter.
  explicit TInput(Platform::TPlatform& Platform);
  // Switches the platform's text entry off when it is still on.
  ~TInput();
  TInput(const TInput&) = delete;
  TInput& operator=(const TInput&) = delete;

  // -- The frame ---------------------------------------------------------------------------------
  // Marks the service active, takes the system's mouse-button swap setting and runs Update, so
  // that time spent inactive and keys already held do not reach the next Update.
  void Activate();
  // Marks the service inactive (the window lost the focus); Update then does nothing.
  void Deactivate();
  // Reads the clock, the mouse and the keys and derives this frame's facts; once a frame, before
  // anything that reads them. Does nothing while inactive. Never allocates.
  void Update();

  // -- Text entry --------------------------------------------------------------------------------
  // Starts collecting typed characters into an empty InputText of at most |MaxLength| characters,
  // and asks the platform to deliver typed characters.
  void BeginTextInput(int MaxLength);
  // Stops collecting and the platform's delivery; returns the typed text and empties InputText.
  std::string EndTextInput();
  // One typed character (Windows-1252 code) while text entry is on: codes 20..255 are appended
  // while there is room, 8 (backspace) deletes the last character; anything else is ignored.
  void CharInput(int Code);
  // What plays the sound "Key" (owner: the input service) for every character CharInput accepts.
  // The audio service sets it when it starts and clears it (an empty function) when it stops.
  void SetKeySound(std::function<void()> Play) { KeySound = std::move(Play); }

  // -- State -------------------------------------------------------------------------------------
  // True until the first activation and after Deactivate.
  bool Inactive() const { return State.Inactive; }
  // The system swaps the mouse buttons; read at every activation.
  bool SwapButtons() const { return State.SwapButtons; }

  // Counts per second of the high-resolution counter.
  std::uint64_t Frequency() const { return State.Frequency; }
  // The counter's reading at the latest Update.
  std::uint64_t Counter() const { return State.Counter; }
  // The counter's reading at the Update before.
  std::uint64_t PrevCounter() const { return State.PrevCounter; }
  // Fractional part of the counter's time in seconds, 0 <= value < 1 (blinking carets).
  float SecondFraction() const { return State.SecondFraction; }
  // 0 -> 1 -> 0 once a second: 2 x SecondFraction in the first half, 2 x (1 - it) in the second.
  float Pulse() const { return State.Pulse; }
  // Seconds since the previous Update: the only clock the game advances by.
  float FrameTime() const { return State.FrameTime; }
  // FrameTime in whole milliseconds, rounded down.
  int FrameMs() const { return State.FrameMs; }

  // The pointer relative to the back buffer (Register.Width, Register.Height): 0..1 across the
  // drawing area, beyond that outside it; 0 while the back buffer has no size.
  float MouseX() const { return State.MouseX; }
  float MouseY() const { return State.MouseY; }
  // Always true full screen; in a window, the pointer lies inside the client area.
  bool MouseInside() const { return State.MouseInside; }

  // The key as sampled at the latest Update. The keyboard keys and the chord letters count as down
  // only while no Ctrl, Alt or Windows key is held; the mouse button and AltEnter count always.
  bool KeyDown(TInputKey Key) const { return Down[Index(Key)]; }
  // The same at the Update before.
  bool KeyWasDown(TInputKey Key) const { return WasDown[Index(Key)]; }

  // The primary mouse button is held now.
  bool MouseDown() const { return State.MouseDown; }
  // The primary mouse button was held at the Update before.
  bool MouseWasDown() const { return State.MouseWasDown; }
  // The primary mouse button went down in this frame.
  bool MousePressed() const { return State.MousePressed; }
  // Escape went down in this frame.
  bool EscapePressed() const { return State.EscapePressed; }
  // Enter or Space went down in this frame.
  bool ConfirmPressed() const { return State.ConfirmPressed; }
  // F1 or H went down in this frame.
  bool HelpPressed() const { return State.HelpPressed; }
  // Pause went down in this frame.
  bool PausePressed() const { return State.PausePressed; }
  // F11, or Alt+Enter, went down in this frame: switch between window and full screen.
  bool FullScreenPressed() const { return State.FullScreenPressed; }

  // A chord may fire: no chord letter was held since the last one fired.
  bool ChordReady() const { return State.ChordReady; }
  // 1..5 in the one frame a debug chord fires, else 0.
  int CheatCode() const { return State.CheatCode; }

  // Typed characters are being collected.
  bool TextInputActive() const { return State.TextInputActive; }
  // The most characters InputText takes; 0 while text entry is off.
  int MaxInputLength() const { return State.MaxInputLength; }
  // The characters typed since BeginTextInput.
  const std::string& InputText() const { return Text; }

 private:
  static constexpr std::size_t KeyCount = static_cast<std::size_t>(TInputKey::Count);
  using TKeyStates = std::array<bool, KeyCount>;

  static constexpr std::size_t Index(TInputKey Key) { return static_cast<std::size_t>(Key); }

  struct TState {
    bool Inactive = true;
    bool SwapButtons = false;
    std::uint64_t Frequency = 0;
    std::uint64_t Counter = 0;
    std::uint64_t PrevCounter = 0;
    float SecondFraction = 0.0f;
    float Pulse = 0.0f;
    float FrameTime = 0.0f;
    int FrameMs = 0;
    float MouseX = 0.0f;
    float MouseY = 0.0f;
    bool MouseInside = false;
    bool MouseDown = false;
    bool MouseWasDown = false;
    bool MousePressed = false;
    bool EscapePressed = false;
    bool ConfirmPressed = false;
    bool HelpPressed = false;
    bool PausePressed = false;
    bool FullScreenPressed = false;
    bool ChordReady = false;
    int CheatCode = 0;
    bool TextInputActive = false;
    int MaxInputLength = 0;
  };

  Platform::TPlatform& Platform;
  TState State;
  TKeyStates Down{};     // as counted, now
  TKeyStates WasDown{};  // as counted, at the Update before
  TKeyStates Held{};     // physically held now, whatever modifiers are held
  TKeyStates WasHeld{};  // physically held at the Update before
  std::string Text;
  std::function<void()> KeySound;

  void ReadClock();
  void ReadMouse();
  void ReadKeys();
  bool Pressed(TInputKey Key) const;
  void DeriveFacts();
  void DetectChord();
  bool AnyChordLetterDown() const;
  void PlayKeySound();
};

// The game's input service; the shell creates it right after the languages and frees it just
// before them.
extern std::unique_ptr<TInput> Input;

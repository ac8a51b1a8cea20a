// EngineInput.cpp -- the frame clock, the per-frame key and mouse facts, text entry and the debug
// key chords.
#include "EngineInput.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <stdexcept>
#include <system_error>

#include "EngineRegister.h"
#include "EngineUtils.h"
#include "Platform.h"

std::unique_ptr<TInput> Input;

namespace {

using Platform::TKey;

// ---- The debug chords ------------------------------------------------------------------------
// Holding the three letters of a chord together, with no Ctrl, Alt or Windows key, gives the
// running mission its debug command with the chord's number (the mission screen passes it on).
// Chords are checked in this order, so the first complete one wins; after a chord fired, all
// eight letters must be released before the next one can fire. H is the help key and is not used.
//
//   code  letters  mission's debug command
//   1     Z X M    money: +5000 money, +500 wood, +500 stone, +5 workers
//   2     Z X W    win after the star time, without the trophy
//   3     Z X S    win within the star time, without the trophy
//   4     Z X T    win after the star time, with the trophy
//   5     Z Q L    loss: the deadline has passed
constexpr std::array<char, 8> ChordLetters = {'Z', 'X', 'M', 'W', 'S', 'T', 'Q', 'L'};
constexpr std::array<std::array<char, 3>, 5> Chords = {{
    {'Z', 'X', 'M'},
    {'Z', 'X', 'W'},
    {'Z', 'X', 'S'},
    {'Z', 'X', 'T'},
    {'Z', 'Q', 'L'},
}};
// ------------------------------------------------------------------------------------------------

constexpr std::size_t FirstLetter = static_cast<std::size_t>(TInputKey::Letter1);
static_assert(static_cast<std::size_t>(TInputKey::Count) - FirstLetter == ChordLetters.size());

// The position of a chord letter in ChordLetters, or ChordLetters.size() when it is not one.
constexpr std::size_t ChordLetterIndex(char Letter) {
  for (std::size_t I = 0; I < ChordLetters.size(); ++I)
    if (ChordLetters[I] == Letter) return I;
  return ChordLetters.size();
}

// True when the chord letters are eight distinct letters A..Z other than H and every chord uses
// three distinct ones of them.
constexpr bool ChordTableIsSound() {
  for (std::size_t I = 0; I < ChordLetters.size(); ++I) {
    const char Letter = ChordLetters[I];
    if (Letter < 'A' || Letter > 'Z' || Letter == 'H' || ChordLetterIndex(Letter) != I)
      return false;
  }
  for (const auto& Chord : Chords) {
    for (char Letter : Chord)
      if (ChordLetterIndex(Letter) == ChordLetters.size()) return false;
    if (Chord[0] == Chord[1] || Chord[0] == Chord[2] || Chord[1] == Chord[2]) return false;
  }
  return true;
}
static_assert(ChordTableIsSound());

// The platform key behind each sampled key. Primary and AltEnter are completed in ReadKeys: the
// primary button depends on the swap setting, Alt+Enter on the Alt keys.
constexpr std::array<TKey, static_cast<std::size_t>(TInputKey::Count)> PlatformKeys() {
  std::array<TKey, static_cast<std::size_t>(TInputKey::Count)> Keys{
      TKey::MouseLeft, TKey::Escape, TKey::Enter, TKey::Space, TKey::Pause,
      TKey::F1,        TKey::F11,    TKey::H,     TKey::Enter};
  for (std::size_t I = 0; I < ChordLetters.size(); ++I)
    Keys[FirstLetter + I] = static_cast<TKey>(static_cast<int>(TKey::A) + (ChordLetters[I] - 'A'));
  return Keys;
}
constexpr auto SampledKeys = PlatformKeys();

// While one of these is held the keyboard keys and the chord letters do not count.
constexpr TKey ModifierKeys[] = {TKey::Control,    TKey::LeftControl, TKey::RightControl,
                                 TKey::Alt,        TKey::LeftAlt,     TKey::RightAlt,
                                 TKey::LeftSystem, TKey::RightSystem};
constexpr TKey AltKeys[] = {TKey::Alt, TKey::LeftAlt, TKey::RightAlt};

// The error number reported when there is no high-resolution counter: "operation not supported".
constexpr int NoCounterError = static_cast<int>(std::errc::not_supported);

// Whether any of the keys is held now.
template <std::size_t N>
bool AnyHeld(const Platform::TPlatform& Platform, const TKey (&Keys)[N]) {
  for (TKey Key : Keys)
    if (Platform.KeyDown(Key)) return true;
  return false;
}

// Reading / Frequency minus its whole seconds, as a float strictly below 1.
float FractionOfSecond(std::uint64_t Reading, std::uint64_t Frequency) {
  const float Fraction =
      static_cast<float>(static_cast<double>(Reading % Frequency) / static_cast<double>(Frequency));
  // A fast counter's last count of a second would round up to 1 in a float.
  return Fraction < 1.0f ? Fraction : std::nextafter(1.0f, 0.0f);
}

// Pixels as a share of Size; 0 while there is no size to measure against.
float Relative(float Pixels, std::int32_t Size) {
  return Size > 0 ? Pixels / static_cast<float>(Size) : 0.0f;
}

// |Value| without overflow for the most negative int.
int Magnitude(int Value) {
  if (Value == std::numeric_limits<int>::min()) return std::numeric_limits<int>::max();
  return std::abs(Value);
}

}  // namespace

TInput::TInput(Platform::TPlatform& Platform) : Platform(Platform) {
  State.Frequency = Platform.CounterFrequency();
  if (State.Frequency == 0)
    throw std::runtime_error("Failed to create timer - error code " +
                             std::to_string(NoCounterError));
  State.Counter = Platform.Counter();
  State.PrevCounter = State.Counter;
  // There is no raw mouse device to open on this platform: the cursor position and the key state
  // are all the service reads.
}

TInput::~TInput() {
  if (State.TextInputActive) Platform.SetTextEntry(false);
}

// ---- The frame ---------------------------------------------------------------------------------

void TInput::Activate() {
  State.Inactive = false;
  State.SwapButtons = Platform.MouseButtonsSwapped();
  Update();
}

void TInput::Deactivate() {
  State.Inactive = true;
}

void TInput::Update() {
  if (State.Inactive) return;
  ReadClock();
  ReadMouse();
  ReadKeys();
  DeriveFacts();
  DetectChord();
}

void TInput::ReadClock() {
  State.PrevCounter = State.Counter;
  State.Counter = Platform.Counter();
  State.SecondFraction = FractionOfSecond(State.Counter, State.Frequency);
  State.Pulse = State.SecondFraction < 0.5f ? 2.0f * State.SecondFraction
                                            : 2.0f * (1.0f - State.SecondFraction);
  // Unsigned difference: right even if the counter wrapped around.
  const std::uint64_t Elapsed = State.Counter - State.PrevCounter;
  State.FrameTime =
      static_cast<float>(static_cast<double>(Elapsed) / static_cast<double>(State.Frequency));
  State.FrameMs = FloorToInt(State.FrameTime * 1000.0f);
}

void TInput::ReadMouse() {
  float X = 0.0f;
  float Y = 0.0f;
  Platform.CursorPosition(X, Y);
  State.MouseInside = Register.FullScreen || (X >= 0.0f && X < Register.WindowWidth && Y >= 0.0f &&
                                              Y < Register.WindowHeight);
  State.MouseX = Relative(X, Register.Width);
  State.MouseY = Relative(Y, Register.Height);
}

void TInput::ReadKeys() {
  WasDown = Down;
  WasHeld = Held;
  for (std::size_t I = 0; I < KeyCount; ++I)
    Held[I] = Platform.KeyDown(SampledKeys[I]);
  Held[Index(TInputKey::Primary)] =
      Platform.KeyDown(State.SwapButtons ? TKey::MouseRight : TKey::MouseLeft);
  Held[Index(TInputKey::AltEnter)] = Held[Index(TInputKey::AltEnter)] && AnyHeld(Platform, AltKeys);

  const bool Modifier = AnyHeld(Platform, ModifierKeys);
  for (std::size_t I = 0; I < KeyCount; ++I)
    Down[I] = Held[I] && !Modifier;
  Down[Index(TInputKey::Primary)] = Held[Index(TInputKey::Primary)];
  Down[Index(TInputKey::AltEnter)] = Held[Index(TInputKey::AltEnter)];
}

// The key counts as down now and was not held at all at the Update before. A key pressed while a
// modifier was held therefore stays spent until it is released: letting go of Alt before Enter
// after Alt+Enter must not also confirm the dialog on screen.
bool TInput::Pressed(TInputKey Key) const {
  return Down[Index(Key)] && !WasHeld[Index(Key)];
}

void TInput::DeriveFacts() {
  State.MouseWasDown = WasDown[Index(TInputKey::Primary)];
  State.MouseDown = Down[Index(TInputKey::Primary)];
  State.MousePressed = Pressed(TInputKey::Primary);
  State.EscapePressed = Pressed(TInputKey::Escape);
  State.ConfirmPressed = Pressed(TInputKey::Enter) || Pressed(TInputKey::Space);
  State.HelpPressed = Pressed(TInputKey::F1) || Pressed(TInputKey::H);
  State.PausePressed = Pressed(TInputKey::Pause);
  State.FullScreenPressed = Pressed(TInputKey::F11) || Pressed(TInputKey::AltEnter);
}

bool TInput::AnyChordLetterDown() const {
  for (std::size_t I = FirstLetter; I < KeyCount; ++I)
    if (Down[I]) return true;
  return false;
}

void TInput::DetectChord() {
  State.CheatCode = 0;
  if (!State.ChordReady) {
    State.ChordReady = !AnyChordLetterDown();
    return;
  }
  for (std::size_t C = 0; C < Chords.size() && State.CheatCode == 0; ++C) {
    bool All = true;
    for (char Letter : Chords[C])
      All = All && Down[FirstLetter + ChordLetterIndex(Letter)];
    if (All) State.CheatCode = static_cast<int>(C) + 1;
  }
  State.ChordReady = State.CheatCode == 0;
}

// ---- Text entry --------------------------------------------------------------------------------

void TInput::BeginTextInput(int MaxLength) {
  State.TextInputActive = true;
  State.MaxInputLength = Magnitude(MaxLength);
  Text.clear();
  Platform.SetTextEntry(true);
}

std::string TInput::EndTextInput() {
  State.TextInputActive = false;
  State.MaxInputLength = 0;
  std::string Typed = std::move(Text);
  Text.clear();
  Platform.SetTextEntry(false);
  return Typed;
}

void TInput::CharInput(int Code) {
  if (!State.TextInputActive) return;
  constexpr int Backspace = 8;
  if (Code >= 20 && Code <= 255 && Text.size() < static_cast<std::size_t>(State.MaxInputLength)) {
    Text.push_back(static_cast<char>(static_cast<unsigned char>(Code)));
    PlayKeySound();
  } else if (Code == Backspace && !Text.empty()) {
    Text.pop_back();
    PlayKeySound();
  }
}

void TInput::PlayKeySound() {
  // Silent until the audio service has set the hook.
  if (KeySound) KeySound();
}

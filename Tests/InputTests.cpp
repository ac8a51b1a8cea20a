// InputTests.cpp -- the input service driven frame by frame on the null platform: frame clock,
// mouse, key facts, activation, text entry and the debug chords.
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <initializer_list>
#include <limits>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "AllocationCounter.h"
#include "EngineInput.h"
#include "EngineRegister.h"
#include "NullPlatform.h"

namespace {

using Platform::TKey;
using TFact = bool (TInput::*)() const;

constexpr TKey Modifiers[] = {TKey::Control,    TKey::LeftControl, TKey::RightControl,
                              TKey::Alt,        TKey::LeftAlt,     TKey::RightAlt,
                              TKey::LeftSystem, TKey::RightSystem};

// The "went down in this frame" facts, for checking that exactly the expected ones are set.
constexpr TFact PressedFacts[] = {&TInput::MousePressed,   &TInput::EscapePressed,
                                  &TInput::ConfirmPressed, &TInput::HelpPressed,
                                  &TInput::PausePressed,   &TInput::FullScreenPressed};

// A null platform whose counter a test sets directly.
class TClockPlatform : public Platform::TNullPlatform {
 public:
  std::uint64_t Frequency = 1000000;
  std::uint64_t Now = 0;
  std::uint64_t CounterFrequency() const override { return Frequency; }
  std::uint64_t Counter() const override { return Now; }
};

// A window of 1280 x 800 at 60 frames a second, with the input service created but not active.
class InputTest : public ::testing::Test {
 protected:
  TRegister SavedRegister = Register;
  Platform::TNullPlatform Platform;  // steps 1/60 s a frame
  TInput Input{Platform};
  int KeySounds = 0;

  InputTest() {
    Register.FullScreen = false;
    Register.Width = Register.WindowWidth = 1280;
    Register.Height = Register.WindowHeight = 800;
    Input.SetKeySound([this] { ++KeySounds; });
  }
  ~InputTest() override { Register = SavedRegister; }

  // One frame as the shell runs it while the window has the focus.
  void Frame() {
    Platform.BeginFrame();
    if (Input.Inactive()) Input.Activate();
    Input.Update();
  }
  void Hold(std::initializer_list<TKey> Keys, bool Down = true) {
    for (TKey Key : Keys)
      Platform.SetKey(Key, Down);
  }
  void Release(std::initializer_list<TKey> Keys) { Hold(Keys, false); }
  // The names of the facts set in this frame other than Expected.
  std::vector<int> OtherFactsSet(TFact Expected) const {
    std::vector<int> Set;
    for (int I = 0; I < static_cast<int>(std::size(PressedFacts)); ++I)
      if (PressedFacts[I] != Expected && (Input.*PressedFacts[I])()) Set.push_back(I);
    return Set;
  }
};

// ---- Construction and the clock ---------------------------------------------------------------

TEST(InputConstruction, NoHighResolutionCounterFails) {
  TClockPlatform Platform;
  Platform.Frequency = 0;
  try {
    TInput Input(Platform);
    FAIL() << "constructed without a counter";
  } catch (const std::runtime_error& Error) {
    EXPECT_STREQ(Error.what(), "Failed to create timer - error code 95");
  }
}

TEST_F(InputTest, FrameMsIsTheFrameTimeRoundedDown) {
  struct Case {
    double Step;
    int Ms;
  };
  const Case Cases[] = {{1.0 / 60.0, 16}, {0.016999, 16}, {0.017, 17}, {0.0005, 0},
                        {0.001, 1},       {0.033333, 33}, {0.25, 250}, {2.0, 2000}};
  for (const Case& C : Cases) {
    Platform::TNullPlatform Stepped(C.Step);
    TInput Clock(Stepped);
    for (int I = 0; I < 3; ++I) {
      Stepped.BeginFrame();
      if (Clock.Inactive()) Clock.Activate();
      Clock.Update();
    }
    EXPECT_NEAR(Clock.FrameTime(), C.Step, 1e-6) << C.Step;
    EXPECT_EQ(Clock.FrameMs(), C.Ms) << C.Step;
    EXPECT_EQ(Clock.Counter() - Clock.PrevCounter(), Stepped.Counter() / 3) << C.Step;
  }
}

TEST(InputClock, SecondFractionAndPulseAtQuarterSeconds) {
  Platform::TNullPlatform Platform(0.25);
  TInput Input(Platform);
  struct Case {
    float Fraction, Pulse;
  };
  const Case Cases[] = {{0.25f, 0.5f}, {0.5f, 1.0f}, {0.75f, 0.5f}, {0.0f, 0.0f}, {0.25f, 0.5f}};
  Platform.BeginFrame();
  Input.Activate();
  for (const Case& C : Cases) {
    Input.Update();
    EXPECT_FLOAT_EQ(Input.SecondFraction(), C.Fraction) << Input.Counter();
    EXPECT_FLOAT_EQ(Input.Pulse(), C.Pulse) << Input.Counter();
    Platform.BeginFrame();
  }
}

TEST_F(InputTest, SixtyFramesASecondGiveSixteenMsAndOnePulsePerSecond) {
  float Previous = 0.0f;
  std::uint64_t PreviousSecond = 0;
  float Lowest = 1.0f, Highest = 0.0f;
  Frame();  // the activation frame
  for (int F = 0; F < 180; ++F) {
    Frame();
    ASSERT_EQ(Input.FrameMs(), 16) << F;
    const float Pulse = Input.Pulse();
    ASSERT_GE(Pulse, 0.0f);
    ASSERT_LE(Pulse, 1.0f);
    const std::uint64_t Second = Input.Counter() / Input.Frequency();
    if (Second != PreviousSecond) {
      if (Second > 1) {
        EXPECT_LE(Lowest, 0.04f) << "second " << PreviousSecond;
        EXPECT_GE(Highest, 0.96f) << "second " << PreviousSecond;
      }
      Lowest = 1.0f, Highest = 0.0f;
    } else if (Input.SecondFraction() < 0.5f) {
      EXPECT_GT(Pulse, Previous) << "rises in the first half, frame " << F;
    } else if (Input.SecondFraction() - 1.0f / 60.0f >= 0.5f) {
      EXPECT_LT(Pulse, Previous) << "falls in the second half, frame " << F;
    }
    Lowest = std::min(Lowest, Pulse);
    Highest = std::max(Highest, Pulse);
    Previous = Pulse;
    PreviousSecond = Second;
  }
}

TEST(InputClock, FastCounterStaysBelowOneSecondAndSurvivesWrapAround) {
  TClockPlatform Platform;
  Platform.Frequency = 1000000000;  // nanoseconds
  Platform.Now = std::numeric_limits<std::uint64_t>::max() - 999999;
  TInput Input(Platform);
  Input.Activate();
  Platform.Now = 5000000000 - 1;  // the last count of a second, after the counter wrapped
  Input.Update();
  EXPECT_LT(Input.SecondFraction(), 1.0f);
  EXPECT_GT(Input.SecondFraction(), 0.99f);
  EXPECT_NEAR(Input.FrameTime(), 5.001, 1e-6);
}

// ---- Activation -------------------------------------------------------------------------------

TEST_F(InputTest, UpdateDoesNothingWhileInactive) {
  EXPECT_TRUE(Input.Inactive());
  Hold({TKey::MouseLeft, TKey::Enter});
  Platform.SetCursor(640, 400);
  Platform.BeginFrame();
  Input.Update();
  EXPECT_EQ(Input.Counter(), 0u);
  EXPECT_EQ(Input.FrameTime(), 0.0f);
  EXPECT_FALSE(Input.MouseDown());
  EXPECT_EQ(Input.MouseX(), 0.0f);

  Frame();
  Release({TKey::Enter});
  Frame();
  Hold({TKey::Escape});
  Frame();
  ASSERT_TRUE(Input.EscapePressed());
  Input.Deactivate();
  EXPECT_TRUE(Input.Inactive());
  const std::uint64_t Counter = Input.Counter();
  Release({TKey::MouseLeft, TKey::Escape});
  Hold({TKey::F1});
  Platform.SetCursor(-5, -5);
  Platform.BeginFrame();
  Input.Update();
  EXPECT_EQ(Input.Counter(), Counter);
  EXPECT_TRUE(Input.EscapePressed()) << "the last frame's facts stay as they were";
  EXPECT_FALSE(Input.HelpPressed());
  EXPECT_TRUE(Input.MouseDown());
  EXPECT_FLOAT_EQ(Input.MouseX(), 0.5f);
}

TEST_F(InputTest, ActivationAfterALongPauseGivesANearZeroFrameAndNoStaleFacts) {
  for (int F = 0; F < 10; ++F)
    Frame();
  Input.Deactivate();
  for (int F = 0; F < 600; ++F)  // ten seconds away from the game
    Platform.BeginFrame();
  Hold({TKey::MouseLeft, TKey::Enter, TKey::Escape, TKey::F1, TKey::F11, TKey::Pause});

  Frame();
  EXPECT_FALSE(Input.Inactive());
  EXPECT_LT(Input.FrameTime(), 0.001f);
  EXPECT_EQ(Input.FrameMs(), 0);
  EXPECT_TRUE(Input.MouseDown());
  EXPECT_TRUE(Input.MouseWasDown());
  EXPECT_EQ(OtherFactsSet(nullptr), std::vector<int>{});

  Frame();
  EXPECT_NEAR(Input.FrameTime(), 1.0 / 60.0, 1e-6);
  Release({TKey::Escape});
  Frame();
  Hold({TKey::Escape});
  Frame();
  EXPECT_TRUE(Input.EscapePressed());
}

TEST_F(InputTest, PrimaryButtonFollowsTheSwapSettingTakenAtActivation) {
  struct Case {
    bool Swapped;
    TKey Button;
    bool Primary;
  };
  const Case Cases[] = {{false, TKey::MouseLeft, true},
                        {false, TKey::MouseRight, false},
                        {true, TKey::MouseRight, true},
                        {true, TKey::MouseLeft, false}};
  for (const Case& C : Cases) {
    Platform.ButtonsSwapped = C.Swapped;
    Input.Deactivate();
    Frame();
    EXPECT_EQ(Input.SwapButtons(), C.Swapped);
    Hold({C.Button});
    Frame();
    EXPECT_EQ(Input.MouseDown(), C.Primary) << C.Swapped;
    EXPECT_EQ(Input.MousePressed(), C.Primary) << C.Swapped;
    EXPECT_FALSE(Input.MouseWasDown());
    Frame();
    EXPECT_EQ(Input.MouseWasDown(), C.Primary);
    EXPECT_FALSE(Input.MousePressed());
    Release({C.Button});
    Frame();
  }
  // A change of the setting counts only from the next activation.
  Platform.ButtonsSwapped = false;
  Hold({TKey::MouseLeft});
  Frame();
  EXPECT_FALSE(Input.MouseDown());
}

// ---- Mouse position ---------------------------------------------------------------------------

TEST_F(InputTest, MousePositionIsRelativeToTheBackBuffer) {
  struct Case {
    bool FullScreen;
    float X, Y;
    bool Inside;
  };
  const Case Cases[] = {
      {false, 0, 0, true},      {false, 1279, 799, true},   {false, 640, 400, true},
      {false, -1, 400, false},  {false, 640, -0.5f, false}, {false, 1280, 400, false},
      {false, 640, 800, false}, {false, 2560, -800, false}, {true, -10, -10, true},
      {true, 1500, 900, true},  {true, 4000, 3000, true},
  };
  for (const Case& C : Cases) {
    Register.FullScreen = C.FullScreen;
    Register.Width = C.FullScreen ? 1920 : 1280;
    Register.Height = C.FullScreen ? 1080 : 800;
    Platform.SetCursor(C.X, C.Y);
    Frame();
    EXPECT_EQ(Input.MouseInside(), C.Inside) << C.X << ", " << C.Y;
    EXPECT_FLOAT_EQ(Input.MouseX(), C.X / Register.Width) << C.X;
    EXPECT_FLOAT_EQ(Input.MouseY(), C.Y / Register.Height) << C.Y;
  }
}

TEST_F(InputTest, BackBufferWithoutSizeGivesZeroPosition) {
  Register.Width = Register.Height = 0;
  Platform.SetCursor(100, 100);
  Frame();
  EXPECT_EQ(Input.MouseX(), 0.0f);
  EXPECT_EQ(Input.MouseY(), 0.0f);
}

// ---- Keys -------------------------------------------------------------------------------------

struct TKeyCase {
  TKey Key;
  TFact Fact;
  const char* Name;
};
const TKeyCase KeyCases[] = {
    {TKey::Escape, &TInput::EscapePressed, "Escape"},
    {TKey::Enter, &TInput::ConfirmPressed, "Enter"},
    {TKey::Space, &TInput::ConfirmPressed, "Space"},
    {TKey::F1, &TInput::HelpPressed, "F1"},
    {TKey::H, &TInput::HelpPressed, "H"},
    {TKey::Pause, &TInput::PausePressed, "Pause"},
    {TKey::F11, &TInput::FullScreenPressed, "F11"},
};

TEST_F(InputTest, KeyGivesItsFactOnlyInTheFrameItGoesDown) {
  Frame();
  for (const TKeyCase& C : KeyCases) {
    Hold({C.Key});
    Frame();
    EXPECT_TRUE((Input.*C.Fact)()) << C.Name;
    EXPECT_EQ(OtherFactsSet(C.Fact), std::vector<int>{}) << C.Name;
    for (int F = 0; F < 3; ++F) {
      Frame();
      EXPECT_FALSE((Input.*C.Fact)()) << C.Name << " held";
    }
    Release({C.Key});
    Frame();
    EXPECT_FALSE((Input.*C.Fact)()) << C.Name << " released";
    Hold({C.Key});
    Frame();
    EXPECT_TRUE((Input.*C.Fact)()) << C.Name << " again";
    Release({C.Key});
    Frame();
  }
}

TEST_F(InputTest, AnyModifierSuppressesTheKeyFacts) {
  Frame();
  for (TKey Modifier : Modifiers) {
    for (const TKeyCase& C : KeyCases) {
      const std::string What =
          std::string(C.Name) + " with modifier " + std::to_string(static_cast<int>(Modifier));
      Hold({Modifier});
      Frame();
      Hold({C.Key});
      Frame();
      // Alt with Enter is the display-mode key, checked on its own.
      if (C.Key != TKey::Enter) {
        EXPECT_EQ(OtherFactsSet(nullptr), std::vector<int>{}) << What;
      }
      EXPECT_FALSE((Input.*C.Fact)()) << What;
      // Letting go of the modifier first does not turn the held key into a new press.
      Release({Modifier});
      Frame();
      EXPECT_FALSE((Input.*C.Fact)()) << What << ", modifier released first";
      Release({C.Key});
      Frame();
    }
  }
}

TEST_F(InputTest, AltEnterSwitchesTheDisplayModeWhateverElseIsHeld) {
  struct Case {
    std::initializer_list<TKey> Modifiers;
    bool FullScreen;
  };
  const Case Cases[] = {
      {{TKey::Alt}, true},
      {{TKey::LeftAlt}, true},
      {{TKey::RightAlt}, true},
      {{TKey::LeftAlt, TKey::Control}, true},
      {{TKey::RightAlt, TKey::LeftControl, TKey::RightSystem}, true},
      {{TKey::Control}, false},
      {{TKey::LeftSystem}, false},
  };
  Frame();
  for (const Case& C : Cases) {
    Hold(C.Modifiers);
    Frame();
    Hold({TKey::Enter});
    Frame();
    EXPECT_EQ(Input.FullScreenPressed(), C.FullScreen);
    EXPECT_EQ(Input.KeyDown(TInputKey::AltEnter), C.FullScreen);
    EXPECT_FALSE(Input.ConfirmPressed());
    Frame();
    EXPECT_FALSE(Input.FullScreenPressed()) << "held";
    Release(C.Modifiers);
    Release({TKey::Enter});
    Frame();
  }
  // Enter first, then Alt: Enter confirms, and adding Alt switches the display mode.
  Hold({TKey::Enter});
  Frame();
  EXPECT_TRUE(Input.ConfirmPressed());
  EXPECT_FALSE(Input.FullScreenPressed());
  Hold({TKey::RightAlt});
  Frame();
  EXPECT_TRUE(Input.FullScreenPressed());
  EXPECT_FALSE(Input.ConfirmPressed());
}

TEST_F(InputTest, EnterAndSpaceTogetherGiveOneConfirm) {
  Frame();
  Hold({TKey::Enter, TKey::Space});
  Frame();
  EXPECT_TRUE(Input.ConfirmPressed());
  Frame();
  EXPECT_FALSE(Input.ConfirmPressed());
  Release({TKey::Enter});
  Frame();
  EXPECT_FALSE(Input.ConfirmPressed()) << "Space is still held";
  Hold({TKey::Enter});
  Frame();
  EXPECT_TRUE(Input.ConfirmPressed()) << "Enter went down again";
}

TEST_F(InputTest, RawKeyStatesOfThisAndThePreviousFrame) {
  Frame();
  Hold({TKey::Escape, TKey::Z});
  Frame();
  EXPECT_TRUE(Input.KeyDown(TInputKey::Escape));
  EXPECT_TRUE(Input.KeyDown(TInputKey::Letter1));
  EXPECT_FALSE(Input.KeyWasDown(TInputKey::Escape));
  Hold({TKey::LeftControl, TKey::MouseLeft});
  Frame();
  EXPECT_FALSE(Input.KeyDown(TInputKey::Escape)) << "a modifier is held";
  EXPECT_FALSE(Input.KeyDown(TInputKey::Letter1));
  EXPECT_TRUE(Input.KeyDown(TInputKey::Primary)) << "the mouse ignores modifiers";
  EXPECT_TRUE(Input.KeyWasDown(TInputKey::Escape));
}

// ---- Text entry -------------------------------------------------------------------------------

TEST_F(InputTest, TextEntryKeepsToItsLengthAndPlaysKeyForAcceptedKeys) {
  Input.BeginTextInput(3);
  EXPECT_TRUE(Input.TextInputActive());
  EXPECT_TRUE(Platform.TextEntry);
  EXPECT_EQ(Input.MaxInputLength(), 3);
  Input.CharInput(8);  // backspace on an empty text
  EXPECT_EQ(KeySounds, 0);
  for (char C : std::string("abcd"))
    Input.CharInput(static_cast<unsigned char>(C));
  EXPECT_EQ(Input.InputText(), "abc");
  EXPECT_EQ(KeySounds, 3);
  Input.CharInput(8);
  Input.CharInput('z');
  EXPECT_EQ(Input.InputText(), "abz");
  EXPECT_EQ(KeySounds, 5);
  for (int I = 0; I < 4; ++I)
    Input.CharInput(8);
  EXPECT_EQ(Input.InputText(), "");
  EXPECT_EQ(KeySounds, 8);
  Input.CharInput('q');

  EXPECT_EQ(Input.EndTextInput(), "q");
  EXPECT_FALSE(Input.TextInputActive());
  EXPECT_FALSE(Platform.TextEntry);
  EXPECT_EQ(Input.MaxInputLength(), 0);
  EXPECT_EQ(Input.InputText(), "");
  Input.CharInput('x');
  EXPECT_EQ(Input.InputText(), "") << "no text entry";
  EXPECT_EQ(KeySounds, 9);
}

TEST_F(InputTest, OnlyPrintableCodesAndBackspaceAreTyped) {
  struct Case {
    int Code;
    bool Typed;
  };
  const Case Cases[] = {{0, false},  {1, false},  {7, false},  {9, false},   {10, false},
                        {13, false}, {19, false}, {20, true},  {32, true},   {'A', true},
                        {127, true}, {233, true}, {255, true}, {256, false}, {-1, false}};
  for (const Case& C : Cases) {
    Input.BeginTextInput(20);
    Input.CharInput(C.Code);
    const std::string Expected = C.Typed ? std::string(1, static_cast<char>(C.Code)) : "";
    EXPECT_EQ(Input.EndTextInput(), Expected) << C.Code;
  }
}

TEST_F(InputTest, BeginTextInputStartsEmptyWithTheLengthsMagnitude) {
  struct Case {
    int MaxLength, Expected;
  };
  const Case Cases[] = {{20, 20}, {-5, 5}, {0, 0}, {INT_MIN, INT_MAX}};
  for (const Case& C : Cases) {
    Input.BeginTextInput(4);
    Input.CharInput('a');
    Input.BeginTextInput(C.MaxLength);
    EXPECT_EQ(Input.MaxInputLength(), C.Expected);
    EXPECT_EQ(Input.InputText(), "");
    Input.CharInput('b');
    EXPECT_EQ(Input.InputText(), C.Expected > 0 ? "b" : "");
    Input.EndTextInput();
  }
}

TEST(InputTextEntry, EndsThePlatformsTextEntryWhenFreed) {
  Platform::TNullPlatform Platform;
  {
    TInput Input(Platform);
    Input.BeginTextInput(5);
    ASSERT_TRUE(Platform.TextEntry);
  }
  EXPECT_FALSE(Platform.TextEntry);
}

// ---- Chords -----------------------------------------------------------------------------------

struct TChordCase {
  std::initializer_list<TKey> Letters;
  int Code;
};
const TChordCase ChordCases[] = {
    {{TKey::Z, TKey::X, TKey::M}, 1}, {{TKey::Z, TKey::X, TKey::W}, 2},
    {{TKey::Z, TKey::X, TKey::S}, 3}, {{TKey::Z, TKey::X, TKey::T}, 4},
    {{TKey::Z, TKey::Q, TKey::L}, 5},
};

TEST_F(InputTest, ChordFiresOnceAndAgainOnlyAfterAllLettersWereReleased) {
  Frame();
  EXPECT_TRUE(Input.ChordReady());
  for (const TChordCase& C : ChordCases) {
    for (int Round = 0; Round < 2; ++Round) {
      Hold(C.Letters);
      Frame();
      EXPECT_EQ(Input.CheatCode(), C.Code);
      EXPECT_FALSE(Input.ChordReady());
      for (int F = 0; F < 3; ++F) {
        Frame();
        EXPECT_EQ(Input.CheatCode(), 0) << "held, chord " << C.Code;
      }
      // Releasing one letter and pressing it again is not enough.
      Release({*C.Letters.begin()});
      Frame();
      Hold({*C.Letters.begin()});
      Frame();
      EXPECT_EQ(Input.CheatCode(), 0) << "not all released, chord " << C.Code;
      Release(C.Letters);
      Frame();
      EXPECT_EQ(Input.CheatCode(), 0);
      EXPECT_TRUE(Input.ChordReady());
    }
  }
}

TEST_F(InputTest, ChordFiresWhenItsLastLetterGoesDown) {
  Frame();
  Hold({TKey::Z});
  Frame();
  Hold({TKey::Q, TKey::A});  // A is no chord letter
  Frame();
  EXPECT_EQ(Input.CheatCode(), 0);
  EXPECT_TRUE(Input.ChordReady());
  Hold({TKey::L});
  Frame();
  EXPECT_EQ(Input.CheatCode(), 5);
}

TEST_F(InputTest, FirstCompleteChordWinsWhenSeveralAreHeld) {
  Frame();
  Hold({TKey::Z, TKey::X, TKey::T, TKey::W});
  Frame();
  EXPECT_EQ(Input.CheatCode(), 2);
}

TEST_F(InputTest, NoChordWithAModifierOrWhenHeldAtActivation) {
  Frame();
  Hold({TKey::LeftControl, TKey::Z, TKey::X, TKey::M});
  Frame();
  EXPECT_EQ(Input.CheatCode(), 0);
  Release({TKey::LeftControl, TKey::Z, TKey::X, TKey::M});
  Frame();

  Input.Deactivate();
  Hold({TKey::Z, TKey::X, TKey::M});
  Frame();
  EXPECT_EQ(Input.CheatCode(), 0);
  EXPECT_FALSE(Input.ChordReady());
  Frame();
  EXPECT_EQ(Input.CheatCode(), 0);
}

// ---- Cost -------------------------------------------------------------------------------------

TEST_F(InputTest, UpdateAllocatesNothing) {
  Frame();
  const std::size_t Before = AllocationCount();
  for (int F = 0; F < 1000; ++F) {
    Hold({TKey::MouseLeft, TKey::Enter, TKey::Z, TKey::X}, F % 2 == 0);
    Hold({TKey::M, TKey::LeftAlt}, F % 3 == 0);
    Platform.SetCursor(static_cast<float>(F), static_cast<float>(-F));
    Frame();
  }
  EXPECT_EQ(AllocationCount(), Before);
}

}  // namespace

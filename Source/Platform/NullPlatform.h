// NullPlatform.h -- a complete platform without SDL: fixed-step clock, input and events that a
// test or a tool sets frame by frame, and a window that only records what was asked of it.
#pragma once

#include <array>
#include <deque>
#include <functional>
#include <stdexcept>

#include "Platform.h"

namespace Platform {

class TNullPlatform : public TPlatform {
 public:
  // A clock of 1000000 counts per second that advances by FixedStep seconds each frame.
  explicit TNullPlatform(double FixedStep = 1.0 / 60.0);

  // -- What a test sets --------------------------------------------------------------------
  TDisplaySize Desktop{1920, 1080};
  TInstance Instance = TInstance::First;  // what AcquireSingleInstance answers
  bool WindowFails = false;               // CreateGameWindow throws "Failed to create window"
  bool ButtonsSwapped = false;
  std::string ProgramFile;     // when set, ProgramPath answers it ("" still means the real one)
  bool NoProgramFile = false;  // ProgramPath answers "" (the location cannot be determined)
  // Runs at the start of each frame with the frame's number (1 = first); may press keys, queue
  // events or throw to stand for a failure inside a frame.
  std::function<void(int Frame)> OnFrame;
  // Runs whenever the game blocks waiting for an event (the window is inactive).
  std::function<void()> OnWait;

  void QueueEvent(const TEvent& Event) { Events.push_back(Event); }
  void SetKey(TKey Key, bool Down) { Keys[static_cast<std::size_t>(Key)] = Down; }
  void SetCursor(float X, float Y) { CursorX = X, CursorY = Y; }

  // -- What a test reads -------------------------------------------------------------------
  int Frames = 0;  // frames begun so far
  int Waits = 0;   // calls of WaitEvent
  int SingleInstanceRequests = 0;
  bool FullScreen = false;
  bool TextEntry = false;
  std::string Title;
  TWindowRect CreatedRect;  // the client rectangle the window was created with
  int WindowsCreated = 0;
  int WindowsDestroyed = 0;
  std::vector<std::string> Warnings;  // texts of ShowWarning

  // -- TPlatform ---------------------------------------------------------------------------
  std::string ProgramPath() override;
  TInstance AcquireSingleInstance() override;
  TDisplaySize DesktopSize() override { return Desktop; }
  void CreateGameWindow(const TWindowRect& Client, const std::string& Title) override;
  void DestroyGameWindow() override;
  bool HasWindow() const override { return Window; }
  void SetWindowTitle(const std::string& NewTitle) override { Title = NewTitle; }
  void SetFullScreen(bool On) override { FullScreen = On; }
  TWindowRect WindowClientRect() const override;
  void ShowWarning(const std::string& Text) override { Warnings.push_back(Text); }
  bool PollEvent(TEvent& Event) override;
  void WaitEvent() override;
  void SetTextEntry(bool On) override { TextEntry = On; }
  std::uint64_t CounterFrequency() const override { return kFrequency; }
  std::uint64_t Counter() const override { return Clock; }
  void BeginFrame() override;
  bool KeyDown(TKey Key) const override { return Keys[static_cast<std::size_t>(Key)]; }
  void CursorPosition(float& X, float& Y) const override { X = CursorX, Y = CursorY; }
  bool MouseButtonsSwapped() const override { return ButtonsSwapped; }

 private:
  static constexpr std::uint64_t kFrequency = 1000000;
  std::uint64_t Step;
  std::uint64_t Clock = 0;
  bool Window = false;
  std::deque<TEvent> Events;
  std::array<bool, static_cast<std::size_t>(TKey::Count)> Keys{};
  float CursorX = 0.0f;
  float CursorY = 0.0f;
};

}  // namespace Platform

// NullPlatform.h -- a complete platform without SDL: fixed-step clock, input and events that a
// test or a tool sets frame by frame, and a window that only records what was asked of it.
#pragma once

#include <array>
#include <deque>
#include <functional>
#include <stdexcept>

#include "MemoryTexture.h"
#include "Platform.h"
#include "PlatformGraphics.h"
#include "PlatformSound.h"

namespace Platform {

// A texture of the Null device: its memory, and its RGBA pixels as of the last Unlock.
class TNullTexture : public TMemoryTexture {
 public:
  TNullTexture(int Width, int Height, TTextureFormat Format)
      : TMemoryTexture(Width, Height, Format, kMaxSize) {}
  static constexpr int kMaxSize = 8192;  // the largest side CreateTexture accepts
  // RGBA rows from the top (Width * 4 bytes each); empty before the first Unlock.
  std::vector<std::uint8_t> Rgba;
  int Unlocks = 0;  // how often the contents were handed over

 protected:
  void Upload(std::vector<std::uint8_t>& Pixels) override {
    Rgba.swap(Pixels);
    ++Unlocks;
  }
};

// A graphics device that draws nothing: it keeps textures in memory and records every quad of a
// frame for a test to inspect, and can stand for a device that loses itself.
class TNullGraphicsDevice : public TGraphicsDevice {
 public:
  // -- What a test sets --------------------------------------------------------------------
  bool AnySize = true;             // what AnySizeTextures answers
  bool TextureFails = false;       // CreateTexture throws "Failed to create texture"
  bool LoseAtNextPresent = false;  // the next EndFrame reports the device lost
  int FailedChecks = 0;            // while lost, this many CheckDevice calls fail before one works

  // -- What a test reads -------------------------------------------------------------------
  std::vector<TQuad> Quads;  // the quads of the frame being drawn, or of the last one
  int FramesBegun = 0;
  int FramesPresented = 0;
  int Checks = 0;  // calls of CheckDevice
  bool Lost = false;
  int PixelWidth = 0;  // as set by SetView
  int PixelHeight = 0;
  float ViewWidth = 0.0f;
  float ViewHeight = 0.0f;

  // -- TGraphicsDevice ---------------------------------------------------------------------
  bool AnySizeTextures() const override { return AnySize; }
  std::unique_ptr<TDeviceTexture> CreateTexture(int Width, int Height,
                                                TTextureFormat Format) override;
  void SetView(int PixelWidth, int PixelHeight, float ViewWidth, float ViewHeight) override;
  bool CheckDevice() override;
  void BeginFrame() override;
  void DrawQuad(const TQuad& Quad) override { Quads.push_back(Quad); }
  bool EndFrame() override;
  // Nothing is rasterised: a black, opaque frame of the view's pixel size.
  std::vector<std::uint8_t> ReadFrame(int& Width, int& Height) override;
};

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
  bool AnySizeTextures = true;        // what the graphics device opened next reports
  // When set, OpenGraphicsDevice throws EUnsupportedGraphics with this message.
  std::string GraphicsFailure;
  // When set, OpenSoundDevice throws it as its failure message.
  std::string SoundFailure;
  // The sound device's mix is kept in CapturedSound (it is mixed as the frame clock advances).
  bool CaptureSound = false;
  // What the sound device mixed while CaptureSound was on: 48 kHz float stereo frames.
  std::vector<float> CapturedSound;
  // The mixer of the sound device opened last, or nullptr.
  TSoundMixer* SoundMixer() const { return Mixer.get(); }
  // Writes CapturedSound as a 16-bit stereo 48 kHz WAV file; "" on success, else the failure.
  std::string WriteCapturedSound(const std::string& Path) const;

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
  std::unique_ptr<TGraphicsDevice> OpenGraphicsDevice() override;
  // A device whose mixer runs in BeginFrame, as many frames as the clock advanced since it opened.
  std::unique_ptr<TSoundDevice> OpenSoundDevice() override;

 private:
  static constexpr std::uint64_t kFrequency = 1000000;
  std::uint64_t Step;
  std::uint64_t Clock = 0;
  bool Window = false;
  std::deque<TEvent> Events;
  std::array<bool, static_cast<std::size_t>(TKey::Count)> Keys{};
  float CursorX = 0.0f;
  float CursorY = 0.0f;
  std::shared_ptr<TSoundMixer> Mixer;
  std::uint64_t SoundOpenedAt = 0;  // the clock when the sound device opened
  std::uint64_t SoundFrames = 0;    // frames mixed since then
  std::vector<float> MixBlock;

  void MixSound();
};

}  // namespace Platform

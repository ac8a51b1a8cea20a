// NullPlatform.cpp -- the platform of tests and tools: nothing reaches a display or a sound card.
#include "NullPlatform.h"

#include <cmath>

namespace Platform {

TNullPlatform::TNullPlatform(double FixedStep)
    : Step(static_cast<std::uint64_t>(std::llround(FixedStep * kFrequency))) {}

std::string TNullPlatform::ProgramPath() {
  if (NoProgramFile) return {};
  return ProgramFile.empty() ? TPlatform::ProgramPath() : ProgramFile;
}

TInstance TNullPlatform::AcquireSingleInstance() {
  ++SingleInstanceRequests;
  return Instance;
}

void TNullPlatform::CreateGameWindow(const TWindowRect& Client, const std::string& NewTitle) {
  if (WindowFails) throw std::runtime_error("Failed to create window");
  CreatedRect = Client;
  Title = NewTitle;
  Window = true;
  ++WindowsCreated;
}

void TNullPlatform::DestroyGameWindow() {
  if (!Window) return;
  Window = false;
  ++WindowsDestroyed;
}

TWindowRect TNullPlatform::WindowClientRect() const {
  if (FullScreen) return {0, 0, Desktop.Width, Desktop.Height};
  return CreatedRect;
}

bool TNullPlatform::PollEvent(TEvent& Event) {
  if (Events.empty()) return false;
  Event = Events.front();
  Events.pop_front();
  return true;
}

void TNullPlatform::WaitEvent() {
  ++Waits;
  if (OnWait) OnWait();
  // Nothing can arrive from outside: a test that leaves the game inactive without queuing an
  // event would wait forever, so treat that as the user closing the window.
  if (Events.empty()) Events.push_back({TEventKind::Close});
}

void TNullPlatform::BeginFrame() {
  Clock += Step;
  ++Frames;
  MixSound();
  if (OnFrame) OnFrame(Frames);
}

std::unique_ptr<TSoundDevice> TNullPlatform::OpenSoundDevice() {
  if (!SoundFailure.empty()) throw std::runtime_error(SoundFailure);
  Mixer = std::make_shared<TSoundMixer>();
  SoundOpenedAt = Clock;
  SoundFrames = 0;
  return std::make_unique<TSoundDevice>(Mixer);
}

// The sound card of the Null platform: what the clock advanced, mixed into memory.
void TNullPlatform::MixSound() {
  if (!Mixer) return;
  const std::uint64_t Due = (Clock - SoundOpenedAt) * kMixRate / kFrequency;
  const auto Count = static_cast<std::size_t>(Due - SoundFrames);
  if (Count == 0) return;
  if (MixBlock.size() < 2 * Count) MixBlock.resize(2 * Count);
  Mixer->Mix(MixBlock.data(), static_cast<int>(Count));
  SoundFrames = Due;
  if (CaptureSound)
    CapturedSound.insert(CapturedSound.end(), MixBlock.begin(), MixBlock.begin() + 2 * Count);
}

std::string TNullPlatform::WriteCapturedSound(const std::string& Path) const {
  std::vector<std::int16_t> Samples(CapturedSound.size());
  for (std::size_t I = 0; I < Samples.size(); ++I)
    Samples[I] = FloatToPcm16(CapturedSound[I]);
  return WriteFileAtomic(Path, EncodeWav(TSoundFormat::Pcm(2, 16, kMixRate), Samples.data(),
                                         Samples.size() * sizeof(std::int16_t)));
}

std::unique_ptr<TGraphicsDevice> TNullPlatform::OpenGraphicsDevice() {
  if (!GraphicsFailure.empty()) throw EUnsupportedGraphics(GraphicsFailure);
  auto Device = std::make_unique<TNullGraphicsDevice>();
  Device->AnySize = AnySizeTextures;
  return Device;
}

// ---- The Null graphics device ----

std::unique_ptr<TDeviceTexture> TNullGraphicsDevice::CreateTexture(int Width, int Height,
                                                                   TTextureFormat Format) {
  if (TextureFails) throw EGraphicsError("Failed to create texture");
  return std::make_unique<TNullTexture>(Width, Height, Format);
}

void TNullGraphicsDevice::SetView(int NewPixelWidth, int NewPixelHeight, float NewViewWidth,
                                  float NewViewHeight) {
  PixelWidth = NewPixelWidth;
  PixelHeight = NewPixelHeight;
  ViewWidth = NewViewWidth;
  ViewHeight = NewViewHeight;
}

bool TNullGraphicsDevice::CheckDevice() {
  ++Checks;
  if (Lost && FailedChecks > 0) {
    --FailedChecks;
    return false;
  }
  Lost = false;
  return true;
}

void TNullGraphicsDevice::BeginFrame() {
  Quads.clear();
  ++FramesBegun;
}

bool TNullGraphicsDevice::EndFrame() {
  ++FramesPresented;
  if (LoseAtNextPresent) {
    LoseAtNextPresent = false;
    Lost = true;
  }
  return !Lost;
}

std::vector<std::uint8_t> TNullGraphicsDevice::ReadFrame(int& Width, int& Height) {
  Width = PixelWidth > 0 && PixelHeight > 0 ? PixelWidth : 0;
  Height = Width > 0 ? PixelHeight : 0;
  std::vector<std::uint8_t> Frame(static_cast<std::size_t>(Width) * Height * 4, 0);
  for (std::size_t I = 3; I < Frame.size(); I += 4)
    Frame[I] = 255;
  return Frame;
}

}  // namespace Platform

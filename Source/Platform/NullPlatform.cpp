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
  if (OnFrame) OnFrame(Frames);
}

}  // namespace Platform

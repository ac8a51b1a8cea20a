// SdlSound.cpp -- the SDL platform's sound device: the software mixer feeding SDL's audio callback.
#include "SdlSound.h"

#include <SDL.h>

#include <stdexcept>
#include <string>

namespace Platform {

namespace {

constexpr int kCallbackFrames = 1024;  // about 21 ms a callback

// A device whose mixer SDL's audio thread runs. Closing the SDL device first waits for a running
// callback to end, so the mixer is never used after it goes.
class TSdlSoundDevice : public TSoundDevice {
 public:
  TSdlSoundDevice(std::shared_ptr<TSoundMixer> Mixer, SDL_AudioDeviceID Output, std::string Problem)
      : TSoundDevice(std::move(Mixer), std::move(Problem)), Output(Output) {}
  ~TSdlSoundDevice() override {
    SDL_CloseAudioDevice(Output);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }

 private:
  SDL_AudioDeviceID Output;
};

// SDL's audio callback, on SDL's audio thread.
void FeedOutput(void* Mixer, Uint8* Stream, int Length) {
  static_cast<TSoundMixer*>(Mixer)->Mix(reinterpret_cast<float*>(Stream),
                                        Length / static_cast<int>(2 * sizeof(float)));
}

// Starts SDL's audio with the driver it chooses (or the one the hint names) and opens its
// default output for Mixer; 0, with Error set, when that fails.
SDL_AudioDeviceID OpenOutput(TSoundMixer& Mixer, std::string& Error) {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    Error = std::string("Failed to start SDL audio (") + SDL_GetError() + ")";
    return 0;
  }
  SDL_AudioSpec Wanted{};
  Wanted.freq = kMixRate;
  Wanted.format = AUDIO_F32SYS;
  Wanted.channels = 2;
  Wanted.samples = kCallbackFrames;
  Wanted.callback = FeedOutput;
  Wanted.userdata = &Mixer;
  SDL_AudioSpec Obtained{};
  // No changes allowed: SDL converts our format to whatever the hardware wants.
  SDL_AudioDeviceID Output = SDL_OpenAudioDevice(nullptr, 0, &Wanted, &Obtained, 0);
  if (Output == 0) {
    Error = std::string("Failed to open sound device (") + SDL_GetError() + ")";
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  return Output;
}

}  // namespace

std::unique_ptr<TSoundDevice> OpenSdlSoundDevice(bool Headless) {
  auto Mixer = std::make_shared<TSoundMixer>();
  std::string Problem;
  SDL_AudioDeviceID Output = 0;
  if (!Headless) Output = OpenOutput(*Mixer, Problem);
  if (Output == 0) {
    // No output to play on: the dummy driver consumes the mix in real time, so sounds still
    // start, end and return their sources as they would on a sound card.
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    std::string DummyError;
    Output = OpenOutput(*Mixer, DummyError);
    if (Output == 0) throw std::runtime_error(Problem.empty() ? DummyError : Problem);
  }
  SDL_PauseAudioDevice(Output, 0);
  return std::make_unique<TSdlSoundDevice>(std::move(Mixer), Output, std::move(Problem));
}

}  // namespace Platform

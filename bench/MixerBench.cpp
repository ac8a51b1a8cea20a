// MixerBench.cpp -- the software mixer at the game's full load: 24 voices of 44.1 kHz 16-bit
// stereo, resampled and mixed to 48 kHz float stereo in blocks the size of SDL's callback. The
// "core_percent" counter is the share of one core that mixing takes, in per cent.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "PlatformSound.h"

namespace {

constexpr int kVoices = 24;         // the source pool's size
constexpr int kBlockFrames = 1024;  // one SDL audio callback

void BM_Mix24Voices44100To48000(benchmark::State& State) {
  auto Mixer = std::make_shared<Platform::TSoundMixer>();
  Platform::TSoundDevice Device(Mixer);
  const auto Format = Platform::TSoundFormat::Pcm(2, 16, 44100);
  // Two seconds of sound per voice, each a different tone, at different volumes; half loop.
  std::vector<std::unique_ptr<Platform::TSoundBuffer>> Voices;
  std::vector<std::int16_t> Samples(2 * 88200);
  for (int Voice = 0; Voice < kVoices; ++Voice) {
    for (std::size_t I = 0; I < Samples.size(); ++I)
      Samples[I] = static_cast<std::int16_t>(
          3000 * std::sin(0.01 * (Voice + 1) * static_cast<double>(I / 2) + (I % 2)));
    auto Buffer = Device.CreateBuffer(Format, static_cast<std::uint32_t>(Samples.size() * 2));
    std::span<std::uint8_t> Region = Buffer->Lock(0, Buffer->Size());
    std::memcpy(Region.data(), Samples.data(), Region.size());
    Buffer->Unlock();
    Buffer->SetVolume(-100 * Voice);
    Buffer->Play(true);
    Voices.push_back(std::move(Buffer));
  }
  std::vector<float> Out(2 * kBlockFrames);
  for (auto _ : State) {
    Mixer->Mix(Out.data(), kBlockFrames);
    benchmark::DoNotOptimize(Out.data());
    benchmark::ClobberMemory();
  }
  // Seconds of mixing per hundredth of a second of sound.
  State.counters["core_percent"] = benchmark::Counter(
      0.01 * kBlockFrames / Platform::kMixRate,
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_Mix24Voices44100To48000);

}  // namespace

// SoundMixerTests.cpp -- the sound device's software mixer: formats, gains, resampling, play once
// and looping, duplicates, region locks, the output thread, WAV output and the Null device.
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "AllocationCounter.h"
#include "NullPlatform.h"
#include "PlatformSound.h"
#include "TestSupport.h"

namespace {

using Platform::TSoundBuffer;
using Platform::TSoundFormat;

// A device over a mixer the test runs by hand.
class SoundMixerTest : public ::testing::Test {
 protected:
  std::shared_ptr<Platform::TSoundMixer> Mixer = std::make_shared<Platform::TSoundMixer>();
  Platform::TSoundDevice Device{Mixer};

  // A buffer holding these 16-bit samples.
  std::unique_ptr<TSoundBuffer> Buffer16(int Channels, int Rate,
                                         const std::vector<std::int16_t>& Samples) {
    auto Buffer = Device.CreateBuffer(TSoundFormat::Pcm(Channels, 16, Rate),
                                      static_cast<std::uint32_t>(Samples.size() * 2));
    Fill(*Buffer, 0, Samples.data(), Samples.size() * 2);
    return Buffer;
  }
  static void Fill(TSoundBuffer& Buffer, std::uint32_t Offset, const void* Data,
                   std::size_t Bytes) {
    std::span<std::uint8_t> Region = Buffer.Lock(Offset, static_cast<std::uint32_t>(Bytes));
    ASSERT_EQ(Region.size(), Bytes);
    std::memcpy(Region.data(), Data, Bytes);
    Buffer.Unlock();
  }
  // The next Frames frames of the mix: left, right, left, ...
  std::vector<float> Mix(int Frames) {
    std::vector<float> Out(2 * static_cast<std::size_t>(Frames), 99.0f);
    Mixer->Mix(Out.data(), Frames);
    return Out;
  }
};

constexpr float kLsb = 1.0f / 32768.0f;

// ---- Formats and buffers ----------------------------------------------------------------------

TEST(SoundFormat, ValidLayouts) {
  struct Case {
    TSoundFormat Format;
    bool Valid;
  };
  TSoundFormat BadAlign = TSoundFormat::Pcm(2, 16, 44100);
  BadAlign.BlockAlign = 2;
  TSoundFormat BadRate = TSoundFormat::Pcm(1, 8, 22050);
  BadRate.BytesPerSecond = 22051;
  const Case Cases[] = {
      {TSoundFormat::Pcm(1, 8, 8000), true},
      {TSoundFormat::Pcm(2, 16, 44100), true},
      {TSoundFormat::Pcm(1, 16, 100), true},
      {TSoundFormat::Pcm(2, 8, 200000), true},
      {TSoundFormat::Pcm(0, 16, 44100), false},
      {TSoundFormat::Pcm(3, 16, 44100), false},
      {TSoundFormat::Pcm(2, 24, 44100), false},
      {TSoundFormat::Pcm(2, 32, 44100), false},
      {TSoundFormat::Pcm(2, 16, 99), false},
      {TSoundFormat::Pcm(2, 16, 200001), false},
      {TSoundFormat::Pcm(2, 16, 0), false},
      {BadAlign, false},
      {BadRate, false},
  };
  for (const Case& C : Cases)
    EXPECT_EQ(C.Format.Valid(), C.Valid)
        << C.Format.Channels << " x " << C.Format.BitsPerSample << " @ " << C.Format.SampleRate;
}

TEST_F(SoundMixerTest, BuffersHoldWholeFramesOfAValidFormat) {
  const TSoundFormat Stereo16 = TSoundFormat::Pcm(2, 16, 44100);
  EXPECT_EQ(Device.CreateBuffer(Stereo16, 0), nullptr);
  EXPECT_EQ(Device.CreateBuffer(Stereo16, 2), nullptr);  // half a frame
  EXPECT_EQ(Device.CreateBuffer(Stereo16, 6), nullptr);
  EXPECT_EQ(Device.CreateBuffer(Stereo16, 0x10000000), nullptr);
  EXPECT_EQ(Device.CreateBuffer(TSoundFormat::Pcm(2, 24, 44100), 6), nullptr);
  auto Buffer = Device.CreateBuffer(Stereo16, 8);
  ASSERT_NE(Buffer, nullptr);
  EXPECT_EQ(Buffer->Size(), 8u);
  EXPECT_EQ(Buffer->Format().SampleRate, 44100);
  EXPECT_FALSE(Buffer->Playing());
  EXPECT_EQ(Buffer->Volume(), 0);
  EXPECT_EQ(Buffer->Position(), 0u);
}

TEST_F(SoundMixerTest, NewBuffersAreSilentIn8And16Bits) {
  auto Eight = Device.CreateBuffer(TSoundFormat::Pcm(1, 8, Platform::kMixRate), 64);
  auto Sixteen = Device.CreateBuffer(TSoundFormat::Pcm(2, 16, Platform::kMixRate), 64);
  Eight->Play(true);
  Sixteen->Play(true);
  for (float Value : Mix(100))
    EXPECT_EQ(Value, 0.0f);
}

// ---- What is heard ----------------------------------------------------------------------------

TEST_F(SoundMixerTest, EachLayoutReachesBothOutputChannels) {
  struct Case {
    int Channels, Bits;
    std::vector<std::uint8_t> Bytes;
    std::vector<float> Expected;  // left, right of each frame
  };
  auto Le = [](std::int16_t V) {
    return std::vector<std::uint8_t>{static_cast<std::uint8_t>(V & 0xFF),
                                     static_cast<std::uint8_t>((V >> 8) & 0xFF)};
  };
  auto Join = [](std::initializer_list<std::vector<std::uint8_t>> Parts) {
    std::vector<std::uint8_t> All;
    for (const auto& Part : Parts)
      All.insert(All.end(), Part.begin(), Part.end());
    return All;
  };
  const Case Cases[] = {
      {1, 8, {0x80, 0xC0, 0x00, 0xFF}, {0, 0, 0.5f, 0.5f, -1, -1, 127 / 128.0f, 127 / 128.0f}},
      {2, 8, {0x40, 0xC0, 0x80, 0x00}, {-0.5f, 0.5f, 0, -1}},
      {1, 16, Join({Le(16384), Le(-32768)}), {0.5f, 0.5f, -1, -1}},
      {2, 16, Join({Le(-8192), Le(32767), Le(1), Le(0)}), {-0.25f, 32767 * kLsb, kLsb, 0}},
  };
  for (const Case& C : Cases) {
    auto Buffer = Device.CreateBuffer(TSoundFormat::Pcm(C.Channels, C.Bits, Platform::kMixRate),
                                      static_cast<std::uint32_t>(C.Bytes.size()));
    Fill(*Buffer, 0, C.Bytes.data(), C.Bytes.size());
    Buffer->Play(false);
    const int Frames = static_cast<int>(C.Expected.size() / 2);
    std::vector<float> Out = Mix(Frames + 1);
    for (std::size_t I = 0; I < C.Expected.size(); ++I)
      EXPECT_EQ(Out[I], C.Expected[I]) << C.Channels << " x " << C.Bits << " value " << I;
    EXPECT_EQ(Out[C.Expected.size()], 0.0f);  // played once: then silence
    EXPECT_FALSE(Buffer->Playing());
  }
}

TEST_F(SoundMixerTest, VolumeIsHundredthsOfADecibel) {
  struct Case {
    int Volume, Stored;
    float Gain;
  };
  const Case Cases[] = {{0, 0, 1.0f},
                        {-600, -600, 0.50119f},
                        {-2000, -2000, 0.1f},
                        {-700, -700, 0.44668f},
                        {-9999, -9999, 1.00115e-5f},
                        {-10000, -10000, 0.0f},
                        {-20000, -10000, 0.0f},
                        {500, 0, 1.0f}};
  auto Buffer = Buffer16(1, Platform::kMixRate, {16384});
  for (const Case& C : Cases) {
    Buffer->SetVolume(C.Volume);
    EXPECT_EQ(Buffer->Volume(), C.Stored);
    Buffer->SetPosition(0);
    Buffer->Play(false);
    const float Heard = Mix(1)[0];
    if (C.Gain == 0.0f)
      EXPECT_EQ(Heard, 0.0f) << C.Volume;
    else
      EXPECT_NEAR(Heard / 0.5f, C.Gain, C.Gain * 1e-4f) << C.Volume;
  }
}

TEST_F(SoundMixerTest, VoicesAddUpAndTheSumIsClipped) {
  auto A = Buffer16(1, Platform::kMixRate, {8192, 30000, -30000});
  auto B = Buffer16(2, Platform::kMixRate, {4096, -4096, 30000, 30000, -30000, -1000});
  A->Play(false);
  B->Play(false);
  std::vector<float> Out = Mix(3);
  EXPECT_FLOAT_EQ(Out[0], 0.375f);
  EXPECT_FLOAT_EQ(Out[1], 0.125f);
  EXPECT_EQ(Out[2], 1.0f);
  EXPECT_EQ(Out[3], 1.0f);
  EXPECT_EQ(Out[4], -1.0f);
  EXPECT_FLOAT_EQ(Out[5], -31000 * kLsb);
  EXPECT_EQ(Mixer->PlayingVoices(), 0);
}

TEST_F(SoundMixerTest, OtherRatesAreInterpolatedToTheOutputRate) {
  // 24 kHz: every second output frame lies halfway between two source frames.
  auto Half = Buffer16(1, 24000, {0, 1000, 3000, -1000});
  Half->Play(false);
  const float Expected[] = {0, 500, 1000, 2000, 3000, 1000, -1000, -500};
  std::vector<float> Out = Mix(9);
  for (int I = 0; I < 8; ++I)
    EXPECT_NEAR(Out[2 * I], Expected[I] * kLsb, 1e-7f) << I;
  EXPECT_EQ(Out[16], 0.0f);
  EXPECT_FALSE(Half->Playing());

  // 44.1 kHz stereo, a ramp: output frame n plays source position n x 44100 / 48000.
  std::vector<std::int16_t> Ramp;
  for (int I = 0; I < 4410; ++I)
    Ramp.insert(Ramp.end(), {static_cast<std::int16_t>(I), 0});
  auto Cd = Buffer16(2, 44100, Ramp);
  Cd->Play(false);
  Out = Mix(3999);
  for (int N : {0, 1, 7, 160, 1999, 3998})
    EXPECT_NEAR(Out[2 * N] / kLsb, N * 44100.0 / 48000.0, 2e-3) << N;
  EXPECT_EQ(Cd->Position(), 3674u * 4u);  // 3999 x 44100 / 48000 = 3674.08

  Cd->Stop();

  // 96 kHz is read every second frame.
  auto Double = Buffer16(1, 96000, {10, 20, 30, 40, 50, 60});
  Double->Play(false);
  Out = Mix(4);
  EXPECT_NEAR(Out[0] / kLsb, 10, 1e-3);
  EXPECT_NEAR(Out[2] / kLsb, 30, 1e-3);
  EXPECT_NEAR(Out[4] / kLsb, 50, 1e-3);
  EXPECT_EQ(Out[6], 0.0f);
}

TEST_F(SoundMixerTest, LoopingWrapsWithoutAGapAndPlayingOnceStopsAtTheStart) {
  auto Loop = Buffer16(1, Platform::kMixRate, {100, 200, 300});
  Loop->Play(true);
  std::vector<float> Out = Mix(7);
  const float Expected[] = {100, 200, 300, 100, 200, 300, 100};
  for (int I = 0; I < 7; ++I)
    EXPECT_NEAR(Out[2 * I] / kLsb, Expected[I], 1e-3) << I;
  EXPECT_TRUE(Loop->Playing());
  EXPECT_EQ(Loop->Position(), 2u);  // the next frame is the second

  // At half the rate the last frame leads into the first again.
  auto Slow = Buffer16(1, 24000, {100, 300});
  Slow->Play(true);
  Loop->Stop();
  Out = Mix(5);
  const float SlowExpected[] = {100, 200, 300, 200, 100};
  for (int I = 0; I < 5; ++I)
    EXPECT_NEAR(Out[2 * I] / kLsb, SlowExpected[I], 1e-3) << I;

  // Switching a playing loop to "once" lets it end at its end.
  Slow->Play(false);
  EXPECT_FALSE(Slow->Looping());
  Mix(10);
  EXPECT_FALSE(Slow->Playing());
  EXPECT_EQ(Slow->Position(), 0u);
}

TEST_F(SoundMixerTest, StopKeepsThePositionAndSetPositionTakesWholeFrames) {
  auto Buffer = Buffer16(2, Platform::kMixRate, std::vector<std::int16_t>(200, 5));
  Buffer->Play(false);
  Mix(10);
  Buffer->Stop();
  EXPECT_EQ(Buffer->Position(), 40u);
  Mix(10);
  EXPECT_EQ(Buffer->Position(), 40u);
  Buffer->SetPosition(47);  // inside the twelfth frame
  EXPECT_EQ(Buffer->Position(), 44u);
  Buffer->SetPosition(400);  // the end counts as the start
  EXPECT_EQ(Buffer->Position(), 0u);
  Buffer->SetPosition(396);
  Buffer->Play(false);
  EXPECT_EQ(Mixer->PlayingVoices(), 1);
  Mix(2);
  EXPECT_FALSE(Buffer->Playing());
  EXPECT_EQ(Mixer->PlayingVoices(), 0);
}

// ---- Duplicates and locks ---------------------------------------------------------------------

TEST_F(SoundMixerTest, DuplicatesShareDataButNotPositionOrVolume) {
  auto Original = Buffer16(1, Platform::kMixRate, {1000, 2000, 3000, 4000});
  Original->SetVolume(-600);
  auto Copy = Device.DuplicateBuffer(*Original);
  EXPECT_EQ(Copy->Volume(), -600);
  EXPECT_EQ(Copy->Size(), Original->Size());
  EXPECT_FALSE(Copy->Playing());

  Copy->SetVolume(0);
  Original->Play(false);
  Mix(2);
  Copy->Play(false);
  std::vector<float> Out = Mix(2);  // original at frame 2 (half volume), copy at frame 0
  EXPECT_NEAR(Out[0] / kLsb, 3000 * 0.501187 + 1000, 0.5);

  // What is written through one is heard through the other; the copy outlives the original.
  const std::int16_t Loud[] = {8000, 8000, 8000, 8000};
  Fill(*Original, 0, Loud, sizeof(Loud));
  Original.reset();
  Copy->SetPosition(0);
  Copy->Play(false);
  Out = Mix(1);
  EXPECT_NEAR(Out[0] / kLsb, 8000, 1e-3);
}

TEST_F(SoundMixerTest, ALockedRegionReachesTheMixerOnlyAtUnlock) {
  auto Buffer = Buffer16(1, Platform::kMixRate, {1, 2, 3, 4, 5, 6, 7, 8});
  EXPECT_TRUE(Buffer->Lock(0, 18).empty());  // beyond the end
  EXPECT_TRUE(Buffer->Lock(16, 1).empty());
  EXPECT_TRUE(Buffer->Lock(4, 0).empty());
  std::span<std::uint8_t> Region = Buffer->Lock(4, 8);  // frames 2..5
  ASSERT_EQ(Region.size(), 8u);
  EXPECT_TRUE(Buffer->Lock(0, 2).empty());  // one lock at a time
  std::int16_t Seen[4];
  std::memcpy(Seen, Region.data(), sizeof(Seen));
  EXPECT_EQ(Seen[0], 3);
  EXPECT_EQ(Seen[3], 6);
  const std::int16_t New[] = {-30, -40, -50, -60};
  std::memcpy(Region.data(), New, sizeof(New));

  Buffer->Play(true);
  std::vector<float> Out = Mix(8);
  EXPECT_NEAR(Out[4] / kLsb, 3, 1e-3);  // not yet handed over
  Buffer->Unlock();
  Out = Mix(8);
  const float Expected[] = {1, 2, -30, -40, -50, -60, 7, 8};
  for (int I = 0; I < 8; ++I)
    EXPECT_NEAR(Out[2 * I] / kLsb, Expected[I], 1e-3) << I;
  EXPECT_FALSE(Buffer->Lock(0, 2).empty());
}

// The output thread mixes while the main thread rewrites a playing buffer: every mixed block sees
// the buffer either wholly before or wholly after an Unlock, never half written.
TEST_F(SoundMixerTest, TheOutputThreadNeverSeesAHalfWrittenRegion) {
  constexpr int kFrames = 4096;
  auto Buffer = Buffer16(1, Platform::kMixRate, std::vector<std::int16_t>(kFrames, 1000));
  Buffer->Play(true);
  std::atomic<bool> Done = false;
  std::atomic<int> Torn = 0, Blocks = 0;
  std::thread Output([&] {
    std::vector<float> Out(2 * 256);
    while (!Done) {
      Mixer->Mix(Out.data(), 256);
      for (float Value : Out)
        if (Value != Out[0]) ++Torn;
      ++Blocks;
    }
  });
  std::vector<std::int16_t> Fill(kFrames);
  for (int Round = 0; Round < 400 || Blocks < 50; ++Round) {
    std::span<std::uint8_t> Region = Buffer->Lock(0, kFrames * 2);
    ASSERT_FALSE(Region.empty());
    std::fill(Fill.begin(), Fill.end(), static_cast<std::int16_t>(Round % 2 ? 1000 : -1000));
    // Write it slowly, in pieces, as a decoder would.
    for (int Piece = 0; Piece < 8; ++Piece)
      std::memcpy(Region.data() + Piece * kFrames / 4, Fill.data() + Piece * kFrames / 8,
                  kFrames / 4);
    Buffer->Unlock();
    if (Round % 50 == 0) {
      auto Copy = Device.DuplicateBuffer(*Buffer);
      Copy->Play(true);
      Buffer->SetVolume(Round % 100 ? 0 : -10);
    }
  }
  Done = true;
  Output.join();
  EXPECT_EQ(Torn, 0);
  EXPECT_GT(Blocks, 0);
}

TEST_F(SoundMixerTest, MixingAllocatesNothing) {
  std::vector<std::unique_ptr<TSoundBuffer>> Voices;
  for (int I = 0; I < 8; ++I) {
    Voices.push_back(Buffer16(I % 2 + 1, 22050 + 5000 * I, std::vector<std::int16_t>(5000, 7)));
    Voices.back()->Play(I % 3 != 0);
  }
  std::vector<float> Out(2 * 1024);
  const std::size_t Before = AllocationCount();
  for (int Block = 0; Block < 50; ++Block)
    Mixer->Mix(Out.data(), 1024);
  EXPECT_EQ(AllocationCount() - Before, 0u);
  EXPECT_EQ(Mixer->FramesMixed(), 50u * 1024u);
}

// ---- WAV output and the Null device -----------------------------------------------------------

TEST(SoundWav, FloatsBecomeRoundedClippedSixteenBitSamples) {
  struct Case {
    float Value;
    std::int16_t Pcm;
  };
  const Case Cases[] = {{0.0f, 0},         {0.5f, 16384},      {-0.5f, -16384}, {1.0f, 32767},
                        {-1.0f, -32768},   {2.0f, 32767},      {-3.0f, -32768}, {kLsb * 0.49f, 0},
                        {kLsb * 0.51f, 1}, {-kLsb * 0.51f, -1}};
  for (const Case& C : Cases)
    EXPECT_EQ(Platform::FloatToPcm16(C.Value), C.Pcm) << C.Value;
}

TEST(SoundWav, EncodesARiffHeaderAndPadsOddData) {
  const std::uint8_t Data[] = {1, 2, 3};
  const std::string File = Platform::EncodeWav(TSoundFormat::Pcm(1, 8, 11025), Data, 3);
  const std::uint8_t Expected[] = {'R',  'I',  'F', 'F', 40,   0,    0, 0, 'W', 'A', 'V', 'E',
                                   'f',  'm',  't', ' ', 16,   0,    0, 0, 1,   0,   1,   0,
                                   0x11, 0x2B, 0,   0,   0x11, 0x2B, 0, 0, 1,   0,   8,   0,
                                   'd',  'a',  't', 'a', 3,    0,    0, 0, 1,   2,   3,   0};
  ASSERT_EQ(File.size(), sizeof(Expected));
  EXPECT_EQ(std::memcmp(File.data(), Expected, sizeof(Expected)), 0);
}

TEST(NullSoundDevice, MixesAsTheFrameClockAdvancesAndWritesWhatItMixed) {
  Platform::TNullPlatform Null(0.01);
  Null.BeginFrame();  // before the device opens: nothing to mix
  Null.CaptureSound = true;
  auto Device = Null.OpenSoundDevice();
  ASSERT_NE(Null.SoundMixer(), nullptr);
  auto Buffer = Device->CreateBuffer(TSoundFormat::Pcm(1, 16, Platform::kMixRate), 2 * 600);
  const std::vector<std::int16_t> Half(600, 16384);
  std::span<std::uint8_t> Region = Buffer->Lock(0, 1200);
  std::memcpy(Region.data(), Half.data(), 1200);
  Buffer->Unlock();
  Buffer->Play(false);
  for (int I = 0; I < 3; ++I)
    Null.BeginFrame();
  EXPECT_EQ(Null.SoundMixer()->FramesMixed(), 1440u);  // 30 ms at 48 kHz
  ASSERT_EQ(Null.CapturedSound.size(), 2u * 1440u);
  EXPECT_EQ(Null.CapturedSound[0], 0.5f);
  EXPECT_EQ(Null.CapturedSound[2 * 599 + 1], 0.5f);
  EXPECT_EQ(Null.CapturedSound[2 * 600], 0.0f);
  EXPECT_FALSE(Buffer->Playing());

  TScratchFolder Folder;
  const std::string Path = Folder.Path() + "/mix.wav";
  EXPECT_EQ(Null.WriteCapturedSound(Path), "");
  std::optional<std::string> File = ReadTextFile(Path);
  ASSERT_TRUE(File);
  ASSERT_EQ(File->size(), 44u + 4u * 1440u);
  std::int16_t First[2];
  std::memcpy(First, File->data() + 44, 4);
  EXPECT_EQ(First[0], 16384);
  EXPECT_EQ(First[1], 16384);
  EXPECT_EQ(File->compare(0, 4, "RIFF"), 0);
}

TEST(NullSoundDevice, AFailureToStandForAMissingSoundCard) {
  Platform::TNullPlatform Null;
  Null.SoundFailure = "Failed to open sound device (no card)";
  try {
    Null.OpenSoundDevice();
    FAIL() << "opened";
  } catch (const std::runtime_error& Error) {
    EXPECT_STREQ(Error.what(), "Failed to open sound device (no card)");
  }
}

}  // namespace

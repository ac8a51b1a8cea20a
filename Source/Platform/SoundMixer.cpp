// SoundMixer.cpp -- the software mixer behind every sound device: PCM buffers and their voices,
// resampled by linear interpolation to the output rate and summed at their gains.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "PlatformSound.h"

namespace Platform {

// PCM data that a buffer and its duplicates share. The bytes change only in Unlock, under the
// mixer's lock.
struct TSoundData {
  TSoundFormat Format;
  std::unique_ptr<std::uint8_t[]> Bytes;
  std::uint32_t Size = 0;
  std::uint32_t Frames = 0;
};

namespace {

constexpr std::uint32_t kMaxBufferBytes = 0x0FFF'FFFF;
constexpr float kFractionScale = 1.0f / 4294967296.0f;

// The linear gain of a volume in hundredths of a decibel; exactly 0 for silence.
float GainOf(int Hundredths) {
  if (Hundredths <= kVolumeSilent) return 0.0f;
  return static_cast<float>(std::pow(10.0, Hundredths / 2000.0));
}

// Reading one frame of each layout as floats -1..1.
struct TMono8 {
  static void Read(const std::uint8_t* Data, std::uint32_t Frame, float& Left, float& Right) {
    Left = Right = (static_cast<int>(Data[Frame]) - 128) * (1.0f / 128.0f);
  }
};
struct TStereo8 {
  static void Read(const std::uint8_t* Data, std::uint32_t Frame, float& Left, float& Right) {
    Left = (static_cast<int>(Data[2 * Frame]) - 128) * (1.0f / 128.0f);
    Right = (static_cast<int>(Data[2 * Frame + 1]) - 128) * (1.0f / 128.0f);
  }
};
inline float Pcm16At(const std::uint8_t* Data, std::size_t Sample) {
  std::int16_t Value;
  std::memcpy(&Value, Data + 2 * Sample, sizeof(Value));
  return Value * (1.0f / 32768.0f);
}
struct TMono16 {
  static void Read(const std::uint8_t* Data, std::uint32_t Frame, float& Left, float& Right) {
    Left = Right = Pcm16At(Data, Frame);
  }
};
struct TStereo16 {
  static void Read(const std::uint8_t* Data, std::uint32_t Frame, float& Left, float& Right) {
    Left = Pcm16At(Data, 2 * static_cast<std::size_t>(Frame));
    Right = Pcm16At(Data, 2 * static_cast<std::size_t>(Frame) + 1);
  }
};

// Adds the voice's frames from Cursor on into Out. Between two frames the value is interpolated
// linearly; after the last frame comes the first when looping, silence otherwise. Returns false
// when a voice played once reached its end (Cursor is then back at 0).
template <class TLayout>
bool MixFrames(const TSoundData& Data, std::uint64_t& Cursor, std::uint64_t Step, float Gain,
               bool Loop, float* Out, int Frames) {
  const std::uint8_t* Bytes = Data.Bytes.get();
  const std::uint64_t End = static_cast<std::uint64_t>(Data.Frames) << 32;
  // Below this cursor the frame after the current one lies inside the data.
  const std::uint64_t LastFrame = static_cast<std::uint64_t>(Data.Frames - 1) << 32;
  int Done = 0;
  while (Done < Frames) {
    if (Cursor >= End) {
      if (!Loop) {
        Cursor = 0;
        return false;
      }
      Cursor %= End;
    }
    if (Cursor < LastFrame) {
      const std::uint64_t Run = (LastFrame - Cursor + Step - 1) / Step;
      const int Count = static_cast<int>(std::min<std::uint64_t>(Run, Frames - Done));
      float* Target = Out + 2 * Done;
      for (int I = 0; I < Count; ++I) {
        const auto Frame = static_cast<std::uint32_t>(Cursor >> 32);
        const float T = static_cast<float>(static_cast<std::uint32_t>(Cursor)) * kFractionScale;
        float L0, R0, L1, R1;
        TLayout::Read(Bytes, Frame, L0, R0);
        TLayout::Read(Bytes, Frame + 1, L1, R1);
        Target[2 * I] += (L0 + (L1 - L0) * T) * Gain;
        Target[2 * I + 1] += (R0 + (R1 - R0) * T) * Gain;
        Cursor += Step;
      }
      Done += Count;
      continue;
    }
    // The last frame of the data.
    const float T = static_cast<float>(static_cast<std::uint32_t>(Cursor)) * kFractionScale;
    float L0, R0, L1 = 0.0f, R1 = 0.0f;
    TLayout::Read(Bytes, Data.Frames - 1, L0, R0);
    if (Loop) TLayout::Read(Bytes, 0, L1, R1);
    Out[2 * Done] += (L0 + (L1 - L0) * T) * Gain;
    Out[2 * Done + 1] += (R0 + (R1 - R0) * T) * Gain;
    Cursor += Step;
    ++Done;
  }
  if (Cursor >= End && !Loop) {
    Cursor = 0;
    return false;
  }
  return true;
}

}  // namespace

// -- TSoundFormat ----------------------------------------------------------------------------

TSoundFormat TSoundFormat::Pcm(int Channels, int BitsPerSample, int SampleRate) {
  TSoundFormat Format;
  Format.Channels = Channels;
  Format.BitsPerSample = BitsPerSample;
  Format.SampleRate = SampleRate;
  Format.BlockAlign = Channels * BitsPerSample / 8;
  Format.BytesPerSecond = SampleRate * Format.BlockAlign;
  return Format;
}

bool TSoundFormat::Valid() const {
  if (Channels < 1 || Channels > 2) return false;
  if (BitsPerSample != 8 && BitsPerSample != 16) return false;
  if (SampleRate < 100 || SampleRate > 200'000) return false;
  return BlockAlign == Channels * BitsPerSample / 8 && BytesPerSecond == SampleRate * BlockAlign;
}

// -- TSoundBuffer ----------------------------------------------------------------------------

TSoundBuffer::TSoundBuffer(std::shared_ptr<TSoundMixer> Mixer, std::shared_ptr<TSoundData> Data)
    : Mixer(std::move(Mixer)), Data(std::move(Data)) {
  Step = (static_cast<std::uint64_t>(this->Data->Format.SampleRate) << 32) / kMixRate;
}

TSoundBuffer::~TSoundBuffer() {
  std::lock_guard Guard(Mixer->Mutex);
  if (IsPlaying) Mixer->UnlinkInLockedState(*this);
}

const TSoundFormat& TSoundBuffer::Format() const {
  return Data->Format;
}

std::uint32_t TSoundBuffer::Size() const {
  return Data->Size;
}

std::span<std::uint8_t> TSoundBuffer::Lock(std::uint32_t Offset, std::uint32_t Bytes) {
  if (Locked || Bytes == 0 || Offset > Data->Size || Bytes > Data->Size - Offset) return {};
  if (StagingCapacity < Bytes) {
    Staging = std::make_unique<std::uint8_t[]>(Bytes);
    StagingCapacity = Bytes;
  }
  // The data changes only in Unlock on this same thread, so it can be read without the lock.
  std::memcpy(Staging.get(), Data->Bytes.get() + Offset, Bytes);
  LockOffset = Offset;
  LockBytes = Bytes;
  Locked = true;
  return {Staging.get(), Bytes};
}

void TSoundBuffer::Unlock() {
  if (!Locked) return;
  {
    std::lock_guard Guard(Mixer->Mutex);
    std::memcpy(Data->Bytes.get() + LockOffset, Staging.get(), LockBytes);
  }
  Locked = false;
  // A whole-buffer lock fills a sound once at loading: do not keep a second copy of it.
  if (LockBytes == Data->Size) {
    Staging.reset();
    StagingCapacity = 0;
  }
}

void TSoundBuffer::SetVolume(int Hundredths) {
  VolumeNow = std::clamp(Hundredths, kVolumeSilent, 0);
  const float NewGain = GainOf(VolumeNow);
  std::lock_guard Guard(Mixer->Mutex);
  Gain = NewGain;
}

void TSoundBuffer::Play(bool Loop, int Priority) {
  PriorityNow = Priority;
  std::lock_guard Guard(Mixer->Mutex);
  IsLooping = Loop;
  if (IsPlaying) return;
  IsPlaying = true;
  Mixer->LinkInLockedState(*this);
}

void TSoundBuffer::Stop() {
  std::lock_guard Guard(Mixer->Mutex);
  if (!IsPlaying) return;
  IsPlaying = false;
  Mixer->UnlinkInLockedState(*this);
}

bool TSoundBuffer::Playing() const {
  std::lock_guard Guard(Mixer->Mutex);
  return IsPlaying;
}

bool TSoundBuffer::Looping() const {
  std::lock_guard Guard(Mixer->Mutex);
  return IsLooping;
}

std::uint32_t TSoundBuffer::Position() const {
  std::lock_guard Guard(Mixer->Mutex);
  return static_cast<std::uint32_t>(Cursor >> 32) *
         static_cast<std::uint32_t>(Data->Format.BlockAlign);
}

void TSoundBuffer::SetPosition(std::uint32_t Offset) {
  std::uint32_t Frame = Offset / static_cast<std::uint32_t>(Data->Format.BlockAlign);
  if (Frame >= Data->Frames) Frame = 0;
  std::lock_guard Guard(Mixer->Mutex);
  Cursor = static_cast<std::uint64_t>(Frame) << 32;
}

// -- TSoundMixer -----------------------------------------------------------------------------

void TSoundMixer::LinkInLockedState(TSoundBuffer& Voice) {
  Voice.PrevVoice = nullptr;
  Voice.NextVoice = FirstVoice;
  if (FirstVoice) FirstVoice->PrevVoice = &Voice;
  FirstVoice = &Voice;
  ++VoiceCount;
}

void TSoundMixer::UnlinkInLockedState(TSoundBuffer& Voice) {
  if (Voice.PrevVoice)
    Voice.PrevVoice->NextVoice = Voice.NextVoice;
  else
    FirstVoice = Voice.NextVoice;
  if (Voice.NextVoice) Voice.NextVoice->PrevVoice = Voice.PrevVoice;
  Voice.PrevVoice = Voice.NextVoice = nullptr;
  --VoiceCount;
}

bool TSoundMixer::MixVoiceInLockedState(TSoundBuffer& Voice, float* Out, int Frames) {
  const TSoundData& Data = *Voice.Data;
  const bool Stereo = Data.Format.Channels == 2;
  if (Data.Format.BitsPerSample == 16) {
    return Stereo ? MixFrames<TStereo16>(Data, Voice.Cursor, Voice.Step, Voice.Gain,
                                         Voice.IsLooping, Out, Frames)
                  : MixFrames<TMono16>(Data, Voice.Cursor, Voice.Step, Voice.Gain, Voice.IsLooping,
                                       Out, Frames);
  }
  return Stereo ? MixFrames<TStereo8>(Data, Voice.Cursor, Voice.Step, Voice.Gain, Voice.IsLooping,
                                      Out, Frames)
                : MixFrames<TMono8>(Data, Voice.Cursor, Voice.Step, Voice.Gain, Voice.IsLooping,
                                    Out, Frames);
}

void TSoundMixer::Mix(float* Out, int Frames) {
  if (Frames <= 0) return;
  std::fill(Out, Out + 2 * static_cast<std::size_t>(Frames), 0.0f);
  std::lock_guard Guard(Mutex);
  for (TSoundBuffer* Voice = FirstVoice; Voice;) {
    TSoundBuffer* Next = Voice->NextVoice;
    if (!MixVoiceInLockedState(*Voice, Out, Frames)) {
      Voice->IsPlaying = false;
      UnlinkInLockedState(*Voice);
    }
    Voice = Next;
  }
  for (std::size_t I = 0; I < 2 * static_cast<std::size_t>(Frames); ++I)
    Out[I] = std::clamp(Out[I], -1.0f, 1.0f);
  Mixed += static_cast<std::uint64_t>(Frames);
}

std::uint64_t TSoundMixer::FramesMixed() const {
  std::lock_guard Guard(Mutex);
  return Mixed;
}

int TSoundMixer::PlayingVoices() const {
  std::lock_guard Guard(Mutex);
  return VoiceCount;
}

// -- TSoundDevice ----------------------------------------------------------------------------

TSoundDevice::TSoundDevice(std::shared_ptr<TSoundMixer> Mixer, std::string Problem)
    : MixerPtr(std::move(Mixer)), ProblemText(std::move(Problem)) {}

TSoundDevice::~TSoundDevice() = default;

std::unique_ptr<TSoundBuffer> TSoundDevice::CreateBuffer(const TSoundFormat& Format,
                                                         std::uint32_t Bytes) {
  if (!Format.Valid()) return nullptr;
  const auto Block = static_cast<std::uint32_t>(Format.BlockAlign);
  if (Bytes < Block || Bytes > kMaxBufferBytes || Bytes % Block != 0) return nullptr;
  auto Data = std::make_shared<TSoundData>();
  Data->Format = Format;
  Data->Bytes = std::make_unique<std::uint8_t[]>(Bytes);  // zeroed
  // Silence of 8-bit data is the middle value.
  if (Format.BitsPerSample == 8) std::memset(Data->Bytes.get(), 0x80, Bytes);
  Data->Size = Bytes;
  Data->Frames = Bytes / Block;
  return std::unique_ptr<TSoundBuffer>(new TSoundBuffer(MixerPtr, std::move(Data)));
}

std::unique_ptr<TSoundBuffer> TSoundDevice::DuplicateBuffer(const TSoundBuffer& Source) {
  std::unique_ptr<TSoundBuffer> Copy(new TSoundBuffer(MixerPtr, Source.Data));
  Copy->SetVolume(Source.Volume());
  return Copy;
}

// -- WAV output ------------------------------------------------------------------------------

std::int16_t FloatToPcm16(float Value) {
  const float Scaled = std::clamp(Value, -1.0f, 1.0f) * 32768.0f;
  return static_cast<std::int16_t>(std::clamp(std::lround(Scaled), -32768L, 32767L));
}

std::string EncodeWav(const TSoundFormat& Format, const void* Data, std::size_t Bytes) {
  std::string File;
  auto Put32 = [&File](std::uint32_t Value) {
    for (int Shift = 0; Shift < 32; Shift += 8)
      File.push_back(static_cast<char>(Value >> Shift));
  };
  auto Put16 = [&File](std::uint32_t Value) {
    File.push_back(static_cast<char>(Value));
    File.push_back(static_cast<char>(Value >> 8));
  };
  File.reserve(44 + Bytes + 1);
  File += "RIFF";
  Put32(static_cast<std::uint32_t>(36 + Bytes + (Bytes & 1)));
  File += "WAVEfmt ";
  Put32(16);
  Put16(1);  // PCM
  Put16(static_cast<std::uint32_t>(Format.Channels));
  Put32(static_cast<std::uint32_t>(Format.SampleRate));
  Put32(static_cast<std::uint32_t>(Format.BytesPerSecond));
  Put16(static_cast<std::uint32_t>(Format.BlockAlign));
  Put16(static_cast<std::uint32_t>(Format.BitsPerSample));
  File += "data";
  Put32(static_cast<std::uint32_t>(Bytes));
  File.append(static_cast<const char*>(Data), Bytes);
  if (Bytes & 1) File.push_back('\0');  // chunks are padded to an even length
  return File;
}

}  // namespace Platform

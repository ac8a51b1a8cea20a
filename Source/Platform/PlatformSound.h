// PlatformSound.h -- the sound device: a software mixer of PCM buffers (volumes, duplicates,
// region locks, looping playback, play positions) whose output is 48 kHz float stereo.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>

namespace Platform {

// The mixer's output: interleaved left/right float frames at this rate.
constexpr int kMixRate = 48000;
// Buffer volumes are hundredths of a decibel: 0 plays unchanged, this one is silence.
constexpr int kVolumeSilent = -10000;

// The PCM layout of a buffer, as a WAV file's "fmt " chunk describes it.
struct TSoundFormat {
  int Channels = 2;              // 1 mono, 2 stereo (left, right)
  int BitsPerSample = 16;        // 8 (unsigned) or 16 (signed, little-endian)
  int SampleRate = kMixRate;     // frames a second
  int BlockAlign = 4;            // bytes of one frame
  int BytesPerSecond = 192'000;  // SampleRate x BlockAlign

  // The format with its derived fields (BlockAlign, BytesPerSecond) filled in.
  static TSoundFormat Pcm(int Channels, int BitsPerSample, int SampleRate);
  // The mixer plays it: 1 or 2 channels, 8 or 16 bits, 100..200000 frames a second, and the
  // derived fields agree with the others.
  bool Valid() const;
};

class TSoundMixer;
struct TSoundData;

// One voice over PCM data. Duplicates are voices of their own (position, volume, playing) over
// the same data. Made by TSoundDevice; used from the main thread only.
class TSoundBuffer {
 public:
  // Stops the voice; the data goes when its last buffer goes.
  ~TSoundBuffer();
  TSoundBuffer(const TSoundBuffer&) = delete;
  TSoundBuffer& operator=(const TSoundBuffer&) = delete;

  // The data's layout.
  const TSoundFormat& Format() const;
  // Bytes of PCM data (whole frames).
  std::uint32_t Size() const;

  // The Bytes bytes at Offset, holding the data as it is now, to read or overwrite until Unlock.
  // Empty when the region does not lie inside the data or another lock of this buffer is open.
  std::span<std::uint8_t> Lock(std::uint32_t Offset, std::uint32_t Bytes);
  // Hands the locked region to the mixer; every duplicate plays it from now on.
  void Unlock();

  // Hundredths of a decibel, clamped to kVolumeSilent..0. A new buffer plays at 0.
  void SetVolume(int Hundredths);
  int Volume() const { return VolumeNow; }

  // Plays from the current position, once or in a loop; a playing buffer switches its looping.
  // Priority says which channel asked; the mixer has no voice limit, so it is only recorded.
  void Play(bool Loop, int Priority = 0);
  // Stops where it is; Play resumes there.
  void Stop();
  // The voice is playing (a buffer played once stops by itself at its end, back at position 0).
  bool Playing() const;
  // The last Play asked for a loop.
  bool Looping() const;
  // The priority of the last Play.
  int Priority() const { return PriorityNow; }
  // The byte offset of the frame the mixer reads next.
  std::uint32_t Position() const;
  // Moves the play position to Offset, rounded down to a whole frame (the end counts as 0).
  void SetPosition(std::uint32_t Offset);

 private:
  friend class TSoundMixer;
  friend class TSoundDevice;
  TSoundBuffer(std::shared_ptr<TSoundMixer> Mixer, std::shared_ptr<TSoundData> Data);

  std::shared_ptr<TSoundMixer> Mixer;
  std::shared_ptr<TSoundData> Data;
  int VolumeNow = 0;
  int PriorityNow = 0;
  // The locked region: written by the caller, copied into the data by Unlock under the mixer's
  // lock, so the output thread never reads bytes the main thread is writing.
  std::unique_ptr<std::uint8_t[]> Staging;
  std::uint32_t StagingCapacity = 0;
  std::uint32_t LockOffset = 0;
  std::uint32_t LockBytes = 0;
  bool Locked = false;

  // Guarded by the mixer's mutex.
  std::uint64_t Cursor = 0;  // the next frame to read, 32.32 fixed point
  std::uint64_t Step = 0;    // source frames per output frame, 32.32 fixed point
  float Gain = 1.0f;
  bool IsPlaying = false;
  bool IsLooping = false;
  TSoundBuffer* PrevVoice = nullptr;  // the mixer's list of playing voices
  TSoundBuffer* NextVoice = nullptr;
};

// Mixes every playing voice into the output. The output thread calls Mix; everything else runs
// on the main thread; one mutex guards what both touch.
class TSoundMixer {
 public:
  TSoundMixer() = default;
  TSoundMixer(const TSoundMixer&) = delete;
  TSoundMixer& operator=(const TSoundMixer&) = delete;

  // Overwrites Out (2 x Frames floats) with the next Frames frames of every playing voice at its
  // gain, summed and clipped to -1..1, and advances the voices. Never allocates.
  void Mix(float* Out, int Frames);
  // Frames mixed so far.
  std::uint64_t FramesMixed() const;
  // Voices playing now.
  int PlayingVoices() const;

 private:
  friend class TSoundBuffer;
  mutable std::mutex Mutex;
  TSoundBuffer* FirstVoice = nullptr;
  int VoiceCount = 0;
  std::uint64_t Mixed = 0;

  void LinkInLockedState(TSoundBuffer& Voice);
  void UnlinkInLockedState(TSoundBuffer& Voice);
  // Adds the voice's next frames to Out; false when it reached its end and stopped.
  bool MixVoiceInLockedState(TSoundBuffer& Voice, float* Out, int Frames);
};

// The sound output of a platform: makes buffers that its mixer plays. The platform's output (a
// real device, SDL's dummy driver or memory) takes the mix from the mixer.
class TSoundDevice {
 public:
  // A device over Mixer. Problem: why the platform's real output could not be used (empty when
  // it is used); the game logs it.
  explicit TSoundDevice(std::shared_ptr<TSoundMixer> Mixer, std::string Problem = {});
  virtual ~TSoundDevice();
  TSoundDevice(const TSoundDevice&) = delete;
  TSoundDevice& operator=(const TSoundDevice&) = delete;

  // A stopped buffer of Bytes zero bytes at volume 0 and position 0; nullptr when the format is
  // not Valid or Bytes is not a whole number of frames between one frame and 256 MB.
  std::unique_ptr<TSoundBuffer> CreateBuffer(const TSoundFormat& Format, std::uint32_t Bytes);
  // A stopped buffer at position 0 sharing Source's data, at Source's volume.
  std::unique_ptr<TSoundBuffer> DuplicateBuffer(const TSoundBuffer& Source);
  // Why the real output could not be used; empty when it is.
  const std::string& Problem() const { return ProblemText; }
  // The mixer that plays this device's buffers.
  TSoundMixer& Mixer() { return *MixerPtr; }

 private:
  std::shared_ptr<TSoundMixer> MixerPtr;
  std::string ProblemText;
};

// The bytes of a RIFF WAV file holding Data in Format (PCM, a "fmt " chunk of 16 bytes).
std::string EncodeWav(const TSoundFormat& Format, const void* Data, std::size_t Bytes);

// Float frames (-1..1) as 16-bit signed samples: rounded to nearest, clipped.
std::int16_t FloatToPcm16(float Value);

}  // namespace Platform

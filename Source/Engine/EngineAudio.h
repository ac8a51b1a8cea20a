// EngineAudio.h -- sounds by name: samples loaded from WAV and Ogg Vorbis files, pooled sources
// that play them, the two volume channels and the music with its cross-fades.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "EngineClasses.h"

namespace Platform {
class TPlatform;
class TSoundBuffer;
class TSoundDevice;
}  // namespace Platform

// The volume channel of a sample.
constexpr std::uint8_t kChannelEffects = 0;  // follows Register.SfxVolume
constexpr std::uint8_t kChannelMusic = 1;    // follows Register.MusicVolume

// Buffer volumes (hundredths of a decibel) by level index 0 (full) .. 20 (silence).
extern const std::array<int, 21> AttenuationTable;

// The buffer volume of a source: v = SourceVolume (clamped to 0..1) x SampleVolume x Setting
// (0..10) x 0.1, clamped to 0..1; the table's entry at 20 - round(20 v), ties to even.
int SoundLevel(float SourceVolume, float SampleVolume, int Setting);

// The ErrorLog line for a sample that failed to load: Failed to load audio sample "Name" (Reason).
std::string SampleLoadFailure(const std::string& Name, const std::string& Reason);

// How far a streamed sample's ring is, for tests and tools.
struct TStreamInfo {
  std::uint32_t ChunkBytes = 0;  // half a second of the file's audio
  int CurrentChunk = 0;          // the ring chunk (0..5) the buffer plays
  int FreeChunks = 0;            // ring chunks that may be written
  bool DecodedReady = false;     // a decoded chunk waits to be written
  int Decodes = 0;               // chunks decoded since the stream opened
  int Writes = 0;                // chunks written into the ring since the stream opened
};

class TSampleStream;

// A named sound: its settings, its buffer (none when it could not be loaded or there is no sound
// device) and, for long music, the decoder that streams it through a ring of six half-second
// chunks. Samples live until the audio service ends.
class TSample : public TContainerItem {
 public:
  TSample();
  ~TSample() override;

  bool Looping = false;                    // play in a loop
  float Volume = 1.0f;                     // base volume 0..1
  std::uint8_t Channel = kChannelEffects;  // kChannelEffects or kChannelMusic
  float Duration = 0.0f;                   // seconds of decoded sound; 0 when not loaded
  std::unique_ptr<Platform::TSoundBuffer> Buffer;
  bool InUse = false;      // a source plays Buffer itself
  bool Streamed = false;   // decoded bit by bit while it plays
  std::string StreamPath;  // the Ogg file a streamed sample decodes

  // Loads a PCM WAV file whole into a new buffer of Device and clears Streamed. Throws
  // std::runtime_error with the reason when the file is refused.
  void LoadWav(Platform::TSoundDevice& Device, const std::string& Path);
  // Loads an Ogg Vorbis file as 16-bit PCM: streamed when Streamed is set and it lasts at least
  // five seconds (a three-second ring is made and the file is decoded later), else decoded whole
  // (Streamed cleared). Throws std::runtime_error with the reason when it fails.
  void LoadOgg(Platform::TSoundDevice& Device, const std::string& Path);

  // Opens the decoder of a streamed sample again and fills the first two ring chunks; false
  // (nothing open) when the file cannot be opened or decoded or no longer fits the buffer.
  bool OpenStream();
  // Closes the decoder; the ring's memory is kept for the next opening.
  void CloseStream();
  // The decoder is open.
  bool StreamOpen() const;
  // A decode or a lock failed; the buffer was stopped.
  bool StreamFailed() const;
  // Once a frame while open: frees the chunks played past, then decodes one chunk or writes the
  // decoded one into a free chunk (never both).
  void PumpStream();
  // The ring's state; all zero while no stream was ever opened.
  TStreamInfo StreamInfo() const;

 private:
  std::unique_ptr<TSampleStream> Stream;

  void DecodeChunk();
  void WriteChunk(int Chunk);
  void FailStream();
};

// What TAudio hands a source as it takes it from the pool.
struct TSourceRequest {
  TSample* Sample = nullptr;                 // none: the source plays nothing
  Platform::TSoundDevice* Device = nullptr;  // makes duplicates; none without sound
};

// One playing of a sample, taken from the audio service's pool. A one-shot source goes back to
// the pool by itself when its buffer stops; a persistent one (a loop slot) when its owner stops it.
class TSource : public TContainerItem {
 public:
  const void* Owner = nullptr;  // who started it (StopSounds)
  TSample* Sample = nullptr;
  bool Persistent = false;  // a loop slot: kept until StopLoop
  float Volume = 1.0f;      // 0..1
  bool Playing = false;
  Platform::TSoundBuffer* Buffer = nullptr;  // the sample's own buffer or a duplicate of it
  bool OwnsSampleBuffer = false;             // Buffer is the sample's own

  // Volume := V clamped to 0..1 (nothing when V equals it) and the buffer's volume from the
  // level formula.
  void SetVolume(float V);
  // Starts (from the current position, looping when the sample loops) or stops the buffer;
  // nothing without a buffer, or for a streamed sample whose stream is not open.
  void SetPlaying(bool On);

  // Param is a TSourceRequest: takes the sample's buffer, or a duplicate when it is in use (a
  // streamed sample in use gives nothing), at full source volume from the start, and opens the
  // stream of a streamed sample.
  void OnInsert(TContainer& Into, void* Param) override;
  // Closes the stream it played, stops and releases its buffer and frees the sample's buffer.
  void OnRemove(TContainer& From) override;

 private:
  std::unique_ptr<Platform::TSoundBuffer> Duplicate;
};

// The audio service: the sound device, the named samples, the pool of sources and the music.
class TAudio {
 public:
  // Opens the platform's sound device; when it fails the message goes to ErrorLog and the game
  // runs silently (as it does when the device reports a Problem). Makes the input service's
  // typed keys play "Key" when the input service exists.
  explicit TAudio(Platform::TPlatform& Platform);
  // Clears the input service's key sound, then frees the sources, the samples and the device.
  ~TAudio();
  TAudio(const TAudio&) = delete;
  TAudio& operator=(const TAudio&) = delete;

  // Loads the game's table of named sounds from Register.SamplesFolder.
  void LoadSounds();
  // The sample of that name, loaded (Name.ogg, else Name.wav) and put in front of the samples
  // when it is new. A failure is logged and leaves a sample without a buffer.
  TSample* LoadSample(const std::string& Name, bool Looping, std::uint8_t Channel, bool Streamed,
                      float Volume);

  // Plays the named sample once (or looping when it loops) at Volume; the source goes back to
  // the pool when it stops. An unknown name plays nothing.
  TSource* PlaySound(const void* Owner, std::string_view Name, float Volume = 1.0f);
  // Stops every non-persistent source of Owner (returned at the next Update).
  void StopSounds(const void* Owner);
  // When Slot is empty: a persistent source for the named sample, not yet playing.
  void StartLoop(TSource*& Slot, std::string_view Name);
  // When Slot is set: returns its source to the pool (stopping it) and empties Slot.
  void StopLoop(TSource*& Slot);
  // Cross-fades to the named music over one second; "" fades the music out.
  void PlayMusic(std::string_view Name);
  // The 0..10 setting of a channel (clamped), applied at once to every source on it.
  void SetVolume(std::uint8_t Channel, int Level);

  // Once a frame after drawing: streams, returns stopped sources, advances the music by the
  // input service's frame time. Does not allocate while nothing starts.
  void Update();
  // The same with an explicit frame time in seconds.
  void Update(float FrameTime);

  // -- State -----------------------------------------------------------------------------------
  // The sound device, or nullptr when the game runs silently.
  Platform::TSoundDevice* Device() const { return SoundDevice.get(); }
  TContainer& Samples() { return SampleList; }
  TContainer& Sources() { return SourceList; }
  const std::string& MusicName() const { return Music; }
  TSource* MusicSource() const { return MusicPlaying; }
  TSource* FadingSource() const { return MusicFading; }
  // 0 idle, 1 cross-fading, 2 change requested.
  int MusicState() const { return MusicStateNow; }
  float FadeProgress() const { return Fade; }

 private:
  std::unique_ptr<Platform::TSoundDevice> SoundDevice;
  TContainer SampleList;
  TContainer SourceList;
  std::string Music;
  TSource* MusicPlaying = nullptr;
  TSource* MusicFading = nullptr;
  int MusicStateNow = 0;
  float Fade = 0.0f;

  TSource* TakeSource(std::string_view Name);
  void UpdateMusic(float FrameTime);
};

// The game's audio service; the shell creates it after the timeline and frees it before.
extern std::unique_ptr<TAudio> Audio;

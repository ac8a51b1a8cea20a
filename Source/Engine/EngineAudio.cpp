// EngineAudio.cpp -- samples (WAV and Ogg Vorbis loaders, streaming ring), sources, channel
// volumes and music cross-fades.
#include "EngineAudio.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <stdexcept>

#include "EngineInput.h"
#include "EngineRegister.h"
#include "Platform.h"
#include "PlatformSound.h"

std::unique_ptr<TAudio> Audio;

const std::array<int, 21> AttenuationTable = {0,     -70,   -140,  -210,  -280,  -350,  -420,
                                              -490,  -560,  -630,  -700,  -780,  -870,  -970,
                                              -1080, -1200, -1500, -1900, -2400, -3000, -10000};

namespace {

constexpr int kRingChunks = 6;
constexpr float kStreamMinimum = 5.0f;  // seconds: shorter music is decoded whole

struct TNamedSound {
  const char* Name;
  std::uint8_t Channel;
  bool Looping;
  bool Streamed;
  float Volume;
};

constexpr TNamedSound kSoundTable[] = {
    {"ThemeMenu", kChannelMusic, true, true, 1.0f},
    {"Theme1", kChannelMusic, true, true, 0.85f},
    {"Theme2", kChannelMusic, true, true, 0.85f},
    {"Focus", kChannelEffects, false, false, 1.0f},
    {"Click", kChannelEffects, false, false, 1.0f},
    {"Switch", kChannelEffects, false, false, 1.0f},
    {"Select", kChannelEffects, false, false, 1.0f},
    {"Collected1", kChannelEffects, false, false, 1.0f},
    {"Collected2", kChannelEffects, false, false, 1.0f},
    {"Collected3", kChannelEffects, false, false, 1.0f},
    {"DeliveredWood", kChannelEffects, false, false, 1.0f},
    {"DeliveredStone", kChannelEffects, false, false, 1.0f},
    {"Trained", kChannelEffects, false, false, 1.0f},
    {"Damage", kChannelEffects, false, false, 1.0f},
    {"Message", kChannelEffects, false, false, 1.0f},
    {"Finish1", kChannelEffects, false, false, 1.0f},
    {"Finish2", kChannelEffects, false, false, 1.0f},
    {"Finish3", kChannelEffects, false, false, 1.0f},
    {"Horn", kChannelEffects, false, false, 1.0f},
    {"Demolish", kChannelEffects, false, false, 1.0f},
    {"Constructing", kChannelEffects, true, false, 1.0f},
    {"Demolishing", kChannelEffects, true, false, 1.0f},
    {"ClearingDebris", kChannelEffects, true, false, 1.0f},
    {"ClearingForest", kChannelEffects, true, false, 1.0f},
    {"ClearingStones", kChannelEffects, true, false, 1.0f},
    {"Applause", kChannelEffects, true, false, 1.0f},
};

[[noreturn]] void Refuse(const char* Reason) {
  throw std::runtime_error(Reason);
}

int ChannelSetting(std::uint8_t Channel) {
  return Channel == kChannelMusic ? Register.MusicVolume : Register.SfxVolume;
}

// -- The decoder's file stream -----------------------------------------------------------------
// vorbisfile reads the file through these four, over a C file.

std::size_t ReadStream(void* Target, std::size_t Size, std::size_t Count, void* Source) {
  if (Size == 0 || Count == 0 || Count > SIZE_MAX / Size) return 0;
  auto* File = static_cast<std::FILE*>(Source);
  const std::size_t Bytes = std::fread(Target, 1, Size * Count, File);
  if (std::ferror(File)) return 0;
  // Only whole items count: step back over a part of one at the end of the file.
  if (const std::size_t Part = Bytes % Size; Part != 0)
    std::fseek(File, -static_cast<long>(Part), SEEK_CUR);
  return Bytes / Size;
}

int SeekStream(void* Source, ogg_int64_t Offset, int Origin) {
  if (Origin != SEEK_SET && Origin != SEEK_CUR && Origin != SEEK_END) return -1;
  if (Offset < LONG_MIN || Offset > LONG_MAX) return -1;
  return std::fseek(static_cast<std::FILE*>(Source), static_cast<long>(Offset), Origin) == 0 ? 0
                                                                                             : -1;
}

int CloseStream(void* Source) {
  return std::fclose(static_cast<std::FILE*>(Source)) == 0 ? 0 : -1;
}

long TellStream(void* Source) {
  return std::ftell(static_cast<std::FILE*>(Source));
}

const ov_callbacks kStreamCallbacks = {ReadStream, SeekStream, CloseStream, TellStream};

// Reads one little-endian value of the WAV header.
std::uint32_t Le32(const std::string& Bytes, std::size_t At) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(Bytes[At])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(Bytes[At + 1])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(Bytes[At + 2])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(Bytes[At + 3])) << 24;
}
std::uint16_t Le16(const std::string& Bytes, std::size_t At) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(Bytes[At]) |
                                    static_cast<unsigned char>(Bytes[At + 1]) << 8);
}

// The chunk of this identifier starts at At: its length in Length.
bool ChunkAt(const std::string& File, std::size_t At, const char* Id, std::uint32_t& Length) {
  if (At > File.size() || File.size() - At < 8 || File.compare(At, 4, Id) != 0) return false;
  Length = Le32(File, At + 4);
  return true;
}

// An open Ogg Vorbis decoder over its own file stream.
class TOggDecoder {
 public:
  TOggDecoder() = default;
  ~TOggDecoder() { Close(); }
  TOggDecoder(const TOggDecoder&) = delete;
  TOggDecoder& operator=(const TOggDecoder&) = delete;

  // False, with nothing open, when the file cannot be opened or the decoder refuses it.
  bool Open(const std::string& Path) {
    Close();
    std::FILE* Stream = std::fopen(Path.c_str(), "rb");
    if (!Stream) return false;
    if (ov_open_callbacks(Stream, &File, nullptr, 0, kStreamCallbacks) < 0) {
      std::fclose(Stream);  // the decoder does not close a stream it refused
      return false;
    }
    IsOpen = true;
    return true;
  }
  // Closes the decoder, which closes its stream.
  void Close() {
    if (IsOpen) ov_clear(&File);
    IsOpen = false;
  }
  bool Opened() const { return IsOpen; }
  // The first logical stream's layout; nullptr when unknown.
  vorbis_info* Info() { return ov_info(&File, 0); }
  // Up to Bytes bytes of 16-bit signed little-endian PCM of the first logical stream: the count
  // read, 0 at its end, or negative on a decode error.
  long Read(std::uint8_t* Target, std::uint32_t Bytes) {
    int Link = 0;
    const int Wanted = static_cast<int>(std::min<std::uint32_t>(Bytes, 1u << 20));
    const long Count = ov_read(&File, reinterpret_cast<char*>(Target), Wanted, 0, 2, 1, &Link);
    if (Count > 0 && Link != 0) return 0;  // a chained file plays its first piece only
    return Count;
  }
  // Back to the first sample; false on failure.
  bool Rewind() { return ov_pcm_seek(&File, 0) == 0; }
  // Frames of the first logical stream; negative when unknown.
  ogg_int64_t TotalFrames() { return ov_pcm_total(&File, 0); }

 private:
  OggVorbis_File File{};
  bool IsOpen = false;
};

}  // namespace

// The streaming state of a sample: its decoder and the ring of six chunks in its buffer.
class TSampleStream {
 public:
  struct TChunk {
    std::uint32_t Offset = 0;
    bool Filled = false;
  };

  TOggDecoder Decoder;
  bool Failed = false;
  std::uint32_t ChunkBytes = 0;
  std::array<TChunk, kRingChunks> Ring{};
  bool DecodedReady = false;
  std::unique_ptr<std::uint8_t[]> Decoded;
  std::uint32_t DecodedCapacity = 0;
  int Current = 0;
  int FreeChunks = kRingChunks;
  std::uint64_t SinceRewind = 0;  // bytes decoded since the piece last started
  int Decodes = 0;
  int Writes = 0;
};

int SoundLevel(float SourceVolume, float SampleVolume, int Setting) {
  double V =
      static_cast<double>(std::clamp(SourceVolume, 0.0f, 1.0f)) * SampleVolume * Setting * 0.1;
  V = std::clamp(V, 0.0, 1.0);
  const int Index = 20 - static_cast<int>(std::nearbyint(20.0 * V));  // ties to even
  return AttenuationTable[static_cast<std::size_t>(std::clamp(Index, 0, 20))];
}

std::string SampleLoadFailure(const std::string& Name, const std::string& Reason) {
  return "Failed to load audio sample \"" + Name + "\" (" + Reason + ")";
}

// -- TSample -------------------------------------------------------------------------------------

TSample::TSample() = default;

TSample::~TSample() = default;

void TSample::LoadWav(Platform::TSoundDevice& Device, const std::string& Path) {
  const std::optional<std::string> Read = Platform::ReadFile(Path);
  if (!Read) Refuse("Failed to read file");
  const std::string& File = *Read;
  if (File.size() < 12 || File.compare(0, 4, "RIFF") != 0 || File.compare(8, 4, "WAVE") != 0)
    Refuse("Invalid file type");

  std::size_t At = 12;
  std::uint32_t Length = 0;
  if (!ChunkAt(File, At, "fmt ", Length)) Refuse("Invalid structure of file");
  if (Length != 16) Refuse("Unsupported compression format");
  At += 8;
  if (File.size() - At < 16) Refuse("Unexpected end of file");
  const std::uint16_t Tag = Le16(File, At);
  Platform::TSoundFormat Format;
  Format.Channels = Le16(File, At + 2);
  Format.SampleRate = static_cast<int>(std::min<std::uint32_t>(Le32(File, At + 4), INT_MAX));
  Format.BytesPerSecond = static_cast<int>(std::min<std::uint32_t>(Le32(File, At + 8), INT_MAX));
  Format.BlockAlign = Le16(File, At + 12);
  Format.BitsPerSample = Le16(File, At + 14);
  if (Tag != 1) Refuse("Unsupported compression format");
  if (Format.BitsPerSample != 8 && Format.BitsPerSample != 16)
    Refuse("Unsupported bits per sample");
  if (Format.Channels < 1 || Format.Channels > 2) Refuse("Unsupported number of channels");
  At += 16;

  if (!ChunkAt(File, At, "data", Length)) Refuse("Invalid structure of file");
  At += 8;
  // The data must be in the file: a length that claims more is a damaged or cut-off file.
  if (Length > File.size() - At) Refuse("Unexpected end of file");
  // The buffer takes whole frames; a part of one at the end is dropped.
  const std::uint32_t Block =
      Format.BlockAlign > 0 ? static_cast<std::uint32_t>(Format.BlockAlign) : 1;
  const std::uint32_t Bytes = Length - Length % Block;
  Buffer = Device.CreateBuffer(Format, Bytes);
  if (!Buffer) Refuse("Failed to create secondary buffer");
  Duration = static_cast<float>(static_cast<double>(Length) / Format.BytesPerSecond);
  Streamed = false;
  std::span<std::uint8_t> Region = Buffer->Lock(0, Bytes);
  if (Region.empty()) Refuse("Failed to lock secondary buffer");
  std::memcpy(Region.data(), File.data() + At, Bytes);
  Buffer->Unlock();
}

void TSample::LoadOgg(Platform::TSoundDevice& Device, const std::string& Path) {
  TOggDecoder Decoder;
  if (!Decoder.Open(Path)) Refuse("Failed to open ogg file");
  const vorbis_info* Info = Decoder.Info();
  if (!Info) Refuse("Failed to open ogg file");
  if (Info->channels > 2) Refuse("Unsupported number of channels");
  const auto Format = Platform::TSoundFormat::Pcm(
      Info->channels, 16, static_cast<int>(std::clamp<long>(Info->rate, 0, INT_MAX)));
  const ogg_int64_t Frames = Decoder.TotalFrames();
  if (Frames < 0) Refuse("Failed to decode audio data");
  const std::uint64_t Length = static_cast<std::uint64_t>(Frames) * Format.BlockAlign;
  Duration = Format.BytesPerSecond > 0
                 ? static_cast<float>(static_cast<double>(Length) / Format.BytesPerSecond)
                 : 0.0f;

  std::uint64_t Bytes = Length;
  if (Streamed && Duration >= kStreamMinimum) {
    const std::uint64_t ChunkBytes =
        static_cast<std::uint64_t>(Format.SampleRate / 2) * Format.BlockAlign;
    Bytes = ChunkBytes * kRingChunks;
  } else {
    Streamed = false;
  }
  if (Bytes > UINT32_MAX) Refuse("Failed to create secondary buffer");
  Buffer = Device.CreateBuffer(Format, static_cast<std::uint32_t>(Bytes));
  if (!Buffer) Refuse("Failed to create secondary buffer");
  if (Streamed) {
    StreamPath = Path;
    return;  // decoded while it plays
  }

  std::span<std::uint8_t> Region = Buffer->Lock(0, Buffer->Size());
  if (Region.empty()) Refuse("Failed to lock secondary buffer");
  std::uint32_t Filled = 0;
  while (Filled < Region.size()) {
    const long Count =
        Decoder.Read(Region.data() + Filled, static_cast<std::uint32_t>(Region.size()) - Filled);
    if (Count < 0) Refuse("Failed to decode audio data");
    if (Count == 0) break;
    Filled += static_cast<std::uint32_t>(Count);
  }
  // A file that ends early leaves the rest of the buffer silent.
  std::fill(Region.begin() + Filled, Region.end(), std::uint8_t{0});
  Buffer->Unlock();
}

bool TSample::OpenStream() {
  if (!Stream) Stream = std::make_unique<TSampleStream>();
  TSampleStream& S = *Stream;
  S.Decoder.Close();
  if (!Buffer || !S.Decoder.Open(StreamPath)) return false;
  // The file may have changed since it was loaded: it must still fit the buffer.
  const vorbis_info* Info = S.Decoder.Info();
  const Platform::TSoundFormat& Format = Buffer->Format();
  if (!Info || Info->channels != Format.Channels || Info->rate != Format.SampleRate) {
    S.Decoder.Close();
    return false;
  }
  S.Failed = false;
  S.ChunkBytes = Buffer->Size() / kRingChunks;
  for (int I = 0; I < kRingChunks; ++I)
    S.Ring[I] = {static_cast<std::uint32_t>(I) * S.ChunkBytes, false};
  S.Current = 0;
  S.FreeChunks = kRingChunks;
  S.DecodedReady = false;
  S.SinceRewind = 0;
  S.Decodes = S.Writes = 0;
  if (S.DecodedCapacity < S.ChunkBytes) {
    S.Decoded = std::make_unique<std::uint8_t[]>(S.ChunkBytes);
    S.DecodedCapacity = S.ChunkBytes;
  }
  DecodeChunk();
  for (int Chunk = 0; Chunk < 2 && !S.Failed; ++Chunk) {
    WriteChunk(Chunk);
    if (!S.Failed) DecodeChunk();
  }
  if (S.Failed) {
    S.Decoder.Close();
    return false;
  }
  return true;
}

void TSample::CloseStream() {
  if (Stream) Stream->Decoder.Close();
}

bool TSample::StreamOpen() const {
  return Stream && Stream->Decoder.Opened();
}

bool TSample::StreamFailed() const {
  return Stream && Stream->Failed;
}

TStreamInfo TSample::StreamInfo() const {
  TStreamInfo Info;
  if (!Stream) return Info;
  Info.ChunkBytes = Stream->ChunkBytes;
  Info.CurrentChunk = Stream->Current;
  Info.FreeChunks = Stream->FreeChunks;
  Info.DecodedReady = Stream->DecodedReady;
  Info.Decodes = Stream->Decodes;
  Info.Writes = Stream->Writes;
  return Info;
}

void TSample::FailStream() {
  if (Buffer) Buffer->Stop();
  Stream->Failed = true;
}

void TSample::DecodeChunk() {
  TSampleStream& S = *Stream;
  std::uint32_t Filled = 0;
  while (Filled < S.ChunkBytes) {
    const long Count = S.Decoder.Read(S.Decoded.get() + Filled, S.ChunkBytes - Filled);
    if (Count < 0) return FailStream();
    if (Count == 0) {
      // The end of the piece: go on from its start, so that the music loops without a gap. A
      // piece that gives nothing at all after a rewind would loop here for ever.
      if (S.SinceRewind == 0 || !S.Decoder.Rewind()) return FailStream();
      S.SinceRewind = 0;
      continue;
    }
    Filled += static_cast<std::uint32_t>(Count);
    S.SinceRewind += static_cast<std::uint64_t>(Count);
  }
  S.DecodedReady = true;
  ++S.Decodes;
}

void TSample::WriteChunk(int Chunk) {
  TSampleStream& S = *Stream;
  std::span<std::uint8_t> Region = Buffer->Lock(S.Ring[Chunk].Offset, S.ChunkBytes);
  if (Region.empty()) return FailStream();
  std::memcpy(Region.data(), S.Decoded.get(), S.ChunkBytes);
  Buffer->Unlock();
  S.Ring[Chunk].Filled = true;
  --S.FreeChunks;
  S.DecodedReady = false;
  ++S.Writes;
}

void TSample::PumpStream() {
  if (!StreamOpen() || Stream->Failed) return;
  TSampleStream& S = *Stream;
  // Chunks the buffer has played past are free again; the one it plays is taken.
  const std::uint32_t Position = Buffer->Position();
  int Chunk = S.Current;
  for (int Steps = 0; Steps < kRingChunks; ++Steps) {
    TSampleStream::TChunk& Entry = S.Ring[Chunk];
    if (Position >= Entry.Offset && Position - Entry.Offset < S.ChunkBytes) {
      S.Current = Chunk;
      if (!Entry.Filled) {
        Entry.Filled = true;
        --S.FreeChunks;
      }
      break;
    }
    if (Entry.Filled) {
      Entry.Filled = false;
      ++S.FreeChunks;
    }
    Chunk = (Chunk + 1) % kRingChunks;
  }
  // One decode or one write a frame, so that no frame waits long on the decoder.
  if (!S.DecodedReady) {
    DecodeChunk();
  } else if (S.FreeChunks > 0) {
    for (int Ahead = 1; Ahead < kRingChunks; ++Ahead) {
      const int Target = (S.Current + Ahead) % kRingChunks;
      if (!S.Ring[Target].Filled) {
        WriteChunk(Target);
        break;
      }
    }
  }
}

// -- TSource -------------------------------------------------------------------------------------

void TSource::SetVolume(float V) {
  if (V == Volume) return;
  Volume = std::clamp(V, 0.0f, 1.0f);
  if (Sample && Buffer)
    Buffer->SetVolume(SoundLevel(Volume, Sample->Volume, ChannelSetting(Sample->Channel)));
}

void TSource::SetPlaying(bool On) {
  if (On == Playing || !Buffer) return;
  if (Sample->Streamed && !Sample->StreamOpen()) return;
  Playing = On;
  if (On)
    // The ring of a streamed sample wraps round whatever the sample says.
    Buffer->Play(Sample->Looping || Sample->Streamed, Sample->Channel);
  else
    Buffer->Stop();
}

void TSource::OnInsert(TContainer& Into, void* Param) {
  TContainerItem::OnInsert(Into, Param);
  const auto* Request = static_cast<const TSourceRequest*>(Param);
  Owner = nullptr;
  Sample = Request ? Request->Sample : nullptr;
  Persistent = false;
  Volume = 1.0f;
  Playing = false;
  Buffer = nullptr;
  OwnsSampleBuffer = false;
  if (!Sample || !Sample->Buffer) return;
  // A streamed sample has one ring and one decoder: it plays once at a time.
  if (Sample->Streamed && Sample->InUse) return;
  if (Sample->InUse) {
    if (!Request->Device) return;
    Duplicate = Request->Device->DuplicateBuffer(*Sample->Buffer);
    Buffer = Duplicate.get();
    if (!Buffer) return;
  } else {
    Buffer = Sample->Buffer.get();
    OwnsSampleBuffer = true;
    Sample->InUse = true;
  }
  Buffer->SetVolume(SoundLevel(Volume, Sample->Volume, ChannelSetting(Sample->Channel)));
  Buffer->SetPosition(0);
  // A stream that does not open leaves the source silent for good (SetPlaying refuses).
  if (Sample->Streamed) Sample->OpenStream();
}

void TSource::OnRemove(TContainer& From) {
  Owner = nullptr;
  if (Sample && OwnsSampleBuffer && Sample->Streamed) Sample->CloseStream();
  if (Buffer) Buffer->Stop();
  Duplicate.reset();
  if (Sample && OwnsSampleBuffer) Sample->InUse = false;
  Buffer = nullptr;
  OwnsSampleBuffer = false;
  Playing = false;
  Sample = nullptr;
  TContainerItem::OnRemove(From);
}

// -- TAudio --------------------------------------------------------------------------------------

TAudio::TAudio(Platform::TPlatform& Platform) : SourceList(MakeItem<TSource>, Register.SourcePool) {
  try {
    SoundDevice = Platform.OpenSoundDevice();
    if (!SoundDevice->Problem().empty()) ErrorLog.Add(SoundDevice->Problem());
  } catch (const std::exception& Error) {
    ErrorLog.Add(Error.what());
    SoundDevice.reset();
  }
  if (Input) Input->SetKeySound([this] { PlaySound(Input.get(), "Key"); });
}

TAudio::~TAudio() {
  if (Input) Input->SetKeySound({});
  SourceList.Clear();
  SampleList.Clear();
}

void TAudio::LoadSounds() {
  for (const TNamedSound& Sound : kSoundTable)
    LoadSample(Sound.Name, Sound.Looping, Sound.Channel, Sound.Streamed, Sound.Volume);
}

TSample* TAudio::LoadSample(const std::string& Name, bool Looping, std::uint8_t Channel,
                            bool Streamed, float Volume) {
  if (auto* Found = SampleList.FindAs<TSample>(Name)) return Found;
  auto Sample = std::make_unique<TSample>();
  Sample->Name = Name;
  Sample->Looping = Looping;
  Sample->Channel = Channel;
  Sample->Streamed = Streamed;
  Sample->Volume = Volume;
  if (SoundDevice) {
    try {
      const std::string Base = Register.SamplesFolder + Name;
      if (Platform::FileExists(Base + ".ogg")) {
        Sample->LoadOgg(*SoundDevice, Base + ".ogg");
      } else if (Platform::FileExists(Base + ".wav")) {
        Sample->Streamed = false;
        Sample->LoadWav(*SoundDevice, Base + ".wav");
      } else {
        Refuse("Missing file");
      }
    } catch (const std::exception& Error) {
      Sample->Buffer.reset();
      Sample->Duration = 0.0f;
      ErrorLog.Add(SampleLoadFailure(Name, Error.what()));
    }
  }
  return SampleList.Insert(std::move(Sample), nullptr, TInsertMode::Front);
}

TSource* TAudio::TakeSource(std::string_view Name) {
  TSourceRequest Request{SampleList.FindAs<TSample>(Name), SoundDevice.get()};
  return SourceList.AddAs<TSource>(Name, &Request, TInsertMode::Front);
}

TSource* TAudio::PlaySound(const void* Owner, std::string_view Name, float Volume) {
  TSource* Source = TakeSource(Name);
  Source->Owner = Owner;
  Source->SetVolume(Volume);
  Source->SetPlaying(true);
  return Source;
}

void TAudio::StopSounds(const void* Owner) {
  for (TContainerWalker Walker(SourceList); Walker.HasCurrent(); Walker.MoveNext()) {
    TSource* Source = Walker.CurrentAs<TSource>();
    if (Source && !Source->Persistent && Source->Owner == Owner) Source->SetPlaying(false);
  }
}

void TAudio::StartLoop(TSource*& Slot, std::string_view Name) {
  if (Slot) return;
  Slot = TakeSource(Name);
  Slot->Persistent = true;
}

void TAudio::StopLoop(TSource*& Slot) {
  if (!Slot) return;
  Slot->Remove();
  Slot = nullptr;
}

void TAudio::PlayMusic(std::string_view Name) {
  if (Name == Music) return;
  Music.assign(Name);
  MusicStateNow = 2;
}

void TAudio::SetVolume(std::uint8_t Channel, int Level) {
  if (Channel != kChannelEffects && Channel != kChannelMusic) return;
  Level = std::clamp(Level, 0, 10);
  std::int32_t& Setting = Channel == kChannelMusic ? Register.MusicVolume : Register.SfxVolume;
  if (Level == Setting) return;
  Setting = Level;
  for (TContainerWalker Walker(SourceList); Walker.HasCurrent(); Walker.MoveNext()) {
    TSource* Source = Walker.CurrentAs<TSource>();
    if (Source && Source->Sample && Source->Buffer && Source->Sample->Channel == Channel)
      Source->Buffer->SetVolume(SoundLevel(Source->Volume, Source->Sample->Volume, Level));
  }
}

void TAudio::Update() {
  Update(Input ? Input->FrameTime() : 0.0f);
}

void TAudio::Update(float FrameTime) {
  for (TContainerWalker Walker(SourceList); Walker.HasCurrent(); Walker.MoveNext()) {
    TSource* Source = Walker.CurrentAs<TSource>();
    if (!Source) continue;
    TSample* Sample = Source->Sample;
    if (Sample && Sample->Streamed && Source->OwnsSampleBuffer && Sample->StreamOpen()) {
      Sample->PumpStream();
      if (Sample->StreamFailed()) Sample->CloseStream();
    }
    if (!Source->Persistent && (!Source->Buffer || !Source->Buffer->Playing())) Source->Remove();
  }
  UpdateMusic(FrameTime);
}

void TAudio::UpdateMusic(float FrameTime) {
  if (MusicStateNow == 1) {
    Fade += FrameTime;
    if (Fade >= 1.0f) {
      Fade = 1.0f;
      MusicStateNow = 0;
      StopLoop(MusicFading);
    }
    if (MusicFading) MusicFading->SetVolume(1.0f - Fade);
    if (MusicPlaying) MusicPlaying->SetVolume(Fade);
  } else if (MusicStateNow == 2) {
    // Asked for another piece and back within one frame: the piece plays on as it was (starting
    // it again would find its stream in use and fade the music out).
    if (MusicPlaying && MusicPlaying->Name == Music) {
      MusicStateNow = MusicFading ? 1 : 0;
      return;
    }
    StopLoop(MusicFading);
    MusicFading = MusicPlaying;
    MusicPlaying = nullptr;
    if (!Music.empty()) {
      StartLoop(MusicPlaying, Music);
      MusicPlaying->SetVolume(0.0f);
      MusicPlaying->SetPlaying(true);
    }
    MusicStateNow = 1;
    Fade = 0.0f;
  }
}

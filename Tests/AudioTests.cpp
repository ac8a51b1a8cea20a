// AudioTests.cpp -- the audio service on the Null sound device: levels, the WAV and Ogg Vorbis
// loaders, sources and their pool, loops, streaming, music cross-fades, a captured mix of a known
// scene, the key sound, running without a sound card, and calvora-data sound. The Ogg files are
// encoded by the tests themselves with vorbisenc.

#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <new>

#include <gtest/gtest.h>

#include "AllocationCounter.h"
#include "EngineAudio.h"
#include "EngineInput.h"
#include "EngineRegister.h"
#include "Game.h"
#include "NullPlatform.h"
#include "PlatformSound.h"
#include "TestSupport.h"

namespace {

using Platform::TSoundFormat;

constexpr float kFrame = 1.0f / 60.0f;

// ---- Fixture files ----------------------------------------------------------------------------

void Put16(std::string& Out, std::uint32_t Value) {
  Out.push_back(static_cast<char>(Value & 0xFF));
  Out.push_back(static_cast<char>((Value >> 8) & 0xFF));
}
void Put32(std::string& Out, std::uint32_t Value) {
  Put16(Out, Value & 0xFFFF);
  Put16(Out, Value >> 16);
}

// A WAV file whose every field a test may set, lies included.
struct TWav {
  std::string Riff = "RIFF";
  std::string Wave = "WAVE";
  std::string FirstChunk = "fmt ";
  std::uint32_t FmtLength = 16;
  std::uint16_t Tag = 1;
  std::uint16_t Channels = 1;
  std::uint32_t Rate = 22050;
  std::uint16_t Bits = 16;
  std::int64_t Avg = -1;    // -1: Rate x Align
  std::int32_t Align = -1;  // -1: Channels x Bits / 8
  std::string Between;      // whole chunks between "fmt " and "data"
  std::string DataId = "data";
  std::string Data;
  std::int64_t DataLength = -1;           // -1: the length of Data
  std::size_t CutAt = std::string::npos;  // the file ends here

  std::string Bytes() const {
    const std::uint32_t BlockAlign =
        Align >= 0 ? static_cast<std::uint32_t>(Align) : Channels * Bits / 8u;
    std::string Out = Riff;
    Put32(Out, static_cast<std::uint32_t>(36 + Between.size() + Data.size()));
    Out += Wave + FirstChunk;
    Put32(Out, FmtLength);
    Put16(Out, Tag);
    Put16(Out, Channels);
    Put32(Out, Rate);
    Put32(Out, Avg >= 0 ? static_cast<std::uint32_t>(Avg) : Rate * BlockAlign);
    Put16(Out, BlockAlign);
    Put16(Out, Bits);
    Out += Between + DataId;
    Put32(Out, DataLength >= 0 ? static_cast<std::uint32_t>(DataLength)
                               : static_cast<std::uint32_t>(Data.size()));
    Out += Data;
    return Out.substr(0, CutAt);
  }
};

// 16-bit samples as little-endian bytes.
std::string Pcm16(const std::vector<std::int16_t>& Samples) {
  std::string Out(Samples.size() * 2, '\0');
  std::memcpy(Out.data(), Samples.data(), Out.size());
  return Out;
}

using TWave = std::function<float(std::int64_t Frame, int Channel)>;

// An Ogg Vorbis file of Frames frames of Wave, encoded here. Encoding is deterministic, and the
// files are cached by Key because encoding takes a while.
const std::string& OggFile(const std::string& Key, int Channels, int Rate, std::int64_t Frames,
                           const TWave& Wave, float Quality = 0.3f) {
  static std::map<std::string, std::string> Cache;
  if (auto Found = Cache.find(Key); Found != Cache.end()) return Found->second;
  std::string Out;
  vorbis_info Info;
  vorbis_info_init(&Info);
  if (vorbis_encode_init_vbr(&Info, Channels, Rate, Quality) != 0)
    throw std::runtime_error("vorbis_encode_init_vbr failed");
  vorbis_comment Comment;
  vorbis_comment_init(&Comment);
  vorbis_dsp_state Dsp;
  vorbis_analysis_init(&Dsp, &Info);
  vorbis_block Block;
  vorbis_block_init(&Dsp, &Block);
  ogg_stream_state Stream;
  ogg_stream_init(&Stream, 1234);
  ogg_page Page;
  ogg_packet Packet, CommentPacket, CodePacket;
  vorbis_analysis_headerout(&Dsp, &Comment, &Packet, &CommentPacket, &CodePacket);
  ogg_stream_packetin(&Stream, &Packet);
  ogg_stream_packetin(&Stream, &CommentPacket);
  ogg_stream_packetin(&Stream, &CodePacket);
  auto Append = [&Out](const ogg_page& P) {
    Out.append(reinterpret_cast<const char*>(P.header), static_cast<std::size_t>(P.header_len));
    Out.append(reinterpret_cast<const char*>(P.body), static_cast<std::size_t>(P.body_len));
  };
  while (ogg_stream_flush(&Stream, &Page) != 0)
    Append(Page);
  auto Drain = [&] {
    while (vorbis_analysis_blockout(&Dsp, &Block) == 1) {
      vorbis_analysis(&Block, nullptr);
      vorbis_bitrate_addblock(&Block);
      while (vorbis_bitrate_flushpacket(&Dsp, &Packet) != 0) {
        ogg_stream_packetin(&Stream, &Packet);
        while (ogg_stream_pageout(&Stream, &Page) != 0)
          Append(Page);
      }
    }
  };
  for (std::int64_t Start = 0; Start < Frames; Start += 1024) {
    const int Count = static_cast<int>(std::min<std::int64_t>(1024, Frames - Start));
    float** Buffer = vorbis_analysis_buffer(&Dsp, Count);
    for (int Channel = 0; Channel < Channels; ++Channel)
      for (int I = 0; I < Count; ++I)
        Buffer[Channel][I] = Wave(Start + I, Channel);
    vorbis_analysis_wrote(&Dsp, Count);
    Drain();
  }
  vorbis_analysis_wrote(&Dsp, 0);
  Drain();
  while (ogg_stream_flush(&Stream, &Page) != 0)
    Append(Page);
  ogg_stream_clear(&Stream);
  vorbis_block_clear(&Block);
  vorbis_dsp_clear(&Dsp);
  vorbis_comment_clear(&Comment);
  vorbis_info_clear(&Info);
  return Cache[Key] = Out;
}

// A pure tone with a whole number of periods in the file, so that it loops seamlessly.
TWave Tone(double Hertz, int Rate, float Amplitude) {
  return [=](std::int64_t Frame, int Channel) {
    return Amplitude * static_cast<float>(std::sin(2 * M_PI * Hertz * (Channel + 1) *
                                                   static_cast<double>(Frame) / Rate));
  };
}

// The whole file decoded by vorbisfile: 16-bit interleaved samples.
std::vector<std::int16_t> DecodeOgg(const std::string& Path) {
  OggVorbis_File File;
  if (ov_fopen(Path.c_str(), &File) != 0) throw std::runtime_error("ov_fopen failed");
  std::vector<std::int16_t> Samples;
  char Chunk[8192];
  int Link = 0;
  long Count;
  while ((Count = ov_read(&File, Chunk, sizeof(Chunk), 0, 2, 1, &Link)) > 0) {
    const std::size_t At = Samples.size();
    Samples.resize(At + static_cast<std::size_t>(Count) / 2);
    std::memcpy(Samples.data() + At, Chunk, static_cast<std::size_t>(Count));
  }
  ov_clear(&File);
  if (Count < 0) throw std::runtime_error("ov_read failed");
  return Samples;
}

// The byte offsets of the Ogg pages of a file.
std::vector<std::size_t> OggPages(const std::string& File) {
  std::vector<std::size_t> Pages;
  for (std::size_t At = File.find("OggS"); At != std::string::npos; At = File.find("OggS", At + 4))
    Pages.push_back(At);
  return Pages;
}

// ---- The fixture ------------------------------------------------------------------------------

// An audio service on the Null platform (1/60 s a frame) over an empty samples folder, with the
// settings of a first start.
class AudioTest : public ::testing::Test {
 protected:
  TScratchFolder Folder;
  TRegister SavedRegister = Register;
  Platform::TNullPlatform Platform;
  std::unique_ptr<TAudio> Sound;

  void SetUp() override {
    Register = TRegister{};
    Register.SamplesFolder = Folder.Path() + "/Samples/";
    Register.SourcePool = 24;
    Register.SfxVolume = 10;
    Register.MusicVolume = 8;
    ErrorLog.Free();
    ErrorLog.Create();
  }
  void TearDown() override {
    Sound.reset();
    Register = SavedRegister;
    ErrorLog.Free();
  }

  void Start() { Sound = std::make_unique<TAudio>(Platform); }
  void WriteSample(const std::string& FileName, const std::string& Bytes) {
    WriteTextFile(Register.SamplesFolder + FileName, Bytes);
  }
  // One frame as the shell runs it: the clock (and so the mix) advances, then Audio.Update.
  void Frame(float Time = kFrame) {
    Platform.BeginFrame();
    Sound->Update(Time);
  }
  void Frames(int Count) {
    for (int I = 0; I < Count; ++I)
      Frame();
  }
  TSample* Effect(const std::string& Name) {
    return Sound->LoadSample(Name, false, kChannelEffects, false, 1.0f);
  }
  TSample* Music(const std::string& Name, float Volume = 0.85f) {
    return Sound->LoadSample(Name, true, kChannelMusic, true, Volume);
  }
  int Voices() const { return Platform.SoundMixer()->PlayingVoices(); }
  std::string LoadFailure(const std::string& Name, const std::string& Reason) const {
    return SampleLoadFailure(Name, Reason);
  }
};

// A short 16-bit mono click at 22050 Hz.
std::string ClickWav(int Frames = 1100, std::int16_t Value = 4000) {
  TWav Wav;
  Wav.Data = Pcm16(std::vector<std::int16_t>(static_cast<std::size_t>(Frames), Value));
  return Wav.Bytes();
}

// Music of 5.5 seconds at 11025 Hz mono: long enough to be streamed.
const std::string& ShortMusic(const std::string& Key, double Hertz) {
  return OggFile(Key, 1, 11025, 11025 * 11 / 2, Tone(Hertz, 11025, 0.3f), 0.1f);
}

// ---- Levels -----------------------------------------------------------------------------------

TEST(AudioLevel, FormulaAndAttenuationTable) {
  struct Case {
    float Source, Sample;
    int Setting, Expected;
  };
  const Case Cases[] = {
      {1.0f, 1.0f, 10, 0},        // full volume plays unattenuated
      {0.5f, 1.0f, 10, -700},     // index 10
      {1.0f, 1.0f, 0, -10000},    // setting 0 is silent
      {1.0f, 0.85f, 8, -420},     // "Theme1" at music 8: v = 0.68, index 20 - 14 = 6
      {0.125f, 1.0f, 10, -2400},  // 2.5 rounds to even: index 18
      {0.375f, 1.0f, 10, -870},   // 7.5 rounds to even: index 12
      {0.0f, 1.0f, 10, -10000},  {2.0f, 1.0f, 10, 0},      {-1.0f, 1.0f, 10, -10000},
      {1.0f, 1.0f, 5, -700},     {0.05f, 1.0f, 10, -3000}, {0.02f, 1.0f, 10, -10000},
  };
  for (const Case& C : Cases)
    EXPECT_EQ(SoundLevel(C.Source, C.Sample, C.Setting), C.Expected)
        << C.Source << " x " << C.Sample << " x " << C.Setting;
  EXPECT_EQ(AttenuationTable.front(), 0);
  EXPECT_EQ(AttenuationTable[15], -1200);
  EXPECT_EQ(AttenuationTable.back(), -10000);
}

TEST_F(AudioTest, SourcesSetTheirBuffersFromTheLevelFormula) {
  WriteSample("Click.wav", ClickWav());
  WriteSample("Theme1.ogg", ShortMusic("theme1", 441));
  Start();
  Effect("Click");
  Music("Theme1");
  EXPECT_EQ(Sound->PlaySound(this, "Click")->Buffer->Volume(), 0);
  TSource* Half = Sound->PlaySound(this, "Click", 0.5f);
  EXPECT_EQ(Half->Buffer->Volume(), -700);
  TSource* Theme = nullptr;
  Sound->StartLoop(Theme, "Theme1");
  EXPECT_EQ(Theme->Buffer->Volume(), -420);  // music 8, sample volume 0.85, source volume 1
  Sound->SetVolume(kChannelEffects, 0);
  EXPECT_EQ(Half->Buffer->Volume(), -10000);
  EXPECT_EQ(Theme->Buffer->Volume(), -420);
}

TEST_F(AudioTest, ChannelVolumesAreClampedStoredAndAppliedToTheirChannelOnly) {
  WriteSample("Click.wav", ClickWav());
  WriteSample("Theme1.ogg", ShortMusic("theme1", 441));
  Start();
  Effect("Click");
  Music("Theme1");
  TSource* Click = Sound->PlaySound(this, "Click");
  TSource* Theme = nullptr;
  Sound->StartLoop(Theme, "Theme1");
  struct Case {
    std::uint8_t Channel;
    int Level, Sfx, Musics, ClickVolume, ThemeVolume;
  };
  const Case Cases[] = {
      {kChannelEffects, 5, 5, 8, -700, -420},
      {kChannelMusic, 15, 5, 10, -700, -210},
      {kChannelEffects, -4, 0, 10, -10000, -210},
      {kChannelMusic, 4, 0, 4, -10000, -970},
      {7, 9, 0, 4, -10000, -970},  // no such channel
  };
  for (const Case& C : Cases) {
    Sound->SetVolume(C.Channel, C.Level);
    EXPECT_EQ(Register.SfxVolume, C.Sfx) << int(C.Channel) << " " << C.Level;
    EXPECT_EQ(Register.MusicVolume, C.Musics) << int(C.Channel) << " " << C.Level;
    EXPECT_EQ(Click->Buffer->Volume(), C.ClickVolume) << int(C.Channel) << " " << C.Level;
    EXPECT_EQ(Theme->Buffer->Volume(), C.ThemeVolume) << int(C.Channel) << " " << C.Level;
  }
}

// ---- Loading ----------------------------------------------------------------------------------

TEST_F(AudioTest, WavFilesTheLoaderRefuses) {
  struct Case {
    const char* What;
    TWav Wav;
    const char* Reason;
  };
  std::vector<Case> Cases;
  auto Add = [&Cases](const char* What, const char* Reason, auto Change) {
    TWav Wav;
    Wav.Data = Pcm16({1, 2, 3, 4});
    Change(Wav);
    Cases.push_back({What, Wav, Reason});
  };
  Add("not RIFF", "Invalid file type", [](TWav& W) { W.Riff = "RIFX"; });
  Add("not WAVE", "Invalid file type", [](TWav& W) { W.Wave = "AVI "; });
  Add("too short", "Invalid file type", [](TWav& W) { W.CutAt = 10; });
  Add("LIST between fmt and data", "Invalid structure of file",
      [](TWav& W) { W.Between = std::string("LIST\4\0\0\0INFO", 12); });
  Add("LIST before fmt", "Invalid structure of file", [](TWav& W) { W.FirstChunk = "LIST"; });
  Add("no data chunk", "Invalid structure of file", [](TWav& W) { W.CutAt = 36; });
  Add("fmt of 18 bytes", "Unsupported compression format", [](TWav& W) { W.FmtLength = 18; });
  Add("float samples", "Unsupported compression format", [](TWav& W) { W.Tag = 3; });
  Add("24-bit", "Unsupported bits per sample", [](TWav& W) { W.Bits = 24; });
  Add("4-bit", "Unsupported bits per sample", [](TWav& W) { W.Bits = 4; });
  Add("three channels", "Unsupported number of channels", [](TWav& W) { W.Channels = 3; });
  Add("no channels", "Unsupported number of channels", [](TWav& W) { W.Channels = 0; });
  Add("cut inside fmt", "Unexpected end of file", [](TWav& W) { W.CutAt = 30; });
  Add("data length beyond the file", "Unexpected end of file",
      [](TWav& W) { W.DataLength = 0x7FFFFFF0; });
  Add("data cut short", "Unexpected end of file", [](TWav& W) { W.CutAt = 46; });
  Add("block align that lies", "Failed to create secondary buffer", [](TWav& W) { W.Align = 3; });
  Add("byte rate that lies", "Failed to create secondary buffer", [](TWav& W) { W.Avg = 0; });
  Add("rate 0", "Failed to create secondary buffer", [](TWav& W) { W.Rate = 0; });
  Add("no data", "Failed to create secondary buffer", [](TWav& W) { W.Data.clear(); });

  for (std::size_t I = 0; I < Cases.size(); ++I)
    WriteSample("Bad" + std::to_string(I) + ".wav", Cases[I].Wav.Bytes());
  Start();
  for (std::size_t I = 0; I < Cases.size(); ++I) {
    const std::string Name = "Bad" + std::to_string(I);
    TSample* Sample = Effect(Name);
    EXPECT_EQ(Sample->Buffer, nullptr) << Cases[I].What;
    EXPECT_EQ(Sample->Duration, 0.0f) << Cases[I].What;
    ASSERT_EQ(ErrorLog.Lines().size(), I + 1);
    EXPECT_EQ(ErrorLog.Lines().back(), LoadFailure(Name, Cases[I].Reason)) << Cases[I].What;
  }
}

TEST_F(AudioTest, WavFilesLoadWholeInTheirOwnFormat) {
  struct Case {
    int Channels, Bits, Rate;
    std::string Data;
    std::uint32_t Size;  // whole frames of Data
  };
  const Case Cases[] = {
      {1, 8, 11025, std::string("\x80\x90\xA0\x70", 4), 4},
      {2, 16, 44100, Pcm16({100, -100, 2000, -2000, 300, 0}), 12},
      {1, 16, 22050, Pcm16({5, 6, 7}) + "\x01", 6},  // a part of a frame at the end is dropped
      {2, 8, 8000, std::string("\x01\x02\x03\x04\x05\x06", 6), 6},
  };
  for (std::size_t I = 0; I < std::size(Cases); ++I) {
    TWav Wav;
    Wav.Channels = static_cast<std::uint16_t>(Cases[I].Channels);
    Wav.Bits = static_cast<std::uint16_t>(Cases[I].Bits);
    Wav.Rate = static_cast<std::uint32_t>(Cases[I].Rate);
    Wav.Data = Cases[I].Data;
    WriteSample("Good" + std::to_string(I) + ".wav", Wav.Bytes());
  }
  Start();
  for (std::size_t I = 0; I < std::size(Cases); ++I) {
    const Case& C = Cases[I];
    // Marked streamed: a WAV file is never streamed.
    TSample* Sample =
        Sound->LoadSample("Good" + std::to_string(I), false, kChannelEffects, true, 1);
    ASSERT_NE(Sample->Buffer, nullptr) << I;
    EXPECT_FALSE(Sample->Streamed);
    EXPECT_EQ(Sample->Buffer->Format().Channels, C.Channels);
    EXPECT_EQ(Sample->Buffer->Format().BitsPerSample, C.Bits);
    EXPECT_EQ(Sample->Buffer->Format().SampleRate, C.Rate);
    EXPECT_EQ(Sample->Buffer->Size(), C.Size);
    EXPECT_FLOAT_EQ(Sample->Duration,
                    static_cast<float>(C.Data.size()) / (C.Rate * C.Channels * C.Bits / 8));
    std::span<std::uint8_t> Held = Sample->Buffer->Lock(0, C.Size);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(Held.data()), C.Size),
              C.Data.substr(0, C.Size));
    Sample->Buffer->Unlock();
  }
  EXPECT_TRUE(ErrorLog.Lines().empty());
}

TEST_F(AudioTest, OggIsPreferredAndAMissingFileIsLogged) {
  WriteSample("Click.wav", ClickWav());
  WriteSample("Click.ogg", OggFile("click", 1, 22050, 11025, Tone(500, 22050, 0.5f)));
  WriteSample("Switch.wav", ClickWav());
  Start();
  EXPECT_EQ(Effect("Click")->Buffer->Format().SampleRate, 22050);
  EXPECT_EQ(Effect("Click")->Buffer->Size(), 11025u * 2u);  // the Ogg file, as 16-bit PCM
  EXPECT_NEAR(Effect("Click")->Duration, 0.5f, 1e-6f);
  TSample* Missing = Effect("Focus");
  EXPECT_EQ(Missing->Buffer, nullptr);
  ASSERT_EQ(ErrorLog.Lines().size(), 1u);
  EXPECT_EQ(ErrorLog.Lines()[0], "Failed to load audio sample \"Focus\" (Missing file)");
  // Found again by name, not loaded again; new samples go in front.
  EXPECT_EQ(Effect("Focus"), Missing);
  EXPECT_EQ(ErrorLog.Lines().size(), 1u);
  Effect("Switch");
  EXPECT_EQ(Sound->Samples().First()->Name, "Switch");
}

TEST_F(AudioTest, LoadSoundsLoadsTheNamedTable) {
  WriteSample("Click.wav", ClickWav());
  Start();
  Sound->LoadSounds();
  EXPECT_EQ(Sound->Samples().Count(), 26);
  EXPECT_EQ(ErrorLog.Lines().size(), 25u);  // everything but "Click" is missing here
  EXPECT_EQ(ErrorLog.Lines().front(), LoadFailure("ThemeMenu", "Missing file"));
  struct Case {
    const char* Name;
    std::uint8_t Channel;
    bool Looping, Streamed;
    float Volume;
  };
  const Case Cases[] = {
      {"ThemeMenu", kChannelMusic, true, true, 1.0f},
      {"Theme1", kChannelMusic, true, true, 0.85f},
      {"Theme2", kChannelMusic, true, true, 0.85f},
      {"Click", kChannelEffects, false, false, 1.0f},
      {"Demolish", kChannelEffects, false, false, 1.0f},
      {"DeliveredStone", kChannelEffects, false, false, 1.0f},
      {"Constructing", kChannelEffects, true, false, 1.0f},
      {"Applause", kChannelEffects, true, false, 1.0f},
  };
  for (const Case& C : Cases) {
    auto* Sample = Sound->Samples().FindAs<TSample>(C.Name);
    ASSERT_NE(Sample, nullptr) << C.Name;
    EXPECT_EQ(Sample->Channel, C.Channel) << C.Name;
    EXPECT_EQ(Sample->Looping, C.Looping) << C.Name;
    EXPECT_EQ(Sample->Streamed, C.Streamed) << C.Name;
    EXPECT_EQ(Sample->Volume, C.Volume) << C.Name;
  }
  EXPECT_EQ(Sound->Samples().First()->Name, "Applause");  // the last of the table, in front
  EXPECT_EQ(Sound->Samples().Find("Key"), nullptr);
}

TEST_F(AudioTest, AShortOggMarkedStreamedIsLoadedWholeAndALongOneStreamed) {
  const std::string& Four = OggFile("four", 2, 22050, 22050 * 4, Tone(441, 22050, 0.3f), 0.1f);
  WriteSample("Theme1.ogg", Four);
  WriteSample("Theme2.ogg", ShortMusic("theme2", 551.25));
  Start();
  TSample* Whole = Music("Theme1");
  ASSERT_NE(Whole->Buffer, nullptr);
  EXPECT_FALSE(Whole->Streamed);
  EXPECT_FLOAT_EQ(Whole->Duration, 4.0f);
  EXPECT_EQ(Whole->Buffer->Size(), 22050u * 4u * 4u);
  EXPECT_EQ(Whole->Buffer->Format().BitsPerSample, 16);
  // The buffer holds exactly what the decoder gives.
  const std::vector<std::int16_t> Decoded = DecodeOgg(Register.SamplesFolder + "Theme1.ogg");
  ASSERT_EQ(Decoded.size() * 2, Whole->Buffer->Size());
  std::span<std::uint8_t> Held = Whole->Buffer->Lock(0, Whole->Buffer->Size());
  EXPECT_EQ(std::memcmp(Held.data(), Decoded.data(), Held.size()), 0);
  Whole->Buffer->Unlock();

  TSample* Long = Music("Theme2");
  ASSERT_NE(Long->Buffer, nullptr);
  EXPECT_TRUE(Long->Streamed);
  EXPECT_NEAR(Long->Duration, 5.5f, 1e-4f);
  EXPECT_EQ(Long->Buffer->Size(), 6u * 5512u * 2u);  // six chunks of half a second
  EXPECT_EQ(Long->StreamPath, Register.SamplesFolder + "Theme2.ogg");
  EXPECT_FALSE(Long->StreamOpen());  // opened only while a source plays it
  EXPECT_TRUE(ErrorLog.Lines().empty());
}

// A tone with some noise in it, which takes more bytes to encode: more pages to damage.
TWave NoisyTone(double Hertz, int Rate) {
  return [=](std::int64_t Frame, int Channel) {
    const std::uint32_t Hash = static_cast<std::uint32_t>(Frame * 2654435761u + Channel * 97u);
    return Tone(Hertz, Rate, 0.3f)(Frame, Channel) + ((Hash >> 16) / 65536.0f - 0.5f) * 0.2f;
  };
}

// Three seconds of an effect in Ogg: enough pages to damage one in the middle.
const std::string& LongEffect() {
  return OggFile("effect", 1, 22050, 3 * 22050, NoisyTone(500, 22050), 0.5f);
}

TEST_F(AudioTest, ADamagedOggFileSilencesOnlyItsOwnSample) {
  const std::string& Good = LongEffect();
  const std::vector<std::size_t> Pages = OggPages(Good);
  ASSERT_GT(Pages.size(), 4u);
  std::string Corrupt = Good;
  const std::size_t Middle = Pages[Pages.size() / 2];
  for (std::size_t I = Middle + 40; I < Middle + 60; ++I)
    Corrupt[I] = static_cast<char>(~Corrupt[I]);
  const std::string& Surround = OggFile("three", 3, 22050, 2205, Tone(500, 22050, 0.5f));

  WriteSample("Click.ogg", Good);
  WriteSample("Switch.ogg", Good.substr(0, 120));  // cut inside the headers
  WriteSample("Select.ogg", Corrupt);
  WriteSample("Focus.ogg", "this is no Ogg file at all");
  WriteSample("Horn.ogg", Surround);
  Start();
  for (const char* Name : {"Click", "Switch", "Select", "Focus", "Horn"})
    Effect(Name);
  const std::vector<std::string> Expected = {LoadFailure("Switch", "Failed to open ogg file"),
                                             LoadFailure("Select", "Failed to decode audio data"),
                                             LoadFailure("Focus", "Failed to open ogg file"),
                                             LoadFailure("Horn", "Unsupported number of channels")};
  EXPECT_EQ(ErrorLog.Lines(), Expected);
  for (const char* Name : {"Switch", "Select", "Focus", "Horn"}) {
    auto* Sample = Sound->Samples().FindAs<TSample>(Name);
    EXPECT_EQ(Sample->Buffer, nullptr) << Name;
    EXPECT_EQ(Sample->Duration, 0.0f) << Name;
    TSource* Silent = Sound->PlaySound(this, Name);
    EXPECT_EQ(Silent->Buffer, nullptr) << Name;
  }
  TSource* Click = Sound->PlaySound(this, "Click");
  ASSERT_NE(Click->Buffer, nullptr);
  EXPECT_EQ(Voices(), 1);
  Frame();
  EXPECT_EQ(Sound->Sources().Count(), 1);  // the silent ones went back to the pool
}

TEST_F(AudioTest, AnOggCutInItsAudioPlaysWhatItHas) {
  const std::string& Good = LongEffect();
  WriteSample("Click.ogg", Good.substr(0, Good.size() * 2 / 3));
  Start();
  TSample* Sample = Effect("Click");
  ASSERT_NE(Sample->Buffer, nullptr);
  EXPECT_TRUE(ErrorLog.Lines().empty());
  EXPECT_GT(Sample->Duration, 1.0f);
  EXPECT_LT(Sample->Duration, 3.0f);
}

// ---- Sources ----------------------------------------------------------------------------------

TEST_F(AudioTest, ThreeClicksAtOnceUseTheBufferAndTwoDuplicatesAndAllGoBack) {
  WriteSample("Click.wav", ClickWav(1100, 4000));  // 50 ms
  Platform.CaptureSound = true;
  Start();
  TSample* Click = Effect("Click");
  TSource* First = Sound->PlaySound(this, "Click");
  TSource* Second = Sound->PlaySound(this, "Click");
  TSource* Third = Sound->PlaySound(this, "Click");
  EXPECT_EQ(Sound->Sources().Count(), 3);
  EXPECT_EQ(Sound->Sources().First(), Third);  // taken sources go in front
  EXPECT_TRUE(First->OwnsSampleBuffer);
  EXPECT_EQ(First->Buffer, Click->Buffer.get());
  for (TSource* Copy : {Second, Third}) {
    EXPECT_FALSE(Copy->OwnsSampleBuffer);
    ASSERT_NE(Copy->Buffer, nullptr);
    EXPECT_NE(Copy->Buffer, Click->Buffer.get());
    EXPECT_TRUE(Copy->Buffer->Playing());
  }
  EXPECT_NE(Second->Buffer, Third->Buffer);
  EXPECT_TRUE(Click->InUse);
  EXPECT_EQ(Voices(), 3);

  Frame();  // all three are heard together
  EXPECT_NEAR(Platform.CapturedSound[0], 3 * 4000 / 32768.0f, 1e-6f);
  EXPECT_EQ(Sound->Sources().Count(), 3);
  Frames(3);  // 50 ms have passed
  EXPECT_EQ(Sound->Sources().Count(), 0);
  EXPECT_EQ(Sound->Sources().CacheCount(), 24);
  EXPECT_FALSE(Click->InUse);
  EXPECT_EQ(Voices(), 0);

  // The pool was not used up: 24 sources at once still fit in it.
  for (int I = 0; I < 24; ++I)
    Sound->PlaySound(this, "Click");
  EXPECT_EQ(Sound->Sources().CacheCount(), 24);
  EXPECT_EQ(Voices(), 24);
}

TEST_F(AudioTest, StopSoundsStopsTheOwnersOneShotsAndLeavesLoopsAlone) {
  WriteSample("Click.wav", ClickWav(22050));  // a second long
  WriteSample("Constructing.wav", ClickWav(2205));
  Start();
  Effect("Click");
  Sound->LoadSample("Constructing", true, kChannelEffects, false, 1.0f);
  int Owner = 0, Other = 0;
  Sound->PlaySound(&Owner, "Click");
  Sound->PlaySound(&Owner, "Click", 0.3f);
  TSource* Others = Sound->PlaySound(&Other, "Click");
  TSource* Loop = nullptr;
  Sound->StartLoop(Loop, "Constructing");
  Sound->StartLoop(Loop, "Click");  // the slot is taken: nothing happens
  EXPECT_EQ(Loop->Sample->Name, "Constructing");
  Loop->Owner = &Owner;         // even a loop slot of the same owner is left alone
  EXPECT_FALSE(Loop->Playing);  // StartLoop does not start it
  Loop->SetPlaying(true);
  EXPECT_TRUE(Loop->Buffer->Looping());

  Sound->StopSounds(&Owner);
  Frame();
  EXPECT_EQ(Sound->Sources().Count(), 2);
  EXPECT_TRUE(Others->Buffer->Playing());
  EXPECT_TRUE(Loop->Buffer->Playing());
  Frames(120);  // two seconds: the other owner's click ended, the loop plays on
  EXPECT_EQ(Sound->Sources().Count(), 1);
  EXPECT_TRUE(Loop->Buffer->Playing());
  Sound->StopLoop(Loop);
  EXPECT_EQ(Loop, nullptr);
  EXPECT_EQ(Sound->Sources().Count(), 0);
  EXPECT_EQ(Voices(), 0);
  Sound->StopLoop(Loop);  // an empty slot: nothing
}

TEST_F(AudioTest, UnknownNamesPlayNothingAndGoBackAtTheNextUpdate) {
  Start();
  TSource* Gong = Sound->PlaySound(this, "Gong");
  EXPECT_EQ(Gong->Sample, nullptr);
  EXPECT_EQ(Gong->Buffer, nullptr);
  EXPECT_FALSE(Gong->Playing);
  TSource* Slot = nullptr;
  Sound->StartLoop(Slot, "Gong");
  Frame();
  EXPECT_EQ(Sound->Sources().Count(), 1);  // the loop slot stays until stopped
  Sound->StopLoop(Slot);
  EXPECT_EQ(Sound->Sources().Count(), 0);
}

TEST_F(AudioTest, TypedKeysPlayKeyOwnedByTheInputService) {
  Input = std::make_unique<TInput>(Platform);
  Start();
  Input->BeginTextInput(3);
  Input->CharInput('a');
  ASSERT_EQ(Sound->Sources().Count(), 1);
  auto* Key = static_cast<TSource*>(Sound->Sources().First());
  EXPECT_EQ(Key->Name, "Key");
  EXPECT_EQ(Key->Owner, Input.get());
  Input->CharInput(8);
  EXPECT_EQ(Sound->Sources().Count(), 2);
  Frame();
  EXPECT_EQ(Sound->Sources().Count(), 0);  // "Key" is not in the table: nothing to hear
  Sound.reset();
  Input->CharInput('b');  // the audio service is gone and took its key sound with it
  EXPECT_EQ(Input->InputText(), "b");
  Input.reset();
}

// ---- Streaming and music ----------------------------------------------------------------------

TEST_F(AudioTest, AStreamFillsItsRingOneStepAFrame) {
  WriteSample("Theme1.ogg", ShortMusic("theme1", 441));
  Start();
  TSample* Theme = Music("Theme1");
  TSource* Source = nullptr;
  Sound->StartLoop(Source, "Theme1");
  ASSERT_TRUE(Theme->StreamOpen());
  TStreamInfo Info = Theme->StreamInfo();
  EXPECT_EQ(Info.ChunkBytes, 5512u * 2u);
  EXPECT_EQ(Info.Decodes, 3);  // chunks 0 and 1 written, the third decoded and waiting
  EXPECT_EQ(Info.Writes, 2);
  EXPECT_EQ(Info.FreeChunks, 4);
  EXPECT_TRUE(Info.DecodedReady);
  Source->SetVolume(1.0f);
  Source->SetPlaying(true);
  EXPECT_TRUE(Source->Buffer->Looping());

  // A second source of a streamed sample in use gets nothing; returning it leaves the stream.
  TSource* Second = Sound->PlaySound(this, "Theme1");
  EXPECT_EQ(Second->Buffer, nullptr);

  int Steps = Info.Decodes + Info.Writes;
  for (int I = 0; I < 600; ++I) {  // ten seconds: the ring goes round three times
    Frame();
    Info = Theme->StreamInfo();
    const int Now = Info.Decodes + Info.Writes;
    ASSERT_LE(Now - Steps, 1) << "frame " << I;
    Steps = Now;
    const int Playing = static_cast<int>(Source->Buffer->Position() / Info.ChunkBytes);
    EXPECT_EQ(Info.CurrentChunk, Playing) << "frame " << I;
    if (I > 20) {
      EXPECT_LE(Info.FreeChunks, 1) << "frame " << I;  // the ring stays full
    }
  }
  EXPECT_EQ(Sound->Sources().Count(), 1);
  EXPECT_TRUE(Theme->StreamOpen());
  EXPECT_TRUE(Source->Buffer->Playing());
  EXPECT_GE(Info.Writes, 20);  // ten seconds are twenty half-second chunks
  Sound->StopLoop(Source);
  EXPECT_FALSE(Theme->StreamOpen());
  EXPECT_FALSE(Theme->InUse);
}

TEST_F(AudioTest, AStreamThatFailsFallsSilentWithoutAMessage) {
  std::string Damaged = OggFile("noisy", 1, 11025, 11025 * 6, NoisyTone(441, 11025), 0.5f);
  const std::vector<std::size_t> Pages = OggPages(Damaged);
  ASSERT_GT(Pages.size(), 8u);
  const std::size_t Late = Pages[Pages.size() * 3 / 4];
  for (std::size_t I = Late + 40; I < Late + 60; ++I)
    Damaged[I] = static_cast<char>(~Damaged[I]);
  WriteSample("Theme1.ogg", Damaged);
  WriteSample("Constructing.wav", ClickWav(2205));
  Start();
  TSample* Theme = Music("Theme1");
  Sound->LoadSample("Constructing", true, kChannelEffects, false, 1.0f);
  ASSERT_TRUE(Theme->Streamed);
  TSource *Source = nullptr, *Loop = nullptr;
  Sound->StartLoop(Source, "Theme1");
  Source->SetPlaying(true);
  Sound->StartLoop(Loop, "Constructing");
  Loop->SetPlaying(true);
  Frames(400);
  EXPECT_FALSE(Theme->StreamOpen());
  EXPECT_FALSE(Source->Buffer->Playing());
  EXPECT_TRUE(Loop->Buffer->Playing());  // the other sound plays on
  EXPECT_EQ(Voices(), 1);
  EXPECT_TRUE(ErrorLog.Lines().empty());
  Source->SetPlaying(false);
  Source->SetPlaying(true);  // the stream is closed: it stays silent
  EXPECT_FALSE(Source->Buffer->Playing());
}

class MusicTest : public AudioTest {
 protected:
  void SetUp() override {
    AudioTest::SetUp();
    WriteSample("Theme1.ogg", ShortMusic("theme1", 441));
    WriteSample("Theme2.ogg", ShortMusic("theme2", 551.25));
    Start();
    Music("Theme1");
    Music("Theme2");
  }
  // Plays Theme1 until its fade-in is over.
  void PlayTheme1() {
    Sound->PlayMusic("Theme1");
    Frame();
    for (int I = 0; I < 4; ++I)
      Frame(0.25f);
    ASSERT_EQ(Sound->MusicState(), 0);
  }
};

TEST_F(MusicTest, ACrossFadeIsOneSecondLinearInTheSourceVolume) {
  Sound->PlayMusic("Theme1");
  EXPECT_EQ(Sound->MusicState(), 2);
  Frame();
  EXPECT_EQ(Sound->MusicState(), 1);
  ASSERT_NE(Sound->MusicSource(), nullptr);
  EXPECT_EQ(Sound->MusicSource()->Name, "Theme1");
  EXPECT_EQ(Sound->MusicSource()->Volume, 0.0f);
  EXPECT_TRUE(Sound->MusicSource()->Buffer->Playing());
  EXPECT_EQ(Sound->FadingSource(), nullptr);
  for (int I = 0; I < 4; ++I)
    Frame(0.25f);
  EXPECT_EQ(Sound->MusicState(), 0);
  EXPECT_EQ(Sound->MusicSource()->Volume, 1.0f);
  EXPECT_EQ(Sound->MusicSource()->Buffer->Volume(), -420);

  Sound->PlayMusic("Theme1");  // the current piece: nothing
  EXPECT_EQ(Sound->MusicState(), 0);

  TSource* Old = Sound->MusicSource();
  Sound->PlayMusic("Theme2");
  Frame();
  EXPECT_EQ(Sound->FadingSource(), Old);
  EXPECT_EQ(Sound->MusicSource()->Name, "Theme2");
  EXPECT_EQ(Voices(), 2);
  struct Step {
    float Progress;
    int OldVolume, NewVolume;  // buffer volumes: music 8, sample volume 0.85
  };
  const Step Steps[] = {{0.25f, -700, -1900}, {0.5f, -970, -970}, {0.75f, -1900, -700}};
  for (const Step& S : Steps) {
    Frame(0.25f);
    EXPECT_EQ(Sound->FadeProgress(), S.Progress);
    EXPECT_EQ(Old->Volume, 1.0f - S.Progress);
    EXPECT_EQ(Sound->MusicSource()->Volume, S.Progress);
    EXPECT_EQ(Old->Buffer->Volume(), S.OldVolume) << S.Progress;
    EXPECT_EQ(Sound->MusicSource()->Buffer->Volume(), S.NewVolume) << S.Progress;
  }
  Frame(0.25f);  // one second: only the new piece is left
  EXPECT_EQ(Sound->MusicState(), 0);
  EXPECT_EQ(Sound->FadingSource(), nullptr);
  EXPECT_EQ(Sound->Sources().Count(), 1);
  EXPECT_EQ(Sound->MusicSource()->Volume, 1.0f);
  EXPECT_EQ(Voices(), 1);
  EXPECT_TRUE(Sound->MusicSource()->Buffer->Playing());
  auto* Theme1 = Sound->Samples().FindAs<TSample>("Theme1");
  EXPECT_FALSE(Theme1->InUse);
  EXPECT_FALSE(Theme1->StreamOpen());
}

TEST_F(MusicTest, AnEmptyNameFadesTheMusicOut) {
  PlayTheme1();
  Sound->PlayMusic("");
  Frame();
  EXPECT_EQ(Sound->MusicSource(), nullptr);
  ASSERT_NE(Sound->FadingSource(), nullptr);
  for (int I = 0; I < 4; ++I)
    Frame(0.25f);
  EXPECT_EQ(Sound->FadingSource(), nullptr);
  EXPECT_EQ(Sound->Sources().Count(), 0);
  EXPECT_EQ(Voices(), 0);
}

TEST_F(MusicTest, AChangeDuringAFadeStopsThePieceFadingOut) {
  PlayTheme1();
  TSource* Theme1 = Sound->MusicSource();
  Sound->PlayMusic("Theme2");
  Frame();
  Frame(0.25f);
  TSource* Theme2 = Sound->MusicSource();
  EXPECT_EQ(Sound->FadingSource(), Theme1);
  Sound->PlayMusic("");
  Frame();
  EXPECT_EQ(Sound->FadingSource(), Theme2);  // Theme1 was stopped, Theme2 fades out
  EXPECT_EQ(Sound->MusicSource(), nullptr);
  EXPECT_EQ(Sound->Sources().Count(), 1);
  EXPECT_EQ(Sound->FadeProgress(), 0.0f);
}

TEST_F(MusicTest, AskingForAnotherPieceAndBackInOneFrameKeepsThePiecePlaying) {
  PlayTheme1();
  TSource* Theme1 = Sound->MusicSource();
  Sound->PlayMusic("Theme2");
  Sound->PlayMusic("Theme1");
  Frame();
  EXPECT_EQ(Sound->MusicState(), 0);
  EXPECT_EQ(Sound->MusicSource(), Theme1);
  EXPECT_EQ(Theme1->Volume, 1.0f);
  EXPECT_TRUE(Theme1->Buffer->Playing());
  EXPECT_EQ(Sound->Sources().Count(), 1);
}

TEST_F(MusicTest, FramesAllocateNothingWhileMusicAndLoopsPlay) {
  WriteSample("Constructing.wav", ClickWav(2205));
  Sound->LoadSample("Constructing", true, kChannelEffects, false, 1.0f);
  PlayTheme1();
  TSource* Loop = nullptr;
  Sound->StartLoop(Loop, "Constructing");
  Loop->SetPlaying(true);
  Frames(60);
  const std::size_t Before = AllocationCount();
  Frames(300);  // five seconds: the stream decodes and writes ten chunks and wraps
  Sound->SetVolume(kChannelMusic, 3);
  Frames(10);
  EXPECT_EQ(AllocationCount() - Before, 0u);
}

// ---- A captured mix ---------------------------------------------------------------------------

// Music streamed from a 5.3-second Ogg file (48 kHz stereo, a whole number of periods, so that it
// loops seamlessly), a 16-bit mono click at 24 kHz at source volume 0.5 and an 8-bit stereo sound
// at 48 kHz, mixed by the Null device for 14 seconds and written to a WAV file: the file holds the
// sum of the voices at their gains, the music looping twice without a gap.
TEST_F(AudioTest, ACapturedMixIsTheSumOfTheVoicesAtTheirGains) {
  constexpr int kRate = 48000;
  constexpr std::int64_t kMusicFrames = kRate * 53 / 10;
  WriteSample("ThemeMenu.ogg", OggFile("menu", 2, kRate, kMusicFrames, Tone(440, kRate, 0.3f)));
  std::vector<std::int16_t> Click(2400);
  for (std::size_t I = 0; I < Click.size(); ++I)
    Click[I] = static_cast<std::int16_t>(9000 * std::sin(I * 0.05) + (I % 7) * 300);
  TWav ClickFile;
  ClickFile.Rate = 24000;
  ClickFile.Data = Pcm16(Click);
  WriteSample("Click.wav", ClickFile.Bytes());
  std::string Switch(2 * 9600, '\0');
  for (std::size_t I = 0; I < Switch.size(); ++I)
    Switch[I] = static_cast<char>(128 + static_cast<int>(60 * std::sin(I / 2 * 0.01 + I % 2)));
  TWav SwitchFile;
  SwitchFile.Channels = 2;
  SwitchFile.Bits = 8;
  SwitchFile.Rate = kRate;
  SwitchFile.Data = Switch;
  WriteSample("Switch.wav", SwitchFile.Bytes());

  Register.MusicVolume = 10;
  Platform.CaptureSound = true;
  Start();
  Sound->LoadSample("ThemeMenu", true, kChannelMusic, true, 1.0f);
  Effect("Click");
  Effect("Switch");
  ASSERT_TRUE(ErrorLog.Lines().empty());
  TSource* Menu = nullptr;
  Sound->StartLoop(Menu, "ThemeMenu");
  Menu->SetPlaying(true);
  const std::int64_t MusicStart = 0;
  std::int64_t ClickStart = -1, SwitchStart = -1;
  for (int FrameNumber = 1; FrameNumber <= 14 * 60; ++FrameNumber) {
    Platform.BeginFrame();
    if (FrameNumber == 30) {
      ClickStart = static_cast<std::int64_t>(Platform.SoundMixer()->FramesMixed());
      Sound->PlaySound(this, "Click", 0.5f);
    }
    if (FrameNumber == 100) {
      SwitchStart = static_cast<std::int64_t>(Platform.SoundMixer()->FramesMixed());
      Sound->PlaySound(this, "Switch");
    }
    Sound->Update(kFrame);
  }
  EXPECT_EQ(Sound->Sources().Count(), 1);  // the effects went back to the pool

  const std::string Path = Folder.Path() + "/mix.wav";
  ASSERT_EQ(Platform.WriteCapturedSound(Path), "");
  TSample Captured;
  auto Device = Platform::TNullPlatform().OpenSoundDevice();
  Captured.LoadWav(*Device, Path);
  const auto Frames = static_cast<std::int64_t>(Captured.Buffer->Size() / 4);
  EXPECT_EQ(Frames, static_cast<std::int64_t>(Platform.SoundMixer()->FramesMixed()));
  std::span<std::uint8_t> Bytes = Captured.Buffer->Lock(0, Captured.Buffer->Size());
  std::vector<std::int16_t> Heard(Bytes.size() / 2);
  std::memcpy(Heard.data(), Bytes.data(), Bytes.size());
  Captured.Buffer->Unlock();

  const std::vector<std::int16_t> Theme = DecodeOgg(Register.SamplesFolder + "ThemeMenu.ogg");
  ASSERT_EQ(static_cast<std::int64_t>(Theme.size()), 2 * kMusicFrames);
  const float ClickGain = static_cast<float>(std::pow(10.0, -700 / 2000.0));
  auto Expected = [&](std::int64_t T, int Channel) {
    float Sum = 0.0f;
    if (T >= MusicStart)
      Sum += Theme[static_cast<std::size_t>(2 * ((T - MusicStart) % kMusicFrames) + Channel)] /
             32768.0f;
    if (const std::int64_t K = T - ClickStart; K >= 0 && K < 2 * 2400) {
      const std::size_t I = static_cast<std::size_t>(K / 2);
      const float Next = I + 1 < Click.size() ? Click[I + 1] : 0.0f;
      const float Value = K % 2 ? (Click[I] + Next) / 2 : Click[I];
      Sum += Value / 32768.0f * ClickGain;
    }
    if (const std::int64_t K = T - SwitchStart; K >= 0 && K < 9600)
      Sum += (static_cast<unsigned char>(Switch[static_cast<std::size_t>(2 * K + Channel)]) - 128) /
             128.0f;
    return Platform::FloatToPcm16(Sum);
  };
  int Mismatches = 0;
  for (std::int64_t T = 0; T < Frames; ++T)
    for (int Channel = 0; Channel < 2; ++Channel) {
      const int Difference =
          Heard[static_cast<std::size_t>(2 * T + Channel)] - Expected(T, Channel);
      if (std::abs(Difference) > 2 && Mismatches++ < 5)
        ADD_FAILURE() << "frame " << T << " channel " << Channel << " off by " << Difference;
    }
  EXPECT_EQ(Mismatches, 0);

  // No click where the music starts over: the step across each loop point is no larger than the
  // largest step inside the piece.
  int LargestStep = 0;
  for (std::int64_t T = 1; T < kMusicFrames; ++T)
    LargestStep = std::max(LargestStep, std::abs(Theme[2 * T] - Theme[2 * (T - 1)]));
  for (std::int64_t Loop = MusicStart + kMusicFrames; Loop < Frames; Loop += kMusicFrames)
    EXPECT_LE(std::abs(Heard[2 * Loop] - Heard[2 * (Loop - 1)]), LargestStep + 2) << Loop;
}

// ---- Without a sound card ---------------------------------------------------------------------

TEST_F(AudioTest, WithoutASoundDeviceTheGameRunsSilently) {
  WriteSample("Click.wav", ClickWav());
  Platform.SoundFailure = "Failed to open sound device (no audio hardware)";
  Start();
  EXPECT_EQ(Sound->Device(), nullptr);
  ASSERT_EQ(ErrorLog.Lines().size(), 1u);
  EXPECT_EQ(ErrorLog.Lines()[0], "Failed to open sound device (no audio hardware)");
  Sound->LoadSounds();
  EXPECT_EQ(ErrorLog.Lines().size(), 1u);  // nothing is loaded, so nothing fails to load
  EXPECT_EQ(Sound->Samples().Count(), 26);
  EXPECT_EQ(Sound->Samples().FindAs<TSample>("Click")->Buffer, nullptr);
  Sound->PlaySound(this, "Click");
  Sound->PlayMusic("ThemeMenu");
  Frames(70);
  EXPECT_EQ(Sound->Sources().Count(), 1);  // only the music slot, silent
  EXPECT_EQ(Sound->MusicState(), 0);
}

TEST_F(AudioTest, AnOutputThatFellBackToSilenceIsLogged) {
  class TFallbackPlatform : public Platform::TNullPlatform {
   public:
    std::unique_ptr<Platform::TSoundDevice> OpenSoundDevice() override {
      return std::make_unique<Platform::TSoundDevice>(
          std::make_shared<Platform::TSoundMixer>(),
          "Failed to open sound device (Connection refused)");
    }
  } Fallback;
  TAudio Silent(Fallback);
  EXPECT_NE(Silent.Device(), nullptr);
  EXPECT_EQ(ErrorLog.Lines(),
            std::vector<std::string>{"Failed to open sound device (Connection refused)"});
}

class AudioGameTest : public TFreshUserTest {};

TEST_F(AudioGameTest, TheGameRunsWithoutASoundCardAndLogsWhy) {
  Platform::TNullPlatform Platform;
  InstallGame(Platform);
  Platform.SoundFailure = "Failed to open sound device (no audio hardware)";
  bool Silent = false;
  Platform.OnFrame = [&Silent](int) { Silent = Audio && !Audio->Device(); };
  TGameOptions Options;
  Options.Frames = 5;
  EXPECT_EQ(RunGame(Platform, Options), 0);
  EXPECT_TRUE(Silent);
  EXPECT_EQ(Audio, nullptr);
  EXPECT_EQ(ReadTextFile(SaveFolder() + "Error.log"),
            "Failed to open sound device (no audio hardware)\r\n");
}

// ---- calvora-data sound -----------------------------------------------------------------------

// Runs calvora-data sound; its standard error goes through a file in Folder.
TToolRun RunTool(const std::string& Arguments, const std::string& Folder) {
  return RunProgram(Quoted(CALVORA_DATA_TOOL) + " sound " + Arguments, Folder + "errors.txt");
}

TEST(AudioTool, WritesThePcmOfTheSampleAsAWav) {
  TScratchFolder Folder;
  const std::string Dir = Folder.Path() + "/";
  TWav Wav;
  Wav.Channels = 2;
  Wav.Bits = 8;
  Wav.Rate = 11025;
  Wav.Data = "\x10\x20\x30\x40\x50\x60";
  WriteTextFile(Dir + "Click.wav", Wav.Bytes());
  TToolRun Run = RunTool(Quoted(Dir + "Click.wav") + " --wav " + Quoted(Dir + "out.wav"), Dir);
  EXPECT_EQ(Run.Status, 0);
  EXPECT_EQ(ReadTextFile(Dir + "out.wav"), Wav.Bytes());  // the file's own format
  EXPECT_EQ(Run.Output + Run.Errors, "Click: 8-bit stereo 11025 Hz, 0.000 s, 6 bytes\n");

  // A music file long enough to stream is decoded whole, as 16-bit PCM.
  WriteTextFile(Dir + "Theme1.ogg", ShortMusic("theme1", 441));
  Run = RunTool("--wav " + Quoted(Dir + "theme.wav") + " " + Quoted(Dir + "Theme1.ogg"), Dir);
  EXPECT_EQ(Run.Status, 0) << Run.Errors;
  const std::vector<std::int16_t> Decoded = DecodeOgg(Dir + "Theme1.ogg");
  const std::string Expected =
      Platform::EncodeWav(TSoundFormat::Pcm(1, 16, 11025), Decoded.data(), Decoded.size() * 2);
  EXPECT_EQ(ReadTextFile(Dir + "theme.wav"), Expected);
}

TEST(AudioTool, PrintsTheGamesMessageWhenTheFileIsRefused) {
  TScratchFolder Folder;
  const std::string Dir = Folder.Path() + "/";
  TWav Wav;
  Wav.Bits = 24;
  Wav.Data = "\1\2\3";
  WriteTextFile(Dir + "Deep.wav", Wav.Bytes());
  const std::string ToOut = " --wav " + Quoted(Dir + "out.wav");
  struct Case {
    std::string Arguments;
    int Status;
    std::string Output;
  };
  const Case Cases[] = {
      {Quoted(Dir + "Deep.wav") + ToOut, 1,
       "Failed to load audio sample \"Deep\" (Unsupported bits per sample)\n"},
      {Quoted(Dir + "None.ogg") + ToOut, 1,
       "Failed to load audio sample \"None\" (Missing file)\n"},
      {Quoted(Dir + "Deep.wav"), 2, ""},
      {Quoted(Dir + "Deep.mp3") + ToOut, 2, ""},
  };
  for (const Case& C : Cases) {
    const TToolRun Run = RunTool(C.Arguments, Dir);
    EXPECT_EQ(Run.Status, C.Status) << C.Arguments;
    if (!C.Output.empty()) {
      EXPECT_EQ(Run.Output + Run.Errors, C.Output) << C.Arguments;
    }
  }
  EXPECT_FALSE(ReadTextFile(Dir + "out.wav"));
}

}  // namespace

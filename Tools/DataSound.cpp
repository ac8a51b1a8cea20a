// DataSound.cpp -- calvora-data sound FILE --wav OUT: loads a WAV or Ogg Vorbis file as the game
// does and writes the PCM of the sample's buffer as a WAV file.
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "DataCommands.h"
#include "EngineAudio.h"
#include "NullPlatform.h"
#include "Platform.h"
#include "PlatformSound.h"

namespace {

const char* const kUsage = "sound FILE --wav OUT";

int BadCommandLine(const std::string& Problem) {
  return UsageError("sound", kUsage, Problem);
}

int Run(const std::vector<std::string>& Arguments) {
  std::string File, Out;
  for (std::size_t I = 0; I < Arguments.size(); ++I) {
    if (Arguments[I] == "--wav" && I + 1 < Arguments.size())
      Out = Arguments[++I];
    else if (File.empty() && !Arguments[I].starts_with("--"))
      File = Arguments[I];
    else
      return BadCommandLine("unexpected argument '" + Arguments[I] + "'");
  }
  if (File.empty() || Out.empty()) return BadCommandLine("FILE and --wav OUT are both needed");
  const std::filesystem::path Path(File);
  const std::string Extension = Path.extension().string();
  if (Extension != ".ogg" && Extension != ".wav")
    return BadCommandLine("FILE must be a .wav or an .ogg file, as the game looks for them");

  // The sample as the game loads it, on a sound device that only keeps buffers in memory. A
  // streamed Ogg is decoded whole here.
  Platform::TNullPlatform Null;
  std::unique_ptr<Platform::TSoundDevice> Device = Null.OpenSoundDevice();
  TSample Sample;
  Sample.Name = Path.stem().string();
  try {
    if (!Platform::FileExists(File)) throw std::runtime_error("Missing file");
    if (Extension == ".ogg")
      Sample.LoadOgg(*Device, File);
    else
      Sample.LoadWav(*Device, File);
  } catch (const std::exception& Error) {
    std::cerr << SampleLoadFailure(Sample.Name, Error.what()) << "\n";
    return 1;
  }

  const Platform::TSoundFormat& Format = Sample.Buffer->Format();
  std::span<std::uint8_t> Data = Sample.Buffer->Lock(0, Sample.Buffer->Size());
  const std::string Wav = Platform::EncodeWav(Format, Data.data(), Data.size());
  Sample.Buffer->Unlock();
  if (std::string Failure = Platform::WriteFileAtomic(Out, Wav); !Failure.empty()) {
    std::cerr << "calvora-data sound: cannot write " << Out << " (" << Failure << ")\n";
    return 1;
  }
  char Seconds[32];
  std::snprintf(Seconds, sizeof(Seconds), "%.3f", Sample.Duration);
  std::cout << Sample.Name << ": " << Format.BitsPerSample << "-bit "
            << (Format.Channels == 1 ? "mono" : "stereo") << " " << Format.SampleRate << " Hz, "
            << Seconds << " s, " << Sample.Buffer->Size() << " bytes\n";
  return 0;
}

TDataCommandRegistration Registration("sound", kUsage, Run);

}  // namespace

// DataTexture.cpp -- calvora-data texture: loads a picture and the segment file beside it as the
// game does, reports its sizes and segments, and can write the decoded picture as a PNG.
#include <filesystem>
#include <iostream>

#include "DataCommands.h"
#include "EngineRegister.h"
#include "EngineTextures.h"
#include "NullPlatform.h"
#include "PlatformGraphics.h"

namespace {

const char* const kUsage = "texture FILE [--png OUT]";

int BadCommandLine(const std::string& Problem) {
  return UsageError("texture", kUsage, Problem);
}

// Writes the picture's own area of the texture (without padding) as an RGBA PNG.
std::string WritePicture(TTexture& Texture, const std::string& Path) {
  Platform::TDeviceTexture& Device = *Texture.DeviceTexture;
  std::vector<std::uint8_t> Rgba(static_cast<std::size_t>(Texture.ImageWidth) *
                                 Texture.ImageHeight * 4);
  int Pitch = 0;
  const std::uint8_t* Memory = Device.Lock(Pitch);
  Platform::ConvertToRgba(Device.Format(), Memory, Pitch, Texture.ImageWidth, Texture.ImageHeight,
                          Rgba.data());
  Device.Unlock();
  return Platform::WritePng(Path, Rgba, Texture.ImageWidth, Texture.ImageHeight);
}

int Run(const std::vector<std::string>& Arguments) {
  std::string File;
  std::string PngPath;
  for (std::size_t I = 0; I < Arguments.size(); ++I) {
    if (Arguments[I] == "--png") {
      if (I + 1 >= Arguments.size()) return BadCommandLine("--png needs a file name");
      PngPath = Arguments[++I];
    } else if (File.empty() && !Arguments[I].starts_with("--")) {
      File = Arguments[I];
    } else {
      return BadCommandLine("unexpected argument '" + Arguments[I] + "'");
    }
  }
  if (File.empty()) return BadCommandLine("no picture file given");

  // The game's OpenGL device takes textures of any size; so does this one.
  Platform::TNullGraphicsDevice Device;
  ErrorLog.Create();
  const std::filesystem::path Picture(File);
  std::string Folder = Picture.parent_path().string();
  if (!Folder.empty()) Folder += '/';
  TTexture Texture;
  Texture.Name = Picture.stem().string();
  const bool Loaded =
      LoadTextureFile(Texture, Device, File, Folder + SegmentFileName(Texture.Name) + ".tsg");
  for (const std::string& Line : ErrorLog.Lines())
    std::cerr << Line << "\n";
  if (!Loaded) return 1;

  std::cout << "texture " << Texture.ImageWidth << ' ' << Texture.ImageHeight << ' '
            << Texture.Width << ' ' << Texture.Height << "\n"
            << "segments " << Texture.Segments.size() << "\n";
  if (!PngPath.empty()) {
    const std::string Failure = WritePicture(Texture, PngPath);
    if (!Failure.empty()) {
      std::cerr << "calvora-data texture: cannot write " << PngPath << ": " << Failure << "\n";
      return 1;
    }
  }
  return ErrorLog.Lines().empty() ? 0 : 1;
}

TDataCommandRegistration Registration("texture", kUsage, Run);

}  // namespace

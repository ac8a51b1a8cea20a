// EngineRegister.h -- the settings record, the folders, Game.ini and the error log.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Platform {
class TPlatform;
}

// The number of sound sources playing at once.
constexpr std::int32_t kSourcePool = 24;

// Everything the engine must know before it starts. Folder paths end with "/".
struct TRegister {
  std::string ExeFolder;       // the folder of the running program
  std::string BrandingFolder;  // splash pictures, menu logo, replacement textures
  std::string LanguagesFolder;
  std::string TexturesFolder;
  std::string PathsFolder;
  std::string SamplesFolder;
  std::string SaveFolder;      // per-user; ExeFolder when there is no per-user data folder
  std::string SettingsFolder;  // holds Game.ini
  std::string LogFolder;       // holds Error.log
  std::string SavesFolder;     // holds Players.sav

  std::string Language;           // name of the wanted language folder
  std::int32_t Difficulty = 0;    // 1 Easy, 0 Normal, -1 Hard
  bool Deadline = false;          // deadlines are enforced
  bool UnsupportedVideo = false;  // the renderer could not start on this video hardware
  bool FullScreen = false;
  std::int32_t Width = 0;  // current client (back-buffer) size
  std::int32_t Height = 0;
  std::int32_t DesktopWidth = 0;
  std::int32_t DesktopHeight = 0;
  std::int32_t WindowWidth = 0;  // client size in windowed mode
  std::int32_t WindowHeight = 0;
  float Aspect = 0.0f;     // Width / Height
  float ViewWidth = 0.0f;  // size of the virtual screen all drawing uses
  float ViewHeight = 0.0f;
  std::int32_t SpritePool = 0;
  std::int32_t EffectPool = 0;
  std::int32_t ParticlePool = 0;
  std::int32_t TextPool = 0;
  std::int32_t SourcePool = 0;
  std::int32_t SfxVolume = 0;             // 0..10
  std::int32_t MusicVolume = 0;           // 0..10
  Platform::TPlatform* Window = nullptr;  // the platform whose game window is open, if any
};

// The lines to write to Error.log. It exists from LoadSettings to the end of SaveSettings;
// lines added outside that time are dropped.
class TErrorLog {
 public:
  void Create();
  void Free();
  bool Exists() const { return Alive; }
  // Appends one line (when the log exists).
  void Add(const std::string& Line);
  const std::vector<std::string>& Lines() const { return Entries; }

 private:
  bool Alive = false;
  std::vector<std::string> Entries;
};

extern TRegister Register;
extern bool SettingsLoaded;  // true once Game.ini has been read
extern TErrorLog ErrorLog;

struct TWindowSize {
  std::int32_t Width = 0;
  std::int32_t Height = 0;
};

// 85 % of the desktop in its limiting direction with the aspect 16 : 10.
TWindowSize WindowedSize(std::int32_t DesktopWidth, std::int32_t DesktopHeight);

// Width, Height, Aspect, ViewWidth and ViewHeight for the current FullScreen choice.
void ApplyDisplayMode();

// Sets ExeFolder (ending with "/") and the data folders inside it; the save folders are left alone.
void SetDataFolders(const std::string& ExeFolder);

// Finds the folders, moves an older save folder into place and reads Game.ini. Throws
// "Failed to determine .exe location" when the program's folder is unknown.
void LoadSettings(Platform::TPlatform& Platform);

// Writes Game.ini and writes or deletes Error.log, then frees the error log. Write failures are
// reported on standard error (with the log's lines, so they are not lost), never thrown.
void SaveSettings();

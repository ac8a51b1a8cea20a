// EngineRegister.cpp -- folders, Game.ini and Error.log.
#include "EngineRegister.h"

#include <clocale>
#include <iostream>
#include <stdexcept>

#include "EngineIni.h"
#include "EngineUtils.h"
#include "Platform.h"

TRegister Register;
bool SettingsLoaded = false;
TErrorLog ErrorLog;

namespace {

const char* const kCompanyFolder = "Hollow Fern";
const char* const kGameFolder = "Calvora";
const char* const kSettingsFile = "Game.ini";
const char* const kLogFile = "Error.log";

std::string FolderOf(const std::string& FilePath) {
  std::size_t Slash = FilePath.find_last_of('/');
  return Slash == std::string::npos ? std::string() : FilePath.substr(0, Slash + 1);
}

// An older installation kept its saves in the documents folder; move them to the new place.
void MoveOldSaveFolder(Platform::TPlatform& Platform, const std::string& SaveFolder) {
  std::string Documents = Platform.DocumentsFolder();
  if (Documents.empty()) return;
  std::string MyGames = Documents + "/My Games";
  std::string Old = MyGames + "/" + kGameFolder;
  if (Platform::FolderExists(MyGames) && Platform::FolderExists(Old))
    Platform::MoveFolder(Old, SaveFolder);
}

std::string FindSaveFolder(Platform::TPlatform& Platform) {
  std::string DataFolder = Platform.UserDataFolder();
  if (DataFolder.empty()) return Register.ExeFolder;
  std::string Company = DataFolder + "/" + kCompanyFolder;
  Platform::CreateFolder(Company);
  std::string SaveFolder = Company + "/" + kGameFolder + "/";
  if (!Platform::FolderExists(SaveFolder)) {
    MoveOldSaveFolder(Platform, SaveFolder);
    if (!Platform::FolderExists(SaveFolder)) Platform::CreateFolder(SaveFolder);
  }
  return SaveFolder;
}

void SetFolders(const std::string& SaveFolder) {
  SetDataFolders(Register.ExeFolder);
  Register.SaveFolder = SaveFolder;
  Register.SettingsFolder = SaveFolder;
  Register.LogFolder = SaveFolder;
  Register.SavesFolder = SaveFolder + "Saves/";
  Platform::CreateFolder(Register.SavesFolder);
}

TIniFile ReadSettingsFile() {
  std::optional<std::string> Text = Platform::ReadFile(Register.SettingsFolder + kSettingsFile);
  return TIniFile(Text.value_or(std::string()));
}

void ReadSettings() {
  TIniFile Ini = ReadSettingsFile();
  Register.Language = "Spanish";
  Register.FullScreen = Ini.ReadBool("RENDERER", "FullScreen", true);
  TWindowSize Windowed = WindowedSize(Register.DesktopWidth, Register.DesktopHeight);
  Register.WindowWidth = Windowed.Width;
  Register.WindowHeight = Windowed.Height;
  ApplyDisplayMode();
  Register.SpritePool = 3072;
  Register.EffectPool = 96;
  Register.ParticlePool = 1536;
  Register.TextPool = 128;
  Register.SourcePool = kSourcePool;
  Register.SfxVolume = Clamp(Ini.ReadInteger("AUDIO", "SfxVolume", 10), 0, 10);
  Register.MusicVolume = Clamp(Ini.ReadInteger("AUDIO", "MusicVolume", 8), 0, 10);
  SettingsLoaded = true;
}

void ReportWriteFailure(const std::string& What, const std::string& Reason) {
  std::cerr << "calvora: " << What << " was not saved (" << Reason << ")\n";
}

void WriteSettingsFile() {
  TIniFile Ini = ReadSettingsFile();
  Ini.WriteBool("RENDERER", "FullScreen", Register.FullScreen);
  Ini.WriteInteger("AUDIO", "SfxVolume", Register.SfxVolume);
  Ini.WriteInteger("AUDIO", "MusicVolume", Register.MusicVolume);
  std::string Path = Register.SettingsFolder + kSettingsFile;
  std::string Failure = Platform::WriteFileAtomic(Path, Ini.Text());
  if (!Failure.empty()) ReportWriteFailure(Path, Failure);
}

void WriteErrorLogFile() {
  std::string Path = Register.LogFolder + kLogFile;
  if (ErrorLog.Lines().empty()) {
    if (Platform::FileExists(Path)) Platform::DeleteFile(Path);
    return;
  }
  std::string Text;
  for (const std::string& Line : ErrorLog.Lines())
    Text += Line + "\r\n";
  std::string Failure = Platform::WriteFileAtomic(Path, Text);
  if (Failure.empty()) return;
  ReportWriteFailure(Path, Failure);
  for (const std::string& Line : ErrorLog.Lines())
    std::cerr << "calvora: " << Line << "\n";
}

}  // namespace

void TErrorLog::Create() {
  Alive = true;
  Entries.clear();
}

void TErrorLog::Free() {
  Alive = false;
  Entries.clear();
}

void TErrorLog::Add(const std::string& Line) {
  if (Alive) Entries.push_back(Line);
}

void SetDataFolders(const std::string& ExeFolder) {
  Register.ExeFolder = ExeFolder;
  Register.BrandingFolder = ExeFolder + "Branding/";
  Register.LanguagesFolder = ExeFolder + "Languages/";
  Register.TexturesFolder = ExeFolder + "Textures/";
  Register.PathsFolder = ExeFolder + "Paths/";
  Register.SamplesFolder = ExeFolder + "Samples/";
}

TWindowSize WindowedSize(std::int32_t DesktopWidth, std::int32_t DesktopHeight) {
  // The products are formed in extended precision, stored as 32-bit floats, then rounded down.
  const long double W = DesktopWidth;
  const long double H = DesktopHeight;
  if (DesktopHeight > 0 && W / H > 1.6L) {
    return {FloorToInt(static_cast<float>(H * 0.85L * 1.6L)),
            FloorToInt(static_cast<float>(H * 0.85L))};
  }
  return {FloorToInt(static_cast<float>(W * 0.85L)),
          FloorToInt(static_cast<float>(W * 0.85L * 0.625L))};
}

void ApplyDisplayMode() {
  Register.Width = Register.FullScreen ? Register.DesktopWidth : Register.WindowWidth;
  Register.Height = Register.FullScreen ? Register.DesktopHeight : Register.WindowHeight;
  if (Register.Width <= 0 || Register.Height <= 0) {
    Register.Aspect = 1.6f;  // no usable size: keep the design aspect rather than divide by 0
  } else {
    Register.Aspect = static_cast<float>(static_cast<long double>(Register.Width) /
                                         static_cast<long double>(Register.Height));
  }
  Register.ViewWidth =
      Register.Aspect <= 1.6f ? 1280.0f : static_cast<float>(Register.Aspect / 1.6L * 1280.0L);
  Register.ViewHeight = Register.ViewWidth / Register.Aspect;
}

void LoadSettings(Platform::TPlatform& Platform) {
  std::setlocale(LC_NUMERIC, "C");
  Randomize(static_cast<std::uint32_t>(Platform.Counter()));
  ErrorLog.Create();
  Platform::TDisplaySize Desktop = Platform.DesktopSize();
  Register.DesktopWidth = Desktop.Width;
  Register.DesktopHeight = Desktop.Height;
  Register.ExeFolder = FolderOf(Platform.ProgramPath());
  if (Register.ExeFolder.empty()) throw std::runtime_error("Failed to determine .exe location");
  SetFolders(FindSaveFolder(Platform));
  ReadSettings();
}

void SaveSettings() {
  if (!Register.ExeFolder.empty() && SettingsLoaded) WriteSettingsFile();
  if (!ErrorLog.Exists()) return;
  if (!Register.ExeFolder.empty()) WriteErrorLogFile();
  ErrorLog.Free();
}

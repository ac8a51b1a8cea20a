// DataCheck.cpp -- calvora-data check DIR: loads every texture, sound and path the game looks up
// from a data folder laid out like the game's program folder, with the game's own loaders, and
// reports each problem on one line.
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "DataCommands.h"
#include "EngineAudio.h"
#include "EngineLanguages.h"
#include "EngineParticles.h"
#include "EngineRegister.h"
#include "EngineTextures.h"
#include "Inventory.h"
#include "NullPlatform.h"
#include "Platform.h"

namespace {

const char* const kUsage = "check DIR";

// The problems found so far, in order, with the error log's lines taken in as they appear.
class TProblems {
 public:
  void Add(const std::string& Line) { Lines.push_back(Line); }
  void TakeLog() {
    const std::vector<std::string>& Log = ErrorLog.Lines();
    for (; LogSeen < Log.size(); ++LogSeen)
      Lines.push_back(Log[LogSeen]);
  }
  const std::vector<std::string>& All() const { return Lines; }

 private:
  std::vector<std::string> Lines;
  std::size_t LogSeen = 0;
};

void PointRegisterAt(std::string Folder) {
  if (!Folder.empty() && Folder.back() != '/') Folder += '/';
  SetDataFolders(Folder);
  Register.Language.clear();
  Register.SourcePool = kSourcePool;
}

// Selects the language as start-up does; false (with the game's message) when there is none.
bool ChooseLanguage(TProblems& Problems) {
  try {
    Languages = std::make_unique<TLanguages>();
  } catch (const std::exception& Error) {
    Problems.Add(Error.what());
    return false;
  }
  // A text missing from the file shows as an empty text on screen.
  const std::string File = Languages->Current().Path + "Language.txt";
  TLanguageFileReport Report;
  LoadLanguageFile(File, &Report);
  for (int Id : Report.MissingIds)
    Problems.Add(File + ": no text for " + std::to_string(Id) + " " + StringIdName(Id));
  return true;
}

// What the loader accepts but the game would draw wrongly.
void CheckSegments(const TTexture& Texture, const TTextureNeed& Need, TProblems& Problems) {
  const int Count = static_cast<int>(Texture.Segments.size());
  if (Count < Need.Segments)
    Problems.Add("Texture \"" + Texture.Name + "\" has " + std::to_string(Count) +
                 " segments, needs " + std::to_string(Need.Segments));
  // Without its own line segment 0 is the whole picture, which makes the atlas height the
  // font's line height.
  const TVector First = Texture.SegmentSize(0);
  if (Need.Font && First.X == static_cast<float>(Texture.ImageWidth) &&
      First.Y == static_cast<float>(Texture.ImageHeight))
    Problems.Add("Texture \"" + Texture.Name + "\" has no segment 0 of its own");
}

int CheckTextures(Platform::TGraphicsDevice& Device, TProblems& Problems) {
  int Checked = 0;
  for (const TTextureNeed& Need : TextureInventory()) {
    TTexture Texture;
    Texture.Name = Need.Name;
    LoadTexture(Texture, Device);
    ++Checked;
    Problems.TakeLog();
    if (Texture.DeviceTexture) CheckSegments(Texture, Need, Problems);
  }
  return Checked;
}

// The splash picture the branding folder holds for Name, looked for as the splash screen looks
// for it (".png", ".jpg", ".dds"); empty when there is none.
std::string BrandingSplashFile(const std::string& Name) {
  for (const char* Extension : {".png", ".jpg", ".dds"}) {
    const std::string File = Register.BrandingFolder + Name + Extension;
    if (Platform::FileExists(File)) return File;
  }
  return {};
}

// The splash pictures are optional and shown only from the branding folder; a picture of their
// name found earlier in the texture search would be loaded in its place.
int CheckSplashes(Platform::TGraphicsDevice& Device, TProblems& Problems) {
  int Checked = 0;
  for (const char* Name : kSplashNames) {
    const std::string File = TextureFile(Name);
    if (File.empty()) continue;
    if (!File.starts_with(Register.BrandingFolder)) {
      const std::string Splash = BrandingSplashFile(Name);
      if (!Splash.empty())
        Problems.Add("Texture \"" + std::string(Name) + "\": " + File +
                     " would be shown in place of " + Splash);
      continue;
    }
    TTexture Texture;
    Texture.Name = Name;
    LoadTextureFile(Texture, Device, File, "");
    ++Checked;
    Problems.TakeLog();
  }
  return Checked;
}

int CheckSounds(Platform::TPlatform& Null, TProblems& Problems) {
  TAudio Sounds(Null);
  Sounds.LoadSounds();
  Problems.TakeLog();
  return Sounds.Samples().Count();
}

int CheckPaths(TProblems& Problems) {
  int Checked = 0;
  for (const char* Name : kPathNames) {
    TPath Path;
    Path.Name = Name;
    const bool Loaded = LoadPath(Path, Register.PathsFolder + Name + ".pth");
    ++Checked;
    Problems.TakeLog();
    // Effects can spawn nothing on a path that is too short.
    if (Loaded && !Path.Usable)
      Problems.Add("Path \"" + Path.Name +
                   "\" is unusable (it needs two points and a positive "
                   "last value)");
  }
  return Checked;
}

int Run(const std::vector<std::string>& Arguments) {
  if (Arguments.size() != 1 || Arguments[0].starts_with("--"))
    return UsageError("check", kUsage, "exactly one data folder is needed");
  if (!Platform::FolderExists(Arguments[0])) {
    std::cerr << "calvora-data check: no folder '" << Arguments[0] << "'\n";
    return 2;
  }
  PointRegisterAt(Arguments[0]);
  ErrorLog.Create();
  TProblems Problems;
  int Textures = 0, Sounds = 0, Paths = 0;
  if (ChooseLanguage(Problems)) {
    Platform::TNullPlatform Null;
    Platform::TNullGraphicsDevice Device;
    Textures = CheckTextures(Device, Problems) + CheckSplashes(Device, Problems);
    Sounds = CheckSounds(Null, Problems);
    Paths = CheckPaths(Problems);
    Languages.reset();
  }
  for (const std::string& Line : Problems.All())
    std::cout << Line << "\n";
  std::cout << "check: " << Textures << " textures, " << Sounds << " sounds, " << Paths
            << " paths, " << Problems.All().size() << " errors\n";
  return Problems.All().empty() ? 0 : 1;
}

TDataCommandRegistration Registration("check", kUsage, Run);

}  // namespace

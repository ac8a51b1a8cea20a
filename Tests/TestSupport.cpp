// TestSupport.cpp -- helpers shared by the test programs.
#include "TestSupport.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "EngineRegister.h"
#include "EngineTextures.h"

namespace fs = std::filesystem;

TScratchFolder::TScratchFolder() {
  std::string Template = (fs::temp_directory_path() / "calvora-test-XXXXXX").string();
  char* Made = mkdtemp(Template.data());
  if (!Made) throw std::runtime_error("cannot create a scratch folder");
  Root = Made;
}

TScratchFolder::~TScratchFolder() {
  std::error_code Ignored;
  fs::remove_all(Root, Ignored);
}

void WriteTextFile(const std::string& Path, const std::string& Text) {
  fs::create_directories(fs::path(Path).parent_path());
  std::ofstream(Path, std::ios::binary) << Text;
}

std::optional<std::string> ReadTextFile(const std::string& Path) {
  std::ifstream Stream(Path, std::ios::binary);
  if (!Stream) return std::nullopt;
  std::ostringstream Text;
  Text << Stream.rdbuf();
  return Text.str();
}

void TEnvironment::Set(const std::string& Name, const std::optional<std::string>& Value) {
  if (!Saved.count(Name)) {
    const char* Old = std::getenv(Name.c_str());
    Saved[Name] = Old ? std::optional<std::string>(Old) : std::nullopt;
  }
  if (Value)
    setenv(Name.c_str(), Value->c_str(), 1);
  else
    unsetenv(Name.c_str());
}

TEnvironment::~TEnvironment() {
  for (const auto& [Name, Value] : Saved) {
    if (Value)
      setenv(Name.c_str(), Value->c_str(), 1);
    else
      unsetenv(Name.c_str());
  }
}

void TFreshUserTest::SetUp() {
  Environment.Set("HOME", Home.Path());
  for (const char* Name : {"XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR"})
    Environment.Set(Name, std::nullopt);
  Register = TRegister{};
  SettingsLoaded = false;
  ErrorLog.Free();
}

void TFreshUserTest::TearDown() {
  Register = TRegister{};
  SettingsLoaded = false;
  ErrorLog.Free();
}

std::string TFreshUserTest::SaveFolder() const {
  return Home.Path() + "/.local/share/Hollow Fern/Calvora/";
}

std::string TFreshUserTest::GameFolder() const {
  return Home.Path() + "/game/";
}

void TFreshUserTest::InstallGame(Platform::TNullPlatform& Target) const {
  WriteTextFile(GameFolder() + "Languages/English/Language.txt", "[sidGameTitle]\nCalvora\n");
  Target.ProgramFile = GameFolder() + "calvora";
}

std::string Quoted(const std::string& Text) {
  std::string Word = "'";
  for (char C : Text)
    Word += C == '\'' ? std::string("'\\''") : std::string(1, C);
  return Word + "'";
}

const std::uint8_t* NullPixel(const TTexture& Texture, int X, int Y) {
  const auto* Made = dynamic_cast<const Platform::TNullTexture*>(Texture.DeviceTexture.get());
  if (!Made) throw std::runtime_error("no texture of the Null device");
  if (X < 0 || Y < 0 || X >= Texture.Width || Y >= Texture.Height)
    throw std::out_of_range("no pixel " + std::to_string(X) + "," + std::to_string(Y));
  const std::size_t Index = (static_cast<std::size_t>(Y) * static_cast<std::size_t>(Texture.Width) +
                             static_cast<std::size_t>(X)) *
                            4;
  return &Made->Rgba.at(Index);
}

TToolRun RunProgram(const std::string& CommandLine, const std::string& ErrorFile) {
  const std::string Command = CommandLine + " 2>" + Quoted(ErrorFile);
  TToolRun Run;
  FILE* Pipe = popen(Command.c_str(), "r");
  if (!Pipe) return Run;
  char Buffer[256];
  for (std::size_t Got; (Got = fread(Buffer, 1, sizeof Buffer, Pipe)) > 0;)
    Run.Output.append(Buffer, Got);
  const int Status = pclose(Pipe);
  Run.Status = WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
  Run.Errors = ReadTextFile(ErrorFile).value_or("");
  return Run;
}

// TestSupport.h -- helpers shared by the test programs: scratch folders, files and a clean
// per-user environment.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "NullPlatform.h"

class TTexture;

// A fresh folder under the system's temporary folder, removed with everything in it.
class TScratchFolder {
 public:
  TScratchFolder();
  ~TScratchFolder();
  TScratchFolder(const TScratchFolder&) = delete;
  TScratchFolder& operator=(const TScratchFolder&) = delete;
  // The folder's path, without a trailing slash.
  const std::string& Path() const { return Root; }

 private:
  std::string Root;
};

// Writes a file, creating its folders.
void WriteTextFile(const std::string& Path, const std::string& Text);
// The whole file; nullopt when it does not exist.
std::optional<std::string> ReadTextFile(const std::string& Path);

// What a program run by RunProgram did.
struct TToolRun {
  int Status = -1;  // its exit status; -1 when it could not be run or did not exit
  std::string Output;
  std::string Errors;
};

// Text as one word of a shell command line (in single quotes).
std::string Quoted(const std::string& Text);

// Runs a shell command line, taking its standard output; its standard error goes through
// ErrorFile (which is overwritten).
TToolRun RunProgram(const std::string& CommandLine, const std::string& ErrorFile);

// The RGBA bytes of pixel (X, Y) of a texture loaded on the Null graphics device (rows of the
// device texture's Width). Throws when the texture has no such pixel.
const std::uint8_t* NullPixel(const TTexture& Texture, int X, int Y);

// Sets environment variables for the life of the object (nullopt unsets them) and restores them.
class TEnvironment {
 public:
  void Set(const std::string& Name, const std::optional<std::string>& Value);
  ~TEnvironment();

 private:
  std::map<std::string, std::optional<std::string>> Saved;
};

// A test with an empty home folder, no XDG variables and a settings record as at program start.
class TFreshUserTest : public ::testing::Test {
 protected:
  TScratchFolder Home;
  TEnvironment Environment;

  void SetUp() override;
  void TearDown() override;
  // The save folder the game uses in this home.
  std::string SaveFolder() const;
  // A program folder in this home (ending with "/"), with an English language file beside it.
  std::string GameFolder() const;
  // Lays out GameFolder and makes Target's program file live there.
  void InstallGame(Platform::TNullPlatform& Target) const;
};

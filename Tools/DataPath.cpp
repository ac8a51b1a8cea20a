// DataPath.cpp -- calvora-data path FILE: loads a particle path file as the game does and
// reports its points, marks, length and whether effects can walk it.
#include <charconv>
#include <filesystem>
#include <iostream>

#include "DataCommands.h"
#include "EngineParticles.h"
#include "EngineRegister.h"

namespace {

const char* const kUsage = "path FILE";

// The shortest text that reads back as the same float.
std::string FloatText(float Value) {
  char Text[32];
  const auto Result = std::to_chars(Text, Text + sizeof(Text), Value);
  return std::string(Text, Result.ptr);
}

int Run(const std::vector<std::string>& Arguments) {
  if (Arguments.size() != 1 || Arguments[0].starts_with("--"))
    return UsageError("path", kUsage, "exactly one path file is needed");
  const std::string& File = Arguments[0];

  ErrorLog.Create();
  TPath Path;
  Path.Name = std::filesystem::path(File).stem().string();
  const bool Loaded = LoadPath(Path, File);
  for (const std::string& Line : ErrorLog.Lines())
    std::cerr << Line << "\n";
  if (!Loaded) return 1;

  // path POINTS MARKS LENGTH usable|unusable
  std::cout << "path " << Path.Points.size() << ' ' << Path.Marks.size() << ' '
            << FloatText(Path.Length) << ' ' << (Path.Usable ? "usable" : "unusable") << "\n";
  return 0;
}

TDataCommandRegistration Registration("path", kUsage, Run);

}  // namespace

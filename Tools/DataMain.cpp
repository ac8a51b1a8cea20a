// DataMain.cpp -- calvora-data: checks and decodes the game's data files as the game loads them.
#include <iostream>

#include "DataCommands.h"

std::map<std::string, TDataCommandInfo>& DataCommands() {
  static std::map<std::string, TDataCommandInfo> Commands;
  return Commands;
}

namespace {

int Usage() {
  std::cerr << "usage: calvora-data COMMAND ARGUMENTS\n";
  for (const auto& [Name, Info] : DataCommands())
    std::cerr << "  calvora-data " << Info.Usage << "\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  auto Command = DataCommands().find(argv[1]);
  if (Command == DataCommands().end()) {
    std::cerr << "calvora-data: unknown command '" << argv[1] << "'\n";
    return Usage();
  }
  return Command->second.Run(std::vector<std::string>(argv + 2, argv + argc));
}

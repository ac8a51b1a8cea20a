// DataCommands.h -- the subcommands of calvora-data, each in its own Data*.cpp file, which
// checks and decodes the game's data files exactly as the game loads them.
#pragma once

#include <functional>
#include <iostream>
#include <map>
#include <string>
#include <vector>

// Runs a subcommand with the arguments after its name; returns the exit status (0 success,
// 1 the data is faulty, 2 a bad command line).
using TDataCommand = std::function<int(const std::vector<std::string>& Arguments)>;

struct TDataCommandInfo {
  std::string Usage;  // one line: the subcommand and its arguments
  TDataCommand Run;
};

// Reports a bad command line of Command on standard error, with its Usage line; returns 2.
inline int UsageError(const std::string& Command, const std::string& Usage,
                      const std::string& Problem) {
  std::cerr << "calvora-data " << Command << ": " << Problem << "\nusage: calvora-data " << Usage
            << "\n";
  return 2;
}

// Every subcommand by name.
std::map<std::string, TDataCommandInfo>& DataCommands();

// Registers a subcommand at program start: `static TDataCommandRegistration R("sound", ...);`.
struct TDataCommandRegistration {
  TDataCommandRegistration(const std::string& Name, const std::string& Usage, TDataCommand Run) {
    DataCommands()[Name] = {Usage, std::move(Run)};
  }
};

// GameFlags.h -- the command line of the game program.
#pragma once

#include <string>
#include <vector>

#include "Game.h"

struct TFlagsResult {
  bool Run = true;     // false: print Output and exit with ExitCode
  int ExitCode = 0;    // 0 for --help and --version, 2 for a bad command line
  std::string Output;  // text for standard output (ExitCode 0) or standard error (otherwise)
  TGameOptions Options;
};

// Reads the arguments after the program name. Options take their value as the next argument
// or after "=" (--frames 60, --frames=60).
TFlagsResult ParseGameFlags(const std::vector<std::string>& Arguments);

// The text of --help.
std::string GameUsage();

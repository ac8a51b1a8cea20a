// Main.cpp -- the game program: reads the command line and runs the game on SDL.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "Game.h"
#include "GameFlags.h"
#include "Platform.h"

int main(int argc, char** argv) {
  TFlagsResult Flags = ParseGameFlags(std::vector<std::string>(argv + 1, argv + argc));
  if (!Flags.Run) {
    (Flags.ExitCode == 0 ? std::cout : std::cerr) << Flags.Output;
    return Flags.ExitCode;
  }
  Platform::TSdlOptions PlatformOptions;
  PlatformOptions.Headless = Flags.Options.Headless;
  PlatformOptions.FixedStep = Flags.Options.FixedStep;
  auto Platform = Platform::CreateSdlPlatform(PlatformOptions);
  return RunGame(*Platform, Flags.Options);
}

// Game.h -- the program's entry: single instance, start-up, the frame loop and shutdown.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace Platform {
class TPlatform;
}

// How this run was asked to behave on the command line.
struct TGameOptions {
  bool Headless = false;              // no window on a display (SDL's offscreen driver)
  std::optional<bool> FullScreen;     // --fullscreen / --windowed: this run's display mode
  int Frames = 0;                     // > 0: quit in order after this many frames
  double FixedStep = 0.0;             // > 0: each frame lasts this many seconds of game time
  std::optional<std::uint32_t> Seed;  // the random generator's seed instead of the clock
  std::string Screenshot;             // --screenshot FILE: the last frame, as a PNG, at quit
};

// True from the end of a successful start-up until the loop has shut the game down.
extern bool Running;
// Set by anyone who wants the program to end; the loop shuts down in order at its next turn.
extern bool QuitRequested;
// The window is focused and not minimised; frames run only while it is true.
extern bool Active;

// Runs the whole program on the given platform and returns the process's exit status: 0 after
// a normal end (or when another copy was raised instead), 1 after a start-up failure or an
// error inside a frame.
int RunGame(Platform::TPlatform& Platform, const TGameOptions& Options);

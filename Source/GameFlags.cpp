// GameFlags.cpp -- the command line of the game program.
#include "GameFlags.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

TFlagsResult Refuse(const std::string& Message) {
  TFlagsResult Result;
  Result.Run = false;
  Result.ExitCode = 2;
  Result.Output = "calvora: " + Message + " (see calvora --help)\n";
  return Result;
}

template <typename T>
bool ParseNumber(const std::string& Text, T& Value) {
  const char* End = Text.data() + Text.size();
  auto [Stop, Error] = std::from_chars(Text.data(), End, Value);
  return !Text.empty() && Error == std::errc() && Stop == End;
}

}  // namespace

std::string GameUsage() {
  return "Usage: calvora [options]\n"
         "Restore an ancient town, pane by pane.\n"
         "\n"
         "Options:\n"
         "  --windowed             play in a window this time\n"
         "  --fullscreen           play full screen this time\n"
         "  --headless             run without a display (offscreen window, no sound)\n"
         "  --frames N             quit in order after N frames\n"
         "  --fixed-step SECONDS   every frame lasts SECONDS of game time (0 < SECONDS <= 1)\n"
         "  --seed N               seed the random generator with N (0..4294967295)\n"
         "  --screenshot FILE      write the last frame to FILE as a PNG picture at quit\n"
         "  --help                 show this text and exit\n"
         "  --version              show the version and exit\n"
         "\n"
         "F11 or Alt+Enter switches between window and full screen while playing.\n";
}

TFlagsResult ParseGameFlags(const std::vector<std::string>& Arguments) {
  TFlagsResult Result;
  TGameOptions& Options = Result.Options;
  for (std::size_t I = 0; I < Arguments.size(); ++I) {
    std::string Flag = Arguments[I];
    std::string Value;
    bool HasValue = false;
    if (std::size_t Equals = Flag.find('=');
        Flag.rfind("--", 0) == 0 && Equals != std::string::npos) {
      Value = Flag.substr(Equals + 1);
      Flag = Flag.substr(0, Equals);
      HasValue = true;
    }
    auto TakeValue = [&]() -> bool {
      if (HasValue) return true;
      if (I + 1 >= Arguments.size()) return false;
      Value = Arguments[++I];
      return true;
    };
    bool TakesValue =
        Flag == "--frames" || Flag == "--fixed-step" || Flag == "--seed" || Flag == "--screenshot";
    if (HasValue && !TakesValue) return Refuse("option " + Flag + " takes no value");
    if (TakesValue && !TakeValue()) return Refuse("option " + Flag + " needs a value");

    if (Flag == "--help") {
      Result = {false, 0, GameUsage(), {}};
      return Result;
    } else if (Flag == "--version") {
      Result = {false, 0, std::string("calvora ") + CALVORA_VERSION + "\n", {}};
      return Result;
    } else if (Flag == "--headless") {
      Options.Headless = true;
    } else if (Flag == "--windowed") {
      Options.FullScreen = false;
    } else if (Flag == "--fullscreen") {
      Options.FullScreen = true;
    } else if (Flag == "--frames") {
      if (!ParseNumber(Value, Options.Frames) || Options.Frames <= 0)
        return Refuse("--frames needs a whole number above 0, not '" + Value + "'");
    } else if (Flag == "--fixed-step") {
      double Step = 0;
      if (!ParseNumber(Value, Step) || !std::isfinite(Step) || Step <= 0 || Step > 1)
        return Refuse("--fixed-step needs seconds above 0 and at most 1, not '" + Value + "'");
      Options.FixedStep = Step;
    } else if (Flag == "--seed") {
      std::uint32_t Seed = 0;
      if (!ParseNumber(Value, Seed))
        return Refuse("--seed needs a whole number from 0 to 4294967295, not '" + Value + "'");
      Options.Seed = Seed;
    } else if (Flag == "--screenshot") {
      if (Value.empty()) return Refuse("--screenshot needs a file name");
      Options.Screenshot = Value;
    } else {
      return Refuse("unknown option '" + Arguments[I] + "'");
    }
  }
  return Result;
}

// SimMain.cpp -- calvora-sim: runs a mission script (a file, or standard input) against the town
// simulation and prints what the script asks for.
#include <fstream>
#include <iostream>

#include "SimScript.h"

int main(int argc, char** argv) {
  if (argc > 2) {
    std::cerr << "usage: calvora-sim [SCRIPT]\n";
    return 2;
  }
  if (argc == 1) return RunSimScript(std::cin, std::cout, std::cerr);
  std::ifstream Script(argv[1], std::ios::binary);
  if (!Script) {
    std::cerr << "line 0: cannot read " << argv[1] << "\n";
    return 2;
  }
  return RunSimScript(Script, std::cout, std::cerr);
}

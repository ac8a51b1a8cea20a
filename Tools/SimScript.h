// SimScript.h -- the mission script language of calvora-sim: one mission of the town simulation
// driven line by line, printing what the script asks for.
#pragma once

#include <istream>
#include <ostream>

// Runs the script from Input; prints results on Output and the first error on Errors as
// "line N: reason". Returns 0 when the script ran to its end, 2 after an error.
int RunSimScript(std::istream& Input, std::ostream& Output, std::ostream& Errors);

// DataLanguage.cpp -- calvora-data language FILE: reads a language file with the game's own reader
// and lists the text of every id, so that a translation can be checked and reviewed as plain text.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "DataCommands.h"
#include "EngineLanguages.h"

namespace {

// The text on one line: bytes below 32 or above 126, and the backslash, as \xHH.
std::string Escaped(const std::string& Text) {
  std::string Out;
  for (char C : Text) {
    unsigned char Byte = static_cast<unsigned char>(C);
    if (Byte < 32 || Byte > 126 || Byte == '\\') {
      char Code[5];
      std::snprintf(Code, sizeof(Code), "\\x%02x", Byte);
      Out += Code;
    } else {
      Out += C;
    }
  }
  return Out;
}

// Prints "id name text" for ids 1..332; 1 when the file cannot be read or leaves an id without
// text (each such id is named on standard error), else 0.
int Run(const std::vector<std::string>& Arguments) {
  if (Arguments.size() != 1) {
    std::cerr << "usage: calvora-data language FILE\n";
    return 2;
  }
  const std::string& Path = Arguments[0];
  ClearStringTable();
  TLanguageFileReport Report;
  if (!LoadLanguageFile(Path, &Report)) {
    std::cerr << "calvora-data: cannot read '" << Path << "'\n";
    return 1;
  }
  for (int Id = 1; Id < kStringCount; ++Id)
    std::cout << Id << " " << StringIdName(Id) << " " << Escaped(StringTable[Id]) << "\n";
  for (const std::string& Name : Report.UnknownNames)
    std::cerr << Path << ": unknown text id '" << Name << "' (its text is dropped)\n";
  for (int Id : Report.MissingIds)
    std::cerr << Path << ": no text for " << Id << " " << StringIdName(Id) << "\n";
  return Report.MissingIds.empty() ? 0 : 1;
}

}  // namespace

static TDataCommandRegistration Registration("language", "language FILE", Run);

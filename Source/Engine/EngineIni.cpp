// EngineIni.cpp -- reading and writing INI text without losing what the program does not use.
#include "EngineIni.h"

#include <charconv>

namespace {

std::string Trimmed(const std::string& Text) {
  std::size_t First = Text.find_first_not_of(" \t");
  if (First == std::string::npos) return {};
  std::size_t Last = Text.find_last_not_of(" \t");
  return Text.substr(First, Last - First + 1);
}

bool SameName(const std::string& A, const std::string& B) {
  if (A.size() != B.size()) return false;
  for (std::size_t I = 0; I < A.size(); ++I) {
    auto Lower = [](char C) { return C >= 'A' && C <= 'Z' ? static_cast<char>(C + 32) : C; };
    if (Lower(A[I]) != Lower(B[I])) return false;
  }
  return true;
}

std::optional<int> ParseInteger(const std::string& Text) {
  std::string Value = Trimmed(Text);
  const char* Begin = Value.data();
  const char* End = Value.data() + Value.size();
  // One optional sign: from_chars takes a '-' itself, so a '+' must be followed by a digit.
  if (Begin != End && *Begin == '+' && ++Begin != End && (*Begin < '0' || *Begin > '9'))
    return std::nullopt;
  int Result = 0;
  auto [Stop, Error] = std::from_chars(Begin, End, Result);
  if (Error != std::errc() || Stop != End || Begin == End) return std::nullopt;
  return Result;
}

}  // namespace

TIniFile::TIniFile(const std::string& Text) {
  std::string Section;
  std::size_t Start = 0;
  while (Start < Text.size()) {
    std::size_t End = Text.find_first_of("\r\n", Start);
    if (End == std::string::npos) End = Text.size();
    Lines.push_back(ParseLine(Text.substr(Start, End - Start), Section));
    if (Lines.back().IsSection) Section = Lines.back().Section;
    Start = End;
    if (Start < Text.size() && Text[Start] == '\r') ++Start;
    if (Start < Text.size() && Text[Start] == '\n') ++Start;
  }
}

TIniFile::TLine TIniFile::ParseLine(const std::string& Raw, const std::string& CurrentSection) {
  TLine Line{Raw, CurrentSection, {}, false, false};
  std::string Content = Trimmed(Raw);
  if (Content.empty() || Content[0] == ';' || Content[0] == '#') return Line;
  if (Content.front() == '[' && Content.back() == ']') {
    Line.IsSection = true;
    Line.Section = Trimmed(Content.substr(1, Content.size() - 2));
    return Line;
  }
  std::size_t Equals = Content.find('=');
  if (Equals != std::string::npos && Equals > 0) {
    Line.IsKey = true;
    Line.Key = Trimmed(Content.substr(0, Equals));
  }
  return Line;
}

std::vector<TIniFile::TLine>::const_iterator TIniFile::FindKey(const std::string& Section,
                                                               const std::string& Key) const {
  for (auto Line = Lines.begin(); Line != Lines.end(); ++Line)
    if (Line->IsKey && SameName(Line->Section, Section) && SameName(Line->Key, Key)) return Line;
  return Lines.end();
}

std::optional<std::string> TIniFile::ReadString(const std::string& Section,
                                                const std::string& Key) const {
  auto Line = FindKey(Section, Key);
  if (Line == Lines.end()) return std::nullopt;
  return Trimmed(Line->Raw.substr(Line->Raw.find('=') + 1));
}

int TIniFile::ReadInteger(const std::string& Section, const std::string& Key, int Default) const {
  std::optional<std::string> Value = ReadString(Section, Key);
  if (!Value) return Default;
  return ParseInteger(*Value).value_or(Default);
}

bool TIniFile::ReadBool(const std::string& Section, const std::string& Key, bool Default) const {
  return ReadInteger(Section, Key, Default ? 1 : 0) != 0;
}

std::optional<std::size_t> TIniFile::SectionEnd(const std::string& Section) const {
  // Just after the last non-blank line of the first section with this name, so that blank lines
  // separating it from the next section stay where they are.
  std::size_t Header = 0;
  while (Header < Lines.size() &&
         !(Lines[Header].IsSection && SameName(Lines[Header].Section, Section)))
    ++Header;
  if (Header == Lines.size()) return std::nullopt;
  std::size_t End = Header + 1;
  for (std::size_t I = Header + 1; I < Lines.size() && !Lines[I].IsSection; ++I)
    if (!Trimmed(Lines[I].Raw).empty()) End = I + 1;
  return End;
}

void TIniFile::WriteString(const std::string& Section, const std::string& Key,
                           const std::string& Value) {
  if (auto Found = FindKey(Section, Key); Found != Lines.end()) {
    TLine& Line = Lines[static_cast<std::size_t>(Found - Lines.begin())];
    Line.Raw = Line.Key + "=" + Value;
    return;
  }
  std::optional<std::size_t> At = SectionEnd(Section);
  if (!At) {
    if (!Lines.empty() && !Trimmed(Lines.back().Raw).empty()) Lines.push_back({});
    Lines.push_back({"[" + Section + "]", Section, {}, true, false});
    At = Lines.size();
  }
  Lines.insert(Lines.begin() + static_cast<std::ptrdiff_t>(*At),
               TLine{Key + "=" + Value, Section, Key, false, true});
}

void TIniFile::WriteInteger(const std::string& Section, const std::string& Key, int Value) {
  WriteString(Section, Key, std::to_string(Value));
}

void TIniFile::WriteBool(const std::string& Section, const std::string& Key, bool Value) {
  WriteString(Section, Key, Value ? "1" : "0");
}

std::string TIniFile::Text() const {
  std::string Result;
  for (const TLine& Line : Lines)
    Result += Line.Raw + "\n";
  return Result;
}

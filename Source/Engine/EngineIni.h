// EngineIni.h -- an INI text file held whole in memory, so that writing it back keeps every
// section, key, comment and blank line the program does not use.
#pragma once

#include <optional>
#include <string>
#include <vector>

class TIniFile {
 public:
  // Parses INI text; lines may end in LF, CR LF or CR. Never fails: lines that are neither a
  // section nor a key are kept as they are.
  explicit TIniFile(const std::string& Text = {});

  // The value of the first such key of the first such section (names compare without regard to
  // ASCII case, surrounding blanks trimmed); nullopt when absent.
  std::optional<std::string> ReadString(const std::string& Section, const std::string& Key) const;
  // The value as a decimal integer (optional sign, blanks around); Default when the key is absent
  // or its value is not a number that fits in 32 bits.
  int ReadInteger(const std::string& Section, const std::string& Key, int Default) const;
  // Any integer, non-zero meaning true; Default when absent or not a number.
  bool ReadBool(const std::string& Section, const std::string& Key, bool Default) const;

  // Sets the key, adding it at the end of its section (and the section at the end of the file)
  // when missing.
  void WriteString(const std::string& Section, const std::string& Key, const std::string& Value);
  void WriteInteger(const std::string& Section, const std::string& Key, int Value);
  // Written as "1" or "0".
  void WriteBool(const std::string& Section, const std::string& Key, bool Value);

  // The whole file, each line ended by LF.
  std::string Text() const;

 private:
  struct TLine {
    std::string Raw;      // the line as read or written
    std::string Section;  // section line: its name; key line: the section it belongs to
    std::string Key;      // key line: the key's name
    bool IsSection = false;
    bool IsKey = false;
  };
  std::vector<TLine> Lines;

  static TLine ParseLine(const std::string& Raw, const std::string& CurrentSection);
  std::vector<TLine>::const_iterator FindKey(const std::string& Section,
                                             const std::string& Key) const;
  std::optional<std::size_t> SectionEnd(const std::string& Section) const;
};

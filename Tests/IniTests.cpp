// IniTests.cpp -- tests of TIniFile: reading values, writing them back without losing anything
// the game does not use, and the text it produces.
#include <algorithm>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "EngineIni.h"

namespace {

// ---- Reading ----

TEST(IniReadTest, FindsKeysWhateverTheLineEndings) {
  struct Case {
    const char* Name;
    std::string Text;
  };
  const Case Cases[] = {
      {"LF", "[Video]\nMode=full\n[Audio]\nVolume=7\n"},
      {"CR LF", "[Video]\r\nMode=full\r\n[Audio]\r\nVolume=7\r\n"},
      {"CR", "[Video]\rMode=full\r[Audio]\rVolume=7\r"},
      {"mixed", "[Video]\r\nMode=full\r[Audio]\nVolume=7"},
      {"blank lines", "\r\n\r\n[Video]\r\rMode=full\n\n\r\n[Audio]\r\nVolume=7\n\n"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TIniFile Ini(C.Text);
    EXPECT_EQ(Ini.ReadString("Video", "Mode"), "full");
    EXPECT_EQ(Ini.ReadString("Audio", "Volume"), "7");
    EXPECT_EQ(Ini.ReadInteger("Audio", "Volume", -1), 7);
    // A key belongs to the section it follows only.
    EXPECT_EQ(Ini.ReadString("Audio", "Mode"), std::nullopt);
    EXPECT_EQ(Ini.ReadString("Video", "Volume"), std::nullopt);
  }
}

TEST(IniReadTest, NamesIgnoreAsciiCaseAndValuesAreTrimmed) {
  const TIniFile Ini(
      "  [ Audio ]  \n"
      "\t SfxVolume \t=\t  5  \t\n"
      "Title=  Hello   World  \n"
      "Formula=a=b\n"
      "Empty=\n"
      "Blanks=   \n"
      "[Grüße]\n"
      "Wert=1\n"
      "[Odd]\n"
      "Key@=at\n");
  struct Case {
    const char* Section;
    const char* Key;
    std::optional<std::string> Expected;
  };
  const Case Cases[] = {
      {"Audio", "SfxVolume", "5"},
      {"AUDIO", "SFXVOLUME", "5"},
      {"audio", "sfxvolume", "5"},
      {"aUdIo", "SfXvOlUmE", "5"},
      {"Audio", "Title", "Hello   World"},
      {"Audio", "Formula", "a=b"},
      {"Audio", "Empty", ""},
      {"Audio", "Blanks", ""},
      {"Grüße", "Wert", "1"},
      {"GRüßE", "WERT", "1"},
      // Only A..Z fold: other letters and the neighbours of the ASCII letters do not.
      {"GRÜSSE", "Wert", std::nullopt},
      {"GRÜßE", "Wert", std::nullopt},
      {"Odd", "Key@", "at"},
      {"Odd", "Key`", std::nullopt},
      {"Odd", "KEY@", "at"},
      {"Audio", "Missing", std::nullopt},
      {"Missing", "SfxVolume", std::nullopt},
      {"Audi", "SfxVolume", std::nullopt},
      {"Audio", "SfxVolum", std::nullopt},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(std::string(C.Section) + " / " + C.Key);
    EXPECT_EQ(Ini.ReadString(C.Section, C.Key), C.Expected);
  }
}

TEST(IniReadTest, FirstOfDuplicateKeysWins) {
  const TIniFile Ini(
      "[A]\n"
      "Key=1\n"
      "key=2\n"
      "[B]\n"
      "Key=3\n"
      "[A]\n"
      "Key=4\n");
  EXPECT_EQ(Ini.ReadInteger("A", "Key", 0), 1);
  EXPECT_EQ(Ini.ReadInteger("B", "Key", 0), 3);
}

TEST(IniReadTest, CommentsAndStrayLinesAreNotKeys) {
  const TIniFile Ini(
      "Early=1\n"
      "[A]\n"
      "; Commented=1\n"
      "# Hashed=1\n"
      "  ; Indented=1\n"
      "=NoName\n"
      "just some words\n"
      "Real=2\n");
  EXPECT_EQ(Ini.ReadString("A", "; Commented"), std::nullopt);
  EXPECT_EQ(Ini.ReadString("A", "Commented"), std::nullopt);
  EXPECT_EQ(Ini.ReadString("A", "# Hashed"), std::nullopt);
  EXPECT_EQ(Ini.ReadString("A", "Hashed"), std::nullopt);
  EXPECT_EQ(Ini.ReadString("A", "Indented"), std::nullopt);
  EXPECT_EQ(Ini.ReadString("A", ""), std::nullopt);
  EXPECT_EQ(Ini.ReadString("A", "Early"), std::nullopt);
  EXPECT_EQ(Ini.ReadString("A", "Real"), "2");
}

TEST(IniReadTest, ReadIntegerAcceptsOnlyWholeDecimalNumbers) {
  struct Case {
    const char* Value;
    int Expected;  // the default is 77
  };
  const Case Cases[] = {
      {"0", 0},
      {"42", 42},
      {"-42", -42},
      {"+42", 42},
      {"  42  ", 42},
      {"\t-7\t", -7},
      {"007", 7},
      {"-0", 0},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
      // Not numbers, or too large for 32 bits: the default.
      {"", 77},
      {"   ", 77},
      {"abc", 77},
      {"12x", 77},
      {"x12", 77},
      {"1.5", 77},
      {"1e3", 77},
      {"0x10", 77},
      {"1 2", 77},
      {"+", 77},
      {"-", 77},
      {"++5", 77},
      {"--5", 77},
      {"-+5", 77},
      {"2147483648", 77},
      {"-2147483649", 77},
      {"99999999999", 77},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(std::string("value \"") + C.Value + "\"");
    const TIniFile Ini(std::string("[S]\nK=") + C.Value + "\n");
    EXPECT_EQ(Ini.ReadInteger("S", "K", 77), C.Expected);
  }
}

// A plus sign followed by a minus sign is not a number, whatever follows.
TEST(IniReadTest, ReadIntegerRejectsPlusMinus) {
  for (const char* Value : {"+-5", "+-0", "+-2147483648"}) {
    SCOPED_TRACE(std::string("value \"") + Value + "\"");
    const TIniFile Ini(std::string("[S]\nK=") + Value + "\n");
    EXPECT_EQ(Ini.ReadInteger("S", "K", 77), 77);
    EXPECT_TRUE(Ini.ReadBool("S", "K", true));
  }
}

TEST(IniReadTest, AbsentKeyOrSectionReadsAsDefault) {
  const TIniFile Ini("[S]\nK=5\n");
  EXPECT_EQ(Ini.ReadInteger("S", "Other", -9), -9);
  EXPECT_EQ(Ini.ReadInteger("T", "K", 123), 123);
  EXPECT_TRUE(Ini.ReadBool("T", "K", true));
  EXPECT_FALSE(Ini.ReadBool("T", "K", false));
  const TIniFile Empty;
  EXPECT_EQ(Empty.ReadInteger("S", "K", 4), 4);
  EXPECT_EQ(Empty.ReadString("S", "K"), std::nullopt);
}

TEST(IniReadTest, ReadBoolIsAnyIntegerElseTheDefault) {
  struct Case {
    const char* Value;
    bool WhenDefaultFalse;
    bool WhenDefaultTrue;
  };
  const Case Cases[] = {
      {"1", true, true},     {"0", false, false},  {"7", true, true},    {"-1", true, true},
      {" 0 ", false, false}, {"+0", false, false}, {"yes", false, true}, {"true", false, true},
      {"", false, true},     {"0.0", false, true}, {"1x", false, true},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(std::string("value \"") + C.Value + "\"");
    const TIniFile Ini(std::string("[S]\nK=") + C.Value + "\n");
    EXPECT_EQ(Ini.ReadBool("S", "K", false), C.WhenDefaultFalse);
    EXPECT_EQ(Ini.ReadBool("S", "K", true), C.WhenDefaultTrue);
  }
}

// ---- Text ----

TEST(IniTextTest, UnmodifiedFileComesBackWithLfEndings) {
  struct Case {
    const char* Name;
    std::string Input;
    std::string Expected;
  };
  const Case Cases[] = {
      {"empty", "", ""},
      {"LF", "; top\n\n[A]\nK = v \n  odd line\t\n", "; top\n\n[A]\nK = v \n  odd line\t\n"},
      {"CR LF", "; top\r\n\r\n[A]\r\nK=v\r\n", "; top\n\n[A]\nK=v\n"},
      {"CR", "; top\r\r[A]\rK=v\r", "; top\n\n[A]\nK=v\n"},
      {"two CRs are two lines", "a\r\rb\r\n", "a\n\nb\n"},
      {"LF then CR is two line ends", "a\n\rb\n", "a\n\nb\n"},
      {"last line unterminated", "[A]\r\nK=v", "[A]\nK=v\n"},
      {"only line ends", "\r\n\n\r", "\n\n\n"},
      {"trailing blank lines", "[A]\n\n\n", "[A]\n\n\n"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    EXPECT_EQ(TIniFile(C.Input).Text(), C.Expected);
  }
}

// ---- Writing ----

// A settings file with everything the game does not use around the keys it does.
const char* const kSample =
    "; written by hand\n"
    "Loose=before any section\n"
    "\n"
    "[RENDERER]\n"
    "FullScreen=1\n"
    "# keep this\n"
    "Gamma=2\n"
    "\n"
    "[AUDIO]\n"
    "SfxVolume=4\n"
    "MusicVolume=5\n"
    "\n"
    "\n"
    "[MODS]\n"
    "Enabled=yes\n";

TEST(IniWriteTest, EditsTheFileAsExpected) {
  struct Case {
    const char* Name;
    std::string Input;
    void (*Edit)(TIniFile&);
    std::string Expected;
  };
  const Case Cases[] = {
      {"replace an existing value in place", kSample,
       [](TIniFile& Ini) { Ini.WriteInteger("AUDIO", "SfxVolume", 9); },
       "; written by hand\nLoose=before any section\n\n[RENDERER]\nFullScreen=1\n# keep this\n"
       "Gamma=2\n\n[AUDIO]\nSfxVolume=9\nMusicVolume=5\n\n\n[MODS]\nEnabled=yes\n"},
      {"add a key after the last non-blank line of its section", kSample,
       [](TIniFile& Ini) { Ini.WriteString("AUDIO", "Voice", "on"); },
       "; written by hand\nLoose=before any section\n\n[RENDERER]\nFullScreen=1\n# keep this\n"
       "Gamma=2\n\n[AUDIO]\nSfxVolume=4\nMusicVolume=5\nVoice=on\n\n\n[MODS]\nEnabled=yes\n"},
      {"add a key to the last section", kSample,
       [](TIniFile& Ini) { Ini.WriteInteger("MODS", "Count", -3); },
       "; written by hand\nLoose=before any section\n\n[RENDERER]\nFullScreen=1\n# keep this\n"
       "Gamma=2\n\n[AUDIO]\nSfxVolume=4\nMusicVolume=5\n\n\n[MODS]\nEnabled=yes\nCount=-3\n"},
      {"add a section at the end after a blank line", kSample,
       [](TIniFile& Ini) { Ini.WriteBool("GAME", "Deadline", true); },
       "; written by hand\nLoose=before any section\n\n[RENDERER]\nFullScreen=1\n# keep this\n"
       "Gamma=2\n\n[AUDIO]\nSfxVolume=4\nMusicVolume=5\n\n\n[MODS]\nEnabled=yes\n\n"
       "[GAME]\nDeadline=1\n"},
      {"a comment ending a section counts as its last line", "[A]\nX=1\n; note\n\n[B]\n",
       [](TIniFile& Ini) { Ini.WriteString("A", "Y", "2"); }, "[A]\nX=1\n; note\nY=2\n\n[B]\n"},
      {"section holding only blank lines", "[A]\n\n\n[B]\nZ=0\n",
       [](TIniFile& Ini) { Ini.WriteString("A", "Y", "2"); }, "[A]\nY=2\n\n\n[B]\nZ=0\n"},
      {"section at the end without keys", "[A]\n",
       [](TIniFile& Ini) { Ini.WriteString("A", "Y", "2"); }, "[A]\nY=2\n"},
      {"new section after a file already ending in a blank line", "[A]\nX=1\n\n",
       [](TIniFile& Ini) { Ini.WriteString("B", "Y", "2"); }, "[A]\nX=1\n\n[B]\nY=2\n"},
      {"second key of a new section goes into it", "[A]\nX=1\n",
       [](TIniFile& Ini) {
         Ini.WriteString("B", "Y", "2");
         Ini.WriteString("B", "Z", "3");
         Ini.WriteString("A", "W", "4");
       },
       "[A]\nX=1\nW=4\n\n[B]\nY=2\nZ=3\n"},
      {"first of duplicate keys is replaced", "[A]\nK=1\nK=2\n",
       [](TIniFile& Ini) { Ini.WriteInteger("A", "K", 9); }, "[A]\nK=9\nK=2\n"},
      {"a key before any section belongs to none", "K=1\n[A]\n",
       [](TIniFile& Ini) { Ini.WriteInteger("A", "K", 2); }, "K=1\n[A]\nK=2\n"},
      {"bools are 1 and 0", "[A]\nOn=yes\nOff=no\n",
       [](TIniFile& Ini) {
         Ini.WriteBool("A", "On", true);
         Ini.WriteBool("A", "Off", false);
       },
       "[A]\nOn=1\nOff=0\n"},
      {"CR LF input comes out with LF", "[A]\r\nK=1\r\n; c\r\n\r\n[B]\r\n",
       [](TIniFile& Ini) { Ini.WriteInteger("A", "K", 2); }, "[A]\nK=2\n; c\n\n[B]\n"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TIniFile Ini(C.Input);
    C.Edit(Ini);
    EXPECT_EQ(Ini.Text(), C.Expected);
  }
}

TEST(IniWriteTest, NamesMatchWithoutRegardToCase) {
  TIniFile Ini("[audio]\nsfxvolume=3\n");
  Ini.WriteInteger("AUDIO", "SfxVolume", 5);
  const std::string Text = Ini.Text();
  // The existing line was replaced: no second section and no second key.
  EXPECT_EQ(Text.find("[AUDIO]"), std::string::npos) << Text;
  EXPECT_EQ(Text.rfind("[audio]\n", 0), 0u) << Text;
  EXPECT_EQ(std::count(Text.begin(), Text.end(), '\n'), 2) << Text;
  EXPECT_EQ(TIniFile(Text).ReadInteger("audio", "sfxvolume", 0), 5);
}

TEST(IniWriteTest, WrittenValuesReadBack) {
  TIniFile Ini;
  Ini.WriteInteger("AUDIO", "SfxVolume", -2147483647 - 1);
  Ini.WriteInteger("AUDIO", "MusicVolume", 2147483647);
  Ini.WriteBool("RENDERER", "FullScreen", false);
  Ini.WriteString("GAME", "Player", "Ana Sol");
  Ini.WriteString("AUDIO", "SfxVolume", "3");
  const TIniFile Again(Ini.Text());
  EXPECT_EQ(Again.ReadInteger("AUDIO", "SfxVolume", 0), 3);
  EXPECT_EQ(Again.ReadInteger("AUDIO", "MusicVolume", 0), 2147483647);
  EXPECT_FALSE(Again.ReadBool("RENDERER", "FullScreen", true));
  EXPECT_EQ(Again.ReadString("GAME", "Player"), "Ana Sol");
  const std::string Text = Ini.Text();
  EXPECT_EQ(Text.find("[AUDIO]"), Text.rfind("[AUDIO]")) << Text;
  EXPECT_EQ(Text.find("SfxVolume"), Text.rfind("SfxVolume")) << Text;
  ASSERT_FALSE(Text.empty());
  EXPECT_EQ(Text.back(), '\n');
  EXPECT_EQ(Text.find('\r'), std::string::npos);
}

}  // namespace

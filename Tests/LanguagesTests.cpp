// LanguagesTests.cpp -- tests of the text ids, the language file reader, the choice and selection
// of installed languages, and the built-in credit strings.
#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "EngineLanguages.h"
#include "EngineRegister.h"
#include "NullPlatform.h"
#include "TestSupport.h"

namespace {

// ---- Text ids ----

TEST(LanguageIdsTest, NumberedIdsHaveTheirNames) {
  struct Case {
    int Id;
    const char* Name;
  };
  const Case Cases[] = {
      {1, "sidGameTitle"},
      {3, "sidThousandsSeparator"},
      {4, "sidCurrencySymbol"},
      {8, "sidButtonOK"},
      {10, "sidButtonYes"},
      {20, "sidButtonStart"},
      {30, "sidButtonFullScreen"},
      {40, "sidLabelMusicVolume"},
      {50, "sidLabelRecoveredWood"},
      {60, "sidLabelCommerce"},
      {70, "sidLabelPaused"},
      {80, "sidPaneNameHouse2"},
      {90, "sidPaneNameService5"},
      {100, "sidPaneNameRiver"},
      {110, "sidPaneHintCommerce"},
      {120, "sidActionNameRestart"},
      {130, "sidActionNameConstructHouse1"},
      {140, "sidActionNameConstructService6"},
      {150, "sidActionNameUpgradeHouse4"},
      {160, "sidActionHintPause"},
      {170, "sidActionHintDemolish"},
      {180, "sidLicenseNameHouse3"},
      {190, "sidLicenseNameService8"},
      {200, "sidGoalNameWorkers"},
      {210, "sidGoalNameHouses2"},
      {220, "sidHelpProfiles"},
      {230, "sidHelpSandbox1"},
      {240, "sidStageTutorial1_1"},
      {254, "sidStageTutorial1_15"},
      {255, "sidStageTutorial2_1"},
      {268, "sidStageTutorial2_14"},
      {269, "sidStageTutorial3_1"},
      {286, "sidStageTutorial3_18"},
      {287, "sidStageTutorial4_1"},
      {303, "sidStageTutorial4_17"},
      {304, "sidStageTutorial5_1"},
      {307, "sidStageTutorial5_4"},
      {308, "sidStageTutorial6_1"},
      {309, "sidStageTutorial6_2"},
      {310, "sidAwardStar"},
      {315, "sidComletedCampaign"},
      {320, "sidMsgProfileAlreadyExists"},
      {324, "sidMsgUnsupportedVideo"},
      {330, "sidQuerySelectScn"},
      {332, "sidCredits"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    EXPECT_STREQ(StringIdName(C.Id), C.Name);
    EXPECT_EQ(StringIdOf(C.Name), C.Id);
  }
  EXPECT_EQ(sidButtonYes, 10);
  EXPECT_EQ(sidMsgUnsupportedVideo, 324);
  EXPECT_EQ(sidCredits, 332);
}

TEST(LanguageIdsTest, NamesAreDistinctAndLookUpExactly) {
  std::set<std::string> Seen;
  for (int Id = 1; Id <= 332; ++Id) {
    const std::string Name = StringIdName(Id);
    EXPECT_EQ(Name.rfind("sid", 0), 0u) << Id;
    EXPECT_TRUE(Seen.insert(Name).second) << Name;
    EXPECT_EQ(StringIdOf(Name), Id) << Name;
  }
  for (int Id : {0, -1, 333, 100000})
    EXPECT_STREQ(StringIdName(Id), "") << Id;
  for (const char* Name : {"", "sidNone", "sidbuttonok", "sidButtonOK ", "sidCompletedCampaign"})
    EXPECT_EQ(StringIdOf(Name), 0) << Name;
}

// ---- Reading language files ----

class LanguageFileTest : public ::testing::Test {
 protected:
  void SetUp() override { ClearStringTable(); }
  void TearDown() override { ClearStringTable(); }
};

struct TReadCase {
  const char* What;
  std::string Text;
  std::map<int, std::string> Expected;  // every other slot must stay empty
};

TEST_F(LanguageFileTest, ReadingRules) {
  const TReadCase Cases[] = {
      {"header with a remark", "[sidButtonOK - OK]\nOK\n", {{sidButtonOK, "OK"}}},
      {"long remark", "[sidButtonOK - caption of the OK button]\nOK", {{sidButtonOK, "OK"}}},
      {"remark without spaces, tab before the dash",
       "[sidButtonOK-x]\nA\n[sidButtonNo\t- y]\nB",
       {{sidButtonOK, "A"}, {sidButtonNo, "B"}}},
      {"wrong letter case matches nothing", "[sidbuttonok]\nOK", {}},
      {"blanks around a name without a dash are part of it",
       "[ sidButtonOK]\nA\n[sidButtonNo ]\nB",
       {}},
      {"misspelled id is the one files use",
       "[sidComletedCampaign]\nDone\n[sidCompletedCampaign]\nLost",
       {{sidComletedCampaign, "Done"}}},
      {"first and last ids",
       "[sidGameTitle]\nCalvora\n[sidCredits]\nUs",
       {{1, "Calvora"}, {332, "Us"}}},
      {"comment cuts the line", "[sidButtonOK]\n10 // 20\n", {{sidButtonOK, "10"}}},
      {"space before a comment survives inside the text",
       "[sidButtonOK]\n10 // 20\nB",
       {{sidButtonOK, "10 \rB"}}},
      {"comment after a header", "[sidButtonOK] // the OK button\nOK", {{sidButtonOK, "OK"}}},
      {"commented-out header", "// [sidButtonOK]\nOK", {}},
      {"slashes in a header name cut it", "[sidButtonOK//]\nOK\n", {}},
      {"two lines", "[sidButtonOK]\nA\nB", {{sidButtonOK, "A\rB"}}},
      {"blank line inside", "[sidButtonOK]\nA\n\nB", {{sidButtonOK, "A\r\rB"}}},
      {"leading and trailing blank lines",
       "[sidButtonOK]\n\n\nA\nB\n\n\n",
       {{sidButtonOK, "A\rB"}}},
      {"blank lines before the next header",
       "[sidButtonOK]\nA\n\n\n[sidButtonNo]\nB",
       {{sidButtonOK, "A"}, {sidButtonNo, "B"}}},
      {"trim of tabs, spaces and control codes",
       "[sidButtonOK]\n\t \n \x01 A\t \n\t\n",
       {{sidButtonOK, "A"}}},
      {"inner white space kept", "[sidButtonOK]\nA  \n  B\t\nC", {{sidButtonOK, "A  \r  B\t\rC"}}},
      {"8-bit bytes kept, not trimmed",
       "[sidButtonOK]\n\xa0\xe9t\xe9\xa0",
       {{sidButtonOK, "\xa0\xe9t\xe9\xa0"}}},
      {"brackets anywhere make a header",
       "[sidButtonOK]\nA\nsee [x] here\nB\n[sidButtonNo]\nC",
       {{sidButtonOK, "A"}, {sidButtonNo, "C"}}},
      {"a known name in a line of text starts its section",
       "[sidButtonOK]\nA\nand then [sidButtonNo] more\nB",
       {{sidButtonOK, "A"}, {sidButtonNo, "B"}}},
      {"closing bracket first gives no name",
       "[sidButtonOK]\nA\n] before [sidButtonNo\nB",
       {{sidButtonOK, "A"}}},
      {"one bracket alone is text", "[sidButtonOK]\nA [\n] B", {{sidButtonOK, "A [\r] B"}}},
      {"empty header drops its text", "[]\nlost\n[sidButtonOK]\nOK", {{sidButtonOK, "OK"}}},
      {"unknown section dropped", "[sidNothing]\nlost\n[sidButtonNo]\nNo", {{sidButtonNo, "No"}}},
      {"lines before the first header dropped",
       "stray\n\nmore\n[sidButtonOK]\nOK",
       {{sidButtonOK, "OK"}}},
      {"repeated section keeps the later text",
       "[sidButtonOK]\nfirst\n[sidButtonNo]\nNo\n[sidButtonOK]\nsecond",
       {{sidButtonOK, "second"}, {sidButtonNo, "No"}}},
      {"repeated section that is empty the second time",
       "[sidButtonOK]\nfirst\n[sidButtonOK]\n",
       {}},
      {"CR line breaks", "[sidButtonOK]\rA\r\rB\r", {{sidButtonOK, "A\r\rB"}}},
      {"CR LF line breaks", "[sidButtonOK]\r\nA\r\n\r\nB\r\n", {{sidButtonOK, "A\r\rB"}}},
      {"LF CR is two breaks", "[sidButtonOK]\nA\n\rB", {{sidButtonOK, "A\r\rB"}}},
      {"no final line break", "[sidButtonOK]\nA", {{sidButtonOK, "A"}}},
      {"empty file", "", {}},
  };
  for (const TReadCase& C : Cases) {
    SCOPED_TRACE(C.What);
    ClearStringTable();
    StringTable[sidNone] = "left over";
    LoadLanguageText(C.Text);
    for (int Id = 0; Id < kStringCount; ++Id) {
      if (Id == sidThousandsSeparator || Id == sidCurrencySymbol) continue;
      auto Found = C.Expected.find(Id);
      EXPECT_EQ(StringTable[Id], Found == C.Expected.end() ? "" : Found->second)
          << StringIdName(Id);
    }
  }
}

TEST_F(LanguageFileTest, IdsTheFileLacksKeepTheirTexts) {
  LoadLanguageText("[sidButtonOK]\nOK\n[sidButtonNo]\nNo\n[sidThousandsSeparator]\n.");
  LoadLanguageText("[sidButtonOK]\nJa\n");
  EXPECT_EQ(StringTable[sidButtonOK], "Ja");
  EXPECT_EQ(StringTable[sidButtonNo], "No");
  EXPECT_EQ(ThousandsSeparator, '.');
}

TEST_F(LanguageFileTest, SeparatorAndCurrencyRepairs) {
  struct Case {
    const char* What;
    std::string Text;
    char Separator;
    std::string Currency;
  };
  const Case Cases[] = {
      {"no sections", "", ' ', "Dn"},
      {"empty sections", "[sidThousandsSeparator]\n[sidCurrencySymbol]\n", ' ', "Dn"},
      {"a space is trimmed away", "[sidThousandsSeparator]\n \n", ' ', "Dn"},
      {"two characters", "[sidThousandsSeparator]\nab\n", ' ', "Dn"},
      {"two points", "[sidThousandsSeparator]\n..\n", ' ', "Dn"},
      {"one point", "[sidThousandsSeparator]\n.\n", '.', "Dn"},
      {"comma", "[sidThousandsSeparator]\n,", ',', "Dn"},
      {"8-bit separator", "[sidThousandsSeparator]\n\xa0", '\xa0', "Dn"},
      {"two lines", "[sidThousandsSeparator]\n.\n.", ' ', "Dn"},
      {"currency", "[sidCurrencySymbol]\n\x80", ' ', "\x80"},
      {"long currency", "[sidCurrencySymbol]\nDenarii", ' ', "Denarii"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.What);
    ClearStringTable();
    LoadLanguageText(C.Text);
    EXPECT_EQ(ThousandsSeparator, C.Separator);
    EXPECT_EQ(StringTable[sidThousandsSeparator], std::string(1, C.Separator));
    EXPECT_EQ(CurrencySymbol, C.Currency);
    EXPECT_EQ(StringTable[sidCurrencySymbol], C.Currency);
  }
}

TEST_F(LanguageFileTest, ClearRestoresTheStateBeforeAnyLoad) {
  LoadLanguageText("[sidButtonOK]\nOK\n[sidThousandsSeparator]\n.\n[sidCurrencySymbol]\nX");
  ClearStringTable();
  EXPECT_EQ(ThousandsSeparator, ' ');
  EXPECT_EQ(CurrencySymbol, "Dn");
  for (const std::string& Text : StringTable)
    EXPECT_EQ(Text, "");
}

TEST_F(LanguageFileTest, ReadsAFileByPath) {
  TScratchFolder Scratch;
  const std::string Path = Scratch.Path() + "/any name.txt";
  WriteTextFile(Path, "[sidGameTitle]\r\nCalvora\r\n[sidThousandsSeparator]\r\n.\r\n");
  ASSERT_TRUE(LoadLanguageFile(Path));
  EXPECT_EQ(StringTable[sidGameTitle], "Calvora");
  EXPECT_EQ(ThousandsSeparator, '.');
}

TEST_F(LanguageFileTest, UnreadableFileChangesNothing) {
  TScratchFolder Scratch;
  LoadLanguageText("[sidButtonOK]\nOK\n[sidThousandsSeparator]\n.\n[sidCurrencySymbol]\nX");
  TLanguageFileReport Report;
  Report.UnknownNames = {"before"};
  for (const std::string& Path : {Scratch.Path() + "/missing.txt", Scratch.Path()}) {
    SCOPED_TRACE(Path);
    EXPECT_FALSE(LoadLanguageFile(Path, &Report));
    EXPECT_EQ(StringTable[sidButtonOK], "OK");
    EXPECT_EQ(ThousandsSeparator, '.');
    EXPECT_EQ(CurrencySymbol, "X");
    EXPECT_EQ(Report.UnknownNames, std::vector<std::string>{"before"});
  }
}

TEST_F(LanguageFileTest, ReportNamesUnknownHeadersAndIdsWithoutText) {
  // Texts already in the table do not count: the report is about the file alone.
  LoadLanguageText("[sidButtonYes]\nYes");
  TLanguageFileReport Report;
  LoadLanguageText(
      "[sidGameTitle]\nCalvora\n[sidFoo - remark]\nx\n[]\n[ sidButtonNo]\n"
      "[sidButtonOK]\n\n[sidGameTitle]\nAgain\n[sidFoo]\n",
      &Report);
  EXPECT_EQ(Report.UnknownNames,
            (std::vector<std::string>{"sidFoo", "", " sidButtonNo", "sidFoo"}));
  std::vector<int> Expected;
  for (int Id = 1; Id <= 332; ++Id)
    if (Id != sidGameTitle && Id != sidThousandsSeparator && Id != sidCurrencySymbol)
      Expected.push_back(Id);
  EXPECT_EQ(Report.MissingIds, Expected);
}

TEST_F(LanguageFileTest, CompleteFileReportsNothing) {
  std::string Text = "// every text\n";
  for (int Id = 1; Id <= 332; ++Id)
    Text += "[" + std::string(StringIdName(Id)) + " - remark]\nText " + std::to_string(Id) + "\n";
  TLanguageFileReport Report;
  LoadLanguageText(Text, &Report);
  EXPECT_TRUE(Report.UnknownNames.empty());
  EXPECT_TRUE(Report.MissingIds.empty());
  EXPECT_EQ(StringTable[sidCredits], "Text 332");
  EXPECT_EQ(StringTable[sidComletedCampaign], "Text 315");
}

// ---- Installed languages ----

class LanguagesTest : public ::testing::Test {
 protected:
  TScratchFolder Scratch;
  Platform::TNullPlatform Window;

  void SetUp() override {
    Register = TRegister{};
    Register.LanguagesFolder = Scratch.Path() + "/Languages/";
    Register.Language = "Spanish";
    ClearStringTable();
  }
  void TearDown() override {
    Register = TRegister{};
    ClearStringTable();
  }

  std::string FileOf(const std::string& Name) const {
    return Register.LanguagesFolder + Name + "/Language.txt";
  }
  // A language folder whose game title is "Title of <Name>".
  void AddLanguage(const std::string& Name) {
    WriteTextFile(FileOf(Name), "[sidGameTitle]\nTitle of " + Name + "\n");
  }
  void AddFolderWithoutFile(const std::string& Name) {
    std::filesystem::create_directories(Register.LanguagesFolder + Name);
  }
};

TEST_F(LanguagesTest, ChoosesTheWantedLanguageElseSpanishElseEnglishElseTheFirst) {
  struct Case {
    std::vector<std::string> Folders;  // each holds Language.txt
    std::string Wanted;
    std::string Chosen;
  };
  const Case Cases[] = {
      {{"English"}, "Spanish", "English"},
      {{"English", "Spanish"}, "Spanish", "Spanish"},
      {{"English", "Spanish"}, "", "Spanish"},
      {{"English", "German"}, "german", "German"},
      {{"German", "French"}, "FRENCH", "French"},
      {{"English", "German"}, "Klingon", "English"},
      {{"english", "Spanish"}, "Spanish", "Spanish"},
      {{"English", "SPANISH"}, "Spanish", "SPANISH"},
      {{"english", "German"}, "Spanish", "english"},
      {{"German"}, "Spanish", "German"},
      {{"Russian", "German"}, "Spanish", "German"},  // folders come in name order
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Chosen + " wanted " + C.Wanted);
    std::filesystem::remove_all(Register.LanguagesFolder);
    for (const std::string& Name : C.Folders)
      AddLanguage(Name);
    Register.Language = C.Wanted;
    ClearStringTable();
    TLanguages Found;
    EXPECT_EQ(Found.Current().Name, C.Chosen);
    EXPECT_EQ(Found.Items()[Found.CurrentIndex()].Name, C.Chosen);
    EXPECT_EQ(Found.Current().Index, Found.CurrentIndex());
    EXPECT_EQ(Register.Language, C.Chosen);
    EXPECT_EQ(StringTable[sidGameTitle], "Title of " + C.Chosen);
  }
}

TEST_F(LanguagesTest, ListsFoldersHoldingTheFileInNameOrder) {
  AddLanguage("Spanish");
  AddFolderWithoutFile("Dutch");
  AddLanguage("English");
  AddLanguage("German");
  std::filesystem::create_directories(FileOf("Latin"));  // a folder named Language.txt
  WriteTextFile(Register.LanguagesFolder + "Language.txt", "[sidGameTitle]\nLoose\n");
  WriteTextFile(Register.LanguagesFolder + "French/language.txt", "[sidGameTitle]\nx\n");
  TLanguages Found;
  ASSERT_EQ(Found.Items().size(), 3u);
  const char* Names[] = {"English", "German", "Spanish"};
  for (int Index = 0; Index < 3; ++Index) {
    const TLanguage& Item = Found.Items()[Index];
    EXPECT_EQ(Item.Index, Index);
    EXPECT_EQ(Item.Name, Names[Index]);
    EXPECT_EQ(Item.Path, Register.LanguagesFolder + Names[Index] + "/");
    EXPECT_EQ(Found.PathOf(Index), Item.Path);
  }
  EXPECT_EQ(Found.CurrentIndex(), 2);
}

TEST_F(LanguagesTest, NoUsableFolderIsAnError) {
  struct Case {
    const char* What;
    std::vector<std::string> EmptyFolders;
    bool CreateLanguagesFolder;
  };
  const Case Cases[] = {
      {"no languages folder", {}, false},
      {"empty languages folder", {}, true},
      {"folders without the file", {"English", "Spanish"}, true},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.What);
    std::filesystem::remove_all(Register.LanguagesFolder);
    if (C.CreateLanguagesFolder) std::filesystem::create_directories(Register.LanguagesFolder);
    for (const std::string& Name : C.EmptyFolders)
      AddFolderWithoutFile(Name);
    try {
      TLanguages Found;
      ADD_FAILURE() << "no exception";
    } catch (const std::runtime_error& Error) {
      EXPECT_STREQ(Error.what(), "No language found");
    }
  }
}

TEST_F(LanguagesTest, IndexOfIgnoresAsciiCaseAndPathOfFallsBackToTheFolder) {
  AddLanguage("English");
  AddLanguage("english");
  AddLanguage("Espa\xf1ol");  // sorts between the two
  TLanguages Found;
  EXPECT_EQ(Found.IndexOf("ENGLISH"), 0);  // the first of two equal names
  EXPECT_EQ(Found.IndexOf("english"), 0);
  EXPECT_EQ(Found.IndexOf("espa\xf1ol"), 1);
  EXPECT_EQ(Found.IndexOf("ESPA\xd1OL"), -1);  // only ASCII letters fold
  EXPECT_EQ(Found.IndexOf("Engl"), -1);
  EXPECT_EQ(Found.IndexOf(""), -1);
  for (int Index : {-1, 3, 1000})
    EXPECT_EQ(Found.PathOf(Index), Register.LanguagesFolder) << Index;
}

TEST_F(LanguagesTest, SelectLoadsTheLanguageAndTitlesTheWindow) {
  AddLanguage("English");
  AddLanguage("Spanish");
  Register.Window = &Window;
  TLanguages Found;
  EXPECT_EQ(Window.Title, "Title of Spanish");

  Found.Select(0);
  EXPECT_EQ(Found.CurrentIndex(), 0);
  EXPECT_EQ(Found.Current().Name, "English");
  EXPECT_EQ(Register.Language, "English");
  EXPECT_EQ(StringTable[sidGameTitle], "Title of English");
  EXPECT_EQ(Window.Title, "Title of English");
}

TEST_F(LanguagesTest, SelectIgnoresTheCurrentIndexAndIndexesOutOfRange) {
  AddLanguage("English");
  AddLanguage("Spanish");
  Register.Window = &Window;
  TLanguages Found;
  WriteTextFile(FileOf("Spanish"), "[sidGameTitle]\nChanged\n");
  Window.Title = "untouched";
  for (int Index : {1, -1, 2, 1000}) {
    SCOPED_TRACE(Index);
    Found.Select(Index);
    EXPECT_EQ(Found.CurrentIndex(), 1);
    EXPECT_EQ(Register.Language, "Spanish");
    EXPECT_EQ(StringTable[sidGameTitle], "Title of Spanish");
    EXPECT_EQ(Window.Title, "untouched");
  }
}

TEST_F(LanguagesTest, SelectWithoutAWindowOnlyLoads) {
  AddLanguage("English");
  Window.Title = "untouched";
  TLanguages Found;
  EXPECT_EQ(StringTable[sidGameTitle], "Title of English");
  EXPECT_EQ(Window.Title, "untouched");
}

TEST_F(LanguagesTest, FileGoneAfterDiscoveryFailsAndKeepsTheCurrentLanguage) {
  AddLanguage("English");
  AddLanguage("Spanish");
  Register.Window = &Window;
  TLanguages Found;
  std::filesystem::remove(FileOf("English"));
  EXPECT_THROW(Found.Select(0), std::runtime_error);
  EXPECT_EQ(Found.CurrentIndex(), 1);
  EXPECT_EQ(Found.Current().Name, "Spanish");
  EXPECT_EQ(Register.Language, "Spanish");
  EXPECT_EQ(StringTable[sidGameTitle], "Title of Spanish");
  EXPECT_EQ(Window.Title, "Title of Spanish");
}

// ---- Credit strings ----

TEST(CreditStringsTest, CharacterTableInterleavesCodesFromBothEnds) {
  const auto Table = CreditCharacterTable();
  EXPECT_EQ(Table[0], 32);
  EXPECT_EQ(Table[1], 255);
  EXPECT_EQ(Table[2], 33);
  EXPECT_EQ(Table[3], 254);
  EXPECT_EQ(Table[222], 143);
  EXPECT_EQ(Table[223], 144);
  std::set<int> Codes(Table.begin(), Table.end());
  EXPECT_EQ(Codes.size(), 224u);
  EXPECT_EQ(*Codes.begin(), 32);
}

TEST(CreditStringsTest, DecodeToTheirTextsFromAScrambledForm) {
  const char* const Texts[] = {
      "Calvora",
      "Design and programming: the Calvora team",
      "Pictures: generated by calvora-assets",
      "Sounds and music: generated by calvora-assets",
      "Built with SDL2, libpng, libjpeg and libvorbis",
      "Thank you for playing!",
  };
  AssembleCreditStrings();
  for (int Index = 0; Index < kCreditStringCount; ++Index) {
    SCOPED_TRACE(Index);
    EXPECT_EQ(CreditString(Index), Texts[Index]);
    const auto Positions = CreditStringPositions(Index);
    EXPECT_TRUE(std::all_of(Positions.begin(), Positions.end(),
                            [](std::uint8_t P) { return P < kCreditTableSize; }));
    const std::string Stored(Positions.begin(), Positions.end());
    EXPECT_EQ(Stored.find(Texts[Index]), std::string::npos);
  }
  for (int Index : {-1, 6}) {
    EXPECT_EQ(CreditString(Index), "");
    EXPECT_TRUE(CreditStringPositions(Index).empty());
  }
}

}  // namespace

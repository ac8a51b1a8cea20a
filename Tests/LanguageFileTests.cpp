// LanguageFileTests.cpp -- checks of the shipped English language file, read with the game's own
// reader: every text is there, no header is misspelt, and the texts fit the room the screens
// give them.
#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "EngineLanguages.h"
#include "TestSupport.h"

namespace {

// The file the build installs beside the game.
const std::string kEnglishFile =
    std::string(CALVORA_FIXTURES) + "/../../Data/Languages/English/Language.txt";

// Room on screen, in characters: labels, captions and names, and one-line hints.
constexpr std::size_t kLabelLimit = 19;
constexpr std::size_t kHintLimit = 59;
// Lines of the 640-px speech bubbles and message boxes, and of the help pages' bodies, that a
// text may use; and the characters we allow one such line so that it is never squeezed.
constexpr int kBubbleLines = 6;
constexpr int kHelpBodyLines = 18;
constexpr std::size_t kBubbleLineLimit = 44;
constexpr std::size_t kHelpLineLimit = 58;

bool IsHint(int Id) {
  return (Id >= sidPaneHintDamaged && Id <= sidPaneHintMilitary) ||
         (Id >= sidActionHintPause && Id <= sidActionHintUpgradeIncome);
}

std::vector<std::string> Split(const std::string& Text, char Separator) {
  std::vector<std::string> Parts;
  std::size_t Start = 0;
  for (;;) {
    std::size_t End = Text.find(Separator, Start);
    Parts.push_back(Text.substr(Start, End - Start));
    if (End == std::string::npos) return Parts;
    Start = End + 1;
  }
}

// The lines of a text as the screens lay it out: split at every carriage return.
std::vector<std::string> Lines(int Id) {
  return Split(StringTable[Id], '\r');
}

std::string Describe(int Id) {
  return std::to_string(Id) + " " + StringIdName(Id);
}

class LanguageFileTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ClearStringTable();
    Loaded = LoadLanguageFile(kEnglishFile, &Report);
    Raw = ReadTextFile(kEnglishFile);
  }
  static void TearDownTestSuite() { ClearStringTable(); }

  void SetUp() override {
    ASSERT_TRUE(Loaded) << "cannot read " << kEnglishFile;
    ASSERT_TRUE(Raw.has_value());
  }

  // The file's lines, without their CR LF ends.
  static std::vector<std::string> RawLines() {
    std::vector<std::string> Result = Split(*Raw, '\n');
    for (std::string& Line : Result)
      if (!Line.empty() && Line.back() == '\r') Line.pop_back();
    return Result;
  }

  static inline bool Loaded = false;
  static inline TLanguageFileReport Report;
  static inline std::optional<std::string> Raw;
};

TEST_F(LanguageFileTest, EveryIdHasText) {
  EXPECT_TRUE(Report.MissingIds.empty());
  for (int Id : Report.MissingIds)
    ADD_FAILURE() << "no text for " << Describe(Id);
  for (int Id = 1; Id < kStringCount; ++Id)
    EXPECT_FALSE(StringTable[Id].empty()) << Describe(Id);
}

TEST_F(LanguageFileTest, EveryHeaderNamesATextId) {
  EXPECT_TRUE(Report.UnknownNames.empty());
  for (const std::string& Name : Report.UnknownNames)
    ADD_FAILURE() << "unknown header name '" << Name << "'";
}

TEST_F(LanguageFileTest, NoIdIsGivenTwice) {
  // A second section of the same id would silently replace the first.
  std::map<std::string, int> Seen;
  for (std::string Line : RawLines()) {
    Line = Line.substr(0, Line.find("//"));
    std::size_t Open = Line.find('['), Close = Line.find(']');
    if (Open == std::string::npos || Close == std::string::npos || Close < Open) continue;
    std::string Name = Line.substr(Open + 1, Close - Open - 1);
    Name = Name.substr(0, Name.find('-'));
    Name.erase(Name.find_last_not_of(' ') + 1);
    ++Seen[Name];
  }
  EXPECT_EQ(Seen.size(), static_cast<std::size_t>(kStringCount - 1));
  for (const auto& [Name, Count] : Seen)
    EXPECT_EQ(Count, 1) << Name;
}

TEST_F(LanguageFileTest, FileKeepsItsFormat) {
  // CR LF line ends, no tabs, no text cut short by a comment, no blanks hiding at line ends.
  const std::string& Text = *Raw;
  for (std::size_t I = 0; I < Text.size(); ++I) {
    if (Text[I] == '\n') {
      EXPECT_TRUE(I > 0 && Text[I - 1] == '\r') << "bare LF at byte " << I;
    } else if (Text[I] == '\r') {
      EXPECT_TRUE(I + 1 < Text.size() && Text[I + 1] == '\n') << "bare CR at byte " << I;
    }
  }
  EXPECT_EQ(Text.find('\t'), std::string::npos);
  int Number = 0;
  for (const std::string& Line : RawLines()) {
    ++Number;
    std::size_t Comment = Line.find("//");
    EXPECT_TRUE(Comment == std::string::npos || Comment == 0)
        << "line " << Number << " is cut at a double slash: " << Line;
    EXPECT_TRUE(Line.empty() || Line.back() != ' ') << "line " << Number << " ends in a blank";
  }
}

TEST_F(LanguageFileTest, TextsHoldNoControlCharacters) {
  // The screens add every pictogram themselves; a text holds only its line breaks.
  for (int Id = 1; Id < kStringCount; ++Id)
    for (char C : StringTable[Id])
      EXPECT_TRUE(static_cast<unsigned char>(C) >= 32 || C == '\r')
          << Describe(Id) << " holds code " << static_cast<int>(static_cast<unsigned char>(C));
}

TEST_F(LanguageFileTest, NumbersAndTitleAreSet) {
  EXPECT_EQ(StringTable[sidGameTitle], "Calvora");
  EXPECT_EQ(StringTable[sidThousandsSeparator], ",");
  EXPECT_EQ(ThousandsSeparator, ',');
  EXPECT_EQ(StringTable[sidCurrencySymbol], "Dn");
  EXPECT_EQ(CurrencySymbol, "Dn");
}

TEST_F(LanguageFileTest, LabelsAndHintsFitOnOneLine) {
  // Everything before the help texts is a caption, label, name or hint shown on a single line.
  for (int Id = 1; Id < sidHelpProfiles; ++Id) {
    const std::string& Text = StringTable[Id];
    EXPECT_EQ(Text.find('\r'), std::string::npos) << Describe(Id) << " has more than one line";
    EXPECT_LE(Text.size(), IsHint(Id) ? kHintLimit : kLabelLimit) << Describe(Id) << ": " << Text;
  }
}

TEST_F(LanguageFileTest, BracketedTextsHoldNoBrackets) {
  // The info panel puts hints and job names in brackets; brackets inside them read badly.
  for (int Id = 1; Id < sidHelpProfiles; ++Id) {
    if (!IsHint(Id) && (Id < sidActionProgressNameConstruct || Id > sidActionProgressNameUpgrade))
      continue;
    EXPECT_EQ(StringTable[Id].find_first_of("()"), std::string::npos)
        << Describe(Id) << ": " << StringTable[Id];
  }
}

TEST_F(LanguageFileTest, HelpPagesHaveATitleAndFitThePage) {
  EXPECT_LE(Lines(sidHelpProfiles).size(), 4u);
  for (const std::string& Line : Lines(sidHelpProfiles))
    EXPECT_LE(Line.size(), kHelpLineLimit) << Line;
  for (int Id = sidHelpRules1; Id <= sidHelpSandbox4; ++Id) {
    std::vector<std::string> Page = Lines(Id);
    ASSERT_GE(Page.size(), 2u) << Describe(Id) << " has no title line";
    EXPECT_FALSE(Page[0].empty()) << Describe(Id);
    EXPECT_LE(Page[0].size(), 30u) << Describe(Id) << ": " << Page[0];
    EXPECT_LE(static_cast<int>(Page.size()) - 1, kHelpBodyLines) << Describe(Id);
    for (std::size_t I = 1; I < Page.size(); ++I)
      EXPECT_LE(Page[I].size(), kHelpLineLimit) << Describe(Id) << ": " << Page[I];
  }
}

TEST_F(LanguageFileTest, MessagesFitTheirBoxes) {
  // Start and end messages, tutorial bubbles, congratulations, prompts, messages and questions.
  for (int Id = sidScenarioStart1; Id <= sidQueryNewSandbox; ++Id) {
    if (Id == sidMsgUnsupportedVideo) continue;  // a system message box, wrapped by the system
    std::vector<std::string> Text = Lines(Id);
    EXPECT_LE(static_cast<int>(Text.size()), kBubbleLines) << Describe(Id);
    for (const std::string& Line : Text)
      EXPECT_LE(Line.size(), kBubbleLineLimit) << Describe(Id) << ": " << Line;
  }
  // The trophy text follows the star text, and all trophies may follow all stars.
  EXPECT_LE(Lines(sidAwardStar).size() + Lines(sidAwardTrophy2).size(), 6u);
  EXPECT_LE(Lines(sidCompletedStars).size() + Lines(sidCompletedTrophies).size(), 6u);
  // The goal prompt sits under the goal's name in a three-line box.
  EXPECT_EQ(Lines(sidInputGoalCount).size(), 1u);
  EXPECT_LE(Lines(sidInputName).size(), 3u);
  EXPECT_LE(Lines(sidInputDeadline).size(), 3u);
}

TEST_F(LanguageFileTest, TutorialNamesTheControlsItAsksFor) {
  // A stage that waits for an icon, a blueprint or a button says its name as the screen shows
  // it, so renaming one of those texts without the tutorial fails here.
  struct Case {
    int Stage;
    std::vector<int> Names;
  };
  const Case Cases[] = {
      {sidStageTutorial1_3, {sidActionNameConstructHouse1}},
      {sidStageTutorial1_7, {sidActionNameConstructHouse1}},
      {sidStageTutorial1_10, {sidActionNameRepair}},
      {sidStageTutorial1_12, {sidActionNameOrderWood}},
      {sidStageTutorial1_13, {sidActionNameOrderStone}},
      {sidStageTutorial1_15, {sidActionNameConstructHouse1}},
      {sidStageTutorial2_2, {sidActionNameConstructHouse1}},
      {sidStageTutorial2_4, {sidActionNameBuyLicense, sidLicenseNameHouse2, sidButtonClose}},
      {sidStageTutorial2_6, {sidActionNameTrainWorker}},
      {sidStageTutorial2_7, {sidActionNameOrderWood, sidActionNameOrderStone}},
      {sidStageTutorial2_8, {sidActionNameConstructHouse2}},
      {sidStageTutorial2_10, {sidActionNameUpgradeHouse1}},
      {sidStageTutorial2_13, {sidActionNameUpgradeHouse1}},
      {sidStageTutorial3_5,
       {sidActionNameBuyLicense, sidLicenseNameService1, sidLicenseNameService2, sidButtonClose}},
      {sidStageTutorial3_6, {sidActionNameConstructService1}},
      {sidStageTutorial3_7, {sidActionNameTrainWorker}},
      {sidStageTutorial3_8, {sidActionNameOrderWood, sidActionNameOrderStone}},
      {sidStageTutorial3_9, {sidActionNameConstructService2}},
      {sidStageTutorial3_14, {sidActionNameConstructAppeal1}},
      {sidStageTutorial3_15, {sidActionNameConstructHouse1}},
      {sidStageTutorial4_3, {sidActionNameConstructHouse2}},
      {sidStageTutorial4_5, {sidActionNameConstructAppeal1}},
      {sidStageTutorial4_7, {sidActionNameDemolish}},
      {sidStageTutorial4_9, {sidActionNameClear}},
      {sidStageTutorial4_11, {sidActionNameClear}},
      {sidStageTutorial4_12, {sidActionNameOrderStone}},
      {sidStageTutorial4_13, {sidActionNameBuyLicense, sidLicenseNameExtra1, sidButtonClose}},
      {sidStageTutorial4_15, {sidActionNameUpgradeHouse2}},
  };
  for (const Case& C : Cases) {
    std::string Message = StringTable[C.Stage];
    std::replace(Message.begin(), Message.end(), '\r', ' ');
    for (int Name : C.Names)
      EXPECT_NE(Message.find(StringTable[Name]), std::string::npos)
          << Describe(C.Stage) << " does not name \"" << StringTable[Name] << "\"";
  }
}

}  // namespace

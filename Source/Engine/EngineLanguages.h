// EngineLanguages.h -- the text ids, the string table, language files and the installed languages.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

// Every text id by its name, in the order that gives its number (1..332). Expands X(name) once per
// id. The misspelled sidComletedCampaign is the name language files use.
// clang-format off
#define CALVORA_STRING_IDS(X) \
  /*   1 */ X(sidGameTitle) X(sidDefaultPlayerName) X(sidThousandsSeparator) \
  /*   4 */ X(sidCurrencySymbol) X(sidWelcome) X(sidWrongProfile) X(sidSkipTutorial) \
  /*   8 */ X(sidButtonOK) X(sidButtonCancel) X(sidButtonYes) X(sidButtonNo) \
  /*  12 */ X(sidButtonContinue) X(sidButtonSelect) X(sidButtonNew) X(sidButtonNewScenario) \
  /*  16 */ X(sidButtonDelete) X(sidButtonClose) X(sidButtonOptions) X(sidButtonAbout) \
  /*  20 */ X(sidButtonStart) X(sidButtonHelp) X(sidButtonCampaign) X(sidButtonSandbox) \
  /*  24 */ X(sidButtonQuit) X(sidButtonEasy) X(sidButtonNormal) X(sidButtonHard) \
  /*  28 */ X(sidButtonDeadlineOff) X(sidButtonDeadlineOn) X(sidButtonFullScreen) \
  /*  31 */ X(sidButtonWindowed) X(sidButtonSetDeadline) X(sidButtonAddGoal) \
  /*  34 */ X(sidButtonRemoveGoal) X(sidButtonPrevMap) X(sidButtonNextMap) X(sidLabelDifficulty) \
  /*  38 */ X(sidLabelDisplayMode) X(sidLabelSfxVolume) X(sidLabelMusicVolume) \
  /*  41 */ X(sidLabelVersion) X(sidLabelPage) X(sidLabelTime) X(sidLabelGoal) X(sidLabelGoals) \
  /*  46 */ X(sidLabelMoney) X(sidLabelCost) X(sidLabelWood) X(sidLabelStone) \
  /*  50 */ X(sidLabelRecoveredWood) X(sidLabelRecoveredStone) X(sidLabelWorkers) \
  /*  53 */ X(sidLabelAssignedWorkers) X(sidLabelMaxWorkers) X(sidLabelAffect) X(sidLabelIncome) \
  /*  57 */ X(sidLabelResidents) X(sidLabelHappiness) X(sidLabelReligion) X(sidLabelCommerce) \
  /*  61 */ X(sidLabelHealthcare) X(sidLabelCulture) X(sidLabelNeeds) X(sidLabelTrophyGoal) \
  /*  65 */ X(sidLabelStarTime) X(sidLabelDeadline) X(sidLabelYouHave) X(sidLabelNoWorkers) \
  /*  69 */ X(sidLabelMaxWorkersAssigned) X(sidLabelPaused) X(sidLabelSelectGoal) \
  /*  72 */ X(sidLabelBlueprints) X(sidLabelLicenses) X(sidLabelOwned) X(sidLabelLocked) \
  /*  76 */ X(sidLabelProfiles) X(sidLabelChooseProfile) X(sidPaneNameBuildingPlot) \
  /*  79 */ X(sidPaneNameHouse1) X(sidPaneNameHouse2) X(sidPaneNameHouse3) X(sidPaneNameHouse4) \
  /*  83 */ X(sidPaneNameHouse5) X(sidPaneNameHouseOld1) X(sidPaneNameHouseOld2) \
  /*  86 */ X(sidPaneNameService1) X(sidPaneNameService2) X(sidPaneNameService3) \
  /*  89 */ X(sidPaneNameService4) X(sidPaneNameService5) X(sidPaneNameService6) \
  /*  92 */ X(sidPaneNameService7) X(sidPaneNameService8) X(sidPaneNameAppeal1) \
  /*  95 */ X(sidPaneNameDebris) X(sidPaneNameForest) X(sidPaneNameStones) X(sidPaneNameGrass) \
  /*  99 */ X(sidPaneNameLake) X(sidPaneNameRiver) X(sidPaneNameAqueduct) X(sidPaneNameFort) \
  /* 103 */ X(sidPaneNameGranary) X(sidPaneNameWorkshop) X(sidPaneHintDamaged) \
  /* 106 */ X(sidPaneHintBuildingPlot) X(sidPaneHintHouse) X(sidPaneHintHouseOld) \
  /* 109 */ X(sidPaneHintReligion) X(sidPaneHintCommerce) X(sidPaneHintHealthcare) \
  /* 112 */ X(sidPaneHintCulture) X(sidPaneHintAppeal) X(sidPaneHintDebris) X(sidPaneHintForest) \
  /* 116 */ X(sidPaneHintStones) X(sidPaneHintIndustry) X(sidPaneHintMilitary) \
  /* 119 */ X(sidActionNamePause) X(sidActionNameRestart) X(sidActionNameHelp) \
  /* 122 */ X(sidActionNameOptions) X(sidActionNameExit) X(sidActionNameBuyLicense) \
  /* 125 */ X(sidActionNameCollecting) X(sidActionNameOrderWood) X(sidActionNameOrderStone) \
  /* 128 */ X(sidActionNameTrainWorker) X(sidActionNameAssignWorker) \
  /* 130 */ X(sidActionNameConstructHouse1) X(sidActionNameConstructHouse2) \
  /* 132 */ X(sidActionNameConstructHouse3) X(sidActionNameConstructHouse4) \
  /* 134 */ X(sidActionNameConstructHouse5) X(sidActionNameConstructService1) \
  /* 136 */ X(sidActionNameConstructService2) X(sidActionNameConstructService3) \
  /* 138 */ X(sidActionNameConstructService4) X(sidActionNameConstructService5) \
  /* 140 */ X(sidActionNameConstructService6) X(sidActionNameConstructService7) \
  /* 142 */ X(sidActionNameConstructService8) X(sidActionNameConstructAppeal1) \
  /* 144 */ X(sidActionNameDemolish) X(sidActionNameClear) X(sidActionNameRepair) \
  /* 147 */ X(sidActionNameUpgradeHouse1) X(sidActionNameUpgradeHouse2) \
  /* 149 */ X(sidActionNameUpgradeHouse3) X(sidActionNameUpgradeHouse4) \
  /* 151 */ X(sidActionNameUpgradeHouse5) X(sidActionNameUpgradeService1) \
  /* 153 */ X(sidActionNameUpgradeService2) X(sidActionNameUpgradeService3) \
  /* 155 */ X(sidActionNameUpgradeService4) X(sidActionNameUpgradeService5) \
  /* 157 */ X(sidActionNameUpgradeService6) X(sidActionNameUpgradeService7) \
  /* 159 */ X(sidActionNameUpgradeService8) X(sidActionHintPause) X(sidActionHintRestart) \
  /* 162 */ X(sidActionHintHelp) X(sidActionHintOptions) X(sidActionHintExit) \
  /* 165 */ X(sidActionHintBuyLicense) X(sidActionHintCollecting) X(sidActionHintOrderMaterial) \
  /* 168 */ X(sidActionHintTrainWorker) X(sidActionHintAssignWorker) X(sidActionHintDemolish) \
  /* 171 */ X(sidActionHintClear) X(sidActionHintRepair) X(sidActionHintUpgradeIncome) \
  /* 174 */ X(sidActionProgressNameConstruct) X(sidActionProgressNameDemolish) \
  /* 176 */ X(sidActionProgressNameClear) X(sidActionProgressNameRepair) \
  /* 178 */ X(sidActionProgressNameUpgrade) X(sidLicenseNameHouse2) X(sidLicenseNameHouse3) \
  /* 181 */ X(sidLicenseNameHouse4) X(sidLicenseNameHouse5) X(sidLicenseNameService1) \
  /* 184 */ X(sidLicenseNameService2) X(sidLicenseNameService3) X(sidLicenseNameService4) \
  /* 187 */ X(sidLicenseNameService5) X(sidLicenseNameService6) X(sidLicenseNameService7) \
  /* 190 */ X(sidLicenseNameService8) X(sidLicenseNameExtra1) X(sidLicenseNameExtra2) \
  /* 193 */ X(sidLicenseNameExtra3) X(sidLicenseNameExtra4) X(sidLicenseNameSpec1) \
  /* 196 */ X(sidLicenseNameSpec2) X(sidGoalNameBalance) X(sidGoalNameWood) X(sidGoalNameStone) \
  /* 200 */ X(sidGoalNameWorkers) X(sidGoalNameIncome) X(sidGoalNameHappiness) \
  /* 203 */ X(sidGoalNameResidents) X(sidGoalNameReligion) X(sidGoalNameCommerce) \
  /* 206 */ X(sidGoalNameHealthcare) X(sidGoalNameCulture) X(sidGoalNameBuildings) \
  /* 209 */ X(sidGoalNameHouses1) X(sidGoalNameHouses2) X(sidGoalNameHouses3) \
  /* 212 */ X(sidGoalNameHouses4) X(sidGoalNameHouses5) X(sidGoalNameHouses) \
  /* 215 */ X(sidGoalNameHousesUpg1) X(sidGoalNameHousesUpg2) X(sidGoalNameHousesUpg3) \
  /* 218 */ X(sidGoalNameHousesUpg4) X(sidGoalNameHousesUpg5) X(sidHelpProfiles) \
  /* 221 */ X(sidHelpRules1) X(sidHelpRules2) X(sidHelpRules3) X(sidHelpRules4) X(sidHelpRules5) \
  /* 226 */ X(sidHelpRules6) X(sidHelpRules7) X(sidHelpRules8) X(sidHelpRules9) \
  /* 230 */ X(sidHelpSandbox1) X(sidHelpSandbox2) X(sidHelpSandbox3) X(sidHelpSandbox4) \
  /* 234 */ X(sidScenarioStart1) X(sidScenarioStart2) X(sidScenarioStart3) X(sidScenarioEnd1) \
  /* 238 */ X(sidScenarioEnd2) X(sidScenarioEnd3) X(sidStageTutorial1_1) X(sidStageTutorial1_2) \
  /* 242 */ X(sidStageTutorial1_3) X(sidStageTutorial1_4) X(sidStageTutorial1_5) \
  /* 245 */ X(sidStageTutorial1_6) X(sidStageTutorial1_7) X(sidStageTutorial1_8) \
  /* 248 */ X(sidStageTutorial1_9) X(sidStageTutorial1_10) X(sidStageTutorial1_11) \
  /* 251 */ X(sidStageTutorial1_12) X(sidStageTutorial1_13) X(sidStageTutorial1_14) \
  /* 254 */ X(sidStageTutorial1_15) X(sidStageTutorial2_1) X(sidStageTutorial2_2) \
  /* 257 */ X(sidStageTutorial2_3) X(sidStageTutorial2_4) X(sidStageTutorial2_5) \
  /* 260 */ X(sidStageTutorial2_6) X(sidStageTutorial2_7) X(sidStageTutorial2_8) \
  /* 263 */ X(sidStageTutorial2_9) X(sidStageTutorial2_10) X(sidStageTutorial2_11) \
  /* 266 */ X(sidStageTutorial2_12) X(sidStageTutorial2_13) X(sidStageTutorial2_14) \
  /* 269 */ X(sidStageTutorial3_1) X(sidStageTutorial3_2) X(sidStageTutorial3_3) \
  /* 272 */ X(sidStageTutorial3_4) X(sidStageTutorial3_5) X(sidStageTutorial3_6) \
  /* 275 */ X(sidStageTutorial3_7) X(sidStageTutorial3_8) X(sidStageTutorial3_9) \
  /* 278 */ X(sidStageTutorial3_10) X(sidStageTutorial3_11) X(sidStageTutorial3_12) \
  /* 281 */ X(sidStageTutorial3_13) X(sidStageTutorial3_14) X(sidStageTutorial3_15) \
  /* 284 */ X(sidStageTutorial3_16) X(sidStageTutorial3_17) X(sidStageTutorial3_18) \
  /* 287 */ X(sidStageTutorial4_1) X(sidStageTutorial4_2) X(sidStageTutorial4_3) \
  /* 290 */ X(sidStageTutorial4_4) X(sidStageTutorial4_5) X(sidStageTutorial4_6) \
  /* 293 */ X(sidStageTutorial4_7) X(sidStageTutorial4_8) X(sidStageTutorial4_9) \
  /* 296 */ X(sidStageTutorial4_10) X(sidStageTutorial4_11) X(sidStageTutorial4_12) \
  /* 299 */ X(sidStageTutorial4_13) X(sidStageTutorial4_14) X(sidStageTutorial4_15) \
  /* 302 */ X(sidStageTutorial4_16) X(sidStageTutorial4_17) X(sidStageTutorial5_1) \
  /* 305 */ X(sidStageTutorial5_2) X(sidStageTutorial5_3) X(sidStageTutorial5_4) \
  /* 308 */ X(sidStageTutorial6_1) X(sidStageTutorial6_2) X(sidAwardStar) X(sidAwardTrophy1) \
  /* 312 */ X(sidAwardTrophy2) X(sidCompletedStars) X(sidCompletedTrophies) \
  /* 315 */ X(sidComletedCampaign) X(sidInputName) X(sidInputDeadline) X(sidInputGoalCount) \
  /* 319 */ X(sidMsgTooManyProfiles) X(sidMsgProfileAlreadyExists) X(sidMsgCantDeleteProfile) \
  /* 322 */ X(sidMsgFailed) X(sidMsgSandboxSuccess) X(sidMsgUnsupportedVideo) \
  /* 325 */ X(sidQueryDeleteProfile) X(sidQueryEnterSandbox) X(sidQueryQuitGame) \
  /* 328 */ X(sidQueryRestart) X(sidQueryExit) X(sidQuerySelectScn) X(sidQueryNewSandbox) \
  /* 332 */ X(sidCredits)
// clang-format on

// A text id: the index of a text in StringTable; sidNone (0) means no text.
enum TStringId : int {
  sidNone = 0,
#define CALVORA_STRING_ID_ENUMERATOR(Name) Name,
  CALVORA_STRING_IDS(CALVORA_STRING_ID_ENUMERATOR)
#undef CALVORA_STRING_ID_ENUMERATOR
};

// Slots of StringTable: sidNone and the 332 ids.
constexpr int kStringCount = sidCredits + 1;

// The texts of the current language, indexed by text id; 8-bit Windows-1252 bytes.
using TStringTable = std::array<std::string, kStringCount>;

// The texts every screen shows. Entry 0 is always empty after a load.
extern TStringTable StringTable;
// Groups the digits of large numbers; ' ' until a language is loaded.
extern char ThousandsSeparator;
// Follows amounts of money; "Dn" until a language is loaded.
extern std::string CurrencySymbol;

// The name of a text id as language files write it; "" for 0 and for numbers outside 0..332.
const char* StringIdName(int Id);
// The id with exactly this name (letter case counts); 0 when there is none.
int StringIdOf(const std::string& Name);

// Empties every text and restores the separator and currency symbol used before any load.
void ClearStringTable();

// What a language file gives, for the tools that check language files.
struct TLanguageFileReport {
  // Header names that name no text id (an empty one included), in file order.
  std::vector<std::string> UnknownNames;
  // Ids 1..332 that this file leaves without text, counted as if it were loaded into an empty
  // table; the separator and currency symbol never count, since loading repairs them.
  std::vector<int> MissingIds;
};

// Reads the text of a language file into StringTable, then sets ThousandsSeparator and
// CurrencySymbol from it. Ids the text lacks keep what they held. Fills Report when given.
void LoadLanguageText(const std::string& Text, TLanguageFileReport* Report = nullptr);
// LoadLanguageText on the whole file at Path. Returns false, changing nothing, when the file
// cannot be read.
bool LoadLanguageFile(const std::string& Path, TLanguageFileReport* Report = nullptr);

// One installed language: a folder of the languages folder that holds "Language.txt".
struct TLanguage {
  int Index = -1;    // position among the installed languages, from 0
  std::string Name;  // the folder's name, e.g. "English"
  std::string Path;  // the folder's path, ending with "/"
};

// The installed languages and the one whose texts are in StringTable.
class TLanguages {
 public:
  // Finds the languages, then selects the wanted one (Register.Language), else Spanish, else
  // English, else the first. Throws "No language found" when there is none, and Select's error
  // when the chosen file cannot be read.
  TLanguages();

  // The installed languages, in folder-name order.
  const std::vector<TLanguage>& Items() const { return Entries; }
  // Position of the selected language in Items; -1 before the first selection.
  int CurrentIndex() const { return Selected; }
  // The selected language.
  const TLanguage& Current() const { return SelectedLanguage; }

  // Position of the first language whose name equals Name ignoring ASCII letter case; -1 if none.
  int IndexOf(const std::string& Name) const;
  // The folder of Items[Index]; the languages folder itself for an Index out of range.
  std::string PathOf(int Index) const;
  // Loads the texts of Items[Index], makes it Register.Language and titles the window after it.
  // Does nothing for the current index or one out of range. Throws when the file cannot be read,
  // leaving the current language and its texts as they were.
  void Select(int Index);

 private:
  std::vector<TLanguage> Entries;
  int Selected = -1;
  TLanguage SelectedLanguage;
};

// The game's language service; the shell creates it first and frees it last.
extern std::unique_ptr<TLanguages> Languages;

// Number of built-in credit strings.
constexpr int kCreditStringCount = 6;
// Size of the character table the credit strings are stored against.
constexpr int kCreditTableSize = 224;

// The character table: even positions hold codes 32 upward, odd positions codes 255 downward.
std::array<std::uint8_t, kCreditTableSize> CreditCharacterTable();
// The stored form of credit string Index: its positions in the character table; empty when Index
// is out of range.
std::span<const std::uint8_t> CreditStringPositions(int Index);
// Decodes the built-in credit strings; called once at start-up.
void AssembleCreditStrings();
// Credit string Index (0..5; 1 is the notice line of the About dialog); empty before
// AssembleCreditStrings and for an Index out of range.
const std::string& CreditString(int Index);

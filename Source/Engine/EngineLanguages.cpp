// EngineLanguages.cpp -- the string table, the language file reader and the installed languages.
#include "EngineLanguages.h"

#include <optional>
#include <stdexcept>
#include <string_view>
#include <unordered_map>

#include "EngineRegister.h"
#include "Platform.h"

TStringTable StringTable;
char ThousandsSeparator = ' ';
std::string CurrencySymbol = "Dn";
std::unique_ptr<TLanguages> Languages;

// Numbers other modules and saved data rely on.
static_assert(sidGameTitle == 1 && sidButtonYes == 10 && sidButtonStart == 20);
static_assert(sidButtonFullScreen == 30 && sidLabelMusicVolume == 40);
static_assert(sidLabelRecoveredWood == 50 && sidLabelCommerce == 60 && sidLabelPaused == 70);
static_assert(sidPaneNameHouse2 == 80 && sidPaneNameService5 == 90 && sidPaneNameRiver == 100);
static_assert(sidPaneHintCommerce == 110 && sidActionNameRestart == 120);
static_assert(sidActionNameConstructHouse1 == 130 && sidActionNameConstructService6 == 140);
static_assert(sidActionNameUpgradeHouse4 == 150 && sidActionHintPause == 160);
static_assert(sidActionHintDemolish == 170 && sidLicenseNameHouse3 == 180);
static_assert(sidLicenseNameService8 == 190 && sidGoalNameWorkers == 200);
static_assert(sidGoalNameHouses2 == 210 && sidHelpProfiles == 220 && sidHelpSandbox1 == 230);
static_assert(sidStageTutorial1_1 == 240 && sidStageTutorial1_15 == 254);
static_assert(sidStageTutorial2_1 == 255 && sidStageTutorial2_14 == 268);
static_assert(sidStageTutorial3_1 == 269 && sidStageTutorial3_18 == 286);
static_assert(sidStageTutorial4_1 == 287 && sidStageTutorial4_17 == 303);
static_assert(sidStageTutorial5_1 == 304 && sidStageTutorial5_4 == 307);
static_assert(sidStageTutorial6_1 == 308 && sidStageTutorial6_2 == 309);
static_assert(sidAwardStar == 310 && sidComletedCampaign == 315);
static_assert(sidMsgProfileAlreadyExists == 320 && sidMsgUnsupportedVideo == 324);
static_assert(sidQuerySelectScn == 330 && sidCredits == 332 && kStringCount == 333);

namespace {

const char* const kLanguageFile = "Language.txt";

#define CALVORA_STRING_ID_NAME(Name) #Name,
const std::array<const char*, kStringCount> kStringIdNames = {
    "", CALVORA_STRING_IDS(CALVORA_STRING_ID_NAME)};
#undef CALVORA_STRING_ID_NAME

// ---- Reading language files ----

bool IsBlank(char C) {
  return static_cast<unsigned char>(C) <= 32;
}

std::string_view TrimRight(std::string_view Text) {
  while (!Text.empty() && IsBlank(Text.back()))
    Text.remove_suffix(1);
  return Text;
}

void Trim(std::string& Text) {
  std::size_t First = 0;
  while (First < Text.size() && IsBlank(Text[First]))
    ++First;
  Text.erase(0, First);
  Text.resize(TrimRight(Text).size());
}

// Splits at CR, LF and CR LF; a break at the very end opens no further line.
std::vector<std::string_view> SplitLines(std::string_view Text) {
  std::vector<std::string_view> Lines;
  std::size_t Start = 0;
  while (Start < Text.size()) {
    std::size_t Break = Text.find_first_of("\r\n", Start);
    if (Break == std::string_view::npos) Break = Text.size();
    Lines.push_back(Text.substr(Start, Break - Start));
    Start = Break;
    if (Start < Text.size() && Text[Start] == '\r') ++Start;
    if (Start < Text.size() && Text[Start] == '\n') ++Start;
  }
  return Lines;
}

// The name a header line gives: between the first "[" and the first "]", cut before any "-".
std::string_view HeaderName(std::string_view Line) {
  std::size_t Open = Line.find('[');
  std::size_t Close = Line.find(']');
  if (Close < Open) return {};
  std::string_view Name = Line.substr(Open + 1, Close - Open - 1);
  std::size_t Dash = Name.find('-');
  if (Dash != std::string_view::npos) Name = TrimRight(Name.substr(0, Dash));
  return Name;
}

// The sections of one file: the final text of every id it names.
struct TParsedLanguage {
  TStringTable Texts;
  std::array<bool, kStringCount> Given{};
  std::vector<std::string> UnknownNames;
};

void StartSection(TParsedLanguage& Parsed, int& Slot, std::string_view Line) {
  Trim(Parsed.Texts[Slot]);
  std::string Name(HeaderName(Line));
  Slot = StringIdOf(Name);
  if (Slot == sidNone) Parsed.UnknownNames.push_back(Name);
  Parsed.Texts[Slot].clear();
  Parsed.Given[Slot] = true;
}

void AddTextLine(std::string& Text, std::string_view Line) {
  if (!Text.empty()) Text += '\r';
  Text += Line;
}

TParsedLanguage ParseLanguage(std::string_view Text) {
  TParsedLanguage Parsed;
  int Slot = sidNone;
  for (std::string_view Line : SplitLines(Text)) {
    Line = Line.substr(0, Line.find("//"));
    bool Header =
        Line.find('[') != std::string_view::npos && Line.find(']') != std::string_view::npos;
    if (Header)
      StartSection(Parsed, Slot, Line);
    else
      AddTextLine(Parsed.Texts[Slot], Line);
  }
  Trim(Parsed.Texts[Slot]);
  Parsed.Texts[sidNone].clear();
  Parsed.Given[sidNone] = false;
  return Parsed;
}

// A separator must be a single character and a currency needs a symbol; anything else is
// replaced by the defaults.
void RepairNumberFormat(TStringTable& Texts) {
  if (Texts[sidThousandsSeparator].size() != 1) Texts[sidThousandsSeparator] = " ";
  if (Texts[sidCurrencySymbol].empty()) Texts[sidCurrencySymbol] = "Dn";
}

std::vector<int> MissingIds(const TParsedLanguage& Parsed) {
  TStringTable Texts = Parsed.Texts;
  RepairNumberFormat(Texts);
  std::vector<int> Missing;
  for (int Id = 1; Id < kStringCount; ++Id)
    if (Texts[Id].empty()) Missing.push_back(Id);
  return Missing;
}

// ---- Installed languages ----

bool SameNameIgnoringCase(const std::string& A, const std::string& B) {
  if (A.size() != B.size()) return false;
  for (std::size_t I = 0; I < A.size(); ++I) {
    char X = A[I] >= 'A' && A[I] <= 'Z' ? static_cast<char>(A[I] - 'A' + 'a') : A[I];
    char Y = B[I] >= 'A' && B[I] <= 'Z' ? static_cast<char>(B[I] - 'A' + 'a') : B[I];
    if (X != Y) return false;
  }
  return true;
}

std::vector<TLanguage> FindLanguages(const std::string& Folder) {
  std::vector<TLanguage> Found;
  for (const std::string& Name : Platform::SubFolders(Folder)) {
    std::string Path = Folder + Name + "/";
    if (!Platform::FileExists(Path + kLanguageFile)) continue;
    Found.push_back({static_cast<int>(Found.size()), Name, Path});
  }
  return Found;
}

// ---- Credit strings ----

// Each string as positions into the character table; the texts never appear in the program.
const std::uint8_t kCreditTitle[] = {70, 130, 152, 172, 158, 164, 130};
const std::uint8_t kCreditNotice[] = {72,  138, 166, 146, 142, 156, 0,   130, 156, 136,
                                      0,   160, 164, 158, 142, 164, 130, 154, 154, 146,
                                      156, 142, 52,  0,   168, 144, 138, 0,   70,  130,
                                      152, 172, 158, 164, 130, 0,   168, 138, 130, 154};
const std::uint8_t kCreditPictures[] = {
    96, 146, 134, 168, 170, 164, 138, 166, 52,  0,   142, 138, 156, 138, 164, 130, 168, 138, 136,
    0,  132, 178, 0,   134, 130, 152, 172, 158, 164, 130, 26,  130, 166, 166, 138, 168, 166};
const std::uint8_t kCreditSounds[] = {102, 158, 170, 156, 136, 166, 0,   130, 156, 136, 0,   154,
                                      170, 166, 146, 134, 52,  0,   142, 138, 156, 138, 164, 130,
                                      168, 138, 136, 0,   132, 178, 0,   134, 130, 152, 172, 158,
                                      164, 130, 26,  130, 166, 166, 138, 168, 166};
const std::uint8_t kCreditLibraries[] = {68, 170, 146, 152, 168, 0,   174, 146, 168, 144, 0,   102,
                                         72, 88,  36,  24,  0,   152, 146, 132, 160, 156, 142, 24,
                                         0,  152, 146, 132, 148, 160, 138, 142, 0,   130, 156, 136,
                                         0,  152, 146, 132, 172, 158, 164, 132, 146, 166};
const std::uint8_t kCreditThanks[] = {104, 144, 130, 156, 150, 0,   178, 158, 170, 0,   140,
                                      158, 164, 0,   160, 152, 130, 178, 146, 156, 142, 2};

const std::array<std::span<const std::uint8_t>, kCreditStringCount> kCreditPositions = {
    kCreditTitle, kCreditNotice, kCreditPictures, kCreditSounds, kCreditLibraries, kCreditThanks};

std::array<std::string, kCreditStringCount> CreditStrings;

}  // namespace

// ---- String table ----

const char* StringIdName(int Id) {
  return Id >= 0 && Id < kStringCount ? kStringIdNames[Id] : "";
}

int StringIdOf(const std::string& Name) {
  static const std::unordered_map<std::string, int> Ids = [] {
    std::unordered_map<std::string, int> Map;
    for (int Id = 1; Id < kStringCount; ++Id)
      Map.emplace(kStringIdNames[Id], Id);
    return Map;
  }();
  auto Found = Ids.find(Name);
  return Found == Ids.end() ? sidNone : Found->second;
}

void ClearStringTable() {
  for (std::string& Text : StringTable)
    Text.clear();
  ThousandsSeparator = ' ';
  CurrencySymbol = "Dn";
}

void LoadLanguageText(const std::string& Text, TLanguageFileReport* Report) {
  TParsedLanguage Parsed = ParseLanguage(Text);
  if (Report) {
    Report->UnknownNames = Parsed.UnknownNames;
    Report->MissingIds = MissingIds(Parsed);
  }
  for (int Id = 0; Id < kStringCount; ++Id)
    if (Parsed.Given[Id]) StringTable[Id] = std::move(Parsed.Texts[Id]);
  StringTable[sidNone].clear();
  RepairNumberFormat(StringTable);
  ThousandsSeparator = StringTable[sidThousandsSeparator][0];
  CurrencySymbol = StringTable[sidCurrencySymbol];
}

bool LoadLanguageFile(const std::string& Path, TLanguageFileReport* Report) {
  std::optional<std::string> Text = Platform::ReadFile(Path);
  if (!Text) return false;
  LoadLanguageText(*Text, Report);
  return true;
}

// ---- Installed languages ----

TLanguages::TLanguages() : Entries(FindLanguages(Register.LanguagesFolder)) {
  if (Entries.empty()) throw std::runtime_error("No language found");
  int Chosen = IndexOf(Register.Language);
  if (Chosen < 0) Chosen = IndexOf("Spanish");
  if (Chosen < 0) Chosen = IndexOf("English");
  if (Chosen < 0) Chosen = 0;
  Select(Chosen);
}

int TLanguages::IndexOf(const std::string& Name) const {
  for (const TLanguage& Language : Entries)
    if (SameNameIgnoringCase(Language.Name, Name)) return Language.Index;
  return -1;
}

std::string TLanguages::PathOf(int Index) const {
  if (Index < 0 || Index >= static_cast<int>(Entries.size())) return Register.LanguagesFolder;
  return Entries[Index].Path;
}

void TLanguages::Select(int Index) {
  if (Index == Selected || Index < 0 || Index >= static_cast<int>(Entries.size())) return;
  // Read first, so that a failed read leaves the current language whole.
  std::string Path = Entries[Index].Path + kLanguageFile;
  std::optional<std::string> Text = Platform::ReadFile(Path);
  if (!Text) throw std::runtime_error("Failed to read language file \"" + Path + "\"");
  Selected = Index;
  SelectedLanguage = Entries[Index];
  Register.Language = SelectedLanguage.Name;
  LoadLanguageText(*Text);
  if (Register.Window) Register.Window->SetWindowTitle(StringTable[sidGameTitle]);
  // The renderer reloads its language-specific textures here once it exists.
}

// ---- Credit strings ----

std::array<std::uint8_t, kCreditTableSize> CreditCharacterTable() {
  std::array<std::uint8_t, kCreditTableSize> Table{};
  for (int Pair = 0; Pair < kCreditTableSize / 2; ++Pair) {
    Table[2 * Pair] = static_cast<std::uint8_t>(32 + Pair);
    Table[2 * Pair + 1] = static_cast<std::uint8_t>(255 - Pair);
  }
  return Table;
}

std::span<const std::uint8_t> CreditStringPositions(int Index) {
  if (Index < 0 || Index >= kCreditStringCount) return {};
  return kCreditPositions[Index];
}

void AssembleCreditStrings() {
  const std::array<std::uint8_t, kCreditTableSize> Table = CreditCharacterTable();
  for (int Index = 0; Index < kCreditStringCount; ++Index) {
    std::string& Text = CreditStrings[Index];
    Text.clear();
    for (std::uint8_t Position : kCreditPositions[Index])
      Text += static_cast<char>(Table[Position]);
  }
}

const std::string& CreditString(int Index) {
  static const std::string None;
  if (Index < 0 || Index >= kCreditStringCount) return None;
  return CreditStrings[Index];
}

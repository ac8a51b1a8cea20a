// VexaMissionScenarios.cpp -- the scenario table (24 campaign entries and 48 maps) and
// TMission::Setup, which turns a created mission into a fresh mission of one scenario.
//
// The table is written the way designers read it: goals as "Houses2 3, HousesUpg1 2", licence sets
// as "House2-3, Service1-4" (ASCII hyphens in ranges) and maps as "X1.3 G.3 ...". The text is
// parsed at compile time: a misspelt name, a missing pane or a bad number fails the build.
#include "VexaMissionScenarios.h"

#include <string_view>

#include "VexaMission.h"
#include "VexaPlayers.h"

namespace {

// ---- Compile-time parsing helpers --------------------------------------------------------------

// Thrown during constant evaluation only: a throw there makes the initialiser ill-formed, so the
// compiler reports the table entry that does not parse.
struct EScenarioTableError {
  const char* What;
};

constexpr bool IsSpace(char C) {
  return C == ' ' || C == '\t';
}

constexpr std::string_view Trim(std::string_view S) {
  while (!S.empty() && IsSpace(S.front()))
    S.remove_prefix(1);
  while (!S.empty() && IsSpace(S.back()))
    S.remove_suffix(1);
  return S;
}

// A decimal number without sign; -1 when S is empty, not all digits or too long.
constexpr std::int32_t ParseNumber(std::string_view S) {
  if (S.empty() || S.size() > 9) return -1;
  std::int32_t N = 0;
  for (char C : S) {
    if (C < '0' || C > '9') return -1;
    N = N * 10 + (C - '0');
  }
  return N;
}

// ---- Maps --------------------------------------------------------------------------------------

struct TKindCode {
  std::string_view Code;
  std::uint8_t Kind;
};

// The kind codes of the maps.
// clang-format off
constexpr TKindCode KindCodes[] = {
    {"P", pkBuildingPlot},
    {"H1", pkHouse1},        {"H2", pkHouse2},        {"H3", pkHouse3},
    {"H4", pkHouse4},        {"H5", pkHouse5},
    {"O1", pkHouseOld1},     {"O2", pkHouseOld2},
    {"S1", pkService1},      {"S2", pkService1 + 1},  {"S3", pkService1 + 2},
    {"S4", pkService1 + 3},  {"S5", pkService1 + 4},  {"S6", pkService1 + 5},
    {"S7", pkService1 + 6},  {"S8", pkService1 + 7},
    {"A", pkAppeal1},
    {"D1", pkDebris1},       {"D2", pkDebris2},
    {"F1", pkForest1},       {"F2", pkForest1 + 1},   {"F3", pkForest1 + 2},
    {"F4", pkForest1 + 3},   {"F5", pkForest1 + 4},   {"F6", pkForest1 + 5},
    {"F7", pkForest1 + 6},   {"F8", pkForest1 + 7},   {"F9", pkForest1 + 8},
    {"F10", pkForest1 + 9},  {"F11", pkForest1 + 10}, {"F12", pkForest1 + 11},
    {"X1", pkFixedForest1},      {"X2", pkFixedForest1 + 1},  {"X3", pkFixedForest1 + 2},
    {"X4", pkFixedForest1 + 3},  {"X5", pkFixedForest1 + 4},  {"X6", pkFixedForest1 + 5},
    {"X7", pkFixedForest1 + 6},  {"X8", pkFixedForest1 + 7},  {"X9", pkFixedForest1 + 8},
    {"X10", pkFixedForest1 + 9}, {"X11", pkFixedForest1 + 10}, {"X12", pkFixedForest1 + 11},
    {"St", pkStones},        {"Sx", pkFixedStones},
    {"G", pkGrass},          {"L", pkLake},           {"R", pkRiver},
    {"Q", pkAqueduct},
    {"Ft", pkFort},          {"Gr", pkGranary},       {"W", pkWorkshop},
};
// clang-format on

// The picture counts (TPaneInfo.Looks) of the kinds, for checking fixed variants at compile time:
// 2 for the houses, 4 for the aqueduct, 1 or 0 otherwise.
constexpr std::int32_t VariantCount(std::uint8_t Kind) {
  if (Kind >= pkHouse1 && Kind <= pkHouse5) return 2;
  if (Kind == pkAqueduct) return 4;
  return 1;
}

// One pane "Code.Look" or "Code.Look/Variant"; false when it does not parse.
constexpr bool ParsePane(std::string_view Text, TScenarioPane& Pane) {
  const auto Dot = Text.find('.');
  if (Dot == std::string_view::npos) return false;
  const std::string_view Code = Text.substr(0, Dot);
  std::string_view Rest = Text.substr(Dot + 1);
  std::int32_t Variant = -1;
  if (const auto Slash = Rest.find('/'); Slash != std::string_view::npos) {
    Variant = ParseNumber(Rest.substr(Slash + 1));
    if (Variant < 0) return false;
    Rest = Rest.substr(0, Slash);
  }
  const std::int32_t Look = ParseNumber(Rest);
  if (Look < 0 || Look > 3) return false;
  for (const TKindCode& K : KindCodes) {
    if (K.Code == Code) {
      if (Variant >= VariantCount(K.Kind)) return false;
      Pane = {Look, K.Kind, Variant};
      return true;
    }
  }
  return false;
}

// A whole map; false unless it is exactly five rows of five panes.
constexpr bool ParseMap(std::string_view Code, TScenarioMap& Map) {
  int Row = 0;
  while (true) {
    const auto End = Code.find(';');
    std::string_view Line = Code.substr(0, End);
    int Column = 0;
    while (true) {
      Line = Trim(Line);
      if (Line.empty()) break;
      std::size_t Length = 0;
      while (Length < Line.size() && !IsSpace(Line[Length]))
        ++Length;
      if (Row >= 5 || Column >= 5) return false;
      if (!ParsePane(Line.substr(0, Length), Map[Row * 5 + Column])) return false;
      ++Column;
      Line.remove_prefix(Length);
    }
    if (Column != 5) return false;
    ++Row;
    if (End == std::string_view::npos) break;
    Code.remove_prefix(End + 1);
  }
  return Row == 5;
}

consteval TScenarioMap MustParseMap(std::string_view Code) {
  TScenarioMap Map{};
  if (!ParseMap(Code, Map)) throw EScenarioTableError{"a map of the scenario table does not parse"};
  return Map;
}

// ---- Goals, licences, switches -----------------------------------------------------------------

// Goal kind names, in goal-kind order (0..32).
constexpr std::string_view GoalNames[GoalKindCount] = {
    "None",        "Balance",     "Wood",        "Stone",       "Workers",     "Income",
    "Happiness",   "Residents",   "Religion",    "Commerce",    "Healthcare",  "Culture",
    "Buildings",   "Houses1",     "Houses2",     "Houses3",     "Houses4",     "Houses5",
    "Houses",      "HousesUpg1",  "HousesUpg2",  "HousesUpg3",  "HousesUpg4",  "HousesUpg5",
    "HasService1", "HasService2", "HasService3", "HasService4", "HasService5", "HasService6",
    "HasService7", "HasService8", "HasAppeal1"};

// Licence names, in licence order (0..18).
constexpr std::string_view LicenseNames[LicenseCount] = {
    "None",     "House2",   "House3",   "House4",   "House5",   "Service1", "Service2",
    "Service3", "Service4", "Service5", "Service6", "Service7", "Service8", "Extra1",
    "Extra2",   "Extra3",   "Extra4",   "Spec1",    "Spec2"};

// "Kind Target", e.g. "Houses2 3".
consteval TScenarioGoal ParseGoal(std::string_view Text) {
  Text = Trim(Text);
  const auto Space = Text.find(' ');
  if (Space == std::string_view::npos) throw EScenarioTableError{"a goal lacks its target"};
  const std::string_view Name = Text.substr(0, Space);
  const std::int32_t Target = ParseNumber(Trim(Text.substr(Space + 1)));
  if (Target <= 0) throw EScenarioTableError{"a goal's target is not a number"};
  for (int K = 1; K < GoalKindCount; ++K)
    if (GoalNames[K] == Name) return {static_cast<std::uint8_t>(K), Target};
  throw EScenarioTableError{"unknown goal kind"};
}

// Up to three goals separated by commas.
consteval std::array<TScenarioGoal, 3> ParseGoals(std::string_view Text) {
  std::array<TScenarioGoal, 3> Goals{};
  int Count = 0;
  while (true) {
    const auto Comma = Text.find(',');
    if (Count == 3) throw EScenarioTableError{"more than three goals"};
    Goals[Count++] = ParseGoal(Text.substr(0, Comma));
    if (Comma == std::string_view::npos) break;
    Text.remove_prefix(Comma + 1);
  }
  return Goals;
}

consteval int LicenseByName(std::string_view Name) {
  for (int L = 0; L < LicenseCount; ++L)
    if (LicenseNames[L] == Name) return L;
  throw EScenarioTableError{"unknown licence"};
}

// "-" for none, else names and ranges such as "House2-4, Service1-8, Spec1". Licence 0 is always
// in.
consteval std::uint32_t ParseLicenses(std::string_view Text) {
  std::uint32_t Set = 1u << lcNone;
  if (Trim(Text) == "-") return Set;
  while (true) {
    const auto Comma = Text.find(',');
    const std::string_view Item = Trim(Text.substr(0, Comma));
    if (const auto Dash = Item.find('-'); Dash != std::string_view::npos) {
      // "Service1-4": Service1, Service2, Service3, Service4.
      const std::string_view First = Item.substr(0, Dash);
      std::size_t Digits = First.size();
      while (Digits > 0 && First[Digits - 1] >= '0' && First[Digits - 1] <= '9')
        --Digits;
      const std::int32_t From = ParseNumber(First.substr(Digits));
      const std::int32_t To = ParseNumber(Item.substr(Dash + 1));
      if (From < 0 || To < From) throw EScenarioTableError{"bad licence range"};
      const int Base = LicenseByName(First);
      for (int N = From; N <= To; ++N) {
        const int L = Base + (N - From);
        if (L >= LicenseCount || LicenseNames[L].substr(0, Digits) != First.substr(0, Digits))
          throw EScenarioTableError{"licence range runs past its family"};
        Set |= 1u << L;
      }
    } else {
      Set |= 1u << LicenseByName(Item);
    }
    if (Comma == std::string_view::npos) break;
    Text.remove_prefix(Comma + 1);
  }
  return Set;
}

// "all on", or for the tutorial scenarios "on: " and the parts that run ("none", "happiness",
// "happiness, residents").
consteval TScenarioSwitches ParseSwitches(std::string_view Text) {
  if (Text == "all on") return {false, true, true, true, true};
  if (Text.substr(0, 4) != "on: ") throw EScenarioTableError{"bad switches"};
  Text.remove_prefix(4);
  TScenarioSwitches S{true, false, false, false, false};
  if (Text == "none") return S;
  while (true) {
    const auto Comma = Text.find(',');
    const std::string_view Part = Trim(Text.substr(0, Comma));
    if (Part == "damage") {
      S.DamageOn = true;
    } else if (Part == "happiness") {
      S.HappinessOn = true;
    } else if (Part == "residents") {
      S.ResidentsOn = true;
    } else if (Part == "needs") {
      S.NeedsOn = true;
    } else {
      throw EScenarioTableError{"unknown switch"};
    }
    if (Comma == std::string_view::npos) break;
    Text.remove_prefix(Comma + 1);
  }
  return S;
}

// Minutes that SetTimes turns back into exactly Seconds: the table gives seconds, and every one of
// them is a whole number of quarter minutes, which a float holds exactly.
consteval float ExactMinutes(std::int32_t Seconds) {
  const float Minutes = static_cast<float>(Seconds) / 60.0f;
  if (static_cast<double>(Minutes) * 60.0 != static_cast<double>(Seconds) ||
      Minutes * 60.0f != static_cast<float>(Seconds))
    throw EScenarioTableError{"a time is not a whole number of quarter minutes"};
  return Minutes;
}

// One row of the campaign table (times in seconds, 0 = none).
struct TCampaignRow {
  std::string_view Goals, Trophy;
  std::int32_t Money, Wood, Stone, Workers;
  std::string_view Owned, OnSale;
  std::int32_t StarSeconds, DeadlineSeconds;
  std::string_view Switches;
};

// clang-format off
constexpr TCampaignRow CampaignRows[CampaignScenarioCount] = {
  // goals (slots 1..3)                           trophy goal         money  wood stone workers  licences owned               licences on sale                                    star deadline switches
  /*  1 */ {"Houses1 3",                                  "HasAppeal1 1",     1200, 100,  25, 10, "-",                         "-",                                                210,   0, "on: none"},
  /*  2 */ {"Houses2 3, HousesUpg1 2",                    "Houses 5",         5500,  90,  30, 11, "-",                         "House2",                                           240,   0, "on: none"},
  /*  3 */ {"HasService1 1, HasService2 1, Happiness 5",  "Wood 120",         9200, 100,  50, 12, "House2",                    "House2, Service1-2",                               270,   0, "on: happiness"},
  /*  4 */ {"HasAppeal1 1, HousesUpg2 3, Residents 250",  "Buildings 10",     6000, 100,  80, 12, "House2, Service1-2",        "House2, Service1-2, Extra1",                       300,   0, "on: happiness, residents"},
  /*  5 */ {"Houses 8, Income 250, Happiness 10",         "Religion 6",       5000, 120,  90, 12, "House2, Service1-2",        "House2, Service1-2, Extra1",                       330,   0, "all on"},
  /*  6 */ {"Houses2 8, Commerce 5, HasService3 1",       "Stone 300",        7000, 140, 100, 14, "House2, Service1-2",        "House2, Service1-3, Extra1-2",                     360, 690, "all on"},
  /*  7 */ {"HousesUpg3 8, Balance 5000, HasService4 1",  "Healthcare 5",     9000, 160, 120, 15, "House2, Service1-3",        "House2, Service1-4, Extra1-2",                     390, 705, "all on"},
  /*  8 */ {"Houses3 5, Happiness 10, Stone 750",         "Commerce 6",       6000, 160, 120, 16, "House2, Service1-4",        "House2-3, Service1-4, Extra1-2",                   420, 720, "all on"},
  /*  9 */ {"HousesUpg4 8, Residents 500, Healthcare 6",  "Workers 25",       5000, 120, 120, 16, "House2-3, Service1-4",      "House2-3, Service1-4, Extra1-3",                   450, 735, "all on"},
  /* 10 */ {"Houses3 8, Income 600, Culture 8",           "Wood 1000",        5000, 130, 150, 16, "House2-3, Service1-4",      "House2-3, Service1-4, Extra1-3",                   480, 750, "all on"},
  /* 11 */ {"HousesUpg5 7, Happiness 10, Balance 8000",   "Commerce 8",       5500, 140, 160, 16, "House2-3, Service1-4",      "House2-3, Service1-4, Extra1-4",                   510, 765, "all on"},
  /* 12 */ {"Houses3 8, HasService5 1, Stone 2500",       "Religion 10",      5500, 120, 130, 16, "House2-3, Service1-4",      "House2-3, Service1-5, Extra1-4",                   540, 780, "all on"},
  /* 13 */ {"Happiness 20, Residents 600, Workers 30",    "Healthcare 6",     6000, 100, 150, 16, "House2-3, Service1-5",      "House2-3, Service1-5, Extra1-4, Spec1",            570, 795, "all on"},
  /* 14 */ {"HousesUpg3 10, HasService6 1, Balance 15000", "Commerce 12",     6000, 120, 140, 18, "House2-3, Service1-5",      "House2-3, Service1-6, Extra1-4, Spec1",            600, 810, "all on"},
  /* 15 */ {"Houses4 5, Happiness 20, Religion 12",       "Wood 3000",        6500, 420, 410, 18, "House2-3, Service1-6",      "House2-4, Service1-6, Extra1-4, Spec1",            630, 825, "all on"},
  /* 16 */ {"HousesUpg4 10, Residents 730, Commerce 12",  "Buildings 20",     7000, 380, 400, 18, "House2-4, Service1-6",      "House2-4, Service1-6, Extra1-4, Spec1",            660, 840, "all on"},
  /* 17 */ {"Houses3 4, Houses4 6, Happiness 18",         "Culture 6",        6000, 160, 180, 18, "House2-4, Service1-6",      "House2-4, Service1-6, Extra1-4, Spec1-2",          690, 855, "all on"},
  /* 18 */ {"Houses 12, HasService7 1, Income 1600",      "Residents 1000",   6000, 180, 200, 18, "House2-4, Service1-6",      "House2-4, Service1-7, Extra1-4, Spec1-2",          720, 870, "all on"},
  /* 19 */ {"Houses4 10, Happiness 20, Healthcare 12",    "Balance 50000",    2000, 200, 100, 20, "House2-4, Service1-7",      "House2-4, Service1-7, Extra1-4, Spec1-2",          750, 885, "all on"},
  /* 20 */ {"HousesUpg5 14, HasService8 1, Residents 1200", "Culture 10",     2500, 180, 120, 20, "House2-4, Service1-7",      "House2-4, Service1-8, Extra1-4, Spec1-2",          780, 900, "all on"},
  /* 21 */ {"Houses5 8, HousesUpg1 16, Workers 50",       "Income 3000",      2000, 160, 140, 22, "House2-4, Service1-8",      "House2-5, Service1-8, Extra1-4, Spec1-2",          810, 915, "all on"},
  /* 22 */ {"HousesUpg2 12, Happiness 15, Residents 1300", "Stone 5000",      2500, 170, 150, 22, "House2-5, Service1-8",      "House2-5, Service1-8, Extra1-4, Spec1-2",          840, 930, "all on"},
  /* 23 */ {"Houses5 10, Culture 15, Balance 90000",      "Buildings 25",     2500, 160, 170, 24, "House2-5, Service1-8",      "House2-5, Service1-8, Extra1-4, Spec1-2",          870, 945, "all on"},
  /* 24 */ {"Income 4500, Happiness 15, Residents 1600",  "Houses5 15",       2500, 180, 200, 24, "House2-5, Service1-8",      "House2-5, Service1-8, Extra1-4, Spec1-2",          900, 960, "all on"},
};
// clang-format on

consteval std::array<TCampaignEntry, CampaignScenarioCount> BuildCampaignEntries() {
  std::array<TCampaignEntry, CampaignScenarioCount> Entries{};
  for (int I = 0; I < CampaignScenarioCount; ++I) {
    const TCampaignRow& Row = CampaignRows[I];
    TCampaignEntry& E = Entries[I];
    E.Goals = ParseGoals(Row.Goals);
    E.Trophy = ParseGoal(Row.Trophy);
    E.Money = Row.Money;
    E.Wood = Row.Wood;
    E.Stone = Row.Stone;
    E.Workers = Row.Workers;
    E.OwnedLicenses = ParseLicenses(Row.Owned);
    E.LicensesOnSale = ParseLicenses(Row.OnSale);
    E.StarMinutes = ExactMinutes(Row.StarSeconds);
    E.DeadlineMinutes = ExactMinutes(Row.DeadlineSeconds);
    E.Switches = ParseSwitches(Row.Switches);
    // The switches belong to scenarios 1..4 and to them only.
    if (E.Switches.Tutorial != (I < 4)) throw EScenarioTableError{"switches outside 1..4"};
  }
  return Entries;
}

}  // namespace

constinit const std::array<TCampaignEntry, CampaignScenarioCount> CampaignEntries =
    BuildCampaignEntries();

namespace {

// The maps, row 0 ; row 1 ; ... ; row 4, each row column 0 .. 4.
// clang-format off
constexpr std::array<std::string_view, ScenarioCount> MapCodeTable = {
  /*  1 */ "X1.3 G.3 G.3 G.3 G.3 ; X1.1 X1.1 P.1 P.1 P.2 ; X1.0 X1.2 X1.3 P.0 G.2 ; R.0 R.0 R.0 G.0 G.2 ; X1.2 X1.0 R.0 G.0 G.2",
  /*  2 */ "G.0 G.2 G.0 X6.3 X6.1 ; G.0 P.2 P.3 X6.3 X6.0 ; X6.0 P.2 P.1 P.0 X6.2 ; Q.0/2 Q.0/0 Q.0/3 Q.2/0 Q.2/2 ; X6.0 X6.2 X6.1 G.0 G.2",
  /*  3 */ "X4.0 G.1 G.0 P.2 G.2 ; X4.1 X4.2 X4.0 P.2 G.1 ; X4.3 P.3 P.0 H2.2/0 X4.3 ; G.1 P.1 P.0 P.2 X4.1 ; G.0 G.3 G.0 G.2 X4.3",
  /*  4 */ "L.0 L.0 L.0 F5.0 F5.2 ; L.0 L.0 L.0 F5.0 F5.2 ; L.0 L.0 X5.1 O1.0 F5.2 ; F5.3 F5.3 P.3 P.3 F5.3 ; F5.1 O1.1 O1.1 O1.1 F5.1",
  /*  5 */ "X2.0 Q.3/2 P.2 P.0 F2.2 ; F2.3 Q.3/0 P.3 P.3 F2.2 ; F2.1 Q.1/0 H1.1/1 P.1 F2.2 ; X2.0 Q.0/1 Q.2/1 P.0 F2.2 ; X2.2 F2.0 Q.1/2 P.0 F2.2",
  /*  6 */ "G.0 G.0 G.0 F3.0 F3.2 ; G.0 G.0 G.0 P.0 P.2 ; P.3 P.3 O1.3 H1.0/0 P.2 ; F3.1 P.0 P.2 P.1 St.1 ; X3.3 F3.0 F3.2 X3.3 X3.0",
  /*  7 */ "F7.0 F7.2 F7.0 F7.2 X7.3 ; R.0 R.0 R.0 R.0 R.0 ; F7.0 P.2 P.0 F7.2 X7.1 ; F7.0 P.3 P.3 P.2 P.3 ; X7.3 H1.1/0 H2.1/1 S1.1 P.1",
  /*  8 */ "G.0 F11.0 P.3 P.3 P.3 ; G.0 Ft.0 P.2 P.0 H2.2/1 ; G.0 F11.0 P.2 P.0 H2.2/0 ; G.0 Ft.0 P.2 P.0 St.2 ; G.0 X11.0 F11.1 F11.1 St.2",
  /*  9 */ "P.3 P.3 P.3 Q.3/2 F8.2 ; P.0 P.1 H1.1/0 Q.1/3 F8.2 ; P.0 P.2 P.0 Q.1/0 F8.2 ; Q.0/2 Q.0/0 Q.0/0 Q.1/1 F8.2 ; F8.0 F8.2 F8.0 S1.0 F8.2",
  /* 10 */ "X10.1 X10.0 X10.2 G.0 G.0 ; X10.0 F10.3 P.3 P.3 X10.1 ; P.0 O2.1 P.1 F10.1 F10.2 ; P.0 S2.3 O2.3 P.3 F10.2 ; P.0 O2.1 P.1 P.1 P.2",
  /* 11 */ "F12.3 F12.3 F12.3 P.3 P.3 ; F12.1 F12.1 O1.0 P.2 P.1 ; X12.0 G.0 Gr.0 P.2 G.2 ; P.3 P.3 P.0 P.2 F12.3 ; P.1 Gr.1 O1.1 Gr.1 F12.1",
  /* 12 */ "F9.0 P.2 H2.0/1 S2.2 X9.0 ; F9.0 P.2 H3.0/0 F9.2 X9.1 ; F9.0 P.1 P.1 F9.1 F9.2 ; Q.0/2 Q.0/0 Q.2/1 P.0 St.2 ; F9.0 F9.2 Q.1/2 P.0 St.2",
  /* 13 */ "P.0 P.2 F5.3 F5.3 P.3 ; O2.0 P.2 F5.1 P.1 P.1 ; S1.0 H1.2 F5.3 P.3 P.3 ; F5.0 F5.2 F5.1 L.0 L.0 ; F5.0 F5.2 L.0 L.0 L.0",
  /* 14 */ "P.0 P.2 R.0 F7.0 F7.2 ; P.0 P.2 R.0 F7.0 St.2 ; H2.0/1 H1.3/0 R.0 P.3 F7.2 ; S2.0 F7.1 R.0 P.1 St.2 ; F7.0 F7.2 R.0 P.0 P.2",
  /* 15 */ "P.3 P.3 P.3 F4.3 F4.3 ; P.1 P.0 P.2 F4.0 F4.2 ; G.0 F4.0 P.2 P.0 F4.2 ; X4.3 F4.0 F4.3 P.3 S2.2 ; X4.2 G.0 P.1 S1.1 H3.2/0",
  /* 16 */ "P.0 S1.3 P.3 Q.3/2 F6.3 ; P.0 O2.2 P.1 Q.3/0 F6.1 ; P.0 O2.2 P.2 Q.0/1 Q.2/2 ; F6.0 O2.2 P.3 F6.3 F6.3 ; F6.1 P.1 F6.1 F6.1 F6.1",
  /* 17 */ "X1.1 F1.0 F1.2 P.0 P.2 ; F1.3 F1.0 P.2 P.0 P.2 ; F1.1 P.0 W.2 O2.0 P.2 ; P.3 P.0 O2.2 W.0 F1.2 ; P.1 P.0 P.2 F1.1 F1.1",
  /* 18 */ "X11.1 F11.3 F11.3 P.3 G.0 ; F11.0 F11.1 P.1 P.1 P.2 ; S1.0 H2.3/0 A.3 P.3 St.2 ; P.0 P.1 H2.1/1 F11.1 St.2 ; P.0 P.2 X11.3 F11.0 F11.2",
  /* 19 */ "P.3 P.3 P.3 P.3 Ft.3 ; P.0 P.1 H1.1/0 S2.1 P.2 ; P.0 P.3 F12.3 F12.3 F12.2 ; F12.0 P.1 P.1 F12.1 F12.2 ; F12.0 F12.2 Ft.2 H2.0/1 F12.2",
  /* 20 */ "P.3 P.3 St.3 F5.3 F5.3 ; St.0 P.2 F5.1 F5.0 P.2 ; F5.0 F5.2 X5.3 P.0 St.2 ; F5.0 F5.3 S1.3 P.3 F5.2 ; X5.1 P.1 H2.1/1 P.1 F5.2",
  /* 21 */ "F4.0 F4.3 F4.3 P.3 P.2 ; F4.0 F4.1 P.1 P.1 P.2 ; F4.0 F4.3 H4.3/1 H3.3/0 F4.2 ; P.0 S2.1 S3.1 F4.1 F4.2 ; P.0 F4.2 X4.3 F4.0 F4.2",
  /* 22 */ "F6.3 F6.3 F6.3 P.0 P.2 ; F6.0 F6.1 S1.1 H3.1/0 H4.2/1 ; P.0 P.2 W.1 P.0 P.2 ; P.0 P.3 F6.3 F6.3 P.2 ; F6.1 F6.1 F6.1 F6.0 P.2",
  /* 23 */ "P.3 F11.3 F11.3 F11.3 F11.3 ; P.0 P.2 F11.1 F11.0 F11.2 ; F11.0 P.2 P.3 P.0 F11.2 ; F11.0 S3.0 O2.1 P.1 P.2 ; P.1 S2.1 H3.2/1 P.0 F11.2",
  /* 24 */ "P.3 P.3 F7.3 F7.3 F7.2 ; H1.1/1 S1.1 H3.2/0 F7.0 P.2 ; O1.1 O2.1 H2.2/1 P.0 P.2 ; P.3 P.3 P.2 F7.0 F7.2 ; P.1 F7.1 F7.1 F7.1 P.1",
  /* 25 */ "F1.3 P.3 P.3 P.3 G.3 ; F1.1 F1.1 P.1 P.1 P.2 ; X1.0 X1.2 X1.3 P.0 P.2 ; R.0 R.0 R.0 P.0 P.2 ; X1.2 X1.0 R.0 P.0 P.2",
  /* 26 */ "P.0 P.2 G.0 X6.3 X6.1 ; P.0 P.2 P.3 F6.3 X6.0 ; F6.0 P.2 P.1 P.0 F6.2 ; Q.0/2 Q.0/0 Q.0/3 Q.2/0 Q.2/2 ; F6.0 F6.2 X6.1 P.0 P.2",
  /* 27 */ "X4.0 G.1 P.0 P.2 G.2 ; X4.1 X4.2 F4.0 P.2 G.1 ; F4.3 P.3 P.0 P.2 F4.3 ; P.1 P.1 P.0 P.2 F4.1 ; G.0 G.3 G.0 G.2 X4.3",
  /* 28 */ "L.0 L.0 L.0 F5.0 F5.2 ; L.0 L.0 L.0 F5.0 F5.2 ; L.0 L.0 X5.1 P.0 P.2 ; F5.3 F5.3 P.3 P.3 P.3 ; F5.1 O1.1 O1.1 O1.1 F5.1",
  /* 29 */ "X2.0 Q.3/2 P.2 P.0 F2.2 ; F2.3 Q.3/0 P.3 P.3 F2.2 ; F2.1 Q.1/0 P.1 P.1 F2.2 ; X2.0 Q.0/1 Q.2/1 P.0 F2.2 ; X2.2 F2.0 Q.1/2 P.0 F2.2",
  /* 30 */ "G.0 G.0 G.0 F3.0 F3.2 ; G.0 G.0 G.0 P.0 F3.2 ; P.3 P.3 P.3 P.0 St.2 ; F3.1 P.0 P.2 P.1 St.1 ; X3.3 F3.0 F3.2 X3.3 X3.0",
  /* 31 */ "F7.0 F7.2 F7.0 F7.2 X7.3 ; R.0 R.0 R.0 R.0 R.0 ; F7.0 P.2 P.0 F7.2 X7.1 ; F7.0 P.3 P.3 P.2 P.3 ; X7.3 P.1 P.1 P.1 P.1",
  /* 32 */ "G.0 F11.0 P.3 P.3 P.3 ; G.0 Ft.0 P.2 P.0 P.2 ; G.0 F11.0 P.2 P.0 P.2 ; G.0 Ft.0 P.2 P.0 St.2 ; G.0 X11.0 F11.1 F11.1 St.2",
  /* 33 */ "P.3 P.3 P.3 Q.3/2 F8.2 ; P.0 P.1 P.1 Q.1/3 F8.2 ; P.0 P.2 P.0 Q.1/0 F8.2 ; Q.0/2 Q.0/0 Q.0/0 Q.1/1 F8.2 ; F8.0 F8.2 F8.0 F8.0 F8.2",
  /* 34 */ "X10.1 X10.0 X10.2 G.0 G.0 ; X10.0 F10.3 P.3 P.3 X10.1 ; P.0 O2.1 P.1 F10.1 F10.2 ; P.0 O2.3 P.3 P.3 F10.2 ; P.0 O2.1 P.1 P.1 P.2",
  /* 35 */ "F12.3 F12.3 F12.3 P.3 P.3 ; F12.1 F12.1 O1.0 P.2 P.1 ; X12.0 G.0 Gr.0 P.2 G.2 ; P.3 P.3 P.0 P.2 F12.3 ; P.1 Gr.1 O1.1 Gr.1 F12.1",
  /* 36 */ "F9.0 P.2 P.0 P.2 X9.0 ; F9.0 P.2 P.0 F9.2 X9.1 ; F9.0 P.1 P.1 F9.1 F9.2 ; Q.0/2 Q.0/0 Q.2/1 P.0 St.2 ; F9.0 F9.2 Q.1/2 P.0 St.2",
  /* 37 */ "P.0 P.2 F5.3 F5.3 P.3 ; O2.0 P.2 F5.1 P.1 P.1 ; O2.0 P.2 F5.3 P.3 P.3 ; F5.0 F5.2 F5.1 L.0 L.0 ; F5.0 F5.2 L.0 L.0 L.0",
  /* 38 */ "P.0 P.2 R.0 F7.0 F7.2 ; P.0 P.2 R.0 F7.0 St.2 ; P.0 P.3 R.0 P.3 F7.2 ; P.0 F7.1 R.0 P.1 St.2 ; F7.0 F7.2 R.0 P.0 P.2",
  /* 39 */ "P.3 P.3 P.3 F4.3 F4.3 ; P.1 P.0 P.2 F4.0 F4.2 ; G.0 F4.0 P.2 P.0 F4.2 ; X4.3 F4.0 F4.3 P.3 P.2 ; X4.2 G.0 P.1 P.1 P.2",
  /* 40 */ "P.0 P.3 P.3 Q.3/2 F6.3 ; P.0 O2.2 P.1 Q.3/0 F6.1 ; P.0 O2.2 P.2 Q.0/1 Q.2/2 ; F6.0 O2.2 P.3 F6.3 F6.3 ; F6.1 P.1 F6.1 F6.1 F6.1",
  /* 41 */ "X1.1 F1.0 F1.2 P.0 P.2 ; F1.3 F1.0 P.2 P.0 P.2 ; F1.1 P.0 W.2 O2.0 P.2 ; P.3 P.0 O2.2 W.0 F1.2 ; P.1 P.0 P.2 F1.1 F1.1",
  /* 42 */ "X11.1 F11.3 F11.3 P.3 G.0 ; F11.0 F11.1 P.1 P.1 P.2 ; P.0 P.3 P.3 P.3 St.2 ; P.0 P.1 P.1 F11.1 St.2 ; P.0 P.2 X11.3 F11.0 F11.2",
  /* 43 */ "P.3 P.3 P.3 P.3 Ft.3 ; P.0 P.1 P.1 P.1 P.2 ; P.0 P.3 F12.3 F12.3 F12.2 ; F12.0 P.1 P.1 F12.1 F12.2 ; F12.0 F12.2 Ft.2 F12.0 F12.2",
  /* 44 */ "P.3 P.3 St.3 F5.3 F5.3 ; St.0 P.2 F5.1 F5.0 P.2 ; F5.0 F5.2 X5.3 P.0 St.2 ; F5.0 F5.3 P.3 P.3 F5.2 ; X5.1 P.1 P.1 P.1 F5.2",
  /* 45 */ "F4.0 F4.3 F4.3 P.3 P.2 ; F4.0 F4.1 P.1 P.1 P.2 ; F4.0 F4.3 P.3 P.3 F4.2 ; P.0 P.1 P.1 F4.1 F4.2 ; P.0 F4.2 X4.3 F4.0 F4.2",
  /* 46 */ "F6.3 F6.3 F6.3 P.0 P.2 ; F6.0 F6.1 P.1 P.1 P.2 ; P.0 P.2 W.1 O2.0 P.2 ; P.0 P.3 F6.3 F6.3 P.2 ; F6.1 F6.1 F6.1 F6.0 P.2",
  /* 47 */ "P.3 F11.3 F11.3 F11.3 F11.3 ; P.0 P.2 F11.1 F11.0 F11.2 ; F11.0 P.2 P.3 P.0 F11.2 ; F11.0 O2.0 O2.1 P.1 P.2 ; P.1 P.1 P.2 P.0 F11.2",
  /* 48 */ "P.3 P.3 F7.3 F7.3 F7.2 ; P.1 P.1 P.2 F7.0 P.2 ; O1.1 O2.1 P.2 P.0 P.2 ; P.3 P.3 P.2 F7.0 F7.2 ; P.1 F7.1 F7.1 F7.1 P.1",
};
// clang-format on

consteval std::array<TScenarioMap, ScenarioCount> BuildScenarioMaps() {
  std::array<TScenarioMap, ScenarioCount> Maps{};
  for (int I = 0; I < ScenarioCount; ++I)
    Maps[I] = MustParseMap(MapCodeTable[I]);
  return Maps;
}

}  // namespace

constinit const std::array<std::string_view, ScenarioCount> ScenarioMapCodes = MapCodeTable;
constinit const std::array<TScenarioMap, ScenarioCount> ScenarioMaps = BuildScenarioMaps();

std::optional<TScenarioMap> ParseScenarioMap(std::string_view Code) {
  TScenarioMap Map{};
  if (!ParseMap(Code, Map)) return std::nullopt;
  return Map;
}

// ---- Set-up ------------------------------------------------------------------------------------

void TMission::Setup(std::int32_t NewScenario) {
  // 1. Reset.
  Scenario = NewScenario;
  Selected = nullptr;
  Time = 0.0f;
  IncomeTimer = 0.0f;
  LastIncome = 0;
  IncomeAccumulator = 0.0f;
  WoodOrders = -1;
  WoodTimer = 0.0f;
  StoneOrders = -1;
  StoneTimer = 0.0f;
  Trainees = -1;
  TrainTimer = 0.0f;
  StartShown = false;
  Stage = 0;
  StageMark = 0;
  ShowTrophyGoal = true;
  DamageOn = true;
  HappinessOn = true;
  ResidentsOn = true;
  NeedsOn = true;

  // 2. Map picture, start and end texts, tutorial stages (draws the two text choices of a
  // campaign scenario before any pane draws its variant and damage delay).
  SetupStages(NewScenario);

  if (NewScenario >= 1 && NewScenario <= CampaignScenarioCount) {
    // 3. A campaign scenario.
    const TCampaignEntry& Entry = CampaignEntries[NewScenario - 1];
    ClearGoals();
    for (const TScenarioGoal& Goal : Entry.Goals)
      if (Goal.Kind != gkNone) AddGoal(true, Goal.Kind, Goal.Target);
    AddGoal(false, Entry.Trophy.Kind, Entry.Trophy.Target);  // skipped there once the trophy is won
    Money = Entry.Money;
    Wood = Entry.Wood;
    Stone = Entry.Stone;
    Workers = Entry.Workers;
    FreeWorkers = Entry.Workers;
    OwnedLicenses = Entry.OwnedLicenses;
    LicensesOnSale = Entry.LicensesOnSale;
    SetTimes(Entry.StarMinutes, Entry.DeadlineMinutes);  // no star time there once the star is won
    const TScenarioMap& Map = ScenarioMaps[NewScenario - 1];
    for (int I = 0; I < 25; ++I)
      Panes[I]->Setup(Map[I].Look, Map[I].Kind, Map[I].Variant);
    if (Entry.Switches.Tutorial) {
      ShowTrophyGoal = Owner != nullptr && Owner->GetProgress(4).Completed != 0;
      DamageOn = Entry.Switches.DamageOn;
      HappinessOn = Entry.Switches.HappinessOn;
      ResidentsOn = Entry.Switches.ResidentsOn;
      NeedsOn = Entry.Switches.NeedsOn;
    }
  } else if (NewScenario > CampaignScenarioCount && NewScenario <= ScenarioCount) {
    // 4. A sandbox map: goals, trophy goal, star time and deadline stay as they are.
    const TScenarioMap& Map = ScenarioMaps[NewScenario - 1];
    for (int I = 0; I < 25; ++I)
      Panes[I]->Setup(Map[I].Look, Map[I].Kind, Map[I].Variant);
    Money = 3000;
    Wood = 600;
    Stone = 300;
    Workers = 12;
    FreeWorkers = 12;
    OwnedLicenses = 1u << lcNone;
    LicensesOnSale = (1u << LicenseCount) - 1;  // licences 0..18
  }

  // 5. Recount the totals, goals and deadline flag without advancing time.
  Update(0.0f);
}

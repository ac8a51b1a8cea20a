// SimScript.cpp -- the mission script language of calvora-sim.
#include "SimScript.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "EngineLanguages.h"
#include "EngineRegister.h"
#include "EngineStreams.h"
#include "EngineUtils.h"
#include "Platform.h"
#include "VexaMission.h"
#include "VexaPlayers.h"

namespace {

// A script fault: the line number is added where it is caught.
class EScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

using TWords = std::vector<std::string>;

std::string Quoted(const std::string& Word) {
  return "'" + Word + "'";
}

bool AllDigits(const std::string& Text, std::size_t From) {
  if (From >= Text.size()) return false;
  for (std::size_t I = From; I < Text.size(); ++I)
    if (Text[I] < '0' || Text[I] > '9') return false;
  return true;
}

// An optional "-" and decimal digits, within Low..High.
long long ParseInteger(const std::string& Word, long long Low, long long High) {
  std::size_t Start = !Word.empty() && Word[0] == '-' ? 1 : 0;
  if (!AllDigits(Word, Start)) throw EScriptError(Quoted(Word) + " is not a whole number");
  // More digits than any value in range can have: out of range without overflowing. Leading
  // zeros do not count (0000000000007 is 7).
  const std::size_t FirstSignificant = Word.find_first_not_of('0', Start);
  const std::size_t Significant =
      FirstSignificant == std::string::npos ? 0 : Word.size() - FirstSignificant;
  if (Significant > 12)
    throw EScriptError(Word + " is out of range " + std::to_string(Low) + ".." +
                       std::to_string(High));
  long long Value = std::stoll(Word);
  if (Value < Low || Value > High)
    throw EScriptError(Word + " is out of range " + std::to_string(Low) + ".." +
                       std::to_string(High));
  return Value;
}

std::int32_t ParseInt32(const std::string& Word) {
  return static_cast<std::int32_t>(ParseInteger(Word, std::numeric_limits<std::int32_t>::min(),
                                                std::numeric_limits<std::int32_t>::max()));
}

bool ParseBool(const std::string& Word) {
  return ParseInteger(Word, 0, 1) != 0;
}

// Checks the form: sign, digits with an optional fraction (or a point and digits), exponent.
bool IsFloatSyntax(const std::string& Word) {
  std::size_t I = 0;
  auto Digits = [&] {
    std::size_t Start = I;
    while (I < Word.size() && Word[I] >= '0' && Word[I] <= '9')
      ++I;
    return I - Start;
  };
  if (I < Word.size() && (Word[I] == '+' || Word[I] == '-')) ++I;
  std::size_t Whole = Digits();
  std::size_t Fraction = 0;
  if (I < Word.size() && Word[I] == '.') {
    ++I;
    Fraction = Digits();
  }
  if (Whole == 0 && Fraction == 0) return false;
  if (I < Word.size() && (Word[I] == 'e' || Word[I] == 'E')) {
    ++I;
    if (I < Word.size() && (Word[I] == '+' || Word[I] == '-')) ++I;
    if (Digits() == 0) return false;
  }
  return I == Word.size();
}

// The nearest 32-bit float to the decimal number (overflow gives infinity, as rounding does).
float ParseFloat(const std::string& Word) {
  if (!IsFloatSyntax(Word)) throw EScriptError(Quoted(Word) + " is not a number");
  errno = 0;
  return std::strtof(Word.c_str(), nullptr);
}

// Bytes below 32 or above 126, and the backslash, as \xHH.
std::string Escaped(const std::string& Text) {
  std::string Result;
  for (unsigned char Byte : Text) {
    if (Byte < 32 || Byte > 126 || Byte == '\\') {
      char Code[5];
      std::snprintf(Code, sizeof(Code), "\\x%02x", Byte);
      Result += Code;
    } else {
      Result += static_cast<char>(Byte);
    }
  }
  return Result;
}

std::string Hexadecimal(const std::string& Bytes) {
  static const char Digits[] = "0123456789abcdef";
  std::string Result;
  Result.reserve(Bytes.size() * 2);
  for (unsigned char Byte : Bytes) {
    Result += Digits[Byte >> 4];
    Result += Digits[Byte & 15];
  }
  return Result;
}

// One script run: a profile that owns one mission.
class TSimSession {
 public:
  explicit TSimSession(std::ostream& Output) : Out(Output) {
    Register.Difficulty = 0;
    Register.Deadline = true;
    Randomize(0);
    ClearStringTable();
    Mission = std::make_unique<TMission>(&Owner);
  }

  void Run(const TWords& Words) {
    auto Command = Commands.find(Words[0]);
    if (Command == Commands.end()) throw EScriptError("unknown command " + Quoted(Words[0]));
    std::size_t Given = Words.size() - 1;
    if (Given != Command->second.Arguments)
      throw EScriptError(Words[0] + " takes " + std::to_string(Command->second.Arguments) +
                         " argument" + (Command->second.Arguments == 1 ? "" : "s") + ", not " +
                         std::to_string(Given));
    (this->*Command->second.Handler)(Words);
  }

 private:
  using THandler = void (TSimSession::*)(const TWords&);
  struct TCommand {
    std::size_t Arguments;
    THandler Handler;
  };

  std::ostream& Out;
  TPlayer Owner;
  std::unique_ptr<TMission> Mission;

  void PrintOk(bool Done) { Out << (Done ? "ok" : "refused") << "\n"; }

  void Seed(const TWords& W) {
    Randomize(static_cast<std::uint32_t>(ParseInteger(W[1], 0, 4294967295LL)));
  }
  void Difficulty(const TWords& W) {
    Register.Difficulty = static_cast<std::int32_t>(ParseInteger(W[1], -1, 1));
  }
  void Deadline(const TWords& W) { Register.Deadline = ParseBool(W[1]); }
  void Progress(const TWords& W) {
    int N = static_cast<int>(ParseInteger(W[1], 1, 24));
    TScenarioProgress Entry;
    Entry.Completed = ParseBool(W[2]);
    Entry.Star = ParseBool(W[3]);
    Entry.Trophy = ParseBool(W[4]);
    Owner.SetProgress(N, Entry);
  }
  void New(const TWords&) { Mission = std::make_unique<TMission>(&Owner); }
  void Setup(const TWords& W) { Mission->Setup(ParseInt32(W[1])); }
  void Update(const TWords& W) { Mission->Update(ParseFloat(W[1])); }
  void Select(const TWords& W) { Mission->SelectPane(ParseInt32(W[1]), ParseInt32(W[2])); }
  void Action(const TWords& W) {
    std::int32_t Slot = ParseInt32(W[1]);
    TPane* Pane = Mission->Selected;
    bool Allowed = Pane && Slot >= 0 && Slot < SlotCount && !Pane->IsActionHidden(Slot) &&
                   Pane->CanStartAction(Slot);
    if (Allowed) Pane->StartAction(Slot);
    PrintOk(Allowed);
  }
  void Wood(const TWords&) {
    bool Allowed = Mission->CanOrderWood();
    if (Allowed) Mission->OrderWood();
    PrintOk(Allowed);
  }
  void Stone(const TWords&) {
    bool Allowed = Mission->CanOrderStone();
    if (Allowed) Mission->OrderStone();
    PrintOk(Allowed);
  }
  void Train(const TWords&) {
    bool Allowed = Mission->CanTrainWorker();
    if (Allowed) Mission->TrainWorker();
    PrintOk(Allowed);
  }
  void Buy(const TWords& W) {
    std::int32_t Id = ParseInt32(W[1]);
    bool Allowed = Mission->LicenseState(Id) == 0;
    if (Allowed) Mission->BuyLicense(Id);
    PrintOk(Allowed);
  }
  void Goal(const TWords& W) { AddGoal(true, W); }
  void Trophy(const TWords& W) { AddGoal(false, W); }
  void AddGoal(bool Normal, const TWords& W) {
    auto Kind = static_cast<std::uint8_t>(ParseInteger(W[1], 0, GoalKindCount - 1));
    Mission->AddGoal(Normal, Kind, ParseInt32(W[2]));
  }
  void Ungoal(const TWords&) { Mission->RemoveGoal(); }
  void Times(const TWords& W) { Mission->SetTimes(ParseFloat(W[1]), ParseFloat(W[2])); }
  void Pause(const TWords& W) { Mission->Paused = ParseBool(W[1]); }
  void Next(const TWords&) { Mission->NextStage(); }
  void Skip(const TWords&) { Mission->SkipStages(); }
  void Debug(const TWords& W) {
    Mission->DebugCommand(static_cast<std::int32_t>(ParseInteger(W[1], 1, 5)));
  }
  void Hover(const TWords& W) { Mission->SetHoverAction(ParseInt32(W[1])); }
  void HoverLicense(const TWords& W) { Mission->SetHoverLicense(ParseInt32(W[1])); }
  void Language(const TWords& W) {
    if (!LoadLanguageFile(W[1])) throw EScriptError("cannot read " + W[1]);
  }
  void Save(const TWords& W) {
    std::string Record;
    TStreamWriter Stream(Record);
    Mission->SaveToStream(Stream);
    std::string Failure = Platform::WriteFileAtomic(W[1], Record);
    if (!Failure.empty()) throw EScriptError("cannot write " + W[1] + " (" + Failure + ")");
  }
  void Load(const TWords& W) {
    std::optional<std::string> Record = Platform::ReadFile(W[1]);
    if (!Record) throw EScriptError("cannot read " + W[1]);
    auto Loaded = std::make_unique<TMission>(&Owner);
    TStreamReader Stream(*Record);
    try {
      Loaded->LoadFromStream(Stream);
    } catch (const EStreamError& Error) {
      throw EScriptError(W[1] + ": " + Error.what());
    }
    Mission = std::move(Loaded);
  }
  void State(const TWords&) {
    std::string Record;
    TStreamWriter Stream(Record);
    Mission->SaveToStream(Stream);
    Out << Hexadecimal(Record) << "\n";
  }
  void Status(const TWords&) {
    Out << (Mission->GoalsReached ? "won" : Mission->DeadlinePassed ? "lost" : "running") << "\n";
  }
  void Events(const TWords&) {
    Out << "income=" << Mission->IncomePaid << " wood=" << Mission->WoodDelivered
        << " stone=" << Mission->StoneDelivered << " trained=" << Mission->WorkerTrained;
    for (const auto& Pane : Mission->Panes)
      if (!Pane->SoundEvent.empty() || !Pane->EffectEvent.empty())
        Out << " pane" << Pane->Row << Pane->Column << "=" << Pane->SoundEvent << "/"
            << Pane->EffectEvent;
    Out << "\n";
  }
  void Texts(const TWords&) {
    Out << "time " << Escaped(Mission->GetTimeText()) << "\n";
    Out << "goals " << Escaped(Mission->GetGoalsText()) << "\n";
    TStats Stats = Mission->GetStatsTexts();
    for (std::size_t I = 0; I < Stats.size(); ++I)
      Out << "stats" << I << " " << Escaped(Stats[I]) << "\n";
    TInfo Info = Mission->GetInfoText();
    for (std::size_t I = 0; I < Info.size(); ++I)
      Out << "info" << I << " " << Escaped(Info[I]) << "\n";
    Out << "license " << Escaped(Mission->GetLicenseText()) << "\n";
  }
  void StageCommand(const TWords&) {
    Out << Mission->Stage << " " << Mission->StageMark << " " << Mission->Stages.size() << "\n";
  }

  inline static const std::map<std::string, TCommand> Commands = {
      {"seed", {1, &TSimSession::Seed}},
      {"difficulty", {1, &TSimSession::Difficulty}},
      {"deadline", {1, &TSimSession::Deadline}},
      {"progress", {4, &TSimSession::Progress}},
      {"new", {0, &TSimSession::New}},
      {"setup", {1, &TSimSession::Setup}},
      {"update", {1, &TSimSession::Update}},
      {"select", {2, &TSimSession::Select}},
      {"action", {1, &TSimSession::Action}},
      {"wood", {0, &TSimSession::Wood}},
      {"stone", {0, &TSimSession::Stone}},
      {"train", {0, &TSimSession::Train}},
      {"buy", {1, &TSimSession::Buy}},
      {"goal", {2, &TSimSession::Goal}},
      {"trophy", {2, &TSimSession::Trophy}},
      {"ungoal", {0, &TSimSession::Ungoal}},
      {"times", {2, &TSimSession::Times}},
      {"pause", {1, &TSimSession::Pause}},
      {"next", {0, &TSimSession::Next}},
      {"skip", {0, &TSimSession::Skip}},
      {"debug", {1, &TSimSession::Debug}},
      {"hover", {1, &TSimSession::Hover}},
      {"hoverlicense", {1, &TSimSession::HoverLicense}},
      {"language", {1, &TSimSession::Language}},
      {"save", {1, &TSimSession::Save}},
      {"load", {1, &TSimSession::Load}},
      {"state", {0, &TSimSession::State}},
      {"status", {0, &TSimSession::Status}},
      {"events", {0, &TSimSession::Events}},
      {"texts", {0, &TSimSession::Texts}},
      {"stage", {0, &TSimSession::StageCommand}},
  };
};

// The words of a line: comments cut at "#", split at spaces and tabs.
TWords SplitLine(std::string Line) {
  if (std::size_t Comment = Line.find('#'); Comment != std::string::npos) Line.resize(Comment);
  if (!Line.empty() && Line.back() == '\r') Line.pop_back();
  TWords Words;
  std::size_t I = 0;
  while (I < Line.size()) {
    while (I < Line.size() && (Line[I] == ' ' || Line[I] == '\t'))
      ++I;
    std::size_t Start = I;
    while (I < Line.size() && Line[I] != ' ' && Line[I] != '\t')
      ++I;
    if (I > Start) Words.push_back(Line.substr(Start, I - Start));
  }
  return Words;
}

}  // namespace

int RunSimScript(std::istream& Input, std::ostream& Output, std::ostream& Errors) {
  TSimSession Session(Output);
  std::string Line;
  int Number = 1;
  for (; std::getline(Input, Line); ++Number) {
    TWords Words = SplitLine(Line);
    if (Words.empty()) continue;
    try {
      Session.Run(Words);
    } catch (const std::exception& Error) {
      Output.flush();
      Errors << "line " << Number << ": " << Error.what() << "\n";
      return 2;
    }
  }
  // A script that stops being readable (a folder given as the script, a read error) has not run
  // to its end.
  if (Input.bad()) {
    Output.flush();
    Errors << "line " << Number << ": cannot read the script\n";
    return 2;
  }
  return 0;
}

// SimTests.cpp -- the mission script language: its words, numbers and errors.
#include <gtest/gtest.h>

#include <fstream>
#include <ios>
#include <sstream>
#include <streambuf>
#include <string>
#include <utility>

#include "SimScript.h"
#include "TestSupport.h"

namespace {

struct TRun {
  int Status;
  std::string Output;
  std::string Errors;
};

TRun RunScript(const std::string& Script) {
  std::istringstream Input(Script);
  std::ostringstream Output, Errors;
  int Status = RunSimScript(Input, Output, Errors);
  return {Status, Output.str(), Errors.str()};
}

TEST(SimScript, CommentsBlankLinesAndSeparators) {
  TRun Result = RunScript("# a fresh mission\n\n   status   # nothing set up yet\n\tstage\t\r\n");
  EXPECT_EQ(Result.Status, 0);
  EXPECT_EQ(Result.Output, "running\n0 0 0\n");
  EXPECT_EQ(Result.Errors, "");
}

TEST(SimScript, FreshMissionRefusesEverything) {
  TRun Result =
      RunScript("action 0\nwood\nstone\ntrain\nbuy 1\nselect 2 2\naction 20\naction -1\n");
  EXPECT_EQ(Result.Status, 0) << Result.Errors;
  EXPECT_EQ(Result.Output, "refused\nrefused\nrefused\nrefused\nrefused\nrefused\nrefused\n");
}

TEST(SimScript, BadLinesStopTheScriptWithTheirLineNumber) {
  struct TCase {
    std::string Script;
    std::string Error;
  };
  const TCase Cases[] = {
      {"frobnicate", "line 1: unknown command 'frobnicate'\n"},
      {"Status", "line 1: unknown command 'Status'\n"},
      {"update", "line 1: update takes 1 argument, not 0\n"},
      {"status now", "line 1: status takes 0 arguments, not 1\n"},
      {"select 1", "line 1: select takes 2 arguments, not 1\n"},
      {"\n# two\nupdate x", "line 3: 'x' is not a number\n"},
      {"update inf", "line 1: 'inf' is not a number\n"},
      {"update nan", "line 1: 'nan' is not a number\n"},
      {"update 0x10", "line 1: '0x10' is not a number\n"},
      {"update .", "line 1: '.' is not a number\n"},
      {"update 1e", "line 1: '1e' is not a number\n"},
      {"select +1 2", "line 1: '+1' is not a whole number\n"},
      {"select 1.5 2", "line 1: '1.5' is not a whole number\n"},
      {"setup 2147483648", "line 1: 2147483648 is out of range -2147483648..2147483647\n"},
      {"setup 99999999999999999999",
       "line 1: 99999999999999999999 is out of range -2147483648..2147483647\n"},
      {"seed -1", "line 1: -1 is out of range 0..4294967295\n"},
      {"seed 4294967296", "line 1: 4294967296 is out of range 0..4294967295\n"},
      {"seed 000000000000004294967296",
       "line 1: 000000000000004294967296 is out of range 0..4294967295\n"},
      {"setup -00000000000002147483649",
       "line 1: -00000000000002147483649 is out of range -2147483648..2147483647\n"},
      {"difficulty 2", "line 1: 2 is out of range -1..1\n"},
      {"deadline 2", "line 1: 2 is out of range 0..1\n"},
      {"progress 25 1 0 0", "line 1: 25 is out of range 1..24\n"},
      {"progress 1 1 0 3", "line 1: 3 is out of range 0..1\n"},
      {"goal 33 5", "line 1: 33 is out of range 0..32\n"},
      {"trophy -1 5", "line 1: -1 is out of range 0..32\n"},
      {"debug 0", "line 1: 0 is out of range 1..5\n"},
      {"pause yes", "line 1: 'yes' is not a whole number\n"},
  };
  for (const TCase& Case : Cases) {
    SCOPED_TRACE(Case.Script);
    TRun Result = RunScript(Case.Script + "\nstatus\n");
    EXPECT_EQ(Result.Status, 2);
    EXPECT_EQ(Result.Errors, Case.Error);
    EXPECT_EQ(Result.Output, "");  // nothing after the error runs
  }
}

TEST(SimScript, OutputBeforeAnErrorStays) {
  TRun Result = RunScript("status\nstage\nbogus\nstatus\n");
  EXPECT_EQ(Result.Status, 2);
  EXPECT_EQ(Result.Output, "running\n0 0 0\n");
  EXPECT_EQ(Result.Errors, "line 3: unknown command 'bogus'\n");
}

TEST(SimScript, NumbersInRangeAreAccepted) {
  TRun Result = RunScript(
      "seed 4294967295\nseed 0\ndifficulty -1\ndeadline 0\nprogress 24 1 1 1\n"
      "update 0\nupdate -0.5e-3\nupdate +2.\nupdate .25\nupdate 1E+2\nupdate 1e39\n"
      "select -2147483648 2147483647\nhover -1\nhoverlicense 99\nstatus\n");
  EXPECT_EQ(Result.Status, 0) << Result.Errors;
  EXPECT_EQ(Result.Output, "running\n");
}

TEST(SimScript, LeadingZerosDoNotCountAgainstTheRange) {
  TRun Result = RunScript(
      "seed 000000000000004294967295\nprogress 000000000000024 1 1 1\n"
      "select -000000000000002147483648 0000000000002147483647\n"
      "setup 0000000000000000000001\nstage\nsetup -00000000000000000\nstage\n");
  EXPECT_EQ(Result.Status, 0) << Result.Errors;
  EXPECT_EQ(Result.Output, "0 0 20\n0 0 1\n");  // scenario 1 and its tutorial, then scenario 0
}

// Serves Text, then fails as a disk or a folder read as a file does.
class TFailingScript : public std::streambuf {
 public:
  explicit TFailingScript(std::string Text) : Text(std::move(Text)) {
    setg(this->Text.data(), this->Text.data(), this->Text.data() + this->Text.size());
  }

 protected:
  int_type underflow() override { throw std::ios_base::failure("read error"); }

 private:
  std::string Text;
};

TEST(SimScript, ScriptThatCannotBeReadToItsEndIsAnError) {
  TFailingScript Buffer("status\nstage\nsta");
  std::istream Input(&Buffer);
  std::ostringstream Output, Errors;
  EXPECT_EQ(RunSimScript(Input, Output, Errors), 2);
  EXPECT_EQ(Output.str(), "running\n0 0 0\n");
  EXPECT_EQ(Errors.str(), "line 3: cannot read the script\n");

  // A folder given as the script.
  TScratchFolder Scratch;
  std::ifstream Folder(Scratch.Path(), std::ios::binary);
  std::ostringstream FolderOutput, FolderErrors;
  EXPECT_EQ(RunSimScript(Folder, FolderOutput, FolderErrors), 2);
  EXPECT_EQ(FolderOutput.str(), "");
  EXPECT_EQ(FolderErrors.str(), "line 1: cannot read the script\n");
}

TEST(SimScript, FilesThatCannotBeReadOrWritten) {
  TScratchFolder Scratch;
  std::string Missing = Scratch.Path() + "/missing.rec";
  TRun Load = RunScript("load " + Missing + "\n");
  EXPECT_EQ(Load.Status, 2);
  EXPECT_EQ(Load.Errors, "line 1: cannot read " + Missing + "\n");

  TRun Language = RunScript("status\nlanguage " + Missing + "\n");
  EXPECT_EQ(Language.Status, 2);
  EXPECT_EQ(Language.Errors, "line 2: cannot read " + Missing + "\n");

  std::string Unwritable = Scratch.Path() + "/no/such/folder/state.rec";
  TRun Save = RunScript("save " + Unwritable + "\n");
  EXPECT_EQ(Save.Status, 2);
  EXPECT_EQ(Save.Errors.rfind("line 1: cannot write " + Unwritable, 0), 0u) << Save.Errors;
}

TEST(SimScript, TruncatedRecordIsRefusedAtEveryLength) {
  TScratchFolder Scratch;
  std::string Whole = Scratch.Path() + "/whole.rec";
  TRun Saved = RunScript("setup 7\nupdate 3\nsave " + Whole + "\n");
  ASSERT_EQ(Saved.Status, 0) << Saved.Errors;
  std::string Record = *ReadTextFile(Whole);
  ASSERT_GT(Record.size(), 100u);
  for (std::size_t Length :
       {std::size_t{0}, std::size_t{1}, std::size_t{50}, Record.size() / 2, Record.size() - 1}) {
    SCOPED_TRACE(Length);
    std::string Cut = Scratch.Path() + "/cut.rec";
    WriteTextFile(Cut, Record.substr(0, Length));
    TRun Result = RunScript("status\nload " + Cut + "\nstatus\n");
    EXPECT_EQ(Result.Status, 2);
    EXPECT_EQ(Result.Output, "running\n");
    EXPECT_EQ(Result.Errors.rfind("line 2: " + Cut + ": ", 0), 0u) << Result.Errors;
  }
  TRun Again = RunScript("load " + Whole + "\nstate\n");
  TRun Direct = RunScript("setup 7\nupdate 3\nstate\n");
  EXPECT_EQ(Again.Status, 0) << Again.Errors;
  EXPECT_EQ(Again.Output, Direct.Output);
}

}  // namespace

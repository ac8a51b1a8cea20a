// TimerTests.cpp -- tests of the timeline phases: their timings, end actions, looping, removal by
// name and owner, phases added or removed by callbacks, and allocation-free updates.
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "AllocationCounter.h"
#include "EngineTimer.h"

namespace {

// Owners: only their addresses matter.
const int FormA = 0;
const int FormB = 0;
const int FormC = 0;

// A timer and a frame counter: Frame is 0 while phases are added and n during the n-th Update.
class TimerTest : public ::testing::Test {
 protected:
  TTimer Timeline;
  int Frame = 0;
  // The phase count after each frame run.
  std::vector<int> CountsAfterFrames;

  void RunFrames(int Frames, float FrameTime) {
    for (int I = 0; I < Frames; ++I) {
      ++Frame;
      Timeline.Update(FrameTime);
      CountsAfterFrames.push_back(Timeline.Count());
    }
  }
  // A call phase that records the frames it fires in.
  TPhase* AddCall(const void* Owner, const std::string& Name, float Duration, bool Loop,
                  std::vector<int>& Fired) {
    return Timeline.Add(std::make_unique<TPhaseCall>(Owner, Loop, Name, Duration,
                                                     [this, &Fired] { Fired.push_back(Frame); }));
  }
  // A lerp phase that records every value it reports.
  TPhase* AddLerp(const void* Owner, float Duration, float From, float To,
                  std::vector<float>& Values) {
    return Timeline.Add(std::make_unique<TPhaseLerpSingle>(
        Owner, false, "Fade", Duration, From, To, [&Values](float V) { Values.push_back(V); }));
  }
};

TEST_F(TimerTest, LerpReportsFromAtAddThenEveryFrameAndToAtTheEnd) {
  std::vector<float> Values;
  TPhase* Fade = AddLerp(&FormA, 0.5f, 0.0f, 1.0f, Values);
  ASSERT_NE(Fade, nullptr);
  EXPECT_EQ(Values, std::vector<float>{0.0f});
  EXPECT_EQ(Fade->State(), TPhaseState::Running);
  RunFrames(4, 0.125f);
  EXPECT_EQ(Values, (std::vector<float>{0.0f, 0.25f, 0.5f, 0.75f, 1.0f}));
  EXPECT_EQ(Fade->State(), TPhaseState::Finished);
  EXPECT_EQ(Fade->Progress(), 1.0f);
  RunFrames(2, 0.125f);
  EXPECT_EQ(CountsAfterFrames, (std::vector<int>{1, 1, 1, 1, 0, 0}));
  EXPECT_EQ(Values.size(), 5u);
}

TEST_F(TimerTest, LerpGivesExactlyToWhenTheFormulaWouldMissIt) {
  // From + (To - From) * 1 is 0 here in float arithmetic.
  std::vector<float> Values;
  AddLerp(&FormA, 0.5f, 1e8f, 1.0f, Values);
  RunFrames(1, 1.0f);
  EXPECT_EQ(Values, (std::vector<float>{1e8f, 1.0f}));
}

TEST_F(TimerTest, EndActionFiresInTheExpectedFrames) {
  struct Case {
    const char* Title;
    float Duration;
    float FrameTime;
    bool Loop;
    bool Kept;                // Add keeps the phase
    std::vector<int> Fired;   // frame numbers; 0 is during Add
    std::vector<int> Counts;  // phases held after each frame
  };
  const Case Cases[] = {
      {"0.3 s at 0.2 s frames", 0.3f, 0.2f, false, true, {2}, {1, 1, 0, 0}},
      {"frame longer than the phase", 0.5f, 2.0f, false, true, {1}, {1, 0, 0}},
      {"looping 1 s at 0.25 s frames",
       1.0f,
       0.25f,
       true,
       true,
       {4, 9, 14},
       std::vector<int>(15, 1)},
      {"looping with long frames", 0.5f, 1.0f, true, true, {1, 3, 5}, {1, 1, 1, 1, 1}},
      {"0 s fires inside Add and is freed", 0.0f, 0.25f, false, false, {0}, {0, 0}},
      {"negative counts as 0", -1.0f, 0.25f, false, false, {0}, {0, 0}},
      {"looping 0 s fires every frame", 0.0f, 0.25f, true, true, {0, 1, 2, 3}, {1, 1, 1}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Title);
    Timeline.RemoveOwner(&FormA);  // the previous case's phase
    Frame = 0;
    CountsAfterFrames.clear();
    std::vector<int> Fired;
    TPhase* Added = AddCall(&FormA, "", C.Duration, C.Loop, Fired);
    EXPECT_EQ(Added != nullptr, C.Kept);
    RunFrames(static_cast<int>(C.Counts.size()), C.FrameTime);
    EXPECT_EQ(Fired, C.Fired);
    EXPECT_EQ(CountsAfterFrames, C.Counts);
  }
}

TEST_F(TimerTest, EachKindPassesItsValueWhenItEnds) {
  std::vector<std::string> Log;
  auto Note = [this, &Log](const std::string& What) {
    Log.push_back(std::to_string(Frame) + " " + What);
  };
  Timeline.Add(std::make_unique<TPhaseSetBoolean>(&FormA, false, "Shown", 0.5f, true,
                                                  [&](bool V) { Note(V ? "true" : "false"); }));
  Timeline.Add(std::make_unique<TPhaseSetBoolean>(&FormA, false, "Hidden", 0.5f, false,
                                                  [&](bool V) { Note(V ? "true" : "false"); }));
  Timeline.Add(std::make_unique<TPhaseSetString>(&FormA, false, "HintDelay", 0.5f, "Hint",
                                                 [&](const std::string& V) { Note(V); }));
  Timeline.Add(std::make_unique<TPhaseCall>(&FormA, false, "Close", 0.5f, [&] { Note("call"); }));
  RunFrames(1, 0.25f);
  EXPECT_TRUE(Log.empty());
  RunFrames(2, 0.25f);
  EXPECT_EQ(Log, (std::vector<std::string>{"2 true", "2 false", "2 Hint", "2 call"}));
}

// Records every hook with the state and progress it sees.
class TRecordingPhase : public TPhase {
 public:
  TRecordingPhase(bool Loop, float Duration, std::vector<std::string>& Log)
      : TPhase(&FormA, Loop, "", Duration), Hooks(Log) {}

 protected:
  void OnStart() override { Note("Start"); }
  void OnEnd() override { Note("End"); }
  void OnUpdate() override { Note("Update"); }

 private:
  std::vector<std::string>& Hooks;
  void Note(const char* Hook) {
    static const char* const States[] = {"waiting", "running", "finished"};
    Hooks.push_back(std::string(Hook) + " " + States[static_cast<int>(State())] + " " +
                    std::to_string(Progress()).substr(0, 4));
  }
};

TEST_F(TimerTest, HooksRunInOrderWithStateAndProgress) {
  struct Case {
    bool Loop;
    float Duration;
    std::vector<std::string> Expected;  // ends with the hooks of the third frame
  };
  const Case Cases[] = {
      {false,
       0.5f,
       {"Start waiting 0.00", "Update running 0.00", "Update running 0.50", "Update running 1.00",
        "End finished 1.00"}},
      {true,
       0.5f,
       {"Start waiting 0.00", "Update running 0.00", "Update running 0.50", "Update running 1.00",
        "End finished 1.00", "Start waiting 0.00", "Update running 0.00"}},
      {true,
       0.0f,
       {"Start waiting 0.00", "Update running 1.00", "End finished 1.00", "Start waiting 0.00",
        "Update running 1.00", "End finished 1.00", "Start waiting 0.00", "Update running 1.00",
        "End finished 1.00", "Start waiting 0.00", "Update running 1.00", "End finished 1.00"}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(testing::Message() << "Loop " << C.Loop << ", duration " << C.Duration);
    TTimer Own;
    std::vector<std::string> Log;
    Own.Add(std::make_unique<TRecordingPhase>(C.Loop, C.Duration, Log));
    for (int I = 0; I < 3; ++I)
      Own.Update(0.25f);
    EXPECT_EQ(Log, C.Expected);
  }
}

TEST_F(TimerTest, RemoveNamedRemovesOnlyTheFirstMatch) {
  struct Case {
    const void* Owner;
    const char* Name;
    std::vector<int> Fired;  // indexes of the phases below whose action still runs
  };
  const Case Cases[] = {
      {&FormA, "HintDelay", {1, 2, 3}},    {&FormB, "HintDelay", {0, 2, 3}},
      {&FormA, "Fade", {0, 1, 3}},         {&FormA, "hintdelay", {0, 1, 2, 3}},
      {&FormC, "HintDelay", {0, 1, 2, 3}}, {&FormA, "", {0, 1, 2, 3}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Name);
    TTimer Own;
    std::vector<int> Fired;
    const std::pair<const void*, const char*> Phases[] = {
        {&FormA, "HintDelay"}, {&FormB, "HintDelay"}, {&FormA, "Fade"}, {&FormA, "HintDelay"}};
    for (int I = 0; I < 4; ++I)
      Own.Add(std::make_unique<TPhaseCall>(Phases[I].first, false, Phases[I].second, 0.5f,
                                           [&Fired, I] { Fired.push_back(I); }));
    Own.RemoveNamed(C.Owner, C.Name);
    EXPECT_EQ(Own.Count(), static_cast<int>(C.Fired.size()));
    for (int I = 0; I < 3; ++I)
      Own.Update(0.25f);
    EXPECT_EQ(Fired, C.Fired);
    EXPECT_EQ(Own.Count(), 0);
  }
}

TEST_F(TimerTest, RemoveOwnerStopsARunningLerpWithoutItsEndValue) {
  std::vector<float> A, B;
  AddLerp(&FormA, 1.0f, 0.0f, 1.0f, A);
  AddLerp(&FormB, 1.0f, 0.0f, 1.0f, B);
  std::vector<int> Fired;
  AddCall(&FormA, "Close", 1.0f, false, Fired);
  RunFrames(1, 0.25f);
  Timeline.RemoveOwner(&FormA);
  EXPECT_EQ(Timeline.Count(), 1);
  RunFrames(5, 0.25f);
  EXPECT_EQ(A, (std::vector<float>{0.0f, 0.25f}));
  EXPECT_TRUE(Fired.empty());
  EXPECT_EQ(B.back(), 1.0f);
}

TEST_F(TimerTest, PhaseAddedByACallbackIsTickedInTheSameUpdate) {
  std::vector<float> Values;
  Timeline.Add(std::make_unique<TPhaseCall>(&FormA, false, "Open", 0.1f,
                                            [&] { AddLerp(&FormA, 1.0f, 0.0f, 1.0f, Values); }));
  RunFrames(1, 0.25f);
  EXPECT_EQ(Values, (std::vector<float>{0.0f, 0.25f}));
  EXPECT_EQ(Timeline.Count(), 2);
}

// A callback that removes its own phase (a form closing itself removes its phases) must leave the
// walk intact: later phases still run in the same frame.
TEST_F(TimerTest, CallbackRemovingItsOwnPhase) {
  struct Case {
    const char* Title;
    bool ByName;
    bool Lerp;
  };
  const Case Cases[] = {
      {"end action, by owner", false, false},
      {"end action, by name", true, false},
      {"update, by owner", false, true},
      {"update, by name", true, true},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Title);
    TTimer Own;
    auto RemoveSelf = [&] {
      if (C.ByName)
        Own.RemoveNamed(&FormA, "Self");
      else
        Own.RemoveOwner(&FormA);
    };
    std::vector<float> Values;
    if (C.Lerp)
      Own.Add(
          std::make_unique<TPhaseLerpSingle>(&FormA, true, "Self", 1.0f, 0.0f, 1.0f, [&](float V) {
            Values.push_back(V);
            if (V >= 0.5f) RemoveSelf();
          }));
    else
      Own.Add(std::make_unique<TPhaseCall>(&FormA, true, "Self", 0.5f, [&] {
        Values.push_back(1.0f);
        RemoveSelf();
      }));
    std::vector<float> Later;
    Own.Add(std::make_unique<TPhaseLerpSingle>(&FormB, false, "", 2.0f, 0.0f, 1.0f,
                                               [&](float V) { Later.push_back(V); }));
    for (int I = 0; I < 4; ++I)
      Own.Update(0.25f);
    const std::vector<float> Expected =
        C.Lerp ? std::vector<float>{0.0f, 0.25f, 0.5f} : std::vector<float>{1.0f};
    EXPECT_EQ(Values, Expected);
    EXPECT_EQ(Later, (std::vector<float>{0.0f, 0.125f, 0.25f, 0.375f, 0.5f}));
    EXPECT_EQ(Own.Count(), 1);
  }
}

TEST_F(TimerTest, DestroyingTheTimerFreesPhasesWithoutTheirEndActions) {
  auto Own = std::make_unique<TTimer>();
  auto Token = std::make_shared<int>(0);
  int Calls = 0;
  Own->Add(std::make_unique<TPhaseCall>(&FormA, false, "", 1.0f, [Token, &Calls] { ++Calls; }));
  Own->Add(std::make_unique<TPhaseSetBoolean>(&FormA, true, "", 0.25f, true,
                                              [Token, &Calls](bool) { ++Calls; }));
  Own->Update(0.25f);
  EXPECT_EQ(Calls, 1);  // the looping boolean
  Own.reset();
  EXPECT_EQ(Calls, 1);
  EXPECT_EQ(Token.use_count(), 1) << "a phase (and its callable) was not freed";
}

TEST_F(TimerTest, DurationCutToZeroWhileRunningEndsThePhase) {
  std::vector<int> Fired;
  TPhase* Phase = AddCall(&FormA, "", 1.0f, false, Fired);
  RunFrames(1, 0.25f);
  Phase->Duration = 0.0f;
  RunFrames(1, 0.0f);
  EXPECT_EQ(Fired, std::vector<int>{2});
}

TEST_F(TimerTest, NothingAndEmptyCallablesAreHarmless) {
  EXPECT_EQ(Timeline.Add(nullptr), nullptr);
  EXPECT_EQ(Timeline.Add(std::make_unique<TPhaseCall>(&FormA, false, "", 0.0f, nullptr)), nullptr);
  Timeline.Add(std::make_unique<TPhaseLerpSingle>(&FormA, false, "", 0.5f, 0.0f, 1.0f, nullptr));
  Timeline.Add(std::make_unique<TPhaseSetString>(&FormA, false, "", 0.5f, "x", nullptr));
  Timeline.Add(std::make_unique<TPhaseSetBoolean>(&FormA, false, "", 0.5f, true, nullptr));
  RunFrames(3, 0.25f);
  EXPECT_EQ(Timeline.Count(), 0);
}

TEST_F(TimerTest, UpdatesAllocateNothing) {
  const std::size_t Probe = AllocationCount();
  void* volatile Probed = ::operator new(1);  // volatile: not optimised away
  ::operator delete(Probed);
  const std::size_t Counted = AllocationCount() - Probe;
  ASSERT_EQ(Counted, 1u) << "the allocation counter is not in use";

  float Opacity = 0.0f;
  bool Shown = false;
  std::string Hint;
  int Closes = 0;
  Timeline.Add(std::make_unique<TPhaseLerpSingle>(&FormA, true, "Fade", 0.5f, 0.0f, 1.0f,
                                                  [&Opacity](float V) { Opacity = V; }));
  Timeline.Add(std::make_unique<TPhaseSetBoolean>(&FormA, true, "Shown", 0.3f, true,
                                                  [&Shown](bool V) { Shown = V; }));
  Timeline.Add(std::make_unique<TPhaseSetString>(&FormA, true, "HintDelay", 0.2f, "A hint text",
                                                 [&Hint](const std::string& V) { Hint = V; }));
  Timeline.Add(std::make_unique<TPhaseCall>(&FormA, true, "Close", 0.1f,
                                            [&Closes, this] { Closes += Frame; }));
  RunFrames(10, 1.0f / 60.0f);
  CountsAfterFrames.reserve(2000);

  const std::size_t Before = AllocationCount();
  RunFrames(1000, 1.0f / 60.0f);
  EXPECT_EQ(AllocationCount() - Before, 0u);
  EXPECT_EQ(Hint, "A hint text");
  EXPECT_TRUE(Shown);
  EXPECT_GT(Closes, 0);
  EXPECT_GE(Opacity, 0.0f);
  EXPECT_LE(Opacity, 1.0f);
}

}  // namespace

// EngineTimer.cpp -- timeline phases and the timer that runs them.
#include "EngineTimer.h"

#include <utility>

std::unique_ptr<TTimer> Timer;

// ---- Phases ----

TPhase::TPhase(const void* PhaseOwner, bool PhaseLoop, std::string PhaseName, float PhaseDuration)
    : Owner(PhaseOwner), Duration(PhaseDuration), Loop(PhaseLoop) {
  Name = std::move(PhaseName);
}

TPhase::~TPhase() {
  if (FreedFlag) *FreedFlag = true;
}

void TPhase::OnRemove(TContainer&) {
  Finish(false);
}

// A callback may close the form that owns this phase, and the form removes its phases, this one
// included: the flag tells the caller not to touch the freed phase afterwards.
bool TPhase::Run(void (TPhase::*Callback)()) {
  bool Freed = false;
  bool* Outer = FreedFlag;
  FreedFlag = &Freed;
  (this->*Callback)();
  if (Freed) {
    if (Outer) *Outer = true;
    return false;
  }
  FreedFlag = Outer;
  return true;
}

bool TPhase::TryStart() {
  if (CurrentState != TPhaseState::Waiting) return true;
  CurrentProgress = 0.0f;
  if (!Run(&TPhase::OnStart)) return false;
  CurrentState = TPhaseState::Running;
  return Duration > 0.0f ? Run(&TPhase::OnUpdate) : Finish(true);
}

bool TPhase::Finish(bool WithEndAction) {
  if (CurrentState != TPhaseState::Running) return true;
  CurrentProgress = 1.0f;
  if (WithEndAction && !Run(&TPhase::OnUpdate)) return false;
  CurrentState = TPhaseState::Finished;
  return !WithEndAction || Run(&TPhase::OnEnd);
}

void TPhase::Tick(float FrameTime) {
  switch (CurrentState) {
    case TPhaseState::Running:
      // A duration cut to 0 or less while running ends the phase rather than dividing by it.
      if (Duration > 0.0f) CurrentProgress += FrameTime / Duration;
      if (Duration <= 0.0f || CurrentProgress >= 1.0f)
        Finish(true);
      else
        Run(&TPhase::OnUpdate);
      return;
    case TPhaseState::Finished:
      if (!Loop) {
        Remove();  // frees the phase
        return;
      }
      CurrentState = TPhaseState::Waiting;  // the overshoot beyond 1 is dropped
      [[fallthrough]];
    case TPhaseState::Waiting:
      TryStart();
      return;
  }
}

// ---- Kinds ----

TPhaseCall::TPhaseCall(const void* Owner, bool Loop, std::string Name, float Duration,
                       TPhaseMethod PhaseMethod)
    : TPhase(Owner, Loop, std::move(Name), Duration), Method(std::move(PhaseMethod)) {}

void TPhaseCall::OnEnd() {
  if (Method) Method();
}

TPhaseSetBoolean::TPhaseSetBoolean(const void* Owner, bool Loop, std::string Name, float Duration,
                                   bool PhaseValue, TBooleanSetter PhaseSetter)
    : TPhase(Owner, Loop, std::move(Name), Duration),
      Value(PhaseValue),
      Setter(std::move(PhaseSetter)) {}

void TPhaseSetBoolean::OnEnd() {
  if (Setter) Setter(Value);
}

TPhaseSetString::TPhaseSetString(const void* Owner, bool Loop, std::string Name, float Duration,
                                 std::string PhaseValue, TStringSetter PhaseSetter)
    : TPhase(Owner, Loop, std::move(Name), Duration),
      Value(std::move(PhaseValue)),
      Setter(std::move(PhaseSetter)) {}

void TPhaseSetString::OnEnd() {
  if (Setter) Setter(Value);
}

TPhaseLerpSingle::TPhaseLerpSingle(const void* Owner, bool Loop, std::string Name, float Duration,
                                   float PhaseFrom, float PhaseTo, TSingleSetter PhaseSetter)
    : TPhase(Owner, Loop, std::move(Name), Duration),
      From(PhaseFrom),
      To(PhaseTo),
      Setter(std::move(PhaseSetter)) {}

void TPhaseLerpSingle::OnUpdate() {
  if (!Setter) return;
  // The end value is given as it is: From + (To - From) * 1 can miss To by a rounding step.
  Setter(Progress() >= 1.0f ? To : From + (To - From) * Progress());
}

// ---- Timer ----

TPhase* TTimer::Add(std::unique_ptr<TPhase> Phase) {
  if (!Phase) return nullptr;
  // Not linked yet, so no callback can remove (and free) it while it starts.
  Phase->TryStart();
  if (Phase->State() == TPhaseState::Finished && !Phase->Loop) return nullptr;
  return Phases.Insert(std::move(Phase), nullptr, TInsertMode::Back);
}

void TTimer::RemoveNamed(const void* Owner, std::string_view Name) {
  for (TContainerWalker Walker(Phases); Walker.HasCurrent(); Walker.MoveNext()) {
    TPhase* Phase = Walker.CurrentAs<TPhase>();
    if (Phase && Phase->Owner == Owner && Phase->Name == Name) {
      Phase->Remove();
      return;
    }
  }
}

void TTimer::RemoveOwner(const void* Owner) {
  for (TContainerWalker Walker(Phases); Walker.HasCurrent(); Walker.MoveNext()) {
    TPhase* Phase = Walker.CurrentAs<TPhase>();
    if (Phase && Phase->Owner == Owner) Phase->Remove();
  }
}

void TTimer::Update(float FrameTime) {
  for (TContainerWalker Walker(Phases); Walker.HasCurrent(); Walker.MoveNext())
    if (TPhase* Phase = Walker.CurrentAs<TPhase>()) Phase->Tick(FrameTime);
}

// EngineTimer.h -- timeline phases: timed actions that report their progress each frame and may
// call an action when they end (fades, delayed flags and hints, closing a form after its fade).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "EngineClasses.h"

// What a phase calls. A lambda that captures no more than two pointers (for example
// [Form](float V) { Form->SetOpacity(V); }) is stored without allocating; larger captures may
// allocate once, when the phase is made. An empty callable does nothing.
using TPhaseMethod = std::function<void()>;
using TBooleanSetter = std::function<void(bool)>;
using TStringSetter = std::function<void(const std::string&)>;
using TSingleSetter = std::function<void(float)>;

// Where a phase is in its run.
enum class TPhaseState : std::uint8_t {
  Waiting = 0,   // made, or about to restart after a loop
  Running = 1,   // Progress advances with the frame time
  Finished = 2,  // ran to its end (or was removed); a looping phase restarts next frame
};

// A timed action held by the timer. The timer owns it from Add on and frees it when it ends, when
// it is removed, or when the timer is destroyed.
class TPhase : public TContainerItem {
 public:
  // A waiting phase with Progress 0. Owner only identifies the phase for RemoveOwner/RemoveNamed.
  TPhase(const void* Owner, bool Loop, std::string Name, float Duration);
  ~TPhase() override;

  const void* Owner;  // the form, dialog or control the phase belongs to
  float Duration;     // seconds of frame time; 0 or less ends the phase as soon as it starts
  bool Loop;          // restart one frame after finishing instead of being removed

  // Waiting, running or finished.
  TPhaseState State() const { return CurrentState; }
  // 0 at the start, 1 when finished.
  float Progress() const { return CurrentProgress; }

  // A phase leaving the timer for any reason finishes without its end action.
  void OnRemove(TContainer& From) override;

 protected:
  // Called when the phase starts (again, when looping).
  virtual void OnStart() {}
  // Called when the phase finishes normally, after the last OnUpdate.
  virtual void OnEnd() {}
  // Called after every change of Progress while running, and with Progress 1 on finishing.
  virtual void OnUpdate() {}

 private:
  friend class TTimer;
  // The steps below return false when a callback freed the phase (it removed its own phase
  // through the timer); the caller must not touch it then.
  bool Run(void (TPhase::*Callback)());
  bool TryStart();
  bool Finish(bool WithEndAction);
  void Tick(float FrameTime);

  TPhaseState CurrentState = TPhaseState::Waiting;
  float CurrentProgress = 0.0f;
  bool* FreedFlag = nullptr;  // set by the destructor while a callback runs
};

// Calls Method when it ends.
class TPhaseCall : public TPhase {
 public:
  TPhaseCall(const void* Owner, bool Loop, std::string Name, float Duration, TPhaseMethod Method);
  TPhaseMethod Method;

 protected:
  void OnEnd() override;
};

// Passes Value to Setter when it ends.
class TPhaseSetBoolean : public TPhase {
 public:
  TPhaseSetBoolean(const void* Owner, bool Loop, std::string Name, float Duration, bool Value,
                   TBooleanSetter Setter);
  bool Value;
  TBooleanSetter Setter;

 protected:
  void OnEnd() override;
};

// Passes Value to Setter when it ends.
class TPhaseSetString : public TPhase {
 public:
  TPhaseSetString(const void* Owner, bool Loop, std::string Name, float Duration, std::string Value,
                  TStringSetter Setter);
  std::string Value;
  TStringSetter Setter;

 protected:
  void OnEnd() override;
};

// Passes From + (To - From) * Progress to Setter on every update: exactly From when it starts and
// exactly To when it finishes.
class TPhaseLerpSingle : public TPhase {
 public:
  TPhaseLerpSingle(const void* Owner, bool Loop, std::string Name, float Duration, float From,
                   float To, TSingleSetter Setter);
  float From;
  float To;
  TSingleSetter Setter;

 protected:
  void OnUpdate() override;
};

// All running phases, in the order they were added.
class TTimer {
 public:
  // Starts Phase at once and appends it. Returns it; nullptr for a null phase and for one that
  // finished while starting and does not loop (it is freed then, its action having run).
  TPhase* Add(std::unique_ptr<TPhase> Phase);
  // Removes the first phase (in order) with this owner and exactly this name, if any.
  void RemoveNamed(const void* Owner, std::string_view Name);
  // Removes every phase of this owner; an owner calls it before it is destroyed.
  void RemoveOwner(const void* Owner);
  // Advances every phase by FrameTime seconds, in order; phases added meanwhile (by a callback)
  // are advanced in the same call. A finished phase that does not loop is freed one call later.
  void Update(float FrameTime);
  // Number of phases held.
  int Count() const { return Phases.Count(); }

 private:
  TContainer Phases;
};

// The game's timer: created by the shell after the input service, destroyed before it.
extern std::unique_ptr<TTimer> Timer;

#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "btnfile/button_def.h"
#include "input/held_keys.h"
#include "platform/clock.h"
#include "platform/shell.h"

namespace keyvane::input {

// A held button that repeats its keys as a key of a real keyboard does: its chord's downs when
// it goes down; from its delay on, its last key's down again at its rate, each time the shell
// calls back (a clock of its own: the 100 ms tick is too coarse, and the loop never waits); the
// ups once, when it ends. The keys are HeldKeys', so every way of ending lets them up.
class KeyRepeat {
 public:
  // What the repeat stands on: whatever moves it off ends it.
  struct Origin {
    int slot = 0;
    const btnfile::ButtonDef* def = nullptr;  // a KEY definition with its repeat timing
    std::string page;                         // the map shown when it went down
  };

  KeyRepeat(HeldKeys& held, platform::Shell& shell, platform::Clock& clock)
      : held_(held), shell_(shell), clock_(clock) {}

  // The chord's downs now; the shell is asked to call back when the first repeat is due.
  void Start(Origin origin);
  // The shell's call back: the repeats due by now, a few at most after a stall of the loop, and
  // the next call back. A call back that comes after the end finds nothing to do.
  void OnDue();
  // The ups; false when none was running.
  bool Stop();

  bool running() const { return origin_.has_value(); }
  const Origin* origin() const { return origin_ ? &*origin_ : nullptr; }

 private:
  void AskForNext(std::uint32_t elapsed);

  HeldKeys& held_;
  platform::Shell& shell_;
  platform::Clock& clock_;
  std::optional<Origin> origin_;
  std::uint32_t since_ = 0;        // tick count of the press
  std::uint64_t repeatsDone_ = 0;  // repeats due so far, sent or skipped after a stall
};

}  // namespace keyvane::input

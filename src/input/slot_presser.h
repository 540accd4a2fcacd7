#pragma once

#include <optional>

#include "btnfile/button_def.h"
#include "input/held_keys.h"
#include "input/key_repeat.h"
#include "input/map_switcher.h"
#include "input/panels_tab.h"
#include "platform/clock.h"
#include "platform/input.h"
#include "platform/shell.h"
#include "trace/trace_log.h"

namespace keyvane::input {

enum class SendMode {
  Press = 0,    // every code goes down, in written order
  Release = 1,  // every code comes up, in reverse order
  Repeat = 2,   // the last code goes down again, as a key held on a keyboard repeats
};

// The one place synthetic input is made: one event and one trace line per code.
void SendKeyEvent(const btnfile::KeySequence& keys, SendMode mode, platform::Input& input, trace::TraceLog& log);

// What a panel button does when pressed.
class SlotPresser {
 public:
  SlotPresser(MapSwitcher& switcher, HeldKeys& held, PanelsTab& tab, platform::Shell& shell, platform::Input& input,
              platform::Clock& clock, trace::TraceLog& log)
      : switcher_(switcher),
        held_(held),
        tab_(tab),
        shell_(shell),
        input_(input),
        clock_(clock),
        log_(log),
        repeat_(held, shell, clock) {}

  // Runs the definition bound to the slot: JP, KEY, BASE, REKEY, KEYTOG, MENUPOP, EXEC, MINIMAM
  // act, every other kind and an unbound slot do nothing. A chord still held, or repeating, is
  // released first.
  void PressSlot(int slot);

  // Whether the slot's button is a KEY button that repeats while held.
  bool Repeats(int slot) const;
  // The button goes down and starts repeating (Repeats must be true): its chord's downs now.
  void StartRepeat(int slot);
  // The shell's call back for the repeat: the repeats due by now.
  void RepeatDue() { repeat_.OnDue(); }
  // The repeating button is let go, or left: its ups, then the default map, as after every chord.
  void EndRepeat();
  // Something else moved the repeat off its button (a page switch, a new target, Keyvane's
  // end): its ups only.
  void StopRepeat() { repeat_.Stop(); }
  // Ends a repeat whose button no longer shows its definition on its page (its ups only) or is
  // no longer under the cursor (as a release). Nothing when none runs.
  void FollowRepeat(std::optional<int> slotUnderCursor);
  bool repeating() const { return repeat_.running(); }

  // The hold of a chord is over (or must end now): its ups, then the default map, as after
  // every chord. Nothing when no chord is held.
  void FinishHeldChord();

  // RememberedKeys becomes none: REKEY does nothing until the next KEY press.
  void ForgetRememberedKeys() { rememberedKeys_.reset(); }

  const std::optional<btnfile::KeySequence>& rememberedKeys() const { return rememberedKeys_; }

 private:
  // EXEC: starts the program; a failure is a balloon and a trace line.
  void StartProgramOf(const btnfile::ButtonDef& def);
  // Downs, the hold, ups, the default map; or the downs only while a longer hold runs.
  void SendChordAndShowDefault(const btnfile::KeySequence& keys, std::uint32_t hold);

  MapSwitcher& switcher_;
  HeldKeys& held_;
  PanelsTab& tab_;
  platform::Shell& shell_;
  platform::Input& input_;
  platform::Clock& clock_;
  trace::TraceLog& log_;
  std::optional<btnfile::KeySequence> rememberedKeys_;
  KeyRepeat repeat_;
};

}  // namespace keyvane::input

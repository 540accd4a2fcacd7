#pragma once

#include <optional>

#include "btnfile/button_def.h"
#include "input/map_switcher.h"
#include "platform/clock.h"
#include "platform/input.h"
#include "trace/trace_log.h"

namespace keyvane::input {

enum class SendMode {
  Press = 0,    // every code goes down, in written order
  Release = 1,  // every code comes up, in reverse order
};

// The one place synthetic input is made: one event and one trace line per code.
void SendKeyEvent(const btnfile::KeySequence& keys, SendMode mode, platform::Input& input, trace::TraceLog& log);

// What a panel button does when pressed.
class SlotPresser {
 public:
  SlotPresser(MapSwitcher& switcher, platform::Input& input, platform::Clock& clock, trace::TraceLog& log)
      : switcher_(switcher), input_(input), clock_(clock), log_(log) {}

  // Runs the definition bound to the slot: JP, KEY, BASE and REKEY act, every other kind
  // and an unbound slot do nothing.
  void PressSlot(int slot);

  // RememberedKeys becomes none: REKEY does nothing until the next KEY press.
  void ForgetRememberedKeys() { rememberedKeys_.reset(); }

  const std::optional<btnfile::KeySequence>& rememberedKeys() const { return rememberedKeys_; }

 private:
  void SendChord(const btnfile::KeySequence& keys);

  MapSwitcher& switcher_;
  platform::Input& input_;
  platform::Clock& clock_;
  trace::TraceLog& log_;
  std::optional<btnfile::KeySequence> rememberedKeys_;
};

}  // namespace keyvane::input

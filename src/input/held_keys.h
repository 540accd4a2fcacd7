#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "btnfile/button_def.h"
#include "platform/input.h"
#include "platform/shell.h"
#include "trace/trace_log.h"

namespace keyvane::input {

// The keys Keyvane keeps down between two messages: the chord of a press whose page holds keys
// longer than a moment, the chord of a button that repeats while held, and the keys of KEYTOG
// buttons. The chord's ups wait for the shell's call back, so the panels stay responsive; a
// repeating chord's for its button's release; a toggle's for its button's next press. Whatever
// ends a hold early sends the ups at once: a key is never left down.
class HeldKeys {
 public:
  HeldKeys(platform::Input& input, platform::Shell& shell, trace::TraceLog& log)
      : input_(input), shell_(shell), log_(log) {}
  HeldKeys(const HeldKeys&) = delete;
  HeldKeys& operator=(const HeldKeys&) = delete;

  // Sends the chord's downs; its ups follow at ReleaseChord, which the shell calls after `milliseconds`.
  // A chord still held is released first.
  void HoldChord(const btnfile::KeySequence& keys, std::uint32_t milliseconds);
  // Sends the held chord's ups; false when no chord was held.
  bool ReleaseChord();

  bool chordHeld() const { return chord_.has_value(); }
  bool anyHeld() const { return chord_.has_value() || repeating_.has_value() || !toggles_.empty(); }

  // A repeating button's chord: the downs now, the last key's down again at each RepeatLastKey,
  // the ups at ReleaseRepeating (false when none was held).
  void HoldRepeating(const btnfile::KeySequence& keys);
  void RepeatLastKey();
  bool ReleaseRepeating();

  // KEYTOG: keys that are not held go down and stay down; the same keys held come up, in
  // reverse order. True when they are held now.
  bool Toggle(const btnfile::KeySequence& keys);
  bool IsToggledDown(const btnfile::KeySequence& keys) const;
  // Every toggle's keys come up, the last held first.
  void ReleaseToggles();

 private:
  // A chord kept down: the one it replaces comes up first.
  void Hold(std::optional<btnfile::KeySequence>& held, const btnfile::KeySequence& keys);
  // The ups of a chord kept down, if any; false when none was.
  bool Release(std::optional<btnfile::KeySequence>& held);

  platform::Input& input_;
  platform::Shell& shell_;
  trace::TraceLog& log_;
  std::optional<btnfile::KeySequence> chord_;
  std::optional<btnfile::KeySequence> repeating_;
  std::vector<btnfile::KeySequence> toggles_;  // in the order they went down
};

}  // namespace keyvane::input

#pragma once

#include <cstdint>
#include <optional>

#include "btnfile/button_def.h"
#include "platform/input.h"
#include "platform/shell.h"
#include "trace/trace_log.h"

namespace keyvane::input {

// The keys Keyvane keeps down between two messages: the chord of a press whose page holds keys
// longer than a moment. Its ups wait for the shell's call back, so the panels stay responsive;
// whatever ends the hold early sends them at once, and a key is never left down.
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

 private:
  platform::Input& input_;
  platform::Shell& shell_;
  trace::TraceLog& log_;
  std::optional<btnfile::KeySequence> chord_;
};

}  // namespace keyvane::input

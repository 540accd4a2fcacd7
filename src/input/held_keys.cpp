#include "input/held_keys.h"

#include "input/slot_presser.h"

namespace keyvane::input {

void HeldKeys::HoldChord(const btnfile::KeySequence& keys, std::uint32_t milliseconds) {
  ReleaseChord();
  SendKeyEvent(keys, SendMode::Press, input_, log_);
  chord_ = keys;
  shell_.CallBackToReleaseKeys(milliseconds);
}

bool HeldKeys::ReleaseChord() {
  if (!chord_) return false;
  // Cleared first: a failure while sending must not send the ups a second time.
  const btnfile::KeySequence keys = *chord_;
  chord_.reset();
  SendKeyEvent(keys, SendMode::Release, input_, log_);
  return true;
}

}  // namespace keyvane::input

#include "input/held_keys.h"

#include <algorithm>

#include "input/slot_presser.h"

namespace keyvane::input {

void HeldKeys::HoldChord(const btnfile::KeySequence& keys, std::uint32_t milliseconds) {
  Hold(chord_, keys);
  shell_.CallBackToReleaseKeys(milliseconds);
}

void HeldKeys::Hold(std::optional<btnfile::KeySequence>& held, const btnfile::KeySequence& keys) {
  Release(held);
  SendKeyEvent(keys, SendMode::Press, input_, log_);
  held = keys;
}

bool HeldKeys::Release(std::optional<btnfile::KeySequence>& held) {
  if (!held) return false;
  // Cleared first: a failure while sending must not send the ups a second time.
  const btnfile::KeySequence keys = *held;
  held.reset();
  SendKeyEvent(keys, SendMode::Release, input_, log_);
  return true;
}

bool HeldKeys::ReleaseChord() { return Release(chord_); }

void HeldKeys::HoldRepeating(const btnfile::KeySequence& keys) { Hold(repeating_, keys); }

void HeldKeys::RepeatLastKey() {
  if (repeating_) SendKeyEvent(*repeating_, SendMode::Repeat, input_, log_);
}

bool HeldKeys::ReleaseRepeating() { return Release(repeating_); }

bool HeldKeys::Toggle(const btnfile::KeySequence& keys) {
  const auto held = std::find(toggles_.begin(), toggles_.end(), keys);
  if (held != toggles_.end()) {
    toggles_.erase(held);
    SendKeyEvent(keys, SendMode::Release, input_, log_);
    return false;
  }
  SendKeyEvent(keys, SendMode::Press, input_, log_);
  toggles_.push_back(keys);
  return true;
}

bool HeldKeys::IsToggledDown(const btnfile::KeySequence& keys) const {
  return std::find(toggles_.begin(), toggles_.end(), keys) != toggles_.end();
}

void HeldKeys::ReleaseToggles() {
  while (!toggles_.empty()) {
    const btnfile::KeySequence keys = toggles_.back();
    toggles_.pop_back();
    SendKeyEvent(keys, SendMode::Release, input_, log_);
  }
}

}  // namespace keyvane::input

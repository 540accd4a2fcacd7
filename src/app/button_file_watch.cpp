#include "app/button_file_watch.h"

namespace keyvane::app {

void ButtonFileWatch::Loaded(std::optional<platform::FileStamp> stamp, std::uint32_t now) {
  loaded_ = stamp;
  changed_.reset();
  lastLook_ = now;
  wait_ = kLookIntervalMs;
}

// Unsigned differences stay right across the tick count's wrap.
bool ButtonFileWatch::Due(std::uint32_t now) const { return now - lastLook_ >= wait_; }

bool ButtonFileWatch::Look(std::optional<platform::FileStamp> stamp, std::uint32_t now) {
  lastLook_ = now;
  // Gone (an editor may delete before it renames), or back as it was: nothing to read.
  if (!stamp || stamp == loaded_) {
    changed_.reset();
    wait_ = kLookIntervalMs;
    return false;
  }
  if (stamp != changed_) {
    changed_ = stamp;
    changedSince_ = now;
    wait_ = kSettleMs;
    return false;
  }
  const std::uint32_t settled = now - changedSince_;
  if (settled >= kSettleMs) return true;
  wait_ = kSettleMs - settled;
  return false;
}

}  // namespace keyvane::app

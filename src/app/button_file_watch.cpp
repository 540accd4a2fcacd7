#include "app/button_file_watch.h"

#include "btnfile/special_names.h"

namespace keyvane::app {

std::string ButtonFileNotice(LoadOutcome outcome, const std::vector<btnfile::Diagnostic>& problems) {
  const std::string file(btnfile::kButtonFileName);
  switch (outcome) {
    case LoadOutcome::Unreadable: return file + " cannot be read: every button is blank.";
    case LoadOutcome::UnreadableKept: return file + " cannot be read: the buttons stay as they were.";
    case LoadOutcome::NoMapKept: return file + " has no map (a line starting with #): the buttons stay as they were.";
    case LoadOutcome::Read: break;
  }
  if (problems.empty()) return {};
  const btnfile::Diagnostic& first = problems.front();
  std::string text =
      file + ": " + std::to_string(problems.size()) + (problems.size() == 1 ? " problem. " : " problems. ");
  if (first.line > 0) text += "Line " + std::to_string(first.line) + ": ";
  return text + first.message;
}

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

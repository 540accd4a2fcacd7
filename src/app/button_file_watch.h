#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "btnfile/diagnostics.h"
#include "platform/files.h"

namespace keyvane::app {

// How a reading of the button file ended.
enum class LoadOutcome {
  Read,            // read and in use
  Unreadable,      // at start-up: nothing read, every button blank
  UnreadableKept,  // a reload that could not read the file: the buttons in use stay
  NoMapKept,       // a reload of a file without any map: the buttons in use stay
};

// The balloon text that tells the user about a reading (code page 932 bytes); empty when
// there is nothing to tell. Problems are counted, and the first one is quoted with its line.
std::string ButtonFileNotice(LoadOutcome outcome, const std::vector<btnfile::Diagnostic>& problems);

// When a changed button file may be read again. An editor writes a file in several steps, so
// a change is acted on only once the size and write time have stayed the same for a while;
// a half-written file is never read. Driven by the 100 ms tick and the tick count.
class ButtonFileWatch {
 public:
  static constexpr std::uint32_t kLookIntervalMs = 1000;  // looks while nothing changes
  static constexpr std::uint32_t kSettleMs = 500;         // how long a change must stay as it is

  // The file was just read (or found unreadable) as it stood at `stamp`; looks start over.
  void Loaded(std::optional<platform::FileStamp> stamp, std::uint32_t now);
  // Whether the file should be looked at on this tick.
  bool Due(std::uint32_t now) const;
  // What a look found (none: missing or unexaminable); true when it should be read again now.
  bool Look(std::optional<platform::FileStamp> stamp, std::uint32_t now);

 private:
  std::optional<platform::FileStamp> loaded_;
  std::optional<platform::FileStamp> changed_;  // a stamp unlike the loaded one, being watched
  std::uint32_t changedSince_ = 0;
  std::uint32_t lastLook_ = 0;
  std::uint32_t wait_ = kLookIntervalMs;
};

}  // namespace keyvane::app

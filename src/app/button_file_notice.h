#pragma once

#include <string>
#include <vector>

#include "btnfile/diagnostics.h"

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

}  // namespace keyvane::app

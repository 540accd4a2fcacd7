#pragma once

#include <string>
#include <vector>

#include "btnfile/diagnostics.h"
#include "btnfile/loader.h"

namespace keyvane::checker {

// What one check of a button file found: the load as the keyboard does it, its findings told
// in English, and the trace the load wrote. Every report is made from it.
struct CheckResult {
  btnfile::LoadedButtons loaded;
  std::vector<btnfile::Diagnostic> diagnostics;
  std::string trace;      // the bytes the keyboard writes to its trace file while loading
  std::string fileBytes;  // the button file as read: the preview's engine loads it again
};

}  // namespace keyvane::checker

#pragma once

#include <string>
#include <vector>

#include "btnfile/diagnostics.h"
#include "btnfile/loader.h"
#include "platform/files.h"

namespace keyvane::checker {

struct CheckResult {
  btnfile::LoadedButtons loaded;
  std::vector<btnfile::Diagnostic> diagnostics;
  std::string trace;  // the bytes the keyboard writes to its trace file while loading
};

// Loads the file exactly as the keyboard does and finds its diagnostics.
CheckResult CheckButtonFile(platform::Files& files, const std::string& path);

}  // namespace keyvane::checker

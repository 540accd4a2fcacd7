#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "checker/check_result.h"
#include "platform/files.h"

// keyvane-check: loads a button file exactly as the keyboard does and reports how the keyboard
// understands it (checker/plain_report.h, checker/json_report.h, checker/html_preview.h).
namespace keyvane::checker {

// Loads the file exactly as the keyboard does and tells its findings; no trace file is touched.
CheckResult CheckButtonFile(platform::Files& files, const std::string& path);

inline constexpr int kExitClean = 0;
inline constexpr int kExitDiagnostics = 1;
inline constexpr int kExitError = 2;

// The whole command: `args` are the arguments after the program name. Returns the exit status.
int RunChecker(const std::vector<std::string>& args, platform::Files& files, std::ostream& out, std::ostream& err);

}  // namespace keyvane::checker

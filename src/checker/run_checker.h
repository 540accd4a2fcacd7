#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "platform/files.h"

namespace keyvane::checker {

inline constexpr int kExitClean = 0;
inline constexpr int kExitDiagnostics = 1;
inline constexpr int kExitError = 2;

// The whole command: `args` are the arguments after the program name. Returns the exit status.
int RunChecker(const std::vector<std::string>& args, platform::Files& files, std::ostream& out, std::ostream& err);

}  // namespace keyvane::checker

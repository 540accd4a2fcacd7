#pragma once

#include <string>
#include <string_view>

#include "checker/check_button_file.h"

namespace keyvane::checker {

// The report for a person, in UTF-8: every map laid out as the two panels show it, then
// the diagnostics. `fileName` is shown as given.
std::string PlainReport(const CheckResult& result, std::string_view fileName);

}  // namespace keyvane::checker

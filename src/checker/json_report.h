#pragma once

#include <ostream>
#include <string>

#include "checker/check_result.h"

namespace keyvane::checker {

// One JSON object in UTF-8: default_map, fallback_map, maps (in table order, 17 positions
// each, null for an empty one), program_pages (only for a file with an APP_PAGE table:
// program, map, line) and diagnostics. The same bytes on every host.
std::string JsonReport(const CheckResult& result);
// The same bytes, written to `out` a block at a time.
void WriteJsonReport(const CheckResult& result, std::ostream& out);

}  // namespace keyvane::checker

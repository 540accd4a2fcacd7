#pragma once

#include <string>
#include <string_view>

namespace keyvane::btnfile {

// Collapses blank runs outside double quotes, TAB to blank, into `out` (reused from line to
// line, so the reading allocates once). The result may be shorter, never longer.
void CleanLineInto(std::string_view line, std::string& out);

}  // namespace keyvane::btnfile

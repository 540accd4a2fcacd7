#pragma once

#include <functional>

namespace keyvane::win32 {

// Runs `show` with the version-6 common controls active, so the dialogs it opens look as the
// system's own do. The program as a whole does without them: its buttons are owner-drawn.
void WithVisualStyles(const std::function<void()>& show);

}  // namespace keyvane::win32

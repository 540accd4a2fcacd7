#pragma once

#include "platform/desktop.h"

namespace keyvane::app {

// Flips each panel of the running copy, found by title: a visible one is hidden, a hidden one
// shown in its normal state, every show before any hide. Does nothing when the left panel is
// not there.
void TogglePanels(platform::Desktop& desktop);

}  // namespace keyvane::app

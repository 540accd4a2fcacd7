#pragma once

#include <array>

#include "app/keyboard.h"

namespace keyvane::testing {

// Every way the keyboard ends, reads its file again or hides its panels: each must let the keys
// it holds up first.
using Ending = void (*)(app::Keyboard&);
inline constexpr std::array<Ending, 7> kEveryEnding{
    [](app::Keyboard& k) { k.OnQuitCommand(); },    [](app::Keyboard& k) { k.OnLeftPanelCloseQuery(); },
    [](app::Keyboard& k) { k.OnSessionEnd(true); }, [](app::Keyboard& k) { k.OnLoopEnded(); },
    [](app::Keyboard& k) { k.OnReloadCommand(); },  [](app::Keyboard& k) { k.OnPanelHiding(); },
    [](app::Keyboard& k) { k.OnTrayIconClick(); },
};

}  // namespace keyvane::testing

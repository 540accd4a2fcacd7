#pragma once

#include "input/panel_mouse_hook.h"

namespace keyvane::input {

// What the low-level mouse hook takes out of the system's input: a press over a panel button,
// and the release of a press it took. The release of a drag that began in another window goes
// on to that window, even over a panel button, so that its selection, drag or move ends.
// It sees every mouse event of the desktop, on the low-level hook's own thread; one filter per
// installed hook.
enum class TapRoute {
  PassOn,         // not the panels' business
  Take,           // swallowed and handed to the panels
  TellAndPassOn,  // the release of a press taken, off the panels: it goes on, and the panels hear of it,
                  // since a button that repeats while held must know when it is let go
};

class PanelTapFilter {
 public:
  TapRoute Route(MouseMessage message, bool overPanelButton);

 private:
  bool leftPressTaken_ = false;
  bool rightPressTaken_ = false;
};

}  // namespace keyvane::input

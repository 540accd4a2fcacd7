#include "input/panel_tap_filter.h"

namespace keyvane::input {

namespace {

// A release is taken over a panel button only, like a press: one taken off the panels would
// leave the window under the cursor without its release.
bool TakesRelease(bool& pressTaken, bool overPanelButton) {
  const bool taken = pressTaken && overPanelButton;
  pressTaken = false;
  return taken;
}

}  // namespace

bool PanelTapFilter::Takes(MouseMessage message, bool overPanelButton) {
  switch (message) {
    case MouseMessage::LeftDown:
    case MouseMessage::LeftDoubleClick: leftPressTaken_ = overPanelButton; return overPanelButton;
    case MouseMessage::RightDown:
    case MouseMessage::RightDoubleClick: rightPressTaken_ = overPanelButton; return overPanelButton;
    case MouseMessage::LeftUp: return TakesRelease(leftPressTaken_, overPanelButton);
    case MouseMessage::RightUp: return TakesRelease(rightPressTaken_, overPanelButton);
    default: return false;  // moves would stop the cursor; other buttons are not the panels'
  }
}

}  // namespace keyvane::input

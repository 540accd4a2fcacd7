#include "input/panel_tap_filter.h"

namespace keyvane::input {

namespace {

// A release is taken over a panel button only, like a press: one taken off the panels would
// leave the window under the cursor without its release.
TapRoute ReleaseRoute(bool& pressTaken, bool overPanelButton) {
  const bool taken = pressTaken;
  pressTaken = false;
  if (!taken) return TapRoute::PassOn;
  return overPanelButton ? TapRoute::Take : TapRoute::TellAndPassOn;
}

TapRoute PressRoute(bool& pressTaken, bool overPanelButton) {
  pressTaken = overPanelButton;
  return overPanelButton ? TapRoute::Take : TapRoute::PassOn;
}

}  // namespace

TapRoute PanelTapFilter::Route(MouseMessage message, bool overPanelButton) {
  switch (message) {
    case MouseMessage::LeftDown:
    case MouseMessage::LeftDoubleClick: return PressRoute(leftPressTaken_, overPanelButton);
    case MouseMessage::RightDown:
    case MouseMessage::RightDoubleClick: return PressRoute(rightPressTaken_, overPanelButton);
    case MouseMessage::LeftUp: return ReleaseRoute(leftPressTaken_, overPanelButton);
    case MouseMessage::RightUp: return ReleaseRoute(rightPressTaken_, overPanelButton);
    default: return TapRoute::PassOn;  // moves would stop the cursor; other buttons are not the panels'
  }
}

}  // namespace keyvane::input

#pragma once

#include <cstdint>

#include "input/map_switcher.h"
#include "input/panels_tab.h"
#include "input/slot_presser.h"
#include "input/slots.h"
#include "platform/clock.h"
#include "platform/input.h"
#include "platform/shell.h"

namespace keyvane::input {

// The mouse messages the panel hook tells apart; the Windows shell maps the system's ids to these.
enum class MouseMessage {
  Move,
  LeftDown,
  LeftUp,
  LeftDoubleClick,
  RightDown,
  RightUp,
  RightDoubleClick,
  Other,  // the middle button, the wheel, ...: never a panel's business
};

enum class HookAction {
  PassOn,   // on to the next hook and the window under the cursor
  Consume,  // swallowed: no window sees it
};

// The right-button gesture: Held from a right press on a panel button until the long-hold
// command fires (Spent) or a right release over a button ends it (Idle).
struct RightHoldState {
  enum class Phase { Idle, Held, Spent };
  Phase phase = Phase::Idle;
  std::uint32_t heldSince = 0;  // tick count of the right press; meaningful while Held

  bool operator==(const RightHoldState&) const = default;
};

// Takes every press over a panel button, so a touch never activates a panel, and the release of
// each press it took: left release presses, a short right click turns the page, a long right
// hold runs SLIDE_CMD. A repeating KEY button acts on the left press instead, and its release,
// wherever it comes, ends the repeat. A release whose press it did not see (a drag that began in
// another window) goes on and does nothing here. While the panels are small, only their tab takes
// messages: a left tap on it brings them back.
class PanelMouseHook {
 public:
  PanelMouseHook(input::MapSwitcher& switcher, input::SlotPresser& presser, input::PanelsTab& tab,
                 platform::Shell& shell, platform::Input& input, platform::Clock& clock)
      : switcher_(switcher), presser_(presser), tab_(tab), shell_(shell), input_(input), clock_(clock) {}

  // The hook's decision for one mouse message at a screen point; the actions run before it returns.
  HookAction HandleMouseMessage(MouseMessage message, platform::Point point, platform::InputOrigin origin);

  // Fires the long-hold command once the right button has been held more than 500 ms
  // and the cursor is over a panel button. Called by every timer tick.
  void CheckLongHold(platform::Point point);

  const RightHoldState& rightHoldState() const { return rightHold_; }

 private:
  HookAction HandleTabMessage(MouseMessage message, platform::Point point, platform::InputOrigin origin);
  void RightButtonPage(int slot);
  void SlideCommand(int slot);
  void Park(int slot);

  input::MapSwitcher& switcher_;
  input::SlotPresser& presser_;
  input::PanelsTab& tab_;
  platform::Shell& shell_;
  platform::Input& input_;
  platform::Clock& clock_;
  RightHoldState rightHold_;
  bool leftPressSeen_ = false;
  bool leftPressRepeats_ = false;  // the left press seen started a repeat: its release ends it
  bool rightPressSeen_ = false;
};

}  // namespace keyvane::input

#pragma once

namespace keyvane::tracking {

// The mouse messages the panel hook tells apart; the window layer maps the system's ids to these.
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

// Where a mouse message comes from.
enum class InputOrigin {
  User,     // a touch, a mouse, another program
  Keyvane,  // a mouse-button key that Keyvane itself sent
};

enum class HookAction {
  PassOn,   // on to the next hook and the window under the cursor
  Consume,  // swallowed: no window sees it
};

}  // namespace keyvane::tracking

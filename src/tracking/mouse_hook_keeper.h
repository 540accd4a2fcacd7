#pragma once

#include "input/panel_mouse_hook.h"
#include "platform/input.h"
#include "platform/shell.h"
#include "trace/trace_log.h"

namespace keyvane::tracking {

// What shows that Windows may have removed the low-level mouse hook.
enum class HookLossSign {
  TapSlippedPast,  // the thread hook saw a touch on a panel button that the low-level hook takes
  Resumed,         // the system woke from sleep
  Unlocked,        // the user's session was unlocked
};

// The window a message of the thread hook is addressed to: a panel button, or another of
// Keyvane's windows (its menu or About box may lie over a panel button).
enum class MessageWindow { PanelButton, Other };

// Keeps the mouse hooks in place from the left panel's creation until Keyvane lets them go.
// From Windows 7 on, Windows removes a low-level hook whose procedure once took too long (after
// a resume, while paging, under a game that takes the processor) and tells nobody; taps over
// another program's menu then go to that program. The hook is installed anew where that has
// been seen, or is likely, and traced; never on a timer, which makes the mouse stutter.
class MouseHookKeeper {
 public:
  MouseHookKeeper(platform::Shell& shell, trace::TraceLog& log) : shell_(shell), log_(log) {}

  void Install();
  void Remove();
  // A button message the thread hook decided on: a press from the user that it took on its way
  // to a panel button would have been swallowed by a low-level hook still in place.
  void ThreadHookDecided(input::MouseMessage message, input::HookAction action, platform::InputOrigin origin,
                         MessageWindow window);
  void SignOfLoss(HookLossSign sign);

  bool installed() const { return installed_; }

 private:
  platform::Shell& shell_;
  trace::TraceLog& log_;
  bool installed_ = false;
};

}  // namespace keyvane::tracking

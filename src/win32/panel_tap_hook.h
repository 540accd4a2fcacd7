#pragma once

#include <windows.h>

#include "input/panel_mouse_hook.h"
#include "platform/desktop.h"
#include "platform/input.h"

namespace keyvane::win32 {

// A button message that the low-level hook took over a panel button, posted to the panels'
// thread: wParam the message and its origin, lParam the point.
inline constexpr UINT kPanelTapMessage = WM_APP + 1;

struct PanelTap {
  input::MouseMessage message = input::MouseMessage::Other;
  platform::Point point;  // in the coordinates of Keyvane's own windows
  platform::InputOrigin origin = platform::InputOrigin::User;
};

PanelTap PanelTapOf(WPARAM wParam, LPARAM lParam);

// The low-level mouse hook (WH_MOUSE_LL), on a thread of its own with its own message loop.
// It sees a tap before any window does, and so before another program's mouse capture (an
// open menu, a dropped-down list, a drag) can take it. Windows waits for it on every mouse
// event of the system and removes a hook that is slow too often, while the panels' thread
// may be busy for a fraction of a second: so the hook only looks which window a button message
// is over, and over a panel button it swallows a press, and the release of a press it
// swallowed (input::PanelTapFilter), and posts them to `tapWindow`, where the panel hook's
// rules act on them. Moves always go on: swallowed, they would stop the cursor. Its thread runs
// at the highest priority. Start again after Stop installs it anew.
class PanelTapHook {
 public:
  PanelTapHook() = default;
  ~PanelTapHook() { Stop(); }
  PanelTapHook(const PanelTapHook&) = delete;
  PanelTapHook& operator=(const PanelTapHook&) = delete;

  // True once the hook is in place. `isPanelButton` is asked on the hook's thread.
  bool Start(HWND tapWindow, bool (*isPanelButton)(HWND window));
  void Stop();

 private:
  static DWORD WINAPI Run(LPVOID self);

  HANDLE thread_ = nullptr;
  DWORD threadId_ = 0;
  HANDLE ready_ = nullptr;
  HHOOK hook_ = nullptr;  // set by the hook's thread before `ready_` is signalled
};

}  // namespace keyvane::win32

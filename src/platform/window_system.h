#pragma once

#include <string>

#include "platform/handles.h"

namespace keyvane::platform {

// What the core asks about other programs' windows and threads.
class WindowSystem {
 public:
  virtual ~WindowSystem() = default;
  // GetFocus on the user-interface thread.
  virtual WindowHandle FocusWindow() = 0;
  // GetForegroundWindow; 0 when there is none.
  virtual WindowHandle ForegroundWindow() = 0;
  // GetWindowTextA into a 1000-byte buffer: at most 999 bytes, empty for 0 or a vanished window.
  virtual std::string WindowTitle(WindowHandle window) = 0;
  // GetWindow(window, GW_CHILD); 0 when there is none.
  virtual WindowHandle FirstChild(WindowHandle window) = 0;
  // IsWindowVisible.
  virtual bool IsVisible(WindowHandle window) = 0;
  // IsHungAppWindow: the window's program has not taken its messages for a while.
  virtual bool IsHung(WindowHandle window) = 0;
  // The window that has the keyboard focus on that thread (any process); 0 when none.
  virtual WindowHandle FocusedWindow(ThreadId thread) = 0;
  // GetWindowThreadProcessId(window, nullptr); 0 for 0 or a vanished window.
  virtual ThreadId WindowThread(WindowHandle window) = 0;
  // GetCurrentThreadId.
  virtual ThreadId CurrentThread() = 0;
  // SetForegroundWindow.
  virtual void BringToForeground(WindowHandle window) = 0;
  // AttachThreadInput(from, to, attach); the result is not needed.
  virtual void AttachThreadInput(ThreadId from, ThreadId to, bool attach) = 0;
};

}  // namespace keyvane::platform

#pragma once

#include "platform/handles.h"

namespace keyvane::platform {

// The input method (imm32) of the window keys go to. Its context can be reached only inside
// the window's own process; for another program's window, its IME window carries the requests.
class InputMethod {
 public:
  virtual ~InputMethod() = default;
  // ImmGetContext; 0 when the window has none or belongs to another process. Every non-zero
  // context is released once.
  virtual ImeContext GetContext(WindowHandle window) = 0;
  // ImmSetOpenStatus(context, open).
  virtual void SetOpenStatus(ImeContext context, bool open) = 0;
  // ImmReleaseContext(window, context).
  virtual void ReleaseContext(WindowHandle window, ImeContext context) = 0;
  // The default IME window that serves the window's thread (ImmGetDefaultIMEWnd); 0 when it
  // cannot be had, as for another process's window under Wine.
  virtual WindowHandle DefaultImeWindow(WindowHandle window) = 0;
  // The thread's own IME window, found among the thread's windows by its class; 0 when none.
  virtual WindowHandle ThreadImeWindow(ThreadId thread) = 0;
  // Opens or closes the input method through its IME window. Waits a fraction of a second at
  // most, so a hung program never freezes the panels.
  virtual void SetOpenStatusThroughWindow(WindowHandle imeWindow, bool open) = 0;
};

}  // namespace keyvane::platform

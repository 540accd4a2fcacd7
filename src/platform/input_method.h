#pragma once

#include "platform/desktop.h"

namespace keyvane::platform {

// The input method of the window keys go to, opened for Japanese maps and closed for the
// others. Its context can be reached only inside the window's own process; for another
// program's window, its IME window carries the requests.
class InputMethod {
 public:
  virtual ~InputMethod() = default;

  // The context route. 0 when the window has none or belongs to another process. Every
  // non-zero context is released once, against the window it came from.
  virtual ImeContext GetContext(WindowHandle window) = 0;
  virtual void SetOpenStatus(ImeContext context, bool open) = 0;
  // Hiragana: native characters, full shape. Newer input methods open in the mode they were
  // last left in, which may be alphanumeric.
  virtual void SetHiraganaMode(ImeContext context) = 0;
  virtual void ReleaseContext(WindowHandle window, ImeContext context) = 0;

  // The IME-window route. The default IME window that serves the window's thread; 0 when it
  // cannot be had, as for another process's window under Wine.
  virtual WindowHandle DefaultImeWindow(WindowHandle window) = 0;
  // The thread's own IME window, found among the thread's windows by its class; 0 when none.
  virtual WindowHandle ThreadImeWindow(ThreadId thread) = 0;
  // Opens or closes the input method through its IME window. Waits a fraction of a second at
  // most, so a hung program never freezes the panels.
  virtual void SetOpenStatusThroughWindow(WindowHandle imeWindow, bool open) = 0;
  virtual void SetHiraganaModeThroughWindow(WindowHandle imeWindow) = 0;
};

}  // namespace keyvane::platform

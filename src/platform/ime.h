#pragma once

#include "platform/handles.h"

namespace keyvane::platform {

// The input method (imm32) of another program's window.
class InputMethod {
 public:
  virtual ~InputMethod() = default;
  // ImmGetContext; 0 when the window has none. Every non-zero context is released once.
  virtual ImeContext GetContext(WindowHandle window) = 0;
  // ImmSetOpenStatus(context, open).
  virtual void SetOpenStatus(ImeContext context, bool open) = 0;
  // ImmReleaseContext(window, context).
  virtual void ReleaseContext(WindowHandle window, ImeContext context) = 0;
};

}  // namespace keyvane::platform

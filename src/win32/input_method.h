#pragma once

#include "platform/input_method.h"

namespace keyvane::win32 {

class Win32InputMethod final : public platform::InputMethod {
 public:
  platform::ImeContext GetContext(platform::WindowHandle window) override;
  void SetOpenStatus(platform::ImeContext context, bool open) override;
  void ReleaseContext(platform::WindowHandle window, platform::ImeContext context) override;
  platform::WindowHandle DefaultImeWindow(platform::WindowHandle window) override;
  platform::WindowHandle ThreadImeWindow(platform::ThreadId thread) override;
  void SetOpenStatusThroughWindow(platform::WindowHandle imeWindow, bool open) override;
};

}  // namespace keyvane::win32

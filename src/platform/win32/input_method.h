#pragma once

#include "platform/ime.h"

namespace keyvane::win32 {

class Win32InputMethod final : public platform::InputMethod {
 public:
  platform::ImeContext GetContext(platform::WindowHandle window) override;
  void SetOpenStatus(platform::ImeContext context, bool open) override;
  void ReleaseContext(platform::WindowHandle window, platform::ImeContext context) override;
};

}  // namespace keyvane::win32

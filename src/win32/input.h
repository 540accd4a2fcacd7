#pragma once

#include <windows.h>

#include "platform/input.h"
#include "platform/input_method.h"
#include "tracking/panel_mouse_hook.h"

namespace keyvane::win32 {

// The extra information that marks the mouse events Keyvane sends, so that the mouse hook and
// the buttons can tell them from a touch.
inline constexpr ULONG_PTR kOwnInputSignature = 0x4B564E45;  // "KVNE"

inline tracking::InputOrigin OriginOf(ULONG_PTR extraInfo) {
  return extraInfo == kOwnInputSignature ? tracking::InputOrigin::Keyvane : tracking::InputOrigin::User;
}

class Win32Input final : public platform::Input {
 public:
  void SendKey(std::uint8_t virtualKey, platform::KeyDirection direction, bool extended) override;
  void SendMouseButton(platform::MouseButton button, platform::KeyDirection direction) override;
  platform::Point CursorPosition() override;
  void MoveCursor(platform::Point point) override;
};

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

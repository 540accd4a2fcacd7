#pragma once

#include <windows.h>

#include "platform/input.h"
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

}  // namespace keyvane::win32

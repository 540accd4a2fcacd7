#pragma once

#include <windows.h>

#include "platform/cursor.h"
#include "platform/input_events.h"
#include "tracking/mouse_messages.h"

namespace keyvane::win32 {

// The extra information that marks the mouse events Keyvane sends, so that the mouse hook and
// the buttons can tell them from a touch.
inline constexpr ULONG_PTR kOwnInputSignature = 0x4B564E45;  // "KVNE"

inline tracking::InputOrigin OriginOf(ULONG_PTR extraInfo) {
  return extraInfo == kOwnInputSignature ? tracking::InputOrigin::Keyvane : tracking::InputOrigin::User;
}

class Win32InputEvents final : public platform::InputEvents {
 public:
  void KeyEvent(std::uint8_t virtualKey, platform::KeyDirection direction, bool extended) override;
  void MouseButtonEvent(platform::MouseButton button, platform::KeyDirection direction) override;
};

class Win32Cursor final : public platform::Cursor {
 public:
  platform::Point Position() override;
  void MoveTo(platform::Point point) override;
};

}  // namespace keyvane::win32

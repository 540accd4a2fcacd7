#pragma once

#include <cstdint>

namespace keyvane::platform {

// keybd_event flag for a key release; 0 is a key press.
inline constexpr std::uint32_t kKeyEventKeyUp = 0x0002;

// mouse_event button flags (MOUSEEVENTF_*).
inline constexpr std::uint32_t kMouseLeftDown = 0x0002;
inline constexpr std::uint32_t kMouseLeftUp = 0x0004;
inline constexpr std::uint32_t kMouseRightDown = 0x0008;
inline constexpr std::uint32_t kMouseRightUp = 0x0010;
inline constexpr std::uint32_t kMouseMiddleDown = 0x0020;
inline constexpr std::uint32_t kMouseMiddleUp = 0x0040;

// Synthetic input into the system's input stream.
class InputEvents {
 public:
  virtual ~InputEvents() = default;
  // keybd_event(virtualKey, 0, flags, 0): no scan code, never the extended-key flag.
  virtual void KeyEvent(std::uint8_t virtualKey, std::uint32_t flags) = 0;
  // mouse_event(flags, 0, 0, 0, 0): a button acting where the cursor is, without moving it.
  virtual void MouseButtonEvent(std::uint32_t flags) = 0;
};

}  // namespace keyvane::platform

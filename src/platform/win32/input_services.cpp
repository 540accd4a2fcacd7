#include "platform/win32/input_services.h"

#include <windows.h>

namespace keyvane::win32 {

void Win32InputEvents::KeyEvent(std::uint8_t virtualKey, std::uint32_t flags) { keybd_event(virtualKey, 0, flags, 0); }

void Win32InputEvents::MouseButtonEvent(std::uint32_t flags) { mouse_event(flags, 0, 0, 0, 0); }

platform::Point Win32Cursor::Position() {
  POINT point{};
  GetCursorPos(&point);
  return {point.x, point.y};
}

void Win32Cursor::MoveTo(platform::Point point) { SetCursorPos(point.x, point.y); }

}  // namespace keyvane::win32

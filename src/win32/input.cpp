#include "win32/input.h"

namespace keyvane::win32 {

void Win32Input::SendKey(std::uint8_t virtualKey, platform::KeyDirection direction, bool extended) {
  // Programs that read scan codes (remote desktops, virtual machines, games) need the real one.
  const auto scanCode = static_cast<BYTE>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
  DWORD flags = direction == platform::KeyDirection::Up ? KEYEVENTF_KEYUP : 0;
  if (extended) flags |= KEYEVENTF_EXTENDEDKEY;
  keybd_event(virtualKey, scanCode, flags, 0);
}

void Win32Input::SendMouseButton(platform::MouseButton button, platform::KeyDirection direction) {
  const bool down = direction == platform::KeyDirection::Down;
  DWORD flags = 0;
  switch (button) {
    case platform::MouseButton::Left: flags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP; break;
    case platform::MouseButton::Right: flags = down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP; break;
    case platform::MouseButton::Middle: flags = down ? MOUSEEVENTF_MIDDLEDOWN : MOUSEEVENTF_MIDDLEUP; break;
  }
  mouse_event(flags, 0, 0, 0, kOwnInputSignature);
}

platform::Point Win32Input::CursorPosition() {
  POINT point{};
  GetCursorPos(&point);
  return {point.x, point.y};
}

void Win32Input::MoveCursor(platform::Point point) { SetCursorPos(point.x, point.y); }

}  // namespace keyvane::win32

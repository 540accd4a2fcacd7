#include "win32/input.h"

#include <imm.h>

#include <cwchar>

namespace keyvane::win32 {
namespace {

// WM_IME_CONTROL requests to an IME window; MinGW's imm.h does not name them.
constexpr WPARAM kImcSetOpenStatus = 0x0006;

// Long enough for a busy program to answer, short enough that a press never feels it.
constexpr UINT kImeWindowTimeoutMs = 200;

HWND Hwnd(platform::WindowHandle window) { return reinterpret_cast<HWND>(window); }
platform::WindowHandle Handle(HWND window) { return reinterpret_cast<platform::WindowHandle>(window); }

BOOL CALLBACK NoteImeWindow(HWND window, LPARAM found) {
  wchar_t windowClass[8] = L"";
  GetClassNameW(window, windowClass, 8);
  if (std::wcscmp(windowClass, L"IME") != 0) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

}  // namespace

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

platform::ImeContext Win32InputMethod::GetContext(platform::WindowHandle window) {
  return reinterpret_cast<platform::ImeContext>(ImmGetContext(Hwnd(window)));
}

void Win32InputMethod::SetOpenStatus(platform::ImeContext context, bool open) {
  ImmSetOpenStatus(reinterpret_cast<HIMC>(context), open ? TRUE : FALSE);
}

void Win32InputMethod::ReleaseContext(platform::WindowHandle window, platform::ImeContext context) {
  ImmReleaseContext(Hwnd(window), reinterpret_cast<HIMC>(context));
}

platform::WindowHandle Win32InputMethod::DefaultImeWindow(platform::WindowHandle window) {
  return Handle(ImmGetDefaultIMEWnd(Hwnd(window)));
}

platform::WindowHandle Win32InputMethod::ThreadImeWindow(platform::ThreadId thread) {
  HWND found = nullptr;
  EnumThreadWindows(thread, NoteImeWindow, reinterpret_cast<LPARAM>(&found));
  return Handle(found);
}

void Win32InputMethod::SetOpenStatusThroughWindow(platform::WindowHandle imeWindow, bool open) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(Hwnd(imeWindow), WM_IME_CONTROL, kImcSetOpenStatus, open ? 1 : 0, SMTO_ABORTIFHUNG,
                      kImeWindowTimeoutMs, &result);
}

}  // namespace keyvane::win32

#include "win32/desktop.h"

#include <windows.h>

namespace keyvane::win32 {
namespace {

HWND Hwnd(platform::WindowHandle window) { return reinterpret_cast<HWND>(window); }
platform::WindowHandle Handle(HWND window) { return reinterpret_cast<platform::WindowHandle>(window); }

}  // namespace

platform::WindowHandle Win32Desktop::FocusWindow() { return Handle(GetFocus()); }

platform::WindowHandle Win32Desktop::ForegroundWindow() { return Handle(GetForegroundWindow()); }

void Win32Desktop::GiveFocus(platform::WindowHandle window) { SetFocus(Hwnd(window)); }

void Win32Desktop::BringToForeground(platform::WindowHandle window) { SetForegroundWindow(Hwnd(window)); }

// GetWindowTextA into a 1000-byte buffer.
std::string Win32Desktop::WindowTitle(platform::WindowHandle window) {
  char title[1000] = "";
  const int length = window ? GetWindowTextA(Hwnd(window), title, sizeof title) : 0;
  return std::string(title, length > 0 ? static_cast<size_t>(length) : 0);
}

platform::WindowHandle Win32Desktop::FirstChild(platform::WindowHandle window) {
  return Handle(GetWindow(Hwnd(window), GW_CHILD));
}

bool Win32Desktop::IsVisible(platform::WindowHandle window) { return IsWindowVisible(Hwnd(window)) != FALSE; }

bool Win32Desktop::IsHung(platform::WindowHandle window) {
  return window != 0 && IsHungAppWindow(Hwnd(window)) != FALSE;
}

platform::ThreadId Win32Desktop::WindowThread(platform::WindowHandle window) {
  return window ? GetWindowThreadProcessId(Hwnd(window), nullptr) : 0;
}

platform::ThreadId Win32Desktop::CurrentThread() { return GetCurrentThreadId(); }

platform::WindowHandle Win32Desktop::FocusedWindow(platform::ThreadId thread) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(thread, &info) ? Handle(info.hwndFocus) : 0;
}

void Win32Desktop::JoinInput(platform::ThreadId own, platform::ThreadId other, bool join) {
  AttachThreadInput(own, other, join ? TRUE : FALSE);
}

platform::WindowHandle Win32Desktop::FindTopLevelWindow(std::string_view title) {
  const std::string text(title);
  return Handle(FindWindowA(nullptr, text.c_str()));
}

bool Win32Desktop::ShowNormal(platform::WindowHandle window) {
  return ShowWindow(Hwnd(window), SW_SHOWNORMAL) != FALSE;
}

void Win32Desktop::Hide(platform::WindowHandle window) { ShowWindow(Hwnd(window), SW_HIDE); }

int Win32Desktop::ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }

int Win32Desktop::VerticalScrollBarWidth() { return GetSystemMetrics(SM_CXVSCROLL); }

int Win32Desktop::EdgeWidth() { return GetSystemMetrics(SM_CXEDGE); }

}  // namespace keyvane::win32

#include "win32/window_services.h"

#include <windows.h>

namespace keyvane::win32 {
namespace {

HWND Hwnd(platform::WindowHandle window) { return reinterpret_cast<HWND>(window); }
platform::WindowHandle Handle(HWND window) { return reinterpret_cast<platform::WindowHandle>(window); }

}  // namespace

platform::WindowHandle Win32WindowSystem::FocusWindow() { return Handle(GetFocus()); }

platform::WindowHandle Win32WindowSystem::ForegroundWindow() { return Handle(GetForegroundWindow()); }

std::string Win32WindowSystem::WindowTitle(platform::WindowHandle window) {
  char title[1000] = "";
  const int length = window ? GetWindowTextA(Hwnd(window), title, sizeof title) : 0;
  return std::string(title, length > 0 ? static_cast<size_t>(length) : 0);
}

platform::WindowHandle Win32WindowSystem::FirstChild(platform::WindowHandle window) {
  return Handle(GetWindow(Hwnd(window), GW_CHILD));
}

bool Win32WindowSystem::IsVisible(platform::WindowHandle window) { return IsWindowVisible(Hwnd(window)) != FALSE; }

bool Win32WindowSystem::IsHung(platform::WindowHandle window) {
  return window != 0 && IsHungAppWindow(Hwnd(window)) != FALSE;
}

platform::WindowHandle Win32WindowSystem::FocusedWindow(platform::ThreadId thread) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(thread, &info) ? Handle(info.hwndFocus) : 0;
}

platform::ThreadId Win32WindowSystem::WindowThread(platform::WindowHandle window) {
  return window ? GetWindowThreadProcessId(Hwnd(window), nullptr) : 0;
}

platform::ThreadId Win32WindowSystem::CurrentThread() { return GetCurrentThreadId(); }

void Win32WindowSystem::BringToForeground(platform::WindowHandle window) { SetForegroundWindow(Hwnd(window)); }

void Win32WindowSystem::AttachThreadInput(platform::ThreadId from, platform::ThreadId to, bool attach) {
  ::AttachThreadInput(from, to, attach ? TRUE : FALSE);
}

platform::WindowHandle Win32TopLevelWindows::FindByTitle(std::string_view title) {
  const std::string text(title);
  return Handle(FindWindowA(nullptr, text.c_str()));
}

bool Win32TopLevelWindows::IsVisible(platform::WindowHandle window) { return IsWindowVisible(Hwnd(window)) != FALSE; }

bool Win32TopLevelWindows::ShowNormal(platform::WindowHandle window) {
  return ShowWindow(Hwnd(window), SW_SHOWNORMAL) != FALSE;
}

void Win32TopLevelWindows::Hide(platform::WindowHandle window) { ShowWindow(Hwnd(window), SW_HIDE); }

}  // namespace keyvane::win32

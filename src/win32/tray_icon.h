#pragma once

#include <windows.h>

#include <shellapi.h>

#include <functional>
#include <string_view>

#include "app/keyboard.h"

namespace keyvane::win32 {

// The notification-area icon, tooltip "Keyvane", with its hidden message window and its menu.
class TrayIcon {
 public:
  // keyboard: what the icon and its menu tell; it outlives the icon. showAbout: what the menu's
  // About item runs.
  TrayIcon(HINSTANCE instance, app::Keyboard& keyboard, std::function<void(const app::Keyboard&)> showAbout);
  ~TrayIcon();
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // NIM_ADD. A shell that refuses (at logon Explorer may still be starting) is asked again every
  // few seconds until it takes the icon, and a restarted shell gets the icon again.
  void Show();
  // NIM_DELETE, as far as the shell still knows the icon: never fails, so the way out opens no
  // box. Hiding a hidden icon does nothing.
  void Hide();
  // A balloon from the icon; the text is code page 932. Nothing while the icon is not shown.
  void ShowBalloon(std::string_view text);
  // Opens the menu at a screen point from the message loop, after the handler that asks: its
  // left edge there, or its right edge.
  void RequestMenuAt(POINT at, bool rightAligned);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void AddOrRetry();
  void OpenMenu(POINT at, UINT alignment);
  NOTIFYICONDATAA Record() const;

  HWND window_ = nullptr;
  HICON picture_ = nullptr;
  UINT taskbarCreated_ = 0;  // the shell's message that its notification area was made anew
  bool wanted_ = false;      // between Show and Hide
  bool added_ = false;       // the shell has the icon now
  app::Keyboard& keyboard_;
  std::function<void(const app::Keyboard&)> showAbout_;
};

}  // namespace keyvane::win32

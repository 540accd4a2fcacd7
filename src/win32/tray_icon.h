#pragma once

#include <windows.h>

#include <shellapi.h>

#include <functional>
#include <string_view>

#include "app/keyboard.h"

namespace keyvane::win32 {

class TrayMenu;

// The notification-area icon, tooltip "Keyvane", with its hidden message window. The window is
// made by the TrayMenu that handles its clicks, and goes with it.
class TrayIcon {
 public:
  explicit TrayIcon(HINSTANCE instance);
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
  friend class TrayMenu;
  // The window lives as long as the menu that its messages go to; its end hides the icon.
  void CreateWindowFor(TrayMenu& menu);
  void DestroyWindowOfMenu();
  // The icon's own upkeep among its window's messages; true when the message was one of them.
  bool KeepsUp(UINT message, WPARAM wParam);
  void AddOrRetry();
  NOTIFYICONDATAA Record() const;

  HINSTANCE instance_;
  HWND window_ = nullptr;
  HICON picture_ = nullptr;
  UINT taskbarCreated_ = 0;  // the shell's message that its notification area was made anew
  bool wanted_ = false;      // between Show and Hide
  bool added_ = false;       // the shell has the icon now
};

// The icon's clicks and its menu, turned into calls of the keyboard. While it lives, the icon has
// its window, which was created with it: build it after the keyboard, so it goes before it.
class TrayMenu {
 public:
  // showAbout: what the menu's About item runs.
  TrayMenu(TrayIcon& icon, app::Keyboard& keyboard, std::function<void(const app::Keyboard&)> showAbout);
  ~TrayMenu();  // hides the icon
  TrayMenu(const TrayMenu&) = delete;
  TrayMenu& operator=(const TrayMenu&) = delete;

  // A message to the icon's window.
  LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void Open(HWND window, POINT at, UINT alignment);

  TrayIcon& icon_;
  app::Keyboard& keyboard_;
  std::function<void(const app::Keyboard&)> showAbout_;
};

}  // namespace keyvane::win32

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
  // showAbout: what the menu's About item runs.
  TrayIcon(HINSTANCE instance, std::function<void(const app::Keyboard&)> showAbout);
  ~TrayIcon();
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  void Attach(app::Keyboard& keyboard) { keyboard_ = &keyboard; }
  // NIM_ADD; throws when the shell refuses.
  void Show();
  // NIM_DELETE; hiding a hidden icon does nothing. Throws when the shell refuses.
  void Hide();
  // A balloon from the shown icon; the text is code page 932. Nothing while the icon is hidden.
  void ShowBalloon(std::string_view text);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void OpenMenu();
  NOTIFYICONDATAA Record() const;

  HWND window_ = nullptr;
  HICON picture_ = nullptr;
  bool shown_ = false;
  app::Keyboard* keyboard_ = nullptr;
  std::function<void(const app::Keyboard&)> showAbout_;
};

}  // namespace keyvane::win32

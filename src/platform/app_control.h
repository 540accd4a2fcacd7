#pragma once

#include <string_view>

namespace keyvane::platform {

// The application's own life.
class AppControl {
 public:
  virtual ~AppControl() = default;
  // PostQuitMessage: the message loop ends when control returns to it.
  virtual void RequestQuit() = 0;
  // Shell_NotifyIconA(NIM_DELETE); hiding a hidden icon does nothing.
  virtual void HideTrayIcon() = 0;
  // A balloon notification from the icon (Shell_NotifyIcon NIM_MODIFY, NIF_INFO); code page 932 text.
  virtual void ShowTrayBalloon(std::string_view text) = 0;
};

}  // namespace keyvane::platform

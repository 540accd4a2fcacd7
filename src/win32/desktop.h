#pragma once

#include "platform/desktop.h"

namespace keyvane::win32 {

class Win32Desktop final : public platform::Desktop {
 public:
  platform::WindowHandle FocusWindow() override;
  platform::WindowHandle ForegroundWindow() override;
  void GiveFocus(platform::WindowHandle window) override;
  void BringToForeground(platform::WindowHandle window) override;
  std::string WindowTitle(platform::WindowHandle window) override;
  platform::WindowHandle FirstChild(platform::WindowHandle window) override;
  bool IsVisible(platform::WindowHandle window) override;
  bool IsHung(platform::WindowHandle window) override;
  platform::ThreadId WindowThread(platform::WindowHandle window) override;
  platform::ThreadId CurrentThread() override;
  platform::WindowHandle FocusedWindow(platform::ThreadId thread) override;
  void JoinInput(platform::ThreadId own, platform::ThreadId other, bool join) override;
  platform::WindowHandle FindTopLevelWindow(std::string_view title) override;
  bool ShowNormal(platform::WindowHandle window) override;
  void Hide(platform::WindowHandle window) override;
  int ScreenWidth() override;
  int VerticalScrollBarWidth() override;
  int EdgeWidth() override;
};

}  // namespace keyvane::win32

#pragma once

#include "platform/top_level_windows.h"
#include "platform/window_system.h"

namespace keyvane::win32 {

class Win32WindowSystem final : public platform::WindowSystem {
 public:
  platform::WindowHandle FocusWindow() override;
  platform::WindowHandle ForegroundWindow() override;
  std::string WindowTitle(platform::WindowHandle window) override;
  platform::WindowHandle FirstChild(platform::WindowHandle window) override;
  bool IsVisible(platform::WindowHandle window) override;
  bool IsHung(platform::WindowHandle window) override;
  platform::WindowHandle FocusedWindow(platform::ThreadId thread) override;
  platform::ThreadId WindowThread(platform::WindowHandle window) override;
  platform::ThreadId CurrentThread() override;
  void BringToForeground(platform::WindowHandle window) override;
  void AttachThreadInput(platform::ThreadId from, platform::ThreadId to, bool attach) override;
};

class Win32TopLevelWindows final : public platform::TopLevelWindows {
 public:
  platform::WindowHandle FindByTitle(std::string_view title) override;
  bool IsVisible(platform::WindowHandle window) override;
  bool ShowNormal(platform::WindowHandle window) override;
  void Hide(platform::WindowHandle window) override;
};

}  // namespace keyvane::win32

#pragma once

#include <string_view>

#include "platform/handles.h"

namespace keyvane::platform {

// Finding the panels of a running copy by title and flipping them.
class TopLevelWindows {
 public:
  virtual ~TopLevelWindows() = default;
  // FindWindowA(nullptr, title); 0 when there is none.
  virtual WindowHandle FindByTitle(std::string_view title) = 0;
  // IsWindowVisible.
  virtual bool IsVisible(WindowHandle window) = 0;
  // ShowWindow(window, SW_SHOWNORMAL); true when the window was visible before the call.
  virtual bool ShowNormal(WindowHandle window) = 0;
  // ShowWindow(window, SW_HIDE).
  virtual void Hide(WindowHandle window) = 0;
};

}  // namespace keyvane::platform

#include "app/toggle_panels.h"

#include <string_view>

#include "platform/panels.h"

namespace keyvane::app {

namespace {

bool Flip(platform::TopLevelWindows& windows, std::string_view title) {
  const platform::WindowHandle window = windows.FindByTitle(title);
  if (window == 0) return false;
  if (windows.ShowNormal(window)) windows.Hide(window);
  return true;
}

}  // namespace

void TogglePanels(platform::TopLevelWindows& windows) {
  if (!Flip(windows, platform::kLeftPanelTitle)) return;
  Flip(windows, platform::kRightPanelTitle);
}

}  // namespace keyvane::app

#include "app/toggle_panels.h"

#include "platform/panels.h"

namespace keyvane::app {

void TogglePanels(platform::TopLevelWindows& windows) {
  const platform::WindowHandle left = windows.FindByTitle(platform::kLeftPanelTitle);
  if (left == 0) return;
  const platform::WindowHandle right = windows.FindByTitle(platform::kRightPanelTitle);
  const bool leftWasShown = windows.IsVisible(left);
  const bool rightWasShown = right != 0 && windows.IsVisible(right);
  // Shows before hides: the running copy ends at the tick that finds both panels hidden,
  // so there must never be such a moment unless both end hidden.
  if (!leftWasShown) windows.ShowNormal(left);
  if (right != 0 && !rightWasShown) windows.ShowNormal(right);
  if (leftWasShown) windows.Hide(left);
  if (rightWasShown) windows.Hide(right);
}

}  // namespace keyvane::app

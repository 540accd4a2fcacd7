#include "app/toggle_panels.h"

#include "platform/shell.h"

namespace keyvane::app {

void TogglePanels(platform::Desktop& desktop) {
  const platform::WindowHandle left = desktop.FindTopLevelWindow(platform::kLeftPanelTitle);
  if (left == 0) return;
  const platform::WindowHandle right = desktop.FindTopLevelWindow(platform::kRightPanelTitle);
  const bool leftWasShown = desktop.IsVisible(left);
  const bool rightWasShown = right != 0 && desktop.IsVisible(right);
  // Shows before hides: the running copy ends at the tick that finds both panels hidden,
  // so there must never be such a moment unless both end hidden.
  if (!leftWasShown) desktop.ShowNormal(left);
  if (right != 0 && !rightWasShown) desktop.ShowNormal(right);
  if (leftWasShown) desktop.Hide(left);
  if (rightWasShown) desktop.Hide(right);
}

}  // namespace keyvane::app

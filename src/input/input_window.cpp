#include "input/input_window.h"

namespace keyvane::input {

namespace {

constexpr std::string_view kStoreAppFrameClass = "ApplicationFrameWindow";
constexpr std::string_view kStoreAppCoreWindowClass = "Windows.UI.Core.CoreWindow";

}  // namespace

bool IsStoreAppFrame(std::string_view windowClass) { return windowClass == kStoreAppFrameClass; }

platform::WindowHandle InputWindowOf(platform::Desktop& desktop, platform::WindowHandle target) {
  if (target == 0 || !IsStoreAppFrame(desktop.WindowClass(target))) return target;
  // A suspended app's core window has left its frame: then the frame is all there is.
  const platform::WindowHandle coreWindow = desktop.ChildOfClass(target, kStoreAppCoreWindowClass);
  return coreWindow != 0 ? coreWindow : target;
}

}  // namespace keyvane::input

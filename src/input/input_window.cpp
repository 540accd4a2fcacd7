#include "input/input_window.h"

#include <string_view>

namespace keyvane::input {

namespace {

constexpr std::string_view kStoreAppFrameClass = "ApplicationFrameWindow";
constexpr std::string_view kStoreAppCoreWindowClass = "Windows.UI.Core.CoreWindow";

}  // namespace

platform::WindowHandle InputWindowOf(platform::Desktop& desktop, platform::WindowHandle target) {
  if (target == 0 || desktop.WindowClass(target) != kStoreAppFrameClass) return target;
  // A suspended app's core window has left its frame: then the frame is all there is.
  const platform::WindowHandle coreWindow = desktop.ChildOfClass(target, kStoreAppCoreWindowClass);
  return coreWindow != 0 ? coreWindow : target;
}

}  // namespace keyvane::input

#include "win32/mouse_hook.h"

#include "win32/guarded.h"
#include "win32/platform_roles.h"
#include "win32/shell_windows.h"

namespace {

HHOOK mouseHookHandle = nullptr;
keyvane::app::Keyboard* hookKeyboard = nullptr;

}  // namespace

namespace keyvane::win32 {

input::MouseMessage MouseMessageOf(WPARAM id) {
  using input::MouseMessage;
  switch (id) {
    case WM_MOUSEMOVE: return MouseMessage::Move;
    case WM_LBUTTONDOWN: return MouseMessage::LeftDown;
    case WM_LBUTTONUP: return MouseMessage::LeftUp;
    case WM_LBUTTONDBLCLK: return MouseMessage::LeftDoubleClick;
    case WM_RBUTTONDOWN: return MouseMessage::RightDown;
    case WM_RBUTTONUP: return MouseMessage::RightUp;
    case WM_RBUTTONDBLCLK: return MouseMessage::RightDoubleClick;
    default: return MouseMessage::Other;
  }
}

bool InstallMouseHook() {
  mouseHookHandle = SetWindowsHookExA(WH_MOUSE, HookProc, nullptr, GetCurrentThreadId());
  return mouseHookHandle != nullptr;
}

void RemoveMouseHook() { UnhookWindowsHookEx(mouseHookHandle); }

MouseHookRoute::MouseHookRoute(app::Keyboard& keyboard) { hookKeyboard = &keyboard; }

MouseHookRoute::~MouseHookRoute() { hookKeyboard = nullptr; }

}  // namespace keyvane::win32

extern "C" LRESULT CALLBACK HookProc(int nCode, WPARAM wParam, LPARAM lParam) {
  // A negative code must go on untouched: the message data is not ours to read then.
  if (nCode >= 0 && hookKeyboard) {
    const auto* message = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
    const POINT pt = message->pt;
    auto action = keyvane::input::HookAction::PassOn;
    keyvane::win32::Guarded([&] {
      const auto window = keyvane::win32::ShellWindows::IsPanelButton(message->hwnd)
                              ? keyvane::tracking::MessageWindow::PanelButton
                              : keyvane::tracking::MessageWindow::Other;
      action = hookKeyboard->OnMouseMessage(keyvane::win32::MouseMessageOf(wParam), {pt.x, pt.y},
                                            keyvane::win32::OriginOf(message->dwExtraInfo), window);
    });
    if (action == keyvane::input::HookAction::Consume) return -1;
  }
  return CallNextHookEx(mouseHookHandle, nCode, wParam, lParam);
}

#include "win32/mouse_hook.h"

#include "win32/error_box.h"
#include "win32/input_services.h"

namespace {

HHOOK mouseHookHandle = nullptr;
keyvane::app::Keyboard* hookKeyboard = nullptr;

}  // namespace

namespace keyvane::win32 {

bool Win32MouseHook::Install() {
  mouseHookHandle = SetWindowsHookExA(WH_MOUSE, HookProc, nullptr, GetCurrentThreadId());
  return mouseHookHandle != nullptr;
}

void Win32MouseHook::Remove() { UnhookWindowsHookEx(mouseHookHandle); }

MouseHookRoute::MouseHookRoute(app::Keyboard& keyboard) { hookKeyboard = &keyboard; }

MouseHookRoute::~MouseHookRoute() { hookKeyboard = nullptr; }

}  // namespace keyvane::win32

extern "C" LRESULT CALLBACK HookProc(int nCode, WPARAM wParam, LPARAM lParam) {
  // A negative code must go on untouched: the message data is not ours to read then.
  if (nCode >= 0 && hookKeyboard) {
    const auto* message = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
    const POINT pt = message->pt;
    auto action = keyvane::tracking::HookAction::PassOn;
    keyvane::win32::Guarded([&] {
      action = hookKeyboard->OnMouseHook(nCode, static_cast<std::uint32_t>(wParam), {pt.x, pt.y},
                                         keyvane::win32::OriginOf(message->dwExtraInfo));
    });
    if (action == keyvane::tracking::HookAction::Consume) return -1;
  }
  return CallNextHookEx(mouseHookHandle, nCode, wParam, lParam);
}

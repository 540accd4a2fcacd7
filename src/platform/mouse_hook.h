#pragma once

namespace keyvane::platform {

// The WH_MOUSE hook on the user-interface thread; the hook procedure itself calls
// app::Keyboard::OnMouseHook.
class MouseHook {
 public:
  virtual ~MouseHook() = default;
  // SetWindowsHookExA(WH_MOUSE, HookProc, nullptr, GetCurrentThreadId()); true when a handle came back.
  virtual bool Install() = 0;
  // UnhookWindowsHookEx(MouseHookHandle).
  virtual void Remove() = 0;
};

}  // namespace keyvane::platform

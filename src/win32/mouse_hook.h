#pragma once

#include <windows.h>

#include "app/keyboard.h"

namespace keyvane::win32 {

// The message a mouse-message id stands for in the panel hook's rules.
input::MouseMessage MouseMessageOf(WPARAM id);

// The WH_MOUSE hook on this thread; its procedure hands every mouse message to the keyboard.
// Installing returns whether a hook handle came back.
bool InstallMouseHook();
void RemoveMouseHook();

// While it lives, the hook procedure reaches this keyboard; without one, messages pass on.
class MouseHookRoute {
 public:
  explicit MouseHookRoute(app::Keyboard& keyboard);
  ~MouseHookRoute();
  MouseHookRoute(const MouseHookRoute&) = delete;
  MouseHookRoute& operator=(const MouseHookRoute&) = delete;
};

}  // namespace keyvane::win32

// Exported by name, as the hook procedure of the program.
extern "C" __declspec(dllexport) LRESULT CALLBACK HookProc(int nCode, WPARAM wParam, LPARAM lParam);

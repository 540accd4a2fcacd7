#include "win32/panel_tap_hook.h"

#include <algorithm>
#include <climits>

#include "input/panel_tap_filter.h"
#include "win32/function_lookup.h"
#include "win32/mouse_hook.h"
#include "win32/platform_roles.h"

namespace keyvane::win32 {
namespace {

using WindowFromPhysicalPointFunction = HWND(WINAPI*)(POINT);
using PhysicalToLogicalFunction = BOOL(WINAPI*)(HWND, LPPOINT);

constexpr WPARAM kOwnInputBit = 0x10000;
constexpr DWORD kStartTimeoutMs = 5000;
constexpr DWORD kStopTimeoutMs = 2000;

// What the hook procedure reads: set before the hook's thread starts, fixed while it runs.
struct TapRoute {
  HWND tapWindow = nullptr;
  bool (*isPanelButton)(HWND window) = nullptr;
  WindowFromPhysicalPointFunction windowFromPhysicalPoint = nullptr;  // from Vista on
  PhysicalToLogicalFunction physicalToLogical = nullptr;              // from Vista on
  input::PanelTapFilter filter;                                       // the hook's thread's alone
};
TapRoute route;

bool IsButtonMessage(input::MouseMessage message) {
  return message != input::MouseMessage::Move && message != input::MouseMessage::Other;
}

HWND PanelButtonAt(POINT physical) {
  HWND window = route.windowFromPhysicalPoint ? route.windowFromPhysicalPoint(physical) : WindowFromPoint(physical);
  return window && route.isPanelButton(window) ? window : nullptr;
}

// Keyvane is not DPI-aware: where Windows scales its windows, the hook's point is in physical
// pixels and the windows' rectangles are not. The point is mapped, and kept on the button it
// landed on, so that rounding between the two scales cannot move it off.
POINT LogicalPoint(HWND button, POINT physical) {
  POINT point = physical;
  if (route.physicalToLogical) route.physicalToLogical(GetAncestor(button, GA_ROOT), &point);
  RECT bounds{};
  GetWindowRect(button, &bounds);
  point.x = std::clamp(point.x, bounds.left, bounds.right - 1);
  point.y = std::clamp(point.y, bounds.top, bounds.bottom - 1);
  return point;
}

LRESULT CALLBACK TapProc(int code, WPARAM wParam, LPARAM lParam) {
  const input::MouseMessage message = MouseMessageOf(wParam);
  if (code == HC_ACTION && IsButtonMessage(message)) {
    const auto* event = reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam);
    HWND button = PanelButtonAt(event->pt);
    const input::TapRoute decision = route.filter.Route(message, button != nullptr);
    if (decision != input::TapRoute::PassOn) {
      // Off the panels, a point no button holds.
      const POINT point = button ? LogicalPoint(button, event->pt) : POINT{SHRT_MIN, SHRT_MIN};
      WPARAM tap = static_cast<WPARAM>(message);
      if (OriginOf(event->dwExtraInfo) == platform::InputOrigin::Keyvane) tap |= kOwnInputBit;
      const LPARAM at = MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y));
      // A message that cannot be posted goes on: the thread hook may still see it.
      if (PostMessageW(route.tapWindow, kPanelTapMessage, tap, at) && decision == input::TapRoute::Take) return 1;
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

PanelTap PanelTapOf(WPARAM wParam, LPARAM lParam) {
  return {static_cast<input::MouseMessage>(wParam & ~kOwnInputBit),
          {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))},
          wParam & kOwnInputBit ? platform::InputOrigin::Keyvane : platform::InputOrigin::User};
}

bool PanelTapHook::Start(HWND tapWindow, bool (*isPanelButton)(HWND window)) {
  route.tapWindow = tapWindow;
  route.isPanelButton = isPanelButton;
  // Looked up by name: Windows XP has none of them.
  const HMODULE user32 = GetModuleHandleW(L"user32.dll");
  route.windowFromPhysicalPoint = FunctionIn<WindowFromPhysicalPointFunction>(user32, "WindowFromPhysicalPoint");
  // From Windows 8.1 on, only the per-monitor function still converts.
  route.physicalToLogical = FunctionIn<PhysicalToLogicalFunction>(user32, "PhysicalToLogicalPointForPerMonitorDPI");
  if (!route.physicalToLogical)
    route.physicalToLogical = FunctionIn<PhysicalToLogicalFunction>(user32, "PhysicalToLogicalPoint");

  ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!ready_) return false;
  thread_ = CreateThread(nullptr, 0, Run, this, 0, &threadId_);
  const bool started = thread_ && WaitForSingleObject(ready_, kStartTimeoutMs) == WAIT_OBJECT_0;
  CloseHandle(ready_);
  ready_ = nullptr;
  if (started && hook_) return true;
  Stop();
  return false;
}

void PanelTapHook::Stop() {
  if (!thread_) return;
  PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
  WaitForSingleObject(thread_, kStopTimeoutMs);
  CloseHandle(thread_);
  thread_ = nullptr;
  hook_ = nullptr;
}

DWORD WINAPI PanelTapHook::Run(LPVOID self) {
  auto& hook = *static_cast<PanelTapHook*>(self);
  // Windows removes a low-level hook that once answers too late; the procedure only posts, so
  // running it ahead of every other thread costs nothing.
  SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
  route.filter = {};  // a new hook has taken no press yet
  MSG message;
  PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue, for the quit message
  hook.hook_ = SetWindowsHookExW(WH_MOUSE_LL, TapProc, GetModuleHandleW(nullptr), 0);
  const HHOOK installed = hook.hook_;
  SetEvent(hook.ready_);
  if (!installed) return 0;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  UnhookWindowsHookEx(installed);
  return 0;
}

}  // namespace keyvane::win32

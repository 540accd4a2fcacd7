#include "win32/shell_windows.h"

#include <shellapi.h>

#include <cwchar>
#include <iterator>
#include <string>
#include <utility>

#include "win32/cp932_text.h"
#include "win32/function_lookup.h"
#include "win32/mouse_hook.h"
#include "win32/platform_roles.h"
#include "win32/window_handler.h"

namespace keyvane::win32 {
namespace {

using platform::PanelSide;

constexpr wchar_t kApplicationClass[] = L"TApplication";
// The left panel's, the right panel's and the tab's (MINIMAM): each holds buttons.
constexpr wchar_t kPanelClasses[3][5] = {L"TKB1", L"TKB2", L"TKBT"};
constexpr UINT_PTR kTrackingTimer = 1;
constexpr UINT_PTR kKeyHoldTimer = 2;    // on the left panel
constexpr UINT_PTR kKeyRepeatTimer = 3;  // on the left panel
constexpr UINT kTrackingInterval = 100;

// Windows 8's pointer activation; the headers declare it only for builds aimed at Windows 8.
constexpr UINT kPointerActivate = 0x024B;  // WM_POINTERACTIVATE
constexpr LRESULT kPointerNoActivate = 3;  // PA_NOACTIVATE
// The tablet message and flags of tpcshrd.h, which MinGW does not have.
constexpr UINT kTabletQuerySystemGestureStatus = 0x02CC;         // WM_TABLET_QUERYSYSTEMGESTURESTATUS
constexpr LRESULT kTabletDisableFlicks = 0x00010000;             // TABLET_DISABLE_FLICKS
constexpr LRESULT kTabletDisableFlickFallbackKeys = 0x00100000;  // TABLET_DISABLE_FLICKFALLBACKKEYS
constexpr LRESULT kTabletDisablePressAndHold = 0x00000001;       // TABLET_DISABLE_PRESSANDHOLD

// wtsapi32's NOTIFY_FOR_THIS_SESSION, without its header.
constexpr DWORD kNotifyForThisSession = 0;
using RegisterSessionNotification = BOOL(WINAPI*)(HWND, DWORD);
using UnregisterSessionNotification = BOOL(WINAPI*)(HWND);

WNDPROC standardButtonProc = nullptr;

template <PanelSide side>
LRESULT OnPanelMessage(PanelMessages& messages, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return messages.OnPanelMessage(side, window, message, wParam, lParam);
}

LRESULT OnTabMessage(PanelMessages& messages, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return messages.OnTabMessage(window, message, wParam, lParam);
}

// In the order of kPanelClasses.
constexpr WNDPROC kPanelProcs[3] = {HandlingProc<PanelMessages, OnPanelMessage<PanelSide::Left>>,
                                    HandlingProc<PanelMessages, OnPanelMessage<PanelSide::Right>>,
                                    HandlingProc<PanelMessages, OnTabMessage>};

}  // namespace

ShellWindows::ShellWindows(HINSTANCE instance, TrayIcon& tray, std::wstring programFolder)
    : instance_(instance),
      tray_(tray),
      programFolder_(std::move(programFolder)),
      black_(static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))) {
  WNDCLASSW applicationClass{};
  applicationClass.lpfnWndProc = DefWindowProcW;
  applicationClass.hInstance = instance;
  applicationClass.lpszClassName = kApplicationClass;
  RegisterClassW(&applicationClass);
  application_ =
      CreateWindowExW(0, kApplicationClass, L"Keyvane", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr);

  static_assert(std::size(kPanelProcs) == std::size(kPanelClasses));
  for (std::size_t i = 0; i < std::size(kPanelClasses); ++i) {
    WNDCLASSW panelClass{};
    panelClass.lpfnWndProc = kPanelProcs[i];
    panelClass.hInstance = instance;
    panelClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    panelClass.hbrBackground = black_;
    panelClass.lpszClassName = kPanelClasses[i];
    RegisterClassW(&panelClass);
  }
}

ShellWindows::~ShellWindows() {
  // Normally gone already (the panels go while their handler lives); this covers a start-up cut short.
  Destroy(PanelSide::Right);
  Destroy(PanelSide::Left);
  if (application_) DestroyWindow(application_);
}

// One button, owner-drawn as the panels' are, in a window that is never activated and has no
// taskbar button: taps on it reach the hooks as the panels' do.
HWND ShellWindows::CreateButton(HWND parent, int row, const platform::Rect& b) {
  HWND button =
      CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, b.left, b.top, b.width, b.height, parent,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(row + 1)), instance_, nullptr);
  const auto standard =
      reinterpret_cast<WNDPROC>(SetWindowLongPtrW(button, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ButtonProc)));
  if (!standardButtonProc) standardButtonProc = standard;
  return button;
}

void ShellWindows::Create(PanelSide side, PanelMessages& messages) {
  const int i = Index(side);
  // Owned by the hidden application window, so the panels have no taskbar button.
  // Never activated, whatever route a touch takes: the focus stays with the window typed into.
  HWND panel = CreateWindowExW(WS_EX_TOPMOST | WS_EX_LAYERED | WS_EX_NOACTIVATE, kPanelClasses[i], L"",
                               WS_POPUP | WS_CLIPCHILDREN, 0, 0, platform::kButtonLayout[0].width,
                               platform::kPanelHeight, application_, nullptr, instance_, &messages);
  // Black is not drawn and lets the mouse through to the window below.
  SetLayeredWindowAttributes(panel, RGB(0, 0, 0), 0, LWA_COLORKEY);
  panels_[i] = panel;
  for (int row = 0; row < platform::kButtonsPerPanel; ++row) {
    buttons_[i][row] = CreateButton(panel, row, platform::kButtonLayout[row]);
  }
  if (side == PanelSide::Left) HearSessionChanges(panel);
}

// An unlock tells the left panel that Windows may have removed the low-level hook meanwhile.
// Looked up by name, so that a system without the session service still starts.
void ShellWindows::HearSessionChanges(HWND panel) {
  sessionApi_ = LoadLibraryW(L"wtsapi32.dll");
  const auto hear = FunctionIn<RegisterSessionNotification>(sessionApi_, "WTSRegisterSessionNotification");
  if (!hear || !hear(panel, kNotifyForThisSession)) {
    if (sessionApi_) FreeLibrary(sessionApi_);
    sessionApi_ = nullptr;
  }
}

void ShellWindows::StopHearingSessionChanges(HWND panel) {
  if (!sessionApi_) return;
  const auto stop = FunctionIn<UnregisterSessionNotification>(sessionApi_, "WTSUnRegisterSessionNotification");
  if (stop) stop(panel);
  FreeLibrary(sessionApi_);
  sessionApi_ = nullptr;
}

void ShellWindows::StartTimer() { SetTimer(Panel(PanelSide::Right), kTrackingTimer, kTrackingInterval, nullptr); }

void ShellWindows::Destroy(PanelSide side) {
  HWND& panel = panels_[Index(side)];
  if (side == PanelSide::Left) {
    StopHearingSessionChanges(panel);
    if (tab_) DestroyWindow(tab_);
    tab_ = nullptr;
  }
  if (panel && IsWindow(panel)) DestroyWindow(panel);
  panel = nullptr;
}

platform::WindowHandle ShellWindows::PanelWindow(PanelSide side) {
  return reinterpret_cast<platform::WindowHandle>(Panel(side));
}

platform::Rect ShellWindows::PanelBounds(PanelSide side) {
  RECT r{};
  GetWindowRect(Panel(side), &r);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

platform::Rect ShellWindows::ButtonBounds(PanelSide side, int row) {
  RECT panel{};
  RECT button{};
  GetWindowRect(Panel(side), &panel);
  GetWindowRect(buttons_[Index(side)][row], &button);
  return {button.left - panel.left, button.top - panel.top, button.right - button.left, button.bottom - button.top};
}

void ShellWindows::SetPanelWidth(PanelSide side, int width) {
  SetWindowPos(Panel(side), nullptr, 0, 0, width, platform::kPanelHeight, SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
}

void ShellWindows::SetPanelTitle(PanelSide side, std::string_view title) {
  SetWindowTextA(Panel(side), std::string(title).c_str());
}

void ShellWindows::MovePanel(PanelSide side, platform::Point topLeft) {
  SetWindowPos(Panel(side), nullptr, topLeft.x, topLeft.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
}

void ShellWindows::SetButtonHeld(PanelSide side, int row, bool held) {
  HWND button = buttons_[Index(side)][row];
  ButtonFace::MarkHeld(button, held);
  InvalidateRect(button, nullptr, FALSE);
}

void ShellWindows::SetCaption(PanelSide side, int row, std::string_view caption) {
  std::wstring text = WideFromCp932(caption);
  std::wstring& shown = captions_[Index(side)][row];
  if (text == shown) return;  // most switches return to the page already shown
  HWND button = buttons_[Index(side)][row];
  // The button class would repaint at once on every WM_SETTEXT, inside the mouse hook, while
  // the target waits for its keys; the window procedure's default only stores the text, so
  // changed buttons are painted once, at the next WM_PAINT.
  DefWindowProcW(button, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  // Neighbouring buttons overlap by a row, where the lower button's top edge shows; leave
  // that row out, so a lone repaint looks the same as repainting the whole column in order.
  const platform::Rect& b = platform::kButtonLayout[row];
  RECT changed{0, 0, b.width, b.height};
  if (row + 1 < platform::kButtonsPerPanel) changed.bottom = platform::kButtonLayout[row + 1].top - b.top;
  InvalidateRect(button, &changed, FALSE);
  shown = std::move(text);
}

void ShellWindows::ShowPanel(PanelSide side) {
  // Never activated: the keyboard focus stays with the window the user types into.
  ShowWindow(Panel(side), SW_SHOWNOACTIVATE);
}

void ShellWindows::ShowTab(platform::Rect bounds, std::string_view caption) {
  if (!tab_) {
    // It stands for the panels: what handles the left panel handles it.
    PanelMessages* messages = HandlerOf<PanelMessages>(Panel(PanelSide::Left));
    tab_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, kPanelClasses[2], L"", WS_POPUP, 0, 0, 0, 0, application_,
                           nullptr, instance_, messages);
    tabButton_ = CreateButton(tab_, 0, {});
  }
  DefWindowProcW(tabButton_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(WideFromCp932(caption).c_str()));
  MoveWindow(tabButton_, 0, 0, bounds.width, bounds.height, FALSE);
  SetWindowPos(tab_, HWND_TOPMOST, bounds.left, bounds.top, bounds.width, bounds.height,
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void ShellWindows::HideTab() {
  if (tab_) ShowWindow(tab_, SW_HIDE);
}

bool ShellWindows::InstallMouseHook() {
  const bool threadHook = win32::InstallMouseHook();
  const bool tapHook = tapHook_.Start(Panel(PanelSide::Left), IsPanelButton);
  return threadHook || tapHook;
}

void ShellWindows::RemoveMouseHook() {
  tapHook_.Stop();
  win32::RemoveMouseHook();
}

// The old hook goes first, whether Windows removed it or not: two would hand on every tap twice.
bool ShellWindows::RenewMouseHook() {
  tapHook_.Stop();
  return tapHook_.Start(Panel(PanelSide::Left), IsPanelButton);
}

// Asked on the low-level hook's thread too: only the window system is read, nothing of this object.
bool ShellWindows::IsPanelButton(HWND window) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != GetCurrentProcessId()) return false;
  wchar_t parentClass[8] = L"";
  GetClassNameW(GetAncestor(window, GA_PARENT), parentClass, 8);
  for (const wchar_t* panelClass : kPanelClasses) {
    if (std::wcscmp(parentClass, panelClass) == 0) return true;
  }
  return false;
}

void ShellWindows::HideTrayIcon() { tray_.Hide(); }

void ShellWindows::ShowTrayBalloon(std::string_view text) { tray_.ShowBalloon(text); }

void ShellWindows::Quit() { PostQuitMessage(0); }

void ShellWindows::OpenMenuBeside(PanelSide side, int row) {
  RECT button{};
  GetWindowRect(buttons_[Index(side)][row], &button);
  // Toward the middle of the screen, level with the button's top.
  const bool left = side == PanelSide::Left;
  tray_.RequestMenuAt(POINT{left ? button.right : button.left, button.top}, !left);
}

std::string ShellWindows::StartProgram(std::string_view program, std::string_view arguments) {
  std::wstring file = WideFromCp932(program);
  // A relative path that names a file in Keyvane's folder starts that file; a bare name such as
  // notepad.exe or a web address goes to the shell as written.
  const std::wstring besideKeyvane = programFolder_ + file;
  const bool relative = file.find(L':') == std::wstring::npos && !file.starts_with(L'\\');
  if (relative && GetFileAttributesW(besideKeyvane.c_str()) != INVALID_FILE_ATTRIBUTES) file = besideKeyvane;
  const std::wstring parameters = WideFromCp932(arguments);
  SHELLEXECUTEINFOW run{};
  run.cbSize = sizeof(run);
  run.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;  // no error box; done before the press returns
  run.lpVerb = L"open";
  run.lpFile = file.c_str();
  run.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
  run.lpDirectory = programFolder_.c_str();
  run.nShow = SW_SHOWNORMAL;
  // Keyvane never takes the foreground, so it hands the right to come to the front on.
  AllowSetForegroundWindow(ASFW_ANY);
  if (ShellExecuteExW(&run)) return {};
  const DWORD error = GetLastError();
  wchar_t* text = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  if (length == 0) return "error " + std::to_string(error);
  std::string reason = Cp932FromWide(std::wstring_view(text, length));
  LocalFree(text);
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == '.')) reason.pop_back();
  return reason;
}

void ShellWindows::CallBackToReleaseKeys(std::uint32_t milliseconds) {
  // Setting a timer of the same id again replaces it.
  SetTimer(Panel(PanelSide::Left), kKeyHoldTimer, milliseconds, nullptr);
}

void ShellWindows::CallBackToRepeatKeys(std::uint32_t milliseconds) {
  SetTimer(Panel(PanelSide::Left), kKeyRepeatTimer, milliseconds, nullptr);
}

// The process's own command line, split as the C runtime splits it; read once, since the
// placement asks for it at every tick.
std::vector<std::string> ShellWindows::Arguments() {
  if (!arguments_) {
    arguments_.emplace();
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!words) return *arguments_;
    for (int i = 0; i < count; ++i) arguments_->push_back(Cp932FromWide(words[i]));
    LocalFree(words);
  }
  return *arguments_;
}

// A standard button takes the keyboard focus when pressed, and with it the foreground from the
// window typed into. These buttons are pressed without it; this matters only when the mouse hook
// is gone, since the hook keeps every click away from the buttons.
LRESULT CALLBACK ShellWindows::ButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kTabletQuerySystemGestureStatus:  // asked of the window under the pen or finger
      return SendMessageW(GetParent(button), message, wParam, lParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:  // a quick second tap is a press like the first
      SetCapture(button);
      SendMessageW(button, BM_SETSTATE, TRUE, 0);
      return 0;
    case WM_MOUSEMOVE:
      if (GetCapture() == button) {
        RECT r{};
        GetClientRect(button, &r);
        const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        SendMessageW(button, BM_SETSTATE, PtInRect(&r, at), 0);
      }
      return 0;
    case WM_LBUTTONUP:
      if (GetCapture() == button) {
        const bool pressed = (SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
        ReleaseCapture();
        SendMessageW(button, BM_SETSTATE, FALSE, 0);
        if (pressed) {
          SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                       reinterpret_cast<LPARAM>(button));
        }
      }
      return 0;
    default: return CallWindowProcW(standardButtonProc, button, message, wParam, lParam);
  }
}

LRESULT PanelMessages::OnPanelMessage(PanelSide side, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DRAWITEM: face_.Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    // A touch on Windows 8 and later asks this instead, and would activate the panel.
    case kPointerActivate: return kPointerNoActivate;
    // A flick would scroll or go back in the window typed into, or send its keys; press and hold
    // stays, since its right click turns the page for a finger, except over a button that repeats
    // while held: Windows would hold its touch's button-down back until it knew.
    case kTabletQuerySystemGestureStatus: {
      const platform::Point at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      return kTabletDisableFlicks | kTabletDisableFlickFallbackKeys |
             (keyboard_.RepeatsAt(at) ? kTabletDisablePressAndHold : 0);
    }
    case kPanelTapMessage: {
      // Already swallowed by the low-level hook: what the rules answer no longer matters.
      const PanelTap tap = PanelTapOf(wParam, lParam);
      keyboard_.OnPanelTap(tap.message, tap.point, tap.origin);
      return 0;
    }
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) >= 1 && LOWORD(wParam) <= platform::kButtonsPerPanel) {
        // The button reports the click while its button-up message is being handled.
        keyboard_.OnButtonClick(side, LOWORD(wParam) - 1, OriginOf(static_cast<ULONG_PTR>(GetMessageExtraInfo())));
        return 0;
      }
      break;
    case WM_TIMER:
      if (side == PanelSide::Right && wParam == kTrackingTimer) {
        keyboard_.OnTimerTick();
        return 0;
      }
      if (side == PanelSide::Left && wParam == kKeyHoldTimer) {
        KillTimer(window, kKeyHoldTimer);  // once
        keyboard_.OnKeyHoldOver();
        return 0;
      }
      if (side == PanelSide::Left && wParam == kKeyRepeatTimer) {
        KillTimer(window, kKeyRepeatTimer);  // once; the repeat asks again
        keyboard_.OnKeyRepeatDue();
        return 0;
      }
      break;
    case WM_CLOSE:
      if (side == PanelSide::Left) {
        // The main window: closing it ends the program.
        if (keyboard_.OnLeftPanelCloseQuery()) {
          keyboard_.OnLeftPanelClose();
          PostQuitMessage(0);
        }
      } else {
        ShowWindow(window, SW_HIDE);
      }
      return 0;
    case WM_QUERYENDSESSION:
    case WM_ENDSESSION:
    case WM_POWERBROADCAST:
    case WM_WTSSESSION_CHANGE:
      // Every top-level window hears them; the left panel speaks for Keyvane.
      if (side == PanelSide::Left) return OnSessionMessage(message, wParam);
      break;
    case WM_SHOWWINDOW:
      // Sent before the panel hides or shows, also by a second copy's ShowWindow.
      if (wParam == FALSE)
        keyboard_.OnPanelHiding();
      else
        keyboard_.OnPanelShown();
      break;
    case WM_DISPLAYCHANGE:
      if (side == PanelSide::Left) desktop_.DisplayChanged();
      break;
    case WM_DESTROY:
      if (side == PanelSide::Right) keyboard_.OnRightPanelDestroy();
      return 0;
    default: break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// The tab looks and takes a touch as a panel does; its click without hooks brings the panels back.
LRESULT PanelMessages::OnTabMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DRAWITEM:
    case WM_MOUSEACTIVATE:
    case kPointerActivate:
    case kTabletQuerySystemGestureStatus: return OnPanelMessage(PanelSide::Left, window, message, wParam, lParam);
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED) keyboard_.OnTabClick(OriginOf(static_cast<ULONG_PTR>(GetMessageExtraInfo())));
      return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

LRESULT PanelMessages::OnSessionMessage(UINT message, WPARAM wParam) {
  switch (message) {
    // Never stands in the way of the session's end.
    case WM_QUERYENDSESSION: return keyboard_.OnSessionEndQuery() ? TRUE : FALSE;
    case WM_ENDSESSION: keyboard_.OnSessionEnd(wParam != FALSE); return 0;
    case WM_POWERBROADCAST:
      if (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND) keyboard_.OnSystemResumed();
      return TRUE;
    default:
      if (wParam == WTS_SESSION_UNLOCK) keyboard_.OnSessionUnlocked();
      return 0;
  }
}

}  // namespace keyvane::win32

#include "win32/tray_icon.h"

#include <cstring>

#include "win32/cp932_text.h"
#include "win32/function_lookup.h"
#include "win32/resource_ids.h"
#include "win32/window_handler.h"

namespace keyvane::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"TTrayIconWindow";
constexpr UINT kCallbackMessage = WM_USER + 1;
constexpr UINT kOpenMenuMessage = WM_USER + 2;  // wParam: right-aligned; lParam: the point
constexpr UINT kIconId = 1;
constexpr UINT_PTR kAddRetryTimer = 1;
constexpr UINT kAddRetryMs = 2000;
// ChangeWindowMessageFilter's "let it through", declared only for builds aimed at Vista and later.
constexpr DWORD kMessageFilterAdd = 1;  // MSGFLT_ADD
constexpr UINT_PTR kAboutItem = 1;
constexpr UINT_PTR kQuitItem = 2;
constexpr UINT_PTR kReloadItem = 3;
constexpr wchar_t kAboutCaption[] = L"About(&A)";
constexpr wchar_t kReloadCaption[] = L"\x518D\x8AAD\x307F\x8FBC\x307F(&R)";  // 再読み込み(&R)
constexpr wchar_t kQuitCaption[] = L"\x7D42\x4E86(&Q)";                      // 終了(&Q)

LRESULT HandleTrayMessage(TrayMenu& menu, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return menu.Handle(window, message, wParam, lParam);
}

}  // namespace

TrayIcon::TrayIcon(HINSTANCE instance) : instance_(instance) {
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = HandlingProc<TrayMenu, HandleTrayMessage>;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kWindowClass;
  RegisterClassW(&windowClass);
  picture_ = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(KEYVANE_ICON), IMAGE_ICON, 16, 16, 0));
  // Explorer tells every top-level window when its notification area is made anew (a restart,
  // a crash). Run as administrator, Keyvane would not hear it: Windows drops registered messages
  // from a program of a lower integrity level unless they are let through. Windows XP has no
  // such filter and no function for it.
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
  using ChangeMessageFilter = BOOL(WINAPI*)(UINT, DWORD);
  const auto allow = FunctionIn<ChangeMessageFilter>(GetModuleHandleW(L"user32.dll"), "ChangeWindowMessageFilter");
  if (allow && taskbarCreated_) allow(taskbarCreated_, kMessageFilterAdd);
}

TrayIcon::~TrayIcon() {
  if (picture_) DestroyIcon(picture_);
}

void TrayIcon::CreateWindowFor(TrayMenu& menu) {
  // A tool window: shown, empty, while the menu is open, and never on the taskbar.
  window_ =
      CreateWindowExW(WS_EX_TOOLWINDOW, kWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance_, &menu);
}

void TrayIcon::DestroyWindowOfMenu() {
  Hide();
  DestroyWindow(window_);
  window_ = nullptr;
}

NOTIFYICONDATAA TrayIcon::Record() const {
  NOTIFYICONDATAA record{};
  record.cbSize = NOTIFYICONDATAA_V2_SIZE;  // 488 bytes
  record.hWnd = window_;
  record.uID = kIconId;
  record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record.uCallbackMessage = kCallbackMessage;
  record.hIcon = picture_;
  std::strcpy(record.szTip, "Keyvane");
  return record;
}

void TrayIcon::Show() {
  if (wanted_) return;
  wanted_ = true;
  AddOrRetry();
}

void TrayIcon::AddOrRetry() {
  NOTIFYICONDATAA record = Record();
  // A shell that still has the icon (the message came without a restart) refuses the add and
  // takes the modify.
  added_ = Shell_NotifyIconA(NIM_ADD, &record) || Shell_NotifyIconA(NIM_MODIFY, &record);
  if (added_) {
    KillTimer(window_, kAddRetryTimer);
  } else {
    SetTimer(window_, kAddRetryTimer, kAddRetryMs, nullptr);
  }
}

void TrayIcon::Hide() {
  if (!wanted_) return;
  wanted_ = false;
  KillTimer(window_, kAddRetryTimer);
  // A shell that restarted behind Keyvane's back no longer knows the icon and refuses: nothing is lost.
  if (added_) {
    NOTIFYICONDATAA record = Record();
    Shell_NotifyIconA(NIM_DELETE, &record);
  }
  added_ = false;
}

void TrayIcon::ShowBalloon(std::string_view text) {
  if (!added_) return;
  // The wide record: the balloon's text may hold any Japanese character. The version-2 size
  // is the first that has the balloon fields.
  NOTIFYICONDATAW record{};
  record.cbSize = NOTIFYICONDATAW_V2_SIZE;
  record.hWnd = window_;
  record.uID = kIconId;
  record.uFlags = NIF_INFO;
  const std::wstring wide = WideFromCp932(text);
  lstrcpynW(record.szInfo, wide.c_str(), ARRAYSIZE(record.szInfo));
  lstrcpynW(record.szInfoTitle, L"Keyvane", ARRAYSIZE(record.szInfoTitle));
  record.dwInfoFlags = NIIF_WARNING;
  Shell_NotifyIconW(NIM_MODIFY, &record);
}

void TrayIcon::RequestMenuAt(POINT at, bool rightAligned) {
  PostMessageW(window_, kOpenMenuMessage, rightAligned ? 1 : 0, MAKELPARAM(at.x, at.y));
}

TrayMenu::TrayMenu(TrayIcon& icon, app::Keyboard& keyboard, std::function<void(const app::Keyboard&)> showAbout)
    : icon_(icon), keyboard_(keyboard), showAbout_(std::move(showAbout)) {
  icon_.CreateWindowFor(*this);
}

TrayMenu::~TrayMenu() { icon_.DestroyWindowOfMenu(); }

void TrayMenu::Open(HWND window, POINT at, UINT alignment) {
  keyboard_.OnOwnWindowOpening();
  // The icon's own window owns the menu, so no panel is ever activated. It has no size and is
  // shown only while the menu is open: a hidden window cannot take the foreground everywhere,
  // and without the foreground the menu would not close when the user clicks elsewhere.
  ShowWindow(window, SW_SHOWNA);
  SetForegroundWindow(window);
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, kAboutItem, kAboutCaption);
  AppendMenuW(menu, MF_STRING, kReloadItem, kReloadCaption);
  AppendMenuW(menu, MF_STRING, kQuitItem, kQuitCaption);
  const UINT_PTR chosen =
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON | alignment, at.x, at.y, 0, window, nullptr);
  PostMessageW(window, WM_NULL, 0, 0);
  ShowWindow(window, SW_HIDE);
  DestroyMenu(menu);
  if (chosen == kAboutItem) showAbout_(keyboard_);
  keyboard_.OnOwnWindowClosed();
  // After the window typed into is the target again: the new first map's input method goes to it.
  if (chosen == kReloadItem) keyboard_.OnReloadCommand();
  if (chosen == kQuitItem) keyboard_.OnQuitCommand();
}

bool TrayIcon::KeepsUp(UINT message, WPARAM wParam) {
  if (message == taskbarCreated_ && taskbarCreated_ != 0) {
    // The shell's icons went with the old notification area.
    if (wanted_) AddOrRetry();
    return true;
  }
  if (message == WM_TIMER) {
    if (wParam == kAddRetryTimer && wanted_) AddOrRetry();
    return true;
  }
  return false;
}

LRESULT TrayMenu::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (icon_.KeepsUp(message, wParam)) return 0;
  switch (message) {
    case kCallbackMessage:
      if (lParam == WM_LBUTTONUP) keyboard_.OnTrayIconClick();
      if (lParam == WM_RBUTTONUP) {
        POINT cursor{};
        GetCursorPos(&cursor);
        Open(window, cursor, TPM_LEFTALIGN);
      }
      return 0;
    case kOpenMenuMessage:
      Open(window, POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))},
           wParam != 0 ? TPM_RIGHTALIGN : TPM_LEFTALIGN);
      return 0;
    // The left panel answers for Keyvane and hides the icon if the session really ends.
    case WM_QUERYENDSESSION: return TRUE;
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace keyvane::win32

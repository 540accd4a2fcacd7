// Looks at the desktop from outside for the end-to-end tests and prints what it sees.
//   probe windows              one line per visible or titled top-level window:
//                              "<handle> <visible> <topmost> <x> <y> <width> <height> <class>\t<title>"
//   probe children <title>     the same line for each child window of the window with that title
//   probe move <title> <x> <y> moves that window as another program would, without activating it;
//                              prints "moved", or "refused" when the window system refused
//   probe close <title>        asks that window to close (WM_CLOSE), as the window system would
//   probe end-session <title> ends|cancelled
//                              asks every top-level window of that window's thread whether the
//                              session may end (WM_QUERYENDSESSION), prints "yes" when all agree, and
//                              then tells them the outcome (WM_ENDSESSION): the session ends, or
//                              another program called the end off
//   probe resume <title>       tells every top-level window of that window's thread that the system
//                              woke from sleep (WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC); prints the
//                              milliseconds they took to answer
//   probe metrics              "<screen width> <scroll bar width> <edge width>"
//   probe ping <title>         "answered" when that window handles a message within 2 s, else "no answer"
//   probe keys-down            the virtual-key codes (hex) held down in the system's input state, or nothing
//   probe hang <title> <s>     asks the test target with that title to hang until woken (s seconds at most)
//   probe hold-open <path> <s> opens (or creates) the file without sharing, prints "held", holds it s seconds
//   probe deny-mutex <name>    gives the existing mutex an empty access list, as a copy run as administrator
//                              looks to a normal user; prints "denied" once a new open of it is refused
//   probe tray-forget <class> <id>  removes the notification icon <id> of the window of that class from
//                              the notification area, as a restarting shell loses it; prints "removed"
//   probe taskbar-created      tells every top-level window "TaskbarCreated", as a restarted shell does
#include <windows.h>
// After windows.h, which they need.
#include <aclapi.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace {

// UTF-8 on one line: a line break is written as the two characters \n.
std::string OneLine(const wchar_t* text) {
  char bytes[4096];
  int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes, sizeof bytes, nullptr, nullptr);
  std::string line;
  for (const char* c = bytes; n > 0 && *c; ++c) {
    if (*c == '\n')
      line += "\\n";
    else if (*c != '\r')
      line += *c;
  }
  return line;
}

void Print(const std::string& line) {
  DWORD written = 0;
  std::string text = line + "\n";
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

void Describe(HWND window) {
  wchar_t title[1024] = L"";
  wchar_t windowClass[256] = L"";
  // WM_GETTEXT, since GetWindowText does not ask a window of another process for its text.
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(title), SMTO_ABORTIFHUNG, 2000, &copied);
  GetClassNameW(window, windowClass, 256);
  RECT r{};
  GetWindowRect(window, &r);
  const bool topmost = (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  char numbers[160];
  std::snprintf(numbers, sizeof numbers, "%lld %d %d %ld %ld %ld %ld ",
                static_cast<long long>(reinterpret_cast<INT_PTR>(window)), IsWindowVisible(window) ? 1 : 0,
                topmost ? 1 : 0, r.left, r.top, r.right - r.left, r.bottom - r.top);
  Print(numbers + OneLine(windowClass) + "\t" + OneLine(title));
}

BOOL CALLBACK DescribeTopLevel(HWND window, LPARAM) {
  wchar_t title[8] = L"";
  GetWindowTextW(window, title, 8);
  if (IsWindowVisible(window) || title[0] != 0) Describe(window);
  return TRUE;
}

BOOL CALLBACK DescribeChild(HWND window, LPARAM) {
  Describe(window);
  return TRUE;
}

BOOL CALLBACK NoteWindow(HWND window, LPARAM windows) {
  reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
  return TRUE;
}

// The top-level windows of the thread of the window with that title, as Windows tells them all
// of a session's end or of a resume; empty when there is no such window.
std::vector<HWND> WindowsOfThreadOf(const wchar_t* title) {
  std::vector<HWND> windows;
  HWND window = FindWindowW(nullptr, title);
  if (window)
    EnumThreadWindows(GetWindowThreadProcessId(window, nullptr), NoteWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring command = argc >= 2 ? argv[1] : L"";
  if (command == L"windows") {
    EnumWindows(DescribeTopLevel, 0);
    return 0;
  }
  if (command == L"children" && argc == 3) {
    HWND parent = FindWindowW(nullptr, argv[2]);
    if (!parent) return 1;
    EnumChildWindows(parent, DescribeChild, 0);
    return 0;
  }
  if (command == L"move" && argc == 5) {
    HWND window = FindWindowW(nullptr, argv[2]);
    if (!window) return 1;
    // The window's own thread carries the move out before this returns; its answer is the proof
    // that the move happened. Its place is not: the window's owner may put it back at once.
    const BOOL moved =
        SetWindowPos(window, nullptr, std::wcstol(argv[3], nullptr, 10), std::wcstol(argv[4], nullptr, 10), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Print(moved ? "moved" : "refused");
    return 0;
  }
  if (command == L"close" && argc == 3) {
    HWND window = FindWindowW(nullptr, argv[2]);
    if (!window) return 1;
    PostMessageW(window, WM_CLOSE, 0, 0);
    return 0;
  }
  if (command == L"end-session" && argc == 4) {
    const std::wstring outcome = argv[3];
    if (outcome != L"ends" && outcome != L"cancelled") return 2;
    const std::vector<HWND> windows = WindowsOfThreadOf(argv[2]);
    if (windows.empty()) return 1;
    bool allAgree = true;
    for (HWND window : windows) {
      DWORD_PTR answer = 0;
      if (!SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 8000, &answer)) return 1;
      allAgree = allAgree && answer != 0;
    }
    Print(allAgree ? "yes" : "no");
    for (HWND window : windows) {
      DWORD_PTR ignored = 0;
      SendMessageTimeoutW(window, WM_ENDSESSION, outcome == L"ends" ? TRUE : FALSE, 0, SMTO_ABORTIFHUNG, 8000,
                          &ignored);
    }
    return 0;
  }
  if (command == L"resume" && argc == 3) {
    const std::vector<HWND> windows = WindowsOfThreadOf(argv[2]);
    if (windows.empty()) return 1;
    LARGE_INTEGER frequency{}, start{}, end{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (HWND window : windows) {
      DWORD_PTR ignored = 0;
      SendMessageTimeoutW(window, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0, SMTO_ABORTIFHUNG, 8000, &ignored);
    }
    QueryPerformanceCounter(&end);
    const double ms =
        1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
    char answered[64];
    std::snprintf(answered, sizeof answered, "%.1f", ms);
    Print(answered);
    return 0;
  }
  if (command == L"metrics") {
    char numbers[64];
    std::snprintf(numbers, sizeof numbers, "%d %d %d", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CXVSCROLL),
                  GetSystemMetrics(SM_CXEDGE));
    Print(numbers);
    return 0;
  }
  if (command == L"ping" && argc == 3) {
    HWND window = FindWindowW(nullptr, argv[2]);
    DWORD_PTR result = 0;
    const bool answered = window && SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result) != 0;
    Print(answered ? "answered" : "no answer");
    return 0;
  }
  if (command == L"keys-down") {
    std::string held;
    for (int key = 1; key < 256; ++key) {
      if (GetAsyncKeyState(key) & 0x8000) {
        char code[8];
        std::snprintf(code, sizeof code, "%X ", key);
        held += code;
      }
    }
    Print(held);
    return 0;
  }
  if (command == L"hang" && argc == 4) {
    HWND window = FindWindowW(nullptr, argv[2]);
    if (!window) return 1;
    PostMessageW(window, WM_APP, static_cast<WPARAM>(std::wcstol(argv[3], nullptr, 10)), 0);
    return 0;
  }
  if (command == L"hold-open" && argc == 4) {
    HANDLE file =
        CreateFileW(argv[2], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
      Print("failed");
      return 1;
    }
    Print("held");
    Sleep(static_cast<DWORD>(std::wcstol(argv[3], nullptr, 10)) * 1000);
    CloseHandle(file);
    return 0;
  }
  if (command == L"deny-mutex" && argc == 3) {
    HANDLE mutex = OpenMutexW(READ_CONTROL | WRITE_DAC, FALSE, argv[2]);
    ACL empty{};
    if (!mutex || !InitializeAcl(&empty, sizeof empty, ACL_REVISION) ||
        SetSecurityInfo(mutex, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &empty, nullptr) !=
            ERROR_SUCCESS) {
      Print("failed");
      return 1;
    }
    const bool denied = !OpenMutexW(MUTEX_ALL_ACCESS, FALSE, argv[2]) && GetLastError() == ERROR_ACCESS_DENIED;
    Print(denied ? "denied" : "not denied");
    return denied ? 0 : 1;
  }
  if (command == L"tray-forget" && argc == 4) {
    NOTIFYICONDATAW icon{};
    icon.cbSize = NOTIFYICONDATAW_V2_SIZE;
    icon.hWnd = FindWindowW(argv[2], nullptr);
    icon.uID = static_cast<UINT>(std::wcstol(argv[3], nullptr, 10));
    const bool removed = icon.hWnd && Shell_NotifyIconW(NIM_DELETE, &icon);
    Print(removed ? "removed" : "failed");
    return removed ? 0 : 1;
  }
  if (command == L"taskbar-created") {
    SendNotifyMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    return 0;
  }
  Print(
      "usage: probe windows | children <title> | move <title> <x> <y> | close <title>\n"
      "       | end-session <title> ends|cancelled | resume <title>\n"
      "       | metrics | ping <title> | keys-down | hang <title> <seconds> | hold-open <path> <seconds>\n"
      "       | deny-mutex <name> | tray-forget <class> <id> | taskbar-created");
  return 2;
}

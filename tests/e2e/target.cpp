// The application the user types into during the end-to-end tests: a window with an edit
// control that logs, one line each and flushed at once, every key and character the edit
// control receives (with the scan code and extended-key mark of each key press), the left
// button's presses and releases in it, every focus change, and every change of the foreground window.
// A WM_APP message makes it stop pumping messages, as a hung program does, until a file named
// like its log with ".wake" added appears (the test decides when), or wParam seconds at most.
// It stands in for a Japanese input method: its default IME window answers the open-status and
// conversion-mode requests of WM_IME_CONTROL on the edit control's context, as Windows' IME
// window does, and logs every change of the open status ("IME OPEN" / "IME CLOSED") and every
// conversion mode set ("IME MODE 19": hiragana with roman input). It starts closed, in roman
// input and alphanumeric mode. With --no-ime its thread has no input method.
// Its File menu logs the loop ("MENU LOOP", "MENU END"), the item selected ("MENU SELECT 102")
// and the item chosen ("COMMAND 102"). With --list a drop-down list has the focus instead of
// the edit control and logs "LIST DROPPED", "LIST SELECT 1" and "LIST CLOSED".
#include <windows.h>

#include <imm.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

FILE* logFile = nullptr;
std::wstring wakePath;  // the file whose appearance ends a hang
WNDPROC editProc = nullptr;
WNDPROC imeWindowProc = nullptr;
HWND editWindow = nullptr;
HWND focusWindow = nullptr;  // the edit control, or the drop-down list
int editTop = 0;             // below the drop-down list when there is one
constexpr WPARAM kImcGetConversionMode = 0x0001;
constexpr WPARAM kImcSetConversionMode = 0x0002;
constexpr WPARAM kImcGetOpenStatus = 0x0005;
constexpr WPARAM kImcSetOpenStatus = 0x0006;
constexpr int kEditId = 1;
constexpr int kListId = 2;
constexpr UINT kOpenItem = 101;
constexpr UINT kSaveItem = 102;
HWND lastForeground = nullptr;
constexpr UINT_PTR kForegroundTimer = 1;

void Log(const std::string& line) {
  if (!logFile) return;
  std::fputs(line.c_str(), logFile);
  std::fputc('\n', logFile);
  std::fflush(logFile);
}

std::string Hex(unsigned value) {
  char text[16];
  std::snprintf(text, sizeof text, "%X", value);
  return text;
}

std::string Utf8(const wchar_t* text) {
  char bytes[1024];
  int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes, sizeof bytes, nullptr, nullptr);
  return n > 0 ? std::string(bytes) : std::string();
}

std::string TitleOf(HWND window) {
  if (!window) return "(none)";
  wchar_t title[512] = L"";
  GetWindowTextW(window, title, 512);
  return Utf8(title);
}

// When a key event was made, for the cases that measure how long a key stays down.
void LogKeyTime(UINT message, WPARAM wParam) {
  const bool isDown = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
  Log("KEYTIME " + Hex(static_cast<unsigned>(wParam)) + (isDown ? " DOWN " : " UP ") +
      std::to_string(static_cast<unsigned long>(GetMessageTime())));
}

LRESULT CALLBACK EditProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
      Log("KEYDOWN " + Hex(static_cast<unsigned>(wParam)));
      Log("SCAN " + Hex(static_cast<unsigned>(wParam)) + " " + Hex((lParam >> 16) & 0xFF) +
          ((lParam >> 24) & 1 ? " E" : ""));
      LogKeyTime(message, wParam);
      // Whether Shift counts as down for this key: what its character is made with.
      Log("SHIFTSTATE " + Hex(static_cast<unsigned>(wParam)) +
          ((GetKeyState(VK_SHIFT) & 0x8000) ? " SYNC-DOWN" : " SYNC-UP") +
          ((GetAsyncKeyState(VK_SHIFT) & 0x8000) ? " ASYNC-DOWN" : " ASYNC-UP"));
      break;
    case WM_KEYUP:
      Log("KEYUP " + Hex(static_cast<unsigned>(wParam)));
      LogKeyTime(message, wParam);
      break;
    case WM_SYSKEYDOWN:
      Log("SYSKEYDOWN " + Hex(static_cast<unsigned>(wParam)));
      LogKeyTime(message, wParam);
      break;
    case WM_SYSKEYUP:
      Log("SYSKEYUP " + Hex(static_cast<unsigned>(wParam)));
      LogKeyTime(message, wParam);
      break;
    case WM_CHAR: Log("CHAR " + Hex(static_cast<unsigned>(wParam))); break;
    case WM_LBUTTONDOWN: Log("LBUTTONDOWN"); break;
    case WM_LBUTTONUP: Log("LBUTTONUP"); break;
    case WM_SETFOCUS: Log("SETFOCUS"); break;
    case WM_KILLFOCUS: Log("KILLFOCUS " + TitleOf(reinterpret_cast<HWND>(wParam))); break;
    default: break;
  }
  return CallWindowProcW(editProc, edit, message, wParam, lParam);
}

DWORD ConversionMode() {
  HIMC context = ImmGetContext(editWindow);
  DWORD conversion = 0;
  DWORD sentence = 0;
  if (context) {
    ImmGetConversionStatus(context, &conversion, &sentence);
    ImmReleaseContext(editWindow, context);
  }
  return conversion;
}

void SetConversionMode(DWORD conversion) {
  HIMC context = ImmGetContext(editWindow);
  if (!context) return;
  DWORD old = 0;
  DWORD sentence = 0;
  ImmGetConversionStatus(context, &old, &sentence);
  ImmSetConversionStatus(context, conversion, sentence);
  ImmReleaseContext(editWindow, context);
}

bool OpenStatus() {
  HIMC context = ImmGetContext(editWindow);
  const bool open = context && ImmGetOpenStatus(context);
  if (context) ImmReleaseContext(editWindow, context);
  return open;
}

LRESULT CALLBACK ImeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_IME_CONTROL && wParam == kImcGetOpenStatus) return OpenStatus() ? 1 : 0;
  if (message == WM_IME_CONTROL && wParam == kImcSetOpenStatus) {
    const bool before = OpenStatus();
    HIMC context = ImmGetContext(editWindow);
    if (context) {
      ImmSetOpenStatus(context, lParam != 0);
      ImmReleaseContext(editWindow, context);
    }
    const bool after = OpenStatus();
    if (after != before) Log(after ? "IME OPEN" : "IME CLOSED");
    return 0;
  }
  if (message == WM_IME_CONTROL && wParam == kImcGetConversionMode) return ConversionMode();
  if (message == WM_IME_CONTROL && wParam == kImcSetConversionMode) {
    SetConversionMode(static_cast<DWORD>(lParam));
    Log("IME MODE " + Hex(ConversionMode()));
    return 0;
  }
  return CallWindowProcW(imeWindowProc, window, message, wParam, lParam);
}

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE: {
      HWND edit = GetDlgItem(window, kEditId);
      if (edit) MoveWindow(edit, 0, editTop, LOWORD(lParam), HIWORD(lParam) - editTop, TRUE);
      return 0;
    }
    case WM_SETFOCUS: SetFocus(focusWindow); return 0;
    case WM_ENTERMENULOOP: Log("MENU LOOP"); break;
    case WM_EXITMENULOOP: Log("MENU END"); break;
    case WM_MENUSELECT:
      if (HIWORD(wParam) != 0xFFFF && !(HIWORD(wParam) & MF_POPUP))
        Log("MENU SELECT " + std::to_string(LOWORD(wParam)));
      break;
    case WM_COMMAND:
      if (lParam == 0) {
        Log("COMMAND " + std::to_string(LOWORD(wParam)));
        return 0;
      }
      if (LOWORD(wParam) == kListId) {
        HWND list = reinterpret_cast<HWND>(lParam);
        switch (HIWORD(wParam)) {
          case CBN_DROPDOWN: Log("LIST DROPPED"); break;
          case CBN_CLOSEUP: Log("LIST CLOSED"); break;
          case CBN_SELCHANGE: Log("LIST SELECT " + std::to_string(SendMessageW(list, CB_GETCURSEL, 0, 0))); break;
          default: break;
        }
        return 0;
      }
      break;
    case WM_ACTIVATE: Log(LOWORD(wParam) == WA_INACTIVE ? "DEACTIVATE" : "ACTIVATE"); break;
    case WM_TIMER: {
      HWND foreground = GetForegroundWindow();
      if (foreground != lastForeground) {
        lastForeground = foreground;
        Log("FOREGROUND " + TitleOf(foreground));
      }
      return 0;
    }
    case WM_APP: {
      Log("HANG");
      const DWORD until = GetTickCount() + static_cast<DWORD>(wParam) * 1000;
      while (GetFileAttributesW(wakePath.c_str()) == INVALID_FILE_ATTRIBUTES &&
             static_cast<LONG>(until - GetTickCount()) > 0) {
        Sleep(20);
      }
      Log("AWAKE");
      return 0;
    }
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  const wchar_t* logPath = L"target.log";
  bool withIme = true;
  bool withList = false;
  for (int i = 1; i < count; ++i) {
    if (std::wcscmp(arguments[i], L"--no-ime") == 0)
      withIme = false;
    else if (std::wcscmp(arguments[i], L"--list") == 0)
      withList = true;
    else
      logPath = arguments[i];
  }
  logFile = _wfopen(logPath, L"w");
  wakePath = std::wstring(logPath) + L".wake";
  if (!withIme) ImmDisableIME(0);

  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = MainProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursor(nullptr, IDC_IBEAM);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = L"KeyvaneTestTarget";
  RegisterClassW(&windowClass);

  HMENU file = CreatePopupMenu();
  AppendMenuW(file, MF_STRING, kOpenItem, L"&Open");
  AppendMenuW(file, MF_STRING, kSaveItem, L"&Save");
  HMENU bar = CreateMenu();
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");

  HWND window = CreateWindowExW(0, L"KeyvaneTestTarget", L"Keyvane Target", WS_OVERLAPPEDWINDOW, 120, 80, 480, 300,
                                nullptr, bar, instance, nullptr);
  HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                              WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, 0, 0, 480, 300,
                              window, reinterpret_cast<HMENU>(kEditId), instance, nullptr);
  focusWindow = edit;
  if (withList) {
    HWND list = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST, 0, 0, 200,
                                160, window, reinterpret_cast<HMENU>(kListId), instance, nullptr);
    for (const wchar_t* item : {L"zero", L"one", L"two"}) {
      SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    SendMessageW(list, CB_SETCURSEL, 0, 0);
    focusWindow = list;
    editTop = 40;
  }
  HFONT font = CreateFontW(-20, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
  SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  editProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditProc)));
  editWindow = edit;
  SetConversionMode(IME_CMODE_ROMAN);
  if (HWND imeWindow = ImmGetDefaultIMEWnd(edit)) {
    imeWindowProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(imeWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ImeWindowProc)));
  }

  ShowWindow(window, SW_SHOWNORMAL);
  SetForegroundWindow(window);
  SetFocus(focusWindow);
  SetTimer(window, kForegroundTimer, 20, nullptr);
  Log(withIme ? (OpenStatus() ? "READY IME OPEN" : "READY IME CLOSED") : "READY NO IME");

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  if (logFile) std::fclose(logFile);
  return 0;
}

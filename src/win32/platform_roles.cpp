#include "win32/platform_roles.h"

#include <imm.h>

#include <cwchar>
#include <memory>

#include "win32/cp932_text.h"
#include "win32/function_lookup.h"
#include "win32/program_name.h"

namespace keyvane::win32 {
namespace {

// WM_IME_CONTROL requests to an IME window; MinGW's imm.h does not name them.
constexpr WPARAM kImcGetConversionMode = 0x0001;
constexpr WPARAM kImcSetConversionMode = 0x0002;
constexpr WPARAM kImcSetOpenStatus = 0x0006;

// Long enough for a busy program to answer, short enough that a press never feels it.
constexpr UINT kImeWindowTimeoutMs = 200;
// The same for a program taking its keys; a hung one is not joined and never waited for.
constexpr DWORD kKeysTakenTimeoutMs = 200;
// A registered message that nobody handles: a program that takes its messages answers it at once.
constexpr UINT kReachTestTimeoutMs = 100;
// At first the target is about to take the keys: give it the processor rather than sleep a
// whole timer period.
constexpr DWORD kKeysTakenSpinMs = 2;

// Hiragana: native characters in full shape, not katakana; the rest of the mode (roman input,
// ...) is the user's and stays.
DWORD HiraganaOf(DWORD conversion) {
  return (conversion & ~static_cast<DWORD>(IME_CMODE_KATAKANA)) | IME_CMODE_NATIVE | IME_CMODE_FULLSHAPE;
}

HWND Hwnd(platform::WindowHandle window) { return reinterpret_cast<HWND>(window); }
platform::WindowHandle Handle(HWND window) { return reinterpret_cast<platform::WindowHandle>(window); }

// Another program that has the file open (an editor showing the trace) does not stop Keyvane
// from reading, appending, deleting or moving it.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

struct HandleCloser {
  void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using FileHandle = std::unique_ptr<void, HandleCloser>;

FileHandle OpenFile(const std::wstring& path, DWORD access, DWORD disposition) {
  HANDLE handle = CreateFileW(path.c_str(), access, kShareAll, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  return FileHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

// The last sub-authority of the token's mandatory label: 0x2000 medium, 0x3000 high, and so on.
// Windows XP has no labels: the query fails there.
std::optional<std::uint32_t> TokenIntegrityLevelOf(HANDLE process) {
  HANDLE token = nullptr;
  if (!OpenProcessToken(process, TOKEN_QUERY, &token)) return std::nullopt;
  alignas(TOKEN_MANDATORY_LABEL) BYTE label[128];  // room for the label and the longest SID
  DWORD length = 0;
  std::optional<std::uint32_t> level;
  if (GetTokenInformation(token, TokenIntegrityLevel, label, sizeof label, &length)) {
    PSID sid = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(label)->Label.Sid;
    const UCHAR count = *GetSidSubAuthorityCount(sid);
    if (count > 0) level = *GetSidSubAuthority(sid, count - 1);
  }
  CloseHandle(token);
  return level;
}

BOOL CALLBACK NoteImeWindow(HWND window, LPARAM found) {
  wchar_t windowClass[8] = L"";
  GetClassNameW(window, windowClass, 8);
  if (std::wcscmp(windowClass, L"IME") != 0) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

}  // namespace

void Win32Input::SendKey(std::uint8_t virtualKey, platform::KeyDirection direction, bool extended) {
  // Programs that read scan codes (remote desktops, virtual machines, games) need the real one.
  const auto scanCode = static_cast<BYTE>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
  DWORD flags = direction == platform::KeyDirection::Up ? KEYEVENTF_KEYUP : 0;
  if (extended) flags |= KEYEVENTF_EXTENDEDKEY;
  KeyState& expected = expected_[virtualKey];
  const bool down = direction == platform::KeyDirection::Down;
  if (!expected.down) {
    // Read while nothing sent for the key is left untaken, as after the wait of the last press.
    const SHORT now = GetKeyState(virtualKey);
    expected.toggled = (now & 1) != 0;
    // Only a key that is up flips its toggle bit when it goes down; one held on the keyboard keeps it.
    if (down && (now & 0x8000) == 0) expected.toggled = !expected.toggled;
  }
  expected.down = down;
  keybd_event(virtualKey, scanCode, flags, 0);
  lastKey_ = virtualKey;
}

bool Win32Input::LastKeyTaken() const {
  const SHORT state = GetKeyState(*lastKey_);
  const KeyState& expected = expected_[*lastKey_];
  return ((state & 0x8000) != 0) == expected.down && ((state & 1) != 0) == expected.toggled;
}

void Win32Input::WaitUntilKeysTaken() {
  if (!lastKey_) return;
  const DWORD start = GetTickCount();
  while (!LastKeyTaken()) {
    const DWORD waited = GetTickCount() - start;
    if (waited >= kKeysTakenTimeoutMs) break;
    // The joined threads take their input in order, and a pointer move over a panel is this
    // thread's to take: left in front of the keys, it would hold them back.
    MSG move;
    while (PeekMessageW(&move, nullptr, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE)) DispatchMessageW(&move);
    if (waited < kKeysTakenSpinMs) {
      SwitchToThread();
    } else {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_MOUSEMOVE);
    }
  }
  lastKey_.reset();
}

void Win32Input::SendMouseButton(platform::MouseButton button, platform::KeyDirection direction) {
  const bool down = direction == platform::KeyDirection::Down;
  DWORD flags = 0;
  switch (button) {
    case platform::MouseButton::Left: flags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP; break;
    case platform::MouseButton::Right: flags = down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP; break;
    case platform::MouseButton::Middle: flags = down ? MOUSEEVENTF_MIDDLEDOWN : MOUSEEVENTF_MIDDLEUP; break;
  }
  mouse_event(flags, 0, 0, 0, kOwnInputSignature);
}

std::optional<platform::Point> Win32Input::CursorPosition() {
  // Fails while another desktop has the input; the point it leaves behind is not the cursor's.
  POINT point{};
  if (!GetCursorPos(&point)) return std::nullopt;
  return platform::Point{point.x, point.y};
}

void Win32Input::MoveCursor(platform::Point point) { SetCursorPos(point.x, point.y); }

platform::ImeContext Win32InputMethod::GetContext(platform::WindowHandle window) {
  return reinterpret_cast<platform::ImeContext>(ImmGetContext(Hwnd(window)));
}

void Win32InputMethod::SetOpenStatus(platform::ImeContext context, bool open) {
  ImmSetOpenStatus(reinterpret_cast<HIMC>(context), open ? TRUE : FALSE);
}

void Win32InputMethod::SetHiraganaMode(platform::ImeContext context) {
  const auto imc = reinterpret_cast<HIMC>(context);
  DWORD conversion = 0;
  DWORD sentence = 0;
  ImmGetConversionStatus(imc, &conversion, &sentence);
  ImmSetConversionStatus(imc, HiraganaOf(conversion), sentence);
}

void Win32InputMethod::ReleaseContext(platform::WindowHandle window, platform::ImeContext context) {
  ImmReleaseContext(Hwnd(window), reinterpret_cast<HIMC>(context));
}

platform::WindowHandle Win32InputMethod::DefaultImeWindow(platform::WindowHandle window) {
  return Handle(ImmGetDefaultIMEWnd(Hwnd(window)));
}

platform::WindowHandle Win32InputMethod::ThreadImeWindow(platform::ThreadId thread) {
  HWND found = nullptr;
  EnumThreadWindows(thread, NoteImeWindow, reinterpret_cast<LPARAM>(&found));
  return Handle(found);
}

void Win32InputMethod::SetOpenStatusThroughWindow(platform::WindowHandle imeWindow, bool open) {
  DWORD_PTR result = 0;
  SendMessageTimeoutW(Hwnd(imeWindow), WM_IME_CONTROL, kImcSetOpenStatus, open ? 1 : 0, SMTO_ABORTIFHUNG,
                      kImeWindowTimeoutMs, &result);
}

void Win32InputMethod::SetHiraganaModeThroughWindow(platform::WindowHandle imeWindow) {
  DWORD_PTR conversion = 0;
  if (!SendMessageTimeoutW(Hwnd(imeWindow), WM_IME_CONTROL, kImcGetConversionMode, 0, SMTO_ABORTIFHUNG,
                           kImeWindowTimeoutMs, &conversion)) {
    return;  // no answer: a mode made up here could take the user's roman input away
  }
  DWORD_PTR result = 0;
  SendMessageTimeoutW(Hwnd(imeWindow), WM_IME_CONTROL, kImcSetConversionMode,
                      HiraganaOf(static_cast<DWORD>(conversion)), SMTO_ABORTIFHUNG, kImeWindowTimeoutMs, &result);
}

std::uint32_t Win32Clock::TickCount() { return GetTickCount(); }

void Win32Clock::Sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }

std::wstring Win32Files::PathOf(std::string_view name) const { return folder_ + WideFromCp932(name); }

bool Win32Files::ReadAll(const std::string& name, std::string& bytes) {
  bytes.clear();
  const FileHandle file = OpenFile(PathOf(name), GENERIC_READ, OPEN_EXISTING);
  if (!file) return false;
  // Room for all of it at once, so that the text is not copied again and again as it grows.
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file.get(), &size) && size.QuadPart > 0 && size.QuadPart < (1 << 30)) {
    bytes.reserve(static_cast<std::size_t>(size.QuadPart));
  }
  char buffer[64 * 1024];
  DWORD got = 0;
  // A read error ends the data like end of file.
  while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  return true;
}

namespace {

// Kept open for at most this long: a program that deleted or replaced the file sees a new one
// within it even where the system does not tell that the open file lost its name.
constexpr DWORD kAppendedFileLifetimeMs = 1000;

// The open file's size, or none when it no longer has a name: another program deleted it
// (Windows removes it once the last handle closes; Vista and later say so). Appending to it
// would write nothing anyone reads.
std::optional<std::uint64_t> SizeWhileNamed(HANDLE file) {
  using GetInfoByHandle = BOOL(WINAPI*)(HANDLE, FILE_INFO_BY_HANDLE_CLASS, LPVOID, DWORD);
  static const auto getInfo =
      FunctionIn<GetInfoByHandle>(GetModuleHandleW(L"kernel32.dll"), "GetFileInformationByHandleEx");
  if (getInfo) {
    FILE_STANDARD_INFO info{};
    if (!getInfo(file, FileStandardInfo, &info, sizeof info) || info.DeletePending || info.NumberOfLinks == 0) {
      return std::nullopt;
    }
    return static_cast<std::uint64_t>(info.EndOfFile.QuadPart);
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(file, &info) || info.nNumberOfLinks == 0) return std::nullopt;
  return (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
}

}  // namespace

HANDLE Win32Files::AppendHandle(const std::string& name, std::uint64_t& size) {
  if (appended_ != INVALID_HANDLE_VALUE) {
    const std::optional<std::uint64_t> kept =
        name == appendedName_ && GetTickCount() - appendedSince_ < kAppendedFileLifetimeMs ? SizeWhileNamed(appended_)
                                                                                           : std::nullopt;
    if (kept) {
      size = *kept;
      return appended_;
    }
    CloseAppended();
  }
  appended_ = CreateFileW(PathOf(name).c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                          OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  appendedName_ = name;
  appendedSince_ = GetTickCount();
  LARGE_INTEGER opened{};
  if (appended_ != INVALID_HANDLE_VALUE && !GetFileSizeEx(appended_, &opened)) CloseAppended();
  size = static_cast<std::uint64_t>(opened.QuadPart);
  return appended_;
}

void Win32Files::CloseAppended() {
  if (appended_ != INVALID_HANDLE_VALUE) CloseHandle(appended_);
  appended_ = INVALID_HANDLE_VALUE;
}

std::optional<std::uint64_t> Win32Files::Append(const std::string& name, std::string_view bytes) {
  std::uint64_t size = 0;
  const HANDLE file = AppendHandle(name, size);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  DWORD written = 0;
  const auto length = static_cast<DWORD>(bytes.size());
  if (!WriteFile(file, bytes.data(), length, &written, nullptr) || written != length) {
    CloseAppended();  // opened afresh next time: the file may be back
    return std::nullopt;
  }
  return size + written;
}

void Win32Files::Remove(const std::string& name) {
  if (name == appendedName_) CloseAppended();
  DeleteFileW(PathOf(name).c_str());
}

void Win32Files::Rename(const std::string& from, const std::string& to) {
  if (from == appendedName_ || to == appendedName_) CloseAppended();
  MoveFileExW(PathOf(from).c_str(), PathOf(to).c_str(), MOVEFILE_REPLACE_EXISTING);
}

std::optional<platform::FileStamp> Win32Files::Stamp(const std::string& name) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(PathOf(name).c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return std::nullopt;
  const auto size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  const auto written =
      (static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
  return platform::FileStamp{size, static_cast<std::int64_t>(written)};
}

platform::WindowHandle Win32Desktop::FocusWindow() { return Handle(GetFocus()); }

platform::WindowHandle Win32Desktop::ForegroundWindow() { return Handle(GetForegroundWindow()); }

void Win32Desktop::GiveFocus(platform::WindowHandle window) { SetFocus(Hwnd(window)); }

void Win32Desktop::BringToForeground(platform::WindowHandle window) { SetForegroundWindow(Hwnd(window)); }

// GetWindowTextA into a 1000-byte buffer.
std::string Win32Desktop::WindowTitle(platform::WindowHandle window) {
  char title[1000] = "";
  const int length = window ? GetWindowTextA(Hwnd(window), title, sizeof title) : 0;
  return std::string(title, length > 0 ? static_cast<size_t>(length) : 0);
}

std::string Win32Desktop::WindowClass(platform::WindowHandle window) {
  char name[256] = "";
  const int length = window ? GetClassNameA(Hwnd(window), name, sizeof name) : 0;
  return std::string(name, length > 0 ? static_cast<size_t>(length) : 0);
}

platform::WindowHandle Win32Desktop::FirstChild(platform::WindowHandle window) {
  return Handle(GetWindow(Hwnd(window), GW_CHILD));
}

platform::WindowHandle Win32Desktop::ChildOfClass(platform::WindowHandle window, std::string_view className) {
  const std::string name(className);
  return Handle(FindWindowExA(Hwnd(window), nullptr, name.c_str(), nullptr));
}

bool Win32Desktop::IsVisible(platform::WindowHandle window) { return IsWindowVisible(Hwnd(window)) != FALSE; }

bool Win32Desktop::IsHung(platform::WindowHandle window) {
  return window != 0 && IsHungAppWindow(Hwnd(window)) != FALSE;
}

std::optional<std::uint32_t> Win32Desktop::IntegrityLevel(platform::WindowHandle window) {
  DWORD processId = 0;
  if (!window || !GetWindowThreadProcessId(Hwnd(window), &processId)) return std::nullopt;
  // The limited right is granted for a process of the same user at any level; Windows XP
  // does not know it and refuses.
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (!process) return std::nullopt;
  const std::optional<std::uint32_t> level = TokenIntegrityLevelOf(process);
  CloseHandle(process);
  return level;
}

std::optional<std::uint32_t> Win32Desktop::OwnIntegrityLevel() { return TokenIntegrityLevelOf(GetCurrentProcess()); }

std::optional<std::string> Win32Desktop::ProgramName(platform::WindowHandle window) {
  return ProgramNameOf(Hwnd(window));
}

platform::ThreadId Win32Desktop::WindowThread(platform::WindowHandle window) {
  return window ? GetWindowThreadProcessId(Hwnd(window), nullptr) : 0;
}

platform::ThreadId Win32Desktop::CurrentThread() { return GetCurrentThreadId(); }

platform::WindowHandle Win32Desktop::FocusedWindow(platform::ThreadId thread) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(thread, &info) ? Handle(info.hwndFocus) : 0;
}

bool Win32Desktop::JoinInput(platform::ThreadId own, platform::ThreadId other, bool join) {
  return AttachThreadInput(own, other, join ? TRUE : FALSE) != FALSE;
}

platform::ThreadId Win32Desktop::TaskbarThread() {
  HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
  return taskbar ? GetWindowThreadProcessId(taskbar, nullptr) : 0;
}

// Windows refuses a message to a program of a higher integrity level with ERROR_ACCESS_DENIED
// at once, before the program is asked (Windows XP never does). Any other failure, a busy
// program's time-out among them, is no sign of it.
bool Win32Desktop::IsOutOfReach(platform::WindowHandle window) {
  static const UINT reachTest = RegisterWindowMessageW(L"Keyvane Reach Test");
  if (!window || !reachTest) return false;
  DWORD_PTR result = 0;
  SetLastError(ERROR_SUCCESS);
  if (SendMessageTimeoutW(Hwnd(window), reachTest, 0, 0, SMTO_ABORTIFHUNG, kReachTestTimeoutMs, &result)) return false;
  return GetLastError() == ERROR_ACCESS_DENIED;
}

platform::WindowHandle Win32Desktop::FindTopLevelWindow(std::string_view title) {
  const std::string text(title);
  return Handle(FindWindowA(nullptr, text.c_str()));
}

bool Win32Desktop::Show(platform::WindowHandle window) { return ShowWindow(Hwnd(window), SW_SHOWNOACTIVATE) != FALSE; }

void Win32Desktop::Hide(platform::WindowHandle window) { ShowWindow(Hwnd(window), SW_HIDE); }

int Win32Desktop::ScreenWidth() {
  if (screenWidth_ == 0) screenWidth_ = GetSystemMetrics(SM_CXSCREEN);
  return screenWidth_;
}

int Win32Desktop::VerticalScrollBarWidth() { return GetSystemMetrics(SM_CXVSCROLL); }

int Win32Desktop::EdgeWidth() { return GetSystemMetrics(SM_CXEDGE); }

}  // namespace keyvane::win32

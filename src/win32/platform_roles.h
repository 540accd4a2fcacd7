#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/input.h"
#include "platform/input_method.h"

namespace keyvane::win32 {

// The Win32 side of the core's roles, each method one or two system calls; the shell's side,
// which needs the program's own windows, is ShellWindows.

class Win32Clock final : public platform::Clock {
 public:
  std::uint32_t TickCount() override;
  void Sleep(std::uint32_t milliseconds) override;
};

// The files beside the program, which the core names bare ("dovaD.BTN"). They are opened by their
// UTF-16 path, so that any folder name works whatever the ANSI code page. The stamp carries the
// write time to the 100 ns the file system keeps.
class Win32Files final : public platform::Files {
 public:
  // folder: the program's folder with its trailing backslash.
  explicit Win32Files(std::wstring folder) : folder_(std::move(folder)) {}
  ~Win32Files() override { CloseAppended(); }
  Win32Files(const Win32Files&) = delete;
  Win32Files& operator=(const Win32Files&) = delete;

  bool ReadAll(const std::string& name, std::string& bytes) override;
  std::optional<std::uint64_t> Append(const std::string& name, std::string_view bytes) override;
  void Remove(const std::string& name) override;
  void Rename(const std::string& from, const std::string& to) override;
  std::optional<platform::FileStamp> Stamp(const std::string& name) override;

  // The full path of a file the core names.
  std::wstring PathOf(std::string_view name) const;

 private:
  // Opens the file to append to, or keeps the one open since an earlier append; `size` is its
  // size before the append.
  HANDLE AppendHandle(const std::string& name, std::uint64_t& size);
  void CloseAppended();

  std::wstring folder_;
  // The trace is appended to several times a second: its file stays open from one append to the
  // next rather than being opened, scanned and closed each time. Shared like every file here,
  // so others read, move or delete it as before.
  HANDLE appended_ = INVALID_HANDLE_VALUE;
  std::string appendedName_;
  DWORD appendedSince_ = 0;
};

// The extra information that marks the mouse events Keyvane sends, so that the mouse hook and
// the buttons can tell them from a touch.
inline constexpr ULONG_PTR kOwnInputSignature = 0x4B564E45;  // "KVNE"

inline platform::InputOrigin OriginOf(ULONG_PTR extraInfo) {
  return extraInfo == kOwnInputSignature ? platform::InputOrigin::Keyvane : platform::InputOrigin::User;
}

// Sees a key taken in the key state that Keyvane's thread shares with the thread its input is
// joined with: that state changes as the other thread takes the key's messages out of the
// input, and a key's toggle bit flips with each of its presses.
class Win32Input final : public platform::Input {
 public:
  void SendKey(std::uint8_t virtualKey, platform::KeyDirection direction, bool extended) override;
  void SendMouseButton(platform::MouseButton button, platform::KeyDirection direction) override;
  void WaitUntilKeysTaken() override;
  std::optional<platform::Point> CursorPosition() override;
  void MoveCursor(platform::Point point) override;

 private:
  // A key's state as it will read once every event sent for it has been taken.
  struct KeyState {
    bool down = false;
    bool toggled = false;
  };

  bool LastKeyTaken() const;

  std::array<KeyState, 256> expected_{};
  std::optional<std::uint8_t> lastKey_;  // the key sent last, until it is seen taken
};

class Win32InputMethod final : public platform::InputMethod {
 public:
  platform::ImeContext GetContext(platform::WindowHandle window) override;
  void SetOpenStatus(platform::ImeContext context, bool open) override;
  void SetHiraganaMode(platform::ImeContext context) override;
  void ReleaseContext(platform::WindowHandle window, platform::ImeContext context) override;
  platform::WindowHandle DefaultImeWindow(platform::WindowHandle window) override;
  platform::WindowHandle ThreadImeWindow(platform::ThreadId thread) override;
  void SetOpenStatusThroughWindow(platform::WindowHandle imeWindow, bool open) override;
  void SetHiraganaModeThroughWindow(platform::WindowHandle imeWindow) override;
};

class Win32Desktop final : public platform::Desktop {
 public:
  platform::WindowHandle FocusWindow() override;
  platform::WindowHandle ForegroundWindow() override;
  void GiveFocus(platform::WindowHandle window) override;
  void BringToForeground(platform::WindowHandle window) override;
  std::string WindowTitle(platform::WindowHandle window) override;
  std::string WindowClass(platform::WindowHandle window) override;
  platform::WindowHandle FirstChild(platform::WindowHandle window) override;
  platform::WindowHandle ChildOfClass(platform::WindowHandle window, std::string_view className) override;
  bool IsVisible(platform::WindowHandle window) override;
  bool IsHung(platform::WindowHandle window) override;
  std::optional<std::uint32_t> IntegrityLevel(platform::WindowHandle window) override;
  std::optional<std::uint32_t> OwnIntegrityLevel() override;
  std::optional<std::string> ProgramName(platform::WindowHandle window) override;
  platform::ThreadId WindowThread(platform::WindowHandle window) override;
  platform::ThreadId CurrentThread() override;
  platform::WindowHandle FocusedWindow(platform::ThreadId thread) override;
  bool JoinInput(platform::ThreadId own, platform::ThreadId other, bool join) override;
  platform::ThreadId TaskbarThread() override;
  bool IsOutOfReach(platform::WindowHandle window) override;
  platform::WindowHandle FindTopLevelWindow(std::string_view title) override;
  bool Show(platform::WindowHandle window) override;
  void Hide(platform::WindowHandle window) override;
  int ScreenWidth() override;
  int VerticalScrollBarWidth() override;
  int EdgeWidth() override;

  // The display changed (WM_DISPLAYCHANGE): its width is asked again.
  void DisplayChanged() { screenWidth_ = 0; }

 private:
  // The placement asks at every tick, and the width is one of the dearer questions.
  int screenWidth_ = 0;
};

}  // namespace keyvane::win32

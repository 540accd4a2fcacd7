#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/keyboard.h"

namespace keyvane::preview_engine {

// The handheld as the checker's preview shows it: an 800-pixel screen, Keyvane's two panels,
// one program window in front that takes the keys and has an input method, and a clock and a
// cursor that the page sets. Every role at once; it keeps what the keyboard did to it that the
// page draws: the captions, the key and mouse-button events, the input method's state.
class PreviewPlatform final : public platform::Files,
                              public platform::Clock,
                              public platform::Input,
                              public platform::Desktop,
                              public platform::InputMethod,
                              public platform::Shell {
 public:
  // The button file is the one file there is; the trace goes nowhere.
  explicit PreviewPlatform(std::string buttonFile) : buttonFile_(std::move(buttonFile)) {}

  app::PlatformServices Services() { return {*this, *this, *this, *this, *this, *this}; }

  // The page's clock and pointer, set before each call into the keyboard.
  void SetTime(std::uint32_t milliseconds) { now_ = milliseconds; }
  void SetCursor(std::optional<platform::Point> cursor) { cursor_ = cursor; }
  // The program in front: a window of its own for each name; none is a program without one.
  void BringProgramToFront(std::optional<std::string> program);

  // Called with "Ctrl down" and the like for each key or mouse-button event, and each time the
  // target's input method is set: whether it is open, and whether the buttons were captioned
  // since it was set before (a map was switched to, rather than the input method of a new
  // target set to the map shown).
  std::function<void(std::string)> onKeyEvent;
  std::function<void(bool open, bool switched)> onInputMethod;
  // Called with the program and its arguments, as written, for each program the keyboard starts.
  std::function<void(std::string)> onStartProgram;

  // True once, when the time a held chord, or a repeating button, asked for is up by the page's clock.
  bool TakeKeyReleaseDue() { return TakeDue(keyReleaseDue_); }
  bool TakeKeyRepeatDue() { return TakeDue(keyRepeatDue_); }
  bool Held(platform::PanelSide side, int row) const {
    return held_[static_cast<std::size_t>(side)][static_cast<std::size_t>(row)];
  }
  // The tab of the panels made small, where it is and what it says; none while they are not.
  struct Tab {
    platform::Rect bounds;
    std::string caption;
  };
  const std::optional<Tab>& tab() const { return tab_; }
  const std::string& Caption(platform::PanelSide side, int row) const {
    return captions_[static_cast<std::size_t>(side)][static_cast<std::size_t>(row)];
  }

  // Files
  bool ReadAll(const std::string& path, std::string& bytes) override;
  std::optional<std::uint64_t> Append(const std::string&, std::string_view bytes) override { return bytes.size(); }
  void Remove(const std::string&) override {}
  void Rename(const std::string&, const std::string&) override {}
  std::optional<platform::FileStamp> Stamp(const std::string&) override { return platform::FileStamp{}; }
  // Clock
  std::uint32_t TickCount() override { return now_; }
  void Sleep(std::uint32_t) override {}
  // Input
  void SendKey(std::uint8_t virtualKey, platform::KeyDirection direction, bool extended) override;
  void SendMouseButton(platform::MouseButton button, platform::KeyDirection direction) override;
  void WaitUntilKeysTaken() override {}
  std::optional<platform::Point> CursorPosition() override { return cursor_; }
  void MoveCursor(platform::Point) override {}  // the page's pointer stays where the reader has it
  // Desktop
  platform::WindowHandle FocusWindow() override { return 0; }  // the first tick finds the program in front
  platform::WindowHandle ForegroundWindow() override { return foreground_; }
  void GiveFocus(platform::WindowHandle) override {}
  void BringToForeground(platform::WindowHandle) override {}
  std::string WindowTitle(platform::WindowHandle window) override;
  std::string WindowClass(platform::WindowHandle) override { return {}; }
  platform::WindowHandle FirstChild(platform::WindowHandle) override { return 0; }
  platform::WindowHandle ChildOfClass(platform::WindowHandle, std::string_view) override { return 0; }
  bool IsVisible(platform::WindowHandle) override { return true; }
  bool IsHung(platform::WindowHandle) override { return false; }
  std::optional<std::uint32_t> IntegrityLevel(platform::WindowHandle) override { return std::nullopt; }
  std::optional<std::uint32_t> OwnIntegrityLevel() override { return std::nullopt; }
  bool IsOutOfReach(platform::WindowHandle) override { return false; }
  std::optional<std::string> ProgramName(platform::WindowHandle window) override;
  platform::ThreadId WindowThread(platform::WindowHandle window) override;
  platform::ThreadId CurrentThread() override { return kOwnThread; }
  platform::WindowHandle FocusedWindow(platform::ThreadId) override { return 0; }
  bool JoinInput(platform::ThreadId, platform::ThreadId, bool) override { return true; }
  platform::ThreadId TaskbarThread() override { return 0; }
  platform::WindowHandle FindTopLevelWindow(std::string_view) override { return 0; }
  bool Show(platform::WindowHandle) override { return true; }
  void Hide(platform::WindowHandle) override {}
  int ScreenWidth() override { return 800; }
  int VerticalScrollBarWidth() override { return 16; }
  int EdgeWidth() override { return 2; }
  // InputMethod: every program window has a context of its own
  platform::ImeContext GetContext(platform::WindowHandle window) override {
    return IsProgramWindow(window) ? window : 0;
  }
  void SetOpenStatus(platform::ImeContext, bool open) override;
  void SetHiraganaMode(platform::ImeContext) override {}
  void ReleaseContext(platform::WindowHandle, platform::ImeContext) override {}
  platform::WindowHandle DefaultImeWindow(platform::WindowHandle) override { return 0; }
  platform::WindowHandle ThreadImeWindow(platform::ThreadId) override { return 0; }
  void SetOpenStatusThroughWindow(platform::WindowHandle, bool open) override { SetOpenStatus(0, open); }
  void SetHiraganaModeThroughWindow(platform::WindowHandle) override {}
  // Shell
  platform::WindowHandle PanelWindow(platform::PanelSide side) override;
  platform::Rect PanelBounds(platform::PanelSide side) override { return panels_[static_cast<std::size_t>(side)]; }
  platform::Rect ButtonBounds(platform::PanelSide, int row) override;
  void SetPanelWidth(platform::PanelSide side, int width) override;
  void SetPanelTitle(platform::PanelSide, std::string_view) override {}
  void MovePanel(platform::PanelSide side, platform::Point topLeft) override;
  void SetCaption(platform::PanelSide side, int row, std::string_view caption) override;
  void SetButtonHeld(platform::PanelSide side, int row, bool held) override;
  void OpenMenuBeside(platform::PanelSide, int) override {}  // the page has no notification menu
  // Nothing starts in the page: the log says what would.
  std::string StartProgram(std::string_view program, std::string_view arguments) override;
  // The page hides the panels while their tab shows.
  void ShowPanel(platform::PanelSide) override {}
  void ShowTab(platform::Rect bounds, std::string_view caption) override;
  void HideTab() override { tab_.reset(); }
  bool InstallMouseHook() override { return true; }
  void RemoveMouseHook() override {}
  bool RenewMouseHook() override { return true; }
  void HideTrayIcon() override {}
  void ShowTrayBalloon(std::string_view) override {}
  // The page's ticks stand in for the shell's timers: TakeKeyReleaseDue and TakeKeyRepeatDue say when they are up.
  void CallBackToReleaseKeys(std::uint32_t milliseconds) override { keyReleaseDue_ = now_ + milliseconds; }
  void CallBackToRepeatKeys(std::uint32_t milliseconds) override { keyRepeatDue_ = now_ + milliseconds; }
  void Quit() override {}  // the page cannot end; the corner and the hidden panels do nothing here
  std::vector<std::string> Arguments() override { return {"KEYVANE.EXE"}; }

 private:
  static constexpr platform::ThreadId kOwnThread = 1;
  static constexpr platform::WindowHandle kLeftPanelWindow = 1;
  static constexpr platform::WindowHandle kRightPanelWindow = 2;
  static constexpr platform::WindowHandle kFirstProgramWindow = 100;

  bool IsProgramWindow(platform::WindowHandle window) const;
  // Whether a call back asked for is due by now; it comes once.
  bool TakeDue(std::optional<std::uint32_t>& due) const {
    if (!due || static_cast<std::int32_t>(now_ - *due) < 0) return false;
    due.reset();
    return true;
  }

  std::string buttonFile_;
  std::uint32_t now_ = 0;
  std::optional<std::uint32_t> keyReleaseDue_;
  std::optional<std::uint32_t> keyRepeatDue_;
  std::optional<platform::Point> cursor_;
  std::vector<std::optional<std::string>> programs_{std::nullopt};  // by window, from kFirstProgramWindow
  platform::WindowHandle foreground_ = kFirstProgramWindow;
  std::array<platform::Rect, 2> panels_{platform::Rect{0, 0, 0, platform::kPanelHeight},
                                        platform::Rect{0, 0, 0, platform::kPanelHeight}};
  std::array<std::array<std::string, platform::kButtonsPerPanel>, 2> captions_;
  std::array<std::array<bool, platform::kButtonsPerPanel>, 2> held_{};
  bool captionedSinceInputMethod_ = false;
  std::optional<Tab> tab_;
};

}  // namespace keyvane::preview_engine

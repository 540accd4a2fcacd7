#pragma once

#include <windows.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "app/keyboard.h"
#include "platform/shell.h"
#include "win32/button_face.h"
#include "win32/panel_tap_hook.h"
#include "win32/platform_roles.h"
#include "win32/tray_icon.h"

namespace keyvane::win32 {

// What the panels' and the tab's messages become: calls of the keyboard. Each of those windows
// is given it when it is created and keeps it, so a window that exists always reaches it.
class PanelMessages {
 public:
  // keyboard and desktop (told when the display changes) outlive the windows.
  PanelMessages(app::Keyboard& keyboard, Win32Desktop& desktop) : keyboard_(keyboard), desktop_(desktop) {}
  PanelMessages(const PanelMessages&) = delete;
  PanelMessages& operator=(const PanelMessages&) = delete;

  LRESULT OnPanelMessage(platform::PanelSide side, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnTabMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  LRESULT OnSessionMessage(UINT message, WPARAM wParam);

  app::Keyboard& keyboard_;
  Win32Desktop& desktop_;
  ButtonFace face_;
};

// Keyvane's own windows: the application window (hidden owner: it would carry the taskbar
// button) and the two frameless, topmost, black colour-keyed panels with seven owner-drawn
// buttons each; through them the keyboard also reaches the mouse hook, the notification icon,
// the command line and the message loop's end.
class ShellWindows final : public platform::Shell {
 public:
  // tray: the icon the keyboard speaks through; it outlives this object.
  // programFolder: Keyvane's own, with its trailing backslash; relative paths of EXEC start there.
  ShellWindows(HINSTANCE instance, TrayIcon& tray, std::wstring programFolder);
  ~ShellWindows() override;
  ShellWindows(const ShellWindows&) = delete;
  ShellWindows& operator=(const ShellWindows&) = delete;

  // One of the panels' buttons; asked on any thread, it reads only the window system.
  static bool IsPanelButton(HWND window);

  HWND ApplicationWindow() const { return application_; }
  HWND Panel(platform::PanelSide side) const { return panels_[Index(side)]; }

  // Creates a panel, hidden, with its buttons; its messages, and the tab's, go to `messages`,
  // which outlives the panel.
  void Create(platform::PanelSide side, PanelMessages& messages);
  // Starts the right panel's 100 ms timer.
  void StartTimer();
  // The left panel takes the tab with it: the tab has the left panel's messages.
  void Destroy(platform::PanelSide side);

  platform::WindowHandle PanelWindow(platform::PanelSide side) override;
  platform::Rect PanelBounds(platform::PanelSide side) override;
  platform::Rect ButtonBounds(platform::PanelSide side, int row) override;
  void SetPanelWidth(platform::PanelSide side, int width) override;
  void SetPanelTitle(platform::PanelSide side, std::string_view title) override;
  void MovePanel(platform::PanelSide side, platform::Point topLeft) override;
  void SetCaption(platform::PanelSide side, int row, std::string_view caption) override;
  void ShowPanel(platform::PanelSide side) override;
  void ShowTab(platform::Rect bounds, std::string_view caption) override;
  void HideTab() override;
  // The thread hook and the low-level hook that takes taps from under another program's capture.
  bool InstallMouseHook() override;
  void RemoveMouseHook() override;
  bool RenewMouseHook() override;
  void HideTrayIcon() override;
  void ShowTrayBalloon(std::string_view text) override;
  void Quit() override;
  void SetButtonHeld(platform::PanelSide side, int row, bool held) override;
  void CallBackToReleaseKeys(std::uint32_t milliseconds) override;
  void CallBackToRepeatKeys(std::uint32_t milliseconds) override;
  void OpenMenuBeside(platform::PanelSide side, int row) override;
  std::string StartProgram(std::string_view program, std::string_view arguments) override;
  std::vector<std::string> Arguments() override;

 private:
  static int Index(platform::PanelSide side) { return static_cast<int>(side); }
  static LRESULT CALLBACK ButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam);
  HWND CreateButton(HWND parent, int row, const platform::Rect& bounds);
  void HearSessionChanges(HWND panel);
  void StopHearingSessionChanges(HWND panel);

  HINSTANCE instance_;
  TrayIcon& tray_;
  std::wstring programFolder_;
  PanelTapHook tapHook_;
  HMODULE sessionApi_ = nullptr;  // wtsapi32, while the left panel hears of session changes
  HBRUSH black_;
  HWND application_ = nullptr;
  std::array<HWND, 2> panels_{};
  HWND tab_ = nullptr;  // made at the first MINIMAM: a button alone in a window of its own
  HWND tabButton_ = nullptr;
  std::array<std::array<HWND, platform::kButtonsPerPanel>, 2> buttons_{};
  // The buttons' window texts as last set; they start empty, as the buttons are created.
  std::array<std::array<std::wstring, platform::kButtonsPerPanel>, 2> captions_{};
  std::optional<std::vector<std::string>> arguments_;  // the command line, once read
};

}  // namespace keyvane::win32

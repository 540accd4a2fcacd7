#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "app/keyboard.h"
#include "platform/panels.h"
#include "win32/button_face.h"

namespace keyvane::win32 {

// The application window (hidden owner: it would carry the taskbar button) and the two
// frameless, topmost, black colour-keyed panels with seven owner-drawn buttons each.
class PanelWindows final : public platform::Panels {
 public:
  explicit PanelWindows(HINSTANCE instance);
  ~PanelWindows() override;
  PanelWindows(const PanelWindows&) = delete;
  PanelWindows& operator=(const PanelWindows&) = delete;

  HWND ApplicationWindow() const { return application_; }
  HWND Panel(platform::PanelSide side) const { return panels_[Index(side)]; }

  // The keyboard that the panels' messages go to; set before the first panel is created.
  void Attach(app::Keyboard& keyboard) { keyboard_ = &keyboard; }
  // Creates a panel, hidden, with its buttons.
  void Create(platform::PanelSide side);
  // Starts the right panel's 100 ms timer.
  void StartTimer();
  void Destroy(platform::PanelSide side);

  platform::WindowHandle Window(platform::PanelSide side) override;
  platform::Rect Bounds(platform::PanelSide side) override;
  platform::Rect ButtonBounds(platform::PanelSide side, int row) override;
  void SetWidth(platform::PanelSide side, int width) override;
  void SetTitle(platform::PanelSide side, std::string_view title) override;
  void Move(platform::PanelSide side, platform::Point topLeft) override;
  void SetCaption(platform::PanelSide side, int row, std::string_view caption) override;
  void Show(platform::PanelSide side) override;
  void SetFocus(platform::WindowHandle window) override;

 private:
  static int Index(platform::PanelSide side) { return static_cast<int>(side); }
  static LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK ButtonProc(HWND button, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandlePanelMessage(platform::PanelSide side, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HINSTANCE instance_;
  app::Keyboard* keyboard_ = nullptr;
  ButtonFace face_;
  HBRUSH black_;
  HWND application_ = nullptr;
  std::array<HWND, 2> panels_{};
  std::array<std::array<HWND, platform::kButtonsPerPanel>, 2> buttons_{};
  // The buttons' window texts as last set; they start empty, as the buttons are created.
  std::array<std::array<std::wstring, platform::kButtonsPerPanel>, 2> captions_{};
};

}  // namespace keyvane::win32

#pragma once

#include <array>
#include <string_view>

#include "platform/geometry.h"
#include "platform/handles.h"

namespace keyvane::platform {

enum class PanelSide { Left = 0, Right = 1 };

inline constexpr int kButtonsPerPanel = 7;

// The panels' public identity: a second copy and the focus tracker know them by these titles.
inline constexpr std::string_view kLeftPanelTitle = "KB1_For_Keyvane";
inline constexpr std::string_view kRightPanelTitle = "KB2_For_Keyvane";

// How each panel is built: 387 pixels high, one column of seven buttons at x 0,
// 40 pixels apart, 41 high (so neighbours overlap by one), the last one 49 high.
inline constexpr int kPanelHeight = 387;
inline constexpr std::array<Rect, kButtonsPerPanel> kButtonLayout{{
    {0, 0, 57, 41},
    {0, 40, 57, 41},
    {0, 80, 57, 41},
    {0, 120, 57, 41},
    {0, 160, 57, 41},
    {0, 200, 57, 41},
    {0, 240, 57, 49},
}};

// The two button panels. Rows are 0 (BitBtn1, top) to 6 (BitBtn7).
class Panels {
 public:
  virtual ~Panels() = default;
  // The panel's HWND.
  virtual WindowHandle Window(PanelSide side) = 0;
  // The panel's screen rectangle now (borderless, so its client origin is its top-left).
  virtual Rect Bounds(PanelSide side) = 0;
  // A button's rectangle now, relative to its panel.
  virtual Rect ButtonBounds(PanelSide side, int row) = 0;
  // Sets the panel's width, keeping its height.
  virtual void SetWidth(PanelSide side, int width) = 0;
  // SetWindowTextA on the panel.
  virtual void SetTitle(PanelSide side, std::string_view title) = 0;
  // Moves the panel without activating it or changing its z-order
  // (SetWindowPos with SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER).
  virtual void Move(PanelSide side, Point topLeft) = 0;
  // SetWindowTextA on a button: code page 932 bytes, "&" marks a mnemonic, a line break starts a line.
  virtual void SetCaption(PanelSide side, int row, std::string_view caption) = 0;
  // ShowWindow(panel, SW_SHOW).
  virtual void Show(PanelSide side) = 0;
  // SetFocus(window).
  virtual void SetFocus(WindowHandle window) = 0;
};

}  // namespace keyvane::platform

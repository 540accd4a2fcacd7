#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop.h"

namespace keyvane::platform {

enum class PanelSide { Left = 0, Right = 1 };

inline constexpr int kButtonsPerPanel = 7;

// The panels' public identity: a second copy and the target follower know them by these titles.
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

// Keyvane's own presence on the desktop: its two button panels (rows 0, the top button, to 6),
// the mouse hook that watches them, the notification icon, the command line it was started
// with, and its end.
class Shell {
 public:
  virtual ~Shell() = default;

  virtual WindowHandle PanelWindow(PanelSide side) = 0;
  // The panel's screen rectangle now (borderless, so its client origin is its top-left).
  virtual Rect PanelBounds(PanelSide side) = 0;
  // A button's rectangle now, relative to its panel.
  virtual Rect ButtonBounds(PanelSide side, int row) = 0;
  // Sets the panel's width, keeping its height.
  virtual void SetPanelWidth(PanelSide side, int width) = 0;
  virtual void SetPanelTitle(PanelSide side, std::string_view title) = 0;
  // Moves the panel without activating it or changing its stacking order.
  virtual void MovePanel(PanelSide side, Point topLeft) = 0;
  // A button's caption: code page 932 bytes, "&" marks a mnemonic, a line break starts a line.
  virtual void SetCaption(PanelSide side, int row, std::string_view caption) = 0;
  // Whether the button shows that the keys of its KEYTOG are held, at a glance and in high contrast too.
  virtual void SetButtonHeld(PanelSide side, int row, bool held) = 0;
  // Shows the panel without activating it.
  virtual void ShowPanel(PanelSide side) = 0;
  // The small tab that stands for the hidden panels: topmost, never activated, at `bounds` on the
  // screen, with a caption (code page 932). Its taps reach the rules as the panels' taps do, at
  // the same screen points. Shown again, it moves.
  virtual void ShowTab(Rect bounds, std::string_view caption) = 0;
  // Hiding a hidden tab does nothing.
  virtual void HideTab() = 0;

  // The hooks that see every button message over the panels before any window does, also while
  // another program holds the mouse capture, and every mouse message on this thread; each message
  // reaches app::Keyboard::OnMouseMessage once. Installing returns whether a hook is in place.
  virtual bool InstallMouseHook() = 0;
  virtual void RemoveMouseHook() = 0;
  // Installs the low-level hook anew, whether or not Windows removed it behind Keyvane's back;
  // true when it is in place again.
  virtual bool RenewMouseHook() = 0;

  // Hiding a hidden icon does nothing.
  virtual void HideTrayIcon() = 0;
  // A balloon notification from the icon; code page 932 text.
  virtual void ShowTrayBalloon(std::string_view text) = 0;
  // Opens the notification icon's menu beside a panel button, once the press that asks for it is
  // over; the menu brings the window typed into back to the front when it closes.
  virtual void OpenMenuBeside(PanelSide side, int row) = 0;
  // Starts a program, document or web address as Explorer's "open" does, with `arguments` as its
  // command line, allowed to the front as from a desktop shortcut; a relative path is taken from
  // Keyvane's folder. Code page 932. Gives why it could not start, or an empty text.
  virtual std::string StartProgram(std::string_view program, std::string_view arguments) = 0;
  // Calls app::Keyboard::OnKeyHoldOver once, `milliseconds` from now, from the message loop; a
  // new request replaces one not yet due. Keys held meanwhile must not stop the loop.
  virtual void CallBackToReleaseKeys(std::uint32_t milliseconds) = 0;
  // Calls app::Keyboard::OnKeyRepeatDue once, `milliseconds` from now, from the message loop; a
  // new request replaces one not yet due. Its own clock, apart from the hold's and the tick's.
  virtual void CallBackToRepeatKeys(std::uint32_t milliseconds) = 0;
  // Ends the message loop once control returns to it.
  virtual void Quit() = 0;
  // All arguments as code page 932 bytes, the program's own name first; read again every time
  // the panels are placed.
  virtual std::vector<std::string> Arguments() = 0;
};

}  // namespace keyvane::platform

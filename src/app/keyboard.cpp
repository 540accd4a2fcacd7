#include "app/keyboard.h"

#include "app/placement.h"
#include "app/toggle_panels.h"
#include "tracking/slot_geometry.h"

namespace keyvane::app {

namespace {

using platform::PanelSide;

constexpr int kParkingSlotAtStart = 1;  // the left panel's second button

}  // namespace

Keyboard::Keyboard(const PlatformServices& platform, const std::string& exeFolder)
    : p_(platform),
      buttonFilePath_(exeFolder + kButtonFileName),
      log_(platform.files, exeFolder + kTraceFileName),
      switcher_(loaded_.maps.table, names_, slots_, target_, platform.panels, platform.ime, platform.windows, log_),
      presser_(slots_, switcher_, platform.input, platform.clock, log_),
      hook_(slots_, switcher_, presser_, platform.panels, platform.cursor, platform.clock),
      tracker_(target_, switcher_, hook_, log_,
               {platform.windows, platform.ime, platform.cursor, platform.clock, platform.panels, platform.app},
               [this] { PlacePanels(); }) {}

void Keyboard::LoadButtons() {
  loaded_ = btnfile::LoadButtonFile(p_.files, buttonFilePath_, log_);
  names_.defaultMapName = loaded_.maps.defaultMapName;
  names_.fallbackMapName = loaded_.maps.fallbackMapName;
}

void Keyboard::TakeTarget() { target_.targetWindow = p_.windows.FocusWindow(); }

void Keyboard::OnLeftPanelCreated() {
  p_.panels.SetWidth(PanelSide::Left, p_.panels.ButtonBounds(PanelSide::Left, 0).width);
  p_.panels.SetTitle(PanelSide::Left, platform::kLeftPanelTitle);
  hookInstalled_ = p_.mouseHook.Install();
}

void Keyboard::OnRightPanelCreated() {
  p_.panels.SetWidth(PanelSide::Right, p_.panels.ButtonBounds(PanelSide::Right, 0).width);
  p_.panels.SetTitle(PanelSide::Right, platform::kRightPanelTitle);
  PlacePanels();
  presser_.ForgetRememberedKeys();
  slots_.buttonsFilled = true;
  switcher_.SwitchMap(input::kDefaultMapAlias);
  p_.panels.Show(PanelSide::Right);
  p_.panels.SetFocus(target_.targetWindow);
  tracking::ParkCursor(p_.panels, p_.cursor, kParkingSlotAtStart);
}

tracking::HookAction Keyboard::OnMouseHook(int nCode, std::uint32_t message, platform::Point cursor,
                                           tracking::InputOrigin origin) {
  return hook_.HookProc(nCode, message, cursor, origin);
}

void Keyboard::OnTimerTick() { tracker_.Timer1Timer(); }

void Keyboard::OnButtonClick(PanelSide side, int row, tracking::InputOrigin origin) {
  if (row < 0 || row >= platform::kButtonsPerPanel || origin == tracking::InputOrigin::Keyvane) return;
  presser_.PressSlot(side == PanelSide::Left ? row : platform::kButtonsPerPanel + row);
}

void Keyboard::OnTrayIconClick() { TogglePanels(p_.topLevelWindows); }

void Keyboard::OnOwnWindowOpening() { targetBeforeOwnWindow_ = target_.targetWindow; }

void Keyboard::OnOwnWindowClosed() {
  // Meanwhile the menu or the About box was the target; the window typed into is again.
  target_.targetWindow = targetBeforeOwnWindow_;
  if (targetBeforeOwnWindow_ != 0) p_.windows.BringToForeground(targetBeforeOwnWindow_);
}

void Keyboard::RemoveHook() {
  if (hookInstalled_) p_.mouseHook.Remove();
}

void Keyboard::OnQuitCommand() {
  RemoveHook();
  p_.app.RequestQuit();
  p_.app.HideTrayIcon();
}

bool Keyboard::OnLeftPanelCloseQuery() {
  RemoveHook();
  p_.app.HideTrayIcon();
  return true;
}

void Keyboard::OnLeftPanelClose() { p_.app.HideTrayIcon(); }

void Keyboard::OnRightPanelDestroy() { tracker_.DetachInput(); }

void Keyboard::PlacePanels() { app::PlacePanels(p_.panels, p_.screen, p_.commandLine); }

}  // namespace keyvane::app

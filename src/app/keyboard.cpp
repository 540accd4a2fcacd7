#include "app/keyboard.h"

#include "app/button_file_notice.h"
#include "app/placement.h"
#include "app/toggle_panels.h"
#include "btnfile/diagnostics.h"
#include "tracking/slot_geometry.h"

namespace keyvane::app {

namespace {

using platform::PanelSide;

constexpr int kParkingSlotAtStart = 1;  // the left panel's second button

}  // namespace

Keyboard::Keyboard(const PlatformServices& platform, const std::string& exeFolder)
    : p_(platform),
      buttonFilePath_(exeFolder + std::string(btnfile::kButtonFileName)),
      log_(platform.files, exeFolder + std::string(btnfile::kTraceFileName)),
      switcher_(loaded_.maps.table, names_, slots_, target_, platform.panels, platform.ime, platform.windows, log_),
      presser_(slots_, switcher_, platform.input, platform.clock, log_),
      hook_(slots_, switcher_, presser_, platform.panels, platform.cursor, platform.clock),
      tracker_(target_, switcher_, hook_, log_,
               {platform.windows, platform.ime, platform.cursor, platform.clock, platform.panels, platform.app},
               [this] { PlacePanels(); }) {}

void Keyboard::LoadButtons() {
  // The stamp before the reading: a save during it is seen as a change afterwards.
  const std::optional<platform::FileStamp> stamp = p_.files.Stamp(buttonFilePath_);
  TakeLoaded(btnfile::LoadButtonFile(p_.files, buttonFilePath_, log_));
  watch_.Loaded(stamp, p_.clock.TickCount());
  if (!loaded_.fileRead) notice_ = ButtonFileNotice(LoadOutcome::Unreadable, {});
}

void Keyboard::TakeLoaded(btnfile::LoadedButtons loaded) {
  // Nothing may point into the old maps once they are gone.
  slots_.definitions.fill(nullptr);
  loaded_ = std::move(loaded);
  names_.defaultMapName = loaded_.maps.defaultMapName;
  names_.fallbackMapName = loaded_.maps.fallbackMapName;
  // The same findings as keyvane-check, which looks only at a file it could read.
  std::vector<btnfile::Diagnostic> problems;
  if (loaded_.fileRead) problems = btnfile::FindDiagnostics(loaded_);
  problemCount_ = problems.size();
  notice_ = ButtonFileNotice(LoadOutcome::Read, problems);
}

void Keyboard::ReloadButtons() {
  const std::optional<platform::FileStamp> stamp = p_.files.Stamp(buttonFilePath_);
  btnfile::LoadedButtons fresh = btnfile::ReadAndBuild(p_.files, buttonFilePath_, log_);
  // Even a file that is refused counts as seen: it is not read again until it changes.
  watch_.Loaded(stamp, p_.clock.TickCount());
  if (!fresh.fileRead || fresh.maps.table.empty()) {
    // A broken save must not take the working buttons away.
    p_.app.ShowTrayBalloon(ButtonFileNotice(fresh.fileRead ? LoadOutcome::NoMapKept : LoadOutcome::UnreadableKept, {}));
    return;
  }
  TakeLoaded(std::move(fresh));
  // The chord it remembers may no longer be on any button.
  presser_.ForgetRememberedKeys();
  switcher_.SwitchMap(input::kDefaultMapAlias);
  if (!notice_.empty()) p_.app.ShowTrayBalloon(notice_);
}

ButtonFileStatus Keyboard::buttonFileStatus() const {
  return {loaded_.fileRead, loaded_.maps.table.size(), problemCount_};
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

void Keyboard::OnStartedUp() {
  if (!notice_.empty()) p_.app.ShowTrayBalloon(notice_);
}

tracking::HookAction Keyboard::OnMouseHook(int nCode, std::uint32_t message, platform::Point cursor,
                                           tracking::InputOrigin origin) {
  return hook_.HookProc(nCode, message, cursor, origin);
}

void Keyboard::OnTimerTick() {
  tracker_.Timer1Timer();
  const std::uint32_t now = p_.clock.TickCount();
  if (watch_.Due(now) && watch_.Look(p_.files.Stamp(buttonFilePath_), now)) ReloadButtons();
}

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

void Keyboard::OnReloadCommand() { ReloadButtons(); }

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

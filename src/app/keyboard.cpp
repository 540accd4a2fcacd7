#include "app/keyboard.h"

#include "app/placement.h"
#include "btnfile/diagnostics.h"

namespace keyvane::app {

namespace {

using platform::PanelSide;

constexpr int kParkingSlotAtStart = 1;  // the left panel's second button

}  // namespace

Keyboard::Keyboard(const PlatformServices& platform)
    : p_(platform),
      buttonFilePath_(btnfile::kButtonFileName),
      log_(platform.files, std::string(btnfile::kTraceFileName),
           trace::OlderGeneration{std::string(btnfile::kOlderTraceFileName)}),
      follower_(platform.desktop, platform.ime, log_),
      switcher_(follower_.target(), {platform.shell, platform.ime, platform.desktop, platform.input}, log_),
      held_(platform.input, platform.shell, log_),
      tab_(platform.shell, platform.desktop),
      presser_(switcher_, held_, tab_, platform.shell, platform.input, platform.clock, log_),
      hook_(switcher_, presser_, tab_, platform.shell, platform.input, platform.clock),
      hookKeeper_(platform.shell, log_),
      tick_(follower_, switcher_, hook_, tab_, log_,
            {platform.desktop, platform.input, platform.clock, platform.shell}) {}

// Also when an error in start-up unwinds past the message loop.
Keyboard::~Keyboard() { ReleaseHeldKeys(); }

void Keyboard::ReleaseHeldKeys() {
  presser_.StopRepeat();
  presser_.FinishHeldChord();
  held_.ReleaseToggles();
  ShowHeldButtons();
}

void Keyboard::ShowHeldButtons() {
  for (int slot = 0; slot < input::kSlotCount; ++slot) {
    const btnfile::ButtonDef* def = switcher_.slots().DefinitionOf(slot);
    const bool held = def != nullptr && def->kind == btnfile::ActionKind::KEYTOG && held_.IsToggledDown(def->keys);
    bool& shown = shownHeld_[static_cast<std::size_t>(slot)];
    if (held == shown) continue;
    shown = held;
    const input::SlotButton button = input::ButtonOfSlot(slot);
    p_.shell.SetButtonHeld(button.panel, button.row, held);
  }
}

void Keyboard::OnKeyHoldOver() {
  presser_.FinishHeldChord();
  SettleAfterEntry();
}

void Keyboard::OnKeyRepeatDue() {
  FollowRepeat();
  presser_.RepeatDue();
  ShowHeldButtons();
}

bool Keyboard::RepeatsAt(platform::Point point) {
  const std::optional<int> slot = input::HitTestSlot(switcher_.slots(), p_.shell, point);
  return slot && presser_.Repeats(*slot);
}

void Keyboard::SettleAfterEntry() {
  FollowRepeat();
  ShowHeldButtons();
}

void Keyboard::FollowRepeat() {
  if (!presser_.repeating()) return;
  const std::optional<platform::Point> cursor = p_.input.CursorPosition();
  presser_.FollowRepeat(cursor ? input::HitTestSlot(switcher_.slots(), p_.shell, *cursor) : std::nullopt);
}

void Keyboard::OnLoopEnded() { ReleaseHeldKeys(); }

void Keyboard::OnPanelHiding() {
  // Small panels come back as they were, held keys too.
  if (!tab_.shrunk()) ReleaseHeldKeys();
}

void Keyboard::OnPanelShown() { tab_.Restore(); }

void Keyboard::LoadButtons() {
  // The stamp before the reading: a save during it is seen as a change afterwards.
  const std::optional<platform::FileStamp> stamp = p_.files.Stamp(buttonFilePath_);
  // The trace of a run holds nothing of an earlier one.
  log_.StartAfresh();
  TakeLoaded(ReadAndTrace());
  watch_.Loaded(stamp, p_.clock.TickCount());
  if (!loaded_->fileRead) notice_ = ButtonFileNotice(LoadOutcome::Unreadable, {});
}

btnfile::LoadedButtons Keyboard::ReadAndTrace() {
  btnfile::LoadedButtons loaded = btnfile::LoadButtonFile(p_.files, buttonFilePath_);
  log_.Write(loaded.readTrace);
  return loaded;
}

void Keyboard::TakeLoaded(btnfile::LoadedButtons loaded) {
  loaded_ = std::make_shared<const btnfile::LoadedButtons>(std::move(loaded));
  // The switcher shares the maps its slots point into: the old ones live until it lets them go.
  switcher_.TakeMaps(std::shared_ptr<const btnfile::BuiltMaps>(loaded_, &loaded_->maps));
  // The same findings as keyvane-check, which looks only at a file it could read.
  std::vector<btnfile::Diagnostic> problems;
  if (loaded_->fileRead) problems = btnfile::FindDiagnostics(*loaded_);
  problemCount_ = problems.size();
  notice_ = ButtonFileNotice(LoadOutcome::Read, problems);
}

void Keyboard::ReloadButtons() {
  const std::optional<platform::FileStamp> stamp = p_.files.Stamp(buttonFilePath_);
  btnfile::LoadedButtons fresh = ReadAndTrace();
  // Even a file that is refused counts as seen: it is not read again until it changes.
  watch_.Loaded(stamp, p_.clock.TickCount());
  if (!fresh.fileRead || fresh.maps.table.empty()) {
    // A broken save must not take the working buttons away.
    p_.shell.ShowTrayBalloon(
        ButtonFileNotice(fresh.fileRead ? LoadOutcome::NoMapKept : LoadOutcome::UnreadableKept, {}));
    return;
  }
  // The keys held belong to buttons of the file going away.
  ReleaseHeldKeys();
  TakeLoaded(std::move(fresh));
  // The chord it remembers may no longer be on any button.
  presser_.ForgetRememberedKeys();
  tick_.ForgetPrograms();
  switcher_.ShowDefault();
  if (!notice_.empty()) p_.shell.ShowTrayBalloon(notice_);
}

ButtonFileStatus Keyboard::buttonFileStatus() const {
  return {loaded_->fileRead, loaded_->maps.table.size(), problemCount_};
}

void Keyboard::TakeTarget() { follower_.TakeWindow(p_.desktop.FocusWindow()); }

void Keyboard::OnLeftPanelCreated() {
  p_.shell.SetPanelWidth(PanelSide::Left, p_.shell.ButtonBounds(PanelSide::Left, 0).width);
  p_.shell.SetPanelTitle(PanelSide::Left, platform::kLeftPanelTitle);
  hookKeeper_.Install();
}

void Keyboard::OnRightPanelCreated() {
  p_.shell.SetPanelWidth(PanelSide::Right, p_.shell.ButtonBounds(PanelSide::Right, 0).width);
  p_.shell.SetPanelTitle(PanelSide::Right, platform::kRightPanelTitle);
  app::PlacePanels(p_.shell, p_.desktop);
  presser_.ForgetRememberedKeys();
  switcher_.SetButtonsFilled();
  switcher_.ShowDefault();
  p_.shell.ShowPanel(PanelSide::Right);
  p_.desktop.GiveFocus(follower_.target().window());
  input::ParkCursor(p_.shell, p_.input, kParkingSlotAtStart);
}

void Keyboard::OnStartedUp() {
  if (!notice_.empty()) p_.shell.ShowTrayBalloon(notice_);
}

input::HookAction Keyboard::OnMouseMessage(input::MouseMessage message, platform::Point cursor,
                                           platform::InputOrigin origin, tracking::MessageWindow window) {
  const input::HookAction action = hook_.HandleMouseMessage(message, cursor, origin);
  hookKeeper_.ThreadHookDecided(message, action, origin, window);
  SettleAfterEntry();
  return action;
}

input::HookAction Keyboard::OnPanelTap(input::MouseMessage message, platform::Point cursor,
                                       platform::InputOrigin origin) {
  const input::HookAction action = hook_.HandleMouseMessage(message, cursor, origin);
  SettleAfterEntry();
  return action;
}

void Keyboard::OnSystemResumed() { hookKeeper_.SignOfLoss(tracking::HookLossSign::Resumed); }

void Keyboard::OnSessionUnlocked() { hookKeeper_.SignOfLoss(tracking::HookLossSign::Unlocked); }

void Keyboard::OnTimerTick() {
  const platform::WindowHandle target = follower_.target().window();
  tick_.Run();
  // The keys of a repeat belong to the window they went to.
  if (follower_.target().window() != target) presser_.StopRepeat();
  const std::uint32_t now = p_.clock.TickCount();
  if (watch_.Due(now) && watch_.Look(p_.files.Stamp(buttonFilePath_), now)) ReloadButtons();
  // A long hold or a program's page may have shown another map.
  SettleAfterEntry();
}

void Keyboard::OnButtonClick(PanelSide side, int row, platform::InputOrigin origin) {
  if (row < 0 || row >= platform::kButtonsPerPanel || origin == platform::InputOrigin::Keyvane) return;
  presser_.PressSlot(input::SlotOfButton(side, row));
  SettleAfterEntry();
}

void Keyboard::OnTabClick(platform::InputOrigin origin) {
  if (origin != platform::InputOrigin::Keyvane) tab_.Restore();
}

void Keyboard::OnTrayIconClick() {
  if (tab_.Restore()) return;
  // The panels may hide now.
  ReleaseHeldKeys();
  TogglePanels(p_.desktop);
}

void Keyboard::OnOwnWindowOpening() { targetBeforeOwnWindow_ = follower_.target().window(); }

void Keyboard::OnOwnWindowClosed() {
  // Meanwhile the menu or the About box was the target; the window typed into is again.
  follower_.TakeWindow(targetBeforeOwnWindow_);
  if (targetBeforeOwnWindow_ != 0) p_.desktop.BringToForeground(targetBeforeOwnWindow_);
}

void Keyboard::OnReloadCommand() { ReloadButtons(); }

void Keyboard::OnQuitCommand() {
  ReleaseHeldKeys();
  hookKeeper_.Remove();
  p_.shell.Quit();
  p_.shell.HideTrayIcon();
}

bool Keyboard::OnLeftPanelCloseQuery() {
  ReleaseHeldKeys();
  hookKeeper_.Remove();
  p_.shell.HideTrayIcon();
  return true;
}

bool Keyboard::OnSessionEndQuery() { return true; }

void Keyboard::OnSessionEnd(bool ending) {
  if (!ending) return;
  // Windows ends the process without returning to the loop.
  ReleaseHeldKeys();
  hookKeeper_.Remove();
  p_.shell.HideTrayIcon();
}

void Keyboard::OnLeftPanelClose() { p_.shell.HideTrayIcon(); }

void Keyboard::OnRightPanelDestroy() { follower_.DetachInput(); }

}  // namespace keyvane::app

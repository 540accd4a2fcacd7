#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "app/button_file_watch.h"
#include "app/timer_tick.h"
#include "btnfile/loader.h"
#include "btnfile/special_names.h"
#include "input/held_keys.h"
#include "input/map_switcher.h"
#include "input/panel_mouse_hook.h"
#include "input/panels_tab.h"
#include "input/slot_presser.h"
#include "input/slots.h"
#include "platform/clock.h"
#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/input.h"
#include "platform/input_method.h"
#include "platform/shell.h"
#include "trace/trace_log.h"
#include "tracking/mouse_hook_keeper.h"
#include "tracking/target_follower.h"

namespace keyvane::testing {
struct KeyboardParts;
}

namespace keyvane::app {

// Everything the keyboard asks of the operating system, by role; each object outlives the keyboard.
struct PlatformServices {
  platform::Files& files;
  platform::Clock& clock;
  platform::Input& input;
  platform::Desktop& desktop;
  platform::InputMethod& ime;
  platform::Shell& shell;
};

// What the About box tells about the button file in use.
struct ButtonFileStatus {
  bool fileRead = false;
  std::size_t mapCount = 0;
  std::size_t problemCount = 0;  // what keyvane-check would list
};

// Everything the keyboard decides, driven by the Windows shell (src/win32) on the user-interface thread.
// Start-up order: LoadButtons, TakeTarget, create the left panel, create the right panel,
// OnStartedUp once the notification icon is shown.
// Tear-down: the right panel is destroyed before the left one.
// A second copy does not build a Keyboard: it calls TogglePanels (app/placement.h) and ends.
class Keyboard {
 public:
  // The button file and the trace are named without a folder: the files role finds them beside the program.
  explicit Keyboard(const PlatformServices& platform);

  Keyboard(const Keyboard&) = delete;
  Keyboard& operator=(const Keyboard&) = delete;
  // A key is never left down, even when an error ends the program.
  ~Keyboard();

  // Start-up, after the mutex was created and before any window: deletes dovaD.STS, reads dovaD.BTN.
  void LoadButtons();
  // Start-up, right after LoadButtons: the window with the focus becomes the target window.
  void TakeTarget();
  // The left panel was just created, with its seven buttons: width, title "KB1_For_Keyvane", mouse hook.
  void OnLeftPanelCreated();
  // The right panel was just created, with its seven buttons: width, title, placement, bindings and
  // captions of the default map, shows the right panel, focuses the target, parks the cursor.
  // The shell starts the right panel's 100 ms timer after this.
  void OnRightPanelCreated();
  // Start-up done, the notification icon shown: a balloon tells about problems in the button file.
  void OnStartedUp();

  // The thread hook: one mouse message, where the cursor is, whether Keyvane sent it itself and
  // the window it is on its way to. Decides whether the message goes on to that window.
  input::HookAction OnMouseMessage(input::MouseMessage message, platform::Point cursor,
                                   platform::InputOrigin origin = platform::InputOrigin::User,
                                   tracking::MessageWindow window = tracking::MessageWindow::PanelButton);
  // A button message that the low-level hook swallowed over a panel button and handed on; what
  // the rules answer tells only whether they took it too.
  input::HookAction OnPanelTap(input::MouseMessage message, platform::Point cursor,
                               platform::InputOrigin origin = platform::InputOrigin::User);
  // The system woke from sleep, or the user's session was unlocked: Windows may have removed
  // the low-level hook meanwhile.
  void OnSystemResumed();
  void OnSessionUnlocked();
  // A click of the tab of the panels made small; it only sees clicks when no hook is installed.
  void OnTabClick(platform::InputOrigin origin = platform::InputOrigin::User);
  // The right panel's 100 ms tick; also reads the button file again once a
  // change to it has settled.
  void OnTimerTick();
  // A click of a panel button (row 0, the top button); buttons only see clicks when no hook is installed.
  // A click that Keyvane sent itself presses nothing.
  void OnButtonClick(platform::PanelSide side, int row, platform::InputOrigin origin = platform::InputOrigin::User);

  // The time a held chord asked the shell for is up: its ups, then the default map.
  void OnKeyHoldOver();
  // The time a repeating button asked the shell for is up: the repeats due, unless the button
  // was left meanwhile.
  void OnKeyRepeatDue();
  // Whether the panel button at a screen point repeats while held; a touch there must go down at
  // once, not wait to see whether it is a long touch.
  bool RepeatsAt(platform::Point point);
  // Every key Keyvane holds comes up: the message loop has ended, whatever ended it.
  void OnLoopEnded();
  // A panel is about to hide (a second start, the icon, its close): held keys come up first,
  // unless MINIMAM makes the panels small.
  void OnPanelHiding();
  // A panel is being shown (a second start): panels made small come back, and their tab goes.
  void OnPanelShown();

  // A page chosen outside the panels, as in the checker's preview's list of pages: shown once,
  // as a JP press shows it; the default stays.
  void ShowPage(std::string_view name) { switcher_.ShowMap(name); }

  // Notification icon: left button released over the icon. Brings back panels made small, or
  // else shows or hides the panels.
  void OnTrayIconClick();
  // Before the notification menu (and the About box it may open) takes the foreground:
  // remembers the window typed into.
  void OnOwnWindowOpening();
  // After they closed: that window gets the foreground back, so the next press reaches it.
  void OnOwnWindowClosed();
  // Notification menu: the reload item. Reads the button file again now.
  void OnReloadCommand();
  // Notification menu: the Quit item.
  void OnQuitCommand();
  // The left panel is asked to close: removes the hook, hides the icon; true = may close.
  bool OnLeftPanelCloseQuery();
  // Windows asks whether the session may end: yes, and nothing changes, since another program
  // may still call the end off.
  bool OnSessionEndQuery();
  // Windows tells the outcome: a session that ends takes the hook and the icon away; one that
  // was called off changes nothing.
  void OnSessionEnd(bool ending);
  // The left panel closes for good after the close query allowed it, before it is destroyed: hides the icon again.
  void OnLeftPanelClose();
  // The right panel is being destroyed: detaches the input from the target's thread (before the left panel goes).
  void OnRightPanelDestroy();

  // State: the About box reads the button file's status, the checker's preview the rest.
  const btnfile::LoadedButtons& loaded() const { return *loaded_; }
  ButtonFileStatus buttonFileStatus() const;
  const input::PageState& pages() const { return switcher_.pages(); }
  const input::SlotTable& slots() const { return switcher_.slots(); }

 private:
  // The unit tests read the parts' state through it (tests/support/keyboard_parts.h).
  friend struct testing::KeyboardParts;

  void ReloadButtons();
  // Loads the button file and traces what was read after what the trace already holds.
  btnfile::LoadedButtons ReadAndTrace();
  void TakeLoaded(btnfile::LoadedButtons loaded);
  void ReleaseHeldKeys();
  // Each button shows whether the keys of its KEYTOG are held; told to the shell on a change only.
  void ShowHeldButtons();
  // A repeat ends once its button is no longer under the cursor or no longer shows its definition.
  void FollowRepeat();
  // What any entry may have changed: a repeat whose button was left ends, held buttons are drawn.
  void SettleAfterEntry();

  PlatformServices p_;
  std::string buttonFilePath_;
  trace::TraceLog log_;
  std::shared_ptr<const btnfile::LoadedButtons> loaded_ = std::make_shared<const btnfile::LoadedButtons>();
  tracking::TargetFollower follower_;  // holds the target; before the switcher, which reads it
  input::MapSwitcher switcher_;
  input::HeldKeys held_;
  input::PanelsTab tab_;
  input::SlotPresser presser_;
  input::PanelMouseHook hook_;
  tracking::MouseHookKeeper hookKeeper_;
  TimerTick tick_;
  ButtonFileWatch watch_;
  std::size_t problemCount_ = 0;
  std::string notice_;  // what the balloon said, or is to say, about the reading in use
  platform::WindowHandle targetBeforeOwnWindow_ = 0;
  std::array<bool, input::kSlotCount> shownHeld_{};
};

}  // namespace keyvane::app

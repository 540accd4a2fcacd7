#include "input/panel_mouse_hook.h"

#include <string>

#include "btnfile/special_names.h"

namespace keyvane::input {

namespace {

constexpr std::uint32_t kLongHoldMs = 500;

}  // namespace

void PanelMouseHook::Park(int slot) { input::ParkCursor(shell_, input_, slot); }

HookAction PanelMouseHook::HandleMouseMessage(MouseMessage message, platform::Point point,
                                              platform::InputOrigin origin) {
  if (tab_.shrunk()) return HandleTabMessage(message, point, origin);
  const std::optional<int> slot = input::HitTestSlot(switcher_.slots(), shell_, point);
  if (!slot) {
    // The release of a repeating button, off the panels: it ends the repeat, and goes on.
    if (message == MouseMessage::LeftUp && leftPressRepeats_ && origin == platform::InputOrigin::User) {
      leftPressSeen_ = leftPressRepeats_ = false;
      presser_.EndRepeat();
    }
    return HookAction::PassOn;
  }
  if (origin == platform::InputOrigin::Keyvane) {
    // A mouse-button key clicks where the cursor is: on the button just pressed. Taken as a
    // touch, it would press that button again, and again. It is swallowed.
    return message == MouseMessage::Move || message == MouseMessage::Other ? HookAction::PassOn : HookAction::Consume;
  }
  switch (message) {
    case MouseMessage::LeftDown:
    case MouseMessage::LeftDoubleClick:
      leftPressSeen_ = true;
      // A repeating button acts as it goes down, as a key does; every other one on its release.
      leftPressRepeats_ = presser_.Repeats(*slot);
      if (leftPressRepeats_) presser_.StartRepeat(*slot);
      return HookAction::Consume;
    case MouseMessage::LeftUp:
      if (!leftPressSeen_) return HookAction::PassOn;
      leftPressSeen_ = false;
      if (leftPressRepeats_) {
        leftPressRepeats_ = false;
        presser_.EndRepeat();
      } else {
        presser_.PressSlot(*slot);
      }
      Park(*slot);
      return HookAction::Consume;
    case MouseMessage::RightDown:
      rightPressSeen_ = true;
      rightHold_ = {RightHoldState::Phase::Held, clock_.TickCount()};
      Park(*slot);
      return HookAction::Consume;
    case MouseMessage::RightUp:
      if (!rightPressSeen_) return HookAction::PassOn;
      rightPressSeen_ = false;
      if (rightHold_.phase == RightHoldState::Phase::Spent) {
        rightHold_ = {};
        Park(*slot);
      } else {
        rightHold_ = {};
        RightButtonPage(*slot);
      }
      return HookAction::Consume;
    case MouseMessage::RightDoubleClick:
      rightPressSeen_ = true;
      Park(*slot);
      return HookAction::Consume;
    default: return HookAction::PassOn;
  }
}

// The hidden panels' buttons are not hit; the tab takes its button messages, as a button does,
// so that none reaches a window below. The right button does nothing on it.
HookAction PanelMouseHook::HandleTabMessage(MouseMessage message, platform::Point point, platform::InputOrigin origin) {
  if (message == MouseMessage::Move || message == MouseMessage::Other || !tab_.Holds(point)) return HookAction::PassOn;
  if (origin == platform::InputOrigin::Keyvane) return HookAction::Consume;
  switch (message) {
    case MouseMessage::LeftDown:
    case MouseMessage::LeftDoubleClick: leftPressSeen_ = true; return HookAction::Consume;
    case MouseMessage::LeftUp: {
      if (!leftPressSeen_) return HookAction::PassOn;
      leftPressSeen_ = false;
      const int slot = tab_.slot();
      tab_.Restore();
      Park(slot);
      return HookAction::Consume;
    }
    case MouseMessage::RightUp:
      if (!rightPressSeen_) return HookAction::PassOn;
      rightPressSeen_ = false;
      rightHold_ = {};
      return HookAction::Consume;
    default:  // a right press
      rightPressSeen_ = true;
      rightHold_ = {};
      return HookAction::Consume;
  }
}

void PanelMouseHook::RightButtonPage(int slot) {
  for (int position = 0; position < btnfile::kShownPositions; ++position) {
    const btnfile::ButtonDef* def = switcher_.LookupSlot(btnfile::kRightButtonPageMap, position);
    if (def == nullptr) {
      // The cycle ran out: the default stands for itself, so the first map's buttons show.
      switcher_.MakeDefaultAndShow(btnfile::kDefaultMapAlias);
      Park(slot);
      return;
    }
    if (def->caption == switcher_.pages().shownMap) {
      switcher_.MakeDefaultAndShow(def->target);
      return;
    }
  }
  switcher_.ShowDefault();
  Park(slot);
}

void PanelMouseHook::CheckLongHold(platform::Point point) {
  if (rightHold_.phase != RightHoldState::Phase::Held || tab_.shrunk()) return;
  // Unsigned difference: right across the tick count's wrap.
  if (clock_.TickCount() - rightHold_.heldSince <= kLongHoldMs) return;
  const std::optional<int> slot = input::HitTestSlot(switcher_.slots(), shell_, point);
  if (!slot) return;
  SlideCommand(*slot);
  rightHold_.phase = RightHoldState::Phase::Spent;
}

void PanelMouseHook::SlideCommand(int slot) {
  const std::string saved = switcher_.pages().shownMap;
  switcher_.ShowMap(btnfile::kSlideCommandMap);
  presser_.PressSlot(slot);
  switcher_.ShowMap(saved);
}

}  // namespace keyvane::input

#include "tracking/mouse_hook_keeper.h"

namespace keyvane::tracking {

namespace {

const char* NameOf(HookLossSign sign) {
  switch (sign) {
    case HookLossSign::TapSlippedPast: return "Tap";
    case HookLossSign::Resumed: return "Resume";
    default: return "Unlock";
  }
}

bool IsPress(input::MouseMessage message) {
  return message == input::MouseMessage::LeftDown || message == input::MouseMessage::LeftDoubleClick ||
         message == input::MouseMessage::RightDown || message == input::MouseMessage::RightDoubleClick;
}

}  // namespace

void MouseHookKeeper::Install() { installed_ = shell_.InstallMouseHook(); }

void MouseHookKeeper::Remove() {
  if (installed_) shell_.RemoveMouseHook();
  installed_ = false;
}

void MouseHookKeeper::ThreadHookDecided(input::MouseMessage message, input::HookAction action,
                                        platform::InputOrigin origin, MessageWindow window) {
  // Only presses: a release goes on to the panels where its press was not taken, on purpose. The
  // low-level hook looks at the window under the point, so a press on Keyvane's menu over a
  // button is not its to take.
  if (action == input::HookAction::Consume && origin == platform::InputOrigin::User && IsPress(message) &&
      window == MessageWindow::PanelButton) {
    SignOfLoss(HookLossSign::TapSlippedPast);
  }
}

void MouseHookKeeper::SignOfLoss(HookLossSign sign) {
  // Hooks that Keyvane removed itself stay removed.
  if (!installed_) return;
  const bool renewed = shell_.RenewMouseHook();
  log_.Write({"MouseHookRenewed After=", NameOf(sign), renewed ? " Installed=1\n" : " Installed=0\n"});
}

}  // namespace keyvane::tracking

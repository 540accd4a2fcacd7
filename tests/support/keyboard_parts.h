#pragma once

#include "app/keyboard.h"

namespace keyvane::testing {

// The state of the keyboard's parts that tests assert on and the program never asks for.
struct KeyboardParts {
  static const input::Target& Target(const app::Keyboard& keyboard) { return keyboard.follower_.target(); }
  static const tracking::TargetFollower& Follower(const app::Keyboard& keyboard) { return keyboard.follower_; }
  static const input::SlotPresser& Presser(const app::Keyboard& keyboard) { return keyboard.presser_; }
  static const input::PanelsTab& PanelsTab(const app::Keyboard& keyboard) { return keyboard.tab_; }
  static const input::PanelMouseHook& MouseHook(const app::Keyboard& keyboard) { return keyboard.hook_; }
  static const tracking::MouseHookKeeper& HookKeeper(const app::Keyboard& keyboard) { return keyboard.hookKeeper_; }
  // Whether keys are kept down now (a KEYTOG, or a chord waiting for its call back).
  static bool HoldsKeys(const app::Keyboard& keyboard) { return keyboard.held_.anyHeld(); }
};

}  // namespace keyvane::testing

#include "input/slot_presser.h"

#include "input/send_key_event.h"

namespace keyvane::input {

void SlotPresser::SendChord(const btnfile::KeySequence& keys) {
  SendKeyEvent(keys, SendMode::Press, input_, log_);
  clock_.Sleep(1);
  SendKeyEvent(keys, SendMode::Release, input_, log_);
}

void SlotPresser::PressSlot(int slot) {
  const btnfile::ButtonDef* def = slots_.DefinitionOf(slot);
  if (def == nullptr) return;
  switch (def->kind) {
    case btnfile::ActionKind::JP: switcher_.SwitchMap(def->target); break;
    case btnfile::ActionKind::KEY:
      SendChord(def->keys);
      rememberedKeys_ = def->keys;
      switcher_.SwitchMap(kDefaultMapAlias);
      break;
    case btnfile::ActionKind::BASE:
      switcher_.pages().defaultMap = def->target;
      switcher_.SwitchMap(def->target);
      break;
    case btnfile::ActionKind::REKEY:
      if (!rememberedKeys_) return;
      SendChord(*rememberedKeys_);
      switcher_.SwitchMap(kDefaultMapAlias);
      break;
    default: break;
  }
}

}  // namespace keyvane::input

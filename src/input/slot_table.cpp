#include "input/slot_table.h"

namespace keyvane::input {

SlotButton ButtonOfSlot(int slot) {
  if (slot < platform::kButtonsPerPanel) return {platform::PanelSide::Left, slot};
  return {platform::PanelSide::Right, slot - platform::kButtonsPerPanel};
}

int SlotForPosition(int position) {
  const int row = position / 2;
  return position % 2 == 0 ? row : platform::kButtonsPerPanel + row;
}

const btnfile::ButtonDef* SlotTable::DefinitionOf(int slot) const {
  if (slot < 0 || slot >= kSlotCount) return nullptr;
  return definitions[static_cast<std::size_t>(slot)];
}

}  // namespace keyvane::input

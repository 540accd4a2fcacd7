#include "input/slots.h"

#include <algorithm>
#include <climits>

namespace keyvane::input {

namespace {

// The /R and /T options can put a panel anywhere in the int range: sums saturate instead of overflowing.
int SaturatedSum(long long a, long long b) { return static_cast<int>(std::clamp<long long>(a + b, INT_MIN, INT_MAX)); }

}  // namespace

platform::Rect SlotRect(platform::Shell& shell, int slot) {
  const SlotButton button = ButtonOfSlot(slot);
  const platform::Rect panel = shell.PanelBounds(button.panel);
  const platform::Rect inPanel = shell.ButtonBounds(button.panel, button.row);
  return {SaturatedSum(panel.left, inPanel.left), SaturatedSum(panel.top, inPanel.top), inPanel.width, inPanel.height};
}

SlotButton ButtonOfSlot(int slot) {
  if (slot < platform::kButtonsPerPanel) return {platform::PanelSide::Left, slot};
  return {platform::PanelSide::Right, slot - platform::kButtonsPerPanel};
}

int SlotOfButton(platform::PanelSide panel, int row) {
  return panel == platform::PanelSide::Left ? row : platform::kButtonsPerPanel + row;
}

int SlotForPosition(int position) {
  return SlotOfButton(position % 2 == 0 ? platform::PanelSide::Left : platform::PanelSide::Right, position / 2);
}

const btnfile::ButtonDef* SlotTable::DefinitionOf(int slot) const {
  if (slot < 0 || slot >= kSlotCount) return nullptr;
  return definitions[static_cast<std::size_t>(slot)];
}

bool ButtonHolds(const platform::Rect& r, platform::Point point) {
  return r.left <= point.x && point.x <= SaturatedSum(r.left, r.width) && r.top <= point.y &&
         point.y <= SaturatedSum(r.top, r.height);
}

std::optional<int> HitTestSlot(const SlotTable& slots, platform::Shell& shell, platform::Point point) {
  if (!slots.buttonsFilled) return std::nullopt;
  for (int slot = 0; slot < kSlotCount; ++slot) {
    if (ButtonHolds(SlotRect(shell, slot), point)) return slot;
  }
  return std::nullopt;
}

void ParkCursor(platform::Shell& shell, platform::Input& input, int slot) {
  const platform::Rect r = SlotRect(shell, slot);
  input.MoveCursor({SaturatedSum(r.left, r.width - 10), SaturatedSum(r.top, r.height - 10)});
}

}  // namespace keyvane::input

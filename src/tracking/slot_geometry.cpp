#include "tracking/slot_geometry.h"

namespace keyvane::tracking {

platform::Rect SlotRect(platform::Panels& panels, int slot) {
  const input::SlotButton button = input::ButtonOfSlot(slot);
  const platform::Rect panel = panels.Bounds(button.panel);
  const platform::Rect inPanel = panels.ButtonBounds(button.panel, button.row);
  return {panel.left + inPanel.left, panel.top + inPanel.top, inPanel.width, inPanel.height};
}

std::optional<int> HitTestSlot(const input::SlotTable& slots, platform::Panels& panels, platform::Point point) {
  if (!slots.buttonsFilled) return std::nullopt;
  for (int slot = 0; slot < input::kSlotCount; ++slot) {
    const platform::Rect r = SlotRect(panels, slot);
    if (r.left <= point.x && point.x <= r.left + r.width && r.top <= point.y && point.y <= r.top + r.height) {
      return slot;
    }
  }
  return std::nullopt;
}

void ParkCursor(platform::Panels& panels, platform::Cursor& cursor, int slot) {
  const platform::Rect r = SlotRect(panels, slot);
  cursor.MoveTo({r.left + r.width - 10, r.top + r.height - 10});
}

}  // namespace keyvane::tracking

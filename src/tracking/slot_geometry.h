#pragma once

#include <optional>

#include "input/slot_table.h"
#include "platform/input.h"
#include "platform/shell.h"

namespace keyvane::tracking {

// A slot's button on screen, read from the panels as they are now.
platform::Rect SlotRect(platform::Shell& shell, int slot);

// The first slot whose rectangle holds the point, both edges counting as inside, so where
// buttons touch the lower slot number wins. None until both panels' buttons are in the table.
std::optional<int> HitTestSlot(const input::SlotTable& slots, platform::Shell& shell, platform::Point point);

// Puts the cursor 10 pixels left of and above the lower-right corner of the slot's button.
void ParkCursor(platform::Shell& shell, platform::Input& input, int slot);

}  // namespace keyvane::tracking

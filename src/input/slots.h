#pragma once

#include <array>
#include <optional>

#include "btnfile/button_def.h"
#include "platform/input.h"
#include "platform/shell.h"

namespace keyvane::input {

// Slots 0 to 6 are the left panel's buttons from the top, 7 to 13 the right panel's: one for
// each position of a map that the panels show.
inline constexpr int kSlotCount = btnfile::kShownPositions;

struct SlotButton {
  platform::PanelSide panel = platform::PanelSide::Left;
  int row = 0;

  bool operator==(const SlotButton&) const = default;
};

// The button a slot stands for.
SlotButton ButtonOfSlot(int slot);

// The slot of a panel's button (`row` 0 to 6).
int SlotOfButton(platform::PanelSide panel, int row);

// The slot a map position (0 to 13) is bound to: 2r to slot r, 2r + 1 to slot 7 + r.
int SlotForPosition(int position);

// What each of the fourteen panel buttons does now.
struct SlotTable {
  std::array<const btnfile::ButtonDef*, kSlotCount> definitions{};  // nullptr: nothing bound
  bool buttonsFilled = false;  // set once the right panel exists; hit tests need both panels

  // The bound definition, nullptr for an unbound or unknown slot.
  const btnfile::ButtonDef* DefinitionOf(int slot) const;
};

// The first slot whose rectangle holds the point, both edges counting as inside, so where
// buttons touch the lower slot number wins. None until both panels' buttons are in the table.
std::optional<int> HitTestSlot(const SlotTable& slots, platform::Shell& shell, platform::Point point);

// A slot's button on screen, as the panels stand now.
platform::Rect SlotRect(platform::Shell& shell, int slot);

// Whether a screen point is on a button's rectangle; both edges count as inside.
bool ButtonHolds(const platform::Rect& button, platform::Point point);

// Puts the cursor 10 pixels left of and above the lower-right corner of the slot's button.
void ParkCursor(platform::Shell& shell, platform::Input& input, int slot);

}  // namespace keyvane::input

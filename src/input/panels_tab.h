#pragma once

#include <array>
#include <optional>

#include "platform/desktop.h"
#include "platform/shell.h"

namespace keyvane::input {

// MINIMAM: the panels give the screen back and leave a tab where the button pressed was, of that
// button's size (well under a fifth of the panels), topmost at the panel's edge, where the thumb
// that pressed it already is. A tap on the tab, the icon's left click or a second start bring the
// panels back as they were. Nothing else changes meanwhile: the page, the target, held keys.
class PanelsTab {
 public:
  PanelsTab(platform::Shell& shell, platform::Desktop& desktop) : shell_(shell), desktop_(desktop) {}

  // Shows the tab in place of the slot's button, then hides the panels shown. Nothing when the
  // panels are small already.
  void ShrinkAt(int slot);
  // Shows again the panels that were shown, then hides the tab; false when they were not small.
  bool Restore();
  // Keeps the tab on its button's place while the panels are placed anew (a changed screen).
  void FollowPanels();

  bool shrunk() const { return bounds_.has_value(); }
  // Whether a screen point is on the tab; both edges count as inside, as for the buttons.
  bool Holds(platform::Point point) const;
  // The slot whose button the tab stands in for; meaningful while shrunk.
  int slot() const { return slot_; }

 private:
  platform::Shell& shell_;
  platform::Desktop& desktop_;
  std::optional<platform::Rect> bounds_;  // empty: the panels are not small
  std::array<bool, 2> shownBefore_{};     // by side
  int slot_ = 0;
};

}  // namespace keyvane::input

#include "input/panels_tab.h"

#include "input/slots.h"

namespace keyvane::input {

namespace {

// What the tab says: whose it is, and so what a tap brings back.
constexpr std::string_view kTabCaption = "Keyvane";

constexpr platform::PanelSide kSides[] = {platform::PanelSide::Left, platform::PanelSide::Right};

}  // namespace

void PanelsTab::ShrinkAt(int slot) {
  if (shrunk()) return;
  // Known as small before the panels hide: a panel about to hide must tell it from an end.
  bounds_ = SlotRect(shell_, slot);
  slot_ = slot;
  for (const platform::PanelSide side : kSides)
    shownBefore_[static_cast<std::size_t>(side)] = desktop_.IsVisible(shell_.PanelWindow(side));
  // The tab first: there is never a moment with nothing of Keyvane on the screen.
  shell_.ShowTab(*bounds_, kTabCaption);
  for (const platform::PanelSide side : kSides) {
    if (shownBefore_[static_cast<std::size_t>(side)]) desktop_.Hide(shell_.PanelWindow(side));
  }
}

bool PanelsTab::Restore() {
  if (!shrunk()) return false;
  // Not small any more before a panel shows: showing one tells the keyboard, which comes here again.
  bounds_.reset();
  for (const platform::PanelSide side : kSides) {
    if (shownBefore_[static_cast<std::size_t>(side)]) shell_.ShowPanel(side);
  }
  shell_.HideTab();
  return true;
}

void PanelsTab::FollowPanels() {
  if (!shrunk()) return;
  const platform::Rect now = SlotRect(shell_, slot_);
  if (now == *bounds_) return;
  bounds_ = now;
  shell_.ShowTab(now, kTabCaption);
}

bool PanelsTab::Holds(platform::Point point) const { return bounds_ && ButtonHolds(*bounds_, point); }

}  // namespace keyvane::input

#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop.h"
#include "platform/shell.h"

namespace keyvane::app {

// The /R and /T options: the right panel's left edge and both panels' top edge; 0 = not given.
struct PlacementOptions {
  std::int32_t right = 0;
  std::int32_t top = 0;

  bool operator==(const PlacementOptions&) const = default;
};

// Every argument, the program's name included, is upper-cased and trimmed; the last /R and
// the last /T win, even when their number does not parse.
PlacementOptions ReadPlacementOptions(const std::vector<std::string>& arguments);

// Reads an integer the usual way: leading blanks, one sign, decimal digits, or hexadecimal
// after $, X or 0X. Anything left over, no digits, or a value outside the signed 32-bit
// range gives 0.
std::int32_t ParseIntegerText(std::string_view text);

// The right panel's left edge without /R: a screen at most 800 pixels wide less the panel and
// `margin`, the width of a vertical scroll bar and a window edge together.
int DefaultRightPanelLeft(int screenWidth, int panelWidth, int margin);

// Puts the left panel at the left edge and the right panel at /R or near the right edge of a
// screen at most 800 pixels wide, both at /T or 41 pixels down. A panel already in place is
// not touched.
void PlacePanels(platform::Shell& shell, platform::Desktop& desktop);

// A second copy's whole work: flips each panel of the running copy, found by title: a visible
// one is hidden, a hidden one shown without taking the foreground from the window typed into,
// every show before any hide. Does nothing when the left panel is not there.
void TogglePanels(platform::Desktop& desktop);

}  // namespace keyvane::app

#include "app/placement.h"

#include <algorithm>
#include <string_view>

#include "btnfile/cp932.h"

namespace keyvane::app {

namespace {

constexpr int kWidestScreenFollowed = 800;

int DigitValue(char c, int base) {
  int value = -1;
  if (c >= '0' && c <= '9')
    value = c - '0';
  else if (c >= 'A' && c <= 'F')
    value = c - 'A' + 10;
  else if (c >= 'a' && c <= 'f')
    value = c - 'a' + 10;
  return value < base ? value : -1;
}

// Only ASCII letters matter to the options; other bytes, lead bytes included, stay as they are.
std::string UpperTrimmed(std::string_view argument) {
  std::string out(cp932::TrimBlanks(argument));
  for (char& c : out) c = cp932::AsciiUpper(c);
  return out;
}

void MoveIfElsewhere(platform::Shell& shell, platform::PanelSide side, platform::Rect now, platform::Point wanted) {
  if (now.left != wanted.x || now.top != wanted.y) shell.MovePanel(side, wanted);
}

}  // namespace

std::int32_t ParseIntegerText(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  int base = 10;
  const std::string_view rest = text.substr(i);
  if (rest.starts_with('$') || rest.starts_with('x') || rest.starts_with('X')) {
    base = 16;
    i += 1;
  } else if (rest.starts_with("0x") || rest.starts_with("0X")) {
    base = 16;
    i += 2;
  }
  if (i >= text.size()) return 0;
  constexpr std::int64_t kLimit = std::int64_t{1} << 31;  // magnitude of INT32_MIN
  std::int64_t magnitude = 0;
  for (; i < text.size(); ++i) {
    const int digit = DigitValue(text[i], base);
    if (digit < 0) return 0;
    magnitude = magnitude * base + digit;
    if (magnitude > kLimit) return 0;
  }
  const std::int64_t value = negative ? -magnitude : magnitude;
  if (value > INT32_MAX) return 0;
  return static_cast<std::int32_t>(value);
}

PlacementOptions ReadPlacementOptions(const std::vector<std::string>& arguments) {
  PlacementOptions options;
  for (const std::string& raw : arguments) {
    const std::string argument = UpperTrimmed(raw);
    const std::string_view number = std::string_view(argument).substr(std::min<std::size_t>(2, argument.size()));
    if (argument.starts_with("/R")) options.right = ParseIntegerText(number);
    if (argument.starts_with("/T")) options.top = ParseIntegerText(number);
  }
  return options;
}

int DefaultRightPanelLeft(int screenWidth, int panelWidth, int margin) {
  return std::min(screenWidth, kWidestScreenFollowed) - panelWidth - margin;
}

void PlacePanels(platform::Shell& shell, platform::Desktop& desktop) {
  using platform::PanelSide;
  const PlacementOptions options = ReadPlacementOptions(shell.Arguments());

  const platform::Rect left = shell.PanelBounds(PanelSide::Left);
  const int leftLeft = 0;
  const int top = options.top != 0 ? options.top : shell.ButtonBounds(PanelSide::Left, 0).height;
  MoveIfElsewhere(shell, PanelSide::Left, left, {leftLeft, top});

  const platform::Rect right = shell.PanelBounds(PanelSide::Right);
  int rightLeft = options.right;
  if (rightLeft == 0) {
    const int margin = desktop.VerticalScrollBarWidth() + desktop.EdgeWidth();
    rightLeft = leftLeft + DefaultRightPanelLeft(desktop.ScreenWidth(), right.width, margin);
  }
  MoveIfElsewhere(shell, PanelSide::Right, right, {rightLeft, top});
}

void TogglePanels(platform::Desktop& desktop) {
  const platform::WindowHandle left = desktop.FindTopLevelWindow(platform::kLeftPanelTitle);
  if (left == 0) return;
  const platform::WindowHandle right = desktop.FindTopLevelWindow(platform::kRightPanelTitle);
  const bool leftWasShown = desktop.IsVisible(left);
  const bool rightWasShown = right != 0 && desktop.IsVisible(right);
  // Shows before hides: the running copy ends at the tick that finds both panels hidden,
  // so there must never be such a moment unless both end hidden.
  if (!leftWasShown) desktop.Show(left);
  if (right != 0 && !rightWasShown) desktop.Show(right);
  if (leftWasShown) desktop.Hide(left);
  if (rightWasShown) desktop.Hide(right);
}

}  // namespace keyvane::app

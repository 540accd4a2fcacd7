#include "app/placement.h"

#include <algorithm>
#include <string_view>

#include "app/integer_text.h"

namespace keyvane::app {

namespace {

constexpr int kWidestScreenFollowed = 800;

// Only ASCII letters matter to the options; other bytes, lead bytes included, stay as they are.
std::string UpperTrimmed(std::string_view argument) {
  const auto isBlankOrControl = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (!argument.empty() && isBlankOrControl(argument.front())) argument.remove_prefix(1);
  while (!argument.empty() && isBlankOrControl(argument.back())) argument.remove_suffix(1);
  std::string out(argument);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

void MoveIfElsewhere(platform::Shell& shell, platform::PanelSide side, platform::Rect now, platform::Point wanted) {
  if (now.left != wanted.x || now.top != wanted.y) shell.MovePanel(side, wanted);
}

}  // namespace

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
    const int edge = desktop.VerticalScrollBarWidth() + desktop.EdgeWidth();
    rightLeft = std::min(desktop.ScreenWidth(), kWidestScreenFollowed) + leftLeft - right.width - edge;
  }
  MoveIfElsewhere(shell, PanelSide::Right, right, {rightLeft, top});
}

}  // namespace keyvane::app

#include "preview_engine/preview_platform.h"

#include <algorithm>

#include "btnfile/button_def.h"
#include "btnfile/key_names.h"
#include "btnfile/special_names.h"

namespace keyvane::preview_engine {

namespace {

std::string EventText(std::uint8_t code, platform::KeyDirection direction) {
  return btnfile::KeyCodeText(code) + (direction == platform::KeyDirection::Down ? " down" : " up");
}

}  // namespace

void PreviewPlatform::BringProgramToFront(std::optional<std::string> program) {
  auto it = std::find(programs_.begin(), programs_.end(), program);
  if (it == programs_.end()) it = programs_.insert(programs_.end(), std::move(program));
  foreground_ = kFirstProgramWindow + (it - programs_.begin());
}

bool PreviewPlatform::IsProgramWindow(platform::WindowHandle window) const {
  return window >= kFirstProgramWindow &&
         window - kFirstProgramWindow < static_cast<platform::WindowHandle>(programs_.size());
}

bool PreviewPlatform::ReadAll(const std::string& path, std::string& bytes) {
  if (path != btnfile::kButtonFileName) return false;
  bytes = buttonFile_;
  return true;
}

void PreviewPlatform::SendKey(std::uint8_t virtualKey, platform::KeyDirection direction, bool) {
  if (onKeyEvent) onKeyEvent(EventText(virtualKey, direction));
}

void PreviewPlatform::SendMouseButton(platform::MouseButton button, platform::KeyDirection direction) {
  const std::uint8_t code = button == platform::MouseButton::Left    ? btnfile::kMouseLeftButtonCode
                            : button == platform::MouseButton::Right ? btnfile::kMouseRightButtonCode
                                                                     : btnfile::kMouseMiddleButtonCode;
  if (onKeyEvent) onKeyEvent(EventText(code, direction));
}

std::string PreviewPlatform::WindowTitle(platform::WindowHandle window) {
  if (window == kLeftPanelWindow) return std::string(platform::kLeftPanelTitle);
  if (window == kRightPanelWindow) return std::string(platform::kRightPanelTitle);
  return IsProgramWindow(window) ? "a program" : "";
}

std::optional<std::string> PreviewPlatform::ProgramName(platform::WindowHandle window) {
  if (!IsProgramWindow(window)) return std::nullopt;
  return programs_[static_cast<std::size_t>(window - kFirstProgramWindow)];
}

platform::ThreadId PreviewPlatform::WindowThread(platform::WindowHandle window) {
  if (window == kLeftPanelWindow || window == kRightPanelWindow) return kOwnThread;
  return IsProgramWindow(window) ? static_cast<platform::ThreadId>(window) : 0;
}

void PreviewPlatform::SetOpenStatus(platform::ImeContext, bool open) {
  if (onInputMethod) onInputMethod(open, captionedSinceInputMethod_);
  captionedSinceInputMethod_ = false;
}

platform::WindowHandle PreviewPlatform::PanelWindow(platform::PanelSide side) {
  return side == platform::PanelSide::Left ? kLeftPanelWindow : kRightPanelWindow;
}

platform::Rect PreviewPlatform::ButtonBounds(platform::PanelSide, int row) {
  if (row < 0 || row >= platform::kButtonsPerPanel) return {};
  return platform::kButtonLayout[static_cast<std::size_t>(row)];
}

void PreviewPlatform::SetPanelWidth(platform::PanelSide side, int width) {
  panels_[static_cast<std::size_t>(side)].width = width;
}

void PreviewPlatform::MovePanel(platform::PanelSide side, platform::Point topLeft) {
  platform::Rect& panel = panels_[static_cast<std::size_t>(side)];
  panel.left = topLeft.x;
  panel.top = topLeft.y;
}

void PreviewPlatform::SetCaption(platform::PanelSide side, int row, std::string_view caption) {
  if (row < 0 || row >= platform::kButtonsPerPanel) return;
  captions_[static_cast<std::size_t>(side)][static_cast<std::size_t>(row)] = std::string(caption);
  captionedSinceInputMethod_ = true;
}

void PreviewPlatform::SetButtonHeld(platform::PanelSide side, int row, bool held) {
  if (row < 0 || row >= platform::kButtonsPerPanel) return;
  held_[static_cast<std::size_t>(side)][static_cast<std::size_t>(row)] = held;
}

void PreviewPlatform::ShowTab(platform::Rect bounds, std::string_view caption) {
  tab_ = Tab{bounds, std::string(caption)};
}

std::string PreviewPlatform::StartProgram(std::string_view program, std::string_view arguments) {
  if (onStartProgram) onStartProgram(btnfile::ProgramLine(program, arguments));
  return {};
}

}  // namespace keyvane::preview_engine

#include "support/recording_platform.h"

#include "support/sjis.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace keyvane::testing {

namespace {

const char* SideName(platform::PanelSide side) { return side == platform::PanelSide::Left ? "L" : "R"; }

const char* DirectionName(platform::KeyDirection direction) {
  return direction == platform::KeyDirection::Down ? "down" : "up";
}

const char* ButtonName(platform::MouseButton button) {
  switch (button) {
    case platform::MouseButton::Left: return "left";
    case platform::MouseButton::Right: return "right";
    default: return "middle";
  }
}

}  // namespace

RecordingPlatform::RecordingPlatform() {
  // Panels are created hidden; their titles come from the keyboard.
  windows[kLeftPanelWindow] = FakeWindow{.title = "TKB1", .thread = kOwnThread, .visible = false};
  windows[kRightPanelWindow] = FakeWindow{.title = "TKB2", .thread = kOwnThread, .visible = false};
}

void RecordingPlatform::Record(std::string effect) {
  if (recording) effects.push_back(std::move(effect));
}

std::vector<std::string> RecordingPlatform::EffectsOf(std::initializer_list<std::string_view> kinds) const {
  std::vector<std::string> out;
  for (const std::string& effect : effects) {
    const std::string_view kind = std::string_view(effect).substr(0, effect.find(' '));
    for (const std::string_view wanted : kinds) {
      if (kind == wanted) {
        out.push_back(effect);
        break;
      }
    }
  }
  return out;
}

std::string RecordingPlatform::Trace() const {
  const auto it = fileSystem.files.find(kTracePath);
  return it == fileSystem.files.end() ? std::string() : it->second;
}

std::string RecordingPlatform::NewTrace() {
  const std::string all = Trace();
  const std::string fresh = traceSeen_ <= all.size() ? all.substr(traceSeen_) : all;
  traceSeen_ = all.size();
  return fresh;
}

app::PlatformServices RecordingPlatform::Services() { return {*this, *this, *this, *this, *this, *this}; }

bool RecordingPlatform::ReadAll(const std::string& path, std::string& bytes) { return fileSystem.ReadAll(path, bytes); }

std::optional<std::uint64_t> RecordingPlatform::Append(const std::string& path, std::string_view bytes) {
  if (traceInEffects) Record("trace " + std::string(bytes));
  return fileSystem.Append(path, bytes);
}

void RecordingPlatform::Remove(const std::string& path) { fileSystem.Remove(path); }

void RecordingPlatform::SendKey(std::uint8_t virtualKey, platform::KeyDirection direction, bool extended) {
  char text[40];
  std::snprintf(text, sizeof text, "key %02X %s%s", virtualKey, DirectionName(direction), extended ? " ext" : "");
  Record(text);
}

void RecordingPlatform::SendMouseButton(platform::MouseButton button, platform::KeyDirection direction) {
  Record(std::string("mouse ") + ButtonName(button) + "-" + DirectionName(direction));
}

void RecordingPlatform::Sleep(std::uint32_t milliseconds) {
  Record("sleep " + std::to_string(milliseconds));
  tick += milliseconds;
}

std::optional<platform::Point> RecordingPlatform::CursorPosition() {
  if (!cursorReadable) return std::nullopt;
  return cursor;
}

void RecordingPlatform::MoveCursor(platform::Point point) {
  Record("cursor " + std::to_string(point.x) + "," + std::to_string(point.y));
  cursor = point;
}

std::string RecordingPlatform::WindowTitle(platform::WindowHandle window) {
  const auto it = windows.find(window);
  if (it == windows.end()) return {};
  return it->second.title.substr(0, 999);
}

std::string RecordingPlatform::WindowClass(platform::WindowHandle window) {
  const auto it = windows.find(window);
  return it == windows.end() ? std::string() : it->second.windowClass;
}

platform::WindowHandle RecordingPlatform::FirstChild(platform::WindowHandle window) {
  const auto it = windows.find(window);
  return it == windows.end() ? 0 : it->second.firstChild;
}

platform::WindowHandle RecordingPlatform::ChildOfClass(platform::WindowHandle window, std::string_view className) {
  for (const auto& [handle, w] : windows) {
    if (w.parent == window && w.windowClass == className) return handle;
  }
  return 0;
}

bool RecordingPlatform::IsVisible(platform::WindowHandle window) {
  const auto it = windows.find(window);
  return it != windows.end() && it->second.visible;
}

void RecordingPlatform::BringToForeground(platform::WindowHandle window) {
  Record("foreground " + std::to_string(window));
  foreground = window;
}

bool RecordingPlatform::IsHung(platform::WindowHandle window) {
  const auto it = windows.find(window);
  return it != windows.end() && it->second.hung;
}

std::optional<std::uint32_t> RecordingPlatform::IntegrityLevel(platform::WindowHandle window) {
  const auto it = windows.find(window);
  return it == windows.end() ? std::nullopt : it->second.integrityLevel;
}

std::optional<std::string> RecordingPlatform::ProgramName(platform::WindowHandle window) {
  const auto it = windows.find(window);
  return it == windows.end() ? std::nullopt : it->second.program;
}

platform::WindowHandle RecordingPlatform::FocusedWindow(platform::ThreadId thread) {
  const auto it = focusOfThread.find(thread);
  return it == focusOfThread.end() ? 0 : it->second;
}

platform::ThreadId RecordingPlatform::WindowThread(platform::WindowHandle window) {
  const auto it = windows.find(window);
  return it == windows.end() ? 0 : it->second.thread;
}

bool RecordingPlatform::JoinInput(platform::ThreadId own, platform::ThreadId other, bool join) {
  Record(std::string(join ? "attach " : "detach ") + std::to_string(own) + "->" + std::to_string(other));
  return !join || !refusedJoins.contains(other);
}

bool RecordingPlatform::IsOutOfReach(platform::WindowHandle window) {
  const auto it = windows.find(window);
  return it != windows.end() && it->second.outOfReach;
}

platform::WindowHandle RecordingPlatform::FindTopLevelWindow(std::string_view title) {
  for (const auto& [handle, window] : windows) {
    if (window.title == title) return handle;
  }
  return 0;
}

bool RecordingPlatform::Show(platform::WindowHandle window) {
  Record("show-inactive " + std::to_string(window));
  FakeWindow& w = windows[window];
  const bool wasVisible = w.visible;
  w.visible = true;
  return wasVisible;
}

void RecordingPlatform::Hide(platform::WindowHandle window) {
  Record("hide " + std::to_string(window));
  windows[window].visible = false;
}

platform::ImeContext RecordingPlatform::GetContext(platform::WindowHandle window) {
  const auto it = windows.find(window);
  const platform::ImeContext context = it == windows.end() ? 0 : it->second.imeContext;
  Record("ime-get " + std::to_string(window) + " " + std::to_string(context));
  return context;
}

void RecordingPlatform::SetOpenStatus(platform::ImeContext context, bool open) {
  Record("ime-open " + std::to_string(context) + (open ? " on" : " off"));
}

void RecordingPlatform::ReleaseContext(platform::WindowHandle window, platform::ImeContext context) {
  Record("ime-release " + std::to_string(window) + " " + std::to_string(context));
}

platform::WindowHandle RecordingPlatform::DefaultImeWindow(platform::WindowHandle window) {
  const auto it = windows.find(window);
  return it == windows.end() ? 0 : it->second.defaultImeWindow;
}

platform::WindowHandle RecordingPlatform::ThreadImeWindow(platform::ThreadId thread) {
  const auto it = imeWindowOfThread.find(thread);
  return it == imeWindowOfThread.end() ? 0 : it->second;
}

void RecordingPlatform::SetOpenStatusThroughWindow(platform::WindowHandle imeWindow, bool open) {
  Record("ime-window-open " + std::to_string(imeWindow) + (open ? " on" : " off"));
}

platform::WindowHandle RecordingPlatform::PanelWindow(platform::PanelSide side) {
  return side == platform::PanelSide::Left ? kLeftPanelWindow : kRightPanelWindow;
}

platform::Rect RecordingPlatform::ButtonBounds(platform::PanelSide side, int row) {
  return panel(side).buttons[static_cast<std::size_t>(row)];
}

void RecordingPlatform::SetPanelWidth(platform::PanelSide side, int width) {
  Record(std::string("width ") + SideName(side) + " " + std::to_string(width));
  panel(side).bounds.width = width;
}

void RecordingPlatform::SetPanelTitle(platform::PanelSide side, std::string_view title) {
  Record(std::string("title ") + SideName(side) + " " + std::string(title));
  windows[PanelWindow(side)].title = title;
}

void RecordingPlatform::MovePanel(platform::PanelSide side, platform::Point topLeft) {
  Record(std::string("move ") + SideName(side) + " " + std::to_string(topLeft.x) + "," + std::to_string(topLeft.y));
  panel(side).bounds.left = topLeft.x;
  panel(side).bounds.top = topLeft.y;
}

void RecordingPlatform::SetCaption(platform::PanelSide side, int row, std::string_view caption) {
  Record(std::string("caption ") + SideName(side) + std::to_string(row) + " " + std::string(caption));
  panel(side).captions[static_cast<std::size_t>(row)] = caption;
}

void RecordingPlatform::ShowPanel(platform::PanelSide side) {
  Record(std::string("show ") + SideName(side));
  windows[PanelWindow(side)].visible = true;
}

void RecordingPlatform::GiveFocus(platform::WindowHandle window) {
  Record("focus " + std::to_string(window));
  focus = window;
}

bool RecordingPlatform::InstallMouseHook() {
  Record("hook-install");
  return hookInstallSucceeds;
}

void RecordingPlatform::RemoveMouseHook() { Record("hook-remove"); }

bool RecordingPlatform::RenewMouseHook() {
  Record("hook-renew");
  return hookRenewSucceeds;
}

std::string WorkedExampleButtonFile() { return Fixture("worked_example.BTN"); }

StartedKeyboard::StartedKeyboard(RecordingPlatform& world, const std::string& buttonFile) : keyboard(world.Services()) {
  world.fileSystem.files[kButtonPath] = buttonFile;
  keyboard.LoadButtons();
  keyboard.TakeTarget();
  keyboard.OnLeftPanelCreated();
  keyboard.OnRightPanelCreated();
  world.windows[RecordingPlatform::kLeftPanelWindow].visible = true;  // the message loop shows the main window
}

platform::Point SlotCenter(RecordingPlatform& world, int slot) {
  const input::SlotButton button = input::ButtonOfSlot(slot);
  const platform::Rect panel = world.panel(button.panel).bounds;
  const platform::Rect r = world.panel(button.panel).buttons[static_cast<std::size_t>(button.row)];
  return {panel.left + r.left + r.width / 2, panel.top + r.top + r.height / 2};
}

bool LeftClick(app::Keyboard& keyboard, platform::Point at) {
  const bool down = keyboard.OnPanelTap(input::MouseMessage::LeftDown, at) == input::HookAction::Consume;
  const bool up = keyboard.OnPanelTap(input::MouseMessage::LeftUp, at) == input::HookAction::Consume;
  return down && up;
}

}  // namespace keyvane::testing

#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "app/keyboard.h"
#include "support/memory_files.h"

namespace keyvane::testing {

// A window of the scripted world.
struct FakeWindow {
  std::string title;
  platform::ThreadId thread = 0;
  platform::WindowHandle firstChild = 0;
  platform::ImeContext imeContext = 0;
  bool visible = true;
  bool hung = false;
  platform::WindowHandle defaultImeWindow = 0;  // the IME window that serves its thread
  std::string windowClass{};
  platform::WindowHandle parent = 0;
  std::optional<std::uint32_t> integrityLevel = 0x2000;  // medium, as Keyvane's own by default
  std::optional<std::string> program{};                  // none: its process cannot be opened
  bool outOfReach = false;                               // Windows refuses Keyvane's messages to it
};

// Every platform role at once: a scriptable world (windows, threads, contexts, the
// foreground window, the cursor, the clock, the screen, the command line, the two panels)
// and one ordered log of every effect the keyboard has on it.
class RecordingPlatform final : public platform::Files,
                                public platform::Clock,
                                public platform::Input,
                                public platform::Desktop,
                                public platform::InputMethod,
                                public platform::Shell {
 public:
  static constexpr platform::WindowHandle kLeftPanelWindow = 9001;
  static constexpr platform::WindowHandle kRightPanelWindow = 9002;
  static constexpr platform::ThreadId kOwnThread = 1;

  RecordingPlatform();

  // --- the world ---
  MemoryFiles fileSystem;
  std::map<platform::WindowHandle, FakeWindow> windows;
  std::map<platform::ThreadId, platform::WindowHandle> focusOfThread;
  std::map<platform::ThreadId, platform::WindowHandle> imeWindowOfThread;
  platform::WindowHandle foreground = 0;
  platform::WindowHandle focus = 0;
  std::uint32_t tick = 0;
  platform::Point cursor;
  bool cursorReadable = true;
  std::optional<std::uint32_t> ownIntegrityLevel = 0x2000;
  int screenWidth = 800;
  int scrollBarWidth = 16;
  int edgeWidth = 2;
  std::vector<std::string> arguments{"KEYVANE.EXE"};
  bool hookInstallSucceeds = true;
  bool hookRenewSucceeds = true;
  platform::ThreadId taskbarThread = 0;
  std::set<platform::ThreadId> refusedJoins;  // threads Windows will not join
  struct FakePanel {
    platform::Rect bounds{0, 0, 73, platform::kPanelHeight};  // design-time width, corrected at creation
    std::array<platform::Rect, platform::kButtonsPerPanel> buttons = platform::kButtonLayout;
    std::array<std::string, platform::kButtonsPerPanel> captions;
  };
  std::array<FakePanel, 2> panels;

  // --- what happened ---
  std::vector<std::string> effects;
  bool recording = true;
  bool traceInEffects = false;  // also log every trace append, to check interleaving

  // The effects whose first word is one of `kinds` ("key", "mouse", "ime-open", ...).
  std::vector<std::string> EffectsOf(std::initializer_list<std::string_view> kinds) const;
  // The key events sent ("key 41 down"), and the captions set ("caption L0 A"), in order.
  std::vector<std::string> KeyEvents() const { return EffectsOf({"key"}); }
  std::vector<std::string> CaptionChanges() const { return EffectsOf({"caption"}); }
  // What a panel button shows now.
  const std::string& ShownCaption(platform::PanelSide side, int row) {
    return panel(side).captions[static_cast<std::size_t>(row)];
  }

  // The whole trace file, and what was appended to it since the last NewTrace.
  std::string Trace() const;
  std::string NewTrace();

  FakePanel& panel(platform::PanelSide side) { return panels[static_cast<std::size_t>(side)]; }
  app::PlatformServices Services();

  // Files
  bool ReadAll(const std::string& path, std::string& bytes) override;
  std::optional<std::uint64_t> Append(const std::string& path, std::string_view bytes) override;
  void Remove(const std::string& path) override;
  void Rename(const std::string& from, const std::string& to) override { fileSystem.Rename(from, to); }
  std::optional<platform::FileStamp> Stamp(const std::string& path) override { return fileSystem.Stamp(path); }
  // Clock
  std::uint32_t TickCount() override { return tick; }
  void Sleep(std::uint32_t milliseconds) override;
  // Input
  void SendKey(std::uint8_t virtualKey, platform::KeyDirection direction, bool extended) override;
  void SendMouseButton(platform::MouseButton button, platform::KeyDirection direction) override;
  void WaitUntilKeysTaken() override { Record("keys-taken"); }
  std::optional<platform::Point> CursorPosition() override;
  void MoveCursor(platform::Point point) override;
  // Desktop
  platform::WindowHandle FocusWindow() override { return focus; }
  platform::WindowHandle ForegroundWindow() override { return foreground; }
  void GiveFocus(platform::WindowHandle window) override;
  std::string WindowTitle(platform::WindowHandle window) override;
  std::string WindowClass(platform::WindowHandle window) override;
  platform::WindowHandle FirstChild(platform::WindowHandle window) override;
  platform::WindowHandle ChildOfClass(platform::WindowHandle window, std::string_view className) override;
  bool IsVisible(platform::WindowHandle window) override;
  bool IsHung(platform::WindowHandle window) override;
  std::optional<std::uint32_t> IntegrityLevel(platform::WindowHandle window) override;
  std::optional<std::uint32_t> OwnIntegrityLevel() override { return ownIntegrityLevel; }
  platform::WindowHandle FocusedWindow(platform::ThreadId thread) override;
  std::optional<std::string> ProgramName(platform::WindowHandle window) override;
  platform::ThreadId WindowThread(platform::WindowHandle window) override;
  platform::ThreadId CurrentThread() override { return kOwnThread; }
  void BringToForeground(platform::WindowHandle window) override;
  bool JoinInput(platform::ThreadId own, platform::ThreadId other, bool join) override;
  platform::ThreadId TaskbarThread() override { return taskbarThread; }
  bool IsOutOfReach(platform::WindowHandle window) override;
  platform::WindowHandle FindTopLevelWindow(std::string_view title) override;
  bool Show(platform::WindowHandle window) override;
  void Hide(platform::WindowHandle window) override;
  int ScreenWidth() override { return screenWidth; }
  int VerticalScrollBarWidth() override { return scrollBarWidth; }
  int EdgeWidth() override { return edgeWidth; }
  // InputMethod
  platform::ImeContext GetContext(platform::WindowHandle window) override;
  void SetOpenStatus(platform::ImeContext context, bool open) override;
  void SetHiraganaMode(platform::ImeContext context) override { Record("ime-hiragana " + std::to_string(context)); }
  void ReleaseContext(platform::WindowHandle window, platform::ImeContext context) override;
  platform::WindowHandle DefaultImeWindow(platform::WindowHandle window) override;
  platform::WindowHandle ThreadImeWindow(platform::ThreadId thread) override;
  void SetOpenStatusThroughWindow(platform::WindowHandle imeWindow, bool open) override;
  void SetHiraganaModeThroughWindow(platform::WindowHandle imeWindow) override {
    Record("ime-window-hiragana " + std::to_string(imeWindow));
  }
  // Shell
  platform::WindowHandle PanelWindow(platform::PanelSide side) override;
  platform::Rect PanelBounds(platform::PanelSide side) override { return panel(side).bounds; }
  platform::Rect ButtonBounds(platform::PanelSide side, int row) override;
  void SetPanelWidth(platform::PanelSide side, int width) override;
  void SetPanelTitle(platform::PanelSide side, std::string_view title) override;
  void MovePanel(platform::PanelSide side, platform::Point topLeft) override;
  void SetCaption(platform::PanelSide side, int row, std::string_view caption) override;
  void ShowPanel(platform::PanelSide side) override;
  void ShowTab(platform::Rect bounds, std::string_view caption) override {
    Record("tab-show " + std::to_string(bounds.left) + "," + std::to_string(bounds.top) + " " +
           std::to_string(bounds.width) + "x" + std::to_string(bounds.height) + " " + std::string(caption));
  }
  void HideTab() override { Record("tab-hide"); }
  bool InstallMouseHook() override;
  void RemoveMouseHook() override;
  bool RenewMouseHook() override;
  void HideTrayIcon() override { Record("tray-hide"); }
  void ShowTrayBalloon(std::string_view text) override { Record("tray-balloon " + std::string(text)); }
  void Quit() override { Record("quit"); }
  void SetButtonHeld(platform::PanelSide side, int row, bool held) override {
    Record(std::string("held ") + (side == platform::PanelSide::Left ? "L" : "R") + std::to_string(row) +
           (held ? " on" : " off"));
  }
  void OpenMenuBeside(platform::PanelSide side, int row) override {
    Record(std::string("menu-open ") + (side == platform::PanelSide::Left ? "L" : "R") + std::to_string(row));
  }
  std::string StartProgram(std::string_view program, std::string_view arguments) override {
    Record("start [" + std::string(program) + "] [" + std::string(arguments) + "]");
    return startFailure;
  }
  std::string startFailure;  // what StartProgram answers: empty when the program starts
  void CallBackToReleaseKeys(std::uint32_t milliseconds) override {
    Record("release-call-back " + std::to_string(milliseconds));
  }
  void CallBackToRepeatKeys(std::uint32_t milliseconds) override {
    Record("repeat-call-back " + std::to_string(milliseconds));
  }
  std::vector<std::string> Arguments() override { return arguments; }

 private:
  void Record(std::string effect);
  std::size_t traceSeen_ = 0;
};

// The files as the keyboard names them.
inline constexpr char kTracePath[] = "dovaD.STS";
inline constexpr char kOlderTracePath[] = "dovaD.OLD.STS";
inline constexpr char kButtonPath[] = "dovaD.BTN";

// The worked example of the button-file format, as code page 932 bytes from tests/fixtures.
std::string WorkedExampleButtonFile();

// A keyboard brought up the way the program starts: load, take the target, create the left
// panel, then the right one. The effects of start-up are kept in `world.effects`.
struct StartedKeyboard {
  explicit StartedKeyboard(RecordingPlatform& world, const std::string& buttonFile);
  app::Keyboard keyboard;
};

// The middle of a slot's button on screen, as the panels stand now.
platform::Point SlotCenter(RecordingPlatform& world, int slot);

// A left click as the low-level hook hands it on: button down, button up. Returns whether the
// rules took both.
bool LeftClick(app::Keyboard& keyboard, platform::Point at);

}  // namespace keyvane::testing

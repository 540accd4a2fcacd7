#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/keyboard.h"
#include "fuzz/properties/failures.h"
#include "input/panel_mouse_hook.h"
#include "input/slots.h"
#include "support/keyboard_parts.h"
#include "support/recording_platform.h"
#include "trace/trace_texts.h"

namespace keyvane::fuzz {

namespace detail {

// Reads choices from the front of the input; an exhausted input reads as zeros.
class Choices {
 public:
  explicit Choices(std::string_view bytes) : bytes_(bytes) {}
  bool empty() const { return at_ >= bytes_.size(); }
  std::uint8_t Byte() { return empty() ? 0 : static_cast<std::uint8_t>(bytes_[at_++]); }
  int Below(int n) { return Byte() % n; }
  std::uint32_t Word() {
    const std::uint32_t low = Byte();  // one statement each: the order must not depend on the compiler
    return low | static_cast<std::uint32_t>(Byte()) << 8;
  }
  std::string Text(std::size_t n) {
    const std::string text(bytes_.substr(at_, n));
    at_ += text.size();
    return text;
  }

 private:
  std::string_view bytes_;
  std::size_t at_ = 0;
};

// Button files that reach every kind of press, the page cycle, the slide command, the
// input-method maps, mouse-button chords, a full 100-key chord, repeating buttons and names no map has.
inline std::string EngineButtonFile(int which) {
  std::string chord100 = "A";
  for (int i = 1; i < 100; ++i) chord100 += "+A";
  switch (which) {
    case 0:
      return "#MAIN\r\nESC KEY ESC\r\nTAABB KEY TAB\r\n?SHP KEY SHIFT+3\r\nBS KEY BS\r\nKANA BASE J_KANA\r\n"
             "ENTER KEY ENTER\r\nCCOOPPYY KEY CTRL+C\r\nPPAASSTTEE KEY CTRL+V\r\nUP KEY UP\r\nDUMMY KEY SPC\r\n"
             "DN KEY DOWN\r\nF5 KEY F5\r\nALT+TAB KEY ALT+TAB\r\nREKEY REKEY\r\n\r\n#J_KANA\r\nA KEY A\r\n"
             "I KEY I\r\nBACK BASE MAIN\r\nEN JP MAIN\r\n#KEY_REPEAT\r\nBS\r\nUP 100 50\r\nCTRL+C 2000 1\r\n";
    case 1:
      return "#MAIN\nL KEY MOUSELEFTBTN\nR KEY CTRL+MOUSERIGHTBTN\nM KEY SHIFT+MOUSEMIDBTN+A\nJ JP J_X\n"
             "B BASE NOWHERE\nX KEY " +
             chord100 +
             "\nRK REKEY\nT KEYTOG CTRL+T\nE EXEC \"C:\\P.EXE\"\nMINIMAM\nMENUPOP\nKEYWAIT A\nP KEY ++\n"
             "Q JP ***DefaultMap***\n#J_X\nK KEY CTRL+ALT+DEL\nZ BASE MAIN\n#RIGHT_BTN_PAGE\nMAIN JP J_X\n"
             "J_X BASE MAIN\nNOWHERE JP MAIN\n#SLIDE_CMD\nS KEY ALT+F4\nT JP J_X\nU BASE J_X\nV REKEY\n#KEY_REPEAT\n" +
             chord100 + " 100 50\nCTRL+ALT+DEL\nALT+F4\n";
    case 2: return "' no maps at all\n  \nA KEY B\n";
    default: return "#\n#A\n#A\nX JP A\n#RIGHT_BTN_PAGE\nA JP SLIDE_CMD\n#SLIDE_CMD\nY JP RIGHT_BTN_PAGE\nZ KEY A\n";
  }
}

inline constexpr platform::WindowHandle kWindows[] = {100, 101, 102, 103, 110, 111};

// Every key and mouse button sent down goes up again, after it; nothing else is sent. Keys may
// stay down past a handler only while the keyboard holds them (a KEYTOG, a chord waiting for its
// call back, a button repeating); once it holds none, none is down. A repeat (traced as one) sends
// a key down again that is down already, and needs no up of its own.
inline void CheckInput(const std::vector<std::string>& effects, bool keyboardHolds, std::vector<std::string>& held,
                       Failures& f) {
  const std::string repeatTrace =
      "trace " + std::string(trace::text::kRepeatLine, std::char_traits<char>::length(trace::text::kRepeatLine) - 1);
  bool repeatNext = false;
  for (const std::string& e : effects) {
    std::string down;
    std::string up;
    if (e.starts_with(repeatTrace)) {
      repeatNext = true;
    } else if (e.starts_with("key ")) {
      // "key 25 down ext": the extended mark is part of the key, so its release must carry it too.
      std::string_view direction = std::string_view(e).substr(std::min<std::size_t>(7, e.size()));
      const bool extended = direction.ends_with(" ext");
      if (extended) direction.remove_suffix(4);
      const std::string key = "key " + e.substr(4, 2) + (extended ? " ext" : "");
      if (direction == "down")
        down = key;
      else if (direction == "up")
        up = key;
      else
        f.Check(false, "a key event with other flags");
    } else if (e.starts_with("mouse ")) {
      const std::string_view what = std::string_view(e).substr(6);
      const auto dash = what.find('-');
      const std::string button(what.substr(0, dash));
      if (what.ends_with("-down"))
        down = button;
      else if (what.ends_with("-up"))
        up = button;
      else
        f.Check(false, "a mouse event with other flags");
    }
    if (!down.empty() && repeatNext) {
      repeatNext = false;
      f.Check(std::find(held.begin(), held.end(), down) != held.end(), "a repeat of a key that is not down");
      down.clear();
    }
    if (!down.empty()) held.push_back(down);
    if (!up.empty()) {
      // Toggles come up in any order, each one's own keys in reverse: the latest press of the key.
      const auto press = std::find(held.rbegin(), held.rend(), up);
      f.Check(press != held.rend(), "a release without its press");
      if (press != held.rend()) held.erase(std::next(press).base());
    }
  }
  f.Check(keyboardHolds || held.empty(), "a key or button left held down after the handler");
}

// Each trace text ends with a line feed (CR LF in the file) and has no bare one.
inline void CheckTraceTexts(const std::vector<std::string>& effects, Failures& f) {
  for (const std::string& e : effects) {
    if (!e.starts_with("trace ")) continue;
    const std::string_view text = std::string_view(e).substr(6);
    f.Check(text.ends_with("\r\n"), "a trace text that does not end with a line feed");
    for (std::size_t i = 0; i < text.size(); ++i) {
      f.Check(text[i] != '\n' || (i > 0 && text[i - 1] == '\r'), "a trace text with a bare line feed");
    }
  }
}

// Counts contexts out and back: a release must match a context obtained from that window.
class ContextLedger {
 public:
  void Take(const std::vector<std::string>& effects, Failures& f) {
    for (const std::string& e : effects) {
      long long window = 0;
      long long context = 0;
      if (std::sscanf(e.c_str(), "ime-get %lld %lld", &window, &context) == 2) {
        if (context != 0) ++held_[{window, context}];
      } else if (std::sscanf(e.c_str(), "ime-release %lld %lld", &window, &context) == 2) {
        int& count = held_[{window, context}];
        f.Check(count > 0, "a context released that was not obtained, or released twice");
        if (count > 0) --count;
      }
    }
  }
  bool AllReleased() const {
    for (const auto& [key, count] : held_) {
      if (count != 0) return false;
    }
    return true;
  }

 private:
  std::map<std::pair<long long, long long>, int> held_;
};

// The fourteen buttons show the map now shown: each slot bound to what the lookup gives for
// its position, each caption that definition's (empty for none or NONE).
inline void CheckShownMap(const app::Keyboard& keyboard, testing::RecordingPlatform& world, Failures& f) {
  const btnfile::MapTable& table = keyboard.loaded().maps.table;
  const input::PageState& pages = keyboard.pages();
  for (int position = 0; position < input::kSlotCount; ++position) {
    const int slot = input::SlotForPosition(position);
    const btnfile::ButtonDef* expected = input::LookupSlot(table, pages, pages.shownMap, position);
    const btnfile::ButtonDef* bound = keyboard.slots().DefinitionOf(slot);
    f.Check(bound == expected, "a slot not bound to the shown map's definition");
    const input::SlotButton button = input::ButtonOfSlot(slot);
    const std::string& caption = world.panel(button.panel).captions[static_cast<std::size_t>(button.row)];
    const bool shows = expected != nullptr && expected->kind != btnfile::ActionKind::NONE;
    f.Check(caption == (shows ? expected->caption : std::string()), "a caption that is not its definition's");
  }
}

// Screen coordinates stay in range however far the options place the panels.
inline int ClampedSum(long long a, long long b) {
  return static_cast<int>(std::clamp(a + b, static_cast<long long>(INT_MIN), static_cast<long long>(INT_MAX)));
}

inline platform::Point PointerPosition(Choices& in, testing::RecordingPlatform& world) {
  switch (in.Below(4)) {
    case 0:
    case 1: {  // the middle of a button, or one of its corners just inside or just outside
      const input::SlotButton b = input::ButtonOfSlot(in.Below(input::kSlotCount));
      const platform::Rect panel = world.panel(b.panel).bounds;
      const platform::Rect r = world.panel(b.panel).buttons[static_cast<std::size_t>(b.row)];
      const bool middle = in.Below(2) == 0;
      const int dx = middle ? r.width / 2 : (in.Below(2) ? r.width : 0) + in.Below(3) - 1;
      const int dy = middle ? r.height / 2 : (in.Below(2) ? r.height : 0) + in.Below(3) - 1;
      return {ClampedSum(panel.left, r.left + dx), ClampedSum(panel.top, r.top + dy)};
    }
    case 2:  // the screen's top-left corner
      return {in.Below(3), in.Below(3)};
    default:  // anywhere, also off the screen
      return {static_cast<int>(in.Word() % 1000) - 100, static_cast<int>(in.Word() % 700) - 100};
  }
}

// Placement options as a user may type them, from sensible to absurd.
inline std::string PlacementArgument(Choices& in) {
  static constexpr const char* kNumbers[] = {"300", "-5", "$7FFFFFFF", "2147483647", "-2147483648", "0X10", " 12 "};
  const std::string option = in.Below(2) ? "/T" : "/R";
  if (in.Below(2)) return option + kNumbers[in.Below(std::size(kNumbers))];
  return option + in.Text(static_cast<std::size_t>(in.Below(12)));
}

inline constexpr input::MouseMessage kMessages[] = {input::MouseMessage::Move,
                                                    input::MouseMessage::LeftDown,
                                                    input::MouseMessage::LeftUp,
                                                    input::MouseMessage::LeftDoubleClick,
                                                    input::MouseMessage::RightDown,
                                                    input::MouseMessage::RightUp,
                                                    input::MouseMessage::RightDoubleClick,
                                                    input::MouseMessage::Other};

// Changes the world between events: foreground windows and their contexts come and go.
inline void ChangeWorld(Choices& in, testing::RecordingPlatform& world) {
  const platform::WindowHandle window = kWindows[in.Below(std::size(kWindows))];
  switch (in.Below(6)) {
    case 0:  // a window appears, maybe with a context and a child
      world.windows[window] = testing::FakeWindow{.title = "Window " + std::to_string(window),
                                                  .thread = 7u + static_cast<unsigned>(in.Below(3)),
                                                  .firstChild = in.Below(2) ? window + 10 : 0,
                                                  .imeContext = in.Below(2) ? window + 200 : 0};
      break;
    case 1:  // a window closes
      world.windows.erase(window);
      break;
    case 2:  // the foreground changes, to a panel now and then
      world.foreground = in.Below(4) == 0   ? (in.Below(2) ? testing::RecordingPlatform::kLeftPanelWindow
                                                           : testing::RecordingPlatform::kRightPanelWindow)
                         : in.Below(5) == 0 ? 0
                                            : window;
      break;
    case 3:  // a context appears or vanishes
      if (world.windows.count(window)) world.windows[window].imeContext = in.Below(2) ? window + 300 : 0;
      break;
    case 4:  // a window takes a panel's title
      if (world.windows.count(window))
        world.windows[window].title = in.Below(2) ? "KB1_For_Keyvane" : "KB2_For_Keyvane";
      break;
    default:  // a panel is hidden or shown by someone else
      world
          .windows[in.Below(2) ? testing::RecordingPlatform::kLeftPanelWindow
                               : testing::RecordingPlatform::kRightPanelWindow]
          .visible = in.Below(2) != 0;
      break;
  }
}

}  // namespace detail

// Drives a started keyboard with the events the input chooses and checks, after each handler,
// the keys sent, the contexts taken and released, the shown map and the trace texts.
inline Failures EngineProperties(std::string_view bytes) {
  Failures f;
  detail::Choices in(bytes);
  testing::RecordingPlatform world;
  world.traceInEffects = true;
  world.hookInstallSucceeds = in.Below(8) != 0;
  world.tick = in.Below(2) ? 0xFFFFF000u : 1000u;  // now and then near the clock's wrap
  world.windows[100] = testing::FakeWindow{.title = "Editor", .thread = 7, .firstChild = 110};
  world.windows[110] = testing::FakeWindow{.title = "Edit", .thread = 7, .imeContext = 410};
  world.foreground = world.focus = 100;
  static constexpr int kScreenWidths[] = {800, 1024, 640, 0};
  world.screenWidth = kScreenWidths[in.Below(std::size(kScreenWidths))];
  for (int n = in.Below(3); n > 0; --n) world.arguments.push_back(detail::PlacementArgument(in));
  const int fileChoice = in.Below(5);
  const std::string file = fileChoice < 4 ? detail::EngineButtonFile(fileChoice) : in.Text(in.Word() % 2048u);

  testing::StartedKeyboard started(world, file);
  app::Keyboard& keyboard = started.keyboard;
  detail::ContextLedger contexts;
  std::vector<std::string> held;     // keys and buttons down now
  bool callBackAsked = false;        // the shell is to call back to end a chord's hold
  bool repeatCallBackAsked = false;  // the shell is to call back for a repeating button
  auto asked = [&](std::string_view what) {
    return std::any_of(world.effects.begin(), world.effects.end(),
                       [&](const std::string& e) { return e.starts_with(what); });
  };
  auto afterHandler = [&] {
    callBackAsked = callBackAsked || asked("release-call-back ");
    repeatCallBackAsked = repeatCallBackAsked || asked("repeat-call-back ");
    detail::CheckInput(world.effects, testing::KeyboardParts::HoldsKeys(keyboard), held, f);
    detail::CheckTraceTexts(world.effects, f);
    contexts.Take(world.effects, f);
    detail::CheckShownMap(keyboard, world, f);
    const bool quit = std::find(world.effects.begin(), world.effects.end(), "quit") != world.effects.end();
    world.effects.clear();
    return quit;
  };
  bool running = !afterHandler();
  bool hooked = world.hookInstallSucceeds;  // the system calls the hook only while it is installed

  for (int steps = 0; running && !in.empty() && steps < 2000 && f.empty(); ++steps) {
    switch (in.Below(8)) {
      case 0:
      case 1:
      case 2: {
        // Now and then a message the system marks as not for the hook to act on: the window layer
        // passes it on without asking the keyboard.
        const bool notToActOn = in.Below(8) == 0 && in.Below(4) == 0;
        const input::MouseMessage message = detail::kMessages[in.Below(std::size(detail::kMessages))];
        const platform::Point at = detail::PointerPosition(in, world);
        world.cursor = at;
        if (hooked && !notToActOn) keyboard.OnMouseMessage(message, at);
        break;
      }
      case 3:
        world.tick += in.Below(4) == 0 ? in.Word() : static_cast<std::uint32_t>(in.Below(12)) * 50u;
        if (callBackAsked && in.Below(2) == 0) {  // the shell's call back comes in its time
          callBackAsked = false;
          keyboard.OnKeyHoldOver();
        } else if (repeatCallBackAsked && in.Below(4) != 0) {  // the repeat's own, more often
          repeatCallBackAsked = false;
          keyboard.OnKeyRepeatDue();
        } else {
          keyboard.OnTimerTick();
        }
        break;
      case 4: detail::ChangeWorld(in, world); break;
      case 5: world.cursor = detail::PointerPosition(in, world); break;
      case 6:  // the buttons see clicks only when no hook takes them first
        if (!hooked)
          keyboard.OnButtonClick(in.Below(2) ? platform::PanelSide::Left : platform::PanelSide::Right, in.Below(7));
        break;
      default:
        switch (in.Below(8)) {
          case 0:
            keyboard.OnQuitCommand();
            hooked = false;
            break;
          case 1:
            hooked = false;
            if (keyboard.OnLeftPanelCloseQuery()) {
              keyboard.OnLeftPanelClose();
              running = false;
            }
            break;
          default: keyboard.OnTrayIconClick(); break;
        }
        break;
    }
    running = !afterHandler() && running;
  }
  // The message loop has ended: what is held comes up, the right panel goes first, then the left one.
  keyboard.OnLoopEnded();
  keyboard.OnRightPanelDestroy();
  afterHandler();
  f.Check(held.empty(), "a key or button left held down at the end");
  f.Check(contexts.AllReleased(), "a context obtained and never released");
  return f;
}

}  // namespace keyvane::fuzz

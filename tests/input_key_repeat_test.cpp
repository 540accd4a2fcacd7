#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "btnfile/diagnostics.h"
#include "btnfile/loader.h"
#include "input/panel_tap_filter.h"
#include "support/every_ending.h"
#include "support/keyboard_parts.h"
#include "support/memory_files.h"
#include "support/recording_platform.h"

namespace keyvane::testing {
namespace {

using Effects = std::vector<std::string>;
using input::MouseMessage;
using platform::PanelSide;

// MAIN: BS and Shift+Left repeat (Shift+Left after 300 ms, 10 a second), A does not; the right
// click turns MAIN to OTHER, whose BS button repeats too, for the same keys.
constexpr char kFile[] =
    "#MAIN\r\nBS KEY BS\r\nSL KEY SHIFT+LEFT\r\nO JP OTHER\r\nA KEY A\r\nSH KEYTOG SHIFT\r\n"
    "#OTHER\r\nX KEY BS\r\n#RIGHT_BTN_PAGE\r\nMAIN JP OTHER\r\n#KEY_REPEAT\r\nBS\r\nSHIFT+LEFT 300 10\r\n";
constexpr int kBackspace = 0;    // left panel, top
constexpr int kShiftLeft = 7;    // right panel, top
constexpr int kPlainA = 8;       // right panel, second
constexpr int kShiftToggle = 2;  // left panel, third
constexpr std::uint32_t kStart = 5000;

class KeyRepeatHold : public ::testing::Test {
 protected:
  KeyRepeatHold() : started(world, kFile) {
    world.tick = kStart;
    world.effects.clear();
  }
  app::Keyboard& keyboard() { return started.keyboard; }
  // A left or right button message over a slot, as the low-level hook hands it on.
  void Tap(MouseMessage message, int slot) {
    world.cursor = SlotCenter(world, slot);
    keyboard().OnPanelTap(message, world.cursor);
  }
  // Runs the clock to `end` ms after kStart, calling back whenever the repeat asks, and keeps
  // each key event with the time it went out.
  void RunClockTo(std::uint32_t end) {
    for (;;) {
      std::optional<std::uint32_t> wait;
      for (const std::string& e : world.effects) {
        if (e.starts_with("key ")) timed.push_back(std::to_string(world.tick - kStart) + " " + e);
        if (e.starts_with("repeat-call-back ")) wait = static_cast<std::uint32_t>(std::stoul(e.substr(17)));
      }
      world.effects.clear();
      if (!wait || world.tick - kStart + *wait > end) break;
      world.tick += *wait;
      keyboard().OnKeyRepeatDue();
    }
    world.tick = kStart + end;
  }

  RecordingPlatform world;
  StartedKeyboard started;
  Effects timed;  // "534 key 08 down"
};

TEST_F(KeyRepeatHold, ChordAtThePressRepeatsFromTheDelayAtTheRateAndOneSetOfUpsAtTheRelease) {
  Tap(MouseMessage::LeftDown, kBackspace);
  EXPECT_TRUE(KeyboardParts::HoldsKeys(keyboard()));
  RunClockTo(1200);
  Tap(MouseMessage::LeftUp, kBackspace);
  RunClockTo(1200);
  Effects expected{"0 key 08 down"};
  for (const int at : {500, 534, 567, 600, 634,  667,  700,  734,  767,  800,  834,
                       867, 900, 934, 967, 1000, 1034, 1067, 1100, 1134, 1167, 1200}) {
    expected.push_back(std::to_string(at) + " key 08 down");
  }
  expected.push_back("1200 key 08 up");
  EXPECT_EQ(timed, expected);
  EXPECT_FALSE(KeyboardParts::HoldsKeys(keyboard()));
  keyboard().OnKeyRepeatDue();  // a call back that comes after the release finds nothing
  EXPECT_TRUE(world.KeyEvents().empty());
  // REKEY would send what was held.
  EXPECT_EQ(KeyboardParts::Presser(keyboard()).rememberedKeys()->at(0), 0x08);
}

TEST_F(KeyRepeatHold, ModifiersGoDownOnceOnlyTheLastKeyRepeatsAtTheLinesOwnTiming) {
  Tap(MouseMessage::LeftDown, kShiftLeft);
  RunClockTo(650);
  Tap(MouseMessage::LeftUp, kShiftLeft);
  RunClockTo(650);
  EXPECT_EQ(timed, (Effects{"0 key 10 down", "0 key 25 down ext", "300 key 25 down ext", "400 key 25 down ext",
                            "500 key 25 down ext", "600 key 25 down ext", "650 key 25 up ext", "650 key 10 up"}));
}

TEST_F(KeyRepeatHold, LateCallBacksCatchUpAFewAtMostAndKeepTheRate) {
  Tap(MouseMessage::LeftDown, kBackspace);
  world.effects.clear();
  world.tick = kStart + 600;  // the loop stalled: repeats at 500, 534, 567 and 600 were due
  keyboard().OnKeyRepeatDue();
  EXPECT_EQ(world.EffectsOf({"key", "repeat-call-back"}),
            (Effects{"key 08 down", "key 08 down", "key 08 down", "key 08 down", "repeat-call-back 34"}));
  world.effects.clear();
  world.tick = kStart + 2000;  // 46 due in all: four go out, the rest are skipped
  keyboard().OnKeyRepeatDue();
  EXPECT_EQ(world.KeyEvents().size(), 4u);
  EXPECT_EQ(world.EffectsOf({"repeat-call-back"}), Effects{"repeat-call-back 34"});  // the 47th, at 2034 ms
}

TEST_F(KeyRepeatHold, OtherButtonsStillPressOnTheReleaseAndTheRightClickTurnsThePage) {
  Tap(MouseMessage::LeftDown, kPlainA);
  EXPECT_TRUE(world.KeyEvents().empty());
  Tap(MouseMessage::LeftUp, kPlainA);
  EXPECT_EQ(world.KeyEvents(), (Effects{"key 41 down", "key 41 up"}));
  world.effects.clear();
  Tap(MouseMessage::RightDown, kBackspace);
  Tap(MouseMessage::RightUp, kBackspace);
  EXPECT_TRUE(world.KeyEvents().empty());
  EXPECT_EQ(keyboard().pages().shownMap, "OTHER");
}

TEST_F(KeyRepeatHold, LeavingTheButtonEndsItAsAReleaseWouldAndItsReleaseLaterPressesNothing) {
  Tap(MouseMessage::LeftDown, kBackspace);
  RunClockTo(540);
  // The finger slides onto A: the next call back sees it, without a message from the panels.
  world.cursor = SlotCenter(world, kPlainA);
  world.tick = kStart + 567;
  keyboard().OnKeyRepeatDue();
  EXPECT_EQ(world.EffectsOf({"key", "repeat-call-back"}), Effects{"key 08 up"});
  world.effects.clear();
  Tap(MouseMessage::LeftUp, kPlainA);
  EXPECT_TRUE(world.KeyEvents().empty());

  // A move the thread hook sees ends it at once.
  Tap(MouseMessage::LeftDown, kBackspace);
  world.effects.clear();
  world.cursor = SlotCenter(world, kShiftToggle);
  keyboard().OnMouseMessage(MouseMessage::Move, world.cursor);
  EXPECT_EQ(world.KeyEvents(), Effects{"key 08 up"});
}

TEST_F(KeyRepeatHold, AReleaseOffThePanelsEndsIt) {
  Tap(MouseMessage::LeftDown, kBackspace);
  world.effects.clear();
  // The low-level hook tells it with a point no button holds; the cursor has not moved yet.
  EXPECT_EQ(keyboard().OnPanelTap(MouseMessage::LeftUp, {-32768, -32768}), input::HookAction::PassOn);
  EXPECT_EQ(world.KeyEvents(), Effects{"key 08 up"});

  input::PanelTapFilter filter;
  EXPECT_EQ(filter.Route(MouseMessage::LeftDown, true), input::TapRoute::Take);
  EXPECT_EQ(filter.Route(MouseMessage::LeftUp, false), input::TapRoute::TellAndPassOn);
  EXPECT_EQ(filter.Route(MouseMessage::LeftUp, false), input::TapRoute::PassOn);  // its press was not taken
}

TEST_F(KeyRepeatHold, APageSwitchStopsItAndKeepsTheToggledKeysAndThePage) {
  Tap(MouseMessage::LeftDown, kShiftToggle);
  Tap(MouseMessage::LeftUp, kShiftToggle);
  Tap(MouseMessage::LeftDown, kBackspace);
  RunClockTo(520);
  world.effects.clear();
  Tap(MouseMessage::RightDown, kPlainA);  // the right click turns MAIN to OTHER
  Tap(MouseMessage::RightUp, kPlainA);
  EXPECT_EQ(world.KeyEvents(), Effects{"key 08 up"});
  EXPECT_EQ(keyboard().pages().shownMap, "OTHER");
  EXPECT_TRUE(KeyboardParts::HoldsKeys(keyboard()));  // Shift, by its KEYTOG
  world.effects.clear();
  keyboard().OnQuitCommand();
  EXPECT_EQ(world.KeyEvents(), Effects{"key 10 up"});
}

TEST_F(KeyRepeatHold, ANewTargetStopsIt) {
  world.windows[100] = FakeWindow{.title = "Notepad", .thread = 7};
  world.windows[200] = FakeWindow{.title = "Mail", .thread = 9};
  world.foreground = world.focus = 100;
  keyboard().OnTimerTick();
  Tap(MouseMessage::LeftDown, kBackspace);
  keyboard().OnTimerTick();  // the same target: it goes on
  world.effects.clear();
  world.foreground = world.focus = 200;
  keyboard().OnTimerTick();
  EXPECT_EQ(world.KeyEvents(), Effects{"key 08 up"});
}

TEST_F(KeyRepeatHold, EveryEndReleasesItFirst) {
  for (const Ending end : kEveryEnding) {
    Tap(MouseMessage::LeftDown, kShiftLeft);
    world.tick += 700;
    keyboard().OnKeyRepeatDue();
    world.effects.clear();
    end(keyboard());
    ASSERT_GE(world.effects.size(), 2u);
    EXPECT_EQ(world.KeyEvents(), (Effects{"key 25 up ext", "key 10 up"}));
    EXPECT_EQ(world.effects.front(), "key 25 up ext");
    EXPECT_FALSE(KeyboardParts::HoldsKeys(keyboard()));
  }
}

TEST_F(KeyRepeatHold, ATouchOverARepeatingButtonAsksForNoLongTouch) {
  EXPECT_TRUE(keyboard().RepeatsAt(SlotCenter(world, kBackspace)));
  EXPECT_TRUE(keyboard().RepeatsAt(SlotCenter(world, kShiftLeft)));
  EXPECT_FALSE(keyboard().RepeatsAt(SlotCenter(world, kPlainA)));
  EXPECT_FALSE(keyboard().RepeatsAt({-5, -5}));
  keyboard().ShowPage("OTHER");  // X sends the same keys as BS
  EXPECT_TRUE(keyboard().RepeatsAt(SlotCenter(world, kBackspace)));
}

TEST(KeyRepeatTable, TakesKeysWithTheirTimingAndTellsEachLineItCannotUse) {
  MemoryFiles files;
  files.files["dovaD.BTN"] =
      "#MAIN\r\nB KEY BS\r\nL KEY SHIFT+LEFT\r\nD KEY DEL\r\nM KEY MOUSELEFTBTN\r\n#KEY_REPEAT\r\nBS\r\n"
      "shift+left 150 50\r\nDEL 99\r\nDEL 300 51\r\nSHIFT+LEFT 400\r\nF12\r\nMOUSELEFTBTN\r\nNOKEY\r\nBS 1 2 3\r\n";
  const btnfile::LoadedButtons loaded = btnfile::LoadButtonFile(files, "dovaD.BTN");
  const btnfile::ButtonMap& main = loaded.maps.table.at("MAIN");
  EXPECT_EQ(main.positions[0]->repeat, (btnfile::KeyRepeatTiming{500, 30}));
  EXPECT_EQ(main.positions[1]->repeat, (btnfile::KeyRepeatTiming{150, 50}));
  EXPECT_FALSE(main.positions[2]->repeat);
  EXPECT_FALSE(main.positions[3]->repeat);
  EXPECT_EQ(btnfile::ActionText(*main.positions[1]), "KEY Shift+Left (repeats while held: after 150 ms, 50 a second)");
  std::vector<std::string> told;
  for (const btnfile::Diagnostic& d : btnfile::FindDiagnostics(loaded)) {
    told.push_back(std::to_string(d.line) + ": " + d.message);
  }
  EXPECT_EQ(
      told,
      (std::vector<std::string>{
          "9: KEY_REPEAT delay \"99\" is not a whole number of milliseconds from 100 to 2000: the line makes "
          "no button repeat",
          "10: KEY_REPEAT rate \"51\" is not a whole number of repeats a second from 1 to 50: the line makes "
          "no button repeat",
          "11: KEY_REPEAT already names the keys \"SHIFT+LEFT\" at line 8: the first line wins, this one is never "
          "used",
          "12: KEY_REPEAT names the keys \"F12\", but no KEY button sends them: this line makes no button repeat",
          "13: KEY_REPEAT key field \"MOUSELEFTBTN\" holds a mouse button, which does not repeat: the line makes "
          "no button repeat",
          "14: a line of KEY_REPEAT is written keys, keys delay, or keys delay rate (for example BS, or LEFT "
          "300 40): \"NOKEY\" names no key, and it makes no button repeat",
          "15: a line of KEY_REPEAT is written keys, keys delay, or keys delay rate (for example BS, or LEFT "
          "300 40): this one is not, and it makes no button repeat",
      }));
}

}  // namespace
}  // namespace keyvane::testing

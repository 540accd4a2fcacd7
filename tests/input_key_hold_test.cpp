#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "btnfile/map_parser.h"
#include "support/every_ending.h"
#include "support/keyboard_parts.h"
#include "support/parsed_definition.h"
#include "support/recording_platform.h"

namespace keyvane::testing {
namespace {

using Effects = std::vector<std::string>;
using platform::PanelSide;

TEST(KeyHold, ParsedFromTheSecondWordAndTakenFromTheFirstMapOrOneMillisecond) {
  EXPECT_EQ(ParsedDefinition("KEYWAIT 40").holdMilliseconds, 40u);
  EXPECT_EQ(ParsedDefinition("KEYWAIT 1000").holdMilliseconds, 1000u);
  for (const char* invalid : {"KEYWAIT 0", "KEYWAIT 1001", "KEYWAIT 4O", "KEYWAIT -1", "KEYWAIT 40.5"}) {
    EXPECT_EQ(ParsedDefinition(invalid).holdMilliseconds, 0u) << invalid;
  }
  btnfile::MapTable table;
  table["FIRST"].positions[3] = ParsedDefinition("KEYWAIT 30");
  table["OWN"].positions[16] = ParsedDefinition("KEYWAIT 50");  // a position no panel shows
  table["BAD"].positions[0] = ParsedDefinition("KEYWAIT 5000");
  EXPECT_EQ(btnfile::KeyHoldOf(table, "OWN", "FIRST"), 50u);
  EXPECT_EQ(btnfile::KeyHoldOf(table, "BAD", "FIRST"), 30u);
  EXPECT_EQ(btnfile::KeyHoldOf(table, "NOWHERE", "FIRST"), 30u);
  EXPECT_EQ(btnfile::KeyHoldOf(table, "BAD", "BAD"), 1u);
}

// MAIN holds keys 40 ms; GAME 200 ms; a press there releases through the shell's call back.
class KeyHoldPresses : public ::testing::Test {
 protected:
  KeyHoldPresses()
      : started(world,
                "#MAIN\r\nA KEY A\r\nG JP GAME\r\nR REKEY\r\nKEYWAIT 40\r\n#GAME\r\nB KEY SHIFT+B\r\n"
                "KEYWAIT 200\r\n") {
    world.effects.clear();
  }
  Effects KeysAndCallBacks() const { return world.EffectsOf({"key", "sleep", "release-call-back", "caption"}); }

  RecordingPlatform world;
  StartedKeyboard started;
};

TEST_F(KeyHoldPresses, DownsNowUpsAndTheDefaultMapWhenTheTimeIsUp) {
  started.keyboard.OnButtonClick(PanelSide::Right, 0);  // G: to GAME
  world.effects.clear();
  started.keyboard.OnButtonClick(PanelSide::Left, 0);  // B, Shift+B
  EXPECT_EQ(KeysAndCallBacks(), (Effects{"key 10 down", "key 42 down", "release-call-back 200"}));
  EXPECT_EQ(started.keyboard.pages().shownMap, "GAME");
  world.effects.clear();
  started.keyboard.OnKeyHoldOver();
  EXPECT_EQ(world.EffectsOf({"key", "sleep", "release-call-back"}), (Effects{"key 42 up", "key 10 up"}));
  EXPECT_EQ(started.keyboard.pages().shownMap, "MAIN");
  world.effects.clear();
  started.keyboard.OnKeyHoldOver();  // a call back that comes late finds nothing held
  EXPECT_TRUE(world.effects.empty());
}

TEST_F(KeyHoldPresses, APressDuringTheHoldReleasesFirstAndActsAsOnThePageSeen) {
  started.keyboard.OnButtonClick(PanelSide::Left, 0);  // A on MAIN, 40 ms
  started.keyboard.OnButtonClick(PanelSide::Left, 1);  // R: A comes up, then A again
  EXPECT_EQ(world.EffectsOf({"key", "sleep", "release-call-back"}),
            (Effects{"key 41 down", "release-call-back 40", "key 41 up", "key 41 down", "release-call-back 40"}));
  started.keyboard.OnKeyHoldOver();
  started.keyboard.OnButtonClick(PanelSide::Right, 0);  // G: to GAME
  started.keyboard.OnButtonClick(PanelSide::Left, 0);   // B, held 200 ms; GAME stays shown
  world.effects.clear();
  started.keyboard.OnButtonClick(PanelSide::Left, 0);  // B again, as GAME shows it
  EXPECT_EQ(world.EffectsOf({"key", "release-call-back"}),
            (Effects{"key 42 up", "key 10 up", "key 10 down", "key 42 down", "release-call-back 200"}));
}

TEST_F(KeyHoldPresses, HeldKeysComeUpAtEveryEnd) {
  for (const Ending end : kEveryEnding) {
    started.keyboard.OnButtonClick(PanelSide::Left, 0);
    world.effects.clear();
    end(started.keyboard);
    const Effects keys = world.EffectsOf({"key"});
    EXPECT_EQ(keys, Effects{"key 41 up"});
    // The ups go out before anything else the ending does.
    ASSERT_FALSE(world.effects.empty());
    EXPECT_EQ(world.effects.front(), "key 41 up");
  }
}

// MAIN: a Shift toggle, A, a page with the same toggle and an Alt toggle.
class TogglePresses : public ::testing::Test {
 protected:
  TogglePresses()
      : started(world,
                "#MAIN\r\nSH KEYTOG SHIFT\r\nA KEY A\r\nO JP OTHER\r\nR REKEY\r\n"
                "#OTHER\r\nS2 KEYTOG SHIFT\r\nALT KEYTOG ALT\r\n") {
    world.effects.clear();
  }
  void Press(PanelSide side, int row) { started.keyboard.OnButtonClick(side, row); }

  RecordingPlatform world;
  StartedKeyboard started;
};

TEST_F(TogglePresses, DownUntilPressedAgainWithKeysMeanwhileAndShownHeld) {
  Press(PanelSide::Left, 0);   // SH
  Press(PanelSide::Right, 0);  // A, with Shift still down
  Press(PanelSide::Left, 0);   // SH again
  EXPECT_EQ(world.EffectsOf({"key", "sleep", "held"}),
            (Effects{"key 10 down", "held L0 on", "key 41 down", "sleep 1", "key 41 up", "key 10 up", "held L0 off"}));
  EXPECT_EQ(KeyboardParts::Presser(started.keyboard).rememberedKeys()->at(0), 0x41);  // REKEY repeats A, not the toggle
}

TEST_F(TogglePresses, PagesKeepTheKeysHeldAndTheSameKeysElsewhereReleaseThem) {
  Press(PanelSide::Left, 0);  // SH on MAIN
  Press(PanelSide::Left, 1);  // O: to OTHER, where S2 shows the same keys held
  EXPECT_EQ(world.EffectsOf({"key", "held"}), (Effects{"key 10 down", "held L0 on"}));
  world.effects.clear();
  Press(PanelSide::Right, 0);  // ALT
  Press(PanelSide::Left, 0);   // S2: the same keys as SH, so up
  EXPECT_EQ(world.EffectsOf({"key", "held"}), (Effects{"key 12 down", "held R0 on", "key 10 up", "held L0 off"}));
  world.effects.clear();
  started.keyboard.OnQuitCommand();  // what is still held comes up first
  EXPECT_EQ(world.effects.front(), "key 12 up");
  EXPECT_EQ(world.EffectsOf({"key", "held"}), (Effects{"key 12 up", "held R0 off"}));
}

TEST_F(TogglePresses, EveryEndingAndHidingReleasesTheToggles) {
  for (const Ending end : kEveryEnding) {
    Press(PanelSide::Left, 0);
    world.effects.clear();
    end(started.keyboard);
    EXPECT_EQ(world.effects.front(), "key 10 up");
    EXPECT_EQ(world.EffectsOf({"key", "held"}), (Effects{"key 10 up", "held L0 off"}));
  }
}

TEST(KeyHold, DestroyingTheKeyboardReleasesWhatItHolds) {
  RecordingPlatform world;
  {
    StartedKeyboard started(world, "#MAIN\r\nA KEY A\r\nKEYWAIT 40\r\n");
    started.keyboard.OnButtonClick(PanelSide::Left, 0);
    world.effects.clear();
  }
  EXPECT_EQ(world.EffectsOf({"key"}), Effects{"key 41 up"});
}

}  // namespace
}  // namespace keyvane::testing

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "btnfile/map_parser.h"
#include "support/keyboard_parts.h"
#include "support/recording_platform.h"

namespace keyvane::testing {
namespace {

using Effects = std::vector<std::string>;
using platform::PanelSide;

TEST(StartUp, CreationStepsInOrder) {
  RecordingPlatform world;
  world.windows[100] = FakeWindow{.title = "Notepad", .thread = 7, .imeContext = 300};
  world.focus = 100;
  world.arguments = {"KEYVANE.EXE", "/T30"};
  StartedKeyboard started(world, "#M\r\nA KEY A\r\n");
  Effects expected{"width L 57",  "title L KB1_For_Keyvane", "hook-install", "width R 57", "title R KB2_For_Keyvane",
                   "move L 0,30", "move R 725,30",           "caption L0 A"};
  for (int row = 0; row < 7; ++row) {
    if (row > 0) expected.push_back("caption L" + std::to_string(row) + " ");
    expected.push_back("caption R" + std::to_string(row) + " ");
  }
  expected.insert(expected.end(), {"show R", "focus 100", "cursor 47,101"});
  EXPECT_EQ(world.effects, expected);
  EXPECT_FALSE(KeyboardParts::Presser(started.keyboard).rememberedKeys().has_value());
}

TEST(StartUp, MissingButtonFileGivesBlankButtonsThatDoNothing) {
  RecordingPlatform world;
  app::Keyboard keyboard(world.Services());
  world.fileSystem.files[kTracePath] = "old run";
  world.fileSystem.files[kOlderTracePath] = "its older part";
  keyboard.LoadButtons();
  EXPECT_EQ(world.fileSystem.calls.front(), "remove dovaD.STS");  // the old trace first
  keyboard.OnLeftPanelCreated();
  keyboard.OnRightPanelCreated();
  for (const auto& panel : world.panels) {
    for (const std::string& caption : panel.captions) EXPECT_EQ(caption, "");
  }
  EXPECT_EQ(world.Trace(), testing::ToCrLf(btnfile::kReadTraceHeading));
  EXPECT_FALSE(world.fileSystem.files.contains(kOlderTracePath));
  world.effects.clear();
  keyboard.OnButtonClick(PanelSide::Left, 0);
  EXPECT_TRUE(world.effects.empty());
}

TEST(Shutdown, QuitRemovesTheHookBeforeEndingAndHidesTheIcon) {
  RecordingPlatform world;
  StartedKeyboard started(world, "#M\r\n");
  world.effects.clear();
  started.keyboard.OnQuitCommand();
  EXPECT_EQ(world.effects, (Effects{"hook-remove", "quit", "tray-hide"}));
}

TEST(Shutdown, ClosingTheLeftPanelWithoutAHookOnlyHidesTheIcon) {
  RecordingPlatform world;
  world.hookInstallSucceeds = false;
  StartedKeyboard started(world, "#M\r\n");
  world.effects.clear();
  EXPECT_TRUE(started.keyboard.OnLeftPanelCloseQuery());
  started.keyboard.OnLeftPanelClose();
  EXPECT_EQ(world.effects, (Effects{"tray-hide", "tray-hide"}));
}

TEST(Shutdown, SessionEndCalledOffKeepsHookAndIconAndOneThatEndsTakesThemAway) {
  RecordingPlatform world;
  StartedKeyboard started(world, "#M\r\nA KEY A\r\n");
  world.effects.clear();
  EXPECT_TRUE(started.keyboard.OnSessionEndQuery());
  started.keyboard.OnSessionEnd(false);  // another program called the end off
  EXPECT_EQ(world.effects, Effects{});
  EXPECT_TRUE(KeyboardParts::HookKeeper(started.keyboard).installed());
  EXPECT_TRUE(LeftClick(started.keyboard, SlotCenter(world, 0)));
  EXPECT_EQ(world.KeyEvents(), (Effects{"key 41 down", "key 41 up"}));

  world.effects.clear();
  EXPECT_TRUE(started.keyboard.OnSessionEndQuery());
  started.keyboard.OnSessionEnd(true);
  EXPECT_EQ(world.effects, (Effects{"hook-remove", "tray-hide"}));
  EXPECT_FALSE(KeyboardParts::HookKeeper(started.keyboard).installed());
}

// Notepad (window 100, thread 7) in front of a started keyboard that has ticked once: it is
// the target, its thread's input joined.
class NotepadInFront : public ::testing::Test {
 protected:
  NotepadInFront() {
    world.windows[100] = FakeWindow{.title = "Notepad", .thread = 7};
    world.foreground = 100;
  }

  app::Keyboard& StartAndTick(const std::string& buttonFile) {
    started = std::make_unique<StartedKeyboard>(world, buttonFile);
    started->keyboard.OnTimerTick();
    return started->keyboard;
  }

  RecordingPlatform world;
  std::unique_ptr<StartedKeyboard> started;
};

TEST_F(NotepadInFront, RightPanelDestroyDetachesFromTheTargetThread) {
  app::Keyboard& keyboard = StartAndTick("#M\r\n");
  world.effects.clear();
  keyboard.OnRightPanelDestroy();
  EXPECT_EQ(world.effects, (Effects{"detach 1->7"}));
}

TEST_F(NotepadInFront, TrayClickHidingBothPanelsEndsTheProgramAtTheNextTick) {
  app::Keyboard& keyboard = StartAndTick("#M\r\n");
  keyboard.OnTrayIconClick();
  EXPECT_TRUE(world.EffectsOf({"quit"}).empty());
  keyboard.OnTimerTick();
  EXPECT_EQ(world.EffectsOf({"quit"}), (Effects{"quit"}));
}

TEST_F(NotepadInFront, WindowTypedIntoGetsTheForegroundBackWhenTrayMenuAndAboutClose) {
  world.windows[800] = FakeWindow{.title = "About Keyvane", .thread = RecordingPlatform::kOwnThread};
  app::Keyboard& keyboard = StartAndTick("#M\r\nA KEY A\r\n");
  keyboard.OnOwnWindowOpening();
  world.foreground = 800;
  world.effects.clear();
  keyboard.OnTimerTick();  // the About box is the target while it is open
  EXPECT_EQ(KeyboardParts::Target(keyboard).window(), 800);
  // Its thread is this one: the notepad's input stays joined, not left for a join that fails.
  EXPECT_EQ(world.EffectsOf({"attach", "detach"}), Effects{});
  EXPECT_EQ(KeyboardParts::Follower(keyboard).attachedThreadId(), 7u);
  world.effects.clear();
  keyboard.OnOwnWindowClosed();
  EXPECT_EQ(world.effects, (Effects{"foreground 100"}));
  EXPECT_EQ(KeyboardParts::Target(keyboard).window(), 100);
}

}  // namespace
}  // namespace keyvane::testing

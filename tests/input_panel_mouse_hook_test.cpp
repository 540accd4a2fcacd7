#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input/panel_tap_filter.h"
#include "support/keyboard_parts.h"
#include "support/recording_platform.h"

namespace keyvane::testing {
namespace {

using input::HookAction;
using Effects = std::vector<std::string>;

// MAIN fills only four positions, so RIGHT_BTN_PAGE's fifth lookup finds nothing.
constexpr char kPagedFile[] =
    "#MAIN\r\nA KEY A\r\nB KEY B\r\nC KEY C\r\nGO JP OTHER\r\n"
    "#SECOND\r\nS KEY S\r\n#THIRD\r\nT KEY T\r\n#OTHER\r\nO KEY O\r\n"
    "#RIGHT_BTN_PAGE\r\nMAIN JP SECOND\r\nSECOND JP THIRD\r\nTHIRD BASE MAIN\r\n"
    "#SLIDE_CMD\r\nX KEY X\r\nY KEY Y\r\n";

class PanelHook : public ::testing::Test {
 protected:
  explicit PanelHook(const std::string& file = kPagedFile) : started(world, file) { world.effects.clear(); }

  HookAction Send(input::MouseMessage message, platform::Point at) { return keyboard().OnPanelTap(message, at); }
  void RightClick(int slot) {
    Send(input::MouseMessage::RightDown, SlotCenter(world, slot));
    Send(input::MouseMessage::RightUp, SlotCenter(world, slot));
  }
  void TickAt(std::uint32_t tick) {
    world.tick = tick;
    keyboard().OnTimerTick();
  }
  app::Keyboard& keyboard() { return started.keyboard; }
  const input::PageState& pages() { return keyboard().pages(); }

  RecordingPlatform world;
  StartedKeyboard started;
};

TEST_F(PanelHook, ButtonMessagesOverButtonsAreConsumedOthersPassOn) {
  const platform::Point on = SlotCenter(world, 0);
  EXPECT_EQ(Send(input::MouseMessage::Move, on), HookAction::PassOn);
  EXPECT_EQ(Send(input::MouseMessage::Other, on), HookAction::PassOn);
  EXPECT_EQ(Send(input::MouseMessage::LeftDown, on), HookAction::Consume);
  EXPECT_EQ(Send(input::MouseMessage::LeftDoubleClick, on), HookAction::Consume);
  EXPECT_EQ(Send(input::MouseMessage::RightDoubleClick, on), HookAction::Consume);
  // Only the double right click acts: it parks the cursor.
  EXPECT_EQ(world.effects, (Effects{"cursor 47,72"}));
}

TEST_F(PanelHook, HitTestCountsBothEdgesAndLowerSlotWinsOnSharedRows) {
  // Left panel at (0, 41): row 0 spans y 41..82 in the test, row 1 81..122.
  EXPECT_EQ(Send(input::MouseMessage::LeftDown, {57, 50}), HookAction::Consume);       // x = left + Width
  EXPECT_EQ(Send(input::MouseMessage::LeftDown, {58, 50}), HookAction::PassOn);        // one pixel beyond
  EXPECT_EQ(Send(input::MouseMessage::LeftDown, {10, 41 + 290}), HookAction::PassOn);  // transparent area below

  LeftClick(keyboard(), {10, 81});
  LeftClick(keyboard(), {10, 82});
  EXPECT_EQ(world.KeyEvents(), (Effects{"key 41 down", "key 41 up", "key 41 down", "key 41 up"}));
  LeftClick(keyboard(), {10, 83});
  EXPECT_EQ(world.KeyEvents().back(), "key 43 up");  // slot 1 shows position 2, C
}

TEST_F(PanelHook, LeftReleasePressesThenParksOnTheButton) {
  EXPECT_TRUE(LeftClick(keyboard(), SlotCenter(world, 7)));  // right panel row 0: position 1, B
  const Effects effects = world.EffectsOf({"key", "cursor"});
  EXPECT_EQ(effects, (Effects{"key 42 down", "key 42 up", "cursor 772,72"}));
}

TEST(LowLevelTaps, ReleaseIsTakenOnlyOverAPanelButtonAfterItsPressWasTaken) {
  using input::MouseMessage;
  struct Step {
    MouseMessage message;
    bool overPanelButton;
    bool taken;
  };
  // Each row a fresh hook, as after an install.
  const std::vector<std::vector<Step>> sequences{
      // A tap, left and right.
      {{MouseMessage::LeftDown, true, true}, {MouseMessage::LeftUp, true, true}},
      {{MouseMessage::RightDown, true, true}, {MouseMessage::RightUp, true, true}},
      // A drag from another window ends over a panel button: its release goes on.
      {{MouseMessage::LeftDown, false, false}, {MouseMessage::LeftUp, true, false}},
      {{MouseMessage::RightDown, false, false}, {MouseMessage::RightUp, true, false}},
      // Pressed on a button, released off the panels: the window there gets it, as before.
      {{MouseMessage::LeftDown, true, true}, {MouseMessage::LeftUp, false, false}, {MouseMessage::LeftUp, true, false}},
      // The buttons are followed apart: a right tap during a left drag, and the left release.
      {{MouseMessage::LeftDown, false, false},
       {MouseMessage::RightDown, true, true},
       {MouseMessage::RightUp, true, true},
       {MouseMessage::LeftUp, true, false}},
      // A press taken once does not take a later drag's release.
      {{MouseMessage::LeftDown, true, true},
       {MouseMessage::LeftUp, true, true},
       {MouseMessage::LeftDown, false, false},
       {MouseMessage::LeftUp, true, false}},
      // A hook installed while the button was held did not take its press.
      {{MouseMessage::LeftUp, true, false}},
      // Moves and other buttons always go on.
      {{MouseMessage::Move, true, false}, {MouseMessage::Other, true, false}},
  };
  for (std::size_t i = 0; i < sequences.size(); ++i) {
    input::PanelTapFilter filter;
    for (std::size_t j = 0; j < sequences[i].size(); ++j) {
      const Step& step = sequences[i][j];
      EXPECT_EQ(filter.Route(step.message, step.overPanelButton) == input::TapRoute::Take, step.taken)
          << "sequence " << i << " step " << j;
    }
  }
}

TEST_F(PanelHook, ReleaseWhosePressTheRulesDidNotSeeGoesOnAndPressesNothing) {
  // What the thread hook sees of a drag that began elsewhere, with no low-level hook to filter it.
  const auto thread = [&](input::MouseMessage message, int slot) {
    return keyboard().OnMouseMessage(message, SlotCenter(world, slot));
  };
  EXPECT_EQ(thread(input::MouseMessage::LeftUp, 0), HookAction::PassOn);
  EXPECT_EQ(thread(input::MouseMessage::RightUp, 0), HookAction::PassOn);
  EXPECT_EQ(world.effects, Effects{});
  EXPECT_EQ(pages().shownMap, "MAIN");

  // A tap seen whole still presses, once; its release is the only one taken.
  EXPECT_TRUE(LeftClick(keyboard(), SlotCenter(world, 0)));
  EXPECT_EQ(Send(input::MouseMessage::LeftUp, SlotCenter(world, 0)), HookAction::PassOn);
  EXPECT_EQ(world.KeyEvents(), (Effects{"key 41 down", "key 41 up"}));
  // A right press, released off the panels, still counts for the next release over a button.
  Send(input::MouseMessage::RightDown, SlotCenter(world, 0));
  EXPECT_EQ(Send(input::MouseMessage::RightUp, SlotCenter(world, 7)), HookAction::Consume);
  EXPECT_EQ(pages().shownMap, "SECOND");
  EXPECT_EQ(Send(input::MouseMessage::RightUp, SlotCenter(world, 7)), HookAction::PassOn);
  EXPECT_EQ(pages().shownMap, "SECOND");
}

TEST_F(PanelHook, QuickDoubleRightTapTurnsThePageTwice) {
  const platform::Point on = SlotCenter(world, 0);
  keyboard().OnMouseMessage(input::MouseMessage::RightDown, on);
  keyboard().OnMouseMessage(input::MouseMessage::RightUp, on);
  keyboard().OnMouseMessage(input::MouseMessage::RightDoubleClick, on);
  keyboard().OnMouseMessage(input::MouseMessage::RightUp, on);
  EXPECT_EQ(pages().shownMap, "THIRD");
}

TEST_F(PanelHook, QuickDoubleTapPressesTwice) {
  const platform::Point on = SlotCenter(world, 0);
  Send(input::MouseMessage::LeftDown, on);
  Send(input::MouseMessage::LeftUp, on);
  Send(input::MouseMessage::LeftDoubleClick, on);
  Send(input::MouseMessage::LeftUp, on);
  EXPECT_EQ(world.KeyEvents().size(), 4u);
}

TEST(HookOwnClicks, MouseButtonKeysNeverPressTheButtonTheyLandOn) {
  RecordingPlatform world;
  StartedKeyboard started(world, "#MAIN\r\nLB KEY MOUSELEFTBTN\r\nRB KEY MOUSERIGHTBTN\r\n");
  app::Keyboard& keyboard = started.keyboard;
  const auto own = [&](input::MouseMessage message, int slot) {
    return keyboard.OnMouseMessage(message, SlotCenter(world, slot), platform::InputOrigin::Keyvane);
  };
  EXPECT_TRUE(LeftClick(keyboard, SlotCenter(world, 0)));
  world.effects.clear();
  // What the press sent comes back to the hook over the same button: swallowed, nothing pressed.
  EXPECT_EQ(own(input::MouseMessage::LeftDown, 0), HookAction::Consume);
  EXPECT_EQ(own(input::MouseMessage::LeftUp, 0), HookAction::Consume);
  EXPECT_EQ(own(input::MouseMessage::RightDown, 7), HookAction::Consume);
  EXPECT_EQ(own(input::MouseMessage::RightUp, 7), HookAction::Consume);
  EXPECT_EQ(own(input::MouseMessage::Move, 0), HookAction::PassOn);
  keyboard.OnButtonClick(platform::PanelSide::Left, 0, platform::InputOrigin::Keyvane);
  EXPECT_EQ(world.effects, Effects{});
  EXPECT_EQ(KeyboardParts::MouseHook(keyboard).rightHoldState(), input::RightHoldState{});
}

TEST_F(PanelHook, HookFollowsAMovedPanelAtOnce) {
  world.panel(platform::PanelSide::Right).bounds.left = 300;
  EXPECT_EQ(Send(input::MouseMessage::LeftDown, {310, 50}), HookAction::Consume);
  EXPECT_EQ(Send(input::MouseMessage::LeftDown, {730, 50}), HookAction::PassOn);
}

TEST_F(PanelHook, RightClickCyclesPagesAndMovesTheDefault) {
  RightClick(0);
  EXPECT_EQ(pages().shownMap, "SECOND");
  EXPECT_EQ(pages().defaultMap, "SECOND");
  EXPECT_TRUE(world.EffectsOf({"cursor"}) == (Effects{"cursor 47,72"}));  // parked by the down only
  RightClick(0);
  EXPECT_EQ(pages().shownMap, "THIRD");
  RightClick(0);
  EXPECT_EQ(pages().shownMap, "MAIN");
  EXPECT_EQ(pages().defaultMap, "MAIN");
}

TEST_F(PanelHook, RightClickFromAnUnlistedMapMakesTheAliasItsOwnDefault) {
  keyboard().OnButtonClick(platform::PanelSide::Right, 1);  // GO JP OTHER
  ASSERT_EQ(pages().shownMap, "OTHER");
  world.effects.clear();
  // OTHER matches none of MAIN, SECOND, THIRD, GO; position 4 is empty everywhere.
  RightClick(0);
  EXPECT_EQ(pages().defaultMap, "***DefaultMap***");
  EXPECT_EQ(pages().shownMap, "***DefaultMap***");
  EXPECT_EQ(world.panel(platform::PanelSide::Left).captions[0], "A");  // the first map's definitions
  EXPECT_EQ(world.EffectsOf({"cursor"}), (Effects{"cursor 47,72", "cursor 47,72"}));
  keyboard().OnButtonClick(platform::PanelSide::Left, 0);
  EXPECT_EQ(pages().shownMap, "***DefaultMap***");
}

TEST_F(PanelHook, LongHoldRunsTheSlideCommandOnceAndSwallowsTheRelease) {
  world.tick = 1000;
  Send(input::MouseMessage::RightDown, SlotCenter(world, 0));
  TickAt(1100);
  TickAt(1500);  // exactly 500 ms: not yet
  EXPECT_TRUE(world.KeyEvents().empty());
  world.effects.clear();
  TickAt(1501);
  const Effects captions = world.CaptionChanges();
  ASSERT_EQ(captions.size(), 42u);  // SLIDE_CMD, back to the default after KEY, then the saved map
  EXPECT_EQ(captions[0], "caption L0 X");
  EXPECT_EQ(captions[1], "caption R0 Y");
  EXPECT_EQ(captions[2], "caption L1 C");  // filled from the first map
  EXPECT_EQ(world.KeyEvents(), (Effects{"key 58 down", "key 58 up"}));
  EXPECT_EQ(pages().shownMap, "MAIN");

  TickAt(1601);
  EXPECT_EQ(world.KeyEvents().size(), 2u);  // fires once
  world.effects.clear();
  Send(input::MouseMessage::RightUp, SlotCenter(world, 0));
  EXPECT_EQ(world.effects, (Effects{"cursor 47,72"}));  // no page change
  EXPECT_EQ(pages().shownMap, "MAIN");
}

TEST_F(PanelHook, ShortHoldTurnsThePageWithoutSlideCommand) {
  world.tick = 1000;
  Send(input::MouseMessage::RightDown, SlotCenter(world, 0));
  TickAt(1100);
  TickAt(1300);
  Send(input::MouseMessage::RightUp, SlotCenter(world, 0));
  EXPECT_TRUE(world.KeyEvents().empty());
  EXPECT_EQ(pages().shownMap, "SECOND");
}

TEST_F(PanelHook, HoldReleasedOffThePanelsFiresWhenTheCursorIsSeenBack) {
  world.tick = 1000;
  Send(input::MouseMessage::RightDown, SlotCenter(world, 0));
  world.cursor = {400, 300};  // released out there: the hook never hears of it
  TickAt(1600);
  EXPECT_EQ(KeyboardParts::MouseHook(keyboard()).rightHoldState().phase, input::RightHoldState::Phase::Held);
  world.cursor = SlotCenter(world, 7);
  world.cursorReadable = false;  // the lock screen: where the cursor is cannot be read
  TickAt(1700);
  EXPECT_EQ(KeyboardParts::MouseHook(keyboard()).rightHoldState().phase, input::RightHoldState::Phase::Held);
  world.cursorReadable = true;
  TickAt(5000);
  EXPECT_EQ(world.KeyEvents(), (Effects{"key 59 down", "key 59 up"}));
  EXPECT_EQ(KeyboardParts::MouseHook(keyboard()).rightHoldState().phase, input::RightHoldState::Phase::Spent);
}

TEST_F(PanelHook, HoldTimeIsRightAcrossTheTickCountWrap) {
  world.tick = 0xFFFFFF00u;
  Send(input::MouseMessage::RightDown, SlotCenter(world, 0));
  TickAt(0xF4);  // 500 ms later
  EXPECT_TRUE(world.KeyEvents().empty());
  TickAt(0xF5);
  EXPECT_EQ(world.KeyEvents(), (Effects{"key 58 down", "key 58 up"}));
}

TEST(HookPages, UnmatchedPageReturnsToTheDefaultWithoutChangingIt) {
  RecordingPlatform world;
  StartedKeyboard started(world, WorkedExampleButtonFile());
  started.keyboard.OnButtonClick(platform::PanelSide::Left, 2);  // BASE J_KANA
  world.effects.clear();
  const platform::Point on = SlotCenter(world, 5);
  started.keyboard.OnPanelTap(input::MouseMessage::RightDown, on);
  started.keyboard.OnPanelTap(input::MouseMessage::RightUp, on);
  // No RIGHT_BTN_PAGE: the first map's captions are compared and none is J_KANA.
  EXPECT_EQ(started.keyboard.pages().defaultMap, "J_KANA");
  EXPECT_EQ(started.keyboard.pages().shownMap, "J_KANA");
  EXPECT_EQ(world.EffectsOf({"cursor"}), (Effects{"cursor 47,272", "cursor 47,272"}));
}

TEST(HookPages, HookPassesEverythingOnBeforeBothPanelsExist) {
  RecordingPlatform world;
  app::Keyboard keyboard(world.Services());
  keyboard.LoadButtons();
  keyboard.OnLeftPanelCreated();
  EXPECT_EQ(keyboard.OnMouseMessage(input::MouseMessage::LeftUp, {10, 10}), input::HookAction::PassOn);
}

TEST_F(PanelHook, LowLevelHookIsInstalledAnewOnEvidenceOnlyAndEachTimeTraced) {
  using input::MouseMessage;
  const platform::Point on = SlotCenter(world, 0);
  world.NewTrace();
  // What the low-level hook handed on, and what no low-level hook takes, is no evidence.
  LeftClick(keyboard(), on);
  Send(MouseMessage::RightDown, on);
  Send(MouseMessage::RightUp, on);
  keyboard().OnMouseMessage(MouseMessage::Move, on);
  keyboard().OnMouseMessage(MouseMessage::Other, on);
  keyboard().OnMouseMessage(MouseMessage::LeftDown, {400, 300});  // off the panels
  keyboard().OnMouseMessage(MouseMessage::LeftDown, on, platform::InputOrigin::Keyvane);
  keyboard().OnMouseMessage(MouseMessage::LeftUp, on, platform::InputOrigin::Keyvane);
  // A touch on Keyvane's menu where it lies over a button: the low-level hook leaves it alone.
  keyboard().OnMouseMessage(MouseMessage::LeftDown, on, platform::InputOrigin::User, tracking::MessageWindow::Other);
  keyboard().OnMouseMessage(MouseMessage::LeftUp, on, platform::InputOrigin::User, tracking::MessageWindow::Other);
  for (int i = 0; i < 50; ++i) TickAt(world.tick + 100);  // no timer renews it
  EXPECT_EQ(world.EffectsOf({"hook-renew"}), Effects{});
  EXPECT_EQ(world.NewTrace().find("MouseHookRenewed"), std::string::npos);

  // A touch reached the thread hook over a button: the low-level hook would have taken it.
  world.effects.clear();
  keyboard().OnMouseMessage(MouseMessage::LeftDown, on);
  EXPECT_EQ(world.effects, (Effects{"hook-renew"}));
  EXPECT_TRUE(world.NewTrace().starts_with("MouseHookRenewed After=Tap Installed=1\r\n"));
  // Its release, which the new hook lets through, presses without another renewal.
  keyboard().OnMouseMessage(MouseMessage::LeftUp, on);
  EXPECT_EQ(world.EffectsOf({"hook-renew"}), (Effects{"hook-renew"}));
  EXPECT_EQ(world.KeyEvents(), (Effects{"key 53 down", "key 53 up"}));  // S: the right click turned the page
  world.NewTrace();
  keyboard().OnMouseMessage(MouseMessage::RightDoubleClick, on);

  world.hookRenewSucceeds = false;
  keyboard().OnSystemResumed();
  keyboard().OnSessionUnlocked();
  EXPECT_EQ(world.EffectsOf({"hook-renew"}).size(), 4u);
  EXPECT_EQ(world.NewTrace(),
            "MouseHookRenewed After=Tap Installed=1\r\nMouseHookRenewed After=Resume Installed=0\r\n"
            "MouseHookRenewed After=Unlock Installed=0\r\n");
}

TEST(HookKeeping, HooksKeyvaneRemovedOrNeverHadAreNotInstalledAgain) {
  for (const bool installs : {true, false}) {
    RecordingPlatform world;
    world.hookInstallSucceeds = installs;
    StartedKeyboard started(world, "#M\r\nA KEY A\r\n");
    if (installs) started.keyboard.OnSessionEnd(true);
    world.effects.clear();
    started.keyboard.OnSystemResumed();
    started.keyboard.OnSessionUnlocked();
    started.keyboard.OnMouseMessage(input::MouseMessage::LeftDown, SlotCenter(world, 0));
    EXPECT_EQ(world.EffectsOf({"hook-renew", "hook-install"}), Effects{}) << installs;
  }
}

}  // namespace
}  // namespace keyvane::testing

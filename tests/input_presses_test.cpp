#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "btnfile/map_parser.h"
#include "support/keyboard_parts.h"
#include "support/recording_platform.h"
#include "trace/trace_texts.h"

namespace keyvane::testing {
namespace {

using trace::text::kKeyCodePrefix;
using trace::text::kPressLine;
using trace::text::kReleaseLine;
using Effects = std::vector<std::string>;

constexpr platform::WindowHandle kEditor = 100;
constexpr platform::ImeContext kEditorContext = 300;

// Slots of the worked example's maps.
constexpr int kCopySlot = 3;     // MAIN position 6, CTRL+C
constexpr int kKanaSlot = 2;     // MAIN position 4, BASE J_KANA
constexpr int kSpaceSlot = 11;   // MAIN position 9, DUMMY KEY SPC
constexpr int kRekeySlot = 13;   // MAIN position 13
constexpr int kEscSlot = 0;      // MAIN position 0
constexpr int kKanaASlot = 0;    // J_KANA position 0, KEY A
constexpr int kBackSlot = 1;     // J_KANA position 2, BASE MAIN
constexpr int kEnglishSlot = 8;  // J_KANA position 3, JP MAIN

const char kKana[] = "\x82\xa9\x82\xc8";  // かな
const char kA[] = "\x82\xa0";             // あ
const char kI[] = "\x82\xa2";             // い
const char kBack[] = "\x96\xdf\x82\xe9";  // 戻る
const char kEnglish[] = "\x89\x70";       // 英

Effects MainCaptions() {
  return {"caption L0 ESC",
          "caption R0 Tab",
          std::string("caption L1 #"),
          "caption R1 BS",
          std::string("caption L2 ") + kKana,
          "caption R2 ENTER",
          "caption L3 copy",
          "caption R3 paste",
          "caption L4 UP",
          "caption R4 ",
          "caption L5 DN",
          "caption R5 F5",
          "caption L6 ALT+TAB",
          "caption R6 REKEY"};
}

Effects KanaCaptions() {
  Effects captions = MainCaptions();
  captions[0] = std::string("caption L0 ") + kA;
  captions[1] = std::string("caption R0 ") + kI;
  captions[2] = std::string("caption L1 ") + kBack;
  captions[3] = std::string("caption R1 ") + kEnglish;
  return captions;
}

Effects Join(std::initializer_list<Effects> parts) {
  Effects all;
  for (const Effects& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

std::string KeyLine(const char* hex) { return std::string(kKeyCodePrefix) + hex + "\n"; }

std::string SwitchLines(const std::string& nowMap, bool japanese) {
  return "NowMap=" + nowMap + " SW " + nowMap.substr(0, 2) + "\n" + (japanese ? "Japan\n" : "USA\n");
}

// The worked example loaded through the real pipeline, a text editor with an input method
// in the foreground, and one tracking tick done so its context is known.
class WorkedExamplePresses : public ::testing::Test {
 protected:
  WorkedExamplePresses() {
    world.windows[kEditor] = FakeWindow{.title = "Untitled - Notepad", .thread = 7, .imeContext = kEditorContext};
    world.foreground = kEditor;
    world.focus = kEditor;
    started = std::make_unique<StartedKeyboard>(world, WorkedExampleButtonFile());
    keyboard().OnTimerTick();
    world.effects.clear();
    world.NewTrace();
  }

  app::Keyboard& keyboard() { return started->keyboard; }
  void Press(int slot) {
    ASSERT_TRUE(LeftClick(keyboard(), SlotCenter(world, slot)));
    world.effects.erase(world.effects.end() - 1);  // the cursor parking is the hook's, tested there
  }
  // Effects other than the input-method calls, which the tick tests cover.
  Effects InputAndCaptions() { return world.EffectsOf({"key", "mouse", "sleep", "caption"}); }

  RecordingPlatform world;
  std::unique_ptr<StartedKeyboard> started;
};

TEST_F(WorkedExamplePresses, StartUpShowsTheFirstMapAndTracesOnlyTheLoad) {
  RecordingPlatform fresh;
  StartedKeyboard other(fresh, WorkedExampleButtonFile());
  EXPECT_EQ(fresh.CaptionChanges(), MainCaptions());
  EXPECT_EQ(other.keyboard.pages().shownMap, "MAIN");
  const std::string expected = std::string(btnfile::kReadTraceHeading) + "#MAIN\n" + btnfile::kMapNameTracePrefix +
                               "MAIN\n#J_KANA\n" + btnfile::kMapNameTracePrefix + "J_KANA\n";
  EXPECT_EQ(fresh.Trace(), testing::ToCrLf(expected));
}

TEST_F(WorkedExamplePresses, KeyPressSendsTheChordThenReturnsToTheDefaultMap) {
  world.traceInEffects = true;
  Press(kCopySlot);
  const auto trace = [](const std::string& text) { return "trace " + testing::ToCrLf(text); };
  EXPECT_EQ(
      world.effects,
      Join({{trace(kPressLine), "key 11 down", trace(KeyLine("11")), "key 43 down", trace(KeyLine("43")), "sleep 1",
             trace(kReleaseLine), "key 43 up", trace(KeyLine("43")), "key 11 up", trace(KeyLine("11"))},
            MainCaptions(),
            {trace("NowMap=MAIN SW MA\n"), "ime-open 300 off", trace("USA\n"), "ime-release 100 300"}}));
  EXPECT_EQ(world.NewTrace(), testing::ToCrLf(std::string(kPressLine) + KeyLine("11") + KeyLine("43") + kReleaseLine +
                                              KeyLine("43") + KeyLine("11") + SwitchLines("MAIN", false)));
}

TEST_F(WorkedExamplePresses, BaseMakesItsMapTheDefaultAndOpensTheInputMethod) {
  Press(kKanaSlot);
  EXPECT_EQ(InputAndCaptions(), KanaCaptions());
  EXPECT_EQ(world.NewTrace(), testing::ToCrLf(SwitchLines("J_KANA", true)));
  EXPECT_EQ(keyboard().pages().defaultMap, "J_KANA");

  Press(kKanaASlot);  // a KEY press now returns to J_KANA
  EXPECT_EQ(keyboard().pages().shownMap, "J_KANA");
  EXPECT_EQ(world.NewTrace(), testing::ToCrLf(std::string(kPressLine) + KeyLine("41") + kReleaseLine + KeyLine("41") +
                                              SwitchLines("J_KANA", true)));

  Press(kBackSlot);
  EXPECT_EQ(keyboard().pages().defaultMap, "MAIN");
  EXPECT_EQ(world.NewTrace(), testing::ToCrLf(SwitchLines("MAIN", false)));
}

TEST_F(WorkedExamplePresses, JpShowsAMapWithoutChangingWhereKeyPressesReturn) {
  Press(kKanaSlot);
  Press(kEnglishSlot);
  EXPECT_EQ(keyboard().pages().shownMap, "MAIN");
  EXPECT_EQ(keyboard().pages().defaultMap, "J_KANA");
  world.effects.clear();
  Press(kEscSlot);
  EXPECT_EQ(InputAndCaptions(), Join({{"key 1B down", "sleep 1", "key 1B up"}, KanaCaptions()}));
  EXPECT_EQ(keyboard().pages().shownMap, "J_KANA");
}

TEST_F(WorkedExamplePresses, RekeyBeforeAnyKeyDoesNothingAtAll) {
  Press(kRekeySlot);
  EXPECT_TRUE(world.effects.empty());
  EXPECT_EQ(world.NewTrace(), "");
  EXPECT_EQ(keyboard().pages().shownMap, "MAIN");
}

TEST_F(WorkedExamplePresses, RekeyRepeatsTheLastKeyFromAnotherPageAndReturns) {
  Press(kKanaSlot);     // J_KANA becomes the default
  Press(kKanaASlot);    // KEY A, back on J_KANA
  Press(kEnglishSlot);  // JP MAIN
  world.effects.clear();
  world.NewTrace();
  Press(kRekeySlot);
  EXPECT_EQ(InputAndCaptions(), Join({{"key 41 down", "sleep 1", "key 41 up"}, KanaCaptions()}));
  EXPECT_EQ(world.NewTrace(), testing::ToCrLf(std::string(kPressLine) + KeyLine("41") + kReleaseLine + KeyLine("41") +
                                              SwitchLines("J_KANA", true)));
  EXPECT_EQ(keyboard().pages().shownMap, "J_KANA");
}

TEST_F(WorkedExamplePresses, BlankCaptionedKeySendsItsKey) {
  EXPECT_EQ(world.panel(platform::PanelSide::Right).captions[4], "");
  Press(kSpaceSlot);
  EXPECT_EQ(world.KeyEvents(), (Effects{"key 20 down", "key 20 up"}));
}

TEST_F(WorkedExamplePresses, KeyPressWithoutContextSwitchesSilently) {
  RecordingPlatform quiet;
  StartedKeyboard other(quiet, WorkedExampleButtonFile());
  quiet.effects.clear();
  quiet.NewTrace();
  other.keyboard.OnButtonClick(platform::PanelSide::Right, 0);  // Tab, through the click handler
  EXPECT_EQ(quiet.effects, Join({{"key 09 down", "sleep 1", "key 09 up"}, MainCaptions()}));
  EXPECT_EQ(quiet.NewTrace(), testing::ToCrLf(std::string(kPressLine) + KeyLine("9") + kReleaseLine + KeyLine("9")));
}

TEST(Presses, KindsWithoutAPressActionDoNothing) {
  RecordingPlatform world;
  StartedKeyboard started(world,
                          "#M\r\nE\r\nMENUPOP\r\nKEYWAIT A\r\nX\r\n"
                          "Z KEY CTRL+ZZ\r\n");
  world.effects.clear();
  world.NewTrace();
  for (int slot = 0; slot < input::kSlotCount; ++slot) {
    EXPECT_TRUE(LeftClick(started.keyboard, SlotCenter(world, slot)));
  }
  EXPECT_TRUE(world.EffectsOf({"key", "mouse", "sleep", "caption"}).empty());
  EXPECT_EQ(world.NewTrace(), "");
  EXPECT_EQ(started.keyboard.pages().shownMap, "M");
}

// MINIMAM on the right panel's second button; SH holds Shift.
constexpr char kMinimamFile[] = "#M\r\nSH KEYTOG SHIFT\r\nA KEY A\r\nP JP P\r\nMINIMAM\r\n#P\r\nX KEY X\r\nMINIMAM\r\n";
constexpr int kMinimamSlot = 8;  // right, row 1: at (725, 81), 57 x 41 on an 800-pixel screen

// Started with the editor followed (the hidden-panels rule is live), Shift held, the page P shown
// and MINIMAM pressed.
void StartSmall(RecordingPlatform& world, StartedKeyboard& started) {
  started.keyboard.OnTimerTick();
  EXPECT_TRUE(LeftClick(started.keyboard, SlotCenter(world, 0)));  // SH
  EXPECT_TRUE(LeftClick(started.keyboard, SlotCenter(world, 1)));  // P
  world.effects.clear();
  EXPECT_TRUE(LeftClick(started.keyboard, SlotCenter(world, kMinimamSlot)));
  EXPECT_EQ(world.effects, (Effects{"tab-show 725,81 57x41 Keyvane", "hide 9001", "hide 9002", "cursor 772,112"}));
  // The panels tell that they hide, as Windows does.
  started.keyboard.OnPanelHiding();
  started.keyboard.OnPanelHiding();
}

void ExpectNothingElseChanged(RecordingPlatform& world, StartedKeyboard& started) {
  EXPECT_TRUE(world.EffectsOf({"key", "caption", "held", "quit", "focus", "foreground"}).empty());
  EXPECT_EQ(started.keyboard.pages().shownMap, "P");
  EXPECT_EQ(KeyboardParts::Target(started.keyboard).window(), kEditor);
  EXPECT_TRUE(KeyboardParts::HoldsKeys(started.keyboard));
}

TEST(Presses, MinimamLeavesATabThatATapTurnsBackIntoThePanelsAsTheyWere) {
  RecordingPlatform world;
  world.windows[kEditor] = FakeWindow{"Untitled - Notepad", 7, 0, kEditorContext, true};
  world.foreground = kEditor;
  StartedKeyboard started(world, kMinimamFile);
  StartSmall(world, started);
  world.effects.clear();
  // Ticks with both panels hidden do not end Keyvane while they are small.
  for (int i = 0; i < 3; ++i) started.keyboard.OnTimerTick();
  EXPECT_TRUE(world.EffectsOf({"quit", "tab-show", "tab-hide", "show"}).empty());
  // The hidden buttons take nothing; the tab is all there is.
  EXPECT_FALSE(LeftClick(started.keyboard, SlotCenter(world, 0)));
  EXPECT_EQ(started.keyboard.OnPanelTap(input::MouseMessage::RightDown, {730, 90}), input::HookAction::Consume);
  EXPECT_EQ(started.keyboard.OnPanelTap(input::MouseMessage::RightUp, {730, 90}), input::HookAction::Consume);
  EXPECT_TRUE(KeyboardParts::PanelsTab(started.keyboard).shrunk());
  ExpectNothingElseChanged(world, started);
  world.effects.clear();
  // A tap on the tab's edge.
  EXPECT_TRUE(LeftClick(started.keyboard, {725, 122}));
  EXPECT_EQ(world.effects, (Effects{"show L", "show R", "tab-hide", "cursor 772,112"}));
  ExpectNothingElseChanged(world, started);
  // Back as before: the buttons press, and the exit rule is live again.
  EXPECT_TRUE(LeftClick(started.keyboard, SlotCenter(world, 0)));  // X, with Shift still down
  EXPECT_EQ(world.KeyEvents(), (Effects{"key 58 down", "key 58 up"}));
  world.Hide(RecordingPlatform::kLeftPanelWindow);
  world.Hide(RecordingPlatform::kRightPanelWindow);
  started.keyboard.OnTimerTick();
  EXPECT_EQ(world.EffectsOf({"quit"}), Effects{"quit"});
}

TEST(Presses, MinimamPanelsComeBackByTheIconASecondStartOrAClickAndOnlyTheShownOnes) {
  enum class Way { Icon, SecondStart, ClickWithoutHook };
  for (const Way way : {Way::Icon, Way::SecondStart, Way::ClickWithoutHook}) {
    SCOPED_TRACE(static_cast<int>(way));
    RecordingPlatform world;
    world.windows[kEditor] = FakeWindow{"Untitled - Notepad", 7, 0, kEditorContext, true};
    world.foreground = kEditor;
    StartedKeyboard started(world, kMinimamFile);
    started.keyboard.OnTimerTick();
    world.Hide(RecordingPlatform::kLeftPanelWindow);  // a second start's toggle left the right one
    world.effects.clear();
    EXPECT_TRUE(LeftClick(started.keyboard, SlotCenter(world, kMinimamSlot)));
    EXPECT_EQ(world.EffectsOf({"tab-show", "hide"}), (Effects{"tab-show 725,81 57x41 Keyvane", "hide 9002"}));
    world.effects.clear();
    switch (way) {
      case Way::Icon: started.keyboard.OnTrayIconClick(); break;
      case Way::SecondStart: started.keyboard.OnPanelShown(); break;  // as Windows tells of its ShowWindow
      case Way::ClickWithoutHook: started.keyboard.OnTabClick(); break;
    }
    EXPECT_EQ(world.effects, (Effects{"show R", "tab-hide"}));
    EXPECT_FALSE(KeyboardParts::PanelsTab(started.keyboard).shrunk());
    world.effects.clear();
    // Not small any more: every way is its ordinary self again.
    started.keyboard.OnPanelShown();
    started.keyboard.OnTabClick();
    EXPECT_TRUE(world.effects.empty());
  }
}

TEST(Presses, MinimamTabFollowsItsButtonWhenThePanelsMove) {
  RecordingPlatform world;
  StartedKeyboard started(world, kMinimamFile);
  EXPECT_TRUE(LeftClick(started.keyboard, SlotCenter(world, kMinimamSlot)));
  world.screenWidth = 640;
  world.effects.clear();
  started.keyboard.OnTimerTick();
  EXPECT_EQ(world.EffectsOf({"move", "tab-show"}), (Effects{"move R 565,41", "tab-show 565,81 57x41 Keyvane"}));
  world.effects.clear();
  started.keyboard.OnTimerTick();
  EXPECT_TRUE(world.EffectsOf({"tab-show"}).empty());
}

TEST(Presses, MenupopOpensTheMenuBesideItsButtonAndTheTargetComesBackAfter) {
  RecordingPlatform world;
  world.windows[kEditor] = FakeWindow{"Untitled - Notepad", 7, 0, kEditorContext, true};
  world.foreground = kEditor;
  StartedKeyboard started(world, "#M\r\nA KEY A\r\nMENUPOP\r\n");
  started.keyboard.OnTimerTick();
  world.effects.clear();
  started.keyboard.OnButtonClick(platform::PanelSide::Right, 0);
  EXPECT_EQ(world.effects, Effects{"menu-open R0"});  // no key, no map switch
  // The shell's menu then runs as the icon's does.
  started.keyboard.OnOwnWindowOpening();
  started.keyboard.OnOwnWindowClosed();
  EXPECT_EQ(world.EffectsOf({"foreground"}), Effects{"foreground 100"});
  EXPECT_EQ(KeyboardParts::Target(started.keyboard).window(), kEditor);
}

TEST(Presses, ExecStartsTheProgramAsWrittenAndAFailureIsABalloonAndATraceLine) {
  RecordingPlatform world;
  StartedKeyboard started(world,
                          "#M\r\nnote Exec notepad.exe  \"c:\\My Notes\\a.txt\" -x\r\n"
                          "web EXEC \"http://example.com/a?b=C\"\r\nbad EXEC tools\\gone.exe\r\n");
  world.effects.clear();
  world.NewTrace();
  started.keyboard.OnButtonClick(platform::PanelSide::Left, 0);
  started.keyboard.OnButtonClick(platform::PanelSide::Right, 0);
  EXPECT_EQ(world.effects,
            (Effects{"start [notepad.exe] [\"c:\\My Notes\\a.txt\" -x]", "start [http://example.com/a?b=C] []"}));
  EXPECT_EQ(world.NewTrace(), "");
  EXPECT_EQ(started.keyboard.pages().shownMap, "M");  // no page change, no key

  world.effects.clear();
  world.startFailure = "The system cannot find the file specified";
  started.keyboard.OnButtonClick(platform::PanelSide::Left, 1);
  EXPECT_EQ(world.effects,
            (Effects{"start [tools\\gone.exe] []",
                     "tray-balloon The line \"BAD EXEC tools\\gone.exe\" could not start tools\\gone.exe: The system "
                     "cannot find the file specified"}));
  EXPECT_EQ(world.NewTrace(),
            testing::ToCrLf("EXEC could not start tools\\gone.exe: The system cannot find the file specified\n"));
}

TEST(Presses, JpToAMapThatDoesNotExistShowsTheFirstMap) {
  RecordingPlatform world;
  StartedKeyboard started(world, "#M\r\nGO JP NOWHERE\r\nK KEY K\r\n");
  world.effects.clear();
  started.keyboard.OnButtonClick(platform::PanelSide::Left, 0);
  EXPECT_EQ(started.keyboard.pages().shownMap, "NOWHERE");
  EXPECT_EQ(world.ShownCaption(platform::PanelSide::Left, 0), "GO");
  EXPECT_EQ(world.ShownCaption(platform::PanelSide::Right, 0), "K");
}

}  // namespace
}  // namespace keyvane::testing

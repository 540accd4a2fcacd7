#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "support/keyboard_parts.h"
#include "support/recording_platform.h"

namespace keyvane::testing {
namespace {

using Effects = std::vector<std::string>;

constexpr platform::WindowHandle kEditor = 100;
constexpr platform::WindowHandle kEditorFrame = 200;  // has no context itself
constexpr platform::WindowHandle kEditorPane = 201;
constexpr platform::WindowHandle kEditorText = 202;

class FocusTracking : public ::testing::Test {
 protected:
  FocusTracking() {
    world.windows[kEditor] = FakeWindow{.title = "Notepad", .thread = 7, .imeContext = 300};
    world.windows[kEditorFrame] = FakeWindow{.title = "Word", .thread = 8, .firstChild = kEditorPane};
    world.windows[kEditorPane] = FakeWindow{.title = "", .thread = 8, .firstChild = kEditorText};
    world.windows[kEditorText] = FakeWindow{.title = "", .thread = 8, .imeContext = 400};
    world.foreground = kEditor;
    world.cursor = {400, 300};
    started = std::make_unique<StartedKeyboard>(world, "#MAIN\r\nA KEY A\r\n#J_X\r\nB KEY B\r\n");
    world.effects.clear();
    world.NewTrace();
  }

  void Tick(std::uint32_t advance = 100) {
    world.tick += advance;
    keyboard().OnTimerTick();
  }
  app::Keyboard& keyboard() { return started->keyboard; }

  RecordingPlatform world;
  std::unique_ptr<StartedKeyboard> started;
};

TEST_F(FocusTracking, TickAttachesFindsTheContextAndTracesTheStatusLine) {
  Tick();
  // A new target also gets the input method of the map shown, through the context just found.
  EXPECT_EQ(world.effects, (Effects{"attach 1->7", "ime-get 100 300", "ime-open 300 off", "ime-release 100 300"}));
  EXPECT_EQ(world.NewTrace(), "Now=100 Child=0 hImc=300\r\nNowMap=MAIN SW MA\r\nUSA\r\n");
  world.effects.clear();
  Tick();
  EXPECT_EQ(world.effects, (Effects{"ime-get 100 300"}));
  EXPECT_EQ(world.NewTrace(), "Now=100 Child=0 hImc=300\r\n");
  world.effects.clear();
  Tick();
  // Same thread: the input stays joined; last tick's context is released first.
  EXPECT_EQ(world.effects, (Effects{"ime-release 100 300", "ime-get 100 300"}));
}

TEST_F(FocusTracking, FirstChildChainIsWalkedUntilAContextIsFound) {
  world.foreground = kEditorFrame;
  Tick();
  EXPECT_EQ(world.EffectsOf({"ime-get"}), (Effects{"ime-get 200 0", "ime-get 201 0", "ime-get 202 400"}));
  EXPECT_EQ(world.NewTrace(),
            "LOOP Child=201 hImc=0\r\nLOOP Child=202 hImc=400\r\nNow=200 Child=202 hImc=400\r\n"
            "NowMap=MAIN SW MA\r\nUSA\r\n");

  // A target with its own context leaves Child= where the last walk left it.
  world.foreground = kEditor;
  world.effects.clear();
  Tick();
  EXPECT_EQ(world.EffectsOf({"attach", "detach", "ime-release"}),
            (Effects{"detach 1->8", "attach 1->7", "ime-release 100 300"}));
  EXPECT_EQ(world.NewTrace(), "Now=100 Child=202 hImc=300\r\nNowMap=MAIN SW MA\r\nUSA\r\n");
}

TEST_F(FocusTracking, WalkWithoutAnyContextEndsWithZeros) {
  world.windows[kEditorText].imeContext = 0;
  world.foreground = kEditorFrame;
  Tick();
  EXPECT_EQ(world.NewTrace(), "LOOP Child=201 hImc=0\r\nLOOP Child=202 hImc=0\r\nNow=200 Child=0 hImc=0\r\n");
  EXPECT_TRUE(world.EffectsOf({"ime-release"}).empty());
}

TEST_F(FocusTracking, PanelsTheShellsWindowsAndNoWindowAreNeverTaken) {
  Tick();
  world.windows[500] = FakeWindow{.title = "KB1_For_Keyvane", .thread = 9};  // another program's namesake
  std::vector<platform::WindowHandle> passedOver{RecordingPlatform::kRightPanelWindow, 500, 0};
  // Every window of the taskbar's thread: the taskbars, the notification area's overflow of
  // Windows 7 to 10 and of Windows 11, and whatever a later Windows puts there; the desktop.
  world.taskbarThread = 9;
  platform::WindowHandle shellWindow = 600;
  for (const char* windowClass :
       {"Shell_TrayWnd", "Shell_SecondaryTrayWnd", "NotifyIconOverflowWindow", "TopLevelWindowForOverflowXamlIsland",
        "SomeFlyoutOfTomorrow", "Progman", "WorkerW"}) {
    const bool desktop = std::string_view(windowClass) == "Progman" || std::string_view(windowClass) == "WorkerW";
    world.windows[shellWindow] = FakeWindow{.title = "Program Manager", .thread = desktop ? 11u : 9u};
    world.windows[shellWindow].windowClass = windowClass;
    passedOver.push_back(shellWindow++);
  }
  for (const platform::WindowHandle window : passedOver) {
    world.foreground = window;
    world.effects.clear();
    Tick();
    EXPECT_EQ(KeyboardParts::Target(keyboard()).window(), kEditor) << window;
    EXPECT_EQ(world.EffectsOf({"attach", "detach", "ime-open", "ime-window-open"}), Effects{}) << window;
  }
  world.windows[700] = FakeWindow{.title = "Progman", .thread = 10};
  world.windows[700].windowClass = "Notepad";
  world.foreground = 700;
  Tick();
  EXPECT_EQ(KeyboardParts::Target(keyboard()).window(), 700);
  // A folder window of Explorer runs on another of its threads: the user works in it.
  world.windows[701] = FakeWindow{.title = "Documents", .thread = 12};
  world.windows[701].windowClass = "CabinetWClass";
  world.foreground = 701;
  Tick();
  EXPECT_EQ(KeyboardParts::Target(keyboard()).window(), 701);
}

TEST_F(FocusTracking, NoForegroundWindowBeforeAnyTargetJoinsNothing) {
  world.foreground = 0;
  Tick();
  EXPECT_EQ(world.EffectsOf({"attach", "detach"}), Effects{});  // no thread to join
  EXPECT_EQ(world.NewTrace(), "Now=0 Child=0 hImc=0\r\n");
}

TEST_F(FocusTracking, ContextIsReleasedOnceAgainstTheWindowItCameFrom) {
  world.foreground = kEditorFrame;
  Tick();
  Tick();
  world.effects.clear();
  keyboard().OnButtonClick(platform::PanelSide::Left, 0);  // KEY A: a switch uses the context
  keyboard().OnButtonClick(platform::PanelSide::Left, 0);  // again before the next tick
  EXPECT_EQ(world.EffectsOf({"ime-open", "ime-release"}),
            (Effects{"ime-open 400 off", "ime-release 202 400", "ime-open 400 off"}));
  world.effects.clear();
  Tick();
  EXPECT_TRUE(world.EffectsOf({"ime-release"}).empty());
  keyboard().OnRightPanelDestroy();  // the unused context of the last tick goes at the end
  EXPECT_EQ(world.EffectsOf({"ime-release", "detach"}).back(), "detach 1->8");
  EXPECT_EQ(world.EffectsOf({"ime-release"}), (Effects{"ime-release 202 400"}));
}

TEST_F(FocusTracking, CornerHeldMoreThanTenSecondsEndsTheProgram) {
  world.cursor = {0, 0};
  Tick();                                // dwell starts
  for (int i = 0; i < 100; ++i) Tick();  // exactly 10000 ms
  EXPECT_TRUE(world.EffectsOf({"quit"}).empty());
  world.NewTrace();
  Tick(1);
  EXPECT_EQ(world.EffectsOf({"quit"}), (Effects{"quit"}));
  EXPECT_EQ(world.NewTrace(), "Now=100 Child=0 hImc=300\r\n");  // the tick goes on
}

TEST_F(FocusTracking, CursorLeavingTheCornerOrUnreadableRestartsTheDwell) {
  world.cursor = {1, -5};
  Tick();
  for (int i = 0; i < 60; ++i) Tick();
  world.cursor = {2, 0};
  Tick();
  world.cursor = {-3, 1};
  Tick();  // dwell starts again
  for (int i = 0; i < 60; ++i) Tick();
  world.cursorReadable = false;  // the lock screen: where the cursor is cannot be read
  for (int i = 0; i < 100; ++i) Tick();
  EXPECT_TRUE(world.EffectsOf({"quit"}).empty());
  world.cursorReadable = true;
  Tick();  // dwell starts again
  for (int i = 0; i < 100; ++i) Tick();
  EXPECT_TRUE(world.EffectsOf({"quit"}).empty());
  Tick();
  EXPECT_EQ(world.EffectsOf({"quit"}).size(), 1u);
}

TEST_F(FocusTracking, CornerDwellIsRightAcrossTheTickCountWrap) {
  world.cursor = {0, 0};
  world.tick = 0xFFFFFFFEu;
  Tick(1);  // dwell starts at the tick that reads as -1 when signed
  Tick(10000);
  EXPECT_TRUE(world.EffectsOf({"quit"}).empty());
  Tick(1);
  EXPECT_EQ(world.EffectsOf({"quit"}).size(), 1u);
}

TEST_F(FocusTracking, BothPanelsHiddenEndsOnlyOnceATargetThreadWasAttached) {
  world.windows[RecordingPlatform::kLeftPanelWindow].visible = false;
  world.windows[RecordingPlatform::kRightPanelWindow].visible = false;
  world.foreground = 0;
  Tick();  // AttachedThreadId still 0: the tick runs on
  EXPECT_TRUE(world.EffectsOf({"quit"}).empty());
  EXPECT_EQ(world.NewTrace(), "Now=0 Child=0 hImc=0\r\n");

  world.foreground = kEditor;
  Tick();
  world.effects.clear();
  Tick();
  EXPECT_EQ(world.effects, (Effects{"quit"}));                                              // nothing after the request
  EXPECT_EQ(world.NewTrace(), "Now=100 Child=0 hImc=300\r\nNowMap=MAIN SW MA\r\nUSA\r\n");  // the earlier tick's
}

TEST_F(FocusTracking, OnePanelVisibleKeepsTheProgramRunning) {
  Tick();
  world.windows[RecordingPlatform::kLeftPanelWindow].visible = false;
  Tick();
  EXPECT_TRUE(world.EffectsOf({"quit"}).empty());
}

TEST_F(FocusTracking, TargetOutOfReachIsToldOncePerWindowWhateverItsLevelReads) {
  struct Case {
    bool outOfReach;
    std::optional<std::uint32_t> target, own;
    const char* traced;  // what the trace line tells after the window; nullptr: nothing told
  };
  platform::WindowHandle window = 600;
  for (const Case& c :
       {Case{true, 0x3000, 0x2000, "Level=0x3000 Own=0x2000"}, Case{true, 0x4000, 0x3000, "Level=0x4000 Own=0x3000"},
        // Elevated with another account's password: its level cannot be read.
        Case{true, std::nullopt, 0x2000, "Level=? Own=0x2000"}, Case{true, std::nullopt, std::nullopt, "Level=? Own=?"},
        // Windows lets the message through: a higher level that reads is no barrier
        // (a program with UI access), nor is a lower one, nor Windows XP.
        Case{false, 0x3000, 0x2000, nullptr}, Case{false, 0x2000, 0x2000, nullptr},
        Case{false, 0x1000, 0x2000, nullptr}, Case{false, std::nullopt, std::nullopt, nullptr}}) {
    world.windows[++window] = FakeWindow{.title = "Registry Editor", .thread = 9};
    world.windows[window].integrityLevel = c.target;
    world.windows[window].outOfReach = c.outOfReach;
    world.ownIntegrityLevel = c.own;
    world.foreground = window;
    world.effects.clear();
    world.NewTrace();
    Tick();
    const Effects balloons = world.EffectsOf({"tray-balloon"});
    const std::string trace = world.NewTrace();
    if (c.traced) {
      ASSERT_EQ(balloons.size(), 1u) << window;
      EXPECT_TRUE(balloons[0].starts_with("tray-balloon Keyvane cannot type into this window: ")) << balloons[0];
      EXPECT_TRUE(balloons[0].ends_with(" Window: Registry Editor")) << balloons[0];
      const std::string line = "HigherIntegrity Now=" + std::to_string(window) + " " + c.traced + "\r\n";
      EXPECT_NE(trace.find(line), std::string::npos) << trace;
    } else {
      EXPECT_EQ(balloons, Effects{}) << window;
      EXPECT_EQ(trace.find("HigherIntegrity"), std::string::npos) << trace;
    }
  }
  // Back to the first window: it was told already.
  world.ownIntegrityLevel = 0x2000;
  world.foreground = 601;
  world.effects.clear();
  Tick();
  EXPECT_EQ(KeyboardParts::Target(keyboard()).window(), 601);
  EXPECT_EQ(world.EffectsOf({"tray-balloon"}), Effects{});
}

TEST_F(FocusTracking, RefusedJoinCountsAsNotJoinedIsTracedOnceAndNotAskedAgain) {
  world.refusedJoins = {7};
  world.windows[kEditor].imeContext = 0;  // its input method is reached through its IME window
  world.windows[kEditor].defaultImeWindow = 900;
  Tick();
  EXPECT_EQ(world.EffectsOf({"attach", "detach"}), (Effects{"attach 1->7"}));
  EXPECT_EQ(world.NewTrace().find("JoinRefused Thread=7\r\n"), 0u);
  EXPECT_FALSE(KeyboardParts::Target(keyboard()).inputJoined());
  world.effects.clear();
  Tick();
  Tick();
  EXPECT_EQ(world.EffectsOf({"attach", "detach"}), Effects{});
  EXPECT_EQ(world.NewTrace().find("JoinRefused"), std::string::npos);
  // The switch after a press does not wait for keys it cannot see taken.
  keyboard().OnButtonClick(platform::PanelSide::Left, 0);  // KEY A
  EXPECT_EQ(world.EffectsOf({"key", "keys-taken", "ime-window-open"}),
            (Effects{"key 41 down", "key 41 up", "ime-window-open 900 off"}));

  // Another target's thread is asked afresh; leaving the refused one asks nothing.
  world.foreground = kEditorFrame;
  world.effects.clear();
  Tick();
  EXPECT_EQ(world.EffectsOf({"attach", "detach"}), (Effects{"attach 1->8"}));
  EXPECT_TRUE(KeyboardParts::Target(keyboard()).inputJoined());
}

TEST_F(FocusTracking, TargetOnAnotherThreadIsAttachedAndTheOldThreadLeft) {
  Tick();
  world.foreground = kEditorFrame;
  world.effects.clear();
  Tick();
  EXPECT_EQ(world.EffectsOf({"attach", "detach"}), (Effects{"detach 1->7", "attach 1->8"}));
  EXPECT_EQ(KeyboardParts::Follower(keyboard()).attachedThreadId(), 8u);
}

TEST_F(FocusTracking, HungProgramIsNeitherTakenNorKeptAttached) {
  Tick();
  world.windows[kEditorFrame].hung = true;
  world.foreground = kEditorFrame;
  world.effects.clear();
  Tick();  // the old target stays until the new one answers
  EXPECT_EQ(KeyboardParts::Target(keyboard()).window(), kEditor);
  EXPECT_EQ(world.EffectsOf({"attach", "detach"}), Effects{});

  world.windows[kEditorFrame].hung = false;
  Tick();
  EXPECT_EQ(KeyboardParts::Target(keyboard()).window(), kEditorFrame);
  world.windows[kEditorFrame].hung = true;  // the target itself stops answering
  world.effects.clear();
  Tick();
  EXPECT_EQ(world.EffectsOf({"attach", "detach"}), (Effects{"detach 1->8"}));
  world.windows[kEditorFrame].hung = false;
  world.effects.clear();
  Tick();
  EXPECT_EQ(world.EffectsOf({"attach", "detach"}), (Effects{"attach 1->8"}));
}

TEST_F(FocusTracking, SwitchAfterATickSetsTheInputMethodByMapName) {
  Tick();
  world.NewTrace();
  world.effects.clear();
  keyboard().OnButtonClick(platform::PanelSide::Left, 0);
  EXPECT_EQ(world.EffectsOf({"ime-open"}), (Effects{"ime-open 300 off"}));
}

// Another program's window: its context is out of reach, its IME window is not.
class TargetInputMethod : public ::testing::Test {
 protected:
  static constexpr platform::WindowHandle kOther = 600;
  static constexpr platform::WindowHandle kOtherEdit = 601;
  static constexpr platform::WindowHandle kImeWindow = 900;

  void Start(bool withImeWindow, platform::ImeContext context = 0) {
    world.windows[kOther] = FakeWindow{.title = "Editor", .thread = 7, .firstChild = kOtherEdit, .imeContext = context};
    world.windows[kOtherEdit] = FakeWindow{.title = "", .thread = 7};
    if (withImeWindow) world.imeWindowOfThread[7] = kImeWindow;
    world.foreground = kOther;
    world.focus = kOther;
    started =
        std::make_unique<StartedKeyboard>(world,
                                          "#MAIN\r\nA KEY A\r\nKANA JP J_KANA\r\nHOME BASE J_KANA\r\nAGAIN REKEY\r\n"
                                          "#J_KANA\r\nBACK KEY B\r\n#SLIDE_CMD\r\nX KEY X\r\n");
  }
  // Every open-status request, and the hiragana mode that follows each opening.
  Effects Opens() {
    Effects opens = world.EffectsOf({"ime-open", "ime-window-open", "ime-hiragana", "ime-window-hiragana"});
    world.effects.clear();
    return opens;
  }
  app::Keyboard& keyboard() { return started->keyboard; }

  RecordingPlatform world;
  std::unique_ptr<StartedKeyboard> started;
};

TEST_F(TargetInputMethod, EverySwitchAndEveryNewTargetSetsItThroughTheIMEWindow) {
  Start(true);
  EXPECT_EQ(Opens(), (Effects{"ime-window-open 900 off"}));  // the switch at start-up
  EXPECT_EQ(world.NewTrace().substr(world.Trace().find("NowMap")), "NowMap=MAIN SW MA\r\nUSA\r\n");
  keyboard().OnTimerTick();
  EXPECT_EQ(Opens(), Effects{});  // the same target: nothing to redo
  world.NewTrace();

  const auto press = [&](platform::PanelSide side, int row) { keyboard().OnButtonClick(side, row); };
  press(platform::PanelSide::Right, 0);  // JP J_KANA
  EXPECT_EQ(Opens(), (Effects{"ime-window-open 900 on", "ime-window-hiragana 900"}));
  EXPECT_EQ(world.NewTrace(), "NowMap=J_KANA SW J_\r\nJapan\r\n");
  press(platform::PanelSide::Left, 0);  // KEY B, back to MAIN
  EXPECT_EQ(Opens(), (Effects{"ime-window-open 900 off"}));
  press(platform::PanelSide::Left, 1);   // BASE J_KANA
  press(platform::PanelSide::Left, 0);   // KEY B, back to J_KANA
  press(platform::PanelSide::Right, 1);  // REKEY B (J_KANA fills MAIN's gaps from MAIN), back to J_KANA
  const Effects open{"ime-window-open 900 on", "ime-window-hiragana 900"};
  EXPECT_EQ(Opens(), (Effects{open[0], open[1], open[0], open[1], open[0], open[1]}));

  // The long right hold: SLIDE_CMD, its KEY's return to the default, back to the page shown.
  const platform::Point on = SlotCenter(world, 0);
  keyboard().OnPanelTap(input::MouseMessage::RightDown, on);
  world.cursor = on;
  world.tick += 600;
  keyboard().OnTimerTick();
  EXPECT_EQ(Opens(), (Effects{"ime-window-open 900 off", open[0], open[1], open[0], open[1]}));

  // A new target takes the state of the page shown.
  world.windows[700] = FakeWindow{.title = "Mail", .thread = 8};
  world.imeWindowOfThread[8] = 901;
  world.foreground = 700;
  keyboard().OnTimerTick();
  EXPECT_EQ(Opens(), (Effects{"ime-window-open 901 on", "ime-window-hiragana 901"}));
}

TEST_F(TargetInputMethod, ContextFirstThenTheIMEWindowThenNothing) {
  Start(true, 300);
  keyboard().OnTimerTick();
  world.effects.clear();
  keyboard().OnButtonClick(platform::PanelSide::Right, 0);
  EXPECT_EQ(world.EffectsOf({"keys-taken"}), Effects{});  // the context changes in this process, at once
  EXPECT_EQ(Opens(), (Effects{"ime-open 300 on", "ime-hiragana 300"}));

  world.imeWindowOfThread.clear();
  world.windows.clear();
  Start(false);  // neither a context nor an IME window: the switches leave the input method alone
  keyboard().OnTimerTick();
  keyboard().OnButtonClick(platform::PanelSide::Right, 0);
  keyboard().OnButtonClick(platform::PanelSide::Left, 0);
  EXPECT_EQ(Opens(), Effects{});
  EXPECT_EQ(world.Trace().find("NowMap"), std::string::npos);
}

TEST_F(TargetInputMethod, IMEWindowOfTheFocusedWindowThenOfTheTargetThenOfItsThread) {
  Start(true);
  struct Case {
    platform::WindowHandle ofFocused, ofTarget, expected;
  };
  for (const Case& c : {Case{910, 920, 910}, Case{0, 920, 920}, Case{0, 0, 900}}) {
    world.focusOfThread[7] = kOtherEdit;
    world.windows[kOtherEdit].defaultImeWindow = c.ofFocused;
    world.windows[kOther].defaultImeWindow = c.ofTarget;
    world.effects.clear();
    keyboard().OnButtonClick(platform::PanelSide::Right, 0);
    const std::string window = std::to_string(c.expected);
    EXPECT_EQ(Opens(), (Effects{"ime-window-open " + window + " on", "ime-window-hiragana " + window}));
  }
}

TEST_F(TargetInputMethod, IMEWindowIsAskedOnlyOnceTheJoinedTargetHasTakenTheKeysOfThePress) {
  Start(true);
  keyboard().OnButtonClick(platform::PanelSide::Right, 0);  // before the first tick nothing is joined
  EXPECT_EQ(world.EffectsOf({"keys-taken"}), Effects{});
  keyboard().OnTimerTick();
  world.effects.clear();
  keyboard().OnButtonClick(platform::PanelSide::Left, 0);  // KEY B on J_KANA, back to MAIN
  EXPECT_EQ(world.EffectsOf({"key", "keys-taken", "ime-window-open"}),
            (Effects{"key 42 down", "key 42 up", "keys-taken", "ime-window-open 900 off"}));

  // A target that stopped answering is left: nothing would show it take the keys.
  world.windows[kOther].hung = true;
  keyboard().OnTimerTick();
  world.effects.clear();
  keyboard().OnButtonClick(platform::PanelSide::Left, 0);
  EXPECT_EQ(world.EffectsOf({"key", "keys-taken", "ime-window-open"}),
            (Effects{"key 41 down", "key 41 up", "ime-window-open 900 off"}));
}

TEST_F(TargetInputMethod, StoreAppFrameTakesKeysAndTheInputMethodOnItsCoreWindowsThread) {
  constexpr platform::WindowHandle kFrame = 800;
  constexpr platform::WindowHandle kCoreWindow = 801;
  Start(true);
  world.windows[kFrame] = FakeWindow{.title = "Mail", .thread = 20, .windowClass = "ApplicationFrameWindow"};
  world.windows[kCoreWindow] =
      FakeWindow{.title = "Mail", .thread = 21, .windowClass = "Windows.UI.Core.CoreWindow", .parent = kFrame};
  world.imeWindowOfThread[20] = 920;  // the frame host's
  world.imeWindowOfThread[21] = 921;  // the app's
  world.foreground = kFrame;
  world.effects.clear();
  keyboard().OnTimerTick();
  EXPECT_EQ(world.EffectsOf({"attach"}), (Effects{"attach 1->21"}));
  EXPECT_EQ(KeyboardParts::Target(keyboard()).window(), kFrame);
  EXPECT_EQ(Opens(), (Effects{"ime-window-open 921 off"}));

  // Suspended, the app's core window leaves the frame: the frame's own thread is all there is.
  world.windows[kCoreWindow].parent = 0;
  keyboard().OnTimerTick();
  EXPECT_EQ(world.EffectsOf({"attach", "detach"}), (Effects{"detach 1->21", "attach 1->20"}));
  keyboard().OnButtonClick(platform::PanelSide::Right, 0);
  EXPECT_EQ(Opens(), (Effects{"ime-window-open 920 on", "ime-window-hiragana 920"}));
}

}  // namespace
}  // namespace keyvane::testing

namespace keyvane::testing {
namespace {

// Pages that follow the program in front: each step brings a window to the front (or presses
// a button), then one tick; the page shown and the default page after it.
class ProgramPageTracking : public ::testing::Test {
 protected:
  static constexpr platform::WindowHandle kNotepad = 100, kNotepadAgain = 101, kBrowser = 110, kTerminal = 120,
                                          kNoName = 130, kOtherNoName = 131, kOwnMenu = 140, kStoreFrame = 150,
                                          kStoreCore = 151;

  ProgramPageTracking() {
    const auto window = [&](platform::WindowHandle handle, platform::ThreadId thread,
                            std::optional<std::string> program) {
      FakeWindow w{"", thread, 0, 300 + handle, true};
      w.program = std::move(program);
      world.windows[handle] = w;
    };
    window(kNotepad, 7, "notepad.exe");
    window(kNotepadAgain, 7, "NOTEPAD.EXE");
    window(kBrowser, 8, "firefox.exe");
    window(kTerminal, 9, "cmd.exe");
    window(kNoName, 10, std::nullopt);
    window(kOtherNoName, 11, std::nullopt);
    window(kOwnMenu, RecordingPlatform::kOwnThread, "KEYVANE.EXE");
    window(kStoreFrame, 12, "ApplicationFrameHost.exe");
    window(kStoreCore, 13, "firefox.exe");
    world.windows[kStoreFrame].windowClass = "ApplicationFrameWindow";
    world.windows[kStoreCore].windowClass = "Windows.UI.Core.CoreWindow";
    world.windows[kStoreCore].parent = kStoreFrame;
    world.foreground = kTerminal;
    started = std::make_unique<StartedKeyboard>(world,
                                                "#MAIN\r\nA KEY A\r\nJ JP J_X\r\nW BASE WEB\r\n"
                                                "#EDIT\r\nE KEY E\r\n#WEB\r\nB KEY B\r\n#J_X\r\nX KEY X\r\n"
                                                "#APP_PAGE\r\nnotepad.exe BASE EDIT\r\nFIREFOX.EXE BASE WEB\r\n"
                                                "KEYVANE.EXE BASE J_X\r\n");
    Tick();
  }

  void Tick() {
    world.tick += 100;
    started->keyboard.OnTimerTick();
  }

  RecordingPlatform world;
  std::unique_ptr<StartedKeyboard> started;
};

TEST_F(ProgramPageTracking, NewTargetsBringTheirProgramsPageAndTheUsersDefaultComesBack) {
  constexpr int kJumpSlot = 7;  // right row 1: J JP J_X
  constexpr int kBaseSlot = 1;  // left row 2: W BASE WEB
  constexpr int kKeySlot = 0;   // left row 1: a KEY, back to the default page
  struct Step {
    platform::WindowHandle front;  // 0: press `slot` instead
    int slot;
    std::string shown, defaultMap;
  };
  struct Case {
    const char* name;
    std::vector<Step> steps;
  };
  const std::vector<Case> cases{
      {"switch in, another program's page, switch out",
       {{kNotepad, 0, "EDIT", "EDIT"}, {kBrowser, 0, "WEB", "WEB"}, {kTerminal, 0, "MAIN", "MAIN"}}},
      {"another window of the same program changes nothing",
       {{kNotepad, 0, "EDIT", "EDIT"}, {0, kBaseSlot, "WEB", "WEB"}, {kNotepadAgain, 0, "WEB", "WEB"}}},
      {"a BASE press holds until the next change of program; then the table applies again",
       {{kNotepad, 0, "EDIT", "EDIT"},
        {0, kBaseSlot, "WEB", "WEB"},
        {kTerminal, 0, "MAIN", "MAIN"},
        {kNotepad, 0, "EDIT", "EDIT"},
        {0, kBaseSlot, "WEB", "WEB"},
        {kBrowser, 0, "WEB", "WEB"},
        {kNotepad, 0, "EDIT", "EDIT"}}},
      {"the default the user chose before the first switch comes back",
       {{0, kBaseSlot, "WEB", "WEB"}, {kNotepad, 0, "EDIT", "EDIT"}, {kTerminal, 0, "WEB", "WEB"}}},
      {"Keyvane's own windows are no change of program",
       {{kNotepad, 0, "EDIT", "EDIT"}, {kOwnMenu, 0, "EDIT", "EDIT"}, {kNotepadAgain, 0, "EDIT", "EDIT"}}},
      {"a program without a name has no line",
       {{kNotepad, 0, "EDIT", "EDIT"}, {kNoName, 0, "MAIN", "MAIN"}, {kOtherNoName, 0, "MAIN", "MAIN"}}},
      {"a JP page is not interrupted: that change of program is spent",
       {{0, kJumpSlot, "J_X", "MAIN"},
        {kNotepad, 0, "J_X", "MAIN"},
        {0, kKeySlot, "MAIN", "MAIN"},
        {kNotepadAgain, 0, "MAIN", "MAIN"},
        {kBrowser, 0, "WEB", "WEB"}}},
      {"a Store app is the program of its core window", {{kStoreFrame, 0, "WEB", "WEB"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    world.foreground = kTerminal;
    started = std::make_unique<StartedKeyboard>(world, std::string(world.fileSystem.files.at(kButtonPath)));
    Tick();
    for (const Step& step : c.steps) {
      SCOPED_TRACE("front " + std::to_string(step.front) + " slot " + std::to_string(step.slot));
      if (step.front == 0) {
        started->keyboard.OnButtonClick(step.slot < 7 ? platform::PanelSide::Left : platform::PanelSide::Right,
                                        step.slot % 7);
      } else {
        world.foreground = step.front;
        Tick();
      }
      EXPECT_EQ(started->keyboard.pages().shownMap, step.shown);
      EXPECT_EQ(started->keyboard.pages().defaultMap, step.defaultMap);
    }
  }
}

TEST_F(ProgramPageTracking, OneTraceLineThenTheSwitchSetsTheNewTargetsInputMethodOnce) {
  world.NewTrace();
  world.effects.clear();
  world.foreground = kNotepad;
  Tick();
  EXPECT_EQ(world.NewTrace(),
            "Now=100 Child=0 hImc=400\r\nAPP_PAGE:NOTEPAD.EXE -> EDIT\r\nNowMap=EDIT SW ED\r\nUSA\r\n");
  EXPECT_EQ(world.EffectsOf({"ime-open"}), Effects{"ime-open 400 off"});
  world.foreground = kNoName;
  Tick();
  EXPECT_EQ(world.NewTrace(), "Now=130 Child=0 hImc=430\r\nAPP_PAGE: -> MAIN\r\nNowMap=MAIN SW MA\r\nUSA\r\n");
}

}  // namespace
}  // namespace keyvane::testing

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/button_colours.h"
#include "app/placement.h"
#include "support/recording_platform.h"
#include "support/sjis.h"
#include "trace/trace_texts.h"

namespace keyvane::testing {
namespace {

using Effects = std::vector<std::string>;
using platform::PanelSide;

TEST(EngineIntegerText, UsualIntegerForms) {
  EXPECT_EQ(app::ParseIntegerText("650"), 650);
  EXPECT_EQ(app::ParseIntegerText("  650"), 650);
  EXPECT_EQ(app::ParseIntegerText("+7"), 7);
  EXPECT_EQ(app::ParseIntegerText("-20"), -20);
  EXPECT_EQ(app::ParseIntegerText("$1F"), 31);
  EXPECT_EQ(app::ParseIntegerText("X1F"), 31);
  EXPECT_EQ(app::ParseIntegerText("0X1F"), 31);
  EXPECT_EQ(app::ParseIntegerText(" -$10"), -16);
  EXPECT_EQ(app::ParseIntegerText("2147483647"), 2147483647);
  EXPECT_EQ(app::ParseIntegerText("-2147483648"), INT32_MIN);
  EXPECT_EQ(app::ParseIntegerText("$7FFFFFFF"), 2147483647);
}

TEST(EngineIntegerText, AnythingElseIsZero) {
  for (const char* text : {"", " ", "-", "$", "0X", "12A", "1 ", "ABC", "2147483648", "-2147483649", "$80000000",
                           "99999999999999999999", "--1", "1.5"}) {
    EXPECT_EQ(app::ParseIntegerText(text), 0) << text;
  }
}

TEST(EnginePlacementOptions, ArgumentsAreUpperCasedTrimmedAndTheLastWins) {
  using O = app::PlacementOptions;
  EXPECT_EQ(app::ReadPlacementOptions({"KEYVANE.EXE", "/R650", "/T30"}), (O{650, 30}));
  EXPECT_EQ(app::ReadPlacementOptions({"keyvane.exe", "/r650", "/t100"}), (O{650, 100}));
  EXPECT_EQ(app::ReadPlacementOptions({"keyvane.exe", "  /T100\t "}), (O{0, 100}));
  EXPECT_EQ(app::ReadPlacementOptions({"keyvane.exe", "/T30", "/Tabc"}), (O{0, 0}));
  EXPECT_EQ(app::ReadPlacementOptions({"keyvane.exe", "/R", "/T-20", "", "/X5"}), (O{0, -20}));
  EXPECT_EQ(app::ReadPlacementOptions({"/T5"}), (O{0, 5}));  // the program's own name counts too
}

TEST(EngineFolderOfPath, CutsAtTheLastBackslashCharacterNotAtATrailByte) {
  // ソ is 0x83 0x5C and 表 is 0x95 0x5C: their second byte is the backslash byte.
  const struct {
    const char* path;
    const char* folder;
  } cases[] = {
      {"C:\\Keyvane\\keyvane.exe", "C:\\Keyvane\\"},
      {"C:\\Keyvane\\ソフト.exe", "C:\\Keyvane\\"},  // 0x5C inside the name
      {"C:\\表\\keyvane.exe", "C:\\表\\"},           // the folder ends in 0x5C 0x5C
      {"C:\\ソフト\\表.exe", "C:\\ソフト\\"},
      {"\\\\server\\表\\ソ", "\\\\server\\表\\"},
      {"ソフト.exe", ""},  // no folder at all
  };
  for (const auto& c : cases) EXPECT_EQ(app::FolderOfPath(Sjis(c.path)), Sjis(c.folder)) << c.path;
}

TEST(EngineButtonColours, CaptionReadsOnTheFaceAndNothingIsPaintedInTheKeyColour) {
  using app::Rgb;
  constexpr app::Colour kWhite = Rgb(255, 255, 255);
  const struct {
    app::Colour face;
    app::Colour themeText;
    app::Colour caption;
  } cases[] = {
      {Rgb(240, 240, 240), app::kColourKey, app::kNavy},  // the usual light face
      {Rgb(192, 192, 192), app::kColourKey, app::kNavy},  // the classic grey
      {Rgb(128, 128, 128), app::kColourKey, app::kNavy},
      {app::kColourKey, kWhite, kWhite},  // high contrast black
      {app::kColourKey, Rgb(255, 255, 0), Rgb(255, 255, 0)},
      {Rgb(32, 32, 32), kWhite, kWhite},
      {app::kColourKey, app::kColourKey, app::Paintable(app::kColourKey)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(app::CaptionColour(c.face, c.themeText), c.caption) << std::hex << c.face << " " << c.themeText;
    EXPECT_NE(app::Paintable(c.face), app::kColourKey);
    EXPECT_NE(app::CaptionColour(c.face, c.themeText), app::kColourKey);
  }
  EXPECT_EQ(app::Paintable(kWhite), kWhite);
  EXPECT_EQ(app::Paintable(Rgb(1, 0, 0)), Rgb(1, 0, 0));
}

class Placement : public ::testing::Test {
 protected:
  Placement() { world.panel(PanelSide::Left).bounds.width = world.panel(PanelSide::Right).bounds.width = 57; }
  void Place() { app::PlacePanels(world, world); }
  RecordingPlatform world;
};

TEST_F(Placement, DefaultPlaceOnAnEightHundredPixelScreen) {
  Place();
  EXPECT_EQ(world.effects, (Effects{"move L 0,41", "move R 725,41"}));
}

TEST_F(Placement, WiderScreenIsTreatedAsEightHundred) {
  world.screenWidth = 1024;
  Place();
  EXPECT_EQ(world.effects, (Effects{"move L 0,41", "move R 725,41"}));
  world.effects.clear();
  world.screenWidth = 640;  // a narrower screen is followed
  Place();
  EXPECT_EQ(world.effects, (Effects{"move R 565,41"}));
}

TEST_F(Placement, OptionsPlaceThePanels) {
  world.arguments = {"KEYVANE.EXE", "/R650", "/T-20"};
  Place();
  EXPECT_EQ(world.effects, (Effects{"move L 0,-20", "move R 650,-20"}));
  world.effects.clear();
  world.arguments = {"KEYVANE.EXE", "/R0", "/T0"};
  Place();
  EXPECT_EQ(world.effects, (Effects{"move L 0,41", "move R 725,41"}));
}

TEST_F(Placement, PanelsInPlaceAreNotTouchedAndMovedOnesComeBack) {
  Place();
  world.effects.clear();
  Place();
  EXPECT_TRUE(world.effects.empty());
  world.panel(PanelSide::Right).bounds.top = 300;
  Place();
  EXPECT_EQ(world.effects, (Effects{"move R 725,41"}));
}

TEST(EngineStartUp, CreationStepsInOrder) {
  RecordingPlatform world;
  world.windows[100] = FakeWindow{"Notepad", 7, 0, 300, true};
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
  EXPECT_FALSE(started.keyboard.presser().rememberedKeys().has_value());
}

TEST(EngineStartUp, MissingButtonFileGivesBlankButtonsThatDoNothing) {
  RecordingPlatform world;
  app::Keyboard keyboard(world.Services(), kExeFolder);
  world.fileSystem.files[kTracePath] = "old run";
  keyboard.LoadButtons();
  keyboard.OnLeftPanelCreated();
  keyboard.OnRightPanelCreated();
  for (const auto& panel : world.panels) {
    for (const std::string& caption : panel.captions) EXPECT_EQ(caption, "");
  }
  EXPECT_EQ(world.Trace(), trace::ToCrLf(trace::text::kReadHeading));
  world.effects.clear();
  keyboard.OnButtonClick(PanelSide::Left, 0);
  EXPECT_TRUE(world.effects.empty());
}

TEST(EngineShutdown, QuitRemovesTheHookBeforeEndingAndHidesTheIcon) {
  RecordingPlatform world;
  StartedKeyboard started(world, "#M\r\n");
  world.effects.clear();
  started.keyboard.OnQuitCommand();
  EXPECT_EQ(world.effects, (Effects{"hook-remove", "quit", "tray-hide"}));
}

TEST(EngineShutdown, ClosingTheLeftPanelWithoutAHookOnlyHidesTheIcon) {
  RecordingPlatform world;
  world.hookInstallSucceeds = false;
  StartedKeyboard started(world, "#M\r\n");
  world.effects.clear();
  EXPECT_TRUE(started.keyboard.OnLeftPanelCloseQuery());
  started.keyboard.OnLeftPanelClose();
  EXPECT_EQ(world.effects, (Effects{"tray-hide", "tray-hide"}));
}

TEST(EngineShutdown, RightPanelDestroyDetachesFromTheTargetThread) {
  RecordingPlatform world;
  world.windows[100] = FakeWindow{"Notepad", 7, 0, 0, true};
  world.foreground = 100;
  StartedKeyboard started(world, "#M\r\n");
  started.keyboard.OnTimerTick();
  world.effects.clear();
  started.keyboard.OnRightPanelDestroy();
  EXPECT_EQ(world.effects, (Effects{"detach 1->7"}));
}

class Toggle : public ::testing::Test {
 protected:
  Toggle() {
    world.windows[RecordingPlatform::kLeftPanelWindow].title = "KB1_For_Keyvane";
    world.windows[RecordingPlatform::kRightPanelWindow].title = "KB2_For_Keyvane";
  }
  bool Visible(platform::WindowHandle w) { return world.windows[w].visible; }
  RecordingPlatform world;
  static constexpr platform::WindowHandle kLeft = RecordingPlatform::kLeftPanelWindow;
  static constexpr platform::WindowHandle kRight = RecordingPlatform::kRightPanelWindow;
};

TEST_F(Toggle, EachPanelFlipsByItsOwnStateShowingBeforeHiding) {
  world.windows[kLeft].visible = true;
  app::TogglePanels(world);
  // Never both hidden in between, or the running copy's tick would end it.
  EXPECT_EQ(world.effects, (Effects{"show-normal 9002", "hide 9001"}));
  EXPECT_FALSE(Visible(kLeft));
  EXPECT_TRUE(Visible(kRight));
  world.effects.clear();
  app::TogglePanels(world);
  EXPECT_EQ(world.effects, (Effects{"show-normal 9001", "hide 9002"}));
  EXPECT_TRUE(Visible(kLeft));
  EXPECT_FALSE(Visible(kRight));
  world.effects.clear();
  world.windows[kRight].visible = true;
  app::TogglePanels(world);
  EXPECT_EQ(world.effects, (Effects{"hide 9001", "hide 9002"}));
}

TEST_F(Toggle, NothingWithoutTheLeftPanelAndLeftOnlyWithoutTheRight) {
  world.windows[kLeft].title = "starting";
  app::TogglePanels(world);
  EXPECT_TRUE(world.effects.empty());
  world.windows[kLeft].title = "KB1_For_Keyvane";
  world.windows[kRight].title = "gone";
  app::TogglePanels(world);
  EXPECT_EQ(world.effects, (Effects{"show-normal 9001"}));
}

TEST(EngineTrayIcon, ClickHidingBothPanelsEndsTheProgramAtTheNextTick) {
  RecordingPlatform world;
  world.windows[100] = FakeWindow{"Notepad", 7, 0, 0, true};
  world.foreground = 100;
  StartedKeyboard started(world, "#M\r\n");
  started.keyboard.OnTimerTick();
  started.keyboard.OnTrayIconClick();
  EXPECT_TRUE(world.EffectsOf({"quit"}).empty());
  started.keyboard.OnTimerTick();
  EXPECT_EQ(world.EffectsOf({"quit"}), (Effects{"quit"}));
}

TEST(EngineTrayIcon, WindowTypedIntoGetsTheForegroundBackWhenMenuAndAboutClose) {
  RecordingPlatform world;
  world.windows[100] = FakeWindow{"Notepad", 7, 0, 0, true};
  world.windows[800] = FakeWindow{"About Keyvane", RecordingPlatform::kOwnThread, 0, 0, true};
  world.foreground = 100;
  StartedKeyboard started(world, "#M\r\nA KEY A\r\n");
  started.keyboard.OnTimerTick();
  started.keyboard.OnOwnWindowOpening();
  world.foreground = 800;
  world.effects.clear();
  started.keyboard.OnTimerTick();  // the About box is the target while it is open
  EXPECT_EQ(started.keyboard.target().targetWindow, 800);
  // Its thread is this one: the notepad's input stays joined, not left for a join that fails.
  EXPECT_EQ(world.EffectsOf({"attach", "detach"}), Effects{});
  EXPECT_EQ(started.keyboard.tracker().follower().attachedThreadId(), 7u);
  world.effects.clear();
  started.keyboard.OnOwnWindowClosed();
  EXPECT_EQ(world.effects, (Effects{"foreground 100"}));
  EXPECT_EQ(started.keyboard.target().targetWindow, 100);
}

}  // namespace
}  // namespace keyvane::testing

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/placement.h"
#include "support/recording_platform.h"

namespace keyvane::testing {
namespace {

using Effects = std::vector<std::string>;
using platform::PanelSide;

TEST(IntegerText, UsualIntegerForms) {
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

TEST(IntegerText, AnythingElseIsZero) {
  for (const char* text : {"", " ", "-", "$", "0X", "12A", "1 ", "ABC", "2147483648", "-2147483649", "$80000000",
                           "99999999999999999999", "--1", "1.5"}) {
    EXPECT_EQ(app::ParseIntegerText(text), 0) << text;
  }
}

TEST(PlacementOptions, ArgumentsAreUpperCasedTrimmedAndTheLastWins) {
  using O = app::PlacementOptions;
  EXPECT_EQ(app::ReadPlacementOptions({"KEYVANE.EXE", "/R650", "/T30"}), (O{650, 30}));
  EXPECT_EQ(app::ReadPlacementOptions({"keyvane.exe", "/r650", "/t100"}), (O{650, 100}));
  EXPECT_EQ(app::ReadPlacementOptions({"keyvane.exe", "  /T100\t "}), (O{0, 100}));
  EXPECT_EQ(app::ReadPlacementOptions({"keyvane.exe", "/T30", "/Tabc"}), (O{0, 0}));
  EXPECT_EQ(app::ReadPlacementOptions({"keyvane.exe", "/R", "/T-20", "", "/X5"}), (O{0, -20}));
  EXPECT_EQ(app::ReadPlacementOptions({"/T5"}), (O{0, 5}));  // the program's own name counts too
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
  EXPECT_EQ(world.effects, (Effects{"show-inactive 9002", "hide 9001"}));
  EXPECT_FALSE(Visible(kLeft));
  EXPECT_TRUE(Visible(kRight));
  world.effects.clear();
  app::TogglePanels(world);
  EXPECT_EQ(world.effects, (Effects{"show-inactive 9001", "hide 9002"}));
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
  EXPECT_EQ(world.effects, (Effects{"show-inactive 9001"}));
}

}  // namespace
}  // namespace keyvane::testing

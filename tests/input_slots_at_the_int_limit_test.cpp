// Found by fuzzing the engine: /T and /R values near the int limits made button positions overflow.
#include <gtest/gtest.h>

#include <climits>

#include "input/panel_mouse_hook.h"
#include "support/recording_platform.h"

namespace keyvane::testing {
namespace {

TEST(PanelsPlacedAtTheIntLimit, ButtonsAreNotFoundWhereTheirPositionWouldWrapAround) {
  RecordingPlatform world;
  world.arguments = {"KEYVANE.EXE", "/T2147483647"};
  StartedKeyboard started(world, WorkedExampleButtonFile());
  started.keyboard.OnTimerTick();
  world.effects.clear();

  // Left row 2 starts 40 pixels below INT_MAX; wrapped around, it would lie just above INT_MIN + 40.
  const platform::Point wrapped{10, INT_MIN + 50};
  EXPECT_EQ(started.keyboard.OnMouseMessage(input::MouseMessage::LeftUp, wrapped), input::HookAction::PassOn);
  EXPECT_TRUE(world.KeyEvents().empty());
}

TEST(PanelsPlacedAtTheIntLimit, ParkingTheCursorStaysOnTheScreenEdgeOfTheRange) {
  RecordingPlatform world;
  world.arguments = {"KEYVANE.EXE", "/T2147483647", "/R2147483647"};
  StartedKeyboard started(world, WorkedExampleButtonFile());
  world.effects.clear();

  const platform::Point farCorner{INT_MAX, INT_MAX};
  EXPECT_EQ(started.keyboard.OnMouseMessage(input::MouseMessage::RightDown, farCorner), input::HookAction::Consume);
  EXPECT_EQ(world.cursor.y, INT_MAX);  // parked 10 pixels above a bottom edge that saturated
}

}  // namespace
}  // namespace keyvane::testing

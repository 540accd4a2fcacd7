#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "input/slot_presser.h"
#include "support/recording_platform.h"
#include "trace/trace_texts.h"

namespace keyvane::testing {
namespace {

using input::SendMode;
using trace::text::kKeyCodePrefix;
using trace::text::kMouseLine;
using trace::text::kPressLine;
using trace::text::kReleaseLine;

std::string KeyLine(const char* hex) { return std::string(kKeyCodePrefix) + hex + "\n"; }

class SendKeyEventTest : public ::testing::Test {
 protected:
  void PressAndRelease(std::vector<std::uint8_t> codes) {
    Send(codes, SendMode::Press);
    Send(codes, SendMode::Release);
  }
  void Send(const std::vector<std::uint8_t>& codes, SendMode mode) {
    btnfile::KeySequence keys{};
    std::copy(codes.begin(), codes.end(), keys.begin());
    input::SendKeyEvent(keys, mode, world, log);
  }

  RecordingPlatform world;
  trace::TraceLog log{world, kTracePath};
};

TEST_F(SendKeyEventTest, EnterDownThenUpWithFourTraceLines) {
  PressAndRelease({0x0D});
  EXPECT_EQ(world.effects, (std::vector<std::string>{"key 0D down", "key 0D up"}));
  EXPECT_EQ(world.Trace(), testing::ToCrLf(std::string(kPressLine) + KeyLine("D") + kReleaseLine + KeyLine("D")));
}

TEST_F(SendKeyEventTest, ChordGoesDownInOrderAndUpInReverse) {
  PressAndRelease({0x11, 0x10, 0x41});
  EXPECT_EQ(world.effects, (std::vector<std::string>{"key 11 down", "key 10 down", "key 41 down", "key 41 up",
                                                     "key 10 up", "key 11 up"}));
}

TEST_F(SendKeyEventTest, RepeatedCodeIsSentTwiceEachWay) {
  PressAndRelease({0x10, 0x10});
  EXPECT_EQ(world.effects, (std::vector<std::string>{"key 10 down", "key 10 down", "key 10 up", "key 10 up"}));
}

TEST_F(SendKeyEventTest, MouseButtonsKeepTheWrittenOrderAmongKeys) {
  PressAndRelease({0x11, 0x01, 0x04, 0x02});
  EXPECT_EQ(world.effects,
            (std::vector<std::string>{"key 11 down", "mouse left-down", "mouse middle-down", "mouse right-down",
                                      "mouse right-up", "mouse middle-up", "mouse left-up", "key 11 up"}));
  const std::string mouse3 = std::string(kMouseLine) + kMouseLine + kMouseLine;
  EXPECT_EQ(world.Trace(),
            testing::ToCrLf(std::string(kPressLine) + KeyLine("11") + mouse3 + kReleaseLine + mouse3 + KeyLine("11")));
}

TEST_F(SendKeyEventTest, HighCodesAreSentUnsignedAndLoggedSignExtended) {
  Send({0xF3, 0x7F}, SendMode::Press);
  EXPECT_EQ(world.effects, (std::vector<std::string>{"key F3 down", "key 7F down"}));
  EXPECT_EQ(world.Trace(), testing::ToCrLf(std::string(kPressLine) + KeyLine("FFFFFFF3") + KeyLine("7F")));
}

TEST_F(SendKeyEventTest, FullSequenceWithoutTerminatorSendsAllHundred) {
  std::vector<std::uint8_t> codes;
  for (int i = 0; i < 100; ++i) codes.push_back(static_cast<std::uint8_t>(0x30 + i % 10));
  PressAndRelease(codes);
  std::vector<std::string> expected;
  for (const std::uint8_t code : codes) expected.push_back("key 3" + std::to_string(code - 0x30) + " down");
  for (auto code = codes.rbegin(); code != codes.rend(); ++code) {
    expected.push_back("key 3" + std::to_string(*code - 0x30) + " up");
  }
  EXPECT_EQ(world.effects, expected);
}

TEST_F(SendKeyEventTest, EmptySequenceWritesOnlyTheOpeningLine) {
  Send({}, SendMode::Release);
  EXPECT_TRUE(world.effects.empty());
  EXPECT_EQ(world.Trace(), testing::ToCrLf(kReleaseLine));
}

TEST_F(SendKeyEventTest, ExtendedKeysGoAsAPhysicalKeyboardSendsThem) {
  // Ctrl+Left, Delete, keypad 4, keypad /, Enter, Print Screen, Shift+End, left Windows.
  PressAndRelease({0x11, 0x25, 0x2E, 0x64, 0x6F, 0x0D, 0x2C, 0x10, 0x23, 0x5B});
  EXPECT_EQ(world.effects,
            (std::vector<std::string>{"key 11 down",     "key 25 down ext", "key 2E down ext", "key 64 down",
                                      "key 6F down ext", "key 0D down",     "key 2C down ext", "key 10 down",
                                      "key 23 down ext", "key 5B down ext", "key 5B up ext",   "key 23 up ext",
                                      "key 10 up",       "key 2C up ext",   "key 0D up",       "key 6F up ext",
                                      "key 64 up",       "key 2E up ext",   "key 25 up ext",   "key 11 up"}));
}

TEST_F(SendKeyEventTest, EachTraceLineFollowsItsOwnEvent) {
  world.traceInEffects = true;
  Send({0x41, 0x01}, SendMode::Press);
  EXPECT_EQ(world.effects, (std::vector<std::string>{"trace " + testing::ToCrLf(kPressLine), "key 41 down",
                                                     "trace " + testing::ToCrLf(KeyLine("41")), "mouse left-down",
                                                     "trace " + testing::ToCrLf(kMouseLine)}));
}

}  // namespace
}  // namespace keyvane::testing

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "btnfile/map_parser.h"
#include "support/keyboard_parts.h"
#include "support/recording_platform.h"

namespace keyvane::testing {
namespace {

using platform::PanelSide;
using Effects = std::vector<std::string>;

constexpr platform::WindowHandle kEditor = 100;
constexpr char kOldFile[] = "#OLD\r\nA KEY A\r\nR REKEY\r\n";
constexpr char kNewFile[] = "#NEW\r\nB KEY B\r\nR REKEY\r\n";
constexpr char kBalloonUnreadable[] = "tray-balloon dovaD.BTN cannot be read: the buttons stay as they were.";
constexpr char kBalloonNoMap[] =
    "tray-balloon dovaD.BTN has no map (a line starting with #): the buttons stay as they were.";

std::string ReadSection(const std::string& mapName) {
  return testing::ToCrLf(std::string(btnfile::kReadTraceHeading) + "#" + mapName + "\n" + btnfile::kMapNameTracePrefix +
                         mapName + "\n");
}

// Keyvane running on kOldFile, typing into an editor whose thread it has joined.
class Reload : public ::testing::Test {
 protected:
  Reload() {
    world.windows[kEditor] = FakeWindow{.title = "Untitled - Notepad", .thread = 7};
    world.foreground = kEditor;
    world.focus = kEditor;
    started = std::make_unique<StartedKeyboard>(world, kOldFile);
    Tick();
    world.effects.clear();
  }

  app::Keyboard& keyboard() { return started->keyboard; }
  void Tick() {
    world.tick += 100;
    keyboard().OnTimerTick();
  }
  void TickFor(std::uint32_t milliseconds) {
    for (std::uint32_t spent = 0; spent < milliseconds; spent += 100) Tick();
  }
  void Save(const std::string& content) { world.fileSystem.files[kButtonPath] = content; }
  std::string Caption() { return world.panel(PanelSide::Left).captions[0]; }
  // The keys a press of the left panel's first button sends.
  Effects PressFirst() {
    world.effects.clear();
    keyboard().OnButtonClick(PanelSide::Left, 0);
    return world.KeyEvents();
  }

  RecordingPlatform world;
  std::unique_ptr<StartedKeyboard> started;
};

TEST_F(Reload, StableSaveIsReadOnceItHasStayedTheSameForHalfASecond) {
  Save(kNewFile);
  std::uint32_t waited = 0;
  while (Caption() == "A" && waited < 5000) {
    Tick();
    waited += 100;
  }
  EXPECT_EQ(Caption(), "B");
  EXPECT_GE(waited, 500U);
  EXPECT_LE(waited, 1600U);  // one look a second, and one more to see it settled
  EXPECT_EQ(PressFirst(), (Effects{"key 42 down", "key 42 up"}));
  EXPECT_TRUE(world.EffectsOf({"tray-balloon"}).empty());
}

TEST_F(Reload, FileStillBeingWrittenIsNotReadUntilItSettles) {
  const std::string before = world.Trace();
  std::string growing = "#NEW\r\n";
  for (int step = 0; step < 40; ++step) {  // four seconds of a slow write
    growing += "B KEY B\r\n";
    Save(growing);
    Tick();
  }
  EXPECT_EQ(Caption(), "A");
  EXPECT_EQ(world.Trace().find(testing::ToCrLf(btnfile::kReadTraceHeading), before.size()), std::string::npos);
  TickFor(2000);
  EXPECT_EQ(Caption(), "B");
}

TEST_F(Reload, VanishedFileKeepsTheButtonsAndComingBackUnchangedReadsNothing) {
  const std::string content = world.fileSystem.files[kButtonPath];
  world.fileSystem.files.erase(kButtonPath);
  TickFor(3000);
  Save(content);
  TickFor(3000);
  EXPECT_EQ(Caption(), "A");
  EXPECT_EQ(PressFirst(), (Effects{"key 41 down", "key 41 up"}));
  EXPECT_TRUE(world.EffectsOf({"tray-balloon"}).empty());
  EXPECT_EQ(world.Trace().find(testing::ToCrLf(btnfile::kReadTraceHeading), 1), std::string::npos);
}

TEST_F(Reload, RefusedFileKeepsTheOldButtonsAndTellsOnce) {
  struct Case {
    const char* name;
    std::string content;
    bool unreadable;
    const char* balloon;
  };
  const std::vector<Case> cases = {
      {"locked", kNewFile, true, kBalloonUnreadable},
      {"garbage", "\x01\x02 no header\r\nB KEY B\r\n", false, kBalloonNoMap},
      {"empty", "", false, kBalloonNoMap},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    keyboard().OnButtonClick(PanelSide::Left, 0);  // KEY A, remembered for REKEY
    world.effects.clear();
    Save(c.content);
    if (c.unreadable) world.fileSystem.unreadable.insert(kButtonPath);
    TickFor(5000);
    EXPECT_EQ(world.EffectsOf({"tray-balloon"}), (Effects{c.balloon}));
    EXPECT_TRUE(world.CaptionChanges().empty());
    EXPECT_EQ(Caption(), "A");
    EXPECT_EQ(PressFirst(), (Effects{"key 41 down", "key 41 up"}));
    EXPECT_TRUE(KeyboardParts::Presser(keyboard()).rememberedKeys().has_value());
    world.fileSystem.unreadable.clear();
  }
}

TEST_F(Reload, MenuItemReadsTheNewFileKeepingTargetAndAttachment) {
  const platform::ThreadId attached = KeyboardParts::Follower(keyboard()).attachedThreadId();
  Save("#NEW\r\nB KEY B\r\nC BASE OTHER\r\n#OTHER\r\nO KEY O\r\n");
  keyboard().OnButtonClick(PanelSide::Right, 0);  // an unbound button: nothing happens
  keyboard().OnReloadCommand();
  EXPECT_EQ(Caption(), "B");
  EXPECT_EQ(world.panel(PanelSide::Right).captions[0], "C");
  EXPECT_EQ(keyboard().pages().defaultMap, "NEW");
  EXPECT_EQ(keyboard().pages().shownMap, "NEW");
  EXPECT_EQ(KeyboardParts::Target(keyboard()).window(), kEditor);
  EXPECT_EQ(KeyboardParts::Follower(keyboard()).attachedThreadId(), attached);
  EXPECT_TRUE(world.EffectsOf({"attach", "detach", "focus", "foreground"}).empty());
  // The new maps are the ones bound: BASE OTHER now works, and OTHER falls back on NEW.
  keyboard().OnButtonClick(PanelSide::Right, 0);
  EXPECT_EQ(Caption(), "O");
  EXPECT_EQ(world.panel(PanelSide::Right).captions[0], "C");
  // Saved and read by hand: the watch sees nothing new to read.
  world.effects.clear();
  TickFor(3000);
  EXPECT_TRUE(world.CaptionChanges().empty());
}

TEST_F(Reload, ReadingSectionIsAppendedToTheTrace) {
  const std::string before = world.Trace();
  ASSERT_EQ(before.rfind(ReadSection("OLD"), 0), 0U);  // start-up began a fresh trace
  Save(kNewFile);
  keyboard().OnReloadCommand();
  EXPECT_EQ(world.Trace(), before + ReadSection("NEW"));
  Save("garbage\r\n");
  keyboard().OnReloadCommand();
  EXPECT_EQ(world.Trace(),
            before + ReadSection("NEW") + testing::ToCrLf(std::string(btnfile::kReadTraceHeading) + "GARBAGE\n"));
}

TEST_F(Reload, RekeyMemoryIsCleared) {
  keyboard().OnButtonClick(PanelSide::Left, 0);  // KEY A
  ASSERT_TRUE(KeyboardParts::Presser(keyboard()).rememberedKeys().has_value());
  Save(kNewFile);
  keyboard().OnReloadCommand();
  EXPECT_FALSE(KeyboardParts::Presser(keyboard()).rememberedKeys().has_value());
  world.effects.clear();
  keyboard().OnButtonClick(PanelSide::Right, 0);  // REKEY
  EXPECT_TRUE(world.KeyEvents().empty());
}

TEST(ButtonFileNotice, BalloonAfterStartUpAndReloadSaysHowManyProblemsAndTheFirst) {
  struct Case {
    const char* name;
    std::optional<std::string> file;  // none: missing
    Effects atStart;
    Effects atReload;  // the same file read again
    std::size_t problems;
  };
  const Effects kyeProblem{
      "tray-balloon dovaD.BTN: 2 problems. Line 3: unknown command word \"KYE\" (expected JP, KEY, REKEY, KEYTOG, "
      "BASE, EXEC); the button is blank and does nothing"};
  const std::vector<Case> cases = {
      {"clean", "#M\r\nA KEY A\r\nB KEY B\r\n", {}, {}, 0},
      {"two problems", "#MAIN\r\nESC KEY ESC\r\nX KYE A\r\n\x82\xa9\x82\xc8 BASE J_KANA\r\n", kyeProblem, kyeProblem,
       2},
      {"UTF-8 with a character code page 932 lacks",
       "#M\r\nA\xF0\x9F\x98\x80 KEY A\r\n",  // an emoji
       {"tray-balloon dovaD.BTN: 1 problem. Line 2: a character that code page 932 lacks (U+1F600): the keyboard "
        "reads \x81\xAC in its place"},
       {"tray-balloon dovaD.BTN: 1 problem. Line 2: a character that code page 932 lacks (U+1F600): the keyboard "
        "reads \x81\xAC in its place"},
       1},
      {"no map",
       "' only a comment\r\n",
       {"tray-balloon dovaD.BTN: 1 problem. no map at all: the file has no map header (a line starting with #), so "
        "every button is blank"},
       {kBalloonNoMap},
       1},
      {"missing",
       std::nullopt,
       {"tray-balloon dovaD.BTN cannot be read: every button is blank."},
       {kBalloonUnreadable},
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingPlatform world;
    app::Keyboard keyboard(world.Services());
    if (c.file) world.fileSystem.files[kButtonPath] = *c.file;
    keyboard.LoadButtons();
    keyboard.OnLeftPanelCreated();
    keyboard.OnRightPanelCreated();
    EXPECT_TRUE(world.EffectsOf({"tray-balloon"}).empty());  // not before the icon is there
    keyboard.OnStartedUp();
    EXPECT_EQ(world.EffectsOf({"tray-balloon"}), c.atStart);
    EXPECT_EQ(keyboard.buttonFileStatus().problemCount, c.problems);
    world.effects.clear();
    keyboard.OnReloadCommand();
    EXPECT_EQ(world.EffectsOf({"tray-balloon"}), c.atReload);
    EXPECT_EQ(keyboard.buttonFileStatus().problemCount, c.problems);
  }
}

}  // namespace
}  // namespace keyvane::testing

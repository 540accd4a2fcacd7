#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "preview_engine/preview_engine.h"

// The engine the checker's preview runs in the browser, driven natively as the page's script
// drives it: what it answers is what the page draws.
namespace keyvane::preview_engine {
namespace {

using Json = nlohmann::json;
using input::MouseMessage;

// The middle of a slot's button on the handheld's screen, from the engine's own answer.
platform::Point Centre(const Json& state, int slot) {
  const Json& button = state["slots"][slot];
  const Json& panel = state["panels"][button["panel"].get<int>()];
  const Json& bounds = button["bounds"];
  return {panel["left"].get<int>() + bounds["width"].get<int>() / 2,
          panel["top"].get<int>() + bounds["top"].get<int>() + bounds["height"].get<int>() / 2};
}

Json State(PreviewEngine& engine) { return Json::parse(engine.TakeState()); }

Json Click(PreviewEngine& engine, int slot, std::uint32_t now) {
  const platform::Point at = Centre(State(engine), slot);
  EXPECT_TRUE(engine.Mouse(MouseMessage::LeftDown, at, now));
  EXPECT_TRUE(engine.Mouse(MouseMessage::LeftUp, at, now));
  return State(engine);
}

TEST(PreviewEngine, ARepeatingButtonIsMarkedAndRepeatsOnTheTicksWhileHeld) {
  PreviewEngine engine("#MAIN\r\nBS KEY BS\r\nA KEY A\r\n#KEY_REPEAT\r\nBS 200 10\r\n");
  Json state = State(engine);
  EXPECT_EQ(state["slots"][0]["repeats"], true);
  EXPECT_FALSE(state["slots"][7].contains("repeats"));
  const platform::Point at = Centre(state, 0);
  EXPECT_TRUE(engine.Mouse(MouseMessage::LeftDown, at, 1000));
  for (std::uint32_t now = 1100; now <= 1400; now += 100) engine.Tick(now, at);  // repeats at 1200, 1300, 1400
  EXPECT_TRUE(engine.Mouse(MouseMessage::LeftUp, at, 1450));
  EXPECT_EQ(State(engine)["events"], Json::parse(R"([{"key": "BS down"}, {"key": "BS down"}, {"key": "BS down"},
                            {"key": "BS down"}, {"key": "BS up"}, {"shows": "MAIN", "ime": "closed"}])"));
}

TEST(PreviewEngine, TellsEachButtonAndWhatAPressDid) {
  PreviewEngine engine("#MAIN\r\nCCOOPPYY KEY CTRL+C\r\nX FOO\r\nG JP ***DefaultMap***\r\n#SUB\r\nS KEY S\r\n");
  Json state = State(engine);
  EXPECT_EQ(state["shown"], "MAIN");
  EXPECT_EQ(state["shownIndex"], 0);
  EXPECT_EQ(state["ime"], "closed");  // the first tick set the program's input method
  EXPECT_EQ(state["events"], Json::array());
  const Json& slots = state["slots"];
  EXPECT_EQ(slots[0], (Json{{"panel", 0},
                            {"row", 0},
                            {"bounds", {{"left", 0}, {"top", 0}, {"width", 57}, {"height", 41}}},
                            {"caption", "copy"},
                            {"kind", "KEY"},
                            {"action", "KEY Ctrl+C"},
                            {"filled", false},
                            {"held", false}}));
  // A line without action shows no caption; a position without a line has nothing bound.
  EXPECT_EQ(slots[7]["kind"], "NONE");
  EXPECT_EQ(slots[7]["caption"], "");
  EXPECT_EQ(slots[8]["kind"], "");

  state = Click(engine, 0, 1000);
  EXPECT_EQ(state["events"], Json::parse(R"([{"key": "Ctrl down"}, {"key": "C down"}, {"key": "C up"},
                                             {"key": "Ctrl up"}, {"shows": "MAIN", "ime": "closed"}])"));
  // The target is upper-cased like every word of the file: a name no map has, unlike the alias.
  state = Click(engine, 1, 1100);
  EXPECT_EQ(state["shown"], "***DEFAULTMAP***");
  EXPECT_EQ(state["shownIs"], "missing");
  EXPECT_EQ(state["shownIndex"], -1);
  EXPECT_EQ(state["slots"][0]["filled"], true);

  engine.ShowPage(1);
  state = State(engine);
  EXPECT_EQ(state["shown"], "SUB");
  EXPECT_EQ(state["default"], "MAIN");
  EXPECT_EQ(state["slots"][0]["caption"], "S");
  EXPECT_EQ(state["slots"][7]["filled"], true);  // MAIN's blank line fills SUB's empty place
}

TEST(PreviewEngine, TellsHeldButtonsAndTheProgramsAPressStarts) {
  PreviewEngine engine("#MAIN\r\nSH KEYTOG SHIFT\r\nN EXEC notepad.exe \"My Notes.txt\"\r\n");
  Json state = Click(engine, 0, 1000);
  EXPECT_EQ(state["events"], Json::parse(R"([{"key": "Shift down"}])"));
  EXPECT_EQ(state["slots"][0]["held"], true);
  EXPECT_EQ(state["slots"][7]["held"], false);
  state = Click(engine, 7, 1100);
  EXPECT_EQ(state["events"], Json::parse(R"([{"starts": "notepad.exe \"My Notes.txt\""}])"));
  state = Click(engine, 0, 1200);
  EXPECT_EQ(state["slots"][0]["held"], false);
}

TEST(PreviewEngine, TellsTheTabOfPanelsMadeSmallUntilATapOnItBringsThemBack) {
  PreviewEngine engine("#MAIN\r\nSH KEYTOG SHIFT\r\nMINIMAM\r\n");
  Click(engine, 0, 1000);
  Json state = Click(engine, 7, 1100);
  EXPECT_EQ(state["tab"], Json::parse(R"({"bounds": {"left": 725, "top": 41, "width": 57, "height": 41},
                                          "caption": "Keyvane"})"));
  EXPECT_EQ(state["events"], Json::array());
  EXPECT_EQ(engine.SlotAt({730, 50}), std::nullopt);
  EXPECT_TRUE(engine.Mouse(MouseMessage::LeftDown, {730, 50}, 1200));
  EXPECT_TRUE(engine.Mouse(MouseMessage::LeftUp, {730, 50}, 1200));
  state = State(engine);
  EXPECT_EQ(state["tab"], nullptr);
  EXPECT_EQ(state["slots"][0]["held"], true);  // Shift stayed down throughout
  EXPECT_EQ(engine.SlotAt({730, 50}), 7);
}

TEST(PreviewEngine, ALongRightHoldFiresAtATickAndAProgramInFrontBringsItsPage) {
  PreviewEngine engine(
      "#MAIN\r\nM KEY M\r\n#SLIDE_CMD\r\nH KEY H\r\n#EDIT\r\nE KEY E\r\n#APP_PAGE\r\nED.EXE BASE EDIT\r\n");
  const platform::Point at = Centre(State(engine), 0);
  EXPECT_TRUE(engine.Mouse(MouseMessage::RightDown, at, 5000));
  engine.Tick(5500, at);
  EXPECT_EQ(State(engine)["events"], Json::array());  // not more than half a second yet
  engine.Tick(5600, at);
  const std::vector<Json> held = State(engine)["events"];
  ASSERT_EQ(held.size(), 5u);  // SLIDE_CMD shown, H sent, the default after the key, the page held on
  EXPECT_EQ(held[0], (Json{{"shows", "SLIDE_CMD"}, {"ime", "closed"}}));
  EXPECT_EQ(held[1], (Json{{"key", "H down"}}));
  EXPECT_EQ(held[3], (Json{{"shows", "MAIN"}, {"ime", "closed"}}));
  EXPECT_EQ(held[4], held[3]);
  EXPECT_TRUE(engine.Mouse(MouseMessage::RightUp, at, 5700));
  EXPECT_EQ(State(engine)["events"], Json::array());  // a spent hold turns no page

  engine.ProgramInFront(0, 6000, std::nullopt);
  Json state = State(engine);
  EXPECT_EQ(state["shown"], "EDIT");
  EXPECT_EQ(state["default"], "EDIT");
  engine.ProgramInFront(-1, 6100, std::nullopt);
  state = State(engine);
  EXPECT_EQ(state["shown"], "MAIN");
  EXPECT_EQ(state["defaultIndex"], 2);  // APP_PAGE, EDIT, MAIN, SLIDE_CMD
}

}  // namespace
}  // namespace keyvane::preview_engine

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "btnfile/cp932.h"
#include "btnfile/key_names.h"
#include "support/recording_platform.h"

// The page sequences in tests/fixtures/page_sequences.json are walked here by the engine and
// in tests/preview by the browser preview: both must end every step on the same page.
namespace keyvane::testing {
namespace {

using Json = nlohmann::json;
using Strings = std::vector<std::string>;

constexpr platform::WindowHandle kEditor = 100;
constexpr platform::ImeContext kEditorContext = 300;

Json Sequences() {
  std::ifstream file(std::string(KEYVANE_SOURCE_DIR) + "/tests/fixtures/page_sequences.json", std::ios::binary);
  return Json::parse(file)["sequences"];
}

std::string SourceFile(const std::string& relative) {
  std::ifstream file(std::string(KEYVANE_SOURCE_DIR) + "/" + relative, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

// "L1".."L7" are slots 0..6, "R1".."R7" slots 7..13.
int SlotOfButton(const std::string& button) {
  const int row = button.at(1) - '1';
  return (button.at(0) == 'L' ? 0 : input::kSlotCount / 2) + row;
}

// A recorded key or mouse event as the fixture writes it: "Ctrl down", "MouseLeftBtn up".
std::string EventName(const std::string& effect) {
  std::istringstream words(effect);
  std::string kind, what, direction;
  words >> kind >> what;
  if (kind == "key") {
    words >> direction;
    return btnfile::KeyCodeText(static_cast<std::uint8_t>(std::stoi(what, nullptr, 16))) + " " + direction;
  }
  const std::size_t dash = what.find('-');
  const std::string button = what.substr(0, dash);
  const std::uint8_t code = button == "left" ? 0x01 : button == "right" ? 0x02 : 0x04;
  return btnfile::KeyCodeText(code) + " " + what.substr(dash + 1);
}

class PageWalk {
 public:
  explicit PageWalk(const std::string& buttonFile) {
    world.windows[kEditor] = FakeWindow{.title = "Untitled - Notepad", .thread = 7, .imeContext = kEditorContext};
    world.foreground = kEditor;
    world.focus = kEditor;
    started = std::make_unique<StartedKeyboard>(world, buttonFile);
    Tick();  // the tracker finds the editor's input method before the first press
  }

  void Do(const std::string& action, int slot) {
    world.effects.clear();
    const platform::Point at = SlotCenter(world, slot);
    if (action == "click") {
      ASSERT_TRUE(LeftClick(keyboard(), at));
    } else if (action == "right-click") {
      keyboard().OnPanelTap(input::MouseMessage::RightDown, at);
      keyboard().OnPanelTap(input::MouseMessage::RightUp, at);
    } else if (action == "hold") {
      keyboard().OnPanelTap(input::MouseMessage::RightDown, at);
      world.cursor = at;
      for (int i = 0; i < 6; ++i) Tick();
      keyboard().OnPanelTap(input::MouseMessage::RightUp, at);
    } else {
      FAIL() << "unknown action " << action;
    }
    for (const std::string& effect : world.EffectsOf({"ime-open"})) imeOpen = effect.ends_with(" on");
  }

  void Check(const Json& expect) {
    const input::PageState& pages = keyboard().pages();
    EXPECT_EQ(cp932::ToUtf8(pages.shownMap), expect.at("page").get<std::string>()) << "page shown";
    EXPECT_EQ(cp932::ToUtf8(pages.defaultMap), expect.at("default").get<std::string>()) << "default page";
    if (expect.contains("ime")) {
      ASSERT_TRUE(imeOpen.has_value()) << "no switch has set the input method yet";
      EXPECT_EQ(*imeOpen ? "open" : "closed", expect["ime"].get<std::string>()) << "input method";
    }
    if (expect.contains("keys")) {
      Strings sent;
      for (const std::string& effect : world.EffectsOf({"key", "mouse"})) sent.push_back(EventName(effect));
      EXPECT_EQ(sent, expect["keys"].get<Strings>()) << "keys sent";
    }
    if (expect.contains("captions")) {
      EXPECT_EQ(Captions(platform::PanelSide::Left), expect["captions"]["left"].get<Strings>()) << "left panel";
      EXPECT_EQ(Captions(platform::PanelSide::Right), expect["captions"]["right"].get<Strings>()) << "right panel";
    }
  }

 private:
  app::Keyboard& keyboard() { return started->keyboard; }
  void Tick() {
    world.tick += 100;
    keyboard().OnTimerTick();
  }
  Strings Captions(platform::PanelSide side) {
    Strings captions;
    for (const std::string& caption : world.panel(side).captions) captions.push_back(cp932::ToUtf8(caption));
    return captions;
  }

  RecordingPlatform world;
  std::unique_ptr<StartedKeyboard> started;
  std::optional<bool> imeOpen;
};

TEST(PageSequences, EveryStepEndsWhereTheSharedFixtureSays) {
  const Json sequences = Sequences();
  ASSERT_FALSE(sequences.empty());
  for (const Json& sequence : sequences) {
    SCOPED_TRACE("sequence " + sequence["name"].get<std::string>());
    const std::string buttonFile = SourceFile(sequence["file"].get<std::string>());
    ASSERT_FALSE(buttonFile.empty()) << sequence["file"];
    PageWalk walk(buttonFile);
    walk.Check(sequence["start"]);
    int number = 0;
    for (const Json& step : sequence["steps"]) {
      SCOPED_TRACE("step " + std::to_string(++number) + " (" + step["do"].get<std::string>() + " " +
                   step["button"].get<std::string>() + "): " + step["note"].get<std::string>());
      walk.Do(step["do"], SlotOfButton(step["button"]));
      walk.Check(step["expect"]);
    }
  }
}

}  // namespace
}  // namespace keyvane::testing

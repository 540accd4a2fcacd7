#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/keyboard.h"
#include "input/panel_mouse_hook.h"
#include "preview_engine/preview_platform.h"

namespace keyvane::preview_engine {

// Keyvane's own keyboard, started as the program starts, on the preview's handheld. The page
// hands it the reader's pointer, the timer's ticks and the program chosen in front, and draws
// what it answers; every rule is the keyboard's.
class PreviewEngine {
 public:
  // Loads the button file's bytes as keyvane.exe loads dovaD.BTN, creates the panels and runs
  // the first tick, which finds the program in front.
  explicit PreviewEngine(std::string buttonFile);

  // A mouse message at a point of the handheld's screen; true when the keyboard took it.
  bool Mouse(input::MouseMessage message, platform::Point at, std::uint32_t now);
  // The 100 ms timer; the cursor is none while the pointer is off the screen.
  void Tick(std::uint32_t now, std::optional<platform::Point> cursor);
  // Another program comes to the front: one of the file's program table (by its place in the
  // table) or, for any other index, a program without a line. Its tick runs at once.
  void ProgramInFront(int index, std::uint32_t now, std::optional<platform::Point> cursor);
  // The file's map at that place in the table (as the checker lists them), shown once.
  void ShowPage(int index);
  // The slot under a point, or none.
  std::optional<int> SlotAt(platform::Point at);

  // UTF-8 JSON: the pages, the input method, the panels, the tab that stands for them while
  // MINIMAM made them small (null otherwise), each slot's button, and what
  // happened since the last call: {"key": "Ctrl down"} for each key or mouse-button event and
  // {"shows": "MAP", "ime": "open"} for each switch of the map shown, in order.
  std::string TakeState();

 private:
  // One more event for the page, after those not yet taken.
  void AddEvent(const std::string& json);

  // What the platform's call backs write comes before the keyboard, so that it outlives the keys
  // the keyboard lets up as it ends.
  std::string events_;  // JSON objects, comma-separated
  std::optional<bool> imeOpen_;
  PreviewPlatform platform_;
  app::Keyboard keyboard_;
};

}  // namespace keyvane::preview_engine

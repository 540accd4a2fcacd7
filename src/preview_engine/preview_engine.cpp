#include "preview_engine/preview_engine.h"

#include <array>
#include <cstdio>
#include <iterator>

#include "btnfile/button_def.h"
#include "btnfile/cp932.h"
#include "btnfile/special_names.h"
#include "input/map_switcher.h"
#include "input/slots.h"

namespace keyvane::preview_engine {

namespace {

// A code page 932 text as a JSON string.
std::string JsonText(std::string_view cp932Text) {
  std::string out = "\"";
  for (const char c : cp932::ToUtf8(cp932Text)) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string JsonRect(const platform::Rect& r) {
  return "{\"left\":" + std::to_string(r.left) + ",\"top\":" + std::to_string(r.top) +
         ",\"width\":" + std::to_string(r.width) + ",\"height\":" + std::to_string(r.height) + "}";
}

// What the map shown is to the reader: a map of the file, the alias standing for itself (the
// first map's buttons show as its own), or a name no map has (the first map fills in).
// A map's place in the table (the checker lists the maps in the same order), -1 for none.
int IndexOf(const btnfile::MapTable& table, std::string_view name) {
  const auto it = table.find(name);
  return it == table.end() ? -1 : static_cast<int>(std::distance(table.begin(), it));
}

const char* ShownKind(const btnfile::MapTable& table, std::string_view shown) {
  if (shown == btnfile::kDefaultMapAlias) return "alias";
  return btnfile::FindMap(table, shown) != nullptr ? "map" : "missing";
}

}  // namespace

void PreviewEngine::AddEvent(const std::string& json) {
  if (!events_.empty()) events_ += ',';
  events_ += json;
}

PreviewEngine::PreviewEngine(std::string buttonFile)
    : platform_(std::move(buttonFile)), keyboard_(platform_.Services()) {
  platform_.onKeyEvent = [this](const std::string& event) { AddEvent("{\"key\":" + JsonText(event) + "}"); };
  platform_.onInputMethod = [this](bool open, bool switched) {
    imeOpen_ = open;
    // Setting a new target's input method to the map shown changes no page.
    if (!switched) return;
    AddEvent("{\"shows\":" + JsonText(keyboard_.pages().shownMap) + ",\"ime\":\"" + (open ? "open" : "closed") + "\"}");
  };
  platform_.onStartProgram = [this](const std::string& program) { AddEvent("{\"starts\":" + JsonText(program) + "}"); };
  keyboard_.LoadButtons();
  keyboard_.TakeTarget();
  keyboard_.OnLeftPanelCreated();
  keyboard_.OnRightPanelCreated();
  keyboard_.OnStartedUp();
  Tick(0, std::nullopt);
  events_.clear();
}

bool PreviewEngine::Mouse(input::MouseMessage message, platform::Point at, std::uint32_t now) {
  platform_.SetTime(now);
  platform_.SetCursor(at);
  // A touch on the panels: the low-level hook hands it to the rules.
  return keyboard_.OnPanelTap(message, at) == input::HookAction::Consume;
}

void PreviewEngine::Tick(std::uint32_t now, std::optional<platform::Point> cursor) {
  platform_.SetTime(now);
  platform_.SetCursor(cursor);
  if (platform_.TakeKeyReleaseDue()) keyboard_.OnKeyHoldOver();
  if (platform_.TakeKeyRepeatDue()) keyboard_.OnKeyRepeatDue();
  keyboard_.OnTimerTick();
}

void PreviewEngine::ProgramInFront(int index, std::uint32_t now, std::optional<platform::Point> cursor) {
  const btnfile::ProgramPageTable& table = keyboard_.loaded().maps.programPages;
  const bool listed = index >= 0 && static_cast<std::size_t>(index) < table.size();
  platform_.BringProgramToFront(listed ? std::optional(table[static_cast<std::size_t>(index)].program) : std::nullopt);
  Tick(now, cursor);
}

void PreviewEngine::ShowPage(int index) {
  const btnfile::MapTable& table = keyboard_.loaded().maps.table;
  if (index < 0 || static_cast<std::size_t>(index) >= table.size()) return;
  keyboard_.ShowPage(std::next(table.begin(), index)->first);
}

std::optional<int> PreviewEngine::SlotAt(platform::Point at) {
  // Panels made small are hidden: only their tab is there.
  if (platform_.tab()) return std::nullopt;
  return input::HitTestSlot(keyboard_.slots(), platform_, at);
}

std::string PreviewEngine::TakeState() {
  const input::PageState& pages = keyboard_.pages();
  const btnfile::MapTable& table = keyboard_.loaded().maps.table;
  // A button is marked when its definition is not the own one of the map shown, but the
  // first map's; the alias standing for itself shows the first map as its own.
  const btnfile::ButtonMap* own =
      btnfile::FindMap(table, pages.shownMap == btnfile::kDefaultMapAlias ? pages.fallbackMap : pages.shownMap);
  std::array<bool, input::kSlotCount> filled{};
  for (int position = 0; position < btnfile::kShownPositions; ++position) {
    const int slot = input::SlotForPosition(position);
    const btnfile::ButtonDef* def = keyboard_.slots().DefinitionOf(slot);
    const auto* ownDef = own != nullptr ? &own->positions[static_cast<std::size_t>(position)] : nullptr;
    filled[static_cast<std::size_t>(slot)] = def != nullptr && (ownDef == nullptr || !*ownDef || &**ownDef != def);
  }
  std::string slots;
  for (int slot = 0; slot < input::kSlotCount; ++slot) {
    const btnfile::ButtonDef* def = keyboard_.slots().DefinitionOf(slot);
    const input::SlotButton button = input::ButtonOfSlot(slot);
    slots += std::string(slot == 0 ? "" : ",") + "{\"panel\":" + std::to_string(static_cast<int>(button.panel)) +
             ",\"row\":" + std::to_string(button.row) +
             ",\"bounds\":" + JsonRect(platform_.ButtonBounds(button.panel, button.row)) +
             ",\"caption\":" + JsonText(platform_.Caption(button.panel, button.row)) +
             ",\"kind\":" + JsonText(def != nullptr ? btnfile::ActionKindName(def->kind) : "") +
             ",\"action\":" + JsonText(def != nullptr ? btnfile::ActionText(*def) : "") +
             ",\"filled\":" + (filled[static_cast<std::size_t>(slot)] ? "true" : "false") +
             ",\"held\":" + (platform_.Held(button.panel, button.row) ? "true" : "false") +
             // Told only of a button that repeats while held: the state of any other stays as it was.
             (def != nullptr && def->repeat ? ",\"repeats\":true" : "") + "}";
  }
  const char* ime = !imeOpen_ ? "unknown" : *imeOpen_ ? "open" : "closed";
  const std::optional<PreviewPlatform::Tab>& tab = platform_.tab();
  const std::string tabState =
      tab ? "{\"bounds\":" + JsonRect(tab->bounds) + ",\"caption\":" + JsonText(tab->caption) + "}" : "null";
  std::string state = "{\"shown\":" + JsonText(pages.shownMap) + ",\"shownIs\":\"" + ShownKind(table, pages.shownMap) +
                      "\",\"shownIndex\":" + std::to_string(IndexOf(table, pages.shownMap)) +
                      ",\"default\":" + JsonText(pages.defaultMap) +
                      ",\"defaultIndex\":" + std::to_string(IndexOf(table, pages.defaultMap)) +
                      ",\"firstMap\":" + JsonText(pages.fallbackMap) + ",\"ime\":\"" + ime + "\",\"panels\":[" +
                      JsonRect(platform_.PanelBounds(platform::PanelSide::Left)) + "," +
                      JsonRect(platform_.PanelBounds(platform::PanelSide::Right)) + "],\"tab\":" + tabState +
                      ",\"slots\":[" + slots + "],\"events\":[" + events_ + "]}";
  events_.clear();
  return state;
}

}  // namespace keyvane::preview_engine

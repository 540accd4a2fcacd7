#include "checker/plain_report.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "btnfile/cp932.h"
#include "btnfile/file_encoding.h"
#include "btnfile/key_names.h"
#include "btnfile/special_names.h"
#include "input/map_switcher.h"

namespace keyvane::checker {
namespace {

using btnfile::ActionKind;
using btnfile::ButtonDef;
using btnfile::ButtonMap;

constexpr int kRows = btnfile::kShownPositions / 2;

bool IsWide(char32_t c) {
  return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) || (c >= 0x3041 && c <= 0x33FF) ||
         (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
         (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) ||
         (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6);
}

// One button as a panel shows it, in UTF-8: a blank caption and no action for NONE.
struct Cell {
  std::string mark;  // "*" when the definition comes from the first map
  std::string caption;
  std::string action;
};

Cell MakeCell(const ButtonDef* def, bool fromFirstMap) {
  Cell cell{fromFirstMap ? "*" : " ", "", ""};
  if (def != nullptr && def->kind != ActionKind::NONE) {
    cell.caption = cp932::ToUtf8(def->caption);
    cell.action = cp932::ToUtf8(btnfile::ActionText(*def));
  }
  return cell;
}

struct PanelColumns {
  std::size_t caption = 0;
  std::size_t action = 0;
};

constexpr std::string_view kLeftTitle = "left panel";

// The columns of one panel: captions, then actions, and at least as wide as the title.
std::size_t PanelWidth(const PanelColumns& widths) {
  return std::max(widths.caption + 2 + 1 + widths.action, kLeftTitle.size());
}

std::string CellText(const Cell& cell, const PanelColumns& widths) {
  return cell.mark +
         PadToWidth(PadToWidth("[" + cell.caption + "]", widths.caption + 2) + " " + cell.action, PanelWidth(widths));
}

std::string TrimRight(std::string line) {
  line.erase(line.find_last_not_of(' ') + 1);
  return line + "\n";
}

std::string MapLayout(const std::string& name, const ButtonMap& map, const btnfile::BuiltMaps& maps) {
  // What the keyboard binds when it shows this map, by its own lookup.
  const input::PageState pages{name, maps.defaultMapName, maps.fallbackMapName};
  std::array<Cell, btnfile::kShownPositions> cells;
  for (int i = 0; i < btnfile::kShownPositions; ++i) {
    const ButtonDef* def = input::LookupSlot(maps.table, pages, name, i);
    cells[i] = MakeCell(def, def != nullptr && !(map.positions[i] && &*map.positions[i] == def));
  }
  std::array<PanelColumns, 2> widths;
  for (int i = 0; i < btnfile::kShownPositions; ++i) {
    widths[i % 2].caption = std::max(widths[i % 2].caption, DisplayWidth(cells[i].caption));
    widths[i % 2].action = std::max(widths[i % 2].action, DisplayWidth(cells[i].action));
  }
  std::string text = "\n#" + cp932::ToUtf8(name) + "  (line " + std::to_string(map.headerLine);
  for (const std::string& note : MapNotes(name, maps)) text += "; " + note;
  text += ")\n";
  text += "       " + PadToWidth(std::string(kLeftTitle), PanelWidth(widths[0])) + "    right panel\n";
  for (int row = 0; row < kRows; ++row) {
    text += TrimRight("  " + std::to_string(row + 1) + "   " + CellText(cells[2 * row], widths[0]) + "   " +
                      CellText(cells[2 * row + 1], widths[1]));
  }
  for (int i = btnfile::kShownPositions; i < btnfile::kPositionCount; ++i) {
    if (!map.positions[i]) continue;
    const Cell cell = MakeCell(&*map.positions[i], false);
    // A KEYWAIT line speaks for its map from any position.
    const bool speaksForMap = map.positions[i]->kind == ActionKind::KEYWAIT;
    std::string line = "  definition line ";
    line += std::to_string(i + 1) + (speaksForMap ? ", not shown:  [" : ", never shown or run:  [") + cell.caption +
            "] " + cell.action;
    text += TrimRight(std::move(line));
  }
  return text;
}

// The program table in place of a panel layout: its lines are no buttons.
std::string ProgramPagesText(const btnfile::ButtonMap& map, const btnfile::BuiltMaps& maps) {
  std::string text = "\n#" + std::string(btnfile::kAppPageMap) + "  (line " + std::to_string(map.headerLine) +
                     "; the page each program brings when it comes to the front)\n";
  if (maps.programPages.empty()) return text + "  no program has a page\n";
  std::size_t width = 0;
  for (const btnfile::ProgramPage& page : maps.programPages) {
    width = std::max(width, DisplayWidth(cp932::ToUtf8(page.program)));
  }
  for (const btnfile::ProgramPage& page : maps.programPages) {
    text += "  line " + PadToWidth(std::to_string(page.line), 5) + PadToWidth(cp932::ToUtf8(page.program), width) +
            "  BASE " + cp932::ToUtf8(page.map) + "\n";
  }
  return text + "  any other program: the default page from before the first switch by program comes back\n";
}

// The repeat table in place of a panel layout: its lines are no buttons.
std::string KeyRepeatsText(const btnfile::ButtonMap& map, const btnfile::BuiltMaps& maps) {
  std::string text = "\n#" + std::string(btnfile::kKeyRepeatMap) + "  (line " + std::to_string(map.headerLine) +
                     "; the KEY buttons of these keys repeat while held)\n";
  if (maps.keyRepeats.empty()) return text + "  no keys repeat\n";
  for (const btnfile::KeyRepeatLine& line : maps.keyRepeats) {
    text += "  line " + PadToWidth(std::to_string(line.line), 5) + btnfile::KeySequenceText(line.keys) + ": after " +
            std::to_string(line.timing.delayMilliseconds) + " ms, " + std::to_string(line.timing.perSecond) +
            " a second\n";
  }
  return text;
}

std::string EncodingLine(btnfile::FileEncoding encoding) {
  std::string note = EncodingNote(encoding);
  return note.empty() ? note : note + "\n";
}

std::string Summary(const CheckResult& result, std::string_view fileName) {
  const btnfile::BuiltMaps& maps = result.loaded.maps;
  const std::size_t count = maps.table.size();
  std::string text = std::string(fileName) + ": " + std::to_string(count) + (count == 1 ? " map" : " maps");
  if (maps.defaultMapName.empty()) {
    return text + ", no first map: every button is blank.\n" + EncodingLine(result.loaded.encoding);
  }
  text += "; the panels start with map " + cp932::ToUtf8(maps.defaultMapName) + ".\n";
  text += EncodingLine(result.loaded.encoding);
  text += "A button marked * is not defined in its map and comes from the first map, " +
          cp932::ToUtf8(maps.fallbackMapName) + ".\n";
  return text;
}

std::string DiagnosticsText(const std::vector<btnfile::Diagnostic>& diagnostics, std::string_view fileName) {
  if (diagnostics.empty()) return "\nNo problems found.\n";
  const std::size_t count = diagnostics.size();
  std::string text = "\n";
  text += std::to_string(count) + (count == 1 ? " problem:\n" : " problems:\n");
  for (const btnfile::Diagnostic& d : diagnostics) {
    const std::string where = d.line == 0 ? std::string(fileName) : "line " + std::to_string(d.line);
    text += "  " + where + ": " + cp932::ToUtf8(d.message) + "\n";
  }
  return text;
}

}  // namespace

std::vector<std::string> MapNotes(std::string_view name, const btnfile::BuiltMaps& maps) {
  std::vector<std::string> notes;
  if (name == maps.fallbackMapName) notes.emplace_back("the first map: the panels start here");
  if (name.starts_with(btnfile::kJapaneseMapPrefix)) {
    notes.emplace_back("Japanese input: switching here opens the input method");
  }
  if (name == btnfile::kRightButtonPageMap) notes.emplace_back("the right-click page cycle");
  if (name == btnfile::kSlideCommandMap) notes.emplace_back("run by a long right-button hold");
  if (name == btnfile::kAppPageMap) notes.emplace_back("the program table: each program in front brings its page");
  if (name == btnfile::kKeyRepeatMap)
    notes.emplace_back("the repeat table: the KEY buttons of its keys repeat while held");
  const std::uint32_t hold = btnfile::KeyHoldOf(maps.table, name, maps.fallbackMapName);
  if (hold != btnfile::kDefaultKeyHoldMilliseconds) {
    const btnfile::ButtonMap* own = btnfile::FindMap(maps.table, name);
    notes.push_back("keys stay down " + std::to_string(hold) + " ms" +
                    (own != nullptr && btnfile::OwnKeyHold(*own) ? "" : ", as on the first map"));
  }
  return notes;
}

std::string EncodingNote(btnfile::FileEncoding encoding) {
  if (encoding == btnfile::FileEncoding::Cp932) return {};
  return "The file is " + std::string(btnfile::EncodingName(encoding)) +
         "; the keyboard reads it converted to code page 932.";
}

std::size_t DisplayWidth(std::string_view utf8) {
  std::size_t width = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    const std::size_t length = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
    char32_t c = length == 1 ? b : b & (0x3F >> (length - 1));
    for (std::size_t k = 1; k < length && i + k < utf8.size(); ++k) {
      c = c << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    }
    width += IsWide(c) ? 2 : 1;
    i += length;
  }
  return width;
}

std::string PadToWidth(std::string text, std::size_t width) {
  const std::size_t current = DisplayWidth(text);
  if (current < width) text.append(width - current, ' ');
  return text;
}

std::string PlainReport(const CheckResult& result, std::string_view fileName) {
  const btnfile::BuiltMaps& maps = result.loaded.maps;
  std::string text = Summary(result, fileName);
  for (const auto& [name, map] : maps.table) {
    text += name == btnfile::kAppPageMap     ? ProgramPagesText(map, maps)
            : name == btnfile::kKeyRepeatMap ? KeyRepeatsText(map, maps)
                                             : MapLayout(name, map, maps);
  }
  return text + DiagnosticsText(result.diagnostics, fileName);
}

}  // namespace keyvane::checker

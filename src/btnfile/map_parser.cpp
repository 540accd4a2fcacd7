#include "btnfile/map_parser.h"

#include <vector>

#include "btnfile/cp932.h"
#include "btnfile/split_words.h"
#include "input/key_names.h"
#include "trace/trace_texts.h"

namespace keyvane::btnfile {

const ButtonMap* FindMap(const MapTable& table, std::string_view name) {
  const auto it = table.find(name);
  return it == table.end() ? nullptr : &it->second;
}

std::string MakeCaption(std::string_view word) {
  std::string text = word == "?SHP" ? std::string("#") : std::string(word);
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    // Walk by characters so the trail byte of a double-byte character never pairs.
    for (std::size_t p = 0; p + 1 < text.size(); p += cp932::CharLength(text, p)) {
      if (text[p] == letter && text[p + 1] == letter) text.replace(p, 2, 1, static_cast<char>(letter - 'A' + 'a'));
    }
  }
  if (text == "\x81\x95") text = "&";  // a lone full-width ampersand
  return cp932::ToHalfWidth(text);
}

namespace {

std::string Unquote(std::string_view program) {
  if (!program.empty() && program.front() == '"') program.remove_prefix(1);
  if (!program.empty() && program.back() == '"') program.remove_suffix(1);
  return std::string(program);
}

void SetKeyField(ButtonDef& def, std::string_view field) {
  const input::KeyFieldResult parsed = input::ParseKeyField(field);
  if (parsed.ok()) {
    def.keys = parsed.keys;
  } else {
    def.kind = ActionKind::NONE;
  }
}

}  // namespace

ButtonDef ParseButtonLine(std::string_view line) {
  ButtonDef def;
  const std::vector<std::string> w = SplitWords(line, ' ');
  const std::size_t n = w.size();
  if (n == 0) return def;  // an empty kept line: blank button, no action
  if (w[0] != "DUMMY") def.caption = MakeCaption(w[0]);
  const std::string none;
  const std::string& w2 = n >= 2 ? w[1] : none;
  if (w2 == "JP" && n == 3) {
    def.kind = ActionKind::JP;
    def.target = w[2];
  } else if (w2 == "KEY" && n == 3) {
    def.kind = ActionKind::KEY;
    SetKeyField(def, w[2]);
  } else if (w2 == "REKEY") {
    def.kind = ActionKind::REKEY;
  } else if (w2 == "KEYTOG" && n == 3) {
    def.kind = ActionKind::KEYTOG;
    SetKeyField(def, w[2]);
  } else if (w2 == "BASE" && n == 3) {
    def.kind = ActionKind::BASE;
    def.target = w[2];
  } else if (w2 == "EXEC" && n >= 3) {
    def.kind = ActionKind::EXEC;
    def.target = Unquote(w[2]);
  } else if (w[0] == "MINIMAM") {
    def.kind = ActionKind::MINIMAM;
  } else if (w[0] == "MENUPOP") {
    def.kind = ActionKind::MENUPOP;
  } else if (w[0] == "KEYWAIT" && n == 2) {
    def.kind = ActionKind::KEYWAIT;  // never pressed; its key field stays empty
  }
  return def;
}

void ParseMap(const LineStore& lines, std::size_t& index, ButtonMap& map) {
  map.positions.fill(std::nullopt);
  std::size_t k = index + 1;
  for (int j = 0; k < lines.size() && !lines.texts[k].starts_with('#') && j < kPositionCount; ++j, ++k) {
    map.positions[j] = ParseButtonLine(lines.texts[k]);
  }
  index = k - 1;
}

BuiltMaps BuildMapTable(const LineStore& lines, trace::TraceLog& log) {
  BuiltMaps built;
  log.Write(trace::text::kReadHeading);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines.texts[i];
    log.Write(line + "\n");
    if (!line.starts_with('#')) continue;
    std::string name = line.substr(1);
    if (built.defaultMapName.empty()) {
      built.defaultMapName = name;
      built.fallbackMapName = name;
    }
    log.Write(trace::text::kMapNamePrefix + name + "\n");
    ButtonMap map;
    ParseMap(lines, i, map);
    built.table[std::move(name)].positions = std::move(map.positions);
  }
  return built;
}

}  // namespace keyvane::btnfile

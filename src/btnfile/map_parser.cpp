#include "btnfile/map_parser.h"

#include <vector>

#include "btnfile/cp932.h"
#include "btnfile/key_names.h"
#include "btnfile/split_words.h"
#include "trace/trace_texts.h"

namespace keyvane::btnfile {

const ButtonMap* FindMap(const MapTable& table, std::string_view name) {
  const auto it = table.find(name);
  return it == table.end() ? nullptr : &it->second;
}

std::string MakeCaption(std::string_view word) {
  if (word == "?SHP") word = "#";
  std::string text;
  text.reserve(word.size());
  // One walk by characters, so the trail byte of a double-byte character never pairs. Letter
  // by letter, A to Z, would give the same: a pair becomes a small letter, which never pairs
  // again, and the other characters keep their neighbours.
  for (std::size_t p = 0; p < word.size();) {
    const char c = word[p];
    if (c >= 'A' && c <= 'Z' && p + 1 < word.size() && word[p + 1] == c) {
      text.push_back(static_cast<char>(c - 'A' + 'a'));
      p += 2;
    } else {
      const std::size_t n = cp932::CharLength(word, p);
      text.append(word.substr(p, n));
      p += n;
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
  const KeyFieldResult parsed = ParseKeyField(field);
  if (parsed.ok()) {
    def.keys = parsed.keys;
  } else {
    def.kind = ActionKind::NONE;
  }
}

}  // namespace

ButtonDef ParseButtonLine(std::string_view line) {
  ButtonDef def;
  const LeadingWords scan = ScanWords(line, ' ');
  const auto& w = scan.words;
  const std::size_t n = scan.count;
  if (n == 0) return def;  // an empty kept line: blank button, no action
  if (w[0] != "DUMMY") def.caption = MakeCaption(w[0]);
  const std::string_view w2 = w[1];
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

std::size_t MapEnd(const LineStore& lines, std::size_t index) {
  std::size_t k = index + 1;
  for (int j = 0; k < lines.size() && !lines.texts[k].starts_with('#') && j < kPositionCount; ++j) ++k;
  return k;
}

void ParseMap(const LineStore& lines, std::size_t& index, ButtonMap& map) {
  map.positions.fill(std::nullopt);
  const std::size_t end = MapEnd(lines, index);
  for (std::size_t k = index + 1; k < end; ++k) map.positions[k - index - 1] = ParseButtonLine(lines.texts[k]);
  index = end - 1;
}

BuiltMaps BuildMapTable(const LineStore& lines, trace::TraceLog& log) {
  BuiltMaps built;
  log.Write(trace::text::kReadHeading);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines.texts[i];
    log.Write({line, "\n"});
    if (!line.starts_with('#')) continue;
    std::string name = line.substr(1);
    if (built.defaultMapName.empty()) {
      built.defaultMapName = name;
      built.fallbackMapName = name;
    }
    log.Write({trace::text::kMapNamePrefix, name, "\n"});
    ParseMap(lines, i, built.table[std::move(name)]);  // replaces a map of that name as a whole
  }
  return built;
}

}  // namespace keyvane::btnfile

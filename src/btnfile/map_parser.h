#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "btnfile/button_def.h"
#include "btnfile/findings.h"
#include "btnfile/line_store.h"
#include "btnfile/map_table.h"
#include "trace/trace_log.h"

namespace keyvane::btnfile {

// The caption a first word shows: ?SHP is "#", equal capital pairs become one lower-case
// letter, a lone full-width ampersand becomes "&", full-width forms become half-width.
std::string MakeCaption(std::string_view word);

// One form a definition line can take: its command word, where that word stands, how many
// words the line must have, and what the third word is.
struct LineForm {
  enum class Place { First, Second };  // the command word is the first word, or follows the caption
  enum class Field { None, Keys, Map, Program };
  static constexpr std::size_t kNoLimit = static_cast<std::size_t>(-1);
  std::string_view word;
  Place place;
  std::size_t minWords;
  std::size_t maxWords;
  ActionKind kind;
  Field field;
  std::string_view shape;  // the words of the form, for messages: "caption KEY keys"
};

// The forms in the order they are tried: the first whose word and word count fit gives the
// definition, even when its key field then fails.
std::span<const LineForm> LineForms();

// Parses one kept line into a definition. An empty line is a NONE definition.
ButtonDef ParseButtonLine(std::string_view line);

struct BuiltMaps {
  MapTable table;
  std::string defaultMapName;   // the first map with a non-empty name
  std::string fallbackMapName;  // the same map; its definitions fill empty positions
};

// Walks the stored lines once, tracing headers and lines outside maps. `findings`, when
// given, receives in line order what the walk ignores or falls back on.
BuiltMaps BuildMapTable(const LineStore& lines, trace::TraceLog& log, std::vector<Finding>* findings = nullptr);

}  // namespace keyvane::btnfile

#pragma once

#include <string>
#include <string_view>

#include "btnfile/button_def.h"
#include "btnfile/line_store.h"
#include "btnfile/map_table.h"
#include "trace/trace_log.h"

namespace keyvane::btnfile {

// The caption a first word shows: ?SHP is "#", equal capital pairs become one lower-case
// letter, a lone full-width ampersand becomes "&", full-width forms become half-width.
std::string MakeCaption(std::string_view word);

// Parses one kept line into a definition. An empty line is a NONE definition.
ButtonDef ParseButtonLine(std::string_view line);

// Fills `map` from the lines after the header at `index`; leaves `index` on the last line consumed.
void ParseMap(const LineStore& lines, std::size_t& index, ButtonMap& map);
// One past the last line that ParseMap consumes for the header at `index`.
std::size_t MapEnd(const LineStore& lines, std::size_t index);

struct BuiltMaps {
  MapTable table;
  std::string defaultMapName;   // the first map with a non-empty name
  std::string fallbackMapName;  // the same map; its definitions fill empty positions
};

// Walks the stored lines once, tracing headers and lines outside maps.
BuiltMaps BuildMapTable(const LineStore& lines, trace::TraceLog& log);

}  // namespace keyvane::btnfile

#pragma once

#include <string>
#include <string_view>

#include "btnfile/map_parser.h"

namespace keyvane::testing {

// One kept definition line as the map walk parses it: the first position of a map of its own.
// An empty line is a NONE definition.
inline btnfile::ButtonDef ParsedDefinition(std::string_view line) {
  btnfile::LineStore lines;
  lines.Add("#T", "#T", 1);
  lines.Add(std::string(line), std::string(line), 2);
  return *btnfile::BuildMapTable(lines).table.at("T").positions[0];
}

}  // namespace keyvane::testing

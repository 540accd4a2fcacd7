#pragma once

#include <string>
#include <string_view>

#include "btnfile/button_def.h"

namespace keyvane::input {

// Stands for the default map. Mixed case, so no name read from the button file can equal it.
inline constexpr std::string_view kDefaultMapAlias = "***DefaultMap***";

struct MapNames {
  std::string nowMap;           // the map now shown, alias resolved one level
  std::string defaultMapName;   // what the alias stands for
  std::string fallbackMapName;  // the file's first map; fills every map's empty positions
};

// The alias becomes the default map's name; any other name is returned as it is.
std::string ResolveMapName(const MapNames& names, std::string_view name);

// The definition a map shows at a position (0 to 13), with the alias and the fallback
// map applied; nullptr when neither the map nor the fallback map has one.
const btnfile::ButtonDef* LookupSlot(const btnfile::MapTable& table, const MapNames& names, std::string_view name,
                                     int position);

}  // namespace keyvane::input

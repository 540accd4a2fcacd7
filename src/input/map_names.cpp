#include "input/map_names.h"

namespace keyvane::input {

std::string ResolveMapName(const MapNames& names, std::string_view name) {
  if (name == kDefaultMapAlias) return names.defaultMapName;
  return std::string(name);
}

namespace {

const btnfile::ButtonDef* DefinitionAt(const btnfile::MapTable& table, std::string_view name, int position) {
  const btnfile::ButtonMap* map = btnfile::FindMap(table, name);
  if (map == nullptr) return nullptr;
  const auto& slot = map->positions[static_cast<std::size_t>(position)];
  return slot ? &*slot : nullptr;
}

}  // namespace

const btnfile::ButtonDef* LookupSlot(const btnfile::MapTable& table, const MapNames& names, std::string_view name,
                                     int position) {
  if (position < 0 || position >= btnfile::kShownPositions) return nullptr;
  std::string_view resolved = name;
  if (resolved == kDefaultMapAlias) resolved = names.defaultMapName;
  if (resolved == kDefaultMapAlias) resolved = names.fallbackMapName;
  if (const btnfile::ButtonDef* own = DefinitionAt(table, resolved, position)) return own;
  return DefinitionAt(table, names.fallbackMapName, position);
}

}  // namespace keyvane::input

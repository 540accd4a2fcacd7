#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "btnfile/button_def.h"

namespace keyvane::btnfile {

inline constexpr int kPositionCount = 17;  // 14 shown on the panels, 3 kept but never used
inline constexpr int kShownPositions = 14;

// One page of the button file: each position holds zero or one definition.
struct ButtonMap {
  std::array<std::optional<ButtonDef>, kPositionCount> positions;
  int headerLine = 0;  // the file line of the header that made this map

  bool operator==(const ButtonMap&) const = default;
};

// Maps by exact name, in unsigned byte order. A std::map never moves its nodes, so
// references to definitions stay valid while the table is used.
using MapTable = std::map<std::string, ButtonMap, std::less<>>;

// The map of that name, or nullptr.
const ButtonMap* FindMap(const MapTable& table, std::string_view name);

}  // namespace keyvane::btnfile

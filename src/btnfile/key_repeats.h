#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "btnfile/button_def.h"
#include "btnfile/finding.h"

// The map KEY_REPEAT is a table, not a page: each definition line is written
//
//   KEYS [DELAY [RATE]]      e.g. BS, or LEFT 300 40
//
// and makes every KEY button whose key field gives the same keys in the same order repeat
// while it is held, as a key of a real keyboard does: the chord at the press, the last key's
// down again from DELAY milliseconds on (500 when not given), RATE times a second (30), the
// ups at the release. A file without the map repeats nothing.
namespace keyvane::btnfile {

inline constexpr std::uint32_t kShortestRepeatDelay = 100;
inline constexpr std::uint32_t kLongestRepeatDelay = 2000;
inline constexpr std::uint32_t kLowestRepeatRate = 1;
inline constexpr std::uint32_t kHighestRepeatRate = 50;

struct KeyRepeatLine {
  KeySequence keys{};
  KeyRepeatTiming timing;
  int line = 0;  // 1-based line of the file
};

// In file order; the same keys have at most one line, their first.
using KeyRepeatTable = std::vector<KeyRepeatLine>;

// Takes one definition line of KEY_REPEAT into the table, or tells why it is not taken. An
// empty kept line is passed over.
std::optional<Finding> TakeKeyRepeatLine(std::string_view line, int fileLine, KeyRepeatTable& table);

// Gives every KEY definition of the maps whose keys a line of the table names that line's
// timing. Returns a finding for each line whose keys no KEY button sends, in line order.
std::vector<Finding> MarkRepeatingButtons(MapTable& maps, const KeyRepeatTable& repeats);

}  // namespace keyvane::btnfile

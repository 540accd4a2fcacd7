#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/shell.h"

// What a button file becomes once loaded: maps (pages) of up to 17 definitions, each what one
// button shows and does. The keyboard reads only this; btnfile/map_parser.h makes it.
namespace keyvane::btnfile {

// What a press does. Values are part of the file format's vocabulary.
enum class ActionKind : std::int32_t {
  NONE = 0,
  JP = 1,
  KEY = 2,
  KEYTOG = 3,
  EXEC = 4,
  BASE = 5,
  REKEY = 6,
  MINIMAM = 7,
  MENUPOP = 8,
  KEYWAIT = 9,
};

// The kind's command word in the file; the line forms (btnfile/map_parser.h) use it too.
constexpr const char* ActionKindName(ActionKind kind) {
  switch (kind) {
    case ActionKind::NONE: return "NONE";
    case ActionKind::JP: return "JP";
    case ActionKind::KEY: return "KEY";
    case ActionKind::KEYTOG: return "KEYTOG";
    case ActionKind::EXEC: return "EXEC";
    case ActionKind::BASE: return "BASE";
    case ActionKind::REKEY: return "REKEY";
    case ActionKind::MINIMAM: return "MINIMAM";
    case ActionKind::MENUPOP: return "MENUPOP";
    case ActionKind::KEYWAIT: return "KEYWAIT";
  }
  return "NONE";
}

// Up to 100 non-zero virtual-key codes in written order, ended by 0 unless all 100 are used.
inline constexpr std::size_t kKeySequenceSize = 100;
using KeySequence = std::array<std::uint8_t, kKeySequenceSize>;

// Number of codes before the first 0 (100 when full).
std::size_t KeyCount(const KeySequence& keys);

// How a held KEY button repeats: its chord at the press, then, from `delayMilliseconds` on, its
// last key's down `perSecond` times a second until the release.
struct KeyRepeatTiming {
  static constexpr std::uint32_t kDefaultDelayMilliseconds = 500;
  static constexpr std::uint32_t kDefaultPerSecond = 30;
  std::uint32_t delayMilliseconds = kDefaultDelayMilliseconds;
  std::uint32_t perSecond = kDefaultPerSecond;

  bool operator==(const KeyRepeatTiming&) const = default;
};

// One parsed definition line; built once, never changed.
struct ButtonDef {
  std::string caption;
  ActionKind kind = ActionKind::NONE;
  KeySequence keys{};
  std::string target;
  // EXEC: the rest of the line after the program, as written (target holds the program as written).
  std::string arguments;
  // KEYWAIT: how long the keys of its map stay down, in ms; 0 when its word is no whole number
  // from 1 to 1000.
  std::uint32_t holdMilliseconds = 0;
  // KEY: set when the map KEY_REPEAT names its keys (btnfile/key_repeats.h): it repeats while held.
  std::optional<KeyRepeatTiming> repeat;

  bool operator==(const ButtonDef&) const = default;
};

// What a press does, in the words of the file ("KEY Ctrl+C", "JP J_KANA"); kinds the keyboard
// accepts but never runs say so. Empty for NONE. Code page 932, as the target names are.
std::string ActionText(const ButtonDef& def);

// EXEC's program and its arguments as one command line, as the file writes them.
std::string ProgramLine(std::string_view program, std::string_view arguments);

inline constexpr int kPositionCount = 17;                               // 14 shown on the panels, 3 kept but never used
inline constexpr int kShownPositions = 2 * platform::kButtonsPerPanel;  // each button of both panels
static_assert(kShownPositions <= kPositionCount);

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

// How long keys stay down when a map gives no KEYWAIT of its own, nor the first map; and the
// longest a KEYWAIT may ask for.
inline constexpr std::uint32_t kDefaultKeyHoldMilliseconds = 1;
inline constexpr std::uint32_t kLongestKeyHoldMilliseconds = 1000;

// The hold time of a map's own first valid KEYWAIT line, if it has one.
std::optional<std::uint32_t> OwnKeyHold(const ButtonMap& map);

// How long the keys of the named map stay down: its own KEYWAIT, else the first map's, else 1 ms.
std::uint32_t KeyHoldOf(const MapTable& table, std::string_view mapName, std::string_view firstMapName);

}  // namespace keyvane::btnfile

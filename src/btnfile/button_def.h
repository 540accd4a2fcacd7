#pragma once

#include <array>
#include <cstdint>
#include <string>

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

const char* ActionKindName(ActionKind kind);

// Up to 100 non-zero virtual-key codes in written order, ended by 0 unless all 100 are used.
inline constexpr std::size_t kKeySequenceSize = 100;
using KeySequence = std::array<std::uint8_t, kKeySequenceSize>;

// Number of codes before the first 0 (100 when full).
std::size_t KeyCount(const KeySequence& keys);

// One parsed definition line; built once, never changed.
struct ButtonDef {
  std::string caption;
  ActionKind kind = ActionKind::NONE;
  KeySequence keys{};
  std::string target;

  bool operator==(const ButtonDef&) const = default;
};

}  // namespace keyvane::btnfile

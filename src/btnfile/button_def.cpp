#include "btnfile/button_def.h"

#include "btnfile/key_names.h"

namespace keyvane::btnfile {

std::size_t KeyCount(const KeySequence& keys) {
  std::size_t n = 0;
  while (n < keys.size() && keys[n] != 0) ++n;
  return n;
}

std::string ProgramLine(std::string_view program, std::string_view arguments) {
  std::string line(program);
  if (!arguments.empty()) line.append(" ").append(arguments);
  return line;
}

std::string ActionText(const ButtonDef& def) {
  const std::string kind = ActionKindName(def.kind);
  switch (def.kind) {
    case ActionKind::NONE: return "";
    case ActionKind::JP:
    case ActionKind::BASE: return kind + " " + def.target;
    case ActionKind::KEY: {
      if (KeyCount(def.keys) == 0) return "KEY (no keys)";
      const std::string keys = "KEY " + KeySequenceText(def.keys);
      if (!def.repeat) return keys;
      return keys + " (repeats while held: after " + std::to_string(def.repeat->delayMilliseconds) + " ms, " +
             std::to_string(def.repeat->perSecond) + " a second)";
    }
    case ActionKind::REKEY: return kind;
    case ActionKind::KEYTOG: {
      if (KeyCount(def.keys) == 0) return "KEYTOG (no keys)";
      const std::string keys = KeySequenceText(def.keys);
      return "KEYTOG " + keys + " (holds " + keys + " down until pressed again)";
    }
    case ActionKind::EXEC: {
      const std::string line = ProgramLine(def.target, def.arguments);
      return "EXEC " + line + " (starts " + line + ")";
    }
    case ActionKind::MINIMAM: return "MINIMAM (makes the panels a small tab; a tap on it brings them back)";
    case ActionKind::MENUPOP: return "MENUPOP (opens the notification icon's menu beside the button)";
    case ActionKind::KEYWAIT:
      return def.holdMilliseconds == 0
                 ? "KEYWAIT (no valid time: ignored)"
                 : "KEYWAIT " + std::to_string(def.holdMilliseconds) + " (keys of this page stay down " +
                       std::to_string(def.holdMilliseconds) + " ms)";
  }
  return kind;
}

const ButtonMap* FindMap(const MapTable& table, std::string_view name) {
  const auto it = table.find(name);
  return it == table.end() ? nullptr : &it->second;
}

std::optional<std::uint32_t> OwnKeyHold(const ButtonMap& map) {
  for (const std::optional<ButtonDef>& def : map.positions) {
    if (def && def->kind == ActionKind::KEYWAIT && def->holdMilliseconds != 0) return def->holdMilliseconds;
  }
  return std::nullopt;
}

std::uint32_t KeyHoldOf(const MapTable& table, std::string_view mapName, std::string_view firstMapName) {
  for (const std::string_view name : {mapName, firstMapName}) {
    const ButtonMap* map = FindMap(table, name);
    if (map == nullptr) continue;
    if (const std::optional<std::uint32_t> hold = OwnKeyHold(*map)) return *hold;
  }
  return kDefaultKeyHoldMilliseconds;
}

}  // namespace keyvane::btnfile

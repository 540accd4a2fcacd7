#include "btnfile/button_def.h"

#include "btnfile/key_names.h"

namespace keyvane::btnfile {

std::size_t KeyCount(const KeySequence& keys) {
  std::size_t n = 0;
  while (n < keys.size() && keys[n] != 0) ++n;
  return n;
}

std::string ActionText(const ButtonDef& def) {
  const std::string kind = ActionKindName(def.kind);
  switch (def.kind) {
    case ActionKind::NONE: return "";
    case ActionKind::JP:
    case ActionKind::BASE: return kind + " " + def.target;
    case ActionKind::KEY: return KeyCount(def.keys) == 0 ? "KEY (no keys)" : "KEY " + KeySequenceText(def.keys);
    case ActionKind::REKEY: return kind;
    case ActionKind::KEYTOG: return "KEYTOG " + KeySequenceText(def.keys) + " (does nothing)";
    case ActionKind::EXEC: return "EXEC " + def.target + " (does nothing)";
    case ActionKind::MINIMAM:
    case ActionKind::MENUPOP:
    case ActionKind::KEYWAIT: return kind + " (does nothing)";
  }
  return kind;
}

const ButtonMap* FindMap(const MapTable& table, std::string_view name) {
  const auto it = table.find(name);
  return it == table.end() ? nullptr : &it->second;
}

}  // namespace keyvane::btnfile

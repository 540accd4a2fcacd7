#include "btnfile/button_def.h"

namespace keyvane::btnfile {

const char* ActionKindName(ActionKind kind) {
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

std::size_t KeyCount(const KeySequence& keys) {
  std::size_t n = 0;
  while (n < keys.size() && keys[n] != 0) ++n;
  return n;
}

}  // namespace keyvane::btnfile

#include "checker/action_text.h"

#include "checker/key_text.h"

namespace keyvane::checker {

std::string ActionText(const btnfile::ButtonDef& def) {
  using btnfile::ActionKind;
  const std::string kind = btnfile::ActionKindName(def.kind);
  switch (def.kind) {
    case ActionKind::NONE: return "";
    case ActionKind::JP:
    case ActionKind::BASE: return kind + " " + def.target;
    case ActionKind::KEY:
      return btnfile::KeyCount(def.keys) == 0 ? "KEY (no keys)" : "KEY " + KeySequenceText(def.keys);
    case ActionKind::REKEY: return kind;
    case ActionKind::KEYTOG: return "KEYTOG " + KeySequenceText(def.keys) + " (does nothing)";
    case ActionKind::EXEC: return "EXEC " + def.target + " (does nothing)";
    case ActionKind::MINIMAM:
    case ActionKind::MENUPOP:
    case ActionKind::KEYWAIT: return kind + " (does nothing)";
  }
  return kind;
}

}  // namespace keyvane::checker

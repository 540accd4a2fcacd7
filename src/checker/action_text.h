#pragma once

#include <string>

#include "btnfile/button_def.h"

namespace keyvane::checker {

// What a press does, in the words of the file ("KEY Ctrl+C", "JP J_KANA"); kinds the keyboard
// accepts but never runs say so. Empty for NONE. Code page 932, as the target names are.
std::string ActionText(const btnfile::ButtonDef& def);

}  // namespace keyvane::checker

#pragma once

#include <string>

#include "btnfile/button_def.h"

namespace keyvane::checker {

// The keys of a sequence by their file names, joined by "+": 0x11 0x43 is "Ctrl+C".
std::string KeySequenceText(const btnfile::KeySequence& keys);

}  // namespace keyvane::checker

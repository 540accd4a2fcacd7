#pragma once

#include <cstdint>
#include <string>

#include "btnfile/button_def.h"

namespace keyvane::checker {

// One key by its file name: 0x11 is "Ctrl", 0x43 is "C"; a code without a name is "0x07".
std::string KeyCodeText(std::uint8_t code);

// The keys of a sequence by their file names, joined by "+": 0x11 0x43 is "Ctrl+C".
std::string KeySequenceText(const btnfile::KeySequence& keys);

}  // namespace keyvane::checker

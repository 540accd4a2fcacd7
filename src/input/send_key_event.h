#pragma once

#include "btnfile/button_def.h"
#include "platform/input.h"
#include "trace/trace_log.h"

namespace keyvane::input {

enum class SendMode {
  Press = 0,    // every code goes down, in written order
  Release = 1,  // every code comes up, in reverse order
};

// The keys a physical keyboard sends with the extended-key mark.
bool IsExtendedKey(std::uint8_t code);

// The one place synthetic input is made: one event and one trace line per code.
void SendKeyEvent(const btnfile::KeySequence& keys, SendMode mode, platform::Input& input, trace::TraceLog& log);

}  // namespace keyvane::input

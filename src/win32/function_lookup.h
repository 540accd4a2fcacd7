#pragma once

#include <windows.h>

namespace keyvane::win32 {

// A function of a loaded module looked up by name, or nullptr: a function newer than Windows XP
// is never imported, so that the program still starts there.
template <typename Function>
Function FunctionIn(HMODULE module, const char* name) {
  if (module == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace keyvane::win32

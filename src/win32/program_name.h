#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace keyvane::win32 {

// The file name of the program that runs a window ("notepad.exe"), in code page 932; none when
// its process cannot be opened or the name holds a character code page 932 lacks.
std::optional<std::string> ProgramNameOf(HWND window);

}  // namespace keyvane::win32

#pragma once

namespace keyvane::checker {

// The style sheet and the script of the preview page, built into the program.
extern const char* const kPreviewStyle;
extern const char* const kPreviewScript;

}  // namespace keyvane::checker

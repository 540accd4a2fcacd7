#pragma once

// Shared by the resource script and the code.
#define KEYVANE_ICON 1
// Not 1: the loader would apply that manifest to the whole process.
#define KEYVANE_VISUAL_STYLES_MANIFEST 2

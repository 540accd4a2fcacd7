#pragma once

// Shared by the resource script and the code.
#define KEYVANE_ICON 1

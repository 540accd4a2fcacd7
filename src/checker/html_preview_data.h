#pragma once

#include <nlohmann/json.hpp>
#include <string_view>

#include "checker/check_button_file.h"

namespace keyvane::checker {

// The loaded maps as the preview's script walks them. Every text (map names, captions,
// targets) is stored once in "strings" and referred to by its index, so two indexes are
// equal exactly when the bytes are, as the keyboard compares them.
nlohmann::ordered_json PreviewData(const CheckResult& result, std::string_view fileName);

}  // namespace keyvane::checker

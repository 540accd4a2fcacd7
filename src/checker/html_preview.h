#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

#include "checker/check_result.h"

namespace keyvane::checker {

// One self-contained HTML page (UTF-8, inline style and script, nothing fetched) that shows
// the two panels as the keyboard would and lets the reader press through the pages.
std::string HtmlPreview(const CheckResult& result, std::string_view fileName);

// The loaded maps as the page's script walks them. Every text (map names, captions,
// targets) is stored once in "strings" and referred to by its index, so two indexes are
// equal exactly when the bytes are, as the keyboard compares them.
nlohmann::ordered_json PreviewData(const CheckResult& result, std::string_view fileName);

}  // namespace keyvane::checker

#pragma once

#include <string>
#include <string_view>

#include "checker/check_button_file.h"

namespace keyvane::checker {

// One self-contained HTML page (UTF-8, inline style and script, nothing fetched) that shows
// the two panels as the keyboard would and lets the reader press through the pages.
std::string HtmlPreview(const CheckResult& result, std::string_view fileName);

}  // namespace keyvane::checker

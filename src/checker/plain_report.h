#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "btnfile/file_encoding.h"
#include "checker/check_result.h"

namespace keyvane::checker {

// The report for a person, in UTF-8: every map laid out as the two panels show it, then
// the diagnostics. `fileName` is shown as given.
std::string PlainReport(const CheckResult& result, std::string_view fileName);

// What a map is to the keyboard beyond its buttons (the first map, a Japanese-input map, one of
// the special maps), as short English notes; none for an ordinary map.
std::vector<std::string> MapNotes(std::string_view name, const btnfile::BuiltMaps& maps);

// The sentence about a file that is not code page 932, "The file is UTF-8; ...", without a line
// end; empty for code page 932, so that the reports of such a file read as they always have.
std::string EncodingNote(btnfile::FileEncoding encoding);

// Terminal columns of a UTF-8 text: 2 for East Asian wide and full-width characters,
// 1 for everything else (ambiguous ones such as arrows and Greek included, as most
// terminals draw them).
std::size_t DisplayWidth(std::string_view utf8);

// The text followed by blanks up to `width` columns.
std::string PadToWidth(std::string text, std::size_t width);

}  // namespace keyvane::checker

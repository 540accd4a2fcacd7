#pragma once

#include <map>
#include <string>

#include "btnfile/line_store.h"

namespace keyvane::checker {

// The file line of the header that the map table kept for each name: the last one.
std::map<std::string, int> HeaderLines(const btnfile::LineStore& lines);

}  // namespace keyvane::checker

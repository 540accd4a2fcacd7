#include "app/folder_of_path.h"

#include "btnfile/cp932.h"

namespace keyvane::app {

std::string FolderOfPath(std::string_view path) {
  std::size_t end = 0;
  for (std::size_t i = 0; i < path.size(); i += cp932::CharLength(path, i)) {
    if (path[i] == '\\') end = i + 1;
  }
  return std::string(path.substr(0, end));
}

}  // namespace keyvane::app

#include "checker/html_preview_data.h"

#include <map>
#include <string>

#include "btnfile/cp932.h"
#include "btnfile/special_names.h"
#include "checker/action_text.h"
#include "checker/key_text.h"

namespace keyvane::checker {
namespace {

using Json = nlohmann::ordered_json;

// The alias the keyboard uses for the default map; no text of the file can spell it.
constexpr std::string_view kDefaultMapAlias = "***DefaultMap***";

class TextTable {
 public:
  int Id(std::string_view bytes) {
    const auto [it, added] = ids_.try_emplace(std::string(bytes), static_cast<int>(ids_.size()));
    if (added) utf8_.push_back(cp932::ToUtf8(bytes));
    return it->second;
  }
  Json& strings() { return utf8_; }

 private:
  std::map<std::string, int, std::less<>> ids_;
  Json utf8_ = Json::array();
};

Json DefinitionJson(const btnfile::ButtonDef& def, TextTable& texts) {
  Json keys = Json::array();
  for (std::size_t i = 0; i < btnfile::KeyCount(def.keys); ++i) keys.push_back(KeyCodeText(def.keys[i]));
  // The caption is kept even for NONE: the right-click cycle compares it all the same.
  return Json{{"caption", texts.Id(def.caption)},
              {"kind", btnfile::ActionKindName(def.kind)},
              {"target", texts.Id(def.target)},
              {"keys", std::move(keys)},
              {"action", cp932::ToUtf8(ActionText(def))}};
}

}  // namespace

Json PreviewData(const CheckResult& result, std::string_view fileName) {
  const btnfile::BuiltMaps& maps = result.loaded.maps;
  TextTable texts;
  Json data;
  data["file"] = std::string(fileName);
  data["alias"] = texts.Id(kDefaultMapAlias);
  data["firstMap"] = texts.Id(maps.fallbackMapName);
  data["defaultMap"] = texts.Id(maps.defaultMapName);
  data["rightClickMap"] = texts.Id(btnfile::kRightButtonPageMap);
  data["slideMap"] = texts.Id(btnfile::kSlideCommandMap);
  data["maps"] = Json::array();
  for (const auto& [name, map] : maps.table) {
    Json positions = Json::array();
    for (int i = 0; i < btnfile::kShownPositions; ++i) {
      const auto& def = map.positions[static_cast<std::size_t>(i)];
      positions.push_back(def ? DefinitionJson(*def, texts) : Json(nullptr));
    }
    data["maps"].push_back(
        Json{{"name", texts.Id(name)}, {"line", map.headerLine}, {"positions", std::move(positions)}});
  }
  data["strings"] = std::move(texts.strings());
  return data;
}

}  // namespace keyvane::checker

#include "checker/json_report.h"

#include <nlohmann/json.hpp>

#include "btnfile/cp932.h"

namespace keyvane::checker {
namespace {

using Json = nlohmann::ordered_json;  // members in the documented order

Json DefinitionJson(const btnfile::ButtonDef& def) {
  Json keys = Json::array();
  for (std::size_t i = 0; i < btnfile::KeyCount(def.keys); ++i) keys.push_back(def.keys[i]);
  return Json{{"caption", cp932::ToUtf8(def.caption)},
              {"kind", btnfile::ActionKindName(def.kind)},
              {"keys", std::move(keys)},
              {"target", cp932::ToUtf8(def.target)}};
}

Json MapJson(const std::string& name, const btnfile::ButtonMap& map) {
  Json positions = Json::array();
  for (const auto& position : map.positions) positions.push_back(position ? DefinitionJson(*position) : Json(nullptr));
  return Json{{"name", cp932::ToUtf8(name)}, {"positions", std::move(positions)}};
}

}  // namespace

std::string JsonReport(const CheckResult& result) {
  const btnfile::BuiltMaps& maps = result.loaded.maps;
  Json report;
  report["default_map"] = cp932::ToUtf8(maps.defaultMapName);
  report["fallback_map"] = cp932::ToUtf8(maps.fallbackMapName);
  report["maps"] = Json::array();
  for (const auto& [name, map] : maps.table) report["maps"].push_back(MapJson(name, map));
  report["diagnostics"] = Json::array();
  for (const btnfile::Diagnostic& d : result.diagnostics) {
    report["diagnostics"].push_back(Json{{"line", d.line}, {"message", cp932::ToUtf8(d.message)}});
  }
  return report.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

}  // namespace keyvane::checker

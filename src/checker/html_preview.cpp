#include "checker/html_preview.h"

#include <map>
#include <nlohmann/json.hpp>
#include <string>

#include "app/placement.h"
#include "btnfile/cp932.h"
#include "btnfile/key_names.h"
#include "btnfile/special_names.h"
#include "checker/plain_report.h"
#include "platform/shell.h"

namespace keyvane::checker {
namespace {

using Json = nlohmann::ordered_json;

// The style sheet and the script of the page, kept in their own files so they read as CSS and
// JavaScript; each is one raw string.
constexpr const char* kPreviewStyle =
#include "checker/preview/preview.css.inc"
    ;
constexpr const char* kPreviewScript =
#include "checker/preview/preview.js.inc"
    ;

// Where the page's script gets the panels' geometry: the keyboard's own layout
// (platform/shell.h) and placement (app/placement.h) on the handheld's screen.
constexpr std::string_view kGeometryMark = "/*kv-geometry*/\n";
constexpr int kHandheldScreenWidth = 800;
constexpr int kHandheldScrollBarWidth = 16;
constexpr int kHandheldEdgeWidth = 2;

std::string GeometryScript() {
  const platform::Rect& top = platform::kButtonLayout[0];
  std::string rowTops;
  std::string rowHeights;
  for (const platform::Rect& row : platform::kButtonLayout) {
    rowTops += (rowTops.empty() ? "" : ", ") + std::to_string(row.top);
    rowHeights += (rowHeights.empty() ? "" : ", ") + std::to_string(row.height);
  }
  const int rightLeft =
      app::DefaultRightPanelLeft(kHandheldScreenWidth, top.width, kHandheldScrollBarWidth + kHandheldEdgeWidth);
  // Without /T both panels stand as far down as the top button is high.
  return "  const PANEL_WIDTH = " + std::to_string(top.width) +
         ";\n  const PANEL_HEIGHT = " + std::to_string(platform::kPanelHeight) +
         ";\n  const PANEL_TOP = " + std::to_string(top.height) +
         ";\n  const RIGHT_PANEL_LEFT = " + std::to_string(rightLeft) +
         "; // an 800-pixel screen less the panel, a scroll bar and an edge\n  const ROW_TOPS = [" + rowTops +
         "];\n  const ROW_HEIGHTS = [" + rowHeights + "];\n";
}

// The page's script with the geometry in its place.
std::string PreviewScript() {
  const std::string_view script = kPreviewScript;
  const std::size_t mark = script.find(kGeometryMark);
  return std::string(script.substr(0, mark)) + GeometryScript() +
         std::string(script.substr(mark + kGeometryMark.size()));
}

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
  for (std::size_t i = 0; i < btnfile::KeyCount(def.keys); ++i) keys.push_back(btnfile::KeyCodeText(def.keys[i]));
  // The caption is kept even for NONE: the right-click cycle compares it all the same.
  return Json{{"caption", texts.Id(def.caption)},
              {"kind", btnfile::ActionKindName(def.kind)},
              {"target", texts.Id(def.target)},
              {"keys", std::move(keys)},
              {"action", cp932::ToUtf8(btnfile::ActionText(def))}};
}

std::string EscapeHtml(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

// A host path need not be UTF-8; the page is.
std::string ValidUtf8(std::string_view text) {
  const std::string quoted = Json(std::string(text)).dump(-1, ' ', false, Json::error_handler_t::replace);
  return Json::parse(quoted).get<std::string>();
}

// JSON inside a script element: no "<", ">" or "&" at all, so no "</script>" or "<!--" can
// end or bend the element. These characters occur only inside JSON strings, where the
// escapes mean the same.
std::string ScriptSafeJson(const Json& data) {
  const std::string json = data.dump(-1, ' ', false, Json::error_handler_t::replace);
  std::string out;
  for (const char c : json) {
    switch (c) {
      case '<': out += "\\u003c"; break;
      case '>': out += "\\u003e"; break;
      case '&': out += "\\u0026"; break;
      default: out += c;
    }
  }
  return out;
}

std::string DiagnosticsSection(const std::vector<btnfile::Diagnostic>& diagnostics, std::string_view fileName) {
  std::string html = "<section id=\"kv-diagnostics\">\n";
  if (diagnostics.empty()) return html + "<p class=\"kv-clean\">No problems found.</p>\n</section>\n";
  const std::size_t count = diagnostics.size();
  html += "<h2>" + std::to_string(count) + (count == 1 ? " problem" : " problems") + "</h2>\n<ol>\n";
  for (const btnfile::Diagnostic& d : diagnostics) {
    const std::string where = d.line == 0 ? std::string(fileName) : "line " + std::to_string(d.line);
    html += "<li data-line=\"" + std::to_string(d.line) + "\"><span class=\"kv-where\">" + EscapeHtml(where) +
            ":</span> " + EscapeHtml(cp932::ToUtf8(d.message)) + "</li>\n";
  }
  return html + "</ol>\n</section>\n";
}

}  // namespace

nlohmann::ordered_json PreviewData(const CheckResult& result, std::string_view fileName) {
  const btnfile::BuiltMaps& maps = result.loaded.maps;
  TextTable texts;
  Json data;
  data["file"] = std::string(fileName);
  data["alias"] = texts.Id(btnfile::kDefaultMapAlias);
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
  data["programPages"] = Json::array();
  for (const btnfile::ProgramPage& page : maps.programPages) {
    data["programPages"].push_back(Json{{"program", texts.Id(page.program)}, {"map", texts.Id(page.map)}});
  }
  data["strings"] = std::move(texts.strings());
  return data;
}

std::string HtmlPreview(const CheckResult& result, std::string_view fileName) {
  const std::string name = EscapeHtml(ValidUtf8(fileName));
  std::string html =
      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
      "<title>Keyvane preview: " +
      name + "</title>\n<style>\n" + kPreviewStyle +
      "</style>\n</head>\n<body>\n"
      "<header>\n<h1>Keyvane preview of <code>" +
      name + "</code></h1>\n<p id=\"kv-summary\"></p>\n";
  if (const std::string note = EncodingNote(result.loaded.encoding); !note.empty()) {
    html += "<p id=\"kv-encoding\">" + EscapeHtml(note) + "</p>\n";
  }
  html += "</header>\n";
  html += DiagnosticsSection(result.diagnostics, ValidUtf8(fileName));
  html +=
      "<main id=\"kv-app\"><noscript>The panels need JavaScript to be shown.</noscript></main>\n"
      "<script type=\"application/json\" id=\"kv-data\">" +
      ScriptSafeJson(PreviewData(result, fileName)) + "</script>\n<script>\n" + PreviewScript() +
      "</script>\n</body>\n</html>\n";
  return html;
}

}  // namespace keyvane::checker

#include "checker/html_preview.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <nlohmann/json.hpp>
#include <string>

#include "btnfile/cp932.h"
#include "checker/plain_report.h"

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

// The keyboard's own engine, built for WebAssembly, as base64 (kPreviewEngineBase64); the page's
// script runs it.
#include "keyvane_preview_engine.wasm.b64.inc"
constexpr std::string_view kEngineMark = "/*kv-engine*/";

// The page's script with the engine in its place.
std::string PreviewScript() {
  const std::string_view script = kPreviewScript;
  const std::size_t mark = script.find(kEngineMark);
  return std::string(script.substr(0, mark)) + "'" + kPreviewEngineBase64 + "'" +
         std::string(script.substr(mark + kEngineMark.size()));
}

std::string Base64(std::string_view bytes) {
  static constexpr char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
    std::uint32_t group = 0;
    for (std::size_t k = 0; k < 3; ++k) {
      group = group << 8 | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
    }
    for (std::size_t k = 0; k < 4; ++k) out += k <= n ? kDigits[(group >> (18 - 6 * k)) & 0x3F] : '=';
  }
  return out;
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
  data["buttonFile"] = Base64(result.fileBytes);
  data["maps"] = Json::array();
  for (const auto& [name, map] : maps.table) {
    data["maps"].push_back(Json{{"name", texts.Id(name)}, {"line", map.headerLine}, {"notes", MapNotes(name, maps)}});
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

#include "checker/html_preview.h"

#include <nlohmann/json.hpp>

#include "btnfile/cp932.h"
#include "checker/html_preview_assets.h"
#include "checker/html_preview_data.h"

namespace keyvane::checker {
namespace {

using Json = nlohmann::ordered_json;

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

std::string HtmlPreview(const CheckResult& result, std::string_view fileName) {
  const std::string name = EscapeHtml(ValidUtf8(fileName));
  std::string html =
      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
      "<title>Keyvane preview: " +
      name + "</title>\n<style>\n" + kPreviewStyle +
      "</style>\n</head>\n<body>\n"
      "<header>\n<h1>Keyvane preview of <code>" +
      name + "</code></h1>\n<p id=\"kv-summary\"></p>\n</header>\n";
  html += DiagnosticsSection(result.diagnostics, ValidUtf8(fileName));
  html +=
      "<main id=\"kv-app\"><noscript>The panels need JavaScript to be shown.</noscript></main>\n"
      "<script type=\"application/json\" id=\"kv-data\">" +
      ScriptSafeJson(PreviewData(result, fileName)) + "</script>\n<script>\n" + kPreviewScript +
      "</script>\n</body>\n</html>\n";
  return html;
}

}  // namespace keyvane::checker

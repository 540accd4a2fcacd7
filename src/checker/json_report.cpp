#include "checker/json_report.h"

#include <string_view>

#include "btnfile/cp932.h"

namespace keyvane::checker {
namespace {

// Writes the report straight into one string, laid out as a JSON library prints with an
// indent of 2 (members in the documented order, every array element on a line of its own,
// empty arrays as []). A tree of JSON values for a large file would cost more than the load.
class JsonWriter {
 public:
  explicit JsonWriter(std::string& out) : out_(out) {}

  void OpenObject() { Open('{'); }
  void CloseObject() { Close('}'); }
  void OpenArray() { Open('['); }
  void CloseArray() { Close(']'); }

  // Starts a member of the object being written; its value follows.
  void Key(std::string_view key) {
    Element();
    String(key);
    out_ += ": ";
    keyed_ = true;
  }

  // A whole value; as an array element it takes its own line.
  void Null() {
    Element();
    out_ += "null";
  }
  void Number(long long value) {
    Element();
    out_ += std::to_string(value);
  }
  void Utf8(std::string_view text) {
    Element();
    String(text);
  }

 private:
  void Open(char bracket) {
    Element();
    out_ += bracket;
    ++depth_;
    empty_ = true;
  }

  void Close(char bracket) {
    --depth_;
    if (!empty_) NewLine();
    out_ += bracket;
    empty_ = false;
  }

  // Separates this element from the previous one and indents it, unless it is a member's value.
  void Element() {
    if (keyed_) {
      keyed_ = false;
      return;
    }
    if (depth_ == 0) return;
    if (!empty_) out_ += ',';
    NewLine();
    empty_ = false;
  }

  void NewLine() {
    out_ += '\n';
    out_.append(static_cast<std::size_t>(depth_) * 2, ' ');
  }

  // The text is UTF-8 already: only the quote, the backslash and control bytes are escaped,
  // and none of them occurs inside a multi-byte sequence.
  void String(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    out_ += '"';
    std::size_t plain = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const auto c = static_cast<unsigned char>(text[i]);
      if (c >= 0x20 && c != '"' && c != '\\') continue;
      out_.append(text.substr(plain, i - plain));
      plain = i + 1;
      switch (c) {
        case '"': out_ += "\\\""; break;
        case '\\': out_ += "\\\\"; break;
        case '\b': out_ += "\\b"; break;
        case '\f': out_ += "\\f"; break;
        case '\n': out_ += "\\n"; break;
        case '\r': out_ += "\\r"; break;
        case '\t': out_ += "\\t"; break;
        default:
          out_ += "\\u00";
          out_ += kHex[c >> 4];
          out_ += kHex[c & 0xF];
      }
    }
    out_.append(text.substr(plain));
    out_ += '"';
  }

  std::string& out_;
  int depth_ = 0;
  bool empty_ = true;   // nothing written yet in the innermost open object or array
  bool keyed_ = false;  // a member's key was written: its value goes on the same line
};

void WriteDefinition(JsonWriter& json, const btnfile::ButtonDef& def) {
  json.OpenObject();
  json.Key("caption");
  json.Utf8(cp932::ToUtf8(def.caption));
  json.Key("kind");
  json.Utf8(btnfile::ActionKindName(def.kind));
  json.Key("keys");
  json.OpenArray();
  for (std::size_t i = 0; i < btnfile::KeyCount(def.keys); ++i) json.Number(def.keys[i]);
  json.CloseArray();
  json.Key("target");
  json.Utf8(cp932::ToUtf8(def.target));
  json.CloseObject();
}

void WriteMap(JsonWriter& json, const std::string& name, const btnfile::ButtonMap& map) {
  json.OpenObject();
  json.Key("name");
  json.Utf8(cp932::ToUtf8(name));
  json.Key("positions");
  json.OpenArray();
  for (const auto& position : map.positions) {
    if (position) {
      WriteDefinition(json, *position);
    } else {
      json.Null();
    }
  }
  json.CloseArray();
  json.CloseObject();
}

}  // namespace

std::string JsonReport(const CheckResult& result) {
  const btnfile::BuiltMaps& maps = result.loaded.maps;
  std::string out;
  JsonWriter json(out);
  json.OpenObject();
  json.Key("default_map");
  json.Utf8(cp932::ToUtf8(maps.defaultMapName));
  json.Key("fallback_map");
  json.Utf8(cp932::ToUtf8(maps.fallbackMapName));
  json.Key("maps");
  json.OpenArray();
  for (const auto& [name, map] : maps.table) WriteMap(json, name, map);
  json.CloseArray();
  json.Key("diagnostics");
  json.OpenArray();
  for (const btnfile::Diagnostic& d : result.diagnostics) {
    json.OpenObject();
    json.Key("line");
    json.Number(d.line);
    json.Key("message");
    json.Utf8(cp932::ToUtf8(d.message));
    json.CloseObject();
  }
  json.CloseArray();
  json.CloseObject();
  out += '\n';
  return out;
}

}  // namespace keyvane::checker

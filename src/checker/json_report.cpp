#include "checker/json_report.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string_view>

#include "btnfile/cp932.h"
#include "btnfile/file_encoding.h"

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

  // Starts a member of the object being written; its value follows. Keys need no escaping.
  void Key(std::string_view key) {
    Element();
    out_ += '"';
    out_ += key;
    out_ += "\": ";
    keyed_ = true;
  }

  // A whole value; as an array element it takes its own line.
  void Null() {
    Element();
    out_ += "null";
  }
  void Number(long long value) {
    Element();
    char digits[24];
    out_.append(digits, std::to_chars(digits, std::end(digits), value).ptr);
  }
  // A text that needs no escaping: a word of the program's own.
  void Word(std::string_view text) {
    Element();
    out_ += '"';
    out_ += text;
    out_ += '"';
  }
  // A code page 932 text, as UTF-8.
  void Cp932(std::string_view text) {
    Element();
    out_ += '"';
    const std::size_t start = out_.size();
    cp932::AppendUtf8(out_, text);
    if (std::none_of(out_.begin() + static_cast<std::ptrdiff_t>(start), out_.end(), NeedsEscape)) {
      out_ += '"';
      return;
    }
    const std::string utf8 = out_.substr(start);  // rare: a quote, a backslash or a control byte
    out_.resize(start - 1);
    String(utf8);
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
    out_.append(kBreak.substr(empty_ ? 1 : 0, (empty_ ? 1 : 2) + Indent()));
    empty_ = false;
  }

  void NewLine() { out_.append(kBreak.substr(1, 1 + Indent())); }

  std::size_t Indent() const { return static_cast<std::size_t>(depth_) * 2; }

  static constexpr std::string_view kBreak = ",\n                ";  // the report nests 6 deep at most

  // Only the quote, the backslash and control bytes are escaped, and none of them occurs
  // inside a multi-byte UTF-8 sequence.
  static bool NeedsEscape(char c) { return static_cast<unsigned char>(c) < 0x20 || c == '"' || c == '\\'; }

  void String(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    out_ += '"';
    std::size_t plain = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (!NeedsEscape(text[i])) continue;
      const auto c = static_cast<unsigned char>(text[i]);
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
  json.Cp932(def.caption);
  json.Key("kind");
  json.Word(btnfile::ActionKindName(def.kind));
  json.Key("keys");
  json.OpenArray();
  for (std::size_t i = 0; i < btnfile::KeyCount(def.keys); ++i) json.Number(def.keys[i]);
  json.CloseArray();
  json.Key("target");
  json.Cp932(def.target);
  if (def.kind == btnfile::ActionKind::EXEC) {
    json.Key("arguments");
    json.Cp932(def.arguments);  // as written, as is the target
  }
  // Only a button that repeats while held: the report of any other stays as it was.
  if (def.repeat) {
    json.Key("repeat");
    json.OpenObject();
    json.Key("delay_ms");
    json.Number(def.repeat->delayMilliseconds);
    json.Key("per_second");
    json.Number(def.repeat->perSecond);
    json.CloseObject();
  }
  if (def.kind == btnfile::ActionKind::KEYWAIT) {
    json.Key("hold_ms");
    json.Number(def.holdMilliseconds);  // 0: not a valid time, the line is ignored
  }
  json.CloseObject();
}

// Only a file with a valid KEYWAIT line says how long each map holds its keys: the report
// of any other stays as it was, and all its maps hold them 1 ms.
bool AnyMapHoldsKeys(const btnfile::MapTable& table) {
  return std::ranges::any_of(table, [](const auto& entry) { return btnfile::OwnKeyHold(entry.second).has_value(); });
}

void WriteMap(JsonWriter& json, const std::string& name, const btnfile::ButtonMap& map,
              std::optional<std::uint32_t> keyHold) {
  json.OpenObject();
  json.Key("name");
  json.Cp932(name);
  if (keyHold) {
    json.Key("key_hold_ms");
    json.Number(*keyHold);
  }
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

// About the report's length, so that the string seldom grows by copying itself.
std::size_t ExpectedSize(const CheckResult& result) {
  std::size_t size = 100;
  for (const auto& [name, map] : result.loaded.maps.table) {
    size += 60 + name.size() * 2;
    for (const auto& position : map.positions) {
      size += position ? 120 + (position->caption.size() + position->target.size() + position->arguments.size()) * 2 +
                             btnfile::KeyCount(position->keys) * 16
                       : 16;
    }
  }
  for (const btnfile::Diagnostic& d : result.diagnostics) size += 60 + d.message.size() * 3 / 2;
  return size;
}

// The whole report into `out`; `block` is called whenever a map or a problem is complete,
// so that a caller may hand out what is there and empty the string.
template <typename Block>
void Report(const CheckResult& result, std::string& out, Block block) {
  const btnfile::BuiltMaps& maps = result.loaded.maps;
  JsonWriter json(out);
  json.OpenObject();
  // Only for a file that is not code page 932: the report of such a file stays as it was.
  if (result.loaded.encoding != btnfile::FileEncoding::Cp932) {
    json.Key("encoding");
    json.Word(btnfile::EncodingName(result.loaded.encoding));
  }
  json.Key("default_map");
  json.Cp932(maps.defaultMapName);
  json.Key("fallback_map");
  json.Cp932(maps.fallbackMapName);
  json.Key("maps");
  json.OpenArray();
  const bool holdsKeys = AnyMapHoldsKeys(maps.table);
  for (const auto& [name, map] : maps.table) {
    WriteMap(json, name, map,
             holdsKeys ? std::optional(btnfile::KeyHoldOf(maps.table, name, maps.fallbackMapName)) : std::nullopt);
    block();
  }
  json.CloseArray();
  // Only for a file with a program table: the report of any other stays as it was.
  if (!maps.programPages.empty()) {
    json.Key("program_pages");
    json.OpenArray();
    for (const btnfile::ProgramPage& page : maps.programPages) {
      json.OpenObject();
      json.Key("program");
      json.Cp932(page.program);
      json.Key("map");
      json.Cp932(page.map);
      json.Key("line");
      json.Number(page.line);
      json.CloseObject();
    }
    json.CloseArray();
  }
  json.Key("diagnostics");
  json.OpenArray();
  for (const btnfile::Diagnostic& d : result.diagnostics) {
    json.OpenObject();
    json.Key("line");
    json.Number(d.line);
    json.Key("message");
    json.Cp932(d.message);
    json.CloseObject();
    block();
  }
  json.CloseArray();
  json.CloseObject();
  out += '\n';
}

}  // namespace

std::string JsonReport(const CheckResult& result) {
  std::string out;
  out.reserve(ExpectedSize(result));
  Report(result, out, [] {});
  return out;
}

void WriteJsonReport(const CheckResult& result, std::ostream& stream) {
  constexpr std::size_t kBlock = 256 * 1024;  // a large report never sits in memory as a whole
  std::string out;
  out.reserve(kBlock + 64 * 1024);
  Report(result, out, [&] {
    if (out.size() < kBlock) return;
    stream.write(out.data(), static_cast<std::streamsize>(out.size()));
    out.clear();
  });
  stream.write(out.data(), static_cast<std::streamsize>(out.size()));
}

}  // namespace keyvane::checker

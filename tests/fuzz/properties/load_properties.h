#pragma once

#include <algorithm>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "btnfile/cp932.h"
#include "btnfile/file_encoding.h"
#include "btnfile/key_names.h"
#include "btnfile/loader.h"
#include "btnfile/map_parser.h"
#include "checker/json_report.h"
#include "checker/plain_report.h"
#include "checker/run_checker.h"
#include "fuzz/properties/failures.h"
#include "fuzz/properties/text_checks.h"
#include "support/memory_files.h"
#include "support/parsed_definition.h"
#include "support/upper_cased.h"
#include "trace/trace_log.h"

namespace keyvane::fuzz {

namespace detail {

inline constexpr char kFolder[] = "C:\\Keyvane\\";

inline bool HasBlankRunOutsideQuotes(std::string_view line) {
  bool inQuotes = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '"') inQuotes = !inQuotes;
    if (!inQuotes && i > 0 && line[i] == ' ' && line[i - 1] == ' ') return true;
  }
  return false;
}

inline void CheckStoredLines(const btnfile::LineStore& lines, Failures& f) {
  f.Check(lines.texts.size() == lines.fileLines.size(), "line origins are not parallel to the lines");
  for (const std::string& line : lines.texts) {
    f.Check(line.empty() || (ByteAt(line, 0) >= 33 && ByteAt(line, line.size() - 1) >= 33),
            "a stored line starts or ends with a blank or control byte");
    f.Check(line.find('\'') == std::string::npos, "a stored line holds an apostrophe");
    f.Check(line.find('\0') == std::string::npos && line.find('\n') == std::string::npos &&
                line.find('\t') == std::string::npos,
            "a stored line holds a zero byte, a line feed or a TAB");
    f.Check(line.size() <= 1022, "a stored line is longer than one read piece");
    f.Check(testing::UpperCased(line) == line, "a stored line is not upper case");
    f.Check(!HasBlankRunOutsideQuotes(line), "a stored line keeps a blank run outside quotes");
  }
}

inline void CheckTrace(std::string_view trace, Failures& f) {
  const std::string heading = testing::ToCrLf(btnfile::kReadTraceHeading);
  f.Check(trace.starts_with(heading), "the trace does not start with the reading heading");
  f.Check(trace.ends_with("\r\n"), "the trace does not end with CR LF");
  bool bareLf = false;
  for (std::size_t i = 0; i < trace.size(); ++i) bareLf |= trace[i] == '\n' && (i == 0 || trace[i - 1] != '\r');
  f.Check(!bareLf, "the trace has a bare line feed");
}

// The maps rebuilt from the stored lines the plain way: the last header of a name wins, and a
// map holds the definition lines after its header up to the next header, at most 17.
inline std::map<std::string, std::vector<std::string>> MapLines(const btnfile::LineStore& lines) {
  std::map<std::string, std::vector<std::string>> maps;
  std::vector<std::string>* current = nullptr;
  for (const std::string& line : lines.texts) {
    if (line.starts_with('#')) {
      current = &maps[line.substr(1)];
      current->clear();
    } else if (current != nullptr && current->size() < btnfile::kPositionCount) {
      current->push_back(line);
    } else {
      current = nullptr;  // beyond the 17th line: outside any map until the next header
    }
  }
  return maps;
}

inline void CheckDefinition(const btnfile::ButtonDef& def, const std::string& line, Failures& f) {
  using btnfile::ActionKind;
  const btnfile::KeySequence zero{};
  const std::vector<std::string_view> words = btnfile::SplitWords(line, ' ');
  // EXEC keeps its program and arguments as written: they differ from the stored line by case only.
  btnfile::ButtonDef upperCased = def;
  cp932::ToUpperInPlace(upperCased.target);
  cp932::ToUpperInPlace(upperCased.arguments);
  // Whether a button repeats is the KEY_REPEAT table's word, not its line's.
  f.Check(!def.repeat || def.kind == ActionKind::KEY, "a definition other than KEY repeats");
  upperCased.repeat.reset();
  f.Check(upperCased == testing::ParsedDefinition(line), "a definition differs from its line parsed again");
  f.Check(cp932::ToHalfWidth(def.caption) == def.caption, "a caption still has full-width forms");
  if (def.kind == ActionKind::KEY || def.kind == ActionKind::KEYTOG) {
    const bool threeWords = words.size() == 3;
    f.Check(threeWords, "a KEY or KEYTOG definition without exactly three words");
    if (threeWords) {
      const btnfile::KeyFieldResult parsed = btnfile::ParseKeyField(words[2]);
      f.Check(parsed.ok() && parsed.keys == def.keys, "a KEY or KEYTOG sequence that its field does not give");
    }
  } else {
    f.Check(def.keys == zero, "codes in a definition that sends no keys");
  }
  if (def.kind == ActionKind::NONE) f.Check(def.target.empty(), "a NONE definition with a target");
}

inline void CheckMaps(const btnfile::LineStore& lines, const btnfile::BuiltMaps& built, Failures& f) {
  const auto expected = MapLines(lines);
  f.Check(expected.size() == built.table.size(), "the table's map count differs from the headers");
  for (const auto& [name, map] : built.table) {
    const auto it = expected.find(name);
    f.Check(it != expected.end(), "a map without a header");
    if (it == expected.end()) continue;
    const std::vector<std::string>& defLines = it->second;
    f.Check(map.positions.size() == btnfile::kPositionCount, "a map without 17 positions");
    for (std::size_t j = 0; j < map.positions.size(); ++j) {
      f.Check(map.positions[j].has_value() == (j < defLines.size()), "a position filled without a line");
      if (map.positions[j] && j < defLines.size()) CheckDefinition(*map.positions[j], defLines[j], f);
    }
  }
  const auto firstNamed = std::find_if(lines.texts.begin(), lines.texts.end(),
                                       [](const std::string& l) { return l.size() > 1 && l[0] == '#'; });
  const std::string first = firstNamed == lines.texts.end() ? "" : firstNamed->substr(1);
  f.Check(built.defaultMapName == first && built.fallbackMapName == first,
          "the default and fallback maps are not the first named map");
}

// The findings come in line order, each on a line that was kept (or on the file as a whole),
// and asking for them changes nothing the keyboard uses.
inline void CheckFindings(const btnfile::LoadedButtons& loaded, Failures& f) {
  const auto byLine = [](const btnfile::Finding& a, const btnfile::Finding& b) { return a.line < b.line; };
  f.Check(std::is_sorted(loaded.findings.begin(), loaded.findings.end(), byLine), "the findings are not in line order");
  for (const btnfile::Finding& finding : loaded.findings) {
    f.Check(finding.line == 0 || std::ranges::binary_search(loaded.lines.fileLines, finding.line),
            "a finding on a line that was not kept");
  }
  f.Check(btnfile::BuildMapTable(loaded.lines).table == loaded.maps.table,
          "the maps differ when the findings are not asked for");
}

inline void CheckJson(const std::string& json, const btnfile::BuiltMaps& built, Failures& f) {
  f.Check(IsValidUtf8(json), "the JSON report is not UTF-8");
  const nlohmann::json report = nlohmann::json::parse(json, nullptr, false);
  f.Check(report.is_object(), "the JSON report does not parse");
  if (!report.is_object()) return;
  const bool shaped = report.contains("maps") && report["maps"].is_array() && report.contains("diagnostics") &&
                      report["diagnostics"].is_array();
  f.Check(shaped, "the JSON report lacks its maps or diagnostics");
  if (!shaped) return;
  f.Check(report["maps"].size() == built.table.size(), "the JSON report has another number of maps");
  for (const auto& map : report["maps"]) {
    f.Check(
        map.contains("positions") && map["positions"].is_array() && map["positions"].size() == btnfile::kPositionCount,
        "a JSON map without 17 positions");
  }
}

inline bool SameFindings(const std::vector<btnfile::Finding>& a, const std::vector<btnfile::Finding>& b) {
  return std::ranges::equal(a, b, [](const btnfile::Finding& x, const btnfile::Finding& y) {
    return x.kind == y.kind && x.line == y.line && x.number == y.number && x.text == y.text && x.detail == y.detail &&
           x.map == y.map && x.form == y.form && x.openQuote == y.openQuote;
  });
}

// A code page 932 file saved again in Unicode, as UTF-16 LE with a mark for an input of even
// length and as UTF-8 with a mark otherwise (one more load an input, not two), loads the same.
// Only where the text comes back as the same bytes: a code that Windows writes another code
// for (NEC's selection of IBM extensions) may join two map names into one.
inline void CheckSavedInUnicode(std::string_view bytes, const btnfile::LoadedButtons& loaded, const std::string& trace,
                                Failures& f) {
  if (loaded.encoding != btnfile::FileEncoding::Cp932 || !IsValidCp932(bytes)) return;
  const std::string utf8 = cp932::ToUtf8(bytes);
  std::string back;  // character by character, not through the file's conversion
  ForEachCodePoint(utf8, [&back](char32_t c) { cp932::AppendFromUnicode(back, c); });
  if (back != bytes) return;
  const bool utf16 = bytes.size() % 2 == 0;
  const std::string saved = utf16 ? "\xFF\xFE" + Utf16Le(utf8) : "\xEF\xBB\xBF" + utf8;
  testing::MemoryFiles files;
  files.files["dovaD.BTN"] = saved;
  const btnfile::LoadedButtons again = btnfile::LoadButtonFile(files, "dovaD.BTN");
  f.Check(again.encoding == (utf16 ? btnfile::FileEncoding::Utf16LeWithMark : btnfile::FileEncoding::Utf8WithMark),
          "a file saved in Unicode with a mark is read in another encoding");
  f.Check(again.lines.texts == loaded.lines.texts && again.lines.fileLines == loaded.lines.fileLines,
          "a file saved in Unicode gives other lines");
  f.Check(again.maps.table == loaded.maps.table && again.maps.defaultMapName == loaded.maps.defaultMapName,
          "a file saved in Unicode gives other maps");
  f.Check(again.readTrace == trace, "a file saved in Unicode gives another trace");
  f.Check(SameFindings(again.findings, loaded.findings), "a file saved in Unicode gives other findings");
}

}  // namespace detail

// Any bytes as the button file: cleaned lines, a CR LF trace, maps that follow the stored
// lines, definitions whose key sequences their fields give, a well-formed checker report, and
// the same load for the same text saved in Unicode.
inline Failures LoadProperties(std::string_view bytes) {
  Failures f;
  const std::string buttonPath = std::string(detail::kFolder) + "dovaD.BTN";
  const std::string tracePath = std::string(detail::kFolder) + "dovaD.STS";
  testing::MemoryFiles files;
  files.files[buttonPath] = std::string(bytes);
  files.files[tracePath] = "an old trace\n";
  // As the keyboard starts: a fresh trace, then what the load read.
  trace::TraceLog log(files, tracePath);
  log.StartAfresh();
  const btnfile::LoadedButtons loaded = btnfile::LoadButtonFile(files, buttonPath);
  log.Write(loaded.readTrace);
  f.Check(loaded.fileRead, "the file was not read");
  detail::CheckStoredLines(loaded.lines, f);
  detail::CheckTrace(files.files[tracePath], f);
  detail::CheckMaps(loaded.lines, loaded.maps, f);
  detail::CheckFindings(loaded, f);
  detail::CheckSavedInUnicode(bytes, loaded, loaded.readTrace, f);

  const checker::CheckResult checked = checker::CheckButtonFile(files, buttonPath);
  f.Check(checked.trace == files.files[tracePath], "the checker's trace differs from the keyboard's");
  for (const btnfile::Diagnostic& d : checked.diagnostics) {
    f.Check(d.line >= 0 && !d.message.empty(), "a diagnostic without a line or message");
  }
  detail::CheckJson(checker::JsonReport(checked), checked.loaded.maps, f);
  f.Check(IsValidUtf8(checker::PlainReport(checked, "dovaD.BTN")), "the plain report is not UTF-8");
  return f;
}

}  // namespace keyvane::fuzz

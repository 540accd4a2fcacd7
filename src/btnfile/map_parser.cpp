#include "btnfile/map_parser.h"

#include <algorithm>
#include <iterator>

#include "btnfile/cp932.h"
#include "btnfile/key_names.h"
#include "btnfile/special_names.h"

namespace keyvane::btnfile {

// --- Words ----------------------------------------------------------------------------------

namespace {

// Calls `visit` with each word of `text`, split at `separator` outside double quotes: the one
// splitter of the format, for the words of a line and the elements of a key field.
template <typename Visit>
void ForEachWord(std::string_view text, char separator, Visit visit) {
  bool inQuotes = false;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '"') inQuotes = !inQuotes;
    if (text[i] == separator && !inQuotes) {
      visit(text.substr(start, i - start));
      start = i + 1;
    }
  }
  if (start < text.size()) visit(text.substr(start));
}

}  // namespace

std::vector<std::string_view> SplitWords(std::string_view text, char separator) {
  std::vector<std::string_view> words;
  ForEachWord(text, separator, [&](std::string_view word) { words.push_back(word); });
  return words;
}

std::optional<std::uint32_t> WholeNumberIn(std::string_view word, std::uint32_t lowest, std::uint32_t highest,
                                           std::size_t mostDigits) {
  if (word.empty() || word.size() > mostDigits ||
      !std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  std::uint32_t value = 0;
  for (const char c : word) value = value * 10 + static_cast<std::uint32_t>(c - '0');
  if (value < lowest || value > highest) return std::nullopt;
  return value;
}

LeadingWords ScanWords(std::string_view text, char separator) {
  LeadingWords scan;
  ForEachWord(text, separator, [&](std::string_view word) {
    if (scan.count < scan.words.size()) scan.words[scan.count] = word;
    ++scan.count;
  });
  return scan;
}

// --- Captions -------------------------------------------------------------------------------

std::string MakeCaption(std::string_view word) {
  if (word == "?SHP") word = "#";
  std::string text;
  text.reserve(word.size());
  // One walk by characters, so the trail byte of a double-byte character never pairs. Letter
  // by letter, A to Z, would give the same: a pair becomes a small letter, which never pairs
  // again, and the other characters keep their neighbours.
  for (std::size_t p = 0; p < word.size();) {
    const char c = word[p];
    if (c >= 'A' && c <= 'Z' && p + 1 < word.size() && word[p + 1] == c) {
      text.push_back(static_cast<char>(c - 'A' + 'a'));
      p += 2;
    } else {
      const std::size_t n = cp932::CharLength(word, p);
      text.append(word.substr(p, n));
      p += n;
    }
  }
  if (text == "\x81\x95") text = "&";  // a lone full-width ampersand
  return cp932::ToHalfWidth(text);
}

// --- Key fields -----------------------------------------------------------------------------

KeyFieldResult ParseKeyField(std::string_view field, std::vector<std::string_view>* digitNames) {
  KeyFieldResult result;
  std::size_t written = 0;
  std::string_view badToken;
  ForEachWord(field, '+', [&](std::string_view token) {
    ++result.elementCount;
    if (token.empty() || !badToken.empty()) return;
    const std::uint8_t code = LookupKeyName(token);
    if (code == 0) {
      badToken = token;
    } else if (written < kMaxKeyElements) {
      result.keys[written++] = code;
      if (digitNames != nullptr && IsReadAsItsFirstDigit(token)) digitNames->push_back(token);
    }
  });
  // The element count is judged first, then the names.
  if (result.elementCount == 0) {
    result.status = KeyFieldResult::Status::NoElements;
  } else if (result.elementCount > kMaxKeyElements) {
    result.status = KeyFieldResult::Status::TooManyElements;
  } else if (!badToken.empty()) {
    result.status = KeyFieldResult::Status::UnknownName;
    result.badToken = badToken;
  }
  if (!result.ok()) result.keys.fill(0);
  return result;
}

// --- Definition lines -----------------------------------------------------------------------

namespace {

using Place = LineForm::Place;
using Field = LineForm::Field;

// A first word that shows no caption: alone, it is a blank button written on purpose.
constexpr std::string_view kNoCaption = "DUMMY";

// A form whose command word is its kind's name.
constexpr LineForm Form(ActionKind kind, Place place, std::size_t minWords, std::size_t maxWords, Field field,
                        std::string_view shape) {
  return {ActionKindName(kind), place, minWords, maxWords, kind, field, shape};
}

constexpr LineForm kForms[] = {
    Form(ActionKind::JP, Place::Second, 3, 3, Field::Map, "caption JP map"),
    Form(ActionKind::KEY, Place::Second, 3, 3, Field::Keys, "caption KEY keys"),
    Form(ActionKind::REKEY, Place::Second, 2, LineForm::kNoLimit, Field::None, "caption REKEY"),
    Form(ActionKind::KEYTOG, Place::Second, 3, 3, Field::Keys, "caption KEYTOG keys"),
    Form(ActionKind::BASE, Place::Second, 3, 3, Field::Map, "caption BASE map"),
    Form(ActionKind::EXEC, Place::Second, 3, LineForm::kNoLimit, Field::Program, "caption EXEC program"),
    Form(ActionKind::MINIMAM, Place::First, 1, LineForm::kNoLimit, Field::None, "MINIMAM"),
    Form(ActionKind::MENUPOP, Place::First, 1, LineForm::kNoLimit, Field::None, "MENUPOP"),
    Form(ActionKind::KEYWAIT, Place::First, 2, 2, Field::HoldTime, "KEYWAIT milliseconds"),
};

bool Fits(const LineForm& form, std::size_t wordCount) {
  return wordCount >= form.minWords && wordCount <= form.maxWords;
}

// The form whose command word `word` is at `place`, or nullptr.
const LineForm* FormNamed(std::string_view word, Place place) {
  const auto it = std::find_if(std::begin(kForms), std::end(kForms),
                               [&](const LineForm& f) { return f.place == place && f.word == word; });
  return it == std::end(kForms) ? nullptr : &*it;
}

bool IsCommandWord(std::string_view word) { return FormNamed(word, Place::Second) != nullptr; }

// A KEYWAIT time: a whole number from 1 to 1000, digits only; 0 for anything else.
std::uint32_t HoldTimeOf(std::string_view word) {
  return WholeNumberIn(word, 1, kLongestKeyHoldMilliseconds, 4).value_or(0);
}

std::string Unquote(std::string_view program) {
  if (!program.empty() && program.front() == '"') program.remove_prefix(1);
  if (!program.empty() && program.back() == '"') program.remove_suffix(1);
  return std::string(program);
}

// Where the parse tells what it finds, at the file line it is on; silent when nobody asked.
class Reporter {
 public:
  explicit Reporter(std::vector<Finding>* findings) : findings_(findings) {}
  bool on() const { return findings_ != nullptr; }
  void SetLine(int line) { line_ = line; }
  Finding& Add(FindingKind kind) { return findings_->emplace_back(kind, line_); }
  void Add(Finding finding) { findings_->push_back(std::move(finding)); }
  Finding& Add(FindingKind kind, std::string_view text) {
    Finding& f = Add(kind);
    f.text = text;
    return f;
  }
  Finding& AddAboutMap(FindingKind kind, std::string_view map) {
    Finding& f = Add(kind);
    f.map = map;
    return f;
  }

 private:
  std::vector<Finding>* findings_;
  int line_ = 0;
};

// Why a line with words fits no form, told by the form it comes nearest to. `failedKeys` is
// the key field of the form that fitted but whose field failed, if any.
void ReportNoForm(std::string_view line, const LeadingWords& scan, const KeyFieldResult* failedKeys, Reporter& report) {
  const auto& w = scan.words;
  const std::size_t n = scan.count;
  if (n == 1 && w[0] == kNoCaption) return;  // the way to write a blank button on purpose
  const LineForm* first = FormNamed(w[0], Place::First);
  const LineForm* second = n >= 2 ? FormNamed(w[1], Place::Second) : nullptr;
  Finding* f = nullptr;
  if (first != nullptr && !Fits(*first, n)) {
    f = &report.Add(FindingKind::WrongWordCount);
    f->form = first;
    f->number = static_cast<int>(n);
  } else if (n == 1) {
    f = &report.Add(FindingKind::NoCommandWord, w[0]);
  } else if (second != nullptr && Fits(*second, n) && failedKeys != nullptr) {
    switch (failedKeys->status) {
      case KeyFieldResult::Status::UnknownName:
        f = &report.Add(FindingKind::UnknownKeyName, w[2]);
        f->detail = failedKeys->badToken;
        break;
      case KeyFieldResult::Status::TooManyElements:
        f = &report.Add(FindingKind::TooManyKeys);
        f->number = static_cast<int>(failedKeys->elementCount);
        break;
      case KeyFieldResult::Status::NoElements:
      case KeyFieldResult::Status::Ok: f = &report.Add(FindingKind::EmptyKeyField, w[2]); break;
    }
  } else if (second != nullptr) {
    f = &report.Add(FindingKind::WrongWordCount);
    f->form = second;
    f->number = static_cast<int>(n);
  } else if (IsCommandWord(w[0])) {
    f = &report.Add(FindingKind::CommandWordAsCaption, w[1]);
    f->detail = w[0];
  } else {
    const std::vector<std::string_view> words = SplitWords(line, ' ');
    const auto later = std::find_if(words.begin() + 2, words.end(), IsCommandWord);
    if (later == words.end()) {
      f = &report.Add(FindingKind::UnknownCommandWord, w[1]);
    } else {
      f = &report.Add(FindingKind::CommandWordTooLate, w[1]);
      f->detail = *later;
    }
  }
  f->openQuote = std::count(line.begin(), line.end(), '"') % 2 != 0;
}

// The first form whose command word and word count fit the line, or nullptr.
const LineForm* FittingForm(const LeadingWords& scan) {
  const auto it = std::find_if(std::begin(kForms), std::end(kForms), [&](const LineForm& form) {
    return (form.place == Place::First ? scan.words[0] : scan.words[1]) == form.word && Fits(form, scan.count);
  });
  return it == std::end(kForms) ? nullptr : &*it;
}

// What a key field that was understood may still do wrong.
void CheckKeys(const ButtonDef& def, std::string_view field, const std::vector<std::string_view>& digitNames,
               Reporter& report) {
  if (def.kind == ActionKind::KEY && KeyCount(def.keys) == 0) report.Add(FindingKind::KeyFieldNamesNoKey, field);
  for (const std::string_view name : digitNames) report.Add(FindingKind::DigitPrefixedKeyName, name);
}

// EXEC's program and the rest of the line, cut from the line as written: `original` is `line`
// before upper-casing, byte for byte as long.
void TakeProgram(std::string_view line, std::string_view original, std::string_view programWord, ButtonDef& def) {
  const auto start = static_cast<std::size_t>(programWord.data() - line.data());
  const std::size_t end = start + programWord.size();
  def.target = Unquote(original.substr(start, programWord.size()));
  def.arguments = std::string(cp932::TrimBlanks(original.substr(end)));
}

// One definition line. The first form that fits gives the definition; a key field that then
// fails makes the line NONE, whatever form comes later.
ButtonDef ParseDefinition(std::string_view line, std::string_view original, Reporter& report) {
  ButtonDef def;
  const LeadingWords scan = ScanWords(line, ' ');
  const auto& w = scan.words;
  if (scan.count == 0) return def;  // an empty kept line: blank button, no action
  if (w[0] != kNoCaption) def.caption = MakeCaption(w[0]);
  const LineForm* form = FittingForm(scan);
  if (form == nullptr) {
    if (report.on()) ReportNoForm(line, scan, nullptr, report);
    return def;
  }
  def.kind = form->kind;
  switch (form->field) {
    case Field::None: break;
    case Field::Program: TakeProgram(line, original, w[2], def); break;
    case Field::HoldTime:
      def.holdMilliseconds = HoldTimeOf(w[1]);
      if (report.on() && def.holdMilliseconds == 0) report.Add(FindingKind::HoldTimeOutOfRange, w[1]);
      break;
    case Field::Map:
      def.target = w[2];
      // Kept only if no map of that name is built by the end of the walk.
      if (report.on()) report.AddAboutMap(FindingKind::TargetNamesNoMap, def.target).form = form;
      break;
    case Field::Keys: {
      std::vector<std::string_view> digitNames;
      const KeyFieldResult keys = ParseKeyField(w[2], report.on() ? &digitNames : nullptr);
      if (!keys.ok()) {
        def.kind = ActionKind::NONE;
        if (report.on()) ReportNoForm(line, scan, &keys, report);
        break;
      }
      def.keys = keys.keys;
      if (report.on()) CheckKeys(def, w[2], digitNames, report);
      break;
    }
  }
  return def;
}

// A line of the right-click page whose caption the caption rules changed: the page cycle
// matches captions against map names, so it must name a map as changed.
void CheckPageCycleCaption(std::string_view line, const ButtonDef& def, Reporter& report) {
  const LeadingWords scan = ScanWords(line, ' ');
  const std::string_view first = scan.words[0];
  if (first.empty() || first == kNoCaption || def.caption == first) return;
  // Kept only if no map of that name is built by the end of the walk.
  report.Add(FindingKind::CaptionNamesNoMap, first).map = def.caption;
}

// --- Maps -----------------------------------------------------------------------------------

// The tables among the maps: their lines are told as tables, not as buttons.
struct SpecialTables {
  ProgramPageTable* programPages = nullptr;  // the map APP_PAGE
  KeyRepeatTable* keyRepeats = nullptr;      // the map KEY_REPEAT
};

// Fills `map` from the definition lines after the header at `index`: up to 17, ended early
// by the next header. Leaves `index` on the last line consumed.
// A table map also fills its table, and tells what is wrong by the table's rules.
void ParseMap(const LineStore& lines, std::size_t& index, const std::string& name, ButtonMap& map, Reporter& report,
              SpecialTables tables) {
  map.positions.fill(std::nullopt);
  std::size_t k = index + 1;
  for (int position = 0; position < kPositionCount && k < lines.size() && !lines.texts[k].starts_with('#');
       ++position, ++k) {
    const std::string& text = lines.texts[k];
    report.SetLine(lines.fileLines[k]);
    if (tables.programPages != nullptr || tables.keyRepeats != nullptr) {
      Reporter silent(nullptr);
      map.positions[position] = ParseDefinition(text, lines.originals[k], silent);
      std::optional<Finding> finding =
          tables.programPages != nullptr
              ? TakeProgramPageLine(text, *map.positions[position], lines.fileLines[k], *tables.programPages)
              : TakeKeyRepeatLine(text, lines.fileLines[k], *tables.keyRepeats);
      if (report.on() && finding) report.Add(std::move(*finding));
      continue;
    }
    if (report.on() && text.empty()) report.Add(FindingKind::BlankLineInMap).number = position;
    map.positions[position] = ParseDefinition(text, lines.originals[k], report);
    if (!report.on()) continue;
    // A KEYWAIT line speaks for its whole map, wherever it stands.
    const bool speaksForMap = map.positions[position]->kind == ActionKind::KEYWAIT;
    if (position >= kShownPositions && !speaksForMap) {
      report.AddAboutMap(FindingKind::NeverShown, name).number = position;
    } else if (name == kRightButtonPageMap) {
      CheckPageCycleCaption(text, *map.positions[position], report);
    }
  }
  index = k - 1;
}

void CheckHeader(const std::string& name, bool isNew, int earlierLine, Reporter& report) {
  if (name.empty()) {
    report.Add(FindingKind::UnnamedMap);
  } else if (name.find(' ') != std::string::npos) {
    report.AddAboutMap(FindingKind::MapNameWithBlank, name);
  }
  if (!isNew) report.AddAboutMap(FindingKind::MapDefinedAgain, name).number = earlierLine;
}

// Drops the findings about names that a map of the finished table now has, and notes a table
// without maps.
void ResolveNames(const MapTable& table, std::vector<Finding>& findings, std::size_t firstOwn) {
  const auto own = findings.begin() + static_cast<std::ptrdiff_t>(firstOwn);
  findings.erase(std::remove_if(own, findings.end(),
                                [&](const Finding& f) {
                                  const bool namesAMap = f.kind == FindingKind::TargetNamesNoMap ||
                                                         f.kind == FindingKind::CaptionNamesNoMap ||
                                                         f.kind == FindingKind::ProgramPageNamesNoMap;
                                  return namesAMap && FindMap(table, f.map);
                                }),
                 findings.end());
  if (table.empty()) {
    findings.insert(findings.begin() + static_cast<std::ptrdiff_t>(firstOwn), Finding(FindingKind::NoMap, 0));
  }
}

}  // namespace

std::span<const LineForm> LineForms() { return kForms; }

BuiltMaps BuildMapTable(const LineStore& lines, std::vector<Finding>* findings, std::string* readTrace) {
  Reporter report(findings);
  const std::size_t firstOwn = findings != nullptr ? findings->size() : 0;
  BuiltMaps built;
  // One text, so that the trace gets it in one append: opening the file for each of hundreds
  // of lines was a fifth of the start-up time.
  std::string walked = kReadTraceHeading;
  const std::string* latestMap = nullptr;  // the name of the map the last header made
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines.texts[i];
    walked.append(line).push_back('\n');
    report.SetLine(lines.fileLines[i]);
    if (!line.starts_with('#')) {
      // A line outside every map is ignored; an empty one changes nothing.
      if (!report.on() || line.empty()) continue;
      if (latestMap != nullptr) {
        report.AddAboutMap(FindingKind::LineAfterFullMap, *latestMap);
      } else {
        report.Add(FindingKind::LineBeforeFirstMap);
      }
      continue;
    }
    std::string name = line.substr(1);
    if (built.defaultMapName.empty()) {
      built.defaultMapName = name;
      built.fallbackMapName = name;
    }
    walked.append(kMapNameTracePrefix).append(name).push_back('\n');
    const auto [it, isNew] = built.table.try_emplace(std::move(name));
    ButtonMap& map = it->second;  // replaced as a whole when the name comes again
    if (report.on()) CheckHeader(it->first, isNew, map.headerLine, report);
    map.headerLine = lines.fileLines[i];
    latestMap = &it->first;
    // A table is replaced as a whole, as its map is.
    SpecialTables tables;
    if (it->first == kAppPageMap) {
      built.programPages.clear();
      tables.programPages = &built.programPages;
    } else if (it->first == kKeyRepeatMap) {
      built.keyRepeats.clear();
      tables.keyRepeats = &built.keyRepeats;
    }
    ParseMap(lines, i, it->first, map, report, tables);
  }
  std::vector<Finding> unsentRepeats = MarkRepeatingButtons(built.table, built.keyRepeats);
  if (report.on()) {
    // Among the walk's own findings, by line.
    for (Finding& f : unsentRepeats) {
      const auto after = std::find_if(findings->begin() + static_cast<std::ptrdiff_t>(firstOwn), findings->end(),
                                      [&](const Finding& other) { return other.line > f.line; });
      findings->insert(after, std::move(f));
    }
  }
  if (readTrace != nullptr) *readTrace = std::move(walked);
  if (report.on()) ResolveNames(built.table, *findings, firstOwn);
  return built;
}

}  // namespace keyvane::btnfile

#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "btnfile/app_pages.h"
#include "btnfile/button_def.h"
#include "btnfile/finding.h"
#include "btnfile/key_repeats.h"
#include "btnfile/line_store.h"

// The grammar of a button file, from its kept lines (btnfile/loader.h reads them: comments
// dropped, blanks collapsed, upper-cased) to the map table:
//
//   #NAME                  a header: starts the map NAME (a later header of the same name
//                          replaces it whole); a line before the first header is ignored
//   CAPTION COMMAND FIELD  up to 17 definition lines follow, ended early by the next header;
//                          the first 14 are the buttons, left panel first, row by row
//
// Words are split at blanks outside double quotes (the quotes stay in the words). The forms
// of a definition line are LineForms(); a line that fits none is a blank button. A key field
// joins key names (btnfile/key_names.h) with "+". Each place where the parse drops something
// or falls back is reported as a Finding (btnfile/finding.h), when asked for.
namespace keyvane::btnfile {

// --- Words ---------------------------------------------------------------------------------

// Splits at `separator` outside double quotes; quotes stay in the words. Two separators
// in a row give an empty word; a trailing separator and an empty text add nothing.
std::vector<std::string_view> SplitWords(std::string_view text, char separator);

// The first three words that SplitWords gives (empty past the last), and how many it gives
// in all, without a list.
struct LeadingWords {
  std::array<std::string_view, 3> words;
  std::size_t count = 0;
};
LeadingWords ScanWords(std::string_view text, char separator);

// A whole number from `lowest` to `highest`, written with digits only and at most `mostDigits`
// of them; nothing for anything else.
std::optional<std::uint32_t> WholeNumberIn(std::string_view word, std::uint32_t lowest, std::uint32_t highest,
                                           std::size_t mostDigits);

// --- Captions ------------------------------------------------------------------------------

// The caption a first word shows: ?SHP is "#", equal capital pairs become one lower-case
// letter, a lone full-width ampersand becomes "&", full-width forms become half-width.
std::string MakeCaption(std::string_view word);

// --- Key fields ----------------------------------------------------------------------------

inline constexpr std::size_t kMaxKeyElements = kKeySequenceSize;  // a code for each element

// How a key field was understood.
struct KeyFieldResult {
  enum class Status { Ok, NoElements, TooManyElements, UnknownName };
  Status status = Status::Ok;
  KeySequence keys{};    // all zero unless Ok
  std::string badToken;  // the element that named no key
  std::size_t elementCount = 0;
  bool ok() const { return status == Status::Ok; }
};

// Parses a key field such as CTRL+SHIFT+ESC into a KeySequence: empty elements are skipped
// but count towards the 100 allowed. `digitNames`, when given, receives the elements read as
// their first digit, in order (complete only when the field is Ok).
KeyFieldResult ParseKeyField(std::string_view field, std::vector<std::string_view>* digitNames = nullptr);

// --- Definition lines ----------------------------------------------------------------------

// One form a definition line can take: its command word, where that word stands, how many
// words the line must have, and what the third word is.
struct LineForm {
  enum class Place { First, Second };  // the command word is the first word, or follows the caption
  enum class Field { None, Keys, Map, Program, HoldTime };
  static constexpr std::size_t kNoLimit = static_cast<std::size_t>(-1);

  std::string_view word;
  Place place;
  std::size_t minWords;
  std::size_t maxWords;
  ActionKind kind;
  Field field;
  std::string_view shape;  // the words of the form, for messages: "caption KEY keys"
};

// The forms in the order they are tried: the first whose word and word count fit gives the
// definition, even when its key field then fails.
std::span<const LineForm> LineForms();

// --- Maps ----------------------------------------------------------------------------------

struct BuiltMaps {
  MapTable table;
  std::string defaultMapName;     // the first map with a non-empty name
  std::string fallbackMapName;    // the same map; its definitions fill empty positions
  ProgramPageTable programPages;  // the lines of the map APP_PAGE
  KeyRepeatTable keyRepeats;      // the lines of the map KEY_REPEAT
};

// What the keyboard traces of a read, as code page 932 bytes: "\n読み込みファイル表示\n", then each
// line the walk reads outside the definitions, a header followed by "取得マップ名=" and its name.
inline constexpr char kReadTraceHeading[] =
    "\n\x93\xc7\x82\xdd\x8d\x9e\x82\xdd\x83\x74\x83\x40\x83\x43\x83\x8b\x95\x5c\x8e\xa6\n";
inline constexpr char kMapNameTracePrefix[] = "\x8e\xe6\x93\xbe\x83\x7d\x83\x62\x83\x76\x96\xbc=";

// Walks the stored lines once. `findings`, when given, receives in line order what the walk
// ignores or falls back on; `readTrace`, when given, the text that tells the walk in the trace.
BuiltMaps BuildMapTable(const LineStore& lines, std::vector<Finding>* findings = nullptr,
                        std::string* readTrace = nullptr);

}  // namespace keyvane::btnfile

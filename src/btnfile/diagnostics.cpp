#include "btnfile/diagnostics.h"

#include "btnfile/cp932.h"
#include "btnfile/file_encoding.h"
#include "btnfile/key_repeats.h"
#include "btnfile/loader.h"

namespace keyvane::btnfile {
namespace {

// The pieces of a message as one string, made at once.
std::string Join(std::initializer_list<std::string_view> pieces) {
  std::size_t size = 0;
  for (const std::string_view piece : pieces) size += piece.size();
  std::string text;
  text.reserve(size);
  for (const std::string_view piece : pieces) text += piece;
  return text;
}

constexpr std::size_t kLongestQuote = 40;

// A text of the file in quotes, cut short on a character boundary. File texts never hold
// an apostrophe (it starts a comment), so apostrophes quote a text that has double quotes.
std::string Quoted(std::string_view text) {
  std::size_t end = 0;
  while (end < text.size() && end < kLongestQuote) {
    end += cp932::CharLength(text, end);
  }
  const std::string_view quote = text.find('"') == std::string_view::npos ? "\"" : "'";
  return Join({quote, text.substr(0, end), end < text.size() ? "..." : "", quote});
}

// How the author finds a position: rows and panels as the buttons stand on the screen.
std::string PositionName(int position) {
  if (position >= kShownPositions) return Join({"definition line ", std::to_string(position + 1), ", never shown"});
  return Join({position % 2 == 0 ? "left" : "right", " panel, row ", std::to_string(position / 2 + 1)});
}

// "JP, KEY, REKEY, KEYTOG, BASE, EXEC": the words that may follow a caption.
const std::string& CommandWords() {
  static const std::string words = [] {
    std::string list;
    for (const LineForm& form : LineForms()) {
      if (form.place != LineForm::Place::Second) continue;
      if (!list.empty()) list += ", ";
      list += form.word;
    }
    return list;
  }();
  return words;
}

std::string WrongWordCount(const LineForm& form, int words) {
  const std::string least = std::to_string(form.minWords);
  const std::string has = std::to_string(words);
  if (form.maxWords == LineForm::kNoLimit) {
    return Join({form.word, " takes at least ", least, " words (", form.shape, "), this line has ", has});
  }
  if (form.place == LineForm::Place::Second) {
    return Join({"wrong number of words for ", form.word, ": ", form.word, " takes exactly ", least, " (", form.shape,
                 "), this line has ", has});
  }
  return Join({form.word, " takes exactly ", least, " words (", form.shape, "), this line has ", has});
}

// A definition line that fits no form: why, then what that leaves.
std::string BlankButton(std::initializer_list<std::string_view> why, const Finding& f) {
  constexpr std::string_view kOpenQuote =
      "; a double quote is never closed, so every blank after it stays inside one word";
  return Join({Join(why), f.openQuote ? kOpenQuote : "", "; the button is blank and does nothing"});
}

std::string Text(const Finding& f, const BuiltMaps& maps) {
  switch (f.kind) {
    case FindingKind::LongLineCut: {
      const std::string bytes = std::to_string(kMaxPieceBytes);
      return Join({"the line is longer than ", bytes, " bytes: the keyboard cuts it into pieces of ", bytes,
                   " bytes and reads each piece as a line of its own"});
    }
    case FindingKind::CharacterNotInCodePage: {
      const std::string_view name =
          f.text.empty() ? std::string_view("bytes that are no character of the file's encoding") : f.text;
      if (f.number == 1) {
        return Join({"a character that code page 932 lacks (", name, "): the keyboard reads ", kMissingCharacterMark,
                     " in its place"});
      }
      return Join({std::to_string(f.number), " characters that code page 932 lacks (the first: ", name,
                   "): the keyboard reads ", kMissingCharacterMark, " in place of each"});
    }
    case FindingKind::ApostropheInQuotes:
      return "an apostrophe starts a comment even between double quotes: the rest of the line, closing quote "
             "included, is cut off";
    case FindingKind::NoMap:
      return "no map at all: the file has no map header (a line starting with #), so every button is blank";
    case FindingKind::LineBeforeFirstMap:
      return "this line comes before the first map header (a line starting with #) and is ignored";
    case FindingKind::LineAfterFullMap:
      return Join({"map ", Quoted(f.map), " already has its ", std::to_string(kPositionCount),
                   " definition lines: this line is ignored"});
    case FindingKind::UnnamedMap:
      return "the header \"#\" alone names a map with an empty name: no JP or BASE button can switch to it, and it "
             "does not count as the first map";
    case FindingKind::MapNameWithBlank:
      return Join({"map name ", Quoted(f.map), " holds a blank: no JP or BASE button can switch to it"});
    case FindingKind::MapDefinedAgain:
      return Join({"map ", Quoted(f.map), " is defined again: the map of that name at line ", std::to_string(f.number),
                   " is discarded as a whole"});
    case FindingKind::NeverShown:
      return Join({"definition line ", std::to_string(f.number + 1), " of map ", Quoted(f.map),
                   " is never shown or run: the panels show only the first ", std::to_string(kShownPositions)});
    case FindingKind::TargetNamesNoMap: {
      const bool first = !maps.fallbackMapName.empty();
      return Join({f.form->word, " target ", Quoted(f.map), " names no map",
                   first ? ": a press shows the buttons of the first map, " : "", first ? maps.fallbackMapName : "",
                   first ? ", instead" : "",
                   f.map.find('"') != std::string::npos ? " (double quotes stay part of the name)" : ""});
    }
    case FindingKind::CaptionNamesNoMap:
      return Join({"the caption rules turn ", Quoted(f.text), " into ", Quoted(f.map),
                   ", which is no map name: this line of the right-click page cycle never matches the map shown"});
    case FindingKind::ProgramLineForm:
      return "a line of APP_PAGE is written program BASE map (for example NOTEPAD.EXE BASE EDIT): this one is not, "
             "and no program brings a page by it";
    case FindingKind::ProgramAgain:
      return Join({"program ", Quoted(f.text), " already has its page at line ", std::to_string(f.number),
                   ": the first line wins, this one is never used"});
    case FindingKind::ProgramPageNamesNoMap: {
      const bool first = !maps.fallbackMapName.empty();
      return Join({"APP_PAGE gives ", Quoted(f.text), " the map ", Quoted(f.map), ", which does not exist",
                   first ? ": when that program comes to the front the panels show the buttons of the first map, " : "",
                   first ? maps.fallbackMapName : "", first ? ", instead" : ""});
    }
    case FindingKind::RepeatLineForm:
      return Join(
          {"a line of KEY_REPEAT is written keys, keys delay, or keys delay rate (for example BS, or LEFT "
           "300 40): ",
           f.detail.empty() ? std::string("this one is not") : Join({Quoted(f.detail), " names no key"}),
           ", and it makes no button repeat"});
    case FindingKind::RepeatMouseButton:
      return Join({"KEY_REPEAT key field ", Quoted(f.text),
                   " holds a mouse button, which does not repeat: the line makes no button repeat"});
    case FindingKind::RepeatTimeOutOfRange:
      return f.number == 0
                 ? Join({"KEY_REPEAT delay ", Quoted(f.text), " is not a whole number of milliseconds from ",
                         std::to_string(kShortestRepeatDelay), " to ", std::to_string(kLongestRepeatDelay),
                         ": the line makes no button repeat"})
                 : Join({"KEY_REPEAT rate ", Quoted(f.text), " is not a whole number of repeats a second from ",
                         std::to_string(kLowestRepeatRate), " to ", std::to_string(kHighestRepeatRate),
                         ": the line makes no button repeat"});
    case FindingKind::RepeatKeysAgain:
      return Join({"KEY_REPEAT already names the keys ", Quoted(f.text), " at line ", std::to_string(f.number),
                   ": the first line wins, this one is never used"});
    case FindingKind::RepeatKeysOnNoButton:
      return Join({"KEY_REPEAT names the keys ", Quoted(f.text),
                   ", but no KEY button sends them: this line makes no button repeat"});
    case FindingKind::BlankLineInMap:
      return Join(
          {"a line of blanks (or a comment that does not start in the first column) is kept: it is the blank "
           "button at ",
           PositionName(f.number)});
    case FindingKind::NoCommandWord:
      return BlankButton({"no command word after the caption ", Quoted(f.text), " (expected ", CommandWords(), ")"}, f);
    case FindingKind::WrongWordCount: return BlankButton({WrongWordCount(*f.form, f.number)}, f);
    case FindingKind::UnknownKeyName:
      return BlankButton({"key field ", Quoted(f.text), ": ", Quoted(f.detail), " names no key"}, f);
    case FindingKind::TooManyKeys:
      return BlankButton({"key field has ", std::to_string(f.number), " elements, more than the ",
                          std::to_string(kMaxKeyElements), " allowed"},
                         f);
    case FindingKind::EmptyKeyField: return BlankButton({"key field ", Quoted(f.text), " holds no key name"}, f);
    case FindingKind::UnknownCommandWord:
      return BlankButton({"unknown command word ", Quoted(f.text), " (expected ", CommandWords(), ")"}, f);
    case FindingKind::CommandWordAsCaption:
      return BlankButton({"unknown command word ", Quoted(f.text), " (expected ", CommandWords(),
                          "); the first word is the caption, so ", Quoted(f.detail), " is taken as one"},
                         f);
    case FindingKind::CommandWordTooLate:
      return BlankButton(
          {"unknown command word ", Quoted(f.text), " (expected ", CommandWords(), "); a blank ends the caption, so ",
           Quoted(f.detail), " comes too late to be the command word"},
          f);
    case FindingKind::KeyFieldNamesNoKey:
      return Join({"key field ", Quoted(f.text), " names no key: a press sends nothing"});
    case FindingKind::HoldTimeOutOfRange:
      return Join({"KEYWAIT time ", Quoted(f.text), " is not a whole number of milliseconds from 1 to ",
                   std::to_string(kLongestKeyHoldMilliseconds),
                   ": the line is ignored, and its page holds keys as if it were not there"});
    case FindingKind::DigitPrefixedKeyName:
      return Join({"key name ", Quoted(f.text), " is read as the key ", std::string_view(f.text).substr(0, 1),
                   ": a name that starts with a digit counts only that digit"});
  }
  return {};
}

}  // namespace

std::vector<Diagnostic> FindDiagnostics(const LoadedButtons& loaded) {
  std::vector<Diagnostic> diagnostics;
  if (!loaded.fileRead) return diagnostics;
  diagnostics.reserve(loaded.findings.size());
  for (const Finding& f : loaded.findings) diagnostics.push_back({f.line, Text(f, loaded.maps)});
  return diagnostics;
}

}  // namespace keyvane::btnfile

#pragma once

#include <string>

// What the reading and the parse of a button file drop, cut or fall back on without a word:
// each kind of finding is one silent rule of the format, reported where the rule is applied
// (btnfile/loader.cpp, btnfile/map_parser.cpp). The checker and the keyboard's notice tell
// them as diagnostics, in English (btnfile/diagnostics.h).
namespace keyvane::btnfile {

struct LineForm;

enum class FindingKind {
  // Reading the file into kept lines (loader).
  LongLineCut,             // the file line is longer than one read piece, so its pieces are lines of their own
  CharacterNotInCodePage,  // a UTF-8 or UTF-16 file: text: the first character the kept part of the line
                           // has that code page 932 lacks, "U+1F600" (empty: bytes that are no
                           // character); number: how many such characters the line has
  ApostropheInQuotes,      // an apostrophe between double quotes still starts a comment

  // The map walk (map_parser).
  NoMap,               // no header at all: every button is blank (line 0: the whole file)
  LineBeforeFirstMap,  // a line before the first header is ignored
  LineAfterFullMap,    // map: the one that already has its 17 definition lines
  UnnamedMap,          // the header "#" alone
  MapNameWithBlank,    // map: its name
  MapDefinedAgain,     // map: its name; number: the line of the header whose map is discarded
  NeverShown,          // map: its name; number: the position (14 to 16)
  TargetNamesNoMap,    // form: JP or BASE; map: the target
  CaptionNamesNoMap,   // a line of the right-click page: text: its first word; map: the caption made of it

  // The program table APP_PAGE (btnfile/app_pages.cpp).
  ProgramLineForm,        // a line that is not "program BASE map": not in the table
  ProgramAgain,           // not in the table; text: the program; number: the line that already gives its page
  ProgramPageNamesNoMap,  // still in the table; text: the program; map: its page

  // The repeat table KEY_REPEAT (btnfile/key_repeats.cpp): a line not taken repeats nothing.
  RepeatLineForm,        // text: the line; detail: the element of its key field that names no key, if that is why
  RepeatMouseButton,     // text: the key field, which holds a mouse button
  RepeatTimeOutOfRange,  // text: the word; number: 0 for the delay, 1 for the rate
  RepeatKeysAgain,       // text: the key field; number: the line that already names the same keys
  RepeatKeysOnNoButton,  // still in the table; text: the key field, which no KEY button sends

  // A definition line that fits no form: the button is blank. Each may have openQuote set.
  BlankLineInMap,        // number: the position the empty kept line takes
  NoCommandWord,         // text: the caption, the only word
  WrongWordCount,        // form: the form the command word names; number: the words of the line
  UnknownKeyName,        // text: the key field; detail: the element that names no key
  TooManyKeys,           // number: the elements of the key field
  EmptyKeyField,         // text: the key field
  UnknownCommandWord,    // text: the second word
  CommandWordAsCaption,  // text: the second word; detail: the first, a command word taken as the caption
  CommandWordTooLate,    // text: the second word; detail: the first later word that is a command word

  // A definition that is kept but does less than it seems to.
  KeyFieldNamesNoKey,    // text: the key field of a KEY line that sends nothing
  DigitPrefixedKeyName,  // text: a key name longer than one character read as the digit it starts with
  HoldTimeOutOfRange,    // text: the word of a KEYWAIT line that is no whole number from 1 to 1000
};

// One finding: where it is and what the kind needs to be told (unused members stay empty).
struct Finding {
  Finding(FindingKind kind, int line) : kind(kind), line(line) {}

  FindingKind kind;
  int line;  // 1-based line of the file; 0 when it is about the file as a whole
  int number = 0;
  std::string text;    // code page 932 bytes, as in the kept line
  std::string detail;  // code page 932 bytes, as in the kept line
  std::string map;     // the name of the map the finding is about, code page 932 bytes
  const LineForm* form = nullptr;
  bool openQuote = false;  // the line has a double quote that is never closed
};

}  // namespace keyvane::btnfile

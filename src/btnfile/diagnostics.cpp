#include "btnfile/diagnostics.h"

#include <algorithm>
#include <set>
#include <unordered_map>

#include "btnfile/cp932.h"
#include "btnfile/key_names.h"
#include "btnfile/special_names.h"
#include "btnfile/split_words.h"

namespace keyvane::btnfile {
namespace {

constexpr const char* kBlankButton = "; the button is blank and does nothing";

constexpr std::size_t kLongestQuote = 40;

// A text of the file in quotes, cut short on a character boundary. File texts never hold
// an apostrophe (it starts a comment), so apostrophes quote a text that has double quotes.
std::string Quoted(std::string_view text) {
  std::size_t end = 0;
  while (end < text.size() && end < kLongestQuote) {
    end += cp932::CharLength(text, end);
  }
  const std::string shown = std::string(text.substr(0, end)) + (end < text.size() ? "..." : "");
  const char quote = text.find('"') == std::string_view::npos ? '"' : '\'';
  return quote + shown + quote;
}

// How the author finds a position: rows and panels as the buttons stand on the screen.
std::string PositionName(int position) {
  if (position >= kShownPositions) return "definition line " + std::to_string(position + 1) + ", never shown";
  return std::string(position % 2 == 0 ? "left" : "right") + " panel, row " + std::to_string(position / 2 + 1);
}

bool IsWordTakingCommand(std::string_view word) {
  return word == "JP" || word == "KEY" || word == "KEYTOG" || word == "BASE";
}

bool IsCommandWord(std::string_view word) { return IsWordTakingCommand(word) || word == "REKEY" || word == "EXEC"; }

std::string FormOf(std::string_view command) {
  const bool takesKeys = command == "KEY" || command == "KEYTOG";
  return "caption " + std::string(command) + (takesKeys ? " keys" : " map");
}

// A name the digit test accepts although it is longer than one digit.
bool IsDigitPrefixedName(std::string_view token) { return token.size() > 1 && token >= "0" && token <= "9"; }

class Finder {
 public:
  Finder(const LineStore& lines, const BuiltMaps& maps) : lines_(lines), maps_(maps) {}

  std::vector<Diagnostic> Run() {
    if (maps_.table.empty()) {
      Add(0, "no map at all: the file has no map header (a line starting with #), so every button is blank");
    }
    for (std::size_t i = 0; i < lines_.size(); ++i) CheckOrigin(i);
    WalkMaps();
    std::ranges::stable_sort(found_, {}, &Diagnostic::line);
    return std::move(found_);
  }

 private:
  int FileLine(std::size_t index) const { return lines_.origins[index].fileLine; }
  void Add(int line, std::string message) { found_.push_back({line, std::move(message)}); }
  void AddAt(std::size_t index, std::string message) { Add(FileLine(index), std::move(message)); }

  void CheckOrigin(std::size_t index) {
    const LineOrigin& origin = lines_.origins[index];
    if (origin.cutPiece && cutLinesNoted_.insert(origin.fileLine).second) {
      Add(origin.fileLine,
          "the line is longer than 1022 bytes: the keyboard cuts it into pieces of 1022 bytes "
          "and reads each piece as a line of its own");
    }
    if (origin.quotedApostrophe) {
      Add(origin.fileLine,
          "an apostrophe starts a comment even between double quotes: the rest of the line, "
          "closing quote included, is cut off");
    }
  }

  // Walks the lines as the map table is built, so the checker sees the maps the keyboard sees.
  void WalkMaps() {
    // The table holds the map of the last header of each name, already parsed; only the maps
    // that a later one of the same name replaced are parsed again here.
    std::unordered_map<std::string_view, std::size_t> lastHeader;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
      if (lines_.texts[i].starts_with('#')) lastHeader[std::string_view(lines_.texts[i]).substr(1)] = i;
    }
    std::string mapName;
    bool inMap = false;
    ButtonMap replaced;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
      const std::string& text = lines_.texts[i];
      if (text.starts_with('#')) {
        mapName = text.substr(1);
        inMap = true;
        CheckHeader(i, mapName);
        const ButtonMap* parsed = lastHeader[mapName] == i ? FindMap(maps_.table, mapName) : nullptr;
        std::size_t last = i;
        if (parsed) {
          last = MapEnd(lines_, i) - 1;
        } else {
          ParseMap(lines_, last, replaced);
          parsed = &replaced;
        }
        for (std::size_t k = i + 1; k <= last; ++k) {
          const int position = static_cast<int>(k - i - 1);
          CheckDefinition(mapName, position, k, *parsed->positions[position]);
        }
        i = last;
      } else if (text.empty()) {
        // An empty line outside a map is ignored and changes nothing.
      } else if (inMap) {
        AddAt(i, "map " + Quoted(mapName) + " already has its 17 definition lines: this line is ignored");
      } else {
        AddAt(i, "this line comes before the first map header (a line starting with #) and is ignored");
      }
    }
  }

  void CheckHeader(std::size_t index, const std::string& name) {
    if (name.empty()) {
      AddAt(index,
            "the header \"#\" alone names a map with an empty name: no JP or BASE button can switch "
            "to it, and it does not count as the first map");
    } else if (name.find(' ') != std::string::npos) {
      AddAt(index, "map name " + Quoted(name) + " holds a blank: no JP or BASE button can switch to it");
    }
    const auto [earlier, isNew] = headerLines_.try_emplace(name, FileLine(index));
    if (!isNew) {
      AddAt(index, "map " + Quoted(name) + " is defined again: the map of that name at line " +
                       std::to_string(earlier->second) + " is discarded as a whole");
      earlier->second = FileLine(index);
    }
  }

  void CheckDefinition(const std::string& mapName, int position, std::size_t index, const ButtonDef& def) {
    const std::string& text = lines_.texts[index];
    const LeadingWords words = ScanWords(text, ' ');
    if (def.kind == ActionKind::NONE) {
      ExplainNoForm(index, position, SplitWordViews(text, ' '), text);
    } else if (def.kind == ActionKind::JP || def.kind == ActionKind::BASE) {
      CheckTarget(index, def);
    } else if (def.kind == ActionKind::KEY || def.kind == ActionKind::KEYTOG) {
      CheckKeyField(index, def, words.words[2]);
    }
    if (position >= kShownPositions) {
      AddAt(index, "definition line " + std::to_string(position + 1) + " of map " + Quoted(mapName) +
                       " is never shown or run: the panels show only the first 14");
    }
    const std::string_view first = words.words[0];
    if (mapName == kRightButtonPageMap && position < kShownPositions && words.count > 0 && first != "DUMMY" &&
        def.caption != first && FindMap(maps_.table, def.caption) == nullptr) {
      AddAt(index, "the caption rules turn " + Quoted(first) + " into " + Quoted(def.caption) +
                       ", which is no map name: this line of the right-click page cycle never matches the map shown");
    }
  }

  void ExplainNoForm(std::size_t index, int position, const std::vector<std::string_view>& words,
                     const std::string& text) {
    const std::size_t n = words.size();
    if (n == 0) {
      AddAt(index,
            "a line of blanks (or a comment that does not start in the first column) is kept: it is the blank "
            "button at " +
                PositionName(position));
      return;
    }
    if (n == 1 && words[0] == "DUMMY") return;  // the way to write a blank button on purpose
    std::string why;
    const std::string_view w1 = words[0];
    const std::string_view w2 = n >= 2 ? words[1] : std::string_view();
    if (w1 == "KEYWAIT") {
      why = "KEYWAIT takes exactly 2 words (KEYWAIT key), this line has " + std::to_string(n);
    } else if (n == 1) {
      why = "no command word after the caption " + Quoted(w1) + " (expected JP, KEY, REKEY, KEYTOG, BASE, EXEC)";
    } else if (IsWordTakingCommand(w2) && n != 3) {
      const std::string command(w2);
      why = "wrong number of words for " + command + ": " + command + " takes exactly 3 (" + FormOf(w2) +
            "), this line has " + std::to_string(n);
    } else if (IsWordTakingCommand(w2)) {
      why = KeyFieldFailure(words[2]);
    } else if (w2 == "EXEC") {
      why = "EXEC takes at least 3 words (caption EXEC program), this line has 2";
    } else {
      why = "unknown command word " + Quoted(w2) + " (expected JP, KEY, REKEY, KEYTOG, BASE, EXEC)";
      const auto later = std::ranges::find_if(words.begin() + 2, words.end(), IsCommandWord);
      if (IsCommandWord(w1)) {
        why += "; the first word is the caption, so " + Quoted(w1) + " is taken as one";
      } else if (later != words.end()) {
        why += "; a blank ends the caption, so " + Quoted(*later) + " comes too late to be the command word";
      }
    }
    if (std::ranges::count(text, '"') % 2 != 0) {
      why += "; a double quote is never closed, so every blank after it stays inside one word";
    }
    AddAt(index, why + kBlankButton);
  }

  static std::string KeyFieldFailure(std::string_view field) {
    const KeyFieldResult parsed = ParseKeyField(field);
    switch (parsed.status) {
      case KeyFieldResult::Status::UnknownName:
        return "key field " + Quoted(field) + ": " + Quoted(parsed.badToken) + " names no key";
      case KeyFieldResult::Status::TooManyElements:
        return "key field has " + std::to_string(parsed.elementCount) + " elements, more than the 100 allowed";
      case KeyFieldResult::Status::NoElements:
      case KeyFieldResult::Status::Ok: break;
    }
    return "key field " + Quoted(field) + " holds no key name";
  }

  void CheckTarget(std::size_t index, const ButtonDef& def) {
    if (FindMap(maps_.table, def.target) != nullptr) return;
    std::string message = std::string(ActionKindName(def.kind)) + " target " + Quoted(def.target) + " names no map";
    if (!maps_.fallbackMapName.empty()) {
      message += ": a press shows the buttons of the first map, " + maps_.fallbackMapName + ", instead";
    }
    if (def.target.find('"') != std::string::npos) message += " (double quotes stay part of the name)";
    AddAt(index, message);
  }

  void CheckKeyField(std::size_t index, const ButtonDef& def, std::string_view field) {
    if (def.kind == ActionKind::KEY && KeyCount(def.keys) == 0) {
      AddAt(index, "key field " + Quoted(field) + " names no key: a press sends nothing");
    }
    if (field.find_first_of("012345678") == std::string_view::npos) return;  // no name can start with one
    for (const std::string& token : SplitWords(field, '+')) {
      if (!IsDigitPrefixedName(token)) continue;
      AddAt(index, "key name " + Quoted(token) + " is read as the key " + token.substr(0, 1) +
                       ": a name that starts with a digit counts only that digit");
    }
  }

  const LineStore& lines_;
  const BuiltMaps& maps_;
  std::vector<Diagnostic> found_;
  std::set<int> cutLinesNoted_;
  std::unordered_map<std::string, int> headerLines_;
};

}  // namespace

std::vector<Diagnostic> FindDiagnostics(const LineStore& lines, const BuiltMaps& maps) {
  return Finder(lines, maps).Run();
}

}  // namespace keyvane::btnfile

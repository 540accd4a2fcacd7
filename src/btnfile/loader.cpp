#include "btnfile/loader.h"

#include <algorithm>
#include <cstring>

#include "btnfile/cp932.h"

namespace keyvane::btnfile {
namespace {

// Turns the file's bytes, in place, into what text-mode reading delivers: all before the first
// 0x1A, less every CR that stands right before an LF.
void ToTextMode(std::string& bytes) {
  bytes.resize(std::min(bytes.size(), bytes.find('\x1a')));
  std::size_t kept = bytes.find("\r\n");
  if (kept == std::string::npos) return;
  for (std::size_t from = kept + 1;;) {  // from: the LF after a dropped CR
    const std::size_t cr = bytes.find("\r\n", from);
    const std::size_t end = cr == std::string::npos ? bytes.size() : cr;
    std::memmove(bytes.data() + kept, bytes.data() + from, end - from);  // moves left: kept < from
    kept += end - from;
    if (cr == std::string::npos) break;
    from = cr + 1;
  }
  bytes.resize(kept);
}

// A blank is dropped when the one before it was a blank too and it stands outside double
// quotes: a blank inside quotes is never dropped, and no blank can follow one inside quotes
// outside them without a double quote between.
void CleanLineInto(std::string_view line, std::string& out) {
  out.resize(line.size());  // never longer
  char* next = out.data();
  bool inQuotes = false;
  char previous = '\0';
  for (char c : line) {
    if (c == '\t') c = ' ';
    inQuotes ^= c == '"';
    *next = c;
    next += !(c == ' ' && previous == ' ' && !inQuotes);
    previous = c;
  }
  out.resize(static_cast<std::size_t>(next - out.data()));
}

bool QuoteOpenBefore(std::string_view text, std::size_t end) {
  return std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(end), '"') % 2 != 0;
}

// "U+1F600", or nothing for bytes that are no character at all.
std::string CodePointName(char32_t c) {
  if (c == MissingCharacter::kNotACharacter) return {};
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string digits;
  for (; c != 0 || digits.size() < 4; c >>= 4) digits.insert(digits.begin(), kHex[c & 0xF]);
  return "U+" + digits;
}

// Tells the characters that code page 932 lacks among the `length` kept bytes at `column` of a
// piece of `line`, once for each file line: `next` walks the conversion's list once over the
// file, `lineFinding` is the index of the finding already made for `line`, if any.
void TellMissingCharacters(const std::vector<MissingCharacter>& missing, std::size_t& next, int line,
                           std::size_t column, std::size_t length, std::vector<Finding>& findings,
                           std::size_t& lineFinding) {
  const auto before = [](const MissingCharacter& m, int l, std::size_t c) {
    return m.line < l || (m.line == l && m.column < c);
  };
  while (next < missing.size() && before(missing[next], line, column)) ++next;
  const std::size_t first = next;
  while (next < missing.size() && before(missing[next], line, column + length)) ++next;
  if (next == first) return;
  const int count = static_cast<int>(next - first);
  if (lineFinding < findings.size() && findings[lineFinding].line == line) {
    findings[lineFinding].number += count;
    return;
  }
  lineFinding = findings.size();
  Finding& f = findings.emplace_back(FindingKind::CharacterNotInCodePage, line);
  f.number = count;
  f.text = CodePointName(missing[first].character);
}

std::string_view Trim(std::string_view t) {
  while (!t.empty() && static_cast<unsigned char>(t.front()) < 33) t.remove_prefix(1);
  while (!t.empty() && static_cast<unsigned char>(t.back()) < 33) t.remove_suffix(1);
  return t;
}

}  // namespace

std::string CleanLine(std::string_view line) {
  std::string out;
  out.reserve(line.size());
  CleanLineInto(line, out);
  return out;
}

int ReadButtonFile(platform::Files& files, const std::string& path, LineStore& store, std::vector<Finding>* findings,
                   FileEncoding* encoding) {
  std::string text;
  if (!files.ReadAll(path, text)) return -1;
  std::vector<MissingCharacter> missing;
  const FileEncoding readAs = ToCodePage932(text, findings != nullptr ? &missing : nullptr);
  if (encoding != nullptr) *encoding = readAs;
  // Only CRs before LFs go: a column within a line stays where the conversion counted it.
  ToTextMode(text);
  std::string cleaned;  // reused from piece to piece
  int fileLine = 1;
  std::size_t lineStart = 0;  // where fileLine starts in text
  int lastCutLine = 0;        // the file line whose cut was reported last
  bool previousFull = false;
  std::size_t nextMissing = 0;
  std::size_t missingFinding = static_cast<std::size_t>(-1);
  for (std::size_t start = 0; start < text.size();) {
    // One read: up to and including the next LF, but at most 1022 bytes.
    std::string_view piece = std::string_view(text).substr(start, kMaxPieceBytes);
    const std::size_t lf = piece.find('\n');  // looked for within the piece only, however long the line
    const bool full = lf == std::string_view::npos && piece.size() == kMaxPieceBytes;
    if (lf != std::string_view::npos) piece = piece.substr(0, lf + 1);
    const std::size_t end = start + piece.size();
    piece = piece.substr(0, piece.find('\0'));  // a piece's text ends at its first zero byte
    const int pieceLine = fileLine;
    const std::size_t pieceColumn = start - lineStart;
    const bool continues = previousFull;
    start = end;
    previousFull = full;
    if (!full) {
      ++fileLine;
      lineStart = end;
    }

    // A comment or a blank line is recognised in the first column only.
    if (piece.empty() || piece[0] == '\'' || piece[0] == '\n') continue;
    // Everything from the first apostrophe on is dropped: cleaning keeps apostrophes and
    // double quotes and works from left to right, so the part before it is cleaned alone.
    bool quotedApostrophe = false;
    if (const std::size_t apostrophe = piece.find('\''); apostrophe != std::string_view::npos) {
      quotedApostrophe = findings != nullptr && QuoteOpenBefore(piece, apostrophe);
      piece = piece.substr(0, apostrophe);
    }
    CleanLineInto(piece, cleaned);
    std::string line(Trim(cleaned));
    cp932::ToUpperInPlace(line);
    store.Add(std::move(line), pieceLine);
    if (findings == nullptr) continue;
    // A full piece followed by its bare LF was not really cut: the LF piece is dropped.
    const bool cutHere = full && !(start < text.size() && text[start] == '\n');
    if ((cutHere || continues) && pieceLine != lastCutLine) {
      lastCutLine = pieceLine;
      findings->emplace_back(FindingKind::LongLineCut, pieceLine);
    }
    TellMissingCharacters(missing, nextMissing, pieceLine, pieceColumn, piece.size(), *findings, missingFinding);
    if (quotedApostrophe) findings->emplace_back(FindingKind::ApostropheInQuotes, pieceLine);
  }
  return 0;
}

LoadedButtons LoadButtonFile(platform::Files& files, const std::string& buttonFilePath) {
  LoadedButtons loaded;
  loaded.fileRead = ReadButtonFile(files, buttonFilePath, loaded.lines, &loaded.findings, &loaded.encoding) == 0;
  const std::size_t readFindings = loaded.findings.size();
  loaded.maps = BuildMapTable(loaded.lines, loaded.fileRead ? &loaded.findings : nullptr, &loaded.readTrace);
  // Both lists are in line order; on one line, what the reading found comes first.
  std::inplace_merge(loaded.findings.begin(), loaded.findings.begin() + static_cast<std::ptrdiff_t>(readFindings),
                     loaded.findings.end(), [](const Finding& a, const Finding& b) { return a.line < b.line; });
  return loaded;
}

}  // namespace keyvane::btnfile

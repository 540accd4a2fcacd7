#include "btnfile/loader.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "btnfile/cp932.h"
#include "btnfile/line_cleaning.h"

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

// Tells the characters that code page 932 lacks among the kept bytes of each piece, once for
// each file line. The pieces come in file order, so one walk over the conversion's list serves.
class MissingCharacterTeller {
 public:
  MissingCharacterTeller(const std::vector<MissingCharacter>& missing, std::vector<Finding>& findings)
      : missing_(missing), findings_(findings) {}

  // The `length` kept bytes at `column` of a piece of `line`.
  void Tell(int line, std::size_t column, std::size_t length) {
    SkipBefore(line, column);
    const std::size_t first = next_;
    SkipBefore(line, column + length);
    if (next_ == first) return;
    const int count = static_cast<int>(next_ - first);
    if (lineFinding_ < findings_.size() && findings_[lineFinding_].line == line) {
      findings_[lineFinding_].number += count;  // a later piece of the same line
      return;
    }
    lineFinding_ = findings_.size();
    Finding& f = findings_.emplace_back(FindingKind::CharacterNotInCodePage, line);
    f.number = count;
    f.text = CodePointName(missing_[first].character);
  }

 private:
  void SkipBefore(int line, std::size_t column) {
    while (next_ < missing_.size() &&
           (missing_[next_].line < line || (missing_[next_].line == line && missing_[next_].column < column))) {
      ++next_;
    }
  }

  const std::vector<MissingCharacter>& missing_;
  std::vector<Finding>& findings_;
  std::size_t next_ = 0;                                    // the first not yet passed
  std::size_t lineFinding_ = static_cast<std::size_t>(-1);  // the finding of the last line told
};

// One read of text-mode reading: up to and including the next LF, but at most 1022 bytes.
struct Piece {
  std::string_view text;  // up to its first zero byte
  int line;               // the file line it belongs to
  std::size_t column;     // where it starts within that line
  bool cut;               // a line longer than a piece was cut here or before
};

// Hands out the pieces of a text-mode text in order.
class PieceReader {
 public:
  explicit PieceReader(std::string_view text) : text_(text) {}

  std::optional<Piece> Next() {
    if (start_ >= text_.size()) return std::nullopt;
    std::string_view bytes = text_.substr(start_, kMaxPieceBytes);
    const std::size_t lf = bytes.find('\n');  // looked for within the piece only, however long the line
    const bool full = lf == std::string_view::npos && bytes.size() == kMaxPieceBytes;
    if (lf != std::string_view::npos) bytes = bytes.substr(0, lf + 1);
    Piece piece{bytes.substr(0, bytes.find('\0')), line_, start_ - lineStart_, previousFull_};
    start_ += bytes.size();
    // A full piece followed by its bare LF was not really cut: the LF piece is dropped.
    piece.cut = piece.cut || (full && !(start_ < text_.size() && text_[start_] == '\n'));
    previousFull_ = full;
    if (!full) {
      ++line_;
      lineStart_ = start_;
    }
    return piece;
  }

 private:
  std::string_view text_;
  std::size_t start_ = 0;
  int line_ = 1;
  std::size_t lineStart_ = 0;  // where line_ starts in text_
  bool previousFull_ = false;
};

}  // namespace

std::optional<FileEncoding> ReadButtonFile(platform::Files& files, const std::string& path, LineStore& store,
                                           std::vector<Finding>* findings) {
  std::string text;
  if (!files.ReadAll(path, text)) return std::nullopt;
  std::vector<MissingCharacter> missing;
  const FileEncoding encoding = ToCodePage932(text, findings != nullptr ? &missing : nullptr);
  // Only CRs before LFs go: a column within a line stays where the conversion counted it.
  ToTextMode(text);
  std::vector<Finding> unused;
  MissingCharacterTeller missingCharacters(missing, findings != nullptr ? *findings : unused);
  std::string cleaned;  // reused from piece to piece
  int lastCutLine = 0;  // the file line whose cut was reported last
  PieceReader pieces(text);
  while (const std::optional<Piece> read = pieces.Next()) {
    std::string_view piece = read->text;
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
    std::string original(cp932::TrimBlanks(cleaned));
    std::string line = original;
    cp932::ToUpperInPlace(line);
    store.Add(std::move(line), std::move(original), read->line);
    if (findings == nullptr) continue;
    if (read->cut && read->line != lastCutLine) {
      lastCutLine = read->line;
      findings->emplace_back(FindingKind::LongLineCut, read->line);
    }
    missingCharacters.Tell(read->line, read->column, piece.size());
    if (quotedApostrophe) findings->emplace_back(FindingKind::ApostropheInQuotes, read->line);
  }
  return encoding;
}

LoadedButtons LoadButtonFile(platform::Files& files, const std::string& buttonFilePath) {
  LoadedButtons loaded;
  const std::optional<FileEncoding> encoding = ReadButtonFile(files, buttonFilePath, loaded.lines, &loaded.findings);
  loaded.fileRead = encoding.has_value();
  loaded.encoding = encoding.value_or(FileEncoding::Cp932);
  const std::size_t readFindings = loaded.findings.size();
  loaded.maps = BuildMapTable(loaded.lines, loaded.fileRead ? &loaded.findings : nullptr, &loaded.readTrace);
  // Both lists are in line order; on one line, what the reading found comes first.
  std::inplace_merge(loaded.findings.begin(), loaded.findings.begin() + static_cast<std::ptrdiff_t>(readFindings),
                     loaded.findings.end(), [](const Finding& a, const Finding& b) { return a.line < b.line; });
  return loaded;
}

}  // namespace keyvane::btnfile

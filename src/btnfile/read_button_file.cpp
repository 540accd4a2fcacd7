#include "btnfile/read_button_file.h"

#include "btnfile/cp932.h"

namespace keyvane::btnfile {

std::vector<Piece> SplitTextModePieces(std::string_view raw) {
  std::vector<Piece> pieces;
  int fileLine = 1;
  std::string text;
  auto finish = [&](bool full) {
    const std::size_t zero = text.find('\0');
    if (zero != std::string::npos) text.resize(zero);  // a piece's text ends at its first zero byte
    pieces.push_back(Piece{std::move(text), fileLine, full});
    text.clear();
    if (!full) ++fileLine;
  };
  std::size_t size = 0;  // bytes in the piece being filled, zero bytes included
  for (std::size_t i = 0; i < raw.size(); ++i) {
    const char c = raw[i];
    if (c == '\x1a') break;  // the text-mode end-of-file mark
    if (c == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
    text.push_back(c);
    if (c == '\n') {
      finish(false);
      size = 0;
    } else if (++size == kMaxPieceBytes) {
      finish(true);
      size = 0;
    }
  }
  if (size > 0) finish(false);
  return pieces;
}

std::string CleanLine(std::string_view line) {
  std::string out;
  out.reserve(line.size());
  bool inQuotes = false;
  bool lastWasBlank = false;
  for (char c : line) {
    if (c == '\t') c = ' ';
    if (c == '"') inQuotes = !inQuotes;
    if (inQuotes) lastWasBlank = false;
    if (c == ' ') {
      if (!lastWasBlank) out.push_back(c);
      lastWasBlank = true;
    } else {
      out.push_back(c);
      lastWasBlank = false;
    }
  }
  return out;
}

namespace {

bool QuoteOpenBefore(std::string_view text, std::size_t end) {
  bool inQuotes = false;
  for (std::size_t i = 0; i < end; ++i) {
    if (text[i] == '"') inQuotes = !inQuotes;
  }
  return inQuotes;
}

std::string_view Trim(std::string_view t) {
  while (!t.empty() && static_cast<unsigned char>(t.front()) < 33) t.remove_prefix(1);
  while (!t.empty() && static_cast<unsigned char>(t.back()) < 33) t.remove_suffix(1);
  return t;
}

}  // namespace

bool KeepPiece(const Piece& piece, std::string& kept, bool& quotedApostrophe) {
  const std::string& text = piece.text;
  if (text.empty() || text[0] == '\'' || text[0] == '\n') return false;
  std::string t = CleanLine(text);
  quotedApostrophe = false;
  const std::size_t apostrophe = t.find('\'');
  if (apostrophe != std::string::npos) {
    quotedApostrophe = QuoteOpenBefore(t, apostrophe);
    t.resize(apostrophe);
  }
  kept = cp932::ToUpper(Trim(t));
  return true;
}

int ReadButtonFile(platform::Files& files, const std::string& path, LineStore& store) {
  std::string raw;
  if (!files.ReadAll(path, raw)) return -1;
  const std::vector<Piece> pieces = SplitTextModePieces(raw);
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    std::string kept;
    bool quotedApostrophe = false;
    if (!KeepPiece(pieces[i], kept, quotedApostrophe)) continue;
    // A full piece followed by its bare LF was not really cut: the LF piece is dropped.
    const bool cutHere = pieces[i].full && !(i + 1 < pieces.size() && pieces[i + 1].text == "\n");
    const bool continues = i > 0 && pieces[i - 1].full;
    store.Add(std::move(kept), LineOrigin{pieces[i].fileLine, cutHere || continues, quotedApostrophe});
  }
  return 0;
}

}  // namespace keyvane::btnfile

#include <gtest/gtest.h>

#include "btnfile/line_cleaning.h"
#include "btnfile/loader.h"
#include "support/memory_files.h"
#include "support/sjis.h"

namespace keyvane::btnfile {
namespace {

using testing::MemoryFiles;
using testing::Recode;
using testing::Sjis;

std::vector<std::string> StoredLines(const std::string& fileBytes) {
  MemoryFiles files;
  files.files["dovaD.BTN"] = fileBytes;
  LineStore store;
  EXPECT_TRUE(ReadButtonFile(files, "dovaD.BTN", store).has_value());
  return store.texts;
}

using Lines = std::vector<std::string>;

TEST(TextModeReading, CrLfAndLfGiveTheSameLines) {
  EXPECT_EQ(StoredLines("#main\r\nesc key esc\r\n"), StoredLines("#main\nesc key esc\n"));
  EXPECT_EQ(StoredLines("#main\r\nesc key esc\r\n"), (Lines{"#MAIN", "ESC KEY ESC"}));
}

TEST(TextModeReading, LoneCarriageReturnIsKeptUntilTrimmed) {
  // A CR not followed by LF stays in the line; inside a line it is an ordinary byte.
  EXPECT_EQ(StoredLines("A\rB KEY C\n"), (Lines{"A\rB KEY C"}));
}

TEST(TextModeReading, CtrlZEndsTheFile) {
  EXPECT_EQ(StoredLines("#A\nX KEY B\n\x1a#B\nY KEY C\n"), (Lines{"#A", "X KEY B"}));
}

TEST(TextModeReading, LastLineWithoutLineEndIsRead) { EXPECT_EQ(StoredLines("#A\nX KEY B"), (Lines{"#A", "X KEY B"})); }

TEST(TextModeReading, PieceEndsAtItsFirstZeroByte) {
  const std::string file = std::string("X KEY A\0garbage\n", 16) + std::string("\0rest\n", 6) + "Y\n";
  EXPECT_EQ(StoredLines(file), (Lines{"X KEY A", "Y"}));
}

// The kinds of the findings the reading reports, with their file lines.
std::vector<std::pair<FindingKind, int>> ReadingFindings(const std::string& fileBytes) {
  MemoryFiles files;
  files.files["f"] = fileBytes;
  LineStore store;
  std::vector<Finding> findings;
  ReadButtonFile(files, "f", store, &findings);
  std::vector<std::pair<FindingKind, int>> found;
  for (const Finding& f : findings) found.emplace_back(f.kind, f.line);
  return found;
}

TEST(TextModeReading, LineOf1022BytesStaysOneLine) {
  const std::string line(1022, 'A');
  EXPECT_EQ(StoredLines(line + "\r\n"), (Lines{line}));
  EXPECT_TRUE(ReadingFindings(line + "\r\n").empty());
}

TEST(TextModeReading, LineOf1023BytesBecomesTwoLinesOfTheSameFileLine) {
  const std::string file = std::string(1022, 'A') + "B\nNEXT\n";
  MemoryFiles files;
  files.files["f"] = file;
  LineStore store;
  ReadButtonFile(files, "f", store);
  EXPECT_EQ(store.texts, (Lines{std::string(1022, 'A'), "B", "NEXT"}));
  EXPECT_EQ(store.fileLines, (std::vector<int>{1, 1, 2}));
  // The cut is reported once, on the line of the file.
  EXPECT_EQ(ReadingFindings(file), (std::vector<std::pair<FindingKind, int>>{{FindingKind::LongLineCut, 1}}));
}

TEST(TextModeReading, PieceLimitCountsBytesAfterCrLfTranslation) {
  // 1021 bytes, CR LF: after translation 1022 bytes with the LF, so one piece.
  EXPECT_EQ(StoredLines(std::string(1021, 'A') + "\r\nB\n"), (Lines{std::string(1021, 'A'), "B"}));
}

TEST(TextModeReading, MissingFileLeavesTheStoreEmpty) {
  MemoryFiles files;
  LineStore store;
  EXPECT_EQ(ReadButtonFile(files, "nowhere", store), std::nullopt);
  EXPECT_EQ(store.size(), 0u);
}

TEST(TextModeReading, EmptyFileReadsToItsEnd) { EXPECT_EQ(StoredLines(""), Lines{}); }

TEST(TextModeReading, LineNumbersCountDroppedLines) {
  MemoryFiles files;
  files.files["f"] = "' note\n\n#A\n  \nX KEY B\n";
  LineStore store;
  ReadButtonFile(files, "f", store);
  EXPECT_EQ(store.fileLines, (std::vector<int>{3, 4, 5}));
}

TEST(DroppedLines, CommentAndBlankOnlyInTheFirstColumn) {
  EXPECT_EQ(StoredLines("' comment\n\n\r\n"), Lines{});
  // Blanks before the apostrophe, or blanks alone, leave an empty kept line.
  EXPECT_EQ(StoredLines("  ' comment\n   \n\t\n"), (Lines{"", "", ""}));
}

TEST(DroppedLines, FileOfCommentsAndBlanksDefinesNothing) { EXPECT_EQ(StoredLines("'a\n\n'b\r\n\r\n"), Lines{}); }

TEST(Cleaning, TabsBecomeBlanksAndRunsOutsideQuotesShrink) {
  EXPECT_EQ(StoredLines("\tA\t\tKEY  \"X  Y\"   B\n"), (Lines{"A KEY \"X  Y\" B"}));
}

TEST(Cleaning, CleanLineKeepsQuotesAndTheLineEnd) {
  const auto CleanLine = [](std::string_view line) {
    std::string out = "left from the line before";
    CleanLineInto(line, out);
    return out;
  };
  EXPECT_EQ(CleanLine("a  b\t\"c  d\"  e\n"), "a b \"c  d\" e\n");
  EXPECT_EQ(CleanLine(""), "");
}

TEST(Cleaning, UnclosedQuoteKeepsEveryLaterBlank) { EXPECT_EQ(StoredLines("X \"A  B   C\n"), (Lines{"X \"A  B   C"})); }

TEST(Cleaning, CommentIsCutAndTrailingBlanksTrimmed) {
  EXPECT_EQ(StoredLines("a key b ' a note\n"), (Lines{"A KEY B"}));
}

TEST(Cleaning, ApostropheBetweenQuotesStillCutsTheLine) {
  const std::string file = "X KEY \"DON'T\" Y\nZ KEY 'A\n";
  EXPECT_EQ(StoredLines(file), (Lines{"X KEY \"DON", "Z KEY"}));
  EXPECT_EQ(ReadingFindings(file), (std::vector<std::pair<FindingKind, int>>{{FindingKind::ApostropheInQuotes, 1}}));
}

TEST(Cleaning, LeadingBlankBeforeAHeaderIsTrimmed) { EXPECT_EQ(StoredLines(" #main\n"), (Lines{"#MAIN"})); }

TEST(Cleaning, ControlCharactersAtBothEndsAreTrimmed) {
  EXPECT_EQ(StoredLines("\x01\x1f X KEY A \x7f\x0b\n"), (Lines{"X KEY A \x7f"}));
}

TEST(UpperCasing, AsciiAndFullWidthLettersBecomeCapitalsKanaStays) {
  EXPECT_EQ(StoredLines(Sjis("ａｂｃ あいう αβ жз abc\n")), (Lines{Sjis("ＡＢＣ あいう ΑΒ ЖЗ ABC")}));
}

TEST(UpperCasing, TrailBytesOfDoubleByteCharactersAreNotLetters) {
  // ヂ is 0x83 0x61 and ペ is 0x83 0x79: their trail bytes look like a and y but must not change.
  const std::string kana = Sjis("ヂペ表a");
  EXPECT_EQ(StoredLines(kana + "\n"), (Lines{Sjis("ヂペ表A")}));
}

TEST(Encodings, SameFileInEveryEncodingGivesTheSameLinesMapsAndTrace) {
  // Kana and kanji captions, a comment, lower-case full-width letters, a line that is cut after
  // its 1022nd byte only once it is code page 932, and text after a Ctrl+Z.
  std::string longCaption;
  for (int i = 0; i < 520; ++i) longCaption += "漢";
  const std::string text =
      "#MAIN\r\n再 KEY A\r\nかな JP J_KANA\r\n漢字 KEY B\r\n' ｺﾒﾝﾄ\r\nｶﾅ KEY C\r\n#j_kana\r\n"
      "ａｂｃ BASE MAIN\r\n" +
      longCaption + " KEY D\r\n\x1a#AFTER\r\n";
  struct Saved {
    const char* name;
    std::string bytes;
    FileEncoding encoding;
  };
  const std::vector<Saved> saved = {
      {"code page 932", Sjis(text), FileEncoding::Cp932},
      {"UTF-8", text, FileEncoding::Utf8},
      {"UTF-8 with a mark", "\xEF\xBB\xBF" + text, FileEncoding::Utf8WithMark},
      {"UTF-16 LE with a mark", "\xFF\xFE" + Recode(text, "UTF-16LE"), FileEncoding::Utf16LeWithMark},
      {"UTF-16 BE with a mark", "\xFE\xFF" + Recode(text, "UTF-16BE"), FileEncoding::Utf16BeWithMark},
  };
  struct Loaded {
    LoadedButtons buttons;
    std::string trace;
    std::vector<std::pair<FindingKind, int>> findings;
  };
  const auto load = [](const std::string& bytes) {
    MemoryFiles files;
    files.files["dovaD.BTN"] = bytes;
    LoadedButtons buttons = LoadButtonFile(files, "dovaD.BTN");
    std::string trace = buttons.readTrace;
    Loaded loaded{std::move(buttons), std::move(trace), {}};
    for (const Finding& f : loaded.buttons.findings) loaded.findings.emplace_back(f.kind, f.line);
    return loaded;
  };
  const Loaded expected = load(saved[0].bytes);
  ASSERT_EQ(expected.buttons.maps.table.size(), 2u);
  EXPECT_EQ(expected.buttons.maps.table.at("MAIN").positions[0]->caption, Sjis("再"));
  EXPECT_EQ(expected.buttons.maps.table.at("J_KANA").positions[0]->caption, "ABC");
  EXPECT_EQ(expected.buttons.lines.fileLines, (std::vector<int>{1, 2, 3, 4, 6, 7, 8, 9, 9}));
  ASSERT_FALSE(expected.findings.empty());
  EXPECT_EQ(expected.findings[0], std::pair(FindingKind::LongLineCut, 9));
  for (const Saved& file : saved) {
    SCOPED_TRACE(file.name);
    const Loaded loaded = load(file.bytes);
    EXPECT_EQ(loaded.buttons.encoding, file.encoding);
    EXPECT_EQ(loaded.buttons.lines.texts, expected.buttons.lines.texts);
    EXPECT_EQ(loaded.buttons.lines.fileLines, expected.buttons.lines.fileLines);
    EXPECT_EQ(loaded.buttons.maps.table, expected.buttons.maps.table);
    EXPECT_EQ(loaded.trace, expected.trace);
    EXPECT_EQ(loaded.findings, expected.findings);
  }
}

TEST(Encodings, WhatDecidesTheEncoding) {
  const auto encodingOf = [](const std::string& bytes) {
    MemoryFiles files;
    files.files["f"] = bytes;
    LineStore store;
    const FileEncoding encoding = ReadButtonFile(files, "f", store).value();
    return std::pair(encoding, store.texts);
  };
  using Read = std::pair<FileEncoding, Lines>;
  // ASCII is the same in both: code page 932, as always.
  EXPECT_EQ(encodingOf("#a\n"), (Read{FileEncoding::Cp932, {"#A"}}));
  // Code page 932 that is not UTF-8, and a stray UTF-8 lead byte: the bytes as they are.
  EXPECT_EQ(encodingOf(Sjis("#かな\n")), (Read{FileEncoding::Cp932, {Sjis("#かな")}}));
  EXPECT_EQ(encodingOf("#\xE3\x81\n"), (Read{FileEncoding::Cp932, {"#\xE3\x81"}}));
  // An overlong form and an encoded surrogate are no UTF-8.
  EXPECT_EQ(encodingOf("#\xC0\xAF\n").first, FileEncoding::Cp932);
  EXPECT_EQ(encodingOf("#\xED\xA0\x80\n").first, FileEncoding::Cp932);
  // A mark alone is an empty file; the mark is dropped before the first-column tests.
  EXPECT_EQ(encodingOf("\xEF\xBB\xBF"), (Read{FileEncoding::Utf8WithMark, {}}));
  EXPECT_EQ(encodingOf("\xEF\xBB\xBF' note\n#a\n"), (Read{FileEncoding::Utf8WithMark, {"#A"}}));
  // UTF-16 without a mark is not recognised.
  EXPECT_EQ(encodingOf(std::string("#\0a\0\n\0", 6)).first, FileEncoding::Cp932);
  // What code page 932 lacks is 〓, an emoji and a byte that is no UTF-8 alike.
  EXPECT_EQ(encodingOf("\xEF\xBB\xBF😀\x80 key a\n"), (Read{FileEncoding::Utf8WithMark, {Sjis("〓〓 KEY A")}}));
  // The JIS names of 〜 and − are the code page's ～ and －; ¥ is 0x5C.
  EXPECT_EQ(encodingOf("\xEF\xBB\xBF〜−¥\n"), (Read{FileEncoding::Utf8WithMark, {Sjis("～－") + "\\"}}));
}

}  // namespace
}  // namespace keyvane::btnfile

#include "btnfile/key_repeats.h"

#include <algorithm>

#include "btnfile/key_names.h"
#include "btnfile/map_parser.h"

namespace keyvane::btnfile {

namespace {

// A delay or a rate: a few digits are enough for either.
std::optional<std::uint32_t> NumberIn(std::string_view word, std::uint32_t lowest, std::uint32_t highest) {
  return WholeNumberIn(word, lowest, highest, 5);
}

bool HoldsMouseButton(const KeySequence& keys) { return std::any_of(keys.begin(), keys.end(), IsMouseButtonCode); }

Finding With(FindingKind kind, int fileLine, std::string_view text, int number = 0) {
  Finding f(kind, fileLine);
  f.text = text;
  f.number = number;
  return f;
}

}  // namespace

std::optional<Finding> TakeKeyRepeatLine(std::string_view line, int fileLine, KeyRepeatTable& table) {
  const LeadingWords scan = ScanWords(line, ' ');
  if (scan.count == 0) return std::nullopt;
  const auto& w = scan.words;
  if (scan.count > 3) return With(FindingKind::RepeatLineForm, fileLine, line);
  const KeyFieldResult field = ParseKeyField(w[0]);
  if (!field.ok() || KeyCount(field.keys) == 0) {
    Finding f = With(FindingKind::RepeatLineForm, fileLine, line);
    f.detail = field.badToken;
    return f;
  }
  // A button that is held would click again and again where the cursor is: on the panel.
  if (HoldsMouseButton(field.keys)) return With(FindingKind::RepeatMouseButton, fileLine, w[0]);
  KeyRepeatLine taken{field.keys, {}, fileLine};
  if (scan.count >= 2) {
    const auto delay = NumberIn(w[1], kShortestRepeatDelay, kLongestRepeatDelay);
    if (!delay) return With(FindingKind::RepeatTimeOutOfRange, fileLine, w[1], 0);
    taken.timing.delayMilliseconds = *delay;
  }
  if (scan.count == 3) {
    const auto rate = NumberIn(w[2], kLowestRepeatRate, kHighestRepeatRate);
    if (!rate) return With(FindingKind::RepeatTimeOutOfRange, fileLine, w[2], 1);
    taken.timing.perSecond = *rate;
  }
  const auto earlier =
      std::find_if(table.begin(), table.end(), [&](const KeyRepeatLine& r) { return r.keys == field.keys; });
  if (earlier != table.end()) return With(FindingKind::RepeatKeysAgain, fileLine, w[0], earlier->line);
  table.push_back(taken);
  return std::nullopt;
}

std::vector<Finding> MarkRepeatingButtons(MapTable& maps, const KeyRepeatTable& repeats) {
  std::vector<Finding> unsent;
  // The table holds each keys once, and has 17 lines at most.
  for (const KeyRepeatLine& line : repeats) {
    bool sent = false;
    for (auto& [name, map] : maps) {
      for (std::optional<ButtonDef>& def : map.positions) {
        if (!def || def->kind != ActionKind::KEY || def->keys != line.keys) continue;
        def->repeat = line.timing;
        sent = true;
      }
    }
    if (!sent) unsent.push_back(With(FindingKind::RepeatKeysOnNoButton, line.line, KeySequenceText(line.keys)));
  }
  return unsent;
}

}  // namespace keyvane::btnfile

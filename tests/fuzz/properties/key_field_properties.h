#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "btnfile/button_def.h"
#include "btnfile/key_names.h"
#include "btnfile/map_parser.h"
#include "fuzz/properties/failures.h"

namespace keyvane::fuzz {

namespace detail {

// The elements of a key field, split at "+" outside double quotes, counted on their own so the
// parser's split is not taken on trust.
inline std::vector<std::string> KeyFieldElements(std::string_view field) {
  std::vector<std::string> elements;
  std::string current;
  bool inQuotes = false;
  for (const char c : field) {
    if (c == '"') inQuotes = !inQuotes;
    if (c == '+' && !inQuotes) {
      elements.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) elements.push_back(current);
  return elements;
}

inline bool CanBeKeyCode(std::uint8_t code) {
  if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z')) return true;
  const auto table = btnfile::KeyNameTable();
  return std::any_of(table.begin(), table.end(), [code](const btnfile::KeyName& k) { return k.code == code; });
}

}  // namespace detail

// A key field parses to the codes of its non-empty elements in order, or fails as a whole with
// an all-zero sequence; the status says why, and the sequence is terminated unless full.
inline Failures KeyFieldProperties(std::string_view field) {
  Failures f;
  const btnfile::KeyFieldResult r = btnfile::ParseKeyField(field);
  const std::vector<std::string> elements = detail::KeyFieldElements(field);
  const btnfile::KeySequence zero{};
  f.Check(r.elementCount == elements.size(), "element count differs from the split at '+'");
  using Status = btnfile::KeyFieldResult::Status;
  switch (r.status) {
    case Status::NoElements:
      f.Check(elements.empty(), "NoElements for a field with elements");
      f.Check(r.keys == zero, "a failed field left codes");
      break;
    case Status::TooManyElements:
      f.Check(elements.size() > btnfile::kMaxKeyElements, "TooManyElements for at most 100 elements");
      f.Check(r.keys == zero, "a failed field left codes");
      break;
    case Status::UnknownName:
      f.Check(!elements.empty() && elements.size() <= btnfile::kMaxKeyElements, "UnknownName with a bad count");
      f.Check(!r.badToken.empty() && btnfile::LookupKeyName(r.badToken) == 0, "the bad token names a key");
      f.Check(std::find(elements.begin(), elements.end(), r.badToken) != elements.end(),
              "the bad token is not an element of the field");
      f.Check(r.keys == zero, "a failed field left codes");
      break;
    case Status::Ok: {
      f.Check(!elements.empty() && elements.size() <= btnfile::kMaxKeyElements, "Ok with a bad count");
      std::vector<std::uint8_t> expected;
      for (const std::string& e : elements) {
        if (e.empty()) continue;
        expected.push_back(btnfile::LookupKeyName(e));
        f.Check(expected.back() != 0, "Ok although an element names no key");
      }
      const std::size_t count = btnfile::KeyCount(r.keys);
      f.Check(count == expected.size(), "code count differs from the non-empty elements");
      f.Check(std::equal(expected.begin(), expected.end(), r.keys.begin(), r.keys.begin() + count),
              "codes differ from the elements' lookups");
      f.Check(std::all_of(r.keys.begin() + count, r.keys.end(), [](std::uint8_t c) { return c == 0; }),
              "codes after the terminator");
      f.Check(std::all_of(r.keys.begin(), r.keys.begin() + count, detail::CanBeKeyCode),
              "a code that no key name gives");
      // A leading empty element is skipped, so "+" in front changes nothing while it fits.
      if (elements.size() < btnfile::kMaxKeyElements) {
        const btnfile::KeyFieldResult prefixed = btnfile::ParseKeyField("+" + std::string(field));
        f.Check(prefixed.ok() && prefixed.keys == r.keys, "a leading '+' changed the codes");
      }
      break;
    }
  }
  return f;
}

}  // namespace keyvane::fuzz

#pragma once

#include <string_view>

// The names with a meaning of their own: the files beside the program and the maps the
// keyboard treats specially. Spelled here once for the keyboard, the checker and the tests.
namespace keyvane::btnfile {

inline constexpr std::string_view kButtonFileName = "dovaD.BTN";
inline constexpr std::string_view kTraceFileName = "dovaD.STS";
// Where a full trace moves: the same extension, so that it opens the way dovaD.STS does, and a
// name that sorts next to it.
inline constexpr std::string_view kOlderTraceFileName = "dovaD.OLD.STS";

// The page the right mouse button steps through.
inline constexpr std::string_view kRightButtonPageMap = "RIGHT_BTN_PAGE";
// The table of programs and the page each brings when it comes to the front.
inline constexpr std::string_view kAppPageMap = "APP_PAGE";
// The table of key fields whose KEY buttons repeat while held.
inline constexpr std::string_view kKeyRepeatMap = "KEY_REPEAT";
// The page a long right-button hold runs.
inline constexpr std::string_view kSlideCommandMap = "SLIDE_CMD";
// Stands for the default map wherever a map is named. Mixed case, so no name read from the
// button file (upper-cased) can equal it.
inline constexpr std::string_view kDefaultMapAlias = "***DefaultMap***";
// A map whose name starts so opens the target's Japanese input method; any other closes it.
inline constexpr std::string_view kJapaneseMapPrefix = "J_";

}  // namespace keyvane::btnfile

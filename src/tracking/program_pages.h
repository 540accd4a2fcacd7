#pragma once

#include <optional>
#include <string>

#include "btnfile/app_pages.h"
#include "input/map_switcher.h"
#include "platform/desktop.h"
#include "trace/trace_log.h"

namespace keyvane::tracking {

// Pages that follow the program in front (the file's APP_PAGE table). When the program of a new
// target has a line, its map becomes the default and shows, as a BASE press does; when it has
// none, the default the user had before the first such switch comes back. A BASE press meanwhile
// holds until the next change of program. A one-shot (JP) page shown at a change is left alone,
// and that change is spent.
class ProgramPages {
 public:
  ProgramPages(input::MapSwitcher& switcher, platform::Desktop& desktop, trace::TraceLog& log)
      : switcher_(switcher), desktop_(desktop), log_(log) {}

  // The tick took a new target; true when that switched the map (and so set its input method).
  bool TargetTaken(platform::WindowHandle target);

  // A new reading of the file: its table starts afresh, from the default it shows.
  void Forget();

 private:
  void Show(const std::optional<std::string>& program, const std::string& map);

  input::MapSwitcher& switcher_;
  platform::Desktop& desktop_;
  trace::TraceLog& log_;

  bool programSeen_ = false;
  std::optional<std::string> program_;      // the program in front last; none: it has no name
  std::optional<std::string> userDefault_;  // while a program's page is in force
};

}  // namespace keyvane::tracking

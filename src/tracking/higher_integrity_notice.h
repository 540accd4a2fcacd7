#pragma once

#include <set>

#include "platform/desktop.h"
#include "platform/shell.h"
#include "trace/trace_log.h"

namespace keyvane::tracking {

// Tells the user, once per window, that Keyvane cannot type into it. Windows drops the keys, the
// input join and the input-method requests that a program sends to one running with higher
// rights (as administrator, or under another account, while Keyvane does not), and reports
// nothing; it refuses a plain message to it too, and that refusal is what is looked at. Where
// Windows has no such barrier (Windows XP), nothing is told.
class HigherIntegrityNotice {
 public:
  HigherIntegrityNotice(platform::Desktop& desktop, platform::Shell& shell, trace::TraceLog& log)
      : desktop_(desktop), shell_(shell), log_(log) {}

  // A window just became the target: a balloon and a trace line when it is out of Keyvane's reach.
  void TargetTaken(platform::WindowHandle target);

 private:
  platform::Desktop& desktop_;
  platform::Shell& shell_;
  trace::TraceLog& log_;
  std::set<platform::WindowHandle> told_;
};

}  // namespace keyvane::tracking

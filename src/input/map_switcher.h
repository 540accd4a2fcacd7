#pragma once

#include <string_view>

#include "btnfile/map_table.h"
#include "input/map_names.h"
#include "input/slot_table.h"
#include "input/target_state.h"
#include "platform/desktop.h"
#include "platform/input_method.h"
#include "platform/shell.h"
#include "trace/trace_log.h"

namespace keyvane::input {

// Every change of the map shown goes through here: bindings, captions, NowMap and the
// target's input method.
class MapSwitcher {
 public:
  MapSwitcher(const btnfile::MapTable& table, MapNames& names, SlotTable& slots, TargetState& target,
              platform::Shell& shell, platform::InputMethod& ime, platform::Desktop& desktop, trace::TraceLog& log)
      : table_(table),
        names_(names),
        slots_(slots),
        target_(target),
        shell_(shell),
        ime_(ime),
        desktop_(desktop),
        log_(log) {}

  // Binds and captions all fourteen slots, then sets the target's input method for the map.
  void SwitchMap(std::string_view name);

  // Opens the target's input method when the map shown is a "J_" map and closes it for any
  // other: through its context when one is known, else through its IME window, else not at all.
  void SetTargetInputMethod();

  const btnfile::ButtonDef* LookupSlot(std::string_view name, int position) const {
    return input::LookupSlot(table_, names_, name, position);
  }

  MapNames& names() { return names_; }

 private:
  platform::WindowHandle TargetImeWindow();

  const btnfile::MapTable& table_;
  MapNames& names_;
  SlotTable& slots_;
  TargetState& target_;
  platform::Shell& shell_;
  platform::InputMethod& ime_;
  platform::Desktop& desktop_;
  trace::TraceLog& log_;
};

}  // namespace keyvane::input

#pragma once

#include <string_view>

#include "btnfile/button_def.h"
#include "input/map_names.h"
#include "input/slot_table.h"
#include "input/target_state.h"
#include "platform/ime.h"
#include "platform/panels.h"
#include "platform/window_system.h"
#include "trace/trace_log.h"

namespace keyvane::input {

// Every change of the map shown goes through here: bindings, captions, NowMap and the
// target's input method.
class MapSwitcher {
 public:
  MapSwitcher(const btnfile::MapTable& table, MapNames& names, SlotTable& slots, TargetState& target,
              platform::Panels& panels, platform::InputMethod& ime, platform::WindowSystem& windows,
              trace::TraceLog& log)
      : table_(table),
        names_(names),
        slots_(slots),
        target_(target),
        panels_(panels),
        ime_(ime),
        windows_(windows),
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
  platform::Panels& panels_;
  platform::InputMethod& ime_;
  platform::WindowSystem& windows_;
  trace::TraceLog& log_;
};

}  // namespace keyvane::input

#pragma once

#include <string_view>

#include "btnfile/map_table.h"
#include "input/map_names.h"
#include "input/slot_table.h"
#include "input/target_state.h"
#include "platform/ime.h"
#include "platform/panels.h"
#include "trace/trace_log.h"

namespace keyvane::input {

// Every change of the map shown goes through here: bindings, captions, NowMap and the
// target's input method.
class MapSwitcher {
 public:
  MapSwitcher(const btnfile::MapTable& table, MapNames& names, SlotTable& slots, TargetState& target,
              platform::Panels& panels, platform::InputMethod& ime, trace::TraceLog& log)
      : table_(table), names_(names), slots_(slots), target_(target), panels_(panels), ime_(ime), log_(log) {}

  // Binds and captions all fourteen slots, then opens the input method for a "J_" map
  // and closes it for any other, when a context is known.
  void SwitchMap(std::string_view name);

  const btnfile::ButtonDef* LookupSlot(std::string_view name, int position) const {
    return input::LookupSlot(table_, names_, name, position);
  }

  MapNames& names() { return names_; }

 private:
  void SetInputMethodForNowMap();

  const btnfile::MapTable& table_;
  MapNames& names_;
  SlotTable& slots_;
  TargetState& target_;
  platform::Panels& panels_;
  platform::InputMethod& ime_;
  trace::TraceLog& log_;
};

}  // namespace keyvane::input

#include "input/map_switcher.h"

namespace keyvane::input {

void MapSwitcher::SwitchMap(std::string_view name) {
  for (int position = 0; position < btnfile::kShownPositions; ++position) {
    const btnfile::ButtonDef* def = LookupSlot(name, position);
    const int slot = SlotForPosition(position);
    slots_.definitions[static_cast<std::size_t>(slot)] = def;
    const SlotButton button = ButtonOfSlot(slot);
    const bool shown = def != nullptr && def->kind != btnfile::ActionKind::NONE;
    panels_.SetCaption(button.panel, button.row, shown ? std::string_view(def->caption) : std::string_view());
  }
  names_.nowMap = ResolveMapName(names_, name);
  if (target_.targetImeContext != 0) SetInputMethodForNowMap();
}

void MapSwitcher::SetInputMethodForNowMap() {
  const std::string_view prefix = std::string_view(names_.nowMap).substr(0, 2);
  std::string& pending = log_.PendingTrace();
  pending.assign("NowMap=");
  pending.append(names_.nowMap);
  pending.append(" SW ");
  pending.append(prefix);
  pending.append("\n");
  log_.AppendTrace();

  const bool japanese = prefix == "J_";
  ime_.SetOpenStatus(target_.targetImeContext, japanese);
  log_.Write(japanese ? "Japan\n" : "USA\n");
  ReleaseTargetImeContext(target_, ime_);
}

}  // namespace keyvane::input

#include "input/map_switcher.h"

#include "btnfile/special_names.h"
#include "input/input_window.h"

namespace keyvane::input {

namespace {

const btnfile::ButtonDef* DefinitionAt(const btnfile::MapTable& table, std::string_view name, int position) {
  const btnfile::ButtonMap* map = btnfile::FindMap(table, name);
  if (map == nullptr) return nullptr;
  const auto& slot = map->positions[static_cast<std::size_t>(position)];
  return slot ? &*slot : nullptr;
}

}  // namespace

std::string_view ResolveMapName(const PageState& pages, std::string_view name) {
  return name == btnfile::kDefaultMapAlias ? std::string_view(pages.defaultMap) : name;
}

const btnfile::ButtonDef* LookupSlot(const btnfile::MapTable& table, const PageState& pages, std::string_view name,
                                     int position) {
  if (position < 0 || position >= btnfile::kShownPositions) return nullptr;
  // An alias that stands for itself names no map: the fallback map fills every position.
  if (const btnfile::ButtonDef* own = DefinitionAt(table, ResolveMapName(pages, name), position)) return own;
  return DefinitionAt(table, pages.fallbackMap, position);
}

void MapSwitcher::TakeMaps(std::shared_ptr<const btnfile::BuiltMaps> maps) {
  slots_.definitions.fill(nullptr);
  maps_ = std::move(maps);
  pages_.defaultMap = maps_->defaultMapName;
  pages_.fallbackMap = maps_->fallbackMapName;
}

void MapSwitcher::ShowDefault() { ShowMap(btnfile::kDefaultMapAlias); }

void MapSwitcher::MakeDefaultAndShow(std::string_view name) {
  pages_.defaultMap = std::string(name);
  ShowMap(name);
}

void MapSwitcher::ShowMap(std::string_view name) {
  for (int position = 0; position < btnfile::kShownPositions; ++position) {
    const btnfile::ButtonDef* def = LookupSlot(name, position);
    const int slot = SlotForPosition(position);
    slots_.definitions[static_cast<std::size_t>(slot)] = def;
    const SlotButton button = ButtonOfSlot(slot);
    const bool shown = def != nullptr && def->kind != btnfile::ActionKind::NONE;
    shell_.SetCaption(button.panel, button.row, shown ? std::string_view(def->caption) : std::string_view());
  }
  pages_.shownMap = std::string(ResolveMapName(pages_, name));
  SetTargetInputMethod();
}

void MapSwitcher::SetTargetInputMethod() {
  const bool byContext = target_.imeContext() != 0;
  const platform::WindowHandle imeWindow = byContext ? 0 : TargetImeWindow();
  if (!byContext && imeWindow == 0) return;

  const std::string_view prefix = std::string_view(pages_.shownMap).substr(0, 2);
  log_.Write({"NowMap=", pages_.shownMap, " SW ", prefix, "\n"});

  const bool japanese = prefix == btnfile::kJapaneseMapPrefix;
  if (byContext) {
    ime_.SetOpenStatus(target_.imeContext(), japanese);
    if (japanese) ime_.SetHiraganaMode(target_.imeContext());
  } else {
    // The target handles the request before the keys of the press still waiting in its input:
    // a "1" would go into the composition it opens, an Enter would come after the close.
    if (target_.inputJoined()) input_.WaitUntilKeysTaken();
    ime_.SetOpenStatusThroughWindow(imeWindow, japanese);
    if (japanese) ime_.SetHiraganaModeThroughWindow(imeWindow);
  }
  log_.Write(japanese ? "Japan\n" : "USA\n");
  if (byContext) target_.ReleaseContext();
}

// Another program's context cannot be had; the IME window of its focused window, of the
// target itself, or else of the target's thread takes the request instead.
platform::WindowHandle MapSwitcher::TargetImeWindow() {
  const platform::WindowHandle target = InputWindowOf(desktop_, target_.window());
  const platform::ThreadId thread = desktop_.WindowThread(target);
  if (thread == 0) return 0;
  const platform::WindowHandle focused = desktop_.FocusedWindow(thread);
  platform::WindowHandle imeWindow = focused != 0 ? ime_.DefaultImeWindow(focused) : 0;
  if (imeWindow == 0) imeWindow = ime_.DefaultImeWindow(target);
  if (imeWindow == 0) imeWindow = ime_.ThreadImeWindow(thread);
  return imeWindow;
}

}  // namespace keyvane::input

#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "btnfile/button_def.h"
#include "btnfile/map_parser.h"
#include "input/slots.h"
#include "input/target.h"
#include "platform/desktop.h"
#include "platform/input.h"
#include "platform/input_method.h"
#include "platform/shell.h"
#include "trace/trace_log.h"

namespace keyvane::input {

// Which map (page of buttons) the panels show, and which maps stand behind it.
struct PageState {
  std::string shownMap;     // the map now shown, the default-map alias resolved
  std::string defaultMap;   // what the alias stands for; the alias itself when the default stands for itself
  std::string fallbackMap;  // the file's first map; fills every map's empty positions
};

// The one place the default-map alias is resolved: the default map for the alias, any other
// name as it is. The alias may stand for itself, and no map is named so.
std::string_view ResolveMapName(const PageState& pages, std::string_view name);

// The definition a map shows at a position (0 to 13): the resolved map's own, else the
// fallback map's; nullptr when neither has one.
const btnfile::ButtonDef* LookupSlot(const btnfile::MapTable& table, const PageState& pages, std::string_view name,
                                     int position);

// The owner of the page state: every change of the map shown goes through here, and with it
// the bindings, the captions and the target's input method. It holds the maps its slots point
// into, so the slots never outlive them.
class MapSwitcher {
 public:
  struct Services {
    platform::Shell& shell;
    platform::InputMethod& ime;
    platform::Desktop& desktop;
    platform::Input& input;
  };

  MapSwitcher(const Target& target, const Services& services, trace::TraceLog& log)
      : target_(target),
        shell_(services.shell),
        ime_(services.ime),
        desktop_(services.desktop),
        input_(services.input),
        log_(log) {}

  // New maps replace the old ones: every slot is unbound, the default and fallback maps are
  // the new file's. What is shown changes at the next show.
  void TakeMaps(std::shared_ptr<const btnfile::BuiltMaps> maps);

  // Shows a map once (JP, a long hold's page): the default stays as it is.
  void ShowMap(std::string_view name);
  // Back to the default map, as after every press.
  void ShowDefault();
  // The map becomes the default and is shown (BASE, the right-button page cycle).
  void MakeDefaultAndShow(std::string_view name);

  // Opens the target's input method in hiragana when the map shown is a "J_" map and closes it
  // for any other: through its context when one is known, else through its IME window once the
  // target has taken the keys sent before, else not at all.
  void SetTargetInputMethod();

  // Both panels' buttons exist: from now on hit tests find slots.
  void SetButtonsFilled() { slots_.buttonsFilled = true; }

  const btnfile::ButtonDef* LookupSlot(std::string_view name, int position) const {
    return input::LookupSlot(maps_->table, pages_, name, position);
  }

  const btnfile::BuiltMaps& maps() const { return *maps_; }
  const PageState& pages() const { return pages_; }
  const SlotTable& slots() const { return slots_; }

 private:
  platform::WindowHandle TargetImeWindow();

  std::shared_ptr<const btnfile::BuiltMaps> maps_ = std::make_shared<const btnfile::BuiltMaps>();
  PageState pages_;
  SlotTable slots_;  // points into *maps_
  const Target& target_;
  platform::Shell& shell_;
  platform::InputMethod& ime_;
  platform::Desktop& desktop_;
  platform::Input& input_;
  trace::TraceLog& log_;
};

}  // namespace keyvane::input

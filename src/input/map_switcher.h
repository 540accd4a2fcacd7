#pragma once

#include <string>
#include <string_view>

#include "btnfile/button_def.h"
#include "input/slots.h"
#include "platform/desktop.h"
#include "platform/input.h"
#include "platform/input_method.h"
#include "platform/shell.h"
#include "trace/trace_log.h"

namespace keyvane::input {

// Stands for the default map. Mixed case, so no name read from the button file can equal it.
inline constexpr std::string_view kDefaultMapAlias = "***DefaultMap***";

// Which map (page of buttons) the panels show, and which maps stand behind it.
struct PageState {
  std::string shownMap;     // the map now shown, alias resolved one level
  std::string defaultMap;   // what the alias stands for
  std::string fallbackMap;  // the file's first map; fills every map's empty positions
};

// The definition a map shows at a position (0 to 13), with the alias and the fallback
// map applied; nullptr when neither the map nor the fallback map has one.
const btnfile::ButtonDef* LookupSlot(const btnfile::MapTable& table, const PageState& pages, std::string_view name,
                                     int position);

// The window keys go to and the input-method context the focus tracker found for it.
struct TargetState {
  platform::WindowHandle targetWindow = 0;
  platform::ImeContext targetImeContext = 0;  // 0: none known
  platform::WindowHandle contextWindow = 0;   // the window the context was obtained from
  bool contextReleased = true;
  bool inputJoined = false;  // Keyvane's input is joined with the target's: it sees the target take its keys
};

// Releases the context against the window it came from, once; the value stays usable
// for open-status calls until the next tick replaces it.
void ReleaseTargetImeContext(TargetState& target, platform::InputMethod& ime);

// Every change of the map shown goes through here: bindings, captions, the page state and the
// target's input method.
class MapSwitcher {
 public:
  struct Services {
    platform::Shell& shell;
    platform::InputMethod& ime;
    platform::Desktop& desktop;
    platform::Input& input;
  };

  MapSwitcher(const btnfile::MapTable& table, PageState& pages, SlotTable& slots, TargetState& target,
              const Services& services, trace::TraceLog& log)
      : table_(table),
        pages_(pages),
        slots_(slots),
        target_(target),
        shell_(services.shell),
        ime_(services.ime),
        desktop_(services.desktop),
        input_(services.input),
        log_(log) {}

  // Binds and captions all fourteen slots, then sets the target's input method for the map.
  void SwitchMap(std::string_view name);

  // What a BASE press does: the map becomes the one the alias stands for, and shows.
  void MakeDefaultAndShow(std::string_view name);

  // Opens the target's input method in hiragana when the map shown is a "J_" map and closes it
  // for any other: through its context when one is known, else through its IME window once the
  // target has taken the keys sent before, else not at all.
  void SetTargetInputMethod();

  const btnfile::ButtonDef* LookupSlot(std::string_view name, int position) const {
    return input::LookupSlot(table_, pages_, name, position);
  }

  PageState& pages() { return pages_; }

 private:
  platform::WindowHandle TargetImeWindow();

  const btnfile::MapTable& table_;
  PageState& pages_;
  SlotTable& slots_;
  TargetState& target_;
  platform::Shell& shell_;
  platform::InputMethod& ime_;
  platform::Desktop& desktop_;
  platform::Input& input_;
  trace::TraceLog& log_;
};

}  // namespace keyvane::input

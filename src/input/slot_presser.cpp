#include "input/slot_presser.h"

#include "btnfile/key_names.h"
#include "trace/trace_texts.h"

namespace keyvane::input {

namespace {

platform::MouseButton ButtonOf(std::uint8_t code) {
  switch (code) {
    case btnfile::kMouseLeftButtonCode: return platform::MouseButton::Left;
    case btnfile::kMouseRightButtonCode: return platform::MouseButton::Right;
    default: return platform::MouseButton::Middle;
  }
}

void TraceKeyCode(std::uint8_t code, trace::TraceLog& log) {
  // The code is logged as a signed byte widened to 32 bits: 0xF3 shows as FFFFFFF3.
  const auto widened = static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<std::int8_t>(code)));
  log.WriteFormatted("%s%X\n", trace::text::kKeyCodePrefix, static_cast<unsigned>(widened));
}

}  // namespace

void SendKeyEvent(const btnfile::KeySequence& keys, SendMode mode, platform::Input& input, trace::TraceLog& log) {
  log.Write(mode == SendMode::Press    ? trace::text::kPressLine
            : mode == SendMode::Repeat ? trace::text::kRepeatLine
                                       : trace::text::kReleaseLine);
  const std::size_t count = btnfile::KeyCount(keys);
  const platform::KeyDirection direction =
      mode == SendMode::Release ? platform::KeyDirection::Up : platform::KeyDirection::Down;
  for (std::size_t i = mode == SendMode::Repeat && count > 0 ? count - 1 : 0; i < count; ++i) {
    const std::uint8_t code = mode == SendMode::Release ? keys[count - 1 - i] : keys[i];
    if (btnfile::IsMouseButtonCode(code)) {
      input.SendMouseButton(ButtonOf(code), direction);
      log.Write(trace::text::kMouseLine);
    } else {
      input.SendKey(code, direction, btnfile::IsExtendedKey(code));
      TraceKeyCode(code, log);
    }
  }
}

void SlotPresser::SendChordAndShowDefault(const btnfile::KeySequence& keys, std::uint32_t hold) {
  if (hold > btnfile::kDefaultKeyHoldMilliseconds) {
    // A longer hold must not stop the message loop: the ups and the default map follow at FinishHeldChord.
    held_.HoldChord(keys, hold);
    return;
  }
  SendKeyEvent(keys, SendMode::Press, input_, log_);
  clock_.Sleep(hold);
  SendKeyEvent(keys, SendMode::Release, input_, log_);
  switcher_.ShowDefault();
}

void SlotPresser::FinishHeldChord() {
  if (held_.ReleaseChord()) switcher_.ShowDefault();
}

bool SlotPresser::Repeats(int slot) const {
  const btnfile::ButtonDef* def = switcher_.slots().DefinitionOf(slot);
  return def != nullptr && def->kind == btnfile::ActionKind::KEY && def->repeat && btnfile::KeyCount(def->keys) != 0;
}

void SlotPresser::StartRepeat(int slot) {
  repeat_.Stop();
  FinishHeldChord();
  // The page the chord's end showed, if it showed another: the button must still be a repeating one.
  if (!Repeats(slot)) return;
  const btnfile::ButtonDef& def = *switcher_.slots().DefinitionOf(slot);
  rememberedKeys_ = def.keys;
  repeat_.Start({slot, &def, switcher_.pages().shownMap});
}

void SlotPresser::EndRepeat() {
  if (repeat_.Stop()) switcher_.ShowDefault();
}

void SlotPresser::FollowRepeat(std::optional<int> slotUnderCursor) {
  const KeyRepeat::Origin* origin = repeat_.origin();
  if (origin == nullptr) return;
  if (switcher_.pages().shownMap != origin->page || switcher_.slots().DefinitionOf(origin->slot) != origin->def) {
    repeat_.Stop();
  } else if (slotUnderCursor != origin->slot) {
    EndRepeat();
  }
}

void SlotPresser::StartProgramOf(const btnfile::ButtonDef& def) {
  const std::string reason = shell_.StartProgram(def.target, def.arguments);
  if (reason.empty()) return;
  // A balloon and not a box: the user goes on typing, and Keyvane keeps running.
  log_.Write({"EXEC could not start ", def.target, ": ", reason, "\n"});
  const std::string line = def.caption + " EXEC " + btnfile::ProgramLine(def.target, def.arguments);
  shell_.ShowTrayBalloon("The line \"" + line + "\" could not start " + def.target + ": " + reason);
}

void SlotPresser::PressSlot(int slot) {
  // The button and the page the user saw, though the end of a chord still held brings the
  // default map back first. The definitions stay where they are.
  const btnfile::ButtonDef* def = switcher_.slots().DefinitionOf(slot);
  const input::PageState& pages = switcher_.pages();
  const std::uint32_t hold = btnfile::KeyHoldOf(switcher_.maps().table, pages.shownMap, pages.fallbackMap);
  repeat_.Stop();
  FinishHeldChord();
  if (def == nullptr) return;
  switch (def->kind) {
    case btnfile::ActionKind::JP: switcher_.ShowMap(def->target); break;
    case btnfile::ActionKind::KEY:
      rememberedKeys_ = def->keys;
      SendChordAndShowDefault(def->keys, hold);
      break;
    case btnfile::ActionKind::BASE: switcher_.MakeDefaultAndShow(def->target); break;
    // Held keys stay down across pages; KEY presses meanwhile go out with them.
    case btnfile::ActionKind::KEYTOG: held_.Toggle(def->keys); break;
    // For a user who cannot reach the notification area.
    case btnfile::ActionKind::MENUPOP: {
      const SlotButton button = ButtonOfSlot(slot);
      shell_.OpenMenuBeside(button.panel, button.row);
      break;
    }
    case btnfile::ActionKind::EXEC: StartProgramOf(*def); break;
    // The screen back for a while; the page and held keys stay.
    case btnfile::ActionKind::MINIMAM: tab_.ShrinkAt(slot); break;
    case btnfile::ActionKind::REKEY:
      if (!rememberedKeys_) return;
      SendChordAndShowDefault(*rememberedKeys_, hold);
      break;
    default: break;
  }
}

}  // namespace keyvane::input

#include "input/send_key_event.h"

#include <cstdio>

#include "trace/trace_texts.h"

namespace keyvane::input {

namespace {

constexpr std::uint8_t kLeftButton = 0x01;
constexpr std::uint8_t kRightButton = 0x02;
constexpr std::uint8_t kMiddleButton = 0x04;

std::uint32_t MouseFlags(std::uint8_t code, SendMode mode) {
  const bool down = mode == SendMode::Press;
  switch (code) {
    case kLeftButton: return down ? platform::kMouseLeftDown : platform::kMouseLeftUp;
    case kRightButton: return down ? platform::kMouseRightDown : platform::kMouseRightUp;
    default: return down ? platform::kMouseMiddleDown : platform::kMouseMiddleUp;
  }
}

void TraceKeyCode(std::uint8_t code, trace::TraceLog& log) {
  // The code is logged as a signed byte widened to 32 bits: 0xF3 shows as FFFFFFF3.
  const auto widened = static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<std::int8_t>(code)));
  char digits[16];
  std::snprintf(digits, sizeof digits, "%X\n", static_cast<unsigned>(widened));
  std::string& pending = log.PendingTrace();
  pending.assign(trace::text::kKeyCodePrefix);
  pending.append(digits);
  log.AppendTrace();
}

}  // namespace

void SendKeyEvent(const btnfile::KeySequence& keys, SendMode mode, platform::InputEvents& input, trace::TraceLog& log) {
  log.Write(mode == SendMode::Press ? trace::text::kPressLine : trace::text::kReleaseLine);
  const std::size_t count = btnfile::KeyCount(keys);
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t code = mode == SendMode::Press ? keys[i] : keys[count - 1 - i];
    if (code == kLeftButton || code == kRightButton || code == kMiddleButton) {
      input.MouseButtonEvent(MouseFlags(code, mode));
      log.Write(trace::text::kMouseLine);
    } else {
      input.KeyEvent(code, mode == SendMode::Press ? 0 : platform::kKeyEventKeyUp);
      TraceKeyCode(code, log);
    }
  }
}

}  // namespace keyvane::input

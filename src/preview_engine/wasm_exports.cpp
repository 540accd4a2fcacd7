// The engine's calls for the preview page's script, as WebAssembly exports. Texts cross
// through the module's memory: the page writes the button file into the buffer that
// kv_buffer makes, and reads the state at kv_state_text for kv_state_size bytes.
#include <memory>
#include <optional>
#include <string>

#include "preview_engine/preview_engine.h"

namespace {

using keyvane::input::MouseMessage;
using keyvane::preview_engine::PreviewEngine;

std::string buffer;
std::string state;
std::unique_ptr<PreviewEngine> engine;

std::optional<keyvane::platform::Point> Cursor(int onScreen, int x, int y) {
  if (onScreen == 0) return std::nullopt;
  return keyvane::platform::Point{x, y};
}

}  // namespace

// Built natively too (the engine's tests call these), where they are plain C functions.
#if defined(__wasm__)
#define KV_EXPORT(name) extern "C" __attribute__((export_name(#name)))
#else
#define KV_EXPORT(name) extern "C"
#endif

KV_EXPORT(kv_buffer) char* kv_buffer(int size) {
  buffer.assign(static_cast<std::size_t>(size), '\0');
  return buffer.data();
}

KV_EXPORT(kv_start) void kv_start() { engine = std::make_unique<PreviewEngine>(std::move(buffer)); }

// button: 0 the left, 2 the right one (as the page's events number them); up: 1 for a release.
KV_EXPORT(kv_mouse) int kv_mouse(int button, int up, int x, int y, unsigned now) {
  MouseMessage message = MouseMessage::Other;
  if (button == 0) message = up != 0 ? MouseMessage::LeftUp : MouseMessage::LeftDown;
  if (button == 2) message = up != 0 ? MouseMessage::RightUp : MouseMessage::RightDown;
  return engine->Mouse(message, {x, y}, now) ? 1 : 0;
}

KV_EXPORT(kv_tick) void kv_tick(unsigned now, int onScreen, int x, int y) { engine->Tick(now, Cursor(onScreen, x, y)); }

KV_EXPORT(kv_program) void kv_program(int index, unsigned now, int onScreen, int x, int y) {
  engine->ProgramInFront(index, now, Cursor(onScreen, x, y));
}

KV_EXPORT(kv_show_page) void kv_show_page(int index) { engine->ShowPage(index); }

// The slot under the point, -1 for none.
KV_EXPORT(kv_slot_at) int kv_slot_at(int x, int y) { return engine->SlotAt({x, y}).value_or(-1); }

KV_EXPORT(kv_state_text) const char* kv_state_text() {
  state = engine->TakeState();
  return state.data();
}

KV_EXPORT(kv_state_size) int kv_state_size() { return static_cast<int>(state.size()); }

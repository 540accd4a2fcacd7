#include <benchmark/benchmark.h>

#include "support/recording_platform.h"

namespace keyvane::testing {
namespace {

// The worked example running against a target with an input method, the fake keeping no log,
// so the figures are the engine's own work plus the fake's trivial answers.
class Running {
 public:
  Running() {
    world.windows[100] = FakeWindow{.title = "Untitled - Notepad", .thread = 7, .imeContext = 300};
    world.foreground = 100;
    started = std::make_unique<StartedKeyboard>(world, WorkedExampleButtonFile());
    started->keyboard.OnTimerTick();
    world.recording = false;
  }
  // The trace file would grow without end; keep its size bounded between iterations.
  void TrimTrace() { world.fileSystem.files[kTracePath].clear(); }

  RecordingPlatform world;
  std::unique_ptr<StartedKeyboard> started;
};

void OneTick(benchmark::State& state) {
  Running running;
  for (auto _ : state) {
    running.world.tick += 100;
    running.started->keyboard.OnTimerTick();
    running.TrimTrace();
  }
}
BENCHMARK(OneTick);

void OneKeyPress(benchmark::State& state) {
  Running running;
  const platform::Point copy = SlotCenter(running.world, 3);  // CTRL+C
  for (auto _ : state) {
    LeftClick(running.started->keyboard, copy);
    running.TrimTrace();
  }
}
BENCHMARK(OneKeyPress);

}  // namespace
}  // namespace keyvane::testing

#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "checker/run_checker.h"
#include "support/memory_files.h"

namespace keyvane::testing {
namespace {

std::string ReadSource(const std::string& relative) {
  std::ifstream file(std::string(KEYVANE_SOURCE_DIR) + "/" + relative, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// About `megabytes` of button file: copies of `source`, each copy's map headers numbered so
// that every copy adds maps of its own; the first copy keeps its names, so the JP and BASE
// targets of all copies name real maps.
std::string Repeated(const std::string& source, std::int64_t megabytes) {
  const std::size_t size = static_cast<std::size_t>(megabytes) << 20;
  std::string file;
  file.reserve(size + source.size() * 2);
  for (int copy = 0; file.size() < size; ++copy) {
    std::istringstream lines(source);
    for (std::string line; std::getline(lines, line);) {
      if (copy > 0 && line.starts_with('#')) {
        const bool cr = line.ends_with('\r');
        if (cr) line.pop_back();
        line += std::to_string(copy) + (cr ? "\r" : "");
      }
      file += line;
      file += '\n';
    }
  }
  return file;
}

// The checker's whole JSON path, file in memory: read, clean, build the maps, find the
// problems, make the JSON report and write it out, as keyvane-check --json does.
void CheckJson(benchmark::State& state, const std::string& fixture) {
  MemoryFiles files;
  files.files["dovaD.BTN"] = Repeated(ReadSource(fixture), state.range(0));
  const std::size_t bytes = files.files["dovaD.BTN"].size();
  // Into /dev/null: the report is made in full, what a file system costs to store it is not ours.
  std::ofstream out("/dev/null", std::ios::binary);
  for (auto _ : state) {
    std::ostringstream err;
    checker::RunChecker({"--json", "dovaD.BTN"}, files, out, err);
    files.calls.clear();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

// The example file grown to 1 and 10 MB: the same speed at both sizes means no step grows
// faster than the file.
BENCHMARK_CAPTURE(CheckJson, Example, std::string("examples/dovaD.BTN"))
    ->Arg(1)
    ->Arg(10)
    ->Unit(benchmark::kMillisecond);
// A file where nearly every line is a mistake: the diagnostics path at full load.
BENCHMARK_CAPTURE(CheckJson, Mistakes, std::string("tests/fixtures/checker_mistakes.BTN"))
    ->Arg(1)
    ->Arg(10)
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace keyvane::testing

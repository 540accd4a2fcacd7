#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/fuzz_target.h"
#include "fuzz/properties/engine_properties.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  keyvane::fuzz::StopOnFailures(
      keyvane::fuzz::EngineProperties(std::string_view(reinterpret_cast<const char*>(data), size)));
  return 0;
}

// Every checked-in fuzz input (the seeds and each input that once broke something) still
// passes the property checks of its fuzz target.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/properties/cp932_properties.h"
#include "fuzz/properties/engine_properties.h"
#include "fuzz/properties/key_field_properties.h"
#include "fuzz/properties/load_properties.h"

namespace {

namespace fs = std::filesystem;
using keyvane::fuzz::Failures;

std::vector<fs::path> CheckedInInputs(const std::string& target) {
  std::vector<fs::path> inputs;
  for (const char* kind : {"corpus", "regressions"}) {
    const fs::path dir = fs::path(KEYVANE_SOURCE_DIR) / "tests" / "fuzz" / kind / target;
    if (!fs::is_directory(dir)) continue;
    for (const auto& entry : fs::directory_iterator(dir)) {
      if (entry.is_regular_file()) inputs.push_back(entry.path());
    }
  }
  return inputs;
}

std::string Bytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void ExpectAllHold(const std::string& target, const std::function<Failures(std::string_view)>& properties) {
  const std::vector<fs::path> inputs = CheckedInInputs(target);
  ASSERT_FALSE(inputs.empty()) << "no seed inputs for " << target;
  for (const fs::path& input : inputs) {
    EXPECT_EQ(properties(Bytes(input)).text(), "") << input;
  }
}

TEST(FuzzInputs, WholeLoadKeepsItsProperties) { ExpectAllHold("fuzz_load", keyvane::fuzz::LoadProperties); }

TEST(FuzzInputs, KeyFieldKeepsItsProperties) { ExpectAllHold("fuzz_key_field", keyvane::fuzz::KeyFieldProperties); }

TEST(FuzzInputs, Cp932MappingsKeepTheirProperties) { ExpectAllHold("fuzz_cp932", keyvane::fuzz::Cp932Properties); }

TEST(FuzzInputs, EngineKeepsItsProperties) { ExpectAllHold("fuzz_engine", keyvane::fuzz::EngineProperties); }

}  // namespace

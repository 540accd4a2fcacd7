#pragma once

#include <cstdio>
#include <cstdlib>

#include "fuzz/properties/failures.h"

namespace keyvane::fuzz {

// A broken property is a finding like a crash: libFuzzer saves the input on abort.
inline void StopOnFailures(const Failures& failures) {
  if (failures.empty()) return;
  std::fprintf(stderr, "property broken: %s\n", failures.text().c_str());
  std::abort();
}

}  // namespace keyvane::fuzz

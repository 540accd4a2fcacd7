#pragma once

#include <cstdint>

namespace keyvane::tracking {

// The right-button gesture: Held from a right press on a panel button until the long-hold
// command fires (Spent) or a right release over a button ends it (Idle).
struct RightHoldState {
  enum class Phase { Idle, Held, Spent };
  Phase phase = Phase::Idle;
  std::uint32_t heldSince = 0;  // tick count of the right press; meaningful while Held

  bool operator==(const RightHoldState&) const = default;
};

}  // namespace keyvane::tracking

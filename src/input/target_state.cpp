#include "input/target_state.h"

namespace keyvane::input {

void ReleaseTargetImeContext(TargetState& target, platform::InputMethod& ime) {
  if (target.contextReleased || target.targetImeContext == 0) return;
  ime.ReleaseContext(target.contextWindow, target.targetImeContext);
  target.contextReleased = true;
}

}  // namespace keyvane::input

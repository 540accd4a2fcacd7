#include "input/target.h"

namespace keyvane::input {

void Target::ReleaseContext() const {
  if (contextReleased_ || imeContext_ == 0) return;
  ime_.ReleaseContext(contextWindow_, imeContext_);
  contextReleased_ = true;
}

void Target::TakeContext(platform::ImeContext context, platform::WindowHandle from) {
  ReleaseContext();
  imeContext_ = context;
  contextWindow_ = from;
  contextReleased_ = context == 0;
}

}  // namespace keyvane::input

#include "input/key_repeat.h"

#include <algorithm>

namespace keyvane::input {

namespace {

// After the loop stalled, the repeats it missed are sent at once, up to this many: a keyboard
// does not type a burst either.
constexpr std::uint64_t kMostRepeatsAtOnce = 4;

// How many repeats are due `elapsed` ms after the press: the first at the delay, then one every
// 1000 / rate ms, counted from the press so that late call backs do not slow the rate.
std::uint64_t RepeatsDue(std::uint32_t elapsed, const btnfile::KeyRepeatTiming& timing) {
  if (elapsed < timing.delayMilliseconds) return 0;
  return 1 + std::uint64_t{elapsed - timing.delayMilliseconds} * timing.perSecond / 1000;
}

}  // namespace

void KeyRepeat::Start(Origin origin) {
  Stop();
  held_.HoldRepeating(origin.def->keys);
  origin_ = std::move(origin);
  since_ = clock_.TickCount();
  repeatsDone_ = 0;
  AskForNext(0);
}

void KeyRepeat::OnDue() {
  if (!origin_) return;
  // Unsigned difference: right across the tick count's wrap.
  const std::uint32_t elapsed = clock_.TickCount() - since_;
  const std::uint64_t due = RepeatsDue(elapsed, *origin_->def->repeat);
  for (std::uint64_t n = std::min(due - std::min(due, repeatsDone_), kMostRepeatsAtOnce); n > 0; --n) {
    held_.RepeatLastKey();
  }
  repeatsDone_ = std::max(repeatsDone_, due);
  AskForNext(elapsed);
}

bool KeyRepeat::Stop() {
  if (!origin_) return false;
  origin_.reset();
  return held_.ReleaseRepeating();
}

void KeyRepeat::AskForNext(std::uint32_t elapsed) {
  const btnfile::KeyRepeatTiming& timing = *origin_->def->repeat;
  // Repeat number n (from 0) is due at delay + n * 1000 / rate ms, rounded up.
  const std::uint64_t next = timing.delayMilliseconds + (repeatsDone_ * 1000 + timing.perSecond - 1) / timing.perSecond;
  const std::uint64_t wait = next > elapsed ? next - elapsed : 1;
  shell_.CallBackToRepeatKeys(static_cast<std::uint32_t>(std::min<std::uint64_t>(wait, 0xFFFFFFFFu)));
}

}  // namespace keyvane::input

#include "platform/win32/win32_tick_timer.h"

#include "core/app/local_time.h"

namespace {

constexpr UINT_PTR wakeTimer = 1;
constexpr int secondMs = 1000;

}  // namespace

Win32TickTimer::Win32TickTimer(Timer& timer, const Clock& clock, Win32CallGate& gate)
    : timer_(timer), clock_(clock), gate_(gate), wakes_([this](UINT message, WPARAM id, LPARAM) {
        if (message == WM_TIMER && id == wakeTimer) onTimer();
      }) {
  timer_.platformHook = [this] { follow(); };
  follow();
}

void Win32TickTimer::follow() {
  if (!timer_.running()) {
    KillTimer(wakes_.handle(), wakeTimer);
    armed_ = false;
  } else if (!armed_) {
    armAtNext(timer_.interval());
  }
}

void Win32TickTimer::afterUserAction() {
  if (timer_.running()) armAtNext(timer_.interval());
}

void Win32TickTimer::clockJumped() {
  if (timer_.running()) armIn(0);
}

void Win32TickTimer::onTimer() {
  if (!timer_.running()) return follow();
  // A timer may come a little before its time; the tick never reads the clock before it.
  const std::int64_t early = dueAt_ - wallMilliseconds();
  if (early > 0 && early < secondMs) return armIn(early);
  armed_ = false;
  armAtNext(secondMs);
  if (tickWaiting_) return;
  tickWaiting_ = true;
  gate_.deliverTick([this] {
    tickWaiting_ = false;
    timer_.fire();
  });
}

void Win32TickTimer::armAtNext(int step) {
  const std::int64_t now = wallMilliseconds();
  const std::int64_t due = now - now % step + step + 1;
  if (armed_ && dueAt_ <= due) return;
  armIn(due - now);
}

void Win32TickTimer::armIn(std::int64_t milliseconds) {
  dueAt_ = wallMilliseconds() + milliseconds;
  armed_ = true;
  SetTimer(wakes_.handle(), wakeTimer, static_cast<UINT>(milliseconds), nullptr);
}

std::int64_t Win32TickTimer::wallMilliseconds() const {
  const LocalDateTime now = clock_.now();
  return localSeconds(now) * secondMs + now.millisecond;
}

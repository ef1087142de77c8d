#include "shell/TickTimer.h"

#include <allegro.h>

// The timer thread only ever adds and the main thread only ever takes or
// resets, each with one atomic operation, so no tick is lost to a
// concurrent update.
std::atomic<int> tickCounter{0};
static_assert(std::atomic<int>::is_always_lock_free,
              "the timer callback must never wait on a lock");

void onTick() { tickCounter.fetch_add(1); }

// The rate comes from initialise, which only hands on usable ones, so the
// division is always by 1 .. 1193181.
int timerPeriod(int updatesPerSecond) {
  return static_cast<int>(BPS_TO_TIMER(updatesPerSecond));
}

void startTimer(int updatesPerSecond) { install_int_ex(onTick, timerPeriod(updatesPerSecond)); }

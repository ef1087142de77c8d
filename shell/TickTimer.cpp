#include "shell/TickTimer.h"

#include <allegro.h>
#include <semaphore.h>

#include <cerrno>

// The timer thread only ever adds and the main thread only ever takes or
// resets, each with one atomic operation, so no tick is lost to a
// concurrent update.
std::atomic<int> tickCounter{0};
static_assert(std::atomic<int>::is_always_lock_free,
              "the timer callback must never wait on a lock");

namespace {

// Posting a semaphore never blocks the timer thread, and a post made
// between the main thread's look at the counter and its wait is kept, so
// no wake-up is lost. Posts for ticks taken without waiting only make a
// later wait return early, to look again.
sem_t tickPosted;
std::atomic<bool> wakesWaiter{false};

void sleepUntilPosted() {
  while (sem_trywait(&tickPosted) == 0) {
  }
  while (tickCounter.load() == 0) {
    if (sem_wait(&tickPosted) != 0 && errno != EINTR) rest(1);
  }
}

}  // namespace

void onTick() {
  tickCounter.fetch_add(1);
  if (wakesWaiter.load(std::memory_order_acquire)) sem_post(&tickPosted);
}

// The rate comes from initialise, which only hands on usable ones, so the
// division is always by 1 .. 1193181.
int timerPeriod(int updatesPerSecond) {
  return static_cast<int>(BPS_TO_TIMER(updatesPerSecond));
}

bool wakeOnTicks() {
  if (!wakesWaiter.load() && sem_init(&tickPosted, 0, 0) == 0) wakesWaiter = true;
  return wakesWaiter.load();
}

void startTimer(int updatesPerSecond, bool sleepBetweenTicks) {
  if (sleepBetweenTicks) wakeOnTicks();
  install_int_ex(onTick, timerPeriod(updatesPerSecond));
}

void waitForDueTick(int updatesPerSecond) {
  if (wakesWaiter.load()) {
    sleepUntilPosted();
    return;
  }
  const int idleWait = updatesPerSecond > 0 ? 100 / updatesPerSecond : 0;
  while (tickCounter.load() == 0) rest(idleWait);
}

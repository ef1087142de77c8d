#include "shell/TickTimer.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

TEST(TickTimer, PeriodInHardwareTimerUnits) {
  struct Case {
    int updatesPerSecond;
    int period;
  };
  const Case cases[] = {{100, 11931}, {60, 19886}, {25, 47727}, {1, 1193181}, {1193181, 1}};
  for (const Case& c : cases) EXPECT_EQ(timerPeriod(c.updatesPerSecond), c.period) << c.updatesPerSecond;
}

TEST(TickTimer, CallbackAddsExactlyOne) {
  tickCounter = 41;
  onTick();
  EXPECT_EQ(tickCounter.load(), 42);
  tickCounter = 0;
}

// The timer thread adds while the main thread takes ticks away; every one of
// the increments must survive. A plain int usually ends with a wrong count.
TEST(TickTimer, NoIncrementIsLostToConcurrentDecrements) {
  const int rounds = 2000000;
  const int taken = 1500000;
  tickCounter = 0;
  std::thread timer([&] {
    for (int i = 0; i < rounds; ++i) onTick();
  });
  for (int i = 0; i < taken; ++i) --tickCounter;
  timer.join();
  EXPECT_EQ(tickCounter.load(), rounds - taken);
  tickCounter = 0;
}

}  // namespace

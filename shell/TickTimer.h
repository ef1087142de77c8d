#pragma once
// The count of game ticks that are due: the timer callback adds one
// updates_per_second times a second, the main thread takes one per tick.
#include <atomic>

extern std::atomic<int> tickCounter;

// Allegro's hardware timer counts this many units a second: the fastest
// tick rate, whose period is one unit (any faster would be none).
inline constexpr int fastestUpdatesPerSecond = 1193181;

void onTick();                          // the timer callback: one increment
int timerPeriod(int updatesPerSecond);  // hardware timer units, BPS_TO_TIMER

// Installs onTick. With sleepBetweenTicks ([display] idle = wait) each tick
// also wakes a waiting waitForDueTick, so the program sleeps until a tick is
// due instead of looking at the counter every few milliseconds.
void startTimer(int updatesPerSecond, bool sleepBetweenTicks = false);

// From now on each onTick wakes waitForDueTick; false when the system
// cannot make the semaphore this needs (the loop then keeps polling).
bool wakeOnTicks();

// Returns once tickCounter is above 0: by resting 100 / updatesPerSecond
// milliseconds between looks, or, when the timer was started to wake it,
// asleep until the callback posts.
void waitForDueTick(int updatesPerSecond);

#pragma once
// The count of game ticks that are due: the timer callback adds one
// updates_per_second times a second, the main thread takes one per tick.
#include <atomic>

extern std::atomic<int> tickCounter;

void onTick();                          // the timer callback: one increment
void startTimer(int updatesPerSecond);  // installs onTick
int timerPeriod(int updatesPerSecond);  // hardware timer units, BPS_TO_TIMER

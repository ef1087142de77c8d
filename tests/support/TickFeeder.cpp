#include "tests/support/TickFeeder.h"

#include <chrono>

#include "shell/TickTimer.h"

TickFeeder::TickFeeder() {
  thread_ = std::thread([this] {
    while (running_.load()) {
      if (tickCounter.load() == 0) onTick();
      std::this_thread::sleep_for(std::chrono::microseconds(20));
    }
  });
}

TickFeeder::~TickFeeder() {
  running_.store(false);
  thread_.join();
}

#pragma once
// Stands in for the Allegro timer, which cannot run without a display:
// a thread that keeps a game tick due, through the real timer callback,
// until it is destroyed. Headless rest() returns at once, so a Game's
// pacing loop simply spins until the next tick arrives.
#include <atomic>
#include <thread>

class TickFeeder {
 public:
  TickFeeder();
  ~TickFeeder();
  TickFeeder(const TickFeeder&) = delete;
  TickFeeder& operator=(const TickFeeder&) = delete;

 private:
  std::atomic<bool> running_{true};
  std::thread thread_;
};

// The sleeping pacing loop ([display] idle = wait): woken by the tick
// timer, it runs the same ticks as the polling loop and costs the waiting
// thread next to no processor time.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <thread>

#include "game/Game.h"
#include "shell/TickTimer.h"
#include "tests/support/Headless.h"
#include "tests/support/Replay.h"

namespace {

// Stands in for Allegro's timer thread: one onTick every period.
class FakeTimer {
 public:
  explicit FakeTimer(std::chrono::microseconds period)
      : thread_([this, period] {
          while (!stop_) {
            std::this_thread::sleep_for(period);
            onTick();
          }
        }) {}
  ~FakeTimer() {
    stop_ = true;
    thread_.join();
  }

 private:
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

double threadCpuSeconds() {
  rusage usage {};
  getrusage(RUSAGE_THREAD, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

class Pacing : public testing::Test {
 protected:
  void SetUp() override {
    const char* root = std::getenv("PWE_SOURCE_DIR");
    ASSERT_NE(root, nullptr) << "PWE_SOURCE_DIR must name the repository root";
    ASSERT_EQ(chdir(root), 0) << root;
    ensureHeadlessAllegro();
    set_config_file("media/pwe.cfg");
    ASSERT_TRUE(wakeOnTicks());
    tickCounter = 0;
  }
  void TearDown() override { tickCounter = 0; }
};

TEST_F(Pacing, AWaitReturnsOnlyOnceATickIsDueAndMissesNone) {
  const int ticks = 200;
  int taken = 0;
  {
    FakeTimer timer(std::chrono::microseconds(500));
    while (taken < ticks) {
      waitForDueTick(100);
      ASSERT_GT(tickCounter.load(), 0) << "woke with no tick due after " << taken;
      --tickCounter;
      ++taken;
    }
  }
  EXPECT_EQ(taken, ticks);
}

TEST_F(Pacing, TheWaitingThreadSleepsBetweenTicks) {
  FakeTimer timer(std::chrono::milliseconds(10));
  const double before = threadCpuSeconds();
  for (int taken = 0; taken < 50; ++taken) {
    waitForDueTick(100);
    --tickCounter;
  }
  // Half a second of waiting; a loop that looked at the counter without
  // sleeping would spend all of it on the processor.
  EXPECT_LT(threadCpuSeconds() - before, 0.05);
}

// The replay of the first level, played through the real pacing loop with
// the timer waking it, ends exactly as the same keys fed tick by tick.
TEST_F(Pacing, TheWakingLoopPlaysAReplayTickForTick) {
  Replay replay;
  std::string error;
  ASSERT_TRUE(readReplay("tests/replays/level1.replay", replay, error)) << error;
  auto direct = std::make_unique<Game>(640, 480, 100);
  direct->startLevel(replay.level);
  const ReplayOutcome expected = playReplay(*direct, replay);
  ASSERT_TRUE(expected.cleared);

  auto paced = std::make_unique<Game>(640, 480, 100);
  paced->startLevel(replay.level);
  paced->beginLife();
  int played = 0;
  auto nextKeys = [&] {
    ++played;
    if (played < replay.tickCount()) applyKeys(*paced, replay.keysAt(played));
  };
  applyKeys(*paced, replay.keysAt(0));
  {
    FakeTimer timer(std::chrono::microseconds(300));
    for (;;) {
      paced->waitForTick();
      if (paced->pacingStep(nextKeys) || played >= replay.tickCount()) break;
    }
  }
  releaseAllKeys(*paced);
  EXPECT_TRUE(paced->levelDone);
  EXPECT_EQ(played, expected.ticks);
  EXPECT_EQ(paced->player.score, direct->player.score);
  EXPECT_EQ(paced->player.lives, direct->player.lives);
}

}  // namespace

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
#include "tests/support/RepositoryRoot.h"
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
    ASSERT_TRUE(enterRepositoryRoot());
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
  beginReplayLife(*paced, replay);
  ReplayFeed feed(replay);
  feed.next(*paced);
  int played = 0;
  auto nextKeys = [&] {
    ++played;
    return !feed.next(*paced);
  };
  {
    FakeTimer timer(std::chrono::microseconds(300));
    for (;;) {
      paced->waitForTick();
      if (paced->pacingStep(nextKeys)) break;
    }
  }
  releaseAllKeys(*paced);
  EXPECT_TRUE(paced->levelDone);
  EXPECT_EQ(played, expected.ticks);
  EXPECT_EQ(paced->player.score, direct->player.score);
  EXPECT_EQ(paced->player.lives, direct->player.lives);
}

// A recording cut short ends the pacing loop on its last tick, however
// many ticks came due in that pass: a watched route shows no tick beyond
// its keys.
TEST_F(Pacing, ARecordingThatRunsOutEndsThePassOnItsLastTick) {
  Replay whole;
  std::string error;
  ASSERT_TRUE(readReplay("tests/replays/level1.replay", whole, error)) << error;
  Replay cut = whole;
  cut.runs.clear();
  const int kept = whole.tickCount() / 3;
  for (int t = 0; t < kept; ++t) cut.append(whole.keysAt(t));
  auto direct = std::make_unique<Game>(640, 480, 100);
  direct->startLevel(cut.level);
  const ReplayOutcome expected = playReplay(*direct, cut);
  ASSERT_FALSE(expected.cleared);
  ASSERT_EQ(expected.ticks, kept);

  auto paced = std::make_unique<Game>(640, 480, 100);
  paced->startLevel(cut.level);
  beginReplayLife(*paced, cut);
  ReplayFeed feed(cut);
  feed.next(*paced);
  int played = 0;
  {
    // Ticks come due far faster than frames are drawn.
    FakeTimer timer(std::chrono::microseconds(50));
    for (;;) {
      paced->waitForTick();
      if (paced->pacingStep([&] {
            ++played;
            return !feed.next(*paced);
          }))
        break;
    }
  }
  EXPECT_EQ(played, kept);
  EXPECT_EQ(feed.handed(), kept);
  EXPECT_EQ(paced->player.x, direct->player.x);
  EXPECT_EQ(paced->player.y, direct->player.y);
  EXPECT_EQ(paced->player.score, direct->player.score);
}

}  // namespace

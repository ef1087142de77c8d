// The scoped guard under which dataFailure throws instead of ending the
// program, as the tools hold it round the engine's loaders.
#include "shell/Fatal.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "shell/Log.h"
#include "tests/support/Headless.h"

namespace {

void failNow() { dataFailure("Error loading \"media/a.png\".", "Error loading a. Exiting."); }

// Runs the case in the child: exit 3 with both texts on standard error when
// the failure comes back as the exception, else whatever dataFailure does.
[[noreturn]] void runAndReport(void (*run)()) {
  ensureHeadlessAllegro();
  try {
    run();
  } catch (const DataFailure& failure) {
    std::fprintf(stderr, "thrown: %s / %s\n", failure.boxText.c_str(), failure.logText.c_str());
    std::exit(3);
  }
  std::exit(4);
}

struct GuardCase {
  const char* name;
  void (*run)();
  int exitCode;  // 3: thrown to the caller; 1: the program ended as without a guard
};

const GuardCase guardCases[] = {
    {"no guard", [] { failNow(); }, 1},
    {"one guard", [] {
       DataFailureGuard guard;
       failNow();
     }, 3},
    {"an inner guard gone, the outer one held", [] {
       DataFailureGuard outer;
       { DataFailureGuard inner; }
       failNow();
     }, 3},
    {"both nested guards gone", [] {
       {
         DataFailureGuard outer;
         DataFailureGuard inner;
       }
       failNow();
     }, 1},
    {"a guard left by the exception it caught", [] {
       try {
         DataFailureGuard guard;
         failNow();
       } catch (const DataFailure&) {
       }
       failNow();
     }, 1},
    {"a guard held by another thread only", [] {
       DataFailureGuard guard;
       std::thread other(failNow);
       other.join();
     }, 1},
};

TEST(FatalDeathTest, AGuardTurnsTheEndingIntoAnExceptionOnlyWhileItLives) {
  for (const GuardCase& c : guardCases) {
    const std::string text = c.exitCode == 3
                                 ? "thrown: Error loading \"media/a.png\"\\. / Error loading a\\. Exiting\\."
                                 : "Error loading \"media/a.png\"\\.";
    EXPECT_EXIT(runAndReport(c.run), testing::ExitedWithCode(c.exitCode), text) << c.name;
  }
}

TEST(Fatal, UnderAGuardNothingIsLoggedAndOneTextFillsBoth) {
  std::vector<std::string> lines;
  log_capture(&lines);
  DataFailure caught;
  try {
    DataFailureGuard guard;
    dataFailure("No .nme files located!");
  } catch (const DataFailure& failure) {
    caught = failure;
  }
  log_capture(nullptr);
  EXPECT_TRUE(lines.empty());
  EXPECT_EQ(caught.boxText, "No .nme files located!");
  EXPECT_EQ(caught.logText, "No .nme files located!");
}

}  // namespace

// A tool working in a scratch tree (a tree given by a path not named media)
// and ended by a signal must leave no scratch directory behind.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "shell/MediaTreeEntry.h"
#include "tests/support/CaseName.h"
#include "tests/support/GameTree.h"

namespace fs = std::filesystem;

namespace {

// The program's own handler, installed before the tree is entered, as the
// editor's is: it removes the scratch tree itself and ends with status 7.
void endWithOwnHandler(int) {
  removeMediaTreeScratch();
  _exit(7);
}

void ownTermHandler() { std::signal(SIGTERM, endWithOwnHandler); }
void ignoreHangUp() { std::signal(SIGHUP, SIG_IGN); }
void nothing() {}

struct Row {
  const char* name;
  void (*setUp)();           // in the tool, before it enters the tree
  std::vector<int> signals;  // sent in order
  int endingSignal;          // what ends it, or 0
  int exitStatus;            // when no signal does
};

const Row rows[] = {
    {"terminate", nothing, {SIGTERM}, SIGTERM, 0},
    {"hang up", nothing, {SIGHUP}, SIGHUP, 0},
    {"interrupt", nothing, {SIGINT}, SIGINT, 0},
    // Under nohup the hang-up stays ignored; the tool ends at the next.
    {"ignored hang up", ignoreHangUp, {SIGHUP, SIGTERM}, SIGTERM, 0},
    {"own handler", ownTermHandler, {SIGTERM}, 0, 7},
};

std::vector<std::string> entriesOf(const fs::path& directory) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(directory)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

class MediaTreeEntryTest : public testing::TestWithParam<Row> {};

TEST_P(MediaTreeEntryTest, ASignalLeavesNoScratchTree) {
  const Row& row = GetParam();
  MediaTree tree;
  tree.makeDirectory("tree");
  tree.makeDirectory("tmp");
  const fs::path scratchParent = fs::path(tree.root()) / "tmp";
  const char* formerTmp = std::getenv("TMPDIR");
  const std::string keptTmp = formerTmp != nullptr ? formerTmp : "";
  setenv("TMPDIR", scratchParent.c_str(), 1);

  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const pid_t tool = fork();
  if (tool == 0) {
    close(ready[0]);
    alarm(5);  // never outlives the test
    row.setUp();
    if (!enterMediaTree("tree")) _exit(3);
    if (write(ready[1], "x", 1) != 1) _exit(4);
    for (;;) pause();
  }
  close(ready[1]);
  if (formerTmp != nullptr) setenv("TMPDIR", keptTmp.c_str(), 1);
  else unsetenv("TMPDIR");
  ASSERT_GT(tool, 0);
  char byte = 0;
  const bool entered = read(ready[0], &byte, 1) == 1;
  close(ready[0]);

  std::vector<std::string> during = entriesOf(scratchParent);
  if (entered) {
    for (int signal : row.signals) kill(tool, signal);
  } else {
    kill(tool, SIGKILL);
  }
  int status = 0;
  ASSERT_EQ(waitpid(tool, &status, 0), tool);
  ASSERT_TRUE(entered) << "the tool did not enter the tree";

  ASSERT_EQ(during.size(), 1u);
  EXPECT_EQ(during[0].rfind("pwe-tree-", 0), 0u) << during[0];
  EXPECT_EQ(entriesOf(scratchParent), std::vector<std::string>{}) << "a scratch tree is left";
  ASSERT_FALSE(WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM) << "no signal ended the tool";
  if (row.endingSignal != 0) {
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), row.endingSignal);
  } else {
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), row.exitStatus);
  }
}

INSTANTIATE_TEST_SUITE_P(EndingSignals, MediaTreeEntryTest, testing::ValuesIn(rows),
                         caseName<Row>);

// pwe-render, built beside this test, drawing from a tree given by path and
// ended by SIGTERM as soon as its scratch tree appears; tried again should
// it have finished before the signal came.
TEST(MediaTreeEntryTool, PweRenderEndedBySigtermLeavesNoScratchTree) {
  GameTree tree;
  // Its pwe.cfg makes the folder a tree rather than a set.
  tree.writeText("media/pwe.cfg", "[display]\n");
  fs::rename("media", "tree");
  tree.makeDirectory("tmp");
  const fs::path scratchParent = fs::path(tree.root()) / "tmp";
  const fs::path render =
      fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "tools" / "pwe-render";
  int ended = 0;
  for (int attempt = 0; attempt < 20 && ended == 0; ++attempt) {
    const pid_t tool = fork();
    if (tool == 0) {
      setenv("TMPDIR", scratchParent.c_str(), 1);
      if (!std::freopen("/dev/null", "w", stdout) || !std::freopen("/dev/null", "w", stderr)) {
        _exit(98);
      }
      execl(render.c_str(), "pwe-render", "level1.inf", "shot.png", "tree", nullptr);
      _exit(127);
    }
    ASSERT_GT(tool, 0);
    int status = 0;
    bool finished = false;
    for (int wait = 0; wait < 50000 && entriesOf(scratchParent).empty() && !finished; ++wait) {
      finished = waitpid(tool, &status, WNOHANG) == tool;
      usleep(100);
    }
    if (!finished) {
      kill(tool, SIGTERM);
      ASSERT_EQ(waitpid(tool, &status, 0), tool);
    }
    EXPECT_EQ(entriesOf(scratchParent), std::vector<std::string>{}) << "attempt " << attempt;
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) ++ended;
    else ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "attempt " << attempt;
  }
  EXPECT_EQ(ended, 1) << "pwe-render always finished before the signal";
}

}  // namespace

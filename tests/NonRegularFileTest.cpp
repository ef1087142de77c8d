// A FIFO with no writer in place of a file the game reads: opening it the
// usual way waits for a writer that never comes. Each must be refused at
// once, exactly as the same file missing is refused.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "game/Game.h"
#include "shell/Log.h"
#include "shell/Startup.h"
#include "tests/support/CaseName.h"
#include "tests/support/FileText.h"
#include "tests/support/GameTree.h"

namespace fs = std::filesystem;

namespace {

// A child that is still waiting after this long is taken to be blocked for
// good: the alarm ends it, and the case fails instead of hanging the suite.
const unsigned hangSeconds = 5;

struct Outcome {
  int status = -1;        // exit status, or -1 when a signal ended it
  int signal = 0;         // the signal that ended it (SIGALRM: it hung)
  std::string errorText;  // standard error
  std::string lastLogLine;
};

// Runs step in a child with its log on and standard error kept; a step that
// returns ends the child with status 0.
Outcome runChild(const std::function<void()>& step) {
  std::remove("child.log");
  std::remove("child.err");
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    alarm(hangSeconds);
    // The message box, without a display, is printed on standard output.
    if (!std::freopen("/dev/null", "w", stdout) || !std::freopen("child.err", "w", stderr)) {
      _exit(98);
    }
    setenv("PWE_LOG", "1", 1);
    log_open("child.log");
    step();
    log_close();
    std::fflush(nullptr);
    _exit(0);
  }
  Outcome outcome;
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child) return outcome;
  if (WIFEXITED(status)) outcome.status = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) outcome.signal = WTERMSIG(status);
  outcome.errorText = readFile("child.err");
  outcome.lastLogLine = lastLine("child.log");
  return outcome;
}

void buildGame() { Game game(640, 480, 100); }

void startFirstLevel() {
  Game game(640, 480, 100);
  game.startLevel("level1.inf");
}

// What the FIFO must be refused like: the file taken away, or, for a file
// found by a directory search (where a missing one is merely not found), a
// directory of that name: a match that cannot be read.
enum class Like { missing, directory };

struct Row {
  const char* name;
  const char* path;       // replaced by a FIFO
  Like like;
  void (*step)();         // what reaches the file
  const char* boxText;    // the message box, also on standard error
};

const Row rows[] = {
    {"player file", "media/player.inf", Like::missing, buildGame, "Error loading player.inf"},
    {"animation", "media/gfx/anim/player/climb.anm", Like::missing, buildGame,
     "Error opening media/gfx/anim/player/climb.anm."},
    {"animation frame", "media/gfx/anim/player/climb/1.png", Like::missing, buildGame,
     "Error loading \"media/gfx/anim/player/climb/1.png\"."},
    {"enemy file", "media/gfx/anim/enemy/blob.nme", Like::directory, buildGame,
     "Error loading media/gfx/anim/enemy/blob.nme"},
    {"enemy frame", "media/gfx/anim/enemy/blob_vr/0.png", Like::missing, buildGame,
     "Error loading \"media/gfx/anim/enemy/blob_vr/0.png\"."},
    {"element image", "media/gfx/static/ladders/rungs.png", Like::directory, buildGame,
     "Error loading \"media/gfx/static/ladders/rungs.png\"."},
    {"hud picture", "media/gfx/static/back.png", Like::missing, buildGame,
     "Error loading \"media/gfx/static/back.png\"."},
    {"font", "media/fonts/score_fnt.png", Like::missing, buildGame,
     "Error loading \"media/fonts/score_fnt.png\"."},
    {"sound", "media/audio/jump.wav", Like::missing, buildGame,
     "Error loading media/audio/jump.wav."},
    {"enemy death sound", "media/audio/enemy_death.wav", Like::missing, buildGame,
     "Error loading media/audio/enemy_death.wav."},
    {"level", "media/level1.inf", Like::missing, startFirstLevel, "Error loading \"level1.inf\""},
};

class NonRegularFileTest : public testing::TestWithParam<Row> {};

TEST_P(NonRegularFileTest, IsRefusedAtOnceAsTheMissingFileIs) {
  const Row& row = GetParam();
  GameTree tree;
  tree.remove(row.path);
  if (row.like == Like::directory) tree.makeDirectory(row.path);
  const Outcome usual = runChild(row.step);
  tree.remove(row.path);
  tree.makeFifo(row.path);
  const auto began = std::chrono::steady_clock::now();
  const Outcome fifo = runChild(row.step);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();

  ASSERT_NE(fifo.signal, SIGALRM) << "still waiting on the FIFO after " << hangSeconds << " s";
  EXPECT_EQ(fifo.signal, 0);
  EXPECT_EQ(fifo.status, 1);
  EXPECT_NE(fifo.errorText.find(std::string(row.boxText) + "\n"), std::string::npos)
      << fifo.errorText;
  // Box, log line and status all as usual.
  EXPECT_EQ(fifo.status, usual.status);
  EXPECT_EQ(fifo.errorText, usual.errorText);
  EXPECT_EQ(fifo.lastLogLine, usual.lastLogLine);
  EXPECT_LT(seconds, 1.0);
}

INSTANTIATE_TEST_SUITE_P(EveryKindOfFile, NonRegularFileTest, testing::ValuesIn(rows),
                         caseName<Row>);

// A missing configuration file is no error, so a FIFO in its place is read
// as none: every setting takes its default, and the run says why.
TEST(NonRegularConfiguration, AFifoInPlaceOfPweCfgGivesTheDefaults) {
  GameTree tree;
  tree.writeText("media/pwe.cfg", "[display]\nwidth = 320\n");
  tree.makeFifo("media/pwe.cfg");
  const Outcome outcome = runChild([] {
    selectConfiguration("media/pwe.cfg");
    std::exit(readStartupSettings().width == 640 ? 0 : 2);
  });
  ASSERT_NE(outcome.signal, SIGALRM) << "still waiting on the FIFO";
  EXPECT_EQ(outcome.status, 0);
  EXPECT_NE(outcome.errorText.find("media/pwe.cfg is not a regular file"), std::string::npos)
      << outcome.errorText;
}

// pwe-render, built beside this test, on the same tree: it must end within
// a second with the engine's message.
struct RenderRow {
  const char* name;
  const char* path;     // replaced by a FIFO
  int status;
  const char* message;  // on standard output or error
};

const RenderRow renderRows[] = {
    {"level", "media/level1.inf", 1, "Error loading \"level1.inf\""},
    {"picture", "media/gfx/static/back.png", 1,
     "Error loading \"media/gfx/static/back.png\"."},
    {"configuration", "media/pwe.cfg", 0, "media/pwe.cfg is not a regular file"},
};

class NonRegularFileRenderTest : public testing::TestWithParam<RenderRow> {};

TEST_P(NonRegularFileRenderTest, EndsWithinASecond) {
  const RenderRow& row = GetParam();
  GameTree tree;
  tree.writeText("media/pwe.cfg", "");
  tree.makeFifo(row.path);
  const fs::path render =
      fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "tools" / "pwe-render";
  const std::string command = "timeout -s KILL " + std::to_string(hangSeconds) + " " +
                              render.string() + " level1.inf shot.png media 2>&1";
  const auto began = std::chrono::steady_clock::now();
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string output;
  char buffer[4096];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
  const int status = pclose(pipe);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();

  ASSERT_TRUE(WIFEXITED(status));
  ASSERT_NE(WEXITSTATUS(status), 128 + SIGKILL) << "still waiting on the FIFO";
  EXPECT_EQ(WEXITSTATUS(status), row.status) << output;
  EXPECT_NE(output.find(row.message), std::string::npos) << output;
  EXPECT_EQ(fs::exists("shot.png"), row.status == 0);
  EXPECT_LT(seconds, 1.0);
}

INSTANTIATE_TEST_SUITE_P(FilesPweRenderReads, NonRegularFileRenderTest,
                         testing::ValuesIn(renderRows), caseName<RenderRow>);

}  // namespace

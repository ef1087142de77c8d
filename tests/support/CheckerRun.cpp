#include "tests/support/CheckerRun.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <sstream>

CheckRun runChecker(const std::string& arguments, int limitSeconds) {
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe");
  const std::string checker = (self.parent_path().parent_path() / "tools" / "pwe-check").string();
  const std::string limit =
      limitSeconds > 0 ? "timeout -s KILL " + std::to_string(limitSeconds) + " " : "";
  const std::string command = limit + checker + " " + arguments + " 2>&1";
  CheckRun run;
  const auto began = std::chrono::steady_clock::now();
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
    run.output.append(buffer, got);
  }
  const int status = pclose(pipe);
  run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  // timeout's own status for a killed program is 128 + the signal.
  const bool killed = WIFEXITED(status) && limitSeconds > 0 && WEXITSTATUS(status) == 128 + 9;
  run.status = WIFEXITED(status) && !killed ? WEXITSTATUS(status) : -1;
  std::istringstream lines(run.output);
  for (std::string line; std::getline(lines, line);) {
    (line.find(": note: ") != std::string::npos ? run.notes : run.lines).push_back(line);
  }
  return run;
}

void expectProvenWithoutExactPresses(const CheckRun& run, const std::vector<std::string>& files) {
  ASSERT_EQ(run.notes.size(), files.size()) << testing::PrintToString(run.notes);
  for (std::size_t n = 0; n < files.size(); ++n) {
    const std::string& note = run.notes[n];
    const std::string start = files[n] + ":0:0: note: the level can be cleared with its enemies in ";
    const std::string end = "; no input must be frame-perfect";
    EXPECT_EQ(note.rfind(start, 0), 0u) << note;
    EXPECT_GE(note.size(), end.size());
    EXPECT_EQ(note.substr(note.size() - std::min(note.size(), end.size())), end) << note;
  }
}

std::vector<std::string> takeHardMoments(CheckRun& run) {
  const std::string mark = "for ordinary players";
  std::vector<std::string> hard;
  std::vector<std::string> rest;
  for (const std::string& line : run.lines) {
    const bool isHard = line.find(": warning: ") != std::string::npos && line.size() >= mark.size() &&
                        line.compare(line.size() - mark.size(), mark.size(), mark) == 0;
    (isHard ? hard : rest).push_back(line);
  }
  run.lines = rest;
  return hard;
}

void expectTightestPressNamed(const CheckRun& run) {
  for (const std::string& note : run.notes) {
    EXPECT_NE(note.find("; the tightest press is "), std::string::npos) << note;
  }
}

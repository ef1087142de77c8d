// --help and --version of every program of the package, run as a user on a
// text console runs them: no display, standard output only, status 0; and
// the settings the installed command plays with.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "shell/ProgramInfo.h"
#include "tests/support/CaseName.h"

namespace fs = std::filesystem;

namespace {

struct ProgramCase {
  const char* name;
  const char* built;    // under the build directory
  const char* program;  // the name it answers with
};

const ProgramCase programCases[] = {
    {"game", "pwe", "pwe"},
    {"checker", "tools/pwe-check", "pwe-check"},
    {"renderer", "tools/pwe-render", "pwe-render"},
    {"editor", "tools/pwe-edit", "pwe-edit"},
};

struct ProgramRun {
  int status = -1;
  std::string output;  // standard output alone
};

ProgramRun runWithoutDisplay(const std::string& command) {
  ProgramRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  while (fgets(buffer, sizeof buffer, pipe) != nullptr) run.output += buffer;
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

// This test is built in <build>/tests.
ProgramRun runWithoutDisplay(const std::string& built, const std::string& option) {
  const fs::path build = fs::read_symlink("/proc/self/exe").parent_path().parent_path();
  return runWithoutDisplay("env -u DISPLAY " + (build / built).string() + " " + option +
                           " 2>/dev/null");
}

class ProgramOptions : public testing::TestWithParam<ProgramCase> {};

TEST_P(ProgramOptions, HelpGoesToStandardOutputWithoutADisplay) {
  const ProgramRun run = runWithoutDisplay(GetParam().built, "--help");
  EXPECT_EQ(run.status, 0);
  const std::string usage = std::string("usage: ") + GetParam().program;
  EXPECT_EQ(run.output.compare(0, usage.size(), usage), 0) << run.output;
  EXPECT_NE(run.output.find("--version"), std::string::npos) << run.output;
}

TEST_P(ProgramOptions, VersionGoesToStandardOutputWithoutADisplay) {
  const ProgramRun run = runWithoutDisplay(GetParam().built, "--version");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.output, versionText(GetParam().program));
}

INSTANTIATE_TEST_SUITE_P(EveryProgram, ProgramOptions, testing::ValuesIn(programCases),
                         caseName<ProgramCase>);

// The installed game plays with the package's settings between the tree's
// and the player's: an installation made of the built game, where an
// installation puts it beside its data. Built, it plays without them.
TEST(InstalledCommand, WaitsForTicksUnlessThePlayerSaysOtherwise) {
  const fs::path build = fs::read_symlink("/proc/self/exe").parent_path().parent_path();
  const fs::path root = fs::temp_directory_path() / ("pwe-installed-" + std::to_string(getpid()));
  fs::remove_all(root);
  fs::create_directories(root / "games");
  fs::create_directories(root / "share/games/pwe/media");
  fs::create_directories(root / "tree/media");
  fs::create_directories(root / "home/pwe");
  fs::copy_file(build / "pwe", root / "games/pwe");
  std::ofstream(root / "share/games/pwe/media/pwe.cfg") << "";
  std::ofstream(root / "tree/media/pwe.cfg") << "[display]\nidle = poll\n";
  const std::string command = "env -u DISPLAY XDG_CONFIG_HOME=" + (root / "home").string() +
                              " " + (root / "games/pwe").string() + " --print-config " +
                              (root / "tree").string();
  const std::string byCommand = "[display] idle = wait from the pwe command\n";
  EXPECT_NE(runWithoutDisplay(command).output.find(byCommand), std::string::npos);
  const std::string built = "env -u DISPLAY XDG_CONFIG_HOME=" + (root / "home").string() + " " +
                            (build / "pwe").string() + " --print-config " + (root / "tree").string();
  EXPECT_EQ(runWithoutDisplay(built).output.find(byCommand), std::string::npos);
  std::ofstream(root / "home/pwe/pwe.cfg") << "[display]\nidle = poll\n";
  const std::string byPlayer = "[display] idle = poll from " + (root / "home/pwe/pwe.cfg").string();
  EXPECT_NE(runWithoutDisplay(command).output.find(byPlayer), std::string::npos);
  fs::remove_all(root);
}

}  // namespace

// The pwe command's reading of its arguments, and its test of the
// directory it is asked to play in.
#include "shell/Launcher.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/CaseName.h"

namespace fs = std::filesystem;

namespace {

struct ArgumentCase {
  const char* name;
  std::vector<std::string> arguments;
  LaunchAction action;
  const char* directory;
  const char* problemMentions;  // for misuse: a part of the message
  const char* replay = "";      // the recording to watch
};

const ArgumentCase argumentCases[] = {
    {"nothing plays the installed game", {}, LaunchAction::play, "", ""},
    {"a directory is played", {"trees/mine"}, LaunchAction::play, "trees/mine", ""},
    {"the working directory by dot", {"."}, LaunchAction::play, ".", ""},
    {"a lone dash is a name", {"-"}, LaunchAction::play, "-", ""},
    {"help", {"--help"}, LaunchAction::help, "", ""},
    {"short help", {"-h"}, LaunchAction::help, "", ""},
    {"version", {"--version"}, LaunchAction::version, "", ""},
    {"print the settings of a tree", {"--print-config", "trees/mine"}, LaunchAction::printConfig,
     "trees/mine", ""},
    {"help after a directory", {"trees/mine", "--help"}, LaunchAction::help, "", ""},
    {"the first of help and version wins", {"--version", "--help"}, LaunchAction::version, "", ""},
    {"a dashed name after the end of options", {"--", "-tree"}, LaunchAction::play, "-tree", ""},
    {"help after the end of options is a name", {"--", "--help"}, LaunchAction::play, "--help", ""},
    {"unknown option", {"--fullscreen"}, LaunchAction::misuse, "", "unknown option --fullscreen"},
    {"unknown short option", {"-x", "trees/mine"}, LaunchAction::misuse, "", "unknown option -x"},
    {"two directories", {"one", "two"}, LaunchAction::misuse, "", "one directory at most"},
    {"an empty name", {""}, LaunchAction::misuse, "", "empty"},
    {"a recording is watched", {"--replay", "route.replay"}, LaunchAction::play, "", "",
     "route.replay"},
    {"a recording in a tree", {"trees/mine", "--replay", "r"}, LaunchAction::play, "trees/mine",
     "", "r"},
    {"a recording named like an option", {"--replay", "--help"}, LaunchAction::play, "", "",
     "--help"},
    {"a recording not named", {"--replay"}, LaunchAction::misuse, "", "needs the recording"},
    {"a recording named empty", {"--replay", "", "trees/mine"}, LaunchAction::misuse, "",
     "needs the recording"},
    {"two recordings", {"--replay", "a", "--replay", "b"}, LaunchAction::misuse, "",
     "one recording at most"},
    {"settings and a recording", {"--print-config", "--replay", "a"}, LaunchAction::misuse, "",
     "plays nothing"},
};

class LaunchArguments : public testing::TestWithParam<ArgumentCase> {};

TEST_P(LaunchArguments, AskForWhatTheUserMeant) {
  const ArgumentCase& c = GetParam();
  const LaunchRequest request = readLaunchArguments(c.arguments);
  EXPECT_EQ(request.action, c.action);
  if (c.action == LaunchAction::play || c.action == LaunchAction::printConfig) {
    EXPECT_EQ(request.directory, c.directory);
    EXPECT_EQ(request.replay, c.replay);
  }
  if (c.action == LaunchAction::misuse) {
    EXPECT_NE(request.problem.find(c.problemMentions), std::string::npos) << request.problem;
  } else {
    EXPECT_EQ(request.problem, "");
  }
}

INSTANTIATE_TEST_SUITE_P(Calls, LaunchArguments, testing::ValuesIn(argumentCases),
                         caseName<ArgumentCase>);

struct DirectoryCase {
  const char* name;
  const char* media;  // what the directory holds as "media": "tree" (with pwe.cfg),
                      // "dir" (without), "file" or ""
  bool named;         // false: the directory itself does not exist
  bool playable;
};

const DirectoryCase directoryCases[] = {
    {"holds a media tree", "tree", true, true},
    {"holds a media directory without pwe.cfg", "dir", true, false},
    {"holds no media", "", true, false},
    {"media is a file", "file", true, false},
    {"does not exist", "", false, false},
};

class PlayDirectory : public testing::TestWithParam<DirectoryCase> {
 protected:
  void SetUp() override {
    root = fs::temp_directory_path() / ("pwe-launcher-" + std::string(GetParam().name));
    fs::remove_all(root);
  }
  void TearDown() override { fs::remove_all(root); }
  fs::path root;
};

TEST_P(PlayDirectory, IsPlayableOnlyWithAMediaTree) {
  const DirectoryCase& c = GetParam();
  if (c.named) fs::create_directories(root);
  const std::string media = c.media;
  if (media == "dir" || media == "tree") fs::create_directories(root / "media");
  if (media == "tree") std::ofstream(root / "media" / "pwe.cfg") << "[display]\n";
  if (media == "file") std::ofstream(root / "media") << "not a tree\n";
  const std::string problem = playDirectoryProblem(root.string());
  if (c.playable) {
    EXPECT_EQ(problem, "");
  } else {
    // The message names the directory, so the user sees which one is meant.
    EXPECT_NE(problem.find(root.string()), std::string::npos) << problem;
  }
}

INSTANTIATE_TEST_SUITE_P(Directories, PlayDirectory, testing::ValuesIn(directoryCases),
                         caseName<DirectoryCase>);

}  // namespace

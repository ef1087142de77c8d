// The game's reading of its arguments, and what every program reads from
// the place its user names.
#include "shell/CommandLine.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "shell/MediaPlace.h"
#include "tests/support/CaseName.h"

namespace fs = std::filesystem;

namespace {

struct ArgumentCase {
  const char* name;
  std::vector<std::string> arguments;
  LaunchAction action;
  const char* place;
  const char* problemMentions;  // for misuse: a part of the message
  const char* replay = "";      // the recording to watch
  const char* level = "";       // the one level to play
  const char* base = "";        // the tree under a set
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
    {"two directories", {"one", "two"}, LaunchAction::misuse, "", "one set or tree at most"},
    {"an empty name", {""}, LaunchAction::misuse, "", "empty"},
    {"a recording is watched", {"--replay", "route.replay"}, LaunchAction::play, "", "",
     "route.replay"},
    {"a recording in a tree", {"trees/mine", "--replay", "r"}, LaunchAction::play, "trees/mine",
     "", "r"},
    {"a recording named like an option", {"--replay", "--help"}, LaunchAction::play, "", "",
     "--help"},
    {"a recording not named", {"--replay"}, LaunchAction::misuse, "", "needs one recording"},
    {"a recording named empty", {"--replay", "", "trees/mine"}, LaunchAction::misuse, "",
     "needs one recording"},
    {"two recordings", {"--replay", "a", "--replay", "b"}, LaunchAction::misuse, "",
     "needs one recording"},
    {"a level alone", {"--level", "my/a.inf"}, LaunchAction::play, "", "", "", "my/a.inf"},
    {"a set over a base", {"--base", "game", "sets/moss"}, LaunchAction::play, "sets/moss", "",
     "", "", "game"},
    {"a level over a base", {"--level", "a.inf", "--base", "g"}, LaunchAction::play, "", "", "",
     "a.inf", "g"},
    {"a level and a set", {"--level", "a.inf", "mine"}, LaunchAction::misuse, "",
     "plays its own file"},
    {"a level not named", {"--level"}, LaunchAction::misuse, "", "needs one level file"},
    {"two bases", {"--base", "a", "--base", "b"}, LaunchAction::misuse, "", "needs one tree"},
    {"settings and a recording", {"--print-config", "--replay", "a"}, LaunchAction::misuse, "",
     "plays nothing"},
};

class LaunchArguments : public testing::TestWithParam<ArgumentCase> {};

TEST_P(LaunchArguments, AskForWhatTheUserMeant) {
  const ArgumentCase& c = GetParam();
  const LaunchRequest request = readLaunchArguments(c.arguments);
  EXPECT_EQ(request.action, c.action);
  if (c.action == LaunchAction::play || c.action == LaunchAction::printConfig) {
    EXPECT_EQ(request.place, c.place);
    EXPECT_EQ(request.replay, c.replay);
    EXPECT_EQ(request.level, c.level);
    EXPECT_EQ(request.base, c.base);
  }
  if (c.action == LaunchAction::misuse) {
    EXPECT_NE(request.problem.find(c.problemMentions), std::string::npos) << request.problem;
  } else {
    EXPECT_EQ(request.problem, "");
  }
}

INSTANTIATE_TEST_SUITE_P(Calls, LaunchArguments, testing::ValuesIn(argumentCases),
                         caseName<ArgumentCase>);

// What each program reads from what its user names: the places laid out
// under a scratch folder, the game's tree in game/ (the working directory),
// a set kept beside it, an author's set, a level file alone.
struct PlaceCase {
  const char* name;
  const char* named;    // below the scratch folder, or a bare name
  const char* base;     // --base, below the scratch folder
  const char* tree;     // the tree found, below the scratch folder
  const char* set;      // the set laid, below the scratch folder
  const char* level;    // the level file named alone
  const char* problem;  // a part of the problem, or "" for none
};

const PlaceCase placeCases[] = {
    {"nothing is the working tree", "", "", "game/media", "", "", ""},
    {"the folder holding media", "other", "", "other/media", "", "", ""},
    {"media itself", "other/media", "", "other/media", "", "", ""},
    {"a set over the working tree", "mine", "", "game/media", "mine", "", ""},
    {"a set over a named base", "mine", "other", "other/media", "mine", "", ""},
    {"a set over a named media", "mine", "other/media", "other/media", "mine", "", ""},
    {"a level file alone", "mine/a.inf", "", "game/media", "mine", "a.inf", ""},
    {"a set kept beside the tree", "moss", "", "game/media", "game/sets/moss", "", ""},
    {"a set with its own settings", "tuned", "", "game/media", "tuned", "", ""},
    {"a name nothing has", "nowhere", "", "game/media", "", "", "the sets beside the game are: moss"},
    {"a base that is no tree", "mine", "mine", "", "", "", "holds no media tree"},
    {"a base with a tree", "other", "other", "other/media", "", "", "is a tree itself"},
};

class MediaPlaces : public testing::TestWithParam<PlaceCase> {
 protected:
  void SetUp() override {
    root = fs::temp_directory_path() / ("pwe-place-" + std::to_string(getpid()));
    fs::remove_all(root);
    for (const char* tree : {"game/media", "other/media"}) {
      fs::create_directories(root / tree);
      std::ofstream(root / tree / "pwe.cfg") << "[display]\n";
    }
    fs::create_directories(root / "game/sets/moss");
    fs::create_directories(root / "mine");
    std::ofstream(root / "mine/a.inf") << "level\n";
    fs::create_directories(root / "tuned");
    std::ofstream(root / "tuned/pwe.cfg") << "[display]\n";
    std::ofstream(root / "tuned/set.cfg") << "level = a.inf\n";
    std::error_code ignored;
    former = fs::current_path();
    fs::current_path(root);
  }
  void TearDown() override {
    fs::current_path(former);
    fs::remove_all(root);
  }
  fs::path root;
  fs::path former;
};

TEST_P(MediaPlaces, AreFoundAsTheUserMeantThem) {
  const PlaceCase& c = GetParam();
  const MediaPlace place = findMediaPlace(c.named, c.base, "game", "");
  const auto same = [this](const std::string& found, const std::string& expected) {
    if (expected.empty()) return found.empty();
    return fs::weakly_canonical(root / found) == fs::weakly_canonical(root / expected);
  };
  if (c.problem[0] != '\0') {
    EXPECT_NE(place.problem.find(c.problem), std::string::npos) << place.problem;
    return;
  }
  EXPECT_EQ(place.problem, "");
  EXPECT_TRUE(same(place.tree, c.tree)) << place.tree;
  EXPECT_TRUE(same(place.set, c.set)) << place.set;
  EXPECT_EQ(place.level, c.level);
  if (!place.set.empty()) {
    EXPECT_TRUE(fs::path(place.setPath).is_absolute()) << place.setPath;
  }
}

INSTANTIATE_TEST_SUITE_P(Places, MediaPlaces, testing::ValuesIn(placeCases), caseName<PlaceCase>);

}  // namespace

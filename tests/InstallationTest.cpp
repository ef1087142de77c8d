// Which media tree a tool reads: the one named, the working directory's
// when it is one, else the installed tree, in a small installed layout
// built in a temporary directory.
#include "shell/Installation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/CaseName.h"
#include "tests/support/Headless.h"

namespace fs = std::filesystem;

namespace {

struct TreeCase {
  const char* name;
  const char* named;  // the tree given on the command line, or ""
  const char* here;   // the working directory's media/: "tree" (with pwe.cfg), "bare",
                      // "odd" (pwe.cfg a directory), "file" (media a file) or "" (none)
  bool installed;     // an installed tree beside the commands
  const char* reads;  // "named", "here" or "installed"
};

const TreeCase treeCases[] = {
    {"a media tree here is read", "", "tree", true, "here"},
    {"a bare media directory is passed over", "", "bare", true, "installed"},
    {"a file named media is passed over", "", "file", true, "installed"},
    {"no media here reads the installed tree", "", "", true, "installed"},
    {"a broken pwe.cfg still makes the tree the authors", "", "odd", true, "here"},
    {"a named tree is read as named", "mine", "tree", true, "named"},
    {"a named tree need not hold pwe.cfg", "bare/tree", "", true, "named"},
    {"nothing installed leaves media here to be reported", "", "bare", false, "here"},
    {"nothing anywhere leaves media here to be reported", "", "", false, "here"},
};

class ChooseMediaTree : public testing::TestWithParam<TreeCase> {};

TEST_P(ChooseMediaTree, ReadsTheTreeAUserMeans) {
  const TreeCase& c = GetParam();
  MediaTree scratch;
  const fs::path work = fs::path(scratch.root()) / "work";
  const fs::path commands = fs::path(scratch.root()) / "prefix" / "games";
  const fs::path installed = fs::path(installedDataDir(commands.string())) / "media";
  fs::create_directories(work);
  fs::create_directories(commands);
  if (c.installed) {
    fs::create_directories(installed);
    std::ofstream(installed / "pwe.cfg") << "[display]\n";
  }
  const std::string here = c.here;
  if (here == "file") {
    std::ofstream(work / "media") << "not a tree\n";
  } else if (!here.empty()) {
    fs::create_directories(work / "media");
  }
  if (here == "tree") std::ofstream(work / "media" / "pwe.cfg") << "[display]\n";
  if (here == "odd") fs::create_directories(work / "media" / "pwe.cfg");

  const std::string reads = c.reads;
  const std::string expected = reads == "named" ? c.named
                               : reads == "here" ? (work / "media").string()
                                                 : installed.string();
  EXPECT_EQ(chooseMediaTree(c.named, work.string(), commands.string()), expected);
}

INSTANTIATE_TEST_SUITE_P(Layouts, ChooseMediaTree, testing::ValuesIn(treeCases),
                         caseName<TreeCase>);

// The tools report paths as the tree was found: media/ in the working
// directory is plain "media", so lines read media/level1.inf:3:1.
TEST(ChooseMediaTree, NamesTheWorkingDirectorysTreeAsMedia) {
  MediaTree scratch;
  scratch.writeText("media/pwe.cfg", "[display]\n");
  EXPECT_EQ(chooseMediaTree(""), "media");
  EXPECT_EQ(chooseMediaTree("", ".", ""), "media");
}

}  // namespace

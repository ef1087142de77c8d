// The player's own pwe.cfg over the tree's: where it is looked for, and
// the settings in effect for each pair of files.
#include <allegro.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "shell/ConfigFields.h"
#include "shell/ConfigReport.h"
#include "shell/Startup.h"
#include "shell/UserConfig.h"
#include "support/Headless.h"

namespace {

struct PlaceCase {
  const char* configHome;  // XDG_CONFIG_HOME, or null for unset
  const char* expected;
};

const PlaceCase placeCases[] = {
    {nullptr, "/home/u/.config/pwe/pwe.cfg"},
    {"", "/home/u/.config/pwe/pwe.cfg"},
    {"relative/dir", "/home/u/.config/pwe/pwe.cfg"},
    {"/etc/xdg-u", "/etc/xdg-u/pwe/pwe.cfg"},
};

TEST(UserConfigPath, FollowsTheBaseDirectoryRules) {
  const char* oldHome = std::getenv("HOME");
  const std::string savedHome = oldHome != nullptr ? oldHome : "";
  setenv("HOME", "/home/u", 1);
  for (const PlaceCase& c : placeCases) {
    if (c.configHome == nullptr) {
      unsetenv("XDG_CONFIG_HOME");
    } else {
      setenv("XDG_CONFIG_HOME", c.configHome, 1);
    }
    EXPECT_EQ(userConfigPath(), c.expected) << (c.configHome ? c.configHome : "(unset)");
  }
  unsetenv("XDG_CONFIG_HOME");
  setenv("HOME", savedHome.c_str(), 1);
}

enum class UserFile { absent, text, fifo };

struct LayerCase {
  const char* name;
  const char* tree;   // media/pwe.cfg
  UserFile kind;
  const char* user;   // the player's file, when text
  int left;           // [keyboard] left in effect
  int jump;           // [keyboard] jump in effect
};

const LayerCase layerCases[] = {
    {"no user file", "[keyboard]\nleft = 30\n", UserFile::absent, "", 30, KEY_SPACE},
    {"user file overrides one key", "[keyboard]\nleft = 30\njump = 31\n", UserFile::text,
     "[keyboard]\nleft = A\n", KEY_A, 31},
    {"bad value in the user file is the default", "[keyboard]\nleft = 30\n", UserFile::text,
     "[keyboard]\nleft = LEFTT\n", KEY_LEFT, KEY_SPACE},
    {"a FIFO as the user file changes nothing", "[keyboard]\nleft = 30\n", UserFile::fifo, "",
     30, KEY_SPACE},
};

TEST(UserConfigLayers, GiveTheSettingsInEffect) {
  ensureHeadlessAllegro();
  for (const LayerCase& c : layerCases) {
    const std::string dir = testing::TempDir() + "/userconfig" + std::to_string(getpid());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::string tree = dir + "/tree.cfg";
    const std::string user = dir + "/user.cfg";
    std::ofstream(tree) << c.tree;
    if (c.kind == UserFile::text) std::ofstream(user) << c.user;
    if (c.kind == UserFile::fifo) {
      ASSERT_EQ(mkfifo(user.c_str(), 0600), 0);
    }
    selectConfiguration(tree, user);
    EXPECT_EQ(readConfig(config::keyLeft), c.left) << c.name;
    EXPECT_EQ(readConfig(config::keyJump), c.jump) << c.name;
    // The tree alone afterwards: nothing of the player's file stays over it.
    selectConfiguration(tree);
    EXPECT_EQ(readConfig(config::keyLeft), 30) << c.name;
  }
}

}  // namespace

namespace {

struct PackageCase {
  const char* name;
  const char* user;    // the player's file, or null for none
  bool packaged;       // started by the pwe command
  const char* printed; // print-config's idle line; TREE and USER stand for the paths
  bool waits;
};

// The tree says poll, as the stock one does.
const PackageCase packageCases[] = {
    {"the bare game polls as its tree says", nullptr, false,
     "[display] idle = poll from TREE", false},
    {"the pwe command waits", nullptr, true, "[display] idle = wait from the pwe command", true},
    {"the player's poll wins over the command", "[display]\nidle = poll\n", true,
     "[display] idle = poll from USER", false},
    {"the player's file without idle leaves the command's", "[sound]\nvolume = 9\n", true,
     "[display] idle = wait from the pwe command", true},
};

TEST(PackageSettings, GoBetweenTheTreeAndThePlayer) {
  ensureHeadlessAllegro();
  const std::string dir = testing::TempDir() + "/package" + std::to_string(getpid());
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const std::string tree = dir + "/tree.cfg";
  std::ofstream(tree) << "[display]\nidle = poll\n";
  for (const PackageCase& c : packageCases) {
    const std::string user = c.user != nullptr ? dir + "/user.cfg" : "";
    if (c.user != nullptr) std::ofstream(user) << c.user;
    std::FILE* out = std::tmpfile();
    printConfiguration(out, tree, user, c.packaged);
    std::rewind(out);
    std::string printed;
    char line[512];
    while (std::fgets(line, sizeof line, out) != nullptr) printed += line;
    std::fclose(out);
    std::string expected = c.printed;
    const auto place = [&](const std::string& mark, const std::string& path) {
      const size_t at = expected.find(mark);
      if (at != std::string::npos) expected.replace(at, mark.size(), path);
    };
    place("TREE", std::filesystem::absolute(tree).string());
    place("USER", user);
    EXPECT_NE(printed.find(expected + "\n"), std::string::npos) << c.name << "\n" << printed;
    EXPECT_EQ(readConfig(config::idle), c.waits) << c.name;
  }
}

}  // namespace

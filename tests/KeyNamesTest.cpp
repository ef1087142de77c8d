// Key settings by name or number: what the game reads for each text, and
// what pwe-check says of it.
#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "shell/ConfigFields.h"
#include "shell/Startup.h"
#include "support/Headless.h"
#include "tools/check/ConfigChecks.h"
#include "tools/check/TreeFacts.h"

namespace {

struct KeyCase {
  const char* value;    // [keyboard] left = value
  int read;             // what the game plays with
  const char* checker;  // what pwe-check says, or "" for nothing
};

const KeyCase keyCases[] = {
    {"82", KEY_LEFT, ""},
    {"0x52", KEY_LEFT, "reads as 82"},
    {"1", KEY_A, ""},
    {"LEFT", KEY_LEFT, ""},
    {"left", KEY_LEFT, ""},
    {"Space", KEY_SPACE, ""},
    {"A", KEY_A, ""},
    {"8_PAD", 8, "is not a whole number: the engine reads 8"},
    {"KP_8", KEY_8_PAD, ""},
    {"enter", KEY_ENTER, ""},
    {"LEFTT", KEY_LEFT, "'LEFTT' for [keyboard] left is not a key name: the engine uses 82, the "
                        "default; did you mean LEFT?"},
    {"FROBNICATE", KEY_LEFT, "is not a key name: the engine uses 82, the default"},
    {"500", KEY_LEFT, "is not a key scan code"},
};

class KeyValue : public testing::TestWithParam<KeyCase> {};

TEST_P(KeyValue, ReadsAsTheGameAndTheCheckerAgree) {
  ensureHeadlessAllegro();
  const KeyCase& c = GetParam();
  const std::string dir = testing::TempDir() + "/keynames" + std::to_string(getpid());
  std::filesystem::create_directories(dir);
  const std::string path = dir + "/pwe.cfg";
  std::ofstream(path) << "[keyboard]\nleft = " << c.value << "\n";

  selectConfiguration(path);
  EXPECT_EQ(readConfig(config::keyLeft), c.read);

  Diagnostics found;
  TreeFacts facts;
  checkConfiguration(path, found, facts);
  std::string said;
  for (const Diagnostic& d : found.all()) said += d.message + "\n";
  if (c.checker[0] == '\0') {
    EXPECT_EQ(said, "");
  } else {
    EXPECT_NE(said.find(c.checker), std::string::npos) << said;
  }
}

INSTANTIATE_TEST_SUITE_P(Values, KeyValue, testing::ValuesIn(keyCases));

}  // namespace

// pwe.cfg values that are not what they seem (past 32 bits, no number, out
// of range, a control on a key the game keeps) as print-config, pwe-check
// and the game's standard error each tell them; and the settings files the
// programs refuse, which all of them refuse alike.
#include <allegro.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "shell/ConfigFields.h"
#include "shell/ConfigReport.h"
#include "shell/Startup.h"
#include "shell/UserConfig.h"
#include "support/CaseName.h"
#include "support/Headless.h"
#include "tools/check/ConfigChecks.h"
#include "tools/check/TreeFacts.h"

namespace fs = std::filesystem;

namespace {

struct ValueCase {
  const char* name;
  const char* file;      // the whole pwe.cfg
  const ConfigField* field;
  const char* printed;   // print-config's line after "] <key> = ", %s the file's path
  const char* checked;   // pwe-check's line after "<path>:L:C: ", or "" for none
  const char* said;      // the game's standard error, or "" for nothing
};

const ValueCase valueCases[] = {
    {"volume past 32 bits", "[sound]\nvolume = 4294967296\n", &config::volume,
     "255 from the default, for a value in %s ('4294967296' does not fit in 32 bits)",
     "'4294967296' for [sound] volume does not fit in 32 bits: the engine uses 255, the default",
     "pwe: Sound volume '4294967296' does not fit in 32 bits; using 255.\n"},
    {"width past 32 bits reads as Allegro reads it", "[display]\nwidth = 4294967936\n",
     &config::width, "640 from %s ('4294967936' does not fit in 32 bits, read as 640)",
     "'4294967936' for [display] width does not fit in 32 bits: the engine reads 640", ""},
    {"scale that is no number", "[display]\nscale = abc\n", &config::scale,
     "1 from the default, for a value in %s ('abc' is not a whole number)",
     "'abc' for [display] scale is not a whole number: the engine uses 1, the default",
     "pwe: Display scale 'abc' is not a whole number; using 1.\n"},
    {"dead zone out of range", "[joystick]\ndead_zone = 500\n", &config::deadZone,
     "48 from the default, for a value in %s (500 is outside 0 to 128)",
     "[joystick] dead_zone 500 is not a dead zone (0 to 128): the engine uses 48, the default",
     "pwe: Joystick dead zone 500 is outside 0 to 128; using 48.\n"},
    {"scale below its only bound", "[display]\nscale = -3\n", &config::scale,
     "1 from the default, for a value in %s (-3 is below 0)",
     "[display] scale -3 is not a scale (0 or more): the engine uses 1, the default",
     "pwe: Display scale -3 is below 0; using 1.\n"},
    {"focus choice with more after it", "[game]\npause_on_focus_loss = 2x\n",
     &config::pauseOnFocusLoss, "1 from the default, for a value in %s ('2x' is not a whole number)",
     "'2x' for [game] pause_on_focus_loss is not a whole number: the engine uses 1, the default",
     "pwe: pause_on_focus_loss '2x' is not a whole number; using 1.\n"},
    {"cooldown with more after it reads as Allegro reads it",
     "[mechanics]\nteleport_cooldown = 12x\n", &config::teleportCooldown,
     "12 from %s ('12x' is not a whole number, read as 12)",
     "'12x' for [mechanics] teleport_cooldown is not a whole number: the engine reads 12", ""},
    {"a control on Escape", "[keyboard]\nleft = 59\n", &config::keyLeft, "59 (ESC) from %s",
     "warning: the key for [keyboard] left is Escape, which ends the game", ""},
    {"a control on a teleporter digit", "[keyboard]\njump = 30\n", &config::keyJump,
     "30 (3) from %s",
     "warning: the key for [keyboard] jump is the digit 3, which also sends the player to that "
     "teleporter",
     ""},
    {"a control on no key", "[keyboard]\npause = 0\n", &config::keyPause, "0 from %s",
     "warning: the key for [keyboard] pause is code 0, which no key has: the control cannot be "
     "used",
     ""},
};

std::string temporaryDirectory(const char* name) {
  const std::string dir = testing::TempDir() + "/" + name + std::to_string(getpid());
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

std::string readAll(std::FILE* file) {
  std::rewind(file);
  std::string text;
  char buffer[4096];
  while (std::fgets(buffer, sizeof buffer, file) != nullptr) text += buffer;
  std::fclose(file);
  return text;
}

std::string printedLine(const std::string& printed, const ConfigField& field) {
  const std::string start = std::string("[") + field.section + "] " + field.key + " = ";
  const size_t at = printed.find("\n" + start);
  if (at == std::string::npos) return "";
  const size_t from = at + 1 + start.size();
  return printed.substr(from, printed.find('\n', from) - from);
}

std::string format(const char* pattern, const std::string& path) {
  std::string text = pattern;
  const size_t at = text.find("%s");
  if (at != std::string::npos) text.replace(at, 2, path);
  return text;
}

class ConfigValues : public testing::TestWithParam<ValueCase> {};

TEST_P(ConfigValues, AreToldAlikeByEveryProgram) {
  ensureHeadlessAllegro();
  const ValueCase& c = GetParam();
  const std::string path = fs::absolute(temporaryDirectory("configvalues") + "/pwe.cfg");
  std::ofstream(path) << c.file;

  std::FILE* printed = std::tmpfile();
  printConfiguration(printed, path, "");
  EXPECT_EQ(printedLine("\n" + readAll(printed), *c.field), format(c.printed, path));

  Diagnostics diagnostics;
  TreeFacts facts;
  checkConfiguration(path, diagnostics, facts);
  std::FILE* checked = std::tmpfile();
  diagnostics.print(checked);
  const std::string report = readAll(checked);
  if (c.checked[0] == '\0') {
    EXPECT_EQ(report, "");
  } else {
    EXPECT_NE(report.find(std::string(": ") + c.checked + "\n"), std::string::npos) << report;
  }

  selectConfiguration(path);
  sayConfigFallbacks("pwe");
  testing::internal::CaptureStderr();
  readConfig(*c.field);
  readConfig(*c.field);  // said once a run
  EXPECT_EQ(testing::internal::GetCapturedStderr(), c.said);
  sayConfigFallbacks(nullptr);
}

INSTANTIATE_TEST_SUITE_P(BadValues, ConfigValues, testing::ValuesIn(valueCases),
                         caseName<ValueCase>);

TEST(ConfigValues, AnIdleWordOfNeitherKindIsSaidOnce) {
  ensureHeadlessAllegro();
  const std::string path = temporaryDirectory("configidle") + "/pwe.cfg";
  std::ofstream(path) << "[display]\nidle = sleep\n";
  selectConfiguration(path);
  sayConfigFallbacks("pwe");
  testing::internal::CaptureStderr();
  EXPECT_FALSE(readConfig(config::idle));
  EXPECT_FALSE(readConfig(config::idle));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "pwe: [display] idle 'sleep' is neither wait nor poll; using poll.\n");
  sayConfigFallbacks(nullptr);
}

// A tree's file past the bound: the game takes no setting from it, and
// print-config and pwe-check say as much.
TEST(ConfigValues, AFileLongerThanTheBoundIsRefusedByEveryProgram) {
  ensureHeadlessAllegro();
  const std::string path = fs::absolute(temporaryDirectory("configlong") + "/pwe.cfg");
  {
    std::ofstream file(path);
    file << "[sound]\nvolume = 7\n";
    file << std::string(static_cast<size_t>(maxConfigBytes), '#') << "\n";
  }
  testing::internal::CaptureStderr();
  selectConfiguration(path);
  EXPECT_NE(testing::internal::GetCapturedStderr().find("every setting takes its default"),
            std::string::npos);
  EXPECT_EQ(readConfig(config::volume), config::volume.fallback);

  std::FILE* printed = std::tmpfile();
  testing::internal::CaptureStderr();
  printConfiguration(printed, path, "");
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(printedLine("\n" + readAll(printed), config::volume), "255 from the default");

  Diagnostics diagnostics;
  TreeFacts facts;
  checkConfiguration(path, diagnostics, facts);
  ASSERT_EQ(diagnostics.all().size(), 1u);
  EXPECT_NE(diagnostics.all()[0].message.find("every setting's default"), std::string::npos);
}

struct PlaceCase {
  const char* name;
  const char* problem;  // readUserConfig's, "" for a file that is simply not there
};

const PlaceCase placeCases[] = {
    {"directory", "is a directory"},
    {"link loop", "cannot be read (Too many levels of symbolic links)"},
    {"missing", ""},
};

TEST(ConfigValues, SettingsFilesThatAreNoFilesAreNamed) {
  const std::string dir = temporaryDirectory("configplaces");
  fs::create_directory(dir + "/directory");
  fs::create_symlink(dir + "/link loop", dir + "/link loop");
  for (const PlaceCase& c : placeCases) {
    EXPECT_EQ(readUserConfig(dir + "/" + c.name).problem, c.problem) << c.name;
  }
}

}  // namespace

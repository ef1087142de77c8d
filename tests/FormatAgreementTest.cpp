// Each file format is read by one table that the game and pwe-check both
// walk: for values at and past the edges of every range, what the game goes
// on with and what the checker says it goes on with are the same.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/ConfigFields.h"
#include "shell/Startup.h"
#include "tests/support/PlayField.h"
#include "tools/check/ConfigChecks.h"
#include "tools/check/TreeFacts.h"

namespace {

// What the game reads for one setting, from the Game and start-up.
using GameValue = int (*)(const Game&, const StartupSettings&);
int leftKey(const Game& g, const StartupSettings&) { return g.keyLeft; }
int pauseKey(const Game& g, const StartupSettings&) { return g.pause.keyPause; }
int cooldown(const Game& g, const StartupSettings&) { return g.teleportCooldown; }
int verticalTolerance(const Game& g, const StartupSettings&) { return g.ladderVerticalTolerance; }
int jumpButton(const Game& g, const StartupSettings&) { return g.inputSource.gamepad.settings.jumpButton; }
int deadZone(const Game& g, const StartupSettings&) { return g.inputSource.gamepad.settings.deadZone; }
int focusLoss(const Game& g, const StartupSettings&) { return g.pause.focusLossPause; }
int tickRate(const Game&, const StartupSettings& s) { return s.updatesPerSecond; }
int volume(const Game&, const StartupSettings& s) { return s.volume; }
int scale(const Game&, const StartupSettings& s) { return s.scale; }
int width(const Game&, const StartupSettings& s) { return s.width; }

struct ConfigCase {
  const char* line;     // the setting as pwe.cfg holds it
  const char* section;
  GameValue game;
  int plays;            // what the game goes on with
  const char* verdict;  // the checker's message, or nullptr for none
};

const ConfigCase configCases[] = {
    {"teleport_cooldown = 2000000", "mechanics", cooldown, 200,
     "[mechanics] teleport_cooldown 2000000 is not a tick count or tolerance (-1000000 to "
     "1000000): the engine uses 200, the default"},
    {"teleport_cooldown = 1000000", "mechanics", cooldown, 1000000, nullptr},
    {"teleport_cooldown = -1000000", "mechanics", cooldown, -1000000, nullptr},
    {"ladder_vert_tol = -1000001", "mechanics", verticalTolerance, 2,
     "[mechanics] ladder_vert_tol -1000001 is not a tick count or tolerance (-1000000 to "
     "1000000): the engine uses 2, the default"},
    {"teleport_cooldown = many", "mechanics", cooldown, 0,
     "'many' for [mechanics] teleport_cooldown is not a whole number: the engine reads 0"},
    {"updates_per_second = 0", "mechanics", tickRate, 100,
     "[mechanics] updates_per_second 0 is not a tick rate (1 to 1193181): the engine uses 100, "
     "the default"},
    {"updates_per_second = 1193181", "mechanics", tickRate, 1193181, nullptr},
    {"updates_per_second = 1193182", "mechanics", tickRate, 100,
     "[mechanics] updates_per_second 1193182 is not a tick rate (1 to 1193181): the engine "
     "uses 100, the default"},
    {"left = 126", "keyboard", leftKey, 126, nullptr},
    {"left = 0", "keyboard", leftKey, 0,
     "the key for [keyboard] left is code 0, which no key has: the control cannot be used"},
    {"left = -1", "keyboard", leftKey, KEY_LEFT,
     "[keyboard] left -1 is not a key scan code (0 to 126): the engine uses 82, the default"},
    {"pause = 0x11", "keyboard", pauseKey, 17,
     "'0x11' for [keyboard] pause reads as 17 (a leading 0 means octal, 0x hexadecimal)"},
    {"pause = 127", "keyboard", pauseKey, KEY_P,
     "[keyboard] pause 127 is not a key scan code (0 to 126): the engine uses 16, the default"},
    {"jump = 31", "joystick", jumpButton, 31, nullptr},
    {"jump = 32", "joystick", jumpButton, 0,
     "[joystick] jump 32 is not a joystick button (0 to 31): the engine uses 0, the default"},
    {"dead_zone = 128", "joystick", deadZone, 128, nullptr},
    {"dead_zone = -1", "joystick", deadZone, 48,
     "[joystick] dead_zone -1 is not a dead zone (0 to 128): the engine uses 48, the default"},
    {"pause_on_focus_loss = 2", "game", focusLoss, 2, nullptr},
    {"pause_on_focus_loss = 3", "game", focusLoss, 1,
     "[game] pause_on_focus_loss 3 is not a focus-loss choice (0 to 2): the engine uses 1, "
     "the default"},
    {"volume = 0", "sound", volume, 0, nullptr},
    {"volume = 256", "sound", volume, 255,
     "[sound] volume 256 is not a volume (0 to 255): the engine uses 255, the default"},
    {"scale = 0", "display", scale, 0, nullptr},
    {"scale = -1", "display", scale, 1,
     "[display] scale -1 is not a scale (0 or more): the engine uses 1, the default"},
    // Start-up asks for no mode for such a side: the game keeps the value
    // it read and stops on it.
    {"width = 0", "display", width, 0,
     "[display] width 0 is not a screen side in pixels (1 to 32767): the engine stops with "
     "\"Couldn't set graphics mode!\""},
    {"width = 32768", "display", width, 32768,
     "[display] width 32768 is not a screen side in pixels (1 to 32767): the engine stops with "
     "\"Couldn't set graphics mode!\""},
};

TEST(FormatAgreement, ConfigValuesPlayAsTheCheckerSays) {
  LevelLayout layout;
  layout.floor(0, 640, 300);
  PlayField field(layout);
  for (const ConfigCase& c : configCases) {
    SCOPED_TRACE(c.line);
    const std::string text = std::string("[") + c.section + "]\n" + c.line + "\n";
    field.tree.writeText("media/pwe.cfg", text);

    Diagnostics found;
    TreeFacts facts;
    checkConfiguration("media/pwe.cfg", found, facts);
    std::vector<std::string> messages;
    for (const Diagnostic& d : found.all()) messages.push_back(d.message);
    EXPECT_EQ(messages, c.verdict == nullptr ? std::vector<std::string>{}
                                             : std::vector<std::string>{c.verdict});

    // The checker left the file selected, as start-up does.
    field.game->loadControls();
    EXPECT_EQ(c.game(*field.game, readStartupSettings()), c.plays);
  }
}

// A value start-up cannot show stops it, as the checker says.
TEST(FormatAgreement, AScreenSideTheCheckerRefusesStopsStartUp) {
  StartupSettings settings;
  for (int side : {0, 32768}) {
    settings.width = side;
    EXPECT_FALSE(planScreen(settings, 0, 0).problem.empty()) << side;
  }
  settings.width = 32767;
  settings.height = 1;
  EXPECT_TRUE(planScreen(settings, 0, 0).problem.empty());
}

}  // namespace

// Records an input replay by playing a scripted route through the real game
// tick, headlessly. A route is a text file of commands, one per line, that
// read the player's state to decide how long to hold each key:
//
//   walk right|left to <x>      hold the walk key until x passes <x>
//   climb up|down to <y>        hold the climb key until y passes <y>
//   jump up|left|right          start a jump, then wait until it has landed
//   teleport <n>                press and release digit n
//   hold <keys> <ticks>         hold raw keys (replay letters) for <ticks>
//   wait <ticks>                no keys for <ticks>
//   settle                      no keys until standing (no jump, fall or slide)
//   # ...                       comment
//
// Usage, from the directory holding media/:
//   pwe-record <level file> <route file> <replay file to write>
#include <allegro.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "game/Game.h"
#include "shell/Startup.h"
#include "tests/support/Headless.h"
#include "tests/support/Replay.h"

namespace {

const int commandLimit = 5000;  // ticks one command may take before the route is judged wrong

struct Recorder {
  Game& game;
  Replay replay;
  bool over = false;  // the life ended (cleared or lost)

  bool step(const std::string& keys) {
    if (over) return false;
    applyKeys(game, keys);
    replay.append(keys);
    over = game.tick();
    return !over;
  }

  bool grounded() const {
    const Player& p = game.player;
    return p.jumpState == 0 && !p.falling && !p.onChute;
  }
};

bool fail(int line, const std::string& what, const Game& game) {
  std::fprintf(stderr,
               "route line %d: %s (player at %.3f, %.3f, jump state %d, falling %d, lives %d)\n",
               line, what.c_str(), game.player.x, game.player.y, game.player.jumpState,
               game.player.falling ? 1 : 0, game.player.lives);
  return false;
}

bool runCommand(Recorder& r, const std::string& text, int line) {
  std::istringstream in(text);
  std::string verb;
  in >> verb;
  const Player& p = r.game.player;
  if (verb == "walk" || verb == "climb") {
    std::string way;
    std::string to;
    float target = 0;
    in >> way >> to >> target;
    const std::string keys = way == "right" ? "R" : way == "left" ? "L" : way == "up" ? "U" : "D";
    auto reached = [&] {
      if (way == "right") return p.x >= target;
      if (way == "left") return p.x <= target;
      if (way == "up") return p.y <= target;
      return p.y >= target;
    };
    for (int t = 0; !reached(); ++t) {
      if (t > commandLimit) return fail(line, "target never reached", r.game);
      if (!r.step(keys)) return true;
    }
    return true;
  }
  if (verb == "jump") {
    std::string way;
    in >> way;
    const std::string keys = way == "left" ? "JL" : way == "right" ? "JR" : "J";
    if (!r.step(keys)) return true;
    for (int t = 0; !r.grounded(); ++t) {
      if (t > commandLimit) return fail(line, "jump never landed", r.game);
      if (!r.step("-")) return true;
    }
    return true;
  }
  if (verb == "teleport") {
    int n = 0;
    in >> n;
    if (!r.step(std::to_string(n))) return true;
    r.step("-");
    return true;
  }
  if (verb == "hold" || verb == "wait") {
    std::string keys = "-";
    int ticks = 0;
    if (verb == "hold") in >> keys;
    in >> ticks;
    for (int t = 0; t < ticks; ++t) {
      if (!r.step(keys)) return true;
    }
    return true;
  }
  if (verb == "settle") {
    for (int t = 0; !r.grounded(); ++t) {
      if (t > commandLimit) return fail(line, "never settled", r.game);
      if (!r.step("-")) return true;
    }
    return true;
  }
  return fail(line, "unknown command '" + verb + "'", r.game);
}

int record(const std::string& level, const std::string& routePath, const std::string& outPath) {
  std::ifstream route(routePath);
  if (!route) {
    std::fprintf(stderr, "cannot open %s\n", routePath.c_str());
    return 2;
  }
  set_config_file("media/pwe.cfg");
  const int ups = usableUpdatesPerSecond(get_config_int("mechanics", "updates_per_second", 100));
  auto game = std::make_unique<Game>(640, 480, ups);
  game->startLevel(level);
  game->beginLife();
  const int livesBefore = game->player.lives;
  const int scoreBefore = game->player.score;

  Recorder r{*game, {}, false};
  r.replay.level = level;
  std::string text;
  int line = 0;
  while (std::getline(route, text)) {
    ++line;
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string::npos || text[start] == '#') continue;
    if (!runCommand(r, text.substr(start), line)) return 1;
    if (r.over) break;
  }
  releaseAllKeys(*game);
  if (!game->levelDone) {
    std::fprintf(stderr, "the route ends without clearing %s (%d tiles left, lives %d of %d)\n",
                 level.c_str(), game->floorManager.tilesLeft(), game->player.lives, livesBefore);
    return 1;
  }
  if (game->player.lives != livesBefore) {
    std::fprintf(stderr, "the route loses a life\n");
    return 1;
  }
  r.replay.levelHash = fileHash("media/" + level);
  r.replay.playerHash = fileHash("media/player.inf");
  r.replay.expectScore = game->player.score - scoreBefore;
  if (!writeReplay(outPath, r.replay)) {
    std::fprintf(stderr, "cannot write %s\n", outPath.c_str());
    return 2;
  }
  std::printf("%s: cleared in %d ticks, score %d\n", level.c_str(), r.replay.tickCount(),
              r.replay.expectScore);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: pwe-record <level file> <route file> <replay file>\n");
    return 2;
  }
  ensureHeadlessAllegro();
  return record(argv[1], argv[2], argv[3]);
}

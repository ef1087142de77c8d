// Records an input replay by playing a scripted route through the real game
// tick, headlessly. A route is a text file of commands, one per line, that
// read the game's state to decide how long to hold each key:
//
//   walk right|left to <x>         hold the walk key until x passes <x>
//   climb up|down to <y>           hold the climb key until y passes <y>
//   jump up|left|right             start a jump, then wait until it has landed
//   teleport <n>                   press and release digit n
//   hold <keys> <ticks>            hold raw keys (replay letters) for <ticks>
//   wait <ticks>                   no keys for <ticks>
//   settle                         no keys until standing (no jump, fall or slide)
//   await enemy <n> left|right of <x>   no keys until enemy n (1 = first in
//                                  the level file) is left or right of <x>
//   await enemy <n> below <y>      no keys until enemy n's feet are below row <y>
//   await enemy <n> dead           no keys until enemy n has been killed
//   await cooldown                 no keys until the teleport cooldown is over
//   # ...                          comment
//
// Usage, from the directory holding media/:
//   pwe-record <level file> <route file> <replay file to write>
// With PWE_RECORD_TRACE=1 in the environment every command prints the tick,
// the player's state and every enemy after it has run: the way to plan the
// next line of a route. With PWE_RECORD_SHOT=TICK:FILE.png the frame of that
// tick is drawn by the game and saved: a screenshot from the middle of play.
#include <allegro.h>
#include <loadpng.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "authoring/FileReplace.h"
#include "authoring/Replay.h"
#include "game/Game.h"
#include "graphics/Resources.h"
#include "shell/Startup.h"
#include "tests/support/Headless.h"

namespace {

const int commandLimit = 5000;  // ticks one command may take before the route is judged wrong

struct Recorder {
  Game& game;
  Replay replay;
  bool over = false;  // the life ended (cleared or lost)
  int shotTick = -1;  // the tick whose frame is saved, if any
  std::string shotPath;

  bool step(const std::string& keys) {
    if (over) return false;
    applyKeys(game, keys);
    replay.append(keys);
    over = game.tick();
    if (replay.tickCount() == shotTick) saveShot();
    return !over;
  }

  void saveShot() {
    BitmapPtr frame(create_bitmap_ex(32, game.width, game.height));
    // Drawing leaves the alpha bytes of the frame at 0, which a PNG would
    // keep; a 24-bit copy is what the screen shows.
    BitmapPtr opaque(create_bitmap_ex(24, game.width, game.height));
    if (!frame || !opaque) return;
    BITMAP* shown = game.output.display;
    game.output.display = frame.get();
    game.drawFrame();
    game.output.display = shown;
    blit(frame.get(), opaque.get(), 0, 0, 0, 0, game.width, game.height);
    if (save_png(shotPath.c_str(), opaque.get(), nullptr) != 0) {
      std::fprintf(stderr, "cannot save %s\n", shotPath.c_str());
    }
  }

  bool grounded() const {
    const Player& p = game.player;
    return p.jumpState == Player::notJumping && !p.falling && !p.onChute;
  }

  // Holds keys until done() holds; false (with a message) when it never does.
  bool holdUntil(const std::string& keys, const std::function<bool()>& done, int line,
                 const char* what);
};

void describe(const Game& game, FILE* out) {
  const Player& p = game.player;
  std::fprintf(out, "player at %.3f, %.3f, jump state %d, falling %d, chute %d, lives %d",
               p.x, p.y, p.jumpState, p.falling ? 1 : 0, p.onChute ? 1 : 0, p.lives);
}

bool fail(int line, const std::string& what, const Game& game) {
  std::fprintf(stderr, "route line %d: %s (", line, what.c_str());
  describe(game, stderr);
  std::fprintf(stderr, ")\n");
  return false;
}

bool Recorder::holdUntil(const std::string& keys, const std::function<bool()>& done, int line,
                         const char* what) {
  for (int t = 0; !done(); ++t) {
    if (t > commandLimit) return fail(line, what, game);
    if (!step(keys)) return true;
  }
  return true;
}

const Enemy* enemyNumber(const Game& game, int n) {
  const auto& enemies = game.enemyManager.enemies();
  if (n < 1 || n > static_cast<int>(enemies.size())) return nullptr;
  return &enemies[n - 1];
}

bool await(Recorder& r, std::istringstream& in, int line) {
  std::string what;
  in >> what;
  if (what == "cooldown") {
    return r.holdUntil("-", [&] { return !r.game.teleportCooldownActive; }, line,
                       "the cooldown never ended");
  }
  int n = 0;
  std::string relation;
  in >> n >> relation;
  const Enemy* enemy = enemyNumber(r.game, n);
  if (what != "enemy" || !enemy) return fail(line, "no such enemy", r.game);
  float value = 0;
  if (relation == "left" || relation == "right") {
    std::string of;
    in >> of >> value;
  } else {
    in >> value;
  }
  std::function<bool()> done;
  if (relation == "left") done = [=] { return enemy->x < value; };
  else if (relation == "right") done = [=] { return enemy->x > value; };
  else if (relation == "below") done = [=] { return enemy->y > value; };
  else if (relation == "dead") done = [=] { return !enemy->alive; };
  else return fail(line, "unknown enemy condition '" + relation + "'", r.game);
  return r.holdUntil("-", done, line, "the enemy never got there");
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
    return r.holdUntil(keys, reached, line, "target never reached");
  }
  if (verb == "jump") {
    std::string way;
    in >> way;
    const std::string keys = way == "left" ? "JL" : way == "right" ? "JR" : "J";
    if (!r.step(keys)) return true;
    if (p.jumpState == Player::notJumping) return fail(line, "the jump did not start (on a ladder?)", r.game);
    return r.holdUntil("-", [&] { return r.grounded(); }, line, "jump never landed");
  }
  if (verb == "teleport") {
    int n = 0;
    in >> n;
    const float x = p.x;
    const float y = p.y;
    if (!r.step(std::to_string(n))) return true;
    if (!r.step("-")) return true;
    if (p.x == x && p.y == y) return fail(line, "the teleport did not happen", r.game);
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
    return r.holdUntil("-", [&] { return r.grounded(); }, line, "never settled");
  }
  if (verb == "await") return await(r, in, line);
  return fail(line, "unknown command '" + verb + "'", r.game);
}

void trace(const Recorder& r, int line) {
  const Game& game = r.game;
  std::printf("line %3d tick %5d: ", line, r.replay.tickCount());
  describe(game, stdout);
  std::printf(", score %d, tiles left %d\n", game.player.score, game.floorManager.tilesLeft());
  int n = 1;
  for (const Enemy& e : game.enemyManager.enemies()) {
    const char* going = e.direction == Enemy::walkingRight ? "right" : "left";
    std::printf("    enemy %d: %s at %.2f, %.2f going %s, state %d%s\n", n++,
                e.alive ? "alive" : "dead", e.x, e.y, going, e.state, e.falling ? ", falling" : "");
  }
}

// One line per run of neighbouring unclaimed tiles on a row.
void listUnclaimed(const Game& game) {
  const FloorTile* first = nullptr;
  const FloorTile* last = nullptr;
  auto flush = [&] {
    if (first) std::fprintf(stderr, "  unclaimed on row %d: x %d to %d\n", first->y, first->x,
                            last->x + last->width);
    first = last = nullptr;
  };
  for (const FloorTile& t : game.floorManager.tiles()) {
    if (t.claimable != 1 || t.cleared) continue;
    if (last && (t.y != last->y || t.x != last->x + last->width)) flush();
    if (!first) first = &t;
    last = &t;
  }
  flush();
}

int record(const std::string& level, const std::string& routePath, const std::string& outPath) {
  std::ifstream route(routePath);
  if (!route) {
    std::fprintf(stderr, "cannot open %s\n", routePath.c_str());
    return 2;
  }
  const bool tracing = std::getenv("PWE_RECORD_TRACE") != nullptr;
  set_config_file("media/pwe.cfg");
  const int ups = usableUpdatesPerSecond(get_config_int("mechanics", "updates_per_second", 100));
  auto game = std::make_unique<Game>(640, 480, ups);
  game->startLevel(level);
  game->beginLife();
  const int livesBefore = game->player.lives;
  const int scoreBefore = game->player.score;

  Recorder r{*game, {}, false, -1, ""};
  r.replay.level = level;
  if (const char* shot = std::getenv("PWE_RECORD_SHOT")) {
    const std::string text = shot;
    const std::size_t colon = text.find(':');
    if (colon != std::string::npos) {
      r.shotTick = std::atoi(text.substr(0, colon).c_str());
      r.shotPath = text.substr(colon + 1);
    }
  }
  std::string text;
  int line = 0;
  while (std::getline(route, text)) {
    ++line;
    const std::size_t start = text.find_first_not_of(" \t");
    if (start == std::string::npos || text[start] == '#') continue;
    if (!runCommand(r, text.substr(start), line)) return 1;
    if (tracing) trace(r, line);
    if (r.over) break;
  }
  releaseAllKeys(*game);
  if (game->player.lives != livesBefore) {
    std::fprintf(stderr, "the route loses a life at line %d, tick %d (", line,
                 r.replay.tickCount());
    describe(*game, stderr);
    std::fprintf(stderr, ", countdown %d)\n", game->countdown);
    return 1;
  }
  if (!game->levelDone) {
    std::fprintf(stderr, "the route ends without clearing %s (%d tiles left)\n", level.c_str(),
                 game->floorManager.tilesLeft());
    listUnclaimed(*game);
    return 1;
  }
  r.replay.levelHash = fileHash("media/" + level);
  r.replay.playerHash = fileHash("media/player.inf");
  r.replay.expectScore = game->player.score - scoreBefore;
  std::string error;
  if (replaceFile(outPath, replayText(r.replay), error) != 0) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 2;
  }
  std::printf("%s: cleared in %d ticks, score %d, countdown %d of %d left\n", level.c_str(),
              r.replay.tickCount(), r.replay.expectScore, game->countdown,
              game->level.countdown_start);
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

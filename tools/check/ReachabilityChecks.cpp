// The reachability search (game/Reachability) on every level that reads
// cleanly, each in a Game built afresh as a run builds it: the claimable
// tiles and the items no sequence of keys reaches, each at its record, and
// how long the route found takes against the countdown. With --route the
// route of one level is written as a replay.
#include <string>
#include <vector>

#include "game/Game.h"
#include "game/Reachability.h"
#include "game/Replay.h"
#include "shell/Fatal.h"
#include "shell/MediaTreeEntry.h"
#include "shell/Startup.h"
#include "tools/check/MediaChecker.h"

namespace {

// What dataFailure would have shown, thrown instead of ending the check.
struct EngineStop {
  std::string text;
};

[[noreturn]] void throwStop(const std::string& boxText, const std::string&) {
  throw EngineStop{boxText};
}

Position recordAt(const std::vector<Position>& records, int index) {
  return index >= 0 && index < static_cast<int>(records.size()) ? records[index] : Position{};
}

std::string point(int x, int y) { return std::to_string(x) + ", " + std::to_string(y); }

std::string seconds(int ticks, int updatesPerSecond) {
  return formatText("%.1f s", static_cast<double>(ticks) / updatesPerSecond);
}

}  // namespace

void MediaChecker::requestRoute(const std::string& level, const std::string& output) {
  routeLevel_ = level;
  routeOutput_ = output;
}

void MediaChecker::checkReachability(bool treeLoads) {
  const LevelRecords* routed = nullptr;
  std::vector<const LevelRecords*> readable;
  for (const LevelRecords& records : levels_) {
    if (!records.readable) continue;
    readable.push_back(&records);
    if (records.fileName == routeLevel_) routed = &records;
  }
  if (!routeLevel_.empty() && (routed == nullptr || !treeLoads)) {
    const bool known = routeLevel_ == "level1.inf" || routeLevel_ == "level2.inf" ||
                       routeLevel_ == "level3.inf" || routeLevel_ == "level4.inf";
    out_.report(known ? pathOf(routeLevel_) : root_,
                known ? "no route is written: the level or the tree has errors"
                      : "no route is written: " + routeLevel_ +
                            " is none of the levels level1.inf to level4.inf");
  }
  if (!treeLoads || readable.empty() || !enterMediaTree(root_)) return;
  setDataFailureHandler(throwStop);
  for (const LevelRecords* records : readable) {
    try {
      selectConfiguration("media/pwe.cfg");
      const StartupSettings settings = readStartupSettings();
      // A Game of its own, as a run begins: no ladder held, every
      // animation at its first frame.
      Game game(settings.width, settings.height, settings.updatesPerSecond);
      game.startLevel(records->fileName);
      game.beginLife();
      ReachabilityLimits limits;
      if (searchSeconds_ > 0.0) limits.maxSeconds = searchSeconds_;
      Reachability search(game, limits);
      search.run();
      reportReachability(*records, game, search, records == routed);
    } catch (const EngineStop& stop) {
      out_.report(pathOf(records->fileName),
                  "the engine stops when it places this level: " + stop.text);
    }
  }
  setDataFailureHandler(nullptr);
  leaveMediaTree();
}

void MediaChecker::reportReachability(const LevelRecords& records, Game& game,
                                      const Reachability& search, bool writeRoute) {
  const std::string file = pathOf(records.fileName);
  if (!search.complete()) {
    out_.warn(file, "search stopped after " + std::to_string(search.stateCount()) +
                        " states: which tiles and items can be reached is not known");
  }
  const std::vector<int> tiles = search.unreachedTiles();
  if (search.complete()) {
    for (int i : tiles) {
      const FloorTile& tile = game.floorManager.tiles()[i];
      out_.report(file, recordAt(records.tiles, i),
                  "claimable tile at " + point(tile.x, tile.y) +
                      " cannot be reached from the start position");
    }
    for (int i : search.unreachedItems()) {
      const Item& item = game.itemManager.items()[i];
      out_.warn(file, recordAt(records.items, i),
                "item at " + point(item.x, item.y) + " cannot be reached from the start position");
    }
    if (!tiles.empty()) {
      out_.report(file, "the level cannot be cleared: " + std::to_string(tiles.size()) +
                            " claimable tile" + (tiles.size() == 1 ? "" : "s") +
                            " cannot be reached");
    }
  }
  if (!tiles.empty()) {
    if (writeRoute) out_.report(file, "no route is written: no route clears the level");
    return;
  }
  const Reachability::Route route = search.route();
  if (!route.followed) {
    out_.report(file, "the route found does not play as the search found it: the search and "
                      "the game disagree");
    return;
  }
  if (!route.clears) {
    out_.warn(file, "the route found leaves " + std::to_string(route.tilesLeft) +
                        " claimable tile" + (route.tilesLeft == 1 ? "" : "s") +
                        " unclaimed: the search found no way to claim them all in one life");
    if (writeRoute) out_.report(file, "no route is written: no route found clears the level");
    return;
  }
  Replay replay;
  replay.level = records.fileName;
  replay.levelHash = fileHash("media/" + records.fileName);
  replay.playerHash = fileHash("media/player.inf");
  replay.expectScore = route.scoreGained;
  replay.enemiesAbsent = true;
  for (const TickInput& tick : route.ticks) {
    const std::string keys = replayKeyText(tick.keys, tick.digit);
    if (keys.empty()) {
      if (writeRoute) {
        out_.report(file, "no route is written: it needs the key of teleporter " +
                              std::to_string(tick.digit) +
                              ", and a replay holds the digits 1 to 9 only");
      }
      return;  // nor can the replay player time it
    }
    replay.append(keys);
  }
  // Played as the game plays it, countdown and all: a route that takes
  // longer than the countdown allows loses the life before its end.
  const ReplayOutcome outcome = playReplay(game, replay);
  const int ups = game.updatesPerSecond;
  if (!outcome.cleared && game.countdown <= 0) {
    out_.warn(file, "the quickest route found takes " + seconds(replay.tickCount(), ups) +
                        "; the countdown allows " + seconds(outcome.ticks, ups));
  } else if (!outcome.cleared) {
    out_.report(file, "the route found does not clear the level when replayed: the search and "
                      "the game disagree");
  }
  if (writeRoute && !writeReplay(routeOutput_, replay)) {
    out_.report(routeOutput_, "cannot write the route here");
  }
}

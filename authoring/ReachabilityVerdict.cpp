#include "authoring/ReachabilityVerdict.h"

#include "authoring/NearMiss.h"
#include "authoring/Reachability.h"
#include "game/Game.h"
#include "shell/Fatal.h"

namespace {

std::string point(int x, int y) { return std::to_string(x) + ", " + std::to_string(y); }

std::string seconds(int ticks, int updatesPerSecond) {
  return formatText("%.1f s", static_cast<double>(ticks) / updatesPerSecond);
}

std::string tilesText(std::size_t count) {
  return std::to_string(count) + " claimable tile" + (count == 1 ? "" : "s");
}

void add(ReachabilityVerdict& verdict, LayoutElement element, int index, bool warning,
         const std::string& message, bool unreachable = false) {
  LayoutFinding finding;
  finding.element = element;
  finding.index = index;
  finding.warning = warning;
  finding.message = message;
  finding.unreachable = unreachable;
  verdict.findings.push_back(finding);
}

void addUnreached(ReachabilityVerdict& verdict, const Game& game, const Reachability& search,
                  const std::vector<int>& tiles) {
  for (int i : tiles) {
    const FloorTile& tile = game.floorManager.tiles()[i];
    add(verdict, LayoutElement::Tile, i, false,
        "claimable tile at " + point(tile.x, tile.y) +
            " cannot be reached from the start position",
        true);
    const std::string near = nearMissText(game, i, nearestApproach(game, search, i));
    if (!near.empty()) add(verdict, LayoutElement::Tile, i, true, near, true);
  }
  for (int i : search.unreachedItems()) {
    const Item& item = game.itemManager.items()[i];
    add(verdict, LayoutElement::Item, i, true,
        "item at " + point(item.x, item.y) + " cannot be reached from the start position", true);
  }
  if (!tiles.empty()) {
    add(verdict, LayoutElement::Level, 0, false,
        "the level cannot be cleared: " + tilesText(tiles.size()) + " cannot be reached");
  }
}

// The keys of the route as a replay; false (with the reason) when one needs
// a teleporter digit the format cannot hold.
bool routeAsReplay(const Reachability::Route& route, ReachabilityVerdict& verdict) {
  verdict.route.expectScore = route.scoreGained;
  verdict.route.enemiesAbsent = true;
  for (const TickInput& tick : route.ticks) {
    const std::string keys = replayKeyText(tick.keys, tick.digit);
    if (keys.empty()) {
      verdict.noRoute = "no route is written: it needs the key of teleporter " +
                        std::to_string(tick.digit) +
                        ", and a replay holds the digits 1 to 9 only";
      return false;
    }
    verdict.route.append(keys);
  }
  return true;
}

}  // namespace

ReachabilityVerdict judgeReachability(Game& game, const Reachability& search) {
  ReachabilityVerdict verdict;
  if (!search.complete()) {
    add(verdict, LayoutElement::Level, 0, true,
        "search stopped after " + std::to_string(search.stateCount()) +
            " states: which tiles and items can be reached is not known");
  }
  const std::vector<int> tiles = search.unreachedTiles();
  if (search.complete()) addUnreached(verdict, game, search, tiles);
  if (!tiles.empty()) {
    verdict.noRoute = "no route is written: no route clears the level";
    return verdict;
  }
  const Reachability::Route route = search.route();
  if (!route.followed) {
    add(verdict, LayoutElement::Level, 0, false,
        "the route found does not play as the search found it: the search and the game "
        "disagree");
    return verdict;
  }
  if (!route.clears) {
    add(verdict, LayoutElement::Level, 0, true,
        "the route found leaves " + tilesText(route.tilesLeft) +
            " unclaimed: the search found no way to claim them all in one life");
    verdict.noRoute = "no route is written: no route found clears the level";
    return verdict;
  }
  if (!routeAsReplay(route, verdict)) return verdict;  // nor can the replay player time it
  // Played as the game plays it, countdown and all: a route that takes
  // longer than the countdown allows loses the life before its end.
  const ReplayOutcome outcome = playReplay(game, verdict.route);
  const int ups = game.updatesPerSecond;
  if (!outcome.cleared && game.countdown <= 0) {
    add(verdict, LayoutElement::Level, 0, true,
        "the quickest route found takes " + seconds(verdict.route.tickCount(), ups) +
            "; the countdown allows " + seconds(outcome.ticks, ups));
  } else if (!outcome.cleared) {
    add(verdict, LayoutElement::Level, 0, false,
        "the route found does not clear the level when replayed: the search and the game "
        "disagree");
  }
  verdict.routeWritable = true;
  return verdict;
}

std::string placementStopMessage(const std::string& stopText) {
  return "the engine stops when it places this level: " + stopText;
}

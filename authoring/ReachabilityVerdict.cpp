#include "authoring/ReachabilityVerdict.h"

#include <algorithm>
#include <atomic>
#include <future>
#include <system_error>

#include "authoring/ClearingRoute.h"
#include "authoring/ClearingSearch.h"
#include "authoring/NearMiss.h"
#include "authoring/Reachability.h"
#include "authoring/RouteMoments.h"
#include "authoring/RunBound.h"
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

LayoutFinding& add(ReachabilityVerdict& verdict, LayoutElement element, int index, bool warning,
                   const std::string& message, bool unreachable = false) {
  LayoutFinding finding;
  finding.element = element;
  finding.index = index;
  finding.warning = warning;
  finding.message = message;
  finding.unreachable = unreachable;
  verdict.findings.push_back(finding);
  return verdict.findings.back();
}

LayoutFinding& add(ReachabilityVerdict& verdict, ElementKind kind, int index, bool warning,
                   const std::string& message, bool unreachable = false) {
  LayoutFinding& finding =
      add(verdict, LayoutElement::Record, index, warning, message, unreachable);
  finding.kind = kind;
  return finding;
}

void addUnreached(ReachabilityVerdict& verdict, const Game& game, const Reachability& search,
                  const std::vector<int>& tiles) {
  for (int i : tiles) {
    const FloorTile& tile = game.floorManager.tiles()[i];
    add(verdict, ElementKind::Tile, i, false,
        "claimable tile at " + point(tile.x, tile.y) +
            " cannot be reached from the start position",
        true);
    const std::string near = nearMissText(game, i, nearestApproach(game, search, i));
    if (!near.empty()) add(verdict, ElementKind::Tile, i, true, near, true);
  }
  for (int i : search.unreachedItems()) {
    const Item& item = game.itemManager.items()[i];
    add(verdict, ElementKind::Item, i, true,
        "item at " + point(item.x, item.y) + " cannot be reached from the start position", true);
    const std::string near = itemNearMissText(game, i, nearestItemApproach(game, search, i));
    if (!near.empty()) add(verdict, ElementKind::Item, i, true, near, true);
  }
  if (!tiles.empty()) {
    add(verdict, LayoutElement::Level, 0, false,
        "the level cannot be cleared: " + tilesText(tiles.size()) + " cannot be reached");
  }
}

// The keys of the route as a replay; false, with a warning that says why
// the route cannot be played, when one needs a teleporter no key chooses.
bool routeAsReplay(const std::vector<TickInput>& ticks, ReachabilityVerdict& verdict) {
  verdict.route.runs.clear();
  for (const TickInput& tick : ticks) {
    const std::string keys = replayKeyText(tick.keys, tick.digit);
    if (keys.empty()) {
      const std::string why = "the route found needs teleporter " + std::to_string(tick.digit) +
                              ", which no key chooses: it cannot be replayed";
      add(verdict, LayoutElement::Level, 0, true,
          why + ", so neither the countdown nor the enemies are checked");
      verdict.noRoute = why;
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
    verdict.noRoute = "no route clears the level";
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
    verdict.noRoute = "no route found clears the level";
    return verdict;
  }
  verdict.route.expectScore = route.scoreGained;
  verdict.route.enemiesAbsent = true;
  if (!routeAsReplay(route.ticks, verdict)) return verdict;  // nor can the replay player time it
  // Played as the game plays it, countdown and all: a route that takes
  // longer than the countdown allows loses the life before its end.
  const ReplayOutcome outcome = playReplay(game, verdict.route);
  const int ups = game.updatesPerSecond;
  verdict.routeInTime = outcome.cleared;
  // A route that does not clear is never written: played, it would lose
  // the life it was meant to prove.
  verdict.routeWritable = outcome.cleared;
  if (outcome.cleared) return verdict;
  const bool late = game.countdown <= 0;
  const LayoutFinding& finding = add(
      verdict, LayoutElement::Level, 0, late,
      late ? "the quickest route found takes " + seconds(verdict.route.tickCount(), ups) +
                 "; the countdown allows " + seconds(outcome.ticks, ups)
           : "the route found does not clear the level when replayed: the search and the game "
             "disagree");
  verdict.noRoute = finding.message;
  return verdict;
}

namespace {

std::string tickList(const std::vector<int>& ticks) {
  std::string list;
  for (int tick : ticks) list += (list.empty() ? "" : ", ") + std::to_string(tick);
  return list;
}

std::string bestAttempt(const Game& game, const ClearingResult& clear) {
  std::string text = "the best attempt claimed " + std::to_string(clear.tilesClaimed) + " of " +
                     std::to_string(clear.tilesTotal) + (clear.tilesTotal == 1 ? " tile and " : " tiles and ");
  const std::string player = point(static_cast<int>(clear.x), static_cast<int>(clear.y));
  switch (clear.blockedBy) {
    case ClearingResult::End::Caught: {
      const EnemySpec& enemy = game.level.enemies[clear.enemy];
      return text + "was caught by the enemy placed at " + point(enemy.x, enemy.y) +
             " with the player at " + player;
    }
    case ClearingResult::End::Fell:
      return text + "ended in a fall with the player at " + player;
    case ClearingResult::End::Countdown:
      return text + "ran out of time with the player at " + player;
    default:
      return text + "found no way on";
  }
}

// Why no route with the enemies is written, at the record it is about.
void addBlocked(ReachabilityVerdict& verdict, const Game& game, const ClearingResult& clear) {
  std::string message = "no route found clears the level with its enemies";
  if (clear.end == ClearingResult::End::Limit) {
    message += " within the search's limits";
  }
  message += ": " + bestAttempt(game, clear);
  const bool atEnemy = clear.blockedBy == ClearingResult::End::Caught && clear.enemy >= 0;
  if (atEnemy) {
    add(verdict, ElementKind::Enemy, clear.enemy, true, message);
  } else {
    add(verdict, LayoutElement::Level, 0, true, message);
  }
}

// What the presses could say within their limits; only what was found is
// claimed.
std::string pressesText(const FramePerfect& exact) {
  if (exact.checked < exact.presses) {
    return "frame-perfect inputs checked for the first " + std::to_string(exact.checked) +
           " of " + std::to_string(exact.presses) + " presses within the search's limits";
  }
  return exact.ticks.empty() ? "no input must be frame-perfect" : "";
}

void addCleared(ReachabilityVerdict& verdict, Game& game, const Reachability& search,
                const ClearingResult& clear, const ParBound& par, RouteLimits& limits) {
  const int ups = game.updatesPerSecond;
  const int routeTicks = static_cast<int>(clear.route.size());
  const FramePerfect exact = framePerfectTicks(game, search, clear.route, limits);
  verdict.clearedTicks = routeTicks;
  verdict.parTicks = par.found ? std::min(par.ticks, routeTicks) : -1;
  const RouteMoments moments = routeMoments(game, search, clear.route, limits);
  verdict.moments = hardMoments(moments);
  std::string message = "the level can be cleared with its enemies in " +
                        seconds(routeTicks, ups) + " (countdown " +
                        seconds(game.lifeLength(game.level.countdown_start), ups) + "); " +
                        parText(verdict.parTicks, routeTicks, ups);
  const std::string hardest = momentsText(moments, game);
  if (!hardest.empty()) message += "; " + hardest;
  const std::string presses = pressesText(exact);
  if (!presses.empty()) message += "; " + presses;
  add(verdict, LayoutElement::Level, 0, false, message).note = true;
  const std::vector<int>& ticks = exact.ticks;
  if (!ticks.empty()) {
    add(verdict, LayoutElement::Level, 0, true,
        std::to_string(ticks.size()) + (ticks.size() == 1 ? " input" : " inputs") +
            " must be frame-perfect (tick" + (ticks.size() == 1 ? " " : "s ") + tickList(ticks) +
            ")");
  }
  for (const LayoutFinding& warning : momentWarnings(moments, game)) {
    verdict.findings.push_back(warning);
  }
}

// The par worked out on a second core while the proof plays the level: it
// reads only the found states and what ParLevel takes of the level, and
// keeps to the proof's limits on its own. Where no thread can be had it is
// worked out when asked. A par not asked for (the proof found no route) is
// stopped; the thread ends before this does.
class ParBeside {
 public:
  ParBeside(const Reachability& search, const Game& game, const ClearingLimits& limits)
      : search_(search), level_(game), limits_(limits) {
    limits_.stopWhen(&unwanted_);
    try {
      job_ = std::async(std::launch::async, [this] { return parLowerBound(search_, level_, limits_); });
    } catch (const std::system_error&) {
      // No thread: get() works it out.
    }
  }
  ~ParBeside() { unwanted_ = true; }
  ParBeside(const ParBeside&) = delete;
  ParBeside& operator=(const ParBeside&) = delete;
  ParBound get() { return job_.valid() ? job_.get() : parLowerBound(search_, level_, limits_); }

 private:
  const Reachability& search_;
  const ParLevel level_;
  RouteLimits limits_;
  std::atomic<bool> unwanted_{false};
  std::future<ParBound> job_;  // last: its end waits for the thread
};

}  // namespace

void judgeClearing(Game& game, const Reachability& search, ReachabilityVerdict& verdict,
                   ClearingLimits limits) {
  // Without a route in time without the enemies there is none with them,
  // and the verdict has said why.
  if (!verdict.routeInTime) return;
  ParBeside par(search, game, limits);
  const ClearingResult clear = clearWithEnemies(game, search, limits);
  // As the search's play began.
  const int startScore = game.player.score;
  const int startLives = game.player.lives;
  if (clear.end != ClearingResult::End::Cleared) {
    addBlocked(verdict, game, clear);
    return;
  }
  // What follows the route found keeps to the proof's limits again.
  RouteLimits after(limits);
  addCleared(verdict, game, search, clear, par.get(), after);
  ReachabilityVerdict withEnemies;
  withEnemies.route.enemiesAbsent = false;
  if (!routeAsReplay(clear.route, withEnemies)) return;  // the one without enemies stays
  // Played once, the route's length bounds it, and the proof's ticks that.
  // Tick by tick it must stand where the search's own play stood, from the
  // score and lives that play began with (the par's trials play lives).
  game.player.score = startScore;
  game.player.setLives(startLives);
  ReplayTrace trace;
  trace.hashes = true;
  const ReplayOutcome outcome = playReplay(game, withEnemies.route, trace);
  const int parted = firstDivergence(clear.hashes, outcome.hashes);
  if (parted >= 0) {
    add(verdict, LayoutElement::Level, 0, false,
        "the route found with the enemies parts from the search's play at tick " +
            std::to_string(parted) + " when replayed: the search and the game disagree");
    return;
  }
  if (!outcome.cleared) {
    add(verdict, LayoutElement::Level, 0, false,
        "the route found with the enemies does not clear the level when replayed: the search "
        "and the game disagree");
    return;
  }
  withEnemies.route.expectScore = outcome.scoreGained;
  verdict.route = withEnemies.route;
  verdict.routeWritable = true;
  verdict.noRoute.clear();
}

ReachabilityVerdict judgeLevel(Game& game, const Reachability& search, ClearingLimits limits) {
  ReachabilityVerdict verdict = judgeReachability(game, search);
  judgeClearing(game, search, verdict, limits);
  return verdict;
}

// Only what was found is claimed.
std::string parText(int parTicks, int routeTicks, int updatesPerSecond) {
  const int ups = updatesPerSecond;
  if (parTicks < 0) {
    return "par at most " + seconds(routeTicks, ups) +
           " (no lower bound found within the search's limits)";
  }
  return "par between " + formatText("%.1f", double(parTicks) / ups) + " and " +
         seconds(routeTicks, ups);
}

std::string placementStopMessage(const std::string& stopText) {
  return "the engine stops when it places this level: " + stopText;
}

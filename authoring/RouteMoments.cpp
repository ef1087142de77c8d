#include "authoring/RouteMoments.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "authoring/ClearingPlay.h"
#include "authoring/ClearingRoute.h"
#include "authoring/Reachability.h"
#include "game/Game.h"
#include "game/ReplayFile.h"
#include "graphics/Collision.h"
#include "shell/Fatal.h"

namespace {

// Everything a tick reads, the player, each enemy and the world.
struct Capture {
  TickState player;
  std::vector<EnemyState> enemies;
  WorldState world;
};

// Boxes this far apart or more are taken at their own gap: the pictures
// are no nearer, and so far off no pass warns. It keeps the pictures'
// outlines, compared pixel to pixel, to the ticks an enemy is near.
constexpr int nearBoxes = 4 * nearPassPixels;

// The pixels between the player's picture and an enemy's, as the enemy's
// touch lays them out (actors/Enemy.h): the nearest of their solid pixels,
// no more than `most`.
int picturesGap(BITMAP* frame, const FigureBox& player, const Enemy& enemy, int most) {
  BITMAP* own = enemy.sprite.currentFrame();
  const FigureBox box = enemy.box();
  const int boxes = boxGap(player, box);
  if (own == nullptr || boxes >= nearBoxes) return std::min(most, boxes);
  return imagesGap(static_cast<float>(player.left), static_cast<float>(player.top), frame,
                   static_cast<float>(box.left), static_cast<float>(box.top), own,
                   std::min(most, nearBoxes));
}

// The route played with the enemies: once to keep the player's state before
// every tick and the enemies' nearest passes, then again trying its presses
// shifted from the captures kept before them.
class MomentTrial {
 public:
  MomentTrial(Game& game, const Reachability& search, const std::vector<TickInput>& route,
              RouteLimits& limits)
      : game_(game), search_(search), route_(route), limits_(limits),
        states_(search.tickStates()), rest_(search), ring_(windowReach + 1) {
    // As the proof began its life: the player where the search began.
    game_.beginLife();
    game_.quit = false;
    game_.levelDone = false;
    states_.restore(search_.foundStates()->state(0));
    start_ = take();
    for (std::size_t t = 0; t < route_.size(); ++t) {
      if (isPress(route_, t)) pressTicks_.push_back(t);
    }
  }
  ~MomentTrial() { put(start_); }
  MomentTrial(const MomentTrial&) = delete;
  MomentTrial& operator=(const MomentTrial&) = delete;

  RouteMoments measure() {
    RouteMoments moments;
    moments.presses = pressTicks_.size();
    moments.passesMeasured = playOnce(moments.passes);
    put(start_);
    if (moments.passesMeasured) measureWindows(moments.windows);
    moments.measured = moments.windows.size();
    return moments;
  }

 private:
  Capture take() const {
    Capture c;
    c.player = states_.capture();
    for (const Enemy& enemy : game_.enemyManager.enemies()) {
      c.enemies.push_back(TickStates::captureEnemy(enemy));
    }
    c.world = states_.captureWorld();
    return c;
  }

  // The floor's claims come back by their count, so a capture is put back
  // only over a play that shares its past.
  void put(const Capture& c) {
    states_.restore(c.player);
    std::vector<Enemy>& enemies = game_.enemyManager.enemies();
    for (std::size_t i = 0; i < enemies.size() && i < c.enemies.size(); ++i) {
      TickStates::restoreEnemy(enemies[i], c.enemies[i]);
    }
    states_.restoreWorld(c.world);
  }

  // False once the life or the level ended, or the limits passed.
  bool tick(TickInput input) {
    if (ticks_++ % 256 == 0 && limits_.over()) stopped_ = true;
    if (stopped_) return false;
    search_.holdKeys(input);
    limits_.played();
    return !game_.tick();
  }

  // The route to its end, keeping the player's state before each tick and
  // each enemy's nearest pass; false when the limits passed first.
  bool playOnce(std::vector<EnemyPass>& passes) {
    std::vector<EnemyPass> nearest(game_.enemyManager.enemies().size());
    for (std::size_t t = 0; t < route_.size(); ++t) {
      before_.push_back(states_.capture());
      const bool going = tick(route_[t]);
      notePasses(static_cast<int>(t), nearest);
      if (!going) break;
    }
    for (const EnemyPass& pass : nearest) {
      if (pass.enemy >= 0) passes.push_back(pass);
    }
    return game_.levelDone && !stopped_;
  }

  // The player's frame against each dangerous enemy's box, after tick t.
  void notePasses(int t, std::vector<EnemyPass>& nearest) const {
    const Player& p = game_.player;
    BITMAP* frame = p.sprite.currentFrame();
    if (frame == nullptr) return;
    const FigureBox player = touchingBox(frame, p.frameLeft(), p.frameTop());
    const std::vector<Enemy>& enemies = game_.enemyManager.enemies();
    for (std::size_t i = 0; i < enemies.size(); ++i) {
      const Enemy& enemy = enemies[i];
      if (!enemy.alive || enemy.state == Enemy::vulnerable) continue;
      EnemyPass& least = nearest[i];
      // The pictures lie no nearer than their boxes.
      if (least.enemy >= 0 && least.pixels <= boxGap(player, enemy.box())) continue;
      const int pixels = picturesGap(frame, player, enemy, least.enemy >= 0 ? least.pixels : INT_MAX);
      if (least.enemy >= 0 && least.pixels <= pixels) continue;
      least = {static_cast<int>(i), pixels, t, toPixel(p.x), toPixel(p.y)};
    }
  }

  // The route again, the captures of the windowReach ticks before each
  // press kept, and its window measured there.
  void measureWindows(std::vector<PressWindow>& windows) {
    std::size_t nextPress = 0;  // in pressTicks_
    for (std::size_t t = 0; t < route_.size() && nextPress < pressTicks_.size(); ++t) {
      if (pressTicks_[nextPress] <= t + windowReach) ring_[t % ring_.size()] = take();
      if (pressTicks_[nextPress] == t) {
        const PressWindow window = measureWindow(nextPress++);
        if (stopped_) return;
        windows.push_back(window);
      }
      if (!tick(route_[t])) return;
    }
  }

  // Of the press pressTicks_[n]: each side nearest first, to its first
  // shift that does not hold; the later side first, since each capture is
  // put back only over a play that shares its past. Leaves the Game
  // before the press, as the route stands there.
  PressWindow measureWindow(std::size_t n) {
    const std::size_t t = pressTicks_[n];
    PressWindow window;
    window.tick = static_cast<int>(t);
    window.keys = route_[t];
    window.x = toPixel(before_[t].x);
    window.y = toPixel(before_[t].y);
    // Dropping the ticks before it must leave the press before in place.
    const std::size_t room = n == 0 ? t : t - pressTicks_[n - 1] - 1;
    const int soonest = static_cast<int>(std::min<std::size_t>(windowReach, room));
    while (window.later < windowReach && holds(t, window.later + 1)) ++window.later;
    while (window.sooner < soonest && holds(t, -(window.sooner + 1))) ++window.sooner;
    window.open = window.sooner == soonest || window.later == windowReach;
    // Back to the route before the press, by the capture tried soonest.
    const int back = std::min(window.sooner + 1, soonest);
    put(ring_[(t + ring_.size() - back) % ring_.size()]);
    for (std::size_t r = t - back; r < t; ++r) tick(route_[r]);
    return window;
  }

  // The press shifted by `shift` ticks, the route after it following: the
  // level is cleared, or the player lives to stand with the keys again
  // where it can walk to the place the route next does, or anywhere the
  // rest can be claimed from, as the frame-perfect check allows.
  bool holds(std::size_t t, int shift) {
    if (stopped_) return false;
    put(ring_[(t + ring_.size() + std::min(shift, 0)) % ring_.size()]);
    const TickInput before = t > 0 ? route_[t - 1] : TickInput{};
    for (int held = 0; held < shift; ++held) {
      if (!tick(before)) return game_.levelDone && !stopped_;
    }
    std::size_t next = t;
    for (int played = 0; played < windowTrialTicks; ++played) {
      const TickInput input = next < route_.size() ? route_[next++] : TickInput{};
      if (!tick(input)) return game_.levelDone && !stopped_;
      const TickState now = states_.capture();
      if (resting(now)) return joinsRoute(now, next) || rest_.from(game_, now);
    }
    return false;
  }

  // With the keys, on a floor: a climb's or a fall's every step is no
  // place to compare, since a shift only moves it in time.
  bool resting(const TickState& s) const {
    return canStandStill(s) && game_.floorManager.isOnFloor(s.x, s.y);
  }

  // The same row as the route's next resting place at or after tick
  // `next`, and within two walking steps of it or floor all the way.
  bool joinsRoute(const TickState& now, std::size_t next) const {
    for (std::size_t j = next; j < before_.size(); ++j) {
      if (!resting(before_[j])) continue;
      const TickState& route = before_[j];
      if (now.y != route.y) return false;
      if (std::fabs(now.x - route.x) <= 2.0f * game_.player.walkSpeed + 0.001f) return true;
      const int from = toPixel(std::min(now.x, route.x));
      const int to = toPixel(std::max(now.x, route.x));
      for (int x = from; x <= to; ++x) {
        if (!game_.floorManager.isOnFloor(static_cast<float>(x), now.y)) return false;
      }
      return true;
    }
    return false;
  }

  Game& game_;
  const Reachability& search_;
  const std::vector<TickInput>& route_;
  RouteLimits& limits_;
  const TickStates& states_;
  RestClaimable rest_;
  std::vector<Capture> ring_;    // before tick t at t modulo its size, near a press
  std::vector<TickState> before_;  // the player before each tick of the route
  Capture start_;
  std::vector<std::size_t> pressTicks_;
  std::size_t ticks_ = 0;
  bool stopped_ = false;
};

}  // namespace

RouteMoments routeMoments(Game& game, const Reachability& search,
                          const std::vector<TickInput>& route, RouteLimits& limits) {
  if (route.empty() || search.foundStates() == nullptr || search.foundStates()->size() == 0) {
    return {};
  }
  MomentTrial trial(game, search, route, limits);
  return trial.measure();
}

namespace {

std::string seconds(int tick, const Game& game) {
  return formatText("%.1f s", static_cast<double>(tick) / game.updatesPerSecond);
}

// The press by the first key it presses: jump, up, down, a digit.
std::string pressName(TickInput keys) {
  const std::uint8_t pressed = pressedKeys(keys);
  if ((pressed & replayJump) != 0) return "the jump";
  if ((pressed & replayUp) != 0) return "the press of up";
  if ((pressed & replayDown) != 0) return "the press of down";
  return "the press of teleporter key " + std::to_string(keys.digit);
}

std::string windowText(const PressWindow& w, const Game& game) {
  const std::string width = std::to_string(w.ticks());
  return pressName(w.keys) + " at " + seconds(w.tick, game) +
         (w.open ? ", a window of at least " + width + (w.ticks() == 1 ? " tick" : " ticks")
                 : ", a " + width + "-tick window");
}

std::string passText(const EnemyPass& pass, const Game& game) {
  const EnemySpec& enemy = game.level.enemies[pass.enemy];
  return "the " + enemy.name + " placed at " + std::to_string(enemy.x) + ", " +
         std::to_string(enemy.y) + " passes " + std::to_string(pass.pixels) +
         " px from the player at " + seconds(pass.tick, game);
}

}  // namespace

bool isTight(const PressWindow& window) { return window.ticks() < tightWindow; }

bool isNear(const EnemyPass& pass) { return pass.pixels < nearPassPixels; }

const PressWindow* tightestPress(const RouteMoments& moments) {
  const auto narrower = [](const PressWindow& a, const PressWindow& b) {
    return a.ticks() < b.ticks();
  };
  const auto found = std::min_element(moments.windows.begin(), moments.windows.end(), narrower);
  return found == moments.windows.end() ? nullptr : &*found;
}

const EnemyPass* nearestPass(const RouteMoments& moments) {
  const auto nearer = [](const EnemyPass& a, const EnemyPass& b) { return a.pixels < b.pixels; };
  const auto found = std::min_element(moments.passes.begin(), moments.passes.end(), nearer);
  return found == moments.passes.end() ? nullptr : &*found;
}

std::string momentsText(const RouteMoments& moments, const Game& game) {
  std::vector<std::string> parts;
  if (const PressWindow* press = tightestPress(moments)) {
    parts.push_back("the tightest press is " + windowText(*press, game));
  }
  if (moments.measured < moments.presses) {
    parts.push_back("press windows measured for the first " +
                    std::to_string(moments.measured) + " of " +
                    std::to_string(moments.presses) + " presses within the search's limits");
  }
  if (const EnemyPass* pass = nearestPass(moments)) parts.push_back(passText(*pass, game));
  if (!moments.passesMeasured && !game.level.enemies.empty()) {
    parts.push_back("enemy passes not measured to the route's end within the search's limits");
  }
  std::string text;
  for (const std::string& part : parts) text += (text.empty() ? "" : "; ") + part;
  return text;
}

std::vector<LayoutFinding> momentWarnings(const RouteMoments& moments, const Game& game) {
  std::vector<LayoutFinding> warnings;
  LayoutFinding finding;
  finding.warning = true;
  const PressWindow* press = tightestPress(moments);
  if (press != nullptr && isTight(*press)) {
    finding.element = LayoutElement::Level;
    finding.message = "the tightest press, " + windowText(*press, game) + ", leaves under " +
                      std::to_string(tightWindow) + " ticks: hard for ordinary players";
    warnings.push_back(finding);
  }
  for (const EnemyPass& pass : moments.passes) {
    if (!isNear(pass)) continue;
    finding.element = LayoutElement::Record;
    finding.kind = ElementKind::Enemy;
    finding.index = pass.enemy;
    finding.message = passText(pass, game) + ", under " + std::to_string(nearPassPixels) +
                      " px: a close call for ordinary players";
    warnings.push_back(finding);
  }
  return warnings;
}

std::string momentsBrief(const RouteMoments& moments, const Game& game) {
  std::string text;
  if (const PressWindow* press = tightestPress(moments)) {
    text = "tightest: " + windowText(*press, game);
  }
  if (const EnemyPass* pass = nearestPass(moments)) {
    text += (text.empty() ? "" : "; ") + std::string("nearest: ") + passText(*pass, game);
  }
  return text;
}

RouteMoments hardMoments(const RouteMoments& moments) {
  RouteMoments hard = moments;
  hard.windows.clear();
  const PressWindow* tightest = tightestPress(moments);
  for (const PressWindow& window : moments.windows) {
    const bool kept = isTight(window) && hard.windows.size() < maxHardWindows;
    if (kept || &window == tightest) hard.windows.push_back(window);
  }
  return hard;
}

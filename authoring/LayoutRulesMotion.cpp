// The rules of motion: where the player lands from a start, a chute's foot
// or a teleporter's arrival point, what it can touch from where it rests,
// and where each enemy's patrol takes it. All of it is played with the
// engine's own steps: Game::enterChute and chuteStep, Game::supportCheck and
// fallStep, EnemyManager::step, Item::touches and Teleporter::overlaps.
#include <algorithm>
#include <cstdio>
#include <limits>
#include <set>
#include <string>
#include <utility>

#include "authoring/LayoutRules.h"
#include "game/Game.h"
#include "graphics/Pixel.h"

namespace {

std::string point(int x, int y) { return std::to_string(x) + ", " + std::to_string(y); }

// Far more ticks than any fall down a screen or any patrol along one takes
// at the speeds levels use; a figure still undecided then is left alone.
const int tickLimit = 100000;

}  // namespace

void LayoutRules::placePlayer(float x, float y, int animation) {
  Player& p = game_.player;
  p.setPosition(x, y);
  p.setAnimation(animation);
  p.standAlive();
  // Holding a climbing key makes the ladder under the player the one it is
  // on; without one it would have none.
  p.currentLadder = Ladder{};
  game_.ladderManager->ladderAt(p.x, p.y, p.currentLadder);
  game_.fallDistance = 0.0f;
}

LayoutRules::Drop LayoutRules::settle() {
  Player& p = game_.player;
  const int from = toPixel(p.y);
  Drop drop;
  game_.supportCheck();
  if (!p.falling) return drop;
  for (int tick = 0; tick < tickLimit; ++tick) {
    game_.fallStep();
    drop.rows = toPixel(p.y) - from;
    if (!p.alive) {
      // As far as the engine counts it when it decides.
      drop.rows = toPixel(game_.fallDistance);
      drop.outcome = Drop::Dies;
      return drop;
    }
    if (!p.falling) {
      drop.outcome = Drop::Lands;
      drop.floorRow = toPixel(p.y) + 1;
      return drop;
    }
    if (toPixel(p.y) >= game_.height) {
      drop.outcome = Drop::Leaves;
      return drop;
    }
  }
  drop.outcome = Drop::Hangs;
  return drop;
}

std::string LayoutRules::describe(const Drop& drop) const {
  switch (drop.outcome) {
    case Drop::Rests:
      return "the player rests there";
    case Drop::Lands:
      // A point inside a tile lands on its top.
      if (drop.rows < 0) {
        return "the player is lifted " + std::to_string(-drop.rows) +
               " rows onto the floor at row " + std::to_string(drop.floorRow);
      }
      return "the player drops " + std::to_string(drop.rows) + " rows onto the floor at row " +
             std::to_string(drop.floorRow);
    case Drop::Dies: {
      char most[32];
      std::snprintf(most, sizeof most, "%g", game_.player.maxDrop);
      return "the player falls " + std::to_string(drop.rows) + " rows, more than the " + most +
             " it survives";
    }
    case Drop::Leaves:
      return "the player falls out of the screen";
    case Drop::Hangs:
      break;
  }
  return "the player hangs in the air";
}

template <typename Touches>
bool LayoutRules::touchedFromSomeSpot(int left, int width, int top, int height,
                                      Touches touches) {
  Player& p = game_.player;
  // Only spots whose frames could reach the box are tried; the margin is
  // wider than any frame, and the engine's test decides.
  const float first = static_cast<float>(top) - 2.0f * tallestFrame_ - 2.0f;
  const float last = static_cast<float>(top + height) + 2.0f * tallestFrame_ + 2.0f;
  const float leftmost = static_cast<float>(left) - 2.0f * widestFrame_ - 2.0f;
  const float rightmost = static_cast<float>(left + width) + 2.0f * widestFrame_ + 2.0f;
  // Spots are sorted by row and column: each row is entered at the
  // leftmost column and left past the rightmost.
  auto from = [&](float row, float column) {
    return std::lower_bound(spots_.begin(), spots_.end(), std::make_pair(row, column),
                            [](const Spot& s, const std::pair<float, float>& at) {
                              return std::make_pair(s.y, s.x) < at;
                            });
  };
  auto spot = from(first, leftmost);
  while (spot != spots_.end() && spot->y <= last) {
    if (spot->x < leftmost) {
      spot = from(spot->y, leftmost);
      continue;
    }
    if (spot->x > rightmost) {
      spot = from(spot->y, std::numeric_limits<float>::infinity());  // the next row
      continue;
    }
    p.setPosition(spot->x, spot->y);
    p.setAnimation(spot->animation);
    const Animation& animation = p.sprite.animation(spot->animation);
    for (int k = 0; k < animation.frameCount(); ++k) {
      if (touches(animation.frame(k), p.frameLeft(), p.frameTop())) return true;
    }
    ++spot;
  }
  return false;
}

// The start may be anywhere the player rests or a chute takes it in; from
// anywhere else it falls at once.
void LayoutRules::checkStart() {
  const LevelData& level = game_.level;
  placePlayer(static_cast<float>(level.start_x), static_cast<float>(level.start_y),
              level.start_animation);
  Player& p = game_.player;
  Chute chute;
  if (game_.chuteManager->entryAt(p.frameLeft(), p.y, chute)) return;
  const Drop drop = settle();
  if (drop.outcome == Drop::Rests) return;
  add(LayoutElement::Start, 0, drop.outcome == Drop::Lands,
      "the player start (" + point(level.start_x, level.start_y) +
          ") is on no floor, ladder or chute: " + describe(drop));
}

void LayoutRules::checkChutes() {
  const int T = game_.chuteTolerance;
  const std::vector<Chute>& chutes = game_.chuteManager->chutes();
  Player& p = game_.player;
  for (size_t i = 0; i < chutes.size() && !outOfTime(); ++i) {
    const Chute chute = chutes[i];
    const std::string name = "chute at " + point(chute.x, chute.y);
    // Its entry is a step wide, T columns left of the top step.
    const int step = chute.graphic != nullptr ? chute.graphic->w : 0;
    const bool entered = touchedFromSomeSpot(
        chute.x - std::abs(T), std::max(chute.width, step) + 2 * std::abs(T), chute.y - 1, 0,
        [&](BITMAP*, float left, float) { return chute.isAtEntry(left, p.y, T); });
    if (!entered) {
      add(ElementKind::Chute, static_cast<int>(i), true,
          name + ": no standing player's left foot reaches its entry on row " +
              std::to_string(chute.y - 1));
    }
    placePlayer(static_cast<float>(chute.x), static_cast<float>(chute.y - 1), Player::walkRight);
    game_.enterChute(chute);
    for (int tick = 0; tick < tickLimit && p.onChute; ++tick) game_.chuteStep();
    if (p.onChute) continue;  // a slide that never ends has no foot to judge
    const int endX = toPixel(p.x);
    const int endY = toPixel(p.y);
    placePlayer(p.x, p.y, p.sprite.animationIndex());
    const Drop drop = settle();
    if (drop.outcome == Drop::Rests) continue;
    add(ElementKind::Chute, static_cast<int>(i), drop.outcome == Drop::Lands,
        name + ": its slide ends at " + point(endX, endY) + " over no floor: " + describe(drop));
  }
}

// A patrol is followed until the enemy has walked it both ways on one floor
// since it last fell, or has fallen out of the screen.
void LayoutRules::checkEnemies() {
  const std::vector<Enemy>& enemies = game_.enemyManager.enemies();
  const FloorManager& floors = game_.floorManager;
  for (size_t i = 0; i < enemies.size() && !outOfTime(); ++i) {
    Enemy enemy = enemies[i];
    const int index = static_cast<int>(i);
    const std::string name = "enemy at " + point(toPixel(enemy.x), toPixel(enemy.y));
    const std::string patrol = "(" + std::to_string(toPixel(enemy.min_x)) + " to " +
                               std::to_string(toPixel(enemy.max_x)) + ")";
    if (enemy.x < enemy.min_x || enemy.x > enemy.max_x) {
      add(ElementKind::Enemy, index, true, name + " starts outside its patrol " + patrol);
    }
    const bool startsInAir = !floors.isOnFloor(enemy.x, enemy.y);
    bool fell = false;
    int fellX = 0;
    int fellY = 0;
    int turns = 0;
    bool lost = false;
    for (int tick = 0; tick < tickLimit && turns < 2; ++tick) {
      const int direction = enemy.direction;
      const float x = enemy.x;
      const float y = enemy.y;
      game_.enemyManager.step(enemy, floors);
      if (enemy.falling || enemy.y != y) {
        if (!fell) {
          fellX = toPixel(x);
          fellY = toPixel(y);
        }
        fell = true;
        turns = 0;
      } else if (enemy.direction != direction) {
        ++turns;
      } else if (enemy.x == x) {
        turns = 2;  // it stands still, and will stand so for ever
      }
      if (toPixel(enemy.y) >= game_.height) {
        lost = true;
        break;
      }
    }
    if (!fell) continue;
    std::string message = name;
    if (startsInAir) {
      message += ": there is no floor under its start: it falls";
    } else {
      message += ": its patrol " + patrol + " leaves its floor at " + point(fellX, fellY) +
                 ": it falls";
    }
    if (lost) {
      message += " out of the screen";
    } else if (turns >= 2) {
      message += " and goes on at row " + std::to_string(toPixel(enemy.y));
    }
    add(ElementKind::Enemy, index, true, message);
  }
}

void LayoutRules::checkItems() {
  const std::vector<Item>& items = game_.itemManager.items();
  for (size_t i = 0; i < items.size() && !outOfTime(); ++i) {
    const Item item = items[i];
    const bool touched =
        touchedFromSomeSpot(item.x, item.width, item.y, item.height,
                            [&](BITMAP* frame, float left, float top) {
          Item probe = item;  // touching collects it
          return probe.touches(frame, left, top);
        });
    if (touched) continue;
    add(ElementKind::Item, static_cast<int>(i), true,
        "item at " + point(item.x, item.y) + " ('" + item.type +
            "'): no standing or climbing player touches it");
  }
}

void LayoutRules::checkTeleporters() {
  const std::vector<Teleporter>& pads = game_.teleporterManager.teleporters();
  std::set<int> numbersSeen;
  for (size_t i = 0; i < pads.size() && !outOfTime(); ++i) {
    const Teleporter pad = pads[i];
    const std::string name = "teleporter " + std::to_string(pad.number) + " at " +
                             point(pad.x, pad.y);
    const bool entered =
        touchedFromSomeSpot(pad.x, pad.width, pad.y, pad.height,
                            [&](BITMAP* frame, float left, float top) {
          return pad.overlaps(frame, left, top);
        });
    // Of two pads with one number only the first is a destination; the
    // repeat is reported where numbers are read.
    const bool first = numbersSeen.insert(pad.number).second;
    std::string arrival;
    Drop drop;
    if (first) {
      float x = 0.0f;
      float y = 0.0f;
      game_.teleporterManager.destination(pad.number, x, y);
      placePlayer(x, y, Player::walkRight);
      drop = settle();
      arrival = "its arrival point (" + point(toPixel(x), toPixel(y)) + ") is over no floor: " +
                describe(drop);
    }
    const int index = static_cast<int>(i);
    if (!entered) {
      add(ElementKind::Teleporter, index, false,
          name + ": no standing or climbing player is ever inside it, so no one leaves from it" +
              (drop.outcome == Drop::Rests ? "" : "; " + arrival));
    } else if (drop.outcome != Drop::Rests) {
      add(ElementKind::Teleporter, index, drop.outcome == Drop::Lands, name + ": " + arrival);
    }
  }
}

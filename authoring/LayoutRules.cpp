// The rules of still layout: floors under ladder ends, claimable tiles in
// sight, panels clear of the level, no element twice; and the places where a
// player can rest, which the rules of motion share.
#include "authoring/LayoutRules.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <tuple>
#include <utility>

#include "authoring/Reachability.h"
#include "game/Game.h"
#include "shell/Fatal.h"
#include "graphics/FrameArea.h"
#include "graphics/Pixel.h"

namespace {

std::string point(int x, int y) { return std::to_string(x) + ", " + std::to_string(y); }

std::string size(const FrameArea& area) {
  return std::to_string(area.w) + "x" + std::to_string(area.h);
}

// Two records of one list on the same key: the later one repeats the
// first of the earlier ones.
using Key = std::vector<int64_t>;

// By record: the first record with its key, or -1 where that is itself.
std::vector<int> firstEquals(const std::vector<Key>& keys) {
  std::map<Key, int> first;
  std::vector<int> firsts(keys.size(), -1);
  for (size_t i = 0; i < keys.size(); ++i) {
    const auto [at, added] = first.emplace(keys[i], static_cast<int>(i));
    if (!added) firsts[i] = at->second;
  }
  return firsts;
}

int64_t bitsOf(float value) {
  int32_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

}  // namespace

LayoutRules::LayoutRules(Game& game, double maxSeconds)
    : game_(game), maxSeconds_(maxSeconds > 0.0 ? maxSeconds : defaultSeconds) {}

std::vector<LayoutFinding> LayoutRules::check() {
  findings_.clear();
  startedAt_ = searchClockSeconds();
  stopped_ = false;
  const int score = game_.player.score;
  findSpots();
  checkStart();
  checkTiles();
  checkLadders();
  checkChutes();
  checkEnemies();
  checkItems();
  checkTeleporters();
  checkPanels();
  checkRepeats();
  if (stopped_) {
    add(LayoutElement::Level, 0, true,
        "the layout rules stopped at their limit of " + formatText("%.0f", maxSeconds_) +
            " s: some elements were not checked");
  }
  // The rules claimed tiles, scored them and moved the player: a new life
  // and the score from before undo it all.
  game_.beginLife();
  game_.player.score = score;
  std::stable_sort(findings_.begin(), findings_.end(),
                   [](const LayoutFinding& a, const LayoutFinding& b) {
                     return std::make_tuple(a.element, a.kind, a.index) <
                            std::make_tuple(b.element, b.kind, b.index);
                   });
  return findings_;
}

bool LayoutRules::outOfTime() {
  stopped_ = stopped_ || searchClockSeconds() - startedAt_ > maxSeconds_;
  return stopped_;
}

void LayoutRules::add(LayoutElement element, int index, bool warning, const std::string& message,
                      int other) {
  LayoutFinding finding;
  finding.element = element;
  finding.index = index;
  finding.warning = warning;
  finding.message = message;
  finding.other = other;
  findings_.push_back(finding);
}

void LayoutRules::add(ElementKind kind, int index, bool warning, const std::string& message,
                      int other) {
  add(LayoutElement::Record, index, warning, message, other);
  findings_.back().kind = kind;
}

// Standing spots are every column of every tile's foot run, whole and half
// (a figure of odd width puts its frame's edge on another pixel at a half);
// holding spots are the points each ladder answers to as being on it.
void LayoutRules::findSpots() {
  spots_.clear();
  std::set<std::tuple<int, int, int>> seen;  // (2 x, y, animation)
  auto addSpot = [&](int halfColumn, int row, int animation, bool onFloor) {
    if (!seen.insert({halfColumn, row, animation}).second) return;
    spots_.push_back(Spot{0.5f * halfColumn, static_cast<float>(row), animation, onFloor});
  };
  const FloorManager& floors = game_.floorManager;
  for (size_t i = 0; i < floors.tiles().size(); ++i) {
    const FootRun run = floors.standingRun(static_cast<int>(i));
    for (int column = run.firstColumn; column <= run.lastColumn; ++column) {
      for (int animation : {Player::walkLeft, Player::walkRight}) {
        addSpot(2 * column, run.row, animation, true);
        addSpot(2 * column + 1, run.row, animation, true);
      }
    }
  }
  const int H = game_.ladderHorizontalTolerance;
  const int V = game_.ladderVerticalTolerance;
  for (const Ladder& ladder : game_.ladderManager->ladders()) {
    // A box safely around the ladder, clipped to the screen; the ladder's
    // own test picks the points.
    const int left = std::max(0, ladder.x - std::abs(H) - 1);
    const int right = std::min(game_.width - 1, ladder.x + ladder.width + std::abs(H) + 1);
    const int top = std::max(0, ladder.y - std::abs(V) - 2);
    const int bottom = std::min(game_.height - 1, ladder.y + ladder.height + 1);
    for (int row = top; row <= bottom; ++row) {
      for (int column = left; column <= right; ++column) {
        const float x = static_cast<float>(column);
        if (!ladder.isOn(x, static_cast<float>(row), H, V)) continue;
        addSpot(2 * column, row, Player::climb, false);
      }
    }
  }
  std::stable_sort(spots_.begin(), spots_.end(), [](const Spot& a, const Spot& b) {
    return std::make_pair(a.y, a.x) < std::make_pair(b.y, b.x);
  });
  const Player& p = game_.player;
  tallestFrame_ = static_cast<float>(std::abs(p.height));
  widestFrame_ = static_cast<float>(std::abs(p.width));
  for (int a = 0; a < p.sprite.animationCount(); ++a) {
    const Animation& animation = p.sprite.animation(a);
    for (int k = 0; k < animation.frameCount(); ++k) {
      tallestFrame_ = std::max(tallestFrame_, static_cast<float>(animation.frame(k)->h));
      widestFrame_ = std::max(widestFrame_, static_cast<float>(animation.frame(k)->w));
    }
  }
}

void LayoutRules::checkTiles() {
  const FloorManager& floors = game_.floorManager;
  const std::vector<FloorTile>& tiles = floors.tiles();
  if (floors.tilesLeft() == 0) {
    // The start claims what lies under it before the level is looked at.
    const bool claimed = std::any_of(tiles.begin(), tiles.end(),
                                     [](const FloorTile& tile) { return tile.claimable != 0; });
    add(LayoutElement::Tiles, 0, true,
        claimed ? "every claimable tile lies under the start: the first tick claims them all and "
                  "the level is cleared at once"
                : "no tile is claimable: the level is cleared at once");
  }
  for (size_t i = 0; i < tiles.size() && !outOfTime(); ++i) {
    const FloorTile& tile = tiles[i];
    if (tile.claimable == 0) continue;
    int hidden = 0;
    std::vector<int> covering = floors.coveringTiles(static_cast<int>(i), &hidden);
    // A tile repeated exactly is reported as a repeat.
    covering.erase(std::remove_if(covering.begin(), covering.end(),
                                  [&](int j) {
                                    return tiles[j].x == tile.x && tiles[j].y == tile.y &&
                                           tiles[j].width == tile.width &&
                                           tiles[j].height == tile.height;
                                  }),
                   covering.end());
    if (covering.empty()) continue;
    const std::string name = "claimable tile at " + point(tile.x, tile.y);
    const std::string first = ", first tile " + std::to_string(covering.front() + 1);
    const int pixels = tile.width * tile.height;
    if (hidden >= pixels) {
      add(ElementKind::Tile, static_cast<int>(i), false,
          name + " never shows its claim: later tiles hide all of it" + first, covering.front());
    } else {
      add(ElementKind::Tile, static_cast<int>(i), true,
          name + " shows its claim only in part: later tiles hide " + std::to_string(hidden) +
              " of its " + std::to_string(pixels) + " pixels" + first,
          covering.front());
    }
  }
}

// A ladder end is met when a player standing on a floor is at that end, so
// that it can step on there and off again.
void LayoutRules::checkLadders() {
  const int H = game_.ladderHorizontalTolerance;
  const int V = game_.ladderVerticalTolerance;
  const std::vector<Ladder>& ladders = game_.ladderManager->ladders();
  for (size_t i = 0; i < ladders.size() && !outOfTime(); ++i) {
    const Ladder& ladder = ladders[i];
    // An end answers only to rows just above it: the spots, sorted by
    // row, are looked at from there.
    auto meets = [&](int endRow, bool atTop) {
      const auto first = std::lower_bound(
          spots_.begin(), spots_.end(), static_cast<float>(endRow - V - 1),
          [](const Spot& spot, float row) { return spot.y < row; });
      for (auto spot = first; spot != spots_.end() && spot->y < endRow; ++spot) {
        if (!spot->onFloor) continue;
        if (atTop ? ladder.isAtTop(spot->x, spot->y, H, V) : ladder.isAtBottom(spot->x, spot->y, H, V)) {
          return true;
        }
      }
      return false;
    };
    const bool top = meets(ladder.y, true);
    const bool foot = meets(ladder.y + ladder.height, false);
    const std::string name = "ladder at " + point(ladder.x, ladder.y);
    const std::string within =
        " has no floor within " + std::to_string(V) + (V == 1 ? " row" : " rows");
    if (!top) {
      add(ElementKind::Ladder, static_cast<int>(i), false,
          name + ": its top (row " + std::to_string(ladder.y) + ")" + within);
    }
    if (!foot) {
      add(ElementKind::Ladder, static_cast<int>(i), false,
          name + ": its foot (row " + std::to_string(ladder.y + ladder.height) + ")" + within);
    }
  }
}

// The panels are drawn over everything; what lies under them is hidden.
// One finding per panel, naming the first element it hides.
void LayoutRules::checkPanels() {
  std::vector<std::pair<std::string, FrameArea>> elements;  // in drawing order
  for (const Ladder& l : game_.ladderManager->ladders()) {
    elements.push_back({"ladder at " + point(l.x, l.y), {l.x, l.y, l.width, l.height}});
  }
  for (const Chute& c : game_.chuteManager->chutes()) {
    elements.push_back({"chute at " + point(c.x, c.y),
                        {game_.chuteManager->drawnLeft(c), c.y, c.width, c.height}});
  }
  for (const Item& it : game_.itemManager.items()) {
    elements.push_back({"item at " + point(it.x, it.y), {it.x, it.y, it.width, it.height}});
  }
  for (const Teleporter& t : game_.teleporterManager.teleporters()) {
    elements.push_back({"teleporter " + std::to_string(t.number) + " at " + point(t.x, t.y),
                        {t.x, t.y, t.width, t.height}});
  }
  for (const FloorTile& t : game_.floorManager.tiles()) {
    elements.push_back({"tile at " + point(t.x, t.y), {t.x, t.y, t.width, t.height}});
  }
  const LevelData& level = game_.level;
  auto panel = [&](LayoutElement element, const char* name, int align, FrameArea area) {
    if (!Game::panelShown(align)) return;
    int hidden = 0;
    const std::string* first = nullptr;
    for (const auto& shown : elements) {
      if (!overlap(area, shown.second)) continue;
      if (first == nullptr) first = &shown.first;
      ++hidden;
    }
    if (first == nullptr) return;
    std::string message = std::string("the ") + name + " panel (" + size(area) + " at " +
                          point(area.x, area.y) + ") hides the " + *first;
    if (hidden > 1) message += " and " + std::to_string(hidden - 1) + " more elements";
    add(element, 0, true, message);
  };
  panel(LayoutElement::CountdownPanel, "countdown", level.countdown_align,
        {level.countdown_x, level.countdown_y, game_.countdownBuffer->w,
         game_.countdownBuffer->h});
  panel(LayoutElement::ScorePanel, "score", level.score_align,
        {level.score_x, level.score_y, game_.scoreBuffer->w, game_.scoreBuffer->h});
}

// Two elements of a kind exactly on top of each other look like one, and
// the later one is never the first found.
void LayoutRules::checkRepeats() {
  auto report = [&](ElementKind element, const std::vector<Key>& keys,
                    const std::vector<std::pair<int, int>>& places, const char* sameness) {
    const std::vector<int> firsts = firstEquals(keys);
    const std::string kind = kindFacts(element).word;
    for (size_t i = 0; i < keys.size(); ++i) {
      const int first = firsts[i];
      if (first < 0) continue;
      add(element, static_cast<int>(i), false,
          kind + " at " + point(places[i].first, places[i].second) + " " +
              sameness + " " + kind + " " + std::to_string(first + 1),
          first);
    }
  };
  std::vector<Key> keys;
  std::vector<std::pair<int, int>> places;
  auto reset = [&]() {
    keys.clear();
    places.clear();
  };
  for (const FloorTile& t : game_.floorManager.tiles()) {
    keys.push_back({t.x, t.y, t.width, t.height});
    places.push_back({t.x, t.y});
  }
  report(ElementKind::Tile, keys, places, "is exactly on top of");
  reset();
  for (const Ladder& l : game_.ladderManager->ladders()) {
    keys.push_back({l.x, l.y, l.width, l.height});
    places.push_back({l.x, l.y});
  }
  report(ElementKind::Ladder, keys, places, "is exactly on top of");
  reset();
  for (const Chute& c : game_.chuteManager->chutes()) {
    keys.push_back({c.x, c.y, c.width, c.height, c.dx, c.direction});
    places.push_back({c.x, c.y});
  }
  report(ElementKind::Chute, keys, places, "is exactly on top of");
  reset();
  for (const Enemy& e : game_.enemyManager.enemies()) {
    keys.push_back({bitsOf(e.x), bitsOf(e.y), e.direction, bitsOf(e.min_x), bitsOf(e.max_x),
                    bitsOf(e.speed)});
    places.push_back({toPixel(e.x), toPixel(e.y)});
  }
  report(ElementKind::Enemy, keys, places, "starts and patrols exactly as");
  reset();
  for (const Item& it : game_.itemManager.items()) {
    keys.push_back({it.x, it.y, it.width, it.height});
    places.push_back({it.x, it.y});
  }
  report(ElementKind::Item, keys, places, "is exactly on top of");
  reset();
  for (const Teleporter& t : game_.teleporterManager.teleporters()) {
    keys.push_back({t.x, t.y, t.width, t.height});
    places.push_back({t.x, t.y});
  }
  report(ElementKind::Teleporter, keys, places, "is exactly on top of");
}

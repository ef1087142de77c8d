#include "authoring/ClearingPlay.h"

#include <algorithm>

#include "authoring/Reachability.h"
#include "game/Game.h"

// What the allocator adds to every block, about.
constexpr std::size_t blockCost = 16;

std::size_t PlaySnapshot::bytes() const {
  std::size_t held = sizeof(PlaySnapshot) + changed.capacity() * sizeof(std::uint32_t) +
                     enemies.capacity() * sizeof(EnemyPoint) + world.itemsPresent.capacity() / 8 +
                     3 * blockCost;
  for (const EnemyPoint& enemy : enemies) {
    held += enemy.points.capacity() * sizeof(TickState::AnimationPoint) + blockCost;
  }
  return held;
}

std::vector<int> patrolWaits(const Game& game) {
  double period = 0.0;
  for (const Enemy& enemy : game.enemyManager.enemies()) {
    if (enemy.speed > 0.0f) {
      period = std::max(period, 2.0 * (enemy.max_x - enemy.min_x) / enemy.speed + 4.0);
    }
  }
  period = std::min(period, 2000.0);
  std::vector<int> lengths;
  for (int wait = 2; wait <= period || lengths.size() < 3; wait += std::max(3, wait / 2)) {
    lengths.push_back(wait);
  }
  return lengths;
}

std::vector<bool> tilesWanted(const Game& game, const std::vector<int>& unreached) {
  const std::vector<FloorTile>& tiles = game.floorManager.tiles();
  std::vector<bool> wanted(tiles.size(), false);
  for (std::size_t i = 0; i < tiles.size(); ++i) {
    wanted[i] = tiles[i].claimable != 0 && !tiles[i].cleared;
  }
  for (int tile : unreached) wanted[tile] = false;
  return wanted;
}

bool canStandStill(const TickState& state) {
  return state.has(TickState::hasControl) && !state.has(TickState::falling) &&
         state.jumpState == Player::notJumping;
}

LivePlay::LivePlay(Game& game, const Reachability& search)
    : game_(game), search_(search), states_(search.tickStates()) {
  game_.beginLife();
  game_.quit = false;
  game_.levelDone = false;
  // A life begun leaves the player's animations where the last one left
  // them; the search began from its own start.
  states_.restore(search_.foundStates()->state(0));
  claimMark_ = game_.floorManager.claimCount();
  for (const Enemy& enemy : game_.enemyManager.enemies()) base_.push_back(TickStates::captureEnemy(enemy));
  start_ = snapshot();
}

// A replay begun on the Game next finds the player's animations where the
// search began, as a Game built afresh has them.
LivePlay::~LivePlay() { restore(start_); }

PlaySnapshot LivePlay::snapshot() const {
  PlaySnapshot s;
  s.player = states_.capture();
  const std::vector<Enemy>& enemies = game_.enemyManager.enemies();
  for (std::size_t i = 0; i < enemies.size() && i < base_.size(); ++i) {
    PlaySnapshot::EnemyPoint point = TickStates::captureEnemy(enemies[i]);
    if (point == base_[i]) continue;
    s.changed.push_back(static_cast<std::uint32_t>(i));
    s.enemies.push_back(std::move(point));
  }
  s.world = states_.captureWorld();
  s.inputs = inputs_.size();
  s.at = at_;
  return s;
}

void LivePlay::restore(const PlaySnapshot& s) {
  states_.restore(s.player);
  std::vector<Enemy>& enemies = game_.enemyManager.enemies();
  std::size_t next = 0;  // in s.changed
  for (std::size_t i = 0; i < enemies.size() && i < base_.size(); ++i) {
    const bool changed = next < s.changed.size() && s.changed[next] == i;
    TickStates::restoreEnemy(enemies[i], changed ? s.enemies[next++] : base_[i]);
  }
  states_.restoreWorld(s.world);
  inputs_.resize(s.inputs);
  if (trail_ != nullptr && trail_->size() > s.inputs) trail_->resize(s.inputs);
  at_ = s.at;
  end_ = PlayEnd::Going;
  caughtBy_ = -1;
}

bool LivePlay::vulnerable(const PlaySnapshot& s) const {
  std::size_t next = 0;  // in s.changed
  for (std::size_t i = 0; i < base_.size(); ++i) {
    const bool changed = next < s.changed.size() && s.changed[next] == i;
    if ((changed ? s.enemies[next++] : base_[i]).state == Enemy::vulnerable) return true;
  }
  return false;
}

int LivePlay::tilesClaimed() const {
  return static_cast<int>(game_.floorManager.claimCount() - claimMark_);
}

bool LivePlay::step(TickInput input) {
  search_.holdKeys(input);
  inputs_.push_back(input);
  ++played_;
  const bool over = game_.tick();
  if (trail_ != nullptr) trail_->push_back(states_.hash());
  if (!over) return true;
  judgeEnd();
  return false;
}

// Caught comes first: the enemies are looked at before the countdown in a
// tick, and a fall ends a life only where neither did.
void LivePlay::judgeEnd() {
  if (game_.levelDone) {
    end_ = PlayEnd::Cleared;
    return;
  }
  const Player& p = game_.player;
  std::vector<Enemy>& enemies = game_.enemyManager.enemies();
  for (std::size_t i = 0; i < enemies.size(); ++i) {
    Enemy& enemy = enemies[i];  // touches only looks
    if (enemy.alive && enemy.state != Enemy::vulnerable &&
        enemy.touches(p.sprite.currentFrame(), p.frameLeft(), p.frameTop())) {
      end_ = PlayEnd::Caught;
      caughtBy_ = static_cast<int>(i);
      return;
    }
  }
  end_ = game_.countdown <= 0 ? PlayEnd::Countdown : PlayEnd::Fell;
}

bool LivePlay::playEdge(std::uint32_t e) {
  if (!search_.playEdge(at_, e, [this](TickInput input) { return step(input); })) return false;
  at_ = search_.foundStates()->edge(e).to;
  if (search_.endedAsFound(search_.foundStates()->state(at_))) return true;
  end_ = PlayEnd::Strayed;
  return false;
}

bool LivePlay::replayTo(const std::vector<TickInput>& route, std::size_t upTo) {
  for (std::size_t t = inputs_.size(); t < upTo && t < route.size(); ++t) {
    if (!step(route[t])) return false;
  }
  return true;
}

bool LivePlay::wait(int ticks) {
  for (int t = 0; t < ticks; ++t) {
    if (!step(TickInput{})) return false;
  }
  if (search_.endedAsFound(search_.foundStates()->state(at_))) return true;
  end_ = PlayEnd::Strayed;
  return false;
}

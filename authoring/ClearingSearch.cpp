#include "authoring/ClearingSearch.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "authoring/ClearingPlay.h"
#include "authoring/ItemWays.h"
#include "authoring/Reachability.h"
#include "authoring/StateWays.h"
#include "authoring/WordHash.h"
#include "game/Game.h"
#include "graphics/Pixel.h"

using namespace stateways;

namespace {

// Stand still for `wait` ticks, then follow the edges.
struct Plan {
  int wait = 0;
  std::vector<std::uint32_t> path;
};

// A place the search stands at between two ways, and the ways from it it
// has made so far; they are made a stage at a time, as the ones before fail.
struct Choice {
  enum Stage { Nearest, Waits, Others, Items, Done };
  PlaySnapshot at;
  std::vector<bool> wanted;
  std::vector<Plan> plans;
  std::size_t next = 0;
  Stage stage = Nearest;
  std::size_t bytes = 0;  // counted in Clearing::held_
};

// How many of the nearest other tiles are tried, and how many other first
// moves.
const std::size_t othersTried = 8;
const std::size_t turnsTried = 16;

class Clearing {
 public:
  Clearing(LivePlay& live, Game& game, const Reachability& search, ClearingLimits limits,
           std::size_t lookedAt, ItemWays& items, const ClearingAim& aim = {})
      : game_(game), search_(search), graph_(*search.foundStates()), limits_(limits),
        live_(live), aim_(aim), itemWays_(items),
        nearest_(graph_, search.components(), search.tileReach(), lookedAt) {
    for (int tile : search.unreachedTiles()) unreached_.push_back(tile);
    fetchable_.assign(game.itemManager.items().size(), true);
    for (int item : search.unreachedItems()) fetchable_[item] = false;
    waits_ = patrolWaits(game);
  }

  ClearingResult run();

 private:
  std::vector<bool> wantedNow() const;
  bool makePlans(Choice& choice);
  void waitPlans(Choice& choice);
  void otherPlans(Choice& choice);
  void itemPlans(Choice& choice);
  std::vector<std::uint32_t> itemWay(std::uint32_t from, std::size_t item);
  bool touchesItem(const Reachability::Spot& state, const Item& item) const;
  bool tryPlan(const Plan& plan);
  HashTrail hashesAlong(const std::vector<Choice>& stack);
  bool seenBefore(const PlaySnapshot& at);
  void noteAttempt();
  void count(Choice& choice);
  bool overLimit();
  std::size_t walkedStates() { return nearest_.ways().settled() + remembered_; }

  Game& game_;
  const Reachability& search_;
  const StateGraph& graph_;
  ClearingLimits limits_;
  LivePlay& live_;
  const ClearingAim& aim_;
  ItemWays& itemWays_;
  std::size_t remembered_ = 0;  // states the ways to items taken from itemWays_ stand for
  NearestWay nearest_;
  std::vector<int> unreached_;
  std::vector<bool> fetchable_;  // by item: the search found a way to touch it
  std::vector<int> waits_;
  std::unordered_set<std::uint64_t> seen_;
  std::size_t held_ = 0;  // bytes, by the choices on the stack
  ClearingResult result_;
  double startedAt_ = searchClockSeconds();
};

std::vector<bool> Clearing::wantedNow() const { return tilesWanted(game_, unreached_); }

ClearingResult Clearing::run() {
  const std::vector<bool> wanted = wantedNow();
  result_.tilesTotal = static_cast<int>(std::count(wanted.begin(), wanted.end(), true));
  std::vector<Choice> stack(1);
  if (aim_.from != nullptr) live_.restore(*aim_.from);
  stack.back().at = live_.snapshot();
  stack.back().wanted = wantedNow();
  count(stack.back());
  seenBefore(stack.back().at);
  while (!stack.empty()) {
    if (overLimit()) {
      result_.end = ClearingResult::End::Limit;
      result_.ticksPlayed = live_.ticksPlayed();
      result_.statesWalked = walkedStates();
      return result_;
    }
    Choice& choice = stack.back();
    if (choice.next == choice.plans.size()) {
      const bool more = makePlans(choice);
      count(choice);
      if (!more) {
        held_ -= choice.bytes;
        stack.pop_back();
        continue;
      }
    }
    const Plan plan = choice.plans[choice.next++];
    live_.restore(choice.at);
    if (!tryPlan(plan)) {
      noteAttempt();
      continue;
    }
    if (live_.end() == PlayEnd::Cleared) {
      result_.end = ClearingResult::End::Cleared;
      result_.route = live_.inputs();
      result_.tilesClaimed = result_.tilesTotal;
      result_.ticksPlayed = live_.ticksPlayed();
      result_.statesWalked = walkedStates();
      if (aim_.places == nullptr) {
        result_.hashes = hashesAlong(stack);
        for (const Choice& done : stack) {
          const Plan& way = done.plans[done.next - 1];
          result_.edges.insert(result_.edges.end(), way.path.begin(), way.path.end());
        }
        return result_;
      }
      for (Choice& choice : stack) aim_.places->push_back({std::move(choice.at), std::move(choice.wanted)});
      return result_;
    }
    Choice next;
    next.at = live_.snapshot();
    if (seenBefore(next.at)) continue;
    next.wanted = wantedNow();
    count(next);
    stack.push_back(std::move(next));
  }
  result_.exhausted = true;
  result_.end = result_.blockedBy;  // NoWay when no attempt ended in a death
  result_.ticksPlayed = live_.ticksPlayed();
  result_.statesWalked = walkedStates();
  return result_;
}

// The next stage of ways from the choice; false when none is left.
bool Clearing::makePlans(Choice& choice) {
  while (choice.next == choice.plans.size()) {
    switch (choice.stage) {
      case Choice::Nearest: {
        Plan plan;
        plan.path = nearest_.from(choice.at.at, aim_.focus ? aim_.focus(choice.wanted) : choice.wanted);
        if (!plan.path.empty()) choice.plans.push_back(plan);
        choice.stage = aim_.othersFirst ? Choice::Others : Choice::Waits;
        break;
      }
      case Choice::Waits:
        waitPlans(choice);
        choice.stage = aim_.othersFirst ? Choice::Items : Choice::Others;
        break;
      case Choice::Others:
        otherPlans(choice);
        choice.stage = aim_.othersFirst ? Choice::Waits : Choice::Items;
        break;
      case Choice::Items:
        itemPlans(choice);
        choice.stage = Choice::Done;
        break;
      case Choice::Done:
        return false;
    }
  }
  return true;
}

// Standing still where the player has the keys, then the nearest way.
void Clearing::waitPlans(Choice& choice) {
  if (choice.plans.empty() || !canStandStill(choice.at.player)) return;
  for (int wait : waits_) {
    Plan plan = choice.plans.front();
    plan.wait = wait;
    choice.plans.push_back(plan);
  }
}

// Another of the nearest tiles, then every other first move followed by
// the nearest way from where it leads.
void Clearing::otherPlans(Choice& choice) {
  const std::uint32_t from = choice.at.at;
  auto known = [&](const std::vector<std::uint32_t>& path) {
    return std::any_of(choice.plans.begin(), choice.plans.end(),
                       [&](const Plan& plan) { return plan.path == path; });
  };
  for (std::vector<std::uint32_t>& path : nearest_.others(from, choice.wanted, othersTried)) {
    if (!known(path)) choice.plans.push_back(Plan{0, std::move(path)});
  }
  std::size_t turns = 0;
  for (std::uint32_t e = graph_.firstEdge(from); e < graph_.endEdge(from); ++e) {
    const std::uint32_t to = graph_.edge(e).to;
    if (to == from || turns == turnsTried) continue;
    std::vector<bool> wanted = choice.wanted;
    unwant(graph_, e, wanted);
    Plan plan;
    plan.path.push_back(e);
    if (std::find(wanted.begin(), wanted.end(), true) != wanted.end()) {
      const std::vector<std::uint32_t> rest = nearest_.from(to, wanted);
      if (rest.empty()) continue;
      plan.path.insert(plan.path.end(), rest.begin(), rest.end());
    }
    if (known(plan.path)) continue;
    choice.plans.push_back(std::move(plan));
    ++turns;
  }
}

// The nearest place where the player stands touching an item still there:
// it may make the enemy in the way harmless.
void Clearing::itemPlans(Choice& choice) {
  const std::vector<Item>& items = game_.itemManager.items();
  for (std::size_t i = 0; i < items.size(); ++i) {
    // Each may be a walk over every found state: the limits are asked between.
    if (!choice.at.world.itemsPresent[i] || !fetchable_[i] || overLimit()) continue;
    std::vector<std::uint32_t> way = itemWay(choice.at.at, i);
    if (!way.empty()) choice.plans.push_back(Plan{0, std::move(way)});
  }
}

// Walked once from each place; a way remembered counts the states its walk
// took again, so the work allowed ends where it would have without it.
std::vector<std::uint32_t> Clearing::itemWay(std::uint32_t from, std::size_t item) {
  ShortestWays& ways = nearest_.ways();
  const std::vector<Reachability::Spot>& spots = search_.spots();
  const Item& touched = game_.itemManager.items()[item];
  bool walked = false;
  ItemWays::Way way = itemWays_.way(from, item, [&] {
    walked = true;
    const std::size_t before = ways.settled();
    const std::vector<ShortestWays::Found> found = ways.cheapest(
        from, [](std::uint32_t) { return true; },
        [&](std::uint32_t e) { return touchesItem(spots[graph_.edge(e).to], touched); }, 1);
    return ItemWays::Way{found.empty() ? std::vector<std::uint32_t>{} : ways.pathTo(found.front()),
                         ways.settled() - before};
  });
  if (!walked) remembered_ += way.walked;
  return std::move(way.edges);
}

bool Clearing::touchesItem(const Reachability::Spot& state, const Item& item) const {
  const int height = game_.player.height;
  const CollisionCorner at = collisionCorner(state.x, state.y, state.width, height);
  return at.left < item.x + item.width && item.x < at.left + state.width &&
         at.top < item.y + item.height && item.y < at.top + height;
}

// The route as the search played it, once more with its hash trail: from
// each place on the stack, restored, the way that led on. The ticks are
// not counted against the limits: a route found is played whatever.
HashTrail Clearing::hashesAlong(const std::vector<Choice>& stack) {
  HashTrail hashes;
  live_.keepHashes(&hashes);
  for (const Choice& choice : stack) {
    live_.restore(choice.at);
    tryPlan(choice.plans[choice.next - 1]);
  }
  live_.keepHashes(nullptr);
  return hashes;
}

bool Clearing::tryPlan(const Plan& plan) {
  if (plan.wait > 0 && !live_.wait(plan.wait)) return false;
  for (std::uint32_t e : plan.path) {
    if (static_cast<std::size_t>(live_.ticks()) >= aim_.longest) return false;
    if (!live_.playEdge(e)) return live_.end() == PlayEnd::Cleared;
  }
  return true;
}

// Everything a tick reads but the countdown and the score: a place met
// again later can do nothing it could not do the first time. The floor is
// read from the Game, which stands at the snapshot when it is asked.
bool Clearing::seenBefore(const PlaySnapshot& s) {
  WordHash hash;
  const auto mix = [&hash](std::uint64_t word) { hash.add(word); };
  mix(s.at);
  mix(s.player.has(TickState::cooldownActive) ? static_cast<std::uint32_t>(s.player.cooldownTicks)
                                              : 0xFFFFFFFFu);
  const std::vector<FloorTile>& tiles = game_.floorManager.tiles();
  for (std::size_t i = 0; i < tiles.size(); ++i) {
    if (tiles[i].cleared) mix(i);
  }
  for (std::uint32_t index : s.changed) mix(index);
  for (const PlaySnapshot::EnemyPoint& enemy : s.enemies) {
    hash.addBits(enemy.x);
    hash.addBits(enemy.y);
    mix(static_cast<std::uint64_t>(enemy.alive) | std::uint64_t{enemy.falling} << 1 |
        static_cast<std::uint64_t>(enemy.direction) << 2 |
        static_cast<std::uint64_t>(enemy.state) << 4 |
        static_cast<std::uint64_t>(enemy.animation) << 8);
    for (const TickState::AnimationPoint& point : enemy.points) {
      mix(static_cast<std::uint32_t>(point.frame) | std::uint64_t{static_cast<std::uint32_t>(point.ticks)} << 32);
    }
  }
  for (bool present : s.world.itemsPresent) mix(present);
  if (live_.vulnerable(s)) mix(static_cast<std::uint32_t>(s.world.ticksSinceItem));
  return !seen_.insert(hash.value).second;
}

// The attempt that claimed the most tiles is the one reported.
void Clearing::noteAttempt() {
  const int claimed = live_.tilesClaimed();
  const bool death = live_.end() == PlayEnd::Caught || live_.end() == PlayEnd::Fell ||
                     live_.end() == PlayEnd::Countdown;
  if (!death || (result_.blockedBy != ClearingResult::End::NoWay && claimed <= result_.tilesClaimed)) {
    return;
  }
  result_.tilesClaimed = claimed;
  result_.blockedBy = live_.end() == PlayEnd::Caught ? ClearingResult::End::Caught
                      : live_.end() == PlayEnd::Fell ? ClearingResult::End::Fell
                                                     : ClearingResult::End::Countdown;
  result_.enemy = live_.caughtBy();
  result_.x = game_.player.x;
  result_.y = game_.player.y;
}

// What the choice holds, counted again after its plans grew.
void Clearing::count(Choice& choice) {
  std::size_t bytes = sizeof(Choice) + choice.at.bytes() + choice.wanted.capacity() / 8 +
                      choice.plans.capacity() * sizeof(Plan);
  for (const Plan& plan : choice.plans) bytes += plan.path.capacity() * sizeof(std::uint32_t);
  held_ += bytes - choice.bytes;
  choice.bytes = bytes;
}

bool Clearing::overLimit() {
  const std::size_t walked =
      aim_.focus ? (aim_.walked + walkedStates()) / ClearingAim::statesPerTick : 0;
  if (live_.ticksPlayed() + walked >= limits_.maxTicks) return true;
  // A place seen costs its hash, its node and the table's slot.
  const std::size_t seenBytes = seen_.size() * 32 + seen_.bucket_count() * sizeof(void*);
  if (held_ + seenBytes + live_.inputs().capacity() * sizeof(TickInput) > limits_.maxBytes) {
    return true;
  }
  return searchClockSeconds() - startedAt_ > limits_.maxSeconds;
}

}  // namespace

ClearingResult clearAiming(LivePlay& live, Game& game, const Reachability& search,
                           const ClearingLimits& limits, const ClearingAim& aim, ItemWays& items,
                           std::size_t lookedAt) {
  return Clearing(live, game, search, limits, lookedAt, items, aim).run();
}

// The ticks between two choices of keys (a jump, a fall, a slide), played
// with the engine's tick, or taken from a stretch played before where that
// gives the same ticks: see Reachability::Stretch.
#include <algorithm>
#include <climits>

#include "authoring/Reachability.h"
#include "authoring/Replay.h"
#include "game/Game.h"
#include "graphics/Pixel.h"

namespace {

const std::uint32_t none = UINT32_MAX;

bool hasChoice(const Player& p) {
  return p.hasControl && !p.falling && p.jumpState == Player::notJumping;
}

bool samePose(const TickState& a, const TickState& b) {
  if (a.facing != b.facing || a.animation != b.animation) return false;
  for (int i = 0; i < TickState::animationCount; ++i) {
    if (a.points[i].frame != b.points[i].frame || a.points[i].ticks != b.points[i].ticks) {
      return false;
    }
  }
  return true;
}

void addOnce(std::vector<int>& tiles, int tile) {
  if (std::find(tiles.begin(), tiles.end(), tile) == tiles.end()) tiles.push_back(tile);
}

}  // namespace

void Reachability::Box::add(int column, int row) {
  if (right < left) {
    left = right = column;
    top = bottom = row;
    return;
  }
  left = std::min(left, column);
  right = std::max(right, column);
  top = std::min(top, row);
  bottom = std::max(bottom, row);
}

void Reachability::Box::add(const Box& other) {
  if (other.right < other.left) return;
  add(other.left, other.top);
  add(other.right, other.bottom);
}

bool Reachability::Box::apart(const LadderSpan& on) const {
  return right < left || right < on.firstColumn || on.lastColumn < left ||
         bottom < on.firstRow || on.lastRow < top;
}

// One tick of a chain, its claims added to the chain's and, for a tick
// after the first, to `later`. False when the player died.
bool Reachability::stepChain(ChainResult& chain, const std::vector<int>& codes, bool sure,
                             std::vector<int>* later) {
  const PlayedTick tick = tickOnce(codes);
  ++chain.ticks;
  if (!tick.alive) return false;
  touchItems(sure);
  for (int tile : tick.claimed) {
    addOnce(chain.claims, tile);
    if (later != nullptr) addOnce(*later, tile);
  }
  return true;
}

// Falling, or jumping, down and below everything the player can stand on,
// enter or touch, the player meets none of it again: a fall moves only
// down, and so does the way down of a jump, edges aside.
bool Reachability::fallenAway(float above) const {
  const Player& p = game_.player;
  return (p.falling || p.jumpState != Player::notJumping) && p.hasControl && p.y > above &&
         p.height > 0 && p.frameTop() > static_cast<float>(lowest_);
}

std::uint32_t Reachability::remember(Memo& memo, const TickState& from, bool& known) const {
  bool added = false;
  const std::uint32_t index = memo.keys->add(from, added);
  known = !added;
  return index;
}

// The last `ticks` of a chain, played from `from`, as a stretch to be
// remembered: its claims are kept beside those of the others.
Reachability::Stretch Reachability::rememberStretch(const ChainResult& chain,
                                                    const TickState& from, const Box& box,
                                                    const std::vector<int>& claims,
                                                    std::uint32_t ticks, bool releasedBefore) {
  Stretch stretch;
  stretch.end = chain.end;
  stretch.ticks = ticks;
  stretch.claimsBegin = static_cast<std::uint32_t>(memoClaims_.size());
  stretch.claimCount = static_cast<std::uint32_t>(claims.size());
  memoClaims_.insert(memoClaims_.end(), claims.begin(), claims.end());
  stretch.box = box;
  stretch.died = !chain.alive;
  stretch.lastUnderControl = chain.lastUnderControl;
  stretch.releasedBeforeLast = releasedBefore;
  stretch.ladderFree = box.apart(states_.ladder(from.ladder).span(
      game_.ladderHorizontalTolerance, game_.ladderVerticalTolerance));
  return stretch;
}

// played: the state the stretch was played from.
bool Reachability::fits(const Stretch& stretch, const TickState& played,
                        const TickState& from) const {
  if (stretch.ticks == 0) return false;  // not played to its end
  if (played.ladder == from.ladder) return true;
  return stretch.ladderFree &&
         stretch.box.apart(states_.ladder(from.ladder).span(game_.ladderHorizontalTolerance,
                                                            game_.ladderVerticalTolerance));
}

// The stretch, for a start that may differ from the one it was played from
// in the ladder held (never read where it is), the cooldown and the
// animations, carries the chain on. The cooldown is counted on with the
// engine's own count; the animations end as they ended then only if they
// began the same. False when the player died in it.
bool Reachability::reuse(ChainResult& chain, const Stretch& stretch, const TickState& played,
                         const TickState& from) {
  if (stretch.died) return false;
  const bool later = chain.ticks > 0;
  chain.releasedBeforeLast = (later && (chain.releasedBeforeLast || chain.lastUnderControl)) ||
                             stretch.releasedBeforeLast;
  chain.lastUnderControl = stretch.lastUnderControl;
  chain.ticks += stretch.ticks;
  for (std::uint32_t n = 0; n < stretch.claimCount; ++n) {
    addOnce(chain.claims, memoClaims_[stretch.claimsBegin + n]);
  }
  chain.end = stretch.end;
  chain.end.ladder = from.ladder;
  game_.teleportCooldownActive = from.has(TickState::cooldownActive);
  game_.teleportCooldownTicks = from.cooldownTicks;
  for (std::uint32_t t = 0; t < stretch.ticks && game_.teleportCooldownActive; ++t) {
    game_.cooldownCount();
  }
  chain.end.cooldownTicks = game_.teleportCooldownTicks;
  chain.end.flags = static_cast<std::uint8_t>(
      (chain.end.flags & ~TickState::cooldownActive) |
      (game_.teleportCooldownActive ? TickState::cooldownActive : 0));
  chain.end.marks = static_cast<std::uint8_t>(chain.end.marks & ~TickState::unsure);
  if (from.marked(TickState::unsure) || !samePose(from, played)) {
    chain.end.marks |= TickState::unsure;
  }
  return true;
}

// Where the first tick may read the ladder held: at the state's place and
// a walking step either way. Leaves the Game at the state.
Reachability::Box Reachability::firstTickBox(const TickState& state) {
  Player& p = game_.player;
  Box box;
  states_.restore(state);
  for (int walk = 0; walk < 4; ++walk) {
    p.setPosition(state.x, state.y);
    if (walk == 1 || walk == 3) p.move(-p.walkSpeed, 0.0f);
    if (walk == 2 || walk == 3) p.move(p.walkSpeed, 0.0f);
    box.add(toPixel(p.x), toPixel(p.y));
  }
  p.setPosition(state.x, state.y);
  return box;
}

// The Game's state now, marked unsure when the chain began unsure.
TickState Reachability::captureChainState(bool sure) const {
  TickState now = states_.capture();
  if (!sure) now.marks |= TickState::unsure;
  return now;
}

// From the end of a chain's first tick to the player's next choice: the
// stretch remembered after a first tick that ended the same way, or
// played and remembered. False when the player died.
bool Reachability::followLater(ChainResult& chain, bool sure, Box& box) {
  Player& p = game_.player;
  const TickState first = captureChainState(sure);
  std::uint32_t afterIndex = none;
  if (memoizing_) {
    bool known = false;
    const std::uint32_t index = remember(afterFirst_, first, known);
    const TickState& played = afterFirst_.keys->state(index);
    if (known && index < afterFirst_.stretches.size() &&
        fits(afterFirst_.stretches[index], played, first)) {
      const Stretch& stretch = afterFirst_.stretches[index];
      box.add(stretch.box);
      return reuse(chain, stretch, played, first);
    }
    if (!known) afterIndex = index;
  }
  Box later;
  std::vector<int> laterClaims;  // by the ticks after the first, each tile once
  bool releasedLater = false;
  bool alive = true;
  while (!hasChoice(p) && chain.ticks < chainLimit) {
    // A tick under control asks the key-release table about every
    // digit, which lets go of all of them.
    chain.releasedBeforeLast = chain.releasedBeforeLast || chain.lastUnderControl;
    if (chain.ticks > 1) releasedLater = releasedLater || chain.lastUnderControl;
    chain.lastUnderControl = p.hasControl;
    const float above = p.y;
    alive = stepChain(chain, idleInputs_.front().codes, sure, &laterClaims) && !fallenAway(above);
    later.add(toPixel(p.x), toPixel(p.y));
    if (!alive) break;
  }
  chain.alive = alive;
  if (alive) chain.end = captureChainState(sure);
  if (afterIndex != none) {
    if (afterFirst_.stretches.size() <= afterIndex) afterFirst_.stretches.resize(afterIndex + 1);
    afterFirst_.stretches[afterIndex] =
        rememberStretch(chain, first, later, laterClaims, chain.ticks - 1, releasedLater);
  }
  box.add(later);
  return alive;
}

Reachability::ChainResult Reachability::follow(const TickState& state, const Input& input,
                                               StretchSlot* slot, const TickState* played) {
  const bool sure = !state.marked(TickState::unsure);
  ChainResult chain;
  chain.lastUnderControl = state.has(TickState::hasControl);
  if (slot != nullptr && !slot->empty()) {
    const Stretch& stretch = wholeStretches_[slot->stretch()];
    if (fits(stretch, *played, state)) {
      chain.alive = reuse(chain, stretch, *played, state);
      keepClaims(chain);
      return chain;
    }
    slot = nullptr;  // the first one played stays
  }

  Player& p = game_.player;
  Box box = firstTickBox(state);
  bool alive = stepChain(chain, input.codes, sure, nullptr);
  box.add(toPixel(p.x), toPixel(p.y));
  if (alive && !hasChoice(p)) {
    alive = followLater(chain, sure, box);
  } else if (alive) {
    chain.end = captureChainState(sure);
  }
  chain.alive = alive;
  if (slot != nullptr) {
    slot->hold(static_cast<std::uint32_t>(wholeStretches_.size()));
    wholeStretches_.push_back(
        rememberStretch(chain, state, box, chain.claims, chain.ticks, chain.releasedBeforeLast));
  }
  keepClaims(chain);
  return chain;
}

// Only a way the player survives keeps what it claimed.
void Reachability::keepClaims(const ChainResult& chain) {
  if (!chain.alive) return;
  for (int tile : chain.claims) tileReached_[tile] = true;
}

// The states found and the chains remembered, for the limit in bytes.
std::size_t Reachability::heldBytes(const StateGraph& graph) const {
  std::size_t bytes = graph.bytes();
  if (graph_ != nullptr && graph_.get() != &graph) bytes += graph_->bytes();
  if (stillness_ != nullptr) bytes += stillness_->bytes();
  for (const Memo* memo : {&afterFirst_, &byState_}) {
    bytes += memo->keys->bytes() + memo->stretches.capacity() * sizeof(Stretch);
  }
  return bytes + wholeStretches_.capacity() * sizeof(Stretch) +
         wholeSlots_.capacity() * sizeof(StretchSlot) +
         memoClaims_.capacity() * sizeof(std::uint32_t) +
         (nearTeleporter_.capacity() + (armed_.capacity() + waitsAt_.capacity()) / 8);
}

#include "authoring/StateGraph.h"

#include <cstring>

#include "authoring/WordHash.h"
#include "player/Player.h"

namespace {

std::uint32_t bitsOf(float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

std::uint32_t word(std::int32_t value) { return static_cast<std::uint32_t>(value); }

}  // namespace

StateGraph::StateGraph(StateKey key, int animation)
    : key_(key), animation_(animation), slots_(1024) {}

// Fields a tick writes before it reads them count as 0 in the key: the
// jump apex when not jumping (a jump's start sets it), the slide when not
// sliding (entering a chute sets it), the cooldown count when no cooldown
// runs (a teleport sets it) and the climb direction without a climb step
// (the climbing keys set both together).
int StateGraph::keyOf(const TickState& s, std::uint32_t* words) const {
  const bool sliding = s.has(TickState::onChute);
  const bool climbing = s.has(TickState::climbStep);
  const bool chain = key_ == StateKey::Chain;
  const bool counted =
      !chain && s.has(TickState::cooldownActive) && !s.marked(TickState::waits);
  std::uint8_t flags = (s.flags | s.marks) & ~TickState::unsure;
  if (chain) flags &= ~(TickState::cooldownActive | TickState::waits);
  int n = 0;
  words[n++] = bitsOf(s.x);
  words[n++] = bitsOf(s.y);
  words[n++] = bitsOf(s.fallDistance);
  words[n++] = s.jumpState == Player::notJumping ? 0u : bitsOf(s.jumpApexY);
  words[n++] = word(s.width);
  words[n++] = sliding ? word(s.slideDx) : 0u;
  words[n++] = sliding ? word(s.slideDy) : 0u;
  words[n++] = sliding ? word(s.slideTop) : 0u;
  words[n++] = sliding ? word(s.slideLength) : 0u;
  words[n++] = counted ? word(s.cooldownTicks) : 0u;
  words[n++] = chain ? 0u : word(s.ladder);
  words[n++] = static_cast<std::uint8_t>(s.jumpState) | std::uint32_t{flags} << 8 |
               (climbing ? std::uint32_t{static_cast<std::uint8_t>(s.climbDirection)} : 0u)
                   << 16;
  for (std::uint64_t pending : s.pendingKeys) {
    words[n++] = static_cast<std::uint32_t>(pending);
    words[n++] = static_cast<std::uint32_t>(pending >> 32);
  }
  if (key_ == StateKey::Motion || chain) return n;
  words[n++] = static_cast<std::uint8_t>(s.facing) |
               std::uint32_t{static_cast<std::uint8_t>(s.animation)} << 8;
  for (int a = 0; a < TickState::animationCount; ++a) {
    if (key_ == StateKey::Animation && a != animation_) continue;
    words[n++] = word(s.points[a].frame);
    words[n++] = word(s.points[a].ticks);
  }
  return n;
}

std::uint64_t StateGraph::hashOf(const TickState& state) const {
  std::uint32_t words[maxWords];
  return hashOfWords(words, keyOf(state, words));
}

std::uint64_t StateGraph::hashOfWords(const std::uint32_t* words, int n) {
  WordHash hash;
  for (int i = 0; i < n; ++i) hash.add(words[i]);
  return hash.value;
}

bool StateGraph::sameKey(const TickState& a, const TickState& b) const {
  std::uint32_t left[maxWords];
  std::uint32_t right[maxWords];
  const int n = keyOf(a, left);
  keyOf(b, right);
  return std::memcmp(left, right, n * sizeof left[0]) == 0;
}

// The slot holding the state's key, or the empty slot where it would go.
std::size_t StateGraph::slotFor(const TickState& state, std::uint64_t& hash) const {
  const std::size_t mask = slots_.size() - 1;
  std::uint32_t words[maxWords];
  const int n = keyOf(state, words);
  hash = hashOfWords(words, n);
  for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
    const Slot held = slots_[slot];
    if (held.empty()) return slot;
    std::uint32_t stored[maxWords];
    if (held.tagged(hash) && keyOf(states_[held.index()], stored) == n &&
        std::memcmp(stored, words, n * sizeof words[0]) == 0) {
      return slot;
    }
  }
}

std::uint32_t StateGraph::add(const TickState& state, bool& added) {
  std::uint64_t hash = 0;
  const std::size_t slot = slotFor(state, hash);
  added = slots_[slot].empty();
  if (!added) return slots_[slot].index();
  const auto index = static_cast<std::uint32_t>(states_.size());
  states_.push_back(state);
  hashes_.push_back(hash);
  slots_[slot] = Slot(hash, index);
  if (states_.size() * 2 > slots_.size()) grow();
  return index;
}

std::uint32_t StateGraph::find(const TickState& state) const {
  std::uint64_t hash = 0;
  const Slot held = slots_[slotFor(state, hash)];
  return held.empty() ? notFound : held.index();
}

void StateGraph::grow() {
  std::vector<Slot> larger(slots_.size() * 2);
  const std::size_t mask = larger.size() - 1;
  for (std::uint32_t i = 0; i < states_.size(); ++i) {
    std::size_t slot = hashes_[i] & mask;
    while (!larger[slot].empty()) slot = (slot + 1) & mask;
    larger[slot] = Slot(hashes_[i], i);
  }
  slots_.swap(larger);
}

void StateGraph::begin(std::uint32_t from) {
  if (from == firstEdge_.size()) firstEdge_.push_back(static_cast<std::uint32_t>(edges_.size()));
}

void StateGraph::addEdge(const StateEdge& edge, const std::vector<int>& claimedTiles) {
  const auto from = static_cast<std::uint32_t>(firstEdge_.size());  // the state being expanded
  if (edgedFrom_.size() <= edge.to) edgedFrom_.resize(states_.size(), 0);
  if (edgedFrom_[edge.to] == from) return;
  edgedFrom_[edge.to] = from;
  StateEdge added = edge;
  added.claimsBegin = static_cast<std::uint32_t>(claims_.size());
  added.claimCount = static_cast<std::uint16_t>(claimedTiles.size());
  for (int tile : claimedTiles) claims_.push_back(static_cast<std::uint16_t>(tile));
  edges_.push_back(added);
}

std::size_t StateGraph::bytes() const {
  return states_.capacity() * sizeof(TickState) + hashes_.capacity() * sizeof(std::uint64_t) +
         slots_.capacity() * sizeof(Slot) +
         firstEdge_.capacity() * sizeof(std::uint32_t) + edges_.capacity() * sizeof(StateEdge) +
         edgedFrom_.capacity() * sizeof(std::uint32_t) +
         claims_.capacity() * sizeof(std::uint16_t);
}

#include "authoring/TourCosts.h"

#include <algorithm>
#include <utility>

#include "authoring/ClearingRoute.h"

std::vector<TourMove> tourMoves(std::size_t legs) {
  std::vector<TourMove> all;
  for (std::size_t i = 0; i < legs; ++i) all.push_back({TourMove::Flip, i, i, 1});
  for (std::size_t length = 1; length <= 3 && length < legs; ++length) {
    for (std::size_t i = 0; i + length <= legs; ++i) {
      for (std::size_t j = 0; j <= legs - length; ++j) {
        if (j != i) all.push_back({TourMove::Shift, i, j, length});
      }
    }
  }
  for (std::size_t i = 0; i < legs; ++i) {
    for (std::size_t j = i + 1; j < legs; ++j) all.push_back({TourMove::Reverse, i, j, j - i + 1});
  }
  return all;
}

std::vector<TourMove> splitMoves(const Tour& tour) {
  std::vector<TourMove> all;
  for (std::size_t i = 0; i < tour.size(); ++i) {
    const std::size_t n = tour[i].tiles.size();
    std::size_t last = 0;
    for (std::size_t kept : {n / 4, n / 2, 3 * n / 4}) {
      if (kept == 0 || kept == last) continue;
      last = kept;
      for (std::size_t j = 0; j <= tour.size(); ++j) {
        if (j != i + 1) all.push_back({TourMove::Split, i, j, kept});  // i + 1: where it stood
      }
    }
  }
  return all;
}

namespace {

// Leg i keeps its first `kept` tiles from its entry; the rest, entered
// from the same side, is returned.
Leg cutAfter(Leg& leg, std::size_t kept) {
  std::vector<int>& tiles = leg.tiles;
  const auto cut = tiles.begin() + static_cast<std::ptrdiff_t>(leg.fromLeft ? kept : tiles.size() - kept);
  Leg rest{{}, leg.fromLeft};
  if (leg.fromLeft) {
    rest.tiles.assign(cut, tiles.end());
    tiles.erase(cut, tiles.end());
  } else {
    rest.tiles.assign(tiles.begin(), cut);
    tiles.erase(tiles.begin(), cut);
  }
  return rest;
}

}  // namespace

Tour applied(const Tour& tour, const TourMove& move) {
  Tour t = tour;
  switch (move.kind) {
    case TourMove::Flip:
      t[move.i].fromLeft = !t[move.i].fromLeft;
      break;
    case TourMove::Shift: {
      const auto first = tour.begin() + static_cast<std::ptrdiff_t>(move.i);
      const auto last = first + static_cast<std::ptrdiff_t>(move.length);
      t.erase(t.begin() + static_cast<std::ptrdiff_t>(move.i),
              t.begin() + static_cast<std::ptrdiff_t>(move.i + move.length));
      t.insert(t.begin() + static_cast<std::ptrdiff_t>(move.j), first, last);
      break;
    }
    case TourMove::Split: {
      Leg rest = cutAfter(t[move.i], move.length);
      t.insert(t.begin() + static_cast<std::ptrdiff_t>(move.j), std::move(rest));
      break;
    }
    case TourMove::Reverse:
      std::reverse(t.begin() + static_cast<std::ptrdiff_t>(move.i),
                   t.begin() + static_cast<std::ptrdiff_t>(move.j + 1));
      for (std::size_t k = move.i; k <= move.j; ++k) t[k].fromLeft = !t[k].fromLeft;
      break;
  }
  return t;
}

TourCosts::TourCosts(const StateGraph& graph, std::size_t tileCount, std::uint32_t start,
                     const RouteLimits& limits, std::size_t maxWalked)
    : graph_(graph), steps_(graph), limits_(limits), claims_(claimways::claimEdges(graph, tileCount)),
      longest_(claimways::longestEdge(graph)), start_(start), maxWalked_(maxWalked) {}

namespace {

// Out of reach stays out of reach, however many legs add to it.
std::uint64_t add(std::uint64_t a, std::uint64_t b) {
  return std::min(a + b, claimways::unreachable);
}

}  // namespace

const std::vector<std::uint64_t>& TourCosts::row(int from) {
  auto found = rows_.find(from);
  if (found != rows_.end()) return found->second;
  std::vector<claimways::Source> sources;
  if (from < 0) {
    sources.push_back({start_, 0});
  } else {
    for (const claimways::ClaimEdge& c : claims_[from]) sources.push_back({graph_.edge(c.edge).to, 0});
  }
  claimways::Costs cost;
  if (walked_ < maxWalked_) {
    cost = claimways::leastTicks(steps_, sources, longest_, limits_);
    walked_ += graph_.size();
  }
  std::vector<std::uint64_t> toTile(claims_.size(), claimways::unreachable);
  for (std::size_t tile = 0; tile < claims_.size() && !cost.empty(); ++tile) {
    for (const claimways::ClaimEdge& c : claims_[tile]) {
      toTile[tile] = std::min(toTile[tile], cost[c.from] + steps_.ticks(c.edge));
    }
  }
  if (from >= 0) toTile[from] = 0;
  return rows_.emplace(from, std::move(toTile)).first->second;
}

template <typename Between>
std::uint64_t TourCosts::sum(const Tour& tour, Between between) {
  legSteps_ += tour.size();
  std::uint64_t sum = 0;
  int at = -1;
  for (const Leg& leg : tour) {
    sum = add(sum, add(between(at, leg.entry()), between(leg.entry(), leg.exit())));
    at = leg.exit();
  }
  return sum;
}

std::uint64_t TourCosts::estimate(const Tour& tour) {
  return sum(tour, [this](int from, int to) { return between(from, to); });
}

std::uint64_t TourCosts::estimateKnown(const Tour& tour) {
  return sum(tour, [this](int from, int to) { return byKnown(from, to); });
}

std::uint64_t TourCosts::byKnown(int from, int to) {
  const auto known = rows_.find(from);
  if (known != rows_.end()) return known->second[to];
  if (from < 0) return between(from, to);  // the life's start stands on no tile
  std::uint64_t least = claimways::unreachable;
  for (const auto& [near, row] : rows_) {
    if (near >= 0) least = std::min(least, add(row[from], row[to]));
  }
  return least;
}

// Each leg next whose entry, from either end, is nearest the last exit.
Tour TourCosts::nearestFirst(Tour legs) {
  Tour tour;
  int at = -1;
  while (!legs.empty()) {
    std::size_t best = 0;
    bool bestLeft = true;
    std::uint64_t bestCost = UINT64_MAX;
    for (std::size_t i = 0; i < legs.size(); ++i) {
      for (bool left : {true, false}) {
        legs[i].fromLeft = left;
        const std::uint64_t cost = between(at, legs[i].entry());
        if (cost < bestCost) {
          bestCost = cost;
          best = i;
          bestLeft = left;
        }
      }
    }
    legs[best].fromLeft = bestLeft;
    at = legs[best].exit();
    tour.push_back(std::move(legs[best]));
    legs.erase(legs.begin() + static_cast<std::ptrdiff_t>(best));
  }
  return tour;
}

Tour TourCosts::cheapestOrder(Tour legs) {
  Tour tour = nearestFirst(std::move(legs));
  std::uint64_t cost = estimate(tour);
  bool lowered = true;
  for (std::size_t round = 0; lowered && round < tour.size() * tour.size(); ++round) {
    lowered = false;
    for (const TourMove& move : tourMoves(tour.size())) {
      if (!canEstimate()) return tour;
      Tour candidate = applied(tour, move);
      const std::uint64_t next = estimate(candidate);
      if (next >= cost) continue;
      tour = std::move(candidate);
      cost = next;
      lowered = true;
      break;
    }
  }
  return tour;
}

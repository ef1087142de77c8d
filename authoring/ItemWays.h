#pragma once
// The cheapest way from a found state to where the player touches an item,
// remembered. The proof asks for it wherever its other ways failed, and
// the tour's plays come back to the same places again and again (on level
// 3, 196 walks over the found states from 33 places): a way hangs on the
// found states alone, so one walk answers every later asking.
//
// A way asked again counts as walked again: the work the proof and the
// tour are allowed (authoring/ClearingSearch.h) counts the ways asked, so
// remembering them changes no route, only the time it takes.
//
// Memory: the ways kept, 4 bytes an edge and a slot each, at most
// mostEdges edges in all; past them a way is walked again each time.
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

class ItemWays {
 public:
  static constexpr std::size_t mostEdges = std::size_t{1} << 20;

  struct Way {
    std::vector<std::uint32_t> edges;  // empty: the item cannot be touched from there
    std::size_t walked = 0;            // states the walk that found it took
  };

  // The way from `state` to touch item `item`, as `walk` finds it when it
  // is not known yet.
  template <typename Walk>
  Way way(std::uint32_t state, std::size_t item, Walk walk) {
    const std::uint64_t key = std::uint64_t{state} << 32 | static_cast<std::uint32_t>(item);
    const auto known = ways_.find(key);
    if (known != ways_.end()) return known->second;
    Way found = walk();
    if (edges_ + found.edges.size() + 1 <= mostEdges) {
      edges_ += found.edges.size() + 1;
      ways_.emplace(key, found);
    }
    return found;
  }

 private:
  std::unordered_map<std::uint64_t, Way> ways_;
  std::size_t edges_ = 0;
};

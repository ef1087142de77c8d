#include "authoring/RunEntries.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double none = -std::numeric_limits<double>::infinity();

// Entries merged by the pixel column they stand in, at the cheapest: two
// pieces begun in one column leave a gap under a pixel, which spares less
// than the tick any way in costs. So the places are at most the run's
// columns, and each looks back over at most g of them.
std::vector<RunEntry> byPlace(std::vector<RunEntry> entries) {
  for (RunEntry& e : entries) e.x = std::floor(e.x);
  std::sort(entries.begin(), entries.end(),
            [](const RunEntry& a, const RunEntry& b) { return a.x < b.x; });
  std::vector<RunEntry> places;
  for (const RunEntry& e : entries) {
    if (places.empty() || places.back().x != e.x) {
      places.push_back(e);
    } else {
      places.back().others = std::min(places.back().others, e.others);
      places.back().back = std::min(places.back().back, e.back);
    }
  }
  return places;
}

// The best chain ending at a place: all paid for, and holding the free entry.
struct Chain {
  double paid = none;
  double withFree = none;
};

}  // namespace

double entriesSaving(std::vector<RunEntry> entries, double gap, double walk) {
  const std::vector<RunEntry> places = byPlace(std::move(entries));
  std::vector<Chain> best(places.size());
  Chain far;  // the best over the places g or more before the one at hand
  std::size_t farEnd = 0;
  double most = 0.0;
  for (std::size_t i = 0; i < places.size(); ++i) {
    const RunEntry& p = places[i];
    while (farEnd < i && p.x - places[farEnd].x >= gap) {
      far.paid = std::max(far.paid, best[farEnd].paid);
      far.withFree = std::max(far.withFree, best[farEnd].withFree);
      ++farEnd;
    }
    Chain before{far.paid + gap / walk, far.withFree + gap / walk};
    for (std::size_t k = farEnd; k < i; ++k) {
      // Columns k and i hold places less than a pixel more apart.
      const double gained = std::min(gap, static_cast<double>(p.x - places[k].x) + 1.0) / walk;
      before.paid = std::max(before.paid, best[k].paid + gained);
      before.withFree = std::max(before.withFree, best[k].withFree + gained);
    }
    const double cost = p.cost();
    best[i].paid = std::max(-cost, before.paid - cost);
    best[i].withFree = std::max({0.0, before.withFree - cost, before.paid});
    most = std::max(most, best[i].withFree);
  }
  return most;
}

#include "authoring/RunStayKinds.h"

#include <array>
#include <utility>

namespace runstays {

namespace {

double share(double part, double ticks) { return ticks == never ? never : part * ticks; }

// By column c: the least of cost[d] + |d - c| step over the columns d at
// or right of c (fromRight), or at or left of it.
Line reachFrom(const Line& cost, double step, bool fromRight) {
  Line best = cost;
  const int n = static_cast<int>(cost.size());
  if (fromRight) {
    for (int c = n - 2; c >= 0; --c) best[c] = std::min(best[c], best[c + 1] + step);
  } else {
    for (int c = 1; c < n; ++c) best[c] = std::min(best[c], best[c - 1] + step);
  }
  return best;
}

// Stays left back one way, less those entered back that way: none in any
// route, since in time each is followed by one of the other.
int balanceOf(Way in, Way out, Way way) { return (out == way ? 1 : 0) - (in == way ? 1 : 0); }

// The places of the ways in and out by column, kept apart by how many
// columns either way each may stand (most where they are known, the rest
// a tick's step either way), then each set spread over its columns: time
// in the places, and in the columns for each doubt.
struct Places {
  explicit Places(int columns) {
    for (Line& line : in) line.assign(columns, never);
    for (Line& line : out) line.assign(columns, never);
  }
  std::array<Line, ways> in, out;  // by way
};

void widen(const Line& line, int by, Line& into) {
  const int n = static_cast<int>(line.size());
  for (int c = 0; c < n; ++c) {
    if (line[c] == never) continue;
    for (int d = std::max(0, c - by); d <= std::min(n - 1, c + by); ++d) into[d] = std::min(into[d], line[c]);
  }
}

class PlacesByDoubt {
 public:
  explicit PlacesByDoubt(int columns) : columns_(columns) {}
  Places& at(double doubt) {
    const int by = static_cast<int>(std::ceil(doubt));
    for (auto& [held, places] : byDoubt_) {
      if (held == by) return places;
    }
    return byDoubt_.emplace_back(by, Places(columns_)).second;
  }
  Places spread() const {
    Places all(columns_);
    for (const auto& [by, places] : byDoubt_) {
      for (int w = 0; w < ways; ++w) {
        widen(places.in[w], by, all.in[w]);
        widen(places.out[w], by, all.out[w]);
      }
    }
    return all;
  }

 private:
  int columns_;
  std::vector<std::pair<int, Places>> byDoubt_;
};

void keep(Line& line, int column, double ticks) { line[column] = std::min(line[column], ticks); }

}  // namespace

Columns columnsOf(const std::vector<RunEntry>& entries, const std::vector<RunExit>& exits,
                  RunEnds ends, double gap) {
  double lo = ends.left - gap - 1.0, hi = ends.right + 1.0;  // and every place
  for (const RunEntry& e : entries) lo = std::min<double>(lo, e.x), hi = std::max<double>(hi, e.x);
  for (const RunExit& x : exits) lo = std::min<double>(lo, x.x), hi = std::max<double>(hi, x.x);
  Columns c;
  c.lo = static_cast<int>(std::floor(lo)) - 1;
  const double count = std::ceil(hi) - c.lo + 2.0;
  c.count = count > mostColumns ? 0 : static_cast<int>(count);
  return c;
}

std::vector<Kind> kindsOf(const std::vector<RunEntry>& entries, const std::vector<RunExit>& exits,
                          const Columns& cols, double walk, double outShare,
                          double inShare) {
  PlacesByDoubt placed(cols.count);
  for (const RunEntry& e : entries) {
    const int c = cols.at(e.x);
    std::array<Line, ways>& in = placed.at(e.doubt).in;
    // The way from the life's start is no other run's way out: all of it.
    keep(in[Start], c, e.fromStart);
    keep(in[Away], c, share(inShare, e.others));
    keep(in[Back], c, e.walked);
    keep(in[Teleport], c, e.teleported);
  }
  for (const RunExit& x : exits) {
    const int c = cols.at(x.x);
    std::array<Line, ways>& out = placed.at(x.doubt).out;
    keep(out[Away], c, share(outShare, x.out));
    keep(out[Back], c, 0.0);
    keep(out[Ends], c, 0.0);
    keep(out[Teleport], c, x.toTeleport);
  }
  const Places all = placed.spread();
  const std::array<Line, ways>& in = all.in;
  const std::array<Line, ways>& out = all.out;
  const double step = 1.0 / walk;
  std::vector<Kind> kinds;
  for (Way i : {Start, Away, Back, Teleport}) {
    const Line enterLeft = reachFrom(in[i], step, true), enterRight = reachFrom(in[i], step, false);
    for (Way o : {Away, Back, Teleport, Ends}) {
      const Line leaveLeft = reachFrom(out[o], step, true), leaveRight = reachFrom(out[o], step, false);
      for (bool leftFirst : {true, false}) {
        Kind kind{i, o, balanceOf(i, o, Back), balanceOf(i, o, Teleport),
                  leftFirst ? enterLeft : leaveLeft, leftFirst ? leaveRight : enterRight};
        for (int c = 0; c < cols.count; ++c) {
          kind.leftPart[c] -= c * step;
          kind.rightPart[c] += c * step;
          if (c > 0) kind.leftPart[c] = std::min(kind.leftPart[c], kind.leftPart[c - 1]);
          kind.least = std::min(kind.least, kind.leftPart[c] + kind.rightPart[c]);
        }
        // A kind no stay can be of adds nothing but time to every pass.
        if (kind.least < never) kinds.push_back(std::move(kind));
      }
    }
  }
  return kinds;
}

}  // namespace runstays

#pragma once
// The kinds of stay on a run (authoring/RunStays.h), each with its cost by
// the columns it may begin and end in: the parts of the stays bound that
// read a run's entries and exits, apart from the pass over its columns.
#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "authoring/RunStays.h"

namespace runstays {

constexpr double never = std::numeric_limits<double>::infinity();
using Line = std::vector<double>;  // by column

// Ways in: from the life's start, from another run, back from this one
// by no teleport or by one; ways out: to another run, back onto this one
// either way, none (the route's end).
enum Way { Away, Back, Ends, Start, Teleport };
constexpr int ways = 5;

// One kind of stay: its ways, and its cost split into a part in its left
// column l, least over every l up to the column, and one in its right r.
struct Kind {
  Way in = Away;
  Way out = Away;
  int walked = 0;      // balance of the ways back by no teleport
  int teleported = 0;  // and by one
  Line leftPart;
  Line rightPart;
  double least = never;  // anywhere
};

struct Columns {
  int lo = 0;
  int count = 0;
  int at(double x) const { return std::clamp(static_cast<int>(std::floor(x)) - lo, 0, count - 1); }
};

// The columns of every place, and of the run's ends with a gap before them;
// none (count 0) past mostColumns.
Columns columnsOf(const std::vector<RunEntry>& entries, const std::vector<RunExit>& exits,
                  RunEnds ends, double gap);

// Every kind of stay some place allows, each way's part counted at its
// share, the walk between places at `walk` pixels a tick.
std::vector<Kind> kindsOf(const std::vector<RunEntry>& entries, const std::vector<RunExit>& exits,
                          const Columns& cols, double walk, double outShare, double inShare);

}  // namespace runstays

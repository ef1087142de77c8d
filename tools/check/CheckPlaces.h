#pragma once
// What one call of pwe-check reads, from what its user named
// (shell/MediaPlace.h): the tree; a set laid over it; or level files, each
// folder of them laid over the tree as its set and checked in turn.
#include <string>
#include <vector>

#include "shell/MediaPlace.h"
#include "tools/check/Diagnostics.h"

struct CheckRequest {
  std::vector<std::string> named;  // PLACE, or LEVEL-FILE...; empty for the tree
  std::string base;                // --base TREE, or empty
  std::string routeLevel;          // --route LEVEL: a level's bare name or a file's path
  std::string routeOutput;         // and where its replay goes, absolute
};

// One run of the checker.
struct PlaceCheck {
  MediaPlace place;                 // its tree and the set laid over it, if any
  std::vector<std::string> levels;  // the level files named, bare; empty: the place's own
  std::string routeLevel;           // the level of this run whose route is written, or empty
};

// The runs the request asks for, in order. A place that cannot be read is
// reported to out (and has no run); false for a request that makes no
// sense (a folder among level files).
bool planChecks(const CheckRequest& request, std::vector<PlaceCheck>& checks, Diagnostics& out);

#pragma once
// What the proofs of one level found (its reachability, the proof with its
// enemies, its par and route), held apart from the report until every
// level is proven, so that the levels may be proven side by side
// (tools/check/SideBySide.h) and still reported in their order. A child
// process hands its proof to the checker as bytes.
#include <string>

#include "tools/check/Diagnostics.h"

struct LevelProof {
  Diagnostics findings;     // in the order they were found
  bool routeFound = false;  // --route asked for this level, and its route was found
  std::string route;        // then the replay to write
};

// The proof as bytes, and back: false when the bytes are no whole proof
// (a child killed while writing it).
std::string serialisedProof(const LevelProof& proof);
bool readProof(const std::string& bytes, LevelProof& proof);

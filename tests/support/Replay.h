#pragma once
// Test support for the recordings of the shipped levels (the format itself
// is authoring/Replay.h): telling a recording made for other data from an
// engine fault.
#include <string>

#include "authoring/Replay.h"

// Empty when the recording fits the media tree in the working directory,
// otherwise a message saying what changed and how to record again.
std::string staleReplayReason(const Replay& replay);

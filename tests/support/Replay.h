#pragma once
// Test support for the recordings of the shipped levels (the format itself
// is authoring/Replay.h): telling a recording made for other data from an
// engine fault, and the hash trail kept beside each recording.
#include <string>

#include "authoring/Replay.h"

// Empty when the recording fits the media tree in the working directory,
// otherwise a message saying what changed and how to record again.
std::string staleReplayReason(const Replay& replay);

// The trail kept beside a recording: its path is the recording's with
// .hashes for .replay. It holds the low 32 bits of each tick's hash, eight
// ticks a line, so that a divergence names its tick in a few kilobytes.
std::string hashTrailPath(const std::string& replayPath);

// Empty when the play's hash trail is the one kept beside the recording,
// otherwise the tick at which they part. With PWE_WRITE_HASH_TRAILS=1 in
// the environment, writes the play's trail there instead (see
// tests/replays/README.md).
std::string hashTrailDivergence(const std::string& replayPath, const HashTrail& played);

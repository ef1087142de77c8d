#pragma once
// What every fuzz target shares: headless Allegro and a private copy of the
// shipped media tree as the working directory. Each target holds a
// DataFailureGuard (shell/Fatal.h) round its input, so that an orderly stop
// is an exception and one process can try input after input.
#include <cstddef>
#include <cstdint>
#include <string>

class Game;

// Once per process: Allegro under SYSTEM_NONE at 32 bits with PNG loading,
// the shipped media tree copied into a temporary directory that becomes the
// working directory (removed again at exit). Later calls do nothing.
void fuzzSetUp();

// Replaces the file at path (relative to the tree) with the bytes given.
void writeInput(const std::string& path, const uint8_t* data, size_t size);

// One Game built from the copied tree, on first use, kept for the process.
Game& fuzzGame();

// A short, fixed piece of play on what the Game holds now: a life start and
// up to `ticks` game ticks with keys held in a fixed pattern. Stops early
// when the life ends. Keys are released again afterwards.
void playBriefly(Game& game, int ticks);

struct ImageFile;

// Pictures the header check accepts may still declare up to 2 GiB of
// pixels; the loader would allocate them before finding the data short.
// That bound is proven by the unit tests, so the targets hand the loader
// only pictures of at most this many bytes and spend their time on
// everything else.
const long long fuzzImageBytes = 16ll << 20;
bool withinFuzzBudget(const ImageFile& header);

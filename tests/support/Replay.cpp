#include "tests/support/Replay.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

std::string staleReplayReason(const Replay& replay) {
  const std::string mismatch = replayMismatch(replay);
  if (mismatch.empty()) return "";
  return mismatch + "; record it again (see tests/replays/README.md).";
}

namespace {

constexpr std::uint64_t keptBits = 0xFFFFFFFFu;
constexpr int ticksPerLine = 8;

HashTrail kept(const HashTrail& played) {
  HashTrail low;
  for (std::uint64_t hash : played) low.push_back(hash & keptBits);
  return low;
}

HashTrail readTrail(const std::string& path) {
  HashTrail trail;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    std::string word;
    while (words >> word) trail.push_back(std::strtoull(word.c_str(), nullptr, 16));
  }
  return trail;
}

bool writeTrail(const std::string& path, const HashTrail& trail) {
  std::ofstream out(path);
  out << "# TickStates::hash after each tick of the recording beside it, its low 32 bits,\n"
         "# eight ticks a line; written by the replay tests (see README.md)\n";
  for (std::size_t t = 0; t < trail.size(); ++t) {
    char word[16];
    std::snprintf(word, sizeof word, "%08" PRIx64, trail[t]);
    out << word << ((t + 1) % ticksPerLine == 0 || t + 1 == trail.size() ? "\n" : " ");
  }
  return static_cast<bool>(out.flush());
}

}  // namespace

std::string hashTrailPath(const std::string& replayPath) {
  return replayPath.substr(0, replayPath.rfind(".replay")) + ".hashes";
}

std::string hashTrailDivergence(const std::string& replayPath, const HashTrail& played) {
  const std::string path = hashTrailPath(replayPath);
  const char* write = std::getenv("PWE_WRITE_HASH_TRAILS");
  if (write != nullptr && std::string(write) == "1") {
    return writeTrail(path, kept(played)) ? "" : "cannot write " + path;
  }
  const HashTrail expected = readTrail(path);
  if (expected.empty()) return path + " holds no trail";
  const int parted = firstDivergence(expected, kept(played));
  if (parted < 0) return "";
  return "the play parts from " + path + " at tick " + std::to_string(parted);
}

#pragma once
// The .anm format: the one description Animation loads by and pwe-check
// checks by.
//   <frame directory>  one word of UTF-8 text, below the .anm's own directory
//   <frame count>      a whole number, minFrames to maxFrames
//   <duration>         one whole number a frame, in file order: the
//                      advances the frame stays on show (any int; below 1
//                      it shows for one)
// Every number must be its whole token: "3.5" and "6x" are no numbers.
// Frame i is the PNG <directory>/<i>.png beside the .anm.
#include <climits>
#include <string>

struct AnimationFormat {
  static constexpr int minFrames = 1;
  // More frames than any figure could use: a file giving a larger count is
  // damaged, and refused before anything is allocated for it.
  static constexpr int maxFrames = 10000;
  static constexpr long long minDuration = INT_MIN;
  static constexpr long long maxDuration = INT_MAX;

  // How the values are named in messages.
  static constexpr const char* directoryWhat = "the frame directory";
  static constexpr const char* countWhat = "the frame count";
  static std::string durationWhat(int frame);

  static bool countAllowed(long long count) { return count >= minFrames && count <= maxFrames; }
  // "frame count 0 is not between 1 and 10000", count as the file holds it.
  static std::string countProblem(const std::string& count);
  // baseDirectory: the .anm's own directory, ending in '/'.
  static std::string framePath(const std::string& baseDirectory, const std::string& directory,
                               int frame);
};

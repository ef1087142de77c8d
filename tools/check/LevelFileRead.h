#pragma once
// Whether a level file reads whole and clean, judged by pwe-check's own
// level reader (tools/check/LevelFileReader) without a media tree: for a
// program that must not take a damaged file for a level, as the game's
// loader does (it loads what it can).
#include <string>
#include <vector>

// What keeps a level file from reading whole and clean, as the checker
// reads it: each problem with its place and the checker's words.
struct LevelReadProblem {
  std::string file;   // the path as given
  int line = 0;       // 1-based; 0 when the problem is the file as a whole
  int column = 0;     // 1-based; 0 likewise
  std::string message;  // the checker's words ("expected a number", ...)
};

// Empty when the file reads whole and clean: every token the level format
// defines, in order, well formed and within the loader's bounds, nothing
// after the last record but white space; no byte-order mark, no NUL byte,
// no number too long for its field. A file that is not a plain file (a
// FIFO, a device, a directory), cannot be opened or is larger than the
// checker's bound gives one problem and is never read (never blocks).
std::vector<LevelReadProblem> levelReadProblems(const std::string& path);

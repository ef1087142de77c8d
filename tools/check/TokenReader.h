#pragma once
// Reading the engine's whitespace-separated text files token by token while
// knowing where each token stands, so that every problem can be reported at
// its line and column and reading can go on after it.
#include <string>
#include <vector>

#include "tools/check/Diagnostics.h"

// A text file held whole, with the positions of its line starts. Only a
// plain file is read, and only up to maxBytes: a FIFO or a device in a
// file's place would block the reading or feed it without end, and a huge
// file would cost its size in memory several times over.
class TextFile {
 public:
  // Far above any file of a tree: a level holding every kind of element at
  // the loader's greatest count, written as the shipped levels are, stays
  // under 3 MiB.
  static constexpr long long maxBytes = 4LL << 20;

  // False when the file is not read (missing, not a plain file, unreadable
  // or larger than maxBytes); problem() then says why.
  bool read(const std::string& path);
  bool missing() const { return missing_; }
  // "is not a plain file (a FIFO, a device or a socket): it is not read"
  const std::string& problem() const { return problem_; }

  const std::string& path() const { return path_; }
  const std::string& text() const { return text_; }
  Position positionOf(size_t offset) const;

 private:
  bool refuse(int error);
  bool readAll(int descriptor);

  std::string path_;
  std::string text_;
  std::vector<size_t> lineStarts_;  // offset of the first character of each line
  bool missing_ = false;
  std::string problem_;
};

// Why the checker leaves the file at path alone, in TextFile's words, or
// empty when it is a plain file: for pictures, sounds and fonts, which the
// engine's loaders open themselves.
std::string plainFileProblem(const std::string& path);

// "is 1073741824 bytes, over the 4 MiB bound on a text file of the tree:
// it is not read", for a file of size bytes (below 0: not known) refused
// by a bound in bytes.
std::string oversizeProblem(long long size, long long bound, const char* kind);

// How the engine reads numbers from a kind of file.
enum class NumberRule {
  // Formatted stream input (level files): a number ends at the first
  // character that cannot continue it, so "2.5" read as an integer gives 2
  // and leaves ".5" for the next read; a failed read stops all later ones.
  Stream,
  // The whole token must be the number (.anm and player.inf): "2.5" is no
  // integer at all.
  WholeToken,
};

// Reads tokens and reports each one the engine would fail on. After a bad
// token the reader skips that whole token and goes on, as if the author
// had fixed it, so one run shows every problem; a value that failed keeps
// the caller's value. Running out of tokens is reported once.
class TokenReader {
 public:
  TokenReader(const TextFile& file, Diagnostics& out, NumberRule rule);

  // Each returns false when the token is missing or malformed (reported).
  // "what" names the value for the messages: "x of tile 3".
  bool readInt(int& value, const std::string& what);
  bool readFloat(float& value, const std::string& what);
  bool readWord(std::string& value, const std::string& what);

  // Where the token read last began; after running out, the end of the
  // last token in the file.
  Position lastPosition() const { return last_; }
  bool ended() const { return ended_; }
  // Reading begins at this offset instead of the file's first byte, past
  // something already reported (a byte-order mark).
  void startAt(size_t offset) { offset_ = offset; }
  // Added to the message when the file ends early, e.g. a reminder of the
  // count that promised more records.
  void setEndNote(const std::string& note) { endNote_ = note; }
  // From now on an integer beyond -limit..limit is reported with the
  // consequence given and counts as not read; a limit of 0 lifts it.
  void setIntLimit(int limit, const std::string& consequence) {
    intLimit_ = limit;
    limitConsequence_ = consequence;
  }
  // Reports the first token left after everything the engine reads.
  void reportTrailing(const std::string& afterWhat);

 private:
  bool nextWord(std::string& word, const std::string& what);
  template <typename Number>
  bool readNumber(Number& value, const std::string& what, const char* kind);

  const TextFile& file_;
  Diagnostics& out_;
  NumberRule rule_;
  size_t offset_ = 0;      // next character to read
  Position last_;
  bool ended_ = false;
  std::string endNote_;
  int intLimit_ = 0;
  std::string limitConsequence_;
};

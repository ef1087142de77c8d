#pragma once
// Reading the engine's whitespace-separated text files token by token while
// knowing where each token stands, so that every problem can be reported at
// its line and column and reading can go on after it.
#include <string>
#include <vector>

#include "tools/check/Diagnostics.h"

// A text file held whole, with the positions of its line starts.
class TextFile {
 public:
  // False when the file cannot be opened or read (missing, a directory).
  bool read(const std::string& path);

  const std::string& path() const { return path_; }
  const std::string& text() const { return text_; }
  Position positionOf(size_t offset) const;

 private:
  std::string path_;
  std::string text_;
  std::vector<size_t> lineStarts_;  // offset of the first character of each line
};

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

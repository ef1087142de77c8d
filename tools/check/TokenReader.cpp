#include "tools/check/TokenReader.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <limits>
#include <sstream>

#include "shell/RegularFile.h"

namespace {

// Closes the descriptor it holds.
struct Descriptor {
  int fd = -1;
  ~Descriptor() {
    if (fd >= 0) close(fd);
  }
};

const char* const notRead = ": it is not read";
const char* const directory = "is a directory, not a plain file: it is not read";
const char* const notPlain = "is not a plain file (a FIFO, a device or a socket): it is not read";

}  // namespace

std::string oversizeProblem(long long size, long long bound, const char* kind) {
  const std::string over = "over the " + std::to_string(bound >> 20) + " MiB bound on " + kind +
                           " of the tree" + notRead;
  return size < 0 ? "is " + over : "is " + std::to_string(size) + " bytes, " + over;
}

bool TextFile::read(const std::string& path) {
  path_ = path;
  text_.clear();
  lineStarts_.assign(1, 0);
  missing_ = false;
  problem_.clear();
  const Descriptor file{openRegularFile(path)};
  if (file.fd < 0) return refuse(errno);
  // The size is judged before a byte is read, so a huge sparse file costs
  // nothing.
  struct stat info {};
  if (fstat(file.fd, &info) == 0 && info.st_size > maxBytes) {
    problem_ = oversizeProblem(info.st_size, maxBytes, "a text file");
    return false;
  }
  if (!readAll(file.fd)) return false;
  for (size_t i = 0; i < text_.size(); ++i) {
    if (text_[i] == '\n') lineStarts_.push_back(i + 1);
  }
  return true;
}

bool TextFile::refuse(int error) {
  missing_ = error == ENOENT || error == ENOTDIR;
  if (missing_) {
    problem_ = "missing";
  } else if (error == EISDIR) {
    problem_ = directory;
  } else if (error == ENXIO) {
    problem_ = notPlain;
  } else {
    problem_ = std::string("cannot be read: ") + std::strerror(error);
  }
  return false;
}

std::string plainFileProblem(const std::string& path) {
  if (isRegularFile(path)) return "";
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return "missing";
  return S_ISDIR(info.st_mode) ? directory : notPlain;
}

// Reads to the end, stopping past maxBytes should the file grow meanwhile.
bool TextFile::readAll(int descriptor) {
  char buffer[65536];
  for (;;) {
    const ssize_t got = ::read(descriptor, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      text_.clear();
      return refuse(errno);
    }
    if (got == 0) return true;
    text_.append(buffer, static_cast<size_t>(got));
    if (static_cast<long long>(text_.size()) > maxBytes) {
      text_.clear();
      problem_ = oversizeProblem(-1, maxBytes, "a text file");
      return false;
    }
  }
}

Position TextFile::positionOf(size_t offset) const {
  // The last line starting at or before the offset.
  auto after = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), offset);
  size_t line = static_cast<size_t>(after - lineStarts_.begin());
  return Position{static_cast<int>(line), static_cast<int>(offset - lineStarts_[line - 1]) + 1};
}

namespace {

bool isSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

// A token quoted in a message: a very long one is cut, so that a file of
// one endless token gives a line of sensible length.
std::string inQuotes(const std::string& word) {
  const size_t shown = 40;
  if (word.size() <= shown) return "'" + word + "'";
  return "'" + word.substr(0, shown) + "...' (" + std::to_string(word.size()) + " bytes)";
}

// What the largest values of a kind of number are, for a token that does
// not fit: "-2147483648 to 2147483647".
template <typename Number>
std::string rangeOf() {
  std::ostringstream range;
  range << std::numeric_limits<Number>::lowest() << " to " << std::numeric_limits<Number>::max();
  return range.str();
}

}  // namespace

TokenReader::TokenReader(const TextFile& file, Diagnostics& out, NumberRule rule)
    : file_(file), out_(out), rule_(rule) {}

bool TokenReader::nextWord(std::string& word, const std::string& what) {
  if (ended_) return false;
  const std::string& text = file_.text();
  size_t start = offset_;
  while (start < text.size() && isSpace(text[start])) ++start;
  if (start >= text.size()) {
    ended_ = true;
    // Point just past the last token, where the missing value belongs.
    size_t end = text.size();
    while (end > 0 && isSpace(text[end - 1])) --end;
    last_ = file_.positionOf(end);
    out_.report(file_.path(), last_, "file ends early: expected " + what + endNote_);
    return false;
  }
  size_t stop = start;
  while (stop < text.size() && !isSpace(text[stop])) ++stop;
  word = text.substr(start, stop - start);
  last_ = file_.positionOf(start);
  offset_ = stop;
  return true;
}

bool TokenReader::readWord(std::string& value, const std::string& what) {
  std::string word;
  if (!nextWord(word, what)) return false;
  value = word;
  return true;
}

template <typename Number>
bool TokenReader::readNumber(Number& value, const std::string& what, const char* kind) {
  std::string word;
  if (!nextWord(word, what)) return false;
  // The engine's own extraction, on the token alone: a number never spans
  // white space, so this reads exactly what the engine's stream would.
  std::istringstream parser(word);
  Number parsed{};
  bool read = static_cast<bool>(parser >> parsed);
  std::string rest;
  if (read && parser.peek() != std::char_traits<char>::eof()) {
    parser.clear();
    rest = word.substr(static_cast<size_t>(parser.tellg()));
  }
  if (read && rest.empty()) {
    value = parsed;
    return true;
  }
  std::string message;
  if (read && rule_ == NumberRule::Stream) {
    std::ostringstream prefix;
    prefix << parsed;
    message = inQuotes(word) + " is not " + kind + " for " + what + ": the engine reads " +
              prefix.str() + " and takes " + inQuotes(rest) + " as the next value";
  } else {
    // A failed extraction leaves 0 for what is no number and the largest
    // value of the type for a number too long for it.
    const bool tooLong = !read && (parsed == std::numeric_limits<Number>::max() ||
                                   parsed == std::numeric_limits<Number>::lowest());
    message = tooLong ? inQuotes(word) + " for " + what + " does not fit " + kind + " (" +
                            rangeOf<Number>() + ")"
                      : "expected " + std::string(kind) + " for " + what + ", found " +
                            inQuotes(word);
    if (rule_ == NumberRule::Stream) message += "; the engine reads nothing after it";
  }
  out_.report(file_.path(), last_, message);
  return false;
}

bool TokenReader::readInt(int& value, const std::string& what) {
  int read = value;
  if (!readNumber(read, what, "an integer")) return false;
  if (intLimit_ > 0 && (read < -intLimit_ || read > intLimit_)) {
    out_.report(file_.path(), last_,
                what + " " + std::to_string(read) + " is outside -" + std::to_string(intLimit_) +
                    " to " + std::to_string(intLimit_) + ": " + limitConsequence_);
    return false;
  }
  value = read;
  return true;
}

bool TokenReader::readFloat(float& value, const std::string& what) {
  return readNumber(value, what, "a number");
}

void TokenReader::reportTrailing(const std::string& afterWhat) {
  if (ended_) return;
  const std::string& text = file_.text();
  size_t start = offset_;
  while (start < text.size() && isSpace(text[start])) ++start;
  if (start >= text.size()) return;
  size_t stop = start;
  while (stop < text.size() && !isSpace(text[stop])) ++stop;
  out_.report(file_.path(), file_.positionOf(start),
              "unexpected " + inQuotes(text.substr(start, stop - start)) + " after " + afterWhat +
                  ": the engine does not read it");
}

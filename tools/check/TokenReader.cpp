#include "tools/check/TokenReader.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

bool TextFile::read(const std::string& path) {
  path_ = path;
  text_.clear();
  // A directory would open as a stream and read as empty.
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in.is_open()) return false;
  text_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  lineStarts_.assign(1, 0);
  for (size_t i = 0; i < text_.size(); ++i) {
    if (text_[i] == '\n') lineStarts_.push_back(i + 1);
  }
  return !in.bad();
}

Position TextFile::positionOf(size_t offset) const {
  // The last line starting at or before the offset.
  auto after = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), offset);
  size_t line = static_cast<size_t>(after - lineStarts_.begin());
  return Position{static_cast<int>(line), static_cast<int>(offset - lineStarts_[line - 1]) + 1};
}

namespace {

bool isSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

std::string inQuotes(const std::string& word) { return "'" + word + "'"; }

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
    message = "expected " + std::string(kind) + " for " + what + ", found " + inQuotes(word);
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

#include "tools/check/LevelProof.h"

#include <cstdlib>

namespace {

// Each finding: its kind ('e' error, 'w' warning, 'n' note), then
// "line column fileLength messageLength\n", then the file and the message;
// a route: 'r', "length\n" and its text; the end: '.'.
char kindOf(const Diagnostic& d) { return d.note ? 'n' : d.warning ? 'w' : 'e'; }

// The number at bytes[at] up to the separator, which is passed.
bool readNumber(const std::string& bytes, std::size_t& at, char separator, long long& number) {
  const std::size_t end = bytes.find(separator, at);
  if (end == std::string::npos || end == at || end - at > 18) return false;
  char* stop = nullptr;
  const std::string digits = bytes.substr(at, end - at);
  number = std::strtoll(digits.c_str(), &stop, 10);
  at = end + 1;
  return *stop == '\0';
}

bool readText(const std::string& bytes, std::size_t& at, long long length, std::string& text) {
  if (length < 0 || static_cast<unsigned long long>(length) > bytes.size() - at) return false;
  text = bytes.substr(at, static_cast<std::size_t>(length));
  at += static_cast<std::size_t>(length);
  return true;
}

bool readFinding(const std::string& bytes, std::size_t& at, char kind, Diagnostics& findings) {
  long long line = 0, column = 0, fileLength = 0, messageLength = 0;
  std::string file, message;
  if (!readNumber(bytes, at, ' ', line) || !readNumber(bytes, at, ' ', column) ||
      !readNumber(bytes, at, ' ', fileLength) || !readNumber(bytes, at, '\n', messageLength) ||
      !readText(bytes, at, fileLength, file) || !readText(bytes, at, messageLength, message)) {
    return false;
  }
  const Position where{static_cast<int>(line), static_cast<int>(column)};
  if (kind == 'n') {
    findings.note(file, where, message);
  } else if (kind == 'w') {
    findings.warn(file, where, message);
  } else {
    findings.report(file, where, message);
  }
  return true;
}

}  // namespace

std::string serialisedProof(const LevelProof& proof) {
  std::string out;
  for (const Diagnostic& d : proof.findings.all()) {
    out += kindOf(d);
    out += std::to_string(d.position.line) + " " + std::to_string(d.position.column) + " " +
           std::to_string(d.file.size()) + " " + std::to_string(d.message.size()) + "\n";
    out += d.file + d.message;
  }
  if (proof.routeFound) {
    out += "r" + std::to_string(proof.route.size()) + "\n";
    out += proof.route;
  }
  out += '.';
  return out;
}

bool readProof(const std::string& bytes, LevelProof& proof) {
  std::size_t at = 0;
  while (at < bytes.size()) {
    const char kind = bytes[at++];
    if (kind == '.') return at == bytes.size();
    if (kind == 'r') {
      long long length = 0;
      if (!readNumber(bytes, at, '\n', length) || !readText(bytes, at, length, proof.route)) {
        return false;
      }
      proof.routeFound = true;
    } else if (kind != 'e' && kind != 'w' && kind != 'n') {
      return false;
    } else if (!readFinding(bytes, at, kind, proof.findings)) {
      return false;
    }
  }
  return false;
}

#pragma once
// Problems found in a media tree, each tied to a place in a file, printed
// one per line as file:line:column: message. Line and column count from 1;
// 0:0 stands for a problem of the file as a whole (a missing sound, an
// empty directory), and a pixel problem of an image gives its row and
// column, also counted from 1.
//
// An error is something the engine refuses or plays plainly wrong; a
// warning is something an author may mean (a huge picture, a lure) and is
// printed as file:line:column: warning: message.
//
// Paths and messages quote what files hold, and a file may hold anything:
// every byte a terminal would not show as itself (control bytes, NUL, ESC,
// DEL, C1 controls, bytes of no well-formed UTF-8 character, characters
// that show as nothing or reorder the line) is kept as \xNN, so no line is
// cut short, turned into a terminal command or made to read otherwise.
#include <cstdio>
#include <string>
#include <vector>

// The bytes as a terminal shows them safely: "a\x1b[2Jb" for a, ESC, [2Jb.
std::string shownSafely(const std::string& bytes);

struct Position {
  int line = 0;    // 1-based; 0 for the whole file
  int column = 0;  // 1-based; 0 for the whole file
};

struct Diagnostic {
  std::string file;     // path as the tree was given, e.g. media/level1.inf
  Position position;
  std::string message;
  bool warning = false;  // may be intended; does not fail the check alone
  bool note = false;     // what was proven, for the author's information
};

class Diagnostics {
 public:
  void report(const std::string& file, Position position, const std::string& message);
  void report(const std::string& file, const std::string& message) {
    report(file, Position{}, message);
  }
  void warn(const std::string& file, Position position, const std::string& message);
  void warn(const std::string& file, const std::string& message) {
    warn(file, Position{}, message);
  }

  // Printed as file:line:column: note: message; never fails the check.
  void note(const std::string& file, Position position, const std::string& message);
  // Adds what another list holds, after what this one holds.
  void append(const Diagnostics& more) {
    list_.insert(list_.end(), more.list_.begin(), more.list_.end());
  }
  bool empty() const { return list_.empty(); }
  int errorCount() const;
  int warningCount() const;
  const std::vector<Diagnostic>& all() const { return list_; }
  void print(std::FILE* out) const;

 private:
  std::vector<Diagnostic> list_;
};

#pragma once
// What the status bar says: the first line the cursor, the tool and its
// look, the file and the count of problems; the second line a notice (saved,
// recovered, the play-test's end) or one of the live checks' messages,
// which N steps through.
#include <string>
#include <vector>

struct StatusFacts {
  bool inLevel = false;   // the cursor is over the game area
  int x = 0;              // cursor, screen pixels
  int y = 0;
  std::string tool;       // "tile", "player start"
  std::string look;       // image or kind name; empty for the start
  bool snapping = true;
  std::string file;       // bare file name; empty for a level never saved
  bool modified = false;
  bool checking = false;  // the live checks have not caught up with the level
  int errors = 0;
  int warnings = 0;
};

std::string statusLine(const StatusFacts& facts);

// The messages of the live checks, one on show at a time.
class MessageCycle {
 public:
  // New findings: the cycle starts again at the first when they differ
  // from the ones shown, and keeps its place when they are the same.
  void setMessages(const std::vector<std::string>& messages);
  void next();  // wraps round
  int current() const { return messages_.empty() ? -1 : at_; }  // index, or -1
  // "2/5 error: ..." for the message on show; empty when there is none.
  std::string line() const;

 private:
  std::vector<std::string> messages_;
  int at_ = 0;
};

#pragma once
// What the status bar says: the first line the cursor, the tool and its
// look, the file and the count of problems; below it a notice (saved,
// recovered, the play-test's end) or one of the live checks' messages,
// which N steps through. Every line is wrapped to the window's width, and
// a message longer than the bar has room for scrolls through it.
#include <string>
#include <vector>

#include "authoring/LevelReport.h"
#include "game/LevelData.h"

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
  bool proving = false;   // they have, but the proof with the enemies is still going
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

// Words into lines no wider than width pixels of Allegro's font; a word
// wider than a line is broken, so no text is ever cut off.
std::vector<std::string> wrapText(const std::string& text, int width);

// A message's lines shown in rows lines at a given moment: all of them
// when they fit, else rows of them at a time, moving on by a line every
// scrollMilliseconds and round again from the top.
constexpr int scrollMilliseconds = 1500;
std::vector<std::string> visibleLines(const std::vector<std::string>& lines, int rows,
                                      int milliseconds);

// One message of the status bar: a finding, or a row of findings alike
// (one problem, elements of one kind, the same words save where each
// element is), with the findings it stands for, all of them marked.
struct StatusMessage {
  std::string text;           // "error: ..." or "warning: ..."
  std::vector<int> findings;  // indices into the findings given
};

std::vector<StatusMessage> groupFindings(const std::vector<ReportFinding>& findings,
                                         const LevelData& level);

// What N steps through: every group's message, then what the proof with
// the enemies established, as pwe-check notes it ("note: ..."), when it
// did.
std::vector<std::string> cycledMessages(const std::vector<StatusMessage>& groups,
                                        const std::string& clearedNote);

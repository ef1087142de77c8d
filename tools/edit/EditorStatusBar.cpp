#include "tools/edit/EditorStatusBar.h"

namespace {

std::string counted(int count, const char* what) {
  return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

}  // namespace

std::string statusLine(const StatusFacts& facts) {
  std::string line = facts.inLevel
                         ? std::to_string(facts.x) + "," + std::to_string(facts.y)
                         : std::string("-,-");
  line += "  " + facts.tool;
  if (!facts.look.empty()) line += ": " + facts.look;
  if (!facts.snapping) line += " (free)";
  line += "  " + (facts.file.empty() ? std::string("(new level)") : facts.file);
  if (facts.modified) line += " *";
  line += "  " + counted(facts.errors, "error") + ", " + counted(facts.warnings, "warning");
  if (facts.checking) line += " ...";
  return line;
}

void MessageCycle::setMessages(const std::vector<std::string>& messages) {
  if (messages == messages_) return;
  messages_ = messages;
  at_ = 0;
}

void MessageCycle::next() {
  if (messages_.empty()) return;
  at_ = (at_ + 1) % static_cast<int>(messages_.size());
}

std::string MessageCycle::line() const {
  if (messages_.empty()) return "";
  return std::to_string(at_ + 1) + "/" + std::to_string(messages_.size()) + " " +
         messages_[at_];
}

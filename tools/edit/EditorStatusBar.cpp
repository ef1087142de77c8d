#include "tools/edit/EditorStatusBar.h"

#include <allegro.h>

#include "game/LevelFields.h"

namespace {

int widthOf(const std::string& text) { return text_length(font, text.c_str()); }

// The longest start of word that fits the width (one character at least).
std::size_t fittingPart(const std::string& word, int width) {
  std::size_t n = 1;
  while (n < word.size() && widthOf(word.substr(0, n + 1)) <= width) ++n;
  return n;
}

// Where a finding's element is, as the checks' messages write it
// ("tile at 96, 200"); empty for a finding about no one element.
template <typename Record>
std::string placeIn(const std::vector<Record>& list, int index) {
  if (index < 0 || index >= static_cast<int>(list.size())) return std::string();
  return " at " + std::to_string(list[index].x) + ", " + std::to_string(list[index].y);
}

struct KindWords {
  std::string place;   // " at X, Y", or empty
  const char* one = "";
  const char* many = "";
};

template <typename Record>
KindWords wordsOf(const std::vector<Record>& list, int index) {
  const ElementKindFacts& kind = LevelFields<Record>::facts;
  return KindWords{placeIn(list, index), kind.word, kind.words};
}

KindWords kindWords(const ReportFinding& finding, const LevelData& level) {
  if (finding.element != LayoutElement::Record) return KindWords{};
  return visitRecordList(level, finding.kind,
                         [&](const auto& list, auto) { return wordsOf(list, finding.index); });
}

// Findings alike share this: their kind of element, severity and words,
// with the element's own place taken out.
std::string likeness(const ReportFinding& finding, const KindWords& words) {
  std::string message = finding.message;
  const std::size_t at = words.place.empty() ? std::string::npos : message.find(words.place);
  if (at != std::string::npos) message.erase(at, words.place.size());
  return std::to_string(static_cast<int>(finding.element)) + "." +
         std::to_string(kindIndex(finding.kind)) + (finding.warning ? "w" : "e") +
         (finding.unreachable ? "u" : "r") + (at != std::string::npos ? "p" : "n") + message;
}

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
  if (facts.proving && !facts.checking) line += ", proving with enemies...";
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

std::vector<std::string> wrapText(const std::string& text, int width) {
  std::vector<std::string> lines;
  std::string line;
  std::size_t i = 0;
  while (i < text.size()) {
    // A word and the spaces before it, which are kept within a line.
    const std::size_t gapStart = i;
    while (i < text.size() && text[i] == ' ') ++i;
    const std::string gap = text.substr(gapStart, i - gapStart);
    const std::size_t wordStart = i;
    while (i < text.size() && text[i] != ' ') ++i;
    std::string word = text.substr(wordStart, i - wordStart);
    if (word.empty()) break;
    const std::string longer = line.empty() ? word : line + gap + word;
    if (widthOf(longer) <= width) {
      line = longer;
      continue;
    }
    if (!line.empty()) lines.push_back(line);
    while (widthOf(word) > width) {
      const std::size_t part = fittingPart(word, width);
      lines.push_back(word.substr(0, part));
      word.erase(0, part);
    }
    line = word;
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

std::vector<std::string> visibleLines(const std::vector<std::string>& lines, int rows,
                                      int milliseconds) {
  const int count = static_cast<int>(lines.size());
  if (count <= rows) return lines;
  // Every start from the top to the one that shows the last line.
  const int starts = count - rows + 1;
  const int first = milliseconds / scrollMilliseconds % starts;
  return std::vector<std::string>(lines.begin() + first, lines.begin() + first + rows);
}

std::vector<StatusMessage> groupFindings(const std::vector<ReportFinding>& findings,
                                         const LevelData& level) {
  std::vector<StatusMessage> messages;
  std::vector<std::string> keys;
  std::vector<KindWords> kinds;
  for (int i = 0; i < static_cast<int>(findings.size()); ++i) {
    const KindWords words = kindWords(findings[i], level);
    const std::string key = likeness(findings[i], words);
    std::size_t group = 0;
    while (group < keys.size() && keys[group] != key) ++group;
    if (group == keys.size()) {
      keys.push_back(key);
      kinds.push_back(words);
      messages.push_back(StatusMessage{
          (findings[i].warning ? "warning: " : "error: ") + findings[i].message, {}});
    }
    messages[group].findings.push_back(i);
  }
  for (std::size_t group = 0; group < messages.size(); ++group) {
    const int more = static_cast<int>(messages[group].findings.size()) - 1;
    if (more == 0) continue;
    const std::string kind = more == 1 ? kinds[group].one : kinds[group].many;
    messages[group].text += " (and " + std::to_string(more) + " more" +
                            (kind.empty() ? "" : " " + kind) + " like it)";
  }
  return messages;
}

std::vector<std::string> cycledMessages(const std::vector<StatusMessage>& groups,
                                        const std::string& clearedNote) {
  std::vector<std::string> texts;
  for (const StatusMessage& message : groups) texts.push_back(message.text);
  if (!clearedNote.empty()) texts.push_back("note: " + clearedNote);
  return texts;
}

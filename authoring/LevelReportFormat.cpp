// A report as bytes: a header that gives the body's length,
//   pwe-report <length>\n
// then the body, its records in this order, every text framed by its
// length and ended by a line end:
//   stages <reached> <stopped in>\n
//   seconds <microseconds of each stage, four>\n
//   par <cleared ticks> <par ticks>\n
//   moments <presses> <measured> <passes measured>\n
//   windows <count>\n and each: <tick> <keys> <digit> <sooner> <later> <open> <x> <y>\n
//   passes <count>\n and each: <enemy> <pixels> <tick> <x> <y>\n
//   stop <length>\n<text>\n
//   layout <count>\n and each finding, then verdict <count>\n and each:
//     <element> <kind> <index> <other> <flags: 1 warning, 2 unreachable, 4 note> <length>\n
//     <message>\n
//   route <writable> <in time> <length>\n<the route as a recording>\n
//   noroute <length>\n<text>\n
//   end\n
// The route crosses only when it is writable, in the recordings' own
// format (game/ReplayFile.h). Anything else, a number out of its range, a
// length past the body, more windows or passes than a report carries
// (maxHardWindows + 1, an enemy's bound) or bytes after "end", is no report.
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "authoring/LevelReport.h"

namespace {

const char header[] = "pwe-report ";
constexpr std::size_t headerLength = sizeof header - 1;
constexpr std::size_t longestNumber = 18;

std::string sized(const std::string& text) {
  return std::to_string(text.size()) + "\n" + text + "\n";
}

std::string findingBytes(const ReportFinding& f) {
  const int flags = (f.warning ? 1 : 0) | (f.unreachable ? 2 : 0) | (f.note ? 4 : 0);
  return std::to_string(static_cast<int>(f.element)) + " " + std::to_string(kindIndex(f.kind)) +
         " " + std::to_string(f.index) + " " +
         std::to_string(f.other) + " " + std::to_string(flags) + " " + sized(f.message);
}

std::string listBytes(const char* word, const std::vector<ReportFinding>& findings) {
  std::string out = std::string(word) + " " + std::to_string(findings.size()) + "\n";
  for (const ReportFinding& f : findings) out += findingBytes(f);
  return out;
}

std::string momentsBytes(const RouteMoments& m) {
  std::string out = "moments " + std::to_string(m.presses) + " " + std::to_string(m.measured) +
                    " " + std::to_string(m.passesMeasured ? 1 : 0) + "\nwindows " +
                    std::to_string(m.windows.size()) + "\n";
  for (const PressWindow& w : m.windows) {
    for (int n : {w.tick, int(w.keys.keys), int(w.keys.digit), w.sooner, w.later, int(w.open), w.x}) {
      out += std::to_string(n) + " ";
    }
    out += std::to_string(w.y) + "\n";
  }
  out += "passes " + std::to_string(m.passes.size()) + "\n";
  for (const EnemyPass& p : m.passes) {
    out += std::to_string(p.enemy) + " " + std::to_string(p.pixels) + " " +
           std::to_string(p.tick) + " " + std::to_string(p.x) + " " + std::to_string(p.y) + "\n";
  }
  return out;
}

std::string bodyOf(const LevelReport& report) {
  std::string out = "stages " + std::to_string(static_cast<int>(report.reached)) + " " +
                    std::to_string(static_cast<int>(report.stoppedIn)) + "\nseconds";
  for (double seconds : report.seconds) out += " " + std::to_string(std::llround(seconds * 1e6));
  out += "\npar " + std::to_string(report.clearedTicks) + " " + std::to_string(report.parTicks);
  out += "\n" + momentsBytes(report.moments) + "stop " + sized(report.stop);
  out += listBytes("layout", report.layout) + listBytes("verdict", report.verdict);
  const std::string route = report.routeWritable ? replayText(report.route) : "";
  out += "route " + std::to_string(report.routeWritable ? 1 : 0) + " " +
         std::to_string(report.routeInTime ? 1 : 0) + " " + sized(route);
  out += "noroute " + sized(report.noRoute) + "end\n";
  return out;
}

// Reads the body's records in turn; the first that is not as written
// fails the whole.
class BodyReader {
 public:
  explicit BodyReader(const std::string& body) : body_(body) {}

  bool word(const char* expected, char separator = ' ') {
    const std::string w = expected + std::string(1, separator);
    if (body_.compare(at_, w.size(), w) != 0) return false;
    at_ += w.size();
    return true;
  }
  // A whole number from low to high, then the separator.
  bool number(long long low, long long high, char separator, long long& out) {
    const std::size_t end = body_.find(separator, at_);
    if (end == std::string::npos || end == at_ || end - at_ > longestNumber) return false;
    const std::string digits = body_.substr(at_, end - at_);
    if (digits.find_first_not_of("-0123456789") != std::string::npos) return false;
    char* stop = nullptr;
    errno = 0;
    out = std::strtoll(digits.c_str(), &stop, 10);
    at_ = end + 1;
    return *stop == '\0' && errno == 0 && out >= low && out <= high;
  }
  bool integer(long long low, long long high, char separator, int& out) {
    long long n = 0;
    if (!number(low, high, separator, n)) return false;
    out = static_cast<int>(n);
    return true;
  }
  bool flag(char separator, bool& out) {
    int n = 0;
    if (!integer(0, 1, separator, n)) return false;
    out = n == 1;
    return true;
  }
  // A length, its text and the line end after it.
  bool text(std::string& out) {
    long long length = 0;
    if (!number(0, static_cast<long long>(body_.size() - at_), '\n', length)) return false;
    const std::size_t n = static_cast<std::size_t>(length);
    if (body_.size() - at_ < n + 1 || body_[at_ + n] != '\n') return false;
    out = body_.substr(at_, n);
    at_ += n + 1;
    return true;
  }
  bool finished() const { return at_ == body_.size(); }

 private:
  const std::string& body_;
  std::size_t at_ = 0;
};

bool readStage(BodyReader& in, char separator, ReportStage& stage) {
  int n = 0;
  if (!in.integer(0, reportStageCount - 1, separator, n)) return false;
  stage = static_cast<ReportStage>(n);
  return true;
}

bool readFinding(BodyReader& in, ReportFinding& f) {
  int element = 0, kind = 0, flags = 0;
  if (!in.integer(0, static_cast<int>(LayoutElement::Level), ' ', element) ||
      !in.integer(0, elementKindCount - 1, ' ', kind) || !in.integer(-1, INT_MAX, ' ', f.index) || !in.integer(-1, INT_MAX, ' ', f.other) ||
      !in.integer(0, 7, ' ', flags) || !in.text(f.message)) {
    return false;
  }
  f.element = static_cast<LayoutElement>(element);
  f.kind = elementKinds[kind].kind;
  f.warning = (flags & 1) != 0;
  f.unreachable = (flags & 2) != 0;
  f.note = (flags & 4) != 0;
  return true;
}

bool readList(BodyReader& in, const char* word, std::vector<ReportFinding>& findings) {
  long long count = 0;
  if (!in.word(word) || !in.number(0, static_cast<long long>(maxReportBytes), '\n', count)) {
    return false;
  }
  for (long long i = 0; i < count; ++i) {
    ReportFinding f;
    if (!readFinding(in, f)) return false;
    findings.push_back(std::move(f));
  }
  return true;
}

bool readWindow(BodyReader& in, PressWindow& w) {
  int keys = 0, digit = 0;
  if (!in.integer(0, INT_MAX, ' ', w.tick) || !in.integer(0, UINT8_MAX, ' ', keys) ||
      !in.integer(0, UINT8_MAX, ' ', digit) || !in.integer(0, windowReach, ' ', w.sooner) ||
      !in.integer(0, windowReach, ' ', w.later) || !in.flag(' ', w.open) ||
      !in.integer(INT_MIN, INT_MAX, ' ', w.x) || !in.integer(INT_MIN, INT_MAX, '\n', w.y)) {
    return false;
  }
  w.keys.keys = static_cast<std::uint8_t>(keys);
  w.keys.digit = static_cast<std::uint8_t>(digit);
  return true;
}

bool readPass(BodyReader& in, EnemyPass& p) {
  return in.integer(0, kindFacts(ElementKind::Enemy).bound - 1, ' ', p.enemy) &&
         in.integer(0, INT_MAX, ' ', p.pixels) && in.integer(0, INT_MAX, ' ', p.tick) &&
         in.integer(INT_MIN, INT_MAX, ' ', p.x) && in.integer(INT_MIN, INT_MAX, '\n', p.y);
}

// A count no more than bound, then so many records each read by read.
template <typename Record, typename Read>
bool readRecords(BodyReader& in, const char* word, long long bound, std::vector<Record>& out,
                 Read read) {
  long long count = 0;
  if (!in.word(word) || !in.number(0, bound, '\n', count)) return false;
  out.resize(static_cast<std::size_t>(count));
  for (Record& record : out) {
    if (!read(in, record)) return false;
  }
  return true;
}

bool readMoments(BodyReader& in, RouteMoments& m) {
  long long presses = 0, measured = 0;
  if (!in.word("moments") || !in.number(0, INT_MAX, ' ', presses) ||
      !in.number(0, presses, ' ', measured) || !in.flag('\n', m.passesMeasured)) {
    return false;
  }
  m.presses = static_cast<std::size_t>(presses);
  m.measured = static_cast<std::size_t>(measured);
  return readRecords(in, "windows", static_cast<long long>(maxHardWindows) + 1, m.windows,
                     readWindow) &&
         readRecords(in, "passes", kindFacts(ElementKind::Enemy).bound, m.passes, readPass);
}

bool readRoute(BodyReader& in, LevelReport& report) {
  std::string text, error;
  if (!in.word("route") || !in.flag(' ', report.routeWritable) ||
      !in.flag(' ', report.routeInTime) || !in.text(text)) {
    return false;
  }
  if (!report.routeWritable) return text.empty();
  return readReplayText(text, "the route", report.route, error);
}

bool readBody(const std::string& body, LevelReport& report) {
  BodyReader in(body);
  long long micro = 0;
  if (!in.word("stages") || !readStage(in, ' ', report.reached) ||
      !readStage(in, '\n', report.stoppedIn) || !in.word("seconds")) {
    return false;
  }
  for (int i = 0; i < reportStageCount; ++i) {
    if (!in.number(0, 1000000000000000LL, i + 1 < reportStageCount ? ' ' : '\n', micro)) {
      return false;
    }
    report.seconds[i] = static_cast<double>(micro) / 1e6;
  }
  return in.word("par") && in.integer(0, INT_MAX, ' ', report.clearedTicks) &&
         in.integer(-1, INT_MAX, '\n', report.parTicks) && readMoments(in, report.moments) &&
         in.word("stop") &&
         in.text(report.stop) && readList(in, "layout", report.layout) &&
         readList(in, "verdict", report.verdict) && readRoute(in, report) &&
         in.word("noroute") && in.text(report.noRoute) && in.word("end", '\n') && in.finished();
}

}  // namespace

std::string reportBytes(const LevelReport& report) {
  const std::string body = bodyOf(report);
  return header + std::to_string(body.size()) + "\n" + body;
}

ReportRead takeReport(std::string& bytes, LevelReport& report) {
  const std::size_t given = std::min(bytes.size(), headerLength);
  if (bytes.compare(0, given, header, given) != 0) return ReportRead::Damaged;
  const std::size_t lineEnd = bytes.find('\n', headerLength);
  if (lineEnd == std::string::npos) {
    const bool mayGrow = bytes.size() <= headerLength + longestNumber &&
                         bytes.find_first_not_of("0123456789", given) == std::string::npos;
    return mayGrow ? ReportRead::Partial : ReportRead::Damaged;
  }
  const std::string digits = bytes.substr(headerLength, lineEnd - headerLength);
  if (digits.empty() || digits.size() > longestNumber ||
      digits.find_first_not_of("0123456789") != std::string::npos) {
    return ReportRead::Damaged;
  }
  const unsigned long long length = std::strtoull(digits.c_str(), nullptr, 10);
  if (length > maxReportBytes) return ReportRead::Damaged;
  if (bytes.size() - lineEnd - 1 < length) return ReportRead::Partial;
  LevelReport read;
  if (!readBody(bytes.substr(lineEnd + 1, static_cast<std::size_t>(length)), read)) {
    return ReportRead::Damaged;
  }
  report = std::move(read);
  bytes.erase(0, lineEnd + 1 + static_cast<std::size_t>(length));
  return ReportRead::Whole;
}

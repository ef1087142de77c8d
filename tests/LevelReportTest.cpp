// A level's report: pwe-check and the editor's live checks tell the same
// findings of the same level, both through it, and the report crosses a
// pipe whole, or is known to be cut or damaged.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "authoring/LevelReport.h"
#include "tests/support/CheckerRun.h"
#include "tests/support/GameTree.h"
#include "tests/support/LevelText.h"
#include "tools/edit/LiveChecks.h"

namespace {

// What a tool tells of one finding: its severity, words, and whether it is
// about the level as a whole or one place in it.
struct Told {
  char severity = 'e';  // e error, w warning, n note
  std::string message;
  bool whole = false;
  bool operator==(const Told& o) const {
    return severity == o.severity && message == o.message && whole == o.whole;
  }
};

void PrintTo(const Told& t, std::ostream* out) {
  *out << t.severity << (t.whole ? " whole " : " at ") << t.message;
}

bool startsWith(const std::string& text, const std::string& start) {
  return text.rfind(start, 0) == 0;
}

// pwe-check's lines of media/level1.inf, as "file:line:column: [warning: |
// note: ]message[ (at line:column)]", the other element's place left out.
std::vector<Told> checkerTold() {
  const CheckRun run = runChecker("media/level1.inf");
  std::vector<Told> told;
  std::istringstream lines(run.output);
  const std::string file = "media/level1.inf:";
  for (std::string line; std::getline(lines, line);) {
    if (!startsWith(line, file)) continue;
    const std::size_t text = line.find(": ", file.size());
    Told t;
    t.whole = line.compare(file.size(), text - file.size(), "0:0") == 0;
    t.message = line.substr(text + 2);
    for (const auto& [prefix, severity] : {std::pair{"warning: ", 'w'}, {"note: ", 'n'}}) {
      if (!startsWith(t.message, prefix)) continue;
      t.severity = severity;
      t.message.erase(0, std::string(prefix).size());
    }
    const std::size_t other = t.message.rfind(" (at ");
    if (other != std::string::npos && t.message.back() == ')') t.message.erase(other);
    told.push_back(t);
  }
  return told;
}

std::vector<Told> editorTold(const LevelData& level) {
  LiveChecks checks(640, 480, 100);
  checks.start(level, 1);
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (checks.running() && std::chrono::steady_clock::now() < until) {
    if (!checks.poll()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  EXPECT_FALSE(checks.running());
  std::vector<Told> told;
  for (const ReportFinding& f : checks.findings()) {
    told.push_back(Told{f.warning ? 'w' : 'e', f.message, f.element == LayoutElement::Level});
  }
  if (!checks.clearedNote().empty()) told.push_back(Told{'n', checks.clearedNote(), true});
  return told;
}

LevelText floorLevel() {
  LevelText level;
  for (int x = 0; x < 640; x += GameTree::tileWidth) {
    level.tiles.push_back(std::to_string(x) + " 300 brick brick_clear 1 10");
  }
  return level;
}

TEST(LevelReport, BothToolsTellTheSameFindingsOfALevel) {
  struct Case {
    const char* what;
    LevelText level;
    Told shown;  // one of the findings, so that neither list is empty or alike by chance
  };
  LevelText ladder = floorLevel();
  ladder.ladders = {"200 150 64 rungs"};
  LevelText high = floorLevel();
  high.tiles.push_back("400 100 brick brick_clear 1 10");
  high.items = {"300 150 gem 5"};
  // A claimable tile only a ladder leads to, a guard standing at its foot.
  LevelText guarded;
  for (int x = 0; x < 320; x += GameTree::tileWidth) {
    guarded.tiles.push_back(std::to_string(x) + " 300 brick brick_clear 0 0");
  }
  guarded.tiles.push_back("192 236 brick brick_clear 1 10");
  guarded.ladders = {"200 236 64 rungs"};
  guarded.enemies = {"208 299 0 208 208 0 0 0 blob 300 50"};
  LevelText patrolled = floorLevel();
  patrolled.enemies = {"200 299 1 50 500 1.5 1 0 blob 300 50"};
  const std::vector<Case> cases = {
      {"a plain floor", floorLevel(),
       {'n', "the level can be cleared with its enemies in ", true}},
      {"a ladder in the air", ladder, {'e', "ladder at 200, 150: ", false}},
      {"a tile and an item out of reach", high,
       {'e', "the level cannot be cleared: 1 claimable tile cannot be reached", true}},
      {"a guard no one passes", guarded,
       {'w', "no route found clears the level with its enemies", false}},
      {"a patrol passed", patrolled, {'n', "the level can be cleared with its enemies", true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    GameTree tree;
    set_config_file("media/pwe.cfg");
    tree.writeLevel("level1.inf", c.level.str());
    LevelData level;
    level.load("level1.inf");
    std::vector<Told> checker = checkerTold();
    // The editor shows the proof's note on its status line, apart from
    // the findings it marks.
    std::stable_partition(checker.begin(), checker.end(),
                          [](const Told& t) { return t.severity != 'n'; });
    EXPECT_EQ(editorTold(level), checker);
    bool shown = false;
    for (const Told& t : checker) {
      shown |= t.severity == c.shown.severity && t.whole == c.shown.whole &&
               startsWith(t.message, c.shown.message);
    }
    EXPECT_TRUE(shown) << testing::PrintToString(checker);
  }
}

// A report of every kind of field: findings of each severity whose words
// look like the framing, a route, a stop, par and timings.
LevelReport fullReport() {
  LevelReport report;
  report.reached = ReportStage::Proof;
  report.layout.push_back(ReportFinding{LayoutElement::Record, ElementKind::Ladder, 2, 0, false,
                                        false, false, "ladder at 1, 2:\n3 4 5 6 7\nend\n"});
  report.layout.push_back(
      ReportFinding{LayoutElement::Tiles, ElementKind::Tile, 0, -1, true, false, false, ""});
  report.verdict.push_back(ReportFinding{LayoutElement::Record, ElementKind::Tile, 20, -1, false,
                                         true, false, "claimable tile at 400, 100"});
  report.verdict.push_back(ReportFinding{LayoutElement::Level, ElementKind::Tile, -1, -1, false,
                                         false, true, "verdict 9\nroute 1 1 0"});
  report.route.level = "level 1.inf";
  report.route.levelHash = "0123456789abcdef";
  report.route.playerHash = "fedcba9876543210";
  report.route.expectScore = 230;
  report.route.runs = {ReplayRun{40, "R"}, ReplayRun{1, "RJ"}, ReplayRun{3, "-"}};
  report.routeWritable = true;
  report.routeInTime = true;
  report.noRoute = "noroute 3\nabc\n";
  report.clearedTicks = 2520;
  report.parTicks = 1220;
  report.seconds[1] = 0.25;
  report.seconds[3] = 12.5;
  report.moments.presses = 9;
  report.moments.measured = 7;
  report.moments.passesMeasured = true;
  report.moments.windows = {PressWindow{88, TickInput{5, 0}, 1, 0, false, 140, 299},
                            PressWindow{412, TickInput{8, 3}, windowReach, 2, true, -3, 17}};
  report.moments.passes = {EnemyPass{0, 0, 1460, 300, 223}, EnemyPass{3, 12, 90, 20, -5}};
  return report;
}

LevelReport stoppedReport() {
  LevelReport report;
  report.reached = ReportStage::Layout;
  report.stop = "No graphics to correspond with name\nruby";
  report.stoppedIn = ReportStage::Search;
  report.route.runs = {ReplayRun{5, "L"}};  // not writable: not carried
  return report;
}

// Each number of the moments, the counts first, then a row a window and a pass.
std::vector<std::vector<int>> momentRows(const RouteMoments& m) {
  std::vector<std::vector<int>> rows = {
      {int(m.presses), int(m.measured), int(m.passesMeasured)}};
  for (const PressWindow& w : m.windows) {
    rows.push_back({w.tick, w.keys.keys, w.keys.digit, w.sooner, w.later, w.open, w.x, w.y});
  }
  for (const EnemyPass& p : m.passes) rows.push_back({p.enemy, p.pixels, p.tick, p.x, p.y});
  return rows;
}

// Whatever the bytes hold is read back as it was sent, to the byte; and
// they do hold the findings, the route, the stop, par, moments and timings.
void expectSame(const LevelReport& got, const LevelReport& sent) {
  EXPECT_EQ(reportBytes(got), reportBytes(sent));
  auto words = [](const LevelReport& r) {
    std::vector<std::string> all;
    for (const auto* list : {&r.layout, &r.verdict}) {
      for (const ReportFinding& f : *list) all.push_back(f.message);
    }
    return all;
  };
  EXPECT_EQ(words(got), words(sent));
  EXPECT_EQ(replayText(got.route), replayText(sent.routeWritable ? sent.route : Replay()));
  EXPECT_EQ(got.stop, sent.stop);
  EXPECT_EQ(got.parTicks, sent.parTicks);
  EXPECT_EQ(momentRows(got.moments), momentRows(sent.moments));
  EXPECT_DOUBLE_EQ(got.seconds[3], sent.seconds[3]);
}

TEST(LevelReport, CrossesWholeOrIsKnownCut) {
  for (const LevelReport& sent : {LevelReport(), fullReport(), stoppedReport()}) {
    const std::string bytes = reportBytes(sent);
    // Two in a row, as the editor's child sends them.
    std::string stream = bytes + bytes;
    for (int copy = 0; copy < 2; ++copy) {
      LevelReport got;
      ASSERT_EQ(takeReport(stream, got), ReportRead::Whole);
      expectSame(got, sent);
    }
    EXPECT_TRUE(stream.empty());
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
      std::string part = bytes.substr(0, cut);
      LevelReport got;
      ASSERT_EQ(takeReport(part, got), ReportRead::Partial) << "cut at " << cut;
      EXPECT_EQ(part.size(), cut);
    }
  }
}

// The full report's first finding as written, element and kind first.
std::string ladderFinding(int element, int index, int flags,
                          int kind = kindIndex(ElementKind::Ladder)) {
  return std::to_string(element) + " " + std::to_string(kind) + " " + std::to_string(index) +
         " 0 " + std::to_string(flags);
}
const int ladder = static_cast<int>(LayoutElement::Record);

// The full report's body with one part changed, framed anew.
std::string changed(const std::string& from, const std::string& to) {
  const std::string bytes = reportBytes(fullReport());
  std::string body = bytes.substr(bytes.find('\n') + 1);
  const std::size_t at = body.rfind(from);  // the framing, after any words like it
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) body.replace(at, from.size(), to);
  return "pwe-report " + std::to_string(body.size()) + "\n" + body;
}

TEST(LevelReport, RefusesDamagedBytes) {
  const struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"another header", "pwe-record 12\n"},
      {"a length past the bound", "pwe-report " + std::to_string(maxReportBytes + 1) + "\n"},
      {"a length of no digits", "pwe-report 1x\n"},
      {"a header that never ends", "pwe-report 1234567890123456789"},
      {"a stage past the last", changed("stages 3 0", "stages 4 0")},
      {"a negative count", changed("layout 2", "layout -2")},
      {"more findings than given", changed("verdict 2", "verdict 3")},
      {"an element past the last", changed(ladderFinding(ladder, 2, 0),
                                           ladderFinding(int(LayoutElement::Level) + 1, 2, 0))},
      {"a kind past the last", changed(ladderFinding(ladder, 2, 0),
                                       ladderFinding(ladder, 2, 0, elementKindCount))},
      {"flags past the three", changed(ladderFinding(ladder, 2, 0), ladderFinding(ladder, 2, 8))},
      {"an index below -1", changed(ladderFinding(ladder, 2, 0), ladderFinding(ladder, -2, 0))},
      {"a text longer than given", changed("stop 0\n\n", "stop 0\nx\n")},
      {"a route that is no recording", changed("pwe-replay 1", "pwe-replay 2")},
      {"a route not writable but carried", changed("route 1 1", "route 0 1")},
      {"bytes after the end", changed("end\n", "end\nend\n")},
      {"a number too long", changed("par 2520", "par 0000000000000000002520")},
      {"more measured than pressed", changed("moments 9 7", "moments 9 10")},
      {"more windows than a report carries",
       changed("windows 2", "windows " + std::to_string(maxHardWindows + 2))},
      {"more windows than given", changed("windows 2", "windows 3")},
      {"a window wider than tried", changed("412 8 3 " + std::to_string(windowReach),
                                            "412 8 3 " + std::to_string(windowReach + 1))},
      {"keys past a byte", changed("412 8 3", "412 256 3")},
      {"a pass of an enemy past the bound",
       changed("3 12 90", std::to_string(LevelData::maxElementCount) + " 12 90")},
      {"more passes than given", changed("passes 2", "passes 3")},
      {"a pass at a negative distance", changed("3 12 90", "3 -12 90")},
  };
  for (const auto& c : cases) {
    std::string bytes = c.bytes;
    LevelReport got;
    EXPECT_EQ(takeReport(bytes, got), ReportRead::Damaged) << c.what;
    EXPECT_EQ(bytes, c.bytes) << c.what;
  }
}

}  // namespace

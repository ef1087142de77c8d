// The checker's level reader as a program opening a level asks it: hostile
// files give each problem at its place in the checker's words, clean ones
// none, and what is not a plain file is refused at once without reading.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "game/LevelData.h"
#include "game/LevelFormat.h"
#include "tests/support/CaseName.h"
#include "tests/support/Headless.h"
#include "tools/check/Diagnostics.h"
#include "tools/check/LevelFileRead.h"

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

// One line per header row, count or record, so places read off easily.
const std::vector<std::string> level = {
    "3000",                                  // 1
    "10 10 0",                               // 2
    "400 10 0",                              // 3
    "10 5",                                  // 4
    "100 299 1",                             // 5
    "2",                                     // 6 tiles
    "0 300 floor floor_clear 1 10",          // 7
    "192 236 brick brick_clear 1 10",        // 8
    "1",                                     // 9 ladders
    "200 236 64 rungs",                      // 10
    "1",                                     // 11 chutes
    "224 236 64 16 1 step",                  // 12
    "1",                                     // 13 enemies
    "100 299 1 50 200 1.5 1 0 blob 300 50",  // 14
    "1",                                     // 15 items
    "150 280 gem 25",                        // 16
    "1",                                     // 17 teleporters
    "40 268 pad pad_cool 1",                 // 18
};

// The level with lines replaced (1-based), cut after "keep" lines.
std::string levelWith(const std::vector<std::pair<int, std::string>>& replaced,
                      size_t keep = level.size()) {
  std::vector<std::string> lines = level;
  for (const auto& [line, text] : replaced) lines[static_cast<size_t>(line) - 1] = text;
  std::string text;
  for (size_t i = 0; i < keep; ++i) text += lines[i] + "\n";
  return text;
}

struct Problem {
  int line;
  int column;
  std::string message;
};

struct HostileFile {
  const char* name;
  std::string bytes;
  std::vector<Problem> expected;  // every problem, in order
};

const char* const nothingAfter = "; the engine reads nothing after it";

const HostileFile hostileFiles[] = {
    {"byte order mark", "\xEF\xBB\xBF" + levelWith({}),
     {{1, 1, "the file begins with a UTF-8 byte-order mark: the engine reads nothing after it"}}},
    {"NUL byte in a name", levelWith({{7, "0 300 floor\0 floor_clear 1 10"s}}),
     {{7, 12, "a NUL byte: a level file is text and holds none"}}},
    {"NUL bytes in a number", levelWith({{4, "10 5\0\0"s}}),
     {{4, 5, "the first of 2 NUL bytes: a level file is text and holds none"},
      {4, 4,
       "'5\\x00\\x00' is not an integer for pip_spacing: the engine reads 5 and takes "
       "'\\x00\\x00' as the next value"}}},
    {"integer too long for its field", levelWith({{7, "0 99999999999 floor floor_clear 1 10"}}),
     {{7, 3,
       std::string("'99999999999' for y of tile 1 does not fit an integer (-2147483648 to "
                   "2147483647)") + nothingAfter}}},
    {"number too long for its field",
     levelWith({{14, "100 299 1 50 200 1e999 1 0 blob 300 50"}}),
     {{14, 18,
       std::string("'1e999' for speed of enemy 1 does not fit a number (-3.40282e+38 to "
                   "3.40282e+38)") + nothingAfter}}},
    {"truncated record", levelWith({{7, "0 300 floor"}}, 7),
     {{7, 12,
       "file ends early: expected cleared_name of tile 1 (the count at 6:1 announces 2 tiles)"}}},
    {"a README", "# Levels\n\nSee the guide.\n",
     {{1, 1, std::string("expected an integer for countdown_start, found '#'") + nothingAfter},
      {1, 3, std::string("expected an integer for countdown_x, found 'Levels'") + nothingAfter},
      {3, 1, std::string("expected an integer for countdown_y, found 'See'") + nothingAfter},
      {3, 5, std::string("expected an integer for countdown_align, found 'the'") + nothingAfter},
      {3, 9, std::string("expected an integer for score_x, found 'guide.'") + nothingAfter},
      {3, 15, "file ends early: expected score_y"}}},
    {"trailing text", levelWith({}) + "the end\n",
     {{19, 1, "unexpected 'the' after the last record: the engine does not read it"}}},
    {"count beyond the loader's bound", levelWith({{6, "10001"}}),
     {{6, 1, "tile count 10001 is above 10000: the engine rejects the level"}}},
    {"number beyond the loader's bound", levelWith({{8, "192 236 brick brick_clear 1 -2000000"}}),
     {{8, 29,
       "points of tile 2 -2000000 is outside -1000000 to 1000000: the engine rejects the "
       "level"}}},
    {"clean level", levelWith({}), {}},
    {"clean level with white space after it", levelWith({}) + "\n \t\r\n\n", {}},
};

void PrintTo(const HostileFile& file, std::ostream* out) { *out << file.name; }

std::vector<Problem> problemsOf(const std::string& path) {
  std::vector<Problem> problems;
  for (const LevelReadProblem& found : levelReadProblems(path)) {
    EXPECT_EQ(found.file, path);
    problems.push_back(Problem{found.line, found.column, found.message});
  }
  return problems;
}

bool operator==(const Problem& a, const Problem& b) {
  return a.line == b.line && a.column == b.column && a.message == b.message;
}

std::ostream& operator<<(std::ostream& out, const Problem& p) {
  return out << p.line << ":" << p.column << ": " << p.message;
}

class LevelFileReadHostile : public testing::TestWithParam<HostileFile> {};

TEST_P(LevelFileReadHostile, GivesEveryProblemAtItsPlace) {
  MediaTree tree;
  tree.writeText("level1.inf", GetParam().bytes);
  EXPECT_EQ(problemsOf("level1.inf"), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Files, LevelFileReadHostile, testing::ValuesIn(hostileFiles),
                         caseName<HostileFile>);

// A file the engine's own writer wrote, and the shipped levels, read clean.
TEST(LevelFileRead, WrittenAndShippedLevelsReadClean) {
  MediaTree tree;
  std::istringstream text(levelWith({}));
  LevelData data;
  ASSERT_EQ(data.read(text), 0);
  tree.writeText("written.inf", writeLevel(data));
  EXPECT_EQ(problemsOf("written.inf"), std::vector<Problem>{});
  const char* source = std::getenv("PWE_SOURCE_DIR");
  if (source == nullptr) GTEST_SKIP() << "no shipped media tree";
  for (const char* name : {"level1.inf", "level2.inf", "level3.inf", "level4.inf"}) {
    EXPECT_EQ(problemsOf(std::string(source) + "/media/" + name), std::vector<Problem>{}) << name;
  }
}

struct NotAFile {
  const char* name;
  void (*make)(const std::string& path);
  const char* message;
};

const NotAFile notFiles[] = {
    {"FIFO", [](const std::string& p) { ASSERT_EQ(mkfifo(p.c_str(), 0600), 0); },
     "is not a plain file (a FIFO, a device or a socket): it is not read"},
    {"link to an endless device", [](const std::string& p) { fs::create_symlink("/dev/zero", p); },
     "is not a plain file (a FIFO, a device or a socket): it is not read"},
    {"directory", [](const std::string& p) { fs::create_directory(p); },
     "is a directory, not a plain file: it is not read"},
    {"missing file", [](const std::string&) {}, "missing"},
    {"sparse gigabyte",
     [](const std::string& p) {
       std::ofstream(p).close();
       fs::resize_file(p, 1ull << 30);
     },
     "is 1073741824 bytes, over the 4 MiB bound on a text file of the tree: it is not read"},
};

void PrintTo(const NotAFile& file, std::ostream* out) { *out << file.name; }

class LevelFileReadRefused : public testing::TestWithParam<NotAFile> {};

// One problem for the file as a whole, at once: a reader blocked on the
// FIFO is ended by the alarm, so a regression fails instead of hanging.
TEST_P(LevelFileReadRefused, WithoutReading) {
  MediaTree tree;
  GetParam().make("level1.inf");
  alarm(10);
  const auto start = std::chrono::steady_clock::now();
  const std::vector<Problem> problems = problemsOf("level1.inf");
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  alarm(0);
  EXPECT_EQ(problems, (std::vector<Problem>{{0, 0, GetParam().message}}));
  EXPECT_LT(took.count(), 1.0);
}

INSTANTIATE_TEST_SUITE_P(Files, LevelFileReadRefused, testing::ValuesIn(notFiles),
                         caseName<NotAFile>);

// The checker's words quote file contents: what a terminal shows as itself
// stays, every other byte becomes \xNN.
struct Shown {
  const char* name;
  std::string bytes;
  std::string shown;
};

const Shown shownRows[] = {
    {"plain text and UTF-8 letters", "brick_clear caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x99\x82",
     "brick_clear caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x99\x82"},
    {"NUL, tab, ESC and DEL", "a\0b\tc\x1b[2Jd\x7F"s, "a\\x00b\\x09c\\x1b[2Jd\\x7f"},
    {"C1 control", "\xC2\x9B" "31m", "\\xc2\\x9b31m"},
    {"stray and cut-off bytes", "\x80 \xC3 \xE2\x82", "\\x80 \\xc3 \\xe2\\x82"},
    {"overlong forms", "\xC0\xAF \xE0\x80\xAF", "\\xc0\\xaf \\xe0\\x80\\xaf"},
    {"surrogate and beyond U+10FFFF", "\xED\xA0\x80 \xF4\x90\x80\x80",
     "\\xed\\xa0\\x80 \\xf4\\x90\\x80\\x80"},
    {"byte-order mark and reordering", "\xEF\xBB\xBFx \xE2\x80\xAEy",
     "\\xef\\xbb\\xbfx \\xe2\\x80\\xaey"},
};

void PrintTo(const Shown& row, std::ostream* out) { *out << row.name; }

class TerminalSafe : public testing::TestWithParam<Shown> {};

TEST_P(TerminalSafe, KeepsWhatShowsAndEscapesTheRest) {
  EXPECT_EQ(shownSafely(GetParam().bytes), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Bytes, TerminalSafe, testing::ValuesIn(shownRows), caseName<Shown>);

}  // namespace

// The table of element kinds, walked kind by kind through the real loader
// and writer: a record of each kind comes back in its own list with the
// count beside it, the loader names each kind with the words of the level
// format, refuses a count one past the kind's bound, and the shipped levels'
// looks are found in each kind's looks folder.
#include "game/ElementKinds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

#include "game/LevelFields.h"
#include "game/LevelFormat.h"
#include "shell/LevelSequence.h"
#include "shell/Log.h"
#include "shell/MediaPaths.h"
#include "tests/support/Headless.h"
#include "tests/support/RepositoryRoot.h"

// Test names and failures name a kind by its words.
static void PrintTo(const ElementKindFacts& facts, std::ostream* out) { *out << facts.words; }

namespace {

// A record whose every field differs from a default record's and from the
// record's other fields.
template <typename Record>
Record distinctRecord() {
  Record record;
  int next = 7;
  for (const LevelField<Record>& entry : LevelFields<Record>::list) {
    if (entry.whole != nullptr) record.*entry.whole = next;
    if (entry.real != nullptr) record.*entry.real = static_cast<float>(next) + 0.5f;
    if (entry.text != nullptr) record.*entry.text = "look" + std::to_string(next);
    ++next;
  }
  return record;
}

// A level of twelve zeros and then, kind by kind in file order, the count
// given for `kind` and 0 for the others; no records follow.
std::string levelCounting(ElementKind kind, int count) {
  std::string text = "0 0 0 0 0 0 0 0 0 0 0 0";
  for (const ElementKindFacts& facts : elementKinds) {
    text += " " + std::to_string(facts.kind == kind ? count : 0);
  }
  return text;
}

int readText(LevelData& level, const std::string& text, std::vector<std::string>* log = nullptr) {
  std::istringstream in(text);
  log_capture(log);
  const int result = level.read(in);
  log_capture(nullptr);
  return result;
}

// The words the level format's log lines give each kind, in file order.
struct KindWords {
  ElementKind kind;
  const char* word;
  const char* words;
};
constexpr KindWords formatWords[] = {
    {ElementKind::Tile, "tile", "tiles"},
    {ElementKind::Ladder, "ladder", "ladders"},
    {ElementKind::Chute, "chute", "chutes"},
    {ElementKind::Enemy, "enemy", "enemies"},
    {ElementKind::Item, "item", "items"},
    {ElementKind::Teleporter, "teleporter", "teleporters"},
};

class ElementKindsTest : public ::testing::TestWithParam<ElementKindFacts> {
 protected:
  void SetUp() override { ensureHeadlessAllegro(); }
};

TEST_P(ElementKindsTest, RecordComesBackInItsOwnListWithItsCount) {
  const ElementKind kind = GetParam().kind;
  LevelData level;
  visitRecordList(level, kind, [&](const auto& list, auto) {
    using Record = typename std::decay_t<decltype(list)>::value_type;
    EXPECT_EQ(addRecord(level, distinctRecord<Record>()), 0);
  });
  const std::string text = writeLevel(level);
  LevelData back;
  ASSERT_EQ(readText(back, text), 0) << text;
  EXPECT_EQ(writeLevel(back), text);
  forEachRecordList(back, [&](const auto& list, int count, auto fields) {
    const int expected = fields.element == kind ? 1 : 0;
    EXPECT_EQ(static_cast<int>(list.size()), expected) << fields.facts.words;
    EXPECT_EQ(count, expected) << fields.facts.words;
  });
  removeRecord(back, kind, 0);
  forEachRecordList(back, [&](const auto& list, int count, auto fields) {
    EXPECT_TRUE(list.empty()) << fields.facts.words;
    EXPECT_EQ(count, 0) << fields.facts.words;
  });
}

TEST_P(ElementKindsTest, LoaderNamesTheKindWithTheFormatsWords) {
  const ElementKindFacts& facts = GetParam();
  const KindWords& expected = formatWords[kindIndex(facts.kind)];
  ASSERT_EQ(expected.kind, facts.kind);
  EXPECT_STREQ(facts.word, expected.word);
  EXPECT_STREQ(facts.words, expected.words);
  LevelData level;
  std::vector<std::string> log;
  ASSERT_EQ(readText(level, levelCounting(facts.kind, 1), &log), 0);
  const auto logged = [&](const std::string& line) {
    for (const std::string& each : log) {
      if (each == line) return true;
    }
    return false;
  };
  EXPECT_TRUE(logged(std::string("There are 1 ") + expected.words + "."));
  EXPECT_TRUE(logged(std::string("Reading and setting data for ") + expected.word + " 0."));
}

TEST_P(ElementKindsTest, LoaderTakesTheBoundAndRefusesOneMore) {
  const ElementKindFacts& facts = GetParam();
  LevelData level;
  ASSERT_EQ(readText(level, levelCounting(facts.kind, facts.bound)), 0);
  visitRecordList(level, facts.kind, [&](const auto& list, auto) {
    EXPECT_EQ(static_cast<int>(list.size()), facts.bound);
  });
  std::vector<std::string> log;
  LevelData refused;
  EXPECT_EQ(readText(refused, levelCounting(facts.kind, facts.bound + 1), &log), -1);
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), "Level rejected: " + std::to_string(facts.bound + 1) + " " + facts.words +
                            " is outside 0 to " + std::to_string(facts.bound) + ".");
}

// The look a record names is its first name field; the shipped levels'
// looks are files of the kind's looks folder, named without the extension.
TEST_P(ElementKindsTest, ShippedLooksAreInTheLooksFolder) {
  ASSERT_TRUE(enterRepositoryRoot());
  const ElementKindFacts& facts = GetParam();
  std::vector<std::string> stems;
  for (const auto& file :
       std::filesystem::directory_iterator(std::string(mediaDir) + facts.looksFolder)) {
    stems.push_back(file.path().stem().string());
  }
  int looked = 0;
  for (const char* name : levelFiles) {
    LevelData level;
    ASSERT_EQ(level.load(name), 0) << name;
    visitRecordList(level, facts.kind, [&](const auto& list, auto fields) {
      for (const auto& record : list) {
        for (const auto& entry : decltype(fields)::list) {
          if (entry.text == nullptr) continue;
          EXPECT_NE(std::find(stems.begin(), stems.end(), record.*entry.text), stems.end())
              << record.*entry.text << " in " << name;
          ++looked;
          break;
        }
      }
    });
  }
  EXPECT_GT(looked, 0) << "the shipped levels hold no " << facts.word;
}

INSTANTIATE_TEST_SUITE_P(EveryKind, ElementKindsTest, ::testing::ValuesIn(elementKinds),
                         [](const auto& info) { return std::string(info.param.words); });

}  // namespace

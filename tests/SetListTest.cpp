// The edges of a level set's list of levels, of the order of names in a
// set without one, and of an image folder that a set and its tree share,
// each in a table.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "graphics/FileSearch.h"
#include "shell/LevelSet.h"
#include "shell/MediaOverlay.h"
#include "tests/support/CaseName.h"
#include "tests/support/Headless.h"

namespace {

// The text of a list, line by line, with every level there.
struct ListCase {
  const char* name;
  std::string text;
  std::vector<std::string> levels;
  const char* title;
  const char* refusal;  // the list is named "set.cfg"
};

std::string manyLevels(std::size_t count) {
  std::string text;
  for (std::size_t i = 0; i < count; ++i) text += "level = a.inf\n";
  return text;
}

const ListCase listCases[] = {
    {"comments blank lines and carriage returns",
     "# a\r\n\r\n  level = a.inf  \r\n",
     {"a.inf"},
     "",
     ""},
    {"no spaces round the sign", "level=a.inf\ntitle=T", {"a.inf"}, "T", ""},
    {"a title holding the sign", "title = a = b\nlevel = a.inf\n", {"a.inf"}, "a = b", ""},
    {"a name with spaces", "level = my cave.inf\n", {"my cave.inf"}, "", ""},
    {"as many levels as may be", manyLevels(maxSetLevels),
     std::vector<std::string>(maxSetLevels, "a.inf"), "", ""},
    {"one level too many",
     manyLevels(maxSetLevels + 1),
     {},
     "",
     "set.cfg:1001: more than 1000 levels"},
    {"an empty list", "", {}, "", "set.cfg:1: the list names no level"},
    {"a title alone", "title = Nothing\n", {}, "", "set.cfg:1: the list names no level"},
    {"an empty name", "level =\n", {}, "", "set.cfg:1: '' is no level file name"},
    {"a folder in the name",
     "level = sub/a.inf\n",
     {},
     "",
     "set.cfg:1: 'sub/a.inf' is no level file name"},
    {"the folder above", "level = ..\n", {}, "", "set.cfg:1: '..' is no level file name"},
    {"the player's file", "level = a.inf\nlevel = player.inf\n", {}, "",
     "set.cfg:2: 'player.inf' is no level file"},
    {"a file that is no level", "level = set.cfg\n", {}, "", "set.cfg:1: 'set.cfg' is no level file"},
    {"a key in capitals", "Level = a.inf\n", {}, "", "set.cfg:1: unknown key 'Level'"},
    {"a line of words",
     "\nplay a.inf\n",
     {},
     "",
     "set.cfg:2: 'play a.inf' is no 'key = value' line"},
    {"bytes that are no text", "level = a\xff.inf\n", {}, "", "set.cfg: not UTF-8 text"},
};

class SetList : public testing::TestWithParam<ListCase> {};

TEST_P(SetList, IsReadLineByLine) {
  const ListCase& c = GetParam();
  LevelSet out;
  const std::string why = readSetList(
      c.text, "set.cfg", [](const std::string&) { return true; }, out);
  if (*c.refusal == '\0') {
    EXPECT_EQ(why, "");
    EXPECT_EQ(out.levels, c.levels);
    EXPECT_EQ(out.title, c.title);
  } else {
    EXPECT_NE(why.find(c.refusal), std::string::npos) << why;
  }
}

INSTANTIATE_TEST_SUITE_P(Lists, SetList, testing::ValuesIn(listCases), caseName<ListCase>);

// What a tool writes for a set reads back as the same set.
TEST(SetList, ReadsBackWhatIsWritten) {
  LevelSet written;
  written.title = "Moss = Caves";
  written.levels = {"b.inf", "a 2.inf", "b.inf"};
  LevelSet read;
  ASSERT_EQ(readSetList(
                setListText(written), "set.cfg", [](const std::string&) { return true; }, read),
            "");
  EXPECT_EQ(read.title, written.title);
  EXPECT_EQ(read.levels, written.levels);
}

struct OrderPair {
  const char* name;
  const char* first;
  const char* second;  // comes after first
};

const OrderPair orderPairs[] = {
    {"numbers by their value", "level2.inf", "level10.inf"},
    {"leading zeros count for nothing first", "level02.inf", "level2.inf"},
    {"numbers past any machine word", "l99999999999999999999999", "l100000000000000000000000"},
    {"a name before its longer self", "a", "a1"},
    {"nothing before anything", "", "a"},
    {"a number before a letter", "a9", "aa"},
    {"capitals before small letters", "B.inf", "a.inf"},
    {"bytes past ASCII last", "z.inf", "\xc3\xa9.inf"},
};

class NameOrder : public testing::TestWithParam<OrderPair> {};

TEST_P(NameOrder, IsStrict) {
  const OrderPair& p = GetParam();
  EXPECT_TRUE(namedBefore(p.first, p.second));
  EXPECT_FALSE(namedBefore(p.second, p.first));
  EXPECT_FALSE(namedBefore(p.first, p.first));
}

INSTANTIATE_TEST_SUITE_P(Pairs, NameOrder, testing::ValuesIn(orderPairs), caseName<OrderPair>);

// The names of an image folder with a set laid: the tree's and the set's,
// each once.
struct FolderCase {
  const char* name;
  std::vector<std::string> tree;  // files in media/gfx/static/items/, or none
  std::vector<std::string> set;   // files in the set's gfx/static/items/
  bool laid;
  std::vector<std::string> found;
};

const FolderCase folderCases[] = {
    {"the set has no such folder", {"a.png", "b.png"}, {}, true, {"a.png", "b.png"}},
    {"the tree has no such folder", {}, {"c.png"}, true, {"c.png"}},
    {"a name both have is one",
     {"a.png", "b.png"},
     {"b.png", "c.png"},
     true,
     {"a.png", "b.png", "c.png"}},
    {"other names are no images", {"a.png"}, {"c.PNG", "notes.txt", "d.png.bak"}, true, {"a.png"}},
    {"no set laid", {"a.png"}, {"c.png"}, false, {"a.png"}},
};

class SetFolder : public testing::TestWithParam<FolderCase> {
 protected:
  void TearDown() override { liftMediaSet(); }
  MediaTree tree;
};

TEST_P(SetFolder, ListsBothOnce) {
  const FolderCase& c = GetParam();
  for (const std::string& name : c.tree) tree.writeText("media/gfx/static/items/" + name, "");
  for (const std::string& name : c.set) tree.writeText("my set/gfx/static/items/" + name, "");
  if (c.laid) layMediaSet(tree.root() + "/my set");
  std::vector<std::string> found = findMediaFiles("media/gfx/static/items/", "*.png");
  // The tree's own come first, in the order its search gives them.
  std::vector<std::string> first(found.begin(),
                                 found.begin() + std::min(found.size(), c.tree.size()));
  std::vector<std::string> own = c.tree;
  std::sort(first.begin(), first.end());
  std::sort(own.begin(), own.end());
  EXPECT_EQ(first, own);
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, c.found);
}

INSTANTIATE_TEST_SUITE_P(Folders, SetFolder, testing::ValuesIn(folderCases), caseName<FolderCase>);

}  // namespace

// A level's place among its set's levels: the words the title shows and
// the level Page Up and Page Down open, on a set's list as the game reads it.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/CaseName.h"
#include "tests/support/Headless.h"
#include "tools/edit/SetPlaces.h"

namespace {

struct PlaceRow {
  const char* name;
  const char* level;     // the edited file, in the set's folder unless it says "other/"
  const char* words;     // setPlaceWords
  const char* previous;  // setNeighbour, step -1
  const char* next;      // step 1
};

void PrintTo(const PlaceRow& row, std::ostream* out) { *out << row.name; }

class SetPlaces : public testing::TestWithParam<PlaceRow> {};

TEST_P(SetPlaces, NameTheLevelsPlaceAndItsNeighbours) {
  const PlaceRow& row = GetParam();
  MediaTree root;
  root.makeDirectory("moss");
  root.makeDirectory("other");
  LevelSet set;
  set.directory = root.root() + "/moss";
  set.title = "Moss Caverns";
  set.levels = {"moss1.inf", "moss2.inf", "moss3.inf", "moss4.inf"};
  const std::string level = root.root() + "/" + row.level;
  EXPECT_EQ(setPlaceWords(set, level), row.words);
  EXPECT_EQ(setNeighbour(set, level, -1), row.previous);
  EXPECT_EQ(setNeighbour(set, level, 1), row.next);
}

const PlaceRow placeRows[] = {
    {"a level in the middle", "moss/moss2.inf", "Moss Caverns 2/4", "moss1.inf", "moss3.inf"},
    {"the first goes back round to the last", "moss/moss1.inf", "Moss Caverns 1/4", "moss4.inf",
     "moss2.inf"},
    {"the last goes on round to the first", "moss/moss4.inf", "Moss Caverns 4/4", "moss3.inf",
     "moss1.inf"},
    {"a level the list does not name", "moss/new.inf", "", "moss4.inf", "moss1.inf"},
    {"a file of that name in another folder", "other/moss2.inf", "", "moss4.inf", "moss1.inf"},
    {"the folder named another way", "other/../moss/./moss3.inf", "Moss Caverns 3/4", "moss2.inf",
     "moss4.inf"},
};

INSTANTIATE_TEST_SUITE_P(Editor, SetPlaces, testing::ValuesIn(placeRows), caseName<PlaceRow>);

TEST(EditorSetPlaces, AnEmptyListHasNoNeighbour) {
  MediaTree root;
  LevelSet set;
  set.directory = root.root();
  EXPECT_EQ(setNeighbour(set, root.root() + "/a.inf", 1), "");
  EXPECT_EQ(setPlaceWords(set, root.root() + "/a.inf"), "");
}

}  // namespace

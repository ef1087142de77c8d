#include "graphics/ImageSet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "shell/Log.h"
#include "tests/support/FileText.h"
#include "tests/support/Headless.h"

namespace {

std::vector<std::string> namesOf(const ImageSet& set) {
  std::vector<std::string> names;
  for (int i = 0; i < set.imageCount(); ++i) names.push_back(set.imageName(i));
  std::sort(names.begin(), names.end());
  return names;
}

// Escapes the regex metacharacters that occur in the kinds' texts.
std::string literal(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '.' || c == '(' || c == ')' || c == '"') out += '\\';
    out += c;
  }
  return out;
}

TEST(ImageSet, FindsEveryPngByNameCaseSensitively) {
  MediaTree tree;
  tree.writeSolidPng("media/gfx/static/ladders/a.png", 3, 5, 255, 0, 0);
  tree.writeSolidPng("media/gfx/static/ladders/b.png", 7, 2, 0, 0, 255);
  ImageSet set;
  set.load("ladders/", ladderTexts);

  ASSERT_EQ(set.imageCount(), 2);
  EXPECT_EQ(namesOf(set), (std::vector<std::string>{"a", "b"}));
  int a = set.find("a");
  int b = set.find("b");
  ASSERT_NE(a, -1);
  ASSERT_NE(b, -1);
  EXPECT_EQ(set.imageName(a), "a");
  // Each name stays paired with its own image.
  EXPECT_EQ(set.image(a)->w, 3);
  EXPECT_EQ(set.image(a)->h, 5);
  EXPECT_EQ(set.image(b)->w, 7);
  EXPECT_EQ(getpixel(set.image(b), 0, 0), makeacol32(0, 0, 255, 255));

  EXPECT_EQ(set.find("A"), -1);
  EXPECT_EQ(set.find("a.png"), -1);
  EXPECT_EQ(set.find("ab"), -1);
  EXPECT_EQ(set.find(""), -1);
}

TEST(ImageSet, NamesAreCutByLengthAndOnlyPngFilesCount) {
  MediaTree tree;
  tree.writeSolidPng("media/gfx/static/items/.png", 1, 1, 1, 2, 3);
  tree.writeSolidPng("media/gfx/static/items/big.tile.png", 1, 1, 1, 2, 3);
  tree.writeSolidPng("media/gfx/static/items/x.bmp.png", 1, 1, 1, 2, 3);
  tree.writeText("media/gfx/static/items/notes.txt", "not an image");
  tree.writeText("media/gfx/static/items/photo.pngx", "not an image");
  tree.writeSolidPng("media/gfx/static/items/upper.PNG", 1, 1, 1, 2, 3);
  tree.writeSolidPng("media/gfx/static/items/deeper/inner.png", 1, 1, 1, 2, 3);
  ImageSet set;
  set.load("items/", itemTexts);

  EXPECT_EQ(namesOf(set), (std::vector<std::string>{"", "big.tile", "x.bmp"}));
  EXPECT_NE(set.find(""), -1);
  EXPECT_NE(set.find("big.tile"), -1);
  EXPECT_EQ(set.find("big"), -1);
  EXPECT_EQ(set.find("inner"), -1);
  EXPECT_EQ(set.find("upper"), -1);
}

TEST(ImageSet, LogsTheKindsProgressLines) {
  MediaTree tree;
  tree.writeSolidPng("media/gfx/static/chutes/slide.png", 2, 2, 9, 9, 9);
  std::vector<std::string> lines;
  log_capture(&lines);
  ImageSet set;
  set.load("chutes/", chuteTexts);
  log_capture(nullptr);
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "Locating chute images.", "1 chute images located.",
                       "Loading chute images.", "Chute image 0 loaded.",
                       "All chute images successfully loaded."}));
}

TEST(ImageSet, TeleporterKindsLogEachMatchAndTheCooldownKindEachPath) {
  MediaTree tree;
  tree.writeSolidPng("media/gfx/static/transportation/teleporters/normal/pad.png", 2, 2, 1, 1, 1);
  tree.writeSolidPng("media/gfx/static/transportation/teleporters/cooldown/pad.png", 2, 2, 1, 1, 1);
  std::vector<std::string> lines;
  log_capture(&lines);
  ImageSet normal;
  ImageSet cooldown;
  // The teleporter manager searches both directories before loading either.
  normal.search("transportation/teleporters/normal/", teleporterTexts);
  cooldown.search("transportation/teleporters/cooldown/", teleporterCooldownTexts);
  normal.loadImages();
  cooldown.loadImages();
  log_capture(nullptr);
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "Locating teleporter images.",
                       "Found pad.png",
                       "1 teleporter images located.",
                       "Locating teleporter cooldown images.",
                       "Found pad.png",
                       "1 teleporter cooldown images located.",
                       "Loading teleporter images.",
                       "Teleporter image 0 loaded.",
                       "All teleporter images successfully loaded.",
                       "Loading teleporter cooldown images.",
                       "Loading media/gfx/static/transportation/teleporters/cooldown/pad.png",
                       "Teleporter cooldown image 0 loaded.",
                       "All teleporter cooldown images successfully loaded.",
                   }));
  EXPECT_EQ(normal.find("pad"), 0);
  EXPECT_EQ(cooldown.find("pad"), 0);
}

struct EmptyKind {
  const char* directory;
  const ImageSetTexts* texts;
  const char* box;
  const char* log;
};

const EmptyKind emptyKinds[] = {
    {"floor tiles/normal/", &floorTileTexts, "No floor tile graphics located!",
     "No floor graphics located. Exiting."},
    {"floor tiles/clear/", &clearedFloorTileTexts, "No cleared floor graphics located!",
     "No item cleared floor located. Exiting."},
    {"ladders/", &ladderTexts, "No ladder graphics located!",
     "No ladder graphics located. Exiting."},
    {"chutes/", &chuteTexts, "No chute graphics located!", "No chute graphics located. Exiting."},
    {"items/", &itemTexts, "No item graphics located!", "No item graphics located. Exiting."},
    {"transportation/teleporters/normal/", &teleporterTexts, "No teleporter graphics located!",
     "No teleporter graphics located. Exiting."},
    {"transportation/teleporters/cooldown/", &teleporterCooldownTexts,
     "No teleporter cooldown graphics located!",
     "No teleporter cooldown graphics located. Exiting."},
};

TEST(ImageSetDeathTest, EmptyOrMissingDirectoryStopsWithTheKindsTexts) {
  for (const EmptyKind& kind : emptyKinds) {
    SCOPED_TRACE(kind.directory);
    MediaTree tree;
    // An image of the wrong kind elsewhere, and a non-PNG in the directory itself.
    tree.writeSolidPng("media/gfx/static/other.png", 1, 1, 1, 1, 1);
    tree.writeText(std::string("media/gfx/static/") + kind.directory + "readme.txt", "x");
    EXPECT_EXIT(
        {
          setenv("PWE_LOG", "1", 1);
          log_open("pwe.log");
          ImageSet set;
          set.load(kind.directory, *kind.texts);
        },
        testing::ExitedWithCode(1), "^" + literal(kind.box) + "\n$");
    EXPECT_EQ(lastLine("pwe.log"), kind.log);
  }
}

TEST(ImageSetDeathTest, UnreadableImageStopsNamingItsPath) {
  MediaTree tree;
  tree.writeText("media/gfx/static/items/broken.png", "this is no PNG");
  EXPECT_EXIT(
      {
        setenv("PWE_LOG", "1", 1);
        log_open("pwe.log");
        ImageSet set;
        set.load("items/", itemTexts);
      },
      testing::ExitedWithCode(1), "^Error loading \"media/gfx/static/items/broken\\.png\"\\.\n$");
  std::string log = readFile("pwe.log");
  EXPECT_NE(log.find("Error loading \"media/gfx/static/items/broken.png\". Exiting.\n"),
            std::string::npos);
}

}  // namespace

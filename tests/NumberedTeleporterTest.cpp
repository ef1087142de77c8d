// The numbered teleporter looks of the shipped tree: each covers exactly the
// pixels of its plain look (so nothing but the picture changes), shows its
// number in both looks, and the shipped levels show each pad's own number.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "game/LevelData.h"
#include "tests/support/Headless.h"
#include "tools/check/TreeFacts.h"

namespace fs = std::filesystem;

namespace {

// CTest runs the tests in tests/, with the repository root in PWE_SOURCE_DIR.
fs::path mediaRoot() {
  const char* source = std::getenv("PWE_SOURCE_DIR");
  return (source != nullptr && *source != '\0' ? fs::path(source) : fs::path("..")) / "media";
}

fs::path teleporterDir(const char* set) {
  return mediaRoot() / "gfx/static/transportation/teleporters" / set;
}

struct Picture {
  BITMAP* bmp;
  explicit Picture(const fs::path& path) : bmp(load_bitmap(path.string().c_str(), nullptr)) {}
  ~Picture() {
    if (bmp != nullptr) destroy_bitmap(bmp);
  }
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;
};

int differingPixels(const Picture& a, const Picture& b) {
  int count = 0;
  for (int y = 0; y < a.bmp->h; ++y) {
    for (int x = 0; x < a.bmp->w; ++x) count += getpixel(a.bmp, x, y) != getpixel(b.bmp, x, y);
  }
  return count;
}

int differingAlphas(const Picture& a, const Picture& b) {
  int count = 0;
  for (int y = 0; y < a.bmp->h; ++y) {
    for (int x = 0; x < a.bmp->w; ++x) {
      count += geta32(getpixel(a.bmp, x, y)) != geta32(getpixel(b.bmp, x, y));
    }
  }
  return count;
}

class NumberedTeleporterLooks : public testing::TestWithParam<const char*> {
 protected:
  void SetUp() override { ensureHeadlessAllegro(); }
};

// Same size and the same alpha at every pixel: the overlap test reads the
// size alone, and the drawing blends by that alpha.
TEST_P(NumberedTeleporterLooks, CoverTheirPlainLookAndShowTheirNumberInBothLooks) {
  const std::string plain = GetParam();
  const Picture plainNormal(teleporterDir("normal") / (plain + ".png"));
  const Picture plainCooldown(teleporterDir("cooldown") / (plain + ".png"));
  ASSERT_TRUE(plainNormal.bmp && plainCooldown.bmp) << plain;
  const int plainsDiffer = differingPixels(plainNormal, plainCooldown);
  for (int n = 1; n <= 9; ++n) {
    const std::string name = plain + std::to_string(n) + ".png";
    const Picture normal(teleporterDir("normal") / name);
    const Picture cooldown(teleporterDir("cooldown") / name);
    ASSERT_TRUE(normal.bmp && cooldown.bmp) << name;
    for (const auto& [look, base] :
         {std::pair{&normal, &plainNormal}, {&cooldown, &plainCooldown}}) {
      ASSERT_EQ(look->bmp->w, base->bmp->w) << name;
      ASSERT_EQ(look->bmp->h, base->bmp->h) << name;
      EXPECT_EQ(differingAlphas(*look, *base), 0) << name;
      EXPECT_GT(differingPixels(*look, *base), 7) << name << ": no number drawn";
    }
    // The number must not hide what tells the cooldown from the ready look.
    EXPECT_GT(differingPixels(normal, cooldown), plainsDiffer * 3 / 4) << name;
  }
}

INSTANTIATE_TEST_SUITE_P(Shipped, NumberedTeleporterLooks, testing::Values("pad", "gate"));

// The looks of one set, named as the checker names them.
NamedImages looksIn(const char* set) {
  NamedImages looks{"teleporter image", {}, {}, {}};
  for (const auto& entry : fs::directory_iterator(teleporterDir(set))) {
    if (entry.path().extension() == ".png") looks.names.push_back(entry.path().stem().string());
  }
  return looks;
}

struct ShippedLevel {
  const char* file;
  int teleporters;
};

const ShippedLevel shippedLevels[] = {
    {"level1.inf", 0}, {"level2.inf", 2}, {"level3.inf", 3}, {"level4.inf", 3}};

TEST(ShippedTeleporters, ShowTheirOwnNumber) {
  ensureHeadlessAllegro();
  const NamedImages normal = looksIn("normal");
  const NamedImages cooldown = looksIn("cooldown");
  for (const ShippedLevel& shipped : shippedLevels) {
    std::ifstream in(mediaRoot() / shipped.file);
    LevelData level;
    ASSERT_EQ(level.read(in), 0) << shipped.file;
    ASSERT_EQ(level.teleporters.size(), static_cast<size_t>(shipped.teleporters)) << shipped.file;
    for (const TeleporterSpec& t : level.teleporters) {
      const std::string where =
          std::string(shipped.file) + " teleporter " + std::to_string(t.number);
      EXPECT_GE(normal.find(t.name), 0) << where;
      EXPECT_GE(cooldown.find(t.cooldown_name), 0) << where;
      EXPECT_EQ(normal.shownNumber(t.name), t.number) << where << ": '" << t.name << "'";
      EXPECT_EQ(cooldown.shownNumber(t.cooldown_name), t.number)
          << where << ": '" << t.cooldown_name << "'";
    }
  }
}

}  // namespace

// Checks the shipped media tree the way the game reads it: every picture,
// font, sound and text file loads and is named as the loaders expect. The
// level files are held to pwe-check's rules, layout rules included, in
// PweCheckTest (ShippedTreePasses).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "tests/support/Headless.h"

namespace fs = std::filesystem;

namespace {

fs::path mediaRoot() {
  const char* source = std::getenv("PWE_SOURCE_DIR");
  if (source != nullptr && *source != '\0') return fs::path(source) / "media";
  // CTest runs the tests in tests/; a hand run may start at the repository root.
  return fs::exists("media/pwe.cfg") ? fs::path("media") : fs::path("../media");
}

std::vector<std::string> tokens(const fs::path& path) {
  std::ifstream in(path);
  return std::vector<std::string>(std::istream_iterator<std::string>(in),
                                  std::istream_iterator<std::string>());
}

std::vector<fs::path> filesIn(const fs::path& dir, const std::string& extension) {
  std::vector<fs::path> found;
  if (!fs::is_directory(dir)) return found;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.is_regular_file() && entry.path().extension() == extension) found.push_back(entry.path());
  }
  std::sort(found.begin(), found.end());
  return found;
}

std::set<std::string> namesIn(const fs::path& dir, const std::string& extension) {
  std::set<std::string> names;
  for (const auto& path : filesIn(dir, extension)) names.insert(path.stem().string());
  return names;
}

struct Bitmap {
  BITMAP* bmp;
  explicit Bitmap(const fs::path& path) : bmp(load_bitmap(path.string().c_str(), nullptr)) {}
  ~Bitmap() {
    if (bmp != nullptr) destroy_bitmap(bmp);
  }
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;
};

const fs::path kStatic = "gfx/static";
const fs::path kPlayerAnim = "gfx/anim/player";
const fs::path kEnemyAnim = "gfx/anim/enemy";

class ShippedMediaTest : public testing::Test {
 protected:
  void SetUp() override {
    ensureHeadlessAllegro();
    root = mediaRoot();
    ASSERT_TRUE(fs::is_directory(root)) << root;
  }
  fs::path root;
};

using MediaTreeImages = ShippedMediaTest;
using MediaTreeAnimations = ShippedMediaTest;
using MediaTreeFonts = ShippedMediaTest;
using MediaTreeSounds = ShippedMediaTest;
using MediaTreeText = ShippedMediaTest;

TEST_F(MediaTreeImages, EveryPictureDecodesAsThirtyTwoBit) {
  int count = 0;
  for (const auto& entry : fs::recursive_directory_iterator(root / "gfx")) {
    if (entry.path().extension() != ".png") continue;
    Bitmap image(entry.path());
    ASSERT_NE(image.bmp, nullptr) << entry.path();
    EXPECT_EQ(bitmap_color_depth(image.bmp), 32) << entry.path();
    ++count;
  }
  EXPECT_GT(count, 60);
}

// Tiles, ladders, chutes and the HUD pictures are drawn with masked blits,
// which skip only the exact mask value; any other transparent pixel would be
// drawn as a solid colour.
TEST_F(MediaTreeImages, MaskedPicturesAreOpaqueOrExactMagenta) {
  std::vector<fs::path> masked;
  for (const char* dir : {"floor tiles/normal", "floor tiles/clear", "ladders", "chutes"}) {
    auto found = filesIn(root / kStatic / dir, ".png");
    EXPECT_FALSE(found.empty()) << dir;
    masked.insert(masked.end(), found.begin(), found.end());
  }
  for (const char* name : {"countdown_back.png", "score_back.png", "life_pip.png", "back.png"}) {
    masked.push_back(root / kStatic / name);
  }
  const int mask = makeacol32(255, 0, 255, 0);
  for (const auto& path : masked) {
    Bitmap image(path);
    ASSERT_NE(image.bmp, nullptr) << path;
    int strays = 0, opaque = 0;
    for (int y = 0; y < image.bmp->h; ++y) {
      for (int x = 0; x < image.bmp->w; ++x) {
        int pixel = getpixel(image.bmp, x, y);
        if (geta32(pixel) == 255) {
          ++opaque;
        } else if (pixel != mask) {
          ++strays;
        }
      }
    }
    EXPECT_EQ(strays, 0) << path << " has transparent pixels other than the mask colour";
    EXPECT_GT(opaque, 0) << path;
  }
}

TEST_F(MediaTreeImages, FloorTilesShareOneSizeAndEveryLookHasAClearedLook) {
  auto normal = namesIn(root / kStatic / "floor tiles/normal", ".png");
  auto cleared = namesIn(root / kStatic / "floor tiles/clear", ".png");
  EXPECT_GE(normal.size(), 3u);
  EXPECT_EQ(normal, cleared);
  for (const auto& name : normal) {
    Bitmap a(root / kStatic / "floor tiles/normal" / (name + ".png"));
    Bitmap b(root / kStatic / "floor tiles/clear" / (name + ".png"));
    ASSERT_TRUE(a.bmp && b.bmp) << name;
    EXPECT_EQ(a.bmp->w, 16) << name;
    EXPECT_EQ(a.bmp->h, 8) << name;
    EXPECT_EQ(b.bmp->w, a.bmp->w) << name;
    EXPECT_EQ(b.bmp->h, a.bmp->h) << name;
  }
}

TEST_F(MediaTreeImages, DisplayPicturesFitTheScreenAndTheFigures) {
  Bitmap back(root / kStatic / "back.png");
  ASSERT_NE(back.bmp, nullptr);
  EXPECT_EQ(back.bmp->w, 640);
  EXPECT_EQ(back.bmp->h, 480);
  // The player (and its widest frame) must fit inside every teleporter.
  Bitmap player(root / kPlayerAnim / "walk_right/0.png");
  ASSERT_NE(player.bmp, nullptr);
  for (const char* set : {"normal", "cooldown"}) {
    for (const auto& path : filesIn(root / kStatic / "transportation/teleporters" / set, ".png")) {
      Bitmap tele(path);
      ASSERT_NE(tele.bmp, nullptr) << path;
      EXPECT_GT(tele.bmp->w, player.bmp->w) << path;
      EXPECT_GT(tele.bmp->h, player.bmp->h) << path;
    }
  }
  EXPECT_EQ(namesIn(root / kStatic / "transportation/teleporters/normal", ".png"),
            namesIn(root / kStatic / "transportation/teleporters/cooldown", ".png"));
  // The HUD numbers are written in black: the panels must be light.
  for (const char* name : {"countdown_back.png", "score_back.png"}) {
    Bitmap panel(root / kStatic / name);
    ASSERT_NE(panel.bmp, nullptr);
    int pixel = getpixel(panel.bmp, panel.bmp->w / 2, panel.bmp->h / 2);
    EXPECT_GT(getr32(pixel) + getg32(pixel) + getb32(pixel), 3 * 200) << name;
  }
}

// Alpha art is drawn blended: it needs fully transparent surroundings and
// soft (partly transparent) edges.
TEST_F(MediaTreeImages, AlphaArtHasTransparentSurroundingsAndSoftEdges) {
  std::vector<fs::path> art = filesIn(root / kStatic / "items", ".png");
  EXPECT_GE(art.size(), 2u);
  art.push_back(root / kPlayerAnim / "walk_right/0.png");
  art.push_back(root / kPlayerAnim / "climb/0.png");
  for (const auto& path : art) {
    Bitmap image(path);
    ASSERT_NE(image.bmp, nullptr) << path;
    int clear = 0, soft = 0, solid = 0;
    for (int y = 0; y < image.bmp->h; ++y) {
      for (int x = 0; x < image.bmp->w; ++x) {
        int a = geta32(getpixel(image.bmp, x, y));
        if (a == 0) ++clear;
        else if (a == 255) ++solid;
        else ++soft;
      }
    }
    EXPECT_GT(clear, 0) << path;
    EXPECT_GT(soft, 0) << path;
    EXPECT_GT(solid, clear / 4) << path;
  }
}

struct AnmFile {
  std::string frameDir;
  int count = 0;
  std::vector<int> durations;
};

bool readAnm(const fs::path& path, AnmFile* anm) {
  std::ifstream in(path);
  if (!(in >> anm->frameDir >> anm->count) || anm->count < 1) return false;
  anm->durations.assign(anm->count, 0);
  for (int& d : anm->durations) {
    if (!(in >> d)) return false;
  }
  return true;
}

// Every description parses, all its frames exist and load, and the frames of
// one animation share a size (a figure would jump sideways otherwise).
TEST_F(MediaTreeAnimations, EveryAnmParsesAndItsFramesExist) {
  int animations = 0;
  for (const fs::path& base : {root / kPlayerAnim, root / kEnemyAnim}) {
    for (const auto& path : filesIn(base, ".anm")) {
      AnmFile anm;
      ASSERT_TRUE(readAnm(path, &anm)) << path;
      int w = -1, h = -1;
      for (int i = 0; i < anm.count; ++i) {
        EXPECT_GE(anm.durations[i], 1) << path;
        fs::path frame = base / anm.frameDir / (std::to_string(i) + ".png");
        Bitmap image(frame);
        ASSERT_NE(image.bmp, nullptr) << frame;
        if (w < 0) {
          w = image.bmp->w;
          h = image.bmp->h;
        }
        EXPECT_EQ(image.bmp->w, w) << frame;
        EXPECT_EQ(image.bmp->h, h) << frame;
      }
      ++animations;
    }
  }
  EXPECT_GE(animations, 5 + 12);
}

TEST_F(MediaTreeAnimations, EnemyKindsNameFourAnimationsAndLookDifferentWhenVulnerable) {
  auto definitions = filesIn(root / kEnemyAnim, ".nme");
  EXPECT_GE(definitions.size(), 3u);
  for (const auto& path : definitions) {
    auto words = tokens(path);
    ASSERT_GE(words.size(), 4u) << path;
    std::vector<AnmFile> anms(4);
    for (int i = 0; i < 4; ++i) {
      ASSERT_TRUE(readAnm(root / kEnemyAnim / (words[i] + ".anm"), &anms[i])) << words[i];
    }
    // Same-facing frames of the two states must differ in most solid pixels.
    for (int facing = 0; facing < 2; ++facing) {
      Bitmap danger(root / kEnemyAnim / anms[facing].frameDir / "0.png");
      Bitmap weak(root / kEnemyAnim / anms[2 + facing].frameDir / "0.png");
      ASSERT_TRUE(danger.bmp && weak.bmp) << path;
      ASSERT_EQ(danger.bmp->w, weak.bmp->w) << path;
      ASSERT_EQ(danger.bmp->h, weak.bmp->h) << path;
      int solid = 0, changed = 0;
      for (int y = 0; y < danger.bmp->h; ++y) {
        for (int x = 0; x < danger.bmp->w; ++x) {
          int a = getpixel(danger.bmp, x, y), b = getpixel(weak.bmp, x, y);
          if (geta32(a) != 255) continue;
          ++solid;
          if (a != b) ++changed;
        }
      }
      EXPECT_GT(changed * 2, solid) << path << " facing " << facing;
    }
  }
}

TEST_F(MediaTreeFonts, FontsAreMonoAndCoverPrintableAscii) {
  for (const char* name : {"countdown_fnt.png", "score_fnt.png"}) {
    std::string path = (root / "fonts" / name).string();
    FONT* font = load_font(path.c_str(), nullptr, nullptr);
    ASSERT_NE(font, nullptr) << path;
    EXPECT_TRUE(is_mono_font(font)) << path;
    EXPECT_EQ(get_font_range_begin(font, -1), 32) << path;
    EXPECT_EQ(get_font_range_end(font, -1), 126) << path;
    EXPECT_GE(text_height(font), 12) << path;
    EXPECT_EQ(text_length(font, "0123456789"), 10 * text_length(font, "8")) << path;
    // A mono font takes the text colour: black digits on a white panel.
    BITMAP* target = create_bitmap(200, 40);
    clear_to_color(target, makecol(255, 255, 255));
    textout_ex(target, font, "4080", 0, 0, makecol(0, 0, 0), -1);
    int black = 0, other = 0;
    for (int y = 0; y < target->h; ++y) {
      for (int x = 0; x < target->w; ++x) {
        int pixel = getpixel(target, x, y) & 0xFFFFFF;
        if (pixel == 0) ++black;
        else if (pixel != 0xFFFFFF) ++other;
      }
    }
    EXPECT_GT(black, 20) << path;
    EXPECT_EQ(other, 0) << path;
    destroy_bitmap(target);
    destroy_font(font);
  }
}

TEST_F(MediaTreeSounds, TheSixSoundsAreShortSixteenBitMono) {
  for (const char* name : {"walk.wav", "jump.wav", "player_death_fall.wav",
                           "player_death_enemy.wav", "item.wav", "enemy_death.wav"}) {
    std::string path = (root / "audio" / name).string();
    SAMPLE* sample = load_wav(path.c_str());
    ASSERT_NE(sample, nullptr) << path;
    EXPECT_EQ(sample->bits, 16) << path;
    EXPECT_EQ(sample->stereo, 0) << path;
    double seconds = static_cast<double>(sample->len) / sample->freq;
    EXPECT_GT(seconds, 0.05) << path;
    EXPECT_LT(seconds, 2.0) << path;
    // Not silent: Allegro keeps 16-bit samples unsigned, silence at 0x8000.
    const unsigned short* data = static_cast<const unsigned short*>(sample->data);
    int loudest = 0;
    for (unsigned long i = 0; i < sample->len; ++i) {
      loudest = std::max(loudest, std::abs(static_cast<int>(data[i]) - 0x8000));
    }
    EXPECT_GT(loudest, 4000) << path;
    destroy_sample(sample);
  }
}

TEST_F(MediaTreeText, PlayerFileNamesExistingAnimationsAndLandsSafely) {
  auto words = tokens(root / "player.inf");
  ASSERT_EQ(words.size(), 15u);
  for (int i = 0; i < 5; ++i) {
    AnmFile anm;
    EXPECT_TRUE(readAnm(root / kPlayerAnim / (words[i] + ".anm"), &anm)) << words[i];
  }
  int height = std::stoi(words[6]);
  Bitmap frame(root / kPlayerAnim / "walk_right/0.png");
  ASSERT_NE(frame.bmp, nullptr);
  EXPECT_EQ(frame.bmp->h, height);
  EXPECT_EQ(frame.bmp->w, std::stoi(words[5]));
  for (int i = 7; i < 15; ++i) EXPECT_GT(std::stof(words[i]), 0.0f) << "token " << i + 1;
  // A jump's landing test looks at two rows: a faster descent could skip a floor.
  EXPECT_LE(std::stof(words[10]), 2.0f);
  // A ledge one tile row (32 pixels) up must be reachable by jumping.
  EXPECT_GT(std::stof(words[13]), 32.0f);
}

TEST_F(MediaTreeText, ConfigurationHoldsEveryKeyAtItsDefault) {
  std::string path = (root / "pwe.cfg").string();
  set_config_file(path.c_str());
  EXPECT_STREQ(get_config_string("display", "mode", "missing"), "windowed");
  struct Key {
    const char* section;
    const char* key;
    int value;
  };
  const Key keys[] = {
      {"display", "width", 640},           {"display", "height", 480},
      {"mechanics", "updates_per_second", 100}, {"mechanics", "teleport_cooldown", 200},
      {"mechanics", "chute_horiz_tol", 14},     {"mechanics", "ladder_horiz_tol", 6},
      {"mechanics", "ladder_vert_tol", 2},      {"keyboard", "left", KEY_LEFT},
      {"keyboard", "right", KEY_RIGHT},         {"keyboard", "up", KEY_UP},
      {"keyboard", "down", KEY_DOWN},           {"keyboard", "jump", KEY_SPACE},
  };
  for (const Key& k : keys) {
    EXPECT_EQ(get_config_int(k.section, k.key, -12345), k.value) << k.section << "/" << k.key;
  }
  set_config_file("/nonexistent/pwe.cfg");
}

}  // namespace

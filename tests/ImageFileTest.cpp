// The header check every picture passes before Allegro's loader sees it:
// what it lets through, what it refuses and why, and that files whose
// headers promise more than the loader can hold never reach it.
#include <gtest/gtest.h>

#include "graphics/ImageFile.h"
#include "graphics/Resources.h"
#include "tests/support/Headless.h"
#include "tests/support/FileBytes.h"

namespace {

struct HeaderCase {
  const char* name;
  std::string bytes;
  const char* problem;  // empty: loadable
  int width;            // declared size when loadable
  int height;
};

std::string withByte(std::string bytes, size_t at, char value) {
  bytes[at] = value;
  return bytes;
}

const std::string small = pngBytes({3, 2});

const HeaderCase headerCases[] = {
    {"small RGBA", small, "", 3, 2},
    {"palette of 4 bits", pngBytes({5, 7, 4, 3}), "", 5, 7},
    {"largest side", pngBytes({32767, 1}), "", 32767, 1},
    {"largest square Allegro can size", pngBytes({23170, 23170}), "", 23170, 23170},
    {"text", "not a picture", "is not a PNG file", 0, 0},
    {"empty", "", "is not a PNG file", 0, 0},
    {"signature only", small.substr(0, 8), "has a damaged PNG header: the file ends inside it", 0,
     0},
    {"cut in the header", small.substr(0, 28), "has a damaged PNG header: the file ends inside it",
     0, 0},
    {"first chunk not the header", withByte(small, 12, 'X'),
     "has a damaged PNG header: it does not start with its image header", 0, 0},
    {"depth the colour type lacks", pngBytes({4, 4, 3, 6}),
     "has a damaged PNG header: its colour format is not one PNG knows", 0, 0},
    {"unknown colour type", pngBytes({4, 4, 8, 5}),
     "has a damaged PNG header: its colour format is not one PNG knows", 0, 0},
    {"unknown interlace", withByte(small, 28, 2),
     "has a damaged PNG header: its colour format is not one PNG knows", 0, 0},
    {"no columns", pngBytes({0, 5}), "has a damaged PNG header: it declares 0 x 5 pixels", 0, 0},
    {"width beyond what PNG allows", pngBytes({0x80000000u, 1}),
     "has a damaged PNG header: it declares 2147483648 x 1 pixels", 0, 0},
    {"side beyond the bound", pngBytes({32768, 1}),
     "declares 32768 x 1 pixels: no side of a picture may be over 32767 pixels", 0, 0},
    {"more than Allegro can size", pngBytes({23171, 23171}),
     "declares 23171 x 23171 pixels: more than the 2048 MiB a picture may take", 0, 0},
    {"the crashing file", pngBytes({30000, 30000}),
     "declares 30000 x 30000 pixels: more than the 2048 MiB a picture may take", 0, 0},
};

void PrintTo(const HeaderCase& c, std::ostream* out) { *out << c.name; }

class ImageFileHeaders : public testing::TestWithParam<HeaderCase> {};

TEST_P(ImageFileHeaders, AcceptOnlyWhatTheLoaderCanHold) {
  const HeaderCase& c = GetParam();
  ImageFile file =
      ImageFile::inspect(reinterpret_cast<const unsigned char*>(c.bytes.data()), c.bytes.size());
  EXPECT_EQ(file.problem, c.problem);
  EXPECT_EQ(file.loadable(), std::string(c.problem).empty());
  EXPECT_EQ(file.width, c.width);
  EXPECT_EQ(file.height, c.height);
}

INSTANTIATE_TEST_SUITE_P(Headers, ImageFileHeaders, testing::ValuesIn(headerCases));

TEST(ImageFile, ReadsTheHeaderFromAFileAndRefusesWhatCannotBeRead) {
  ensureHeadlessAllegro();
  MediaTree tree;
  tree.writeSolidPng("real.png", 12, 9, 10, 20, 30);
  ImageFile real = ImageFile::inspect("real.png");
  EXPECT_TRUE(real.loadable()) << real.problem;
  EXPECT_EQ(real.width, 12);
  EXPECT_EQ(real.height, 9);
  EXPECT_EQ(real.memoryBytes(), 12 * 9 * 4);
  EXPECT_EQ(ImageFile::inspect("absent.png").problem, "cannot be read");
  tree.makeDirectory("folder.png");
  EXPECT_FALSE(ImageFile::inspect("folder.png").loadable());
}

// Each of these crashed or corrupted memory inside the loader before the
// check existed; now the loaders answer null as for any unloadable file.
TEST(ImageFile, LyingHeadersNeverReachTheLoader) {
  ensureHeadlessAllegro();
  MediaTree tree;
  const PngHeader lies[] = {{30000, 30000}, {23171, 23171}, {40000, 40000}, {65536, 8192}};
  for (const PngHeader& lie : lies) {
    writeBytes("lie.png", pngBytes(lie));
    BitmapPtr bitmap(loadImageFile("lie.png"));
    EXPECT_EQ(bitmap, nullptr) << lie.width << " x " << lie.height;
    FontPtr font(loadFontFile("lie.png"));
    EXPECT_EQ(font, nullptr) << lie.width << " x " << lie.height;
  }
  tree.writeSolidPng("fine.png", 4, 3, 1, 2, 3);
  BitmapPtr fine(loadImageFile("fine.png"));
  ASSERT_NE(fine, nullptr);
  EXPECT_EQ(fine->w, 4);
  EXPECT_EQ(fine->h, 3);
}

}  // namespace

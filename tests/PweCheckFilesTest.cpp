// pwe-check on files no tree should hold: a FIFO, a device or a directory
// in a file's place is named at once and never opened for reading, a huge
// file is refused before it is read, and bytes a terminal would act on are
// shown escaped.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/CaseName.h"
#include "tests/support/CheckerRun.h"
#include "tests/support/GameTree.h"

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

// A checker still running after this long is taken to be blocked.
const int limitSeconds = 20;

enum class Stand { Fifo, EndlessDevice, Directory };

struct NotAFile {
  const char* name;
  const char* path;  // in the tree, replaced by what stands there
  Stand stand;
};

const char* const fifoWords = "is not a plain file (a FIFO, a device or a socket): it is not read";

const NotAFile notFiles[] = {
    {"FIFO level", "media/level1.inf", Stand::Fifo},
    {"FIFO picture", "media/gfx/static/back.png", Stand::Fifo},
    {"FIFO animation frame", "media/gfx/anim/player/walk_left/0.png", Stand::Fifo},
    {"FIFO sound", "media/audio/jump.wav", Stand::Fifo},
    {"FIFO animation", "media/gfx/anim/player/climb.anm", Stand::Fifo},
    {"FIFO enemy definition", "media/gfx/anim/enemy/blob.nme", Stand::Fifo},
    {"FIFO player.inf", "media/player.inf", Stand::Fifo},
    {"FIFO configuration", "media/pwe.cfg", Stand::Fifo},
    {"FIFO font", "media/fonts/score_fnt.png", Stand::Fifo},
    {"endless device level", "media/level2.inf", Stand::EndlessDevice},
    {"endless device picture", "media/gfx/static/items/gem.png", Stand::EndlessDevice},
    {"directory player.inf", "media/player.inf", Stand::Directory},
    {"directory sound", "media/audio/item.wav", Stand::Directory},
};

void PrintTo(const NotAFile& row, std::ostream* out) { *out << row.name; }

class PweCheckNotAFile : public testing::TestWithParam<NotAFile> {};

// The one problem is the file's own; nothing read from it can add another.
TEST_P(PweCheckNotAFile, NamesItAndGoesOn) {
  const NotAFile& row = GetParam();
  GameTree tree;
  tree.remove(row.path);
  if (row.stand == Stand::Fifo) {
    ASSERT_EQ(mkfifo(row.path, 0600), 0);
  }
  if (row.stand == Stand::EndlessDevice) fs::create_symlink("/dev/zero", row.path);
  if (row.stand == Stand::Directory) fs::create_directory(row.path);
  const CheckRun run = runChecker("", limitSeconds);
  const std::string words =
      row.stand == Stand::Directory ? "is a directory, not a plain file: it is not read" : fifoWords;
  EXPECT_EQ(run.lines, std::vector<std::string>{std::string(row.path) + ":0:0: " + words});
  EXPECT_EQ(run.status, 1) << "killed after " << limitSeconds << " s: blocked on the file";
}

INSTANTIATE_TEST_SUITE_P(Trees, PweCheckNotAFile, testing::ValuesIn(notFiles),
                         caseName<NotAFile>);

struct HugeFile {
  const char* name;
  const char* path;
  const char* bound;  // the bound the message names
};

const HugeFile hugeFiles[] = {
    {"level", "media/level3.inf", "4 MiB bound on a text file"},
    {"sound", "media/audio/walk.wav", "64 MiB bound on a sound"},
};

void PrintTo(const HugeFile& row, std::ostream* out) { *out << row.name; }

class PweCheckHugeFile : public testing::TestWithParam<HugeFile> {};

// A gigabyte of nothing is refused by its size, before a byte is read: it
// costs no more than a second over checking the tree as it was (reading
// it took half a minute).
TEST_P(PweCheckHugeFile, IsRefusedAtOnce) {
  const HugeFile& row = GetParam();
  GameTree tree;
  const double asItWas = runChecker("", limitSeconds).seconds;
  fs::resize_file(row.path, 1ull << 30);
  const CheckRun run = runChecker("", limitSeconds);
  EXPECT_EQ(run.lines, std::vector<std::string>{std::string(row.path) +
                                                ":0:0: is 1073741824 bytes, over the " +
                                                row.bound + " of the tree: it is not read"});
  EXPECT_EQ(run.status, 1);
  EXPECT_LT(run.seconds, asItWas + 1.0);
}

INSTANTIATE_TEST_SUITE_P(Trees, PweCheckHugeFile, testing::ValuesIn(hugeFiles),
                         caseName<HugeFile>);

// Every byte quoted from a file reaches the terminal as text: no NUL cuts
// a line short and no ESC starts a command.
TEST(PweCheckFiles, ControlBytesAreShownEscaped) {
  GameTree tree;
  tree.writeText("media/pwe.cfg", "[mechanics]\nteleport_cooldown = 6\x1b[2J40\n");
  tree.writeLevel("level1.inf",
                  "3000 10 10 0 400 10 0 10 5\0 100 299 1\n"
                  "1 0 300 \x1b]0;owned\x07 brick_clear 1 10\n"
                  "0 0 0 0 0\n"s);
  const CheckRun run = runChecker("", limitSeconds);
  EXPECT_EQ(run.lines,
            (std::vector<std::string>{
                "media/pwe.cfg:2:21: '6\\x1b[2J40' for [mechanics] teleport_cooldown is not a "
                "whole number: the engine reads 6",
                "media/level1.inf:1:27: a NUL byte: a level file is text and holds none",
                "media/level1.inf:1:26: '5\\x00' is not an integer for pip_spacing: the engine "
                "reads 5 and takes '\\x00' as the next value",
                "media/level1.inf:2:9: no floor tile image named '\\x1b]0;owned\\x07'"}));
  for (const char byte : run.output) {
    EXPECT_TRUE(byte == '\n' || static_cast<unsigned char>(byte) >= 0x20) << int{byte};
  }
  EXPECT_EQ(run.status, 1);
}

}  // namespace

// The chunk check every sound passes before Allegro's loader sees it.
#include <gtest/gtest.h>

#include "graphics/Resources.h"
#include "shell/SoundFile.h"
#include "tests/support/FileBytes.h"
#include "tests/support/Headless.h"

namespace {

std::string withChunkBefore(const std::string& wav, const std::string& chunk) {
  std::string out = wav;
  out.insert(12, chunk);
  return out;
}

TEST(SoundFile, AcceptsOnlyDataTheFileHolds) {
  const struct {
    const char* name;
    std::string bytes;
    const char* problem;  // empty: loadable
  } cases[] = {
      {"whole", wavBytes(40, 40), ""},
      {"empty data", wavBytes(0, 0), ""},
      {"trailing bytes", wavBytes(40, 50), ""},
      {"a chunk before the format", withChunkBefore(wavBytes(4, 4), std::string("LIST\x02\0\0\0ab", 10)), ""},
      {"text", "not a sound", "is not a WAV file"},
      {"RIFF of another kind", "RIFF\4\0\0\0AVI LIST", "is not a WAV file"},
      {"length read as negative", wavBytes(0xFFFF485Au, 40),
       "declares 4294920282 bytes of sound data but holds 40"},
      {"more than held", wavBytes(0x7FFFFFF0u, 40),
       "declares 2147483632 bytes of sound data but holds 40"},
      {"one byte short", wavBytes(41, 40), "declares 41 bytes of sound data but holds 40"},
      {"cut before the data", wavBytes(40, 40).substr(0, 30), "has no sound data"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    SoundFile file =
        SoundFile::inspect(reinterpret_cast<const unsigned char*>(c.bytes.data()), c.bytes.size());
    EXPECT_EQ(file.problem, c.problem);
  }
}

// Many programs write an 18-byte format chunk; the loader reads its 16
// bytes and skips the rest, and so must the walk to the data chunk.
TEST(SoundFile, LongerFormatChunksAreSteppedOverAsTheLoaderDoes) {
  ensureHeadlessAllegro();
  MediaTree tree;
  std::string wav = wavBytes(40, 40);
  wav[16] = 18;
  wav.insert(36, std::string(2, '\0'));
  writeBytes("extended-format.wav", wav);
  EXPECT_TRUE(SoundFile::inspect("extended-format.wav").loadable());
  SamplePtr extended(loadSoundFile("extended-format.wav"));
  ASSERT_NE(extended, nullptr);
  EXPECT_EQ(extended->len, 20u);

  writeBytes("fine.wav", wavBytes(40, 40));
  SamplePtr fine(loadSoundFile("fine.wav"));
  ASSERT_NE(fine, nullptr);
  EXPECT_EQ(fine->len, 20u);
  EXPECT_EQ(SoundFile::inspect("absent.wav").problem, "cannot be read");
  tree.makeDirectory("folder.wav");
  EXPECT_EQ(SoundFile::inspect("folder.wav").problem, "cannot be read");
}

}  // namespace

#include "shell/SoundFile.h"

#include <cstdint>
#include <cstring>
#include <iterator>
#include <vector>

#include "shell/Fatal.h"

namespace {

std::uint32_t littleEndian(const unsigned char* p) {
  return std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) | (std::uint32_t{p[2]} << 16) |
         (std::uint32_t{p[3]} << 24);
}

}  // namespace

// The chunks are walked the way Allegro's loader walks them: after the
// RIFF and WAVE words, chunk after chunk until the first "data" chunk,
// whose length is what the sample is sized from. Whatever else is wrong
// with the file (no format chunk, a compressed format) the loader itself
// refuses safely.
SoundFile SoundFile::inspect(const unsigned char* bytes, size_t size) {
  SoundFile file;
  if (size < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0) {
    file.problem = "is not a WAV file";
    return file;
  }
  size_t at = 12;
  while (at + 8 <= size) {
    const std::uint32_t length = littleEndian(bytes + at + 4);
    const size_t body = at + 8;
    const size_t held = size - body;
    if (std::memcmp(bytes + at, "data", 4) == 0) {
      if (length > held) {
        file.problem = formatText("declares %lu bytes of sound data but holds %lu",
                                  static_cast<unsigned long>(length),
                                  static_cast<unsigned long>(held));
        return file;
      }
      file.dataBytes = length;
      return file;
    }
    // Allegro reads a chunk's length as a signed int and skips what is left
    // of the chunk after the fields it reads: 16 bytes of a format chunk,
    // none of any other. A negative length skips nothing more.
    const long long signedLength = static_cast<std::int32_t>(length);
    const long long readFields = std::memcmp(bytes + at, "fmt ", 4) == 0 ? 16 : 0;
    const long long skipped = signedLength > readFields ? signedLength : readFields;
    if (skipped > static_cast<long long>(held)) break;  // the loader meets the end and refuses
    at = body + static_cast<size_t>(skipped);
  }
  file.problem = "has no sound data";
  return file;
}

SoundFile SoundFile::inspect(MediaFile& file) {
  SoundFile sound;
  sound.problem = file.problem();
  if (!sound.loadable()) return sound;
  const std::vector<unsigned char> bytes(std::istreambuf_iterator<char>(file.stream()), {});
  if (file.stream().bad()) {
    sound.problem = "cannot be read";
    return sound;
  }
  return inspect(bytes.data(), bytes.size());
}

SoundFile SoundFile::inspect(const std::string& path) {
  MediaFile file(path);
  return inspect(file);
}

SAMPLE* loadSoundFile(const std::string& path) {
  MediaFile file(path);
  if (!SoundFile::inspect(file).loadable()) return nullptr;
  file.rewind();
  PACKFILE* packfile = file.packfile();
  return packfile != nullptr ? load_wav_pf(packfile) : nullptr;
}

#pragma once
// What a WAV file's chunks declare, read before the file reaches Allegro's
// loader. Every sound of the media tree is loaded through this check.
//
// Why: Allegro sizes a sample from the data chunk's declared length, held
// in an int, before it reads a byte of the data. A length past 2 GiB reads
// as negative and asks for an allocation of nearly 2^64 bytes; a large
// positive one allocates gigabytes for a file of a few bytes. A data chunk
// can never hold more than the file does, so that is the bound.
#include <allegro.h>

#include <cstddef>
#include <string>

#include "shell/MediaFile.h"

struct SoundFile {
  long long dataBytes = 0;  // declared length of the sound data
  std::string problem;      // why the loader must not see the file; empty when it may

  static SoundFile inspect(const std::string& path);
  // Reads the file from where it stands to its end.
  static SoundFile inspect(MediaFile& file);
  static SoundFile inspect(const unsigned char* bytes, size_t size);

  bool loadable() const { return problem.empty(); }
};

// load_wav for a file that passes inspection; null when it does not or when
// the loader refuses it.
SAMPLE* loadSoundFile(const std::string& path);

#pragma once
// What a PNG file's header declares, read before the file reaches the
// loader. Every picture of the media tree is loaded through this check.
//
// Why: Allegro sizes a bitmap's pixel memory as width x height x bytes per
// pixel in an int. A header declaring more than that holds makes the
// product wrap: when it wraps negative, create_bitmap fails and loadpng
// writes its rows into the missing bitmap all the same (a 74-byte file
// claiming 30000 x 30000 crashes); when it wraps to a small positive size,
// the rows land far beyond a buffer too short for them. Neither library
// looks at the declared size first, so this check does.
#include <allegro.h>

#include <cstddef>
#include <string>

#include "graphics/BitmapSize.h"
#include "shell/MediaFile.h"

struct ImageFile {
  static constexpr int maxSide = maxBitmapSide;
  // Every picture is held at up to 32 bits a pixel.
  static constexpr int depth = 32;
  static constexpr long long bytesPerPixel = depth / 8;

  int width = 0;        // declared columns
  int height = 0;       // declared rows
  std::string problem;  // why the loader must not see the file; empty when it may

  static ImageFile inspect(const std::string& path);
  // Reads the header from where the file stands.
  static ImageFile inspect(MediaFile& file);
  static ImageFile inspect(const unsigned char* bytes, size_t size);

  bool loadable() const { return problem.empty(); }
  // Memory the picture takes once loaded, in bytes.
  long long memoryBytes() const { return bytesPerPixel * width * height; }
};

// load_bitmap for a file that passes inspection; null when it does not or
// when the loader refuses it.
BITMAP* loadImageFile(const std::string& path);
// load_font for a PNG font that passes inspection; null otherwise.
FONT* loadFontFile(const std::string& path);

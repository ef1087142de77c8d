#pragma once
// Owning handles for Allegro resources. Every bitmap, font and sample has
// exactly one owner (or shared owners through shared_ptr), so copies and
// clears can never free twice or leak. None may live in a static object:
// they must all be gone before allegro_exit runs.
#include <allegro.h>

#include <memory>

struct BitmapDeleter {
  void operator()(BITMAP* bitmap) const {
    if (bitmap != nullptr) destroy_bitmap(bitmap);
  }
};
struct FontDeleter {
  void operator()(FONT* f) const {
    if (f != nullptr) destroy_font(f);
  }
};
struct SampleDeleter {
  void operator()(SAMPLE* sample) const {
    if (sample != nullptr) destroy_sample(sample);
  }
};

using BitmapPtr = std::unique_ptr<BITMAP, BitmapDeleter>;
using FontPtr = std::unique_ptr<FONT, FontDeleter>;
using SamplePtr = std::unique_ptr<SAMPLE, SampleDeleter>;
using SharedBitmap = std::shared_ptr<BITMAP>;
using SharedSample = std::shared_ptr<SAMPLE>;

inline SharedBitmap shareBitmap(BITMAP* bitmap) { return SharedBitmap(bitmap, BitmapDeleter()); }
inline SharedSample shareSample(SAMPLE* sample) { return SharedSample(sample, SampleDeleter()); }

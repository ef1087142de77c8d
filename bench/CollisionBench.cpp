// The pixel-exact contact test on opaque 64x64 images, against its floor:
// the rectangle test that guards it in the game.
#include <allegro.h>
#include <benchmark/benchmark.h>

#include "graphics/Collision.h"
#include "graphics/Resources.h"
#include "tests/support/Headless.h"

namespace {

BitmapPtr opaqueImage() {
  ensureHeadlessAllegro();
  BitmapPtr image(create_bitmap_ex(32, 64, 64));
  clear_to_color(image.get(), makeacol32(200, 40, 40, 255));
  return image;
}

// Offsets of the second image: (32, 32) overlaps a quarter, (63, 63) one
// corner pixel, (64, 0) touches no pixel (the boxes share no column).
void BM_ImagesOverlap(benchmark::State& state) {
  BitmapPtr first = opaqueImage();
  BitmapPtr second = opaqueImage();
  const float dx = static_cast<float>(state.range(0));
  const float dy = static_cast<float>(state.range(1));
  bool expected = dx < 64 && dy < 64;
  for (auto _ : state) {
    bool hit = imagesOverlap(10.0f, 20.0f, first.get(), 10.0f + dx, 20.0f + dy, second.get());
    benchmark::DoNotOptimize(hit);
    if (hit != expected) state.SkipWithError("wrong answer");
  }
}

void BM_RectanglesOverlap(benchmark::State& state) {
  const float dx = static_cast<float>(state.range(0));
  const float dy = static_cast<float>(state.range(1));
  float left = 10.0f;
  for (auto _ : state) {
    benchmark::DoNotOptimize(left);
    bool hit = rectanglesOverlap(left, 20.0f, left + 64, 84.0f, left + dx, 20.0f + dy,
                                 left + dx + 64, 84.0f + dy);
    benchmark::DoNotOptimize(hit);
  }
}

}  // namespace

BENCHMARK(BM_ImagesOverlap)
    ->ArgNames({"dx", "dy"})
    ->Args({32, 32})
    ->Args({63, 63})
    ->Args({64, 0});
BENCHMARK(BM_RectanglesOverlap)->ArgNames({"dx", "dy"})->Args({32, 32})->Args({64, 0});

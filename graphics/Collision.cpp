#include "graphics/Collision.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "graphics/Pixel.h"

bool rectanglesOverlap(float left1, float top1, float right1, float bottom1,
                       float left2, float top2, float right2, float bottom2) {
  // Inclusive: rectangles sharing only an edge line overlap.
  if (left1 > right2 || left2 > right1) return false;
  if (top1 > bottom2 || top2 > bottom1) return false;
  return true;
}

namespace {

// Whether one image's pixels count as solid. 32-bit images carry alpha and a
// pixel is solid when its alpha is not 0. Images of other depths have no
// alpha (Allegro reports 0 for every pixel), so there everything but the
// mask colour is solid; otherwise no such image could ever be touched.
class SolidPixels {
 public:
  explicit SolidPixels(BITMAP* image)
      : image_(image),
        depth_(bitmap_color_depth(image)),
        direct_(depth_ == 32 && is_memory_bitmap(image)),
        mask_(bitmap_mask_color(image)) {}

  bool at(int x, int y) const {
    // The direct row read is the common case: frames and set images are
    // 32-bit memory bitmaps, and this test runs several times per tick.
    if (direct_) return (reinterpret_cast<const uint32_t*>(image_->line[y])[x] >> 24) != 0;
    int pixel = getpixel(image_, x, y);
    if (depth_ == 32) return geta32(pixel) != 0;
    return pixel != mask_;
  }

 private:
  BITMAP* image_;
  int depth_;
  bool direct_;
  int mask_;
};

struct Point {
  int x;
  int y;
};

// The solid pixels with a side or corner open (or on the image's edge), in
// screen points: where a figure's nearest approach to another lies.
std::vector<Point> outline(BITMAP* image, int left, int top) {
  const SolidPixels solid(image);
  auto open = [&](int x, int y) {
    return x < 0 || y < 0 || x >= image->w || y >= image->h || !solid.at(x, y);
  };
  std::vector<Point> points;
  for (int y = 0; y < image->h; ++y) {
    for (int x = 0; x < image->w; ++x) {
      if (!solid.at(x, y)) continue;
      bool edge = false;
      for (int dy = -1; dy <= 1 && !edge; ++dy) {
        for (int dx = -1; dx <= 1 && !edge; ++dx) edge = open(x + dx, y + dy);
      }
      if (edge) points.push_back({left + x, top + y});
    }
  }
  return points;
}

}  // namespace

bool imagesOverlap(float x1, float y1, BITMAP* image1, float x2, float y2, BITMAP* image2) {
  int left1 = toPixel(x1);
  int top1 = toPixel(y1);
  int left2 = toPixel(x2);
  int top2 = toPixel(y2);

  // The screen window both images cover, right and bottom excluded.
  int left = std::max(left1, left2);
  int right = std::min(left1 + image1->w, left2 + image2->w);
  int top = std::max(top1, top2);
  int bottom = std::min(top1 + image1->h, top2 + image2->h);
  if (left >= right || top >= bottom) return false;

  SolidPixels first(image1);
  SolidPixels second(image2);
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) {
      if (first.at(x - left1, y - top1) && second.at(x - left2, y - top2)) return true;
    }
  }
  return false;
}

int imagesGap(float x1, float y1, BITMAP* image1, float x2, float y2, BITMAP* image2, int most) {
  if (imagesOverlap(x1, y1, image1, x2, y2, image2)) return 0;
  const std::vector<Point> first = outline(image1, toPixel(x1), toPixel(y1));
  const std::vector<Point> second = outline(image2, toPixel(x2), toPixel(y2));
  int least = most;
  for (const Point& a : first) {
    for (const Point& b : second) {
      least = std::min(least, std::max(std::abs(a.x - b.x), std::abs(a.y - b.y)));
    }
  }
  return least;
}

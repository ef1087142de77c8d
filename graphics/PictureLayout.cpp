#include "graphics/PictureLayout.h"

#include <algorithm>

PictureLayout fitPicture(int width, int height, int displayWidth, int displayHeight) {
  PictureLayout layout;
  if (width <= 0 || height <= 0) return layout;
  const int scale = std::min(displayWidth / width, displayHeight / height);
  if (scale < 1) return layout;
  layout.scale = scale;
  layout.left = (displayWidth - width * scale) / 2;
  layout.top = (displayHeight - height * scale) / 2;
  return layout;
}

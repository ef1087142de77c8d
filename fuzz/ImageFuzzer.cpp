// PNG pictures: the header check, then Allegro's PNG loading from the file
// as every image directory loads it, then each way the engine uses a
// picture: masked and translucent drawing, the frame copy and the pixel
// collision test.
#include <allegro.h>

#include "fuzz/FuzzMedia.h"
#include "graphics/Collision.h"
#include "graphics/ImageFile.h"
#include "graphics/Resources.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzSetUp();
  static BitmapPtr target(create_bitmap(64, 64));
  const ImageFile header = ImageFile::inspect(data, size);
  if (!withinFuzzBudget(header)) return 0;
  const char* path = "media/gfx/static/items/fuzz.png";
  writeInput(path, data, size);
  BitmapPtr picture(loadImageFile(path));
  if (!picture) return 0;
  if (picture->w != header.width || picture->h != header.height) __builtin_trap();
  draw_sprite(target.get(), picture.get(), -picture->w / 2, 3);
  draw_trans_sprite(target.get(), picture.get(), 5, -picture->h / 2);
  BitmapPtr copy(create_bitmap(picture->w, picture->h));
  clear_to_color(copy.get(), makeacol(255, 0, 255, 0));
  draw_sprite(copy.get(), picture.get(), 0, 0);
  imagesOverlap(0.0f, 0.0f, picture.get(), picture->w / 3.0f, picture->h / 3.0f, copy.get());
  return 0;
}

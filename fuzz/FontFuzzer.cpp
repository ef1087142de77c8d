// PNG fonts: the header check, Allegro's loading and cutting of the glyph
// grid, then measuring and drawing text as the HUD panels do.
#include <allegro.h>

#include "fuzz/FuzzMedia.h"
#include "graphics/ImageFile.h"
#include "graphics/Resources.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzzSetUp();
  static BitmapPtr target(create_bitmap(160, 40));
  if (!withinFuzzBudget(ImageFile::inspect(data, size))) return 0;
  const char* path = "media/fonts/fuzz_fnt.png";
  writeInput(path, data, size);
  FontPtr loaded(loadFontFile(path));
  if (!loaded) return 0;
  const char* text = "01234 56789 -";
  text_length(loaded.get(), text);
  text_height(loaded.get());
  textout_ex(target.get(), loaded.get(), text, 2, 2, makecol(0, 0, 0), -1);
  textprintf_ex(target.get(), loaded.get(), 2, 20, makecol(9, 9, 9), -1, "%s", "2147483647");
  return 0;
}

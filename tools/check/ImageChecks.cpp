// The pictures of a media tree: element image directories, HUD pictures
// and fonts. Every file passes the engine's header check first, so a
// picture the engine would refuse is named with the reason.
#include <allegro.h>

#include <string>
#include <vector>

#include "graphics/FileSearch.h"
#include "graphics/ImageFile.h"
#include "graphics/Resources.h"
#include "shell/MediaPaths.h"
#include "tools/check/MediaChecker.h"
#include "tools/check/TokenReader.h"

namespace {

// The 32-bit value that masked drawing skips: magenta with alpha 0.
const unsigned maskColour = 0x00FF00FFu;

// An image as the file holds it: 32 bits only when it has an alpha channel.
// The engine's conversion to the screen depth keeps every pixel value of
// such an image, so its pixels are the ones the engine draws.
BITMAP* loadNative(const std::string& path) {
  int previous = get_color_conversion();
  set_color_conversion(COLORCONV_NONE);
  BITMAP* bitmap = loadImageFile(path);
  set_color_conversion(previous);
  return bitmap;
}

std::string plural(int count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

// A masked picture's pixels that masked drawing shows otherwise than its
// alpha says: clear ones not of the mask colour, and partly clear ones.
void reportMaskedAlpha(Diagnostics& out, const std::string& file, BITMAP* image) {
  int clearCount = 0;
  int partialCount = 0;
  Position firstClear;
  Position firstPartial;
  for (int y = 0; y < image->h; ++y) {
    for (int x = 0; x < image->w; ++x) {
      unsigned pixel = static_cast<unsigned>(getpixel(image, x, y));
      int alpha = static_cast<int>(pixel >> 24);
      if (alpha == 0 && pixel != maskColour) {
        if (clearCount++ == 0) firstClear = Position{y + 1, x + 1};
      } else if (alpha > 0 && alpha < 255) {
        if (partialCount++ == 0) firstPartial = Position{y + 1, x + 1};
      }
    }
  }
  auto them = [](int count) { return count == 1 ? "it" : "them"; };
  if (clearCount > 0) {
    out.report(file, firstClear,
               plural(clearCount, "transparent pixel (alpha 0) is",
                      "transparent pixels (alpha 0) are") +
                   " not the mask colour 0x00FF00FF (255, 0, 255, alpha 0): masked drawing "
                   "shows " + them(clearCount));
  }
  if (partialCount > 0) {
    out.report(file, firstPartial,
               plural(partialCount, "pixel is", "pixels are") +
                   " partially transparent (alpha 1 to 254): masked drawing shows " +
                   them(partialCount) + " opaque");
  }
}

}  // namespace

// A picture the engine accepts may still cost far more memory than a
// screen of its kind could use: every pixel beyond the screen is never seen.
void MediaChecker::warnIfOversized(const std::string& file, const ImageFile& header) {
  if (header.width <= facts_.screenWidth && header.height <= facts_.screenHeight) return;
  const long long mebibytes = (header.memoryBytes() + (1 << 20) - 1) >> 20;
  out_.warn(file, std::to_string(header.width) + " x " + std::to_string(header.height) +
                      " pixels is larger than the " + std::to_string(facts_.screenWidth) +
                      " x " + std::to_string(facts_.screenHeight) + " screen; it takes " +
                      std::to_string(mebibytes) + " MiB of memory while the game runs");
}

bool MediaChecker::checkImage(const std::string& file, ImageUse use, int& width, int& height) {
  if (!fileExists(file)) {
    out_.report(file, "missing picture");
    return false;
  }
  const std::string refused = plainFileProblem(file);
  if (!refused.empty()) {
    out_.report(file, refused);
    return false;
  }
  // A header the loader must not see is reported as the file's problem; the
  // rest of the tree is still checked.
  const ImageFile header = ImageFile::inspect(file);
  if (!header.loadable()) {
    out_.report(file, header.problem);
    return false;
  }
  BitmapPtr image(loadNative(file));
  if (!image) {
    out_.report(file, "cannot be loaded as an image");
    return false;
  }
  width = image->w;
  height = image->h;
  warnIfOversized(file, header);
  const bool hasAlpha = bitmap_color_depth(image.get()) == 32;
  if (use == ImageUse::Alpha && !hasAlpha) {
    out_.report(file,
                "has no alpha channel: the engine draws it by its own alpha, so none of it "
                "shows");
  }
  // Without an alpha channel every pixel but exact magenta is drawn opaque,
  // which is what the author of such an image means.
  if (use != ImageUse::Masked || !hasAlpha) return true;

  reportMaskedAlpha(out_, file, image.get());
  return true;
}

void MediaChecker::checkImageSet(const std::string& dir, ImageUse use, NamedImages& set) {
  // The union of the tree's images and the set's, as the engine lists them.
  std::vector<std::string> files = findMediaFiles(mediaDir + dir, "*.png", root_);
  if (files.empty()) {
    const std::string shown = pathOf(dir.substr(0, dir.size() - 1));
    out_.report(shown, "no .png images: the engine needs at least one " + set.label);
    return;
  }
  for (const std::string& fileName : files) {
    int width = 0;
    int height = 0;
    checkImage(pathOf(dir + fileName), use, width, height);
    // A file that fails to load still gives its name, so levels naming it
    // are not reported a second time.
    set.names.push_back(fileName.size() >= 4 ? fileName.substr(0, fileName.size() - 4) : "");
    set.widths.push_back(width);
    set.heights.push_back(height);
  }
}

void MediaChecker::checkHud() {
  int width = 0;
  int height = 0;
  checkImage(pathOf("gfx/static/back.png"), ImageUse::Plain, width, height);
  if (checkImage(pathOf("gfx/static/countdown_back.png"), ImageUse::Masked, width, height)) {
    facts_.countdownPanelWidth = width;
    facts_.countdownPanelHeight = height;
  }
  if (checkImage(pathOf("gfx/static/score_back.png"), ImageUse::Masked, width, height)) {
    facts_.scorePanelWidth = width;
    facts_.scorePanelHeight = height;
  }
  checkImage(pathOf("gfx/static/life_pip.png"), ImageUse::Masked, width, height);
}

void MediaChecker::checkFonts() {
  for (const char* name : {"countdown_fnt.png", "score_fnt.png"}) {
    const std::string file = pathOf(std::string("fonts/") + name);
    if (!fileExists(file)) {
      out_.report(file, "missing font");
      continue;
    }
    const std::string refused = plainFileProblem(file);
    if (!refused.empty()) {
      out_.report(file, refused);
      continue;
    }
    const ImageFile header = ImageFile::inspect(file);
    if (!header.loadable()) {
      out_.report(file, header.problem);
      continue;
    }
    FontPtr font(loadFontFile(file));
    if (!font) out_.report(file, "cannot be loaded as a font");
  }
}

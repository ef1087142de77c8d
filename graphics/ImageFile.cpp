#include "graphics/ImageFile.h"

// loadpng needs Allegro's declarations first.
#include <loadpng.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "graphics/Resources.h"
#include "shell/Fatal.h"

namespace {

const unsigned char pngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Signature, then the IHDR chunk's length and type and its 13 bytes.
const size_t headerSize = 8 + 4 + 4 + 13;

std::uint32_t bigEndian(const unsigned char* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
         std::uint32_t{p[3]};
}

// The bit depths each PNG colour type allows.
bool depthFitsColourType(int depth, int colourType) {
  switch (colourType) {
    case 0:  // grey
      return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3:  // palette
      return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case 2:  // RGB
    case 4:  // grey and alpha
    case 6:  // RGBA
      return depth == 8 || depth == 16;
    default:
      return false;
  }
}

std::string sizeText(std::uint32_t width, std::uint32_t height) {
  return formatText("%lu x %lu pixels", static_cast<unsigned long>(width),
                    static_cast<unsigned long>(height));
}

// Why a declared size cannot be loaded, or empty when it can.
std::string sizeProblem(std::uint32_t width, std::uint32_t height) {
  if (width == 0 || height == 0 || width > 0x7FFFFFFFu || height > 0x7FFFFFFFu) {
    return "has a damaged PNG header: it declares " + sizeText(width, height);
  }
  if (width > static_cast<std::uint32_t>(ImageFile::maxSide) ||
      height > static_cast<std::uint32_t>(ImageFile::maxSide)) {
    return formatText("declares %s: no side of a picture may be over %d pixels",
                      sizeText(width, height).c_str(), ImageFile::maxSide);
  }
  if (!bitmapSizeFits(static_cast<int>(width), static_cast<int>(height), ImageFile::depth)) {
    return formatText("declares %s: more than the %lld MiB a picture may take",
                      sizeText(width, height).c_str(),
                      static_cast<long long>((maxBitmapBytes + 1) >> 20));
  }
  return "";
}

}  // namespace

ImageFile ImageFile::inspect(const unsigned char* bytes, size_t size) {
  ImageFile file;
  if (size < sizeof pngSignature || std::memcmp(bytes, pngSignature, sizeof pngSignature) != 0) {
    file.problem = "is not a PNG file";
    return file;
  }
  if (size < headerSize) {
    file.problem = "has a damaged PNG header: the file ends inside it";
    return file;
  }
  const unsigned char* chunk = bytes + sizeof pngSignature;
  if (bigEndian(chunk) != 13 || std::memcmp(chunk + 4, "IHDR", 4) != 0) {
    file.problem = "has a damaged PNG header: it does not start with its image header";
    return file;
  }
  const unsigned char* fields = chunk + 8;
  const std::uint32_t width = bigEndian(fields);
  const std::uint32_t height = bigEndian(fields + 4);
  const int depth = fields[8];
  const int colourType = fields[9];
  if (!depthFitsColourType(depth, colourType) || fields[10] != 0 || fields[11] != 0 ||
      fields[12] > 1) {
    file.problem = "has a damaged PNG header: its colour format is not one PNG knows";
    return file;
  }
  file.problem = sizeProblem(width, height);
  if (file.problem.empty()) {
    file.width = static_cast<int>(width);
    file.height = static_cast<int>(height);
  }
  return file;
}

ImageFile ImageFile::inspect(MediaFile& file) {
  ImageFile image;
  image.problem = file.problem();
  if (!image.loadable()) return image;
  std::vector<unsigned char> bytes(headerSize);
  file.stream().read(reinterpret_cast<char*>(bytes.data()), headerSize);
  if (file.stream().bad()) {
    image.problem = "cannot be read";
    return image;
  }
  return inspect(bytes.data(), static_cast<size_t>(file.stream().gcount()));
}

ImageFile ImageFile::inspect(const std::string& path) {
  MediaFile file(path);
  return inspect(file);
}

namespace {

// The picture in a file that passes inspection, through the same open file.
// Every picture of the tree is a PNG, which is all the inspection lets by.
BITMAP* loadPicture(MediaFile& file) {
  if (!ImageFile::inspect(file).loadable()) return nullptr;
  file.rewind();
  PACKFILE* packfile = file.packfile();
  return packfile != nullptr ? load_png_pf(packfile, nullptr) : nullptr;
}

}  // namespace

BITMAP* loadImageFile(const std::string& path) {
  MediaFile file(path);
  return loadPicture(file);
}

FONT* loadFontFile(const std::string& path) {
  // A PNG font is a picture first, cut into glyphs. As load_font does, an
  // 8-bit picture is kept at 8 bits, so that it gives a mono font that
  // honours the text colour; other pictures are converted as usual.
  MediaFile file(path);
  const int conversion = get_color_conversion();
  set_color_conversion(COLORCONV_MOST | COLORCONV_KEEP_TRANS);
  const BitmapPtr picture(loadPicture(file));
  set_color_conversion(conversion);
  return picture ? grab_font_from_bitmap(picture.get()) : nullptr;
}

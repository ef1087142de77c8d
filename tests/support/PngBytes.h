#pragma once
// PNG files built byte by byte, so tests can hand the loaders headers that
// promise what their data does not hold.
#include <cstdint>
#include <string>

struct PngHeader {
  std::uint32_t width = 1;
  std::uint32_t height = 1;
  int bitDepth = 8;
  int colourType = 6;  // RGBA
};

// A PNG with valid checksums whose image data is a few zero bytes, far
// fewer than its header declares for anything but the smallest sizes.
std::string pngBytes(const PngHeader& header);

void writeBytes(const std::string& path, const std::string& bytes);

#pragma once
// PNG and WAV files built byte by byte, so tests can hand the loaders
// headers that promise what their data does not hold.
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

// A RIFF WAVE file: a PCM format chunk (mono, 16 bits, 22050 Hz), then a
// data chunk declaring dataLength bytes and holding `held` zero bytes.
std::string wavBytes(std::uint32_t dataLength, std::uint32_t held);

void writeBytes(const std::string& path, const std::string& bytes);

#include "tests/support/FileBytes.h"

#include <zlib.h>

#include <fstream>

namespace {

void putBigEndian(std::string& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

void putChunk(std::string& out, const char* type, const std::string& data) {
  putBigEndian(out, static_cast<std::uint32_t>(data.size()));
  std::string body = std::string(type, 4) + data;
  out += body;
  putBigEndian(out, static_cast<std::uint32_t>(
                        crc32(0, reinterpret_cast<const Bytef*>(body.data()), body.size())));
}

std::string deflated(const std::string& raw) {
  uLongf size = compressBound(raw.size());
  std::string out(size, '\0');
  compress(reinterpret_cast<Bytef*>(&out[0]), &size, reinterpret_cast<const Bytef*>(raw.data()),
           raw.size());
  out.resize(size);
  return out;
}

}  // namespace

std::string pngBytes(const PngHeader& header) {
  std::string png = "\x89PNG\r\n\x1a\n";
  std::string fields;
  putBigEndian(fields, header.width);
  putBigEndian(fields, header.height);
  fields += static_cast<char>(header.bitDepth);
  fields += static_cast<char>(header.colourType);
  fields += std::string(3, '\0');  // compression, filter, no interlace
  putChunk(png, "IHDR", fields);
  putChunk(png, "IDAT", deflated(std::string(10, '\0')));
  putChunk(png, "IEND", "");
  return png;
}

std::string wavBytes(std::uint32_t dataLength, std::uint32_t held) {
  auto little = [](std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  std::string body = "WAVEfmt ";
  little(body, 16, 4);
  little(body, 1, 2);          // PCM
  little(body, 1, 2);          // mono
  little(body, 22050, 4);      // samples a second
  little(body, 22050 * 2, 4);  // bytes a second
  little(body, 2, 2);          // bytes a frame
  little(body, 16, 2);         // bits a sample
  body += "data";
  little(body, dataLength, 4);
  body += std::string(held, '\0');
  std::string wav = "RIFF";
  little(wav, static_cast<std::uint32_t>(body.size()), 4);
  return wav + body;
}

void writeBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

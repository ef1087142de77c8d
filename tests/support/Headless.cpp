#include "tests/support/Headless.h"

#include <loadpng.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

void ensureHeadlessAllegro() {
  static bool up = false;
  if (up) return;
  if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
    throw std::runtime_error("install_allegro(SYSTEM_NONE) failed");
  }
  set_color_depth(32);
  register_png_file_type();
  set_alpha_blender();
  up = true;
}

MediaTree::MediaTree() {
  ensureHeadlessAllegro();
  std::string pattern = (fs::temp_directory_path() / "pwe-test-XXXXXX").string();
  if (mkdtemp(&pattern[0]) == nullptr) throw std::runtime_error("mkdtemp failed");
  root_ = pattern;
  previous_ = fs::current_path().string();
  fs::current_path(root_);
}

MediaTree::~MediaTree() {
  std::error_code ignored;
  fs::current_path(previous_, ignored);
  fs::remove_all(root_, ignored);
}

void MediaTree::makeDirectory(const std::string& path) { fs::create_directories(root_ + "/" + path); }

void MediaTree::remove(const std::string& path) { fs::remove_all(root_ + "/" + path); }

void MediaTree::makeFifo(const std::string& path) {
  const fs::path full = fs::path(root_) / path;
  fs::remove_all(full);
  fs::create_directories(full.parent_path());
  if (mkfifo(full.c_str(), 0600) != 0) throw std::runtime_error("mkfifo failed: " + full.string());
}

std::string MediaTree::copyShippedMedia() {
  const char* source = std::getenv("PWE_SOURCE_DIR");
  if (source == nullptr) return "";
  fs::copy(fs::path(source) / "media", fs::path(root_) / "media", fs::copy_options::recursive);
  set_config_file("media/pwe.cfg");
  return source;
}

void MediaTree::writeText(const std::string& path, const std::string& content) {
  fs::path full = fs::path(root_) / path;
  fs::create_directories(full.parent_path());
  std::ofstream out(full, std::ios::binary);
  out << content;
}

void MediaTree::writePng(const std::string& path, int width, int height,
                         const std::function<int(int, int)>& colour) {
  fs::path full = fs::path(root_) / path;
  fs::create_directories(full.parent_path());
  BITMAP* bitmap = create_bitmap_ex(32, width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) putpixel(bitmap, x, y, colour(x, y));
  }
  int result = save_png(full.string().c_str(), bitmap, nullptr);
  destroy_bitmap(bitmap);
  if (result != 0) throw std::runtime_error("save_png failed: " + full.string());
}

void MediaTree::writeSolidPng(const std::string& path, int width, int height, int r, int g,
                              int b, int a) {
  int value = makeacol32(r, g, b, a);
  writePng(path, width, height, [value](int, int) { return value; });
}

namespace {
void put16(std::ofstream& out, unsigned v) {
  out.put(static_cast<char>(v & 0xFF));
  out.put(static_cast<char>((v >> 8) & 0xFF));
}
void put32(std::ofstream& out, unsigned v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}
}  // namespace

void MediaTree::writeWav(const std::string& path, int sampleCount) {
  fs::path full = fs::path(root_) / path;
  fs::create_directories(full.parent_path());
  std::ofstream out(full, std::ios::binary);
  const unsigned rate = 22050;
  const unsigned dataBytes = static_cast<unsigned>(sampleCount) * 2;
  out.write("RIFF", 4);
  put32(out, 36 + dataBytes);
  out.write("WAVEfmt ", 8);
  put32(out, 16);
  put16(out, 1);         // PCM
  put16(out, 1);         // mono
  put32(out, rate);
  put32(out, rate * 2);  // bytes per second
  put16(out, 2);         // block align
  put16(out, 16);        // bits per sample
  out.write("data", 4);
  put32(out, dataBytes);
  for (int i = 0; i < sampleCount; ++i) put16(out, static_cast<unsigned>((i % 64) * 256) & 0xFFFF);
}

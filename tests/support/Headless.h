#pragma once
// Test support: Allegro without a display, and small media trees built in a
// temporary directory that the test runs in.
#include <allegro.h>

#include <functional>
#include <string>

// Brings Allegro up once per process under SYSTEM_NONE at 32 bits per
// pixel, with PNG loading and the alpha blender, as start-up would.
void ensureHeadlessAllegro();

// A temporary directory made the working directory for its lifetime; the
// previous working directory comes back and the tree is removed afterwards.
class MediaTree {
 public:
  MediaTree();
  ~MediaTree();
  MediaTree(const MediaTree&) = delete;
  MediaTree& operator=(const MediaTree&) = delete;

  const std::string& root() const { return root_; }

  // Paths are relative to the tree's root; parent directories are created.
  void writeText(const std::string& path, const std::string& content);
  // A 32-bit PNG whose pixel (x, y) is colour(x, y), an Allegro makeacol value.
  void writePng(const std::string& path, int width, int height,
                const std::function<int(int, int)>& colour);
  // A PNG of one colour: makeacol(r, g, b, a) everywhere.
  void writeSolidPng(const std::string& path, int width, int height, int r, int g, int b,
                     int a = 255);
  // A 16-bit mono WAV of the given number of samples (a quiet sawtooth).
  void writeWav(const std::string& path, int sampleCount = 200);
  void makeDirectory(const std::string& path);
  // A FIFO with no writer in place of whatever path held: opening it for
  // reading the usual way waits for ever.
  void makeFifo(const std::string& path);
  void remove(const std::string& path);
  // Copies the repository's media tree in and selects its pwe.cfg; the
  // repository's path (PWE_SOURCE_DIR), or empty when that is not set.
  std::string copyShippedMedia();

 private:
  std::string root_;
  std::string previous_;
};

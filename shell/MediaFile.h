#pragma once
// A file the engine reads, opened the one way every loader opens one: only a
// regular file opens, and opening never waits. A FIFO in place of a level or
// a picture would hold the program in open() until some other program wrote
// to it; a device would feed it without end. Text readers take the file as a
// stream, Allegro's loaders as a packfile over the same bytes, so nothing
// opens the path a second time (where it could have been swapped for a FIFO
// since).
#include <allegro.h>

#include <istream>
#include <memory>
#include <streambuf>
#include <string>

class MediaFile {
 public:
  explicit MediaFile(const std::string& path);
  ~MediaFile();
  MediaFile(const MediaFile&) = delete;
  MediaFile& operator=(const MediaFile&) = delete;

  // False when the file is missing, cannot be read or is not a regular file;
  // every read of the stream then fails.
  bool isOpen() const { return buffer_ != nullptr; }
  // A special file stands at the path (a FIFO, a device, a socket): it was
  // refused without being opened. A directory counts as unreadable.
  bool isSpecial() const { return special_; }
  // Why the file cannot be used, as it ends a sentence naming the file:
  // empty when it is open.
  std::string problem() const;

  std::istream& stream() { return stream_; }
  // The whole file from its first byte, for the small text files (settings,
  // recordings) that are taken into memory whole. False, with text empty,
  // when it holds more than maxBytes: its size says so before a byte is
  // read, and a file grown since is not read past maxBytes + 1. What cannot
  // be read ends the text early, as it ends the stream.
  bool readWhole(std::string& text, long maxBytes);
  // Back to the first byte, for a loader after a look at the header.
  void rewind();
  // The file for an Allegro loader (load_png_pf, load_wav_pf), reading on
  // from where the stream stands; owned by this. Null when not open.
  PACKFILE* packfile();

 private:
  std::unique_ptr<std::streambuf> buffer_;
  std::istream stream_;
  PACKFILE* packfile_ = nullptr;
  bool special_ = false;
};

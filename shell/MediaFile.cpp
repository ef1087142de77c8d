#include "shell/MediaFile.h"

#include <ext/stdio_filebuf.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "shell/RegularFile.h"

namespace {

using FileBuffer = __gnu_cxx::stdio_filebuf<char>;
using Traits = std::char_traits<char>;

std::streambuf* bufferOf(void* userdata) { return static_cast<std::streambuf*>(userdata); }

// Allegro's packfile operations on the stream's buffer. The file is only
// read; closing is left to MediaFile.
int packClose(void*) { return 0; }
int packGetc(void* userdata) { return bufferOf(userdata)->sbumpc(); }
int packUngetc(int c, void* userdata) {
  return bufferOf(userdata)->sputbackc(Traits::to_char_type(c));
}
long packRead(void* bytes, long count, void* userdata) {
  return count <= 0 ? 0 : static_cast<long>(bufferOf(userdata)->sgetn(static_cast<char*>(bytes), count));
}
int packPutc(int, void*) { return EOF; }
long packWrite(const void*, long, void*) { return 0; }
// Allegro only ever seeks forwards, from where it stands.
int packSeek(void* userdata, int offset) {
  const auto moved = bufferOf(userdata)->pubseekoff(offset, std::ios::cur, std::ios::in);
  return moved == std::streampos(std::streamoff(-1)) ? -1 : 0;
}
// True at the end already, before a read has gone past it, as Allegro's own
// files answer.
int packEof(void* userdata) { return Traits::eq_int_type(bufferOf(userdata)->sgetc(), Traits::eof()); }
int packError(void*) { return 0; }

const PACKFILE_VTABLE packOperations = {packClose, packGetc, packUngetc, packRead, packPutc,
                                        packWrite, packSeek,  packEof,    packError};

}  // namespace

MediaFile::MediaFile(const std::string& path) : stream_(nullptr) {
  const int fd = openRegularFile(path);
  if (fd < 0) {
    special_ = errno == ENXIO;
    return;
  }
  auto buffer = std::make_unique<FileBuffer>(fd, std::ios::in);
  if (!buffer->is_open()) {
    close(fd);
    return;
  }
  buffer_ = std::move(buffer);
  stream_.rdbuf(buffer_.get());
}

MediaFile::~MediaFile() {
  if (packfile_ != nullptr) pack_fclose(packfile_);
}

std::string MediaFile::problem() const {
  if (isOpen()) return "";
  return special_ ? "is not a regular file" : "cannot be read";
}

void MediaFile::rewind() {
  if (!isOpen()) return;
  stream_.clear();
  stream_.seekg(0);
}

bool MediaFile::readWhole(std::string& text, long maxBytes) {
  text.clear();
  if (!isOpen()) return true;
  const std::streamoff size = buffer_->pubseekoff(0, std::ios::end, std::ios::in);
  if (size > maxBytes) return false;
  rewind();
  if (size > 0) text.reserve(static_cast<size_t>(size));
  char chunk[1 << 16];
  while (static_cast<long>(text.size()) <= maxBytes) {
    const long room = maxBytes + 1 - static_cast<long>(text.size());
    const long want = std::min(static_cast<long>(sizeof chunk), room);
    stream_.read(chunk, want);
    text.append(chunk, static_cast<size_t>(stream_.gcount()));
    if (stream_.gcount() < want) break;
  }
  if (static_cast<long>(text.size()) <= maxBytes) return true;
  text.clear();
  return false;
}

PACKFILE* MediaFile::packfile() {
  if (isOpen() && packfile_ == nullptr) packfile_ = pack_fopen_vtable(&packOperations, buffer_.get());
  return packfile_;
}

#include "graphics/Animation.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <utility>

#include "graphics/AlphaSprite.h"
#include "graphics/AnimationFormat.h"
#include "graphics/ImageFile.h"
#include "shell/Fatal.h"
#include "shell/Log.h"
#include "shell/MediaFile.h"
#include "shell/MediaOverlay.h"
#include "shell/Utf8.h"

namespace {

enum class Token { number, missing, notNumber, outOfRange };

// The whole token must be a decimal integer within [low, high]: "6x" and
// "3.5" are refused rather than read as 6 and 3.
Token readInt(std::istream& in, long long low, long long high, std::string& text, int& value) {
  if (!(in >> text)) return Token::missing;
  const char* start = text.c_str();
  char* end = nullptr;
  errno = 0;
  long long parsed = std::strtoll(start, &end, 10);
  if (end == start || *end != '\0') return Token::notNumber;
  if (errno == ERANGE || parsed < low || parsed > high) return Token::outOfRange;
  value = static_cast<int>(parsed);
  return Token::number;
}

[[noreturn]] void malformed(const std::string& path, const std::string& problem) {
  dataFailure(formatText("Error reading %s: %s.", path.c_str(), problem.c_str()));
}

// A fresh bitmap holding the same pixels as source, so copies never share
// images. Clearing to the mask colour first keeps transparent pixels exact.
BITMAP* duplicateFrame(BITMAP* source) {
  int sourceDepth = bitmap_color_depth(source);
  // 256-colour frames are expanded to the screen depth by draw_sprite.
  int depth = sourceDepth == 8 ? get_color_depth() : sourceDepth;
  BITMAP* copy = create_bitmap_ex(depth, source->w, source->h);
  clear_to_color(copy, makeacol_depth(depth, 255, 0, 255, 0));
  draw_sprite(copy, source, 0, 0);
  return copy;
}

}  // namespace

Animation::Animation() = default;

Animation::Animation(Animation&& other) noexcept
    : frameCount_(std::exchange(other.frameCount_, 0)),
      frameIndex_(std::exchange(other.frameIndex_, 0)),
      frameTicks_(std::exchange(other.frameTicks_, 0)),
      frames_(std::exchange(other.frames_, {})),
      durations_(std::exchange(other.durations_, {})) {}

Animation& Animation::operator=(Animation&& other) noexcept {
  if (this == &other) return *this;
  frameCount_ = std::exchange(other.frameCount_, 0);
  frameIndex_ = std::exchange(other.frameIndex_, 0);
  frameTicks_ = std::exchange(other.frameTicks_, 0);
  frames_ = std::exchange(other.frames_, {});
  durations_ = std::exchange(other.durations_, {});
  return *this;
}

Animation::Animation(const std::string& baseDir, const std::string& name) {
  std::string path = mediaPath(baseDir + name + ".anm");
  MediaFile file(path);
  if (!file.isOpen()) dataFailure(formatText("Error opening %s.", path.c_str()));
  std::istream& in = file.stream();
  log_message("Reading %s.anm", name.c_str());

  std::string frameDir;
  if (!(in >> frameDir)) {
    // A file that opened but cannot be read (a failing disk) is as
    // unusable as one that did not open.
    if (in.bad()) dataFailure(formatText("Error opening %s.", path.c_str()));
    malformed(path, "no frame directory");
  }
  std::string token;
  int count = 0;
  switch (readInt(in, AnimationFormat::minFrames, AnimationFormat::maxFrames, token, count)) {
    case Token::number:
      break;
    case Token::missing:
      malformed(path, "no frame count");
    case Token::notNumber:
      malformed(path, formatText("frame count \"%s\" is not a number", token.c_str()));
    case Token::outOfRange:
      malformed(path, AnimationFormat::countProblem(token));
  }
  // Checked once the count is known, so a file that is garbage throughout
  // is still reported by its first missing piece.
  if (!wellFormedUtf8(frameDir)) malformed(path, "the frame directory is not UTF-8 text");
  log_message("Loading %d frames from %s%s directory", count, baseDir.c_str(), frameDir.c_str());

  frames_.reserve(count);
  durations_.reserve(count);
  for (int i = 0; i < count; ++i) {
    std::string framePath = mediaPath(AnimationFormat::framePath(baseDir, frameDir, i));
    BITMAP* frame = loadImageFile(framePath);
    if (frame == nullptr) dataFailure(formatText("Error loading \"%s\".", framePath.c_str()));
    frames_.emplace_back(frame);
    int duration = 0;
    switch (readInt(in, AnimationFormat::minDuration, AnimationFormat::maxDuration, token,
                    duration)) {
      case Token::number:
        break;
      case Token::missing:
        malformed(path, formatText("no duration for frame %d", i));
      case Token::notNumber:
        malformed(path,
                  formatText("duration \"%s\" of frame %d is not a number", token.c_str(), i));
      case Token::outOfRange:
        malformed(path, formatText("duration %s of frame %d is out of range", token.c_str(), i));
    }
    durations_.push_back(duration);
    log_message("Frame %d loaded.", i);
  }
  frameCount_ = count;
  frameIndex_ = 0;
  frameTicks_ = 0;
}

Animation::Animation(const Animation& other)
    : frameCount_(other.frameCount_),
      frameIndex_(other.frameIndex_),
      frameTicks_(other.frameTicks_),
      durations_(other.durations_) {
  frames_.reserve(other.frames_.size());
  for (const BitmapPtr& frame : other.frames_) frames_.emplace_back(duplicateFrame(frame.get()));
}

Animation& Animation::operator=(const Animation& other) {
  if (this == &other) return *this;
  Animation copy(other);
  *this = std::move(copy);
  return *this;
}

void Animation::advance() {
  if (frameCount_ == 0) return;
  ++frameTicks_;
  if (frameTicks_ < durations_[frameIndex_]) return;
  frameTicks_ = 0;
  frameIndex_ = (frameIndex_ + 1) % frameCount_;
}

void Animation::seek(int frameIndex, int frameTicks) {
  if (frameIndex < 0 || frameIndex >= frameCount_) return;
  frameIndex_ = frameIndex;
  frameTicks_ = frameTicks;
}

void Animation::draw(BITMAP* target, int x, int y) const {
  BITMAP* frame = currentFrame();
  if (frame != nullptr) drawAlphaSprite(target, frame, x, y);
}

BITMAP* Animation::currentFrame() const {
  return frameCount_ == 0 ? nullptr : frames_[frameIndex_].get();
}

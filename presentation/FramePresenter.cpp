#include "presentation/FramePresenter.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "shell/Fatal.h"

namespace {

// Game rows scaled into the strip before it goes to the display in one
// blit: few enough to keep the strip small at any scale.
const int stripRows = 8;

// Each block sent costs the display a fixed price besides its pixels
// (locking, a request to the display server), about that of this many
// display pixels of a small block: blocks that would waste no more than
// this by going as their bounding box go as one.
const long long joinSlack = 2048;
// Past this many blocks a frame is mostly new, and joining them all
// against each other would cost more than it saves.
const size_t joinLimit = 32;

int bytesPerPixel(BITMAP* bitmap) { return (bitmap_color_depth(bitmap) + 7) / 8; }

const unsigned char* pixelAt(BITMAP* bitmap, int x, int y, int bytes) {
  return bitmap->line[y] + static_cast<size_t>(x) * static_cast<size_t>(bytes);
}

template <int Bytes>
void widenRow(const unsigned char* from, unsigned char* to, int count, int scale) {
  for (int i = 0; i < count; ++i, from += Bytes) {
    for (int k = 0; k < scale; ++k, to += Bytes) std::memcpy(to, from, Bytes);
  }
}

// One row of count pixels, each repeated scale times.
void widen(const unsigned char* from, unsigned char* to, int count, int scale, int bytes) {
  switch (bytes) {
    case 1: widenRow<1>(from, to, count, scale); break;
    case 2: widenRow<2>(from, to, count, scale); break;
    case 3: widenRow<3>(from, to, count, scale); break;
    default: widenRow<4>(from, to, count, scale); break;
  }
}

bool rowsEqual(BITMAP* a, BITMAP* b, int x, int y, int w, int bytes) {
  return std::memcmp(pixelAt(a, x, y, bytes), pixelAt(b, x, y, bytes),
                     static_cast<size_t>(w) * static_cast<size_t>(bytes)) == 0;
}

// The first and last columns of a row, known to differ, where a and b
// differ: found byte by byte without a call per pixel.
void differingColumns(BITMAP* a, BITMAP* b, int x, int y, int w, int bytes, int& left,
                      int& right) {
  const unsigned char* p = pixelAt(a, x, y, bytes);
  const unsigned char* q = pixelAt(b, x, y, bytes);
  const std::ptrdiff_t length = static_cast<std::ptrdiff_t>(w) * bytes;
  std::ptrdiff_t first = 0;
  while (first < length && p[first] == q[first]) ++first;
  std::ptrdiff_t last = length - 1;
  while (last > first && p[last] == q[last]) --last;
  left = x + static_cast<int>(first / bytes);
  right = x + static_cast<int>(last / bytes);
}

}  // namespace

void FramePresenter::setLayout(const PictureLayout& layout) {
  layout_ = layout;
  layout_.scale = std::max(1, layout.scale);
  unknown_ = true;
}

void FramePresenter::touch(int x, int y, int w, int h) {
  if (w > 0 && h > 0) touched_.push_back({x, y, w, h});
}

void FramePresenter::touchAll() { whole_ = true; }

bool FramePresenter::clip(FrameArea& area, const BITMAP* frame) const {
  const long long left = std::max<long long>(area.x, 0);
  const long long top = std::max<long long>(area.y, 0);
  const long long right = std::min<long long>(static_cast<long long>(area.x) + area.w, frame->w);
  const long long bottom =
      std::min<long long>(static_cast<long long>(area.y) + area.h, frame->h);
  if (right <= left || bottom <= top) return false;
  area = {static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
          static_cast<int>(bottom - top)};
  return true;
}

// A figure's area before and after a move overlap, as do a panel's and
// the figure under it: each group becomes its bounding box, so that no
// row is compared twice and each goes to the display in one piece.
void FramePresenter::joinOverlapping(const BITMAP* frame) {
  std::vector<FrameArea>& joined = joined_;
  joined.clear();
  for (FrameArea area : touched_) {
    if (!clip(area, frame)) continue;
    for (size_t i = 0; i < joined.size();) {
      if (overlap(area, joined[i])) {
        area = boundingBox(area, joined[i]);
        joined.erase(joined.begin() + static_cast<std::ptrdiff_t>(i));
        i = 0;  // the larger box may now meet one already passed
      } else {
        ++i;
      }
    }
    joined.push_back(area);
  }
  touched_.swap(joined);
}

void FramePresenter::show(BITMAP* frame, BITMAP* display) {
  const bool sameFrame = shown_ && shown_->w == frame->w && shown_->h == frame->h &&
                         bitmap_color_depth(shown_.get()) == bitmap_color_depth(frame);
  if (unknown_ || display != lastDisplay_ || !sameFrame) {
    showAll(frame, display);
  } else {
    for (FrameArea area : forced_) {
      if (!clip(area, frame)) continue;
      send(frame, area.x, area.y, area.w, area.h, area.x, area.y, display);
      if (narrowing()) blit(frame, shown_.get(), area.x, area.y, area.x, area.y, area.w, area.h);
    }
    if (whole_) touched_.assign(1, {0, 0, frame->w, frame->h});
    joinOverlapping(frame);
    if (narrowing()) {
      for (const FrameArea& area : touched_) sendChanged(frame, area);
    } else {
      outgoing_ = touched_;
    }
    sendOutgoing(frame, display);
  }
  touched_.clear();
  forced_.clear();
  whole_ = false;
  lastDisplay_ = display;
}

// Unscaled, a touched area costs no more to send than to compare with
// the copy, and keeping the copy up to date costs as much again: the
// areas go as they are. Scaled, each game pixel sent is scale x scale on
// the display, and sending only what differs pays.
bool FramePresenter::narrowing() const { return layout_.scale > 1; }

void FramePresenter::showAll(BITMAP* frame, BITMAP* display) {
  const int w = frame->w;
  const int h = frame->h;
  // Borders around a centred or undersized picture are black.
  const int s = layout_.scale;
  if (layout_.left > 0 || layout_.top > 0 || w * s < display->w || h * s < display->h) {
    clear_bitmap(display);
  }
  send(frame, 0, 0, w, h, 0, 0, display);
  if (!shown_ || shown_->w != w || shown_->h != h ||
      bitmap_color_depth(shown_.get()) != bitmap_color_depth(frame)) {
    shown_.reset(create_bitmap_ex(bitmap_color_depth(frame), w, h));
  }
  // Without a copy to compare with, every show sends the whole frame.
  // Unscaled, the copy only stands for the frame's size and depth.
  unknown_ = !shown_;
  if (shown_ && narrowing()) blit(frame, shown_.get(), 0, 0, 0, 0, w, h);
}

// Runs of rows that differ from the shown copy, each narrowed to the
// columns that differ in it, go into the copy and out to be sent.
void FramePresenter::sendChanged(BITMAP* frame, const FrameArea& touched) {
  FrameArea area = touched;
  if (!clip(area, frame)) return;
  BITMAP* shown = shown_.get();
  const int bytes = bytesPerPixel(frame);
  const int end = area.y + area.h;
  int y = area.y;
  while (y < end) {
    while (y < end && rowsEqual(frame, shown, area.x, y, area.w, bytes)) ++y;
    if (y == end) return;
    const int first = y;
    int low = area.x + area.w - 1;
    int high = area.x;
    for (; y < end && !rowsEqual(frame, shown, area.x, y, area.w, bytes); ++y) {
      int left = 0;
      int right = 0;
      differingColumns(frame, shown, area.x, y, area.w, bytes, left, right);
      low = std::min(low, left);
      high = std::max(high, right);
    }
    const int w = high - low + 1;
    outgoing_.push_back({low, first, w, y - first});
    blit(frame, shown, low, first, low, first, w, y - first);
  }
}

// Outside the blocks that differ the frame equals the display, so a
// bounding box sends nothing wrong, only some pixels again.
void FramePresenter::joinOutgoing() {
  if (outgoing_.size() < 2 || outgoing_.size() > joinLimit) return;
  const long long s = layout_.scale;
  const long long slack = joinSlack / (s * s);
  const auto size = [](const FrameArea& a) { return static_cast<long long>(a.w) * a.h; };
  for (size_t i = 0; i < outgoing_.size(); ++i) {
    for (size_t j = i + 1; j < outgoing_.size();) {
      const FrameArea box = boundingBox(outgoing_[i], outgoing_[j]);
      if (size(box) > size(outgoing_[i]) + size(outgoing_[j]) + slack) {
        ++j;
        continue;
      }
      outgoing_[i] = box;
      outgoing_.erase(outgoing_.begin() + static_cast<std::ptrdiff_t>(j));
      j = i + 1;  // the larger box may now take one already passed
    }
  }
}

void FramePresenter::sendOutgoing(BITMAP* frame, BITMAP* display) {
  joinOutgoing();
  for (const FrameArea& a : outgoing_) send(frame, a.x, a.y, a.w, a.h, a.x, a.y, display);
  blocksSent_ += static_cast<long long>(outgoing_.size());
  outgoing_.clear();
}

void FramePresenter::overlay(BITMAP* picture, int x, int y, BITMAP* display) {
  send(picture, 0, 0, picture->w, picture->h, x, y, display);
  forced_.push_back({x, y, picture->w, picture->h});
}

// A w x h block of source at (sx, sy) onto the display where game pixel
// (dx, dy) is shown. Scaled blocks are built a few rows at a time.
void FramePresenter::send(BITMAP* source, int sx, int sy, int w, int h, int dx, int dy,
                          BITMAP* display) {
  pixelsSent_ += static_cast<long long>(w) * h;
  const int s = layout_.scale;
  const int x = layout_.left + dx * s;
  const int y = layout_.top + dy * s;
  if (s == 1) {
    blit(source, display, sx, sy, x, y, w, h);
    return;
  }
  const int depth = bitmap_color_depth(source);
  if (!strip_ || strip_->w < w * s || bitmap_color_depth(strip_.get()) != depth) {
    const int stripWidth = std::max(w * s, strip_ ? strip_->w : 0);
    strip_.reset(create_bitmap_ex(depth, stripWidth, stripRows * s));
    if (!strip_) dataFailure("Error creating main game buffer.");
  }
  const int bytes = bytesPerPixel(source);
  const size_t rowBytes = static_cast<size_t>(w) * s * bytes;
  for (int r = 0; r < h; r += stripRows) {
    const int rows = std::min(stripRows, h - r);
    for (int i = 0; i < rows; ++i) {
      unsigned char* wide = strip_->line[i * s];
      widen(pixelAt(source, sx, sy + r + i, bytes), wide, w, s, bytes);
      for (int k = 1; k < s; ++k) std::memcpy(strip_->line[i * s + k], wide, rowBytes);
    }
    blit(strip_.get(), display, 0, 0, x, y + r * s, w * s, rows * s);
  }
}

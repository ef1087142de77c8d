#include "presentation/KeptPicture.h"

bool KeptPicture::changed(const View& view) const {
  if (!onBuffer_ || stale(view)) return true;
  const FrameArea& p = view.place;
  return p.x != place_.x || p.y != place_.y || p.w != place_.w || p.h != place_.h;
}

KeptPicture::View figureView(BITMAP* picture, FigureCorner at, std::uint64_t owner) {
  if (picture == nullptr) return {};
  return {true,
          {at.left, at.top, picture->w, picture->h},
          {reinterpret_cast<std::intptr_t>(picture), static_cast<std::intptr_t>(owner)}};
}

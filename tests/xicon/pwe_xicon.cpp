// Writes the icon a window hands the window manager (its WM_HINTS icon
// pixmap and mask) to standard output as a PAM picture, RGBA, every pixel
// outside the mask (0, 0, 0, 0), so that it can be compared with a PNG.
// Usage: pwe-xicon WINDOW-ID (decimal or 0x hex); exit 1 when it has none.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// The lowest bit set in a visual's colour mask, and the channel's value
// scaled to 8 bits.
int channel(unsigned long pixel, unsigned long mask) {
  if (mask == 0) return 0;
  int shift = 0;
  while (((mask >> shift) & 1) == 0) ++shift;
  const unsigned long top = mask >> shift;
  return static_cast<int>(((pixel & mask) >> shift) * 255 / top);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: pwe-xicon WINDOW-ID\n");
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "pwe-xicon: cannot open the display\n");
    return 1;
  }
  const Window window = static_cast<Window>(std::strtoul(argv[1], nullptr, 0));
  XWMHints* hints = XGetWMHints(display, window);
  if (hints == nullptr || (hints->flags & IconPixmapHint) == 0) {
    std::fprintf(stderr, "pwe-xicon: the window has no icon\n");
    return 1;
  }
  Window root;
  int x, y;
  unsigned width, height, border, depth;
  XGetGeometry(display, hints->icon_pixmap, &root, &x, &y, &width, &height, &border, &depth);
  XImage* picture = XGetImage(display, hints->icon_pixmap, 0, 0, width, height, AllPlanes, ZPixmap);
  XImage* mask = (hints->flags & IconMaskHint) != 0
                     ? XGetImage(display, hints->icon_mask, 0, 0, width, height, 1, XYPixmap)
                     : nullptr;
  const Visual* visual = DefaultVisual(display, DefaultScreen(display));
  std::printf("P7\nWIDTH %u\nHEIGHT %u\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n", width,
              height);
  std::vector<unsigned char> row(width * 4);
  for (unsigned r = 0; r < height; ++r) {
    for (unsigned c = 0; c < width; ++c) {
      unsigned char* out = &row[c * 4];
      const bool shown = mask == nullptr || XGetPixel(mask, c, r) != 0;
      const unsigned long pixel = XGetPixel(picture, c, r);
      out[0] = shown ? channel(pixel, visual->red_mask) : 0;
      out[1] = shown ? channel(pixel, visual->green_mask) : 0;
      out[2] = shown ? channel(pixel, visual->blue_mask) : 0;
      out[3] = shown ? 255 : 0;
    }
    std::fwrite(row.data(), 1, row.size(), stdout);
  }
  XDestroyImage(picture);
  if (mask != nullptr) XDestroyImage(mask);
  XFree(hints);
  XCloseDisplay(display);
  return 0;
}

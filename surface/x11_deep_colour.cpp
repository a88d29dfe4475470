// SPDX-License-Identifier: MIT
#include "surface/x11_deep_colour.hpp"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "surface/run_time_error.hpp"

namespace testcard {
namespace {

constexpr int kDeepColourDepth = 30;

int LowestBit(unsigned long mask) {
  int shift = 0;
  while (mask != 0 && (mask & 1) == 0) {
    mask >>= 1;
    ++shift;
  }
  return shift;
}

// One channel's 8-bit value at its place in a 10-bit pixel. v × 1023 / 255
// never falls exactly halfway, so adding half the divisor rounds it.
std::array<std::uint32_t, 256> ChannelTable(unsigned long mask) {
  std::array<std::uint32_t, 256> table{};
  const int shift = LowestBit(mask);
  const unsigned long top = mask >> shift;
  for (unsigned v = 0; v < 256; ++v) {
    table[v] = static_cast<std::uint32_t>(((v * top + 127) / 255) << shift);
  }
  return table;
}

}  // namespace

std::unique_ptr<X11DeepColour> X11DeepColour::For(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) {
    return nullptr;
  }
  Display* display = info.info.x11.display;
  XWindowAttributes attributes;
  if (XGetWindowAttributes(display, info.info.x11.window, &attributes) == 0 ||
      attributes.depth != kDeepColourDepth ||
      // SDL prefers DirectColor where there is one, with a colour map that
      // passes every value through unchanged.
      (attributes.visual->c_class != TrueColor && attributes.visual->c_class != DirectColor)) {
    return nullptr;
  }
  std::unique_ptr<X11DeepColour> output(new X11DeepColour);
  output->display_ = display;
  output->window_ = info.info.x11.window;
  output->gc_ = XCreateGC(display, info.info.x11.window, 0, nullptr);
  output->masks_[0] = attributes.visual->red_mask;
  output->masks_[1] = attributes.visual->green_mask;
  output->masks_[2] = attributes.visual->blue_mask;
  return output;
}

X11DeepColour::~X11DeepColour() {
  if (gc_ != nullptr) XFreeGC(static_cast<Display*>(display_), static_cast<GC>(gc_));
}

void X11DeepColour::Show(const Canvas& picture) {
  auto* display = static_cast<Display*>(display_);
  XWindowAttributes attributes;
  if (XGetWindowAttributes(display, window_, &attributes) == 0) {
    throw RunTimeError(error_number::kWindowFailure, "Cannot read the window's size");
  }
  const int width = attributes.width;
  const int height = attributes.height;
  auto* pixels = static_cast<std::uint32_t*>(
      std::calloc(std::size_t(width) * std::size_t(height), sizeof(std::uint32_t)));
  if (pixels == nullptr) {
    throw RunTimeError(error_number::kOutOfMemory, "No memory for the window's picture");
  }
  // XDestroyImage frees the pixels with the image from here on.
  XImage* image =
      XCreateImage(display, attributes.visual, kDeepColourDepth, ZPixmap, 0,
                   reinterpret_cast<char*>(pixels), unsigned(width), unsigned(height), 32, 0);
  if (image == nullptr) {
    std::free(pixels);
    throw RunTimeError(error_number::kWindowFailure, "Cannot make an image of the picture");
  }
  // The pixels are written as native integers; Xlib reorders them for the
  // server if need be.
  image->byte_order = std::endian::native == std::endian::big ? MSBFirst : LSBFirst;
  const auto red = ChannelTable(masks_[0]);
  const auto green = ChannelTable(masks_[1]);
  const auto blue = ChannelTable(masks_[2]);
  for (int y = 0; y < std::min(height, picture.Height()); ++y) {
    const Colour* from = picture.Row(y).data();
    std::uint32_t* to = pixels + std::size_t(y) * std::size_t(width);
    for (int x = 0; x < std::min(width, picture.Width()); ++x) {
      const Colour c = from[x];
      to[x] = red[c & 0xFF] | green[c >> 8 & 0xFF] | blue[c >> 16 & 0xFF];
    }
  }
  XPutImage(display, window_, static_cast<GC>(gc_), image, 0, 0, 0, 0, unsigned(width),
            unsigned(height));
  XDestroyImage(image);
  XFlush(display);
}

}  // namespace testcard

// SPDX-License-Identifier: MIT
#include "surface/x11/x11_deep_colour.hpp"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <bit>
#include <cstdlib>

#include "surface/form/run_time_error.hpp"

namespace testcard {
namespace {

constexpr int kDeepColourDepth = 30;

// One channel's 8-bit value at its place in a 10-bit pixel. v × 1023 / 255
// never falls exactly halfway, so adding half the divisor rounds it.
std::array<std::uint32_t, 256> ChannelTable(unsigned long mask) {
  std::array<std::uint32_t, 256> table{};
  const int shift = mask == 0 ? 0 : std::countr_zero(mask);
  const unsigned long top = mask >> shift;
  for (unsigned v = 0; v < 256; ++v) {
    table[v] = static_cast<std::uint32_t>(((v * top + 127) / 255) << shift);
  }
  return table;
}

}  // namespace

std::unique_ptr<X11DeepColour> X11DeepColour::For(X11Display* display, X11Window window) {
  XWindowAttributes attributes;
  if (XGetWindowAttributes(display, window, &attributes) == 0 ||
      attributes.depth != kDeepColourDepth ||
      // SDL prefers DirectColor where there is one, with a colour map that
      // passes every value through unchanged.
      (attributes.visual->c_class != TrueColor && attributes.visual->c_class != DirectColor)) {
    return nullptr;
  }
  std::unique_ptr<X11DeepColour> output(new X11DeepColour);
  output->display_ = display;
  output->window_ = window;
  output->gc_ = XCreateGC(display, window, 0, nullptr);
  output->channels_ = {ChannelTable(attributes.visual->red_mask),
                       ChannelTable(attributes.visual->green_mask),
                       ChannelTable(attributes.visual->blue_mask)};
  return output;
}

X11DeepColour::~X11DeepColour() {
  if (gc_ != nullptr) XFreeGC(display_, static_cast<GC>(gc_));
}

void X11DeepColour::Show(const Canvas& picture) {
  XWindowAttributes attributes;
  if (XGetWindowAttributes(display_, window_, &attributes) == 0) {
    throw RunTimeError(error_number::kWindowFailure, "Cannot read the window's size");
  }
  const PixelSize size{attributes.width, attributes.height};
  auto* pixels = static_cast<std::uint8_t*>(
      std::malloc(std::size_t(size.width) * std::size_t(size.height) * sizeof(std::uint32_t)));
  if (pixels == nullptr) {
    throw RunTimeError(error_number::kOutOfMemory, "No memory for the window's picture");
  }
  // XDestroyImage frees the pixels with the image from here on.
  XImage* image = XCreateImage(display_, attributes.visual, kDeepColourDepth, ZPixmap, 0,
                               reinterpret_cast<char*>(pixels), unsigned(size.width),
                               unsigned(size.height), 32, 0);
  if (image == nullptr) {
    std::free(pixels);
    throw RunTimeError(error_number::kWindowFailure, "Cannot make an image of the picture");
  }
  // The pixels are written as native integers; Xlib reorders them for the
  // server if need be.
  image->byte_order = std::endian::native == std::endian::big ? MSBFirst : LSBFirst;
  const auto& [red, green, blue] = channels_;
  CopyPicture(picture, {pixels, size, std::size_t(size.width) * 4},
              [&](const Colour* from, std::uint8_t* row, int count) {
                auto* to = reinterpret_cast<std::uint32_t*>(row);
                for (int x = 0; x < count; ++x) {
                  const Colour c = from[x];
                  to[x] = red[RedOf(c)] | green[GreenOf(c)] | blue[BlueOf(c)];
                }
              });
  XPutImage(display_, window_, static_cast<GC>(gc_), image, 0, 0, 0, 0, unsigned(size.width),
            unsigned(size.height));
  XDestroyImage(image);
  XFlush(display_);
}

}  // namespace testcard

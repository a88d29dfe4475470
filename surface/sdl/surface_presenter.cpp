// SPDX-License-Identifier: MIT
#include "surface/sdl/surface_presenter.hpp"

#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "surface/form/run_time_error.hpp"
#include "surface/sdl/sdl_error.hpp"
#include "surface/window/populate_pages.hpp"

namespace testcard {
namespace {

void CopyInto(const Canvas& picture, const SDL_Surface& surface) {
  const std::uint32_t format = surface.format->format;
  const PixelBuffer buffer{static_cast<std::uint8_t*>(surface.pixels),
                           {surface.w, surface.h},
                           std::size_t(surface.pitch),
                           std::size_t(surface.format->BytesPerPixel)};
  if (format == SDL_PIXELFORMAT_XBGR8888) {  // the canvas's own layout
    return CopyPicture(picture, buffer, [](const Colour* from, std::uint8_t* to, int count) {
      std::copy(from, from + count, reinterpret_cast<Colour*>(to));
    });
  }
  if (format == SDL_PIXELFORMAT_XRGB8888 || format == SDL_PIXELFORMAT_ARGB8888) {
    // The usual X11 and Wayland layout: red and blue change places.
    return CopyPicture(picture, buffer, [](const Colour* from, std::uint8_t* to, int count) {
      auto* pixels = reinterpret_cast<std::uint32_t*>(to);
      for (int x = 0; x < count; ++x) {
        const Colour pixel = from[x];
        pixels[x] = 0xFF000000u | (pixel & 0xFF) << 16 | (pixel & 0xFF00) | (pixel >> 16 & 0xFF);
      }
    });
  }
  CopyPicture(picture, buffer, [&](const Colour* from, std::uint8_t* to, int count) {
    if (SDL_ConvertPixels(count, 1, SDL_PIXELFORMAT_XBGR8888, from,
                          count * static_cast<int>(sizeof(Colour)), format, to,
                          surface.pitch) != 0) {
      throw RunTimeError(error_number::kWindowFailure,
                         std::string("Cannot show the picture in this display's pixel format (") +
                             SDL_GetPixelFormatName(format) + "): " + SdlError());
    }
  });
}

}  // namespace

void SurfacePresenter::Show(const Canvas& picture) {
  SDL_Surface* surface = SDL_GetWindowSurface(window_);
  if (surface == nullptr) RaiseWindowFailure("Cannot reach the window's pixels");
  if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) {
    RaiseWindowFailure("Cannot reach the window's pixels");
  }
  if (surface->pixels != populated_) {
    PopulatePages(surface->pixels, std::size_t(surface->pitch) * std::size_t(surface->h));
    populated_ = surface->pixels;
  }
  CopyInto(picture, *surface);
  if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
  if (SDL_UpdateWindowSurface(window_) != 0) RaiseWindowFailure("Cannot show the picture");
}

}  // namespace testcard

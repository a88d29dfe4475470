// SPDX-License-Identifier: MIT
#include "surface/sdl_window.hpp"

#include <SDL.h>
#include <SDL_syswm.h>
#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif
#if defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#endif

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "surface/renderer_view.hpp"
#include "surface/run_time_error.hpp"
#include "surface/sdl_error.hpp"
#include "surface/video_driver.hpp"
#include "surface/window_icon.hpp"
#include "surface/x11_deep_colour.hpp"
#include "surface/x11_key_text.hpp"
#include "surface/x11_window_watch.hpp"

namespace testcard {
namespace {

constexpr int kPrimaryDisplay = 0;
constexpr int kIconSize = 16;

// Whole units of `to` for `value` units of `from`, rounded to nearest; the
// ratio of window units to device pixels, which is 1 unless the window
// system scales windows for a high-DPI display.
int Rescale(int value, int to, int from) {
  if (to == from || from <= 0) return value;
  return static_cast<int>((static_cast<long long>(value) * to + from / 2) / from);
}

// Copies the picture into the window's pixel buffer, pixel for pixel from
// the top-left corner; whatever the buffer has beyond the picture (should
// the window system not grant the size it reported) becomes black. Colour
// values are kept exactly; only their order in a pixel may change.
void CopyPicture(const Canvas& picture, SDL_Surface& surface) {
  const int width = std::min(picture.Width(), surface.w);
  const int height = std::min(picture.Height(), surface.h);
  const std::uint32_t format = surface.format->format;
  if (width < surface.w || height < surface.h) SDL_FillRect(&surface, nullptr, 0);
  for (int y = 0; y < height; ++y) {
    const Colour* from = picture.Row(y).data();
    auto* to = reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(surface.pixels) +
                                                std::size_t(y) * std::size_t(surface.pitch));
    if (format == SDL_PIXELFORMAT_XBGR8888) {  // the canvas's own layout
      std::copy(from, from + width, to);
    } else if (format == SDL_PIXELFORMAT_XRGB8888 || format == SDL_PIXELFORMAT_ARGB8888) {
      // The usual X11 and Wayland layout: red and blue change places.
      for (int x = 0; x < width; ++x) {
        const Colour pixel = from[x];
        to[x] = 0xFF000000u | (pixel & 0xFF) << 16 | (pixel & 0xFF00) | (pixel >> 16 & 0xFF);
      }
    } else if (SDL_ConvertPixels(width, 1, SDL_PIXELFORMAT_XBGR8888, from,
                                 width * static_cast<int>(sizeof(Colour)), format, to,
                                 surface.pitch) != 0) {
      throw RunTimeError(error_number::kWindowFailure,
                         std::string("Cannot show the picture in this display's pixel format (") +
                             SDL_GetPixelFormatName(format) + "): " + SdlError());
    }
  }
}

// Maps in the memory of a new window buffer with one call, before the picture
// is copied in: faulting its pages in one by one took longer than the copy.
// Only a hint; where the system cannot, the copy faults them in as before.
void PopulatePages(void* memory, std::size_t bytes) {
#if defined(__linux__)
  constexpr int kPopulateWrite = 23;  // MADV_POPULATE_WRITE, Linux 5.14 on
  const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  const auto start = reinterpret_cast<std::uintptr_t>(memory) / page * page;
  const auto end = reinterpret_cast<std::uintptr_t>(memory) + bytes;
  madvise(reinterpret_cast<void*>(start), end - start, kPopulateWrite);
#else
  (void)memory;
  (void)bytes;
#endif
}

// Whether a window manager runs: on X11 it announces itself on the root
// window (_NET_SUPPORTING_WM_CHECK); other window systems always manage.
bool ManagesWindows(SDL_Window* window) {
#if defined(SDL_VIDEO_DRIVER_X11)
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) {
    return true;
  }
  Display* display = info.info.x11.display;
  const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
  if (check == None) return false;
  Atom type = None;
  int format = 0;
  unsigned long items = 0;
  unsigned long remaining = 0;
  unsigned char* value = nullptr;
  const int status = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False,
                                        XA_WINDOW, &type, &format, &items, &remaining, &value);
  if (value != nullptr) XFree(value);
  return status == Success && type == XA_WINDOW && items == 1;
#else
  (void)window;
  return true;
#endif
}

}  // namespace

SdlWindow::SdlWindow() {
  // Ctrl+C and kill end the program the ordinary way, not as a close request.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // Device pixels, not scaled logical pixels, on every monitor of Windows.
  SDL_SetHint(SDL_HINT_WINDOWS_DPI_AWARENESS, "permonitorv2");
  // A test pattern that vanishes when another window takes the focus is no
  // help while adjusting the monitor.
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  ChooseVideoDriver();

  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    throw WindowUnavailable("cannot start the video system: " + SdlError());
  }
  // Where no display can be reached SDL falls back to drivers that draw into
  // memory only; a window there would run unseen and never get a key.
  const std::string driver = SDL_GetCurrentVideoDriver();
  if (driver == "offscreen" || driver == "dummy") {
    SDL_Quit();
    throw WindowUnavailable("no display to open a window on (SDL found only its \"" + driver +
                            "\" video driver, which shows nothing)");
  }
  // Where the window has a pixel buffer of its own (shared memory on X11) the
  // picture goes there, not through a 3D renderer: there is nothing to scale
  // or blend, and a renderer costs a graphics stack, hundreds of milliseconds
  // at start-up and copies of the picture in memory. SDL's Wayland driver has
  // no such buffer: there a renderer shows it (RendererView).
  const bool viaRenderer = driver == "wayland";
  if (!viaRenderer) SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_Rect display{};
  if (SDL_GetDisplayBounds(kPrimaryDisplay, &display) != 0) {
    const std::string reason = SdlError();
    SDL_Quit();
    throw WindowUnavailable("cannot find the primary display: " + reason);
  }
  window_ = SDL_CreateWindow("Form1", display.x, display.y, 640, 480,
                             SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS | SDL_WINDOW_ALLOW_HIGHDPI);
  if (window_ == nullptr) {
    const std::string reason = SdlError();
    Close();
    throw WindowUnavailable("cannot create the window: " + reason);
  }
  std::vector<IconPixel> icon = DrawWindowIcon(kIconSize);
  SDL_Surface* iconSurface = SDL_CreateRGBSurfaceWithFormatFrom(
      icon.data(), kIconSize, kIconSize, 32, kIconSize * 4, SDL_PIXELFORMAT_ABGR8888);
  if (iconSurface == nullptr) {
    const std::string reason = SdlError();
    Close();
    throw WindowUnavailable("cannot make the window icon: " + reason);
  }
  SDL_SetWindowIcon(window_, iconSurface);
  SDL_FreeSurface(iconSurface);
  // Key presses arrive as the characters they type (SDL_TEXTINPUT), on X11
  // control characters too.
  SDL_StartTextInput();
  StartX11KeyText();
  WatchX11Window(window_);
  if (viaRenderer) {
    try {
      view_ = std::make_unique<RendererView>(window_);
      view_->CoverOutput();
    } catch (...) {
      view_.reset();
      Close();
      throw;
    }
  }
}

SdlWindow::~SdlWindow() {
  Close();
}

void SdlWindow::Close() {
  view_.reset();
  if (window_ != nullptr) SDL_DestroyWindow(window_);
  window_ = nullptr;
  SDL_Quit();
}

PixelSize SdlWindow::PrimaryDisplaySize() const {
  // On Wayland the screen is the output the compositor gave the window.
  if (view_) return view_->OutputSize();
  SDL_DisplayMode mode{};
  if (SDL_GetDesktopDisplayMode(kPrimaryDisplay, &mode) != 0) {
    RaiseWindowFailure("Cannot read the screen size");
  }
  return {mode.w, mode.h};
}

PixelSize SdlWindow::ClientSize() const {
  if (view_) return view_->OutputSize();
  PixelSize size;
  SDL_GetWindowSizeInPixels(window_, &size.width, &size.height);
  return size;
}

PixelSize SdlWindow::Place(const PixelRect& client) {
  if (client.width < 1 || client.height < 1) {
    throw RunTimeError(error_number::kWindowFailure, "Cannot make a window of " +
                                                         std::to_string(client.width) + " x " +
                                                         std::to_string(client.height) + " pixels");
  }
  if (view_) {
    // A Wayland window cannot place itself: it covers its whole output, and
    // the picture, from the top-left corner, what it asked for of that.
    const PixelSize output = view_->OutputSize();
    return {std::min(client.width, output.width), std::min(client.height, output.height)};
  }
  SDL_Rect display{};
  if (SDL_GetDisplayBounds(kPrimaryDisplay, &display) != 0) {
    RaiseWindowFailure("Cannot find the primary display");
  }
  const PixelSize screen = PrimaryDisplaySize();
  const bool wholeScreen = client.left == 0 && client.top == 0 && client.width == screen.width &&
                           client.height == screen.height;

  // A full-screen window ignores new sizes, so it leaves full screen first.
  if ((SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN) != 0 &&
      SDL_SetWindowFullscreen(window_, 0) != 0) {
    RaiseWindowFailure("Cannot leave full screen");
  }
  // Sizes and positions go to the window system in its own units, which a
  // high-DPI system may make larger than device pixels; the ratio shows in
  // the window as it is.
  int unitsWide = 0;
  int unitsHigh = 0;
  SDL_GetWindowSize(window_, &unitsWide, &unitsHigh);
  const PixelSize pixels = ClientSize();
  SDL_SetWindowSize(window_, Rescale(client.width, unitsWide, pixels.width),
                    Rescale(client.height, unitsHigh, pixels.height));
  SDL_SetWindowPosition(window_, display.x + Rescale(client.left, unitsWide, pixels.width),
                        display.y + Rescale(client.top, unitsHigh, pixels.height));

  if (wholeScreen && ManagesWindows(window_)) {
    // Full-screen desktop: the window manager puts it above panels and task
    // bars without changing the display mode. Sized to the display already,
    // it looks the same where the window system cannot do full screen; with
    // no window manager at all there is nothing to ask (and SDL would wait
    // in vain for an answer), the window covers the screen as it is.
    SDL_SetWindowAlwaysOnTop(window_, SDL_FALSE);
    if (SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
      RaiseWindowFailure("Cannot make the window full screen");
    }
  } else {
    // Full screen would take the whole display, but the picture must keep
    // its even size: an ordinary window kept above the others instead.
    SDL_SetWindowAlwaysOnTop(window_, SDL_TRUE);
  }
  return ClientSize();
}

void SdlWindow::Show(const Canvas& picture) {
  picture_ = &picture;
  deepColour_ = X11DeepColour::For(window_);
  SDL_ShowWindow(window_);
  SDL_RaiseWindow(window_);
  Present();
}

void SdlWindow::Present() {
  if (picture_ == nullptr) return;
  if (deepColour_ != nullptr) return deepColour_->Show(*picture_);
  if (view_) return view_->Present(*picture_);
  SDL_Surface* surface = SDL_GetWindowSurface(window_);
  if (surface == nullptr) RaiseWindowFailure("Cannot reach the window's pixels");
  if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) {
    RaiseWindowFailure("Cannot reach the window's pixels");
  }
  if (surface->pixels != populated_) {
    PopulatePages(surface->pixels, std::size_t(surface->pitch) * std::size_t(surface->h));
    populated_ = surface->pixels;
  }
  CopyPicture(*picture_, *surface);
  if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
  if (SDL_UpdateWindowSurface(window_) != 0) RaiseWindowFailure("Cannot show the picture");
}

SDL_Event SdlWindow::NextEvent() {
  SDL_Event event;
  for (;;) {
    if (SDL_WaitEvent(&event) == 0) RaiseWindowFailure("Cannot read the window's events");
    if (event.type != SDL_SYSWMEVENT) return event;
    EndIfX11WindowDestroyed(event);
    const std::string control = X11ControlText(event);
    if (control.empty()) continue;
    SDL_Event text{};
    text.type = SDL_TEXTINPUT;
    text.text.timestamp = event.syswm.timestamp;
    control.copy(text.text.text, sizeof text.text.text - 1);
    return text;
  }
}

bool SdlWindow::ShowErrorBox(const std::string& title, const std::string& text) {
  SDL_HideWindow(window_);
  return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(), nullptr) == 0;
}

}  // namespace testcard

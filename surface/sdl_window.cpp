#include "surface/sdl_window.hpp"

#include <SDL.h>

#include <string>
#include <vector>

#include "surface/run_time_error.hpp"
#include "surface/window_icon.hpp"

namespace testcard {
namespace {

constexpr int kPrimaryDisplay = 0;
constexpr int kIconSize = 16;

std::string SdlError() {
  const char* error = SDL_GetError();
  return error != nullptr && *error != '\0' ? error : "no reason given";
}

[[noreturn]] void RaiseWindowFailure(const std::string& what) {
  throw RunTimeError(error_number::kWindowFailure, what + ": " + SdlError());
}

// Whole units of `to` for `value` units of `from`, rounded to nearest; the
// ratio of window units to device pixels, which is 1 unless the window
// system scales windows for a high-DPI display.
int Rescale(int value, int to, int from) {
  if (to == from || from <= 0) return value;
  return static_cast<int>((static_cast<long long>(value) * to + from / 2) / from);
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
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");

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
  // Any renderer will do: the picture is copied 1:1 with nearest sampling,
  // which every one of them does exactly.
  renderer_ = SDL_CreateRenderer(window_, -1, 0);
  if (renderer_ == nullptr) {
    const std::string reason = SdlError();
    Close();
    throw WindowUnavailable("cannot draw in the window: " + reason);
  }
  // The renderer may have had to recreate the window, so the icon comes last.
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
  // Key presses arrive as the characters they type (SDL_TEXTINPUT).
  SDL_StartTextInput();
}

SdlWindow::~SdlWindow() {
  Close();
}

void SdlWindow::Close() {
  if (texture_ != nullptr) SDL_DestroyTexture(texture_);
  if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
  if (window_ != nullptr) SDL_DestroyWindow(window_);
  texture_ = nullptr;
  renderer_ = nullptr;
  window_ = nullptr;
  SDL_Quit();
}

PixelSize SdlWindow::PrimaryDisplaySize() const {
  SDL_DisplayMode mode{};
  if (SDL_GetDesktopDisplayMode(kPrimaryDisplay, &mode) != 0) {
    RaiseWindowFailure("Cannot read the screen size");
  }
  return {mode.w, mode.h};
}

PixelSize SdlWindow::ClientSize() const {
  PixelSize size;
  if (SDL_GetRendererOutputSize(renderer_, &size.width, &size.height) != 0) {
    RaiseWindowFailure("Cannot read the window size");
  }
  return size;
}

PixelSize SdlWindow::Place(const PixelRect& client) {
  if (client.width < 1 || client.height < 1) {
    throw RunTimeError(error_number::kWindowFailure, "Cannot make a window of " +
                                                         std::to_string(client.width) + " x " +
                                                         std::to_string(client.height) + " pixels");
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

  if (wholeScreen) {
    // Full-screen desktop: the window system puts it above panels and task
    // bars without changing the display mode. Sized to the display already,
    // it looks the same where the window system cannot do full screen.
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
  SDL_ShowWindow(window_);
  SDL_RaiseWindow(window_);
  Present();
}

void SdlWindow::ForgetTexture() {
  if (texture_ != nullptr) SDL_DestroyTexture(texture_);
  texture_ = nullptr;
}

void SdlWindow::Present() {
  if (picture_ == nullptr) return;
  const int width = picture_->Width();
  const int height = picture_->Height();
  if (texture_ != nullptr && (width != textureWidth_ || height != textureHeight_)) {
    ForgetTexture();
  }
  if (texture_ == nullptr && width > 0 && height > 0) {
    // The canvas layout 0x00BBGGRR as it is: no conversion on the way.
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_XBGR8888, SDL_TEXTUREACCESS_STREAMING,
                                 width, height);
    if (texture_ == nullptr) RaiseWindowFailure("Cannot make the window's picture");
    textureWidth_ = width;
    textureHeight_ = height;
    if (SDL_SetTextureBlendMode(texture_, SDL_BLENDMODE_NONE) != 0 ||
        SDL_SetTextureScaleMode(texture_, SDL_ScaleModeNearest) != 0) {
      RaiseWindowFailure("Cannot set up the window's picture");
    }
  }
  // Whatever the window has beyond the canvas (if the window system did not
  // grant the size it reported) stays black rather than showing garbage.
  if (SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255) != 0 || SDL_RenderClear(renderer_) != 0) {
    RaiseWindowFailure("Cannot clear the window");
  }
  if (texture_ != nullptr) {
    const SDL_Rect whole{0, 0, width, height};
    if (SDL_UpdateTexture(texture_, nullptr, picture_->Pixels().data(),
                          width * static_cast<int>(sizeof(Colour))) != 0 ||
        SDL_RenderCopy(renderer_, texture_, &whole, &whole) != 0) {
      RaiseWindowFailure("Cannot show the picture");
    }
  }
  SDL_RenderPresent(renderer_);
}

bool SdlWindow::ShowErrorBox(const std::string& title, const std::string& text) {
  SDL_HideWindow(window_);
  return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(), nullptr) == 0;
}

}  // namespace testcard

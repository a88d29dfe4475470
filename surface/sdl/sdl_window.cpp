// SPDX-License-Identifier: MIT
#include "surface/sdl/sdl_window.hpp"

#include <SDL.h>

#include <string>
#include <vector>

#include "surface/form/run_time_error.hpp"
#include "surface/form/window_icon.hpp"
#include "surface/sdl/sdl_error.hpp"
#include "surface/sdl/sdl_events.hpp"
#include "surface/sdl/video_drivers.hpp"

namespace testcard {
namespace {

constexpr int kPrimaryDisplay = 0;
constexpr int kIconSize = 16;

void SetIcon(SDL_Window* window) {
  std::vector<IconPixel> icon = DrawWindowIcon(kIconSize);
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
      icon.data(), kIconSize, kIconSize, 32, kIconSize * 4, SDL_PIXELFORMAT_ABGR8888);
  if (surface == nullptr) throw WindowUnavailable("cannot make the window icon: " + SdlError());
  SDL_SetWindowIcon(window, surface);
  SDL_FreeSurface(surface);
}

}  // namespace

SdlWindow::SdlWindow() {
  // Ctrl+C and kill end the program the ordinary way, not as a close request.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  // A test pattern that vanishes when another window takes the focus is no
  // help while adjusting the monitor.
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
  ChooseVideoDriver();

  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    throw WindowUnavailable("cannot start the video system: " + SdlError());
  }
  const VideoDriver& driver = CurrentVideoDriver();
  if (!driver.showsWindows) {
    const std::string name = SDL_GetCurrentVideoDriver();
    SDL_Quit();
    throw WindowUnavailable("no display to open a window on (SDL found only its \"" + name +
                            "\" video driver, which shows nothing)");
  }
  // The picture goes into the window's own pixel buffer (shared memory on
  // X11), not through a 3D renderer: there is nothing to scale or blend, and
  // a renderer costs a graphics stack, hundreds of milliseconds at start-up
  // and copies of the picture in memory.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  try {
    SDL_Rect display{};
    if (SDL_GetDisplayBounds(kPrimaryDisplay, &display) != 0) {
      throw WindowUnavailable("cannot find the primary display: " + SdlError());
    }
    window_ =
        SDL_CreateWindow("Form1", display.x, display.y, 640, 480,
                         SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS | SDL_WINDOW_ALLOW_HIGHDPI);
    if (window_ == nullptr) throw WindowUnavailable("cannot create the window: " + SdlError());
    SetIcon(window_);
    // Key presses arrive as the characters they type (SDL_TEXTINPUT).
    SDL_StartTextInput();
    system_ = driver.open(window_);
  } catch (...) {
    Close();
    throw;
  }
}

SdlWindow::~SdlWindow() {
  Close();
}

void SdlWindow::Close() {
  system_.reset();
  if (window_ != nullptr) SDL_DestroyWindow(window_);
  window_ = nullptr;
  SDL_Quit();
}

PixelSize SdlWindow::PrimaryDisplaySize() const {
  return system_->ScreenSize();
}

PixelSize SdlWindow::ClientSize() const {
  return system_->ClientSize();
}

PixelSize SdlWindow::Place(const PixelRect& client) {
  if (client.width < 1 || client.height < 1) {
    throw RunTimeError(error_number::kWindowFailure, "Cannot make a window of " +
                                                         std::to_string(client.width) + " x " +
                                                         std::to_string(client.height) + " pixels");
  }
  return system_->Place(client);
}

void SdlWindow::Show(const Canvas& picture) {
  picture_ = &picture;
  SDL_ShowWindow(window_);
  SDL_RaiseWindow(window_);
  Present();
}

void SdlWindow::Present() {
  if (picture_ != nullptr) system_->Present(*picture_);
}

WindowEvent SdlWindow::NextEvent() {
  for (;;) {
    SDL_Event event;
    if (SDL_WaitEvent(&event) == 0) RaiseWindowFailure("Cannot read the window's events");
    WindowEvent meaning =
        event.type == SDL_SYSWMEVENT ? system_->SystemEvent(event) : TranslateSdlEvent(event);
    if (meaning.kind == WindowEvent::Kind::kResized) {
      meaning = WindowEvent::Resized(ClientSize(), PrimaryDisplaySize());
    }
    if (meaning.kind != WindowEvent::Kind::kNothing) return meaning;
  }
}

bool SdlWindow::ShowErrorBox(const std::string& title, const std::string& text) {
  SDL_HideWindow(window_);
  return ShowSdlErrorBox(title, text);
}

bool ShowSdlErrorBox(const std::string& title, const std::string& text) {
  return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(), nullptr) == 0;
}

}  // namespace testcard

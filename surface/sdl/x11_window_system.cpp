// SPDX-License-Identifier: MIT
#include "surface/sdl/x11_window_system.hpp"

#include <SDL.h>
#include <SDL_syswm.h>

#include <memory>

#include "surface/sdl/sdl_error.hpp"
#include "surface/sdl/surface_presenter.hpp"
#include "surface/window/app_window.hpp"
#include "surface/x11/x11_deep_colour.hpp"
#include "surface/x11/x11_key_text.hpp"
#include "surface/x11/x11_window_manager.hpp"
#include "surface/x11/x11_window_watch.hpp"

namespace testcard {
namespace {

SDL_SysWMinfo X11Info(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) {
    throw WindowUnavailable("cannot reach the X11 window behind SDL's: " + SdlError());
  }
  return info;
}

// The ways an X11 window can show the picture, best first: 10 bits a
// channel where the window has them, else its own pixel buffer.
std::unique_ptr<Presenter> ChoosePresenter(SDL_Window* window, X11Display* display,
                                           X11Window x11Window) {
  if (auto deepColour = X11DeepColour::For(display, x11Window)) return deepColour;
  return std::make_unique<SurfacePresenter>(window);
}

}  // namespace

X11WindowSystem::X11WindowSystem(SDL_Window* window) : X11WindowSystem(window, X11Info(window)) {}

X11WindowSystem::X11WindowSystem(SDL_Window* window, const SDL_SysWMinfo& info)
    : PlainWindowSystem(window,
                        ChoosePresenter(window, info.info.x11.display, info.info.x11.window)),
      display_(info.info.x11.display) {
  // Raw X events on, SDL's key-downs off: see SystemEvent.
  SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
  SDL_EventState(SDL_KEYDOWN, SDL_IGNORE);
  WatchX11Window(info.info.x11.window);
}

bool X11WindowSystem::ManagesWindows() const {
  return X11WindowManagerRuns(display_);
}

WindowEvent X11WindowSystem::SystemEvent(const SDL_Event& event) {
  if (event.syswm.msg == nullptr || event.syswm.msg->subsystem != SDL_SYSWM_X11) return {};
  const X11Event& xevent = event.syswm.msg->msg.x11.event;
  EndIfX11WindowDestroyed(xevent);
  const int controls = X11ControlCharacters(xevent);
  return controls > 0 ? WindowEvent::Typed(controls) : WindowEvent{};
}

}  // namespace testcard

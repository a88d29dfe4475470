// SPDX-License-Identifier: MIT
#include "surface/wayland/wayland_window.hpp"

#include <poll.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "xdg-shell-client.h"

namespace testcard {
namespace {

constexpr char kAppId[] = "org.example.testcard";

}  // namespace

WaylandWindow::WaylandWindow(ErrorBox errorBox)
    : errorBox_(std::move(errorBox)),
      display_(wl_display_connect(nullptr), wl_display_disconnect),
      keys_(nullptr, xkb_context_unref) {
  if (!display_) {
    throw WindowUnavailable(std::string("cannot reach a Wayland compositor: ") +
                            std::strerror(errno));
  }
  keys_.reset(xkb_context_new(XKB_CONTEXT_NO_FLAGS));
  try {
    globals_ = std::make_unique<WaylandGlobals>(
        display_.get(),
        WaylandCallbacks{[this] { FollowSize(); },
                         [this](wl_seat* seat, std::uint32_t name) { AddSeat(seat, name); },
                         [this](std::uint32_t name) {
                           std::erase_if(seats_,
                                         [name](const auto& s) { return s->Name() == name; });
                         }});
    // The globals, then what the outputs say of themselves.
    if (wl_display_roundtrip(display_.get()) < 0 || wl_display_roundtrip(display_.get()) < 0) {
      RaiseLost();
    }
    if (globals_->compositor == nullptr || globals_->shm == nullptr ||
        globals_->windowManager == nullptr || !keys_) {
      throw WindowUnavailable(
          "the Wayland compositor offers no window with a picture in shared memory "
          "(wl_compositor, wl_shm and xdg_wm_base are needed)");
    }
    MakeWindow();
    while (!configured_)
      Dispatch();
  } catch (const WindowLost& lost) {
    throw WindowUnavailable(lost.what());
  }
}

void WaylandWindow::AddSeat(wl_seat* seat, std::uint32_t name) {
  seats_.push_back(std::make_unique<WaylandSeat>(
      seat, name, keys_.get(),
      [this](int presses) { events_.push_back(WindowEvent::Typed(presses)); },
      [this] { return picture_ != nullptr; }));
}

void WaylandWindow::MakeWindow() {
  surface_ = wl_compositor_create_surface(globals_->compositor);
  static const wl_surface_listener kSurface = {Entered, Left};
  wl_surface_add_listener(surface_, &kSurface, this);
  xdgSurface_ = xdg_wm_base_get_xdg_surface(globals_->windowManager, surface_);
  static const xdg_surface_listener kXdgSurface = {SurfaceConfigure};
  xdg_surface_add_listener(xdgSurface_, &kXdgSurface, this);
  toplevel_ = xdg_surface_get_toplevel(xdgSurface_);
  static const xdg_toplevel_listener kToplevel = {
      ToplevelConfigure,
      [](void* data, xdg_toplevel*) {
        static_cast<WaylandWindow*>(data)->events_.push_back(
            WindowEvent::Of(WindowEvent::Kind::kClose));
      },
      [](void*, xdg_toplevel*, int, int) {}, [](void*, xdg_toplevel*, wl_array*) {}};
  xdg_toplevel_add_listener(toplevel_, &kToplevel, this);
  xdg_toplevel_set_title(toplevel_, "Form1");
  xdg_toplevel_set_app_id(toplevel_, kAppId);
  // Full screen from the start, wherever the compositor puts new windows
  // (usually the output with the focus): no ordinary window first, no wait.
  xdg_toplevel_set_fullscreen(toplevel_, nullptr);
  presenter_ = std::make_unique<ShmPresenter>(globals_->shm, surface_, globals_->viewporter);
  // Committed without a picture, the window is configured: its size comes
  // before the first picture is drawn.
  wl_surface_commit(surface_);
}

WaylandWindow::~WaylandWindow() {
  presenter_.reset();
  if (toplevel_ != nullptr) xdg_toplevel_destroy(toplevel_);
  if (xdgSurface_ != nullptr) xdg_surface_destroy(xdgSurface_);
  if (surface_ != nullptr) wl_surface_destroy(surface_);
  seats_.clear();
  globals_.reset();
}

PixelSize WaylandWindow::Place(const PixelRect& client) {
  // A Wayland window cannot place itself: it covers what the compositor
  // gave it, and the picture takes what it asked for of that.
  return {std::min(client.width, device_.width), std::min(client.height, device_.height)};
}

void WaylandWindow::Show(const Canvas& picture) {
  picture_ = &picture;
  Present();
}

void WaylandWindow::Present() {
  if (picture_ == nullptr) return;
  presenter_->Show(*picture_);
  if (wl_display_flush(display_.get()) < 0 && errno != EAGAIN) RaiseLost();
  presenter_->PrepareSpare();
}

WindowEvent WaylandWindow::NextEvent() {
  while (events_.empty())
    Dispatch();
  const WindowEvent event = events_.front();
  events_.pop_front();
  return event;
}

bool WaylandWindow::ShowErrorBox(const std::string& title, const std::string& text) {
  wl_surface_attach(surface_, nullptr, 0, 0);
  wl_surface_commit(surface_);
  wl_display_flush(display_.get());
  return errorBox_(title, text);
}

void WaylandWindow::Dispatch() {
  while (wl_display_prepare_read(display_.get()) != 0) {
    if (wl_display_dispatch_pending(display_.get()) < 0) RaiseLost();
  }
  if (wl_display_flush(display_.get()) < 0 && errno != EAGAIN) {
    wl_display_cancel_read(display_.get());
    RaiseLost();
  }
  std::vector<pollfd> watched{{wl_display_get_fd(display_.get()), POLLIN, 0}};
  for (const auto& seat : seats_)
    watched.push_back({seat->RepeatDescriptor(), POLLIN, 0});
  if (poll(watched.data(), watched.size(), -1) < 0 && errno != EINTR) {
    wl_display_cancel_read(display_.get());
    RaiseLost();
  }
  if ((watched[0].revents & POLLIN) != 0) {
    if (wl_display_read_events(display_.get()) < 0) RaiseLost();
  } else {
    wl_display_cancel_read(display_.get());
    if ((watched[0].revents & (POLLERR | POLLHUP)) != 0) RaiseLost();
  }
  if (wl_display_dispatch_pending(display_.get()) < 0) RaiseLost();
  // A seat may have gone while its messages were handled; the rest line up
  // with what was polled.
  for (std::size_t i = 0; i + 1 < watched.size() && i < seats_.size(); ++i) {
    if ((watched[i + 1].revents & POLLIN) != 0 &&
        seats_[i]->RepeatDescriptor() == watched[i + 1].fd) {
      seats_[i]->Repeat();
    }
  }
}

void WaylandWindow::RaiseLost() const {
  const int error = wl_display_get_error(display_.get());
  throw WindowLost(std::string("the connection to the Wayland compositor was lost (") +
                   std::strerror(error != 0 ? error : errno) + ")");
}

const WaylandOutput* WaylandWindow::Output() const {
  for (auto on = entered_.rbegin(); on != entered_.rend(); ++on) {
    if (const WaylandOutput* output = globals_->Find(*on)) return output;
  }
  // Not shown yet: the output the window will cover is the one of its size.
  for (const auto& output : globals_->outputs) {
    const PixelSize whole = output->LogicalSize();
    if (whole.width == asked_.width && whole.height == asked_.height) return output.get();
  }
  return globals_->outputs.empty() ? nullptr : globals_->outputs.front().get();
}

void WaylandWindow::FollowSize() {
  if (!configured_) return;
  const WaylandOutput* output = Output();
  // Sized by the compositor, or by the window itself when the compositor
  // leaves that to it: then it covers its output.
  PixelSize logical = asked_;
  if ((logical.width <= 0 || logical.height <= 0) && output != nullptr) {
    logical = output->LogicalSize();
  }
  const int scale = output != nullptr ? output->Scale() : 1;
  PixelSize device = logical;
  if (output != nullptr) {
    device = globals_->viewporter != nullptr
                 ? output->DevicePixelsOf(logical)
                 : PixelSize{logical.width * scale, logical.height * scale};
  }
  if (device.width == device_.width && device.height == device_.height &&
      logical.width == logical_.width && logical.height == logical_.height) {
    return;
  }
  const bool first = device_.width == 0;
  logical_ = logical;
  device_ = device;
  presenter_->Cover(device_, logical_, scale);
  if (!first) events_.push_back(WindowEvent::Resized(device_, device_));
}

void WaylandWindow::ToplevelConfigure(void* data, xdg_toplevel*, int width, int height, wl_array*) {
  static_cast<WaylandWindow*>(data)->asked_ = {width, height};
}

void WaylandWindow::SurfaceConfigure(void* data, xdg_surface* surface, std::uint32_t serial) {
  auto& self = *static_cast<WaylandWindow*>(data);
  xdg_surface_ack_configure(surface, serial);
  self.configured_ = true;
  self.FollowSize();
  // An acknowledged configure takes effect with the next commit, and some
  // compositors (sway, mutter) show nothing new until then: the picture on
  // show is committed again at once where it fits the size configured. One
  // that does not waits for its new picture: committed, a picture of the
  // old size would be placed for it.
  if (self.picture_ != nullptr && self.presenter_->Covers(self.device_, self.logical_)) {
    wl_surface_commit(self.surface_);
    wl_display_flush(self.display_.get());
  }
}

void WaylandWindow::Entered(void* data, wl_surface*, wl_output* output) {
  auto& self = *static_cast<WaylandWindow*>(data);
  std::erase(self.entered_, output);
  self.entered_.push_back(output);
  self.FollowSize();
}

void WaylandWindow::Left(void* data, wl_surface*, wl_output* output) {
  auto& self = *static_cast<WaylandWindow*>(data);
  std::erase(self.entered_, output);
  self.FollowSize();
}

}  // namespace testcard

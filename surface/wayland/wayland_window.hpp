// SPDX-License-Identifier: MIT
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "surface/wayland/shm_presenter.hpp"
#include "surface/wayland/wayland_globals.hpp"
#include "surface/wayland/wayland_keyboard.hpp"
#include "surface/window/app_window.hpp"

struct wl_display;
struct wl_surface;
struct xdg_surface;
struct xdg_toplevel;
struct wl_seat;
struct xkb_context;

namespace testcard {

// Shows a message box: (title, text) -> whether it could be shown.
using ErrorBox = std::function<bool(const std::string&, const std::string&)>;

// The test window as testcard's own Wayland client.
//
// It asks to be full screen before it is first shown, on the output the
// compositor chooses, and knows its size in device pixels before the first
// picture: the window appears with the pattern already in it, one pattern
// pixel on one device pixel at any output scale (ShmPresenter). Whatever
// size the compositor gives it later (another output, a new mode or scale,
// a floating window of any size) is a new size in device pixels, and the
// pattern on show is drawn again for it.
//
// The keyboard is read with xkbcommon (WaylandSeat): each press that types
// a character steps, keyboards and keymaps may come and go at any time.
// A close request from the compositor ends the program; a compositor that
// goes away raises WindowLost.
//
// The constructor throws WindowUnavailable when no compositor can be
// reached, it lacks what a window needs or it goes away before the window is
// configured; later failures raise RunTimeError.
class WaylandWindow : public AppWindow {
 public:
  explicit WaylandWindow(ErrorBox errorBox);
  ~WaylandWindow() override;
  WaylandWindow(const WaylandWindow&) = delete;
  WaylandWindow& operator=(const WaylandWindow&) = delete;

  PixelSize PrimaryDisplaySize() const override { return device_; }
  PixelSize ClientSize() const override { return device_; }
  PixelSize Place(const PixelRect& client) override;
  void Show(const Canvas& picture) override;
  void Present() override;
  WindowEvent NextEvent() override;
  // Takes the window off the screen first, so that nothing covers the box.
  bool ShowErrorBox(const std::string& title, const std::string& text) override;

 private:
  static void ToplevelConfigure(void* data, xdg_toplevel*, int width, int height, wl_array*);
  static void SurfaceConfigure(void* data, xdg_surface* surface, std::uint32_t serial);
  static void Entered(void* data, wl_surface*, wl_output* output);
  static void Left(void* data, wl_surface*, wl_output* output);
  void AddSeat(wl_seat* seat, std::uint32_t name);
  // The surface as a full-screen toplevel, committed once without a picture.
  void MakeWindow();
  // Waits for the compositor's next messages (and due key repeats) and
  // handles them; raises WindowLost when the compositor is gone.
  void Dispatch();
  [[noreturn]] void RaiseLost() const;
  // The output the window is on (or is to be on), if any is known.
  const WaylandOutput* Output() const;
  // Works out the size in device pixels again; a change is a new size,
  // queued as an event.
  void FollowSize();

  ErrorBox errorBox_;
  std::unique_ptr<wl_display, void (*)(wl_display*)> display_;
  std::unique_ptr<xkb_context, void (*)(xkb_context*)> keys_;
  std::deque<WindowEvent> events_;
  std::unique_ptr<WaylandGlobals> globals_;
  std::vector<std::unique_ptr<WaylandSeat>> seats_;
  wl_surface* surface_ = nullptr;
  xdg_surface* xdgSurface_ = nullptr;
  xdg_toplevel* toplevel_ = nullptr;
  std::unique_ptr<ShmPresenter> presenter_;
  std::vector<wl_output*> entered_;  // the outputs the window is on, last entered last
  PixelSize asked_;                  // the size the compositor configured, in logical units
  PixelSize logical_;
  PixelSize device_;
  bool configured_ = false;
  const Canvas* picture_ = nullptr;  // shown from the first Show on
};

}  // namespace testcard

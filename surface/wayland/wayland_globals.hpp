// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "surface/wayland/wayland_output.hpp"

struct wl_display;
struct wl_registry;
struct wl_compositor;
struct wl_shm;
struct wl_seat;
struct xdg_wm_base;
struct wp_viewporter;
struct zxdg_output_manager_v1;

namespace testcard {

// What the compositor offers a client (its globals), bound as they are
// announced, added and removed at any time: the compositor, shared memory,
// the window manager base (answered pings included), the viewporter and
// xdg-output where there are, every output and every seat.
//
// `outputsChanged` runs after an output is described anew or goes away;
// `seatAdded` and `seatRemoved` hand over each seat as it comes and goes.
struct WaylandCallbacks {
  std::function<void()> outputsChanged;
  std::function<void(wl_seat*, std::uint32_t name)> seatAdded;
  std::function<void(std::uint32_t name)> seatRemoved;
};

class WaylandGlobals {
 public:
  WaylandGlobals(wl_display* display, WaylandCallbacks callbacks);
  ~WaylandGlobals();
  WaylandGlobals(const WaylandGlobals&) = delete;
  WaylandGlobals& operator=(const WaylandGlobals&) = delete;

  wl_compositor* compositor = nullptr;
  wl_shm* shm = nullptr;
  xdg_wm_base* windowManager = nullptr;
  wp_viewporter* viewporter = nullptr;  // none on some compositors
  zxdg_output_manager_v1* outputManager = nullptr;
  std::vector<std::unique_ptr<WaylandOutput>> outputs;

  // The output behind a wl_output, if it is still there.
  const WaylandOutput* Find(const wl_output* output) const;

 private:
  static void Global(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
                     std::uint32_t version);
  static void GlobalRemove(void* data, wl_registry* registry, std::uint32_t name);
  void AddOutput(std::uint32_t name, std::uint32_t version);

  wl_registry* registry_;
  WaylandCallbacks callbacks_;
};

}  // namespace testcard

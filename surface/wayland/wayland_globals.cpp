// SPDX-License-Identifier: MIT
#include "surface/wayland/wayland_globals.hpp"

#include <wayland-client.h>

#include <algorithm>
#include <cstring>

#include "viewporter-client.h"
#include "xdg-output-unstable-v1-client.h"
#include "xdg-shell-client.h"

namespace testcard {
namespace {

template <typename T>
T* Bind(wl_registry* registry, std::uint32_t name, const wl_interface& interface,
        std::uint32_t offered, std::uint32_t wanted) {
  return static_cast<T*>(wl_registry_bind(registry, name, &interface, std::min(offered, wanted)));
}

}  // namespace

WaylandGlobals::WaylandGlobals(wl_display* display, WaylandCallbacks callbacks)
    : registry_(wl_display_get_registry(display)), callbacks_(std::move(callbacks)) {
  static const wl_registry_listener kListener = {Global, GlobalRemove};
  wl_registry_add_listener(registry_, &kListener, this);
}

WaylandGlobals::~WaylandGlobals() {
  outputs.clear();
  if (outputManager != nullptr) zxdg_output_manager_v1_destroy(outputManager);
  if (viewporter != nullptr) wp_viewporter_destroy(viewporter);
  if (windowManager != nullptr) xdg_wm_base_destroy(windowManager);
  if (shm != nullptr) wl_shm_destroy(shm);
  if (compositor != nullptr) wl_compositor_destroy(compositor);
  wl_registry_destroy(registry_);
}

const WaylandOutput* WaylandGlobals::Find(const wl_output* output) const {
  for (const auto& known : outputs) {
    if (known->Handle() == output) return known.get();
  }
  return nullptr;
}

void WaylandGlobals::Global(void* data, wl_registry* registry, std::uint32_t name,
                            const char* interface, std::uint32_t version) {
  auto& self = *static_cast<WaylandGlobals*>(data);
  const auto is = [interface](const wl_interface& known) {
    return std::strcmp(interface, known.name) == 0;
  };
  if (is(wl_compositor_interface)) {
    self.compositor = Bind<wl_compositor>(registry, name, wl_compositor_interface, version, 4);
  } else if (is(wl_shm_interface)) {
    self.shm = Bind<wl_shm>(registry, name, wl_shm_interface, version, 1);
  } else if (is(xdg_wm_base_interface)) {
    self.windowManager = Bind<xdg_wm_base>(registry, name, xdg_wm_base_interface, version, 2);
    // A client that does not answer is taken for hung.
    static const xdg_wm_base_listener kPong = {
        [](void*, xdg_wm_base* base, std::uint32_t serial) { xdg_wm_base_pong(base, serial); }};
    xdg_wm_base_add_listener(self.windowManager, &kPong, nullptr);
  } else if (is(wp_viewporter_interface)) {
    self.viewporter = Bind<wp_viewporter>(registry, name, wp_viewporter_interface, version, 1);
  } else if (is(zxdg_output_manager_v1_interface)) {
    self.outputManager =
        Bind<zxdg_output_manager_v1>(registry, name, zxdg_output_manager_v1_interface, version, 3);
    for (const auto& output : self.outputs)
      output->DescribeWith(self.outputManager);
  } else if (is(wl_output_interface)) {
    self.AddOutput(name, version);
  } else if (is(wl_seat_interface)) {
    self.callbacks_.seatAdded(Bind<wl_seat>(registry, name, wl_seat_interface, version, 5), name);
  }
}

void WaylandGlobals::AddOutput(std::uint32_t name, std::uint32_t version) {
  auto* output = Bind<wl_output>(registry_, name, wl_output_interface, version, 3);
  outputs.push_back(std::make_unique<WaylandOutput>(output, name, callbacks_.outputsChanged));
  if (outputManager != nullptr) outputs.back()->DescribeWith(outputManager);
}

void WaylandGlobals::GlobalRemove(void* data, wl_registry*, std::uint32_t name) {
  auto& self = *static_cast<WaylandGlobals*>(data);
  const auto gone = std::remove_if(self.outputs.begin(), self.outputs.end(),
                                   [name](const auto& output) { return output->Name() == name; });
  if (gone != self.outputs.end()) {
    self.outputs.erase(gone, self.outputs.end());
    self.callbacks_.outputsChanged();
    return;
  }
  self.callbacks_.seatRemoved(name);
}

}  // namespace testcard

// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>

#include "surface/form/window_port.hpp"

struct wl_output;
struct zxdg_output_v1;
struct zxdg_output_manager_v1;

namespace testcard {

// One monitor as the compositor describes it: its current mode in device
// pixels (turned as the output is), its integer scale and, where the
// compositor has xdg-output, its size in the logical units windows are
// sized in. `changed` runs after each complete update (the output's "done").
class WaylandOutput {
 public:
  WaylandOutput(wl_output* output, std::uint32_t name, std::function<void()> changed);
  ~WaylandOutput();
  WaylandOutput(const WaylandOutput&) = delete;
  WaylandOutput& operator=(const WaylandOutput&) = delete;

  // Asks for the logical size too (call once the manager is known).
  void DescribeWith(zxdg_output_manager_v1* manager);

  wl_output* Handle() const { return output_; }
  std::uint32_t Name() const { return name_; }
  int Scale() const { return scale_; }
  // The whole output in device pixels.
  PixelSize DeviceSize() const;
  // The whole output in logical units.
  PixelSize LogicalSize() const;
  // How many device pixels an area of `logical` units covers on this output:
  // the whole output when it is the output's logical size, else the same
  // ratio, rounded to whole pixels.
  PixelSize DevicePixelsOf(PixelSize logical) const;

 private:
  static void Geometry(void*, wl_output*, int, int, int, int, int, const char*, const char*, int);
  static void Mode(void*, wl_output*, std::uint32_t, int, int, int);
  static void Done(void*, wl_output*);
  static void ScaleEvent(void*, wl_output*, int);
  static void LogicalSizeEvent(void*, zxdg_output_v1*, int, int);

  wl_output* output_;
  std::uint32_t name_;
  std::function<void()> changed_;
  zxdg_output_v1* xdgOutput_ = nullptr;
  PixelSize mode_;
  PixelSize logical_;  // 0 x 0 until xdg-output says
  int transform_ = 0;
  int scale_ = 1;
};

}  // namespace testcard

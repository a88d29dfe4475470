// SPDX-License-Identifier: MIT
#include "surface/wayland/wayland_output.hpp"

#include <wayland-client.h>

#include <cmath>

#include "xdg-output-unstable-v1-client.h"

namespace testcard {
namespace {

int Rounded(double value) {
  return static_cast<int>(std::lround(value));
}

}  // namespace

WaylandOutput::WaylandOutput(wl_output* output, std::uint32_t name, std::function<void()> changed)
    : output_(output), name_(name), changed_(std::move(changed)) {
  static const wl_output_listener kListener = {Geometry,
                                               Mode,
                                               Done,
                                               ScaleEvent,
                                               [](void*, wl_output*, const char*) {},
                                               [](void*, wl_output*, const char*) {}};
  wl_output_add_listener(output_, &kListener, this);
}

WaylandOutput::~WaylandOutput() {
  if (xdgOutput_ != nullptr) zxdg_output_v1_destroy(xdgOutput_);
  if (wl_output_get_version(output_) >= WL_OUTPUT_RELEASE_SINCE_VERSION) {
    wl_output_release(output_);
  } else {
    wl_output_destroy(output_);
  }
}

void WaylandOutput::DescribeWith(zxdg_output_manager_v1* manager) {
  static const zxdg_output_v1_listener kListener = {
      [](void*, zxdg_output_v1*, int, int) {}, LogicalSizeEvent,
      // "done" is deprecated from version 3 on: wl_output's done covers it.
      [](void* data, zxdg_output_v1*) { static_cast<WaylandOutput*>(data)->changed_(); },
      [](void*, zxdg_output_v1*, const char*) {}, [](void*, zxdg_output_v1*, const char*) {}};
  xdgOutput_ = zxdg_output_manager_v1_get_xdg_output(manager, output_);
  zxdg_output_v1_add_listener(xdgOutput_, &kListener, this);
}

PixelSize WaylandOutput::DeviceSize() const {
  // A turned output shows its mode on its side.
  const bool sideways = (transform_ & 1) != 0;
  return sideways ? PixelSize{mode_.height, mode_.width} : mode_;
}

PixelSize WaylandOutput::LogicalSize() const {
  if (logical_.width > 0 && logical_.height > 0) return logical_;
  const PixelSize device = DeviceSize();
  return {device.width / scale_, device.height / scale_};
}

PixelSize WaylandOutput::DevicePixelsOf(PixelSize logical) const {
  const PixelSize whole = LogicalSize();
  const PixelSize device = DeviceSize();
  if (whole.width <= 0 || whole.height <= 0) return logical;
  if (logical.width == whole.width && logical.height == whole.height) return device;
  return {Rounded(double(logical.width) * device.width / whole.width),
          Rounded(double(logical.height) * device.height / whole.height)};
}

void WaylandOutput::Geometry(void* data, wl_output*, int, int, int, int, int, const char*,
                             const char*, int transform) {
  static_cast<WaylandOutput*>(data)->transform_ = transform;
}

void WaylandOutput::Mode(void* data, wl_output*, std::uint32_t flags, int width, int height, int) {
  if ((flags & WL_OUTPUT_MODE_CURRENT) != 0)
    static_cast<WaylandOutput*>(data)->mode_ = {width, height};
}

void WaylandOutput::Done(void* data, wl_output*) {
  static_cast<WaylandOutput*>(data)->changed_();
}

void WaylandOutput::ScaleEvent(void* data, wl_output*, int scale) {
  static_cast<WaylandOutput*>(data)->scale_ = scale > 0 ? scale : 1;
}

void WaylandOutput::LogicalSizeEvent(void* data, zxdg_output_v1*, int width, int height) {
  static_cast<WaylandOutput*>(data)->logical_ = {width, height};
}

}  // namespace testcard

// SPDX-License-Identifier: MIT
#include "surface/wayland/shm_presenter.hpp"

#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "surface/form/run_time_error.hpp"
#include "surface/window/populate_pages.hpp"
#include "viewporter-client.h"

namespace testcard {
namespace {

[[noreturn]] void RaiseShmFailure(const std::string& what) {
  throw RunTimeError(error_number::kWindowFailure, what + ": " + std::strerror(errno));
}

}  // namespace

ShmPresenter::ShmPresenter(wl_shm* shm, wl_surface* surface, wp_viewporter* viewporter)
    : shm_(shm), surface_(surface) {
  if (viewporter != nullptr) viewport_ = wp_viewporter_get_viewport(viewporter, surface);
}

ShmPresenter::~ShmPresenter() {
  for (Buffer& buffer : buffers_) {
    wl_buffer_destroy(buffer.handle);
    munmap(buffer.pixels, buffer.bytes);
  }
  if (viewport_ != nullptr) wp_viewport_destroy(viewport_);
}

void ShmPresenter::Cover(PixelSize device, PixelSize logical, int scale) {
  device_ = device;
  logical_ = logical;
  scale_ = scale;
}

ShmPresenter::Buffer* ShmPresenter::FreeOfTheSize() {
  for (Buffer& buffer : buffers_) {
    if (!buffer.busy && buffer.size.width == device_.width &&
        buffer.size.height == device_.height) {
      return &buffer;
    }
  }
  return nullptr;
}

ShmPresenter::Buffer& ShmPresenter::FreeBuffer() {
  if (Buffer* free = FreeOfTheSize()) return *free;
  // Buffers of another size are of no more use once the compositor is done
  // with them.
  std::erase_if(buffers_, [](const Buffer& buffer) {
    if (buffer.busy) return false;
    wl_buffer_destroy(buffer.handle);
    munmap(buffer.pixels, buffer.bytes);
    return true;
  });
  return MakeBuffer();
}

void ShmPresenter::PrepareSpare() {
  if (device_.width < 1 || device_.height < 1 || FreeOfTheSize() != nullptr) return;
  MakeBuffer();
}

ShmPresenter::Buffer& ShmPresenter::MakeBuffer() {
  Buffer made;
  made.size = device_;
  const std::size_t stride = std::size_t(device_.width) * 4;
  made.bytes = stride * std::size_t(device_.height);
  const int fd = memfd_create("testcard-picture", MFD_CLOEXEC);
  if (fd < 0) RaiseShmFailure("Cannot make memory to share with the compositor");
  if (ftruncate(fd, static_cast<off_t>(made.bytes)) != 0) {
    close(fd);
    RaiseShmFailure("Cannot make memory for a picture of " + std::to_string(device_.width) + " x " +
                    std::to_string(device_.height) + " pixels");
  }
  void* pixels = mmap(nullptr, made.bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  if (pixels == MAP_FAILED) {
    close(fd);
    RaiseShmFailure("Cannot map the picture's memory");
  }
  made.pixels = static_cast<std::uint8_t*>(pixels);
  PopulatePages(pixels, made.bytes);
  wl_shm_pool* pool = wl_shm_create_pool(shm_, fd, static_cast<std::int32_t>(made.bytes));
  made.handle =
      wl_shm_pool_create_buffer(pool, 0, device_.width, device_.height,
                                static_cast<std::int32_t>(stride), WL_SHM_FORMAT_XRGB8888);
  wl_shm_pool_destroy(pool);
  close(fd);
  buffers_.push_back(made);
  static const wl_buffer_listener kListener = {Release};
  // The listener finds its buffer by handle: the vector may move them.
  wl_buffer_add_listener(made.handle, &kListener, this);
  return buffers_.back();
}

void ShmPresenter::Release(void* data, wl_buffer* handle) {
  for (Buffer& buffer : static_cast<ShmPresenter*>(data)->buffers_) {
    if (buffer.handle == handle) buffer.busy = false;
  }
}

void ShmPresenter::Show(const Canvas& picture) {
  if (device_.width < 1 || device_.height < 1) return;
  Buffer& buffer = FreeBuffer();
  // XRGB8888 in memory is B, G, R, X: red and blue change places.
  CopyPicture(picture, {buffer.pixels, device_, std::size_t(device_.width) * 4},
              [](const Colour* from, std::uint8_t* to, int count) {
                auto* pixels = reinterpret_cast<std::uint32_t*>(to);
                for (int x = 0; x < count; ++x) {
                  const Colour pixel = from[x];
                  pixels[x] = (pixel & 0xFF) << 16 | (pixel & 0xFF00) | (pixel >> 16 & 0xFF);
                }
              });
  if (viewport_ != nullptr) {
    wp_viewport_set_destination(viewport_, logical_.width, logical_.height);
  } else {
    wl_surface_set_buffer_scale(surface_, scale_);
  }
  wl_surface_attach(surface_, buffer.handle, 0, 0);
  wl_surface_damage_buffer(surface_, 0, 0, device_.width, device_.height);
  wl_surface_commit(surface_);
  buffer.busy = true;
  shownDevice_ = device_;
  shownLogical_ = logical_;
}

bool ShmPresenter::Covers(PixelSize device, PixelSize logical) const {
  return device.width == shownDevice_.width && device.height == shownDevice_.height &&
         logical.width == shownLogical_.width && logical.height == shownLogical_.height;
}

}  // namespace testcard

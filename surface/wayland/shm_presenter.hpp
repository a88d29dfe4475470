// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <vector>

#include "surface/window/presenter.hpp"

struct wl_shm;
struct wl_surface;
struct wl_buffer;
struct wp_viewport;
struct wp_viewporter;

namespace testcard {

// Shows the picture on a Wayland surface from shared memory, one picture
// pixel on one device pixel, with no graphics stack at all: each picture
// goes into a buffer exactly `device` pixels large (XRGB8888, which every
// compositor takes), which the compositor is told covers `logical` units.
// With the viewporter it says so directly, at any scale, fractional ones
// too; without one the buffer carries the output's integer scale.
//
// A buffer the compositor still reads is never written: each Show takes a
// free one or makes another. Failures raise RunTimeError.
class ShmPresenter : public Presenter {
 public:
  ShmPresenter(wl_shm* shm, wl_surface* surface, wp_viewporter* viewporter);
  ~ShmPresenter() override;
  ShmPresenter(const ShmPresenter&) = delete;
  ShmPresenter& operator=(const ShmPresenter&) = delete;

  // What the next pictures are to cover: `device` pixels for `logical`
  // units; `scale` is the integer scale used where there is no viewporter.
  void Cover(PixelSize device, PixelSize logical, int scale);
  void Show(const Canvas& picture) override;
  // Makes a buffer for the next picture ahead, with its memory mapped in,
  // when every one of the size to cover is still with the compositor: at
  // 1920 x 1080 a new one took 8 ms of the next key's frame. For the time
  // after a picture has gone out.
  void PrepareSpare();
  // Whether the picture last shown covered `device` pixels for `logical`
  // units.
  bool Covers(PixelSize device, PixelSize logical) const;

 private:
  struct Buffer {
    wl_buffer* handle = nullptr;
    std::uint8_t* pixels = nullptr;
    std::size_t bytes = 0;
    PixelSize size;
    bool busy = false;
  };
  // A buffer of the size to cover that the compositor is done with, if any.
  Buffer* FreeOfTheSize();
  Buffer& FreeBuffer();
  Buffer& MakeBuffer();
  static void Release(void* data, wl_buffer* buffer);

  wl_shm* shm_;
  wl_surface* surface_;
  wp_viewport* viewport_ = nullptr;
  PixelSize device_;
  PixelSize logical_;
  int scale_ = 1;
  PixelSize shownDevice_;  // what the picture last shown covered
  PixelSize shownLogical_;
  std::vector<Buffer> buffers_;
};

}  // namespace testcard

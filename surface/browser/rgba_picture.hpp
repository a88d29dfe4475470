// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <vector>

#include "surface/window/presenter.hpp"

namespace testcard {

// The picture as a web page's canvas takes it (ImageData): the bytes R, G,
// B, A of every pixel, alpha 255, row by row, exactly the picture's size.
// The page puts it on its canvas from the top-left corner, and whatever the
// canvas has beyond it stays the opaque black every resize of an alpha-free
// canvas starts with.
class RgbaPicture : public Presenter {
 public:
  void Show(const Canvas& picture) override;

  const std::uint32_t* Pixels() const { return rgba_.data(); }
  int Width() const { return size_.width; }
  int Height() const { return size_.height; }

 private:
  std::vector<std::uint32_t> rgba_;
  PixelSize size_;
};

}  // namespace testcard

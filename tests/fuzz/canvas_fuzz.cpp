// Feeds arbitrary drawing calls, with arbitrary floats (NaN, infinities,
// 1e30, denormals), to a GridForm and checks that every call either raises
// the run-time error or draws only inside the picture (AddressSanitizer
// guards the pixel buffer), and that clipping changes nothing visible: the
// same calls on a larger form, cropped, give the same picture.
//
// Input: width byte, height byte, then calls. Each call is an opcode byte
// and its operands as raw little-endian floats or colour bytes.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "surface/colour.hpp"
#include "surface/grid_form.hpp"
#include "surface/pixel_geometry.hpp"
#include "surface/run_time_error.hpp"

namespace {

using testcard::GridForm;
using testcard::RunTimeError;

// Reads the input front to back; past the end it yields zeros.
class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool AtEnd() const { return position_ >= size_; }
  std::uint8_t Byte() { return position_ < size_ ? data_[position_++] : 0; }
  float Float() {
    std::uint8_t bytes[4] = {Byte(), Byte(), Byte(), Byte()};
    float value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t position_ = 0;
};

// The margin of the larger forms; even, so that moving a coordinate by it
// keeps halves rounding to the same side.
constexpr int kMargin = 64;

// A translated copy is only exact where adding the margin to the float
// coordinate is exact and the rasteriser is exact (not pre-cut).
bool TranslatesExactly(std::initializer_list<float> values) {
  for (const float v : values) {
    if (!(std::abs(v) < float(testcard::kMaxRasterCoordinate / 2))) return false;
    if (static_cast<float>(v + kMargin) - kMargin != v) return false;
  }
  return true;
}

struct Forms {
  GridForm small;
  GridForm wider;  // same origin, kMargin more on the right and bottom
  GridForm moved;  // kMargin more on every side, drawing moved by kMargin
  bool movedValid = true;

  template <typename Call>
  void Each(Call call) {
    bool raised[3] = {false, false, false};
    GridForm* forms[3] = {&small, &wider, &moved};
    for (int i = 0; i < 3; ++i) {
      try {
        call(*forms[i], i == 2 ? kMargin : 0);
      } catch (const RunTimeError&) {
        raised[i] = true;
      }
    }
    // Whether a call fails may not depend on the size of the picture.
    if (raised[0] != raised[1]) std::abort();
  }
};

void CheckCrop(const GridForm& small, const GridForm& large, int offset) {
  const testcard::Canvas& a = small.Picture();
  const testcard::Canvas& b = large.Picture();
  for (int y = 0; y < a.Height(); ++y) {
    const auto row = a.Row(y);
    const auto larger = b.Row(y + offset).subspan(static_cast<std::size_t>(offset), row.size());
    if (!std::equal(row.begin(), row.end(), larger.begin())) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Reader in(data, size);
  // Sizes from 1 to 509, mostly small so that the fuzzer runs fast.
  auto side = [&in] {
    const int byte = in.Byte();
    return 1 + byte * byte / 128;
  };
  const int width = side();
  const int height = side();
  Forms forms{GridForm(width, height), GridForm(width + kMargin, height + kMargin),
              GridForm(width + 2 * kMargin, height + 2 * kMargin)};
  for (int calls = 0; !in.AtEnd() && calls < 64; ++calls) {
    switch (in.Byte() % 4) {
      case 0:
        forms.Each([&](GridForm& form, int) { form.Cls(); });
        break;
      case 1: {
        const int r = in.Byte(), g = in.Byte(), b = in.Byte();
        forms.Each([&](GridForm& form, int) { form.ForeColor(testcard::rtcRgb(r, g, b)); });
        break;
      }
      case 2: {
        const float x1 = in.Float(), y1 = in.Float(), x2 = in.Float(), y2 = in.Float();
        forms.movedValid = forms.movedValid && TranslatesExactly({x1, y1, x2, y2});
        forms.Each([&](GridForm& form, int d) {
          form.Line(x1 + float(d), y1 + float(d), x2 + float(d), y2 + float(d));
        });
        break;
      }
      default: {
        const float x = in.Float(), y = in.Float(), r = in.Float();
        forms.movedValid = forms.movedValid && TranslatesExactly({x, y, r});
        forms.Each([&](GridForm& form, int d) { form.Circle(x + float(d), y + float(d), r); });
        break;
      }
    }
  }
  CheckCrop(forms.small, forms.wider, 0);
  if (forms.movedValid) CheckCrop(forms.small, forms.moved, kMargin);
  return 0;
}

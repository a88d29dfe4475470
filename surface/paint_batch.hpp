#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "surface/colour.hpp"
#include "surface/line_raster.hpp"

namespace testcard {

// Pixel runs waiting to be painted onto a width x height image, kept in the
// order they were drawn and painted later, row by row.
//
// The picture this gives is exactly the picture of painting every run at
// once, in drawing order; what changes is the memory traffic. Painted
// straight into a large image, a one-pixel vertical line costs a cache miss
// per row, and the patterns draw thousands of them (colour ramps, grid
// lines at small pitches) over a full clear. Queued, the image is painted in
// bands of rows: the runs that cross a whole band are composed once into one
// template row, which is copied to every row of the band, and the few runs
// that cross only some of its rows are applied to those rows while they are
// in cache. Each pixel is then written about once, whatever was drawn.
//
// Adjacent vertical runs of equal extent, drawn one after the other, merge
// into one block with a colour per column; a fill of the whole image drops
// everything queued before it.
class PaintBatch {
 public:
  // Forgets all queued runs and takes a new image size.
  void Reset(int width, int height);
  // Queues a fill of the whole image.
  void Fill(Colour colour);
  // Queues `length` pixels from (x, y) going right or down; the run must lie
  // inside the image.
  void Run(int x, int y, int length, RunAxis axis, Colour colour) {
    // Inline: a colour ramp sends thousands of these, nearly all extending
    // the block before.
    if (axis != RunAxis::kVertical || !ExtendLastBlock(x, y, length, colour)) {
      QueueRun(x, y, length, axis, colour);
    }
  }
  // Queues a vertical run when it continues the block of vertical runs
  // queued last (same rows, next column); returns false, queuing nothing,
  // when it does not.
  bool ExtendLastBlock(int x, int y, int length, Colour colour) {
    if (ops_.empty()) return false;
    Op& last = ops_.back();
    if (last.columns == kSolid || last.y != y || last.height != length ||
        last.x + last.width != x) {
      return false;
    }
    ++last.width;
    columnColours_.push_back(colour);
    return true;
  }
  bool Empty() const { return ops_.empty(); }
  // True when the queue should be painted before more is queued, which
  // bounds its memory.
  bool Full() const { return ops_.size() >= kMaxOps; }
  // Paints every queued run onto `pixels` (the image, row by row, width
  // pixels a row) and empties the queue.
  void PaintOnto(std::span<Colour> pixels);

 private:
  // A rectangle painted with one colour, or, for merged vertical runs, with
  // one colour per column taken from columnColours_ from index `columns`.
  struct Op {
    int x, y, width, height;
    Colour colour;
    std::uint32_t columns;
  };
  static constexpr std::uint32_t kSolid = UINT32_MAX;
  static constexpr std::size_t kMaxOps = std::size_t{1} << 16;
  static constexpr int kBandHeight = 32;

  void QueueRun(int x, int y, int length, RunAxis axis, Colour colour);
  void Queue(const Op& op);
  // Pixel columns [begin, end).
  struct Span {
    int begin, end;
  };
  // Columns [begin, end) of the op at `order` in a band's list.
  struct Piece {
    std::uint32_t order;
    int begin, end;
  };
  // In a row, ops narrower than this never hide what is drawn before them:
  // not worth the bookkeeping.
  static constexpr int kMinCoverWidth = 64;

  void PaintBand(std::span<Colour> pixels, int band);
  // From the band's op `first` on: composes the ops crossing every row of
  // the band into template_, and lists the others by row in rowOps_.
  void SortBand(const std::vector<std::uint32_t>& ops, std::size_t first, int top, int bottom);
  // Paints the ops listed for one row over the template copied into it.
  void PaintRowOps(Colour* row, const std::vector<std::uint32_t>& ops, const std::uint32_t* first,
                   const std::uint32_t* last);
  void SubtractCover(Span span, std::uint32_t order);
  void AddCover(Span span);
  void PaintInOrder(std::span<Colour> pixels, int top, int bottom,
                    const std::vector<std::uint32_t>& ops) const;
  // Paints columns [begin, end) of `op` into one row.
  void PaintSpan(Colour* row, const Op& op, int begin, int end) const;

  int width_ = 0;
  int height_ = 0;
  std::vector<Op> ops_;
  std::vector<Colour> columnColours_;
  // For each band of kBandHeight rows, the indices of the ops that reach
  // into it, in drawing order.
  std::vector<std::vector<std::uint32_t>> bands_;
  // Scratch for painting a band.
  std::vector<Colour> template_;
  std::vector<std::uint32_t> crossing_;  // orders of the ops crossing every row
  // The orders of the other ops, by row: those of row r (within the band)
  // are rowOps_[rowStarts_[r]] to rowOps_[rowStarts_[r + 1] - 1].
  std::vector<std::uint32_t> rowOps_;
  std::uint32_t rowStarts_[kBandHeight + 1] = {};
  // Scratch for painting a row: what wide ops cover, and what stays visible.
  std::vector<Span> cover_;
  std::vector<Piece> pieces_;
};

}  // namespace testcard

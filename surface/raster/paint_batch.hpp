// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "surface/raster/circle_rows.hpp"
#include "surface/raster/colour.hpp"
#include "surface/raster/line_raster.hpp"

namespace testcard {

// Pixel runs and circle outlines waiting to be painted onto a width x height
// image, kept in the order they were drawn and painted later, row by row.
//
// The picture this gives is exactly the picture of painting everything at
// once, in drawing order; what changes is the memory traffic. Painted
// straight into a large image, a one-pixel vertical line costs a cache miss
// per row, and the patterns draw thousands of them (colour ramps, grid
// lines at small pitches) over a full clear. Queued, the image is painted in
// bands of rows: the runs that cross a whole band are composed once into a
// template row that is copied to every row of the band; what crosses only
// some rows (horizontal lines, circles) is applied to those rows while they
// are in cache, and only where no wide run drawn after it hides it; and a
// row drawn like the one above it is copied from it. Each pixel is then
// written about once, whatever was drawn.
//
// Adjacent runs drawn one after the other merge: vertical runs of equal
// extent into one block with a colour per column, touching horizontal runs
// of one colour into one. A fill of the whole image drops everything queued
// before it.
class PaintBatch {
 public:
  // Forgets all queued runs and takes a new image size.
  void Reset(int width, int height);
  // Queues a fill of the whole image.
  void Fill(Colour colour);
  // Queues the outline of the circle around (x, y) with the given radius,
  // as RasterCircle draws it, clipped to the image; radius from 1 up to
  // kMaxQueuedRadius.
  void Outline(int x, int y, int radius, Colour colour);
  static constexpr int kMaxQueuedRadius = 1 << 16;
  // Queues `length` pixels from (x, y) going right or down; the run must lie
  // inside the image.
  void Run(int x, int y, int length, RunAxis axis, Colour colour) {
    // Inline: a colour ramp sends thousands of these, nearly all extending
    // the block before.
    const bool extended = axis == RunAxis::kVertical ? ExtendLastBlock(x, y, length, colour)
                                                     : ExtendLastRow(x, y, length, colour);
    if (!extended) QueueRun(x, y, length, axis, colour);
  }
  bool Empty() const { return ops_.empty(); }
  // True when the queue should be painted before more is queued, which
  // bounds its memory.
  bool Full() const { return ops_.size() >= kMaxOps; }
  // Paints everything queued onto `pixels` (the image, row by row, width
  // pixels a row) and empties the queue.
  void PaintOnto(std::span<Colour> pixels);

 private:
  // Queues a vertical run when it continues the block of vertical runs
  // queued last (same rows, next column); returns false, queuing nothing,
  // when it does not. A colour ramp is thousands of such runs.
  bool ExtendLastBlock(int x, int y, int length, Colour colour) {
    if (ops_.empty()) return false;
    Op& last = ops_.back();
    if (last.kind != OpKind::kColumns || last.y != y || last.height != length ||
        last.x + last.width != x) {
      return false;
    }
    ++last.width;
    columnColours_.push_back(colour);
    return true;
  }
  // Likewise for a horizontal run of the colour of the run queued last and
  // touching it in the same row.
  bool ExtendLastRow(int x, int y, int length, Colour colour) {
    if (ops_.empty()) return false;
    Op& last = ops_.back();
    if (last.kind != OpKind::kSolid || last.height != 1 || last.y != y || last.colour != colour ||
        (x != last.x + last.width && x + length != last.x)) {
      return false;
    }
    last.x = std::min(last.x, x);
    last.width += length;
    return true;
  }

  enum class OpKind : std::uint8_t {
    kSolid,    // every pixel of the rectangle in `colour`
    kColumns,  // merged vertical runs: column x + i in columnColours_[data + i]
    kOutline,  // the pixels of circles_[data] in its bounding rectangle, in `colour`
  };
  // What one drawing call left to paint, within a rectangle of the image
  // (an outline's may reach beyond its sides).
  struct Op {
    int x, y, width, height;
    Colour colour;
    std::uint32_t data;
    OpKind kind;
  };
  struct Circle {
    int x, y;  // the centre
    CircleRows rows;
  };
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
  // Whether the op paints every pixel of its span in a row, and wide enough
  // to be worth leaving out what it hides.
  static bool HidesWhatIsBelow(const Op& op) {
    return op.kind != OpKind::kOutline && op.width >= kMinCoverWidth;
  }

  void PaintBand(std::span<Colour> pixels, int band);
  // From the band's op `first` on: composes the ops crossing every row of
  // the band into template_, and lists the others by row in rowOps_.
  void SortBand(const std::vector<std::uint32_t>& ops, std::size_t first, int top, int bottom);
  // Whether two rows of a band, listing these ops, get the same pixels.
  bool SameRowOps(const std::vector<std::uint32_t>& ops, const std::uint32_t* first,
                  const std::uint32_t* last, const std::uint32_t* otherFirst,
                  const std::uint32_t* otherLast) const;
  // The first of the ops crossing the band drawn after the op at `order`.
  std::vector<std::uint32_t>::const_iterator CrossingAfter(std::uint32_t order) const;
  // Paints row y: the template, and over it the ops listed for the row.
  void PaintRow(Colour* row, int y, const std::vector<std::uint32_t>& ops,
                const std::uint32_t* first, const std::uint32_t* last);
  // Paints one piece of an op into a row, then what crossing ops drawn after
  // it put over that piece.
  void PaintPiece(Colour* row, int y, const std::vector<std::uint32_t>& ops,
                  const Piece& piece) const;
  void SubtractCover(Span span, std::uint32_t order);
  void AddCover(Span span);
  void PaintInOrder(std::span<Colour> pixels, int top, int bottom,
                    const std::vector<std::uint32_t>& ops) const;
  // Paints columns [begin, end) of `op` into row y.
  void PaintSpan(Colour* row, int y, const Op& op, int begin, int end) const;
  void PaintOutline(Colour* row, int y, const Op& op, int begin, int end) const;

  int width_ = 0;
  int height_ = 0;
  std::vector<Op> ops_;
  std::vector<Colour> columnColours_;
  std::vector<Circle> circles_;
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

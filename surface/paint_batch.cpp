#include "surface/paint_batch.hpp"

#include <algorithm>

namespace testcard {

void PaintBatch::Reset(int width, int height) {
  width_ = width;
  height_ = height;
  ops_.clear();
  columnColours_.clear();
  bands_.assign(height <= 0 ? 0 : (height + kBandHeight - 1) / kBandHeight, {});
  template_.resize(static_cast<std::size_t>(std::max(width, 0)));
}

void PaintBatch::Fill(Colour colour) {
  ops_.clear();
  columnColours_.clear();
  for (auto& band : bands_)
    band.clear();
  if (width_ > 0 && height_ > 0) Queue({0, 0, width_, height_, colour, kSolid});
}

void PaintBatch::QueueRun(int x, int y, int length, RunAxis axis, Colour colour) {
  if (axis == RunAxis::kHorizontal) {
    // A circle's outline comes as single pixels, many of them side by side
    // in one row: extend the last run rather than queue another.
    if (!ops_.empty()) {
      Op& last = ops_.back();
      if (last.columns == kSolid && last.height == 1 && last.y == y && last.colour == colour &&
          (x == last.x + last.width || x + length == last.x)) {
        last.x = std::min(last.x, x);
        last.width += length;
        return;
      }
    }
    Queue({x, y, length, 1, colour, kSolid});
  } else {
    Queue({x, y, 1, length, colour, static_cast<std::uint32_t>(columnColours_.size())});
    columnColours_.push_back(colour);
  }
}

void PaintBatch::Queue(const Op& op) {
  const auto index = static_cast<std::uint32_t>(ops_.size());
  ops_.push_back(op);
  const int last = (op.y + op.height - 1) / kBandHeight;
  for (int band = op.y / kBandHeight; band <= last; ++band)
    bands_[band].push_back(index);
}

void PaintBatch::PaintSpan(Colour* row, const Op& op, int begin, int end) const {
  if (op.columns == kSolid) {
    std::fill(row + begin, row + end, op.colour);
  } else {
    const Colour* colours = columnColours_.data() + op.columns + (begin - op.x);
    // The edges of grid cells are one or two columns: not worth a call.
    if (end - begin <= 4) {
      for (int x = begin; x < end; ++x)
        row[x] = *colours++;
    } else {
      std::copy(colours, colours + (end - begin), row + begin);
    }
  }
}

void PaintBatch::PaintInOrder(std::span<Colour> pixels, int top, int bottom,
                              const std::vector<std::uint32_t>& ops) const {
  for (const std::uint32_t index : ops) {
    const Op& op = ops_[index];
    const int from = std::max(top, op.y);
    const int to = std::min(bottom, op.y + op.height);
    for (int y = from; y < to; ++y) {
      PaintSpan(pixels.data() + std::size_t(y) * std::size_t(width_), op, op.x, op.x + op.width);
    }
  }
}

void PaintBatch::PaintBand(std::span<Colour> pixels, int band) {
  const int top = band * kBandHeight;
  const int bottom = std::min(height_, top + kBandHeight);
  const std::vector<std::uint32_t>& ops = bands_[band];
  // Nothing drawn before the last op that covers the whole band shows. When
  // no op does, what the band held before shows through: paint in order.
  std::size_t opaque = ops.size();
  do {
    if (opaque == 0) return PaintInOrder(pixels, top, bottom, ops);
    const Op& op = ops_[ops[--opaque]];
    if (op.x == 0 && op.width == width_ && op.y <= top && op.y + op.height >= bottom) break;
  } while (true);

  SortBand(ops, opaque, top, bottom);
  for (int y = top; y < bottom; ++y) {
    Colour* row = pixels.data() + std::size_t(y) * std::size_t(width_);
    std::copy(template_.begin(), template_.end(), row);
    PaintRowOps(row, ops, rowOps_.data() + rowStarts_[y - top],
                rowOps_.data() + rowStarts_[y - top + 1]);
  }
}

void PaintBatch::SortBand(const std::vector<std::uint32_t>& ops, std::size_t first, int top,
                          int bottom) {
  auto crossesBand = [&](const Op& op) { return op.y <= top && op.y + op.height >= bottom; };
  crossing_.clear();
  std::fill(std::begin(rowStarts_), std::end(rowStarts_), 0);
  for (std::size_t order = first; order < ops.size(); ++order) {
    const Op& op = ops_[ops[order]];
    if (crossesBand(op)) {
      PaintSpan(template_.data(), op, op.x, op.x + op.width);
      crossing_.push_back(static_cast<std::uint32_t>(order));
    } else {
      const int to = std::min(bottom, op.y + op.height);
      for (int y = std::max(top, op.y); y < to; ++y)
        ++rowStarts_[y - top + 1];
    }
  }
  // A counting sort by row, keeping drawing order within each row.
  for (int row = 0; row < kBandHeight; ++row)
    rowStarts_[row + 1] += rowStarts_[row];
  rowOps_.resize(rowStarts_[kBandHeight]);
  std::uint32_t next[kBandHeight];
  std::copy(rowStarts_, rowStarts_ + kBandHeight, next);
  for (std::size_t order = first; order < ops.size(); ++order) {
    const Op& op = ops_[ops[order]];
    if (crossesBand(op)) continue;
    const int to = std::min(bottom, op.y + op.height);
    for (int y = std::max(top, op.y); y < to; ++y) {
      rowOps_[next[y - top]++] = static_cast<std::uint32_t>(order);
    }
  }
}

void PaintBatch::PaintRowOps(Colour* row, const std::vector<std::uint32_t>& ops,
                             const std::uint32_t* first, const std::uint32_t* last) {
  if (first == last) return;
  // Backwards first: a wide op hides what the ops before it drew in this
  // row, so only what stays visible of each is painted.
  cover_.clear();
  pieces_.clear();
  for (const std::uint32_t* order = last; order-- != first;) {
    const Op& op = ops_[ops[*order]];
    const Span span{op.x, op.x + op.width};
    SubtractCover(span, *order);
    if (op.width >= kMinCoverWidth) AddCover(span);
  }
  for (auto piece = pieces_.rbegin(); piece != pieces_.rend(); ++piece) {
    const Op& op = ops_[ops[piece->order]];
    PaintSpan(row, op, piece->begin, piece->end);
    // The template holds what the ops crossing the band drew later over this
    // piece; put that back.
    auto later = std::upper_bound(crossing_.begin(), crossing_.end(), piece->order);
    for (; later != crossing_.end(); ++later) {
      const Op& over = ops_[ops[*later]];
      const int begin = std::max(piece->begin, over.x);
      const int end = std::min(piece->end, over.x + over.width);
      if (begin < end) PaintSpan(row, over, begin, end);
    }
  }
}

void PaintBatch::SubtractCover(Span span, std::uint32_t order) {
  for (const Span& covered : cover_) {
    if (covered.end <= span.begin) continue;
    if (covered.begin >= span.end) break;
    if (covered.begin > span.begin) pieces_.push_back({order, span.begin, covered.begin});
    span.begin = std::max(span.begin, covered.end);
    if (span.begin >= span.end) return;
  }
  pieces_.push_back({order, span.begin, span.end});
}

void PaintBatch::AddCover(Span span) {
  // cover_ stays sorted, its spans neither overlapping nor touching.
  auto first = std::lower_bound(cover_.begin(), cover_.end(), span.begin,
                                [](const Span& s, int x) { return s.end < x; });
  auto last = first;
  while (last != cover_.end() && last->begin <= span.end) {
    span.begin = std::min(span.begin, last->begin);
    span.end = std::max(span.end, last->end);
    ++last;
  }
  cover_.insert(cover_.erase(first, last), span);
}

void PaintBatch::PaintOnto(std::span<Colour> pixels) {
  for (int band = 0; band < static_cast<int>(bands_.size()); ++band) {
    if (bands_[band].empty()) continue;
    PaintBand(pixels, band);
    bands_[band].clear();
  }
  ops_.clear();
  columnColours_.clear();
}

}  // namespace testcard

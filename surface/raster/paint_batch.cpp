// SPDX-License-Identifier: MIT
#include "surface/raster/paint_batch.hpp"

#include <algorithm>
#include <cstdlib>

namespace testcard {

void PaintBatch::Reset(int width, int height) {
  width_ = width;
  height_ = height;
  ops_.clear();
  columnColours_.clear();
  circles_.clear();
  bands_.assign(height <= 0 ? 0 : (height + kBandHeight - 1) / kBandHeight, {});
  template_.resize(static_cast<std::size_t>(std::max(width, 0)));
}

void PaintBatch::Fill(Colour colour) {
  ops_.clear();
  columnColours_.clear();
  circles_.clear();
  for (auto& band : bands_)
    band.clear();
  if (width_ > 0 && height_ > 0) Queue({0, 0, width_, height_, colour, 0, OpKind::kSolid});
}

void PaintBatch::QueueRun(int x, int y, int length, RunAxis axis, Colour colour) {
  if (axis == RunAxis::kHorizontal) {
    Queue({x, y, length, 1, colour, 0, OpKind::kSolid});
  } else {
    Queue({x, y, 1, length, colour, static_cast<std::uint32_t>(columnColours_.size()),
           OpKind::kColumns});
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

void PaintBatch::Outline(int x, int y, int radius, Colour colour) {
  const int top = std::max(0, y - radius);
  const int bottom = std::min(height_, y + radius + 1);
  if (top >= bottom || x + radius < 0 || x - radius >= width_) return;
  circles_.push_back({x, y, CircleRows(radius)});
  Queue({x - radius, top, 2 * radius + 1, bottom - top, colour,
         static_cast<std::uint32_t>(circles_.size() - 1), OpKind::kOutline});
}

void PaintBatch::PaintSpan(Colour* row, int y, const Op& op, int begin, int end) const {
  switch (op.kind) {
    case OpKind::kSolid:
      std::fill(row + begin, row + end, op.colour);
      return;
    case OpKind::kColumns: {
      const Colour* colours = columnColours_.data() + op.data + (begin - op.x);
      // The edges of grid cells are one or two columns: not worth a call.
      if (end - begin <= 4) {
        for (int x = begin; x < end; ++x)
          row[x] = *colours++;
      } else {
        std::copy(colours, colours + (end - begin), row + begin);
      }
      return;
    }
    case OpKind::kOutline:
      PaintOutline(row, y, op, begin, end);
      return;
  }
}

void PaintBatch::PaintOutline(Colour* row, int y, const Op& op, int begin, int end) const {
  const Circle& circle = circles_[op.data];
  const CircleRows::Row pixels = circle.rows.At(std::abs(y - circle.y));
  begin = std::max(begin, 0);
  end = std::min(end, width_);
  auto paint = [&](int from, int to) {
    from = std::max(from, begin);
    to = std::min(to, end);
    if (from < to) std::fill(row + from, row + to, op.colour);
  };
  if (pixels.point >= 0) {
    paint(circle.x - pixels.point, circle.x - pixels.point + 1);
    paint(circle.x + pixels.point, circle.x + pixels.point + 1);
  }
  paint(circle.x - pixels.runEnd + 1, circle.x - pixels.runBegin + 1);
  paint(circle.x + pixels.runBegin, circle.x + pixels.runEnd);
}

void PaintBatch::PaintInOrder(std::span<Colour> pixels, int top, int bottom,
                              const std::vector<std::uint32_t>& ops) const {
  for (const std::uint32_t index : ops) {
    const Op& op = ops_[index];
    const int from = std::max(top, op.y);
    const int to = std::min(bottom, op.y + op.height);
    for (int y = from; y < to; ++y) {
      PaintSpan(pixels.data() + std::size_t(y) * std::size_t(width_), y, op, op.x, op.x + op.width);
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
    if (op.kind != OpKind::kOutline && op.x == 0 && op.width == width_ && op.y <= top &&
        op.y + op.height >= bottom) {
      break;
    }
  } while (true);

  SortBand(ops, opaque, top, bottom);
  for (int y = top; y < bottom; ++y) {
    Colour* row = pixels.data() + std::size_t(y) * std::size_t(width_);
    const std::uint32_t* first = rowOps_.data() + rowStarts_[y - top];
    const std::uint32_t* last = rowOps_.data() + rowStarts_[y - top + 1];
    // Rows of a band drawn alike come out alike (a grid at a small pitch is
    // hundreds of them): copy the row above rather than paint it again.
    if (y > top && SameRowOps(ops, rowOps_.data() + rowStarts_[y - top - 1], first, first, last)) {
      std::copy(row - width_, row, row);
    } else {
      PaintRow(row, y, ops, first, last);
    }
  }
}

bool PaintBatch::SameRowOps(const std::vector<std::uint32_t>& ops, const std::uint32_t* first,
                            const std::uint32_t* last, const std::uint32_t* otherFirst,
                            const std::uint32_t* otherLast) const {
  if (last - first != otherLast - otherFirst) return false;
  for (; first != last; ++first, ++otherFirst) {
    const Op& a = ops_[ops[*first]];
    const Op& b = ops_[ops[*otherFirst]];
    // An outline's pixels differ from row to row.
    if (a.kind == OpKind::kOutline || b.kind == OpKind::kOutline) return false;
    if (a.kind != b.kind || a.x != b.x || a.width != b.width || a.colour != b.colour ||
        (a.kind == OpKind::kColumns && a.data != b.data)) {
      return false;
    }
    // Alike, but one drawn before a crossing op and the other after it.
    if (CrossingAfter(*first) != CrossingAfter(*otherFirst)) return false;
  }
  return true;
}

std::vector<std::uint32_t>::const_iterator PaintBatch::CrossingAfter(std::uint32_t order) const {
  if (crossing_.empty() || crossing_.back() < order) return crossing_.end();
  return std::upper_bound(crossing_.begin(), crossing_.end(), order);
}

void PaintBatch::SortBand(const std::vector<std::uint32_t>& ops, std::size_t first, int top,
                          int bottom) {
  // An outline differs from row to row, so it never goes into the template.
  auto crossesBand = [&](const Op& op) {
    return op.kind != OpKind::kOutline && op.y <= top && op.y + op.height >= bottom;
  };
  crossing_.clear();
  std::fill(std::begin(rowStarts_), std::end(rowStarts_), 0);
  for (std::size_t order = first; order < ops.size(); ++order) {
    const Op& op = ops_[ops[order]];
    if (crossesBand(op)) {
      PaintSpan(template_.data(), top, op, op.x, op.x + op.width);
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

void PaintBatch::PaintRow(Colour* row, int y, const std::vector<std::uint32_t>& ops,
                          const std::uint32_t* first, const std::uint32_t* last) {
  if (first == last) {
    std::copy(template_.begin(), template_.end(), row);
    return;
  }
  // A wide op hides what was drawn before it in this row, the template
  // included. Work out backwards what stays visible of each op...
  cover_.clear();
  pieces_.clear();
  for (const std::uint32_t* order = last; order-- != first;) {
    const Op& op = ops_[ops[*order]];
    const Span span{op.x, op.x + op.width};
    SubtractCover(span, *order);
    if (HidesWhatIsBelow(op)) AddCover(span);
  }
  // ...then paint, in drawing order, the template where nothing hides it
  // and what stays visible of each op.
  int from = 0;
  for (const Span& hidden : cover_) {
    if (hidden.begin > from) std::copy(&template_[from], &template_[hidden.begin], row + from);
    from = std::max(from, hidden.end);
  }
  if (from < width_) std::copy(template_.begin() + from, template_.end(), row + from);
  for (auto piece = pieces_.rbegin(); piece != pieces_.rend(); ++piece) {
    PaintPiece(row, y, ops, *piece);
  }
}

void PaintBatch::PaintPiece(Colour* row, int y, const std::vector<std::uint32_t>& ops,
                            const Piece& piece) const {
  PaintSpan(row, y, ops_[ops[piece.order]], piece.begin, piece.end);
  // The template holds what the ops crossing the band drew later over this
  // piece; put that back.
  for (auto later = CrossingAfter(piece.order); later != crossing_.end(); ++later) {
    const Op& over = ops_[ops[*later]];
    const int begin = std::max(piece.begin, over.x);
    const int end = std::min(piece.end, over.x + over.width);
    if (begin < end) PaintSpan(row, y, over, begin, end);
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

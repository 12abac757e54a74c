#include "runtime/picture/lazy_raster.h"

#include <algorithm>
#include <utility>

#include "runtime/picture/line_drawing.h"
#include "runtime/state/runtime_state.h"

namespace rt {

QueuedTextRasters::~QueuedTextRasters() { apply_all(); }

void QueuedTextRasters::apply_all() {
  // Each raster takes itself off the list as it applies its queue.
  while (!rasters_.empty()) rasters_.back()->pixels();
}

LazyRaster::LazyRaster(std::int32_t width, std::int32_t height, Colour fill,
                       std::source_location where)
    : raster_(width, height, UnsetPixels{}, where), fill_(fill) {}

LazyRaster::~LazyRaster() { forget_registration(); }

LazyRaster::LazyRaster(const LazyRaster& other) : raster_(other.pixels()) {}

LazyRaster::LazyRaster(LazyRaster&& other) noexcept : raster_(std::move(other.raster_)) {
  take_queue(other);
}

LazyRaster& LazyRaster::operator=(const LazyRaster& other) {
  if (this != &other) replace(other.pixels());
  return *this;
}

LazyRaster& LazyRaster::operator=(LazyRaster&& other) noexcept {
  if (this != &other) {
    discard();
    raster_ = std::move(other.raster_);
    take_queue(other);
  }
  return *this;
}

void LazyRaster::take_queue(LazyRaster& other) noexcept {
  fill_ = other.fill_;
  ops_ = std::move(other.ops_);
  texts_ = std::move(other.texts_);
  joined_ = std::move(other.joined_);
  queued_bytes_ = other.queued_bytes_;
  other.fill_.reset();
  other.ops_.clear();
  other.texts_.clear();
  other.joined_.clear();
  other.queued_bytes_ = 0;
  registered_in_ = other.registered_in_;
  other.registered_in_ = nullptr;
  if (registered_in_) {
    auto& list = registered_in_->rasters_;
    std::replace(list.begin(), list.end(), static_cast<const LazyRaster*>(&other),
                 static_cast<const LazyRaster*>(this));
  }
}

void LazyRaster::fill(Colour c) {
  discard();
  fill_ = c;
}

void LazyRaster::replace(Raster r) {
  discard();
  fill_.reset();
  raster_ = std::move(r);
}

void LazyRaster::shape(Shape kind, const double (&ends)[4], Colour colour) {
  make_room(sizeof(Op));
  Op op{Op::Kind::kLine, colour, 0, 0, {ends[0], ends[1], ends[2], ends[3]}};
  if (kind == Shape::kRectangle) op.kind = Op::Kind::kRectangle;
  if (kind == Shape::kFilledRectangle) op.kind = Op::Kind::kFilledRectangle;
  ops_.push_back(op);
  queued_bytes_ += sizeof(Op);
}

void LazyRaster::joined_lines(const PointF* points, std::size_t n, Colour colour) {
  if (n < 2) return;
  make_room(sizeof(Op) + n * sizeof(PointF));
  ops_.push_back(Op{Op::Kind::kJoined, colour, joined_.size(), n, {}});
  joined_.insert(joined_.end(), points, points + n);
  queued_bytes_ += sizeof(Op) + n * sizeof(PointF);
}

void LazyRaster::text(TextRenderer& renderer, std::int32_t x, std::int32_t y, std::string_view utf8,
                      const std::string& face, std::int32_t pixel_height) {
  make_room(sizeof(Op) + sizeof(Text) + utf8.size() + face.size());
  // The renderer belongs to the current program: its list is the one to be on.
  QueuedTextRasters& list = state().queued_text;
  if (registered_in_ != &list) {
    if (registered_in_) apply();  // text for another program's renderer goes out now
    list.rasters_.push_back(this);
    registered_in_ = &list;
  }
  texts_.push_back(Text{&renderer, x, y, pixel_height, std::string(utf8), face});
  queued_bytes_ += sizeof(Text) + utf8.size() + face.size();
  ops_.push_back(Op{Op::Kind::kText, kBlack, texts_.size() - 1, 0, {}});
  queued_bytes_ += sizeof(Op);
}

void LazyRaster::make_room(std::size_t bytes) {
  const std::size_t raster_bytes = static_cast<std::size_t>(raster_.width()) *
                                   static_cast<std::size_t>(raster_.height()) * sizeof(Colour);
  if (queued_bytes_ + bytes > std::max(kMinQueueBytes, raster_bytes)) apply();
}

void LazyRaster::discard() {
  forget_registration();
  ops_.clear();
  texts_.clear();
  joined_.clear();
  queued_bytes_ = 0;
}

void LazyRaster::forget_registration() const {
  if (!registered_in_) return;
  auto& list = registered_in_->rasters_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  registered_in_ = nullptr;
}

void LazyRaster::apply() const {
  if (fill_ || !ops_.empty()) apply_queued();
}

void LazyRaster::apply_queued() const {
  forget_registration();
  if (fill_) raster_.fill(*fill_);
  fill_.reset();
  for (const Op& op : ops_) {
    if (op.kind == Op::Kind::kText) {
      const Text& t = texts_[op.index];
      t.renderer->draw_text(raster_, t.x, t.y, t.utf8, t.face, t.pixel_height, op.colour);
      continue;
    }
    if (op.kind == Op::Kind::kJoined) {
      // Each point rounded once: the end of one segment is the start of the next.
      const PointF* p = joined_.data() + op.index;
      std::int32_t x0 = pixel_coordinate(p[0].x), y0 = pixel_coordinate(p[0].y);
      for (std::size_t i = 1; i < op.count; ++i) {
        const std::int32_t x1 = pixel_coordinate(p[i].x), y1 = pixel_coordinate(p[i].y);
        draw_line(raster_, x0, y0, x1, y1, op.colour);
        x0 = x1;
        y0 = y1;
      }
      continue;
    }
    // The caller checked that every end rounds into 32 bits: rounding cannot fail here.
    const std::int32_t x0 = pixel_coordinate(op.ends[0]);
    const std::int32_t y0 = pixel_coordinate(op.ends[1]);
    const std::int32_t x1 = pixel_coordinate(op.ends[2]);
    const std::int32_t y1 = pixel_coordinate(op.ends[3]);
    switch (op.kind) {
      case Op::Kind::kLine:
        draw_line(raster_, x0, y0, x1, y1, op.colour);
        break;
      case Op::Kind::kRectangle:
        draw_rectangle_outline(raster_, x0, y0, x1, y1, op.colour);
        break;
      case Op::Kind::kFilledRectangle:
        raster_.fill_rect(x0, y0, x1, y1, op.colour);
        break;
      case Op::Kind::kText:
      case Op::Kind::kJoined:
        break;
    }
  }
  ops_.clear();
  texts_.clear();
  joined_.clear();
  queued_bytes_ = 0;
}

}  // namespace rt

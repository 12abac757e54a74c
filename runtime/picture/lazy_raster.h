#pragma once
// A picture's pixels with its drawing operations queued until something reads them. A batch run
// redraws its graph twice per spectrum and usually never looks at it: the lines, rectangles and
// texts it would have rasterised are dropped by the next clear or never drawn at all. Whoever
// reads the pixels gets exactly what drawing each operation at once would have given.

#include <cstdint>
#include <optional>
#include <source_location>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/picture/colour.h"
#include "runtime/picture/point.h"
#include "runtime/picture/raster.h"
#include "runtime/picture/text_renderer.h"

namespace rt {

class LazyRaster;

// The lazy rasters whose queue holds text for the program's installed renderer. They draw it
// while that renderer is still alive: before another is installed, and when the program ends
// (the renderer's owner keeps it until then).
class QueuedTextRasters {
 public:
  QueuedTextRasters() = default;
  ~QueuedTextRasters();
  QueuedTextRasters(const QueuedTextRasters&) = delete;
  QueuedTextRasters& operator=(const QueuedTextRasters&) = delete;

  // Applies every listed raster's queue; the list is then empty.
  void apply_all();

 private:
  friend class LazyRaster;
  std::vector<const LazyRaster*> rasters_;
};

enum class Shape : std::uint8_t { kLine, kRectangle, kFilledRectangle };

class LazyRaster {
 public:
  // A width x height raster in `fill`; errors as for Raster.
  LazyRaster(std::int32_t width, std::int32_t height, Colour fill,
             std::source_location where = std::source_location::current());
  ~LazyRaster();
  // A copy applies the source's queue first, so that no queue is ever shared; a move takes it.
  LazyRaster(const LazyRaster& other);
  LazyRaster(LazyRaster&& other) noexcept;
  LazyRaster& operator=(const LazyRaster& other);
  LazyRaster& operator=(LazyRaster&& other) noexcept;

  std::int32_t width() const { return raster_.width(); }
  std::int32_t height() const { return raster_.height(); }

  // The pixels, with everything queued applied.
  const Raster& pixels() const {
    apply();
    return raster_;
  }

  // Everything becomes `c`; what is queued is dropped.
  void fill(Colour c);
  // The pixels become `r` (of any size); what is queued is dropped.
  void replace(Raster r);
  // For a caller that draws itself: the pixels as they stand, nothing left queued.
  Raster& pixels_to_draw_on() {
    apply();
    return raster_;
  }

  // A shape between two corners given unrounded; each must round into 32 bits (the caller has
  // checked), they are rounded as pixel_coordinate does when the shape is drawn.
  void shape(Shape kind, const double (&ends)[4], Colour colour);
  // The segments joining points[0..n) in turn, in `colour`; each point must round into 32 bits
  // (the caller has checked). Queued as one run: a curve of a thousand points is one entry.
  void joined_lines(const PointF* points, std::size_t n, Colour colour);
  // Black text through `renderer`, which must stay installed in the current program until the
  // text is drawn (QueuedTextRasters sees to it).
  void text(TextRenderer& renderer, std::int32_t x, std::int32_t y, std::string_view utf8,
            const std::string& face, std::int32_t pixel_height);

  // A program that draws for ever without anyone looking keeps its memory bounded: the queue
  // is drawn once it would outgrow the raster itself, or this for a small raster.
  static constexpr std::size_t kMinQueueBytes = std::size_t{1} << 18;

 private:
  struct Text {
    TextRenderer* renderer;
    std::int32_t x, y, pixel_height;
    std::string utf8, face;
  };
  struct Op {
    enum class Kind : std::uint8_t { kLine, kRectangle, kFilledRectangle, kText, kJoined };
    Kind kind;
    Colour colour;
    std::size_t index;  // into texts_ for kText, the first point in joined_ for kJoined
    std::size_t count;  // kJoined: its points
    double ends[4];
  };

  void apply() const;
  void apply_queued() const;
  void discard();
  void take_queue(LazyRaster& other) noexcept;
  void make_room(std::size_t bytes);
  void forget_registration() const;

  // Reading the pixels is const to every caller, yet it is when the queue gets drawn: the
  // queue and the raster are one value seen from outside, hence mutable.
  mutable Raster raster_;
  mutable std::optional<Colour> fill_;  // applied before the operations
  mutable std::vector<Op> ops_;
  mutable std::vector<Text> texts_;
  mutable std::vector<PointF> joined_;
  mutable std::size_t queued_bytes_ = 0;
  mutable QueuedTextRasters* registered_in_ = nullptr;  // set while texts_ is not empty
};

}  // namespace rt

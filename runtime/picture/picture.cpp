#include "runtime/picture/picture.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "runtime/convert/arithmetic.h"
#include "runtime/errors/error_locations.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/picture/drawing.h"
#include "runtime/picture/line_drawing.h"
#include "runtime/picture/text_renderer.h"

namespace rt {
namespace {

// Whether every coordinate rounds to a 32-bit pixel.
bool all_in_pixel_range(std::initializer_list<double> coordinates) {
  // Whether each rounds (halves away from zero) into 32 bits, without rounding it: the bounds
  // are exact doubles, and NaN fails them.
  for (double v : coordinates)
    if (!(v > -2147483648.5 && v < 2147483647.5)) return false;
  return true;
}

// The program passes coordinates as singles: one beyond the single range (or not a number) is
// error 6.
void check_single_coordinate(double v, const std::source_location& where) {
  if (!(std::fabs(v) < kSingleOverflow))
    raise_error(kOverflow, location(CoordinateCheck::BeyondSingle), where);
}

}  // namespace

Picture::Picture(std::int32_t width, std::int32_t height, std::source_location where)
    : raster_(width, height, kWhite, where) {}

void Picture::clear() {
  raster_.fill(background_colour_);
  ++revision_;
}

void Picture::draw(const Drawing& drawing) {
  raster_.fill(background_colour_);
  render_drawing(drawing, raster_.pixels_to_draw_on(), 1);
  ++revision_;
}

void Picture::set_drawing_colour(std::int64_t colour, std::source_location where) {
  drawing_colour_ = checked_colour(colour, where);
}

void Picture::set_background_colour(std::int64_t colour, std::source_location where) {
  background_colour_ = checked_colour(colour, where);
}

void Picture::line(const LineCommand& command, std::source_location where) {
  // Every check comes before the first pixel, so a failed statement leaves no partial drawing.
  PointF first = current_;
  if (command.first) {
    first = *command.first;
    if (command.first_relative) {
      first.x += current_.x;
      first.y += current_.y;
    }
  }
  PointF second = command.second;
  if (command.second_relative) {
    second.x += first.x;
    second.y += first.y;
  }

  Colour colour = drawing_colour_;
  if (command.colour_index) colour = palette_colour(*command.colour_index, where);
  if (command.in_background) colour = background_colour_;
  // The fill index, when given, wins even over the background flag: it names the fill alone.
  Colour fill = colour;
  if (command.fill_index) fill = palette_colour(*command.fill_index, where);

  double ends[4] = {first.x, first.y, second.x, second.y};
  bool visible = true;
  if (!all_in_pixel_range({first.x, first.y, second.x, second.y})) {
    // An end beyond the 32-bit pixels (a tiny range puts curve points there) is still a valid
    // single: the part of the shape within reach of the raster is drawn, cut in double before
    // anything is rounded to pixels.
    for (double v : ends) check_single_coordinate(v, where);
    if (command.mode == LineMode::kLine) {
      visible = clip_to_reach(ends[0], ends[1], ends[2], ends[3]);
    } else {
      for (double& v : ends)
        v = std::clamp(v, -kClipReach, kClipReach);  // far edges stay off the raster
    }
  }
  if (visible) {
    // Every end now rounds into 32 bits; the rounding waits with the pixels.
    switch (command.mode) {
      case LineMode::kLine:
        raster_.shape(Shape::kLine, ends, colour);
        break;
      case LineMode::kRectangle:
        raster_.shape(Shape::kRectangle, ends, colour);
        break;
      case LineMode::kFilledRectangle:
        raster_.shape(Shape::kFilledRectangle, ends, fill);
        break;
    }
  }
  ++revision_;
  current_ = second;
}

void Picture::polyline(const std::vector<PointF>& points, std::source_location where) {
  // line() for each segment with both ends given, in the drawing colour, without the options.
  // Runs of segments within the 32-bit pixels are queued whole; a segment reaching beyond them
  // is checked and cut on its own, after the run before it.
  const Colour colour = drawing_colour_;
  std::size_t run = 0;  // the first point of the run of segments not yet queued
  const auto queue_run = [&](std::size_t end) {  // the segments between points run .. end
    raster_.joined_lines(points.data() + run, end - run + 1, colour);
    revision_ += end - run;
    current_ = points[end];
  };
  for (std::size_t i = 1; i < points.size(); ++i) {
    const PointF first = points[i - 1], second = points[i];
    if (all_in_pixel_range({first.x, first.y, second.x, second.y})) continue;
    if (i - 1 > run) queue_run(i - 1);
    double ends[4] = {first.x, first.y, second.x, second.y};
    for (double v : ends) check_single_coordinate(v, where);
    if (clip_to_reach(ends[0], ends[1], ends[2], ends[3]))
      raster_.shape(Shape::kLine, ends, colour);
    ++revision_;
    current_ = second;
    run = i;
  }
  if (points.size() > run + 1) queue_run(points.size() - 1);
}

Colour Picture::pixel(double x, double y, std::source_location where) const {
  if (!all_in_pixel_range({x, y})) {
    check_single_coordinate(x, where);
    check_single_coordinate(y, where);
    return kNoPixel;
  }
  return raster().pixel(pixel_coordinate(x, where), pixel_coordinate(y, where));
}

void Picture::set_font_size(double size, std::source_location where) {
  const std::int32_t pixels = pixel_coordinate(size, where);
  if (pixels < 1 || pixels > kMaxFontSize)
    raise_error(kInvalidArgument, location(FontCheck::BadSize), where);
  font_size_ = pixels;
}

void Picture::print_line(std::string_view utf8, std::source_location where) {
  const PointF at = text_position_;
  // A text that starts beyond the 32-bit pixels cannot reach the raster; the text position
  // still moves down by the font's line height (which an empty text asks of the renderer).
  const bool near = all_in_pixel_range({at.x, at.y});
  if (!near) {
    check_single_coordinate(at.x, where);
    check_single_coordinate(at.y, where);
  }
  const std::int32_t x = near ? pixel_coordinate(at.x, where) : 0;
  const std::int32_t y = near ? pixel_coordinate(at.y, where) : 0;
  int line_height = font_size_;
  if (TextRenderer* renderer = text_renderer()) {
    const int h = renderer->line_height(font_face_, font_size_);
    if (h > 0) line_height = h;
    if (near) {
      raster_.text(*renderer, x, y, utf8, font_face_, font_size_);
      ++revision_;
    }
  }
  text_position_ = PointF{0, (near ? static_cast<double>(y) : std::round(at.y)) + line_height};
}

PictureSettings Picture::settings() const {
  return PictureSettings{drawing_colour_, background_colour_, current_,
                         font_face_,      font_size_,         text_position_};
}

void Picture::restore(Raster raster, const PictureSettings& s) {
  raster_.replace(std::move(raster));
  drawing_colour_ = s.drawing_colour;
  background_colour_ = s.background_colour;
  current_ = s.current;
  font_face_ = s.font_face;
  font_size_ = s.font_size;
  text_position_ = s.text_position;
  ++revision_;
}

InkBox Picture::text_box(PointF at, std::string_view utf8) const {
  TextRenderer* renderer = text_renderer();
  if (!renderer || !all_in_pixel_range({at.x, at.y})) return {};
  InkBox box = renderer->ink_box(utf8, font_face_, font_size_);
  if (box.empty()) return {};
  const int x = pixel_coordinate(at.x), y = pixel_coordinate(at.y);
  return InkBox{box.left + x, box.top + y, box.right + x, box.bottom + y};
}

void Picture::resize(std::int32_t width, std::int32_t height, std::source_location where) {
  Raster resized(width, height, background_colour_, where);
  const Raster& old = raster();
  const std::int32_t w = std::min(width, old.width());
  const std::int32_t h = std::min(height, old.height());
  for (std::int32_t y = 0; y < h; ++y) std::copy(old.row(y), old.row(y) + w, resized.row(y));
  raster_.replace(std::move(resized));
  ++revision_;
}

}  // namespace rt

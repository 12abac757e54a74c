#include "runtime/picture/picture.h"

#include <algorithm>

#include "runtime/errors/error_locations.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/picture/line_drawing.h"
#include "runtime/picture/text_renderer.h"

namespace rt {

Picture::Picture(std::int32_t width, std::int32_t height, std::source_location where)
    : raster_(width, height, kWhite, where) {}

void Picture::clear() {
  raster_.fill(background_colour_);
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

  const std::int32_t x0 = pixel_coordinate(first.x, where);
  const std::int32_t y0 = pixel_coordinate(first.y, where);
  const std::int32_t x1 = pixel_coordinate(second.x, where);
  const std::int32_t y1 = pixel_coordinate(second.y, where);

  switch (command.mode) {
    case LineMode::kLine:
      draw_line(raster_, x0, y0, x1, y1, colour);
      break;
    case LineMode::kRectangle:
      draw_rectangle_outline(raster_, x0, y0, x1, y1, colour);
      break;
    case LineMode::kFilledRectangle:
      raster_.fill_rect(x0, y0, x1, y1, fill);
      break;
  }
  ++revision_;
  current_ = second;
}

Colour Picture::pixel(double x, double y, std::source_location where) const {
  const std::int32_t px = pixel_coordinate(x, where);
  const std::int32_t py = pixel_coordinate(y, where);
  return raster_.pixel(px, py);
}

void Picture::set_font_size(double size, std::source_location where) {
  const std::int32_t pixels = pixel_coordinate(size, where);
  if (pixels < 1 || pixels > kMaxFontSize)
    raise_error(kInvalidArgument, location(FontCheck::BadSize), where);
  font_size_ = pixels;
}

void Picture::print_line(std::string_view utf8, std::source_location where) {
  const std::int32_t x = pixel_coordinate(text_position_.x, where);
  const std::int32_t y = pixel_coordinate(text_position_.y, where);
  int line_height = font_size_;
  if (TextRenderer* renderer = text_renderer()) {
    const int h = renderer->draw_text(raster_, x, y, utf8, font_face_, font_size_, kBlack);
    if (h > 0) line_height = h;
    ++revision_;
  }
  text_position_ = PointF{0, static_cast<double>(y) + line_height};
}

void Picture::resize(std::int32_t width, std::int32_t height, std::source_location where) {
  Raster resized(width, height, background_colour_, where);
  const std::int32_t w = std::min(width, raster_.width());
  const std::int32_t h = std::min(height, raster_.height());
  for (std::int32_t y = 0; y < h; ++y)
    std::copy(raster_.row(y), raster_.row(y) + w, resized.row(y));
  raster_ = std::move(resized);
  ++revision_;
}

}  // namespace rt

#include "app/graph/axis_marks.h"

#include "runtime/picture/picture_ops.h"
#include "runtime/picture/raster.h"

namespace app {

std::int32_t PixelOf::operator()(float v) {
  if (last_ && v > *last_ - 0.5 && v < *last_ + 0.5) return *last_;
  last_ = rt::pixel_coordinate(v);  // the picture's rule, with its overflow error
  return *last_;
}

void TickSeries::line(float x1, float y1, float x2, float y2) {
  const Ends ends{x1_(x1), y1_(y1), x2_(x2), y2_(y2)};
  if (last_ == ends) return;
  rt::LineCommand command;
  command.first = rt::PointF{x1, y1};
  command.second = rt::PointF{x2, y2};
  rt::picture_line(picture_, command);
  last_ = ends;
}

bool LabelSeries::skip(float x, float y, double key) {
  const Place place{x_(x), y_(y), key};
  if (last_ == place) return true;
  // Glyphs overhang their start by less than a character height; four leave room to spare.
  const double reach = 4.0 * font_size_;
  if (place.x > width_ + reach || place.y > height_ + reach || place.y < -reach) return true;
  last_ = place;
  return false;
}

void LabelSeries::print_text(float x, float y, const std::string& text) {
  rt::picture_text_position(picture_, rt::PointF{x, y});
  rt::picture_print_line(picture_, text);
}

}  // namespace app

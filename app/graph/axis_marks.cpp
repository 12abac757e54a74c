#include "app/graph/axis_marks.h"

#include <algorithm>

#include "runtime/picture/picture_ops.h"
#include "runtime/picture/raster.h"

namespace app {

std::int32_t PixelOf::ask(float v) {
  last_ = rt::pixel_coordinate(v);  // the picture's rule, with its overflow error
  known_ = true;
  return last_;
}

void TickSeries::line(float x1, float y1, float x2, float y2) {
  const std::int32_t ends[4] = {x1_(x1), y1_(y1), x2_(x2), y2_(y2)};
  if (drawn_ && ends[0] == last_[0] && ends[1] == last_[1] && ends[2] == last_[2] && ends[3] == last_[3])
    return;
  rt::LineCommand command;
  command.first = rt::PointF{x1, y1};
  command.second = rt::PointF{x2, y2};
  rt::picture_line(picture_, command);
  drawn_ = true;
  std::copy(ends, ends + 4, last_);
}

bool LabelSeries::skip(float x, float y, double key) {
  const std::int32_t px = x_(x), py = y_(y);
  if (printed_ && px == last_x_ && py == last_y_ && key == last_key_) return true;
  // Glyphs overhang their start by less than a character height; four leave room to spare.
  const double reach = 4.0 * font_size_;
  if (px > width_ + reach || py > height_ + reach || py < -reach) return true;
  printed_ = true;
  last_x_ = px;
  last_y_ = py;
  last_key_ = key;
  return false;
}

void LabelSeries::print_text(float x, float y, const std::string& text) {
  rt::picture_text_position(picture_, rt::PointF{x, y});
  rt::picture_print_line(picture_, text);
}

}  // namespace app

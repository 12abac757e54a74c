#include "app/graph/axis_marks.h"

#include <algorithm>
#include <cmath>

#include "runtime/picture/picture_ops.h"

namespace app {

double PixelOf::ask(float v) {
  last_ = std::round(v);  // the picture's rule: halves away from zero
  known_ = true;
  return last_;
}

void TickSeries::line(float x1, float y1, float x2, float y2) {
  const double ends[4] = {x1_(x1), y1_(y1), x2_(x2), y2_(y2)};
  if (drawn_ && std::equal(ends, ends + 4, last_)) return;
  rt::LineCommand command;
  command.first = rt::PointF{x1, y1};
  command.second = rt::PointF{x2, y2};
  rt::picture_line(picture_, command);
  drawn_ = true;
  std::copy(ends, ends + 4, last_);
}

bool LabelSeries::beyond_reach(double px, double py) const {
  // Glyphs overhang their start by less than a character height; four leave room to spare.
  const double reach = LabelSeries::reach(font_size_);
  return px > width_ + reach || py > height_ + reach || py < -reach;
}

void LabelSeries::print_text(float x, float y, const std::string& text) {
  rt::picture_text_position(picture_, rt::PointF{x, y});
  rt::picture_print_line(picture_, text);
}

}  // namespace app

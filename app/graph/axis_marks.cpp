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

rt::InkBox LabelSeries::ink_box(float x, float y, const std::string& text) const {
  const rt::InkBox box = rt::picture_text_box(picture_, rt::PointF{x, y}, text);
  if (box.right < 0 || box.bottom < 0 || static_cast<double>(box.left) >= width_ ||
      static_cast<double>(box.top) >= height_)
    return {};
  return box;
}

bool LabelSeries::crowds(const rt::InkBox& box) const {
  if (box.empty() || last_box_.empty()) return false;
  return box.left <= last_box_.right + kLabelGap && last_box_.left <= box.right + kLabelGap &&
         box.top <= last_box_.bottom + kLabelGap && last_box_.top <= box.bottom + kLabelGap;
}

void LabelSeries::print_text(float x, float y, const std::string& text) {
  rt::picture_text_position(picture_, rt::PointF{x, y});
  rt::picture_print_line(picture_, text);
}

}  // namespace app

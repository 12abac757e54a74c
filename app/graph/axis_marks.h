#pragma once
// Tick marks and axis numbers, drawn one series at a time. A user's step can pack millions of
// marks into a few pixels (the counted loop ends only when the step no longer moves its
// counter); a mark that would repeat exactly what the one before it drew changes no pixel, so
// it is skipped, and the draw stays quick whatever step is typed.

#include <cstdint>
#include <string>

#include "runtime/forms/objects.h"

namespace app {

// The whole pixel that the picture makes of a coordinate, remembered: a coordinate less than
// half a pixel from the last one's pixel rounds to that pixel under any nearest rounding, so
// the picture's own rounding (and its overflow error) is asked only when that changes.
class PixelOf {
 public:
  std::int32_t operator()(float v) {
    if (known_ && v > last_ - 0.5 && v < last_ + 0.5) return last_;
    return ask(v);
  }

 private:
  std::int32_t ask(float v);
  bool known_ = false;
  std::int32_t last_ = 0;
};

// Tick marks: lines in the picture's drawing colour.
class TickSeries {
 public:
  explicit TickSeries(rt::ObjRef picture) : picture_(picture) {}
  // A line between two single-precision points; skipped when it covers the same whole pixels
  // as the mark drawn just before it.
  void line(float x1, float y1, float x2, float y2);

 private:
  rt::ObjRef picture_;
  PixelOf x1_, y1_, x2_, y2_;
  bool drawn_ = false;
  std::int32_t last_[4] = {};
};

// Labels: each is a text position, then the text printed as one line in black.
class LabelSeries {
 public:
  LabelSeries(rt::ObjRef picture, float picture_width, float picture_height, float font_size)
      : picture_(picture), width_(picture_width), height_(picture_height), font_size_(font_size) {}
  // Prints the text that make_text() gives at (x, y), unless the label before it stood at the
  // same whole pixel with the same key (the same key must mean the same text), or unless the
  // label starts so far right of, above or below the picture that none of its ink could land.
  template <class MakeText>
  void print(float x, float y, double key, MakeText&& make_text) {
    if (skip(x, y, key)) return;
    print_text(x, y, make_text());
  }

 private:
  bool skip(float x, float y, double key);
  void print_text(float x, float y, const std::string& text);

  rt::ObjRef picture_;
  float width_, height_, font_size_;
  PixelOf x_, y_;
  bool printed_ = false;
  std::int32_t last_x_ = 0, last_y_ = 0;
  double last_key_ = 0;
};

}  // namespace app

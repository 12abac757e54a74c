#pragma once
// Tick marks and axis numbers, drawn one series at a time. A user's step can pack millions of
// marks into a few pixels (the counted loop ends only when the step no longer moves its
// counter); a mark that would repeat exactly what the one before it drew changes no pixel, so
// it is skipped, and the draw stays quick whatever step is typed.

#include <string>

#include "runtime/forms/objects.h"
#include "runtime/picture/text_renderer.h"

namespace app {

// The whole pixel that the picture makes of a coordinate (halves away from zero), remembered:
// a coordinate less than half a pixel from the last one's pixel rounds to that pixel, so the
// rounding is done again only when that changes. Kept in double: a coordinate may lie far
// beyond the 32-bit pixels (a tiny range puts it there) and still be drawn in part.
class PixelOf {
 public:
  double operator()(float v) {
    if (known_ && v > last_ - 0.5 && v < last_ + 0.5) return last_;
    return ask(v);
  }

 private:
  double ask(float v);
  bool known_ = false;
  double last_ = 0;
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
  double last_[4] = {};
};

// The blank pixels kept between the ink of two neighbouring labels, so that two numbers never
// read as one.
inline constexpr int kLabelGap = 6;

// Labels: each is a text position, then the text printed as one line in black.
class LabelSeries {
 public:
  LabelSeries(rt::ObjRef picture, float picture_width, float picture_height, float font_size)
      : picture_(picture), width_(picture_width), height_(picture_height), font_size_(font_size) {}
  // How far beyond the picture a label may start and still ink it.
  static double reach(float font_size) { return 4.0 * font_size; }

  // Prints the text that make_text() gives at (x, y), unless printing it could change no pixel:
  // the label starts so far right of, above or below the picture that none of its ink could
  // land, or the label before it printed the same text at the same whole pixel (the same key
  // there means the same text without making it; different keys may still give one text).
  template <class MakeText>
  void print(float x, float y, double key, MakeText&& make_text) {
    const double px = x_(x), py = y_(y);
    if (beyond_reach(px, py)) return;
    const bool same_place = printed_ && px == last_x_ && py == last_y_;
    if (same_place && key == last_key_) return;
    // The number just left out for crowding, again at the same pixel: left out again without
    // measuring it (a tiny step brings thousands of them).
    if (left_out_ && px == out_x_ && py == out_y_ && key == out_key_) return;
    std::string text = make_text();
    if (same_place && text == last_text_) return;
    // A label whose ink would run into the last one's is left out: crowded numbers smear
    // into a band no one can read, while every other one stays legible.
    // Ink wholly outside the picture shows nowhere and crowds nothing.
    const rt::InkBox box = ink_box(x, y, text);
    if (crowds(box)) {
      left_out_ = true;
      out_x_ = px;
      out_y_ = py;
      out_key_ = key;
      return;
    }
    printed_ = true;
    if (!box.empty()) last_box_ = box;
    last_x_ = px;
    last_y_ = py;
    last_key_ = key;
    print_text(x, y, text);
    last_text_ = std::move(text);
  }

 private:
  bool beyond_reach(double px, double py) const;
  rt::InkBox ink_box(float x, float y, const std::string& text) const;
  // Whether the box comes closer to the last printed label's ink than kLabelGap.
  bool crowds(const rt::InkBox& box) const;
  void print_text(float x, float y, const std::string& text);

  rt::ObjRef picture_;
  float width_, height_, font_size_;
  PixelOf x_, y_;
  bool printed_ = false;
  double last_x_ = 0, last_y_ = 0;
  double last_key_ = 0;
  std::string last_text_;
  rt::InkBox last_box_;
  bool left_out_ = false;
  double out_x_ = 0, out_y_ = 0, out_key_ = 0;
};

}  // namespace app
